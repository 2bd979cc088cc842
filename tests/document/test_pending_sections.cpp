// The sections of kinds that this library version does not build yet: a save gives back what a
// loaded document holds in them, byte for byte and in its place in the layout, and adds only the
// sections that are missing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/FieldVary.h"
#include "support/XmlSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using NuvoraXML::XIXMLNode;
using ScnTest::TestScene;

// The document of a new scene as a load and a save give it back (a first save of a new scene
// places "Images" after the geometry blocks, a loaded document keeps it before the components).
std::string newDocument()
{
    TestScene first;
    TestScene second;
    EXPECT_EQ(second.load(first.save()), 0);
    return second.save();
}

// Where an element of the file element stands in a document: from its start tag (after the line's
// tab) to the end of its end tag; npos when the document has none.
struct Span {
    size_t begin = std::string::npos;
    size_t end = std::string::npos;
};

Span findSection(const std::string& document, const std::string& name)
{
    Span span;
    size_t at = document.find("\n\t<" + name);
    while (at != std::string::npos) {
        char next = document[at + 3 + name.size()];
        if (next == '>' || next == '/' || next == '\n' || next == ' ') {
            break;
        }
        at = document.find("\n\t<" + name, at + 1);
    }
    if (at == std::string::npos) {
        return span;
    }
    span.begin = at + 2;
    size_t closed = document.find('>', span.begin);
    if (document[closed - 1] == '/') {
        span.end = closed + 1;
    } else {
        std::string endTag = "\n\t</" + name + ">";
        span.end = document.find(endTag, span.begin) + endTag.size();
    }
    return span;
}

std::string sectionText(const std::string& document, const std::string& name)
{
    Span span = findSection(document, name);
    return span.begin == std::string::npos ? std::string() : document.substr(span.begin, span.end - span.begin);
}

// The elements of body as the writer gives them inside the file element (one tab in).
std::string fileLevel(XIXMLElement* file)
{
    std::string written = ScnTest::writeElement(file);
    const std::string start = "<Scn.File>\n\t";
    const std::string finish = "\n</Scn.File>";
    return written.substr(start.size(), written.size() - start.size() - finish.size());
}

// The section as loaded (file-level text), with the attributes and children of content (the body of
// a "Content" element) put first; written as the writer writes it.
std::string withContent(const std::string& section, const std::string& content)
{
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument("<Scn.File>" + section + "</Scn.File>");
    XIXMLElement* element = ScnTest::documentElement(*tree)->GetFirstElement();
    std::unique_ptr<NuvoraXML::XCXMLTree> added = ScnTest::parseDocument(content);
    XIXMLElement* source = ScnTest::documentElement(*added);
    for (NuvoraXML::XIXMLAttribute* a = source->GetFirstAttribute(); a != nullptr; a = a->GetNext()) {
        a->CopyTo(element);
    }
    XIXMLNode* first = element->GetFirstChild();
    for (XIXMLNode* node = source->GetFirstChild(); node != nullptr; node = node->GetNext()) {
        XIXMLNode* copy = node->CopyTo(element);
        if (first != nullptr) {
            element->MoveNode(copy, first);
        }
    }
    return fileLevel(ScnTest::documentElement(*tree));
}

std::string replaced(std::string document, const Span& span, const std::string& text)
{
    return document.replace(span.begin, span.end - span.begin, text);
}

struct PendingCase {
    const char* name;
    // The body of a "Content" element whose attributes and children the section gets.
    const char* content;
};

class PendingSection : public ::testing::TestWithParam<PendingCase> {};

// The section with content stands first in the file element of the loaded document; the save puts
// it back in its place, its bytes unchanged, and leaves the rest of the document as it was.
TEST_P(PendingSection, ALoadedSectionIsSavedByteForByteInItsPlace)
{
    const PendingCase& c = GetParam();
    const std::string fresh = newDocument();
    Span span = findSection(fresh, c.name);
    ASSERT_NE(span.begin, std::string::npos) << c.name;
    const std::string section = withContent(sectionText(fresh, c.name), c.content);
    const std::string expected = replaced(fresh, span, section);
    Span own = findSection(expected, c.name);
    ASSERT_NE(own.begin, std::string::npos) << c.name;
    std::string moved = expected.substr(0, own.begin - 2) + expected.substr(own.begin + section.size());
    size_t fileStart = moved.find("<Scn.File>\n") + std::string("<Scn.File>\n").size();
    moved.insert(fileStart, "\t" + section + "\n");

    TestScene scene;
    ASSERT_EQ(scene.load(moved), 0) << ScnTest::warningsOf(scene.feedback.warnings);
    scene.feedback.warnings.clear();
    std::string saved = scene.save();
    Span kept = findSection(saved, c.name);
    ASSERT_NE(kept.begin, std::string::npos) << c.name;
    EXPECT_EQ(saved.substr(kept.begin, section.size()), section);
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(scene.save(), expected);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Sections, PendingSection,
    ::testing::Values(
        PendingCase{"Properties",
                    "<Content><Property Id=\"000102030405060708090A0B0C0D0E0F\" Type=\"Root\">"
                    "<Name en=\"Brick &amp; &lt;mortar&gt;\"/><UI.Value>3</UI.Value>"
                    "<Node Type=\"Leaf\"><Diffuse R=\"1\" G=\"2\" B=\"3\"/><Glossy>0.250000</Glossy></Node>"
                    "</Property><!--a note kept with the materials--><Property Type=\"Root\"/></Content>"}),
    [](const ::testing::TestParamInfo<PendingCase>& info) {
        std::string name;
        for (const char* c = info.param.name; *c != '\0'; ++c) {
            if (*c != '.') {
                name += *c == '3' ? 'T' : *c;
            }
        }
        return name;
    });

// A document without any of these sections gains each of them, empty, where a new scene has it.
TEST(PendingSections, MissingSectionsAreAddedEmptyInTheirPlace)
{
    const std::string fresh = newDocument();
    std::string stripped = fresh;
    for (const char* name : {"Properties"}) {
        Span span = findSection(stripped, name);
        ASSERT_NE(span.begin, std::string::npos) << name;
        stripped.erase(span.begin - 1, span.end - span.begin + 1);
    }
    TestScene scene;
    ASSERT_EQ(scene.load(stripped), 0) << ScnTest::warningsOf(scene.feedback.warnings);
    scene.feedback.warnings.clear();
    EXPECT_EQ(scene.save(), fresh);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
    EXPECT_EQ(sectionText(fresh, "Properties"), "<Properties/>");
}

}  // namespace
