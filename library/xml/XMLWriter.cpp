#include "xml/XMLWriter.h"

#include <climits>
#include <cstring>

#include "platform/Failure.h"
#include "xml/XMLMessages.h"

namespace NuvoraXML {

namespace {

// Characters that stop the copy of a text: its end (NUL) in every class, and the characters
// written as entities in attribute values (class value) or in texts (class text).
struct EscapeTable {
    unsigned char value[256];
    unsigned char text[256];
    unsigned char plain[256];
    constexpr EscapeTable() : value(), text(), plain()
    {
        value[0] = text[0] = plain[0] = 1;
        value[static_cast<unsigned char>('"')] = 1;
        value[static_cast<unsigned char>('&')] = 1;
        value[static_cast<unsigned char>('<')] = 1;
        text[static_cast<unsigned char>('&')] = 1;
        text[static_cast<unsigned char>('<')] = 1;
        text[static_cast<unsigned char>('>')] = 1;
    }
};

constexpr EscapeTable kEscapes;

// The longest entity written.
constexpr size_t kLongestEntity = 6;

// Line feed and tabs for indentation in one piece.
constexpr char kIndent[] = "\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
constexpr int32_t kIndentTabs = static_cast<int32_t>(sizeof(kIndent)) - 2;

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
    WriteEscaped(text, kEscapes.plain, "");
}

void XCXMLWriter::Indent(int32_t depth)
{
    if (mSkipIndent) {
        mSkipIndent = false;
        return;
    }
    Put('\n');
    while (depth > 0) {
        int32_t tabs = depth < kIndentTabs ? depth : kIndentTabs;
        Write(kIndent + 1, static_cast<size_t>(tabs));
        depth -= tabs;
    }
}

void XCXMLWriter::WriteEscaped(const char* text, const unsigned char* stops, const char* stopSet)
{
    if (text == nullptr) {
        return;
    }
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (;;) {
        // Short runs by the table; a long one goes on with the library's vectorised scan.
        const unsigned char* run = p;
        const unsigned char* quick = p + 16;
        while (p != quick && stops[*p] == 0) {
            ++p;
        }
        if (p == quick) {
            p += std::strcspn(reinterpret_cast<const char*>(p), stopSet);
        }
        Write(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
        if (*p == 0) {
            return;
        }
        if (kBufferSize - mUsed < kLongestEntity) {
            Flush();
        }
        mUsed = static_cast<size_t>(copyEntity(*p, mBuffer.get() + mUsed) - mBuffer.get());
        ++p;
    }
}

void XCXMLWriter::WriteQuoted(const char* value)
{
    Put('"');
    WriteEscaped(value, kEscapes.value, "\"&<");
    Put('"');
}

void XCXMLWriter::WriteText(const char* text)
{
    WriteEscaped(text, kEscapes.text, "&<>");
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
