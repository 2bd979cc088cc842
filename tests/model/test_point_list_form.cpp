// The field forms of point lists and text attributes, and the failure text a label may name for
// its unlabelled values.
#include <gtest/gtest.h>

#include <string>

#include "model/Fields.h"
#include "model/Geometry.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;

// A kind with the point list forms (required, optional, written only when not empty) and a text
// attribute.
struct Track {
    Track() : points(nullptr), extra(nullptr), sparse(nullptr) { setFieldDefaults(*this); }
    template <class V>
    void visitFields(V& v)
    {
        v.attributeText("Kind", kind, "Plain");
        v.vectorList("Points", "Point", points, AlternateName{"Old.Points"});
        v.vectorList("Extra", "Point", extra, kOptional);
        v.vectorList("Sparse", "Spot", sparse, kOmitEmpty);
        v.integer("Last", last, 0);
    }
    std::string kind;
    TObjectMgr<CPoint, CScnVector> points;
    TObjectMgr<CPoint, CScnVector> extra;
    TObjectMgr<CPoint, CScnVector> sparse;
    int32_t last;
};

void add(TObjectMgr<CPoint, CScnVector>& list, double x, double y, double z)
{
    *static_cast<CScnVector*>(list.append()) = CScnVector{x, y, z};
}

// A track whose lists hold something, to see what a read keeps.
void fill(Track& track)
{
    track.kind = "Held";
    add(track.points, 1, 2, 3);
    add(track.extra, 4, 5, 6);
    add(track.sparse, 7, 8, 9);
}

const char* const kFilledDump =
    "Kind=\"Held\"\nPoints=[1 2 3]\nExtra=[4 5 6]\nSparse=[7 8 9]\nLast=0\n";

TEST(PointListForm, DefaultsAreEmptyAndTheDumpShowsEachPointInOrder)
{
    Track track;
    EXPECT_EQ(dumpFields(track), "Kind=\"Plain\"\nPoints=[]\nExtra=[]\nSparse=[]\nLast=0\n");
    fill(track);
    add(track.points, -0.5, 1e20, 0);
    EXPECT_EQ(dumpFields(track),
              "Kind=\"Held\"\nPoints=[1 2 3; -0.5 1e+20 0]\nExtra=[4 5 6]\nSparse=[7 8 9]\nLast=0\n");
    setFieldDefaults(track);
    EXPECT_EQ(dumpFields(track), "Kind=\"Plain\"\nPoints=[]\nExtra=[]\nSparse=[]\nLast=0\n");
}

TEST(PointListForm, WritesOneItemPerPointAndTheListElementUnlessOmittedWhenEmpty)
{
    Track track;
    EXPECT_EQ(ScnTest::writeFieldsText(track, "Track"),
              "<Track Kind=\"Plain\">\n\t<Points/>\n\t<Extra/>\n\t<Last>0</Last>\n</Track>");
    fill(track);
    track.kind = "<&\">";
    add(track.points, -1.5, 0, 2);
    EXPECT_EQ(ScnTest::writeFieldsText(track, "Track"),
              "<Track Kind=\"&lt;&amp;&quot;>\">\n\t<Points>\n"
              "\t\t<Point\n\t\t\t X=\"1.000000\"\n\t\t\t Y=\"2.000000\"\n\t\t\t Z=\"3.000000\"/>\n"
              "\t\t<Point\n\t\t\t X=\"-1.500000\"\n\t\t\t Y=\"0.000000\"\n\t\t\t Z=\"2.000000\"/>\n"
              "\t</Points>\n"
              "\t<Extra>\n\t\t<Point\n\t\t\t X=\"4.000000\"\n\t\t\t Y=\"5.000000\"\n\t\t\t Z=\"6.000000\"/>\n"
              "\t</Extra>\n"
              "\t<Sparse>\n\t\t<Spot\n\t\t\t X=\"7.000000\"\n\t\t\t Y=\"8.000000\"\n\t\t\t Z=\"9.000000\"/>\n"
              "\t</Sparse>\n\t<Last>0</Last>\n</Track>");
}

struct PointReadCase {
    const char* what;
    std::string document;
    std::string failure;
    std::string dump;  // of a filled track after the read
};

class PointListReading : public ::testing::TestWithParam<PointReadCase> {};

TEST_P(PointListReading, ReplacesEachListByThePointsOfTheDocument)
{
    const PointReadCase& c = GetParam();
    Track track;
    fill(track);
    EXPECT_EQ(ScnTest::readFieldsText(c.document, track), c.failure) << c.what;
    EXPECT_EQ(dumpFields(track), c.dump) << c.what;
}

const std::string kMissing = ScnTest::nullPointerText();

