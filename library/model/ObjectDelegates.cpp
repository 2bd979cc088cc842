#include "model/ObjectDelegates.h"

#include "model/Guard.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kPlacementEntries[] = {{kScnPlacementPerpendicular, "Perpendicular"},
                                            {kScnPlacementVertical, "Vertical"}};
constexpr LabelEntry kAnimationBehaviorEntries[] = {{kScnBehaviorNormal, "Normal"},
                                                    {kScnBehaviorFollowOnPath, "FollowOnPath"},
                                                    {kScnBehaviorFollowOnPathXY, "FollowOnPathXY"}};
constexpr LabelEntry kPlantTypeEntries[] = {{0, "Undefined"},   {1, "Tree"},     {2, "Flower"},
                                            {3, "Bushes"},      {4, "PottedPlant"}, {5, "PalmTree"},
                                            {6, "Cactus"},      {7, "WaterPlant"}, {8, "Fern"}};
constexpr LabelEntry kPlantColorEntries[] = {{-1, "Undefined"}, {0, "White"},    {1, "Red"},
                                             {2, "Orange"},     {3, "Rose"},     {4, "Purple"},
                                             {5, "LightBlue"},  {6, "DarkBlue"}, {7, "Yellow"},
                                             {8, "Brown"}};
constexpr LabelEntry kBillboardBehaviorEntries[] = {{0, "Flat"}, {1, "Uniface"}, {2, "Multifaces"}};

CSCN* sceneOf(CBaseObjectMgr* owner)
{
    return owner != nullptr ? owner->getScene() : nullptr;
}

}  // namespace

const LabelTable kPlacementLabels(kPlacementEntries);
const LabelTable kAnimationBehaviors(kAnimationBehaviorEntries);
const LabelTable kPlantTypes(kPlantTypeEntries);
const LabelTable kPlantColors(kPlantColorEntries);
const LabelTable kBillboardBehaviors(kBillboardBehaviorEntries);

int32_t definitionKindOf(const std::string& className)
{
    if (className == kScnClass3DPlant) {
        return kScnKind3DPlant;
    }
    if (className == kScnClassBillboard) {
        return kScnKindBillboard;
    }
    if (className == kScnClassLightObject) {
        return kScnKindLightObject;
    }
    if (className == kScnClassAnimatedObject) {
        return kScnKindAnimatedObject;
    }
    return 0;
}

int32_t instanceKindOf(const std::string& className)
{
    int32_t kind = definitionKindOf(className);
    return kind == kScnKindLightObject ? 0 : kind;
}

std::unique_ptr<IScnScnObjectDefinition::IDelegate> newDefinitionDelegate(int32_t kind, CBaseObjectMgr* owner)
{
    switch (kind) {
    case kScnKind3DPlant:
        return std::make_unique<C3DPlant>(owner);
    case kScnKindBillboard:
        return std::make_unique<CScnBillboard>(owner);
    case kScnKindLightObject:
        return std::make_unique<CScnObjectLight>(owner);
    case kScnKindAnimatedObject:
        return std::make_unique<CScnAnimatedObject>(owner);
    default:
        return nullptr;
    }
}

std::unique_ptr<IScnObjectInstance::IDelegate> newInstanceDelegate(int32_t kind, CBaseObjectMgr* owner)
{
    switch (kind) {
    case kScnKind3DPlant:
        return std::make_unique<C3DPlantRef>(owner);
    case kScnKindBillboard:
        return std::make_unique<CBillboardRef>(owner);
    case kScnKindAnimatedObject:
        return std::make_unique<CAnimatedObjectRef>(owner);
    default:
        return nullptr;
    }
}

CPlantSetUp::CPlantSetUp()
{
    setFieldDefaults(*this);
}

C3DPlant::C3DPlant(CBaseObjectMgr* owner) : CScnObject(owner), mSetups(sceneOf(owner))
{
    setFieldDefaults(*this);
}

C3DPlantRef::C3DPlantRef(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

CScnBBMgrData::CScnBBMgrData(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnBBMgrData::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnBBMgrData::putInXML");
}

bool CScnBBMgrData::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnBBMgrData::initWithXML");
}

CScnQuad::CScnQuad(CBaseObjectMgr* owner) : CScnObject(owner), mTriangles(sceneOf(owner))
{
    setFieldDefaults(*this);
}

CScnBBName::CScnBBName()
{
    setFieldDefaults(*this);
}

CScnBillboard::CScnBillboard(CBaseObjectMgr* owner)
    : CScnObject(owner), mMgrInfo(owner), mQuads(sceneOf(owner)), mInfo(sceneOf(owner))
{
    setFieldDefaults(*this);
}

CBillboardRef::CBillboardRef(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

CScnObjectLight::CScnObjectLight(CBaseObjectMgr* owner) : CScnObject(owner), mLights(sceneOf(owner))
{
    setFieldDefaults(*this);
}

CScnTake::CScnTake()
{
    setFieldDefaults(*this);
}

CScnAnimatedObject::CScnAnimatedObject(CBaseObjectMgr* owner) : CScnObject(owner), mTakes(sceneOf(owner))
{
    setFieldDefaults(*this);
}

CAnimatedObjectRef::CAnimatedObjectRef(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

}  // namespace NvScn
