// Shader nodes and tables: tree operations, kind views, reports, the XML form and bad input, and
// trees deep enough to exhaust any recursion.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Diagnostics.h"
#include "shaders/Nodes.h"
#include "shaders/Property.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

class NodeTest : public ScnTest::SceneFixture {
protected:
    CProperty* material() { return static_cast<CProperty*>(mScene->getMaterials()->newScnObject(kScnLastIndex)); }
    std::vector<std::string> reports() { return mFeedback.warnings; }
};

// Every kind with every parameter away from its default, in one tree: Chess (Mapping (Turbulence
// (Fresnel (Glazing (Custom (Leaf, Leaf))))), Leaf).
CTCENode* everyKindTree(CProperty& owner)
{
    std::vector<CTCENode*> nodes;
    for (int32_t kind : {eChessNode, eMappingNode, eTurbulenceNode, eFresnelNode, eGlazingNode, eCustomNode}) {
        nodes.push_back(CTCENode::of(owner.createNode(kind)));
    }
    ScnTest::varyFields(static_cast<CChessNode&>(*nodes[0]));
    ScnTest::varyFields(static_cast<CMappingNode&>(*nodes[1]));
    ScnTest::varyFields(static_cast<CTurbulenceNode&>(*nodes[2]));
    ScnTest::varyFields(static_cast<CFresnelNode&>(*nodes[3]));
    ScnTest::varyFields(static_cast<CGlazingNode&>(*nodes[4]));
    ICustomNode* custom = nodes[5]->node()->AsCustom();
    custom->setClass("Kestrovin.Water <&>");
    XmlForm::addChild(custom->getData(), "Wave")->AddData("0.5");
    for (size_t i = 0; i + 1 < nodes.size(); ++i) {
        nodes[i]->node()->AddChild(nodes[i + 1]->node());
        nodes[i + 1]->node()->Release();
        nodes[i]->node()->SetUIValue(static_cast<int32_t>(i + 1));
    }
    for (int i = 0; i < 3; ++i) {
        CLeafNode* leaf = static_cast<CLeafNode*>(CTCENode::of(owner.createNode(eLeafNode)));
        ScnTest::varyFields(*leaf);
        (i < 2 ? nodes[5] : nodes[0])->node()->AddChild(leaf);
        leaf->Release();
    }
    return nodes[0];
}

struct TableCase {
    const char* name;
    std::vector<float> start;
    int32_t count;
    std::vector<float> expected;
};

TEST(NodeTable, SetCountKeepsTheFirstValuesAndReadsZeroOutside)
{
    const TableCase cases[] = {
        {"grow", {1.5f, -2.0f}, 4, {1.5f, -2.0f, 0.0f, 0.0f}},
        {"shrink", {1.0f, 2.0f, 3.0f}, 1, {1.0f}},
        {"negative empties", {1.0f}, -3, {}},
    };
    for (const TableCase& c : cases) {
        CTableField field;
        ITable* table = field.table();
        table->SetCount(static_cast<int32_t>(c.start.size()));
        for (size_t i = 0; i < c.start.size(); ++i) {
            table->SetValue(static_cast<int32_t>(i), c.start[i]);
        }
        table->SetCount(c.count);
        std::vector<float> values;
        for (int32_t i = 0; i < table->GetCount(); ++i) {
            values.push_back(table->GetValue(i));
        }
        EXPECT_EQ(values, c.expected) << c.name;
        table->SetValue(7, 9.0f);
        table->SetValue(-1, 9.0f);
        EXPECT_EQ(table->GetValue(7), 0.0f) << c.name;
        EXPECT_EQ(table->GetValue(-1), 0.0f) << c.name;
        EXPECT_EQ(table->GetCount(), static_cast<int32_t>(c.expected.size())) << c.name;
    }
    CTableField original;
    original.table()->SetCount(2);
    original.table()->SetValue(1, 4.25f);
    CNodeTable copy(*original.table());
    EXPECT_EQ(copy.values(), original.table()->values());
}

