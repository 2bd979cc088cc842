// Perspective views (cameras), parallel views and object views with their view information.
#ifndef SCN_VIEWS_IMPL_H
#define SCN_VIEWS_IMPL_H

#include <string>

#include "ScnViews.h"
#include "model/BaseObjectMgr.h"
#include "model/Environment.h"
#include "model/Fields.h"
#include "model/InsertionObject.h"
#include "model/Lights.h"
#include "model/ObjectMgr.h"
#include "model/RenderingOpt.h"
#include "model/ScnFrontier.h"
#include "model/Stubs.h"
#include "xml/XMLNodes.h"

namespace NvScn {

extern const LabelTable kDepthOfFieldLabels;
extern const LabelTable kTargetTypeLabels;
extern const LabelTable kParallelViewLabels;

// View flag bit values: the scene's current perspective view, and the flag a new view has set.
constexpr uint32_t kViewFlagCurrent = 1u;
constexpr uint32_t kViewFlagSecond = 2u;

// An element held outside any document, with its attributes and children kept as they are read.
class CXMLFragment {
public:
    explicit CXMLFragment(const char* name);
    CXMLFragment(const CXMLFragment&) = delete;
    CXMLFragment& operator=(const CXMLFragment&) = delete;

    NuvoraXML::XIXMLElement* element() { return mElement; }
    const NuvoraXML::XIXMLElement* element() const { return mElement; }
    // Empties the element.
    void clear();
    // Copies the element's attributes and children into target.
    void write(NuvoraXML::XIXMLElement* target);
    // Replaces the content by copies of source's attributes and children.
    void read(NuvoraXML::XIXMLElement* source);
    // The element written as XML.
    std::string text();

private:
    NuvoraXML::XCXMLTree mTree;
    const char* mName;
    NuvoraXML::XIXMLElement* mElement;
};

// Depth of field of a view.
class CScnDepthOfField : public TScnFrontier<IScnDepthOfField>, public CScnObject {
public:
    static constexpr const char* kElementName = "Depth.Of.Field";

    explicit CScnDepthOfField(CBaseObjectMgr* owner);

    bool isUsed() override { return mUsed; }
    void setUsed(bool used) override { mUsed = used; }
    int32_t getType() override { return mType; }
    void setType(int32_t type) override { mType = type; }
    const CScnVector* getClearnessPoint() override { return &mClearnessPoint; }
    void setClearnessPoint(const CScnVector* point) override { storeIfGiven(mClearnessPoint, point); }
    double getClearnessDistInv() override { return mClearnessDistInv; }
    void setClearnessDistInv(double inverse) override { mClearnessDistInv = inverse; }
    double getClearnessSizeInv() override { return mClearnessSizeInv; }
    void setClearnessSizeInv(double inverse) override { mClearnessSizeInv = inverse; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Used", mUsed, false);
        v.label("Type", mType, kDepthOfFieldLabels, 1);
        v.vector("Clearness.Point", mClearnessPoint, CScnVector{0.0, 0.0, 0.0});
        v.real("Clearness.Dist.Inv", mClearnessDistInv, 0.0);
        v.real("Clearness.Size.Inv", mClearnessSizeInv, 0.0);
    }

private:
    bool mUsed;
    int32_t mType;
    CScnVector mClearnessPoint;
    double mClearnessDistInv;
    double mClearnessSizeInv;
};

// The clipping box of a view.
class CScnClippingBox : public TScnFrontier<IScnClippingBox>, public CScnObject {
public:
    static constexpr const char* kElementName = "Clipping.Box";

    explicit CScnClippingBox(CBaseObjectMgr* owner);

