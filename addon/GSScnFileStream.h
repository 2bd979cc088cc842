// The scene library's stream over a host file.
#ifndef GS_SCN_FILE_STREAM_H
#define GS_SCN_FILE_STREAM_H

#include "InputOutput.h"

#include <ScnClient.h>

// A stream on one host file, open from construction to destruction.
class GSScnFileStream : public NvScn::CScnStream {
public:
    // Opens the file at location for reading (mode 0) or writing (mode 1, created when missing);
    // raises "Unable to open file" when it cannot be opened.
    GSScnFileStream(const IO::Location& location, int32_t mode);
    ~GSScnFileStream() override;
    GSScnFileStream(const GSScnFileStream&) = delete;
    GSScnFileStream& operator=(const GSScnFileStream&) = delete;

    bool getName(char* buffer, int32_t bufferSize) override;
    NvScn::CScnStream* openSecondaryStream(const char* fileName, int32_t mode) override;
    void release() override;
    void setTypeInfo(uint32_t fileType, uint32_t creator) override;
    int32_t read(void* buffer, int32_t size) override;
    void write(const void* buffer, int32_t size) override;
    int64_t getPosition() override;
    void setPosition(int64_t position) override;

    // Prints a problem of the stream to standard output.
    virtual void report(const char* text);

    // Closes the file; false when a write failed at any time or the file did not close cleanly.
    bool close();

private:
    IO::File* mFile = nullptr;
    bool mWriteFailed = false;
};

#endif
