// The boundary every public operation passes: exceptions become a report and a failure value.
#ifndef SCN_GUARD_H
#define SCN_GUARD_H

#include <exception>
#include <utility>

namespace NvScn {

class CScnObject;
class CBaseObjectMgr;

// Reports a caught exception as "Exception in %s : %s" (formatted into the 1024-byte limit)
// or "Unknown exception in %s"; where names the operation, e.g. "CScnLight::putInXML".
void reportException(const CBaseObjectMgr* reporter, const char* where, const std::exception* error);

// Runs body and answers its result; on any exception reports it for where and answers failed.
template <class R, class Body>
R guarded(const CBaseObjectMgr* reporter, const char* where, R failed, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& error) {
        reportException(reporter, where, &error);
    } catch (...) {
        reportException(reporter, where, nullptr);
    }
    return failed;
}

// The same for operations without a result.
template <class Body>
void guardedVoid(const CBaseObjectMgr* reporter, const char* where, Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& error) {
        reportException(reporter, where, &error);
    } catch (...) {
        reportException(reporter, where, nullptr);
    }
}

}  // namespace NvScn

#endif
