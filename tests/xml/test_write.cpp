// The writer: exact bytes per node kind, indentation, escaping, data objects, short writes, buffering.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/Failures.h"
#include "test_xml_support.h"

using namespace NuvoraXML;
using XmlTest::errorOf;
using XmlTest::StringWriteStream;
using XmlTest::writeElement;

namespace {

// A data object that writes its text in pieces of a given size and answers a given result.
struct PieceCData : XIXMLData::IXMLCData {
    PieceCData(std::string text, int32_t piece, bool answer = true) : mText(std::move(text)), mPiece(piece), mAnswer(answer) {}
    bool Write(XIXMLWriteStream* stream, int32_t depth, XIXMLData* node) override
    {
        seenDepth = depth;
        seenNode = node;
        for (size_t at = 0; at < mText.size(); at += static_cast<size_t>(mPiece)) {
            std::string piece = mText.substr(at, static_cast<size_t>(mPiece));
            if (stream->Write(piece.data(), static_cast<int32_t>(piece.size())) != static_cast<int32_t>(piece.size())) {
                return false;
            }
        }
        return mAnswer;
    }
    IXMLCData* Clone() override { return nullptr; }
    void Release() override { delete this; }
    std::string mText;
    int32_t mPiece;
    bool mAnswer;
    int32_t seenDepth = -1;
    XIXMLData* seenNode = nullptr;
};

struct WriteCase {
    const char* name;
    std::function<XIXMLElement*(XCXMLRoot*)> build;  // answers the element to write
    std::string bytes;
};

XIXMLElement* element(XIXMLElement* parent, const char* name)
{
    return parent->AddElement(parent->GetKey(name));
}

void attribute(XIXMLElement* e, const char* name, const char* value)
{
    e->AddAttribute(e->GetKey(name), value);
}

const WriteCase kWriteCases[] = {
    {"EmptyElement", [](XCXMLRoot* r) { return element(r, "a"); }, "<a/>"},
    {"OneAttributeStaysOnTheLine",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         attribute(a, "x", "1");
         return a;
     },
     "<a x=\"1\"/>"},
    {"TwoAttributesGoOnTheirOwnLines",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         attribute(a, "x", "1");
         attribute(a, "y", "2");
         return a;
     },
     "<a\n\t x=\"1\"\n\t y=\"2\"/>"},
    {"AttributesOfANestedElementIndentOneDeeper",
     [](XCXMLRoot* r) {
         XIXMLElement* top = element(r, "r");
         XIXMLElement* a = element(element(top, "m"), "a");
         attribute(a, "x", "1");
         attribute(a, "y", "2");
         element(a, "c");
         return top;
     },
     "<r>\n\t<m>\n\t\t<a\n\t\t\t x=\"1\"\n\t\t\t y=\"2\">\n\t\t\t<c/>\n\t\t</a>\n\t</m>\n</r>"},
    {"TextIsEscapedAndKeepsTheLine",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "t");
         a->AddData("a&b<c>d\"e'f");
         return a;
     },
     "<t>a&amp;b&lt;c&gt;d\"e'f</t>"},
    {"AttributeValueEscapesQuoteAmpersandAndLessThan",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         attribute(a, "v", "q\"a&l<g>'");
         return a;
     },
     "<a v=\"q&quot;a&amp;l&lt;g>'\"/>"},
    {"AttributeWithoutANameWritesNoName",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         a->AddAttribute(nullptr, "v");
         a->AddAttribute(r->GetKey("w"), "");
         return a;
     },
     "<a\n\t =\"v\"\n\t w=\"\"/>"},
    {"TextThenChildren",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         a->AddData("x");
         element(a, "b");
         a->AddComment("c");
         return a;
     },
     "<a>x<b/>\n\t<!--c-->\n</a>"},
    {"ChildrenThenText",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         element(a, "b");
         a->AddData("x");
         return a;
     },
     "<a>\n\t<b/>x</a>"},
    {"CommentAndProcessingInstruction",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         a->AddComment(" note ");
         a->AddPI("target", "some data");
         a->AddPI("empty", "");
         return a;
     },
     "<a>\n\t<!-- note -->\n\t<?target some data?>\n\t<?empty ?>\n</a>"},
    {"CommentsAndInstructionsNeverEndEarly",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         a->AddComment("x-->y");
         a->AddComment("a---b-");
         a->AddPI("t", "n=\"x?>y\" ?>");
         return a;
     },
     "<a>\n\t<!--x- ->y-->\n\t<!--a- - -b- -->\n\t<?t n=\"x? >y\" ? >?>\n</a>"},
    {"DocumentTypeForms",
     [](XCXMLRoot* r) {
         XIXMLElement* a = element(r, "a");
         a->AddDocType(a->GetKey("n"), nullptr, nullptr, nullptr);
         a->AddDocType(a->GetKey("n"), nullptr, "s.dtd", nullptr);
         a->AddDocType(a->GetKey("n"), "-//P//EN", "s.dtd", nullptr);
         a->AddDocType(a->GetKey("n"), "p", nullptr, "<!ENTITY e 'x'>");
         a->AddDocType(a->GetKey("n"), nullptr, nullptr, "");
         return a;
     },
     "<a>\n\t<!DOCTYPE n>\n\t<!DOCTYPE n SYSTEM \"s.dtd\">\n\t<!DOCTYPE n PUBLIC \"-//P//EN\" \"s.dtd\">"
     "\n\t<!DOCTYPE n PUBLIC \"p\" \"\" [<!ENTITY e 'x'>]>\n\t<!DOCTYPE n []>\n</a>"},
    {"DataObjectInACDataSection",
     [](XCXMLRoot* r) {
         XIXMLElement* top = element(r, "r");
         element(top, "Points")->AddData(new PieceCData("\n1 2 \n", 2));
         element(top, "after");
         return top;
     },
     "<r>\n\t<Points><![CDATA[\n1 2 \n]]>\n\t</Points>\n\t<after/>\n</r>"},
    {"RootWritesChildrenAtDepthZeroAndAFinalLineFeed",
     [](XCXMLRoot* r) {
         r->AddPI("xml", "version=\"1.0\" encoding=\"UTF-8\"");
         XIXMLElement* file = element(r, "Scn.File");
         element(file, "Heliodon")->AddData("1");
         r->AddComment("end");
         return static_cast<XIXMLElement*>(r);
     },
     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Scn.File>\n\t<Heliodon>1</Heliodon>\n</Scn.File>\n<!--end-->\n"},
    {"EmptyRootIsALineFeed", [](XCXMLRoot* r) { return static_cast<XIXMLElement*>(r); }, "\n"},
};

