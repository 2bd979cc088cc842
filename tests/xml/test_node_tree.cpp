// The node tree: keys, structure operations, typed values, guards and reference counts.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/Failures.h"
#include "support/Locale.h"
#include "test_xml_support.h"
#include "xml/HashKey.h"
#include "platform/Memory.h"
#include "xml/RefCount.h"

using namespace NuvoraXML;
using XmlTest::DiagnosticRecorder;
using XmlTest::errorOf;
using XmlTest::readTree;
using XmlTest::writeElement;

namespace {

// The names of an element's children in order ("#text" for data, "#c" for comments, ...).
std::string childNames(XIXMLElement* element)
{
    std::string names;
    for (XIXMLNode* child = element->GetFirstChild(); child != nullptr; child = child->GetNext()) {
        names += names.empty() ? "" : ",";
        if (child->AsElement() != nullptr) {
            names += child->AsElement()->GetName();
        } else if (child->AsData() != nullptr) {
            names += "#text";
        } else if (child->AsComment() != nullptr) {
            names += "#c";
        } else if (child->AsPI() != nullptr) {
            names += "#pi";
        } else {
            names += "#doctype";
        }
    }
    return names;
}

// A data object that writes a fixed text and counts clones and releases.
struct FakeCData : XIXMLData::IXMLCData {
    explicit FakeCData(std::string text, int* released = nullptr, bool ok = true, bool throwOnRelease = false)
        : mText(std::move(text)), mReleased(released), mOk(ok), mThrowOnRelease(throwOnRelease)
    {
    }
    bool Write(XIXMLWriteStream* stream, int32_t, XIXMLData*) override
    {
        stream->Write(mText.data(), static_cast<int32_t>(mText.size()));
        return mOk;
    }
    IXMLCData* Clone() override { return new FakeCData(mText + "'", mReleased, mOk); }
    void Release() override
    {
        if (mReleased != nullptr) {
            ++*mReleased;
        }
        bool fail = mThrowOnRelease;
        delete this;
        if (fail) {
            throw std::runtime_error("boom");
        }
    }
    std::string mText;
    int* mReleased;
    bool mOk;
    bool mThrowOnRelease;
};

class NodeTree : public ::testing::Test {
protected:
    // Declared first so that it outlives the tree, whose data objects count into it.
    int released = 0;
    XCXMLTree tree;
    XCXMLRoot* root = tree.GetRoot();
    XIXMLElement* add(XIXMLElement* parent, const char* name) { return parent->AddElement(root->GetKey(name)); }
};

}  // namespace

TEST(HashKey, HashOfKnownNames)
{
    EXPECT_EQ(0u, CHashKey::Hash(""));
    EXPECT_EQ(0x671u, CHashKey::Hash("a"));
    EXPECT_EQ(0xCE13u, CHashKey::Hash("ab"));
    EXPECT_EQ(0x9F8DCC65u, CHashKey::Hash("Points"));
}

TEST(HashKey, NewRootTableHas64SlotsAndProbeLimit11)
{
    XCXMLTree tree;
    CHashKey* keys = tree.GetRoot()->GetKeyTable();
    ASSERT_NE(nullptr, keys);
    EXPECT_EQ(64u, keys->GetSlotCount());
    EXPECT_EQ(11, keys->GetProbeLimit());
    EXPECT_EQ(0, keys->GetKeyCount());
}

TEST(HashKey, ManyKeysStayFindableAcrossGrowth)
{
    CHashKey keys(10);
    keys.Grow(64);
    std::vector<const char*> interned;
    for (int i = 0; i < 20000; ++i) {
        interned.push_back(keys.GetKey(("name." + std::to_string(i)).c_str()));
    }
    for (int i = 0; i < 20000; ++i) {
        EXPECT_EQ(interned[i], keys.Find(("name." + std::to_string(i)).c_str())) << i;
    }
    EXPECT_EQ(20000, keys.GetKeyCount());
    EXPECT_EQ(nullptr, keys.Find("absent"));
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { keys.GetKey(nullptr); }));
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { keys.Find(nullptr); }));
}

TEST(HashKey, ClusteredReinsertionGrowsTwiceWithNotice)
{
    // Low hash bytes of keys whose re-insertion into 128 slots runs out of probes.
    const unsigned lowBytes[] = {251, 7,   239, 12,  128, 140, 121, 12,  15,  246, 250,
                                 13,  113, 245, 114, 251, 131, 138, 139, 5,   251, 118,
                                 8,   2,   110, 250, 250, 129, 124, 253, 1,   117, 4};
    std::vector<std::string> names;
    int counter = 0;
    for (unsigned low : lowBytes) {
        std::string name;
        do {
            name = "k" + std::to_string(counter++);
        } while ((CHashKey::Hash(name.c_str()) & 255u) != low);
        names.push_back(name);
    }
    CHashKey keys(10);
    keys.Grow(64);
    DiagnosticRecorder diagnostics;
    for (size_t i = 0; i + 1 < names.size(); ++i) {
        keys.GetKey(names[i].c_str());
    }
    EXPECT_EQ(64u, keys.GetSlotCount());
    EXPECT_TRUE(diagnostics.entries.empty());
    keys.GetKey(names.back().c_str());
    EXPECT_EQ(256u, keys.GetSlotCount());
    EXPECT_EQ(13, keys.GetProbeLimit());
    ASSERT_EQ(1u, diagnostics.entries.size());
    EXPECT_EQ(1, diagnostics.entries[0].first);
    EXPECT_EQ("CHashKey::Grow - Double grow needed", diagnostics.entries[0].second);
    for (const std::string& name : names) {
        EXPECT_NE(nullptr, keys.Find(name.c_str())) << name;
    }
}

