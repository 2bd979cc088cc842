// The parser's quick steps against its general ones: entities decoded in place, names the tree
// reader expects from the names met before, constructs that cross the end of an input piece.
// Every document is read with each of its bytes at the end of the first piece; the events, the
// input requests and the trees must be those of the general steps.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "test_xml_support.h"

using namespace NuvoraXML;
using namespace std::string_literals;
using XmlTest::errorOf;
using XmlTest::EventRecorder;
using XmlTest::StringReadStream;

namespace {

struct SpeedPathCase {
    const char* name;
    std::string document;
};

void PrintTo(const SpeedPathCase& c, std::ostream* out)
{
    *out << c.name;
}

std::string repeated(const std::string& part, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += part;
    }
    return text;
}

// After the element "a" comes, each time, a name of the same length as the one that came after
// it last time, differing from it in one byte: at its end, its ninth byte, its first byte.
std::string expectationsThatFail()
{
    std::string text = "<r>";
    for (size_t length : {1, 2, 3, 4, 7, 8, 9, 12, 15, 16, 17, 20, 24, 32}) {
        std::string name(length, 'n');
        for (size_t i = 0; i < length; ++i) {
            name[i] = static_cast<char>('a' + i % 26);
        }
        std::vector<std::string> names{name, name, name, name, name};
        names[1][length - 1] = 'Z';
        names[2][length > 8 ? 8 : 0] = 'Y';
        names[3][0] = 'X';
        for (const std::string& n : names) {
            text += "<a/><" + n + " " + n + "='1'/>";
        }
    }
    return text + "</r>";
}

// More distinct names than the key cache's first table holds, twice: the cache grows while it
// learns which name follows which.
std::string manyNames()
{
    std::string names;
    for (int i = 0; i < 300; ++i) {
        names += "<n" + std::to_string(i * 7919 % 1000) + " a" + std::to_string(i) + "='v'/>";
    }
    return "<r>" + names + names + "</r>";
}

const SpeedPathCase kCases[] = {
    {"named entities in values", "<a b='&lt;&gt;&amp;&apos;&quot;' c=\"x&amp;y\" d=\"&amp;\" e='&quot;end&quot;'/>"},
    {"character references of every length",
     "<a b='&#65;&#x42;&#233;&#x800;&#65535;&#x10000;&#x200000;&#x4000000;&#x7FFFFFFF;'>&#1;&#127;&#128;x</a>"},
    {"references that give nothing", "<a b='&#0;&#;&#x;'>&#0;t&#;</a>"},
    {"entities in texts", "<r><a>&lt;b&gt; &amp; c</a><b>&amp;</b><c>x &quot;q&quot; y</c></r>"},
    {"entities next to the other quote", "<a b=\"it&apos;s 'x'\" c='say \"&quot;\"'/>"},
    {"unknown entity in a value", "<a b='x&nbsp;y'/>"},
    {"unknown entity in a text", "<a>x&nbsp;y</a>"},
    {"upper-case reference", "<a b='&#X41;'/>"},
    {"reference with a letter", "<a>&#12a;</a>"},
    {"reference too big", "<a b='&#2147483648;'/>"},
    {"entity name with a nul byte", "<a b='&lt\0;'>&gt\0;</a>"s},
    {"entity without its semicolon", "<a>&amp</a>"},
    {"entity of 254 and 255 letters", "<a><b>&" + std::string(254, 'a') + ";</b><c>&" + std::string(255, 'a') + ";</c></a>"},
    {"repeated names",
     "<Scn.File>" +
         repeated("<Material Name='m' UUID='00FF'><Color R='1' G='2' B='3'/><Texture.Scale X='1' Y='2' Z='3'/>"
                  "<Smooth.Flag/></Material>",
                  6) +
         "</Scn.File>"},
    {"expected names that are prefixes and extensions",
     "<r><Tex a='1'/><Texture a='1'/><Tex a='1'/><Texture.Scale a='1'/><Tex a='1'/><Tex ab='2' a='1'/>"
     "<Texture/><Tex/><Tex.x/><Tex/><Tex2/></r>"},
    {"names at the word boundaries",
     "<r>" +
         repeated("<abcdefg/><abcdefgh/><abcdefghi/><abcdefghijklmno/><abcdefghijklmnop/><abcdefghijklmnopq/>"
                  "<abcdefghijklmnopqrstuvwx/><abcdefghijklmnopqrstuvwy/><Point1 p1='1' p2='2'/><Point2 p1='1' p2='2'/>",
                  3) +
         "</r>"},
    {"names that differ after their first sixteen bytes",
     "<r>" + repeated("<abcdefghijklmnopX/><abcdefghijklmnopY z='1'/>", 4) + "</r>"},
    {"expectations that fail", expectationsThatFail()},
    {"many names", manyNames()},
    {"expected name followed by a name byte", "<r><a/><b/><a/><bb/><a/><b/><a/><b:c/></r>"},
    {"a value longer than a piece", "<a b='" + std::string(1100, 'v') + "' c='1'/>"},
    {"a value of almost a piece", "<a b='" + std::string(1000, 'v') + "' c='1'>t</a>"},
    {"a name longer than a piece", "<" + std::string(1030, 'n') + " a='1'/>"},
    {"a text longer than a piece", "<a>" + std::string(2100, 't') + "</a>"},
    {"spaces around equals", "<a b = '1'  c\t=\n\"2\" ></a >"},
};

