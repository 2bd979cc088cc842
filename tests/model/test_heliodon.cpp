// Heliodons with their time, place, sky light, clouds and fog: defaults, setter rules, XML forms.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "model/Heliodon.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/Locale.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

const std::string kReadFailure = "Exception in CScnHeliodon::initWithXML : ";
const char* const kBlurReport = "CScnHeliodon::setShadowBlur: invalid blur level";

class HeliodonTest : public ScnTest::SceneFixture {
protected:
    CHeliodon* newHeliodon() { return mScene->heliodons().append(); }
};

bool sameColor(const CScnColor& a, const CScnColor& b)
{
    return a.zero == b.zero && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST(Heliodon, NewHeliodonHoldsItsDefaultsAndToday)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CHeliodon heliodon(nullptr);
    EXPECT_EQ(heliodon.getPlacementKind(), kScnSunDateAndPlace);
    EXPECT_EQ(heliodon.getColorType(), kScnColorAutomatic);
    EXPECT_EQ(heliodon.getPhi(), 0.785398);
    EXPECT_TRUE(heliodon.isActive());
    EXPECT_TRUE(heliodon.isRadiosity());
    EXPECT_EQ(heliodon.getTime()->getYear(), local.tm_year + 1900);
    EXPECT_EQ(heliodon.getTime()->getMonth(), local.tm_mon + 1);
    EXPECT_EQ(heliodon.getTime()->getDay(), local.tm_mday);
    for (int i = 0; i < kScnSunColorCount; ++i) {
        EXPECT_TRUE(sameColor(heliodon.getColor(i), kDefaultSunColors[i])) << i;
    }
    EXPECT_TRUE(sameColor(heliodon.getSunColor(), CScnColor{0, 255, 255, 190}));
    EXPECT_EQ(heliodon.getClouds()->getWindDirection(), 0.0);
    EXPECT_EQ(heliodon.getPlace()->getLongitude(), 0);
    EXPECT_FALSE(heliodon.getPlace()->isDaylight());
}

