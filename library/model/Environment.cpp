#include "model/Environment.h"

#include "model/Clip.h"
#include "model/Guard.h"
#include "model/Messages.h"
#include "platform/Failure.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kBackgroundImageEntries[] = {
    {0, "None"}, {1, "Stretched"}, {2, "3D"}, {3, "Motif"}, {4, "QTVRCubic"}};
constexpr LabelEntry kBackgroundColorEntries[] = {
    {0, "None"}, {1, "Uniform"}, {2, "Graduated"}, {3, "Graduated.Line"}};
constexpr LabelEntry kBackgroundPictureEntries[] = {
    {0, "None"}, {1, "User.Gradiant"}, {2, "Picture.2D"}, {3, "Movie.3D"}};

}  // namespace

const LabelTable kBackgroundImageLabels(kBackgroundImageEntries);
const LabelTable kBackgroundColorLabels(kBackgroundColorEntries);
const LabelTable kBackgroundPictureLabels(kBackgroundPictureEntries);

CAmbiance::CAmbiance(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CAmbiance::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnAmbient::putInXML");
}

bool CAmbiance::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnAmbient::initWithXML");
}

CAtmosphere::CAtmosphere(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

double CAtmosphere::clipHigh(double density) const
{
    return clipOwnerGated(*this, density, 0.0, 1.0, Msg::kClipHighDensity);
}

double CAtmosphere::clipMedium(double density) const
{
    return clipOwnerGated(*this, density, 0.0, 1.0, Msg::kClipMediumDensity);
}

double CAtmosphere::clipLow(double density) const
{
    return clipOwnerGated(*this, density, 0.0, 1.0, Msg::kClipLowDensity);
}

double CAtmosphere::clipScale(double scale) const
{
    return clipOwnerGated(*this, scale, 0.0, kNoUpperBound<double>, Msg::kClipScale);
}

double CAtmosphere::clipNoise(double noise) const
{
    return clipOwnerGated(*this, noise, 0.0, kNoUpperBound<double>, Msg::kClipNoise);
}

XIXMLElement* CAtmosphere::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnAtmosphere::putInXML", kReplaceExisting);
}

bool CAtmosphere::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnAtmosphere::initWithXML");
}

CBackground::CBackground(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

double CBackground::clipLinePower(double power) const
{
    double clipped = clipOwnerGated(*this, power, 0.0, 100.0, Msg::kClipLinePower);
    return clipped < 10.0 ? 1.0 : clipped;
}

XIXMLElement* CBackground::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnBackground::putInXML", kReplaceExisting,
                          AlternateName{kOlderElementName});
}

bool CBackground::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnBackground::initWithXML");
}

CScnGround::CScnGround(CBaseObjectMgr* owner) : CScnObject(owner), mProperty(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnGround::putInXML(XIXMLElement* parent)
{
    return guarded(getOwner(), "CScnGround::putInXML", static_cast<XIXMLElement*>(nullptr), [&] {
        XIXMLElement* element = writeFields(*this, parent);
        mProperty.write(element);
        return element;
    });
}

bool CScnGround::initWithXML(XIXMLElement* element)
{
    return guarded(getOwner(), "CScnGround::initWithXML", false, [&] {
        readFields(*this, element);
        XIXMLElement* property = XmlForm::findChild(element, kPropertyElement);
        if (property == nullptr) {
            Nuvora::fail(Msg::kGroundNoProperty);
        }
        mProperty.read(property);
        return true;
    });
}

CScnBackgroundPicture::CScnBackgroundPicture(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnBackgroundPicture::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnBackgroundPicture::putInXML");
}

bool CScnBackgroundPicture::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnBackgroundPicture::initWithXML");
}

CScnForeground::CScnForeground(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnForeground::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnForeground::putInXML");
}

bool CScnForeground::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnForeground::initWithXML");
}

CScnTexture::CScnTexture(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

void CScnTexture::setCutOut(bool& present, CScnColor& cutOut, const CScnColor* color)
{
    present = color != nullptr;
    if (color != nullptr) {
        cutOut = *color;
    }
}

XIXMLElement* CScnTexture::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnTexture::putInXML");
}

bool CScnTexture::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnTexture::initWithXML");
}

CScnImageSettingsFilter::CScnImageSettingsFilter(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnImageSettingsFilter::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnImageSettingsFilter::putInXML");
}

bool CScnImageSettingsFilter::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnImageSettingsFilter::initWithXML");
}

CScnGrainFilter::CScnGrainFilter(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnGrainFilter::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnGrainFilter::putInXML");
}

bool CScnGrainFilter::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnGrainFilter::initWithXML");
}

CScnExposureFilter::CScnExposureFilter(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnExposureFilter::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnExposureFilter::putInXML");
}

bool CScnExposureFilter::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnExposureFilter::initWithXML");
}

CScnHatchingFilter::CScnHatchingFilter(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnHatchingFilter::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnHatchingFilter::putInXML");
}

bool CScnHatchingFilter::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnHatchingFilter::initWithXML");
}

CScnFilters::CScnFilters(CBaseObjectMgr* owner)
    : CScnObject(owner), mImageSettings(owner), mGrain(owner), mExposure(owner), mHatching(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnFilters::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnFilters::putInXML");
}

bool CScnFilters::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnFilters::initWithXML");
}

CScnEnvironment::CScnEnvironment(CBaseObjectMgr* owner)
    : CScnObject(owner), mFog(owner), mClouds(owner), mBackgroundPicture(owner), mForeground(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnEnvironment::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnEnvironment::putInXML");
}

bool CScnEnvironment::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnEnvironment::initWithXML");
}

}  // namespace NvScn