// Builds a tree from the events of the general steps alone (the filtering mode, declining
// nothing), through the public element operations.
class GeneralTreeBuilder : public CXMLParser {
public:
    // The written tree, or "error: " and the failure.
    std::string read(const std::string& text)
    {
        XCXMLTree tree;
        mCurrent = tree.GetRoot();
        StringReadStream input(text);
        std::string error = errorOf([&] { ParseFiltered(&input); });
        return error.empty() ? XmlTest::writeElement(tree.GetRoot()) : "error: " + error;
    }

protected:
    void* OnStartElement(const char* name) override
    {
        mCurrent = mCurrent->AddElement(mCurrent->GetKey(name));
        return mCurrent;
    }
    void OnAttribute(const char* name, const char* value) override
    {
        mCurrent->AddAttribute(mCurrent->GetKey(name), value);
    }
    void OnText(const char* text) override { mCurrent->AddData(text); }
    void OnEndElement(void*) override { mCurrent = mCurrent->AsNode()->GetParent(); }

private:
    XIXMLElement* mCurrent = nullptr;
};

class QuickSteps : public ::testing::TestWithParam<SpeedPathCase> {};

// The events and requests of the full mode (quick steps) and the filtering mode (general steps
// only) with each byte of the document at the end of the first piece.
TEST_P(QuickSteps, ReportTheEventsOfTheGeneralSteps)
{
    const std::string& document = GetParam().document;
    EventRecorder recorder;
    size_t first = document.size() + 2 < 1024 ? 1024 - document.size() - 2 : 0;
    for (size_t pad = first; pad <= 1024; ++pad) {
        std::string input = std::string(pad, ' ') + document;
        ASSERT_EQ(recorder.run(input, true), recorder.run(input, false)) << "pad " << pad;
    }
}

// The tree reader's own quick steps build the tree (or meet the failure) of the general steps.
TEST_P(QuickSteps, BuildTheTreeOfTheGeneralSteps)
{
    const std::string& document = GetParam().document;
    auto read = [](const std::string& input) {
        std::string written;
        std::string error = errorOf([&] { written = XmlTest::writeElement(XmlTest::readTree(input)->GetRoot()); });
        return error.empty() ? written : "error: " + error;
    };
    std::string expected = GeneralTreeBuilder().read(document);
    size_t first = document.size() + 2 < 1024 ? 1024 - document.size() - 2 : 0;
    for (size_t pad = first; pad <= 1024; ++pad) {
        ASSERT_EQ(read(std::string(pad, '\n') + document), expected) << "pad " << pad;
    }
}

INSTANTIATE_TEST_SUITE_P(Documents, QuickSteps, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SpeedPathCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != 0; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

// One reader reads document after document: the names it learnt from one never stand for the
// names of the next.
TEST(QuickSteps, AReaderReusedForAnotherDocumentReadsItsOwnNames)
{
    const std::string documents[] = {
        "<r><alpha x='1'/><beta y='2'/><alpha x='1'/><beta y='2'/></r>",
        "<r><alpha x='1'/><alphabet y='2'/><alpha x='1'/><alphabet y='2'/></r>",
        "<q><beta x='1'/><alpha y='2'/><beta x='1'/><alphaX y='2'/></q>",
    };
    CXMLTreeReader reader;
    for (const std::string& document : documents) {
        StringReadStream stream(document);
        std::unique_ptr<XCXMLTree> tree(reader.Read(&stream));
        EXPECT_EQ(XmlTest::writeElement(tree->GetRoot()), XmlTest::writeElement(XmlTest::readTree(document)->GetRoot()));
    }
}

}  // namespace
