// The quick steps of the parser: byte classes and scans, and the reading of the common
// constructs that lie whole in an input piece. Internal to the parser and the tree reader, which
// instantiates the quick steps with direct calls of its own event handlers.
#ifndef NUVORA_XML_PARSER_STEPS_H
#define NUVORA_XML_PARSER_STEPS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define NUVORA_XML_SCAN_SSE2 1
#endif

#include "xml/XMLParser.h"

namespace NuvoraXML {

namespace ParserBytes {

// Character classes of the input bytes.
constexpr uint16_t kWhite = 1;         // space, tab, line feed, carriage return
constexpr uint16_t kNameStop = 2;      // ends a name: whitespace and ! * + / = > ?
constexpr uint16_t kTextStop = 4;      // ends a run of text: < &
constexpr uint16_t kDoubleStop = 8;    // ends a run of a "-quoted value: " &
constexpr uint16_t kSingleStop = 16;   // ends a run of a '-quoted value: ' &
constexpr uint16_t kGreaterStop = 32;  // >
constexpr uint16_t kBracketStop = 64;  // ]
constexpr uint16_t kDoubleQuote = 128; // "
constexpr uint16_t kSingleQuote = 256; // '

struct ClassTable {
    uint16_t of[256];
    constexpr ClassTable() : of()
    {
        const char* white = " \t\n\r";
        for (const char* c = white; *c != 0; ++c) {
            of[static_cast<unsigned char>(*c)] |= kWhite | kNameStop;
        }
        const char* nameStops = "!*+/=>?";
        for (const char* c = nameStops; *c != 0; ++c) {
            of[static_cast<unsigned char>(*c)] |= kNameStop;
        }
        of[static_cast<unsigned char>('<')] |= kTextStop;
        of[static_cast<unsigned char>('&')] |= kTextStop | kDoubleStop | kSingleStop;
        of[static_cast<unsigned char>('"')] |= kDoubleStop | kDoubleQuote;
        of[static_cast<unsigned char>('\'')] |= kSingleStop | kSingleQuote;
        of[static_cast<unsigned char>('>')] |= kGreaterStop;
        of[static_cast<unsigned char>(']')] |= kBracketStop;
    }
};

constexpr ClassTable kClass;

constexpr size_t kScanWidth = CXMLParser::kScanWidth;

#if NUVORA_XML_SCAN_SSE2

inline __m128i equalBytes(__m128i bytes, char c)
{
    return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
}

// Bit i is set when byte i belongs to one of the classes of Stops.
template <uint16_t Stops>
inline unsigned stopBits(__m128i v)
{
    __m128i m = _mm_setzero_si128();
    if constexpr ((Stops & (kWhite | kNameStop)) != 0) {
        m = _mm_or_si128(_mm_or_si128(equalBytes(v, ' '), equalBytes(v, '\t')),
                         _mm_or_si128(equalBytes(v, '\n'), equalBytes(v, '\r')));
    }
    if constexpr ((Stops & kNameStop) != 0) {
        // "!", "*+" and ">?" pair with " ", "*" and ">" once the lowest bit is cleared.
        __m128i pairs = _mm_and_si128(v, _mm_set1_epi8(static_cast<char>(0xFE)));
        m = _mm_or_si128(m, _mm_or_si128(equalBytes(pairs, ' '), equalBytes(pairs, '*')));
        m = _mm_or_si128(m, _mm_or_si128(equalBytes(pairs, '>'), _mm_or_si128(equalBytes(v, '/'), equalBytes(v, '='))));
    }
    if constexpr ((Stops & kTextStop) != 0) {
        m = _mm_or_si128(m, equalBytes(v, '<'));
    }
    if constexpr ((Stops & (kTextStop | kDoubleStop | kSingleStop)) != 0) {
        m = _mm_or_si128(m, equalBytes(v, '&'));
    }
    if constexpr ((Stops & (kDoubleStop | kDoubleQuote)) != 0) {
        m = _mm_or_si128(m, equalBytes(v, '"'));
    }
    if constexpr ((Stops & (kSingleStop | kSingleQuote)) != 0) {
        m = _mm_or_si128(m, equalBytes(v, '\''));
    }
    if constexpr ((Stops & kGreaterStop) != 0) {
        m = _mm_or_si128(m, equalBytes(v, '>'));
    }
    if constexpr ((Stops & kBracketStop) != 0) {
        m = _mm_or_si128(m, equalBytes(v, ']'));
    }
    return static_cast<unsigned>(_mm_movemask_epi8(m));
}

// Adds to the stop bits of the 16 bytes at p a stop at limit, when limit lies among them.
inline unsigned stopAtLimit(unsigned bits, const unsigned char* p, const unsigned char* limit)
{
    size_t available = static_cast<size_t>(limit - p);
    return available < kScanWidth ? bits | (1u << available) : bits;
}

#endif

// The first byte from p on, before limit, that is (or with Inverse: is not) in one of the classes
// of Stops; limit when there is none. The 16 bytes from any position before limit are readable.
template <uint16_t Stops, bool Inverse = false>
inline const unsigned char* findStop(const unsigned char* p, const unsigned char* limit)
{
#if NUVORA_XML_SCAN_SSE2
    while (p < limit) {
        unsigned bits = stopBits<Stops>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        if (Inverse) {
            bits ^= 0xFFFFu;
        }
        bits = stopAtLimit(bits, p, limit);
        if (bits != 0) {
            return p + __builtin_ctz(bits);
        }
        p += kScanWidth;
    }
    return limit;
#else
    while (p < limit && ((kClass.of[*p] & Stops) != 0) == Inverse) {
        ++p;
    }
    return p;
#endif
}

// Copies the bytes from p on up to the first stop (as findStop) to out and answers that stop.
// Up to 16 bytes past the copy may be written: out must have room for limit - p + 16 bytes.
template <uint16_t Stops>
inline const unsigned char* copyRun(const unsigned char* p, const unsigned char* limit, char* out)
{
#if NUVORA_XML_SCAN_SSE2
    while (p < limit) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
        unsigned bits = stopAtLimit(stopBits<Stops>(bytes), p, limit);
        if (bits != 0) {
            return p + __builtin_ctz(bits);
        }
        p += kScanWidth;
        out += kScanWidth;
    }
    return limit;
#else
    while (p < limit && (kClass.of[*p] & Stops) == 0) {
        *out++ = static_cast<char>(*p++);
    }
    return p;
#endif
}

inline bool isWhite(int c)
{
    return c >= 0 && (kClass.of[c] & kWhite) != 0;
}

inline bool isNameStop(int c)
{
    return c < 0 || (kClass.of[c] & kNameStop) != 0;
}

// The same tests of a byte of the input.
inline bool isWhiteByte(unsigned char c)
{
    return (kClass.of[c] & kWhite) != 0;
}

inline bool isNameStopByte(unsigned char c)
{
    return (kClass.of[c] & kNameStop) != 0;
}

// Longest entity name, up to its ";".
constexpr size_t kMaxEntity = 254;

// The replacement of an entity the quick steps decode (name runs up to its ";"): one of the five
// named entities, or a character reference in range; answers its length in out (at most 6
// bytes), or -1 for anything else, which the slow steps read again to decide.
int decodeEntity(const unsigned char* name, const unsigned char* semicolon, unsigned char* out);

}  // namespace ParserBytes

