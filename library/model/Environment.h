// What surrounds the model: ambient light, atmosphere, background, grounds, environments with their
// pictures, textures, and the post-render filters of a view.
#ifndef SCN_ENVIRONMENT_IMPL_H
#define SCN_ENVIRONMENT_IMPL_H

#include <string>

#include "ScnEnvironment.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/Heliodon.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Stubs.h"

namespace NvScn {

extern const LabelTable kBackgroundImageLabels;
extern const LabelTable kBackgroundColorLabels;
extern const LabelTable kBackgroundPictureLabels;

// The scene's ambient light; the colour is held as each file value minus 128.
class CAmbiance : public TScnFrontier<CScnAmbient>, public CScnObject {
public:
    static constexpr const char* kElementName = "Ambient";

    explicit CAmbiance(CBaseObjectMgr* owner);

    bool isUsed() override { return mUsed; }
    void setUsed(bool used) override { mUsed = used; }
    const CScnColor* getColor() override { return &mColor; }
    void setColor(const CScnColor* color) override { storeIfGiven(mColor, color); }
    bool isUseDefault() override { return mUseDefault; }
    void setUseDefault(bool useDefault) override { mUseDefault = useDefault; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Used", mUsed, true);
        v.color("Color", mColor, CScnColor{0, 0, 0, 0}, kStoredMinus128);
        v.flag("Use.Default", mUseDefault, true);
    }

private:
    bool mUsed;
    CScnColor mColor;
    bool mUseDefault;
};

// The scene's atmosphere; inside a scene densities stay within 0 to 1, scale and noise not below 0.
class CAtmosphere : public TScnFrontier<CScnAtmosphere>, public CScnObject {
public:
    static constexpr const char* kElementName = "Atmosphere";

    explicit CAtmosphere(CBaseObjectMgr* owner);

    bool isUsed() override { return mUsed; }
    void setUsed(bool used) override { mUsed = used; }
    const CScnColor* getColor() override { return &mColor; }
    void setColor(const CScnColor* color) override { storeIfGiven(mColor, color); }
    double getHighDensity() override { return mHighDensity; }
    void setHighDensity(double density) override { mHighDensity = clipHigh(density); }
    double getMediumDensity() override { return mMediumDensity; }
    void setMediumDensity(double density) override { mMediumDensity = clipMedium(density); }
    double getLowDensity() override { return mLowDensity; }
    void setLowDensity(double density) override { mLowDensity = clipLow(density); }
    double getScale() override { return mScale; }
    void setScale(double scale) override { mScale = clipScale(scale); }
    double getMinDistance() override { return mMinDistance; }
    void setMinDistance(double distance) override { mMinDistance = distance; }
    double getMaxDistance() override { return mMaxDistance; }
    void setMaxDistance(double distance) override { mMaxDistance = distance; }
    double getNoise() override { return mNoise; }
    void setNoise(double noise) override { mNoise = clipNoise(noise); }
    bool isUseDefault() override { return mUseDefault; }
    void setUseDefault(bool useDefault) override { mUseDefault = useDefault; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Used", mUsed, false);
        v.color("Color", mColor, CScnColor{0, 221, 221, 221});
        v.real("Density.High", mHighDensity, 0.6, [this](double d) { return clipHigh(d); });
        v.real("Density.Medium", mMediumDensity, 0.6, [this](double d) { return clipMedium(d); });
        v.real("Density.Low", mLowDensity, 0.6, [this](double d) { return clipLow(d); });
        v.real("Scale", mScale, 2.0, [this](double s) { return clipScale(s); });
        v.real("Distance.Minimum", mMinDistance, 0.0);
        v.real("Distance.Maximum", mMaxDistance, 0.0);
        v.real("Noise", mNoise, 0.0, [this](double n) { return clipNoise(n); });
        v.flag("Use.Default", mUseDefault, true);
    }

private:
    double clipHigh(double density) const;
    double clipMedium(double density) const;
    double clipLow(double density) const;
    double clipScale(double scale) const;
    double clipNoise(double noise) const;

