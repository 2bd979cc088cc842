// Reading a model into the project: the choice of reader, the project's attributes, cameras, site
// and view from what the file gave, the images of textures, and what the host sees of the model.
#include "HostState.h"
#include "Loading.h"
#include "Progress.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace cadhost {
namespace {

constexpr double kPi = 3.141592653589793;

void copyName(char (&field)[256], const std::string& text) { std::snprintf(field, sizeof field, "%s", text.c_str()); }

bool endsWith(const std::string& text, const std::string& end)
{
    if (text.size() < end.size()) {
        return false;
    }
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) {
            return false;
        }
    }
    return true;
}

// The largest texture the host decodes, so that a small file cannot ask for gigabytes.
constexpr int64_t kMaxTexturePixels = int64_t(1) << 26;

bool acceptSize(int width, int height, std::string* reason)
{
    if (width <= 0 || height <= 0) {
        *reason = "the image is empty";
        return false;
    }
    if (int64_t(width) * height > kMaxTexturePixels || width > kGXMaxPixMapSide || height > kGXMaxPixMapSide) {
        *reason = "the image is " + std::to_string(width) + " x " + std::to_string(height) +
                  " pixels; the host reads textures of at most 67108864 pixels and 32768 on a side";
        return false;
    }
    return true;
}

bool takePixels(unsigned char* data, int width, int height, ModelTexture* texture, std::string* reason)
{
    if (data == nullptr) {
        const char* why = stbi_failure_reason();
        *reason = std::string("the image cannot be decoded (") + (why != nullptr ? why : "unknown format") + ")";
        return false;
    }
    texture->width = width;
    texture->height = height;
    texture->pixels.assign(data, data + std::size_t(width) * std::size_t(height) * 4);
    stbi_image_free(data);
    texture->available = true;
    noteAlpha(texture);
    return true;
}

std::string format3(const char* form, double a, double b, double c)
{
    char text[160];
    std::snprintf(text, sizeof text, form, a, b, c);
    return text;
}

std::string typeName(int32_t type)
{
    return type == EXPWall ? "walls" : type == EXPSlab ? "slabs" : type == EXPRoof ? "roofs" : "others";
}

}  // namespace

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string lastName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

void noteAlpha(ModelTexture* texture)
{
    texture->alpha = false;
    for (std::size_t i = 3; i < texture->pixels.size(); i += 4) {
        if (texture->pixels[i] != 255) {
            texture->alpha = true;
            return;
        }
    }
}

bool decodeImageFile(const std::string& path, ModelTexture* texture, std::string* reason)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *reason = std::strerror(errno);
        return false;
    }
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_file(file, &width, &height, &channels) == 0) {
        const char* why = stbi_failure_reason();
        *reason = std::string("the image cannot be decoded (") + (why != nullptr ? why : "unknown format") + ")";
        std::fclose(file);
        return false;
    }
    if (!acceptSize(width, height, reason)) {
        std::fclose(file);
        return false;
    }
    unsigned char* data = stbi_load_from_file(file, &width, &height, &channels, 4);
    std::fclose(file);
    return takePixels(data, width, height, texture, reason);
}

bool decodeImageBytes(const unsigned char* bytes, std::size_t size, ModelTexture* texture, std::string* reason)
{
    if (size > static_cast<std::size_t>(INT32_MAX)) {
        *reason = "the image is too large";
        return false;
    }
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels) == 0) {
        const char* why = stbi_failure_reason();
        *reason = std::string("the image cannot be decoded (") + (why != nullptr ? why : "unknown format") + ")";
        return false;
    }
    if (!acceptSize(width, height, reason)) {
        return false;
    }
    unsigned char* data = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    return takePixels(data, width, height, texture, reason);
}

void setLayers(Project* project, const std::vector<std::string>& names)
{
    project->layers.clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        API_Attribute layer = {};
        layer.typeID = API_LayerID;
        layer.index = static_cast<int32_t>(i + 1);
        copyName(layer.name, names[i]);
        project->layers.push_back(layer);
    }
}

void setMaterialAttributes(Project* project)
{
    project->materials.clear();
    const Model& model = *project->model;
    for (std::size_t i = 0; i < model.materials.size(); ++i) {
        API_Attribute material = {};
        material.typeID = API_MaterialID;
        material.index = static_cast<int32_t>(i + 1);
        std::memcpy(material.name, model.materials[i].name, sizeof material.name);
        project->materials.push_back(material);
    }
}

