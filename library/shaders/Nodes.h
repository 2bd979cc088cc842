// Shader nodes: the common node part, the seven node kinds with their field lists, and the tables.
// Trees are walked without recursion (writing, reading, copying, freeing), so that a document
// cannot exhaust the stack however deep its nodes nest.
#ifndef SCN_SHADERS_NODES_H
#define SCN_SHADERS_NODES_H

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "ScnShaders.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Uuid.h"
#include "platform/Platform.h"
#include "shaders/RefCount.h"

namespace NvScn {

class CXMLFragment;

// Labels of the node kinds ("Root" ... "Custom"), the chess geometries, the map types ("Refletion"
// read as "Reflection") and the mapping projections.
extern const LabelTable kNodeKinds;
extern const LabelTable kChessGeometries;
extern const LabelTable kMapTypes;
extern const LabelTable kProjections;

// A table of 32-bit reals.
class CNodeTable final : public TScnRefCount<TScnFrontier<ITable>> {
public:
    CNodeTable() = default;
    // A copy of another table's count and values.
    explicit CNodeTable(const CNodeTable& other) : TScnRefCount(), mValues(other.mValues) {}

    int32_t GetCount() const override { return static_cast<int32_t>(mValues.size()); }
    void SetCount(int32_t count) override { mValues.resize(count > 0 ? static_cast<size_t>(count) : 0u, 0.0f); }
    float GetValue(int32_t index) const override
    {
        return index >= 0 && static_cast<size_t>(index) < mValues.size() ? mValues[index] : 0.0f;
    }
    void SetValue(int32_t index, float value) override
    {
        if (index >= 0 && static_cast<size_t>(index) < mValues.size()) {
            mValues[index] = value;
        }
    }
    void reserved1() override { Nuvora::obsoleteLibraryStop(); }
    void reserved2() override { Nuvora::obsoleteLibraryStop(); }
    void reserved3() override { Nuvora::obsoleteLibraryStop(); }

    std::vector<float>& values() { return mValues; }
    const std::vector<float>& values() const { return mValues; }

private:
    std::vector<float> mValues;
};

// A node's table as a field: a child element with the attribute "Length" and one "Float" per value.
// The node holds one reference on the table for its whole life.
class CTableField {
public:
    CTableField();
    ~CTableField();
    CTableField(const CTableField&) = delete;
    CTableField& operator=(const CTableField&) = delete;

    CNodeTable* table() const { return mTable; }
    void copyFrom(const CTableField& other) { mTable->values() = other.mTable->values(); }

    void setDefault() { mTable->values().clear(); }
    void write(NuvoraXML::XIXMLElement* parent, const char* name) const;
    // Reads the "Float" values; a "Length" that differs from their count fails (assertion form).
    void read(NuvoraXML::XIXMLElement* element, const CSCN* scene);
    std::string text() const;
    void vary(int step);

private:
    CNodeTable* mTable;
};

// The ten map locations of a mapping node as one field: the "Maps" element holds one "URL" per
// type whose location is not empty, its "Type" attribute naming the type; always written.
struct CMapURLs {
    static constexpr int kCount = 10;
    std::string urls[kCount];

    void copyFrom(const CMapURLs& other) { *this = other; }
    void setDefault();
    void write(NuvoraXML::XIXMLElement* parent, const char* name) const;
    void read(NuvoraXML::XIXMLElement* element, const CSCN* scene);
    std::string text() const;
    void vary(int step);
};

// The linked maps of a mapping node: "Maps.Linked" with one "Map.Node" per identifier (attribute
// "Id"), written only when a map is linked. Reading passes over the null identifier and repeats,
// which a client could not link either.
struct CLinkedMaps {
    std::vector<CScnUUID> uuids;

    void copyFrom(const CLinkedMaps& other) { *this = other; }
    void setDefault() { uuids.clear(); }
    void write(NuvoraXML::XIXMLElement* parent, const char* name) const;
    void read(NuvoraXML::XIXMLElement* element, const CSCN* scene);
    std::string text() const;
    void vary(int step);
    bool contains(const CScnUUID& uuid) const;
};

class CTCENode;

// The walks over whole trees, all without recursion.
namespace NodeTrees {
// Writes node with its subtree as a child element named name of parent; answers the element.
// Fails on a node met again below itself.
NuvoraXML::XIXMLElement* write(CTCENode& node, NuvoraXML::XIXMLElement* parent, const char* name);
// Reads a "Node" element with its subtree into a new tree holding one reference, bound to reporter
// (the material's owner, for the reports of the nodes). On failure the partial tree is freed and
// the exception passes on.
CTCENode* read(NuvoraXML::XIXMLElement* element, const CSCN* scene, CBaseObjectMgr* reporter);
// A deep copy of node and its subtree (each copy keeping its original's identifier) holding one
// reference, bound to reporter.
CTCENode* copy(const CTCENode& node, CBaseObjectMgr* reporter);
// A new node of a kind (1 to 7) holding no reference, or null for another kind.
CTCENode* make(int32_t kind, CBaseObjectMgr* reporter);
// One line per node in depth-first order: depth, kind, identifier, UI value, then the node's
// fields; equal texts mean equal trees.
std::string dump(const CTCENode& node);
}  // namespace NodeTrees

// The common part of every node: identity, parent, children (each holding one reference) and the
// UI value. The children of a node that dies are released without recursion.
class CTCENode {
public:
    CTCENode(const CTCENode&) = delete;
    CTCENode& operator=(const CTCENode&) = delete;

