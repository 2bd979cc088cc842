// Basic records and version numbers shared by every interface of the scene-file library.
#ifndef SCN_BASE_H
#define SCN_BASE_H

#include <cstdint>

#if defined(SCN_BUILDING_LIBRARY)
#define SCN_API __attribute__((visibility("default")))
#else
#define SCN_API
#endif

namespace NvScn {

// Interface version of CScnMgr; a client passes the version its headers were built with.
enum EVersionSCN : int32_t {
    eVersionSCN30 = 30,
    eVersionSCN31 = 31,
    eOldestVersionSCN = eVersionSCN30,
    eCurrentVersionSCN = eVersionSCN31
};

// Interface version of CScnMgrEx, asked for with CScnMgr::getMgrEx.
enum EExtendedVersionSCN : int32_t {
    eExtendedVersionSCN5 = 5,
    eExtendedVersionSCN6 = 6,
    eOldestExtendedVersionSCN = eExtendedVersionSCN5,
    eCurrentExtendedVersionSCN = eExtendedVersionSCN6
};

// Verdict of CScnMgr::checkFormat2 on a file.
enum eReadability : int32_t {
    eNotScnFile = 0,         // not a scene file, or not recognised
    eOlderThan301 = 1,       // written by a library older than 3.0.1
    eOlderThanCurrent = 2,   // written by a library from 3.0.1 up to 3.0.3 excluded
    eCurrentVersion = 3,     // written by this library's version, or a legacy scene file
    eNewerSafe = 4,          // newer library, safe and minimum versions within reach
    eNewerUnsafe = 5,        // newer library, readable but not safely
    eNotReadable = 6,        // needs a newer library, or foreign and too new
    eForeignCreator = 7      // written by another application with a readable library
};

// Index that appends (newScnObject) or names the last object (removeObject).
constexpr uint32_t kScnLastIndex = 0xFFFFFFFFu;

// A library version; compared on (major, minor, patch); text is filled when the version is printed.
struct CScnVersion {
    int32_t major;
    int32_t minor;
    int32_t patch;
    char text[32];
};

// A file type that the library reads or writes; codes hold four characters in reading order.
struct CScnFileType {
    const char* extension;
    uint32_t fileType;
    uint32_t creator;
    int32_t number;
    const char* displayName;
};

// A 16-byte identifier drawn from the operating system's GUID generator, in storage order.
struct CScnUUID {
    uint8_t bytes[16];
};

// A colour: the first byte is always 0, then red, green and blue.
struct CScnColor {
    uint8_t zero;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// A point or direction in scene units (centimetres).
struct CScnVector {
    double x;
    double y;
    double z;
};

// Vertex flag: the vertex carries the "I" marker of the polygon text form.
constexpr uint32_t kScnVertexMarker = 1u;
// Vertex flag: the vertex carries the mapping coordinates u and v.
constexpr uint32_t kScnVertexMapped = 2u;

// One vertex of a polygon loop: 16 bytes, referring to a point by its index.
struct CScnVertex {
    int32_t pointIndex;
    uint32_t flags;
    float u;
    float v;
};

static_assert(sizeof(CScnUUID) == 16, "CScnUUID is 16 bytes");
static_assert(sizeof(CScnColor) == 4, "CScnColor is 4 bytes");
static_assert(sizeof(CScnVector) == 24, "CScnVector is three doubles");
static_assert(sizeof(CScnVertex) == 16, "CScnVertex is 16 bytes");

}  // namespace NvScn

#endif
