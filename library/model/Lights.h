// Lights, light groups, lens flares and the headlights of views, with their field lists.
#ifndef SCN_MODEL_LIGHTS_H
#define SCN_MODEL_LIGHTS_H

#include <cstdint>
#include <string>

#include "ScnLights.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ObjectMgr.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Uuid.h"

namespace NvScn {

// Label tables of the light kinds, as the document writes them.
extern const LabelTable kLightTypes;
extern const LabelTable kShadowTypes;
extern const LabelTable kTargetTypes;
// "Standard" is an older label of type 0, read but never written.
extern const LabelTable kLensFlareTypes;

// The range rules of the light setters, applied to read values as well; none reports.
namespace LightRules {
// Power into 1 to 1000000.
double power(double value);
// Cone angle into 0 to 360 degrees.
double coneAngle(double value);
// Sharpness, shadow power and bias into 0 to 1.
double unit(double value);
// A negative map size becomes 0.
int32_t mapSize(int32_t value);
// A target type other than fixed vertex or on object becomes fixed vertex.
int32_t targetType(int32_t value);
}  // namespace LightRules

// The profile identifier a new light carries.
constexpr CScnUUID kDefaultLightProfile = {
    {0xD1, 0x74, 0xE7, 0xC8, 0x3E, 0xF6, 0xC8, 0x41, 0xBB, 0x95, 0xAC, 0xAE, 0x11, 0x25, 0x86, 0x16}};

// The lens flare of a light or of a heliodon's sun.
class CScnLensFlare : public TScnFrontier<IScnLensFlare>, public CScnObject {
public:
    explicit CScnLensFlare(CBaseObjectMgr* owner = nullptr);

    // IScnLensFlare
    bool isUsed() const override { return mUsed; }
    void setUsed(bool used) override { mUsed = used; }
    int32_t getType() const override { return mType; }
    void setType(int32_t type) override { mType = type; }
    double getSize() const override { return mSize; }
    void setSize(double size) override { mSize = size; }
    double getIntensity() const override { return mIntensity; }
    void setIntensity(double intensity) override { mIntensity = intensity; }

    // The fields of the "Lens.Flare" element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Used", mUsed, false);
        v.label("Type", mType, kLensFlareTypes, kScnLensFlare1);
        v.real("Size", mSize, 1.0);
        v.real("Intensity", mIntensity, 1.0);
    }

private:
    bool mUsed;
    int32_t mType;
    double mSize;
    double mIntensity;
};

// A light of the scene's light list.
class CLight : public TScnFrontier<CScnLight>, public CScnObject {
public:
    static constexpr const char* kElementName = "Light";

    // owner: the light list, or null for a free light (no reports, no vector fix-up).
    explicit CLight(CBaseObjectMgr* owner);

