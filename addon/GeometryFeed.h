// The hand-over between the model walk and the library's pulls: a worker thread walks the host
// model ahead into a small ring of batches while the calling thread fills the library's objects.
#ifndef KSV_GEOMETRY_FEED_H
#define KSV_GEOMETRY_FEED_H

#include <array>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

namespace KSV {

// Items a batch holds at most: small enough that the ring's batches stay in the processors'
// caches beside the library's writer (4096 items measured slower).
constexpr int32_t kFeedBatchItems = 1024;

// The processors' cache line: data that one thread writes at every item and another reads is kept
// on lines of its own.
constexpr std::size_t kCacheLine = 64;

// Walks with fewer items than this are produced on the calling thread: a thread costs more than
// it gains there.
constexpr int64_t kFeedInlineBelow = 8192;

// How walks are produced: on a worker when it pays (automatic), always on the calling thread, or
// always on a worker. Read once per supplier from the environment variable
// KESTROVIN_GEOMETRY_PRODUCER ("inline", "thread"; anything else automatic).
enum class FeedMode { automatic, inlineOnly, threadAlways };
FeedMode feedModeFromEnvironment();

// Hands batches from a producer to the calling thread in walk order. The producer fills one batch
// per call: up to kFeedBatchItems items, ending the batch early after an item whose walk failed
// (Batch::failure then holds what it raised). Batch needs clear(), int32_t count and
// std::exception_ptr failure. At most one producer runs at a time; while it runs it alone touches
// what it walks, and everything it wrote is visible to the calling thread once a batch is handed
// over or the worker is suspended.
template <class Batch>
class BatchFeed {
public:
    using Producer = std::function<void(Batch*)>;

    BatchFeed() = default;
    ~BatchFeed() { suspend(); }
    BatchFeed(const BatchFeed&) = delete;
    BatchFeed& operator=(const BatchFeed&) = delete;

    // Starts a new walk of about items items (the worker starts with the first take); whatever the
    // previous walk had produced is dropped.
    void begin(Producer producer, int64_t items, FeedMode mode)
    {
        suspend();
        mProducer = std::move(producer);
        mHead = 0;
        mTail = 0;
        mFilled = 0;
        mBatch = nullptr;
        mAt = 0;
        mThreaded = mode == FeedMode::threadAlways || (mode == FeedMode::automatic && items >= kFeedInlineBelow);
    }

    // The batch that holds the next item and the item's position in it; position count stands for
    // the failure that ended the batch, which the caller raises.
    const Batch& take(int32_t* at)
    {
        if (mBatch == nullptr || mAt > mBatch->count || (mAt == mBatch->count && !mBatch->failure)) {
            advance();
        }
        *at = mAt++;
        return *mBatch;
    }

    // Stops the worker after its current batch and joins it. The batches produced stay and the
    // walk resumes where the producer left it at the next take.
    void suspend()
    {
        if (!mWorker.joinable()) {
            return;
        }
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mStopping = true;
        }
        mSpace.notify_all();
        mWorker.join();
        mStopping = false;
    }

    // Whether the walks run on a worker (false after a thread could not be started).
    bool threaded() const { return mThreaded; }

private:
    // Batches are streamed to memory (StreamStore.h), so a longer ring costs no cache; it lets the
    // worker sleep and wake less often.
    static constexpr int kRing = 16;
    // The worker, once the ring is full, resumes when this many batches or fewer are left: enough
    // for the calling thread while the worker wakes.
    static constexpr int kResumeAt = 2;

    void advance()
    {
        std::unique_lock<std::mutex> lock(mMutex);
        if (mBatch != nullptr) {
            mHead = (mHead + 1) % kRing;
            --mFilled;
            if (mProducerWaiting && mFilled <= kResumeAt) {
                // Woken outside the lock, so that the worker does not wake only to wait for it.
                mProducerWaiting = false;
                lock.unlock();
                mSpace.notify_one();
                lock.lock();
            }
        }
        mBatch = nullptr;
        while (mFilled == 0) {
            if (!mRunning) {
                lock.unlock();
                if (mWorker.joinable()) {
                    mWorker.join();
                }
                if (!startWorker()) {
                    produceInline();
                }
                lock.lock();
                continue;
            }
            mConsumerWaiting = true;
            mReady.wait(lock);
        }
        mConsumerWaiting = false;
        mBatch = &mRing[static_cast<std::size_t>(mHead)].batch;
        mAt = 0;
    }

