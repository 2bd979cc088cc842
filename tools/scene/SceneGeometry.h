// Scene geometry as the library reads it: an external storage that keeps the points and hands
// each polygon on as it arrives, and the loading of a scene file around it.
#ifndef SCN_TOOLS_SCENE_GEOMETRY_H
#define SCN_TOOLS_SCENE_GEOMETRY_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Scn.h"

namespace ScnTools {

// Keeps the library's reports, to show them when an operation fails.
class Reports : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char* text) override { texts.emplace_back(text != nullptr ? text : ""); }
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
    // Prints every report, indented, to the error output.
    void print() const;

    std::vector<std::string> texts;
};

// Releases a manager when it goes out of scope.
struct ManagerRelease {
    void operator()(NvScn::CScnMgr* manager) const { manager->release(); }
};
using SceneManager = std::unique_ptr<NvScn::CScnMgr, ManagerRelease>;

// The corners of an axis-aligned box; empty until a point is added.
struct Bounds {
    NvScn::CScnVector min = {0, 0, 0};
    NvScn::CScnVector max = {0, 0, 0};
    bool empty = true;

    void add(const NvScn::CScnVector& p);
};

// A polygon of one loop of three corners, as it lies in the lists of whoever hands it over.
struct ArrivingTriangle {
    int32_t material;
    bool smoothed;
    const NvScn::CScnVector* corners;  // three
    const NvScn::CScnVertex* vertices;  // three
};

// A polygon of the file with its corners looked up: the outer loop first, then the holes.
struct ArrivingPolygon {
    int32_t material = 0;
    bool smoothed = false;
    std::vector<NvScn::CScnVector> corners;
    std::vector<NvScn::CScnVertex> vertices;
    std::vector<uint32_t> loopSizes;

    // Becomes the triangle, keeping the lists' room.
    void assign(const ArrivingTriangle& triangle);
};

// Receives the polygons of a file in their order. component is -1 for the scene's own geometry,
// otherwise the number of the internal component in GeometryStorage::components.
class PolygonSink {
public:
    // The geometry of internal component number index, of that identifier, comes next.
    virtual void component(int32_t, const NvScn::CScnUUID&) {}
    virtual void polygon(int32_t component, const ArrivingPolygon& polygon) = 0;
    // Whether the polygon surely leaves no mark, so that a sink that hands polygons on may count
    // it (countUnseen) instead; safe to call on another thread while the sink works.
    virtual bool unseen(int32_t, const ArrivingPolygon&) const { return false; }
    virtual void countUnseen(int64_t) {}
    // A polygon that is a single triangle, so common that it comes without lists to build; by
    // default it is handed to polygon() and unseen().
    virtual void triangle(int32_t component, const ArrivingTriangle& triangle);
    virtual bool unseenTriangle(int32_t component, const ArrivingTriangle& triangle) const;

protected:
    ~PolygonSink() {}
};

