// The block reader's quick paths (points of three plain reals, runs of plain point indices) against
// what each token means, with every token form crossing the end of the reader's buffer: blocks
// larger than the buffer, shifted byte by byte.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "document/GeometryBlock.h"
#include "model/Scene.h"
#include "support/TestSupport.h"
#include "test_geometry_block_support.h"

namespace {

using namespace NvScn;

// Reals in the forms of the quick path and around it, with the value each stands for.
struct RealForm {
    const char* text;
    double value;
};

const RealForm kReals[] = {
    {"12.5", 12.5},          {"-0.25", -0.25},           {"0.0", 0.0},
    {"-0.0", -0.0},          {"1234567.1234567", 1234567.1234567}, {"12345678.5", 12345678.5},
    {"1.12345678", 1.12345678}, {"5", 5.0},              {".5", 0.5},
    {"7.", 7.0},             {"+1.5", 1.5},              {"0.1", 0.1},
    {"9999999.9999999", 9999999.9999999}, {"00012.5000", 12.5}, {"3.14159265358979", 3.14159265358979},
};

// Separators between tokens.
const char* const kSeparators[] = {" ", "  ", "\t", "\r\n", " \n", "\n"};

struct PointsBlock {
    std::string text;
    std::vector<CScnVector> points;
};

// A block of more points than the reader's buffer holds, padded after its count.
PointsBlock pointsBlock(unsigned seed, size_t pad)
{
    std::mt19937 random(seed);
    PointsBlock block;
    std::string body;
    while (body.size() < 70 * 1024) {
        CScnVector point{};
        double* coordinates[] = {&point.x, &point.y, &point.z};
        for (double* coordinate : coordinates) {
            const RealForm& form = kReals[random() % std::size(kReals)];
            body += form.text;
            body += kSeparators[random() % std::size(kSeparators)];
            *coordinate = form.value;
        }
        block.points.push_back(point);
    }
    block.text = std::to_string(block.points.size()) + std::string(pad, ' ') + " " + body;
    return block;
}

struct PolygonsBlock {
    std::string text;
    std::vector<ScnTest::RecordingStorage::Polygon> polygons;
};

// Indices of one to ten digits and negative ones, markers, mappings and holes now and then.
PolygonsBlock polygonsBlock(unsigned seed, size_t pad)
{
    std::mt19937 random(seed);
    PolygonsBlock block;
    std::string body;
    const int32_t indices[] = {0, 7, 42, 999, 1002, 65535, 501501, 9999999, 12345678, 2147483647, -5};
    while (body.size() < 70 * 1024) {
        ScnTest::RecordingStorage::Polygon polygon;
        polygon.material = static_cast<int32_t>(random() % 5);
        bool holed = random() % 8 == 0;
        polygon.loops.resize(holed ? 2 : 1);
        body += holed ? "h\t" : "p\t";
        body += std::to_string(polygon.material) + " ";
        if (holed) {
            body += "2 ";
        }
        for (auto& loop : polygon.loops) {
            loop.resize(1 + random() % 6);
            body += std::to_string(loop.size()) + kSeparators[random() % std::size(kSeparators)];
            for (CScnVertex& vertex : loop) {
                vertex = CScnVertex{indices[random() % std::size(indices)], 0, 0.0f, 0.0f};
                if (random() % 10 == 0) {
                    vertex.flags |= kScnVertexMarker;
                    body += "I ";
                }
                if (random() % 10 == 0) {
                    vertex.flags |= kScnVertexMapped;
                    vertex.u = 0.5f;
                    vertex.v = 0.25f;
                    body += "M 0.5 0.25 ";
                }
                body += std::to_string(vertex.pointIndex) + kSeparators[random() % std::size(kSeparators)];
            }
        }
        body += "\n";
        block.polygons.push_back(polygon);
    }
    block.text = std::to_string(block.polygons.size()) + std::string(pad, ' ') + " " + body;
    return block;
}

bool samePoint(const CScnVector& a, const CScnVector& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class BlockQuickPaths : public ::testing::TestWithParam<unsigned> {};

TEST_P(BlockQuickPaths, PointsMeanWhatTheirTokensSayWhereverTheBufferEnds)
{
    for (size_t pad = 0; pad < 48; ++pad) {
        PointsBlock block = pointsBlock(GetParam(), pad);
        ScnTest::RecordingFeedback feedback;
        CSCN scene(eCurrentVersionSCN, &feedback, nullptr);
        ScnTest::MemoryReadStream in(block.text);
        readPointsBlock(&in, &scene, &scene.points());
        ASSERT_EQ(scene.points().size(), block.points.size()) << "pad " << pad;
        for (size_t i = 0; i < block.points.size(); ++i) {
            ASSERT_TRUE(samePoint(*scene.points().at(static_cast<uint32_t>(i)), block.points[i]))
                << "pad " << pad << " point " << i << ": " << ScnTest::describe(*scene.points().at(static_cast<uint32_t>(i)))
                << " instead of " << ScnTest::describe(block.points[i]);
        }
        EXPECT_TRUE(feedback.warnings.empty());
    }
}

TEST_P(BlockQuickPaths, PolygonsMeanWhatTheirTokensSayWhereverTheBufferEnds)
{
    for (size_t pad = 0; pad < 48; ++pad) {
        PolygonsBlock block = polygonsBlock(GetParam(), pad);
        ScnTest::RecordingFeedback feedback;
        CSCN scene(eCurrentVersionSCN, &feedback, nullptr);
        ScnTest::MemoryReadStream in(block.text);
        readPolygonsBlock(&in, &scene, &scene.polygons());
        ASSERT_EQ(scene.polygons().size(), block.polygons.size()) << "pad " << pad;
        for (size_t i = 0; i < block.polygons.size(); ++i) {
            ASSERT_EQ(ScnTest::describe(*scene.polygons().at(static_cast<uint32_t>(i))),
                      ScnTest::describe(block.polygons[i]))
                << "pad " << pad << " polygon " << i;
        }
        EXPECT_TRUE(feedback.warnings.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BlockQuickPaths, ::testing::Values(1u, 2u));

// Tokens the quick paths leave alone still fail with the general messages, inside a run of
// plain ones.
TEST(BlockQuickPaths, FailuresInsideRunsKeepTheirMessages)
{
    struct Case {
        const char* input;
        bool polygons;
        const char* outcome;
    };
    const Case cases[] = {
        {"2 1.5 2.5 3.5 1.5 2.5x", false, "This is not a number"},
        {"2 1.5 2.5 3.5 1.5 2.5 -x", false, "This is not a number"},
        {"1 1.5 2.5 3.5.5", false, "(no failure)"},
        {"1 p 0 4 1 2 3.5 4", true, "This is not a integer"},
        {"1 p 0 4 1 2 99999999999 4", true, "Integer value out of range"},
        {"1 p 0 3 1 2 x", true, "This is not a number"},
        {"1 p 0 3 1 2", true, "This is not a number"},
    };
    for (const Case& c : cases) {
        CSCN scene(eCurrentVersionSCN, nullptr, nullptr);
        ScnTest::MemoryReadStream in(c.input);
        std::string failure = ScnTest::failureOf([&] {
            if (c.polygons) {
                readPolygonsBlock(&in, &scene, &scene.polygons());
            } else {
                readPointsBlock(&in, &scene, &scene.points());
            }
        });
        EXPECT_EQ(failure, c.outcome) << c.input;
    }
}

}  // namespace
