// Shader nodes and tables: the tree operations, each kind's own operations and the walks over
// whole trees.
#include "shaders/Nodes.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "model/Messages.h"
#include "model/Views.h"
#include "platform/Diagnostics.h"
#include "platform/Failure.h"

namespace NvScn {

using NuvoraXML::XIXMLAttribute;
using NuvoraXML::XIXMLElement;

namespace {

constexpr LabelEntry kNodeKindEntries[] = {
    {eRootNode, "Root"},       {eChessNode, "Chess"},     {eMappingNode, "Mapping"}, {eTurbulenceNode, "Turbulence"},
    {eLeafNode, "Leaf"},       {eFresnelNode, "Fresnel"}, {eGlazingNode, "Glazing"}, {eCustomNode, "Custom"},
};
constexpr LabelEntry kChessGeometryEntries[] = {
    {kScnChessCylinder, "Cylinder"},
    {kScnChessSphere, "Sphere"},
    {kScnChessCube, "Cube"},
};
constexpr LabelEntry kMapTypeEntries[] = {
    {kScnMapDiffuse, "Diffuse"},     {kScnMapSpecular, "Specular"},       {kScnMapGlossy, "Glossy"},
    {kScnMapReflection, "Reflection"}, {kScnMapEnvironment, "Environment"}, {kScnMapAlpha, "Alpha"},
    {kScnMapBump, "Bump"},           {kScnMapNormalMap, "Normal.Map"},    {kScnMapNeon, "Neon"},
    {kScnMapMovie, "Movie"},         {kScnMapReflection, "Refletion"},
};
constexpr LabelEntry kProjectionEntries[] = {
    {kScnProjectionPlanetary, "Planetary"},         {kScnProjectionOrthogonal, "Orthogonal"},
    {kScnProjectionVertical, "Vertical"},           {kScnProjectionSpherical, "Spherical"},
    {kScnProjectionYCylindrical, "Y.Cylindrical"}, {kScnProjectionXCylindrical, "X.Cylindrical"},
    {kScnProjectionMappingUV, "Mapping.UV"},
};

// The element names of a node's children.
constexpr const char* kNodeElement = "Node";
constexpr const char* kSecondNodeElement = "SecondNode";
constexpr const char* kChildsElement = "Childs";
constexpr const char* kIdAttribute = "Id";
constexpr const char* kTypeAttribute = "Type";
constexpr const char* kUIValueElement = "UI.Value";

bool validMapType(int32_t type) { return type >= kScnMapDiffuse && type <= kScnMapMovie; }

std::string integerText(int64_t value) { return std::to_string(value); }

}  // namespace

const LabelTable kNodeKinds(kNodeKindEntries);
const LabelTable kChessGeometries(kChessGeometryEntries);
const LabelTable kMapTypes(kMapTypeEntries);
const LabelTable kProjections(kProjectionEntries);

void reportNonZeroRefCount()
{
    Nuvora::reportDiagnostic(Nuvora::kDiagnosticFault, Msg::kNonZeroRefCount);
}

// ---- Field values with their own form ----

CTableField::CTableField() : mTable(new CNodeTable())
{
    mTable->AddRef();
}

CTableField::~CTableField()
{
    mTable->Release();
}

void CTableField::write(XIXMLElement* parent, const char* name) const
{
    XIXMLElement* element = XmlForm::addChild(parent, name);
    XmlForm::addAttribute(element, "Length", integerText(mTable->GetCount()).c_str());
    for (float value : mTable->values()) {
        XmlForm::writeReal(element, "Float", value);
    }
}

void CTableField::read(XIXMLElement* element, const CSCN*)
{
    XmlForm::require(element);
    const char* length = XmlForm::findAttribute(element, "Length");
    Nuvora::checkPointer(length, nullptr);
    std::vector<float> values;
    for (XIXMLElement* item = XmlForm::findChild(element, "Float"); item != nullptr; item = item->GetNextNamesake()) {
        values.push_back(static_cast<float>(XmlForm::readReal(item)));
    }
    Nuvora::check(integerText(static_cast<int64_t>(values.size())) == length, Msg::kTableLengthMismatch);
    mTable->values() = std::move(values);
}

std::string CTableField::text() const
{
    std::string out = "[";
    for (size_t i = 0; i < mTable->values().size(); ++i) {
        char number[32];
        std::snprintf(number, sizeof number, "%.9g", static_cast<double>(mTable->values()[i]));
        out += (i == 0 ? "" : " ") + std::string(number);
    }
    return out + "]";
}

void CTableField::vary(int step)
{
    mTable->values() = {0.5f * static_cast<float>(step), -0.25f, 2.0f};
}

void CMapURLs::setDefault()
{
    for (std::string& url : urls) {
        url.clear();
    }
}

void CMapURLs::write(XIXMLElement* parent, const char* name) const
{
    XIXMLElement* element = XmlForm::addChild(parent, name);
    for (int type = kScnMapDiffuse; type <= kScnMapMovie; ++type) {
        const std::string& url = urls[type - 1];
        if (!url.empty()) {
            XIXMLElement* item = XmlForm::addChild(element, "URL");
            XmlForm::addAttribute(item, kTypeAttribute, kMapTypes.labelOf(type));
            item->AddData(url.c_str());
        }
    }
}

void CMapURLs::read(XIXMLElement* element, const CSCN*)
{
    XmlForm::require(element);
    std::string read[kCount];
    for (XIXMLElement* item = XmlForm::findChild(element, "URL"); item != nullptr; item = item->GetNextNamesake()) {
        const char* label = Nuvora::checkPointer(XmlForm::findAttribute(item, kTypeAttribute), nullptr);
        read[kMapTypes.valueOf(label) - 1] = XmlForm::readLocation(item);
    }
    for (int i = 0; i < kCount; ++i) {
        urls[i] = std::move(read[i]);
    }
}

std::string CMapURLs::text() const
{
    std::string out = "[";
    for (int i = 0; i < kCount; ++i) {
        out += (i == 0 ? "\"" : " \"") + urls[i] + "\"";
    }
    return out + "]";
}

void CMapURLs::vary(int step)
{
    for (int i = 0; i < kCount; ++i) {
        urls[i] = "file:///C|/Textures/map " + std::to_string(step) + "-" + std::to_string(i + 1) + " <&>.tif";
    }
}

void CLinkedMaps::write(XIXMLElement* parent, const char* name) const
{
    if (uuids.empty()) {
        return;
    }
    XIXMLElement* element = XmlForm::addChild(parent, name);
    for (const CScnUUID& uuid : uuids) {
        XmlForm::writeUuid(XmlForm::addChild(element, "Map.Node"), kIdAttribute, uuid);
    }
}

void CLinkedMaps::read(XIXMLElement* element, const CSCN*)
{
    std::vector<CScnUUID> read;
    if (element != nullptr) {
        for (XIXMLElement* item = XmlForm::findChild(element, "Map.Node"); item != nullptr;
             item = item->GetNextNamesake()) {
            CScnUUID uuid = XmlForm::parseUuid(Nuvora::checkPointer(XmlForm::findAttribute(item, kIdAttribute), nullptr));
            bool repeated = false;
            for (const CScnUUID& known : read) {
                repeated = repeated || known == uuid;
            }
            if (!isNullUuid(uuid) && !repeated) {
                read.push_back(uuid);
            }
        }
    }
    uuids = std::move(read);
}

std::string CLinkedMaps::text() const
{
    std::string out = "[";
    for (size_t i = 0; i < uuids.size(); ++i) {
        char digits[kUuidTextLength + 1];
        uuidToText(uuids[i], digits);
        out += (i == 0 ? "" : " ") + std::string(digits);
    }
    return out + "]";
}

void CLinkedMaps::vary(int)
{
    uuids = {newUuid(), newUuid()};
}

bool CLinkedMaps::contains(const CScnUUID& uuid) const
{
    for (const CScnUUID& known : uuids) {
        if (known == uuid) {
            return true;
        }
    }
    return false;
}

// ---- The common node part ----

CTCENode::CTCENode(CBaseObjectMgr* reporter)
    : mUUID(newUuid()), mParent(nullptr), mUIValue(0), mReporter(reporter)
{
}

CTCENode::~CTCENode()
{
    releaseChildren();
}

CTCENode* CTCENode::of(ITCENode* node)
{
    return dynamic_cast<CTCENode*>(node);
}

const CTCENode* CTCENode::of(const ITCENode* node)
{
    return dynamic_cast<const CTCENode*>(node);
}

void CTCENode::reportToMaterial(const char* text) const
{
    const CTCENode* top = this;
    while (top->mParent != nullptr && top->material() == nullptr) {
        top = top->mParent;
    }
    if (const CScnObject* owner = top->material()) {
        owner->report(text);
    } else if (mReporter != nullptr) {
        mReporter->report(text);
    }
}

bool CTCENode::wouldCycle(CTCENode* node) const
{
    // The tree of node holds this one when this one's parents lead to node, or node's tree holds
    // this one. Both walks run in step and the first to end decides, so that building a chain
    // downwards or upwards costs a step per node.
    const CTCENode* up = this;
    std::vector<const CTCENode*> down{node};
    while (true) {
        if (up == node) {
            return true;
        }
        if (up == nullptr) {
            return false;
        }
        if (down.empty()) {
            return false;
        }
        const CTCENode* next = down.back();
        down.pop_back();
        if (next == this) {
            return true;
        }
        for (const CTCENode* child : next->mChildren) {
            down.push_back(child);
        }
        up = up->mParent;
    }
}

void CTCENode::setChild(int32_t index, CTCENode* node)
{
    if (node == nullptr || index < 0 || index > childCount()) {
        return;
    }
    if (wouldCycle(node)) {
        reportToMaterial(Msg::kCyclicNodeTree);
        return;
    }
    node->addReference();
    if (index == childCount()) {
        mChildren.push_back(node);
    } else {
        CTCENode* old = mChildren[static_cast<size_t>(index)];
        mChildren[static_cast<size_t>(index)] = node;
        if (old->mParent == this) {
            old->mParent = nullptr;
        }
        old->node()->Release();
    }
    node->mParent = this;
}

void CTCENode::appendFresh(CTCENode* node)
{
    node->addReference();
    mChildren.push_back(node);
    node->mParent = this;
}

void CTCENode::removeChild(int32_t index)
{
    CTCENode* old = child(index);
    if (old == nullptr) {
        return;
    }
    mChildren.erase(mChildren.begin() + index);
    if (old->mParent == this) {
        old->mParent = nullptr;
    }
    old->node()->Release();
}

void CTCENode::releaseChildren()
{
    // Nodes whose last reference goes are taken apart here, their children joining the work, so
    // that a chain of any depth dies without recursion.
    std::vector<CTCENode*> work;
    work.swap(mChildren);
    std::vector<CTCENode*> dying;
    while (!work.empty()) {
        CTCENode* node = work.back();
        work.pop_back();
        if (node->mParent == this) {
            node->mParent = nullptr;
        }
        if (node->dropReference() == 0) {
            for (CTCENode* grandChild : node->mChildren) {
                if (grandChild->mParent == node) {
                    grandChild->mParent = nullptr;
                }
                work.push_back(grandChild);
            }
            node->mChildren.clear();
            node->destroy();
        }
    }
}

// ---- Kinds ----

CChessNode::CChessNode(CBaseObjectMgr* reporter) : TKindNode(reporter)
{
    setFieldDefaults(*this);
}

ITable* CChessNode::getTable(int32_t index)
{
    return index >= 0 && index < 3 ? mTables[index].table() : nullptr;
}

CMappingNode::CMappingNode(CBaseObjectMgr* reporter) : TKindNode(reporter)
{
    setFieldDefaults(*this);
}

const char* CMappingNode::getURL(int32_t type) const
{
    if (!validMapType(type)) {
        reportToMaterial(Msg::kGetUrlBadType);
        return "";
    }
    return mMaps.urls[type - 1].c_str();
}

void CMappingNode::setURL(int32_t type, const char* url)
{
    if (!validMapType(type)) {
        reportToMaterial(Msg::kSetUrlBadType);
        return;
    }
    storeText(mMaps.urls[type - 1], url);
}

const CScnUUID* CMappingNode::getMapLinked(int32_t index) const
{
    if (index < 0 || index >= getMapLinkedCount()) {
        reportToMaterial(Msg::kMapLinkedBadIndex);
        return nullptr;
    }
    return &mLinked.uuids[static_cast<size_t>(index)];
}

bool CMappingNode::addLinkedMap(const CScnUUID* uuid)
{
    if (uuid == nullptr || isNullUuid(*uuid)) {
        reportToMaterial(Msg::kLinkNullUuid);
        return false;
    }
    if (mLinked.contains(*uuid)) {
        reportToMaterial(Msg::kMapAlreadyLinked);
        return false;
    }
    mLinked.uuids.push_back(*uuid);
    return true;
}

bool CMappingNode::removeLinkedMap(const CScnUUID* uuid)
{
    for (auto it = mLinked.uuids.begin(); uuid != nullptr && it != mLinked.uuids.end(); ++it) {
        if (*it == *uuid) {
            mLinked.uuids.erase(it);
            return true;
        }
    }
    reportToMaterial(Msg::kMapNotLinked);
    return false;
}

void CMappingNode::setCutOutPresent(int32_t index, bool present)
{
    if (index == 0) {
        mCutOut1Present = present;
    } else if (index == 1) {
        mCutOut2Present = present;
    }
}

const CScnColor* CMappingNode::getCutOut(int32_t index) const
{
    return index == 0 ? &mCutOut1 : index == 1 ? &mCutOut2 : nullptr;
}

void CMappingNode::setCutOut(int32_t index, const CScnColor* color)
{
    if (index == 0) {
        storeIfGiven(mCutOut1, color);
    } else if (index == 1) {
        storeIfGiven(mCutOut2, color);
    }
}

CTurbulenceNode::CTurbulenceNode(CBaseObjectMgr* reporter) : TKindNode(reporter)
{
    setFieldDefaults(*this);
}

CLeafNode::CLeafNode(CBaseObjectMgr* reporter) : TKindNode(reporter)
{
    setFieldDefaults(*this);
}

CFresnelNode::CFresnelNode(CBaseObjectMgr* reporter) : TKindNode(reporter)
{
    setFieldDefaults(*this);
}

void CFresnelNode::setMinReflection(double value)
{
    if (value < 0.0) {
        value = 0.0;
        reportToMaterial(Msg::kMinReflectionLow);
    } else if (value > 1.0) {
        value = 1.0;
        reportToMaterial(Msg::kMinReflectionHigh);
    }
    mMinReflection = value;
}

CGlazingNode::CGlazingNode(CBaseObjectMgr* reporter) : TKindNode(reporter)
{
    setFieldDefaults(*this);
}

CCustomNode::CCustomNode(CBaseObjectMgr* reporter)
    : TTCENode(reporter), mData(std::make_unique<CXMLFragment>(kDataElement))
{
    XmlForm::addAttribute(mData->element(), kClassAttribute, "Unknown");
}

CCustomNode::~CCustomNode() = default;

XIXMLElement* CCustomNode::getData()
{
    return mData->element();
}

std::string CCustomNode::dumpFields()
{
    return mData->text() + "\n";
}

XIXMLAttribute* CCustomNode::classAttribute() const
{
    XIXMLElement* data = mData->element();
    return data != nullptr ? data->FindAttribute(data->GetKey(kClassAttribute)) : nullptr;
}

const char* CCustomNode::getClass() const
{
    if (XIXMLAttribute* attribute = classAttribute()) {
        return attribute->GetValue();
    }
    reportToMaterial(Msg::kGetClassIntegrity);
    return "";
}

void CCustomNode::setClass(const char* name)
{
    if (XIXMLAttribute* attribute = classAttribute()) {
        attribute->SetValue(name != nullptr ? name : "");
        return;
    }
    reportToMaterial(Msg::kSetClassIntegrity);
}

void CCustomNode::readData(XIXMLElement* element)
{
    if (element == nullptr || std::string(element->GetName()) != kDataElement ||
        XmlForm::findAttribute(element, kClassAttribute) == nullptr) {
        Nuvora::fail(Msg::kCustomBadParameter);
    }
    mData->read(element);
}

bool CCustomNode::initWithXML(XIXMLElement* element)
{
    try {
        readData(element);
        return true;
    } catch (const std::exception& error) {
        reportToMaterial(error.what());
    } catch (...) {
        reportToMaterial(Msg::kCustomBadParameter);
    }
    return false;
}

void CCustomNode::writeData(XIXMLElement* parent)
{
    mData->write(XmlForm::addChild(parent, kDataElement));
}

void CCustomNode::copyFieldsFrom(const CTCENode& other)
{
    mData->read(static_cast<const CCustomNode&>(other).mData->element());
}

// ---- Walks over whole trees ----

namespace NodeTrees {

namespace {

// The child elements of a node of a kind: (index, element name); Custom's stand in "Childs".
const char* childElementName(int32_t kind, size_t index)
{
    switch (kind) {
    case eChessNode:
        return index == 0 ? kNodeElement : index == 1 ? kSecondNodeElement : nullptr;
    case eMappingNode:
    case eTurbulenceNode:
    case eFresnelNode:
    case eGlazingNode:
        return index == 0 ? kNodeElement : nullptr;
    case eCustomNode:
        return kNodeElement;
    default:
        return nullptr;
    }
}

// Clears the path marks of the nodes a walk still holds, also when it ends by an exception.
class PathMarks {
public:
    ~PathMarks()
    {
        for (CTCENode* node : mNodes) {
            node->mOnPath = false;
        }
    }
    // Marks a node entering the path; fails when it is on it already (a cycle).
    void enter(CTCENode* node)
    {
        Nuvora::check(!node->mOnPath, Msg::kCyclicNodeTree);
        node->mOnPath = true;
        mNodes.push_back(node);
    }
    void leave()
    {
        mNodes.back()->mOnPath = false;
        mNodes.pop_back();
    }

private:
    std::vector<CTCENode*> mNodes;
};

// Writes the node's own part: identifier, UI value, kind and fields; answers where its children go.
XIXMLElement* writeHead(CTCENode& node, XIXMLElement* element)
{
    if (!isNullUuid(node.uuid())) {
        XmlForm::writeUuid(element, kIdAttribute, node.uuid());
    }
    if (node.uiValue() != 0) {
        XmlForm::writeInteger(element, kUIValueElement, node.uiValue());
    }
    XmlForm::addAttribute(element, kTypeAttribute, kNodeKinds.labelOf(node.kind()));
    node.writeFields(element);
    if (node.kind() == eCustomNode) {
        static_cast<CCustomNode&>(node).writeData(element);
        return XmlForm::addChild(element, kChildsElement);
    }
    return element;
}

}  // namespace

XIXMLElement* write(CTCENode& top, XIXMLElement* parent, const char* name)
{
    struct Frame {
        CTCENode* node;
        XIXMLElement* childParent;
        size_t next;
    };
    PathMarks marks;
    std::vector<Frame> frames;
    XIXMLElement* topElement = XmlForm::addChild(XmlForm::require(parent), name);
    marks.enter(&top);
    frames.push_back({&top, writeHead(top, topElement), 0});
    if (top.kind() == eRootNode) {
        return topElement;
    }
    while (!frames.empty()) {
        Frame& frame = frames.back();
        const char* childName = childElementName(frame.node->kind(), frame.next);
        if (childName == nullptr || frame.next >= frame.node->children().size()) {
            frames.pop_back();
            marks.leave();
            continue;
        }
        CTCENode* child = frame.node->children()[frame.next++];
        if (child->kind() == eRootNode) {
            Nuvora::failAssertion(Msg::kRootNodeInTree);
        }
        XIXMLElement* element = XmlForm::addChild(frame.childParent, childName);
        marks.enter(child);
        XIXMLElement* childParent = writeHead(*child, element);
        frames.push_back({child, childParent, 0});
    }
    return topElement;
}

CTCENode* make(int32_t kind, CBaseObjectMgr* reporter)
{
    switch (kind) {
    case eChessNode:
        return new CChessNode(reporter);
    case eMappingNode:
        return new CMappingNode(reporter);
    case eTurbulenceNode:
        return new CTurbulenceNode(reporter);
    case eLeafNode:
        return new CLeafNode(reporter);
    case eFresnelNode:
        return new CFresnelNode(reporter);
    case eGlazingNode:
        return new CGlazingNode(reporter);
    case eCustomNode:
        return new CCustomNode(reporter);
    default:
        return nullptr;
    }
}

namespace {

// A new node read from its element: kind, identifier, UI value and fields; no children.
CTCENode* readHead(XIXMLElement* element, const CSCN* scene, CBaseObjectMgr* reporter)
{
    const char* label = Nuvora::checkPointer(XmlForm::findAttribute(element, kTypeAttribute), nullptr);
    int32_t kind = kNodeKinds.valueOf(label);
    if (kind == eRootNode) {
        Nuvora::failAssertion(Msg::kRootNodeInTree);
    }
    CTCENode* node = make(kind, reporter);
    node->addReference();
    try {
        if (const char* id = XmlForm::findAttribute(element, kIdAttribute)) {
            node->setUUIDValue(XmlForm::parseUuid(id));
        }
        if (XIXMLElement* ui = XmlForm::findChild(element, kUIValueElement)) {
            node->setUIValueValue(XmlForm::readInteger(ui));
        }
        node->readFields(element, scene);
        if (kind == eCustomNode) {
            static_cast<CCustomNode*>(node)->readData(XmlForm::requireChild(element, CCustomNode::kDataElement));
        }
    } catch (...) {
        node->node()->Release();
        throw;
    }
    return node;
}

// The child elements of a node's element, in child order.
std::vector<XIXMLElement*> childElements(XIXMLElement* element, int32_t kind)
{
    std::vector<XIXMLElement*> children;
    switch (kind) {
    case eChessNode: {
        XIXMLElement* first = XmlForm::findChild(element, kNodeElement);
        XIXMLElement* second = XmlForm::findChild(element, kSecondNodeElement);
        if (first != nullptr) {
            children.push_back(first);
        }
        if (second != nullptr) {
            Nuvora::checkPointer(first, nullptr);
            children.push_back(second);
        }
        break;
    }
    case eMappingNode:
    case eTurbulenceNode:
    case eFresnelNode:
    case eGlazingNode:
        if (XIXMLElement* first = XmlForm::findChild(element, kNodeElement)) {
            children.push_back(first);
        }
        break;
    case eCustomNode:
        if (XIXMLElement* childs = XmlForm::findChild(element, kChildsElement)) {
            for (XIXMLElement* item = XmlForm::findChild(childs, kNodeElement); item != nullptr;
                 item = item->GetNextNamesake()) {
                children.push_back(item);
            }
        }
        break;
    default:
        break;
    }
    return children;
}

}  // namespace

CTCENode* read(XIXMLElement* element, const CSCN* scene, CBaseObjectMgr* reporter)
{
    XmlForm::require(element);
    CTCENode* top = readHead(element, scene, reporter);
    struct Work {
        CTCENode* parent;
        XIXMLElement* element;
    };
    std::vector<Work> work;
    try {
        std::vector<XIXMLElement*> children = childElements(element, top->kind());
        for (size_t i = children.size(); i-- > 0;) {
            work.push_back({top, children[i]});
        }
        while (!work.empty()) {
            Work next = work.back();
            work.pop_back();
            CTCENode* node = readHead(next.element, scene, reporter);
            next.parent->appendFresh(node);
            node->dropReference();
            children = childElements(next.element, node->kind());
            for (size_t i = children.size(); i-- > 0;) {
                work.push_back({node, children[i]});
            }
        }
    } catch (...) {
        top->node()->Release();
        throw;
    }
    return top;
}

CTCENode* copy(const CTCENode& source, CBaseObjectMgr* reporter)
{
    auto copyHead = [reporter](const CTCENode& original) {
        if (original.kind() == eRootNode) {
            Nuvora::failAssertion(Msg::kRootNodeInTree);
        }
        CTCENode* node = make(original.kind(), reporter);
        node->addReference();
        node->setUUIDValue(original.uuid());
        node->setUIValueValue(original.uiValue());
        node->copyFieldsFrom(original);
        return node;
    };
    struct Frame {
        const CTCENode* source;
        CTCENode* copy;
        size_t next;
    };
    CTCENode* top = copyHead(source);
    try {
        PathMarks marks;
        std::vector<Frame> frames;
        marks.enter(const_cast<CTCENode*>(&source));
        frames.push_back({&source, top, 0});
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next >= frame.source->children().size()) {
                frames.pop_back();
                marks.leave();
                continue;
            }
            const CTCENode* child = frame.source->children()[frame.next++];
            marks.enter(const_cast<CTCENode*>(child));
            CTCENode* node = copyHead(*child);
            frame.copy->appendFresh(node);
            node->dropReference();
            frames.push_back({child, node, 0});
        }
    } catch (...) {
        top->node()->Release();
        throw;
    }
    return top;
}

std::string dump(const CTCENode& top)
{
    std::string out;
    std::vector<std::pair<const CTCENode*, size_t>> work{{&top, 0}};
    while (!work.empty()) {
        auto [node, depth] = work.back();
        work.pop_back();
        char digits[kUuidTextLength + 1];
        uuidToText(node->uuid(), digits);
        out += std::to_string(depth) + " " + kNodeKinds.labelOf(node->kind()) + " " + digits + " ui=" +
               std::to_string(node->uiValue()) + "\n";
        out += const_cast<CTCENode*>(node)->dumpFields();
        const std::vector<CTCENode*>& children = node->children();
        for (size_t i = children.size(); i-- > 0;) {
            work.push_back({children[i], depth + 1});
        }
    }
    return out;
}

}  // namespace NodeTrees

}  // namespace NvScn