    const CScnVector* getMinimum() override { return &mMinimum; }
    void setMinimum(const CScnVector* corner) override { storeIfGiven(mMinimum, corner); }
    const CScnVector* getMaximum() override { return &mMaximum; }
    void setMaximum(const CScnVector* corner) override { storeIfGiven(mMaximum, corner); }
    bool isVisible() override { return mVisible; }
    void setVisible(bool visible) override { mVisible = visible; }
    bool isActive() override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    double getAngle() override { return mAngle; }
    void setAngle(double angle) override { mAngle = angle; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.vector("Minimum", mMinimum, CScnVector{0.0, 0.0, 0.0});
        v.vector("Maximum", mMaximum, CScnVector{0.0, 0.0, 0.0});
        v.flag("Visible", mVisible, false);
        v.flag("Active", mActive, false);
        v.real("Angle", mAngle, 0.0);
    }

private:
    CScnVector mMinimum;
    CScnVector mMaximum;
    bool mVisible;
    bool mActive;
    double mAngle;
};

// The renderer of a view; its "Options" are kept as they are read.
class CScnRendererInfo : public TScnFrontier<IScnRendererInfo>, public CScnObject {
public:
    static constexpr const char* kElementName = "Renderer.Info";
    // The element that holds the renderer's options as they were read.
    static constexpr const char* kOptionsElement = "Options";

    explicit CScnRendererInfo(CBaseObjectMgr* owner);

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    NuvoraXML::XIXMLElement* getOptions() override { return mOptions.element(); }
    const NuvoraXML::XIXMLElement* getOptions() const override { return mOptions.element(); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.fragment(kOptionsElement, mOptions, kOptional);
    }

private:
    std::string mName;
    CXMLFragment mOptions;
};

// The view information of a view. Its identifier is taken from a file only by the document
// loader, which reads with identifiers kept; initWithXML keeps the object's own identifier.
class CScnViewInfo : public TScnFrontier<IScnViewInfo>, public CScnObject {
public:
    static constexpr const char* kElementName = "View.Info";

    explicit CScnViewInfo(CBaseObjectMgr* owner);

    const CScnUUID* getUUID() override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    bool isLocked() override { return mLocked; }
    void setLocked(bool locked) override { mLocked = locked; }
    int32_t getUIValue() override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }
    const char* getHeliodonName() override { return mHeliodonName.c_str(); }
    void setHeliodonName(const char* name) override { storeText(mHeliodonName, name); }
    const CScnUUID* getEnvironment() override { return &mEnvironment; }
    void setEnvironment(const CScnUUID* uuid) override { storeIfGiven(mEnvironment, uuid); }
    IScnForeground* getForeground() override { return &mForeground; }
    const IScnForeground* getForeground() const override { return &mForeground; }
    TScnObjectMgr<CScnUUID>* getLightsGroups() override { return &mLightsGroups; }
    const TScnObjectMgr<CScnUUID>* getLightsGroups() const override { return &mLightsGroups; }
    IScnDepthOfField* getDepthOfField() override { return &mDepthOfField; }
    const IScnDepthOfField* getDepthOfField() const override { return &mDepthOfField; }
    IScnRendererInfo* getRendererInfo() override { return &mRendererInfo; }
    const IScnRendererInfo* getRendererInfo() const override { return &mRendererInfo; }
    IScnClippingBox* getClippingBox() override { return &mClippingBox; }
    const IScnClippingBox* getClippingBox() const override { return &mClippingBox; }
    IScnCameraLight* getCameraLight() override { return &mCameraLight; }
    const IScnCameraLight* getCameraLight() const override { return &mCameraLight; }
    IScnCameraLight* getRadiosityLight() override { return &mRadiosityLight; }
    const IScnCameraLight* getRadiosityLight() const override { return &mRadiosityLight; }
    IScnFilters* getFilters() override { return &mFilters; }
    const IScnFilters* getFilters() const override { return &mFilters; }
    TScnObjectMgr<CScnUUID>* getNeonShaders() override { return &mNeonShaders; }
    const TScnObjectMgr<CScnUUID>* getNeonShaders() const override { return &mNeonShaders; }
    IScnBackgroundPicture* getBackgroundPicture() override { return &mBackgroundPicture; }
    const IScnBackgroundPicture* getBackgroundPicture() const override { return &mBackgroundPicture; }
    TScnObjectMgr<CScnUUID>* getLayers() override { return &mLayers; }
    const TScnObjectMgr<CScnUUID>* getLayers() const override { return &mLayers; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.identifier("UUID", mUUID, kNullUuid, kKeptIdentifier, kFresh);
        v.flag("Locked", mLocked, false);
        v.integer("UI.Value", mUIValue, 0, kOptional);
        v.object("Foregroung", mForeground, kOptional);
        v.uuidList("Lights.Groups", mLightsGroups);
        v.text("Heliodon.Name", mHeliodonName, "");
        v.object("Depth.Of.Field", mDepthOfField);
        v.object("Renderer.Info", mRendererInfo);
        v.object("Clipping.Box", mClippingBox, kOptional);
        v.object("Camera.Light", mCameraLight, kOptional);
        v.object("Radiosity.Light", mRadiosityLight, kOptional);
        v.identifier("Environment", mEnvironment, kNullUuid, kOptional);
        v.object("Filters", mFilters, kOptional);
        v.uuidList("Neon.Shaders", mNeonShaders, kOptional);
        v.object("Background.Picture", mBackgroundPicture, kOptional);
        v.uuidList("Layers", mLayers, kOptional);
    }

private:
    CScnUUID mUUID;
    bool mLocked;
    int32_t mUIValue;
    CScnForeground mForeground;
    TObjectMgr<CScnUUIDX, CScnUUID> mLightsGroups;
    std::string mHeliodonName;
    CScnDepthOfField mDepthOfField;
    CScnRendererInfo mRendererInfo;
    CScnClippingBox mClippingBox;
    CScnCameraLight mCameraLight;
    CScnCameraLight mRadiosityLight;
    CScnUUID mEnvironment;
    CScnFilters mFilters;
    TObjectMgr<CScnUUIDX, CScnUUID> mNeonShaders;
    CScnBackgroundPicture mBackgroundPicture;
    TObjectMgr<CScnUUIDX, CScnUUID> mLayers;
};

