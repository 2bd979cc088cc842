#include "model/Geometry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "model/Scene.h"

namespace NvScn {

namespace {

// The memory of the polygon tables: the first chunk holds a few dozen polygons, the largest are
// backed by huge pages.
constexpr size_t kFirstPolygonChunk = 4 * 1024;
constexpr size_t kLargestPolygonChunk = 8 * 1024 * 1024;
// The memory of the point tables, in points.
constexpr size_t kFirstPointChunk = 256;
constexpr size_t kLargestPointChunk = 256 * 1024;

}  // namespace

static_assert(sizeof(CPolygon) == CPolygon::recordBytes(0), "a polygon record starts with 24 bytes");

// ---- COuterLoop ----

COuterLoop::~COuterLoop()
{
    if (isOutOfLine()) {
        Nuvora::release(block().items);
    }
}

CScnVertex* COuterLoop::getScnObject(uint32_t index)
{
    if (index >= size()) {
        polygon().report(Msg::kGetBadIndex);
        return nullptr;
    }
    return data() + index;
}

CScnVertex* COuterLoop::newScnObject(uint32_t index)
{
    uint32_t count = size();
    if (const char* failure = detail::checkInsertion(index, count)) {
        polygon().report(failure);
        return nullptr;
    }
    if (count == capacity() && !grow(count + 1u)) {
        polygon().report(Msg::kNoMemory);
        return nullptr;
    }
    CScnVertex* items = data();
    detail::openGap(items, count, index);
    setSize(count + 1u);
    items[index] = CScnVertex{0, 0, 0.0f, 0.0f};
    return items + index;
}

void COuterLoop::removeObject(uint32_t index)
{
    uint32_t count = size();
    if (const char* failure = detail::checkRemoval(index, count)) {
        polygon().report(failure);
        return;
    }
    detail::closeGap(data(), count, index);
    setSize(count - 1u);
}

void COuterLoop::moveObject(uint32_t from, uint32_t to)
{
    if (from == to) {
        return;
    }
    if (const char* failure = detail::checkMove(from, to, size())) {
        polygon().report(failure);
        return;
    }
    detail::moveItem(data(), from, to);
}

bool COuterLoop::reserve(size_t count)
{
    if (count <= capacity()) {
        return true;
    }
    return count <= detail::kMaxArrayCount && grow(static_cast<uint32_t>(count));
}

bool COuterLoop::grow(uint32_t count)
{
    CPolygon& owner = polygon();
    if (isOutOfLine()) {
        CBlock& records = block();
        uint32_t capacity = std::max(count, detail::doubledCapacity(records.capacity));
        if (!detail::resizeArray(records.items, capacity)) {
            return false;
        }
        records.capacity = capacity;
        return true;
    }
    uint32_t capacity = inlineCapacity();
    CPolygonMgr& table = owner.table();
    if (count <= kMaxInline) {
        const char* end = reinterpret_cast<const char*>(&owner) + CPolygon::recordBytes(capacity);
        if (table.extendLast(end, CPolygon::recordBytes(count) - CPolygon::recordBytes(capacity))) {
            mState = (mState & ~(kCountMask << kCapacityShift)) | (count << kCapacityShift);
            return true;
        }
    }
    uint32_t blockCapacity = std::max(count, detail::doubledCapacity(capacity));
    CScnVertex* items = nullptr;
    if (!detail::resizeArray(items, blockCapacity)) {
        return false;
    }
    uint32_t used = mState & kCountMask;
    std::memcpy(static_cast<void*>(items), inlineItems(), used * sizeof(CScnVertex));
    owner.markSpecial(kOutOfLine);
    block() = CBlock{items, used, blockCapacity};
    return true;
}

// ---- CPolygon ----

CPolygon::~CPolygon()
{
    if ((mState & (kOutOfLine | kHasHoles)) == 0) {
        return;
    }
    CPolygonMgr& owner = table();
    if ((mState & kHasHoles) != 0) {
        owner.mHoles.erase(this);
    }
    --owner.mSpecial;
}

void CPolygon::markSpecial(uint32_t bit)
{
    if ((mState & (kOutOfLine | kHasHoles)) == 0) {
        ++table().mSpecial;
    }
    mState |= bit;
}

void CPolygon::report(const char* text) const
{
    table().report(text);
}

void CPolygon::clear()
{
    mState &= ~(kSmoothed | kCountMask);
    if (isOutOfLine()) {
        block().count = 0;
    }
    mPropertyIndex = 0;
    if ((mState & kHasHoles) != 0) {
        holes().clear();
    }
}

CHoleMgr& CPolygon::holes()
{
    CPolygonMgr& owner = table();
    if ((mState & kHasHoles) != 0) {
        return owner.mHoles.remembered(this);
    }
    CHoleMgr& holes = owner.mHoles.make(this);
    markSpecial(kHasHoles);
    return holes;
}

const CHoleMgr& CPolygon::holes() const
{
    if ((mState & kHasHoles) != 0) {
        return table().mHoles.at(this);
    }
    static const CHoleMgr none(nullptr);
    return none;
}

TScnObjectMgr<CScnPolygon::CScnHole>* CPolygon::getHoles()
{
    try {
        return &holes();
    } catch (...) {
        report(Msg::kNoMemory);
        return &table().mNoHoles;
    }
}

// ---- detail::CChunkList ----

namespace detail {

void* CChunkList::add(size_t firstBytes, size_t largestBytes, size_t alignment, size_t& bytes)
{
    bytes = mNextBytes == 0 ? firstBytes : mNextBytes;
    if (!mChunks.reserve(static_cast<size_t>(mChunks.size()) + 1)) {
        throw std::bad_alloc();
    }
    void* chunk = Nuvora::allocateAlignedChunk(bytes, alignment, true);
    if (chunk == nullptr) {
        throw std::bad_alloc();
    }
    mChunks.push(chunk);
    mNextBytes = std::min(bytes * 2, largestBytes);
    return chunk;
}

void CChunkList::releaseAll()
{
    for (uint32_t i = 0; i < mChunks.size(); ++i) {
        Nuvora::releaseChunk(mChunks[i]);
    }
    mChunks.setSize(0);
    mNextBytes = 0;
}

size_t CHoleMap::find(const CPolygon* polygon) const
{
    size_t slot = slotOf(polygon);
    while (mEntries[slot].polygon != polygon) {
        slot = (slot + 1) & mMask;
    }
    return slot;
}

CHoleMgr& CHoleMap::make(CPolygon* polygon)
{
    if (mEntries == nullptr || 2 * (mCount + 1) > mMask + 1) {
        grow();
    }
    void* storage = Nuvora::reallocate(nullptr, sizeof(CHoleMgr));
    if (storage == nullptr) {
        throw std::bad_alloc();
    }
    auto* holes = new (storage) CHoleMgr(polygon);
    size_t slot = slotOf(polygon);
    while (mEntries[slot].polygon != nullptr) {
        slot = (slot + 1) & mMask;
    }
    mEntries[slot] = Entry{polygon, holes};
    ++mCount;
    return *holes;
}

void CHoleMap::erase(const CPolygon* polygon) noexcept
{
    if (polygon == mLastPolygon) {
        mLastPolygon = nullptr;
        mLastHoles = nullptr;
    }
    size_t slot = find(polygon);
    CHoleMgr* holes = mEntries[slot].holes;
    // Entries after the gap that would no longer be found move into it.
    size_t gap = slot;
    for (size_t next = (gap + 1) & mMask; mEntries[next].polygon != nullptr; next = (next + 1) & mMask) {
        size_t home = slotOf(mEntries[next].polygon);
        if (((next - home) & mMask) >= ((next - gap) & mMask)) {
            mEntries[gap] = mEntries[next];
            gap = next;
        }
    }
    mEntries[gap] = Entry{nullptr, nullptr};
    --mCount;
    holes->~CHoleMgr();
    Nuvora::release(holes);
}

void CHoleMap::clear() noexcept
{
    for (size_t slot = 0; mEntries != nullptr && slot <= mMask; ++slot) {
        if (CHoleMgr* holes = mEntries[slot].holes) {
            holes->~CHoleMgr();
            Nuvora::release(holes);
        }
    }
    Nuvora::release(mEntries);
    mEntries = nullptr;
    mMask = 0;
    mCount = 0;
    mLastPolygon = nullptr;
    mLastHoles = nullptr;
}

void CHoleMap::grow()
{
    size_t size = mEntries == nullptr ? 16 : 2 * (mMask + 1);
    auto* entries = static_cast<Entry*>(Nuvora::reallocate(nullptr, size * sizeof(Entry)));
    if (entries == nullptr) {
        throw std::bad_alloc();
    }
    std::fill(entries, entries + size, Entry{nullptr, nullptr});
    Entry* old = mEntries;
    size_t oldSize = old != nullptr ? mMask + 1 : 0;
    mEntries = entries;
    mMask = size - 1;
    for (size_t i = 0; i < oldSize; ++i) {
        if (old[i].polygon != nullptr) {
            size_t slot = slotOf(old[i].polygon);
            while (mEntries[slot].polygon != nullptr) {
                slot = (slot + 1) & mMask;
            }
            mEntries[slot] = old[i];
        }
    }
    Nuvora::release(old);
}

}  // namespace detail

// ---- CPointMgr ----

CPointMgr::CPointMgr(CSCN* owner, uint32_t initialCapacity) : mOwner(owner)
{
    reserve(initialCapacity);
}

void CPointMgr::report(const char* text) const
{
    if (mOwner != nullptr) {
        mOwner->report(text);
    }
}

CScnVector* CPointMgr::getScnObject(uint32_t index)
{
    if (index >= mCount) {
        report(Msg::kGetBadIndex);
        return nullptr;
    }
    return at(index);
}

CScnVector* CPointMgr::newScnObject(uint32_t index)
{
    if (const char* failure = detail::checkInsertion(index, mCount)) {
        report(failure);
        return nullptr;
    }
    if (mIndex.data() == nullptr ? index < mCount && !makeIndex() : mIndex.full() && !mIndex.grow()) {
        report(Msg::kNoMemory);
        return nullptr;
    }
    uint32_t slot;
    try {
        slot = takeSlot();
    } catch (...) {
        report(Msg::kNewCantAllocate);
        return nullptr;
    }
    if (mIndex.data() != nullptr) {
        detail::openGap(mIndex.data(), mCount, index);
        mIndex[index] = slot;
        mIndex.setSize(mCount + 1);
    }
    ++mCount;
    CScnVector* point = slotAddress(slot);
    *point = CScnVector{0.0, 0.0, 0.0};
    return point;
}

void CPointMgr::removeObject(uint32_t index)
{
    if (const char* failure = detail::checkRemoval(index, mCount)) {
        report(failure);
        return;
    }
    if (mIndex.data() == nullptr) {
        if (index + 1 == mCount) {
            --mSlots;
            --mCount;
            return;
        }
        if (!makeIndex()) {
            report(Msg::kNoMemory);
            return;
        }
    }
    uint32_t slot = mIndex[index];
    detail::closeGap(mIndex.data(), mCount, index);
    mIndex.setSize(--mCount);
    releaseSlot(slot);
}

void CPointMgr::moveObject(uint32_t from, uint32_t to)
{
    if (from == to) {
        return;
    }
    if (const char* failure = detail::checkMove(from, to, mCount)) {
        report(failure);
        return;
    }
    if (mIndex.data() == nullptr && !makeIndex()) {
        report(Msg::kNoMemory);
        return;
    }
    detail::moveItem(mIndex.data(), from, to);
}

bool CPointMgr::reserve(size_t count)
{
    if (count > detail::kMaxArrayCount) {
        return false;
    }
    if (mIndex.data() != nullptr) {
        return mIndex.reserve(count);
    }
    return mBlocks.reserve((count + (1u << kBlockShift) - 1) >> kBlockShift);
}

void CPointMgr::clear()
{
    mCount = 0;
    mSlots = 0;
    mFree = kNoSlot;
    mIndex.release();
}

uint32_t CPointMgr::takeSlot()
{
    if (mFree != kNoSlot) {
        uint32_t slot = mFree;
        std::memcpy(&mFree, slotAddress(slot), sizeof mFree);
        return slot;
    }
    if (mSlots == mSlotCapacity) {
        constexpr size_t kBlockBytes = sizeof(CScnVector) << kBlockShift;
        size_t blocks = mChunks.nextBytes(kFirstPointChunk * sizeof(CScnVector)) / kBlockBytes;
        if (static_cast<uint64_t>(mSlotCapacity) + (blocks << kBlockShift) > detail::kMaxArrayCount ||
            !mBlocks.reserve(static_cast<size_t>(mBlocks.size()) + blocks)) {
            throw std::bad_alloc();
        }
        size_t bytes = 0;
        auto* chunk = static_cast<CScnVector*>(mChunks.add(kFirstPointChunk * sizeof(CScnVector),
                                                           kLargestPointChunk * sizeof(CScnVector),
                                                           alignof(CScnVector), bytes));
        for (size_t i = 0; i < blocks; ++i) {
            mBlocks.push(chunk + (i << kBlockShift));
        }
        mSlotCapacity += static_cast<uint32_t>(blocks << kBlockShift);
    }
    return mSlots++;
}

void CPointMgr::releaseSlot(uint32_t slot)
{
    if (slot + 1 == mSlots) {
        --mSlots;
        return;
    }
    std::memcpy(slotAddress(slot), &mFree, sizeof mFree);
    mFree = slot;
}

bool CPointMgr::makeIndex()
{
    if (!mIndex.reserve(static_cast<size_t>(mCount) + 1)) {
        return false;
    }
    for (uint32_t i = 0; i < mCount; ++i) {
        mIndex[i] = i;
    }
    mIndex.setSize(mCount);
    return true;
}

// ---- CPolygonMgr ----

CPolygonMgr::CPolygonMgr(CSCN* owner, uint32_t initialCapacity) : mOwner(owner), mNoHoles(this)
{
    mIndex.reserve(initialCapacity);
}

CPolygonMgr::~CPolygonMgr()
{
    releaseMemory();
}

void CPolygonMgr::report(const char* text) const
{
    if (mOwner != nullptr) {
        mOwner->report(text);
    }
}

CScnPolygon* CPolygonMgr::getScnObject(uint32_t index)
{
    if (index >= size()) {
        report(Msg::kGetBadIndex);
        return nullptr;
    }
    return at(index);
}

CScnPolygon* CPolygonMgr::newScnObject(uint32_t index)
{
    if (const char* failure = detail::checkInsertion(index, size())) {
        report(failure);
        return nullptr;
    }
    if (mIndex.full() && !mIndex.grow()) {
        report(Msg::kNoMemory);
        return nullptr;
    }
    uint32_t handle = 0;
    CPolygon* polygon;
    try {
        polygon = create(3, handle);
    } catch (...) {
        report(Msg::kNewCantAllocate);
        return nullptr;
    }
    detail::openGap(mIndex.data(), size(), index);
    mIndex[index] = handle;
    mIndex.setSize(size() + 1);
    return polygon;
}

void CPolygonMgr::removeObject(uint32_t index)
{
    if (const char* failure = detail::checkRemoval(index, size())) {
        report(failure);
        return;
    }
    uint32_t handle = mIndex[index];
    detail::closeGap(mIndex.data(), size(), index);
    mIndex.setSize(size() - 1);
    destroy(recordAt(handle), handle);
}

void CPolygonMgr::moveObject(uint32_t from, uint32_t to)
{
    if (from == to) {
        return;
    }
    if (const char* failure = detail::checkMove(from, to, size())) {
        report(failure);
        return;
    }
    detail::moveItem(mIndex.data(), from, to);
}

CPolygon* CPolygonMgr::appendItemSlowly(uint32_t vertexRoom)
{
    if (mIndex.full() && !mIndex.grow()) {
        throw std::bad_alloc();
    }
    uint32_t handle = 0;
    CPolygon* polygon = create(vertexRoom, handle);
    mIndex[size()] = handle;
    mIndex.setSize(size() + 1);
    return polygon;
}

void CPolygonMgr::clear()
{
    releaseMemory();
    mIndex.setSize(0);
}

CPolygon* CPolygonMgr::create(uint32_t vertexRoom, uint32_t& handle)
{
    uint32_t capacity = std::clamp<uint32_t>(vertexRoom, 1, COuterLoop::kMaxInline);
    char* record = cutRecord(capacity, handle);
    return new (record) CPolygon(capacity);
}

void CPolygonMgr::destroy(CPolygon* polygon, uint32_t handle) noexcept
{
    uint32_t capacity = polygon->inlineCapacity();
    polygon->~CPolygon();
    char* record = reinterpret_cast<char*>(polygon);
    if (record + CPolygon::recordBytes(capacity) == mTop) {
        mTop = record;
        return;
    }
    auto* free = reinterpret_cast<CFreeRecord*>(record);
    free->next = mFree[capacity - 1];
    free->handle = handle;
    mFree[capacity - 1] = free;
    mFreeMask |= uint64_t(1) << (capacity - 1);
}

char* CPolygonMgr::cutRecord(uint32_t& capacity, uint32_t& handle)
{
    uint64_t fitting = mFreeMask & (~uint64_t(0) << (capacity - 1));
    if (fitting != 0) {
        auto list = static_cast<uint32_t>(__builtin_ctzll(fitting));
        CFreeRecord* free = mFree[list];
        mFree[list] = free->next;
        if (mFree[list] == nullptr) {
            mFreeMask &= ~(uint64_t(1) << list);
        }
        capacity = list + 1;
        handle = free->handle;
        return reinterpret_cast<char*>(free);
    }
    size_t bytes = CPolygon::recordBytes(capacity);
    if (mTop == nullptr || mTop + bytes > mSegmentEnd) {
        nextSegment();
    }
    char* record = mTop;
    mTop += bytes;
    auto offset = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record) & (kSegmentBytes - 1));
    handle = (mSegment << kUnitBits) | (offset >> kUnitShift);
    return record;
}

