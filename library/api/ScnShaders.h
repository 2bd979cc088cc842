// Materials (properties) and their shader node trees.
//
// A material owns a tree of shader nodes whose root is the material itself. Nodes and tables are
// reference counted: a parent holds one reference on each child, a material one on its top node;
// a node whose count falls to 0 is destroyed with the references it holds. Getters of vectors,
// colours and identifiers answer a pointer to the stored value, valid while the object lives;
// setters given a null pointer change nothing. Nothing here throws: failures are reports through
// the feedback of the scene that owns the material.
#ifndef SCN_SHADERS_H
#define SCN_SHADERS_H

#include <cstdint>

#include "ScnBase.h"
#include "ScnXML.h"

namespace NvScn {

class IRootNode;
class IChessNode;
class IMappingNode;
class ITurbulenceNode;
class ILeafNode;
class IFresnelNode;
class IGlazingNode;
class ICustomNode;
class CScnTCE;

// Node kinds, as ITCENode::GetKind answers them and CScnTCE::createNode takes them; written as
// "Root", "Chess", "Mapping", "Turbulence", "Leaf", "Fresnel", "Glazing", "Custom".
enum ETCENodeKind : int32_t {
    eRootNode = 0,
    eChessNode = 1,
    eMappingNode = 2,
    eTurbulenceNode = 3,
    eLeafNode = 4,
    eFresnelNode = 5,
    eGlazingNode = 6,
    eCustomNode = 7
};

// Chess geometries (IChessNode::getGeometry); written as "Cylinder", "Sphere", "Cube".
constexpr int32_t kScnChessCylinder = 0;
constexpr int32_t kScnChessSphere = 1;
constexpr int32_t kScnChessCube = 2;

// Map types of a mapping node (IMappingNode::getURL), 1 to 10; written as "Diffuse", "Specular",
// "Glossy", "Reflection", "Environment", "Alpha", "Bump", "Normal.Map", "Neon", "Movie".
constexpr int32_t kScnMapDiffuse = 1;
constexpr int32_t kScnMapSpecular = 2;
constexpr int32_t kScnMapGlossy = 3;
constexpr int32_t kScnMapReflection = 4;
constexpr int32_t kScnMapEnvironment = 5;
constexpr int32_t kScnMapAlpha = 6;
constexpr int32_t kScnMapBump = 7;
constexpr int32_t kScnMapNormalMap = 8;
constexpr int32_t kScnMapNeon = 9;
constexpr int32_t kScnMapMovie = 10;

// Projections of a mapping node (IMappingNode::getProjection); written as "Planetary",
// "Orthogonal", "Vertical", "Spherical", "Y.Cylindrical", "X.Cylindrical", "Mapping.UV".
constexpr int32_t kScnProjectionPlanetary = 0;
constexpr int32_t kScnProjectionOrthogonal = 1;
constexpr int32_t kScnProjectionVertical = 2;
constexpr int32_t kScnProjectionSpherical = 3;
constexpr int32_t kScnProjectionYCylindrical = 4;
constexpr int32_t kScnProjectionXCylindrical = 5;
constexpr int32_t kScnProjectionMappingUV = 6;

// Projections as the simple-material façade numbers them (CScnProperty::getProjection): planar and
// non-planar orthogonal are told apart, the others follow the mapping node's projections.
constexpr int32_t kScnFacadeOrthogonal = 0;
constexpr int32_t kScnFacadePlanar = 1;
constexpr int32_t kScnFacadeVertical = 2;
constexpr int32_t kScnFacadeSpherical = 3;
constexpr int32_t kScnFacadeYCylindrical = 4;
constexpr int32_t kScnFacadeXCylindrical = 5;
constexpr int32_t kScnFacadePlanetary = 6;
constexpr int32_t kScnFacadeMappingUV = 7;
// The façade's answer when a material has no mapping, or its projection has no façade number.
constexpr int32_t kScnFacadeNoProjection = -1;

// A text given in several languages: the plain get and set use the scene's current language; the
// plain get falls back to the first language, then to the empty text.
class IScnString {
public:
    // The text in the current language; never null.
    virtual const char* get() const = 0;
    // Sets the text of the current language; null stores the empty text.
    virtual void set(const char* text) = 0;
    // The text of a language code (first character * 256 + second), null when it has none.
    virtual const char* getText(int32_t language) const = 0;
    // Sets the text of a language code; null stores the empty text.
    virtual void setText(int32_t language, const char* text) = 0;
    // Number of languages that have a text, and the code of each in the order they were given.
    virtual int32_t getLanguageCount() const = 0;
    virtual int32_t getLanguage(int32_t index) const = 0;

protected:
    ~IScnString() {}
};

// A reference-counted table of 32-bit reals carried by chess and turbulence nodes.
class ITable {
public:
    // Adds one reference; answers the new count.
    virtual int32_t AddRef() = 0;
    // Removes one reference and destroys the table at 0; answers the new count.
    virtual int32_t Release() = 0;
    // Number of values.
    virtual int32_t GetCount() const = 0;
    // Keeps the first min(old, count) values; added entries are 0 until the caller sets them.
    // A negative count empties the table.
    virtual void SetCount(int32_t count) = 0;
    // The value at index; 0 outside the table.
    virtual float GetValue(int32_t index) const = 0;
    // Replaces the value at index; ignored outside the table.
    virtual void SetValue(int32_t index, float value) = 0;
    // Reserved; a call stops the process with the obsolete-library message.
    virtual void reserved1() = 0;
    virtual void reserved2() = 0;
    virtual void reserved3() = 0;
    virtual ~ITable() {}
};

// Common part of every shader node.
class ITCENode {
public:
    // Adds one reference; answers the new count.
    virtual int32_t AddRef() = 0;
    // Removes one reference and destroys the node (with the references it holds) at 0; answers
    // the new count.
    virtual int32_t Release() = 0;
    // The parent node, null for a root or a node not in a tree; not referenced.
    virtual ITCENode* GetParent() = 0;
    virtual void SetParent(ITCENode* parent) = 0;
    // Number of children.
    virtual int32_t GetChildCount() const = 0;
    // The child at index; null out of range.
    virtual ITCENode* GetChild(int32_t index) = 0;
    virtual const ITCENode* GetChild(int32_t index) const = 0;
    // index equal to the count appends; a smaller index replaces that child (a reference is taken
    // on the new node and the old one is released); a larger index or a null node does nothing.
    virtual void SetChild(int32_t index, ITCENode* node) = 0;
    // Appends a child, taking a reference; null does nothing.
    virtual void AddChild(ITCENode* node) = 0;
    // Releases and removes the child at index; out of range does nothing.
    virtual void RemoveChild(int32_t index) = 0;
    // The node's identity, fresh when the node is made.
    virtual const CScnUUID* GetUUID() const = 0;
    virtual void SetUUID(const CScnUUID* uuid) = 0;
    // A value kept for the user interface of the rendering application.
    virtual int32_t GetUIValue() const = 0;
    virtual void SetUIValue(int32_t value) = 0;
    // The node's kind (ETCENodeKind).
    virtual int32_t GetKind() const = 0;
    // Kind views: each answers the node as that kind, or null for a node of another kind. The
    // first and the last four views are unused and always answer null.
    virtual void* AsUnused0() = 0;
    virtual IChessNode* AsChess() = 0;
    virtual IMappingNode* AsMapping() = 0;
    virtual ITurbulenceNode* AsTurbulence() = 0;
    virtual ILeafNode* AsLeaf() = 0;
    virtual IFresnelNode* AsFresnel() = 0;
    virtual IGlazingNode* AsGlazing() = 0;
    virtual ICustomNode* AsCustom() = 0;
    virtual void* AsUnused8() = 0;
    virtual void* AsUnused9() = 0;
    virtual void* AsUnused10() = 0;
    virtual void* AsUnused11() = 0;
    // Reserved; a call stops the process with the obsolete-library message.
    virtual void reserved1() = 0;
    virtual void reserved2() = 0;
    virtual void reserved3() = 0;
    virtual ~ITCENode() {}
};

// The root of a material's tree: the material itself; child 0 is the material's top node.
class IRootNode : public ITCENode {
};

// A checker pattern that alternates child 0 and child 1.
class IChessNode : public ITCENode {
public:
    virtual const CScnVector* getOrigin() const = 0;
    virtual void setOrigin(const CScnVector* origin) = 0;
    virtual const CScnVector* getXAxis() const = 0;
    virtual void setXAxis(const CScnVector* axis) = 0;
    virtual const CScnVector* getYAxis() const = 0;
    virtual void setYAxis(const CScnVector* axis) = 0;
    virtual const CScnVector* getZAxis() const = 0;
    virtual void setZAxis(const CScnVector* axis) = 0;
    virtual const CScnVector* getSize() const = 0;
    virtual void setSize(const CScnVector* size) = 0;
    virtual const CScnVector* getProportion() const = 0;
    virtual void setProportion(const CScnVector* proportion) = 0;
    virtual bool isChecker() const = 0;
    virtual void setChecker(bool checker) = 0;
    virtual bool isSmooth() const = 0;
    virtual void setSmooth(bool smooth) = 0;
    // kScnChessCylinder, kScnChessSphere or kScnChessCube; another value makes writing fail.
    virtual int32_t getGeometry() const = 0;
    virtual void setGeometry(int32_t geometry) = 0;
    // The three tables (index 0 to 2), owned by the node; null for another index.
    virtual ITable* getTable(int32_t index) = 0;
};

// Texture mapping of child 0: ten map locations, the mapping frame and the map settings.
class IMappingNode : public ITCENode {
public:
    // The location of a map type (1 to 10); an invalid type reports and answers the empty text.
    virtual const char* getURL(int32_t type) const = 0;
    // An invalid type reports and changes nothing; null stores the empty text.
    virtual void setURL(int32_t type, const char* url) = 0;
    // Whether the node belongs to an outside shader rather than to the material's own mapping.
    virtual bool isShader() const = 0;
    virtual void setShader(bool shader) = 0;
    // The identifiers of other mapping nodes whose maps this one shares.
    virtual int32_t getMapLinkedCount() const = 0;
    // Null after a report for an index out of range.
    virtual const CScnUUID* getMapLinked(int32_t index) const = 0;
    // Refuses (with a report, answering false) the null identifier and one already linked.
    virtual bool addLinkedMap(const CScnUUID* uuid) = 0;
    // Refuses (with a report, answering false) an identifier that is not linked.
    virtual bool removeLinkedMap(const CScnUUID* uuid) = 0;
    virtual const CScnVector* getNormal() const = 0;
    virtual void setNormal(const CScnVector* normal) = 0;
    virtual const CScnVector* getOrigin() const = 0;
    virtual void setOrigin(const CScnVector* origin) = 0;
    virtual const CScnVector* getXAxis() const = 0;
    virtual void setXAxis(const CScnVector* axis) = 0;
    virtual const CScnVector* getYAxis() const = 0;
    virtual void setYAxis(const CScnVector* axis) = 0;
    virtual double getAngle() const = 0;
    virtual void setAngle(double angle) = 0;
    virtual double getWidth() const = 0;
    virtual void setWidth(double width) = 0;
    virtual double getHeight() const = 0;
    virtual void setHeight(double height) = 0;
    virtual double getBump() const = 0;
    virtual void setBump(double bump) = 0;
    virtual double getXCenter() const = 0;
    virtual void setXCenter(double center) = 0;
    virtual double getYCenter() const = 0;
    virtual void setYCenter(double center) = 0;
    virtual double getXDelta() const = 0;
    virtual void setXDelta(double delta) = 0;
    virtual double getYDelta() const = 0;
    virtual void setYDelta(double delta) = 0;
    virtual double getGlossy() const = 0;
    virtual void setGlossy(double glossy) = 0;
    virtual bool isXRepeat() const = 0;
    virtual void setXRepeat(bool repeat) = 0;
    virtual bool isYRepeat() const = 0;
    virtual void setYRepeat(bool repeat) = 0;
    virtual const CScnColor* getSpecularColor() const = 0;
    virtual void setSpecularColor(const CScnColor* color) = 0;
    virtual const CScnColor* getTransparentColor() const = 0;
    virtual void setTransparentColor(const CScnColor* color) = 0;
    virtual const CScnColor* getReflectionColor() const = 0;
    virtual void setReflectionColor(const CScnColor* color) = 0;
    virtual double getReflectionLimit() const = 0;
    virtual void setReflectionLimit(double limit) = 0;
    // The two cut-out colours (index 0 or 1), each with a presence flag; a colour is written only
    // when present. Another index answers null or changes nothing.
    virtual bool hasCutOut(int32_t index) const = 0;
    virtual void setCutOutPresent(int32_t index, bool present) = 0;
    virtual const CScnColor* getCutOut(int32_t index) const = 0;
    virtual void setCutOut(int32_t index, const CScnColor* color) = 0;
    virtual bool isCutSet() const = 0;
    virtual void setCutSet(bool on) = 0;
    virtual bool isCutAlpha() const = 0;
    virtual void setCutAlpha(bool on) = 0;
    virtual bool isXInvert() const = 0;
    virtual void setXInvert(bool on) = 0;
    virtual bool isYInvert() const = 0;
    virtual void setYInvert(bool on) = 0;
    virtual bool isXMirror() const = 0;
    virtual void setXMirror(bool on) = 0;
    virtual bool isYMirror() const = 0;
    virtual void setYMirror(bool on) = 0;
    virtual bool isAlphaBump() const = 0;
    virtual void setAlphaBump(bool on) = 0;
    virtual bool isAlphaTransparency() const = 0;
    virtual void setAlphaTransparency(bool on) = 0;
    // kScnProjectionPlanetary ... kScnProjectionMappingUV; another value makes writing fail.
    virtual int32_t getProjection() const = 0;
    virtual void setProjection(int32_t projection) = 0;
    virtual bool isPlanar() const = 0;
    virtual void setPlanar(bool planar) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isMix() const = 0;
    virtual void setMix(bool mix) = 0;
    virtual const CScnColor* getMixColor() const = 0;
    virtual void setMixColor(const CScnColor* color) = 0;
    virtual double getMixValue() const = 0;
    virtual void setMixValue(double value) = 0;
    virtual double getAngularLODShift() const = 0;
    virtual void setAngularLODShift(double shift) = 0;
    virtual double getLinearLODShift() const = 0;
    virtual void setLinearLODShift(double shift) = 0;
    virtual bool isMIPMap() const = 0;
    virtual void setMIPMap(bool on) = 0;
    virtual bool isTrilinearFilter() const = 0;
    virtual void setTrilinearFilter(bool on) = 0;
    virtual bool isDisplayMode() const = 0;
    virtual void setDisplayMode(bool on) = 0;
    virtual double getBrightness() const = 0;
    virtual void setBrightness(double brightness) = 0;
    virtual double getContrast() const = 0;
    virtual void setContrast(double contrast) = 0;
    virtual int32_t getFrame() const = 0;
    virtual void setFrame(int32_t frame) = 0;
    virtual int32_t getMovieLength() const = 0;
    virtual void setMovieLength(int32_t length) = 0;
    virtual double getNormalMapStrength() const = 0;
    virtual void setNormalMapStrength(double strength) = 0;
    // The node's own mapping identifier and its parent mapping's identifier.
    virtual const CScnUUID* getMappingId() const = 0;
    virtual void setMappingId(const CScnUUID* uuid) = 0;
    virtual const CScnUUID* getParentMappingId() const = 0;
    virtual void setParentMappingId(const CScnUUID* uuid) = 0;
};

// Turbulence that disturbs child 0.
class ITurbulenceNode : public ITCENode {
public:
    virtual const CScnVector* getOrigin() const = 0;
    virtual void setOrigin(const CScnVector* origin) = 0;
    virtual const CScnVector* getAmplitude() const = 0;
    virtual void setAmplitude(const CScnVector* amplitude) = 0;
    virtual const CScnVector* getDirection() const = 0;
    virtual void setDirection(const CScnVector* direction) = 0;
    virtual double getSize() const = 0;
    virtual void setSize(double size) = 0;
    // The node's table, owned by the node.
    virtual ITable* getTable() = 0;
};

// The plain surface parameters at the end of a chain.
class ILeafNode : public ITCENode {
public:
    virtual const CScnColor* getDiffuseColor() const = 0;
    virtual void setDiffuseColor(const CScnColor* color) = 0;
    virtual const CScnColor* getTransparentColor() const = 0;
    virtual void setTransparentColor(const CScnColor* color) = 0;
    virtual const CScnColor* getSpecularColor() const = 0;
    virtual void setSpecularColor(const CScnColor* color) = 0;
    virtual const CScnColor* getReflectionColor() const = 0;
    virtual void setReflectionColor(const CScnColor* color) = 0;
    virtual const CScnColor* getNeonColor() const = 0;
    virtual void setNeonColor(const CScnColor* color) = 0;
    virtual double getNeonValue() const = 0;
    virtual void setNeonValue(double value) = 0;
    virtual double getRefraction() const = 0;
    virtual void setRefraction(double refraction) = 0;
    virtual double getGlossy() const = 0;
    virtual void setGlossy(double glossy) = 0;
    virtual const CScnColor* getEmittingColor() const = 0;
    virtual void setEmittingColor(const CScnColor* color) = 0;
    virtual double getEmittingPower() const = 0;
    virtual void setEmittingPower(double power) = 0;
    virtual double getReflectionLimit() const = 0;
    virtual void setReflectionLimit(double limit) = 0;
};

// A Fresnel blend of child 0.
class IFresnelNode : public ITCENode {
public:
    virtual double getMinReflection() const = 0;
    // Keeps the value within 0 to 1, reporting a value outside.
    virtual void setMinReflection(double value) = 0;
    virtual double getPowerFactor() const = 0;
    virtual void setPowerFactor(double factor) = 0;
};

// Glazing (window glass, water) over child 0.
class IGlazingNode : public ITCENode {
public:
    virtual double getXScale() const = 0;
    virtual void setXScale(double scale) = 0;
    virtual double getYScale() const = 0;
    virtual void setYScale(double scale) = 0;
    virtual double getFlatness() const = 0;
    virtual void setFlatness(double flatness) = 0;
    virtual bool isTiltDetect() const = 0;
    virtual void setTiltDetect(bool on) = 0;
    virtual double getTiltFactor() const = 0;
    virtual void setTiltFactor(double factor) = 0;
    virtual bool isAnimation() const = 0;
    virtual void setAnimation(bool on) = 0;
    virtual double getSpeed() const = 0;
    virtual void setSpeed(double speed) = 0;
};

// A node of an outside shader: opaque XML under a "Custom.Data" element whose "Class" attribute
// names the shader, and any number of children.
class ICustomNode : public ITCENode {
public:
    // The "Class" attribute; empty after a report when the data lost it.
    virtual const char* getClass() const = 0;
    // Sets the "Class" attribute (null stores the empty text); reports when the data lost it.
    virtual void setClass(const char* name) = 0;
    // The node's "Custom.Data" element, which the client may fill; owned by the node.
    virtual NuvoraXML::XIXMLElement* getData() = 0;
    // Replaces the data by a copy of a "Custom.Data" element that has a "Class" attribute; false
    // after a report for any other element.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
};

// The shader side of a material: the shader it comes from and the tree.
class CScnTCE {
public:
    // The location of the outside shader; never null.
    virtual const char* GetURL() const = 0;
    // Null stores the empty text.
    virtual void SetURL(const char* url) = 0;
    // The outside shader's identifier; zero when there is none.
    virtual const CScnUUID* GetShaderId() const = 0;
    virtual void SetShaderId(const CScnUUID* uuid) = 0;
    // The outside shader's name in several languages, owned by the material.
    virtual IScnString* GetShaderName() = 0;
    virtual const IScnString* GetShaderName() const = 0;
    // The root node (the material itself); child 0 is the top of the tree.
    virtual IRootNode* GetRoot() = 0;
    virtual const IRootNode* GetRoot() const = 0;
    // A new node of a kind (eChessNode ... eCustomNode) with one reference, which the caller owns,
    // bound to this material; null after a report for eRootNode or an unknown kind.
    virtual ITCENode* createNode(int32_t kind) = 0;
    // Reserved; a call stops the process with the obsolete-library message.
    virtual void reserved1() = 0;
    virtual void reserved2() = 0;
    virtual void reserved3() = 0;

protected:
    ~CScnTCE() {}
};

// A material: a name, a few render flags and a shader tree, plus a simple-material façade over the
// first leaf and the first own mapping node of the tree's chain of first children. Façade getters
// answer defaults when the node is absent; façade setters create it (see each operation).
class CScnProperty {
public:
    // The material's name; never null. Null stores the empty text.
    virtual const char* getName() const = 0;
    virtual void setName(const char* name) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isCastShadow() const = 0;
    virtual void setCastShadow(bool cast) = 0;
    // Smoothing of the surface; the setter keeps it within 0.01 to 1.
    virtual double getSmooth() const = 0;
    virtual void setSmooth(double smooth) = 0;
    // Texture scale; the setter stores a negative value as 0.
    virtual double getScale() const = 0;
    virtual void setScale(double scale) = 0;
    virtual bool isBillboard() const = 0;
    virtual void setBillboard(bool billboard) = 0;
    // The material's identity, fresh at creation.
    virtual const CScnUUID* getUUID() const = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    // The overload index of the rendering application, fresh at creation.
    virtual const CScnUUID* getOverloadPropertyIndex() const = 0;
    virtual void setOverloadPropertyIndex(const CScnUUID* uuid) = 0;
    // The material this one overloads; zero when none.
    virtual const CScnUUID* getOverloadId() const = 0;
    virtual void setOverloadId(const CScnUUID* uuid) = 0;
    virtual bool isReceiveShadow() const = 0;
    virtual void setReceiveShadow(bool receive) = 0;
    // Whether the polygons using the material carry their own mapping coordinates.
    virtual bool isUVDefined() const = 0;
    virtual void setUVDefined(bool defined) = 0;
    // A value kept for the user interface of the rendering application.
    virtual int32_t getUIValue() const = 0;
    virtual void setUIValue(int32_t value) = 0;
    // The shader side of the material.
    virtual CScnTCE* getTCE() = 0;
    virtual const CScnTCE* getTCE() const = 0;
    // Appends a "Property" element under parent and answers it; null after a report on failure.
    virtual NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) = 0;
    // Reads the material from a "Property" element; false after a report on failure, the tree
    // kept when the failure comes before the new one is complete.
    virtual bool initWithXML(NuvoraXML::XIXMLElement* element) = 0;
    // Copies another material's settings and a deep copy of its tree (the nodes keeping their
    // identifiers); the own identifier and UI value stay. Null changes nothing.
    virtual void copyFrom(const CScnProperty* other) = 0;

