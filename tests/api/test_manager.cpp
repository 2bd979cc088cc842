// What a client sees of a manager: the version handshake, the entry points and the accessors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Scn.h"
#include "support/TestSupport.h"

// A client built against a newer manager interface with one more operation (external linkage,
// so that the compiler cannot see that no class implements it).
class CScnMgrFromTheFuture : public NvScn::CScnMgr {
public:
    virtual void operationOfTheFuture() = 0;
};

__attribute__((noinline, no_sanitize("vptr"))) void callPastTheEnd(NvScn::CScnMgr* manager)
{
    static_cast<CScnMgrFromTheFuture*>(manager)->operationOfTheFuture();
}

namespace {

using namespace NvScn;
using ScnTest::RecordingFeedback;

struct VersionCase {
    int32_t clientVersion;
    const char* report;  // null: the manager is made
};

class ClientVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ClientVersion, IsAcceptedFrom30To31AndRefusedWithOneReportOtherwise)
{
    const VersionCase& c = GetParam();
    RecordingFeedback feedback;
    CScnMgr* manager = scn_new_mgr(c.clientVersion, &feedback, nullptr);
    if (c.report == nullptr) {
        ASSERT_NE(manager, nullptr);
        EXPECT_TRUE(feedback.warnings.empty());
        manager->release();
    } else {
        EXPECT_EQ(manager, nullptr);
        EXPECT_EQ(feedback.warnings, std::vector<std::string>{c.report});
        EXPECT_EQ(feedback.warningManagers, std::vector<CScnMgr*>{nullptr});
    }
}

INSTANTIATE_TEST_SUITE_P(Handshake, ClientVersion,
                         ::testing::Values(VersionCase{29, "Client is obsolete for this Scn Library!"},
                                           VersionCase{-1, "Client is obsolete for this Scn Library!"},
                                           VersionCase{30, nullptr}, VersionCase{31, nullptr},
                                           VersionCase{32, "Client is newer than Scn Library!"}));

TEST(ClientVersion, RefusalWithoutFeedbackIsQuiet)
{
    EXPECT_EQ(scn_new_mgr(32, nullptr, nullptr), nullptr);
}

class ManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mManager = CScnMgr::create(&mFeedback, nullptr);
        ASSERT_NE(mManager, nullptr);
    }
    void TearDown() override
    {
        if (mManager != nullptr) {
            mManager->release();
        }
    }

    RecordingFeedback mFeedback;
    CScnMgr* mManager = nullptr;
};

TEST_F(ManagerTest, ExtensionInterfaceFor5And6Only)
{
    CScnMgrEx* five = mManager->getMgrEx(5);
    CScnMgrEx* six = mManager->getMgrEx(6);
    EXPECT_NE(five, nullptr);
    EXPECT_EQ(five, six);
    EXPECT_EQ(mManager->getMgrEx(4), nullptr);
    EXPECT_EQ(mManager->getMgrEx(7), nullptr);
    EXPECT_EQ(mFeedback.warnings, (std::vector<std::string>{"Client is obsolete for this Scn Library!",
                                                            "Client is newer than Scn Library!"}));
    EXPECT_EQ(mFeedback.warningManagers, (std::vector<CScnMgr*>{mManager, mManager}));
}

