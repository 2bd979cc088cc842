// Model files read through the Open Asset Import Library, mapped as a CAD model holds them: one
// element per node with meshes, one body per mesh with the file's own polygons, the materials with
// their textures, the lights, the cameras as camera sets, and the layers.
#include "HostState.h"
#include "Loading.h"

#include <assimp/DefaultIOSystem.h>
#include <assimp/Importer.hpp>
#include <assimp/MemoryIOWrapper.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <map>
#include <sstream>
#include <unordered_map>

namespace cadhost {
namespace {

std::string lower(std::string text)
{
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string extensionOf(const std::string& path)
{
    const std::string name = lastName(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : lower(name.substr(dot + 1));
}

// The IFC class at the start of a node name ("IfcWallStandardCase_Wand-1_<id>"); empty when none.
std::string ifcClass(const std::string& name)
{
    if (name.compare(0, 3, "Ifc") != 0) {
        return std::string();
    }
    return name.substr(0, name.find('_'));
}

// The IFC global identifier at the end of a node name: its last 22 characters after "_".
std::string ifcGlobalId(const std::string& name)
{
    const std::size_t cut = name.size() >= 23 ? name.size() - 23 : std::string::npos;
    return cut != std::string::npos && name[cut] == '_' ? name.substr(cut + 1) : std::string();
}

// An IFC node's own name, without its class and its identifier.
std::string ifcName(const std::string& name)
{
    std::string text = name;
    const std::string id = ifcGlobalId(text);
    if (!id.empty()) {
        text.erase(text.size() - 23);
    }
    const std::string type = ifcClass(text);
    if (!type.empty()) {
        text.erase(0, std::min(text.size(), type.size() + 1));
    }
    return text.empty() ? name : text;
}

// The element type a node name states; 0 when it states none.
int32_t typeFromName(const std::string& name, const std::vector<std::string>& roofSlabs)
{
    const std::string type = ifcClass(name);
    if (!type.empty()) {
        if (type.compare(0, 7, "IfcWall") == 0) {
            return EXPWall;
        }
        if (type == "IfcRoof") {
            return EXPRoof;
        }
        if (type == "IfcSlab") {
            const std::string id = ifcGlobalId(name);
            return std::find(roofSlabs.begin(), roofSlabs.end(), id) != roofSlabs.end() ? EXPRoof : EXPSlab;
        }
        return type.compare(0, 16, "IfcOpeningElement") == 0 || type == "IfcMappedItem" ? 0 : EXPOther;
    }
    const std::string text = lower(name);
    if (text.find("roof") != std::string::npos) {
        return EXPRoof;
    }
    if (text.find("slab") != std::string::npos) {
        return EXPSlab;
    }
    if (text.find("wall") != std::string::npos) {
        return EXPWall;
    }
    return 0;
}

bool isSpatial(const std::string& name)
{
    const std::string type = ifcClass(name);
    return type == "IfcBuildingStorey" || type == "IfcBuilding" || type == "IfcSite";
}

using HostMatrix = aiMatrix4x4t<double>;

HostMatrix toDouble(const aiMatrix4x4& m)
{
    return HostMatrix(m.a1, m.a2, m.a3, m.a4, m.b1, m.b2, m.b3, m.b4, m.c1, m.c2, m.c3, m.c4, m.d1, m.d2, m.d3, m.d4);
}

Vec3 apply(const HostMatrix& m, const aiVector3D& v, double w)
{
    return {m.a1 * v.x + m.a2 * v.y + m.a3 * v.z + m.a4 * w, m.b1 * v.x + m.b2 * v.y + m.b3 * v.z + m.b4 * w,
            m.c1 * v.x + m.c2 * v.y + m.c3 * v.z + m.c4 * w};
}

double determinant3(const HostMatrix& m)
{
    return m.a1 * (m.b2 * m.c3 - m.b3 * m.c2) - m.a2 * (m.b1 * m.c3 - m.b3 * m.c1) + m.a3 * (m.b1 * m.c2 - m.b2 * m.c1);
}

int16_t percent(double value) { return static_cast<int16_t>(std::lround(std::min(std::max(value, 0.0), 1.0) * 100.0)); }

// A colour as its hue at full strength and the strength in percent, so that colour × percentage
// gives back the file's colour.
void splitColour(const aiColor3D& c, API_RGB* colour, int16_t* pc)
{
    const double peak = std::max({c.r, c.g, c.b, 0.0f});
    if (!(peak > 0.0) || !std::isfinite(peak)) {
        *colour = {0.0, 0.0, 0.0};
        *pc = 0;
        return;
    }
    *colour = {std::max(0.0, c.r / peak), std::max(0.0, c.g / peak), std::max(0.0, c.b / peak)};
    *pc = percent(peak);
}

// The import library's OBJ reader writes through a null material when a material library states
// anything before its first "newmtl" (the process dies). Such statements belong to no material:
// the libraries are handed over without them, and each library that had some is named.
class MaterialLibraryGuard : public Assimp::DefaultIOSystem {
public:
    explicit MaterialLibraryGuard(std::vector<std::string>* notes) : mNotes(notes) {}

    Assimp::IOStream* Open(const char* file, const char* mode) override
    {
        Assimp::IOStream* stream = Assimp::DefaultIOSystem::Open(file, mode);
        if (stream == nullptr || file == nullptr || extensionOf(file) != "mtl" || std::strchr(mode, 'w') != nullptr) {
            return stream;
        }
        std::string text(stream->FileSize(), '\0');
        text.resize(text.empty() ? 0 : stream->Read(&text[0], 1, text.size()));
        Assimp::DefaultIOSystem::Close(stream);
        std::string kept;
        std::size_t dropped = 0;
        bool inMaterial = false;
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end + 1;
            const std::size_t first = text.find_first_not_of(" \t\r\n", at);
            const bool blank = first == std::string::npos || first >= end || text[first] == '#';
            inMaterial = inMaterial || (!blank && text.compare(first, 6, "newmtl") == 0);
            if (inMaterial || blank) {
                kept.append(text, at, end - at);
            } else {
                ++dropped;
            }
            at = end;
        }
        if (dropped > 0) {
            mNotes->push_back("material library " + lastName(file) + ": " + std::to_string(dropped) +
                              " lines before its first \"newmtl\" belong to no material and are left out");
        }
        uint8_t* bytes = new uint8_t[kept.size() + 1];
        std::memcpy(bytes, kept.data(), kept.size());
        return new Assimp::MemoryIOStream(bytes, kept.size(), true);
    }

private:
    std::vector<std::string>* mNotes;
};

// Whether a PLY file's header ends within its first megabyte: the import library's reader looks
// for the "end_header" line without end and never returns when the line is missing.
bool plyHeaderEnds(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::string head(1u << 20, '\0');
    file.read(&head[0], static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));
    for (std::size_t at = 0; at < head.size();) {
        std::size_t end = head.find('\n', at);
        end = end == std::string::npos ? head.size() : end;
        const std::size_t first = head.find_first_not_of(" \t\r", at);
        if (first < end && head.compare(first, 10, "end_header") == 0 &&
            (first + 10 == end || std::strchr(" \t\r", head[first + 10]) != nullptr)) {
            return true;
        }
        at = end + 1;
    }
    return false;
}

class SceneReader {
public:
    SceneReader(const std::string& path, const ModelOptions& options, Project* project)
        : mPath(path), mFolder(folderOf(path)), mOptions(options), mProject(project), mModel(std::make_shared<Model>())
    {
    }

