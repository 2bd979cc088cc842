// Lights, lens flares, light groups and camera lights: setter rules, XML forms, bad input.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/Lights.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/Locale.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using ScnTest::RecordingFeedback;

const std::string kMissing = ScnTest::nullPointerText();

class SceneTest : public ScnTest::SceneFixture {
protected:
    CLight* newLight() { return mScene->lights().append(); }
};

CScnUUID countingUuid()
{
    CScnUUID uuid{};
    for (int i = 0; i < 16; ++i) {
        uuid.bytes[i] = static_cast<uint8_t>(i);
    }
    return uuid;
}

TEST(Light, NewLightIsWrittenInDocumentOrder)
{
    CLight light(nullptr);
    CScnUUID uuid = countingUuid();
    light.setUUID(&uuid);
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = light.putInXML(scratch.parent());
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(ScnTest::writeElement(element),
              "<Light\n"
              "\t Type=\"Point\"\n"
              "\t Shadow.Type=\"None\"\n"
              "\t UUID=\"000102030405060708090A0B0C0D0E0F\"\n"
              "\t Object.Id=\"00000000000000000000000000000000\"\n"
              "\t Target.type=\"Fixed.Vertex\"\n"
              "\t IES=\"D174E7C83EF6C841BB95ACAE11258616\">\n"
              "\t<Name en=\"\"/>\n"
              "\t<Active/>\n"
              "\t<Color\n\t\t R=\"127\"\n\t\t G=\"127\"\n\t\t B=\"127\"/>\n"
              "\t<Power>3.000000</Power>\n"
              "\t<Distance.Near>0.000000</Distance.Near>\n"
              "\t<Distance.Far>0.000000</Distance.Far>\n"
              "\t<Position\n\t\t X=\"200.000000\"\n\t\t Y=\"200.000000\"\n\t\t Z=\"-200.000000\"/>\n"
              "\t<Target\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Cone.Angle>20.000000</Cone.Angle>\n"
              "\t<Sharpness>0.500000</Sharpness>\n"
              "\t<Shadow.Power>0.100000</Shadow.Power>\n"
              "\t<Map.Size>0</Map.Size>\n"
              "\t<Bias>0.300000</Bias>\n"
              "\t<Global.Illumination.Power>0.500000</Global.Illumination.Power>\n"
              "\t<Global.Illumination.Quality>0</Global.Illumination.Quality>\n"
              "\t<UI.Value>0</UI.Value>\n"
              "\t<Lights.Groups/>\n"
              "\t<Lens.Flare Type=\"LensFlare1\">\n"
              "\t\t<Size>1.000000</Size>\n"
              "\t\t<Intensity>1.000000</Intensity>\n"
              "\t</Lens.Flare>\n"
              "\t<Radiosity/>\n"
              "</Light>");
}

TEST(Light, SettersKeepTheirRangesSilently)
{
    using Real = ScnTest::SetterCase<CLight, double>;
    using Whole = ScnTest::SetterCase<CLight, int32_t>;
    const Real reals[] = {
        {"power low", &CLight::setPower, &CLight::getPower, 0.5, 1},
        {"power high", &CLight::setPower, &CLight::getPower, 2e6, 1000000},
        {"power inside", &CLight::setPower, &CLight::getPower, 250, 250},
        {"cone high", &CLight::setConeAngle, &CLight::getConeAngle, 400, 360},
        {"cone low", &CLight::setConeAngle, &CLight::getConeAngle, -1, 0},
        {"sharpness high", &CLight::setSharpness, &CLight::getSharpness, 1.5, 1},
        {"shadow power low", &CLight::setShadowPower, &CLight::getShadowPower, -0.5, 0},
        {"bias high", &CLight::setBias, &CLight::getBias, 7, 1},
        {"bias inside", &CLight::setBias, &CLight::getBias, 0.25, 0.25},
        {"near distance unbounded", &CLight::setDistanceNear, &CLight::getDistanceNear, -30, -30},
    };
    const Whole wholes[] = {
        {"map size negative", &CLight::setMapSize, &CLight::getMapSize, -5, 0},
        {"map size positive", &CLight::setMapSize, &CLight::getMapSize, 2048, 2048},
        {"target type unknown", &CLight::setTargetType, &CLight::getTargetType, 7, 0},
        {"target type negative", &CLight::setTargetType, &CLight::getTargetType, -1, 0},
        {"target type on object", &CLight::setTargetType, &CLight::getTargetType, 1, 1},
    };
    RecordingFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    CSCN* scene = static_cast<CSCN*>(manager);
    auto owned = [scene] { return scene->lights().append(); };
    auto keep = [](CLight*) {};
    auto free = [] { return new CLight(nullptr); };
    auto drop = [](CLight* light) { delete light; };
    ScnTest::expectSetterCases(reals, owned, keep, "in a scene");
    ScnTest::expectSetterCases(wholes, owned, keep, "in a scene");
    ScnTest::expectSetterCases(reals, free, drop, "free");
    ScnTest::expectSetterCases(wholes, free, drop, "free");
    EXPECT_TRUE(feedback.warnings.empty());
    manager->release();
}

