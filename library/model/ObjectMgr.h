// The managers behind every list of scene objects: TObjectMgr for object lists, TRapideMgr for
// the holes of a polygon (pointer arrays), TSimpleMgr for the vertices of a hole, stored by value;
// and the index rules and raw arrays that the geometry tables (model/Geometry.h) share with them.
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

// The index rules that every array-backed manager shares. Each answers null when the indices
// are good (kScnLastIndex replaced by the index it names), else the report to send.

// newScnObject: an index up to count; kScnLastIndex appends.
inline const char* checkInsertion(uint32_t& index, uint32_t count)
{
    if (index == kScnLastIndex) {
        index = count;
    }
    return index > count ? Msg::kNewBadIndex : nullptr;
}

// removeObject: an index below count; kScnLastIndex names the last element.
inline const char* checkRemoval(uint32_t& index, uint32_t count)
{
    if (index == kScnLastIndex) {
        if (count == 0) {
            return Msg::kRemoveNoMore;
        }
        index = count - 1;
    }
    return index >= count ? Msg::kRemoveBadIndex : nullptr;
}

// moveObject with different indices: both below count.
inline const char* checkMove(uint32_t from, uint32_t to, uint32_t count)
{
    return from >= count || to >= count ? Msg::kMoveBadIndex : nullptr;
}

// Raw array edits of plain values: open a place at index (count values before), close the place
// at index, move the value at from so that it ends at to.
template <class T>
void openGap(T* items, uint32_t count, uint32_t index)
{
    std::memmove(static_cast<void*>(items + index + 1), items + index, (count - index) * sizeof(T));
}
template <class T>
void closeGap(T* items, uint32_t count, uint32_t index)
{
    std::memmove(static_cast<void*>(items + index), items + index + 1, (count - index - 1) * sizeof(T));
}
template <class T>
void moveItem(T* items, uint32_t from, uint32_t to)
{
    T moved = items[from];
    if (from < to) {
        std::memmove(static_cast<void*>(items + from), items + from + 1, (to - from) * sizeof(T));
    } else {
        std::memmove(static_cast<void*>(items + to + 1), items + to, (from - to) * sizeof(T));
    }
    items[to] = moved;
}

// A hand-grown array of plain values: count, capacity and buffer, doubling as it grows.
template <class T>
class TRawArray {
public:
    TRawArray() = default;
    TRawArray(const TRawArray&) = delete;
    TRawArray& operator=(const TRawArray&) = delete;
    ~TRawArray() { Nuvora::release(mItems); }

    // Room for one more value, doubling the capacity; false (nothing changed) without memory.
    bool grow()
    {
        uint32_t capacity = doubledCapacity(mCapacity);
        return capacity != 0 && resize(capacity);
    }
    // Room for at least count values; false (nothing changed) without memory.
    bool reserve(size_t count)
    {
        if (count <= mCapacity) {
            return true;
        }
        if (count > kMaxArrayCount) {
            return false;
        }
        return resize(std::max<uint32_t>(static_cast<uint32_t>(count), doubledCapacity(mCapacity)));
    }
    // Appends a value; throws std::bad_alloc when memory runs out.
    void push(T value)
    {
        if (mCount == mCapacity && !grow()) {
            throw std::bad_alloc();
        }
        mItems[mCount++] = value;
    }
    // Frees the buffer.
    void release()
    {
        Nuvora::release(mItems);
        mItems = nullptr;
        mCount = 0;
        mCapacity = 0;
    }

    T* data() const { return mItems; }
    T& operator[](size_t index) const { return mItems[index]; }
    uint32_t size() const { return mCount; }
    uint32_t capacity() const { return mCapacity; }
    bool full() const { return mCount == mCapacity; }
    void setSize(uint32_t count) { mCount = count; }

private:
    bool resize(uint32_t capacity)
    {
        if (!resizeArray(mItems, capacity)) {
            return false;
        }
        mCapacity = capacity;
        return true;
    }

    T* mItems = nullptr;
    uint32_t mCount = 0;
    uint32_t mCapacity = 0;
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

// A fast list of elements made with new (the holes of a polygon): a hand-grown array of
// pointers that doubles its capacity. Owner receives the reports.
template <class Impl, class Iface, class Owner>
class TRapideMgr : public TScnFrontier<TScnObjectMgr<Iface>> {
public:
    explicit TRapideMgr(Owner* owner, uint32_t initialCapacity = 0) : mOwner(owner)
    {
        mItems.reserve(initialCapacity);
    }
    TRapideMgr(const TRapideMgr&) = delete;
    TRapideMgr& operator=(const TRapideMgr&) = delete;
    ~TRapideMgr() override { clear(); }

    int32_t getNbObjects() override { return static_cast<int32_t>(mItems.size()); }

    Iface* getScnObject(uint32_t index) override
    {
        if (index >= mItems.size()) {
            mOwner->report(Msg::kGetBadIndex);
            return nullptr;
        }
        return mItems[index];
    }

