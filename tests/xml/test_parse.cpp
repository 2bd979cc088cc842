// The parser and the tree reader: syntax, messages, entities, sections, modes and input requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Failures.h"
#include "test_xml_support.h"
#include "platform/Memory.h"

using namespace NuvoraXML;
using namespace std::string_literals;
using XmlTest::errorOf;
using XmlTest::readTree;
using XmlTest::roundTrip;
using XmlTest::StringReadStream;

namespace {

struct ErrorCase {
    std::string input;
    std::string message;
};

class MalformedDocument : public ::testing::TestWithParam<ErrorCase> {};

const ErrorCase kMalformed[] = {
    {"", "XML file must begin with <"},
    {"  x<a/>", "XML file must begin with <"},
    {"<?xml version='1.0'?> x", "XML root must begin with '<'"},
    {"<!-- c -->x", "XML root must begin with '<'"},
    {"<a/>x", "Only comments and processing instructions accepted here"},
    {"<a/><b/>", "Only comments and processing instructions accepted here"},
    {"<a/><!DOCTYPE a>", "Only comments and processing instructions accepted here"},
    {"<a/><![CDATA[x]]>", "Only comments and processing instructions accepted here"},
    {"<=a/>", "Must be a name here"},
    {"<a =''/>", "Must be a name here"},
    {"<?\?>", "Must be a name here"},
    {std::string("<\0a/>", 5), "Must be a name here"},
    {std::string("<a \0='1'/>", 10), "Must be a name here"},
    {"<!x><a/>", "Only !DOCTYPE is recognized."},
    {"<!-x--><a/>", "Comment must begin with '<!--'"},
    {"<a/><!-x-->", "Comment must begin with '<!--'"},
    {"<!DOCTYPE a FOO 'x'><a/>", "Only PUBLIC and SYSTEM can be specified here"},
    {"<!DOCTYPE a SYSTEM x><a/>", "Literal must start with ' or \"."},
    {"<!DOCTYPE a PUBLIC 'p' ><a/>", "Literal must start with ' or \"."},
    {"<!DOCTYPE a SYSTEM 'x' y><a/>", "Declaration must end with '>'."},
    {"<!DOCTYPE a [x] y><a/>", "Declaration must end with '>'."},
    {"<a><![CDATX[x]]></a>", "Must be CDATA here"},
    {"<a><[CDATA]></a>", "Must be CDATA here"},
    {"<a><![CDATA[x]]</a>", "Error while reading <[CDATA[...]]>"},
    {"<a b></a>", "Attribute name must be followed by '='."},
    {"<a b=c></a>", "Attribute value must begin with ''' or '\"'."},
    {"<a/ >", "Bad empty node closing."},
    {"<a b='1'/x>", "Bad empty node closing."},
    {"<a>&foo;</a>", "Unrecognized entity"},
    {"<a b='&;'/>", "Unrecognized entity"},
    {"<a>&#x4F;</a>", "Bad unicode value"},
    {"<a>&#X41;</a>", "Bad unicode value"},
    {"<a>&#12a;</a>", "Bad unicode value"},
    {"<a>&#2147483648;</a>", "Unicode value too big"},
    {"<a>&#x80000000;</a>", "Unicode value too big"},
    {"<a>&" + std::string(255, 'a') + ";</a>", "Entity too big"},
    {"<a>&" + std::string(254, 'a') + ";</a>", "Unrecognized entity"},
    {"<a>&amp", "End of Data unexpected"},
    {"<a b='&quot", "End of Data unexpected"},
    {"<a></a x>", ScnTest::plainFailureText()},
    {"<a>text", ScnTest::plainFailureText()},
    {"<a>", ScnTest::plainFailureText()},
    {"<a><b>", ScnTest::plainFailureText()},
    {"<a>x<![CDATA[y]]></a>", "Only one data node for an element"},
    {"<a>x<b/>y</a>", "Only one data node for an element"},
    // The end of the data where a construct is still open.
    {"<a", "End of data inside a name"},
    {"<a b", "End of data inside a name"},
    {"<a></a", "End of data inside a name"},
    {"<a b='x", "End of data inside an attribute value"},
    {"<a b=\"x'", "End of data inside an attribute value"},
    {"<!DOCTYPE a SYSTEM 'x", "End of data inside a literal"},
    {"<!DOCTYPE a PUBLIC 'p' \"s", "End of data inside a literal"},
    {"<!DOCTYPE a [ x", "End of data inside a document type declaration"},
    {"<?pi data", "End of data inside a processing instruction"},
    {"<?pi data?", "End of data inside a processing instruction"},
    {"<a/><?pi", "End of data inside a name"},
    {"<!-- c", "End of data inside a comment"},
    {"<a><!-- c --", "End of data inside a comment"},
    {"<a/><!-- c ->", "End of data inside a comment"},
};

INSTANTIATE_TEST_SUITE_P(Messages, MalformedDocument, ::testing::ValuesIn(kMalformed));

TEST_P(MalformedDocument, FailsWithItsMessage)
{
    // Leading blanks move every construct across the 1024-byte input pieces.
    for (size_t pad : {0, 1000, 1021, 1023}) {
        std::string input = std::string(pad, ' ') + GetParam().input;
        EXPECT_EQ(GetParam().message, errorOf([&] { readTree(input); })) << pad << ": " << GetParam().input;
    }
}

struct RoundTripCase {
    std::string input;
    std::string output;
};

class DocumentRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

const RoundTripCase kRoundTrips[] = {
    {"<a/>", "<a/>\n"},
    {" \r\n\t<a></a>\n", "<a/>\n"},
    {"<a>  x </a>", "<a>x </a>\n"},
    {"<a>\r\n x\r\n</a>", "<a>x\r\n</a>\n"},
    {"<a></b>", "<a/>\n"},
    {"<a><b>1</b><c/></a>", "<a>\n\t<b>1</b>\n\t<c/>\n</a>\n"},
    {"<a x='1' y=\"2\"/>", "<a\n\t x=\"1\"\n\t y=\"2\"/>\n"},
    {"<a x = '1' ></a >", "<a x=\"1\"/>\n"},
    {"<a x='&quot;&lt;&amp;&gt;&apos;\"'/>", "<a x=\"&quot;&lt;&amp;>'&quot;\"/>\n"},
    {"<a>&lt;&gt;&amp;&apos;&quot;</a>", "<a>&lt;&gt;&amp;'\"</a>\n"},
    {"<a>&#x41;&#233;&#65;&#0;</a>", "<a>A\xC3\xA9"
                                     "A</a>\n"},
    {"<a>&#x7ff;&#xffff;&#x10000;&#x7fffffff;</a>",
     "<a>\xDF\xBF\xEF\xBF\xBF\xF0\x90\x80\x80\xFD\xBF\xBF\xBF\xBF\xBF</a>\n"},
    {"<a><![CDATA[x]]]></a>", "<a>x]</a>\n"},
    {"<a><[CDATA[<b>&amp;]]></a>", "<a>&lt;b&gt;&amp;amp;</a>\n"},
    {"<a><![CDATA[]]]]></a>", "<a>]]</a>\n"},
    {"<a><![CDATA[a]b]]c]>]]></a>", "<a>a]b]]c]&gt;</a>\n"},
    {"<?xml version=\"1.0\"?>\n<!-- c --><a/>", "<?xml version=\"1.0\"?>\n<!-- c -->\n<a/>\n"},
    {"<?pi   data ?><a/><?end?>", "<?pi data ?>\n<a/>\n<?end ?>\n"},
    {"<?pi a?b>c?\?><a/>", "<?pi a?b>c?\?>\n<a/>\n"},
    {"<a/><!-- x - y --->", "<a/>\n<!-- x - y - -->\n"},
    {"<!DOCTYPE a PUBLIC 'p' \"s\" [ <!ENTITY x> ]><a/>", "<!DOCTYPE a PUBLIC \"p\" \"s\" [ <!ENTITY x> ]>\n<a/>\n"},
    {"<!DOCTYPE a SYSTEM \"s\"><a/>", "<!DOCTYPE a SYSTEM \"s\">\n<a/>\n"},
    {"<!DOCTYPE a [i]><a/>", "<!DOCTYPE a [i]>\n<a/>\n"},
    {"<!DOCTYPE a><a/>", "<!DOCTYPE a>\n<a/>\n"},
    {"<!DOCTYPE a SYSTEM 'x\"y'><a/>", "<!DOCTYPE a SYSTEM 'x\"y'>\n<a/>\n"},
    {"<a><!DOCTYPE b SYSTEM 's'></a>", "<a>\n\t<!DOCTYPE b SYSTEM \"s\">\n</a>\n"},
    {"<a>x<b/></a>", "<a>x<b/>\n</a>\n"},
    {"<a><b/>x</a>", "<a>\n\t<b/>x</a>\n"},
    {"<a>x<!--c--></a>", "<a>x<!--c-->\n</a>\n"},
    {"<a:b c:d='1'>t</a:b>", "<a:b c:d=\"1\">t</a:b>\n"},
    {"<a<b>t</a>", "<a<b>t</a<b>\n"},
    {"<a>\xC3\xA9\xE2\x82\xAC</a>", "<a>\xC3\xA9\xE2\x82\xAC</a>\n"},
    // A value or text holding a NUL is written up to it.
    {"<a b='x\0y'>t\0u</a>"s, "<a b=\"x\">t</a>\n"},
    {"<a b='0123456789abcdef\0z\"'>0123456789abcdef&lt;\0z&lt;</a>"s,
     "<a b=\"0123456789abcdef\">0123456789abcdef&lt;</a>\n"},
    {"<a><?p d?>x</a>", "<a>\n\t<?p d?>x</a>\n"},
    {"<r><s><s/></s><k/></r>", "<r>\n\t<s>\n\t\t<s/>\n\t</s>\n\t<k/>\n</r>\n"},
};

INSTANTIATE_TEST_SUITE_P(Documents, DocumentRoundTrip, ::testing::ValuesIn(kRoundTrips));

TEST_P(DocumentRoundTrip, ReadsAndWritesTheExpectedBytes)
{
    for (size_t pad : {0, 1000, 1021, 1023}) {
        EXPECT_EQ(GetParam().output, roundTrip(std::string(pad, '\n') + GetParam().input)) << pad << ": " << GetParam().input;
    }
    // What the writer produced reads back to the same bytes.
    EXPECT_EQ(GetParam().output, roundTrip(GetParam().output)) << GetParam().input;
}

// Records every event as text; declines the elements named in `declined` (filtering mode).
class RecordingParser : public CXMLParser {
public:
    std::string log;
    std::string declined;
    bool stopAtPI = false;

