// The host's model arrays and the builder that fills them body by body.
#include "Model.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace cadhost {

Vec3 transformPoint(const Matrix& m, const Vec3& p)
{
    return {m[0] * p.x + m[1] * p.y + m[2] * p.z + m[3], m[4] * p.x + m[5] * p.y + m[6] * p.z + m[7],
            m[8] * p.x + m[9] * p.y + m[10] * p.z + m[11]};
}

Vec3 unitVector(const Vec3& v)
{
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0) || !std::isfinite(length)) {
        return {0.0, 0.0, 1.0};
    }
    return {v.x / length, v.y / length, v.z / length};
}

std::string guidKey(const API_Guid& guid) { return std::string(reinterpret_cast<const char*>(guid.bytes), 16); }

API_Guid hostGuid(const char (&kind)[5], uint32_t number)
{
    API_Guid guid = {};
    std::memcpy(guid.bytes, kind, 4);
    for (int i = 0; i < 4; ++i) {
        guid.bytes[12 + i] = static_cast<uint8_t>(number >> (24 - 8 * i));
    }
    return guid;
}

void checkCoordinate(double value, const std::string& where)
{
    if (std::isnan(value) || std::isinf(value)) {
        throw ModelError(where + " has a coordinate that is not a finite number");
    }
    if (std::fabs(value) > kMaxCoordinate) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", value);
        throw ModelError(where + " lies " + text + " m from the origin; the host takes coordinates up to 10000 km");
    }
}

Vec3 Model::modelNormal(const ModelBody& b, int32_t normal) const
{
    const Vec3& n = normals[b.firstNormal + static_cast<uint64_t>(normal) - 1];
    if (b.matrix < 0) {
        return n;
    }
    // Normals take the inverse transpose of the matrix's linear part: the cofactors.
    const Matrix& m = matrices[static_cast<std::size_t>(b.matrix)];
    const double c[9] = {m[5] * m[10] - m[6] * m[9], m[6] * m[8] - m[4] * m[10], m[4] * m[9] - m[5] * m[8],
                         m[2] * m[9] - m[1] * m[10], m[0] * m[10] - m[2] * m[8], m[1] * m[8] - m[0] * m[9],
                         m[1] * m[6] - m[2] * m[5], m[2] * m[4] - m[0] * m[6], m[0] * m[5] - m[1] * m[4]};
    return unitVector({c[0] * n.x + c[1] * n.y + c[2] * n.z, c[3] * n.x + c[4] * n.y + c[5] * n.z,
                       c[6] * n.x + c[7] * n.y + c[8] * n.z});
}

int32_t Model::elementOf(const API_Guid& guid) const
{
    const auto found = mElementByGuid.find(guidKey(guid));
    return found == mElementByGuid.end() ? 0 : found->second;
}

void Model::indexElements()
{
    mElementByGuid.clear();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        mElementByGuid.emplace(guidKey(elements[i].guid), static_cast<int32_t>(i + 1));
    }
}

bool Model::bounds(Vec3* minimum, Vec3* maximum) const
{
    bool any = false;
    for (const ModelBody& b : bodies) {
        for (int32_t v = 1; v <= b.vertexCount; ++v) {
            const Vec3 p = modelVertex(b, v);
            if (!any) {
                *minimum = *maximum = p;
                any = true;
            }
            minimum->x = std::min(minimum->x, p.x);
            minimum->y = std::min(minimum->y, p.y);
            minimum->z = std::min(minimum->z, p.z);
            maximum->x = std::max(maximum->x, p.x);
            maximum->y = std::max(maximum->y, p.y);
            maximum->z = std::max(maximum->z, p.z);
        }
    }
    return any;
}

void BodyBuilder::begin(int32_t matrix)
{
    mBody = ModelBody();
    mBody.firstVertex = mModel->vertices.size();
    mBody.firstEdge = mModel->edges.size();
    mBody.firstPolygon = mModel->polygons.size();
    mBody.firstEdgeRef = mModel->edgeRefs.size();
    mBody.firstNormal = mModel->normals.size();
    mBody.matrix = matrix;
    mEdges.clear();
    mNormals.clear();
    mHasUV = false;
}

int32_t BodyBuilder::vertexCount() const { return static_cast<int32_t>(mModel->vertices.size() - mBody.firstVertex); }

