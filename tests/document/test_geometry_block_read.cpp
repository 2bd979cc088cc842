// Reading the Points and Polygons blocks: the block tokenizer, record errors, untrusted counts,
// memory failures, the external storage and round trips of random meshes.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/GeometryBlock.h"
#include "model/Scene.h"
#include "platform/Memory.h"
#include "support/Locale.h"
#include "support/TestSupport.h"
#include "test_geometry_block_support.h"

namespace {

using namespace NvScn;
using ScnTest::RecordingStorage;

struct ReadFixture {
    explicit ReadFixture(bool withStorage = false)
        : scene(eCurrentVersionSCN, &feedback, withStorage ? &storage : nullptr)
    {
    }

    // Reads the block and describes the outcome: the items, the warnings, or the failure.
    std::string read(const std::string& text, bool polygons, int32_t chunk = 1 << 30)
    {
        ScnTest::MemoryReadStream in(text, chunk);
        std::string result;
        try {
            if (polygons) {
                readPolygonsBlock(&in, &scene, &scene.polygons());
            } else {
                readPointsBlock(&in, &scene, &scene.points());
            }
        } catch (const std::runtime_error& error) {
            result = std::string("fails: ") + error.what();
        }
        std::vector<std::string> items;
        if (polygons) {
            for (uint32_t i = 0; i < scene.polygons().size(); ++i) {
                items.push_back(ScnTest::describe(*scene.polygons().at(i)));
            }
        } else {
            for (uint32_t i = 0; i < scene.points().size(); ++i) {
                items.push_back(ScnTest::describe(*scene.points().at(i)));
            }
        }
        for (const std::string& item : items) {
            result += (result.empty() ? "" : "; ") + item;
        }
        return result + ScnTest::warningsOf(feedback.warnings);
    }

