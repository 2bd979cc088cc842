// The managers behind every list of scene objects: TObjectMgr for object lists, TRapideMgr for
// the large geometry tables (pointer arrays), TSimpleMgr for the vertices stored by value.
#ifndef SCN_OBJECT_MGR_IMPL_H
#define SCN_OBJECT_MGR_IMPL_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <vector>

#include "ScnObjectMgr.h"
#include "model/BaseObjectMgr.h"
#include "model/Messages.h"
#include "model/ScnFrontier.h"
#include "platform/Memory.h"

namespace NvScn {

namespace detail {

// Makes a list item: with its manager as owner when the kind takes one, plain otherwise.
template <class Impl>
Impl* constructItem(CBaseObjectMgr* owner)
{
    if constexpr (std::is_constructible<Impl, CBaseObjectMgr*>::value) {
        return new Impl(owner);
    } else {
        (void)owner;
        return new Impl();
    }
}

// Largest element count of the array-backed managers: indices and counts are 32-bit signed.
constexpr uint32_t kMaxArrayCount = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());

// Next capacity of a doubling array (an empty one first takes capacity 1, so it grows to 2);
// 0 when the array cannot grow any more.
inline uint32_t doubledCapacity(uint32_t capacity)
{
    if (capacity >= kMaxArrayCount) {
        return 0;
    }
    uint64_t next = capacity == 0 ? 2u : static_cast<uint64_t>(capacity) * 2u;
    return static_cast<uint32_t>(std::min<uint64_t>(next, kMaxArrayCount));
}

// Resizes a raw array of trivially copyable elements; false (array untouched) when memory runs out.
template <class T>
bool resizeArray(T*& items, uint32_t capacity)
{
    static_assert(std::is_trivially_copyable<T>::value, "raw arrays hold plain values");
    void* grown = Nuvora::reallocate(items, static_cast<size_t>(capacity) * sizeof(T));
    if (grown == nullptr) {
        return false;
    }
    items = static_cast<T*>(grown);
    return true;
}

// Slab allocator of fixed-size items: geometry points cost their 24 bytes and nothing more.
// HugePages asks for huge pages behind the large slabs (see Nuvora::allocateChunk).
template <size_t Size, bool HugePages = false>
class TItemPool {
public:
    TItemPool() = default;
    TItemPool(const TItemPool&) = delete;
    TItemPool& operator=(const TItemPool&) = delete;
    ~TItemPool()
    {
        while (mChunks != nullptr) {
            Chunk* next = mChunks->next;
            Nuvora::releaseChunk(mChunks);
            mChunks = next;
        }
    }

    // Zero-filled storage for one item; throws std::bad_alloc when memory runs out.
    void* allocate()
    {
        void* item;
        if (mFree != nullptr) {
            item = mFree;
            std::memcpy(&mFree, item, sizeof(void*));
        } else {
            if (mNext == mEnd) {
                addChunk();
            }
            item = mNext;
            mNext += kSlot;
        }
        std::memset(item, 0, Size);
        return item;
    }

    // Returns an item to the pool.
    void deallocate(void* item)
    {
        std::memcpy(item, &mFree, sizeof(void*));
        mFree = item;
    }

private:
    static constexpr size_t kSlot = ((Size < sizeof(void*) ? sizeof(void*) : Size) + 7) & ~size_t(7);
    static constexpr size_t kFirstChunkItems = 64;
    // Chunks double up to 8 MB, where the system backs them with huge pages.
    static constexpr size_t kLargestChunkItems = (size_t(8) << 20) / kSlot;

    struct Chunk {
        Chunk* next;
        size_t items;
    };

    void addChunk()
    {
        size_t items = mChunks == nullptr ? kFirstChunkItems
                                          : std::min(mChunks->items * 2, kLargestChunkItems);
        size_t header = (sizeof(Chunk) + alignof(std::max_align_t) - 1) &
                        ~(alignof(std::max_align_t) - 1);
        auto* chunk = static_cast<Chunk*>(Nuvora::allocateChunk(header + items * kSlot, HugePages));
        if (chunk == nullptr) {
            throw std::bad_alloc();
        }
        chunk->next = mChunks;
        chunk->items = items;
        mChunks = chunk;
        mNext = reinterpret_cast<unsigned char*>(chunk) + header;
        mEnd = mNext + items * kSlot;
    }

