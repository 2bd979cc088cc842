// Heliodons (sun settings) and their study options.
#ifndef SCN_HELIODON_H
#define SCN_HELIODON_H

#include "ScnBase.h"
#include "ScnEnvironment.h"
#include "ScnXML.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnHeliodon {
public:
    virtual ~CScnHeliodon() {}
};

class CScnTime;

// The options of a heliodon study (images over a day or a year): its rendering and compression
// options, how often an image is taken and over which period. Frequency types: 0 "OneImage",
// 1 "Daily", 2 "Yearly"; units: 0 "FrameRate", 1 "Minutes", 2 "Hours", 3 "Days", 4 "Months".
class CScnHeliodonOpt {
public:
    virtual CScnRenderingOpt* getRenderingOpt() = 0;
    virtual const CScnRenderingOpt* getRenderingOpt() const = 0;
    virtual CScnCompressionOpt* getCompressionOpt() = 0;
    virtual const CScnCompressionOpt* getCompressionOpt() const = 0;
    // Writes into the "Options" child of parent (created when absent) and answers it.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads from an "Options" element.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* options) = 0;
    virtual int32_t getFrequencyType() = 0;
    virtual void setFrequencyType(int32_t type) = 0;
    virtual int32_t getFrequencyUnit() = 0;
    virtual void setFrequencyUnit(int32_t unit) = 0;
    virtual double getFrequencyValue() = 0;
    // Stores the value truncated towards zero (a whole number of units).
    virtual void setFrequencyValue(double value) = 0;
    virtual double getMovieDuration() = 0;
    virtual void setMovieDuration(double duration) = 0;
    virtual CScnTime* getStartTime() = 0;
    virtual const CScnTime* getStartTime() const = 0;
    virtual CScnTime* getEndTime() = 0;
    virtual const CScnTime* getEndTime() const = 0;
    virtual bool isAllRange() = 0;
    virtual void setAllRange(bool allRange) = 0;
    virtual ~CScnHeliodonOpt() {}
};

}  // namespace NvScn

#endif