class CCamera;

// The camera interface of older clients: the camera's view flags and depth of field.
class CCameraExObsolete : public TScnFrontier<CScnCameraExObsolete> {
public:
    explicit CCameraExObsolete(CCamera& camera) : mCamera(camera) {}

    uint32_t getViewFlags() override;
    void setViewFlags(uint32_t flags) override;
    int32_t getDOFType() override { return depth().getType(); }
    void setDOFType(int32_t type) override { depth().setType(type); }
    const CScnVector* getDOFClearnessPoint() override { return depth().getClearnessPoint(); }
    void setDOFClearnessPoint(const CScnVector* point) override { depth().setClearnessPoint(point); }
    double getDOFClearnessDistInv() override { return depth().getClearnessDistInv(); }
    void setDOFClearnessDistInv(double inverse) override { depth().setClearnessDistInv(inverse); }
    double getDOFClearnessSizeInv() override { return depth().getClearnessSizeInv(); }
    void setDOFClearnessSizeInv(double inverse) override { depth().setClearnessSizeInv(inverse); }

private:
    IScnDepthOfField& depth();

    CCamera& mCamera;
};

// A perspective view.
class CCamera : public TScnFrontier<CScnCamera>, public CScnObject {
public:
    static constexpr const char* kElementName = "Perspective.View";

    explicit CCamera(CBaseObjectMgr* owner);

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    const CScnVector* getPosition() override { return &mPosition; }
    void setPosition(const CScnVector* position) override { storeIfGiven(mPosition, position); }
    const CScnVector* getTarget() override { return &mTarget; }
    void setTarget(const CScnVector* target) override { storeIfGiven(mTarget, target); }
    bool isCurrent() override { return (mViewFlags & kViewFlagCurrent) != 0; }
    void setCurrent() override;
    bool isSecondFlag() override { return (mViewFlags & kViewFlagSecond) != 0; }
    void setSecondFlag(bool flag) override;
    double getRoll() override { return mRoll; }
    void setRoll(double roll) override { mRoll = wrapRoll(roll); }
    double getFocal() override { return mFocal; }
    void setFocal(double focal) override { mFocal = clipFocal(focal); }
    CScnCameraExObsolete* getCameraEx(int32_t clientVersion) override;
    const CScnCameraExObsolete* getCameraEx(int32_t clientVersion) const override;
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    uint32_t getViewFlags() override { return mViewFlags; }
    void setViewFlags(uint32_t flags) override { mViewFlags = flags; }
    IScnViewInfo* getViewInfo() override { return &mViewInfo; }
    const IScnViewInfo* getViewInfo() const override { return &mViewInfo; }
    IScnViewOpt* getViewOpt() override { return mViewOpt.asViewOpt(); }
    const IScnViewOpt* getViewOpt() const override { return mViewOpt.asViewOpt(); }
    IScnInsertionObject* getInsertionObject() override { return &mInsertionObject; }
    const IScnInsertionObject* getInsertionObject() const override { return &mInsertionObject; }
    int32_t getTargetType() override { return mTargetType; }
    void setTargetType(int32_t type) override { mTargetType = knownTargetType(type); }
    const CScnUUID* getObjectId() override { return &mObjectId; }
    void setObjectId(const CScnUUID* uuid) override { storeIfGiven(mObjectId, uuid); }

