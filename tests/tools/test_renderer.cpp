#include <gtest/gtest.h>

#include <cmath>
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
    int64_t markedPixels = -1;        // how many pixels change, when it is certain
    std::vector<int32_t> points = {};     // point index of each corner; by default each its own
    std::vector<int32_t> materials = {};  // of each triangle; by default 0 and 1 in turn
};

// The point at depth 10 that the default view (64 x 48 pixels) shows at picture position x, y.
CScnVector atPixel(double x, double y)
{
    double focal = 32 / std::tan(50 * 3.141592653589793 / 360.0);
    return {(x - 32) / focal * 10, 10, (24 - y) / focal * 10};
}

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
    looks.looks.resize(3);
    looks.looks[0].red = 0.9f;
    looks.looks[1].green = 0.2f;
    looks.looks[1].opacity = 0.5f;
    looks.looks[2].opacity = 0.0f;
    CScnMgr* scene = CScnMgr::create(nullptr, nullptr);
    Drawn drawn;
    {
        ScnTools::Renderer renderer(frame, 64, 48, ScnTools::normalised({-1, -2, 3}), looks, *scene, "");
        for (size_t first = 0; first + 3 <= c.corners.size(); first += 3) {
            std::vector<NvScn::CScnVertex> vertices(3);
            for (size_t k = 0; k < 3; ++k) {
                vertices[k].pointIndex =
                    c.points.empty() ? static_cast<int32_t>(first + k) : c.points[first + k];
            }
            int32_t material = c.materials.empty() ? static_cast<int32_t>(first / 3 % 2) : c.materials[first / 3];
            ArrivingTriangle triangle = {material, false, &c.corners[first], vertices.data()};
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
    int64_t markedPixels = 0;
    for (size_t i = 0; i < shortWay.rgba.size(); i += 4) {
        bool changed = false;
        for (size_t channel = 0; channel < 3; ++channel) {
            changed = changed || shortWay.rgba[i + channel] != ScnTools::kBackground[channel];
        }
        markedPixels += changed ? 1 : 0;
    }
    EXPECT_EQ(markedPixels > 0, c.marked);
    if (c.markedPixels >= 0) {
        EXPECT_EQ(markedPixels, c.markedPixels);
    }
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
        TriangleCase{"not_a_number", {{-3, 10, -2}, {3, 10, -2}, {0, 10, 1e308 * 10}}, 1, false},
        // One pixel centre (32.5, 24.5) inside.
        TriangleCase{"one_pixel", {atPixel(32.2, 24.2), atPixel(32.9, 24.2), atPixel(32.2, 24.9)}, 0, true, 1},
        // The box holds the centre (32.5, 24.5), the triangle passes beside it.
        TriangleCase{"box_with_a_centre_beside_it",
                     {atPixel(32.1, 24.1), atPixel(32.9, 24.1), atPixel(32.1, 24.85)}, 0, false, 0},
        TriangleCase{"whole_picture_from_far_beyond_it",
                     {atPixel(-1e10, -1e10), atPixel(3e10, -1e10), atPixel(-1e10, 3e10)}, 0, true, 64 * 48},
        TriangleCase{"far_beyond_the_picture", {atPixel(2e10, 10), atPixel(3e10, 10), atPixel(2e10, 20)}, 0, false, 0},
        TriangleCase{"without_a_mark", {{-3, 10, -2}, {3, 10, -2}, {0, 10, 3}}, 0, false, 0, {}, {2}},
        // The two halves of a quad share the points of their diagonal.
        TriangleCase{"quad_sharing_points",
                     {atPixel(10, 10), atPixel(30, 10), atPixel(30, 30), atPixel(10, 10), atPixel(30, 30),
                      atPixel(10, 30)},
                     0, true, 400, {0, 1, 2, 0, 2, 3}, {0, 0}},
        // A point index named again for another point, and two indices that share a slot of the
        // corners remembered.
        TriangleCase{"point_index_named_again",
                     {atPixel(10, 10), atPixel(30, 10), atPixel(30, 30), atPixel(40, 10), atPixel(60, 10),
                      atPixel(60, 30)},
                     0, true, -1, {7, 8, 9, 7, 8, 9}, {0, 0}},
        TriangleCase{"indices_a_slot_apart",
                     {atPixel(10, 10), atPixel(30, 10), atPixel(30, 30), atPixel(40, 10), atPixel(60, 10),
                      atPixel(60, 30)},
                     0, true, -1, {5, 5 + 16384, 5 + 2 * 16384, 5 + 16384, 5, -5}, {0, 0}}),
    [](const testing::TestParamInfo<TriangleCase>& info) { return std::string(info.param.name); });

}  // namespace