    // The node as its public interface.
    virtual ITCENode* node() = 0;
    virtual const ITCENode* node() const = 0;
    virtual int32_t kind() const = 0;
    // The material object of a root node, null for the other kinds.
    virtual const CScnObject* material() const { return nullptr; }
    // The fields of the kind: XML, copy and dump (none for a root).
    virtual void writeFields(NuvoraXML::XIXMLElement*) {}
    virtual void readFields(NuvoraXML::XIXMLElement*, const CSCN*) {}
    virtual void copyFieldsFrom(const CTCENode&) {}
    virtual std::string dumpFields() { return std::string(); }

    // The node an ITCENode of this library stands for, null for a foreign implementation.
    static CTCENode* of(ITCENode* node);
    static const CTCENode* of(const ITCENode* node);

    CTCENode* parent() const { return mParent; }
    const std::vector<CTCENode*>& children() const { return mChildren; }
    const CScnUUID& uuid() const { return mUUID; }
    int32_t uiValue() const { return mUIValue; }
    void setUUIDValue(const CScnUUID& uuid) { mUUID = uuid; }
    void setUIValueValue(int32_t value) { mUIValue = value; }
    CBaseObjectMgr* reporter() const { return mReporter; }
    void setReporter(CBaseObjectMgr* reporter) { mReporter = reporter; }

    // Sends a report to the feedback of the manager that owns the material of the node's tree:
    // the material found by walking up the parents, else the one the node was made for.
    void reportToMaterial(const char* text) const;

    // The operations of ITCENode.
    int32_t childCount() const { return static_cast<int32_t>(mChildren.size()); }
    CTCENode* child(int32_t index) const
    {
        return index >= 0 && index < childCount() ? mChildren[static_cast<size_t>(index)] : nullptr;
    }
    void setParentNode(CTCENode* parent) { mParent = parent; }
    // index equal to the count appends; a smaller one replaces. Refuses a node whose tree holds
    // this one (the tree would become a cycle).
    void setChild(int32_t index, CTCENode* node);
    void addChild(CTCENode* node) { setChild(childCount(), node); }
    void removeChild(int32_t index);
    // Releases every child (the material's tree), without recursion.
    void releaseChildren();

    // Reference counting through the interface, for the tree walks.
    virtual int32_t addReference() = 0;
    // Removes a reference without destroying; answers the new count.
    virtual int32_t dropReference() = 0;
    // Destroys the node (its children must have been let go).
    virtual void destroy() = 0;

    // Mark of the tree walks: set while the node is on the walk's path.
    bool mOnPath = false;

protected:
    explicit CTCENode(CBaseObjectMgr* reporter);
    virtual ~CTCENode();

private:
    friend CTCENode* NodeTrees::read(NuvoraXML::XIXMLElement*, const CSCN*, CBaseObjectMgr*);
    friend CTCENode* NodeTrees::copy(const CTCENode&, CBaseObjectMgr*);
    // Appends a child without the cycle check (the walks make fresh nodes), taking a reference.
    void appendFresh(CTCENode* node);
    // Whether node is this one or holds it in its tree.
    bool wouldCycle(CTCENode* node) const;

    CScnUUID mUUID;
    CTCENode* mParent;
    std::vector<CTCENode*> mChildren;
    int32_t mUIValue;
    CBaseObjectMgr* mReporter;
};

// The ITCENode operations of a node of interface I, over the common part.
template <class I>
class TTCENode : public TScnRefCount<TScnFrontier<I>>, public CTCENode {
public:
    explicit TTCENode(CBaseObjectMgr* reporter) : CTCENode(reporter) {}

    ITCENode* node() override { return this; }
    const ITCENode* node() const override { return this; }

