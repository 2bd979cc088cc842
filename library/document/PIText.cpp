#include "document/PIText.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <limits>

namespace NvScn {
namespace PIText {

namespace {

constexpr double kRounding = 0.00001;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c)
{
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

const char* skipBlanks(const char* p)
{
    while (isBlank(*p)) {
        ++p;
    }
    return p;
}

// Whether the number whose exponent part starts at p (after "e" or "p") is negative.
bool negativeExponent(const char* first, const char* last, char marker)
{
    for (const char* p = first; p < last; ++p) {
        if ((*p | 0x20) == marker) {
            return p + 1 < last && p[1] == '-';
        }
    }
    return false;
}

// "%d": optional sign and at least one digit; the value saturates at 64 bits and is stored in
// 32 bits the way the C library stores a long into an int. Answers the end, or null.
const char* scanInt(const char* p, int32_t& out)
{
    p = skipBlanks(p);
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (!isDigit(*p)) {
        return nullptr;
    }
    uint64_t magnitude = 0;
    bool saturated = false;
    for (; isDigit(*p); ++p) {
        if (magnitude > (std::numeric_limits<uint64_t>::max() - 9u) / 10u) {
            saturated = true;
        } else {
            magnitude = magnitude * 10u + static_cast<uint64_t>(*p - '0');
        }
    }
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1u
                                    : uint64_t(std::numeric_limits<int64_t>::max());
    if (saturated || magnitude > limit) {
        magnitude = limit;
    }
    uint64_t bits = negative ? 0u - magnitude : magnitude;
    out = static_cast<int32_t>(static_cast<uint32_t>(bits));
    return p;
}

// "%lf": optional sign, then a decimal number with optional exponent, a hexadecimal number, an
// infinity or a NaN. Values beyond the range become an infinity, values below it zero. Answers
// the end, or null.
const char* scanDouble(const char* p, double& out)
{
    p = skipBlanks(p);
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    const char* end = p + std::strlen(p);
    double value = 0.0;
    std::from_chars_result result;
    char marker = 'e';
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
        (isHexDigit(p[2]) || (p[2] == '.' && isHexDigit(p[3])))) {
        marker = 'p';
        result = std::from_chars(p + 2, end, value, std::chars_format::hex);
    } else {
        result = std::from_chars(p, end, value, std::chars_format::general);
    }
    if (result.ec == std::errc::invalid_argument) {
        return nullptr;
    }
    if (result.ec == std::errc::result_out_of_range) {
        value = negativeExponent(p, result.ptr, marker) ? 0.0 : std::numeric_limits<double>::infinity();
    }
    out = negative ? -value : value;
    return result.ptr;
}

}  // namespace

bool versionLess(const CScnVersion& a, const CScnVersion& b)
{
    if (a.major != b.major) {
        return a.major < b.major;
    }
    if (a.minor != b.minor) {
        return a.minor < b.minor;
    }
    return a.patch < b.patch;
}

CScnVersion makeVersion(int32_t major, int32_t minor, int32_t patch)
{
    CScnVersion version{};
    version.major = major;
    version.minor = minor;
    version.patch = patch;
    return version;
}

const char* formatVersion(CScnVersion& version)
{
    char* p = version.text;
    char* end = version.text + sizeof version.text - 1;
    const int32_t parts[3] = {version.major, version.minor, version.patch};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            *p++ = '.';
        }
        p = std::to_chars(p, end, parts[i]).ptr;
    }
    *p = '\0';
    return version.text;
}

int32_t integerPart(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value <= -2147483648.0) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}

CScnVersion versionFromDecimal(double value)
{
    double rounded = value + kRounding;
    return makeVersion(integerPart(rounded), integerPart(rounded * 10.0) % 10,
                       integerPart(rounded * 100.0) % 10);
}

int scan(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int stored = 0;
    const char* p = text;
    const char* f = format;
    while (*f != '\0') {
        if (isBlank(*f)) {
            p = skipBlanks(p);
            ++f;
        } else if (std::strncmp(f, "%lf", 3) == 0) {
            double value = 0.0;
            p = scanDouble(p, value);
            if (p == nullptr) {
                break;
            }
            *va_arg(args, double*) = value;
            ++stored;
            f += 3;
        } else if (std::strncmp(f, "%d", 2) == 0) {
            int32_t value = 0;
            p = scanInt(p, value);
            if (p == nullptr) {
                break;
            }
            *va_arg(args, int32_t*) = value;
            ++stored;
            f += 2;
        } else if (*p == *f) {
            ++p;
            ++f;
        } else {
            break;
        }
    }
    va_end(args);
    return stored;
}

}  // namespace PIText
}  // namespace NvScn
