#include "document/TokenNumbers.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace NvScn {
namespace TokenNumbers {

namespace {

constexpr double kRealLimit = 1e30;
constexpr double kLargestFixed = 2147483647.0;
// Fractional digits of a real are certain when the value scaled by 1e6 stays this far from an
// integer; closer cases take the digit-by-digit path, which defines the format.
constexpr double kCertainMargin = 1e-8;

const char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The fractional digits the way the format defines them: one digit at a time, each further
// digit only while the remaining fraction exceeds a tolerance growing tenfold per digit.
char* putFractionStepwise(char* out, double fraction)
{
    double tolerance = 1e-6;
    do {
        fraction *= 10.0;
        int digit = static_cast<int>(fraction);
        *out++ = static_cast<char>('0' + digit);
        fraction -= digit;
        tolerance *= 10.0;
    } while (fraction > tolerance && tolerance < 0.9);
    return out;
}

// The value of a number that from_chars found out of range: infinity for a large one, zero
// for a tiny one (decided on the decimal exponent of the text).
double outOfRangeValue(const char* first, const char* last)
{
    bool negative = first < last && *first == '-';
    const char* p = negative ? first + 1 : first;
    long magnitude = 0;
    bool seenNonZero = false;
    for (; p < last && isDigit(*p); ++p) {
        if (*p != '0' || seenNonZero) {
            seenNonZero = true;
            ++magnitude;
        }
    }
    if (!seenNonZero && p < last && *p == '.') {
        for (++p; p < last && *p == '0'; ++p) {
            --magnitude;
        }
    }
    for (; p < last && *p != 'e' && *p != 'E'; ++p) {
    }
    if (p < last) {
        ++p;
        bool negativeExponent = p < last && *p == '-';
        if (p < last && (*p == '-' || *p == '+')) {
            ++p;
        }
        long exponent = 0;
        for (; p < last && isDigit(*p); ++p) {
            exponent = exponent < 100000 ? exponent * 10 + (*p - '0') : exponent;
        }
        magnitude += negativeExponent ? -exponent : exponent;
    }
    double value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

// Skips the blanks and the sign that formatted input accepts before a number.
const char* skipBlanksAndSign(const char* p, bool& negative)
{
    while (isBlank(*p)) {
        ++p;
    }
    negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    return p;
}

}  // namespace

namespace {

// Number of decimal digits of a value, from its bit width without a loop: each entry adds to the
// value so that the high word of the sum is the digit count.
int digitCount(uint32_t value)
{
    static constexpr uint64_t kTable[32] = {
        4294967296,  8589934582,  8589934582,  8589934582,  12884901788, 12884901788, 12884901788,
        17179868184, 17179868184, 17179868184, 21474826480, 21474826480, 21474826480, 21474826480,
        25769703776, 25769703776, 25769703776, 30063771072, 30063771072, 30063771072, 34349738368,
        34349738368, 34349738368, 34349738368, 38554705664, 38554705664, 38554705664, 41949672960,
        41949672960, 41949672960, 42949672960, 42949672960};
    return static_cast<int>((value + kTable[31 - __builtin_clz(value | 1)]) >> 32);
}

}  // namespace

char* putDigits(char* out, uint32_t value)
{
    char* end = out + digitCount(value);
    char* p = end;
    while (value >= 100) {
        uint32_t pair = (value % 100) * 2;
        value /= 100;
        *--p = kDigitPairs[pair + 1];
        *--p = kDigitPairs[pair];
    }
    if (value >= 10) {
        *--p = kDigitPairs[value * 2 + 1];
        *--p = kDigitPairs[value * 2];
    } else {
        *--p = static_cast<char>('0' + value);
    }
    return end;
}

char* putInt(char* out, int32_t value)
{
    uint32_t magnitude = static_cast<uint32_t>(value);
    if (value < 0) {
        *out++ = '-';
        magnitude = 0u - magnitude;
    }
    out = putDigits(out, magnitude);
    *out++ = ' ';
    return out;
}

char* putReal(char* out, double value)
{
    if (value > kRealLimit) {
        value = kRealLimit;
    } else if (value < -kRealLimit) {
        value = -kRealLimit;
    }
    if (value == 0.0) {
        std::memcpy(out, "0.0 ", 4);
        return out + 4;
    }
    if (std::isnan(value)) {
        // Read back as the format's stand-in for an invalid number, with a warning.
        std::memcpy(out, "NaN ", 4);
        return out + 4;
    }
    double magnitude = std::fabs(value);
    if (magnitude > kLargestFixed) {
        auto result = std::to_chars(out, out + kRealCapacity - 1, value, std::chars_format::fixed, 6);
        *result.ptr = ' ';
        return result.ptr + 1;
    }
    if (value < 0.0) {
        *out++ = '-';
    }
    double rounded = magnitude + 5e-7;
    auto integer = static_cast<uint32_t>(rounded);
    out = putDigits(out, integer);
    *out++ = '.';
    double fraction = rounded - integer;
    double scaled = fraction * 1e6;
    auto micros = static_cast<uint32_t>(scaled);
    double rest = scaled - micros;
    if (!(rest >= kCertainMargin && rest <= 1.0 - kCertainMargin) || micros > 999999u) {
        out = putFractionStepwise(out, fraction);
        *out++ = ' ';
        return out;
    }
    // Six digits, of which the stepwise rule keeps as many as are followed by a non-zero digit
    // (the rest is never zero on this path); the space overwrites the first dropped one.
    uint32_t remaining = micros;
    for (int i = 5; i >= 0; i -= 2) {
        uint32_t pair = (remaining % 100) * 2;
        remaining /= 100;
        out[i] = kDigitPairs[pair + 1];
        out[i - 1] = kDigitPairs[pair];
    }
    int kept = 6;
    while (kept > 1 && out[kept - 1] == '0') {
        --kept;
    }
    out += kept;
    *out++ = ' ';
    return out;
}

double decimalToDouble(const char* first, const char* last)
{
    double value = 0.0;
    auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        return outOfRangeValue(first, last);
    }
    return value;
}

bool scanInt(const char* text, int32_t& value)
{
    bool negative = false;
    const char* p = skipBlanksAndSign(text, negative);
    if (!isDigit(*p)) {
        return false;
    }
    uint64_t magnitude = 0;
    for (; isDigit(*p); ++p) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
        if (magnitude > 2147483648ull) {
            return false;
        }
    }
    if (!negative && magnitude > 2147483647ull) {
        return false;
    }
    value = negative ? static_cast<int32_t>(0 - magnitude) : static_cast<int32_t>(magnitude);
    return true;
}

bool scanDouble(const char* text, double& value)
{
    bool negative = false;
    const char* p = skipBlanksAndSign(text, negative);
    const char* last = p + std::strlen(p);
    double magnitude = 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        auto hex = std::from_chars(p + 2, last, magnitude, std::chars_format::hex);
        if (hex.ec == std::errc()) {
            value = negative ? -magnitude : magnitude;
            return true;
        }
        if (hex.ec == std::errc::result_out_of_range) {
            bool large = false;
            for (const char* q = p + 2; q < hex.ptr; ++q) {
                if (*q == 'p' || *q == 'P') {
                    large = q[1] != '-';
                }
            }
            magnitude = large ? std::numeric_limits<double>::infinity() : 0.0;
            value = negative ? -magnitude : magnitude;
            return true;
        }
        // "0x" without hexadecimal digits converts the leading zero.
        value = negative ? -0.0 : 0.0;
        return true;
    }
    auto result = std::from_chars(p, last, magnitude, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument) {
        return false;
    }
    if (result.ec == std::errc::result_out_of_range) {
        magnitude = outOfRangeValue(p, result.ptr);
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace TokenNumbers
}  // namespace NvScn
