// Heliodons with their place, time, sky light, clouds and fog, and their field lists.
#ifndef SCN_MODEL_HELIODON_H
#define SCN_MODEL_HELIODON_H

#include <cstdint>
#include <string>

#include "ScnHeliodon.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/Lights.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Uuid.h"

namespace NvScn {

// Label tables of the heliodon kinds, as the document writes them.
extern const LabelTable kPlacementKinds;
extern const LabelTable kSunColorTypes;
extern const LabelTable kSkyTypes;

// The sun colours of a new heliodon, by index.
inline constexpr CScnColor kDefaultSunColors[kScnSunColorCount] = {
    {0, 200, 182, 90}, {0, 230, 230, 225}, {0, 255, 255, 190}, {0, 222, 222, 130}, {0, 212, 135, 80}};

// A date and time; holds the machine's local date and time when made.
class CTime : public TScnFrontier<CScnTime>, public CScnObject {
public:
    explicit CTime(CBaseObjectMgr* owner = nullptr);

    // CScnTime
    int32_t getMonth() const override { return mMonth; }
    void setMonth(int32_t month) override { mMonth = month < 1 ? 1 : month; }
    int32_t getDay() const override { return mDay; }
    void setDay(int32_t day) override { mDay = day < 1 ? 1 : day; }
    int32_t getHour() const override { return mHour; }
    void setHour(int32_t hour) override { mHour = hour < 0 ? 0 : hour; }
    int32_t getMinute() const override { return mMinute; }
    void setMinute(int32_t minute) override { mMinute = minute < 0 ? 0 : minute; }
    int32_t getYear() const override { return mYear; }
    void setYear(int32_t year) override { mYear = year; }

private:
    int32_t mDay = 1;
    int32_t mMonth = 1;
    int32_t mHour = 0;
    int32_t mMinute = 0;
    int32_t mYear = 0;
};

// A place on Earth; all zero when made.
class CPlace : public TScnFrontier<CScnPlace>, public CScnObject {
public:
    explicit CPlace(CBaseObjectMgr* owner = nullptr) : CScnObject(owner) {}

    // CScnPlace
    int32_t getLongitude() const override { return mLongitude; }
    void setLongitude(int32_t longitude) override { mLongitude = longitude; }
    int32_t getLatitude() const override { return mLatitude; }
    void setLatitude(int32_t latitude) override { mLatitude = latitude; }
    int32_t getTimeZone() const override { return mTimeZone; }
    void setTimeZone(int32_t minutes) override { mTimeZone = minutes; }
    bool isDaylight() const override { return mDaylight; }
    void setDaylight(bool daylight) override { mDaylight = daylight; }

private:
    int32_t mLongitude = 0;
    int32_t mLatitude = 0;
    int32_t mTimeZone = 0;
    bool mDaylight = false;
};

// The sky light of a heliodon.
class CSkylight : public TScnFrontier<IScnSkylight>, public CScnObject {
public:
    explicit CSkylight(CBaseObjectMgr* owner);

    // IScnSkylight
    bool isUsed() const override { return mUsed; }
    void setUsed(bool used) override { mUsed = used; }
    double getFactor() const override { return mFactor; }
    void setFactor(double factor) override { mFactor = factor; }
    const CScnColor* getColor() const override { return &mColor; }
    void setColor(const CScnColor* color) override { storeIfGiven(mColor, color); }
    int32_t getSkyType() const override { return mSkyType; }
    void setSkyType(int32_t type) override { mSkyType = type; }
    bool isBackground() const override { return mBackground; }
    void setBackground(bool background) override { mBackground = background; }
    double getPollution() const override { return mPollution; }
    void setPollution(double pollution) override { mPollution = pollution; }
    bool isMixColorFlag() const override { return mMixColorFlag; }
    void setMixColorFlag(bool on) override { mMixColorFlag = on; }
    const CScnColor* getMixColor() const override { return &mMixColor; }
    void setMixColor(const CScnColor* color) override { storeIfGiven(mMixColor, color); }
    bool isPowerFlag() const override { return mPowerFlag; }
    void setPowerFlag(bool on) override { mPowerFlag = on; }
    bool isSkyColorFlag() const override { return mSkyColorFlag; }
    void setSkyColorFlag(bool on) override { mSkyColorFlag = on; }

