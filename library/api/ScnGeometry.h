// Polygons of the scene geometry: an outer loop of vertices, holes, a material and smoothing.
#ifndef SCN_GEOMETRY_H
#define SCN_GEOMETRY_H

#include "ScnObjectMgr.h"

namespace NvScn {

// A polygon of the scene or of an internal component; vertices refer to points by index.
class CScnPolygon {
public:
    // An inner loop of a polygon.
    class CScnHole {
    public:
        // The hole's vertices, in loop order.
        virtual TScnObjectMgr<CScnVertex>* getVertices() = 0;
        // The hole's vertices, in loop order.
        virtual const TScnObjectMgr<CScnVertex>* getVertices() const = 0;
        virtual ~CScnHole() {}
    };

    // Whether the polygon is smoothed.
    virtual bool isSmoothed() = 0;
    // Sets the smoothing flag.
    virtual void setSmoothed(bool smoothed) = 0;
    // Index of the polygon's material in the scene's material list.
    virtual int32_t getPropertyIndex() = 0;
    // Sets the material index.
    virtual void setPropertyIndex(int32_t index) = 0;
    // The outer loop's vertices; records stay valid until the next insertion or removal.
    virtual TScnObjectMgr<CScnVertex>* getVertices() = 0;
    // The holes, in order.
    virtual TScnObjectMgr<CScnHole>* getHoles() = 0;
    // Destroys the holes, then the vertices.
    virtual ~CScnPolygon() {}
};

}  // namespace NvScn

#endif
