// The document sections of panoramas, animations, scenarios and 3D paths: what a new scene saves,
// every kind through a saved document, a document of another program kept intact, and bad input
// that leaves the rest of the document loaded.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/Fields.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/XmlSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using ScnTest::TestScene;
using Strings = std::vector<std::string>;

const std::string kCurrent = ScnTest::dottedLibrary("3.0.3");

// A document parsed from text, its file element at hand.
struct Parsed {
    explicit Parsed(const std::string& text) : tree(ScnTest::parseDocument(text)) {}
    XIXMLElement* file() { return ScnTest::documentElement(*tree); }
    XIXMLElement* section(const char* name) { return XmlForm::findChild(file(), name); }
    std::unique_ptr<NuvoraXML::XCXMLTree> tree;
};

Strings childNames(XIXMLElement* element)
{
    return element != nullptr ? ScnTest::childNames(element) : Strings{"(missing)"};
}

// Deletes every element named name in the subtree of element.
void removeEverywhere(XIXMLElement* element, const char* name)
{
    XmlForm::removeChildren(element, name);
    for (XIXMLElement* child = element->GetFirstElement(); child != nullptr; child = child->GetNextElement()) {
        removeEverywhere(child, name);
    }
}

// The bytes of a section of a document.
std::string sectionBytes(const std::string& document, const char* name)
{
    Parsed parsed(document);
    XIXMLElement* section = parsed.section(name);
    return section != nullptr ? ScnTest::writeElement(section) : "(missing)";
}

// The bytes of a section of a document without the options its lists and items hold.
std::string withoutOptions(const std::string& document, const char* name)
{
    Parsed parsed(document);
    XIXMLElement* section = parsed.section(name);
    if (section == nullptr) {
        return "(missing)";
    }
    removeEverywhere(section, "Options");
    return ScnTest::writeElement(section);
}

template <class Impl, class Iface>
Strings dumps(TObjectMgr<Impl, Iface>& list)
{
    Strings all;
    for (size_t i = 0; i < list.size(); ++i) {
        all.push_back(dumpFields(*list.at(i)));
    }
    return all;
}

TEST(AnimationSections, ANewSceneSavesItsAnimationAndPanoramaWithTheirOptions)
{
    TestScene scene;
    Parsed saved(scene.save());
    EXPECT_EQ(childNames(saved.section("Panoramas")), (Strings{"Panorama", "Options"}));
    EXPECT_EQ(childNames(saved.section("Animations")), (Strings{"Animation", "Options"}));
    EXPECT_EQ(childNames(saved.section("Scenarios")), Strings{});
    EXPECT_EQ(childNames(saved.section("3D.Paths")), Strings{});
    XIXMLElement* animation = XmlForm::findChild(saved.section("Animations"), "Animation");
    EXPECT_EQ(childNames(animation), (Strings{"Name", "Camera.Paths", "Animated.Elements", "Interpolated.Values"}));
    XIXMLElement* path = XmlForm::findChild(XmlForm::findChild(animation, "Camera.Paths"), "Camera.Path");
    EXPECT_EQ(ScnTest::writeElement(XmlForm::findChild(path, "Name")), "<Name en=\"Sequence 0\"/>");
    XIXMLElement* panorama = XmlForm::findChild(saved.section("Panoramas"), "Panorama");
    EXPECT_EQ(childNames(panorama),
              (Strings{"Name", "Options", "Current", "Current.Direction", "Current.Focal", "Panorama.Nodes", "Pano.Links"}));
    EXPECT_EQ(childNames(XmlForm::findChild(panorama, "Options")), (Strings{"Rendering", "Compression"}));
    EXPECT_EQ(scene.feedback.warnings, Strings{});
}

