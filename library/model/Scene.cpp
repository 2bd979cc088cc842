#include "model/Scene.h"

#include <cstring>
#include <exception>
#include <stdexcept>

#include "model/Guard.h"
#include "model/Messages.h"
#include "xml/XMLNodes.h"

namespace NvScn {

namespace {

constexpr uint32_t kGeometryInitialCapacity = 1024;

constexpr double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

}  // namespace

CSCN::CSCN(int32_t clientVersion, CScnFeedback* feedback, CScnExtStorage* storage)
    : CBaseObjectMgr(this),
      mAnimations(this),
      mPanoramas(this),
      mObjectDefinitions(this),
      mObjectInstances(this),
      mScratchProperties(this),
      mScenarios(this),
      m3DPaths(this),
      mEnvironments(this),
      mGrounds(this),
      mLayers(this),
      mClientVersion(clientVersion),
      mFeedback(feedback),
      mStorage(storage),
      mPreviewImage(this),
      mFileInfo(true),
      mImages(this)
{
    std::memcpy(mMatrix, kIdentity, sizeof mMatrix);
    if (clientVersion > eCurrentVersionSCN) {
        throw std::runtime_error(Msg::kClientNewer);
    }
    if (clientVersion < eOldestVersionSCN) {
        throw std::runtime_error(Msg::kClientObsolete);
    }
    buildDefaultObjects();
    buildDocument();
}

CSCN::~CSCN() = default;

void CSCN::buildDefaultObjects()
{
    mAmbient = std::make_unique<CAmbiance>(this);
    mAtmosphere = std::make_unique<CAtmosphere>(this);
    mBackground = std::make_unique<CBackground>(this);
    mHeliodons = std::make_unique<TObjectMgr<CHeliodon, CScnHeliodon>>(this);
    mHeliodonOpt = std::make_unique<CHeliodonOpt>(this);
    mPreviewOpt = std::make_unique<CRenderingOpt>(this);
    mPanoramaOpt = std::make_unique<CVRRenderingOpt>(this);
    mAnimationsOpt = std::make_unique<CAnimRenderingOpt>(this);
    mPerspectiveViewsOpt = std::make_unique<CAnimRenderingOpt>(this);
    mViewObjectsOpt = std::make_unique<CAnimRenderingOpt>(this);
    mCameras = std::make_unique<TObjectMgr<CCamera, CScnCamera>>(this);
    mPolygons = std::make_unique<CPolygonMgr>(this, kGeometryInitialCapacity);
    mPoints = std::make_unique<CPointMgr>(this, kGeometryInitialCapacity);
    mMaterials = std::make_unique<TObjectMgr<CProperty, CScnProperty>>(this);
    mLights = std::make_unique<TObjectMgr<CLight, CScnLight>>(this);
    mViewObjects = std::make_unique<TObjectMgr<CViewObject, CScnViewObject>>(this);
    mBillboards = std::make_unique<TObjectMgr<CScnBBMgrData, IScnBBMgrData>>(this);
    mInsertionObject = std::make_unique<CScnInsertionObject>(this);
    mParallelViews = std::make_unique<TObjectMgr<CScnParallelView, IScnParallelView>>(this);
    mParallelViewsOpt = std::make_unique<CParallelViewRenderingOpt>(this);
    mWorkingWindowViews = std::make_unique<TObjectMgr<CScnParallelView, IScnParallelView>>(this);
    mLightsGroups = std::make_unique<TObjectMgr<CScnLightsGroup, IScnLightsGroup>>(this);
    mInternalComponents = std::make_unique<
        TObjectMgr<CScnInternalComponentDefinition, IScnInternalComponentDefinition>>(this);
    mLayersInfo = std::make_unique<CScnLayerInfo>(this);

    // A scene starts with one heliodon, one lights group, one animation and one panorama; a
    // failure here must not leave a half-built manager.
    if (mHeliodons->append() == nullptr || mLightsGroups->append() == nullptr ||
        mAnimations.append() == nullptr || mPanoramas.append() == nullptr) {
        throw std::runtime_error(Msg::kNewCantAllocate);
    }
}

CScnMgr* CSCN::create(int32_t clientVersion, CScnFeedback* feedback, CScnExtStorage* storage)
{
    try {
        return (new CSCN(clientVersion, feedback, storage))->asMgr();
    } catch (const std::exception& error) {
        if (feedback != nullptr) {
            try {
                feedback->warning(nullptr, error.what());
            } catch (...) {
                // Nothing may leave the entry point.
            }
        }
    } catch (...) {
        // Not a standard exception: nothing to report, and nothing may leave the entry point.
    }
    return nullptr;
}

void CSCN::warning(const char* text)
{
    if (mFeedback != nullptr) {
        mFeedback->warning(asMgr(), text);
    }
}

void CBaseObjectMgr::report(const char* text) const noexcept
{
    if (mScene == nullptr) {
        return;
    }
    try {
        mScene->warning(text);
    } catch (...) {
        // A feedback that throws from its report cannot be told any more, and its exception
        // must not leave the operation that reported.
    }
}

void CSCN::release()
{
    delete this;
}

void CSCN::setApplication(const char* name, const char* version)
{
    guardedVoid(this, "CScnMgr::setApplication", [&] {
        mApplicationName = name != nullptr ? name : "";
        mApplicationVersion = version != nullptr ? version : "";
    });
}

CScnMgrEx* CSCN::getMgrEx(int32_t extendedVersion)
{
    if (extendedVersion > eCurrentExtendedVersionSCN) {
        report(Msg::kClientNewer);
        return nullptr;
    }
    if (extendedVersion < eOldestExtendedVersionSCN) {
        report(Msg::kClientObsolete);
        return nullptr;
    }
    return static_cast<CScnMgrEx*>(this);
}

bool CSCN::getFileFormat(int32_t* major, int32_t* minor)
{
    if (major != nullptr) {
        *major = mFileFormatMajor;
    }
    if (minor != nullptr) {
        *minor = mFileFormatMinor;
    }
    return true;
}

IScnCameraPath* CSCN::getCameraPath()
{
    CScnAnimation* animation = mAnimations.find(0);
    return animation != nullptr ? animation->getCameraPath() : nullptr;
}

TScnObjectMgr<IScnPanoNode>* CSCN::getPanoNodes()
{
    CScnPanorama* panorama = mPanoramas.find(0);
    return panorama != nullptr ? panorama->getNodes() : nullptr;
}

TScnObjectMgr<CScnPanoLink>* CSCN::getPanoLinks()
{
    CScnPanorama* panorama = mPanoramas.find(0);
    return panorama != nullptr ? panorama->getLinks() : nullptr;
}

CScnInternalComponentDefinition* CSCN::findInternalComponent(const CScnUUID& uuid) const
{
    for (size_t i = 0; i < mInternalComponents->size(); ++i) {
        CScnInternalComponentDefinition* component = mInternalComponents->at(i);
        if (component->uuid() == uuid) {
            return component;
        }
    }
    return nullptr;
}

CScnScnObjectDefinition* CSCN::findObjectDefinition(const CScnUUID& uuid) const
{
    for (size_t i = 0; i < mObjectDefinitions.size(); ++i) {
        CScnScnObjectDefinition* definition = mObjectDefinitions.at(i);
        if (definition->uuid() == uuid) {
            return definition;
        }
    }
    return nullptr;
}

void CSCN::setLanguage(const char* language)
{
    if (language == nullptr) {
        return;
    }
    auto first = static_cast<signed char>(language[0]);
    // A one-character or empty text ends at its terminator: never read past it.
    auto second = first != 0 ? static_cast<signed char>(language[1]) : static_cast<signed char>(0);
    mLanguageCode = first * 256 + second;
    mLanguage[0] = static_cast<char>(first);
    mLanguage[1] = static_cast<char>(second);
    mLanguage[2] = '\0';
}

void CSCN::setMatrix(const double* matrix)
{
    if (matrix == nullptr) {
        return;
    }
    std::memcpy(mMatrix, matrix, sizeof mMatrix);
    mMatrixActive = false;
    for (int i = 0; i < 16; ++i) {
        if (mMatrix[i] != kIdentity[i]) {
            mMatrixActive = true;
        }
    }
}

void CSCN::fixVector(CScnVector& vector) const
{
    fixDirection(vector);
    if (mMatrixActive) {
        vector.x += mMatrix[3];
        vector.y += mMatrix[7];
        vector.z += mMatrix[11];
    }
}

void CSCN::fixDirection(CScnVector& vector) const
{
    if (mLegacyFile) {
        double y = vector.y;
        vector.y = vector.z;
        vector.z = y;
    }
    if (mMatrixActive) {
        const double* m = mMatrix;
        double x = vector.x;
        double y = vector.y;
        double z = vector.z;
        vector.x = m[0] * x + m[1] * y + m[2] * z;
        vector.y = m[4] * x + m[5] * y + m[6] * z;
        vector.z = m[8] * x + m[9] * y + m[10] * z;
    }
}

CScnProperty* CSCN::newScratchProperty()
{
    return mScratchProperties.append();
}

void CSCN::removeScratchProperty(CScnProperty* property)
{
    for (size_t i = 0; i < mScratchProperties.size(); ++i) {
        if (mScratchProperties.at(i) == property) {
            mScratchProperties.removeObject(static_cast<uint32_t>(i));
            return;
        }
    }
}

}  // namespace NvScn
