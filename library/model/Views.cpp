#include "model/Views.h"

#include <cmath>

#include "model/Clip.h"
#include "model/Messages.h"
#include "model/Scene.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kDepthOfFieldEntries[] = {
    {0, "FromPoint"}, {1, "FromTarget"}, {2, "FromInfinity"}, {3, "FromDistance"}};
constexpr LabelEntry kTargetTypeEntries[] = {{0, "Fixed.Vertex"}, {1, "On.Object"}};
constexpr LabelEntry kParallelViewEntries[] = {{0, "Front"}, {1, "Plan"}, {2, "Axono"}};

constexpr double kTwoPi = 6.283185307179586;
// Beyond this many turns a roll is first reduced by division, so that no value loops for long.
constexpr double kLargestLoopedRoll = kTwoPi * 1024.0;

// Client versions that still receive the older camera interface.
constexpr int32_t kOldestCameraExClient = 3;
constexpr int32_t kNewestCameraExClient = 6;

// Collects written XML in a string.
class CStringWriteStream final : public NuvoraXML::XIXMLWriteStream {
public:
    explicit CStringWriteStream(std::string& out) : mOut(out) {}
    int32_t Write(const void* bytes, int32_t length) override
    {
        mOut.append(static_cast<const char*>(bytes), static_cast<size_t>(length));
        return length;
    }

private:
    std::string& mOut;
};

// Appends copies of source's attributes and children to target.
void copyContent(XIXMLElement* source, XIXMLElement* target)
{
    for (NuvoraXML::XIXMLAttribute* a = source->GetFirstAttribute(); a != nullptr; a = a->GetNext()) {
        a->CopyTo(target);
    }
    for (NuvoraXML::XIXMLNode* node = source->GetFirstChild(); node != nullptr; node = node->GetNext()) {
        node->CopyTo(target);
    }
}

}  // namespace

const LabelTable kDepthOfFieldLabels(kDepthOfFieldEntries);
const LabelTable kTargetTypeLabels(kTargetTypeEntries);
const LabelTable kParallelViewLabels(kParallelViewEntries);

CXMLFragment::CXMLFragment(const char* name) : mName(name), mElement(nullptr)
{
    clear();
}

void CXMLFragment::clear()
{
    if (mElement != nullptr) {
        mElement->AsNode()->Delete();
        mElement = nullptr;
    }
    NuvoraXML::XCXMLRoot* root = mTree.GetRoot();
    mElement = root->AddElement(root->GetKey(mName));
}

void CXMLFragment::write(XIXMLElement* target)
{
    copyContent(mElement, target);
}

void CXMLFragment::read(XIXMLElement* source)
{
    clear();
    copyContent(source, mElement);
}

std::string CXMLFragment::text()
{
    std::string out;
    CStringWriteStream stream(out);
    mElement->Write(&stream);
    return out;
}

CScnDepthOfField::CScnDepthOfField(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnDepthOfField::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnDepthOfField::putInXML");
}

bool CScnDepthOfField::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnDepthOfField::initWithXML");
}

CScnClippingBox::CScnClippingBox(CBaseObjectMgr* owner) : CScnObject(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnClippingBox::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnClippingBox::putInXML");
}

bool CScnClippingBox::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnClippingBox::initWithXML");
}

CScnRendererInfo::CScnRendererInfo(CBaseObjectMgr* owner) : CScnObject(owner), mOptions(kOptionsElement)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnRendererInfo::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnRendererInfo::putInXML");
}

bool CScnRendererInfo::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnRendererInfo::initWithXML");
}

CScnViewInfo::CScnViewInfo(CBaseObjectMgr* owner)
    : CScnObject(owner),
      mForeground(owner),
      mLightsGroups(getScene()),
      mDepthOfField(owner),
      mRendererInfo(owner),
      mClippingBox(owner),
      mCameraLight(owner, false),
      mRadiosityLight(owner, true),
      mFilters(owner),
      mNeonShaders(getScene()),
      mBackgroundPicture(owner),
      mLayers(getScene())
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnViewInfo::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnViewInfo::putInXML");
}