TEST(HashKey, CollidingNamesKeepTheTableInProportion)
{
    // Names that share their hash force probing, never an exponential table.
    std::vector<std::string> names;
    for (int i = 0; names.size() < 300; ++i) {
        std::string name = "c" + std::to_string(i);
        if ((CHashKey::Hash(name.c_str()) & 0xFFFu) == 0x123u) {
            names.push_back(name);
        }
    }
    CHashKey keys(10);
    keys.Grow(64);
    for (const std::string& name : names) {
        keys.GetKey(name.c_str());
    }
    EXPECT_LE(keys.GetSlotCount(), 16u * 301u);
    for (const std::string& name : names) {
        EXPECT_NE(nullptr, keys.Find(name.c_str()));
    }
}

TEST(HashKey, GrowFailureKeepsTheTable)
{
    CHashKey keys(10);
    keys.Grow(64);
    const char* key = keys.GetKey("kept");
    Nuvora::failAllocationAfter(1);
    EXPECT_EQ("Can't grow hash vector.", errorOf([&] { keys.Grow(128); }));
    Nuvora::failAllocationAfter(0);
    EXPECT_EQ(64u, keys.GetSlotCount());
    EXPECT_EQ(key, keys.Find("kept"));
}

TEST_F(NodeTree, KeysAreInternedOncePerTree)
{
    XIXMLElement* a = add(root, "A");
    XIXMLElement* b = add(a, "B");
    EXPECT_EQ(root->GetKey("Points"), b->GetKey("Points"));
    EXPECT_EQ(a->GetKey("Points"), b->GetKey("Points"));
    EXPECT_STREQ("Points", b->GetKey("Points"));
    XCXMLTree other;
    EXPECT_NE(root->GetKey("Points"), other.GetRoot()->GetKey("Points"));
}

TEST_F(NodeTree, DetachedElementHasNoKeys)
{
    XIXMLElement* a = add(root, "A");
    root->RemoveNode(a->AsNode());
    EXPECT_EQ(ScnTest::nullPointerText("XCXMLElement::GetKey - element isn't in a tree"), errorOf([&] { a->GetKey("x"); }));
    a->AsNode()->Delete();
}

TEST_F(NodeTree, OnlyOneDataNodePerElement)
{
    struct Case {
        bool firstIsText;
        bool secondIsText;
    };
    for (Case c : {Case{true, true}, Case{true, false}, Case{false, true}, Case{false, false}}) {
        XIXMLElement* e = add(root, "E");
        if (c.firstIsText) {
            e->AddData("first");
        } else {
            e->AddData(new FakeCData("first", &released));
        }
        FakeCData* second = c.secondIsText ? nullptr : new FakeCData("second", &released);
        std::string error = errorOf([&] {
            if (second == nullptr) {
                e->AddData("second");
            } else {
                e->AddData(second);
            }
        });
        EXPECT_EQ("Only one data node for an element", error);
        delete second;
    }
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { add(root, "F")->AddData(static_cast<XIXMLData::IXMLCData*>(nullptr)); }));
}

TEST_F(NodeTree, DataNodeTextAndObjectAccess)
{
    XIXMLData* text = add(root, "T")->AddData("12");
    XIXMLData* object = add(root, "O")->AddData(new FakeCData("x", &released));
    EXPECT_STREQ("12", text->GetText());
    text->SetText("13");
    EXPECT_STREQ("13", text->GetText());
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { object->GetText(); }));
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { object->SetText("y"); }));
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { object->PrintText("%d", 1); }));
    object->AsNode()->Delete();
    EXPECT_EQ(1, released);
}

TEST_F(NodeTree, AttributesFindAndCompare)
{
    XIXMLElement* e = add(root, "E");
    e->AddAttribute(root->GetKey("first"), "1");
    XIXMLAttribute* second = e->AddAttribute(root->GetKey("second"), "two");
    EXPECT_EQ(e->GetFirstAttribute(), e->FindAttribute(root->GetKey("")));
    EXPECT_EQ(second, e->FindAttribute(root->GetKey("second")));
    EXPECT_EQ(nullptr, e->FindAttribute(root->GetKey("third")));
    EXPECT_EQ(nullptr, e->FindAttribute(nullptr));
    EXPECT_TRUE(e->HasAttributeValue(root->GetKey("second"), "two"));
    EXPECT_FALSE(e->HasAttributeValue(root->GetKey("second"), "Two"));
    EXPECT_FALSE(e->HasAttributeValue(root->GetKey("third"), "two"));
    EXPECT_FALSE(e->HasAttributeValue(root->GetKey("second"), nullptr));
    EXPECT_EQ(e, second->GetOwner());

    e->RemoveAttribute(e->GetFirstAttribute()->GetNext());
    EXPECT_EQ(nullptr, second->GetOwner());
    EXPECT_EQ(nullptr, e->GetFirstAttribute()->GetNext());
    second->Delete();
    e->AddAttribute(root->GetKey("third"), nullptr);
    EXPECT_EQ("<E\n\t first=\"1\"\n\t third=\"\"/>", writeElement(e));
    EXPECT_EQ(ScnTest::assertionText("XCXMLElement::RemoveAttribute - attribute isn't owned"),
              errorOf([&] { add(root, "F")->RemoveAttribute(e->GetFirstAttribute()); }));
    e->GetFirstAttribute()->Delete();
    EXPECT_STREQ("third", e->GetFirstAttribute()->GetName());
}

