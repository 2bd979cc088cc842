// Test-side tools for materials: a shader tree holding every node kind.
#ifndef SCN_TEST_SHADER_SUPPORT_H
#define SCN_TEST_SHADER_SUPPORT_H

#include "shaders/Property.h"

namespace ScnTest {

// A new tree of every kind with every parameter away from its default, holding one reference:
// Chess (Mapping (Turbulence (Fresnel (Glazing (Custom (Leaf, Leaf)))))), Leaf), each node with
// its own UI value, the custom node with a class and a child element of its data.
NvScn::CTCENode* everyKindTree(NvScn::CProperty& owner);

}  // namespace ScnTest

#endif
