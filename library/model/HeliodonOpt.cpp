#include "model/HeliodonOpt.h"

#include <cmath>
#include <limits>

#include "model/Guard.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kFrequencyTypeEntries[] = {{0, "OneImage"}, {1, "Daily"}, {2, "Yearly"}};
constexpr LabelEntry kFrequencyUnitEntries[] = {
    {0, "FrameRate"}, {1, "Minutes"}, {2, "Hours"}, {3, "Days"}, {4, "Months"}};

}  // namespace

const LabelTable kFrequencyTypeLabels(kFrequencyTypeEntries);
const LabelTable kFrequencyUnitLabels(kFrequencyUnitEntries);

CHeliodonOpt::CHeliodonOpt(CBaseObjectMgr* owner) : CScnObject(owner), mOptions(owner)
{
    setFieldDefaults(*this);
}

double CHeliodonOpt::wholeUnits(double value)
{
    if (std::isnan(value)) {
        return 0.0;
    }
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    return std::trunc(value < lowest ? lowest : (value > highest ? highest : value));
}

XIXMLElement* CHeliodonOpt::putInXML(XIXMLElement* parent)
{
    return putOptionsInXML(*this, parent, "CScnHeliodonOpt::putInXML");
}

bool CHeliodonOpt::initWithXML(XIXMLElement* options)
{
    return initFieldsWithXML(*this, options, "CScnHeliodonOpt::initWithXML");
}

}  // namespace NvScn
