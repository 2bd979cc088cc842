// Fuzz target: the Points and Polygons block readers over any bytes. The first byte picks the
// block, the destination (tables or an external storage that may refuse) and the CDATA read
// size; the rest is the block. A block that reads into the tables must write back into text
// that reads again and, from the second cycle on, writes the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "document/GeometryBlock.h"
#include "model/Scene.h"

namespace {

class FuzzReadStream : public NuvoraXML::CXMLReadStream {
public:
    FuzzReadStream(const char* data, size_t size, int32_t chunk) : mData(data), mSize(size), mChunk(chunk) {}
    int32_t Read(void* buffer, int32_t length) override
    {
        size_t count = std::min({mSize - mPosition, static_cast<size_t>(length), static_cast<size_t>(mChunk)});
        std::memcpy(buffer, mData + mPosition, count);
        mPosition += count;
        return static_cast<int32_t>(count);
    }

private:
    const char* mData;
    size_t mSize;
    int32_t mChunk;
    size_t mPosition = 0;
};

class StringWriteStream : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override
    {
        text.append(static_cast<const char*>(bytes), static_cast<size_t>(length));
        return length;
    }
    std::string text;
};

class QuietFeedback : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char*) override {}
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
};

// Accepts items until its limit, checking that indices come in order.
class CountingStorage : public NvScn::CScnExtStorage {
public:
    explicit CountingStorage(int32_t limit) : mLimit(limit) {}
    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID*, int32_t) override { return true; }
    void setNbPoints(NvScn::CScnMgr*, int32_t) override { mNext = 0; }
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector*, int32_t index) override { return take(index); }
    void setNbPolygons(NvScn::CScnMgr*, int32_t) override { mNext = 0; }
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon*, int32_t index) override { return take(index); }
    int32_t getNbPoints(NvScn::CScnMgr*) override { return 0; }
    bool fillPoint(NvScn::CScnMgr*, NvScn::CScnVector*, int32_t) override { return false; }
    int32_t getNbPolygons(NvScn::CScnMgr*) override { return 0; }
    bool fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon*, int32_t) override { return false; }

private:
    bool take(int32_t index)
    {
        if (index != mNext++) {
            __builtin_trap();
        }
        return index < mLimit;
    }
    int32_t mLimit;
    int32_t mNext = 0;
};

// Reads the text into fresh tables; answers whether the block was read.
bool readInto(NvScn::CSCN& scene, const std::string& text, bool polygons, int32_t chunk)
{
    FuzzReadStream in(text.data(), text.size(), chunk);
    try {
        if (polygons) {
            NvScn::readPolygonsBlock(&in, &scene, &scene.polygons());
        } else {
            NvScn::readPointsBlock(&in, &scene, &scene.points());
        }
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

std::string writeFrom(NvScn::CSCN& scene, bool polygons)
{
    StringWriteStream out;
    if (polygons) {
        NvScn::writePolygonsBlock(&out, &scene, &scene.polygons());
    } else {
        NvScn::writePointsBlock(&out, &scene, &scene.points());
    }
    return out.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) {
        return 0;
    }
    bool polygons = (data[0] & 1) != 0;
    bool storage = (data[0] & 2) != 0;
    int32_t chunk = 1 + (data[0] >> 2) * 33;
    std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    QuietFeedback feedback;
    if (storage) {
        CountingStorage store(data[0] >> 4);
        NvScn::CSCN scene(NvScn::eCurrentVersionSCN, &feedback, &store);
        readInto(scene, text, polygons, chunk);
        return 0;
    }
    NvScn::CSCN first(NvScn::eCurrentVersionSCN, &feedback, nullptr);
    if (!readInto(first, text, polygons, chunk)) {
        return 0;
    }
    // What was written reads back; after one more cycle (which settles "-0.0" into "0.0") the
    // text no longer changes.
    std::string written = writeFrom(first, polygons);
    NvScn::CSCN second(NvScn::eCurrentVersionSCN, &feedback, nullptr);
    NvScn::CSCN third(NvScn::eCurrentVersionSCN, &feedback, nullptr);
    if (!readInto(second, written, polygons, 1024)) {
        __builtin_trap();
    }
    std::string settled = writeFrom(second, polygons);
    if (!readInto(third, settled, polygons, 7) || writeFrom(third, polygons) != settled) {
        __builtin_trap();
    }
    return 0;
}
