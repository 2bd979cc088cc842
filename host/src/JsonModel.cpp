// The host-model file: a JSON text that states everything the host's project and model can hold,
// exactly as the host's records hold it (docs/host-model.md).
#include "HostState.h"
#include "Loading.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

namespace cadhost {
namespace {

using Json = nlohmann::json;

// One JSON object being read: its fields are taken by name, and any field left over is refused,
// so that a misspelt name does not pass unnoticed. A reader that returns what it read by value
// calls finish() before its return statement: a refusal thrown by the destructor after the return
// value is made would leak that value (compilers before GCC 13 do not destroy it).
class Fields {
public:
    Fields(const Json& value, std::string where) : mValue(value), mWhere(std::move(where))
    {
        if (!value.is_object()) {
            fail("is not an object");
        }
    }
    ~Fields() noexcept(false)
    {
        if (std::uncaught_exceptions() > 0) {
            return;
        }
        finish();
    }
    // Refuses a field that no one took; once only.
    void finish()
    {
        if (mFinished) {
            return;
        }
        mFinished = true;
        for (auto it = mValue.begin(); it != mValue.end(); ++it) {
            if (mTaken.count(it.key()) == 0) {
                fail("has an unknown field \"" + it.key() + "\"");
            }
        }
    }
    const std::string& where() const { return mWhere; }
    [[noreturn]] void fail(const std::string& problem) const { throw ModelError(mWhere + " " + problem); }

    const Json* find(const char* name)
    {
        mTaken.insert(name);
        const auto it = mValue.find(name);
        return it == mValue.end() ? nullptr : &*it;
    }
    double number(const char* name, double fallback)
    {
        const Json* value = find(name);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_number()) {
            fail(std::string("field \"") + name + "\" is not a number");
        }
        return value->get<double>();
    }
    int64_t integer(const char* name, int64_t fallback, int64_t low, int64_t high)
    {
        const Json* value = find(name);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_number_integer()) {
            fail(std::string("field \"") + name + "\" is not a whole number");
        }
        const int64_t n = value->is_number_unsigned() && value->get<uint64_t>() > uint64_t(INT64_MAX)
                              ? INT64_MAX : value->get<int64_t>();
        if (n < low || n > high) {
            fail(std::string("field \"") + name + "\" is " + std::to_string(n) + "; it must lie from " +
                 std::to_string(low) + " to " + std::to_string(high));
        }
        return n;
    }
    bool flag(const char* name, bool fallback)
    {
        const Json* value = find(name);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_boolean()) {
            fail(std::string("field \"") + name + "\" is not true or false");
        }
        return value->get<bool>();
    }
    std::string text(const char* name, const std::string& fallback)
    {
        const Json* value = find(name);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_string()) {
            fail(std::string("field \"") + name + "\" is not a text");
        }
        return value->get<std::string>();
    }
    const Json& array(const char* name)
    {
        static const Json empty = Json::array();
        const Json* value = find(name);
        if (value == nullptr) {
            return empty;
        }
        if (!value->is_array()) {
            fail(std::string("field \"") + name + "\" is not a list");
        }
        return *value;
    }
    // A list of n numbers.
    std::vector<double> numbers(const char* name, std::size_t n, const std::vector<double>& fallback)
    {
        const Json* value = find(name);
        if (value == nullptr) {
            return fallback;
        }
        return numberList(*value, n, std::string("field \"") + name + "\"");
    }
    std::vector<double> numberList(const Json& value, std::size_t n, const std::string& what) const
    {
        if (!value.is_array() || value.size() != n) {
            fail(what + " is not a list of " + std::to_string(n) + " numbers");
        }
        std::vector<double> out;
        for (const Json& item : value) {
            if (!item.is_number()) {
                fail(what + " is not a list of " + std::to_string(n) + " numbers");
            }
            out.push_back(item.get<double>());
        }
        return out;
    }
    API_RGB color(const char* name, const API_RGB& fallback)
    {
        const std::vector<double> c = numbers(name, 3, {fallback.red, fallback.green, fallback.blue});
        for (double component : c) {
            if (!(component >= 0.0 && component <= 1.0)) {
                fail(std::string("field \"") + name + "\" has a component outside 0 to 1");
            }
        }
        return {c[0], c[1], c[2]};
    }
    Vec3 vector(const char* name, const Vec3& fallback)
    {
        const std::vector<double> v = numbers(name, 3, {fallback.x, fallback.y, fallback.z});
        return {v[0], v[1], v[2]};
    }
    Vec3 point(const char* name, const Vec3& fallback)
    {
        const Vec3 p = vector(name, fallback);
        const std::string what = mWhere + " field \"" + name + "\"";
        checkCoordinate(p.x, what);
        checkCoordinate(p.y, what);
        checkCoordinate(p.z, what);
        return p;
    }