TEST(Light, NullPointersChangeNothing)
{
    CLight light(nullptr);
    std::string before = dumpFields(light);
    light.setName(nullptr);
    light.setColor(nullptr);
    light.setPosition(nullptr);
    light.setTarget(nullptr);
    light.setUUID(nullptr);
    light.setObjectId(nullptr);
    EXPECT_EQ(dumpFields(light), before);
}

TEST_F(SceneTest, DefaultPositionPassesThroughTheSceneConversion)
{
    const double shift[16] = {1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    mScene->setMatrix(shift);
    mScene->setLegacyFile(true);
    CLight* light = newLight();
    EXPECT_EQ(light->getPosition()->x, 205);
    EXPECT_EQ(light->getPosition()->y, -200);
    EXPECT_EQ(light->getPosition()->z, 200);
    CLight free(nullptr);
    EXPECT_EQ(free.getPosition()->y, 200);
}


TEST_F(SceneTest, EveryKindSurvivesTheXmlRoundTrip)
{
    ScnTest::inPlainAndCommaLocales([&](bool comma) {
        {
            CLight* source = newLight();
            CLight* target = newLight();
            ScnTest::expectRoundTrip(*source, *target, "light");
            CLight freeSource(nullptr);
            CLight freeTarget(nullptr);
            ScnTest::expectRoundTrip(freeSource, freeTarget, "free light");
        }
        {
            CScnLightsGroup* source = mScene->lightsGroups().append();
            CScnLightsGroup* target = mScene->lightsGroups().append();
            ScnTest::expectRoundTrip(*source, *target, "lights group");
        }
        for (bool radiosity : {false, true}) {
            CScnCameraLight source(&mScene->lights(), radiosity);
            CScnCameraLight target(&mScene->lights(), radiosity);
            ScnTest::expectRoundTrip(source, target, radiosity ? "radiosity light" : "camera light");
        }
        CLight light(nullptr);
        std::string bytes = ScnTest::xmlRoundTrip(light, light);
        EXPECT_NE(bytes.find("<Power>3.000000</Power>"), std::string::npos) << (comma ? "comma" : "plain");
    });
    EXPECT_TRUE(mFeedback.warnings.empty());
}

// A varied light written to XML, parsed, and handed to a test to cut before reading it.
class LightInputTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        CLight* source = newLight();
        ScnTest::varyFields(*source);
        mWritten = dumpFields(*source);
        ScnTest::XmlScratch scratch;
        mTree = ScnTest::parseDocument(ScnTest::writeElement(source->putInXML(scratch.parent())));
        ASSERT_NE(mTree, nullptr);
        mElement = ScnTest::firstElement(*mTree);
        mTarget = newLight();
        mKept = dumpFields(*mTarget);
    }

    XIXMLElement* child(const char* name) { return XmlForm::findChild(mElement, name); }

    std::string mWritten;
    std::string mKept;
    std::unique_ptr<NuvoraXML::XCXMLTree> mTree;
    XIXMLElement* mElement = nullptr;
    CLight* mTarget = nullptr;
};

