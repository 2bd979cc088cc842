// The model walked through the modeler's function table exactly as the export add-on walks it,
// the views and model data it takes, and the host services that answer from the model.
#include "CADHost.h"
#include "GSModeler.h"
#include "Model.h"
#include "test_host_support.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", std::fabs(value) < 1e-12 ? 0.0 : value);
    return text;
}

// What the add-on's geometry supplier makes of the model: one line per polygon with its material,
// its normal, its contour and holes as global point indices, and the texture coordinates u, v.
struct Walk {
    int64_t points = 0;
    std::vector<std::string> polygons;
    std::vector<std::string> problems;
};

Walk walkModel(const EXPModelFunctionTable& t, const EXPModel* model)
{
    Walk walk;
    auto check = [&walk](GSErrCode error, const char* what) {
        if (error != NoError) {
            walk.problems.push_back(std::string(what) + " answered " + std::to_string(error));
        }
        return error == NoError;
    };
    const int32_t elements = t.GetElementCount(model);
    for (int32_t e = 1; e <= elements; ++e) {
        EXPElementInfo element;
        if (!check(t.GetElement(model, e, &element), "GetElement")) {
            continue;
        }
        for (int32_t b = 1; b <= element.bodyCount; ++b) {
            EXPBodyInfo body;
            if (!check(t.GetBody(model, e, b, &body), "GetBody") || body.polygonCount == 0) {
                continue;
            }
            const int64_t base = walk.points;
            walk.points += body.vertexCount;
            for (int32_t p = 1; p <= body.polygonCount; ++p) {
                EXPPolygonInfo polygon;
                check(t.GetPolygon(model, e, b, p, &polygon), "GetPolygon");
                EXPVector normal = {0, 0, 0};
                check(t.GetNormal(model, e, b, std::abs(polygon.normalIndex), &normal), "GetNormal");
                if (polygon.normalIndex < 0) {
                    normal = {-normal.x, -normal.y, -normal.z};
                }
                // The texture the polygon shows, when the host has its image.
                int32_t texture = 0;
                if (polygon.textureIndex >= 1 && t.IsTextureAvailable(model, polygon.textureIndex)) {
                    texture = polygon.textureIndex;
                } else if (polygon.materialIndex >= 1) {
                    EXPMaterialInfo material;
                    check(t.GetMaterial(model, polygon.materialIndex, &material), "GetMaterial");
                    texture = material.textureIndex >= 1 && t.IsTextureAvailable(model, material.textureIndex)
                                  ? material.textureIndex : 0;
                }
                EXPTextureInfo info = {};
                if (texture != 0) {
                    check(t.GetTexture(model, texture, &info), "GetTexture");
                }
                std::string line = "m" + std::to_string(polygon.materialIndex) + " n(" + number(normal.x) + " " +
                                   number(normal.y) + " " + number(normal.z) + "):";
                std::string coordinates;
                for (int32_t k = 1; k <= polygon.edgeCount; ++k) {
                    int32_t entry = 0;
                    check(t.GetPolygonEdge(model, e, b, p, k, &entry), "GetPolygonEdge");
                    if (entry == 0) {
                        line += " |";
                        continue;
                    }
                    EXPEdgeInfo edge;
                    check(t.GetEdge(model, e, b, std::abs(entry), &edge), "GetEdge");
                    const int32_t vertex = entry > 0 ? edge.vertex1 : edge.vertex2;
                    line += " " + std::to_string(base + vertex - 1);
                    if (texture != 0) {
                        EXPVector position;
                        EXPTextureCoordinate st;
                        check(t.GetVertex(model, e, b, vertex, &position), "GetVertex");
                        check(t.GetTextureCoordinate(model, e, b, p, vertex, &position, &normal, &st), "GetTextureCoordinate");
                        coordinates += " (" + number(st.s / info.xSize) + " " + number(st.t / info.ySize) + ")";
                    }
                }
                walk.polygons.push_back(line + coordinates);
            }
        }
    }
    return walk;
}

class ModelWalk : public HostFolderTest {
protected:
    void load(const std::string& path)
    {
        std::string error;
        ASSERT_TRUE(cadhost::loadModel(path, {}, &error)) << error;
    }
    void TearDown() override
    {
        EXPECT_EQ(cadhost::liveSights(), 0);
        EXPECT_EQ(cadhost::liveModelData(), 0);
        cadhost::modeler() = cadhost::ModelerControl();
        HostFolderTest::TearDown();
    }
    Walk walk()
    {
        const EXPModelFunctionTable* table = EXPGetModelFunctionTable();
        EXPModel model = {};
        Modeler::Sight* sight = cadhost::openSight();
        EXPECT_EQ(EXPGetModel(sight, &model), NoError);
        sight->RemoveReference();   // the model outlives the view
        const Walk result = walkModel(*table, &model);
        table->FreeModel(&model);
        EXPECT_EQ(model.data, nullptr);
        return result;
    }
};

TEST_F(ModelWalk, TheSampleModelGivesEveryConstruct)
{
    load(SAMPLE_MODELS "/pavilion.json");
    const Walk w = walk();
    EXPECT_EQ(w.problems, std::vector<std::string>{});
    EXPECT_EQ(w.points, 19);   // the rail's body has no polygons and gives no points
    EXPECT_EQ(w.polygons, (std::vector<std::string>{
        "m1 n(0 -1 0): 0 1 2 3 | 4 7 6 5",
        "m0 n(0 1 0): 0 3 2 1 | 4 5 6 7",
        "m2 n(0 0 1): 8 9 10 11 (0 0) (2 0) (2 1.5) (0 1.5)",
        "m3 n(0 -0.6 0.8): 12 13 14 15 (0 0) (8 0) (8 4.8) (0 4.8)",
        "m4 n(0 -1 0): 16 17 18"}));
}

