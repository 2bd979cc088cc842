// XML streams over strings for the image tests: a collecting writer that can fail, a reader
// that can deliver short pieces, and the hexadecimal text of words.
#ifndef SCN_TEST_IMAGE_SUPPORT_H
#define SCN_TEST_IMAGE_SUPPORT_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include "ScnXML.h"

namespace ScnTest {

// Collects what is written; after failAfter bytes it accepts only part of a write.
class LimitedWriteStream : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override
    {
        size_t room = failAfter - std::min(failAfter, text.size());
        size_t taken = std::min(room, static_cast<size_t>(length));
        text.append(static_cast<const char*>(bytes), taken);
        return static_cast<int32_t>(taken);
    }

    std::string text;
    size_t failAfter = static_cast<size_t>(-1);
};

// Delivers a string in pieces of at most chunk bytes (0: as asked).
class ChunkedReadStream : public NuvoraXML::CXMLReadStream {
public:
    explicit ChunkedReadStream(std::string bytes, size_t chunk = 0) : mBytes(std::move(bytes)), mChunk(chunk) {}

    int32_t Read(void* buffer, int32_t length) override
    {
        size_t count = std::min(static_cast<size_t>(length), mBytes.size() - mPos);
        if (mChunk > 0) {
            count = std::min(count, mChunk);
        }
        std::memcpy(buffer, mBytes.data() + mPos, count);
        mPos += count;
        return static_cast<int32_t>(count);
    }

    size_t position() const { return mPos; }

private:
    std::string mBytes;
    size_t mChunk;
    size_t mPos = 0;
};

// Eight upper-case hexadecimal digits per word, most significant first.
inline std::string hexWords(std::initializer_list<uint32_t> words)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint32_t word : words) {
        for (int shift = 28; shift >= 0; shift -= 4) {
            text += kDigits[(word >> shift) & 15u];
        }
    }
    return text;
}

}  // namespace ScnTest

#endif
