// Materials: fields, XML, copy and the simple-material façade over the node tree.
#include "shaders/Property.h"

#include <cmath>
#include <string>

#include "model/Guard.h"
#include "model/Messages.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

using NuvoraXML::XIXMLElement;

namespace {

// The squared length above which the cross product of the mapping axes gives the normal (2^-23).
constexpr double kNormalThreshold = 1.1920928955078125e-7;

// Façade numbers and the mapping node projections they stand for (planar flag aside).
constexpr int32_t kFacadeProjections[] = {
    kScnProjectionOrthogonal,   kScnProjectionOrthogonal,   kScnProjectionVertical,   kScnProjectionSpherical,
    kScnProjectionYCylindrical, kScnProjectionXCylindrical, kScnProjectionPlanetary, kScnProjectionMappingUV,
};
constexpr int32_t kFacadeCount = 8;

// Walks the chain of first children below a root, visiting each node until visit answers true;
// answers that node, or null. last receives the last node of the chain (the root when empty). A
// node met twice (a cycle made through shared nodes) ends the chain.
template <class Visit>
CTCENode* walkChain(const CTCENode& root, Visit visit, CTCENode** last = nullptr)
{
    std::vector<CTCENode*> seen;
    CTCENode* end = const_cast<CTCENode*>(&root);
    CTCENode* found = nullptr;
    for (CTCENode* node = root.child(0); node != nullptr && !node->mOnPath; node = node->child(0)) {
        node->mOnPath = true;
        seen.push_back(node);
        end = node;
        if (visit(*node)) {
            found = node;
            break;
        }
    }
    for (CTCENode* node : seen) {
        node->mOnPath = false;
    }
    if (last != nullptr) {
        *last = end;
    }
    return found;
}

}  // namespace

// ---- Language texts ----

int32_t CScnString::currentLanguage() const
{
    const CSCN* scene = mOwner.getScene();
    return languageCode(scene != nullptr ? const_cast<CSCN*>(scene)->getLanguage() : "en");
}

const char* CScnString::get() const
{
    if (const char* text = mTexts.get(currentLanguage())) {
        return text;
    }
    return mTexts.size() > 0 ? mTexts.entries().front().second.c_str() : "";
}

void CScnString::set(const char* text)
{
    mTexts.set(currentLanguage(), text);
}

int32_t CScnString::getLanguage(int32_t index) const
{
    return index >= 0 && static_cast<size_t>(index) < mTexts.size() ? mTexts.entries()[static_cast<size_t>(index)].first
                                                                      : 0;
}

// ---- Material ----

double PropertyRules::smooth(double value)
{
    return clampInto(value, 0.01, 1.0);
}

double PropertyRules::scale(double value)
{
    return value < 0.0 ? 0.0 : value;
}

CProperty::CProperty(CBaseObjectMgr* owner)
    : TTCENode<IRootNode>(owner), CScnObject(owner), mShaderName(*this), mTree(*this)
{
    setFieldDefaults(*this);
}

CProperty::~CProperty() = default;

int32_t CProperty::Release()
{
    if (mRefCount > 0) {
        --mRefCount;
    }
    return mRefCount;
}

void CProperty::setTop(CTCENode* node)
{
    if (childCount() > 0) {
        setChild(0, node);
    } else {
        addChild(node);
    }
    node->node()->Release();
}

ITCENode* CProperty::createNode(int32_t kind)
{
    if (kind == eRootNode) {
        report(Msg::kCreateRootNode);
        return nullptr;
    }
    if (kind < eRootNode || kind > eCustomNode) {
        report(Msg::kCreateUnknownNode);
        return nullptr;
    }
    return guarded(getOwner(), "CScnProperty::createNode", static_cast<ITCENode*>(nullptr), [&] {
        CTCENode* node = NodeTrees::make(kind, getOwner());
        node->addReference();
        return node->node();
    });
}

XIXMLElement* CProperty::write(XIXMLElement* parent)
{
    return NvScn::writeFields(*this, parent);
}

void CProperty::read(XIXMLElement* element)
{
    NvScn::readFields(*this, element, kNamedOrChild);
}

XIXMLElement* CProperty::putInXML(XIXMLElement* parent)
{
    return putFieldsInXML(*this, parent, Msg::kPropertyPutInXML);
}

