// Materials: CProperty, the material interface, its shader side and the root of its node tree.
#ifndef SCN_SHADERS_PROPERTY_H
#define SCN_SHADERS_PROPERTY_H

#include <cstdint>
#include <string>

#include "ScnShaders.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Uuid.h"
#include "shaders/Nodes.h"

namespace NvScn {

// A text in several languages whose plain get and set use the language of a scene.
class CScnString final : public IScnString {
public:
    // owner: the object whose scene gives the current language; English without scene.
    explicit CScnString(const CScnObject& owner) : mOwner(owner) {}

    const char* get() const override;
    void set(const char* text) override;
    const char* getText(int32_t language) const override { return mTexts.get(language); }
    void setText(int32_t language, const char* text) override { mTexts.set(language, text); }
    int32_t getLanguageCount() const override { return static_cast<int32_t>(mTexts.size()); }
    int32_t getLanguage(int32_t index) const override;

    CLanguageTexts& texts() { return mTexts; }
    const CLanguageTexts& texts() const { return mTexts; }

private:
    int32_t currentLanguage() const;

    const CScnObject& mOwner;
    CLanguageTexts mTexts;
};

class CProperty;

// A material's tree as a field: its top node written as "Node" (absent for an empty tree); a read
// tree replaces the previous one only once it is read whole, and an absent "Node" empties it.
class CTreeField {
public:
    explicit CTreeField(CProperty& property) : mProperty(property) {}

