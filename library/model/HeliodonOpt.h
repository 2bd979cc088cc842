// The options of a heliodon study, and the holder of heliodon options of older option files.
#ifndef SCN_HELIODON_OPT_H
#define SCN_HELIODON_OPT_H

#include <string>

#include "ScnHeliodon.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/Heliodon.h"
#include "model/RenderingOpt.h"
#include "model/ScnFrontier.h"

namespace NvScn {

extern const LabelTable kFrequencyTypeLabels;
extern const LabelTable kFrequencyUnitLabels;

// A study of images over a day or a year: its view options, frequency and period, written into
// the "Options" element of "Heliodons".
class CHeliodonOpt : public TScnFrontier<CScnHeliodonOpt>, public CScnObject {
public:
    static constexpr const char* kElementName = kOptionsElementName;

    explicit CHeliodonOpt(CBaseObjectMgr* owner);

    CScnRenderingOpt* getRenderingOpt() override { return mOptions.getRenderingOpt(); }
    const CScnRenderingOpt* getRenderingOpt() const override { return mOptions.getRenderingOpt(); }
    CScnCompressionOpt* getCompressionOpt() override { return mOptions.getCompressionOpt(); }
    const CScnCompressionOpt* getCompressionOpt() const override { return mOptions.getCompressionOpt(); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* options) override;
    int32_t getFrequencyType() override { return mFrequencyType; }
    void setFrequencyType(int32_t type) override { mFrequencyType = type; }
    int32_t getFrequencyUnit() override { return mFrequencyUnit; }
    void setFrequencyUnit(int32_t unit) override { mFrequencyUnit = unit; }
    double getFrequencyValue() override { return mFrequencyValue; }
    void setFrequencyValue(double value) override { mFrequencyValue = wholeUnits(value); }
    double getMovieDuration() override { return mMovieDuration; }
    void setMovieDuration(double duration) override { mMovieDuration = duration; }
    CScnTime* getStartTime() override { return &mStartTime; }
    const CScnTime* getStartTime() const override { return &mStartTime; }
    CScnTime* getEndTime() override { return &mEndTime; }
    const CScnTime* getEndTime() const override { return &mEndTime; }
    bool isAllRange() override { return mAllRange; }
    void setAllRange(bool allRange) override { mAllRange = allRange; }

    // The content of "Options": the view options' items, then the study's own.
    template <class V>
    void visitFields(V& v)
    {
        mOptions.visitFields(v);
        v.label("Frequency.Type", mFrequencyType, kFrequencyTypeLabels, 0);
        v.label("Frequency.Unit", mFrequencyUnit, kFrequencyUnitLabels, 2);
        v.real("Frequency.Value", mFrequencyValue, 1.0, [](double value) { return wholeUnits(value); });
        v.real("Movie.Duration", mMovieDuration, 0.0);
        v.date("Start.Time", mStartTime);
        v.date("End.Time", mEndTime);
        v.flag("All.Range", mAllRange, false);
    }

    // A frequency truncated towards zero into the signed 32-bit range (0 for a value that is no
    // number).
    static double wholeUnits(double value);

private:
    CAnimRenderingOpt mOptions;
    int32_t mFrequencyType;
    int32_t mFrequencyUnit;
    double mFrequencyValue;
    double mMovieDuration;
    CTime mStartTime;
    CTime mEndTime;
    bool mAllRange;
};

// The heliodon options of older option files: view options and, beside them, the older settings
// of the study, whose range setters clamp inside a scene with a report.
class COldHeliodonOpt : public CAnimRenderingOpt {
public:
    explicit COldHeliodonOpt(CBaseObjectMgr* owner);

    // Where the study's images go.
    const char* getPath() const { return mPath.c_str(); }
    void setPath(const char* path) { mPath = path != nullptr ? path : ""; }
    CScnPlace* getPlace() { return &mPlace; }
    CScnTime* getTime() { return &mTime; }
    double getSunshine() const { return mSunshine; }
    // Kept within 0 to 1 inside a scene.
    void setSunshine(double sunshine);
    double getNorthAngle() const { return mNorthAngle; }
    // Kept within 0 to 360 degrees inside a scene.
    void setNorthAngle(double angle);
    double getFilmFrameRate() const { return mFilmFrameRate; }
    // Kept not below 0 inside a scene.
    void setFilmFrameRate(double rate);

private:
    std::string mPath;
    CPlace mPlace;
    CTime mTime;
    double mSunshine;
    double mNorthAngle;
    double mFilmFrameRate;
};

}  // namespace NvScn

#endif