TEST_F(NodeTree, ChildQueries)
{
    XIXMLElement* e = add(root, "E");
    e->AddComment("c");
    XIXMLElement* a1 = add(e, "A");
    add(e, "B");
    e->AddData("t");
    XIXMLElement* a2 = add(e, "A");
    EXPECT_EQ("#c,A,B,#text,A", childNames(e));
    EXPECT_EQ(3, e->CountElements());
    EXPECT_EQ(a1, e->GetFirstElement());
    EXPECT_EQ(a2, e->GetElementAt(2));
    EXPECT_EQ(nullptr, e->GetElementAt(3));
    EXPECT_EQ(nullptr, e->GetElementAt(-1));
    EXPECT_EQ(a1, e->FindElement(root->GetKey("A")));
    EXPECT_EQ(a2, a1->GetNextNamesake());
    EXPECT_EQ(nullptr, a2->GetNextNamesake());
    EXPECT_STREQ("B", a1->GetNextElement()->GetName());
    EXPECT_EQ(a2, a1->GetNextElement()->GetNextElement());
    EXPECT_STREQ("t", e->GetData()->GetText());
    EXPECT_EQ(4, a2->AsNode()->GetIndex());
    EXPECT_EQ(-1, e->IndexOf(root->AsNode()));
    EXPECT_EQ(0, e->AsNode()->GetIndex());
    EXPECT_EQ(-1, root->AsNode()->GetIndex());
}

TEST_F(NodeTree, MoveNodeTable)
{
    struct Case {
        const char* node;
        const char* before;  // null: to the end
        const char* order;
    };
    const Case cases[] = {
        {"c", "a", "c,a,b,d"}, {"a", "c", "b,a,c,d"}, {"a", "b", "a,b,c,d"}, {"b", "b", "a,b,c,d"},
        {"d", "b", "a,d,b,c"}, {"a", nullptr, "b,c,d,a"}, {"d", nullptr, "a,b,c,d"}, {"b", "d", "a,c,b,d"},
    };
    for (const Case& c : cases) {
        XIXMLElement* e = add(root, "E");
        for (const char* name : {"a", "b", "c", "d"}) {
            add(e, name);
        }
        XIXMLNode* node = e->FindElement(root->GetKey(c.node))->AsNode();
        XIXMLNode* before = c.before != nullptr ? e->FindElement(root->GetKey(c.before))->AsNode() : nullptr;
        e->MoveNode(node, before);
        EXPECT_EQ(c.order, childNames(e)) << c.node << " before " << (c.before ? c.before : "end");
        add(e, "z");
        EXPECT_EQ(std::string(c.order) + ",z", childNames(e));
    }
}

TEST_F(NodeTree, StructureMisuseFailsWithItsMessage)
{
    XIXMLElement* a = add(root, "A");
    XIXMLElement* b = add(a, "B");
    XIXMLElement* other = add(root, "O");
    XCXMLTree second;
    struct Case {
        std::function<void()> action;
        std::string message;
    };
    const Case cases[] = {
        {[&] { other->AddNode(b->AsNode()); }, ScnTest::assertionText("XCXMLElement::AddNode - node is not detached")},
        {[&] { other->AddNode(nullptr); }, ScnTest::nullPointerText("XCXMLElement::AddNode - node")},
        {[&] { other->AddNode(second.GetRoot()->AsNode()); },
         ScnTest::assertionText("XCXMLElement::AddNode - a document root can't be a child")},
        {[&] { other->RemoveNode(b->AsNode()); }, ScnTest::assertionText("XCXMLElement::RemoveNode - node isn't a child")},
        {[&] { other->MoveNode(b->AsNode(), nullptr); }, ScnTest::assertionText("XCXMLElement::MoveNode - node isn't a child")},
        {[&] { a->MoveNode(b->AsNode(), other->AsNode()); },
         ScnTest::assertionText("XCXMLElement::MoveNode - node isn't a child")},
        {[&] { a->AddElement(nullptr); }, ScnTest::nullPointerText("XCXMLElement - no name key")},
        {[&] { a->AsNode()->CopyTo(nullptr); }, ScnTest::nullPointerText("XCXMLNode::CopyTo - no target element")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.message, errorOf(c.action));
    }
    // A detached subtree cannot be added inside itself.
    root->RemoveNode(a->AsNode());
    EXPECT_EQ(ScnTest::assertionText("XCXMLElement::AddNode - node contains this element"),
              errorOf([&] { b->AddNode(a->AsNode()); }));
    other->AddNode(a->AsNode());
    EXPECT_EQ("O", childNames(root));
    EXPECT_EQ("A", childNames(other));
}