    bool mUsed;
    CScnColor mColor;
    double mHighDensity;
    double mMediumDensity;
    double mLowDensity;
    double mScale;
    double mMinDistance;
    double mMaxDistance;
    double mNoise;
    bool mUseDefault;
};

// The scene's background. Its picture location, which older writers dropped, is kept in an
// optional "URL" child.
class CBackground : public TScnFrontier<CScnBackground>, public CScnObject {
public:
    static constexpr const char* kElementName = "Background";
    // The older name that reading accepts and writing replaces.
    static constexpr const char* kOlderElementName = "Backgroung";

    explicit CBackground(CBaseObjectMgr* owner);

    int32_t getImageType() override { return mImageType; }
    void setImageType(int32_t type) override { mImageType = type; }
    int32_t getColorType() override { return mColorType; }
    void setColorType(int32_t type) override { mColorType = type; }
    const CScnColor* getColor() override { return &mColor; }
    void setColor(const CScnColor* color) override { storeIfGiven(mColor, color); }
    const CScnColor* getSecondColor() override { return &mSecondColor; }
    void setSecondColor(const CScnColor* color) override { storeIfGiven(mSecondColor, color); }
    const CScnVector* getUpDirection() override { return &mUpDirection; }
    void setUpDirection(const CScnVector* direction) override { storeIfGiven(mUpDirection, direction); }
    double getLinePower() override { return mLinePower; }
    void setLinePower(double power) override { mLinePower = clipLinePower(power); }
    const char* getImage() override { return mImage.c_str(); }
    void setImage(const char* location) override { storeText(mImage, location); }
    bool isUseDefault() override { return mUseDefault; }
    void setUseDefault(bool useDefault) override { mUseDefault = useDefault; }
    double getDirectionAngle() override { return mDirectionAngle; }
    void setDirectionAngle(double angle) override { mDirectionAngle = angle; }
    const CScnVector* getOrigin() override { return &mOrigin; }
    void setOrigin(const CScnVector* origin) override { storeIfGiven(mOrigin, origin); }
    const CScnUUID* getUUID() override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.label("Image.Type", mImageType, kBackgroundImageLabels, 0);
        v.label("Color.Type", mColorType, kBackgroundColorLabels, 2);
        v.color("Color", mColor, CScnColor{0, 255, 255, 255});
        v.color("Second.Color", mSecondColor, CScnColor{0, 0, 100, 255});
        v.vector("Up.Direction", mUpDirection, CScnVector{1.296153, 1.0, 0.0});
        v.real("Line.Power", mLinePower, 1.0, [this](double p) { return clipLinePower(p); });
        v.vector("Origin", mOrigin, CScnVector{0.0, 0.0, 0.0}, kOptional, AlternateName{"Origin.Obsolete"});
        v.flag("Use.Default", mUseDefault, true);
        v.real("Direction.Angle", mDirectionAngle, 0.0, kOptional);
        v.location("URL", mImage, "", kOptional, kOmitEmpty);
        v.identifier("UUID", mUUID, kNullUuid, kOptional, kFresh);
    }

private:
    double clipLinePower(double power) const;

    int32_t mImageType;
    int32_t mColorType;
    CScnColor mColor;
    CScnColor mSecondColor;
    CScnVector mUpDirection;
    double mLinePower;
    std::string mImage;
    bool mUseDefault;
    double mDirectionAngle;
    CScnVector mOrigin;
    CScnUUID mUUID;
};

// A ground plane; its material is written as the "Property" child, which reading requires.
class CScnGround : public TScnFrontier<IScnGround>, public CScnObject {
public:
    static constexpr const char* kElementName = "Ground";
    // The child that holds the ground's material.
    static constexpr const char* kPropertyElement = "Property";

    explicit CScnGround(CBaseObjectMgr* owner);

    bool isActive() override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    double getHeight() override { return mHeight; }
    void setHeight(double height) override { mHeight = height; }
    CScnProperty* getProperty() override { return &mProperty; }
    const CScnProperty* getProperty() const override { return &mProperty; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, true);
        v.real("Height", mHeight, 0.0);
    }

private:
    bool mActive;
    double mHeight;
    CProperty mProperty;
};

