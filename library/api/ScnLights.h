// Lights and light groups of a scene, the lens flare of a light, and the headlights of a view.
#ifndef SCN_LIGHTS_H
#define SCN_LIGHTS_H

#include "ScnBase.h"
#include "ScnObjectMgr.h"
#include "ScnXML.h"

namespace NvScn {

// Light types (CScnLight::getType); written as "Point", "Spot", "Parallel".
constexpr int32_t kScnLightPoint = 0;
constexpr int32_t kScnLightSpot = 1;
constexpr int32_t kScnLightParallel = 2;

// Shadow types (CScnLight::getShadowType); written as "None", "Traced", "Soft".
constexpr int32_t kScnShadowNone = 0;
constexpr int32_t kScnShadowTraced = 1;
constexpr int32_t kScnShadowSoft = 2;

// Target types (CScnLight::getTargetType): a fixed point, or the object named by getObjectId.
constexpr int32_t kScnTargetFixedVertex = 0;
constexpr int32_t kScnTargetOnObject = 1;

// Lens flare types (IScnLensFlare::getType); written as "LensFlare1" ... "Halo2".
constexpr int32_t kScnLensFlare1 = 0;
constexpr int32_t kScnLensFlare2 = 1;
constexpr int32_t kScnHalo1 = 2;
constexpr int32_t kScnHalo2 = 3;

// The flare a renderer draws around a light source; every setter stores what it is given.
class IScnLensFlare {
public:
    // Whether the renderer draws the flare.
    virtual bool isUsed() const = 0;
    virtual void setUsed(bool used) = 0;
    // The flare type; a value without a label makes the owner's putInXML fail.
    virtual int32_t getType() const = 0;
    virtual void setType(int32_t type) = 0;
    // Relative size of the flare.
    virtual double getSize() const = 0;
    virtual void setSize(double size) = 0;
    // Relative intensity of the flare.
    virtual double getIntensity() const = 0;
    virtual void setIntensity(double intensity) = 0;
    virtual ~IScnLensFlare() {}
};

// An artificial light of the scene. Getters of vectors, colours and identifiers answer a pointer to
// the stored value, valid while the light lives; setters given a null pointer change nothing.
class CScnLight {
public:
    // The light's name; never null.
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    // The light type; a value without a label makes putInXML fail.
    virtual int32_t getType() const = 0;
    virtual void setType(int32_t type) = 0;
    // Whether the light is switched on.
    virtual bool isActive() const = 0;
    virtual void setActive(bool active) = 0;
    // The colour of the emitted light.
    virtual const CScnColor* getColor() const = 0;
    virtual void setColor(const CScnColor* color) = 0;
    // Intensity; the setter keeps it within 1 to 1000000.
    virtual double getPower() const = 0;
    virtual void setPower(double power) = 0;
    // Distance at which the light starts to fall off.
    virtual double getDistanceNear() const = 0;
    virtual void setDistanceNear(double distance) = 0;
    // Distance beyond which the light has no effect.
    virtual double getDistanceFar() const = 0;
    virtual void setDistanceFar(double distance) = 0;
    // Position in scene units.
    virtual const CScnVector* getPosition() const = 0;
    virtual void setPosition(const CScnVector* position) = 0;
    // The point a spot or parallel light aims at.
    virtual const CScnVector* getTarget() const = 0;
    virtual void setTarget(const CScnVector* target) = 0;
    // Opening of a spot in degrees; the setter keeps it within 0 to 360.
    virtual double getConeAngle() const = 0;
    virtual void setConeAngle(double angle) = 0;
    // Edge sharpness of a spot; the setter keeps it within 0 to 1.
    virtual double getSharpness() const = 0;
    virtual void setSharpness(double sharpness) = 0;
    // The shadow type; a value without a label makes putInXML fail.
    virtual int32_t getShadowType() const = 0;
    virtual void setShadowType(int32_t type) = 0;
    // Darkness of the shadows; the setter keeps it within 0 to 1.
    virtual double getShadowPower() const = 0;
    virtual void setShadowPower(double power) = 0;
    // Shadow map size; the setter turns a negative size into 0.
    virtual int32_t getMapSize() const = 0;
    virtual void setMapSize(int32_t size) = 0;
    // Shadow map bias; the setter keeps it within 0 to 1.
    virtual double getBias() const = 0;
    virtual void setBias(double bias) = 0;
    // Whether the light takes part in global illumination.
    virtual bool isGlobalIllumination() const = 0;
    virtual void setGlobalIllumination(bool on) = 0;
    // Strength of the light's global illumination.
    virtual double getGlobalIlluminationPower() const = 0;
    virtual void setGlobalIlluminationPower(double power) = 0;
    // Sampling quality of the light's global illumination.
    virtual int32_t getGlobalIlluminationQuality() const = 0;
    virtual void setGlobalIlluminationQuality(int32_t quality) = 0;
    // Appends a "Light" element under parent and answers it; null after a report on failure.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads the light from a "Light" element (or the first "Light" child of another element); false
    // after a report on failure, the fields read before the failure keeping their new values.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    // Whether the user locked the light against edits.
    virtual bool isLocked() const = 0;
    virtual void setLocked(bool locked) = 0;
    // A value kept for the user interface of the rendering application.
    virtual int32_t getUIValue() const = 0;
    virtual void setUIValue(int32_t value) = 0;
    // The identifiers of the light groups the light belongs to.
    virtual TScnObjectMgr<CScnUUID>* getLightsGroups() = 0;
    virtual const TScnObjectMgr<CScnUUID>* getLightsGroups() const = 0;
    // The light's lens flare, owned by the light.
    virtual IScnLensFlare* getLensFlare() = 0;
    virtual const IScnLensFlare* getLensFlare() const = 0;
    // Whether the light contributes to the radiosity solution.
    virtual bool isRadiosity() const = 0;
    virtual void setRadiosity(bool on) = 0;
    // The light's identity, fresh at creation.
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    // The target type; the setter turns anything but kScnTargetFixedVertex and kScnTargetOnObject
    // into kScnTargetFixedVertex.
    virtual int32_t getTargetType() const = 0;
    virtual void setTargetType(int32_t type) = 0;
    // The object aimed at when the target type is kScnTargetOnObject.
    virtual const CScnUUID* getObjectId() const = 0;
    virtual void setObjectId(const CScnUUID* id) = 0;
    // Destroys the lens flare and the group list with the light.
    virtual ~CScnLight() {}
    // The photometric profile that the rendering application applies to the light.
    virtual CScnUUID getIES() const = 0;
    virtual void setIES(CScnUUID profile) = 0;
};

// A named group of lights that views switch on and off together.
class IScnLightsGroup {
public:
    // Appends a "Lights.Group" element under parent and answers it; null after a report on failure.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads the group from a "Lights.Group" element; false after a report on failure.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    // The identifier by which lights name the group, fresh at creation.
    virtual const CScnUUID* getID() const = 0;
    // Copies the identifier; null changes nothing.
    virtual void setID(const CScnUUID* id) = 0;
    // The group's name; never null.
    virtual const char* getName() const = 0;
    // Copies the name; null changes nothing.
    virtual void setName(const char* name) = 0;
    // A value kept for the user interface of the rendering application.
    virtual int32_t getUIValue() const = 0;
    virtual void setUIValue(int32_t value) = 0;
    virtual ~IScnLightsGroup() {}
};

// A headlight that follows a view's camera: the camera light, or the light used for radiosity.
class IScnCameraLight {
public:
    // Appends "Camera.Light" (or "Radiosity.Light" for the radiosity light) under parent and answers
    // it; null after a report on failure.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads the element named after the light's current kind (the element itself or its first child
    // of that name); false after a report on failure.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    // Whether the headlight is switched on.
    virtual bool isUsed() const = 0;
    virtual void setUsed(bool used) = 0;
    // The kind: false for the camera light, true for the radiosity light; it names the element.
    virtual bool isRadiosityLight() const = 0;
    virtual void setRadiosityLight(bool radiosity) = 0;
    // The headlight's colour.
    virtual const CScnColor* getColor() const = 0;
    // Copies the colour; null changes nothing.
    virtual void setColor(const CScnColor* color) = 0;
    // The headlight's intensity.
    virtual double getPower() const = 0;
    virtual void setPower(double power) = 0;
    virtual ~IScnCameraLight() {}
};

}  // namespace NvScn

#endif
