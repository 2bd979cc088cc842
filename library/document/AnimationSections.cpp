// The sections of panoramas, animations, scenarios and 3D paths. The "Options" that follow the
// panoramas and the animations are the scene's, written after each list by their own writers.
#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"

namespace NvScn {
namespace Sections {

void writePanoramas(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kPanoramas, scene.panoramas());
}

void readPanoramas(CSCN& scene, XIXMLElement* file)
{
    readList(file, kPanoramas, scene.panoramas());
}

void writeAnimations(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kAnimations, scene.animations());
}

void readAnimations(CSCN& scene, XIXMLElement* file)
{
    readList(file, kAnimations, scene.animations());
}

void writeScenarios(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kScenarios, scene.scenarios());
}

void readScenarios(CSCN& scene, XIXMLElement* file)
{
    readList(file, kScenarios, scene.scenarios());
}

void write3DPaths(CSCN& scene, XIXMLElement* file)
{
    writeList(file, k3DPaths, scene.paths3D());
}

void read3DPaths(CSCN& scene, XIXMLElement* file)
{
    readList(file, k3DPaths, scene.paths3D());
}

}  // namespace Sections
}  // namespace NvScn
