// Legacy scene data: token files that begin with their options, their geometry file opened beside
// them, and the token blocks of documents older than 2.0.0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/LegacyScene.h"
#include "model/Fields.h"
#include "support/Failures.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::TestScene;

struct LegacyCase {
    const char* name;
    std::string bytes;
    int32_t result;
    std::vector<std::string> warnings;
    std::vector<std::string> opened;
    int released;
};

TEST(LegacyScene, OptionsAndGeometryFiles)
{
    const std::string unsupported = "Legacy geometry files can't be read by this library version";
    const LegacyCase cases[] = {
        {"options without geometry", "opt db version 3 5\n-ambient 10 20 30\n-bg_url \"http://a b\"\n-render_size 640 480\n",
         0, {}, {}, 0},
        {"tolven head", "-eye 1.5 -2 3\n-atm_on Y\n", 0, {}, {}, 0},
        {"geometry beside", "opt db version 4 0\n-dbfile \"C:\\Scenes\\Old\\model.db\"\n-eye 0 0 1\n", 1,
         {unsupported}, {"model.db"}, 1},
        {"unquoted path to the end of the line", "-dbfile /home/me/old scenes/house.db  \n-eye 1 2 3\n", 1,
         {unsupported}, {"house.db"}, 1},
        {"long name is cut", "-dbfile \"" + std::string(300, 'n') + "\"\n", 1, {"Can't open secondary stream!"},
         {std::string(255, 'n')}, 0},
        {"geometry missing", "-dbfile \"gone.db\"\n", 1, {"Can't open secondary stream!"}, {"gone.db"}, 0},
        {"path cut by the end", "opt db version 3 5\n-dbfile", 1, {"End of file unexpected"}, {}, 0},
        {"unknown option word", "opt db version 3 5\n-ambient 1 2 3\n-sparkle 2\n", 1, {"Unrecognize token"}, {}, 0},
        {"value before any option", "opt db version 3 5\n12 -ambient 1\n", 1, {"Error in COPTIO::read()!"}, {}, 0},
        {"unrecognised head", "opt db version 3 4\n", 1, {"Not a valid scn file"}, {}, 0},
        {"other text", "scene 1\n", 1, {"Not a valid scn file"}, {}, 0},
    };
    for (const LegacyCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        MemoryStream stream(c.bytes);
        stream.siblings["model.db"] = "3 0 0 0 1 0 0 0 1 0";
        stream.siblings["house.db"] = "";
        EXPECT_EQ(scene->read(&stream), c.result);
        EXPECT_EQ(scene.feedback.warnings, c.warnings);
        EXPECT_EQ(stream.openedNames, c.opened);
        EXPECT_EQ(stream.releasedSecondaries, c.released);
        EXPECT_FALSE(scene.core().isLegacyFile());
    }
}

TEST(LegacyScene, FileNamesOfLegacyPaths)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\a\\b.db", "b.db"}, {"/a/b/c.db", "c.db"}, {"a\\b/c.db", "c.db"}, {"plain.db", "plain.db"}, {"dir/", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(legacyFileName(c.first), c.second) << c.first;
    }
    EXPECT_TRUE(isLegacyOptionWord("-vrobj_compression"));
    EXPECT_FALSE(isLegacyOptionWord("-vrobj"));
}

TEST(LegacyScene, TokenBlocksOfOldDocuments)
{
    const std::string old = "library=\"1.5\" file=\"4.0\"";
    struct Case {
        const char* name;
        std::string body;
        int32_t result;
        std::vector<std::string> warnings;
    };
    const std::string block = "' data block";
    const Case cases[] = {
        {"options", "<Options><![CDATA[version 4 0\n-dbfile \"x.db\"\n-raytracing Y\n]]></Options>", 0, {}},
        {"options of a wrong version", "<Options><![CDATA[version 2 0\n]]></Options>", 1,
         {"Error \"You're reading the wrong format!\" while parsing 'Options" + block, ScnTest::plainFailureText()}},
        {"lights", "<Lights><![CDATA[0\n]]></Lights>", 0, {}},
        {"lights cut short", "<Lights><![CDATA[1\n0 \"Lamp\"\nY 1 2 3\n]]></Lights>", 1,
         {"Error \"This is not a number\" while parsing 'Lights" + block, ScnTest::plainFailureText()}},
        {"materials", "<Materials><![CDATA[0\n]]></Materials>", 1,
         {"Error \"Error in CPropertyDBIO::read()!\" while parsing 'Materials" + block,
          ScnTest::plainFailureText()}},
        {"no materials", "<Materials><![CDATA[# none\n]]></Materials>", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        EXPECT_EQ(scene.load(ScnTest::sceneDocument(old, "<Preview.Image><![CDATA[]]></Preview.Image>" + c.body)),
                  c.result);
        EXPECT_EQ(scene.feedback.warnings, c.warnings);
        if (c.result == 0) {
            // The block was decoded while parsing; its element is gone from the document.
            EXPECT_EQ(XmlForm::findChild(scene.core().getFileNode(), "Options"), nullptr);
            EXPECT_EQ(XmlForm::findChild(scene.core().getFileNode(), "Lights"), nullptr);
            EXPECT_EQ(scene.core().getLegacyPath(), std::string(c.name) == "options" ? "x.db" : "");
        }
    }
}

}  // namespace