bool CProperty::initWithXML(XIXMLElement* element)
{
    return initFieldsWithXML(*this, element, Msg::kPropertyInitWithXML, kNamedOrChild);
}

void CProperty::copyFrom(const CScnProperty* other)
{
    const CProperty* source = dynamic_cast<const CProperty*>(other);
    if (source == nullptr || source == this) {
        return;
    }
    guardedVoid(getOwner(), "CScnProperty::copyFrom", [&] {
        CTCENode* copied = source->top() != nullptr ? NodeTrees::copy(*source->top(), getOwner()) : nullptr;
        if (copied != nullptr) {
            setTop(copied);
        } else {
            releaseChildren();
        }
        mName = source->mName;
        mURL = source->mURL;
        mVisible = source->mVisible;
        mCastShadow = source->mCastShadow;
        mBillboard = source->mBillboard;
        mSmooth = source->mSmooth;
        mScale = source->mScale;
        mOverloadIndex = source->mOverloadIndex;
        mOverloadId = source->mOverloadId;
        mReceiveShadow = source->mReceiveShadow;
        mUVDefined = source->mUVDefined;
        mShaderName.texts() = source->mShaderName.texts();
        mShaderId = source->mShaderId;
    });
}

void CTreeField::setDefault()
{
    mProperty.clearShader();
}

void CTreeField::write(XIXMLElement* parent, const char* name) const
{
    if (CTCENode* top = mProperty.top()) {
        NodeTrees::write(*top, parent, name);
    }
}

void CTreeField::read(XIXMLElement* element, const CSCN* scene)
{
    if (element == nullptr) {
        mProperty.clearShader();
        return;
    }
    mProperty.setTop(NodeTrees::read(element, scene, mProperty.getOwner()));
}

std::string CTreeField::text() const
{
    CTCENode* top = mProperty.top();
    return top != nullptr ? "\n" + NodeTrees::dump(*top) : std::string("(no tree)");
}

void CTreeField::vary(int step)
{
    mProperty.clearShader();
    mProperty.setTextureURL(("file:///C|/Textures/wall " + std::to_string(step) + ".tif").c_str());
    CScnColor diffuse = {0, static_cast<uint8_t>(step), 20, 30};
    mProperty.setDiffuseColor(&diffuse);
    mProperty.setMappingAngle(0.125 * step);
}

// ---- Façade ----

CLeafNode* CProperty::leaf() const
{
    return static_cast<CLeafNode*>(walkChain(*this, [](CTCENode& node) { return node.kind() == eLeafNode; }));
}

CMappingNode* CProperty::mapping() const
{
    return static_cast<CMappingNode*>(walkChain(*this, [](CTCENode& node) {
        return node.kind() == eMappingNode && !static_cast<CMappingNode&>(node).isShader();
    }));
}

CLeafNode* CProperty::leafToSet()
{
    CTCENode* last = nullptr;
    if (CTCENode* found = walkChain(*this, [](CTCENode& node) { return node.kind() == eLeafNode; }, &last)) {
        return static_cast<CLeafNode*>(found);
    }
    CLeafNode* made = new CLeafNode(getOwner());
    if (last->childCount() > 0) {
        last->setChild(0, made);
    } else {
        last->addChild(made);
    }
    return made;
}

CMappingNode* CProperty::mappingToSet()
{
    if (CMappingNode* found = mapping()) {
        return found;
    }
    CMappingNode* made = new CMappingNode(getOwner());
    made->addReference();
    if (CTCENode* former = top()) {
        made->addChild(former);
    } else {
        made->addChild(new CLeafNode(getOwner()));
    }
    setTop(made);
    return made;
}

const char* CProperty::getMapURL(int32_t type) const
{
    CMappingNode* node = mapping();
    if (node == nullptr || type < kScnMapDiffuse || type > kScnMapMovie) {
        return "";
    }
    return node->getURL(type);
}

void CProperty::setMapURL(int32_t type, const char* url)
{
    if (type < kScnMapDiffuse || type > kScnMapMovie) {
        return;
    }
    mappingToSet()->setURL(type, url);
}

