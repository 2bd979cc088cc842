// File services of the CAD host over POSIX: locations, names, files, folders, the file system and
// the file-type manager. Windows drive paths ("c:\source\config.ini") are mapped onto a folder of
// the host (see cadhost::setDriveRoot).
#ifndef CADHOST_INPUT_OUTPUT_H
#define CADHOST_INPUT_OUTPUT_H

#include "GSRoot.h"

#include <cstdint>
#include <string>

namespace IO {

// One local name of a location (a file or folder name).
class GSROOT_API Name {
public:
    Name() = default;
    Name(const GS::UniString& name) : mName(name.ToCStr()) {}
    Name(const char* name) : mName(name ? name : "") {}
    // The host's 8-bit form.
    const std::string& ToString() const { return mName; }
    GS::UniString ToUniString() const { return GS::UniString(mName.c_str()); }
    // The name without its last extension.
    Name WithoutExtension() const;
    bool IsEmpty() const { return mName.empty(); }

private:
    std::string mName;
};

// The place of a file or folder, held as an absolute host path.
class GSROOT_API Location {
public:
    Location() = default;
    // From a host path or a Windows drive path; an empty or relative text gives an empty location.
    explicit Location(const GS::UniString& path);
    explicit Location(const char* path);

    bool IsEmpty() const { return mPath.empty(); }
    // The path as the host shows it; ErrParam for an empty location.
    GSErrCode ToPath(GS::UniString* path) const;
    // The location as a "file://" URL.
    GSErrCode ToURL(GS::UniString* url) const;
    GSErrCode GetLastLocalName(Name* name) const;
    GSErrCode SetLastLocalName(const Name& name);
    GSErrCode DeleteLastLocalName();
    GSErrCode AppendToLocal(const Name& name);
    // The absolute POSIX path behind the location.
    const std::string& HostPath() const { return mPath; }
    bool operator==(const Location& other) const { return mPath == other.mPath; }

private:
    std::string mPath;
};

// What a file does when its access is denied: 0 fail, 1 ask the user, 2 fail without asking.
enum AccessDeniedTreatment { FailOnAccessDenied = 0, AskOnAccessDenied = 1, NoAskOnAccessDenied = 2 };

// A file of the host; the status tells whether construction and the last operation went well.
class GSROOT_API File {
public:
    enum OnNotFound { Fail = 0, Create = 1 };
    // Read: from the start; Write: emptied first, written from the start; ReadWrite: both.
    enum OpenMode { ReadMode = 0, WriteMode = 1, ReadWriteMode = 2 };
    enum PositionMode { FromStart = 0, FromCurrent = 1, FromEnd = 2 };

    File(const Location& location, OnNotFound onNotFound = Fail);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    GSErrCode GetStatus() const { return mStatus; }
    GSErrCode GetLocation(Location* location) const;
    GSErrCode Open(OpenMode mode, AccessDeniedTreatment treatment = FailOnAccessDenied);
    GSErrCode Close();
    bool IsOpen() const { return mDescriptor >= 0; }
    // Reads up to size bytes; *read receives the count (0 at the end).
    GSErrCode ReadBin(char* buffer, int32_t size, int32_t* read = nullptr);
    GSErrCode WriteBin(const char* buffer, int32_t size);
    GSErrCode Seek(PositionMode mode, int64_t position);
    GSErrCode GetPosition(int32_t* position) const;
    GSErrCode GetDataLength(uint64_t* length) const;
    // Keeps the file's type and creator codes with the open file (this platform has none).
    GSErrCode SetTypeAndCreator(uint32_t type, uint32_t creator);
    void GetTypeAndCreator(uint32_t* type, uint32_t* creator) const;

private:
    Location mLocation;
    GSErrCode mStatus = NoError;
    int mDescriptor = -1;
    bool mCreateWhenMissing = false;
    uint32_t mType = 0;
    uint32_t mCreator = 0;
};

// A folder of the host, created on request.
class GSROOT_API Folder {
public:
    enum OnNotFound { Fail = 0, Create = 1 };
    Folder(const Location& location, OnNotFound onNotFound = Fail);
    GSErrCode GetStatus() const { return mStatus; }

private:
    GSErrCode mStatus;
};

// The host's file system.
class GSROOT_API FileSystem {
public:
    // Deletes a file or an empty folder; NoError when nothing is there.
    GSErrCode Delete(const Location& location) const;
    GSErrCode CreateFolder(const Location& location) const;
    // Moves a file to another location of the same volume, replacing a file that is there.
    GSErrCode Move(const Location& from, const Location& to) const;
    // Whether something exists at the location.
    bool Contains(const Location& location) const;
};

GSROOT_API extern FileSystem fileSystem;

}  // namespace IO

namespace FTM {

using TypeID = int32_t;
using GroupID = int32_t;
GSROOT_API extern const TypeID UnknownType;   // 0
GSROOT_API extern const GroupID RootGroup;    // 0

// A file type: description, extension (without dot), type and creator codes, icon.
struct GSROOT_API FileType {
    FileType(const char* description, const char* extension, uint32_t macType, uint32_t creator,
             int32_t iconId, const char* mimeType = nullptr);
    std::string description;
    std::string extension;
    uint32_t macType;
    uint32_t creator;
    int32_t iconId;
    std::string mimeType;
};

// A named manager of file types, as a program or add-on keeps them for its dialogs.
class GSROOT_API FileTypeManager {
public:
    explicit FileTypeManager(const char* name);
    ~FileTypeManager();
    FileTypeManager(const FileTypeManager&) = delete;
    FileTypeManager& operator=(const FileTypeManager&) = delete;
    // Registers the type under the group; UnknownType when the host refuses it.
    TypeID AddType(const FileType& type, GroupID group = RootGroup);
    // The type of a registered MIME type in any manager; UnknownType when none.
    static TypeID SearchForMime(const char* mimeType);
    // The type registered under that number; null when none.
    static const FileType* GetType(TypeID id);

private:
    std::string mName;
};

}  // namespace FTM

#endif
