#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Renderer.h"
#include "ScnMgr.h"

namespace {

using NvScn::CScnMgr;
using NvScn::CScnVector;
using ScnTools::ArrivingPolygon;
using ScnTools::ArrivingTriangle;

struct TriangleCase {
    const char* name;
    std::vector<CScnVector> corners;  // three per triangle; the eye looks along y from the origin
    int64_t flat;                     // triangles without area
    bool marked;                      // whether any pixel changes
};

void PrintTo(const TriangleCase& c, std::ostream* out) { *out << c.name; }

struct Drawn {
    std::vector<uint8_t> rgba;
    int64_t polygons;
    int64_t flat;
    int64_t triangles;
    std::vector<bool> unseen;
};

// Draws the case's triangles with materials 0 (opaque) and 1 (see-through) in turn, either
// handed over as triangles or as polygons of one loop.
Drawn draw(const TriangleCase& c, bool asTriangles)
{
    ScnTools::ViewFrame frame;
    ScnTools::MaterialLooks looks;
    looks.looks.resize(2);
    looks.looks[0].red = 0.9f;
    looks.looks[1].green = 0.2f;
    looks.looks[1].opacity = 0.5f;
    CScnMgr* scene = CScnMgr::create(nullptr, nullptr);
    Drawn drawn;
    {
        ScnTools::Renderer renderer(frame, 64, 48, ScnTools::normalised({-1, -2, 3}), looks, *scene, "");
        for (size_t first = 0; first + 3 <= c.corners.size(); first += 3) {
            std::vector<NvScn::CScnVertex> vertices(3);
            for (int32_t k = 0; k < 3; ++k) {
                vertices[static_cast<size_t>(k)].pointIndex = static_cast<int32_t>(first) + k;
            }
            ArrivingTriangle triangle = {static_cast<int32_t>(first / 3 % 2), false, &c.corners[first],
                                         vertices.data()};
            ArrivingPolygon polygon;
            polygon.assign(triangle);
            drawn.unseen.push_back(asTriangles ? renderer.unseenTriangle(-1, triangle) : renderer.unseen(-1, polygon));
            if (asTriangles) {
                renderer.triangle(-1, triangle);
            } else {
                renderer.polygon(-1, polygon);
            }
        }
        drawn.rgba = renderer.picture().rgba;
        drawn.polygons = renderer.polygons();
        drawn.flat = renderer.flatPolygons();
        drawn.triangles = renderer.triangles();
    }
    scene->release();
    return drawn;
}

class TrianglesTheShortWay : public testing::TestWithParam<TriangleCase> {};

TEST_P(TrianglesTheShortWay, DrawAndCountAsPolygonsDo)
{
    const TriangleCase& c = GetParam();
    Drawn shortWay = draw(c, true);
    Drawn longWay = draw(c, false);
    EXPECT_TRUE(shortWay.rgba == longWay.rgba);
    EXPECT_EQ(shortWay.unseen, longWay.unseen);
    EXPECT_EQ(shortWay.polygons, static_cast<int64_t>(c.corners.size() / 3));
    EXPECT_EQ(shortWay.polygons, longWay.polygons);
    EXPECT_EQ(shortWay.triangles, longWay.triangles);
    EXPECT_EQ(shortWay.flat, c.flat);
    EXPECT_EQ(longWay.flat, c.flat);
    bool marked = false;
    for (size_t i = 0; i < shortWay.rgba.size(); i += 4) {
        marked = marked || shortWay.rgba[i] != ScnTools::kBackground[0] || shortWay.rgba[i + 1] != ScnTools::kBackground[1];
    }
    EXPECT_EQ(marked, c.marked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrianglesTheShortWay,
    testing::Values(
        TriangleCase{"facing", {{-3, 10, -2}, {3, 10, -2}, {0, 10, 3}}, 0, true},
        TriangleCase{"turned_away", {{-3, 10, -2}, {0, 10, 3}, {3, 10, -2}}, 0, true},
        TriangleCase{"see_through_over_opaque",
                     {{-3, 10, -2}, {3, 10, -2}, {0, 10, 3}, {-4, 9, 0}, {4, 9, 0}, {0, 9, -3}}, 0, true},
        TriangleCase{"see_through_behind_opaque",
                     {{-3, 9, -2}, {3, 9, -2}, {0, 9, 3}, {-4, 10, 0}, {4, 10, 0}, {0, 10, -3}}, 0, true},
        TriangleCase{"without_area", {{-3, 10, -2}, {0, 10, 0}, {3, 10, 2}}, 1, false},
        TriangleCase{"without_area_out_of_view", {{-300, 10, -2}, {-200, 10, 0}, {-100, 10, 2}}, 1, false},
        TriangleCase{"between_pixel_centres", {{0.001, 10, 0.001}, {0.002, 10, 0.001}, {0.001, 10, 0.002}}, 0, false},
        TriangleCase{"out_of_view", {{-300, 10, -2}, {-290, 10, -2}, {-295, 10, 3}}, 0, false},
        TriangleCase{"across_the_near_plane", {{-3, 0.5, -2}, {3, 10, -2}, {0, 10, 3}}, 0, true},
        TriangleCase{"behind_the_eye", {{-3, -10, -2}, {3, -10, -2}, {0, -10, 3}}, 0, false},
        TriangleCase{"not_a_number", {{-3, 10, -2}, {3, 10, -2}, {0, 10, 1e308 * 10}}, 1, false}),
    [](const testing::TestParamInfo<TriangleCase>& info) { return std::string(info.param.name); });

}  // namespace
