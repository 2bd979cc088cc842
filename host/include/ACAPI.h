// The add-on interface of the CAD host: the two functions an add-on exports, the table of services
// the host hands over, and the records that pass through the services. docs/host.md lists every
// record's layout.
#ifndef CADHOST_ACAPI_H
#define CADHOST_ACAPI_H

#include "GSRoot.h"
#include "InputOutput.h"

#include <cstddef>
#include <cstdint>

namespace Modeler {
// The 3D view of the host; the model is taken from it (GSModeler.h).
class Sight;
}  // namespace Modeler

// Number of entries in the service table.
constexpr int kACServiceCount = 432;

// Every service has this form: the add-on token first, then up to four parameters whose meaning
// depends on the entry. An entry the host does not provide answers APIERR_MISSINGCODE.
using ACServiceProc = GSErrCode (*)(uint32_t token, void* par1, void* par2, void* par3, void* par4);

// Service entries by number.
enum ACServiceEntry : int {
    kACRegisterFileType = 11,       // par1: const API_FileTypeRecord*
    kACInstallFileTypeHandler3D = 32,  // par1: reference (integer), par2: APIIO3DCommandProc*
    kACRemoveFileTypeHandler3D = 33,   // par1: reference (integer)
    kACSetPreferences = 52,         // par1: version (integer), par2: size (integer), par3: bytes
    kACGetPreferences = 53,         // par1: int32* version, par2: int32* size (in: capacity), par3: buffer or null
    kACEnvironment = 71,            // par1: selector (GWIN, GDAT, CDAT, GOFS), par2/par3: records
    kAC3DSettings = 72,             // par1: selector (GP3D, GREN, GMAP, GPLA, GSUN), par2/par3: records
    kACProgressWindow = 73,         // par1: selector (IPWD, SPRP, SPRV, CANC, CPWD), par2/par3: values
    kACAttributeByIndex = 92,       // par1: API_Attribute* with type and index set
    kACElementList = 141,           // par1: element type (integer), par2: int32* count, par3: API_Guid* array or null
    kACElementByIndex = 144,        // par1: API_Element* with type and index, or GUID, set
    kAC3DComponentCount = 221,      // par1: component type (integer), par2: int32* count
    kAC3DComponent = 222,           // par1: API_Component3D* with type and index set
};

// Selectors of entries 71, 72 and 73.
constexpr GSType kSelGWIN = GSFourCC("GWIN");
constexpr GSType kSelGDAT = GSFourCC("GDAT");
constexpr GSType kSelCDAT = GSFourCC("CDAT");
constexpr GSType kSelGOFS = GSFourCC("GOFS");
constexpr GSType kSelGP3D = GSFourCC("GP3D");
constexpr GSType kSelGREN = GSFourCC("GREN");
constexpr GSType kSelGMAP = GSFourCC("GMAP");
constexpr GSType kSelGPLA = GSFourCC("GPLA");
constexpr GSType kSelGSUN = GSFourCC("GSUN");
constexpr GSType kSelIPWD = GSFourCC("IPWD");
constexpr GSType kSelSPRP = GSFourCC("SPRP");
constexpr GSType kSelSPRV = GSFourCC("SPRV");
constexpr GSType kSelCANC = GSFourCC("CANC");
constexpr GSType kSelCPWD = GSFourCC("CPWD");

// The record the host hands to the environment check (1408 bytes).
struct API_EnvirParams {
    int32_t serverKind;          // 0 the CAD application, 1 the stand-alone modeler
    int32_t serverVersion;       // 14
    int32_t serverBuild;
    int32_t reserved0;
    char16_t addOnName[256];     // written by the add-on, zero-terminated
    char16_t addOnDescription[256];
    char reserved[1408 - 16 - 1024];
};
static_assert(sizeof(API_EnvirParams) == 1408, "environment record");

