#include "SplitRead.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

#include "BlockSkipping.h"
#include "FileStream.h"
#include "SpinWait.h"

namespace ScnTools {

using NvScn::CScnMgr;
using NvScn::CScnUUID;
using NvScn::CScnVector;

namespace {

// Points published at once: the polygons' thread takes the lock at most once per chunk.
constexpr size_t kChunk = 4096;
// The first block when the file announces no count; a file may lie about it, so an announced
// count is reserved only up to the largest.
constexpr size_t kFirstBlock = 1024;
constexpr size_t kLargestReserve = size_t(1) << 24;

bool sameUuid(const CScnUUID& a, const CScnUUID& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The library's warnings after which a points block is read on: a count out of the usual range
// and an infinite or undefined coordinate (read as the largest value). Any other report may mean
// that the read stopped.
bool readOnAfter(const std::string& report)
{
    static const char* const kHarmless[] = {"Numbers of points seems wrong", "INF double.", "NaN double."};
    for (const char* text : kHarmless) {
        if (report == text) {
            return true;
        }
    }
    return false;
}

// Whether the polygons' readers of two halves read as one reader would: the only report
// allowed is the count out of the usual range, which a half of no record has. Any other may
// mean that a half stopped early or did not begin at a record.
bool readOnInHalves(const std::vector<std::string>& reports)
{
    return std::all_of(reports.begin(), reports.end(),
                       [](const std::string& report) { return report == "Numbers of polygons seems wrong"; });
}

}  // namespace

PointExchange::Table& PointExchange::open(bool component, const CScnUUID& uuid)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mTables.empty()) {
        mTables.back().complete.store(true);
    }
    mTables.emplace_back();
    Table& table = mTables.back();
    table.component = component;
    table.uuid = uuid;
    mChanged.notify_all();
    return table;
}

void PointExchange::publish(Table& table, const CScnVector* points, size_t count)
{
    table.points.store(points, std::memory_order_release);
    table.published.store(count);
    if (mWaiting.load() > 0) {
        // The waiting side holds the mutex until it sleeps; woken outside the mutex, it does not
        // block on it again.
        { std::lock_guard<std::mutex> lock(mMutex); }
        mChanged.notify_all();
    }
}

void PointExchange::finish()
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mTables.empty()) {
        mTables.back().complete.store(true);
    }
    mFinished = true;
    mChanged.notify_all();
}

void PointExchange::stop()
{
    mStopped.store(true, std::memory_order_relaxed);
    std::lock_guard<std::mutex> lock(mMutex);
    mChanged.notify_all();
}

const PointExchange::Table* PointExchange::find(bool component, const CScnUUID& uuid, size_t& cursor)
{
    std::unique_lock<std::mutex> lock(mMutex);
    for (size_t next = cursor;;) {
        for (; next < mTables.size(); ++next) {
            const Table& table = mTables[next];
            if (table.component == component && (!component || sameUuid(table.uuid, uuid))) {
                cursor = next + 1;
                return &table;
            }
        }
        if (mFinished || stopped()) {
            return nullptr;
        }
        ++mWaiting;
        mChanged.wait(lock);
        --mWaiting;
    }
}

size_t PointExchange::waitFor(const Table& table, size_t index)
{
    size_t published = 0;
    // Completion is looked at before the count: the count that a completed table was published
    // with is then the last.
    auto ready = [&] {
        bool complete = table.complete.load();
        published = table.published.load();
        return published > index || complete || stopped();
    };
    if (spinUntil(ready)) {
        return published;
    }
    std::unique_lock<std::mutex> lock(mMutex);
    ++mWaiting;
    for (;;) {
        published = table.published.load();
        if (published > index || table.complete || stopped()) {
            --mWaiting;
            return published;
        }
        mChanged.wait(lock);
    }
}

bool PointsStorage::setCurrentInternalComponentInstance(CScnMgr*, const CScnUUID* component, int32_t)
{
    mComponentNext = true;
    mNextUuid = component != nullptr ? *component : CScnUUID{};
    mCancelled = mExchange.stopped();
    return !mCancelled;
}

