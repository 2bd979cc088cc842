// Background, ambient light, atmosphere, grounds, environments, view filters and the rendering and
// compression options that every view and study carries.
#ifndef SCN_ENVIRONMENT_H
#define SCN_ENVIRONMENT_H

#include "ScnBase.h"
#include "ScnXML.h"

namespace NvScn {

class IScnClouds;
class IScnFog;
class CScnProperty;

// Every putInXML appends the object's element under parent and answers it (null after a report);
// every initWithXML reads the object from its element and answers false after a report. Setters
// taking pointers ignore null unless said otherwise.

// The radiosity settings of a rendering; the rendering options forward to them.
class IScnRadiosityControl {
public:
    virtual bool isRadiosity() = 0;
    virtual void setRadiosity(bool radiosity) = 0;
    virtual double getRadiosityFactor() = 0;
    // Negative factors become 0 (reported inside a scene).
    virtual void setRadiosityFactor(double factor) = 0;
    virtual double getRadiosityQuality() = 0;
    // Clamped into 0 to 2147483647 (reported inside a scene).
    virtual void setRadiosityQuality(double quality) = 0;
    virtual ~IScnRadiosityControl() {}
};

// How an image or a movie is rendered. Counts and sizes never go below 0: the setters clamp them
// always and report only inside a scene. Antialias labels: 0 "No", 1 "Good", 2 "Excellent",
// 3 "Special"; output types: 0 "CmpPict" ... 13 "Tiff".
class CScnRenderingOpt {
public:
    virtual bool isRaytracing() = 0;
    virtual void setRaytracing(bool raytracing) = 0;
    virtual bool isShadow() = 0;
    virtual void setShadow(bool shadow) = 0;
    virtual bool isTransparency() = 0;
    virtual void setTransparency(bool transparency) = 0;
    virtual bool isAlpha() = 0;
    virtual void setAlpha(bool alpha) = 0;
    virtual int32_t getNbReflection() = 0;
    virtual void setNbReflection(int32_t count) = 0;
    virtual int32_t getNbRefraction() = 0;
    virtual void setNbRefraction(int32_t count) = 0;
    virtual int32_t getHeight() = 0;
    virtual void setHeight(int32_t height) = 0;
    virtual int32_t getWidth() = 0;
    virtual void setWidth(int32_t width) = 0;
    // The location of the rendered output.
    virtual const char* getURL() = 0;
    virtual void setURL(const char* url) = 0;
    virtual int32_t getOutputType() = 0;
    virtual void setOutputType(int32_t type) = 0;
    virtual int32_t getAntialias() = 0;
    virtual void setAntialias(int32_t antialias) = 0;
    virtual bool isRenderAll() = 0;
    virtual void setRenderAll(bool all) = 0;
    virtual int32_t getRenderFirst() = 0;
    virtual void setRenderFirst(int32_t frame) = 0;
    virtual int32_t getRenderLast() = 0;
    virtual void setRenderLast(int32_t frame) = 0;
    virtual bool isUseViewOptions() = 0;
    virtual void setUseViewOptions(bool use) = 0;
    virtual bool isPreviewAntialias() = 0;
    virtual void setPreviewAntialias(bool antialias) = 0;
    virtual bool isHeightWidthLinked() = 0;
    virtual void setHeightWidthLinked(bool linked) = 0;
    virtual bool isScaleOn() = 0;
    virtual void setScaleOn(bool on) = 0;
    virtual int32_t getParallelScale() = 0;
    virtual void setParallelScale(int32_t scale) = 0;
    // Dots per inch of the image.
    virtual int32_t getImageResolution() = 0;
    virtual void setImageResolution(int32_t resolution) = 0;
    virtual int32_t getPanoramaResolution() = 0;
    virtual void setPanoramaResolution(int32_t level) = 0;
    // Forwarded to the radiosity control.
    virtual bool isRadiosity() = 0;
    virtual void setRadiosity(bool radiosity) = 0;
    virtual double getRadiosityFactor() = 0;
    virtual void setRadiosityFactor(double factor) = 0;
    virtual double getRadiosityQuality() = 0;
    virtual void setRadiosityQuality(double quality) = 0;
    virtual double getContrast() = 0;
    // Negative values become 0 (reported inside a scene).
    virtual void setContrast(double contrast) = 0;
    virtual double getLuminosity() = 0;
    // Clamped into -1 to 1 (reported inside a scene).
    virtual void setLuminosity(double luminosity) = 0;
    virtual double getLongRange() = 0;
    virtual void setLongRange(double range) = 0;
    virtual double getShortRange() = 0;
    virtual void setShortRange(double range) = 0;
    virtual double getFirstBounce() = 0;
    virtual void setFirstBounce(double bounce) = 0;
    virtual double getNextBounces() = 0;
    virtual void setNextBounces(double bounces) = 0;
    virtual double getAttenuation() = 0;
    virtual void setAttenuation(double attenuation) = 0;
    virtual double getColorBleeding() = 0;
    virtual void setColorBleeding(double bleeding) = 0;
    virtual IScnRadiosityControl* getRadiosityControl() = 0;
    virtual const IScnRadiosityControl* getRadiosityControl() const = 0;
    // Writes "Rendering" into the "Options" child of parent (created when absent); answers "Options".
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads from an "Options" element: its "Rendering", and the older direct placement of "Scale".
    virtual bool initWithXML(NuvoraXML::XIXMLElement* options) = 0;
    virtual ~CScnRenderingOpt() {}
};

// Rendering options of the panoramas.
class CScnPanoramaRenderingOpt : public CScnRenderingOpt {
};

// Rendering options of the parallel views.
class CScnParallelViewRenderingOpt : public CScnRenderingOpt {
};

// How a movie is compressed; the codec is a four-character code.
class CScnCompressionOpt {
public:
    virtual uint32_t getCodec() = 0;
    virtual void setCodec(uint32_t codec) = 0;
    virtual int32_t getDepth() = 0;
    virtual void setDepth(int32_t depth) = 0;
    virtual int32_t getSpatialQuality() = 0;
    virtual void setSpatialQuality(int32_t quality) = 0;
    virtual int32_t getTemporalQuality() = 0;
    virtual void setTemporalQuality(int32_t quality) = 0;
    virtual double getFrameRate() = 0;
    virtual void setFrameRate(double rate) = 0;
    virtual int32_t getKeyFrameRate() = 0;
    virtual void setKeyFrameRate(int32_t rate) = 0;
    // Writes "Compression" into the "Options" child of parent (created when absent); answers "Options".
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads the "Compression" child of an "Options" element.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* options) = 0;
    virtual ~CScnCompressionOpt() {}
};

