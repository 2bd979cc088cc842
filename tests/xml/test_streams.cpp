// The stream adapters between client streams, XML streams and data blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_xml_support.h"
#include "support/TestSupport.h"
#include "xml/XMLStreams.h"

using namespace NuvoraXML;
using XmlTest::errorOf;
using XmlTest::StringReadStream;
using XmlTest::StringWriteStream;

namespace {

std::string pattern(size_t size)
{
    std::string bytes(size, 0);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
    }
    return bytes;
}

}  // namespace

TEST(ClientStreamAdapters, ForwardToTheClientStream)
{
    ScnTest::MemoryStream client;
    CSCNXMLWriteStream out(&client);
    EXPECT_EQ(5, out.Write("hello", 5));
    EXPECT_EQ(0, out.Write("x", 0));
    EXPECT_EQ("hello", client.bytes());

    ScnTest::MemoryStream source(pattern(3000));
    source.maxReadChunk = 100;
    CSCNXMLReadStream in(&source);
    char buffer[1024];
    EXPECT_EQ(100, in.Read(buffer, 1024));
    EXPECT_EQ(pattern(100), std::string(buffer, 100));
}

TEST(ClientStreamAdapters, TreeReadAndWriteOverAClientStream)
{
    ScnTest::MemoryStream source("<?xml version=\"1.0\"?><Scn.File><A x='1'/></Scn.File>");
    CSCNXMLReadStream in(&source);
    CXMLTreeReader reader;
    std::unique_ptr<XCXMLTree> tree(reader.Read(&in));
    ScnTest::MemoryStream target;
    CSCNXMLWriteStream out(&target);
    tree->GetRoot()->Write(&out);
    EXPECT_EQ("<?xml version=\"1.0\"?>\n<Scn.File>\n\t<A x=\"1\"/>\n</Scn.File>\n", target.bytes());
}

TEST(BlockWriteStream, GathersWritesIn2048Bytes)
{
    struct Case {
        std::vector<int32_t> writes;
        std::vector<int32_t> reaching;  // the writes that reach the XML stream, flush included
    };
    const Case cases[] = {
        {{100, 200}, {300}},
        {{2048}, {2048}},
        {{100, 2000}, {100, 2000}},
        {{100, 3000, 5}, {100, 3000, 5}},
        {{1000, 1048, 1}, {2048, 1}},
        {{5000}, {5000}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        StringWriteStream xml;
        std::string expected;
        {
            CScnXMLWriteStream block(&xml);
            for (int32_t size : c.writes) {
                std::string bytes = pattern(static_cast<size_t>(size));
                block.write(bytes.data(), size);
                expected += bytes;
            }
            EXPECT_EQ(static_cast<int64_t>(expected.size()), block.getPosition());
        }
        EXPECT_EQ(c.reaching, xml.writes);
        EXPECT_EQ(expected, xml.bytes());
    }
}

TEST(BlockWriteStream, ShortWriteFailsOnFlushAndIsReportedFromTheDestructor)
{
    StringWriteStream xml;
    xml.limit = 10;
    XmlTest::DiagnosticRecorder diagnostics;
    {
        CScnXMLWriteStream block(&xml);
        block.write("0123456789abcdef", 16);
        EXPECT_EQ("Can't write character", errorOf([&] { block.flush(); }));
        block.write("x", 1);
    }
    ASSERT_EQ(1u, diagnostics.entries.size());
    EXPECT_EQ("CScnXMLWriteStream::~CScnXMLWriteStream: Exception in destructor (Can't write character)",
              diagnostics.entries[0].second);
}

TEST(BlockReadStream, ReadsEverythingInAnyRequestSize)
{
    const std::string data = pattern(5000);
    for (int32_t request : {1, 3, 511, 512, 1024, 4096, 6000}) {
        StringReadStream section(data);
        CScnXMLReadStream block(&section);
        std::string got;
        std::vector<char> buffer(static_cast<size_t>(request));
        for (;;) {
            int32_t n = block.read(buffer.data(), request);
            got.append(buffer.data(), static_cast<size_t>(n));
            if (n == 0) {
                break;
            }
        }
        EXPECT_EQ(data, got) << request;
        EXPECT_EQ(5000, block.getPosition());
    }
}

TEST(BlockReadStream, SeeksBackUpTo512Bytes)
{
    const std::string data = pattern(10000);
    for (int64_t at : {1, 511, 512, 1023, 1024, 1025, 1536, 3000, 9999}) {
        for (int64_t back : {1, 100, 512}) {
            StringReadStream section(data);
            CScnXMLReadStream block(&section);
            std::string skipped(static_cast<size_t>(at), 0);
            ASSERT_EQ(at, block.read(&skipped[0], static_cast<int32_t>(at)));
            int64_t target = at - back < 0 ? 0 : at - back;
            block.setPosition(target);
            EXPECT_EQ(target, block.getPosition());
            char buffer[64];
            int32_t n = block.read(buffer, 64);
            EXPECT_EQ(data.substr(static_cast<size_t>(target), static_cast<size_t>(n)), std::string(buffer, static_cast<size_t>(n)))
                << at << " back " << back;
        }
    }
    StringReadStream section(data);
    CScnXMLReadStream block(&section);
    std::string skipped(3000, 0);
    block.read(&skipped[0], 3000);
    EXPECT_EQ("CScnXMLReadStream::setPosition - position out of the window", errorOf([&] { block.setPosition(3000 - 513 - 511); }));
    EXPECT_EQ("CScnXMLReadStream::setPosition - position out of the window", errorOf([&] { block.setPosition(3500); }));
}

TEST(BlockReadStream, AsksTheSectionForWindowSizedPieces)
{
    StringReadStream section(pattern(2000));
    CScnXMLReadStream block(&section);
    char buffer[2000];
    EXPECT_EQ(2000, block.read(buffer, 2000));
    EXPECT_EQ(0, block.read(buffer, 1));
    EXPECT_EQ((std::vector<int32_t>{1024, 512, 512, 48}), section.asked);
    EXPECT_EQ(2000, block.getPosition());
}

TEST(BlockReadStream, TokenStyleReadingInsideADocumentSection)
{
    // A block reader that reads bytes one at a time and steps back after each number.
    class Blocks : public IXMLCDataReader {
    public:
        bool Read(XIXMLElement*, CXMLReadStream* stream) override
        {
            CScnXMLReadStream block(stream);
            char c = 0;
            while (block.read(&c, 1) == 1) {
                if (c >= '0' && c <= '9') {
                    std::string number(1, c);
                    while (block.read(&c, 1) == 1 && c >= '0' && c <= '9') {
                        number += c;
                    }
                    block.setPosition(block.getPosition() - 1);
                    numbers.push_back(std::stoi(number));
                }
            }
            return true;
        }
        std::vector<int> numbers;
    } blocks;
    std::string text;
    std::vector<int> expected;
    for (int i = 0; i < 3000; ++i) {
        text += std::to_string(i) + (i % 10 == 0 ? "\n" : " ");
        expected.push_back(i);
    }
    XmlTest::readTree("<Scn><Points><![CDATA[" + text + "]]></Points></Scn>", &blocks);
    EXPECT_EQ(expected, blocks.numbers);
}
