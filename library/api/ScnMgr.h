// The scene manager: one object per open scene, and the library's exported entry points.
#ifndef SCN_MGR_H
#define SCN_MGR_H

#include "ScnAnimation.h"
#include "ScnBase.h"
#include "ScnClient.h"
#include "ScnEnvironment.h"
#include "ScnFileInfo.h"
#include "ScnGeometry.h"
#include "ScnHeliodon.h"
#include "ScnImage.h"
#include "ScnLights.h"
#include "ScnObjectMgr.h"
#include "ScnObjects.h"
#include "ScnShaders.h"
#include "ScnViews.h"
#include "ScnXML.h"

namespace NvScn {

class CScnMgrEx;

// The main interface of a scene. Objects it hands out belong to the scene and die with it; the
// client releases only the manager. No operation throws: problems reach the feedback's warning.
class CScnMgr {
public:
    // Destroys the manager and every object of its scene; feedback and storage stay alive.
    virtual void release() = 0;
    // Stores the creating application's name and version for the document's "Application" PI.
    virtual void setApplication(const char* name, const char* version) = 0;
    // The extension interface for extended version 5 or 6; null after a report otherwise.
    virtual CScnMgrEx* getMgrEx(int32_t extendedVersion) = 0;
    // The library version found in the last loaded file.
    virtual const CScnVersion* getFileVersion() = 0;
    // Loads a scene from the stream: 0 on success, 1 on failure.
    virtual int32_t read(CScnStream* stream) = 0;
    // Saves the scene with the default minimum version: 0 on success, 2 on failure.
    virtual int32_t write(CScnStream* stream) = 0;
    // The file format version (5.1 before any load); either pointer may be null; always true.
    virtual bool getFileFormat(int32_t* major, int32_t* minor) = 0;
    virtual CScnAmbient* getAmbient() = 0;
    virtual CScnAtmosphere* getAtmosphere() = 0;
    virtual CScnBackground* getBackground() = 0;
    virtual TScnObjectMgr<CScnCamera>* getPerspectiveViews() = 0;
    virtual TScnObjectMgr<CScnPolygon>* getPolygons() = 0;
    virtual TScnObjectMgr<CScnVector>* getPoints() = 0;
    virtual TScnObjectMgr<CScnProperty>* getMaterials() = 0;
    virtual TScnObjectMgr<CScnLight>* getLights() = 0;
    // The first camera path of animation 0, or null when there is no animation or it has no path.
    virtual IScnCameraPath* getCameraPath() = 0;
    // The first node list of panorama 0, or null when there is no panorama.
    virtual TScnObjectMgr<IScnPanoNode>* getPanoNodes() = 0;
    // The link list of panorama 0, or null when there is no panorama.
    virtual TScnObjectMgr<CScnPanoLink>* getPanoLinks() = 0;
    virtual TScnObjectMgr<CScnViewObject>* getViewObjects() = 0;
    // Heliodon 0 of the heliodon list.
    virtual CScnHeliodon* getHeliodon() = 0;
    virtual TScnObjectMgr<IScnParallelView>* getParallelViews() = 0;
    virtual TScnObjectMgr<CScnHeliodon>* getHeliodons() = 0;
    virtual TScnObjectMgr<IScnLightsGroup>* getLightsGroups() = 0;
    virtual IScnImage* getPreviewImage() = 0;
    virtual TScnObjectMgr<IScnImage>* getImages() = 0;
    virtual TScnObjectMgr<IScnScnObjectDefinition>* getObjectDefinitions() = 0;
    virtual TScnObjectMgr<IScnObjectInstance>* getObjectInstances() = 0;
    // The two-letter language of localized texts, "en" by default.
    virtual const char* getLanguage() = 0;
    // Sets the language from its first two characters.
    virtual void setLanguage(const char* language) = 0;
    // The text of the index-th top-level comment of the document, or null.
    virtual const char* getComment(int32_t index) = 0;
    // Replaces or (null text) deletes the index-th comment and answers index; when there is no
    // such comment adds one before the root and answers the former count (-1 for a null text).
    virtual int32_t setComment(const char* text, int32_t index) = 0;
    // The save URL of the document, "" when none.
    virtual const char* getURL() = 0;
    // Sets the save URL of the document.
    virtual void setURL(const char* url) = 0;
    // The element under "Application.Data" named tag, created when missing; null on failure.
    virtual NuvoraXML::XIXMLElement* getApplicationData(const char* tag) = 0;
    virtual TScnObjectMgr<IScnScenario>* getScenarios() = 0;
    virtual TScnObjectMgr<IScn3DPath>* get3DPaths() = 0;
    virtual TScnObjectMgr<IScnEnvironment>* getEnvironments() = 0;
    virtual TScnObjectMgr<IScnGround>* getGrounds() = 0;
    virtual TScnObjectMgr<IScnLayer>* getLayers() = 0;
    // The same list as getLayers.
    virtual TScnObjectMgr<IScnLayer>* getLayersMgr() = 0;
    virtual IScnLayerInfo* getLayersInfo() = 0;
    virtual TScnObjectMgr<IScnInternalComponentDefinition>* getInternalComponentDefinitions() = 0;
    // Parses the stream only for its data blocks; geometry blocks go to the given storage.
    virtual void readDataBlocks(CScnStream* stream, CScnExtStorage* storage) = 0;
    // Deletes the top-level "Points" and "Polygons" elements of the document.
    virtual void removeGeometry() = 0;
    // Saves the scene requiring readers of at least minimumVersion (null: 3.0.1); 0 or 2.
    virtual int32_t write(CScnStream* stream, const CScnVersion* minimumVersion) = 0;
    // Reads the display names of an object file into the object definitions; always null.
    virtual void* readMediaInfo(CScnStream* stream) = 0;
    // The scene's own file information.
    virtual IScnFileInfo2* getFileInfo() = 0;
    // The same object as getFileInfo.
    virtual IScnFileInfo2* getFileInfo2() = 0;
    virtual ~CScnMgr() {}

