// Animations with their camera paths, animated elements, interpolated values and key frames, and
// the 3D paths with their Bezier points, each with its field list.
#ifndef SCN_MODEL_ANIMATION_H
#define SCN_MODEL_ANIMATION_H

#include <cstdint>
#include <string>

#include "ScnAnimation.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/Geometry.h"
#include "model/Heliodon.h"
#include "model/Messages.h"
#include "model/ObjectMgr.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Uuid.h"
#include "platform/Failure.h"

namespace NvScn {

// Label tables of the animation kinds, as the document writes them.
extern const LabelTable kValueTypeLabels;
extern const LabelTable kInterpolationLabels;
extern const LabelTable kPathIdLabels;
extern const LabelTable kCamKeyTypeLabels;

// The name of a new camera path.
constexpr const char* kNewCameraPathName = "Sequence 0";

// A value of an animated parameter in the form of every value type. It has no field list of its
// own: its owner visits it in the form of the owner's value type.
class CScnAnimatedValue : public TScnFrontier<IScnAnimatedValue> {
public:
    CScnAnimatedValue() = default;

    const CScnVector* getVector() const override { return &mVector; }
    void setVector(const CScnVector* value) override { storeIfGiven(mVector, value); }
    const CScnColor* getColor() const override { return &mColor; }
    void setColor(const CScnColor* value) override { storeIfGiven(mColor, value); }
    double getDouble() const override { return mDouble; }
    void setDouble(double value) override { mDouble = value; }
    bool getBoolean() const override { return mBoolean; }
    void setBoolean(bool value) override { mBoolean = value; }
    int32_t getInteger() const override { return mInteger; }
    void setInteger(int32_t value) override { mInteger = value; }
    CScnTime* getDate() override { return &mDate; }
    const CScnTime* getDate() const override { return &mDate; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* value) override { storeIfGiven(mUUID, value); }
    int32_t getEnum() const override { return mEnum; }
    void setEnum(int32_t value) override { mEnum = value; }

    // The value as the field name in the form of type: a vector, a colour, a real, a flag, an
    // integer, a date, an identifier attribute, or an integer for an enumeration. A type outside
    // the table fails with "CScnXMLIO::AddKeyFrame : Unknow value type".
    template <class V>
    void visitAs(V& v, const char* name, int32_t type)
    {
        switch (type) {
        case kScnValueCoord3D:
            v.vector(name, mVector, CScnVector{0.0, 0.0, 0.0});
            break;
        case kScnValueColor:
            v.color(name, mColor, CScnColor{0, 0, 0, 0});
            break;
        case kScnValueDouble:
            v.real(name, mDouble, 0.0);
            break;
        case kScnValueBoolean:
            v.flag(name, mBoolean, false);
            break;
        case kScnValueInteger:
            v.integer(name, mInteger, 0);
            break;
        case kScnValueDate:
            v.date(name, mDate);
            break;
        case kScnValueUUID:
            v.identifier(name, mUUID, kNullUuid);
            break;
        case kScnValueEnum:
            v.integer(name, mEnum, 0);
            break;
        default:
            Nuvora::fail(Msg::kUnknownValueType);
        }
    }

private:
    CScnVector mVector{0.0, 0.0, 0.0};
    CScnColor mColor{0, 0, 0, 0};
    double mDouble = 0.0;
    bool mBoolean = false;
    int32_t mInteger = 0;
    CTime mDate;
    CScnUUID mUUID = kNullUuid;
    int32_t mEnum = 0;
};

// A key frame of an interpolated value.
class CScnKeyFrame : public TScnFrontier<IScnKeyFrame>, public CScnObject {
public:
    static constexpr const char* kElementName = "KeyFrame";

    // owner: the key frame list, or null for a free key frame.
    explicit CScnKeyFrame(CBaseObjectMgr* owner);

