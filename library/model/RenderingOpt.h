// Rendering, radiosity and compression options, and the view options that pair them per view kind.
#ifndef SCN_RENDERING_OPT_H
#define SCN_RENDERING_OPT_H

#include <string>

#include "ScnEnvironment.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/Messages.h"
#include "model/ScnFrontier.h"

namespace NvScn {

// Labels of the antialias levels and of the output types.
extern const LabelTable kAntialiasLabels;
extern const LabelTable kOutputTypeLabels;

// The element that holds the options of a view, of a view list or of the preview.
constexpr const char* kOptionsElementName = "Options";

// The default height of the rendering options of each view kind: 4:3 pictures 320 wide, square
// cube faces for the panoramas.
constexpr int32_t kDefaultRenderingHeight = 240;
constexpr int32_t kDefaultPanoramaHeight = 320;

// The radiosity switch, factor and quality; the setters clamp always and report inside a scene.
class CRadiosityControl : public TScnFrontier<IScnRadiosityControl>, public CScnObject {
public:
    explicit CRadiosityControl(CBaseObjectMgr* owner);

    bool isRadiosity() override { return mRadiosity; }
    void setRadiosity(bool radiosity) override { mRadiosity = radiosity; }
    double getRadiosityFactor() override { return mFactor; }
    void setRadiosityFactor(double factor) override { mFactor = clipFactor(factor); }
    double getRadiosityQuality() override { return mQuality; }
    void setRadiosityQuality(double quality) override { mQuality = clipQuality(quality); }

    // Written inside the rendering options' own element.
    template <class V>
    void visitFields(V& v)
    {
        v.flag("Radiosity", mRadiosity, true);
        v.real("Radiosity.Factor", mFactor, 1.0, kOptional, [this](double f) { return clipFactor(f); });
        v.real("Radiosity.Quality", mQuality, 4.0, kOptional, [this](double q) { return clipQuality(q); });
    }

private:
    double clipFactor(double factor) const;
    double clipQuality(double quality) const;

    bool mRadiosity;
    double mFactor;
    double mQuality;
};

// The compression of a movie, written as "Compression" inside "Options".
class CCompressionOpt : public TScnFrontier<CScnCompressionOpt>, public CScnObject {
public:
    static constexpr const char* kElementName = "Compression";

    explicit CCompressionOpt(CBaseObjectMgr* owner);

    uint32_t getCodec() override { return mCodec; }
    void setCodec(uint32_t codec) override { mCodec = codec; }
    int32_t getDepth() override { return mDepth; }
    void setDepth(int32_t depth) override { mDepth = depth; }
    int32_t getSpatialQuality() override { return mSpatialQuality; }
    void setSpatialQuality(int32_t quality) override { mSpatialQuality = quality; }
    int32_t getTemporalQuality() override { return mTemporalQuality; }
    void setTemporalQuality(int32_t quality) override { mTemporalQuality = quality; }
    double getFrameRate() override { return mFrameRate; }
    void setFrameRate(double rate) override { mFrameRate = rate; }
    int32_t getKeyFrameRate() override { return mKeyFrameRate; }
    void setKeyFrameRate(int32_t rate) override { mKeyFrameRate = rate; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* options) override;

    template <class V>
    void visitFields(V& v)
    {
        v.integer("Codec", mCodec, 0x72617720u);
        v.integer("Depth", mDepth, 0);
        v.integer("Spacial.Quality", mSpatialQuality, 512);
        v.integer("Temporal.Quality", mTemporalQuality, 0);
        v.real("Frame.Rate", mFrameRate, 0.0);
        v.integer("Key.Frame.Rate", mKeyFrameRate, 0);
    }

private:
    uint32_t mCodec;
    int32_t mDepth;
    int32_t mSpatialQuality;
    int32_t mTemporalQuality;
    double mFrameRate;
    int32_t mKeyFrameRate;
};

// The rendering options behind any of the rendering interfaces; the height's default is given by
// the variant that makes them.
template <class Iface>
class TRenderingOpt : public TScnFrontier<Iface>, public CScnObject {
public:
    static constexpr const char* kElementName = kOptionsElementName;
    // The element of the rendering part inside the options.
    static constexpr const char* kRenderingElementName = "Rendering";

    TRenderingOpt(CBaseObjectMgr* owner, int32_t defaultHeight);