    // Creates a manager for a client built with this header; null after a report on failure.
    static CScnMgr* create(CScnFeedback* feedback, CScnExtStorage* storage)
    {
        return newCScnMgr(eCurrentVersionSCN, feedback, storage);
    }
    // The interface version of CScnMgr that this library implements (31).
    SCN_API static int32_t getSCNVersion();
    // The interface version of CScnMgrEx that this library implements (6).
    SCN_API static int32_t getExtendedScnVersion();
    // Null-terminated list of the file types of the library; the records live with the library.
    SCN_API static const CScnFileType* const* getFileTypeList();
    // Whether the stream holds a scene file; writes a short description into buffer when given.
    SCN_API static bool checkFormat(CScnStream* stream, char* buffer, int32_t bufferSize);
    // As checkFormat, plus the readability verdict and the file's library version.
    SCN_API static bool checkFormat2(CScnStream* stream, eReadability* verdict, CScnVersion* version,
                                     char* buffer, int32_t bufferSize);
    // The file information of a scene stream, owned by the caller (release it).
    SCN_API static IScnFileInfo2* readFileInfo(CScnStream* stream);
    // The preview image of a scene stream, owned by the caller (destroy it), or null.
    SCN_API static IScnImage* readPreviewImage(CScnStream* stream);
    // Copies into target the parts of source that flags select (0x01 materials sharing an
    // identifier, 0x10 lights, 0x20 heliodons, 0x40 object definitions with their instances, 0x80
    // perspective views, 0x100 parallel views, 0x200 view objects, 0x400 panoramas, 0x800 the
    // first scenario's content); target keeps nothing of source, which may be released after.
    SCN_API static void doImportReference(CScnMgr* target, CScnMgr* source, int32_t flags);

private:
    SCN_API static CScnMgr* newCScnMgr(EVersionSCN clientVersion, CScnFeedback* feedback,
                                       CScnExtStorage* storage);
};

// The extension interface of a scene, reached through CScnMgr::getMgrEx.
class CScnMgrEx {
public:
    virtual CScnHeliodonOpt* getHeliodonOpt() = 0;
    virtual CScnRenderingOpt* getPreviewRenderingOpt() = 0;
    virtual CScnRenderingOpt* getPerspectiveViewsOpt() = 0;
    virtual CScnPanoramaRenderingOpt* getPanoramaRenderingOpt() = 0;
    virtual CScnRenderingOpt* getAnimationsOpt() = 0;
    virtual CScnRenderingOpt* getViewObjectsOpt() = 0;
    virtual TScnObjectMgr<IScnAnimation>* getAnimations() = 0;
    virtual TScnObjectMgr<IScnPanorama>* getPanoramas() = 0;
    // The 16 values of the transformation applied to vectors read from files, row-major.
    virtual const double* getMatrix() = 0;
    // Copies the 16 values; the transformation is active unless the matrix is the identity.
    virtual void setMatrix(const double* matrix) = 0;
    virtual TScnObjectMgr<IScnBBMgrData>* getBillboards() = 0;
    virtual IScnInsertionObject* getInsertionObject() = 0;
    // The same list as CScnMgr::getParallelViews.
    virtual TScnObjectMgr<IScnParallelView>* getParallelViewsEx() = 0;
    virtual CScnParallelViewRenderingOpt* getParallelViewsOptImpl() = 0;
    // Reads a shader document into the property; false after a report on failure.
    virtual bool readShader(CScnProperty* property, CScnStream* stream) = 0;
    // Writes the property's shader document; false after a report on failure.
    virtual bool writeShader(CScnProperty* property, CScnStream* stream) = 0;
    virtual CScnRenderingOpt* getPanoramaOpt() = 0;
    virtual CScnRenderingOpt* getParallelViewsOpt() = 0;
    virtual TScnObjectMgr<IScnParallelView>* getWorkingWindowViews() = 0;
    // Appends a new property to the scratch list used for shader documents.
    virtual CScnProperty* newScratchProperty() = 0;
    // Removes that property from the scratch list.
    virtual void removeScratchProperty(CScnProperty* property) = 0;
    // Whether the file being read was written by a library older than 2.0.2.
    virtual bool isOlderThan202() = 0;

protected:
    ~CScnMgrEx() {}
};

}  // namespace NvScn

extern "C" {
// Plain-function entry points, one to one with the static members of NvScn::CScnMgr.
SCN_API NvScn::CScnMgr* scn_new_mgr(int32_t clientVersion, NvScn::CScnFeedback* feedback,
                                    NvScn::CScnExtStorage* storage);
SCN_API int32_t scn_get_version();
SCN_API int32_t scn_get_extended_version();
SCN_API const NvScn::CScnFileType* const* scn_get_file_type_list();
SCN_API bool scn_check_format(NvScn::CScnStream* stream, char* buffer, int32_t bufferSize);
SCN_API bool scn_check_format2(NvScn::CScnStream* stream, NvScn::eReadability* verdict,
                               NvScn::CScnVersion* version, char* buffer, int32_t bufferSize);
SCN_API NvScn::IScnImage* scn_read_preview_image(NvScn::CScnStream* stream);
// Installs the process-wide receiver of the library's diagnostics (faults at level 0, notices at
// level 1) that have no other channel; null removes it. The library installs none itself.
SCN_API void scn_set_diagnostic_sink(void (*sink)(void* context, int level, const char* text),
                                     void* context);
}

#endif
