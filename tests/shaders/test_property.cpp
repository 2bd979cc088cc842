// Materials: fields and their rules, the XML form of a new material, copyFrom, and the simple-
// material façade on empty, leaf-only, mapping-only and mixed trees.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/Messages.h"
#include "model/Scene.h"
#include "shaders/Property.h"
#include "support/FieldVary.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

class PropertyTest : public ScnTest::SceneFixture {
protected:
    CProperty* material() { return static_cast<CProperty*>(mScene->getMaterials()->newScnObject(kScnLastIndex)); }
};

std::string uuidText(const CScnUUID& uuid)
{
    char digits[kUuidTextLength + 1];
    uuidToText(uuid, digits);
    return digits;
}

// The kinds along the chain of first children, from the root's child 0 down.
std::vector<int32_t> chain(CProperty& property)
{
    std::vector<int32_t> kinds;
    for (ITCENode* node = property.GetRoot()->GetChild(0); node != nullptr; node = node->GetChild(0)) {
        kinds.push_back(node->GetKind());
    }
    return kinds;
}

TEST(Property, ANewMaterialIsWrittenInDocumentOrder)
{
    CProperty property(nullptr);
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = property.putInXML(scratch.parent());
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(ScnTest::writeElement(element),
              "<Property\n\t Id=\"" + uuidText(*property.getUUID()) + "\"\n\t Overload.Prop.Index=\"" +
                  uuidText(*property.getOverloadPropertyIndex()) +
                  "\"\n\t Overload.Id=\"00000000000000000000000000000000\">\n"
                  "\t<Name en=\"Material #0\"/>\n"
                  "\t<Visible/>\n"
                  "\t<Cast.Shadow/>\n"
                  "\t<Receive.Shadow/>\n"
                  "\t<Smooth>1.000000</Smooth>\n"
                  "\t<Scale>1.000000</Scale>\n"
                  "\t<URL/>\n"
                  "\t<Shader.Name/>\n"
                  "\t<UI.Value>0</UI.Value>\n"
                  "</Property>");
    EXPECT_NE(uuidText(*property.getUUID()), uuidText(kNullUuid));
}

TEST(Property, SettersKeepSmoothAndScaleInRange)
{
    const struct {
        const char* name;
        double in;
        double smooth;
        double scale;
    } cases[] = {
        {"zero", 0.0, 0.01, 0.0},
        {"negative", -2.0, 0.01, 0.0},
        {"inside", 0.5, 0.5, 0.5},
        {"above", 3.0, 1.0, 3.0},
    };
    for (const auto& c : cases) {
        CProperty property(nullptr);
        property.setSmooth(c.in);
        property.setScale(c.in);
        EXPECT_EQ(property.getSmooth(), c.smooth) << c.name;
        EXPECT_EQ(property.getScale(), c.scale) << c.name;
    }
}

TEST_F(PropertyTest, FieldsRoundTripFreeAndInAScene)
{
    CProperty free(nullptr);
    CProperty freeTarget(nullptr);
    ScnTest::expectRoundTrip(free, freeTarget, "free CProperty");
    ScnTest::expectRoundTrip(*material(), *material(), "CProperty in a scene");
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{});
}

TEST_F(PropertyTest, CopyFromCopiesTheTreeWithItsIdentifiersAndKeepsTheOwnIdentity)
{
    CProperty* source = material();
    ScnTest::varyFields(*source);
    source->setTextureURL("file:///C|/brick.tif");
    source->GetShaderName()->setText(languageCode("fr"), "Brique");
    CProperty* target = material();
    const CScnUUID ownId = *target->getUUID();
    target->setUIValue(42);
    target->copyFrom(source);
    EXPECT_EQ(*target->getUUID(), ownId);
    EXPECT_EQ(target->getUIValue(), 42);
    target->setUUID(source->getUUID());
    target->setUIValue(source->getUIValue());
    EXPECT_EQ(dumpFields(*target), dumpFields(*source)) << "every field but the identifier and the UI value";
    EXPECT_EQ(NodeTrees::dump(*target->top()), NodeTrees::dump(*source->top()));
    EXPECT_NE(target->top(), source->top());
    target->setTextureURL("file:///other.tif");
    EXPECT_STREQ(source->getTextureURL(), "file:///C|/brick.tif") << "the trees are separate";
    target->copyFrom(nullptr);
    EXPECT_STREQ(target->getTextureURL(), "file:///other.tif");
    CProperty empty(nullptr);
    target->copyFrom(&empty);
    EXPECT_EQ(target->top(), nullptr) << "an empty tree is copied as empty";
}