int32_t BodyBuilder::addVertex(const Vec3& position, const std::string& where)
{
    checkCoordinate(position.x, where);
    checkCoordinate(position.y, where);
    checkCoordinate(position.z, where);
    if (vertexCount() == std::numeric_limits<int32_t>::max()) {
        throw ModelError("a body holds at most 2147483647 vertices");
    }
    mModel->vertices.push_back(position);
    return vertexCount();
}

void BodyBuilder::addUV(float u, float v)
{
    if (!mHasUV) {
        mHasUV = true;
        mBody.firstUV = static_cast<int64_t>(mModel->uvs.size());
    }
    mModel->uvs.push_back(u);
    mModel->uvs.push_back(v);
}

int32_t BodyBuilder::addEdge(int32_t begin, int32_t end)
{
    const int32_t count = vertexCount();
    if (begin < 1 || begin > count || end < 1 || end > count) {
        throw ModelError("an edge joins vertex " + std::to_string(begin) + " and " + std::to_string(end) +
                         ", but the body has " + std::to_string(count) + " vertices");
    }
    if (begin == end) {
        throw ModelError("an edge joins vertex " + std::to_string(begin) + " with itself");
    }
    mModel->edges.push_back({begin, end});
    const int32_t index = static_cast<int32_t>(mModel->edges.size() - mBody.firstEdge);
    const uint64_t key = (static_cast<uint64_t>(std::min(begin, end)) << 32) | static_cast<uint32_t>(std::max(begin, end));
    mEdges.emplace(key, index);
    return index;
}

int32_t BodyBuilder::edgeBetween(int32_t from, int32_t to)
{
    const uint64_t key = (static_cast<uint64_t>(std::min(from, to)) << 32) | static_cast<uint32_t>(std::max(from, to));
    const auto found = mEdges.find(key);
    if (found == mEdges.end()) {
        return addEdge(from, to);
    }
    const ModelEdge& edge = mModel->edges[mBody.firstEdge + static_cast<uint64_t>(found->second) - 1];
    return edge.begin == from ? found->second : -found->second;
}

int32_t BodyBuilder::addNormal(const Vec3& normal)
{
    mModel->normals.push_back(unitVector(normal));
    return static_cast<int32_t>(mModel->normals.size() - mBody.firstNormal);
}

int32_t BodyBuilder::normalIndex(const Vec3& normal)
{
    auto key = [](const Vec3& n) {
        // Directions within a billionth are one: the rounding noise of a file's coordinates does not
        // split the normals of a flat face.
        const int64_t parts[3] = {std::llround(n.x * 1e9), std::llround(n.y * 1e9), std::llround(n.z * 1e9)};
        return std::string(reinterpret_cast<const char*>(parts), sizeof parts);
    };
    const auto same = mNormals.find(key(normal));
    if (same != mNormals.end()) {
        return same->second;
    }
    const auto opposite = mNormals.find(key({-normal.x, -normal.y, -normal.z}));
    if (opposite != mNormals.end()) {
        return -opposite->second;
    }
    const int32_t index = addNormal(normal);
    mNormals.emplace(key(normal), index);
    return index;
}