TEST_F(NodeTest, SetChildAppendsReplacesOrIgnoresByIndex)
{
    CProperty* owner = material();
    ITCENode* parent = owner->createNode(eMappingNode);
    ITCENode* first = owner->createNode(eLeafNode);
    ITCENode* second = owner->createNode(eLeafNode);
    parent->SetChild(1, first);
    EXPECT_EQ(parent->GetChildCount(), 0) << "an index beyond the count";
    parent->SetChild(0, first);
    EXPECT_EQ(parent->GetChild(0), first);
    EXPECT_EQ(first->GetParent(), parent);
    first->AddRef();
    EXPECT_EQ(first->Release(), 2) << "the parent's reference and the creator's";
    parent->SetChild(0, second);
    EXPECT_EQ(parent->GetChild(0), second);
    EXPECT_EQ(first->GetParent(), nullptr) << "a replaced child has no parent any more";
    EXPECT_EQ(first->Release(), 0);
    parent->RemoveChild(3);
    EXPECT_EQ(parent->GetChildCount(), 1);
    EXPECT_EQ(parent->GetChild(-1), nullptr);
    parent->RemoveChild(0);
    EXPECT_EQ(parent->GetChildCount(), 0);
    EXPECT_EQ(second->Release(), 0);
    EXPECT_EQ(parent->Release(), 0);
    EXPECT_EQ(reports(), std::vector<std::string>{});
}

TEST_F(NodeTest, ANodeCannotBecomeItsOwnDescendant)
{
    CProperty* owner = material();
    ITCENode* top = owner->createNode(eFresnelNode);
    ITCENode* middle = owner->createNode(eGlazingNode);
    ITCENode* bottom = owner->createNode(eTurbulenceNode);
    top->AddChild(middle);
    middle->AddChild(bottom);
    bottom->AddChild(top);
    middle->AddChild(middle);
    EXPECT_EQ(bottom->GetChildCount(), 0);
    EXPECT_EQ(middle->GetChildCount(), 1);
    EXPECT_EQ(reports(), (std::vector<std::string>{Msg::kCyclicNodeTree, Msg::kCyclicNodeTree}));
    for (ITCENode* node : {bottom, middle, top}) {
        node->Release();
    }
}

TEST_F(NodeTest, EachKindAnswersOnlyItsOwnView)
{
    CProperty* owner = material();
    for (int32_t kind = eChessNode; kind <= eCustomNode; ++kind) {
        ITCENode* node = owner->createNode(kind);
        ASSERT_NE(node, nullptr) << kind;
        EXPECT_EQ(node->GetKind(), kind);
        const void* views[] = {node->AsChess(),   node->AsMapping(), node->AsTurbulence(), node->AsLeaf(),
                               node->AsFresnel(), node->AsGlazing(), node->AsCustom()};
        for (int32_t view = eChessNode; view <= eCustomNode; ++view) {
            EXPECT_EQ(views[view - 1] != nullptr, view == kind) << kind << " as " << view;
        }
        EXPECT_EQ(node->AsUnused0(), nullptr);
        EXPECT_EQ(node->AsUnused8(), nullptr);
        EXPECT_EQ(node->AsUnused11(), nullptr);
        EXPECT_EQ(node->Release(), 0);
    }
    EXPECT_EQ(owner->GetRoot()->GetKind(), eRootNode);
    EXPECT_EQ(owner->GetRoot()->AsLeaf(), nullptr);
}

// A call on a node of a material of the scene and the report it must give.
struct ReportCase {
    const char* name;
    std::function<void(CProperty&)> call;
    std::vector<std::string> reports;
};

class NodeReports : public ScnTest::SceneFixture, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(NodeReports, GoToTheFeedbackOfTheMaterialsScene)
{
    CProperty* owner = static_cast<CProperty*>(mScene->getMaterials()->newScnObject(kScnLastIndex));
    GetParam().call(*owner);
    EXPECT_EQ(mFeedback.warnings, GetParam().reports);
}