    ITCENode* GetParent() override { return parent() != nullptr ? parent()->node() : nullptr; }
    void SetParent(ITCENode* parentNode) override { setParentNode(CTCENode::of(parentNode)); }
    int32_t GetChildCount() const override { return childCount(); }
    ITCENode* GetChild(int32_t index) override
    {
        CTCENode* found = child(index);
        return found != nullptr ? found->node() : nullptr;
    }
    const ITCENode* GetChild(int32_t index) const override
    {
        const CTCENode* found = child(index);
        return found != nullptr ? found->node() : nullptr;
    }
    void SetChild(int32_t index, ITCENode* childNode) override { setChild(index, CTCENode::of(childNode)); }
    void AddChild(ITCENode* childNode) override { addChild(CTCENode::of(childNode)); }
    void RemoveChild(int32_t index) override { removeChild(index); }
    const CScnUUID* GetUUID() const override { return &uuid(); }
    void SetUUID(const CScnUUID* value) override
    {
        if (value != nullptr) {
            setUUIDValue(*value);
        }
    }
    int32_t GetUIValue() const override { return uiValue(); }
    void SetUIValue(int32_t value) override { setUIValueValue(value); }
    int32_t GetKind() const override { return kind(); }
    void* AsUnused0() override { return nullptr; }
    IChessNode* AsChess() override { return nullptr; }
    IMappingNode* AsMapping() override { return nullptr; }
    ITurbulenceNode* AsTurbulence() override { return nullptr; }
    ILeafNode* AsLeaf() override { return nullptr; }
    IFresnelNode* AsFresnel() override { return nullptr; }
    IGlazingNode* AsGlazing() override { return nullptr; }
    ICustomNode* AsCustom() override { return nullptr; }
    void* AsUnused8() override { return nullptr; }
    void* AsUnused9() override { return nullptr; }
    void* AsUnused10() override { return nullptr; }
    void* AsUnused11() override { return nullptr; }
    void reserved1() override { Nuvora::obsoleteLibraryStop(); }
    void reserved2() override { Nuvora::obsoleteLibraryStop(); }
    void reserved3() override { Nuvora::obsoleteLibraryStop(); }

    int32_t addReference() override { return this->AddRef(); }
    int32_t dropReference() override { return --this->mRefCount; }
    void destroy() override { delete this; }
};

// Copies the fields of one object to another of the same kind: a first visit of the source takes
// the fields' addresses, a second one of the target assigns them in the same order (a value with
// its own form copies with copyFrom).
class FieldCopy {
public:
    void startApplying() { mApplying = true; }

    template <class... O>
    void flag(const char*, bool& value, bool, const O&...) { take(value); }
    template <class T, class... O>
    void integer(const char*, T& value, T, const O&...) { take(value); }
    template <class... O>
    void real(const char*, double& value, double, const O&...) { take(value); }
    template <class... O>
    void label(const char*, int32_t& value, const LabelTable&, int32_t, const O&...) { take(value); }
    template <class... O>
    void identifier(const char*, CScnUUID& value, const CScnUUID&, const O&...) { take(value); }
    template <class... O>
    void vector(const char*, CScnVector& value, const CScnVector&, const O&...) { take(value); }
    template <class... O>
    void color(const char*, CScnColor& value, const CScnColor&, const O&...) { take(value); }
    template <class... O>
    void presentColor(const char*, bool& present, CScnColor& value, const CScnColor&, const O&...)
    {
        take(present);
        take(value);
    }
    template <class Value, class... O>
    void ownForm(const char*, Value& value, const O&...) { take(value); }

private:
    template <class T>
    void take(T& value)
    {
        if (!mApplying) {
            mFields.push_back(&value);
            return;
        }
        const T& source = *static_cast<const T*>(mFields.at(mNext++));
        if constexpr (std::is_class<T>::value && !std::is_same<T, CScnVector>::value &&
                      !std::is_same<T, CScnColor>::value && !std::is_same<T, CScnUUID>::value) {
            value.copyFrom(source);
        } else {
            value = source;
        }
    }

    std::vector<const void*> mFields;
    size_t mNext = 0;
    bool mApplying = false;
};

// A node kind whose fields are the field list of Self.
template <class I, class Self>
class TKindNode : public TTCENode<I> {
public:
    explicit TKindNode(CBaseObjectMgr* reporter) : TTCENode<I>(reporter) {}

    void writeFields(NuvoraXML::XIXMLElement* element) override
    {
        FieldWriter writer(element);
        self().visitFields(writer);
    }
    void readFields(NuvoraXML::XIXMLElement* element, const CSCN* scene) override
    {
        FieldReader reader(element, scene);
        self().visitFields(reader);
    }
    std::string dumpFields() override { return NvScn::dumpFields(self()); }
    // other is a node of the same kind.
    void copyFieldsFrom(const CTCENode& other) override
    {
        FieldCopy copy;
        const_cast<Self&>(static_cast<const Self&>(other)).visitFields(copy);
        copy.startApplying();
        self().visitFields(copy);
    }

protected:
    Self& self() { return static_cast<Self&>(*this); }
};

// A checker pattern of child 0 ("Node") and child 1 ("SecondNode").
class CChessNode final : public TKindNode<IChessNode, CChessNode> {
public:
    explicit CChessNode(CBaseObjectMgr* reporter);

