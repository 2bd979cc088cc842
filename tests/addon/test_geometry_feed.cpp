// The model walked ahead of the library: a worker walking ahead and the calling thread walking by
// itself give the same scene, debug log and progress, failures and cancellation at their item,
// and no thread outlives the export. The whole walks before the write, side by side or one after
// the other, fail at the same step with the same log.
#include "GSScnExternal.h"
#include "test_export_support.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>
#include <thread>

namespace {

// How the add-on walks the model while the scope lives.
class ProducerMode {
public:
    explicit ProducerMode(const char* mode) { ::setenv("KESTROVIN_GEOMETRY_PRODUCER", mode, 1); }
    ~ProducerMode() { ::unsetenv("KESTROVIN_GEOMETRY_PRODUCER"); }
    ProducerMode(const ProducerMode&) = delete;
    ProducerMode& operator=(const ProducerMode&) = delete;
};

// The threads of this process. The first thread started also starts the helper threads of a
// sanitizer's runtime, so one is started and joined before the first count.
int threadCount()
{
    static const bool settled = [] {
        std::thread([] {}).join();
        return true;
    }();
    (void)settled;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 8, "Threads:") == 0) {
            return std::atoi(line.c_str() + 8);
        }
    }
    return -1;
}

// The threads of this process once those joined have left it: a joined thread may still be
// counted for a moment while the system tears it down, so the count is read until it is at most
// expected (for at most about two seconds).
int threadCountAfterJoins(int expected)
{
    int count = threadCount();
    for (int i = 0; i < 200 && count > expected; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        count = threadCount();
    }
    return count;
}

// The threads of this process before a case: the test runs on one thread, and one that an earlier
// case joined may not have left yet.
int threadCountBefore()
{
    return threadCountAfterJoins(1);
}

// The text with what differs between two exports of one model blanked: the fresh identifiers
// (32 hexadecimal digits) and the folder the scene was written to.
std::string comparable(std::string text, const std::string& folder)
{
    for (std::size_t at = text.find(folder); at != std::string::npos; at = text.find(folder, at)) {
        text.replace(at, folder.size(), "FOLDER");
    }
    std::size_t run = 0;
    for (std::size_t at = 0; at <= text.size(); ++at) {
        const bool hex = at < text.size() && std::isxdigit(static_cast<unsigned char>(text[at])) &&
                         !std::islower(static_cast<unsigned char>(text[at]));
        if (hex) {
            ++run;
            continue;
        }
        if (run == 32) {
            text.replace(at - 32, 32, 32, '-');
        }
        run = 0;
    }
    return text;
}

// Holes, reversed edges, a reversed normal, own textures, a turned material texture, material
// index 0 and a body without polygons, on two layers.
const char kEveryConstruct[] = R"({"format": "cadhost-model",
  "layers": ["Walls", "Roofs"],
  "textures": [{"name": "a.png", "xSize": 2, "ySize": 1, "pixels": {"width": 1, "height": 1, "rgba": "ff0000ff"}},
               {"name": "b.png", "xSize": 0.5, "ySize": 0.25, "pixels": {"width": 1, "height": 1, "rgba": "00ff00ff"}}],
  "materials": [{"name": "A"}, {"name": "Turned", "texture": 1, "textureRotation": 1.5707963267948966}],
  "elements": [
    {"type": "wall", "layer": 1, "bodies": [
      {"vertices": [[0, 0, 0], [4, 0, 0], [4, 0, 3], [0, 0, 3], [1, 0, 1], [2, 0, 1], [2, 0, 2], [1, 0, 2]],
       "edges": [[1, 2], [2, 3], [3, 4], [4, 1], [5, 6], [6, 7], [7, 8], [8, 5]],
       "normals": [[0, -1, 0]],
       "uv": [[0, 0], [4, 0], [4, 3], [0, 3], [1, 1], [2, 1], [2, 2], [1, 2]],
       "polygons": [{"material": 2, "normal": 1, "edges": [1, 2, 3, 4, 0, -8, -7, -6, -5]},
                    {"material": 2, "normal": -1, "edges": [-4, -3, -2, -1, 0, 5, 6, 7, 8]},
                    {"material": 1, "texture": 2, "normal": 1, "edges": [1, 2, 3, 4]}]},
      {"vertices": [[9, 9, 9], [9, 9, 8]], "edges": [[1, 2]]}]},
    {"type": "roof", "layer": 2, "bodies": [
      {"vertices": [[0, 0, 1], [1, 0, 1], [0, 1, 1]], "uv": [[0, 0], [1, 0], [0, 1]],
       "polygons": [{"material": 0, "vertices": [1, 2, 3]}, {"material": 1, "texture": 2, "vertices": [3, 2, 1]}]}]}]})";

