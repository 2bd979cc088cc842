// Object definitions and instances, internal components, billboards, insertion object and layers.
#ifndef SCN_OBJECTS_H
#define SCN_OBJECTS_H

#include "ScnBase.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnScnObjectDefinition {
public:
    virtual ~IScnScnObjectDefinition() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnObjectInstance {
public:
    virtual ~IScnObjectInstance() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnInternalComponentDefinition {
public:
    virtual ~IScnInternalComponentDefinition() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnBBMgrData {
public:
    virtual ~IScnBBMgrData() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnInsertionObject {
public:
    virtual ~IScnInsertionObject() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnLayer {
public:
    virtual ~IScnLayer() {}
};

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnLayerInfo {
public:
    virtual ~IScnLayerInfo() {}
};

}  // namespace NvScn

#endif
