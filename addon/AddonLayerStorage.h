// The geometry supplier of the layer path: the geometry of each host layer as the points and
// polygons of its own scene component.
#ifndef KSV_ADDON_LAYER_STORAGE_H
#define KSV_ADDON_LAYER_STORAGE_H

#include "AddonLayer.h"
#include "GSScnExternal.h"

#include <Scn.h>

namespace KSV {

// Supplies, for each component the library selects, the points and polygons of the layer the
// component stands for; polygons refer to the component's own points and materials. Every
// library-facing operation catches everything, prints a "Catch" line to the host's debug log and
// answers false (or 0).
class AddonLayerStorage final : public NvScn::CScnExtStorage {
public:
    // The layers, strings and textures must outlive the supplier.
    AddonLayerStorage(const EXPModelFunctionTable& table, const EXPModel& model, const ProgressStrings& strings,
                      const AddonLayer& layers, const ModelTextures& textures);
    ~AddonLayerStorage() = default;
    AddonLayerStorage(const AddonLayerStorage&) = delete;
    AddonLayerStorage& operator=(const AddonLayerStorage&) = delete;

    // The texture options, and the number of scene materials present when the textured material
    // pass began (0 when it did not run).
    void setTextureOptions(const ExportOptions& options, int32_t materialsBeforeTexturedPass = 0);

    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID* component, int32_t) override;
    void setNbPoints(NvScn::CScnMgr*, int32_t) override;
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector*, int32_t) override;
    void setNbPolygons(NvScn::CScnMgr*, int32_t) override;
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon*, int32_t) override;
    int32_t getNbPoints(NvScn::CScnMgr*) override;
    bool fillPoint(NvScn::CScnMgr*, NvScn::CScnVector* point, int32_t index) override;
    int32_t getNbPolygons(NvScn::CScnMgr*) override;
    bool fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon* polygon, int32_t index) override;

    // The host layer index of the selected component, 0 when none.
    int32_t currentLayer() const { return mLayer; }
    // Whether a fill answered false because the user pressed Cancel.
    bool cancelled() const { return mCancelled; }

private:
    // Counts one more polygon, opening the polygon phase with a component's first; false when the
    // user cancelled at this polygon; raises when the host refuses the value.
    bool advance(int32_t* done, const GS::UniString& phase, int32_t maximum);
    // The component's local material of a polygon; raises when the component has none for it.
    int32_t localMaterial(const PolygonWalk::Made& made);
    int32_t findLocalMaterial(const PolygonWalk::Made& made) const;

    const ProgressStrings& mStrings;
    const AddonLayer& mLayers;
    TextureOptionsOff mTextureOff;
    int32_t mMaterialsBeforeTexturedPass = 0;
    PointWalk mPoints;
    PolygonWalk mPolygons;
    const AddonLayer::Component* mComponent = nullptr;
    const AddonLayer::Layer* mCurrent = nullptr;
    int32_t mLayer = 0;
    int32_t mNextOwnTextureMaterial = 0;
    int32_t mPointsDone = 0;        // of the current component
    int32_t mPolygonsDone = 0;      // over all components
    bool mPolygonPhaseOpen = false; // for the current component
    bool mCancelled = false;
    // The local material last chosen, for the host material and element type it was chosen for.
    struct LastMaterial {
        bool valid = false;
        int32_t material = 0;
        int32_t elementType = 0;
        int32_t local = 0;
    };
    LastMaterial mLastMaterial;
};

}  // namespace KSV

#endif
