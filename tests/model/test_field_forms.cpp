// The field forms of child-object lists and language texts, and the wrappers through which kinds
// write and read their field lists.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Fields.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/TestSupport.h"
#include "support/XmlSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

// A child kind: a value, a name and a list of its own.
struct Leaf {
    static constexpr const char* kElementName = "Leaf";
    explicit Leaf(CBaseObjectMgr*) { setFieldDefaults(*this); }
    template <class V>
    void visitFields(V& v)
    {
        v.integer("Value", value, 7);
    }
    int32_t value;
};

struct Branch {
    static constexpr const char* kElementName = "Branch";
    explicit Branch(CBaseObjectMgr*) : leaves(nullptr) { setFieldDefaults(*this); }
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", name, "b");
        v.list("Leaves", leaves);
    }
    std::string name;
    TObjectMgr<Leaf, Leaf> leaves;
};

// A kind with the list forms: required, optional, and written only when not empty.
struct Tree {
    Tree() : branches(nullptr), extra(nullptr), linked(nullptr) { setFieldDefaults(*this); }
    template <class V>
    void visitFields(V& v)
    {
        v.list("Branches", branches, AlternateName{"Old.Branches"});
        v.list("Extra", extra, kOptional);
        v.list("Linked", linked, kOmitEmpty);
        v.integer("Last", last, 0);
    }
    TObjectMgr<Branch, Branch> branches;
    TObjectMgr<Leaf, Leaf> extra;
    TObjectMgr<Leaf, Leaf> linked;
    int32_t last;
};

std::string write(Tree& tree)
{
    return ScnTest::writeFieldsText(tree, "Tree");
}

std::string read(const std::string& bytes, Tree& tree)
{
    return ScnTest::readFieldsText(bytes, tree);
}

// A tree whose lists hold something, to see what a read keeps.
void fill(Tree& tree)
{
    Branch* branch = tree.branches.append();
    branch->name = "held";
    branch->leaves.append()->value = 1;
    tree.extra.append()->value = 2;
    tree.linked.append()->value = 3;
}

TEST(ListForm, DefaultsAreEmptyListsAndTheDumpShowsEachItemInOrder)
{
    Tree tree;
    EXPECT_EQ(dumpFields(tree), "Branches=[]\nExtra=[]\nLinked=[]\nLast=0\n");
    fill(tree);
    tree.branches.append();
    EXPECT_EQ(dumpFields(tree),
              "Branches=[\n  {\n    Name=\"held\"\n    Leaves=[\n      {\n        Value=1\n      }\n    ]\n  }\n"
              "  {\n    Name=\"b\"\n    Leaves=[]\n  }\n]\n"
              "Extra=[\n  {\n    Value=2\n  }\n]\nLinked=[\n  {\n    Value=3\n  }\n]\nLast=0\n");
    setFieldDefaults(tree);
    EXPECT_EQ(dumpFields(tree), "Branches=[]\nExtra=[]\nLinked=[]\nLast=0\n");
}

TEST(ListForm, WritesTheListElementAlwaysAndItsItemsInOrder)
{
    Tree tree;
    EXPECT_EQ(write(tree), "<Tree>\n\t<Branches/>\n\t<Extra/>\n\t<Last>0</Last>\n</Tree>");
    fill(tree);
    tree.branches.append()->leaves.append()->value = 9;
    EXPECT_EQ(write(tree),
              "<Tree>\n\t<Branches>\n"
              "\t\t<Branch>\n\t\t\t<Name en=\"held\"/>\n\t\t\t<Leaves>\n\t\t\t\t<Leaf>\n\t\t\t\t\t<Value>1</Value>\n"
              "\t\t\t\t</Leaf>\n\t\t\t</Leaves>\n\t\t</Branch>\n"
              "\t\t<Branch>\n\t\t\t<Name en=\"b\"/>\n\t\t\t<Leaves>\n\t\t\t\t<Leaf>\n\t\t\t\t\t<Value>9</Value>\n"
              "\t\t\t\t</Leaf>\n\t\t\t</Leaves>\n\t\t</Branch>\n\t</Branches>\n"
              "\t<Extra>\n\t\t<Leaf>\n\t\t\t<Value>2</Value>\n\t\t</Leaf>\n\t</Extra>\n"
              "\t<Linked>\n\t\t<Leaf>\n\t\t\t<Value>3</Value>\n\t\t</Leaf>\n\t</Linked>\n"
              "\t<Last>0</Last>\n</Tree>");
}

struct ListReadCase {
    const char* what;
    std::string document;
    std::string failure;
    std::string dump;  // of a filled tree after the read
};

class ListReading : public ::testing::TestWithParam<ListReadCase> {};

