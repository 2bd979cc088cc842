// Control of the stand-in CAD host, for its runner and for tests: the host's folders, its
// preferences, its project settings, the scripted user of its dialogs, its debug log and
// transcript, and the loading of an add-on module as the host loads it.
#ifndef CADHOST_CADHOST_H
#define CADHOST_CADHOST_H

#include "ACAPI.h"
#include "GSModeler.h"
#include "GSRoot.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace cadhost {

// The folder where the host keeps its preferences and the mapped drives; default
// "$HOME/.cadhost" (or $CADHOST_HOME). Setting it also sets the drive root to "<folder>/drives".
GSROOT_API void setHostFolder(const std::string& folder);
GSROOT_API const std::string& hostFolder();
// The folder onto which Windows drive paths map: "c:\a\b" is "<root>/c/a/b".
GSROOT_API void setDriveRoot(const std::string& folder);
GSROOT_API const std::string& driveRoot();

// The host's "language" preference (root key 1), "def" by default.
GSROOT_API void setLanguage(const std::string& code);
GSROOT_API const std::string& language();

// The debug log: every DBPrintf line, in order.
GSROOT_API const std::string& debugLog();
GSROOT_API void clearDebugLog();

// The transcript: what a person at the host would have seen (dialogs, alerts), as text.
GSROOT_API const std::string& transcript();
GSROOT_API void clearTranscript();
GSROOT_API void appendTranscript(const std::string& text);

// One step of the scripted user.
struct UserAction {
    enum Kind { Click, ChooseFile, CancelFileDialog };
    Kind kind;
    int item = 0;          // Click: the dialog item
    std::string path;      // ChooseFile: the file chosen in the next file dialog
};
// The steps the user takes in the dialogs that follow; a modal dialog runs the steps until one
// closes it, and then the user presses the dialog's first button (Enter). A file dialog takes
// the next ChooseFile or CancelFileDialog step, and is cancelled when the next step is another.
GSROOT_API void setDialogScript(const std::vector<UserAction>& actions);
// Steps not yet taken.
GSROOT_API std::size_t pendingDialogSteps();
// The file dialog's turn: true with the chosen path, false when the user cancels.
GSROOT_API bool takeFileChoice(std::string* path);
// The next click of a modal dialog; false when the script has no step for it.
GSROOT_API bool takeDialogClick(int* item);

class Model;

// What the progress window did: one line per call, except that a run of values keeps only its
// first and its last value. An export sets a value for every item it writes, so a value costs
// two stores: the line of a run's last value is written when the log is read or grows.
class ProgressLog {
public:
    // The lines, the run of values in progress included.
    const std::vector<std::string>& lines() const
    {
        if (mPending) {
            settle();
        }
        return mLines;
    }
    // A call other than a value; it ends a run of values.
    void add(std::string line)
    {
        if (mPending) {
            settle();
        }
        mInRun = false;
        mLastWritten = false;
        mLines.push_back(std::move(line));
    }
    // A value of the progress window.
    void value(int32_t value)
    {
        if (mInRun) {
            mLast = value;
            mPending = true;
            return;
        }
        startRun(value);
    }

private:
    // Writes the first value of a run.
    GSROOT_API void startRun(int32_t value);
    // Writes the run's last value: over its line when a read wrote it already.
    GSROOT_API void settle() const;

    mutable std::vector<std::string> mLines;
    bool mInRun = false;                // the last line is a value's, and a run goes on
    mutable bool mLastWritten = false;  // a read wrote the run's last value, after its first
    mutable bool mPending = false;      // mLast is not in the lines yet
    int32_t mLast = 0;
};

// The project as the host holds it: the records its services answer.
struct Project {
    int32_t windowKind = API_3DWindow;
    int32_t database = 1;
    API_Coord origin = {0.0, 0.0};
    API_RenderingSettings rendering[2];
    // The background pictures of the two rendering records (GREN gives their locations); empty: none.
    std::string backgroundPicture[2];
    API_3DProjectionInfo projection;
    API_PlaceInfo place;
    API_SunInfo sun;
    std::string mapName = "Kestrovin";   // GMAP: the name the host gives the exported map
    std::vector<API_Attribute> layers;
    std::vector<API_Attribute> materials;
    std::vector<API_Attribute> cities;
    std::vector<API_Element> cameraSets;
    std::vector<API_Element> cameras;
    // The 3D model (never null; empty in a fresh project), what it was read from, and what the
    // reading noticed.
    std::shared_ptr<const Model> model;
    std::string modelSource;
    std::string modelFormat;
    std::vector<std::string> modelWarnings;
    // Entry 222: the body last fetched (1-based), to which vertex indices refer; 0 none.
    int32_t currentBody = 0;
    // What the progress window did, and the cancel query's answer.
    ProgressLog progressLog;
    int32_t cancelAnswer = 0;
    // The user presses Cancel at this cancel query (1-based) and the window stays cancelled; 0 never.
    int32_t cancelAfter = 0;
    int32_t cancelQueries = 0;
    Project();
};
GSROOT_API Project& project();
// A fresh project: sun and lights on, perspective view, one city, no model.
GSROOT_API void resetProject();

