// Token records of older scenes read from small documents written by hand: lights and their list,
// points, the keyword-driven options with every value form and diagnostic, and the sun rule of
// old documents fired by a legacy lights block.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/LegacyIO.h"
#include "document/LegacyScene.h"
#include "document/Sections.h"
#include "model/Fields.h"
#include "model/Scene.h"
#include "support/TestSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::TestScene;
using Strings = std::vector<std::string>;

// Runs read over a token reader on text; answers "" or the failure text.
std::string readText(CSCN& scene, const std::string& text, const std::function<void(CTokenReader&)>& read)
{
    MemoryStream stream(text);
    CTokenReader reader(&stream, &scene);
    try {
        read(reader);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

std::string readLights(CSCN& scene, const std::string& text)
{
    return readText(scene, text, [&](CTokenReader& reader) { Sections::readLegacyLights(scene, reader); });
}

std::string readOptions(CSCN& scene, const std::string& text)
{
    return readText(scene, text, [&](CTokenReader& reader) { COPTIO(scene, reader).read(); });
}

std::string colorText(const CScnColor& color)
{
    return std::to_string(color.red) + " " + std::to_string(color.green) + " " + std::to_string(color.blue);
}

std::string signedColorText(const CScnColor& color)
{
    return std::to_string(static_cast<signed char>(color.red)) + " " +
           std::to_string(static_cast<signed char>(color.green)) + " " +
           std::to_string(static_cast<signed char>(color.blue));
}

std::string vectorText(const CScnVector& v)
{
    char text[96];
    std::snprintf(text, sizeof text, "%g %g %g", v.x, v.y, v.z);
    return text;
}

std::string realText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

const char* const kTwoLights =
    "2\n"
    "1 \"Lampe du salon\"\n"
    "Y 10 20 30 1 2 3\n"
    "255 128 0 25.5 1 500\n"
    "45 0.75\n"
    "2 0.5 512 0.25\n"
    "0 U\"Sun \xC3\xA9t\xC3\xA9\"\n"
    "N 0 1000 0 0 0 0\n"
    "0.5 1 1 0.5 0 0\n"
    "400 2\n"
    "0 0.1 -3 0.3\n";

TEST(LegacyRecords, LightRecordsSetEveryFieldThroughTheSetters)
{
    TestScene scene;
    scene->getLights()->newScnObject(kScnLastIndex);
    ASSERT_EQ(readLights(scene.core(), kTwoLights), "");
    ASSERT_EQ(scene->getLights()->getNbObjects(), 2);

    CLight first(nullptr);
    first.setType(kScnLightSpot);
    first.setName("Lampe du salon");
    first.setActive(true);
    CScnVector position{10, 20, 30};
    CScnVector target{1, 2, 3};
    first.setPosition(&position);
    first.setTarget(&target);
    CScnColor color{0, 255, 128, 0};
    first.setColor(&color);
    first.setPower(25.5);
    first.setDistanceNear(1);
    first.setDistanceFar(500);
    first.setConeAngle(45);
    first.setSharpness(0.75);
    first.setShadowType(kScnShadowSoft);
    first.setShadowPower(0.5);
    first.setMapSize(512);
    first.setBias(0.25);
    CLight* read = scene.core().lights().at(0);
    first.setUUID(read->getUUID());
    EXPECT_EQ(dumpFields(*read), dumpFields(first));

    // The second light: a Windows-1252 name would be converted, a U"..." one is taken as it is;
    // the colour written with a decimal point is scaled; the ranges of the setters apply.
    CLight* second = scene.core().lights().at(1);
    EXPECT_STREQ(second->getName(), "Sun \xC3\xA9t\xC3\xA9");
    EXPECT_FALSE(second->isActive());
    EXPECT_EQ(vectorText(*second->getPosition()), "0 1000 0");
    EXPECT_EQ(colorText(*second->getColor()), "127 1 1");
    EXPECT_EQ(second->getPower(), 1.0);
    EXPECT_EQ(second->getConeAngle(), 360.0);
    EXPECT_EQ(second->getSharpness(), 1.0);
    EXPECT_EQ(second->getMapSize(), 0);
    EXPECT_EQ(scene.feedback.warnings, Strings{});
}

TEST(LegacyRecords, LightRecordsCutShortOrOutOfRangeFail)
{
    const std::string head = "1\n1 \"L\"\n";
    const std::string rest = "Y 0 0 0 0 0 0 1 1 1 3 0 0 20 0.5 ";
    const struct {
        const char* name;
        std::string text;
        const char* outcome;
        int count;
    } cases[] = {
        {"count missing", "", "This is not a number", 1},
        {"negative count", "-1\n", "Invalid table length", 1},
        {"cut in the point", head + "Y 1 2", "This is not a number", 1},
        {"cut in the name", "1\n1 \"Lam", "End of file unexpected", 1},
        {"cut after the first of two", std::string(kTwoLights).substr(0, 80).replace(0, 1, "3"),
         "This is not a number", 2},
        {"flag of another word", head + "Oui 0 0 0", "Reading wrong data type!", 1},
        {"light type without label", "1\n3 \"L\"\n", "CLightIO::read() - invalid light type", 1},
        {"shadow type without label", head + rest + "3 0 0 0", "CLightIO::read() - invalid shadow type", 1},
        {"decimal map size", head + rest + "0 0.1 2.5 0.3", "This is not an integer", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        scene->getLights()->newScnObject(kScnLastIndex);
        EXPECT_EQ(readLights(scene.core(), c.text), c.outcome);
        EXPECT_EQ(scene->getLights()->getNbObjects(), c.count);
    }
}

// A record of a light group: its name alone.
class NameIO {
public:
    explicit NameIO(CTokenReader* reader) : mReader(reader) {}
    void read(CScnLightsGroup& group) { group.setName(mReader->readUnicodeText().c_str()); }

private:
    CTokenReader* mReader;
};

TEST(LegacyRecords, ListsOfAnyKindReadACountThenTheirRecords)
{
    TestScene scene;
    scene->getLightsGroups()->newScnObject(kScnLastIndex);
    EXPECT_EQ(readText(scene.core(), "2 \"Hall\" \"Yard\"",
                       [&](CTokenReader& reader) {
                           TObjectMgrIO<CScnLightsGroup, IScnLightsGroup, NameIO>(&reader).read(
                               scene.core().lightsGroups());
                       }),
              "");
    ASSERT_EQ(scene->getLightsGroups()->getNbObjects(), 2);
    EXPECT_STREQ(scene->getLightsGroups()->getScnObject(0)->getName(), "Hall");
    EXPECT_STREQ(scene->getLightsGroups()->getScnObject(1)->getName(), "Yard");
}

TEST(LegacyRecords, ReadersMadeWithoutReaderNameTheirClass)
{
    TestScene scene;
    const struct {
        const char* name;
        std::function<void()> read;
        const char* outcome;
    } cases[] = {
        {"lights list", [&] { TObjectMgrIO<CLight, CScnLight, CLightIO>(nullptr).read(scene.core().lights()); },
         "No reader provided in TObjectMgrIO specializing CLight!"},
        {"other list",
         [&] {
             TObjectMgrIO<CScnLightsGroup, IScnLightsGroup, NameIO>(nullptr).read(scene.core().lightsGroups());
         },
         "No reader provided in TObjectMgrIO!"},
        {"light", [&] { CLight light(nullptr); CLightIO(nullptr).read(light); }, "No reader provided in CLightIO!"},
        {"point", [&] { CScnVector point; CPointIO(nullptr).read(point); }, "No reader provided in CPointIO!"},
    };
    for (const auto& c : cases) {
        try {
            c.read();
            ADD_FAILURE() << c.name << " did not fail";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.outcome) << c.name;
        }
    }
}

TEST(LegacyRecords, PointsPassThroughTheVectorFixUp)
{
    TestScene scene;
    CScnVector point{};
    scene.core().setLegacyFile(true);
    EXPECT_EQ(readText(scene.core(), "1 2.5 -3", [&](CTokenReader& reader) { CPointIO(&reader).read(point); }), "");
    scene.core().setLegacyFile(false);
    EXPECT_EQ(vectorText(point), "1 -3 2.5");
}

// The heliodons section of a saved scene whose heliodon 0 is the inactive "Heliodon" of old
// scenes.
std::string oldHeliodons()
{
    TestScene written;
    written->getHeliodon()->setName("Heliodon");
    written->getHeliodon()->setActive(false);
    std::string saved = written.save();
    size_t start = saved.find("<Heliodons");
    size_t end = saved.find("</Heliodons>");
    return saved.substr(start, end + std::string("</Heliodons>").size() - start);
}

TEST(LegacyRecords, AnOldDocumentsSunLightGivesWayToItsHeliodon)
{
    const std::string old = "library=\"1.5\" file=\"4.0\"";
    const std::string lights =
        "<Lights><![CDATA[2\n"
        "0 \"Lamp\"\nY 1 2 3 0 0 0 255 255 255 3 0 0 20 0.5 0 0.1 0 0.3\n"
        "2 \"Sun\"\nY 100 200 300 0 0 0 255 255 200 10 0 0 20 0.5 1 0.1 0 0.3\n"
        "]]></Lights>";
    const struct {
        const char* name;
        std::string creator;
        bool converted;
    } cases[] = {{"another program's scene", "ArchiCAD", true}, {"the product's own scene", "Kestrovin", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        ASSERT_EQ(scene.load(ScnTest::sceneDocument(old, oldHeliodons() + lights, c.creator)), 0)
            << (scene.feedback.warnings.empty() ? "" : scene.feedback.warnings[0]);
        ASSERT_EQ(scene->getLights()->getNbObjects(), 2);
        CScnLight* sun = scene->getLights()->getScnObject(1);
        EXPECT_STREQ(sun->getName(), "Sun");
        // y and z of old documents are exchanged on reading.
        EXPECT_EQ(vectorText(*sun->getPosition()), "100 300 200");
        EXPECT_EQ(sun->isActive(), !c.converted);
        EXPECT_TRUE(scene->getLights()->getScnObject(0)->isActive());
        EXPECT_EQ(scene->getHeliodon()->isActive(), c.converted);
        EXPECT_EQ(scene->getHeliodon()->getSunshine(), c.converted ? 0.6 : 0.5);
        EXPECT_EQ(scene.feedback.warnings, Strings{});
        // The block is not written again: the lights are saved as a "Lights" section.
        std::string saved = scene.save();
        EXPECT_EQ(saved.find("CDATA[2"), std::string::npos);
        EXPECT_NE(saved.find("<Lights>"), std::string::npos);
    }
}

TEST(LegacyRecords, PathsBecomeFileUrls)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\My Scenes\\100%\\wood.tif", "file:///C|/My%20Scenes/100%25/wood.tif"},
        {"/home/me/a b.tga", "file:////home/me/a%20b.tga"},
        {"", "file:///"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LegacyValues::pathToUrl(c.first), c.second) << c.first;
    }
}

// ---- The keyword-driven options ----

struct OptionCase {
    const char* name;
    std::string text;
    std::function<std::string(CSCN&)> probe;
    std::string expected;
};

class OptionValues : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionValues, SetWhatTheyName)
{
    const OptionCase& c = GetParam();
    TestScene scene;
    EXPECT_EQ(readOptions(scene.core(), "version 4 0\n" + c.text + "\n"), "");
    EXPECT_EQ(c.probe(scene.core()), c.expected);
    EXPECT_EQ(scene.feedback.warnings, Strings{});
}