// Gives each list of these sections two varied objects.
void fillScene(CSCN& scene)
{
    scene.animations().clear();
    scene.panoramas().clear();
    for (int i = 0; i < 2; ++i) {
        ScnTest::varyFields(*scene.animations().append());
        ScnTest::varyFields(*scene.panoramas().append());
        ScnTest::varyFields(*scene.scenarios().append());
        ScnTest::varyFields(*scene.paths3D().append());
    }
    scene.getAnimationsOpt()->setWidth(1024);
    scene.getPanoramaOpt()->setPanoramaResolution(3);
}

TEST(AnimationSections, EveryKindTravelsThroughASavedDocument)
{
    TestScene source;
    TestScene target;
    fillScene(source.core());
    ScnTest::fillGeometry(source->getPoints(), source->getPolygons(), ScnTest::sampleGeometry());
    std::string saved = source.save();
    ASSERT_EQ(target.load(saved), 0) << ScnTest::warningsOf(target.feedback.warnings);
    EXPECT_EQ(target.feedback.warnings, Strings{});
    EXPECT_EQ(dumps(target.core().animations()), dumps(source.core().animations()));
    EXPECT_EQ(dumps(target.core().panoramas()), dumps(source.core().panoramas()));
    EXPECT_EQ(dumps(target.core().scenarios()), dumps(source.core().scenarios()));
    EXPECT_EQ(dumps(target.core().paths3D()), dumps(source.core().paths3D()));
    EXPECT_EQ(target->getMgrEx(6)->getAnimationsOpt()->getWidth(), 1024);
    EXPECT_EQ(target->getMgrEx(6)->getPanoramaOpt()->getPanoramaResolution(), 3);
    std::string again = target.save();
    for (const char* name : {"Panoramas", "Animations", "Scenarios", "3D.Paths"}) {
        EXPECT_EQ(sectionBytes(again, name), sectionBytes(saved, name)) << name;
    }
}

// The sections as another program writes them: compact, without the options of the lists, of
// the panoramas and of the sequences (the library's own options take their place).
const std::string kForeignAnimations =
    "<Animations><Animation><Name en=\"Walk &amp; turn\"/><Current/><Camera.Paths><Camera.Path>"
    "<Name en=\"Sequence 1\"/><View.Flags>3</View.Flags><Active/><Movie.Duration>12.500000</Movie.Duration>"
    "<Nb.Images.Extra>5</Nb.Images.Extra><Speed.On/><Speed>2.000000</Speed><Path.Closed/><Points>"
    "<Point X=\"0.000000\" Y=\"0.000000\" Z=\"0.000000\"/><Point X=\"100.000000\" Y=\"50.000000\" Z=\"-20.000000\"/>"
    "</Points><Camera.Keys><Camera.Key Key.Type=\"Target\"><Pitch>0.100000</Pitch><Focal>35.000000</Focal>"
    "<Fading.Duration>1.000000</Fading.Duration><Fading.Nb.Images>4</Fading.Nb.Images>"
    "<Horizontal.Angle>0.500000</Horizontal.Angle><Vertical.Angle>-0.250000</Vertical.Angle>"
    "<Anticipation>0.750000</Anticipation><Bezier.Section>1</Bezier.Section><Bezier.T>0.500000</Bezier.T>"
    "<Bezier.Transition>2</Bezier.Transition><Bezier.Transition.T>0.250000</Bezier.Transition.T>"
    "<Target X=\"10.000000\" Y=\"20.000000\" Z=\"30.000000\"/></Camera.Key></Camera.Keys>"
    "<Current.Time>3.000000</Current.Time></Camera.Path></Camera.Paths><Animated.Elements>"
    "<Animated.Element Type=\"Light\" UUID=\"00112233445566778899AABBCCDDEEFF\"/></Animated.Elements>"
    "<Interpolated.Values><Interpolated.Value Type=\"Double\" Path.Id=\"Light.Power\"><Loop/><Nb.Loops>2</Nb.Loops>"
    "<Default.Value>3.000000</Default.Value><KeyFrames><KeyFrame Type=\"Double\" Interpolation.Type=\"Bezier\">"
    "<Time>0.000000</Time><Visible/><Value>3.000000</Value><CPBefore>2.500000</CPBefore><CPAfter>3.500000</CPAfter>"
    "<AreLocked/></KeyFrame><KeyFrame Type=\"Color\" Interpolation.Type=\"Linear\"><Time>2.000000</Time>"
    "<Value R=\"255\" G=\"128\" B=\"0\"/><CPBefore R=\"0\" G=\"0\" B=\"0\"/><CPAfter R=\"1\" G=\"2\" B=\"3\"/>"
    "</KeyFrame></KeyFrames></Interpolated.Value><Interpolated.Value Type=\"UUID\" Path.Id=\"Target.Object.UUID\" "
    "Default.Value=\"0102030405060708090A0B0C0D0E0F10\"><Nb.Loops>0</Nb.Loops><KeyFrames><KeyFrame Type=\"UUID\" "
    "Value=\"0F0E0D0C0B0A09080706050403020100\" CPBefore=\"00000000000000000000000000000000\" "
    "CPAfter=\"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\" Interpolation.Type=\"OneMinusSquare\"><Time>1.000000</Time>"
    "</KeyFrame><KeyFrame Type=\"Date\" Interpolation.Type=\"DateInterpolation\"><Time>4.000000</Time><Visible/>"
    "<Value><Month>6</Month><Day>21</Day><Hour>12</Hour><Minute>0</Minute><Year>2010</Year></Value>"
    "<CPBefore><Month>1</Month><Day>1</Day><Hour>0</Hour><Minute>0</Minute><Year>2010</Year></CPBefore>"
    "<CPAfter><Month>12</Month><Day>31</Day><Hour>23</Hour><Minute>59</Minute><Year>2010</Year></CPAfter>"
    "</KeyFrame><KeyFrame Type=\"Boolean\" Interpolation.Type=\"Sinus\"><Time>5.000000</Time><Value/>"
    "</KeyFrame></KeyFrames></Interpolated.Value></Interpolated.Values></Animation></Animations>";