    void run(const std::string& text, bool filtered, size_t chunk = 0)
    {
        StringReadStream stream(text, chunk);
        if (filtered) {
            ParseFiltered(&stream);
        } else {
            Parse(&stream);
        }
    }

protected:
    void OnComment(const char* text) override { log += "comment(" + std::string(text) + ")"; }
    bool OnPI(const char* target, const char* data) override
    {
        log += "pi(" + std::string(target) + "," + data + ")";
        return !stopAtPI;
    }
    void OnDocType(const char* name, const char* publicId, const char* systemId, const char* subset) override
    {
        auto part = [](const char* p) { return p != nullptr ? std::string(p) : std::string("null"); };
        log += "doctype(" + std::string(name) + "," + part(publicId) + "," + part(systemId) + "," + part(subset) + ")";
    }
    void* OnStartElement(const char* name) override
    {
        log += "<" + std::string(name) + ">";
        names.emplace_back(name);
        return declined == name ? nullptr : reinterpret_cast<void*>(names.size());
    }
    void OnAttribute(const char* name, const char* value) override
    {
        log += "@" + std::string(name) + "=" + value;
    }
    void OnText(const char* text) override { log += "text(" + std::string(text) + ")"; }
    void OnEndElement(void* handle) override
    {
        log += handle == nullptr ? "</?>" : "</" + names[reinterpret_cast<size_t>(handle) - 1] + ">";
    }

