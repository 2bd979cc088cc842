#include "model/Image.h"

#include "model/Guard.h"

namespace NvScn {

void CScnImage::destroy()
{
    if (getOwner() != nullptr) {
        report("IScnImage::destroy - You must destroy only readed image");
        return;
    }
    delete this;
}

void CScnImage::getPixels(uint32_t* width, uint32_t* height, const uint32_t** data)
{
    if (width != nullptr) {
        *width = mWidth;
    }
    if (height != nullptr) {
        *height = mHeight;
    }
    if (data != nullptr) {
        *data = mPixels.empty() ? nullptr : mPixels.data();
    }
}

void CScnImage::setPixels(uint32_t width, uint32_t height, const uint32_t* data)
{
    if (width == 0 || height == 0 || data == nullptr) {
        mWidth = mHeight = 0;
        mPixels.clear();
        return;
    }
    guardedVoid(getOwner(), "IScnImage::setPixels", [&] {
        mWidth = mHeight = 0;
        mPixels.assign(data, data + static_cast<size_t>(width) * height);
        mWidth = width;
        mHeight = height;
    });
}

}  // namespace NvScn