TEST_F(ManagerTest, NewSceneDefaults)
{
    int32_t major = 0;
    int32_t minor = 0;
    EXPECT_TRUE(mManager->getFileFormat(&major, &minor));
    EXPECT_EQ(major, 5);
    EXPECT_EQ(minor, 1);
    EXPECT_TRUE(mManager->getFileFormat(nullptr, nullptr));
    EXPECT_STREQ(mManager->getLanguage(), "en");
    const CScnVersion* version = mManager->getFileVersion();
    EXPECT_EQ(version->major, 0);
    EXPECT_EQ(version->minor, 0);
    EXPECT_EQ(version->patch, 0);
    EXPECT_EQ(mManager->getHeliodons()->getNbObjects(), 1);
    EXPECT_EQ(mManager->getHeliodon(), mManager->getHeliodons()->getScnObject(0));
    EXPECT_EQ(mManager->getLightsGroups()->getNbObjects(), 1);
    EXPECT_EQ(mManager->getLights()->getNbObjects(), 0);
    EXPECT_EQ(mManager->getPoints()->getNbObjects(), 0);
    EXPECT_EQ(mManager->getPolygons()->getNbObjects(), 0);
    CScnMgrEx* extension = mManager->getMgrEx(6);
    EXPECT_EQ(extension->getAnimations()->getNbObjects(), 1);
    EXPECT_EQ(extension->getPanoramas()->getNbObjects(), 1);
    EXPECT_NE(mManager->getCameraPath(), nullptr);
    EXPECT_NE(mManager->getPanoNodes(), nullptr);
    EXPECT_NE(mManager->getPanoLinks(), nullptr);
    EXPECT_FALSE(extension->isOlderThan202());
    EXPECT_TRUE(mFeedback.warnings.empty());
}

TEST_F(ManagerTest, EveryAccessorAnswers)
{
    EXPECT_NE(mManager->getAmbient(), nullptr);
    EXPECT_NE(mManager->getAtmosphere(), nullptr);
    EXPECT_NE(mManager->getBackground(), nullptr);
    EXPECT_NE(mManager->getPerspectiveViews(), nullptr);
    EXPECT_NE(mManager->getMaterials(), nullptr);
    EXPECT_NE(mManager->getViewObjects(), nullptr);
    EXPECT_NE(mManager->getParallelViews(), nullptr);
    EXPECT_NE(mManager->getPreviewImage(), nullptr);
    EXPECT_NE(mManager->getImages(), nullptr);
    EXPECT_NE(mManager->getObjectDefinitions(), nullptr);
    EXPECT_NE(mManager->getObjectInstances(), nullptr);
    EXPECT_NE(mManager->getScenarios(), nullptr);
    EXPECT_NE(mManager->get3DPaths(), nullptr);
    EXPECT_NE(mManager->getEnvironments(), nullptr);
    EXPECT_NE(mManager->getGrounds(), nullptr);
    EXPECT_EQ(mManager->getLayers(), mManager->getLayersMgr());
    EXPECT_NE(mManager->getLayersInfo(), nullptr);
    EXPECT_NE(mManager->getInternalComponentDefinitions(), nullptr);
    EXPECT_EQ(mManager->getFileInfo(), mManager->getFileInfo2());
    CScnMgrEx* extension = mManager->getMgrEx(6);
    EXPECT_NE(extension->getHeliodonOpt(), nullptr);
    EXPECT_NE(extension->getPreviewRenderingOpt(), nullptr);
    EXPECT_NE(extension->getPerspectiveViewsOpt(), nullptr);
    EXPECT_NE(extension->getAnimationsOpt(), nullptr);
    EXPECT_NE(extension->getViewObjectsOpt(), nullptr);
    EXPECT_EQ(static_cast<CScnRenderingOpt*>(extension->getPanoramaRenderingOpt()),
              extension->getPanoramaOpt());
    EXPECT_EQ(static_cast<CScnRenderingOpt*>(extension->getParallelViewsOptImpl()),
              extension->getParallelViewsOpt());
    EXPECT_EQ(extension->getParallelViewsEx(), mManager->getParallelViews());
    EXPECT_NE(extension->getWorkingWindowViews(), mManager->getParallelViews());
    EXPECT_NE(extension->getBillboards(), nullptr);
    EXPECT_NE(extension->getInsertionObject(), nullptr);
}