    int32_t kind() const override { return eChessNode; }
    IChessNode* AsChess() override { return this; }

    const CScnVector* getOrigin() const override { return &mOrigin; }
    void setOrigin(const CScnVector* v) override { storeIfGiven(mOrigin, v); }
    const CScnVector* getXAxis() const override { return &mXAxis; }
    void setXAxis(const CScnVector* v) override { storeIfGiven(mXAxis, v); }
    const CScnVector* getYAxis() const override { return &mYAxis; }
    void setYAxis(const CScnVector* v) override { storeIfGiven(mYAxis, v); }
    const CScnVector* getZAxis() const override { return &mZAxis; }
    void setZAxis(const CScnVector* v) override { storeIfGiven(mZAxis, v); }
    const CScnVector* getSize() const override { return &mSize; }
    void setSize(const CScnVector* v) override { storeIfGiven(mSize, v); }
    const CScnVector* getProportion() const override { return &mProportion; }
    void setProportion(const CScnVector* v) override { storeIfGiven(mProportion, v); }
    bool isChecker() const override { return mChecker; }
    void setChecker(bool on) override { mChecker = on; }
    bool isSmooth() const override { return mSmooth; }
    void setSmooth(bool on) override { mSmooth = on; }
    int32_t getGeometry() const override { return mGeometry; }
    void setGeometry(int32_t geometry) override { mGeometry = geometry; }
    ITable* getTable(int32_t index) override;

    // The parameters, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.vector("Origin", mOrigin, CScnVector{0, 0, 0});
        v.vector("X.Axis", mXAxis, CScnVector{1, 0, 0}, kDirection);
        v.vector("Y.Axis", mYAxis, CScnVector{0, 1, 0}, kDirection);
        v.vector("Z.Axis", mZAxis, CScnVector{0, 0, 1}, kDirection);
        v.vector("Size", mSize, CScnVector{100, 100, 100}, kNoFixUp);
        v.vector("Proportion", mProportion, CScnVector{0.5, 0.5, 0.5}, kNoFixUp);
        v.flag("Checker", mChecker, true);
        v.flag("Smooth", mSmooth, false);
        v.label("Geometry", mGeometry, kChessGeometries, kScnChessCube);
        v.ownForm("Table1", mTables[0]);
        v.ownForm("Table2", mTables[1]);
        v.ownForm("Table3", mTables[2]);
    }

private:
    CScnVector mOrigin;
    CScnVector mXAxis;
    CScnVector mYAxis;
    CScnVector mZAxis;
    CScnVector mSize;
    CScnVector mProportion;
    bool mChecker;
    bool mSmooth;
    int32_t mGeometry;
    CTableField mTables[3];
};

// The values of a mapping node other than its tables of maps.
class CMappingNode final : public TKindNode<IMappingNode, CMappingNode> {
public:
    explicit CMappingNode(CBaseObjectMgr* reporter);

    int32_t kind() const override { return eMappingNode; }
    IMappingNode* AsMapping() override { return this; }