    // CScnLight
    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override;
    int32_t getType() const override { return mType; }
    void setType(int32_t type) override { mType = type; }
    bool isActive() const override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    const CScnColor* getColor() const override { return &mColor; }
    void setColor(const CScnColor* color) override;
    double getPower() const override { return mPower; }
    void setPower(double power) override { mPower = LightRules::power(power); }
    double getDistanceNear() const override { return mDistanceNear; }
    void setDistanceNear(double distance) override { mDistanceNear = distance; }
    double getDistanceFar() const override { return mDistanceFar; }
    void setDistanceFar(double distance) override { mDistanceFar = distance; }
    const CScnVector* getPosition() const override { return &mPosition; }
    void setPosition(const CScnVector* position) override;
    const CScnVector* getTarget() const override { return &mTarget; }
    void setTarget(const CScnVector* target) override;
    double getConeAngle() const override { return mConeAngle; }
    void setConeAngle(double angle) override { mConeAngle = LightRules::coneAngle(angle); }
    double getSharpness() const override { return mSharpness; }
    void setSharpness(double sharpness) override { mSharpness = LightRules::unit(sharpness); }
    int32_t getShadowType() const override { return mShadowType; }
    void setShadowType(int32_t type) override { mShadowType = type; }
    double getShadowPower() const override { return mShadowPower; }
    void setShadowPower(double power) override { mShadowPower = LightRules::unit(power); }
    int32_t getMapSize() const override { return mMapSize; }
    void setMapSize(int32_t size) override { mMapSize = LightRules::mapSize(size); }
    double getBias() const override { return mBias; }
    void setBias(double bias) override { mBias = LightRules::unit(bias); }
    bool isGlobalIllumination() const override { return mGlobalIllumination; }
    void setGlobalIllumination(bool on) override { mGlobalIllumination = on; }
    double getGlobalIlluminationPower() const override { return mGlobalIlluminationPower; }
    void setGlobalIlluminationPower(double power) override { mGlobalIlluminationPower = power; }
    int32_t getGlobalIlluminationQuality() const override { return mGlobalIlluminationQuality; }
    void setGlobalIlluminationQuality(int32_t quality) override { mGlobalIlluminationQuality = quality; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    bool isLocked() const override { return mLocked; }
    void setLocked(bool locked) override { mLocked = locked; }
    int32_t getUIValue() const override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }
    TScnObjectMgr<CScnUUID>* getLightsGroups() override { return &mLightsGroups; }
    const TScnObjectMgr<CScnUUID>* getLightsGroups() const override { return &mLightsGroups; }
    IScnLensFlare* getLensFlare() override { return &mLensFlare; }
    const IScnLensFlare* getLensFlare() const override { return &mLensFlare; }
    bool isRadiosity() const override { return mRadiosity; }
    void setRadiosity(bool on) override { mRadiosity = on; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override;
    int32_t getTargetType() const override { return mTargetType; }
    void setTargetType(int32_t type) override { mTargetType = LightRules::targetType(type); }
    const CScnUUID* getObjectId() const override { return &mObjectId; }
    void setObjectId(const CScnUUID* id) override;
    CScnUUID getIES() const override { return mIES; }
    void setIES(CScnUUID profile) override { mIES = profile; }

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.label("Type", mType, kLightTypes, kScnLightPoint);
        v.flag("Active", mActive, true);
        v.color("Color", mColor, CScnColor{0, 127, 127, 127});
        v.real("Power", mPower, 3.0, &LightRules::power);
        v.real("Distance.Near", mDistanceNear, 0.0);
        v.real("Distance.Far", mDistanceFar, 0.0);
        v.vector("Position", mPosition, CScnVector{200, 200, -200}, kConvertDefault);
        v.vector("Target", mTarget, CScnVector{0, 0, 0});
        v.real("Cone.Angle", mConeAngle, 20.0, &LightRules::coneAngle);
        v.real("Sharpness", mSharpness, 0.5, &LightRules::unit);
        v.label("Shadow.Type", mShadowType, kShadowTypes, kScnShadowNone);
        v.real("Shadow.Power", mShadowPower, 0.1, &LightRules::unit);
        v.integer("Map.Size", mMapSize, 0, &LightRules::mapSize);
        v.real("Bias", mBias, 0.3, &LightRules::unit);
        v.flag("Global.Illumination", mGlobalIllumination, false);
        v.real("Global.Illumination.Power", mGlobalIlluminationPower, 0.5);
        v.integer("Global.Illumination.Quality", mGlobalIlluminationQuality, 0);
        v.flag("Locked", mLocked, false);
        v.integer("UI.Value", mUIValue, 0, kOptional);
        v.uuidList("Lights.Groups", mLightsGroups);
        v.object("Lens.Flare", mLensFlare);
        v.flag("Radiosity", mRadiosity, true);
        v.identifier("UUID", mUUID, kNullUuid, kOptional, kFresh);
        v.identifier("Object.Id", mObjectId, kNullUuid);
        v.label("Target.type", mTargetType, kTargetTypes, kScnTargetFixedVertex, &LightRules::targetType);
        v.identifier("IES", mIES, kDefaultLightProfile, kOptional);
    }

private:
    std::string mName;
    int32_t mType;
    bool mActive;
    CScnColor mColor;
    double mPower;
    double mDistanceNear;
    double mDistanceFar;
    CScnVector mPosition;
    CScnVector mTarget;
    double mConeAngle;
    double mSharpness;
    int32_t mShadowType;
    double mShadowPower;
    int32_t mMapSize;
    double mBias;
    bool mGlobalIllumination;
    double mGlobalIlluminationPower;
    int32_t mGlobalIlluminationQuality;
    bool mLocked;
    int32_t mUIValue;
    TObjectMgr<CScnUUIDX, CScnUUID> mLightsGroups;
    CScnLensFlare mLensFlare;
    bool mRadiosity;
    CScnUUID mUUID;
    CScnUUID mObjectId;
    int32_t mTargetType;
    CScnUUID mIES;
};

// A light group of the scene's group list.
class CScnLightsGroup : public TScnFrontier<IScnLightsGroup>, public CScnObject {
public:
    static constexpr const char* kElementName = "Lights.Group";

    // owner: the group list, or null for a free group.
    explicit CScnLightsGroup(CBaseObjectMgr* owner);

    // IScnLightsGroup
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    const CScnUUID* getID() const override { return &mID; }
    void setID(const CScnUUID* id) override;
    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override;
    int32_t getUIValue() const override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.identifier("ID", mID, kNullUuid, kFresh);
        v.integer("UI.Value", mUIValue, 0, kOptional);
    }

private:
    std::string mName;
    CScnUUID mID;
    int32_t mUIValue;
};

// The camera light or the radiosity light of a view; the kind names its element.
class CScnCameraLight : public TScnFrontier<IScnCameraLight>, public CScnObject {
public:
    static constexpr const char* kCameraLightElement = "Camera.Light";
    static constexpr const char* kRadiosityLightElement = "Radiosity.Light";

    // owner: the view's owner, or null; radiosityLight: the kind.
    explicit CScnCameraLight(CBaseObjectMgr* owner, bool radiosityLight = false);

    // IScnCameraLight
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    bool isUsed() const override { return mUsed; }
    void setUsed(bool used) override { mUsed = used; }
    bool isRadiosityLight() const override { return mRadiosityLight; }
    void setRadiosityLight(bool radiosity) override { mRadiosityLight = radiosity; }
    const CScnColor* getColor() const override { return &mColor; }
    void setColor(const CScnColor* color) override;
    double getPower() const override { return mPower; }
    void setPower(double power) override { mPower = power; }

    // The element name of the current kind: kCameraLightElement or kRadiosityLightElement.
    const char* elementName() const;

    // The fields of the element, in document order (the kind is not among them).
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Used", mUsed, false);
        v.color("Color", mColor, CScnColor{0, 255, 255, 255});
        v.real("Power", mPower, 1.0);
    }

private:
    bool mUsed;
    bool mRadiosityLight;
    CScnColor mColor;
    double mPower;
};

}  // namespace NvScn

#endif
