#include "model/ObjectInstance.h"

#include "model/Guard.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

CScnObjectInstance::CScnObjectInstance(CBaseObjectMgr* owner)
    : CScnObject(owner), mData(owner, kDataElement, &instanceKindOf)
{
    setFieldDefaults(*this);
}

void CScnObjectInstance::setName(const char* name)
{
    guardedVoid(getOwner(), "CScnObjectInstance::setName", [&] { storeTextIfGiven(mName, name); });
}

void CScnObjectInstance::setClass(const char* className)
{
    guardedVoid(getOwner(), "CScnObjectInstance::setClass", [&] {
        storeTextIfGiven(mClass, className);
        mData.match(mClass);
    });
}

IScnObjectInstance::IDelegate* CScnObjectInstance::getDelegate()
{
    return guarded(getOwner(), "CScnObjectInstance::getDelegate", static_cast<IDelegate*>(nullptr),
                   [&] { return mData.match(mClass); });
}

IScn3DPlantRef* CScnObjectInstance::get3DPlantRef()
{
    return mData.as<C3DPlantRef>(getOwner(), "CScnObjectInstance::get3DPlantRef", mClass, kScnKind3DPlant);
}

IScnBillboardRef* CScnObjectInstance::getBillboardRef()
{
    return mData.as<CBillboardRef>(getOwner(), "CScnObjectInstance::getBillboardRef", mClass, kScnKindBillboard);
}

IScnAnimatedObjectRef* CScnObjectInstance::getAnimatedObjectRef()
{
    return mData.as<CAnimatedObjectRef>(getOwner(), "CScnObjectInstance::getAnimatedObjectRef", mClass,
                                        kScnKindAnimatedObject);
}

XIXMLElement* CScnObjectInstance::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnObjectInstance::putInXML");
}

bool CScnObjectInstance::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnObjectInstance::initWithXML");
}

}  // namespace NvScn