TEST_F(ModelWalk, ObjPolygonsKeepTheirCornersAndShareTheirEdges)
{
    load(HOST_MODELS "/house.obj");
    const Walk w = walk();
    EXPECT_EQ(w.problems, std::vector<std::string>{});
    EXPECT_EQ(w.polygons, (std::vector<std::string>{
        "m2 n(0 -1 0): 0 1 2 3 (0 0) (1 0) (1 1) (0 1)",
        "m2 n(0 -1 0): 3 2 4 (0 1) (1 1) (0.5 1.5)",
        "m3 n(0 0 -1): 5 6 7 8",
        "m4 n(0 0.707107 0.707107): 9 10 11 12",
        "m5 n(0 0 1): 13 14 15"}));
}

TEST_F(ModelWalk, GeneratedModelsHaveExactlyThePolygonsAsked)
{
    for (int64_t count : {0, 1, 9999, 10000, 10001, 25000}) {
        cadhost::generateModel(count);
        const cadhost::Model& m = *cadhost::project().model;
        EXPECT_EQ(static_cast<int64_t>(m.polygons.size()), count);
        const Walk w = walk();
        EXPECT_EQ(static_cast<int64_t>(w.polygons.size()), count);
        EXPECT_EQ(w.problems, std::vector<std::string>{});
        if (count == 10001) {
            EXPECT_EQ(w.points, 101 * 101 + 4);
            EXPECT_EQ(w.polygons.front(), "m1 n(0 -1 0): 0 1 102 101 (0 0) (0.1 0) (0.1 0.1) (0 0.1)");
            EXPECT_EQ(w.polygons.back(), "m1 n(0 -1 0): 10201 10202 10204 10203 (0 0) (0.1 0) (0.1 0.1) (0 0.1)");
        }
    }
}

TEST_F(ModelWalk, GeneratedModelsAreCompact)
{
    cadhost::generateModel(200000);
    const cadhost::Model& m = *cadhost::project().model;
    const std::size_t bytes = m.vertices.capacity() * sizeof m.vertices[0] + m.uvs.capacity() * sizeof(float) +
                              m.edges.capacity() * sizeof m.edges[0] + m.polygons.capacity() * sizeof m.polygons[0] +
                              m.edgeRefs.capacity() * sizeof(int32_t) + m.normals.capacity() * sizeof m.normals[0];
    EXPECT_LE(bytes / m.polygons.size(), 90u);
}

TEST_F(ModelWalk, TexturePixelsFillAPixMapOfTheirSize)
{
    load(HOST_MODELS "/house.obj");
    const EXPModelFunctionTable* t = EXPGetModelFunctionTable();
    EXPModel model = {};
    Modeler::SightPtr sight;
    {
        Modeler::Sight* view = cadhost::openSight();
        sight = Modeler::SightPtr(view);
        view->RemoveReference();
    }
    ASSERT_EQ(EXPGetModel(sight.Get(), &model), NoError);
    ASSERT_EQ(t->GetTextureCount(&model), 3);
    EXPTextureInfo info;
    ASSERT_EQ(t->GetTexture(&model, 1, &info), NoError);
    EXPECT_STREQ(info.name, "bricks.png");
    EXPECT_EQ(info.hasAlpha, 1);
    GSPixMapHandle map = GXCreateGSPixMap(info.pixelWidth, info.pixelHeight, 32, 72, 72);
    ASSERT_EQ(t->FillTexturePixMap(&model, 1, map), NoError);
    const auto* pixels = static_cast<const uint8_t*>(GXGetGSPixMapBaseAddr(map));
    EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + 16),
              (std::vector<uint8_t>{176, 64, 48, 255, 200, 200, 190, 255, 200, 200, 190, 255, 176, 64, 48, 128}));
    EXPECT_FALSE(t->IsTextureAvailable(&model, 2));
    ASSERT_EQ(t->GetTexture(&model, 2, &info), NoError);
    EXPECT_EQ(info.pixelWidth, 0);
    EXPECT_EQ(t->FillTexturePixMap(&model, 2, map), APIERR_BADPARS);
    EXPECT_EQ(t->FillTexturePixMap(&model, 4, map), APIERR_BADINDEX);
    GXDeleteGSPixMap(map);
    t->FreeModel(&model);
}

struct BadQuery {
    const char* name;
    std::function<GSErrCode(const EXPModelFunctionTable&, const EXPModel*)> query;
    GSErrCode result;
};

class ModelQueries : public ModelWalk, public ::testing::WithParamInterface<BadQuery> {};

TEST_P(ModelQueries, RefuseBadIndicesAndRecords)
{
    load(SAMPLE_MODELS "/pavilion.json");
    const EXPModelFunctionTable* t = EXPGetModelFunctionTable();
    EXPModel model = {};
    Modeler::Sight* sight = cadhost::openSight();
    ASSERT_EQ(EXPGetModel(sight, &model), NoError);
    EXPECT_EQ(GetParam().query(*t, &model), GetParam().result);
    t->FreeModel(&model);
    t->FreeModel(&model);   // a second free does nothing
    sight->RemoveReference();
}

EXPVector gPoint = {0, 0, 0};
EXPTextureCoordinate gCoordinate;

