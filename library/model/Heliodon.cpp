#include "model/Heliodon.h"

#include "model/Clip.h"
#include "model/Messages.h"

namespace NvScn {

namespace {

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
    setFieldDefaults(*this);
}

CScnClouds::CScnClouds(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

NuvoraXML::XIXMLElement* CScnClouds::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnClouds::putInXML");
}

bool CScnClouds::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnClouds::initWithXML", kNamedOrChild);
}

CScnFog::CScnFog(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

NuvoraXML::XIXMLElement* CScnFog::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnFog::putInXML");
}

bool CScnFog::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnFog::initWithXML", kNamedOrChild);
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
    setFieldDefaults(*this);
}

int32_t CHeliodon::blurRule(int32_t blur) const
{
    return clipAlways(*this, blur, 0, 100, Msg::kBadBlur);
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
    return checkColorIndex(index, Msg::kGetColorBadIndex) ? mColors[index] : CScnColor{};
}

void CHeliodon::setColor(int32_t index, CScnColor color)
{
    if (checkColorIndex(index, Msg::kSetColorBadIndex)) {
        mColors[index] = color;
    }
}

NuvoraXML::XIXMLElement* CHeliodon::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnHeliodon::putInXML");
}

bool CHeliodon::initWithXML(NuvoraXML::XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnHeliodon::initWithXML", kNamedOrChild);
}

}  // namespace NvScn
