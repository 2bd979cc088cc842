// What an export writes besides the geometry, read back with the library: origin, textures,
// environment, sun, lights and views; and which export path the configuration picks.
#include "test_export_support.h"

#include <tiffio.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string vectorText(const NvScn::CScnVector* v)
{
    char text[96];
    std::snprintf(text, sizeof text, "%g %g %g", v->x, v->y, v->z);
    return text;
}

std::string colourText(const NvScn::CScnColor* c)
{
    return std::to_string(c->red) + " " + std::to_string(c->green) + " " + std::to_string(c->blue);
}

// A model around which every case builds: one triangle, with the project fields a case sets.
std::string model(const std::string& fields)
{
    return R"({"format": "cadhost-model", "materials": [{"name": "A"}],
      "elements": [{"type": "wall", "bodies": [
        {"vertices": [[1, 2, 3], [2, 2, 3], [2, 3, 3]], "polygons": [{"material": 1, "vertices": [1, 2, 3]}]}]}])" +
           (fields.empty() ? std::string() : ", " + fields) + "}";
}

struct ContentCase {
    const char* name;
    std::string model;
    const char* configuration;      // null: no file
    std::function<void(NvScn::CScnMgr*, const std::string& folder)> check;
    std::string log;
};

class ExportedContent : public ExportTest, public ::testing::WithParamInterface<ContentCase> {};

TEST_P(ExportedContent, ReadsBackAsTheHostHasIt)
{
    loadAddOn();
    loadJson(GetParam().model);
    configure(GetParam().configuration);
    cadhost::clearDebugLog();
    ASSERT_EQ(exportScene(), NoError);
    EXPECT_EQ(cadhost::debugLog(), GetParam().log);
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    EXPECT_EQ(scene.reports.texts, std::vector<std::string>());
    GetParam().check(scene.manager, mFolder);
}

const char kPlain[] = "LayerEnabled=false\n";

