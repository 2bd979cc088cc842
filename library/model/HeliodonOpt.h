// The options of a heliodon study, and the holder of heliodon options of older option files.
#ifndef SCN_HELIODON_OPT_H
#define SCN_HELIODON_OPT_H

#include "ScnHeliodon.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/RenderingOpt.h"
#include "model/ScnFrontier.h"

namespace NvScn {

extern const LabelTable kFrequencyTypeLabels;
extern const LabelTable kFrequencyUnitLabels;

// A study of images over a day or a year: its view options, frequency and period, written into
// the "Options" element of "Heliodons".
class CHeliodonOpt : public TScnFrontier<CScnHeliodonOpt>, public CScnObject {
public:
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
    CScnTime* getStartTime() override { return nullptr; }
    const CScnTime* getStartTime() const override { return nullptr; }
    CScnTime* getEndTime() override { return nullptr; }
    const CScnTime* getEndTime() const override { return nullptr; }
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
    bool mAllRange;
};

}  // namespace NvScn

#endif