INSTANTIATE_TEST_SUITE_P(Queries, ModelQueries, ::testing::Values(
    BadQuery{"ElementZero", [](auto& t, auto* m) { EXPElementInfo i; return t.GetElement(m, 0, &i); }, APIERR_BADINDEX},
    BadQuery{"ElementPastTheEnd", [](auto& t, auto* m) { EXPElementInfo i; return t.GetElement(m, 5, &i); }, APIERR_BADINDEX},
    BadQuery{"NullRecord", [](auto& t, auto* m) { return t.GetElement(m, 1, nullptr); }, APIERR_BADPARS},
    BadQuery{"NullModel", [](auto& t, auto*) { EXPBodyInfo i; return t.GetBody(nullptr, 1, 1, &i); }, APIERR_BADPARS},
    BadQuery{"BodyPastTheEnd", [](auto& t, auto* m) { EXPBodyInfo i; return t.GetBody(m, 1, 2, &i); }, APIERR_BADINDEX},
    BadQuery{"VertexPastTheEnd", [](auto& t, auto* m) { EXPVector v; return t.GetVertex(m, 1, 1, 9, &v); }, APIERR_BADINDEX},
    BadQuery{"EdgeZero", [](auto& t, auto* m) { EXPEdgeInfo i; return t.GetEdge(m, 1, 1, 0, &i); }, APIERR_BADINDEX},
    BadQuery{"PolygonOfABareBody", [](auto& t, auto* m) { EXPPolygonInfo i; return t.GetPolygon(m, 4, 1, 1, &i); }, APIERR_BADINDEX},
    BadQuery{"EdgeListPastTheEnd", [](auto& t, auto* m) { int32_t e; return t.GetPolygonEdge(m, 1, 1, 1, 10, &e); }, APIERR_BADINDEX},
    BadQuery{"NegativeNormal", [](auto& t, auto* m) { EXPVector v; return t.GetNormal(m, 1, 1, -1, &v); }, APIERR_BADINDEX},
    BadQuery{"CoordinateWithoutPosition",
             [](auto& t, auto* m) { return t.GetTextureCoordinate(m, 2, 1, 1, 1, nullptr, &gPoint, &gCoordinate); }, APIERR_BADPARS},
    BadQuery{"CoordinateOfNoVertex",
             [](auto& t, auto* m) { return t.GetTextureCoordinate(m, 2, 1, 1, 5, &gPoint, &gPoint, &gCoordinate); }, APIERR_BADINDEX},
    // The host remembers the body and polygon last asked for: what it remembers never answers for another.
    BadQuery{"EdgeListPastTheEndAfterItsStart", [](auto& t, auto* m) {
                 int32_t e;
                 return t.GetPolygonEdge(m, 1, 1, 1, 1, &e) == NoError ? t.GetPolygonEdge(m, 1, 1, 1, 10, &e) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"PolygonOfABareBodyAfterAnother", [](auto& t, auto* m) {
                 EXPPolygonInfo i;
                 return t.GetPolygon(m, 1, 1, 1, &i) == NoError ? t.GetPolygon(m, 4, 1, 1, &i) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"VertexPastTheEndAfterOneInRange", [](auto& t, auto* m) {
                 EXPVector v;
                 return t.GetVertex(m, 1, 1, 1, &v) == NoError ? t.GetVertex(m, 1, 1, 9, &v) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"CoordinateWithoutRecordAfterOne", [](auto& t, auto* m) {
                 return t.GetTextureCoordinate(m, 2, 1, 1, 1, &gPoint, &gPoint, &gCoordinate) == NoError
                            ? t.GetTextureCoordinate(m, 2, 1, 1, 1, &gPoint, &gPoint, nullptr) : NoError;
             }, APIERR_BADPARS},
    BadQuery{"CoordinateWithoutNormalAfterOne", [](auto& t, auto* m) {
                 return t.GetTextureCoordinate(m, 2, 1, 1, 1, &gPoint, &gPoint, &gCoordinate) == NoError
                            ? t.GetTextureCoordinate(m, 2, 1, 1, 1, &gPoint, nullptr, &gCoordinate) : NoError;
             }, APIERR_BADPARS},
    BadQuery{"CoordinateOfVertexZeroAfterOne", [](auto& t, auto* m) {
                 return t.GetTextureCoordinate(m, 2, 1, 1, 1, &gPoint, &gPoint, &gCoordinate) == NoError
                            ? t.GetTextureCoordinate(m, 2, 1, 1, 0, &gPoint, &gPoint, &gCoordinate) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"CoordinateOfPolygonZeroAfterOne", [](auto& t, auto* m) {
                 return t.GetTextureCoordinate(m, 2, 1, 1, 1, &gPoint, &gPoint, &gCoordinate) == NoError
                            ? t.GetTextureCoordinate(m, 2, 1, 0, 1, &gPoint, &gPoint, &gCoordinate) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"EdgeListEntryZeroAfterOne", [](auto& t, auto* m) {
                 int32_t e;
                 return t.GetPolygonEdge(m, 1, 1, 1, 1, &e) == NoError ? t.GetPolygonEdge(m, 1, 1, 1, 0, &e) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"EdgeListOfPolygonZeroAfterOne", [](auto& t, auto* m) {
                 int32_t e;
                 return t.GetPolygonEdge(m, 1, 1, 1, 1, &e) == NoError ? t.GetPolygonEdge(m, 1, 1, 0, 1, &e) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"EdgeListWithoutRecordAfterOne", [](auto& t, auto* m) {
                 int32_t e;
                 return t.GetPolygonEdge(m, 1, 1, 1, 1, &e) == NoError ? t.GetPolygonEdge(m, 1, 1, 1, 1, nullptr) : NoError;
             }, APIERR_BADPARS},
    BadQuery{"EdgeListOfAnotherElementsBody", [](auto& t, auto* m) {
                 int32_t e;
                 return t.GetPolygonEdge(m, 1, 1, 1, 1, &e) == NoError ? t.GetPolygonEdge(m, 4, 1, 1, 1, &e) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"EdgeZeroAfterOne", [](auto& t, auto* m) {
                 EXPEdgeInfo i;
                 return t.GetEdge(m, 1, 1, 1, &i) == NoError ? t.GetEdge(m, 1, 1, 0, &i) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"EdgeWithoutRecordAfterOne", [](auto& t, auto* m) {
                 EXPEdgeInfo i;
                 return t.GetEdge(m, 1, 1, 1, &i) == NoError ? t.GetEdge(m, 1, 1, 1, nullptr) : NoError;
             }, APIERR_BADPARS},
    BadQuery{"EdgeOfNoElementAfterOne", [](auto& t, auto* m) {
                 EXPEdgeInfo i;
                 return t.GetEdge(m, 1, 1, 1, &i) == NoError ? t.GetEdge(m, 5, 1, 1, &i) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"VertexZeroAfterOne", [](auto& t, auto* m) {
                 EXPVector v;
                 return t.GetVertex(m, 1, 1, 1, &v) == NoError ? t.GetVertex(m, 1, 1, 0, &v) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"VertexWithoutRecordAfterOne", [](auto& t, auto* m) {
                 EXPVector v;
                 return t.GetVertex(m, 1, 1, 1, &v) == NoError ? t.GetVertex(m, 1, 1, 1, nullptr) : NoError;
             }, APIERR_BADPARS},
    BadQuery{"VertexOfNoElementAfterOne", [](auto& t, auto* m) {
                 EXPVector v;
                 return t.GetVertex(m, 1, 1, 1, &v) == NoError ? t.GetVertex(m, 0, 1, 1, &v) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"NormalPastTheEndAfterOne", [](auto& t, auto* m) {
                 EXPVector v;
                 return t.GetNormal(m, 1, 1, 1, &v) == NoError ? t.GetNormal(m, 1, 1, 100, &v) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"NormalWithoutRecordAfterOne", [](auto& t, auto* m) {
                 EXPVector v;
                 return t.GetNormal(m, 1, 1, 1, &v) == NoError ? t.GetNormal(m, 1, 1, 1, nullptr) : NoError;
             }, APIERR_BADPARS},
    BadQuery{"NormalOfNoElementAfterOne", [](auto& t, auto* m) {
                 EXPVector v;
                 return t.GetNormal(m, 1, 1, 1, &v) == NoError ? t.GetNormal(m, 5, 1, 1, &v) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"PolygonZeroAfterOne", [](auto& t, auto* m) {
                 EXPPolygonInfo i;
                 return t.GetPolygon(m, 1, 1, 1, &i) == NoError ? t.GetPolygon(m, 1, 1, 0, &i) : NoError;
             }, APIERR_BADINDEX},
    BadQuery{"PolygonWithoutRecordAfterOne", [](auto& t, auto* m) {
                 EXPPolygonInfo i;
                 return t.GetPolygon(m, 1, 1, 1, &i) == NoError ? t.GetPolygon(m, 1, 1, 1, nullptr) : NoError;
             }, APIERR_BADPARS},
    BadQuery{"MaterialZero", [](auto& t, auto* m) { EXPMaterialInfo i; return t.GetMaterial(m, 0, &i); }, APIERR_BADINDEX},
    BadQuery{"TexturePastTheEnd", [](auto& t, auto* m) { EXPTextureInfo i; return t.GetTexture(m, 4, &i); }, APIERR_BADINDEX}),
    [](const ::testing::TestParamInfo<BadQuery>& info) { return info.param.name; });

// One line per polygon of what the table answers for it: the edge-list length, each entry with
// the ends of its edge, and the texture coordinate of each edge's first vertex.
std::string polygonAnswers(const EXPModelFunctionTable& t, const EXPModel* model, int32_t e, int32_t b, int32_t p)
{
    EXPPolygonInfo polygon;
    if (t.GetPolygon(model, e, b, p, &polygon) != NoError) {
        return "no polygon";
    }
    std::string line = std::to_string(e) + "." + std::to_string(b) + "." + std::to_string(p) + " m" +
                       std::to_string(polygon.materialIndex) + " " + std::to_string(polygon.edgeCount) + ":";
    const EXPVector normal = {0, 0, 1};
    for (int32_t k = 1; k <= polygon.edgeCount; ++k) {
        int32_t entry = 0;
        EXPEdgeInfo edge = {0, 0};
        EXPVector position = {0, 0, 0};
        EXPTextureCoordinate st = {0, 0};
        t.GetPolygonEdge(model, e, b, p, k, &entry);
        if (entry != 0 && t.GetEdge(model, e, b, std::abs(entry), &edge) == NoError &&
            t.GetVertex(model, e, b, edge.vertex1, &position) == NoError) {
            t.GetTextureCoordinate(model, e, b, p, edge.vertex1, &position, &normal, &st);
        }
        line += " " + std::to_string(entry) + "(" + std::to_string(edge.vertex1) + "," + std::to_string(edge.vertex2) +
                " " + number(st.s) + " " + number(st.t) + ")";
    }
    return line;
}

// Models whose bodies take each of the host's ways to answer: stated texture coordinates or box
// mapping, bodies with and without a matrix.
class PolygonOrder : public ModelWalk, public ::testing::WithParamInterface<const char*> {};

TEST_P(PolygonOrder, PolygonsAskedInAnyOrderAnswerAsInModelOrder)
{
    load(GetParam());
    const EXPModelFunctionTable* t = EXPGetModelFunctionTable();
    EXPModel model = {};
    Modeler::Sight* sight = cadhost::openSight();
    ASSERT_EQ(EXPGetModel(sight, &model), NoError);
    struct Key {
        int32_t e, b, p;
    };
    std::vector<Key> keys;
    for (int32_t e = 1; e <= t->GetElementCount(&model); ++e) {
        EXPElementInfo element;
        ASSERT_EQ(t->GetElement(&model, e, &element), NoError);
        for (int32_t b = 1; b <= element.bodyCount; ++b) {
            EXPBodyInfo body;
            ASSERT_EQ(t->GetBody(&model, e, b, &body), NoError);
            for (int32_t p = 1; p <= body.polygonCount; ++p) {
                keys.push_back({e, b, p});
            }
        }
    }
    ASSERT_GE(keys.size(), 2u);
    std::vector<std::string> inOrder;
    for (const Key& k : keys) {
        inOrder.push_back(polygonAnswers(*t, &model, k.e, k.b, k.p));
    }
    // Backwards, and then every polygon once more between the first and the last.
    std::vector<std::string> backwards(keys.size());
    for (std::size_t i = keys.size(); i-- > 0;) {
        backwards[i] = polygonAnswers(*t, &model, keys[i].e, keys[i].b, keys[i].p);
    }
    EXPECT_EQ(backwards, inOrder);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        polygonAnswers(*t, &model, keys.front().e, keys.front().b, keys.front().p);
        EXPECT_EQ(polygonAnswers(*t, &model, keys[i].e, keys[i].b, keys[i].p), inOrder[i]);
        polygonAnswers(*t, &model, keys.back().e, keys.back().b, keys.back().p);
    }
    t->FreeModel(&model);
    sight->RemoveReference();
}

INSTANTIATE_TEST_SUITE_P(Models, PolygonOrder,
                         ::testing::Values(SAMPLE_MODELS "/pavilion.json", HOST_MODELS "/house.obj",
                                           HOST_MODELS "/quad.gltf", HOST_MODELS "/scene.dae"));

TEST_F(ModelWalk, TheTableStatesItsVersionsAndTheHostCanPlayAnOlderOne)
{
    const EXPModelFunctionTable* t = EXPGetModelFunctionTable();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->tableSize, static_cast<int32_t>(sizeof(EXPModelFunctionTable)));
    EXPECT_EQ(t->tableVersion, kEXPTableVersion);
    EXPECT_EQ(t->modelVersion, kEXPModelVersion);
    cadhost::modeler().tableVersion = 13;
    EXPECT_EQ(EXPGetModelFunctionTable()->tableVersion, 13);
    cadhost::modeler().tableMissing = true;
    EXPECT_EQ(EXPGetModelFunctionTable(), nullptr);
    cadhost::modeler() = cadhost::ModelerControl();
    cadhost::modeler().getModelResult = APIERR_MEMFULL;
    Modeler::Sight* sight = cadhost::openSight();
    EXPModel model = {};
    EXPECT_EQ(EXPGetModel(sight, &model), APIERR_MEMFULL);
    EXPECT_EQ(model.data, nullptr);
    EXPECT_EQ(EXPGetModel(nullptr, &model), APIERR_BADPARS);
    sight->RemoveReference();
}

TEST_F(ModelWalk, ViewsCountTheirReferences)
{
    Modeler::Sight* sight = cadhost::openSight();
    EXPECT_EQ(cadhost::liveSights(), 1);
    {
        Modeler::SightPtr kept(sight);
        Modeler::SightPtr copy = kept;
        EXPECT_EQ(sight->GetReferenceCount(), 3);
    }
    EXPECT_EQ(sight->GetReferenceCount(), 1);
    sight->RemoveReference();
    EXPECT_EQ(cadhost::liveSights(), 0);
}

// The host services of the add-on interface, called with the token of the loaded add-on.
class ModelServices : public ModelWalk {
protected:
    void SetUp() override
    {
        ModelWalk::SetUp();
        ASSERT_TRUE(mAddOn.load(KSV_ADDON_PATH)) << mAddOn.error();
        load(SAMPLE_MODELS "/pavilion.json");
    }
    void TearDown() override
    {
        mAddOn.unload();
        ModelWalk::TearDown();
    }
    GSErrCode call(int entry, void* a = nullptr, void* b = nullptr, void* c = nullptr)
    {
        return cadhost::serviceTable()[entry](mAddOn.token, a, b, c, nullptr);
    }
    static void* integer(intptr_t value) { return reinterpret_cast<void*>(value); }
    cadhost::AddOn mAddOn;
};

TEST_F(ModelServices, ComponentsAnswerBodiesVerticesMaterialsAndLights)
{
    int32_t count = -1;
    EXPECT_EQ(call(kAC3DComponentCount, integer(API_BodyID), &count), NoError);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(call(kAC3DComponentCount, integer(API_VertID), &count), NoError);
    EXPECT_EQ(count, 22);
    EXPECT_EQ(call(kAC3DComponentCount, integer(API_UmatID), &count), NoError);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(call(kAC3DComponentCount, integer(API_LghtID), &count), NoError);
    EXPECT_EQ(count, 4);
    API_Component3D c = {};
    c.typeID = API_VertID;
    c.index = 1;
    EXPECT_EQ(call(kAC3DComponent, &c), APIERR_BADINDEX);   // no body fetched yet
    c.typeID = API_BodyID;
    c.index = 3;
    ASSERT_EQ(call(kAC3DComponent, &c), NoError);
    EXPECT_EQ(c.body.nVert, 4);
    EXPECT_EQ(c.body.nPgon, 1);
    EXPECT_EQ(std::vector<double>(c.body.tranmat, c.body.tranmat + 12),
              (std::vector<double>{1, 0, 0, 0, 0, 0.8, -0.6, 0, 0, 0.6, 0.8, 3}));
    c.typeID = API_VertID;
    c.index = 3;
    ASSERT_EQ(call(kAC3DComponent, &c), NoError);   // in the body's own coordinates
    EXPECT_EQ(std::vector<double>({c.vert.x, c.vert.y, c.vert.z}), (std::vector<double>{4, 3, 0}));
    c.index = 5;
    EXPECT_EQ(call(kAC3DComponent, &c), APIERR_BADINDEX);
    c.typeID = API_UmatID;
    c.index = 3;
    ASSERT_EQ(call(kAC3DComponent, &c), NoError);
    EXPECT_STREQ(c.umat.name, "Glass");
    EXPECT_EQ(c.umat.transpPc, 80);
    EXPECT_EQ(c.umat.emissionAtt, 50);
    EXPECT_EQ(c.umat.emissionRGB.red, 0.2);
    c.typeID = API_LghtID;
    c.index = 3;
    ASSERT_EQ(call(kAC3DComponent, &c), NoError);
    EXPECT_EQ(c.lght.kind, 2);
    EXPECT_EQ(c.lght.length, 2.9);
    EXPECT_EQ(c.lght.cosAngle, 0.8660254037844387);
    EXPECT_EQ(c.lght.posZ, 2.9);
    c.typeID = 6;
    EXPECT_EQ(call(kAC3DComponent, &c), APIERR_BADID);
}

// A vertex asked for after a vertex of the same body: the host answers it quickly, and exactly as
// the first, whatever changed in between.
struct VertexAfterCase {
    const char* name;
    std::function<GSErrCode(const ACServiceProc*, uint32_t token, API_Component3D*)> ask;
    std::string answer;   // the code, and the vertex when found
};

class ComponentVertices : public ModelServices, public ::testing::WithParamInterface<VertexAfterCase> {};

TEST_P(ComponentVertices, AnswerAsTheFirstVertexOfTheBody)
{
    API_Component3D c = {};
    c.typeID = API_BodyID;
    c.index = 3;
    ASSERT_EQ(call(kAC3DComponent, &c), NoError);
    c.typeID = API_VertID;
    c.index = 1;
    ASSERT_EQ(call(kAC3DComponent, &c), NoError);
    c = {};
    const GSErrCode code = GetParam().ask(cadhost::serviceTable(), mAddOn.token, &c);
    std::string answer = std::to_string(code);
    if (code == NoError) {
        answer += " " + number(c.vert.x) + "," + number(c.vert.y) + "," + number(c.vert.z);
    }
    EXPECT_EQ(answer, GetParam().answer);
}

GSErrCode askVertex(const ACServiceProc* table, uint32_t token, API_Component3D* c, int32_t index)
{
    c->typeID = API_VertID;
    c->index = index;
    return table[kAC3DComponent](token, c, nullptr, nullptr, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Vertices, ComponentVertices, ::testing::Values(
    VertexAfterCase{"Next", [](auto t, uint32_t k, auto* c) { return askVertex(t, k, c, 3); }, "0 4,3,0"},
    VertexAfterCase{"Zero", [](auto t, uint32_t k, auto* c) { return askVertex(t, k, c, 0); }, std::to_string(APIERR_BADINDEX)},
    VertexAfterCase{"PastTheEnd", [](auto t, uint32_t k, auto* c) { return askVertex(t, k, c, 5); }, std::to_string(APIERR_BADINDEX)},
    VertexAfterCase{"NoRecord", [](auto t, uint32_t k, auto*) { return t[kAC3DComponent](k, nullptr, nullptr, nullptr, nullptr); },
                    std::to_string(APIERR_BADPARS)},
    VertexAfterCase{"UnknownToken", [](auto t, uint32_t k, auto* c) { return askVertex(t, k + 1000, c, 3); },
                    std::to_string(APIERR_GENERAL)},
    VertexAfterCase{"OfAnotherBody", [](auto t, uint32_t k, auto* c) {
                        c->typeID = API_BodyID;
                        c->index = 1;
                        const GSErrCode body = t[kAC3DComponent](k, c, nullptr, nullptr, nullptr);
                        return body != NoError ? body : askVertex(t, k, c, 5);
                    }, "0 1,0,1"},
    VertexAfterCase{"OfAFreshProject", [](auto t, uint32_t k, auto* c) {
                        cadhost::resetProject();
                        return askVertex(t, k, c, 3);
                    }, std::to_string(APIERR_BADINDEX)}),
    [](const ::testing::TestParamInfo<VertexAfterCase>& info) { return info.param.name; });

TEST_F(ModelServices, ElementsAreFoundByGuidWithTheirLayer)
{
    int32_t count = 0;
    ASSERT_EQ(call(kACElementList, integer(API_RoofID), &count), NoError);
    ASSERT_EQ(count, 1);
    API_Guid guid;
    ASSERT_EQ(call(kACElementList, integer(API_RoofID), &count, &guid), NoError);
    API_Element element = {};
    element.guid = guid;
    ASSERT_EQ(call(kACElementByIndex, &element), NoError);
    EXPECT_EQ(element.typeID, API_RoofID);
    EXPECT_EQ(element.layer, 2);
    EXPECT_STREQ(element.name, "Canopy");
    EXPECT_EQ(guid.bytes[0], 0x01);
    EXPECT_EQ(guid.bytes[15], 0xEF);
    API_Attribute layer = {};
    layer.typeID = API_LayerID;
    layer.index = element.layer;
    ASSERT_EQ(call(kACAttributeByIndex, &layer), NoError);
    EXPECT_STREQ(layer.name, "Roof");
    API_Attribute material = {};
    material.typeID = API_MaterialID;
    material.index = 4;
    ASSERT_EQ(call(kACAttributeByIndex, &material), NoError);
    EXPECT_STREQ(material.name, "Lost");
    element = {};
    element.typeID = API_WallID;
    element.index = 1;
    ASSERT_EQ(call(kACElementByIndex, &element), NoError);
    EXPECT_STREQ(element.name, "Front wall");
    element = {};
    element.guid.bytes[0] = 0xAA;
    EXPECT_EQ(call(kACElementByIndex, &element), APIERR_BADID);
}

TEST_F(ModelServices, CameraSetsChainTheirCamerasAndDeletedOnesAreSkipped)
{
    int32_t count = 0;
    ASSERT_EQ(call(kACElementList, integer(API_CamSetID), &count), NoError);
    ASSERT_EQ(count, 2);
    API_Element set = {};
    set.typeID = API_CamSetID;
    set.index = 1;
    ASSERT_EQ(call(kACElementByIndex, &set), NoError);
    EXPECT_STREQ(set.name, "Walk");
    std::vector<std::string> seen;
    API_Guid next = set.nextCamera;
    const API_Guid none = {};
    while (std::memcmp(&next, &none, sizeof none) != 0) {
        API_Element camera = {};
        camera.guid = next;
        const GSErrCode error = call(kACElementByIndex, &camera);
        seen.push_back(error == APIERR_DELETED ? "deleted"
                                               : number(camera.cameraX) + " " + number(camera.rollAngle) + " " +
                                                     number(camera.viewCone));
        next = camera.nextCamera;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"2 0 0.872665", "10 5 1.0472", "deleted"}));
    set.index = 2;
    EXPECT_EQ(call(kACElementByIndex, &set), APIERR_DELETED);
}

TEST_F(ModelServices, TheProjectAnswersTheSiteViewAndRendering)
{
    API_PlaceInfo place;
    ASSERT_EQ(call(kAC3DSettings, integer(static_cast<intptr_t>(kSelGPLA)), &place), NoError);
    EXPECT_EQ(place.dayOfYear, 0);
    EXPECT_EQ(place.minuteOfDay, 450);
    EXPECT_EQ(place.daylightSaving, 0);
    EXPECT_EQ(place.northAngle, 1.2);
    API_Attribute city = {};
    city.typeID = API_CityID;
    city.index = place.cityIndex;
    ASSERT_EQ(call(kACAttributeByIndex, &city), NoError);
    EXPECT_STREQ(city.name, "Karlsruhe");
    EXPECT_EQ(city.longitude, 504);
    EXPECT_EQ(city.latitude, 2940);
    EXPECT_EQ(city.timeZone, 60);
    API_SunInfo sun;
    ASSERT_EQ(call(kAC3DSettings, integer(static_cast<intptr_t>(kSelGSUN)), &sun), NoError);
    EXPECT_EQ(sun.atmosphereKind, 2);
    EXPECT_EQ(sun.ambient.blue, 1.25);
    API_RenderingSettings rendering[2];
    for (intptr_t i = 0; i < 2; ++i) {
        ASSERT_EQ(call(kAC3DSettings, integer(static_cast<intptr_t>(kSelGREN)), &rendering[i], integer(i)), NoError);
    }
    EXPECT_EQ(rendering[0].shadows, 1);
    EXPECT_EQ(rendering[1].shadows, 0);
    EXPECT_EQ(rendering[0].backgroundPicture, nullptr);
    ASSERT_NE(rendering[1].backgroundPicture, nullptr);
    EXPECT_EQ(rendering[1].backgroundPicture->HostPath(), SAMPLE_MODELS "/sky.png");
    API_3DProjectionInfo projection;
    ASSERT_EQ(call(kAC3DSettings, integer(static_cast<intptr_t>(kSelGP3D)), &projection), NoError);
    EXPECT_EQ(projection.isPersp, 1);
    EXPECT_EQ(projection.focal, 45.0);
    EXPECT_EQ(projection.azimuth, std::atan2(10.5, -10.0));
    API_Coord origin;
    ASSERT_EQ(call(kACEnvironment, integer(static_cast<intptr_t>(kSelGOFS)), &origin), NoError);
    EXPECT_EQ(origin.y, 12.0);
    GS::UniString map;
    ASSERT_EQ(call(kAC3DSettings, integer(static_cast<intptr_t>(kSelGMAP)), &map), NoError);
    EXPECT_EQ(map.ToCStr(), "Pavilion");
}

TEST_F(ModelServices, TheUserPressesCancelAtTheAskedQueryAndItStaysPressed)
{
    cadhost::project().cancelAfter = 3;
    std::vector<int32_t> answers;
    for (int i = 0; i < 4; ++i) {
        int32_t answer = -1;
        ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelCANC)), &answer), NoError);
        answers.push_back(answer);
    }
    EXPECT_EQ(answers, (std::vector<int32_t>{0, 0, 1, 1}));
    EXPECT_EQ(cadhost::project().progressLog.lines(), std::vector<std::string>{"cancel pressed at query 3"});
    cadhost::resetProject();
    cadhost::pressCancel();
    int32_t answer = 0;
    ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelCANC)), &answer), NoError);
    EXPECT_EQ(answer, 1);
    cadhost::resetProject();
}

}  // namespace

namespace {

TEST_F(ModelServices, TheProgressWindowIsABarOnATerminal)
{
    std::FILE* terminal = std::tmpfile();
    ASSERT_NE(terminal, nullptr);
    cadhost::setProgressDisplay(terminal);
    GS::UniString title("Saving"), phase("Saving points");
    auto selector = [](GSType code) { return integer(static_cast<intptr_t>(code)); };
    call(kACProgressWindow, selector(kSelIPWD), &title, integer(3));
    call(kACProgressWindow, selector(kSelSPRP), &phase, integer(200));
    call(kACProgressWindow, selector(kSelSPRV), integer(1));     // still 0%: not drawn again
    call(kACProgressWindow, selector(kSelSPRV), integer(100));
    call(kACProgressWindow, selector(kSelCPWD));
    cadhost::setProgressDisplay(nullptr);
    std::rewind(terminal);
    std::string shown;
    for (int c = std::fgetc(terminal); c != EOF; c = std::fgetc(terminal)) {
        shown += static_cast<char>(c);
    }
    std::fclose(terminal);
    EXPECT_EQ(shown, "\r\033[KSaving  0/3  [------------------------------]   0%"
                     "\r\033[KSaving  1/3 Saving points [------------------------------]   0%"
                     "\r\033[KSaving  1/3 Saving points [###############---------------]  50%"
                     "\r\033[K");
    EXPECT_EQ(cadhost::project().progressLog.lines(),
              (std::vector<std::string>{"open \"Saving\" 3", "phase \"Saving points\" 200", "value 1", "value 100", "close"}));
}

}  // namespace

namespace {

// A run of values keeps its first and its last, whatever the number of digits of each.
struct ValueRunCase {
    const char* name;
    std::vector<intptr_t> values;
    std::vector<std::string> log;
};

class ProgressValues : public ModelServices, public ::testing::WithParamInterface<ValueRunCase> {};

TEST_P(ProgressValues, KeepTheFirstAndTheLastOfARun)
{
    GS::UniString phase("Saving points");
    ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelSPRP)), &phase, integer(2000)), NoError);
    for (intptr_t value : GetParam().values) {
        ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelSPRV)), integer(value)), NoError);
    }
    ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelCPWD))), NoError);
    EXPECT_EQ(cadhost::project().progressLog.lines(), GetParam().log);
    cadhost::resetProject();
}

