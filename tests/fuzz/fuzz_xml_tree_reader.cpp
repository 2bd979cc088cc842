// Fuzzes the tree reader in full mode (with and without a data-block reader), the filtering mode
// and the writer over whatever tree the input gives; and checks that the full mode reports exactly
// what the filtering mode (which reads by the general steps only) does, with the input moved
// across the end of the first input piece.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "xml/XMLNodes.h"
#include "xml/test_xml_support.h"
#include "xml/XMLStreams.h"
#include "xml/XMLTreeReader.h"

namespace {

using namespace NuvoraXML;

class NullWriteStream : public XIXMLWriteStream {
public:
    int32_t Write(const void*, int32_t length) override { return length; }
};

// Reads every section through the block adapter, stepping back now and then like a token reader.
class SeekingBlocks : public IXMLCDataReader {
public:
    bool Read(XIXMLElement*, CXMLReadStream* stream) override
    {
        CScnXMLReadStream block(stream);
        char c = 0;
        int64_t count = 0;
        while (block.read(&c, 1) == 1) {
            if (++count % 7 == 0) {
                block.setPosition(block.getPosition() - 1);
                block.read(&c, 1);
            }
        }
        return c != '!';
    }
};

// Declines every element whose name starts with "s".
class Filter : public CXMLParser {
protected:
    void* OnStartElement(const char* name) override { return name[0] == 's' ? nullptr : this; }
    void OnAttribute(const char*, const char*) override {}
    void OnText(const char*) override {}
    void OnEndElement(void*) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        XmlTest::StringReadStream stream(std::string(reinterpret_cast<const char*>(data), size));
        CXMLTreeReader reader;
        std::unique_ptr<XCXMLTree> tree(reader.Read(&stream));
        NullWriteStream sink;
        tree->GetRoot()->Write(&sink);
    } catch (const std::exception&) {
    }
    try {
        XmlTest::StringReadStream stream(std::string(reinterpret_cast<const char*>(data), size));
        SeekingBlocks blocks;
        CXMLTreeReader reader(&blocks);
        std::unique_ptr<XCXMLTree>(reader.Read(&stream));
    } catch (const std::exception&) {
    }
    try {
        XmlTest::StringReadStream stream(std::string(reinterpret_cast<const char*>(data), size));
        Filter filter;
        filter.ParseFiltered(&stream);
    } catch (const std::exception&) {
    }
    std::string shifted(size > 0 ? 1000 + data[0] % 24 : 1000, ' ');
    shifted.append(reinterpret_cast<const char*>(data), size);
    XmlTest::EventRecorder recorder;
    std::string slow = recorder.run(shifted, true);
    std::string fast = recorder.run(shifted, false);
    if (slow != fast) {
        std::fprintf(stderr, "full mode differs:\n%s\n%s\n", slow.c_str(), fast.c_str());
        std::abort();
    }
    return 0;
}
