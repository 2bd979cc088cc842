// Fuzzes the load of a scene: any input must be read or refused without a crash, with and without
// an external storage; detection must leave the stream where it was; a scene that was read must
// save, and reading what it saved must not crash either (the XML parser accepts some names that
// the writer cannot give back, so that second read may refuse).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Scn.h"

namespace {

using namespace NvScn;

// A client stream over bytes in memory; its siblings hold the same bytes.
class BytesStream : public CScnStream {
public:
    explicit BytesStream(std::string bytes, bool secondary = false) : mBytes(std::move(bytes)), mSecondary(secondary) {}
    bool getName(char*, int32_t) override { return false; }
    CScnStream* openSecondaryStream(const char*, int32_t) override { return new BytesStream(mBytes, true); }
    void release() override
    {
        if (mSecondary) {
            delete this;
        }
    }
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
    bool mSecondary;
};

class QuietFeedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char* text) override { last = text; }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
    std::string last;
};

// A storage that takes everything and hands out a small fixed geometry.
class SinkStorage : public CScnExtStorage {
public:
    bool setCurrentInternalComponentInstance(CScnMgr*, const CScnUUID*, int32_t) override { return true; }
    void setNbPoints(CScnMgr*, int32_t) override {}
    bool addPoint(CScnMgr*, const CScnVector*, int32_t) override { return true; }
    void setNbPolygons(CScnMgr*, int32_t) override {}
    bool addPolygon(CScnMgr*, const CScnPolygon*, int32_t) override { return true; }
    int32_t getNbPoints(CScnMgr*) override { return 2; }
    bool fillPoint(CScnMgr*, CScnVector* point, int32_t index) override
    {
        point->x = index;
        return true;
    }
    int32_t getNbPolygons(CScnMgr*) override { return 0; }
    bool fillPolygon(CScnMgr*, CScnPolygon*, int32_t) override { return true; }
};

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void readSaveAndReadAgain(const std::string& input, CScnExtStorage* storage)
{
    QuietFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, storage);
    BytesStream stream(input);
    if (manager->read(&stream) == 0) {
        BytesStream saved("");
        require(manager->write(&saved) == 0);
        CScnMgr* again = CScnMgr::create(&feedback, storage);
        BytesStream reread(saved.bytes());
        again->read(&reread);
        again->release();
    }
    BytesStream blocks(input);
    SinkStorage sink;
    manager->readDataBlocks(&blocks, &sink);
    manager->release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    BytesStream stream("#" + input);
    stream.setPosition(1);
    eReadability verdict = eNotScnFile;
    CScnVersion version{};
    char description[16];
    CScnMgr::checkFormat2(&stream, &verdict, &version, description, sizeof description);
    require(stream.getPosition() == 1);
    CScnMgr::checkFormat(&stream, description, sizeof description);
    require(stream.getPosition() == 1);

    readSaveAndReadAgain(input, nullptr);
    SinkStorage storage;
    readSaveAndReadAgain(input, &storage);
    return 0;
}