    ScnTest::RecordingFeedback feedback;
    RecordingStorage storage;
    CSCN scene;
};

struct BlockCase {
    const char* input;
    const char* outcome;
};

TEST(GeometryBlockRead, Points)
{
    const BlockCase cases[] = {
        {"\n2 \n1.0 2.5 0.0 \n-2 .5 +3. \n", "(1,2.5,0); (-2,0.5,3)"},
        {"2\r\n\t1 2 3\r\n4 5 6", "(1,2,3); (4,5,6)"},
        {"1 0.1 0.3 1234.5678", "(0.10000000000000001,0.29999999999999999,1234.5678)"},
        {"1 nan -INF iNf", "(1e+30,-1e+30,1e+30) warns: NaN double. | INF double. | INF double."},
        {"1 NaNx 2 3", "fails: This is not a number warns: NaN double."},
        {"0", " warns: Numbers of points seems wrong"},
        {"\n0 \n", " warns: Numbers of points seems wrong"},
        {"-5 1 2 3", " warns: Numbers of points seems wrong"},
        {"10000000 1 2 3", "fails: This is not a number; (1,2,3) warns: Numbers of points seems wrong"},
        {"2 1 2 3 4 5", "fails: This is not a number; (1,2,3)"},
        {"1 1e5 2 3", "fails: This is not a number"},
        {"1 1 2 abc", "fails: This is not a number"},
        {"1 - 2 3", "fails: This is not a number"},
        {"1 1..5 2", "(1,0.5,2)"},
        {"1.5 1 2 3", "fails: This is not a integer"},
        {"x", "fails: This is not a number"},
        {"", "fails: This is not a number"},
        {"+1 . -. 7", "(0,-0,7)"},
        {"99999999999 1 2 3", "fails: Integer value out of range"},
        {"1 00000000000000000000000000000000000000001.5 2 3", "(1.5,2,3)"}};
    for (const BlockCase& c : cases) {
        for (int32_t chunk : {1, 2, 7, 1 << 30}) {
            ReadFixture fixture;
            EXPECT_EQ(c.outcome, fixture.read(c.input, false, chunk)) << "input: \"" << c.input << "\" chunk " << chunk;
        }
    }
}

TEST(GeometryBlockRead, Polygons)
{
    const BlockCase cases[] = {
        {"\n1 \np\t3 3 0 1 2 \n", "m3 [0 1 2]"},
        {"2 o 0 3 2 1 0 h 1 2 3 0 1 2 3 3 4 5", "m0 smooth [2 1 0]; m1 [0 1 2] [3 4 5]"},
        {"1 p\t-4 3 I 7 M 0.5 0.25 8 I M -1.0 2.0 9", "m-4 [7I 8M(0.5,0.25) 9IM(-1,2)]"},
        {"1 p 0 2 I5 M.5 .25 6", "m0 [5I 6M(0.5,0.25)]"},
        {"1 h 2 3 4 0 1 2 3 0 1 I 4", "m2 [0 1 2 3] [] [4I]"},
        {"1 h 0 1 3 0 1 2", "m0 [0 1 2]"},
        {"1 p 0 1 M inf NaN 3", "m0 [3M(1e+30,1e+30)] warns: INF double. | NaN double."},
        {"1 x 0 1 7", "m0 [7] warns: Polygone type unknown"},
        {"1 O 0 1 7", "m0 [7] warns: Polygone type unknown"},
        {"1 p 0 0", "m0 []"},
        {"0", " warns: Numbers of polygons seems wrong"},
        {"1", "fails: Error reading polygone; m0 []"},
        {"2 p 0 1 0", "fails: Error reading polygone; m0 [0]; m0 []"},
        {"1 h 0 0 3 0 1 2", "fails: Error reading polygone; m0 []"},
        {"1 p 0 -1", "fails: Error reading polygone; m0 []"},
        {"1 p 0 3 0 1.5 2", "fails: This is not a integer; m0 [0]"},
        {"1 p 0 3 0 x 2", "fails: This is not a number; m0 [0]"},
        {"1 p 0 1 M 0.5 7", "fails: This is not a number; m0 []"},
        {"1 p 0 1 M I 7", "fails: This is not a number; m0 []"},
        {"1 p 0 1 99999999999", "fails: Integer value out of range; m0 []"},
        {"1 p 2.5 1 7", "fails: This is not a integer; m0 []"}};
    for (const BlockCase& c : cases) {
        for (int32_t chunk : {1, 3, 1 << 30}) {
            ReadFixture fixture;
            EXPECT_EQ(c.outcome, fixture.read(c.input, true, chunk)) << "input: \"" << c.input << "\" chunk " << chunk;
        }
    }
}

TEST(GeometryBlockRead, PointsPassTheVectorFixUp)
{
    ReadFixture fixture;
    fixture.scene.setLegacyFile(true);
    EXPECT_EQ("(1,3,2)", fixture.read("1 1 2 3", false));
}

TEST(GeometryBlockRead, PointsAreAppendedToTheTable)
{
    ReadFixture fixture;
    fixture.read("1 1 2 3", false);
    EXPECT_EQ("(1,2,3); (4,5,6)", fixture.read("1 4 5 6", false));
}

// A declared count far beyond the data reserves a bounded amount and fails at the end of the
// data; so do vertex and loop counts.
TEST(GeometryBlockRead, DeclaredCountsAreNotTrusted)
{
    ReadFixture points;
    EXPECT_EQ("fails: This is not a number; (1,2,3) warns: Numbers of points seems wrong",
              points.read("2147483647 1 2 3", false));
    EXPECT_LE(points.scene.points().capacity(), 256u * 1024u);

    ReadFixture polygons;
    EXPECT_EQ("fails: This is not a number; m0 [1 2] warns: Numbers of polygons seems wrong",
              polygons.read("2147483647 p 0 2147483647 1 2", true));
    EXPECT_LE(polygons.scene.polygons().capacity(), 256u * 1024u);
    EXPECT_LE(polygons.scene.polygons().at(0)->vertices().capacity(), 1024u);

    ReadFixture loops;
    EXPECT_EQ("fails: This is not a number; m0 [1] [] []", loops.read("1 h 0 2147483647 1 1 0", true));
    EXPECT_EQ(2u, loops.scene.polygons().at(0)->holes().size());
}

// When the table cannot grow, the block reports "No memory availiable" and leaves it empty.
TEST(GeometryBlockRead, MemoryFailureEmptiesTheTable)
{
    std::string points = "300";
    for (int i = 0; i < 300; ++i) {
        points += " 1 2 3";
    }
    for (long failing : {1L, 2L, 3L, 4L}) {
        ReadFixture fixture;
        CPointMgr table(&fixture.scene);
        ScnTest::MemoryReadStream in(points);
        Nuvora::failAllocationAfter(failing);
        readPointsBlock(&in, &fixture.scene, &table);
        Nuvora::failAllocationAfter(0);
        EXPECT_EQ(0u, table.size()) << failing;
        EXPECT_EQ(std::vector<std::string>{"No memory availiable"}, fixture.feedback.warnings) << failing;
    }
    ReadFixture fixture(true);
    fixture.storage.refuseAt = -1;
    ScnTest::MemoryReadStream in("1 h 0 2 3 0 1 2 3 3 4 5");
    Nuvora::failAllocationAfter(2);
    std::string failure = ScnTest::failureOf([&] { readPolygonsBlock(&in, &fixture.scene, nullptr); });
    Nuvora::failAllocationAfter(0);
    EXPECT_EQ("No memory availiable", failure);
}

TEST(GeometryBlockRead, StorageReceivesTheItemsInOrder)
{
    ReadFixture fixture(true);
    fixture.scene.setLegacyFile(true);
    ScnTest::MemoryReadStream points("2 1 2 3 4 5 6");
    ScnTest::MemoryReadStream polygons("2 p 1 3 0 1 I 2 h 0 2 1 0 1 M 0.5 0.75 1");
    readPointsBlock(&points, &fixture.scene, nullptr);
    readPolygonsBlock(&polygons, &fixture.scene, nullptr);
    EXPECT_EQ((std::vector<std::string>{"setNbPoints 2", "addPoint 0", "addPoint 1", "setNbPolygons 2", "addPolygon 0",
                                        "addPolygon 1"}),
              fixture.storage.calls);
    ASSERT_EQ(2u, fixture.storage.points.size());
    EXPECT_EQ("(4,6,5)", ScnTest::describe(fixture.storage.points[1]));
    ASSERT_EQ(2u, fixture.storage.polygons.size());
    EXPECT_EQ("m1 [0 1 2I]", ScnTest::describe(fixture.storage.polygons[0]));
    EXPECT_EQ("m0 [0] [1M(0.5,0.75)]", ScnTest::describe(fixture.storage.polygons[1]));
    EXPECT_EQ(0u, fixture.scene.points().size());
    EXPECT_EQ(0u, fixture.scene.polygons().size());
}

TEST(GeometryBlockRead, StorageRefusalStopsAtOnce)
{
    ReadFixture fixture(true);
    fixture.storage.refuseAt = 1;
    EXPECT_EQ("fails: External storage cancel IO", fixture.read("3 1 2 3 4 5 6 7 8 9", false));
    EXPECT_EQ("fails: External storage cancel IO", fixture.read("3 p 0 1 0 p 0 1 1 p 0 1 2", true));
    EXPECT_EQ((std::vector<std::string>{"setNbPoints 3", "addPoint 0", "addPoint 1", "setNbPolygons 3", "addPolygon 0",
                                        "addPolygon 1"}),
              fixture.storage.calls);
}

TEST(GeometryBlockRead, InputComesInChunksOf1024Bytes)
{
    std::string text = "20000";
    for (int i = 0; i < 20000; ++i) {
        text += " 1.5 2.5 3.5";
    }
    ScnTest::MemoryReadStream in(text);
    ReadFixture fixture;
    readPointsBlock(&in, &fixture.scene, &fixture.scene.points());
    EXPECT_EQ(20000u, fixture.scene.points().size());
    EXPECT_EQ(static_cast<int>(text.size() / 1024 + 2), in.reads);
}

// Random meshes with holes, markers and mapping survive writing and reading, through the
// tables and through the storage, and both sources write the same bytes.
TEST(GeometryBlockRoundTrip, RandomMeshes)
{
    std::mt19937 random(7);
    for (int mesh = 0; mesh < 20; ++mesh) {
        std::uniform_int_distribution<int> small(0, 6);
        std::vector<CScnVector> points(static_cast<size_t>(small(random)) * 40);
        for (CScnVector& point : points) {
            point = {(static_cast<int>(random() % 2000001) - 1000000) / 1000.0, static_cast<int>(random() % 20001) / 8.0,
                     -static_cast<int>(random() % 1000001) / 1e6};
        }
        std::vector<RecordingStorage::Polygon> polygons(static_cast<size_t>(small(random)) * 30);
        for (RecordingStorage::Polygon& polygon : polygons) {
            polygon.material = static_cast<int32_t>(random() % 100) - 5;
            polygon.loops.resize(1 + (random() % 4 == 0 ? random() % 3 + 1 : 0));
            polygon.smoothed = polygon.loops.size() == 1 && random() % 2 == 0;
            for (auto& loop : polygon.loops) {
                loop.resize(random() % 6 + (&loop == &polygon.loops[0] ? 1 : 0));
                for (CScnVertex& vertex : loop) {
                    vertex.pointIndex = static_cast<int32_t>(random() % 1000);
                    vertex.flags = random() % 4;
                    if (vertex.flags & kScnVertexMapped) {
                        vertex.u = static_cast<float>(static_cast<int>(random() % 801) - 400) / 64.0f;
                        vertex.v = static_cast<float>(random() % 64) / 4.0f;
                    }
                }
            }
        }

        ReadFixture source;
        for (const CScnVector& point : points) {
            *static_cast<CScnVector*>(source.scene.points().appendItem()) = point;
        }
        for (const auto& polygon : polygons) {
            RecordingStorage::apply(polygon, *source.scene.polygons().appendItem());
        }
        ScnTest::MemoryWriteStream pointsText;
        ScnTest::MemoryWriteStream polygonsText;
        writePointsBlock(&pointsText, &source.scene, &source.scene.points());
        writePolygonsBlock(&polygonsText, &source.scene, &source.scene.polygons());

        ReadFixture stored(true);
        stored.storage.points = points;
        stored.storage.polygons = polygons;
        ScnTest::MemoryWriteStream storedPoints;
        ScnTest::MemoryWriteStream storedPolygons;
        writePointsBlock(&storedPoints, &stored.scene, nullptr);
        writePolygonsBlock(&storedPolygons, &stored.scene, nullptr);
        EXPECT_EQ(pointsText.bytes(), storedPoints.bytes());
        EXPECT_EQ(polygonsText.bytes(), storedPolygons.bytes());

        ReadFixture tables;
        ScnTest::MemoryReadStream pointsIn(pointsText.bytes(), 100);
        ScnTest::MemoryReadStream polygonsIn(polygonsText.bytes(), 100);
        readPointsBlock(&pointsIn, &tables.scene, &tables.scene.points());
        readPolygonsBlock(&polygonsIn, &tables.scene, &tables.scene.polygons());

        ReadFixture storage(true);
        ScnTest::MemoryReadStream pointsAgain(pointsText.bytes());
        ScnTest::MemoryReadStream polygonsAgain(polygonsText.bytes());
        readPointsBlock(&pointsAgain, &storage.scene, nullptr);
        readPolygonsBlock(&polygonsAgain, &storage.scene, nullptr);

        std::vector<std::string> expectedCalls{"setNbPoints " + std::to_string(points.size())};
        ASSERT_EQ(points.size(), tables.scene.points().size());
        ASSERT_EQ(points.size(), storage.storage.points.size());
        for (size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(ScnTest::describe(points[i]), ScnTest::describe(*tables.scene.points().at(static_cast<uint32_t>(i))));
            EXPECT_EQ(ScnTest::describe(points[i]), ScnTest::describe(storage.storage.points[i]));
            expectedCalls.push_back("addPoint " + std::to_string(i));
        }
        expectedCalls.push_back("setNbPolygons " + std::to_string(polygons.size()));
        ASSERT_EQ(polygons.size(), tables.scene.polygons().size());
        ASSERT_EQ(polygons.size(), storage.storage.polygons.size());
        for (size_t i = 0; i < polygons.size(); ++i) {
            std::string expected = ScnTest::describe(polygons[i]);
            EXPECT_EQ(expected, ScnTest::describe(*tables.scene.polygons().at(static_cast<uint32_t>(i))));
            EXPECT_EQ(expected, ScnTest::describe(storage.storage.polygons[i]));
            expectedCalls.push_back("addPolygon " + std::to_string(i));
        }
        EXPECT_EQ(expectedCalls, storage.storage.calls);
        EXPECT_TRUE(tables.feedback.warnings.empty() || points.empty() || polygons.empty());
    }
}

TEST(GeometryBlockRoundTrip, CommaDecimalLocaleReadsTheSame)
{
    ScnTest::CommaLocale locale;
    if (!locale.active()) {
        return;
    }
    ReadFixture fixture;
    EXPECT_EQ("(1.5,-0.25,3)", fixture.read("1 1.5 -0.25 3.0", false));
    ReadFixture polygons;
    EXPECT_EQ("m0 [1M(0.5,0.75)]", polygons.read("1 p 0 1 M 0.5 0.75 1", true));
}

}  // namespace
