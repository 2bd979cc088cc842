// Camera paths, animations with their interpolated values and key frames, 3D paths, sequences,
// scenarios and panoramas.
#ifndef SCN_ANIMATION_H
#define SCN_ANIMATION_H

#include "ScnBase.h"
#include "ScnEnvironment.h"
#include "ScnHeliodon.h"
#include "ScnObjectMgr.h"
#include "ScnXML.h"

namespace NvScn {

// Every putInXML appends the object's element under parent and answers it (null after a report);
// every initWithXML reads the object from its element and answers false after a report, keeping
// the values read before the failure. Getters of vectors, colours and identifiers answer a pointer
// to the stored value, valid while the object lives; setters given a null pointer change nothing,
// text setters given null store the empty text.

// Value types of animated parameters (IScnInterpolatedValue::getType, IScnKeyFrame::getType),
// written "Coord3D", "Color", "Double", "Boolean", "Integer", "Date", "UUID", "Enum".
constexpr int32_t kScnValueCoord3D = 0;
constexpr int32_t kScnValueColor = 1;
constexpr int32_t kScnValueDouble = 2;
constexpr int32_t kScnValueBoolean = 3;
constexpr int32_t kScnValueInteger = 4;
constexpr int32_t kScnValueDate = 5;
constexpr int32_t kScnValueUUID = 6;
constexpr int32_t kScnValueEnum = 7;

// Interpolations towards the next key frame (IScnKeyFrame::getInterpolationType), written
// "Linear", "Square", "OneMinusSquare", "Sinus", "Bezier", "DateInterpolation".
constexpr int32_t kScnInterpolationLinear = 0;
constexpr int32_t kScnInterpolationSquare = 1;
constexpr int32_t kScnInterpolationOneMinusSquare = 2;
constexpr int32_t kScnInterpolationSinus = 3;
constexpr int32_t kScnInterpolationBezier = 4;
constexpr int32_t kScnInterpolationDate = 5;

// Kinds of camera keys (CScnCamKey::getKeyType), written "Timing", "Path", "Local", "Global",
// "Target".
constexpr int32_t kScnCamKeyTiming = 0;
constexpr int32_t kScnCamKeyPath = 1;
constexpr int32_t kScnCamKeyLocal = 2;
constexpr int32_t kScnCamKeyGlobal = 3;
constexpr int32_t kScnCamKeyTarget = 4;

// Where a sequence's camera looks (IScnSequence::getTargetType): its target point, forward along
// its path, at its horizontal and vertical angles, or at an object instance; written
// "Fixed.Vertex", "Forward.Path", "Relative.Angle", "Object.Instance".
constexpr int32_t kScnSequenceFixedVertex = 0;
constexpr int32_t kScnSequenceForwardPath = 1;
constexpr int32_t kScnSequenceRelativeAngle = 2;
constexpr int32_t kScnSequenceObjectInstance = 3;

// A few animated parameters (IScnInterpolatedValue::getPathId); every value of the document's
// "Path.Id" table may be set, for example 61 for the power of a light ("Light.Power").
constexpr int32_t kScnPathCameraPosition = 1;
constexpr int32_t kScnPathCameraTarget = 2;
constexpr int32_t kScnPathFocal = 3;
constexpr int32_t kScnPathObjectPosition = 38;
constexpr int32_t kScnPathLightPower = 61;

// A value of an animated parameter, held in the form of each value type; the owner's type says
// which one counts and is written.
class IScnAnimatedValue {
public:
    virtual const CScnVector* getVector() const = 0;
    virtual void setVector(const CScnVector* value) = 0;
    virtual const CScnColor* getColor() const = 0;
    virtual void setColor(const CScnColor* value) = 0;
    virtual double getDouble() const = 0;
    virtual void setDouble(double value) = 0;
    virtual bool getBoolean() const = 0;
    virtual void setBoolean(bool value) = 0;
    virtual int32_t getInteger() const = 0;
    virtual void setInteger(int32_t value) = 0;
    virtual CScnTime* getDate() = 0;
    virtual const CScnTime* getDate() const = 0;
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* value) = 0;
    // The value of an enumerated parameter, written as an integer.
    virtual int32_t getEnum() const = 0;
    virtual void setEnum(int32_t value) = 0;
    virtual ~IScnAnimatedValue() {}
};

