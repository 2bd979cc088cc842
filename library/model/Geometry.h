// Scene geometry: points, polygons with their outer loop and holes.
#ifndef SCN_GEOMETRY_IMPL_H
#define SCN_GEOMETRY_IMPL_H

#include "ScnGeometry.h"
#include "model/ObjectMgr.h"

namespace NvScn {

class CSCN;
class CPolygon;

// A point of a geometry table: a plain, zero-filled vector.
struct CPoint : CScnVector {
    CPoint() : CScnVector{0.0, 0.0, 0.0} {}
};

// Vertices of a hole, stored by value; the owning polygon receives the reports.
using CVertexMgr = TSimpleMgr<CScnVertex, CPolygon>;
// Vertices of a polygon's outer loop: room for 3 inside the polygon, on the heap beyond.
using COuterLoopMgr = TSimpleMgr<CScnVertex, CPolygon, 3>;

// An inner loop of a polygon.
class CLoop : public TScnFrontier<CScnPolygon::CScnHole> {
public:
    explicit CLoop(CPolygon* polygon) : mVertices(polygon) {}

    TScnObjectMgr<CScnVertex>* getVertices() override { return &mVertices; }
    const TScnObjectMgr<CScnVertex>* getVertices() const override { return &mVertices; }

    CVertexMgr& vertices() { return mVertices; }
    const CVertexMgr& vertices() const { return mVertices; }

private:
    CVertexMgr mVertices;
};

// Holes of a polygon.
using CHoleMgr = TRapideMgr<CLoop, CScnPolygon::CScnHole, CPolygon>;

// A polygon: smoothing flag, material index, outer loop (room for 3 vertices) and holes.
class CPolygon : public TScnFrontier<CScnPolygon> {
public:
    // The large polygon tables keep their polygons in a slab pool on huge pages.
    static constexpr bool kPooledOnHugePages = true;

    explicit CPolygon(CSCN* scene) : mScene(scene), mVertices(this), mHoles(this) {}

    bool isSmoothed() override { return mSmoothed; }
    void setSmoothed(bool smoothed) override { mSmoothed = smoothed; }
    int32_t getPropertyIndex() override { return mPropertyIndex; }
    void setPropertyIndex(int32_t index) override { mPropertyIndex = index; }
    TScnObjectMgr<CScnVertex>* getVertices() override { return &mVertices; }
    TScnObjectMgr<CScnHole>* getHoles() override { return &mHoles; }

    // Sends a report to the owning scene's feedback.
    void report(const char* text) const;
    // Back to a new polygon's state (not smoothed, material 0, no vertex, no hole).
    void clear();

    bool smoothed() const { return mSmoothed; }
    int32_t propertyIndex() const { return mPropertyIndex; }
    COuterLoopMgr& vertices() { return mVertices; }
    const COuterLoopMgr& vertices() const { return mVertices; }
    CHoleMgr& holes() { return mHoles; }
    const CHoleMgr& holes() const { return mHoles; }

private:
    bool mSmoothed = false;
    int32_t mPropertyIndex = 0;
    CSCN* mScene;
    COuterLoopMgr mVertices;
    CHoleMgr mHoles;
};

// The point and polygon tables of the scene and of each internal component definition.
using CPointMgr = TRapideMgr<CPoint, CScnVector, CSCN>;
using CPolygonMgr = TRapideMgr<CPolygon, CScnPolygon, CSCN>;

}  // namespace NvScn

#endif