TEST_F(NodeTree, BrokenListIsReportedNotFollowed)
{
    XIXMLElement* a = add(root, "A");
    XIXMLElement* b = add(root, "B");
    // Cut the list behind the first child: the second is no longer reachable.
    a->AsNode()->SetNext(nullptr);
    EXPECT_EQ(ScnTest::nullPointerText("XCXMLElement::RemoveNode previous == NULL"),
              errorOf([&] { root->RemoveNode(b->AsNode()); }));
    EXPECT_EQ(ScnTest::nullPointerText("XCXMLElement::MoveNode previous == NULL"),
              errorOf([&] { root->MoveNode(b->AsNode(), a->AsNode()); }));
    // Repair so that the tree frees both.
    a->AsNode()->SetNext(b->AsNode());
}

TEST_F(NodeTree, DeleteUnlinksFromTheParent)
{
    XIXMLElement* e = add(root, "E");
    add(e, "a");
    XIXMLElement* b = add(e, "b");
    add(b, "deep")->AddData("x");
    add(e, "c");
    b->AsNode()->Delete();
    EXPECT_EQ("a,c", childNames(e));
    add(e, "d");
    EXPECT_EQ("a,c,d", childNames(e));
    e->GetFirstChild()->GetNext()->GetNext()->Delete();
    add(e, "f");
    EXPECT_EQ("a,c,f", childNames(e));
}

TEST_F(NodeTree, CopyToMakesIndependentDeepCopies)
{
    XIXMLElement* source = add(root, "S");
    source->AddAttribute(root->GetKey("id"), "1");
    XIXMLElement* child = add(source, "C");
    child->AddData("text");
    child->AddComment("note");
    add(source, "P")->AddData(new FakeCData("payload", &released));
    source->AddPI("pi", "data");
    source->AddDocType(root->GetKey("D"), "p", "s", "i");

    XCXMLTree target;
    XIXMLNode* copy = source->AsNode()->CopyTo(target.GetRoot());
    EXPECT_EQ(target.GetRoot(), copy->GetParent());
    std::string expected = writeElement(source);
    // The clone of the data object marks its text with a quote.
    std::string cloned = expected;
    cloned.replace(cloned.find("payload"), 7, "payload'");
    EXPECT_EQ(cloned, writeElement(copy->AsElement()));
    EXPECT_EQ(target.GetRoot()->GetKey("C"), copy->AsElement()->GetFirstElement()->GetName());

    // Copying into its own subtree copies the subtree as it was (through a copy aside, so the
    // data object is a clone of a clone).
    XIXMLNode* inner = source->AsNode()->CopyTo(child);
    cloned.replace(cloned.find("payload'"), 8, "payload''");
    EXPECT_EQ(cloned, writeElement(inner->AsElement()));
    EXPECT_EQ("C,P,#pi,#doctype", childNames(source));
}

TEST_F(NodeTree, ReleasingDataObjectThatThrowsIsReported)
{
    DiagnosticRecorder diagnostics;
    add(root, "P")->AddData(new FakeCData("x", nullptr, true, true))->AsNode()->Delete();
    ASSERT_EQ(1u, diagnostics.entries.size());
    EXPECT_EQ(0, diagnostics.entries[0].first);
    EXPECT_EQ("XCXMLData::~XCXMLData: Exception in destructor (boom)", diagnostics.entries[0].second);
}

TEST_F(NodeTree, LeafNodeAccessors)
{
    XIXMLComment* comment = root->AddComment(nullptr);
    EXPECT_STREQ("", comment->GetText());
    comment->SetText("c");
    EXPECT_STREQ("c", comment->GetText());
    XIXMLPI* pi = root->AddPI("t", "d");
    pi->SetTarget("u");
    pi->SetData("e");
    EXPECT_STREQ("u", pi->GetTarget());
    EXPECT_STREQ("e", pi->GetData());
    XIXMLDocType* type = root->AddDocType(root->GetKey("n"), nullptr, "s", nullptr);
    EXPECT_EQ(nullptr, type->GetPublicId());
    type->SetPublicId("p");
    type->SetSystemId(nullptr);
    type->SetInternalSubset("i");
    EXPECT_STREQ("p", type->GetPublicId());
    EXPECT_EQ(nullptr, type->GetSystemId());
    EXPECT_STREQ("i", type->GetInternalSubset());
    EXPECT_EQ(type, type->AsNode()->AsDocType());
    EXPECT_EQ(nullptr, type->AsNode()->AsPI());
    EXPECT_EQ(pi, pi->AsNode()->AsPI());
    EXPECT_EQ(comment, comment->AsNode()->AsComment());
    EXPECT_EQ(nullptr, comment->AsNode()->AsData());
    EXPECT_EQ(nullptr, comment->AsNode()->AsElement());
}

// ---- typed values ----

namespace {

std::string cPrintf(const char* format, double real, int integer, unsigned hex, int which)
{
    char buffer[512];
    if (which == 0) {
        std::snprintf(buffer, sizeof(buffer), format, integer);
    } else if (which == 1) {
        std::snprintf(buffer, sizeof(buffer), format, real);
    } else {
        std::snprintf(buffer, sizeof(buffer), format, hex);
    }
    return buffer;
}

}  // namespace

