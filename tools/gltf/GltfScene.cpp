#include "GltfScene.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include <nlohmann/json.hpp>

#include "Image.h"
#include "Placement.h"
#include "SceneLook.h"

namespace ScnTools {

using NvScn::CScnVector;
using nlohmann::json;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;
constexpr int kFloat = 5126;
constexpr int kUnsignedInt = 5125;

// glTF axes from scene axes: x stays, scene z is up (glTF y), scene y points into the picture
// (glTF -z).
CScnVector axes(const CScnVector& v) { return {v.x, v.z, -v.y}; }

}  // namespace

void toGltf(const CScnVector& p, float* out)
{
    out[0] = static_cast<float>(p.x / 100.0);
    out[1] = static_cast<float>(p.z / 100.0);
    out[2] = static_cast<float>(-p.y / 100.0);
}

void MeshCollector::polygon(int32_t component, const ArrivingPolygon& polygon)
{
    mIndices.clear();
    if (mTriangulator.triangulate(polygon.corners, polygon.loopSizes, mIndices) == 0) {
        ++flatPolygons;
        return;
    }
    CScnVector area = loopNormal(polygon.corners, 0, polygon.loopSizes[0]);
    CScnVector normal = normalised(axes(area));
    if (normal.x == 0 && normal.y == 0 && normal.z == 0) {
        ++flatPolygons;
        return;
    }
    // The library reads only polygons without holes as smoothed.
    bool smoothed = polygon.smoothed && polygon.loopSizes.size() == 1;
    std::vector<double>* sums = smoothed ? &mNormalSums[component] : nullptr;
    auto key = std::make_pair(component, polygon.material);
    auto found = mPartOf.find(key);
    if (found == mPartOf.end()) {
        found = mPartOf.emplace(key, parts.size()).first;
        parts.emplace_back();
        parts.back().component = component;
        parts.back().material = polygon.material;
    }
    MeshPart& part = parts[found->second];
    uint32_t base = static_cast<uint32_t>(part.positions.size() / 3);
    for (size_t i = 0; i < polygon.corners.size(); ++i) {
        float p[3];
        toGltf(polygon.corners[i], p);
        part.positions.insert(part.positions.end(), p, p + 3);
        part.normals.push_back(static_cast<float>(normal.x));
        part.normals.push_back(static_cast<float>(normal.y));
        part.normals.push_back(static_cast<float>(normal.z));
        const NvScn::CScnVertex& v = polygon.vertices[i];
        if (sums != nullptr) {
            size_t at = static_cast<size_t>(v.pointIndex) * 3;
            if (at + 3 > sums->size()) {
                sums->resize(at + 3, 0.0);
            }
            (*sums)[at] += area.x;
            (*sums)[at + 1] += area.y;
            (*sums)[at + 2] += area.z;
            mSmoothedCorners.push_back({found->second, base + static_cast<uint32_t>(i), component, v.pointIndex});
        }
        bool mapped = (v.flags & NvScn::kScnVertexMapped) != 0 && std::isfinite(v.u) && std::isfinite(v.v);
        part.mapped = part.mapped || mapped;
        // glTF counts v from the top of the image.
        part.uvs.push_back(mapped ? v.u : 0.0f);
        part.uvs.push_back(mapped ? 1.0f - v.v : 0.0f);
    }
    for (uint32_t index : mIndices) {
        part.indices.push_back(base + index);
    }
}

void MeshCollector::finish()
{
    for (const SmoothedCorner& corner : mSmoothedCorners) {
        const std::vector<double>& sums = mNormalSums[corner.component];
        size_t at = static_cast<size_t>(corner.point) * 3;
        CScnVector sum = normalised(axes({sums[at], sums[at + 1], sums[at + 2]}));
        float* normal = &parts[corner.part].normals[static_cast<size_t>(corner.vertex) * 3];
        if (dot(sum, {normal[0], normal[1], normal[2]}) > 0) {
            normal[0] = static_cast<float>(sum.x);
            normal[1] = static_cast<float>(sum.y);
            normal[2] = static_cast<float>(sum.z);
        }
    }
    mSmoothedCorners.clear();
    mNormalSums.clear();
}

