// Fuzzes the load of a scene: any input must be read or refused without a crash, with and without
// an external storage; detection must leave the stream where it was; a scene that was read must
// save, and reading what it saved must not crash either (the XML parser accepts some names that
// the writer cannot give back, so that second read may refuse).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Scn.h"
#include "fuzz/BytesStream.h"
#include "fuzz/FuzzSupport.h"

namespace {

using ScnFuzz::require;

using namespace NvScn;

using ScnFuzz::BytesStream;

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
