// Saving a scene: the prolog and its version texts, the layout of the sections, what a save keeps
// of a loaded document, and every failure report with its result.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/Failures.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::TestScene;

// The top-level sections in the order a save leaves them for a new scene.
const std::vector<std::string> kLayout = {
    "Preview.Image", "Points", "Polygons", "Images", "File.Info", "InternalComponentDefinitions", "Preview",
    "Heliodons", "Ambient", "Atmosphere", "Background", "Properties", "Billboards", "Lights", "Lights.Groups",
    "Perspective.Views", "Parallel.Views", "Panoramas", "Animations", "View.Objects", "Working.Window",
    "Object.Definition", "Object.Instances", "Scenarios", "3D.Paths", "Grounds", "Layers", "Layers.Info"};

// Whether names, from first on, follow the layout order (sections of kinds that write nothing yet
// may be missing).
bool followsLayout(const std::vector<std::string>& names, size_t first)
{
    size_t at = 0;
    for (size_t i = first; i < names.size(); ++i) {
        while (at < kLayout.size() && kLayout[at] != names[i]) {
            ++at;
        }
        if (at == kLayout.size()) {
            return false;
        }
    }
    return true;
}

std::string prolog(const std::string& document)
{
    return document.substr(0, document.find("<Scn.File>"));
}

TEST(DocumentSave, NewSceneHasTheProlog)
{
    TestScene scene;
    std::string document = scene.save();
    EXPECT_EQ(prolog(document),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<?Scn library=\"3.0.3\" file=\"5.0\" min_version=\"3.0.1\" safe_version=\"3.0.1\"?>\n"
              "<?Application name=\"\" version=\"\"?>\n");
    std::vector<std::string> names = ScnTest::fileChildren(document);
    ASSERT_GE(names.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 6),
              std::vector<std::string>(kLayout.begin(), kLayout.begin() + 6));
    EXPECT_TRUE(followsLayout(names, 0));
    EXPECT_EQ(document.substr(document.size() - 12), "</Scn.File>\n");
    EXPECT_TRUE(scene.feedback.warnings.empty()) << ScnTest::warningsOf(scene.feedback.warnings);
}

TEST(DocumentSave, VersionTextsApplicationAndComments)
{
    struct Case {
        const CScnVersion* minimum;
        const char* name;
        const char* version;
        const char* expected;
    };
    const CScnVersion newer = {3, 1, 0, {}};
    const CScnVersion older = {2, 0, 12, {}};
    const Case cases[] = {
        {nullptr, "Kestrovin", "14.2",
         "<?Scn library=\"3.0.3\" file=\"5.0\" min_version=\"3.0.1\" safe_version=\"3.0.1\"?>\n"
         "<?Application name=\"Kestrovin\" version=\"14.2\"?>\n<!--first-->\n<!--second-->\n"},
        {&newer, "", nullptr,
         "<?Scn library=\"3.0.3\" file=\"5.0\" min_version=\"3.1.0\" safe_version=\"3.1.0\"?>\n"
         "<?Application name=\"\" version=\"\"?>\n<!--first-->\n<!--second-->\n"},
        {&older, "A & B", "\"1\"",
         "<?Scn library=\"3.0.3\" file=\"5.0\" min_version=\"2.0.12\" safe_version=\"2.0.12\"?>\n"
         "<?Application name=\"A & B\" version=\"\"1\"\"?>\n<!--first-->\n<!--second-->\n"},
    };
    for (const Case& c : cases) {
        TestScene scene;
        scene->setApplication(c.name, c.version);
        EXPECT_EQ(scene->setComment("first", 3), 0);
        EXPECT_EQ(scene->setComment("second", 7), 1);
        std::string text = prolog(scene.save(c.minimum));
        EXPECT_EQ(text.substr(text.find('\n') + 1), c.expected);
    }
}

