// A small byte-oriented, event-driven XML parser: one virtual event per construct.
#ifndef NUVORA_XML_PARSER_H
#define NUVORA_XML_PARSER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ScnXML.h"

namespace NuvoraXML {

class CXMLParser;

// The bytes of the CDATA section being parsed, up to and not including its "]]>".
class CXMLCDataStream : public CXMLReadStream {
public:
    explicit CXMLCDataStream(CXMLParser* parser);
    // Fills the request completely unless the section ends; fails when the data ends first.
    int32_t Read(void* buffer, int32_t length) override;
    // Reads and drops what the handler left unread.
    void Drain();

private:
    CXMLParser* mParser;
    int mHeld;             // "]" read and held back, at most two
    int mPendingBrackets;  // "]" released but not yet delivered
    int mPendingChar;      // a byte to deliver after them, or -1
    bool mDone;
};

// Parses a document from a read stream and reports its constructs to the handler operations; the
// texts they are given (often in the input itself) are valid during the call only.
class CXMLParser {
public:
    // Size of each request to the input stream; a shorter answer is the last one.
    static constexpr int32_t kInputSize = 1024;
    // Scans look at this many input bytes at a time, also past the last byte of a piece.
    static constexpr size_t kScanWidth = 16;

    CXMLParser();

    // Full mode: every element is reported. Fails on a null stream or while already parsing.
    void Parse(CXMLReadStream* stream);
    // Filtering mode: an element whose OnStartElement answers 0 is skipped with its content.
    void ParseFiltered(CXMLReadStream* stream);

protected:
    // A comment's text; the default ignores it.
    virtual void OnComment(const char* text);
    // Answering false ends the parse at once, without error.
    virtual bool OnPI(const char* target, const char* data);
    // Absent parts are null.
    virtual void OnDocType(const char* name, const char* publicId, const char* systemId,
                           const char* internalSubset);
    // Answers the handle given back to OnEndElement; in filtering mode 0 declines the element.
    virtual void* OnStartElement(const char* name) = 0;
    // An attribute of the element just started, its value decoded.
    virtual void OnAttribute(const char* name, const char* value) = 0;
    // A run of text, decoded, without its leading blanks.
    virtual void OnText(const char* text) = 0;
    // The default reads the section in 2048-byte requests and hands it to OnText.
    virtual void OnCData(CXMLReadStream* stream);
    // The end of the element that OnStartElement answered handle for.
    virtual void OnEndElement(void* handle) = 0;
    // May fill buffer (size bytes, terminated) with the replacement of an unknown named entity.
    virtual bool OnUnknownEntity(const char* name, char* buffer, int32_t size);

public:
    // Frees the name and value buffers.
    virtual ~CXMLParser();
    CXMLParser(const CXMLParser&) = delete;
    CXMLParser& operator=(const CXMLParser&) = delete;

protected:
    // Where the parse of the document element stands between two constructs.
    enum class Step { StartTag, Attributes, Content, Done };
    // Reads the common constructs that lie whole in the input piece, from step on, and answers
    // the step where it stopped (full mode only); Events delivers the events to the handler.
    template <class Events>
    Step FastStepsFor(Step step);
    // The quick steps a parser runs: FastStepsFor with its event delivery.
    using FastSteps = Step (CXMLParser::*)(Step);
    // Makes the parser run steps (a handler class that delivers its events by direct calls).
    void SetFastSteps(FastSteps steps) { mFastSteps = steps; }
    // Delivery of the events of the quick steps through the handler operations.
    struct VirtualEvents;

    // The length of the value or text being reported to OnAttribute or OnText (a text may hold
    // NUL bytes from a section).
    size_t GetValueLength() const { return mValueLength; }
    // The length of the name being reported to OnStartElement or OnAttribute.
    size_t GetNameLength() const { return mNameLength; }

private:
    friend class CXMLCDataStream;

