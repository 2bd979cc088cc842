// A scene stream over a file of the local file system, for the command-line tools and samples.
#ifndef SCN_TOOLS_FILE_STREAM_H
#define SCN_TOOLS_FILE_STREAM_H

#include <cstdio>
#include <memory>
#include <string>

#include "ScnClient.h"

namespace ScnTools {

// A buffered, seekable file; sibling files open in the same folder. A stream made by open is
// destroyed by its owner; one made by openSecondaryStream is destroyed by release.
class FileStream : public NvScn::CScnStream {
public:
    // mode "rb" reads, "wb" writes (creating or emptying the file); null when the file cannot be
    // opened, with the system's reason in error when given.
    static FileStream* open(const std::string& path, const char* mode, std::string* error = nullptr);
    ~FileStream() override;
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    bool getName(char* buffer, int32_t bufferSize) override;
    // Mode 0 reads; any other mode writes.
    NvScn::CScnStream* openSecondaryStream(const char* fileName, int32_t mode) override;
    void release() override;
    void setTypeInfo(uint32_t fileType, uint32_t creator) override;
    int32_t read(void* buffer, int32_t size) override;
    void write(const void* buffer, int32_t size) override;
    int64_t getPosition() override;
    void setPosition(int64_t position) override;

    // Whether every write so far reached the file; close reports the final flush too.
    bool good() const { return mGood; }
    // Flushes and closes; false when a write failed at any time.
    bool close();

private:
    FileStream(std::FILE* file, std::string path, bool secondary);

    std::FILE* mFile;
    std::string mPath;
    bool mSecondary;
    bool mGood = true;
};

// Opens path as FileStream::open does; when it cannot, prints "scntool: cannot open PATH: REASON"
// to standard error and answers null.
std::unique_ptr<FileStream> openFile(const std::string& path, const char* mode);

}  // namespace ScnTools

#endif
