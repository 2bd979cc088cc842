#include "model/Guard.h"

#include <cstdio>

#include "model/BaseObjectMgr.h"
#include "model/Messages.h"

namespace NvScn {

void reportException(const CBaseObjectMgr* reporter, const char* where, const std::exception* error)
{
    if (reporter == nullptr) {
        return;
    }
    try {
        char text[1024];
        if (error != nullptr) {
            std::snprintf(text, sizeof text, Msg::kExceptionIn, where, error->what());
        } else {
            std::snprintf(text, sizeof text, Msg::kUnknownExceptionIn, where);
        }
        reporter->report(text);
    } catch (...) {
        // A feedback that throws while reporting a failure cannot be told any more.
    }
}

}  // namespace NvScn