    // The fields of the "Sky.Light" element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Used", mUsed, false);
        v.real("Factor", mFactor, 0.5);
        v.color("Color", mColor, CScnColor{0, 255, 255, 255});
        v.label("Sky.Type", mSkyType, kSkyTypes, kScnColorAutomatic);
        v.flag("Background", mBackground, false);
        v.real("Pollution", mPollution, 0.2);
        v.flag("Sky.Mix.Color.Flag", mMixColorFlag, false);
        v.color("Sky.Mix.Color", mMixColor, CScnColor{0, 255, 255, 255});
        v.flag("Power.Flag", mPowerFlag, false);
        v.flag("Sky.Color.Flag", mSkyColorFlag, false);
    }

private:
    bool mUsed;
    double mFactor;
    CScnColor mColor;
    int32_t mSkyType;
    bool mBackground;
    double mPollution;
    bool mMixColorFlag;
    CScnColor mMixColor;
    bool mPowerFlag;
    bool mSkyColorFlag;
};

// The cloud layers of a heliodon; reports go to the scene of the heliodon's list.
class CScnClouds : public TScnFrontier<IScnClouds>, public CScnObject {
public:
    static constexpr const char* kElementName = "Clouds";

    explicit CScnClouds(CBaseObjectMgr* owner);

    // IScnClouds
    bool isActive() const override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    double getCumulusSize() const override { return mCumulusSize; }
    void setCumulusSize(double size) override { mCumulusSize = size; }
    int32_t getCumulusSeed() const override { return mCumulusSeed; }
    void setCumulusSeed(int32_t seed) override { mCumulusSeed = seed; }
    double getCirrusSize() const override { return mCirrusSize; }
    void setCirrusSize(double size) override { mCirrusSize = size; }
    int32_t getCirrusSeed() const override { return mCirrusSeed; }
    void setCirrusSeed(int32_t seed) override { mCirrusSeed = seed; }
    double getStratusSize() const override { return mStratusSize; }
    void setStratusSize(double size) override { mStratusSize = size; }
    int32_t getStratusSeed() const override { return mStratusSeed; }
    void setStratusSeed(int32_t seed) override { mStratusSeed = seed; }
    double getCirrocumulusSize() const override { return mCirrocumulusSize; }
    void setCirrocumulusSize(double size) override { mCirrocumulusSize = size; }
    int32_t getCirrocumulusSeed() const override { return mCirrocumulusSeed; }
    void setCirrocumulusSeed(int32_t seed) override { mCirrocumulusSeed = seed; }
    bool isWindActive() const override { return mWindActive; }
    void setWindActive(bool active) override { mWindActive = active; }
    double getWindSpeed() const override { return mWindSpeed; }
    void setWindSpeed(double speed) override { mWindSpeed = speed; }
    double getWindDirection() const override { return mWindDirection; }
    void setWindDirection(double degrees) override { mWindDirection = degrees; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, false);
        v.real("Cumulus.Size", mCumulusSize, 0.6);
        v.integer("Cumulus.Seed", mCumulusSeed, 0);
        v.real("Cirrus.Size", mCirrusSize, 0.2);
        v.integer("Cirrus.Seed", mCirrusSeed, 0);
        v.real("Stratus.Size", mStratusSize, 0.4);
        v.integer("Stratus.Seed", mStratusSeed, 0);
        v.real("Cirrocumulus.Size", mCirrocumulusSize, 0.5);
        v.integer("Cirrocumulus.Seed", mCirrocumulusSeed, 0);
        v.flag("Active.Wind", mWindActive, false);
        v.real("Wind.Speed", mWindSpeed, 20.0);
        v.real("Wind.Direction", mWindDirection, 0.0);
    }

private:
    bool mActive;
    double mCumulusSize;
    int32_t mCumulusSeed;
    double mCirrusSize;
    int32_t mCirrusSeed;
    double mStratusSize;
    int32_t mStratusSeed;
    double mCirrocumulusSize;
    int32_t mCirrocumulusSeed;
    bool mWindActive;
    double mWindSpeed;
    double mWindDirection;
};