    // The document loader's read: the view information takes its identifier from the file.
    bool loadFromXML(NuvoraXML::XIXMLElement* element);

    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.integer("View.Flags", mViewFlags, kViewFlagSecond);
        v.vector("Position", mPosition, CScnVector{50.0, 50.0, -60.0}, kConvertDefault);
        v.vector("Target", mTarget, CScnVector{50.0, 50.0, 50.0}, kConvertDefault);
        v.real("Roll", mRoll, 0.00001, [](double roll) { return wrapRoll(roll); });
        v.real("Focal", mFocal, 50.0, [this](double focal) { return clipFocal(focal); });
        v.identifier("Object.Id", mObjectId, kNullUuid);
        v.label("Target.type", mTargetType, kTargetTypeLabels, 0);
        v.object("View.Info", mViewInfo);
        v.object("Options", mViewOpt, kFindOrCreate, kOptional);
        v.object("InsertionObject", mInsertionObject, kOptional);
    }

    // The roll brought into 0 to 2 pi by whole turns.
    static double wrapRoll(double roll);

private:
    double clipFocal(double focal) const;
    static int32_t knownTargetType(int32_t type) { return type == 1 ? 1 : 0; }

    std::string mName;
    uint32_t mViewFlags;
    CScnVector mPosition;
    CScnVector mTarget;
    CScnVector mUpDirection;
    double mRoll;
    double mFocal;
    CScnUUID mObjectId;
    int32_t mTargetType;
    CScnViewInfo mViewInfo;
    CAnimRenderingOpt mViewOpt;
    CScnInsertionObject mInsertionObject;
    CCameraExObsolete mCameraEx;
};

// A parallel view; its setters store what they are given.
class CScnParallelView : public TScnFrontier<IScnParallelView>, public CScnObject {
public:
    static constexpr const char* kElementName = "Parallel.View";

    explicit CScnParallelView(CBaseObjectMgr* owner);

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    int32_t getPVType() override { return mPVType; }
    void setPVType(int32_t type) override { mPVType = type; }
    uint32_t getViewFlags() override { return mViewFlags; }
    void setViewFlags(uint32_t flags) override { mViewFlags = flags; }
    double getNorthAngle() override { return mNorthAngle; }
    void setNorthAngle(double angle) override { mNorthAngle = angle; }
    double getSize() override { return mSize; }
    void setSize(double size) override { mSize = size; }
    const CScnVector* getPosition() override { return &mPosition; }
    void setPosition(const CScnVector* position) override { storeIfGiven(mPosition, position); }
    const CScnVector* getTarget() override { return &mTarget; }
    void setTarget(const CScnVector* target) override { storeIfGiven(mTarget, target); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    IScnViewInfo* getViewInfo() override { return &mViewInfo; }
    const IScnViewInfo* getViewInfo() const override { return &mViewInfo; }
    IScnViewOpt* getViewOpt() override { return mViewOpt.asViewOpt(); }
    const IScnViewOpt* getViewOpt() const override { return mViewOpt.asViewOpt(); }
    bool isSpecialShading() override { return mSpecialShading; }
    void setSpecialShading(bool special) override { mSpecialShading = special; }

    // The document loader's read: the view information takes its identifier from the file.
    bool loadFromXML(NuvoraXML::XIXMLElement* element);

    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.label("PV.Type", mPVType, kParallelViewLabels, 1);
        v.integer("View.Flags", mViewFlags, kViewFlagSecond);
        v.real("North.Angle", mNorthAngle, 0.0);
        v.real("Size", mSize, 0.0);
        v.vector("Position", mPosition, CScnVector{0.0, 0.0, 0.0});
        v.vector("Target", mTarget, CScnVector{0.0, 0.0, 0.0});
        v.object("View.Info", mViewInfo);
        v.object("Options", mViewOpt, kFindOrCreate, kOptional);
        v.flag("Special.Shading", mSpecialShading, false);
    }

private:
    std::string mName;
    int32_t mPVType;
    uint32_t mViewFlags;
    double mNorthAngle;
    double mSize;
    CScnVector mPosition;
    CScnVector mTarget;
    CScnViewInfo mViewInfo;
    CParallelViewRenderingOpt mViewOpt;
    bool mSpecialShading;
};