// The options of a view or study: one rendering and one compression options object.
class IScnViewOpt {
public:
    virtual CScnRenderingOpt* getRenderingOpt() = 0;
    virtual const CScnRenderingOpt* getRenderingOpt() const = 0;
    virtual CScnCompressionOpt* getCompressionOpt() = 0;
    virtual const CScnCompressionOpt* getCompressionOpt() const = 0;
    // Writes both into the "Options" child of parent (created when absent); answers "Options".
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads both from an "Options" element, and the older direct placement of "Scale".
    virtual bool initWithXML(NuvoraXML::XIXMLElement* options) = 0;
    virtual ~IScnViewOpt() {}
};

// The ambient light of the scene. The colour is held as each file value minus 128 (modulo 256).
class CScnAmbient {
public:
    virtual bool isUsed() = 0;
    virtual void setUsed(bool used) = 0;
    virtual const CScnColor* getColor() = 0;
    virtual void setColor(const CScnColor* color) = 0;
    virtual bool isUseDefault() = 0;
    virtual void setUseDefault(bool useDefault) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~CScnAmbient() {}
};

// The atmosphere of the scene. Inside a scene, densities are kept within 0 to 1 and scale and
// noise not below 0, with a report when a value is clipped.
class CScnAtmosphere {
public:
    virtual bool isUsed() = 0;
    virtual void setUsed(bool used) = 0;
    virtual const CScnColor* getColor() = 0;
    virtual void setColor(const CScnColor* color) = 0;
    virtual double getHighDensity() = 0;
    virtual void setHighDensity(double density) = 0;
    virtual double getMediumDensity() = 0;
    virtual void setMediumDensity(double density) = 0;
    virtual double getLowDensity() = 0;
    virtual void setLowDensity(double density) = 0;
    virtual double getScale() = 0;
    virtual void setScale(double scale) = 0;
    virtual double getMinDistance() = 0;
    virtual void setMinDistance(double distance) = 0;
    virtual double getMaxDistance() = 0;
    virtual void setMaxDistance(double distance) = 0;
    virtual double getNoise() = 0;
    virtual void setNoise(double noise) = 0;
    virtual bool isUseDefault() = 0;
    virtual void setUseDefault(bool useDefault) = 0;
    // Replaces any "Atmosphere" child of parent.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~CScnAtmosphere() {}
};

