// Until the image block encoding is in place, images travel empty.
#include "document/ImageBlocks.h"

namespace NvScn {

namespace {

class CEmptyImageProvider : public NuvoraXML::XIXMLData::IXMLCData {
public:
    bool Write(NuvoraXML::XIXMLWriteStream*, int32_t, NuvoraXML::XIXMLData*) override { return true; }
    IXMLCData* Clone() override { return new CEmptyImageProvider(); }
    void Release() override { delete this; }
};

}  // namespace

NuvoraXML::XIXMLData::IXMLCData* newImageProvider(CSCN*, IScnImage*)
{
    return new CEmptyImageProvider();
}

void readImageBlock(NuvoraXML::CXMLReadStream* stream, IScnImage* image)
{
    char buffer[1024];
    while (stream->Read(buffer, sizeof buffer) > 0) {
    }
    image->setPixels(0, 0, nullptr);
}

}  // namespace NvScn
