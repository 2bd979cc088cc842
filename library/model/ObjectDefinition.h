// Object definitions: reusable objects that instances place in a scene, with their texts in every
// language, setups and the data of their kind.
#ifndef SCN_OBJECT_DEFINITION_H
#define SCN_OBJECT_DEFINITION_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ObjectDelegates.h"
#include "model/ObjectMgr.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Stubs.h"
#include "model/Views.h"

namespace NvScn {

extern const LabelTable kModelOriginLabels;

// The identity matrix, the default of the model rotation matrix.
constexpr double kIdentityMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// A text in several languages as a client sees it.
class CScnLanguageTexts : public TScnFrontier<IScnLanguageTexts> {
public:
    const char* getText(int32_t language) override { return mTexts.get(language); }
    void setText(int32_t language, const char* text) override { mTexts.set(language, text); }
    int32_t getNbLanguages() override { return static_cast<int32_t>(mTexts.size()); }
    int32_t getLanguage(int32_t index) override;

    // The texts, for the field list.
    CLanguageTexts& texts() { return mTexts; }

private:
    CLanguageTexts mTexts;
};

// A setup of a definition: a plain list item.
class CObjectSetup : public TScnFrontier<IScnScnObjectDefinition::IScnScnObjectSetup> {
public:
    static constexpr const char* kElementName = "Setup";

    // Draws a fresh UUID (throws "Can't create UUID" when it cannot).
    CObjectSetup();

    const CScnUUID* getUUID() override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }

    template <class V>
    void visitFields(V& v)
    {
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.text("Name", mName, "");
    }

private:
    CScnUUID mUUID;
    std::string mName;
};

// An object definition; a new one draws a fresh UUID (the constructor throws "Can't create UUID"
// when it cannot). Its kind-specific data follows its class (see TKindData).
class CScnScnObjectDefinition : public TScnFrontier<IScnScnObjectDefinition>, public CScnObject {
public:
    static constexpr const char* kElementName = "Object.Definition";
    // The element of the kind-specific data.
    static constexpr const char* kDataElement = "Object.Data";

    explicit CScnScnObjectDefinition(CBaseObjectMgr* owner);

    const char* getClass() override { return mClass.c_str(); }
    void setClass(const char* className) override;
    const CScnUUID* getUUID() override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    IScnLanguageTexts* getName() override { return &mName; }
    const CScnVector* getAnchor() override { return &mAnchor; }
    void setAnchor(const CScnVector* anchor) override { storeIfGiven(mAnchor, anchor); }
    int32_t getPlacement() override { return mPlacement; }
    void setPlacement(int32_t placement) override { mPlacement = placement; }
    const CScnVector* getUp() override { return &mUp; }
    void setUp(const CScnVector* up) override { storeIfGiven(mUp, up); }
    double getInitialAngle() override { return mInitialAngle; }
    void setInitialAngle(double angle) override { mInitialAngle = angle; }
    TScnObjectMgr<CScnProperty>* getMaterials() override { return &mMaterials; }
    const CScnUUID* getLightGroupID() override { return &mLightGroup; }
    void setLightGroupID(const CScnUUID* group) override { storeIfGiven(mLightGroup, group); }
    const CScnVector* getModelRotation() override { return &mModelRotation; }
    void setModelRotation(const CScnVector* rotation) override { storeIfGiven(mModelRotation, rotation); }
    const double* getModelRotationMatrix() override { return mModelRotationMatrix; }
    void setModelRotationMatrix(const double* matrix) override;
    const CScnVector* getModelPosition() override { return &mModelPosition; }
    void setModelPosition(const CScnVector* position) override { storeIfGiven(mModelPosition, position); }
    IScnLanguageTexts* getDescription1() override { return &mDescription1; }
    IScnLanguageTexts* getDescription2() override { return &mDescription2; }
    IScnLanguageTexts* getComment() override { return &mComment; }
    int32_t getUIValue() override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }
    int32_t getModelOrigin() override { return mModelOrigin; }
    void setModelOrigin(int32_t origin) override { mModelOrigin = origin; }
    TScnObjectMgr<IScnScnObjectSetup>* getSetups() override { return &mSetups; }
    IDelegate* getDelegate() override;
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    IScnInternalComponentDefinition* getInternalComponentDefinition() override;
    IScn3DPlant* get3DPlant() override;
    IScnBillboard* getBillboard() override;
    IScnObjectLight* getObjectLight() override;
    IScnAnimatedObject* getAnimatedObject() override;

    // The section writer's form of putInXML: the definition is added beside the ones parent holds.
    NuvoraXML::XIXMLElement* appendToXML(NuvoraXML::XIXMLElement* parent);
    const CScnUUID& uuid() const { return mUUID; }

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Class", mClass, "");
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.languageTexts("Name", mName.texts());
        v.vector("Anchor", mAnchor, CScnVector{0, 0, 0});
        v.label("Placement", mPlacement, kPlacementLabels, kScnPlacementPerpendicular);
        v.vector("Up", mUp, CScnVector{0, 1, 0}, kDirection);
        v.real("Initial.Angle", mInitialAngle, 0.0);
        v.list("Properties", mMaterials);
        v.identifier("LightGroupID", mLightGroup, kNullUuid);
        v.vector("Model.Rotation", mModelRotation, CScnVector{0, 0, 0}, kNoFixUp);
        v.matrix("Model.Rotation.Matrixs", mModelRotationMatrix, kIdentityMatrix);
        v.vector("Model.Position", mModelPosition, CScnVector{0, 0, 0});
        v.languageTexts("Description1", mDescription1.texts());
        v.languageTexts("Description2", mDescription2.texts());
        v.languageTexts("Comment", mComment.texts());
        v.integer("UIValue", mUIValue, 0);
        v.label("Model.Origin", mModelOrigin, kModelOriginLabels, kScnModelOriginUninitialized);
        v.list("Setups", mSetups);
        mData.visit(v, mClass);
    }

private:
    std::string mClass;
    CScnUUID mUUID;
    CScnLanguageTexts mName;
    CScnVector mAnchor;
    int32_t mPlacement;
    CScnVector mUp;
    double mInitialAngle;
    TObjectMgr<CProperty, CScnProperty> mMaterials;
    CScnUUID mLightGroup;
    CScnVector mModelRotation;
    double mModelRotationMatrix[16];
    CScnVector mModelPosition;
    CScnLanguageTexts mDescription1;
    CScnLanguageTexts mDescription2;
    CScnLanguageTexts mComment;
    int32_t mUIValue;
    int32_t mModelOrigin;
    TObjectMgr<CObjectSetup, IScnScnObjectSetup> mSetups;
    TKindData<IDelegate> mData;
};

}  // namespace NvScn

#endif
