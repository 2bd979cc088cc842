#include "model/ObjectInstance.h"

#include "model/Guard.h"
#include "model/Uuid.h"

namespace NvScn {

CScnObjectInstance::CScnObjectInstance(CBaseObjectMgr* owner) : CScnObject(owner), mUuid(newUuid())
{
}

void CScnObjectInstance::setName(const char* name)
{
    guardedVoid(getOwner(), "CScnObjectInstance::setName", [&] {
        if (name != nullptr) {
            mName = name;
        }
    });
}

void CScnObjectInstance::setClass(const char* className)
{
    guardedVoid(getOwner(), "CScnObjectInstance::setClass", [&] {
        if (className != nullptr) {
            mClass = className;
        }
    });
}

void CScnObjectInstance::setUUID(const CScnUUID* uuid)
{
    if (uuid != nullptr) {
        mUuid = *uuid;
    }
}

void CScnObjectInstance::setAttachedObject(const CScnUUID* uuid)
{
    if (uuid != nullptr) {
        mAttachedObject = *uuid;
    }
}

}  // namespace NvScn
