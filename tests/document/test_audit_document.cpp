// Audit of the document frame: the creator found by detection wherever the "Application"
// instruction sits, application names that would end their instruction, loads from the middle of
// a stream, and the geometry blocks of loaded documents that lack them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::TestScene;

const std::string kLibraryPI = "<?Scn " + ScnTest::dottedLibrary("3.0.3") + "?>";

struct CreatorCase {
    const char* name;
    std::string document;
    int verdict;
};

TEST(AuditDetection, TheFirstApplicationInstructionBeforeTheRootNamesTheCreator)
{
    const CreatorCase cases[] = {
        {"own name", kLibraryPI + "<?Application name=\"Kestrovin\"?><Scn.File/>", 3},
        {"bullet spelling is another creator", kLibraryPI + "<?Application name=\"Kes\xE2\x80\xA2trovin\"?><Scn.File/>", 7},
        {"creator before the library PI", "<?Application name=\"Other\" version=\"2\"?>" + kLibraryPI + "<Scn.File/>", 7},
        {"only the first one counts", kLibraryPI + "<?Application name=\"Kestrovin\"?><?Application name=\"Other\"?><Scn.File/>", 3},
        {"first foreign one counts", kLibraryPI + "<?Application name=\"Other\"?><?Application name=\"Kestrovin\"?><Scn.File/>", 7},
        {"text without the name prefix", kLibraryPI + "<?Application version=\"1\" name=\"Other\"?><Scn.File/>", 3},
        {"name without closing quote", kLibraryPI + "<?Application name=\"Other?><Scn.File/>", 7},
        {"instruction after the root", kLibraryPI + "<Scn.File/><?Application name=\"Other\"?>", 3},
        {"other targets skipped", kLibraryPI + "<?Applications name=\"Other\"?><?Application name=\"Model Forge\"?><Scn.File/>", 3},
    };
    for (const CreatorCase& c : cases) {
        MemoryStream stream(c.document);
        eReadability verdict = eNotScnFile;
        char buffer[32] = "";
        EXPECT_EQ(CScnMgr::checkFormat2(&stream, &verdict, nullptr, buffer, sizeof buffer), true) << c.name;
        EXPECT_EQ(static_cast<int>(verdict), c.verdict) << c.name;
        EXPECT_STREQ(buffer, "Kestrovin (5.0)") << c.name;
        EXPECT_EQ(stream.getPosition(), 0) << c.name;
    }
}

TEST(AuditDocumentSave, ApplicationNamesThatWouldEndTheInstructionStayReadable)
{
    const struct {
        const char* name;
        const char* version;
        const char* written;
    } cases[] = {
        {"Plain", "1.0", "<?Application name=\"Plain\" version=\"1.0\"?>\n"},
        {"Why?>Not", "1?>", "<?Application name=\"Why? >Not\" version=\"1? >\"?>\n"},
        {"?\?>>", "?", "<?Application name=\"?? >>\" version=\"?\"?>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        scene->setApplication(c.name, c.version);
        *scene->getPoints()->newScnObject(kScnLastIndex) = CScnVector{1, 2, 3};
        std::string document = scene.save();
        EXPECT_NE(document.find(c.written), std::string::npos) << document.substr(0, 200);
        TestScene reader;
        EXPECT_EQ(reader.load(document), 0) << ScnTest::warningsOf(reader.feedback.warnings);
        EXPECT_EQ(reader->getPoints()->getNbObjects(), 1);
    }
}

TEST(AuditDocumentLoad, ReadsFromThePositionTheStreamIsAt)
{
    TestScene source;
    *source->getPoints()->newScnObject(kScnLastIndex) = CScnVector{1, 2, 3};
    const std::string document = source.save();
    for (const std::string& before : {std::string("0123456789"), std::string("<?xml version=\"1.0\"?><Other/>")}) {
        MemoryStream stream(before + document);
        stream.setPosition(static_cast<int64_t>(before.size()));
        TestScene scene;
        EXPECT_EQ(scene->read(&stream), 0) << ScnTest::warningsOf(scene.feedback.warnings);
        ASSERT_EQ(scene->getPoints()->getNbObjects(), 1);
        EXPECT_EQ(scene->getPoints()->getScnObject(0)->z, 3.0);
    }
}

// Without definitions only the top-level blocks save the scene's geometry: a document that has
// none of them gains them, so that what the client adds after the load is saved.
TEST(AuditDocumentLoad, ADocumentWithoutGeometryBlocksGainsThemWhenItHasNoDefinitions)
{
    const struct {
        const char* name;
        std::string body;
        std::vector<std::string> front;
    } cases[] = {
        {"empty file element", "", {"Preview.Image", "Points", "Polygons", "Images", "File.Info"}},
        {"comment only", "<!--note-->", {"Preview.Image", "Points", "Polygons", "Images", "File.Info"}},
        {"polygons only", "<Images/><Polygons><![CDATA[0 ]]></Polygons><Save.Url>u</Save.Url>",
         {"Preview.Image", "Points", "Polygons", "Save.Url", "Images"}},
        {"points only", "<Points><![CDATA[0 ]]></Points><Save.Url>u</Save.Url>",
         {"Preview.Image", "Points", "Polygons", "Save.Url", "Images"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        ASSERT_EQ(scene.load(kLibraryPI + "<Scn.File>" + c.body + "</Scn.File>"), 0);
        ScnTest::fillGeometry(scene->getPoints(), scene->getPolygons(), ScnTest::sampleGeometry());
        std::string document = scene.save();
        std::vector<std::string> names = ScnTest::fileChildren(document);
        ASSERT_GE(names.size(), c.front.size());
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + c.front.size()), c.front);
        TestScene reader;
        ASSERT_EQ(reader.load(document), 0) << ScnTest::warningsOf(reader.feedback.warnings);
        EXPECT_EQ(ScnTest::describeGeometry(reader->getPoints(), reader->getPolygons()),
                  ScnTest::describeGeometry(ScnTest::sampleGeometry()));
    }
    // With a definition the geometry lives there, and no top-level block is added.
    TestScene source;
    source->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
    TestScene scene;
    ASSERT_EQ(scene.load(source.save()), 0);
    std::vector<std::string> names = ScnTest::fileChildren(scene.save());
    EXPECT_EQ(std::count(names.begin(), names.end(), "Points"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Polygons"), 0);
}

}  // namespace