struct FeedCase {
    const char* name;
    bool layerPath;
    int64_t generated;   // polygons of a generated model; 0: kEveryConstruct
    int32_t cancelAt;    // the cancel query the user answers; 0 never
};

// What an export by the runner left: its exit code, what it printed (the host's result, the debug
// log's warnings and every call of the progress window) and the scene (comparable).
struct Outcome {
    int exitCode = -1;
    std::string printed;
    std::string scene;
    std::set<std::string> textures;
};

class GeometryFeed : public ExportTest, public ::testing::WithParamInterface<FeedCase> {
protected:
    Outcome run(const char* mode)
    {
        const FeedCase& c = GetParam();
        configure(c.layerPath ? nullptr : "LayerEnabled=false\n");
        const std::string model = c.generated > 0 ? "--generate " + std::to_string(c.generated)
                                                  : "'" + write("model.json", kEveryConstruct) + "'";
        const std::string folder = mScenes + "/" + mode;
        EXPECT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
        const std::string target = folder + "/Export.scn";
        std::ofstream(target, std::ios::binary) << "the previous export";
        const std::string command = "CADHOST_HOME='" + mFolder + "' KESTROVIN_GEOMETRY_PRODUCER=" + mode + " "
                                    CADHOST_PATH " export " + model + " '" + target +
                                    "' --no-dialog --progress-log" +
                                    (c.cancelAt != 0 ? " --cancel-after " + std::to_string(c.cancelAt) : "") +
                                    " >'" + folder + "/printed' 2>&1 </dev/null";
        const int status = std::system(command.c_str());
        Outcome out;
        out.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        out.printed = comparable(fileContent(folder + "/printed"), folder);
        out.scene = comparable(fileContent(target), folder);
        out.textures = folderContent(folder + "/Export_Textures");
        return out;
    }
};

TEST_P(GeometryFeed, WalkingAheadChangesNothing)
{
    const FeedCase& c = GetParam();
    const Outcome alone = run("inline");
    const Outcome ahead = run("thread");
    EXPECT_EQ(alone.exitCode, c.cancelAt != 0 ? 1 : 0) << alone.printed;
    EXPECT_EQ(ahead.exitCode, alone.exitCode);
    EXPECT_EQ(ahead.printed, alone.printed);
    EXPECT_EQ(ahead.textures, alone.textures);
    EXPECT_TRUE(ahead.scene == alone.scene) << "the scenes differ";
    if (c.cancelAt != 0) {
        EXPECT_EQ(alone.scene, "the previous export");
        EXPECT_NE(alone.printed.find("cancel pressed at query " + std::to_string(c.cancelAt) + "\n"), std::string::npos)
            << alone.printed;
    } else {
        EXPECT_NE(alone.scene.find("<Polygons"), std::string::npos);
    }
}

// The generated model has one body of 10201 points and 10000 polygons, with a cancel query every
// 1000th item: query 1 comes inside the first batch of points, query 2 inside the second, query 5
// in a later one; the points answer 10 queries, so query 11 comes at the 1000th polygon (inside the
// first batch), query 12 inside the second batch of polygons, 13 and 15 in later ones.
static_assert(1000 < KSV::kFeedBatchItems && 2000 > KSV::kFeedBatchItems && 2000 <= 2 * KSV::kFeedBatchItems &&
                  5000 > 4 * KSV::kFeedBatchItems,
              "the cancel queries below name batches of this size");