INSTANTIATE_TEST_SUITE_P(
    Cases, PointListReading,
    ::testing::Values(
        PointReadCase{"points in document order, other children passed over",
                      "<Track Kind='Read'><Points><Point X='1' Y='2' Z='3'/><Note/><Point X='-4' Y='0.5' Z='6'/>"
                      "</Points><Extra/><Sparse><Point X='9' Y='9' Z='9'/></Sparse><Last>5</Last></Track>",
                      "", "Kind=\"Read\"\nPoints=[1 2 3; -4 0.5 6]\nExtra=[]\nSparse=[]\nLast=5\n"},
        PointReadCase{"the older name of a list",
                      "<Track Kind='Old'><Old.Points><Point X='1' Y='1' Z='1'/></Old.Points><Last>1</Last></Track>",
                      "", "Kind=\"Old\"\nPoints=[1 1 1]\nExtra=[4 5 6]\nSparse=[]\nLast=1\n"},
        PointReadCase{"an absent required list stops the read there",
                      "<Track Kind='Cut'><Extra/><Last>3</Last></Track>", kMissing,
                      "Kind=\"Cut\"\nPoints=[1 2 3]\nExtra=[4 5 6]\nSparse=[7 8 9]\nLast=0\n"},
        PointReadCase{"an absent optional list keeps its points, an absent omitted one is empty",
                      "<Track Kind='Some'><Points/><Last>2</Last></Track>", "",
                      "Kind=\"Some\"\nPoints=[]\nExtra=[4 5 6]\nSparse=[]\nLast=2\n"},
        PointReadCase{"a point without a coordinate stops the read, the points before it kept",
                      "<Track Kind='Bad'><Points><Point X='1' Y='2' Z='3'/><Point X='1' Z='3'/>"
                      "<Point X='7' Y='7' Z='7'/></Points><Last>2</Last></Track>",
                      kMissing, "Kind=\"Bad\"\nPoints=[1 2 3]\nExtra=[4 5 6]\nSparse=[7 8 9]\nLast=0\n"},
        PointReadCase{"an absent text attribute stops the read first",
                      "<Track><Points/></Track>", kMissing, kFilledDump},
        PointReadCase{"an empty text attribute is a text", "<Track Kind=''><Points/><Last>0</Last></Track>", "",
                      "Kind=\"\"\nPoints=[]\nExtra=[4 5 6]\nSparse=[]\nLast=0\n"}),
    [](const ::testing::TestParamInfo<PointReadCase>& info) { return "Case" + std::to_string(info.index); });

// Points read from a file pass through the scene's vector fix-up, as every read vector does.
TEST(PointListForm, ReadPointsPassThroughTheSceneConversion)
{
    ScnTest::RecordingFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    CSCN* scene = static_cast<CSCN*>(manager);
    const double shift[16] = {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    scene->setMatrix(shift);
    Track track;
    EXPECT_EQ(ScnTest::readFieldsText("<Track Kind='x'><Points><Point X='1' Y='2' Z='3'/></Points>"
                                      "<Last>0</Last></Track>",
                                      track, scene),
              "");
    EXPECT_EQ(dumpFields(track), "Kind=\"x\"\nPoints=[11 2 3]\nExtra=[]\nSparse=[]\nLast=0\n");
    manager->release();
}

TEST(PointListForm, VariedPointsComeBackThroughTheDocument)
{
    Track source;
    Track target;
    ScnTest::varyFields(source);
    EXPECT_EQ(source.points.size(), 2u);
    EXPECT_EQ(ScnTest::readFieldsText(ScnTest::writeFieldsText(source, "Track"), target), "");
    EXPECT_EQ(dumpFields(target), dumpFields(source));
}

// A label line may name the failure of writing a value that has no label.
struct Shot {
    template <class V>
    void visitFields(V& v)
    {
        v.label("Plain", plain, kKinds, 0);
        v.label("Named", named, kKinds, 0, UnlabelledFailure{"No form for this kind"});
    }
    static const LabelTable kKinds;
    int32_t plain = 0;
    int32_t named = 0;
};

constexpr LabelEntry kKindEntries[] = {{0, "First"}, {1, "Last"}};
const LabelTable Shot::kKinds(kKindEntries);

TEST(LabelForm, AnUnlabelledValueFailsWithTheTextItsLineNames)
{
    struct Case {
        int32_t plain;
        int32_t named;
        std::string failure;
    };
    const Case cases[] = {{1, 1, ""}, {5, 0, "No label for the value (5) [First..Last]"}, {0, 5, "No form for this kind"},
                          {0, -1, "No form for this kind"}};
    for (const Case& c : cases) {
        Shot shot;
        shot.plain = c.plain;
        shot.named = c.named;
        std::string failure;
        try {
            ScnTest::writeFieldsText(shot, "Shot");
        } catch (const std::exception& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, c.failure) << c.plain << " " << c.named;
    }
    Shot shot;
    EXPECT_EQ(ScnTest::readFieldsText("<Shot Plain='Last' Named='Middle'/>", shot),
              "Invalid label (Middle) [First..Last]");
    EXPECT_EQ(shot.plain, 1);
}

}  // namespace