    double getTime() const override { return mTime; }
    void setTime(double time) override { mTime = time; }
    bool isVisible() const override { return mVisible; }
    void setVisible(bool visible) override { mVisible = visible; }
    int32_t getType() const override { return mType; }
    void setType(int32_t type) override { mType = type; }
    IScnAnimatedValue* getValue() override { return &mValue; }
    const IScnAnimatedValue* getValue() const override { return &mValue; }
    IScnAnimatedValue* getCPBefore() override { return &mBefore; }
    const IScnAnimatedValue* getCPBefore() const override { return &mBefore; }
    IScnAnimatedValue* getCPAfter() override { return &mAfter; }
    const IScnAnimatedValue* getCPAfter() const override { return &mAfter; }
    int32_t getInterpolationType() const override { return mInterpolation; }
    void setInterpolationType(int32_t type) override { mInterpolation = type; }
    bool isLocked() const override { return mLocked; }
    void setLocked(bool locked) override { mLocked = locked; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order; the value and its control points take the
    // form of the key frame's type.
    template <class V>
    void visitFields(V& v)
    {
        v.real("Time", mTime, 0.0);
        v.flag("Visible", mVisible, true);
        v.label("Type", mType, kValueTypeLabels, kScnValueCoord3D, UnlabelledFailure{Msg::kUnknownValueType});
        mValue.visitAs(v, "Value", mType);
        mBefore.visitAs(v, "CPBefore", mType);
        mAfter.visitAs(v, "CPAfter", mType);
        v.label("Interpolation.Type", mInterpolation, kInterpolationLabels, kScnInterpolationLinear);
        v.flag("AreLocked", mLocked, false);
    }

private:
    double mTime;
    bool mVisible;
    int32_t mType;
    CScnAnimatedValue mValue;
    CScnAnimatedValue mBefore;
    CScnAnimatedValue mAfter;
    int32_t mInterpolation;
    bool mLocked;
};

// One animated parameter with its key frames.
class CScnInterpolatedValue : public TScnFrontier<IScnInterpolatedValue>, public CScnObject {
public:
    static constexpr const char* kElementName = "Interpolated.Value";

    explicit CScnInterpolatedValue(CBaseObjectMgr* owner);

    int32_t getType() const override { return mType; }
    void setType(int32_t type) override { mType = type; }
    bool isLoop() const override { return mLoop; }
    void setLoop(bool loop) override { mLoop = loop; }
    int32_t getNbLoops() const override { return mNbLoops; }
    void setNbLoops(int32_t count) override { mNbLoops = count; }
    int32_t getPathId() const override { return mPathId; }
    void setPathId(int32_t pathId) override { mPathId = pathId; }
    IScnAnimatedValue* getDefaultValue() override { return &mDefault; }
    const IScnAnimatedValue* getDefaultValue() const override { return &mDefault; }
    TScnObjectMgr<IScnKeyFrame>* getKeyFrames() override { return &mKeyFrames; }
    const TScnObjectMgr<IScnKeyFrame>* getKeyFrames() const override { return &mKeyFrames; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.label("Type", mType, kValueTypeLabels, kScnValueCoord3D);
        v.flag("Loop", mLoop, false);
        v.integer("Nb.Loops", mNbLoops, 0);
        v.label("Path.Id", mPathId, kPathIdLabels, kScnPathCameraPosition);
        mDefault.visitAs(v, "Default.Value", mType);
        v.list("KeyFrames", mKeyFrames);
    }

private:
    int32_t mType;
    bool mLoop;
    int32_t mNbLoops;
    int32_t mPathId;
    CScnAnimatedValue mDefault;
    TObjectMgr<CScnKeyFrame, IScnKeyFrame> mKeyFrames;
};

// An object that an animation moves.
class CScnAnimatedElement : public TScnFrontier<IScnAnimatedElement>, public CScnObject {
public:
    static constexpr const char* kElementName = "Animated.Element";

    explicit CScnAnimatedElement(CBaseObjectMgr* owner);

    const char* getType() const override { return mType.c_str(); }
    void setType(const char* type) override { storeText(mType, type); }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element: the kind is kept as the document names it.
    template <class V>
    void visitFields(V& v)
    {
        v.attributeText("Type", mType, "");
        v.identifier("UUID", mUUID, kNullUuid);
    }

private:
    std::string mType;
    CScnUUID mUUID;
};

// A key of a camera path.
class CCamKey : public TScnFrontier<CScnCamKey>, public CScnObject {
public:
    static constexpr const char* kElementName = "Camera.Key";

    explicit CCamKey(CBaseObjectMgr* owner);