void CPolygonMgr::nextSegment()
{
    char* base;
    if (mSegmentEnd != nullptr && mSegmentEnd < mChunkEnd) {
        base = mSegmentEnd;
        ++mSegment;
    } else {
        size_t next = mChunks.nextBytes(kFirstPolygonChunk);
        size_t segments = (next + kSegmentBytes - 1) / kSegmentBytes;
        if (mSegments.size() + segments > kMaxSegments ||
            !mSegments.reserve(static_cast<size_t>(mSegments.size()) + segments)) {
            throw std::bad_alloc();
        }
        size_t bytes = 0;
        base = static_cast<char*>(mChunks.add(kFirstPolygonChunk, kLargestPolygonChunk, kSegmentBytes, bytes));
        mSegment = mSegments.size();
        for (size_t offset = 0; offset < bytes; offset += kSegmentBytes) {
            mSegments.push(base + offset);
        }
        mChunkEnd = base + bytes;
    }
    *reinterpret_cast<CPolygonMgr**>(base) = this;
    mTop = base + sizeof(CPolygonMgr*);
    mSegmentEnd = std::min(base + kSegmentBytes, mChunkEnd);
}

void CPolygonMgr::releaseMemory() noexcept
{
    for (uint32_t i = 0; mSpecial > 0 && i < size(); ++i) {
        CPolygon* polygon = recordAt(mIndex[i]);
        polygon->~CPolygon();
    }
    mHoles.clear();
    mChunks.releaseAll();
    mSegments.setSize(0);
    mTop = nullptr;
    mSegmentEnd = nullptr;
    mChunkEnd = nullptr;
    mSegment = 0;
    std::fill(std::begin(mFree), std::end(mFree), nullptr);
    mFreeMask = 0;
    mSpecial = 0;
}

// ---- CPolygonMgr::CNoHoles ----

CScnPolygon::CScnHole* CPolygonMgr::CNoHoles::getScnObject(uint32_t)
{
    mTable->report(Msg::kGetBadIndex);
    return nullptr;
}

CScnPolygon::CScnHole* CPolygonMgr::CNoHoles::newScnObject(uint32_t index)
{
    const char* failure = detail::checkInsertion(index, 0);
    mTable->report(failure != nullptr ? failure : Msg::kNoMemory);
    return nullptr;
}

void CPolygonMgr::CNoHoles::removeObject(uint32_t index)
{
    mTable->report(detail::checkRemoval(index, 0));
}

void CPolygonMgr::CNoHoles::moveObject(uint32_t from, uint32_t to)
{
    if (from != to) {
        mTable->report(Msg::kMoveBadIndex);
    }
}

}  // namespace NvScn
