// Perspective, parallel and object views, and the view information every view carries.
#ifndef SCN_VIEWS_H
#define SCN_VIEWS_H

#include "ScnBase.h"
#include "ScnEnvironment.h"
#include "ScnObjectMgr.h"
#include "ScnXML.h"

namespace NvScn {

class IScnCameraLight;
class IScnInsertionObject;

// Every putInXML appends the object's element under parent and answers it (null after a report);
// every initWithXML reads the object from its element and answers false after a report. Setters
// taking pointers ignore null.

// Depth of field of a view. Types: 0 "FromPoint", 1 "FromTarget", 2 "FromInfinity", 3 "FromDistance".
class IScnDepthOfField {
public:
    virtual bool isUsed() = 0;
    virtual void setUsed(bool used) = 0;
    virtual int32_t getType() = 0;
    virtual void setType(int32_t type) = 0;
    virtual const CScnVector* getClearnessPoint() = 0;
    virtual void setClearnessPoint(const CScnVector* point) = 0;
    virtual double getClearnessDistInv() = 0;
    virtual void setClearnessDistInv(double inverse) = 0;
    virtual double getClearnessSizeInv() = 0;
    virtual void setClearnessSizeInv(double inverse) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnDepthOfField() {}
};

// A box, turned by an angle, outside which a view shows nothing.
class IScnClippingBox {
public:
    virtual const CScnVector* getMinimum() = 0;
    virtual void setMinimum(const CScnVector* corner) = 0;
    virtual const CScnVector* getMaximum() = 0;
    virtual void setMaximum(const CScnVector* corner) = 0;
    virtual bool isVisible() = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isActive() = 0;
    virtual void setActive(bool active) = 0;
    virtual double getAngle() = 0;
    virtual void setAngle(double angle) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnClippingBox() {}
};

// The renderer a view uses, with that renderer's own options kept as they are.
class IScnRendererInfo {
public:
    virtual const char* getName() = 0;
    virtual void setName(const char* name) = 0;
    // The "Options" element that holds the renderer's settings; the object owns it, the client may
    // fill it through the node interfaces.
    virtual NuvoraXML::XIXMLElement* getOptions() = 0;
    virtual const NuvoraXML::XIXMLElement* getOptions() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnRendererInfo() {}
};

// What a view shows and how: light groups, heliodon, environment, layers, filters, depth of field,
// clipping, camera lights, renderer and pictures. Lists hold identifiers of scene objects.
class IScnViewInfo {
public:
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual bool isLocked() = 0;
    virtual void setLocked(bool locked) = 0;
    virtual int32_t getUIValue() = 0;
    virtual void setUIValue(int32_t value) = 0;
    // The name of the heliodon the view uses.
    virtual const char* getHeliodonName() = 0;
    virtual void setHeliodonName(const char* name) = 0;
    // The identifier of the environment the view uses.
    virtual const CScnUUID* getEnvironment() = 0;
    virtual void setEnvironment(const CScnUUID* uuid) = 0;
    virtual IScnForeground* getForeground() = 0;
    virtual const IScnForeground* getForeground() const = 0;
    // The light groups switched on.
    virtual TScnObjectMgr<CScnUUID>* getLightsGroups() = 0;
    virtual const TScnObjectMgr<CScnUUID>* getLightsGroups() const = 0;
    virtual IScnDepthOfField* getDepthOfField() = 0;
    virtual const IScnDepthOfField* getDepthOfField() const = 0;
    virtual IScnRendererInfo* getRendererInfo() = 0;
    virtual const IScnRendererInfo* getRendererInfo() const = 0;
    virtual IScnClippingBox* getClippingBox() = 0;
    virtual const IScnClippingBox* getClippingBox() const = 0;
    virtual IScnCameraLight* getCameraLight() = 0;
    virtual const IScnCameraLight* getCameraLight() const = 0;
    virtual IScnCameraLight* getRadiosityLight() = 0;
    virtual const IScnCameraLight* getRadiosityLight() const = 0;
    virtual IScnFilters* getFilters() = 0;
    virtual const IScnFilters* getFilters() const = 0;
    virtual TScnObjectMgr<CScnUUID>* getNeonShaders() = 0;
    virtual const TScnObjectMgr<CScnUUID>* getNeonShaders() const = 0;
    virtual IScnBackgroundPicture* getBackgroundPicture() = 0;
    virtual const IScnBackgroundPicture* getBackgroundPicture() const = 0;
    // The layers shown.
    virtual TScnObjectMgr<CScnUUID>* getLayers() = 0;
    virtual const TScnObjectMgr<CScnUUID>* getLayers() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Keeps the view information's own identifier.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnViewInfo() {}
};

// The camera interface of older clients (versions 3 to 6): view flags and depth of field.
class CScnCameraExObsolete {
public:
    virtual uint32_t getViewFlags() = 0;
    virtual void setViewFlags(uint32_t flags) = 0;
    virtual int32_t getDOFType() = 0;
    virtual void setDOFType(int32_t type) = 0;
    virtual const CScnVector* getDOFClearnessPoint() = 0;
    virtual void setDOFClearnessPoint(const CScnVector* point) = 0;
    virtual double getDOFClearnessDistInv() = 0;
    virtual void setDOFClearnessDistInv(double inverse) = 0;
    virtual double getDOFClearnessSizeInv() = 0;
    virtual void setDOFClearnessSizeInv(double inverse) = 0;
    virtual ~CScnCameraExObsolete() {}
};

// A perspective view. View flags: bit value 1 marks the scene's current view, bit value 2 is set
// on a new camera. Target types: 0 "Fixed.Vertex", 1 "On.Object".
class CScnCamera {
public:
    virtual const char* getName() = 0;
    virtual void setName(const char* name) = 0;
    virtual const CScnVector* getPosition() = 0;
    virtual void setPosition(const CScnVector* position) = 0;
    virtual const CScnVector* getTarget() = 0;
    virtual void setTarget(const CScnVector* target) = 0;
    virtual bool isCurrent() = 0;
    // Makes this camera the only current one of its list.
    virtual void setCurrent() = 0;
    virtual bool isSecondFlag() = 0;
    virtual void setSecondFlag(bool flag) = 0;
    virtual double getRoll() = 0;
    // Stores the roll brought into 0 to 2 pi.
    virtual void setRoll(double roll) = 0;
    virtual double getFocal() = 0;
    // Inside a scene the focal is kept within 0 to 180 degrees, with a report when clipped.
    virtual void setFocal(double focal) = 0;
    // The interface for client versions 3 to 6; null after a report for other versions.
    virtual CScnCameraExObsolete* getCameraEx(int32_t clientVersion) = 0;
    virtual const CScnCameraExObsolete* getCameraEx(int32_t clientVersion) const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual uint32_t getViewFlags() = 0;
    virtual void setViewFlags(uint32_t flags) = 0;
    virtual IScnViewInfo* getViewInfo() = 0;
    virtual const IScnViewInfo* getViewInfo() const = 0;
    virtual IScnViewOpt* getViewOpt() = 0;
    virtual const IScnViewOpt* getViewOpt() const = 0;
    virtual IScnInsertionObject* getInsertionObject() = 0;
    virtual const IScnInsertionObject* getInsertionObject() const = 0;
    virtual int32_t getTargetType() = 0;
    // Any value other than 0 or 1 becomes 0.
    virtual void setTargetType(int32_t type) = 0;
    // The object the camera looks at when the target type is "On.Object".
    virtual const CScnUUID* getObjectId() = 0;
    virtual void setObjectId(const CScnUUID* uuid) = 0;
    virtual ~CScnCamera() {}
};

// A parallel projection. Types: 0 "Front", 1 "Plan", 2 "Axono". Setters store what they are given.
class IScnParallelView {
public:
    virtual const char* getName() = 0;
    virtual void setName(const char* name) = 0;
    virtual int32_t getPVType() = 0;
    virtual void setPVType(int32_t type) = 0;
    virtual uint32_t getViewFlags() = 0;
    virtual void setViewFlags(uint32_t flags) = 0;
    virtual double getNorthAngle() = 0;
    virtual void setNorthAngle(double angle) = 0;
    virtual double getSize() = 0;
    virtual void setSize(double size) = 0;
    virtual const CScnVector* getPosition() = 0;
    virtual void setPosition(const CScnVector* position) = 0;
    virtual const CScnVector* getTarget() = 0;
    virtual void setTarget(const CScnVector* target) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual IScnViewInfo* getViewInfo() = 0;
    virtual const IScnViewInfo* getViewInfo() const = 0;
    virtual IScnViewOpt* getViewOpt() = 0;
    virtual const IScnViewOpt* getViewOpt() const = 0;
    virtual bool isSpecialShading() = 0;
    virtual void setSpecialShading(bool special) = 0;
    virtual ~IScnParallelView() {}
};

// A view that orbits a centre, taking images over a horizontal and a vertical sweep.
class CScnViewObject {
public:
    // One sweep of the orbit: its angle, step and shift in degrees, and its start.
    class CScnSweep {
    public:
        virtual int32_t getAngle() = 0;
        virtual void setAngle(int32_t angle) = 0;
        virtual int32_t getStep() = 0;
        virtual void setStep(int32_t step) = 0;
        virtual int32_t getShift() = 0;
        virtual void setShift(int32_t shift) = 0;
        virtual double getStart() = 0;
        virtual void setStart(double start) = 0;
        virtual ~CScnSweep() {}
    };

    virtual const char* getName() = 0;
    virtual void setName(const char* name) = 0;
    virtual uint32_t getViewFlags() = 0;
    virtual void setViewFlags(uint32_t flags) = 0;
    virtual double getFocal() = 0;
    virtual void setFocal(double focal) = 0;
    virtual const CScnVector* getCenter() = 0;
    virtual void setCenter(const CScnVector* center) = 0;
    virtual double getRadius() = 0;
    virtual void setRadius(double radius) = 0;
    virtual int32_t getOriginAngle() = 0;
    virtual void setOriginAngle(int32_t angle) = 0;
    virtual CScnSweep* getHorizontal() = 0;
    virtual const CScnSweep* getHorizontal() const = 0;
    virtual CScnSweep* getVertical() = 0;
    virtual const CScnSweep* getVertical() const = 0;
    virtual IScnViewInfo* getViewInfo() = 0;
    virtual const IScnViewInfo* getViewInfo() const = 0;
    virtual IScnViewOpt* getViewOpt() = 0;
    virtual const IScnViewOpt* getViewOpt() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~CScnViewObject() {}
};

}  // namespace NvScn

#endif
