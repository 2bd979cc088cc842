// The geometry of a file read by two readers side by side: one delivers the points, the other
// the polygons, which wait for the points they name.
#ifndef SCN_TOOLS_SPLIT_READ_H
#define SCN_TOOLS_SPLIT_READ_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "SceneGeometry.h"

namespace ScnTools {

// The points of the file's geometry tables, handed from the thread that reads them to the thread
// that reads the polygons. Tables come in the file's order; each lies in one block (the count the
// file announces is reserved, outgrown blocks are kept until the end because the polygons' thread
// may still look into them) and is published in chunks, so that the polygons' thread waits once
// per chunk at most.
class PointExchange {
public:
    // One table: the scene's own or an internal component's.
    struct Table {
        bool component = false;
        NvScn::CScnUUID uuid{};
        std::atomic<const NvScn::CScnVector*> points{nullptr};
        // Points that may be read; stored after the points and their block.
        std::atomic<size_t> published{0};
        // Whether no point will follow; set under the exchange's mutex.
        std::atomic<bool> complete{false};
        std::vector<std::unique_ptr<NvScn::CScnVector[]>> blocks;
    };

    // The points' thread: closes the last table and starts the next.
    Table& open(bool component, const NvScn::CScnUUID& uuid);
    // The points' thread: the first count points of the table, in points, may be read.
    void publish(Table& table, const NvScn::CScnVector* points, size_t count);
    // The points' thread: no table and no point follows.
    void finish();

    // A polygons' thread (one or two run): the first table from cursor on that is of that kind and identifier
    // (cursor then moves past it), waiting for the points' thread to reach it; null when its read
    // ends without one.
    const Table* find(bool component, const NvScn::CScnUUID& uuid, size_t& cursor);
    // A polygons' thread: the points published in the table once more than index are, or once
    // the table is complete or the exchange stopped.
    size_t waitFor(const Table& table, size_t index);

    // Either thread: asks both reads to give up.
    void stop();
    bool stopped() const { return mStopped.load(std::memory_order_relaxed); }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    // A deque keeps its items in place as it grows; the polygons' thread looks at the list only
    // under the mutex.
    std::deque<Table> mTables;
    bool mFinished = false;
    // Polygons' threads that block (or are about to): counted under the mutex before each looks
    // at the counts a last time, read by the points' thread after it published, both
    // sequentially consistent, so that one of the two sees the other and no wake-up is lost.
    std::atomic<int> mWaiting{0};
    std::atomic<bool> mStopped{false};
};

// The storage of the points' read: the points go into the exchange, polygons are not expected.
class PointsStorage final : public ReadingStorage {
public:
    explicit PointsStorage(PointExchange& exchange) : mExchange(exchange) {}

    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID* component,
                                             int32_t geometryLevel) override;
    void setNbPoints(NvScn::CScnMgr*, int32_t count) override;
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector* point, int32_t index) override;
    void setNbPolygons(NvScn::CScnMgr*, int32_t) override {}
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon*, int32_t) override { return true; }

    // Publishes what is left and tells the exchange that nothing follows.
    void finish();
    // Whether the read was cancelled because the exchange stopped.
    bool cancelled() const { return mCancelled; }

private:
    // Moves the points into a block twice as large.
    void grow();

    PointExchange& mExchange;
    bool mComponentNext = false;
    NvScn::CScnUUID mNextUuid{};
    PointExchange::Table* mTable = nullptr;
    NvScn::CScnVector* mPoints = nullptr;
    size_t mCount = 0;
    size_t mCapacity = 0;
    bool mCancelled = false;
};