    void read()
    {
        Assimp::Importer importer;
        std::vector<std::string> libraryNotes;
        importer.SetIOHandler(new MaterialLibraryGuard(&libraryNotes));
        const std::string extension = extensionOf(mPath);
        if (extension == "ply" && !plyHeaderEnds(mPath)) {
            throw ModelError("cannot be read as a model: the PLY header has no \"end_header\" line");
        }
        // Normals, colours and extra texture channels are dropped before identical vertices are
        // joined: the host computes one normal per polygon, and corners shared by polygons stay one
        // vertex. Faces are never triangulated.
        importer.SetPropertyInteger(AI_CONFIG_PP_RVC_FLAGS,
                                    aiComponent_NORMALS | aiComponent_TANGENTS_AND_BITANGENTS | aiComponent_COLORS |
                                        aiComponent_BONEWEIGHTS | aiComponent_ANIMATIONS | aiComponent_TEXCOORDSn(1) |
                                        aiComponent_TEXCOORDSn(2) | aiComponent_TEXCOORDSn(3));
        const aiScene* scene = importer.ReadFile(
            mPath, aiProcess_RemoveComponent | aiProcess_JoinIdenticalVertices | aiProcess_ValidateDataStructure);
        if (scene == nullptr || scene->mRootNode == nullptr) {
            const char* why = importer.GetErrorString();
            throw ModelError(std::string("cannot be read as a model: ") + (why != nullptr && *why ? why : "unknown format"));
        }
        mScene = scene;
        for (const std::string& note : libraryNotes) {
            warn(note);
        }
        if (extension == "ifc") {
            std::ifstream file(mPath, std::ios::binary);
            std::stringstream text;
            text << file.rdbuf();
            mIfc = readIfcFacts(text.str());
        }
        setUnitsAndAxes(extension);
        const aiString* formatName = nullptr;
        if (scene->mMetaData != nullptr) {
            for (unsigned i = 0; i < scene->mMetaData->mNumProperties; ++i) {
                if (std::strcmp(scene->mMetaData->mKeys[i].C_Str(), "SourceAsset_Format") == 0 &&
                    scene->mMetaData->mValues[i].mType == AI_AISTRING) {
                    formatName = static_cast<const aiString*>(scene->mMetaData->mValues[i].mData);
                }
            }
        }
        mProject->modelFormat = (formatName != nullptr ? std::string(formatName->C_Str()) : extension) + ", " +
                                number(mUnit) + " m per unit, " + (mUp == 'y' ? "y" : "z") + " up";
        readMaterials();
        walkNodes();
        readLights();
        mModel->indexElements();
        mProject->model = mModel;
        setLayers(mProject, mLayers);
        setMaterialAttributes(mProject);
        readCameras();
        setSite(mProject, mIfc.site);
        setLightsFlag(mProject);
        if (mSkippedFaces > 0) {
            warn(std::to_string(mSkippedFaces) + " faces with fewer than three corners (points and lines) are left out");
        }
    }

private:
    static std::string number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
    void warn(const std::string& text) { mProject->modelWarnings.push_back(text); }

