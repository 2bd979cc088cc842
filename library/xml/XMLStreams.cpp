#include "xml/XMLStreams.h"

#include <cstring>

#include "platform/Failure.h"
#include "xml/Mine.h"
#include "xml/XMLMessages.h"

namespace NuvoraXML {

// ---- CSCNXMLWriteStream / CSCNXMLReadStream ----

int32_t CSCNXMLWriteStream::Write(const void* bytes, int32_t length)
{
    if (length > 0) {
        mStream->write(bytes, length);
    }
    return length;
}

int32_t CSCNXMLReadStream::Read(void* buffer, int32_t length)
{
    return mStream->read(buffer, length);
}

// ---- CScnBlockStream ----

bool CScnBlockStream::getName(char*, int32_t)
{
    return false;
}

NvScn::CScnStream* CScnBlockStream::openSecondaryStream(const char*, int32_t)
{
    return nullptr;
}

void CScnBlockStream::release() {}

void CScnBlockStream::setTypeInfo(uint32_t, uint32_t) {}

// ---- CScnXMLWriteStream ----

CScnXMLWriteStream::CScnXMLWriteStream(XIXMLWriteStream* stream) : mStream(stream), mUsed(0), mWritten(0)
{
    Nuvora::checkPointer(stream, Msg::kNoStream);
}

CScnXMLWriteStream::~CScnXMLWriteStream()
{
    guardDestructor(Msg::kWriteStreamDestructor, [this] { flush(); });
}

void CScnXMLWriteStream::writeThrough(const char* bytes, int32_t size)
{
    if (mStream->Write(bytes, size) != size) {
        Nuvora::fail(Msg::kCantWrite);
    }
}

void CScnXMLWriteStream::flush()
{
    if (mUsed > 0) {
        int32_t used = mUsed;
        mUsed = 0;
        writeThrough(mBuffer, used);
    }
}

int32_t CScnXMLWriteStream::read(void*, int32_t)
{
    return 0;
}

void CScnXMLWriteStream::write(const void* buffer, int32_t size)
{
    if (buffer == nullptr || size <= 0) {
        return;
    }
    const char* bytes = static_cast<const char*>(buffer);
    if (size <= kBufferSize - mUsed) {
        std::memcpy(mBuffer + mUsed, bytes, static_cast<size_t>(size));
        mUsed += size;
    } else {
        flush();
        if (size <= kBufferSize) {
            std::memcpy(mBuffer, bytes, static_cast<size_t>(size));
            mUsed = size;
        } else {
            writeThrough(bytes, size);
        }
    }
    mWritten += size;
}

void CScnXMLWriteStream::setPosition(int64_t) {}

// ---- CScnXMLReadStream ----

CScnXMLReadStream::CScnXMLReadStream(CXMLReadStream* stream)
    : mStream(stream), mPos(0), mFill(0), mBase(0), mEnd(false)
{
    Nuvora::checkPointer(stream, Msg::kNoStream);
}

void CScnXMLReadStream::write(const void*, int32_t) {}

bool CScnXMLReadStream::refill()
{
    if (mEnd) {
        return false;
    }
    if (mFill == kWindowSize) {
        // Keep the last bytes so the reader can step back over them.
        std::memmove(mWindow, mWindow + kWindowSize - kKeptSize, kKeptSize);
        mBase += kWindowSize - kKeptSize;
        mPos -= kWindowSize - kKeptSize;
        mFill = kKeptSize;
    }
    int32_t got = mStream->Read(mWindow + mFill, kWindowSize - mFill);
    if (got <= 0) {
        mEnd = true;
        return false;
    }
    mFill += got > kWindowSize - mFill ? kWindowSize - mFill : got;
    return true;
}

int32_t CScnXMLReadStream::read(void* buffer, int32_t size)
{
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    char* out = static_cast<char*>(buffer);
    int32_t count = 0;
    while (count < size) {
        if (mPos == mFill && !refill()) {
            break;
        }
        int32_t take = mFill - mPos;
        if (take > size - count) {
            take = size - count;
        }
        std::memcpy(out + count, mWindow + mPos, static_cast<size_t>(take));
        mPos += take;
        count += take;
    }
    return count;
}

int64_t CScnXMLReadStream::getPosition()
{
    return mBase + mPos;
}

void CScnXMLReadStream::setPosition(int64_t position)
{
    if (position < mBase || position > mBase + mFill) {
        Nuvora::fail(Msg::kCantSeek);
    }
    mPos = static_cast<int32_t>(position - mBase);
}

}  // namespace NuvoraXML