    // A growable byte buffer, terminated after every fill.
    struct Buffer {
        char* bytes = nullptr;
        size_t length = 0;
        size_t capacity = 0;
    };

    void Run(CXMLReadStream* stream, bool filtered);
    void ParseDocument();
    void ParseElement();
    // Reads one construct from step on and answers the next step.
    Step SlowStep(Step step);

    // The next input byte as the current character (-1 at the end of data).
    int Next()
    {
        if (mPos < mFill) {
            return mCh = mInput[mPos++];
        }
        return mCh = Refill();
    }
    int Refill();
    void SkipWhitespace()
    {
        if (mCh == ' ' || mCh == '\t' || mCh == '\n' || mCh == '\r') {
            SkipMoreWhitespace();
        }
    }
    void SkipMoreWhitespace();

    void Reserve(Buffer& buffer, size_t extra);
    // Grows the buffer to capacity bytes; false (buffer unchanged) when memory runs out.
    bool TryReserve(Buffer& buffer, size_t capacity);
    // Decodes a value or text whose first entity is at amp into the value buffer, up to its stop
    // of Stops; answers that stop (or the piece's end), or null when the run holds an entity the
    // quick steps leave to the slow ones.
    template <uint16_t Stops>
    const unsigned char* DecodeRun(const unsigned char* first, const unsigned char* amp);
    void Append(Buffer& buffer, char c)
    {
        if (buffer.length + 1 >= buffer.capacity) {
            Reserve(buffer, 1);
        }
        buffer.bytes[buffer.length++] = c;
    }
    void Append(Buffer& buffer, const unsigned char* bytes, size_t length)
    {
        if (buffer.length + length + 1 > buffer.capacity) {
            Reserve(buffer, length);
        }
        std::memcpy(buffer.bytes + buffer.length, bytes, length);
        buffer.length += length;
    }
    // Adds the current character and the input bytes after it up to one of the stops (a set of
    // character classes), then moves to the next character.
    template <uint16_t Stops>
    inline void AppendRun(Buffer& buffer);
    void Terminate(Buffer& buffer)
    {
        if (buffer.length + 1 > buffer.capacity) {
            Reserve(buffer, 0);
        }
        buffer.bytes[buffer.length] = 0;
    }

    // Fails unless the current character can start a name.
    void CheckNameStart();
    void ReadName(Buffer& buffer);
    // Reads over a name that is not needed (an end tag's).
    void SkipName();
    void ReadEntity(Buffer& buffer);
    void ReadAttribute(bool report);
    void ReadText();
    void ReadLiteral(Buffer& buffer);
    // Reads up to the byte end (consumed, not kept; one of the stops), decoding entities when asked.
    template <uint16_t Stops>
    void ReadDelimited(Buffer& buffer, int end, bool entities, const char* endOfData);
    // Reads into the value buffer up to the first close text followed by ">" (both consumed).
    void ReadClosed(const char* close, size_t closeLength, const char* endOfData);
    void ReadComment();
    void ReadPI();
    void ReadBang();
    void ReadDocType();
    void ReadCData();
    void SkipElementContent();
    void ReadEndTag();

    CXMLReadStream* mStream;
    // A piece of input; the quick steps may keep a construct that crosses a piece's end in front
    // of the next piece.
    unsigned char mInput[2 * kInputSize + kScanWidth];
    size_t mPos;
    size_t mFill;
    bool mEnd;
    int mCh;
    bool mFiltered;
    Buffer mName;
    Buffer mValue;
    // Lengths of the name and value being reported (they may lie in the input itself).
    size_t mNameLength;
    size_t mValueLength;
    Buffer mSkipName;
    // The open elements' handles, and the handle of the start tag being read.
    std::vector<void*> mHandles;
    void* mHandle;
    // The start tag being read was declined (filtering mode).
    bool mDeclined;
    FastSteps mFastSteps;
};

}  // namespace NuvoraXML

#endif
