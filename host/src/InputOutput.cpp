// Locations, files, folders and file types of the host over POSIX.
#include "InputOutput.h"
#include "HostState.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

GSErrCode errorOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrAccessDenied;
    case ENOENT:
    case ENOTDIR:
        return ErrNotFound;
    case ENOMEM:
        return ErrMemoryFull;
    default:
        return ErrIO;
    }
}

// A host path from a POSIX or Windows drive path; empty for anything else.
std::string hostPathOf(const std::string& text)
{
    std::string path;
    if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' &&
        (text.size() == 2 || text[2] == '\\' || text[2] == '/')) {
        path = cadhost::driveRoot() + "/" +
               static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        for (std::size_t i = 2; i < text.size(); ++i) {
            path += text[i] == '\\' ? '/' : text[i];
        }
    } else if (!text.empty() && text[0] == '/') {
        path = text;
    } else {
        return std::string();
    }
    std::string clean;
    for (char c : path) {
        if (c == '/' && !clean.empty() && clean.back() == '/') {
            continue;
        }
        clean += c;
    }
    while (clean.size() > 1 && clean.back() == '/') {
        clean.pop_back();
    }
    return clean;
}

}  // namespace

namespace IO {

FileSystem fileSystem;

Name Name::WithoutExtension() const
{
    const std::size_t dot = mName.rfind('.');
    return Name(dot == std::string::npos || dot == 0 ? mName.c_str() : mName.substr(0, dot).c_str());
}

Location::Location(const GS::UniString& path) : mPath(hostPathOf(path.ToCStr())) {}

Location::Location(const char* path) : mPath(path != nullptr ? hostPathOf(path) : std::string()) {}

GSErrCode Location::ToPath(GS::UniString* path) const
{
    if (path == nullptr || mPath.empty()) {
        return ErrParam;
    }
    *path = GS::UniString(mPath.c_str());
    return NoError;
}

GSErrCode Location::ToURL(GS::UniString* url) const
{
    if (url == nullptr || mPath.empty()) {
        return ErrParam;
    }
    static const char hex[] = "0123456789ABCDEF";
    std::string text = "file://";
    for (unsigned char c : mPath) {
        if (std::isalnum(c) || std::strchr("/-._~:", c) != nullptr) {
            text += static_cast<char>(c);
        } else {
            text += '%';
            text += hex[c >> 4];
            text += hex[c & 15];
        }
    }
    *url = GS::UniString(text.c_str());
    return NoError;
}

GSErrCode Location::GetLastLocalName(Name* name) const
{
    const std::size_t slash = mPath.rfind('/');
    if (name == nullptr || mPath.empty() || slash + 1 >= mPath.size()) {
        return ErrParam;
    }
    *name = Name(mPath.substr(slash + 1).c_str());
    return NoError;
}

GSErrCode Location::SetLastLocalName(const Name& name)
{
    if (DeleteLastLocalName() != NoError) {
        return ErrParam;
    }
    return AppendToLocal(name);
}

GSErrCode Location::DeleteLastLocalName()
{
    const std::size_t slash = mPath.rfind('/');
    if (mPath.empty() || slash == std::string::npos || mPath.size() == 1) {
        return ErrParam;
    }
    mPath.resize(slash == 0 ? 1 : slash);
    return NoError;
}

GSErrCode Location::AppendToLocal(const Name& name)
{
    const std::string& local = name.ToString();
    if (mPath.empty() || local.empty() || local == "." || local == ".." ||
        local.find('/') != std::string::npos) {
        return ErrParam;
    }
    if (mPath.back() != '/') {
        mPath += '/';
    }
    mPath += local;
    return NoError;
}

File::File(const Location& location, OnNotFound onNotFound)
    : mLocation(location), mCreateWhenMissing(onNotFound == Create)
{
    struct stat info;
    if (location.IsEmpty()) {
        mStatus = ErrParam;
    } else if (::stat(location.HostPath().c_str(), &info) != 0 && !mCreateWhenMissing) {
        mStatus = errorOf(errno);
    }
}

File::~File() { Close(); }

GSErrCode File::GetLocation(Location* location) const
{
    if (location == nullptr) {
        return ErrParam;
    }
    *location = mLocation;
    return NoError;
}

GSErrCode File::Open(OpenMode mode, AccessDeniedTreatment)
{
    if (mLocation.IsEmpty()) {
        return mStatus = ErrParam;
    }
    Close();
    int flags = O_CLOEXEC;
    if (mode == ReadMode) {
        flags |= O_RDONLY;
    } else if (mode == WriteMode) {
        flags |= O_WRONLY | O_TRUNC;
    } else {
        flags |= O_RDWR;
    }
    if (mCreateWhenMissing && mode != ReadMode) {
        flags |= O_CREAT;
    }
    const int descriptor = ::open(mLocation.HostPath().c_str(), flags, 0666);
    if (descriptor < 0) {
        return mStatus = errorOf(errno);
    }
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return mStatus = ErrIO;
    }
    mDescriptor = descriptor;
    return mStatus = NoError;
}

GSErrCode File::Close()
{
    if (mDescriptor < 0) {
        return NoError;
    }
    const int result = ::close(mDescriptor);
    mDescriptor = -1;
    return result == 0 ? NoError : ErrIO;
}

