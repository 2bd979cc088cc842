// Helpers of the XML toolkit tests: memory streams, parsing and writing shortcuts, diagnostics.
#ifndef SCN_XML_TEST_SUPPORT_H
#define SCN_XML_TEST_SUPPORT_H

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Diagnostics.h"
#include "xml/XMLNodes.h"
#include "xml/XMLTreeReader.h"
#include "xml/XMLWriter.h"

namespace XmlTest {

// Delivers bytes from memory, at most chunk bytes per request (0: as many as asked).
class StringReadStream : public NuvoraXML::CXMLReadStream {
public:
    explicit StringReadStream(std::string bytes, size_t chunk = 0) : mBytes(std::move(bytes)), mChunk(chunk) {}
    int32_t Read(void* buffer, int32_t length) override
    {
        asked.push_back(length);
        size_t count = std::min(static_cast<size_t>(length), mBytes.size() - mPos);
        if (mChunk != 0) {
            count = std::min(count, mChunk);
        }
        std::memcpy(buffer, mBytes.data() + mPos, count);
        mPos += count;
        return static_cast<int32_t>(count);
    }
    // The length of every request, in order.
    std::vector<int32_t> asked;

private:
    std::string mBytes;
    size_t mChunk;
    size_t mPos = 0;
};

// Collects written bytes; with a limit, a write that passes it is cut short.
class StringWriteStream : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override
    {
        writes.push_back(length);
        int32_t accepted = length;
        if (limit >= 0 && bytes_.size() + static_cast<size_t>(length) > static_cast<size_t>(limit)) {
            accepted = static_cast<int32_t>(static_cast<size_t>(limit) - bytes_.size());
        }
        bytes_.append(static_cast<const char*>(bytes), static_cast<size_t>(accepted));
        return accepted;
    }
    const std::string& bytes() const { return bytes_; }
    long limit = -1;
    std::vector<int32_t> writes;

private:
    std::string bytes_;
};

// Reads a document with the tree reader (sections kept as text unless a block reader is given).
inline std::unique_ptr<NuvoraXML::XCXMLTree> readTree(const std::string& text, NuvoraXML::IXMLCDataReader* blocks = nullptr,
                                                      size_t chunk = 0)
{
    StringReadStream stream(text, chunk);
    NuvoraXML::CXMLTreeReader reader(blocks);
    return std::unique_ptr<NuvoraXML::XCXMLTree>(reader.Read(&stream));
}

// The bytes the writer produces for an element (or the root) and its subtree.
inline std::string writeElement(NuvoraXML::XIXMLElement* element)
{
    StringWriteStream stream;
    element->Write(&stream);
    return stream.bytes();
}

// Runs an action and answers the text of the runtime error it throws ("" when none).
template <class Action>
std::string errorOf(Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

// Records every event with the exact bytes of its names and values, and how many input pieces had
// been asked for when it came; never declines an element.
class EventRecorder : public NuvoraXML::CXMLParser {
public:
    // The events, the error and the number of requests of a parse in one mode.
    std::string run(const std::string& text, bool filtered)
    {
        StringReadStream input(text);
        mStream = &input;
        mLog.clear();
        std::string error = errorOf([&] {
            if (filtered) {
                ParseFiltered(&input);
            } else {
                Parse(&input);
            }
        });
        mStream = nullptr;
        return mLog + "|" + error + "|" + std::to_string(input.asked.size());
    }

protected:
    void OnComment(const char* text) override { note("comment(" + std::string(text) + ")"); }
    bool OnPI(const char* target, const char* data) override
    {
        note("pi(" + std::string(target) + "," + data + ")");
        return true;
    }
    void* OnStartElement(const char* name) override
    {
        note("<" + std::string(name, GetNameLength()));
        return this;
    }
    void OnAttribute(const char* name, const char* value) override
    {
        note("@" + std::string(name, GetNameLength()) + "=" + std::string(value, GetValueLength()));
    }
    void OnText(const char* text) override { note("text(" + std::string(text, GetValueLength()) + ")"); }
    void OnEndElement(void*) override { note(">"); }

private:
    void note(const std::string& event) { mLog += std::to_string(mStream->asked.size()) + ":" + event + ";"; }

    StringReadStream* mStream = nullptr;
    std::string mLog;
};

// Reads a document and writes it back; a failure answers "error: " and its message.
inline std::string roundTrip(const std::string& text, size_t chunk = 0)
{
    std::string result;
    std::string error = errorOf([&] { result = writeElement(readTree(text, nullptr, chunk)->GetRoot()); });
    return error.empty() ? result : "error: " + error;
}

// Records the diagnostics of the calling thread while alive.
class DiagnosticRecorder {
public:
    DiagnosticRecorder() { Nuvora::setThreadDiagnosticSink(&record, this); }
    ~DiagnosticRecorder() { Nuvora::setThreadDiagnosticSink(nullptr, nullptr); }
    std::vector<std::pair<int, std::string>> entries;

private:
    static void record(void* context, int level, const char* text)
    {
        static_cast<DiagnosticRecorder*>(context)->entries.emplace_back(level, text);
    }
};

}  // namespace XmlTest

#endif