// The picture behind a view.
class CScnBackgroundPicture : public TScnFrontier<IScnBackgroundPicture>, public CScnObject {
public:
    static constexpr const char* kElementName = "Background.Picture";

    explicit CScnBackgroundPicture(CBaseObjectMgr* owner);

    int32_t getType() override { return mType; }
    void setType(int32_t type) override { mType = type; }
    const char* getURL() override { return mURL.c_str(); }
    void setURL(const char* url) override { storeText(mURL, url); }
    const CScnColor* getFirstColor() override { return &mFirstColor; }
    void setFirstColor(const CScnColor* color) override { storeIfGiven(mFirstColor, color); }
    const CScnColor* getSecondColor() override { return &mSecondColor; }
    void setSecondColor(const CScnColor* color) override { storeIfGiven(mSecondColor, color); }
    const CScnColor* getThirdColor() override { return &mThirdColor; }
    void setThirdColor(const CScnColor* color) override { storeIfGiven(mThirdColor, color); }
    bool is3D() override { return m3D; }
    void set3D(bool is3D) override { m3D = is3D; }
    double getHOffset() override { return mHOffset; }
    void setHOffset(double offset) override { mHOffset = offset; }
    double getVOffset() override { return mVOffset; }
    void setVOffset(double offset) override { mVOffset = offset; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.label("Type", mType, kBackgroundPictureLabels, 0);
        v.location("URL", mURL, "");
        v.color("First.Color", mFirstColor, CScnColor{0, 255, 255, 255});
        v.color("Second.Color", mSecondColor, CScnColor{0, 0, 100, 255});
        v.color("Third.Color", mThirdColor, CScnColor{0, 0, 0, 0});
        v.flag("3D", m3D, false);
        v.real("H.Offset", mHOffset, 0.0);
        v.real("V.Offset", mVOffset, 0.0);
    }

private:
    int32_t mType;
    std::string mURL;
    CScnColor mFirstColor;
    CScnColor mSecondColor;
    CScnColor mThirdColor;
    bool m3D;
    double mHOffset;
    double mVOffset;
};

// A picture laid over a view ("Foregroung" in the document).
class CScnForeground : public TScnFrontier<IScnForeground>, public CScnObject {
public:
    static constexpr const char* kElementName = "Foregroung";

    explicit CScnForeground(CBaseObjectMgr* owner);

    int32_t getPositionX() override { return mPositionX; }
    void setPositionX(int32_t x) override { mPositionX = x; }
    int32_t getPositionY() override { return mPositionY; }
    void setPositionY(int32_t y) override { mPositionY = y; }
    const CScnUUID* getUUID() override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.integer("Position.X", mPositionX, 0);
        v.integer("Position.Y", mPositionY, 0);
        v.identifier("UUID", mUUID, kNullUuid);
    }

private:
    int32_t mPositionX;
    int32_t mPositionY;
    CScnUUID mUUID;
};

// A picture placed on a plane. Each cut-out colour is written only when set; "CutSet" is a flag.
class CScnTexture : public TScnFrontier<IScnTexture>, public CScnObject {
public:
    static constexpr const char* kElementName = "Texture";

    explicit CScnTexture(CBaseObjectMgr* owner);