private:
    const Json& mValue;
    std::string mWhere;
    std::set<std::string> mTaken;
    bool mFinished = false;
};

std::string numbered(const std::string& what, std::size_t index) { return what + " " + std::to_string(index + 1); }

void copyName(char (&field)[256], const std::string& text, const Fields& fields)
{
    if (text.size() >= sizeof field) {
        fields.fail("has a name longer than 255 bytes");
    }
    std::snprintf(field, sizeof field, "%s", text.c_str());
}

API_Guid parseGuid(const std::string& text, const Fields& fields)
{
    API_Guid guid = {};
    if (text.size() != 32) {
        fields.fail("has a guid that is not 32 hexadecimal digits");
    }
    for (std::size_t i = 0; i < 16; ++i) {
        unsigned value = 0;
        if (std::sscanf(text.substr(2 * i, 2).c_str(), "%2x", &value) != 1 || !std::isxdigit(static_cast<unsigned char>(text[2 * i])) ||
            !std::isxdigit(static_cast<unsigned char>(text[2 * i + 1]))) {
            fields.fail("has a guid that is not 32 hexadecimal digits");
        }
        guid.bytes[i] = static_cast<uint8_t>(value);
    }
    return guid;
}

void readRendering(const Json& value, API_RenderingSettings* r, std::string* picture, const std::string& where,
                   const std::string& folder)
{
    Fields f(value, where);
    r->engine = static_cast<int32_t>(f.integer("engine", r->engine, INT32_MIN, INT32_MAX));
    r->shadows = f.flag("shadows", r->shadows != 0) ? 1 : 0;
    r->atmosphere = f.flag("atmosphere", r->atmosphere != 0) ? 1 : 0;
    r->sun = f.flag("sun", r->sun != 0) ? 1 : 0;
    r->lights = f.flag("lights", r->lights != 0) ? 1 : 0;
    r->useBackgroundPicture = f.flag("useBackgroundPicture", r->useBackgroundPicture != 0) ? 1 : 0;
    const std::string stated = f.text("backgroundPicture", "");
    *picture = stated.empty() || stated[0] == '/' ? stated : folder + "/" + stated;
    r->skyColor = f.color("skyColor", r->skyColor);
    r->groundColor = f.color("groundColor", r->groundColor);
}

void readSite(const Json& value, Project* p)
{
    Fields f(value, "site");
    const Json* city = f.find("city");
    if (city != nullptr) {
        Fields c(*city, "site city");
        API_Attribute attribute = {};
        attribute.typeID = API_CityID;
        attribute.index = static_cast<int32_t>(p->cities.size() + 1);
        copyName(attribute.name, c.text("name", "Site"), c);
        attribute.longitude = static_cast<int16_t>(c.integer("longitude", 0, -10800, 10800));
        attribute.latitude = static_cast<int16_t>(c.integer("latitude", 0, -5400, 5400));
        attribute.timeZone = static_cast<int16_t>(c.integer("timeZone", 0, -1440, 1440));
        p->cities.push_back(attribute);
        p->place.cityIndex = attribute.index;
    }
    p->place.cityIndex = static_cast<int32_t>(f.integer("cityIndex", p->place.cityIndex, INT32_MIN, INT32_MAX));
    p->place.dayOfYear = static_cast<int32_t>(f.integer("dayOfYear", p->place.dayOfYear, 0, 364));
    p->place.minuteOfDay = static_cast<int32_t>(f.integer("minuteOfDay", p->place.minuteOfDay, 0, 1439));
    p->place.daylightSaving = f.flag("daylightSaving", p->place.daylightSaving != 0) ? 1 : 0;
    p->place.northAngle = f.number("northAngle", p->place.northAngle);
}

