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

using CAnimation = TOwnedObject<IScnCameraPath>;
using CScnScenario = TOwnedObject<IScnScenario>;
using CScn3DPath = TOwnedObject<IScn3DPath>;
using CVRPanorama = TOwnedObject<IScnPanoNode>;
using CVRPanoLink = TOwnedObject<CScnPanoLink>;
using CProperty = TOwnedObject<CScnProperty>;

// An animation; its camera path is what CScnMgr::getCameraPath hands out.
class CScnAnimation : public TScnFrontier<IScnAnimation>, public CScnObject {
public:
    explicit CScnAnimation(CBaseObjectMgr* owner) : CScnObject(owner), mCameraPath(owner) {}
    CAnimation* getCameraPath() { return &mCameraPath; }

private:
    CAnimation mCameraPath;
};

// A panorama: its nodes and the links between them.
class CScnPanorama : public TScnFrontier<IScnPanorama>, public CScnObject {
public:
    explicit CScnPanorama(CBaseObjectMgr* owner)
        : CScnObject(owner),
          mNodes(owner != nullptr ? owner->getScene() : nullptr),
          mLinks(owner != nullptr ? owner->getScene() : nullptr)
    {
    }
    TObjectMgr<CVRPanorama, IScnPanoNode>* getNodes() { return &mNodes; }
    TObjectMgr<CVRPanoLink, CScnPanoLink>* getLinks() { return &mLinks; }

private:
    TObjectMgr<CVRPanorama, IScnPanoNode> mNodes;
    TObjectMgr<CVRPanoLink, CScnPanoLink> mLinks;
};

}  // namespace NvScn

#endif
