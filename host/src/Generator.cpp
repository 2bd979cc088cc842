// A generated model of any number of polygons for benchmarks: panels of 100 × 100 quadrilaterals
// (walls, slabs, roofs and others in turn, ten panels an element), filled straight into the model's
// arrays with every array reserved once.
#include "HostState.h"
#include "Loading.h"
#include "Progress.h"

#include <cmath>

namespace cadhost {
namespace {

constexpr int32_t kSide = 100;          // quadrilaterals along each side of a full panel
constexpr double kCell = 0.1;           // metres
constexpr int32_t kBodiesPerElement = 10;

struct Panel {
    int32_t rows;
    int32_t columns;
};

// The directions of a panel's two grid axes in the model, by element type.
void axesOf(int32_t type, Vec3* a, Vec3* b)
{
    *a = {1.0, 0.0, 0.0};
    if (type == EXPWall) {
        *b = {0.0, 0.0, 1.0};
    } else if (type == EXPRoof) {
        *b = {0.0, std::cos(30.0 * 3.141592653589793 / 180.0), std::sin(30.0 * 3.141592653589793 / 180.0)};
    } else {
        *b = {0.0, 1.0, 0.0};
    }
}

void addPanel(Model* m, const Panel& panel, int32_t type, const Vec3& origin)
{
    ModelBody body;
    body.firstVertex = m->vertices.size();
    body.firstEdge = m->edges.size();
    body.firstPolygon = m->polygons.size();
    body.firstEdgeRef = m->edgeRefs.size();
    body.firstNormal = m->normals.size();
    body.firstUV = static_cast<int64_t>(m->uvs.size());
    const int32_t R = panel.rows, C = panel.columns;
    Vec3 a, b;
    axesOf(type, &a, &b);
    for (int32_t j = 0; j <= R; ++j) {
        for (int32_t i = 0; i <= C; ++i) {
            const double s = i * kCell, t = j * kCell;
            m->vertices.push_back({origin.x + s * a.x + t * b.x, origin.y + s * a.y + t * b.y, origin.z + s * a.z + t * b.z});
            m->uvs.push_back(static_cast<float>(s));
            m->uvs.push_back(static_cast<float>(t));
        }
    }
    auto vertex = [C](int32_t j, int32_t i) { return j * (C + 1) + i + 1; };
    for (int32_t j = 0; j <= R; ++j) {
        for (int32_t i = 0; i < C; ++i) {
            m->edges.push_back({vertex(j, i), vertex(j, i + 1)});
        }
    }
    for (int32_t i = 0; i <= C; ++i) {
        for (int32_t j = 0; j < R; ++j) {
            m->edges.push_back({vertex(j, i), vertex(j + 1, i)});
        }
    }
    const int32_t across = (R + 1) * C;
    auto rowEdge = [C](int32_t j, int32_t i) { return j * C + i + 1; };
    auto columnEdge = [across, R](int32_t j, int32_t i) { return across + i * R + j + 1; };
    m->normals.push_back(unitVector({a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}));
    uint32_t start = 0;
    for (int32_t j = 0; j < R; ++j) {
        for (int32_t i = 0; i < C; ++i) {
            m->polygons.push_back({type, 0, 1, start});
            m->edgeRefs.push_back(rowEdge(j, i));
            m->edgeRefs.push_back(columnEdge(j, i + 1));
            m->edgeRefs.push_back(-rowEdge(j + 1, i));
            m->edgeRefs.push_back(-columnEdge(j, i));
            start += 4;
        }
    }
    body.vertexCount = (R + 1) * (C + 1);
    body.edgeCount = static_cast<int32_t>(m->edges.size() - body.firstEdge);
    body.polygonCount = R * C;
    body.normalCount = 1;
    body.edgeRefCount = start;
    m->bodies.push_back(body);
}

EXPMaterialInfo material(const char* name, API_RGB colour, int32_t texture)
{
    EXPMaterialInfo m = {};
    std::snprintf(m.name, sizeof m.name, "%s", name);
    m.surfaceRGB = colour;
    m.specularRGB = {1.0, 1.0, 1.0};
    m.ambientPc = 100;
    m.diffusePc = 100;
    m.specularPc = 20;
    m.shine = 2000;
    m.textureIndex = texture;
    return m;
}

}  // namespace

void generateModel(int64_t polygons)
{
    host().project = Project();
    resetCancel();
    Project& p = host().project;
    auto model = std::make_shared<Model>();
    const int64_t full = std::max<int64_t>(polygons, 0) / (kSide * kSide);
    const int32_t rest = static_cast<int32_t>(std::max<int64_t>(polygons, 0) % (kSide * kSide));
    std::vector<Panel> panels(static_cast<std::size_t>(full), Panel{kSide, kSide});
    if (rest > 0) {
        panels.push_back(Panel{1, rest});
    }
    uint64_t vertices = 0, edges = 0, quads = 0;
    for (const Panel& panel : panels) {
        vertices += uint64_t(panel.rows + 1) * uint64_t(panel.columns + 1);
        edges += uint64_t(panel.rows + 1) * panel.columns + uint64_t(panel.columns + 1) * panel.rows;
        quads += uint64_t(panel.rows) * panel.columns;
    }
    model->vertices.reserve(vertices);
    model->uvs.reserve(2 * vertices);
    model->edges.reserve(edges);
    model->polygons.reserve(quads);
    model->edgeRefs.reserve(4 * quads);
    model->normals.reserve(panels.size());
    model->bodies.reserve(panels.size());
    // Panels stand side by side in rows of 50, 12 m apart.
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const std::size_t e = i / kBodiesPerElement;
        const int32_t type = static_cast<int32_t>(e % 4) + 1;
        if (i % kBodiesPerElement == 0) {
            ModelElement element;
            element.type = type;
            element.layer = type;
            element.firstBody = static_cast<uint32_t>(model->bodies.size());
            element.guid = hostGuid("ELEM", static_cast<uint32_t>(e + 1));
            element.name = "Generated " + std::to_string(e + 1);
            model->elements.push_back(element);
        }
        const Vec3 origin = {12.0 * static_cast<double>(i % 50), 12.0 * static_cast<double>(i / 50), 0.0};
        addPanel(model.get(), panels[i], type, origin);
        ++model->elements.back().bodyCount;
    }
    model->materials = {material("Brick", {0.8, 0.4, 0.3}, 1), material("Concrete", {0.7, 0.7, 0.68}, 0),
                        material("Roof tiles", {0.6, 0.25, 0.2}, 0), material("Wood", {0.6, 0.45, 0.3}, 0)};
    ModelTexture brick;
    brick.name = "Brick.png";
    brick.source = "generated";
    brick.width = brick.height = 64;
    brick.available = true;
    brick.pixels.resize(64 * 64 * 4);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool mortar = y % 16 == 0 || (x + (y / 16 % 2) * 16) % 32 == 0;
            uint8_t* pixel = &brick.pixels[static_cast<std::size_t>(y * 64 + x) * 4];
            pixel[0] = mortar ? 200 : 170;
            pixel[1] = mortar ? 200 : 70;
            pixel[2] = mortar ? 190 : 50;
            pixel[3] = 255;
        }
    }
    model->textures.push_back(std::move(brick));
    ModelLight lamp;
    lamp.name = "Lamp";
    lamp.position = {0.0, 0.0, 20.0};
    model->lights.push_back(lamp);
    model->indexElements();
    p.model = model;
    p.modelSource = "generated, " + std::to_string(polygons) + " polygons";
    p.modelFormat = "generated";
    setLayers(&p, {"Walls", "Slabs", "Roofs", "Others"});
    setMaterialAttributes(&p);
    setLightsFlag(&p);
    p.projection = automaticProjection(*model, true);
}

}  // namespace cadhost
