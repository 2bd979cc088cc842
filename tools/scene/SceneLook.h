// What a picture or an export of a scene needs beside the geometry: the eye, the sun and the
// look of each material.
#ifndef SCN_TOOLS_SCENE_LOOK_H
#define SCN_TOOLS_SCENE_LOOK_H

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "SceneGeometry.h"

namespace ScnTools {

// Vector arithmetic, inline: the rasteriser calls it for every polygon.
inline double dot(const NvScn::CScnVector& a, const NvScn::CScnVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline NvScn::CScnVector cross(const NvScn::CScnVector& a, const NvScn::CScnVector& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A unit vector or the zero vector.
inline NvScn::CScnVector normalised(const NvScn::CScnVector& v)
{
    double length = std::sqrt(dot(v, v));
    if (!(length > 0) || !std::isfinite(length)) {
        return {0, 0, 0};
    }
    double inverse = 1.0 / length;
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}

// An eye in the scene: where it stands, its unit axes (looking along forward, right and up in
// the picture) and its horizontal angle of view in degrees.
struct ViewFrame {
    NvScn::CScnVector eye = {0, 0, 0};
    NvScn::CScnVector forward = {0, 1, 0};
    NvScn::CScnVector right = {1, 0, 0};
    NvScn::CScnVector up = {0, 0, 1};
    double fieldOfView = 50;
};

// The frame of a perspective view: position, target, focal (the horizontal angle of view) and
// roll (radians, turning the picture about the line of sight). Heights run along z; a line of
// sight along z takes y as the picture's up. False when position and target coincide.
bool cameraFrame(NvScn::CScnCamera& camera, ViewFrame& frame);

// A three-quarter view from the front left, above, that shows the whole box in a picture of
// that width over height.
ViewFrame automaticFrame(const Bounds& box, double aspect);

// The view to draw: the named one, else the current one, else the first; null when the scene
// has none or no view has that name.
NvScn::CScnCamera* chooseView(NvScn::CScnMgr& scene, const std::string& name);

// The unit direction towards the sun of the heliodon that the view names, else of the first
// active heliodon: its own angles, 45 degrees of height, or the place, date and time. False when
// there is no such heliodon or its sun is below the horizon.
bool sunDirection(NvScn::CScnMgr& scene, NvScn::CScnCamera* view, NvScn::CScnVector& towardsSun);

// The look of a material: diffuse colour (0 to 1), opacity (1 opaque) and the texture file
// found beside the scene, "" when there is none or it does not resolve.
struct SurfaceLook {
    float red = 0.8f;
    float green = 0.8f;
    float blue = 0.8f;
    float opacity = 1.0f;
    std::string name;
    std::string texture;
};

// The looks of a scene's materials, by material index; an index without a material gets the
// neutral look. Texture references that do not resolve are listed in missingTextures.
struct MaterialLooks {
    std::vector<SurfaceLook> looks;
    std::vector<std::string> missingTextures;

    const SurfaceLook& look(int32_t index) const;
};

// Reads the materials of the scene (or of a definition) through their façade; sceneFolder is
// where texture references are resolved.
MaterialLooks materialLooks(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, const std::string& sceneFolder);

// A local file path for a texture reference ("file:///..." or a plain path, absolute or
// relative to the scene's folder), or "" when no file of that name exists.
std::string resolveTexture(const std::string& reference, const std::string& sceneFolder);

}  // namespace ScnTools

#endif
