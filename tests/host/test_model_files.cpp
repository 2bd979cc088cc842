// Model files of every family the host reads, as the host sees them: elements by type, layers,
// bodies, polygons kept as the file has them, materials, textures, lights, cameras and the site.
#include "CADHost.h"
#include "Model.h"
#include "test_host_support.h"

#include <vector>

namespace {

struct FileCase {
    const char* name;
    std::string path;                 // '@' stands for the folder of the host's test models
    std::vector<std::string> lines;   // lines of what the host sees
    std::vector<std::string> warnings;
    cadhost::ModelOptions options = {};
};

std::string expand(std::string text)
{
    for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@')) {
        text.replace(at, 1, HOST_MODELS);
    }
    return text;
}

class ModelFiles : public HostFolderTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ModelFiles, ShowTheHostTheirModel)
{
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(expand(GetParam().path), GetParam().options, &error)) << error;
    const std::string seen = "\n" + cadhost::describeModel();
    for (const std::string& line : GetParam().lines) {
        EXPECT_NE(seen.find("\n" + expand(line) + "\n"), std::string::npos) << "no line\n" << expand(line) << "\nin" << seen;
    }
    std::vector<std::string> warnings;
    for (const std::string& warning : GetParam().warnings) {
        warnings.push_back(expand(warning));
    }
    EXPECT_EQ(cadhost::project().modelWarnings, warnings);
}

const std::string kFzk = ASSIMP_MODELS "/IFC/AC14-FZK-Haus.ifc";

INSTANTIATE_TEST_SUITE_P(Families, ModelFiles, ::testing::Values(
    FileCase{"IfcHouse", kFzk,
             {"elements          110 (walls 13, slabs 2, roofs 2, others 93)", "layers            3",
              "  layer 1         \"Gelände\", 1 elements", "  layer 2         \"0. Erdgeschoss\", 45 elements",
              "  layer 3         \"1. Dachgeschoss\", 64 elements",
              "bodies            294 (0 without polygons, 0 with texture coordinates)",
              "polygons          16037 (0 with holes, up to 113 edge entries)", "materials         11",
              "site              \"Gelände\", 52°31' N, 13°24' E, time zone 60 min",
              "north             90° from the x axis", "bounding box      -3 -3 -1 to 15 13 6.31769 m",
              "rendering         sun on, lights off, shadows on, atmosphere off"},
             {}},
    FileCase{"ObjWithMtl", "@/house.obj",
             {"elements          4 (walls 1, slabs 1, roofs 1, others 1)", "layers            4",
              "  layer 1         \"Wall_south\", 1 elements",
              "bodies            4 (0 without polygons, 1 with texture coordinates)", "vertices          17",
              "polygons          5 (0 with holes, up to 4 edge entries)",
              "  material 2      \"Brick\" surface 1 0.5 0.25 diffuse 80%, transparency 25%, shine 4000, emission 0, texture 1",
              "  material 3      \"Concrete\" surface 1 1 1 diffuse 60%, transparency 0%, shine 0, emission 20, texture 0",
              "  texture 1       \"bricks.png\" 2 x 2 pixels with alpha, 1 x 1 m, from @/bricks.png",
              "  texture 2       \"missing.png\" not available, 1 x 1 m, from @/missing.png",
              "  texture 3       \"corrupt.png\" not available, 1 x 1 m, from @/corrupt.png",
              "bounding box      0 0 0 to 4 3 4 m", "lights            0", "camera sets       0"},
             {"texture \"missing.png\" cannot be read from @/missing.png: No such file or directory",
              "texture \"corrupt.png\" cannot be read from @/corrupt.png: the image cannot be decoded (unknown image type)",
              "2 faces with fewer than three corners (points and lines) are left out"}},
    FileCase{"ObjInMillimetresZUp", "@/house.obj",
             {"format            Wavefront Object Importer, 0.001 m per unit, z up",
              "bounding box      0 0 -0.003 to 0.004 0.004 0 m"},
             {"texture \"missing.png\" cannot be read from @/missing.png: No such file or directory",
              "texture \"corrupt.png\" cannot be read from @/corrupt.png: the image cannot be decoded (unknown image type)",
              "2 faces with fewer than three corners (points and lines) are left out"},
             cadhost::ModelOptions{0.001, 'z'}},
    FileCase{"ColladaLightsAndCamera", "@/scene.dae",
             {"format            Collada Importer, 1 m per unit, y up", "bodies            1 (0 without polygons, 0 with texture coordinates)",
              "polygons          6 (0 with holes, up to 4 edge entries)", "normals           3",
              "  material 1      \"Red\" surface 1 0.125 0.125 diffuse 80%, transparency 0%, shine 2000, emission 0, texture 0",
              "lights            3",
              "  light 1         \"Lamp\" point (kind 1) at 0 0 3 towards 0 0 -1, colour 1 0.5 0.25",
              "  light 2         \"Spot\" spot (kind 2) at 1 1 4 towards 0 0 -1, colour 1 1 1",
              "  light 3         \"Sun\" parallel (kind 0) at 0 0 0 towards 0 0.707 -0.707, colour 1 1 0.9",
              "camera sets       1", "  camera set 1    \"Front\", 1 camera", "bounding box      2 0 0 to 3 1 1 m",
              "projection        perspective from 2.5 -10 0.5 to 2.5 0.5 0.5, view cone 60°, roll 0°",
              "rendering         sun on, lights on, shadows on, atmosphere off"},
             {"ambient light \"Sky\" is left out: the host has no ambient lamps"}},
    FileCase{"GlbWithEmbeddedImage", "@/quad.glb",
             {"elements          1 (walls 0, slabs 1, roofs 0, others 0)",
              "  texture 1       \"bricks\" 2 x 2 pixels with alpha, 1 x 1 m, from embedded in the file",
              "  material 1      \"Tiles\" surface 0.5 0.25 1 diffuse 100%, transparency 0%, shine 0, emission 0, texture 1",
              "  camera set 1    \"Eye\", 1 camera", "bounding box      0 2 0 to 1 2 1 m"},
             {}},
    FileCase{"GltfWithDataUri", "@/quad.gltf",
             {"bodies            1 (0 without polygons, 1 with texture coordinates)",
              "polygons          2 (0 with holes, up to 3 edge entries)",
              "  texture 1       \"bricks\" 2 x 2 pixels with alpha, 1 x 1 m, from embedded in the file"},
             {}},
    FileCase{"FbxWithEmbeddedTexture", ASSIMP_MODELS "/FBX/box_orphant_embedded_texture.fbx",
             {"format            Autodesk FBX Importer, 1 m per unit, y up",
              "polygons          6 (0 with holes, up to 4 edge entries)",
              "  texture 1       \"GridGrey.tga\" 256 x 256 pixels, 1 x 1 m, from embedded in the file"},
             {}},
    FileCase{"ThreeDsTextureOfAnotherCase", ASSIMP_MODELS "/3DS/cube_with_diffuse_texture.3DS",
             {"  texture 1       \"TEST.PNG\" 512 x 512 pixels, 1 x 1 m, from " ASSIMP_MODELS "/3DS/test.png"}, {}},
    FileCase{"PlyQuadrilaterals", ASSIMP_MODELS "/PLY/cube.ply",
             {"format            Stanford Polygon Library (PLY) Importer, 1 m per unit, z up", "vertices          8",
              "edges             12", "polygons          6 (0 with holes, up to 4 edge entries)", "normals           3",
              "bounding box      0 0 0 to 1 1 1 m"},
             {}},
    FileCase{"StlTriangle", ASSIMP_MODELS "/STL/triangle.stl",
             {"layers            1", "  layer 1         \"testTriangle\", 1 elements",
              "polygons          1 (0 with holes, up to 3 edge entries)"},
             {}}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return info.param.name; });

