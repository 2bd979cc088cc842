// Test-side tools for objects: varying a definition or an instance together with the data of its
// kind, and a scene holding objects of every kind.
#ifndef SCN_TEST_OBJECT_SUPPORT_H
#define SCN_TEST_OBJECT_SUPPORT_H

#include <string>
#include <type_traits>
#include <vector>

#include "model/ObjectDefinition.h"
#include "model/ObjectInstance.h"
#include "model/Scene.h"
#include "support/FieldVary.h"

namespace ScnTest {

// The classes whose objects the tests make: one without data, then one of each kind.
constexpr const char* kObjectClasses[] = {"Chair", NvScn::kScnClassScnObject, NvScn::kScnClass3DPlant,
                                          NvScn::kScnClassBillboard, NvScn::kScnClassLightObject,
                                          NvScn::kScnClassAnimatedObject};

// Moves every field of a definition or an instance, and of the data of the kind className names,
// away from the defaults.
template <class Object>
void varyWithKind(Object& object, const char* className)
{
    varyFields(object);
    object.setClass(className);
    FieldVary vary;
    if constexpr (std::is_same<Object, NvScn::CScnScnObjectDefinition>::value) {
        if (auto* plant = object.get3DPlant()) {
            static_cast<NvScn::C3DPlant*>(plant)->visitFields(vary);
        } else if (auto* billboard = object.getBillboard()) {
            static_cast<NvScn::CScnBillboard*>(billboard)->visitFields(vary);
        } else if (auto* light = object.getObjectLight()) {
            static_cast<NvScn::CScnObjectLight*>(light)->visitFields(vary);
        } else if (auto* animated = object.getAnimatedObject()) {
            static_cast<NvScn::CScnAnimatedObject*>(animated)->visitFields(vary);
        }
    } else {
        if (auto* plant = object.get3DPlantRef()) {
            static_cast<NvScn::C3DPlantRef*>(plant)->visitFields(vary);
        } else if (auto* billboard = object.getBillboardRef()) {
            static_cast<NvScn::CBillboardRef*>(billboard)->visitFields(vary);
        } else if (auto* animated = object.getAnimatedObjectRef()) {
            static_cast<NvScn::CAnimatedObjectRef*>(animated)->visitFields(vary);
        }
    }
}

// Fills a scene with varied objects: a definition of each class with its geometry (a triangle) and
// an instance of it, two billboard records, two layers, the layers information, the scene's
// insertion object and a perspective view with its own; the scene's own geometry blocks go.
void fillObjects(NvScn::CSCN& scene);

// The dumps of every object of a list, in order.
template <class Impl, class Iface>
std::vector<std::string> dumpsOf(NvScn::TObjectMgr<Impl, Iface>& list)
{
    std::vector<std::string> all;
    for (size_t i = 0; i < list.size(); ++i) {
        all.push_back(NvScn::dumpFields(*list.at(i)));
    }
    return all;
}

}  // namespace ScnTest

#endif
