#include "model/Uuid.h"

#include <cstring>
#include <stdexcept>

#include "model/Messages.h"
#include "platform/Platform.h"

namespace NvScn {

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

CScnUUID newUuid()
{
    CScnUUID uuid{};
    if (!Nuvora::createGuid(uuid.bytes)) {
        throw std::runtime_error(Msg::kCantCreateUuid);
    }
    return uuid;
}

bool isNullUuid(const CScnUUID& uuid)
{
    return uuid == kNullUuid;
}

bool operator==(const CScnUUID& a, const CScnUUID& b)
{
    return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
}

void uuidToText(const CScnUUID& uuid, char text[kUuidTextLength + 1])
{
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = kHexDigits[uuid.bytes[i] >> 4];
        text[2 * i + 1] = kHexDigits[uuid.bytes[i] & 0x0F];
    }
    text[kUuidTextLength] = '\0';
}

bool uuidFromText(const char* text, CScnUUID& uuid)
{
    if (text == nullptr) {
        return false;
    }
    CScnUUID parsed{};
    for (int i = 0; i < kUuidTextLength; ++i) {
        int digit = hexValue(text[i]);
        if (digit < 0) {
            return false;
        }
        parsed.bytes[i / 2] = static_cast<uint8_t>((parsed.bytes[i / 2] << 4) | digit);
    }
    if (text[kUuidTextLength] != '\0') {
        return false;
    }
    uuid = parsed;
    return true;
}

}  // namespace NvScn
