// Character classes of the token text, looked up in one table (ASCII only, whatever the locale).
#ifndef SCN_TOKEN_CHARS_H
#define SCN_TOKEN_CHARS_H

#include <array>
#include <cstdint>

namespace NvScn {
namespace TokenChars {

// The classes, as bits of a table entry.
enum : uint8_t {
    kDigit = 1,     // 0-9
    kLetter = 2,    // A-Z, a-z
    kWordTail = 4,  // letters, digits and "_": what continues a word or option word
    kSpace = 8,     // space, tab, line feed, carriage return: what separates block tokens
    kLineEnd = 16   // line feed, carriage return
};

// Builds the table once, at compile time.
constexpr std::array<uint8_t, 256> makeTable()
{
    std::array<uint8_t, 256> table{};
    for (int c = '0'; c <= '9'; ++c) {
        table[c] = kDigit | kWordTail;
    }
    for (int c = 'A'; c <= 'Z'; ++c) {
        table[c] = kLetter | kWordTail;
        table[c + ('a' - 'A')] = kLetter | kWordTail;
    }
    table['_'] = kWordTail;
    table[' '] = kSpace;
    table['\t'] = kSpace;
    table['\n'] = kSpace | kLineEnd;
    table['\r'] = kSpace | kLineEnd;
    return table;
}

// The classes of every byte value.
inline constexpr std::array<uint8_t, 256> kTable = makeTable();

// Whether the byte (0 to 255) has any of the classes; false for the end of data (-1).
inline bool is(int byte, uint8_t classes)
{
    return byte >= 0 && (kTable[static_cast<uint8_t>(byte)] & classes) != 0;
}

}  // namespace TokenChars
}  // namespace NvScn

#endif
