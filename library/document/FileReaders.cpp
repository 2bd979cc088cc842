#include "document/FileReaders.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>

#include "document/DocumentMessages.h"
#include "model/FileInfo.h"
#include "model/Image.h"
#include "model/ObjectDefinition.h"
#include "model/Scene.h"
#include "platform/Failure.h"
#include "xml/ValueFormat.h"
#include "xml/XMLParser.h"
#include "xml/XMLStreams.h"

namespace NvScn {

namespace {

bool isNamed(const char* name, const char* expected)
{
    return std::strcmp(name, expected) == 0;
}

bool scanValue(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    bool scanned = NuvoraXML::scanFormatted(text, format, args);
    va_end(args);
    return scanned;
}

// Picks the origin out of a file: the first element end, attribute and text of the document
// must all belong to an "Origin" element.
class CReadOrigin : public NuvoraXML::CXMLParser {
public:
    CScnVector origin() const { return {mX, mY, mZ}; }

protected:
    void* OnStartElement(const char* name) override
    {
        if (isNamed(name, "Origin")) {
            mInOrigin = true;
        }
        return this;
    }

    void OnAttribute(const char* name, const char* value) override
    {
        if (!mInOrigin) {
            Nuvora::fail(DocMsg::kNoOrigin);
        }
        double real = 0.0;
        if (!scanValue(value, "%lf", &real)) {
            Nuvora::fail(DocMsg::kNotDouble);
        }
        if (isNamed(name, "X")) {
            mX = real;
        } else if (isNamed(name, "Y")) {
            mY = real;
        } else if (isNamed(name, "Z")) {
            mZ = real;
        } else {
            Nuvora::fail(DocMsg::kBadAttribute);
        }
        ++mCount;
    }

    void OnText(const char*) override { Nuvora::fail(DocMsg::kNoOrigin); }
    void OnCData(NuvoraXML::CXMLReadStream*) override { Nuvora::fail(DocMsg::kNoOrigin); }
    void OnEndElement(void*) override { Nuvora::fail(mCount == 3 ? DocMsg::kSucceed : DocMsg::kNoOrigin); }

private:
    bool mInOrigin = false;
    int32_t mCount = 0;
    double mX = 0.0;
    double mY = 0.0;
    double mZ = 0.0;
};

// Picks the preview image out of a scene document: it must be the first child of "Scn.File".
class CReadPreviewImage : public NuvoraXML::CXMLParser {
public:
    ~CReadPreviewImage() override
    {
        if (mImage != nullptr) {
            mImage->destroy();
        }
    }

    // The decoded image, handed over to the caller; null when none or empty.
    CScnImage* take()
    {
        CScnImage* image = mImage;
        mImage = nullptr;
        if (image != nullptr && image->pixelImage() == nullptr) {
            image->destroy();
            return nullptr;
        }
        return image;
    }

protected:
    void* OnStartElement(const char* name) override
    {
        if (!isNamed(name, "Scn.File") && !isNamed(name, "Preview.Image")) {
            Nuvora::fail(DocMsg::kNoPreview);
        }
        return this;
    }

    void OnAttribute(const char*, const char*) override { Nuvora::fail(DocMsg::kNoPreview); }
    void OnText(const char*) override { Nuvora::fail(DocMsg::kNoPreview); }
    void OnEndElement(void*) override { Nuvora::fail(DocMsg::kNoPreview); }

    void OnCData(NuvoraXML::CXMLReadStream* stream) override
    {
        if (mImage != nullptr) {
            // A second section: the first one is the preview.
            Nuvora::fail(DocMsg::kNoPreview);
        }
        auto* image = new CScnImage(nullptr);
        try {
            image->readPixels(stream);
        } catch (...) {
            image->destroy();
            throw;
        }
        mImage = image;
    }

private:
    CScnImage* mImage = nullptr;
};

// Gives the object definitions of a scene the display names found in an object file; the n-th
// "Object.Definition" of the file names the n-th definition, which is appended when missing.
class CReadMediaInfo : public NuvoraXML::CXMLParser {
public:
    explicit CReadMediaInfo(CSCN& scene) : mScene(scene) {}

protected:
    void* OnStartElement(const char* name) override
    {
        if (isNamed(name, "Scn.File")) {
            return &kFileTag;
        }
        if (isNamed(name, "Object.Definition")) {
            mInDefinition = true;
            mDefinition = definition(mDefinitionsMet++);
            return &kDefinitionTag;
        }
        if (mInDefinition && isNamed(name, "Name")) {
            mInName = true;
            return &kNameTag;
        }
        return nullptr;
    }