// A tree made for a façade case.
struct FacadeCase {
    const char* name;
    std::function<void(CProperty&)> build;
    std::vector<int32_t> chainBefore;
    // After setTextureURL then setDiffuseColor.
    std::vector<int32_t> chainAfter;
};

class Facade : public ScnTest::SceneFixture, public ::testing::WithParamInterface<FacadeCase> {};

TEST_P(Facade, FindsOrCreatesTheLeafAndTheMappingByTheChainRules)
{
    CProperty* property = static_cast<CProperty*>(mScene->getMaterials()->newScnObject(kScnLastIndex));
    GetParam().build(*property);
    EXPECT_EQ(chain(*property), GetParam().chainBefore);
    property->setTextureURL("file:///C|/wall.tif");
    CScnColor red = {0, 200, 10, 10};
    property->setDiffuseColor(&red);
    EXPECT_EQ(chain(*property), GetParam().chainAfter);
    EXPECT_STREQ(property->getTextureURL(), "file:///C|/wall.tif");
    EXPECT_EQ(property->getDiffuseColor().red, 200);
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{});
}

void addNode(CProperty& property, ITCENode* parent, int32_t kind, std::function<void(ITCENode*)> set = nullptr)
{
    ITCENode* node = property.createNode(kind);
    if (set) {
        set(node);
    }
    parent->AddChild(node);
    node->Release();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Facade,
    ::testing::Values(
        FacadeCase{"Empty", [](CProperty&) {}, {}, {eMappingNode, eLeafNode}},
        FacadeCase{"LeafOnly", [](CProperty& p) { addNode(p, p.GetRoot(), eLeafNode); }, {eLeafNode},
                   {eMappingNode, eLeafNode}},
        FacadeCase{"MappingOnly", [](CProperty& p) { addNode(p, p.GetRoot(), eMappingNode); }, {eMappingNode},
                   {eMappingNode, eLeafNode}},
        FacadeCase{"ShaderMappingIsNotOwn",
                   [](CProperty& p) {
                       addNode(p, p.GetRoot(), eMappingNode, [](ITCENode* n) { n->AsMapping()->setShader(true); });
                   },
                   {eMappingNode}, {eMappingNode, eMappingNode, eLeafNode}},
        FacadeCase{"Mixed",
                   [](CProperty& p) {
                       addNode(p, p.GetRoot(), eFresnelNode);
                       addNode(p, p.GetRoot()->GetChild(0), eGlazingNode);
                       addNode(p, p.GetRoot()->GetChild(0)->GetChild(0), eLeafNode);
                   },
                   {eFresnelNode, eGlazingNode, eLeafNode}, {eMappingNode, eFresnelNode, eGlazingNode, eLeafNode}}),
    [](const ::testing::TestParamInfo<FacadeCase>& info) { return std::string(info.param.name); });

TEST(FacadeDefaults, AMaterialWithoutNodesAnswersTheDefaults)
{
    CProperty property(nullptr);
    EXPECT_EQ(property.getDiffuseColor().red, 100);
    EXPECT_EQ(property.getDiffuseColor().blue, 100);
    EXPECT_EQ(property.getSpecularColor().green, 0);
    EXPECT_EQ(property.getGlossy(), 6.0);
    EXPECT_EQ(property.getRefraction(), 0.0);
    EXPECT_EQ(property.getTransparency(), 0.0);
    EXPECT_STREQ(property.getTextureURL(), "");
    EXPECT_EQ(property.getProjection(), kScnFacadeNoProjection);
    bool x = false;
    CScnVector origin{};
    EXPECT_FALSE(property.getRepeat(&x, &x));
    EXPECT_FALSE(property.getMappingFrame(&origin, nullptr, nullptr));
    EXPECT_FALSE(property.hasLeaf());
    EXPECT_FALSE(property.hasMapping());
    EXPECT_EQ(property.top(), nullptr) << "getters make no node";
}

