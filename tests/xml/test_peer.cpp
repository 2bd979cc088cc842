// Checks against libxml2: generated documents are read by our tree reader, written by our writer,
// and libxml2 must accept the output and see the elements, attribute values and texts we hold.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "test_xml_support.h"

using namespace NuvoraXML;

namespace {

// The document a generator meant to write.
struct Model {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string text;  // empty: no text
    bool textFirst = true;
    std::vector<Model> children;
};

const char* const kNames[] = {"Scn.File", "Camera", "Point", "a", "b_c", "x-y", "Light.Group", "\xC3\xA9t\xC3\xA9", "V2"};
const char* const kCharacters[] = {"a", "Z", "0", "9", " ", ".", "-", "<", ">", "&", "\"", "'", "]", "\xC3\xA9", "\xE2\x82\xAC",
                                   "\xF0\x9F\x98\x80"};

class Generator {
public:
    explicit Generator(uint32_t seed) : mRandom(seed) {}

    Model element(int depth)
    {
        Model m;
        m.name = pick(kNames);
        int attributes = below(4);
        for (int i = 0; i < attributes; ++i) {
            m.attributes.emplace_back("k" + std::to_string(i) + pick(kNames), characters(below(8), false));
        }
        if (below(3) != 0) {
            m.text = characters(1 + below(10), true);
            m.textFirst = below(2) == 0;
        }
        int children = depth < 5 ? below(5) : 0;
        for (int i = 0; i < children; ++i) {
            m.children.push_back(element(depth + 1));
        }
        return m;
    }

    // Writes the model as a document, varying quotes, escapes, sections, blanks and extra nodes.
    std::string document(const Model& root)
    {
        std::string out;
        if (below(2) == 0) {
            out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
        }
        blanks(out);
        extras(out);
        serialize(root, out);
        blanks(out);
        extras(out);
        return out;
    }

private:
    int below(int n) { return static_cast<int>(mRandom() % static_cast<uint32_t>(n)); }

    template <size_t N>
    const char* pick(const char* const (&list)[N])
    {
        return list[below(static_cast<int>(N))];
    }

    std::string characters(int count, bool text)
    {
        std::string s;
        for (int i = 0; i < count; ++i) {
            std::string c = pick(kCharacters);
            if (text && i == 0 && c == " ") {
                c = "t";
            }
            s += c;
        }
        return s;
    }

    void blanks(std::string& out)
    {
        static const char* const kBlanks[] = {"", " ", "\n", "\t\n  ", "\r\n"};
        out += pick(kBlanks);
    }

    void extras(std::string& out)
    {
        if (below(4) == 0) {
            out += "<!-- note " + std::to_string(below(100)) + " -->";
            blanks(out);
        }
        if (below(5) == 0) {
            out += "<?pi data " + std::to_string(below(100)) + "?>";
            blanks(out);
        }
    }

    // One character of a value or text, escaped as the document syntax requires or allows.
    void escaped(const std::string& c, char quote, std::string& out)
    {
        unsigned char first = static_cast<unsigned char>(c[0]);
        bool must = c[0] == '&' || c[0] == '<' || (quote != 0 && c[0] == quote);
        int choice = below(6);
        if (!must && choice > 1) {
            out += c;
        } else if (c.size() == 1 && choice == 0) {
            out += "&#" + std::to_string(first) + ";";
        } else if (c.size() == 1 && choice == 1) {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "%x", first);
            out += "&#x" + std::string(hex) + ";";
        } else if (c == "<") {
            out += "&lt;";
        } else if (c == "&") {
            out += "&amp;";
        } else if (c == "\"") {
            out += "&quot;";
        } else if (c == "'") {
            out += "&apos;";
        } else if (c == ">") {
            out += "&gt;";
        } else if (c == "\xC3\xA9") {
            out += "&#233;";
        } else if (c == "\xE2\x82\xAC") {
            out += "&#x20ac;";
        } else {
            out += c;
        }
    }

    void escapedText(const std::string& text, char quote, std::string& out)
    {
        for (size_t i = 0; i < text.size();) {
            unsigned char b = static_cast<unsigned char>(text[i]);
            size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
            escaped(text.substr(i, length), quote, out);
            i += length;
        }
    }

    void textNode(const Model& m, std::string& out)
    {
        if (m.text.find("]]>") == std::string::npos && below(4) == 0) {
            out += below(2) == 0 ? "<![CDATA[" : "<[CDATA[";
            out += m.text + "]]>";
        } else {
            escapedText(m.text, 0, out);
        }
    }

    void serialize(const Model& m, std::string& out)
    {
        out += "<" + m.name;
        for (const auto& attribute : m.attributes) {
            char quote = below(2) == 0 ? '"' : '\'';
            out += " " + attribute.first + (below(3) == 0 ? " = " : "=") + quote;
            escapedText(attribute.second, quote, out);
            out += quote;
        }
        if (m.children.empty() && m.text.empty() && below(2) == 0) {
            out += below(2) == 0 ? "/>" : " />";
            return;
        }
        out += ">";
        blanks(out);
        if (!m.text.empty() && m.textFirst) {
            textNode(m, out);
        }
        for (const Model& child : m.children) {
            extras(out);
            serialize(child, out);
            blanks(out);
        }
        if (!m.text.empty() && !m.textFirst) {
            textNode(m, out);
        }
        out += "</" + m.name + (below(3) == 0 ? " >" : ">");
    }