    const char* getURL(int32_t type) const override;
    void setURL(int32_t type, const char* url) override;
    bool isShader() const override { return mShader; }
    void setShader(bool shader) override { mShader = shader; }
    int32_t getMapLinkedCount() const override { return static_cast<int32_t>(mLinked.uuids.size()); }
    const CScnUUID* getMapLinked(int32_t index) const override;
    bool addLinkedMap(const CScnUUID* uuid) override;
    bool removeLinkedMap(const CScnUUID* uuid) override;
    const CScnVector* getNormal() const override { return &mNormal; }
    void setNormal(const CScnVector* v) override { storeIfGiven(mNormal, v); }
    const CScnVector* getOrigin() const override { return &mOrigin; }
    void setOrigin(const CScnVector* v) override { storeIfGiven(mOrigin, v); }
    const CScnVector* getXAxis() const override { return &mXAxis; }
    void setXAxis(const CScnVector* v) override { storeIfGiven(mXAxis, v); }
    const CScnVector* getYAxis() const override { return &mYAxis; }
    void setYAxis(const CScnVector* v) override { storeIfGiven(mYAxis, v); }
    double getAngle() const override { return mAngle; }
    void setAngle(double value) override { mAngle = value; }
    double getWidth() const override { return mWidth; }
    void setWidth(double value) override { mWidth = value; }
    double getHeight() const override { return mHeight; }
    void setHeight(double value) override { mHeight = value; }
    double getBump() const override { return mBump; }
    void setBump(double value) override { mBump = value; }
    double getXCenter() const override { return mXCenter; }
    void setXCenter(double value) override { mXCenter = value; }
    double getYCenter() const override { return mYCenter; }
    void setYCenter(double value) override { mYCenter = value; }
    double getXDelta() const override { return mXDelta; }
    void setXDelta(double value) override { mXDelta = value; }
    double getYDelta() const override { return mYDelta; }
    void setYDelta(double value) override { mYDelta = value; }
    double getGlossy() const override { return mGlossy; }
    void setGlossy(double value) override { mGlossy = value; }
    bool isXRepeat() const override { return mXRepeat; }
    void setXRepeat(bool on) override { mXRepeat = on; }
    bool isYRepeat() const override { return mYRepeat; }
    void setYRepeat(bool on) override { mYRepeat = on; }
    const CScnColor* getSpecularColor() const override { return &mSpecular; }
    void setSpecularColor(const CScnColor* c) override { storeIfGiven(mSpecular, c); }
    const CScnColor* getTransparentColor() const override { return &mTransparent; }
    void setTransparentColor(const CScnColor* c) override { storeIfGiven(mTransparent, c); }
    const CScnColor* getReflectionColor() const override { return &mReflection; }
    void setReflectionColor(const CScnColor* c) override { storeIfGiven(mReflection, c); }
    double getReflectionLimit() const override { return mReflectionLimit; }
    void setReflectionLimit(double value) override { mReflectionLimit = value; }
    bool hasCutOut(int32_t index) const override { return index == 0 ? mCutOut1Present : index == 1 && mCutOut2Present; }
    void setCutOutPresent(int32_t index, bool present) override;
    const CScnColor* getCutOut(int32_t index) const override;
    void setCutOut(int32_t index, const CScnColor* color) override;
    bool isCutSet() const override { return mCutSet; }
    void setCutSet(bool on) override { mCutSet = on; }
    bool isCutAlpha() const override { return mCutAlpha; }
    void setCutAlpha(bool on) override { mCutAlpha = on; }
    bool isXInvert() const override { return mXInvert; }
    void setXInvert(bool on) override { mXInvert = on; }
    bool isYInvert() const override { return mYInvert; }
    void setYInvert(bool on) override { mYInvert = on; }
    bool isXMirror() const override { return mXMirror; }
    void setXMirror(bool on) override { mXMirror = on; }
    bool isYMirror() const override { return mYMirror; }
    void setYMirror(bool on) override { mYMirror = on; }
    bool isAlphaBump() const override { return mAlphaBump; }
    void setAlphaBump(bool on) override { mAlphaBump = on; }
    bool isAlphaTransparency() const override { return mAlphaTransparency; }
    void setAlphaTransparency(bool on) override { mAlphaTransparency = on; }
    int32_t getProjection() const override { return mProjection; }
    void setProjection(int32_t projection) override { mProjection = projection; }
    bool isPlanar() const override { return mPlanar; }
    void setPlanar(bool on) override { mPlanar = on; }
    bool isVisible() const override { return mVisible; }
    void setVisible(bool on) override { mVisible = on; }
    bool isMix() const override { return mMix; }
    void setMix(bool on) override { mMix = on; }
    const CScnColor* getMixColor() const override { return &mMixColor; }
    void setMixColor(const CScnColor* c) override { storeIfGiven(mMixColor, c); }
    double getMixValue() const override { return mMixValue; }
    void setMixValue(double value) override { mMixValue = value; }
    double getAngularLODShift() const override { return mAngularLODShift; }
    void setAngularLODShift(double value) override { mAngularLODShift = value; }
    double getLinearLODShift() const override { return mLinearLODShift; }
    void setLinearLODShift(double value) override { mLinearLODShift = value; }
    bool isMIPMap() const override { return mMIPMap; }
    void setMIPMap(bool on) override { mMIPMap = on; }
    bool isTrilinearFilter() const override { return mTrilinearFilter; }
    void setTrilinearFilter(bool on) override { mTrilinearFilter = on; }
    bool isDisplayMode() const override { return mDisplayMode; }
    void setDisplayMode(bool on) override { mDisplayMode = on; }
    double getBrightness() const override { return mBrightness; }
    void setBrightness(double value) override { mBrightness = value; }
    double getContrast() const override { return mContrast; }
    void setContrast(double value) override { mContrast = value; }
    int32_t getFrame() const override { return mFrame; }
    void setFrame(int32_t frame) override { mFrame = frame; }
    int32_t getMovieLength() const override { return mMovieLength; }
    void setMovieLength(int32_t length) override { mMovieLength = length; }
    double getNormalMapStrength() const override { return mNormalMapStrength; }
    void setNormalMapStrength(double value) override { mNormalMapStrength = value; }
    const CScnUUID* getMappingId() const override { return &mMappingId; }
    void setMappingId(const CScnUUID* uuid) override { storeIfGiven(mMappingId, uuid); }
    const CScnUUID* getParentMappingId() const override { return &mParentMappingId; }
    void setParentMappingId(const CScnUUID* uuid) override { storeIfGiven(mParentMappingId, uuid); }

