#include "xml/XMLWriter.h"

#include <climits>
#include <cstring>

#include "platform/Failure.h"
#include "xml/XMLMessages.h"

namespace NuvoraXML {

namespace {

// Character classes of the escapes: 1 escaped in attribute values, 2 escaped in text.
constexpr unsigned char kInValue = 1;
constexpr unsigned char kInText = 2;

struct EscapeTable {
    unsigned char value[256];
    unsigned char text[256];
    constexpr EscapeTable() : value(), text()
    {
        value[static_cast<unsigned char>('"')] = kInValue;
        value[static_cast<unsigned char>('&')] = kInValue;
        value[static_cast<unsigned char>('<')] = kInValue;
        text[static_cast<unsigned char>('&')] = kInText;
        text[static_cast<unsigned char>('<')] = kInText;
        text[static_cast<unsigned char>('>')] = kInText;
    }
};

constexpr EscapeTable kEscapes;

const char* entityOf(unsigned char c, size_t* length)
{
    switch (c) {
    case '"':
        *length = 6;
        return "&quot;";
    case '&':
        *length = 5;
        return "&amp;";
    case '<':
        *length = 4;
        return "&lt;";
    default:
        *length = 4;
        return "&gt;";
    }
}

}  // namespace

XCXMLWriter::XCXMLWriter(XIXMLWriteStream* stream)
    : mStream(stream), mBuffer(new char[kBufferSize]), mUsed(0), mSkipIndent(true)
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

void XCXMLWriter::Write(const char* bytes, size_t length)
{
    if (length <= kBufferSize - mUsed) {
        std::memcpy(mBuffer.get() + mUsed, bytes, length);
        mUsed += length;
        return;
    }
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

void XCXMLWriter::Indent(int32_t depth)
{
    if (mSkipIndent) {
        mSkipIndent = false;
        return;
    }
    Put('\n');
    for (int32_t i = 0; i < depth; ++i) {
        Put('\t');
    }
}

void XCXMLWriter::WriteEscaped(const char* text, const unsigned char* escapes)
{
    if (text == nullptr) {
        return;
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (;;) {
        const unsigned char* run = p;
        while (*p != 0 && escapes[*p] == 0) {
            ++p;
        }
        if (p != run) {
            Write(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
        }
        if (*p == 0) {
            return;
        }
        size_t length = 0;
        const char* entity = entityOf(*p, &length);
        Write(entity, length);
        ++p;
    }
}

void XCXMLWriter::WriteQuoted(const char* value)
{
    Put('"');
    WriteEscaped(value, kEscapes.value);
    Put('"');
}

void XCXMLWriter::WriteText(const char* text)
{
    WriteEscaped(text, kEscapes.text);
}

void XCXMLWriter::WriteStartTag(XIXMLElement* element, int32_t depth, bool hasChildren)
{
    Indent(depth);
    Put('<');
    Write(element->GetName());
    XIXMLAttribute* attribute = element->GetFirstAttribute();
    bool many = attribute != nullptr && attribute->GetNext() != nullptr;
    for (; attribute != nullptr; attribute = attribute->GetNext()) {
        if (many) {
            Indent(depth + 1);
        }
        attribute->Write(this);
    }
    if (hasChildren) {
        Put('>');
    } else {
        Write("/>", 2);
    }
}

void XCXMLWriter::WriteEndTag(XIXMLElement* element, int32_t depth)
{
    Indent(depth);
    Write("</", 2);
    Write(element->GetName());
    Put('>');
}

void XCXMLWriter::WriteTree(XIXMLNode* top, int32_t depth)
{
    XIXMLNode* node = top;
    int32_t level = depth;
    for (;;) {
        XIXMLElement* element = node->AsElement();
        XIXMLNode* child = nullptr;
        if (element != nullptr) {
            child = element->GetFirstChild();
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
            XIXMLNode* next = node->GetNext();
            if (next != nullptr) {
                node = next;
                break;
            }
            XIXMLElement* parent = Nuvora::checkPointer(node->GetParent(), Msg::kNoParent);
            --level;
            WriteEndTag(parent, level);
            node = parent->AsNode();
        }
    }
}

}  // namespace NuvoraXML
