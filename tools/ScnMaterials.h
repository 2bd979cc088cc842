// scntool materials: one line per material of a scene file.
#ifndef SCN_TOOLS_MATERIALS_H
#define SCN_TOOLS_MATERIALS_H

#include <string>

namespace ScnTools {

// Prints one line per material of the file at path: index, name, flags, diffuse colour, texture
// location and projection, as the simple-material façade sees them. Answers the exit code: 0, or
// 1 after a message when the file cannot be opened or read.
int listMaterials(const std::string& path);

}  // namespace ScnTools

#endif