    bool isRaytracing() override { return mRaytracing; }
    void setRaytracing(bool raytracing) override { mRaytracing = raytracing; }
    bool isShadow() override { return mShadow; }
    void setShadow(bool shadow) override { mShadow = shadow; }
    bool isTransparency() override { return mTransparency; }
    void setTransparency(bool transparency) override { mTransparency = transparency; }
    bool isAlpha() override { return mAlpha; }
    void setAlpha(bool alpha) override { mAlpha = alpha; }
    int32_t getNbReflection() override { return mNbReflection; }
    void setNbReflection(int32_t count) override { mNbReflection = clipCount(count, Msg::kClipNbReflection); }
    int32_t getNbRefraction() override { return mNbRefraction; }
    void setNbRefraction(int32_t count) override { mNbRefraction = clipCount(count, Msg::kClipNbRefraction); }
    int32_t getHeight() override { return mHeight; }
    void setHeight(int32_t height) override { mHeight = clipCount(height, Msg::kClipHeight); }
    int32_t getWidth() override { return mWidth; }
    void setWidth(int32_t width) override { mWidth = clipCount(width, Msg::kClipWidth); }
    const char* getURL() override { return mURL.c_str(); }
    void setURL(const char* url) override { mURL = url != nullptr ? url : ""; }
    int32_t getOutputType() override { return mOutputType; }
    void setOutputType(int32_t type) override { mOutputType = type; }
    int32_t getAntialias() override { return mAntialias; }
    void setAntialias(int32_t antialias) override { mAntialias = antialias; }
    bool isRenderAll() override { return mRenderAll; }
    void setRenderAll(bool all) override { mRenderAll = all; }
    int32_t getRenderFirst() override { return mRenderFirst; }
    void setRenderFirst(int32_t frame) override { mRenderFirst = clipCount(frame, Msg::kClipRenderFirst); }
    int32_t getRenderLast() override { return mRenderLast; }
    void setRenderLast(int32_t frame) override { mRenderLast = clipCount(frame, Msg::kClipRenderLast); }
    bool isUseViewOptions() override { return mUseViewOptions; }
    void setUseViewOptions(bool use) override { mUseViewOptions = use; }
    bool isPreviewAntialias() override { return mPreviewAntialias; }
    void setPreviewAntialias(bool antialias) override { mPreviewAntialias = antialias; }
    bool isHeightWidthLinked() override { return mHeightWidthLinked; }
    void setHeightWidthLinked(bool linked) override { mHeightWidthLinked = linked; }
    bool isScaleOn() override { return mScaleOn; }
    void setScaleOn(bool on) override { mScaleOn = on; }
    int32_t getParallelScale() override { return mParallelScale; }
    void setParallelScale(int32_t scale) override { mParallelScale = clipCount(scale, Msg::kClipParallelScale); }
    int32_t getImageResolution() override { return mImageResolution; }
    void setImageResolution(int32_t resolution) override
    {
        mImageResolution = clipCount(resolution, Msg::kClipImageResolution);
    }
    int32_t getPanoramaResolution() override { return mPanoramaResolution; }
    void setPanoramaResolution(int32_t level) override
    {
        mPanoramaResolution = clipCount(level, Msg::kClipPanoramaResolution);
    }
    bool isRadiosity() override { return mRadiosity.isRadiosity(); }
    void setRadiosity(bool radiosity) override { mRadiosity.setRadiosity(radiosity); }
    double getRadiosityFactor() override { return mRadiosity.getRadiosityFactor(); }
    void setRadiosityFactor(double factor) override { mRadiosity.setRadiosityFactor(factor); }
    double getRadiosityQuality() override { return mRadiosity.getRadiosityQuality(); }
    void setRadiosityQuality(double quality) override { mRadiosity.setRadiosityQuality(quality); }
    double getContrast() override { return mContrast; }
    void setContrast(double contrast) override { mContrast = clipContrast(contrast); }
    double getLuminosity() override { return mLuminosity; }
    void setLuminosity(double luminosity) override { mLuminosity = clipLuminosity(luminosity); }
    double getLongRange() override { return mLongRange; }
    void setLongRange(double range) override { mLongRange = range; }
    double getShortRange() override { return mShortRange; }
    void setShortRange(double range) override { mShortRange = range; }
    double getFirstBounce() override { return mFirstBounce; }
    void setFirstBounce(double bounce) override { mFirstBounce = bounce; }
    double getNextBounces() override { return mNextBounces; }
    void setNextBounces(double bounces) override { mNextBounces = bounces; }
    double getAttenuation() override { return mAttenuation; }
    void setAttenuation(double attenuation) override { mAttenuation = attenuation; }
    double getColorBleeding() override { return mColorBleeding; }
    void setColorBleeding(double bleeding) override { mColorBleeding = bleeding; }
    IScnRadiosityControl* getRadiosityControl() override { return &mRadiosity; }
    const IScnRadiosityControl* getRadiosityControl() const override { return &mRadiosity; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* options) override;
    // Reads the content of a "Rendering" element (or of an element laid out like one).
    bool initRenderingWithXML(NuvoraXML::XIXMLElement* rendering);