    double getPitch() const override { return mPitch; }
    void setPitch(double pitch) override { mPitch = pitch; }
    double getFocal() const override { return mFocal; }
    void setFocal(double focal) override { mFocal = focal; }
    int32_t getKeyType() const override { return mKeyType; }
    void setKeyType(int32_t type) override { mKeyType = type; }
    double getFadingDuration() const override { return mFadingDuration; }
    void setFadingDuration(double duration) override { mFadingDuration = duration; }
    int32_t getFadingNbImages() const override { return mFadingNbImages; }
    void setFadingNbImages(int32_t count) override { mFadingNbImages = count; }
    double getHorizontalAngle() const override { return mHorizontalAngle; }
    void setHorizontalAngle(double angle) override { mHorizontalAngle = angle; }
    double getVerticalAngle() const override { return mVerticalAngle; }
    void setVerticalAngle(double angle) override { mVerticalAngle = angle; }
    double getAnticipation() const override { return mAnticipation; }
    void setAnticipation(double anticipation) override { mAnticipation = anticipation; }
    int32_t getBezierSection() const override { return mBezierSection; }
    void setBezierSection(int32_t section) override { mBezierSection = section; }
    double getBezierT() const override { return mBezierT; }
    void setBezierT(double t) override { mBezierT = t; }
    int32_t getBezierTransition() const override { return mBezierTransition; }
    void setBezierTransition(int32_t section) override { mBezierTransition = section; }
    double getBezierTransitionT() const override { return mBezierTransitionT; }
    void setBezierTransitionT(double t) override { mBezierTransitionT = t; }
    const CScnVector* getTarget() const override { return &mTarget; }
    void setTarget(const CScnVector* target) override { storeIfGiven(mTarget, target); }

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.real("Pitch", mPitch, 0.0);
        v.real("Focal", mFocal, 50.0);
        v.label("Key.Type", mKeyType, kCamKeyTypeLabels, kScnCamKeyTiming);
        v.real("Fading.Duration", mFadingDuration, 0.0);
        v.integer("Fading.Nb.Images", mFadingNbImages, 0);
        v.real("Horizontal.Angle", mHorizontalAngle, 0.0);
        v.real("Vertical.Angle", mVerticalAngle, 0.0);
        v.real("Anticipation", mAnticipation, 0.0);
        v.integer("Bezier.Section", mBezierSection, 0);
        v.real("Bezier.T", mBezierT, 0.0);
        v.integer("Bezier.Transition", mBezierTransition, 0);
        v.real("Bezier.Transition.T", mBezierTransitionT, 0.0);
        v.vector("Target", mTarget, CScnVector{0.0, 0.0, 0.0});
    }

private:
    double mPitch;
    double mFocal;
    int32_t mKeyType;
    double mFadingDuration;
    int32_t mFadingNbImages;
    double mHorizontalAngle;
    double mVerticalAngle;
    double mAnticipation;
    int32_t mBezierSection;
    double mBezierT;
    int32_t mBezierTransition;
    double mBezierTransitionT;
    CScnVector mTarget;
};

// A camera path: its points, its keys and its movie.
class CAnimation : public TScnFrontier<IScnCameraPath>, public CScnObject {
public:
    static constexpr const char* kElementName = "Camera.Path";

    explicit CAnimation(CBaseObjectMgr* owner);

    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    uint32_t getViewFlags() const override { return mViewFlags; }
    void setViewFlags(uint32_t flags) override { mViewFlags = flags; }
    bool isActive() const override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    double getDuration() const override { return mDuration; }
    void setDuration(double duration) override { mDuration = clipDuration(duration); }
    int32_t getNbXImage() const override { return mNbXImage; }
    void setNbXImage(int32_t count) override { mNbXImage = clipNbXImage(count); }
    bool isSpeedOn() const override { return mSpeedOn; }
    void setSpeedOn(bool on) override { mSpeedOn = on; }
    double getSpeed() const override { return mSpeed; }
    void setSpeed(double speed) override { mSpeed = speed; }
    bool isClosed() const override { return mClosed; }
    void setClosed(bool closed) override { mClosed = closed; }
    TScnObjectMgr<CScnVector>* getPoints() override { return &mPoints; }
    const TScnObjectMgr<CScnVector>* getPoints() const override { return &mPoints; }
    TScnObjectMgr<CScnCamKey>* getCamKeys() override { return &mCamKeys; }
    const TScnObjectMgr<CScnCamKey>* getCamKeys() const override { return &mCamKeys; }
    double getCurrentTime() const override { return mCurrentTime; }
    void setCurrentTime(double time) override { mCurrentTime = time; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    TObjectMgr<CPoint, CScnVector>& points() { return mPoints; }
    TObjectMgr<CCamKey, CScnCamKey>& camKeys() { return mCamKeys; }

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, kNewCameraPathName);
        v.integer("View.Flags", mViewFlags, 0u);
        v.flag("Active", mActive, false);
        v.real("Movie.Duration", mDuration, 4.0, [this](double d) { return clipDuration(d); });
        v.integer("Nb.Images.Extra", mNbXImage, 0, [this](int32_t n) { return clipNbXImage(n); });
        v.flag("Speed.On", mSpeedOn, false);
        v.real("Speed", mSpeed, 1.0);
        v.flag("Path.Closed", mClosed, false);
        v.vectorList("Points", "Point", mPoints);
        v.list("Camera.Keys", mCamKeys);
        v.real("Current.Time", mCurrentTime, 0.0);
    }

private:
    // Owner-gated: not below 0 inside a scene, with a report.
    double clipDuration(double duration) const;
    int32_t clipNbXImage(int32_t count) const;

