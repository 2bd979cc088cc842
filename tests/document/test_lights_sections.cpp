// The document sections of lights, light groups and heliodons, and the sun rule of old documents.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/Sections.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using ScnTest::RecordingFeedback;

class SectionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (CScnMgr*& manager : mManagers) {
            manager = CScnMgr::create(&mFeedback, nullptr);
            ASSERT_NE(manager, nullptr);
        }
    }
    void TearDown() override
    {
        for (CScnMgr* manager : mManagers) {
            manager->release();
        }
    }
    CSCN& scene(int index) { return *static_cast<CSCN*>(mManagers[index]); }

    // Writes scene 0's sections into a file element, serialises and parses it, and reads it into
    // scene 1; answers the parsed tree.
    std::unique_ptr<NuvoraXML::XCXMLTree> transfer()
    {
        ScnTest::XmlScratch file("Scn.File");
        Sections::writeHeliodons(scene(0), file.parent());
        Sections::writeLights(scene(0), file.parent());
        Sections::writeLightsGroups(scene(0), file.parent());
        std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(ScnTest::writeElement(file.parent()));
        XIXMLElement* read = ScnTest::firstElement(*tree);
        Sections::readHeliodons(scene(1), read);
        Sections::readLights(scene(1), read);
        Sections::readLightsGroups(scene(1), read);
        return tree;
    }

    RecordingFeedback mFeedback;
    CScnMgr* mManagers[2] = {};
};

template <class Impl, class Iface>
std::vector<std::string> dumps(TObjectMgr<Impl, Iface>& list)
{
    std::vector<std::string> all;
    for (size_t i = 0; i < list.size(); ++i) {
        all.push_back(dumpFields(*list.at(i)));
    }
    return all;
}

template <class Impl, class Iface>
void appendVaried(TObjectMgr<Impl, Iface>& list, int count)
{
    for (int i = 0; i < count; ++i) {
        ScnTest::varyFields(*list.append());
    }
}

TEST_F(SectionsTest, ListsTravelThroughTheDocumentInOrder)
{
    appendVaried(scene(0).lights(), 3);
    appendVaried(scene(0).lightsGroups(), 2);
    appendVaried(scene(0).heliodons(), 2);
    scene(0).lights().at(1)->getLightsGroups()->newScnObject(kScnLastIndex);
    scene(1).lights().append();
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = transfer();
    EXPECT_EQ(ScnTest::childNames(ScnTest::firstElement(*tree)),
              (std::vector<std::string>{"Heliodons", "Lights", "Lights.Groups"}));
    EXPECT_EQ(dumps(scene(1).lights()), dumps(scene(0).lights()));
    EXPECT_EQ(dumps(scene(1).lightsGroups()), dumps(scene(0).lightsGroups()));
    EXPECT_EQ(dumps(scene(1).heliodons()), dumps(scene(0).heliodons()));
    EXPECT_EQ(scene(1).lightsGroups().size(), 3u);
    EXPECT_EQ(scene(1).heliodons().size(), 3u);
    EXPECT_TRUE(mFeedback.warnings.empty());
}

TEST_F(SectionsTest, WritingReplacesTheOldListsAtTheEnd)
{
    ScnTest::XmlScratch file("Scn.File");
    for (const char* name : {"Lights", "Heliodons", "Save.Url", "Lights", "Lights.Groups"}) {
        XmlForm::addChild(file.parent(), name);
    }
    appendVaried(scene(0).lights(), 2);
    Sections::writeLights(scene(0), file.parent());
    Sections::writeLightsGroups(scene(0), file.parent());
    EXPECT_EQ(ScnTest::childNames(file.parent()),
              (std::vector<std::string>{"Heliodons", "Save.Url", "Lights", "Lights.Groups"}));
    EXPECT_EQ(ScnTest::childNames(XmlForm::findChild(file.parent(), "Lights")),
              (std::vector<std::string>{"Light", "Light"}));
}