INSTANTIATE_TEST_SUITE_P(Cases, ExportedContent, ::testing::Values(
    ContentCase{"AnOffsetOfOneAxisIsKeptInThePlan", model(R"("origin": [0, 12],
        "lights": [{"kind": 1, "position": [0, 0, 2]}],
        "projection": {"perspective": true, "camera": [10, 0, 2], "target": [0, 0, 2], "focal": 40})"), kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            EXPECT_EQ(vectorText(m->getFileInfo()->getOrigin()), "0 0 0");
            EXPECT_EQ(vectorText(m->getPoints()->getScnObject(0)), "100 1400 300");
            EXPECT_EQ(vectorText(m->getLights()->getScnObject(0)->getPosition()), "0 1200 200");
            NvScn::CScnCamera* view = m->getPerspectiveViews()->getScnObject(0);
            EXPECT_STREQ(view->getName(), "ACCamera");
            EXPECT_EQ(vectorText(view->getPosition()), "1000 1200 200");
            EXPECT_EQ(vectorText(view->getTarget()), "0 1200 200");
            EXPECT_DOUBLE_EQ(view->getFocal(), 40.0);
            EXPECT_TRUE(view->isCurrent());
        }, ""},
    ContentCase{"AnOffsetOfBothAxesIsTheOrigin", model(R"("origin": [3, 4])"), kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            EXPECT_EQ(vectorText(m->getFileInfo()->getOrigin()), "300 400 0");
            EXPECT_EQ(vectorText(m->getPoints()->getScnObject(2)), "200 300 300");
        }, ""},
    ContentCase{"TheLayerPathRunsWithoutAConfiguration", model(R"("origin": [0, 12],
        "projection": {"perspective": true, "camera": [10, 0, 2], "target": [0, 0, 2], "focal": 40})"), nullptr,
        [](NvScn::CScnMgr* m, const std::string&) {
            ASSERT_EQ(m->getInternalComponentDefinitions()->getNbObjects(), 1);
            EXPECT_EQ(m->getPoints()->getNbObjects(), 0);
            EXPECT_EQ(vectorText(m->getInternalComponentDefinitions()->getScnObject(0)->getPoints()->getScnObject(0)),
                      "100 200 300");
            EXPECT_EQ(vectorText(m->getPerspectiveViews()->getScnObject(0)->getPosition()), "1000 0 200");
        }, ""},
    ContentCase{"LightsByKind", model(R"("lights": [
          {"kind": 0, "color": [1, 0.5, 0], "position": [0, 0, 10], "direction": [0, 0, -1], "length": 5},
          {"kind": 1, "position": [1, 1, 1]},
          {"kind": 2, "position": [1, 2, 3], "direction": [1, 0, 0], "length": 2, "cosAngle": 0.5},
          {"kind": 7, "position": [0, 0, 0]}])"), kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            ASSERT_EQ(m->getLights()->getNbObjects(), 4);
            const int32_t types[4] = {NvScn::kScnLightParallel, NvScn::kScnLightPoint, NvScn::kScnLightSpot,
                                      NvScn::kScnLightPoint};
            const NvScn::CScnUUID* group = m->getLightsGroups()->getScnObject(0)->getID();
            for (uint32_t i = 0; i < 4; ++i) {
                NvScn::CScnLight* light = m->getLights()->getScnObject(i);
                EXPECT_STREQ(light->getName(), ("Light " + std::to_string(i + 1)).c_str());
                EXPECT_EQ(light->getType(), types[i]);
                EXPECT_DOUBLE_EQ(light->getPower(), 1500.0);
                EXPECT_DOUBLE_EQ(light->getShadowPower(), 0.7);
                EXPECT_EQ(light->getShadowType(), NvScn::kScnShadowTraced);
                ASSERT_EQ(light->getLightsGroups()->getNbObjects(), 1);
                EXPECT_EQ(std::memcmp(light->getLightsGroups()->getScnObject(0), group, 16), 0);
            }
            NvScn::CScnLight* sun = m->getLights()->getScnObject(0);
            EXPECT_EQ(colourText(sun->getColor()), "255 127 0");
            EXPECT_EQ(vectorText(sun->getTarget()), "0 0 400");
            NvScn::CScnLight* spot = m->getLights()->getScnObject(2);
            EXPECT_EQ(vectorText(spot->getPosition()), "100 200 300");
            EXPECT_EQ(vectorText(spot->getTarget()), "340 200 300");
            EXPECT_NEAR(spot->getConeAngle(), 60.0, 1e-9);
        }, ""},
    ContentCase{"TheSunOfThePlaceAndDate", model(R"("site": {"city": {"name": "Karlsruhe", "longitude": 504,
        "latitude": 2940, "timeZone": 60}, "dayOfYear": 59, "minuteOfDay": 750, "daylightSaving": false,
        "northAngle": 3.141592653589793})"), kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            ASSERT_EQ(m->getHeliodons()->getNbObjects(), 1);
            NvScn::CScnHeliodon* sun = m->getHeliodons()->getScnObject(0);
            EXPECT_STREQ(sun->getName(), "ArchiCAD Heliodon");
            EXPECT_TRUE(sun->isActive());
            EXPECT_TRUE(sun->isShadow());
            EXPECT_TRUE(sun->isRadiosity());
            EXPECT_NEAR(sun->getNorthAngle(), 90.0, 1e-9);
            EXPECT_EQ(sun->getPlace()->getLongitude(), 504);
            EXPECT_EQ(sun->getPlace()->getLatitude(), 2940);
            EXPECT_EQ(sun->getPlace()->getTimeZone(), 60);
            EXPECT_FALSE(sun->getPlace()->isDaylight());
            EXPECT_EQ(sun->getTime()->getMonth(), 3);
            EXPECT_EQ(sun->getTime()->getDay(), 1);
            EXPECT_EQ(sun->getTime()->getHour(), 12);
            EXPECT_EQ(sun->getTime()->getMinute(), 30);
        }, ""},
    ContentCase{"NoSunWhenTheProjectHasNone", model(R"("rendering": {"sun": false})"), kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            ASSERT_EQ(m->getHeliodons()->getNbObjects(), 1);
            EXPECT_STRNE(m->getHeliodons()->getScnObject(0)->getName(), "ArchiCAD Heliodon");
        }, ""},
    ContentCase{"TheEnvironment", model(R"("sun": {"ambient": [1.05, 2, 0.5], "fogColor": [0.2, 0.4, 1],
        "atmosphereKind": 2}, "rendering": {"atmosphere": true, "skyColor": [0, 0.5, 1], "groundColor": [1, 1, 0]})"), kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            EXPECT_EQ(m->getBackground()->getColorType(), 2);
            EXPECT_EQ(colourText(m->getBackground()->getColor()), "0 127 255");
            EXPECT_EQ(colourText(m->getBackground()->getSecondColor()), "255 255 0");
            // The ambient holds each byte as its file value minus 128.
            EXPECT_EQ(colourText(m->getAmbient()->getColor()), "0 57 223");
            EXPECT_TRUE(m->getAmbient()->isUsed());
            NvScn::CScnAtmosphere* air = m->getAtmosphere();
            EXPECT_TRUE(air->isUsed());
            EXPECT_EQ(colourText(air->getColor()), "51 102 255");
            EXPECT_DOUBLE_EQ(air->getScale(), 5.0);
            EXPECT_DOUBLE_EQ(air->getHighDensity(), 0.5);
            EXPECT_DOUBLE_EQ(air->getMediumDensity(), 0.5);
            EXPECT_DOUBLE_EQ(air->getLowDensity(), 0.5);
        }, ""},
    ContentCase{"CameraSetsBecomePerspectiveViews", model(R"("cameraSets": [{"name": "Walk", "cameras": [
          {"position": [1, 0, 2], "target": [0, 0, 2], "roll": 90, "viewCone": 1},
          {"position": [2, 0, 2], "target": [0, 0, 2], "deleted": true},
          {"position": [3, 0, 2], "target": [0, 0, 2]}]}, {"name": "Gone", "deleted": true}])"), kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            ASSERT_EQ(m->getPerspectiveViews()->getNbObjects(), 3);
            NvScn::CScnCamera* first = m->getPerspectiveViews()->getScnObject(0);
            EXPECT_STREQ(first->getName(), "Walk_1");
            EXPECT_EQ(vectorText(first->getPosition()), "100 0 200");
            // Reals are kept to six decimals in the file.
            EXPECT_NEAR(first->getRoll(), 1.5707963267948966, 1e-6);
            EXPECT_NEAR(first->getFocal(), 57.29577951308232, 1e-6);
            EXPECT_STREQ(first->getViewInfo()->getHeliodonName(), "ArchiCAD Heliodon");
            EXPECT_STREQ(m->getPerspectiveViews()->getScnObject(1)->getName(), "Walk_3");
            EXPECT_STREQ(m->getPerspectiveViews()->getScnObject(2)->getName(), "ACCamera");
            EXPECT_TRUE(m->getPerspectiveViews()->getScnObject(2)->isCurrent());
            EXPECT_FALSE(first->isCurrent());
        }, ""},
    ContentCase{"ABodyWithoutPolygonsAndMaterialZero", R"({"format": "cadhost-model", "materials": [{"name": "A"}],
        "elements": [{"type": "other", "bodies": [
          {"vertices": [[0, 0, 0], [0, 0, 1]], "edges": [[1, 2]]},
          {"vertices": [[0, 0, 0], [1, 0, 0], [0, 1, 0]], "polygons": [{"material": 0, "vertices": [1, 2, 3]}]}]}]})",
        kPlain,
        [](NvScn::CScnMgr* m, const std::string&) {
            EXPECT_EQ(m->getPoints()->getNbObjects(), 3);
            ASSERT_EQ(m->getPolygons()->getNbObjects(), 1);
            EXPECT_EQ(m->getPolygons()->getScnObject(0)->getPropertyIndex(), 0);
            EXPECT_EQ(m->getPolygons()->getScnObject(0)->getVertices()->getScnObject(2)->pointIndex, 2);
        }, "KSV::GSScnExternal::GetPolygonMaterialIndex - Invalid material index (0)\n"},
    ContentCase{"TheCreator", model(R"("mapName": "Pavilion")"), kPlain,
        [](NvScn::CScnMgr*, const std::string& folder) {
            const std::string text = fileContent(folder + "/scenes/Export.scn");
            EXPECT_NE(text.find("ArchiCAD"), std::string::npos);
            EXPECT_NE(text.find("Pavilion"), std::string::npos);
        }, ""}),
    [](const ::testing::TestParamInfo<ContentCase>& info) { return info.param.name; });