void readSun(const Json& value, API_SunInfo* sun)
{
    Fields f(value, "sun");
    sun->sunColor = f.color("sunColor", sun->sunColor);
    const std::vector<double> ambient = f.numbers("ambient", 3, {sun->ambient.red, sun->ambient.green, sun->ambient.blue});
    sun->ambient = {ambient[0], ambient[1], ambient[2]};
    sun->fogColor = f.color("fogColor", sun->fogColor);
    sun->atmosphereKind = static_cast<int32_t>(f.integer("atmosphereKind", sun->atmosphereKind, INT32_MIN, INT32_MAX));
}

bool readProjection(const Json& value, API_3DProjectionInfo* v)
{
    Fields f(value, "projection");
    const bool automatic = f.flag("automatic", false);
    v->isPersp = f.flag("perspective", v->isPersp != 0) ? 1 : 0;
    if (automatic) {
        return true;
    }
    const Vec3 camera = f.point("camera", {v->cameraX, v->cameraY, v->cameraZ});
    const Vec3 target = f.point("target", {v->targetX, v->targetY, v->targetZ});
    v->cameraX = camera.x;
    v->cameraY = camera.y;
    v->cameraZ = camera.z;
    v->targetX = target.x;
    v->targetY = target.y;
    v->targetZ = target.z;
    v->rollAngle = f.number("roll", 0.0);
    v->focal = f.number("focal", v->focal);
    const double dx = target.x - camera.x, dy = target.y - camera.y, dz = target.z - camera.z;
    v->azimuth = f.number("azimuth", std::atan2(dy, dx));
    v->distance = f.number("distance", std::sqrt(dx * dx + dy * dy + dz * dz));
    return false;
}

ModelTexture readTexture(const Json& value, std::size_t index, const std::string& folder, std::vector<std::string>* warnings)
{
    Fields f(value, numbered("texture", index));
    ModelTexture t;
    t.name = f.text("name", "Texture " + std::to_string(index + 1));
    t.xSize = f.number("xSize", 1.0);
    t.ySize = f.number("ySize", 1.0);
    if (!(t.xSize > 0.0) || !(t.ySize > 0.0)) {
        f.fail("has a size of 0 or below");
    }
    const std::string image = f.text("image", "");
    const Json* pixels = f.find("pixels");
    if (!image.empty() && pixels != nullptr) {
        f.fail("has both an image file and pixels");
    }
    if (!image.empty()) {
        const std::string path = image[0] == '/' ? image : folder + "/" + image;
        t.source = path;
        std::string reason;
        if (!decodeImageFile(path, &t, &reason)) {
            warnings->push_back("texture \"" + t.name + "\" cannot be read from " + path + ": " + reason);
        }
    } else if (pixels != nullptr) {
        Fields p(*pixels, f.where() + " pixels");
        t.source = "pixels";
        const int64_t width = p.integer("width", 0, 1, kGXMaxPixMapSide);
        const int64_t height = p.integer("height", 0, 1, kGXMaxPixMapSide);
        const std::string rgba = p.text("rgba", "");
        if (width * height > (int64_t(1) << 24) || static_cast<int64_t>(rgba.size()) != width * height * 8) {
            p.fail("needs \"rgba\" of 8 hexadecimal digits for each of its " + std::to_string(width * height) +
                   " pixels (at most 16777216)");
        }
        t.pixels.resize(static_cast<std::size_t>(width * height * 4));
        for (std::size_t i = 0; i < t.pixels.size(); ++i) {
            const char hex[3] = {rgba[2 * i], rgba[2 * i + 1], 0};
            char* end = nullptr;
            t.pixels[i] = static_cast<uint8_t>(std::strtoul(hex, &end, 16));
            if (end != hex + 2 || !std::isxdigit(static_cast<unsigned char>(hex[0]))) {
                p.fail("has \"rgba\" with a character that is not a hexadecimal digit");
            }
        }
        t.width = static_cast<int32_t>(width);
        t.height = static_cast<int32_t>(height);
        t.available = true;
        noteAlpha(&t);
    } else {
        t.source = "nothing";
    }
    t.available = f.flag("available", t.available);
    if (t.available && t.pixels.empty()) {
        f.fail("is available but has neither pixels nor a readable image");
    }
    if (!t.available) {
        t.width = t.height = 0;
        t.pixels.clear();
    }
    t.alpha = f.flag("alpha", t.alpha);
    f.finish();
    return t;
}