    std::vector<std::string> names;
};

}  // namespace

TEST(Parser, FullModeReportsEveryConstruct)
{
    RecordingParser parser;
    parser.run("<?xml v?><!DOCTYPE d SYSTEM 's'><!--c--><a x='1'><b/>t<![CDATA[s]]></a><?p q?>", false);
    EXPECT_EQ("pi(xml,v)doctype(d,null,s,null)comment(c)<a>@x=1<b></b>text(t)text(s)</a>pi(p,q)", parser.log);
}

TEST(Parser, FilteringModeSkipsDeclinedElements)
{
    struct Case {
        const char* input;
        const char* declined;
        const char* log;
    };
    const Case cases[] = {
        {"<r><skip a='1'><x y='2'/>text</skip><k b='2'/></r>", "skip", "<r><skip><k>@b=2</k></r>"},
        {"<r><skip a='1'/><k/></r>", "skip", "<r><skip><k></k></r>"},
        {"<r><s><s/>a/b //x></s ><k/></r>", "s", "<r><s><k></k></r>"},
        {"<skip><x/></skip>", "skip", "<skip>"},
        {"<r><k/></r>", "none", "<r><k></k></r>"},
    };
    for (const Case& c : cases) {
        RecordingParser parser;
        parser.declined = c.declined;
        parser.run(c.input, true);
        EXPECT_EQ(c.log, parser.log) << c.input;
    }
    RecordingParser parser;
    parser.declined = "skip";
    EXPECT_EQ("End of data inside a skipped element", errorOf([&] { parser.run("<r><skip><x/></skap></r>", true); }));
    // In full mode a null handle is just a handle.
    RecordingParser full;
    full.declined = "b";
    full.run("<a><b x='1'>t</b></a>", false);
    EXPECT_EQ("<a><b>@x=1text(t)</?></a>", full.log);
}

