// The sections of lights, light groups and heliodons, and the sun rule of old documents.
#include <cstring>

#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"

namespace NvScn {
namespace Sections {

namespace {

// The name of heliodon 0 in the old documents the sun rule converts, and of their sun light.
constexpr const char* kOldHeliodonName = "Heliodon";
constexpr const char* kOldSunLightName = "Sun";
// The sunshine the converted heliodon takes over from the old sun light.
constexpr double kOldSunSunshine = 0.6;

}  // namespace

void writeLights(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kLights, scene.lights());
}

void readLights(CSCN& scene, XIXMLElement* file)
{
    readList(file, kLights, scene.lights());
}

void writeLightsGroups(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kLightsGroups, scene.lightsGroups());
}

void readLightsGroups(CSCN& scene, XIXMLElement* file)
{
    readList(file, kLightsGroups, scene.lightsGroups());
}

void writeHeliodons(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kHeliodons, scene.heliodons());
}

void readHeliodons(CSCN& scene, XIXMLElement* file)
{
    readList(file, kHeliodons, scene.heliodons());
}

void readOldHeliodon(CSCN& scene, XIXMLElement* file)
{
    XIXMLElement* element = XmlForm::findChild(file, kOldHeliodon);
    if (element == nullptr) {
        return;
    }
    TObjectMgr<CHeliodon, CScnHeliodon>& heliodons = scene.heliodons();
    CHeliodon* heliodon = heliodons.size() > 0 ? heliodons.at(0) : heliodons.append();
    if (heliodon != nullptr) {
        heliodon->initWithXML(element);
    }
}

void convertOldSun(CSCN& scene)
{
    CHeliodon* heliodon = scene.heliodons().find(0);
    if (heliodon == nullptr || heliodon->isActive() ||
        std::strcmp(heliodon->getName(), kOldHeliodonName) != 0) {
        return;
    }
    TObjectMgr<CLight, CScnLight>& lights = scene.lights();
    for (size_t i = 0; i < lights.size(); ++i) {
        CLight* light = lights.at(i);
        if (std::strcmp(light->getName(), kOldSunLightName) == 0) {
            heliodon->setActive(true);
            heliodon->setSunshine(kOldSunSunshine);
            light->setActive(false);
            return;
        }
    }
}

}  // namespace Sections
}  // namespace NvScn
