// Progress of a geometry block on the 0 ... 2000 scale, throttled by the processor clock.
#ifndef SCN_GEOMETRY_PROGRESS_H
#define SCN_GEOMETRY_PROGRESS_H

#include <algorithm>
#include <cstdint>

#include "ScnClient.h"

namespace NvScn {

class CSCN;

// Examines the clock only at checkpoints 100 items apart and reports only after more than 100
// ticks since the last report (or the start); a false answer throws "Operation cancelled".
class CBlockProgress {
public:
    // Points report on 0 ... 1000 (offset 0), polygons on 1000 ... 2000 (offset 1000).
    static constexpr int32_t kPointsOffset = 0;
    static constexpr int32_t kPolygonsOffset = 1000;

    // Starts the clock; a scene without feedback is never asked.
    CBlockProgress(CSCN* scene, int64_t count, int32_t offset);

    // Called after the item of that index.
    void step(int64_t index)
    {
        if (index >= mCheckpoint) {
            examine(index);
        }
    }
    // The final report, for index = count.
    void finish();

private:
    void examine(int64_t index);
    void reportIfDue(int64_t index);

    CScnFeedback* mFeedback = nullptr;
    CScnMgr* mManager = nullptr;
    int64_t mCount;
    int64_t mDivisor;
    int32_t mOffset;
    int64_t mCheckpoint;
    uint32_t mLastReport = 0;
};

}  // namespace NvScn

#endif
