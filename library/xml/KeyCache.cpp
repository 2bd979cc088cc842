#include "xml/KeyCache.h"

#include <cstring>

#include "platform/Memory.h"
#include "xml/XMLNodes.h"

namespace NuvoraXML {

namespace {

// Slots of a fresh table.
constexpr int kFirstBits = 8;

}  // namespace

CKeyCache::CKeyCache() : mEntries(nullptr), mLast(nullptr), mExpected(nullptr), mMask(0), mShift(64), mCount(0) {}

CKeyCache::~CKeyCache()
{
    Nuvora::release(mEntries);
}

void CKeyCache::Reset()
{
    if (mMask + 1 > (size_t(1) << kFirstBits)) {
        Nuvora::release(mEntries);
        mEntries = nullptr;
        mMask = 0;
        mShift = 64;
    }
    if (mEntries != nullptr) {
        std::memset(static_cast<void*>(mEntries), 0, sizeof(Entry) * (mMask + 1));
    }
    mCount = 0;
    mLast = nullptr;
    mExpected = nullptr;
}

const char* CKeyCache::AddKey(const char* name, size_t length, uint64_t first, uint64_t second, XCXMLRoot* root)
{
    const char* key = root->GetKey(name);
    // A name holding a NUL byte has the key of its part before it: such a name is not cached.
    if (std::strlen(key) != length) {
        return key;
    }
    if (mEntries == nullptr || 2 * (mCount + 1) > mMask + 1) {
        if (!Grow()) {
            return key;
        }
    }
    size_t slot = SlotOf(first, second, length);
    while (mEntries[slot].key != nullptr) {
        slot = (slot + 1) & mMask;
    }
    uint64_t prefix[2] = {0, 0};
    std::memcpy(prefix, name, length < sizeof prefix ? length : sizeof prefix);
    mEntries[slot] = Entry{first, second, length, key, prefix[0], prefix[1], nullptr};
    ++mCount;
    Meet(&mEntries[slot]);
    return key;
}

bool CKeyCache::Grow()
{
    int bits = mEntries == nullptr ? kFirstBits : 64 - mShift + 1;
    if (bits >= 48) {
        return false;
    }
    size_t size = size_t(1) << bits;
    Entry* entries = static_cast<Entry*>(Nuvora::reallocate(nullptr, sizeof(Entry) * size));
    if (entries == nullptr) {
        return false;
    }
    std::memset(static_cast<void*>(entries), 0, sizeof(Entry) * size);
    Entry* old = mEntries;
    size_t oldSize = old != nullptr ? mMask + 1 : 0;
    mEntries = entries;
    mMask = size - 1;
    mShift = 64 - bits;
    for (size_t i = 0; i < oldSize; ++i) {
        if (old[i].key != nullptr) {
            size_t slot = SlotOf(old[i].first, old[i].second, old[i].length);
            while (mEntries[slot].key != nullptr) {
                slot = (slot + 1) & mMask;
            }
            mEntries[slot] = old[i];
            // The entries moved: what followed what is learnt again.
            mEntries[slot].next = nullptr;
        }
    }
    Nuvora::release(old);
    mLast = nullptr;
    mExpected = nullptr;
    return true;
}

}  // namespace NuvoraXML