INSTANTIATE_TEST_SUITE_P(Runs, ProgressValues, ::testing::Values(
    ValueRunCase{"One", {7}, {"phase \"Saving points\" 2000", "value 7", "close"}},
    ValueRunCase{"Growing", {9, 10, 99, 100, 1000000}, {"phase \"Saving points\" 2000", "value 9", "value 1000000", "close"}},
    ValueRunCase{"Shrinking", {1, 123456, 12, 3}, {"phase \"Saving points\" 2000", "value 1", "value 3", "close"}},
    ValueRunCase{"Negative", {5, -40, 2147483647}, {"phase \"Saving points\" 2000", "value 5", "value 2147483647", "close"}}),
    [](const ::testing::TestParamInfo<ValueRunCase>& info) { return info.param.name; });

// The log read in the middle of a run reads as the log of the calls so far, and the run goes on.
struct LogStep {
    enum Kind { Value, Cancel, Read } kind;
    intptr_t value;                   // Value: the value set
    std::vector<std::string> log;     // Read: the whole log expected then
};

struct LogReadCase {
    const char* name;
    int32_t cancelAfter;
    std::vector<LogStep> steps;
};

class ProgressLogReads : public ModelServices, public ::testing::WithParamInterface<LogReadCase> {};

TEST_P(ProgressLogReads, ReadAsTheCallsSoFar)
{
    cadhost::project().cancelAfter = GetParam().cancelAfter;
    GS::UniString phase("Saving polygons");
    ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelSPRP)), &phase, integer(9)), NoError);
    for (const LogStep& step : GetParam().steps) {
        if (step.kind == LogStep::Value) {
            ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelSPRV)), integer(step.value)), NoError);
        } else if (step.kind == LogStep::Cancel) {
            int32_t answer = 0;
            ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelCANC)), &answer), NoError);
        } else {
            EXPECT_EQ(cadhost::project().progressLog.lines(), step.log);
        }
    }
    cadhost::resetProject();
}