INSTANTIATE_TEST_SUITE_P(Cases, GeometryFeed, ::testing::Values(
    FeedCase{"EveryConstructPlain", false, 0, 0},
    FeedCase{"EveryConstructLayers", true, 0, 0},
    FeedCase{"GeneratedPlain", false, 10000, 0},
    FeedCase{"GeneratedLayers", true, 10000, 0},
    FeedCase{"CancelInTheFirstPointBatch", false, 10000, 1},
    FeedCase{"CancelInTheSecondPointBatch", false, 10000, 2},
    FeedCase{"CancelInALaterPointBatch", false, 10000, 5},
    FeedCase{"CancelInTheFirstPolygonBatch", false, 10000, 11},
    FeedCase{"CancelInTheSecondPolygonBatch", false, 10000, 12},
    FeedCase{"CancelAtPolygons", false, 10000, 13},
    FeedCase{"CancelInALaterPolygonBatch", false, 10000, 15},
    FeedCase{"CancelInTheSecondPointBatchOfALayer", true, 10000, 2},
    FeedCase{"CancelInALaterPointBatchOfALayer", true, 10000, 5},
    FeedCase{"CancelInTheSecondPolygonBatchOfALayer", true, 10000, 12},
    FeedCase{"CancelInALaterPolygonBatchOfALayer", true, 10000, 15}),
    [](const ::testing::TestParamInfo<FeedCase>& info) { return info.param.name; });

// A host that fails at one polygon, counted over the walk; the walk calls GetPolygon once a polygon.
const EXPModelFunctionTable* gHost = nullptr;
int32_t gFailingPolygon = 0;
int32_t gPolygonsAsked = 0;

GSErrCode polygonFailsOnce(const EXPModel* m, int32_t e, int32_t b, int32_t p, EXPPolygonInfo* info)
{
    return ++gPolygonsAsked == gFailingPolygon ? APIERR_MEMFULL : gHost->GetPolygon(m, e, b, p, info);
}

// What the supplier gave before a failure, and what it printed.
struct Failed {
    int32_t polygons = 0;
    std::string lastPolygon;
    std::string log;
};

class FeedFailure : public AddOnClassesTest, public ::testing::WithParamInterface<int32_t> {
protected:
    Failed supply(const char* mode)
    {
        cadhost::generateModel(10000);
        Modeler::Sight* sight = cadhost::openSight();
        EXPModel model = {};
        EXPECT_EQ(EXPGetModel(sight, &model), NoError);
        gHost = EXPGetModelFunctionTable();
        EXPModelFunctionTable table = *gHost;
        table.GetPolygon = polygonFailsOnce;
        gFailingPolygon = GetParam();
        gPolygonsAsked = 0;
        KSV::ProgressStrings strings;
        KSV::MaterialMap map;
        Failed out;
        cadhost::clearDebugLog();
        const int threadsBefore = threadCountBefore();
        {
            ProducerMode producer(mode);
            KSV::GSScnExternal supplier(table, model, strings, map, false);
            NvScn::CScnMgr* scratch = NvScn::CScnMgr::create(nullptr, nullptr);
            NvScn::CScnPolygon* polygon = nullptr;
            while (out.polygons < supplier.getNbPolygons(nullptr)) {
                polygon = scratch->getPolygons()->newScnObject(NvScn::kScnLastIndex);
                if (!supplier.fillPolygon(nullptr, polygon, out.polygons)) {
                    break;
                }
                ++out.polygons;
                out.lastPolygon = std::to_string(polygon->getPropertyIndex()) + ":" +
                                  std::to_string(polygon->getVertices()->getScnObject(0)->pointIndex);
            }
            scratch->release();
        }
        EXPECT_EQ(threadCountAfterJoins(threadsBefore), threadsBefore) << "a thread outlived the supplier";
        out.log = cadhost::debugLog();
        gHost->FreeModel(&model);
        sight->RemoveReference();
        return out;
    }
};

