// The geometry read by two readers side by side hands the sink exactly what one reader of the
// whole file hands it: the same components, polygons, corners and dropped polygons, however far
// ahead the polygons name their points and however the tables lie in the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FileStream.h"
#include "SceneGeometry.h"
#include "SplitRead.h"

namespace {

// Writes down everything a sink receives, one line each.
class Recording : public ScnTools::PolygonSink {
public:
    void component(int32_t index, const NvScn::CScnUUID& uuid) override
    {
        std::ostringstream line;
        line << "component " << index << " " << static_cast<int>(uuid.bytes[0]);
        lines.push_back(line.str());
    }
    void polygon(int32_t component, const ScnTools::ArrivingPolygon& polygon) override
    {
        std::ostringstream line;
        line << "polygon " << component << " material " << polygon.material << (polygon.smoothed ? " smoothed" : "")
             << " loops";
        for (uint32_t size : polygon.loopSizes) {
            line << " " << size;
        }
        for (size_t k = 0; k < polygon.corners.size(); ++k) {
            const NvScn::CScnVector& c = polygon.corners[k];
            line << " | " << polygon.vertices[k].pointIndex << ": " << c.x << " " << c.y << " " << c.z;
        }
        lines.push_back(line.str());
    }

    std::vector<std::string> lines;
};

std::string header()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<?Scn library=\"3.0.3\" file=\"5.0\" min_version=\"3.0.1\" safe_version=\"3.0.1\"?>\n<Scn.File>\n";
}

// A points block of count points, point i at (i, 2 i, 3 i); text, when given, replaces point
// number at.
std::string points(int32_t count, int32_t at = -1, const std::string& text = "")
{
    std::string block = "<Points><![CDATA[\n" + std::to_string(count) + "\n";
    for (int32_t i = 0; i < count; ++i) {
        block += i == at ? text + "\n"
                         : std::to_string(i) + ".0 " + std::to_string(2 * i) + ".0 " + std::to_string(3 * i) + ".0\n";
    }
    return block + "]]></Points>\n";
}

// A polygons block of the given records ("p 0 3 1 2 3", "h 1 2 3 0 1 2 3 4 5 6").
std::string polygons(const std::vector<std::string>& records)
{
    std::string block = "<Polygons><![CDATA[\n" + std::to_string(records.size()) + "\n";
    for (const std::string& record : records) {
        block += record + "\n";
    }
    return block + "]]></Polygons>\n";
}

std::string component(int id, const std::string& blocks)
{
    char uuid[40];
    std::snprintf(uuid, sizeof uuid, "%02X000000000000000000000000000001", id);
    return std::string("<InternalComponentDefinition UUID=\"") + uuid + "\">\n<Geometry.Level>0</Geometry.Level>\n" +
           blocks + "</InternalComponentDefinition>\n";
}

// Triangles naming points from the far end of a table of count points backwards.
std::vector<std::string> backwards(int32_t count, int32_t triangles)
{
    std::vector<std::string> records;
    for (int32_t t = 0; t < triangles; ++t) {
        int32_t a = count - 1 - t * 3;
        records.push_back("p 0 3 " + std::to_string(a) + " " + std::to_string(a - 1) + " " + std::to_string(a - 2));
    }
    return records;
}

