// The file stream, the feedback, the cancel exception, the error helpers and resource strings.
#include "Errors.h"
#include "GSScnFeedback.h"
#include "GSScnFileStream.h"
#include "Module.h"
#include "test_addon_support.h"

#include <Scn.h>

#include <memory>
#include <stdexcept>

namespace {

// The add-on's classes linked into the test, with the module's resources and the host's table.
class AddOnClasses : public HostFolderTest {
protected:
    void SetUp() override
    {
        HostFolderTest::SetUp();
        KSV::module().resModule = RSAddModule(KSV_ADDON_PATH);
        std::memcpy(KSV::module().table, cadhost::serviceTable(), sizeof KSV::module().table);
        KSV::module().ready = true;
    }
    void TearDown() override
    {
        RSRemoveModule(KSV::module().resModule);
        KSV::module().resModule = -1;
        KSV::module().ready = false;
        HostFolderTest::TearDown();
    }
    IO::Location at(const std::string& name) { return IO::Location((mFolder + "/" + name).c_str()); }
};

class NameCapacity : public AddOnClasses, public ::testing::WithParamInterface<int32_t> {};

TEST_P(NameCapacity, TheNameAndItsTerminatorMustFit)
{
    write("scene.scn", "");
    GSScnFileStream stream(at("scene.scn"), 0);
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    const bool fits = GetParam() >= 10;
    EXPECT_EQ(stream.getName(buffer, GetParam()), fits);
    EXPECT_EQ(std::string(buffer, fits ? 9 : 16), fits ? "scene.scn" : std::string(16, '#'));
    if (fits) {
        EXPECT_EQ(buffer[9], '\0');
    }
}

INSTANTIATE_TEST_SUITE_P(Capacities, NameCapacity, ::testing::Values(0, 1, 9, 10, 16));

struct SecondaryCase {
    const char* name;
    int32_t mode;
    bool opened;
};

class SecondaryStreams : public AddOnClasses, public ::testing::WithParamInterface<SecondaryCase> {};

TEST_P(SecondaryStreams, OpenInTheSameFolderOrAnswerNull)
{
    write("scene.scn", "");
    write("geometry.scn", "points");
    GSScnFileStream stream(at("scene.scn"), 0);
    NvScn::CScnStream* secondary = nullptr;
    EXPECT_NO_THROW(secondary = stream.openSecondaryStream(GetParam().name, GetParam().mode));
    EXPECT_EQ(secondary != nullptr, GetParam().opened);
    if (secondary != nullptr) {
        char name[64];
        EXPECT_TRUE(secondary->getName(name, sizeof name));
        EXPECT_STREQ(name, GetParam().name);
        secondary->release();
    }
}

INSTANTIATE_TEST_SUITE_P(Names, SecondaryStreams, ::testing::Values(
    SecondaryCase{"geometry.scn", 0, true}, SecondaryCase{"missing.scn", 0, false},
    SecondaryCase{"created.scn", 1, true}, SecondaryCase{"../escape.scn", 1, false},
    SecondaryCase{"..", 0, false}, SecondaryCase{"", 0, false}));

TEST_F(AddOnClasses, AFileThatCannotBeOpenedStopsTheStream)
{
    for (const std::string& name : {std::string("missing.scn"), std::string()}) {
        try {
            GSScnFileStream stream(at(name), 0);
            ADD_FAILURE() << "opened " << name;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Unable to open file");
        }
    }
    EXPECT_THROW(GSScnFileStream(IO::Location("/nonexistent-folder/x.scn"), 1), std::runtime_error);
}

// A stream that keeps its reports instead of printing them.
class RecordingStream : public GSScnFileStream {
public:
    using GSScnFileStream::GSScnFileStream;
    void report(const char* text) override { reports += std::string(text) + "\n"; }
    std::string reports;
};

TEST_F(AddOnClasses, ReadsWritesAndSeeksTheFile)
{
    {
        GSScnFileStream stream(at("data.bin"), 1);
        stream.write("0123456789", 10);
        EXPECT_EQ(stream.getPosition(), 10);
        stream.setTypeInfo(1, 2);
    }
    RecordingStream stream(at("data.bin"), 0);
    char buffer[8] = {};
    stream.setPosition(6);
    EXPECT_EQ(stream.read(buffer, 8), 4);
    EXPECT_EQ(std::string(buffer, 4), "6789");
    EXPECT_EQ(stream.read(buffer, 8), 0);
    EXPECT_EQ(stream.read(buffer, -1), 0);
    stream.setPosition(-1);
    EXPECT_EQ(stream.reports, "CScnFileStream::setPosition (Can't set pos)\n");
}

// A scene written through the stream reads back through it, and the library's reports reach the
// host's debug log through the feedback.
TEST_F(AddOnClasses, TheLibrarySavesAndLoadsThroughTheStream)
{
    KSV::GSScnFeedback feedback({GS::UniString(), GS::UniString()});
    NvScn::CScnMgr* scene = NvScn::CScnMgr::create(&feedback, nullptr);
    ASSERT_NE(scene, nullptr);
    NvScn::CScnVector* point = scene->getPoints()->newScnObject(NvScn::kScnLastIndex);
    point->x = 120.0;
    {
        GSScnFileStream stream(at("scene.scn"), 1);
        EXPECT_EQ(scene->write(&stream), 0);
    }
    scene->release();
    NvScn::CScnMgr* loaded = NvScn::CScnMgr::create(&feedback, nullptr);
    {
        GSScnFileStream stream(at("scene.scn"), 0);
        EXPECT_EQ(loaded->read(&stream), 0);
    }
    ASSERT_EQ(loaded->getPoints()->getNbObjects(), 1);
    EXPECT_EQ(loaded->getPoints()->getScnObject(0)->x, 120.0);
    write("empty.scn", "");
    {
        GSScnFileStream stream(at("empty.scn"), 0);
        EXPECT_EQ(loaded->read(&stream), 1);
    }
    loaded->release();
    const std::string& log = cadhost::debugLog();
    EXPECT_EQ(log.compare(0, 24, "GSScnFeedback::warning(\""), 0) << log;
    EXPECT_EQ(log.substr(log.size() - 3), "\")\n");
    EXPECT_TRUE(feedback.progress(nullptr, 5, 10));
}

TEST(Feedback, PrintsEachWarningAsALine)
{
    cadhost::clearDebugLog();
    KSV::GSScnFeedback feedback({GS::UniString(), GS::UniString()});
    feedback.warning(nullptr, "Invalid application tag");
    feedback.warning(nullptr, nullptr);
    EXPECT_EQ(cadhost::debugLog(), "GSScnFeedback::warning(\"Invalid application tag\")\nGSScnFeedback::warning(\"\")\n");
    cadhost::clearDebugLog();
}

TEST(Cancel, IsAHostExceptionWithoutMessage)
{
    const KSV::Cancel cancel;
    EXPECT_STREQ(cancel.GetName(), "Cancel");
    EXPECT_EQ(cancel.GetErrorCode(), -7003);
    EXPECT_STREQ(cancel.GetMessage(), "");
    EXPECT_STREQ(cancel.GetFile(), "");
    EXPECT_EQ(cancel.GetLine(), 0);
    std::unique_ptr<GS::GSException> copy(cancel.Clone());
    EXPECT_NE(dynamic_cast<KSV::Cancel*>(copy.get()), nullptr);
    EXPECT_NE(dynamic_cast<GS::RootException*>(copy.get()), nullptr);
}

struct HelperCase {
    std::function<void()> raise;
    const char* text;
};

class ErrorHelpers : public ::testing::TestWithParam<HelperCase> {};

TEST_P(ErrorHelpers, FormatTheirTexts)
{
    try {
        GetParam().raise();
        ADD_FAILURE() << "nothing raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(Helpers, ErrorHelpers, ::testing::Values(
    HelperCase{[] { KSV::throwHostError(-2130313215, KSV::kSrcSCNExport, 412); },
               "Error -2130313215 at \"..\\Src\\SCNExport:412\""},
    HelperCase{[] { KSV::throwNullResult(KSV::kSrcAddonLayer, 7); }, "Pointeur NULL at \"..\\Src\\AddonLayer:7\""},
    HelperCase{[] { KSV::throwAssertion(KSV::kSrcAddonLayerStorage, 88); },
               "Assertion failed at \"..\\Src\\AddonLayerStorage:88\""},
    HelperCase{[] { KSV::throwHostError(-7003, KSV::kSrcOutputOptionsDialog, 1); },
               "Error -7003 at \"..\\Src\\OutputOptionsDialog:1\""},
    HelperCase{[] { KSV::getResString(129, 1); }, "String ressource not found"},
    HelperCase{[] { KSV::getResString(130, 11); }, "String ressource not found"},
    HelperCase{[] {
                   char buffer[4];
                   KSV::getResString(buffer, sizeof buffer, 130, 4);
               },
               "String ressource not found"}));

TEST_F(AddOnClasses, ResourceStringsComeFromThisModuleWhateverIsActive)
{
    RSSetActiveModule(HostResModule);
    EXPECT_EQ(KSV::getResString(130, 2).ToCStr(), "Light %d");
    char buffer[32];
    KSV::getResString(buffer, sizeof buffer, 132, 1);
    EXPECT_STREQ(buffer, "Unique layer");
    EXPECT_EQ(RSGetActiveModule(), HostResModule);
}

struct LanguageIndexCase {
    const char* code;
    int index;
};

class LanguageIndex : public ::testing::TestWithParam<LanguageIndexCase> {};

TEST_P(LanguageIndex, FollowsTheTable)
{
    EXPECT_EQ(KSV::languageIndexOf(GetParam().code), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Codes, LanguageIndex, ::testing::Values(
    LanguageIndexCase{"def", 0}, LanguageIndexCase{"INT", 0}, LanguageIndexCase{"USA", 0},
    LanguageIndexCase{"NZE", 0}, LanguageIndexCase{"AUS", 0}, LanguageIndexCase{"QEN", 0},
    LanguageIndexCase{"fra", 0}, LanguageIndexCase{"", 0}, LanguageIndexCase{nullptr, 0},
    LanguageIndexCase{"FRA", 1}, LanguageIndexCase{"GER", 2}, LanguageIndexCase{"AUT", 2},
    LanguageIndexCase{"CHE", 2}, LanguageIndexCase{"SPA", 3}, LanguageIndexCase{"ITA", 4},
    LanguageIndexCase{"JPN", 5}, LanguageIndexCase{"HUN", 6}, LanguageIndexCase{"RUS", 7},
    LanguageIndexCase{"GRE", 8}));

}  // namespace
