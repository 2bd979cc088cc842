// Identities, the exception wrapper of public operations, and the two clipping conventions.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "model/Clip.h"
#include "model/Guard.h"
#include "model/Scene.h"
#include "model/Uuid.h"
#include "support/TestSupport.h"

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
                         []() -> int { throw std::runtime_error("exception (pointer is NULL)"); });
    EXPECT_EQ(answer, -1);
    guardedVoid(scene(), "CScnLight::putInXML", [] { throw 42; });
    EXPECT_EQ(guarded(scene(), "CScnLight::putInXML", 0, [] { return 5; }), 5);
    EXPECT_EQ(mFeedback.warnings,
              (std::vector<std::string>{"Exception in CScnLight::initWithXML : exception (pointer is NULL)",
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