const std::string kForeignPanoramas =
    "<Panoramas><Panorama UUID=\"A0A1A2A3A4A5A6A7A8A9AAABACADAEAF\"><Name en=\"Hall\"/><Current>1</Current>"
    "<Current.Direction>90.000000</Current.Direction><Current.Focal>60.000000</Current.Focal><Panorama.Nodes>"
    "<Panorama.Node UUID=\"B0B1B2B3B4B5B6B7B8B9BABBBCBDBEBF\"><Name en=\"Door\"/><View.Flags>1</View.Flags>"
    "<Position X=\"1.000000\" Y=\"2.000000\" Z=\"3.000000\"/><Direction>45.000000</Direction>"
    "<Focal>50.000000</Focal><Zoom>1.500000</Zoom><Vertical.Pan>-10.000000</Vertical.Pan><Nb.Links>1</Nb.Links>"
    "<UI.Value>7</UI.Value></Panorama.Node><Panorama.Node UUID=\"C0C1C2C3C4C5C6C7C8C9CACBCCCDCECF\">"
    "<Name en=\"Stairs\"/><View.Flags>0</View.Flags><Position X=\"4.000000\" Y=\"5.000000\" Z=\"6.000000\"/>"
    "<Direction>0.000000</Direction><Focal>40.000000</Focal><Zoom>1.000000</Zoom><Vertical.Pan>0.000000</Vertical.Pan>"
    "<Nb.Links>1</Nb.Links><UI.Value>0</UI.Value></Panorama.Node></Panorama.Nodes><Pano.Links>"
    "<Pano.Link UUID=\"D0D1D2D3D4D5D6D7D8D9DADBDCDDDEDF\"><Pano1><Index>0</Index><Direction>10.000000</Direction>"
    "<Zoom>1.250000</Zoom><Vertical.Pan>2.000000</Vertical.Pan><Focal>45.000000</Focal><Hotspots><Hotspot>"
    "<Points><Point X=\"0.000000\" Y=\"0.000000\" Z=\"1.000000\"/><Point X=\"10.000000\" Y=\"0.000000\" "
    "Z=\"1.000000\"/><Point X=\"10.000000\" Y=\"5.000000\" Z=\"1.000000\"/></Points></Hotspot></Hotspots></Pano1>"
    "<Pano2><Index>1</Index><Direction>190.000000</Direction><Zoom>1.000000</Zoom><Vertical.Pan>0.000000</Vertical.Pan>"
    "<Focal>50.000000</Focal><Hotspots/></Pano2></Pano.Link></Pano.Links></Panorama></Panoramas>";

