// Object definitions and the instances that place them, the kind-specific data of 3D plants,
// billboards, light objects and animated objects, internal component definitions, the insertion
// object, layers and the layers information.
#ifndef SCN_OBJECTS_H
#define SCN_OBJECTS_H

#include "ScnBase.h"
#include "ScnGeometry.h"
#include "ScnHeliodon.h"
#include "ScnLights.h"
#include "ScnObjectMgr.h"
#include "ScnShaders.h"
#include "ScnXML.h"

namespace NvScn {

// Every putInXML appends the object's element under parent and answers it (null after a report);
// every initWithXML reads the object from its element and answers false after a report. Getters of
// vectors and identifiers answer a pointer to the stored value, valid while the object lives;
// setters given a null pointer change nothing.

// A point of a picture or of a triangle's parameter plane.
struct CScnVector2D {
    double x;
    double y;
};

// One triangle of a billboard quad: its three corners.
struct CScnTriangle {
    CScnVector corners[3];
};

static_assert(sizeof(CScnVector2D) == 16, "CScnVector2D is two doubles");
static_assert(sizeof(CScnTriangle) == 72, "CScnTriangle is three vectors");

// The classes of object definitions and instances. The class names the kind-specific data that a
// definition or an instance carries; the other classes carry none.
constexpr const char* kScnClassModelObject = "ModelObject";
constexpr const char* kScnClassScnObject = "ScnObject";
constexpr const char* kScnClass3DPlant = "3DPlant";
constexpr const char* kScnClassBillboard = "Billboard";
constexpr const char* kScnClassLightObject = "LightObject";
constexpr const char* kScnClassAnimatedObject = "AnimatedObject";

// Kinds of kind-specific data (IDelegate::getKind).
constexpr int32_t kScnKind3DPlant = 1;
constexpr int32_t kScnKindBillboard = 2;
constexpr int32_t kScnKindLightObject = 3;
constexpr int32_t kScnKindAnimatedObject = 4;

// Placement rules of definitions and instances; written "Perpendicular", "Vertical".
constexpr int32_t kScnPlacementPerpendicular = 0;
constexpr int32_t kScnPlacementVertical = 1;

// Model origins of a definition; written "Uninitialized", "CenterXYBottom", "CenterXYTop",
// "CenterXY".
constexpr int32_t kScnModelOriginUninitialized = 0;
constexpr int32_t kScnModelOriginCenterXYBottom = 1;
constexpr int32_t kScnModelOriginCenterXYTop = 2;
constexpr int32_t kScnModelOriginCenterXY = 3;

// Animation behaviours of an instance; written "Normal", "FollowOnPath", "FollowOnPathXY".
constexpr int32_t kScnBehaviorNormal = 0;
constexpr int32_t kScnBehaviorFollowOnPath = 1;
constexpr int32_t kScnBehaviorFollowOnPathXY = 2;

// Plant types 0 to 8: "Undefined", "Tree", "Flower", "Bushes", "PottedPlant", "PalmTree",
// "Cactus", "WaterPlant", "Fern". Plant colours -1 to 8: "Undefined", "White", "Red", "Orange",
// "Rose", "Purple", "LightBlue", "DarkBlue", "Yellow", "Brown".
constexpr int32_t kScnPlantUndefined = 0;
constexpr int32_t kScnPlantColorUndefined = -1;

// Billboard behaviours; written "Flat", "Uniface", "Multifaces".
constexpr int32_t kScnBillboardFlat = 0;
constexpr int32_t kScnBillboardUniface = 1;
constexpr int32_t kScnBillboardMultifaces = 2;

// Size axes of the insertion object; written "XAxis", "YAxis", "ZAxis".
constexpr int32_t kScnSizeXAxis = 0;
constexpr int32_t kScnSizeYAxis = 1;
constexpr int32_t kScnSizeZAxis = 2;

class IScnInternalComponentDefinition;
class IScn3DPlant;
class IScnBillboard;
class IScnObjectLight;
class IScnAnimatedObject;
class IScn3DPlantRef;
class IScnBillboardRef;
class IScnAnimatedObjectRef;

// A text given in several languages; a language is named by its code: the first letter of its
// two-letter name times 256 plus the second (for "en", 'e' * 256 + 'n').
class IScnLanguageTexts {
public:
    // The text of a language, null when it has none.
    virtual const char* getText(int32_t language) = 0;
    // Sets the text of a language, replacing the one it had; null stores the empty text.
    virtual void setText(int32_t language, const char* text) = 0;
    // Number of languages that have a text.
    virtual int32_t getNbLanguages() = 0;
    // The code of the index-th language, in the order the languages were first given; 0 for an
    // index out of range.
    virtual int32_t getLanguage(int32_t index) = 0;
    virtual ~IScnLanguageTexts() {}
};

// A reusable object: its class, anchor, placement rule, materials, texts, setups and the data of
// its kind. Its geometry is the internal component definition with the same UUID.
class IScnScnObjectDefinition {
public:
    // The kind-specific data attached to a definition.
    class IDelegate {
    public:
        virtual ~IDelegate() {}
        // kScnKind3DPlant, kScnKindBillboard, kScnKindLightObject or kScnKindAnimatedObject.
        virtual int32_t getKind() const = 0;
    };