TEST_P(ListReading, ReplacesEachListByTheItemsOfTheDocument)
{
    const ListReadCase& c = GetParam();
    Tree tree;
    fill(tree);
    EXPECT_EQ(read(c.document, tree), c.failure) << c.what;
    EXPECT_EQ(dumpFields(tree), c.dump) << c.what;
}

const char* const kFilledRest = "Extra=[\n  {\n    Value=2\n  }\n]\nLinked=[\n  {\n    Value=3\n  }\n]\nLast=0\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ListReading,
    ::testing::Values(
        ListReadCase{"items in document order, other children passed over",
                     "<Tree><Branches><Branch><Name en='x'/><Leaves><Leaf><Value>4</Value></Leaf><Note/>"
                     "<Leaf><Value>5</Value></Leaf></Leaves></Branch><Other/><Branch><Name en='y'/><Leaves/>"
                     "</Branch></Branches><Extra/><Last>1</Last></Tree>",
                     "",
                     "Branches=[\n  {\n    Name=\"x\"\n    Leaves=[\n      {\n        Value=4\n      }\n"
                     "      {\n        Value=5\n      }\n    ]\n  }\n  {\n    Name=\"y\"\n    Leaves=[]\n  }\n]\n"
                     "Extra=[]\nLinked=[]\nLast=1\n"},
        ListReadCase{"an empty list element empties the list; an absent optional list stays",
                     "<Tree><Branches/><Linked><Leaf><Value>6</Value></Leaf></Linked><Last>2</Last></Tree>", "",
                     "Branches=[]\nExtra=[\n  {\n    Value=2\n  }\n]\nLinked=[\n  {\n    Value=6\n  }\n]\nLast=2\n"},
        ListReadCase{"the older list name",
                     "<Tree><Old.Branches><Branch><Name en='o'/><Leaves/></Branch></Old.Branches><Extra/>"
                     "<Last>3</Last></Tree>",
                     "", "Branches=[\n  {\n    Name=\"o\"\n    Leaves=[]\n  }\n]\nExtra=[]\nLinked=[]\nLast=3\n"},
        ListReadCase{"a missing required list ends the read and keeps its items",
                     "<Tree><Extra/><Last>4</Last></Tree>", ScnTest::nullPointerText(),
                     std::string("Branches=[\n  {\n    Name=\"held\"\n    Leaves=[\n      {\n        Value=1\n"
                                 "      }\n    ]\n  }\n]\n") +
                         kFilledRest},
        ListReadCase{"an item without its required field ends the read after the items before it",
                     "<Tree><Branches><Branch><Name en='a'/><Leaves/></Branch><Branch><Name en='c'/></Branch>"
                     "<Branch><Name en='d'/><Leaves/></Branch></Branches><Last>5</Last></Tree>",
                     ScnTest::nullPointerText(),
                     std::string("Branches=[\n  {\n    Name=\"a\"\n    Leaves=[]\n  }\n  {\n    Name=\"c\"\n"
                                 "    Leaves=[]\n  }\n]\n") +
                         kFilledRest},
        ListReadCase{"a value that does not parse in an item",
                     "<Tree><Branches><Branch><Name en='a'/><Leaves><Leaf><Value>x</Value></Leaf></Leaves>"
                     "</Branch></Branches></Tree>",
                     ScnTest::plainFailureText(),
                     std::string("Branches=[\n  {\n    Name=\"a\"\n    Leaves=[\n      {\n        Value=7\n"
                                 "      }\n    ]\n  }\n]\n") +
                         kFilledRest}));

// A list whose item kind comes from the item element: appendFor makes each item from its "Kind".
struct Shape {
    static constexpr const char* kElementName = "Shape";
    template <class V>
    void visitFields(V& v)
    {
        v.real("Size", size, 1.0);
    }
    std::string kind;
    double size = 1.0;
};

class ShapeList {
public:
    size_t size() const { return mItems.size(); }
    Shape* at(size_t index) { return mItems[index].get(); }
    void clear() { mItems.clear(); }
    // The kinds met, by the item elements' attribute; null (no item) for an unknown kind.
    Shape* appendFor(XIXMLElement* item)
    {
        const char* kind = XmlForm::findAttribute(item, "Kind");
        if (kind == nullptr || std::string(kind) == "Unknown") {
            return nullptr;
        }
        mItems.push_back(std::make_unique<Shape>());
        mItems.back()->kind = kind;
        return mItems.back().get();
    }

private:
    std::vector<std::unique_ptr<Shape>> mItems;
};

struct Drawing {
    template <class V>
    void visitFields(V& v)
    {
        v.list("Shapes", shapes);
    }
    ShapeList shapes;
};

// A document of shapes, the failure of its read and the items made, as "kind size".
struct ShapeCase {
    const char* document;
    std::string failure;
    std::vector<std::string> made;
};

