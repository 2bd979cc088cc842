// Materials in documents: whole trees through the scene document (the "Properties" section,
// grounds, object definitions) and through the shader document, with every report of
// readShader and writeShader, and the scratch properties.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/DocumentMessages.h"
#include "model/Messages.h"
#include "document/TokenMessages.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/ShaderSupport.h"
#include "support/TestSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::TestScene;

CProperty& newMaterial(TScnObjectMgr<CScnProperty>* list)
{
    return *static_cast<CProperty*>(list->newScnObject(kScnLastIndex));
}

// The reports other than those of the empty geometry blocks of a scene without geometry.
std::vector<std::string> materialReports(const std::vector<std::string>& warnings)
{
    std::vector<std::string> kept;
    for (const std::string& warning : warnings) {
        if (warning != TokenMsg::kPointsCountWrong && warning != TokenMsg::kPolygonsCountWrong) {
            kept.push_back(warning);
        }
    }
    return kept;
}

std::string dumpOf(CScnProperty* material)
{
    return dumpFields(*static_cast<CProperty*>(material));
}

TEST(MaterialsDocument, TreesOfEveryKindSaveAndLoadWhole)
{
    TestScene source;
    CProperty& wall = newMaterial(source->getMaterials());
    wall.setName("Wall <&>");
    wall.setTop(ScnTest::everyKindTree(wall));
    CProperty& plain = newMaterial(source->getMaterials());
    plain.setTextureURL("file:///C|/Textures/brick%20red.tif");
    IScnGround* ground = source->getGrounds()->newScnObject(kScnLastIndex);
    CProperty& grass = *static_cast<CProperty*>(ground->getProperty());
    grass.setTop(ScnTest::everyKindTree(grass));
    IScnInternalComponentDefinition* component = source->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
    IScnScnObjectDefinition* definition = source->getObjectDefinitions()->newScnObject(kScnLastIndex);
    definition->setUUID(component->getUUID());
    CProperty& leaves = newMaterial(definition->getMaterials());
    leaves.setTop(ScnTest::everyKindTree(leaves));
    const std::string saved = source.save();

    TestScene target;
    ASSERT_EQ(target.load(saved), 0) << ScnTest::warningsOf(target.feedback.warnings);
    ASSERT_EQ(target->getMaterials()->getNbObjects(), 2);
    EXPECT_EQ(dumpOf(target->getMaterials()->getScnObject(0)), dumpFields(wall));
    EXPECT_EQ(dumpOf(target->getMaterials()->getScnObject(1)), dumpFields(plain));
    ASSERT_EQ(target->getGrounds()->getNbObjects(), 1);
    EXPECT_EQ(dumpOf(target->getGrounds()->getScnObject(0)->getProperty()), dumpFields(grass));
    ASSERT_EQ(target->getObjectDefinitions()->getNbObjects(), 1);
    TScnObjectMgr<CScnProperty>* definitionMaterials = target->getObjectDefinitions()->getScnObject(0)->getMaterials();
    ASSERT_EQ(definitionMaterials->getNbObjects(), 1);
    EXPECT_EQ(dumpOf(definitionMaterials->getScnObject(0)), dumpFields(leaves));
    EXPECT_EQ(materialReports(target.feedback.warnings), std::vector<std::string>{});
}

TEST(MaterialsDocument, AGroundWithoutPropertyIsReported)
{
    TestScene scene;
    scene->getGrounds()->newScnObject(kScnLastIndex);
    std::string saved = scene.save();
    size_t start = saved.find("<Property", saved.find("<Ground"));
    size_t end = saved.find("</Property>", start) + std::string("</Property>").size();
    ASSERT_NE(start, std::string::npos);
    TestScene target;
    ASSERT_EQ(target.load(saved.erase(start, end - start)), 0);
    EXPECT_EQ(materialReports(target.feedback.warnings),
              std::vector<std::string>{std::string("Exception in CScnGround::initWithXML : ") + Msg::kGroundNoProperty});
}

class ShaderDocument : public ::testing::Test {
protected:
    CScnMgrEx* extended() { return mScene->getMgrEx(eCurrentExtendedVersionSCN); }
    TestScene mScene;
};

TEST_F(ShaderDocument, EveryKindRoundTripsThroughTheShaderDocument)
{
    CProperty& source = *static_cast<CProperty*>(extended()->newScratchProperty());
    source.setTop(ScnTest::everyKindTree(source));
    MemoryStream written;
    ASSERT_TRUE(extended()->writeShader(&source, &written));
    EXPECT_EQ(written.bytes().substr(0, 16), "<Nuvora.Shader>\n") << "no declaration";
    CProperty& target = *static_cast<CProperty*>(extended()->newScratchProperty());
    MemoryStream input(written.bytes());
    ASSERT_TRUE(extended()->readShader(&target, &input));
    ASSERT_NE(target.top(), nullptr);
    EXPECT_EQ(NodeTrees::dump(*target.top()), NodeTrees::dump(*source.top()));
    EXPECT_EQ(mScene.feedback.warnings, std::vector<std::string>{});
    extended()->removeScratchProperty(&target);
    extended()->removeScratchProperty(&source);
    extended()->removeScratchProperty(&source);
    EXPECT_EQ(mScene.feedback.warnings, std::vector<std::string>{}) << "an unknown property is passed over";
}

