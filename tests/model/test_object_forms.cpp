// The field forms that the object kinds brought: 2D vectors, fixed arrays of vectors, the matrix
// lines, hexadecimal identifiers, labels as element text, texts in attributes, items standing
// directly in their parent, directions and vectors read as stored, and fragments left out when
// empty.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/Fields.h"
#include "model/ObjectDefinition.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/Locale.h"
#include "support/TestSupport.h"
#include "support/XmlSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

constexpr LabelEntry kShapeEntries[] = {{1, "Round"}, {2, "Square"}, {-1, "None"}};
const LabelTable kShapes(kShapeEntries);
constexpr CScnVector kCorners[2] = {{1, 2, 3}, {4, 5, 6}};
constexpr CScnVector2D kMarks[3] = {{0.5, 1}, {0, 0}, {-2, 8}};

struct Knot {
    static constexpr const char* kElementName = "Knot";
    explicit Knot(CBaseObjectMgr*) { setFieldDefaults(*this); }
    template <class V>
    void visitFields(V& v)
    {
        v.integer("Value", value, 7);
    }
    int32_t value;
};

// A kind with every new form.
struct Shape {
    Shape() : knots(nullptr), kept("Kept") { setFieldDefaults(*this); }
    template <class V>
    void visitFields(V& v)
    {
        v.hexNumber("Code", code, 255u);
        v.attributeText("Title", title, "t");
        v.vector2D("Spot", spot, CScnVector2D{1.5, -2});
        v.array("Corners", "Corner", corners, kCorners);
        v.array("Marks", "Mark", marks, kMarks);
        v.matrix("Matrix", matrix, kIdentityMatrix);
        v.labelText("Kind", kind, kShapes, 1);
        v.children(knots);
        v.vector("Place", place, CScnVector{1, 1, 1});
        v.vector("Direction", direction, CScnVector{0, 1, 0}, kDirection);
        v.vector("Scale", scale, CScnVector{1, 1, 1}, kNoFixUp);
        v.fragment("Kept", kept, kOptional, kOmitEmpty);
    }
    uint32_t code;
    std::string title;
    CScnVector2D spot;
    CScnVector corners[2];
    CScnVector2D marks[3];
    double matrix[16];
    int32_t kind;
    TObjectMgr<Knot, Knot> knots;
    CScnVector place;
    CScnVector direction;
    CScnVector scale;
    CXMLFragment kept;
};

const std::string kNewShape =
    "<Shape\n\t Code=\"000000FF\"\n\t Title=\"t\">\n"
    "\t<Spot\n\t\t X=\"1.500000\"\n\t\t Y=\"-2.000000\"/>\n"
    "\t<Corners>\n"
    "\t\t<Corner\n\t\t\t X=\"1.000000\"\n\t\t\t Y=\"2.000000\"\n\t\t\t Z=\"3.000000\"/>\n"
    "\t\t<Corner\n\t\t\t X=\"4.000000\"\n\t\t\t Y=\"5.000000\"\n\t\t\t Z=\"6.000000\"/>\n"
    "\t</Corners>\n"
    "\t<Marks>\n"
    "\t\t<Mark\n\t\t\t X=\"0.500000\"\n\t\t\t Y=\"1.000000\"/>\n"
    "\t\t<Mark\n\t\t\t X=\"0.000000\"\n\t\t\t Y=\"0.000000\"/>\n"
    "\t\t<Mark\n\t\t\t X=\"-2.000000\"\n\t\t\t Y=\"8.000000\"/>\n"
    "\t</Marks>\n"
    "\t<Matrix>\n"
    "\t\t<Line Index=\"0\">1.000000, 0.000000, 0.000000, 0.000000</Line>\n"
    "\t\t<Line Index=\"1\">0.000000, 1.000000, 0.000000, 0.000000</Line>\n"
    "\t\t<Line Index=\"2\">0.000000, 0.000000, 1.000000, 0.000000</Line>\n"
    "\t\t<Line Index=\"3\">0.000000, 0.000000, 0.000000, 1.000000</Line>\n"
    "\t</Matrix>\n"
    "\t<Kind>Round</Kind>\n"
    "\t<Place\n\t\t X=\"1.000000\"\n\t\t Y=\"1.000000\"\n\t\t Z=\"1.000000\"/>\n"
    "\t<Direction\n\t\t X=\"0.000000\"\n\t\t Y=\"1.000000\"\n\t\t Z=\"0.000000\"/>\n"
    "\t<Scale\n\t\t X=\"1.000000\"\n\t\t Y=\"1.000000\"\n\t\t Z=\"1.000000\"/>\n"
    "</Shape>";

