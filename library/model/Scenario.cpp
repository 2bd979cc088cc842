#include "model/Scenario.h"

#include "model/Clip.h"
#include "model/Messages.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kSequenceTargetEntries[] = {{kScnSequenceFixedVertex, "Fixed.Vertex"},
                                                 {kScnSequenceForwardPath, "Forward.Path"},
                                                 {kScnSequenceRelativeAngle, "Relative.Angle"},
                                                 {kScnSequenceObjectInstance, "Object.Instance"}};

}  // namespace

const LabelTable kSequenceTargetLabels(kSequenceTargetEntries);

CScnSequence::CScnSequence(CBaseObjectMgr* owner) : CScnObject(owner), mViewOpt(owner)
{
    setFieldDefaults(*this);
}

double CScnSequence::clipFocal(double focal) const
{
    return clipOwnerGated(*this, focal, 0.0, 180.0, Msg::kClipFocal);
}

XIXMLElement* CScnSequence::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnSequence::putInXML");
}

bool CScnSequence::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnSequence::initWithXML");
}

CScnScenarioTimeGuide::CScnScenarioTimeGuide(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

CScnSnd::CScnSnd(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

CScnScenario::CScnScenario(CBaseObjectMgr* owner)
    : CScnObject(owner), mSequences(getScene()), mTimeGuides(getScene()), mSnds(getScene())
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnScenario::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnScenario::putInXML");
}

bool CScnScenario::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnScenario::initWithXML");
}

}  // namespace NvScn
