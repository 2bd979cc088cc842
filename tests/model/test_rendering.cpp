// Rendering, compression and heliodon study options: defaults, exact XML, clamping setters, the
// older placement of the scale, and reads that stop at bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "model/HeliodonOpt.h"
#include "model/RenderingOpt.h"
#include "support/Failures.h"
#include "support/ViewSupport.h"

namespace {

using namespace ViewTest;

const char* const kNewOptions =
    "<View>\n"
    "\t<Options>\n"
    "\t\t<Rendering\n"
    "\t\t\t Output.Type=\"CmpTGA\"\n"
    "\t\t\t Antialias=\"No\">\n"
    "\t\t\t<Raytracing/>\n"
    "\t\t\t<Shadow/>\n"
    "\t\t\t<Transparency/>\n"
    "\t\t\t<Nb.Reflections>2</Nb.Reflections>\n"
    "\t\t\t<Nb.Refractions>6</Nb.Refractions>\n"
    "\t\t\t<Height>240</Height>\n"
    "\t\t\t<Width>320</Width>\n"
    "\t\t\t<URL/>\n"
    "\t\t\t<Render.All/>\n"
    "\t\t\t<Render.First>0</Render.First>\n"
    "\t\t\t<Render.Last>0</Render.Last>\n"
    "\t\t\t<Scale.On/>\n"
    "\t\t\t<Scale>100</Scale>\n"
    "\t\t\t<Resolution>72</Resolution>\n"
    "\t\t\t<Resolution.Level>1</Resolution.Level>\n"
    "\t\t\t<Radiosity/>\n"
    "\t\t\t<Radiosity.Factor>1.000000</Radiosity.Factor>\n"
    "\t\t\t<Radiosity.Quality>4.000000</Radiosity.Quality>\n"
    "\t\t\t<Contrast>1.000000</Contrast>\n"
    "\t\t\t<Luminosity>0.000000</Luminosity>\n"
    "\t\t\t<Long.Range>96.000000</Long.Range>\n"
    "\t\t\t<Short.Range>4.000000</Short.Range>\n"
    "\t\t\t<First.Bounce>4.000000</First.Bounce>\n"
    "\t\t\t<Next.Bounces>1.000000</Next.Bounces>\n"
    "\t\t\t<Attenuation>0.300000</Attenuation>\n"
    "\t\t\t<ColorBleeding>1.000000</ColorBleeding>\n"
    "\t\t</Rendering>\n"
    "\t\t<Compression>\n"
    "\t\t\t<Codec>1918990112</Codec>\n"
    "\t\t\t<Depth>0</Depth>\n"
    "\t\t\t<Spacial.Quality>512</Spacial.Quality>\n"
    "\t\t\t<Temporal.Quality>0</Temporal.Quality>\n"
    "\t\t\t<Frame.Rate>0.000000</Frame.Rate>\n"
    "\t\t\t<Key.Frame.Rate>0</Key.Frame.Rate>\n"
    "\t\t</Compression>\n"
    "\t</Options>\n"
    "</View>";

// The items a "Rendering" element must hold; the others may be absent.
const char* const kRequiredRendering =
    "<Rendering Output.Type=\"JPEG\" Antialias=\"Good\"><Nb.Reflections>3</Nb.Reflections>"
    "<Nb.Refractions>4</Nb.Refractions><Height>480</Height><Width>640</Width>"
    "<Render.First>1</Render.First><Render.Last>9</Render.Last></Rendering>";

std::string writeOptions(IScnViewOpt& options)
{
    ScnTest::XmlDocument document("View");
    options.putInXML(document.top());
    return ScnTest::writeElement(document.top());
}

TEST(RenderingOptions, NewViewOptionsWriteTheirDefaultsInTableOrder)
{
    CAnimRenderingOpt options(nullptr);
    EXPECT_EQ(writeOptions(options), kNewOptions);
}

TEST(RenderingOptions, EachVariantGivesItsHeight)
{
    CRenderingOpt preview(nullptr);
    CAnimRenderingOpt perspective(nullptr);
    CParallelViewRenderingOpt parallel(nullptr);
    CVRRenderingOpt panorama(nullptr);
    EXPECT_EQ(preview.getHeight(), 240);
    EXPECT_EQ(perspective.getHeight(), 240);
    EXPECT_EQ(parallel.getHeight(), 240);
    EXPECT_EQ(panorama.getHeight(), 320);
}

TEST(RenderingOptions, ThePreviewWritesRenderingWithoutCompression)
{
    CRenderingOpt preview(nullptr);
    ScnTest::XmlDocument document("Preview");
    XIXMLElement* options = preview.putInXML(document.top());
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(ViewTest::childNames(document.top()), Strings{"Options"});
    EXPECT_EQ(ViewTest::childNames(options), Strings{"Rendering"});
}

TEST(RenderingOptions, OptionsShareAnExistingOptionsElement)
{
    CAnimRenderingOpt options(nullptr);
    ScnTest::XmlDocument document("View");
    XIXMLElement* existing = NvScn::XmlForm::addChild(document.top(), "Options");
    EXPECT_EQ(options.putInXML(document.top()), existing);
    EXPECT_EQ(options.getCompressionOpt()->putInXML(document.top()), existing);
    EXPECT_EQ(ViewTest::childNames(existing), (Strings{"Rendering", "Compression", "Compression"}));
}

struct ClampCase {
    const char* what;
    std::function<void(CScnRenderingOpt&)> set;
    std::function<double(CScnRenderingOpt&)> get;
    double stored;
    const char* report;  // null when the value is in range
};

class RenderingClampTest : public SceneFixture {};

TEST_F(RenderingClampTest, SettersClampAlwaysAndReportOnlyInsideAScene)
{
    const ClampCase cases[] = {
        {"reflections", [](CScnRenderingOpt& o) { o.setNbReflection(-1); },
         [](CScnRenderingOpt& o) { return o.getNbReflection(); }, 0,
         "class CRenderingOpt: Method setNbReflection has clipped a value out of range."},
        {"refractions", [](CScnRenderingOpt& o) { o.setNbRefraction(-7); },
         [](CScnRenderingOpt& o) { return o.getNbRefraction(); }, 0,
         "class CRenderingOpt: Method setNbRefraction has clipped a value out of range."},
        {"height", [](CScnRenderingOpt& o) { o.setHeight(-1); }, [](CScnRenderingOpt& o) { return o.getHeight(); },
         0, "class CRenderingOpt: Method setHeight has clipped a value out of range."},
        {"width", [](CScnRenderingOpt& o) { o.setWidth(-1); }, [](CScnRenderingOpt& o) { return o.getWidth(); }, 0,
         "class CRenderingOpt: Method setWidth has clipped a value out of range."},
        {"width in range", [](CScnRenderingOpt& o) { o.setWidth(640); },
         [](CScnRenderingOpt& o) { return o.getWidth(); }, 640, nullptr},
        {"first frame", [](CScnRenderingOpt& o) { o.setRenderFirst(-3); },
         [](CScnRenderingOpt& o) { return o.getRenderFirst(); }, 0,
         "class CRenderingOpt: Method setRenderFirst has clipped a value out of range."},
        {"last frame", [](CScnRenderingOpt& o) { o.setRenderLast(std::numeric_limits<int32_t>::min()); },
         [](CScnRenderingOpt& o) { return o.getRenderLast(); }, 0,
         "class CRenderingOpt: Method setRenderLast has clipped a value out of range."},
        {"scale", [](CScnRenderingOpt& o) { o.setParallelScale(-100); },
         [](CScnRenderingOpt& o) { return o.getParallelScale(); }, 0,
         "class CRenderingOpt: Method setParallelScale has clipped a value out of range."},
        {"resolution", [](CScnRenderingOpt& o) { o.setImageResolution(-72); },
         [](CScnRenderingOpt& o) { return o.getImageResolution(); }, 0,
         "class CRenderingOpt: Method setImageResolution has clipped a value out of range."},
        {"panorama resolution", [](CScnRenderingOpt& o) { o.setPanoramaResolution(-1); },
         [](CScnRenderingOpt& o) { return o.getPanoramaResolution(); }, 0,
         "class CRenderingOpt: Method setPanoramaResolution has clipped a value out of range."},
        {"radiosity factor", [](CScnRenderingOpt& o) { o.setRadiosityFactor(-0.5); },
         [](CScnRenderingOpt& o) { return o.getRadiosityFactor(); }, 0,
         "class CRenderingOpt:Method setRadiosityFactor has clipped a value out of range."},
        {"radiosity factor through the control",
         [](CScnRenderingOpt& o) { o.getRadiosityControl()->setRadiosityFactor(-2); },
         [](CScnRenderingOpt& o) { return o.getRadiosityControl()->getRadiosityFactor(); }, 0,
         "class CRenderingOpt:Method setRadiosityFactor has clipped a value out of range."},
        {"radiosity quality above", [](CScnRenderingOpt& o) { o.setRadiosityQuality(3e9); },
         [](CScnRenderingOpt& o) { return o.getRadiosityQuality(); }, 2147483647.0,
         "class CRenderingOpt: Method setRadiosityQuality has clipped a value out of range."},
        {"radiosity quality below", [](CScnRenderingOpt& o) { o.setRadiosityQuality(-1); },
         [](CScnRenderingOpt& o) { return o.getRadiosityQuality(); }, 0,
         "class CRenderingOpt: Method setRadiosityQuality has clipped a value out of range."},
        {"contrast", [](CScnRenderingOpt& o) { o.setContrast(-2); },
         [](CScnRenderingOpt& o) { return o.getContrast(); }, 0, "CRenderingOpt::setContrast value must be positive"},
        {"luminosity above", [](CScnRenderingOpt& o) { o.setLuminosity(2); },
         [](CScnRenderingOpt& o) { return o.getLuminosity(); }, 1,
         "CRenderingOpt::setLuminosity value must be between -1 and 1."},
        {"luminosity below", [](CScnRenderingOpt& o) { o.setLuminosity(-3); },
         [](CScnRenderingOpt& o) { return o.getLuminosity(); }, -1,
         "CRenderingOpt::setLuminosity value must be between -1 and 1."},
        {"luminosity in range", [](CScnRenderingOpt& o) { o.setLuminosity(0.5); },
         [](CScnRenderingOpt& o) { return o.getLuminosity(); }, 0.5, nullptr},
    };
    for (const ClampCase& c : cases) {
        forFreeAndOwned<CAnimRenderingOpt>([&](CAnimRenderingOpt& options, bool inScene) {
            c.set(options);
            EXPECT_EQ(c.get(options), c.stored) << c.what;
            EXPECT_EQ(warnings(), expectedReports(inScene, c.report)) << c.what << (inScene ? " in a scene" : " free");
        });
    }
}

TEST_F(RenderingClampTest, ReadValuesPassThroughTheSettersRules)
{
    Parsed parsed("<Options><Rendering Output.Type=\"BMP\" Antialias=\"No\"><Nb.Reflections>-4</Nb.Reflections>"
                  "<Nb.Refractions>6</Nb.Refractions><Height>10</Height><Width>10</Width>"
                  "<Render.First>0</Render.First><Render.Last>0</Render.Last>"
                  "<Luminosity>7.5</Luminosity></Rendering></Options>");
    CAnimRenderingOpt options(owner());
    EXPECT_TRUE(options.initWithXML(parsed.element()));
    EXPECT_EQ(options.getNbReflection(), 0);
    EXPECT_EQ(options.getLuminosity(), 1.0);
    EXPECT_EQ(options.getOutputType(), 4);
    EXPECT_EQ(warnings(), (Strings{"class CRenderingOpt: Method setNbReflection has clipped a value out of range.",
                                   "CRenderingOpt::setLuminosity value must be between -1 and 1."}));
}

struct PlacementCase {
    const char* what;
    std::string options;
    bool scaleOn;
    int32_t scale;
    int32_t resolution;
    int32_t level;
};

TEST(RenderingOptions, OlderDocumentsKeepTheScaleInTheOptionsElement)
{
    const PlacementCase cases[] = {
        {"older placement", std::string("<Options>") + kRequiredRendering +
                                "<Scale.On/><Scale>50</Scale><Resolution>300</Resolution>"
                                "<Resolution.Level>3</Resolution.Level></Options>",
         true, 50, 300, 3},
        {"older placement without level or flag",
         std::string("<Options>") + kRequiredRendering + "<Scale>25</Scale><Resolution>150</Resolution></Options>",
         false, 25, 150, 1},
        {"current placement", std::string("<Options><Rendering Output.Type=\"JPEG\" Antialias=\"Good\">"
                                          "<Nb.Reflections>3</Nb.Reflections><Nb.Refractions>4</Nb.Refractions>"
                                          "<Height>480</Height><Width>640</Width><Render.First>1</Render.First>"
                                          "<Render.Last>9</Render.Last><Scale.On/><Scale>75</Scale>"
                                          "<Resolution>96</Resolution><Resolution.Level>2</Resolution.Level>"
                                          "</Rendering><Resolution>1</Resolution></Options>"),
         true, 75, 96, 2},
        {"neither", std::string("<Options>") + kRequiredRendering + "</Options>", false, 100, 72, 1},
    };
    for (const PlacementCase& c : cases) {
        Parsed parsed(c.options);
        CAnimRenderingOpt options(nullptr);
        EXPECT_TRUE(options.initWithXML(parsed.element())) << c.what;
        EXPECT_EQ(options.isScaleOn(), c.scaleOn) << c.what;
        EXPECT_EQ(options.getParallelScale(), c.scale) << c.what;
        EXPECT_EQ(options.getImageResolution(), c.resolution) << c.what;
        EXPECT_EQ(options.getPanoramaResolution(), c.level) << c.what;
        EXPECT_EQ(options.getWidth(), 640) << c.what;
        EXPECT_EQ(options.getAntialias(), 1) << c.what;
    }
}

struct BadReadCase {
    const char* what;
    std::string options;
    std::string report;
};

class RenderingReadTest : public SceneFixture {};

TEST_F(RenderingReadTest, BadInputEndsTheReadWithTheWrappedReport)
{
    const BadReadCase cases[] = {
        {"no rendering", "<Options/>", ScnTest::nullPointerText("Exception in IScnViewOpt::initWithXML : exception")},
        {"unknown antialias",
         "<Options><Rendering Output.Type=\"TGA\" Antialias=\"Best\"/></Options>",
         "Exception in IScnViewOpt::initWithXML : Invalid label (Best) [No..Special]"},
        {"missing output type", "<Options><Rendering Antialias=\"No\"/></Options>",
         ScnTest::nullPointerText("Exception in IScnViewOpt::initWithXML : exception")},
        {"width that is no number",
         "<Options><Rendering Output.Type=\"TGA\" Antialias=\"No\"><Nb.Reflections>1</Nb.Reflections>"
         "<Nb.Refractions>1</Nb.Refractions><Height>1</Height><Width>wide</Width></Rendering></Options>",
         "Exception in IScnViewOpt::initWithXML : exception"},
        {"compression without codec",
         std::string("<Options>") + kRequiredRendering + "<Compression><Depth>8</Depth></Compression></Options>",
         ScnTest::nullPointerText("Exception in IScnViewOpt::initWithXML : exception")},
    };
    for (const BadReadCase& c : cases) {
        warnings().clear();
        Parsed parsed(c.options);
        CAnimRenderingOpt options(owner());
        EXPECT_FALSE(options.initWithXML(parsed.element())) << c.what;
        EXPECT_EQ(warnings(), Strings{c.report}) << c.what;
    }
}

TEST_F(RenderingReadTest, AStoppedReadKeepsWhatItReadAndLeavesTheRest)
{
    Parsed parsed("<Options><Rendering Output.Type=\"AVI\" Antialias=\"Excellent\"><Alpha/>"
                  "<Nb.Reflections>9</Nb.Reflections><Height>1</Height></Rendering></Options>");
    CAnimRenderingOpt options(owner());
    EXPECT_FALSE(options.initWithXML(parsed.element()));
    EXPECT_EQ(options.getOutputType(), 11);
    EXPECT_EQ(options.getAntialias(), 2);
    EXPECT_FALSE(options.isRaytracing());
    EXPECT_TRUE(options.isAlpha());
    EXPECT_EQ(options.getNbReflection(), 9);
    EXPECT_EQ(options.getNbRefraction(), 6);
    EXPECT_EQ(options.getHeight(), 240);
}

TEST_F(RenderingReadTest, LabelsOutsideTheirTablesFailTheWrite)
{
    CAnimRenderingOpt options(owner());
    options.setOutputType(14);
    ScnTest::XmlDocument document("View");
    EXPECT_EQ(options.putInXML(document.top()), nullptr);
    options.setOutputType(13);
    options.setAntialias(-1);
    EXPECT_EQ(options.putInXML(document.top()), nullptr);
    EXPECT_EQ(warnings(), (Strings{"Exception in IScnViewOpt::putInXML : No label for the value (14) [CmpPict..Tiff]",
                                   "Exception in IScnViewOpt::putInXML : No label for the value (-1) [No..Special]"}));
    EXPECT_EQ(options.putInXML(nullptr), nullptr);
    EXPECT_EQ(options.initWithXML(nullptr), false);
    EXPECT_EQ(warnings().back(), ScnTest::nullPointerText("Exception in IScnViewOpt::initWithXML : exception"));
}

TEST(RenderingOptions, NumbersAreTheSameUnderACommaLocale)
{
    CAnimRenderingOpt options(nullptr);
    options.setLuminosity(-0.25);
    options.getCompressionOpt()->setFrameRate(29.97);
    std::string written;
    {
        ScnTest::CommaLocale locale;
        if (!locale.active()) {
            return;
        }
        written = writeOptions(options);
        Parsed parsed(written);
        CAnimRenderingOpt read(nullptr);
        ASSERT_TRUE(read.initWithXML(ScnTest::documentElement(*parsed.tree)->GetFirstElement()));
        EXPECT_EQ(read.getLuminosity(), -0.25);
        EXPECT_EQ(read.getCompressionOpt()->getFrameRate(), 29.97);
    }
    EXPECT_NE(written.find("<Luminosity>-0.250000</Luminosity>"), std::string::npos);
    EXPECT_NE(written.find("<Frame.Rate>29.970000</Frame.Rate>"), std::string::npos);
}

TEST(HeliodonStudyOptions, FrequencyValuesAreTruncatedTowardsZero)
{
    const std::pair<double, double> cases[] = {
        {2.9, 2}, {-2.9, -2}, {7, 7}, {1e12, 2147483647.0}, {-1e12, -2147483648.0},
        {std::nan(""), 0}, {std::numeric_limits<double>::infinity(), 2147483647.0},
    };
    CHeliodonOpt study(nullptr);
    for (const auto& c : cases) {
        study.setFrequencyValue(c.first);
        EXPECT_EQ(study.getFrequencyValue(), c.second) << c.first;
    }
}

TEST(HeliodonStudyOptions, WriteTheirItemsIntoTheOptionsElement)
{
    CHeliodonOpt study(nullptr);
    study.setFrequencyType(2);
    study.setFrequencyUnit(3);
    study.setFrequencyValue(15.75);
    study.setMovieDuration(12.5);
    study.setAllRange(true);
    ScnTest::XmlDocument document("Heliodons");
    XIXMLElement* options = study.putInXML(document.top());
    ASSERT_NE(options, nullptr);
    EXPECT_STREQ(NvScn::XmlForm::findAttribute(options, "Frequency.Type"), "Yearly");
    EXPECT_STREQ(NvScn::XmlForm::findAttribute(options, "Frequency.Unit"), "Days");
    Strings names = ViewTest::childNames(options);
    EXPECT_EQ(Strings(names.begin(), names.begin() + 2), (Strings{"Rendering", "Compression"}));
    EXPECT_EQ(Strings(names.begin() + 2, names.end()),
              (Strings{"Frequency.Value", "Movie.Duration", "Start.Time", "End.Time", "All.Range"}));

    Parsed parsed(ScnTest::writeElement(options));
    CHeliodonOpt read(nullptr);
    ASSERT_TRUE(read.initWithXML(parsed.element()));
    EXPECT_EQ(dumpFields(read), dumpFields(study));
}

TEST(OldHeliodonOptions, StartWithTheOlderDefaults)
{
    COldHeliodonOpt old(nullptr);
    EXPECT_STREQ(old.getPath(), "file:///C|/Heliodon");
    EXPECT_EQ(old.getPlace()->getLongitude(), 140);
    EXPECT_EQ(old.getPlace()->getLatitude(), 2932);
    EXPECT_EQ(old.getPlace()->getTimeZone(), 60);
    EXPECT_EQ(old.getTime()->getDay(), 15);
    EXPECT_EQ(old.getTime()->getMonth(), 1);
    EXPECT_EQ(old.getTime()->getHour(), 12);
    EXPECT_EQ(old.getTime()->getMinute(), 0);
    EXPECT_EQ(old.getSunshine(), 0.5);
    EXPECT_EQ(old.getNorthAngle(), 0.0);
    EXPECT_EQ(old.getFilmFrameRate(), 25.0);
    EXPECT_EQ(old.asViewOpt()->getRenderingOpt()->getWidth(), 320);
}

struct OldClampCase {
    void (COldHeliodonOpt::*set)(double);
    double (COldHeliodonOpt::*get)() const;
    double given;
    double clamped;
    const char* report;
};

class OldHeliodonClampTest : public SceneFixture {};

TEST_F(OldHeliodonClampTest, RangeSettersClampOnlyInsideAScene)
{
    const OldClampCase cases[] = {
        {&COldHeliodonOpt::setSunshine, &COldHeliodonOpt::getSunshine, 1.5, 1,
         "Method setSunshine has clipped a value out of range."},
        {&COldHeliodonOpt::setSunshine, &COldHeliodonOpt::getSunshine, 0.75, 0.75, nullptr},
        {&COldHeliodonOpt::setNorthAngle, &COldHeliodonOpt::getNorthAngle, 400, 360,
         "Method setNorthAngle has clipped a value out of range."},
        {&COldHeliodonOpt::setNorthAngle, &COldHeliodonOpt::getNorthAngle, -10, 0,
         "Method setNorthAngle has clipped a value out of range."},
        {&COldHeliodonOpt::setFilmFrameRate, &COldHeliodonOpt::getFilmFrameRate, -1, 0,
         "Method setFilmFrameRate has clipped a value out of range."},
        {&COldHeliodonOpt::setFilmFrameRate, &COldHeliodonOpt::getFilmFrameRate, 1000, 1000, nullptr},
    };
    for (const OldClampCase& c : cases) {
        forFreeAndOwned<COldHeliodonOpt>([&](COldHeliodonOpt& old, bool inScene) {
            (old.*c.set)(c.given);
            EXPECT_EQ((old.*c.get)(), inScene ? c.clamped : c.given) << c.given;
            EXPECT_EQ(warnings(), expectedReports(inScene, c.report)) << c.given;
        });
    }
}

}  // namespace