    // A named variant of a definition.
    class IScnScnObjectSetup {
    public:
        // The setup's own identifier, fresh for a new setup.
        virtual const CScnUUID* getUUID() = 0;
        virtual void setUUID(const CScnUUID* uuid) = 0;
        virtual const char* getName() = 0;
        // A null name stores the empty name.
        virtual void setName(const char* name) = 0;
        virtual ~IScnScnObjectSetup() {}
    };

    // The class, for example "3DPlant"; setting a class of another kind replaces the
    // kind-specific data by that kind's defaults (none for classes without data).
    virtual const char* getClass() = 0;
    virtual void setClass(const char* className) = 0;
    // The identifier, fresh for a new definition; instances and the geometry refer to it.
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    // The display name in each language.
    virtual IScnLanguageTexts* getName() = 0;
    // The point of the object that placing puts on the target.
    virtual const CScnVector* getAnchor() = 0;
    virtual void setAnchor(const CScnVector* anchor) = 0;
    // kScnPlacementPerpendicular or kScnPlacementVertical; a value without a label makes putInXML
    // fail.
    virtual int32_t getPlacement() = 0;
    virtual void setPlacement(int32_t placement) = 0;
    // The object's up direction.
    virtual const CScnVector* getUp() = 0;
    virtual void setUp(const CScnVector* up) = 0;
    // Angle in degrees that a placed object starts with.
    virtual double getInitialAngle() = 0;
    virtual void setInitialAngle(double angle) = 0;
    // The definition's materials; its polygons refer to them by index.
    virtual TScnObjectMgr<CScnProperty>* getMaterials() = 0;
    // The light group that the object's lights belong to.
    virtual const CScnUUID* getLightGroupID() = 0;
    virtual void setLightGroupID(const CScnUUID* group) = 0;
    // Rotation of the model, as three angles.
    virtual const CScnVector* getModelRotation() = 0;
    virtual void setModelRotation(const CScnVector* rotation) = 0;
    // The model's rotation matrix: 16 reals, row by row.
    virtual const double* getModelRotationMatrix() = 0;
    virtual void setModelRotationMatrix(const double* matrix) = 0;
    // Position of the model.
    virtual const CScnVector* getModelPosition() = 0;
    virtual void setModelPosition(const CScnVector* position) = 0;
    // The first and second description and the comment, each in every language.
    virtual IScnLanguageTexts* getDescription1() = 0;
    virtual IScnLanguageTexts* getDescription2() = 0;
    virtual IScnLanguageTexts* getComment() = 0;
    // A value the client's interface keeps with the definition.
    virtual int32_t getUIValue() = 0;
    virtual void setUIValue(int32_t value) = 0;
    // One of the kScnModelOrigin values; a value without a label makes putInXML fail.
    virtual int32_t getModelOrigin() = 0;
    virtual void setModelOrigin(int32_t origin) = 0;
    // The setups, in order.
    virtual TScnObjectMgr<IScnScnObjectSetup>* getSetups() = 0;
    // The kind-specific data, null for a class without any.
    virtual IDelegate* getDelegate() = 0;
    // Writing into an element that already holds a definition replaces that one.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // The element's document must hold the geometry node of the definition: an
    // "InternalComponentDefinition" with the same UUID in the "InternalComponentDefinitions" beside
    // the element.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    // The scene's internal component definition with the same UUID, or null.
    virtual IScnInternalComponentDefinition* getInternalComponentDefinition() = 0;
    // The kind-specific data as its interface, null when the definition is of another kind.
    virtual IScn3DPlant* get3DPlant() = 0;
    virtual IScnBillboard* getBillboard() = 0;
    virtual IScnObjectLight* getObjectLight() = 0;
    virtual IScnAnimatedObject* getAnimatedObject() = 0;
    virtual ~IScnScnObjectDefinition() {}
};

// A plant: its type and its seasonal setups.
class IScn3DPlant {
public:
    // The look of a plant between two dates of the year.
    class IPlantSetUp {
    public:
        // The dates are the objects themselves, changed in place.
        virtual CScnTime* getStartTime() = 0;
        virtual CScnTime* getEndTime() = 0;
        // A plant colour, -1 to 8; a value without a label makes the writing fail.
        virtual int32_t getColor() = 0;
        virtual void setColor(int32_t color) = 0;
        virtual ~IPlantSetUp() {}
    };