TEST_P(FeedFailure, ReachesTheLibraryAtItsPolygon)
{
    const Failed alone = supply("inline");
    const Failed ahead = supply("thread");
    EXPECT_EQ(alone.polygons, GetParam() - 1);
    EXPECT_EQ(ahead.polygons, alone.polygons);
    EXPECT_EQ(ahead.lastPolygon, alone.lastPolygon);
    EXPECT_EQ(ahead.log, alone.log);
    const std::string head = "Catch \"Error " + std::to_string(static_cast<int>(APIERR_MEMFULL)) +
                             " at \"..\\Src\\GSScnExternal:";
    const std::string tail = "\"\" in KSV::GSScnExternal::fillPolygon\n";
    EXPECT_EQ(alone.log.compare(0, head.size(), head), 0) << alone.log;
    ASSERT_GT(alone.log.size(), head.size() + tail.size());
    EXPECT_EQ(alone.log.substr(alone.log.size() - tail.size()), tail);
}

// The first polygon, the last polygon of the first batch, the first of the second, the first and
// last of a later batch, one in the middle of a batch and the last of the model.
INSTANTIATE_TEST_SUITE_P(Polygons, FeedFailure, ::testing::Values(1, KSV::kFeedBatchItems, KSV::kFeedBatchItems + 1,
                                                                  4096, 4097, 6000, 10000));

// A host whose 3D component service fails at one vertex, and whose model table fails at one
// polygon, each counted over the export.
ACServiceProc gComponentService = nullptr;
int32_t gFailingVertex = 0;
int32_t gVerticesAsked = 0;

GSErrCode vertexFailsOnce(uint32_t token, void* par1, void* par2, void* par3, void* par4)
{
    const auto* wanted = static_cast<const API_Component3D*>(par1);
    if (wanted != nullptr && wanted->typeID == API_VertID && ++gVerticesAsked == gFailingVertex) {
        return APIERR_MEMFULL;
    }
    return gComponentService(token, par1, par2, par3, par4);
}

GSErrCode (*gHostGetPolygon)(const EXPModel*, int32_t, int32_t, int32_t, EXPPolygonInfo*) = nullptr;

GSErrCode exportPolygonFailsOnce(const EXPModel* m, int32_t e, int32_t b, int32_t p, EXPPolygonInfo* info)
{
    return ++gPolygonsAsked == gFailingPolygon ? APIERR_MEMFULL : gHostGetPolygon(m, e, b, p, info);
}

// Polygons with material index 0 on two layers, for the layer path's material walk.
const char kInvalidMaterials[] = R"({"format": "cadhost-model",
  "layers": ["Walls", "Roofs"],
  "materials": [{"name": "A"}, {"name": "B"}],
  "elements": [
    {"type": "wall", "layer": 1, "bodies": [
      {"vertices": [[0, 0, 0], [1, 0, 0], [1, 0, 1], [0, 0, 1]],
       "polygons": [{"material": 0, "vertices": [1, 2, 3]}, {"material": -2, "vertices": [1, 3, 4]},
                    {"material": 2, "vertices": [4, 3, 1]}]}]},
    {"type": "roof", "layer": 2, "bodies": [
      {"vertices": [[0, 0, 1], [1, 0, 1], [0, 1, 1]],
       "polygons": [{"material": 0, "vertices": [1, 2, 3]}, {"material": 1, "vertices": [3, 2, 1]}]}]}]})";

struct BeforeWriteCase {
    const char* name;
    bool layerPath;
    int64_t generated;       // polygons of a generated model; 0: kInvalidMaterials
    int32_t failingVertex;   // the 3D component vertex that fails; 0 none
    int32_t failingPolygon;  // the model table's polygon that fails; 0 none
    GSErrCode answer;
    const char* log;
};

// What an export left: its answer, the debug log, the target and the scenes folder.
struct Left {
    GSErrCode answer = NoError;
    std::string log;
    std::string target;
    std::set<std::string> folder;
};

class WalksBeforeTheWrite : public ExportTest, public ::testing::WithParamInterface<BeforeWriteCase> {
protected:
    void TearDown() override
    {
        cadhost::overrideService(kAC3DComponent, nullptr);
        if (gHost != nullptr && gHostGetPolygon != nullptr) {
            const_cast<EXPModelFunctionTable*>(gHost)->GetPolygon = gHostGetPolygon;
        }
        ExportTest::TearDown();
    }
    Left exportWith(const char* mode)
    {
        const BeforeWriteCase& c = GetParam();
        gFailingVertex = c.failingVertex;
        gVerticesAsked = 0;
        gFailingPolygon = c.failingPolygon;
        gPolygonsAsked = 0;
        write("scenes/Export.scn", "the previous export");
        cadhost::clearDebugLog();
        const int threadsBefore = threadCountBefore();
        Left out;
        {
            ProducerMode producer(mode);
            out.answer = exportScene();
        }
        EXPECT_EQ(threadCountAfterJoins(threadsBefore), threadsBefore) << "a thread outlived the export";
        out.log = cadhost::debugLog();
        out.target = fileContent(scenePath());
        out.folder = folderContent(mScenes);
        return out;
    }
};