    Chunk* mChunks = nullptr;
    unsigned char* mNext = nullptr;
    unsigned char* mEnd = nullptr;
    void* mFree = nullptr;
};

// Whether a TRapideMgr keeps its elements in a slab pool: plain items (points) and the kinds that
// ask for it with a static kPooledOnHugePages member (polygons of the large tables, whose filling
// from a file is dominated by page faults otherwise).
template <class Impl, class = void>
struct TIsPooled : std::is_trivially_destructible<Impl> {};
template <class Impl>
struct TIsPooled<Impl, std::void_t<decltype(Impl::kPooledOnHugePages)>> : std::true_type {};
template <class Impl, class = void>
struct TUsesHugePages : std::false_type {};
template <class Impl>
struct TUsesHugePages<Impl, std::void_t<decltype(Impl::kPooledOnHugePages)>>
    : std::integral_constant<bool, Impl::kPooledOnHugePages> {};

// Storage of the elements of a TRapideMgr (an empty base for the kinds made with new): pooled items
// come from a slab pool, the others from new.
template <class Impl, class Owner, bool Pooled = TIsPooled<Impl>::value>
class TRapideStorage;

template <class Impl, class Owner>
class TRapideStorage<Impl, Owner, true> {
    static_assert(alignof(Impl) <= 8, "pool slots are 8-byte aligned");

public:
    Impl* createElement(Owner* owner)
    {
        void* storage = mPool.allocate();
        try {
            if constexpr (std::is_constructible<Impl, Owner*>::value) {
                return new (storage) Impl(owner);
            } else {
                (void)owner;
                return new (storage) Impl();
            }
        } catch (...) {
            mPool.deallocate(storage);
            throw;
        }
    }
    void destroyElement(Impl* item)
    {
        item->~Impl();
        mPool.deallocate(item);
    }

private:
    TItemPool<sizeof(Impl), TUsesHugePages<Impl>::value> mPool;
};

template <class Impl, class Owner>
class TRapideStorage<Impl, Owner, false> {
public:
    Impl* createElement(Owner* owner) { return new Impl(owner); }
    void destroyElement(Impl* item) { delete item; }
};

}  // namespace detail

// A growable list of objects of the scene (lights, cameras, ...), each created with its owner.
template <class Impl, class Iface>
class TObjectMgr : public TScnFrontier<TScnObjectMgr<Iface>>, public CBaseObjectMgr {
public:
    explicit TObjectMgr(CSCN* scene) : CBaseObjectMgr(scene) {}
    ~TObjectMgr() override { clear(); }

    int32_t getNbObjects() override { return static_cast<int32_t>(mItems.size()); }

    Iface* getScnObject(uint32_t index) override
    {
        if (index >= mItems.size()) {
            report(Msg::kGetBadIndex);
            return nullptr;
        }
        return mItems[index];
    }

    Iface* newScnObject(uint32_t index) override { return insert(index); }

    void removeObject(uint32_t index) override
    {
        if (index == kScnLastIndex) {
            index = static_cast<uint32_t>(mItems.size()) - 1u;
        }
        if (index >= mItems.size()) {
            report(Msg::kRemoveBadIndex);
            return;
        }
        Impl* item = mItems[index];
        mItems.erase(mItems.begin() + index);
        delete item;
    }

    void moveObject(uint32_t from, uint32_t to) override
    {
        if (from == to) {
            return;
        }
        if (from >= mItems.size() || to >= mItems.size()) {
            report(Msg::kMoveBadIndex);
            return;
        }
        auto first = mItems.begin();
        if (from < to) {
            std::rotate(first + from, first + from + 1, first + to + 1);
        } else {
            std::rotate(first + to, first + from, first + from + 1);
        }
    }

    // Creates an object at index (kScnLastIndex appends) with the manager's reports on failure.
    Impl* insert(uint32_t index)
    {
        if (index == kScnLastIndex) {
            index = static_cast<uint32_t>(mItems.size());
        }
        if (index > mItems.size()) {
            report(Msg::kNewBadIndex);
            return nullptr;
        }
        Impl* item = nullptr;
        try {
            item = detail::constructItem<Impl>(this);
            mItems.insert(mItems.begin() + index, item);
        } catch (...) {
            delete item;
            report(Msg::kNewCantAllocate);
            return nullptr;
        }
        return item;
    }

    // Appends an object; null after a report on failure.
    Impl* append() { return insert(kScnLastIndex); }
    // Number of objects.
    size_t size() const { return mItems.size(); }
    // The object at index, which must exist.
    Impl* at(size_t index) const { return mItems[index]; }
    // The object at index, or null when there is none (no report).
    Impl* find(size_t index) const { return index < mItems.size() ? mItems[index] : nullptr; }
    // Destroys every object, the last one first.
    void clear()
    {
        while (!mItems.empty()) {
            Impl* item = mItems.back();
            mItems.pop_back();
            delete item;
        }
    }

private:
    std::vector<Impl*> mItems;
};