TEST_F(NodeTree, PrintValueMatchesTheCLibraryInTheCLocale)
{
    XIXMLAttribute* a = add(root, "E")->AddAttribute(root->GetKey("v"), "");
    const double reals[] = {0.0, -0.0, 1.5, -2.0, 0.1, 1e-7, 5e-7, 123456.7890125, 1e30, -1e30, 3.141592653589793,
                            2.5e-300, 1.7976931348623157e308, 0.0000005, 999999.9999995};
    for (double r : reals) {
        a->PrintValue("%lf", r);
        EXPECT_EQ(cPrintf("%lf", r, 0, 0, 1), a->GetValue()) << r;
    }
    const int ints[] = {0, 1, -1, 42, 2147483647, -2147483647 - 1};
    for (int i : ints) {
        a->PrintValue("%d", i);
        EXPECT_EQ(cPrintf("%d", 0, i, 0, 0), a->GetValue());
    }
    const unsigned hexes[] = {0u, 1u, 0xABCDEFu, 0xFFFFFFFFu, 0x80000000u};
    for (unsigned h : hexes) {
        a->PrintValue("%08X", h);
        EXPECT_EQ(cPrintf("%08X", 0, 0, h, 2), a->GetValue());
    }
    a->PrintValue("%.3f|%x", 2.0, 255);
    EXPECT_STREQ("2.000|ff", a->GetValue());
}

TEST_F(NodeTree, ScanValueMatchesTheCLibraryInTheCLocale)
{
    XIXMLAttribute* a = add(root, "E")->AddAttribute(root->GetKey("v"), "");
    const char* realTexts[] = {"1.5", " -2.25", "+3", ".5", "5.", "1e3", "1E-2x", "0x1p4", "inf", "-INF", "1e400",
                               "-1e-400", "12abc", "\t\n7"};
    for (const char* text : realTexts) {
        a->SetValue(text);
        double ours = -1;
        double theirs = -2;
        ASSERT_EQ(1, std::sscanf(text, "%lf", &theirs)) << text;
        a->ScanValue("%lf", &ours);
        EXPECT_EQ(theirs, ours) << text;
    }
    const char* intTexts[] = {"0", "-12", "+7", " 2147483647", "-2147483648", "12.5", "99999999999", "007"};
    for (const char* text : intTexts) {
        a->SetValue(text);
        int ours = -1;
        int theirs = -2;
        ASSERT_EQ(1, std::sscanf(text, "%d", &theirs)) << text;
        a->ScanValue("%d", &ours);
        EXPECT_EQ(theirs, ours) << text;
    }
    const char* hexTexts[] = {"00ABCDEF", "ffffffff", "123456789", "0x1F", "-1", " 7g"};
    for (const char* text : hexTexts) {
        a->SetValue(text);
        unsigned ours = 1;
        unsigned theirs = 2;
        ASSERT_EQ(1, std::sscanf(text, "%08X", &theirs)) << text;
        a->ScanValue("%08X", &ours);
        EXPECT_EQ(theirs, ours) << text;
    }
    const char* bad[][2] = {{"%d", "x"}, {"%d", ""}, {"%d", "-"}, {"%lf", "."}, {"%lf", "abc"}, {"%08X", "g"},
                            {"%d %d", "1 2"}};
    for (const auto& c : bad) {
        a->SetValue(c[1]);
        int i1 = 0;
        int i2 = 0;
        EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { a->ScanValue(c[0], &i1, &i2); })) << c[0] << " on " << c[1];
    }
}

TEST_F(NodeTree, FormattedValuesIgnoreTheProcessLocale)
{
    auto locale = std::make_unique<ScnTest::CommaLocale>();
    if (!locale->active()) {
        return;
    }
    char probe[32];
    std::snprintf(probe, sizeof(probe), "%.1f", 1.5);
    EXPECT_STREQ("1,5", probe);

    XIXMLElement* e = add(root, "E");
    XIXMLAttribute* a = e->AddAttribute(root->GetKey("v"), "");
    XIXMLData* data = e->AddData("");
    a->PrintValue("%lf", 1234.5);
    data->PrintText("%.2f %g", 0.25, 1.5);
    double real = 0;
    double other = 0;
    XIXMLAttribute* b = e->AddAttribute(root->GetKey("w"), "2.75");
    b->ScanValue("%lf", &real);
    XIXMLAttribute* c = e->AddAttribute(root->GetKey("x"), "3.5e1");
    c->ScanValue("%le", &other);
    locale.reset();

    EXPECT_STREQ("1234.500000", a->GetValue());
    EXPECT_STREQ("0.25 1.5", data->GetText());
    EXPECT_EQ(2.75, real);
    EXPECT_EQ(35.0, other);
}

TEST_F(NodeTree, FormattedValueMustFitIn2047Characters)
{
    XIXMLElement* e = add(root, "E");
    XIXMLAttribute* a = e->AddAttribute(root->GetKey("v"), "kept");
    XIXMLData* data = e->AddData("kept");
    a->PrintValue("%2047d", 1);
    EXPECT_EQ(2047u, std::strlen(a->GetValue()));
    data->PrintText("%2047d", 1);
    EXPECT_EQ(2047u, std::strlen(data->GetText()));
    a->SetValue("kept");
    data->SetText("kept");
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { a->PrintValue("%2048d", 1); }));
    EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { data->PrintText("%5000d", 1); }));
    EXPECT_STREQ("kept", a->GetValue());
    EXPECT_STREQ("kept", data->GetText());
}

