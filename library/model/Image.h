// The images of a scene: its preview image and the textures of its image list.
#ifndef SCN_IMAGE_IMPL_H
#define SCN_IMAGE_IMPL_H

#include "ScnImage.h"
#include "ScnXML.h"
#include "model/BaseObjectMgr.h"
#include "model/ScnFrontier.h"
#include "xml/XImage.h"

namespace NvScn {

// A pixel image with its identifier. Images of a scene or of its image list belong to it and
// cannot be destroyed by clients; an image without owner (a reader's result) can.
class CScnImage : public TScnFrontier<IScnImage>, public CScnObject {
public:
    // owner: the scene or image list that holds the image, null for a reader's result.
    explicit CScnImage(CBaseObjectMgr* owner) : CScnObject(owner) {}
    // Drops the image's reference to its pixels.
    virtual ~CScnImage();
    CScnImage(const CScnImage&) = delete;
    CScnImage& operator=(const CScnImage&) = delete;

    void destroy() override;
    void getPixels(uint32_t* width, uint32_t* height, const uint32_t** data) override;
    void setPixels(uint32_t width, uint32_t height, const uint32_t* data) override;
    const CScnUUID* getUUID() override { return &mUuid; }
    void setUUID(const CScnUUID* uuid) override
    {
        if (uuid != nullptr) {
            mUuid = *uuid;
        }
    }

    // Replaces the pixels by a decoded image block; on failure the image is empty and the
    // exception passes on.
    void readPixels(NuvoraXML::CXMLReadStream* stream);
    // The pixel image, null when the image is empty; the image keeps its reference.
    Nuvora::XCXMLImage* pixelImage() const { return mPixels; }

private:
    // Holds one reference to pixels (null empties the image) and drops the previous one.
    void install(Nuvora::XCXMLImage* pixels);

    Nuvora::XCXMLImage* mPixels = nullptr;
    CScnUUID mUuid{};
};

}  // namespace NvScn

#endif
