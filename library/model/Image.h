// The images of a scene: its preview image and the textures of its image list.
#ifndef SCN_IMAGE_IMPL_H
#define SCN_IMAGE_IMPL_H

#include <vector>

#include "ScnImage.h"
#include "model/BaseObjectMgr.h"
#include "model/ScnFrontier.h"

namespace NvScn {

// A pixel image with its identifier; images of a scene or list cannot be destroyed by clients.
class CScnImage : public TScnFrontier<IScnImage>, public CScnObject {
public:
    // owner: the scene or image list that holds the image, null for a reader's result.
    explicit CScnImage(CBaseObjectMgr* owner) : CScnObject(owner) {}
    virtual ~CScnImage() = default;

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

private:
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    std::vector<uint32_t> mPixels;
    CScnUUID mUuid{};
};

}  // namespace NvScn

#endif