// The scene background. Image types: 0 "None", 1 "Stretched", 2 "3D", 3 "Motif", 4 "QTVRCubic";
// colour types: 0 "None", 1 "Uniform", 2 "Graduated", 3 "Graduated.Line".
class CScnBackground {
public:
    virtual int32_t getImageType() = 0;
    virtual void setImageType(int32_t type) = 0;
    virtual int32_t getColorType() = 0;
    virtual void setColorType(int32_t type) = 0;
    virtual const CScnColor* getColor() = 0;
    virtual void setColor(const CScnColor* color) = 0;
    virtual const CScnColor* getSecondColor() = 0;
    virtual void setSecondColor(const CScnColor* color) = 0;
    virtual const CScnVector* getUpDirection() = 0;
    virtual void setUpDirection(const CScnVector* direction) = 0;
    virtual double getLinePower() = 0;
    // Inside a scene clamped into 0 to 100 with a report; then any value below 10 becomes 1.
    virtual void setLinePower(double power) = 0;
    // The location of the background picture.
    virtual const char* getImage() = 0;
    virtual void setImage(const char* location) = 0;
    virtual bool isUseDefault() = 0;
    virtual void setUseDefault(bool useDefault) = 0;
    virtual double getDirectionAngle() = 0;
    virtual void setDirectionAngle(double angle) = 0;
    virtual const CScnVector* getOrigin() = 0;
    virtual void setOrigin(const CScnVector* origin) = 0;
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    // Replaces every "Background" and older "Backgroung" child of parent.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads a "Background" or an older "Backgroung" element.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~CScnBackground() {}
};

// A ground plane of the scene with its material.
class IScnGround {
public:
    virtual bool isActive() = 0;
    virtual void setActive(bool active) = 0;
    virtual double getHeight() = 0;
    virtual void setHeight(double height) = 0;
    virtual CScnProperty* getProperty() = 0;
    virtual const CScnProperty* getProperty() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Fails when the element holds no "Property".
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnGround() {}
};

// The picture behind a view. Types: 0 "None", 1 "User.Gradiant", 2 "Picture.2D", 3 "Movie.3D".
class IScnBackgroundPicture {
public:
    virtual int32_t getType() = 0;
    virtual void setType(int32_t type) = 0;
    virtual const char* getURL() = 0;
    virtual void setURL(const char* url) = 0;
    virtual const CScnColor* getFirstColor() = 0;
    virtual void setFirstColor(const CScnColor* color) = 0;
    virtual const CScnColor* getSecondColor() = 0;
    virtual void setSecondColor(const CScnColor* color) = 0;
    virtual const CScnColor* getThirdColor() = 0;
    virtual void setThirdColor(const CScnColor* color) = 0;
    virtual bool is3D() = 0;
    virtual void set3D(bool is3D) = 0;
    virtual double getHOffset() = 0;
    virtual void setHOffset(double offset) = 0;
    virtual double getVOffset() = 0;
    virtual void setVOffset(double offset) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnBackgroundPicture() {}
};

// A picture laid over a view, placed in pixels.
class IScnForeground {
public:
    virtual int32_t getPositionX() = 0;
    virtual void setPositionX(int32_t x) = 0;
    virtual int32_t getPositionY() = 0;
    virtual void setPositionY(int32_t y) = 0;
    // The identifier of the foreground picture.
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnForeground() {}
};