TEST(Parser, ProcessingInstructionHandlerCanStopTheParse)
{
    RecordingParser parser;
    parser.stopAtPI = true;
    EXPECT_NO_THROW(parser.run("<?first x?><a><b/></a>", false));
    EXPECT_EQ("pi(first,x)", parser.log);
    // The parser is idle again and reusable.
    parser.stopAtPI = false;
    parser.log.clear();
    parser.run("<a/>", false);
    EXPECT_EQ("<a></a>", parser.log);
}

TEST(Parser, NullStreamAndReentryFail)
{
    class Reentering : public RecordingParser {
    protected:
        void* OnStartElement(const char* name) override
        {
            StringReadStream inner("<b/>");
            Parse(&inner);
            return RecordingParser::OnStartElement(name);
        }
    };
    Reentering parser;
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { parser.Parse(nullptr); }));
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { parser.run("<a/>", false); }));
}

TEST(Parser, InputIsRequestedIn1024BytePiecesAndAShortAnswerIsTheLast)
{
    std::string document = "<a>" + std::string(5000, 'x') + "</a>";
    StringReadStream whole(document);
    CXMLTreeReader reader;
    std::unique_ptr<XCXMLTree>(reader.Read(&whole));
    EXPECT_EQ(std::vector<int32_t>(5, 1024), whole.asked);

    // 1000 bytes now and more later: the document ends after those 1000 bytes.
    std::string complete = "<a/>" + std::string(996, ' ');
    StringReadStream shortFirst(complete + "<b/>", 1000);
    std::unique_ptr<XCXMLTree> tree(reader.Read(&shortFirst));
    EXPECT_EQ(std::vector<int32_t>(1, 1024), shortFirst.asked);
    EXPECT_EQ("<a/>\n", XmlTest::writeElement(tree->GetRoot()));
}