    void setUnitsAndAxes(const std::string& extension)
    {
        // What the import library gives: y up, with the file's units, except that it turns the
        // z-up formats (IFC, Collada, 3DS, glTF's convention) to y up and applies Collada's and
        // IFC's units. STL and PLY come as their files are, which is z up in most CAD programs.
        mUp = (extension == "stl" || extension == "ply") ? 'z' : 'y';
        mUnit = 1.0;
        if (const aiMetadata* meta = mScene->mMetaData) {
            int32_t upAxis = -1;
            double scale = 0.0;
            for (unsigned i = 0; i < meta->mNumProperties; ++i) {
                const std::string key = meta->mKeys[i].C_Str();
                const aiMetadataEntry& value = meta->mValues[i];
                if (key == "UpAxis" && value.mType == AI_INT32) {
                    upAxis = *static_cast<const int32_t*>(value.mData);
                } else if (key == "UnitScaleFactor" && value.mType == AI_DOUBLE) {
                    scale = *static_cast<const double*>(value.mData);
                } else if (key == "UnitScaleFactor" && value.mType == AI_FLOAT) {
                    scale = *static_cast<const float*>(value.mData);
                }
            }
            if (extension == "fbx") {
                // FBX states its axes and its unit in centimetres.
                mUp = upAxis == 2 ? 'z' : 'y';
                mUnit = scale > 0.0 ? scale / 100.0 : 0.01;
            }
        }
        if (mOptions.unit > 0.0) {
            mUnit = mOptions.unit;
        }
        if (mOptions.upAxis == 'y' || mOptions.upAxis == 'z') {
            mUp = mOptions.upAxis;
        }
        // The host's model is in metres with z up.
        mConversion = HostMatrix();
        if (mUp == 'y') {
            mConversion = HostMatrix(1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1);
        }
        HostMatrix scaling;
        HostMatrix::Scaling(aiVector3t<double>(mUnit, mUnit, mUnit), scaling);
        mConversion = scaling * mConversion;
    }

