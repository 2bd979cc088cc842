#include "FileStream.h"

#include <cerrno>
#include <cstring>

namespace ScnTools {

namespace {

// The stdio buffer of a file: large pieces for the parser's reads and the writer's writes.
constexpr size_t kFileBuffer = 1 << 20;

std::string folderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

FileStream* FileStream::open(const std::string& path, const char* mode, std::string* error)
{
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr) {
        if (error != nullptr) {
            *error = std::strerror(errno);
        }
        return nullptr;
    }
    std::setvbuf(file, nullptr, _IOFBF, kFileBuffer);
    return new FileStream(file, path, false);
}

FileStream::FileStream(std::FILE* file, std::string path, bool secondary)
    : mFile(file), mPath(std::move(path)), mSecondary(secondary)
{
}

FileStream::~FileStream()
{
    close();
}

bool FileStream::close()
{
    if (mFile != nullptr) {
        if (std::fclose(mFile) != 0) {
            mGood = false;
        }
        mFile = nullptr;
    }
    return mGood;
}

bool FileStream::getName(char* buffer, int32_t bufferSize)
{
    size_t slash = mPath.find_last_of('/');
    std::string name = slash == std::string::npos ? mPath : mPath.substr(slash + 1);
    if (buffer == nullptr || name.empty() || bufferSize <= 0 || name.size() >= static_cast<size_t>(bufferSize)) {
        return false;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return true;
}

NvScn::CScnStream* FileStream::openSecondaryStream(const char* fileName, int32_t mode)
{
    if (fileName == nullptr || *fileName == '\0') {
        return nullptr;
    }
    std::string path = folderOf(mPath) + fileName;
    std::FILE* file = std::fopen(path.c_str(), mode == 0 ? "rb" : "wb");
    if (file == nullptr) {
        return nullptr;
    }
    std::setvbuf(file, nullptr, _IOFBF, kFileBuffer);
    return new FileStream(file, path, true);
}

void FileStream::release()
{
    if (mSecondary) {
        delete this;
    }
}

void FileStream::setTypeInfo(uint32_t, uint32_t) {}

int32_t FileStream::read(void* buffer, int32_t size)
{
    if (mFile == nullptr || buffer == nullptr || size <= 0) {
        return 0;
    }
    return static_cast<int32_t>(std::fread(buffer, 1, static_cast<size_t>(size), mFile));
}

void FileStream::write(const void* buffer, int32_t size)
{
    if (mFile == nullptr || buffer == nullptr || size <= 0) {
        return;
    }
    if (std::fwrite(buffer, 1, static_cast<size_t>(size), mFile) != static_cast<size_t>(size)) {
        mGood = false;
    }
}

int64_t FileStream::getPosition()
{
    return mFile != nullptr ? static_cast<int64_t>(ftello(mFile)) : 0;
}

void FileStream::setPosition(int64_t position)
{
    if (mFile != nullptr) {
        fseeko(mFile, static_cast<off_t>(position), SEEK_SET);
    }
}

std::unique_ptr<FileStream> openFile(const std::string& path, const char* mode)
{
    std::string error;
    std::unique_ptr<FileStream> stream(FileStream::open(path, mode, &error));
    if (!stream) {
        std::fprintf(stderr, "scntool: cannot open %s: %s\n", path.c_str(), error.c_str());
    }
    return stream;
}

}  // namespace ScnTools