    std::string mName;
    uint32_t mViewFlags;
    bool mActive;
    double mDuration;
    int32_t mNbXImage;
    bool mSpeedOn;
    double mSpeed;
    bool mClosed;
    TObjectMgr<CPoint, CScnVector> mPoints;
    TObjectMgr<CCamKey, CScnCamKey> mCamKeys;
    double mCurrentTime;
};

// An animation of the scene's list.
class CScnAnimation : public TScnFrontier<IScnAnimation>, public CScnObject {
public:
    static constexpr const char* kElementName = "Animation";

    // A new animation holds one new camera path.
    explicit CScnAnimation(CBaseObjectMgr* owner);

    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    bool isCurrent() const override { return mCurrent; }
    void setCurrent(bool current) override { mCurrent = current; }
    TScnObjectMgr<IScnCameraPath>* getCameraPaths() override { return &mCameraPaths; }
    const TScnObjectMgr<IScnCameraPath>* getCameraPaths() const override { return &mCameraPaths; }
    TScnObjectMgr<IScnAnimatedElement>* getAnimatedElements() override { return &mAnimatedElements; }
    const TScnObjectMgr<IScnAnimatedElement>* getAnimatedElements() const override { return &mAnimatedElements; }
    TScnObjectMgr<IScnInterpolatedValue>* getInterpolatedValues() override { return &mInterpolatedValues; }
    const TScnObjectMgr<IScnInterpolatedValue>* getInterpolatedValues() const override
    {
        return &mInterpolatedValues;
    }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The first camera path, or null when the animation has none.
    CAnimation* getCameraPath() const { return mCameraPaths.find(0); }
    TObjectMgr<CAnimation, IScnCameraPath>& cameraPaths() { return mCameraPaths; }

    // The fields of its element, in document order; a document without camera paths or animated
    // elements leaves the animation's own.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.flag("Current", mCurrent, false);
        v.list("Camera.Paths", mCameraPaths, kOptional);
        v.list("Animated.Elements", mAnimatedElements, kOptional);
        v.list("Interpolated.Values", mInterpolatedValues);
    }

private:
    std::string mName;
    bool mCurrent;
    TObjectMgr<CAnimation, IScnCameraPath> mCameraPaths;
    TObjectMgr<CScnAnimatedElement, IScnAnimatedElement> mAnimatedElements;
    TObjectMgr<CScnInterpolatedValue, IScnInterpolatedValue> mInterpolatedValues;
};

// A point of a 3D path with its two control points.
class CScnBezierPoint : public TScnFrontier<IScnBezierPoint>, public CScnObject {
public:
    static constexpr const char* kElementName = "Bezier.Point";

    // owner: the list that holds it, or null for a free point.
    explicit CScnBezierPoint(CBaseObjectMgr* owner);

    const CScnVector* getPosition() const override { return &mPosition; }
    void setPosition(const CScnVector* position) override { storeIfGiven(mPosition, position); }
    const CScnVector* getCPBefore() const override { return &mBefore; }
    void setCPBefore(const CScnVector* point) override { storeIfGiven(mBefore, point); }
    const CScnVector* getCPAfter() const override { return &mAfter; }
    void setCPAfter(const CScnVector* point) override { storeIfGiven(mAfter, point); }
    bool isLocked() const override { return mLocked; }
    void setLocked(bool locked) override { mLocked = locked; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.vector("Position", mPosition, CScnVector{0.0, 0.0, 0.0});
        v.vector("CPBefore", mBefore, CScnVector{0.0, 0.0, 0.0});
        v.vector("CPAfter", mAfter, CScnVector{0.0, 0.0, 0.0});
        v.flag("AreLocked", mLocked, false);
    }

private:
    CScnVector mPosition;
    CScnVector mBefore;
    CScnVector mAfter;
    bool mLocked;
};

// A path along which objects move.
class CScn3DPath : public TScnFrontier<IScn3DPath>, public CScnObject {
public:
    static constexpr const char* kElementName = "Path.3D";

    explicit CScn3DPath(CBaseObjectMgr* owner);

    bool isClosed() const override { return mClosed; }
    void setClosed(bool closed) override { mClosed = closed; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    TScnObjectMgr<IScnBezierPoint>* getPoints() override { return &mPoints; }
    const TScnObjectMgr<IScnBezierPoint>* getPoints() const override { return &mPoints; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Closed", mClosed, false);
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.list("Bezier.points", mPoints);
    }

private:
    bool mClosed;
    CScnUUID mUUID;
    TObjectMgr<CScnBezierPoint, IScnBezierPoint> mPoints;
};

}  // namespace NvScn

#endif
