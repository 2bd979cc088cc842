// The geometry suppliers on host models: the walk, loops and holes, global point indices,
// materials, texture coordinates, progress and cancellation, and the failures it reports.
#include "AddonLayerStorage.h"
#include "GSScnExternal.h"
#include "test_addon_support.h"

#include <Scn.h>

#include <cmath>
#include <map>

namespace {

const EXPModelFunctionTable* gHost = nullptr;

// A host whose modeler gives one bad answer: replacements for entries of the model table.
GSErrCode vertexNotANumber(const EXPModel* m, int32_t e, int32_t b, int32_t v, EXPVector* p)
{
    const GSErrCode error = gHost->GetVertex(m, e, b, v, p);
    if (v == 2) {
        p->y = std::nan("");
    }
    return error;
}

GSErrCode vertexThrows(const EXPModel*, int32_t, int32_t, int32_t, EXPVector*) { throw 7; }

GSErrCode polygonOfTwoEdges(const EXPModel* m, int32_t e, int32_t b, int32_t p, EXPPolygonInfo* info)
{
    const GSErrCode error = gHost->GetPolygon(m, e, b, p, info);
    info->edgeCount = 2;
    return error;
}

GSErrCode edgeOutsideTheBody(const EXPModel* m, int32_t e, int32_t b, int32_t k, EXPEdgeInfo* info)
{
    const GSErrCode error = gHost->GetEdge(m, e, b, k, info);
    info->vertex1 = 99;
    info->vertex2 = 99;
    return error;
}

// The project's model as the add-on takes it, with a copy of the model table that a case may
// break; given back at the end of the scope.
struct TakenModel {
    explicit TakenModel(const std::function<void(EXPModelFunctionTable*)>& breakHost) : sight(cadhost::openSight())
    {
        EXPECT_EQ(EXPGetModel(sight, &model), NoError);
        gHost = EXPGetModelFunctionTable();
        table = *gHost;
        if (breakHost) {
            breakHost(&table);
        }
    }
    ~TakenModel()
    {
        gHost->FreeModel(&model);
        sight->RemoveReference();
    }
    TakenModel(const TakenModel&) = delete;
    TakenModel& operator=(const TakenModel&) = delete;
    Modeler::Sight* sight;
    EXPModel model = {};
    EXPModelFunctionTable table = {};
};

KSV::ProgressStrings supplierStrings()
{
    KSV::ProgressStrings strings;
    strings[5] = "Saving points";
    strings[6] = "Saving polygons";
    return strings;
}

// The points and polygons as the supplier gives them, one line each.
struct Supplied {
    std::vector<std::string> points;
    std::vector<std::string> polygons;
    bool pointsOk = true;
    bool polygonsOk = true;
};

std::string describeLoop(NvScn::TScnObjectMgr<NvScn::CScnVertex>* loop)
{
    std::string text;
    for (int32_t i = 0; i < loop->getNbObjects(); ++i) {
        const NvScn::CScnVertex* v = loop->getScnObject(static_cast<uint32_t>(i));
        char item[64];
        if ((v->flags & NvScn::kScnVertexMapped) != 0) {
            std::snprintf(item, sizeof item, " %d(%.4f,%.4f)", v->pointIndex, static_cast<double>(v->u),
                          static_cast<double>(v->v));
        } else {
            std::snprintf(item, sizeof item, " %d", v->pointIndex);
        }
        text += item;
    }
    return text;
}

std::string describe(NvScn::CScnPolygon* polygon)
{
    std::string text = "m" + std::to_string(polygon->getPropertyIndex()) + describeLoop(polygon->getVertices());
    for (int32_t h = 0; h < polygon->getHoles()->getNbObjects(); ++h) {
        text += " |" + describeLoop(polygon->getHoles()->getScnObject(static_cast<uint32_t>(h))->getVertices());
    }
    return text;
}

struct SupplyCase {
    const char* name;
    std::string model;                       // host-model JSON
    KSV::ExportOptions options;              // texture options
    std::map<int32_t, int32_t> materialMap;  // host material to scene number
    KSV::PlanOffset offset;
    std::function<void(EXPModelFunctionTable*)> breakHost;  // null: the host as it is
    std::vector<std::string> points;
    std::vector<std::string> polygons;
    std::string log;
};

KSV::ExportOptions textures(bool wall, bool slab, bool roof, bool others)
{
    KSV::ExportOptions options;
    KSV::resetOptions(&options);
    options.textureWall = wall;
    options.textureSlab = slab;
    options.textureRoof = roof;
    options.textureOthers = others;
    return options;
}

class GeometrySupply : public AddOnClassesTest, public ::testing::WithParamInterface<SupplyCase> {
protected:
    Supplied supply(KSV::GSScnExternal& supplier)
    {
        Supplied out;
        NvScn::CScnMgr* scratch = NvScn::CScnMgr::create(nullptr, nullptr);
        for (int32_t i = 0; i < supplier.getNbPoints(nullptr) && out.pointsOk; ++i) {
            NvScn::CScnVector point{0, 0, 0};
            out.pointsOk = supplier.fillPoint(nullptr, &point, i);
            char line[96];
            std::snprintf(line, sizeof line, "%g %g %g", point.x, point.y, point.z);
            if (out.pointsOk) {
                out.points.push_back(line);
            }
        }
        for (int32_t i = 0; i < supplier.getNbPolygons(nullptr) && out.polygonsOk; ++i) {
            NvScn::CScnPolygon* polygon = scratch->getPolygons()->newScnObject(NvScn::kScnLastIndex);
            out.polygonsOk = supplier.fillPolygon(nullptr, polygon, i);
            if (out.polygonsOk) {
                out.polygons.push_back(describe(polygon));
            }
        }
        scratch->release();
        return out;
    }
};

TEST_P(GeometrySupply, GivesTheModelAsTheSceneHoldsIt)
{
    const SupplyCase& c = GetParam();
    loadJson(c.model);
    TakenModel taken(c.breakHost);
    const EXPModelFunctionTable& table = taken.table;
    const EXPModel& model = taken.model;
    const KSV::ProgressStrings strings = supplierStrings();
    KSV::MaterialMap map;
    for (const auto& entry : c.materialMap) {
        map.record(entry.first, entry.second);
    }
    {
        KSV::GSScnExternal supplier(table, model, strings, map, false);
        supplier.setTextureOptions(c.options);
        supplier.setOrigin(c.offset);
        const Supplied out = supply(supplier);
        EXPECT_EQ(out.points, c.points);
        EXPECT_EQ(out.polygons, c.polygons);
        EXPECT_FALSE(supplier.cancelled());
    }
    EXPECT_EQ(cadhost::debugLog(), c.log);
}

const char kWalk[] = R"({"format": "cadhost-model", "materials": [{"name": "A"}, {"name": "B"}],
  "elements": [
    {"type": "wall", "bodies": [
      {"vertices": [[0, 0, 0], [4, 0, 0], [4, 0, 3], [0, 0, 3], [1, 0, 1], [2, 0, 1], [2, 0, 2], [1, 0, 2]],
       "edges": [[1, 2], [2, 3], [3, 4], [4, 1], [5, 6], [6, 7], [7, 8], [8, 5]],
       "normals": [[0, -1, 0]],
       "polygons": [{"material": 1, "normal": 1, "edges": [1, 2, 3, 4, 0, -8, -7, -6, -5]},
                    {"material": 2, "normal": -1, "edges": [-4, -3, -2, -1, 0, 5, 6, 7, 8]}]},
      {"vertices": [[9, 9, 9], [9, 9, 8]], "edges": [[1, 2]]}]},
    {"type": "slab", "bodies": [
      {"vertices": [[0, 0, 1], [1, 0, 1], [0, 1, 1]], "polygons": [{"material": 0, "vertices": [1, 2, 3]}]}]}]})";

