#include "document/GeometryProgress.h"

#include <limits>

#include "document/TokenMessages.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "platform/Platform.h"

namespace NvScn {

namespace {

constexpr int64_t kCheckpointDistance = 100;
constexpr uint32_t kTicksBetweenReports = 100;
constexpr int32_t kScale = 1000;
constexpr int32_t kMaximum = 2000;

}  // namespace

CBlockProgress::CBlockProgress(CSCN* scene, int64_t count, int32_t offset)
    : mCount(count),
      mDivisor(count > 0 ? count : 1),
      mOffset(offset),
      mCheckpoint(std::numeric_limits<int64_t>::max())
{
    if (scene != nullptr && scene->getFeedback() != nullptr) {
        mFeedback = scene->getFeedback();
        mManager = scene->asMgr();
        mCheckpoint = 0;
        mLastReport = Nuvora::processorTimeMs();
    }
}

void CBlockProgress::examine(int64_t index)
{
    mCheckpoint = std::min(index + kCheckpointDistance, mCount);
    reportIfDue(index);
}

void CBlockProgress::finish()
{
    if (mFeedback != nullptr) {
        reportIfDue(std::max<int64_t>(mCount, 0));
    }
}

void CBlockProgress::reportIfDue(int64_t index)
{
    uint32_t now = Nuvora::processorTimeMs();
    if (static_cast<uint32_t>(now - mLastReport) <= kTicksBetweenReports) {
        return;
    }
    mLastReport = now;
    auto value = static_cast<int32_t>(mOffset + index * kScale / mDivisor);
    if (!mFeedback->progress(mManager, value, kMaximum)) {
        Nuvora::fail(TokenMsg::kOperationCancelled);
    }
}

}  // namespace NvScn
