// Field lists: defaults, the exact XML forms, reading in order with required and optional items.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "model/Fields.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/Locale.h"
#include "support/XmlSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

const LabelEntry kShapes[] = {{0, "Round"}, {1, "Square"}, {2, "Star"}, {0, "Circle"}};

struct Inner {
    int32_t count = 0;
    double size = 0;
    template <class V>
    void visitFields(V& v)
    {
        v.integer("Count", count, 4);
        v.real("Size", size, 0.5, kOptional);
    }
};

// A kind with one field of every form.
struct Sample {
    explicit Sample(CSCN* scene = nullptr) : mScene(scene), ids(scene)
    {
        FieldDefaults defaults(scene);
        visitFields(defaults);
    }

    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", name, "unnamed");
        v.label("Shape", shape, kShapes, 1);
        v.flag("Active", active, true);
        v.flag("Locked", locked, false);
        v.color("Color", color, CScnColor{0, 127, 127, 127});
        v.real("Power", power, 3.0, [](double p) { return p < 1 ? 1.0 : p; });
        v.integer("Flags", flags, 2u);
        v.vector("Position", position, CScnVector{200, 200, -200}, kConvertDefault);
        v.identifier("UUID", uuid, kNullUuid, kOptional);
        v.uuidList("Groups", ids);
        v.object("Inner", inner);
        v.integer("UI.Value", uiValue, 0, kOptional);
    }

    CSCN* mScene;
    std::string name;
    int32_t shape = 0;
    bool active = false;
    bool locked = false;
    CScnColor color{};
    double power = 0;
    uint32_t flags = 0;
    CScnVector position{};
    CScnUUID uuid{};
    TObjectMgr<CScnUUIDX, CScnUUID> ids;
    Inner inner;
    int32_t uiValue = 0;
};

std::string writeSample(Sample& sample)
{
    return ScnTest::writeFieldsText(sample, "Sample");
}

// Reads a document into the sample; answers the failure text, or "" when the read completed.
std::string readSample(const std::string& bytes, Sample& sample, CSCN* scene = nullptr)
{
    return ScnTest::readFieldsText(bytes, sample, scene);
}

TEST(Fields, DefaultsComeFromTheFieldList)
{
    Sample sample;
    EXPECT_EQ(dumpFields(sample),
              "Name=\"unnamed\"\nShape=1\nActive=true\nLocked=false\nColor=0 127 127 127\nPower=3\n"
              "Flags=2\nPosition=200 200 -200\nUUID=00000000000000000000000000000000\nGroups=[]\n"
              "Inner={\n  Count=4\n  Size=0.5\n}\nUI.Value=0\n");
}

TEST(Fields, DefaultVectorsGoThroughTheSceneFixUpWhenAsked)
{
    CScnMgr* manager = CScnMgr::create(nullptr, nullptr);
    auto* scene = static_cast<CSCN*>(manager);
    scene->setLegacyFile(true);
    Sample sample(scene);
    EXPECT_EQ(sample.position.y, -200.0);
    EXPECT_EQ(sample.position.z, 200.0);
    manager->release();
}

TEST(Fields, WritesEachFormExactly)
{
    Sample sample;
    sample.uuid.bytes[15] = 0xAB;
    EXPECT_EQ(writeSample(sample),
              "<Sample\n"
              "\t Shape=\"Square\"\n"
              "\t UUID=\"000000000000000000000000000000AB\">\n"
              "\t<Name en=\"unnamed\"/>\n"
              "\t<Active/>\n"
              "\t<Color\n\t\t R=\"127\"\n\t\t G=\"127\"\n\t\t B=\"127\"/>\n"
              "\t<Power>3.000000</Power>\n"
              "\t<Flags>2</Flags>\n"
              "\t<Position\n\t\t X=\"200.000000\"\n\t\t Y=\"200.000000\"\n\t\t Z=\"-200.000000\"/>\n"
              "\t<Groups/>\n"
              "\t<Inner>\n\t\t<Count>4</Count>\n\t\t<Size>0.500000</Size>\n\t</Inner>\n"
              "\t<UI.Value>0</UI.Value>\n"
              "</Sample>");
}

