#include "support/ObjectSupport.h"

namespace ScnTest {

using namespace NvScn;

namespace {

// Gives a component three points and one polygon over them.
void addTriangle(IScnInternalComponentDefinition& component)
{
    for (int i = 0; i < 3; ++i) {
        *component.getPoints()->newScnObject(kScnLastIndex) = CScnVector{1.5 * i, 2.0, -0.5 * i};
    }
    CScnPolygon* polygon = component.getPolygons()->newScnObject(kScnLastIndex);
    for (int32_t i = 0; i < 3; ++i) {
        polygon->getVertices()->newScnObject(kScnLastIndex)->pointIndex = i;
    }
}

}  // namespace

void fillObjects(CSCN& scene)
{
    for (const char* className : kObjectClasses) {
        CScnScnObjectDefinition* definition = scene.objectDefinitions().append();
        varyWithKind(*definition, className);
        IScnInternalComponentDefinition* component =
            scene.getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
        component->setUUID(definition->getUUID());
        addTriangle(*component);
        CScnObjectInstance* instance = scene.objectInstances().append();
        varyWithKind(*instance, className);
        instance->setAttachedObject(definition->getUUID());
    }
    for (int i = 0; i < 2; ++i) {
        varyFields(*scene.billboards().append());
        varyFields(*scene.layers().append());
    }
    varyFields(scene.layersInfo());
    varyFields(scene.insertionObject());
    CScnCamera* camera = scene.getPerspectiveViews()->newScnObject(kScnLastIndex);
    varyFields(*static_cast<CScnInsertionObject*>(camera->getInsertionObject()));
    // The geometry lives in the components only.
    scene.removeGeometry();
}

}  // namespace ScnTest