TEST(Heliodon, IsWrittenInDocumentOrder)
{
    CHeliodon heliodon(nullptr);
    heliodon.setShadow(true);
    heliodon.getPlace()->setDaylight(true);
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = heliodon.putInXML(scratch.parent());
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(ScnTest::childNames(element),
              (std::vector<std::string>{"Active", "Time", "Place", "Sunshine", "North.Angle", "Theta", "Phi",
                                        "Shadow", "Shadow.Power", "Sun.Blur", "Global.Illumination.Power",
                                        "Global.Illumination.Quality", "Name", "Lens.Flare", "Colors",
                                        "Radiosity", "Cloud.Coverage", "Sky.Light", "Clouds", "Fog"}));
    EXPECT_EQ(ScnTest::attributeNames(element),
              (std::vector<std::string>{"UUID", "Placement.Kind", "Color.Type"}));
    EXPECT_EQ(ScnTest::childNames(XmlForm::findChild(element, "Time")),
              (std::vector<std::string>{"Month", "Day", "Hour", "Minute", "Year"}));
    EXPECT_EQ(ScnTest::childNames(XmlForm::findChild(element, "Place")),
              (std::vector<std::string>{"Longitude", "Latitude", "TimeZone", "Daylight"}));
    EXPECT_EQ(ScnTest::childNames(XmlForm::findChild(element, "Colors")),
              std::vector<std::string>(5, "Sun.Color"));
    std::string text = ScnTest::writeElement(element);
    for (const char* expected :
         {"Placement.Kind=\"Date.And.Place\"", "Color.Type=\"Automatic\"", "<Phi>0.785398</Phi>",
          "<Sky.Light Sky.Type=\"Automatic\">", "<Wind.Speed>20.000000</Wind.Speed>",
          "<End.Distance>2500.000000</End.Distance>", "<Cumulus.Seed>0</Cumulus.Seed>"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected;
    }
}

TEST(Time, SettersKeepTheLowerBoundsOnly)
{
    const ScnTest::SetterCase<CTime, int32_t> cases[] = {
        {"day 0", &CTime::setDay, &CTime::getDay, 0, 1},
        {"day 40", &CTime::setDay, &CTime::getDay, 40, 40},
        {"month 13", &CTime::setMonth, &CTime::getMonth, 13, 13},
        {"month -2", &CTime::setMonth, &CTime::getMonth, -2, 1},
        {"hour -3", &CTime::setHour, &CTime::getHour, -3, 0},
        {"hour 30", &CTime::setHour, &CTime::getHour, 30, 30},
        {"minute -1", &CTime::setMinute, &CTime::getMinute, -1, 0},
        {"minute 0", &CTime::setMinute, &CTime::getMinute, 0, 0},
        {"year -44", &CTime::setYear, &CTime::getYear, -44, -44},
    };
    ScnTest::expectSetterCases(
        cases, [] { return new CTime(); }, [](CTime* time) { delete time; }, "time");
}

TEST(Heliodon, PhiStaysAwayFromZero)
{
    const double cases[][2] = {{0, 0.001},      {-0.0005, -0.001}, {0.0005, 0.001}, {-0.0, 0.001},
                               {0.001, 0.001},  {-0.001, -0.001},  {-0.002, -0.002}, {1.5, 1.5}};
    for (const auto& c : cases) {
        CHeliodon heliodon(nullptr);
        heliodon.setPhi(c[0]);
        EXPECT_EQ(heliodon.getPhi(), c[1]) << c[0];
    }
}

TEST_F(HeliodonTest, ShadowBlurIsClampedAndReportedInsideAScene)
{
    struct Case {
        int32_t in;
        int32_t out;
        bool reported;
    };
    const Case cases[] = {{150, 100, true}, {-1, 0, true}, {100, 100, false}, {0, 0, false}, {37, 37, false}};
    for (const Case& c : cases) {
        CHeliodon free(nullptr);
        EXPECT_EQ(free.setShadowBlur(c.in), c.out) << c.in;
        EXPECT_EQ(free.getShadowBlur(), c.out) << c.in;
        mFeedback.warnings.clear();
        CHeliodon* owned = newHeliodon();
        EXPECT_EQ(owned->setShadowBlur(c.in), c.out) << c.in;
        EXPECT_EQ(owned->getShadowBlur(), c.out) << c.in;
        EXPECT_EQ(mFeedback.warnings, c.reported ? std::vector<std::string>{kBlurReport} : std::vector<std::string>{})
            << c.in;
    }
}

TEST_F(HeliodonTest, BadColourIndicesAreReportedAndChangeNothing)
{
    CHeliodon* heliodon = newHeliodon();
    ScnTest::varyFields(*heliodon);
    std::string before = dumpFields(*heliodon);
    for (int32_t index : {5, -1, 1000}) {
        mFeedback.warnings.clear();
        heliodon->setColor(index, CScnColor{0, 1, 2, 3});
        CScnColor read = heliodon->getColor(index);
        EXPECT_TRUE(sameColor(read, CScnColor{}));
        EXPECT_EQ(mFeedback.warnings, (std::vector<std::string>{"CScnHeliodon::setColor: bad index",
                                                                "CScnHeliodon::getColor: bad index"}));
    }
    EXPECT_EQ(dumpFields(*heliodon), before);
    heliodon->setColor(4, CScnColor{0, 1, 2, 3});
    EXPECT_TRUE(sameColor(heliodon->getColor(4), CScnColor{0, 1, 2, 3}));
    heliodon->setSunColor(CScnColor{0, 9, 8, 7});
    EXPECT_TRUE(sameColor(heliodon->getColor(2), CScnColor{0, 9, 8, 7}));
}


TEST_F(HeliodonTest, EveryKindSurvivesTheXmlRoundTrip)
{
    ScnTest::inPlainAndCommaLocales([&](bool) {
        ScnTest::expectRoundTrip(*newHeliodon(), *newHeliodon(), "heliodon");
        CHeliodon freeSource(nullptr);
        CHeliodon freeTarget(nullptr);
        ScnTest::expectRoundTrip(freeSource, freeTarget, "free heliodon");
        CScnClouds clouds(&mScene->heliodons());
        CScnClouds cloudsRead(&mScene->heliodons());
        ScnTest::expectRoundTrip(clouds, cloudsRead, "clouds");
        CScnFog fog(&mScene->heliodons());
        CScnFog fogRead(&mScene->heliodons());
        ScnTest::expectRoundTrip(fog, fogRead, "fog");
    });
    EXPECT_TRUE(mFeedback.warnings.empty());
}

// A varied heliodon written to XML and parsed, for tests that cut the element before reading it.
class HeliodonInputTest : public HeliodonTest {
protected:
    void SetUp() override
    {
        HeliodonTest::SetUp();
        CHeliodon* source = newHeliodon();
        ScnTest::varyFields(*source);
        mWritten = dumpFields(*source);
        ScnTest::XmlScratch scratch;
        mTree = ScnTest::parseDocument(ScnTest::writeElement(source->putInXML(scratch.parent())));
        ASSERT_NE(mTree, nullptr);
        mElement = ScnTest::firstElement(*mTree);
    }

    // Reads a copy of the element cut by cut into a new heliodon of the scene, prepared by prepare.
    CHeliodon* readCut(const ScnTest::Cut& cut,
                       const std::function<void(CHeliodon&)>& prepare = nullptr, bool* ok = nullptr)
    {
        mCopy.reset(new NuvoraXML::XCXMLTree());
        mElement->AsNode()->CopyTo(mCopy->GetRoot());
        XIXMLElement* element = ScnTest::firstElement(*mCopy);
        cut(element);
        CHeliodon* heliodon = newHeliodon();
        if (prepare) {
            prepare(*heliodon);
        }
        mKept = dumpFields(*heliodon);
        mFeedback.warnings.clear();
        bool read = heliodon->initWithXML(element);
        if (ok != nullptr) {
            *ok = read;
        }
        return heliodon;
    }

    std::string mWritten;
    std::string mKept;
    std::unique_ptr<NuvoraXML::XCXMLTree> mTree;
    std::unique_ptr<NuvoraXML::XCXMLTree> mCopy;
    XIXMLElement* mElement = nullptr;
};

TEST_F(HeliodonInputTest, AMissingRequiredItemStopsTheReadThere)
{
    struct Case {
        const char* field;
        ScnTest::Cut cut;
    };
    std::vector<Case> cases;
    for (const char* name : {"Time", "Place", "Sunshine", "North.Angle", "Shadow.Power", "Sun.Blur",
                             "Global.Illumination.Power", "Global.Illumination.Quality", "Lens.Flare", "Colors"}) {
        cases.push_back({name, ScnTest::removeChildCut("", name)});
    }
    for (const char* name : {"UUID", "Placement.Kind", "Color.Type"}) {
        cases.push_back({name, ScnTest::removeAttributeCut("", name)});
    }
    for (const Case& c : cases) {
        bool ok = true;
        CHeliodon* heliodon = readCut(c.cut, nullptr, &ok);
        EXPECT_FALSE(ok) << c.field;
        EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{kReadFailure + ScnTest::nullPointerText()})
            << c.field;
        EXPECT_EQ(dumpFields(*heliodon), ScnTest::expectedStoppedDump(mWritten, mKept, c.field)) << c.field;
    }
}