// The fog of a heliodon; reports go to the scene of the heliodon's list.
class CScnFog : public TScnFrontier<IScnFog>, public CScnObject {
public:
    static constexpr const char* kElementName = "Fog";

    explicit CScnFog(CBaseObjectMgr* owner);

    // IScnFog
    bool isActive() const override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    const CScnColor* getColor() const override { return &mColor; }
    void setColor(const CScnColor* color) override { storeIfGiven(mColor, color); }
    double getDensity() const override { return mDensity; }
    void setDensity(double density) override { mDensity = density; }
    double getStartDistance() const override { return mStartDistance; }
    void setStartDistance(double distance) override { mStartDistance = distance; }
    double getEndDistance() const override { return mEndDistance; }
    void setEndDistance(double distance) override { mEndDistance = distance; }
    double getAltitude() const override { return mAltitude; }
    void setAltitude(double altitude) override { mAltitude = altitude; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, false);
        v.color("Color", mColor, CScnColor{0, 221, 221, 221});
        v.real("Density", mDensity, 0.5);
        v.real("Start.Distance", mStartDistance, 50.0);
        v.real("End.Distance", mEndDistance, 2500.0);
        v.real("Altitude", mAltitude, 300.0);
    }

private:
    bool mActive;
    CScnColor mColor;
    double mDensity;
    double mStartDistance;
    double mEndDistance;
    double mAltitude;
};

// The range rule of CScnHeliodon::setPhi, applied to read values as well.
double phiRule(double phi);

// A heliodon of the scene's heliodon list.
class CHeliodon : public TScnFrontier<CScnHeliodon>, public CScnObject {
public:
    static constexpr const char* kElementName = "Heliodon";

    // owner: the heliodon list, or null for a free heliodon (no reports).
    explicit CHeliodon(CBaseObjectMgr* owner);

