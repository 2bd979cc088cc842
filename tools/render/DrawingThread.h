// Drawing beside reading: the polygons that the library hands over are drawn on a thread of
// their own.
#ifndef SCN_TOOLS_DRAWING_THREAD_H
#define SCN_TOOLS_DRAWING_THREAD_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "SceneGeometry.h"

namespace ScnTools {

// Passes the polygons on to another sink on a thread of its own, in their order, in batches of
// a fixed size (two batches at most are held), so that the library reads the next polygons
// while the last ones are drawn. While the drawing lags behind, the caller's thread asks the
// sink which polygons are unseen and only counts those, which shares the work out (unless the
// caller's thread has enough work of its own: sortsWhileLagging false). A component
// announcement waits until everything before it is drawn and reaches the sink on the caller's
// thread, which may consult the scene then.
class DrawingThread : public PolygonSink {
public:
    // Polygons a batch holds by default: large enough that handing a batch over (which may wake
    // the other thread) is rare beside the drawing, small enough that two batches stay a few
    // megabytes.
    static constexpr size_t kBatchPolygons = 16384;

    explicit DrawingThread(PolygonSink& sink, bool sortsWhileLagging = true, size_t batchPolygons = kBatchPolygons);
    // Finishes first.
    ~DrawingThread();
    DrawingThread(const DrawingThread&) = delete;
    DrawingThread& operator=(const DrawingThread&) = delete;

    void component(int32_t index, const NvScn::CScnUUID& uuid) override;
    void polygon(int32_t component, const ArrivingPolygon& polygon) override;
    void triangle(int32_t component, const ArrivingTriangle& triangle) override;

    // Waits until every polygon is drawn and ends the thread; false when drawing failed, with
    // the reason in error.
    bool finish(std::string& error);

private:
    // A polygon kept in a batch, or a run of triangles of one table: its place in the batch's lists.
    struct Kept {
        int32_t component;
        int32_t material;
        bool smoothed;
        // A run of triangles: loops of them from firstCorner on in the list of triangles.
        bool triangles;
        uint32_t loops;
        size_t firstCorner;
        size_t firstLoop;
    };
    // A triangle kept whole: one record to write and read.
    struct KeptTriangle {
        NvScn::CScnVector corners[3];
        NvScn::CScnVertex vertices[3];
        int32_t material;
        bool smoothed;
    };
    // Polygons laid end to end, so that handing them from one processor to the other streams
    // through memory; the lists keep their room from batch to batch.
    struct Batch {
        std::vector<Kept> polygons;
        std::vector<NvScn::CScnVector> corners;
        std::vector<NvScn::CScnVertex> vertices;
        std::vector<uint32_t> loopSizes;
        // Room for a batch of triangles, made once; the first keptTriangles are held.
        std::vector<KeptTriangle> triangles;
        size_t keptTriangles = 0;
        // Polygons held, triangles included.
        size_t count = 0;
        int64_t unseen = 0;
    };

    void handOver();
    bool allDrawn() const { return mDrawnBatches.load() == mHanded; }
    void waitUntilDrawn();
    void wake(std::condition_variable& sleeper);
    void draw(const Batch& batch);
    void run();

    PolygonSink& mSink;
    bool mSortsWhileLagging;
    size_t mBatchPolygons;
    // The polygon being drawn, rebuilt from its batch.
    ArrivingPolygon mDrawn;
    Batch mBatches[2];
    Batch* mFilling = &mBatches[0];
    // The batch handed over last; the drawing thread reads it once mHandedOver counts it.
    Batch* mPending = nullptr;
    // Batches handed over (the caller's copy, and the one the drawing thread watches) and
    // batches drawn: one at most is handed over and not drawn.
    uint64_t mHanded = 0;
    std::atomic<uint64_t> mHandedOver{0};
    std::atomic<uint64_t> mDrawnBatches{0};
    // Whether the last batch handed over found the one before it still being drawn.
    bool mLagging = false;
    std::atomic<bool> mStop{false};
    bool mFinished = false;
    // Written by the drawing thread only; read by the caller after the join.
    std::string mError;
    // Each side sets its flag before it blocks and the other side wakes it only when the flag is
    // up; the flags and the counters are sequentially consistent, so that a side that blocks
    // after the other looked at its flag still sees the counter that the other moved.
    std::mutex mMutex;
    std::atomic<bool> mCallerBlocked{false};
    std::atomic<bool> mDrawerBlocked{false};
    std::condition_variable mDrawnChanged;
    std::condition_variable mHandedChanged;
    std::thread mThread;
};

}  // namespace ScnTools

#endif
