#include "model/InternalComponent.h"

#include "model/Scene.h"
#include "model/Uuid.h"

namespace NvScn {

CScnInternalComponentDefinition::CScnInternalComponentDefinition(CBaseObjectMgr* owner)
    : CScnObject(owner),
      mUuid(newUuid()),
      mPoints(std::make_unique<CPointMgr>(getScene())),
      mPolygons(std::make_unique<CPolygonMgr>(getScene())),
      mKeptContent("InternalComponentDefinition")
{
}

IScnScnObjectDefinition* CScnInternalComponentDefinition::getObjectDefinition()
{
    CSCN* scene = getScene();
    return scene != nullptr ? scene->findObjectDefinition(mUuid) : nullptr;
}

CScnInternalComponentDefinition::~CScnInternalComponentDefinition() = default;

void CScnInternalComponentDefinition::setUUID(const CScnUUID* uuid)
{
    if (uuid != nullptr) {
        mUuid = *uuid;
    }
}

void CScnInternalComponentDefinition::swapGeometry(std::unique_ptr<CPointMgr>& points,
                                                   std::unique_ptr<CPolygonMgr>& polygons)
{
    mPoints.swap(points);
    mPolygons.swap(polygons);
}

}  // namespace NvScn