CScnRenderingOpt* studyRendering(CSCN& s)
{
    return s.getHeliodonOpt()->getRenderingOpt();
}

std::string renderingText(CScnRenderingOpt* o)
{
    return std::to_string(o->isRaytracing()) + std::to_string(o->isShadow()) + std::to_string(o->isTransparency()) +
           std::to_string(o->isRenderAll()) + std::to_string(o->isAlpha()) + " " +
           std::to_string(o->getNbReflection()) + " " + std::to_string(o->getNbRefraction()) + " " +
           std::to_string(o->getWidth()) + "x" + std::to_string(o->getHeight()) + " " +
           std::to_string(o->getOutputType()) + " " + std::to_string(o->getAntialias()) + " " + o->getURL();
}

std::string compressionText(CScnCompressionOpt* o)
{
    return std::to_string(o->getCodec()) + " " + std::to_string(o->getDepth()) + " " +
           std::to_string(o->getSpatialQuality()) + " " + std::to_string(o->getTemporalQuality()) + " " +
           realText(o->getFrameRate()) + " " + std::to_string(o->getKeyFrameRate());
}

std::string timeText(const CScnTime* t)
{
    return std::to_string(t->getDay()) + "/" + std::to_string(t->getMonth()) + " " + std::to_string(t->getHour()) +
           ":" + std::to_string(t->getMinute());
}

