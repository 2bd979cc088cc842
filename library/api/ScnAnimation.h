// Camera paths, animations, scenarios, 3D paths and panoramas.
#ifndef SCN_ANIMATION_H
#define SCN_ANIMATION_H

#include "ScnBase.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnCameraPath {
public:
    virtual ~IScnCameraPath() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnAnimation {
public:
    virtual ~IScnAnimation() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnScenario {
public:
    virtual ~IScnScenario() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScn3DPath {
public:
    virtual ~IScn3DPath() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnPanorama {
public:
    virtual ~IScnPanorama() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnPanoNode {
public:
    virtual ~IScnPanoNode() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnPanoLink {
public:
    virtual ~CScnPanoLink() {}
};

}  // namespace NvScn

#endif