int32_t CProperty::getProjection() const
{
    CMappingNode* node = mapping();
    if (node == nullptr) {
        return kScnFacadeNoProjection;
    }
    if (node->getProjection() == kScnProjectionOrthogonal) {
        return node->isPlanar() ? kScnFacadePlanar : kScnFacadeOrthogonal;
    }
    for (int32_t number = kScnFacadeVertical; number < kFacadeCount; ++number) {
        if (kFacadeProjections[number] == node->getProjection()) {
            return number;
        }
    }
    return kScnFacadeNoProjection;
}

void CProperty::setProjection(int32_t projection)
{
    if (projection < 0 || projection >= kFacadeCount) {
        return;
    }
    CMappingNode* node = mappingToSet();
    node->setProjection(kFacadeProjections[projection]);
    if (projection == kScnFacadeOrthogonal || projection == kScnFacadePlanar) {
        node->setPlanar(projection == kScnFacadePlanar);
    }
}

bool CProperty::getMappingFrame(CScnVector* origin, CScnVector* xAxis, CScnVector* yAxis) const
{
    CMappingNode* node = mapping();
    if (node == nullptr) {
        return false;
    }
    if (origin != nullptr) {
        *origin = *node->getOrigin();
    }
    if (xAxis != nullptr) {
        *xAxis = *node->getXAxis();
    }
    if (yAxis != nullptr) {
        *yAxis = *node->getYAxis();
    }
    return true;
}

void CProperty::setMappingFrame(const CScnVector* origin, const CScnVector* xAxis, const CScnVector* yAxis)
{
    CMappingNode* node = mappingToSet();
    node->setOrigin(origin);
    node->setXAxis(xAxis);
    node->setYAxis(yAxis);
    const CScnVector& x = *node->getXAxis();
    const CScnVector& y = *node->getYAxis();
    CScnVector normal = {x.y * y.z - x.z * y.y, x.z * y.x - x.x * y.z, x.x * y.y - x.y * y.x};
    double squared = normal.x * normal.x + normal.y * normal.y + normal.z * normal.z;
    if (squared > kNormalThreshold) {
        double length = std::sqrt(squared);
        normal = {normal.x / length, normal.y / length, normal.z / length};
        node->setNormal(&normal);
    }
}

bool CProperty::getMappingNormal(CScnVector* normal) const
{
    CMappingNode* node = mapping();
    if (node != nullptr && normal != nullptr) {
        *normal = *node->getNormal();
    }
    return node != nullptr;
}

bool CProperty::getRepeat(bool* xRepeat, bool* yRepeat) const
{
    CMappingNode* node = mapping();
    if (node == nullptr) {
        return false;
    }
    if (xRepeat != nullptr) {
        *xRepeat = node->isXRepeat();
    }
    if (yRepeat != nullptr) {
        *yRepeat = node->isYRepeat();
    }
    return true;
}

void CProperty::setRepeat(bool xRepeat, bool yRepeat)
{
    CMappingNode* node = mappingToSet();
    node->setXRepeat(xRepeat);
    node->setYRepeat(yRepeat);
}

bool CProperty::getMappingSize(double* width, double* height) const
{
    CMappingNode* node = mapping();
    if (node == nullptr) {
        return false;
    }
    if (width != nullptr) {
        *width = node->getWidth();
    }
    if (height != nullptr) {
        *height = node->getHeight();
    }
    return true;
}

void CProperty::setMappingSize(double width, double height)
{
    CMappingNode* node = mappingToSet();
    node->setWidth(width);
    node->setHeight(height);
}

namespace {

// A façade getter of one mapping value: false without mapping.
template <class T, class Get>
bool mappingValue(CMappingNode* node, T* out, Get get)
{
    if (node != nullptr && out != nullptr) {
        *out = get(*node);
    }
    return node != nullptr;
}

}  // namespace

bool CProperty::getMappingAngle(double* angle) const
{
    return mappingValue(mapping(), angle, [](CMappingNode& n) { return n.getAngle(); });
}

void CProperty::setMappingAngle(double angle)
{
    mappingToSet()->setAngle(angle);
}

bool CProperty::getMappingSpecularColor(CScnColor* color) const
{
    return mappingValue(mapping(), color, [](CMappingNode& n) { return *n.getSpecularColor(); });
}

void CProperty::setMappingSpecularColor(const CScnColor* color)
{
    if (color != nullptr) {
        mappingToSet()->setSpecularColor(color);
    }
}