    // A plant type, 0 to 8; a value without a label makes the writing fail.
    virtual int32_t getPlantType() = 0;
    virtual void setPlantType(int32_t type) = 0;
    virtual TScnObjectMgr<IPlantSetUp>* getSetups() = 0;
    virtual ~IScn3DPlant() {}
};

// The billboard manager's record of a billboard: the identifier of the material it shows.
class IScnBBMgrData {
public:
    virtual uint32_t getProperty() = 0;
    virtual void setProperty(uint32_t property) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnBBMgrData() {}
};

// A quad of a billboard, made of triangles.
class IScnQuad {
public:
    // The quad's identifier, written as eight hexadecimal digits.
    virtual uint32_t getId() = 0;
    virtual void setId(uint32_t id) = 0;
    virtual TScnObjectMgr<CScnTriangle>* getTriangles() = 0;
    virtual ~IScnQuad() {}
};

// A flat picture object: its manager record, its quads and how it faces the viewer.
class IScnBillboard {
public:
    // A name of a billboard.
    class IScnBBName {
    public:
        virtual const char* getName() = 0;
        // A null name stores the empty name.
        virtual void setName(const char* name) = 0;
        virtual ~IScnBBName() {}
    };

    virtual IScnBBMgrData* getMgrInfo() = 0;
    virtual TScnObjectMgr<IScnQuad>* getQuads() = 0;
    virtual TScnObjectMgr<IScnBBName>* getNames() = 0;
    // One of the kScnBillboard behaviours; a value without a label makes the writing fail.
    virtual int32_t getBehavior() = 0;
    virtual void setBehavior(int32_t behavior) = 0;
    virtual int32_t getNbFaces() = 0;
    virtual void setNbFaces(int32_t count) = 0;
    virtual bool isAnimate() = 0;
    virtual void setAnimate(bool animate) = 0;
    virtual double getScale() = 0;
    virtual void setScale(double scale) = 0;
    virtual const CScnVector* getNormal() = 0;
    virtual void setNormal(const CScnVector* normal) = 0;
    virtual ~IScnBillboard() {}
};

// An object that gives light: its light sources, placed in the object's own coordinates.
class IScnObjectLight {
public:
    virtual TScnObjectMgr<CScnLight>* getLights() = 0;
    virtual ~IScnObjectLight() {}
};

// An object that moves by itself, through recorded takes.
class IScnAnimatedObject {
public:
    // One recorded motion: a run of frames.
    class IScnTake {
    public:
        virtual const char* getName() = 0;
        // A null name stores the empty name.
        virtual void setName(const char* name) = 0;
        virtual int32_t getStartFrame() = 0;
        virtual void setStartFrame(int32_t frame) = 0;
        virtual int32_t getEndFrame() = 0;
        virtual void setEndFrame(int32_t frame) = 0;
        // Whether the take starts again when it ends.
        virtual bool isLoop() = 0;
        virtual void setLoop(bool loop) = 0;
        virtual ~IScnTake() {}
    };

