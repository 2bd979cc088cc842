// The helpers of setters: how a setter stores what a pointer argument gives, and (through
// model/Clip.h) how a setter that guards a range clamps.
#ifndef SCN_SETTERS_H
#define SCN_SETTERS_H

#include <string>

#include "model/Clip.h"

namespace NvScn {

// Stores *given; a null pointer leaves the field as it is. The rule of every setter taking a
// value by pointer (vectors, colours, identifiers).
template <class T>
void storeIfGiven(T& field, const T* given)
{
    if (given != nullptr) {
        field = *given;
    }
}

// Stores a copy of the text; a null text stores the empty text. The rule of text setters.
inline void storeText(std::string& field, const char* text)
{
    field = text != nullptr ? text : "";
}

// Stores a copy of the text; a null text leaves the field as it is. The rule that the text setters
// of lights, light groups, heliodons and object instances have always had, which clients rely on.
inline void storeTextIfGiven(std::string& field, const char* text)
{
    if (text != nullptr) {
        field = text;
    }
}

}  // namespace NvScn

#endif