    // The parameters, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.ownForm("Maps", mMaps);
        v.flag("Shader", mShader, false);
        v.ownForm("Maps.Linked", mLinked, kOptional);
        v.vector("Normal", mNormal, CScnVector{0, 0, 1}, kDirection);
        v.vector("Origin", mOrigin, CScnVector{0, 0, 0});
        v.vector("X.Axis", mXAxis, CScnVector{1, 0, 0}, kDirection);
        v.vector("Y.Axis", mYAxis, CScnVector{0, 1, 0}, kDirection);
        v.real("Angle", mAngle, 0.0);
        v.real("Width", mWidth, 100.0);
        v.real("Height", mHeight, 100.0);
        v.real("Bump", mBump, 0.0);
        v.real("X.Center", mXCenter, 0.0);
        v.real("Y.Center", mYCenter, 0.0);
        v.real("X.Delta", mXDelta, 0.0);
        v.real("Y.Delta", mYDelta, 0.0);
        v.real("Glossy", mGlossy, 0.0);
        v.flag("X.Repeat", mXRepeat, true);
        v.flag("Y.Repeat", mYRepeat, true);
        v.color("Specular", mSpecular, CScnColor{0, 0, 0, 0});
        v.color("Transparent", mTransparent, CScnColor{0, 0, 0, 0});
        v.color("Reflection", mReflection, CScnColor{0, 0, 0, 0});
        v.real("Reflection.Limit", mReflectionLimit, 0.0);
        v.presentColor("CutOut1", mCutOut1Present, mCutOut1, CScnColor{0, 0, 0, 0});
        v.presentColor("CutOut2", mCutOut2Present, mCutOut2, CScnColor{0, 0, 0, 0});
        v.flag("CutSet", mCutSet, false);
        v.flag("CutAlpha", mCutAlpha, false);
        v.flag("X.Invert", mXInvert, false);
        v.flag("Y.Invert", mYInvert, false);
        v.flag("X.Mirror", mXMirror, false);
        v.flag("Y.Mirror", mYMirror, false);
        v.flag("Alpha.Bump", mAlphaBump, false);
        v.flag("Alpha.Transparency", mAlphaTransparency, false);
        v.label("Projection", mProjection, kProjections, kScnProjectionOrthogonal);
        v.flag("Planar", mPlanar, false);
        v.flag("Visible", mVisible, true);
        v.flag("Mix", mMix, false);
        v.color("Mix.Color", mMixColor, CScnColor{0, 0, 0, 0});
        v.real("Mix.Value", mMixValue, 0.0);
        v.real("Angular.LOD.Shift", mAngularLODShift, 0.0);
        v.real("Linear.LOD.Shift", mLinearLODShift, 0.0);
        v.flag("MIPMAP", mMIPMap, true);
        v.flag("Trilinear.Filter", mTrilinearFilter, false);
        v.flag("Display.Mode", mDisplayMode, false);
        v.real("Brightness", mBrightness, 0.0);
        v.real("Contrast", mContrast, 0.0);
        v.integer("Frame", mFrame, 0);
        v.integer("Movie.Length", mMovieLength, 0);
        v.real("Normal.Map", mNormalMapStrength, 1.0);
        v.identifier("MappingNode.Id", mMappingId, kNullUuid, kFresh);
        v.identifier("MappingNode.Parent.Id", mParentMappingId, kNullUuid);
    }

private:
    CMapURLs mMaps;
    bool mShader;
    CLinkedMaps mLinked;
    CScnVector mNormal;
    CScnVector mOrigin;
    CScnVector mXAxis;
    CScnVector mYAxis;
    double mAngle;
    double mWidth;
    double mHeight;
    double mBump;
    double mXCenter;
    double mYCenter;
    double mXDelta;
    double mYDelta;
    double mGlossy;
    bool mXRepeat;
    bool mYRepeat;
    CScnColor mSpecular;
    CScnColor mTransparent;
    CScnColor mReflection;
    double mReflectionLimit;
    bool mCutOut1Present;
    CScnColor mCutOut1;
    bool mCutOut2Present;
    CScnColor mCutOut2;
    bool mCutSet;
    bool mCutAlpha;
    bool mXInvert;
    bool mYInvert;
    bool mXMirror;
    bool mYMirror;
    bool mAlphaBump;
    bool mAlphaTransparency;
    int32_t mProjection;
    bool mPlanar;
    bool mVisible;
    bool mMix;
    CScnColor mMixColor;
    double mMixValue;
    double mAngularLODShift;
    double mLinearLODShift;
    bool mMIPMap;
    bool mTrilinearFilter;
    bool mDisplayMode;
    double mBrightness;
    double mContrast;
    int32_t mFrame;
    int32_t mMovieLength;
    double mNormalMapStrength;
    CScnUUID mMappingId;
    CScnUUID mParentMappingId;
};