    void OnAttribute(const char* name, const char* value) override
    {
        if (mInName && mDefinition != nullptr) {
            mDefinition->getName()->setText(languageCode(name), value);
        }
    }

    void OnText(const char*) override {}

    void OnCData(NuvoraXML::CXMLReadStream* stream) override
    {
        if (mDecodePreview) {
            static_cast<CScnImage*>(mScene.getPreviewImage())->readPixels(stream);
        }
    }

    void OnEndElement(void* handle) override
    {
        if (handle == &kDefinitionTag) {
            mInDefinition = false;
            mDefinition = nullptr;
        } else if (handle == &kNameTag) {
            mInName = false;
        }
    }

private:
    static char kFileTag;
    static char kDefinitionTag;
    static char kNameTag;

    CScnScnObjectDefinition* definition(size_t index)
    {
        TScnObjectMgr<IScnScnObjectDefinition>* definitions = mScene.getObjectDefinitions();
        IScnScnObjectDefinition* found =
            index < static_cast<size_t>(definitions->getNbObjects())
                ? definitions->getScnObject(static_cast<uint32_t>(index))
                : definitions->newScnObject(kScnLastIndex);
        return static_cast<CScnScnObjectDefinition*>(found);
    }

    CSCN& mScene;
    bool mDecodePreview = false;
    bool mInDefinition = false;
    bool mInName = false;
    size_t mDefinitionsMet = 0;
    CScnScnObjectDefinition* mDefinition = nullptr;
};

char CReadMediaInfo::kFileTag;
char CReadMediaInfo::kDefinitionTag;
char CReadMediaInfo::kNameTag;

}  // namespace

IScnFileInfo2* readScnFileInfo(CScnStream* stream)
{
    CReadOrigin reader;
    if (stream != nullptr) {
        bool invalid = false;
        int64_t position = 0;
        try {
            position = stream->getPosition();
            NuvoraXML::CSCNXMLReadStream input(stream);
            reader.Parse(&input);
        } catch (const std::exception& stop) {
            invalid = std::strcmp(stop.what(), DocMsg::kSucceed) != 0 &&
                      std::strcmp(stop.what(), DocMsg::kNoOrigin) != 0;
        } catch (...) {
            invalid = true;
        }
        if (invalid) {
            std::fputs(DocMsg::kInvalidOrigin, stdout);
            std::fflush(stdout);
        }
        try {
            stream->setPosition(position);
        } catch (...) {
            // A client stream that cannot seek back leaves its position to the client.
        }
    }
    try {
        auto* info = new CScnFileInfo(false);
        CScnVector origin = reader.origin();
        info->setOrigin(&origin);
        return info;
    } catch (...) {
        return nullptr;
    }
}

IScnImage* readScnPreviewImage(CScnStream* stream)
{
    if (stream == nullptr) {
        return nullptr;
    }
    try {
        CReadPreviewImage reader;
        try {
            NuvoraXML::CSCNXMLReadStream input(stream);
            reader.Parse(&input);
        } catch (...) {
            // Every stop, parse error and decoding failure ends the search.
        }
        return reader.take();
    } catch (...) {
        return nullptr;
    }
}

void readScnMediaInfo(CSCN& scene, CScnStream* stream)
{
    if (stream == nullptr) {
        return;
    }
    try {
        CReadMediaInfo reader(scene);
        NuvoraXML::CSCNXMLReadStream input(stream);
        reader.ParseFiltered(&input);
    } catch (...) {
        // The names found before a failure stay.
    }
}

}  // namespace NvScn