TEST(Fields, RoundTripKeepsEveryField)
{
    Sample written;
    written.name = "Lamp & <shade>";
    written.shape = 2;
    written.active = false;
    written.locked = true;
    written.color = CScnColor{0, 1, 2, 255};
    written.power = 1234.5;
    written.flags = 0xFFFFFFFFu;
    written.position = CScnVector{-1.25, 1e-3, 1e6};
    written.uuid = newUuid();
    *written.ids.append() = newUuid();
    *written.ids.append() = newUuid();
    written.inner.count = -7;
    written.inner.size = 0.125;
    written.uiValue = 9;

    Sample read;
    EXPECT_EQ(readSample(writeSample(written), read), "");
    EXPECT_EQ(dumpFields(read), dumpFields(written));
}

TEST(Fields, NumbersIgnoreTheProcessLocale)
{
    std::string bytes;
    std::string failure;
    Sample read;
    {
        ScnTest::CommaLocale locale;
        if (!locale.active()) {
            return;
        }
        Sample written;
        written.power = 2.5;
        bytes = writeSample(written);
        failure = readSample(bytes, read);
    }
    EXPECT_NE(bytes.find("<Power>2.500000</Power>"), std::string::npos);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(read.power, 2.5);
}

struct ReadCase {
    const char* document;
    std::string failure;
    const char* dump;  // the fields after the read
};

class FieldReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FieldReading, StopsAtTheFirstMissingRequiredItem)
{
    const ReadCase& c = GetParam();
    Sample sample;
    EXPECT_EQ(readSample(c.document, sample), c.failure);
    EXPECT_EQ(dumpFields(sample), c.dump);
}

const char* const kFull =
    "<S Shape='Star'><Name en='n'/><Locked/><Color R='1' G='2' B='3'/><Power>0.5</Power>"
    "<Flags>5</Flags><Position X='1' Y='2' Z='3'/><Groups/><Inner><Count>1</Count></Inner></S>";

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldReading,
    ::testing::Values(
        // Flags by presence, filter on Power, optional UUID, Size and UI.Value absent: kept.
        ReadCase{kFull, "",
                 "Name=\"n\"\nShape=2\nActive=false\nLocked=true\nColor=0 1 2 3\nPower=1\nFlags=5\n"
                 "Position=1 2 3\nUUID=00000000000000000000000000000000\nGroups=[]\n"
                 "Inner={\n  Count=1\n  Size=0.5\n}\nUI.Value=0\n"},
        // A missing required element ends the read; the fields before it are set.
        ReadCase{"<S Shape='Round'><Name en='n'/><Active/><Power>7</Power></S>",
                 ScnTest::nullPointerText(),
                 "Name=\"n\"\nShape=0\nActive=true\nLocked=false\nColor=0 127 127 127\nPower=3\n"
                 "Flags=2\nPosition=200 200 -200\nUUID=00000000000000000000000000000000\nGroups=[]\n"
                 "Inner={\n  Count=4\n  Size=0.5\n}\nUI.Value=0\n"},
        // A missing required attribute, the same.
        ReadCase{"<S><Name en='n'/></S>", ScnTest::nullPointerText(),
                 "Name=\"n\"\nShape=1\nActive=true\nLocked=false\nColor=0 127 127 127\nPower=3\n"
                 "Flags=2\nPosition=200 200 -200\nUUID=00000000000000000000000000000000\nGroups=[]\n"
                 "Inner={\n  Count=4\n  Size=0.5\n}\nUI.Value=0\n"},
        // A label outside the table.
        ReadCase{"<S Shape='Oval'><Name en='n'/></S>", "Invalid label (Oval) [Round..Circle]",
                 "Name=\"n\"\nShape=1\nActive=true\nLocked=false\nColor=0 127 127 127\nPower=3\n"
                 "Flags=2\nPosition=200 200 -200\nUUID=00000000000000000000000000000000\nGroups=[]\n"
                 "Inner={\n  Count=4\n  Size=0.5\n}\nUI.Value=0\n"},
        // The second label of a value reads as that value; the older colour form.
        ReadCase{"<S Shape='Circle' UUID='000102030405060708090A0B0C0D0E0F'><Name en=''/>"
                 "<Color><Red>10</Red><Green>20</Green><Blue>30</Blue></Color><Power>2</Power>"
                 "<Flags>-1</Flags><Position X='0' Y='0' Z='0'/><Groups/><Inner><Count>0</Count>"
                 "<Size>1</Size></Inner><UI.Value>3</UI.Value></S>",
                 "",
                 "Name=\"\"\nShape=0\nActive=false\nLocked=false\nColor=0 10 20 30\nPower=2\n"
                 "Flags=4294967295\nPosition=0 0 0\nUUID=000102030405060708090A0B0C0D0E0F\n"
                 "Groups=[]\nInner={\n  Count=0\n  Size=1\n}\nUI.Value=3\n"}));

