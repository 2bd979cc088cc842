// Adapters between the client's stream and the XML streams, both ways.
#ifndef NUVORA_XML_STREAMS_H
#define NUVORA_XML_STREAMS_H

#include <cstdint>

#include "ScnClient.h"
#include "ScnXML.h"

namespace NuvoraXML {

// An XML write stream over the client's stream; every write is reported as complete.
class CSCNXMLWriteStream : public XIXMLWriteStream {
public:
    explicit CSCNXMLWriteStream(NvScn::CScnStream* stream) : mStream(stream) {}
    int32_t Write(const void* bytes, int32_t length) override;

private:
    NvScn::CScnStream* mStream;
};

// An XML read stream over the client's stream; requests pass unchanged.
class CSCNXMLReadStream : public CXMLReadStream {
public:
    explicit CSCNXMLReadStream(NvScn::CScnStream* stream) : mStream(stream) {}
    int32_t Read(void* buffer, int32_t length) override;

private:
    NvScn::CScnStream* mStream;
};

// The client-stream operations a data block has no use for: no name, no siblings, no type.
class CScnBlockStream : public NvScn::CScnStream {
public:
    bool getName(char* buffer, int32_t bufferSize) override;
    NvScn::CScnStream* openSecondaryStream(const char* fileName, int32_t mode) override;
    // Does nothing: the owner of the adapter destroys it.
    void release() override;
    void setTypeInfo(uint32_t fileType, uint32_t creator) override;
};

// A client-style stream over an XML write stream, so token text can be written into a data
// block; writes are gathered in 2048 bytes.
class CScnXMLWriteStream : public CScnBlockStream {
public:
    static constexpr int32_t kBufferSize = 2048;

    explicit CScnXMLWriteStream(XIXMLWriteStream* stream);
    // Flushes; a failure here is reported as a diagnostic, never thrown.
    ~CScnXMLWriteStream() override;

    // Writes what is gathered; a short write fails with "Can't write character".
    void flush();

    // Reads nothing: the stream only writes.
    int32_t read(void* buffer, int32_t size) override;
    void write(const void* buffer, int32_t size) override;
    // The number of bytes written so far.
    int64_t getPosition() override { return mWritten; }
    // Ignored: a data block is written front to back.
    void setPosition(int64_t position) override;

private:
    void writeThrough(const char* bytes, int32_t size);

    XIXMLWriteStream* mStream;
    char mBuffer[kBufferSize];
    int32_t mUsed;
    int64_t mWritten;
};

// A client-style stream over a CDATA read stream, so token text can be read from a data block;
// it reads through a 1024-byte window and can seek back up to 512 bytes.
class CScnXMLReadStream : public CScnBlockStream {
public:
    static constexpr int32_t kWindowSize = 1024;
    static constexpr int32_t kKeptSize = 512;

    explicit CScnXMLReadStream(CXMLReadStream* stream);

    int32_t read(void* buffer, int32_t size) override;
    // Drops the bytes: the stream only reads.
    void write(const void* buffer, int32_t size) override;
    // The number of bytes delivered so far, less any seek back.
    int64_t getPosition() override;
    // Moves within the window (at most 512 bytes back, or forward over bytes already read);
    // fails otherwise.
    void setPosition(int64_t position) override;

private:
    // Brings more bytes into the window; false at the end of the data.
    bool refill();

    CXMLReadStream* mStream;
    char mWindow[kWindowSize];
    int32_t mPos;
    int32_t mFill;
    int64_t mBase;
    bool mEnd;
};

}  // namespace NuvoraXML

#endif