bool CProperty::getMappingTransparentColor(CScnColor* color) const
{
    return mappingValue(mapping(), color, [](CMappingNode& n) { return *n.getTransparentColor(); });
}

void CProperty::setMappingTransparentColor(const CScnColor* color)
{
    if (color != nullptr) {
        mappingToSet()->setTransparentColor(color);
    }
}

bool CProperty::getMappingReflectionColor(CScnColor* color) const
{
    return mappingValue(mapping(), color, [](CMappingNode& n) { return *n.getReflectionColor(); });
}

void CProperty::setMappingReflectionColor(const CScnColor* color)
{
    if (color != nullptr) {
        mappingToSet()->setReflectionColor(color);
    }
}

bool CProperty::getMappingBump(double* bump) const
{
    return mappingValue(mapping(), bump, [](CMappingNode& n) { return n.getBump(); });
}

void CProperty::setMappingBump(double bump)
{
    mappingToSet()->setBump(bump);
}

CScnColor CProperty::getDiffuseColor() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? *node->getDiffuseColor() : CLeafNode::kDefaultDiffuse;
}

void CProperty::setDiffuseColor(const CScnColor* color)
{
    if (color != nullptr) {
        leafToSet()->setDiffuseColor(color);
    }
}

namespace {

constexpr CScnColor kBlack = {0, 0, 0, 0};

}  // namespace

CScnColor CProperty::getSpecularColor() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? *node->getSpecularColor() : kBlack;
}

void CProperty::setSpecularColor(const CScnColor* color)
{
    if (color != nullptr) {
        leafToSet()->setSpecularColor(color);
    }
}

CScnColor CProperty::getTransparentColor() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? *node->getTransparentColor() : kBlack;
}

void CProperty::setTransparentColor(const CScnColor* color)
{
    if (color != nullptr) {
        leafToSet()->setTransparentColor(color);
    }
}

CScnColor CProperty::getReflectionColor() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? *node->getReflectionColor() : kBlack;
}

void CProperty::setReflectionColor(const CScnColor* color)
{
    if (color != nullptr) {
        leafToSet()->setReflectionColor(color);
    }
}

CScnColor CProperty::getNeonColor() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? *node->getNeonColor() : kBlack;
}

void CProperty::setNeonColor(const CScnColor* color)
{
    if (color != nullptr) {
        leafToSet()->setNeonColor(color);
    }
}

CScnColor CProperty::getEmittingColor() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? *node->getEmittingColor() : kBlack;
}

void CProperty::setEmittingColor(const CScnColor* color)
{
    if (color != nullptr) {
        leafToSet()->setEmittingColor(color);
    }
}

double CProperty::getGlossy() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? node->getGlossy() : CLeafNode::kDefaultGlossy;
}

void CProperty::setGlossy(double glossy)
{
    leafToSet()->setGlossy(glossy);
}

double CProperty::getNeonValue() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? node->getNeonValue() : 0.0;
}

void CProperty::setNeonValue(double value)
{
    leafToSet()->setNeonValue(value);
}

double CProperty::getRefraction() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? node->getRefraction() : 0.0;
}

void CProperty::setRefraction(double refraction)
{
    leafToSet()->setRefraction(refraction);
}

double CProperty::getReflectionLimit() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? node->getReflectionLimit() : 0.0;
}

void CProperty::setReflectionLimit(double limit)
{
    leafToSet()->setReflectionLimit(limit);
}

double CProperty::getEmittingPower() const
{
    CLeafNode* node = leaf();
    return node != nullptr ? node->getEmittingPower() : 0.0;
}

void CProperty::setEmittingPower(double power)
{
    leafToSet()->setEmittingPower(power);
}

double CProperty::getTransparency() const
{
    CScnColor color = getTransparentColor();
    return (color.red + color.green + color.blue) / (3.0 * 255.0);
}

void CProperty::setTransparency(double transparency)
{
    if (std::isnan(transparency)) {
        return;
    }
    uint8_t grey = static_cast<uint8_t>(std::lround(clampInto(transparency, 0.0, 1.0) * 255.0));
    CScnColor color = {0, grey, grey, grey};
    leafToSet()->setTransparentColor(&color);
}

}  // namespace NvScn