    // The content of "Rendering", in document order; items that older documents lack are optional.
    template <class V>
    void visitRenderingFields(V& v)
    {
        v.label("Output.Type", mOutputType, kOutputTypeLabels, 2);
        v.label("Antialias", mAntialias, kAntialiasLabels, 0);
        v.flag("Raytracing", mRaytracing, true);
        v.flag("Shadow", mShadow, true);
        v.flag("Transparency", mTransparency, true);
        v.flag("Alpha", mAlpha, false);
        v.integer("Nb.Reflections", mNbReflection, 2, counted(Msg::kClipNbReflection));
        v.integer("Nb.Refractions", mNbRefraction, 6, counted(Msg::kClipNbRefraction));
        v.integer("Height", mHeight, mDefaultHeight, counted(Msg::kClipHeight));
        v.integer("Width", mWidth, 320, counted(Msg::kClipWidth));
        v.location("URL", mURL, "", kOptional);
        v.flag("Render.All", mRenderAll, true);
        v.integer("Render.First", mRenderFirst, 0, counted(Msg::kClipRenderFirst));
        v.integer("Render.Last", mRenderLast, 0, counted(Msg::kClipRenderLast));
        v.flag("Use.View.Options", mUseViewOptions, false);
        v.flag("Preview.Antialias", mPreviewAntialias, false);
        v.flag("Height.Width.Linked", mHeightWidthLinked, false);
        visitScale(v);
        mRadiosity.visitFields(v);
        v.real("Contrast", mContrast, 1.0, kOptional, [this](double c) { return clipContrast(c); });
        v.real("Luminosity", mLuminosity, 0.0, kOptional, [this](double l) { return clipLuminosity(l); });
        v.real("Long.Range", mLongRange, 96.0, kOptional);
        v.real("Short.Range", mShortRange, 4.0, kOptional);
        v.real("First.Bounce", mFirstBounce, 4.0, kOptional);
        v.real("Next.Bounces", mNextBounces, 1.0, kOptional);
        v.real("Attenuation", mAttenuation, 0.3, kOptional);
        v.real("ColorBleeding", mColorBleeding, 1.0, kOptional);
    }

    // The content of "Options": "Rendering", then the older direct placement of the scale.
    template <class V>
    void visitFields(V& v)
    {
        visitRendering(v);
        visitOlderPlacement(v);
    }

protected:
    // The content of "Rendering" as a sub-object of a field list.
    struct RenderingPart {
        TRenderingOpt& options;
        const CSCN* getScene() const { return options.getScene(); }
        template <class V>
        void visitFields(V& v)
        {
            options.visitRenderingFields(v);
        }
    };

    template <class V>
    void visitRendering(V& v)
    {
        RenderingPart part{*this};
        v.object(kRenderingElementName, part);
    }

    // Older documents keep "Scale.On", "Scale", "Resolution" and "Resolution.Level" in "Options".
    template <class V>
    void visitOlderPlacement(V& v)
    {
        v.olderPlacement("Scale", OlderScale{*this});
    }

    // The scale items of the older placement, as a group of the field list.
    struct OlderScale {
        TRenderingOpt& options;
        template <class V>
        void operator()(V& v)
        {
            options.visitScale(v, true);
        }
    };

    template <class V>
    void visitScale(V& v, bool olderPlacement = false)
    {
        v.flag("Scale.On", mScaleOn, true);
        if (olderPlacement) {
            v.integer("Scale", mParallelScale, 100, counted(Msg::kClipParallelScale));
            v.integer("Resolution", mImageResolution, 72, counted(Msg::kClipImageResolution));
        } else {
            v.integer("Scale", mParallelScale, 100, kOptional, counted(Msg::kClipParallelScale));
            v.integer("Resolution", mImageResolution, 72, kOptional, counted(Msg::kClipImageResolution));
        }
        v.integer("Resolution.Level", mPanoramaResolution, 1, kOptional, counted(Msg::kClipPanoramaResolution));
    }

