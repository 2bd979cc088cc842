#include "xml/StringCopy.h"

#include <cstring>

#include "platform/Failure.h"
#include "platform/Memory.h"

namespace NuvoraXML {

char* copyString(const char* text, size_t length)
{
    char* copy = static_cast<char*>(Nuvora::reallocate(nullptr, length + 1));
    if (copy == nullptr) {
        Nuvora::failNullPointer();
    }
    if (length != 0) {
        std::memcpy(copy, text, length);
    }
    copy[length] = 0;
    return copy;
}

char* copyString(const char* text)
{
    return text == nullptr ? copyString("", 0) : copyString(text, std::strlen(text));
}

char* copyOptional(const char* text)
{
    return text == nullptr ? nullptr : copyString(text, std::strlen(text));
}

void freeString(char* text)
{
    Nuvora::release(text);
}

}  // namespace NuvoraXML