class ShapeReading : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeReading, AContainerMakesEachItemForItsElement)
{
    Drawing drawing;
    EXPECT_EQ(ScnTest::readFieldsText(GetParam().document, drawing), GetParam().failure);
    std::vector<std::string> made;
    for (size_t i = 0; i < drawing.shapes.size(); ++i) {
        made.push_back(drawing.shapes.at(i)->kind + " " + std::to_string(static_cast<int>(drawing.shapes.at(i)->size)));
    }
    EXPECT_EQ(made, GetParam().made);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShapeReading,
    ::testing::Values(ShapeCase{"<D><Shapes><Shape Kind='Circle'><Size>2</Size></Shape><Shape Kind='Square'>"
                                "<Size>3</Size></Shape></Shapes></D>",
                                "",
                                {"Circle 2", "Square 3"}},
                      ShapeCase{"<D><Shapes><Shape Kind='Circle'><Size>2</Size></Shape><Shape Kind='Unknown'/>"
                                "</Shapes></D>",
                                ScnTest::nullPointerText(),
                                {"Circle 2"}}));

TEST(ListForm, EveryItemComesBackThroughTheWrittenBytes)
{
    Tree written;
    ScnTest::varyFields(written);
    ASSERT_EQ(written.branches.size(), 2u);
    ASSERT_EQ(written.branches.at(1)->leaves.size(), 2u);
    Tree back;
    EXPECT_EQ(read(write(written), back), "");
    EXPECT_EQ(dumpFields(back), dumpFields(written));
}

// A kind holding texts in several languages.
struct Labelled {
    template <class V>
    void visitFields(V& v)
    {
        v.languageTexts("Name", names);
    }
    CLanguageTexts names;
};

TEST(LanguageTextsForm, OneAttributePerLanguageInTheOrderGiven)
{
    struct Case {
        std::vector<std::pair<const char*, const char*>> texts;
        const char* written;
        const char* dump;
    };
    const Case cases[] = {
        {{}, "<L>\n\t<Name/>\n</L>", "Name=[]\n"},
        {{{"fr", "Chaise"}, {"en", "Chair & <seat>"}, {"fr", "Si\xC3\xA8ge"}},
         "<L>\n\t<Name\n\t\t fr=\"Si\xC3\xA8ge\"\n\t\t en=\"Chair &amp; &lt;seat>\"/>\n</L>",
         "Name=[26226=\"Si\xC3\xA8ge\" 25966=\"Chair & <seat>\"]\n"},
        // Codes that are not one or two letters or digits name no attribute.
        {{{"d", "ein"}, {"", "none"}, {"<x", "bad"}, {"e1", "digit"}},
         "<L>\n\t<Name\n\t\t d=\"ein\"\n\t\t e1=\"digit\"/>\n</L>",
         "Name=[25600=\"ein\" 0=\"none\" 15480=\"bad\" 25905=\"digit\"]\n"},
    };
    for (const Case& c : cases) {
        Labelled labelled;
        for (const auto& text : c.texts) {
            labelled.names.set(languageCode(text.first), text.second);
        }
        EXPECT_EQ(dumpFields(labelled), c.dump);
        ScnTest::XmlDocument document("L");
        FieldWriter writer(document.top());
        labelled.visitFields(writer);
        EXPECT_EQ(ScnTest::writeElement(document.top()), c.written);
    }
}

TEST(LanguageTextsForm, ReadingTakesEveryAttributeInPlaceOfTheTextsHeld)
{
    Labelled labelled;
    labelled.names.set(languageCode("de"), "Stuhl");
    std::unique_ptr<NuvoraXML::XCXMLTree> parsed =
        ScnTest::parseDocument("<L><Name en='Chair' fr='Chaise' english='Seat'/></L>");
    FieldReader reader(ScnTest::documentElement(*parsed), nullptr);
    labelled.visitFields(reader);
    EXPECT_EQ(dumpFields(labelled), "Name=[25966=\"Seat\" 26226=\"Chaise\"]\n");
    EXPECT_EQ(labelled.names.get(languageCode("de")), nullptr);
    labelled.names.set(languageCode("it"), nullptr);
    EXPECT_STREQ(labelled.names.get(languageCode("it")), "");
}

// A kind of a scene with its element name, written and read through the wrappers.
class Widget : public CScnObject {
public:
    static constexpr const char* kElementName = "Widget";
    static constexpr const char* kOlderName = "Gadget";

    explicit Widget(CBaseObjectMgr* owner) : CScnObject(owner) { setFieldDefaults(*this); }
    template <class V>
    void visitFields(V& v)
    {
        v.integer("Size", size, 3);
        v.identifier("UUID", uuid, kNullUuid, kKeptIdentifier);
    }
    int32_t size;
    CScnUUID uuid;
};

