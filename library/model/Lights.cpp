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
    setFieldDefaults(*this);
}

CLight::CLight(CBaseObjectMgr* owner)
    : CScnObject(owner), mLightsGroups(getScene()), mLensFlare(owner)
{
    setFieldDefaults(*this);
}

void CLight::setName(const char* name)
{
    storeTextIfGiven(mName, name);
}

void CLight::setColor(const CScnColor* color)
{
    storeIfGiven(mColor, color);
}

void CLight::setPosition(const CScnVector* position)
{
    storeIfGiven(mPosition, position);
}

void CLight::setTarget(const CScnVector* target)
{
    storeIfGiven(mTarget, target);
}

void CLight::setUUID(const CScnUUID* uuid)
{
    storeIfGiven(mUUID, uuid);
}

void CLight::setObjectId(const CScnUUID* id)
{
    storeIfGiven(mObjectId, id);
}

NuvoraXML::XIXMLElement* CLight::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnLight::putInXML");
}

bool CLight::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnLight::initWithXML", kNamedOrChild);
}

CScnLightsGroup::CScnLightsGroup(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

NuvoraXML::XIXMLElement* CScnLightsGroup::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnLightsGroup::putInXML");
}

bool CScnLightsGroup::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnLightsGroup::initWithXML", kNamedOrChild);
}

void CScnLightsGroup::setID(const CScnUUID* id)
{
    storeIfGiven(mID, id);
}

void CScnLightsGroup::setName(const char* name)
{
    storeTextIfGiven(mName, name);
}

CScnCameraLight::CScnCameraLight(CBaseObjectMgr* owner, bool radiosityLight)
    : CScnObject(owner), mRadiosityLight(radiosityLight)
{
    setFieldDefaults(*this);
}

const char* CScnCameraLight::elementName() const
{
    return mRadiosityLight ? kRadiosityLightElement : kCameraLightElement;
}

NuvoraXML::XIXMLElement* CScnCameraLight::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnCameraLight::putInXML");
}

bool CScnCameraLight::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnCameraLight::initWithXML", kNamedOrChild);
}

void CScnCameraLight::setColor(const CScnColor* color)
{
    storeIfGiven(mColor, color);
}

}  // namespace NvScn