// How a model file is read.
struct ModelOptions {
    double unit = 0.0;     // metres per file unit; 0: what the file states, else 1
    char upAxis = 0;       // 'y' or 'z': the file's up direction; 0: the format's custom
};
// Reads a model file into a fresh project: any file the import library reads (IFC, OBJ, glTF,
// Collada, FBX, 3DS, PLY, STL, ...) or a host-model file (".json", docs/host-model.md). The
// project takes the file's model, layers, materials, cameras and site, the lights flag on when
// the model has lights, and the file's camera or an automatic perspective view. False with a
// message naming the file and the problem; the project is then fresh and empty.
GSROOT_API bool loadModel(const std::string& path, const ModelOptions& options, std::string* error);
// A fresh project with a generated model of that many polygons (quadrilaterals in bodies of
// grids, on four layers, with four materials, one of them textured), for benchmarks.
GSROOT_API void generateModel(int64_t polygons);
// Sets the 3D projection to a view of the whole model: perspective from the south-east and
// above, or parallel.
GSROOT_API void setAutomaticView(bool perspective);
// Sets the 3D projection to look through the project's camera of that name; false when none.
GSROOT_API bool lookThroughCamera(const std::string& name);
// What the host sees of the project's model, as the runner prints it.
GSROOT_API std::string describeModel();

// A new view onto the project's model, holding one reference for the caller.
GSROOT_API Modeler::Sight* openSight();
// Views and model data (EXPGetModel) not yet released: what a handler left behind.
GSROOT_API int32_t liveSights();
GSROOT_API int32_t liveModelData();
// How the modeler answers, for tests of an add-on facing an older or failing host.
struct ModelerControl {
    bool tableMissing = false;           // EXPGetModelFunctionTable answers null
    int32_t tableVersion = kEXPTableVersion;   // the versions the table states
    int32_t modelVersion = kEXPModelVersion;
    GSErrCode getModelResult = NoError;  // EXPGetModel answers this when not 0
};
GSROOT_API ModelerControl& modeler();

// The progress window on a terminal: when set, each call of entry 73 redraws a progress bar with
// the phase text on that stream (the runner gives standard error when it is a terminal).
GSROOT_API void setProgressDisplay(std::FILE* stream);
// The user presses the progress window's Cancel button (safe in a signal handler).
GSROOT_API void pressCancel();

// Preferences the host keeps for each add-on, in "<host folder>/Preferences/<name>.prefs".
GSROOT_API std::string preferencesPath(const std::string& addOnName);

// What the host hands a 3D file-type handler when the user saves the 3D window as target: the
// parameters with the file's location and name (its last path part), which they point at.
struct GSROOT_API SaveRequest {
    // method 5 saves the 3D projection; noDialog non-zero: no dialog may be shown.
    explicit SaveRequest(const std::string& target, int32_t method = 5, int32_t noDialog = 0);
    SaveRequest(const SaveRequest&) = delete;
    SaveRequest& operator=(const SaveRequest&) = delete;

    IO::Location location;
    GS::UniString name;
    API_IOParams params = {};
};

// An add-on module loaded as the host loads it.
class GSROOT_API AddOn {
public:
    AddOn() = default;
    ~AddOn();
    AddOn(const AddOn&) = delete;
    AddOn& operator=(const AddOn&) = delete;

    // Which stages of the module's life to run.
    enum Stage { Opened, TableHanded, Described, Checked, Registered, Initialized };
    // Opens the module and runs its life up to the stage: SetImportedFuncAddrs,
    // GetExportedFuncAddrs, the environment check, the interface registration, the
    // initialisation. False with a message naming the module and the step that failed.
    bool load(const std::string& path, Stage upTo = Initialized);
    // Releases (when initialised) and closes the module.
    void unload(bool release = true);
    bool isLoaded() const { return mHandle != nullptr; }
    const std::string& error() const { return mError; }

    // The functions of the module, valid once described.
    APIGetExportedFuncAddrsProc getExported = nullptr;
    APISetImportedFuncAddrsProc setImported = nullptr;
    APICheckEnvironmentProc checkEnvironment = nullptr;
    APIRegisterInterfaceProc registerInterface = nullptr;
    APIInitializeProc initialize = nullptr;
    APIFreeDataProc freeData = nullptr;
    // What the module answered.
    API_ExportedFuncs exported = {};
    API_EnvirParams environment = {};
    int32_t checkResult = 0;
    GSErrCode registerResult = NoError;
    GSErrCode initializeResult = NoError;
    uint32_t token = 0;
    // The module's resources, registered by the host for its own lookups.
    GSResModule resources = InvalidResModule;
    uint32_t identifier[2] = {0, 0};

    // The add-on's name and description as written into the environment record (8-bit form).
    std::string name() const;
    std::string description() const;
    // Runs the 3D file-type handler installed for that reference; APIERR_GENERAL when none.
    GSErrCode save3D(int32_t refCon, const API_IOParams& params, Modeler::Sight* sight);

private:
    void* mHandle = nullptr;
    std::string mPath;
    std::string mError;
};

// A file type registered through entry 11, with its description resolved.
struct RegisteredFileType {
    API_FileTypeRecord record;
    std::string extension;
    std::string description;
    uint32_t token;
    std::string addOn;
};
GSROOT_API const std::vector<RegisteredFileType>& registeredFileTypes();
// The 3D handler installed for a reference; null when none.
GSROOT_API APIIO3DCommandProc installedHandler3D(int32_t refCon);

// The service table the host hands to add-ons.
GSROOT_API const ACServiceProc* serviceTable();
// Replaces one entry of the table (for tests of a failing host) and answers the previous one;
// null restores the host's own service.
GSROOT_API ACServiceProc overrideService(int entry, ACServiceProc service);

}  // namespace cadhost

#endif