IMappingNode* mappingOf(CProperty& owner)
{
    owner.setTextureURL("file:///wall.tif");
    return owner.findMapping();
}

CScnUUID filled(uint8_t value)
{
    CScnUUID uuid;
    for (uint8_t& byte : uuid.bytes) {
        byte = value;
    }
    return uuid;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NodeReports,
    ::testing::Values(
        ReportCase{"GetUrlBadType", [](CProperty& p) { EXPECT_STREQ(mappingOf(p)->getURL(0), ""); },
                   {Msg::kGetUrlBadType}},
        ReportCase{"SetUrlBadType", [](CProperty& p) { mappingOf(p)->setURL(11, "x"); }, {Msg::kSetUrlBadType}},
        ReportCase{"MapLinkedBadIndex", [](CProperty& p) { EXPECT_EQ(mappingOf(p)->getMapLinked(0), nullptr); },
                   {Msg::kMapLinkedBadIndex}},
        ReportCase{"LinkNullUuid", [](CProperty& p) { EXPECT_FALSE(mappingOf(p)->addLinkedMap(&kNullUuid)); },
                   {Msg::kLinkNullUuid}},
        ReportCase{"LinkTwice",
                   [](CProperty& p) {
                       CScnUUID uuid = filled(7);
                       EXPECT_TRUE(mappingOf(p)->addLinkedMap(&uuid));
                       EXPECT_FALSE(p.findMapping()->addLinkedMap(&uuid));
                       EXPECT_EQ(p.findMapping()->getMapLinkedCount(), 1);
                   },
                   {Msg::kMapAlreadyLinked}},
        ReportCase{"UnlinkUnknown",
                   [](CProperty& p) {
                       CScnUUID uuid = filled(7);
                       EXPECT_FALSE(mappingOf(p)->removeLinkedMap(&uuid));
                   },
                   {Msg::kMapNotLinked}},
        ReportCase{"FresnelAbove",
                   [](CProperty& p) {
                       ITCENode* node = p.createNode(eFresnelNode);
                       node->AsFresnel()->setMinReflection(1.5);
                       EXPECT_EQ(node->AsFresnel()->getMinReflection(), 1.0);
                       node->Release();
                   },
                   {Msg::kMinReflectionHigh}},
        ReportCase{"FresnelBelowInTree",
                   [](CProperty& p) {
                       ITCENode* node = p.createNode(eFresnelNode);
                       p.GetRoot()->AddChild(node);
                       node->Release();
                       node->AsFresnel()->setMinReflection(-0.5);
                       EXPECT_EQ(node->AsFresnel()->getMinReflection(), 0.0);
                   },
                   {Msg::kMinReflectionLow}},
        ReportCase{"CustomLostClass",
                   [](CProperty& p) {
                       ITCENode* node = p.createNode(eCustomNode);
                       EXPECT_STREQ(node->AsCustom()->getClass(), "Unknown");
                       XIXMLElement* data = node->AsCustom()->getData();
                       data->FindAttribute(data->GetKey("Class"))->Delete();
                       EXPECT_STREQ(node->AsCustom()->getClass(), "");
                       node->AsCustom()->setClass("Water");
                       node->Release();
                   },
                   {Msg::kGetClassIntegrity, Msg::kSetClassIntegrity}},
        ReportCase{"CustomWrongElement",
                   [](CProperty& p) {
                       ITCENode* node = p.createNode(eCustomNode);
                       EXPECT_FALSE(node->AsCustom()->initWithXML(node->AsCustom()->getData()->AddElement(
                           node->AsCustom()->getData()->GetKey("Other.Data"))));
                       node->Release();
                   },
                   {Msg::kCustomBadParameter}},
        ReportCase{"CreateRoot", [](CProperty& p) { EXPECT_EQ(p.createNode(eRootNode), nullptr); },
                   {Msg::kCreateRootNode}},
        ReportCase{"CreateUnknown",
                   [](CProperty& p) {
                       EXPECT_EQ(p.createNode(8), nullptr);
                       EXPECT_EQ(p.createNode(-1), nullptr);
                   },
                   {Msg::kCreateUnknownNode, Msg::kCreateUnknownNode}}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.name); });

