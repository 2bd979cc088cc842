// Real model files exported end to end through the runner, as a person saves the 3D window, and
// read back with the library; and the runner's answers to bad input.
#include "GSModeler.h"
#include "test_export_support.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <sys/wait.h>

namespace {

// The model as the host walks it: the points of its bodies with polygons, in centimetres.
struct Walked {
    std::vector<NvScn::CScnVector> points;
    int32_t polygons = 0;
    int32_t lights = 0;
    int32_t cameras = 0;
};

Walked walkProject()
{
    Walked walked;
    Modeler::Sight* sight = cadhost::openSight();
    EXPModel model = {};
    const EXPModelFunctionTable* table = EXPGetModelFunctionTable();
    EXPGetModel(sight, &model);
    for (int32_t e = 1; e <= table->GetElementCount(&model); ++e) {
        EXPElementInfo element;
        table->GetElement(&model, e, &element);
        for (int32_t b = 1; b <= element.bodyCount; ++b) {
            EXPBodyInfo body;
            table->GetBody(&model, e, b, &body);
            if (body.polygonCount == 0) {
                continue;
            }
            walked.polygons += body.polygonCount;
            for (int32_t v = 1; v <= body.vertexCount; ++v) {
                EXPVector p;
                table->GetVertex(&model, e, b, v, &p);
                walked.points.push_back({p.x * 100.0, p.y * 100.0, p.z * 100.0});
            }
        }
    }
    table->FreeModel(&model);
    sight->RemoveReference();
    const std::string seen = cadhost::describeModel();
    const std::size_t lights = seen.find("\nlights ");
    walked.lights = lights == std::string::npos ? 0 : std::atoi(seen.c_str() + seen.find_first_not_of(' ', lights + 7));
    walked.cameras = static_cast<int32_t>(cadhost::project().cameras.size());
    return walked;
}

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class RunnerExport : public HostFolderTest {
protected:
    RunResult run(const std::string& arguments, const std::string& prefix = std::string())
    {
        const std::string command = prefix + "CADHOST_HOME='" + mFolder + "' " CADHOST_PATH " " + arguments +
                                    " >'" + mFolder + "/out' 2>'" + mFolder + "/err' </dev/null";
        const int status = std::system(("bash -c \"" + command + "\"").c_str());
        RunResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = fileContent(mFolder + "/out");
        result.err = fileContent(mFolder + "/err");
        return result;
    }
    void plainPath()
    {
        ASSERT_EQ(std::system(("mkdir -p '" + mFolder + "/drives/c/source'").c_str()), 0);
        write("drives/c/source/config.ini", "LayerEnabled=false\n");
    }
};

struct FileCase {
    const char* name;
    std::string model;
    std::set<std::string> textures;   // the texture folder's files; empty: no folder
    std::vector<std::string> log;     // debug lines expected on standard error
};

class ModelFiles : public RunnerExport, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ModelFiles, ExportEndToEnd)
{
    const FileCase& c = GetParam();
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(c.model, cadhost::ModelOptions(), &error)) << error;
    const Walked walked = walkProject();
    ASSERT_GT(walked.polygons, 0);
    plainPath();
    const RunResult result = run("export '" + c.model + "' '" + mFolder + "/House.scn' --no-dialog");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("result            0x00000000 (saved)\n"), std::string::npos) << result.out;
    for (const std::string& line : c.log) {
        EXPECT_NE(result.err.find("debug: " + line + "\n"), std::string::npos) << result.err;
    }
    EXPECT_EQ(folderContent(mFolder + "/House_Textures"), c.textures);

    ReadScene scene(mFolder + "/House.scn");
    ASSERT_NE(scene.manager, nullptr);
    NvScn::CScnMgr* m = scene.manager;
    ASSERT_EQ(m->getPoints()->getNbObjects(), static_cast<int32_t>(walked.points.size()));
    EXPECT_EQ(m->getPolygons()->getNbObjects(), walked.polygons);
    double worst = 0.0;
    for (std::size_t i = 0; i < walked.points.size(); ++i) {
        const NvScn::CScnVector* p = m->getPoints()->getScnObject(static_cast<uint32_t>(i));
        worst = std::max({worst, std::fabs(p->x - walked.points[i].x), std::fabs(p->y - walked.points[i].y),
                          std::fabs(p->z - walked.points[i].z)});
    }
    EXPECT_LT(worst, 1e-6);
    for (int32_t i = 0; i < m->getPolygons()->getNbObjects(); ++i) {
        NvScn::CScnPolygon* polygon = m->getPolygons()->getScnObject(static_cast<uint32_t>(i));
        ASSERT_GE(polygon->getVertices()->getNbObjects(), 3);
        for (int32_t k = 0; k < polygon->getVertices()->getNbObjects(); ++k) {
            const int32_t index = polygon->getVertices()->getScnObject(static_cast<uint32_t>(k))->pointIndex;
            ASSERT_TRUE(index >= 0 && index < m->getPoints()->getNbObjects()) << "polygon " << i;
        }
    }
    EXPECT_EQ(m->getLights()->getNbObjects(), walked.lights);
    EXPECT_EQ(m->getPerspectiveViews()->getNbObjects(), walked.cameras + 1);
}

