#include "model/Panorama.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

CHotSpot::CHotSpot(CBaseObjectMgr* owner) : CScnObject(owner), mPoints(getScene())
{
    setFieldDefaults(*this);
}

CPanoLinkConfig::CPanoLinkConfig(CBaseObjectMgr* owner) : CScnObject(owner), mHotspots(getScene())
{
    setFieldDefaults(*this);
}

CVRPanoLink::CVRPanoLink(CBaseObjectMgr* owner) : CScnObject(owner), mPano1(owner), mPano2(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CVRPanoLink::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnPanoLink::putInXML");
}

bool CVRPanoLink::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnPanoLink::initWithXML");
}

CVRPanorama::CVRPanorama(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CVRPanorama::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnPanoNode::putInXML");
}

bool CVRPanorama::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnPanoNode::initWithXML");
}

CScnPanorama::CScnPanorama(CBaseObjectMgr* owner)
    : CScnObject(owner), mOptions(owner), mNodes(getScene()), mLinks(getScene())
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnPanorama::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnPanorama::putInXML");
}

bool CScnPanorama::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnPanorama::initWithXML");
}

}  // namespace NvScn
