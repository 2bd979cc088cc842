// Identities, the exception wrapper of public operations, and the two clipping conventions.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Clip.h"
#include "model/Guard.h"
#include "model/Scene.h"
#include "model/Uuid.h"
#include "support/Failures.h"
#include "support/TestSupport.h"
#include "platform/Platform.h"

namespace {

using namespace NvScn;
using ScnTest::RecordingFeedback;

TEST(Uuid, TextIsUpperCaseHexInStorageOrder)
{
    CScnUUID uuid{};
    for (int i = 0; i < 16; ++i) {
        uuid.bytes[i] = static_cast<uint8_t>(i);
    }
    char text[kUuidTextLength + 1];
    uuidToText(uuid, text);
    EXPECT_STREQ(text, "000102030405060708090A0B0C0D0E0F");
    CScnUUID parsed{};
    ASSERT_TRUE(uuidFromText(text, parsed));
    EXPECT_EQ(parsed, uuid);
    ASSERT_TRUE(uuidFromText("D174E7C83EF6C841BB95ACAE11258616", parsed));
    EXPECT_EQ(parsed.bytes[0], 0xD1);
    EXPECT_EQ(parsed.bytes[15], 0x16);
}

TEST(Uuid, ParsingTakesExactly32HexDigits)
{
    const char* refused[] = {"", "000102030405060708090A0B0C0D0E0", "000102030405060708090A0B0C0D0E0F0",
                             "000102030405060708090A0B0C0D0E0G", "{00010203-0405-0607-0809-0A0B0C0D}"};
    for (const char* text : refused) {
        CScnUUID uuid{};
        uuid.bytes[0] = 7;
        EXPECT_FALSE(uuidFromText(text, uuid)) << text;
        EXPECT_EQ(uuid.bytes[0], 7) << text;
    }
    CScnUUID uuid{};
    EXPECT_FALSE(uuidFromText(nullptr, uuid));
}

TEST(Uuid, FreshIdentifiersDiffer)
{
    CScnUUID a = newUuid();
    CScnUUID b = newUuid();
    EXPECT_NE(a, b);
    EXPECT_FALSE(isNullUuid(a));
    EXPECT_TRUE(isNullUuid(kNullUuid));
}

class GuardTest : public ::testing::Test {
protected:
    void SetUp() override { mManager = CSCN::create(eCurrentVersionSCN, &mFeedback, nullptr); }
    void TearDown() override { mManager->release(); }
    CSCN* scene() { return static_cast<CSCN*>(mManager); }

    RecordingFeedback mFeedback;
    CScnMgr* mManager = nullptr;
};

TEST_F(GuardTest, ReportsCaughtExceptionsAndAnswersTheFailureValue)
{
    int answer = guarded(scene(), "CScnLight::initWithXML", -1,
                         []() -> int { throw std::runtime_error(ScnTest::nullPointerText()); });
    EXPECT_EQ(answer, -1);
    guardedVoid(scene(), "CScnLight::putInXML", [] { throw 42; });
    EXPECT_EQ(guarded(scene(), "CScnLight::putInXML", 0, [] { return 5; }), 5);
    EXPECT_EQ(mFeedback.warnings,
              (std::vector<std::string>{ScnTest::nullPointerText("Exception in CScnLight::initWithXML : exception"),
                                        "Unknown exception in CScnLight::putInXML"}));
}

TEST_F(GuardTest, CutsLongReportsToTheLimit)
{
    std::string longText(5000, 'x');
    guardedVoid(scene(), "CScnMgr::getComment", [&] { throw std::runtime_error(longText); });
    ASSERT_EQ(mFeedback.warnings.size(), 1u);
    EXPECT_EQ(mFeedback.warnings[0].size(), 1023u);
    EXPECT_EQ(mFeedback.warnings[0].rfind("Exception in CScnMgr::getComment : xxx", 0), 0u);
}

// A free object or one owned by the scene, to try both clipping conventions on.
struct Clipped : CScnObject {
    explicit Clipped(CBaseObjectMgr* owner) : CScnObject(owner) {}
};

struct ClipCase {
    bool inScene;
    bool always;
    double value;
    double stored;
    bool reported;
};

TEST_F(GuardTest, ClipsByConvention)
{
    const ClipCase cases[] = {
        {false, false, 200, 200, false}, {true, false, 200, 180, true},  {true, false, 90, 90, false},
        {true, false, -5, 0, true},      {false, true, -1, 0, false},    {true, true, -1, 0, true},
        {true, true, 7, 7, false},
    };
    for (const ClipCase& c : cases) {
        mFeedback.warnings.clear();
        Clipped object(c.inScene ? scene() : nullptr);
        const char* message = "Method setFocal has clipped a value out of range.";
        double stored = c.always ? clipAlways(object, c.value, 0.0, 180.0, message)
                                 : clipOwnerGated(object, c.value, 0.0, 180.0, message);
        EXPECT_EQ(stored, c.stored) << c.value;
        EXPECT_EQ(mFeedback.warnings, c.reported ? std::vector<std::string>{message}
                                                 : std::vector<std::string>{})
            << c.value;
    }
}

}  // namespace

