// Scene geometry: the point and polygon tables, polygons with their outer loop and holes.
//
// The tables are built for millions of elements. A point costs its 24 bytes; a polygon is one
// record of 24 bytes (its two interface pointers, material and state) followed by the vertices of
// its outer loop, so a triangle costs 72 bytes and a four-vertex polygon 88, plus 4 bytes of index.
// Elements never move while they live: the tables keep their order in an index of 32-bit handles
// and the elements in segments listed in a directory.
#ifndef SCN_GEOMETRY_IMPL_H
#define SCN_GEOMETRY_IMPL_H

#include "ScnGeometry.h"
#include "model/ObjectMgr.h"

namespace NvScn {

class CSCN;
class CPolygon;
class CPolygonMgr;

// A point of a geometry table: a plain, zero-filled vector.
struct CPoint : CScnVector {
    CPoint() : CScnVector{0.0, 0.0, 0.0} {}
};

// Vertices of a hole, stored by value; the owning polygon receives the reports.
using CVertexMgr = TSimpleMgr<CScnVertex, CPolygon>;

// An inner loop of a polygon.
class CLoop : public TScnFrontier<CScnPolygon::CScnHole> {
public:
    explicit CLoop(CPolygon* polygon) : mVertices(polygon) {}

    TScnObjectMgr<CScnVertex>* getVertices() override { return &mVertices; }
    const TScnObjectMgr<CScnVertex>* getVertices() const override { return &mVertices; }

    CVertexMgr& vertices() { return mVertices; }
    const CVertexMgr& vertices() const { return mVertices; }

private:
    CVertexMgr mVertices;
};

// Holes of a polygon.
using CHoleMgr = TRapideMgr<CLoop, CScnPolygon::CScnHole, CPolygon>;

// The outer loop of a polygon, as the polygon's second interface: its records lie behind the
// polygon in the polygon's own memory while they fit there (up to kMaxInline), else in a block
// of their own. Pointers handed out stay valid until the next insertion or removal.
class COuterLoop : public TScnFrontier<TScnObjectMgr<CScnVertex>> {
public:
    // Most records held behind the polygon itself.
    static constexpr uint32_t kMaxInline = 64;

    int32_t getNbObjects() override { return static_cast<int32_t>(size()); }
    CScnVertex* getScnObject(uint32_t index) override;
    CScnVertex* newScnObject(uint32_t index) override;
    void removeObject(uint32_t index) override;
    void moveObject(uint32_t from, uint32_t to) override;

    // Appends a zero-filled record; throws std::bad_alloc when memory runs out (readers use it).
    CScnVertex* appendItem()
    {
        uint32_t count = size();
        if (count == capacity() && !grow(count + 1u)) {
            throw std::bad_alloc();
        }
        CScnVertex* item = data() + count;
        setSize(count + 1u);
        *item = CScnVertex{0, 0, 0.0f, 0.0f};
        return item;
    }
    // Makes room for at least count records without reporting; false when memory runs out.
    bool reserve(size_t count);
    // Removes every record; the capacity stays.
    void clear() { setSize(0); }
    // Takes the records up to count (at most the capacity), written in place, as the loop's.
    void setSizeWithin(uint32_t count) { setSize(count); }

    uint32_t size() const { return isOutOfLine() ? block().count : mState & kCountMask; }
    uint32_t capacity() const { return isOutOfLine() ? block().capacity : inlineCapacity(); }
    const CScnVertex* data() const { return isOutOfLine() ? block().items : inlineItems(); }
    CScnVertex* data() { return isOutOfLine() ? block().items : inlineItems(); }

protected:
    // State bits: count and capacity of the records behind the polygon, where they are, and the
    // polygon's own flags.
    static constexpr uint32_t kCountMask = 0x7Fu;
    static constexpr uint32_t kCapacityShift = 7;
    static constexpr uint32_t kOutOfLine = 1u << 14;
    static constexpr uint32_t kSmoothed = 1u << 15;
    static constexpr uint32_t kHasHoles = 1u << 16;