EXPMaterialInfo readMaterial(const Json& value, std::size_t index, std::size_t textures)
{
    Fields f(value, numbered("material", index));
    EXPMaterialInfo m = {};
    copyName(m.name, f.text("name", "Material " + std::to_string(index + 1)), f);
    m.surfaceRGB = f.color("surface", {0.8, 0.8, 0.8});
    m.specularRGB = f.color("specular", {1.0, 1.0, 1.0});
    m.emissionRGB = f.color("emission", {0.0, 0.0, 0.0});
    m.ambientPc = static_cast<int16_t>(f.integer("ambientPc", 100, 0, 100));
    m.diffusePc = static_cast<int16_t>(f.integer("diffusePc", 100, 0, 100));
    m.specularPc = static_cast<int16_t>(f.integer("specularPc", 0, 0, 100));
    m.transpPc = static_cast<int16_t>(f.integer("transpPc", 0, 0, 100));
    m.shine = static_cast<int16_t>(f.integer("shine", 0, 0, 10000));
    m.emissionAtt = static_cast<int16_t>(f.integer("emissionAtt", 0, 0, 10000));
    m.textureIndex = static_cast<int32_t>(f.integer("texture", 0, 0, static_cast<int64_t>(textures)));
    m.textureRotation = f.number("textureRotation", 0.0);
    f.finish();
    return m;
}

int32_t elementType(Fields& f)
{
    const Json* value = f.find("type");
    if (value == nullptr) {
        return EXPOther;
    }
    if (value->is_string()) {
        const std::string name = value->get<std::string>();
        if (name == "wall") return EXPWall;
        if (name == "slab") return EXPSlab;
        if (name == "roof") return EXPRoof;
        if (name == "other") return EXPOther;
    } else if (value->is_number_integer() && value->get<int64_t>() >= 1 && value->get<int64_t>() <= 4) {
        return static_cast<int32_t>(value->get<int64_t>());
    }
    f.fail("has a type that is none of 1 to 4, \"wall\", \"slab\", \"roof\" and \"other\"");
}

std::vector<int32_t> indexList(const Json& value, const Fields& f, const std::string& what)
{
    if (!value.is_array()) {
        f.fail(what + " is not a list of whole numbers");
    }
    std::vector<int32_t> out;
    out.reserve(value.size());
    for (const Json& item : value) {
        if (!item.is_number_integer() || item.get<int64_t>() < INT32_MIN || item.get<int64_t>() > INT32_MAX) {
            f.fail(what + " is not a list of whole numbers");
        }
        out.push_back(static_cast<int32_t>(item.get<int64_t>()));
    }
    return out;
}