namespace {

// The binary chunk and the views into it.
class BufferBuilder {
public:
    explicit BufferBuilder(json& document) : mDocument(document) {}

    int view(const void* data, size_t size, int target)
    {
        while (bytes.size() % 4 != 0) {
            bytes.push_back(0);
        }
        json view = {{"buffer", 0}, {"byteOffset", bytes.size()}, {"byteLength", size}};
        if (target != 0) {
            view["target"] = target;
        }
        const uint8_t* begin = static_cast<const uint8_t*>(data);
        bytes.insert(bytes.end(), begin, begin + size);
        mDocument["bufferViews"].push_back(view);
        return static_cast<int>(mDocument["bufferViews"].size()) - 1;
    }

    int accessor(const std::vector<float>& values, int width, const char* type, bool bounds)
    {
        json accessor = {{"bufferView", view(values.data(), values.size() * sizeof(float), kArrayBuffer)},
                         {"componentType", kFloat},
                         {"count", values.size() / static_cast<size_t>(width)},
                         {"type", type}};
        if (bounds) {
            std::vector<float> low(static_cast<size_t>(width), std::numeric_limits<float>::max());
            std::vector<float> high(static_cast<size_t>(width), std::numeric_limits<float>::lowest());
            for (size_t i = 0; i < values.size(); ++i) {
                size_t k = i % static_cast<size_t>(width);
                low[k] = std::min(low[k], values[i]);
                high[k] = std::max(high[k], values[i]);
            }
            accessor["min"] = low;
            accessor["max"] = high;
        }
        mDocument["accessors"].push_back(accessor);
        return static_cast<int>(mDocument["accessors"].size()) - 1;
    }

    int indices(const std::vector<uint32_t>& values)
    {
        json accessor = {{"bufferView", view(values.data(), values.size() * sizeof(uint32_t), kElementArrayBuffer)},
                         {"componentType", kUnsignedInt},
                         {"count", values.size()},
                         {"type", "SCALAR"}};
        mDocument["accessors"].push_back(accessor);
        return static_cast<int>(mDocument["accessors"].size()) - 1;
    }

    std::vector<uint8_t> bytes;

private:
    json& mDocument;
};

// The rotation that turns the frame (columns x, y, z) into place, as a unit quaternion x, y, z, w.
std::vector<double> quaternion(const CScnVector& x, const CScnVector& y, const CScnVector& z)
{
    double m00 = x.x, m01 = y.x, m02 = z.x;
    double m10 = x.y, m11 = y.y, m12 = z.y;
    double m20 = x.z, m21 = y.z, m22 = z.z;
    double qx, qy, qz, qw;
    double trace = m00 + m11 + m22;
    if (trace > 0) {
        double s = 0.5 / std::sqrt(trace + 1.0);
        qw = 0.25 / s;
        qx = (m21 - m12) * s;
        qy = (m02 - m20) * s;
        qz = (m10 - m01) * s;
    } else if (m00 > m11 && m00 > m22) {
        double s = 2.0 * std::sqrt(1.0 + m00 - m11 - m22);
        qw = (m21 - m12) / s;
        qx = 0.25 * s;
        qy = (m01 + m10) / s;
        qz = (m02 + m20) / s;
    } else if (m11 > m22) {
        double s = 2.0 * std::sqrt(1.0 + m11 - m00 - m22);
        qw = (m02 - m20) / s;
        qx = (m01 + m10) / s;
        qy = 0.25 * s;
        qz = (m12 + m21) / s;
    } else {
        double s = 2.0 * std::sqrt(1.0 + m22 - m00 - m11);
        qw = (m10 - m01) / s;
        qx = (m02 + m20) / s;
        qy = (m12 + m21) / s;
        qz = 0.25 * s;
    }
    double length = std::sqrt(qx * qx + qy * qy + qz * qz + qw * qw);
    if (!(length > 0) || !std::isfinite(length)) {
        return {0, 0, 0, 1};
    }
    return {qx / length, qy / length, qz / length, qw / length};
}

// A node that looks along the scene direction: glTF cameras and lights face their local -z.
json lookingNode(const std::string& name, const CScnVector& position, const CScnVector& direction,
                 const CScnVector& upHint)
{
    CScnVector forward = normalised(axes(direction));
    CScnVector up = normalised(axes(upHint));
    CScnVector right = normalised(cross(forward, up));
    if (right.x == 0 && right.y == 0 && right.z == 0) {
        right = normalised(cross(forward, CScnVector{0, 0, 1}));
        if (right.x == 0 && right.y == 0 && right.z == 0) {
            right = {1, 0, 0};
        }
    }
    up = cross(right, forward);
    float p[3];
    toGltf(position, p);
    return {{"name", name},
            {"translation", {p[0], p[1], p[2]}},
            {"rotation", quaternion(right, up, CScnVector{-forward.x, -forward.y, -forward.z})}};
}


std::string uuidText(const NvScn::CScnUUID& uuid)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : uuid.bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}


