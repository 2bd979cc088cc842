// Background, ambient light, atmosphere, grounds, environments and rendering options.
#ifndef SCN_ENVIRONMENT_H
#define SCN_ENVIRONMENT_H

#include "ScnBase.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnAmbient {
public:
    virtual ~CScnAmbient() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnAtmosphere {
public:
    virtual ~CScnAtmosphere() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnBackground {
public:
    virtual ~CScnBackground() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnGround {
public:
    virtual ~IScnGround() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnEnvironment {
public:
    virtual ~IScnEnvironment() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnRenderingOpt {
public:
    virtual ~CScnRenderingOpt() {}
};

// Rendering options of the panoramas (implementation view).
class CScnPanoramaRenderingOpt : public CScnRenderingOpt {
};

// Rendering options of the parallel views (implementation view).
class CScnParallelViewRenderingOpt : public CScnRenderingOpt {
};

}  // namespace NvScn

#endif
