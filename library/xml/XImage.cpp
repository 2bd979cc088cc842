#include "xml/XImage.h"

#include <cstring>
#include <type_traits>

#include "platform/Failure.h"
#include "platform/Memory.h"
#include "xml/XImageBlock.h"
#include "xml/XImageMessages.h"

namespace Nuvora {

namespace {

// Storage for count values; fails with the matrix allocation message over the limit or when
// memory runs out. Null for no value.
template <class T>
T* allocateValues(uint64_t count, uint64_t limit)
{
    static_assert(std::is_trivially_copyable<T>::value, "matrices hold plain values");
    if (count >= limit) {
        fail(ImageMsg::kCantAllocate);
    }
    if (count == 0) {
        return nullptr;
    }
    void* block = reallocate(nullptr, static_cast<size_t>(count) * sizeof(T));
    if (block == nullptr) {
        fail(ImageMsg::kCantAllocate);
    }
    return static_cast<T*>(block);
}

}  // namespace

template <class T, class I>
XTCMatrix<T, I>::XTCMatrix(uint32_t width, uint32_t height, const T* source)
    : mWidth(0), mHeight(0), mData(nullptr)
{
    Resize(width, height, source);
}

template <class T, class I>
XTCMatrix<T, I>::~XTCMatrix()
{
    release(mData);
}

template <class T, class I>
void XTCMatrix<T, I>::CheckIndex(uint32_t x, uint32_t y) const
{
    check(x < mWidth && y < mHeight, ImageMsg::kInvalidIndex);
}

template <class T, class I>
T* XTCMatrix<T, I>::At(uint32_t x, uint32_t y)
{
    CheckIndex(x, y);
    return mData + x + static_cast<size_t>(y) * mWidth;
}

template <class T, class I>
void XTCMatrix<T, I>::Set(uint32_t x, uint32_t y, T value)
{
    *At(x, y) = value;
}

template <class T, class I>
void XTCMatrix<T, I>::Resize(uint32_t width, uint32_t height, const T* source)
{
    uint64_t count = static_cast<uint64_t>(width) * height;
    T* data = allocateValues<T>(count, kCountLimit);
    if (data != nullptr) {
        if (source != nullptr) {
            std::memcpy(data, source, static_cast<size_t>(count) * sizeof(T));
        } else {
            std::memset(static_cast<void*>(data), 0, static_cast<size_t>(count) * sizeof(T));
        }
    }
    Adopt(width, height, data);
}

template <class T, class I>
void XTCMatrix<T, I>::Reset()
{
    Adopt(0, 0, nullptr);
}

template <class T, class I>
void XTCMatrix<T, I>::Adopt(uint32_t width, uint32_t height, T* data)
{
    release(mData);
    mData = data;
    mWidth = width;
    mHeight = height;
}

template <class T, class I>
XTIMatrix<T>* XTCMatrix<T, I>::Scaled(uint32_t width, uint32_t height) const
{
    auto* scaled = new XTCMatrix<T, I>(width, height);
    T* out = scaled->mData;
    if (out == nullptr || mData == nullptr) {
        // Nothing to sample from (or to): the zero-filled matrix stands.
        return scaled;
    }
    // Output column x samples source column x * source width / width (rounded down), and rows
    // likewise, so that a scale to the same size copies. Accumulators stay below twice the larger
    // size: 64 bits never overflow.
    const T* row = mData;
    uint64_t rowAccumulator = 0;
    for (uint32_t y = 0; y < height; ++y) {
        const T* column = row;
        uint64_t columnAccumulator = 0;
        for (uint32_t x = 0; x < width; ++x) {
            *out++ = *column;
            columnAccumulator += mWidth;
            while (columnAccumulator >= width) {
                ++column;
                columnAccumulator -= width;
            }
        }
        rowAccumulator += mHeight;
        while (rowAccumulator >= height) {
            row += mWidth;
            rowAccumulator -= height;
        }
    }
    return scaled;
}

template class XTCMatrix<unsigned int, XIImage>;

bool XCXMLImage::Write(NuvoraXML::XIXMLWriteStream* stream, int32_t, NuvoraXML::XIXMLData*)
{
    try {
        WriteImageBlock(stream, mWidth, mHeight, mData);
        return true;
    } catch (...) {
        return false;
    }
}

NuvoraXML::XIXMLData::IXMLCData* XCXMLImage::Clone()
{
    AddReference();
    return this;
}

void XCXMLImage::Read(NuvoraXML::CXMLReadStream* stream)
{
    ReadImageBlock(stream, *this);
}

}  // namespace Nuvora