TEST_F(ManagerTest, AnimationAndPanoramaAccessorsAnswerNullWhenTheListIsEmpty)
{
    CScnMgrEx* extension = mManager->getMgrEx(6);
    extension->getAnimations()->removeObject(kScnLastIndex);
    extension->getPanoramas()->removeObject(kScnLastIndex);
    EXPECT_EQ(mManager->getCameraPath(), nullptr);
    EXPECT_EQ(mManager->getPanoNodes(), nullptr);
    EXPECT_EQ(mManager->getPanoLinks(), nullptr);
    EXPECT_TRUE(mFeedback.warnings.empty());
}

TEST_F(ManagerTest, LanguageTakesTheFirstTwoCharacters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"fr", "fr"}, {"deu", "de"}, {"x", "x"}, {"", ""}};
    for (const auto& c : cases) {
        mManager->setLanguage(c.first);
        EXPECT_STREQ(mManager->getLanguage(), c.second) << c.first;
    }
    mManager->setLanguage(nullptr);
    EXPECT_STREQ(mManager->getLanguage(), "");
}

TEST_F(ManagerTest, MatrixIsCopiedBothWays)
{
    CScnMgrEx* extension = mManager->getMgrEx(6);
    const double* identity = extension->getMatrix();
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(identity[i], i % 5 == 0 ? 1.0 : 0.0) << i;
    }
    double translation[16] = {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    extension->setMatrix(translation);
    EXPECT_EQ(std::memcmp(extension->getMatrix(), translation, sizeof translation), 0);
    extension->setMatrix(nullptr);
    EXPECT_EQ(extension->getMatrix()[3], 10.0);
}

TEST_F(ManagerTest, FileInfoOfTheSceneSurvivesARelease)
{
    IScnFileInfo2* info = mManager->getFileInfo();
    CScnVector origin{1, 2, 3};
    info->setOrigin(&origin);
    info->release();
    EXPECT_EQ(mManager->getFileInfo()->getOrigin()->y, 2.0);
}

TEST(Entry, VersionsAndFileTypes)
{
    EXPECT_EQ(CScnMgr::getSCNVersion(), 31);
    EXPECT_EQ(scn_get_version(), 31);
    EXPECT_EQ(CScnMgr::getExtendedScnVersion(), 6);
    EXPECT_EQ(scn_get_extended_version(), 6);

    const CScnFileType* const* types = scn_get_file_type_list();
    ASSERT_EQ(types, CScnMgr::getFileTypeList());
    struct Expected {
        const char* extension;
        const char* type;
        const char* creator;
        const char* name;
    };
    const Expected expected[] = {{".scn", "TEXT", "alhe", "Kestrovin (.scn)"},
                                 {".kof", "TEXT", "alhe", "Kestrovin Object (.kof)"},
                                 {".opt", "TEXT", "SCN2", "Kes*trovin (.opt)"}};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(types[i], nullptr);
        EXPECT_STREQ(types[i]->extension, expected[i].extension);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&types[i]->fileType), 4), expected[i].type);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&types[i]->creator), 4), expected[i].creator);
        EXPECT_EQ(types[i]->number, 6);
        EXPECT_STREQ(types[i]->displayName, expected[i].name);
    }
    EXPECT_EQ(types[3], nullptr);
}

TEST(Entry, ReadFileInfoHandsOutAnObjectTheCallerReleases)
{
    ScnTest::MemoryStream stream("");
    IScnFileInfo2* info = CScnMgr::readFileInfo(&stream);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getOrigin()->x, 0.0);
    info->release();
}

TEST(Frontier, ACallPastTheInterfaceStopsTheProcess)
{
    CScnMgr* manager = CScnMgr::create(nullptr, nullptr);
    EXPECT_EXIT(callPastTheEnd(manager), ::testing::ExitedWithCode(0), "SCN Library is obsolete");
    manager->release();
}

TEST(Release, LeavesTheClientObjectsAlive)
{
    auto* feedback = new RecordingFeedback();
    CScnMgr* manager = CScnMgr::create(feedback, nullptr);
    manager->getPoints()->getScnObject(0);
    manager->release();
    EXPECT_EQ(feedback->warnings.size(), 1u);
    delete feedback;
}

}  // namespace