void readBody(const Json& value, const std::string& where, Model* model, const std::vector<std::size_t>& limits)
{
    Fields f(value, where);
    int32_t matrix = -1;
    if (const Json* m = f.find("matrix")) {
        const std::vector<double> numbers = f.numberList(*m, 12, "field \"matrix\"");
        Matrix stated;
        for (std::size_t i = 0; i < 12; ++i) {
            if (!std::isfinite(numbers[i])) {
                f.fail("has a matrix entry that is not a number");
            }
            stated[i] = numbers[i];
        }
        model->matrices.push_back(stated);
        matrix = static_cast<int32_t>(model->matrices.size() - 1);
    }
    BodyBuilder builder(model);
    builder.begin(matrix);
    const Json& vertices = f.array("vertices");
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const std::vector<double> p = f.numberList(vertices[i], 3, numbered("vertex", i));
        const std::string what = where + " vertex " + std::to_string(i + 1);
        const Vec3 v = {p[0], p[1], p[2]};
        builder.addVertex(v, what);
        if (matrix >= 0) {
            const Vec3 placed = transformPoint(model->matrices[static_cast<std::size_t>(matrix)], v);
            checkCoordinate(placed.x, what + " in the model");
            checkCoordinate(placed.y, what + " in the model");
            checkCoordinate(placed.z, what + " in the model");
        }
    }
    const Json& uv = f.array("uv");
    if (!uv.empty() && uv.size() != vertices.size()) {
        f.fail("has " + std::to_string(uv.size()) + " texture coordinates for " + std::to_string(vertices.size()) +
               " vertices");
    }
    for (std::size_t i = 0; i < uv.size(); ++i) {
        const std::vector<double> c = f.numberList(uv[i], 2, numbered("texture coordinate", i));
        builder.addUV(static_cast<float>(c[0]), static_cast<float>(c[1]));
    }
    const Json& edges = f.array("edges");
    try {
        for (std::size_t i = 0; i < edges.size(); ++i) {
            const std::vector<int32_t> pair = indexList(edges[i], f, numbered("edge", i));
            if (pair.size() != 2) {
                f.fail(numbered("edge", i) + " is not a pair of vertex indices");
            }
            builder.addEdge(pair[0], pair[1]);
        }
    } catch (const ModelError& problem) {
        if (std::string(problem.what()).compare(0, where.size(), where) == 0) {
            throw;
        }
        throw ModelError(where + ": " + problem.what());
    }
    const Json& normals = f.array("normals");
    for (std::size_t i = 0; i < normals.size(); ++i) {
        const std::vector<double> n = f.numberList(normals[i], 3, numbered("normal", i));
        if (!std::isfinite(n[0]) || !std::isfinite(n[1]) || !std::isfinite(n[2]) ||
            n[0] * n[0] + n[1] * n[1] + n[2] * n[2] == 0.0) {
            f.fail(numbered("normal", i) + " has no direction");
        }
        builder.addNormal({n[0], n[1], n[2]});
    }
    const Json& polygons = f.array("polygons");
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        Fields p(polygons[i], where + " " + numbered("polygon", i));
        const int32_t material = static_cast<int32_t>(p.integer("material", 1, INT32_MIN, static_cast<int64_t>(limits[0])));
        const int32_t texture = static_cast<int32_t>(p.integer("texture", 0, 0, static_cast<int64_t>(limits[1])));
        const int32_t normal = static_cast<int32_t>(p.integer("normal", 0, INT32_MIN, INT32_MAX));
        const Json* list = p.find("edges");
        const Json* loops = p.find("vertices");
        try {
            if ((list == nullptr) == (loops == nullptr)) {
                p.fail("needs either \"edges\" or \"vertices\"");
            }
            if (list != nullptr) {
                if (normal == 0 && !normals.empty()) {
                    p.fail("needs a \"normal\": its body states its normals");
                }
                builder.addPolygonEdges(material, texture, normal, indexList(*list, p, "field \"edges\""));
            } else {
                if (normal != 0) {
                    p.fail("states a \"normal\"; the host computes the normal of a polygon given by its vertices");
                }
                if (!loops->is_array() || loops->empty()) {
                    p.fail("field \"vertices\" is not a list of vertex indices or of such lists");
                }
                std::vector<std::vector<int32_t>> contours;
                if ((*loops)[0].is_array()) {
                    for (const Json& loop : *loops) {
                        contours.push_back(indexList(loop, p, "field \"vertices\""));
                    }
                } else {
                    contours.push_back(indexList(*loops, p, "field \"vertices\""));
                }
                builder.addPolygon(material, texture, contours);
            }
        } catch (const ModelError& problem) {
            if (std::string(problem.what()).compare(0, p.where().size(), p.where()) == 0) {
                throw;
            }
            throw ModelError(p.where() + ": " + problem.what());
        }
    }
    builder.end();
}