namespace {

const std::string kConstructs[] = {
    "<Scn.File>\n\t<Material\n\t\t Name=\"Material 1\"\n\t\t UUID='00FF'>\n\t\t<Color R=\"1\" G=\"7\" B=\"13\"/>\n"
    "\t\t<Reflection>0.5</Reflection>\n\t\t<Texture en=\"wood &amp; stone\"/>\n\t</Material>\n</Scn.File>",
    "<a x = '1' y=\"2\"\t\r\n></a >",
    "<a b=''><c d=\"\"/></a>",
    "<a>text &lt; more</a>",
    "<a>  x  </a   >",
    "<a><b/>t<![CDATA[s]]></a>",
    "<a><!--c--><?p d?><[CDATA[x]]]></a>",
    "<a b='&#233;&#x41;'>&#0;x&gt;</a>",
    "<a b='x\0y'>t\0u</a>"s,
    "<a:b c.d='v'>x</a:b>",
    "<r><s><s/></s><k/></r><!--after--><?end?>",
    "<a>x<b/>y</a>",
    "<a/ >",
    "<a b='1'c='2'/>",
    "<a><b></c></a>",
    "<a></a x>",
};

}  // namespace

TEST(Parser, FullModeMatchesTheSlowStepsWhereverAPieceEnds)
{
    // The filtering mode reads every construct by the general steps; the full mode reads the
    // common ones in place while they lie whole in an input piece. Leading blanks move each
    // construct, and each byte of it, across the end of the first piece.
    XmlTest::EventRecorder recorder;
    EXPECT_EQ("1:<a;1:@x=1;1:text(t);1:<b;1:>;1:>;||1", recorder.run("<a x='1'>t<b/></a>", false));
    std::vector<std::string> documents(std::begin(kConstructs), std::end(kConstructs));
    for (const ErrorCase& malformed : kMalformed) {
        documents.push_back(malformed.input);
    }
    for (const std::string& document : documents) {
        size_t first = document.size() + 2 < 1024 ? 1024 - document.size() - 2 : 0;
        for (size_t pad = first; pad <= 1024; ++pad) {
            std::string input = std::string(pad, ' ') + document;
            ASSERT_EQ(recorder.run(input, true), recorder.run(input, false)) << pad << ": " << document;
        }
    }
    // Across several pieces.
    std::string many;
    while (many.size() < 5000) {
        many += kConstructs[0].substr(10, kConstructs[0].size() - 21);
    }
    many = "<Scn.File>" + many + "</Scn.File>";
    for (size_t pad = 0; pad < 64; ++pad) {
        std::string input = std::string(pad, '\n') + many;
        ASSERT_EQ(recorder.run(input, true), recorder.run(input, false)) << pad;
    }
}

TEST(Parser, UnknownEntityHandlerMaySupplyText)
{
    class Entities : public RecordingParser {
    protected:
        bool OnUnknownEntity(const char* name, char* buffer, int32_t size) override
        {
            if (std::string(name) != "nbsp") {
                return false;
            }
            std::snprintf(buffer, static_cast<size_t>(size), "%s", "\xC2\xA0");
            return true;
        }
    };
    Entities parser;
    parser.run("<a b='&nbsp;x'>&nbsp;</a>", false);
    EXPECT_EQ("<a>@b=\xC2\xA0xtext(\xC2\xA0)</a>", parser.log);
    EXPECT_EQ("Unrecognized entity", errorOf([&] { parser.run("<a>&other;</a>", false); }));
}