INSTANTIATE_TEST_SUITE_P(Files, ModelFiles, ::testing::Values(
    FileCase{"FzkHouseIfc", ASSIMP_MODELS "/IFC/AC14-FZK-Haus.ifc", {}, {}},
    FileCase{"ObjWithTextures", HOST_MODELS "/house.obj", {"bricks.tif"},
             {"Kestrovin_Out:: texture 2 \"missing.png\" is not available and is not written",
              "Kestrovin_Out:: texture 3 \"corrupt.png\" is not available and is not written"}},
    FileCase{"ColladaWithLightsAndCameras", HOST_MODELS "/scene.dae", {}, {}}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return info.param.name; });

// The layer path puts each storey of the IFC house into its own component: every point of the
// model once, in centimetres, each polygon referring to its component's points.
TEST_F(RunnerExport, IfcByTheLayerPath)
{
    const std::string house = ASSIMP_MODELS "/IFC/AC14-FZK-Haus.ifc";
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(house, cadhost::ModelOptions(), &error)) << error;
    Walked walked = walkProject();
    const RunResult result = run("export '" + house + "' '" + mFolder + "/House.scn' --no-dialog");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ReadScene scene(mFolder + "/House.scn");
    ASSERT_NE(scene.manager, nullptr);
    NvScn::CScnMgr* m = scene.manager;
    EXPECT_EQ(m->getPoints()->getNbObjects(), 0);
    std::vector<std::string> layers;
    for (int32_t i = 0; i < m->getLayers()->getNbObjects(); ++i) {
        layers.push_back(m->getLayers()->getScnObject(static_cast<uint32_t>(i))->getName());
    }
    EXPECT_EQ(layers, (std::vector<std::string>{"Gel\xC3\xA4nde", "0. Erdgeschoss", "1. Dachgeschoss"}));
    ASSERT_EQ(m->getInternalComponentDefinitions()->getNbObjects(), 3);
    EXPECT_EQ(m->getObjectInstances()->getNbObjects(), 3);
    EXPECT_EQ(m->getMaterials()->getNbObjects(), 0);
    // scntool lists each definition's materials under its name.
    const std::string listing = mFolder + "/materials.txt";
    ASSERT_EQ(std::system((SCNTOOL_PATH " materials '" + mFolder + "/House.scn' >'" + listing + "'").c_str()), 0);
    const std::string listed = fileContent(listing);
    EXPECT_NE(listed.find("definition 2 \"1. Dachgeschoss\"\n0\t\""), std::string::npos) << listed;
    std::vector<NvScn::CScnVector> points;
    int32_t polygons = 0;
    for (int32_t c = 0; c < 3; ++c) {
        NvScn::IScnInternalComponentDefinition* component =
            m->getInternalComponentDefinitions()->getScnObject(static_cast<uint32_t>(c));
        const int32_t count = component->getPoints()->getNbObjects();
        for (int32_t i = 0; i < count; ++i) {
            points.push_back(*component->getPoints()->getScnObject(static_cast<uint32_t>(i)));
        }
        polygons += component->getPolygons()->getNbObjects();
        for (int32_t i = 0; i < component->getPolygons()->getNbObjects(); ++i) {
            NvScn::CScnPolygon* polygon = component->getPolygons()->getScnObject(static_cast<uint32_t>(i));
            for (int32_t k = 0; k < polygon->getVertices()->getNbObjects(); ++k) {
                const int32_t index = polygon->getVertices()->getScnObject(static_cast<uint32_t>(k))->pointIndex;
                ASSERT_TRUE(index >= 0 && index < count) << "component " << c << " polygon " << i;
            }
        }
    }
    EXPECT_EQ(polygons, walked.polygons);
    ASSERT_EQ(points.size(), walked.points.size());
    // Ordered on hundredths of a millimetre, so that a file's rounding does not reorder points.
    const auto before = [](const NvScn::CScnVector& a, const NvScn::CScnVector& b) {
        const auto key = [](const NvScn::CScnVector& p) {
            return std::make_tuple(std::llround(p.x * 1e3), std::llround(p.y * 1e3), std::llround(p.z * 1e3));
        };
        return key(a) < key(b);
    };
    std::sort(points.begin(), points.end(), before);
    std::sort(walked.points.begin(), walked.points.end(), before);
    double worst = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        worst = std::max({worst, std::fabs(points[i].x - walked.points[i].x), std::fabs(points[i].y - walked.points[i].y),
                          std::fabs(points[i].z - walked.points[i].z)});
    }
    EXPECT_LT(worst, 1e-6);
}

