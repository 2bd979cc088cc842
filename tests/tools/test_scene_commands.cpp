// scntool render, preview and gltf as a user runs them: pictures whose pixels are certain,
// glTF read back, and every refusal with its message and exit code.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <tiffio.h>
#include <zlib.h>

#include "FileStream.h"
#include "Image.h"
#include "Renderer.h"
#include "ScnMgr.h"

namespace {

using NvScn::CScnMgr;
using NvScn::CScnVector;
using nlohmann::json;

std::string slurp(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// A folder for this test program's files, removed at its end.
const std::string& folder()
{
    struct Folder {
        Folder()
        {
            char pattern[] = "/tmp/scene-commands-XXXXXX";
            const char* made = mkdtemp(pattern);
            path = made != nullptr ? made : "/tmp";
        }
        ~Folder() { std::filesystem::remove_all(path); }
        std::string path;
    };
    static const Folder made;
    return made.path;
}

std::string file(const std::string& name) { return folder() + "/" + name; }

struct ToolResult {
    int exitCode;
    std::string err;
};

// Runs scntool from <build>/bin beside <build>/tests; standard output must stay empty.
ToolResult scntool(const std::string& arguments)
{
    char self[4096] = {};
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string tool(self, length > 0 ? static_cast<size_t>(length) : 0);
    tool = tool.substr(0, tool.find_last_of('/')) + "/../bin/scntool";
    std::string err = file("err.txt");
    std::string out = file("out.txt");
    int status = std::system((tool + " " + arguments + " >" + out + " 2>" + err).c_str());
    EXPECT_EQ(slurp(out), "") << arguments;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(err)};
}

// A scene made of quadrilaterals, with or without a hole, saved through the library.
struct SceneSketch {
    struct Face {
        std::vector<CScnVector> outer;
        std::vector<CScnVector> hole;
        int32_t material = 0;
        bool smoothed = false;
    };
    std::vector<Face> faces;
    bool camera = true;
    CScnVector eye = {0, -1000, 0};
    CScnVector target = {0, 0, 0};
    double focal = 60;
    double roll = 0;
    // Sun straight above unless switched off (then the default light is used).
    bool sun = true;
    std::vector<uint32_t> preview;
    // The materials, through their façade; two plain ones by default.
    struct Material {
        bool colored = false;
        NvScn::CScnColor diffuse{};
        double transparency = 0;
        std::string texture;
        std::string name;
    };
    std::vector<Material> materials = {Material(), Material()};
    // Mapping coordinates 0 to 1 across each face's outline.
    bool mapped = false;
    // Faces name one point for equal corners, instead of points of their own.
    bool sharedPoints = false;
};

SceneSketch::Face wall(double y, double half, double holeHalf = 0)
{
    SceneSketch::Face face;
    face.outer = {{-half, y, -half}, {half, y, -half}, {half, y, half}, {-half, y, half}};
    if (holeHalf > 0) {
        face.hole = {{-holeHalf, y, -holeHalf}, {-holeHalf, y, holeHalf}, {holeHalf, y, holeHalf}, {holeHalf, y, -holeHalf}};
    }
    return face;
}

void save(const SceneSketch& sketch, const std::string& path)
{
    CScnMgr* scene = CScnMgr::create(nullptr, nullptr);
    for (const SceneSketch::Material& m : sketch.materials) {
        NvScn::CScnProperty* material = scene->getMaterials()->newScnObject(NvScn::kScnLastIndex);
        if (m.colored) {
            material->setDiffuseColor(&m.diffuse);
            material->setTransparency(m.transparency);
        }
        if (!m.texture.empty()) {
            material->setTextureURL(m.texture.c_str());
        }
        if (!m.name.empty()) {
            material->setName(m.name.c_str());
        }
    }
    int32_t next = 0;
    auto loop = [&](NvScn::TScnObjectMgr<NvScn::CScnVertex>* vertices, const std::vector<CScnVector>& corners) {
        // u and v run over the outline's first and last corner, as on a wall seen from the front.
        const float us[4] = {0, 1, 1, 0};
        const float vs[4] = {0, 0, 1, 1};
        for (size_t i = 0; i < corners.size(); ++i) {
            NvScn::CScnVertex* vertex = vertices->newScnObject(NvScn::kScnLastIndex);
            vertex->pointIndex = -1;
            for (int32_t p = 0; sketch.sharedPoints && p < next && vertex->pointIndex < 0; ++p) {
                const CScnVector& known = *scene->getPoints()->getScnObject(static_cast<uint32_t>(p));
                if (known.x == corners[i].x && known.y == corners[i].y && known.z == corners[i].z) {
                    vertex->pointIndex = p;
                }
            }
            if (vertex->pointIndex < 0) {
                *scene->getPoints()->newScnObject(NvScn::kScnLastIndex) = corners[i];
                vertex->pointIndex = next++;
            }
            if (sketch.mapped && corners.size() == 4) {
                vertex->flags = NvScn::kScnVertexMapped;
                vertex->u = us[i];
                vertex->v = vs[i];
            }
        }
    };
    for (const SceneSketch::Face& face : sketch.faces) {
        NvScn::CScnPolygon* polygon = scene->getPolygons()->newScnObject(NvScn::kScnLastIndex);
        polygon->setPropertyIndex(face.material);
        polygon->setSmoothed(face.smoothed);
        loop(polygon->getVertices(), face.outer);
        if (!face.hole.empty()) {
            loop(polygon->getHoles()->newScnObject(NvScn::kScnLastIndex)->getVertices(), face.hole);
        }
    }
    if (sketch.camera) {
        NvScn::CScnCamera* camera = scene->getPerspectiveViews()->newScnObject(NvScn::kScnLastIndex);
        camera->setName("Front");
        camera->setPosition(&sketch.eye);
        camera->setTarget(&sketch.target);
        camera->setFocal(sketch.focal);
        camera->setRoll(sketch.roll);
        camera->setCurrent();
    }
    NvScn::CScnHeliodon* sun = scene->getHeliodon();
    sun->setActive(sketch.sun);
    sun->setPlacementKind(0);
    sun->setTheta(0);
    sun->setPhi(1.5707963267948966);
    if (!sketch.preview.empty()) {
        scene->getPreviewImage()->setPixels(4, static_cast<uint32_t>(sketch.preview.size() / 4), sketch.preview.data());
    }
    std::unique_ptr<ScnTools::FileStream> stream(ScnTools::FileStream::open(path, "wb"));
    ASSERT_TRUE(stream);
    ASSERT_EQ(scene->write(stream.get()), 0);
    scene->release();
}

struct Pixel {
    int red;
    int green;
    int blue;
    bool operator==(const Pixel& other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
    bool operator!=(const Pixel& other) const { return !(*this == other); }
};

std::ostream& operator<<(std::ostream& out, const Pixel& p)
{
    return out << "(" << p.red << ", " << p.green << ", " << p.blue << ")";
}

Pixel at(const ScnTools::Picture& picture, uint32_t x, uint32_t y)
{
    const uint8_t* p = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
    return {p[0], p[1], p[2]};
}

// The neutral grey of a surface under a light that meets it at that cosine, after ambient 0.3.
Pixel grey(double cosine)
{
    int value = static_cast<int>(std::lround(0.8 * (0.3 + 0.7 * cosine) * 255));
    return {value, value, value};
}

const Pixel kSky = {ScnTools::kBackground[0], ScnTools::kBackground[1], ScnTools::kBackground[2]};

ScnTools::Picture render(const SceneSketch& sketch, const std::string& name, const std::string& options = "--size 64x48")
{
    std::string scene = file(name + ".scn");
    std::string png = file(name + ".png");
    save(sketch, scene);
    ToolResult run = scntool("render " + scene + " " + png + " " + options);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ScnTools::Picture picture;
    std::string error;
    EXPECT_TRUE(ScnTools::readPng(png, picture, error)) << error;
    return picture;
}

// A plate behind the window, tilted towards the sun so that its shade differs from the wall's.
SceneSketch::Face tiltedPlate()
{
    SceneSketch::Face plate;
    plate.outer = {{-100, 200, -100}, {100, 200, -100}, {100, 400, 100}, {-100, 400, 100}};
    plate.material = 1;
    return plate;
}

TEST(SceneRender, DrawsWallsHolesAndWhatLiesBehindThem)
{
    SceneSketch sketch;
    sketch.faces = {wall(0, 400, 100), tiltedPlate()};
    ScnTools::Picture picture = render(sketch, "window");
    ASSERT_EQ(picture.width, 64u);
    ASSERT_EQ(picture.height, 48u);
    EXPECT_EQ(at(picture, 0, 0), kSky);
    EXPECT_EQ(at(picture, 63, 47), kSky);
    // The wall is vertical: the sun overhead only grazes it.
    EXPECT_EQ(at(picture, 20, 14), grey(0));
    // Through the window: the plate, at 45 degrees to the sun.
    EXPECT_EQ(at(picture, 32, 24), grey(std::sqrt(0.5)));

    sketch.faces = {wall(0, 400, 100)};
    picture = render(sketch, "open-window");
    EXPECT_EQ(at(picture, 32, 24), kSky);
    EXPECT_EQ(at(picture, 20, 14), grey(0));

    // The plate in front of the wall hides the wall, whatever order the polygons come in.
    SceneSketch::Face front = tiltedPlate();
    for (CScnVector& c : front.outer) {
        c.y -= 500;
    }
    sketch.faces = {front, wall(0, 400)};
    picture = render(sketch, "plate-in-front");
    EXPECT_EQ(at(picture, 32, 24), grey(std::sqrt(0.5)));
    sketch.faces = {wall(0, 400), front};
    EXPECT_EQ(at(render(sketch, "plate-in-front-later"), 32, 24), grey(std::sqrt(0.5)));
}

TEST(SceneRender, HonoursRollFocalAndTheAutomaticView)
{
    // A small wall right of the line of sight.
    SceneSketch sketch;
    SceneSketch::Face right;
    right.outer = {{300, 0, -100}, {500, 0, -100}, {500, 0, 100}, {300, 0, 100}};
    sketch.faces = {right};
    ScnTools::Picture straight = render(sketch, "straight");
    EXPECT_EQ(at(straight, 52, 24), grey(0));
    EXPECT_EQ(at(straight, 32, 40), kSky);
    // Turning the camera a quarter turn about its line of sight brings it below the centre.
    sketch.roll = 1.5707963267948966;
    ScnTools::Picture rolled = render(sketch, "rolled");
    EXPECT_EQ(at(rolled, 52, 24), kSky);
    EXPECT_EQ(at(rolled, 32, 44), grey(0));
    // A narrower angle of view pushes it out of the picture.
    sketch.roll = 0;
    sketch.focal = 10;
    ScnTools::Picture narrow = render(sketch, "narrow");
    EXPECT_EQ(at(narrow, 52, 24), kSky);
    // The automatic view ignores the camera and frames the whole box at the centre.
    ScnTools::Picture automatic = render(sketch, "automatic", "--auto --size 64x48");
    EXPECT_NE(at(automatic, 32, 24), kSky);
    EXPECT_EQ(at(automatic, 0, 0), kSky);
    // Without a sun the default light falls on the wall from the front.
    sketch.sun = false;
    sketch.focal = 60;
    EXPECT_NE(at(render(sketch, "default-light"), 52, 24), grey(0));
}

// One instance turns the component, a square wall, 45 degrees about x (leaning back, towards the
// sun above) and moves it right; another doubles it and moves it left. The scene has no geometry of its
// own, as a file written layer by layer.
TEST(SceneRender, DrawsInternalComponentsWhereTheirInstancesStand)
{
    SceneSketch sketch;
    save(sketch, file("instances.scn"));
    CScnMgr* scene = CScnMgr::create(nullptr, nullptr);
    {
        std::unique_ptr<ScnTools::FileStream> in(ScnTools::FileStream::open(file("instances.scn"), "rb"));
        ASSERT_EQ(scene->read(in.get()), 0);
    }
    NvScn::IScnInternalComponentDefinition* component =
        scene->getInternalComponentDefinitions()->newScnObject(NvScn::kScnLastIndex);
    const CScnVector corners[4] = {{-100, 0, -100}, {100, 0, -100}, {100, 0, 100}, {-100, 0, 100}};
    NvScn::CScnPolygon* square = component->getPolygons()->newScnObject(NvScn::kScnLastIndex);
    for (int32_t i = 0; i < 4; ++i) {
        *component->getPoints()->newScnObject(NvScn::kScnLastIndex) = corners[i];
        square->getVertices()->newScnObject(NvScn::kScnLastIndex)->pointIndex = i;
    }
    const CScnVector translations[2] = {{400, 0, 0}, {-400, 0, 0}};
    const CScnVector rotations[2] = {{-45, 0, 0}, {0, 0, 0}};
    const CScnVector scales[2] = {{1, 1, 1}, {2, 2, 2}};
    for (int i = 0; i < 2; ++i) {
        NvScn::IScnObjectInstance* instance = scene->getObjectInstances()->newScnObject(NvScn::kScnLastIndex);
        instance->setAttachedObject(component->getUUID());
        instance->setTranslation(&translations[i]);
        instance->setRotation(&rotations[i]);
        instance->setScale(&scales[i]);
    }
    {
        std::unique_ptr<ScnTools::FileStream> out(ScnTools::FileStream::open(file("instances.scn"), "wb"));
        ASSERT_EQ(scene->write(out.get()), 0);
    }
    scene->release();

    ToolResult run = scntool("render " + file("instances.scn") + " " + file("instances.png") + " --size 64x48");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ScnTools::Picture picture;
    std::string error;
    ASSERT_TRUE(ScnTools::readPng(file("instances.png"), picture, error)) << error;
    // Where the component itself stands nothing is drawn.
    EXPECT_EQ(at(picture, 32, 24), kSky);
    EXPECT_EQ(at(picture, 52, 24), grey(std::sqrt(0.5)));
    EXPECT_EQ(at(picture, 10, 24), grey(0));
    // Only the doubled square reaches this high.
    EXPECT_EQ(at(picture, 10, 16), grey(0));
    EXPECT_EQ(at(picture, 52, 16), kSky);

    // The automatic view frames the placed squares; framing the component where it stands would
    // leave them out of the picture.
    run = scntool("render " + file("instances.scn") + " " + file("instances-auto.png") + " --auto --size 64x48");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(ScnTools::readPng(file("instances-auto.png"), picture, error)) << error;
    int drawn = 0;
    for (uint32_t y = 0; y < picture.height; ++y) {
        for (uint32_t x = 0; x < picture.width; ++x) {
            drawn += at(picture, x, y) != kSky;
        }
    }
    EXPECT_GT(drawn, 64 * 48 / 20);
}

// A fold seen from the front: the lower face leans back towards the sun above, the upper one
// leans forward, away from it. Smoothed, the lower face darkens towards the fold, where the
// corners' normal is the mean of both faces' and meets the sun at a right angle.
TEST(SceneRender, ShadesSmoothedPolygonsFromTheirCornersNormals)
{
    SceneSketch::Face lower;
    lower.outer = {{-200, -100, -100}, {200, -100, -100}, {200, 0, 0}, {-200, 0, 0}};
    SceneSketch::Face upper;
    upper.outer = {{-200, 0, 0}, {200, 0, 0}, {200, -100, 100}, {-200, -100, 100}};
    SceneSketch sketch;
    sketch.faces = {lower, upper};
    sketch.sharedPoints = true;
    ScnTools::Picture flat = render(sketch, "fold-flat");
    EXPECT_EQ(at(flat, 32, 27), grey(std::sqrt(0.5)));
    EXPECT_EQ(at(flat, 32, 21), grey(0));

    for (SceneSketch::Face& face : sketch.faces) {
        face.smoothed = true;
    }
    ScnTools::Picture smooth = render(sketch, "fold-smooth");
    Pixel between = at(smooth, 32, 27);
    EXPECT_GT(between.red, grey(0).red + 20) << between;
    EXPECT_LT(between.red, grey(std::sqrt(0.5)).red - 20) << between;
    EXPECT_EQ(between.red, between.blue);
    // Near the bottom edge only the lower face counts; the upper face stays dark all over.
    EXPECT_GT(at(smooth, 32, 29).red, between.red);
    EXPECT_LE(at(smooth, 32, 21).red, grey(0).red + 1);
    EXPECT_EQ(at(smooth, 0, 0), kSky);
}

TEST(ScenePreview, SavesTheStoredPreviewPixels)
{
    SceneSketch sketch;
    sketch.faces = {wall(0, 10)};
    sketch.preview = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00123456u, 0x00FFFFFFu, 0, 0x00808080u, 0x00010203u};
    save(sketch, file("preview.scn"));
    ToolResult run = scntool("preview " + file("preview.scn") + " " + file("preview.png"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ScnTools::Picture picture;
    std::string error;
    ASSERT_TRUE(ScnTools::readPng(file("preview.png"), picture, error)) << error;
    ASSERT_EQ(picture.width, 4u);
    ASSERT_EQ(picture.height, 2u);
    std::vector<Pixel> pixels;
    for (uint32_t i = 0; i < 8; ++i) {
        pixels.push_back(at(picture, i % 4, i / 4));
    }
    EXPECT_EQ(pixels, (std::vector<Pixel>{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {0x12, 0x34, 0x56},
                                          {255, 255, 255}, {0, 0, 0}, {128, 128, 128}, {1, 2, 3}}));
}

struct Gltf {
    json document;
    std::string binary;
};

std::vector<float> floats(const Gltf& gltf, int accessor)
{
    const json& a = gltf.document["accessors"][accessor];
    const json& view = gltf.document["bufferViews"][a["bufferView"].get<int>()];
    size_t width = a["type"] == "VEC3" ? 3 : (a["type"] == "VEC2" ? 2 : 1);
    std::vector<float> values(a["count"].get<size_t>() * width);
    std::memcpy(values.data(), gltf.binary.data() + view["byteOffset"].get<size_t>(), values.size() * sizeof(float));
    return values;
}

std::vector<uint32_t> indices(const Gltf& gltf, int accessor)
{
    const json& a = gltf.document["accessors"][accessor];
    const json& view = gltf.document["bufferViews"][a["bufferView"].get<int>()];
    std::vector<uint32_t> values(a["count"].get<size_t>());
    std::memcpy(values.data(), gltf.binary.data() + view["byteOffset"].get<size_t>(), values.size() * 4);
    return values;
}

Gltf readGlb(const std::string& path)
{
    std::string bytes = slurp(path);
    Gltf gltf;
    auto word = [&bytes](size_t at) {
        uint32_t value = 0;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    };
    EXPECT_GE(bytes.size(), 20u);
    EXPECT_EQ(word(0), 0x46546C67u);
    EXPECT_EQ(word(4), 2u);
    EXPECT_EQ(word(8), bytes.size());
    uint32_t jsonSize = word(12);
    EXPECT_EQ(word(16), 0x4E4F534Au);
    gltf.document = json::parse(bytes.substr(20, jsonSize));
    size_t binAt = 20 + jsonSize;
    EXPECT_EQ(word(binAt + 4), 0x004E4942u);
    gltf.binary = bytes.substr(binAt + 8, word(binAt));
    return gltf;
}

TEST(SceneGltf, ExportsMeshesByMaterialInMetresWithCameras)
{
    SceneSketch sketch;
    sketch.faces = {wall(0, 200, 50), tiltedPlate()};
    save(sketch, file("export.scn"));
    ToolResult run = scntool("gltf " + file("export.scn") + " " + file("export.glb"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    Gltf glb = readGlb(file("export.glb"));
    run = scntool("gltf " + file("export.scn") + " " + file("export.gltf"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Gltf text{json::parse(slurp(file("export.gltf"))), slurp(file("export.bin"))};
    // Both containers hold the same document; only the text form names its binary file.
    EXPECT_EQ(text.document["buffers"][0]["uri"], "export.bin");
    text.document["buffers"][0].erase("uri");
    EXPECT_EQ(text.document, glb.document);
    EXPECT_EQ(text.binary, glb.binary);

    const json& d = glb.document;
    EXPECT_EQ(d["asset"]["version"], "2.0");
    ASSERT_EQ(d["meshes"].size(), 2u);
    // The wall: 4 m square, its window 1 m square, at y = 0 (glTF z = 0), seen from glTF +z.
    double areas[2] = {0, 0};
    for (int m = 0; m < 2; ++m) {
        const json& primitive = d["meshes"][m]["primitives"][0];
        std::vector<float> positions = floats(glb, primitive["attributes"]["POSITION"]);
        std::vector<float> normals = floats(glb, primitive["attributes"]["NORMAL"]);
        std::vector<uint32_t> triangles = indices(glb, primitive["indices"]);
        ASSERT_EQ(positions.size(), normals.size());
        for (size_t t = 0; t < triangles.size(); t += 3) {
            const float* a = &positions[triangles[t] * 3];
            const float* b = &positions[triangles[t + 1] * 3];
            const float* c = &positions[triangles[t + 2] * 3];
            double ux = b[0] - a[0], uy = b[1] - a[1], uz = b[2] - a[2];
            double vx = c[0] - a[0], vy = c[1] - a[1], vz = c[2] - a[2];
            double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            areas[m] += 0.5 * std::sqrt(nx * nx + ny * ny + nz * nz);
            const float* n = &normals[triangles[t] * 3];
            // Triangles turn about the normal they carry.
            EXPECT_GT(nx * n[0] + ny * n[1] + nz * n[2], 0);
        }
        if (m == 0) {
            EXPECT_EQ(positions, (std::vector<float>{-2, -2, 0, 2, -2, 0, 2, 2, 0, -2, 2, 0, -0.5f, -0.5f, 0,
                                                     -0.5f, 0.5f, 0, 0.5f, 0.5f, 0, 0.5f, -0.5f, 0}));
            EXPECT_EQ(normals[0], 0);
            EXPECT_EQ(normals[1], 0);
            EXPECT_FLOAT_EQ(std::fabs(normals[2]), 1);
            EXPECT_EQ(primitive["attributes"]["POSITION"], 0);
            EXPECT_EQ(d["accessors"][0]["min"], json({-2, -2, 0}));
            EXPECT_EQ(d["accessors"][0]["max"], json({2, 2, 0}));
        }
    }
    EXPECT_NEAR(areas[0], 16 - 1, 1e-5);
    EXPECT_NEAR(areas[1], 2 * std::sqrt(8.0), 1e-5);
    // Materials without colour of their own look neutral grey and opaque.
    ASSERT_EQ(d["materials"].size(), 2u);
    EXPECT_EQ(d["materials"][0]["pbrMetallicRoughness"]["baseColorFactor"], json({0.8f, 0.8f, 0.8f, 1.0}));
    EXPECT_EQ(d["materials"][0]["doubleSided"], true);
    // The view: 10 m in front of the wall, looking at it along glTF -z.
    ASSERT_EQ(d["cameras"].size(), 1u);
    EXPECT_EQ(d["cameras"][0]["name"], "Front");
    EXPECT_EQ(d["cameras"][0]["type"], "perspective");
    const json* cameraNode = nullptr;
    for (const json& node : d["nodes"]) {
        if (node.contains("camera")) {
            cameraNode = &node;
        }
    }
    ASSERT_NE(cameraNode, nullptr);
    EXPECT_EQ((*cameraNode)["translation"], json({0, 0, 10}));
    std::vector<double> q = (*cameraNode)["rotation"];
    EXPECT_NEAR(std::fabs(q[3]), 1, 1e-9);
    // The sun overhead shines straight down: its node turns local -z onto glTF -y.
    ASSERT_EQ(d["extensions"]["KHR_lights_punctual"]["lights"].size(), 1u);
    EXPECT_EQ(d["extensionsUsed"], json({"KHR_lights_punctual"}));
}

// A 2 x 2 picture: red and green on top, blue and white below.
ScnTools::Picture quadrants()
{
    ScnTools::Picture picture;
    picture.width = 2;
    picture.height = 2;
    picture.rgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    return picture;
}

void writeTiff(const std::string& path, const ScnTools::Picture& picture)
{
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 4);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    uint16_t extra = EXTRASAMPLE_ASSOCALPHA;
    TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    for (uint32_t row = 0; row < picture.height; ++row) {
        TIFFWriteScanline(tiff, const_cast<uint8_t*>(&picture.rgba[row * picture.width * 4]), row, 0);
    }
    TIFFClose(tiff);
}

bool near(const Pixel& a, const Pixel& b)
{
    return std::abs(a.red - b.red) <= 1 && std::abs(a.green - b.green) <= 1 && std::abs(a.blue - b.blue) <= 1;
}

// A damaged file may name a material with bytes that are not UTF-8; the glTF still comes out, the
// bytes written as U+FFFD.
TEST(SceneGltf, WritesNamesThatAreNoUtf8AsReplacementCharacters)
{
    SceneSketch sketch;
    sketch.faces = {wall(0, 200, 50)};
    sketch.materials[0].name = "Br\xE9que \xFF";
    save(sketch, file("latin.scn"));
    ToolResult run = scntool("gltf " + file("latin.scn") + " " + file("latin.glb"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Gltf gltf = readGlb(file("latin.glb"));
    EXPECT_EQ(gltf.document["materials"][0]["name"], "Br\xEF\xBF\xBDque \xEF\xBF\xBD");
}

TEST(SceneMaterials, ColourTransparencyAndTexturesFromTheFacade)
{
    SceneSketch sketch;
    sketch.faces = {wall(0, 400, 100), tiltedPlate()};
    sketch.materials[0].colored = true;
    sketch.materials[0].diffuse = {0, 200, 100, 50};
    sketch.materials[1].colored = true;
    sketch.materials[1].diffuse = {0, 0, 0, 255};
    ScnTools::Picture picture = render(sketch, "coloured");
    // Wall lit by ambient light only; the plate at 45 degrees to the sun.
    EXPECT_TRUE(near(at(picture, 20, 14), {60, 30, 15})) << at(picture, 20, 14);
    double plate = 0.3 + 0.7 * std::sqrt(0.5);
    EXPECT_TRUE(near(at(picture, 32, 24), {0, 0, static_cast<int>(std::lround(255 * plate))})) << at(picture, 32, 24);

    // A see-through wall in front of the plate mixes the two.
    sketch.materials[0].transparency = 0.5;
    sketch.faces = {tiltedPlate(), wall(0, 400)};
    picture = render(sketch, "see-through");
    Pixel mixed = {static_cast<int>(std::lround(0.5 * 60)), static_cast<int>(std::lround(0.5 * 30)),
                   static_cast<int>(std::lround(0.5 * 15 + 0.5 * 255 * plate))};
    EXPECT_TRUE(near(at(picture, 32, 24), mixed)) << at(picture, 32, 24);
    // Beside the plate, the sky shows through the wall.
    Pixel sky = {static_cast<int>(std::lround(0.5 * 60 + 0.5 * kSky.red)),
                 static_cast<int>(std::lround(0.5 * 30 + 0.5 * kSky.green)),
                 static_cast<int>(std::lround(0.5 * 15 + 0.5 * kSky.blue))};
    EXPECT_TRUE(near(at(picture, 20, 14), sky)) << at(picture, 20, 14);

    // A texture found in its folder beside the scene, though its reference names another place.
    std::filesystem::create_directories(file("site_Textures"));
    std::string error;
    ASSERT_TRUE(ScnTools::writePng(file("site_Textures/quadrants.png"), quadrants(), error)) << error;
    sketch.materials[0] = SceneSketch::Material();
    sketch.materials[0].texture = "file:///C|/Projects/site_Textures/quadrants.png";
    sketch.mapped = true;
    sketch.faces = {wall(0, 400)};
    picture = render(sketch, "textured");
    EXPECT_TRUE(near(at(picture, 22, 16), {77, 0, 0})) << at(picture, 22, 16);
    EXPECT_TRUE(near(at(picture, 42, 16), {0, 77, 0})) << at(picture, 42, 16);
    EXPECT_TRUE(near(at(picture, 22, 32), {0, 0, 77})) << at(picture, 22, 32);
    EXPECT_TRUE(near(at(picture, 42, 32), {77, 77, 77})) << at(picture, 42, 32);
    // TIFF textures, as the export writes them, read the same.
    writeTiff(file("site_Textures/quadrants.tif"), quadrants());
    sketch.materials[0].texture = "file:///C|/Projects/site_Textures/quadrants.tif";
    picture = render(sketch, "textured-tiff");
    EXPECT_TRUE(near(at(picture, 22, 16), {77, 0, 0})) << at(picture, 22, 16);
    EXPECT_TRUE(near(at(picture, 42, 32), {77, 77, 77})) << at(picture, 42, 32);

    // A texture that is nowhere: the colour is used and the user is told.
    sketch.materials[0].texture = "file:///nowhere/gone.tif";
    save(sketch, file("untextured.scn"));
    ToolResult run = scntool("render " + file("untextured.scn") + " " + file("untextured.png") + " --size 64x48");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "scntool: warning: the texture file:///nowhere/gone.tif is not beside " + file("untextured.scn") +
                           "; its colour is used\n");
    run = scntool("gltf " + file("untextured.scn") + " " + file("untextured.glb"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "scntool: warning: the texture file:///nowhere/gone.tif is not beside " + file("untextured.scn") +
                           "; its colour is used\n");
    EXPECT_FALSE(readGlb(file("untextured.glb")).document.contains("images"));
}

TEST(SceneMaterials, ExportsColoursTransparencyAndEmbeddedTextures)
{
    std::filesystem::create_directories(file("export_Textures"));
    writeTiff(file("export_Textures/quadrants.tif"), quadrants());
    SceneSketch sketch;
    sketch.faces = {wall(0, 400), tiltedPlate()};
    sketch.mapped = true;
    sketch.materials[0].colored = true;
    sketch.materials[0].diffuse = {0, 255, 51, 0};
    sketch.materials[0].transparency = 0.2;
    sketch.materials[1].texture = "export_Textures/quadrants.tif";
    save(sketch, file("materials.scn"));
    ToolResult run = scntool("gltf " + file("materials.scn") + " " + file("materials.glb"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Gltf glb = readGlb(file("materials.glb"));
    const json& d = glb.document;
    ASSERT_EQ(d["materials"].size(), 2u);
    json pbr = d["materials"][0]["pbrMetallicRoughness"];
    std::vector<double> colour = pbr["baseColorFactor"];
    ASSERT_EQ(colour.size(), 4u);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[1], 0.2f);
    EXPECT_FLOAT_EQ(colour[2], 0.0f);
    EXPECT_NEAR(colour[3], 0.8, 0.003);
    EXPECT_EQ(d["materials"][0]["alphaMode"], "BLEND");
    EXPECT_FALSE(d["materials"][1].contains("alphaMode"));
    EXPECT_EQ(d["materials"][1]["pbrMetallicRoughness"]["baseColorTexture"]["index"], 0);
    ASSERT_EQ(d["images"].size(), 1u);
    EXPECT_EQ(d["images"][0]["mimeType"], "image/png");
    const json& view = d["bufferViews"][d["images"][0]["bufferView"].get<int>()];
    std::string png = glb.binary.substr(view["byteOffset"].get<size_t>(), view["byteLength"].get<size_t>());
    std::string decoded = file("embedded.png");
    std::ofstream(decoded, std::ios::binary) << png;
    ScnTools::Picture picture;
    std::string error;
    ASSERT_TRUE(ScnTools::readPng(decoded, picture, error)) << error;
    EXPECT_EQ(picture.rgba, quadrants().rgba);
    // Mapping coordinates count v from the top of the image.
    const json& primitive = d["meshes"][0]["primitives"][0];
    EXPECT_EQ(floats(glb, primitive["attributes"]["TEXCOORD_0"]), (std::vector<float>{0, 1, 1, 1, 1, 0, 0, 0}));
}

TEST(SceneGltf, PlacesInternalComponentsWhereTheirInstancesStand)
{
    SceneSketch sketch;
    sketch.faces = {wall(0, 10)};
    save(sketch, file("placed.scn"));
    // Add a component, a 1 m square on the ground, and two instances of it, one turned a quarter
    // turn about the vertical and doubled.
    CScnMgr* scene = CScnMgr::create(nullptr, nullptr);
    {
        std::unique_ptr<ScnTools::FileStream> in(ScnTools::FileStream::open(file("placed.scn"), "rb"));
        ASSERT_EQ(scene->read(in.get()), 0);
    }
    NvScn::IScnInternalComponentDefinition* component =
        scene->getInternalComponentDefinitions()->newScnObject(NvScn::kScnLastIndex);
    const CScnVector corners[4] = {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
    NvScn::CScnPolygon* square = component->getPolygons()->newScnObject(NvScn::kScnLastIndex);
    for (int32_t i = 0; i < 4; ++i) {
        *component->getPoints()->newScnObject(NvScn::kScnLastIndex) = corners[i];
        square->getVertices()->newScnObject(NvScn::kScnLastIndex)->pointIndex = i;
    }
    const CScnVector translations[2] = {{500, 0, 0}, {0, 300, 50}};
    const CScnVector rotations[2] = {{0, 0, 0}, {0, 0, 90}};
    const CScnVector scales[2] = {{1, 1, 1}, {2, 2, 2}};
    for (int i = 0; i < 2; ++i) {
        NvScn::IScnObjectInstance* instance = scene->getObjectInstances()->newScnObject(NvScn::kScnLastIndex);
        instance->setName(i == 0 ? "Plain" : "Turned");
        instance->setAttachedObject(component->getUUID());
        instance->setTranslation(&translations[i]);
        instance->setRotation(&rotations[i]);
        instance->setScale(&scales[i]);
    }
    {
        std::unique_ptr<ScnTools::FileStream> out(ScnTools::FileStream::open(file("placed.scn"), "wb"));
        ASSERT_EQ(scene->write(out.get()), 0);
    }
    scene->release();

    ToolResult run = scntool("gltf " + file("placed.scn") + " " + file("placed.glb"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    Gltf glb = readGlb(file("placed.glb"));
    const json& d = glb.document;
    ASSERT_EQ(d["meshes"].size(), 2u);
    EXPECT_EQ(floats(glb, d["meshes"][1]["primitives"][0]["attributes"]["POSITION"]),
              (std::vector<float>{0, 0, 0, 1, 0, 0, 1, 0, -1, 0, 0, -1}));
    std::vector<const json*> placed;
    for (const json& node : d["nodes"]) {
        if (node.contains("mesh") && node["mesh"] == 1) {
            placed.push_back(&node);
        }
    }
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ((*placed[0])["name"], "Plain");
    EXPECT_EQ((*placed[0])["translation"], json({5, 0, -0.0}));
    EXPECT_EQ((*placed[0])["rotation"], json({0, 0, 0, 1}));
    EXPECT_EQ((*placed[1])["name"], "Turned");
    EXPECT_EQ((*placed[1])["translation"], json({0, 0.5, -3}));
    EXPECT_EQ((*placed[1])["scale"], json({2, 2, 2}));
    // A quarter turn about the scene's vertical is one about glTF y.
    std::vector<double> q = (*placed[1])["rotation"];
    ASSERT_EQ(q.size(), 4u);
    EXPECT_NEAR(q[0], 0, 1e-12);
    EXPECT_NEAR(q[1], std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(q[2], 0, 1e-12);
    EXPECT_NEAR(q[3], std::sqrt(0.5), 1e-12);
}

// The fold of the smoothed render test, exported: which faces are smoothed, and the normals that
// the eight corners (lower face, then upper, each from its outer edge to the fold and back) carry.
struct FoldNormalsCase {
    const char* name;
    bool lowerSmoothed;
    bool upperSmoothed;
    std::vector<float> normals;
};

void PrintTo(const FoldNormalsCase& c, std::ostream* out) { *out << c.name; }

class SceneGltfFold : public testing::TestWithParam<FoldNormalsCase> {};

TEST_P(SceneGltfFold, SmoothedCornersCarryTheirPointsNormals)
{
    SceneSketch::Face lower;
    lower.outer = {{-200, -100, -100}, {200, -100, -100}, {200, 0, 0}, {-200, 0, 0}};
    lower.smoothed = GetParam().lowerSmoothed;
    SceneSketch::Face upper;
    upper.outer = {{-200, 0, 0}, {200, 0, 0}, {200, -100, 100}, {-200, -100, 100}};
    upper.smoothed = GetParam().upperSmoothed;
    SceneSketch sketch;
    sketch.faces = {lower, upper};
    sketch.sharedPoints = true;
    save(sketch, file("fold.scn"));
    ToolResult run = scntool("gltf " + file("fold.scn") + " " + file("fold.glb"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Gltf glb = readGlb(file("fold.glb"));
    ASSERT_EQ(glb.document["meshes"].size(), 1u);
    const json& primitive = glb.document["meshes"][0]["primitives"][0];
    EXPECT_EQ(floats(glb, primitive["attributes"]["POSITION"]),
              (std::vector<float>{-2, -1, 1, 2, -1, 1, 2, 0, 0, -2, 0, 0, -2, 0, 0, 2, 0, 0, 2, 1, 1, -2, 1, 1}));
    std::vector<float> normals = floats(glb, primitive["attributes"]["NORMAL"]);
    ASSERT_EQ(normals.size(), GetParam().normals.size());
    for (size_t i = 0; i < normals.size(); ++i) {
        EXPECT_NEAR(normals[i], GetParam().normals[i], 1e-6) << "value " << i;
    }
}

constexpr float kHalf = 0.70710678f;

INSTANTIATE_TEST_SUITE_P(
    Faces, SceneGltfFold,
    testing::Values(
        FoldNormalsCase{"flat", false, false,
                        {0, kHalf, kHalf, 0, kHalf, kHalf, 0, kHalf, kHalf, 0, kHalf, kHalf,
                         0, -kHalf, kHalf, 0, -kHalf, kHalf, 0, -kHalf, kHalf, 0, -kHalf, kHalf}},
        // The fold's points are shared: their normal is the mean of both faces'.
        FoldNormalsCase{"both smoothed", true, true,
                        {0, kHalf, kHalf, 0, kHalf, kHalf, 0, 0, 1, 0, 0, 1,
                         0, 0, 1, 0, 0, 1, 0, -kHalf, kHalf, 0, -kHalf, kHalf}},
        // A flat neighbour does not bend a smoothed face's normals.
        FoldNormalsCase{"lower smoothed", true, false,
                        {0, kHalf, kHalf, 0, kHalf, kHalf, 0, kHalf, kHalf, 0, kHalf, kHalf,
                         0, -kHalf, kHalf, 0, -kHalf, kHalf, 0, -kHalf, kHalf, 0, -kHalf, kHalf}}),
    [](const testing::TestParamInfo<FoldNormalsCase>& info) {
        std::string name = info.param.name;
        for (char& c : name) {
            c = c == ' ' ? '_' : c;
        }
        return name;
    });

struct RefusalCase {
    const char* name;
    SceneSketch scene;
    std::string command;  // with {scene} and {out} for the two paths
    int exitCode;
    std::string err;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

std::string fill(std::string text, const std::string& scene, const std::string& out)
{
    for (size_t at; (at = text.find("{scene}")) != std::string::npos;) {
        text.replace(at, 7, scene);
    }
    for (size_t at; (at = text.find("{out}")) != std::string::npos;) {
        text.replace(at, 5, out);
    }
    return text;
}

class SceneCommandRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(SceneCommandRefusal, NamesTheFileAndTheProblem)
{
    const RefusalCase& c = GetParam();
    std::string scene = file(std::string(c.name) + ".scn");
    std::string out = file(std::string(c.name) + ".out");
    save(c.scene, scene);
    ToolResult run = scntool(fill(c.command, scene, out));
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, fill(c.err, scene, out));
    if (c.exitCode != 0) {
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

SceneSketch withFaces(std::vector<SceneSketch::Face> faces, bool camera = true)
{
    SceneSketch sketch;
    sketch.faces = std::move(faces);
    sketch.camera = camera;
    return sketch;
}

SceneSketch::Face sliver()
{
    SceneSketch::Face face;
    face.outer = {{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {5, 0, 0}};
    return face;
}

const char* const kRenderUsage = "usage: scntool render FILE OUT.png [--view NAME|--auto] [--size WxH]\n";

INSTANTIATE_TEST_SUITE_P(
    BadInput, SceneCommandRefusal,
    testing::Values(
        RefusalCase{"no_view", withFaces({wall(0, 10)}, false), "render {scene} {out}", 1,
                    "scntool: {scene} has no perspective view (use --auto)\n"},
        RefusalCase{"no_view_of_that_name", withFaces({wall(0, 10)}), "render {scene} {out} --view Back", 1,
                    "scntool: {scene} has no perspective view named \"Back\"\n"},
        RefusalCase{"empty_scene", withFaces({}), "render {scene} {out} --auto", 1, "scntool: {scene} has no polygon to draw\n"},
        RefusalCase{"empty_scene_export", withFaces({}), "gltf {scene} {out}.glb", 1,
                    "scntool: {scene} has no polygon to export\n"},
        RefusalCase{"only_polygons_without_area", withFaces({sliver(), sliver()}), "render {scene} {out}", 1,
                    "scntool: warning: 2 polygons of {scene} have no area; they are left out\n"
                    "scntool: {scene} has no polygon with an area to draw\n"},
        RefusalCase{"polygons_without_area_beside_others", withFaces({sliver(), wall(0, 10)}), "render {scene} {out}", 0,
                    "scntool: warning: 1 polygons of {scene} have no area; they are left out\n"},
        RefusalCase{"output_that_cannot_be_written", withFaces({wall(0, 10)}), "render {scene} /nonexistent/folder/x.png",
                    1, "scntool: cannot write /nonexistent/folder/x.png: No such file or directory\n"},
        RefusalCase{"export_that_cannot_be_written", withFaces({wall(0, 10)}), "gltf {scene} /nonexistent/x.glb", 1,
                    "scntool: cannot write /nonexistent/x.glb: No such file or directory\n"},
        RefusalCase{"no_preview", withFaces({wall(0, 10)}), "preview {scene} {out}", 1, "scntool: {scene} has no preview image\n"},
        RefusalCase{"bad_size", withFaces({wall(0, 10)}), "render {scene} {out} --size 0x10", 2,
                    std::string("scntool render: the size must be WIDTHxHEIGHT, each from 1 to 8192\n") + kRenderUsage},
        RefusalCase{"view_and_auto", withFaces({wall(0, 10)}), "render {scene} {out} --auto --view Front", 2,
                    std::string("scntool render: --view and --auto exclude each other\n") + kRenderUsage},
        RefusalCase{"unknown_option", withFaces({wall(0, 10)}), "render {scene} {out} --fast", 2,
                    std::string("scntool render: unknown option --fast\n") + kRenderUsage},
        RefusalCase{"export_kind", withFaces({wall(0, 10)}), "gltf {scene} {out}.obj", 2,
                    "scntool gltf: the output must end in .glb or .gltf\nusage: scntool gltf FILE OUT.glb|OUT.gltf\n"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(SceneCommandRefusal, RefusesFilesThatAreNoScenes)
{
    std::string junk = file("junk.scn");
    std::ofstream(junk) << "<?Scn nothing?>\n<Scn.File/>\n";
    std::string missing = file("missing.scn");
    const std::pair<std::string, std::string> cases[] = {
        {"render " + junk + " " + file("j.png"), "scntool: cannot read " + junk + "\n  Not a valid scn file\n"},
        {"gltf " + junk + " " + file("j.glb"), "scntool: cannot read " + junk + "\n  Not a valid scn file\n"},
        {"preview " + junk + " " + file("j.png"), "scntool: " + junk + " has no preview image\n"},
        {"render " + missing + " " + file("m.png"), "scntool: cannot open " + missing + ": No such file or directory\n"},
        {"preview " + missing + " " + file("m.png"), "scntool: cannot open " + missing + ": No such file or directory\n"},
    };
    for (const auto& c : cases) {
        ToolResult run = scntool(c.first);
        EXPECT_EQ(run.exitCode, 1) << c.first;
        EXPECT_EQ(run.err, c.second) << c.first;
    }
}

}  // namespace

namespace {

struct DamageCase {
    const char* name;
    const char* block;  // the block whose first item is replaced
    const char* item;
    int exitCode;
    std::string err;  // with {scene}
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class SceneRenderDamage : public testing::TestWithParam<DamageCase> {};

// The points and the polygons are read side by side; a fault in either block ends the render as
// a single reader of the whole file would.
TEST_P(SceneRenderDamage, EndsAsOneReaderOfTheFileWould)
{
    const DamageCase& c = GetParam();
    std::string scene = file(std::string(c.name) + ".scn");
    std::string out = file(std::string(c.name) + ".png");
    save(withFaces({wall(0, 10), wall(100, 40), wall(200, 80)}), scene);
    std::string text = slurp(scene);
    size_t at = text.find(std::string("<") + c.block + "><![CDATA[");
    ASSERT_NE(at, std::string::npos);
    size_t second = text.find('\n', text.find('\n', at) + 1) + 1;
    text.replace(second, text.find('\n', second) - second, c.item);
    std::ofstream(scene, std::ios::binary) << text;
    ToolResult run = scntool("render " + scene + " " + out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, fill(c.err, scene, out));
    EXPECT_EQ(std::filesystem::exists(out), c.exitCode == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SceneRenderDamage,
    testing::Values(DamageCase{"points", "Points", "0.0 x 0.0", 1, "scntool: {scene} has no polygon to draw\n"},
                    DamageCase{"polygons", "Polygons", "p 0 4 0 x 2 3", 1, "scntool: {scene} has no polygon to draw\n"},
                    DamageCase{"polygon_naming_a_missing_point", "Polygons", "p 0 4 0 1 2 99", 0,
                               "scntool: warning: 1 polygons of {scene} name points that do not exist; they are left "
                               "out\n"}),
    [](const testing::TestParamInfo<DamageCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

struct PngCase {
    uint32_t width;
    uint32_t height;
    bool seeThrough;
};

void PrintTo(const PngCase& c, std::ostream* out) { *out << c.width << "x" << c.height << (c.seeThrough ? " rgba" : ""); }

class ScenePng : public testing::TestWithParam<PngCase> {};

// Large pictures are deflated in two halves side by side; every size reads back whole.
TEST_P(ScenePng, ReadsBackThePixelsItWrote)
{
    const PngCase& c = GetParam();
    ScnTools::Picture picture;
    picture.width = c.width;
    picture.height = c.height;
    uint32_t state = 12345;
    for (uint32_t i = 0; i < c.width * c.height; ++i) {
        // Runs of one colour broken by noise, as rendered pictures are.
        state = state * 1103515245u + 12345u;
        uint8_t value = (i / 7) % 3 == 0 ? static_cast<uint8_t>(state >> 24) : static_cast<uint8_t>(i / 50);
        picture.rgba.insert(picture.rgba.end(), {value, static_cast<uint8_t>(value ^ 0x5A), static_cast<uint8_t>(i),
                                                 static_cast<uint8_t>(c.seeThrough ? value : 255)});
    }
    std::string path = file("picture.png");
    std::string error;
    ASSERT_TRUE(ScnTools::writePng(path, picture, error)) << error;
    ScnTools::Picture back;
    ASSERT_TRUE(ScnTools::readPng(path, back, error)) << error;
    EXPECT_EQ(back.width, c.width);
    EXPECT_EQ(back.height, c.height);
    EXPECT_EQ(back.rgba, picture.rgba);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScenePng,
                         testing::Values(PngCase{1, 1, false}, PngCase{5, 63, false}, PngCase{17, 64, false},
                                         PngCase{300, 201, false}, PngCase{64, 64, true}, PngCase{1200, 900, true}));


// The head of a PNG file that states a size and holds no pixels.
std::string pngHead(uint32_t width, uint32_t height)
{
    auto big = [](uint32_t value) {
        return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                           static_cast<char>(value)};
    };
    std::string chunk = "IHDR" + big(width) + big(height) + std::string("\x08\x06\x00\x00\x00", 5);
    auto check = [&](const std::string& bytes) {
        return big(static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size())));
    };
    return std::string("\x89PNG\r\n\x1a\n", 8) + big(13) + chunk + check(chunk) + big(0) + "IDAT" + check("IDAT") +
           big(0) + "IEND" + check("IEND");
}

// A small file may state a picture of billions of pixels: it is refused before the pixels' memory
// is taken, by every reader.
TEST(SceneImages, AreRefusedWhenTheyStateTooManyPixels)
{
    const std::string png = file("huge.png");
    std::ofstream(png, std::ios::binary) << pngHead(10000, 8000);
    const std::string tiff = file("huge.tif");
    TIFF* out = TIFFOpen(tiff.c_str(), "w");
    ASSERT_NE(out, nullptr);
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, 30000u);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, 3000u);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, 3000u);
    std::vector<uint8_t> row(30000, 128);
    TIFFWriteScanline(out, row.data(), 0, 0);
    TIFFClose(out);
    const std::string refusal = " pixels; at most 67108864 are read)";
    ScnTools::Picture picture;
    std::string error;
    EXPECT_FALSE(ScnTools::readPng(png, picture, error));
    EXPECT_EQ(error, "the image is too large (10000 x 8000" + refusal);
    EXPECT_FALSE(ScnTools::readImageFile(png, picture, error));
    EXPECT_EQ(error, "the image is too large (10000 x 8000" + refusal);
    EXPECT_FALSE(ScnTools::readImageFile(tiff, picture, error));
    EXPECT_EQ(error, "the image is too large (30000 x 3000" + refusal);
    EXPECT_TRUE(picture.rgba.empty());
    // At the limit a picture is still read.
    std::ofstream(png, std::ios::binary) << pngHead(8192, 8192);
    EXPECT_FALSE(ScnTools::readPng(png, picture, error));
    EXPECT_EQ(error.find("too large"), std::string::npos) << error;
}

}  // namespace