    // The read filter of a count: the setter's clamp with its report.
    auto counted(const char* message) const
    {
        return [this, message](int32_t count) { return clipCount(count, message); };
    }

    int32_t clipCount(int32_t count, const char* message) const;
    double clipContrast(double contrast) const;
    double clipLuminosity(double luminosity) const;

    int32_t mDefaultHeight;
    bool mRaytracing;
    bool mShadow;
    bool mTransparency;
    bool mAlpha;
    int32_t mNbReflection;
    int32_t mNbRefraction;
    int32_t mHeight;
    int32_t mWidth;
    std::string mURL;
    int32_t mOutputType;
    int32_t mAntialias;
    bool mRenderAll;
    int32_t mRenderFirst;
    int32_t mRenderLast;
    bool mUseViewOptions;
    bool mPreviewAntialias;
    bool mHeightWidthLinked;
    bool mScaleOn;
    int32_t mParallelScale;
    int32_t mImageResolution;
    int32_t mPanoramaResolution;
    CRadiosityControl mRadiosity;
    double mContrast;
    double mLuminosity;
    double mLongRange;
    double mShortRange;
    double mFirstBounce;
    double mNextBounces;
    double mAttenuation;
    double mColorBleeding;
};

// Rendering options alone: the preview of the scene.
class CRenderingOpt : public TRenderingOpt<CScnRenderingOpt> {
public:
    explicit CRenderingOpt(CBaseObjectMgr* owner) : TRenderingOpt(owner, kDefaultRenderingHeight) {}
};

// Rendering options with the compression options of the same view: they write and read both,
// and are the view options of their view.
template <class Iface>
class TViewRenderingOpt : public TRenderingOpt<Iface>, public TScnFrontier<IScnViewOpt> {
public:
    TViewRenderingOpt(CBaseObjectMgr* owner, int32_t defaultHeight)
        : TRenderingOpt<Iface>(owner, defaultHeight), mCompression(owner)
    {
    }

    CScnRenderingOpt* getRenderingOpt() override { return this; }
    const CScnRenderingOpt* getRenderingOpt() const override { return this; }
    CScnCompressionOpt* getCompressionOpt() override { return &mCompression; }
    const CScnCompressionOpt* getCompressionOpt() const override { return &mCompression; }
    // Both interfaces: "Rendering" and "Compression" into the "Options" child of parent.
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* options) override;

    // The view options interface of these options.
    IScnViewOpt* asViewOpt() { return this; }
    const IScnViewOpt* asViewOpt() const { return this; }
    CCompressionOpt& compression() { return mCompression; }

    // The content of "Options": "Rendering", "Compression" (absent in older documents), then the
    // older direct placement of the scale.
    template <class V>
    void visitFields(V& v)
    {
        this->visitRendering(v);
        v.object("Compression", mCompression, kOptional);
        this->visitOlderPlacement(v);
    }

private:
    CCompressionOpt mCompression;
};

// The view options of perspective views, object views, animations and heliodon studies.
class CAnimRenderingOpt : public TViewRenderingOpt<CScnRenderingOpt> {
public:
    explicit CAnimRenderingOpt(CBaseObjectMgr* owner) : TViewRenderingOpt(owner, kDefaultRenderingHeight) {}
};

// The view options of panoramas.
class CVRRenderingOpt : public TViewRenderingOpt<CScnPanoramaRenderingOpt> {
public:
    explicit CVRRenderingOpt(CBaseObjectMgr* owner) : TViewRenderingOpt(owner, kDefaultPanoramaHeight) {}
};

// The view options of parallel views.
class CParallelViewRenderingOpt : public TViewRenderingOpt<CScnParallelViewRenderingOpt> {
public:
    explicit CParallelViewRenderingOpt(CBaseObjectMgr* owner)
        : TViewRenderingOpt(owner, kDefaultRenderingHeight)
    {
    }
};

extern template class TRenderingOpt<CScnRenderingOpt>;
extern template class TRenderingOpt<CScnPanoramaRenderingOpt>;
extern template class TRenderingOpt<CScnParallelViewRenderingOpt>;
extern template class TViewRenderingOpt<CScnRenderingOpt>;
extern template class TViewRenderingOpt<CScnPanoramaRenderingOpt>;
extern template class TViewRenderingOpt<CScnParallelViewRenderingOpt>;

}  // namespace NvScn

#endif
