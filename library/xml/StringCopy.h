// Owned copies of the tree's strings.
#ifndef NUVORA_XML_STRINGCOPY_H
#define NUVORA_XML_STRINGCOPY_H

#include <cstddef>

namespace NuvoraXML {

// A heap copy of text (null copies as empty); out of memory fails in the missing-pointer form.
char* copyString(const char* text);
// A heap copy of length bytes followed by a terminator.
char* copyString(const char* text, size_t length);
// A heap copy, or null for null.
char* copyOptional(const char* text);
// Frees a copy of copyString.
void freeString(char* text);

}  // namespace NuvoraXML

#endif