class GltfBuilder {
public:
    GltfBuilder(NvScn::CScnMgr& scene, const std::string& folder, GltfNotes& notes)
        : mScene(scene), mFolder(folder), mNotes(notes), mBuffer(mDocument)
    {
        mDocument["asset"] = {{"version", "2.0"}, {"generator", "scntool"}};
        mDocument["bufferViews"] = json::array();
        mDocument["accessors"] = json::array();
        mDocument["nodes"] = json::array();
        mSceneLooks = materialLooks(scene.getMaterials(), folder);
        noteMissing(mSceneLooks);
    }

    void meshes(const MeshCollector& meshes, const GeometryStorage& geometry)
    {
        // The scene's parts hang from the root; a component's parts form one mesh that its
        // instances place.
        std::map<int32_t, json> componentPrimitives;
        for (const MeshPart& part : meshes.parts) {
            if (part.indices.empty()) {
                continue;
            }
            json primitive = {{"attributes",
                               {{"POSITION", mBuffer.accessor(part.positions, 3, "VEC3", true)},
                                {"NORMAL", mBuffer.accessor(part.normals, 3, "VEC3", false)}}},
                              {"indices", mBuffer.indices(part.indices)},
                              {"material", material(part.component, part.material, geometry)}};
            if (part.mapped) {
                primitive["attributes"]["TEXCOORD_0"] = mBuffer.accessor(part.uvs, 2, "VEC2", false);
            }
            if (part.component < 0) {
                std::string name = mDocument["materials"][primitive["material"].get<size_t>()]["name"];
                mDocument["meshes"].push_back({{"name", name}, {"primitives", json::array({primitive})}});
                addRootNode({{"name", name}, {"mesh", mDocument["meshes"].size() - 1}});
            } else {
                componentPrimitives[part.component].push_back(primitive);
            }
        }
        for (auto& entry : componentPrimitives) {
            const GeometryPart& component = geometry.components[static_cast<size_t>(entry.first)];
            mDocument["meshes"].push_back({{"name", "Component " + uuidText(component.uuid)}, {"primitives", entry.second}});
            mComponentMesh[entry.first] = static_cast<int>(mDocument["meshes"].size()) - 1;
        }
    }

    void instances(const GeometryStorage& geometry)
    {
        NvScn::TScnObjectMgr<NvScn::IScnObjectInstance>* instances = mScene.getObjectInstances();
        int32_t count = instances != nullptr ? instances->getNbObjects() : 0;
        for (int32_t i = 0; i < count; ++i) {
            NvScn::IScnObjectInstance* instance = instances->getScnObject(static_cast<uint32_t>(i));
            if (instance == nullptr) {
                continue;
            }
            int mesh = -1;
            for (size_t c = 0; c < geometry.components.size() && mesh < 0; ++c) {
                if (sameUuid(instance->getAttachedObject(), geometry.components[c].uuid)) {
                    auto found = mComponentMesh.find(static_cast<int32_t>(c));
                    mesh = found != mComponentMesh.end() ? found->second : -1;
                }
            }
            if (mesh < 0) {
                ++mNotes.unplacedInstances;
                continue;
            }
            json node = {{"name", instance->getName() != nullptr ? instance->getName() : ""}, {"mesh", mesh}};
            transform(*instance, node);
            addRootNode(node);
        }
    }