class WriterBytes : public ::testing::TestWithParam<WriteCase> {};

INSTANTIATE_TEST_SUITE_P(Nodes, WriterBytes, ::testing::ValuesIn(kWriteCases),
                         [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

}  // namespace

TEST_P(WriterBytes, WritesExactly)
{
    XCXMLTree tree;
    XIXMLElement* top = GetParam().build(tree.GetRoot());
    EXPECT_EQ(GetParam().bytes, writeElement(top));
    // Writing twice gives the same bytes: the writer keeps no state between writes.
    EXPECT_EQ(GetParam().bytes, writeElement(top));
}

TEST(Writer, NodeWriteAtADepthIndentsUnlessTheSkipFlagIsSet)
{
    XCXMLTree tree;
    XIXMLElement* a = element(tree.GetRoot(), "a");
    element(a, "b");
    StringWriteStream stream;
    XCXMLWriter writer(&stream);
    a->AsNode()->Write(&writer, 2);
    writer.SetSkipIndent(false);
    a->AsNode()->Write(&writer, 1);
    writer.Flush();
    EXPECT_EQ("<a>\n\t\t\t<b/>\n\t\t</a>\n\t<a>\n\t\t<b/>\n\t</a>", stream.bytes());
}

TEST(Writer, DataObjectGetsTheFlushedStreamTheDepthAndItsNode)
{
    XCXMLTree tree;
    XIXMLElement* points = element(element(tree.GetRoot(), "r"), "Points");
    auto* object = new PieceCData("abc", 1);
    XIXMLData* node = points->AddData(object);
    StringWriteStream stream;
    tree.GetRoot()->Write(&stream);
    EXPECT_EQ(2, object->seenDepth);
    EXPECT_EQ(node, object->seenNode);
    // Everything before the section reached the stream in one piece, then the object's own writes.
    ASSERT_GE(stream.writes.size(), 5u);
    EXPECT_EQ(static_cast<int32_t>(std::string("<r>\n\t<Points><![CDATA[").size()), stream.writes[0]);
    EXPECT_EQ((std::vector<int32_t>{1, 1, 1}), std::vector<int32_t>(stream.writes.begin() + 1, stream.writes.begin() + 4));
}

TEST(Writer, FailingDataObjectFailsTheWrite)
{
    XCXMLTree tree;
    element(tree.GetRoot(), "p")->AddData(new PieceCData("x", 1, false));
    StringWriteStream stream;
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { tree.GetRoot()->Write(&stream); }));
}

