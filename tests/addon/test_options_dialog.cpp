// The export options: stored record, dialog items and rules, the scripted user's clicks.
#include "test_addon_support.h"

#include <sys/stat.h>

namespace {

using KSV::ExportOptions;

API_RenderingSettings rendering(bool lights, bool sun)
{
    API_RenderingSettings settings = {};
    settings.lights = lights ? 1 : 0;
    settings.sun = sun ? 1 : 0;
    return settings;
}

ExportOptions defaults(bool lights = true, bool sun = true)
{
    ExportOptions options;
    KSV::resetOptions(&options);
    KSV::setDefaultOptions(&options, rendering(lights, sun));
    return options;
}

std::u16string utf16(const std::string& text) { return GS::Utf8ToUtf16(text); }

// A dialog step or a stored record, and what the user then sees and what is stored.
struct DialogCase {
    const char* name;
    std::function<void(ExportOptions*, const std::string& folder)> stored;  // null: nothing stored
    int32_t version;
    int32_t size;
    std::vector<cadhost::UserAction> script;
    bool lights;
    bool sun;
    GSErrCode answer;
    std::vector<std::string> shown;                       // lines of the transcript
    std::function<void(ExportOptions*, const std::string& folder)> expected;  // from the defaults
};

class OptionsDialog : public AddOnTest, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(OptionsDialog, ShowsAndStoresTheOptions)
{
    const DialogCase& c = GetParam();
    write("reference.scn", "<?xml version=\"1.0\"?>");
    write("second.scn", "<?xml version=\"1.0\"?>");
    write("notes.txt", "notes");
    loadAddOn();
    if (c.stored) {
        ExportOptions stored = defaults();
        c.stored(&stored, mFolder);
        storeOptions(stored, c.version, c.size);
    }
    for (API_RenderingSettings& settings : cadhost::project().rendering) {
        settings.lights = c.lights ? 1 : 0;
        settings.sun = c.sun ? 1 : 0;
    }
    std::vector<cadhost::UserAction> script = c.script;
    for (cadhost::UserAction& step : script) {
        if (!step.path.empty() && step.path[0] != '/') {
            step.path = mFolder + "/" + step.path;
        }
    }
    cadhost::setDialogScript(script);
    EXPECT_EQ(save(), c.answer);
    const std::string& transcript = cadhost::transcript();
    for (std::string line : c.shown) {
        const std::size_t at = line.find("@");
        if (at != std::string::npos) {
            line.replace(at, 1, mFolder);
        }
        EXPECT_NE(transcript.find(line + "\n"), std::string::npos) << "no line \"" << line << "\" in\n" << transcript;
    }
    ExportOptions stored;
    if (!c.expected) {
        EXPECT_FALSE(c.stored == nullptr && storedOptions(&stored));
        return;
    }
    ASSERT_TRUE(storedOptions(&stored));
    ExportOptions expected = defaults(c.lights, c.sun);
    c.expected(&expected, mFolder);
    EXPECT_EQ(std::memcmp(&stored, &expected, sizeof stored), 0);
    std::u16string path;
    EXPECT_TRUE(KSV::referencePathOf(stored, &path));
    std::u16string wanted;
    KSV::referencePathOf(expected, &wanted);
    EXPECT_EQ(GS::Utf16ToUtf8(path), GS::Utf16ToUtf8(wanted));
}

cadhost::UserAction click(int item) { return {cadhost::UserAction::Click, item, ""}; }
cadhost::UserAction choose(const char* path) { return {cadhost::UserAction::ChooseFile, 0, path}; }
cadhost::UserAction cancelFile() { return {cadhost::UserAction::CancelFileDialog, 0, ""}; }

void useReference(ExportOptions* options, const std::string& folder)
{
    KSV::setReferencePath(options, utf16(folder + "/reference.scn"));
    options->useReference = 1;
}

void unchanged(ExportOptions*, const std::string&) {}

const char kChooser[] = "File dialog (open) [Kestrovin Studio File 3.0 (*.scn)]";

INSTANTIATE_TEST_SUITE_P(Cases, OptionsDialog, ::testing::Values(
    DialogCase{"FreshDefaults", nullptr, 2, 1048, {}, true, true, NoError,
               {"Dialog 131 \"Save Kestrovin Studio 3 Document\" (560 x 430)", "    8 checkbox  [x] \"Perspective Cameras\"",
                "   10 checkbox  [x] \"Lights\"", "   24 text      \"(none specified)\"",
                "   25 button    \"Choose a File\"  (disabled)", "  Enter presses 1", "  closed: accepted"},
               unchanged},
    DialogCase{"NoHostLightsNorSun", nullptr, 2, 1048, {click(10), click(12)}, false, false, NoError,
               {"  click 10: disabled, nothing happens", "  click 12: disabled, nothing happens",
                "   10 checkbox  [ ] \"Lights\"  (disabled)", "   12 checkbox  [ ] \"Sun\"  (disabled)"},
               unchanged},
    DialogCase{"DefaultParameters",
               [](ExportOptions* o, const std::string& folder) {
                   useReference(o, folder);
                   o->textureWall = o->textureRoof = o->textureSlab = o->textureOthers = 0;
                   o->replaceMaterials = o->addReferenceContent = 0;
                   o->uniqueLayer = 1;
                   o->cameras = 0;
               },
               2, 1048, {click(3), click(1)}, true, true, NoError,
               {"   22 checkbox  [ ] \"Use Reference File\"", "   24 text      \"(none specified)\"",
                "   29 checkbox  [x] \"Unique layer\"", "   16 checkbox  [x] \"Wall\""},
               [](ExportOptions* o, const std::string&) { o->uniqueLayer = 1; }},
    DialogCase{"ValidReferenceStays", [](ExportOptions* o, const std::string& f) { useReference(o, f); }, 2, 1048, {},
               true, true, NoError,
               {"   22 checkbox  [x] \"Use Reference File\"", "   24 text      \"@/reference.scn\"",
                "   25 button    \"Choose a File\""},
               [](ExportOptions* o, const std::string& f) { useReference(o, f); }},
    DialogCase{"StaleReferenceCleared",
               [](ExportOptions* o, const std::string& f) {
                   KSV::setReferencePath(o, utf16(f + "/deleted.scn"));
                   o->useReference = 1;
               },
               2, 1048, {}, true, true, NoError,
               {"   22 checkbox  [ ] \"Use Reference File\"", "   24 text      \"(none specified)\""}, unchanged},
    DialogCase{"UnterminatedPathCleared",
               [](ExportOptions* o, const std::string&) {
                   for (char16_t& unit : o->referencePath) {
                       unit = u'a';
                   }
                   o->useReference = 1;
               },
               2, 1048, {}, true, true, NoError, {"   24 text      \"(none specified)\""}, unchanged},
    DialogCase{"WrongVersionGivesDefaults", [](ExportOptions* o, const std::string&) { o->cameras = 0; }, 1, 1048, {},
               true, true, NoError, {"    8 checkbox  [x] \"Perspective Cameras\""}, unchanged},
    DialogCase{"WrongSizeGivesDefaults", [](ExportOptions* o, const std::string&) { o->cameras = 0; }, 2, 1047, {},
               true, true, NoError, {"    8 checkbox  [x] \"Perspective Cameras\""}, unchanged},
    DialogCase{"FormatOutOfRangeGivesDefaults",
               [](ExportOptions* o, const std::string&) {
                   o->format = 256;
                   o->cameras = 0;
                   o->uniqueLayer = 1;
               },
               2, 1048, {}, true, true, NoError, {"    8 checkbox  [x] \"Perspective Cameras\""},
               [](ExportOptions* o, const std::string&) { o->uniqueLayer = 1; }},
    DialogCase{"NegativeFormatGivesDefaults", [](ExportOptions* o, const std::string&) { o->format = -1; o->cameras = 0; },
               2, 1048, {}, true, true, NoError, {}, unchanged},
    DialogCase{"StoredFormatBecomesFour",
               [](ExportOptions* o, const std::string&) {
                   o->format = 3;
                   o->cameras = 0;
               },
               2, 1048, {}, true, true, NoError, {"    8 checkbox  [ ] \"Perspective Cameras\""},
               [](ExportOptions* o, const std::string&) { o->cameras = 0; }},
    DialogCase{"ClicksAreReadBack", nullptr, 2, 1048, {click(8), click(16), click(21), click(29)}, true, true, NoError,
               {"    8 checkbox  [ ] \"Perspective Cameras\"", "   29 checkbox  [x] \"Unique layer\""},
               [](ExportOptions* o, const std::string&) {
                   o->cameras = 0;
                   o->textureWall = 0;
                   o->textureOthers = 0;
                   o->uniqueLayer = 1;
               }},
    DialogCase{"CheckingUseReferenceChoosesAFile", nullptr, 2, 1048, {click(22), choose("reference.scn")}, true, true,
               NoError,
               {std::string(kChooser) + ": chose \"@/reference.scn\"", "   22 checkbox  [x] \"Use Reference File\"",
                "   24 text      \"@/reference.scn\"", "   26 checkbox  [x] \"Replace ArchiCAD Materials by Kestrovin Reference File Materials Using the Same Identifier\""},
               [](ExportOptions* o, const std::string& f) { useReference(o, f); }},
    DialogCase{"CancelledChooserLeavesNoReference", nullptr, 2, 1048, {click(22), cancelFile()}, true, true, NoError,
               {std::string(kChooser) + ": cancelled", "   22 checkbox  [ ] \"Use Reference File\""}, unchanged},
    DialogCase{"ChooserOffersSceneFilesOnly", nullptr, 2, 1048, {click(22), choose("notes.txt")}, true, true, NoError,
               {std::string(kChooser) + ": \"@/notes.txt\" is not offered; cancelled"}, unchanged},
    DialogCase{"ChooseAnotherFile", [](ExportOptions* o, const std::string& f) { useReference(o, f); }, 2, 1048,
               {click(25), choose("second.scn")}, true, true, NoError,
               {std::string(kChooser) + ": chose \"@/second.scn\"", "   24 text      \"@/second.scn\""},
               [](ExportOptions* o, const std::string& f) {
                   KSV::setReferencePath(o, utf16(f + "/second.scn"));
                   o->useReference = 1;
               }},
    DialogCase{"UncheckingDisablesTheReferenceItems", [](ExportOptions* o, const std::string& f) { useReference(o, f); },
               2, 1048, {click(22)}, true, true, NoError,
               {"   25 button    \"Choose a File\"  (disabled)", "   24 text      \"@/reference.scn\""},
               [](ExportOptions* o, const std::string& f) { KSV::setReferencePath(o, utf16(f + "/reference.scn")); }},
    DialogCase{"CancelStoresNothing", [](ExportOptions* o, const std::string&) { o->cameras = 0; }, 2, 1048,
               {click(8), click(2)}, true, true, APIERR_CANCEL, {"  click 2", "  closed: cancelled"},
               [](ExportOptions* o, const std::string&) { o->cameras = 0; }}),
    [](const ::testing::TestParamInfo<DialogCase>& info) { return info.param.name; });

class LongReferencePath : public AddOnTest, public ::testing::WithParamInterface<std::size_t> {};

// The record holds 511 characters of path: a longer choice is refused with an alert.
TEST_P(LongReferencePath, IsRefusedBeyondWhatTheRecordHolds)
{
    std::string path = mFolder;
    while (path.size() + 1 + 200 + 4 < GetParam()) {
        path += "/" + std::string(200, 'd');
        ASSERT_EQ(::mkdir(path.c_str(), 0777), 0);
    }
    path += "/" + std::string(GetParam() - path.size() - 5, 'f') + ".scn";
    ASSERT_EQ(path.size(), GetParam());
    std::ofstream(path) << "x";
    loadAddOn();
    cadhost::setDialogScript({click(22), choose(path.c_str())});
    EXPECT_EQ(save(), NoError);
    ExportOptions stored;
    ASSERT_TRUE(storedOptions(&stored));
    std::u16string kept;
    ASSERT_TRUE(KSV::referencePathOf(stored, &kept));
    const bool fits = GetParam() <= KSV::kReferencePathCapacity;
    EXPECT_EQ(GS::Utf16ToUtf8(kept), fits ? path : "");
    EXPECT_EQ(stored.useReference, fits ? 1 : 0);
    const std::string alert = "Alert 134\n  Error!\n  The path of the chosen file is longer than 511 characters.\n"
                              "  Please move the reference file to a folder with a shorter path.\n  [OK]\n  pressed: OK\n";
    EXPECT_EQ(cadhost::transcript().find(alert) != std::string::npos, !fits);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongReferencePath, ::testing::Values(510, 511, 512, 900));

struct ViewCase {
    int32_t method;
    int32_t window;
    bool perspective;
    GSErrCode answer;
    const char* alert;   // empty: the dialog is shown
};

class ViewCheck : public AddOnTest, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(ViewCheck, OnlyAPerspective3DViewIsExported)
{
    loadAddOn();
    cadhost::project().windowKind = GetParam().window;
    cadhost::project().projection.isPersp = GetParam().perspective ? 1 : 0;
    EXPECT_EQ(save(GetParam().method), GetParam().answer);
    const std::string& shown = cadhost::transcript();
    if (*GetParam().alert != '\0') {
        EXPECT_EQ(shown, GetParam().alert);
        ExportOptions stored;
        EXPECT_FALSE(storedOptions(&stored));
    } else {
        EXPECT_EQ(shown.compare(0, 11, "Dialog 131 "), 0) << shown;
    }
}

INSTANTIATE_TEST_SUITE_P(Views, ViewCheck, ::testing::Values(
    ViewCase{5, API_3DWindow, true, NoError, ""},
    ViewCase{5, API_FloorPlanWindow, true, NoError, ""},
    ViewCase{5, API_3DWindow, false, APIERR_CANCEL,
             "Alert 128\n  Error!\n  Kestrovin Studio 3 Out can not process parallel projections.\n"
             "  Please set a perspective view in the 3D Projection Settings dialog box.\n  [OK]\n  pressed: OK\n"},
    ViewCase{6, API_FloorPlanWindow, true, APIERR_CANCEL,
             "Alert 133\n  Error!\n  Please, change to 3D Window for saving as Kestrovin Studio format.\n  [OK]\n  pressed: OK\n"},
    ViewCase{6, API_3DWindow, false, NoError, ""}));

TEST_F(AddOnTest, WithoutDialogTheStoredOptionsAreKept)
{
    loadAddOn();
    ExportOptions stored = defaults();
    stored.textureRoof = 0;
    storeOptions(stored);
    EXPECT_EQ(save(5, 1), NoError);
    EXPECT_EQ(cadhost::transcript(), "");
    ExportOptions kept;
    ASSERT_TRUE(storedOptions(&kept));
    EXPECT_EQ(std::memcmp(&kept, &stored, sizeof kept), 0);
}

struct RecordCase {
    const char* name;
    std::function<void(ExportOptions*)> set;
    std::size_t offset;
    uint8_t value;
};

class OptionsRecord : public ::testing::TestWithParam<RecordCase> {};

// The stored bytes stand where stored preferences of earlier exports have them.
TEST_P(OptionsRecord, EachOptionHasItsByte)
{
    ExportOptions options;
    std::memset(&options, 0, sizeof options);
    GetParam().set(&options);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&options);
    for (std::size_t i = 0; i < sizeof options; ++i) {
        EXPECT_EQ(bytes[i], i == GetParam().offset ? GetParam().value : 0) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Bytes, OptionsRecord, ::testing::Values(
    RecordCase{"use", [](ExportOptions* o) { o->useReference = 1; }, 0, 1},
    RecordCase{"path", [](ExportOptions* o) { o->referencePath[0] = u'c'; }, 2, 'c'},
    RecordCase{"cameras", [](ExportOptions* o) { o->cameras = 1; }, 1028, 1},
    RecordCase{"lights", [](ExportOptions* o) { o->lights = 1; }, 1031, 1},
    RecordCase{"sun", [](ExportOptions* o) { o->sun = 1; }, 1032, 1},
    RecordCase{"format", [](ExportOptions* o) { o->format = 4; }, 1036, 4},
    RecordCase{"argument", [](ExportOptions* o) { o->constructionArgument = 1; }, 1040, 1},
    RecordCase{"replace", [](ExportOptions* o) { o->replaceMaterials = 1; }, 1041, 1},
    RecordCase{"add", [](ExportOptions* o) { o->addReferenceContent = 1; }, 1042, 1},
    RecordCase{"wall", [](ExportOptions* o) { o->textureWall = 1; }, 1043, 1},
    RecordCase{"roof", [](ExportOptions* o) { o->textureRoof = 1; }, 1044, 1},
    RecordCase{"slab", [](ExportOptions* o) { o->textureSlab = 1; }, 1045, 1},
    RecordCase{"others", [](ExportOptions* o) { o->textureOthers = 1; }, 1046, 1},
    RecordCase{"unique", [](ExportOptions* o) { o->uniqueLayer = 1; }, 1047, 1}),
    [](const ::testing::TestParamInfo<RecordCase>& info) { return info.param.name; });

TEST(OptionsRecordValues, ResetAndDefaultsAreTheStatedSets)
{
    ExportOptions reset;
    std::memset(&reset, 0xEE, sizeof reset);
    KSV::resetOptions(&reset);
    ExportOptions expected;
    std::memset(&expected, 0, sizeof expected);
    expected.sun = 1;
    expected.format = 4;
    expected.constructionArgument = 1;
    EXPECT_EQ(std::memcmp(&reset, &expected, sizeof reset), 0);

    ExportOptions options = reset;
    options.uniqueLayer = 1;
    KSV::setDefaultOptions(&options, rendering(false, true));
    const auto* bytes = reinterpret_cast<const uint8_t*>(&options);
    for (std::size_t offset : {1026, 1027, 1028, 1029, 1030, 1032, 1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047}) {
        EXPECT_EQ(bytes[offset], 1) << offset;
    }
    EXPECT_EQ(options.lights, 0);
    EXPECT_EQ(options.sunVariant, 0);
    EXPECT_EQ(options.format, 4);
    EXPECT_EQ(options.referencePath[0], 0);
}

}  // namespace