// The events of the quick steps as the handler operations of the parser (virtual calls). A
// handler that knows which name comes next may say so: KnownName answers its length when the
// input holds it, and the known-name events then report it (these handlers know none).
struct CXMLParser::VirtualEvents {
    static size_t KnownName(CXMLParser&, const unsigned char*, const unsigned char*) { return 0; }
    static void* StartKnownElement(CXMLParser&) { return nullptr; }
    static void KnownAttribute(CXMLParser&, const char*) {}
    static void* StartElement(CXMLParser& parser, const char* name) { return parser.OnStartElement(name); }
    static void Attribute(CXMLParser& parser, const char* name, const char* value) { parser.OnAttribute(name, value); }
    static void Text(CXMLParser& parser, const char* text) { parser.OnText(text); }
    static void EndElement(CXMLParser& parser, void* handle) { parser.OnEndElement(handle); }
};

template <uint16_t Stops>
inline const unsigned char* CXMLParser::DecodeRun(const unsigned char* first, const unsigned char* amp)
{
    const unsigned char* end = mInput + mFill;
    size_t room = static_cast<size_t>(end - first) + 1 + kScanWidth;
    if (mValue.capacity < room && !TryReserve(mValue, room)) {
        return nullptr;
    }
    char* out = mValue.bytes;
    std::memcpy(out, first, static_cast<size_t>(amp - first));
    out += amp - first;
    const unsigned char* p = amp;
    do {
        const unsigned char* name = p + 1;
        const unsigned char* semicolon = name;
        while (semicolon != end && *semicolon != ';' && semicolon - name < static_cast<ptrdiff_t>(ParserBytes::kMaxEntity)) {
            ++semicolon;
        }
        int length = semicolon != end && *semicolon == ';'
                         ? ParserBytes::decodeEntity(name, semicolon, reinterpret_cast<unsigned char*>(out))
                         : -1;
        if (length < 0) {
            return nullptr;
        }
        out += length;
        p = ParserBytes::copyRun<Stops>(semicolon + 1, end, out);
        out += p - (semicolon + 1);
    } while (p != end && *p == '&');
    mValue.length = static_cast<size_t>(out - mValue.bytes);
    *out = 0;
    return p;
}

