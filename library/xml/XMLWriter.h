// The byte-exact serialiser of node trees, buffered over an XML write stream.
#ifndef NUVORA_XML_WRITER_H
#define NUVORA_XML_WRITER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "ScnXML.h"

namespace NuvoraXML {

class XCXMLNode;
class XCXMLElement;

// Writes nodes at a nesting depth; output is gathered and written to the stream in large pieces.
class XCXMLWriter {
public:
    static constexpr size_t kBufferSize = 64 * 1024;

    // The writer starts with the skip-next-indentation flag set.
    explicit XCXMLWriter(XIXMLWriteStream* stream);
    // Drops what was not flushed: a failed write leaves the stream as it was at the failure.
    ~XCXMLWriter();
    XCXMLWriter(const XCXMLWriter&) = delete;
    XCXMLWriter& operator=(const XCXMLWriter&) = delete;

    // Writes a node of a tree and its subtree without recursion.
    void WriteTree(XCXMLNode* top, int32_t depth);
    // Writes everything gathered; a short write fails with "Can't write character".
    void Flush();
    // The stream under the buffer (flush first before writing to it directly).
    XIXMLWriteStream* GetStream() { return mStream; }

    // A line feed and depth tabs, unless the skip flag is set (then it is only cleared).
    void Indent(int32_t depth)
    {
        if (mSkipIndent) {
            mSkipIndent = false;
        } else if (depth < kIndentCopy && kBufferSize - mUsed >= kIndentCopy) {
            std::memcpy(mBuffer.get() + mUsed, kIndent, kIndentCopy);
            mUsed += static_cast<size_t>(depth) + 1;
        } else {
            IndentLong(depth);
        }
    }
    void SetSkipIndent(bool skip) { mSkipIndent = skip; }
    bool GetSkipIndent() const { return mSkipIndent; }

    void Write(const char* bytes, size_t length)
    {
        if (length == 0) {
            return;
        }
        if (length <= kBufferSize - mUsed) {
            std::memcpy(mBuffer.get() + mUsed, bytes, length);
            mUsed += length;
        } else {
            WriteLong(bytes, length);
        }
    }
    // Writes a NUL-terminated text; null writes nothing.
    void Write(const char* text);
    void Put(char c)
    {
        if (mUsed == kBufferSize) {
            Flush();
        }
        mBuffer[mUsed++] = c;
    }
    // An attribute value in double quotes: '"' as "&quot;", '&' as "&amp;", '<' as "&lt;".
    void WriteQuoted(const char* value);
    // A text: '&', '<' and '>' as entities.
    void WriteText(const char* text);
    // An attribute: a space, its name, "=" and its quoted value (of valueLength bytes at most: a
    // NUL ends it earlier).
    void WriteAttribute(const char* name, const char* value, size_t valueLength);

    // The start tag of an element; "/>" when it has no children.
    void WriteStartTag(XCXMLElement* element, int32_t depth, bool hasChildren);
    // The end tag of an element with children.
    void WriteEndTag(XCXMLElement* element, int32_t depth);

private:
    // A line feed and tabs: indentation of fewer levels is one fixed-size copy.
    static constexpr char kIndent[] = "\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    static constexpr int32_t kIndentCopy = static_cast<int32_t>(sizeof(kIndent)) - 1;

    void IndentLong(int32_t depth);
    // The length of a name (0 for none): names are keys that come back again and again, so their
    // lengths are kept for the writer's life (a key never changes).
    size_t NameLength(const char* name)
    {
        NameEntry& entry = mNames[(reinterpret_cast<uintptr_t>(name) >> 3) % kNameSlots];
        if (entry.name != name) {
            if (name == nullptr) {
                return 0;
            }
            entry.name = name;
            entry.length = std::strlen(name);
        }
        return entry.length;
    }
    // Writes length bytes of text at most (a NUL ends it earlier) with the characters of the set
    // Escapes (0 for attribute values, 1 for texts) written as their entities.
    template <int Escapes>
    void WriteEscaped(const char* text, size_t length);
    // Room for count bytes at the end of the buffer, flushing first when needed; null when count
    // is larger than the buffer.
    char* Room(size_t count)
    {
        if (kBufferSize - mUsed < count) {
            Flush();
            if (count > kBufferSize) {
                return nullptr;
            }
        }
        return mBuffer.get() + mUsed;
    }
    void Commit(char* end) { mUsed = static_cast<size_t>(end - mBuffer.get()); }
    // Writes bytes that do not fit in the buffer's free space.
    void WriteLong(const char* bytes, size_t length);
    void WriteToStream(const char* bytes, size_t length);

    struct NameEntry {
        const char* name;
        size_t length;
    };
    static constexpr size_t kNameSlots = 251;

    XIXMLWriteStream* mStream;
    std::unique_ptr<char[]> mBuffer;
    size_t mUsed;
    bool mSkipIndent;
    NameEntry mNames[kNameSlots];
};

}  // namespace NuvoraXML

#endif
