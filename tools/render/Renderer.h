// A z-buffered software rasteriser that draws polygons as the library hands them over.
#ifndef SCN_TOOLS_RENDERER_H
#define SCN_TOOLS_RENDERER_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Image.h"
#include "Placement.h"
#include "SceneGeometry.h"
#include "SceneLook.h"
#include "Triangulate.h"

namespace ScnTools {

// Whether a surface of that opacity is blended over what lies behind it (0 leaves no mark, 1
// and more hides it).
inline bool seeThrough(float opacity)
{
    return opacity > 0 && opacity < 1;
}

// The colour of pixels that no surface covers.
constexpr uint8_t kBackground[3] = {214, 226, 238};

// Draws each polygon at once: triangulated, shaded by Lambert's law from the light, in its
// material's colour or texture, against a depth buffer. The scene's own geometry is drawn as it
// stands, an internal component's once at every instance that places it, in the materials of
// its object definition. See-through surfaces are blended over what is drawn before them.
//
// Smoothed polygons are shaded with the normals of their corners, each the sum of the normals
// of the smoothed polygons that share the point; these sums need every polygon of the table
// first. So the geometry is handed over twice: the first time (flat pass) the other polygons
// are drawn and the smoothed ones only summed, the second time (smoothed pass, needed only
// when smoothedPolygons() is not 0) only the smoothed ones are drawn. The sums take three
// floats per point of the tables that have smoothed polygons; the corners that the short way
// remembers take 1.3 MB, whatever the scene.
class Renderer final : public PolygonSink {
public:
    // towardsLight is a unit vector; looks and scene outlive the renderer; sceneFolder resolves
    // the texture references of the components' materials.
    Renderer(const ViewFrame& frame, uint32_t width, uint32_t height, const NvScn::CScnVector& towardsLight,
             const MaterialLooks& looks, NvScn::CScnMgr& scene, const std::string& sceneFolder);

    void component(int32_t index, const NvScn::CScnUUID& uuid) override;
    void polygon(int32_t component, const ArrivingPolygon& polygon) override;
    // True for a triangle of the scene's own geometry, drawn in this pass, that lies out of the
    // view or between pixel centres: counted, not drawn.
    bool unseen(int32_t component, const ArrivingPolygon& polygon) const override;
    // A triangle of the scene's own geometry in the flat pass goes the short way: no lists, no
    // triangulation, and no shading unless its box holds a pixel centre.
    void triangle(int32_t component, const ArrivingTriangle& triangle) override;
    bool unseenTriangle(int32_t component, const ArrivingTriangle& triangle) const override;
    void countUnseen(int64_t count) override { mPolygons += count; }

    // Moves on to the smoothed pass.
    void startSmoothedPass() { mSmoothedPass = true; }

    // Two renderers that drew the two halves of the geometry on pictures of their own. Before the
    // smoothed pass each takes the normal sums of both; absorb then takes the other's picture
    // (a pixel where the other's surface lies nearer; where both lie alike, this one's, as it drew
    // the earlier half), its counts and its missing textures. Blending makes the order of
    // see-through surfaces matter: after drewSeeThrough() the halves do not make the picture.
    void shareNormalSums(Renderer& other);
    void absorb(const Renderer& other);
    bool drewSeeThrough() const { return mSeeThrough; }

    // The picture so far.
    const Picture& picture() const { return mPicture; }
    // Polygons without area, left out.
    int64_t flatPolygons() const { return mFlat; }
    // Polygons to draw handed over: the scene's and those of the components that instances place.
    int64_t polygons() const { return mPolygons; }
    // Smoothed polygons met in the flat pass.
    int64_t smoothedPolygons() const { return mSmoothed; }
    // Triangles that reached the rasteriser.
    int64_t triangles() const { return mTriangles; }
    // Texture references of the scene's and the components' materials that do not resolve.
    const std::vector<std::string>& missingTextures() const { return mMissingTextures; }

private:
    struct Corner {
        double x;  // picture position in pixels
        double y;
        double w;  // 1 / depth
        double u;  // mapping coordinates over depth
        double v;
        double s;  // shade over depth
    };
    struct Attributes {
        double u;
        double v;
        double shade;
    };
    struct Surface {
        float color[3];
        float opacity;
        const Picture* texture;
        // Whether the colour is shaded per pixel from the corners' shades.
        bool smooth;
    };
    // The pixels whose centres lie in a triangle's box, first and last column and row.
    struct PixelBox {
        int x0;
        int x1;
        int y0;
        int y1;
    };
    // A corner of the scene's own geometry in eye space and, before the near plane, projected.
    // Most points are corners of several triangles: the short way looks each up by its point
    // index and computes it again only when the slot holds another point.
    struct SeenCorner {
        NvScn::CScnVector world;
        NvScn::CScnVector eye;
        NvScn::CScnVector screen;
        bool inFront;
        bool known;
    };
    // A geometry table of the file: the scene's own or a component's.
    struct Table {
        std::vector<Placement> placements;
        const MaterialLooks* looks = nullptr;
        std::unique_ptr<MaterialLooks> ownLooks;
        std::vector<float> normalSums;  // three per point
    };

