// Material records of older scenes and the token form of shader trees, read from small
// documents written by hand.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "document/LegacyMaterials.h"
#include "document/Sections.h"
#include "document/TokenReader.h"
#include "model/Scene.h"
#include "shaders/NodeTokenIO.h"
#include "shaders/Nodes.h"
#include "shaders/Property.h"
#include "support/TestSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::TestScene;
using Strings = std::vector<std::string>;

// A leaf in token form: kind, identifier, UI value, its fields, no child.
const std::string kLeaf = "4 0 0 200 100 50 0 0 0 0 0 0 0 0 0 0 0 0 0 0 12 0 0 0 0 0 0\n";
// A Fresnel node with its identifier, UI value 7, minimum reflection 0.25, power 3, and the leaf.
const std::string kFresnel = "5 00112233445566778899AABBCCDDEEFF 7 0.25 3 1\n" + kLeaf;

std::string expectedFresnelDump()
{
    CTCENode* fresnel = NodeTrees::make(eFresnelNode, nullptr);
    fresnel->node()->AddRef();
    CScnUUID uuid{{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}};
    fresnel->setUUIDValue(uuid);
    fresnel->setUIValueValue(7);
    fresnel->node()->AsFresnel()->setMinReflection(0.25);
    fresnel->node()->AsFresnel()->setPowerFactor(3);
    CTCENode* leaf = NodeTrees::make(eLeafNode, nullptr);
    leaf->setUUIDValue(CScnUUID{});
    CScnColor diffuse{0, 200, 100, 50};
    leaf->node()->AsLeaf()->setDiffuseColor(&diffuse);
    leaf->node()->AsLeaf()->setGlossy(12);
    fresnel->addChild(leaf);
    std::string text = NodeTrees::dump(*fresnel);
    fresnel->node()->Release();
    return text;
}

