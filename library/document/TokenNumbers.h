// Numbers of the token text, written and read the same whatever the process locale is: the real
// format shared by the token writer and the geometry blocks, integers, and exact conversions.
#ifndef SCN_TOKEN_NUMBERS_H
#define SCN_TOKEN_NUMBERS_H

#include <cstddef>
#include <cstdint>

namespace NvScn {
namespace TokenNumbers {

// Room that putReal needs: a sign, 31 integer digits, a point, six digits and the space.
constexpr size_t kRealCapacity = 48;
// Room that putInt needs: "-2147483648" and the space.
constexpr size_t kIntCapacity = 12;

// Writes a real in the token format followed by one space (values clamped to -1e30 ... 1e30,
// "%lf" beyond 2147483647, at most six fractional digits); answers the end of the text.
char* putReal(char* out, double value);

// Writes an integer in decimal followed by one space; answers the end of the text.
char* putInt(char* out, int32_t value);

// Writes an unsigned integer in decimal without anything after it; answers the end.
char* putDigits(char* out, uint32_t value);

// Converts "digits[.digits]" (either part may be empty, not both) to the nearest double; a value
// beyond the double range becomes infinity, one below it zero.
double decimalToDouble(const char* first, const char* last);

// The "%d" conversion of formatted input: blanks, optional sign, at least one digit; false when
// nothing converts or the value does not fit in 32 bits.
bool scanInt(const char* text, int32_t& value);

// The "%lf" conversion of formatted input (decimal with exponent, "inf", "nan", hexadecimal);
// false when nothing converts.
bool scanDouble(const char* text, double& value);

}  // namespace TokenNumbers
}  // namespace NvScn

#endif
