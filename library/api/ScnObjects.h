// Object definitions and instances, internal components, billboards, insertion object and layers.
#ifndef SCN_OBJECTS_H
#define SCN_OBJECTS_H

#include "ScnBase.h"
#include "ScnGeometry.h"
#include "ScnObjectMgr.h"

namespace NvScn {

// Declared in full with its object kind; this library version does not hand it out filled yet.
class IScnScnObjectDefinition {
public:
    virtual ~IScnScnObjectDefinition() {}
};

// An object placed in the scene; its attached object names the internal component definition
// (or object definition) whose geometry it places. Operations follow the fields of its document
// form; setters taking pointers ignore null.
class IScnObjectInstance {
public:
    virtual const char* getName() = 0;
    virtual void setName(const char* name) = 0;
    // The kind of object placed, for example "ModelObject".
    virtual const char* getClass() = 0;
    virtual void setClass(const char* className) = 0;
    // The instance's own identifier, fresh for a new instance.
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    // The identifier of the definition the instance places; null UUID when none.
    virtual const CScnUUID* getAttachedObject() = 0;
    virtual void setAttachedObject(const CScnUUID* uuid) = 0;
    virtual ~IScnObjectInstance() {}
};

// The geometry of a definition: its own point and polygon tables, identified by a UUID and a
// geometry level. Setters taking pointers ignore null.
class IScnInternalComponentDefinition {
public:
    // The identifier, fresh for a new definition; object instances refer to it.
    virtual const CScnUUID* getUUID() = 0;
    virtual void setUUID(const CScnUUID* uuid) = 0;
    virtual int32_t getGeometryLevel() = 0;
    virtual void setGeometryLevel(int32_t level) = 0;
    // The definition's own points; polygons of this definition index into them.
    virtual TScnObjectMgr<CScnVector>* getPoints() = 0;
    virtual TScnObjectMgr<CScnPolygon>* getPolygons() = 0;
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