void readElement(const Json& value, std::size_t index, Model* model, const std::vector<std::size_t>& limits,
                 std::set<std::string>* guids)
{
    const std::string where = numbered("element", index);
    Fields f(value, where);
    ModelElement element;
    element.type = elementType(f);
    element.name = f.text("name", "Element " + std::to_string(index + 1));
    element.layer = static_cast<int32_t>(f.integer("layer", 1, 1, static_cast<int64_t>(limits[2])));
    const std::string guid = f.text("guid", "");
    element.guid = guid.empty() ? hostGuid("ELEM", static_cast<uint32_t>(index + 1)) : parseGuid(guid, f);
    if (!guids->insert(guidKey(element.guid)).second) {
        f.fail("has the guid of an element before it");
    }
    element.firstBody = static_cast<uint32_t>(model->bodies.size());
    const Json& bodies = f.array("bodies");
    for (std::size_t b = 0; b < bodies.size(); ++b) {
        readBody(bodies[b], where + " " + numbered("body", b), model, limits);
    }
    element.bodyCount = static_cast<int32_t>(bodies.size());
    model->elements.push_back(element);
}

ModelLight readLight(const Json& value, std::size_t index)
{
    Fields f(value, numbered("light", index));
    ModelLight l;
    l.name = f.text("name", "Light " + std::to_string(index + 1));
    l.kind = static_cast<int32_t>(f.integer("kind", 1, INT32_MIN, INT32_MAX));
    l.color = f.color("color", l.color);
    l.position = f.point("position", l.position);
    l.direction = f.vector("direction", l.direction);
    l.length = f.number("length", l.length);
    l.cosAngle = f.number("cosAngle", l.cosAngle);
    if (!(l.cosAngle >= -1.0 && l.cosAngle <= 1.0)) {
        f.fail("has a \"cosAngle\" outside -1 to 1");
    }
    f.finish();
    return l;
}

FileCameraSet readCameraSet(const Json& value, std::size_t index)
{
    Fields f(value, numbered("camera set", index));
    FileCameraSet set;
    set.name = f.text("name", "Camera set " + std::to_string(index + 1));
    set.deleted = f.flag("deleted", false);
    const Json& cameras = f.array("cameras");
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        Fields c(cameras[i], f.where() + " " + numbered("camera", i));
        FileCamera camera;
        camera.name = c.text("name", set.name + " " + std::to_string(i + 1));
        camera.position = c.point("position", {0.0, 0.0, 0.0});
        camera.target = c.point("target", {0.0, 1.0, 0.0});
        camera.roll = c.number("roll", 0.0);
        camera.viewCone = c.number("viewCone", 50.0 * 0.017453292519943295);
        camera.deleted = c.flag("deleted", false);
        set.cameras.push_back(camera);
    }
    f.finish();
    return set;
}

}  // namespace

