// Pixel images of the toolkit: a reference-counted matrix of words, and the image that is also a
// data object so that it can write itself into a CDATA section.
#ifndef NUVORA_XIMAGE_H
#define NUVORA_XIMAGE_H

#include <cstdint>

#include "ScnXML.h"
#include "xml/RefCount.h"

namespace Nuvora {

// A matrix of values shared by reference count; the value of column x and row y is at
// x + y * width of the data.
template <class T>
class XTIMatrix : public XIRefCount {
public:
    // Number of columns.
    virtual uint32_t GetWidth() const = 0;
    // Number of rows.
    virtual uint32_t GetHeight() const = 0;
    // Row after row; null for a matrix without values.
    virtual T* GetData() = 0;
    virtual const T* GetData() const = 0;
    // The address of a value; asserts "XTCMatrix::CheckIndex - Invalid index" outside the matrix.
    virtual T* At(uint32_t x, uint32_t y) = 0;
    // Stores a value, with the index check of At.
    virtual void Set(uint32_t x, uint32_t y, T value) = 0;
    // A new matrix (no reference held yet) sampled from this one by nearest-sample stepping; an
    // empty source gives a zero-filled matrix.
    virtual XTIMatrix<T>* Scaled(uint32_t width, uint32_t height) const = 0;
};

// An image: a matrix of 32-bit pixel words whose channels the library never interprets.
class XIImage : public XTIMatrix<unsigned int> {
};

// The matrix itself: width, height and an owned array of width * height values.
template <class T, class I>
class XTCMatrix : public XTCRefCount<I> {
public:
    // Largest count of values plus one: a matrix of 2^30 values or more is refused.
    static constexpr uint64_t kCountLimit = uint64_t(1) << 30;

    XTCMatrix() : mWidth(0), mHeight(0), mData(nullptr) {}
    // Values copied from source when given, else zero; fails with
    // "XTCMatrix::XTCMatrix - Can't allocate buffer" over the limit or when memory runs out.
    XTCMatrix(uint32_t width, uint32_t height, const T* source = nullptr);
    ~XTCMatrix() override;
    XTCMatrix(const XTCMatrix&) = delete;
    XTCMatrix& operator=(const XTCMatrix&) = delete;

    uint32_t GetWidth() const override { return mWidth; }
    uint32_t GetHeight() const override { return mHeight; }
    T* GetData() override { return mData; }
    const T* GetData() const override { return mData; }
    T* At(uint32_t x, uint32_t y) override;
    void Set(uint32_t x, uint32_t y, T value) override;
    XTIMatrix<T>* Scaled(uint32_t width, uint32_t height) const override;

    // Replaces the values as the constructor makes them; on failure the matrix is unchanged.
    void Resize(uint32_t width, uint32_t height, const T* source = nullptr);
    // Back to 0 x 0.
    void Reset();
    // Takes ownership of width * height values allocated with Nuvora::reallocate.
    void Adopt(uint32_t width, uint32_t height, T* data);
    // Number of values, width * height.
    uint64_t GetCount() const { return static_cast<uint64_t>(mWidth) * mHeight; }

protected:
    void CheckIndex(uint32_t x, uint32_t y) const;

    uint32_t mWidth;
    uint32_t mHeight;
    T* mData;
};

// The pixel image: a matrix of words, zero-filled when made without source.
class XCPixels : public XTCMatrix<unsigned int, XIImage> {
public:
    using XTCMatrix<unsigned int, XIImage>::XTCMatrix;
};

// Gives the data-object Release its own name, so that it can live beside the reference count's.
class XCXMLImageData : public NuvoraXML::XIXMLData::IXMLCData {
public:
    // A data node holds one reference to the image; releasing the node drops it.
    void Release() final { ReleaseData(); }

protected:
    virtual void ReleaseData() = 0;
};

// A pixel image that writes itself as an image block; a data node that holds it holds one
// reference (AddRef before handing it to AddData).
class XCXMLImage : public XCPixels, public XCXMLImageData {
public:
    using XCPixels::XCPixels;

    // Runs the image-block writer; false instead of throwing.
    bool Write(NuvoraXML::XIXMLWriteStream* stream, int32_t depth, NuvoraXML::XIXMLData* node) override;
    // The same pixels with one more reference: clones share the image.
    NuvoraXML::XIXMLData::IXMLCData* Clone() override;
    // Replaces the pixels by the decoded image block; on failure the image is 0 x 0 and the
    // exception passes on. A block without any byte gives an empty image.
    void Read(NuvoraXML::CXMLReadStream* stream);

    // Adds a reference (the matrix one; the name Release is taken twice).
    int32_t AddReference() { return static_cast<XIImage*>(this)->AddRef(); }
    // Drops a reference, destroying the image at 0.
    int32_t ReleaseReference() { return static_cast<XIImage*>(this)->Release(); }

protected:
    void ReleaseData() override { ReleaseReference(); }
};

extern template class XTCMatrix<unsigned int, XIImage>;

}  // namespace Nuvora

#endif