TEST_F(NodeTree, ScanTextReadsTheDataNode)
{
    XIXMLData* data = add(root, "E")->AddData("  -17 ");
    int value = 0;
    data->ScanText("%d", &value);
    EXPECT_EQ(-17, value);
}

TEST_F(NodeTree, StringCopyFailureUsesTheMissingPointerForm)
{
    XIXMLElement* e = add(root, "E");
    XIXMLAttribute* a = e->AddAttribute(root->GetKey("a"), "kept");
    std::string large(10000, 'x');
    Nuvora::failAllocationAfter(1);
    EXPECT_EQ(ScnTest::nullPointerText(), errorOf([&] { e->AddData(large.c_str()); }));
    // Short strings come from the tree's memory; a long one needs an allocation of its own.
    Nuvora::failAllocationAfter(1);
    EXPECT_EQ(ScnTest::nullPointerText(), errorOf([&] { a->SetValue(large.c_str()); }));
    Nuvora::failAllocationAfter(0);
    EXPECT_EQ(nullptr, e->GetFirstChild());
    EXPECT_STREQ("kept", a->GetValue());
}

// ---- guards and counts ----

TEST(Mine, DestructorReportsDoubleAndInvalidDeletion)
{
    DiagnosticRecorder diagnostics;
    alignas(XCMine) unsigned char storage[sizeof(XCMine)];
    XCMine* mine = new (storage) XCMine();
    EXPECT_NO_THROW(mine->CheckMine());
    mine->~XCMine();
    EXPECT_TRUE(diagnostics.entries.empty());
    EXPECT_EQ(ScnTest::assertionText("XCMine::CheckMine - Owner object is destroyed)"), errorOf([&] { mine->CheckMine(); }));
    mine->~XCMine();
    uint32_t garbage = 0x12345678u;
    std::memcpy(storage, &garbage, sizeof(garbage));
    EXPECT_EQ(ScnTest::assertionText("XCMine::CheckMine - Invalide mine state"), errorOf([&] { mine->CheckMine(); }));
    mine->~XCMine();
    ASSERT_EQ(2u, diagnostics.entries.size());
    EXPECT_EQ("XCMine::~XCMine - Double deletion detected", diagnostics.entries[0].second);
    EXPECT_EQ("XCMine::~XCMine - Invalid deletion detected", diagnostics.entries[1].second);
    EXPECT_EQ(0, diagnostics.entries[1].first);
}

namespace {

struct Counted : Nuvora::XIRefCount {
    explicit Counted(int* destroyed) : mDestroyed(destroyed) {}
    ~Counted() override { ++*mDestroyed; }
    int* mDestroyed;
};

}  // namespace

TEST(RefCount, ReleaseDestroysAtZero)
{
    int destroyed = 0;
    auto* object = new Nuvora::XTCRefCount<Counted>(&destroyed);
    EXPECT_EQ(1, object->AddRef());
    EXPECT_EQ(2, object->AddRef());
    EXPECT_EQ(1, object->Release());
    EXPECT_EQ(0, destroyed);
    EXPECT_EQ(0, object->Release());
    EXPECT_EQ(1, destroyed);
}

TEST(RefCount, DestroyingWithReferencesIsReported)
{
    DiagnosticRecorder diagnostics;
    int destroyed = 0;
    auto* object = new Nuvora::XTCRefCount<Counted>(&destroyed);
    object->AddRef();
    delete static_cast<Nuvora::XCBaseRefCount*>(object);
    EXPECT_EQ(1, destroyed);
    ASSERT_EQ(1u, diagnostics.entries.size());
    EXPECT_EQ("XCBaseRefCount::~XCBaseRefCount - Deleting object before mRefCount reach 0",
              diagnostics.entries[0].second);
}

// ---- the tree's memory ----

TEST(TreeMemory, ATreeDyingWholeReleasesEachDataObjectOnce)
{
    DiagnosticRecorder diagnostics;
    int released = 0;
    {
        XCXMLTree tree;
        XCXMLRoot* root = tree.GetRoot();
        for (int i = 0; i < 50; ++i) {
            XIXMLElement* e = root->AddElement(root->GetKey("P"));
            // Replaced values, short and longer than a block of the tree's memory.
            e->AddAttribute(root->GetKey("n"), "1")->SetValue(std::string(static_cast<size_t>(i) * 200, 'v').c_str());
            e->AddData(new FakeCData("x", &released, true, i == 7));
        }
        root->AddComment("c")->SetText("d");
        root->AddPI("t", "d")->SetData("e");
        root->AddDocType(root->GetKey("d"), "p", "s", "i")->SetSystemId("t");
        // A node deleted on its own releases its object at once.
        root->GetFirstElement()->AsNode()->Delete();
        EXPECT_EQ(1, released);
    }
    EXPECT_EQ(50, released);
    ASSERT_EQ(1u, diagnostics.entries.size());
    EXPECT_EQ("XCXMLData::~XCXMLData: Exception in destructor (boom)", diagnostics.entries[0].second);
}

