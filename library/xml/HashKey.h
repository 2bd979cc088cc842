// The key table of a document: interned names, so that names compare by pointer.
#ifndef NUVORA_XML_HASHKEY_H
#define NUVORA_XML_HASHKEY_H

#include <cstdint>

namespace NuvoraXML {

// An open-addressed table of heap-copied strings with linear probing; keys are never removed.
class CHashKey {
public:
    // An empty table of no slots with the given probe limit; Grow gives it slots.
    explicit CHashKey(int32_t probeLimit);
    ~CHashKey();
    CHashKey(const CHashKey&) = delete;
    CHashKey& operator=(const CHashKey&) = delete;

    // The hash every lookup starts from.
    static uint32_t Hash(const char* name);

    // The interned copy of name, or null when absent; fails on a null name.
    const char* Find(const char* name) const;
    // The interned copy of name, inserted (and the table grown) when absent.
    const char* GetKey(const char* name);
    // Re-inserts every key into a table of newSize slots (a power of two), one more probe allowed.
    void Grow(uint32_t newSize);

    uint32_t GetSlotCount() const { return mSize; }
    int32_t GetProbeLimit() const { return mProbeLimit; }
    int32_t GetKeyCount() const { return mCount; }

private:
    // The slot where name is or would go, or -1 when the probes run out.
    // Whether doubling size keeps the table within 16 slots per key (at least 1024 slots).
    bool MayDouble(uint32_t size) const;
    int64_t Probe(char* const* slots, uint32_t size, const char* name, uint32_t hash) const;

    char** mSlots;
    uint32_t mSize;
    int32_t mProbeLimit;
    int32_t mCount;
};

}  // namespace NuvoraXML

#endif
