// The document sections of views, environment and options: layout order of a new scene, a round
// trip of a whole scene through the writer's bytes, and the older forms the readers accept.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/Sections.h"
#include "model/HeliodonOpt.h"
#include "model/Views.h"
#include "support/Failures.h"
#include "support/ViewSupport.h"

namespace {

using namespace ViewTest;

class SectionsScene : public SceneFixture {};

using SectionStep = void (*)(CSCN&, XIXMLElement*);

// The sections of views, environment and options, each with its writer and its reader, in the
// document's writer order.
struct SectionSteps {
    SectionStep write;
    SectionStep read;
};
const SectionSteps kSections[] = {
    {&Sections::writePreview, &Sections::readPreview},
    {&Sections::writeHeliodons, &Sections::readHeliodons},
    {&Sections::writeHeliodonOptions, &Sections::readHeliodonOptions},
    {&Sections::writeAmbient, &Sections::readAmbient},
    {&Sections::writeAtmosphere, &Sections::readAtmosphere},
    {&Sections::writeBackground, &Sections::readBackground},
    {&Sections::writePerspectiveViews, &Sections::readPerspectiveViews},
    {&Sections::writeParallelViews, &Sections::readParallelViews},
    {&Sections::writePanoramas, &Sections::readPanoramas},
    {&Sections::writePanoramaOptions, &Sections::readPanoramaOptions},
    {&Sections::writeAnimations, &Sections::readAnimations},
    {&Sections::writeAnimationOptions, &Sections::readAnimationOptions},
    {&Sections::writeViewObjects, &Sections::readViewObjects},
    {&Sections::writeWorkingWindow, &Sections::readWorkingWindow},
    {&Sections::writeGrounds, &Sections::readGrounds}};
// The document's reader order, as indices into kSections.
const size_t kReaderOrder[] = {0, 6, 1, 2, 7, 8, 9, 10, 11, 12, 3, 4, 5, 13, 14};

void writeSections(CSCN& scene, XIXMLElement* file)
{
    for (const SectionSteps& section : kSections) {
        section.write(scene, file);
    }
}

void readSections(CSCN& scene, XIXMLElement* file)
{
    for (size_t index : kReaderOrder) {
        kSections[index].read(scene, file);
    }
}

// The dumps of everything these sections hold.
std::string dumpSections(CSCN& scene)
{
    std::string out;
    auto add = [&out](const char* name, const std::string& dump) { out += std::string("# ") + name + "\n" + dump; };
    add("preview", dumpFields(static_cast<CRenderingOpt&>(*scene.getPreviewRenderingOpt())));
    add("study", dumpFields(static_cast<CHeliodonOpt&>(*scene.getHeliodonOpt())));
    add("ambient", dumpFields(static_cast<CAmbiance&>(*scene.getAmbient())));
    add("atmosphere", dumpFields(static_cast<CAtmosphere&>(*scene.getAtmosphere())));
    add("background", dumpFields(static_cast<CBackground&>(*scene.getBackground())));
    add("perspective options", dumpFields(scene.perspectiveViewsOptions()));
    add("parallel options", dumpFields(static_cast<CParallelViewRenderingOpt&>(*scene.getParallelViewsOpt())));
    add("panorama options", dumpFields(static_cast<CVRRenderingOpt&>(*scene.getPanoramaOpt())));
    add("animation options", dumpFields(static_cast<CAnimRenderingOpt&>(*scene.getAnimationsOpt())));
    add("object options", dumpFields(static_cast<CAnimRenderingOpt&>(*scene.getViewObjectsOpt())));
    for (size_t i = 0; i < scene.cameras().size(); ++i) {
        add("camera", dumpFields(*scene.cameras().at(i)));
    }
    for (size_t i = 0; i < scene.parallelViews().size(); ++i) {
        add("parallel view", dumpFields(*scene.parallelViews().at(i)));
    }
    for (size_t i = 0; i < scene.viewObjects().size(); ++i) {
        add("object view", dumpFields(*scene.viewObjects().at(i)));
    }
    for (size_t i = 0; i < scene.workingWindowViews().size(); ++i) {
        add("working window view", dumpFields(*scene.workingWindowViews().at(i)));
    }
    for (size_t i = 0; i < scene.grounds().size(); ++i) {
        add("ground", dumpFields(*scene.grounds().at(i)));
    }
    return out;
}

// Gives a scene views, grounds and options that differ from a new scene's.
void fillScene(CSCN& scene)
{
    CScnColor color{0, 1, 2, 3};
    scene.getAmbient()->setColor(&color);
    scene.getAtmosphere()->setNoise(0.5);
    scene.getBackground()->setImageType(4);
    scene.getBackground()->setImage("file:///sky.tif");
    scene.getPreviewRenderingOpt()->setWidth(800);
    scene.getPerspectiveViewsOpt()->setAlpha(true);
    scene.getParallelViewsOpt()->setAntialias(3);
    scene.getPanoramaOpt()->setPanoramaResolution(4);
    scene.getAnimationsOpt()->setRenderLast(250);
    scene.getViewObjectsOpt()->setOutputType(12);
    scene.getHeliodonOpt()->setFrequencyType(1);
    scene.getHeliodonOpt()->getCompressionOpt()->setKeyFrameRate(12);
    for (int i = 0; i < 2; ++i) {
        CScnCamera* camera = scene.getPerspectiveViews()->newScnObject(kScnLastIndex);
        camera->setName(i == 0 ? "North" : "South <&>");
        camera->setFocal(20 + i);
        camera->getViewInfo()->setHeliodonName("Noon");
        camera->getViewInfo()->getLayers()->newScnObject(kScnLastIndex);
        camera->getViewOpt()->getCompressionOpt()->setDepth(24);
    }
    scene.getPerspectiveViews()->getScnObject(1)->setCurrent();
    scene.getParallelViews()->newScnObject(kScnLastIndex)->setPVType(2);
    scene.getWorkingWindowViews()->newScnObject(kScnLastIndex)->setPVType(0);
    scene.getViewObjects()->newScnObject(kScnLastIndex)->setRadius(250);
    scene.getGrounds()->newScnObject(kScnLastIndex)->setHeight(-5);
}

TEST_F(SectionsScene, ANewSceneWritesItsSectionsInTheLayoutOrder)
{
    ScnTest::XmlDocument document("Scn.File");
    writeSections(scene(), document.top());
    Strings mine;
    const Strings layout = {"Preview",         "Heliodons",      "Ambient",    "Atmosphere",
                            "Background",      "Perspective.Views", "Parallel.Views", "Panoramas",
                            "Animations",      "View.Objects",   "Working.Window", "Grounds"};
    for (const std::string& name : ViewTest::childNames(document.top())) {
        if (std::find(layout.begin(), layout.end(), name) != layout.end()) {
            mine.push_back(name);
        }
    }
    EXPECT_EQ(mine, layout);
    for (const char* list : {"Preview", "Heliodons", "Perspective.Views", "Parallel.Views", "Panoramas",
                             "Animations", "View.Objects"}) {
        XIXMLElement* element = XmlForm::findChild(document.top(), list);
        ASSERT_NE(element, nullptr) << list;
        XIXMLElement* options = XmlForm::findChild(element, "Options");
        ASSERT_NE(options, nullptr) << list;
        EXPECT_EQ(ViewTest::childNames(options).front(), "Rendering") << list;
    }
    EXPECT_EQ(ViewTest::childNames(XmlForm::findChild(document.top(), "Working.Window")), Strings{"Parallel.Views"});
    EXPECT_EQ(warnings(), Strings{});
}

// The round trip of a scene's sections through the written bytes.
void expectSectionsRoundTrip(CSCN& scene)
{
    fillScene(scene);
    ScnTest::XmlDocument document("Scn.File");
    writeSections(scene, document.top());
    std::string bytes = ScnTest::writeElement(document.top());
    EXPECT_NE(bytes.find("<Radius>250.000000</Radius>"), std::string::npos);
    Parsed parsed(bytes);

    ScnTest::RecordingFeedback feedback;
    CScnMgr* other = CScnMgr::create(&feedback, nullptr);
    CSCN& read = *static_cast<CSCN*>(other);
    readSections(read, parsed.element());
    EXPECT_EQ(dumpSections(read), dumpSections(scene));
    EXPECT_EQ(feedback.warnings, Strings{});
    EXPECT_EQ(*read.cameras().at(0)->getViewInfo()->getUUID(), *scene.cameras().at(0)->getViewInfo()->getUUID());
    EXPECT_TRUE(read.cameras().at(1)->isCurrent());
    other->release();
}

TEST(SectionsRoundTrip, SectionsComeBackThroughTheWrittenBytesInEveryLocale)
{
    ScnTest::inPlainAndCommaLocales([](bool) {
        ScnTest::RecordingFeedback feedback;
        CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
        expectSectionsRoundTrip(*static_cast<CSCN*>(manager));
        manager->release();
    });
}

TEST_F(SectionsScene, ReadersAcceptTheOlderBackgroundAndKeepListsWithoutItems)
{
    scene().getPerspectiveViews()->newScnObject(kScnLastIndex)->setName("Kept");
    Parsed parsed("<Scn.File><Backgroung Image.Type=\"3D\" Color.Type=\"None\"><Color R=\"1\" G=\"2\" B=\"3\"/>"
                  "<Second.Color R=\"4\" G=\"5\" B=\"6\"/><Up.Direction X=\"0\" Y=\"1\" Z=\"0\"/>"
                  "<Line.Power>50</Line.Power></Backgroung>"
                  "<Perspective.Views><Options><Rendering Output.Type=\"Tiff\" Antialias=\"No\">"
                  "<Nb.Reflections>1</Nb.Reflections><Nb.Refractions>1</Nb.Refractions><Height>1</Height>"
                  "<Width>1</Width><Render.First>0</Render.First><Render.Last>0</Render.Last></Rendering>"
                  "</Options></Perspective.Views><Working.Window/></Scn.File>");
    readSections(scene(), parsed.element());
    EXPECT_EQ(scene().getBackground()->getImageType(), 2);
    EXPECT_EQ(scene().getBackground()->getLinePower(), 50.0);
    EXPECT_EQ(scene().cameras().size(), 1u);
    EXPECT_STREQ(scene().cameras().at(0)->getName(), "Kept");
    EXPECT_EQ(scene().getPerspectiveViewsOpt()->getOutputType(), 13);
    EXPECT_EQ(warnings(), Strings{});
}

TEST_F(SectionsScene, TheWorkingWindowMustExistWhenItIsRead)
{
    Parsed parsed("<Scn.File/>");
    EXPECT_THROW(
        {
            try {
                Sections::readWorkingWindow(scene(), parsed.element());
            } catch (const std::runtime_error& error) {
                EXPECT_EQ(std::string(error.what()), ScnTest::nullPointerText());
                throw;
            }
        },
        std::runtime_error);
}

TEST_F(SectionsScene, TheOldImageElementHoldsThePerspectiveOptions)
{
    const char* const images[] = {
        "<Scn.File><Image><Rendering Output.Type=\"BMP\" Antialias=\"Good\"><Nb.Reflections>5</Nb.Reflections>"
        "<Nb.Refractions>1</Nb.Refractions><Height>1</Height><Width>1</Width><Render.First>0</Render.First>"
        "<Render.Last>0</Render.Last></Rendering><Scale>40</Scale><Resolution>9</Resolution></Image></Scn.File>",
        "<Scn.File><Image Output.Type=\"BMP\" Antialias=\"Good\"><Nb.Reflections>5</Nb.Reflections>"
        "<Nb.Refractions>1</Nb.Refractions><Height>1</Height><Width>1</Width><Render.First>0</Render.First>"
        "<Render.Last>0</Render.Last><Scale>40</Scale><Resolution>9</Resolution></Image></Scn.File>",
    };
    for (const char* image : images) {
        Parsed parsed(image);
        CAnimRenderingOpt& options = scene().perspectiveViewsOptions();
        options.setAntialias(0);
        Sections::readOldImage(scene(), parsed.element());
        EXPECT_EQ(options.getAntialias(), 1) << image;
        EXPECT_EQ(options.getNbReflection(), 5) << image;
        EXPECT_EQ(options.getParallelScale(), 40) << image;
        EXPECT_EQ(options.getImageResolution(), 9) << image;
    }
    EXPECT_EQ(warnings(), Strings{});
}

TEST_F(SectionsScene, StudyOptionsComeFromTheListOrFromTheOlderSingleHeliodon)
{
    CHeliodonOpt written(nullptr);
    written.setFrequencyType(2);
    written.setMovieDuration(8);
    ScnTest::XmlDocument holder("Heliodon");
    std::string options = ScnTest::writeElement(written.putInXML(holder.top()));
    const std::pair<std::string, double> cases[] = {
        {"<Scn.File><Heliodon>" + options + "</Heliodon></Scn.File>", 8},
        {"<Scn.File><Heliodons>" + options + "</Heliodons><Heliodon/></Scn.File>", 8},
        {"<Scn.File><Heliodons/><Heliodon>" + options + "</Heliodon></Scn.File>", 0},
    };
    for (const auto& c : cases) {
        scene().getHeliodonOpt()->setMovieDuration(0);
        Parsed parsed(c.first);
        Sections::readHeliodonOptions(scene(), parsed.element());
        EXPECT_EQ(scene().getHeliodonOpt()->getMovieDuration(), c.second) << c.first;
    }
    EXPECT_EQ(warnings(), Strings{});
}

TEST_F(SectionsScene, ABadViewIsReportedAndTheOthersAreRead)
{
    Parsed parsed("<Scn.File><Parallel.Views><Parallel.View PV.Type=\"Side\"><Name en=\"Bad\"/></Parallel.View>"
                  "<Parallel.View PV.Type=\"Front\"><Name en=\"Good\"/><View.Flags>0</View.Flags>"
                  "<North.Angle>0</North.Angle><Size>10</Size><Position X=\"0\" Y=\"0\" Z=\"0\"/>"
                  "<Target X=\"0\" Y=\"0\" Z=\"1\"/>" +
                  std::string("<View.Info><Lights.Groups/><Heliodon.Name en=\"\"/><Depth.Of.Field Type=\"FromPoint\">"
                              "<Clearness.Point X=\"0\" Y=\"0\" Z=\"0\"/><Clearness.Dist.Inv>0</Clearness.Dist.Inv>"
                              "<Clearness.Size.Inv>0</Clearness.Size.Inv></Depth.Of.Field>"
                              "<Renderer.Info><Name en=\"\"/></Renderer.Info></View.Info>"
                              "</Parallel.View></Parallel.Views></Scn.File>"));
    Sections::readParallelViews(scene(), parsed.element());
    ASSERT_EQ(scene().parallelViews().size(), 2u);
    EXPECT_STREQ(scene().parallelViews().at(0)->getName(), "Bad");
    EXPECT_STREQ(scene().parallelViews().at(1)->getName(), "Good");
    EXPECT_EQ(scene().parallelViews().at(1)->getSize(), 10.0);
    EXPECT_EQ(warnings(), Strings{"Exception in IScnParallelView::initWithXML : Invalid label (Side) [Front..Axono]"});
}

}  // namespace