struct BadFile {
    const char* name;
    std::string file;        // written into the scratch folder; empty: the path is used as it is
    std::string content;
    std::string message;     // after "<path>: "
};

class BadModelFiles : public HostFolderTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadModelFiles, AreRefusedWithTheirProblem)
{
    const std::string path = GetParam().file.empty() ? mFolder + "/missing.obj" : write(GetParam().file, GetParam().content);
    std::string error;
    EXPECT_FALSE(cadhost::loadModel(path, {}, &error));
    EXPECT_EQ(error, path + ": " + GetParam().message);
    EXPECT_TRUE(cadhost::project().model->elements.empty());
    EXPECT_TRUE(cadhost::project().layers.empty());
}

INSTANTIATE_TEST_SUITE_P(Problems, BadModelFiles, ::testing::Values(
    BadFile{"Missing", "", "", "No such file or directory"},
    BadFile{"Empty", "empty.obj", "", "cannot be read as a model: OBJ-file is too small."},
    BadFile{"MalformedCollada", "bad.dae", "<?xml version=\"1.0\"?><COLLADA><bad", "cannot be read as a model: Unable to read file, malformed XML"},
    BadFile{"PlyHeaderWithoutEnd", "open.ply", "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\n\"end_header\n0\n",
            "cannot be read as a model: the PLY header has no \"end_header\" line"},
    BadFile{"NotANumber", "nan.obj", "v nan 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
            "mesh \"defaultobject\" of node \"defaultobject\" vertex 1 has a coordinate that is not a finite number"},
    BadFile{"Infinite", "inf.obj", "v 0 inf 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
            "mesh \"defaultobject\" of node \"defaultobject\" vertex 1 has a coordinate that is not a finite number"},
    BadFile{"Huge", "huge.obj", "v 1 0 0\nv 0 0 -2e7\nv 0 1 0\nf 1 2 3\n",
            "mesh \"defaultobject\" of node \"defaultobject\" vertex 2 lies 2e+07 m from the origin; the host takes coordinates up to 10000 km"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return info.param.name; });

TEST_F(HostFolderTest, AFolderIsNoModel)
{
    std::string error;
    EXPECT_FALSE(cadhost::loadModel(mFolder, {}, &error));
    EXPECT_EQ(error, mFolder + ": is a folder, not a model file");
}

TEST_F(HostFolderTest, FacesOfFewerThanThreeCornersAreLeftOut)
{
    const std::string path = write("lines.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2\nf 1 1 2\nf 1 2 2 1\nl 1 2 3\nf 1 2 3 4\n");
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(path, {}, &error)) << error;
    EXPECT_EQ(cadhost::project().model->polygons.size(), 1u);
    EXPECT_EQ(cadhost::project().modelWarnings,
              std::vector<std::string>{"5 faces with fewer than three corners (points and lines) are left out"});
}

// The import library would write through a null material for what stands before "newmtl".
TEST_F(HostFolderTest, MaterialStatementsBeforeTheFirstMaterialAreLeftOut)
{
    write("orphans.mtl", "# colours\nKd 0 1 0\nmap_Kd none.png\n\nnewmtl Red\nKd 1 0 0\n");
    const std::string path = write("orphans.obj", "mtllib orphans.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nusemtl Red\nf 1 2 3\n");
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(path, {}, &error)) << error;
    const std::string seen = cadhost::describeModel();
    EXPECT_NE(seen.find("\"Red\" surface 1 0 0 diffuse"), std::string::npos) << seen;
    EXPECT_EQ(cadhost::project().modelWarnings,
              std::vector<std::string>{"material library orphans.mtl: 2 lines before its first \"newmtl\" belong to no "
                                       "material and are left out"});
}

}  // namespace