    virtual TScnObjectMgr<IScnTake>* getTakes() = 0;
    virtual ~IScnAnimatedObject() {}
};

// The kind-specific data of an instance of a 3D plant: the season it shows.
class IScn3DPlantRef {
public:
    // Whether the plant follows the date of the heliodon rather than its own.
    virtual bool isHeliodonAttached() = 0;
    virtual void setHeliodonAttached(bool attached) = 0;
    // The date shown, the object itself, changed in place.
    virtual CScnTime* getTime() = 0;
    // A plant colour, -1 to 8; a value without a label makes the writing fail.
    virtual int32_t getColor() = 0;
    virtual void setColor(int32_t color) = 0;
    virtual ~IScn3DPlantRef() {}
};

// The kind-specific data of an instance of a billboard: how this one is drawn.
class IScnBillboardRef {
public:
    // Whether the billboard turns to face the viewer.
    virtual bool isOrient() = 0;
    virtual void setOrient(bool orient) = 0;
    virtual bool isHFlip() = 0;
    virtual void setHFlip(bool flip) = 0;
    virtual bool isVFlip() = 0;
    virtual void setVFlip(bool flip) = 0;
    virtual int32_t getRenderType() = 0;
    virtual void setRenderType(int32_t type) = 0;
    virtual double getRoughness() = 0;
    virtual void setRoughness(double roughness) = 0;
    virtual double getShininess() = 0;
    virtual void setShininess(double shininess) = 0;
    virtual double getBrightness() = 0;
    virtual void setBrightness(double brightness) = 0;
    virtual double getContrast() = 0;
    virtual void setContrast(double contrast) = 0;
    virtual const CScnColor* getColor() = 0;
    virtual void setColor(const CScnColor* color) = 0;
    virtual ~IScnBillboardRef() {}
};

// The kind-specific data of an instance of an animated object: what it plays and from when.
class IScnAnimatedObjectRef {
public:
    // Index of the take played in the definition's takes.
    virtual int32_t getTake() = 0;
    virtual void setTake(int32_t take) = 0;
    // Time, in seconds of the scene's animation, at which the take starts.
    virtual double getStart() = 0;
    virtual void setStart(double start) = 0;
    // Position reached in the take, in seconds.
    virtual double getPosition() = 0;
    virtual void setPosition(double position) = 0;
    virtual ~IScnAnimatedObjectRef() {}
};

// An object placed in the scene; its attached object names the object definition (or the
// internal component definition) whose geometry it places. The first operations, up to the
// destructor, keep the slots they have always had; the others follow it.
class IScnObjectInstance {
public:
    // The kind-specific data attached to an instance.
    class IDelegate {
    public:
        virtual ~IDelegate() {}
        // kScnKind3DPlant, kScnKindBillboard or kScnKindAnimatedObject.
        virtual int32_t getKind() const = 0;
    };

