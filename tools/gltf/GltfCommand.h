// scntool gltf: a scene file as glTF 2.0.
#ifndef SCN_TOOLS_GLTF_COMMAND_H
#define SCN_TOOLS_GLTF_COMMAND_H

namespace ScnTools {

// Runs "scntool gltf FILE OUT.glb|OUT.gltf" with the arguments after "gltf"; answers the exit
// code (0 done, 1 failed, 2 bad arguments).
int gltfCommand(int argc, char** argv);

}  // namespace ScnTools

#endif