    // CScnHeliodon
    bool isActive() const override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    CScnTime* getTime() override { return &mTime; }
    const CScnTime* getTime() const override { return &mTime; }
    CScnPlace* getPlace() override { return &mPlace; }
    const CScnPlace* getPlace() const override { return &mPlace; }
    double getSunshine() const override { return mSunshine; }
    void setSunshine(double sunshine) override { mSunshine = sunshine; }
    double getNorthAngle() const override { return mNorthAngle; }
    void setNorthAngle(double degrees) override { mNorthAngle = degrees; }
    bool isShadow() const override { return mShadow; }
    void setShadow(bool shadow) override { mShadow = shadow; }
    double getShadowPower() const override { return mShadowPower; }
    void setShadowPower(double power) override { mShadowPower = power; }
    int32_t getShadowBlur() const override { return mShadowBlur; }
    int32_t setShadowBlur(int32_t blur) override;
    bool isGlobalIllumination() const override { return mGlobalIllumination; }
    void setGlobalIllumination(bool on) override { mGlobalIllumination = on; }
    double getGlobalIlluminationPower() const override { return mGlobalIlluminationPower; }
    void setGlobalIlluminationPower(double power) override { mGlobalIlluminationPower = power; }
    int32_t getGlobalIlluminationQuality() const override { return mGlobalIlluminationQuality; }
    void setGlobalIlluminationQuality(int32_t quality) override { mGlobalIlluminationQuality = quality; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeTextIfGiven(mName, name); }
    IScnLensFlare* getLensFlare() override { return &mLensFlare; }
    const IScnLensFlare* getLensFlare() const override { return &mLensFlare; }
    bool isColored() const override { return mColored; }
    void setColored(bool colored) override { mColored = colored; }
    CScnColor getColor(int32_t index) const override;
    void setColor(int32_t index, CScnColor color) override;
    bool isRadiosity() const override { return mRadiosity; }
    void setRadiosity(bool on) override { mRadiosity = on; }
    IScnSkylight* getSkylight() override { return &mSkylight; }
    const IScnSkylight* getSkylight() const override { return &mSkylight; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    int32_t getPlacementKind() const override { return mPlacementKind; }
    void setPlacementKind(int32_t kind) override { mPlacementKind = kind; }
    int32_t getColorType() const override { return mColorType; }
    void setColorType(int32_t type) override { mColorType = type; }
    CScnColor getSunColor() const override { return mColors[2]; }
    void setSunColor(CScnColor color) override { mColors[2] = color; }
    double getTheta() const override { return mTheta; }
    void setTheta(double theta) override { mTheta = theta; }
    double getPhi() const override { return mPhi; }
    void setPhi(double phi) override { mPhi = phiRule(phi); }
    IScnClouds* getClouds() override { return &mClouds; }
    const IScnClouds* getClouds() const override { return &mClouds; }
    double getCloudCoverage() const override { return mCloudCoverage; }
    void setCloudCoverage(double coverage) override { mCloudCoverage = coverage; }
    bool isCloudMaskSun() const override { return mCloudMaskSun; }
    void setCloudMaskSun(bool mask) override { mCloudMaskSun = mask; }
    IScnFog* getFog() override { return &mFog; }
    const IScnFog* getFog() const override { return &mFog; }
    bool isSunPowerFlag() const override { return mSunPowerFlag; }
    void setSunPowerFlag(bool on) override { mSunPowerFlag = on; }

    // The fields of its element, in document order. A new heliodon takes part in
    // radiosity, like a new light.
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, true);
        v.date("Time", mTime);
        v.place("Place", mPlace);
        v.real("Sunshine", mSunshine, 0.5);
        v.real("North.Angle", mNorthAngle, 0.0);
        v.real("Theta", mTheta, 0.0, kOptional);
        v.real("Phi", mPhi, 0.785398, kOptional, &phiRule);
        v.flag("Shadow", mShadow, false);
        v.real("Shadow.Power", mShadowPower, 0.8);
        v.integer("Sun.Blur", mShadowBlur, 0, [this](int32_t blur) { return blurRule(blur); });
        v.flag("Global.Illumination", mGlobalIllumination, false);
        v.real("Global.Illumination.Power", mGlobalIlluminationPower, 0.5);
        v.integer("Global.Illumination.Quality", mGlobalIlluminationQuality, 0);
        v.text("Name", mName, "", kOptional);
        v.object("Lens.Flare", mLensFlare);
        v.flag("Colored", mColored, false);
        v.colorArray("Colors", "Sun.Color", mColors, kDefaultSunColors);
        v.flag("Sun.PowerFlag", mSunPowerFlag, false, kOptional);
        v.flag("Radiosity", mRadiosity, true);
        v.real("Cloud.Coverage", mCloudCoverage, 0.5, kOptional);
        v.flag("Cloud.Mask.Sun", mCloudMaskSun, false);
        v.object("Sky.Light", mSkylight, kOptional);
        v.object("Clouds", mClouds, kOptional);
        v.object("Fog", mFog, kOptional);
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.label("Placement.Kind", mPlacementKind, kPlacementKinds, kScnSunDateAndPlace);
        v.label("Color.Type", mColorType, kSunColorTypes, kScnColorAutomatic);
    }

private:
    // The blur clamped into 0 to 100; a clamp is reported inside a scene.
    int32_t blurRule(int32_t blur) const;
    // Whether index names a sun colour; a bad one is reported with message.
    bool checkColorIndex(int32_t index, const char* message) const;

    bool mActive;
    CTime mTime;
    CPlace mPlace;
    double mSunshine;
    double mNorthAngle;
    double mTheta;
    double mPhi;
    bool mShadow;
    double mShadowPower;
    int32_t mShadowBlur;
    bool mGlobalIllumination;
    double mGlobalIlluminationPower;
    int32_t mGlobalIlluminationQuality;
    std::string mName;
    CScnLensFlare mLensFlare;
    bool mColored;
    CScnColor mColors[kScnSunColorCount];
    bool mSunPowerFlag;
    bool mRadiosity;
    double mCloudCoverage;
    bool mCloudMaskSun;
    CSkylight mSkylight;
    CScnClouds mClouds;
    CScnFog mFog;
    CScnUUID mUUID;
    int32_t mPlacementKind;
    int32_t mColorType;
};

}  // namespace NvScn

#endif