// A key of an interpolated value: its time, its value with the two control points of the curve
// through it, and how the value moves on to the next key.
class IScnKeyFrame {
public:
    virtual double getTime() const = 0;
    virtual void setTime(double time) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
    // The value type; writing a key frame of a type outside the table fails.
    virtual int32_t getType() const = 0;
    virtual void setType(int32_t type) = 0;
    virtual IScnAnimatedValue* getValue() = 0;
    virtual const IScnAnimatedValue* getValue() const = 0;
    // The control point before the key.
    virtual IScnAnimatedValue* getCPBefore() = 0;
    virtual const IScnAnimatedValue* getCPBefore() const = 0;
    // The control point after the key.
    virtual IScnAnimatedValue* getCPAfter() = 0;
    virtual const IScnAnimatedValue* getCPAfter() const = 0;
    virtual int32_t getInterpolationType() const = 0;
    virtual void setInterpolationType(int32_t type) = 0;
    // Whether the two control points move together.
    virtual bool isLocked() const = 0;
    virtual void setLocked(bool locked) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnKeyFrame() {}
};

// One animated parameter (its "Path.Id"): the value type, looping, the value before the first key
// and the key frames.
class IScnInterpolatedValue {
public:
    virtual int32_t getType() const = 0;
    virtual void setType(int32_t type) = 0;
    virtual bool isLoop() const = 0;
    virtual void setLoop(bool loop) = 0;
    virtual int32_t getNbLoops() const = 0;
    virtual void setNbLoops(int32_t count) = 0;
    // The animated parameter; a value without a label in the table makes putInXML fail.
    virtual int32_t getPathId() const = 0;
    virtual void setPathId(int32_t pathId) = 0;
    virtual IScnAnimatedValue* getDefaultValue() = 0;
    virtual const IScnAnimatedValue* getDefaultValue() const = 0;
    virtual TScnObjectMgr<IScnKeyFrame>* getKeyFrames() = 0;
    virtual const TScnObjectMgr<IScnKeyFrame>* getKeyFrames() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnInterpolatedValue() {}
};

// A point of a 3D path with the control points of the curve before and after it.
class IScnBezierPoint {
public:
    virtual const CScnVector* getPosition() const = 0;
    virtual void setPosition(const CScnVector* position) = 0;
    virtual const CScnVector* getCPBefore() const = 0;
    virtual void setCPBefore(const CScnVector* point) = 0;
    virtual const CScnVector* getCPAfter() const = 0;
    virtual void setCPAfter(const CScnVector* point) = 0;
    // Whether the two control points move together.
    virtual bool isLocked() const = 0;
    virtual void setLocked(bool locked) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnBezierPoint() {}
};

// A curve through Bezier points along which objects move; objects refer to it by its identifier.
class IScn3DPath {
public:
    virtual bool isClosed() const = 0;
    virtual void setClosed(bool closed) = 0;
    // The identifier, fresh for a new path.
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual TScnObjectMgr<IScnBezierPoint>* getPoints() = 0;
    virtual const TScnObjectMgr<IScnBezierPoint>* getPoints() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScn3DPath() {}
};

// An object that an animation moves: the kind of object, as the application names it (for
// example "Light"), and the object's identifier.
class IScnAnimatedElement {
public:
    virtual const char* getType() const = 0;
    virtual void setType(const char* type) = 0;
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnAnimatedElement() {}
};

// A key of a camera path: the view there, the kind of key, the fade and where on the path it sits.
class CScnCamKey {
public:
    virtual double getPitch() const = 0;
    virtual void setPitch(double pitch) = 0;
    virtual double getFocal() const = 0;
    virtual void setFocal(double focal) = 0;
    // The kind of key; a value without a label makes the path's putInXML fail.
    virtual int32_t getKeyType() const = 0;
    virtual void setKeyType(int32_t type) = 0;
    virtual double getFadingDuration() const = 0;
    virtual void setFadingDuration(double duration) = 0;
    virtual int32_t getFadingNbImages() const = 0;
    virtual void setFadingNbImages(int32_t count) = 0;
    virtual double getHorizontalAngle() const = 0;
    virtual void setHorizontalAngle(double angle) = 0;
    virtual double getVerticalAngle() const = 0;
    virtual void setVerticalAngle(double angle) = 0;
    virtual double getAnticipation() const = 0;
    virtual void setAnticipation(double anticipation) = 0;
    // The section of the path's curve the key lies on, and the parameter along it.
    virtual int32_t getBezierSection() const = 0;
    virtual void setBezierSection(int32_t section) = 0;
    virtual double getBezierT() const = 0;
    virtual void setBezierT(double t) = 0;
    // The section and parameter where the transition to the next key ends.
    virtual int32_t getBezierTransition() const = 0;
    virtual void setBezierTransition(int32_t section) = 0;
    virtual double getBezierTransitionT() const = 0;
    virtual void setBezierTransitionT(double t) = 0;
    virtual const CScnVector* getTarget() const = 0;
    virtual void setTarget(const CScnVector* target) = 0;
    virtual ~CScnCamKey() {}
};

