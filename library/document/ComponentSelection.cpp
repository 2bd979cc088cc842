#include "document/ComponentSelection.h"

#include <cstring>

#include "document/DocumentMessages.h"
#include "document/TokenMessages.h"
#include "model/Fields.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

constexpr const char* kComponentElement = "InternalComponentDefinition";

}  // namespace

bool belongsToComponent(NuvoraXML::XIXMLElement* block)
{
    NuvoraXML::XIXMLElement* parent = block != nullptr ? block->AsNode()->GetParent() : nullptr;
    const char* name = parent != nullptr ? parent->GetName() : nullptr;
    return name != nullptr && std::strcmp(name, kComponentElement) == 0;
}

CComponentHead readComponentHead(NuvoraXML::XIXMLElement* component)
{
    Nuvora::checkPointer(component, DocMsg::kComponentNoParent);
    CComponentHead head{};
    const char* uuid = Nuvora::checkPointer(XmlForm::findAttribute(component, "UUID"), DocMsg::kComponentNoUuid);
    head.uuid = XmlForm::parseUuid(uuid);
    Nuvora::check(!isNullUuid(head.uuid), DocMsg::kComponentNullUuid);
    NuvoraXML::XIXMLElement* level =
        Nuvora::checkPointer(XmlForm::findChild(component, "Geometry.Level"), DocMsg::kComponentNoLevel);
    Nuvora::checkPointer(level->GetData(), DocMsg::kComponentNoLevelData)->ScanText("%d", &head.level);
    return head;
}

void selectInStorage(CSCN& scene, const CComponentHead& head)
{
    CScnExtStorage* storage = scene.getExternalStorage();
    if (storage != nullptr &&
        !storage->setCurrentInternalComponentInstance(scene.asMgr(), &head.uuid, head.level)) {
        Nuvora::fail(TokenMsg::kStorageCancel);
    }
}

CScnInternalComponentDefinition* selectComponentForReading(CSCN& scene, NuvoraXML::XIXMLElement* block)
{
    CComponentHead head = readComponentHead(block->AsNode()->GetParent());
    selectInStorage(scene, head);
    return &componentFor(scene, head);
}

CScnInternalComponentDefinition& componentFor(CSCN& scene, const CComponentHead& head)
{
    CScnInternalComponentDefinition* component = scene.findInternalComponent(head.uuid);
    if (component == nullptr) {
        component = Nuvora::checkPointer(scene.internalComponents().append(), Msg::kNewCantAllocate);
        component->setUUID(&head.uuid);
        component->setGeometryLevel(head.level);
    }
    return *component;
}

}  // namespace NvScn
