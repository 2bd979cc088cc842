// The materials an export writes, read back with the library: both material passes by the texture
// options, the material map behind the polygons, own-texture materials, material index 0 and
// textures of the same name; by the plain and the layer path, and from a real OBJ file.
#include "test_export_support.h"

#include <string>
#include <sys/stat.h>

namespace {

std::string colourText(const NvScn::CScnColor& c)
{
    return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

std::string lastName(const std::string& url) { return url.substr(url.rfind('/') + 1); }

// A material as one line: its name, leaf values and, when it has a mapping, the mapping's.
std::string materialText(NvScn::CScnProperty* m)
{
    char values[256];
    std::snprintf(values, sizeof values, " smooth %g glossy %g neon %s %g", m->getSmooth(), m->getGlossy(),
                  colourText(m->getNeonColor()).c_str(), m->getNeonValue());
    std::string text = std::string(m->getName()) + " diffuse " + colourText(m->getDiffuseColor()) + " specular " +
                       colourText(m->getSpecularColor()) + " transparent " + colourText(m->getTransparentColor()) +
                       values;
    if (m->hasMapping()) {
        bool x = false, y = false;
        double width = 0, height = 0, angle = -1;
        NvScn::CScnColor cut = {0, 0, 0, 0};
        NvScn::CScnVector origin, xAxis, yAxis;
        m->getRepeat(&x, &y);
        m->getMappingSize(&width, &height);
        m->getMappingAngle(&angle);
        m->getMappingTransparentColor(&cut);
        m->getMappingFrame(&origin, &xAxis, &yAxis);
        char mapping[512];
        std::snprintf(mapping, sizeof mapping,
                      " | %s projection %d repeat %d%d size %gx%g angle %g frame %g,%g,%g %g,%g,%g %g,%g,%g cut %d %s",
                      lastName(m->getTextureURL()).c_str(), m->getProjection(), x, y, width, height, angle, origin.x,
                      origin.y, origin.z, xAxis.x, xAxis.y, xAxis.z, yAxis.x, yAxis.y, yAxis.z,
                      m->findMapping()->isCutAlpha(), colourText(cut).c_str());
        text += mapping;
    }
    return text;
}

std::vector<std::string> materialsText(NvScn::TScnObjectMgr<NvScn::CScnProperty>* list)
{
    std::vector<std::string> lines;
    for (int32_t i = 0; i < list->getNbObjects(); ++i) {
        lines.push_back(materialText(list->getScnObject(static_cast<uint32_t>(i))));
    }
    return lines;
}

std::vector<int32_t> materialIndices(NvScn::TScnObjectMgr<NvScn::CScnPolygon>* polygons)
{
    std::vector<int32_t> indices;
    for (int32_t i = 0; i < polygons->getNbObjects(); ++i) {
        indices.push_back(polygons->getScnObject(static_cast<uint32_t>(i))->getPropertyIndex());
    }
    return indices;
}

// The textures, materials and wall of both models below.
const std::string kMaterialsHead = R"({"format": "cadhost-model",
  "textures": [{"name": "brick.png", "pixels": {"width": 1, "height": 1, "rgba": "aa3300ff"}},
               {"name": "decal.png", "pixels": {"width": 1, "height": 1, "rgba": "ffffff80"}},
               {"name": "stone/brick.jpg", "pixels": {"width": 1, "height": 1, "rgba": "808080ff"}}],
  "materials": [{"name": "Brick", "surface": [1, 0.5, 0], "diffusePc": 80, "specular": [1, 1, 1], "specularPc": 50,
                 "transpPc": 40, "shine": 2500, "emission": [0.2, 0.4, 0.6], "emissionAtt": 150, "texture": 1},
                {"name": "Plaster", "surface": [1, 1, 1], "specularPc": 0},
                {"name": "Stone", "texture": 3}],
  "elements": [
    {"type": "wall", "bodies": [{"vertices": [[0, 0, 0], [1, 0, 0], [1, 0, 1]],
      "polygons": [{"material": 1, "vertices": [1, 2, 3]}, {"material": 0, "texture": 2, "vertices": [3, 2, 1]}]}]},
    {"type": "slab", "bodies": [{"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]],
      "polygons": )";

// A textured brick, a plaster without texture, a stone whose texture has the brick's name, and a
// wall polygon with material index 0 and a decal of its own.
const std::string kMaterials = kMaterialsHead + R"([{"material": 2, "vertices": [1, 2, 3]}]}]}]})";

const char kBrick[] = "Brick diffuse 204,102,0 specular 128,128,128 transparent 102,102,102 smooth 0.8 glossy 25 "
                      "neon 51,102,153 1.5";
const char kPlaster[] = "Plaster diffuse 255,255,255 specular 0,0,0 transparent 0,0,0 smooth 0.8 glossy 0 neon 0,0,0 0";
const char kStone[] = "Stone diffuse 204,204,204 specular 0,0,0 transparent 0,0,0 smooth 0.8 glossy 0 neon 0,0,0 0";
const char kUV[] = " projection 7 repeat 11 size 1x1 angle 0 frame 0,0,0 1,0,0 0,1,0";
const char kDecal[] = "decal diffuse 100,100,100 specular 0,0,0 transparent 0,0,0 smooth 1 glossy 6 neon 0,0,0 0 | "
                      "decal.tif projection 7 repeat 11 size 1x1 angle 0 frame 0,0,0 1,0,0 0,1,0 cut 1 255,255,255";

std::string textured(const char* material, const char* file)
{
    return std::string(material) + " | " + file + kUV + " cut 0 0,0,0";
}

// The same, with the slab showing the wall's brick too: one host material, textured on the wall
// and plain on the slab, in polygons that follow each other.
const std::string kSharedBrick =
    kMaterialsHead + R"([{"material": 1, "vertices": [1, 2, 3]}, {"material": 2, "vertices": [3, 2, 1]}]}]}]})";

struct MaterialCase {
    const char* name;
    bool layers;                    // the layer path (else the plain path)
    std::vector<int> clicks;        // dialog items clicked (texture options)
    std::vector<std::string> materials;   // of the scene, or of the layer's definition
    std::vector<int32_t> polygons;        // their material indices
    std::string log;
    const char* model = nullptr;          // null: kMaterials
};

class ExportedMaterials : public ExportTest, public ::testing::WithParamInterface<MaterialCase> {};

TEST_P(ExportedMaterials, ReadBackWithTheirTextures)
{
    const MaterialCase& c = GetParam();
    loadAddOn();
    loadJson(c.model != nullptr ? c.model : kMaterials.c_str());
    configure(c.layers ? nullptr : "LayerEnabled=false\n");
    std::vector<cadhost::UserAction> script;
    for (int item : c.clicks) {
        script.push_back({cadhost::UserAction::Click, item, ""});
    }
    cadhost::setDialogScript(script);
    cadhost::clearDebugLog();
    ASSERT_EQ(exportScene(0), NoError);
    EXPECT_EQ(cadhost::debugLog(), c.log);
    EXPECT_EQ(folderContent(mScenes + "/Export_Textures"),
              (std::set<std::string>{"brick.tif", "decal.tif", "brick_1.tif"}));
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    EXPECT_EQ(scene.reports.texts, std::vector<std::string>());
    NvScn::CScnMgr* m = scene.manager;
    if (c.layers) {
        EXPECT_EQ(m->getMaterials()->getNbObjects(), 0);
        ASSERT_EQ(m->getObjectDefinitions()->getNbObjects(), 1);
        EXPECT_EQ(materialsText(m->getObjectDefinitions()->getScnObject(0)->getMaterials()), c.materials);
        EXPECT_EQ(materialIndices(m->getInternalComponentDefinitions()->getScnObject(0)->getPolygons()), c.polygons);
    } else {
        EXPECT_EQ(materialsText(m->getMaterials()), c.materials);
        EXPECT_EQ(materialIndices(m->getPolygons()), c.polygons);
    }
}

const char kPlainZero[] = "KSV::GSScnExternal::GetPolygonMaterialIndex - Invalid material index (0)\n";
const char kLayerZero[] = "AddonLayer::InitializeFileStructureForLayer - Invalid material index (0)\n"
                          "AddonLayerStorage::fillPolygon - Invalid material index (0)\n";

INSTANTIATE_TEST_SUITE_P(Options, ExportedMaterials, ::testing::Values(
    MaterialCase{"AllTexturesKeepEveryMaterial", false, {},
                 {textured(kBrick, "brick.tif"), kPlaster, textured(kStone, "brick_1.tif"), kDecal}, {0, 3, 1},
                 kPlainZero},
    MaterialCase{"WallTexturesAddTexturedVariants", false, {18, 20, 21},
                 {kBrick, kPlaster, kStone, textured(kBrick, "brick.tif"), textured(kStone, "brick_1.tif"), kDecal},
                 {3, 5, 1}, kPlainZero},
    MaterialCase{"NoTexturesNoVariants", false, {16, 18, 20, 21}, {kBrick, kPlaster, kStone, kDecal}, {0, 3, 1},
                 kPlainZero},
    MaterialCase{"LayerWithAllTextures", true, {}, {textured(kBrick, "brick.tif"), kPlaster, kDecal}, {0, 2, 1},
                 kLayerZero},
    MaterialCase{"LayerWithWallTextures", true, {18, 20, 21}, {kPlaster, textured(kBrick, "brick.tif"), kDecal},
                 {1, 2, 0}, kLayerZero},
    MaterialCase{"SharedBrickTexturedOnTheWallOnly", false, {18, 20, 21},
                 {kBrick, kPlaster, kStone, textured(kBrick, "brick.tif"), textured(kStone, "brick_1.tif"), kDecal},
                 {3, 5, 0, 1}, kPlainZero, kSharedBrick.c_str()},
    MaterialCase{"LayerSharedBrickTexturedOnTheWallOnly", true, {18, 20, 21},
                 {kBrick, kPlaster, textured(kBrick, "brick.tif"), kDecal}, {2, 3, 0, 1}, kLayerZero, kSharedBrick.c_str()}),
    [](const ::testing::TestParamInfo<MaterialCase>& info) { return info.param.name; });

// A real OBJ file with textures: one scene material per file material, each texture that the host
// could read written beside the scene and referred to by its material.
TEST_F(ExportTest, ObjMaterialsReferToTheirTextureFiles)
{
    loadAddOn();
    std::string error;
    ASSERT_TRUE(cadhost::loadModel(HOST_MODELS "/house.obj", cadhost::ModelOptions(), &error)) << error;
    const std::size_t hostMaterials = cadhost::project().materials.size();
    configure("LayerEnabled=false\n");
    ASSERT_EQ(exportScene(), NoError);
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials = scene.manager->getMaterials();
    ASSERT_EQ(static_cast<std::size_t>(materials->getNbObjects()), hostMaterials);
    std::vector<std::string> names, textures;
    for (int32_t i = 0; i < materials->getNbObjects(); ++i) {
        NvScn::CScnProperty* material = materials->getScnObject(static_cast<uint32_t>(i));
        names.push_back(material->getName());
        const std::string url = material->getTextureURL();
        if (!url.empty()) {
            textures.push_back(lastName(url));
            const std::string file = mScenes + "/Export_Textures/" + lastName(url);
            struct stat facts {};
            EXPECT_EQ(::stat(file.c_str(), &facts), 0) << url;
            EXPECT_EQ(url, "file://" + file);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"DefaultMaterial", "Brick", "Concrete", "Lost", "Broken"}));
    EXPECT_EQ(textures, std::vector<std::string>{"bricks.tif"});
    for (int32_t i = 0; i < scene.manager->getPolygons()->getNbObjects(); ++i) {
        const int32_t index = scene.manager->getPolygons()->getScnObject(static_cast<uint32_t>(i))->getPropertyIndex();
        EXPECT_TRUE(index >= 0 && index < materials->getNbObjects()) << "polygon " << i;
    }
}

}  // namespace
