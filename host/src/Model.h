// The host's 3D model: elements, bodies, polygons, materials, textures and lights, held in a few
// compact arrays so that models of millions of polygons stay small. Lengths are metres, indices
// inside a body are 1-based as the model walk gives them.
#ifndef CADHOST_MODEL_H
#define CADHOST_MODEL_H

#include "ACAPI.h"
#include "GSModeler.h"

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace cadhost {

// Coordinates farther than this from the origin (metres) are refused: no building site is, and
// beyond it centimetres would lose their precision.
constexpr double kMaxCoordinate = 1.0e7;

// A problem of a model file, with the text a person reads.
struct ModelError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Vec3 {
    double x, y, z;
};

struct ModelEdge {
    int32_t begin;   // vertex indices in the body
    int32_t end;
};

struct ModelPolygon {
    int32_t material;
    int32_t texture;     // own texture, 0 none
    int32_t normal;      // signed normal index in the body
    uint32_t edgeStart;  // first entry of the polygon's edge list, counted from the body's first
};

struct ModelBody {
    uint64_t firstVertex = 0;
    uint64_t firstEdge = 0;
    uint64_t firstPolygon = 0;
    uint64_t firstEdgeRef = 0;
    uint64_t firstNormal = 0;
    int64_t firstUV = -1;        // index of the first vertex's (u, v) pair; -1: no texture coordinates
    int32_t vertexCount = 0;
    int32_t edgeCount = 0;
    int32_t polygonCount = 0;
    int32_t normalCount = 0;
    uint32_t edgeRefCount = 0;   // entries of all edge lists of the body
    int32_t matrix = -1;         // index into the model's matrices; -1 the identity
};

struct ModelElement {
    int32_t type = EXPOther;
    int32_t layer = 1;           // layer attribute index
    uint32_t firstBody = 0;
    int32_t bodyCount = 0;
    API_Guid guid = {};
    std::string name;
};

struct ModelTexture {
    std::string name;            // file name with extension
    std::string source;          // where the image came from, for people
    int32_t width = 0;
    int32_t height = 0;
    double xSize = 1.0;
    double ySize = 1.0;
    bool alpha = false;
    bool available = false;
    std::vector<uint8_t> pixels; // red, green, blue, alpha; rows from the top
};

struct ModelLight {
    std::string name;
    int32_t kind = 1;            // 0 parallel, 1 point, 2 spot, others as point
    API_RGB color = {1.0, 1.0, 1.0};
    Vec3 position = {0.0, 0.0, 0.0};
    Vec3 direction = {0.0, 0.0, -1.0};
    double length = 1.0;
    double cosAngle = 1.0;
};

using Matrix = std::array<double, 12>;  // three rows of four, translation in the last column

class Model {
public:
    std::vector<ModelElement> elements;
    std::vector<ModelBody> bodies;
    std::vector<Vec3> vertices;
    std::vector<float> uvs;              // (u, v) pairs
    std::vector<ModelEdge> edges;
    std::vector<ModelPolygon> polygons;
    std::vector<int32_t> edgeRefs;       // the signed edge lists
    std::vector<Vec3> normals;
    std::vector<Matrix> matrices;
    std::vector<EXPMaterialInfo> materials;
    std::vector<ModelTexture> textures;
    std::vector<ModelLight> lights;

    // The body of an element (both 1-based); null when there is none.
    const ModelBody* body(int32_t element, int32_t body) const;
    // A vertex (1-based) of the body in model coordinates.
    Vec3 modelVertex(const ModelBody& body, int32_t vertex) const;
    // A normal (1-based, positive) of the body in model coordinates, unit length.
    Vec3 modelNormal(const ModelBody& body, int32_t normal) const;
    // Entries of a polygon's edge list and the first of them.
    uint32_t edgeListLength(const ModelBody& body, int32_t polygon) const;
    const int32_t* edgeList(const ModelBody& body, int32_t polygon) const;
    // The element of that GUID (1-based); 0 when none.
    int32_t elementOf(const API_Guid& guid) const;
    // Registers the GUIDs of all elements for elementOf; called once the elements stand.
    void indexElements();
    // Smallest and largest model coordinates of all vertices; false for a model without vertices.
    bool bounds(Vec3* minimum, Vec3* maximum) const;
    uint64_t polygonTotal() const { return polygons.size(); }

private:
    std::unordered_map<std::string, int32_t> mElementByGuid;
};

// The walk services call these per item, so they are inline.
inline const ModelBody* Model::body(int32_t element, int32_t body) const
{
    if (element < 1 || static_cast<std::size_t>(element) > elements.size()) {
        return nullptr;
    }
    const ModelElement& e = elements[static_cast<std::size_t>(element) - 1];
    if (body < 1 || body > e.bodyCount) {
        return nullptr;
    }
    return &bodies[e.firstBody + static_cast<uint32_t>(body) - 1];
}

inline uint32_t Model::edgeListLength(const ModelBody& b, int32_t polygon) const
{
    const uint64_t index = b.firstPolygon + static_cast<uint64_t>(polygon) - 1;
    const uint32_t next = polygon == b.polygonCount ? b.edgeRefCount : polygons[index + 1].edgeStart;
    return next - polygons[index].edgeStart;
}

inline const int32_t* Model::edgeList(const ModelBody& b, int32_t polygon) const
{
    const ModelPolygon& p = polygons[b.firstPolygon + static_cast<uint64_t>(polygon) - 1];
    return edgeRefs.data() + b.firstEdgeRef + p.edgeStart;
}

// Collects one body at a time as vertex loops and adds it to a model: the loops become shared
// edges (an edge walked against its first direction enters its polygon reversed) and each polygon
// gets the unit normal of its outer contour, shared by equal normals and reversed for opposite ones.
class BodyBuilder {
public:
    explicit BodyBuilder(Model* model) : mModel(model) {}
    // Starts a body; the vertices follow in model coordinates (checked against kMaxCoordinate).
    void begin(int32_t matrix = -1);
    // Adds a vertex; the text names the vertex in a refusal.
    int32_t addVertex(const Vec3& position, const std::string& where);
    void addUV(float u, float v);
    // Adds an edge from begin to end as given; the polygons may refer to it with its index.
    int32_t addEdge(int32_t begin, int32_t end);
    // Adds a polygon of loops of vertex indices: the outer contour, then its holes.
    void addPolygon(int32_t material, int32_t texture, const std::vector<std::vector<int32_t>>& loops);
    // Adds a polygon with its signed edge list as stated; normal 0 computes it from the contour.
    void addPolygonEdges(int32_t material, int32_t texture, int32_t normal, const std::vector<int32_t>& edgeList);
    // Adds a stated normal; answers its index.
    int32_t addNormal(const Vec3& normal);
    // Ends the body and answers its index in the model.
    uint32_t end();
    int32_t vertexCount() const;

private:
    int32_t edgeBetween(int32_t from, int32_t to);
    int32_t normalIndex(const Vec3& normal);
    Vec3 contourNormal(const std::vector<int32_t>& loop) const;

    Model* mModel;
    ModelBody mBody;
    std::unordered_map<uint64_t, int32_t> mEdges;
    std::unordered_map<std::string, int32_t> mNormals;
    bool mHasUV = false;
};

// Applies a body's matrix to a point.
Vec3 transformPoint(const Matrix& m, const Vec3& p);

inline Vec3 Model::modelVertex(const ModelBody& b, int32_t vertex) const
{
    const Vec3& p = vertices[b.firstVertex + static_cast<uint64_t>(vertex) - 1];
    return b.matrix < 0 ? p : transformPoint(matrices[static_cast<std::size_t>(b.matrix)], p);
}

// The unit vector of v; (0, 0, 1) for a vector of length 0.
Vec3 unitVector(const Vec3& v);
// The key of a GUID for lookups.
std::string guidKey(const API_Guid& guid);
// The GUID the host gives an object of a kind (four letters) and number.
API_Guid hostGuid(const char (&kind)[5], uint32_t number);
// Refuses a coordinate that is not a number or lies beyond kMaxCoordinate.
void checkCoordinate(double value, const std::string& where);

}  // namespace cadhost

#endif
