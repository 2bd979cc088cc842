// Streamed records land byte for byte where a plain store would put them, whatever their size,
// alignment and place pick among the store widths, and nothing beside them is touched.
#include "StreamStore.h"

#include <Scn.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Words5 {
    int32_t a, b, c, d, e;
};
struct alignas(8) Padded {
    int32_t a, b, c, d, e;
};
struct alignas(16) Wide {
    double a, b, c, d;
};

// The bytes of a 256-byte area after streaming value at offset, the rest of the area 0xAA; with
// plain set, after a plain copy instead.
template <class T>
std::vector<unsigned char> storedAt(std::size_t offset, const T& value, bool plain)
{
    alignas(64) unsigned char area[256];
    std::memset(area, 0xAA, sizeof area);
    T* to = reinterpret_cast<T*>(area + offset);
    if (plain) {
        std::memcpy(to, &value, sizeof value);
    } else {
        KSV::streamStore(to, value);
        KSV::streamFence();
    }
    return std::vector<unsigned char>(area, area + sizeof area);
}

// Streams a record of every kind at every place its alignment allows in the first 64 bytes.
template <class T>
void expectPlainBytes(const std::string& kind, const T& value)
{
    for (std::size_t offset = 0; offset < 64; offset += alignof(T)) {
        EXPECT_EQ(storedAt(offset, value, false), storedAt(offset, value, true)) << kind << " at offset " << offset;
    }
}

template <class T>
T numbered()
{
    T value;
    unsigned char bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        bytes[i] = static_cast<unsigned char>(i + 1);
    }
    std::memcpy(&value, bytes, sizeof bytes);
    return value;
}

// Four words streamed from registers at every 4-byte place in the first 64 bytes: the bytes of
// the words laid one after the other, nothing beside them.
TEST(StreamStore, WritesFourWordsInOrderAndNothingElse)
{
    const uint32_t words[4] = {0x01020304u, 0xFFFFFFFFu, 0x3F800000u, 0x80000000u};
    for (std::size_t offset = 0; offset < 64; offset += 4) {
        alignas(64) unsigned char streamed[256];
        alignas(64) unsigned char copied[256];
        std::memset(streamed, 0xAA, sizeof streamed);
        std::memset(copied, 0xAA, sizeof copied);
        KSV::streamWords(streamed + offset, words[0], words[1], words[2], words[3]);
        KSV::streamFence();
        std::memcpy(copied + offset, words, sizeof words);
        EXPECT_EQ(std::vector<unsigned char>(streamed, streamed + sizeof streamed),
                  std::vector<unsigned char>(copied, copied + sizeof copied))
            << "at offset " << offset;
    }
}

TEST(StreamStore, WritesTheRecordsBytesAndNothingElse)
{
    expectPlainBytes("point", NvScn::CScnVector{1.5, -2.25, 1e300});
    expectPlainBytes("corner", NvScn::CScnVertex{-1, NvScn::kScnVertexMapped, 0.25f, -3.0f});
    expectPlainBytes("five words", numbered<Words5>());
    expectPlainBytes("padded five words", numbered<Padded>());
    expectPlainBytes("wide record", numbered<Wide>());
}

}  // namespace