TEST(Parser, LongNamesAndValuesGrowTheBuffers)
{
    std::string name(5000, 'n');
    std::string value(100000, 'v');
    std::string text(300000, 't');
    auto tree = readTree("<" + name + " " + name + "='" + value + "'>" + text + "</" + name + ">");
    XIXMLElement* element = tree->GetRoot()->GetFirstElement();
    EXPECT_EQ(name, element->GetName());
    EXPECT_EQ(value, element->GetFirstAttribute()->GetValue());
    EXPECT_EQ(text, element->GetData()->GetText());
}

TEST(Parser, BufferGrowthFailureIsReported)
{
    // A name across input pieces is gathered in the name buffer, which grows for each piece.
    // Whichever allocation fails, the read fails cleanly; some of them are the buffer's.
    const std::string document = "<" + std::string(5000, 'n') + "/>";
    bool bufferFailed = false;
    for (long countdown = 1; countdown <= 12; ++countdown) {
        StringReadStream stream(document);
        CXMLTreeReader reader;
        Nuvora::failAllocationAfter(countdown);
        std::string error = errorOf([&] { delete reader.Read(&stream); });
        Nuvora::failAllocationAfter(0);
        bufferFailed = bufferFailed || error == "Can't allocate buffer.";
        EXPECT_TRUE(error.empty() || error == "Can't allocate buffer." || error == ScnTest::nullPointerText() ||
                    error == ScnTest::nullPointerText("XCXMLRoot::GetKey - no key table"))
            << countdown << ": " << error;
    }
    EXPECT_TRUE(bufferFailed);
}

// ---- CDATA sections and the data-block reader ----

namespace {

// Reads each section in requests of a given size and keeps its bytes.
class SectionCollector : public IXMLCDataReader {
public:
    explicit SectionCollector(int32_t request, int32_t limit = -1, bool answer = true)
        : mRequest(request), mLimit(limit), mAnswer(answer)
    {
    }
    bool Read(XIXMLElement* element, CXMLReadStream* stream) override
    {
        owners.emplace_back(element->GetName() != nullptr ? element->GetName() : "(root)");
        std::string bytes;
        std::vector<char> buffer(static_cast<size_t>(mRequest));
        for (;;) {
            if (mLimit >= 0 && static_cast<int32_t>(bytes.size()) >= mLimit) {
                break;
            }
            int32_t got = stream->Read(buffer.data(), mRequest);
            bytes.append(buffer.data(), static_cast<size_t>(got));
            if (got < mRequest) {
                break;
            }
        }
        sections.push_back(bytes);
        return mAnswer;
    }
    std::vector<std::string> owners;
    std::vector<std::string> sections;

private:
    int32_t mRequest;
    int32_t mLimit;
    bool mAnswer;
};

}  // namespace

TEST(CDataSection, DeliversTheBytesBeforeTheFirstTerminatorForEveryRequestSize)
{
    const std::string content = "x]]y]]]<a>&amp;]" + std::string(3000, 'z') + "]]]";
    const std::string document = "<r><Points><![CDATA[" + content + "]]></Points><b/></r>";
    for (int32_t request : {1, 2, 3, 7, 1024, 2048, 5000}) {
        SectionCollector collector(request);
        auto tree = readTree(std::string(static_cast<size_t>(request) % 1024, ' ') + document, &collector);
        ASSERT_EQ(1u, collector.sections.size());
        EXPECT_EQ(content, collector.sections[0]) << request;
        EXPECT_EQ("Points", collector.owners[0]);
        EXPECT_EQ(nullptr, tree->GetRoot()->GetFirstElement()->GetFirstElement()->GetData());
        EXPECT_STREQ("b", tree->GetRoot()->GetFirstElement()->GetElementAt(1)->GetName());
    }
}

TEST(CDataSection, WhatTheBlockReaderLeavesIsSkipped)
{
    SectionCollector collector(4, 8);
    auto tree = readTree("<r><p><![CDATA[0123456789abcdef]]></p><q><[CDATA[x]]></q></r>", &collector);
    EXPECT_EQ((std::vector<std::string>{"01234567", "x"}), collector.sections);
    EXPECT_EQ((std::vector<std::string>{"p", "q"}), collector.owners);
}