void setCameraSets(Project* project, const std::vector<FileCameraSet>& sets)
{
    project->cameraSets.clear();
    project->cameras.clear();
    uint32_t cameraNumber = 0;
    for (std::size_t s = 0; s < sets.size(); ++s) {
        API_Element set = {};
        set.typeID = sets[s].deleted ? 0 : API_CamSetID;
        set.index = static_cast<int32_t>(s + 1);
        set.guid = hostGuid("CSET", static_cast<uint32_t>(s + 1));
        copyName(set.name, sets[s].name);
        for (std::size_t c = 0; c < sets[s].cameras.size(); ++c) {
            const FileCamera& source = sets[s].cameras[c];
            API_Element camera = {};
            ++cameraNumber;
            camera.typeID = source.deleted ? 0 : API_CameraID;
            camera.index = static_cast<int32_t>(cameraNumber);
            camera.guid = hostGuid("CAMR", cameraNumber);
            camera.layerOrSet = set.guid;
            copyName(camera.name, source.name);
            if (c + 1 < sets[s].cameras.size()) {
                camera.nextCamera = hostGuid("CAMR", cameraNumber + 1);
            }
            camera.cameraX = source.position.x;
            camera.cameraY = source.position.y;
            camera.cameraZ = source.position.z;
            camera.targetX = source.target.x;
            camera.targetY = source.target.y;
            camera.targetZ = source.target.z;
            camera.rollAngle = source.roll;
            camera.viewCone = source.viewCone;
            if (c == 0) {
                set.nextCamera = camera.guid;
            }
            project->cameras.push_back(camera);
        }
        project->cameraSets.push_back(set);
    }
}

void setSite(Project* project, const FileSite& site)
{
    if (site.hasPlace) {
        API_Attribute city = {};
        city.typeID = API_CityID;
        city.index = static_cast<int32_t>(project->cities.size() + 1);
        copyName(city.name, site.name);
        city.longitude = static_cast<int16_t>(site.longitude);
        city.latitude = static_cast<int16_t>(site.latitude);
        city.timeZone = static_cast<int16_t>(site.timeZone);
        project->cities.push_back(city);
        project->place.cityIndex = city.index;
    }
    if (site.hasNorth) {
        project->place.northAngle = site.northAngle;
    }
}

API_3DProjectionInfo projectionFrom(const FileCamera& camera)
{
    API_3DProjectionInfo projection = {};
    projection.isPersp = 1;
    projection.cameraX = camera.position.x;
    projection.cameraY = camera.position.y;
    projection.cameraZ = camera.position.z;
    projection.targetX = camera.target.x;
    projection.targetY = camera.target.y;
    projection.targetZ = camera.target.z;
    projection.rollAngle = camera.roll;
    projection.focal = camera.viewCone * 57.29577951308232;
    projection.azimuth = std::atan2(camera.target.y - camera.position.y, camera.target.x - camera.position.x);
    const double dx = camera.target.x - camera.position.x, dy = camera.target.y - camera.position.y,
                 dz = camera.target.z - camera.position.z;
    projection.distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    return projection;
}

API_3DProjectionInfo automaticProjection(const Model& model, bool perspective)
{
    Vec3 low, high;
    API_3DProjectionInfo projection = Project().projection;
    if (model.bounds(&low, &high)) {
        // From the south-east, 25 degrees above the horizon, far enough for the whole model to fit
        // the 50-degree view cone.
        const Vec3 centre = {(low.x + high.x) / 2, (low.y + high.y) / 2, (low.z + high.z) / 2};
        const double dx = high.x - low.x, dy = high.y - low.y, dz = high.z - low.z;
        const double radius = std::max(1.0, std::sqrt(dx * dx + dy * dy + dz * dz) / 2);
        const double distance = radius / std::sin(25.0 * kPi / 180.0);
        const double azimuth = 135.0 * kPi / 180.0, elevation = 25.0 * kPi / 180.0;
        projection.targetX = centre.x;
        projection.targetY = centre.y;
        projection.targetZ = centre.z;
        projection.cameraX = centre.x - distance * std::cos(elevation) * std::cos(azimuth);
        projection.cameraY = centre.y - distance * std::cos(elevation) * std::sin(azimuth);
        projection.cameraZ = centre.z + distance * std::sin(elevation);
        projection.rollAngle = 0.0;
        projection.focal = 50.0;
        projection.azimuth = azimuth;
        projection.distance = distance;
    }
    projection.isPersp = perspective ? 1 : 0;
    return projection;
}

void setLightsFlag(Project* project)
{
    const uint8_t on = project->model->lights.empty() ? 0 : 1;
    project->rendering[0].lights = project->rendering[1].lights = on;
}

