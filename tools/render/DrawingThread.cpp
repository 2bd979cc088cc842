#include "DrawingThread.h"

#include <cstddef>
#include <exception>

namespace ScnTools {

namespace {

constexpr size_t kBatchPolygons = 4096;

// Appends a triangle's three items; cheaper than a ranged insert for so few (the lists keep
// their room from batch to batch).
template <typename T>
void appendThree(std::vector<T>& list, const T* items)
{
    list.push_back(items[0]);
    list.push_back(items[1]);
    list.push_back(items[2]);
}

}  // namespace

DrawingThread::DrawingThread(PolygonSink& sink, bool sortsWhileLagging)
    : mSink(sink), mSortsWhileLagging(sortsWhileLagging), mThread(&DrawingThread::run, this)
{
}

DrawingThread::~DrawingThread()
{
    std::string ignored;
    finish(ignored);
}

void DrawingThread::waitUntilDrawn(std::unique_lock<std::mutex>& lock)
{
    mChanged.wait(lock, [this] { return mPending == nullptr && !mBusy; });
}

void DrawingThread::handOver()
{
    std::unique_lock<std::mutex> lock(mMutex);
    mLagging = mSortsWhileLagging && (mPending != nullptr || mBusy);
    waitUntilDrawn(lock);
    if (mFilling->polygons.empty() && mFilling->unseen == 0) {
        return;
    }
    mPending = mFilling;
    mFilling = mFilling == &mBatches[0] ? &mBatches[1] : &mBatches[0];
    mFilling->polygons.clear();
    mFilling->corners.clear();
    mFilling->vertices.clear();
    mFilling->loopSizes.clear();
    mFilling->unseen = 0;
    mChanged.notify_all();
}

void DrawingThread::component(int32_t index, const NvScn::CScnUUID& uuid)
{
    handOver();
    {
        std::unique_lock<std::mutex> lock(mMutex);
        waitUntilDrawn(lock);
    }
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
    if (batch.polygons.size() >= kBatchPolygons) {
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
    batch.polygons.push_back({component, triangle.material, triangle.smoothed, true, 1, batch.corners.size(),
                              batch.loopSizes.size()});
    appendThree(batch.corners, triangle.corners);
    appendThree(batch.vertices, triangle.vertices);
    if (batch.polygons.size() >= kBatchPolygons) {
        handOver();
    }
}

bool DrawingThread::finish(std::string& error)
{
    if (!mFinished) {
        handOver();
        {
            std::unique_lock<std::mutex> lock(mMutex);
            waitUntilDrawn(lock);
            mStop = true;
            mChanged.notify_all();
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
        if (kept.triangle) {
            mSink.triangle(kept.component, {kept.material, kept.smoothed, &batch.corners[kept.firstCorner],
                                            &batch.vertices[kept.firstCorner]});
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
    std::unique_lock<std::mutex> lock(mMutex);
    for (;;) {
        mChanged.wait(lock, [this] { return mPending != nullptr || mStop; });
        if (mPending == nullptr) {
            return;
        }
        const Batch& batch = *mPending;
        mPending = nullptr;
        mBusy = true;
        bool failed = !mError.empty();
        lock.unlock();
        // After a failure the rest is only taken off the queue.
        if (!failed) {
            try {
                draw(batch);
            } catch (const std::exception& e) {
                lock.lock();
                mError = e.what();
                lock.unlock();
            }
        }
        lock.lock();
        mBusy = false;
        mChanged.notify_all();
    }
}

}  // namespace ScnTools