TEST_P(WalksBeforeTheWrite, FailAtTheirStepWithTheSameLog)
{
    const BeforeWriteCase& c = GetParam();
    // The add-on takes its copy of the service table as it loads.
    gComponentService = cadhost::overrideService(kAC3DComponent, vertexFailsOnce);
    loadAddOn();
    if (c.generated > 0) {
        cadhost::generateModel(c.generated);
    } else {
        loadJson(kInvalidMaterials);
    }
    configure(c.layerPath ? nullptr : "LayerEnabled=false\n");
    gHost = EXPGetModelFunctionTable();
    ASSERT_NE(gHost, nullptr);
    gHostGetPolygon = gHost->GetPolygon;
    const_cast<EXPModelFunctionTable*>(gHost)->GetPolygon = exportPolygonFailsOnce;
    const Left alone = exportWith("inline");
    const Left aside = exportWith("thread");
    EXPECT_EQ(alone.answer, c.answer);
    EXPECT_EQ(alone.log, c.log);
    EXPECT_EQ(aside.answer, alone.answer);
    EXPECT_EQ(aside.log, alone.log);
    EXPECT_EQ(aside.folder, alone.folder);
    if (c.answer != NoError) {
        EXPECT_EQ(alone.target, "the previous export");
        EXPECT_EQ(alone.folder, std::set<std::string>{"Export.scn"});
    } else {
        EXPECT_NE(alone.target.find("<Polygons"), std::string::npos);
    }
}

// The generated model of 10 000 polygons has 10 201 vertices; its polygons are asked for first by
// the walk before the write, then by the library's pull.
INSTANTIATE_TEST_SUITE_P(Failures, WalksBeforeTheWrite, ::testing::Values(
    BeforeWriteCase{"BoundsAtTheFirstVertex", false, 10000, 1, 0, APIERR_GENERAL, ""},
    BeforeWriteCase{"BoundsAtTheLastVertex", false, 10000, 10201, 0, APIERR_GENERAL, ""},
    BeforeWriteCase{"BoundsOfALayer", true, 10000, 5000, 0, APIERR_GENERAL, ""},
    BeforeWriteCase{"OwnTexturesAtAPolygon", false, 10000, 0, 5000, APIERR_GENERAL, ""},
    BeforeWriteCase{"BoundsBeforeOwnTextures", false, 10000, 7000, 3, APIERR_GENERAL, ""},
    BeforeWriteCase{"LayerMaterialsAtAPolygon", true, 10000, 0, 9999, APIERR_GENERAL, ""},
    BeforeWriteCase{"LayerMaterialsAfterInvalidOnes", true, 0, 0, 4, APIERR_GENERAL,
                    "AddonLayer::InitializeFileStructureForLayer - Invalid material index (0)\n"
                    "AddonLayer::InitializeFileStructureForLayer - Invalid material index (-2)\n"},
    BeforeWriteCase{"LayerMaterialsInvalidOnesSaved", true, 0, 0, 0, NoError,
                    "AddonLayer::InitializeFileStructureForLayer - Invalid material index (0)\n"
                    "AddonLayer::InitializeFileStructureForLayer - Invalid material index (-2)\n"
                    "AddonLayer::InitializeFileStructureForLayer - Invalid material index (0)\n"
                    "AddonLayerStorage::fillPolygon - Invalid material index (0)\n"
                    "AddonLayerStorage::fillPolygon - Invalid material index (-2)\n"
                    "AddonLayerStorage::fillPolygon - Invalid material index (0)\n"}),
    [](const ::testing::TestParamInfo<BeforeWriteCase>& info) { return info.param.name; });

}  // namespace