    virtual const char* getName() = 0;
    virtual void setName(const char* name) = 0;
    // The kind of object placed, for example "ModelObject"; setting a class of another kind
    // replaces the kind-specific data by that kind's defaults.
    virtual const char* getClass() = 0;
    virtual void setClass(const char* className) = 0;
    // The instance's own identifier, fresh for a new instance.
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    // The identifier of the definition the instance places; null UUID when none.
    virtual const CScnUUID* getAttachedObject() = 0;
    virtual void setAttachedObject(const CScnUUID* uuid) = 0;
    virtual ~IScnObjectInstance() {}

    // The normal of the surface the instance stands on.
    virtual const CScnVector* getNormal() = 0;
    virtual void setNormal(const CScnVector* normal) = 0;
    virtual const CScnVector* getTranslation() = 0;
    virtual void setTranslation(const CScnVector* translation) = 0;
    // Rotation as three angles.
    virtual const CScnVector* getRotation() = 0;
    virtual void setRotation(const CScnVector* rotation) = 0;
    virtual const CScnVector* getScale() = 0;
    virtual void setScale(const CScnVector* scale) = 0;
    // The triangle of the scene the instance stands on, -1 for none.
    virtual int32_t getTriangleId() = 0;
    virtual void setTriangleId(int32_t triangle) = 0;
    // The instance's position in that triangle, as two points of its parameter plane.
    virtual const CScnVector2D* getTrianglePoint1() = 0;
    virtual void setTrianglePoint1(const CScnVector2D* point) = 0;
    virtual const CScnVector2D* getTrianglePoint2() = 0;
    virtual void setTrianglePoint2(const CScnVector2D* point) = 0;
    virtual const CScnVector* getAnchorPosition() = 0;
    virtual void setAnchorPosition(const CScnVector* position) = 0;
    virtual const CScnVector* getUpVector() = 0;
    virtual void setUpVector(const CScnVector* up) = 0;
    // kScnPlacementPerpendicular or kScnPlacementVertical; a value without a label makes putInXML
    // fail.
    virtual int32_t getPlacement() = 0;
    virtual void setPlacement(int32_t placement) = 0;
    virtual double getInitialAngle() = 0;
    virtual void setInitialAngle(double angle) = 0;
    // The corners of the bounding box.
    virtual const CScnVector* getBoundingBoxMinimum() = 0;
    virtual void setBoundingBoxMinimum(const CScnVector* corner) = 0;
    virtual const CScnVector* getBoundingBoxMaximum() = 0;
    virtual void setBoundingBoxMaximum(const CScnVector* corner) = 0;
    virtual int32_t getUIValue() = 0;
    virtual void setUIValue(int32_t value) = 0;
    virtual bool isCoordinatesLocked() = 0;
    virtual void setCoordinatesLocked(bool locked) = 0;
    virtual bool isScaleLocked() = 0;
    virtual void setScaleLocked(bool locked) = 0;
    // The direction of the path the instance follows, at the current time.
    virtual const CScnVector* getCurrentPathDirection() = 0;
    virtual void setCurrentPathDirection(const CScnVector* direction) = 0;
    // One of the kScnBehavior values; a value without a label makes putInXML fail.
    virtual int32_t getAnimationBehavior() = 0;
    virtual void setAnimationBehavior(int32_t behavior) = 0;
    // Whether the instance is a target of views or lights.
    virtual bool isTarget() = 0;
    virtual void setTarget(bool target) = 0;
    virtual double getTransparency() = 0;
    virtual void setTransparency(double transparency) = 0;
    // The layer the instance belongs to.
    virtual const CScnUUID* getLayerId() = 0;
    virtual void setLayerId(const CScnUUID* layer) = 0;
    // The kind-specific data, null for a class without any.
    virtual IDelegate* getDelegate() = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    // The kind-specific data as its interface, null when the instance is of another kind.
    virtual IScn3DPlantRef* get3DPlantRef() = 0;
    virtual IScnBillboardRef* getBillboardRef() = 0;
    virtual IScnAnimatedObjectRef* getAnimatedObjectRef() = 0;
};

// The geometry of a definition: its own point and polygon tables, identified by a UUID and a
// geometry level. The first operations, up to the destructor, keep the slots they have always
// had; the others follow it.
class IScnInternalComponentDefinition {
public:
    // The identifier, fresh for a new definition; object instances refer to it.
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual int32_t getGeometryLevel() = 0;
    virtual void setGeometryLevel(int32_t level) = 0;
    // The definition's own points; polygons of this definition index into them.
    virtual TScnObjectMgr<CScnVector>* getPoints() = 0;
    virtual TScnObjectMgr<CScnPolygon>* getPolygons() = 0;
    virtual ~IScnInternalComponentDefinition() {}

