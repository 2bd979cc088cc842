// Writing the Points and Polygons blocks: exact bytes from the tables and from the external
// storage, storage call order, cancellation and short writes.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/GeometryBlock.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/Locale.h"
#include "support/TestSupport.h"
#include "test_geometry_block_support.h"

namespace {

using namespace NvScn;
using ScnTest::RecordingStorage;
using ScnTest::failureOf;

CScnVertex vertex(int32_t point, uint32_t flags = 0, float u = 0.0f, float v = 0.0f)
{
    return CScnVertex{point, flags, u, v};
}

const std::vector<CScnVector> kPoints = {{1.0, 2.5, 0.0}, {-2.0, 0.1, 3e30}, {0.333333333, -1e-7, 7.0}};

const char* const kPointsBlock =
    "\n3 \n1.0 2.5 0.0 \n-2.0 0.1 1000000000000000019884624838656.000000 \n0.333333 -0.0 7.0 \n";

const std::vector<RecordingStorage::Polygon> kPolygons = {
    {false, 3, {{vertex(0), vertex(1), vertex(2)}}},
    {true, 0, {{vertex(2), vertex(1), vertex(0)}}},
    {true, 1, {{vertex(0), vertex(1), vertex(2)}, {vertex(3), vertex(4), vertex(5)}}},
    {false, -4, {{vertex(7, kScnVertexMarker), vertex(8, kScnVertexMapped, 0.5f, 0.25f),
                  vertex(9, kScnVertexMarker | kScnVertexMapped, -1.0f, 2.0f)}}},
    {false, 2, {{vertex(0), vertex(1), vertex(2), vertex(3)}, {}, {vertex(4, kScnVertexMarker)}}}};

const char* const kPolygonsBlock =
    "\n5 \n"
    "p\t3 3 0 1 2 \n"
    "o\t0 3 2 1 0 \n"
    "h\t1 2 3 0 1 2 3 3 4 5 \n"
    "p\t-4 3 I 7 M 0.5 0.25 8 I M -1.0 2.0 9 \n"
    "h\t2 3 4 0 1 2 3 0 1 I 4 \n";

// Writes both blocks of the scene (or of no scene, from its tables); answers their bytes.
std::pair<std::string, std::string> writeBoth(CSCN& scene, bool passScene = true)
{
    ScnTest::MemoryWriteStream points;
    ScnTest::MemoryWriteStream polygons;
    writePointsBlock(&points, passScene ? &scene : nullptr, &scene.points());
    writePolygonsBlock(&polygons, passScene ? &scene : nullptr, &scene.polygons());
    return {points.bytes(), polygons.bytes()};
}

// A scene with a recording feedback and, on request, a recording storage.
struct SceneFixture {
    explicit SceneFixture(bool withStorage = false)
        : scene(eCurrentVersionSCN, &feedback, withStorage ? &storage : nullptr)
    {
    }

    void fillTables(const std::vector<CScnVector>& points, const std::vector<RecordingStorage::Polygon>& polygons)
    {
        for (const CScnVector& point : points) {
            *static_cast<CScnVector*>(scene.points().appendItem()) = point;
        }
        for (const RecordingStorage::Polygon& polygon : polygons) {
            RecordingStorage::apply(polygon, *scene.polygons().appendItem());
        }
    }

