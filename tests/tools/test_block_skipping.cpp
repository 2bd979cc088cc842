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