TEST(TreeMemory, DetachedNodesOutliveTheirTree)
{
    int released = 0;
    XIXMLElement* detached = nullptr;
    XIXMLAttribute* loose = nullptr;
    XCXMLTree other;
    {
        XCXMLTree tree;
        XCXMLRoot* root = tree.GetRoot();
        detached = root->AddElement(root->GetKey("a"));
        loose = detached->AddAttribute(root->GetKey("x"), "1");
        detached->AddElement(root->GetKey("b"))->AddData(new FakeCData("payload", &released));
        detached->AddElement(root->GetKey("c"))->AddData("text");
        detached->RemoveAttribute(loose);
        root->RemoveNode(detached->AsNode());
        // The tree goes on after the detach; its nodes are then freed one by one.
        root->AddElement(root->GetKey("d"))->AddData(new FakeCData("other", &released));
        root->AddElement(root->GetKey("e"))->AsNode()->Delete();
    }
    EXPECT_EQ(1, released);
    // Names are keys of the dead tree's table: only structure and values are used from here on.
    XCXMLRoot* root = other.GetRoot();
    root->AddNode(detached->AsNode());
    EXPECT_EQ(2, detached->CountElements());
    EXPECT_STREQ("text", detached->GetElementAt(1)->GetData()->GetText());
    detached->AddElement(root->GetKey("f"))->AddData("new");
    EXPECT_EQ(3, detached->CountElements());
    EXPECT_STREQ("1", loose->GetValue());
    loose->Delete();
    detached->GetFirstElement()->AsNode()->Delete();
    EXPECT_EQ(2, released);
}

TEST(TreeMemory, NodesMovedBetweenTreesAreFreedOnce)
{
    for (bool sourceDiesFirst : {true, false}) {
        int released = 0;
        auto source = std::make_unique<XCXMLTree>();
        auto target = std::make_unique<XCXMLTree>();
        XCXMLRoot* from = source->GetRoot();
        XIXMLElement* moved = from->AddElement(from->GetKey("m"));
        moved->AddData(new FakeCData("x", &released));
        moved->AddElement(from->GetKey("n"))->AddAttribute(from->GetKey("v"), "w");
        from->AddElement(from->GetKey("stays"))->AddData(new FakeCData("y", &released));
        from->RemoveNode(moved->AsNode());
        target->GetRoot()->AddNode(moved->AsNode());
        (sourceDiesFirst ? source : target).reset();
        EXPECT_EQ(1, released) << sourceDiesFirst;
        (sourceDiesFirst ? target : source).reset();
        EXPECT_EQ(2, released) << sourceDiesFirst;
    }
}

TEST(TreeMemory, PartsDeletedAndRebuiltAgainAndAgain)
{
    // A scene written again and again deletes and rebuilds parts of its document: emptied memory
    // goes back while the rest of the tree stays intact.
    XCXMLTree tree;
    XCXMLRoot* root = tree.GetRoot();
    XIXMLElement* file = root->AddElement(root->GetKey("File"));
    for (int round = 0; round < 200; ++round) {
        XIXMLElement* part = file->AddElement(root->GetKey("Part"));
        for (int i = 0; i < 100; ++i) {
            part->AddElement(root->GetKey("Item"))->AddAttribute(root->GetKey("i"), std::to_string(i).c_str());
        }
        if (round > 0) {
            file->GetFirstElement()->AsNode()->Delete();
        }
    }
    EXPECT_EQ(1, file->CountElements());
    EXPECT_EQ(100, file->GetFirstElement()->CountElements());
    EXPECT_STREQ("99", file->GetFirstElement()->GetElementAt(99)->GetFirstAttribute()->GetValue());
}

namespace {

// A node and an attribute of another implementation: the tree links only its own.
struct ForeignNode : XIXMLNode {
    void Delete() override {}
    XIXMLNode* GetNext() override { return nullptr; }
    void SetNext(XIXMLNode*) override {}
    XIXMLPI* AsPI() override { return nullptr; }
    XIXMLComment* AsComment() override { return nullptr; }
    XIXMLDocType* AsDocType() override { return nullptr; }
    XIXMLData* AsData() override { return nullptr; }
    XIXMLElement* AsElement() override { return nullptr; }
    void Write(XCXMLWriter*, int32_t) override {}
    XIXMLElement* GetParent() override { return nullptr; }
    void SetParent(XIXMLElement*) override {}
    int32_t GetIndex() override { return -1; }
    XIXMLNode* CopyTo(XIXMLElement*) override { return nullptr; }
};

struct ForeignAttribute : XIXMLAttribute {
    void Delete() override {}
    XIXMLAttribute* GetNext() override { return nullptr; }
    void SetNext(XIXMLAttribute*) override {}
    XIXMLElement* GetOwner() override { return nullptr; }
    const char* GetName() override { return "f"; }
    void SetName(const char*) override {}
    const char* GetValue() override { return ""; }
    void SetValue(const char*) override {}
    void ScanValue(const char*, ...) override {}
    void PrintValue(const char*, ...) override {}
    void Write(XCXMLWriter*) override {}
    void CopyTo(XIXMLElement*) override {}
};

}  // namespace

TEST_F(NodeTree, NodesOfAnotherImplementationAreNotLinked)
{
    ForeignNode node;
    ForeignAttribute attribute;
    XIXMLElement* a = add(root, "A");
    XIXMLAttribute* x = a->AddAttribute(root->GetKey("x"), "1");
    const std::string notNode = ScnTest::assertionText("XCXMLNode - not a node of this toolkit");
    EXPECT_EQ(notNode, errorOf([&] { a->AddNode(&node); }));
    EXPECT_EQ(notNode, errorOf([&] { a->AsNode()->SetNext(&node); }));
    EXPECT_EQ(ScnTest::assertionText("XCXMLElement::RemoveNode - node isn't a child"), errorOf([&] { a->RemoveNode(&node); }));
    EXPECT_EQ(ScnTest::assertionText("XCXMLAttribute - not an attribute of this toolkit"),
              errorOf([&] { x->SetNext(&attribute); }));
    EXPECT_EQ("A", childNames(root));
    EXPECT_EQ(nullptr, x->GetNext());
}

