#include "model/ObjectInstance.h"

#include "model/Guard.h"

namespace NvScn {

CScnObjectInstance::CScnObjectInstance(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

void CScnObjectInstance::setName(const char* name)
{
    guardedVoid(getOwner(), "CScnObjectInstance::setName", [&] { storeTextIfGiven(mName, name); });
}

void CScnObjectInstance::setClass(const char* className)
{
    guardedVoid(getOwner(), "CScnObjectInstance::setClass", [&] { storeTextIfGiven(mClass, className); });
}

}  // namespace NvScn
