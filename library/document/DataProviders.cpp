#include "document/DataProviders.h"

#include <exception>

#include "document/ComponentSelection.h"
#include "document/DocumentMessages.h"
#include "document/GeometryBlock.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

// The element that holds the block: the data node's parent.
NuvoraXML::XIXMLElement* blockElement(NuvoraXML::XIXMLData* node)
{
    return Nuvora::checkPointer(node, DocMsg::kComponentNoParent)->AsNode()->GetParent();
}

// The component whose tables a block of element writes, or null for the scene's own tables
// (or the external storage). Without external storage the component must still be in the scene;
// a component that holds its own geometry is written from its tables in any case.
CScnInternalComponentDefinition* componentOf(CSCN& scene, NuvoraXML::XIXMLElement* block,
                                             bool select)
{
    if (!belongsToComponent(block)) {
        return nullptr;
    }
    CComponentHead head = readComponentHead(block->AsNode()->GetParent());
    CScnInternalComponentDefinition* own = scene.findInternalComponent(head.uuid);
    if (own != nullptr && own->holdsOwnGeometry()) {
        return own;
    }
    if (select) {
        selectInStorage(scene, head);
    }
    if (scene.getExternalStorage() != nullptr) {
        return nullptr;
    }
    return Nuvora::checkPointer(scene.findInternalComponent(head.uuid), DocMsg::kComponentNotInScene);
}

}  // namespace

bool CSCNProvider::Write(NuvoraXML::XIXMLWriteStream* stream, int32_t, NuvoraXML::XIXMLData* node)
{
    try {
        WriteData(stream, node);
        return true;
    } catch (const std::exception& error) {
        if (mScene != nullptr) {
            mScene->warning(error.what());
        }
    } catch (...) {
        if (mScene != nullptr) {
            mScene->warning(DocMsg::kProviderUnknown);
        }
    }
    return false;
}

NuvoraXML::XIXMLData::IXMLCData* CSCNProvider::Clone()
{
    try {
        return CloneImpl();
    } catch (...) {
        return nullptr;
    }
}

void CPointsProvider::WriteData(NuvoraXML::XIXMLWriteStream* stream, NuvoraXML::XIXMLData* node)
{
    CSCN& scene = *Nuvora::checkPointer(mScene, nullptr);
    CScnInternalComponentDefinition* component = componentOf(scene, blockElement(node), true);
    writePointsBlock(stream, &scene, component != nullptr ? &component->points() : &scene.points(),
                     component != nullptr && component->holdsOwnGeometry());
}

NuvoraXML::XIXMLData::IXMLCData* CPointsProvider::CloneImpl()
{
    return new CPointsProvider(mScene);
}

void CPolygonsProvider::WriteData(NuvoraXML::XIXMLWriteStream* stream, NuvoraXML::XIXMLData* node)
{
    CSCN& scene = *Nuvora::checkPointer(mScene, nullptr);
    CScnInternalComponentDefinition* component = componentOf(scene, blockElement(node), false);
    writePolygonsBlock(stream, &scene, component != nullptr ? &component->polygons() : &scene.polygons(),
                       component != nullptr && component->holdsOwnGeometry());
}

NuvoraXML::XIXMLData::IXMLCData* CPolygonsProvider::CloneImpl()
{
    return new CPolygonsProvider(mScene);
}

void attachDataObject(NuvoraXML::XIXMLElement* element, CDataObjectPtr data)
{
    element->AddData(data.get());
    // The data node owns the object now; a throwing AddData left it to data.
    static_cast<void>(data.release());
}

}  // namespace NvScn
