// The legacy lights and materials blocks wait for the token forms of their object kinds: until
// then a document that carries them fails to load with a report that says so, instead of losing
// its lights or materials silently. Each kind that gets its token form moves its function out of
// this file.
#include "document/DocumentMessages.h"
#include "document/Sections.h"
#include "platform/Failure.h"

namespace NvScn {
namespace Sections {

void readLegacyLights(CSCN&, CTokenReader&)
{
    Nuvora::fail(DocMsg::kLegacyLightsUnsupported);
}

void readLegacyMaterials(CSCN&, CTokenReader&, bool)
{
    Nuvora::fail(DocMsg::kLegacyMaterialsUnsupported);
}

}  // namespace Sections
}  // namespace NvScn