    // Façade, texture: the location of the diffuse map of the mapping; empty without mapping. The
    // setter creates the mapping when there is none.
    virtual const char* getTextureURL() const = 0;
    virtual void setTextureURL(const char* url) = 0;
    // The location of any map type (1 to 10) of the mapping; empty without mapping or for an
    // invalid type. The setter creates the mapping when there is none.
    virtual const char* getMapURL(int32_t type) const = 0;
    virtual void setMapURL(int32_t type, const char* url) = 0;
    // The projection in the façade's numbering (kScnFacadeOrthogonal ...);
    // kScnFacadeNoProjection without mapping. The setter ignores a value outside the numbering
    // and otherwise creates the mapping when there is none.
    virtual int32_t getProjection() const = 0;
    virtual void setProjection(int32_t projection) = 0;
    // The mapping frame: origin, X axis and Y axis; false without mapping (nothing written). Null
    // pointers are skipped.
    virtual bool getMappingFrame(CScnVector* origin, CScnVector* xAxis, CScnVector* yAxis) const = 0;
    // Stores the frame (creating the mapping); when X axis x Y axis has a squared length above
    // 2^-23 the mapping normal becomes that product normalised, otherwise it stays. Null
    // arguments change nothing.
    virtual void setMappingFrame(const CScnVector* origin, const CScnVector* xAxis, const CScnVector* yAxis) = 0;
    // The mapping normal; false without mapping.
    virtual bool getMappingNormal(CScnVector* normal) const = 0;
    // The mapping's repeat flags; false without mapping.
    virtual bool getRepeat(bool* xRepeat, bool* yRepeat) const = 0;
    virtual void setRepeat(bool xRepeat, bool yRepeat) = 0;
    // The mapping's size; false without mapping.
    virtual bool getMappingSize(double* width, double* height) const = 0;
    virtual void setMappingSize(double width, double height) = 0;
    // The mapping's angle; false without mapping.
    virtual bool getMappingAngle(double* angle) const = 0;
    virtual void setMappingAngle(double angle) = 0;
    // The mapping's colours; false without mapping.
    virtual bool getMappingSpecularColor(CScnColor* color) const = 0;
    virtual void setMappingSpecularColor(const CScnColor* color) = 0;
    virtual bool getMappingTransparentColor(CScnColor* color) const = 0;
    virtual void setMappingTransparentColor(const CScnColor* color) = 0;
    virtual bool getMappingReflectionColor(CScnColor* color) const = 0;
    virtual void setMappingReflectionColor(const CScnColor* color) = 0;
    // The mapping's bump; false without mapping.
    virtual bool getMappingBump(double* bump) const = 0;
    virtual void setMappingBump(double bump) = 0;
    // Façade, leaf: colours (diffuse 100, 100, 100 and black without leaf); setters create the
    // leaf when there is none.
    virtual CScnColor getDiffuseColor() const = 0;
    virtual void setDiffuseColor(const CScnColor* color) = 0;
    virtual CScnColor getSpecularColor() const = 0;
    virtual void setSpecularColor(const CScnColor* color) = 0;
    virtual CScnColor getTransparentColor() const = 0;
    virtual void setTransparentColor(const CScnColor* color) = 0;
    virtual CScnColor getReflectionColor() const = 0;
    virtual void setReflectionColor(const CScnColor* color) = 0;
    virtual CScnColor getNeonColor() const = 0;
    virtual void setNeonColor(const CScnColor* color) = 0;
    virtual CScnColor getEmittingColor() const = 0;
    virtual void setEmittingColor(const CScnColor* color) = 0;
    // Leaf reals (glossy 6, the others 0 without leaf).
    virtual double getGlossy() const = 0;
    virtual void setGlossy(double glossy) = 0;
    virtual double getNeonValue() const = 0;
    virtual void setNeonValue(double value) = 0;
    virtual double getRefraction() const = 0;
    virtual void setRefraction(double refraction) = 0;
    virtual double getReflectionLimit() const = 0;
    virtual void setReflectionLimit(double limit) = 0;
    virtual double getEmittingPower() const = 0;
    virtual void setEmittingPower(double power) = 0;
    // Transparency 0 to 1 as the grey level of the leaf's transparent colour (the mean of its
    // channels over 255); the setter clamps into 0 to 1 and stores the grey round(t * 255).
    virtual double getTransparency() const = 0;
    virtual void setTransparency(double transparency) = 0;
    // The nodes the façade works on, null when absent (no node is created).
    virtual ILeafNode* findLeaf() = 0;
    virtual IMappingNode* findMapping() = 0;
    // Whether the tree has a leaf, a mapping node of the material's own.
    virtual bool hasLeaf() const = 0;
    virtual bool hasMapping() const = 0;
    // Releases the whole tree: the root is left without child.
    virtual void clearShader() = 0;
    // Reserved; a call stops the process with the obsolete-library message.
    virtual void reserved1() = 0;
    virtual void reserved2() = 0;
    virtual void reserved3() = 0;
    // Materials are destroyed by their list or owner only.
    virtual ~CScnProperty() {}
};

}  // namespace NvScn

#endif
