#include "SceneLook.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstring>

namespace ScnTools {

using NvScn::CScnCamera;
using NvScn::CScnHeliodon;
using NvScn::CScnVector;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;

CScnVector add(const CScnVector& a, const CScnVector& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
CScnVector sub(const CScnVector& a, const CScnVector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
CScnVector scale(const CScnVector& a, double s) { return {a.x * s, a.y * s, a.z * s}; }

bool isFile(const std::string& path)
{
    struct stat facts;
    return !path.empty() && stat(path.c_str(), &facts) == 0 && S_ISREG(facts.st_mode);
}

// Day of the year from 1, without leap days.
int dayOfYear(int month, int day)
{
    static const int kStarts[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    return kStarts[std::clamp(month, 1, 12) - 1] + std::clamp(day, 1, 31);
}

}  // namespace


namespace {

bool frameFrom(const CScnVector& eye, const CScnVector& target, double roll, double focal, ViewFrame& frame)
{
    CScnVector forward = normalised(sub(target, eye));
    if (forward.x == 0 && forward.y == 0 && forward.z == 0) {
        return false;
    }
    CScnVector worldUp = {0, 0, 1};
    CScnVector right = normalised(cross(forward, worldUp));
    if (std::fabs(dot(forward, worldUp)) > 0.9999 || (right.x == 0 && right.y == 0 && right.z == 0)) {
        right = normalised(cross(forward, CScnVector{0, 1, 0}));
    }
    CScnVector up = cross(right, forward);
    double c = std::cos(roll);
    double s = std::sin(roll);
    frame.eye = eye;
    frame.forward = forward;
    frame.right = add(scale(right, c), scale(up, s));
    frame.up = add(scale(up, c), scale(right, -s));
    frame.fieldOfView = std::isfinite(focal) ? std::clamp(focal, 1.0, 170.0) : 50.0;
    return true;
}

}  // namespace

bool cameraFrame(CScnCamera& camera, ViewFrame& frame)
{
    return frameFrom(*camera.getPosition(), *camera.getTarget(), camera.getRoll(), camera.getFocal(), frame);
}

ViewFrame automaticFrame(const Bounds& box, double aspect)
{
    ViewFrame frame;
    CScnVector low = box.empty ? CScnVector{-100, -100, -100} : box.min;
    CScnVector high = box.empty ? CScnVector{100, 100, 100} : box.max;
    CScnVector centre = scale(add(low, high), 0.5);
    double radius = std::max(0.5 * std::sqrt(dot(sub(high, low), sub(high, low))), 1.0);
    // From the front left (smaller x and y), 30 degrees above the horizon.
    CScnVector from = normalised(CScnVector{-std::cos(30 * kDegree) * std::sin(45 * kDegree),
                                            -std::cos(30 * kDegree) * std::cos(45 * kDegree), std::sin(30 * kDegree)});
    double fov = 45.0;
    // The angle that the narrower side of the picture sees must hold the bounding sphere.
    double halfX = std::tan(fov * kDegree / 2);
    double halfNarrow = aspect >= 1 ? halfX / aspect : halfX;
    double distance = radius / std::sin(std::atan(halfNarrow)) * 1.05;
    frameFrom(add(centre, scale(from, distance)), centre, 0, fov, frame);
    return frame;
}

CScnCamera* chooseView(NvScn::CScnMgr& scene, const std::string& name)
{
    NvScn::TScnObjectMgr<CScnCamera>* views = scene.getPerspectiveViews();
    int32_t count = views != nullptr ? views->getNbObjects() : 0;
    CScnCamera* current = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        CScnCamera* view = views->getScnObject(static_cast<uint32_t>(i));
        if (view == nullptr) {
            continue;
        }
        const char* viewName = view->getName();
        if (!name.empty()) {
            if (viewName != nullptr && name == viewName) {
                return view;
            }
        } else if (current == nullptr && view->isCurrent()) {
            current = view;
        }
    }
    if (!name.empty() || count == 0) {
        return nullptr;
    }
    return current != nullptr ? current : views->getScnObject(0);
}

namespace {

CScnHeliodon* chooseHeliodon(NvScn::CScnMgr& scene, CScnCamera* view)
{
    NvScn::TScnObjectMgr<CScnHeliodon>* heliodons = scene.getHeliodons();
    int32_t count = heliodons != nullptr ? heliodons->getNbObjects() : 0;
    const char* wanted = nullptr;
    if (view != nullptr && view->getViewInfo() != nullptr) {
        wanted = view->getViewInfo()->getHeliodonName();
    }
    CScnHeliodon* active = nullptr;
    for (int32_t i = 0; i < count; ++i) {
        CScnHeliodon* heliodon = heliodons->getScnObject(static_cast<uint32_t>(i));
        if (heliodon == nullptr) {
            continue;
        }
        const char* name = heliodon->getName();
        if (wanted != nullptr && wanted[0] != 0 && name != nullptr && std::strcmp(name, wanted) == 0) {
            return heliodon;
        }
        if (active == nullptr && heliodon->isActive()) {
            active = heliodon;
        }
    }
    return active;
}

}  // namespace

bool sunDirection(NvScn::CScnMgr& scene, CScnCamera* view, CScnVector& towardsSun)
{
    CScnHeliodon* heliodon = chooseHeliodon(scene, view);
    if (heliodon == nullptr) {
        return false;
    }
    double east = 0;
    double north = 0;
    double height = 0;
    int32_t kind = heliodon->getPlacementKind();
    if (kind == 2 && heliodon->getTime() != nullptr && heliodon->getPlace() != nullptr) {
        // The sun's place in the sky from the declination and the hour angle.
        const NvScn::CScnTime& time = *heliodon->getTime();
        const NvScn::CScnPlace& place = *heliodon->getPlace();
        double latitude = place.getLatitude() / 60.0 * kDegree;
        double longitude = place.getLongitude() / 60.0;
        double day = dayOfYear(time.getMonth(), time.getDay());
        double declination = 23.44 * kDegree * std::sin(2 * kPi * (284 + day) / 365);
        double clock = time.getHour() + time.getMinute() / 60.0 - (place.isDaylight() ? 1.0 : 0.0);
        double solar = clock - place.getTimeZone() / 60.0 + longitude / 15.0;
        double hourAngle = (solar - 12.0) * 15.0 * kDegree;
        east = -std::cos(declination) * std::sin(hourAngle);
        north = std::sin(declination) * std::cos(latitude) - std::cos(declination) * std::cos(hourAngle) * std::sin(latitude);
        height = std::sin(declination) * std::sin(latitude) + std::cos(declination) * std::cos(hourAngle) * std::cos(latitude);
    } else {
        // Theta is the sun's bearing from north towards east, phi its height (both radians).
        double bearing = heliodon->getTheta();
        double elevation = kind == 1 ? 45 * kDegree : heliodon->getPhi();
        east = std::cos(elevation) * std::sin(bearing);
        north = std::cos(elevation) * std::cos(bearing);
        height = std::sin(elevation);
    }
    if (!(height > 0.02)) {
        return false;
    }
    // North lies along y turned by the north angle, counter-clockwise seen from above.
    double a = heliodon->getNorthAngle() * kDegree;
    CScnVector northAxis = {-std::sin(a), std::cos(a), 0};
    CScnVector eastAxis = {std::cos(a), std::sin(a), 0};
    towardsSun = normalised(add(add(scale(northAxis, north), scale(eastAxis, east)), CScnVector{0, 0, height}));
    return towardsSun.z > 0;
}

const SurfaceLook& MaterialLooks::look(int32_t index) const
{
    static const SurfaceLook kNeutral;
    return index >= 0 && static_cast<size_t>(index) < looks.size() ? looks[static_cast<size_t>(index)] : kNeutral;
}

std::string resolveTexture(const std::string& reference, const std::string& sceneFolder)
{
    std::string path = reference;
    if (path.compare(0, 8, "file:///") == 0) {
        path = path.substr(7);
    } else if (path.compare(0, 7, "file://") == 0) {
        path = path.substr(7);
    }
    // Undo the escapes of a file URL.
    std::string plain;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size() && std::isxdigit(static_cast<unsigned char>(path[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(path[i + 2]))) {
            plain += static_cast<char>(std::stoi(path.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            plain += path[i] == '\\' ? '/' : path[i];
        }
    }
    if (plain.empty()) {
        return "";
    }
    if (isFile(plain)) {
        return plain;
    }
    if (plain[0] != '/' && isFile(sceneFolder + plain)) {
        return sceneFolder + plain;
    }
    // A scene moved with its texture folder: the file's folder and name beside the scene.
    size_t last = plain.find_last_of('/');
    std::string name = last == std::string::npos ? plain : plain.substr(last + 1);
    if (last != std::string::npos && last > 0) {
        size_t before = plain.find_last_of('/', last - 1);
        std::string folder = plain.substr(before == std::string::npos ? 0 : before + 1);
        if (isFile(sceneFolder + folder)) {
            return sceneFolder + folder;
        }
    }
    return isFile(sceneFolder + name) ? sceneFolder + name : std::string();
}

MaterialLooks materialLooks(NvScn::TScnObjectMgr<NvScn::CScnProperty>* materials, const std::string& sceneFolder)
{
    MaterialLooks result;
    int32_t count = materials != nullptr ? materials->getNbObjects() : 0;
    result.looks.resize(static_cast<size_t>(std::max(count, 0)));
    for (int32_t i = 0; i < count; ++i) {
        NvScn::CScnProperty* material = materials->getScnObject(static_cast<uint32_t>(i));
        if (material == nullptr) {
            continue;
        }
        SurfaceLook& look = result.looks[static_cast<size_t>(i)];
        look.name = material->getName();
        // A material without a leaf has no colour of its own: it keeps the neutral look.
        if (material->hasLeaf()) {
            NvScn::CScnColor diffuse = material->getDiffuseColor();
            look.red = diffuse.red / 255.0f;
            look.green = diffuse.green / 255.0f;
            look.blue = diffuse.blue / 255.0f;
            look.opacity = static_cast<float>(1.0 - std::clamp(material->getTransparency(), 0.0, 1.0));
        }
        std::string reference = material->getTextureURL();
        if (!reference.empty()) {
            look.texture = resolveTexture(reference, sceneFolder);
            if (look.texture.empty()) {
                result.missingTextures.push_back(reference);
            }
        }
    }
    return result;
}

}  // namespace ScnTools