    // The scene's object definition with the same UUID, or null.
    virtual IScnScnObjectDefinition* getObjectDefinition() = 0;
};

// How a picture was matched to the model: the axes and perspective tool drawn on the picture and
// the reference points of the model.
class IScnInsertionObject {
public:
    // The four axis points on the picture (index 0 to 3); null for another index.
    virtual const CScnVector2D* getAxesPosition(int32_t index) = 0;
    // Ignored for an index out of range.
    virtual void setAxesPosition(int32_t index, const CScnVector2D* position) = 0;
    // The six points of the perspective tool on the picture (index 0 to 5).
    virtual const CScnVector2D* getPerspectiveToolPosition(int32_t index) = 0;
    virtual void setPerspectiveToolPosition(int32_t index, const CScnVector2D* position) = 0;
    // The four reference points in the model (index 0 to 3).
    virtual const CScnVector* getReperePosition(int32_t index) = 0;
    virtual void setReperePosition(int32_t index, const CScnVector* position) = 0;
    // One of the kScnSize axes; a value without a label makes putInXML fail.
    virtual int32_t getSizeAxis() = 0;
    virtual void setSizeAxis(int32_t axis) = 0;
    virtual bool isAxesVisible() = 0;
    virtual void setAxesVisible(bool visible) = 0;
    virtual bool isModelVisible() = 0;
    virtual void setModelVisible(bool visible) = 0;
    virtual bool isPerspectiveToolVisible() = 0;
    virtual void setPerspectiveToolVisible(bool visible) = 0;
    virtual bool isYAxisInverted() = 0;
    virtual void setYAxisInverted(bool inverted) = 0;
    // Writing into an element that already holds an insertion object replaces that one.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnInsertionObject() {}
};

// A group of objects that views show or hide together.
class IScnLayer {
public:
    // The identifier, fresh for a new layer; instances and views refer to it.
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual const char* getName() = 0;
    // A null name stores the empty name.
    virtual void setName(const char* name) = 0;
    virtual int32_t getUIValue() = 0;
    virtual void setUIValue(int32_t value) = 0;
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnLayer() {}
};

// The layer settings of a scene: the active layer and the layer each kind of new object goes to.
class IScnLayerInfo {
public:
    virtual const CScnUUID* getActiveLayer() = 0;
    virtual void setActiveLayer(const CScnUUID* layer) = 0;
    virtual const CScnUUID* get3DPlantLayer() = 0;
    virtual void set3DPlantLayer(const CScnUUID* layer) = 0;
    virtual const CScnUUID* getScnObjectLayer() = 0;
    virtual void setScnObjectLayer(const CScnUUID* layer) = 0;
    virtual const CScnUUID* getBillboardLayer() = 0;
    virtual void setBillboardLayer(const CScnUUID* layer) = 0;
    virtual const CScnUUID* getLightObjectLayer() = 0;
    virtual void setLightObjectLayer(const CScnUUID* layer) = 0;
    virtual const CScnUUID* getAnimatedObjectLayer() = 0;
    virtual void setAnimatedObjectLayer(const CScnUUID* layer) = 0;
    // Writing into an element that already holds the layers information replaces that one.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    virtual ~IScnLayerInfo() {}
};

}  // namespace NvScn

#endif
