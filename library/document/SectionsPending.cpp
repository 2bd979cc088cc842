// Sections of object kinds that this library version holds without their content yet: a save keeps
// the document's layout with an empty list element, a load leaves the scene's objects as they are.
// Each kind that gets its content moves its pair of functions out of this file.
#include "document/Sections.h"
#include "model/Fields.h"

namespace NvScn {
namespace Sections {

namespace {

void writeEmptyList(XIXMLElement* file, const char* name)
{
    XmlForm::removeChildren(file, name);
    XmlForm::addChild(file, name);
}

}  // namespace

void writeProperties(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Properties"); }
void readProperties(CSCN&, XIXMLElement*) {}
void writeBillboards(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Billboards"); }
void readBillboards(CSCN&, XIXMLElement*) {}
void writePanoramas(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Panoramas"); }
void readPanoramas(CSCN&, XIXMLElement*) {}
void writeAnimations(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Animations"); }
void readAnimations(CSCN&, XIXMLElement*) {}
void writeObjectDefinitions(CSCN&, XIXMLElement* file) { XmlForm::removeChildren(file, "Object.Definition"); }
void readObjectDefinitions(CSCN&, XIXMLElement*) {}
void writeObjectInstances(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Object.Instances"); }
void readObjectInstances(CSCN&, XIXMLElement*) {}
void readInsertionObject(CSCN&, XIXMLElement*) {}
void writeScenarios(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Scenarios"); }
void readScenarios(CSCN&, XIXMLElement*) {}
void write3DPaths(CSCN&, XIXMLElement* file) { writeEmptyList(file, "3D.Paths"); }
void read3DPaths(CSCN&, XIXMLElement*) {}
void writeLayers(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Layers"); }
void readLayers(CSCN&, XIXMLElement*) {}
void writeLayersInfo(CSCN&, XIXMLElement* file) { writeEmptyList(file, "Layers.Info"); }
void readLayersInfo(CSCN&, XIXMLElement*) {}

}  // namespace Sections
}  // namespace NvScn
