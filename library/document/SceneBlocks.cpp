// The scene as the data-block reader of its documents: each CDATA section is decoded into the
// scene by the name of the element that owns it, and that element gets a data object that writes
// the block again.
#include <cstring>
#include <exception>
#include <string>

#include "document/ComponentSelection.h"
#include "document/DataProviders.h"
#include "document/DocumentMessages.h"
#include "document/GeometryBlock.h"
#include "document/ImageBlocks.h"
#include "document/LegacyScene.h"
#include "document/Sections.h"
#include "document/TokenReader.h"
#include "model/Fields.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "xml/XMLStreams.h"

namespace NvScn {

using NuvoraXML::CXMLReadStream;
using NuvoraXML::XIXMLElement;

namespace {

// The blocks, by the name of their element.
enum class EBlock { ePreviewImage, eImage, eOptions, eMaterials, ePoints, ePolygons, eLights, eUnknown };

EBlock blockOf(const char* name)
{
    static const struct {
        const char* name;
        EBlock block;
    } kBlocks[] = {{"Preview.Image", EBlock::ePreviewImage}, {"Image", EBlock::eImage},
                   {"Options", EBlock::eOptions},            {"Materials", EBlock::eMaterials},
                   {"Points", EBlock::ePoints},              {"Polygons", EBlock::ePolygons},
                   {"Lights", EBlock::eLights}};
    for (const auto& entry : kBlocks) {
        if (std::strcmp(name, entry.name) == 0) {
            return entry.block;
        }
    }
    return EBlock::eUnknown;
}

// A section read through a look-ahead: the blanks at its start are skipped, so that a section
// holding nothing else can be told apart; the rest is delivered unchanged.
class CLookAheadStream : public CXMLReadStream {
public:
    explicit CLookAheadStream(CXMLReadStream* stream) : mStream(stream) {}

    // Whether only blanks (or nothing) remain.
    bool isBlank()
    {
        for (;;) {
            while (mPos < mFill && isBlankByte(mBuffer[mPos])) {
                ++mPos;
            }
            if (mPos < mFill) {
                return false;
            }
            int32_t got = mStream->Read(mBuffer, sizeof mBuffer);
            if (got <= 0) {
                return true;
            }
            mPos = 0;
            mFill = got < static_cast<int32_t>(sizeof mBuffer) ? got : static_cast<int32_t>(sizeof mBuffer);
        }
    }

