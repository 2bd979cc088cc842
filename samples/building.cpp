// A sample client of the scene-file library: it models a small house (four walls, a window
// opening, a gabled roof, texture-mapped wall vertices, a preview picture and one texture), puts
// two benches of one object definition on a garden layer and a camera path around it, writes it
// to a scene file, reads the file back and checks what came back.
#include <cstdio>
#include <string>
#include <vector>

#include "FileStream.h"
#include "Scn.h"

namespace {

using namespace NvScn;

// Prints every report of the library.
class Feedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char* text) override { std::fprintf(stderr, "library: %s\n", text); }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
};

// House size in centimetres: 6 m wide (x), 4 m deep (y), walls 2.6 m high, ridge at 4 m.
constexpr double kWidth = 600;
constexpr double kDepth = 400;
constexpr double kWall = 260;
constexpr double kRidge = 400;

// Material indices of the scene's material list.
constexpr int32_t kWallMaterial = 0;
constexpr int32_t kRoofMaterial = 1;

struct Model {
    std::vector<CScnVector> points;
    // Each polygon: material, outer loop, optional hole (point indices).
    struct Face {
        int32_t material;
        std::vector<int32_t> outer;
        std::vector<int32_t> hole;
    };
    std::vector<Face> faces;

    int32_t point(double x, double y, double z)
    {
        points.push_back({x, y, z});
        return static_cast<int32_t>(points.size() - 1);
    }
};

Model house()
{
    Model m;
    int32_t a = m.point(0, 0, 0), b = m.point(kWidth, 0, 0);
    int32_t c = m.point(kWidth, kDepth, 0), d = m.point(0, kDepth, 0);
    int32_t ta = m.point(0, 0, kWall), tb = m.point(kWidth, 0, kWall);
    int32_t tc = m.point(kWidth, kDepth, kWall), td = m.point(0, kDepth, kWall);
    int32_t r1 = m.point(0, kDepth / 2, kRidge), r2 = m.point(kWidth, kDepth / 2, kRidge);
    // The window in the front wall (y = 0): 1.2 m wide, 1 m high, sill at 1 m.
    int32_t w1 = m.point(240, 0, 100), w2 = m.point(360, 0, 100);
    int32_t w3 = m.point(360, 0, 200), w4 = m.point(240, 0, 200);

    m.faces.push_back({kWallMaterial, {a, b, tb, ta}, {w1, w4, w3, w2}});  // front, with the window
    m.faces.push_back({kWallMaterial, {b, c, tc, tb}, {}});                // right
    m.faces.push_back({kWallMaterial, {c, d, td, tc}, {}});                // back
    m.faces.push_back({kWallMaterial, {d, a, ta, td}, {}});                // left
    m.faces.push_back({kRoofMaterial, {ta, tb, r2, r1}, {}});              // front roof slope
    m.faces.push_back({kRoofMaterial, {tc, td, r1, r2}, {}});              // back roof slope
    m.faces.push_back({kWallMaterial, {td, ta, r1}, {}});                  // left gable
    m.faces.push_back({kWallMaterial, {tb, tc, r2}, {}});                  // right gable
    return m;
}

// Wall textures repeat every metre: u runs along the wall, v up it.
void addLoop(TScnObjectMgr<CScnVertex>* vertices, const Model& m, const std::vector<int32_t>& loop, bool mapped)
{
    for (int32_t index : loop) {
        CScnVertex* vertex = vertices->newScnObject(kScnLastIndex);
        vertex->pointIndex = index;
        if (mapped) {
            const CScnVector& p = m.points[static_cast<size_t>(index)];
            vertex->flags |= kScnVertexMapped;
            vertex->u = static_cast<float>((p.x + p.y) / 100.0);
            vertex->v = static_cast<float>(p.z / 100.0);
        }
    }
}

// The texture of the walls, as a location beside the scene file.
constexpr const char* kWallTexture = "file:///textures/brick.tif";

// The materials that the polygons' material indices name: a brick wall mapped with its texture
// (one repeat per 2 m by 1 m, on the planes of the walls), then a plain red roof.
void addMaterials(CScnMgr* scene)
{
    CScnProperty* wall = scene->getMaterials()->newScnObject(kScnLastIndex);
    wall->setName("Brick wall");
    wall->setTextureURL(kWallTexture);
    wall->setProjection(kScnFacadePlanar);
    wall->setMappingSize(200.0, 100.0);
    wall->setRepeat(true, true);
    CScnColor brick = {0, 178, 96, 72};
    wall->setDiffuseColor(&brick);
    CScnProperty* roof = scene->getMaterials()->newScnObject(kScnLastIndex);
    roof->setName("Roof tiles");
    CScnColor tiles = {0, 150, 40, 30};
    roof->setDiffuseColor(&tiles);
    roof->setGlossy(20.0);
}