TEST_F(SectionsTest, ListsWithoutItemsLeaveTheSceneAsItWas)
{
    appendVaried(scene(1).lights(), 2);
    appendVaried(scene(1).heliodons(), 1);
    std::vector<std::string> lights = dumps(scene(1).lights());
    std::vector<std::string> groups = dumps(scene(1).lightsGroups());
    std::vector<std::string> heliodons = dumps(scene(1).heliodons());
    for (const char* text : {"<Scn.File/>", "<Scn.File><Lights/><Lights.Groups/><Heliodons><Options/></Heliodons></Scn.File>",
                             "<Scn.File><Lights><Lamp/></Lights></Scn.File>"}) {
        std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(text);
        XIXMLElement* file = ScnTest::firstElement(*tree);
        Sections::readLights(scene(1), file);
        Sections::readLightsGroups(scene(1), file);
        Sections::readHeliodons(scene(1), file);
        Sections::readOldHeliodon(scene(1), file);
        EXPECT_EQ(dumps(scene(1).lights()), lights) << text;
        EXPECT_EQ(dumps(scene(1).lightsGroups()), groups) << text;
        EXPECT_EQ(dumps(scene(1).heliodons()), heliodons) << text;
    }
}

TEST_F(SectionsTest, ABadItemIsReportedAndTheOthersAreRead)
{
    appendVaried(scene(0).lights(), 3);
    ScnTest::XmlScratch file("Scn.File");
    Sections::writeLights(scene(0), file.parent());
    XIXMLElement* second = XmlForm::findChild(file.parent(), "Lights")->GetElementAt(1);
    XmlForm::removeChildren(second, "Power");
    Sections::readLights(scene(1), file.parent());
    ASSERT_EQ(scene(1).lights().size(), 3u);
    EXPECT_EQ(dumpFields(*scene(1).lights().at(2)), dumpFields(*scene(0).lights().at(2)));
    EXPECT_EQ(scene(1).lights().at(1)->getPower(), 3.0);
    EXPECT_EQ(mFeedback.warnings,
              std::vector<std::string>{ScnTest::nullPointerText("Exception in CScnLight::initWithXML : exception")});
}

TEST_F(SectionsTest, TheOldHeliodonElementIsReadIntoHeliodonZero)
{
    CHeliodon source(nullptr);
    ScnTest::varyFields(source);
    ScnTest::XmlScratch file("Scn.File");
    source.putInXML(file.parent());
    appendVaried(scene(1).heliodons(), 1);
    std::string second = dumpFields(*scene(1).heliodons().at(1));
    Sections::readOldHeliodon(scene(1), file.parent());
    ASSERT_EQ(scene(1).heliodons().size(), 2u);
    EXPECT_EQ(dumpFields(*scene(1).heliodons().at(0)), dumpFields(source));
    EXPECT_EQ(dumpFields(*scene(1).heliodons().at(1)), second);

    scene(1).heliodons().clear();
    Sections::readOldHeliodon(scene(1), file.parent());
    ASSERT_EQ(scene(1).heliodons().size(), 1u);
    EXPECT_EQ(dumpFields(*scene(1).heliodons().at(0)), dumpFields(source));
}

TEST_F(SectionsTest, TheOldSunLightGivesWayToTheHeliodon)
{
    struct Case {
        const char* heliodonName;
        bool heliodonActive;
        std::vector<const char*> lights;
        bool converted;
        int sunIndex;
    };
    const Case cases[] = {
        {"Heliodon", false, {"Lamp", "Sun", "Sun"}, true, 1},
        {"Heliodon", false, {"Sun"}, true, 0},
        {"Heliodon", true, {"Sun"}, false, 0},
        {"Heliodon", false, {"sun", "Sun "}, false, -1},
        {"ArchiCAD Heliodon", false, {"Sun"}, false, 0},
        {"Heliodon", false, {}, false, -1},
    };
    for (const Case& c : cases) {
        CSCN& old = scene(0);
        old.lights().clear();
        CHeliodon* heliodon = old.heliodons().at(0);
        heliodon->setName(c.heliodonName);
        heliodon->setActive(c.heliodonActive);
        heliodon->setSunshine(0.5);
        for (const char* name : c.lights) {
            old.lights().append()->setName(name);
        }
        Sections::convertOldSun(old);
        EXPECT_EQ(heliodon->isActive(), c.converted || c.heliodonActive) << c.heliodonName;
        EXPECT_EQ(heliodon->getSunshine(), c.converted ? 0.6 : 0.5) << c.heliodonName;
        for (size_t i = 0; i < old.lights().size(); ++i) {
            bool switchedOff = c.converted && static_cast<int>(i) == c.sunIndex;
            EXPECT_EQ(old.lights().at(i)->isActive(), !switchedOff) << c.heliodonName << " light " << i;
        }
    }
    scene(1).heliodons().clear();
    scene(1).lights().append()->setName("Sun");
    Sections::convertOldSun(scene(1));
    EXPECT_TRUE(scene(1).lights().at(0)->isActive());
}

}  // namespace