// The day of the year as the host counts it, from 0, in a year of 365 days.
struct DayCase {
    int32_t dayOfYear;
    int32_t month;
    int32_t day;
};

class HeliodonDate : public ExportTest, public ::testing::WithParamInterface<DayCase> {};

TEST_P(HeliodonDate, IsTheHostsDay)
{
    loadAddOn();
    loadJson(model(R"("site": {"dayOfYear": )" + std::to_string(GetParam().dayOfYear) + "}"));
    configure(kPlain);
    ASSERT_EQ(exportScene(), NoError);
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    const NvScn::CScnTime* time = scene.manager->getHeliodons()->getScnObject(0)->getTime();
    EXPECT_EQ(time->getMonth(), GetParam().month);
    EXPECT_EQ(time->getDay(), GetParam().day);
}

INSTANTIATE_TEST_SUITE_P(Days, HeliodonDate, ::testing::Values(
    DayCase{0, 1, 1}, DayCase{30, 1, 31}, DayCase{31, 2, 1}, DayCase{58, 2, 28}, DayCase{59, 3, 1},
    DayCase{171, 6, 21}, DayCase{333, 11, 30}, DayCase{334, 12, 1}, DayCase{364, 12, 31}));

// Textures become 32-bit TIFF files at 72 dpi beside the scene; a name already there takes "_N".
TEST_F(ExportTest, TexturesOfTheSameNameKeepEveryFile)
{
    loadAddOn();
    loadJson(R"({"format": "cadhost-model",
      "textures": [{"name": "brick.png", "pixels": {"width": 2, "height": 1, "rgba": "ff0000ff00ff0080"}},
                   {"name": "lost.png", "available": false},
                   {"name": "sub/brick.jpg", "pixels": {"width": 1, "height": 1, "rgba": "0000ffff"}}],
      "materials": [{"name": "A", "texture": 1}],
      "elements": [{"type": "wall", "bodies": [
        {"vertices": [[0, 0, 0], [1, 0, 0], [0, 0, 1]], "polygons": [{"material": 1, "vertices": [1, 2, 3]}]}]}]})");
    configure(kPlain);
    ASSERT_EQ(std::system(("mkdir '" + mScenes + "/Export_Textures'").c_str()), 0);
    write("scenes/Export_Textures/brick.tif", "an older texture");
    cadhost::clearDebugLog();
    ASSERT_EQ(exportScene(), NoError);
    EXPECT_EQ(cadhost::debugLog(), "Kestrovin_Out:: texture 2 \"lost.png\" is not available and is not written\n");
    const std::string folder = mScenes + "/Export_Textures";
    EXPECT_EQ(folderContent(folder), (std::set<std::string>{"brick.tif", "brick_1.tif", "brick_2.tif"}));
    EXPECT_EQ(fileContent(folder + "/brick.tif"), "an older texture");
    TIFF* tiff = TIFFOpen((folder + "/brick_1.tif").c_str(), "r");
    ASSERT_NE(tiff, nullptr);
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0;
    float xResolution = 0, yResolution = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &xResolution);
    TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &yResolution);
    std::vector<uint8_t> row(TIFFScanlineSize(tiff));
    ASSERT_EQ(TIFFReadScanline(tiff, row.data(), 0), 1);
    TIFFClose(tiff);
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 1u);
    EXPECT_EQ(samples * bits, 32);
    EXPECT_FLOAT_EQ(xResolution, 72.0f);
    EXPECT_FLOAT_EQ(yResolution, 72.0f);
    EXPECT_EQ(row, (std::vector<uint8_t>{0xff, 0, 0, 0xff, 0, 0xff, 0, 0x80}));
}