TEST(FacadeProjection, NumbersMapToTheMappingProjectionAndPlanarFlag)
{
    const struct {
        int32_t facade;
        int32_t projection;
        bool planar;
    } cases[] = {
        {kScnFacadeOrthogonal, kScnProjectionOrthogonal, false}, {kScnFacadePlanar, kScnProjectionOrthogonal, true},
        {kScnFacadeVertical, kScnProjectionVertical, true},       {kScnFacadeSpherical, kScnProjectionSpherical, true},
        {kScnFacadeYCylindrical, kScnProjectionYCylindrical, true},
        {kScnFacadeXCylindrical, kScnProjectionXCylindrical, true},
        {kScnFacadePlanetary, kScnProjectionPlanetary, true},     {kScnFacadeMappingUV, kScnProjectionMappingUV, true},
    };
    CProperty property(nullptr);
    property.setProjection(kScnFacadePlanar);
    for (const auto& c : cases) {
        property.setProjection(c.facade);
        EXPECT_EQ(property.findMapping()->getProjection(), c.projection) << c.facade;
        EXPECT_EQ(property.findMapping()->isPlanar(), c.planar) << c.facade;
        EXPECT_EQ(property.getProjection(), c.facade);
    }
    property.setProjection(8);
    property.setProjection(-1);
    EXPECT_EQ(property.getProjection(), kScnFacadeMappingUV) << "unknown numbers change nothing";
    property.findMapping()->setProjection(17);
    EXPECT_EQ(property.getProjection(), kScnFacadeNoProjection);
}

TEST(FacadeFrame, TheNormalFollowsTheAxesUnlessTheyAreParallel)
{
    CProperty property(nullptr);
    const CScnVector origin = {1, 2, 3};
    const CScnVector x = {2, 0, 0};
    const CScnVector y = {0, 0, 3};
    property.setMappingFrame(&origin, &x, &y);
    CScnVector normal{};
    ASSERT_TRUE(property.getMappingNormal(&normal));
    EXPECT_EQ(normal.x, 0.0);
    EXPECT_EQ(normal.y, -1.0);
    EXPECT_EQ(normal.z, 0.0);
    const CScnVector parallel = {4, 0, 0};
    property.setMappingFrame(nullptr, &x, &parallel);
    ASSERT_TRUE(property.getMappingNormal(&normal));
    EXPECT_EQ(normal.y, -1.0) << "parallel axes keep the previous normal";
    // Just above 2^-23 the product still gives the normal; at it, not.
    const CScnVector tiny = {0, 0.000345267, 0};
    const CScnVector unitX = {1, 0, 0};
    property.setMappingFrame(nullptr, &unitX, &tiny);
    ASSERT_TRUE(property.getMappingNormal(&normal));
    EXPECT_EQ(normal.z, 1.0);
    CScnVector readOrigin{};
    CScnVector readX{};
    CScnVector readY{};
    ASSERT_TRUE(property.getMappingFrame(&readOrigin, &readX, &readY));
    EXPECT_EQ(readOrigin.z, 3.0);
    EXPECT_EQ(readX.x, 1.0);
    EXPECT_EQ(readY.y, 0.000345267);
}

TEST(FacadeValues, PairsReadBackWhatTheySet)
{
    CProperty property(nullptr);
    property.setRepeat(false, true);
    property.setMappingSize(250.0, 125.5);
    property.setMappingAngle(30.0);
    CScnColor blue = {0, 0, 0, 255};
    property.setMappingReflectionColor(&blue);
    property.setGlossy(12.5);
    property.setNeonValue(0.25);
    property.setTransparency(0.5);
    bool x = true;
    bool y = false;
    double width = 0;
    double height = 0;
    double angle = 0;
    CScnColor color{};
    EXPECT_TRUE(property.getRepeat(&x, &y));
    EXPECT_FALSE(x);
    EXPECT_TRUE(y);
    EXPECT_TRUE(property.getMappingSize(&width, &height));
    EXPECT_EQ(width, 250.0);
    EXPECT_EQ(height, 125.5);
    EXPECT_TRUE(property.getMappingAngle(&angle));
    EXPECT_EQ(angle, 30.0);
    EXPECT_TRUE(property.getMappingReflectionColor(&color));
    EXPECT_EQ(color.blue, 255);
    EXPECT_EQ(property.getGlossy(), 12.5);
    EXPECT_EQ(property.getNeonValue(), 0.25);
    EXPECT_EQ(property.getTransparentColor().red, 128);
    EXPECT_NEAR(property.getTransparency(), 128.0 / 255.0, 1e-12);
    EXPECT_EQ(chain(property), (std::vector<int32_t>{eMappingNode, eLeafNode}));
}

}  // namespace