TEST(Fields, ValuesThatDoNotParseEndTheRead)
{
    const char* documents[] = {
        "<S Shape='Star'><Name en='n'/><Color R='1' G='2' B='3'/><Power>abc</Power></S>",
        "<S Shape='Star' UUID='0123'><Name en='n'/><Color R='1' G='2' B='3'/><Power>1</Power>"
        "<Flags>1</Flags><Position X='1' Y='2' Z='3'/></S>",
    };
    for (const char* document : documents) {
        Sample sample;
        EXPECT_EQ(readSample(document, sample), ScnTest::plainFailureText()) << document;
    }
}

TEST(Fields, WritingAValueWithoutLabelFails)
{
    Sample sample;
    sample.shape = 9;
    ScnTest::XmlDocument document("Sample");
    FieldWriter writer(document.top());
    try {
        sample.visitFields(writer);
        FAIL() << "no failure";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "No label for the value (9) [Round..Circle]");
    }
}

TEST(Fields, ReadVectorsGoThroughTheSceneFixUp)
{
    CScnMgr* manager = CScnMgr::create(nullptr, nullptr);
    auto* scene = static_cast<CSCN*>(manager);
    double translation[16] = {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    scene->setMatrix(translation);
    Sample sample;
    EXPECT_EQ(readSample(kFull, sample, scene), "");
    EXPECT_EQ(sample.position.x, 11.0);
    manager->release();
}

TEST(Fields, UuidListsRoundTripInOrder)
{
    Sample written;
    for (int i = 0; i < 3; ++i) {
        CScnUUID* id = written.ids.append();
        *id = kNullUuid;
        id->bytes[0] = static_cast<uint8_t>(i + 1);
    }
    std::string bytes = writeSample(written);
    EXPECT_NE(bytes.find("<Groups>\n\t\t<UUID>01000000000000000000000000000000</UUID>"), std::string::npos);
    Sample read;
    *read.ids.append() = newUuid();
    EXPECT_EQ(readSample(bytes, read), "");
    ASSERT_EQ(read.ids.size(), 3u);
    EXPECT_EQ(read.ids.at(2)->bytes[0], 3);
}

struct Item {
    static constexpr const char* kElementName = "Item";
    explicit Item(CBaseObjectMgr*) {}
    XIXMLElement* putInXML(XIXMLElement* parent)
    {
        XIXMLElement* element = XmlForm::addChild(parent, "Item");
        XmlForm::writeInteger(element, "Value", value);
        return element;
    }
    bool initWithXML(XIXMLElement* element)
    {
        value = XmlForm::readInteger(XmlForm::requireChild(element, "Value"));
        return true;
    }
    int32_t value = 0;
};

TEST(SectionListForm, ReplacesTheListElementAndReadsItemsInOrder)
{
    ScnTest::XmlDocument document;
    XmlForm::addChild(document.top(), "Items");
    XmlForm::addChild(document.top(), "Other");
    TObjectMgr<Item, Item> list(nullptr);
    writeList(document.top(), "Items", list);
    EXPECT_EQ(ScnTest::writeElement(document.top()), "<Scn.File>\n\t<Other/>\n\t<Items/>\n</Scn.File>");
    list.append()->value = 1;
    list.append()->value = 2;
    writeList(document.top(), "Items", list);
    std::string bytes = ScnTest::writeElement(document.top());
    EXPECT_EQ(bytes,
              "<Scn.File>\n\t<Other/>\n\t<Items>\n\t\t<Item>\n\t\t\t<Value>1</Value>\n\t\t</Item>\n"
              "\t\t<Item>\n\t\t\t<Value>2</Value>\n\t\t</Item>\n\t</Items>\n</Scn.File>");

    TObjectMgr<Item, Item> read(nullptr);
    read.append()->value = 9;
    auto tree = ScnTest::parseDocument(bytes);
    readList(ScnTest::documentElement(*tree), "Items", read);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read.at(1)->value, 2);

    // A list element without items leaves the list as it was.
    auto empty = ScnTest::parseDocument("<Scn.File><Items/></Scn.File>");
    readList(ScnTest::documentElement(*empty), "Items", read);
    EXPECT_EQ(read.size(), 2u);
}

}  // namespace
