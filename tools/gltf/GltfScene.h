// A scene as glTF 2.0: meshes by material, materials, cameras, lights and placed components.
#ifndef SCN_TOOLS_GLTF_SCENE_H
#define SCN_TOOLS_GLTF_SCENE_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "SceneGeometry.h"
#include "Triangulate.h"

namespace ScnTools {

// The triangles of one material of one geometry table, in glTF axes (y up) and metres: three
// floats per position and normal, two per texture coordinate.
struct MeshPart {
    int32_t component = -1;
    int32_t material = 0;
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> uvs;
    std::vector<uint32_t> indices;
    bool mapped = false;
};

// A point of the scene (centimetres, z up) in glTF axes and metres.
void toGltf(const NvScn::CScnVector& p, float* out);

// Collects the polygons as they arrive, triangulated, one part per geometry table and material;
// each polygon gets its own corners. A flat polygon's corners carry its face's normal; those of a
// smoothed one get the normal of their point from finish().
class MeshCollector : public PolygonSink {
public:
    void polygon(int32_t component, const ArrivingPolygon& polygon) override;
    // Gives each corner of a smoothed polygon the sum of the normals (area-weighted) of the
    // smoothed polygons of its table that share its point, normalised; where that sum does not
    // lean the face's way (neighbours wound the other way) the face's own normal stays. Once,
    // after the last polygon.
    void finish();

    // The parts in the order they were first met.
    std::vector<MeshPart> parts;
    // Polygons without area, left out.
    int64_t flatPolygons = 0;

private:
    // A corner of a smoothed polygon, waiting for its point's normal.
    struct SmoothedCorner {
        size_t part;
        uint32_t vertex;
        int32_t component;
        int32_t point;
    };

    std::map<std::pair<int32_t, int32_t>, size_t> mPartOf;
    // Per geometry table (-1 the scene's), three sums per point.
    std::map<int32_t, std::vector<double>> mNormalSums;
    std::vector<SmoothedCorner> mSmoothedCorners;
    Triangulator mTriangulator;
    std::vector<uint32_t> mIndices;
};

// What the export leaves out or could not use, for the user.
struct GltfNotes {
    std::vector<std::string> missingTextures;
    int64_t unplacedInstances = 0;
};

// Builds the glTF of the scene read with geometry; binary chooses the .glb container, otherwise
// the JSON names binName, whose bytes go to binary. sceneFolder resolves texture references.
// Answers the bytes of the .glb or the text of the .gltf.
std::string buildGltf(NvScn::CScnMgr& scene, const GeometryStorage& geometry, const MeshCollector& meshes,
                      const std::string& sceneFolder, bool binary, const std::string& binName,
                      std::vector<uint8_t>& binaryOut, GltfNotes& notes);

}  // namespace ScnTools

#endif