// Bad input ends with a clear message and the failure code, leaves no output and keeps the
// previous scene.
struct BadCase {
    const char* name;
    std::string modelText;     // written as model.obj; empty: the arguments name the model
    std::string arguments;     // "@" stands for the scratch folder
    std::string prefix;        // before the runner in the shell
    int exitCode;
    std::string message;       // a line of standard error
};

class BadInput : public RunnerExport, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadInput, FailsCleanly)
{
    const BadCase& c = GetParam();
    if (!c.modelText.empty()) {
        write("model.obj", c.modelText);
    }
    plainPath();
    write("Out.scn", "previous");
    std::string arguments = c.arguments;
    for (std::size_t at = arguments.find('@'); at != std::string::npos; at = arguments.find('@')) {
        arguments.replace(at, 1, mFolder);
    }
    const RunResult result = run(arguments, c.prefix);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    std::string message = c.message;
    for (std::size_t at = message.find('@'); at != std::string::npos; at = message.find('@')) {
        message.replace(at, 1, mFolder);
    }
    EXPECT_NE(("\n" + result.err).find("\n" + message + "\n"), std::string::npos) << result.err;
    EXPECT_EQ(fileContent(mFolder + "/Out.scn"), "previous");
    std::set<std::string> left = folderContent(mFolder);
    left.erase("out");
    left.erase("err");
    left.erase("drives/");
    left.erase("Preferences/");
    left.erase("model.obj");
    EXPECT_EQ(left, (std::set<std::string>{"Out.scn"}));
}

const char kTwoFaces[] = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\nl 1 3\n";

INSTANTIATE_TEST_SUITE_P(Inputs, BadInput, ::testing::Values(
    BadCase{"ModelThatDoesNotLoad", "", "export @/none.obj @/Out.scn --no-dialog", "", 1,
            "cadhost: @/none.obj: No such file or directory"},
    BadCase{"NotANumber", "v 0 0 0\nv nan 0 0\nv 1 1 0\nf 1 2 3\n", "export @/model.obj @/Out.scn --no-dialog", "", 1,
            "cadhost: @/model.obj: mesh \"defaultobject\" of node \"defaultobject\" vertex 2 has a coordinate that is not a finite number"},
    BadCase{"HugeCoordinate", "v 0 0 0\nv 1e12 0 0\nv 1 1 0\nf 1 2 3\n", "export @/model.obj @/Out.scn --no-dialog", "",
            1, "cadhost: @/model.obj: mesh \"defaultobject\" of node \"defaultobject\" vertex 2 lies 1e+12 m from the origin; the host takes coordinates up to 10000 km"},
    BadCase{"TargetFolderNotWritable", std::string(kTwoFaces), "export @/model.obj /proc/Out.scn --no-dialog", "", 1,
            "cadhost: the export of @/model.obj to /proc/Out.scn failed: the add-on answered 0x81060001 (general failure)"},
    BadCase{"WriteError", "", "export --generate 1500 @/Out.scn --no-dialog", "trap '' XFSZ; ulimit -f 40; ", 1,
            "cadhost: the export of generated model of 1500 polygons to @/Out.scn failed: the add-on answered 0x81060001 (general failure)"},
    BadCase{"CancelledByTheUser", "", "export --generate 1500 @/Out.scn --no-dialog --cancel-after 1", "", 1,
            "cadhost: the export of generated model of 1500 polygons was cancelled"}),
    [](const ::testing::TestParamInfo<BadCase>& info) { return info.param.name; });

// Faces of fewer than three corners never reach the scene: the host leaves them out and says so.
TEST_F(RunnerExport, LinesAreLeftOutWithAWarning)
{
    write("model.obj", kTwoFaces);
    plainPath();
    const RunResult result = run("export '" + mFolder + "/model.obj' '" + mFolder + "/Out.scn' --no-dialog");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ReadScene scene(mFolder + "/Out.scn");
    ASSERT_NE(scene.manager, nullptr);
    EXPECT_EQ(scene.manager->getPolygons()->getNbObjects(), 1);
    EXPECT_EQ(scene.manager->getPoints()->getNbObjects(), 4);
}

}  // namespace
