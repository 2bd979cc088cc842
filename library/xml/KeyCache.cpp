#include "xml/KeyCache.h"

#include <cstring>

#include "platform/Memory.h"
#include "xml/XMLNodes.h"

namespace NuvoraXML {

namespace {

// Slots of a fresh table.
constexpr int kFirstBits = 8;

template <class Word>
Word load(const char* bytes)
{
    Word word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

}  // namespace

CKeyCache::CKeyCache() : mEntries(nullptr), mMask(0), mShift(64), mCount(0) {}

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
}

size_t CKeyCache::SlotOf(uint64_t first, uint64_t second, size_t length) const
{
    uint64_t mix = (first ^ (second * 0x9E3779B97F4A7C15u) ^ length) * 0xFF51AFD7ED558CCDu;
    return static_cast<size_t>(mix >> mShift);
}

const char* CKeyCache::GetKey(const char* name, size_t length, XCXMLRoot* root)
{
    // Overlapping loads that stay inside the name: the byte after it was just stored to end it,
    // and a load across that store would wait for it.
    uint64_t first = 0;
    uint64_t second = 0;
    if (length >= 8) {
        first = load<uint64_t>(name);
        second = load<uint64_t>(name + length - 8);
    } else if (length >= 4) {
        first = load<uint32_t>(name) | uint64_t(load<uint32_t>(name + length - 4)) << 32;
    } else if (length > 0) {
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(name);
        first = bytes[0] | uint64_t(bytes[length / 2]) << 8 | uint64_t(bytes[length - 1]) << 16;
    }
    size_t slot = 0;
    if (mEntries != nullptr) {
        slot = SlotOf(first, second, length);
        for (;;) {
            const Entry& entry = mEntries[slot];
            if (entry.key == nullptr) {
                break;
            }
            // Up to 16 bytes the words are the whole name; a longer one is compared with its key.
            if (entry.first == first && entry.second == second && entry.length == length &&
                (length <= 16 || std::memcmp(entry.key, name, length) == 0)) {
                return entry.key;
            }
            slot = (slot + 1) & mMask;
        }
    }
    const char* key = root->GetKey(name);
    // A name holding a NUL byte has the key of its part before it: such a name is not cached.
    if (std::strlen(key) != length) {
        return key;
    }
    if (mEntries == nullptr || 2 * (mCount + 1) > mMask + 1) {
        if (!Grow()) {
            return key;
        }
        slot = SlotOf(first, second, length);
        while (mEntries[slot].key != nullptr) {
            slot = (slot + 1) & mMask;
        }
    }
    mEntries[slot] = Entry{first, second, length, key};
    ++mCount;
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
        }
    }
    Nuvora::release(old);
    return true;
}

}  // namespace NuvoraXML
