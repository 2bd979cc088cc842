// Ear clipping on a doubly linked ring of corners; holes are joined to the outline by a bridge to
// a corner they can see, so one ring remains.
#include "Triangulate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ScnTools {

using NvScn::CScnVector;

namespace {

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
// Rings longer than this are cut as a fan: ear clipping costs the square of the length.
constexpr uint32_t kLongestClippedRing = 4096;

struct Point2 {
    double x;
    double y;
};

double orient(double ax, double ay, double bx, double by, double cx, double cy)
{
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Inside or on the border of the triangle, whatever its turning sense.
bool inTriangle(double ax, double ay, double bx, double by, double cx, double cy, double px, double py)
{
    double d1 = orient(ax, ay, bx, by, px, py);
    double d2 = orient(bx, by, cx, cy, px, py);
    double d3 = orient(cx, cy, ax, ay, px, py);
    bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

}  // namespace


uint32_t Triangulator::addLoop(const std::vector<CScnVector>& corners, uint32_t first, uint32_t count, int axis,
                               bool flip, bool wantCounterClockwise)
{
    const CScnVector& origin = corners[0];
    uint32_t start = static_cast<uint32_t>(mNodes.size());
    for (uint32_t i = 0; i < count; ++i) {
        const CScnVector& c = corners[first + i];
        double p[3] = {c.x - origin.x, c.y - origin.y, c.z - origin.z};
        // The two axes other than the dominant one, in the order that keeps the normal's sense.
        double u = p[(axis + 1) % 3];
        double v = p[(axis + 2) % 3];
        if (flip) {
            std::swap(u, v);
        }
        if (!std::isfinite(u) || !std::isfinite(v)) {
            mNodes.resize(start);
            return kNone;
        }
        if (mNodes.size() > start && mNodes.back().x == u && mNodes.back().y == v) {
            continue;
        }
        mNodes.push_back({u, v, first + i, kNone, kNone});
    }
    while (mNodes.size() > start + 1 && mNodes.back().x == mNodes[start].x && mNodes.back().y == mNodes[start].y) {
        mNodes.pop_back();
    }
    uint32_t size = static_cast<uint32_t>(mNodes.size()) - start;
    double area = 0;
    for (uint32_t i = 0; i < size; ++i) {
        const Node& a = mNodes[start + i];
        const Node& b = mNodes[start + (i + 1) % size];
        area += a.x * b.y - b.x * a.y;
    }
    if (size < 3 || area == 0) {
        mNodes.resize(start);
        return kNone;
    }
    bool reverse = (area > 0) != wantCounterClockwise;
    for (uint32_t i = 0; i < size; ++i) {
        uint32_t next = start + (i + 1) % size;
        uint32_t prev = start + (i + size - 1) % size;
        mNodes[start + i].next = reverse ? prev : next;
        mNodes[start + i].prev = reverse ? next : prev;
    }
    return start;
}

// Joins the hole's ring into the outline's ring through a corner of the outline visible from the
// hole's leftmost corner: a ray to the left finds the nearest edge, then the corner of least
// angle inside the swept triangle.
void Triangulator::bridgeHole(uint32_t outer, uint32_t hole)
{
    double hx = mNodes[hole].x;
    double hy = mNodes[hole].y;
    double qx = -std::numeric_limits<double>::infinity();
    uint32_t m = kNone;
    uint32_t p = outer;
    do {
        const Node& a = mNodes[p];
        const Node& b = mNodes[a.next];
        if (a.y != b.y && hy <= std::max(a.y, b.y) && hy >= std::min(a.y, b.y)) {
            double x = a.x + (hy - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x <= hx && x > qx) {
                qx = x;
                m = a.x < b.x ? p : a.next;
            }
        }
        p = a.next;
    } while (p != outer);
    if (m == kNone) {
        return;  // the hole lies outside the outline: it is left out
    }
    if (qx != hx) {
        uint32_t stop = m;
        double mx = mNodes[m].x;
        double my = mNodes[m].y;
        double best = std::numeric_limits<double>::infinity();
        p = m;
        do {
            const Node& c = mNodes[p];
            if (hx >= c.x && c.x >= mx && hx != c.x && inTriangle(hx, hy, qx, hy, mx, my, c.x, c.y)) {
                double tangent = std::fabs(hy - c.y) / (hx - c.x);
                const Node& cp = mNodes[c.prev];
                const Node& cn = mNodes[c.next];
                bool convex = orient(cp.x, cp.y, c.x, c.y, cn.x, cn.y) > 0;
                bool inside = convex ? orient(c.x, c.y, cn.x, cn.y, hx, hy) >= 0 && orient(cp.x, cp.y, c.x, c.y, hx, hy) >= 0
                                     : orient(c.x, c.y, cn.x, cn.y, hx, hy) >= 0 || orient(cp.x, cp.y, c.x, c.y, hx, hy) >= 0;
                if (inside && (tangent < best || (tangent == best && c.x > mNodes[m].x))) {
                    m = p;
                    best = tangent;
                }
            }
            p = c.next;
        } while (p != stop);
    }
    // Two new nodes repeat the bridge's ends so that the ring goes there and back.
    uint32_t m2 = static_cast<uint32_t>(mNodes.size());
    uint32_t h2 = m2 + 1;
    Node mCopy = mNodes[m];
    Node hCopy = mNodes[hole];
    mNodes.push_back(mCopy);
    mNodes.push_back(hCopy);
    uint32_t mNext = mNodes[m].next;
    uint32_t hPrev = mNodes[hole].prev;
    mNodes[m].next = hole;
    mNodes[hole].prev = m;
    mNodes[m2].next = mNext;
    mNodes[mNext].prev = m2;
    mNodes[h2].next = m2;
    mNodes[m2].prev = h2;
    mNodes[hPrev].next = h2;
    mNodes[h2].prev = hPrev;
}

bool Triangulator::isEar(uint32_t node) const
{
    const Node& a = mNodes[mNodes[node].prev];
    const Node& b = mNodes[node];
    const Node& c = mNodes[b.next];
    if (orient(a.x, a.y, b.x, b.y, c.x, c.y) <= 0) {
        return false;
    }
    for (uint32_t p = c.next; p != b.prev; p = mNodes[p].next) {
        const Node& q = mNodes[p];
        bool corner = (q.x == a.x && q.y == a.y) || (q.x == b.x && q.y == b.y) || (q.x == c.x && q.y == c.y);
        if (!corner && inTriangle(a.x, a.y, b.x, b.y, c.x, c.y, q.x, q.y)) {
            return false;
        }
    }
    return true;
}

size_t Triangulator::clipEars(uint32_t start, std::vector<uint32_t>& out)
{
    size_t made = 0;
    uint32_t count = 1;
    for (uint32_t p = mNodes[start].next; p != start; p = mNodes[p].next) {
        ++count;
    }
    auto unlink = [this, &count](uint32_t node) {
        mNodes[mNodes[node].prev].next = mNodes[node].next;
        mNodes[mNodes[node].next].prev = mNodes[node].prev;
        --count;
    };
    auto emit = [this, &out, &made](uint32_t node) {
        out.push_back(mNodes[mNodes[node].prev].corner);
        out.push_back(mNodes[node].corner);
        out.push_back(mNodes[mNodes[node].next].corner);
        ++made;
    };
    if (count > kLongestClippedRing) {
        for (uint32_t p = mNodes[mNodes[start].next].next; p != start; p = mNodes[p].next) {
            out.push_back(mNodes[start].corner);
            out.push_back(mNodes[mNodes[p].prev].corner);
            out.push_back(mNodes[p].corner);
            ++made;
        }
        return made;
    }
    uint32_t ear = start;
    uint32_t stop = start;
    int stage = 0;
    while (count > 2) {
        uint32_t next = mNodes[ear].next;
        if (isEar(ear)) {
            emit(ear);
            unlink(ear);
            ear = next;
            stop = next;
            stage = 0;
            continue;
        }
        ear = next;
        if (ear != stop) {
            continue;
        }
        // A whole round without an ear: drop corners that add no area, and when none is left to
        // drop, cut the sharpest convex corner anyway so that the ring always shrinks.
        bool dropped = false;
        uint32_t p = ear;
        uint32_t round = count;
        for (uint32_t i = 0; i < round && count > 2; ++i) {
            const Node& a = mNodes[mNodes[p].prev];
            const Node& b = mNodes[p];
            const Node& c = mNodes[b.next];
            uint32_t after = b.next;
            if (orient(a.x, a.y, b.x, b.y, c.x, c.y) == 0 && stage == 0) {
                unlink(p);
                dropped = true;
                ear = after;
            }
            p = after;
        }
        stop = ear;
        if (dropped) {
            stage = 1;
            continue;
        }
        uint32_t best = kNone;
        double bestTurn = 0;
        p = ear;
        for (uint32_t i = 0; i < count; ++i) {
            const Node& a = mNodes[mNodes[p].prev];
            const Node& b = mNodes[p];
            const Node& c = mNodes[b.next];
            double turn = orient(a.x, a.y, b.x, b.y, c.x, c.y);
            if (turn > bestTurn) {
                bestTurn = turn;
                best = p;
            }
            p = b.next;
        }
        if (best == kNone) {
            break;  // nothing convex is left: the rest has no area
        }
        ear = mNodes[best].next;
        emit(best);
        unlink(best);
        stop = ear;
        stage = 0;
    }
    return made;
}

size_t Triangulator::triangulate(const std::vector<CScnVector>& corners, const std::vector<uint32_t>& loopSizes,
                                 std::vector<uint32_t>& out)
{
    if (loopSizes.empty() || loopSizes[0] < 3 || loopSizes[0] > corners.size()) {
        return 0;
    }
    uint32_t outerSize = loopSizes[0];
    // Triangles need no ring: they are their own single ear.
    if (loopSizes.size() == 1 && outerSize == 3) {
        CScnVector n = loopNormal(corners, 0, 3);
        if (!(n.x != 0 || n.y != 0 || n.z != 0) || !std::isfinite(n.x + n.y + n.z)) {
            return 0;
        }
        out.push_back(0);
        out.push_back(1);
        out.push_back(2);
        return 1;
    }
    CScnVector n = loopNormal(corners, 0, outerSize);
    double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    if (!std::isfinite(ax + ay + az) || (ax == 0 && ay == 0 && az == 0)) {
        return 0;
    }
    int axis = az >= ax && az >= ay ? 2 : (ax >= ay ? 0 : 1);
    double component = axis == 0 ? n.x : (axis == 1 ? n.y : n.z);
    bool flip = component < 0;

    mNodes.clear();
    uint32_t outer = addLoop(corners, 0, outerSize, axis, flip, true);
    if (outer == kNone) {
        return 0;
    }
    std::vector<std::pair<double, uint32_t>> holes;
    uint32_t first = outerSize;
    // Bridging costs the product of the holes and the ring's length: beyond the ring length that
    // is clipped, holes are left out and the outline is cut as a fan.
    size_t holeLoops = corners.size() > kLongestClippedRing ? 1 : loopSizes.size();
    for (size_t i = 1; i < holeLoops; ++i) {
        uint32_t size = loopSizes[i];
        if (size >= 3 && first + size <= corners.size()) {
            uint32_t hole = addLoop(corners, first, size, axis, flip, false);
            if (hole != kNone) {
                uint32_t leftmost = hole;
                for (uint32_t p = mNodes[hole].next; p != hole; p = mNodes[p].next) {
                    if (mNodes[p].x < mNodes[leftmost].x ||
                        (mNodes[p].x == mNodes[leftmost].x && mNodes[p].y < mNodes[leftmost].y)) {
                        leftmost = p;
                    }
                }
                holes.emplace_back(mNodes[leftmost].x, leftmost);
            }
        }
        first += size;
    }
    std::sort(holes.begin(), holes.end());
    for (const auto& hole : holes) {
        bridgeHole(outer, hole.second);
    }
    return clipEars(outer, out);
}

}  // namespace ScnTools