    int32_t textureFor(const aiString& reference)
    {
        const std::string path = reference.C_Str();
        const auto known = mTextures.find(path);
        if (known != mTextures.end()) {
            return known->second;
        }
        ModelTexture texture;
        std::string reason;
        std::string name = path;
        std::replace(name.begin(), name.end(), '\\', '/');
        if (const aiTexture* embedded = mScene->GetEmbeddedTexture(path.c_str())) {
            std::string own = embedded->mFilename.C_Str();
            std::replace(own.begin(), own.end(), '\\', '/');
            texture.name = !own.empty() ? lastName(own) : "Texture " + std::to_string(mModel->textures.size() + 1);
            texture.source = "embedded in the file";
            bool good;
            if (embedded->mHeight == 0) {
                good = decodeImageBytes(reinterpret_cast<const unsigned char*>(embedded->pcData), embedded->mWidth,
                                        &texture, &reason);
            } else if (uint64_t(embedded->mWidth) * embedded->mHeight > (uint64_t(1) << 26) ||
                       embedded->mWidth > unsigned(kGXMaxPixMapSide) || embedded->mHeight > unsigned(kGXMaxPixMapSide)) {
                reason = "the image is larger than the host reads";
                good = false;
            } else {
                texture.width = static_cast<int32_t>(embedded->mWidth);
                texture.height = static_cast<int32_t>(embedded->mHeight);
                texture.pixels.resize(std::size_t(texture.width) * std::size_t(texture.height) * 4);
                for (std::size_t i = 0; i < std::size_t(texture.width) * std::size_t(texture.height); ++i) {
                    const aiTexel& t = embedded->pcData[i];
                    texture.pixels[4 * i] = t.r;
                    texture.pixels[4 * i + 1] = t.g;
                    texture.pixels[4 * i + 2] = t.b;
                    texture.pixels[4 * i + 3] = t.a;
                }
                texture.available = good = true;
                noteAlpha(&texture);
            }
            if (!good) {
                warn("texture \"" + texture.name + "\" embedded in the file cannot be read: " + reason);
            }
        } else {
            texture.name = lastName(name);
            const std::string file = findFile(name);
            texture.source = file;
            if (!decodeImageFile(file, &texture, &reason)) {
                warn("texture \"" + texture.name + "\" cannot be read from " + file + ": " + reason);
            }
        }
        if (!texture.available) {
            texture.width = texture.height = 0;
            texture.pixels.clear();
        }
        mModel->textures.push_back(std::move(texture));
        const int32_t index = static_cast<int32_t>(mModel->textures.size());
        mTextures.emplace(path, index);
        return index;
    }

    // A texture file named in the model: beside the model as written, else by its last name in the
    // model's folder, with any case of letters.
    std::string findFile(const std::string& name) const
    {
        std::string relative = name;
        while (relative.compare(0, 2, "./") == 0) {
            relative.erase(0, 2);
        }
        const std::string direct = !relative.empty() && relative[0] == '/' ? relative : mFolder + "/" + relative;
        if (std::FILE* file = std::fopen(direct.c_str(), "rb")) {
            std::fclose(file);
            return direct;
        }
        const std::string wanted = lower(lastName(relative));
        if (DIR* folder = ::opendir(mFolder.c_str())) {
            std::string found;
            while (const dirent* entry = ::readdir(folder)) {
                if (lower(entry->d_name) == wanted) {
                    found = mFolder + "/" + entry->d_name;
                    break;
                }
            }
            ::closedir(folder);
            if (!found.empty()) {
                return found;
            }
        }
        return direct;
    }

