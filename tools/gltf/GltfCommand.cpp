// The geometry is read once, through an external storage that triangulates each polygon as it
// arrives; the glTF is written when the whole scene is known.
#include "GltfCommand.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "GltfScene.h"
#include "Image.h"

namespace ScnTools {

namespace {

bool endsWith(const std::string& text, const char* end)
{
    size_t size = std::strlen(end);
    if (text.size() < size) {
        return false;
    }
    for (size_t i = 0; i < size; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - size + i])) != end[i]) {
            return false;
        }
    }
    return true;
}

std::string fileName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int gltfCommand(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "scntool gltf: a scene file and a glTF file are needed\n"
                             "usage: scntool gltf FILE OUT.glb|OUT.gltf\n");
        return 2;
    }
    std::string path = argv[0];
    std::string output = argv[1];
    bool binary = endsWith(output, ".glb");
    if (!binary && !endsWith(output, ".gltf")) {
        std::fprintf(stderr, "scntool gltf: the output must end in .glb or .gltf\n"
                             "usage: scntool gltf FILE OUT.glb|OUT.gltf\n");
        return 2;
    }
    Reports reports;
    MeshCollector meshes;
    GeometryStorage geometry(&meshes, true);
    SceneManager scene = loadScene(path, reports, &geometry);
    if (!scene) {
        return 1;
    }
    meshes.finish();
    if (geometry.scene.polygons == 0 && geometry.components.empty()) {
        std::fprintf(stderr, "scntool: %s has no polygon to export\n", path.c_str());
        return 1;
    }
    if (geometry.badPolygons > 0) {
        std::fprintf(stderr, "scntool: warning: %lld polygons of %s name points that do not exist; they are left out\n",
                     static_cast<long long>(geometry.badPolygons), path.c_str());
    }
    if (meshes.flatPolygons > 0) {
        std::fprintf(stderr, "scntool: warning: %lld polygons of %s have no area; they are left out\n",
                     static_cast<long long>(meshes.flatPolygons), path.c_str());
    }
    std::string binName = fileName(output.substr(0, output.size() - 5)) + ".bin";
    std::vector<uint8_t> binaryChunk;
    GltfNotes notes;
    std::string document = buildGltf(*scene, geometry, meshes, folderOf(path), binary, binName, binaryChunk, notes);
    for (const std::string& missing : notes.missingTextures) {
        std::fprintf(stderr, "scntool: warning: the texture %s is not beside %s; its colour is used\n",
                     missing.c_str(), path.c_str());
    }
    if (notes.unplacedInstances > 0) {
        std::fprintf(stderr, "scntool: warning: %lld object instances of %s place no internal component; they are left out\n",
                     static_cast<long long>(notes.unplacedInstances), path.c_str());
    }
    std::string error;
    if (!binary && !binaryChunk.empty()) {
        std::string binPath = folderOf(output) + binName;
        if (!writeBytes(binPath, binaryChunk.data(), binaryChunk.size(), error)) {
            std::fprintf(stderr, "scntool: cannot write %s: %s\n", binPath.c_str(), error.c_str());
            return 1;
        }
    }
    if (!writeBytes(output, document.data(), document.size(), error)) {
        std::fprintf(stderr, "scntool: cannot write %s: %s\n", output.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace ScnTools