class Wrappers : public ScnTest::SceneFixture {
protected:
    CBaseObjectMgr* owner() { return mScene; }
};

TEST_F(Wrappers, WritingOptionsPlaceTheElement)
{
    const std::string kNewWidget = "<Widget UUID=\"" + std::string(32, '0') + "\">\n\t\t<Size>3</Size>\n\t</Widget>";
    const struct {
        const char* what;
        std::function<XIXMLElement*(Widget&, XIXMLElement*)> put;
        std::string written;
    } cases[] = {
        {"appended", [](Widget& w, XIXMLElement* p) { return putFieldsInXML(w, p, "Widget::putInXML"); },
         "<P>\n\t<Widget/>\n\t<Gadget/>\n\t<Other/>\n\t" + kNewWidget + "\n</P>"},
        {"into the first of its name",
         [](Widget& w, XIXMLElement* p) { return putFieldsInXML(w, p, "Widget::putInXML", kFindOrCreate); },
         "<P>\n\t" + kNewWidget + "\n\t<Gadget/>\n\t<Other/>\n</P>"},
        {"replacing every element of its names",
         [](Widget& w, XIXMLElement* p) {
             return putFieldsInXML(w, p, "Widget::putInXML", kReplaceExisting, AlternateName{Widget::kOlderName});
         },
         "<P>\n\t<Other/>\n\t" + kNewWidget + "\n</P>"},
    };
    for (const auto& c : cases) {
        ScnTest::XmlDocument document("P");
        for (const char* name : {"Widget", "Gadget", "Other"}) {
            XmlForm::addChild(document.top(), name);
        }
        Widget widget(owner());
        XIXMLElement* element = c.put(widget, document.top());
        EXPECT_EQ(ScnTest::writeElement(document.top()), c.written) << c.what;
        ASSERT_NE(element, nullptr) << c.what;
        EXPECT_EQ(ScnTest::writeElement(element), "<Widget UUID=\"" + std::string(32, '0') + "\">\n\t<Size>3</Size>\n</Widget>")
            << c.what;
    }
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{});
}

TEST_F(Wrappers, ReadingOptionsFindTheElementAndTheIdentifiers)
{
    const std::string identifier = "000102030405060708090A0B0C0D0E0F";
    const std::string element = "<Widget UUID='" + identifier + "'><Size>8</Size></Widget>";
    const struct {
        const char* what;
        std::string document;
        std::function<bool(Widget&, XIXMLElement*)> init;
        bool read;
        int32_t size;
        bool identifierKept;
        std::vector<std::string> warnings;
    } cases[] = {
        {"the element itself", element,
         [](Widget& w, XIXMLElement* e) { return initFieldsWithXML(w, e, "Widget::initWithXML"); }, true, 8, false,
         {}},
        {"the element itself, identifiers kept", element,
         [](Widget& w, XIXMLElement* e) { return initFieldsWithXML(w, e, "Widget::initWithXML", kKeepIdentifiers); },
         true, 8, true, {}},
        {"named or child: itself", element,
         [](Widget& w, XIXMLElement* e) { return initFieldsWithXML(w, e, "Widget::initWithXML", kNamedOrChild); },
         true, 8, false, {}},
        {"named or child: its child", "<Holder>" + element + "</Holder>",
         [](Widget& w, XIXMLElement* e) { return initFieldsWithXML(w, e, "Widget::initWithXML", kNamedOrChild); },
         true, 8, false, {}},
        {"named or child: neither", "<Holder><Size>8</Size></Holder>",
         [](Widget& w, XIXMLElement* e) { return initFieldsWithXML(w, e, "Widget::initWithXML", kNamedOrChild); },
         false, 3, false, {"Exception in Widget::initWithXML : " + ScnTest::nullPointerText()}},
        {"no element", element,
         [](Widget& w, XIXMLElement*) { return initFieldsWithXML(w, nullptr, "Widget::initWithXML"); }, false, 3,
         false, {"Exception in Widget::initWithXML : " + ScnTest::nullPointerText()}},
    };
    for (const auto& c : cases) {
        mFeedback.warnings.clear();
        std::unique_ptr<NuvoraXML::XCXMLTree> parsed = ScnTest::parseDocument(c.document);
        Widget widget(owner());
        EXPECT_EQ(c.init(widget, ScnTest::documentElement(*parsed)), c.read) << c.what;
        EXPECT_EQ(widget.size, c.size) << c.what;
        EXPECT_EQ(widget.uuid.bytes[15] == 0x0F, c.identifierKept) << c.what;
        EXPECT_EQ(mFeedback.warnings, c.warnings) << c.what;
    }
}

}  // namespace
