// Doubles for the geometry block tests: XML streams over memory, a recording external storage,
// a fake processor clock and a scoped process locale.
#ifndef SCN_TEST_GEOMETRY_BLOCK_SUPPORT_H
#define SCN_TEST_GEOMETRY_BLOCK_SUPPORT_H

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ScnMgr.h"
#include "ScnXML.h"
#include "model/Geometry.h"
#include "platform/Platform.h"

namespace ScnTest {

// Collects written bytes; from failAfter bytes on it accepts only part of a write.
class MemoryWriteStream : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override
    {
        ++writes;
        int32_t accepted = length;
        if (failAfter >= 0 && bytes_.size() + static_cast<size_t>(length) > static_cast<size_t>(failAfter)) {
            accepted = static_cast<int32_t>(std::max<int64_t>(0, failAfter - static_cast<int64_t>(bytes_.size())));
        }
        bytes_.append(static_cast<const char*>(bytes), static_cast<size_t>(accepted));
        return accepted;
    }
    const std::string& bytes() const { return bytes_; }

    int64_t failAfter = -1;
    int writes = 0;

private:
    std::string bytes_;
};

// Delivers bytes from memory, at most chunk bytes per read.
class MemoryReadStream : public NuvoraXML::CXMLReadStream {
public:
    explicit MemoryReadStream(std::string text, int32_t chunk = 1 << 30)
        : mText(std::move(text)), mChunk(chunk)
    {
    }
    int32_t Read(void* buffer, int32_t length) override
    {
        size_t count = std::min({static_cast<size_t>(std::max(length, 0)), mText.size() - mPosition,
                                 static_cast<size_t>(mChunk)});
        std::memcpy(buffer, mText.data() + mPosition, count);
        mPosition += count;
        ++reads;
        return static_cast<int32_t>(count);
    }
    int reads = 0;

private:
    std::string mText;
    int32_t mChunk;
    size_t mPosition = 0;
};

// A point or polygon store that records every call in order; the get operations answer from
// its own geometry, and any operation can be told to answer false at one index.
class RecordingStorage : public NvScn::CScnExtStorage {
public:
    struct Polygon {
        bool smoothed = false;
        int32_t material = 0;
        std::vector<std::vector<NvScn::CScnVertex>> loops;
    };

    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID*, int32_t level) override
    {
        calls.push_back("setCurrentInternalComponentInstance " + std::to_string(level));
        return true;
    }
    void setNbPoints(NvScn::CScnMgr*, int32_t count) override { calls.push_back("setNbPoints " + std::to_string(count)); }
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector* point, int32_t index) override
    {
        calls.push_back("addPoint " + std::to_string(index));
        points.push_back(*point);
        return index != refuseAt;
    }
    void setNbPolygons(NvScn::CScnMgr*, int32_t count) override
    {
        calls.push_back("setNbPolygons " + std::to_string(count));
    }
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon* polygon, int32_t index) override
    {
        calls.push_back("addPolygon " + std::to_string(index));
        polygons.push_back(copy(*static_cast<const NvScn::CPolygon*>(polygon)));
        return index != refuseAt;
    }
    int32_t getNbPoints(NvScn::CScnMgr*) override
    {
        calls.push_back("getNbPoints");
        return declaredPoints >= 0 ? declaredPoints : static_cast<int32_t>(points.size());
    }
    bool fillPoint(NvScn::CScnMgr*, NvScn::CScnVector* point, int32_t index) override
    {
        calls.push_back("fillPoint " + std::to_string(index));
        if (static_cast<size_t>(index) < points.size()) {
            *point = points[index];
        }
        return index != refuseAt;
    }
    int32_t getNbPolygons(NvScn::CScnMgr*) override
    {
        calls.push_back("getNbPolygons");
        return static_cast<int32_t>(polygons.size());
    }
    bool fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon* target, int32_t index) override
    {
        calls.push_back("fillPolygon " + std::to_string(index));
        auto* polygon = static_cast<NvScn::CPolygon*>(target);
        sawClearedRecord = sawClearedRecord && polygon->vertices().size() == 0 &&
                           polygon->holes().size() == 0 && !polygon->smoothed() &&
                           polygon->propertyIndex() == 0;
        apply(polygons[index], *polygon);
        return index != refuseAt;
    }

    // Fills an empty polygon from its description.
    static void apply(const Polygon& source, NvScn::CPolygon& polygon)
    {
        polygon.setSmoothed(source.smoothed);
        polygon.setPropertyIndex(source.material);
        for (size_t loop = 0; loop < source.loops.size(); ++loop) {
            NvScn::TScnObjectMgr<NvScn::CScnVertex>* vertices =
                loop == 0 ? polygon.getVertices() : polygon.holes().appendItem()->getVertices();
            for (const NvScn::CScnVertex& vertex : source.loops[loop]) {
                *vertices->newScnObject(NvScn::kScnLastIndex) = vertex;
            }
        }
    }

    static Polygon copy(const NvScn::CPolygon& polygon)
    {
        Polygon result;
        result.smoothed = polygon.smoothed();
        result.material = polygon.propertyIndex();
        auto loopOf = [](const auto& vertices) {
            return std::vector<NvScn::CScnVertex>(vertices.data(), vertices.data() + vertices.size());
        };
        result.loops.push_back(loopOf(polygon.vertices()));
        for (uint32_t i = 0; i < polygon.holes().size(); ++i) {
            result.loops.push_back(loopOf(polygon.holes().at(i)->vertices()));
        }
        return result;
    }

    std::vector<std::string> calls;
    std::vector<NvScn::CScnVector> points;
    std::vector<Polygon> polygons;
    int32_t refuseAt = -1;
    int32_t declaredPoints = -1;
    bool sawClearedRecord = true;
};

