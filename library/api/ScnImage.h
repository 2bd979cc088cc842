// Pixel images: the scene's preview image and the textures of its image list.
#ifndef SCN_IMAGE_H
#define SCN_IMAGE_H

#include "ScnBase.h"

namespace NvScn {

// An image of 32-bit pixel words, row after row; the library does not interpret the channels.
class IScnImage {
public:
    // Destroys an image returned by CScnMgr::readPreviewImage; images of a scene are refused.
    virtual void destroy() = 0;
    // Each output is optional; 0, 0 and null for an empty image. The data stay owned by the image.
    virtual void getPixels(uint32_t* width, uint32_t* height, const uint32_t** data) = 0;
    // Replaces the pixels by a copy of width x height words; empties the image when any is 0 or null.
    virtual void setPixels(uint32_t width, uint32_t height, const uint32_t* data) = 0;
    // The image identifier.
    virtual const CScnUUID* getUUID() = 0;
    // Sets the image identifier.
    virtual void setUUID(const CScnUUID* uuid) = 0;

protected:
    ~IScnImage() {}
};

}  // namespace NvScn

#endif
