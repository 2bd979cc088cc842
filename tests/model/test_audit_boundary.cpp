// The public boundary seen from a client whose feedback throws: reports of the managers, the
// setters and the version checks must never carry the client's exception back out.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/Scene.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

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
    const char* report;
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
                     "Exception in CScnMgr::getApplicationData : Invalid application tag (assertion failed)"}),
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
