#include "model/Heliodon.h"

#include "model/Clip.h"

namespace NvScn {

namespace {

constexpr const char* kBadBlur = "CScnHeliodon::setShadowBlur: invalid blur level";
constexpr const char* kGetColorBadIndex = "CScnHeliodon::getColor: bad index";
constexpr const char* kSetColorBadIndex = "CScnHeliodon::setColor: bad index";

constexpr LabelEntry kPlacementKindLabels[] = {
    {kScnSunManual, "Manual"}, {kScnSun45Degree, "45.Degree"}, {kScnSunDateAndPlace, "Date.And.Place"}};
constexpr LabelEntry kColorTypeLabels[] = {{kScnColorAutomatic, "Automatic"}, {kScnColorUser, "User"}};

// The smallest distance from 0 that phi keeps, so that the sun never sits on the horizon.
constexpr double kPhiMinimum = 0.001;

}  // namespace

const LabelTable kPlacementKinds(kPlacementKindLabels);
const LabelTable kSunColorTypes(kColorTypeLabels);
const LabelTable kSkyTypes(kColorTypeLabels);

CTime::CTime(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setToLocalNow(*this);
}

CSkylight::CSkylight(CBaseObjectMgr* owner) : CScnObject(owner)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

CScnClouds::CScnClouds(CBaseObjectMgr* owner) : CScnObject(owner)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

NuvoraXML::XIXMLElement* CScnClouds::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putObjectInXML(*this, parent, "Clouds", "CScnClouds::putInXML");
}

bool CScnClouds::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initObjectWithXML(*this, element, "Clouds", "CScnClouds::initWithXML");
}

CScnFog::CScnFog(CBaseObjectMgr* owner) : CScnObject(owner)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

NuvoraXML::XIXMLElement* CScnFog::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putObjectInXML(*this, parent, "Fog", "CScnFog::putInXML");
}

bool CScnFog::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initObjectWithXML(*this, element, "Fog", "CScnFog::initWithXML");
}

double phiRule(double phi)
{
    if (-kPhiMinimum < phi && phi < kPhiMinimum) {
        return phi < 0 ? -kPhiMinimum : kPhiMinimum;
    }
    return phi;
}

CHeliodon::CHeliodon(CBaseObjectMgr* owner)
    : CScnObject(owner),
      mTime(owner),
      mPlace(owner),
      mLensFlare(owner),
      mSkylight(owner),
      mClouds(owner),
      mFog(owner)
{
    FieldDefaults defaults(getScene());
    visitFields(defaults);
}

int32_t CHeliodon::blurRule(int32_t blur) const
{
    return clipAlways(*this, blur, 0, 100, kBadBlur);
}

int32_t CHeliodon::setShadowBlur(int32_t blur)
{
    mShadowBlur = blurRule(blur);
    return mShadowBlur;
}

bool CHeliodon::checkColorIndex(int32_t index, const char* message) const
{
    if (index < 0 || index >= kScnSunColorCount) {
        report(message);
        return false;
    }
    return true;
}

CScnColor CHeliodon::getColor(int32_t index) const
{
    return checkColorIndex(index, kGetColorBadIndex) ? mColors[index] : CScnColor{};
}

void CHeliodon::setColor(int32_t index, CScnColor color)
{
    if (checkColorIndex(index, kSetColorBadIndex)) {
        mColors[index] = color;
    }
}

NuvoraXML::XIXMLElement* CHeliodon::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putObjectInXML(*this, parent, "Heliodon", "CScnHeliodon::putInXML");
}

bool CHeliodon::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initObjectWithXML(*this, element, "Heliodon", "CScnHeliodon::initWithXML");
}

}  // namespace NvScn
