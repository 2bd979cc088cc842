#include "model/RenderingOpt.h"

#include "model/Clip.h"

namespace NvScn {

namespace {

constexpr LabelEntry kAntialiasEntries[] = {{0, "No"}, {1, "Good"}, {2, "Excellent"}, {3, "Special"}};

constexpr LabelEntry kOutputTypeEntries[] = {
    {0, "CmpPict"},  {1, "Pict"},  {2, "CmpTGA"},       {3, "TGA"},      {4, "BMP"},
    {5, "JPEG"},     {6, "CmpQTime"}, {7, "QTime"},     {8, "CmpVRQTime"}, {9, "VRQTime"},
    {10, "Real"},    {11, "AVI"},  {12, "Epix"},        {13, "Tiff"},
};

constexpr double kLargestRadiosityQuality = 2147483647.0;

}  // namespace

const LabelTable kAntialiasLabels(kAntialiasEntries);
const LabelTable kOutputTypeLabels(kOutputTypeEntries);

CRadiosityControl::CRadiosityControl(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

double CRadiosityControl::clipFactor(double factor) const
{
    return clipAlways(*this, factor, 0.0, kNoUpperBound<double>, Msg::kClipRadiosityFactor);
}

double CRadiosityControl::clipQuality(double quality) const
{
    return clipAlways(*this, quality, 0.0, kLargestRadiosityQuality, Msg::kClipRadiosityQuality);
}

CCompressionOpt::CCompressionOpt(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

NuvoraXML::XIXMLElement* CCompressionOpt::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return guarded(getOwner(), "IScnViewOpt::putInXML", static_cast<NuvoraXML::XIXMLElement*>(nullptr), [&] {
        NuvoraXML::XIXMLElement* options = XmlForm::findOrAddChild(XmlForm::require(parent), kOptionsElementName);
        writeFields(*this, options);
        return options;
    });
}

bool CCompressionOpt::initWithXML(NuvoraXML::XIXMLElement* options)
{
    return guarded(getOwner(), "IScnViewOpt::initWithXML", false, [&] {
        readFields(*this, XmlForm::requireChild(XmlForm::require(options), kElementName));
        return true;
    });
}

template <class Iface>
TRenderingOpt<Iface>::TRenderingOpt(CBaseObjectMgr* owner, int32_t defaultHeight)
    : CScnObject(owner), mDefaultHeight(defaultHeight), mRadiosity(owner)
{
    setFieldDefaults(*this);
}

template <class Iface>
NuvoraXML::XIXMLElement* TRenderingOpt<Iface>::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnViewOpt::putInXML", kFindOrCreate);
}

template <class Iface>
bool TRenderingOpt<Iface>::initWithXML(NuvoraXML::XIXMLElement* options)
{
    return initFieldsWithXML(*this, options, "IScnViewOpt::initWithXML");
}

template <class Iface>
bool TRenderingOpt<Iface>::initRenderingWithXML(NuvoraXML::XIXMLElement* rendering)
{
    RenderingPart part{*this};
    return guarded(getOwner(), "IScnViewOpt::initWithXML", false, [&] {
        readFields(part, rendering);
        return true;
    });
}

template <class Iface>
int32_t TRenderingOpt<Iface>::clipCount(int32_t count, const char* message) const
{
    return clipAlways(*this, count, 0, kNoUpperBound<int32_t>, message);
}

template <class Iface>
double TRenderingOpt<Iface>::clipContrast(double contrast) const
{
    return clipAlways(*this, contrast, 0.0, kNoUpperBound<double>, Msg::kContrastPositive);
}

template <class Iface>
double TRenderingOpt<Iface>::clipLuminosity(double luminosity) const
{
    return clipAlways(*this, luminosity, -1.0, 1.0, Msg::kLuminosityRange);
}

template <class Iface>
NuvoraXML::XIXMLElement* TViewRenderingOpt<Iface>::putInXML(NuvoraXML::XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnViewOpt::putInXML", kFindOrCreate);
}

template <class Iface>
bool TViewRenderingOpt<Iface>::initWithXML(NuvoraXML::XIXMLElement* options)
{
    return initFieldsWithXML(*this, options, "IScnViewOpt::initWithXML");
}

template class TRenderingOpt<CScnRenderingOpt>;
template class TRenderingOpt<CScnPanoramaRenderingOpt>;
template class TRenderingOpt<CScnParallelViewRenderingOpt>;
template class TViewRenderingOpt<CScnRenderingOpt>;
template class TViewRenderingOpt<CScnPanoramaRenderingOpt>;
template class TViewRenderingOpt<CScnParallelViewRenderingOpt>;

}  // namespace NvScn