    int32_t Read(void* buffer, int32_t length) override
    {
        if (mPos < mFill) {
            int32_t count = mFill - mPos < length ? mFill - mPos : length;
            std::memcpy(buffer, mBuffer + mPos, static_cast<size_t>(count > 0 ? count : 0));
            mPos += count;
            return count;
        }
        return mStream->Read(buffer, length);
    }

private:
    static bool isBlankByte(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    CXMLReadStream* mStream;
    char mBuffer[1024];
    int32_t mPos = 0;
    int32_t mFill = 0;
};

// Decodes an image block; a block without any data is an empty image (every new scene saves its
// empty preview so).
void readImage(CXMLReadStream* stream, IScnImage* image)
{
    CLookAheadStream input(stream);
    if (input.isBlank()) {
        image->setPixels(0, 0, nullptr);
        return;
    }
    readImageBlock(&input, image);
}

CScnImage* findImage(TObjectMgr<CScnImage, IScnImage>& images, const CScnUUID& uuid)
{
    for (size_t i = 0; i < images.size(); ++i) {
        if (*images.at(i)->getUUID() == uuid) {
            return images.at(i);
        }
    }
    return nullptr;
}

std::string blockFailure(const char* text, const char* element)
{
    return std::string(DocMsg::kBlockErrorBegin) + text + DocMsg::kBlockErrorMiddle + element +
           DocMsg::kBlockErrorEnd;
}

}  // namespace

bool CSCN::Read(XIXMLElement* element, CXMLReadStream* stream)
{
    const char* name = element != nullptr && element->GetName() != nullptr ? element->GetName() : "";
    try {
        Nuvora::checkPointer(element, DocMsg::kComponentNoParent);
        Nuvora::checkPointer(stream, DocMsg::kNoStream);
        EBlock block = blockOf(name);
        switch (block) {
        case EBlock::ePreviewImage:
            readPreviewBlock(element, stream);
            break;
        case EBlock::eImage:
            readImageListBlock(element, stream);
            break;
        case EBlock::ePoints:
        case EBlock::ePolygons:
            readGeometryBlock(element, stream, block == EBlock::ePolygons);
            break;
        case EBlock::eOptions:
        case EBlock::eMaterials:
        case EBlock::eLights: {
            NuvoraXML::CScnXMLReadStream input(stream);
            CTokenReader reader(&input, this);
            if (block == EBlock::eOptions) {
                COPTIO(*this, reader).read();
            } else if (block == EBlock::eMaterials) {
                Sections::readLegacyMaterials(*this, reader, isKestrovinFile(element->AsNode()));
            } else {
                Sections::readLegacyLights(*this, reader);
            }
            break;
        }
        case EBlock::eUnknown:
            Nuvora::fail(DocMsg::kBlockUnknown);
        }
        return true;
    } catch (const std::exception& error) {
        try {
            warning(blockFailure(error.what(), name).c_str());
        } catch (...) {
        }
    } catch (...) {
        try {
            warning((DocMsg::kBlockUnknownException + std::string(name) + DocMsg::kBlockErrorEnd).c_str());
        } catch (...) {
        }
    }
    return false;
}

void CSCN::readPreviewBlock(XIXMLElement* element, CXMLReadStream* stream)
{
    readImage(stream, &mPreviewImage);
    attachDataObject(element, CDataObjectPtr(newImageProvider(this, &mPreviewImage)));
}

void CSCN::readImageListBlock(XIXMLElement* element, CXMLReadStream* stream)
{
    const char* uuidText = XmlForm::findAttribute(element, "UUID");
    CScnUUID uuid{};
    if (uuidText != nullptr) {
        uuid = XmlForm::parseUuid(uuidText);
    }
    // Reading the blocks of a document the scene already holds refreshes its images in place.
    CScnImage* image = mReadingDataBlocks && uuidText != nullptr ? findImage(mImages, uuid) : nullptr;
    if (image == nullptr) {
        image = Nuvora::checkPointer(mImages.append(), Msg::kNewCantAllocate);
        if (uuidText != nullptr) {
            image->setUUID(&uuid);
        }
    }
    readImage(stream, image);
    // Only the image list's own elements write their image again: a save rebuilds "Images" from
    // the list, so an image decoded anywhere else is kept there, and no data object is left
    // behind to outlive an image that the client removes from the list.
    NuvoraXML::XIXMLElement* parent = element->AsNode()->GetParent();
    if (parent != nullptr && parent->GetName() != nullptr && std::strcmp(parent->GetName(), "Images") == 0) {
        attachDataObject(element, CDataObjectPtr(newImageProvider(this, image)));
    }
}

void CSCN::readGeometryBlock(XIXMLElement* element, CXMLReadStream* stream, bool polygons)
{
    CScnInternalComponentDefinition* component = nullptr;
    if (belongsToComponent(element)) {
        if (polygons) {
            component = findInternalComponent(readComponentHead(element->AsNode()->GetParent()).uuid);
        }
        if (component == nullptr) {
            component = selectComponentForReading(*this, element);
        }
    } else if (mInternalComponents->size() > 0) {
        component = mInternalComponents->at(mInternalComponents->size() - 1);
    }
    if (polygons) {
        readPolygonsBlock(stream, this, component != nullptr ? &component->polygons() : mPolygons.get());
        attachDataObject(element, CDataObjectPtr(new CPolygonsProvider(this)));
    } else {
        readPointsBlock(stream, this, component != nullptr ? &component->points() : mPoints.get());
        attachDataObject(element, CDataObjectPtr(new CPointsProvider(this)));
    }
}

}  // namespace NvScn