// The record an add-on fills in GetExportedFuncAddrs (60 bytes): word 0 the format 0x000E0001,
// words 1 to 4 the environment check, the interface registration, the initialisation and the
// release, word 5 the host version the add-on was written for (14000). Functions do not fit a
// 32-bit word on this platform: a word holds the function's offset from the module's load address,
// as a relative address does in a module of the host's home platform.
struct API_ExportedFuncs {
    uint32_t words[15];
};
static_assert(sizeof(API_ExportedFuncs) == 60, "exported functions record");

// The four entry functions.
using APICheckEnvironmentProc = int32_t (*)(API_EnvirParams* envir);
using APIRegisterInterfaceProc = GSErrCode (*)();
using APIInitializeProc = GSErrCode (*)(uint32_t token);
using APIFreeDataProc = GSErrCode (*)();

// GetExportedFuncAddrs and SetImportedFuncAddrs, as the host finds them in the module.
using APIGetExportedFuncAddrsProc = void (*)(API_ExportedFuncs* record);
using APISetImportedFuncAddrsProc = GSErrCode (*)(const ACServiceProc* table);

// Entry 11: a file type the add-on handles.
struct API_FileTypeRecord {
    int32_t refCon;
    uint32_t fileType;
    uint32_t creator;
    const char* extension;     // without the dot
    int32_t iconId;
    GSResID descriptionListId; // string list of the add-on's resources
    int32_t descriptionItem;
    int32_t flags;             // 48: 3D save
};

// The parameters of a file-type handler call (88 bytes).
struct API_IOParams {
    int32_t method;            // 5 saving the 3D projection, 6 saving from the front window
    int32_t refCon;            // the reference given at installation
    IO::Location* fileLoc;     // the target file
    GS::UniString* fileName;   // its name
    int32_t noDialog;          // non-zero: no dialog may be shown
    int32_t reserved0;
    char reserved[88 - 32];
};
static_assert(sizeof(API_IOParams) == 88, "input/output parameters");

// A 3D file-type handler.
using APIIO3DCommandProc = GSErrCode (*)(const API_IOParams* params, Modeler::Sight* sight);

// GWIN: the kind of the front window.
enum API_WindowKind : int32_t { API_FloorPlanWindow = 1, API_SectionWindow = 2, API_DetailWindow = 3,
                                API_3DWindow = 4 };

// GOFS: the project origin offset, metres.
struct API_Coord {
    double x;
    double y;
};

struct API_RGB {
    double red;                // 0 to 1
    double green;
    double blue;
};

// GREN: rendering settings (88 bytes); index 0 and 1 are the two records of the project.
struct API_RenderingSettings {
    int32_t index;             // 0 or 1, which record
    int32_t engine;
    uint8_t shadows;           // lights cast traced shadows
    uint8_t useBackgroundPicture;
    uint8_t atmosphere;        // fog and atmosphere on
    uint8_t reserved0[5];
    uint8_t sun;               // byte 16: the sun shines
    uint8_t lights;            // byte 17: the lamps are on
    uint8_t reserved1[6];
    IO::Location* backgroundPicture;  // null when none
    API_RGB skyColor;
    API_RGB groundColor;
    uint8_t reserved2[8];
};
static_assert(sizeof(API_RenderingSettings) == 88, "rendering settings");
static_assert(offsetof(API_RenderingSettings, sun) == 16, "sun flag");
static_assert(offsetof(API_RenderingSettings, lights) == 17, "lights flag");

// GP3D: the 3D projection.
struct API_3DProjectionInfo {
    uint8_t isPersp;           // 0 parallel, 1 perspective
    uint8_t reserved0[7];
    double cameraX, cameraY, cameraZ;   // metres
    double targetX, targetY, targetZ;   // metres
    double rollAngle;          // degrees
    double focal;              // the value the scene camera's focal takes
    double azimuth;            // radians
    double distance;           // metres
};
static_assert(sizeof(API_3DProjectionInfo) == 88, "projection");