Vec3 BodyBuilder::contourNormal(const std::vector<int32_t>& loop) const
{
    // Newell's method: sound for any planar polygon, convex or not.
    Vec3 n = {0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const Vec3& a = mModel->vertices[mBody.firstVertex + static_cast<uint64_t>(loop[i]) - 1];
        const Vec3& b = mModel->vertices[mBody.firstVertex + static_cast<uint64_t>(loop[(i + 1) % loop.size()]) - 1];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return unitVector(n);
}

void BodyBuilder::addPolygon(int32_t material, int32_t texture, const std::vector<std::vector<int32_t>>& loops)
{
    if (loops.empty()) {
        throw ModelError("a polygon needs an outer contour");
    }
    const int32_t count = vertexCount();
    std::vector<int32_t> list;
    for (std::size_t l = 0; l < loops.size(); ++l) {
        const std::vector<int32_t>& loop = loops[l];
        if (loop.size() < 3) {
            throw ModelError(std::string(l == 0 ? "the outer contour" : "a hole") + " has " +
                             std::to_string(loop.size()) + " vertices; a polygon needs at least three");
        }
        for (int32_t v : loop) {
            if (v < 1 || v > count) {
                throw ModelError("vertex " + std::to_string(v) + " does not exist; the body has " +
                                 std::to_string(count) + " vertices");
            }
        }
        if (l > 0) {
            list.push_back(0);
        }
        for (std::size_t i = 0; i < loop.size(); ++i) {
            list.push_back(edgeBetween(loop[i], loop[(i + 1) % loop.size()]));
        }
    }
    addPolygonEdges(material, texture, normalIndex(contourNormal(loops[0])), list);
}

void BodyBuilder::addPolygonEdges(int32_t material, int32_t texture, int32_t normal, const std::vector<int32_t>& list)
{
    const int32_t edgeCount = static_cast<int32_t>(mModel->edges.size() - mBody.firstEdge);
    std::vector<int32_t> contour;
    std::size_t loopStart = 0;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        if (i < list.size() && list[i] != 0) {
            const int32_t e = list[i];
            if (e < -edgeCount || e > edgeCount) {
                throw ModelError("edge " + std::to_string(e) + " does not exist; the body has " +
                                 std::to_string(edgeCount) + " edges");
            }
            continue;
        }
        // One loop ends here: it must have three edges at least and close, each edge ending where
        // the next begins.
        const std::size_t length = i - loopStart;
        if (length < 3) {
            throw ModelError(std::string(loopStart == 0 ? "the outer contour" : "a hole") + " has " +
                             std::to_string(length) + " edges; a polygon needs at least three");
        }
        for (std::size_t k = loopStart; k < i; ++k) {
            auto ends = [&](int32_t signedEdge, bool last) {
                const ModelEdge& edge = mModel->edges[mBody.firstEdge + static_cast<uint64_t>(std::abs(signedEdge)) - 1];
                return signedEdge > 0 ? (last ? edge.end : edge.begin) : (last ? edge.begin : edge.end);
            };
            const int32_t next = list[k + 1 < i ? k + 1 : loopStart];
            if (ends(list[k], true) != ends(next, false)) {
                throw ModelError("edge " + std::to_string(list[k]) + " ends at vertex " +
                                 std::to_string(ends(list[k], true)) + ", but edge " + std::to_string(next) +
                                 " after it begins at vertex " + std::to_string(ends(next, false)));
            }
            if (loopStart == 0) {
                contour.push_back(ends(list[k], false));
            }
        }
        loopStart = i + 1;
    }
    const int32_t normalCount = static_cast<int32_t>(mModel->normals.size() - mBody.firstNormal);
    if (normal == 0) {
        normal = normalIndex(contourNormal(contour));
    } else if (normal < -normalCount || normal > normalCount) {
        throw ModelError("normal " + std::to_string(normal) + " does not exist; the body has " +
                         std::to_string(normalCount) + " normals");
    }
    const uint64_t start = mModel->edgeRefs.size() - mBody.firstEdgeRef;
    if (start + list.size() > std::numeric_limits<uint32_t>::max() ||
        mModel->polygons.size() - mBody.firstPolygon >= static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
        throw ModelError("the body is too large for the host");
    }
    mModel->polygons.push_back({material, texture, normal, static_cast<uint32_t>(start)});
    mModel->edgeRefs.insert(mModel->edgeRefs.end(), list.begin(), list.end());
}

uint32_t BodyBuilder::end()
{
    mBody.vertexCount = vertexCount();
    mBody.edgeCount = static_cast<int32_t>(mModel->edges.size() - mBody.firstEdge);
    mBody.polygonCount = static_cast<int32_t>(mModel->polygons.size() - mBody.firstPolygon);
    mBody.normalCount = static_cast<int32_t>(mModel->normals.size() - mBody.firstNormal);
    mBody.edgeRefCount = static_cast<uint32_t>(mModel->edgeRefs.size() - mBody.firstEdgeRef);
    if (mHasUV && mModel->uvs.size() - static_cast<uint64_t>(mBody.firstUV) != 2 * static_cast<uint64_t>(mBody.vertexCount)) {
        throw ModelError("the body has texture coordinates for " +
                         std::to_string((mModel->uvs.size() - static_cast<uint64_t>(mBody.firstUV)) / 2) +
                         " of its " + std::to_string(mBody.vertexCount) + " vertices");
    }
    mModel->bodies.push_back(mBody);
    return static_cast<uint32_t>(mModel->bodies.size() - 1);
}

}  // namespace cadhost
