#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "DrawingThread.h"

namespace {

using ScnTools::ArrivingPolygon;
using ScnTools::DrawingThread;

// Polygon number i: material i; an outer loop of three corners, and for every fifth a hole of
// four; corner k at (i, k, 0) naming point 10 i + k.
ArrivingPolygon numbered(int32_t i)
{
    ArrivingPolygon polygon;
    polygon.material = i;
    polygon.smoothed = i % 3 == 0;
    polygon.loopSizes = {3};
    if (i % 5 == 0) {
        polygon.loopSizes.push_back(4);
    }
    uint32_t corners = i % 5 == 0 ? 7 : 3;
    for (uint32_t k = 0; k < corners; ++k) {
        polygon.corners.push_back({static_cast<double>(i), static_cast<double>(k), 0});
        polygon.vertices.push_back({i * 10 + static_cast<int32_t>(k), 0, 0.0f, 0.0f});
    }
    return polygon;
}

bool sameRecord(const ArrivingPolygon& a, const ArrivingPolygon& b)
{
    if (a.material != b.material || a.smoothed != b.smoothed || a.loopSizes != b.loopSizes ||
        a.corners.size() != b.corners.size() || a.vertices.size() != b.vertices.size()) {
        return false;
    }
    for (size_t k = 0; k < a.corners.size(); ++k) {
        if (a.corners[k].x != b.corners[k].x || a.corners[k].y != b.corners[k].y ||
            a.vertices[k].pointIndex != b.vertices[k].pointIndex) {
            return false;
        }
    }
    return true;
}

struct DrawingCase {
    const char* name;
    int32_t polygons;
    bool slowDrawing;   // each polygon takes a while, so that the reading side gets ahead
    bool oddsUnseen;    // the sink finds polygons of odd material unseen
    int32_t failAt;     // the material whose drawing throws, or -1
    int32_t componentAt;  // a component is announced before this polygon, or -1
    bool finished;      // finish() is called; otherwise only the destructor ends the thread
    bool triangles;     // polygons that are triangles are handed over as such
    std::string error;
    bool mixedTables = false;  // runs of three polygons alternate between the scene and a component
    bool slowReading = false;  // the reading side pauses now and then, so that the drawing thread blocks
    size_t batch = 4096;       // polygons a batch holds
};

// The table that the case hands polygon number i over from.
int32_t tableOf(const DrawingCase& c, int32_t i)
{
    return c.mixedTables && i / 3 % 2 == 1 ? 1 : -1;
}

void PrintTo(const DrawingCase& c, std::ostream* out) { *out << c.name; }

// Records what reaches it, on whichever thread.
class Recorder : public ScnTools::PolygonSink {
public:
    explicit Recorder(const DrawingCase& c) : mCase(c) {}