bool loadModel(const std::string& path, const ModelOptions& options, std::string* error)
{
    host().project = Project();
    resetCancel();
    Project loaded;
    try {
        struct stat info;
        if (::stat(path.c_str(), &info) != 0) {
            throw ModelError(std::strerror(errno));
        }
        if (S_ISDIR(info.st_mode)) {
            throw ModelError("is a folder, not a model file");
        }
        if (endsWith(path, ".json")) {
            loadJsonModel(path, &loaded);
        } else {
            loadSceneFile(path, options, &loaded);
        }
    } catch (const ModelError& problem) {
        *error = path + ": " + problem.what();
        return false;
    } catch (const std::bad_alloc&) {
        *error = path + ": the model does not fit in memory";
        return false;
    } catch (const std::exception& problem) {
        *error = path + ": " + problem.what();
        return false;
    }
    loaded.modelSource = path;
    host().project = std::move(loaded);
    return true;
}

void setAutomaticView(bool perspective)
{
    project().projection = automaticProjection(*project().model, perspective);
}

bool lookThroughCamera(const std::string& name)
{
    for (const API_Element& camera : project().cameras) {
        if (camera.typeID != 0 && name == camera.name) {
            FileCamera chosen;
            chosen.position = {camera.cameraX, camera.cameraY, camera.cameraZ};
            chosen.target = {camera.targetX, camera.targetY, camera.targetZ};
            chosen.roll = camera.rollAngle;
            chosen.viewCone = camera.viewCone;
            project().projection = projectionFrom(chosen);
            return true;
        }
    }
    return false;
}

