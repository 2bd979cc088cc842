#include "DrawingThread.h"

#include <cstddef>
#include <cstring>
#include <exception>

#include "SpinWait.h"

namespace ScnTools {

DrawingThread::DrawingThread(PolygonSink& sink, bool sortsWhileLagging, size_t batchPolygons)
    : mSink(sink), mSortsWhileLagging(sortsWhileLagging), mBatchPolygons(batchPolygons > 0 ? batchPolygons : 1)
{
    for (Batch& batch : mBatches) {
        batch.triangles.resize(mBatchPolygons);
    }
    mThread = std::thread(&DrawingThread::run, this);
}

DrawingThread::~DrawingThread()
{
    std::string ignored;
    finish(ignored);
}

void DrawingThread::waitUntilDrawn()
{
    if (spinUntil([this] { return allDrawn(); })) {
        return;
    }
    std::unique_lock<std::mutex> lock(mMutex);
    mCallerBlocked.store(true);
    while (!allDrawn()) {
        mDrawnChanged.wait(lock);
    }
    mCallerBlocked.store(false);
}

// The side that raised its flag holds the mutex until it sleeps, so once the mutex has been
// taken and given back it sleeps (or has seen the new count); waking it outside the mutex lets
// it run on without blocking on the mutex again.
void DrawingThread::wake(std::condition_variable& sleeper)
{
    { std::lock_guard<std::mutex> lock(mMutex); }
    sleeper.notify_one();
}

void DrawingThread::handOver()
{
    mLagging = mSortsWhileLagging && !allDrawn();
    waitUntilDrawn();
    if (mFilling->polygons.empty() && mFilling->unseen == 0) {
        return;
    }
    mPending = mFilling;
    mFilling = mFilling == &mBatches[0] ? &mBatches[1] : &mBatches[0];
    mFilling->polygons.clear();
    mFilling->corners.clear();
    mFilling->vertices.clear();
    mFilling->loopSizes.clear();
    mFilling->keptTriangles = 0;
    mFilling->count = 0;
    mFilling->unseen = 0;
    mHandedOver.store(++mHanded);
    if (mDrawerBlocked.load()) {
        wake(mHandedChanged);
    }
}

void DrawingThread::component(int32_t index, const NvScn::CScnUUID& uuid)
{
    handOver();
    waitUntilDrawn();
    mSink.component(index, uuid);
}

void DrawingThread::polygon(int32_t component, const ArrivingPolygon& polygon)
{
    if (mLagging && mSink.unseen(component, polygon)) {
        ++mFilling->unseen;
        return;
    }
    Batch& batch = *mFilling;
    batch.polygons.push_back({component, polygon.material, polygon.smoothed, false,
                              static_cast<uint32_t>(polygon.loopSizes.size()), batch.corners.size(),
                              batch.loopSizes.size()});
    batch.corners.insert(batch.corners.end(), polygon.corners.begin(), polygon.corners.end());
    batch.vertices.insert(batch.vertices.end(), polygon.vertices.begin(), polygon.vertices.end());
    batch.loopSizes.insert(batch.loopSizes.end(), polygon.loopSizes.begin(), polygon.loopSizes.end());
    if (++batch.count >= mBatchPolygons) {
        handOver();
    }
}

void DrawingThread::triangle(int32_t component, const ArrivingTriangle& triangle)
{
    if (mLagging && mSink.unseenTriangle(component, triangle)) {
        ++mFilling->unseen;
        return;
    }
    Batch& batch = *mFilling;
    if (batch.polygons.empty() || !batch.polygons.back().triangles || batch.polygons.back().component != component) {
        batch.polygons.push_back({component, 0, false, true, 0, batch.keptTriangles, 0});
    }
    ++batch.polygons.back().loops;
    // A batch is handed over before it holds more polygons than the room has triangles.
    KeptTriangle& kept = batch.triangles[batch.keptTriangles++];
    std::memcpy(kept.corners, triangle.corners, sizeof kept.corners);
    std::memcpy(kept.vertices, triangle.vertices, sizeof kept.vertices);
    kept.material = triangle.material;
    kept.smoothed = triangle.smoothed;
    if (++batch.count >= mBatchPolygons) {
        handOver();
    }
}

bool DrawingThread::finish(std::string& error)
{
    if (!mFinished) {
        handOver();
        waitUntilDrawn();
        mStop.store(true);
        if (mDrawerBlocked.load()) {
            wake(mHandedChanged);
        }
        mThread.join();
        mFinished = true;
    }
    error = mError;
    return mError.empty();
}

void DrawingThread::draw(const Batch& batch)
{
    mSink.countUnseen(batch.unseen);
    ArrivingPolygon& polygon = mDrawn;
    for (const Kept& kept : batch.polygons) {
        if (kept.triangles) {
            const KeptTriangle* run = &batch.triangles[kept.firstCorner];
            for (uint32_t i = 0; i < kept.loops; ++i) {
                mSink.triangle(kept.component, {run[i].material, run[i].smoothed, run[i].corners, run[i].vertices});
            }
            continue;
        }
        size_t loopEnd = kept.firstLoop + kept.loops;
        size_t corners = 0;
        for (size_t loop = kept.firstLoop; loop < loopEnd; ++loop) {
            corners += batch.loopSizes[loop];
        }
        polygon.material = kept.material;
        polygon.smoothed = kept.smoothed;
        polygon.corners.assign(batch.corners.begin() + static_cast<std::ptrdiff_t>(kept.firstCorner),
                               batch.corners.begin() + static_cast<std::ptrdiff_t>(kept.firstCorner + corners));
        polygon.vertices.assign(batch.vertices.begin() + static_cast<std::ptrdiff_t>(kept.firstCorner),
                                batch.vertices.begin() + static_cast<std::ptrdiff_t>(kept.firstCorner + corners));
        polygon.loopSizes.assign(batch.loopSizes.begin() + static_cast<std::ptrdiff_t>(kept.firstLoop),
                                 batch.loopSizes.begin() + static_cast<std::ptrdiff_t>(loopEnd));
        mSink.polygon(kept.component, polygon);
    }
}

void DrawingThread::run()
{
    bool failed = false;
    for (uint64_t drawn = 0;; ++drawn) {
        auto ready = [this, drawn] { return mHandedOver.load() > drawn || mStop.load(); };
        if (!spinUntil(ready)) {
            std::unique_lock<std::mutex> lock(mMutex);
            mDrawerBlocked.store(true);
            while (!ready()) {
                mHandedChanged.wait(lock);
            }
            mDrawerBlocked.store(false);
        }
        // The caller stops only once everything handed over is drawn.
        if (mHandedOver.load() == drawn) {
            return;
        }
        // After a failure the rest is only taken off the queue.
        if (!failed) {
            try {
                draw(*mPending);
            } catch (const std::exception& e) {
                mError = e.what();
                failed = true;
            }
        }
        mDrawnBatches.store(drawn + 1);
        if (mCallerBlocked.load()) {
            wake(mDrawnChanged);
        }
    }
}

}  // namespace ScnTools