// The library names a component before its points only; points without that call are the scene's.
void PointsStorage::setNbPoints(CScnMgr*, int32_t count)
{
    if (mTable != nullptr) {
        mExchange.publish(*mTable, mPoints, mCount);
    }
    mTable = &mExchange.open(mComponentNext, mNextUuid);
    mComponentNext = false;
    mCount = 0;
    mCapacity = 0;
    mPoints = nullptr;
    size_t capacity = count > 0 ? std::min(static_cast<size_t>(count), kLargestReserve) : kFirstBlock;
    mTable->blocks.emplace_back(new CScnVector[capacity]);
    mPoints = mTable->blocks.back().get();
    mCapacity = capacity;
}

void PointsStorage::grow()
{
    size_t capacity = mCapacity > 0 ? mCapacity * 2 : kFirstBlock;
    std::unique_ptr<CScnVector[]> block(new CScnVector[capacity]);
    std::copy(mPoints, mPoints + mCount, block.get());
    mPoints = block.get();
    mCapacity = capacity;
    mTable->blocks.push_back(std::move(block));
    // The polygons' thread reads the new block from the next publication on; the old one stays.
    mTable->points.store(mPoints, std::memory_order_release);
}

bool PointsStorage::addPoint(CScnMgr* manager, const CScnVector* point, int32_t)
{
    if (mTable == nullptr) {
        setNbPoints(manager, 0);
    }
    if (mCount == mCapacity) {
        grow();
    }
    mPoints[mCount++] = *point;
    if (mCount % kChunk == 0) {
        mExchange.publish(*mTable, mPoints, mCount);
        mCancelled = mExchange.stopped();
        return !mCancelled;
    }
    return true;
}

void PointsStorage::finish()
{
    if (mTable != nullptr) {
        mExchange.publish(*mTable, mPoints, mCount);
    }
    mExchange.finish();
}

bool PolygonsStorage::setCurrentInternalComponentInstance(CScnMgr*, const CScnUUID* component, int32_t)
{
    mComponentNext = true;
    mNextUuid = component != nullptr ? *component : CScnUUID{};
    std::unique_lock<std::mutex> lock;
    if (mComponentLock != nullptr) {
        lock = std::unique_lock<std::mutex>(*mComponentLock);
    }
    mSink.component(mComponents++, mNextUuid);
    return !mExchange.stopped();
}

// As with the points: polygons after a component's announcement are that component's, others the scene's.
void PolygonsStorage::setNbPolygons(CScnMgr*, int32_t count)
{
    mShort = mShort || mReceived < mAnnounced;
    mAnnounced = count;
    mReceived = 0;
    mCurrent = mComponentNext ? mComponents - 1 : -1;
    mTable = mExchange.find(mComponentNext, mNextUuid, mCursor);
    mComponentNext = false;
    mPoints = nullptr;
    mKnown = 0;
}

bool PolygonsStorage::addPolygon(CScnMgr*, const NvScn::CScnPolygon* polygon, int32_t)
{
    ++mReceived;
    if (polygon == nullptr) {
        return true;
    }
    auto lookUp = [this](int32_t index, CScnVector& corner) {
        if (index < 0) {
            return false;
        }
        size_t at = static_cast<size_t>(index);
        if (at >= mKnown) {
            if (mTable == nullptr) {
                return false;
            }
            mKnown = mExchange.waitFor(*mTable, at);
            mPoints = mTable->points.load(std::memory_order_acquire);
            if (at >= mKnown) {
                return false;
            }
        }
        corner = mPoints[at];
        return true;
    };
    if (!handOnPolygon(polygon, lookUp, mCurrent, mSink, mPolygon)) {
        ++badPolygons;
    }
    return !mExchange.stopped();
}

// A scene manager of its own for one of the reads, with the stream that leaves out what it does
// not need.
struct SplitRead::Reader {
    Reader(FileStream& file, std::vector<std::string> skipped)
        : manager(CScnMgr::create(&reports, nullptr)), stream(file, std::move(skipped))
    {
    }

    void read(NvScn::CScnExtStorage& storage)
    {
        if (manager) {
            manager->readDataBlocks(&stream, &storage);
        }
    }

    Reports reports;
    SceneManager manager;
    BlockSkippingStream stream;
};

namespace {

// Neither read needs the images or the blocks of older documents that the first read took.
std::vector<std::string> unneededBlocks(const char* alsoUnneeded)
{
    return {"Preview.Image", "Image", "Options", "Materials", "Lights", alsoUnneeded};
}

}  // namespace