const std::string kForeignScenarios =
    "<Scenarios><Scenario><Name en=\"Tour\"/><Current.Frame>12</Current.Frame><Current.Sequence>1</Current.Sequence>"
    "<Max.Time>60.000000</Max.Time><Start.Visible.Time>5.000000</Start.Visible.Time>"
    "<End.Visible.Time>30.000000</End.Visible.Time><Sequences><Sequence UUID=\"E0E1E2E3E4E5E6E7E8E9EAEBECEDEEEF\" "
    "Target.Type=\"Forward.Path\" Object.UUID=\"00000000000000000000000000000000\"><Start.Frame>0</Start.Frame>"
    "<End.Frame>250</End.Frame><Name en=\"Garden\"/><View.Flags>2</View.Flags><Focal>28.000000</Focal>"
    "<Position X=\"0.000000\" Y=\"160.000000\" Z=\"-500.000000\"/><Target.Distance>300.000000</Target.Distance>"
    "<Horizontal.Angle>0.000000</Horizontal.Angle><Vertical.Angle>-5.000000</Vertical.Angle>"
    "<Current.Path.Tangent X=\"0.000000\" Y=\"0.000000\" Z=\"1.000000\"/>"
    "<Target X=\"0.000000\" Y=\"160.000000\" Z=\"0.000000\"/><Roll>0.000000</Roll></Sequence>"
    "<Sequence UUID=\"F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF\" Target.Type=\"Object.Instance\" "
    "Object.UUID=\"11111111111111111111111111111111\"><Start.Frame>250</Start.Frame><End.Frame>400</End.Frame>"
    "<Name en=\"Statue\"/><View.Flags>0</View.Flags><Focal>50.000000</Focal>"
    "<Position X=\"1.000000\" Y=\"2.000000\" Z=\"3.000000\"/><Target.Distance>0.000000</Target.Distance>"
    "<Horizontal.Angle>15.000000</Horizontal.Angle><Vertical.Angle>0.000000</Vertical.Angle>"
    "<Current.Path.Tangent X=\"1.000000\" Y=\"0.000000\" Z=\"0.000000\"/>"
    "<Target X=\"4.000000\" Y=\"5.000000\" Z=\"6.000000\"/><Roll>0.500000</Roll></Sequence></Sequences>"
    "<Time.Guides><Time.Guide><Time>10.000000</Time></Time.Guide><Time.Guide><Time>20.000000</Time></Time.Guide>"
    "</Time.Guides><Snds><Snd UUID=\"22222222222222222222222222222222\"><Start.Frame>0</Start.Frame></Snd></Snds>"
    "</Scenario></Scenarios>";

const std::string kForeign3DPaths =
    "<3D.Paths><Path.3D UUID=\"33333333333333333333333333333333\"><Closed/><Bezier.points><Bezier.Point>"
    "<Position X=\"0.000000\" Y=\"0.000000\" Z=\"0.000000\"/><CPBefore X=\"-1.000000\" Y=\"0.000000\" Z=\"0.000000\"/>"
    "<CPAfter X=\"1.000000\" Y=\"0.000000\" Z=\"0.000000\"/><AreLocked/></Bezier.Point><Bezier.Point>"
    "<Position X=\"100.000000\" Y=\"0.000000\" Z=\"0.000000\"/><CPBefore X=\"99.000000\" Y=\"0.000000\" "
    "Z=\"0.000000\"/><CPAfter X=\"101.000000\" Y=\"0.000000\" Z=\"0.000000\"/></Bezier.Point></Bezier.points>"
    "</Path.3D></3D.Paths>";