GSErrCode File::ReadBin(char* buffer, int32_t size, int32_t* read)
{
    int32_t done = 0;
    if (read != nullptr) {
        *read = 0;
    }
    if (mDescriptor < 0 || buffer == nullptr || size < 0) {
        return mStatus = ErrParam;
    }
    while (done < size) {
        const ssize_t n = ::read(mDescriptor, buffer + done, static_cast<std::size_t>(size - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            mStatus = errorOf(errno);
            break;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<int32_t>(n);
    }
    if (read != nullptr) {
        *read = done;
    }
    return done == size ? NoError : (mStatus != NoError ? mStatus : ErrIO);
}

GSErrCode File::WriteBin(const char* buffer, int32_t size)
{
    if (mDescriptor < 0 || buffer == nullptr || size < 0) {
        return mStatus = ErrParam;
    }
    int32_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(mDescriptor, buffer + done, static_cast<std::size_t>(size - done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return mStatus = errorOf(errno);
        }
        done += static_cast<int32_t>(n);
    }
    return NoError;
}

GSErrCode File::Seek(PositionMode mode, int64_t position)
{
    if (mDescriptor < 0) {
        return ErrParam;
    }
    const int whence = mode == FromStart ? SEEK_SET : mode == FromCurrent ? SEEK_CUR : SEEK_END;
    if (::lseek(mDescriptor, static_cast<off_t>(position), whence) < 0) {
        return errorOf(errno);
    }
    return NoError;
}

GSErrCode File::GetPosition(int32_t* position) const
{
    if (mDescriptor < 0 || position == nullptr) {
        return ErrParam;
    }
    const off_t at = ::lseek(mDescriptor, 0, SEEK_CUR);
    if (at < 0 || at > INT32_MAX) {
        return ErrIO;
    }
    *position = static_cast<int32_t>(at);
    return NoError;
}

GSErrCode File::GetDataLength(uint64_t* length) const
{
    struct stat info;
    if (mDescriptor < 0 || length == nullptr || ::fstat(mDescriptor, &info) != 0) {
        return ErrParam;
    }
    *length = static_cast<uint64_t>(info.st_size);
    return NoError;
}

GSErrCode File::SetTypeAndCreator(uint32_t type, uint32_t creator)
{
    mType = type;
    mCreator = creator;
    return NoError;
}

void File::GetTypeAndCreator(uint32_t* type, uint32_t* creator) const
{
    if (type != nullptr) {
        *type = mType;
    }
    if (creator != nullptr) {
        *creator = mCreator;
    }
}

Folder::Folder(const Location& location, OnNotFound onNotFound)
{
    struct stat info;
    if (location.IsEmpty()) {
        mStatus = ErrParam;
    } else if (::stat(location.HostPath().c_str(), &info) == 0) {
        mStatus = S_ISDIR(info.st_mode) ? NoError : ErrIO;
    } else if (onNotFound == Create) {
        mStatus = fileSystem.CreateFolder(location);
    } else {
        mStatus = errorOf(errno);
    }
}

GSErrCode FileSystem::Delete(const Location& location) const
{
    if (location.IsEmpty()) {
        return ErrParam;
    }
    const char* path = location.HostPath().c_str();
    struct stat info;
    if (::lstat(path, &info) != 0) {
        return errno == ENOENT ? NoError : errorOf(errno);
    }
    const int result = S_ISDIR(info.st_mode) ? ::rmdir(path) : ::unlink(path);
    return result == 0 ? NoError : errorOf(errno);
}

GSErrCode FileSystem::CreateFolder(const Location& location) const
{
    if (location.IsEmpty()) {
        return ErrParam;
    }
    if (::mkdir(location.HostPath().c_str(), 0777) != 0) {
        struct stat info;
        if (errno == EEXIST && ::stat(location.HostPath().c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return NoError;
        }
        return errorOf(errno);
    }
    return NoError;
}

GSErrCode FileSystem::Move(const Location& from, const Location& to) const
{
    if (from.IsEmpty() || to.IsEmpty()) {
        return ErrParam;
    }
    return ::rename(from.HostPath().c_str(), to.HostPath().c_str()) == 0 ? NoError : errorOf(errno);
}

bool FileSystem::Contains(const Location& location) const
{
    struct stat info;
    return !location.IsEmpty() && ::lstat(location.HostPath().c_str(), &info) == 0;
}

}  // namespace IO

namespace FTM {

const TypeID UnknownType = 0;
const GroupID RootGroup = 0;

FileType::FileType(const char* description, const char* extension, uint32_t macType,
                   uint32_t creator, int32_t iconId, const char* mimeType)
    : description(description != nullptr ? description : ""),
      extension(extension != nullptr ? extension : ""),
      macType(macType),
      creator(creator),
      iconId(iconId),
      mimeType(mimeType != nullptr ? mimeType : "")
{
}

FileTypeManager::FileTypeManager(const char* name) : mName(name != nullptr ? name : "") {}

FileTypeManager::~FileTypeManager() = default;

TypeID FileTypeManager::AddType(const FileType& type, GroupID group)
{
    if (mName.empty() || group != RootGroup || type.description.empty() || type.extension.empty() ||
        type.extension.find('.') != std::string::npos) {
        return UnknownType;
    }
    std::vector<FileType>& table = cadhost::host().fileTypeTable;
    table.push_back(type);
    return static_cast<TypeID>(table.size());
}

TypeID FileTypeManager::SearchForMime(const char* mimeType)
{
    const std::vector<FileType>& table = cadhost::host().fileTypeTable;
    for (std::size_t i = 0; mimeType != nullptr && i < table.size(); ++i) {
        if (table[i].mimeType == mimeType) {
            return static_cast<TypeID>(i + 1);
        }
    }
    return UnknownType;
}

const FileType* FileTypeManager::GetType(TypeID id)
{
    const std::vector<FileType>& table = cadhost::host().fileTypeTable;
    return id >= 1 && static_cast<std::size_t>(id) <= table.size() ? &table[static_cast<std::size_t>(id) - 1] : nullptr;
}

}  // namespace FTM
