#include "xml/XImageBlock.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Failure.h"
#include "platform/Memory.h"
#include "xml/XImageMessages.h"

namespace Nuvora {

namespace {

constexpr size_t kWordLength = 8;
constexpr uint32_t kFormat = 1;
constexpr uint32_t kSwappedFormat = 0x01000000u;
// Output is handed to the stream, and input asked of it, in pieces of this size.
constexpr size_t kPieceSize = 64 * 1024;
// Pixels a decoded image starts with before it grows with the data.
constexpr uint64_t kFirstCapacity = 16 * 1024;

// The two digits of every byte value, upper case.
struct HexPairs {
    char of[512];
    constexpr HexPairs() : of()
    {
        const char* digits = "0123456789ABCDEF";
        for (int i = 0; i < 256; ++i) {
            of[2 * i] = digits[i >> 4];
            of[2 * i + 1] = digits[i & 15];
        }
    }
};

// The value of every byte as an upper-case hexadecimal digit; kBadDigit for any other byte.
constexpr uint8_t kBadDigit = 0x80;
struct HexValues {
    uint8_t of[256];
    constexpr HexValues() : of()
    {
        for (int i = 0; i < 256; ++i) {
            of[i] = kBadDigit;
        }
        for (int i = 0; i < 10; ++i) {
            of['0' + i] = static_cast<uint8_t>(i);
        }
        for (int i = 0; i < 6; ++i) {
            of['A' + i] = static_cast<uint8_t>(10 + i);
        }
    }
};

constexpr uint16_t kBadPair = 0x100;
constexpr HexPairs kHexPairs;
constexpr HexValues kHexValues;

inline uint32_t byteSwapped(uint32_t word)
{
    return (word >> 24) | ((word >> 8) & 0xFF00u) | ((word << 8) & 0xFF0000u) | (word << 24);
}

// Gathers hexadecimal words and hands them to the stream in large pieces.
class CHexWriter {
public:
    explicit CHexWriter(NuvoraXML::XIXMLWriteStream* stream)
        : mStream(checkPointer(stream, ImageMsg::kWriteError)), mBuffer(new char[kPieceSize]), mUsed(0)
    {
    }

    void Word(uint32_t word)
    {
        if (mUsed + kWordLength > kPieceSize) {
            Flush();
        }
        char* out = mBuffer.get() + mUsed;
        for (int shift = 24; shift >= 0; shift -= 8) {
            const char* pair = kHexPairs.of + 2 * ((word >> shift) & 0xFFu);
            *out++ = pair[0];
            *out++ = pair[1];
        }
        mUsed += kWordLength;
    }

    void Words(const uint32_t* words, size_t count)
    {
        for (size_t i = 0; i < count; ++i) {
            Word(words[i]);
        }
    }

    void Flush()
    {
        if (mUsed == 0) {
            return;
        }
        int32_t written = mStream->Write(mBuffer.get(), static_cast<int32_t>(mUsed));
        if (written < 0 || static_cast<size_t>(written) != mUsed) {
            failAssertion(ImageMsg::kWriteError);
        }
        mUsed = 0;
    }

private:
    NuvoraXML::XIXMLWriteStream* mStream;
    std::unique_ptr<char[]> mBuffer;
    size_t mUsed;
};

// Reads hexadecimal words from a stream through a large window; short reads are gathered.
class CHexReader {
public:
    explicit CHexReader(NuvoraXML::CXMLReadStream* stream)
        : mStream(checkPointer(stream, ImageMsg::kReadError)),
          mBuffer(new unsigned char[kPieceSize]),
          mPos(0),
          mFill(0),
          mEnd(false),
          mSwap(false),
          mPairs(PairValues())
    {
    }

    // Whether the stream holds no byte at all any more.
    bool AtEnd() { return Available() == 0; }

    void SetSwap(bool swap) { mSwap = swap; }

    uint32_t Word()
    {
        if (Available() < kWordLength) {
            fail(ImageMsg::kReadError);
        }
        uint32_t word = Decode(mBuffer.get() + mPos);
        mPos += kWordLength;
        return word;
    }

    // Decodes up to count words into out, as many as the window holds (at least one); answers
    // how many.
    size_t Words(uint32_t* out, size_t count)
    {
        if (Available() < kWordLength) {
            fail(ImageMsg::kReadError);
        }
        size_t take = std::min(count, (mFill - mPos) / kWordLength);
        const unsigned char* in = mBuffer.get() + mPos;
        for (size_t i = 0; i < take; ++i, in += kWordLength) {
            out[i] = Decode(in);
        }
        mPos += take * kWordLength;
        return take;
    }

private:
    uint32_t Decode(const unsigned char* digits) const
    {
        const uint16_t* pairs = mPairs;
        unsigned a = pairs[digits[0] << 8 | digits[1]];
        unsigned b = pairs[digits[2] << 8 | digits[3]];
        unsigned c = pairs[digits[4] << 8 | digits[5]];
        unsigned d = pairs[digits[6] << 8 | digits[7]];
        if (((a | b | c | d) & kBadPair) != 0) {
            fail(ImageMsg::kInvalidHex);
        }
        uint32_t word = a << 24 | b << 16 | c << 8 | d;
        return mSwap ? byteSwapped(word) : word;
    }

    // The byte value of every pair of digits, kBadPair when either is not a digit.
    static const uint16_t* PairValues()
    {
        static const std::unique_ptr<uint16_t[]> table = [] {
            std::unique_ptr<uint16_t[]> values(new uint16_t[65536]);
            for (unsigned i = 0; i < 65536; ++i) {
                unsigned high = kHexValues.of[i >> 8];
                unsigned low = kHexValues.of[i & 0xFF];
                values[i] = ((high | low) & kBadDigit) != 0 ? kBadPair : static_cast<uint16_t>(high << 4 | low);
            }
            return values;
        }();
        return table.get();
    }

