// The 3D file-type handler and the two export paths.
#include "SCNExport.h"
#include "DG.h"
#include "Errors.h"
#include "GSScnFeedback.h"
#include "GSScnFileStream.h"
#include "HostCalls.h"
#include "Module.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace KSV {
namespace {

// The model taken from the view, freed through the table whatever happens. The walks' workers
// read it at every item they ask the host for: it lies on cache lines of its own, away from the
// calling thread's variables beside it on the stack.
struct alignas(kCacheLine) HeldModel {
    explicit HeldModel(const EXPModelFunctionTable& table) : mTable(table) {}
    ~HeldModel()
    {
        if (mTable.FreeModel != nullptr) {
            mTable.FreeModel(&model);
        }
    }
    HeldModel(const HeldModel&) = delete;
    HeldModel& operator=(const HeldModel&) = delete;
    const EXPModelFunctionTable& mTable;
    EXPModel model = {};
};

void appendTimingLine(const char* text, long seconds)
{
    IO::File file(IO::Location(kTimingLogPath), IO::File::Create);
    if (file.GetStatus() != NoError || file.Open(IO::File::ReadWriteMode) != NoError ||
        file.Seek(IO::File::FromEnd, 0) != NoError) {
        return;
    }
    char line[128];
    const int length = std::snprintf(line, sizeof line, "%s%ld seconde(s)\n", text, seconds);
    if (length > 0) {
        file.WriteBin(line, length);
    }
}

bool tableFits(const EXPModelFunctionTable& table)
{
    return table.tableSize >= static_cast<int32_t>(sizeof(EXPModelFunctionTable)) &&
           table.tableVersion >= kEXPTableVersion && table.modelVersion >= kEXPModelVersion;
}

}  // namespace

SCNExport::SCNExport(const EXPModelFunctionTable* table, const EXPModel* model, const API_IOParams* params,
                     const Configuration& configuration)
    : mParams(params != nullptr ? *params : API_IOParams()),
      mTable(table),
      mModel(model),
      mConfiguration(configuration)
{
    if (table == nullptr || model == nullptr || params == nullptr || params->fileLoc == nullptr) {
        throwNullResult(kSrcSCNExport, __LINE__);
    }
    for (int32_t i = 1; i <= 10; ++i) {
        mProgressStrings[static_cast<std::size_t>(i)] = getResString(130, i);
    }
    std::memset(mRendering, 0, sizeof mRendering);
    for (int32_t i = 0; i < 2; ++i) {
        const GSErrCode error = ACAPI_3DSettings(kSelGREN, &mRendering[i], asParameter(i));
        if (error != NoError) {
            throwHostError(error, kSrcSCNExport, __LINE__);
        }
    }
    resetOptions(&mOptions);
    mTarget = std::make_unique<ExportTarget>(*params->fileLoc);
    IO::Name name;
    if (params->fileLoc->GetLastLocalName(&name) == NoError) {
        mBaseName = name.WithoutExtension().ToString();
    }
}

SCNExport::~SCNExport()
{
    if (mHandle != nullptr) {
        BMKillHandle(&mHandle);
    }
    if (mManager != nullptr) {
        mManager->release();
        mManager = nullptr;
    }
}

GSErrCode SCNExport::keepTarget() { return mTarget->keep(); }

void SCNExport::checkView()
{
    if (mParams.method == 5) {
        API_3DProjectionInfo projection = {};
        const GSErrCode error = ACAPI_3DSettings(kSelGP3D, &projection);
        if (error != NoError) {
            throwHostError(error, kSrcSCNExport, __LINE__);
        }
        if (projection.isPersp == 0) {
            DGResAlert(module().resModule, 128 + 100 * languageIndex());
            throw Cancel();
        }
    } else if (mParams.method == 6) {
        int32_t window = 0;
        const GSErrCode error = ACAPI_Environment(kSelGWIN, &window);
        if (error != NoError) {
            throwHostError(error, kSrcSCNExport, __LINE__);
        }
        if (window != API_3DWindow) {
            DGResAlert(module().resModule, 133);
            throw Cancel();
        }
    }
}

GSErrCode SCNExport::runPlainPath() { return runPath(Path::Plain); }

GSErrCode SCNExport::runLayerPath() { return runPath(Path::Layer); }

GSErrCode SCNExport::runPath(Path path)
{
    checkView();
    prepareExportOptions(&mOptions, mParams, mRendering[0]);
    GS::UniString title(mProgressStrings[4]);
    ACAPI_ProgressWindow(kSelIPWD, &title, asParameter(3));
    try {
        runSteps(path);
    } catch (const Cancel&) {
        settleWalks();
        ACAPI_ProgressWindow(kSelCPWD);
        throw Cancel();
    } catch (...) {
        settleWalks();
        ACAPI_ProgressWindow(kSelCPWD);
        throw GS::GeneralException();
    }
    return ACAPI_ProgressWindow(kSelCPWD);
}

