// The data objects that write a scene's geometry into its document: each produces its CDATA
// block only while the tree is written, from the live tables or the external storage.
#ifndef SCN_DATA_PROVIDERS_H
#define SCN_DATA_PROVIDERS_H

#include <memory>

#include "ScnXML.h"

namespace NvScn {

class CSCN;

// Frame of the providers that write token text: a failure of WriteData (or of anything below it)
// is reported to the scene's feedback with its text ("Unknown provider writing exception" when it
// is not a standard one) and makes Write answer false, which fails the whole write.
class CSCNProvider : public NuvoraXML::XIXMLData::IXMLCData {
public:
    explicit CSCNProvider(CSCN* scene) : mScene(scene) {}

    bool Write(NuvoraXML::XIXMLWriteStream* stream, int32_t depth, NuvoraXML::XIXMLData* node) override;
    // A provider over the same scene, or null when it cannot be made.
    IXMLCData* Clone() override;
    void Release() override { delete this; }

protected:
    // Writes the block; failures throw.
    virtual void WriteData(NuvoraXML::XIXMLWriteStream* stream, NuvoraXML::XIXMLData* node) = 0;
    virtual IXMLCData* CloneImpl() = 0;

    CSCN* mScene;
};

// Writes a Points block. The table is found at write time from the block's place: the points of
// the internal component definition named by the parent element (made current in the external
// storage first), or the scene's own points.
class CPointsProvider : public CSCNProvider {
public:
    using CSCNProvider::CSCNProvider;

protected:
    void WriteData(NuvoraXML::XIXMLWriteStream* stream, NuvoraXML::XIXMLData* node) override;
    IXMLCData* CloneImpl() override;
};

// Writes a Polygons block from the same place rule; a component's Points block, written first,
// has already made the component current in the external storage.
class CPolygonsProvider : public CSCNProvider {
public:
    using CSCNProvider::CSCNProvider;

protected:
    void WriteData(NuvoraXML::XIXMLWriteStream* stream, NuvoraXML::XIXMLData* node) override;
    IXMLCData* CloneImpl() override;
};

// Releases a data object that no node took.
struct CDataObjectRelease {
    void operator()(NuvoraXML::XIXMLData::IXMLCData* data) const { data->Release(); }
};
using CDataObjectPtr = std::unique_ptr<NuvoraXML::XIXMLData::IXMLCData, CDataObjectRelease>;

// Gives the element a data node holding the data object (the node then owns it).
void attachDataObject(NuvoraXML::XIXMLElement* element, CDataObjectPtr data);

}  // namespace NvScn

#endif
