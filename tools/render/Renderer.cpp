#include "Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ScnTools {

using NvScn::CScnVector;

namespace {

constexpr double kPi = 3.141592653589793;
// Light that reaches faces turned away from the sun.
constexpr double kAmbient = 0.3;
// Rows of a triangle's box up to this many pixels are tested pixel by pixel.
constexpr int kShortRow = 4;
// Slots of the corners the short way remembers (a power of two): a mesh names again the points
// of the last rows it ran along, some thousands at most in most scenes.
constexpr size_t kSeenCorners = 16384;

bool sameBits(const CScnVector& a, const CScnVector& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// ceil(low) and floor(high) as integers, for low <= high (or either not a number); false beyond a
// billion either way, where the box is worked out in doubles.
inline bool wholeSpan(double low, double high, int64_t& first, int64_t& last)
{
    if (!(low > -1e9 && high < 1e9)) {
        return false;
    }
    first = static_cast<int64_t>(low);
    first += static_cast<double>(first) < low ? 1 : 0;
    last = static_cast<int64_t>(high);
    last -= static_cast<double>(last) > high ? 1 : 0;
    return true;
}

// std::floor and std::ceil, without a call for the values a picture's box meets.
inline double floorOf(double value)
{
    if (value > -1e9 && value < 1e9) {
        double whole = static_cast<double>(static_cast<int64_t>(value));
        return whole > value ? whole - 1 : whole;
    }
    return std::floor(value);
}

inline double ceilOf(double value)
{
    if (value > -1e9 && value < 1e9) {
        double whole = static_cast<double>(static_cast<int64_t>(value));
        return whole < value ? whole + 1 : whole;
    }
    return std::ceil(value);
}

double orient(double ax, double ay, double bx, double by, double cx, double cy)
{
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// Rounds a value from 0 to 255 to the nearest byte, halves up.
inline uint8_t toByte(float value)
{
    return static_cast<uint8_t>(static_cast<int>(static_cast<double>(value) + 0.5));
}

// The edge function of a triangle's side from p to q, positive inside. It is evaluated from the
// lower end of the side (in picture order) whichever way the triangle runs along it, so that the
// two triangles sharing a side get the same value with opposite signs at every pixel; a pixel
// exactly on the side belongs to the triangle whose left or top side it is, not to both.
struct Edge {
    double ox;
    double oy;
    double dx;
    double dy;
    double sign;
    bool inclusive;

    Edge(double px, double py, double qx, double qy)
    {
        bool forward = py < qy || (py == qy && px < qx);
        ox = forward ? px : qx;
        oy = forward ? py : qy;
        dx = forward ? qx - px : px - qx;
        dy = forward ? qy - py : py - qy;
        sign = forward ? 1.0 : -1.0;
        double stepRight = -sign * dy;
        inclusive = stepRight > 0 || (stepRight == 0 && sign * dx > 0);
    }

    // The part of the function that depends on the row only.
    double row(double y) const { return dx * (y - oy); }
    double at(double rowPart, double x) const { return sign * (rowPart - dy * (x - ox)); }
    bool covers(double value) const { return value > 0 || (value == 0 && inclusive); }

    // Narrows the steps [first, last] from x0 along the row to those that may be inside; false
    // when none is left. One step of margin absorbs the rounding of the crossing; each step is
    // still tested.
    bool narrow(double rowPart, double x0, int& first, int& last) const
    {
        if (dy == 0) {
            return covers(sign * rowPart) && first <= last;
        }
        // The function is zero at x = ox + rowPart / dy; inside lies right of it when it grows
        // along the row.
        double crossing = ox + rowPart / dy - x0;
        if (-sign * dy > 0) {
            if (crossing > last + 1.0) {
                return false;
            }
            if (crossing > first + 1.0) {
                first = static_cast<int>(crossing) - 1;
            }
        } else {
            if (crossing < first - 1.0) {
                return false;
            }
            if (crossing < last - 1.0) {
                last = static_cast<int>(crossing) + 1;
            }
        }
        return first <= last;
    }
};

}  // namespace

// When the box holds no pixel centre no triangle between the corners is drawn. Many polygons of a
// large scene are that small, and this spares them the shading.
inline bool Renderer::pixelBox(const CScnVector* projected, size_t count, PixelBox& box) const
{
    double minX = projected[0].x, maxX = minX, minY = projected[0].y, maxY = minY;
    for (size_t i = 1; i < count; ++i) {
        double x = projected[i].x;
        double y = projected[i].y;
        minX = x < minX ? x : minX;
        maxX = maxX < x ? x : maxX;
        minY = y < minY ? y : minY;
        maxY = maxY < y ? y : maxY;
    }
    int64_t left, right, top, bottom;
    if (wholeSpan(minX - 0.5, maxX - 0.5, left, right) && wholeSpan(minY - 0.5, maxY - 0.5, top, bottom)) {
        left = std::max<int64_t>(0, left);
        right = std::min<int64_t>(static_cast<int64_t>(mPicture.width) - 1, right);
        top = std::max<int64_t>(0, top);
        bottom = std::min<int64_t>(static_cast<int64_t>(mPicture.height) - 1, bottom);
        box = {static_cast<int>(left), static_cast<int>(right), static_cast<int>(top), static_cast<int>(bottom)};
        return left <= right && top <= bottom;
    }
    return wideBox(minX, maxX, minY, maxY, box);
}

Renderer::Renderer(const ViewFrame& frame, uint32_t width, uint32_t height, const CScnVector& towardsLight,
                   const MaterialLooks& looks, NvScn::CScnMgr& scene, const std::string& sceneFolder)
    : mFrame(frame), mLight(towardsLight), mScene(scene), mFolder(sceneFolder)
{
    mPicture.width = width;
    mPicture.height = height;
    const uint8_t background[4] = {kBackground[0], kBackground[1], kBackground[2], 255};
    uint32_t pixel;
    std::memcpy(&pixel, background, sizeof pixel);
    mPicture.rgba.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < mPicture.rgba.size(); i += 4) {
        std::memcpy(&mPicture.rgba[i], &pixel, sizeof pixel);
    }
    mDepth.assign(static_cast<size_t>(width) * height, 0.0f);
    mSeen.assign(kSeenCorners, SeenCorner{});
    mFocal = width / 2.0 / std::tan(frame.fieldOfView * kPi / 360.0);
    mNear = 1.0;
    mSceneTable.looks = &looks;
    mMissingTextures = looks.missingTextures;
}

const Picture* Renderer::texture(const std::string& path)
{
    auto found = mTextures.find(path);
    if (found != mTextures.end()) {
        return found->second.get();
    }
    std::unique_ptr<Picture> picture(new Picture);
    std::string error;
    if (!readImageFile(path, *picture, error) || picture->width == 0 || picture->height == 0) {
        picture.reset();
    }
    const Picture* kept = picture.get();
    mTextures[path] = std::move(picture);
    return kept;
}

Renderer::Table& Renderer::table(int32_t component)
{
    if (component < 0) {
        return mSceneTable;
    }
    size_t index = static_cast<size_t>(component);
    while (mComponents.size() <= index) {
        mComponents.emplace_back(new Table);
        mComponents.back()->looks = mSceneTable.looks;
    }
    return *mComponents[index];
}

void Renderer::component(int32_t index, const NvScn::CScnUUID& uuid)
{
    Table& made = table(index);
    // The smoothed pass meets the components again; what the flat pass found stays.
    if (mSmoothedPass) {
        return;
    }
    made.placements = placementsOf(mScene, uuid);
    if (made.placements.empty()) {
        return;
    }
    NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials = componentMaterials(mScene, uuid);
    if (materials != nullptr) {
        made.ownLooks.reset(new MaterialLooks(materialLooks(materials, mFolder)));
        made.looks = made.ownLooks.get();
        for (const std::string& missing : made.ownLooks->missingTextures) {
            if (std::find(mMissingTextures.begin(), mMissingTextures.end(), missing) == mMissingTextures.end()) {
                mMissingTextures.push_back(missing);
            }
        }
    }
}

void Renderer::polygon(int32_t component, const ArrivingPolygon& polygon)
{
    Table& geometry = table(component);
    if (component >= 0 && geometry.placements.empty()) {
        return;
    }
    // The library reads only polygons without holes as smoothed.
    bool smoothed = polygon.smoothed && polygon.loopSizes.size() == 1;
    if (!mSmoothedPass) {
        ++mPolygons;
        if (smoothed) {
            ++mSmoothed;
            sumNormals(geometry, polygon);
            return;
        }
    } else if (!smoothed) {
        return;
    }
    if (component < 0) {
        drawPolygon(polygon.corners, polygon, geometry, nullptr);
        return;
    }
    // A polygon without area counts once, however many instances place it.
    int64_t flat = mFlat;
    for (const Placement& placement : geometry.placements) {
        mPlaced.resize(polygon.corners.size());
        for (size_t i = 0; i < polygon.corners.size(); ++i) {
            mPlaced[i] = placement.point(polygon.corners[i]);
        }
        drawPolygon(mPlaced, polygon, geometry, &placement);
        if (mFlat > flat) {
            mFlat = flat + 1;
            return;
        }
    }
}

bool Renderer::unseen(int32_t component, const ArrivingPolygon& polygon) const
{
    return drawnShort(component, polygon.smoothed) && polygon.loopSizes.size() == 1 && polygon.loopSizes[0] == 3 &&
           polygon.corners.size() == 3 && hiddenTriangle(polygon.corners.data());
}

bool Renderer::unseenTriangle(int32_t component, const ArrivingTriangle& triangle) const
{
    return drawnShort(component, triangle.smoothed) && hiddenTriangle(triangle.corners);
}

// Whether a triangle with an area covers no pixel centre (a triangle without area is drawn to be
// counted as such).
bool Renderer::hiddenTriangle(const CScnVector* corners) const
{
    CScnVector eyeSpace[3] = {toEye(corners[0]), toEye(corners[1]), toEye(corners[2])};
    // Before the near plane a box beyond the picture holds no pixel centre either.
    CScnVector projected[3];
    if (!(project(eyeSpace, 3, projected) ? coversNoPixel(projected, 3) : outsideView(eyeSpace, 3))) {
        return false;
    }
    CScnVector normal = loopNormal(corners, 3);
    return (normal.x != 0 || normal.y != 0 || normal.z != 0) && std::isfinite(normal.x + normal.y + normal.z);
}

// The slot is the point's whatever the point index says: it is checked against the corner.
inline const Renderer::SeenCorner& Renderer::seen(const CScnVector& corner, int32_t pointIndex)
{
    SeenCorner& slot = mSeen[static_cast<uint32_t>(pointIndex) & (kSeenCorners - 1)];
    if (!slot.known || !sameBits(slot.world, corner)) {
        slot.known = true;
        slot.world = corner;
        slot.eye = toEye(corner);
        slot.inFront = slot.eye.z >= mNear;
        slot.screen = slot.inFront ? projected(slot.eye) : CScnVector{0, 0, 0};
    }
    return slot;
}

void Renderer::triangle(int32_t component, const ArrivingTriangle& triangle)
{
    if (!drawnShort(component, triangle.smoothed)) {
        // The smoothed pass draws only smoothed polygons.
        if (component >= 0 || triangle.smoothed) {
            mLongWay.assign(triangle);
            polygon(component, mLongWay);
        }
        return;
    }
    ++mPolygons;
    const CScnVector* corners = triangle.corners;
    CScnVector projected[3];
    bool inFront = true;
    for (int k = 0; k < 3; ++k) {
        const SeenCorner& corner = seen(corners[k], triangle.vertices[k].pointIndex);
        projected[k] = corner.screen;
        inFront = inFront && corner.inFront;
    }
    CScnVector eyeSpace[3];
    if (!inFront) {
        for (int k = 0; k < 3; ++k) {
            eyeSpace[k] = toEye(corners[k]);
        }
    }
    PixelBox box;
    bool hidden = inFront ? !pixelBox(projected, 3, box) : outsideView(eyeSpace, 3);
    CScnVector normal = loopNormal(corners, 3);
    if (!(normal.x != 0 || normal.y != 0 || normal.z != 0) || !std::isfinite(normal.x + normal.y + normal.z)) {
        ++mFlat;
        return;
    }
    if (hidden) {
        return;
    }
    const NvScn::CScnVertex* v = triangle.vertices;
    const SurfaceLook& look = shortLook(triangle.material);
    if (!inFront) {
        double towardsEye;
        double shade = shadeOf(facingEye(normal, corners[0], towardsEye));
        Surface surface;
        if (!surfaceOf(look, shade, v, 3, surface)) {
            return;
        }
        Attributes attributes[3] = {{v[0].u, v[0].v, shade}, {v[1].u, v[1].v, shade}, {v[2].u, v[2].v, shade}};
        drawTriangle(eyeSpace, nullptr, attributes, surface);
        return;
    }
    // A surface that leaves no mark is not drawn; the others are shaded once a pixel takes them.
    if (!(std::clamp(look.opacity, 0.0f, 1.0f) > 0)) {
        return;
    }
    ++mTriangles;
    Corner screen[3];
    // The flat pass shades the whole triangle alike: the corners carry no shade, and mapping
    // coordinates only when a texture may be sampled.
    bool mapped = !look.texture.empty();
    for (int k = 0; k < 3; ++k) {
        double w = projected[k].z;
        screen[k] = {projected[k].x, projected[k].y, w, mapped ? v[k].u * w : 0, mapped ? v[k].v * w : 0, 0};
    }
    Surface surface;
    fillWith(screen[0], screen[1], screen[2], &box, [&]() -> const Surface* {
        double towardsEye;
        double shade = shadeOf(facingEye(normal, corners[0], towardsEye));
        surfaceOf(look, shade, v, 3, surface);
        return &surface;
    });
}

void Renderer::shareNormalSums(Renderer& other)
{
    auto share = [](Table& one, Table& two) {
        std::vector<float>& a = one.normalSums;
        std::vector<float>& b = two.normalSums;
        a.resize(std::max(a.size(), b.size()), 0.0f);
        for (size_t i = 0; i < b.size(); ++i) {
            a[i] += b[i];
        }
        b = a;
    };
    share(mSceneTable, other.mSceneTable);
    size_t components = std::max(mComponents.size(), other.mComponents.size());
    if (components > 0) {
        table(static_cast<int32_t>(components - 1));
        other.table(static_cast<int32_t>(components - 1));
    }
    for (size_t i = 0; i < components; ++i) {
        share(*mComponents[i], *other.mComponents[i]);
    }
}

void Renderer::absorb(const Renderer& other)
{
    const size_t pixels = mDepth.size();
    if (other.mDepth.size() == pixels) {
        for (size_t i = 0; i < pixels; ++i) {
            if (other.mDepth[i] > mDepth[i]) {
                mDepth[i] = other.mDepth[i];
                std::memcpy(&mPicture.rgba[i * 4], &other.mPicture.rgba[i * 4], 3);
            }
        }
    }
    mFlat += other.mFlat;
    mPolygons += other.mPolygons;
    mSmoothed += other.mSmoothed;
    mTriangles += other.mTriangles;
    mSeeThrough = mSeeThrough || other.mSeeThrough;
    for (const std::string& missing : other.mMissingTextures) {
        if (std::find(mMissingTextures.begin(), mMissingTextures.end(), missing) == mMissingTextures.end()) {
            mMissingTextures.push_back(missing);
        }
    }
}

void Renderer::sumNormals(Table& geometry, const ArrivingPolygon& polygon)
{
    CScnVector normal = loopNormal(polygon.corners, 0, polygon.loopSizes[0]);
    if (!std::isfinite(normal.x + normal.y + normal.z)) {
        return;
    }
    std::vector<float>& sums = geometry.normalSums;
    for (const NvScn::CScnVertex& vertex : polygon.vertices) {
        size_t at = static_cast<size_t>(vertex.pointIndex) * 3;
        if (at + 3 > sums.size()) {
            sums.resize(at + 3, 0.0f);
        }
        sums[at] += static_cast<float>(normal.x);
        sums[at + 1] += static_cast<float>(normal.y);
        sums[at + 2] += static_cast<float>(normal.z);
    }
}

// Whether all corners lie beyond one side of the view (two pixels of margin) or before the near
// plane: then the polygon, which is convex in the plane of its corners' hull, covers no pixel.
bool Renderer::outsideView(const CScnVector* eyeSpace, size_t count) const
{
    double across = (mPicture.width / 2.0 + 2) / mFocal;
    double down = (mPicture.height / 2.0 + 2) / mFocal;
    bool left = true, right = true, above = true, below = true, before = true;
    for (size_t i = 0; i < count; ++i) {
        const CScnVector& p = eyeSpace[i];
        right = right && p.x > across * p.z;
        left = left && -p.x > across * p.z;
        above = above && p.y > down * p.z;
        below = below && -p.y > down * p.z;
        before = before && p.z < mNear;
    }
    return left || right || above || below || before;
}

// Projects the corners as the rasteriser does (x and y in pixels, z holding 1 / depth); false,
// with out partly filled, when a corner is not before the near plane.
bool Renderer::project(const CScnVector* eyeSpace, size_t count, CScnVector* out) const
{
    for (size_t i = 0; i < count; ++i) {
        const CScnVector& p = eyeSpace[i];
        if (!(p.z >= mNear)) {
            return false;
        }
        out[i] = projected(p);
    }
    return true;
}

// The box of corners far out of the picture, or not numbers.
bool Renderer::wideBox(double minX, double maxX, double minY, double maxY, PixelBox& box) const
{
    double left = std::max(0.0, ceilOf(minX - 0.5));
    double right = std::min(static_cast<double>(mPicture.width) - 1, floorOf(maxX - 0.5));
    double top = std::max(0.0, ceilOf(minY - 0.5));
    double bottom = std::min(static_cast<double>(mPicture.height) - 1, floorOf(maxY - 0.5));
    if (!(left <= right && top <= bottom)) {
        return false;
    }
    box = {static_cast<int>(left), static_cast<int>(right), static_cast<int>(top), static_cast<int>(bottom)};
    return true;
}

double Renderer::shadeOf(const CScnVector& unitNormal) const
{
    return kAmbient + (1 - kAmbient) * std::max(0.0, dot(unitNormal, mLight));
}

CScnVector Renderer::facingEye(const CScnVector& normal, const CScnVector& corner, double& towardsEye) const
{
    CScnVector unit = normalised(normal);
    CScnVector toEye = {mFrame.eye.x - corner.x, mFrame.eye.y - corner.y, mFrame.eye.z - corner.z};
    towardsEye = dot(unit, toEye) < 0 ? -1.0 : 1.0;
    return {unit.x * towardsEye, unit.y * towardsEye, unit.z * towardsEye};
}

bool Renderer::surfaceOf(const Table& geometry, int32_t material, double shade, const NvScn::CScnVertex* vertices,
                         size_t count, Surface& surface)
{
    return surfaceOf(geometry.looks->look(material), shade, vertices, count, surface);
}

bool Renderer::surfaceOf(const SurfaceLook& look, double shade, const NvScn::CScnVertex* vertices, size_t count,
                         Surface& surface)
{
    surface.smooth = mSmoothedPass;
    double tint = surface.smooth ? 1.0 : shade;
    surface.color[0] = static_cast<float>(look.red * tint);
    surface.color[1] = static_cast<float>(look.green * tint);
    surface.color[2] = static_cast<float>(look.blue * tint);
    surface.opacity = std::clamp(look.opacity, 0.0f, 1.0f);
    mSeeThrough = mSeeThrough || seeThrough(surface.opacity);
    surface.texture = nullptr;
    if (!look.texture.empty()) {
        surface.texture = texture(look.texture);
        for (size_t i = 0; i < count; ++i) {
            if ((vertices[i].flags & NvScn::kScnVertexMapped) == 0) {
                surface.texture = nullptr;
            }
        }
        if (surface.texture != nullptr) {
            surface.color[0] = surface.color[1] = surface.color[2] = static_cast<float>(tint);
        }
    }
    return surface.opacity > 0;
}

void Renderer::drawPolygon(const std::vector<CScnVector>& corners, const ArrivingPolygon& polygon, const Table& geometry,
                           const Placement* placement)
{
    mIndices.clear();
    CScnVector normal = loopNormal(corners, 0, polygon.loopSizes[0]);
    if (polygon.loopSizes.size() == 1 && polygon.loopSizes[0] == 3) {
        // A triangle is its own triangulation when it has an area.
        if (!(normal.x != 0 || normal.y != 0 || normal.z != 0) || !std::isfinite(normal.x + normal.y + normal.z)) {
            ++mFlat;
            return;
        }
        mIndices = {0, 1, 2};
    } else if (mTriangulator.triangulate(corners, polygon.loopSizes, mIndices) == 0) {
        ++mFlat;
        return;
    }
    mEye.resize(corners.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        mEye[i] = toEye(corners[i]);
    }
    mScreen.resize(corners.size());
    bool inFront = project(mEye.data(), mEye.size(), mScreen.data());
    if (inFront ? coversNoPixel(mScreen.data(), mScreen.size()) : outsideView(mEye.data(), mEye.size())) {
        return;
    }
    double towardsEye;
    normal = facingEye(normal, corners[0], towardsEye);
    double shade = shadeOf(normal);
    Surface surface;
    if (!surfaceOf(geometry, polygon.material, shade, polygon.vertices.data(), polygon.vertices.size(), surface)) {
        return;
    }
    if (surface.smooth) {
        mShades.assign(corners.size(), shade);
        // Each corner's normal, turned to the eye with the face; one that the face's neighbours
        // turn away from the face (polygons wound the other way) gives way to the face's own.
        const std::vector<float>& sums = geometry.normalSums;
        for (size_t i = 0; i < corners.size(); ++i) {
            size_t at = static_cast<size_t>(polygon.vertices[i].pointIndex) * 3;
            if (at + 3 > sums.size()) {
                continue;
            }
            CScnVector sum = {sums[at] * towardsEye, sums[at + 1] * towardsEye, sums[at + 2] * towardsEye};
            CScnVector corner = normalised(placement != nullptr ? placement->normal(sum) : sum);
            if (dot(corner, normal) > 0) {
                mShades[i] = shadeOf(corner);
            }
        }
    }
    for (size_t t = 0; t + 2 < mIndices.size(); t += 3) {
        CScnVector eyeSpace[3];
        CScnVector projected[3];
        Attributes attributes[3];
        for (int k = 0; k < 3; ++k) {
            uint32_t index = mIndices[t + static_cast<size_t>(k)];
            eyeSpace[k] = mEye[index];
            projected[k] = mScreen[index];
            attributes[k] = {polygon.vertices[index].u, polygon.vertices[index].v,
                             surface.smooth ? mShades[index] : shade};
        }
        drawTriangle(eyeSpace, inFront ? projected : nullptr, attributes, surface);
    }
}

// Cuts the triangle at the near plane, projects what is left (unless projected already) and
// fills it.
void Renderer::drawTriangle(const CScnVector* eyeSpace, const CScnVector* projected, const Attributes* attributes,
                            const Surface& surface, const PixelBox* box)
{
    struct Clip {
        CScnVector p;
        Attributes a;
    };
    bool allIn = eyeSpace[0].z >= mNear && eyeSpace[1].z >= mNear && eyeSpace[2].z >= mNear;
    if (allIn && projected != nullptr) {
        ++mTriangles;
        Corner screen[3];
        for (int k = 0; k < 3; ++k) {
            double w = projected[k].z;
            screen[k] = {projected[k].x, projected[k].y, w, attributes[k].u * w, attributes[k].v * w,
                         attributes[k].shade * w};
        }
        fill(screen[0], screen[1], screen[2], surface, box);
        return;
    }
    Clip out[4];
    int count = 0;
    if (allIn) {
        for (int k = 0; k < 3; ++k) {
            out[k] = {eyeSpace[k], attributes[k]};
        }
        count = 3;
    } else {
        for (int k = 0; k < 3; ++k) {
            const CScnVector& a = eyeSpace[k];
            const CScnVector& b = eyeSpace[(k + 1) % 3];
            const Attributes& aa = attributes[k];
            const Attributes& ba = attributes[(k + 1) % 3];
            bool aIn = a.z >= mNear;
            bool bIn = b.z >= mNear;
            if (aIn) {
                out[count++] = {a, aa};
            }
            if (aIn != bIn) {
                double s = (mNear - a.z) / (b.z - a.z);
                out[count++] = {{a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s, mNear},
                                {aa.u + (ba.u - aa.u) * s, aa.v + (ba.v - aa.v) * s,
                                 aa.shade + (ba.shade - aa.shade) * s}};
            }
        }
        if (count < 3) {
            return;
        }
    }
    ++mTriangles;
    Corner screen[4];
    double halfWidth = mPicture.width / 2.0;
    double halfHeight = mPicture.height / 2.0;
    for (int k = 0; k < count; ++k) {
        double w = 1.0 / out[k].p.z;
        screen[k] = {halfWidth + mFocal * out[k].p.x * w, halfHeight - mFocal * out[k].p.y * w, w,
                     out[k].a.u * w, out[k].a.v * w, out[k].a.shade * w};
    }
    for (int k = 1; k + 1 < count; ++k) {
        fill(screen[0], screen[k], screen[k + 1], surface);
    }
}

void Renderer::fill(const Corner& a, const Corner& b0, const Corner& c0, const Surface& surface, const PixelBox* box)
{
    fillWith(a, b0, c0, box, [&surface] { return &surface; });
}

template <class Resolve>
void Renderer::fillWith(const Corner& a, const Corner& b0, const Corner& c0, const PixelBox* box, Resolve&& resolve)
{
    double area = orient(a.x, a.y, b0.x, b0.y, c0.x, c0.y);
    if (!(std::fabs(area) > 1e-12) || !std::isfinite(area)) {
        return;
    }
    const Corner& b = area > 0 ? b0 : c0;
    const Corner& c = area > 0 ? c0 : b0;
    area = std::fabs(area);
    // The pixels whose centres lie in the triangle's box; small triangles often hold none.
    PixelBox own;
    if (box == nullptr) {
        CScnVector corners[3] = {{a.x, a.y, 0}, {b.x, b.y, 0}, {c.x, c.y, 0}};
        if (!pixelBox(corners, 3, own)) {
            return;
        }
        box = &own;
    }
    int x0 = box->x0;
    int x1 = box->x1;
    int y0 = box->y0;
    int y1 = box->y1;
    double inverse = 1.0 / area;
    const Surface* surface = nullptr;
    const Picture* texture = nullptr;
    float alpha = 0;
    const Edge edge0(b.x, b.y, c.x, c.y);
    const Edge edge1(c.x, c.y, a.x, a.y);
    const Edge edge2(a.x, a.y, b.x, b.y);
    const int lastStep = x1 - x0;
    const double start = x0 + 0.5;
    for (int y = y0; y <= y1; ++y) {
        double py = y + 0.5;
        double r0 = edge0.row(py);
        double r1 = edge1.row(py);
        double r2 = edge2.row(py);
        int first = 0;
        int last = lastStep;
        // Narrowing costs a division per side; a short row is cheaper to test whole.
        if (lastStep >= kShortRow && (!edge0.narrow(r0, start, first, last) || !edge1.narrow(r1, start, first, last) ||
                                      !edge2.narrow(r2, start, first, last))) {
            continue;
        }
        size_t row = static_cast<size_t>(y) * mPicture.width + static_cast<size_t>(x0);
        for (int k = first; k <= last; ++k) {
            double px = start + k;
            double e0 = edge0.at(r0, px);
            double e1 = edge1.at(r1, px);
            double e2 = edge2.at(r2, px);
            if (!edge0.covers(e0) || !edge1.covers(e1) || !edge2.covers(e2)) {
                continue;
            }
            double l0 = e0 * inverse;
            double l1 = e1 * inverse;
            double l2 = e2 * inverse;
            double w = l0 * a.w + l1 * b.w + l2 * c.w;
            float depth = static_cast<float>(w);
            size_t at = row + static_cast<size_t>(k);
            if (!(depth > mDepth[at])) {
                continue;
            }
            if (surface == nullptr) {
                surface = resolve();
                texture = surface->texture;
                alpha = surface->opacity;
            }
            float r = surface->color[0];
            float g = surface->color[1];
            float bl = surface->color[2];
            if (surface->smooth) {
                float shade = static_cast<float>((l0 * a.s + l1 * b.s + l2 * c.s) / w);
                r *= shade;
                g *= shade;
                bl *= shade;
            }
            if (texture != nullptr) {
                double u = (l0 * a.u + l1 * b.u + l2 * c.u) / w;
                double v = (l0 * a.v + l1 * b.v + l2 * c.v) / w;
                u -= std::floor(u);
                v -= std::floor(v);
                uint32_t tx = std::min(texture->width - 1, static_cast<uint32_t>(u * texture->width));
                uint32_t ty = std::min(texture->height - 1, static_cast<uint32_t>((1.0 - v) * texture->height));
                const uint8_t* texel = &texture->rgba[(static_cast<size_t>(ty) * texture->width + tx) * 4];
                r *= texel[0] / 255.0f;
                g *= texel[1] / 255.0f;
                bl *= texel[2] / 255.0f;
            }
            uint8_t* pixel = &mPicture.rgba[at * 4];
            float source[3] = {r, g, bl};
            if (alpha >= 1) {
                mDepth[at] = depth;
                for (int channel = 0; channel < 3; ++channel) {
                    pixel[channel] = toByte(std::clamp(source[channel], 0.0f, 1.0f) * 255.0f);
                }
            } else {
                for (int channel = 0; channel < 3; ++channel) {
                    float value = std::clamp(source[channel], 0.0f, 1.0f) * 255.0f;
                    pixel[channel] = toByte(value * alpha + pixel[channel] * (1 - alpha));
                }
            }
        }
    }
}

}  // namespace ScnTools
