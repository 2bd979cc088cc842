// Progress of the geometry blocks: the 0 ... 2000 scale, throttling by checkpoints and clock
// ticks (with a fake clock), the final report and cancellation.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "document/GeometryBlock.h"
#include "model/Scene.h"
#include "support/TestSupport.h"
#include "test_geometry_block_support.h"

namespace {

using namespace NvScn;
using Calls = std::vector<std::pair<int32_t, int32_t>>;

enum class Block { WritePoints, WritePolygons, ReadPoints, ReadPolygons };

struct ProgressCase {
    const char* name;
    Block block;
    int32_t count;
    uint32_t clockStart;
    uint32_t clockStep;
    Calls calls;
};

std::string blockText(Block block, int32_t count)
{
    std::string text = std::to_string(count);
    for (int32_t i = 0; i < count; ++i) {
        text += block == Block::ReadPoints ? " 1 2 3" : " p 0 1 0";
    }
    return text;
}

// Runs the block over count items; answers the progress calls.
Calls run(Block block, int32_t count, ScnTest::RecordingFeedback& feedback, ScnTest::RecordingStorage* storage = nullptr)
{
    CSCN scene(eCurrentVersionSCN, &feedback, storage);
    for (int32_t i = 0; i < count && storage == nullptr; ++i) {
        scene.points().appendItem();
        scene.polygons().appendItem()->vertices().appendItem();
    }
    ScnTest::MemoryWriteStream out;
    ScnTest::MemoryReadStream in(blockText(block, count));
    switch (block) {
    case Block::WritePoints:
        writePointsBlock(&out, &scene, &scene.points());
        break;
    case Block::WritePolygons:
        writePolygonsBlock(&out, &scene, &scene.polygons());
        break;
    case Block::ReadPoints:
        readPointsBlock(&in, &scene, &scene.points());
        break;
    case Block::ReadPolygons:
        readPolygonsBlock(&in, &scene, &scene.polygons());
        break;
    }
    return feedback.progressCalls;
}

class GeometryBlockProgress : public ::testing::TestWithParam<ProgressCase> {};

// The clock is read once at the start, then at items 0, 100, 200, ... and after the loop;
// each reading advances the fake clock by the step.
TEST_P(GeometryBlockProgress, ReportsOnTheThrottledSchedule)
{
    const ProgressCase& c = GetParam();
    ScnTest::ScopedFakeClock clock(c.clockStart, c.clockStep);
    ScnTest::RecordingFeedback feedback;
    EXPECT_EQ(c.calls, run(c.block, c.count, feedback));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, GeometryBlockProgress,
    ::testing::Values(
        ProgressCase{"QuickBlockIsSilent", Block::WritePoints, 250, 0, 0, {}},
        ProgressCase{"JustUnderTheTicks", Block::WritePoints, 250, 0, 25, {}},
        ProgressCase{"SlowPointsWrite", Block::WritePoints, 250, 0, 150, {{0, 2000}, {400, 2000}, {800, 2000}, {1000, 2000}}},
        ProgressCase{"SlowPolygonsWrite", Block::WritePolygons, 250, 0, 150,
                     {{1000, 2000}, {1400, 2000}, {1800, 2000}, {2000, 2000}}},
        ProgressCase{"SlowPointsRead", Block::ReadPoints, 250, 0, 150, {{0, 2000}, {400, 2000}, {800, 2000}, {1000, 2000}}},
        ProgressCase{"SlowPolygonsRead", Block::ReadPolygons, 250, 0, 150,
                     {{1000, 2000}, {1400, 2000}, {1800, 2000}, {2000, 2000}}},
        ProgressCase{"EveryOtherCheckpoint", Block::WritePoints, 250, 0, 60, {{400, 2000}, {1000, 2000}}},
        ProgressCase{"ClockWrapsAround", Block::WritePolygons, 250, 0xFFFFFFA0u, 150,
                     {{1000, 2000}, {1400, 2000}, {1800, 2000}, {2000, 2000}}},
        ProgressCase{"EmptyPointsBlock", Block::WritePoints, 0, 0, 150, {{0, 2000}}},
        ProgressCase{"EmptyPolygonsBlock", Block::ReadPolygons, 0, 0, 150, {{1000, 2000}}},
        ProgressCase{"FewItems", Block::WritePoints, 3, 0, 150, {{0, 2000}, {1000, 2000}}},
        ProgressCase{"ManyItems", Block::WritePoints, 1000, 0, 101,
                     {{0, 2000}, {100, 2000}, {200, 2000}, {300, 2000}, {400, 2000}, {500, 2000}, {600, 2000},
                      {700, 2000}, {800, 2000}, {900, 2000}, {1000, 2000}}}),
    [](const ::testing::TestParamInfo<ProgressCase>& info) { return info.param.name; });

TEST(GeometryBlockCancel, ProgressFalseStopsTheWriteAtOnce)
{
    ScnTest::ScopedFakeClock clock(0, 150);
    ScnTest::RecordingFeedback feedback;
    feedback.progressAnswer = [](size_t call) { return call < 1; };
    ScnTest::RecordingStorage storage;
    storage.points.assign(500, CScnVector{1, 2, 3});
    EXPECT_EQ("Operation cancelled", ScnTest::failureOf([&] { run(Block::WritePoints, 0, feedback, &storage); }));
    EXPECT_EQ((Calls{{0, 2000}, {200, 2000}}), feedback.progressCalls);
    ASSERT_EQ(102u, storage.calls.size());
    EXPECT_EQ("fillPoint 100", storage.calls.back());
}

TEST(GeometryBlockCancel, ProgressFalseStopsTheReadAtOnce)
{
    ScnTest::ScopedFakeClock clock(0, 150);
    ScnTest::RecordingFeedback feedback;
    feedback.progressAnswer = [](size_t) { return false; };
    ScnTest::RecordingStorage storage;
    EXPECT_EQ("Operation cancelled", ScnTest::failureOf([&] { run(Block::ReadPolygons, 300, feedback, &storage); }));
    EXPECT_EQ((Calls{{1000, 2000}}), feedback.progressCalls);
    EXPECT_EQ((std::vector<std::string>{"setNbPolygons 300", "addPolygon 0"}), storage.calls);
}

// Without feedback the clock is never read.
TEST(GeometryBlockCancel, NoFeedbackNoClock)
{
    ScnTest::ScopedFakeClock clock(5, 1);
    CSCN scene(eCurrentVersionSCN, nullptr, nullptr);
    for (int i = 0; i < 300; ++i) {
        scene.points().appendItem();
    }
    ScnTest::MemoryWriteStream out;
    writePointsBlock(&out, &scene, &scene.points());
    EXPECT_EQ(5u, ScnTest::FakeClock::now);
}

}  // namespace
