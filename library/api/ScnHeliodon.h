// Heliodons (sun settings) with their place, date, sky, clouds and fog, and their study options.
#ifndef SCN_HELIODON_H
#define SCN_HELIODON_H

#include "ScnBase.h"
#include "ScnEnvironment.h"
#include "ScnLights.h"
#include "ScnXML.h"

namespace NvScn {

// How a heliodon places the sun (CScnHeliodon::getPlacementKind).
constexpr int32_t kScnSunManual = 0;
constexpr int32_t kScnSun45Degree = 1;
constexpr int32_t kScnSunDateAndPlace = 2;

// Colour types of a heliodon's sun and of a skylight: computed, or chosen by the user.
constexpr int32_t kScnColorAutomatic = 0;
constexpr int32_t kScnColorUser = 1;

// Number of sun colours of a heliodon; index 2 is the sun colour proper.
constexpr int32_t kScnSunColorCount = 5;

// A date and time of day in the machine's local calendar; a new one holds the moment of its creation.
class CScnTime {
public:
    // Month 1 to 12; the setter turns values below 1 into 1 and keeps larger ones.
    virtual int32_t getMonth() const = 0;
    virtual void setMonth(int32_t month) = 0;
    // Day of the month; the setter turns values below 1 into 1 and keeps larger ones.
    virtual int32_t getDay() const = 0;
    virtual void setDay(int32_t day) = 0;
    // Hour of the day; the setter turns negative values into 0.
    virtual int32_t getHour() const = 0;
    virtual void setHour(int32_t hour) = 0;
    // Minute of the hour; the setter turns negative values into 0.
    virtual int32_t getMinute() const = 0;
    virtual void setMinute(int32_t minute) = 0;
    // The full year; any value is stored.
    virtual int32_t getYear() const = 0;
    virtual void setYear(int32_t year) = 0;
    virtual ~CScnTime() {}
};

// Where a scene stands on Earth, in whole minutes of arc; all zero when new.
class CScnPlace {
public:
    // Longitude in minutes of arc.
    virtual int32_t getLongitude() const = 0;
    virtual void setLongitude(int32_t longitude) = 0;
    // Latitude in minutes of arc.
    virtual int32_t getLatitude() const = 0;
    virtual void setLatitude(int32_t latitude) = 0;
    // Offset of the local time zone in minutes.
    virtual int32_t getTimeZone() const = 0;
    virtual void setTimeZone(int32_t minutes) = 0;
    // Whether daylight saving time is in force.
    virtual bool isDaylight() const = 0;
    virtual void setDaylight(bool daylight) = 0;
    virtual ~CScnPlace() {}
};

// The light of the sky around a heliodon's sun; every setter stores what it is given.
class IScnSkylight {
public:
    // Whether the sky lights the scene.
    virtual bool isUsed() const = 0;
    virtual void setUsed(bool used) = 0;
    // Strength of the sky light.
    virtual double getFactor() const = 0;
    virtual void setFactor(double factor) = 0;
    // The sky colour used when the sky type is kScnColorUser.
    virtual const CScnColor* getColor() const = 0;
    // Copies the colour; null changes nothing.
    virtual void setColor(const CScnColor* color) = 0;
    // kScnColorAutomatic or kScnColorUser; a value without a label makes the heliodon's putInXML fail.
    virtual int32_t getSkyType() const = 0;
    virtual void setSkyType(int32_t type) = 0;
    // Whether the sky is also shown as the background.
    virtual bool isBackground() const = 0;
    virtual void setBackground(bool background) = 0;
    // Haze of the air.
    virtual double getPollution() const = 0;
    virtual void setPollution(double pollution) = 0;
    // Whether the mix colour tints the sky.
    virtual bool isMixColorFlag() const = 0;
    virtual void setMixColorFlag(bool on) = 0;
    // The colour mixed into the sky.
    virtual const CScnColor* getMixColor() const = 0;
    // Copies the colour; null changes nothing.
    virtual void setMixColor(const CScnColor* color) = 0;
    // Whether the factor is applied as a power.
    virtual bool isPowerFlag() const = 0;
    virtual void setPowerFlag(bool on) = 0;
    // Whether the sky colour overrides the computed one.
    virtual bool isSkyColorFlag() const = 0;
    virtual void setSkyColorFlag(bool on) = 0;
    virtual ~IScnSkylight() {}
};

// The cloud layers of a heliodon's sky; every setter stores what it is given.
class IScnClouds {
public:
    // Whether clouds are drawn.
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
    // Size and random seed of each cloud layer.
    virtual double getCumulusSize() const = 0;
    virtual void setCumulusSize(double size) = 0;
    virtual int32_t getCumulusSeed() const = 0;
    virtual void setCumulusSeed(int32_t seed) = 0;
    virtual double getCirrusSize() const = 0;
    virtual void setCirrusSize(double size) = 0;
    virtual int32_t getCirrusSeed() const = 0;
    virtual void setCirrusSeed(int32_t seed) = 0;
    virtual double getStratusSize() const = 0;
    virtual void setStratusSize(double size) = 0;
    virtual int32_t getStratusSeed() const = 0;
    virtual void setStratusSeed(int32_t seed) = 0;
    virtual double getCirrocumulusSize() const = 0;
    virtual void setCirrocumulusSize(double size) = 0;
    virtual int32_t getCirrocumulusSeed() const = 0;
    virtual void setCirrocumulusSeed(int32_t seed) = 0;
    // Whether the wind moves the clouds (animations).
    virtual bool isWindActive() const = 0;
    virtual void setWindActive(bool active) = 0;
    // Speed of the wind.
    virtual double getWindSpeed() const = 0;
    virtual void setWindSpeed(double speed) = 0;
    // Direction the wind blows to, in degrees.
    virtual double getWindDirection() const = 0;
    virtual void setWindDirection(double degrees) = 0;
    // Appends a "Clouds" element under parent and answers it; null after a report on failure.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads a "Clouds" element (or the first "Clouds" child of another element); false after a
    // report on failure.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnClouds() {}
};

// The fog of a heliodon's sky; every setter stores what it is given.
class IScnFog {
public:
    // Whether fog is drawn.
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
    // Colour of the fog.
    virtual const CScnColor* getColor() const = 0;
    // Copies the colour; null changes nothing.
    virtual void setColor(const CScnColor* color) = 0;
    // Thickness of the fog.
    virtual double getDensity() const = 0;
    virtual void setDensity(double density) = 0;
    // Distance from the eye at which the fog begins.
    virtual double getStartDistance() const = 0;
    virtual void setStartDistance(double distance) = 0;
    // Distance from the eye at which the fog is full.
    virtual double getEndDistance() const = 0;
    virtual void setEndDistance(double distance) = 0;
    // Height of the fog layer.
    virtual double getAltitude() const = 0;
    virtual void setAltitude(double altitude) = 0;
    // Appends a "Fog" element under parent and answers it; null after a report on failure.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads a "Fog" element (or the first "Fog" child of another element); false after a report on
    // failure.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnFog() {}
};

// A named sun setting: place, date, how the sun is placed, its strength, shadows and colours, and
// the sky, clouds and fog that go with it.
class CScnHeliodon {
public:
    // Whether the sun lights the scene.
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
    // The date and time that place the sun, owned by the heliodon.
    virtual CScnTime* getTime() = 0;
    virtual const CScnTime* getTime() const = 0;
    // The place on Earth that places the sun, owned by the heliodon.
    virtual CScnPlace* getPlace() = 0;
    virtual const CScnPlace* getPlace() const = 0;
    // Strength of the sun.
    virtual double getSunshine() const = 0;
    virtual void setSunshine(double sunshine) = 0;
    // Angle of the scene's north in degrees.
    virtual double getNorthAngle() const = 0;
    virtual void setNorthAngle(double degrees) = 0;
    // Whether the sun casts shadows.
    virtual bool isShadow() const = 0;
    virtual void setShadow(bool shadow) = 0;
    // Darkness of the shadows.
    virtual double getShadowPower() const = 0;
    virtual void setShadowPower(double power) = 0;
    // Blur of the shadow edges, 0 to 100.
    virtual int32_t getShadowBlur() const = 0;
    // Stores the blur clamped into 0 to 100 and answers it; a clamp is reported inside a scene.
    virtual int32_t setShadowBlur(int32_t blur) = 0;
    // Whether the sun takes part in global illumination.
    virtual bool isGlobalIllumination() const = 0;
    virtual void setGlobalIllumination(bool on) = 0;
    // Strength of the sun's global illumination.
    virtual double getGlobalIlluminationPower() const = 0;
    virtual void setGlobalIlluminationPower(double power) = 0;
    // Sampling quality of the sun's global illumination.
    virtual int32_t getGlobalIlluminationQuality() const = 0;
    virtual void setGlobalIlluminationQuality(int32_t quality) = 0;
    // Appends a "Heliodon" element under parent and answers it; null after a report on failure.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads a "Heliodon" element (or the first "Heliodon" child of another element); false after a
    // report on failure, the fields read before the failure keeping their new values.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    // The heliodon's name, by which views refer to it; never null.
    virtual const char* getName() const = 0;
    // Copies the name; null changes nothing.
    virtual void setName(const char* name) = 0;
    // The sun's lens flare, owned by the heliodon.
    virtual IScnLensFlare* getLensFlare() = 0;
    virtual const IScnLensFlare* getLensFlare() const = 0;
    // Whether the sun colours are used.
    virtual bool isColored() const = 0;
    virtual void setColored(bool colored) = 0;
    // Sun colour 0 to 4; another index is reported and answers the all-zero colour.
    virtual CScnColor getColor(int32_t index) const = 0;
    // Sets sun colour 0 to 4; another index is reported and changes nothing.
    virtual void setColor(int32_t index, CScnColor color) = 0;
    // Whether the sun contributes to the radiosity solution.
    virtual bool isRadiosity() const = 0;
    virtual void setRadiosity(bool on) = 0;
    // The sky light, owned by the heliodon.
    virtual IScnSkylight* getSkylight() = 0;
    virtual const IScnSkylight* getSkylight() const = 0;
    // The heliodon's identity, fresh at creation.
    virtual const CScnUUID* getUUID() const = 0;
    // Copies the identifier; null changes nothing.
    virtual void setUUID(const CScnUUID* uuid) = 0;
    // kScnSunManual, kScnSun45Degree or kScnSunDateAndPlace; a value without a label makes putInXML
    // fail.
    virtual int32_t getPlacementKind() const = 0;
    virtual void setPlacementKind(int32_t kind) = 0;
    // kScnColorAutomatic or kScnColorUser; a value without a label makes putInXML fail.
    virtual int32_t getColorType() const = 0;
    virtual void setColorType(int32_t type) = 0;
    // The sun colour proper: sun colour 2.
    virtual CScnColor getSunColor() const = 0;
    virtual void setSunColor(CScnColor color) = 0;
    // Sun direction angle used by manual placement.
    virtual double getTheta() const = 0;
    virtual void setTheta(double theta) = 0;
    // Sun elevation angle used by manual placement; the setter moves values strictly between -0.001
    // and 0.001 out to -0.001 (negative) or 0.001.
    virtual double getPhi() const = 0;
    virtual void setPhi(double phi) = 0;
    // The cloud layers, owned by the heliodon.
    virtual IScnClouds* getClouds() = 0;
    virtual const IScnClouds* getClouds() const = 0;
    // Share of the sky covered by clouds.
    virtual double getCloudCoverage() const = 0;
    virtual void setCloudCoverage(double coverage) = 0;
    // Whether the clouds hide the sun.
    virtual bool isCloudMaskSun() const = 0;
    virtual void setCloudMaskSun(bool mask) = 0;
    // The fog, owned by the heliodon.
    virtual IScnFog* getFog() = 0;
    virtual const IScnFog* getFog() const = 0;
    // Whether the sunshine is applied as a power.
    virtual bool isSunPowerFlag() const = 0;
    virtual void setSunPowerFlag(bool on) = 0;
    // Destroys the owned time, place, lens flare, sky light, clouds and fog with the heliodon.
    virtual ~CScnHeliodon() {}
};

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
