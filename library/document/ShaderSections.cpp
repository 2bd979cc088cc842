// The "Properties" section: the scene's materials.
#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"

namespace NvScn {
namespace Sections {

void writeProperties(CSCN& scene, XIXMLElement* file)
{
    writeList(file, kProperties, scene.materials());
}

void readProperties(CSCN& scene, XIXMLElement* file)
{
    readList(file, kProperties, scene.materials());
}

}  // namespace Sections
}  // namespace NvScn
