// The add-on's error helpers and resource strings.
#ifndef KSV_ERRORS_H
#define KSV_ERRORS_H

#include "GSRoot.h"

#include <cstdint>

namespace KSV {

// Source unit names that the error texts carry.
constexpr const char kSrcSCNExport[] = "..\\Src\\SCNExport";
constexpr const char kSrcAddonLayer[] = "..\\Src\\AddonLayer";
constexpr const char kSrcAddonLayerStorage[] = "..\\Src\\AddonLayerStorage";
constexpr const char kSrcOutputOptionsDialog[] = "..\\Src\\OutputOptionsDialog";
constexpr const char kSrcGSScnExternal[] = "..\\Src\\GSScnExternal";

// Raises "Error %d at \"%s:%d\"" for a host error code.
[[noreturn]] void throwHostError(GSErrCode error, const char* unit, int line);
// Raises "Pointeur NULL at \"%s:%d\"".
[[noreturn]] void throwNullResult(const char* unit, int line);
// Raises "Assertion failed at \"%s:%d\"".
[[noreturn]] void throwAssertion(const char* unit, int line);

// The language index of the host's "language" preference (0 English ... 8 Greek).
int languageIndex();
int languageIndexOf(const char* code);
// The host's "language" preference, "def" when it has none.
GS::UniString languageCode();

// Makes this module the host's active resource module for its lifetime.
class ActiveResources {
public:
    ActiveResources();
    ~ActiveResources();
    ActiveResources(const ActiveResources&) = delete;
    ActiveResources& operator=(const ActiveResources&) = delete;

private:
    GSResModule mPrevious;
};

// Item index of string list id of this module; raises "String ressource not found" when missing.
GS::UniString getResString(GSResID id, int32_t index);
// The same into a byte buffer (8-bit form, zero-terminated).
void getResString(char* buffer, int32_t bufferSize, GSResID id, int32_t index);

}  // namespace KSV

#endif