    ScnTest::RecordingFeedback feedback;
    RecordingStorage storage;
    CSCN scene;
};

TEST(GeometryBlockWrite, PointsFromTheTable)
{
    SceneFixture fixture;
    fixture.fillTables(kPoints, {});
    ScnTest::MemoryWriteStream out;
    writePointsBlock(&out, &fixture.scene, &fixture.scene.points());
    EXPECT_EQ(kPointsBlock, out.bytes());
    EXPECT_TRUE(fixture.feedback.warnings.empty());
}

TEST(GeometryBlockWrite, PointsFromTheStorage)
{
    SceneFixture fixture(true);
    fixture.storage.points = kPoints;
    ScnTest::MemoryWriteStream out;
    writePointsBlock(&out, &fixture.scene, nullptr);
    EXPECT_EQ(kPointsBlock, out.bytes());
    EXPECT_EQ((std::vector<std::string>{"getNbPoints", "fillPoint 0", "fillPoint 1", "fillPoint 2"}),
              fixture.storage.calls);
}

TEST(GeometryBlockWrite, EmptyBlocksFromBothSources)
{
    for (bool withStorage : {false, true}) {
        SceneFixture fixture(withStorage);
        EXPECT_EQ(std::make_pair(std::string("\n0 \n"), std::string("\n0 \n")), writeBoth(fixture.scene));
        if (withStorage) {
            EXPECT_EQ((std::vector<std::string>{"getNbPoints", "getNbPolygons"}), fixture.storage.calls);
        }
    }
}

TEST(GeometryBlockWrite, PolygonsFromTheTable)
{
    SceneFixture fixture;
    fixture.fillTables({}, kPolygons);
    ScnTest::MemoryWriteStream out;
    writePolygonsBlock(&out, &fixture.scene, &fixture.scene.polygons());
    EXPECT_EQ(kPolygonsBlock, out.bytes());
    EXPECT_EQ(std::vector<std::string>{"Holed polygone smoothed (smoothing will be loss)"}, fixture.feedback.warnings);
}

TEST(GeometryBlockWrite, PolygonsFromTheStorageWithOneClearedRecord)
{
    SceneFixture fixture(true);
    fixture.storage.polygons = kPolygons;
    ScnTest::MemoryWriteStream out;
    writePolygonsBlock(&out, &fixture.scene, nullptr);
    EXPECT_EQ(kPolygonsBlock, out.bytes());
    EXPECT_EQ((std::vector<std::string>{"getNbPolygons", "fillPolygon 0", "fillPolygon 1", "fillPolygon 2",
                                        "fillPolygon 3", "fillPolygon 4"}),
              fixture.storage.calls);
    EXPECT_TRUE(fixture.storage.sawClearedRecord);
    EXPECT_EQ(std::vector<std::string>{"Holed polygone smoothed (smoothing will be loss)"}, fixture.feedback.warnings);
}

TEST(GeometryBlockWrite, WithoutSceneWritesTheTables)
{
    SceneFixture fixture;
    fixture.fillTables(kPoints, kPolygons);
    EXPECT_EQ(std::make_pair(std::string(kPointsBlock), std::string(kPolygonsBlock)), writeBoth(fixture.scene, false));
}

TEST(GeometryBlockWrite, StorageRefusalStopsAtOnce)
{
    SceneFixture fixture(true);
    fixture.storage.points = kPoints;
    fixture.storage.polygons = kPolygons;
    fixture.storage.refuseAt = 1;
    ScnTest::MemoryWriteStream out;
    EXPECT_EQ("External storage cancel IO", failureOf([&] { writePointsBlock(&out, &fixture.scene, nullptr); }));
    EXPECT_EQ("External storage cancel IO", failureOf([&] { writePolygonsBlock(&out, &fixture.scene, nullptr); }));
    EXPECT_EQ((std::vector<std::string>{"getNbPoints", "fillPoint 0", "fillPoint 1", "getNbPolygons", "fillPolygon 0",
                                        "fillPolygon 1"}),
              fixture.storage.calls);
}

TEST(GeometryBlockWrite, NullArguments)
{
    SceneFixture fixture;
    ScnTest::MemoryWriteStream out;
    EXPECT_EQ(ScnTest::nullPointerText("Point table"), failureOf([&] { writePointsBlock(&out, &fixture.scene, nullptr); }));
    EXPECT_EQ(ScnTest::nullPointerText("Polygon table"),
              failureOf([&] { writePolygonsBlock(&out, &fixture.scene, nullptr); }));
    EXPECT_EQ(ScnTest::nullPointerText("Geometry block stream"),
              failureOf([&] { writePointsBlock(nullptr, &fixture.scene, &fixture.scene.points()); }));
}

// A short write fails with the message of what was being written: the polygon records have
// their own message per source; everything else is a failed character write.
TEST(GeometryBlockWrite, ShortWritesFailWithTheStageMessage)
{
    std::vector<CScnVector> manyPoints(5000, CScnVector{123.456, -7.5, 1e6});
    std::vector<RecordingStorage::Polygon> manyPolygons(10000, kPolygons[3]);
    struct Case {
        bool storage;
        bool polygons;
        int64_t failAfter;
        const char* message;
    };
    const Case cases[] = {{false, false, 0, "Can't write character"},  {true, false, 0, "Can't write character"},
                          {false, true, 0, "Error writing polygone"},  {true, true, 0, "Can't write polygone"},
                          {false, true, 100000, "Error writing polygone"}, {true, true, 100000, "Can't write polygone"},
                          {false, false, 1000000000, "(no failure)"}, {false, true, 1000000000, "(no failure)"}};
    for (const Case& c : cases) {
        SceneFixture fixture(c.storage);
        fixture.storage.points = manyPoints;
        fixture.storage.polygons = manyPolygons;
        if (!c.storage) {
            fixture.fillTables(manyPoints, manyPolygons);
        }
        ScnTest::MemoryWriteStream out;
        out.failAfter = c.failAfter;
        std::string message = failureOf([&] {
            if (c.polygons) {
                writePolygonsBlock(&out, &fixture.scene, &fixture.scene.polygons());
            } else {
                writePointsBlock(&out, &fixture.scene, &fixture.scene.points());
            }
        });
        EXPECT_EQ(c.message, message) << "storage " << c.storage << " polygons " << c.polygons << " after " << c.failAfter;
    }
    // A small polygons block fails only at its final flush, after the records.
    SceneFixture small;
    small.fillTables({}, kPolygons);
    ScnTest::MemoryWriteStream out;
    out.failAfter = 3;
    EXPECT_EQ("Can't write character",
              failureOf([&] { writePolygonsBlock(&out, &small.scene, &small.scene.polygons()); }));
}

TEST(GeometryBlockWrite, OutputGoesInLargePieces)
{
    SceneFixture fixture;
    fixture.fillTables(std::vector<CScnVector>(20000, CScnVector{1.25, 2.5, 3.75}), {});
    ScnTest::MemoryWriteStream out;
    writePointsBlock(&out, &fixture.scene, &fixture.scene.points());
    ASSERT_EQ(8 + 20000 * 15u, out.bytes().size());
    EXPECT_LE(out.writes, static_cast<int>(out.bytes().size() / 32768 + 1));
}

TEST(GeometryBlockWrite, CommaDecimalLocaleWritesTheSameBytes)
{
    ScnTest::CommaLocale locale;
    if (!locale.active()) {
        return;
    }
    SceneFixture fixture;
    fixture.fillTables(kPoints, kPolygons);
    EXPECT_EQ(std::make_pair(std::string(kPointsBlock), std::string(kPolygonsBlock)), writeBoth(fixture.scene));
}

}  // namespace
