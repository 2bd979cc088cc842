// The state of the stand-in host, shared by its services.
#ifndef CADHOST_HOST_STATE_H
#define CADHOST_HOST_STATE_H

#include "CADHost.h"
#include "InputOutput.h"
#include "ResourceText.h"

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cadhost {

struct ResourceModule {
    std::string path;
    ResourceSet resources;
};

struct HostState {
    std::string hostFolder;
    std::string driveRoot;
    std::string language = "def";
    std::string debugLog;
    std::string transcript;
    std::deque<UserAction> script;
    std::map<GSResModule, ResourceModule> modules;
    GSResModule nextModule = 1;
    GSResModule activeModule = HostResModule;
    Project project;
    std::vector<RegisteredFileType> fileTypes;
    struct Handler3D {
        APIIO3DCommandProc proc;
        std::string addOn;
    };
    std::map<int32_t, Handler3D> handlers3D;
    // The add-on being loaded (token 0 is accepted from it until it is initialised).
    std::string loadingName;
    uint32_t nextToken = 0x4B530001;
    std::map<uint32_t, std::string> tokens;   // token to add-on name
    uint32_t recentToken = 0;   // the token last found in tokens, for the services called per item; 0 none
    // The vertices of the 3D component body last asked for, for the per-vertex component calls:
    // valid while the project's model is vertexModel and its current body vertexBody.
    const void* vertexModel = nullptr;
    int32_t vertexBody = 0;
    int32_t vertexCount = 0;
    const void* vertices = nullptr;
    std::map<std::string, GSResModule> addOnModules;  // the host's copy of each add-on's resources
    // FTM type i + 1; the host knows TIFF images from the start.
    std::vector<FTM::FileType> fileTypeTable{
        FTM::FileType("TIFF File", "tif", GSFourCC("TIFF"), GSFourCC("8BIM"), 0, "image/tiff")};
    GSErrCode lastHandleError = NoError;
    // The modeler's views and model data alive, and how it answers.
    int32_t liveSights = 0;
    int32_t liveModelData = 0;
    ModelerControl modeler;
    // The progress window shown on a terminal; null when not shown.
    std::FILE* progressStream = nullptr;
    // The locations GREN hands out for the background pictures.
    IO::Location backgroundLocation[2];
};

// The one host of the process; never destroyed, so that modules unloaded at exit still reach it.
// Inline, for the services called per item; the first call creates it.
extern std::atomic<HostState*> gHostState;
HostState& createHost();
inline HostState& host()
{
    HostState* state = gHostState.load(std::memory_order_acquire);
    return state != nullptr ? *state : createHost();
}

// The resources of a registered module (ActiveResModule: the active one); null when none.
const ResourceSet* resourcesOf(GSResModule module);

// Reads a whole file; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string* content);
// Creates the folder and its parents.
bool makeFolders(const std::string& path);

}  // namespace cadhost

#endif