std::string readTree(const std::string& text, std::string* dump)
{
    TestScene scene;
    MemoryStream stream(text);
    CTokenReader reader(&stream, &scene.core());
    try {
        CTCENode* tree = readNodeTokens(scene.core(), reader);
        *dump = NodeTrees::dump(*tree);
        tree->node()->Release();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

TEST(LegacyMaterials, NodeTreesInTokenForm)
{
    std::string dump;
    ASSERT_EQ(readTree(kFresnel, &dump), "");
    EXPECT_EQ(dump, expectedFresnelDump());

    const std::pair<std::string, const char*> failures[] = {
        {"9 0 0", "No label for the value (9) [Root..Custom]"},
        {"0 0 0", "Can't read tce (pointer is NULL)"},
        {"5 0 0 0.25 3 1\n4 0 0 1 2", "This is not a number"},
        {"5 0 0 0.25 3 -1", "Invalid table length"},
        {"5 XYZ 0 0.25 3 0", "exception"},
    };
    for (const auto& f : failures) {
        EXPECT_EQ(readTree(f.first, &dump), f.second) << f.first;
    }
}

TEST(LegacyMaterials, AMillionDeepChainReadsAndFreesWithoutRecursion)
{
    std::string chain;
    const int depth = 1000000;
    chain.reserve(static_cast<size_t>(depth) * 16);
    for (int i = 0; i < depth; ++i) {
        chain += "5 0 0 0.5 5 1\n";
    }
    chain += kLeaf;
    TestScene scene;
    MemoryStream stream(chain);
    CTokenReader reader(&stream, &scene.core());
    CTCENode* tree = readNodeTokens(scene.core(), reader);
    int count = 0;
    for (CTCENode* node = tree; node != nullptr; node = node->child(0)) {
        ++count;
    }
    EXPECT_EQ(count, depth + 1);
    tree->node()->Release();
}

TEST(LegacyMaterials, AnOldDocumentsMaterialsBlock)
{
    const std::string old = "library=\"1.5\" file=\"4.0\"";
    const std::string block =
        "<Materials><![CDATA[# materials of an old scene\n"
        "##-P 640 0.5 2\n"
        "\"Bois clair\"\n"
        "C:\\Textures\\wood 1.tif\n"
        "NoShader\n"
        "##-S 0 1 1\n"
        "skipped lines\n"
        "NoShader\n"
        "##-X 256 -1 -3\n"
        "U\"Verre \xC3\xA9t\xC3\xA9\"\n"
        "\n"
        "Glass shader\n"
        "FFEEDDCCBBAA99887766554433221100\n"
        "! !\n" +
        kFresnel + "]]></Materials>";
    const struct {
        const char* creator;
        double smooth;
    } cases[] = {{"ArchiCAD", 1.0}, {"Kestrovin", 0.5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.creator);
        TestScene scene;
        scene->getMaterials()->newScnObject(kScnLastIndex);
        ASSERT_EQ(scene.load(ScnTest::sceneDocument(old, block, c.creator)), 0)
            << (scene.feedback.warnings.empty() ? "" : scene.feedback.warnings[0]);
        ASSERT_EQ(scene.core().materials().size(), 2u);
        CProperty* wood = scene.core().materials().at(0);
        EXPECT_STREQ(wood->getName(), "Bois clair");
        EXPECT_FALSE(wood->isVisible());
        EXPECT_TRUE(wood->isCastShadow());
        EXPECT_TRUE(wood->isBillboard());
        EXPECT_EQ(wood->getSmooth(), c.smooth);
        EXPECT_EQ(wood->getScale(), 2.0);
        EXPECT_STREQ(wood->GetURL(), "file:///C|/Textures/wood%201.tif");
        EXPECT_EQ(wood->top(), nullptr);

        CProperty* glass = scene.core().materials().at(1);
        EXPECT_STREQ(glass->getName(), "Verre \xC3\xA9t\xC3\xA9");
        EXPECT_TRUE(glass->isVisible());
        EXPECT_FALSE(glass->isCastShadow());
        EXPECT_FALSE(glass->isBillboard());
        EXPECT_EQ(glass->getSmooth(), 1.0);
        EXPECT_EQ(glass->getScale(), 0.0);
        EXPECT_STREQ(glass->GetURL(), "");
        EXPECT_STREQ(glass->GetShaderName()->get(), "Glass shader");
        EXPECT_EQ(ScnTest::uuidText(*glass->GetShaderId()), "FFEEDDCCBBAA99887766554433221100");
        ASSERT_NE(glass->top(), nullptr);
        EXPECT_EQ(NodeTrees::dump(*glass->top()), expectedFresnelDump());
        EXPECT_EQ(scene.feedback.warnings, Strings{});
    }
}

TEST(LegacyMaterials, RecordsCutShortOrMalformedFail)
{
    const std::string error = "Error in CPropertyDBIO::read()!";
    const std::pair<std::string, std::string> cases[] = {
        {"##-P 0 1 1\n\"A\"\n\nGlass\n", error},
        {"##-P 0 1 1\n\"A\"\n\n! ! 9 0 0\n", error},
        {"##-P 0 1 1\n\"A\"\n\n! ! 4 0 0 1 2\n", error},
        {"##-P 0 1 1\n\"A\"\n\n##-P 0 1 1\n", error},
        {"##-Q 0 1 1\n", error},
        {"material\n", error},
        {"##-P 70000 1 1\n", error},
        {"##-X 0 1 1\n\"A\"\n\nshader\nNOTHEX\nNoShader\n", error},
        {"##-P 0 1", "This is not a number"},
        {"##-P 0 1 1\n\"A\"", "End of file unexpected"},
    };
    for (const auto& c : cases) {
        TestScene scene;
        MemoryStream stream(c.first);
        CTokenReader reader(&stream, &scene.core());
        std::string outcome;
        try {
            Sections::readLegacyMaterials(scene.core(), reader, false);
        } catch (const std::runtime_error& failure) {
            outcome = failure.what();
        }
        EXPECT_EQ(outcome, c.second) << c.first;
    }
    CPropertyRecord record;
    CTCENode* tree = nullptr;
    TestScene scene;
    try {
        CPropertyDBIO(nullptr, false).read(scene.core(), record, tree);
        ADD_FAILURE();
    } catch (const std::runtime_error& failure) {
        EXPECT_STREQ(failure.what(), "CDBIO::read() : no reader provided!");
    }
}

}  // namespace