void SCNExport::runSteps(Path path)
{
    const bool plain = path == Path::Plain;
    // 4. The stream on the temporary file, the feedback, the material map.
    auto stream = std::make_unique<GSScnFileStream>(mTarget->temporary(), 1);
    auto feedback = std::make_unique<GSScnFeedback>(mFeedbackStrings);
    mMaterialMap = std::make_unique<MaterialMap>();
    // 5. The geometry supplier.
    std::unique_ptr<GSScnExternal> plainSupplier;
    std::unique_ptr<AddonLayerStorage> layerSupplier;
    NvScn::CScnExtStorage* supplier = nullptr;
    if (plain) {
        plainSupplier = std::make_unique<GSScnExternal>(*mTable, *mModel, mProgressStrings, *mMaterialMap,
                                                        (mOptions.reserved1027 & 2) != 0);
        supplier = plainSupplier.get();
    } else {
        mTextures = std::make_unique<ModelTextures>(*mTable, *mModel);
        mLayers = std::make_unique<AddonLayer>(*mTable, *mModel, mOptions.uniqueLayer != 0,
                                               getResString(132, 1).ToCStr());
        layerSupplier = std::make_unique<AddonLayerStorage>(*mTable, *mModel, mProgressStrings, *mLayers, *mTextures);
        supplier = layerSupplier.get();
    }
    startWalksBeforeWrite(path, plain ? plainSupplier->polygonTotal() : mLayers->polygonTotal());
    // 6. The scene manager; the layer path's geometry goes into per-layer components only.
    mManager = NvScn::CScnMgr::create(feedback.get(), supplier);
    if (mManager == nullptr) {
        if (!plain) {
            throw GS::OutOfMemoryException();
        }
        throwNullResult(kSrcSCNExport, __LINE__);
    }
    if (!plain) {
        mManager->removeGeometry();
    }
    // 7. The texture options.
    if (plain) {
        plainSupplier->setTextureOptions(mOptions);
    }
    // 8 to 11. Creator and origin, the host handle, textures, environment.
    exportCreatorAndOrigin();
    mHandle = BMAllocateHandle(2040, 0, 0);
    if (mHandle == nullptr) {
        throwHostError(BMError(), kSrcSCNExport, __LINE__);
    }
    exportTextures();
    exportEnvironment();
    // 12 to 14. Materials; the suppliers learn where the textured pass began.
    exportMaterials();
    if (plain) {
        plainSupplier->setTextureOptions(mOptions, mMaterialsBeforeTexturedPass);
        // The own-texture materials follow every scene material, the textured variants included.
        plainSupplier->setFirstOwnTextureMaterial(exportOwnTextureMaterials());
    } else {
        layerSupplier->setTextureOptions(mOptions, mMaterialsBeforeTexturedPass);
    }
    // 15 and 16. Sun, lights and views.
    exportHeliodon();
    exportLights(plain ? mOffset : PlanOffset());
    exportPerspectiveViews();
    if (plain) {
        if ((mOptions.cameras & 1) != 0) {
            exportCurrentView(mOffset);
        }
    } else {
        buildLayerStructure();
    }
    // 17 and 18. The reference file, the plan offset of the plain path's points.
    if (mOptions.useReference != 0) {
        importReference();
    }
    if (plain) {
        plainSupplier->setOrigin(mOffset);
    }
    // 19 to 21. The save, timed when the configuration asks for it.
    const bool timed = mConfiguration.performanceCounterEnabled();
    const std::time_t start = timed ? std::time(nullptr) : 0;
    if (mManager->write(stream.get()) != 0) {
        if (plain ? plainSupplier->cancelled() : layerSupplier->cancelled()) {
            throw Cancel();
        }
        throw GS::GeneralException();
    }
    if (timed) {
        appendTimingLine(plain ? "Temps d'export sans layer = " : "Temps d'export avec layer = ",
                         static_cast<long>(std::time(nullptr) - start));
    }
    // 22. Supplier, material map, feedback and stream go, the stream closing the file.
    plainSupplier.reset();
    layerSupplier.reset();
    mLayers.reset();
    mTextures.reset();
    mMaterialMap.reset();
    feedback.reset();
    if (!stream->close()) {
        throw GS::GeneralException();
    }
    stream.reset();
}

void SCNExport::startWalksBeforeWrite(Path path, int64_t polygons)
{
    const FeedMode mode = feedModeFromEnvironment();
    const bool aside =
        mode == FeedMode::threadAlways || (mode == FeedMode::automatic && polygons >= kFeedInlineBelow);
    mBoundsWalk.start([this] { computeBounds(); }, aside ? SideWalk::Where::worker : SideWalk::Where::whenTaken);
    const SideWalk::Where here = aside ? SideWalk::Where::now : SideWalk::Where::whenTaken;
    if (path == Path::Plain) {
        mPolygonsWalk.start([this] { collectOwnTextures(); }, here);
    } else {
        mPolygonsWalk.start([this] { mLayers->walkMaterials(*mTextures); }, here);
    }
}

void SCNExport::settleWalks()
{
    mBoundsWalk.settle();
    mPolygonsWalk.settle();
}

GSErrCode StartSCNExport(const API_IOParams* params, Modeler::Sight* sight)
{
    const EXPModelFunctionTable* table = EXPGetModelFunctionTable();
    if (table == nullptr) {
        return APIERR_GENERAL;
    }
    try {
        if (!tableFits(*table)) {
            throw GS::GeneralException();
        }
        const Modeler::SightPtr view(sight);
        HeldModel model(*table);
        const GSErrCode error = EXPGetModel(view.Get(), &model.model);
        if (error != NoError) {
            DBPrintf("Kestrovin_Out:: StartSCNExport()-EXPGetModel() failed\n");
            return error;
        }
        const Configuration configuration = Configuration::read(IO::Location(kConfigurationPath));
        // The context goes before the model: the scene manager reads the model while it lives.
        SCNExport context(table, &model.model, params, configuration);
        if (configuration.layerEnabled()) {
            context.runLayerPath();
        } else {
            context.runPlainPath();
        }
        if (context.keepTarget() != NoError) {
            return APIERR_GENERAL;
        }
        return NoError;
    } catch (const Cancel&) {
        return APIERR_CANCEL;
    } catch (...) {
        return APIERR_GENERAL;
    }
}

}  // namespace KSV
