// The legacy materials blocks wait for the materials of the scene: until then a document that
// carries them fails to load with a report that says so, instead of losing its materials
// silently.
#include "document/DocumentMessages.h"
#include "document/Sections.h"
#include "platform/Failure.h"

namespace NvScn {
namespace Sections {

void readLegacyMaterials(CSCN&, CTokenReader&, bool)
{
    Nuvora::fail(DocMsg::kLegacyMaterialsUnsupported);
}

}  // namespace Sections
}  // namespace NvScn
