#include "xml/XMLWriter.h"

#include <climits>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define NUVORA_XML_WRITE_SSE2 1
#endif

#include "platform/Failure.h"
#include "xml/XMLMessages.h"
#include "xml/XMLNodes.h"

namespace NuvoraXML {

namespace {

constexpr int kValueEscapes = 0;
constexpr int kTextEscapes = 1;

// The characters written as entities in attribute values and in texts, and the NUL that ends
// both.
struct EscapeTable {
    unsigned char of[2][256];
    constexpr EscapeTable() : of()
    {
        of[kValueEscapes][0] = 1;
        of[kTextEscapes][0] = 1;
        of[kValueEscapes][static_cast<unsigned char>('"')] = 1;
        of[kValueEscapes][static_cast<unsigned char>('&')] = 1;
        of[kValueEscapes][static_cast<unsigned char>('<')] = 1;
        of[kTextEscapes][static_cast<unsigned char>('&')] = 1;
        of[kTextEscapes][static_cast<unsigned char>('<')] = 1;
        of[kTextEscapes][static_cast<unsigned char>('>')] = 1;
    }
};

constexpr EscapeTable kEscapes;

// The longest entity written.
constexpr size_t kLongestEntity = 6;
// Bytes looked at in one step of an escaping copy.
constexpr size_t kStep = 16;

char* copyEntity(unsigned char c, char* out)
{
    switch (c) {
    case '"':
        std::memcpy(out, "&quot;", 6);
        return out + 6;
    case '&':
        std::memcpy(out, "&amp;", 5);
        return out + 5;
    case '<':
        std::memcpy(out, "&lt;", 4);
        return out + 4;
    default:
        std::memcpy(out, "&gt;", 4);
        return out + 4;
    }
}

#if NUVORA_XML_WRITE_SSE2
// Bit i is set when byte i is one of the characters of the set Escapes, or a NUL.
template <int Escapes>
inline unsigned escapeBits(__m128i v)
{
    __m128i m = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('&')), _mm_cmpeq_epi8(v, _mm_set1_epi8('<')));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_set1_epi8(Escapes == kValueEscapes ? '"' : '>')));
    m = _mm_or_si128(m, _mm_cmpeq_epi8(v, _mm_setzero_si128()));
    return static_cast<unsigned>(_mm_movemask_epi8(m));
}
#endif

// Copies from p (up to end, or a NUL, which ends the text) to out, escaping, while out has room
// before limit for a step and an entity; answers where the copy stopped in the source (end once
// the text is done) and the output.
template <int Escapes>
inline void escapeInto(const unsigned char*& p, const unsigned char* end, char*& out, const char* limit)
{
    const unsigned char* escapes = kEscapes.of[Escapes];
    while (p != end && static_cast<size_t>(limit - out) >= kStep + kLongestEntity) {
        unsigned char c;
#if NUVORA_XML_WRITE_SSE2
        if (static_cast<size_t>(end - p) >= kStep) {
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
            unsigned bits = escapeBits<Escapes>(bytes);
            if (bits == 0) {
                p += kStep;
                out += kStep;
                continue;
            }
            unsigned plain = static_cast<unsigned>(__builtin_ctz(bits));
            p += plain;
            out += plain;
            c = *p++;
        } else
#endif
        {
            // Fewer bytes than a step: one at a time.
            c = *p++;
            if (escapes[c] == 0) {
                *out++ = static_cast<char>(c);
                continue;
            }
        }
        if (c == 0) {
            p = end;
            return;
        }
        out = copyEntity(c, out);
    }
}

}  // namespace

XCXMLWriter::XCXMLWriter(XIXMLWriteStream* stream)
    : mStream(stream), mBuffer(new char[kBufferSize]), mUsed(0), mSkipIndent(true), mNames()
{
    Nuvora::checkPointer(stream, Msg::kNoStream);
}

XCXMLWriter::~XCXMLWriter() = default;

void XCXMLWriter::WriteToStream(const char* bytes, size_t length)
{
    while (length > 0) {
        int32_t piece = length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
        if (mStream->Write(bytes, piece) != piece) {
            Nuvora::fail(Msg::kCantWrite);
        }
        bytes += piece;
        length -= static_cast<size_t>(piece);
    }
}

void XCXMLWriter::Flush()
{
    if (mUsed > 0) {
        size_t used = mUsed;
        mUsed = 0;
        WriteToStream(mBuffer.get(), used);
    }
}