// The configuration picks the export path; the timing line names it.
struct ConfigurationCase {
    const char* name;
    bool hasFile;
    std::string text;
    const char* timingLine;  // empty: no timing log
};

class ConfigurationRules : public ExportTest, public ::testing::WithParamInterface<ConfigurationCase> {};

TEST_P(ConfigurationRules, PickThePathAndTheTiming)
{
    loadAddOn();
    loadJson(model(""));
    configure(nullptr);
    if (GetParam().hasFile) {
        std::ofstream(cadhost::driveRoot() + "/c/source/config.ini", std::ios::binary) << GetParam().text;
    }
    ASSERT_EQ(exportScene(), NoError);
    EXPECT_EQ(fileContent(cadhost::driveRoot() + "/c/source/infos.log"), GetParam().timingLine);
}

const char kWide[] = "\xFF\xFEL\0a\0y\0e\0r\0E\0n\0a\0b\0l\0e\0d\0=\0f\0a\0l\0s\0e\0\n\0"
                     "P\0e\0r\0f\0o\0r\0m\0a\0n\0c\0e\0C\0o\0u\0n\0t\0e\0r\0E\0n\0a\0b\0l\0e\0d\0=\0t\0r\0u\0e\0";

INSTANTIATE_TEST_SUITE_P(Files, ConfigurationRules, ::testing::Values(
    ConfigurationCase{"NoFile", false, "", ""},
    ConfigurationCase{"TimedPlain", true, "PerformanceCounterEnabled=true\n", "Temps d'export sans layer = 0 seconde(s)\n"},
    ConfigurationCase{"TimedLayers", true, "LayerEnabled=true\r\nPerformanceCounterEnabled=true\r\n",
                      "Temps d'export avec layer = 0 seconde(s)\n"},
    ConfigurationCase{"BlanksAfterTheEqualsSign", true, "LAYERENABLED=   true\n\nperformancecounterenabled=\ttrue",
                      "Temps d'export avec layer = 0 seconde(s)\n"},
    ConfigurationCase{"BlanksBeforeTheEqualsSign", true, "LayerEnabled =true\nPerformanceCounterEnabled=true\n",
                      "Temps d'export sans layer = 0 seconde(s)\n"},
    ConfigurationCase{"OnlyTrueAndFalseCount", true,
                      "LayerEnabled=true\nLayerEnabled=yes\nPerformanceCounterEnabled=true\nPerformanceCounterEnabled=True\n",
                      "Temps d'export avec layer = 0 seconde(s)\n"},
    ConfigurationCase{"TheLastWordHolds", true, "LayerEnabled=true\nLayerEnabled=false\nPerformanceCounterEnabled=true\n",
                      "Temps d'export sans layer = 0 seconde(s)\n"},
    ConfigurationCase{"WideText", true, std::string(kWide, sizeof kWide - 1), "Temps d'export sans layer = 0 seconde(s)\n"}),
    [](const ::testing::TestParamInfo<ConfigurationCase>& info) { return info.param.name; });

}  // namespace