template <class Events>
CXMLParser::Step CXMLParser::FastStepsFor(Step step)
{
    using namespace ParserBytes;
    if (mCh < 0) {
        return step;
    }
    // The current character c stands at s in the input piece, which ends at end. Names, values
    // and texts are reported in place: the byte after each one is read already (or is the current
    // character, kept in c) and its place terminates it. Handlers are called exactly where the
    // slow steps call them, after the same input requests: a construct that reaches the end of
    // the piece asks for the next piece there and is read again from its start, and anything
    // unusual is left to the slow steps from its start.
    unsigned char* s = mInput + mPos - 1;
    unsigned char* end = mInput + mFill;
    int c = mCh;
    // The place of a scanned byte, to end a name or value there.
    auto place = [this](const unsigned char* p) { return mInput + (p - mInput); };
    auto leave = [&](Step at) {
        if (s != end) {
            mPos = static_cast<size_t>(s + 1 - mInput);
            mCh = c;
        } else {
            mPos = mFill;
            Next();
        }
        return at;
    };
    // Keeps the bytes from s on (the construct being read), then reads the next piece behind them;
    // false when the input has ended or the construct is longer than a piece.
    auto more = [&] {
        size_t kept = static_cast<size_t>(end - s);
        if (mEnd || kept > static_cast<size_t>(kInputSize)) {
            return false;
        }
        std::memmove(mInput, s, kept);
        if (kept > 0) {
            mInput[0] = static_cast<unsigned char>(c);
        }
        int32_t got = mStream->Read(mInput + kept, kInputSize);
        if (got < kInputSize) {
            mEnd = true;
        }
        mFill = kept + static_cast<size_t>(got <= 0 ? 0 : got > kInputSize ? kInputSize : got);
        s = mInput;
        end = mInput + mFill;
        if (got <= 0) {
            return false;
        }
        c = *s;
        return true;
    };
    // Moves over whitespace; false at the end of the piece.
    auto skipWhite = [&] {
        while (isWhiteByte(static_cast<unsigned char>(c))) {
            if (++s == end) {
                return false;
            }
            c = *s;
        }
        return true;
    };
    for (;;) {
        if (step == Step::StartTag) {
            if (c == 0 || isNameStopByte(static_cast<unsigned char>(c))) {
                return leave(step);
            }
            unsigned char* stop;
            if (size_t known = Events::KnownName(*this, s, end)) {
                stop = s + known;
                c = *stop;
                mNameLength = known;
                mHandle = Events::StartKnownElement(*this);
            } else {
                stop = place(findStop<kNameStop>(s + 1, end));
                if (stop == end) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                c = *stop;
                *stop = 0;
                mNameLength = static_cast<size_t>(stop - s);
                mHandle = Events::StartElement(*this, reinterpret_cast<const char*>(s));
            }
            mDeclined = false;
            s = stop;
            step = Step::Attributes;
            if (!skipWhite()) {
                if (more()) {
                    continue;
                }
                return leave(step);
            }
        } else if (step == Step::Attributes) {
            if (c == '>') {
                mHandles.push_back(mHandle);
                step = Step::Content;
                if (++s == end) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                c = *s;
                continue;
            }
            if (c == '/') {
                if (end - s >= 2 && s[1] != '>') {
                    return leave(step);
                }
                if (end - s < 3) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                s += 2;
                c = *s;
                Events::EndElement(*this, mHandle);
                step = Step::Content;
                if (!skipWhite()) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                continue;
            }
            if (c == 0 || isNameStopByte(static_cast<unsigned char>(c))) {
                return leave(step);
            }
            size_t known = Events::KnownName(*this, s, end);
            unsigned char* nameEnd = known != 0 ? s + known : place(findStop<kNameStop>(s + 1, end));
            const unsigned char* p = nameEnd;
            if (p != end && isWhiteByte(*p)) {
                p = findStop<kWhite, true>(p, end);
            }
            if (p == end) {
                if (more()) {
                    continue;
                }
                return leave(step);
            }
            if (*p != '=') {
                return leave(step);
            }
            if (++p != end && isWhiteByte(*p)) {
                p = findStop<kWhite, true>(p, end);
            }
            if (p == end) {
                if (more()) {
                    continue;
                }
                return leave(step);
            }
            if (*p != '"' && *p != '\'') {
                return leave(step);
            }
            int quote = *p;
            unsigned char* value = place(p + 1);
            const unsigned char* found = quote == '"' ? findStop<kDoubleStop>(value, end) : findStop<kSingleStop>(value, end);
            // A value with entities is decoded into the value buffer.
            const char* decoded = reinterpret_cast<const char*>(value);
            size_t length = static_cast<size_t>(found - value);
            if (found != end && *found == '&') {
                found = quote == '"' ? DecodeRun<kDoubleStop>(value, found) : DecodeRun<kSingleStop>(value, found);
                decoded = mValue.bytes;
                length = mValue.length;
            }
            if (found != nullptr && end - found < 2) {
                if (more()) {
                    continue;
                }
                return leave(step);
            }
            if (found == nullptr || *found != quote) {
                return leave(step);
            }
            unsigned char* close = place(found);
            *nameEnd = 0;
            *close = 0;
            mNameLength = static_cast<size_t>(nameEnd - s);
            mValueLength = length;
            if (known != 0) {
                Events::KnownAttribute(*this, decoded);
            } else {
                Events::Attribute(*this, reinterpret_cast<const char*>(s), decoded);
            }
            s = close + 1;
            c = *s;
            if (!skipWhite()) {
                if (more()) {
                    continue;
                }
                return leave(step);
            }
        } else if (step == Step::Content) {
            if (mHandles.empty()) {
                return leave(Step::Done);
            }
            if (!skipWhite()) {
                if (more()) {
                    continue;
                }
                return leave(step);
            }
            if (c != '<') {
                const unsigned char* found = findStop<kTextStop>(s, end);
                const char* decoded = reinterpret_cast<const char*>(s);
                size_t length = static_cast<size_t>(found - s);
                if (found != end && *found == '&') {
                    found = DecodeRun<kTextStop>(s, found);
                    decoded = mValue.bytes;
                    length = mValue.length;
                }
                if (found == end) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                if (found == nullptr || *found != '<') {
                    return leave(step);
                }
                unsigned char* stop = place(found);
                *stop = 0;
                mValueLength = length;
                Events::Text(*this, decoded);
                s = stop;
                c = '<';
                continue;
            }
            if (end - s < 2) {
                if (more()) {
                    continue;
                }
                return leave(step);
            }
            int next = s[1];
            if (next == '/') {
                const unsigned char* name = s + 2;
                if (name == end) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                if (*name == 0 || isNameStopByte(*name)) {
                    return leave(step);
                }
                const unsigned char* p = findStop<kNameStop>(name + 1, end);
                if (p != end && isWhiteByte(*p)) {
                    p = findStop<kWhite, true>(p, end);
                }
                if (p != end && *p != '>') {
                    return leave(step);
                }
                if (end - p < 2) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                void* done = mHandles.back();
                mHandles.pop_back();
                Events::EndElement(*this, done);
                s = place(p + 1);
                c = *s;
                if (!skipWhite()) {
                    if (more()) {
                        continue;
                    }
                    return leave(step);
                }
                continue;
            }
            if (next == '[' || next == '!' || next == '?') {
                return leave(step);
            }
            ++s;
            c = next;
            step = Step::StartTag;
        } else {
            return leave(step);
        }
    }
}

}  // namespace NuvoraXML

#endif