// A fast list of geometry elements: a hand-grown array of pointers that doubles its capacity.
// Owner is the scene (points, polygons) or the polygon (holes); it receives the reports.
template <class Impl, class Iface, class Owner>
class TRapideMgr : public TScnFrontier<TScnObjectMgr<Iface>>,
                   private detail::TRapideStorage<Impl, Owner> {
public:
    explicit TRapideMgr(Owner* owner, uint32_t initialCapacity = 0) : mOwner(owner)
    {
        if (initialCapacity > 0 && detail::resizeArray(mItems, initialCapacity)) {
            mCapacity = initialCapacity;
        }
    }
    TRapideMgr(const TRapideMgr&) = delete;
    TRapideMgr& operator=(const TRapideMgr&) = delete;
    ~TRapideMgr() override
    {
        clear();
        Nuvora::release(mItems);
    }

    int32_t getNbObjects() override { return static_cast<int32_t>(mCount); }

    Iface* getScnObject(uint32_t index) override
    {
        if (index >= mCount) {
            mOwner->report(Msg::kGetBadIndex);
            return nullptr;
        }
        return mItems[index];
    }

    Iface* newScnObject(uint32_t index) override
    {
        if (index == kScnLastIndex) {
            index = mCount;
        }
        if (index > mCount) {
            mOwner->report(Msg::kNewBadIndex);
            return nullptr;
        }
        if (mCount == mCapacity && !grow()) {
            return nullptr;
        }
        Impl* item;
        try {
            item = this->createElement(mOwner);
        } catch (...) {
            mOwner->report(Msg::kNewCantAllocate);
            return nullptr;
        }
        std::memmove(mItems + index + 1, mItems + index, (mCount - index) * sizeof(Impl*));
        mItems[index] = item;
        ++mCount;
        return item;
    }

    void removeObject(uint32_t index) override
    {
        if (index == kScnLastIndex) {
            if (mCount == 0) {
                mOwner->report(Msg::kRemoveNoMore);
                return;
            }
            index = mCount - 1;
        }
        if (index >= mCount) {
            mOwner->report(Msg::kRemoveBadIndex);
            return;
        }
        Impl* item = mItems[index];
        std::memmove(mItems + index, mItems + index + 1, (mCount - index - 1) * sizeof(Impl*));
        --mCount;
        this->destroyElement(item);
    }

    void moveObject(uint32_t from, uint32_t to) override
    {
        if (from == to) {
            return;
        }
        if (from >= mCount || to >= mCount) {
            mOwner->report(Msg::kMoveBadIndex);
            return;
        }
        Impl* moved = mItems[from];
        if (from < to) {
            std::memmove(mItems + from, mItems + from + 1, (to - from) * sizeof(Impl*));
        } else {
            std::memmove(mItems + to + 1, mItems + to, (from - to) * sizeof(Impl*));
        }
        mItems[to] = moved;
    }

    // Appends an element; throws std::bad_alloc when memory runs out (readers use it).
    Impl* appendItem()
    {
        if (mCount == mCapacity && !reserve(static_cast<size_t>(mCount) + 1)) {
            throw std::bad_alloc();
        }
        Impl* item = this->createElement(mOwner);
        mItems[mCount++] = item;
        return item;
    }

    // Makes room for at least count elements without reporting; false when memory runs out.
    bool reserve(size_t count)
    {
        if (count <= mCapacity) {
            return true;
        }
        if (count > detail::kMaxArrayCount) {
            return false;
        }
        uint32_t capacity = std::max<uint32_t>(static_cast<uint32_t>(count),
                                               detail::doubledCapacity(mCapacity));
        if (!detail::resizeArray(mItems, capacity)) {
            return false;
        }
        mCapacity = capacity;
        return true;
    }

    // Destroys every element, the last one first; the capacity stays.
    void clear()
    {
        while (mCount > 0) {
            this->destroyElement(mItems[--mCount]);
        }
    }

    uint32_t size() const { return mCount; }
    uint32_t capacity() const { return mCapacity; }
    Impl* at(uint32_t index) const { return mItems[index]; }
    Owner* getOwner() const { return mOwner; }

private:
    // Doubles the capacity; keeps every element and reports when memory runs out.
    bool grow()
    {
        uint32_t capacity = detail::doubledCapacity(mCapacity);
        if (capacity == 0 || !detail::resizeArray(mItems, capacity)) {
            mOwner->report(Msg::kNoMemory);
            return false;
        }
        mCapacity = capacity;
        return true;
    }

    Owner* mOwner;
    uint32_t mCount = 0;
    uint32_t mCapacity = 0;
    Impl** mItems = nullptr;
};

