// The parser and the tree reader after a failure, and filtering across input pieces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_xml_support.h"

using namespace NuvoraXML;
using XmlTest::errorOf;
using XmlTest::StringReadStream;

namespace {

// Documents that fail in each state a parse can be left in: inside a start tag read in place,
// inside an attribute value, inside text, inside a section, inside a skipped element.
const char* const kFailures[] = {
    "<r><a x='1' y='2'><b>text</b><c",
    "<r x='&bad;'/>",
    "<r>text",
    "<r><![CDATA[abc]]",
    "<r><skip><x/>a/b",
    "<r><skip/><a></r><",
};

const char kGood[] = "<d x='1'><skip y='2'><e/></skip><f>t&amp;u</f><![CDATA[c]]></d>";

// Logs events, declines elements named "skip".
class DecliningParser : public CXMLParser {
public:
    // The events of a parse, or its error after "|".
    std::string run(const std::string& text, bool filtered, size_t chunk = 0)
    {
        log.clear();
        StringReadStream stream(text, chunk);
        std::string error = errorOf([&] { filtered ? ParseFiltered(&stream) : Parse(&stream); });
        return log + (error.empty() ? "" : "|" + error);
    }

protected:
    void* OnStartElement(const char* name) override
    {
        log += "<" + std::string(name);
        static int handle = 0;
        return std::string(name) == "skip" ? nullptr : &handle;
    }
    void OnAttribute(const char* name, const char* value) override { log += " " + std::string(name) + "=" + value; }
    void OnText(const char* text) override { log += "[" + std::string(text) + "]"; }
    void OnEndElement(void*) override { log += ">"; }

private:
    std::string log;
};

}  // namespace

TEST(AuditParser, AParserFailedInAnyStateParsesTheNextDocumentAsAFreshOne)
{
    for (bool filtered : {false, true}) {
        std::string fresh = DecliningParser().run(kGood, filtered);
        for (const char* failure : kFailures) {
            DecliningParser parser;
            EXPECT_NE(std::string::npos, parser.run(failure, filtered).find('|')) << failure;
            EXPECT_EQ(fresh, parser.run(kGood, filtered)) << failure << (filtered ? " filtered" : "");
        }
    }
}

TEST(AuditParser, ATreeReaderFailedInAnyStateReadsTheNextDocument)
{
    std::string expected = XmlTest::roundTrip(kGood);
    for (const char* failure : kFailures) {
        CXMLTreeReader reader;
        StringReadStream bad(failure);
        EXPECT_NE("", errorOf([&] { delete reader.Read(&bad); })) << failure;
        StringReadStream good(kGood);
        std::unique_ptr<XCXMLTree> tree(reader.Read(&good));
        EXPECT_EQ(expected, XmlTest::writeElement(tree->GetRoot())) << failure;
    }
}

// A skipped element's end tag, and the slash-names inside it, straddle the input pieces at
// every offset; what follows is reported the same.
TEST(AuditParser, SkippedElementEndsAtItsOwnNameWhereverThePiecesEnd)
{
    const std::string tail = "<skip a='1'><x/>p/sk q//skipper/ <![CDATA[//]]></skip ><k v='2'>t</k></r>";
    // The declined element's attributes are read but not reported.
    const std::string expected = "<r<skip<k v=2[t]>>";
    for (size_t pad = 980; pad <= 1030; ++pad) {
        std::string text = "<r>" + std::string(pad, ' ') + tail;
        EXPECT_EQ(expected, DecliningParser().run(text, true)) << pad;
    }
}

// A block reader that asks the tree reader for another tree while it builds one is refused, and
// the tree being built goes on undisturbed.
TEST(AuditTreeReader, ReentryIsRefusedAndTheOuterReadGoesOn)
{
    class Reentering : public IXMLCDataReader {
    public:
        bool Read(XIXMLElement*, CXMLReadStream*) override
        {
            StringReadStream inner("<b/>");
            error = errorOf([&] { delete reader->Read(&inner); });
            return true;
        }
        CXMLTreeReader* reader = nullptr;
        std::string error;
    } blocks;
    CXMLTreeReader reader(&blocks);
    blocks.reader = &reader;
    StringReadStream outer("<a><s><![CDATA[x]]></s><t>u</t></a>");
    std::unique_ptr<XCXMLTree> tree(reader.Read(&outer));
    EXPECT_EQ("exception", blocks.error);
    EXPECT_EQ("<a>\n\t<s/>\n\t<t>u</t>\n</a>\n", XmlTest::writeElement(tree->GetRoot()));
}
