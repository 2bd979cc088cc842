#include "xml/HashKey.h"

#include <cstring>

#include "platform/Diagnostics.h"
#include "platform/Failure.h"
#include "platform/Memory.h"
#include "xml/StringCopy.h"
#include "xml/XMLMessages.h"

namespace NuvoraXML {

CHashKey::CHashKey(int32_t probeLimit) : mSlots(nullptr), mSize(0), mProbeLimit(probeLimit), mCount(0) {}

CHashKey::~CHashKey()
{
    for (uint32_t i = 0; i < mSize; ++i) {
        Nuvora::release(mSlots[i]);
    }
    Nuvora::release(mSlots);
}

uint32_t CHashKey::Hash(const char* name)
{
    uint32_t h = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p != 0; ++p) {
        uint32_t b = *p;
        uint32_t t = (((h * 2u) ^ b) << 4) ^ (h >> 27) ^ b;
        h ^= t;
    }
    return h;
}

int64_t CHashKey::Probe(char* const* slots, uint32_t size, const char* name, uint32_t hash) const
{
    if (size == 0) {
        return -1;
    }
    uint32_t h = hash;
    for (int32_t probe = 0; probe < mProbeLimit; ++probe) {
        h = (h + 1u) & (size - 1u);
        const char* slot = slots[h];
        if (slot == nullptr || std::strcmp(slot, name) == 0) {
            return h;
        }
    }
    return -1;
}

const char* CHashKey::Find(const char* name) const
{
    if (name == nullptr) {
        Nuvora::fail();
    }
    int64_t at = Probe(mSlots, mSize, name, Hash(name));
    return at < 0 ? nullptr : mSlots[at];
}

const char* CHashKey::GetKey(const char* name)
{
    if (name == nullptr) {
        Nuvora::fail();
    }
    uint32_t hash = Hash(name);
    for (;;) {
        int64_t at = Probe(mSlots, mSize, name, hash);
        if (at >= 0) {
            if (mSlots[at] == nullptr) {
                mSlots[at] = copyString(name);
                ++mCount;
            }
            return mSlots[at];
        }
        if (mSize != 0 && !MayDouble(mSize)) {
            // Colliding names: allow one more probe rather than doubling a sparse table.
            ++mProbeLimit;
            continue;
        }
        Grow(mSize == 0 ? 64u : mSize * 2u);
    }
}

bool CHashKey::MayDouble(uint32_t size) const
{
    uint64_t cap = 16u * (static_cast<uint64_t>(mCount) + 1u);
    return static_cast<uint64_t>(size) * 2u <= (cap < 1024u ? 1024u : cap);
}

void CHashKey::Grow(uint32_t newSize)
{
    char** oldSlots = mSlots;
    uint32_t oldSize = mSize;
    for (;;) {
        void* block = newSize < (1u << 30) ? Nuvora::reallocate(nullptr, sizeof(char*) * newSize) : nullptr;
        if (block == nullptr) {
            Nuvora::fail(Msg::kCantGrowHash);
        }
        char** slots = static_cast<char**>(block);
        std::memset(slots, 0, sizeof(char*) * newSize);
        ++mProbeLimit;
        bool placed = true;
        for (uint32_t i = 0; i < oldSize && placed; ++i) {
            char* key = oldSlots[i];
            if (key == nullptr) {
                continue;
            }
            int64_t at = Probe(slots, newSize, key, Hash(key));
            if (at < 0) {
                placed = false;
            } else if (slots[at] != nullptr) {
                Nuvora::release(slots);
                Nuvora::failAssertion(Msg::kDuplicateKey);
            } else {
                slots[at] = key;
            }
        }
        if (placed) {
            Nuvora::release(oldSlots);
            mSlots = slots;
            mSize = newSize;
            return;
        }
        Nuvora::release(slots);
        if (MayDouble(newSize)) {
            Nuvora::reportDiagnostic(Nuvora::kDiagnosticNotice, Msg::kDoubleGrow);
            newSize *= 2u;
        }
    }
}

}  // namespace NuvoraXML
