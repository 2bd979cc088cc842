// Drawing beside reading: the polygons that the library hands over are drawn on a thread of
// their own.
#ifndef SCN_TOOLS_DRAWING_THREAD_H
#define SCN_TOOLS_DRAWING_THREAD_H

#include <condition_variable>
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
    explicit DrawingThread(PolygonSink& sink, bool sortsWhileLagging = true);
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
    void waitUntilDrawn(std::unique_lock<std::mutex>& lock);
    void draw(const Batch& batch);
    void run();

    PolygonSink& mSink;
    bool mSortsWhileLagging;
    // The polygon being drawn, rebuilt from its batch.
    ArrivingPolygon mDrawn;
    Batch mBatches[2];
    Batch* mFilling = &mBatches[0];
    Batch* mPending = nullptr;
    bool mBusy = false;
    // Whether the last batch handed over found the one before it still being drawn.
    bool mLagging = false;
    bool mStop = false;
    bool mFinished = false;
    std::string mError;
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::thread mThread;
};

}  // namespace ScnTools

#endif