    void setDefault();
    void write(NuvoraXML::XIXMLElement* parent, const char* name) const;
    void read(NuvoraXML::XIXMLElement* element, const CSCN* scene);
    // The tree's dump (NodeTrees::dump), or "(no tree)".
    std::string text() const;
    // A mapping over a leaf, both away from their defaults.
    void vary(int step);

private:
    CProperty& mProperty;
};

// The range rules of the material setters, applied to read values as well; none reports.
namespace PropertyRules {
// Smooth into 0.01 to 1.
double smooth(double value);
// A negative scale becomes 0.
double scale(double value);
}  // namespace PropertyRules

// A material of a scene's list, of an object definition, of a ground or of the scratch list. The
// material is the root of its node tree; the list (or ground) owns it, so its own reference count
// never destroys it.
class CProperty final : public TScnFrontier<CScnProperty>,
                        public TScnFrontier<CScnTCE>,
                        public TTCENode<IRootNode>,
                        public CScnObject {
public:
    static constexpr const char* kElementName = "Property";

    // owner: the list that holds it, or null for a free material (no reports).
    explicit CProperty(CBaseObjectMgr* owner);
    ~CProperty() override;

    // CScnProperty
    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    bool isVisible() const override { return mVisible; }
    void setVisible(bool visible) override { mVisible = visible; }
    bool isCastShadow() const override { return mCastShadow; }
    void setCastShadow(bool cast) override { mCastShadow = cast; }
    double getSmooth() const override { return mSmooth; }
    void setSmooth(double smooth) override { mSmooth = PropertyRules::smooth(smooth); }
    double getScale() const override { return mScale; }
    void setScale(double scale) override { mScale = PropertyRules::scale(scale); }
    bool isBillboard() const override { return mBillboard; }
    void setBillboard(bool billboard) override { mBillboard = billboard; }
    const CScnUUID* getUUID() const override { return &mId; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mId, uuid); }
    const CScnUUID* getOverloadPropertyIndex() const override { return &mOverloadIndex; }
    void setOverloadPropertyIndex(const CScnUUID* uuid) override { storeIfGiven(mOverloadIndex, uuid); }
    const CScnUUID* getOverloadId() const override { return &mOverloadId; }
    void setOverloadId(const CScnUUID* uuid) override { storeIfGiven(mOverloadId, uuid); }
    bool isReceiveShadow() const override { return mReceiveShadow; }
    void setReceiveShadow(bool receive) override { mReceiveShadow = receive; }
    bool isUVDefined() const override { return mUVDefined; }
    void setUVDefined(bool defined) override { mUVDefined = defined; }
    int32_t getUIValue() const override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }
    CScnTCE* getTCE() override { return this; }
    const CScnTCE* getTCE() const override { return this; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    void copyFrom(const CScnProperty* other) override;

    const char* getTextureURL() const override { return getMapURL(kScnMapDiffuse); }
    void setTextureURL(const char* url) override { setMapURL(kScnMapDiffuse, url); }
    const char* getMapURL(int32_t type) const override;
    void setMapURL(int32_t type, const char* url) override;
    int32_t getProjection() const override;
    void setProjection(int32_t projection) override;
    bool getMappingFrame(CScnVector* origin, CScnVector* xAxis, CScnVector* yAxis) const override;
    void setMappingFrame(const CScnVector* origin, const CScnVector* xAxis, const CScnVector* yAxis) override;
    bool getMappingNormal(CScnVector* normal) const override;
    bool getRepeat(bool* xRepeat, bool* yRepeat) const override;
    void setRepeat(bool xRepeat, bool yRepeat) override;
    bool getMappingSize(double* width, double* height) const override;
    void setMappingSize(double width, double height) override;
    bool getMappingAngle(double* angle) const override;
    void setMappingAngle(double angle) override;
    bool getMappingSpecularColor(CScnColor* color) const override;
    void setMappingSpecularColor(const CScnColor* color) override;
    bool getMappingTransparentColor(CScnColor* color) const override;
    void setMappingTransparentColor(const CScnColor* color) override;
    bool getMappingReflectionColor(CScnColor* color) const override;
    void setMappingReflectionColor(const CScnColor* color) override;
    bool getMappingBump(double* bump) const override;
    void setMappingBump(double bump) override;
    CScnColor getDiffuseColor() const override;
    void setDiffuseColor(const CScnColor* color) override;
    CScnColor getSpecularColor() const override;
    void setSpecularColor(const CScnColor* color) override;
    CScnColor getTransparentColor() const override;
    void setTransparentColor(const CScnColor* color) override;
    CScnColor getReflectionColor() const override;
    void setReflectionColor(const CScnColor* color) override;
    CScnColor getNeonColor() const override;
    void setNeonColor(const CScnColor* color) override;
    CScnColor getEmittingColor() const override;
    void setEmittingColor(const CScnColor* color) override;
    double getGlossy() const override;
    void setGlossy(double glossy) override;
    double getNeonValue() const override;
    void setNeonValue(double value) override;
    double getRefraction() const override;
    void setRefraction(double refraction) override;
    double getReflectionLimit() const override;
    void setReflectionLimit(double limit) override;
    double getEmittingPower() const override;
    void setEmittingPower(double power) override;
    double getTransparency() const override;
    void setTransparency(double transparency) override;
    ILeafNode* findLeaf() override { return leaf(); }
    IMappingNode* findMapping() override { return mapping(); }
    bool hasLeaf() const override { return leaf() != nullptr; }
    bool hasMapping() const override { return mapping() != nullptr; }
    void clearShader() override { releaseChildren(); }
    void reserved1() override { Nuvora::obsoleteLibraryStop(); }
    void reserved2() override { Nuvora::obsoleteLibraryStop(); }
    void reserved3() override { Nuvora::obsoleteLibraryStop(); }

    // CScnTCE
    const char* GetURL() const override { return mURL.c_str(); }
    void SetURL(const char* url) override { storeText(mURL, url); }
    const CScnUUID* GetShaderId() const override { return &mShaderId; }
    void SetShaderId(const CScnUUID* uuid) override { storeIfGiven(mShaderId, uuid); }
    IScnString* GetShaderName() override { return &mShaderName; }
    const IScnString* GetShaderName() const override { return &mShaderName; }
    IRootNode* GetRoot() override { return this; }
    const IRootNode* GetRoot() const override { return this; }
    ITCENode* createNode(int32_t kind) override;

    // The root node: owned by its list, never destroyed by its count.
    int32_t Release() override;
    int32_t kind() const override { return eRootNode; }
    const CScnObject* material() const override { return this; }

    // The top node of the tree (the root's child 0), null for an empty tree.
    CTCENode* top() const { return child(0); }
    // Makes node (holding a reference the call takes over) the top of the tree, releasing the
    // previous tree.
    void setTop(CTCENode* node);

    // The fields of the "Property" element, in document order, the tree ("Node") among them.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "Material #0");
        v.flag("Visible", mVisible, true);
        v.flag("Cast.Shadow", mCastShadow, true);
        v.flag("Receive.Shadow", mReceiveShadow, true);
        v.flag("UV.Defined", mUVDefined, false);
        v.flag("Billboard", mBillboard, false);
        v.real("Smooth", mSmooth, 1.0, &PropertyRules::smooth);
        v.real("Scale", mScale, 1.0, &PropertyRules::scale);
        v.location("URL", mURL, "");
        v.identifier("Shader.Id", mShaderId, kNullUuid, kOptional, kOmitEmpty);
        v.languageTexts("Shader.Name", mShaderName.texts(), kOptional);
        v.ownForm("Node", mTree, kOptional);
        v.identifier("Id", mId, kNullUuid, kFresh, kOptional);
        v.identifier("Overload.Prop.Index", mOverloadIndex, kNullUuid, kFresh, kOptional);
        v.identifier("Overload.Id", mOverloadId, kNullUuid, kOptional);
        v.integer("UI.Value", mUIValue, 0, kOptional);
    }

    // Writes the "Property" element under parent (unguarded).
    NuvoraXML::XIXMLElement* write(NuvoraXML::XIXMLElement* parent);
    // Reads a "Property" element, or the first "Property" child of element (unguarded); the tree
    // is replaced only once the new one is read whole.
    void read(NuvoraXML::XIXMLElement* element);

private:
    // The first leaf, and the first own mapping (shader flag clear), of the chain of first
    // children below the root; null when there is none.
    CLeafNode* leaf() const;
    CMappingNode* mapping() const;
    // The same, made by the façade's rules when absent.
    CLeafNode* leafToSet();
    CMappingNode* mappingToSet();

    std::string mName;
    std::string mURL;
    CScnUUID mShaderId;
    CScnString mShaderName;
    CTreeField mTree;
    bool mVisible;
    bool mCastShadow;
    bool mBillboard;
    double mSmooth;
    double mScale;
    CScnUUID mId;
    CScnUUID mOverloadIndex;
    CScnUUID mOverloadId;
    bool mReceiveShadow;
    bool mUVDefined;
    int32_t mUIValue;
};

}  // namespace NvScn

#endif
