// Object identities: fresh identifiers and their 32-digit text form.
#ifndef SCN_UUID_H
#define SCN_UUID_H

#include "ScnBase.h"

namespace NvScn {

// Length of the text form, without terminator.
constexpr int kUuidTextLength = 32;

// A fresh identifier; throws "Can't create UUID" when the generator fails.
CScnUUID newUuid();
// The all-zero identifier.
constexpr CScnUUID kNullUuid = {};
// Whether every byte is zero.
bool isNullUuid(const CScnUUID& uuid);
// Byte-for-byte equality.
bool operator==(const CScnUUID& a, const CScnUUID& b);
inline bool operator!=(const CScnUUID& a, const CScnUUID& b) { return !(a == b); }
// Writes the 32 upper-case hexadecimal digits, high nibble first, and a terminator.
void uuidToText(const CScnUUID& uuid, char text[kUuidTextLength + 1]);
// Parses exactly 32 hexadecimal digits; false (uuid untouched) for anything else.
bool uuidFromText(const char* text, CScnUUID& uuid);

// An identifier as an item of a UUID list; a new item draws a fresh identifier.
struct CScnUUIDX : CScnUUID {
    CScnUUIDX() : CScnUUID(newUuid()) {}
    CScnUUIDX& operator=(const CScnUUID& other)
    {
        CScnUUID::operator=(other);
        return *this;
    }
};

}  // namespace NvScn

#endif
