// The export of the host's 3D model into a scene file: the context of one export and its two
// paths, the plain path (the whole model as one geometry stream) and the layer path.
#ifndef KSV_SCN_EXPORT_H
#define KSV_SCN_EXPORT_H

#include "AddonLayer.h"
#include "AddonLayerStorage.h"
#include "Configuration.h"
#include "Conversions.h"
#include "ExportOptions.h"
#include "ExportTarget.h"
#include "GeometryFeed.h"
#include "GSModeler.h"
#include "GSScnExternal.h"
#include "MaterialMap.h"

#include <Scn.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace KSV {

// The context of one export, built on the handler's stack.
class SCNExport {
public:
    // Copies the parameters and reads the progress strings and both rendering settings records;
    // raises the null-result error without a model or parameters.
    SCNExport(const EXPModelFunctionTable* table, const EXPModel* model, const API_IOParams* params,
              const Configuration& configuration);
    // Releases the host handle and the scene manager; removes the temporary scene and the files
    // the export created unless the target was kept.
    ~SCNExport();
    SCNExport(const SCNExport&) = delete;
    SCNExport& operator=(const SCNExport&) = delete;

    // The two export paths; each answers the host's answer to closing the progress window, and
    // raises KSV::Cancel when the user cancels and a general exception on any other failure.
    GSErrCode runPlainPath();
    GSErrCode runLayerPath();
    // Moves the saved scene over the target file; a host error code when it cannot.
    GSErrCode keepTarget();

    // The scene file references of the host's textures: texture i at i - 1, empty for a texture
    // that was not available.
    const std::vector<std::string>& textureReferences() const { return mTextureReferences; }
    const ExportOptions& options() const { return mOptions; }

private:
    enum class Path { Plain, Layer };

    GSErrCode runPath(Path path);
    void checkView();
    void runSteps(Path path);
    // Starts the whole walks the export needs before the library writes: the bounds through the
    // host's 3D component service on a worker, and the polygons' own textures (plain path) or the
    // layers' materials (layer path) on the calling thread at once; for a small model, or when
    // the walks are kept on the calling thread, each runs at its step instead.
    void startWalksBeforeWrite(Path path, int64_t polygons);
    // Waits for a walk still running on a worker, whatever it raised.
    void settleWalks();

    // The scene content (ContentExport.cpp).
    void exportCreatorAndOrigin();
    void exportTextures();
    void exportEnvironment();
    void computeBounds();
    void exportMaterials();
    void exportTexturedMaterials(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, int32_t count, bool keeping);
    // A new scene material with the values of host material index; *texture receives its texture.
    NvScn::CScnProperty* newHostMaterial(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, int32_t index,
                                         int32_t* texture = nullptr);
    void setTextureMapping(NvScn::CScnProperty* material, const std::string& reference);
    void addOwnTextureMaterial(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, int32_t texture);
    // Notes the available own texture of every polygon, in walk order; raises on a host error.
    void collectOwnTextures();
    // Answers the scene index of the first own-texture material.
    int32_t exportOwnTextureMaterials();
    void exportHeliodon();
    void exportLights(const PlanOffset& offset);
    void exportPerspectiveViews();
    void exportCurrentView(const PlanOffset& offset);
    void buildLayerStructure();
    void addLayerMaterials(NvScn::IScnScnObjectDefinition* definition, const AddonLayer::Layer& layer,
                           AddonLayer::Component* component);
    void importReference();
    void writeTexture(int32_t texture, const IO::Location& folder);
    std::string progressText(int32_t index) const { return mProgressStrings[static_cast<std::size_t>(index)].ToCStr(); }

    API_IOParams mParams;
    const EXPModelFunctionTable* mTable;
    const EXPModel* mModel;
    Configuration mConfiguration;
    NvScn::CScnMgr* mManager = nullptr;
    ProgressStrings mProgressStrings;
    std::array<GS::UniString, 2> mFeedbackStrings;
    API_RenderingSettings mRendering[2];
    ExportOptions mOptions;
    PlanOffset mOffset;
    EXPVector mMinimum = {0.0, 0.0, 0.0};
    EXPVector mMaximum = {0.0, 0.0, 0.0};
    GSHandle mHandle = nullptr;
    std::vector<std::string> mTextureReferences;
    std::string mBaseName;
    int32_t mMaterialsBeforeTexturedPass = 0;
    std::unique_ptr<MaterialMap> mMaterialMap;
    // The layer path's bookkeeping, alive while its supplier is.
    std::unique_ptr<ModelTextures> mTextures;
    std::unique_ptr<AddonLayer> mLayers;
    std::unique_ptr<ExportTarget> mTarget;
    // The own textures of the plain path's polygons in walk order, the host's index of each.
    std::vector<int32_t> mOwnTextures;
    // Last, so that their workers are joined before what they write goes. While the bounds walk
    // runs, the calling thread calls neither the 3D component services nor the progress window.
    SideWalk mBoundsWalk;
    SideWalk mPolygonsWalk;
};

}  // namespace KSV

#endif
