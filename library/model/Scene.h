// The scene core: implementation of both manager interfaces, owner of every scene collection.
#ifndef SCN_SCENE_H
#define SCN_SCENE_H

#include <memory>
#include <string>

#include "ScnMgr.h"
#include "ScnXML.h"
#include "model/Animation.h"
#include "model/BaseObjectMgr.h"
#include "model/Environment.h"
#include "model/FileInfo.h"
#include "model/Geometry.h"
#include "model/Heliodon.h"
#include "model/HeliodonOpt.h"
#include "model/Image.h"
#include "model/InsertionObject.h"
#include "model/InternalComponent.h"
#include "model/Layers.h"
#include "model/Lights.h"
#include "model/ObjectDefinition.h"
#include "model/ObjectInstance.h"
#include "model/ObjectMgr.h"
#include "model/Panorama.h"
#include "model/RenderingOpt.h"
#include "model/Scenario.h"
#include "model/ScnFrontier.h"
#include "model/Stubs.h"
#include "model/Uuid.h"
#include "model/Views.h"

namespace NuvoraXML {
class XCXMLTree;
}

namespace NvScn {

// The library's own version, written into every saved document.
constexpr CScnVersion kLibraryVersion = {3, 0, 3, {}};

// One scene: the manager a client holds, the owner of every scene collection and of the document
// tree that a save writes and a load replaces, and the reader of the document's data blocks.
// Creation checks the client version first; objects it hands out live until release.
class CSCN : public TScnFrontier<CScnMgr>,
             public TScnFrontier<CScnMgrEx>,
             public NuvoraXML::IXMLCDataReader,
             public CBaseObjectMgr {
public:
    // Throws the version refusal texts for client versions outside 30 to 31.
    CSCN(int32_t clientVersion, CScnFeedback* feedback, CScnExtStorage* storage);
    ~CSCN() override;

    // Creates a manager, reporting a refusal through feedback with a null manager.
    static CScnMgr* create(int32_t clientVersion, CScnFeedback* feedback, CScnExtStorage* storage);

    // CScnMgr
    void release() override;
    void setApplication(const char* name, const char* version) override;
    CScnMgrEx* getMgrEx(int32_t extendedVersion) override;
    const CScnVersion* getFileVersion() override { return &mFileVersion; }
    int32_t read(CScnStream* stream) override;
    int32_t write(CScnStream* stream) override;
    bool getFileFormat(int32_t* major, int32_t* minor) override;
    CScnAmbient* getAmbient() override { return mAmbient.get(); }
    CScnAtmosphere* getAtmosphere() override { return mAtmosphere.get(); }
    CScnBackground* getBackground() override { return mBackground.get(); }
    TScnObjectMgr<CScnCamera>* getPerspectiveViews() override { return mCameras.get(); }
    TScnObjectMgr<CScnPolygon>* getPolygons() override { return mPolygons.get(); }
    TScnObjectMgr<CScnVector>* getPoints() override { return mPoints.get(); }
    TScnObjectMgr<CScnProperty>* getMaterials() override { return mMaterials.get(); }
    TScnObjectMgr<CScnLight>* getLights() override { return mLights.get(); }
    IScnCameraPath* getCameraPath() override;
    TScnObjectMgr<IScnPanoNode>* getPanoNodes() override;
    TScnObjectMgr<CScnPanoLink>* getPanoLinks() override;
    TScnObjectMgr<CScnViewObject>* getViewObjects() override { return mViewObjects.get(); }
    CScnHeliodon* getHeliodon() override { return mHeliodons->find(0); }
    TScnObjectMgr<IScnParallelView>* getParallelViews() override { return mParallelViews.get(); }
    TScnObjectMgr<CScnHeliodon>* getHeliodons() override { return mHeliodons.get(); }
    TScnObjectMgr<IScnLightsGroup>* getLightsGroups() override { return mLightsGroups.get(); }
    IScnImage* getPreviewImage() override { return &mPreviewImage; }
    TScnObjectMgr<IScnImage>* getImages() override { return &mImages; }
    TScnObjectMgr<IScnScnObjectDefinition>* getObjectDefinitions() override
    {
        return &mObjectDefinitions;
    }
    TScnObjectMgr<IScnObjectInstance>* getObjectInstances() override { return &mObjectInstances; }
    const char* getLanguage() override { return mLanguage; }
    void setLanguage(const char* language) override;
    const char* getComment(int32_t index) override;
    int32_t setComment(const char* text, int32_t index) override;
    const char* getURL() override;
    void setURL(const char* url) override;
    NuvoraXML::XIXMLElement* getApplicationData(const char* tag) override;
    TScnObjectMgr<IScnScenario>* getScenarios() override { return &mScenarios; }
    TScnObjectMgr<IScn3DPath>* get3DPaths() override { return &m3DPaths; }
    TScnObjectMgr<IScnEnvironment>* getEnvironments() override { return &mEnvironments; }
    TScnObjectMgr<IScnGround>* getGrounds() override { return &mGrounds; }
    TScnObjectMgr<IScnLayer>* getLayers() override { return &mLayers; }
    TScnObjectMgr<IScnLayer>* getLayersMgr() override { return &mLayers; }
    IScnLayerInfo* getLayersInfo() override { return mLayersInfo.get(); }
    TScnObjectMgr<IScnInternalComponentDefinition>* getInternalComponentDefinitions() override
    {
        return mInternalComponents.get();
    }
    void readDataBlocks(CScnStream* stream, CScnExtStorage* storage) override;
    void removeGeometry() override;
    int32_t write(CScnStream* stream, const CScnVersion* minimumVersion) override;
    void* readMediaInfo(CScnStream* stream) override;
    IScnFileInfo2* getFileInfo() override { return &mFileInfo; }
    IScnFileInfo2* getFileInfo2() override { return &mFileInfo; }

    // CScnMgrEx
    CScnHeliodonOpt* getHeliodonOpt() override { return mHeliodonOpt.get(); }
    CScnRenderingOpt* getPreviewRenderingOpt() override { return mPreviewOpt.get(); }
    CScnRenderingOpt* getPerspectiveViewsOpt() override { return mPerspectiveViewsOpt.get(); }
    CScnPanoramaRenderingOpt* getPanoramaRenderingOpt() override { return mPanoramaOpt.get(); }
    CScnRenderingOpt* getAnimationsOpt() override { return mAnimationsOpt.get(); }
    CScnRenderingOpt* getViewObjectsOpt() override { return mViewObjectsOpt.get(); }
    TScnObjectMgr<IScnAnimation>* getAnimations() override { return &mAnimations; }
    TScnObjectMgr<IScnPanorama>* getPanoramas() override { return &mPanoramas; }
    const double* getMatrix() override { return mMatrix; }
    void setMatrix(const double* matrix) override;
    TScnObjectMgr<IScnBBMgrData>* getBillboards() override { return mBillboards.get(); }
    IScnInsertionObject* getInsertionObject() override { return mInsertionObject.get(); }
    TScnObjectMgr<IScnParallelView>* getParallelViewsEx() override { return mParallelViews.get(); }
    CScnParallelViewRenderingOpt* getParallelViewsOptImpl() override
    {
        return mParallelViewsOpt.get();
    }
    bool readShader(CScnProperty* property, CScnStream* stream) override;
    bool writeShader(CScnProperty* property, CScnStream* stream) override;
    CScnRenderingOpt* getPanoramaOpt() override { return mPanoramaOpt.get(); }
    CScnRenderingOpt* getParallelViewsOpt() override { return mParallelViewsOpt.get(); }
    TScnObjectMgr<IScnParallelView>* getWorkingWindowViews() override
    {
        return mWorkingWindowViews.get();
    }
    CScnProperty* newScratchProperty() override;
    void removeScratchProperty(CScnProperty* property) override;
    bool isOlderThan202() override { return mOlderThan202; }

    // IXMLCDataReader: decodes one CDATA section of a document being parsed into the scene; a
    // failure is reported with the element's name and answers false, which aborts the parse.
    bool Read(NuvoraXML::XIXMLElement* element, NuvoraXML::CXMLReadStream* stream) override;

    // Whether the document of node was written by the product itself: its first "Application"
    // PI names "Kestrovin" (either spelling); fails on a null node.
    static bool isKestrovinFile(NuvoraXML::XIXMLNode* node);

    // The manager interface of this scene, as passed to the client's callbacks.
    CScnMgr* asMgr() { return static_cast<CScnMgr*>(this); }
    // Sends a report to the client's feedback (with this manager), when there is one.
    void warning(const char* text);
    // The client's feedback, may be null.
    CScnFeedback* getFeedback() const { return mFeedback; }
    // The external storage in use, may be null.
    CScnExtStorage* getExternalStorage() const { return mStorage; }
    // Every vector read from a file passes here: legacy axis swap, then the transformation.
    void fixVector(CScnVector& vector) const;
    // Every direction read from a file passes here: legacy axis swap, then the transformation
    // without its translation.
    void fixDirection(CScnVector& vector) const;
    // Marks the file being converted as legacy (y and z exchanged on reading).
    void setLegacyFile(bool legacy) { mLegacyFile = legacy; }
    bool isLegacyFile() const { return mLegacyFile; }
    // The client version given at creation.
    int32_t getClientVersion() const { return mClientVersion; }

    CPointMgr& points() { return *mPoints; }
    // The view lists and grounds, for the document sections.
    TObjectMgr<CCamera, CScnCamera>& cameras() { return *mCameras; }
    TObjectMgr<CScnParallelView, IScnParallelView>& parallelViews() { return *mParallelViews; }
    TObjectMgr<CScnParallelView, IScnParallelView>& workingWindowViews() { return *mWorkingWindowViews; }
    TObjectMgr<CViewObject, CScnViewObject>& viewObjects() { return *mViewObjects; }
    TObjectMgr<CScnGround, IScnGround>& grounds() { return mGrounds; }
    TObjectMgr<CScnEnvironment, IScnEnvironment>& environments() { return mEnvironments; }
    CAnimRenderingOpt& perspectiveViewsOptions() { return *mPerspectiveViewsOpt; }
    CPolygonMgr& polygons() { return *mPolygons; }
    // The internal component definitions, as the document sections fill them.
    TObjectMgr<CScnInternalComponentDefinition, IScnInternalComponentDefinition>& internalComponents()
    {
        return *mInternalComponents;
    }
    // The internal component definition with that identifier, or null.
    CScnInternalComponentDefinition* findInternalComponent(const CScnUUID& uuid) const;
    // The scene's own file information, as the "File.Info" section fills it.
    CScnFileInfo& fileInfo() { return mFileInfo; }
    // The "Scn.File" element of the document, null when the document has none.
    NuvoraXML::XIXMLElement* getFileNode() const { return mFileNode; }
    // The path named by the legacy options being read.
    void setLegacyPath(const std::string& path) { mLegacyPath = path; }
    const std::string& getLegacyPath() const { return mLegacyPath; }
    TObjectMgr<CLight, CScnLight>& lights() { return *mLights; }
    // The materials, for the "Properties" section.
    TObjectMgr<CProperty, CScnProperty>& materials() { return *mMaterials; }
    TObjectMgr<CScnLightsGroup, IScnLightsGroup>& lightsGroups() { return *mLightsGroups; }
    TObjectMgr<CHeliodon, CScnHeliodon>& heliodons() { return *mHeliodons; }
    // The animation kinds' lists, for the document sections.
    TObjectMgr<CScnAnimation, IScnAnimation>& animations() { return mAnimations; }
    TObjectMgr<CScnPanorama, IScnPanorama>& panoramas() { return mPanoramas; }
    TObjectMgr<CScnScenario, IScnScenario>& scenarios() { return mScenarios; }
    TObjectMgr<CScn3DPath, IScn3DPath>& paths3D() { return m3DPaths; }
    // The object lists and the objects of the layer settings, for the document sections.
    TObjectMgr<CScnBBMgrData, IScnBBMgrData>& billboards() { return *mBillboards; }
    CScnInsertionObject& insertionObject() { return *mInsertionObject; }
    TObjectMgr<CScnScnObjectDefinition, IScnScnObjectDefinition>& objectDefinitions() { return mObjectDefinitions; }
    TObjectMgr<CScnObjectInstance, IScnObjectInstance>& objectInstances() { return mObjectInstances; }
    TObjectMgr<CScnLayer, IScnLayer>& layers() { return mLayers; }
    CScnLayerInfo& layersInfo() { return *mLayersInfo; }
    // The object definition with that identifier, or null.
    CScnScnObjectDefinition* findObjectDefinition(const CScnUUID& uuid) const;

private:
    void buildDefaultObjects();
    // Replaces the document by the skeleton of an empty scene.
    void buildDocument();
    // Finds the file element and the library and application PIs of the current document.
    void findDocumentNodes();
    void writeDocument(CScnStream* stream, const CScnVersion* minimumVersion);
    void rebuildImages();
    void setProcessingInstructions(const CScnVersion* minimumVersion);
    void readDocument(CScnStream* stream);
    void readSections();
    void finishOldDocument();
    void upgradeToComponents();
    void emptyGeometryAndImages();
    // The data blocks, one reader per element name.
    void readPreviewBlock(NuvoraXML::XIXMLElement* element, NuvoraXML::CXMLReadStream* stream);
    void readImageListBlock(NuvoraXML::XIXMLElement* element, NuvoraXML::CXMLReadStream* stream);
    void readGeometryBlock(NuvoraXML::XIXMLElement* element, NuvoraXML::CXMLReadStream* stream,
                           bool polygons);

    // Legacy format codes used by the legacy loader.
    int32_t mLegacyFormat1 = 2;
    int32_t mLegacyFormat2 = 2;
    int32_t mFileFormatMajor = 5;
    int32_t mFileFormatMinor = 1;
    std::string mLegacyPath;
    std::unique_ptr<CAmbiance> mAmbient;
    std::unique_ptr<CAtmosphere> mAtmosphere;
    std::unique_ptr<CBackground> mBackground;
    std::unique_ptr<TObjectMgr<CHeliodon, CScnHeliodon>> mHeliodons;
    std::unique_ptr<CHeliodonOpt> mHeliodonOpt;
    std::unique_ptr<CRenderingOpt> mPreviewOpt;
    std::unique_ptr<CVRRenderingOpt> mPanoramaOpt;
    std::unique_ptr<CAnimRenderingOpt> mAnimationsOpt;
    std::unique_ptr<CAnimRenderingOpt> mPerspectiveViewsOpt;
    std::unique_ptr<CAnimRenderingOpt> mViewObjectsOpt;
    std::unique_ptr<TObjectMgr<CCamera, CScnCamera>> mCameras;
    std::unique_ptr<CPolygonMgr> mPolygons;
    std::unique_ptr<CPointMgr> mPoints;
    std::unique_ptr<TObjectMgr<CProperty, CScnProperty>> mMaterials;
    std::unique_ptr<TObjectMgr<CLight, CScnLight>> mLights;
    std::unique_ptr<TObjectMgr<CViewObject, CScnViewObject>> mViewObjects;
    std::unique_ptr<TObjectMgr<CScnBBMgrData, IScnBBMgrData>> mBillboards;
    std::unique_ptr<CScnInsertionObject> mInsertionObject;
    std::unique_ptr<TObjectMgr<CScnParallelView, IScnParallelView>> mParallelViews;
    std::unique_ptr<CParallelViewRenderingOpt> mParallelViewsOpt;
    std::unique_ptr<TObjectMgr<CScnParallelView, IScnParallelView>> mWorkingWindowViews;
    std::unique_ptr<TObjectMgr<CScnLightsGroup, IScnLightsGroup>> mLightsGroups;
    TObjectMgr<CScnAnimation, IScnAnimation> mAnimations;
    TObjectMgr<CScnPanorama, IScnPanorama> mPanoramas;
    TObjectMgr<CScnScnObjectDefinition, IScnScnObjectDefinition> mObjectDefinitions;
    TObjectMgr<CScnObjectInstance, IScnObjectInstance> mObjectInstances;
    TObjectMgr<CProperty, CScnProperty> mScratchProperties;
    TObjectMgr<CScnScenario, IScnScenario> mScenarios;
    TObjectMgr<CScn3DPath, IScn3DPath> m3DPaths;
    TObjectMgr<CScnEnvironment, IScnEnvironment> mEnvironments;
    TObjectMgr<CScnGround, IScnGround> mGrounds;
    TObjectMgr<CScnLayer, IScnLayer> mLayers;
    std::unique_ptr<TObjectMgr<CScnInternalComponentDefinition, IScnInternalComponentDefinition>>
        mInternalComponents;
    CScnVersion mFileVersion{};
    int32_t mClientVersion;
    CScnFeedback* mFeedback;
    CScnExtStorage* mStorage;
    std::string mApplicationName;
    std::string mApplicationVersion;
    double mMatrix[16];
    bool mMatrixActive = false;
    bool mLegacyFile = false;
    CScnImage mPreviewImage;
    CScnFileInfo mFileInfo;
    TObjectMgr<CScnImage, IScnImage> mImages;
    int32_t mLanguageCode = ('e' << 8) + 'n';
    char mLanguage[4] = {'e', 'n', '\0', '\0'};
    bool mOlderThan202 = false;
    std::unique_ptr<CScnLayerInfo> mLayersInfo;
    std::unique_ptr<NuvoraXML::XCXMLTree> mDocument;
    NuvoraXML::XIXMLElement* mFileNode = nullptr;
    NuvoraXML::XIXMLPI* mApplicationPI = nullptr;
    NuvoraXML::XIXMLPI* mLibraryPI = nullptr;
    bool mReadingDataBlocks = false;
};

}  // namespace NvScn

#endif