    // Bytes in the window, after refilling it when it holds less than a word.
    size_t Available()
    {
        if (mFill - mPos < kWordLength && !mEnd) {
            std::memmove(mBuffer.get(), mBuffer.get() + mPos, mFill - mPos);
            mFill -= mPos;
            mPos = 0;
            while (mFill < kWordLength && !mEnd) {
                int32_t got = mStream->Read(mBuffer.get() + mFill, static_cast<int32_t>(kPieceSize - mFill));
                if (got <= 0) {
                    mEnd = true;
                } else {
                    mFill += std::min(static_cast<size_t>(got), kPieceSize - mFill);
                }
            }
        }
        return mFill - mPos;
    }

    NuvoraXML::CXMLReadStream* mStream;
    std::unique_ptr<unsigned char[]> mBuffer;
    size_t mPos;
    size_t mFill;
    bool mEnd;
    bool mSwap;
    const uint16_t* mPairs;
};

// The pixels being decoded: storage grows with what the block delivers, up to the image size.
class CGrowingPixels {
public:
    explicit CGrowingPixels(uint64_t total) : mTotal(total), mCapacity(0), mData(nullptr) {}
    ~CGrowingPixels() { release(mData); }
    CGrowingPixels(const CGrowingPixels&) = delete;
    CGrowingPixels& operator=(const CGrowingPixels&) = delete;

    // Room for the first count pixels.
    uint32_t* Reserve(uint64_t count)
    {
        if (count > mCapacity) {
            uint64_t capacity = std::max(count, std::min(mTotal, std::max(kFirstCapacity, 2 * mCapacity)));
            void* grown = reallocate(mData, static_cast<size_t>(capacity) * sizeof(uint32_t));
            if (grown == nullptr) {
                fail(ImageMsg::kCantAllocate);
            }
            mData = static_cast<uint32_t*>(grown);
            mCapacity = capacity;
        }
        return mData;
    }

    // Hands the storage over; it holds the whole image by then.
    uint32_t* Take()
    {
        uint32_t* data = mData;
        mData = nullptr;
        return data;
    }

private:
    uint64_t mTotal;
    uint64_t mCapacity;
    uint32_t* mData;
};

void readRuns(CHexReader& reader, XCPixels& matrix)
{
    uint32_t format = reader.Word();
    if (format == kSwappedFormat) {
        reader.SetSwap(true);
    } else if (format != kFormat) {
        fail(ImageMsg::kUnknownFormat);
    }
    uint32_t width = reader.Word();
    uint32_t height = reader.Word();
    uint64_t total = static_cast<uint64_t>(width) * height;
    if (total >= XCPixels::kCountLimit) {
        fail(ImageMsg::kCantAllocate);
    }
    CGrowingPixels pixels(total);
    uint64_t done = 0;
    while (done < total) {
        uint32_t repeat = reader.Word();
        if (done + repeat > total) {
            failAssertion(ImageMsg::kWrongData);
        }
        uint32_t word = reader.Word();
        if (repeat > 0) {
            uint32_t* out = pixels.Reserve(done + repeat) + done;
            std::fill_n(out, repeat, word);
            done += repeat;
        }
        if (done == total) {
            break;
        }
        uint32_t literal = reader.Word();
        if (done + literal > total) {
            failAssertion(ImageMsg::kWrongData);
        }
        uint64_t end = done + literal;
        while (done < end) {
            // Storage follows the words that actually arrive, one window at a time.
            uint64_t piece = std::min<uint64_t>(end - done, kPieceSize / kWordLength);
            uint32_t* out = pixels.Reserve(done + piece) + done;
            done += reader.Words(out, static_cast<size_t>(piece));
        }
    }
    if (total == 0) {
        matrix.Reset();
        return;
    }
    matrix.Adopt(width, height, pixels.Take());
}

}  // namespace

void WriteImageBlock(NuvoraXML::XIXMLWriteStream* stream, uint32_t width, uint32_t height,
                     const uint32_t* pixels)
{
    uint64_t total = static_cast<uint64_t>(width) * height;
    if (total == 0) {
        return;
    }
    if (total >= XCPixels::kCountLimit) {
        fail(ImageMsg::kCantAllocate);
    }
    checkPointer(pixels, ImageMsg::kWriteError);
    CHexWriter writer(stream);
    writer.Word(kFormat);
    writer.Word(width);
    writer.Word(height);
    const size_t count = static_cast<size_t>(total);
    size_t i = 0;
    while (i < count) {
        // A repeat run as long as the pixels stay equal.
        size_t j = i + 1;
        while (j < count && pixels[j] == pixels[i]) {
            ++j;
        }
        writer.Word(static_cast<uint32_t>(j - i));
        writer.Word(pixels[i]);
        i = j;
        if (i == count) {
            break;
        }
        // A literal run over pixels that differ from their successor, up to and including the
        // first one that equals its successor, or the last pixel.
        j = i;
        while (j + 1 < count && pixels[j] != pixels[j + 1]) {
            ++j;
        }
        writer.Word(static_cast<uint32_t>(j - i + 1));
        writer.Words(pixels + i, j - i + 1);
        i = j + 1;
    }
    writer.Flush();
}

void ReadImageBlock(NuvoraXML::CXMLReadStream* stream, XCPixels& matrix)
{
    try {
        matrix.Reset();
        CHexReader reader(stream);
        if (reader.AtEnd()) {
            return;
        }
        readRuns(reader, matrix);
    } catch (...) {
        matrix.Reset();
        throw;
    }
}

}  // namespace Nuvora