TEST(DocumentSave, KeepsWhatItDoesNotWriteAndMovesTheRewrittenSectionsToTheEnd)
{
    const std::string input = ScnTest::sceneDocument(
        ScnTest::dottedLibrary("3.0.3"),
        "<Preview.Image><![CDATA[]]></Preview.Image><Images/>"
        "<Extension.Data a=\"1\"><Inner>x &amp; y</Inner><!--inner note--></Extension.Data>"
        "<Save.Url>file:///scenes/a.scn</Save.Url>"
        "<Points><![CDATA[0 ]]></Points><Polygons><![CDATA[0 ]]></Polygons>"
        "<Heliodon/><Current.Id/><Application.Data><Tool v=\"2\"/></Application.Data>");
    TestScene scene;
    ASSERT_EQ(scene.load(input), 0) << ScnTest::warningsOf(scene.feedback.warnings);
    scene.feedback.warnings.clear();
    std::string document = scene.save();
    std::vector<std::string> names = ScnTest::fileChildren(document);
    const std::vector<std::string> kept = {"Preview.Image", "Extension.Data", "Save.Url", "Points", "Polygons",
                                           "Application.Data", "Images", "File.Info"};
    ASSERT_GE(names.size(), kept.size());
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + kept.size()), kept);
    EXPECT_TRUE(followsLayout(names, kept.size() - 1));
    EXPECT_NE(document.find("<Extension.Data a=\"1\">\n\t\t<Inner>x &amp; y</Inner>\n\t\t<!--inner note-->"),
              std::string::npos);
    EXPECT_STREQ(scene->getURL(), "file:///scenes/a.scn");
    EXPECT_NE(document.find("<Tool v=\"2\"/>"), std::string::npos);

    // Saved again, the document keeps its shape.
    EXPECT_EQ(scene.save(), scene.save());
    EXPECT_TRUE(scene.feedback.warnings.empty()) << ScnTest::warningsOf(scene.feedback.warnings);
}

// A client stream whose writes fail as told.
class FailingStream : public MemoryStream {
public:
    explicit FailingStream(int mode) : mMode(mode) {}
    void write(const void* buffer, int32_t size) override
    {
        if (mMode == 1) {
            throw std::runtime_error("disk full");
        }
        if (mMode == 2) {
            throw 42;
        }
        MemoryStream::write(buffer, size);
    }

private:
    int mMode;
};

TEST(DocumentSave, FailuresAreReportedAndAnswerTwo)
{
    struct Case {
        const char* name;
        std::function<void(TestScene&)> prepare;
        int streamMode;  // 0 writes, 1 throws a standard exception, 2 throws something else
        bool nullStream;
        std::vector<std::string> warnings;
    };
    auto manyPoints = [](TestScene& scene) {
        for (int i = 0; i < 1000; ++i) {
            scene->getPoints()->newScnObject(kScnLastIndex);
        }
        scene.feedback.progressAnswer = [](size_t) { return false; };
    };
    auto nullComponent = [](TestScene& scene) {
        CScnUUID null{};
        scene->getInternalComponentDefinitions()->newScnObject(kScnLastIndex)->setUUID(&null);
    };
    const Case cases[] = {
        {"null stream", nullptr, 0, true, {"Error \"" + ScnTest::nullPointerText("CScnStream is NULL") + "\" while writting"}},
        {"stream fails", nullptr, 1, false, {"Error \"disk full\" while writting"}},
        {"stream throws", nullptr, 2, false, {"Unknownm exception while writting"}},
        {"cancelled", manyPoints, 0, false, {"Operation cancelled", "Error \"exception\" while writting"}},
        {"null component", nullComponent, 0, false,
         {ScnTest::assertionText("setCurrentInternalComponentDefinition - Null uuid"),
          "Error \"exception\" while writting"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScnTest::ScopedFakeClock clock(0, 1000);
        TestScene scene;
        if (c.prepare) {
            c.prepare(scene);
        }
        FailingStream stream(c.streamMode);
        EXPECT_EQ(scene->write(c.nullStream ? nullptr : &stream), 2);
        EXPECT_EQ(scene.feedback.warnings, c.warnings);
        EXPECT_EQ(scene.feedback.warningManagers, std::vector<CScnMgr*>(c.warnings.size(), scene.manager));
    }
}

// A feedback that throws from every report: nothing may leave the library.
class ThrowingFeedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char*) override { throw std::runtime_error("feedback"); }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
};

TEST(DocumentSave, AFeedbackThatThrowsCannotBreakTheBoundary)
{
    ThrowingFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    FailingStream stream(1);
    EXPECT_EQ(manager->write(&stream), 2);
    MemoryStream garbage("<?xml version=\"1.0\"?><Other/>");
    EXPECT_EQ(manager->read(&garbage), 1);
    EXPECT_EQ(manager->getApplicationData(""), nullptr);
    manager->release();
}

TEST(DocumentSave, ApplicationNamesThatWouldEndTheInstructionStayReadable)
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

}  // namespace
