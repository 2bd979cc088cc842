#include "model/Layers.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

CScnLayer::CScnLayer(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnLayer::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "AddLayer::putInXML");
}

bool CScnLayer::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "AddLayer::initWithXML");
}

CScnLayerInfo::CScnLayerInfo(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnLayerInfo::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "AddLayerInfo::putInXML", kReplaceExisting);
}

bool CScnLayerInfo::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "AddLayerInfo::initWithXML", kNamedOrChild);
}

}  // namespace NvScn
