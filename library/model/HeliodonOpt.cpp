#include "model/HeliodonOpt.h"

#include <cmath>
#include <limits>

#include "model/Clip.h"
#include "model/Guard.h"
#include "model/Messages.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kFrequencyTypeEntries[] = {{0, "OneImage"}, {1, "Daily"}, {2, "Yearly"}};
constexpr LabelEntry kFrequencyUnitEntries[] = {
    {0, "FrameRate"}, {1, "Minutes"}, {2, "Hours"}, {3, "Days"}, {4, "Months"}};

}  // namespace

const LabelTable kFrequencyTypeLabels(kFrequencyTypeEntries);
const LabelTable kFrequencyUnitLabels(kFrequencyUnitEntries);

CHeliodonOpt::CHeliodonOpt(CBaseObjectMgr* owner)
    : CScnObject(owner), mOptions(owner), mStartTime(owner), mEndTime(owner)
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
    return putFieldsInXML(*this, parent, "CScnHeliodonOpt::putInXML", kFindOrCreate);
}

bool CHeliodonOpt::initWithXML(XIXMLElement* options)
{
    return initFieldsWithXML(*this, options, "CScnHeliodonOpt::initWithXML");
}

COldHeliodonOpt::COldHeliodonOpt(CBaseObjectMgr* owner)
    : CAnimRenderingOpt(owner),
      mPath("file:///C|/Heliodon"),
      mPlace(owner),
      mTime(owner),
      mSunshine(0.5),
      mNorthAngle(0.0),
      mFilmFrameRate(25.0)
{
    mPlace.setLongitude(140);
    mPlace.setLatitude(2932);
    mPlace.setTimeZone(60);
    mTime.setDay(15);
    mTime.setMonth(1);
    mTime.setHour(12);
    mTime.setMinute(0);
}

void COldHeliodonOpt::setSunshine(double sunshine)
{
    mSunshine = clipOwnerGated(*this, sunshine, 0.0, 1.0, Msg::kClipSunshine);
}

void COldHeliodonOpt::setNorthAngle(double angle)
{
    mNorthAngle = clipOwnerGated(*this, angle, 0.0, 360.0, Msg::kClipNorthAngle);
}

void COldHeliodonOpt::setFilmFrameRate(double rate)
{
    mFilmFrameRate = clipOwnerGated(*this, rate, 0.0, kNoUpperBound<double>, Msg::kClipFilmFrameRate);
}

}  // namespace NvScn