// A camera moving along points with keys; a new path is named "Sequence 0" and lasts 4 seconds.
class IScnCameraPath {
public:
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    virtual uint32_t getViewFlags() const = 0;
    virtual void setViewFlags(uint32_t flags) = 0;
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
    // The movie duration in seconds.
    virtual double getDuration() const = 0;
    // Inside a scene a negative duration becomes 0, with a report.
    virtual void setDuration(double duration) = 0;
    // Images added beyond the duration.
    virtual int32_t getNbXImage() const = 0;
    // Inside a scene a negative count becomes 0, with a report.
    virtual void setNbXImage(int32_t count) = 0;
    virtual bool isSpeedOn() const = 0;
    virtual void setSpeedOn(bool on) = 0;
    virtual double getSpeed() const = 0;
    virtual void setSpeed(double speed) = 0;
    virtual bool isClosed() const = 0;
    virtual void setClosed(bool closed) = 0;
    // The points the camera passes through.
    virtual TScnObjectMgr<CScnVector>* getPoints() = 0;
    virtual const TScnObjectMgr<CScnVector>* getPoints() const = 0;
    virtual TScnObjectMgr<CScnCamKey>* getCamKeys() = 0;
    virtual const TScnObjectMgr<CScnCamKey>* getCamKeys() const = 0;
    virtual double getCurrentTime() const = 0;
    virtual void setCurrentTime(double time) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnCameraPath() {}
};

// An animation: its camera paths (a new animation has one), the objects it moves and the
// parameters it animates.
class IScnAnimation {
public:
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    virtual bool isCurrent() const = 0;
    virtual void setCurrent(bool current) = 0;
    virtual TScnObjectMgr<IScnCameraPath>* getCameraPaths() = 0;
    virtual const TScnObjectMgr<IScnCameraPath>* getCameraPaths() const = 0;
    virtual TScnObjectMgr<IScnAnimatedElement>* getAnimatedElements() = 0;
    virtual const TScnObjectMgr<IScnAnimatedElement>* getAnimatedElements() const = 0;
    virtual TScnObjectMgr<IScnInterpolatedValue>* getInterpolatedValues() = 0;
    virtual const TScnObjectMgr<IScnInterpolatedValue>* getInterpolatedValues() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnAnimation() {}
};

// A shot of a scenario: its frames, its camera and where the camera looks, and its view options.
class IScnSequence {
public:
    // The identifier, fresh for a new sequence; animated elements refer to it.
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual int32_t getStartFrame() const = 0;
    virtual void setStartFrame(int32_t frame) = 0;
    virtual int32_t getEndFrame() const = 0;
    virtual void setEndFrame(int32_t frame) = 0;
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    virtual uint32_t getViewFlags() const = 0;
    virtual void setViewFlags(uint32_t flags) = 0;
    virtual double getFocal() const = 0;
    // Inside a scene the focal is kept within 0 to 180 degrees, with a report when clipped.
    virtual void setFocal(double focal) = 0;
    virtual const CScnVector* getPosition() const = 0;
    virtual void setPosition(const CScnVector* position) = 0;
    // One of the kScnSequence... values; another value makes putInXML fail.
    virtual int32_t getTargetType() const = 0;
    virtual void setTargetType(int32_t type) = 0;
    virtual double getTargetDistance() const = 0;
    virtual void setTargetDistance(double distance) = 0;
    virtual double getHorizontalAngle() const = 0;
    virtual void setHorizontalAngle(double angle) = 0;
    virtual double getVerticalAngle() const = 0;
    virtual void setVerticalAngle(double angle) = 0;
    // The direction of the path where the camera stands.
    virtual const CScnVector* getCurrentPathTangent() const = 0;
    virtual void setCurrentPathTangent(const CScnVector* tangent) = 0;
    virtual const CScnVector* getTarget() const = 0;
    virtual void setTarget(const CScnVector* target) = 0;
    virtual double getRoll() const = 0;
    virtual void setRoll(double roll) = 0;
    // The object instance looked at with the target type kScnSequenceObjectInstance.
    virtual const CScnUUID* getObjectUUID() const = 0;
    virtual void setObjectUUID(const CScnUUID* uuid) = 0;
    // The rendering and compression options of the shot.
    virtual IScnViewOpt* getViewOpt() = 0;
    virtual const IScnViewOpt* getViewOpt() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnSequence() {}
};

// A mark on a scenario's time line.
class IScnScenarioTimeGuide {
public:
    virtual double getTime() const = 0;
    virtual void setTime(double time) = 0;
    virtual ~IScnScenarioTimeGuide() {}
};

// A sound of a scenario: the frame it starts at and the identifier of the sound.
class IScnSnd {
public:
    virtual int32_t getStartFrame() const = 0;
    virtual void setStartFrame(int32_t frame) = 0;
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual ~IScnSnd() {}
};