    void component(int32_t, const NvScn::CScnUUID&) override { handledAtComponent = handled(); }
    void polygon(int32_t component, const ArrivingPolygon& polygon) override
    {
        if (polygon.material == mCase.failAt) {
            throw std::runtime_error("cannot draw " + std::to_string(polygon.material));
        }
        if (mCase.slowDrawing) {
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
        intact = intact && component == tableOf(mCase, polygon.material) &&
                 sameRecord(polygon, numbered(polygon.material));
        drawn.push_back(polygon.material);
    }
    bool unseen(int32_t, const ArrivingPolygon& polygon) const override
    {
        return mCase.oddsUnseen && polygon.material % 2 == 1;
    }
    void countUnseen(int64_t count) override { unseenCount += count; }

    int64_t handled() const { return static_cast<int64_t>(drawn.size()) + unseenCount; }

    std::vector<int32_t> drawn;
    int64_t unseenCount = 0;
    int64_t handledAtComponent = -1;
    bool intact = true;

private:
    const DrawingCase& mCase;
};

class DrawingBesideReading : public testing::TestWithParam<DrawingCase> {};

TEST_P(DrawingBesideReading, DrawsInOrderCountsTheUnseenAndStopsOnFailure)
{
    const DrawingCase& c = GetParam();
    Recorder sink(c);
    std::string error = "untouched";
    bool drawnWell = false;
    {
        DrawingThread drawing(sink, true, c.batch);
        for (int32_t i = 0; i < c.polygons; ++i) {
            if (i == c.componentAt) {
                drawing.component(0, NvScn::CScnUUID{});
            }
            if (c.slowReading && i % 512 == 0) {
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
            ArrivingPolygon polygon = numbered(i);
            if (c.triangles && polygon.corners.size() == 3) {
                drawing.triangle(tableOf(c, i), {polygon.material, polygon.smoothed, polygon.corners.data(),
                                                 polygon.vertices.data()});
            } else {
                drawing.polygon(tableOf(c, i), polygon);
            }
        }
        if (c.finished) {
            drawnWell = drawing.finish(error);
        }
    }
    EXPECT_TRUE(sink.intact);
    for (size_t k = 1; k < sink.drawn.size(); ++k) {
        ASSERT_LT(sink.drawn[k - 1], sink.drawn[k]) << "drawn out of order at " << k;
    }
    if (c.failAt >= 0) {
        EXPECT_FALSE(drawnWell);
        EXPECT_EQ(error, c.error);
        // Nothing is drawn after the failure.
        EXPECT_TRUE(sink.drawn.empty() || sink.drawn.back() < c.failAt);
        return;
    }
    if (c.finished) {
        EXPECT_TRUE(drawnWell);
        EXPECT_EQ(error, "");
    }
    EXPECT_EQ(sink.handled(), c.polygons);
    for (int32_t material : sink.drawn) {
        // Unseen polygons are counted only while the drawing lags; then they are not drawn.
        EXPECT_TRUE(c.oddsUnseen || material % 2 == 0 || sink.unseenCount == 0);
    }
    if (c.slowDrawing && c.oddsUnseen) {
        EXPECT_GT(sink.unseenCount, 0);
    }
    if (!c.oddsUnseen) {
        EXPECT_EQ(sink.unseenCount, 0);
    }
    if (c.componentAt >= 0) {
        // A component is announced once everything before it is drawn or counted.
        EXPECT_EQ(sink.handledAtComponent, c.componentAt);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawingBesideReading,
    testing::Values(DrawingCase{"everything_drawn", 10000, false, false, -1, -1, true, false, ""},
                    DrawingCase{"unseen_counted_while_lagging", 12000, true, true, -1, -1, true, false, ""},
                    DrawingCase{"component_between_batches", 9000, true, true, -1, 5000, true, false, ""},
                    DrawingCase{"failure_in_the_second_batch", 12000, false, false, 5000, -1, true, false, "cannot draw 5000"},
                    DrawingCase{"failure_while_lagging", 12000, true, true, 4100, -1, true, false, "cannot draw 4100"},
                    DrawingCase{"reading_given_up_half_way", 10000, true, true, -1, -1, false, false, ""},
                    DrawingCase{"nothing_to_draw", 0, false, true, -1, -1, true, false, ""},
                    DrawingCase{"triangles_among_polygons", 10000, false, false, -1, -1, true, true, ""},
                    DrawingCase{"triangles_unseen_while_lagging", 12000, true, true, -1, 7000, true, true, ""},
                    DrawingCase{"failure_on_a_triangle", 12000, true, false, 5001, -1, true, true,
                                "cannot draw 5001"},
                    DrawingCase{"triangles_of_two_tables", 10000, false, false, -1, -1, true, true, "", true},
                    DrawingCase{"triangles_of_two_tables_lagging", 12000, true, true, -1, 6000, true, true, "",
                                true},
                    DrawingCase{"drawing_waits_for_slow_reading", 20000, false, false, -1, -1, true, true, "", false,
                                true},
                    DrawingCase{"component_after_slow_reading", 12000, false, true, -1, 8192, true, false, "", true,
                                true},
                    DrawingCase{"failure_while_reading_slowly", 12000, false, false, 4097, -1, true, false,
                                "cannot draw 4097", false, true},
                    DrawingCase{"slow_reading_given_up", 9000, false, false, -1, -1, false, true, "", false, true},
                    DrawingCase{"default_batches_slow_reading", 40000, false, false, -1, 20000, true, true, "", true,
                                true, DrawingThread::kBatchPolygons}),
    [](const testing::TestParamInfo<DrawingCase>& info) { return std::string(info.param.name); });

}  // namespace
