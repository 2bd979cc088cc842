#include "GSScnFileStream.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>

GSScnFileStream::GSScnFileStream(const IO::Location& location, int32_t mode)
{
    mFile = new (std::nothrow) IO::File(location, mode == 1 ? IO::File::Create : IO::File::Fail);
    if (mFile == nullptr) {
        throw GS::OutOfMemoryException();
    }
    mFile->Open(mode == 1 ? IO::File::WriteMode : IO::File::ReadMode, IO::NoAskOnAccessDenied);
    if (mFile->GetStatus() != NoError) {
        delete mFile;
        mFile = nullptr;
        throw std::runtime_error("Unable to open file");
    }
}

GSScnFileStream::~GSScnFileStream() { close(); }

bool GSScnFileStream::close()
{
    if (mFile != nullptr) {
        if (mFile->Close() != NoError) {
            mWriteFailed = true;
        }
        delete mFile;
        mFile = nullptr;
    }
    return !mWriteFailed;
}

bool GSScnFileStream::getName(char* buffer, int32_t bufferSize)
{
    IO::Location location;
    IO::Name name;
    if (mFile == nullptr || buffer == nullptr || mFile->GetLocation(&location) != NoError ||
        location.GetLastLocalName(&name) != NoError) {
        return false;
    }
    const std::string& text = name.ToString();
    if (bufferSize <= 0 || text.size() + 1 > static_cast<std::size_t>(bufferSize)) {
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

NvScn::CScnStream* GSScnFileStream::openSecondaryStream(const char* fileName, int32_t mode)
{
    if (mFile == nullptr || fileName == nullptr) {
        return nullptr;
    }
    try {
        IO::Location location;
        if (mFile->GetLocation(&location) != NoError ||
            location.SetLastLocalName(IO::Name(fileName)) != NoError) {
            return nullptr;
        }
        return new GSScnFileStream(location, mode);
    } catch (...) {
        return nullptr;
    }
}

void GSScnFileStream::release() { delete this; }

void GSScnFileStream::setTypeInfo(uint32_t fileType, uint32_t creator)
{
    if (mFile != nullptr) {
        mFile->SetTypeAndCreator(fileType, creator);
    }
}

int32_t GSScnFileStream::read(void* buffer, int32_t size)
{
    if (mFile == nullptr || buffer == nullptr || size <= 0) {
        return 0;
    }
    int32_t done = 0;
    mFile->ReadBin(static_cast<char*>(buffer), size, &done);
    return done;
}

void GSScnFileStream::write(const void* buffer, int32_t size)
{
    if (mFile != nullptr && buffer != nullptr && size > 0 &&
        mFile->WriteBin(static_cast<const char*>(buffer), size) != NoError) {
        mWriteFailed = true;
    }
}

int64_t GSScnFileStream::getPosition()
{
    int32_t position = 0;
    if (mFile == nullptr || mFile->GetPosition(&position) != NoError) {
        return 0;
    }
    return position;
}

void GSScnFileStream::setPosition(int64_t position)
{
    if (mFile != nullptr && mFile->Seek(IO::File::FromStart, position) != NoError) {
        report("CScnFileStream::setPosition (Can't set pos)");
    }
}

void GSScnFileStream::report(const char* text)
{
    std::puts(text);
}
