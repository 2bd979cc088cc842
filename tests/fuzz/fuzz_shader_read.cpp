// Fuzzes the reader of shader documents: any input must be read or refused without a crash or a
// leak; a tree that was read must write, and reading what it wrote must give the same document
// again; a copy of the material must write the same document too.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Scn.h"

namespace {

using namespace NvScn;

// A client stream over bytes in memory.
class BytesStream : public CScnStream {
public:
    explicit BytesStream(std::string bytes) : mBytes(std::move(bytes)) {}
    bool getName(char*, int32_t) override { return false; }
    CScnStream* openSecondaryStream(const char*, int32_t) override { return nullptr; }
    void release() override {}
    void setTypeInfo(uint32_t, uint32_t) override {}
    int32_t read(void* buffer, int32_t size) override
    {
        if (size <= 0 || mPosition >= mBytes.size()) {
            return 0;
        }
        size_t count = std::min(static_cast<size_t>(size), mBytes.size() - mPosition);
        std::memcpy(buffer, mBytes.data() + mPosition, count);
        mPosition += count;
        return static_cast<int32_t>(count);
    }
    void write(const void* buffer, int32_t size) override
    {
        mBytes.append(static_cast<const char*>(buffer), static_cast<size_t>(size));
    }
    int64_t getPosition() override { return static_cast<int64_t>(mPosition); }
    void setPosition(int64_t position) override { mPosition = position < 0 ? 0 : static_cast<size_t>(position); }

    const std::string& bytes() const { return mBytes; }

private:
    std::string mBytes;
    size_t mPosition = 0;
};

class QuietFeedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char*) override {}
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
};

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QuietFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    CScnMgrEx* extended = manager->getMgrEx(eCurrentExtendedVersionSCN);
    CScnProperty* material = extended->newScratchProperty();
    material->setTextureURL("file:///previous.tif");
    BytesStream input(std::string(reinterpret_cast<const char*>(data), size));
    if (extended->readShader(material, &input)) {
        BytesStream written("");
        require(extended->writeShader(material, &written));
        CScnProperty* again = extended->newScratchProperty();
        BytesStream reread(written.bytes());
        require(extended->readShader(again, &reread));
        BytesStream rewritten("");
        require(extended->writeShader(again, &rewritten));
        require(rewritten.bytes() == written.bytes());
        CScnProperty* copy = extended->newScratchProperty();
        copy->copyFrom(material);
        BytesStream copied("");
        require(extended->writeShader(copy, &copied));
        require(copied.bytes() == written.bytes());
        extended->removeScratchProperty(copy);
        extended->removeScratchProperty(again);
    } else {
        // A refused document leaves the previous tree.
        require(std::strcmp(material->getTextureURL(), "file:///previous.tif") == 0);
    }
    extended->removeScratchProperty(material);
    manager->release();
    return 0;
}