std::string describeModel()
{
    const Project& p = project();
    const Model& m = *p.model;
    std::string out;
    auto line = [&out](const std::string& label, const std::string& value) {
        std::string padded = label;
        padded.resize(std::max<std::size_t>(18, label.size() + 1), ' ');
        out += padded + value + "\n";
    };
    auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6g", value);
        return std::string(text);
    };
    line("model", p.modelSource.empty() ? "(none)" : p.modelSource);
    line("format", p.modelFormat.empty() ? "(none)" : p.modelFormat);
    int64_t byType[5] = {0, 0, 0, 0, 0};
    for (const ModelElement& e : m.elements) {
        ++byType[e.type >= 1 && e.type <= 4 ? e.type : 4];
    }
    std::string types;
    for (int t = 1; t <= 4; ++t) {
        types += (t > 1 ? ", " : "") + typeName(t) + " " + std::to_string(byType[t]);
    }
    line("elements", std::to_string(m.elements.size()) + " (" + types + ")");
    line("layers", std::to_string(p.layers.size()));
    for (const API_Attribute& layer : p.layers) {
        int64_t count = 0;
        for (const ModelElement& e : m.elements) {
            count += e.layer == layer.index;
        }
        line("  layer " + std::to_string(layer.index), std::string("\"") + layer.name + "\", " + std::to_string(count) + " elements");
    }
    int64_t bare = 0, holes = 0, uvBodies = 0;
    uint32_t largest = 0;
    for (const ModelBody& b : m.bodies) {
        bare += b.polygonCount == 0;
        uvBodies += b.firstUV >= 0;
        for (int32_t i = 1; i <= b.polygonCount; ++i) {
            const uint32_t length = m.edgeListLength(b, i);
            const int32_t* list = m.edgeList(b, i);
            largest = std::max(largest, length);
            holes += std::find(list, list + length, 0) != list + length;
        }
    }
    line("bodies", std::to_string(m.bodies.size()) + " (" + std::to_string(bare) + " without polygons, " +
                       std::to_string(uvBodies) + " with texture coordinates)");
    line("vertices", std::to_string(m.vertices.size()));
    line("edges", std::to_string(m.edges.size()));
    line("polygons", std::to_string(m.polygons.size()) + " (" + std::to_string(holes) + " with holes, up to " +
                         std::to_string(largest) + " edge entries)");
    line("normals", std::to_string(m.normals.size()));
    line("materials", std::to_string(m.materials.size()));
    for (std::size_t i = 0; i < m.materials.size(); ++i) {
        const EXPMaterialInfo& mat = m.materials[i];
        line("  material " + std::to_string(i + 1),
             std::string("\"") + mat.name + "\"" +
                 format3(" surface %.3g %.3g %.3g", mat.surfaceRGB.red, mat.surfaceRGB.green, mat.surfaceRGB.blue) +
                 " diffuse " + std::to_string(mat.diffusePc) + "%, transparency " + std::to_string(mat.transpPc) +
                 "%, shine " + std::to_string(mat.shine) + ", emission " + std::to_string(mat.emissionAtt) +
                 ", texture " + std::to_string(mat.textureIndex));
    }
    line("textures", std::to_string(m.textures.size()));
    for (std::size_t i = 0; i < m.textures.size(); ++i) {
        const ModelTexture& t = m.textures[i];
        line("  texture " + std::to_string(i + 1),
             "\"" + t.name + "\" " +
                 (t.available ? std::to_string(t.width) + " x " + std::to_string(t.height) + " pixels" +
                                    (t.alpha ? " with alpha" : "")
                              : std::string("not available")) +
                 ", " + number(t.xSize) + " x " + number(t.ySize) + " m, from " + t.source);
    }
    line("lights", std::to_string(m.lights.size()));
    for (std::size_t i = 0; i < m.lights.size(); ++i) {
        const ModelLight& l = m.lights[i];
        const std::string kind = l.kind == 0 ? "parallel" : l.kind == 2 ? "spot" : "point";
        line("  light " + std::to_string(i + 1),
             "\"" + l.name + "\" " + kind + " (kind " + std::to_string(l.kind) + ")" +
                 format3(" at %.6g %.6g %.6g", l.position.x, l.position.y, l.position.z) +
                 format3(" towards %.3g %.3g %.3g", l.direction.x, l.direction.y, l.direction.z) +
                 format3(", colour %.3g %.3g %.3g", l.color.red, l.color.green, l.color.blue));
    }
    line("camera sets", std::to_string(p.cameraSets.size()));
    for (const API_Element& set : p.cameraSets) {
        int64_t count = 0;
        for (const API_Element& camera : p.cameras) {
            count += std::memcmp(&camera.layerOrSet, &set.guid, sizeof set.guid) == 0;
        }
        line("  camera set " + std::to_string(set.index),
             std::string("\"") + set.name + "\", " + std::to_string(count) + (count == 1 ? " camera" : " cameras") +
                 (set.typeID == 0 ? " (deleted)" : ""));
    }
    Vec3 low, high;
    if (m.bounds(&low, &high)) {
        line("bounding box", format3("%.6g %.6g %.6g", low.x, low.y, low.z) + " to " +
                                 format3("%.6g %.6g %.6g m", high.x, high.y, high.z));
    } else {
        line("bounding box", "(empty)");
    }
    const API_Attribute* city = p.place.cityIndex >= 1 && static_cast<std::size_t>(p.place.cityIndex) <= p.cities.size()
                                    ? &p.cities[static_cast<std::size_t>(p.place.cityIndex) - 1] : nullptr;
    if (city != nullptr) {
        auto arc = [](int minutes, char positive, char negative) {
            char text[32];
            std::snprintf(text, sizeof text, "%d°%02d' %c", std::abs(minutes) / 60, std::abs(minutes) % 60,
                          minutes >= 0 ? positive : negative);
            return std::string(text);
        };
        line("site", std::string("\"") + city->name + "\", " + arc(city->latitude, 'N', 'S') + ", " +
                         arc(city->longitude, 'E', 'W') + ", time zone " + std::to_string(city->timeZone) + " min");
    }
    static const char* const kMonths[12] = {"January", "February", "March", "April", "May", "June", "July",
                                            "August", "September", "October", "November", "December"};
    static const int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int day = p.place.dayOfYear, month = 0;
    while (month < 11 && day >= kLengths[month]) {
        day -= kLengths[month++];
    }
    char when[96];
    std::snprintf(when, sizeof when, "%d %s (day %d from 0), %02d:%02d%s", day + 1, kMonths[month], p.place.dayOfYear,
                  p.place.minuteOfDay / 60, p.place.minuteOfDay % 60, p.place.daylightSaving ? ", daylight saving" : "");
    line("date", when);
    line("north", number(p.place.northAngle * 57.29577951308232) + "° from the x axis");
    line("origin offset", number(p.origin.x) + " " + number(p.origin.y) + " m");
    const API_3DProjectionInfo& v = p.projection;
    line("projection", std::string(v.isPersp ? "perspective" : "parallel") +
                           format3(" from %.6g %.6g %.6g", v.cameraX, v.cameraY, v.cameraZ) +
                           format3(" to %.6g %.6g %.6g", v.targetX, v.targetY, v.targetZ) + ", view cone " +
                           number(v.focal) + "°, roll " + number(v.rollAngle) + "°");
    const API_RenderingSettings& r = p.rendering[0];
    line("rendering", std::string("sun ") + (r.sun ? "on" : "off") + ", lights " + (r.lights ? "on" : "off") +
                          ", shadows " + (r.shadows ? "on" : "off") + ", atmosphere " + (r.atmosphere ? "on" : "off"));
    for (const std::string& warning : p.modelWarnings) {
        line("warning", warning);
    }
    return out;
}

}  // namespace cadhost