    // capacity: records of room behind the polygon, 1 to kMaxInline.
    explicit COuterLoop(uint32_t capacity) : mState(capacity << kCapacityShift) {}
    ~COuterLoop() override;
    COuterLoop(const COuterLoop&) = delete;
    COuterLoop& operator=(const COuterLoop&) = delete;

    // The records' own block, once they left the polygon: it takes the place of the first ones.
    struct CBlock {
        CScnVertex* items;
        uint32_t count;
        uint32_t capacity;
    };

    uint32_t inlineCapacity() const { return (mState >> kCapacityShift) & kCountMask; }
    bool isOutOfLine() const { return (mState & kOutOfLine) != 0; }

    uint32_t mState;

private:
    friend class CPolygon;
    friend class CPolygonMgr;

    inline const CPolygon& polygon() const;
    inline CPolygon& polygon();
    inline CScnVertex* inlineItems() const;
    CBlock& block() const { return *reinterpret_cast<CBlock*>(inlineItems()); }
    void setSize(uint32_t count)
    {
        if (isOutOfLine()) {
            block().count = count;
        } else {
            mState = (mState & ~kCountMask) | count;
        }
    }
    // Room for at least count records (count above the capacity): behind the polygon when it is
    // the last one cut from its table's memory, else in a block that doubles; false without memory.
    bool grow(uint32_t count);
};

// A polygon: smoothing flag, material index, outer loop and holes. Polygons are made only by a
// polygon table (CPolygonMgr), in its memory; the holes live in the table's hole map.
class CPolygon : public TScnFrontier<CScnPolygon>, public COuterLoop {
public:
    bool isSmoothed() override { return smoothed(); }
    void setSmoothed(bool smoothed) override { mState = smoothed ? mState | kSmoothed : mState & ~kSmoothed; }
    int32_t getPropertyIndex() override { return mPropertyIndex; }
    void setPropertyIndex(int32_t index) override { mPropertyIndex = index; }
    TScnObjectMgr<CScnVertex>* getVertices() override { return this; }
    // The hole manager, made on first use; when memory runs out, a manager that stays empty.
    TScnObjectMgr<CScnHole>* getHoles() override;
    // Destroys the holes, then the vertices.
    ~CPolygon() override;

    // Sends a report to the owning scene's feedback.
    void report(const char* text) const;
    // Back to a new polygon's state (not smoothed, material 0, no vertex, no hole).
    void clear();

    bool smoothed() const { return (mState & kSmoothed) != 0; }
    int32_t propertyIndex() const { return mPropertyIndex; }
    COuterLoop& vertices() { return *this; }
    const COuterLoop& vertices() const { return *this; }
    // Whether the polygon has a hole manager (it may be empty).
    bool hasHoles() const { return (mState & kHasHoles) != 0; }
    // The holes; the non-const form makes the manager on first use (throws std::bad_alloc).
    CHoleMgr& holes();
    const CHoleMgr& holes() const;
    // The table that made the polygon.
    CPolygonMgr& table() const;

    // Bytes of a polygon record with room for capacity records behind it.
    static constexpr size_t recordBytes(uint32_t capacity) { return 24 + size_t(16) * capacity; }

private:
    friend class CPolygonMgr;
    friend class COuterLoop;

    explicit CPolygon(uint32_t capacity) : COuterLoop(capacity) {}
    // Sets a state bit whose polygon needs work at its destruction, counting it with its table.
    void markSpecial(uint32_t bit);

    int32_t mPropertyIndex = 0;
};

inline const CPolygon& COuterLoop::polygon() const
{
    return static_cast<const CPolygon&>(*this);
}

inline CPolygon& COuterLoop::polygon()
{
    return static_cast<CPolygon&>(*this);
}

inline CScnVertex* COuterLoop::inlineItems() const
{
    return reinterpret_cast<CScnVertex*>(const_cast<char*>(reinterpret_cast<const char*>(&polygon())) +
                                         sizeof(CPolygon));
}

namespace detail {

// Chunks of a table's memory, freed together. Sizes double from a first one up to a largest.
class CChunkList {
public:
    CChunkList() = default;
    CChunkList(const CChunkList&) = delete;
    CChunkList& operator=(const CChunkList&) = delete;
    ~CChunkList() { releaseAll(); }

