// Fuzzes write-then-read: whatever tree the reader makes of the input, the writer's bytes must
// read back to the same tree. Texts lose their leading blanks on reading (a property of the
// format), and comments and instructions have "--" and "?>" written apart, so the first tree is
// brought to that form before it is written.
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
#include "xml/XMLTreeReader.h"

namespace {

using namespace NuvoraXML;

[[noreturn]] void mismatch(const char* what, const std::string& written)
{
    std::fprintf(stderr, "round trip mismatch: %s\n--- written:\n%s\n", what, written.c_str());
    std::abort();
}

// The next node of a preorder walk below top, or null at the end.
XIXMLNode* nextInPreorder(XIXMLNode* node, XIXMLNode* top)
{
    XIXMLElement* element = node->AsElement();
    if (element != nullptr && element->GetFirstChild() != nullptr) {
        return element->GetFirstChild();
    }
    while (node != top && node->GetNext() == nullptr) {
        node = node->GetParent()->AsNode();
    }
    return node == top ? nullptr : node->GetNext();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The text with a space between each first character directly followed by second.
std::string apart(const char* text, char first, char second)
{
    std::string result;
    for (const char* p = text != nullptr ? text : ""; *p != 0; ++p) {
        result += *p;
        if (p[0] == first && p[1] == second) {
            result += ' ';
        }
    }
    return result;
}

// Drops the leading blanks of texts, then the empty texts and the texts of the root itself;
// brings comments and instructions to their written form.
void normalize(XCXMLRoot* root)
{
    XIXMLNode* top = root->AsNode();
    XIXMLNode* node = root->GetFirstChild();
    while (node != nullptr) {
        XIXMLNode* next = nextInPreorder(node, top);
        if (XIXMLComment* comment = node->AsComment()) {
            std::string text = apart(comment->GetText(), '-', '-');
            if (!text.empty() && text.back() == '-') {
                text += ' ';
            }
            comment->SetText(text.c_str());
        } else if (XIXMLPI* pi = node->AsPI()) {
            pi->SetData(apart(pi->GetData(), '?', '>').c_str());
        }
        XIXMLData* data = node->AsData();
        if (data != nullptr) {
            const char* text = data->GetText();
            while (isBlank(*text)) {
                ++text;
            }
            if (*text == 0 || node->GetParent() == root) {
                node->Delete();
            } else {
                data->SetText(std::string(text).c_str());
            }
        }
        node = next;
    }
}

bool same(const char* a, const char* b)
{
    return (a == nullptr && b == nullptr) || (a != nullptr && b != nullptr && std::strcmp(a, b) == 0);
}

void compare(XCXMLRoot* first, XCXMLRoot* second, const std::string& written)
{
    XIXMLNode* a = first->GetFirstChild();
    XIXMLNode* b = second->GetFirstChild();
    while (a != nullptr || b != nullptr) {
        if (a == nullptr || b == nullptr) {
            mismatch("node count", written);
        }
        if (XIXMLElement* ea = a->AsElement()) {
            XIXMLElement* eb = b->AsElement();
            if (eb == nullptr || !same(ea->GetName(), eb->GetName())) {
                mismatch("element", written);
            }
            XIXMLAttribute* x = ea->GetFirstAttribute();
            XIXMLAttribute* y = eb->GetFirstAttribute();
            for (; x != nullptr && y != nullptr; x = x->GetNext(), y = y->GetNext()) {
                if (!same(x->GetName(), y->GetName()) || !same(x->GetValue(), y->GetValue())) {
                    mismatch("attribute", written);
                }
            }
            if (x != nullptr || y != nullptr) {
                mismatch("attribute count", written);
            }
        } else if (XIXMLData* da = a->AsData()) {
            if (b->AsData() == nullptr || !same(da->GetText(), b->AsData()->GetText())) {
                mismatch("text", written);
            }
        } else if (XIXMLComment* ca = a->AsComment()) {
            if (b->AsComment() == nullptr || !same(ca->GetText(), b->AsComment()->GetText())) {
                mismatch("comment", written);
            }
        } else if (XIXMLPI* pa = a->AsPI()) {
            XIXMLPI* pb = b->AsPI();
            if (pb == nullptr || !same(pa->GetTarget(), pb->GetTarget()) || !same(pa->GetData(), pb->GetData())) {
                mismatch("processing instruction", written);
            }
        } else if (XIXMLDocType* ta = a->AsDocType()) {
            XIXMLDocType* tb = b->AsDocType();
            if (tb == nullptr || !same(ta->GetName(), tb->GetName()) || !same(ta->GetPublicId(), tb->GetPublicId()) ||
                !same(ta->GetSystemId(), tb->GetSystemId()) ||
                !same(ta->GetInternalSubset(), tb->GetInternalSubset())) {
                mismatch("document type", written);
            }
        }
        a = nextInPreorder(a, first->AsNode());
        b = nextInPreorder(b, second->AsNode());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<XCXMLTree> first;
    try {
        XmlTest::StringReadStream stream(std::string(reinterpret_cast<const char*>(data), size));
        CXMLTreeReader reader;
        first.reset(reader.Read(&stream));
    } catch (const std::exception&) {
        return 0;
    }
    normalize(first->GetRoot());
    XmlTest::StringWriteStream written;
    first->GetRoot()->Write(&written);
    std::unique_ptr<XCXMLTree> second;
    try {
        XmlTest::StringReadStream stream(written.bytes());
        CXMLTreeReader reader;
        second.reset(reader.Read(&stream));
    } catch (const std::exception& error) {
        mismatch(error.what(), written.bytes());
    }
    compare(first->GetRoot(), second->GetRoot(), written.bytes());
    return 0;
}