TEST_F(HeliodonInputTest, InnerElementsStopAtTheirFirstMissingItem)
{
    CHeliodon* source = mScene->heliodons().at(1);
    bool ok = true;

    CHeliodon* read = readCut(ScnTest::removeChildCut("Time", "Hour"), [](CHeliodon& h) { h.getTime()->setHour(3); }, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(read->getTime()->getMonth(), source->getTime()->getMonth());
    EXPECT_EQ(read->getTime()->getDay(), source->getTime()->getDay());
    EXPECT_EQ(read->getTime()->getHour(), 3);
    EXPECT_NE(read->getPlace()->getLatitude(), source->getPlace()->getLatitude());

    read = readCut(ScnTest::removeChildCut("Place", "TimeZone"), [](CHeliodon& h) { h.getPlace()->setTimeZone(-5); }, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(read->getPlace()->getLatitude(), source->getPlace()->getLatitude());
    EXPECT_EQ(read->getPlace()->getTimeZone(), -5);

    read = readCut(ScnTest::removeChildCut("Lens.Flare", "Size"), nullptr, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(read->getLensFlare()->getType(), source->getLensFlare()->getType());
    EXPECT_EQ(read->getLensFlare()->getSize(), 1.0);
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{kReadFailure + ScnTest::nullPointerText()});
}

TEST_F(HeliodonInputTest, ColorsNeedExactlyFiveSunColours)
{
    struct Case {
        int count;
        std::string report;
    };
    const Case cases[] = {{4, ScnTest::nullPointerText()},
                          {0, ScnTest::nullPointerText()},
                          {6, ScnTest::assertionText()}};
    for (const Case& c : cases) {
        auto cut = [&](XIXMLElement* element) {
            XIXMLElement* colors = XmlForm::findChild(element, "Colors");
            while (colors->CountElements() > c.count) {
                colors->GetElementAt(0)->AsNode()->Delete();
            }
            while (colors->CountElements() < c.count) {
                colors->GetFirstElement()->AsNode()->CopyTo(colors);
            }
        };
        bool ok = true;
        CHeliodon* read = readCut(cut, nullptr, &ok);
        EXPECT_FALSE(ok) << c.count;
        EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{kReadFailure + c.report}) << c.count;
        EXPECT_EQ(dumpFields(*read), ScnTest::expectedStoppedDump(mWritten, mKept, "Colors")) << c.count;
    }
}

TEST_F(HeliodonInputTest, AbsentOptionalItemsKeepTheCurrentValues)
{
    const char* const optional[] = {"Theta", "Phi", "Name", "Cloud.Coverage", "Sky.Light", "Clouds", "Fog"};
    auto cut = [&](XIXMLElement* element) {
        for (const char* name : optional) {
            XmlForm::removeChildren(element, name);
        }
        XmlForm::removeChildren(XmlForm::findChild(element, "Time"), "Year");
    };
    CHeliodon* read = readCut(cut, [](CHeliodon& h) { h.getTime()->setYear(1871); });
    EXPECT_TRUE(mFeedback.warnings.empty());
    EXPECT_EQ(read->getTime()->getYear(), 1871);
    read->getTime()->setYear(mScene->heliodons().at(1)->getTime()->getYear());
    EXPECT_EQ(dumpFields(*read),
              ScnTest::mergedDump(mWritten, mKept, std::vector<std::string>(std::begin(optional), std::end(optional))));
}

TEST_F(HeliodonInputTest, SunPowerFlagIsOnlySetByItsPresence)
{
    // The varied heliodon has the flag set; its absence leaves the reader's own flag.
    for (bool own : {false, true}) {
        CHeliodon* read = readCut(ScnTest::removeChildCut("", "Sun.PowerFlag"), [own](CHeliodon& h) { h.setSunPowerFlag(own); });
        EXPECT_EQ(read->isSunPowerFlag(), own);
        EXPECT_TRUE(read->isColored());
    }
    CHeliodon* read = readCut([](XIXMLElement*) {}, [](CHeliodon& h) { h.setSunPowerFlag(false); });
    EXPECT_TRUE(read->isSunPowerFlag());
}

TEST_F(HeliodonInputTest, BadValuesEndTheReadWithTheWrappedReport)
{
    struct Case {
        const char* what;
        ScnTest::Cut cut;
        std::string report;
    };
    using ScnTest::setAttributeCut;
    using ScnTest::setTextCut;
    const Case cases[] = {
        {"placement label", setAttributeCut("", "Placement.Kind", "Auto"),
         "Invalid label (Auto) [Manual..Date.And.Place]"},
        {"colour type label", setAttributeCut("", "Color.Type", "user"), "Invalid label (user) [Automatic..User]"},
        {"sky type label", setAttributeCut("Sky.Light", "Sky.Type", "Cloudy"), "Invalid label (Cloudy) [Automatic..User]"},
        {"month text", setTextCut("Time/Month", "May"), ScnTest::plainFailureText()},
        {"sunshine text", setTextCut("Sunshine", ""), ScnTest::plainFailureText()},
        {"cloud seed text", setTextCut("Clouds/Cumulus.Seed", "seed"), ScnTest::plainFailureText()},
        {"identifier", setAttributeCut("", "UUID", "not an identifier"), ScnTest::plainFailureText()},
    };
    for (const Case& c : cases) {
        bool ok = true;
        readCut(c.cut, nullptr, &ok);
        EXPECT_FALSE(ok) << c.what;
        EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{kReadFailure + c.report}) << c.what;
    }
}