// A list of plain 16-byte records stored by value (polygon vertices); pointers handed out stay
// valid until the next insertion or removal. The first Inline records live inside the manager,
// so a polygon's first vertices cost no allocation of their own.
template <class Impl, class Owner, uint32_t Inline = 0>
class TSimpleMgr : public TScnFrontier<TScnObjectMgr<Impl>> {
public:
    explicit TSimpleMgr(Owner* owner, uint32_t initialCapacity = 0) : mOwner(owner)
    {
        if constexpr (Inline > 0) {
            mItems = inlineItems();
            mCapacity = Inline;
        }
        reserve(initialCapacity);
    }
    TSimpleMgr(const TSimpleMgr&) = delete;
    TSimpleMgr& operator=(const TSimpleMgr&) = delete;
    ~TSimpleMgr() override
    {
        if (!isInline()) {
            Nuvora::release(mItems);
        }
    }

    int32_t getNbObjects() override { return static_cast<int32_t>(mCount); }

    Impl* getScnObject(uint32_t index) override
    {
        if (index >= mCount) {
            mOwner->report(Msg::kGetBadIndex);
            return nullptr;
        }
        return mItems + index;
    }

    Impl* newScnObject(uint32_t index) override
    {
        if (index == kScnLastIndex) {
            index = mCount;
        }
        if (index > mCount) {
            mOwner->report(Msg::kNewBadIndex);
            return nullptr;
        }
        if (mCount == mCapacity && !grow()) {
            return nullptr;
        }
        std::memmove(mItems + index + 1, mItems + index, (mCount - index) * sizeof(Impl));
        std::memset(static_cast<void*>(mItems + index), 0, sizeof(Impl));
        ++mCount;
        return mItems + index;
    }

    void removeObject(uint32_t index) override
    {
        if (index == kScnLastIndex) {
            if (mCount == 0) {
                mOwner->report(Msg::kRemoveNoMore);
                return;
            }
            index = mCount - 1;
        }
        if (index >= mCount) {
            mOwner->report(Msg::kRemoveBadIndex);
            return;
        }
        std::memmove(mItems + index, mItems + index + 1, (mCount - index - 1) * sizeof(Impl));
        --mCount;
    }

    void moveObject(uint32_t from, uint32_t to) override
    {
        if (from == to) {
            return;
        }
        if (from >= mCount || to >= mCount) {
            mOwner->report(Msg::kMoveBadIndex);
            return;
        }
        Impl moved = mItems[from];
        if (from < to) {
            std::memmove(mItems + from, mItems + from + 1, (to - from) * sizeof(Impl));
        } else {
            std::memmove(mItems + to + 1, mItems + to, (from - to) * sizeof(Impl));
        }
        mItems[to] = moved;
    }

    // Appends a zero-filled record; throws std::bad_alloc when memory runs out (readers use it).
    Impl* appendItem()
    {
        if (mCount == mCapacity && !reserve(static_cast<size_t>(mCount) + 1)) {
            throw std::bad_alloc();
        }
        Impl* item = mItems + mCount++;
        std::memset(static_cast<void*>(item), 0, sizeof(Impl));
        return item;
    }

    // Makes room for at least count records without reporting; false when memory runs out.
    bool reserve(size_t count)
    {
        if (count <= mCapacity) {
            return true;
        }
        if (count > detail::kMaxArrayCount) {
            return false;
        }
        return resize(std::max<uint32_t>(static_cast<uint32_t>(count),
                                         detail::doubledCapacity(mCapacity)));
    }

    // Removes every record; the capacity stays.
    void clear() { mCount = 0; }

    uint32_t size() const { return mCount; }
    uint32_t capacity() const { return mCapacity; }
    const Impl* data() const { return mItems; }
    Impl* data() { return mItems; }

private:
    bool isInline() const
    {
        if constexpr (Inline > 0) {
            return mItems == inlineItems();
        }
        return false;
    }
    Impl* inlineItems() const
    {
        return reinterpret_cast<Impl*>(const_cast<unsigned char*>(mInline));
    }

    // Moves the records to a heap block of that capacity; false (nothing changed) without memory.
    bool resize(uint32_t capacity)
    {
        if (!isInline()) {
            if (!detail::resizeArray(mItems, capacity)) {
                return false;
            }
        } else {
            Impl* heap = nullptr;
            if (!detail::resizeArray(heap, capacity)) {
                return false;
            }
            std::memcpy(static_cast<void*>(heap), mItems, mCount * sizeof(Impl));
            mItems = heap;
        }
        mCapacity = capacity;
        return true;
    }

    bool grow()
    {
        uint32_t capacity = detail::doubledCapacity(mCapacity);
        if (capacity == 0 || !resize(capacity)) {
            mOwner->report(Msg::kNoMemory);
            return false;
        }
        return true;
    }

    Owner* mOwner;
    uint32_t mCount = 0;
    uint32_t mCapacity = 0;
    Impl* mItems = nullptr;
    alignas(Impl) unsigned char mInline[Inline > 0 ? Inline * sizeof(Impl) : 1];
};

}  // namespace NvScn

#endif