    void cameras()
    {
        NvScn::TScnObjectMgr<NvScn::CScnCamera>* views = mScene.getPerspectiveViews();
        int32_t count = views != nullptr ? views->getNbObjects() : 0;
        for (int32_t i = 0; i < count; ++i) {
            NvScn::CScnCamera* view = views->getScnObject(static_cast<uint32_t>(i));
            ViewFrame frame;
            if (view == nullptr || !cameraFrame(*view, frame)) {
                continue;
            }
            // The focal is the horizontal angle; glTF wants the vertical one of a 4:3 picture.
            const double aspect = 4.0 / 3.0;
            double yfov = 2 * std::atan(std::tan(frame.fieldOfView * kDegree / 2) / aspect);
            std::string name = view->getName() != nullptr ? view->getName() : "";
            mDocument["cameras"].push_back(
                {{"name", name},
                 {"type", "perspective"},
                 {"perspective", {{"aspectRatio", aspect}, {"yfov", yfov}, {"znear", 0.05}}}});
            json node = lookingNode(name, frame.eye, frame.forward, frame.up);
            node["camera"] = mDocument["cameras"].size() - 1;
            addRootNode(node);
        }
    }

    void lights()
    {
        NvScn::TScnObjectMgr<NvScn::CScnLight>* lights = mScene.getLights();
        int32_t count = lights != nullptr ? lights->getNbObjects() : 0;
        for (int32_t i = 0; i < count; ++i) {
            NvScn::CScnLight* light = lights->getScnObject(static_cast<uint32_t>(i));
            if (light == nullptr || !light->isActive()) {
                continue;
            }
            const NvScn::CScnColor* color = light->getColor();
            json record = {{"name", light->getName()},
                           {"color", {color->red / 255.0, color->green / 255.0, color->blue / 255.0}},
                           {"intensity", light->getPower() / 100.0}};
            int32_t type = light->getType();
            if (type == NvScn::kScnLightSpot) {
                double outer = std::clamp(light->getConeAngle() / 2 * kDegree, 0.001, kPi / 2);
                double inner = outer * std::clamp(light->getSharpness(), 0.0, 0.99);
                record["type"] = "spot";
                record["spot"] = {{"innerConeAngle", inner}, {"outerConeAngle", outer}};
            } else {
                record["type"] = type == NvScn::kScnLightParallel ? "directional" : "point";
            }
            const CScnVector& from = *light->getPosition();
            const CScnVector& to = *light->getTarget();
            CScnVector direction = {to.x - from.x, to.y - from.y, to.z - from.z};
            if (normalised(direction).x == 0 && normalised(direction).y == 0 && normalised(direction).z == 0) {
                direction = {0, 0, -1};
            }
            addLight(record, lookingNode(light->getName(), from, direction, CScnVector{0, 0, 1}));
        }
        CScnVector towardsSun;
        if (sunDirection(mScene, nullptr, towardsSun)) {
            NvScn::CScnHeliodon* sun = nullptr;
            std::string name = "Sun";
            if (mScene.getHeliodon() != nullptr && mScene.getHeliodon()->getName() != nullptr &&
                mScene.getHeliodon()->getName()[0] != 0) {
                sun = mScene.getHeliodon();
                name = sun->getName();
            }
            json record = {{"name", name}, {"type", "directional"}, {"color", {1.0, 0.98, 0.92}}, {"intensity", 3.0}};
            addLight(record, lookingNode(name, CScnVector{0, 0, 0}, CScnVector{-towardsSun.x, -towardsSun.y, -towardsSun.z},
                                         CScnVector{0, 0, 1}));
        }
    }

