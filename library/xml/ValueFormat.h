// Typed values in attributes and data nodes, read and written the same in every process locale.
#ifndef NUVORA_XML_VALUEFORMAT_H
#define NUVORA_XML_VALUEFORMAT_H

#include <cstdarg>
#include <cstddef>

namespace NuvoraXML {

// Size of the buffer a formatted value must fit in, terminator included.
constexpr size_t kValueBufferSize = 2048;

// Reads one item from text with a scanf format under C-locale rules; true when exactly one converts.
bool scanFormatted(const char* text, const char* format, va_list args);
// Formats with a printf format under C-locale rules; the full length, or -1 on a format error.
int printFormatted(char* buffer, size_t size, const char* format, va_list args);

}  // namespace NuvoraXML

#endif