    // A new chunk of the next size, aligned to alignment (huge pages behind the large ones);
    // throws std::bad_alloc when memory runs out.
    void* add(size_t firstBytes, size_t largestBytes, size_t alignment, size_t& bytes);
    // Frees every chunk.
    void releaseAll();
    // The size of the next chunk.
    size_t nextBytes(size_t firstBytes) const { return mNextBytes == 0 ? firstBytes : mNextBytes; }

private:
    TRawArray<void*> mChunks;
    size_t mNextBytes = 0;
};

// The hole managers of the polygons that have one, by polygon: an open-addressed table in the
// geometry memory, so that memory failures reach every part of a table alike.
class CHoleMap {
public:
    CHoleMap() = default;
    CHoleMap(const CHoleMap&) = delete;
    CHoleMap& operator=(const CHoleMap&) = delete;
    ~CHoleMap() { clear(); }

    // The polygon's manager, which must exist.
    CHoleMgr& at(const CPolygon* polygon) const { return *mEntries[find(polygon)].holes; }
    // The same, remembering the last one asked for: a polygon record that a reader reuses for an
    // external storage is asked for its holes at every polygon.
    CHoleMgr& remembered(const CPolygon* polygon)
    {
        if (polygon != mLastPolygon) {
            mLastHoles = &at(polygon);
            mLastPolygon = polygon;
        }
        return *mLastHoles;
    }
    // Makes the polygon's manager, which must not exist; throws std::bad_alloc.
    CHoleMgr& make(CPolygon* polygon);
    // Destroys the polygon's manager, which must exist.
    void erase(const CPolygon* polygon) noexcept;
    // Destroys every manager.
    void clear() noexcept;

private:
    struct Entry {
        const CPolygon* polygon;
        CHoleMgr* holes;
    };
    size_t slotOf(const CPolygon* polygon) const
    {
        return static_cast<size_t>((reinterpret_cast<uintptr_t>(polygon) >> 3) * 0x9E3779B97F4A7C15ull >> 32) &
               mMask;
    }
    size_t find(const CPolygon* polygon) const;
    // Doubles the table; throws std::bad_alloc.
    void grow();

    Entry* mEntries = nullptr;
    size_t mMask = 0;
    size_t mCount = 0;
    // The manager that remembered() answered last; managers keep their place when the table grows.
    const CPolygon* mLastPolygon = nullptr;
    CHoleMgr* mLastHoles = nullptr;
};

}  // namespace detail

// The point table of the scene or of an internal component definition. While the points stand
// in the order they were made (appends and removals of the last one), index i is slot i of the
// table's memory; the first insertion, removal or move elsewhere makes an index of slots.
class CPointMgr : public TScnFrontier<TScnObjectMgr<CScnVector>> {
public:
    explicit CPointMgr(CSCN* owner, uint32_t initialCapacity = 0);
    ~CPointMgr() override = default;
    CPointMgr(const CPointMgr&) = delete;
    CPointMgr& operator=(const CPointMgr&) = delete;

    int32_t getNbObjects() override { return static_cast<int32_t>(mCount); }
    CScnVector* getScnObject(uint32_t index) override;
    CScnVector* newScnObject(uint32_t index) override;
    void removeObject(uint32_t index) override;
    void moveObject(uint32_t from, uint32_t to) override;

    // Appends a zero-filled point; throws std::bad_alloc when memory runs out (readers use it).
    CScnVector* appendItem()
    {
        if (mIndex.data() != nullptr && mIndex.full() && !mIndex.grow()) {
            throw std::bad_alloc();
        }
        uint32_t slot = mFree == kNoSlot && mSlots < mSlotCapacity ? mSlots++ : takeSlot();
        if (mIndex.data() != nullptr) {
            mIndex[mCount] = slot;
            mIndex.setSize(mCount + 1);
        }
        ++mCount;
        CScnVector* point = slotAddress(slot);
        *point = CScnVector{0.0, 0.0, 0.0};
        return point;
    }
    // Prepares for count points without reporting (their memory comes as they arrive); false
    // when memory runs out.
    bool reserve(size_t count);
    // Destroys every point; the memory stays.
    void clear();

