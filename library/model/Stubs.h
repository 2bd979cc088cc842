// Object kinds that this library version holds but does not fill yet: each carries its owner
// link only. The issue that completes a kind moves it to its own header.
#ifndef SCN_STUBS_H
#define SCN_STUBS_H

#include "ScnMgr.h"
#include "model/BaseObjectMgr.h"
#include "model/ObjectMgr.h"
#include "model/ScnFrontier.h"

namespace NvScn {

// An object kind with its owner link and nothing more.
template <class Iface>
class TOwnedObject : public TScnFrontier<Iface>, public CScnObject {
public:
    explicit TOwnedObject(CBaseObjectMgr* owner) : CScnObject(owner) {}
};

using CProperty = TOwnedObject<CScnProperty>;

}  // namespace NvScn

#endif