TEST_F(NodeTest, AMappingWithoutLocationsStillWritesItsMaps)
{
    CProperty* owner = material();
    ITCENode* node = owner->createNode(eMappingNode);
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = NodeTrees::write(*CTCENode::of(node), scratch.parent(), "Node");
    EXPECT_EQ(ScnTest::writeElement(XmlForm::findChild(element, "Maps")), "<Maps/>");
    node->AsMapping()->setURL(kScnMapReflection, "file:///chrome.tif");
    element = NodeTrees::write(*CTCENode::of(node), scratch.parent(), "Node");
    EXPECT_EQ(ScnTest::writeElement(XmlForm::findChild(element, "Maps")),
              "<Maps>\n\t<URL Type=\"Reflection\">file:///chrome.tif</URL>\n</Maps>");
    node->Release();
}

TEST_F(NodeTest, ANewLeafIsWrittenInDocumentOrder)
{
    ITCENode* node = material()->createNode(eLeafNode);
    CScnUUID uuid = filled(0xAB);
    node->SetUUID(&uuid);
    node->SetUIValue(-4);
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = NodeTrees::write(*CTCENode::of(node), scratch.parent(), "Node");
    EXPECT_EQ(ScnTest::writeElement(element),
              "<Node\n\t Id=\"ABABABABABABABABABABABABABABABAB\"\n\t Type=\"Leaf\">\n"
              "\t<UI.Value>-4</UI.Value>\n"
              "\t<Diffuse\n\t\t R=\"100\"\n\t\t G=\"100\"\n\t\t B=\"100\"/>\n"
              "\t<Transparent\n\t\t R=\"0\"\n\t\t G=\"0\"\n\t\t B=\"0\"/>\n"
              "\t<Specular\n\t\t R=\"0\"\n\t\t G=\"0\"\n\t\t B=\"0\"/>\n"
              "\t<Reflection\n\t\t R=\"0\"\n\t\t G=\"0\"\n\t\t B=\"0\"/>\n"
              "\t<Neon.Color\n\t\t R=\"0\"\n\t\t G=\"0\"\n\t\t B=\"0\"/>\n"
              "\t<Neon.Value>0.000000</Neon.Value>\n"
              "\t<Refraction>0.000000</Refraction>\n"
              "\t<Glossy>6.000000</Glossy>\n"
              "\t<Emitting.Color\n\t\t R=\"0\"\n\t\t G=\"0\"\n\t\t B=\"0\"/>\n"
              "\t<Emitting.Power>0.000000</Emitting.Power>\n"
              "\t<Reflection.Limit>0.000000</Reflection.Limit>\n"
              "</Node>");
    node->Release();
}

TEST_F(NodeTest, EveryKindRoundTripsWithItsIdentifiers)
{
    CProperty* source = material();
    CTCENode* tree = everyKindTree(*source);
    source->setTop(tree);
    CProperty* target = material();
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = source->putInXML(scratch.parent());
    ASSERT_NE(element, nullptr);
    std::string bytes = ScnTest::writeElement(element);
    std::unique_ptr<NuvoraXML::XCXMLTree> parsed = ScnTest::parseDocument(bytes);
    ASSERT_TRUE(target->initWithXML(ScnTest::firstElement(*parsed)));
    EXPECT_EQ(dumpFields(*target), dumpFields(*source)) << bytes;
    EXPECT_NE(dumpFields(*source).find(" Custom "), std::string::npos);
    EXPECT_EQ(reports(), std::vector<std::string>{});
}