LogStep setValue(intptr_t v) { return {LogStep::Value, v, {}}; }
LogStep cancelQuery() { return {LogStep::Cancel, 0, {}}; }
LogStep readLog(std::vector<std::string> log) { return {LogStep::Read, 0, std::move(log)}; }
const std::string kPhase = "phase \"Saving polygons\" 9";

INSTANTIATE_TEST_SUITE_P(Reads, ProgressLogReads, ::testing::Values(
    LogReadCase{"AfterTheFirstValue", 0, {setValue(1), readLog({kPhase, "value 1"}), setValue(2), setValue(3),
                                          readLog({kPhase, "value 1", "value 3"})}},
    LogReadCase{"TwiceInARun", 0, {setValue(1), setValue(2), readLog({kPhase, "value 1", "value 2"}), setValue(3), setValue(4),
                                   readLog({kPhase, "value 1", "value 4"}), readLog({kPhase, "value 1", "value 4"})}},
    LogReadCase{"QueriesLeaveTheRun", 0, {setValue(1), cancelQuery(), setValue(2), cancelQuery(), setValue(3),
                                          readLog({kPhase, "value 1", "value 3"})}},
    LogReadCase{"CancelEndsTheRun", 2, {setValue(1), setValue(2), cancelQuery(), setValue(3), cancelQuery(), setValue(4), setValue(5),
                                        readLog({kPhase, "value 1", "value 3", "cancel pressed at query 2", "value 4",
                                                 "value 5"})}},
    LogReadCase{"NoValue", 0, {readLog({kPhase}), cancelQuery(), readLog({kPhase})}}),
    [](const ::testing::TestParamInfo<LogReadCase>& info) { return info.param.name; });

TEST_F(ModelServices, AnUnloadedAddOnsTokenIsRefusedEvenRightAfterItsCalls)
{
    ASSERT_EQ(call(kACProgressWindow, integer(static_cast<intptr_t>(kSelSPRV)), integer(1)), NoError);
    API_Component3D body = {};
    body.typeID = API_BodyID;
    body.index = 1;
    ASSERT_EQ(call(kAC3DComponent, &body), NoError);
    const uint32_t token = mAddOn.token;
    mAddOn.unload();
    EXPECT_EQ(cadhost::serviceTable()[kACProgressWindow](token, integer(static_cast<intptr_t>(kSelSPRV)), integer(2),
                                                         nullptr, nullptr),
              APIERR_GENERAL);
    EXPECT_EQ(cadhost::serviceTable()[kAC3DComponent](token, &body, nullptr, nullptr, nullptr), APIERR_GENERAL);
    cadhost::resetProject();
}

}  // namespace