namespace {

// The reference file is read through a second scene that drops its geometry; a file that is not
// a scene is passed over and the export goes on.
struct ReferenceCase {
    const char* name;
    const char* content;   // of the reference file
    std::string log;
};

class ReferenceFile : public ExportTest, public ::testing::WithParamInterface<ReferenceCase> {};

TEST_P(ReferenceFile, NeverStopsTheExport)
{
    loadAddOn();
    loadJson(model(""));
    configure(kPlain);
    ASSERT_EQ(exportScene(), NoError);
    const std::string reference = write("reference.scn", GetParam().content[0] != '\0' ? GetParam().content
                                                                                        : fileContent(scenePath()));
    KSV::ExportOptions options;
    ASSERT_TRUE(storedOptions(&options));
    options.useReference = 1;
    ASSERT_TRUE(KSV::setReferencePath(&options, GS::Utf8ToUtf16(reference)));
    storeOptions(options);
    cadhost::clearDebugLog();
    EXPECT_EQ(exportScene(), NoError);
    EXPECT_EQ(cadhost::debugLog(), GetParam().log);
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    EXPECT_EQ(scene.manager->getPoints()->getNbObjects(), 3);
}

INSTANTIATE_TEST_SUITE_P(Files, ReferenceFile, ::testing::Values(
    ReferenceCase{"AScene", "", ""},
    ReferenceCase{"NotAScene", "plain notes", "Kestrovin_Out:: the reference file is not imported\n"}),
    [](const ::testing::TestParamInfo<ReferenceCase>& info) { return info.param.name; });

// The names of a list's objects, in order.
template <class T>
std::vector<std::string> namesIn(NvScn::TScnObjectMgr<T>* list)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < list->getNbObjects(); ++i) {
        names.push_back(list->getScnObject(i)->getName());
    }
    return names;
}