    Iface* newScnObject(uint32_t index) override
    {
        if (const char* failure = detail::checkInsertion(index, mItems.size())) {
            mOwner->report(failure);
            return nullptr;
        }
        if (mItems.full() && !mItems.grow()) {
            mOwner->report(Msg::kNoMemory);
            return nullptr;
        }
        Impl* item;
        try {
            item = new Impl(mOwner);
        } catch (...) {
            mOwner->report(Msg::kNewCantAllocate);
            return nullptr;
        }
        detail::openGap(mItems.data(), mItems.size(), index);
        mItems[index] = item;
        mItems.setSize(mItems.size() + 1);
        return item;
    }

    void removeObject(uint32_t index) override
    {
        if (const char* failure = detail::checkRemoval(index, mItems.size())) {
            mOwner->report(failure);
            return;
        }
        Impl* item = mItems[index];
        detail::closeGap(mItems.data(), mItems.size(), index);
        mItems.setSize(mItems.size() - 1);
        delete item;
    }

    void moveObject(uint32_t from, uint32_t to) override
    {
        if (from == to) {
            return;
        }
        if (const char* failure = detail::checkMove(from, to, mItems.size())) {
            mOwner->report(failure);
            return;
        }
        detail::moveItem(mItems.data(), from, to);
    }

    // Appends an element; throws std::bad_alloc when memory runs out (readers use it).
    Impl* appendItem()
    {
        if (mItems.full() && !mItems.grow()) {
            throw std::bad_alloc();
        }
        Impl* item = new Impl(mOwner);
        mItems[mItems.size()] = item;
        mItems.setSize(mItems.size() + 1);
        return item;
    }

    // Makes room for at least count elements without reporting; false when memory runs out.
    bool reserve(size_t count) { return mItems.reserve(count); }

    // Destroys every element, the last one first; the capacity stays.
    void clear()
    {
        while (mItems.size() > 0) {
            mItems.setSize(mItems.size() - 1);
            delete mItems[mItems.size()];
        }
    }

    uint32_t size() const { return mItems.size(); }
    uint32_t capacity() const { return mItems.capacity(); }
    Impl* at(uint32_t index) const { return mItems[index]; }
    Owner* getOwner() const { return mOwner; }

private:
    Owner* mOwner;
    detail::TRawArray<Impl*> mItems;
};

// A list of plain 16-byte records stored by value (the vertices of a hole); pointers handed out
// stay valid until the next insertion or removal.
template <class Impl, class Owner>
class TSimpleMgr : public TScnFrontier<TScnObjectMgr<Impl>> {
public:
    explicit TSimpleMgr(Owner* owner, uint32_t initialCapacity = 0) : mOwner(owner)
    {
        mItems.reserve(initialCapacity);
    }
    TSimpleMgr(const TSimpleMgr&) = delete;
    TSimpleMgr& operator=(const TSimpleMgr&) = delete;

    int32_t getNbObjects() override { return static_cast<int32_t>(mItems.size()); }

    Impl* getScnObject(uint32_t index) override
    {
        if (index >= mItems.size()) {
            mOwner->report(Msg::kGetBadIndex);
            return nullptr;
        }
        return &mItems[index];
    }

    Impl* newScnObject(uint32_t index) override
    {
        if (const char* failure = detail::checkInsertion(index, mItems.size())) {
            mOwner->report(failure);
            return nullptr;
        }
        if (mItems.full() && !mItems.grow()) {
            mOwner->report(Msg::kNoMemory);
            return nullptr;
        }
        detail::openGap(mItems.data(), mItems.size(), index);
        mItems.setSize(mItems.size() + 1);
        std::memset(static_cast<void*>(&mItems[index]), 0, sizeof(Impl));
        return &mItems[index];
    }

    void removeObject(uint32_t index) override
    {
        if (const char* failure = detail::checkRemoval(index, mItems.size())) {
            mOwner->report(failure);
            return;
        }
        detail::closeGap(mItems.data(), mItems.size(), index);
        mItems.setSize(mItems.size() - 1);
    }

    void moveObject(uint32_t from, uint32_t to) override
    {
        if (from == to) {
            return;
        }
        if (const char* failure = detail::checkMove(from, to, mItems.size())) {
            mOwner->report(failure);
            return;
        }
        detail::moveItem(mItems.data(), from, to);
    }

    // Appends a zero-filled record; throws std::bad_alloc when memory runs out (readers use it).
    Impl* appendItem()
    {
        if (mItems.full() && !mItems.grow()) {
            throw std::bad_alloc();
        }
        Impl* item = &mItems[mItems.size()];
        mItems.setSize(mItems.size() + 1);
        std::memset(static_cast<void*>(item), 0, sizeof(Impl));
        return item;
    }

    // Makes room for at least count records without reporting; false when memory runs out.
    bool reserve(size_t count) { return mItems.reserve(count); }
    // Removes every record; the capacity stays.
    void clear() { mItems.setSize(0); }
    // Takes the records up to count (at most the capacity), written in place, as the list's.
    void setSizeWithin(uint32_t count) { mItems.setSize(count); }

    uint32_t size() const { return mItems.size(); }
    uint32_t capacity() const { return mItems.capacity(); }
    const Impl* data() const { return mItems.data(); }
    Impl* data() { return mItems.data(); }

private:
    Owner* mOwner;
    detail::TRawArray<Impl> mItems;
};

}  // namespace NvScn

#endif