    std::string finish(bool binary, const std::string& binName, std::vector<uint8_t>& binaryOut)
    {
        mDocument["scene"] = 0;
        mDocument["scenes"] = json::array({{{"name", "Scene"}, {"nodes", mRootNodes}}});
        if (mDocument["bufferViews"].empty()) {
            mDocument.erase("bufferViews");
        }
        if (mDocument["accessors"].empty()) {
            mDocument.erase("accessors");
        }
        while (mBuffer.bytes.size() % 4 != 0) {
            mBuffer.bytes.push_back(0);
        }
        if (!mBuffer.bytes.empty()) {
            json buffer = {{"byteLength", mBuffer.bytes.size()}};
            if (!binary) {
                buffer["uri"] = binName;
            }
            mDocument["buffers"] = json::array({buffer});
        }
        // Names come from the scene as they stand; bytes that are not UTF-8 (a damaged file) are
        // written as U+FFFD, which glTF readers take.
        std::string text = mDocument.dump(-1, ' ', false, json::error_handler_t::replace);
        if (!binary) {
            binaryOut = std::move(mBuffer.bytes);
            return text;
        }
        while (text.size() % 4 != 0) {
            text += ' ';
        }
        std::string glb;
        auto word = [&glb](uint32_t value) {
            for (int k = 0; k < 4; ++k) {
                glb += static_cast<char>((value >> (8 * k)) & 0xFF);
            }
        };
        size_t total = 12 + 8 + text.size() + (mBuffer.bytes.empty() ? 0 : 8 + mBuffer.bytes.size());
        word(0x46546C67u);  // "glTF"
        word(2);
        word(static_cast<uint32_t>(total));
        word(static_cast<uint32_t>(text.size()));
        word(0x4E4F534Au);  // "JSON"
        glb += text;
        if (!mBuffer.bytes.empty()) {
            word(static_cast<uint32_t>(mBuffer.bytes.size()));
            word(0x004E4942u);  // "BIN"
            glb.append(reinterpret_cast<const char*>(mBuffer.bytes.data()), mBuffer.bytes.size());
        }
        return glb;
    }

private:
    void addRootNode(const json& node)
    {
        mDocument["nodes"].push_back(node);
        mRootNodes.push_back(mDocument["nodes"].size() - 1);
    }

    void addLight(const json& light, json node)
    {
        mDocument["extensions"]["KHR_lights_punctual"]["lights"].push_back(light);
        node["extensions"]["KHR_lights_punctual"]["light"] =
            mDocument["extensions"]["KHR_lights_punctual"]["lights"].size() - 1;
        if (!mLightsUsed) {
            mDocument["extensionsUsed"].push_back("KHR_lights_punctual");
            mLightsUsed = true;
        }
        addRootNode(node);
    }

    void noteMissing(const MaterialLooks& looks)
    {
        for (const std::string& missing : looks.missingTextures) {
            if (std::find(mNotes.missingTextures.begin(), mNotes.missingTextures.end(), missing) ==
                mNotes.missingTextures.end()) {
                mNotes.missingTextures.push_back(missing);
            }
        }
    }

    // The glTF material for a material index of a geometry table, made on first use.
    size_t material(int32_t component, int32_t index, const GeometryStorage& geometry)
    {
        auto key = std::make_pair(component, index);
        auto found = mMaterialOf.find(key);
        if (found != mMaterialOf.end()) {
            return found->second;
        }
        const MaterialLooks* looks = &mSceneLooks;
        if (component >= 0) {
            auto list = mComponentLooks.find(component);
            if (list == mComponentLooks.end()) {
                NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials =
                    componentMaterials(mScene, geometry.components[static_cast<size_t>(component)].uuid);
                MaterialLooks made = materials != nullptr ? materialLooks(materials, mFolder) : mSceneLooks;
                noteMissing(made);
                list = mComponentLooks.emplace(component, std::move(made)).first;
            }
            looks = &list->second;
        }
        const SurfaceLook& look = looks->look(index);
        std::string name = look.name.empty() ? "Material " + std::to_string(index) : look.name;
        json pbr = {{"baseColorFactor", {look.red, look.green, look.blue, std::clamp(look.opacity, 0.0f, 1.0f)}},
                    {"metallicFactor", 0.0},
                    {"roughnessFactor", 0.9}};
        int texture = look.texture.empty() ? -1 : this->texture(look.texture);
        if (texture >= 0) {
            pbr["baseColorTexture"] = {{"index", texture}};
        }
        json record = {{"name", name}, {"pbrMetallicRoughness", pbr}, {"doubleSided", true}};
        if (look.opacity < 1.0f) {
            record["alphaMode"] = "BLEND";
        }
        mDocument["materials"].push_back(record);
        size_t made = mDocument["materials"].size() - 1;
        mMaterialOf[key] = made;
        return made;
    }

