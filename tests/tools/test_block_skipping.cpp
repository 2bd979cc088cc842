// The document view without geometry blocks that render's first read goes through: what it
// presents, whatever the size of the reads, and its positions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../fuzz/BytesStream.h"
#include "BlockSkipping.h"

namespace {

struct SkipCase {
    const char* name;
    std::string document;
    std::string presented;
};

void PrintTo(const SkipCase& c, std::ostream* out) { *out << c.name; }

std::string readAll(ScnTools::BlockSkippingStream& stream, int32_t piece)
{
    std::string text;
    std::vector<char> buffer(static_cast<size_t>(piece));
    for (int32_t got; (got = stream.read(buffer.data(), piece)) > 0;) {
        text.append(buffer.data(), static_cast<size_t>(got));
    }
    return text;
}

class BlockSkipping : public testing::TestWithParam<SkipCase> {};

TEST_P(BlockSkipping, PresentsTheDocumentWithoutTheNamedBlocks)
{
    for (int32_t piece : {1, 2, 7, 4096}) {
        ScnFuzz::BytesStream file(GetParam().document);
        ScnTools::BlockSkippingStream stream(file, {"Points", "Polygons"});
        EXPECT_EQ(readAll(stream, piece), GetParam().presented) << "reads of " << piece;
        EXPECT_EQ(stream.getPosition(), static_cast<int64_t>(GetParam().presented.size()));
        EXPECT_EQ(stream.skippedBytes(),
                  static_cast<int64_t>(GetParam().document.size() - GetParam().presented.size()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, BlockSkipping,
    testing::Values(
        SkipCase{"geometry_blocks", "<?Scn a?>\n<Scn.File><Points><![CDATA[\n3 \n1.0 2.0 3.0 ]]>\n\t</Points>"
                                    "<Polygons>\n\t<![CDATA[p\t0 3 0 1 2 ]]></Polygons></Scn.File>\n",
                 "<?Scn a?>\n<Scn.File><Points>\n\t</Points><Polygons>\n\t</Polygons></Scn.File>\n"},
        SkipCase{"other_blocks_pass", "<Preview.Image><![CDATA[00000001]]></Preview.Image>",
                 "<Preview.Image><![CDATA[00000001]]></Preview.Image>"},
        SkipCase{"names_that_only_begin_alike", "<PointsX><![CDATA[1]]></PointsX><Point><![CDATA[2]]></Point>",
                 "<PointsX><![CDATA[1]]></PointsX><Point><![CDATA[2]]></Point>"},
        SkipCase{"attributes_with_markup_inside", "<Points a=\"x>y\" b='<![CDATA['><![CDATA[1 2]]></Points>",
                 "<Points a=\"x>y\" b='<![CDATA['></Points>"},
        SkipCase{"text_before_the_block", "<Points>x<![CDATA[1]]></Points>", "<Points>x<![CDATA[1]]></Points>"},
        SkipCase{"empty_element_then_block", "<Points/><![CDATA[1]]>", "<Points/><![CDATA[1]]>"},
        SkipCase{"end_tag_then_block", "<Points></Points><![CDATA[1]]>", "<Points></Points><![CDATA[1]]>"},
        SkipCase{"comment_and_instruction_pass", "<Points><!-- <![CDATA[ --><?pi ]]> ?><![CDATA[9]]></Points>",
                 "<Points><!-- <![CDATA[ --><?pi ]]> ?><![CDATA[9]]></Points>"},
        SkipCase{"brackets_inside_a_block", "<Polygons><![CDATA[a]b]]c]]]></Polygons>", "<Polygons></Polygons>"},
        SkipCase{"declaration_with_subset", "<!DOCTYPE s [<!ENTITY e \">\">]><Points><![CDATA[1]]></Points>",
                 "<!DOCTYPE s [<!ENTITY e \">\">]><Points></Points>"},
        SkipCase{"unterminated_block", "<Points><![CDATA[1 2 3", "<Points>"},
        SkipCase{"not_an_xml_document", "Kestrovin <Points><![CDATA[1]]>", "Kestrovin <Points><![CDATA[1]]>"}),
    [](const testing::TestParamInfo<SkipCase>& info) { return std::string(info.param.name); });

// Two readers share the records of each polygon block: each half under its own count, the lines
// of the two halves together being the block's.
struct HalfCase {
    const char* name;
    std::string document;
    std::string first;
    std::string second;
};

void PrintTo(const HalfCase& c, std::ostream* out) { *out << c.name; }

class BlockHalves : public testing::TestWithParam<HalfCase> {};

TEST_P(BlockHalves, PresentEachHalfOfTheRecordsUnderItsCount)
{
    for (int32_t piece : {1, 3, 4096}) {
        for (int half : {0, 1}) {
            ScnFuzz::BytesStream file(GetParam().document);
            ScnTools::BlockSkippingStream stream(file, {"Points"});
            stream.presentHalf("Polygons", half);
            EXPECT_EQ(readAll(stream, piece), half == 0 ? GetParam().first : GetParam().second)
                << "half " << half << ", reads of " << piece;
        }
    }
}

const char kThree[] = "<Polygons><![CDATA[\n3 \np\t0 3 0 1 2 \np\t0 3 2 1 3 \no\t1 3 3 1 4 \n]]></Polygons>";

INSTANTIATE_TEST_SUITE_P(
    Documents, BlockHalves,
    testing::Values(
        HalfCase{"odd_count", std::string("<s><Points><![CDATA[1]]></Points>") + kThree + "</s>",
                 "<s><Points></Points><Polygons><![CDATA[\n2 \np\t0 3 0 1 2 \np\t0 3 2 1 3 \n]]></Polygons></s>",
                 "<s><Points></Points><Polygons><![CDATA[\n1 \no\t1 3 3 1 4 \n]]></Polygons></s>"},
        HalfCase{"each_block_of_its_own", std::string("<a>") + kThree + "<c/>" +
                                              "<Polygons>\n <![CDATA[ 2\r\nh 0 2 3 0 1 2 1 3\r\np 1 3 4 5 6\r\n]]>"
                                              "</Polygons></a>",
                 "<a><Polygons><![CDATA[\n2 \np\t0 3 0 1 2 \np\t0 3 2 1 3 \n]]></Polygons><c/><Polygons>\n "
                 "<![CDATA[\n1 \nh 0 2 3 0 1 2 1 3\r\n]]></Polygons></a>",
                 "<a><Polygons><![CDATA[\n1 \no\t1 3 3 1 4 \n]]></Polygons><c/><Polygons>\n "
                 "<![CDATA[\n1 \np 1 3 4 5 6\r\n]]></Polygons></a>"},
        HalfCase{"one_record", "<Polygons><![CDATA[1\np 0 3 0 1 2]]></Polygons>",
                 "<Polygons><![CDATA[\n1 \np 0 3 0 1 2]]></Polygons>", "<Polygons><![CDATA[\n0 \n]]></Polygons>"},
        HalfCase{"no_plain_count", "<Polygons><![CDATA[x3\np 0 3 0 1 2]]></Polygons>",
                 "<Polygons><![CDATA[x3\np 0 3 0 1 2]]></Polygons>", "<Polygons><![CDATA[\n0 \n]]></Polygons>"},
        HalfCase{"fewer_lines_than_the_count", "<Polygons><![CDATA[\n6\np 0 3 0 1 2\n]]></Polygons>",
                 "<Polygons><![CDATA[\n3 \np 0 3 0 1 2\n]]></Polygons>", "<Polygons><![CDATA[\n3 \n]]></Polygons>"},
        HalfCase{"brackets_in_the_records", "<Polygons><![CDATA[2\n]a\n]]b\n]]></Polygons>",
                 "<Polygons><![CDATA[\n1 \n]a\n]]></Polygons>", "<Polygons><![CDATA[\n1 \n]]b\n]]></Polygons>"},
        HalfCase{"other_elements_pass", "<Points><![CDATA[2\n1\n2\n]]></Points><Polygonsx><![CDATA[2\n]]></Polygonsx>",
                 "<Points></Points><Polygonsx><![CDATA[2\n]]></Polygonsx>",
                 "<Points></Points><Polygonsx><![CDATA[2\n]]></Polygonsx>"}),
    [](const testing::TestParamInfo<HalfCase>& info) { return std::string(info.param.name); });

// The library looks at the first byte and goes back; any other seek starts over.
TEST(BlockSkippingPositions, SeekingBackReadsTheSameBytesAgain)
{
    ScnFuzz::BytesStream file("<a><Points><![CDATA[123]]></Points><b/></a>");
    ScnTools::BlockSkippingStream stream(file, {"Points"});
    char first = 0;
    ASSERT_EQ(stream.read(&first, 1), 1);
    EXPECT_EQ(first, '<');
    stream.setPosition(0);
    EXPECT_EQ(readAll(stream, 5), "<a><Points></Points><b/></a>");
    stream.setPosition(11);
    EXPECT_EQ(readAll(stream, 3), "</Points><b/></a>");
}

}  // namespace