TEST(ObjectForms, ANewShapeIsWrittenInFieldOrderInEveryLocale)
{
    ScnTest::inPlainAndCommaLocales([](bool comma) {
        Shape shape;
        EXPECT_EQ(ScnTest::writeFieldsText(shape, "Shape"), kNewShape) << comma;
        shape.knots.append()->value = 3;
        shape.knots.append();
        shape.kept.element()->AddAttribute(shape.kept.element()->GetKey("A"), "1");
        std::string written = ScnTest::writeFieldsText(shape, "Shape");
        EXPECT_NE(written.find("\t<Kind>Round</Kind>\n\t<Knot>\n\t\t<Value>3</Value>\n\t</Knot>\n"
                               "\t<Knot>\n\t\t<Value>7</Value>\n\t</Knot>\n\t<Place"),
                  std::string::npos)
            << written;
        EXPECT_NE(written.find("\t<Kept A=\"1\"/>\n</Shape>"), std::string::npos) << written;
    });
}

TEST(ObjectForms, EveryValueComesBackThroughTheWrittenBytes)
{
    ScnTest::inPlainAndCommaLocales([](bool comma) {
        Shape source;
        ScnTest::varyFields(source);
        Shape target;
        EXPECT_EQ(ScnTest::unchangedLines(dumpFields(source), dumpFields(target)), std::vector<std::string>{});
        EXPECT_EQ(ScnTest::readFieldsText(ScnTest::writeFieldsText(source, "Shape"), target), "") << comma;
        EXPECT_EQ(dumpFields(target), dumpFields(source)) << comma;
    });
}