TEST_F(HeliodonInputTest, ReadBlurPassesThroughTheSetterRule)
{
    bool ok = false;
    CHeliodon* read = readCut(ScnTest::setTextCut("Sun.Blur", "150"), nullptr, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(read->getShadowBlur(), 100);
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{kBlurReport});
    read = readCut(ScnTest::setTextCut("Phi", "0.000000"));
    EXPECT_EQ(read->getPhi(), 0.001);
}

TEST_F(HeliodonTest, WrappersReportWithTheirOwnNames)
{
    CHeliodon* heliodon = newHeliodon();
    heliodon->setPlacementKind(3);
    ScnTest::XmlScratch scratch;
    EXPECT_EQ(heliodon->putInXML(scratch.parent()), nullptr);
    CScnClouds clouds(&mScene->heliodons());
    CScnFog fog(&mScene->heliodons());
    EXPECT_EQ(clouds.putInXML(nullptr), nullptr);
    EXPECT_FALSE(clouds.initWithXML(scratch.parent()));
    EXPECT_FALSE(fog.initWithXML(nullptr));
    EXPECT_NE(fog.putInXML(scratch.parent()), nullptr);
    EXPECT_TRUE(fog.initWithXML(scratch.parent()));
    EXPECT_EQ(mFeedback.warnings,
              (std::vector<std::string>{
                  "Exception in CScnHeliodon::putInXML : No label for the value (3) [Manual..Date.And.Place]",
                  ScnTest::nullPointerText("Exception in CScnClouds::putInXML : exception"),
                  ScnTest::nullPointerText("Exception in CScnClouds::initWithXML : exception"),
                  ScnTest::nullPointerText("Exception in CScnFog::initWithXML : exception")}));
}

}  // namespace