    uint32_t size() const { return mCount; }
    // Points the table holds without asking for memory.
    uint32_t capacity() const { return mIndex.data() != nullptr ? mIndex.capacity() : mSlotCapacity; }
    CScnVector* at(uint32_t index) const
    {
        return slotAddress(mIndex.data() != nullptr ? mIndex[index] : index);
    }
    CSCN* getOwner() const { return mOwner; }

private:
    // Points per directory entry.
    static constexpr uint32_t kBlockShift = 8;
    static constexpr uint32_t kNoSlot = 0xFFFFFFFFu;

    CScnVector* slotAddress(uint32_t slot) const
    {
        return mBlocks[slot >> kBlockShift] + (slot & ((1u << kBlockShift) - 1));
    }
    // A slot given back, or a new one (the memory grows); throws std::bad_alloc.
    uint32_t takeSlot();
    void releaseSlot(uint32_t slot);
    // Makes the index of slots; false without memory.
    bool makeIndex();
    void report(const char* text) const;

    CSCN* mOwner;
    uint32_t mCount = 0;
    // Slots cut from the memory, and slots the memory holds.
    uint32_t mSlots = 0;
    uint32_t mSlotCapacity = 0;
    // Slots given back, linked through their first bytes (only with an index).
    uint32_t mFree = kNoSlot;
    // The slot of each point; no buffer while point i is slot i.
    detail::TRawArray<uint32_t> mIndex;
    detail::TRawArray<CScnVector*> mBlocks;
    detail::CChunkList mChunks;
};

// The polygon table of the scene or of an internal component definition. Polygon records are cut
// from segments of 64 KB that start with the table's address, so a polygon finds its table (and
// the scene) without a field of its own.
class CPolygonMgr : public TScnFrontier<TScnObjectMgr<CScnPolygon>> {
public:
    explicit CPolygonMgr(CSCN* owner, uint32_t initialCapacity = 0);
    ~CPolygonMgr() override;
    CPolygonMgr(const CPolygonMgr&) = delete;
    CPolygonMgr& operator=(const CPolygonMgr&) = delete;

    int32_t getNbObjects() override { return static_cast<int32_t>(mIndex.size()); }
    CScnPolygon* getScnObject(uint32_t index) override;
    CScnPolygon* newScnObject(uint32_t index) override;
    void removeObject(uint32_t index) override;
    void moveObject(uint32_t from, uint32_t to) override;

    // Appends a new polygon with room for vertexRoom vertices (at least 1, at most
    // COuterLoop::kMaxInline) behind it; throws std::bad_alloc when memory runs out.
    CPolygon* appendItem(uint32_t vertexRoom = 3)
    {
        // The common case: room in the index and at the end of the memory, no record to reuse.
        size_t bytes = CPolygon::recordBytes(vertexRoom);
        if (vertexRoom - 1 < COuterLoop::kMaxInline && !mIndex.full() && mFreeMask == 0 && mTop != nullptr &&
            mTop + bytes <= mSegmentEnd) {
            char* record = mTop;
            mTop += bytes;
            auto offset = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record) & (kSegmentBytes - 1));
            mIndex[mIndex.size()] = (mSegment << kUnitBits) | (offset >> kUnitShift);
            mIndex.setSize(mIndex.size() + 1);
            return new (record) CPolygon(vertexRoom);
        }
        return appendItemSlowly(vertexRoom);
    }
    // Makes room for at least count polygons without reporting; false when memory runs out.
    bool reserve(size_t count) { return mIndex.reserve(count); }
    // Destroys every polygon and frees their memory; the index keeps its capacity.
    void clear();

    uint32_t size() const { return mIndex.size(); }
    uint32_t capacity() const { return mIndex.capacity(); }
    CPolygon* at(uint32_t index) const { return recordAt(mIndex[index]); }
    CSCN* getOwner() const { return mOwner; }

    // Sends a report to the scene's feedback (dropped without scene).
    void report(const char* text) const;

    // The table of a polygon that a table made.
    static CPolygonMgr& tableOf(const void* record)
    {
        return **reinterpret_cast<CPolygonMgr* const*>(reinterpret_cast<uintptr_t>(record) & ~(kSegmentBytes - 1));
    }