// GPLA: the project's place and date.
struct API_PlaceInfo {
    int32_t cityIndex;         // city attribute (type 7)
    int32_t dayOfYear;         // 0 for the first of January, 364 for the last of December
    int32_t minuteOfDay;       // 0 to 1439, local time
    uint8_t daylightSaving;
    uint8_t reserved0[3];
    double northAngle;         // radians, counter-clockwise from the x axis
    double reserved1[2];
};
static_assert(sizeof(API_PlaceInfo) == 40, "place");

// GSUN: the sun and sky.
struct API_SunInfo {
    API_RGB sunColor;
    API_RGB ambient;           // the sky's contribution
    API_RGB fogColor;
    int32_t atmosphereKind;    // 0 none, 1 light, 2 medium, 3 heavy
    int32_t reserved0;
};
static_assert(sizeof(API_SunInfo) == 80, "sun");

// Attribute types of entry 92.
enum API_AttrTypeID : int32_t { API_LayerID = 2, API_MaterialID = 6, API_CityID = 7 };

// Entry 92: an attribute by type and index (1-based).
struct API_Attribute {
    int32_t typeID;
    int32_t index;
    char name[256];            // 8-bit form
    int16_t longitude;         // cities: minutes of arc, east positive
    int16_t latitude;          // minutes of arc, north positive
    int16_t timeZone;          // minutes
    int16_t reserved0;
};

// A GUID of the host.
struct API_Guid {
    uint8_t bytes[16];
};

// Element types of entries 141 and 144: the model's elements by their type (as in the model walk),
// cameras and camera sets.
enum API_ElemTypeID : int32_t { API_WallID = 1, API_SlabID = 2, API_RoofID = 3, API_OtherElemID = 4,
                                API_CameraID = 26, API_CamSetID = 27 };

// Entry 144: an element by GUID (when index is 0) or by type and index (1-based).
struct API_Element {
    int32_t typeID;
    int32_t index;
    API_Guid guid;
    API_Guid layerOrSet;       // camera: its set
    int32_t layer;             // model elements: layer attribute index
    int32_t reserved0;
    char name[256];            // camera sets and model elements: their name
    API_Guid nextCamera;       // cameras: the next camera of the set, zero at the end; sets: the first
    double cameraX, cameraY, cameraZ;   // metres
    double targetX, targetY, targetZ;
    double rollAngle;          // degrees
    double viewCone;           // radians, the whole angle of view
};

// 3D component types of entries 221 and 222. Bodies count over the whole model; the vertices of
// entry 222 are those of the body last fetched (1 to its nVert), in the body's own coordinates,
// which its tranmat takes into the model's. Entry 221 counts all vertices of the model.
enum API_3DTypeID : int32_t { API_BodyID = 1, API_VertID = 5, API_UmatID = 7, API_LghtID = 8 };

// Entry 222: a 3D component by type and index (1-based); the part for the type is filled.
struct API_Component3D {
    int32_t typeID;
    int32_t index;
    union {
        struct {
            int32_t nVert;
            int32_t nPgon;
            double tranmat[12];  // 3 rows of 4, translation in the fourth column, metres
        } body;
        struct {
            double x, y, z;
        } vert;
        struct {
            API_RGB surfaceRGB;
            API_RGB specularRGB;
            API_RGB emissionRGB;
            int16_t ambientPc, diffusePc, specularPc, transpPc;  // 0 to 100
            int16_t shine, emissionAtt;                          // 0 to 10000
            int32_t textureIndex;  // 0 none
            double textureRotation; // radians
            char name[256];
        } umat;
        struct {
            int32_t kind;           // 0 parallel, 2 spot, others point (1)
            int32_t reserved0;
            API_RGB lightRGB;
            double posX, posY, posZ;    // metres
            double dirX, dirY, dirZ;    // unit vector
            double length;          // metres the lamp reaches along its direction
            double cosAngle;        // cosine of the spot's cone angle (its whole opening)
        } lght;
    };
};

#endif