// Turbulence over child 0.
class CTurbulenceNode final : public TKindNode<ITurbulenceNode, CTurbulenceNode> {
public:
    explicit CTurbulenceNode(CBaseObjectMgr* reporter);

    int32_t kind() const override { return eTurbulenceNode; }
    ITurbulenceNode* AsTurbulence() override { return this; }

    const CScnVector* getOrigin() const override { return &mOrigin; }
    void setOrigin(const CScnVector* v) override { storeIfGiven(mOrigin, v); }
    const CScnVector* getAmplitude() const override { return &mAmplitude; }
    void setAmplitude(const CScnVector* v) override { storeIfGiven(mAmplitude, v); }
    const CScnVector* getDirection() const override { return &mDirection; }
    void setDirection(const CScnVector* v) override { storeIfGiven(mDirection, v); }
    double getSize() const override { return mSize; }
    void setSize(double size) override { mSize = size; }
    ITable* getTable() override { return mTable.table(); }

    // The parameters, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.vector("Origin", mOrigin, CScnVector{0, 0, 0});
        v.vector("Amplitude", mAmplitude, CScnVector{1, 1, 1}, kNoFixUp);
        v.vector("Direction", mDirection, CScnVector{0, 0, 1}, kDirection);
        v.real("Size", mSize, 100.0);
        v.ownForm("Table", mTable);
    }

private:
    CScnVector mOrigin;
    CScnVector mAmplitude;
    CScnVector mDirection;
    double mSize;
    CTableField mTable;
};

// The plain surface parameters.
class CLeafNode final : public TKindNode<ILeafNode, CLeafNode> {
public:
    // What a material without leaf answers through its façade.
    static constexpr CScnColor kDefaultDiffuse = {0, 100, 100, 100};
    static constexpr double kDefaultGlossy = 6.0;

    explicit CLeafNode(CBaseObjectMgr* reporter);

    int32_t kind() const override { return eLeafNode; }
    ILeafNode* AsLeaf() override { return this; }

    const CScnColor* getDiffuseColor() const override { return &mDiffuse; }
    void setDiffuseColor(const CScnColor* c) override { storeIfGiven(mDiffuse, c); }
    const CScnColor* getTransparentColor() const override { return &mTransparent; }
    void setTransparentColor(const CScnColor* c) override { storeIfGiven(mTransparent, c); }
    const CScnColor* getSpecularColor() const override { return &mSpecular; }
    void setSpecularColor(const CScnColor* c) override { storeIfGiven(mSpecular, c); }
    const CScnColor* getReflectionColor() const override { return &mReflection; }
    void setReflectionColor(const CScnColor* c) override { storeIfGiven(mReflection, c); }
    const CScnColor* getNeonColor() const override { return &mNeonColor; }
    void setNeonColor(const CScnColor* c) override { storeIfGiven(mNeonColor, c); }
    double getNeonValue() const override { return mNeonValue; }
    void setNeonValue(double value) override { mNeonValue = value; }
    double getRefraction() const override { return mRefraction; }
    void setRefraction(double value) override { mRefraction = value; }
    double getGlossy() const override { return mGlossy; }
    void setGlossy(double value) override { mGlossy = value; }
    const CScnColor* getEmittingColor() const override { return &mEmittingColor; }
    void setEmittingColor(const CScnColor* c) override { storeIfGiven(mEmittingColor, c); }
    double getEmittingPower() const override { return mEmittingPower; }
    void setEmittingPower(double value) override { mEmittingPower = value; }
    double getReflectionLimit() const override { return mReflectionLimit; }
    void setReflectionLimit(double value) override { mReflectionLimit = value; }