// The text of the failure that action throws, "(no failure)" when it throws none.
inline std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(no failure)";
}

// The reports a feedback received, as " warns: first | second", or nothing.
inline std::string warningsOf(const std::vector<std::string>& warnings)
{
    std::string text;
    for (const std::string& warning : warnings) {
        text += (text.empty() ? " warns: " : " | ") + warning;
    }
    return text;
}

// A number as "%.*g" would write it in the C locale, whatever the process locale is.
inline std::string gText(double value, int precision)
{
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision).ptr);
}

// A polygon as text: material, smoothing and loops; a vertex is its point index, then "I" for
// the marker and "M(u,v)" for mapping.
inline std::string describe(const RecordingStorage::Polygon& polygon)
{
    std::string text = "m" + std::to_string(polygon.material) + (polygon.smoothed ? " smooth" : "");
    for (const auto& loop : polygon.loops) {
        text += " [";
        for (size_t i = 0; i < loop.size(); ++i) {
            const NvScn::CScnVertex& vertex = loop[i];
            text += (i ? " " : "") + std::to_string(vertex.pointIndex);
            if (vertex.flags & NvScn::kScnVertexMarker) {
                text += "I";
            }
            if (vertex.flags & NvScn::kScnVertexMapped) {
                text += "M(" + gText(vertex.u, 6) + "," + gText(vertex.v, 6) + ")";
            }
        }
        text += "]";
    }
    return text;
}

inline std::string describe(const NvScn::CPolygon& polygon)
{
    return describe(RecordingStorage::copy(polygon));
}

inline std::string describe(const NvScn::CScnVector& point)
{
    return "(" + gText(point.x, 17) + "," + gText(point.y, 17) + "," + gText(point.z, 17) + ")";
}

// A processor clock that the test moves: each reading advances it by step milliseconds.
struct FakeClock {
    static inline uint32_t now = 0;
    static inline uint32_t step = 0;
    static uint32_t read()
    {
        uint32_t value = now;
        now += step;
        return value;
    }
};

// Installs the fake clock for the scope of a test.
class ScopedFakeClock {
public:
    explicit ScopedFakeClock(uint32_t start = 0, uint32_t step = 0)
    {
        FakeClock::now = start;
        FakeClock::step = step;
        mPrevious = Nuvora::setClockSource(&FakeClock::read);
    }
    ~ScopedFakeClock() { Nuvora::setClockSource(mPrevious); }

private:
    Nuvora::ClockSource mPrevious;
};

}  // namespace ScnTest

#endif
