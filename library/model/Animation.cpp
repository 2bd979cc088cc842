#include "model/Animation.h"

#include "model/Clip.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

CScnKeyFrame::CScnKeyFrame(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnKeyFrame::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnKeyFrame::putInXML");
}

bool CScnKeyFrame::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnKeyFrame::initWithXML");
}

CScnInterpolatedValue::CScnInterpolatedValue(CBaseObjectMgr* owner) : CScnObject(owner), mKeyFrames(getScene())
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnInterpolatedValue::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnInterpolatedValue::putInXML");
}

bool CScnInterpolatedValue::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnInterpolatedValue::initWithXML");
}

CScnAnimatedElement::CScnAnimatedElement(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnAnimatedElement::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnAnimatedElement::putInXML");
}

bool CScnAnimatedElement::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnAnimatedElement::initWithXML");
}

CCamKey::CCamKey(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

CAnimation::CAnimation(CBaseObjectMgr* owner)
    : CScnObject(owner), mPoints(getScene()), mCamKeys(getScene())
{
    setFieldDefaults(*this);
}

double CAnimation::clipDuration(double duration) const
{
    return clipOwnerGated(*this, duration, 0.0, kNoUpperBound<double>, Msg::kClipDuration);
}

int32_t CAnimation::clipNbXImage(int32_t count) const
{
    return clipOwnerGated(*this, count, 0, kNoUpperBound<int32_t>, Msg::kClipNbXImage);
}

XIXMLElement* CAnimation::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnCameraPath::putInXML");
}

bool CAnimation::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnCameraPath::initWithXML");
}

CScnAnimation::CScnAnimation(CBaseObjectMgr* owner)
    : CScnObject(owner), mCameraPaths(getScene()), mAnimatedElements(getScene()), mInterpolatedValues(getScene())
{
    setFieldDefaults(*this);
    // The list reports a path it cannot make; the animation then starts without one.
    mCameraPaths.append();
}

XIXMLElement* CScnAnimation::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnAnimation::putInXML");
}

bool CScnAnimation::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnAnimation::initWithXML");
}

CScnBezierPoint::CScnBezierPoint(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnBezierPoint::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnBezierPoint::putInXML");
}

bool CScnBezierPoint::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnBezierPoint::initWithXML");
}

CScn3DPath::CScn3DPath(CBaseObjectMgr* owner) : CScnObject(owner), mPoints(getScene())
{
    setFieldDefaults(*this);
}

XIXMLElement* CScn3DPath::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScn3DPath::putInXML");
}

bool CScn3DPath::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScn3DPath::initWithXML");
}

}  // namespace NvScn