// One sweep of an object view's orbit.
class CViewObjectSweep : public TScnFrontier<CScnViewObject::CScnSweep> {
public:
    CViewObjectSweep(int32_t defaultAngle, int32_t defaultStep);

    int32_t getAngle() override { return mAngle; }
    void setAngle(int32_t angle) override { mAngle = angle; }
    int32_t getStep() override { return mStep; }
    void setStep(int32_t step) override { mStep = step; }
    int32_t getShift() override { return mShift; }
    void setShift(int32_t shift) override { mShift = shift; }
    double getStart() override { return mStart; }
    void setStart(double start) override { mStart = start; }

    template <class V>
    void visitFields(V& v)
    {
        v.integer("Angle", mAngle, mDefaultAngle);
        v.integer("Step", mStep, mDefaultStep);
        v.integer("Shift", mShift, 0);
        v.real("Start", mStart, 0.0);
    }

private:
    int32_t mDefaultAngle;
    int32_t mDefaultStep;
    int32_t mAngle;
    int32_t mStep;
    int32_t mShift;
    double mStart;
};

// A view orbiting a centre.
class CViewObject : public TScnFrontier<CScnViewObject>, public CScnObject {
public:
    static constexpr const char* kElementName = "View.Object";

    explicit CViewObject(CBaseObjectMgr* owner);

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    uint32_t getViewFlags() override { return mViewFlags; }
    void setViewFlags(uint32_t flags) override { mViewFlags = flags; }
    double getFocal() override { return mFocal; }
    void setFocal(double focal) override { mFocal = focal; }
    const CScnVector* getCenter() override { return &mCenter; }
    void setCenter(const CScnVector* center) override { storeIfGiven(mCenter, center); }
    double getRadius() override { return mRadius; }
    void setRadius(double radius) override { mRadius = radius; }
    int32_t getOriginAngle() override { return mOriginAngle; }
    void setOriginAngle(int32_t angle) override { mOriginAngle = angle; }
    CScnSweep* getHorizontal() override { return &mHorizontal; }
    const CScnSweep* getHorizontal() const override { return &mHorizontal; }
    CScnSweep* getVertical() override { return &mVertical; }
    const CScnSweep* getVertical() const override { return &mVertical; }
    IScnViewInfo* getViewInfo() override { return &mViewInfo; }
    const IScnViewInfo* getViewInfo() const override { return &mViewInfo; }
    IScnViewOpt* getViewOpt() override { return mViewOpt.asViewOpt(); }
    const IScnViewOpt* getViewOpt() const override { return mViewOpt.asViewOpt(); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The document loader's read: the view information takes its identifier from the file.
    bool loadFromXML(NuvoraXML::XIXMLElement* element);

    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.integer("View.Flags", mViewFlags, kViewFlagSecond);
        v.real("Focal", mFocal, 50.0);
        v.vector("Center", mCenter, CScnVector{0.0, 0.0, 0.0});
        v.real("Radius", mRadius, 500.0);
        v.object("Horizontal", mHorizontal);
        v.object("Vertical", mVertical);
        v.integer("Origin.Angle", mOriginAngle, 0);
        v.object("View.Info", mViewInfo);
        v.object("Options", mViewOpt, kFindOrCreate, kOptional);
    }

private:
    std::string mName;
    uint32_t mViewFlags;
    double mFocal;
    CScnVector mCenter;
    double mRadius;
    CViewObjectSweep mHorizontal;
    CViewObjectSweep mVertical;
    int32_t mOriginAngle;
    CScnViewInfo mViewInfo;
    CAnimRenderingOpt mViewOpt;
};

}  // namespace NvScn

#endif