    // The glTF texture of an image file, its pixels embedded as PNG; -1 when it cannot be read.
    int texture(const std::string& path)
    {
        auto found = mTextureOf.find(path);
        if (found != mTextureOf.end()) {
            return found->second;
        }
        Picture picture;
        std::string error;
        std::vector<uint8_t> png;
        if (readImageFile(path, picture, error)) {
            png = encodePng(picture);
        }
        int made = -1;
        if (!png.empty()) {
            if (!mDocument.contains("samplers")) {
                mDocument["samplers"] = json::array({{{"wrapS", 10497}, {"wrapT", 10497}}});
            }
            int view = mBuffer.view(png.data(), png.size(), 0);
            mDocument["images"].push_back({{"bufferView", view}, {"mimeType", "image/png"}});
            mDocument["textures"].push_back({{"sampler", 0}, {"source", mDocument["images"].size() - 1}});
            made = static_cast<int>(mDocument["textures"].size()) - 1;
        } else {
            mNotes.missingTextures.push_back(path + " (" + (error.empty() ? "cannot be encoded" : error) + ")");
        }
        mTextureOf[path] = made;
        return made;
    }

    // Translation (centimetres), rotation (three angles in degrees, about x, then y, then z) and
    // scale of an instance, in glTF axes.
    void transform(NvScn::IScnObjectInstance& instance, json& node)
    {
        const CScnVector* t = instance.getTranslation();
        const CScnVector* r = instance.getRotation();
        const CScnVector* s = instance.getScale();
        if (t != nullptr) {
            float p[3];
            toGltf(*t, p);
            node["translation"] = {p[0], p[1], p[2]};
        }
        if (r != nullptr) {
            CScnVector columns[3];
            rotationColumns(*r, columns);
            // glTF axis a is scene axis (x, z, -y): the matrix C R C^T has columns C R C^T e.
            CScnVector gx = axes(columns[0]);
            CScnVector gy = axes(columns[2]);
            CScnVector gz = axes(CScnVector{-columns[1].x, -columns[1].y, -columns[1].z});
            if (std::isfinite(gx.x + gx.y + gx.z + gy.x + gy.y + gy.z + gz.x + gz.y + gz.z)) {
                node["rotation"] = quaternion(gx, gy, gz);
            }
        }
        if (s != nullptr) {
            node["scale"] = {scaleFactor(s->x), scaleFactor(s->z), scaleFactor(s->y)};
        }
    }

    NvScn::CScnMgr& mScene;
    std::string mFolder;
    GltfNotes& mNotes;
    json mDocument;
    BufferBuilder mBuffer;
    json mRootNodes = json::array();
    MaterialLooks mSceneLooks;
    std::map<int32_t, MaterialLooks> mComponentLooks;
    std::map<std::pair<int32_t, int32_t>, size_t> mMaterialOf;
    std::map<std::string, int> mTextureOf;
    std::map<int32_t, int> mComponentMesh;
    bool mLightsUsed = false;
};

}  // namespace

std::string buildGltf(NvScn::CScnMgr& scene, const GeometryStorage& geometry, const MeshCollector& meshes,
                      const std::string& sceneFolder, bool binary, const std::string& binName,
                      std::vector<uint8_t>& binaryOut, GltfNotes& notes)
{
    GltfBuilder builder(scene, sceneFolder, notes);
    builder.meshes(meshes, geometry);
    builder.instances(geometry);
    builder.cameras();
    builder.lights();
    return builder.finish(binary, binName, binaryOut);
}

}  // namespace ScnTools
