// The ordered, index-based collection interface behind every list of scene objects.
#ifndef SCN_OBJECT_MGR_H
#define SCN_OBJECT_MGR_H

#include "ScnBase.h"

namespace NvScn {

// A list of scene objects owned by the scene; indices run from 0, kScnLastIndex appends or names
// the last object. Failures are reported through the scene's feedback, never thrown.
template <class T>
class TScnObjectMgr {
public:
    // Number of objects in the list.
    virtual int32_t getNbObjects() = 0;
    // The object at index, or null after a "getScnObject: Bad index value" report.
    virtual T* getScnObject(uint32_t index) = 0;
    // Creates an object at index (kScnLastIndex appends); null after a report on failure.
    virtual T* newScnObject(uint32_t index) = 0;
    // Destroys the object at index (kScnLastIndex: the last one).
    virtual void removeObject(uint32_t index) = 0;
    // Moves the object at from so that it ends at index to.
    virtual void moveObject(uint32_t from, uint32_t to) = 0;
    virtual ~TScnObjectMgr() {}
};

}  // namespace NvScn

#endif
