// The keys of the names met while reading a document, found again by a quick hash of the name.
#ifndef NUVORA_XML_KEYCACHE_H
#define NUVORA_XML_KEYCACHE_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace NuvoraXML {

class XCXMLRoot;

// An open-addressed map from name bytes to the key the document's table gave them; it holds one
// entry per distinct name, and does without entries when memory runs out. Documents repeat their
// sequences of names, so each entry also remembers the name met after it last time: the reader
// first checks whether the input holds that one.
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
    const char* GetKey(const char* name, size_t length, XCXMLRoot* root)
    {
        // Overlapping loads that stay inside the name: the byte after it was just stored to end
        // it, and a load across that store would wait for it.
        uint64_t first = 0;
        uint64_t second = 0;
        Words(name, length, first, second);
        if (mEntries != nullptr) {
            for (size_t slot = SlotOf(first, second, length);; slot = (slot + 1) & mMask) {
                const Entry& entry = mEntries[slot];
                if (entry.key == nullptr) {
                    break;
                }
                // Up to 16 bytes the words are the whole name; a longer one is compared with its key.
                if (entry.first == first && entry.second == second && entry.length == length &&
                    (length <= 16 || std::memcmp(entry.key, name, length) == 0)) {
                    Meet(&entry);
                    return entry.key;
                }
            }
        }
        return AddKey(name, length, first, second, root);
    }

    // The length of the name expected next when the bytes at name begin with it and hold at least
    // one more byte before end; 0 otherwise. The 16 bytes from name on must be readable.
    size_t Expected(const char* name, const char* end) const
    {
        const Entry* entry = mExpected;
        if (entry == nullptr || static_cast<size_t>(end - name) <= entry->length) {
            return 0;
        }
        size_t length = entry->length;
        if (length > 16) {
            return std::memcmp(entry->key, name, length) == 0 ? length : 0;
        }
        // The name's bytes in two words, the bytes past it masked off.
        uint64_t differences = ((Load<uint64_t>(name) ^ entry->head) & kHeadMask[length]) |
                               ((Load<uint64_t>(name + 8) ^ entry->tail) & kHeadMask[length < 8 ? 0 : length - 8]);
        return differences == 0 ? length : 0;
    }
    // The key of the expected name, which the input held.
    const char* TakeExpected()
    {
        const Entry* entry = mExpected;
        Meet(entry);
        return entry->key;
    }

private:
    // The bytes of the first word of a name of each length up to 16 (the second word uses the
    // entry of the length minus 8).
    static constexpr uint64_t kHeadMask[17] = {
        0,
        0xFFull,
        0xFFFFull,
        0xFFFFFFull,
        0xFFFFFFFFull,
        0xFFFFFFFFFFull,
        0xFFFFFFFFFFFFull,
        0xFFFFFFFFFFFFFFull,
        ~0ull, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull, ~0ull};

    // A name by its length and two words that together hold each of its bytes, its key, its first
    // 16 bytes (zero after its end), and the entry met after it last time.
    struct Entry {
        uint64_t first;
        uint64_t second;
        size_t length;
        const char* key;
        uint64_t head;
        uint64_t tail;
        const Entry* next;
    };

    // The two words of the name of length bytes.
    static void Words(const char* name, size_t length, uint64_t& first, uint64_t& second)
    {
        if (length >= 8) {
            first = Load<uint64_t>(name);
            second = Load<uint64_t>(name + length - 8);
        } else if (length >= 4) {
            first = Load<uint32_t>(name) | uint64_t(Load<uint32_t>(name + length - 4)) << 32;
        } else if (length > 0) {
            const unsigned char* bytes = reinterpret_cast<const unsigned char*>(name);
            first = bytes[0] | uint64_t(bytes[length / 2]) << 8 | uint64_t(bytes[length - 1]) << 16;
        }
    }
    // The entry is the name met now: it follows the one met before.
    void Meet(const Entry* entry)
    {
        if (mLast != nullptr) {
            mLast->next = entry;
        }
        mLast = const_cast<Entry*>(entry);
        mExpected = entry->next;
    }

    template <class Word>
    static Word Load(const char* bytes)
    {
        Word word;
        std::memcpy(&word, bytes, sizeof(word));
        return word;
    }
    size_t SlotOf(uint64_t first, uint64_t second, size_t length) const
    {
        uint64_t mix = (first ^ (second * 0x9E3779B97F4A7C15u) ^ length) * 0xFF51AFD7ED558CCDu;
        return static_cast<size_t>(mix >> mShift);
    }
    // The key of a name that is not cached yet: root's GetKey, then cached.
    const char* AddKey(const char* name, size_t length, uint64_t first, uint64_t second, XCXMLRoot* root);
    // Doubles the table (a first one when there is none); false when memory runs out.
    bool Grow();

    Entry* mEntries;
    // The entry of the last name met, and the entry met after it last time.
    Entry* mLast;
    const Entry* mExpected;
    size_t mMask;
    int mShift;
    size_t mCount;
};

}  // namespace NuvoraXML

#endif