struct SplitCase {
    const char* name;
    std::string document;
    size_t lines;  // what one reader hands the sink
    int64_t bad;
    ScnTools::ApartRead outcome = ScnTools::ApartRead::eRead;
    // With two polygons' readers sharing each block's records: where they do not both get every
    // record of their halves, the caller must read otherwise.
    ScnTools::ApartRead halvesOutcome = outcome;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

std::string file(const std::string& name)
{
    return testing::TempDir() + "split-read-" + name + ".scn";
}

// What one reader of the whole file hands over, as the renderer read before the split.
std::vector<std::string> readWhole(const std::string& path, int64_t& bad)
{
    Recording sink;
    ScnTools::Reports reports;
    ScnTools::SceneManager manager(NvScn::CScnMgr::create(&reports, nullptr));
    ScnTools::GeometryStorage storage(&sink, true);
    std::unique_ptr<ScnTools::FileStream> stream(ScnTools::FileStream::open(path, "rb"));
    manager->readDataBlocks(stream.get(), &storage);
    bad = storage.badPolygons;
    return sink.lines;
}

class SplitRead : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitRead, HandsOverWhatOneReaderDoes)
{
    const SplitCase& c = GetParam();
    std::string path = file(c.name);
    {
        std::unique_ptr<ScnTools::FileStream> out(ScnTools::FileStream::open(path, "wb"));
        ASSERT_TRUE(out);
        std::string text = header() + c.document + "</Scn.File>\n";
        out->write(text.data(), static_cast<int32_t>(text.size()));
        ASSERT_TRUE(out->close());
    }
    int64_t wholeBad = 0;
    std::vector<std::string> whole = readWhole(path, wholeBad);
    EXPECT_EQ(whole.size(), c.lines);
    EXPECT_EQ(wholeBad, c.bad);
    // Each run lets the two threads meet at other moments.
    for (int run = 0; run < 5; ++run) {
        Recording sink;
        int64_t bad = 0;
        ScnTools::ApartRead outcome = ScnTools::readGeometryApart(path, sink, bad);
        EXPECT_EQ(outcome, c.outcome) << "run " << run;
        if (outcome == ScnTools::ApartRead::eRead) {
            EXPECT_EQ(sink.lines, whole) << "run " << run;
            EXPECT_EQ(bad, wholeBad) << "run " << run;
        }
    }
    // The halves: each sink hears of every component, and the two get the polygons of one reader
    // between them.
    std::vector<std::string> components;
    std::vector<std::string> polygons;
    for (const std::string& line : whole) {
        (line.compare(0, 9, "component") == 0 ? components : polygons).push_back(line);
    }
    std::sort(polygons.begin(), polygons.end());
    for (int run = 0; run < 5; ++run) {
        Recording first;
        Recording second;
        int64_t bad = 0;
        ScnTools::ApartRead outcome = ScnTools::readGeometryApart(path, first, bad, &second);
        EXPECT_EQ(outcome, c.halvesOutcome) << "halves, run " << run;
        if (outcome != ScnTools::ApartRead::eRead) {
            continue;
        }
        std::vector<std::string> heard[2];
        std::vector<std::string> drawn;
        for (int half = 0; half < 2; ++half) {
            for (const std::string& line : (half == 0 ? first : second).lines) {
                (line.compare(0, 9, "component") == 0 ? heard[half] : drawn).push_back(line);
            }
            EXPECT_EQ(heard[half], components) << "half " << half << ", run " << run;
        }
        std::sort(drawn.begin(), drawn.end());
        EXPECT_EQ(drawn, polygons) << "halves, run " << run;
        EXPECT_EQ(bad, wholeBad) << "halves, run " << run;
    }
    std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SplitRead,
    testing::Values(
        SplitCase{"points_far_ahead", points(30000) + polygons(backwards(30000, 2000)), 2000, 0},
        SplitCase{"holes_and_smoothing",
                  points(20) + polygons({"h 1 2 4 0 1 2 3 3 4 5 6", "o 2 3 19 18 17", "p 0 4 5 6 7 8"}), 3, 0},
        SplitCase{"components_between_the_scenes_geometry",
                  points(9000) + polygons(backwards(9000, 50)) + "<InternalComponentDefinitions>\n" +
                      component(1, points(12000) + polygons(backwards(12000, 300))) +
                      component(2, points(5) + polygons({"p 1 3 0 1 4", "p 1 3 2 3 4"})) +
                      "</InternalComponentDefinitions>\n",
                  50 + 1 + 300 + 1 + 2, 0},
        SplitCase{"a_component_without_points", "<InternalComponentDefinitions>\n" +
                      component(3, polygons({"p 0 3 0 1 2"})) + component(4, points(3) + polygons({"p 0 3 0 1 2"})) +
                      "</InternalComponentDefinitions>\n",
                  3, 1},
        SplitCase{"points_that_do_not_exist", points(10) + polygons({"p 0 3 0 1 10", "p 0 3 -1 0 1", "p 0 3 7 8 9"}), 1,
                  2},
        // One reader stops at the fault, before the polygons: the split read cannot stand for it.
        SplitCase{"a_damaged_points_block", points(10000, 6000, "1.0 x 2.0") + polygons(backwards(10000, 3000)), 0, 0,
                  ScnTools::ApartRead::eStoppedAtFault},
        SplitCase{"a_damaged_points_block_of_a_component",
                  points(10) + polygons({"p 0 3 0 1 2"}) + "<InternalComponentDefinitions>\n" +
                      component(5, points(10, 4, "x") + polygons({"p 0 3 0 1 2"})) +
                      "</InternalComponentDefinitions>\n",
                  2, 0, ScnTools::ApartRead::eStoppedAtFault},
        // The library reads on after these warnings, as one reader would: no second read.
        SplitCase{"an_infinite_coordinate", points(9000, 8990, "INF 2.0 3.0") + polygons(backwards(9000, 400)), 400, 0},
        SplitCase{"undefined_coordinates", points(9000, 5, "1.0 nan -NaN") + polygons(backwards(9000, 400)), 400, 0},
        SplitCase{"an_infinite_coordinate_then_a_damaged_one",
                  points(9000, 5, "-inf 2.0 3.0\n1.0 x 2.0") + polygons(backwards(9000, 400)), 0, 0,
                  ScnTools::ApartRead::eStoppedAtFault},
        // One reader stops at the fault; the second half would not: the halves cannot stand for it.
        SplitCase{"a_damaged_polygons_block", points(100) + polygons({"p 0 3 0 1 2", "p 0 3 x 4 5", "p 0 3 6 7 8"}), 1,
                  0, ScnTools::ApartRead::eRead, ScnTools::ApartRead::eStoppedAtFault},
        SplitCase{"records_over_two_lines", points(10) + polygons({"p 0 3 0 1 2", "p 0 3\n3 4 5", "p 0 3 6 7 8"}), 3, 0,
                  ScnTools::ApartRead::eRead, ScnTools::ApartRead::eStoppedAtFault},
        SplitCase{"records_two_to_a_line", points(10) + polygons({"p 0 3 0 1 2 p 0 3 3 4 5", "p 0 3 6 7 8"}) , 2, 0,
                  ScnTools::ApartRead::eRead, ScnTools::ApartRead::eStoppedAtFault},
        SplitCase{"a_block_without_a_plain_count",
                  points(10) + "<Polygons><![CDATA[\n+2\np 0 3 0 1 2\np 0 3 3 4 5\n]]></Polygons>\n", 2, 0}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

// What the points' thread does while the polygons' thread waits for point number 4 of its table.
enum class Move { ePublishFive, ePublishThree, eFinish, eOpenNext, eStop };

struct ExchangeCase {
    const char* name;
    size_t publishedBefore;  // points published before the wait starts
    int delayMicroseconds;   // 0: at once, while the waiting side still spins; else after it blocked
    Move move;
    size_t answer;           // what the wait answers
};

void PrintTo(const ExchangeCase& c, std::ostream* out) { *out << c.name; }

class ExchangeWait : public testing::TestWithParam<ExchangeCase> {};

TEST_P(ExchangeWait, WakesForWhatTheOtherSideDoes)
{
    const ExchangeCase& c = GetParam();
    static const NvScn::CScnVector kPoints[5] = {};
    ScnTools::PointExchange exchange;
    ScnTools::PointExchange::Table& table = exchange.open(false, NvScn::CScnUUID{});
    exchange.publish(table, kPoints, c.publishedBefore);
    std::thread other([&] {
        std::this_thread::sleep_for(std::chrono::microseconds(c.delayMicroseconds));
        switch (c.move) {
        case Move::ePublishFive:
            exchange.publish(table, kPoints, 5);
            // A wait that is answered short would hang on this one's answer otherwise.
            exchange.finish();
            break;
        case Move::ePublishThree:
            exchange.publish(table, kPoints, 3);
            exchange.finish();
            break;
        case Move::eFinish:
            exchange.finish();
            break;
        case Move::eOpenNext:
            exchange.open(true, NvScn::CScnUUID{});
            exchange.finish();
            break;
        case Move::eStop:
            exchange.stop();
            break;
        }
    });
    size_t answer = exchange.waitFor(table, 4);
    other.join();
    EXPECT_EQ(answer, c.answer);
    // Once the points' thread is done, the table's last count is there at once.
    EXPECT_EQ(exchange.waitFor(table, 4), c.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, ExchangeWait,
    testing::Values(ExchangeCase{"published_already", 5, 0, Move::eFinish, 5},
                    ExchangeCase{"published_while_spinning", 2, 0, Move::ePublishFive, 5},
                    ExchangeCase{"published_after_blocking", 2, 20000, Move::ePublishFive, 5},
                    ExchangeCase{"table_ends_short_while_spinning", 1, 0, Move::ePublishThree, 3},
                    ExchangeCase{"table_ends_short_after_blocking", 1, 20000, Move::ePublishThree, 3},
                    ExchangeCase{"next_table_opened_after_blocking", 2, 20000, Move::eOpenNext, 2},
                    ExchangeCase{"finished_after_blocking", 0, 20000, Move::eFinish, 0},
                    ExchangeCase{"stopped_while_spinning", 2, 0, Move::eStop, 2},
                    ExchangeCase{"stopped_after_blocking", 2, 20000, Move::eStop, 2}),
    [](const testing::TestParamInfo<ExchangeCase>& info) { return std::string(info.param.name); });

bool writeDocument(const std::string& path, const std::string& document)
{
    std::unique_ptr<ScnTools::FileStream> out(ScnTools::FileStream::open(path, "wb"));
    if (!out) {
        return false;
    }
    out->write(document.data(), static_cast<int32_t>(document.size()));
    return true;
}

// The points' read that begins before the sinks exist hands over what one reader does, once.
TEST(EarlyPoints, ReadBeforeThePolygonsHandOverWhatOneReaderDoes)
{
    std::string path = file("early");
    ASSERT_TRUE(writeDocument(path, header() + points(50000) + polygons(backwards(50000, 9000)) + "</Scn.File>\n"));
    int64_t wholeBad = 0;
    std::vector<std::string> whole = readWhole(path, wholeBad);
    ScnTools::SplitRead read(path);
    // The points' read has gone on meanwhile, perhaps to its end.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Recording sink;
    int64_t bad = 0;
    EXPECT_EQ(read.readPolygons(sink, bad), ScnTools::ApartRead::eRead);
    EXPECT_EQ(sink.lines, whole);
    EXPECT_EQ(bad, wholeBad);
    Recording again;
    EXPECT_EQ(read.readPolygons(again, bad), ScnTools::ApartRead::eFailed);
    EXPECT_TRUE(again.lines.empty());
}

// A points' read whose polygons are never asked for is stopped and awaited with its object.
TEST(EarlyPoints, EndsWithItsObjectUnread)
{
    std::string path = file("early-unread");
    ASSERT_TRUE(writeDocument(path, header() + points(400000) + polygons(backwards(400000, 10)) + "</Scn.File>\n"));
    for (int wait : {0, 5}) {
        ScnTools::SplitRead read(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
}

TEST(SplitRead, NamesAFileThatDoesNotOpen)
{
    Recording sink;
    int64_t bad = 0;
    std::string path = file("missing");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ScnTools::readGeometryApart(path, sink, bad), ScnTools::ApartRead::eFailed);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "scntool: cannot open " + path + ": No such file or directory\n");
    EXPECT_TRUE(sink.lines.empty());
}

}  // namespace
