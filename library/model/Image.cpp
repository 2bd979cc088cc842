#include "model/Image.h"

#include "model/Guard.h"
#include "xml/XImageMessages.h"

namespace NvScn {

namespace {

// Owns one reference to a pixel image until it is handed on.
struct PixelsReference {
    explicit PixelsReference(Nuvora::XCXMLImage* pixels) : image(pixels) { image->AddReference(); }
    ~PixelsReference()
    {
        if (image != nullptr) {
            image->ReleaseReference();
        }
    }
    PixelsReference(const PixelsReference&) = delete;
    PixelsReference& operator=(const PixelsReference&) = delete;

    Nuvora::XCXMLImage* image;
};

}  // namespace

CScnImage::~CScnImage()
{
    install(nullptr);
}

void CScnImage::install(Nuvora::XCXMLImage* pixels)
{
    if (pixels != nullptr) {
        pixels->AddReference();
    }
    Nuvora::XCXMLImage* previous = mPixels;
    mPixels = pixels;
    if (previous != nullptr) {
        previous->ReleaseReference();
    }
}

void CScnImage::destroy()
{
    if (getOwner() != nullptr) {
        report(Nuvora::ImageMsg::kDestroyOwned);
        return;
    }
    delete this;
}

void CScnImage::getPixels(uint32_t* width, uint32_t* height, const uint32_t** data)
{
    bool empty = mPixels == nullptr;
    if (width != nullptr) {
        *width = empty ? 0 : mPixels->GetWidth();
    }
    if (height != nullptr) {
        *height = empty ? 0 : mPixels->GetHeight();
    }
    if (data != nullptr) {
        *data = empty ? nullptr : mPixels->GetData();
    }
}

void CScnImage::setPixels(uint32_t width, uint32_t height, const uint32_t* data)
{
    if (width == 0 || height == 0 || data == nullptr) {
        install(nullptr);
        return;
    }
    // The new pixels are complete before the old ones go: a failure keeps the image as it was.
    guardedVoid(getOwner(), Nuvora::ImageMsg::kSetPixels, [&] {
        PixelsReference pixels(new Nuvora::XCXMLImage(width, height, data));
        install(pixels.image);
    });
}

void CScnImage::readPixels(NuvoraXML::CXMLReadStream* stream)
{
    install(nullptr);
    PixelsReference pixels(new Nuvora::XCXMLImage());
    pixels.image->Read(stream);
    if (pixels.image->GetData() != nullptr) {
        install(pixels.image);
    }
}

}  // namespace NvScn
