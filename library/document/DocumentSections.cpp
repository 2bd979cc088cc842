// The sections that belong to the document itself: the file information and the list of internal
// component definitions with their geometry blocks.
#include <cstring>

#include "document/ComponentSelection.h"
#include "document/DataProviders.h"
#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"

namespace NvScn {
namespace Sections {

namespace {

constexpr const char* kOrigin = "Origin";
constexpr const char* kComponent = "InternalComponentDefinition";
// The items of a component element that the component itself reads and writes.
constexpr const char* kComponentUuid = "UUID";
constexpr const char* kComponentOwnItems[] = {"Geometry.Level", "Points", "Polygons"};

bool isOwnItem(const char* name)
{
    for (const char* own : kComponentOwnItems) {
        if (std::strcmp(name, own) == 0) {
            return true;
        }
    }
    return false;
}

// Keeps what a component element holds beside its own items, as the document that carried it
// wrote it.
void keepOtherContent(CScnInternalComponentDefinition& component, XIXMLElement* item)
{
    CXMLFragment& kept = component.keptContent();
    kept.clear();
    for (NuvoraXML::XIXMLAttribute* a = item->GetFirstAttribute(); a != nullptr; a = a->GetNext()) {
        if (std::strcmp(a->GetName(), kComponentUuid) != 0) {
            a->CopyTo(kept.element());
        }
    }
    for (NuvoraXML::XIXMLNode* node = item->GetFirstChild(); node != nullptr; node = node->GetNext()) {
        XIXMLElement* element = node->AsElement();
        if (element == nullptr || !isOwnItem(element->GetName())) {
            node->CopyTo(kept.element());
        }
    }
}

void writeComponent(CSCN& scene, XIXMLElement* list, CScnInternalComponentDefinition& component)
{
    XIXMLElement* item = XmlForm::addChild(list, kComponent);
    XmlForm::writeUuid(item, kComponentUuid, component.uuid());
    XmlForm::writeInteger(item, "Geometry.Level", component.getGeometryLevel());
    attachDataObject(XmlForm::addChild(item, "Points"), CDataObjectPtr(new CPointsProvider(&scene)));
    attachDataObject(XmlForm::addChild(item, "Polygons"), CDataObjectPtr(new CPolygonsProvider(&scene)));
    component.keptContent().write(item);
}

}  // namespace

void writeFileInfo(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* info = XmlForm::findChild(file, kFileInfo);
    if (info == nullptr) {
        info = XmlForm::addChild(file, kFileInfo);
    }
    XmlForm::removeChildren(info, kOrigin);
    XmlForm::writeVector(info, kOrigin, *scene.fileInfo().getOrigin());
}

void readFileInfo(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* info = XmlForm::findChild(file, kFileInfo);
    XIXMLElement* origin = info != nullptr ? XmlForm::findChild(info, kOrigin) : nullptr;
    if (origin != nullptr) {
        CScnVector value = XmlForm::readVector(origin, &scene);
        scene.fileInfo().setOrigin(&value);
    }
}

void writeInternalComponents(CSCN& scene, XIXMLElement* file)
{
    XmlForm::removeChildren(file, kInternalComponents);
    XIXMLElement* list = XmlForm::addChild(file, kInternalComponents);
    auto& components = scene.internalComponents();
    for (size_t i = 0; i < components.size(); ++i) {
        writeComponent(scene, list, *components.at(i));
    }
}

void readInternalComponents(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* list = XmlForm::findChild(file, kInternalComponents);
    if (list == nullptr) {
        return;
    }
    for (XIXMLElement* item = XmlForm::findChild(list, kComponent); item != nullptr;
         item = item->GetNextNamesake()) {
        keepOtherContent(componentFor(scene, readComponentHead(item)), item);
    }
}

}  // namespace Sections
}  // namespace NvScn