void loadJsonModel(const std::string& path, Project* p)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw ModelError(std::strerror(errno));
    }
    Json root;
    try {
        root = Json::parse(file);
    } catch (const Json::parse_error& problem) {
        std::string text = problem.what();
        const std::size_t cut = text.find("] ");
        throw ModelError("not a host model: " + (cut == std::string::npos ? text : text.substr(cut + 2)));
    }
    Fields f(root, "the model");
    if (f.text("format", "") != "cadhost-model") {
        f.fail("is not a host model: its \"format\" is not \"cadhost-model\"");
    }
    const int64_t version = f.integer("version", 1, 1, 1);
    (void)version;
    auto model = std::make_shared<Model>();
    p->modelFormat = "host model (JSON)";
    const std::string folder = folderOf(path);
    const Json& textures = f.array("textures");
    for (std::size_t i = 0; i < textures.size(); ++i) {
        model->textures.push_back(readTexture(textures[i], i, folder, &p->modelWarnings));
    }
    const Json& materials = f.array("materials");
    for (std::size_t i = 0; i < materials.size(); ++i) {
        model->materials.push_back(readMaterial(materials[i], i, model->textures.size()));
    }
    std::vector<std::string> layers;
    for (const Json& name : f.array("layers")) {
        if (!name.is_string()) {
            f.fail("has a layer name that is not a text");
        }
        layers.push_back(name.get<std::string>());
    }
    if (layers.empty()) {
        layers.push_back("ArchiCAD Layer");
    }
    const std::vector<std::size_t> limits = {model->materials.size(), model->textures.size(), layers.size()};
    const Json& elements = f.array("elements");
    std::set<std::string> guids;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        readElement(elements[i], i, model.get(), limits, &guids);
    }
    const Json& lights = f.array("lights");
    for (std::size_t i = 0; i < lights.size(); ++i) {
        model->lights.push_back(readLight(lights[i], i));
    }
    model->indexElements();
    p->model = model;
    setLayers(p, layers);
    setMaterialAttributes(p);
    std::vector<FileCameraSet> sets;
    const Json& cameraSets = f.array("cameraSets");
    for (std::size_t i = 0; i < cameraSets.size(); ++i) {
        sets.push_back(readCameraSet(cameraSets[i], i));
    }
    setCameraSets(p, sets);
    setLightsFlag(p);
    p->projection = automaticProjection(*model, true);
    if (const Json* rendering = f.find("rendering")) {
        if (rendering->is_array()) {
            if (rendering->size() != 2) {
                f.fail("has \"rendering\" that is neither one record nor a list of two");
            }
            for (int i = 0; i < 2; ++i) {
                readRendering((*rendering)[static_cast<std::size_t>(i)], &p->rendering[i], &p->backgroundPicture[i],
                              "rendering record " + std::to_string(i + 1), folder);
            }
        } else {
            readRendering(*rendering, &p->rendering[0], &p->backgroundPicture[0], "rendering", folder);
            p->rendering[1] = p->rendering[0];
            p->rendering[1].index = 1;
            p->backgroundPicture[1] = p->backgroundPicture[0];
        }
    }
    if (const Json* site = f.find("site")) {
        readSite(*site, p);
    }
    if (p->place.cityIndex < 1 || static_cast<std::size_t>(p->place.cityIndex) > p->cities.size()) {
        f.fail("has a \"cityIndex\" of " + std::to_string(p->place.cityIndex) + " but " +
               std::to_string(p->cities.size()) + " cities");
    }
    if (const Json* sun = f.find("sun")) {
        readSun(*sun, &p->sun);
    }
    if (const Json* projection = f.find("projection")) {
        if (readProjection(*projection, &p->projection)) {
            p->projection = automaticProjection(*model, p->projection.isPersp != 0);
        }
    }
    const std::vector<double> origin = f.numbers("origin", 2, {0.0, 0.0});
    p->origin = {origin[0], origin[1]};
    p->windowKind = static_cast<int32_t>(f.integer("window", API_3DWindow, INT32_MIN, INT32_MAX));
    p->database = static_cast<int32_t>(f.integer("database", 1, 1, 3));
    p->mapName = f.text("mapName", p->mapName);
}

}  // namespace cadhost
