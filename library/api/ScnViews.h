// Perspective, parallel and object views.
#ifndef SCN_VIEWS_H
#define SCN_VIEWS_H

#include "ScnBase.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnCamera {
public:
    virtual ~CScnCamera() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnParallelView {
public:
    virtual ~IScnParallelView() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class CScnViewObject {
public:
    virtual ~CScnViewObject() {}
};

}  // namespace NvScn

#endif
