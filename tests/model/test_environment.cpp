// Ambient light, atmosphere, background, grounds, pictures, textures and filters: their setter
// rules, their XML forms and the reads of older and bad documents.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/Environment.h"
#include "support/Failures.h"
#include "support/ViewSupport.h"

namespace {

using namespace ViewTest;

class EnvironmentScene : public SceneFixture {};

bool sameColor(const CScnColor& a, const CScnColor& b)
{
    return a.zero == b.zero && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST(Ambient, HoldsEachChannelAsTheFileValueMinus128)
{
    Parsed parsed("<Ambient><Used/><Color R=\"10\" G=\"20\" B=\"30\"/></Ambient>");
    CAmbiance ambient(nullptr);
    ASSERT_TRUE(ambient.initWithXML(parsed.element()));
    EXPECT_TRUE(sameColor(*ambient.getColor(), CScnColor{0, 138, 148, 158}));
    EXPECT_FALSE(ambient.isUseDefault());

    ScnTest::XmlDocument document("Scn.File");
    XIXMLElement* written = ambient.putInXML(document.top());
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(ScnTest::writeElement(written),
              "<Ambient>\n\t<Used/>\n\t<Color\n\t\t R=\"10\"\n\t\t G=\"20\"\n\t\t B=\"30\"/>\n</Ambient>");
}

TEST(Ambient, ReadsTheOlderColourFormThroughTheSameRule)
{
    Parsed parsed("<Ambient><Color><Red>200</Red><Green>128</Green><Blue>0</Blue></Color></Ambient>");
    CAmbiance ambient(nullptr);
    ASSERT_TRUE(ambient.initWithXML(parsed.element()));
    EXPECT_TRUE(sameColor(*ambient.getColor(), CScnColor{0, 72, 0, 128}));
    EXPECT_FALSE(ambient.isUsed());
}

struct LinePowerCase {
    bool inScene;
    double given;
    double stored;
    bool reported;
};

class BackgroundTest : public SceneFixture {};

TEST_F(BackgroundTest, LinePowerIsClampedInsideASceneThenSmallValuesBecomeOne)
{
    const LinePowerCase cases[] = {
        {false, 5, 1, false},    {true, 5, 1, false},      {true, 150, 100, true}, {false, 150, 150, false},
        {true, 10, 10, false},   {true, 9.99, 1, false},   {true, -3, 1, true},    {false, -3, 1, false},
        {true, 55.5, 55.5, false},
    };
    for (const LinePowerCase& c : cases) {
        warnings().clear();
        CBackground background(c.inScene ? owner() : nullptr);
        background.setLinePower(c.given);
        EXPECT_EQ(background.getLinePower(), c.stored) << c.given;
        EXPECT_EQ(warnings(), c.reported ? Strings{"Method setLinePower has clipped a value out of range."} : Strings{})
            << c.given;
    }
}

TEST_F(BackgroundTest, WritingReplacesTheCurrentAndTheOlderElement)
{
    ScnTest::XmlDocument document("Scn.File");
    XmlForm::addChild(document.top(), "Backgroung");
    XmlForm::addChild(document.top(), "Lights");
    XmlForm::addChild(document.top(), "Background");
    CBackground background(owner());
    ASSERT_NE(background.putInXML(document.top()), nullptr);
    EXPECT_EQ(ViewTest::childNames(document.top()), (Strings{"Lights", "Background"}));
}

TEST_F(BackgroundTest, NewBackgroundWritesItsItemsInOrder)
{
    CBackground background(owner());
    ScnTest::XmlDocument document("Scn.File");
    XIXMLElement* element = background.putInXML(document.top());
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(ViewTest::childNames(element),
              (Strings{"Color", "Second.Color", "Up.Direction", "Line.Power", "Origin", "Use.Default",
                       "Direction.Angle"}));
    EXPECT_STREQ(XmlForm::findAttribute(element, "Image.Type"), "None");
    EXPECT_STREQ(XmlForm::findAttribute(element, "Color.Type"), "Graduated");
    EXPECT_NE(XmlForm::findAttribute(element, "UUID"), nullptr);
    EXPECT_TRUE(sameColor(*background.getSecondColor(), CScnColor{0, 0, 100, 255}));
    EXPECT_EQ(background.getUpDirection()->x, 1.296153);
}

TEST_F(BackgroundTest, ReadsTheOlderElementAndOrigin)
{
    Parsed parsed("<Backgroung Image.Type=\"Motif\" Color.Type=\"Uniform\" UUID=\"000102030405060708090A0B0C0D0E0F\">"
                  "<Color R=\"1\" G=\"2\" B=\"3\"/><Second.Color R=\"4\" G=\"5\" B=\"6\"/>"
                  "<Up.Direction X=\"0\" Y=\"0\" Z=\"1\"/><Line.Power>20</Line.Power>"
                  "<Origin.Obsolete X=\"7\" Y=\"8\" Z=\"9\"/></Backgroung>");
    CBackground background(owner());
    ASSERT_TRUE(background.initWithXML(parsed.element()));
    EXPECT_EQ(background.getImageType(), 3);
    EXPECT_EQ(background.getColorType(), 1);
    EXPECT_EQ(background.getOrigin()->y, 8.0);
    EXPECT_EQ(background.getLinePower(), 20.0);
    EXPECT_FALSE(background.isUseDefault());
    EXPECT_EQ(background.getUUID()->bytes[15], 0x0F);
    EXPECT_STREQ(background.getImage(), "");
    EXPECT_EQ(warnings(), Strings{});
}

TEST_F(BackgroundTest, KeepsThePictureLocation)
{
    CBackground background(owner());
    background.setImage("file:///C|/Sky/dawn.tif");
    ScnTest::XmlDocument document("Scn.File");
    Parsed parsed(ScnTest::writeElement(background.putInXML(document.top())));
    CBackground read(owner());
    ASSERT_TRUE(read.initWithXML(parsed.element()));
    EXPECT_STREQ(read.getImage(), "file:///C|/Sky/dawn.tif");
}

struct AtmosphereCase {
    const char* what;
    std::function<void(CScnAtmosphere&, double)> set;
    std::function<double(CScnAtmosphere&)> get;
    double given;
    double clamped;
    const char* report;
};

TEST_F(EnvironmentScene, AtmosphereClampsOnlyInsideAScene)
{
    const AtmosphereCase cases[] = {
        {"high", [](CScnAtmosphere& a, double v) { a.setHighDensity(v); },
         [](CScnAtmosphere& a) { return a.getHighDensity(); }, 1.5, 1,
         "Method setHighDensity has clipped a value out of range."},
        {"medium", [](CScnAtmosphere& a, double v) { a.setMediumDensity(v); },
         [](CScnAtmosphere& a) { return a.getMediumDensity(); }, -0.5, 0,
         "Method setMediumDensity has clipped a value out of range."},
        {"low", [](CScnAtmosphere& a, double v) { a.setLowDensity(v); },
         [](CScnAtmosphere& a) { return a.getLowDensity(); }, 2, 1,
         "Method setLowDensity has clipped a value out of range."},
        {"scale", [](CScnAtmosphere& a, double v) { a.setScale(v); }, [](CScnAtmosphere& a) { return a.getScale(); },
         -1, 0, "Method setScale has clipped a value out of range."},
        {"noise", [](CScnAtmosphere& a, double v) { a.setNoise(v); }, [](CScnAtmosphere& a) { return a.getNoise(); },
         -0.1, 0, "Method setNoise has clipped a value out of range."},
        {"in range", [](CScnAtmosphere& a, double v) { a.setLowDensity(v); },
         [](CScnAtmosphere& a) { return a.getLowDensity(); }, 0.25, 0.25, nullptr},
    };
    for (const AtmosphereCase& c : cases) {
        forFreeAndOwned<CAtmosphere>([&](CAtmosphere& atmosphere, bool inScene) {
            c.set(atmosphere, c.given);
            EXPECT_EQ(c.get(atmosphere), inScene ? c.clamped : c.given) << c.what;
            EXPECT_EQ(warnings(), expectedReports(inScene, c.report)) << c.what;
        });
    }
}

TEST_F(EnvironmentScene, AtmosphereReplacesTheExistingElement)
{
    ScnTest::XmlDocument document("Scn.File");
    XmlForm::addChild(document.top(), "Atmosphere");
    XmlForm::addChild(document.top(), "Ambient");
    scene().getAtmosphere()->setUsed(true);
    ASSERT_NE(scene().getAtmosphere()->putInXML(document.top()), nullptr);
    EXPECT_EQ(ViewTest::childNames(document.top()), (Strings{"Ambient", "Atmosphere"}));
    EXPECT_NE(XmlForm::findChild(XmlForm::findChild(document.top(), "Atmosphere"), "Used"), nullptr);
}

TEST_F(EnvironmentScene, AGroundWithoutPropertyFailsAfterReadingItsFields)
{
    Parsed parsed("<Ground><Height>12.5</Height></Ground>");
    CScnGround ground(owner());
    EXPECT_FALSE(ground.initWithXML(parsed.element()));
    EXPECT_EQ(ground.getHeight(), 12.5);
    EXPECT_FALSE(ground.isActive());
    EXPECT_EQ(warnings(), Strings{"Exception in CScnGround::initWithXML : CScnXMLIO::GetGround : no property!"});

    ScnTest::XmlDocument document("Grounds");
    Parsed written(ScnTest::writeElement(ground.putInXML(document.top())));
    EXPECT_EQ(ViewTest::childNames(written.element()), (Strings{"Height", "Property"}));
    CScnGround read(owner());
    EXPECT_TRUE(read.initWithXML(written.element()));
    EXPECT_EQ(read.getHeight(), 12.5);
}

TEST(Texture, CutOutsAreWrittenOnlyWhenSet)
{
    CScnTexture texture(nullptr);
    EXPECT_EQ(texture.getCutOut1(), nullptr);
    CScnColor magenta{0, 255, 0, 255};
    texture.setCutOut2(&magenta);
    ScnTest::XmlDocument document("Mapping");
    Parsed parsed(ScnTest::writeElement(texture.putInXML(document.top())));
    EXPECT_EQ(ViewTest::childNames(parsed.element()),
              (Strings{"Origin", "X.Axis", "Y.Axis", "Width", "Height", "CutOut2"}));

    CScnTexture read(nullptr);
    CScnColor black{};
    read.setCutOut1(&black);
    ASSERT_TRUE(read.initWithXML(parsed.element()));
    EXPECT_EQ(read.getCutOut1(), nullptr);
    ASSERT_NE(read.getCutOut2(), nullptr);
    EXPECT_TRUE(sameColor(*read.getCutOut2(), magenta));
    read.setCutOut2(nullptr);
    EXPECT_EQ(read.getCutOut2(), nullptr);
}

TEST_F(EnvironmentScene, FiltersAndPicturesReportUnderTheirOwnNames)
{
    const std::pair<std::function<bool(XIXMLElement*)>, const char*> cases[] = {
        {[this](XIXMLElement* e) { return CScnFilters(owner()).initWithXML(e); }, "CScnFilters"},
        {[this](XIXMLElement* e) { return CScnImageSettingsFilter(owner()).initWithXML(e); },
         "CScnImageSettingsFilter"},
        {[this](XIXMLElement* e) { return CScnGrainFilter(owner()).initWithXML(e); }, "CScnGrainFilter"},
        {[this](XIXMLElement* e) { return CScnExposureFilter(owner()).initWithXML(e); }, "CScnExposureFilter"},
        {[this](XIXMLElement* e) { return CScnHatchingFilter(owner()).initWithXML(e); }, "CScnHatchingFilter"},
        {[this](XIXMLElement* e) { return CScnBackgroundPicture(owner()).initWithXML(e); },
         "CScnBackgroundPicture"},
        {[this](XIXMLElement* e) { return CScnForeground(owner()).initWithXML(e); }, "IScnForeground"},
        {[this](XIXMLElement* e) { return CScnEnvironment(owner()).initWithXML(e); }, "CScnEnvironment"},
        {[this](XIXMLElement* e) { return CAtmosphere(owner()).initWithXML(e); }, "CScnAtmosphere"},
        {[this](XIXMLElement* e) { return CAmbiance(owner()).initWithXML(e); }, "CScnAmbient"},
        {[this](XIXMLElement* e) { return CBackground(owner()).initWithXML(e); }, "CScnBackground"},
    };
    Parsed empty("<Empty/>");
    for (const auto& c : cases) {
        warnings().clear();
        EXPECT_FALSE(c.first(empty.element())) << c.second;
        EXPECT_EQ(warnings(), Strings{std::string("Exception in ") + c.second +
                                      ScnTest::nullPointerText("::initWithXML : exception")});
    }
}

TEST_F(EnvironmentScene, APictureTypeOutsideItsTableFailsTheWrite)
{
    CScnBackgroundPicture picture(owner());
    picture.setType(4);
    ScnTest::XmlDocument document("View.Info");
    EXPECT_EQ(picture.putInXML(document.top()), nullptr);
    EXPECT_EQ(warnings(), Strings{"Exception in CScnBackgroundPicture::putInXML : No label for the value (4) "
                                  "[None..Movie.3D]"});
}

}  // namespace
