// The sections of the scene-wide ambient light, atmosphere, background and grounds.
#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"

namespace NvScn {
namespace Sections {

void writeAmbient(CSCN& scene, XIXMLElement* file)
{
    XmlForm::removeChildren(file, CAmbiance::kElementName);
    scene.getAmbient()->putInXML(file);
}

void readAmbient(CSCN& scene, XIXMLElement* file)
{
    if (XIXMLElement* element = XmlForm::findChild(file, CAmbiance::kElementName)) {
        scene.getAmbient()->initWithXML(element);
    }
}

void writeAtmosphere(CSCN& scene, XIXMLElement* file)
{
    scene.getAtmosphere()->putInXML(file);
}

void readAtmosphere(CSCN& scene, XIXMLElement* file)
{
    if (XIXMLElement* element = XmlForm::findChild(file, CAtmosphere::kElementName)) {
        scene.getAtmosphere()->initWithXML(element);
    }
}

void writeBackground(CSCN& scene, XIXMLElement* file)
{
    scene.getBackground()->putInXML(file);
}

void readBackground(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* element = XmlForm::findChild(file, CBackground::kElementName);
    if (element == nullptr) {
        element = XmlForm::findChild(file, CBackground::kOlderElementName);
    }
    if (element != nullptr) {
        scene.getBackground()->initWithXML(element);
    }
}

void writeGrounds(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kGrounds, scene.grounds());
}

void readGrounds(CSCN& scene, XIXMLElement* file)
{
    readList(file, kGrounds, scene.grounds());
}

}  // namespace Sections
}  // namespace NvScn