// A picture placed on a plane; a cut-out colour, when set, is left out of the picture.
class IScnTexture {
public:
    virtual const CScnVector* getOrigin() = 0;
    virtual void setOrigin(const CScnVector* origin) = 0;
    virtual const CScnVector* getXAxis() = 0;
    virtual void setXAxis(const CScnVector* axis) = 0;
    virtual const CScnVector* getYAxis() = 0;
    virtual void setYAxis(const CScnVector* axis) = 0;
    virtual double getWidth() = 0;
    virtual void setWidth(double width) = 0;
    virtual double getHeight() = 0;
    virtual void setHeight(double height) = 0;
    // Null when the cut-out is not set; setting null removes it.
    virtual const CScnColor* getCutOut1() = 0;
    virtual void setCutOut1(const CScnColor* color) = 0;
    virtual const CScnColor* getCutOut2() = 0;
    virtual void setCutOut2(const CScnColor* color) = 0;
    virtual bool isCutSet() = 0;
    virtual void setCutSet(bool cutSet) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnTexture() {}
};

// Brightness, contrast and saturation applied to a rendered view, with an optional mix colour.
class IScnImageSettingsFilter {
public:
    virtual bool isActive() = 0;
    virtual void setActive(bool active) = 0;
    virtual bool isUseMixColor() = 0;
    virtual void setUseMixColor(bool use) = 0;
    virtual double getBrightness() = 0;
    virtual void setBrightness(double brightness) = 0;
    virtual double getContrast() = 0;
    virtual void setContrast(double contrast) = 0;
    virtual double getSaturation() = 0;
    virtual void setSaturation(double saturation) = 0;
    virtual const CScnColor* getMixColor() = 0;
    virtual void setMixColor(const CScnColor* color) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnImageSettingsFilter() {}
};

// Film grain added to a rendered view.
class IScnGrainFilter {
public:
    virtual bool isActive() = 0;
    virtual void setActive(bool active) = 0;
    virtual double getBrightness() = 0;
    virtual void setBrightness(double brightness) = 0;
    virtual double getSize() = 0;
    virtual void setSize(double size) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnGrainFilter() {}
};

// Exposure correction of a rendered view.
class IScnExposureFilter {
public:
    virtual bool isActive() = 0;
    virtual void setActive(bool active) = 0;
    virtual double getExposure() = 0;
    virtual void setExposure(double exposure) = 0;
    virtual double getSize() = 0;
    virtual void setSize(double size) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnExposureFilter() {}
};

// A hand-drawn hatching look of a rendered view.
class IScnHatchingFilter {
public:
    virtual bool isActive() = 0;
    virtual void setActive(bool active) = 0;
    virtual bool isUseTransparency() = 0;
    virtual void setUseTransparency(bool use) = 0;
    virtual double getIntensityThreshold() = 0;
    virtual void setIntensityThreshold(double threshold) = 0;
    virtual double getContourThreshold() = 0;
    virtual void setContourThreshold(double threshold) = 0;
    virtual double getTransparency() = 0;
    virtual void setTransparency(double transparency) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnHatchingFilter() {}
};

// The post-render filters of a view.
class IScnFilters {
public:
    virtual IScnImageSettingsFilter* getImageSettingsFilter() = 0;
    virtual const IScnImageSettingsFilter* getImageSettingsFilter() const = 0;
    virtual IScnGrainFilter* getGrainFilter() = 0;
    virtual const IScnGrainFilter* getGrainFilter() const = 0;
    virtual IScnExposureFilter* getExposureFilter() = 0;
    virtual const IScnExposureFilter* getExposureFilter() const = 0;
    virtual IScnHatchingFilter* getHatchingFilter() = 0;
    virtual const IScnHatchingFilter* getHatchingFilter() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnFilters() {}
};

// What surrounds a view: sky picture, clouds, fog and foreground; views name it by identifier.
class IScnEnvironment {
public:
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual const char* getName() = 0;
    virtual void setName(const char* name) = 0;
    virtual IScnFog* getFog() = 0;
    virtual const IScnFog* getFog() const = 0;
    virtual IScnClouds* getClouds() = 0;
    virtual const IScnClouds* getClouds() const = 0;
    virtual IScnBackgroundPicture* getBackgroundPicture() = 0;
    virtual const IScnBackgroundPicture* getBackgroundPicture() const = 0;
    virtual IScnForeground* getForeground() = 0;
    virtual const IScnForeground* getForeground() const = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnEnvironment() {}
};

}  // namespace NvScn

#endif