CScnCompressionOpt* compressionOf(CScnRenderingOpt* o)
{
    return dynamic_cast<IScnViewOpt*>(o)->getCompressionOpt();
}

// The same rendering settings through each view kind's prefix.
std::vector<OptionCase> renderingCases()
{
    const struct {
        const char* prefix;
        std::function<CScnRenderingOpt*(CSCN&)> options;
    } kinds[] = {
        {"-render", [](CSCN& s) { return s.getPerspectiveViewsOpt(); }},
        {"-vr", [](CSCN& s) { return s.getPanoramaOpt(); }},
        {"-anim", [](CSCN& s) { return s.getAnimationsOpt(); }},
        {"-vrobj", [](CSCN& s) { return s.getViewObjectsOpt(); }},
    };
    std::vector<OptionCase> cases;
    for (const auto& kind : kinds) {
        std::string p = kind.prefix;
        auto options = kind.options;
        std::string text = p + "_reflex 5 " + p + "_refrac 7 " + p + "_raytracing N " + p + "_shadows N " + p + "_transparency N " + p + "_render_all N " +
                           p + "_alpha Y " + p + "_output_type 13 " + p + "_antialias 3\n" + p +
                           "_output_folder C:\\Out put\\\n" + p + "_output \"frame.tif\"\n";
        text += p + "_size 640 480 " + p + "_compression 1298494051 24 768 256 25 12";
        cases.push_back({kind.prefix, text,
                         [options](CSCN& s) {
                             return renderingText(options(s)) + " | " + compressionText(compressionOf(options(s)));
                         },
                         "00001 5 7 640x480 13 3 file:///C|/Out%20put/frame.tif | 1298494051 24 768 256 25 12"});
    }
    cases.push_back({"plain perspective words",
                     "-raytracing N -shadows N -transparency N -render_all N -reflex 1 -refrac 3 -antialias 1 "
                     "-render_size 800 600 -output \"a.tga\"",
                     [](CSCN& s) { return renderingText(s.getPerspectiveViewsOpt()); },
                     "00000 1 3 800x600 2 1 file:///a.tga"});
    cases.push_back({"perspective words with render_",
                     "-render_raytracing N -render_shadows Y -render_transparency N -render_render_all N "
                     "-render_reflex 4 -render_refrac 9 -render_antialias 2 -render_output b.bmp\n"
                     "-render_output_type 4 -resolution 300",
                     [](CSCN& s) {
                         return renderingText(s.getPerspectiveViewsOpt()) + " " +
                                std::to_string(s.getPerspectiveViewsOpt()->getImageResolution());
                     },
                     "01000 4 9 320x240 4 2 file:///b.bmp 300"});
    cases.push_back({"panorama resolution", "-vr_resolution 3",
                     [](CSCN& s) { return std::to_string(s.getPanoramaOpt()->getPanoramaResolution()); }, "3"});
    cases.push_back({"animation range", "-anim_first_last 10 250",
                     [](CSCN& s) {
                         return std::to_string(s.getAnimationsOpt()->getRenderFirst()) + " " +
                                std::to_string(s.getAnimationsOpt()->getRenderLast());
                     },
                     "10 250"});
    cases.push_back({"heliodon study rendering",
                     "-helio_ss_shadows N -helio_ss_transparency N -heliodon_ss_render_all N -helio_ss_reflex 3 "
                     "-helio_ss_refrac 4 -helio_ss_size 100 50 -helio_ss_output_type 5 -helio_ss_antialias 1\n"
                     "-helio_ss_output_folder /renders\n-helio_ss_output sun.jpg\n"
                     "-helio_ss_compression 1 2 3 4 12.5 6",
                     [](CSCN& s) {
                         return renderingText(studyRendering(s)) + " | " +
                                compressionText(s.getHeliodonOpt()->getCompressionOpt());
                     },
                     "10000 3 4 100x50 5 1 file:////renders/sun.jpg | 1 2 3 4 12.5 6"});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Rendering, OptionValues, ::testing::ValuesIn(renderingCases()),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

std::string backgroundText(CSCN& s)
{
    CScnBackground* b = s.getBackground();
    return std::to_string(b->getImageType()) + " " + b->getImage() + " | " + colorText(*b->getColor()) + " | " +
           colorText(*b->getSecondColor()) + " | " + vectorText(*b->getUpDirection()) + " | " +
           realText(b->getLinePower()) + " | " + vectorText(*b->getOrigin());
}

std::string atmosphereText(CSCN& s)
{
    CScnAtmosphere* a = s.getAtmosphere();
    return std::to_string(a->isUsed()) + " " + colorText(*a->getColor()) + " " + realText(a->getHighDensity()) + " " +
           realText(a->getMediumDensity()) + " " + realText(a->getLowDensity()) + " " + realText(a->getScale()) +
           " " + realText(a->getMinDistance()) + " " + realText(a->getMaxDistance()) + " " + realText(a->getNoise());
}

std::string studyText(CSCN& s)
{
    CScnHeliodonOpt* o = s.getHeliodonOpt();
    return std::to_string(o->getFrequencyType()) + " " + std::to_string(o->getFrequencyUnit()) + " " +
           realText(o->getFrequencyValue()) + " " + std::to_string(o->isAllRange()) + " " +
           realText(o->getMovieDuration()) + " " + timeText(o->getStartTime()) + " - " + timeText(o->getEndTime());
}

std::string cameraText(CSCN& s)
{
    std::string text;
    for (size_t i = 0; i < s.cameras().size(); ++i) {
        CCamera* c = s.cameras().at(i);
        text += std::string(c->getName()) + " " + vectorText(*c->getPosition()) + " " + vectorText(*c->getTarget()) +
                " " + realText(c->getFocal()) + "; ";
    }
    return text;
}

const OptionCase kSceneCases[] = {
    {"background colours", "-bgtop 255 0 128 -bgbot 0.5 1 1 -bgup 0 1 0 -bgpow 50 -bglevel 0",
     backgroundText, "0  | 255 0 128 | 127 1 1 | 0 1 0 | 50 | 0 0 0"},
    {"background image", "-backmapping 1\n-bgmap C:\\Images\\sky.tif\n", backgroundText,
     "1 file:///C|/Images/sky.tif | 255 255 255 | 0 100 255 | 1.29615 1 0 | 1 | 0 0 0"},
    {"other background image word", "-bg_map \"d:\\b g.png\" -backmapping 4", backgroundText,
     "4 file:///d|/b%20g.png | 255 255 255 | 0 100 255 | 1.29615 1 0 | 1 | 0 0 0"},
    {"background url", "-bg_url \"http://example.org/a b.jpg\"", backgroundText,
     "0 http://example.org/a b.jpg | 255 255 255 | 0 100 255 | 1.29615 1 0 | 1 | 0 0 0"},
    {"motif", "-motif \"tiles.tif\"", backgroundText,
     "3 file:///tiles.tif | 255 255 255 | 0 100 255 | 1.29615 1 0 | 1 | 0 0 0"},
    {"metasphere", "-metasphere \"sphere.tif\" -metasphereangle 360.0 -metasphereorigin 1 2 3", backgroundText,
     "2 file:///sphere.tif | 255 255 255 | 0 100 255 | 1.29615 1 0 | 1 | 1 2 3"},
    {"atmosphere",
     "-atm_on Y -atm_color 10 20 30 -atm_dens_high 0.9 -atm_dens_midle 0.5 -atm_dens_low 0.25 -atm_scale 3 "
     "-atm_mini 10 -atm_maxi 900 -atm_noise 0.125",
     atmosphereText, "1 10 20 30 0.9 0.5 0.25 3 10 900 0.125"},
    {"atmosphere middle density", "-atm_dens_middle 0.75", atmosphereText, "0 221 221 221 0.6 0.75 0.6 2 0 0 0"},
    {"ambient", "-ambient -10 20 63",
     [](CSCN& s) { return std::to_string(s.getAmbient()->isUsed()) + " " + signedColorText(*s.getAmbient()->getColor()); },
     "1 -10 20 63"},
    {"ambiant", "-ambiant 1 2 3", [](CSCN& s) { return signedColorText(*s.getAmbient()->getColor()); }, "1 2 3"},
    {"heliodon", "-heliodon_h 21 6 14 30 -heliodon_pt 140 2932 60",
     [](CSCN& s) {
         CScnPlace* p = s.getHeliodon()->getPlace();
         return timeText(s.getHeliodon()->getTime()) + " " + std::to_string(p->getLongitude()) + " " +
                std::to_string(p->getLatitude()) + " " + std::to_string(p->getTimeZone());
     },
     "21/6 14:30 140 2932 60"},
    {"daily study",
     "-heliodon_es 1 -helio_ss_freq_min 15 -helio_ss_this_day 21 6 -helio_ss_this_hr 8 0 -helio_ss_hr_period 8 18 -helio_ss_duree_img 2.5",
     studyText, "1 1 15 0 2.5 21/6 8:0 - 21/6 18:0"},
    {"yearly study", "-helio_ss_typ_freq_yr -helio_ss_freq_mth 1 -helio_ss_this_day 1 1 -helio_ss_this_hr 12 15 "
                     "-helio_ss_mth_period 3 9 "
                     "-helio_ss_in_year Y",
     studyText, "2 4 1 1 0 1/3 12:15 - 1/9 12:15"},
    {"study by hours and days", "-helio_ss_typ_freq_yr -helio_ss_typ_freq_day -helio_ss_freq_day 2 -helio_ss_freq_hr 3",
     [](CSCN& s) {
         CScnHeliodonOpt* o = s.getHeliodonOpt();
         return std::to_string(o->getFrequencyType()) + " " + std::to_string(o->getFrequencyUnit()) + " " +
                realText(o->getFrequencyValue());
     },
     "1 2 3"},
    {"study frame rate", "-helio_ss_fframe_rate 12.5",
     [](CSCN& s) { return realText(s.getHeliodonOpt()->getCompressionOpt()->getFrameRate()); }, "12.5"},
    {"views", "-eye 1 2 3\n-mpov \"Main\" 10 20 30 0 0 0 35\n-acam U\"Vue \xC3\xA9t\xC3\xA9\" 5 5 5 1 1 1 90",
     cameraText, "Main 10 20 30 0 0 0 35; Vue \xC3\xA9t\xC3\xA9 5 5 5 1 1 1 90; "},
    {"panorama", "-pano \"Hall\" 1 2 3 90 40\n-pano \"Yard\" 0 0 0 0 50\n-link 0 45 1 225",
     [](CSCN& s) {
         CScnPanorama& p = *s.panoramas().at(0);
         CVRPanorama* node = p.nodes().at(0);
         CVRPanoLink* link = p.links().at(0);
         return std::to_string(p.nodes().size()) + " " + node->getName() + " " + vectorText(*node->getPosition()) +
                " " + realText(node->getDirection()) + " " + realText(node->getFocal()) + " | " +
                std::to_string(link->getPano1()->getIndex()) + " " + realText(link->getPano1()->getDirection()) +
                " " + std::to_string(link->getPano2()->getIndex()) + " " + realText(link->getPano2()->getDirection());
     },
     "2 Hall 1 2 3 90 40 | 0 45 1 225"},
    {"view object", "-view_object \"Vase\" 1 2 3 250 24",
     [](CSCN& s) {
         CViewObject* o = s.viewObjects().at(0);
         return std::string(o->getName()) + " " + vectorText(*o->getCenter()) + " " + realText(o->getRadius()) + " " +
                realText(o->getFocal());
     },
     "Vase 1 2 3 250 24"},
    {"camera path", "-anim 1 \"Tour\"\n8 12 1.5\n1 1 2 3\n0",
     [](CSCN& s) {
         IScnCameraPath* path = s.getCameraPath();
         return std::string(path->getName()) + " " + realText(path->getDuration()) + " " +
                std::to_string(path->getNbXImage()) + " " + std::to_string(path->isClosed()) + " " +
                std::to_string(path->getPoints()->getNbObjects());
     },
     "Tour 8 12 1 1"},
    {"geometry file", "-dbfile C:\\Old\\house.db   ", [](CSCN& s) { return s.getLegacyPath(); }, "C:\\Old\\house.db"},
};

INSTANTIATE_TEST_SUITE_P(Scene, OptionValues, ::testing::ValuesIn(kSceneCases),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LegacyRecords, OptionDiagnostics)
{
    const std::pair<const char*, const char*> cases[] = {
        {"-backmapping 5", "Incompatible bg value"},
        {"-metasphereangle 180", "metasphereangle must be 360.0"},
        {"-bglevel 0.5", "bglevel must be 0.0"},
        {"-heliodon_es 3", "COPTIO::read() - -heliodon_es (invalid film type)"},
        {"-vr_output_type 14", "COPTIO::read() - -vr_output_type (invalid out type)"},
        {"-anim_output_type -1", "COPTIO::read() - -anim_output_type (invalid out type)"},
        {"-vrobj_output_type 99", "COPTIO::read() - -vrobj_output_type (invalid out type)"},
        {"-render_output_type 20", "Error in COPTIO::read()!"},
        {"-helio_ss_output_type 20", "Error in COPTIO::read()!"},
        {"-antialias 4", "Error in COPTIO::read()!"},
        {"-ambient 1 2 3 4", "Error in COPTIO::read()!"},
        {"-sparkle 2", "Unrecognize token"},
        {"-atm_on 1", "Reading wrong data type!"},
        {"-render_size 640", "This is not a number"},
        {"-acam \"Cut\" 1 2", "This is not a number"},
        {"-anim 7 \"x\"", "Wrong animation flag!"},
    };
    for (const auto& c : cases) {
        TestScene scene;
        EXPECT_EQ(readOptions(scene.core(), std::string("opt db version 3 5\n") + c.first), c.second) << c.first;
    }
}

}  // namespace