    std::mt19937 mRandom;
};

// Differences between the model and our tree, as readable lines.
void compareOurs(const Model& m, XIXMLElement* e, const std::string& path, std::vector<std::string>& differences)
{
    std::string here = path + "/" + m.name;
    if (m.name != e->GetName()) {
        differences.push_back(here + ": element " + e->GetName());
        return;
    }
    XIXMLAttribute* a = e->GetFirstAttribute();
    for (const auto& expected : m.attributes) {
        if (a == nullptr || expected.first != a->GetName() || expected.second != a->GetValue()) {
            differences.push_back(here + ": attribute " + expected.first);
            return;
        }
        a = a->GetNext();
    }
    std::string text = e->GetData() != nullptr ? e->GetData()->GetText() : "";
    if (text != m.text) {
        differences.push_back(here + ": text [" + text + "] instead of [" + m.text + "]");
    }
    XIXMLElement* child = e->GetFirstElement();
    for (const Model& expected : m.children) {
        if (child == nullptr) {
            differences.push_back(here + ": missing child " + expected.name);
            return;
        }
        compareOurs(expected, child, here, differences);
        child = child->GetNextElement();
    }
}

std::string xmlString(const xmlChar* s)
{
    return s != nullptr ? reinterpret_cast<const char*>(s) : "";
}

// Differences between the model and what libxml2 read.
void comparePeer(const Model& m, xmlNodePtr e, const std::string& path, std::vector<std::string>& differences)
{
    std::string here = path + "/" + m.name;
    if (m.name != xmlString(e->name)) {
        differences.push_back(here + ": libxml2 element " + xmlString(e->name));
        return;
    }
    xmlAttrPtr a = e->properties;
    for (const auto& expected : m.attributes) {
        xmlChar* value = a != nullptr ? xmlNodeListGetString(e->doc, a->children, 1) : nullptr;
        bool same = a != nullptr && expected.first == xmlString(a->name) && expected.second == xmlString(value);
        xmlFree(value);
        if (!same) {
            differences.push_back(here + ": libxml2 attribute " + expected.first);
            return;
        }
        a = a->next;
    }
    std::string text;
    std::vector<xmlNodePtr> elements;
    for (xmlNodePtr child = e->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            elements.push_back(child);
        } else if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && !xmlIsBlankNode(child)) {
            text += xmlString(child->content);
        }
    }
    if (text != m.text) {
        differences.push_back(here + ": libxml2 text [" + text + "] instead of [" + m.text + "]");
    }
    if (elements.size() != m.children.size()) {
        differences.push_back(here + ": libxml2 sees " + std::to_string(elements.size()) + " children");
        return;
    }
    for (size_t i = 0; i < elements.size(); ++i) {
        comparePeer(m.children[i], elements[i], here, differences);
    }
}

}  // namespace

TEST(Peer, Libxml2AcceptsOurOutputAndSeesTheSameDocument)
{
    xmlInitParser();
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        Generator generator(seed);
        Model model = generator.element(0);
        std::string input = generator.document(model);

        std::unique_ptr<XCXMLTree> tree;
        std::string error = XmlTest::errorOf([&] { tree = XmlTest::readTree(input); });
        ASSERT_EQ("", error) << "seed " << seed << "\n" << input;
        std::vector<std::string> differences;
        compareOurs(model, tree->GetRoot()->GetFirstElement(), "", differences);

        std::string output = XmlTest::writeElement(tree->GetRoot());
        xmlDocPtr peer = xmlReadMemory(output.data(), static_cast<int>(output.size()), "peer.xml", "UTF-8",
                                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
        ASSERT_NE(nullptr, peer) << "libxml2 rejects the output of seed " << seed << "\n" << output;
        comparePeer(model, xmlDocGetRootElement(peer), "", differences);
        xmlFreeDoc(peer);
        EXPECT_TRUE(differences.empty()) << "seed " << seed << ": " << differences.front() << "\ninput:\n"
                                         << input << "\noutput:\n"
                                         << output;
    }
}

TEST(Peer, Libxml2ReadsALessThanInAnAttributeValueWrittenByUs)
{
    XCXMLTree tree;
    XIXMLElement* e = tree.GetRoot()->AddElement(tree.GetRoot()->GetKey("a"));
    e->AddAttribute(e->GetKey("v"), "1 < 2 & \"3\" > 0");
    std::string output = XmlTest::writeElement(tree.GetRoot());
    EXPECT_EQ("<a v=\"1 &lt; 2 &amp; &quot;3&quot; > 0\"/>\n", output);
    xmlDocPtr peer = xmlReadMemory(output.data(), static_cast<int>(output.size()), "peer.xml", "UTF-8",
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    ASSERT_NE(nullptr, peer);
    xmlChar* value = xmlGetProp(xmlDocGetRootElement(peer), reinterpret_cast<const xmlChar*>("v"));
    EXPECT_EQ("1 < 2 & \"3\" > 0", xmlString(value));
    xmlFree(value);
    xmlFreeDoc(peer);
    // Our own reader gives the same value back.
    EXPECT_STREQ("1 < 2 & \"3\" > 0", XmlTest::readTree(output)->GetRoot()->GetFirstElement()->GetFirstAttribute()->GetValue());
}
