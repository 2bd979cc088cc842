#include <cstring>
#include <memory>
#include <new>

#include "document/GeometryBlock.h"
#include "document/GeometryProgress.h"
#include "document/TokenMessages.h"
#include "document/TokenNumbers.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

using TokenNumbers::kIntCapacity;
using TokenNumbers::kRealCapacity;
using TokenNumbers::putInt;
using TokenNumbers::putReal;

namespace {

// Bytes gathered before each write to the stream.
constexpr size_t kOutputSize = 64 * 1024;
// Room for one point record: line feed, three reals.
constexpr size_t kPointRoom = 1 + 3 * kRealCapacity;
// Room for one vertex: "I ", "M ", two reals and the point index.
constexpr size_t kVertexRoom = 4 + 2 * kRealCapacity + kIntCapacity;
// Room for a polygon's head: marker, tab, material index and loop count.
constexpr size_t kPolygonHeadRoom = 2 + 2 * kIntCapacity;

// The block's output: numbers are formatted straight into a buffer that goes to the stream in
// large pieces; a short write fails with the message of the current stage.
class CBlockOutput {
public:
    explicit CBlockOutput(NuvoraXML::XIXMLWriteStream* stream)
        : mStream(Nuvora::checkPointer(stream, TokenMsg::kNullBlockStream)),
          mBuffer(new char[kOutputSize])
    {
    }

    // Room for at least size bytes (at most kOutputSize); write there, then commit.
    char* room(size_t size)
    {
        if (kOutputSize - mUsed < size) {
            flush();
        }
        return mBuffer.get() + mUsed;
    }
    void commit(char* end) { mUsed = static_cast<size_t>(end - mBuffer.get()); }

    void put(const char* text, size_t length) { commit(static_cast<char*>(std::memcpy(room(length), text, length)) + length); }

    void flush()
    {
        if (mUsed == 0) {
            return;
        }
        auto length = static_cast<int32_t>(mUsed);
        mUsed = 0;
        if (mStream->Write(mBuffer.get(), length) != length) {
            Nuvora::fail(mFailure);
        }
    }

