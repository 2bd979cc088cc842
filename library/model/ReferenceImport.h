// The import of a reference scene into another scene: the reference lends its materials, object
// definitions and their instances, lights, heliodons, views, panoramas and scenario content.
#ifndef SCN_REFERENCE_IMPORT_H
#define SCN_REFERENCE_IMPORT_H

#include <cstdint>

namespace NvScn {

class CSCN;

// The parts of a reference scene that an import takes, one bit each.
namespace ImportFlags {
// Materials of the target that share an identifier with one of the reference take its content.
constexpr int32_t kMaterials = 0x01;
constexpr int32_t kLights = 0x10;
constexpr int32_t kHeliodons = 0x20;
// Object definitions, kind by kind, with their geometry and the instances that place them.
constexpr int32_t kObjects = 0x40;
constexpr int32_t kPerspectiveViews = 0x80;
constexpr int32_t kParallelViews = 0x100;
constexpr int32_t kViewObjects = 0x200;
constexpr int32_t kPanoramas = 0x400;
// The content of the reference's first scenario, added to the target's first scenario.
constexpr int32_t kScenario = 0x800;
}  // namespace ImportFlags

// Copies the parts of source that flags select into target. Every imported object is a copy
// made in the target, so the target keeps nothing of the source and the source may be released
// right after. Identifiers and links stay consistent in the target: a copy whose identifier the
// target already uses gets a fresh one and every imported link follows it; the light groups,
// layers and environments that imported objects name come along. A failure is reported through
// the target's feedback and leaves what was imported before it, each object whole. Importing a
// scene into itself changes nothing.
void importReference(CSCN& target, CSCN& source, int32_t flags) noexcept;

}  // namespace NvScn

#endif
