// The layer bookkeeping of the layer path: which host layers the model's elements lie on, what each
// layer holds, and the scene component that stands for each layer.
#ifndef KSV_ADDON_LAYER_H
#define KSV_ADDON_LAYER_H

#include "GSScnExternal.h"

#include <Scn.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace KSV {

// The host layers of the model's elements with polygons, or one layer for the whole model.
class AddonLayer {
public:
    // What one layer holds.
    struct Layer {
        std::string name;                  // the host's 8-bit form
        std::vector<int32_t> elements;     // its elements with polygons, in model order
        int32_t points = 0;                // vertices of its bodies with polygons
        int32_t polygons = 0;
        std::set<int32_t> plainMaterials;     // host materials its polygons show as they are
        std::set<int32_t> texturedMaterials;  // host materials its polygons show with their texture
        std::vector<int32_t> ownTextures;     // available own textures of its polygons, in walk order
        std::set<std::pair<int32_t, int32_t>> materialUses;   // (host material, element type) of its polygons
    };
    // The scene component that stands for a layer, with the component's own material numbering.
    struct Component {
        int32_t layer = 0;
        int32_t firstOwnTextureMaterial = 0;       // local index of its first own-texture material
        std::map<int32_t, int32_t> plainMaterials;     // host material to local material index
        std::map<int32_t, int32_t> texturedMaterials;  // host material to its textured variant's
    };

    // Walks the model once: the layer of each element with polygons (through the host's element
    // and layer attribute services), or layer 1 named uniqueName for every element when unique.
    // Raises on a host error or a layer too large for a scene.
    AddonLayer(const EXPModelFunctionTable& table, const EXPModel& model, bool unique, const std::string& uniqueName);

    // The layers by host layer index, ascending.
    const std::map<int32_t, Layer>& layers() const { return mLayers; }
    // Walks every polygon of every layer: notes the material (1 for an invalid index) and element
    // type each shows and the polygons' available own textures. Raises on a host error, keeping
    // what the polygons before it gave. Prints nothing, so it may run before its results are due.
    void walkMaterials(const ModelTextures& textures);
    // Prints the "Invalid material index" line of each polygon walked with one, in walk order.
    void reportInvalidMaterials();
    // Sorts the materials the walk noted into each layer's plain or textured set: textured when
    // not all texture options are on, the option of the element's type is on and the material
    // map holds the material.
    void chooseMaterials(const TextureOptionsOff& off, const MaterialMap& map);
    // Notes the component (by its UUID) that stands for a layer and answers its record.
    Component& addComponent(const NvScn::CScnUUID& uuid, int32_t layer);
    // The component of that UUID, null when none stands for a layer.
    const Component* component(const NvScn::CScnUUID& uuid) const;
    Component* component(const NvScn::CScnUUID& uuid);
    // The UUID of the component of a layer, null when none.
    const NvScn::CScnUUID* componentOf(int32_t layer) const;
    int32_t componentCount() const { return static_cast<int32_t>(mComponents.size()); }
    // The layers whose scene structure is made.
    int32_t layersWritten() const { return mLayersWritten; }
    void countLayerWritten() { ++mLayersWritten; }
    // Sums over all layers.
    int32_t polygonTotal() const { return mPolygonTotal; }

private:
    using Key = std::string;   // the 16 bytes of a UUID
    static Key keyOf(const NvScn::CScnUUID& uuid);

    const EXPModelFunctionTable& mTable;
    const EXPModel& mModel;
    std::map<int32_t, Layer> mLayers;
    std::map<Key, Component> mComponents;
    std::map<int32_t, NvScn::CScnUUID> mComponentOfLayer;
    std::vector<int32_t> mInvalidMaterials;   // the invalid indices the walk met, in walk order
    int32_t mLayersWritten = 0;
    int32_t mPolygonTotal = 0;
};

}  // namespace KSV

#endif