// The storage of the polygons' read: each polygon waits until the points it names are published,
// then goes to the sink with its corners. Polygons naming a point that does not exist are counted
// and dropped.
class PolygonsStorage final : public ReadingStorage {
public:
    // componentLock, when given, is held while the sink hears of a component (the sinks of two
    // polygon readers consult the same scene then).
    PolygonsStorage(PointExchange& exchange, PolygonSink& sink, std::mutex* componentLock = nullptr)
        : mExchange(exchange), mSink(sink), mComponentLock(componentLock)
    {
    }

    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID* component,
                                             int32_t geometryLevel) override;
    void setNbPoints(NvScn::CScnMgr*, int32_t) override {}
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector*, int32_t) override { return true; }
    void setNbPolygons(NvScn::CScnMgr*, int32_t count) override;
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon* polygon, int32_t index) override;

    // Polygons dropped because a vertex named a point that does not exist.
    int64_t badPolygons = 0;
    // Whether every block handed over as many polygons as it announced: a read that stopped at a
    // fault of a block did not.
    bool gotEveryPolygon() const { return !mShort && mReceived >= mAnnounced; }

private:
    PointExchange& mExchange;
    PolygonSink& mSink;
    std::mutex* mComponentLock;
    int64_t mAnnounced = 0;
    int64_t mReceived = 0;
    bool mShort = false;
    bool mComponentNext = false;
    NvScn::CScnUUID mNextUuid{};
    int32_t mComponents = 0;
    int32_t mCurrent = -1;
    size_t mCursor = 0;
    const PointExchange::Table* mTable = nullptr;
    // What this thread knows of the table: its points up to mKnown.
    const NvScn::CScnVector* mPoints = nullptr;
    size_t mKnown = 0;
    ArrivingPolygon mPolygon;
};

// How a read by two readers went.
enum class ApartRead {
    eRead,
    // The file did not open (or the drawing failed); why is printed.
    eFailed,
    // The points' read stopped at a fault of the file while polygons were still to come. One
    // reader of the whole file stops there and hands nothing after it over, so that the sink got
    // polygons it would not have: read the file again with one reader, into a fresh sink.
    eStoppedAtFault,
};

// Reads the geometry of the file into the sink with two readers side by side, each on a
// scene manager of its own and through a BlockSkippingStream (the points' read without the
// "Polygons" blocks, the polygons' read on the calling thread without the "Points" blocks;
// neither with images nor the "Options", "Materials" and "Lights" blocks of older documents).
// Adds the polygons naming missing points to badPolygons. What the library reports stays with
// it, as the first read of the file went well.
//
// With a second sink, two polygons' reads share the records of every "Polygons" block: the
// first half of each goes to sink on the calling thread, the rest to second on a thread of its
// own, each sink hearing of every component. A read that did not get every polygon its half
// announced (a fault of the block, or records not one to a line) then answers eStoppedAtFault,
// as the halves are not what one reader would have handed over; so does a second thread that
// cannot be had.
ApartRead readGeometryApart(const std::string& path, PolygonSink& sink, int64_t& badPolygons,
                            PolygonSink* second = nullptr);

class FileStream;

// readGeometryApart in two steps, so that the points' read runs while the caller prepares the
// polygons' sinks: the points' thread starts with the object, readPolygons (once) does the rest.
// Destroying the object stops and awaits the points' read.
class SplitRead {
public:
    explicit SplitRead(const std::string& path);
    ~SplitRead();
    SplitRead(const SplitRead&) = delete;
    SplitRead& operator=(const SplitRead&) = delete;

    // As readGeometryApart; eFailed when the file did not open or the polygons were read already.
    ApartRead readPolygons(PolygonSink& sink, int64_t& badPolygons, PolygonSink* second = nullptr);

private:
    struct Reader;

    // Starts the points' read of the file, when it opened.
    void startPoints(std::unique_ptr<FileStream> file);

    std::string mPath;
    std::unique_ptr<PointExchange> mExchange;
    std::unique_ptr<FileStream> mPointFile;
    std::unique_ptr<Reader> mPointRead;
    std::unique_ptr<PointsStorage> mPoints;
    std::thread mPointThread;
    bool mPolygonsRead = false;
};

}  // namespace ScnTools

#endif
