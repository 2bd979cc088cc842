// The export through the add-on's handler: where it fails or is cancelled, the user's previous
// scene stays as it was and nothing of the export remains; what it writes, read back.
#include "test_export_support.h"

#include <cmath>
#include <csignal>
#include <sys/resource.h>

namespace {

const char kPrevious[] = "the previous export, kept byte for byte";

const char kSmallModel[] = R"({"format": "cadhost-model", "materials": [{"name": "A"}],
  "textures": [{"name": "brick.png", "pixels": {"width": 2, "height": 1, "rgba": "ff0000ff00ff0080"}}],
  "elements": [{"type": "wall", "bodies": [
    {"vertices": [[0, 0, 0], [1, 0, 0], [1, 0, 1], [0, 0, 1]], "polygons": [{"material": 1, "vertices": [1, 2, 3, 4]}]}]}]})";

// A model whose kept plan offset takes a vertex beyond the reach of a scene.
const char kOutOfReach[] = R"({"format": "cadhost-model", "origin": [0, 9000000], "materials": [{"name": "A"}],
  "elements": [{"type": "wall", "bodies": [
    {"vertices": [[0, 0, 0], [1, 0, 0], [1, 9000000, 1]], "polygons": [{"material": 1, "vertices": [1, 2, 3]}]}]}]})";

enum class Model { Small, Generated, OutOfReach };

struct FailureCase {
    const char* name;
    Model model;
    std::function<void(const std::string& folder)> prepare;
    GSErrCode answer;
    std::string log;          // the debug log, whole
    std::string transcript;   // its first line
};

class ExportFailures : public ExportTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void TearDown() override
    {
        struct rlimit unlimited = {RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, SIG_DFL);
        ExportTest::TearDown();
    }
};

TEST_P(ExportFailures, KeepThePreviousSceneAndLeaveNothingBehind)
{
    const FailureCase& c = GetParam();
    loadAddOn();
    if (c.model == Model::Generated) {
        cadhost::generateModel(1500);
    } else {
        loadJson(c.model == Model::Small ? kSmallModel : kOutOfReach);
    }
    configure("LayerEnabled=false\n");
    write("scenes/Export.scn", kPrevious);
    const std::set<std::string> before = folderContent(mScenes);
    cadhost::clearDebugLog();
    if (c.prepare) {
        c.prepare(mFolder);
    }
    EXPECT_EQ(exportScene(0), c.answer);
    struct rlimit unlimited = {RLIM_INFINITY, RLIM_INFINITY};
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    EXPECT_EQ(fileContent(scenePath()), kPrevious);
    EXPECT_EQ(folderContent(mScenes), before);
    EXPECT_EQ(cadhost::debugLog(), c.log);
    const std::string& transcript = cadhost::transcript();
    EXPECT_EQ(transcript.substr(0, transcript.find('\n')), c.transcript);
    const std::vector<std::string>& progress = cadhost::project().progressLog.lines();
    EXPECT_EQ(std::count(progress.begin(), progress.end(), "close"),
              std::count_if(progress.begin(), progress.end(), [](const std::string& l) { return l.rfind("open ", 0) == 0; }));
}

// The library's two reports of a save that its geometry supplier ended.
const char kCancelIO[] =
    "GSScnFeedback::warning(\"External storage cancel IO\")\n"
    "GSScnFeedback::warning(\"Error \"exception\" while writting\")\n";

INSTANTIATE_TEST_SUITE_P(Points, ExportFailures, ::testing::Values(
    FailureCase{"DialogCancel", Model::Small,
                [](const std::string&) { cadhost::setDialogScript({{cadhost::UserAction::Click, 2, ""}}); },
                APIERR_CANCEL, "", "Dialog 131 \"Save Kestrovin Studio 3 Document\" (560 x 430)"},
    FailureCase{"ParallelProjection", Model::Small,
                [](const std::string&) { cadhost::project().projection.isPersp = 0; }, APIERR_CANCEL, "", "Alert 128"},
    FailureCase{"CancelDuringPoints", Model::Generated,
                [](const std::string&) { cadhost::project().cancelAfter = 1; }, APIERR_CANCEL, kCancelIO,
                "Dialog 131 \"Save Kestrovin Studio 3 Document\" (560 x 430)"},
    FailureCase{"CancelDuringPolygons", Model::Generated,
                [](const std::string&) { cadhost::project().cancelAfter = 4; }, APIERR_CANCEL, kCancelIO,
                "Dialog 131 \"Save Kestrovin Studio 3 Document\" (560 x 430)"},
    FailureCase{"FailingSupplier", Model::OutOfReach, nullptr, APIERR_GENERAL,
                "Catch \"Vertex 3 of body 1 of element 1 lies out of reach\" in KSV::GSScnExternal::fillPoint\n" +
                    std::string(kCancelIO),
                "Dialog 131 \"Save Kestrovin Studio 3 Document\" (560 x 430)"},
    FailureCase{"WriteError", Model::Generated,
                [](const std::string&) {
                    std::signal(SIGXFSZ, SIG_IGN);
                    struct rlimit limit = {40000, RLIM_INFINITY};
                    ::setrlimit(RLIMIT_FSIZE, &limit);
                },
                APIERR_GENERAL, "", "Dialog 131 \"Save Kestrovin Studio 3 Document\" (560 x 430)"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

// A target whose folder cannot hold files fails at once and creates nothing.
TEST_F(ExportTest, ATargetThatCannotBeWrittenFails)
{
    loadAddOn();
    loadJson(kSmallModel);
    configure(nullptr);
    write("scenes/plain", "a file, not a folder");
    cadhost::clearDebugLog();
    EXPECT_EQ(exportScene(1, mScenes + "/plain/Export.scn"), APIERR_GENERAL);
    EXPECT_EQ(folderContent(mScenes), (std::set<std::string>{"plain"}));
    EXPECT_EQ(fileContent(mScenes + "/plain"), "a file, not a folder");
    EXPECT_EQ(cadhost::debugLog(), "");
}

// A successful export replaces the previous scene and leaves no temporary file.
TEST_F(ExportTest, ASavedSceneReplacesThePreviousOne)
{
    loadAddOn();
    loadJson(kSmallModel);
    configure("LayerEnabled=false\n");
    write("scenes/Export.scn", kPrevious);
    write("scenes/Export.scn.tmp", "someone else's file");
    EXPECT_EQ(exportScene(), NoError);
    EXPECT_EQ(folderContent(mScenes),
              (std::set<std::string>{"Export.scn", "Export.scn.tmp", "Export_Textures/"}));
    EXPECT_EQ(fileContent(mScenes + "/Export.scn.tmp"), "someone else's file");
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    EXPECT_EQ(scene.manager->getPoints()->getNbObjects(), 4);
    EXPECT_EQ(scene.manager->getPolygons()->getNbObjects(), 1);
}

}  // namespace