// With its second option the reference's lights and views join the export's own, after them;
// without it they stay out.
class ReferenceContent : public ExportTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ReferenceContent, JoinsTheExportWithTheSecondOption)
{
    const std::string reference = mFolder + "/reference.scn";
    {
        NvScn::CScnMgr* scene = NvScn::CScnMgr::create(nullptr, nullptr);
        scene->getLights()->newScnObject(NvScn::kScnLastIndex)->setName("Reference lamp");
        scene->getPerspectiveViews()->newScnObject(NvScn::kScnLastIndex)->setName("Reference view");
        std::unique_ptr<ScnTools::FileStream> stream(ScnTools::FileStream::open(reference, "wb"));
        ASSERT_NE(stream, nullptr);
        ASSERT_EQ(scene->write(stream.get()), 0);
        scene->release();
    }
    loadAddOn();
    loadJson(model(R"("lights": [{"kind": 1, "position": [0, 0, 3]}])"));
    configure(kPlain);
    ASSERT_EQ(exportScene(), NoError);
    KSV::ExportOptions options;
    ASSERT_TRUE(storedOptions(&options));
    options.useReference = 1;
    options.addReferenceContent = GetParam() ? 1 : 0;
    ASSERT_TRUE(KSV::setReferencePath(&options, GS::Utf8ToUtf16(reference)));
    storeOptions(options);
    cadhost::clearDebugLog();
    ASSERT_EQ(exportScene(), NoError);
    EXPECT_EQ(cadhost::debugLog(), "");
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    using Names = std::vector<std::string>;
    const Names lights = GetParam() ? Names{"Light 1", "Reference lamp"} : Names{"Light 1"};
    const Names views = GetParam() ? Names{"ACCamera", "Reference view"} : Names{"ACCamera"};
    EXPECT_EQ(namesIn(scene.manager->getLights()), lights);
    EXPECT_EQ(namesIn(scene.manager->getPerspectiveViews()), views);
}

INSTANTIATE_TEST_SUITE_P(Options, ReferenceContent, ::testing::Bool());

}  // namespace
