// Where an object instance puts the geometry of the internal component it places.
#ifndef SCN_TOOLS_PLACEMENT_H
#define SCN_TOOLS_PLACEMENT_H

#include <vector>

#include "Scn.h"

namespace ScnTools {

// The columns of the rotation of three angles in degrees: about x first, then y, then z
// (Rz * Ry * Rx), in scene axes.
void rotationColumns(const NvScn::CScnVector& degrees, NvScn::CScnVector columns[3]);

// An instance's scale factor along one axis: 1 where the file holds 0 or no number.
double scaleFactor(double value);

// An instance's transform: scale along the component's axes, then rotation, then translation
// (centimetres).
struct Placement {
    NvScn::CScnVector columns[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    NvScn::CScnVector scale = {1, 1, 1};
    NvScn::CScnVector translation = {0, 0, 0};

    // A point of the component in the scene.
    NvScn::CScnVector point(const NvScn::CScnVector& p) const;
    // A direction normal to a surface of the component, in the scene (not normalised).
    NvScn::CScnVector normal(const NvScn::CScnVector& n) const;
};

// The placement of an instance; parts it does not give are left as they are.
Placement placementOf(NvScn::IScnObjectInstance& instance);

// The placements of every instance of the scene that places the component of that identifier.
std::vector<Placement> placementsOf(NvScn::CScnMgr& scene, const NvScn::CScnUUID& component);

// The materials that a component's polygons name: those of the object definition of that
// identifier; null when no definition has it.
NvScn::TScnObjectMgr<NvScn::CScnProperty>* componentMaterials(NvScn::CScnMgr& scene, const NvScn::CScnUUID& component);

// Whether the identifier is there and equal to the other.
bool sameUuid(const NvScn::CScnUUID* a, const NvScn::CScnUUID& b);

}  // namespace ScnTools

#endif
