// The sections that belong to the document itself: the file information and the list of internal
// component definitions with their geometry blocks.
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

void writeComponent(CSCN& scene, XIXMLElement* list, CScnInternalComponentDefinition& component)
{
    XIXMLElement* item = XmlForm::addChild(list, kComponent);
    XmlForm::writeUuid(item, "UUID", component.uuid());
    XmlForm::writeInteger(item, "Geometry.Level", component.getGeometryLevel());
    attachDataObject(XmlForm::addChild(item, "Points"), CDataObjectPtr(new CPointsProvider(&scene)));
    attachDataObject(XmlForm::addChild(item, "Polygons"), CDataObjectPtr(new CPolygonsProvider(&scene)));
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
        componentFor(scene, readComponentHead(item));
    }
}

}  // namespace Sections
}  // namespace NvScn
