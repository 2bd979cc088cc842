#include "xml/ValueFormat.h"

#include <locale.h>

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace NuvoraXML {

namespace {

// The C locale, made once; null when it cannot be made (then the process locale is used).
locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Switches the calling thread to the C locale for the life of the object.
class CLocaleScope {
public:
    CLocaleScope() : mPrevious(cLocale() != nullptr ? uselocale(cLocale()) : nullptr) {}
    ~CLocaleScope()
    {
        if (mPrevious != nullptr) {
            uselocale(mPrevious);
        }
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t mPrevious;
};

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// "%d": a long with saturation, stored as int the way the C library does.
bool scanInt(const char* p, int* out)
{
    while (isSpace(*p)) {
        ++p;
    }
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (*p < '0' || *p > '9') {
        return false;
    }
    uint64_t magnitude = 0;
    bool saturated = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude > (UINT64_MAX - 9u) / 10u) {
            saturated = true;
        } else {
            magnitude = magnitude * 10u + static_cast<uint64_t>(*p - '0');
        }
    }
    int64_t value;
    if (negative) {
        value = saturated || magnitude > uint64_t(INT64_MAX) + 1u ? INT64_MIN : static_cast<int64_t>(0u - magnitude);
    } else {
        value = saturated || magnitude > uint64_t(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(magnitude);
    }
    *out = static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
    return true;
}

// "%08X": at most eight characters (sign and 0x prefix included) of hexadecimal.
bool scanHex8(const char* p, unsigned int* out)
{
    while (isSpace(*p)) {
        ++p;
    }
    int width = 8;
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
        --width;
    }
    bool digits = false;
    if (width >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        digits = true;
        p += 2;
        width -= 2;
    }
    uint64_t value = 0;
    for (; width > 0 && hexDigit(*p) >= 0; ++p, --width) {
        value = value * 16u + static_cast<uint64_t>(hexDigit(*p));
        digits = true;
    }
    if (!digits) {
        return false;
    }
    *out = static_cast<unsigned int>(negative ? 0u - value : value);
    return true;
}

// "%lf": decimal by from_chars; hexadecimal, infinities, NaNs and range errors by strtod in C.
bool scanDouble(const char* p, double* out)
{
    while (isSpace(*p)) {
        ++p;
    }
    const char* start = p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    bool decimal = (*p >= '0' && *p <= '9') || (*p == '.' && p[1] >= '0' && p[1] <= '9');
    bool hexPrefix = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
    if (decimal && !hexPrefix) {
        double value = 0;
        std::from_chars_result result = std::from_chars(p, p + std::strlen(p), value);
        if (result.ec == std::errc()) {
            *out = negative ? -value : value;
            return true;
        }
    }
    char* end = nullptr;
    double value = cLocale() != nullptr ? strtod_l(start, &end, cLocale()) : std::strtod(start, &end);
    if (end == start) {
        return false;
    }
    *out = value;
    return true;
}

template <class T>
int printNumber(char* buffer, size_t size, T value)
{
    char digits[32];
    std::to_chars_result result = std::to_chars(digits, digits + sizeof(digits), value);
    size_t length = static_cast<size_t>(result.ptr - digits);
    if (length < size) {
        std::memcpy(buffer, digits, length);
        buffer[length] = 0;
    }
    return static_cast<int>(length);
}

int printFixed6(char* buffer, size_t size, double value)
{
    char digits[400];
    std::to_chars_result result =
        std::to_chars(digits, digits + sizeof(digits), value, std::chars_format::fixed, 6);
    if (result.ec != std::errc()) {
        return -1;
    }
    size_t length = static_cast<size_t>(result.ptr - digits);
    if (length < size) {
        std::memcpy(buffer, digits, length);
        buffer[length] = 0;
    }
    return static_cast<int>(length);
}

int printHex8(char* buffer, size_t size, unsigned int value)
{
    static const char kDigits[] = "0123456789ABCDEF";
    if (size > 8) {
        for (int i = 7; i >= 0; --i) {
            buffer[i] = kDigits[value & 15u];
            value >>= 4;
        }
        buffer[8] = 0;
    }
    return 8;
}

}  // namespace

bool scanFormatted(const char* text, const char* format, va_list args)
{
    if (text == nullptr || format == nullptr) {
        return false;
    }
    if (std::strcmp(format, "%d") == 0) {
        return scanInt(text, va_arg(args, int*));
    }
    if (std::strcmp(format, "%lf") == 0) {
        return scanDouble(text, va_arg(args, double*));
    }
    if (std::strcmp(format, "%08X") == 0) {
        return scanHex8(text, va_arg(args, unsigned int*));
    }
    CLocaleScope scope;
    return std::vsscanf(text, format, args) == 1;
}

int printFormatted(char* buffer, size_t size, const char* format, va_list args)
{
    if (format == nullptr) {
        return -1;
    }
    if (std::strcmp(format, "%d") == 0) {
        return printNumber(buffer, size, va_arg(args, int));
    }
    if (std::strcmp(format, "%lf") == 0) {
        return printFixed6(buffer, size, va_arg(args, double));
    }
    if (std::strcmp(format, "%08X") == 0) {
        return printHex8(buffer, size, va_arg(args, unsigned int));
    }
    CLocaleScope scope;
    return std::vsnprintf(buffer, size, format, args);
}

}  // namespace NuvoraXML
