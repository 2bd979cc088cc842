// The keys of the names met while reading a document, found again by a quick hash of the name.
#ifndef NUVORA_XML_KEYCACHE_H
#define NUVORA_XML_KEYCACHE_H

#include <cstddef>
#include <cstdint>

namespace NuvoraXML {

class XCXMLRoot;

// An open-addressed map from name bytes to the key the document's table gave them; it holds one
// entry per distinct name, and does without entries when memory runs out.
class CKeyCache {
public:
    CKeyCache();
    ~CKeyCache();
    CKeyCache(const CKeyCache&) = delete;
    CKeyCache& operator=(const CKeyCache&) = delete;

    // Forgets every key (before reading another document).
    void Reset();
    // The key of the name of length bytes (the byte after it is not read): the cached one, else
    // root's GetKey, then cached.
    const char* GetKey(const char* name, size_t length, XCXMLRoot* root);

private:
    // A name by its length and two words that together hold each of its bytes, and its key.
    struct Entry {
        uint64_t first;
        uint64_t second;
        size_t length;
        const char* key;
    };

    size_t SlotOf(uint64_t first, uint64_t second, size_t length) const;
    // Doubles the table (a first one when there is none); false when memory runs out.
    bool Grow();

    Entry* mEntries;
    size_t mMask;
    int mShift;
    size_t mCount;
};

}  // namespace NuvoraXML

#endif
