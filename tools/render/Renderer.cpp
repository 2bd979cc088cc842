#include "Renderer.h"

#include <algorithm>
#include <cmath>

namespace ScnTools {

using NvScn::CScnVector;

namespace {

constexpr double kPi = 3.141592653589793;
// Light that reaches faces turned away from the sun.
constexpr double kAmbient = 0.3;

double orient(double ax, double ay, double bx, double by, double cx, double cy)
{
    return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

}  // namespace

Renderer::Renderer(const ViewFrame& frame, uint32_t width, uint32_t height, const CScnVector& towardsLight,
                   const MaterialLooks& looks)
    : mFrame(frame), mLight(towardsLight), mLooks(looks)
{
    mPicture.width = width;
    mPicture.height = height;
    mPicture.rgba.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < mPicture.rgba.size(); i += 4) {
        mPicture.rgba[i] = kBackground[0];
        mPicture.rgba[i + 1] = kBackground[1];
        mPicture.rgba[i + 2] = kBackground[2];
        mPicture.rgba[i + 3] = 255;
    }
    mDepth.assign(static_cast<size_t>(width) * height, 0.0f);
    mFocal = width / 2.0 / std::tan(frame.fieldOfView * kPi / 360.0);
    mNear = 1.0;
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

void Renderer::polygon(int32_t component, const ArrivingPolygon& polygon)
{
    if (component >= 0) {
        return;
    }
    mIndices.clear();
    if (mTriangulator.triangulate(polygon.corners, polygon.loopSizes, mIndices) == 0) {
        ++mFlat;
        return;
    }
    CScnVector normal = normalised(loopNormal(polygon.corners, 0, polygon.loopSizes[0]));
    const CScnVector& first = polygon.corners[0];
    CScnVector toEye = {mFrame.eye.x - first.x, mFrame.eye.y - first.y, mFrame.eye.z - first.z};
    if (dot(normal, toEye) < 0) {
        normal = {-normal.x, -normal.y, -normal.z};
    }
    double shade = kAmbient + (1 - kAmbient) * std::max(0.0, dot(normal, mLight));
    const SurfaceLook& look = mLooks.look(polygon.material);
    Surface surface;
    surface.color[0] = static_cast<float>(look.red * shade);
    surface.color[1] = static_cast<float>(look.green * shade);
    surface.color[2] = static_cast<float>(look.blue * shade);
    surface.opacity = std::clamp(look.opacity, 0.0f, 1.0f);
    surface.texture = nullptr;
    if (!look.texture.empty()) {
        surface.texture = texture(look.texture);
        for (const NvScn::CScnVertex& v : polygon.vertices) {
            if ((v.flags & NvScn::kScnVertexMapped) == 0) {
                surface.texture = nullptr;
            }
        }
        if (surface.texture != nullptr) {
            surface.color[0] = surface.color[1] = surface.color[2] = static_cast<float>(shade);
        }
    }
    if (surface.opacity <= 0) {
        return;
    }
    mEye.resize(polygon.corners.size());
    for (size_t i = 0; i < polygon.corners.size(); ++i) {
        const CScnVector& c = polygon.corners[i];
        CScnVector d = {c.x - mFrame.eye.x, c.y - mFrame.eye.y, c.z - mFrame.eye.z};
        mEye[i] = {dot(d, mFrame.right), dot(d, mFrame.up), dot(d, mFrame.forward)};
    }
    for (size_t t = 0; t + 2 < mIndices.size(); t += 3) {
        CScnVector corners[3];
        float mapping[3][2];
        for (int k = 0; k < 3; ++k) {
            uint32_t index = mIndices[t + static_cast<size_t>(k)];
            corners[k] = mEye[index];
            mapping[k][0] = polygon.vertices[index].u;
            mapping[k][1] = polygon.vertices[index].v;
        }
        drawTriangle(corners, mapping, surface);
    }
}

// Cuts the triangle at the near plane, projects what is left and fills it.
void Renderer::drawTriangle(const CScnVector* eyeSpace, const float (*mapping)[2], const Surface& surface)
{
    struct Clip {
        CScnVector p;
        double u;
        double v;
    };
    Clip in[3];
    for (int k = 0; k < 3; ++k) {
        in[k] = {eyeSpace[k], mapping[k][0], mapping[k][1]};
    }
    Clip out[4];
    int count = 0;
    for (int k = 0; k < 3; ++k) {
        const Clip& a = in[k];
        const Clip& b = in[(k + 1) % 3];
        bool aIn = a.p.z >= mNear;
        bool bIn = b.p.z >= mNear;
        if (aIn) {
            out[count++] = a;
        }
        if (aIn != bIn) {
            double s = (mNear - a.p.z) / (b.p.z - a.p.z);
            out[count++] = {{a.p.x + (b.p.x - a.p.x) * s, a.p.y + (b.p.y - a.p.y) * s, mNear},
                            a.u + (b.u - a.u) * s,
                            a.v + (b.v - a.v) * s};
        }
    }
    if (count < 3) {
        return;
    }
    ++mTriangles;
    Corner screen[4];
    double halfWidth = mPicture.width / 2.0;
    double halfHeight = mPicture.height / 2.0;
    for (int k = 0; k < count; ++k) {
        double w = 1.0 / out[k].p.z;
        screen[k] = {halfWidth + mFocal * out[k].p.x * w, halfHeight - mFocal * out[k].p.y * w, w, out[k].u * w,
                     out[k].v * w};
    }
    for (int k = 1; k + 1 < count; ++k) {
        fill(screen[0], screen[k], screen[k + 1], surface);
    }
}

void Renderer::fill(const Corner& a, const Corner& b0, const Corner& c0, const Surface& surface)
{
    double area = orient(a.x, a.y, b0.x, b0.y, c0.x, c0.y);
    if (!(std::fabs(area) > 1e-12) || !std::isfinite(area)) {
        return;
    }
    const Corner& b = area > 0 ? b0 : c0;
    const Corner& c = area > 0 ? c0 : b0;
    area = std::fabs(area);
    double width = mPicture.width;
    double height = mPicture.height;
    double left = std::max(0.0, std::floor(std::min({a.x, b.x, c.x})));
    double right = std::min(width - 1, std::ceil(std::max({a.x, b.x, c.x})));
    double top = std::max(0.0, std::floor(std::min({a.y, b.y, c.y})));
    double bottom = std::min(height - 1, std::ceil(std::max({a.y, b.y, c.y})));
    if (!(left <= right && top <= bottom)) {
        return;
    }
    int x0 = static_cast<int>(left);
    int x1 = static_cast<int>(right);
    int y0 = static_cast<int>(top);
    int y1 = static_cast<int>(bottom);
    double inverse = 1.0 / area;
    const Picture* texture = surface.texture;
    for (int y = y0; y <= y1; ++y) {
        double py = y + 0.5;
        double px = x0 + 0.5;
        double e0 = orient(b.x, b.y, c.x, c.y, px, py);
        double e1 = orient(c.x, c.y, a.x, a.y, px, py);
        double e2 = orient(a.x, a.y, b.x, b.y, px, py);
        // Steps of the edge functions for one pixel to the right.
        double d0 = -(c.y - b.y);
        double d1 = -(a.y - c.y);
        double d2 = -(b.y - a.y);
        size_t row = static_cast<size_t>(y) * mPicture.width;
        for (int x = x0; x <= x1; ++x, e0 += d0, e1 += d1, e2 += d2) {
            if (e0 < 0 || e1 < 0 || e2 < 0) {
                continue;
            }
            double l0 = e0 * inverse;
            double l1 = e1 * inverse;
            double l2 = e2 * inverse;
            double w = l0 * a.w + l1 * b.w + l2 * c.w;
            float depth = static_cast<float>(w);
            size_t at = row + static_cast<size_t>(x);
            if (!(depth > mDepth[at])) {
                continue;
            }
            float r = surface.color[0];
            float g = surface.color[1];
            float bl = surface.color[2];
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
            float alpha = surface.opacity;
            if (alpha >= 1) {
                mDepth[at] = depth;
            }
            float source[3] = {r, g, bl};
            for (int k = 0; k < 3; ++k) {
                float value = std::clamp(source[k], 0.0f, 1.0f) * 255.0f;
                pixel[k] = static_cast<uint8_t>(std::lround(value * alpha + pixel[k] * (1 - alpha)));
            }
        }
    }
}

}  // namespace ScnTools