// Whether the materials came back as addMaterials made them.
bool materialsReadBack(CScnMgr* scene)
{
    TScnObjectMgr<CScnProperty>* materials = scene->getMaterials();
    if (materials->getNbObjects() != 2) {
        return false;
    }
    CScnProperty* wall = materials->getScnObject(kWallMaterial);
    CScnProperty* roof = materials->getScnObject(kRoofMaterial);
    std::printf("sample: read back materials \"%s\" (texture %s) and \"%s\"\n", wall->getName(),
                wall->getTextureURL(), roof->getName());
    return std::string(wall->getTextureURL()) == kWallTexture && wall->getProjection() == kScnFacadePlanar &&
           !roof->hasMapping() && roof->getDiffuseColor().red == 150;
}

void fill(CScnMgr* scene, const Model& m)
{
    scene->setApplication("Kestrovin Sample", "1.0");
    addMaterials(scene);
    for (const CScnVector& p : m.points) {
        *scene->getPoints()->newScnObject(kScnLastIndex) = p;
    }
    for (const Model::Face& face : m.faces) {
        CScnPolygon* polygon = scene->getPolygons()->newScnObject(kScnLastIndex);
        polygon->setPropertyIndex(face.material);
        addLoop(polygon->getVertices(), m, face.outer, face.material == kWallMaterial);
        if (!face.hole.empty()) {
            addLoop(polygon->getHoles()->newScnObject(kScnLastIndex)->getVertices(), m, face.hole, true);
        }
    }
    // A 32 x 24 preview: sky above, grass below (pixel words 0RGB).
    std::vector<uint32_t> preview(32 * 24);
    for (size_t i = 0; i < preview.size(); ++i) {
        preview[i] = i < preview.size() / 2 ? 0x0087CEEBu : 0x00228B22u;
    }
    scene->getPreviewImage()->setPixels(32, 24, preview.data());
    // One 4 x 4 checker texture.
    uint32_t checker[16];
    for (uint32_t i = 0; i < 16; ++i) {
        checker[i] = ((i / 4 + i % 4) % 2) != 0 ? 0x00FFFFFFu : 0x00800000u;
    }
    IScnImage* texture = scene->getImages()->newScnObject(kScnLastIndex);
    texture->setPixels(4, 4, checker);
    CScnUUID uuid = {{0x4B, 0x45, 0x53, 0x54, 0x52, 0x4F, 0x56, 0x49, 0x4E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
    texture->setUUID(&uuid);
    CScnVector origin = {1000.0, 2000.0, 0.0};
    scene->getFileInfo()->setOrigin(&origin);

    // A lamp above the door, a camera looking at the front wall, and the sun of the site.
    CScnLight* lamp = scene->getLights()->newScnObject(kScnLastIndex);
    lamp->setName("Door lamp");
    lamp->setType(kScnLightSpot);
    CScnVector lampPosition = {300.0, -50.0, 260.0};
    CScnVector lampTarget = {300.0, 0.0, 0.0};
    lamp->setPosition(&lampPosition);
    lamp->setTarget(&lampTarget);
    lamp->setPower(800.0);
    CScnCamera* camera = scene->getPerspectiveViews()->newScnObject(kScnLastIndex);
    camera->setName("Front");
    CScnVector eye = {300.0, -1200.0, 170.0};
    CScnVector look = {300.0, 0.0, 150.0};
    camera->setPosition(&eye);
    camera->setTarget(&look);
    camera->setFocal(45.0);
    camera->setCurrent();
    scene->getHeliodon()->setName("Site sun");
    scene->getHeliodon()->setNorthAngle(15.0);
}

// A bench, 1.6 m x 0.5 m x 0.45 m, as the geometry of its definition: a box of six quads.
void addBenchGeometry(IScnInternalComponentDefinition* geometry)
{
    for (int32_t i = 0; i < 8; ++i) {
        *geometry->getPoints()->newScnObject(kScnLastIndex) = {(i & 1) != 0 ? 160.0 : 0.0,
                                                               (i & 2) != 0 ? 50.0 : 0.0,
                                                               (i & 4) != 0 ? 45.0 : 0.0};
    }
    const int32_t faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& face : faces) {
        TScnObjectMgr<CScnVertex>* vertices = geometry->getPolygons()->newScnObject(kScnLastIndex)->getVertices();
        for (int32_t index : face) {
            vertices->newScnObject(kScnLastIndex)->pointIndex = index;
        }
    }
}

// A garden layer with two benches of one definition in front of the house, and a camera path of
// three keys walking past the front.
void addObjectsAndMotion(CScnMgr* scene)
{
    IScnLayer* garden = scene->getLayers()->newScnObject(kScnLastIndex);
    garden->setName("Garden");
    IScnScnObjectDefinition* bench = scene->getObjectDefinitions()->newScnObject(kScnLastIndex);
    bench->setClass(kScnClassScnObject);
    bench->getName()->setText('e' * 256 + 'n', "Bench");
    bench->getName()->setText('f' * 256 + 'r', "Banc");
    IScnInternalComponentDefinition* benchGeometry = scene->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
    benchGeometry->setUUID(bench->getUUID());
    addBenchGeometry(benchGeometry);
    for (double x : {60.0, 380.0}) {
        IScnObjectInstance* instance = scene->getObjectInstances()->newScnObject(kScnLastIndex);
        instance->setName(x < 300.0 ? "Bench left" : "Bench right");
        instance->setClass(kScnClassScnObject);
        instance->setAttachedObject(bench->getUUID());
        instance->setLayerId(garden->getUUID());
        CScnVector at = {x, -150.0, 0.0};
        instance->setTranslation(&at);
    }
    IScnCameraPath* walk = scene->getCameraPath();
    walk->setName("Walk past the front");
    walk->setDuration(12.0);
    const CScnVector stops[3] = {{-400.0, -900.0, 170.0}, {300.0, -1100.0, 170.0}, {1000.0, -900.0, 170.0}};
    for (const CScnVector& stop : stops) {
        *walk->getPoints()->newScnObject(kScnLastIndex) = stop;
        CScnCamKey* key = walk->getCamKeys()->newScnObject(kScnLastIndex);
        CScnVector look = {300.0, 0.0, 150.0};
        key->setTarget(&look);
        key->setFocal(45.0);
        key->setBezierSection(walk->getCamKeys()->getNbObjects() - 1);
    }
}

bool write(CScnMgr* scene, const std::string& path)
{
    std::string error;
    ScnTools::FileStream* stream = ScnTools::FileStream::open(path, "wb", &error);
    if (stream == nullptr) {
        std::fprintf(stderr, "sample: cannot create %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    bool written = scene->write(stream) == 0;
    bool closed = stream->close();
    delete stream;
    return written && closed;
}

bool readBack(const std::string& path, const Model& m, Feedback& feedback)
{
    std::string error;
    ScnTools::FileStream* stream = ScnTools::FileStream::open(path, "rb", &error);
    if (stream == nullptr) {
        std::fprintf(stderr, "sample: cannot open %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    CScnMgr* scene = CScnMgr::create(&feedback, nullptr);
    bool read = scene != nullptr && scene->read(stream) == 0;
    delete stream;
    if (!read) {
        if (scene != nullptr) {
            scene->release();
        }
        return false;
    }
    TScnObjectMgr<CScnVector>* pointTable = scene->getPoints();
    TScnObjectMgr<CScnPolygon>* polygonTable = scene->getPolygons();
    int32_t points = pointTable->getNbObjects();
    int32_t polygons = polygonTable->getNbObjects();
    uint32_t width = 0;
    uint32_t height = 0;
    scene->getPreviewImage()->getPixels(&width, &height, nullptr);
    int32_t holes = polygons > 0 ? polygonTable->getScnObject(0)->getHoles()->getNbObjects() : 0;
    std::printf("sample: read back %d points, %d polygons (%d hole in the front wall), preview %u x %u\n", points,
                polygons, holes, width, height);
    bool same = points == static_cast<int32_t>(m.points.size()) && polygons == static_cast<int32_t>(m.faces.size()) &&
                holes == 1 && width == 32 && height == 24 && materialsReadBack(scene);
    int32_t definitions = scene->getObjectDefinitions()->getNbObjects();
    int32_t instances = scene->getObjectInstances()->getNbObjects();
    int32_t layers = scene->getLayers()->getNbObjects();
    IScnCameraPath* walk = scene->getCameraPath();
    int32_t keys = walk != nullptr ? walk->getCamKeys()->getNbObjects() : 0;
    std::printf("sample: read back %d definition, %d instances, %d layer, a camera path of %d keys\n", definitions,
                instances, layers, keys);
    same = same && definitions == 1 && instances == 2 && layers == 1 && keys == 3;
    scene->release();
    return same;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string path = argc > 1 ? argv[1] : "out/sample.scn";
    Feedback feedback;
    CScnMgr* scene = CScnMgr::create(&feedback, nullptr);
    if (scene == nullptr) {
        return 1;
    }
    Model m = house();
    fill(scene, m);
    addObjectsAndMotion(scene);
    bool written = write(scene, path);
    scene->release();
    if (!written) {
        std::fprintf(stderr, "sample: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("sample: wrote %s (%zu points, %zu polygons)\n", path.c_str(), m.points.size(), m.faces.size());
    if (!readBack(path, m, feedback)) {
        std::fprintf(stderr, "sample: %s did not read back as written\n", path.c_str());
        return 1;
    }
    return 0;
}