// A time line of sequences, with its marks and sounds.
class IScnScenario {
public:
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    virtual int32_t getCurrentFrame() const = 0;
    virtual void setCurrentFrame(int32_t frame) = 0;
    // The index of the current sequence.
    virtual int32_t getCurrentSequence() const = 0;
    virtual void setCurrentSequence(int32_t index) = 0;
    virtual double getMaxTime() const = 0;
    virtual void setMaxTime(double time) = 0;
    // The time range shown; a document without it leaves the scenario's own.
    virtual double getStartVisibleTime() const = 0;
    virtual void setStartVisibleTime(double time) = 0;
    virtual double getEndVisibleTime() const = 0;
    virtual void setEndVisibleTime(double time) = 0;
    virtual TScnObjectMgr<IScnSequence>* getSequences() = 0;
    virtual const TScnObjectMgr<IScnSequence>* getSequences() const = 0;
    virtual TScnObjectMgr<IScnScenarioTimeGuide>* getTimeGuides() = 0;
    virtual const TScnObjectMgr<IScnScenarioTimeGuide>* getTimeGuides() const = 0;
    virtual TScnObjectMgr<IScnSnd>* getSnds() = 0;
    virtual const TScnObjectMgr<IScnSnd>* getSnds() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnScenario() {}
};

// A place of a panorama from which the scene is seen all around.
class IScnPanoNode {
public:
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    virtual uint32_t getViewFlags() const = 0;
    virtual void setViewFlags(uint32_t flags) = 0;
    virtual const CScnVector* getPosition() const = 0;
    virtual void setPosition(const CScnVector* position) = 0;
    virtual double getDirection() const = 0;
    virtual void setDirection(double direction) = 0;
    virtual double getFocal() const = 0;
    virtual void setFocal(double focal) = 0;
    virtual double getZoom() const = 0;
    virtual void setZoom(double zoom) = 0;
    virtual double getVerticalPan() const = 0;
    virtual void setVerticalPan(double pan) = 0;
    // The number of links the application counts at the node, stored as it is given.
    virtual int32_t getNbLinks() const = 0;
    virtual void setNbLinks(int32_t count) = 0;
    // The identifier, fresh for a new node.
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual int32_t getUIValue() const = 0;
    virtual void setUIValue(int32_t value) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnPanoNode() {}
};

// A passage between two nodes of a panorama; each end says how the view looks on arriving there
// and where its hot spots lie.
class CScnPanoLink {
public:
    // A region of a node's view that leads along the link: its outline, one point per corner.
    class CScnHotSpot {
    public:
        virtual TScnObjectMgr<CScnVector>* getPoints() = 0;
        virtual const TScnObjectMgr<CScnVector>* getPoints() const = 0;
        virtual ~CScnHotSpot() {}
    };

    // One end of the link.
    class CScnPanoLinkConfig {
    public:
        // The index of the node in the panorama's node list, stored as it is given.
        virtual int32_t getIndex() const = 0;
        virtual void setIndex(int32_t index) = 0;
        virtual double getDirection() const = 0;
        virtual void setDirection(double direction) = 0;
        virtual double getZoom() const = 0;
        virtual void setZoom(double zoom) = 0;
        virtual double getVerticalPan() const = 0;
        virtual void setVerticalPan(double pan) = 0;
        virtual double getFocal() const = 0;
        virtual void setFocal(double focal) = 0;
        virtual TScnObjectMgr<CScnHotSpot>* getHotspots() = 0;
        virtual const TScnObjectMgr<CScnHotSpot>* getHotspots() const = 0;
        virtual ~CScnPanoLinkConfig() {}
    };

    virtual CScnPanoLinkConfig* getPano1() = 0;
    virtual const CScnPanoLinkConfig* getPano1() const = 0;
    virtual CScnPanoLinkConfig* getPano2() = 0;
    virtual const CScnPanoLinkConfig* getPano2() const = 0;
    // The identifier, fresh for a new link.
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~CScnPanoLink() {}
};

// A virtual-reality panorama: its nodes joined by links, the node and view shown, and its
// rendering options.
class IScnPanorama {
public:
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    // The rendering and compression options of the panorama.
    virtual IScnViewOpt* getOptions() = 0;
    virtual const IScnViewOpt* getOptions() const = 0;
    // The index of the current node.
    virtual int32_t getCurrent() const = 0;
    virtual void setCurrent(int32_t index) = 0;
    virtual double getCurrentDirection() const = 0;
    virtual void setCurrentDirection(double direction) = 0;
    virtual double getCurrentFocal() const = 0;
    virtual void setCurrentFocal(double focal) = 0;
    // The identifier, fresh for a new panorama.
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual TScnObjectMgr<IScnPanoNode>* getNodes() = 0;
    virtual const TScnObjectMgr<IScnPanoNode>* getNodes() const = 0;
    virtual TScnObjectMgr<CScnPanoLink>* getLinks() = 0;
    virtual const TScnObjectMgr<CScnPanoLink>* getLinks() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnPanorama() {}
};

}  // namespace NvScn

#endif