    const CScnVector* getOrigin() override { return &mOrigin; }
    void setOrigin(const CScnVector* origin) override { storeIfGiven(mOrigin, origin); }
    const CScnVector* getXAxis() override { return &mXAxis; }
    void setXAxis(const CScnVector* axis) override { storeIfGiven(mXAxis, axis); }
    const CScnVector* getYAxis() override { return &mYAxis; }
    void setYAxis(const CScnVector* axis) override { storeIfGiven(mYAxis, axis); }
    double getWidth() override { return mWidth; }
    void setWidth(double width) override { mWidth = width; }
    double getHeight() override { return mHeight; }
    void setHeight(double height) override { mHeight = height; }
    const CScnColor* getCutOut1() override { return mHasCutOut1 ? &mCutOut1 : nullptr; }
    void setCutOut1(const CScnColor* color) override { setCutOut(mHasCutOut1, mCutOut1, color); }
    const CScnColor* getCutOut2() override { return mHasCutOut2 ? &mCutOut2 : nullptr; }
    void setCutOut2(const CScnColor* color) override { setCutOut(mHasCutOut2, mCutOut2, color); }
    bool isCutSet() override { return mCutSet; }
    void setCutSet(bool cutSet) override { mCutSet = cutSet; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.vector("Origin", mOrigin, CScnVector{0.0, 0.0, 0.0});
        v.vector("X.Axis", mXAxis, CScnVector{1.0, 0.0, 0.0});
        v.vector("Y.Axis", mYAxis, CScnVector{0.0, 1.0, 0.0});
        v.real("Width", mWidth, 100.0);
        v.real("Height", mHeight, 100.0);
        v.presentColor("CutOut1", mHasCutOut1, mCutOut1, CScnColor{0, 0, 0, 0});
        v.presentColor("CutOut2", mHasCutOut2, mCutOut2, CScnColor{0, 0, 0, 0});
        v.flag("CutSet", mCutSet, false);
    }

private:
    static void setCutOut(bool& present, CScnColor& cutOut, const CScnColor* color);

    CScnVector mOrigin;
    CScnVector mXAxis;
    CScnVector mYAxis;
    double mWidth;
    double mHeight;
    bool mHasCutOut1;
    CScnColor mCutOut1;
    bool mHasCutOut2;
    CScnColor mCutOut2;
    bool mCutSet;
};

// Brightness, contrast, saturation and mix colour of a rendered view.
class CScnImageSettingsFilter : public TScnFrontier<IScnImageSettingsFilter>, public CScnObject {
public:
    static constexpr const char* kElementName = "Image.Settings.Filter";

    explicit CScnImageSettingsFilter(CBaseObjectMgr* owner);

    bool isActive() override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    bool isUseMixColor() override { return mUseMixColor; }
    void setUseMixColor(bool use) override { mUseMixColor = use; }
    double getBrightness() override { return mBrightness; }
    void setBrightness(double brightness) override { mBrightness = brightness; }
    double getContrast() override { return mContrast; }
    void setContrast(double contrast) override { mContrast = contrast; }
    double getSaturation() override { return mSaturation; }
    void setSaturation(double saturation) override { mSaturation = saturation; }
    const CScnColor* getMixColor() override { return &mMixColor; }
    void setMixColor(const CScnColor* color) override { storeIfGiven(mMixColor, color); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, false);
        v.flag("Use.Mix.Color", mUseMixColor, false);
        v.real("Brightness", mBrightness, 0.0);
        v.real("Contrast", mContrast, 0.0);
        v.real("Saturation", mSaturation, 0.0);
        v.color("Mix.Color", mMixColor, CScnColor{0, 255, 255, 255});
    }

private:
    bool mActive;
    bool mUseMixColor;
    double mBrightness;
    double mContrast;
    double mSaturation;
    CScnColor mMixColor;
};

// Film grain of a rendered view.
class CScnGrainFilter : public TScnFrontier<IScnGrainFilter>, public CScnObject {
public:
    static constexpr const char* kElementName = "Grain.Filter";

    explicit CScnGrainFilter(CBaseObjectMgr* owner);

    bool isActive() override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    double getBrightness() override { return mBrightness; }
    void setBrightness(double brightness) override { mBrightness = brightness; }
    double getSize() override { return mSize; }
    void setSize(double size) override { mSize = size; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, false);
        v.real("Brightness", mBrightness, 0.0);
        v.real("Size", mSize, 1.0);
    }

private:
    bool mActive;
    double mBrightness;
    double mSize;
};

// Exposure correction of a rendered view.
class CScnExposureFilter : public TScnFrontier<IScnExposureFilter>, public CScnObject {
public:
    static constexpr const char* kElementName = "Exposure.Filter";

    explicit CScnExposureFilter(CBaseObjectMgr* owner);

    bool isActive() override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    double getExposure() override { return mExposure; }
    void setExposure(double exposure) override { mExposure = exposure; }
    double getSize() override { return mSize; }
    void setSize(double size) override { mSize = size; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, false);
        v.real("Exposure", mExposure, 0.0);
        v.real("Size", mSize, 1.0);
    }