TEST(ObjectForms, MatrixLinesAreFourRealsApartByCommas)
{
    const double row[4] = {1.5, -0.25, 1e20, 0.0000004};
    EXPECT_EQ(XmlForm::matrixLineText(row), "1.500000, -0.250000, 100000000000000000000.000000, 0.000000");
    const struct {
        const char* text;
        bool parsed;
        double first;
        double last;
    } cases[] = {
        {"1.5, -0.25, 3, 4", true, 1.5, 4},
        {"1.5,-0.25,3,4", true, 1.5, 4},
        {"\n 1 ,\t2 , 3 , 4 \n", true, 1, 4},
        {"1, 2, 3", false, 0, 0},
        {"1, 2, 3, 4, 5", false, 0, 0},
        {"1; 2; 3; 4", false, 0, 0},
        {"1,, 3, 4", false, 0, 0},
        {"1, 2, 3, ", false, 0, 0},
        {"one, 2, 3, 4", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const auto& c : cases) {
        double read[4] = {};
        EXPECT_EQ(XmlForm::parseMatrixLine(c.text, read), c.parsed) << c.text;
        if (c.parsed) {
            EXPECT_EQ(read[0], c.first) << c.text;
            EXPECT_EQ(read[3], c.last) << c.text;
        }
    }
}

struct BadShapeCase {
    const char* what;
    ScnTest::Cut cut;
    std::string failure;
    // The value of one line of the dump after the read: "name=value".
    std::string line;
};

class BadShape : public ::testing::TestWithParam<BadShapeCase> {};

// A shape with its own values reads a cut document of a varied shape: the failure is the form's,
// and an array or matrix that fails keeps the values it had.
TEST_P(BadShape, TheFailureIsTheFormsAndTheFieldKeepsItsValue)
{
    const BadShapeCase& c = GetParam();
    Shape source;
    ScnTest::varyFields(source);
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(ScnTest::writeFieldsText(source, "Shape"));
    ASSERT_NE(tree, nullptr);
    XIXMLElement* element = ScnTest::documentElement(*tree);
    c.cut(element);
    Shape target;
    NvScn::FieldReader reader(element, nullptr);
    std::string failure;
    try {
        target.visitFields(reader);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    EXPECT_EQ(failure, c.failure) << c.what;
    std::string dump = "\n" + dumpFields(target);
    EXPECT_NE(dump.find("\n" + c.line + "\n"), std::string::npos) << c.what << "\n" << dump;
}

XIXMLElement* lineAt(XIXMLElement* shape, int index)
{
    XIXMLElement* line = XmlForm::findChild(XmlForm::findChild(shape, "Matrix"), "Line");
    for (int i = 0; i < index; ++i) {
        line = line->GetNextNamesake();
    }
    return line;
}

ScnTest::Cut lineCut(int index, const char* attribute, const char* text)
{
    return [=](XIXMLElement* shape) {
        XIXMLElement* line = lineAt(shape, index);
        if (attribute != nullptr) {
            line->FindAttribute(line->GetKey("Index"))->SetValue(attribute);
        }
        if (text != nullptr) {
            line->GetData()->SetText(text);
        }
    };
}

ScnTest::Cut addItemCut(const char* list, const char* item)
{
    return [=](XIXMLElement* shape) { XmlForm::addChild(XmlForm::findChild(shape, list), item); };
}

ScnTest::Cut dropOneCut(const char* list, const char* item)
{
    return [=](XIXMLElement* shape) { XmlForm::findChild(XmlForm::findChild(shape, list), item)->AsNode()->Delete(); };
}

const std::string kIdentityLine = "Matrix=[1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1]";
const std::string kDefaultCorners = "Corners=[(1 2 3) (4 5 6)]";

INSTANTIATE_TEST_SUITE_P(
    Cases, BadShape,
    ::testing::Values(
        BadShapeCase{"matrix of three lines", dropOneCut("Matrix", "Line"), ScnTest::nullPointerText(), kIdentityLine},
        BadShapeCase{"matrix of five lines", addItemCut("Matrix", "Line"), ScnTest::assertionText(), kIdentityLine},
        BadShapeCase{"line index out of range", lineCut(2, "4", nullptr), ScnTest::assertionText(), kIdentityLine},
        BadShapeCase{"negative line index", lineCut(0, "-1", nullptr), ScnTest::assertionText(), kIdentityLine},
        BadShapeCase{"line index given twice", lineCut(3, "1", nullptr), ScnTest::assertionText(), kIdentityLine},
        BadShapeCase{"line index not a number", lineCut(1, "first", nullptr), ScnTest::plainFailureText(),
                     kIdentityLine},
        BadShapeCase{"line without index", [](XIXMLElement* shape) { ScnTest::deleteAttribute(lineAt(shape, 1), "Index"); },
                     ScnTest::nullPointerText(), kIdentityLine},
        BadShapeCase{"line of three reals", lineCut(1, nullptr, "1, 2, 3"), ScnTest::plainFailureText(), kIdentityLine},
        BadShapeCase{"line without text", [](XIXMLElement* shape) { lineAt(shape, 2)->GetData()->AsNode()->Delete(); },
                     ScnTest::nullPointerText(), kIdentityLine},
        BadShapeCase{"array of one item", dropOneCut("Corners", "Corner"), ScnTest::nullPointerText(), kDefaultCorners},
        BadShapeCase{"array of three items", addItemCut("Corners", "Corner"), ScnTest::assertionText(),
                     kDefaultCorners},
        BadShapeCase{"array item without Z", ScnTest::removeAttributeCut("Corners/Corner", "Z"),
                     ScnTest::nullPointerText(), kDefaultCorners},
        BadShapeCase{"2D vector without Y", ScnTest::removeAttributeCut("Spot", "Y"), ScnTest::nullPointerText(),
                     "Spot=1.5 -2"},
        BadShapeCase{"hexadecimal digits", ScnTest::setAttributeCut("", "Code", "GG"), ScnTest::plainFailureText(),
                     "Code=255"},
        BadShapeCase{"no hexadecimal identifier", ScnTest::removeAttributeCut("", "Code"), ScnTest::nullPointerText(),
                     "Code=255"},
        BadShapeCase{"label not in the table", ScnTest::setTextCut("Kind", "Oval"), "Invalid label (Oval) [Round..None]",
                     "Kind=1"},
        BadShapeCase{"label element without text",
                     [](XIXMLElement* shape) { ScnTest::elementAt(shape, "Kind")->GetData()->AsNode()->Delete(); },
                     ScnTest::nullPointerText(), "Kind=1"},
        BadShapeCase{"text attribute missing", ScnTest::removeAttributeCut("", "Title"), ScnTest::nullPointerText(),
                     "Title=\"t\""}),
    [](const ::testing::TestParamInfo<BadShapeCase>& info) {
        std::string name;
        for (const char* c = info.param.what; *c != '\0'; ++c) {
            name += (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') ? *c : '_';
        }
        return name;
    });

TEST(ObjectForms, ItemsInTheElementReplaceTheListAndOthersArePassedOver)
{
    Shape shape;
    shape.knots.append()->value = 1;
    std::string bytes = kNewShape;
    bytes.replace(bytes.find("\t<Place"), 0, "<Knot><Value>4</Value></Knot><Note/><Knot><Value>5</Value></Knot>");
    EXPECT_EQ(ScnTest::readFieldsText(bytes, shape), "");
    ASSERT_EQ(shape.knots.size(), 2u);
    EXPECT_EQ(shape.knots.at(0)->value, 4);
    EXPECT_EQ(shape.knots.at(1)->value, 5);
    EXPECT_EQ(ScnTest::readFieldsText(kNewShape, shape), "");
    EXPECT_EQ(shape.knots.size(), 0u);
}

// The scene's transformation moves points, turns directions without moving them, and leaves
// scales and angles as stored; a legacy document exchanges y and z of points and directions.
TEST(ObjectForms, OnlyPointsTakeTheTranslationAndScalesNoFixUp)
{
    ScnTest::RecordingFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    CSCN* scene = static_cast<CSCN*>(manager);
    // A quarter turn about z (x becomes y) and a translation of (10, 20, 30).
    const double matrix[16] = {0, -1, 0, 10, 1, 0, 0, 20, 0, 0, 1, 30, 0, 0, 0, 1};
    for (bool legacy : {false, true}) {
        SCOPED_TRACE(legacy ? "legacy" : "current");
        manager->getMgrEx(6)->setMatrix(matrix);
        scene->setLegacyFile(legacy);
        Shape shape;
        EXPECT_EQ(ScnTest::readFieldsText(kNewShape, shape, scene), "");
        // Place (1, 1, 1); Direction (0, 1, 0), legacy (0, 0, 1); Scale (1, 1, 1).
        EXPECT_EQ(shape.place.x, 9.0);
        EXPECT_EQ(shape.place.y, 21.0);
        EXPECT_EQ(shape.place.z, 31.0);
        EXPECT_EQ(shape.direction.x, legacy ? 0.0 : -1.0);
        EXPECT_EQ(shape.direction.y, 0.0);
        EXPECT_EQ(shape.direction.z, legacy ? 1.0 : 0.0);
        EXPECT_EQ(shape.scale.x, 1.0);
        EXPECT_EQ(shape.scale.y, 1.0);
        EXPECT_EQ(shape.scale.z, 1.0);
        EXPECT_EQ(shape.corners[0].x, legacy ? 7.0 : 8.0);
        EXPECT_EQ(shape.corners[0].y, 21.0);
    }
    scene->setLegacyFile(false);
    manager->release();
}

}  // namespace
