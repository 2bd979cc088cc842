#include "model/Lights.h"

namespace NvScn {

namespace {

constexpr LabelEntry kLightTypeLabels[] = {{kScnLightPoint, "Point"},
                                           {kScnLightSpot, "Spot"},
                                           {kScnLightParallel, "Parallel"}};
constexpr LabelEntry kShadowTypeLabels[] = {{kScnShadowNone, "None"},
                                            {kScnShadowTraced, "Traced"},
                                            {kScnShadowSoft, "Soft"}};
constexpr LabelEntry kTargetTypeLabels[] = {{kScnTargetFixedVertex, "Fixed.Vertex"},
                                            {kScnTargetOnObject, "On.Object"}};
constexpr LabelEntry kLensFlareTypeLabels[] = {{kScnLensFlare1, "LensFlare1"},
                                               {kScnLensFlare2, "LensFlare2"},
                                               {kScnHalo1, "Halo1"},
                                               {kScnHalo2, "Halo2"},
                                               {kScnLensFlare1, "Standard"}};

CSCN* sceneOf(CBaseObjectMgr* owner)
{
    return owner != nullptr ? owner->getScene() : nullptr;
}

}  // namespace

const LabelTable kLightTypes(kLightTypeLabels);
const LabelTable kShadowTypes(kShadowTypeLabels);
const LabelTable kTargetTypes(kTargetTypeLabels);
const LabelTable kLensFlareTypes(kLensFlareTypeLabels);

namespace LightRules {

double power(double value)
{
    return clampInto(value, 1.0, 1000000.0);
}

double coneAngle(double value)
{
    return clampInto(value, 0.0, 360.0);
}

double unit(double value)
{
    return clampInto(value, 0.0, 1.0);
}

int32_t mapSize(int32_t value)
{
    return value < 0 ? 0 : value;
}

int32_t targetType(int32_t value)
{
    return value == kScnTargetOnObject ? kScnTargetOnObject : kScnTargetFixedVertex;
}

}  // namespace LightRules

CScnLensFlare::CScnLensFlare(CBaseObjectMgr* owner) : CScnObject(owner)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

CLight::CLight(CBaseObjectMgr* owner)
    : CScnObject(owner), mLightsGroups(sceneOf(owner)), mLensFlare(owner)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

void CLight::setName(const char* name)
{
    copyText(mName, name);
}

void CLight::setColor(const CScnColor* color)
{
    copyFrom(mColor, color);
}

void CLight::setPosition(const CScnVector* position)
{
    copyFrom(mPosition, position);
}

void CLight::setTarget(const CScnVector* target)
{
    copyFrom(mTarget, target);
}

void CLight::setUUID(const CScnUUID* uuid)
{
    copyFrom(mUUID, uuid);
}

void CLight::setObjectId(const CScnUUID* id)
{
    copyFrom(mObjectId, id);
}

NuvoraXML::XIXMLElement* CLight::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putObjectInXML(*this, parent, "Light", "CScnLight::putInXML");
}

bool CLight::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initObjectWithXML(*this, element, "Light", "CScnLight::initWithXML");
}

CScnLightsGroup::CScnLightsGroup(CBaseObjectMgr* owner) : CScnObject(owner)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

NuvoraXML::XIXMLElement* CScnLightsGroup::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putObjectInXML(*this, parent, "Lights.Group", "IScnLightsGroup::putInXML");
}

bool CScnLightsGroup::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initObjectWithXML(*this, element, "Lights.Group", "IScnLightsGroup::initWithXML");
}

void CScnLightsGroup::setID(const CScnUUID* id)
{
    copyFrom(mID, id);
}

void CScnLightsGroup::setName(const char* name)
{
    copyText(mName, name);
}

CScnCameraLight::CScnCameraLight(CBaseObjectMgr* owner, bool radiosityLight)
    : CScnObject(owner), mRadiosityLight(radiosityLight)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

const char* CScnCameraLight::elementName() const
{
    return mRadiosityLight ? "Radiosity.Light" : "Camera.Light";
}

NuvoraXML::XIXMLElement* CScnCameraLight::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putObjectInXML(*this, parent, elementName(), "IScnCameraLight::putInXML");
}

bool CScnCameraLight::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initObjectWithXML(*this, element, elementName(), "IScnCameraLight::initWithXML");
}

void CScnCameraLight::setColor(const CScnColor* color)
{
    copyFrom(mColor, color);
}

}  // namespace NvScn