const char kTextured[] = R"({"format": "cadhost-model",
  "textures": [{"name": "a.png", "xSize": 2, "ySize": 1, "pixels": {"width": 1, "height": 1, "rgba": "ff0000ff"}},
               {"name": "b.png", "xSize": 0.5, "ySize": 0.25, "pixels": {"width": 1, "height": 1, "rgba": "00ff00ff"}},
               {"name": "c.png", "available": false}],
  "materials": [{"name": "Turned", "texture": 1, "textureRotation": 1.5707963267948966},
                {"name": "Lost", "texture": 3}],
  "elements": [{"type": "roof", "bodies": [
      {"vertices": [[0, 0, 0], [1, 0, 0], [1, 1, 0]], "uv": [[0, 0], [1, 0], [1, 1]],
       "polygons": [{"material": 1, "vertices": [1, 2, 3]}, {"material": 1, "texture": 2, "vertices": [1, 2, 3]},
                    {"material": 2, "vertices": [1, 2, 3]}, {"material": 1, "texture": 2, "vertices": [3, 2, 1]}]}]}]})";

const char kTwoTypes[] = R"({"format": "cadhost-model", "materials": [{"name": "A"}, {"name": "B"}],
  "elements": [
    {"type": "wall", "bodies": [{"vertices": [[0, 0, 0], [1, 0, 0], [0, 0, 1]], "polygons": [{"material": 2, "vertices": [1, 2, 3]}]}]},
    {"type": "slab", "bodies": [{"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "polygons": [{"material": 2, "vertices": [1, 2, 3]}]}]}]})";

// Two bodies whose edges and vertices share their numbers but not their ends and places: what the
// walk keeps of one body must not serve the next.
const char kSameNumbers[] = R"({"format": "cadhost-model",
  "textures": [{"name": "a.png", "xSize": 1, "ySize": 1, "pixels": {"width": 1, "height": 1, "rgba": "ff0000ff"}}],
  "materials": [{"name": "Mapped", "texture": 1}],
  "elements": [{"type": "wall", "bodies": [
      {"vertices": [[0, 0, 0], [1, 0, 0], [1, 0, 1]], "polygons": [{"material": 1, "vertices": [1, 2, 3]}]},
      {"vertices": [[5, 0, 0], [5, 0, 2], [7, 0, 2]], "polygons": [{"material": 1, "vertices": [3, 2, 1]}]}]},
    {"type": "slab", "bodies": [
      {"vertices": [[0, 0, 4], [3, 0, 4], [3, 3, 4]], "polygons": [{"material": 1, "vertices": [2, 3, 1]}]}]}]})";

const std::vector<std::string> kWalkPoints = {"0 0 0", "400 0 0", "400 0 300", "0 0 300", "100 0 100", "200 0 100",
                                              "200 0 200", "100 0 200", "0 0 100", "100 0 100", "0 100 100"};

INSTANTIATE_TEST_SUITE_P(Models, GeometrySupply, ::testing::Values(
    SupplyCase{"BodiesWithoutPolygonsGiveNoPoints", kWalk, textures(1, 1, 1, 1), {}, {}, nullptr, kWalkPoints,
               {"m0 0 1 2 3 | 4 7 6 5", "m1 0 3 2 1 | 4 5 6 7", "m0 8 9 10"},
               "KSV::GSScnExternal::GetPolygonMaterialIndex - Invalid material index (0)\n"},
    SupplyCase{"OffsetMovesThePlanOnly", kWalk, textures(1, 1, 1, 1), {}, {0.0, 12.0}, nullptr,
               {"0 1200 0", "400 1200 0", "400 1200 300", "0 1200 300", "100 1200 100", "200 1200 100",
                "200 1200 200", "100 1200 200", "0 1200 100", "100 1200 100", "0 1300 100"},
               {"m0 0 1 2 3 | 4 7 6 5", "m1 0 3 2 1 | 4 5 6 7", "m0 8 9 10"},
               "KSV::GSScnExternal::GetPolygonMaterialIndex - Invalid material index (0)\n"},
    SupplyCase{"TexturesTurnAndOwnTexturesTakeTheirMaterials", kTextured, textures(1, 1, 1, 1), {}, {}, nullptr,
               {"0 0 0", "100 0 0", "100 100 0"},
               {"m0 0(0.0000,0.0000) 1(0.0000,2.0000) 2(-0.5000,2.0000)",
                "m2 0(0.0000,0.0000) 1(1.0000,0.0000) 2(1.0000,1.0000)", "m1 0 1 2",
                "m3 2(1.0000,1.0000) 1(1.0000,0.0000) 0(0.0000,0.0000)"},
               ""},
    SupplyCase{"EachBodyGivesItsOwnEdgesAndVertices", kSameNumbers, textures(1, 1, 1, 1), {}, {}, nullptr,
               {"0 0 0", "100 0 0", "100 0 100", "500 0 0", "500 0 200", "700 0 200", "0 0 400", "300 0 400",
                "300 300 400"},
               {"m0 0(0.0000,0.0000) 1(1.0000,0.0000) 2(1.0000,1.0000)",
                "m0 5(7.0000,2.0000) 4(5.0000,2.0000) 3(5.0000,0.0000)",
                "m0 7(3.0000,0.0000) 8(3.0000,3.0000) 6(0.0000,0.0000)"},
               ""},
    SupplyCase{"AllTextureOptionsOnIgnoreTheMap", kTwoTypes, textures(1, 1, 1, 1), {{2, 5}}, {}, nullptr,
               {"0 0 0", "100 0 0", "0 0 100", "0 0 0", "100 0 0", "0 100 0"}, {"m1 0 1 2", "m1 3 4 5"}, ""},
    SupplyCase{"TheMapServesTheTypesWithTextures", kTwoTypes, textures(1, 0, 0, 0), {{2, 5}}, {}, nullptr,
               {"0 0 0", "100 0 0", "0 0 100", "0 0 0", "100 0 0", "0 100 0"}, {"m4 0 1 2", "m1 3 4 5"}, ""},
    SupplyCase{"AnIndexTheMapLacksKeepsItsMaterial", kTwoTypes, textures(0, 1, 0, 0), {{1, 5}}, {}, nullptr,
               {"0 0 0", "100 0 0", "0 0 100", "0 0 0", "100 0 0", "0 100 0"}, {"m1 0 1 2", "m1 3 4 5"}, ""},
    SupplyCase{"ACoordinateThatIsNotANumberStopsThePoints", kTwoTypes, textures(1, 1, 1, 1), {}, {},
               [](EXPModelFunctionTable* t) { t->GetVertex = vertexNotANumber; }, {"0 0 0"}, {"m1 0 1 2", "m1 3 4 5"},
               "Catch \"Vertex 2 of body 1 of element 1 lies out of reach\" in KSV::GSScnExternal::fillPoint\n"},
    SupplyCase{"AnUnknownExceptionIsCaught", kTwoTypes, textures(1, 1, 1, 1), {}, {},
               [](EXPModelFunctionTable* t) { t->GetVertex = vertexThrows; }, {}, {"m1 0 1 2", "m1 3 4 5"},
               "Catch unknown exception in KSV::GSScnExternal::fillPoint\n"},
    SupplyCase{"APolygonOfTwoVerticesIsRefused", kTwoTypes, textures(1, 1, 1, 1), {}, {},
               [](EXPModelFunctionTable* t) { t->GetPolygon = polygonOfTwoEdges; },
               {"0 0 0", "100 0 0", "0 0 100", "0 0 0", "100 0 0", "0 100 0"}, {},
               "Catch \"Polygon 1 of body 1 of element 1 has fewer than three vertices\" in KSV::GSScnExternal::fillPolygon\n"},
    SupplyCase{"AVertexOutsideTheBodyIsRefused", kTwoTypes, textures(1, 1, 1, 1), {}, {},
               [](EXPModelFunctionTable* t) { t->GetEdge = edgeOutsideTheBody; },
               {"0 0 0", "100 0 0", "0 0 100", "0 0 0", "100 0 0", "0 100 0"}, {},
               "Catch \"Polygon 1 of body 1 of element 1 refers to a vertex the body does not have\" in KSV::GSScnExternal::fillPolygon\n"}),
    [](const ::testing::TestParamInfo<SupplyCase>& info) { return info.param.name; });

// Progress goes to the host's progress window; every 1000th item asks whether the user cancelled.
struct CancelCase {
    const char* name;
    int32_t cancelAt;              // the cancel query the user answers; 0 never
    int32_t pointsGiven;           // fills that answered true; -1 all of them
    int32_t polygonsGiven;
    std::vector<std::string> progress;  // "P" stands for the point count
};

class SupplyCancel : public AddOnClassesTest, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(SupplyCancel, StopsAtTheQueryTheUserAnswers)
{
    cadhost::generateModel(1500);
    cadhost::project().cancelAfter = GetParam().cancelAt;
    Modeler::Sight* sight = cadhost::openSight();
    EXPModel model = {};
    ASSERT_EQ(EXPGetModel(sight, &model), NoError);
    KSV::ProgressStrings strings;
    strings[5] = "Saving points";
    strings[6] = "Saving polygons";
    KSV::MaterialMap map;
    int32_t total = 0;
    {
        KSV::GSScnExternal supplier(*EXPGetModelFunctionTable(), model, strings, map, false);
        total = supplier.getNbPoints(nullptr);
        EXPECT_EQ(supplier.getNbPolygons(nullptr), 1500);
        NvScn::CScnMgr* scratch = NvScn::CScnMgr::create(nullptr, nullptr);
        int32_t points = 0, polygons = 0;
        NvScn::CScnVector point;
        while (points < total && supplier.fillPoint(nullptr, &point, points)) {
            ++points;
        }
        while (points == total && polygons < 1500 &&
               supplier.fillPolygon(nullptr, scratch->getPolygons()->newScnObject(NvScn::kScnLastIndex), polygons)) {
            ++polygons;
        }
        scratch->release();
        EXPECT_EQ(points, GetParam().pointsGiven < 0 ? total : GetParam().pointsGiven);
        EXPECT_EQ(polygons, GetParam().polygonsGiven);
        EXPECT_EQ(supplier.cancelled(), GetParam().cancelAt != 0);
    }
    std::vector<std::string> expected = GetParam().progress;
    for (std::string& line : expected) {
        const std::size_t at = line.find('P', line.size() - 1);
        if (at != std::string::npos) {
            line.replace(at, 1, std::to_string(total));
        }
    }
    EXPECT_EQ(cadhost::project().progressLog.lines(), expected);
    EXPECT_EQ(cadhost::debugLog(), "");
    EXPGetModelFunctionTable()->FreeModel(&model);
    sight->RemoveReference();
}

INSTANTIATE_TEST_SUITE_P(Queries, SupplyCancel, ::testing::Values(
    CancelCase{"Never", 0, -1, 1500,
               {"phase \"Saving points\" P", "value 1", "value P", "phase \"Saving polygons\" 1500", "value 1",
                "value 1500"}},
    CancelCase{"AtTheThousandthPoint", 1, 999, 0,
               {"phase \"Saving points\" P", "value 1", "value 1000", "cancel pressed at query 1"}},
    CancelCase{"AtTheThousandthPolygon", 4, -1, 999,
               {"phase \"Saving points\" P", "value 1", "value P", "phase \"Saving polygons\" 1500", "value 1",
                "value 1000", "cancel pressed at query 4"}}),
    [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.name; });

// The layer supplier by itself: a component the layers do not know, and the failures it reports.
struct StorageCase {
    const char* name;
    bool known;                                             // the component stands for layer 1
    std::function<void(EXPModelFunctionTable*)> breakHost;  // null: the host as it is
    int32_t points;            // counts the supplier answers
    int32_t polygons;
    std::vector<bool> answers; // of the first fillPoint and fillPolygon
    int32_t vertices;          // of the polygon filled
    std::string log;
};

class LayerSupply : public AddOnClassesTest, public ::testing::WithParamInterface<StorageCase> {};

TEST_P(LayerSupply, AnswersTheLibrary)
{
    const StorageCase& c = GetParam();
    loadJson(R"({"format": "cadhost-model", "materials": [{"name": "A"}], "elements": [{"bodies": [
        {"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "polygons": [{"material": 1, "vertices": [1, 2, 3]}]}]}]})");
    TakenModel taken(c.breakHost);
    const EXPModelFunctionTable& table = taken.table;
    const EXPModel& model = taken.model;
    const KSV::ProgressStrings strings = supplierStrings();
    {
        KSV::ModelTextures textures(table, model);
        KSV::AddonLayer layers(table, model, false, "Unique layer");
        const NvScn::CScnUUID known = {{1, 2, 3}};
        const NvScn::CScnUUID unknown = {{9, 9, 9}};
        layers.addComponent(known, 1).plainMaterials[1] = 0;
        KSV::AddonLayerStorage storage(table, model, strings, layers, textures);
        EXPECT_EQ(storage.getNbPoints(nullptr), 0);
        EXPECT_TRUE(storage.setCurrentInternalComponentInstance(nullptr, c.known ? &known : &unknown, 0));
        EXPECT_EQ(storage.currentLayer(), c.known ? 1 : 0);
        EXPECT_EQ(storage.getNbPoints(nullptr), c.points);
        EXPECT_EQ(storage.getNbPolygons(nullptr), c.polygons);
        NvScn::CScnMgr* scratch = NvScn::CScnMgr::create(nullptr, nullptr);
        NvScn::CScnVector point = {0, 0, 0};
        const bool pointAnswer = storage.fillPoint(nullptr, &point, 0);
        const bool polygonAnswer =
            storage.fillPolygon(nullptr, scratch->getPolygons()->newScnObject(NvScn::kScnLastIndex), 0);
        EXPECT_EQ((std::vector<bool>{pointAnswer, polygonAnswer}), c.answers);
        EXPECT_EQ(scratch->getPolygons()->getScnObject(0)->getVertices()->getNbObjects(), c.vertices);
        scratch->release();
    }
    EXPECT_EQ(cadhost::debugLog(), c.log);
}

INSTANTIATE_TEST_SUITE_P(Cases, LayerSupply, ::testing::Values(
    StorageCase{"AComponentOfNoLayerGetsNoGeometry", false, nullptr, 0, 0, {true, true}, 0, ""},
    StorageCase{"AComponentOfALayerGetsItsGeometry", true, nullptr, 3, 1, {true, true}, 3, ""},
    StorageCase{"AFailingVertexIsCaught", true, [](EXPModelFunctionTable* t) { t->GetVertex = vertexThrows; }, 3, 1,
                {false, true}, 3, "Catch unknown exception in AddonLayerStorage::fillPoint\n"},
    StorageCase{"APolygonOfTwoVerticesIsRefused", true,
                [](EXPModelFunctionTable* t) { t->GetPolygon = polygonOfTwoEdges; }, 3, 1, {true, false}, 2,
                "Catch \"Polygon 1 of body 1 of element 1 has fewer than three vertices\" in "
                "KSV::AddonLayerStorage::fillPolygon\n"}),
    [](const ::testing::TestParamInfo<StorageCase>& info) { return info.param.name; });

}  // namespace
