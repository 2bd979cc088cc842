// Triangulation of polygon outlines with holes: the triangles must cover exactly the polygon's
// area, turn like its outline and never fail on degenerate loops.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Triangulate.h"

namespace {

using NvScn::CScnVector;
using ScnTools::Triangulator;

struct Loop2 {
    std::vector<std::pair<double, double>> corners;
};

struct TriangulationCase {
    const char* name;
    std::vector<Loop2> loops;  // outer loop first
    double area;
    // How a plane point (a, b) becomes a scene point.
    int plane;  // 0: z = 0 (x, y); 1: y = 50 (x, z); 2: x = -7 (y, z), tilted by b
};

CScnVector place(double a, double b, int plane)
{
    switch (plane) {
    case 1:
        return {a, 50, b};
    case 2:
        return {-7 + 0.5 * b, a, b};
    default:
        return {a, b, 0};
    }
}

double triangleArea(const CScnVector& a, const CScnVector& b, const CScnVector& c, CScnVector* normal = nullptr)
{
    CScnVector u = {b.x - a.x, b.y - a.y, b.z - a.z};
    CScnVector v = {c.x - a.x, c.y - a.y, c.z - a.z};
    CScnVector n = {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    if (normal != nullptr) {
        *normal = n;
    }
    return 0.5 * std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
}

class Triangulation : public testing::TestWithParam<TriangulationCase> {};

TEST_P(Triangulation, CoversThePolygonsAreaTurningLikeItsOutline)
{
    const TriangulationCase& c = GetParam();
    std::vector<CScnVector> corners;
    std::vector<uint32_t> sizes;
    for (const Loop2& loop : c.loops) {
        for (const auto& p : loop.corners) {
            corners.push_back(place(p.first, p.second, c.plane));
        }
        sizes.push_back(static_cast<uint32_t>(loop.corners.size()));
    }
    Triangulator triangulator;
    std::vector<uint32_t> triangles;
    size_t count = triangulator.triangulate(corners, sizes, triangles);
    ASSERT_EQ(triangles.size(), count * 3);
    CScnVector outline = ScnTools::loopNormal(corners, 0, sizes[0]);
    double area = 0;
    for (size_t t = 0; t < triangles.size(); t += 3) {
        ASSERT_LT(triangles[t], corners.size());
        ASSERT_LT(triangles[t + 1], corners.size());
        ASSERT_LT(triangles[t + 2], corners.size());
        CScnVector normal;
        area += triangleArea(corners[triangles[t]], corners[triangles[t + 1]], corners[triangles[t + 2]], &normal);
        EXPECT_GE(normal.x * outline.x + normal.y * outline.y + normal.z * outline.z, 0) << "triangle " << t / 3;
    }
    // The plane of case 2 is tilted: its areas grow by the tilt's factor.
    double expected = c.plane == 2 ? c.area * std::sqrt(1.25) : c.area;
    EXPECT_NEAR(area, expected, 1e-6 * std::max(1.0, expected));
}

Loop2 square(double x0, double y0, double size, bool clockwise = false)
{
    Loop2 loop{{{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}}};
    if (clockwise) {
        std::reverse(loop.corners.begin(), loop.corners.end());
    }
    return loop;
}

// An outline with n notches cut from its top edge, each 1 wide and 3 deep, 1 apart.
Loop2 comb(int notches)
{
    Loop2 loop;
    loop.corners.push_back({0, 0});
    loop.corners.push_back({2.0 * notches + 1, 0});
    loop.corners.push_back({2.0 * notches + 1, 4});
    for (int i = notches - 1; i >= 0; --i) {
        double x = 2.0 * i + 1;
        loop.corners.push_back({x + 1, 4});
        loop.corners.push_back({x + 1, 1});
        loop.corners.push_back({x, 1});
        loop.corners.push_back({x, 4});
    }
    loop.corners.push_back({0, 4});
    return loop;
}

INSTANTIATE_TEST_SUITE_P(
    Outlines, Triangulation,
    testing::Values(
        TriangulationCase{"triangle", {Loop2{{{0, 0}, {4, 0}, {0, 3}}}}, 6, 0},
        TriangulationCase{"square", {square(0, 0, 10)}, 100, 0},
        TriangulationCase{"clockwise_square", {square(0, 0, 10, true)}, 100, 0},
        TriangulationCase{"concave_l", {Loop2{{{0, 0}, {6, 0}, {6, 2}, {2, 2}, {2, 6}, {0, 6}}}}, 20, 0},
        TriangulationCase{"concave_u_standing", {Loop2{{{0, 0}, {5, 0}, {5, 5}, {4, 5}, {4, 1}, {1, 1}, {1, 5}, {0, 5}}}},
                          13, 1},
        TriangulationCase{"comb_of_twenty_notches", {comb(20)}, 41 * 4 - 20 * 3, 0},
        TriangulationCase{"square_with_hole", {square(0, 0, 10), square(3, 3, 4, true)}, 84, 0},
        TriangulationCase{"hole_turning_like_outline", {square(0, 0, 10), square(3, 3, 4)}, 84, 0},
        TriangulationCase{"two_holes_side_by_side", {square(0, 0, 10), square(1, 1, 3), square(6, 6, 3)}, 82, 1},
        TriangulationCase{"holes_on_one_row", {square(0, 0, 12), square(1, 4, 2), square(5, 4, 2), square(9, 4, 2)}, 132, 2},
        TriangulationCase{"concave_outline_with_hole",
                          {Loop2{{{0, 0}, {10, 0}, {10, 10}, {5, 4}, {0, 10}}}, square(4, 1, 2)}, 70 - 4, 0},
        TriangulationCase{"repeated_and_collinear_corners",
                          {Loop2{{{0, 0}, {0, 0}, {5, 0}, {10, 0}, {10, 10}, {10, 10}, {0, 10}, {0, 0}}}}, 100, 0},
        TriangulationCase{"hole_touching_the_outline", {square(0, 0, 10), Loop2{{{0, 4}, {3, 4}, {3, 6}, {0, 6}}}}, 94, 0},
        TriangulationCase{"far_from_the_origin",
                          {Loop2{{{1e6, 1e6}, {1e6 + 3, 1e6}, {1e6 + 3, 1e6 + 2}, {1e6, 1e6 + 2}}}}, 6, 0},
        TriangulationCase{"no_area_line", {Loop2{{{0, 0}, {5, 0}, {10, 0}}}}, 0, 0},
        TriangulationCase{"no_area_one_point", {Loop2{{{2, 2}, {2, 2}, {2, 2}, {2, 2}}}}, 0, 0},
        TriangulationCase{"two_corners", {Loop2{{{0, 0}, {1, 1}}}}, 0, 0},
        TriangulationCase{"hole_without_area", {square(0, 0, 10), Loop2{{{2, 2}, {4, 2}, {6, 2}}}}, 100, 0},
        TriangulationCase{"hole_outside_the_outline", {square(0, 0, 10), square(20, 20, 2)}, 100, 0}),
    [](const testing::TestParamInfo<TriangulationCase>& info) { return std::string(info.param.name); });

TEST(Triangulation, CutsLongOutlinesAndManyHolesInProportion)
{
    // A circle of 20000 corners with 2000 small holes: the holes are left out, the disc is whole.
    const int corners = 20000;
    std::vector<CScnVector> loop;
    for (int i = 0; i < corners; ++i) {
        double angle = 2 * 3.141592653589793 * i / corners;
        loop.push_back({100 * std::cos(angle), 100 * std::sin(angle), 0});
    }
    std::vector<uint32_t> sizes = {static_cast<uint32_t>(corners)};
    for (int h = 0; h < 2000; ++h) {
        double x = (h % 40) * 2 - 40;
        double y = (h / 40) * 2 - 50;
        loop.push_back({x, y, 0});
        loop.push_back({x, y + 0.5, 0});
        loop.push_back({x + 0.5, y, 0});
        sizes.push_back(3);
    }
    Triangulator triangulator;
    std::vector<uint32_t> triangles;
    ASSERT_EQ(triangulator.triangulate(loop, sizes, triangles), static_cast<size_t>(corners - 2));
    double area = 0;
    for (size_t t = 0; t < triangles.size(); t += 3) {
        area += triangleArea(loop[triangles[t]], loop[triangles[t + 1]], loop[triangles[t + 2]]);
    }
    EXPECT_NEAR(area, 0.5 * corners * 100 * 100 * std::sin(2 * 3.141592653589793 / corners), 1e-6);
}

TEST(Triangulation, SurvivesBowTiesAndNonFiniteCorners)
{
    Triangulator triangulator;
    std::vector<uint32_t> triangles;
    // A self-crossing outline: whatever comes out names existing corners only.
    std::vector<CScnVector> bowTie = {{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 10, 0}};
    triangulator.triangulate(bowTie, {4}, triangles);
    for (uint32_t index : triangles) {
        EXPECT_LT(index, bowTie.size());
    }
    triangles.clear();
    std::vector<CScnVector> broken = {{0, 0, 0}, {NAN, 1, 0}, {1, 1, 0}, {0, 1, 0}};
    EXPECT_EQ(triangulator.triangulate(broken, {4}, triangles), 0u);
    EXPECT_EQ(triangulator.triangulate(broken, {}, triangles), 0u);
    EXPECT_EQ(triangulator.triangulate(broken, {5}, triangles), 0u);
    EXPECT_EQ(triangulator.triangulate(broken, {3, 9}, triangles), 0u);
}

}  // namespace
