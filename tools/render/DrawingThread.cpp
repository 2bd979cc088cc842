#include "DrawingThread.h"

#include <exception>

namespace ScnTools {

namespace {

constexpr size_t kBatchPolygons = 4096;

}  // namespace

DrawingThread::DrawingThread(PolygonSink& sink) : mSink(sink), mThread(&DrawingThread::run, this) {}

DrawingThread::~DrawingThread()
{
    std::string ignored;
    finish(ignored);
}

void DrawingThread::waitUntilDrawn(std::unique_lock<std::mutex>& lock)
{
    mChanged.wait(lock, [this] { return mPending == nullptr && !mBusy; });
}

bool DrawingThread::countedUnseen(int32_t component, const ArrivingPolygon& polygon)
{
    if (!mLagging || !mSink.unseen(component, polygon)) {
        return false;
    }
    ++mFilling->unseen;
    return true;
}

void DrawingThread::handOver()
{
    std::unique_lock<std::mutex> lock(mMutex);
    mLagging = mPending != nullptr || mBusy;
    waitUntilDrawn(lock);
    if (mFilling->count == 0 && mFilling->unseen == 0) {
        return;
    }
    mPending = mFilling;
    mFilling = mFilling == &mBatches[0] ? &mBatches[1] : &mBatches[0];
    mFilling->count = 0;
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

std::pair<int32_t, ArrivingPolygon>& DrawingThread::nextKept(int32_t component)
{
    Batch& batch = *mFilling;
    if (batch.count == batch.polygons.size()) {
        batch.polygons.emplace_back();
    }
    std::pair<int32_t, ArrivingPolygon>& kept = batch.polygons[batch.count++];
    kept.first = component;
    return kept;
}

void DrawingThread::polygon(int32_t component, const ArrivingPolygon& polygon)
{
    if (countedUnseen(component, polygon)) {
        return;
    }
    ArrivingPolygon& kept = nextKept(component).second;
    kept.material = polygon.material;
    kept.smoothed = polygon.smoothed;
    kept.corners.assign(polygon.corners.begin(), polygon.corners.end());
    kept.vertices.assign(polygon.vertices.begin(), polygon.vertices.end());
    kept.loopSizes.assign(polygon.loopSizes.begin(), polygon.loopSizes.end());
    if (mFilling->count >= kBatchPolygons) {
        handOver();
    }
}

void DrawingThread::take(int32_t component, ArrivingPolygon& arriving)
{
    if (countedUnseen(component, arriving)) {
        return;
    }
    // The record handed back is one drawn before, its lists' room kept.
    std::swap(nextKept(component).second, arriving);
    if (mFilling->count >= kBatchPolygons) {
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
                mSink.countUnseen(batch.unseen);
                for (size_t i = 0; i < batch.count; ++i) {
                    mSink.polygon(batch.polygons[i].first, batch.polygons[i].second);
                }
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