    Table& table(int32_t component);
    bool drawnShort(int32_t component, bool smoothed) const
    {
        return component < 0 && !smoothed && !mSmoothedPass;
    }
    bool hiddenTriangle(const NvScn::CScnVector* corners) const;
    // The unit normal turned towards the eye; towardsEye is -1 when it was turned.
    NvScn::CScnVector facingEye(const NvScn::CScnVector& normal, const NvScn::CScnVector& corner,
                                double& towardsEye) const;
    // The surface of a polygon of the material lit by shade; false when it leaves no mark.
    bool surfaceOf(const Table& table, int32_t material, double shade, const NvScn::CScnVertex* vertices,
                   size_t count, Surface& surface);
    bool surfaceOf(const SurfaceLook& look, double shade, const NvScn::CScnVertex* vertices, size_t count,
                   Surface& surface);
    // The look of a material of the scene's own geometry; runs of triangles mostly share one.
    const SurfaceLook& shortLook(int32_t material)
    {
        if (mShortLook == nullptr || material != mShortMaterial) {
            mShortLook = &mSceneTable.looks->look(material);
            mShortMaterial = material;
        }
        return *mShortLook;
    }
    void sumNormals(Table& table, const ArrivingPolygon& polygon);
    void drawPolygon(const std::vector<NvScn::CScnVector>& corners, const ArrivingPolygon& polygon, const Table& table,
                     const Placement* placement);
    NvScn::CScnVector toEye(const NvScn::CScnVector& point) const
    {
        NvScn::CScnVector d = {point.x - mFrame.eye.x, point.y - mFrame.eye.y, point.z - mFrame.eye.z};
        return {dot(d, mFrame.right), dot(d, mFrame.up), dot(d, mFrame.forward)};
    }
    bool outsideView(const NvScn::CScnVector* eyeSpace, size_t count) const;
    bool project(const NvScn::CScnVector* eyeSpace, size_t count, NvScn::CScnVector* out) const;
    // The projection of a corner in eye space that lies before the near plane.
    NvScn::CScnVector projected(const NvScn::CScnVector& eyeSpace) const
    {
        double w = 1.0 / eyeSpace.z;
        return {mPicture.width / 2.0 + mFocal * eyeSpace.x * w, mPicture.height / 2.0 - mFocal * eyeSpace.y * w, w};
    }
    const SeenCorner& seen(const NvScn::CScnVector& corner, int32_t pointIndex);
    // The box of pixel centres that the projected corners span; false when it holds none.
    bool pixelBox(const NvScn::CScnVector* projected, size_t count, PixelBox& box) const;
    bool wideBox(double minX, double maxX, double minY, double maxY, PixelBox& box) const;
    bool coversNoPixel(const NvScn::CScnVector* projected, size_t count) const
    {
        PixelBox box;
        return !pixelBox(projected, count, box);
    }
    double shadeOf(const NvScn::CScnVector& unitNormal) const;
    void drawTriangle(const NvScn::CScnVector* eyeSpace, const NvScn::CScnVector* projected,
                      const Attributes* attributes, const Surface& surface, const PixelBox* box = nullptr);
    // Fills the triangle; box, when given, is the pixel box of the three corners.
    void fill(const Corner& a, const Corner& b, const Corner& c, const Surface& surface,
              const PixelBox* box = nullptr);
    // The same, with the surface asked of resolve (a callable returning const Surface*, never
    // null) only when a pixel takes the triangle.
    template <class Resolve>
    void fillWith(const Corner& a, const Corner& b, const Corner& c, const PixelBox* box, Resolve&& resolve);
    const Picture* texture(const std::string& path);

    ViewFrame mFrame;
    NvScn::CScnVector mLight;
    NvScn::CScnMgr& mScene;
    std::string mFolder;
    double mFocal;  // pixels per unit of tangent
    double mNear;
    Picture mPicture;
    std::vector<float> mDepth;
    Triangulator mTriangulator;
    std::vector<uint32_t> mIndices;
    std::vector<NvScn::CScnVector> mEye;
    std::vector<NvScn::CScnVector> mScreen;  // pixel x, y and 1 / depth of mEye
    std::vector<NvScn::CScnVector> mPlaced;
    std::vector<double> mShades;
    std::vector<SeenCorner> mSeen;
    // A triangle that goes the long way, as a polygon.
    ArrivingPolygon mLongWay;
    Table mSceneTable;
    std::vector<std::unique_ptr<Table>> mComponents;
    std::map<std::string, std::unique_ptr<Picture>> mTextures;
    std::vector<std::string> mMissingTextures;
    const SurfaceLook* mShortLook = nullptr;
    int32_t mShortMaterial = 0;
    bool mSmoothedPass = false;
    bool mSeeThrough = false;
    int64_t mFlat = 0;
    int64_t mPolygons = 0;
    int64_t mSmoothed = 0;
    int64_t mTriangles = 0;
};

}  // namespace ScnTools

#endif