// The token form of older shader files: two marks, then the tree; the legacy flag only for the read.
TEST_F(ShaderDocument, ReadsTheTokenFormAfterItsMarks)
{
    CScnProperty* material = extended()->newScratchProperty();
    MemoryStream input("! !\n4 0 0 200 100 50 0 0 0 0 0 0 0 0 0 0 0 0 0 0 12 0 0 0 0 0 0\n");
    ASSERT_TRUE(extended()->readShader(material, &input));
    const CScnColor diffuse = material->getDiffuseColor();
    EXPECT_EQ(std::vector<int>({diffuse.red, diffuse.green, diffuse.blue}), std::vector<int>({200, 100, 50}));
    EXPECT_DOUBLE_EQ(material->getGlossy(), 12);
    EXPECT_EQ(mScene.feedback.warnings, std::vector<std::string>{});
    EXPECT_FALSE(mScene.core().isLegacyFile());
    extended()->removeScratchProperty(material);
}

// A stream given to readShader and the whole report it gives; the previous tree stays.
struct ReadCase {
    const char* name;
    bool nullStream;
    std::string bytes;
    std::string report;
};

class ShaderRead : public ShaderDocument, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ShaderRead, RefusesWithItsReportAndKeepsThePreviousTree)
{
    const ReadCase& c = GetParam();
    CScnProperty* material = extended()->newScratchProperty();
    material->setTextureURL("file:///previous.tif");
    MemoryStream stream(c.bytes);
    EXPECT_FALSE(extended()->readShader(material, c.nullStream ? nullptr : &stream));
    EXPECT_EQ(mScene.feedback.warnings, std::vector<std::string>{c.report});
    EXPECT_STREQ(material->getTextureURL(), "file:///previous.tif");
    EXPECT_FALSE(mScene.core().isLegacyFile()) << "the legacy flag is cleared after the token form";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShaderRead,
    ::testing::Values(
        ReadCase{"NullStream", true, "", ScnTest::nullPointerText(DocMsg::kShaderNullReadStream)},
        ReadCase{"NotAShader", false, "<Shader><Node Type=\"Leaf\"/></Shader>", DocMsg::kNotAShader},
        ReadCase{"NoNode", false, "<Nuvora.Shader/>", ScnTest::nullPointerText()},
        ReadCase{"UnknownType", false, "<Nuvora.Shader><Node Type=\"Stone\"/></Nuvora.Shader>",
                 "Invalid label (Stone) [Root..Custom]"},
        ReadCase{"NeitherXmlNorTokens", false, "Leaf 1 2 3", ScnTest::assertionText()},
        ReadCase{"EmptyStream", false, "", ScnTest::assertionText()}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST_F(ShaderDocument, WriteShaderReportsWhatIsMissing)
{
    CScnProperty* empty = extended()->newScratchProperty();
    CScnProperty* textured = extended()->newScratchProperty();
    textured->setTextureURL("file:///wall.tif");
    MemoryStream stream;
    EXPECT_FALSE(extended()->writeShader(nullptr, &stream));
    EXPECT_FALSE(extended()->writeShader(empty, &stream));
    EXPECT_FALSE(extended()->writeShader(textured, nullptr));
    EXPECT_EQ(mScene.feedback.warnings, (std::vector<std::string>{
                                            ScnTest::nullPointerText(DocMsg::kShaderNullProperty),
                                            ScnTest::nullPointerText(DocMsg::kShaderNullRootChild),
                                            ScnTest::nullPointerText(DocMsg::kShaderNullWriteStream),
                                        }));
    EXPECT_EQ(stream.bytes(), "");
}

TEST_F(ShaderDocument, ScratchPropertiesAreAppendedAndRemoved)
{
    CScnProperty* first = extended()->newScratchProperty();
    CScnProperty* second = extended()->newScratchProperty();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, first);
    EXPECT_EQ(mScene->getMaterials()->getNbObjects(), 0) << "scratch properties are not the scene's materials";
    extended()->removeScratchProperty(first);
    extended()->removeScratchProperty(nullptr);
    second->setName("kept");
    EXPECT_STREQ(second->getName(), "kept");
    EXPECT_EQ(mScene.feedback.warnings, std::vector<std::string>{});
}

}  // namespace
