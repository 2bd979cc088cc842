#include "AddonLayer.h"
#include "Errors.h"
#include "HostCalls.h"

#include <cstring>
#include <stdexcept>

namespace KSV {
namespace {

void check(GSErrCode error, int line)
{
    if (error != NoError) {
        throwHostError(error, kSrcAddonLayer, line);
    }
}

// The host layer attribute index of a model element, found by its GUID.
int32_t hostLayerOf(const EXPElementInfo& info)
{
    API_Element element = {};
    element.guid = info.guid;
    check(ACAPI_Element_Get(&element), __LINE__);
    return element.layer;
}

std::string hostLayerName(int32_t layer)
{
    API_Attribute attribute = {};
    attribute.typeID = API_LayerID;
    attribute.index = layer;
    check(ACAPI_Attribute_Get(&attribute), __LINE__);
    attribute.name[sizeof attribute.name - 1] = '\0';
    return attribute.name;
}

void add(int32_t* total, int64_t count)
{
    if (count < 0 || *total + count > INT32_MAX) {
        throw std::runtime_error("A layer has more points or polygons than a scene holds");
    }
    *total += static_cast<int32_t>(count);
}

}  // namespace

AddonLayer::AddonLayer(const EXPModelFunctionTable& table, const EXPModel& model, bool unique,
                       const std::string& uniqueName)
    : mTable(table), mModel(model)
{
    ModelCursor cursor(table, model);
    cursor.reset();
    int32_t lastElement = 0;
    Layer* layer = nullptr;
    while (cursor.nextBody()) {
        if (cursor.element() != lastElement) {
            lastElement = cursor.element();
            const int32_t index = unique ? 1 : hostLayerOf(cursor.elementInfo());
            const auto found = mLayers.find(index);
            layer = found != mLayers.end() ? &found->second : &mLayers[index];
            if (found == mLayers.end()) {
                layer->name = unique ? uniqueName : hostLayerName(index);
            }
            layer->elements.push_back(lastElement);
        }
        add(&layer->points, cursor.bodyInfo().vertexCount > 0 ? cursor.bodyInfo().vertexCount : 0);
        add(&layer->polygons, cursor.bodyInfo().polygonCount);
        add(&mPolygonTotal, cursor.bodyInfo().polygonCount);
    }
}

void AddonLayer::walkMaterials(const ModelTextures& textures)
{
    for (auto& entry : mLayers) {
        Layer& layer = entry.second;
        // Neighbouring polygons mostly repeat the last pair, which is noted already.
        int32_t lastMaterial = 0;
        int32_t lastType = 0;
        forEachPolygon(mTable, mModel, &layer.elements, [&](const ModelCursor& cursor, const EXPPolygonInfo& info) {
            int32_t material = info.materialIndex;
            if (material < 1) {
                mInvalidMaterials.push_back(material);
                material = 1;
            }
            const int32_t type = cursor.elementInfo().type;
            if (material != lastMaterial || type != lastType) {
                lastMaterial = material;
                lastType = type;
                layer.materialUses.emplace(material, type);
            }
            if (textures.available(info.textureIndex)) {
                layer.ownTextures.push_back(info.textureIndex);
            }
        });
    }
}

void AddonLayer::reportInvalidMaterials()
{
    for (int32_t material : mInvalidMaterials) {
        DBPrintf("AddonLayer::InitializeFileStructureForLayer - Invalid material index (%d)\n",
                 static_cast<int>(material));
    }
    mInvalidMaterials.clear();
}

void AddonLayer::chooseMaterials(const TextureOptionsOff& off, const MaterialMap& map)
{
    for (auto& entry : mLayers) {
        Layer& layer = entry.second;
        for (const auto& use : layer.materialUses) {
            const int32_t material = use.first;
            if (!off.allOn() && off.onFor(use.second) && map.find(material) != 0) {
                layer.texturedMaterials.insert(material);
            } else {
                layer.plainMaterials.insert(material);
            }
        }
    }
}

AddonLayer::Key AddonLayer::keyOf(const NvScn::CScnUUID& uuid)
{
    return Key(reinterpret_cast<const char*>(uuid.bytes), sizeof uuid.bytes);
}

AddonLayer::Component& AddonLayer::addComponent(const NvScn::CScnUUID& uuid, int32_t layer)
{
    Component& component = mComponents[keyOf(uuid)];
    component.layer = layer;
    mComponentOfLayer[layer] = uuid;
    return component;
}

const AddonLayer::Component* AddonLayer::component(const NvScn::CScnUUID& uuid) const
{
    const auto found = mComponents.find(keyOf(uuid));
    return found != mComponents.end() ? &found->second : nullptr;
}

AddonLayer::Component* AddonLayer::component(const NvScn::CScnUUID& uuid)
{
    const auto found = mComponents.find(keyOf(uuid));
    return found != mComponents.end() ? &found->second : nullptr;
}

const NvScn::CScnUUID* AddonLayer::componentOf(int32_t layer) const
{
    const auto found = mComponentOfLayer.find(layer);
    return found != mComponentOfLayer.end() ? &found->second : nullptr;
}

}  // namespace KSV
