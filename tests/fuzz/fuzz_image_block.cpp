// Fuzzes the image block reader: any input must fail cleanly or decode into an image whose
// re-encoding decodes to the same pixels; the preview reader, given the input as the leading
// preview of a document, must find the same image.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "ScnMgr.h"
#include "fuzz/BytesStream.h"
#include "xml/XImageBlock.h"

namespace {

using ScnFuzz::BytesStream;

class BytesReadStream : public NuvoraXML::CXMLReadStream {
public:
    BytesReadStream(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    int32_t Read(void* buffer, int32_t length) override
    {
        size_t count = mSize - mPos < static_cast<size_t>(length) ? mSize - mPos : static_cast<size_t>(length);
        std::memcpy(buffer, mData + mPos, count);
        mPos += count;
        return static_cast<int32_t>(count);
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

class StringWriteStream : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override
    {
        text.append(static_cast<const char*>(bytes), static_cast<size_t>(length));
        return length;
    }
    std::string text;
};

// Whether the preview reader finds exactly the image decoded directly (none for an empty one).
bool previewAgrees(const uint8_t* data, size_t size, const Nuvora::XCPixels& image)
{
    std::string block(reinterpret_cast<const char*>(data), size);
    if (block.find("]]>") != std::string::npos || (!block.empty() && block.back() == ']')) {
        return true;
    }
    BytesStream stream("<?xml version=\"1.0\"?>\n<Scn.File>\n\t<Preview.Image><![CDATA[" + block +
                       "]]>\n\t</Preview.Image>\n</Scn.File>\n");
    NvScn::IScnImage* preview = NvScn::CScnMgr::readPreviewImage(&stream);
    if (preview == nullptr) {
        return image.GetData() == nullptr;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    const uint32_t* pixels = nullptr;
    preview->getPixels(&width, &height, &pixels);
    bool same = width == image.GetWidth() && height == image.GetHeight() &&
                std::memcmp(pixels, image.GetData(), static_cast<size_t>(image.GetCount()) * sizeof(uint32_t)) == 0;
    preview->destroy();
    return same;
}

// The declared pixel count, or 0 when the head is not a valid header.
uint64_t declaredPixels(const uint8_t* data, size_t size)
{
    if (size < 24) {
        return 0;
    }
    uint32_t words[3] = {};
    for (int w = 0; w < 3; ++w) {
        char digits[9] = {};
        std::memcpy(digits, data + 8 * w, 8);
        words[w] = static_cast<uint32_t>(std::strtoul(digits, nullptr, 16));
    }
    if (words[0] == 0x01000000u) {
        words[1] = __builtin_bswap32(words[1]);
        words[2] = __builtin_bswap32(words[2]);
    }
    return static_cast<uint64_t>(words[1]) * words[2];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A repeat run may legitimately fill a declared image with one word: keep images small
    // enough for the fuzzer's memory limit.
    if (declaredPixels(data, size) > (uint64_t(1) << 22)) {
        return 0;
    }
    Nuvora::XCPixels image;
    BytesReadStream input(data, size);
    try {
        Nuvora::ReadImageBlock(&input, image);
    } catch (const std::exception&) {
        if (image.GetData() != nullptr || image.GetWidth() != 0 || !previewAgrees(data, size, image)) {
            std::abort();
        }
        return 0;
    }
    if (!previewAgrees(data, size, image)) {
        std::abort();
    }
    StringWriteStream encoded;
    Nuvora::WriteImageBlock(&encoded, image.GetWidth(), image.GetHeight(), image.GetData());
    Nuvora::XCPixels again;
    BytesReadStream reread(reinterpret_cast<const uint8_t*>(encoded.text.data()), encoded.text.size());
    Nuvora::ReadImageBlock(&reread, again);
    size_t bytes = static_cast<size_t>(image.GetCount()) * sizeof(uint32_t);
    if (again.GetWidth() != image.GetWidth() || again.GetHeight() != image.GetHeight() ||
        (bytes > 0 && std::memcmp(again.GetData(), image.GetData(), bytes) != 0)) {
        std::abort();
    }
    return 0;
}