TEST(TreeMemory, NodesDetachedOnOneThreadAreFreedOnAnother)
{
    // A tree's chunks are shared between threads once a node leaves it: the last block freed,
    // on whichever thread, gives its chunk back exactly once (the sanitizer run checks that).
    constexpr int kNodes = 2000;
    std::vector<XIXMLElement*> detached;
    int released = 0;
    auto tree = std::make_unique<XCXMLTree>();
    XCXMLRoot* root = tree->GetRoot();
    for (int i = 0; i < kNodes; ++i) {
        XIXMLElement* e = root->AddElement(root->GetKey("n"));
        e->AddAttribute(root->GetKey("i"), std::to_string(i).c_str());
        if (i % 2 == 0) {
            e->AddData(new FakeCData("x", &released));
            root->RemoveNode(e->AsNode());
            detached.push_back(e);
        }
    }
    std::thread freer([&] {
        for (XIXMLElement* e : detached) {
            e->AsNode()->Delete();
        }
    });
    // Meanwhile this thread reads and writes documents of its own, then lets the tree go.
    for (int round = 0; round < 50; ++round) {
        EXPECT_EQ("<a x=\"1\">t</a>\n", writeElement(readTree("<a x='1'>t</a>")->GetRoot()));
    }
    freer.join();
    EXPECT_EQ(kNodes / 2, released);
    EXPECT_EQ(kNodes / 2, root->CountElements());
    tree.reset();
}

TEST(TreeMemory, TreesOnSeveralThreadsAtOnce)
{
    std::vector<std::string> outcomes(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&outcomes, t] {
            std::string text = "<r t=\"" + std::to_string(t) + "\">";
            for (int i = 0; i < 500; ++i) {
                text += "<e i=\"" + std::to_string(i) + "\">&lt;v&gt;</e>";
            }
            text += "</r>";
            for (int round = 0; round < 20; ++round) {
                outcomes[t] = writeElement(readTree(text)->GetRoot());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(0u, outcomes[t].find("<r t=\"" + std::to_string(t) + "\">\n")) << t;
        EXPECT_NE(std::string::npos, outcomes[t].find("<e i=\"499\">&lt;v&gt;</e>")) << t;
    }
}

// Node copies that fail part way, and what they leave behind.
namespace {

// A data object that counts the live objects of its kind.
struct CountedCData : XIXMLData::IXMLCData {
    explicit CountedCData(int* live) : mLive(live) { ++*mLive; }
    ~CountedCData() override { --*mLive; }
    bool Write(XIXMLWriteStream*, int32_t, XIXMLData*) override { return true; }
    IXMLCData* Clone() override { return new CountedCData(mLive); }
    void Release() override { delete this; }
    int* mLive;
};

}  // namespace

// Copying a data node to an element that has one already fails, and frees the clone it made.
TEST(NodeCopy, RefusedDataCopyFreesItsClone)
{
    int live = 0;
    {
        XCXMLTree tree;
        XIXMLElement* root = tree.GetRoot();
        XIXMLElement* source = root->AddElement(root->GetKey("s"));
        XIXMLData* data = source->AddData(new CountedCData(&live));
        for (bool text : {true, false}) {
            XIXMLElement* target = root->AddElement(root->GetKey("t"));
            if (text) {
                target->AddData("x");
            } else {
                target->AddData(new CountedCData(&live));
            }
            int before = live;
            EXPECT_EQ("Only one data node for an element", errorOf([&] { data->AsNode()->CopyTo(target); }));
            EXPECT_EQ(before, live) << (text ? "text" : "object");
        }
    }
    EXPECT_EQ(0, live);
}

// A subtree copy that fails part way (a data object that cannot be cloned) leaves the target as
// it was, and the source whole.
TEST(NodeCopy, FailedSubtreeCopyLeavesNoPartialCopy)
{
    struct Uncloneable : XIXMLData::IXMLCData {
        bool Write(XIXMLWriteStream*, int32_t, XIXMLData*) override { return true; }
        IXMLCData* Clone() override { return nullptr; }
        void Release() override { delete this; }
    };
    XCXMLTree tree;
    XIXMLElement* root = tree.GetRoot();
    XIXMLElement* source = root->AddElement(root->GetKey("s"));
    source->AddElement(root->GetKey("first"))->AddData("1");
    source->AddElement(root->GetKey("block"))->AddData(new Uncloneable);
    source->AddElement(root->GetKey("last"));
    XIXMLElement* target = root->AddElement(root->GetKey("t"));
    target->AddComment("kept");
    const std::string before = XmlTest::writeElement(root);
    for (XIXMLElement* into : {target, source, source->GetFirstElement()}) {
        EXPECT_EQ(ScnTest::plainFailureText(), errorOf([&] { source->AsNode()->CopyTo(into); }));
        EXPECT_EQ(before, XmlTest::writeElement(root));
    }
}