TEST_F(LightInputTest, AMissingRequiredItemStopsTheReadThere)
{
    const char* const children[] = {"Name",          "Color",         "Power",
                                    "Distance.Near", "Distance.Far",  "Position",
                                    "Target",        "Cone.Angle",    "Sharpness",
                                    "Shadow.Power",  "Map.Size",      "Bias",
                                    "Global.Illumination.Power",      "Global.Illumination.Quality",
                                    "Lights.Groups", "Lens.Flare"};
    const char* const attributes[] = {"Type", "Shadow.Type", "Object.Id", "Target.type"};
    auto check = [&](const char* name, const ScnTest::Cut& cut) {
        NuvoraXML::XCXMLTree copy;
        mElement->AsNode()->CopyTo(copy.GetRoot());
        XIXMLElement* element = ScnTest::firstElement(copy);
        cut(element);
        CLight* target = newLight();
        std::string kept = dumpFields(*target);
        mFeedback.warnings.clear();
        EXPECT_FALSE(target->initWithXML(element)) << name;
        EXPECT_EQ(mFeedback.warnings,
                  std::vector<std::string>{std::string("Exception in CScnLight::initWithXML : ") + kMissing})
            << name;
        EXPECT_EQ(dumpFields(*target), ScnTest::expectedStoppedDump(mWritten, kept, name)) << name;
    };
    for (const char* name : children) {
        check(name, ScnTest::removeChildCut("", name));
    }
    for (const char* name : attributes) {
        check(name, ScnTest::removeAttributeCut("", name));
    }
}

TEST_F(LightInputTest, AbsentOptionalItemsKeepTheCurrentValues)
{
    XmlForm::removeChildren(mElement, "UI.Value");
    ASSERT_TRUE(ScnTest::deleteAttribute(mElement, "UUID"));
    ASSERT_TRUE(ScnTest::deleteAttribute(mElement, "IES"));
    CScnUUID ownUuid = *mTarget->getUUID();
    mTarget->setUIValue(-17);
    CScnUUID profile = countingUuid();
    mTarget->setIES(profile);
    mKept = dumpFields(*mTarget);
    EXPECT_TRUE(mTarget->initWithXML(mElement));
    EXPECT_EQ(*mTarget->getUUID(), ownUuid);
    EXPECT_EQ(mTarget->getUIValue(), -17);
    EXPECT_EQ(mTarget->getIES(), profile);
    EXPECT_EQ(dumpFields(*mTarget), ScnTest::mergedDump(mWritten, mKept, {"UI.Value", "UUID", "IES"}));
    EXPECT_TRUE(mFeedback.warnings.empty());
}

TEST_F(LightInputTest, ReadValuesPassThroughTheSetterRules)
{
    struct Case {
        const char* item;
        const char* text;
        std::function<double(const CLight&)> get;
        double expected;
    };
    const Case cases[] = {
        {"Power", "0.5", [](const CLight& l) { return l.getPower(); }, 1},
        {"Power", "2000000", [](const CLight& l) { return l.getPower(); }, 1000000},
        {"Cone.Angle", "400", [](const CLight& l) { return l.getConeAngle(); }, 360},
        {"Sharpness", "-1", [](const CLight& l) { return l.getSharpness(); }, 0},
        {"Shadow.Power", "2", [](const CLight& l) { return l.getShadowPower(); }, 1},
        {"Bias", "7", [](const CLight& l) { return l.getBias(); }, 1},
        {"Map.Size", "-5", [](const CLight& l) { return static_cast<double>(l.getMapSize()); }, 0},
    };
    for (const Case& c : cases) {
        XmlForm::findChild(mElement, c.item)->GetData()->SetText(c.text);
        CLight* light = newLight();
        EXPECT_TRUE(light->initWithXML(mElement)) << c.item;
        EXPECT_EQ(c.get(*light), c.expected) << c.item << " " << c.text;
    }
    EXPECT_TRUE(mFeedback.warnings.empty());
}

