#include "support/TestSupport.h"

#include <algorithm>
#include <cstring>

namespace ScnTest {

void RecordingFeedback::warning(NvScn::CScnMgr* manager, const char* text)
{
    warnings.emplace_back(text != nullptr ? text : "(null)");
    warningManagers.push_back(manager);
}

bool RecordingFeedback::progress(NvScn::CScnMgr*, int32_t value, int32_t maximum)
{
    progressCalls.emplace_back(value, maximum);
    return progressAnswer ? progressAnswer(progressCalls.size() - 1) : true;
}

MemoryStream::MemoryStream(std::string bytes, std::string name)
    : mBytes(std::move(bytes)), mName(std::move(name))
{
}

bool MemoryStream::getName(char* buffer, int32_t bufferSize)
{
    if (mName.empty() || bufferSize < 0 || mName.size() + 1 > static_cast<size_t>(bufferSize)) {
        return false;
    }
    std::memcpy(buffer, mName.c_str(), mName.size() + 1);
    return true;
}

NvScn::CScnStream* MemoryStream::openSecondaryStream(const char* fileName, int32_t)
{
    openedNames.emplace_back(fileName != nullptr ? fileName : "");
    auto found = siblings.find(openedNames.back());
    if (found == siblings.end()) {
        return nullptr;
    }
    auto* stream = new MemoryStream(found->second, found->first);
    stream->mParent = this;
    return stream;
}

void MemoryStream::release()
{
    if (mParent != nullptr) {
        ++mParent->releasedSecondaries;
        delete this;
    }
}

void MemoryStream::setTypeInfo(uint32_t fileType, uint32_t creator)
{
    typeCode = fileType;
    creatorCode = creator;
}

int32_t MemoryStream::read(void* buffer, int32_t size)
{
    if (size <= 0 || mPosition >= mBytes.size()) {
        return 0;
    }
    size_t count = std::min(static_cast<size_t>(size), mBytes.size() - mPosition);
    if (maxReadChunk > 0) {
        count = std::min(count, static_cast<size_t>(maxReadChunk));
    }
    std::memcpy(buffer, mBytes.data() + mPosition, count);
    mPosition += count;
    return static_cast<int32_t>(count);
}

void MemoryStream::write(const void* buffer, int32_t size)
{
    if (size <= 0) {
        return;
    }
    if (mPosition > mBytes.size()) {
        mBytes.resize(mPosition);
    }
    mBytes.replace(mPosition, std::min(static_cast<size_t>(size), mBytes.size() - mPosition),
                   static_cast<const char*>(buffer), static_cast<size_t>(size));
    mPosition += static_cast<size_t>(size);
}

int64_t MemoryStream::getPosition()
{
    return static_cast<int64_t>(mPosition);
}

void MemoryStream::setPosition(int64_t position)
{
    mPosition = position < 0 ? 0 : static_cast<size_t>(position);
}

}  // namespace ScnTest
