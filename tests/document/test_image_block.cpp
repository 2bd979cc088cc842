// The image block: exact encoding of the runs, both word orders, every decoding failure, and
// memory that follows the data rather than the declared size.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/Failures.h"
#include "test_image_support.h"
#include "xml/XImageBlock.h"

namespace {

using Nuvora::XCPixels;
using ScnTest::hexWords;
using ScnTest::ChunkedReadStream;
using ScnTest::LimitedWriteStream;

constexpr uint32_t A = 0xFF102030u;
constexpr uint32_t B = 0x00ABCDEFu;
constexpr uint32_t C = 0x12345678u;
constexpr uint32_t D = 0x9ABCDEF0u;

std::string encode(uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels)
{
    LimitedWriteStream out;
    Nuvora::WriteImageBlock(&out, width, height, pixels.data());
    return out.text;
}

std::vector<uint32_t> pixelsOf(const XCPixels& matrix)
{
    const uint32_t* data = matrix.GetData();
    return data == nullptr ? std::vector<uint32_t>() : std::vector<uint32_t>(data, data + matrix.GetCount());
}

// The message of the decoding failure, or "" when the block decodes.
std::string decodeFailure(const std::string& block, XCPixels& matrix)
{
    ChunkedReadStream in(block);
    try {
        Nuvora::ReadImageBlock(&in, matrix);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

struct EncodeCase {
    const char* name;
    uint32_t width;
    uint32_t height;
    std::vector<uint32_t> pixels;
    std::string expected;
};

TEST(ImageBlock, EncodesAlternatingRunsExactly)
{
    const EncodeCase cases[] = {
        {"four equal pixels", 2, 2, {A, A, A, A}, hexWords({1, 2, 2, 4, A})},
        {"A B B", 3, 1, {A, B, B}, hexWords({1, 3, 1, 1, A, 1, B, 1, B})},
        {"all different", 4, 1, {A, B, C, D}, hexWords({1, 4, 1, 1, A, 3, B, C, D})},
        {"literal takes the first of a pair", 5, 1, {A, A, B, C, C}, hexWords({1, 5, 1, 2, A, 2, B, C, 1, C})},
        {"repeat after a pair", 1, 4, {A, B, B, B}, hexWords({1, 1, 4, 1, A, 1, B, 2, B})},
        {"single pixel", 1, 1, {C}, hexWords({1, 1, 1, 1, C})},
        {"two different", 2, 1, {A, B}, hexWords({1, 2, 1, 1, A, 1, B})},
        {"ends in a literal", 3, 1, {A, A, B}, hexWords({1, 3, 1, 2, A, 1, B})},
        {"zero width", 0, 5, {A}, ""},
        {"zero height", 5, 0, {A}, ""},
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(encode(c.width, c.height, c.pixels), c.expected) << c.name;
        if (c.width * c.height == 0) {
            continue;
        }
        XCPixels matrix;
        EXPECT_EQ(decodeFailure(c.expected, matrix), "") << c.name;
        EXPECT_EQ(matrix.GetWidth(), c.width) << c.name;
        EXPECT_EQ(matrix.GetHeight(), c.height) << c.name;
        EXPECT_EQ(pixelsOf(matrix), c.pixels) << c.name;
    }
    EXPECT_EQ(encode(2, 2, {A, A, A, A}).size(), 40u);
}

TEST(ImageBlock, LargeImagesRoundTripThroughShortReads)
{
    std::mt19937 random(7);
    const uint32_t sizes[][2] = {{300, 200}, {1024, 97}, {1, 70000}};
    for (const auto& size : sizes) {
        std::vector<uint32_t> pixels(static_cast<size_t>(size[0]) * size[1]);
        for (size_t i = 0; i < pixels.size(); ++i) {
            // Runs of varying length between stretches of noise.
            pixels[i] = (i / 37) % 3 == 0 ? 0xFF000000u : random() % 4;
        }
        std::string block = encode(size[0], size[1], pixels);
        for (size_t chunk : {size_t(0), size_t(1), size_t(7), size_t(4093)}) {
            ChunkedReadStream in(block, chunk);
            XCPixels matrix;
            Nuvora::ReadImageBlock(&in, matrix);
            EXPECT_EQ(pixelsOf(matrix), pixels) << size[0] << "x" << size[1] << " chunk " << chunk;
        }
    }
}

uint32_t swapped(uint32_t word)
{
    return (word >> 24) | ((word >> 8) & 0xFF00u) | ((word << 8) & 0xFF0000u) | (word << 24);
}

TEST(ImageBlock, ByteSwappedWordsAreRecognisedByTheFormatWord)
{
    std::string block = hexWords({0x01000000u, swapped(3), swapped(1), swapped(1), swapped(A), swapped(2), swapped(B),
                                  swapped(C)});
    XCPixels matrix;
    EXPECT_EQ(decodeFailure(block, matrix), "");
    EXPECT_EQ(matrix.GetWidth(), 3u);
    EXPECT_EQ(matrix.GetHeight(), 1u);
    EXPECT_EQ(pixelsOf(matrix), (std::vector<uint32_t>{A, B, C}));
}

struct FailureCase {
    const char* name;
    std::string block;
    std::string message;
};

TEST(ImageBlock, EveryDecodingFailureLeavesAnEmptyMatrix)
{
    const FailureCase cases[] = {
        {"lower-case digits", hexWords({1, 1, 1, 1}) + "abcdef01", "XCXMLImage::ReadHex - Invalid hex value"},
        {"blank inside", "0000 001", "XCXMLImage::ReadHex - Invalid hex value"},
        {"short word", "0000001", "XCXMLImage::ReadHex - Read stream error"},
        {"missing pixel", hexWords({1, 2, 1, 1}), "XCXMLImage::ReadHex - Read stream error"},
        {"missing literal", hexWords({1, 2, 1, 1, A}), "XCXMLImage::ReadHex - Read stream error"},
        {"unknown format", hexWords({2, 1, 1, 1, A}), "Unknown format"},
        {"repeat past the end", hexWords({1, 2, 2, 5, A}), ScnTest::assertionText("IScnImage::Read - Wrong data")},
        {"literal past the end", hexWords({1, 2, 1, 1, A, 2, B, C}), ScnTest::assertionText("IScnImage::Read - Wrong data")},
        {"2^30 pixels", hexWords({1, 0x8000, 0x8000, 1, A}), "XTCMatrix::XTCMatrix - Can't allocate buffer"},
        {"overflowing size", hexWords({1, 0xFFFFFFFFu, 0xFFFFFFFFu}), "XTCMatrix::XTCMatrix - Can't allocate buffer"},
        {"run count overflow", hexWords({1, 4, 1, 1, A, 0xFFFFFFFFu}), ScnTest::assertionText("IScnImage::Read - Wrong data")},
    };
    for (const FailureCase& c : cases) {
        XCPixels matrix(2, 2);
        EXPECT_EQ(decodeFailure(c.block, matrix), c.message) << c.name;
        EXPECT_EQ(matrix.GetWidth(), 0u) << c.name;
        EXPECT_EQ(matrix.GetHeight(), 0u) << c.name;
        EXPECT_EQ(matrix.GetData(), nullptr) << c.name;
    }
}

TEST(ImageBlock, EmptyBlocksAndEmptySizesGiveAnEmptyMatrix)
{
    for (const std::string& block : {std::string(), hexWords({1, 0, 5}), hexWords({1, 7, 0})}) {
        XCPixels matrix(3, 3);
        EXPECT_EQ(decodeFailure(block, matrix), "") << block;
        EXPECT_EQ(matrix.GetWidth(), 0u);
        EXPECT_EQ(matrix.GetData(), nullptr);
    }
}

TEST(ImageBlock, DataAfterTheLastRunIsIgnored)
{
    XCPixels matrix;
    EXPECT_EQ(decodeFailure(hexWords({1, 1, 1, 1, A}) + "trailing", matrix), "");
    EXPECT_EQ(pixelsOf(matrix), std::vector<uint32_t>{A});
}

TEST(ImageBlock, ShortWritesAssert)
{
    for (size_t failAfter : {size_t(0), size_t(5), size_t(39)}) {
        LimitedWriteStream out;
        out.failAfter = failAfter;
        std::vector<uint32_t> pixels = {A, A, A, A};
        try {
            Nuvora::WriteImageBlock(&out, 2, 2, pixels.data());
            ADD_FAILURE() << "no failure after " << failAfter;
        } catch (const std::exception& error) {
            EXPECT_EQ(std::string(error.what()), ScnTest::assertionText("XCXMLImage::WriteHex - Write stream error"));
        }
    }
}

#if !defined(__SANITIZE_ADDRESS__)
// Virtual memory of the process in bytes.
size_t addressSpace()
{
    unsigned long pages = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm != nullptr) {
        if (std::fscanf(statm, "%lu", &pages) != 1) {
            pages = 0;
        }
        std::fclose(statm);
    }
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

TEST(ImageBlockDeathTest, HugeDeclarationsWithLittleDataStayWithinLittleMemory)
{
    // 16383 x 16383 pixels (1 GiB) are declared, with a literal run over all of them, and four
    // pixels follow: under a 256 MiB allowance the block must end for lack of data, not memory.
    std::string block = hexWords({1, 16383, 16383, 0, 0, 16383u * 16383u, A, B, C, D});
    EXPECT_EXIT(
        {
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = addressSpace() + (256u << 20);
            setrlimit(RLIMIT_AS, &limit);
            XCPixels matrix;
            std::string message = decodeFailure(block, matrix);
            std::fprintf(stderr, "%s", message.c_str());
            std::_Exit(message == "XCXMLImage::ReadHex - Read stream error" ? 0 : 1);
        },
        testing::ExitedWithCode(0), "Read stream error");
}
#endif

}  // namespace
