// Lights and light groups of a scene.
#ifndef SCN_LIGHTS_H
#define SCN_LIGHTS_H

#include "ScnBase.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnLight {
public:
    virtual ~CScnLight() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnLightsGroup {
public:
    virtual ~IScnLightsGroup() {}
};

}  // namespace NvScn

#endif