std::string foreignDocument()
{
    return ScnTest::sceneDocument(kCurrent, kForeignPanoramas + kForeignAnimations + kForeignScenarios + kForeign3DPaths,
                                  "Atelier");
}

TEST(AnimationSections, ADocumentOfAnotherProgramLoadsAndSavesWithItsContentIntact)
{
    const std::string document = foreignDocument();
    TestScene scene;
    ASSERT_EQ(scene.load(document), 0) << ScnTest::warningsOf(scene.feedback.warnings);
    EXPECT_EQ(scene.feedback.warnings, Strings{});
    std::string saved = scene.save();
    for (const char* name : {"Panoramas", "Animations", "Scenarios", "3D.Paths"}) {
        EXPECT_NE(withoutOptions(document, name), "(missing)") << name;
        EXPECT_EQ(withoutOptions(saved, name), withoutOptions(document, name)) << name;
    }
    EXPECT_EQ(childNames(Parsed(saved).section("Animations")), (Strings{"Animation", "Options"}));
    EXPECT_EQ(scene->getCameraPath()->getPoints()->getNbObjects(), 2);
    EXPECT_EQ(scene->getCameraPath()->getCamKeys()->getScnObject(0)->getKeyType(), kScnCamKeyTarget);
    EXPECT_EQ(scene->getPanoLinks()->getScnObject(0)->getPano1()->getHotspots()->getNbObjects(), 1);
    IScnSequence* sequence = scene->getScenarios()->getScnObject(0)->getSequences()->getScnObject(0);
    EXPECT_EQ(sequence->getTargetType(), kScnSequenceForwardPath);
    EXPECT_EQ(scene.feedback.warnings, Strings{});
}

// A document older than 2.0.2 loses its scenarios unread; its 3D paths are not read either.
TEST(AnimationSections, ScenariosAndPathsOfDocumentsBefore202AreNotRead)
{
    TestScene scene;
    ASSERT_EQ(scene.load(ScnTest::sceneDocument(ScnTest::dottedLibrary("2.0.1"), kForeignScenarios + kForeign3DPaths)),
              0);
    EXPECT_EQ(scene->getScenarios()->getNbObjects(), 0);
    EXPECT_EQ(scene->get3DPaths()->getNbObjects(), 0);
    EXPECT_EQ(XmlForm::findChild(scene.core().getFileNode(), "Scenarios"), nullptr);
    TestScene current;
    ASSERT_EQ(current.load(ScnTest::sceneDocument(ScnTest::dottedLibrary("2.0.2"), kForeignScenarios + kForeign3DPaths)),
              0);
    EXPECT_EQ(current->getScenarios()->getNbObjects(), 1);
    EXPECT_EQ(current->get3DPaths()->getNbObjects(), 1);
}