bool CScnViewInfo::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnViewInfo::initWithXML");
}

uint32_t CCameraExObsolete::getViewFlags()
{
    return mCamera.getViewFlags();
}

void CCameraExObsolete::setViewFlags(uint32_t flags)
{
    mCamera.setViewFlags(flags);
}

IScnDepthOfField& CCameraExObsolete::depth()
{
    return *mCamera.getViewInfo()->getDepthOfField();
}

CCamera::CCamera(CBaseObjectMgr* owner)
    : CScnObject(owner),
      mUpDirection{0.0, 1.0, 0.0},
      mViewInfo(owner),
      mViewOpt(owner),
      mInsertionObject(owner),
      mCameraEx(*this)
{
    setFieldDefaults(*this);
    if (const CSCN* scene = getScene()) {
        scene->fixVector(mUpDirection);
    }
}

void CCamera::setCurrent()
{
    if (CSCN* scene = getScene()) {
        TObjectMgr<CCamera, CScnCamera>& cameras = scene->cameras();
        if (getOwner() == &cameras) {
            for (size_t i = 0; i < cameras.size(); ++i) {
                cameras.at(i)->mViewFlags &= ~kViewFlagCurrent;
            }
        }
    }
    mViewFlags |= kViewFlagCurrent;
}

void CCamera::setSecondFlag(bool flag)
{
    mViewFlags = flag ? (mViewFlags | kViewFlagSecond) : (mViewFlags & ~kViewFlagSecond);
}

double CCamera::wrapRoll(double roll)
{
    if (std::fabs(roll) > kLargestLoopedRoll) {
        roll = std::fmod(roll, kTwoPi);
    }
    while (roll < 0.0) {
        roll += kTwoPi;
    }
    while (roll > kTwoPi) {
        roll -= kTwoPi;
    }
    return roll;
}

double CCamera::clipFocal(double focal) const
{
    return clipOwnerGated(*this, focal, 0.0, 180.0, Msg::kClipFocal);
}

CScnCameraExObsolete* CCamera::getCameraEx(int32_t clientVersion)
{
    const CCamera& self = *this;
    return self.getCameraEx(clientVersion) != nullptr ? &mCameraEx : nullptr;
}

const CScnCameraExObsolete* CCamera::getCameraEx(int32_t clientVersion) const
{
    if (clientVersion < kOldestCameraExClient) {
        report(Msg::kClientObsolete);
        return nullptr;
    }
    if (clientVersion > kNewestCameraExClient) {
        report(Msg::kClientNewer);
        return nullptr;
    }
    return &mCameraEx;
}

XIXMLElement* CCamera::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnCamera::putInXML");
}

bool CCamera::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnCamera::initWithXML");
}

bool CCamera::loadFromXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnCamera::initWithXML", kKeepIdentifiers);
}

CScnParallelView::CScnParallelView(CBaseObjectMgr* owner)
    : CScnObject(owner), mViewInfo(owner), mViewOpt(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CScnParallelView::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "IScnParallelView::putInXML");
}

bool CScnParallelView::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnParallelView::initWithXML");
}

bool CScnParallelView::loadFromXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "IScnParallelView::initWithXML", kKeepIdentifiers);
}

CViewObjectSweep::CViewObjectSweep(int32_t defaultAngle, int32_t defaultStep)
    : mDefaultAngle(defaultAngle), mDefaultStep(defaultStep)
{
    setFieldDefaults(*this);
}

CViewObject::CViewObject(CBaseObjectMgr* owner)
    : CScnObject(owner), mHorizontal(360, 10), mVertical(0, 10), mViewInfo(owner), mViewOpt(owner)
{
    setFieldDefaults(*this);
}

XIXMLElement* CViewObject::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, "CScnViewObject::putInXML");
}

bool CViewObject::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnViewObject::initWithXML");
}

bool CViewObject::loadFromXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, "CScnViewObject::initWithXML", kKeepIdentifiers);
}

}  // namespace NvScn