private:
    friend class CPolygon;
    friend class COuterLoop;

    // Records are 8-byte units of 64 KB segments; a handle is the segment's number and the unit.
    static constexpr size_t kSegmentBytes = 64 * 1024;
    static constexpr uint32_t kUnitShift = 3;
    static constexpr uint32_t kUnitBits = 13;
    static constexpr uint32_t kMaxSegments = 1u << (32 - kUnitBits);

    // The hole manager that stays empty, for a polygon whose own could not be made.
    class CNoHoles : public TScnFrontier<TScnObjectMgr<CScnPolygon::CScnHole>> {
    public:
        explicit CNoHoles(const CPolygonMgr* table) : mTable(table) {}
        int32_t getNbObjects() override { return 0; }
        CScnPolygon::CScnHole* getScnObject(uint32_t index) override;
        CScnPolygon::CScnHole* newScnObject(uint32_t index) override;
        void removeObject(uint32_t index) override;
        void moveObject(uint32_t from, uint32_t to) override;

    private:
        const CPolygonMgr* mTable;
    };

    CPolygon* recordAt(uint32_t handle) const
    {
        return reinterpret_cast<CPolygon*>(mSegments[handle >> kUnitBits] +
                                           (static_cast<size_t>(handle & ((1u << kUnitBits) - 1)) << kUnitShift));
    }
    // appendItem when a record is to be reused or the memory must grow.
    CPolygon* appendItemSlowly(uint32_t vertexRoom);
    // A new polygon; throws std::bad_alloc.
    CPolygon* create(uint32_t vertexRoom, uint32_t& handle);
    // Destroys the polygon and gives its record back.
    void destroy(CPolygon* polygon, uint32_t handle) noexcept;
    // Memory for a record with room for capacity vertices, from the records given back (capacity
    // becomes theirs) or the end of the memory; throws std::bad_alloc.
    char* cutRecord(uint32_t& capacity, uint32_t& handle);
    // Moves the end of the memory to the next segment (of a new chunk when needed).
    void nextSegment();
    // Widens the record that ends at the end of the memory by extra bytes; false when it does not
    // end there or its segment is full.
    bool extendLast(const char* recordEnd, size_t extra)
    {
        if (recordEnd != mTop || mTop + extra > mSegmentEnd) {
            return false;
        }
        mTop += extra;
        return true;
    }
    // A record given back, listed by its capacity.
    struct CFreeRecord {
        CFreeRecord* next;
        uint32_t handle;
    };
    // Destroys every polygon and frees the memory.
    void releaseMemory() noexcept;

    CSCN* mOwner;
    // The handles of the polygons in order.
    detail::TRawArray<uint32_t> mIndex;
    // Segment bases, in handle order.
    detail::TRawArray<char*> mSegments;
    detail::CChunkList mChunks;
    // The end of the memory in use, the end of its segment and of its chunk.
    char* mTop = nullptr;
    char* mSegmentEnd = nullptr;
    char* mChunkEnd = nullptr;
    uint32_t mSegment = 0;
    CFreeRecord* mFree[COuterLoop::kMaxInline] = {};
    uint64_t mFreeMask = 0;
    // Polygons whose destruction has work: records in a block of their own, holes.
    uint32_t mSpecial = 0;
    detail::CHoleMap mHoles;
    CNoHoles mNoHoles;
};

inline CPolygonMgr& CPolygon::table() const
{
    return CPolygonMgr::tableOf(this);
}

}  // namespace NvScn

#endif