// Replaces the first occurrence of from in text.
std::string replacedOnce(std::string text, const std::string& from, const std::string& to)
{
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct BadDocumentCase {
    const char* what;
    std::string from;  // a piece of the document of another program
    std::string to;    // what it becomes
    Strings reports;
    // The dumps of the lists that must hold what the unchanged document gives.
    bool animationsAsGood;
    bool panoramasAsGood;
    bool scenariosAsGood;
};

class BadAnimationDocument : public ::testing::TestWithParam<BadDocumentCase> {};

// A bad object is reported by its own read and leaves the others of its list and the rest of the
// document loaded; the document saves again.
TEST_P(BadAnimationDocument, IsReportedAndTheRestOfTheDocumentLoads)
{
    const BadDocumentCase& c = GetParam();
    TestScene good;
    ASSERT_EQ(good.load(foreignDocument()), 0);
    TestScene scene;
    ASSERT_EQ(scene.load(replacedOnce(foreignDocument(), c.from, c.to)), 0) << c.what;
    EXPECT_EQ(scene.feedback.warnings, c.reports) << c.what;
    if (c.animationsAsGood) {
        EXPECT_EQ(dumps(scene.core().animations()), dumps(good.core().animations())) << c.what;
    }
    if (c.panoramasAsGood) {
        EXPECT_EQ(dumps(scene.core().panoramas()), dumps(good.core().panoramas())) << c.what;
    }
    if (c.scenariosAsGood) {
        EXPECT_EQ(dumps(scene.core().scenarios()), dumps(good.core().scenarios())) << c.what;
    }
    EXPECT_EQ(dumps(scene.core().paths3D()), dumps(good.core().paths3D())) << c.what;
    scene.feedback.warnings.clear();
    Parsed saved(scene.save());
    EXPECT_EQ(scene.feedback.warnings, Strings{}) << c.what;
    EXPECT_EQ(childNames(saved.section("Animations")).back(), "Options") << c.what;
}

const char* const kSecondAnimation =
    "<Animation><Name en=\"Second\"/><Interpolated.Values/></Animation></Animations>";

INSTANTIATE_TEST_SUITE_P(
    Cases, BadAnimationDocument,
    ::testing::Values(
        BadDocumentCase{"a key frame of an unknown value type", "<KeyFrame Type=\"Color\"",
                        "<KeyFrame Type=\"Vector4\"",
                        {"Exception in IScnAnimation::initWithXML : Invalid label (Vector4) [Double..Enum]"}, false,
                        true, true},
        BadDocumentCase{"an unknown interpolation", "Interpolation.Type=\"Sinus\"", "Interpolation.Type=\"Spline\"",
                        {"Exception in IScnAnimation::initWithXML : Invalid label (Spline) [Linear..DateInterpolation]"},
                        false, true, true},
        BadDocumentCase{"an unknown parameter", "Path.Id=\"Light.Power\"", "Path.Id=\"Light.Glow\"",
                        {"Exception in IScnAnimation::initWithXML : Invalid label (Light.Glow) "
                         "[Camera.Position..Property.Glazing.WaterSpeed]"},
                        false, true, true},
        BadDocumentCase{"a link to nodes that do not exist", "<Index>1</Index>", "<Index>9</Index>", {}, true, false,
                        true},
        BadDocumentCase{"link counts that disagree with the links", "<Nb.Links>1</Nb.Links>",
                        "<Nb.Links>2147483647</Nb.Links>", {}, true, false, true},
        BadDocumentCase{"a missing node list", "<Panorama.Nodes>", "<Panorama.Nodez>",
                        {ScnTest::nullPointerText("Exception in IScnPanorama::initWithXML : exception")}, true, false,
                        true},
        BadDocumentCase{"an unknown sequence target", "Target.Type=\"Object.Instance\"", "Target.Type=\"Orbit\"",
                        {"Exception in CScnScenario::initWithXML : Invalid label (Orbit) "
                         "[Fixed.Vertex..Object.Instance]"},
                        true, true, false}),
    [](const ::testing::TestParamInfo<BadDocumentCase>& info) { return "Case" + std::to_string(info.index); });

// A bad animation does not keep the animation after it from being read.
TEST(AnimationSections, TheAnimationAfterABadOneIsRead)
{
    std::string document = replacedOnce(foreignDocument(), "<KeyFrame Type=\"Color\"", "<KeyFrame Type=\"Vector4\"");
    document = replacedOnce(document, "</Animation></Animations>", "</Animation>" + std::string(kSecondAnimation));
    TestScene scene;
    ASSERT_EQ(scene.load(document), 0);
    ASSERT_EQ(scene->getMgrEx(6)->getAnimations()->getNbObjects(), 2);
    EXPECT_STREQ(scene->getMgrEx(6)->getAnimations()->getScnObject(1)->getName(), "Second");
    EXPECT_EQ(scene.feedback.warnings,
              Strings{"Exception in IScnAnimation::initWithXML : Invalid label (Vector4) [Double..Enum]"});
}

}  // namespace