TEST_F(LightInputTest, BadValuesEndTheReadWithTheWrappedReport)
{
    struct Case {
        const char* what;
        ScnTest::Cut cut;
        std::string report;
    };
    using ScnTest::setAttributeCut;
    using ScnTest::setTextCut;
    const Case cases[] = {
        {"light type label", setAttributeCut("", "Type", "Pointe"), "Invalid label (Pointe) [Point..Parallel]"},
        {"shadow label", setAttributeCut("", "Shadow.Type", "Hard"), "Invalid label (Hard) [None..Soft]"},
        {"target label", setAttributeCut("", "Target.type", "0"),
         "Invalid label (0) [Fixed.Vertex..On.Object]"},
        {"lens flare label", setAttributeCut("Lens.Flare", "Type", "Halo3"),
         "Invalid label (Halo3) [LensFlare1..Standard]"},
        {"power text", setTextCut("Power", "strong"), ScnTest::plainFailureText()},
        {"map size text", setTextCut("Map.Size", "x12"), ScnTest::plainFailureText()},
        {"colour value", setAttributeCut("Color", "G", "green"), ScnTest::plainFailureText()},
        {"position value", setAttributeCut("Position", "Z", ""), ScnTest::plainFailureText()},
        {"identifier", setAttributeCut("", "UUID", "0123"), ScnTest::plainFailureText()},
        {"empty number", [](XIXMLElement* light) { ScnTest::elementAt(light, "Bias")->GetData()->AsNode()->Delete(); },
         kMissing},
    };
    for (const Case& c : cases) {
        NuvoraXML::XCXMLTree copy;
        mElement->AsNode()->CopyTo(copy.GetRoot());
        XIXMLElement* element = ScnTest::firstElement(copy);
        c.cut(element);
        mFeedback.warnings.clear();
        EXPECT_FALSE(newLight()->initWithXML(element)) << c.what;
        EXPECT_EQ(mFeedback.warnings,
                  std::vector<std::string>{std::string("Exception in CScnLight::initWithXML : ") + c.report})
            << c.what;
    }
}

TEST_F(SceneTest, WritingAValueWithoutLabelFailsWithTheWrappedReport)
{
    struct Case {
        std::function<void(CLight&)> set;
        const char* report;
    };
    const Case cases[] = {
        {[](CLight& l) { l.setType(9); }, "No label for the value (9) [Point..Parallel]"},
        {[](CLight& l) { l.setShadowType(-1); }, "No label for the value (-1) [None..Soft]"},
        {[](CLight& l) { l.getLensFlare()->setType(4); }, "No label for the value (4) [LensFlare1..Standard]"},
    };
    for (const Case& c : cases) {
        CLight* light = newLight();
        c.set(*light);
        ScnTest::XmlScratch scratch;
        mFeedback.warnings.clear();
        EXPECT_EQ(light->putInXML(scratch.parent()), nullptr);
        EXPECT_EQ(mFeedback.warnings,
                  std::vector<std::string>{std::string("Exception in CScnLight::putInXML : ") + c.report});
    }
}

TEST_F(SceneTest, NullElementsAreReportedNotFollowed)
{
    CLight* light = newLight();
    CScnLightsGroup* group = mScene->lightsGroups().append();
    CScnCameraLight cameraLight(&mScene->lights());
    EXPECT_EQ(light->putInXML(nullptr), nullptr);
    EXPECT_FALSE(light->initWithXML(nullptr));
    EXPECT_EQ(group->putInXML(nullptr), nullptr);
    EXPECT_FALSE(group->initWithXML(nullptr));
    EXPECT_EQ(cameraLight.putInXML(nullptr), nullptr);
    EXPECT_FALSE(cameraLight.initWithXML(nullptr));
    std::vector<std::string> expected;
    for (const char* where : {"CScnLight::putInXML", "CScnLight::initWithXML", "IScnLightsGroup::putInXML",
                              "IScnLightsGroup::initWithXML", "IScnCameraLight::putInXML",
                              "IScnCameraLight::initWithXML"}) {
        expected.push_back(std::string("Exception in ") + where + " : " + kMissing);
    }
    EXPECT_EQ(mFeedback.warnings, expected);
}

// Reads a document given as text into object; answers initWithXML's result.
template <class Object>
bool readText(Object& object, const std::string& text)
{
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(text);
    return tree != nullptr && object.initWithXML(ScnTest::firstElement(*tree));
}

TEST(LensFlare, StandardIsReadAsTheFirstTypeAndNeverWritten)
{
    CLight light(nullptr);
    ScnTest::varyFields(light);
    light.getLensFlare()->setType(kScnLensFlare2);
    ScnTest::XmlScratch scratch;
    std::string text = ScnTest::writeElement(light.putInXML(scratch.parent()));
    size_t at = text.find("Type=\"LensFlare2\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 17, "Type=\"Standard\"");
    CLight read(nullptr);
    ASSERT_TRUE(readText(read, text));
    EXPECT_EQ(read.getLensFlare()->getType(), kScnLensFlare1);
    ScnTest::XmlScratch again;
    EXPECT_NE(ScnTest::writeElement(read.putInXML(again.parent())).find("<Lens.Flare Type=\"LensFlare1\">"),
              std::string::npos);
}

