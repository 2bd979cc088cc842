#include "AddonLayerStorage.h"
#include "Errors.h"
#include "HostCalls.h"

#include <stdexcept>

namespace KSV {
namespace {

template <class T>
T* checked(T* object, int line)
{
    if (object == nullptr) {
        throwNullResult(kSrcAddonLayerStorage, line);
    }
    return object;
}

}  // namespace

AddonLayerStorage::AddonLayerStorage(const EXPModelFunctionTable& table, const EXPModel& model,
                                     const ProgressStrings& strings, const AddonLayer& layers,
                                     const ModelTextures& textures)
    : mStrings(strings), mLayers(layers), mPoints(table, model), mPolygons(table, model, textures)
{
}

void AddonLayerStorage::setTextureOptions(const ExportOptions& options, int32_t materialsBeforeTexturedPass)
{
    mTextureOff.set(options);
    mMaterialsBeforeTexturedPass = materialsBeforeTexturedPass;
    mLastMaterial = LastMaterial();
}

bool AddonLayerStorage::setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID* component,
                                                            int32_t)
{
    return guardedSupply("AddonLayerStorage::setCurrentInternalComponentInstance", false, [&] {
        // The component's own UUID picks its layer, so that a component that stands for no layer
        // (one a reference file brought) gets no geometry rather than the next layer's.
        mComponent = mLayers.component(*checked(component, __LINE__));
        mLayer = 0;
        mCurrent = nullptr;
        if (mComponent != nullptr) {
            const auto found = mLayers.layers().find(mComponent->layer);
            if (found == mLayers.layers().end()) {
                throwAssertion(kSrcAddonLayerStorage, __LINE__);
            }
            mLayer = found->first;
            mCurrent = &found->second;
            mNextOwnTextureMaterial = mComponent->firstOwnTextureMaterial;
        }
        mPoints.reset(mCurrent != nullptr ? &mCurrent->elements : nullptr, mCurrent != nullptr ? mCurrent->points : 0);
        mPolygons.reset(mCurrent != nullptr ? &mCurrent->elements : nullptr,
                        mCurrent != nullptr ? mCurrent->polygons : 0);
        mPointsDone = 0;
        mPolygonPhaseOpen = false;
        mLastMaterial = LastMaterial();
        if (mCurrent != nullptr) {
            GS::UniString phase(mStrings[5]);
            ACAPI_ProgressWindow(kSelSPRP, &phase, asParameter(mCurrent->points));
        }
        return true;
    });
}

void AddonLayerStorage::setNbPoints(NvScn::CScnMgr*, int32_t) {}

bool AddonLayerStorage::addPoint(NvScn::CScnMgr*, const NvScn::CScnVector*, int32_t) { return true; }

void AddonLayerStorage::setNbPolygons(NvScn::CScnMgr*, int32_t) {}

bool AddonLayerStorage::addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon*, int32_t) { return true; }

int32_t AddonLayerStorage::getNbPoints(NvScn::CScnMgr*)
{
    return guardedSupply("AddonLayerStorage::getNbPoints", 0,
                         [&] { return mCurrent != nullptr ? mCurrent->points : 0; });
}

int32_t AddonLayerStorage::getNbPolygons(NvScn::CScnMgr*)
{
    return guardedSupply("AddonLayerStorage::getNbPolygons", 0,
                         [&] { return mCurrent != nullptr ? mCurrent->polygons : 0; });
}

bool AddonLayerStorage::advance(int32_t* done, const GS::UniString& phase, int32_t maximum)
{
    if (!mPolygonPhaseOpen) {
        // Each component's points opened their own phase; its polygons take theirs back.
        openProgressPhase(phase, maximum);
        mPolygonPhaseOpen = true;
    }
    ++*done;
    const GSErrCode error = ACAPI_ProgressWindow(kSelSPRV, asParameter(*done));
    if (error != NoError) {
        throwHostError(error, kSrcAddonLayerStorage, __LINE__);
    }
    if (*done % 1000 == 0 && userPressedCancel()) {
        mCancelled = true;
        return false;
    }
    return true;
}

bool AddonLayerStorage::fillPoint(NvScn::CScnMgr*, NvScn::CScnVector* point, int32_t)
{
    return guardedSupply("AddonLayerStorage::fillPoint", false, [&] {
        if (mCurrent == nullptr) {
            return true;
        }
        // One walk reads the host model at a time.
        mPolygons.suspend();
        // The phase is open: setCurrentInternalComponentInstance opened it for this component.
        ++mPointsDone;
        const GSErrCode error = ACAPI_ProgressWindow(kSelSPRV, asParameter(mPointsDone));
        if (error != NoError) {
            throwHostError(error, kSrcAddonLayerStorage, __LINE__);
        }
        if (mPointsDone % 1000 == 0 && userPressedCancel()) {
            mCancelled = true;
            return false;
        }
        // The layer path writes the plan as the host has it: no origin offset.
        mPoints.next(PlanOffset(), checked(point, __LINE__));
        return true;
    });
}

int32_t AddonLayerStorage::localMaterial(const PolygonWalk::Made& made)
{
    // Neighbouring polygons mostly show the same material: the last answer is kept for the next.
    if (mLastMaterial.valid && mLastMaterial.material == made.material &&
        mLastMaterial.elementType == made.elementType) {
        return mLastMaterial.local;
    }
    mLastMaterial = {true, made.material, made.elementType, findLocalMaterial(made)};
    return mLastMaterial.local;
}

int32_t AddonLayerStorage::findLocalMaterial(const PolygonWalk::Made& made) const
{
    if (mTextureOff.onFor(made.elementType)) {
        const auto textured = mComponent->texturedMaterials.find(made.material);
        if (textured != mComponent->texturedMaterials.end()) {
            return textured->second;
        }
    }
    const auto plain = mComponent->plainMaterials.find(made.material);
    if (plain == mComponent->plainMaterials.end()) {
        throwAssertion(kSrcAddonLayerStorage, __LINE__);
    }
    return plain->second;
}

bool AddonLayerStorage::fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon* polygon, int32_t)
{
    return guardedSupply("KSV::AddonLayerStorage::fillPolygon", false, [&] {
        if (mCurrent == nullptr || mCurrent->polygons == 0) {
            return true;
        }
        mPoints.suspend();
        // The count runs over all components, so the phase's maximum is the polygons of all layers.
        if (!advance(&mPolygonsDone, mStrings[6], mLayers.polygonTotal())) {
            return false;
        }
        const PolygonWalk::Made made =
            mPolygons.next("AddonLayerStorage::fillPolygon - Invalid material index (%d)\n", checked(polygon, __LINE__));
        polygon->setPropertyIndex(made.ownTexture != 0 ? mNextOwnTextureMaterial++ : localMaterial(made));
        return true;
    });
}

}  // namespace KSV
