#include "document/ImageBlocks.h"

#include <exception>

#include "model/Image.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "xml/XImageBlock.h"
#include "xml/XImageMessages.h"

namespace NvScn {

namespace {

// Writes a scene image as an image block each time the tree is written, from its pixels of
// that moment.
class CImageProvider : public NuvoraXML::XIXMLData::IXMLCData {
public:
    CImageProvider(CSCN* scene, IScnImage* image) : mScene(scene), mImage(image) {}

    bool Write(NuvoraXML::XIXMLWriteStream* stream, int32_t, NuvoraXML::XIXMLData*) override
    {
        try {
            uint32_t width = 0;
            uint32_t height = 0;
            const uint32_t* pixels = nullptr;
            if (mImage != nullptr) {
                mImage->getPixels(&width, &height, &pixels);
            }
            if (pixels != nullptr) {
                Nuvora::WriteImageBlock(stream, width, height, pixels);
            }
            return true;
        } catch (const std::exception& error) {
            report(error.what());
        } catch (...) {
            report(Nuvora::ImageMsg::kProviderUnknown);
        }
        return false;
    }

    IXMLCData* Clone() override
    {
        try {
            return new CImageProvider(mScene, mImage);
        } catch (...) {
            return nullptr;
        }
    }

    void Release() override { delete this; }

private:
    void report(const char* text) const
    {
        if (mScene != nullptr) {
            mScene->warning(text);
        }
    }

    CSCN* mScene;
    IScnImage* mImage;
};

}  // namespace

NuvoraXML::XIXMLData::IXMLCData* newImageProvider(CSCN* scene, IScnImage* image)
{
    return new CImageProvider(scene, image);
}

void readImageBlock(NuvoraXML::CXMLReadStream* stream, IScnImage* image)
{
    Nuvora::checkPointer(image, Nuvora::ImageMsg::kWrongData);
    if (auto* own = dynamic_cast<CScnImage*>(image)) {
        own->readPixels(stream);
        return;
    }
    // An image of another kind receives a copy of the decoded pixels.
    image->setPixels(0, 0, nullptr);
    CScnImage decoded(nullptr);
    decoded.readPixels(stream);
    uint32_t width = 0;
    uint32_t height = 0;
    const uint32_t* pixels = nullptr;
    decoded.getPixels(&width, &height, &pixels);
    image->setPixels(width, height, pixels);
}

}  // namespace NvScn