    void readMaterials()
    {
        std::map<std::string, int32_t> known;
        for (unsigned i = 0; i < mScene->mNumMaterials; ++i) {
            const aiMaterial* source = mScene->mMaterials[i];
            EXPMaterialInfo m = {};
            aiString name;
            std::string text = source->Get(AI_MATKEY_NAME, name) == AI_SUCCESS ? name.C_Str() : "";
            if (text.empty()) {
                text = "Material " + std::to_string(i + 1);
            }
            std::snprintf(m.name, sizeof m.name, "%s", text.c_str());
            aiColor3D colour(0.8f, 0.8f, 0.8f);
            source->Get(AI_MATKEY_COLOR_DIFFUSE, colour);
            splitColour(colour, &m.surfaceRGB, &m.diffusePc);
            colour = aiColor3D(0.0f, 0.0f, 0.0f);
            source->Get(AI_MATKEY_COLOR_SPECULAR, colour);
            splitColour(colour, &m.specularRGB, &m.specularPc);
            colour = aiColor3D(0.0f, 0.0f, 0.0f);
            source->Get(AI_MATKEY_COLOR_EMISSIVE, colour);
            int16_t emission = 0;
            splitColour(colour, &m.emissionRGB, &emission);
            m.emissionAtt = emission;
            colour = aiColor3D(0.0f, 0.0f, 0.0f);
            int16_t ambient = 100;
            if (source->Get(AI_MATKEY_COLOR_AMBIENT, colour) == AI_SUCCESS && (colour.r > 0 || colour.g > 0 || colour.b > 0)) {
                API_RGB unused;
                splitColour(colour, &unused, &ambient);
            }
            m.ambientPc = ambient;
            float opacity = 1.0f;
            source->Get(AI_MATKEY_OPACITY, opacity);
            m.transpPc = percent(1.0 - (std::isfinite(opacity) ? opacity : 1.0f));
            float shininess = 0.0f;
            if (source->Get(AI_MATKEY_SHININESS, shininess) == AI_SUCCESS && std::isfinite(shininess)) {
                // The Phong exponent 0 to 100 is the host's shininess 0 to 100, held × 100.
                m.shine = static_cast<int16_t>(std::lround(std::min(std::max(shininess, 0.0f), 100.0f) * 100.0f));
            }
            aiString texture;
            if (source->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS && texture.length > 0) {
                m.textureIndex = textureFor(texture);
            }
            // A CAD model holds each material once: materials alike in every value are one.
            const std::string key(reinterpret_cast<const char*>(&m), sizeof m);
            const auto found = known.find(key);
            if (found != known.end()) {
                mMaterialOf.push_back(found->second);
                continue;
            }
            mModel->materials.push_back(m);
            const int32_t index = static_cast<int32_t>(mModel->materials.size());
            known.emplace(key, index);
            mMaterialOf.push_back(index);
        }
    }

    struct Visit {
        const aiNode* node;
        HostMatrix transform;   // file to host coordinates
        int32_t type;           // inherited element type, 0 none
        int32_t layer;          // inherited layer, 0 none
        std::string layerName;
    };

    // The name of an IFC storey, building or site as the file writes it (the import library drops
    // its blanks).
    std::string spatialName(const std::string& node) const
    {
        const auto found = mIfc.spatialNames.find(ifcGlobalId(node));
        return found != mIfc.spatialNames.end() && !found->second.empty() ? found->second : ifcName(node);
    }

    int32_t layerIndex(const std::string& name)
    {
        const auto found = mLayerOf.find(name);
        if (found != mLayerOf.end()) {
            return found->second;
        }
        mLayers.push_back(name);
        const int32_t index = static_cast<int32_t>(mLayers.size());
        mLayerOf.emplace(name, index);
        return index;
    }

    void walkNodes()
    {
        const aiNode* root = mScene->mRootNode;
        const bool ifc = !ifcClass(root->mName.C_Str()).empty();
        std::vector<Visit> stack;
        stack.push_back({root, mConversion * toDouble(root->mTransformation), 0, 0, std::string()});
        const std::string fileName = lastName(mPath);
        while (!stack.empty()) {
            Visit visit = stack.back();
            stack.pop_back();
            const std::string name = visit.node->mName.C_Str();
            const int32_t own = typeFromName(name, mIfc.roofSlabs);
            if (own != 0) {
                visit.type = own;
            }
            // Layers: the building storey (or building, or site) of an IFC file; the top-level node
            // of another file.
            std::string layerName = visit.layerName;
            if (ifc ? isSpatial(name) && (layerName.empty() || ifcClass(name) != "IfcSite")
                    : visit.node->mParent == root || (visit.node == root && visit.node->mNumMeshes > 0)) {
                layerName = ifc ? spatialName(name) : (!name.empty() ? name : fileName);
            }
            if (visit.node->mNumMeshes > 0) {
                addElement(*visit.node, visit.transform, visit.type, layerIndex(layerName.empty() ? fileName : layerName));
            }
            for (unsigned i = visit.node->mNumChildren; i-- > 0;) {
                const aiNode* child = visit.node->mChildren[i];
                stack.push_back({child, visit.transform * toDouble(child->mTransformation), visit.type, 0, layerName});
            }
        }
    }