void XCXMLWriter::WriteLong(const char* bytes, size_t length)
{
    Flush();
    if (length < kBufferSize) {
        std::memcpy(mBuffer.get(), bytes, length);
        mUsed = length;
    } else {
        WriteToStream(bytes, length);
    }
}

void XCXMLWriter::Write(const char* text)
{
    if (text != nullptr) {
        Write(text, std::strlen(text));
    }
}

void XCXMLWriter::IndentLong(int32_t depth)
{
    Put('\n');
    int32_t tabs = kIndentCopy - 1;
    while (depth > 0) {
        int32_t piece = depth < tabs ? depth : tabs;
        Write(kIndent + 1, static_cast<size_t>(piece));
        depth -= piece;
    }
}

template <int Escapes>
void XCXMLWriter::WriteEscaped(const char* text, size_t length)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + length;
    while (p != end) {
        char* out = Room(kStep + kLongestEntity);
        escapeInto<Escapes>(p, end, out, mBuffer.get() + kBufferSize);
        Commit(out);
    }
}

void XCXMLWriter::WriteQuoted(const char* value)
{
    Put('"');
    if (value != nullptr) {
        WriteEscaped<kValueEscapes>(value, std::strlen(value));
    }
    Put('"');
}

void XCXMLWriter::WriteText(const char* text)
{
    if (text != nullptr) {
        WriteEscaped<kTextEscapes>(text, std::strlen(text));
    }
}

void XCXMLWriter::WriteAttribute(const char* name, const char* value, size_t valueLength)
{
    size_t nameLength = NameLength(name);
    // Most attributes fit whole in the buffer, with every value byte as an entity.
    size_t worst = nameLength + valueLength * kLongestEntity + 4 + kStep + kLongestEntity;
    char* out = worst <= kBufferSize / 4 ? Room(worst) : nullptr;
    if (out == nullptr) {
        Put(' ');
        Write(name, nameLength);
        Put('=');
        Put('"');
        WriteEscaped<kValueEscapes>(value, valueLength);
        Put('"');
        return;
    }
    *out++ = ' ';
    if (nameLength != 0) {
        std::memcpy(out, name, nameLength);
        out += nameLength;
    }
    *out++ = '=';
    *out++ = '"';
    const unsigned char* p = reinterpret_cast<const unsigned char*>(value);
    escapeInto<kValueEscapes>(p, p + valueLength, out, out + valueLength * kLongestEntity + kStep + kLongestEntity);
    *out++ = '"';
    Commit(out);
}

void XCXMLWriter::WriteStartTag(XCXMLElement* element, int32_t depth, bool hasChildren)
{
    Indent(depth);
    Put('<');
    const char* name = element->Name();
    Write(name, NameLength(name));
    XCXMLAttribute* attribute = element->FirstAttribute();
    bool many = attribute != nullptr && attribute->NextAttribute() != nullptr;
    for (; attribute != nullptr; attribute = attribute->NextAttribute()) {
        if (many) {
            Indent(depth + 1);
        }
        WriteAttribute(attribute->Name(), attribute->Value(), attribute->ValueLength());
    }
    if (hasChildren) {
        Put('>');
    } else {
        Write("/>", 2);
    }
}

void XCXMLWriter::WriteEndTag(XCXMLElement* element, int32_t depth)
{
    Indent(depth);
    Write("</", 2);
    const char* name = element->Name();
    Write(name, NameLength(name));
    Put('>');
}

void XCXMLWriter::WriteTree(XCXMLNode* top, int32_t depth)
{
    XCXMLNode* node = top;
    int32_t level = depth;
    for (;;) {
        XCXMLNode* child = nullptr;
        if (node->IsElement()) {
            XCXMLElement* element = node->ToElement();
            child = element->FirstNode();
            WriteStartTag(element, level, child != nullptr);
        } else {
            node->Write(this, level);
        }
        if (child != nullptr) {
            node = child;
            ++level;
            continue;
        }
        for (;;) {
            if (node == top) {
                return;
            }
            XCXMLNode* next = node->NextNode();
            if (next != nullptr) {
                node = next;
                break;
            }
            XCXMLElement* parent = Nuvora::checkPointer(node->ParentElement(), Msg::kNoParent);
            --level;
            WriteEndTag(parent, level);
            node = parent;
        }
    }
}

}  // namespace NuvoraXML