    // The message of a short write from now on.
    void setFailure(const char* message) { mFailure = message; }

private:
    NuvoraXML::XIXMLWriteStream* mStream;
    std::unique_ptr<char[]> mBuffer;
    size_t mUsed = 0;
    const char* mFailure = TokenMsg::kCantWriteCharacter;
};

// A line feed, the count and its space.
void putCount(CBlockOutput& out, int32_t count)
{
    char* p = out.room(1 + kIntCapacity);
    *p++ = '\n';
    out.commit(putInt(p, count));
}

char* putVector(char* p, const CScnVector& point)
{
    p = putReal(p, point.x);
    p = putReal(p, point.y);
    return putReal(p, point.z);
}

// Writes one loop (outer or hole): its count, then each vertex with its markers.
template <class Loop>
void putLoop(CBlockOutput& out, const Loop& vertices)
{
    uint32_t count = vertices.size();
    out.commit(putInt(out.room(kIntCapacity), static_cast<int32_t>(count)));
    const CScnVertex* vertex = vertices.data();
    for (uint32_t i = 0; i < count; ++i, ++vertex) {
        char* p = out.room(kVertexRoom);
        if ((vertex->flags & kScnVertexMarker) != 0) {
            *p++ = 'I';
            *p++ = ' ';
        }
        if ((vertex->flags & kScnVertexMapped) != 0) {
            *p++ = 'M';
            *p++ = ' ';
            p = putReal(p, vertex->u);
            p = putReal(p, vertex->v);
        }
        out.commit(putInt(p, vertex->pointIndex));
    }
}

// One polygon record and its line feed.
void putPolygon(CBlockOutput& out, CSCN* scene, const CPolygon& polygon)
{
    // Most polygons have no hole manager at all.
    const CHoleMgr* holes = polygon.hasHoles() ? &polygon.holes() : nullptr;
    uint32_t holeCount = holes != nullptr ? holes->size() : 0;
    char* p = out.room(kPolygonHeadRoom);
    if (holeCount > 0) {
        if (polygon.smoothed() && scene != nullptr) {
            scene->warning(TokenMsg::kHoledPolygonSmoothed);
        }
        *p++ = 'h';
        *p++ = '\t';
        p = putInt(p, polygon.propertyIndex());
        p = TokenNumbers::putDigits(p, holeCount + 1u);
        *p++ = ' ';
    } else {
        *p++ = polygon.smoothed() ? 'o' : 'p';
        *p++ = '\t';
        p = putInt(p, polygon.propertyIndex());
    }
    out.commit(p);
    putLoop(out, polygon.vertices());
    for (uint32_t i = 0; i < holeCount; ++i) {
        putLoop(out, holes->at(i)->vertices());
    }
    out.put("\n", 1);
}

void putPointsFromTable(CBlockOutput& out, CSCN* scene, const CPointMgr& points)
{
    uint32_t count = points.size();
    putCount(out, static_cast<int32_t>(count));
    out.put("\n", 1);
    CBlockProgress progress(scene, count, CBlockProgress::kPointsOffset);
    for (uint32_t i = 0; i < count; ++i) {
        char* p = putVector(out.room(kPointRoom), *points.at(i));
        *p++ = '\n';
        out.commit(p);
        progress.step(i);
    }
    progress.finish();
}

void putPointsFromStorage(CBlockOutput& out, CSCN* scene, CScnExtStorage* storage)
{
    CScnMgr* manager = scene->asMgr();
    int32_t count = storage->getNbPoints(manager);
    putCount(out, count);
    CBlockProgress progress(scene, count, CBlockProgress::kPointsOffset);
    for (int32_t i = 0; i < count; ++i) {
        CScnVector point{0.0, 0.0, 0.0};
        if (!storage->fillPoint(manager, &point, i)) {
            Nuvora::fail(TokenMsg::kStorageCancel);
        }
        char* p = out.room(kPointRoom);
        *p++ = '\n';
        out.commit(putVector(p, point));
        progress.step(i);
    }
    out.put("\n", 1);
    progress.finish();
}

void putPolygonsFromTable(CBlockOutput& out, CSCN* scene, const CPolygonMgr& polygons)
{
    uint32_t count = polygons.size();
    putCount(out, static_cast<int32_t>(count));
    out.put("\n", 1);
    CBlockProgress progress(scene, count, CBlockProgress::kPolygonsOffset);
    out.setFailure(TokenMsg::kErrorWritingPolygon);
    for (uint32_t i = 0; i < count; ++i) {
        putPolygon(out, scene, *polygons.at(i));
        progress.step(i);
    }
    out.setFailure(TokenMsg::kCantWriteCharacter);
    progress.finish();
}

CPolygon* appendRecord(CPolygonMgr& records)
{
    try {
        return records.appendItem();
    } catch (const std::bad_alloc&) {
        Nuvora::fail(Msg::kNoMemory);
    }
}

void putPolygonsFromStorage(CBlockOutput& out, CSCN* scene, CScnExtStorage* storage)
{
    CScnMgr* manager = scene->asMgr();
    int32_t count = storage->getNbPolygons(manager);
    putCount(out, count);
    out.put("\n", 1);
    CBlockProgress progress(scene, count, CBlockProgress::kPolygonsOffset);
    // The record lives in a table of its own, as every polygon does.
    CPolygonMgr records(scene);
    CPolygon& record = *appendRecord(records);
    out.setFailure(TokenMsg::kCantWritePolygon);
    for (int32_t i = 0; i < count; ++i) {
        record.clear();
        if (!storage->fillPolygon(manager, &record, i)) {
            Nuvora::fail(TokenMsg::kStorageCancel);
        }
        putPolygon(out, scene, record);
        progress.step(i);
    }
    out.setFailure(TokenMsg::kCantWriteCharacter);
    progress.finish();
}

CScnExtStorage* storageOf(CSCN* scene)
{
    return scene != nullptr ? scene->getExternalStorage() : nullptr;
}

}  // namespace

void writePointsBlock(NuvoraXML::XIXMLWriteStream* stream, CSCN* scene, const CPointMgr* points,
                      bool ownTable)
{
    CBlockOutput out(stream);
    if (CScnExtStorage* storage = ownTable ? nullptr : storageOf(scene)) {
        putPointsFromStorage(out, scene, storage);
    } else {
        putPointsFromTable(out, scene, *Nuvora::checkPointer(points, TokenMsg::kNullPointTable));
    }
    out.flush();
}

void writePolygonsBlock(NuvoraXML::XIXMLWriteStream* stream, CSCN* scene,
                        const CPolygonMgr* polygons, bool ownTable)
{
    CBlockOutput out(stream);
    if (CScnExtStorage* storage = ownTable ? nullptr : storageOf(scene)) {
        putPolygonsFromStorage(out, scene, storage);
    } else {
        putPolygonsFromTable(out, scene,
                             *Nuvora::checkPointer(polygons, TokenMsg::kNullPolygonTable));
    }
    out.flush();
}

}  // namespace NvScn