TEST(Writer, ShortWriteFailsWithItsMessage)
{
    XCXMLTree tree;
    XIXMLElement* a = element(tree.GetRoot(), "a");
    for (int i = 0; i < 20000; ++i) {
        element(a, "child")->AddData("some text");
    }
    for (long limit : {0L, 10L, 70000L}) {
        StringWriteStream stream;
        stream.limit = limit;
        EXPECT_EQ("Can't write character", errorOf([&] { tree.GetRoot()->Write(&stream); })) << limit;
    }
    // A short write of a data object's own output fails that object, hence the node.
    element(tree.GetRoot(), "p")->AddData(new PieceCData("abc", 1));
    StringWriteStream stream;
    stream.limit = static_cast<long>(writeElement(tree.GetRoot()).size()) - 10;
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { tree.GetRoot()->Write(&stream); }));
}

TEST(Writer, OutputReachesTheStreamInLargePieces)
{
    XCXMLTree tree;
    XIXMLElement* a = element(tree.GetRoot(), "a");
    for (int i = 0; i < 50000; ++i) {
        XIXMLElement* c = element(a, "Point");
        attribute(c, "X", "1.000000");
        c->AddData(std::string(i % 300, 'x').c_str());
    }
    element(a, "big")->AddData(std::string(300000, 'y').c_str());
    StringWriteStream stream;
    tree.GetRoot()->Write(&stream);
    size_t total = stream.bytes().size();
    EXPECT_GT(total, 8u * 1024 * 1024);
    EXPECT_LE(stream.writes.size(), total / (32 * 1024) + 2);
}

namespace {

// The escaping of an attribute value or a text, one character at a time.
std::string escaped(const std::string& text, bool value)
{
    std::string out;
    for (char c : text) {
        if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (value && c == '"') {
            out += "&quot;";
        } else if (!value && c == '>') {
            out += "&gt;";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

TEST(Writer, EscapingByRunsMatchesEscapingByCharacter)
{
    // Escaped characters at every place of values and texts shorter and longer than a run of 16,
    // and around the ends of the writer's buffer and of whole-attribute writes.
    XCXMLTree tree;
    XIXMLElement* top = element(tree.GetRoot(), "t");
    std::string expected = "<t>";
    auto add = [&](const std::string& text) {
        XIXMLElement* e = element(top, "e");
        attribute(e, "v", text.c_str());
        e->AddData(text.c_str());
        expected += "\n\t<e v=\"" + escaped(text, true) + "\">" + escaped(text, false) + "</e>";
    };
    for (size_t length : {1, 2, 15, 16, 17, 31, 32, 33, 48, 100}) {
        for (size_t at = 0; at < length; ++at) {
            for (char special : {'"', '&', '<', '>', '\''}) {
                std::string text(length, 'x');
                text[at] = special;
                text[length - 1 - at / 2] = '&';
                add(text);
            }
        }
    }
    std::string big(70000, 'y');
    for (size_t at : {0, 15, 16, 17, 16383, 16384, 65530, 65535, 65536, 69999}) {
        big[at] = "&<>\""[at % 4];
    }
    add(big);
    add(big.substr(0, 16390));
    expected += "\n</t>";
    EXPECT_EQ(expected, writeElement(top));
}