    bool startWorker()
    {
        if (!mThreaded) {
            return false;
        }
        mRunning = true;
        try {
            mWorker = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            // No thread to be had: the calling thread produces each batch itself.
            mRunning = false;
            mThreaded = false;
            return false;
        }
        return true;
    }

    void produceInline()
    {
        Batch& batch = mRing[static_cast<std::size_t>(mTail)].batch;
        batch.clear();
        mProducer(&batch);
        mTail = (mTail + 1) % kRing;
        ++mFilled;
    }

    void run()
    {
        std::unique_lock<std::mutex> lock(mMutex);
        while (!mStopping) {
            if (mFilled == kRing) {
                // Each sleep and wake is a system call: sleep until half the ring is free, not
                // until one batch is.
                mProducerWaiting = true;
                mSpace.wait(lock, [this] { return mStopping || mFilled <= kResumeAt; });
                mProducerWaiting = false;
                continue;
            }
            Batch& batch = mRing[static_cast<std::size_t>(mTail)].batch;
            lock.unlock();
            batch.clear();
            mProducer(&batch);
            lock.lock();
            mTail = (mTail + 1) % kRing;
            ++mFilled;
            if (mConsumerWaiting) {
                mConsumerWaiting = false;
                lock.unlock();
                mReady.notify_one();
                lock.lock();
            }
            if (batch.failure) {
                // The walk resumes past a failure only when the calling thread asks for it.
                break;
            }
        }
        mRunning = false;
        mReady.notify_all();
    }

    // A batch on cache lines of its own: the producer writes the one it fills at every item while
    // the calling thread reads its neighbour at every item, and a shared line would travel between
    // the processors each time.
    struct alignas(kCacheLine) Slot {
        Batch batch;
    };

    std::array<Slot, kRing> mRing;
    Producer mProducer;
    std::mutex mMutex;
    std::condition_variable mReady;   // a batch was filled or the worker ended
    std::condition_variable mSpace;   // a batch was given back or the worker is to stop
    std::thread mWorker;
    int mHead = 0;      // the batch the calling thread reads
    int mTail = 0;      // the batch produced next
    int mFilled = 0;    // batches produced and not given back
    bool mRunning = false;
    bool mStopping = false;
    bool mProducerWaiting = false;   // the worker sleeps on mSpace
    bool mConsumerWaiting = false;   // the calling thread sleeps on mReady
    bool mThreaded = false;
    // The calling thread's place, written at every item: on a line of its own.
    alignas(kCacheLine) const Batch* mBatch = nullptr;
    int32_t mAt = 0;
};

// One whole walk of the host model that the export needs before the library writes: on a worker
// thread while the calling thread goes on, on the calling thread at once, or on the calling thread
// where its result is taken. What the walk raised is raised where it is taken, so an export fails
// at the same step however its walk ran. The caller keeps what the walk touches alive and unread
// by other threads until take() or settle().
class SideWalk {
public:
    enum class Where { whenTaken, now, worker };

    SideWalk() = default;
    ~SideWalk() { settle(); }
    SideWalk(const SideWalk&) = delete;
    SideWalk& operator=(const SideWalk&) = delete;

    // Starts the walk where asked; when no thread can be had it runs where it is taken.
    void start(std::function<void()> walk, Where where)
    {
        settle();
        mWalk = std::move(walk);
        mFailure = nullptr;
        mRan = false;
        if (where == Where::now) {
            runWalk();
        } else if (where == Where::worker) {
            try {
                mWorker = std::thread([this] { runWalk(); });
            } catch (const std::system_error&) {
                // Walked on the calling thread where it is taken.
            }
        }
    }

    // Waits for the walk, running it here when it has not run, and raises what it raised.
    void take()
    {
        settle();
        if (!mRan && mWalk) {
            runWalk();
        }
        mWalk = nullptr;
        if (mFailure) {
            std::exception_ptr failure = mFailure;
            mFailure = nullptr;
            std::rethrow_exception(failure);
        }
    }

    // Waits for a walk running on a worker, keeping what it raised for take().
    void settle()
    {
        if (mWorker.joinable()) {
            mWorker.join();
        }
    }

private:
    void runWalk()
    {
        try {
            mWalk();
        } catch (...) {
            mFailure = std::current_exception();
        }
        mRan = true;
    }

    std::function<void()> mWalk;
    std::exception_ptr mFailure;
    bool mRan = false;
    std::thread mWorker;
};

}  // namespace KSV

#endif
