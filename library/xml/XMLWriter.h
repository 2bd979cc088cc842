// The byte-exact serialiser of node trees, buffered over an XML write stream.
#ifndef NUVORA_XML_WRITER_H
#define NUVORA_XML_WRITER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "ScnXML.h"

namespace NuvoraXML {

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

    // Writes a node and its subtree without recursion.
    void WriteTree(XIXMLNode* top, int32_t depth);
    // Writes everything gathered; a short write fails with "Can't write character".
    void Flush();
    // The stream under the buffer (flush first before writing to it directly).
    XIXMLWriteStream* GetStream() { return mStream; }

    // A line feed and depth tabs, unless the skip flag is set (then it is only cleared).
    void Indent(int32_t depth);
    void SetSkipIndent(bool skip) { mSkipIndent = skip; }
    bool GetSkipIndent() const { return mSkipIndent; }

    void Write(const char* bytes, size_t length)
    {
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

    // The start tag of an element; "/>" when it has no children.
    void WriteStartTag(XIXMLElement* element, int32_t depth, bool hasChildren);
    // The end tag of an element with children.
    void WriteEndTag(XIXMLElement* element, int32_t depth);

private:
    // Writes text with the characters marked in stops (also listed in stopSet) replaced by their
    // entities; NUL ends the text.
    void WriteEscaped(const char* text, const unsigned char* stops, const char* stopSet);
    // Writes bytes that do not fit in the buffer's free space.
    void WriteLong(const char* bytes, size_t length);
    void WriteToStream(const char* bytes, size_t length);

    XIXMLWriteStream* mStream;
    std::unique_ptr<char[]> mBuffer;
    size_t mUsed;
    bool mSkipIndent;
};

}  // namespace NuvoraXML

#endif