    void addElement(const aiNode& node, const HostMatrix& transform, int32_t type, int32_t layer)
    {
        ModelElement element;
        element.type = type != 0 ? type : EXPOther;
        element.layer = layer;
        element.name = node.mName.C_Str();
        element.guid = hostGuid("ELEM", static_cast<uint32_t>(mModel->elements.size() + 1));
        element.firstBody = static_cast<uint32_t>(mModel->bodies.size());
        const bool mirrored = determinant3(transform) < 0.0;
        BodyBuilder builder(mModel.get());
        for (unsigned i = 0; i < node.mNumMeshes; ++i) {
            if (node.mMeshes[i] >= mScene->mNumMeshes) {
                continue;
            }
            const aiMesh& mesh = *mScene->mMeshes[node.mMeshes[i]];
            const std::string where = "mesh \"" + std::string(mesh.mName.C_Str()) + "\" of node \"" + element.name + "\"";
            builder.begin();
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                builder.addVertex(apply(transform, mesh.mVertices[v], 1.0), where + " vertex " + std::to_string(v + 1));
                if (mesh.HasTextureCoords(0)) {
                    builder.addUV(mesh.mTextureCoords[0][v].x, mesh.mTextureCoords[0][v].y);
                }
            }
            const int32_t material = mesh.mMaterialIndex < mMaterialOf.size() ? mMaterialOf[mesh.mMaterialIndex] : 1;
            std::vector<std::vector<int32_t>> loops(1);
            for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
                const aiFace& face = mesh.mFaces[f];
                std::vector<int32_t>& loop = loops[0];
                loop.clear();
                for (unsigned k = 0; k < face.mNumIndices; ++k) {
                    const int32_t v = static_cast<int32_t>(face.mIndices[k]) + 1;
                    if (loop.empty() || loop.back() != v) {
                        loop.push_back(v);
                    }
                }
                while (loop.size() > 1 && loop.front() == loop.back()) {
                    loop.pop_back();
                }
                if (loop.size() < 3) {
                    ++mSkippedFaces;
                    continue;
                }
                if (mirrored) {
                    std::reverse(loop.begin(), loop.end());
                }
                builder.addPolygon(material, 0, loops);
            }
            builder.end();
            ++element.bodyCount;
        }
        mModel->elements.push_back(element);
    }

    const aiNode* nodeNamed(const aiString& name) const { return mScene->mRootNode->FindNode(name); }