TEST_F(NodeTest, TheMisspelledReflectionLabelIsRead)
{
    std::unique_ptr<NuvoraXML::XCXMLTree> parsed = ScnTest::parseDocument(
        "<Property><Name en=\"m\"/><Smooth>1</Smooth><Scale>1</Scale><URL/>"
        "<Node Type=\"Mapping\"><Maps><URL Type=\"Refletion\">file:///old.tif</URL></Maps></Node></Property>");
    CProperty* owner = material();
    // The mapping's other parameters are missing: the read stops there, after the maps.
    std::string expected = std::string("Exception in CScnProperty::initWithXML : ") + ScnTest::nullPointerText();
    EXPECT_FALSE(owner->initWithXML(ScnTest::firstElement(*parsed)));
    EXPECT_EQ(reports(), std::vector<std::string>{expected});
    CMappingNode mapping(nullptr);
    XIXMLElement* node = XmlForm::findChild(ScnTest::firstElement(*parsed), "Node");
    FieldReader reader(node, nullptr);
    EXPECT_THROW(mapping.visitFields(reader), std::runtime_error);
    EXPECT_STREQ(mapping.getURL(kScnMapReflection), "file:///old.tif");
}

// A change to the "Node" element of a written material and the whole report its read gives.
struct BadNodeCase {
    const char* name;
    ScnTest::Cut cut;
    std::string report;
};

class BadNode : public ScnTest::SceneFixture, public ::testing::WithParamInterface<BadNodeCase> {};