TEST(Light, AnotherElementIsSearchedForItsFirstLightChild)
{
    CLight source(nullptr);
    ScnTest::varyFields(source);
    ScnTest::XmlScratch scratch("Lights");
    source.putInXML(scratch.parent());
    CLight target(nullptr);
    EXPECT_TRUE(target.initWithXML(scratch.parent()));
    EXPECT_EQ(dumpFields(target), dumpFields(source));
    CLight untouched(nullptr);
    std::string before = dumpFields(untouched);
    ScnTest::XmlScratch empty("Lights");
    EXPECT_FALSE(untouched.initWithXML(empty.parent()));
    EXPECT_EQ(dumpFields(untouched), before);
}

TEST_F(SceneTest, LightsGroupNeedsNameAndIdentifier)
{
    struct Case {
        const char* text;
        bool ok;
        const char* name;
        int32_t uiValue;
    };
    const Case cases[] = {
        {"<Lights.Group ID=\"000102030405060708090A0B0C0D0E0F\"><Name en=\"Hall\"/><UI.Value>4</UI.Value>"
         "</Lights.Group>",
         true, "Hall", 4},
        {"<Lights.Group ID=\"000102030405060708090A0B0C0D0E0F\"><Name en=\"Hall\"/></Lights.Group>", true, "Hall",
         -3},
        {"<Lights.Group ID=\"000102030405060708090A0B0C0D0E0F\"><UI.Value>4</UI.Value></Lights.Group>", false, "",
         -3},
        {"<Lights.Group><Name en=\"Hall\"/><UI.Value>4</UI.Value></Lights.Group>", false, "Hall", -3},
    };
    for (const Case& c : cases) {
        CScnLightsGroup* group = mScene->lightsGroups().append();
        group->setUIValue(-3);
        CScnUUID own = *group->getID();
        mFeedback.warnings.clear();
        EXPECT_EQ(readText(*group, c.text), c.ok) << c.text;
        EXPECT_STREQ(group->getName(), c.name) << c.text;
        EXPECT_EQ(group->getUIValue(), c.uiValue) << c.text;
        EXPECT_EQ(*group->getID() == countingUuid(), c.ok) << c.text;
        EXPECT_EQ(*group->getID() == own, !c.ok) << c.text;
        std::vector<std::string> expected;
        if (!c.ok) {
            expected.push_back(std::string("Exception in IScnLightsGroup::initWithXML : ") + kMissing);
        }
        EXPECT_EQ(mFeedback.warnings, expected) << c.text;
    }
}

TEST_F(SceneTest, CameraLightElementIsNamedByItsKind)
{
    CScnCameraLight camera(&mScene->lights(), false);
    CScnCameraLight radiosity(&mScene->lights(), true);
    camera.setUsed(true);
    camera.setPower(2.5);
    ScnTest::XmlScratch scratch("View.Info");
    EXPECT_EQ(ScnTest::writeElement(camera.putInXML(scratch.parent())),
              "<Camera.Light>\n\t<Used/>\n\t<Color\n\t\t R=\"255\"\n\t\t G=\"255\"\n\t\t B=\"255\"/>\n"
              "\t<Power>2.500000</Power>\n"
              "</Camera.Light>");
    EXPECT_STREQ(radiosity.putInXML(scratch.parent())->GetName(), "Radiosity.Light");

    // Reading looks for the element of the reader's own kind under the parent.
    CScnCameraLight readCamera(&mScene->lights(), false);
    EXPECT_TRUE(readCamera.initWithXML(scratch.parent()));
    EXPECT_EQ(dumpFields(readCamera), dumpFields(camera));
    ScnTest::XmlScratch onlyCamera("View.Info");
    camera.putInXML(onlyCamera.parent());
    CScnCameraLight readRadiosity(&mScene->lights(), true);
    std::string before = dumpFields(readRadiosity);
    EXPECT_FALSE(readRadiosity.initWithXML(onlyCamera.parent()));
    EXPECT_EQ(dumpFields(readRadiosity), before);
    EXPECT_EQ(mFeedback.warnings,
              std::vector<std::string>{std::string("Exception in IScnCameraLight::initWithXML : ") + kMissing});
}

}  // namespace
