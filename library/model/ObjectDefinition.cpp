#include "model/ObjectDefinition.h"

#include <cstring>

#include "model/Guard.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kModelOriginEntries[] = {{kScnModelOriginUninitialized, "Uninitialized"},
                                              {kScnModelOriginCenterXYBottom, "CenterXYBottom"},
                                              {kScnModelOriginCenterXYTop, "CenterXYTop"},
                                              {kScnModelOriginCenterXY, "CenterXY"}};

constexpr const char* kComponentList = "InternalComponentDefinitions";
constexpr const char* kComponentItem = "InternalComponentDefinition";

// Whether the document beside element holds the geometry node of the definition uuid: an
// "InternalComponentDefinition" with that "UUID" in the "InternalComponentDefinitions" of the
// element's parent.
bool hasComponentNode(XIXMLElement* element, const CScnUUID& uuid)
{
    XIXMLElement* parent = element->AsNode()->GetParent();
    XIXMLElement* list = parent != nullptr ? XmlForm::findChild(parent, kComponentList) : nullptr;
    for (XIXMLElement* item = list != nullptr ? XmlForm::findChild(list, kComponentItem) : nullptr;
         item != nullptr; item = item->GetNextNamesake()) {
        CScnUUID found{};
        const char* text = XmlForm::findAttribute(item, "UUID");
        if (text != nullptr && uuidFromText(text, found) && found == uuid) {
            return true;
        }
    }
    return false;
}

}  // namespace

const LabelTable kModelOriginLabels(kModelOriginEntries);

int32_t CScnLanguageTexts::getLanguage(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= mTexts.size()) {
        return 0;
    }
    return mTexts.entries()[static_cast<size_t>(index)].first;
}

CObjectSetup::CObjectSetup()
{
    setFieldDefaults(*this);
}

CScnScnObjectDefinition::CScnScnObjectDefinition(CBaseObjectMgr* owner)
    : CScnObject(owner),
      mMaterials(getScene()),
      mSetups(getScene()),
      mData(owner, kDataElement, &definitionKindOf)
{
    setFieldDefaults(*this);
}

void CScnScnObjectDefinition::setClass(const char* className)
{
    guardedVoid(getOwner(), "CScnScnObjectDefinition::setClass", [&] {
        storeText(mClass, className);
        mData.match(mClass);
    });
}

void CScnScnObjectDefinition::setModelRotationMatrix(const double* matrix)
{
    if (matrix != nullptr) {
        std::memcpy(mModelRotationMatrix, matrix, sizeof mModelRotationMatrix);
    }
}

IScnScnObjectDefinition::IDelegate* CScnScnObjectDefinition::getDelegate()
{
    return guarded(getOwner(), "CScnScnObjectDefinition::getDelegate", static_cast<IDelegate*>(nullptr),
                   [&] { return mData.match(mClass); });
}

IScn3DPlant* CScnScnObjectDefinition::get3DPlant()
{
    return mData.as<C3DPlant>(getOwner(), "CScnScnObjectDefinition::get3DPlant", mClass, kScnKind3DPlant);
}

IScnBillboard* CScnScnObjectDefinition::getBillboard()
{
    return mData.as<CScnBillboard>(getOwner(), "CScnScnObjectDefinition::getBillboard", mClass, kScnKindBillboard);
}

IScnObjectLight* CScnScnObjectDefinition::getObjectLight()
{
    return mData.as<CScnObjectLight>(getOwner(), "CScnScnObjectDefinition::getObjectLight", mClass,
                                     kScnKindLightObject);
}

IScnAnimatedObject* CScnScnObjectDefinition::getAnimatedObject()
{
    return mData.as<CScnAnimatedObject>(getOwner(), "CScnScnObjectDefinition::getAnimatedObject", mClass,
                                        kScnKindAnimatedObject);
}

XIXMLElement* CScnScnObjectDefinition::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnScnObjectDefinition::putInXML", kReplaceExisting);
}

XIXMLElement* CScnScnObjectDefinition::appendToXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnScnObjectDefinition::putInXML");
}

bool CScnScnObjectDefinition::initWithXML(XIXMLElement* element)
{
    return guarded(getOwner(), "CScnScnObjectDefinition::initWithXML", false, [&] {
        readFields(*this, element);
        if (!hasComponentNode(element, mUUID)) {
            Nuvora::fail(Msg::kNoComponentNode);
        }
        return true;
    });
}

IScnInternalComponentDefinition* CScnScnObjectDefinition::getInternalComponentDefinition()
{
    CSCN* scene = getScene();
    return scene != nullptr ? scene->findInternalComponent(mUUID) : nullptr;
}

}  // namespace NvScn