// Hands a polygon that the library delivers on to the sink, its corners looked up through
// points, a callable (int32_t index, NvScn::CScnVector& corner) that answers false for a point
// that does not exist: one loop of three corners as a triangle, anything else as a polygon built
// in scratch. False, with nothing handed on, when a corner names no point.
template <class Points>
bool handOnPolygon(const NvScn::CScnPolygon* polygon, Points&& points, int32_t component, PolygonSink& sink,
                   ArrivingPolygon& scratch)
{
    // The library hands a polygon over read-only, but its interface offers the vertex lists only
    // through non-const getters; they do not change the polygon.
    NvScn::CScnPolygon* editable = const_cast<NvScn::CScnPolygon*>(polygon);
    NvScn::TScnObjectMgr<NvScn::CScnVertex>* outer = editable->getVertices();
    NvScn::TScnObjectMgr<NvScn::CScnPolygon::CScnHole>* holes = editable->getHoles();
    int32_t holeCount = holes != nullptr ? holes->getNbObjects() : 0;
    if (holeCount == 0 && outer != nullptr && outer->getNbObjects() == 3) {
        NvScn::CScnVector corners[3];
        NvScn::CScnVertex vertices[3];
        for (uint32_t i = 0; i < 3; ++i) {
            const NvScn::CScnVertex* v = outer->getScnObject(i);
            if (v == nullptr || !points(v->pointIndex, corners[i])) {
                return false;
            }
            vertices[i] = *v;
        }
        sink.triangle(component, {editable->getPropertyIndex(), editable->isSmoothed(), corners, vertices});
        return true;
    }
    scratch.corners.clear();
    scratch.vertices.clear();
    scratch.loopSizes.clear();
    scratch.material = editable->getPropertyIndex();
    scratch.smoothed = editable->isSmoothed();
    auto addLoop = [&](NvScn::TScnObjectMgr<NvScn::CScnVertex>* loop) {
        int32_t count = loop != nullptr ? loop->getNbObjects() : 0;
        for (int32_t i = 0; i < count; ++i) {
            const NvScn::CScnVertex* v = loop->getScnObject(static_cast<uint32_t>(i));
            NvScn::CScnVector corner;
            if (v == nullptr || !points(v->pointIndex, corner)) {
                return false;
            }
            scratch.vertices.push_back(*v);
            scratch.corners.push_back(corner);
        }
        scratch.loopSizes.push_back(static_cast<uint32_t>(count));
        return true;
    };
    if (!addLoop(outer)) {
        return false;
    }
    for (int32_t h = 0; h < holeCount; ++h) {
        NvScn::CScnPolygon::CScnHole* hole = holes->getScnObject(static_cast<uint32_t>(h));
        if (!addLoop(hole != nullptr ? hole->getVertices() : nullptr)) {
            return false;
        }
    }
    sink.polygon(component, scratch);
    return true;
}

// The points and bounds of one geometry table of the file.
struct GeometryPart {
    NvScn::CScnUUID uuid{};
    int32_t level = 0;
    std::vector<NvScn::CScnVector> points;
    Bounds bounds;
    int64_t polygons = 0;
};

// An external storage the library only reads into: asked for geometry to write, it has none.
class ReadingStorage : public NvScn::CScnExtStorage {
public:
    int32_t getNbPoints(NvScn::CScnMgr*) override { return 0; }
    bool fillPoint(NvScn::CScnMgr*, NvScn::CScnVector*, int32_t) override { return false; }
    int32_t getNbPolygons(NvScn::CScnMgr*) override { return 0; }
    bool fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon*, int32_t) override { return false; }
};

// An external storage for reading: points are kept (when asked to) and bounded, polygons go to
// the sink and are not kept. Polygons naming a point that does not exist are counted and dropped.
class GeometryStorage : public ReadingStorage {
public:
    GeometryStorage(PolygonSink* sink, bool keepPoints) : mSink(sink), mKeepPoints(keepPoints) {}

    // Where the polygons go from now on (null: nowhere).
    void setSink(PolygonSink* sink) { mSink = sink; }

    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID* component,
                                             int32_t geometryLevel) override;
    void setNbPoints(NvScn::CScnMgr*, int32_t count) override;
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector* point, int32_t index) override;
    void setNbPolygons(NvScn::CScnMgr*, int32_t count) override;
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon* polygon, int32_t index) override;

    // The scene's own geometry.
    GeometryPart scene;
    // The internal components, in the order their geometry came.
    std::vector<GeometryPart> components;
    // Polygons dropped because a vertex named a point that does not exist.
    int64_t badPolygons = 0;

private:
    GeometryPart& current() { return mCurrent < 0 ? scene : components[static_cast<size_t>(mCurrent)]; }

    PolygonSink* mSink;
    bool mKeepPoints;
    bool mComponentNext = false;
    int32_t mCurrent = -1;
    ArrivingPolygon mPolygon;
};

// Opens and reads a scene file with the given storage (null: the library keeps the geometry);
// null after printing "scntool: ..." and the library's reports. The data blocks of elements
// named in skippedBlocks are left out of the read (see BlockSkippingStream).
SceneManager loadScene(const std::string& path, Reports& reports, NvScn::CScnExtStorage* storage,
                       const std::vector<std::string>& skippedBlocks = {});

// Reads only the geometry of the file again, into storage, without the blocks named in
// skippedBlocks; false after printing why.
bool reloadGeometry(NvScn::CScnMgr* manager, const std::string& path, NvScn::CScnExtStorage* storage,
                    const std::vector<std::string>& skippedBlocks = {});

// The folder part of a path with its last slash, or "" for a bare file name.
std::string folderOf(const std::string& path);

}  // namespace ScnTools

#endif
