// A z-buffered software rasteriser that draws polygons as the library hands them over.
#ifndef SCN_TOOLS_RENDERER_H
#define SCN_TOOLS_RENDERER_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Image.h"
#include "SceneGeometry.h"
#include "SceneLook.h"
#include "Triangulate.h"

namespace ScnTools {

// The colour of pixels that no surface covers.
constexpr uint8_t kBackground[3] = {214, 226, 238};

// Draws each polygon of the scene's own geometry at once: triangulated, shaded by Lambert's law
// from the light, in its material's colour or texture, against a depth buffer. Internal
// components are not drawn. See-through surfaces are blended over what is drawn before them.
class Renderer : public PolygonSink {
public:
    // towardsLight is a unit vector; looks outlive the renderer.
    Renderer(const ViewFrame& frame, uint32_t width, uint32_t height, const NvScn::CScnVector& towardsLight,
             const MaterialLooks& looks);

    void polygon(int32_t component, const ArrivingPolygon& polygon) override;

    // The picture so far.
    const Picture& picture() const { return mPicture; }
    // Polygons without area, left out.
    int64_t flatPolygons() const { return mFlat; }
    // Triangles that reached the rasteriser.
    int64_t triangles() const { return mTriangles; }

private:
    struct Corner {
        double x;  // picture position in pixels
        double y;
        double w;  // 1 / depth
        double u;  // mapping coordinates over depth
        double v;
    };
    struct Surface {
        float color[3];
        float opacity;
        const Picture* texture;
    };

    void drawTriangle(const NvScn::CScnVector* eyeSpace, const float (*mapping)[2], const Surface& surface);
    void fill(const Corner& a, const Corner& b, const Corner& c, const Surface& surface);
    const Picture* texture(const std::string& path);

    ViewFrame mFrame;
    NvScn::CScnVector mLight;
    const MaterialLooks& mLooks;
    double mFocal;  // pixels per unit of tangent
    double mNear;
    Picture mPicture;
    std::vector<float> mDepth;
    Triangulator mTriangulator;
    std::vector<uint32_t> mIndices;
    std::vector<NvScn::CScnVector> mEye;
    std::map<std::string, std::unique_ptr<Picture>> mTextures;
    int64_t mFlat = 0;
    int64_t mTriangles = 0;
};

}  // namespace ScnTools

#endif
