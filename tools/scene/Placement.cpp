#include "Placement.h"

#include <cmath>
#include <cstring>

namespace ScnTools {

using NvScn::CScnVector;

namespace {

constexpr double kDegree = 3.141592653589793 / 180;

CScnVector along(const CScnVector* columns, double x, double y, double z)
{
    return {columns[0].x * x + columns[1].x * y + columns[2].x * z,
            columns[0].y * x + columns[1].y * y + columns[2].y * z,
            columns[0].z * x + columns[1].z * y + columns[2].z * z};
}

}  // namespace

void rotationColumns(const CScnVector& degrees, CScnVector columns[3])
{
    double cx = std::cos(degrees.x * kDegree), sx = std::sin(degrees.x * kDegree);
    double cy = std::cos(degrees.y * kDegree), sy = std::sin(degrees.y * kDegree);
    double cz = std::cos(degrees.z * kDegree), sz = std::sin(degrees.z * kDegree);
    columns[0] = {cz * cy, sz * cy, -sy};
    columns[1] = {cz * sy * sx - sz * cx, sz * sy * sx + cz * cx, cy * sx};
    columns[2] = {cz * sy * cx + sz * sx, sz * sy * cx - cz * sx, cy * cx};
}

double scaleFactor(double value)
{
    return std::isfinite(value) && value != 0 ? value : 1.0;
}

CScnVector Placement::point(const CScnVector& p) const
{
    CScnVector turned = along(columns, p.x * scale.x, p.y * scale.y, p.z * scale.z);
    return {turned.x + translation.x, turned.y + translation.y, turned.z + translation.z};
}

CScnVector Placement::normal(const CScnVector& n) const
{
    // Normals take the inverse transpose of the linear part: the same rotation, the inverse scale.
    return along(columns, n.x / scale.x, n.y / scale.y, n.z / scale.z);
}

Placement placementOf(NvScn::IScnObjectInstance& instance)
{
    Placement placement;
    if (const CScnVector* t = instance.getTranslation()) {
        if (std::isfinite(t->x + t->y + t->z)) {
            placement.translation = *t;
        }
    }
    if (const CScnVector* r = instance.getRotation()) {
        CScnVector columns[3];
        rotationColumns(*r, columns);
        bool finite = true;
        for (const CScnVector& c : columns) {
            finite = finite && std::isfinite(c.x + c.y + c.z);
        }
        if (finite) {
            std::memcpy(placement.columns, columns, sizeof columns);
        }
    }
    if (const CScnVector* s = instance.getScale()) {
        placement.scale = {scaleFactor(s->x), scaleFactor(s->y), scaleFactor(s->z)};
    }
    return placement;
}

std::vector<Placement> placementsOf(NvScn::CScnMgr& scene, const NvScn::CScnUUID& component)
{
    std::vector<Placement> placements;
    NvScn::TScnObjectMgr<NvScn::IScnObjectInstance>* instances = scene.getObjectInstances();
    int32_t count = instances != nullptr ? instances->getNbObjects() : 0;
    for (int32_t i = 0; i < count; ++i) {
        NvScn::IScnObjectInstance* instance = instances->getScnObject(static_cast<uint32_t>(i));
        if (instance != nullptr && sameUuid(instance->getAttachedObject(), component)) {
            placements.push_back(placementOf(*instance));
        }
    }
    return placements;
}

NvScn::TScnObjectMgr<NvScn::CScnProperty>* componentMaterials(NvScn::CScnMgr& scene, const NvScn::CScnUUID& component)
{
    NvScn::TScnObjectMgr<NvScn::IScnScnObjectDefinition>* definitions = scene.getObjectDefinitions();
    int32_t count = definitions != nullptr ? definitions->getNbObjects() : 0;
    for (int32_t i = 0; i < count; ++i) {
        NvScn::IScnScnObjectDefinition* definition = definitions->getScnObject(static_cast<uint32_t>(i));
        if (definition != nullptr && sameUuid(definition->getUUID(), component)) {
            return definition->getMaterials();
        }
    }
    return nullptr;
}

bool sameUuid(const NvScn::CScnUUID* a, const NvScn::CScnUUID& b)
{
    return a != nullptr && std::memcmp(a->bytes, b.bytes, sizeof b.bytes) == 0;
}

}  // namespace ScnTools