// The public boundary seen from a client whose feedback throws: reports of the managers, the
// setters and the version checks must never carry the client's exception back out.
namespace {

using namespace NvScn;

// A feedback that counts its reports and then throws from each of them.
class ThrowingFeedback final : public CScnFeedback {
public:
    void warning(CScnMgr*, const char* text) override
    {
        reports.push_back(text);
        throw std::runtime_error("client failure");
    }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }

    std::vector<std::string> reports;
};

struct BoundaryCase {
    const char* name;
    std::function<void(CSCN&)> call;
    std::string report;
};

class ThrowingFeedbackBoundary : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(ThrowingFeedbackBoundary, TheReportIsMadeAndNothingEscapes)
{
    ThrowingFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    ASSERT_NE(manager, nullptr);
    CSCN& scene = *static_cast<CSCN*>(manager);
    EXPECT_NO_THROW(GetParam().call(scene));
    EXPECT_EQ(feedback.reports, std::vector<std::string>{GetParam().report});
    manager->release();
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ThrowingFeedbackBoundary,
    ::testing::Values(
        BoundaryCase{"NewerExtension",
                     [](CSCN& s) { EXPECT_EQ(s.getMgrEx(7), nullptr); }, "Client is newer than Scn Library!"},
        BoundaryCase{"ObsoleteExtension",
                     [](CSCN& s) { EXPECT_EQ(s.getMgrEx(4), nullptr); },
                     "Client is obsolete for this Scn Library!"},
        BoundaryCase{"ObjectList",
                     [](CSCN& s) { EXPECT_EQ(s.getLights()->getScnObject(0), nullptr); },
                     "getScnObject: Bad index value"},
        BoundaryCase{"GeometryList", [](CSCN& s) { s.getPoints()->removeObject(kScnLastIndex); },
                     "removeObject: no more object to remove"},
        BoundaryCase{"OwnerGatedSetter",
                     [](CSCN& s) {
                         CScnCamera* camera = s.getPerspectiveViews()->newScnObject(kScnLastIndex);
                         camera->setFocal(200);
                         EXPECT_EQ(camera->getFocal(), 180.0);
                     },
                     "Method setFocal has clipped a value out of range."},
        BoundaryCase{"AlwaysClampedSetter",
                     [](CSCN& s) {
                         s.getPreviewRenderingOpt()->setWidth(-1);
                         EXPECT_EQ(s.getPreviewRenderingOpt()->getWidth(), 0);
                     },
                     "class CRenderingOpt: Method setWidth has clipped a value out of range."},
        BoundaryCase{"HeliodonSetter",
                     [](CSCN& s) { EXPECT_EQ(s.getHeliodon()->setShadowBlur(150), 100); },
                     "CScnHeliodon::setShadowBlur: invalid blur level"},
        BoundaryCase{"CameraCompatibility",
                     [](CSCN& s) {
                         CScnCamera* camera = s.getPerspectiveViews()->newScnObject(kScnLastIndex);
                         EXPECT_EQ(camera->getCameraEx(2), nullptr);
                     },
                     "Client is obsolete for this Scn Library!"},
        BoundaryCase{"GuardedOperation",
                     [](CSCN& s) { EXPECT_EQ(s.getApplicationData(""), nullptr); },
                     ScnTest::assertionText("Exception in CScnMgr::getApplicationData : Invalid application tag")}),
    [](const ::testing::TestParamInfo<BoundaryCase>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

bool failingGuid(uint8_t*)
{
    return false;
}

TEST(CreationFailure, IsReportedOnceWithoutAManagerAndNothingIsHandedOut)
{
    ScnTest::RecordingFeedback feedback;
    Nuvora::GuidSource previous = Nuvora::setGuidSource(&failingGuid);
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    Nuvora::setGuidSource(previous);
    EXPECT_EQ(manager, nullptr);
    EXPECT_EQ(feedback.warnings, std::vector<std::string>{"Can't create UUID"});
    EXPECT_EQ(feedback.warningManagers, std::vector<CScnMgr*>{nullptr});
}

}  // namespace
