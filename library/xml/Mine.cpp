#include "xml/Mine.h"

#include <stdexcept>
#include <string>

#include "platform/Diagnostics.h"
#include "platform/Failure.h"
#include "xml/XMLMessages.h"

namespace NuvoraXML {

void XCMine::ReportDeletion(uint32_t state) noexcept
{
    Nuvora::reportDiagnostic(Nuvora::kDiagnosticFault, state == kDead ? Msg::kDoubleDeletion : Msg::kInvalidDeletion);
}

void XCMine::CheckMine() const
{
    uint32_t state = mState;
    Nuvora::check(state != kDead, Msg::kMineDestroyed);
    Nuvora::check(state == kAlive, Msg::kMineInvalid);
}

void reportCaughtException(const char* format, std::exception_ptr caught) noexcept
{
    try {
        std::string what = Msg::kUnknownException;
        try {
            std::rethrow_exception(caught);
        } catch (const std::exception& error) {
            what = error.what();
        } catch (...) {
        }
        std::string text(format);
        std::string::size_type at = text.find("%s");
        if (at != std::string::npos) {
            text.replace(at, 2, what);
        }
        Nuvora::reportDiagnostic(Nuvora::kDiagnosticFault, text.c_str());
    } catch (...) {
        // Out of memory while reporting: nothing more can be said.
    }
}

}  // namespace NuvoraXML
