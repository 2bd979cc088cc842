// The internal component definition that a geometry block belongs to: named by the block's parent
// element "InternalComponentDefinition" through its "UUID" attribute and "Geometry.Level" child.
#ifndef SCN_COMPONENT_SELECTION_H
#define SCN_COMPONENT_SELECTION_H

#include <cstdint>

#include "ScnBase.h"
#include "ScnXML.h"

namespace NvScn {

class CSCN;
class CScnInternalComponentDefinition;

// The identity of a component as its element states it.
struct CComponentHead {
    CScnUUID uuid;
    int32_t level;
};

// Whether a geometry block element sits in an "InternalComponentDefinition" element.
bool belongsToComponent(NuvoraXML::XIXMLElement* block);

// The UUID and level of a component element; fails with "setCurrentInternalComponentDefinition -
// No parent node", "- No UUID attributes", "- Null uuid", "- No Geometry.Level" and "- No
// Geometry.Level data" (the null UUID as an assertion, the others as missing pointers).
CComponentHead readComponentHead(NuvoraXML::XIXMLElement* component);

// Tells the scene's external storage (when it has one) which component the next geometry belongs
// to; a false answer fails with "External storage cancel IO".
void selectInStorage(CSCN& scene, const CComponentHead& head);

// While reading: makes the component of the block's parent element current (in the storage when
// there is one) and answers its definition, appended to the scene when none has its UUID.
CScnInternalComponentDefinition* selectComponentForReading(CSCN& scene, NuvoraXML::XIXMLElement* block);

// The scene's definition with the head's UUID, appended with that UUID and level when missing.
CScnInternalComponentDefinition& componentFor(CSCN& scene, const CComponentHead& head);

}  // namespace NvScn

#endif
