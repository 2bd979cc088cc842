// The texts of the document's processing instructions: versions in their decimal and dotted
// forms, read with formatted-input rules and written, the same whatever the process locale is.
#ifndef SCN_PI_TEXT_H
#define SCN_PI_TEXT_H

#include <cstdint>

#include "ScnBase.h"

namespace NvScn {
namespace PIText {

// The version of this library, the reference of every readability verdict.
constexpr CScnVersion kCurrentVersion = {3, 0, 3, {}};
// The minimum and safe version a save records when the caller names none.
constexpr CScnVersion kDefaultMinimumVersion = {3, 0, 1, {}};

// Whether a comes before b on (major, minor, patch).
bool versionLess(const CScnVersion& a, const CScnVersion& b);
// A version without text.
CScnVersion makeVersion(int32_t major, int32_t minor, int32_t patch);
// Fills the version's text with "%d.%d.%d" and answers it.
const char* formatVersion(CScnVersion& version);
// The version of a decimal value: major.minor.patch from the units, tenths and hundredths of
// v + 0.00001 ("2.01" gives 2.0.1, "3" gives 3.0.0).
CScnVersion versionFromDecimal(double value);
// The integer part of a value, saturated to the 32-bit range (0 for a NaN).
int32_t integerPart(double value);

// Reads values from text under a format of literal bytes, blanks (any run of blanks, also none)
// and the conversions "%lf" (double*) and "%d" (int32_t*), as formatted input does: conversions
// skip leading blanks and the scan stops at the first mismatch. Answers the number of values
// stored.
int scan(const char* text, const char* format, ...);

}  // namespace PIText
}  // namespace NvScn

#endif