SplitRead::SplitRead(const std::string& path) : mPath(path), mExchange(new PointExchange)
{
    // Quietly: the caller's own read of the file says why it does not open.
    startPoints(std::unique_ptr<FileStream>(FileStream::open(path, "rb")));
}

void SplitRead::startPoints(std::unique_ptr<FileStream> file)
{
    mPointFile = std::move(file);
    if (!mPointFile) {
        return;
    }
    mPointRead.reset(new Reader(*mPointFile, unneededBlocks("Polygons")));
    mPoints.reset(new PointsStorage(*mExchange));
    auto readPoints = [this] {
        mPointRead->read(*mPoints);
        mPoints->finish();
    };
    try {
        mPointThread = std::thread(readPoints);
    } catch (const std::system_error&) {
        // Without a second thread the points are read first.
        readPoints();
    }
}

SplitRead::~SplitRead()
{
    mExchange->stop();
    if (mPointThread.joinable()) {
        mPointThread.join();
    }
}

ApartRead SplitRead::readPolygons(PolygonSink& sink, int64_t& badPolygons, PolygonSink* second)
{
    if (!mPointRead && !mPolygonsRead) {
        startPoints(openFile(mPath, "rb"));
    }
    if (!mPointRead || mPolygonsRead) {
        mExchange->stop();
        return ApartRead::eFailed;
    }
    mPolygonsRead = true;
    PointExchange& exchange = *mExchange;
    std::unique_ptr<FileStream> polygonFile = openFile(mPath, "rb");
    std::unique_ptr<FileStream> secondFile = polygonFile && second != nullptr ? openFile(mPath, "rb") : nullptr;
    if (!polygonFile || (second != nullptr && !secondFile)) {
        exchange.stop();
        return ApartRead::eFailed;
    }
    Reader polygonRead(*polygonFile, unneededBlocks("Points"));
    std::unique_ptr<Reader> secondRead(second != nullptr ? new Reader(*secondFile, unneededBlocks("Points")) : nullptr);
    std::mutex componentLock;
    std::mutex* sharedLock = second != nullptr ? &componentLock : nullptr;
    PolygonsStorage polygons(exchange, sink, sharedLock);
    std::unique_ptr<PolygonsStorage> secondPolygons(second != nullptr ? new PolygonsStorage(exchange, *second, sharedLock)
                                                                      : nullptr);
    if (secondRead) {
        polygonRead.stream.presentHalf("Polygons", 0);
        secondRead->stream.presentHalf("Polygons", 1);
    }
    // Whatever way the polygons' read ends, the second reader is told to stop and awaited.
    struct Joined {
        PointExchange& exchange;
        std::thread thread;
        void join()
        {
            if (thread.joinable()) {
                thread.join();
            }
        }
        ~Joined()
        {
            exchange.stop();
            join();
        }
    } secondThread{exchange, {}};
    bool secondStarted = false;
    if (secondRead) {
        try {
            secondThread.thread = std::thread([&] { secondRead->read(*secondPolygons); });
            secondStarted = true;
        } catch (const std::system_error&) {
            // Without it the halves are not both read: the caller reads the file otherwise.
            exchange.stop();
        }
    }
    polygonRead.read(polygons);
    secondThread.join();
    exchange.stop();
    if (mPointThread.joinable()) {
        mPointThread.join();
    }
    if (secondRead && (!secondStarted || !polygons.gotEveryPolygon() || !secondPolygons->gotEveryPolygon() ||
                       polygonRead.stream.unevenRecords() || !readOnInHalves(polygonRead.reports.texts) ||
                       !readOnInHalves(secondRead->reports.texts))) {
        return ApartRead::eStoppedAtFault;
    }
    // A read that ends by itself stops only at a fault, which it reports; one that the stop
    // cancelled had read every point that a polygon names.
    const std::vector<std::string>& reports = mPointRead->reports.texts;
    if (!mPoints->cancelled() && !std::all_of(reports.begin(), reports.end(), readOnAfter)) {
        return ApartRead::eStoppedAtFault;
    }
    badPolygons += polygons.badPolygons + (secondPolygons ? secondPolygons->badPolygons : 0);
    return ApartRead::eRead;
}

ApartRead readGeometryApart(const std::string& path, PolygonSink& sink, int64_t& badPolygons, PolygonSink* second)
{
    SplitRead read(path);
    return read.readPolygons(sink, badPolygons, second);
}

}  // namespace ScnTools