private:
    bool mActive;
    double mExposure;
    double mSize;
};

// Hatching look of a rendered view.
class CScnHatchingFilter : public TScnFrontier<IScnHatchingFilter>, public CScnObject {
public:
    static constexpr const char* kElementName = "Hatching.Filter";

    explicit CScnHatchingFilter(CBaseObjectMgr* owner);

    bool isActive() override { return mActive; }
    void setActive(bool active) override { mActive = active; }
    bool isUseTransparency() override { return mUseTransparency; }
    void setUseTransparency(bool use) override { mUseTransparency = use; }
    double getIntensityThreshold() override { return mIntensityThreshold; }
    void setIntensityThreshold(double threshold) override { mIntensityThreshold = threshold; }
    double getContourThreshold() override { return mContourThreshold; }
    void setContourThreshold(double threshold) override { mContourThreshold = threshold; }
    double getTransparency() override { return mTransparency; }
    void setTransparency(double transparency) override { mTransparency = transparency; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Active", mActive, false);
        v.flag("Use.Transparency", mUseTransparency, false);
        v.real("Intensity.Threshold", mIntensityThreshold, 0.5);
        v.real("Contour.Threshold", mContourThreshold, 0.5);
        v.real("Transparency", mTransparency, 0.0);
    }

private:
    bool mActive;
    bool mUseTransparency;
    double mIntensityThreshold;
    double mContourThreshold;
    double mTransparency;
};

// The four post-render filters of a view.
class CScnFilters : public TScnFrontier<IScnFilters>, public CScnObject {
public:
    static constexpr const char* kElementName = "Filters";

    explicit CScnFilters(CBaseObjectMgr* owner);

    IScnImageSettingsFilter* getImageSettingsFilter() override { return &mImageSettings; }
    const IScnImageSettingsFilter* getImageSettingsFilter() const override { return &mImageSettings; }
    IScnGrainFilter* getGrainFilter() override { return &mGrain; }
    const IScnGrainFilter* getGrainFilter() const override { return &mGrain; }
    IScnExposureFilter* getExposureFilter() override { return &mExposure; }
    const IScnExposureFilter* getExposureFilter() const override { return &mExposure; }
    IScnHatchingFilter* getHatchingFilter() override { return &mHatching; }
    const IScnHatchingFilter* getHatchingFilter() const override { return &mHatching; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.object("Image.Settings.Filter", mImageSettings);
        v.object("Grain.Filter", mGrain);
        v.object("Exposure.Filter", mExposure);
        v.object("Hatching.Filter", mHatching);
    }

private:
    CScnImageSettingsFilter mImageSettings;
    CScnGrainFilter mGrain;
    CScnExposureFilter mExposure;
    CScnHatchingFilter mHatching;
};

// An environment of the scene, named by views through its identifier.
class CScnEnvironment : public TScnFrontier<IScnEnvironment>, public CScnObject {
public:
    static constexpr const char* kElementName = "Environment";

    explicit CScnEnvironment(CBaseObjectMgr* owner);

    const CScnUUID* getUUID() override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    IScnFog* getFog() override { return &mFog; }
    const IScnFog* getFog() const override { return &mFog; }
    IScnClouds* getClouds() override { return &mClouds; }
    const IScnClouds* getClouds() const override { return &mClouds; }
    IScnBackgroundPicture* getBackgroundPicture() override { return &mBackgroundPicture; }
    const IScnBackgroundPicture* getBackgroundPicture() const override { return &mBackgroundPicture; }
    IScnForeground* getForeground() override { return &mForeground; }
    const IScnForeground* getForeground() const override { return &mForeground; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.text("Name", mName, "");
        v.object("Fog", mFog);
        v.object("Clouds", mClouds);
        v.object("Background.Picture", mBackgroundPicture);
        v.object("Foregroung", mForeground);
    }

private:
    CScnUUID mUUID;
    std::string mName;
    CScnFog mFog;
    CScnClouds mClouds;
    CScnBackgroundPicture mBackgroundPicture;
    CScnForeground mForeground;
};

}  // namespace NvScn

#endif