TEST(CDataSection, BlockReaderRefusalAbortsTheParse)
{
    SectionCollector refusing(16, -1, false);
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { readTree("<r><![CDATA[data]]></r>", &refusing); }));
    SectionCollector collector(16);
    EXPECT_EQ("Error while reading <[CDATA[...]]>", errorOf([&] { readTree("<r><![CDATA[data]]", &collector); }));
}

TEST(CDataSection, SectionInThePrologBelongsToTheRoot)
{
    SectionCollector collector(16);
    readTree("<![CDATA[pre]]><a/>", &collector);
    EXPECT_EQ((std::vector<std::string>{"(root)"}), collector.owners);
}

// ---- depth ----

TEST(Depth, AMillionLevelsAreReadWrittenCopiedAndFreedWithoutRecursion)
{
    const size_t depth = 1000000;
    std::string document;
    document.reserve(depth * 7 + 8);
    for (size_t i = 0; i < depth; ++i) {
        document += "<a>";
    }
    document += "x";
    for (size_t i = 0; i < depth; ++i) {
        document += "</a>";
    }
    auto tree = readTree(document);
    XIXMLElement* deepest = tree->GetRoot()->GetFirstElement();
    size_t levels = 1;
    while (deepest->GetFirstElement() != nullptr) {
        deepest = deepest->GetFirstElement();
        ++levels;
    }
    EXPECT_EQ(depth, levels);
    EXPECT_STREQ("x", deepest->GetData()->GetText());
    EXPECT_EQ(deepest->GetKey("a"), deepest->GetName());

    // Indentation makes the output quadratic in the depth: write the deepest thousand levels.
    XIXMLElement* tenth = tree->GetRoot()->GetFirstElement();
    for (size_t i = 0; i < depth - 1000; ++i) {
        tenth = tenth->GetFirstElement();
    }
    std::string written = XmlTest::writeElement(tenth);
    EXPECT_EQ("<a>\n\t<a>\n\t\t<a>", written.substr(0, 14));
    EXPECT_EQ("\n\t</a>\n</a>", written.substr(written.size() - 11));
    EXPECT_NE(std::string::npos, written.find(std::string(999, '\t') + "<a>x</a>\n" + std::string(998, '\t') + "</a>"));

    XCXMLTree copy;
    XIXMLNode* copied = tree->GetRoot()->GetFirstElement()->AsNode()->CopyTo(copy.GetRoot());
    XIXMLElement* copiedTenth = copied->AsElement();
    for (size_t i = 0; i < depth - 1000; ++i) {
        copiedTenth = copiedTenth->GetFirstElement();
    }
    EXPECT_EQ(written, XmlTest::writeElement(copiedTenth));
}

TEST(Depth, AnUnclosedMillionLevelDocumentFailsAndFreesItsPartialTree)
{
    std::string document;
    for (int i = 0; i < 1000000; ++i) {
        document += "<a>";
    }
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { readTree(document); }));
}

// The parser and the tree reader after a failure, and filtering across input pieces.
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

TEST(ParserAfterFailure, AParserFailedInAnyStateParsesTheNextDocumentAsAFreshOne)
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

TEST(ParserAfterFailure, ATreeReaderFailedInAnyStateReadsTheNextDocument)
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
TEST(ParserAfterFailure, SkippedElementEndsAtItsOwnNameWhereverThePiecesEnd)
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
TEST(TreeReaderReentry, ReentryIsRefusedAndTheOuterReadGoesOn)
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
    EXPECT_EQ(ScnTest::plainFailureText(), blocks.error);
    EXPECT_EQ("<a>\n\t<s/>\n\t<t>u</t>\n</a>\n", XmlTest::writeElement(tree->GetRoot()));
}