    // The parameters, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.color("Diffuse", mDiffuse, kDefaultDiffuse);
        v.color("Transparent", mTransparent, CScnColor{0, 0, 0, 0});
        v.color("Specular", mSpecular, CScnColor{0, 0, 0, 0});
        v.color("Reflection", mReflection, CScnColor{0, 0, 0, 0});
        v.color("Neon.Color", mNeonColor, CScnColor{0, 0, 0, 0});
        v.real("Neon.Value", mNeonValue, 0.0);
        v.real("Refraction", mRefraction, 0.0);
        v.real("Glossy", mGlossy, kDefaultGlossy);
        v.color("Emitting.Color", mEmittingColor, CScnColor{0, 0, 0, 0});
        v.real("Emitting.Power", mEmittingPower, 0.0);
        v.real("Reflection.Limit", mReflectionLimit, 0.0);
    }

private:
    CScnColor mDiffuse;
    CScnColor mTransparent;
    CScnColor mSpecular;
    CScnColor mReflection;
    CScnColor mNeonColor;
    double mNeonValue;
    double mRefraction;
    double mGlossy;
    CScnColor mEmittingColor;
    double mEmittingPower;
    double mReflectionLimit;
};

// A Fresnel blend of child 0.
class CFresnelNode final : public TKindNode<IFresnelNode, CFresnelNode> {
public:
    explicit CFresnelNode(CBaseObjectMgr* reporter);

    int32_t kind() const override { return eFresnelNode; }
    IFresnelNode* AsFresnel() override { return this; }

    double getMinReflection() const override { return mMinReflection; }
    void setMinReflection(double value) override;
    double getPowerFactor() const override { return mPowerFactor; }
    void setPowerFactor(double value) override { mPowerFactor = value; }

    // The parameters, in document order; a read minimum reflection is kept within 0 to 1 silently.
    template <class V>
    void visitFields(V& v)
    {
        v.real("Min.Reflection", mMinReflection, 0.05, [](double d) { return clampInto(d, 0.0, 1.0); });
        v.real("Power.Factor", mPowerFactor, 5.0);
    }

private:
    double mMinReflection;
    double mPowerFactor;
};

// Glazing over child 0.
class CGlazingNode final : public TKindNode<IGlazingNode, CGlazingNode> {
public:
    explicit CGlazingNode(CBaseObjectMgr* reporter);

    int32_t kind() const override { return eGlazingNode; }
    IGlazingNode* AsGlazing() override { return this; }

    double getXScale() const override { return mXScale; }
    void setXScale(double value) override { mXScale = value; }
    double getYScale() const override { return mYScale; }
    void setYScale(double value) override { mYScale = value; }
    double getFlatness() const override { return mFlatness; }
    void setFlatness(double value) override { mFlatness = value; }
    bool isTiltDetect() const override { return mTiltDetect; }
    void setTiltDetect(bool on) override { mTiltDetect = on; }
    double getTiltFactor() const override { return mTiltFactor; }
    void setTiltFactor(double value) override { mTiltFactor = value; }
    bool isAnimation() const override { return mAnimation; }
    void setAnimation(bool on) override { mAnimation = on; }
    double getSpeed() const override { return mSpeed; }
    void setSpeed(double value) override { mSpeed = value; }

    // The parameters, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.real("X.Scale", mXScale, 1.0);
        v.real("Y.Scale", mYScale, 1.0);
        v.real("Flatness", mFlatness, 0.0);
        v.flag("Tilt.Detect", mTiltDetect, false);
        v.real("Tilt.Factor", mTiltFactor, 0.0);
        v.flag("Animation", mAnimation, false);
        v.real("Speed", mSpeed, 1.0);
    }

private:
    double mXScale;
    double mYScale;
    double mFlatness;
    bool mTiltDetect;
    double mTiltFactor;
    bool mAnimation;
    double mSpeed;
};

// A node of an outside shader: its "Custom.Data" element and any number of children ("Childs").
class CCustomNode final : public TTCENode<ICustomNode> {
public:
    static constexpr const char* kDataElement = "Custom.Data";
    static constexpr const char* kClassAttribute = "Class";

    explicit CCustomNode(CBaseObjectMgr* reporter);
    ~CCustomNode() override;

    int32_t kind() const override { return eCustomNode; }
    ICustomNode* AsCustom() override { return this; }
    void copyFieldsFrom(const CTCENode& other) override;
    std::string dumpFields() override;

    const char* getClass() const override;
    void setClass(const char* name) override;
    NuvoraXML::XIXMLElement* getData() override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // Replaces the data by a copy of element, which must be a "Custom.Data" element with a "Class"
    // attribute ("ICustomNode::initWithXML - invalid parameter" otherwise).
    void readData(NuvoraXML::XIXMLElement* element);
    // Writes a copy of the data under parent.
    void writeData(NuvoraXML::XIXMLElement* parent);

private:
    // The "Class" attribute of the data, null when it is missing.
    NuvoraXML::XIXMLAttribute* classAttribute() const;

    std::unique_ptr<CXMLFragment> mData;
};

}  // namespace NvScn

#endif