TEST_P(BadNode, IsReportedAndKeepsThePreviousTree)
{
    CProperty* source = static_cast<CProperty*>(mScene->getMaterials()->newScnObject(kScnLastIndex));
    source->setTop(everyKindTree(*source));
    ScnTest::XmlScratch scratch;
    std::string bytes = ScnTest::writeElement(source->putInXML(scratch.parent()));
    std::unique_ptr<NuvoraXML::XCXMLTree> parsed = ScnTest::parseDocument(bytes);
    XIXMLElement* element = ScnTest::firstElement(*parsed);
    GetParam().cut(element);
    CProperty* target = static_cast<CProperty*>(mScene->getMaterials()->newScnObject(kScnLastIndex));
    target->setTextureURL("file:///previous.tif");
    const std::string before = NodeTrees::dump(*target->top());
    EXPECT_FALSE(target->initWithXML(element));
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{"Exception in CScnProperty::initWithXML : " + GetParam().report});
    ASSERT_NE(target->top(), nullptr);
    EXPECT_EQ(NodeTrees::dump(*target->top()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadNode,
    ::testing::Values(
        BadNodeCase{"UnknownType", ScnTest::setAttributeCut("Node/Node", "Type", "Marble"),
                    "Invalid label (Marble) [Root..Custom]"},
        BadNodeCase{"RootAsChild", ScnTest::setAttributeCut("Node/Node/Node", "Type", "Root"),
                    ScnTest::assertionText(Msg::kRootNodeInTree)},
        BadNodeCase{"MissingParameter", ScnTest::removeChildCut("Node/Node/Node/Node", "Power.Factor"),
                    ScnTest::nullPointerText()},
        BadNodeCase{"MissingType", ScnTest::removeAttributeCut("Node/Node/Node", "Type"), ScnTest::nullPointerText()},
        BadNodeCase{"TableLengthDisagrees", ScnTest::setAttributeCut("Node/Table1", "Length", "5"),
                    ScnTest::assertionText(Msg::kTableLengthMismatch)},
        BadNodeCase{"MissingCustomData", ScnTest::removeChildCut("Node/Node/Node/Node/Node/Node", "Custom.Data"),
                    ScnTest::nullPointerText()},
        BadNodeCase{"CustomDataWithoutClass",
                    ScnTest::removeAttributeCut("Node/Node/Node/Node/Node/Node/Custom.Data", "Class"),
                    Msg::kCustomBadParameter},
        BadNodeCase{"BadMapType", ScnTest::setAttributeCut("Node/Node/Maps/URL", "Type", "Shine"),
                    "Invalid label (Shine) [Diffuse..Refletion]"},
        BadNodeCase{"BadIdentifier", ScnTest::setAttributeCut("Node/Node", "Id", "12"), ScnTest::plainFailureText()}),
    [](const ::testing::TestParamInfo<BadNodeCase>& info) { return std::string(info.param.name); });

// A chain of kind nodes of the given depth in the XML form.
std::string deepChain(size_t depth)
{
    const std::string open = "<Node Type=\"Fresnel\"><Min.Reflection>0.5</Min.Reflection><Power.Factor>2</Power.Factor>";
    std::string text = "<Property><Name en=\"deep\"/><Smooth>1</Smooth><Scale>1</Scale><URL/>";
    text.reserve(depth * (open.size() + 8) + 200);
    for (size_t i = 0; i < depth; ++i) {
        text += open;
    }
    text += "<Node Type=\"Leaf\"><Diffuse R=\"1\" G=\"2\" B=\"3\"/><Transparent R=\"0\" G=\"0\" B=\"0\"/>"
            "<Specular R=\"0\" G=\"0\" B=\"0\"/><Reflection R=\"0\" G=\"0\" B=\"0\"/><Neon.Color R=\"0\" G=\"0\" B=\"0\"/>"
            "<Neon.Value>0</Neon.Value><Refraction>0</Refraction><Glossy>6</Glossy>"
            "<Emitting.Color R=\"0\" G=\"0\" B=\"0\"/><Emitting.Power>0</Emitting.Power>"
            "<Reflection.Limit>0</Reflection.Limit></Node>";
    for (size_t i = 0; i < depth; ++i) {
        text += "</Node>";
    }
    return text + "</Property>";
}

TEST_F(NodeTest, AMillionNodesDeepAreReadWrittenCopiedAndFreed)
{
    const size_t depth = 1000000;
    std::unique_ptr<NuvoraXML::XCXMLTree> parsed = ScnTest::parseDocument(deepChain(depth));
    ASSERT_NE(parsed, nullptr);
    CProperty* source = material();
    ASSERT_TRUE(source->initWithXML(ScnTest::firstElement(*parsed)));
    parsed.reset();
    EXPECT_EQ(source->getDiffuseColor().blue, 3) << "the leaf at the bottom";
    CProperty* copy = material();
    copy->copyFrom(source);
    EXPECT_EQ(copy->getDiffuseColor().green, 2);
    ScnTest::XmlScratch scratch;
    EXPECT_NE(copy->putInXML(scratch.parent()), nullptr);
    mScene->getMaterials()->removeObject(0);
    copy->clearShader();
    EXPECT_EQ(copy->top(), nullptr);
    EXPECT_EQ(reports(), std::vector<std::string>{});

    // Built through the interface, downwards and upwards, a step per node.
    ITCENode* bottom = copy->GetRoot();
    for (size_t i = 0; i < depth; ++i) {
        ITCENode* node = copy->createNode(eGlazingNode);
        bottom->AddChild(node);
        node->Release();
        bottom = node;
    }
    ITCENode* top = copy->createNode(eFresnelNode);
    for (size_t i = 0; i < depth; ++i) {
        ITCENode* above = copy->createNode(eFresnelNode);
        above->AddChild(top);
        top->Release();
        top = above;
    }
    EXPECT_EQ(top->Release(), 0);
    EXPECT_EQ(reports(), std::vector<std::string>{});
}

TEST_F(NodeTest, AMaterialDestroyedWhileReferencedSendsADiagnostic)
{
    struct Sink {
        static void record(void* context, int, const char* text) { static_cast<Sink*>(context)->texts.push_back(text); }
        std::vector<std::string> texts;
    } sink;
    Nuvora::setThreadDiagnosticSink(&Sink::record, &sink);
    CProperty* owner = material();
    owner->GetRoot()->AddRef();
    owner->GetRoot()->AddRef();
    EXPECT_EQ(owner->GetRoot()->Release(), 1) << "the list owns a material: its count never destroys it";
    mScene->getMaterials()->removeObject(0);
    Nuvora::setThreadDiagnosticSink(nullptr, nullptr);
    EXPECT_EQ(sink.texts, std::vector<std::string>{Msg::kNonZeroRefCount});
}

}  // namespace