    // The transform from a node's coordinates to the host's.
    HostMatrix placement(const aiNode* node) const
    {
        std::vector<const aiNode*> chain;
        for (; node != nullptr; node = node->mParent) {
            chain.push_back(node);
        }
        HostMatrix m = mConversion;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            m = m * toDouble((*it)->mTransformation);
        }
        return m;
    }

    void readLights()
    {
        for (unsigned i = 0; i < mScene->mNumLights; ++i) {
            const aiLight& source = *mScene->mLights[i];
            const std::string name = source.mName.C_Str();
            if (source.mType == aiLightSource_AMBIENT) {
                warn("ambient light \"" + name + "\" is left out: the host has no ambient lamps");
                continue;
            }
            const HostMatrix m = placement(nodeNamed(source.mName));
            ModelLight light;
            light.name = name;
            light.kind = source.mType == aiLightSource_DIRECTIONAL ? 0 : source.mType == aiLightSource_SPOT ? 2 : 1;
            light.position = apply(m, source.mPosition, 1.0);
            light.direction = unitVector(apply(m, source.mDirection, 0.0));
            checkCoordinate(light.position.x, "light \"" + name + "\"");
            checkCoordinate(light.position.y, "light \"" + name + "\"");
            checkCoordinate(light.position.z, "light \"" + name + "\"");
            const aiColor3D& c = source.mColorDiffuse;
            const double peak = std::max({c.r, c.g, c.b, 1.0f});
            light.color = {std::max(0.0, c.r / peak), std::max(0.0, c.g / peak), std::max(0.0, c.b / peak)};
            light.length = 1.0;
            light.cosAngle = light.kind == 2 ? std::cos(std::min<double>(source.mAngleOuterCone, 3.141592653589793)) : 1.0;
            mModel->lights.push_back(light);
        }
    }

    void readCameras()
    {
        Vec3 low = {0, 0, 0}, high = {0, 0, 0};
        const bool any = mModel->bounds(&low, &high);
        const Vec3 centre = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
        std::vector<FileCameraSet> sets;
        for (unsigned i = 0; i < mScene->mNumCameras; ++i) {
            const aiCamera& source = *mScene->mCameras[i];
            const HostMatrix m = placement(nodeNamed(source.mName));
            FileCamera camera;
            camera.name = source.mName.C_Str();
            camera.position = apply(m, source.mPosition, 1.0);
            const std::string where = "camera \"" + camera.name + "\"";
            checkCoordinate(camera.position.x, where);
            checkCoordinate(camera.position.y, where);
            checkCoordinate(camera.position.z, where);
            const Vec3 look = unitVector(apply(m, source.mLookAt, 0.0));
            const Vec3 up = unitVector(apply(m, source.mUp, 0.0));
            // The target lies as far along the view as the model's centre, a metre at least.
            double distance = 1.0;
            if (any) {
                const double along = (centre.x - camera.position.x) * look.x + (centre.y - camera.position.y) * look.y +
                                     (centre.z - camera.position.z) * look.z;
                distance = std::max(1.0, along);
            }
            camera.target = {camera.position.x + distance * look.x, camera.position.y + distance * look.y,
                             camera.position.z + distance * look.z};
            camera.roll = rollOf(look, up);
            // The import library gives the whole horizontal angle of view (its Collada, FBX and glTF
            // readers all do, whatever its documentation says).
            camera.viewCone = std::min(std::max(static_cast<double>(source.mHorizontalFOV), 0.0), 3.141592653589793);
            sets.push_back({camera.name, {camera}, false});
        }
        setCameraSets(mProject, sets);
        mProject->projection = !sets.empty() ? projectionFrom(sets[0].cameras[0]) : automaticProjection(*mModel, true);
    }

    // The roll of a camera in degrees: the turn of its up direction from the vertical around its view.
    static double rollOf(const Vec3& look, const Vec3& up)
    {
        auto dot = [](const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
        auto cross = [](const Vec3& a, const Vec3& b) {
            return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
        };
        const Vec3 vertical = {0.0, 0.0, 1.0};
        const double along = dot(vertical, look);
        const Vec3 level = {vertical.x - along * look.x, vertical.y - along * look.y, vertical.z - along * look.z};
        if (dot(level, level) < 1e-12) {
            return 0.0;
        }
        const double angle = std::atan2(dot(cross(level, up), look), dot(level, up)) * 57.29577951308232;
        return std::fabs(angle) < 1e-9 ? 0.0 : angle;
    }

    std::string mPath;
    std::string mFolder;
    ModelOptions mOptions;
    Project* mProject;
    std::shared_ptr<Model> mModel;
    const aiScene* mScene = nullptr;
    IfcFacts mIfc;
    char mUp = 'y';
    double mUnit = 1.0;
    HostMatrix mConversion;
    std::vector<int32_t> mMaterialOf;
    std::unordered_map<std::string, int32_t> mTextures;
    std::vector<std::string> mLayers;
    std::map<std::string, int32_t> mLayerOf;
    int64_t mSkippedFaces = 0;
};

}  // namespace

void loadSceneFile(const std::string& path, const ModelOptions& options, Project* project)
{
    SceneReader(path, options, project).read();
}

}  // namespace cadhost
