#include "xml/RefCount.h"

#include "platform/Diagnostics.h"
#include "xml/XMLMessages.h"

namespace Nuvora {

XCBaseRefCount::~XCBaseRefCount()
{
    if (mRefCount != 0) {
        reportDiagnostic(kDiagnosticFault, NuvoraXML::Msg::kRefCountNotZero);
    }
}

}  // namespace Nuvora
