// Triangles of a planar polygon with holes, for the tools that draw or export a scene.
#ifndef SCN_TOOLS_TRIANGULATE_H
#define SCN_TOOLS_TRIANGULATE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ScnBase.h"

namespace ScnTools {

// Cuts a polygon into triangles. Loops are given as corners in 3D: the outer loop first, then
// the holes; a triangle names corners by their position in the concatenation of the loops.
// Concave outlines, holes in either turning sense, repeated corners and collinear runs are
// handled; a polygon without area gives no triangle. Beyond 4096 corners in all, holes are left
// out and the outline is cut as a fan, to keep the work in proportion. Work space is kept between
// calls.
class Triangulator {
public:
    // Appends the triangles (three corner numbers each, turning like the outer loop) to out;
    // answers the number of triangles appended.
    size_t triangulate(const std::vector<NvScn::CScnVector>& corners, const std::vector<uint32_t>& loopSizes,
                       std::vector<uint32_t>& out);

private:
    struct Node {
        double x;
        double y;
        uint32_t corner;
        uint32_t prev;
        uint32_t next;
    };

    uint32_t addLoop(const std::vector<NvScn::CScnVector>& corners, uint32_t first, uint32_t count, int axis,
                     bool flip, bool wantCounterClockwise);
    void bridgeHole(uint32_t outer, uint32_t hole);
    size_t clipEars(uint32_t start, std::vector<uint32_t>& out);
    bool isEar(uint32_t node) const;

    std::vector<Node> mNodes;
};

// The normal of a loop of corners by Newell's sum, not normalised; zero for no area. Inline: it
// runs once or twice for every polygon drawn or exported.
inline NvScn::CScnVector loopNormal(const NvScn::CScnVector* corners, uint32_t count)
{
    NvScn::CScnVector n = {0, 0, 0};
    if (count < 3) {
        return n;
    }
    const NvScn::CScnVector& o = corners[0];
    if (count == 3) {
        // The loop below for three corners, unrolled: the same operations in the same order (the
        // first corner's terms are zeros), so the same bits.
        double ax = corners[1].x - o.x, ay = corners[1].y - o.y, az = corners[1].z - o.z;
        double bx = corners[2].x - o.x, by = corners[2].y - o.y, bz = corners[2].z - o.z;
        n.x = (-ay * az + (ay - by) * (az + bz)) + by * bz;
        n.y = (-az * ax + (az - bz) * (ax + bx)) + bz * bx;
        n.z = (-ax * ay + (ax - bx) * (ay + by)) + bx * by;
        return n;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const NvScn::CScnVector& a = corners[i];
        const NvScn::CScnVector& b = corners[i + 1 == count ? 0 : i + 1];
        double ay = a.y - o.y, az = a.z - o.z, ax = a.x - o.x;
        double by = b.y - o.y, bz = b.z - o.z, bx = b.x - o.x;
        n.x += (ay - by) * (az + bz);
        n.y += (az - bz) * (ax + bx);
        n.z += (ax - bx) * (ay + by);
    }
    return n;
}

// The normal of a polygon's outer loop, count corners from first.
inline NvScn::CScnVector loopNormal(const std::vector<NvScn::CScnVector>& corners, uint32_t first, uint32_t count)
{
    return count < 3 ? NvScn::CScnVector{0, 0, 0} : loopNormal(corners.data() + first, count);
}

}  // namespace ScnTools

#endif
