// The sections of objects: the billboard manager's records, the object definitions (one element
// each, beside the other sections), the object instances, the scene's insertion object (read
// only), the layers and the layers information.
#include <vector>

#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"

namespace NvScn {
namespace Sections {

void writeBillboards(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kBillboards, scene.billboards());
}

void readBillboards(CSCN& scene, XIXMLElement* file)
{
    readList(file, kBillboards, scene.billboards());
}

void writeObjectDefinitions(CSCN& scene, XIXMLElement* file)
{
    XmlForm::removeChildren(file, CScnScnObjectDefinition::kElementName);
    auto& definitions = scene.objectDefinitions();
    for (size_t i = 0; i < definitions.size(); ++i) {
        definitions.at(i)->appendToXML(file);
    }
}

void readObjectDefinitions(CSCN& scene, XIXMLElement* file)
{
    std::vector<XIXMLElement*> elements;
    for (XIXMLElement* element = XmlForm::findChild(file, CScnScnObjectDefinition::kElementName);
         element != nullptr; element = element->GetNextNamesake()) {
        elements.push_back(element);
    }
    if (elements.empty()) {
        return;
    }
    auto& definitions = scene.objectDefinitions();
    definitions.clear();
    for (XIXMLElement* element : elements) {
        if (CScnScnObjectDefinition* definition = definitions.append()) {
            definition->initWithXML(element);
        }
    }
}

void writeObjectInstances(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kObjectInstances, scene.objectInstances());
}

void readObjectInstances(CSCN& scene, XIXMLElement* file)
{
    readList(file, kObjectInstances, scene.objectInstances());
}

void readInsertionObject(CSCN& scene, XIXMLElement* file)
{
    if (XIXMLElement* element = XmlForm::findChild(file, CScnInsertionObject::kElementName)) {
        scene.insertionObject().initWithXML(element);
    }
}

void writeLayers(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kLayers, scene.layers());
}

void readLayers(CSCN& scene, XIXMLElement* file)
{
    readList(file, kLayers, scene.layers());
}

void writeLayersInfo(CSCN& scene, XIXMLElement* file)
{
    scene.layersInfo().putInXML(file);
}

void readLayersInfo(CSCN& scene, XIXMLElement* file)
{
    if (XIXMLElement* element = XmlForm::findChild(file, CScnLayerInfo::kElementName)) {
        scene.layersInfo().initWithXML(element);
    }
}

}  // namespace Sections
}  // namespace NvScn
