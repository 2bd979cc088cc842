#include "xml/XMLNodes.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/Failure.h"
#include "xml/HashKey.h"
#include "xml/ValueFormat.h"
#include "xml/XMLMessages.h"
#include "xml/XMLWriter.h"

namespace NuvoraXML {

namespace {

template <class Word>
void moveWord(char* to, const char* from)
{
    Word word;
    std::memcpy(&word, from, sizeof(word));
    std::memcpy(to, &word, sizeof(word));
}

// Copies length bytes and ends them with a NUL; short copies (most names' values) without a call.
void copyTerminated(char* to, const char* from, size_t length)
{
    if (length >= 8 && length <= 16) {
        moveWord<uint64_t>(to, from);
        moveWord<uint64_t>(to + length - 8, from + length - 8);
    } else if (length >= 4 && length < 8) {
        moveWord<uint32_t>(to, from);
        moveWord<uint32_t>(to + length - 4, from + length - 4);
    } else if (length > 0 && length < 4) {
        to[0] = from[0];
        to[length / 2] = from[length / 2];
        to[length - 1] = from[length - 1];
    } else if (length != 0) {
        std::memcpy(to, from, length);
    }
    to[length] = 0;
}

// A copy of text (null copies as empty) in a block of the tree of owner (the start of a node or
// attribute); out of memory fails in the missing-pointer form.
char* copyText(const void* owner, const char* text)
{
    size_t length = text != nullptr ? std::strlen(text) : 0;
    char* copy = static_cast<char*>(allocateNode(length + 1, arenaOf(owner)));
    copyTerminated(copy, text, length);
    return copy;
}

// A copy of text as copyText, or null for null.
char* copyOptionalText(const void* owner, const char* text)
{
    return text != nullptr ? copyText(owner, text) : nullptr;
}

void freeText(char* text)
{
    freeNode(text);
}

// Replaces an owned string with a copy of text (null copies as empty).
void replaceString(const void* owner, char*& field, const char* text)
{
    char* copy = copyText(owner, text);
    freeText(field);
    field = copy;
}

// Replaces a string that may live in an object's inline bytes with a copy of text.
void replaceOwned(const void* owner, char*& field, char* inlineBytes, const char* text)
{
    char* copy = copyText(owner, text);
    if (field != inlineBytes) {
        freeText(field);
    }
    field = copy;
}

// Replaces an owned string with a copy of text, or null.
void replaceOptional(const void* owner, char*& field, const char* text)
{
    char* copy = copyOptionalText(owner, text);
    freeText(field);
    field = copy;
}

// Whether candidate is element or one of its ancestors.
bool isSelfOrAncestor(XIXMLElement* candidate, XIXMLElement* element)
{
    for (XIXMLElement* e = element; e != nullptr; e = e->AsNode()->GetParent()) {
        if (e == candidate) {
            return true;
        }
    }
    return false;
}

// Formats into a value buffer; false when the result needs 2048 bytes or more.
bool formatValue(char* buffer, const char* format, va_list args)
{
    int length = printFormatted(buffer, kValueBufferSize, format, args);
    return length >= 0 && static_cast<size_t>(length) < kValueBufferSize;
}

// Fails with the plain form unless a typed value was read or written.
void checkValue(bool done)
{
    if (!done) {
        Nuvora::fail();
    }
}

// The topmost ancestor of element (itself when detached): the one that owns the keys.
XIXMLElement* keyOwner(XIXMLElement* element)
{
    XIXMLElement* top = element;
    for (XIXMLElement* e = element->AsNode()->GetParent(); e != nullptr; e = e->AsNode()->GetParent()) {
        top = e;
    }
    return top;
}

// Appends to target a copy of element with its attributes but no children; keys come from keys.
XIXMLElement* copyShallow(XIXMLElement* element, XIXMLElement* target, XIXMLElement* keys)
{
    XIXMLElement* copy = target->AddElement(keys->GetKey(element->GetName()));
    try {
        for (XIXMLAttribute* a = element->GetFirstAttribute(); a != nullptr; a = a->GetNext()) {
            copy->AddAttribute(keys->GetKey(a->GetName()), a->GetValue());
        }
    } catch (...) {
        copy->AsNode()->Delete();
        throw;
    }
    return copy;
}

// Copies the children of top and their subtrees into copyTop, without recursion.
void copyChildren(XIXMLElement* top, XIXMLElement* copyTop)
{
    XIXMLElement* keys = keyOwner(copyTop);
    XIXMLElement* into = copyTop;
    XIXMLNode* node = top->GetFirstChild();
    while (node != nullptr) {
        XIXMLElement* element = node->AsElement();
        if (element != nullptr) {
            XIXMLElement* copy = copyShallow(element, into, keys);
            XIXMLNode* child = element->GetFirstChild();
            if (child != nullptr) {
                into = copy;
                node = child;
                continue;
            }
        } else {
            node->CopyTo(into);
        }
        while (node->GetNext() == nullptr) {
            XIXMLElement* parent = node->GetParent();
            if (parent == top) {
                return;
            }
            node = parent->AsNode();
            into = into->AsNode()->GetParent();
        }
        node = node->GetNext();
    }
}

// Appends to target a deep copy of the subtree of top and answers it; a copy that fails part
// way is deleted, so the target is left as it was.
XIXMLNode* copyTree(XIXMLElement* top, XIXMLElement* target)
{
    XIXMLElement* copyTop = copyShallow(top, target, keyOwner(target));
    try {
        copyChildren(top, copyTop);
    } catch (...) {
        copyTop->AsNode()->Delete();
        throw;
    }
    return copyTop->AsNode();
}

// The element view of an element node, null for null.
XIXMLElement* elementView(XCXMLNode* node)
{
    return node != nullptr ? node->ToElement() : nullptr;
}

XCXMLNode* nextOf(XCXMLNode* node)
{
    return node->NextNode();
}

XCXMLAttribute* nextOf(XCXMLAttribute* attribute)
{
    return attribute->NextAttribute();
}

// The item of a singly linked list that stands before item; fails when the list is broken.
template <class T>
T* findPrevious(T* first, const T* item, const char* brokenMessage)
{
    T* previous = first;
    while (previous != nullptr && nextOf(previous) != item) {
        previous = nextOf(previous);
    }
    return Nuvora::checkPointer(previous, brokenMessage);
}

// Unlinks item from the list starting at first; answers the item before it, null for the first.
template <class T>
T* unlinkFromList(T*& first, T* item, const char* brokenMessage)
{
    if (first == item) {
        first = nextOf(item);
        return nullptr;
    }
    T* previous = findPrevious(first, item, brokenMessage);
    previous->LinkNext(nextOf(item));
    return previous;
}

// Links item at the end of the list, starting the walk from the last-item hint when there is one.
template <class T>
void appendToList(T*& first, T*& lastHint, T* item)
{
    T* last = lastHint != nullptr ? lastHint : first;
    if (last == nullptr) {
        first = item;
    } else {
        for (T* next = nextOf(last); next != nullptr; next = nextOf(next)) {
            last = next;
        }
        last->LinkNext(item);
    }
    lastHint = item;
}

}  // namespace

// ---- XCXMLNode ----

XCXMLNode::~XCXMLNode()
{
    guardDestructor(Msg::kNodeDestructor, [this] {
        if (mParent != nullptr) {
            mParent->RemoveChild(this);
        }
    });
}

void XCXMLNode::Delete()
{
    mMine.CheckMine();
    delete this;
    settleFreedNodes();
}

XCXMLNode* XCXMLNode::Checked(XIXMLNode* node)
{
    if (node == nullptr) {
        return nullptr;
    }
    XCXMLNode* toolkit = dynamic_cast<XCXMLNode*>(node);
    Nuvora::check(toolkit != nullptr, Msg::kForeignNode);
    return toolkit;
}

void XCXMLNode::SetNext(XIXMLNode* next)
{
    XCXMLNode* linked = Checked(next);
    // Raw links may join trees: neither can be released whole any more.
    shareArena(arenaOf(Block()));
    if (linked != nullptr) {
        shareArena(arenaOf(linked->Block()));
    }
    mNext = linked;
}

const void* XCXMLNode::Block() const
{
    switch (mKind) {
    case kElementNode:
        return static_cast<const XCXMLElement*>(this);
    case kDataNode:
        return static_cast<const XCXMLData*>(this);
    case kCommentNode:
        return static_cast<const XCXMLComment*>(this);
    case kPINode:
        return static_cast<const XCXMLPI*>(this);
    default:
        return static_cast<const XCXMLDocType*>(this);
    }
}

XIXMLElement* XCXMLNode::GetParent()
{
    return mParent;
}

void XCXMLNode::SetParent(XIXMLElement* parent)
{
    XCXMLElement* toolkit = nullptr;
    if (parent != nullptr) {
        XCXMLNode* node = Checked(parent->AsNode());
        Nuvora::check(node->IsElement(), Msg::kForeignNode);
        toolkit = node->ToElement();
        shareArena(arenaOf(toolkit));
    }
    shareArena(arenaOf(Block()));
    mParent = toolkit;
}

int32_t XCXMLNode::GetIndex()
{
    return mParent != nullptr ? mParent->IndexOf(this) : -1;
}

// ---- XCXMLElement ----

XCXMLElement::~XCXMLElement()
{
    guardDestructor(Msg::kElementDestructor, [this] { DestroyContent(); });
}

void XCXMLElement::DestroyContent()
{
    while (mFirstAttribute != nullptr) {
        XCXMLAttribute* attribute = mFirstAttribute;
        mFirstAttribute = attribute->NextAttribute();
        attribute->SetOwner(nullptr);
        delete attribute;
    }
    mLastAttribute = nullptr;
    // Always the first child of the current element goes: a leaf at once, an element once its
    // own children are gone. The lists stay linked from the front at every step.
    XCXMLElement* current = this;
    for (;;) {
        XCXMLNode* child = current->mFirstChild;
        if (child == nullptr) {
            if (current == this) {
                mLastChild = nullptr;
                return;
            }
            child = current;
            current = Nuvora::checkPointer(child->ParentElement(), Msg::kRemoveNodePrevious);
            Nuvora::check(current->mFirstChild == child, Msg::kRemoveNodeNotChild);
        } else if (child->IsElement() && child->ToElement()->mFirstChild != nullptr) {
            current = child->ToElement();
            continue;
        }
        current->mFirstChild = child->NextNode();
        if (current->mLastChild == child) {
            current->mLastChild = nullptr;
        }
        child->LinkParent(nullptr);
        child->LinkNext(nullptr);
        delete child;
    }
}

void XCXMLElement::Write(XCXMLWriter* writer, int32_t depth)
{
    Nuvora::checkPointer(writer, Msg::kNoWriter)->WriteTree(this, depth);
}

void XCXMLElement::Write(XIXMLWriteStream* stream)
{
    XCXMLWriter writer(stream);
    Write(&writer, 0);
    writer.Flush();
}

XIXMLNode* XCXMLElement::CopyTo(XIXMLElement* target)
{
    Nuvora::checkPointer(target, Msg::kNoTarget);
    if (!isSelfOrAncestor(this, target)) {
        return copyTree(this, target);
    }
    // Copying into its own subtree: copy aside first so the walk never meets the copy.
    XCXMLTree aside;
    XIXMLNode* copy = copyTree(this, aside.GetRoot());
    return copyTree(copy->AsElement(), target);
}

const char* XCXMLElement::GetKey(const char* name)
{
    if (CNodeArena* arena = Arena()) {
        if (arena->keyRoot != nullptr) {
            return static_cast<XCXMLRoot*>(arena->keyRoot)->GetKey(name);
        }
    }
    XIXMLElement* top = keyOwner(this);
    if (top == this) {
        Nuvora::failNullPointer(Msg::kNotInTree);
    }
    return top->GetKey(name);
}

void XCXMLElement::AppendChild(XCXMLNode* node)
{
    appendToList(mFirstChild, mLastChild, node);
    node->LinkParent(this);
}

void XCXMLElement::AddNode(XIXMLNode* node)
{
    Nuvora::checkPointer(node, Msg::kAddNodeNull);
    XCXMLNode* toolkit = XCXMLNode::Checked(node);
    Nuvora::check(toolkit->ParentElement() == nullptr && toolkit->NextNode() == nullptr, Msg::kAddNodeAttached);
    if (toolkit->IsElement()) {
        XCXMLElement* element = toolkit->ToElement();
        Nuvora::check(element->mName != nullptr, Msg::kAddNodeRoot);
        Nuvora::check(!isSelfOrAncestor(element, this), Msg::kAddNodeAncestor);
    }
    // The node comes from elsewhere (a detached node): this tree is no longer released whole.
    shareArena(Arena());
    shareArena(arenaOf(toolkit->Block()));
    AppendChild(toolkit);
}

void XCXMLElement::RemoveChild(XCXMLNode* node)
{
    XCXMLNode* previous = unlinkFromList(mFirstChild, node, Msg::kRemoveNodePrevious);
    if (mLastChild == node) {
        mLastChild = previous;
    }
    node->LinkParent(nullptr);
    node->LinkNext(nullptr);
}

// The child of element that node is; an assertion fails otherwise.
XCXMLNode* XCXMLElement::CheckedChild(XIXMLNode* node, const char* notChild)
{
    XCXMLNode* toolkit = node != nullptr ? dynamic_cast<XCXMLNode*>(node) : nullptr;
    Nuvora::check(toolkit != nullptr && toolkit->ParentElement() == this, notChild);
    return toolkit;
}

void XCXMLElement::RemoveNode(XIXMLNode* node)
{
    XCXMLNode* child = CheckedChild(node, Msg::kRemoveNodeNotChild);
    // The caller owns the detached node, which may outlive the tree.
    shareArena(Arena());
    RemoveChild(child);
}

void XCXMLElement::MoveNode(XIXMLNode* node, XIXMLNode* before)
{
    XCXMLNode* moved = CheckedChild(node, Msg::kMoveNodeNotChild);
    XCXMLNode* next = before == nullptr ? nullptr : CheckedChild(before, Msg::kMoveNodeNotChild);
    if (moved == next || moved->NextNode() == next) {
        return;
    }
    unlinkFromList(mFirstChild, moved, Msg::kMoveNodePrevious);
    mLastChild = nullptr;
    moved->LinkNext(nullptr);
    if (next == nullptr) {
        moved->LinkParent(nullptr);
        AppendChild(moved);
    } else if (mFirstChild == next) {
        moved->LinkNext(next);
        mFirstChild = moved;
    } else {
        findPrevious(mFirstChild, next, Msg::kMoveNodePrevious)->LinkNext(moved);
        moved->LinkNext(next);
    }
}

int32_t XCXMLElement::IndexOf(XIXMLNode* node)
{
    int32_t index = 0;
    for (XCXMLNode* child = mFirstChild; child != nullptr; child = child->NextNode(), ++index) {
        if (child == node) {
            return index;
        }
    }
    return -1;
}

XIXMLAttribute* XCXMLElement::AddAttribute(const char* key, const char* value)
{
    return AddAttributeBytes(key, value, value != nullptr ? std::strlen(value) : 0);
}

XCXMLAttribute* XCXMLElement::AddAttributeBytes(const char* key, const char* value, size_t length)
{
    XCXMLAttribute* attribute = new (NodePlace{Arena(), length + 1}) XCXMLAttribute(this, key, value, length);
    appendToList(mFirstAttribute, mLastAttribute, attribute);
    return attribute;
}

void XCXMLElement::RemoveAttribute(XIXMLAttribute* attribute)
{
    Nuvora::check(attribute != nullptr && attribute->GetOwner() == this, Msg::kRemoveAttributeNotOwned);
    // Only attributes made by AddAttribute have this element as their owner.
    XCXMLAttribute* owned = static_cast<XCXMLAttribute*>(attribute);
    XCXMLAttribute* previous = unlinkFromList(mFirstAttribute, owned, Msg::kRemoveAttributePrevious);
    if (mLastAttribute == owned) {
        mLastAttribute = previous;
    }
    owned->LinkNext(nullptr);
    owned->SetOwner(nullptr);
    // The caller owns the detached attribute, which may outlive the tree.
    shareArena(Arena());
}

XIXMLPI* XCXMLElement::AddPI(const char* target, const char* data)
{
    XCXMLPI* node = new (NodePlace{Arena(), 0}) XCXMLPI(target, data);
    AppendChild(node);
    return node;
}

XIXMLComment* XCXMLElement::AddComment(const char* text)
{
    XCXMLComment* node = new (NodePlace{Arena(), 0}) XCXMLComment(text);
    AppendChild(node);
    return node;
}

XIXMLDocType* XCXMLElement::AddDocType(const char* nameKey, const char* publicId, const char* systemId,
                                       const char* internalSubset)
{
    XCXMLDocType* node = new (NodePlace{Arena(), 0}) XCXMLDocType(nameKey, publicId, systemId, internalSubset);
    AppendChild(node);
    return node;
}

void XCXMLElement::CheckNoData()
{
    if (FirstOfKind(kDataNode) != nullptr) {
        Nuvora::fail(Msg::kOneDataNode);
    }
}

XIXMLData* XCXMLElement::AddData(XIXMLData::IXMLCData* data)
{
    if (data == nullptr) {
        Nuvora::fail();
    }
    CheckNoData();
    XCXMLData* node = new (NodePlace{Arena(), sizeof(ArenaFinalizer)}) XCXMLData(data);
    AppendChild(node);
    return node;
}

XIXMLData* XCXMLElement::AddData(const char* text)
{
    return AddDataBytes(text, text != nullptr ? std::strlen(text) : 0);
}

XIXMLData* XCXMLElement::AddDataBytes(const char* text, size_t length)
{
    CheckNoData();
    XCXMLData* node = new (NodePlace{Arena(), length + 1}) XCXMLData(text, length);
    AppendChild(node);
    return node;
}

XIXMLElement* XCXMLElement::AddElement(const char* key)
{
    Nuvora::checkPointer(key, Msg::kNoKey);
    return AppendElement(key);
}

XCXMLElement* XCXMLElement::AppendElement(const char* key)
{
    XCXMLElement* element = new (NodePlace{Arena(), 0}) XCXMLElement(key);
    AppendChild(element);
    return element;
}

void XCXMLElement::SetName(const char* key)
{
    mName = Nuvora::checkPointer(key, Msg::kNoKey);
}

XCXMLNode* XCXMLElement::FirstOfKind(XCXMLNode::Kind kind) const
{
    return NextOfKind(mFirstChild, kind);
}

XCXMLNode* XCXMLElement::NextOfKind(XCXMLNode* node, XCXMLNode::Kind kind)
{
    while (node != nullptr && node->GetKind() != kind) {
        node = node->NextNode();
    }
    return node;
}

XIXMLData* XCXMLElement::GetData()
{
    XCXMLNode* data = FirstOfKind(kDataNode);
    return data != nullptr ? static_cast<XCXMLData*>(data) : nullptr;
}

const XIXMLData* XCXMLElement::GetData() const
{
    return const_cast<XCXMLElement*>(this)->GetData();
}

XIXMLElement* XCXMLElement::GetFirstElement()
{
    return elementView(FirstOfKind(kElementNode));
}

XIXMLElement* XCXMLElement::GetNextElement()
{
    return elementView(NextOfKind(mNext, kElementNode));
}

XIXMLElement* XCXMLElement::FindElement(const char* key)
{
    XCXMLNode* child = FirstOfKind(kElementNode);
    while (child != nullptr && child->ToElement()->mName != key) {
        child = NextOfKind(child->NextNode(), kElementNode);
    }
    return elementView(child);
}

XIXMLElement* XCXMLElement::GetNextNamesake()
{
    XCXMLNode* sibling = NextOfKind(mNext, kElementNode);
    while (sibling != nullptr && sibling->ToElement()->mName != mName) {
        sibling = NextOfKind(sibling->NextNode(), kElementNode);
    }
    return elementView(sibling);
}

int32_t XCXMLElement::CountElements()
{
    int32_t count = 0;
    for (XCXMLNode* child = FirstOfKind(kElementNode); child != nullptr;
         child = NextOfKind(child->NextNode(), kElementNode)) {
        ++count;
    }
    return count;
}

XIXMLElement* XCXMLElement::GetElementAt(int32_t index)
{
    if (index < 0) {
        return nullptr;
    }
    XCXMLNode* child = FirstOfKind(kElementNode);
    while (child != nullptr && index-- > 0) {
        child = NextOfKind(child->NextNode(), kElementNode);
    }
    return elementView(child);
}

XIXMLAttribute* XCXMLElement::FindAttribute(const char* key)
{
    if (key == nullptr) {
        return nullptr;
    }
    if (*key == 0) {
        return mFirstAttribute;
    }
    XCXMLAttribute* attribute = mFirstAttribute;
    while (attribute != nullptr && attribute->Name() != key) {
        attribute = attribute->NextAttribute();
    }
    return attribute;
}

bool XCXMLElement::HasAttributeValue(const char* key, const char* value)
{
    XIXMLAttribute* attribute = FindAttribute(key);
    return attribute != nullptr && value != nullptr && std::strcmp(attribute->GetValue(), value) == 0;
}

// ---- XCXMLRoot ----

XCXMLRoot::XCXMLRoot() : XCXMLElement(nullptr), mKeys(nullptr)
{
    try {
        mKeys = new CHashKey(10);
        mKeys->Grow(64);
    } catch (...) {
        delete mKeys;
        mKeys = nullptr;
    }
}

XCXMLRoot::~XCXMLRoot()
{
    guardDestructor(Msg::kRootDestructor, [this] { DestroyContent(); });
    delete mKeys;
}

const char* XCXMLRoot::GetKey(const char* name)
{
    return Nuvora::checkPointer(mKeys, Msg::kNoKeyTable)->GetKey(name);
}

void XCXMLRoot::Write(XCXMLWriter* writer, int32_t depth)
{
    Nuvora::checkPointer(writer, Msg::kNoWriter);
    for (XCXMLNode* child = mFirstChild; child != nullptr; child = child->NextNode()) {
        writer->WriteTree(child, depth);
    }
    writer->Put('\n');
}

// ---- XCXMLAttribute ----

XCXMLAttribute::XCXMLAttribute(XCXMLElement* owner, const char* nameKey, const char* value, size_t length)
    : mNext(nullptr), mOwner(owner), mName(nameKey), mValue(InlineValue())
{
    copyTerminated(mValue, value, length);
    SetLength(length);
}

size_t XCXMLAttribute::ValueLength() const
{
    return mLength != kUnknownLength ? mLength : std::strlen(mValue);
}

XCXMLAttribute::~XCXMLAttribute()
{
    guardDestructor(Msg::kAttributeDestructor, [this] {
        if (mOwner != nullptr) {
            mOwner->RemoveAttribute(this);
        }
    });
    if (mValue != InlineValue()) {
        freeText(mValue);
    }
}

void XCXMLAttribute::Delete()
{
    mMine.CheckMine();
    delete this;
}

void XCXMLAttribute::SetNext(XIXMLAttribute* next)
{
    XCXMLAttribute* toolkit = nullptr;
    if (next != nullptr) {
        toolkit = dynamic_cast<XCXMLAttribute*>(next);
        Nuvora::check(toolkit != nullptr, Msg::kForeignAttribute);
        shareArena(arenaOf(toolkit));
    }
    // Raw links may join trees: neither can be released whole any more.
    shareArena(arenaOf(this));
    mNext = toolkit;
}

void XCXMLAttribute::SetName(const char* key)
{
    mName = key;
}

void XCXMLAttribute::SetValue(const char* value)
{
    replaceOwned(this, mValue, InlineValue(), value);
    SetLength(std::strlen(mValue));
}

void XCXMLAttribute::ScanValue(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    bool converted = scanFormatted(mValue, format, args);
    va_end(args);
    checkValue(converted);
}

void XCXMLAttribute::PrintValue(const char* format, ...)
{
    char buffer[kValueBufferSize];
    va_list args;
    va_start(args, format);
    bool formatted = formatValue(buffer, format, args);
    va_end(args);
    checkValue(formatted);
    SetValue(buffer);
}

void XCXMLAttribute::Write(XCXMLWriter* writer)
{
    Nuvora::checkPointer(writer, Msg::kNoWriter)->WriteAttribute(mName, mValue, ValueLength());
}

void XCXMLAttribute::CopyTo(XIXMLElement* target)
{
    Nuvora::checkPointer(target, Msg::kNoTarget);
    target->AddAttribute(target->GetKey(mName), mValue);
}

// ---- XCXMLData ----

XCXMLData::XCXMLData(const char* text, size_t length) : XCXMLNode(kDataNode), mText(InlineText()), mData(nullptr)
{
    copyTerminated(mText, text, length);
}

XCXMLData::XCXMLData(XIXMLData::IXMLCData* data) : XCXMLNode(kDataNode), mText(nullptr), mData(data)
{
    ArenaFinalizer* finalizer = new (InlineText()) ArenaFinalizer();
    finalizer->finalize = &XCXMLData::ReleaseWithArena;
    registerFinalizer(arenaOf(this), finalizer);
}

XCXMLData::~XCXMLData()
{
    if (mData == nullptr) {
        if (mText != InlineText()) {
            freeText(mText);
        }
        return;
    }
    unregisterFinalizer(Finalizer());
    ReleaseObject();
}

void XCXMLData::ReleaseObject() noexcept
{
    guardDestructor(Msg::kDataDestructor, [this] { mData->Release(); });
}

void XCXMLData::ReleaseWithArena(ArenaFinalizer* finalizer) noexcept
{
    // The finalizer stands in the inline bytes, just behind its node.
    XCXMLData* node = reinterpret_cast<XCXMLData*>(reinterpret_cast<char*>(finalizer) - sizeof(XCXMLData));
    node->ReleaseObject();
}

void XCXMLData::Write(XCXMLWriter* writer, int32_t depth)
{
    Nuvora::checkPointer(writer, Msg::kNoWriter);
    if (mData == nullptr) {
        writer->WriteText(mText);
        writer->SetSkipIndent(true);
        return;
    }
    writer->Write("<![CDATA[", 9);
    writer->Flush();
    if (!mData->Write(writer->GetStream(), depth, this)) {
        Nuvora::fail();
    }
    writer->Write("]]>", 3);
}

XIXMLNode* XCXMLData::CopyTo(XIXMLElement* target)
{
    Nuvora::checkPointer(target, Msg::kNoTarget);
    if (mData == nullptr) {
        return target->AddData(mText)->AsNode();
    }
    XIXMLData::IXMLCData* clone = mData->Clone();
    try {
        return target->AddData(clone)->AsNode();
    } catch (...) {
        // The target refused the clone: nobody else will free it.
        if (clone != nullptr) {
            clone->Release();
        }
        throw;
    }
}

const char* XCXMLData::GetText()
{
    if (mData != nullptr) {
        Nuvora::fail();
    }
    return mText;
}

void XCXMLData::SetText(const char* text)
{
    if (mData != nullptr) {
        Nuvora::fail();
    }
    replaceOwned(this, mText, InlineText(), text);
}

void XCXMLData::ScanText(const char* format, ...)
{
    const char* text = GetText();
    va_list args;
    va_start(args, format);
    bool converted = scanFormatted(text, format, args);
    va_end(args);
    checkValue(converted);
}

void XCXMLData::PrintText(const char* format, ...)
{
    checkValue(mData == nullptr);
    char buffer[kValueBufferSize];
    va_list args;
    va_start(args, format);
    bool formatted = formatValue(buffer, format, args);
    va_end(args);
    checkValue(formatted);
    SetText(buffer);
}

// ---- XCXMLComment ----

XCXMLComment::XCXMLComment(const char* text) : XCXMLNode(kCommentNode), mText(copyText(this, text)) {}

XCXMLComment::~XCXMLComment()
{
    freeText(mText);
}

namespace {

// Writes text with a space between each first character directly followed by second, so that
// a comment or processing instruction never ends early nor holds what XML forbids in it ("--",
// "?>"); other texts are written unchanged.
void writeApart(XCXMLWriter* writer, const char* text, char first, char second)
{
    if (text == nullptr) {
        return;
    }
    const char* start = text;
    for (const char* p = text; *p != '\0'; ++p) {
        if (p[0] == first && p[1] == second) {
            writer->Write(start, static_cast<size_t>(p + 1 - start));
            writer->Put(' ');
            start = p + 1;
        }
    }
    writer->Write(start);
}

}  // namespace

void XCXMLComment::Write(XCXMLWriter* writer, int32_t depth)
{
    Nuvora::checkPointer(writer, Msg::kNoWriter);
    writer->Indent(depth);
    writer->Write("<!--", 4);
    writeApart(writer, mText, '-', '-');
    if (mText != nullptr && *mText != '\0' && mText[std::strlen(mText) - 1] == '-') {
        writer->Put(' ');
    }
    writer->Write("-->", 3);
}

XIXMLNode* XCXMLComment::CopyTo(XIXMLElement* target)
{
    return Nuvora::checkPointer(target, Msg::kNoTarget)->AddComment(mText)->AsNode();
}

void XCXMLComment::SetText(const char* text)
{
    replaceString(this, mText, text);
}

// ---- XCXMLPI ----

XCXMLPI::XCXMLPI(const char* target, const char* data)
    : XCXMLNode(kPINode), mTarget(copyText(this, target)), mData(nullptr)
{
    try {
        mData = copyText(this, data);
    } catch (...) {
        freeText(mTarget);
        throw;
    }
}

XCXMLPI::~XCXMLPI()
{
    freeText(mTarget);
    freeText(mData);
}

void XCXMLPI::Write(XCXMLWriter* writer, int32_t depth)
{
    Nuvora::checkPointer(writer, Msg::kNoWriter);
    writer->Indent(depth);
    writer->Write("<?", 2);
    writer->Write(mTarget);
    writer->Put(' ');
    writeApart(writer, mData, '?', '>');
    writer->Write("?>", 2);
}

XIXMLNode* XCXMLPI::CopyTo(XIXMLElement* target)
{
    return Nuvora::checkPointer(target, Msg::kNoTarget)->AddPI(mTarget, mData)->AsNode();
}

void XCXMLPI::SetTarget(const char* target)
{
    replaceString(this, mTarget, target);
}

void XCXMLPI::SetData(const char* data)
{
    replaceString(this, mData, data);
}

// ---- XCXMLDocType ----

XCXMLDocType::XCXMLDocType(const char* nameKey, const char* publicId, const char* systemId,
                           const char* internalSubset)
    : XCXMLNode(kDocTypeNode), mName(nameKey), mPublicId(nullptr), mSystemId(nullptr), mInternalSubset(nullptr)
{
    try {
        mPublicId = copyOptionalText(this, publicId);
        mSystemId = copyOptionalText(this, systemId);
        mInternalSubset = copyOptionalText(this, internalSubset);
    } catch (...) {
        freeText(mPublicId);
        freeText(mSystemId);
        throw;
    }
}

XCXMLDocType::~XCXMLDocType()
{
    freeText(mPublicId);
    freeText(mSystemId);
    freeText(mInternalSubset);
}

namespace {

// A literal in double quotes, or in apostrophes when it holds a double quote.
void writeLiteral(XCXMLWriter* writer, const char* literal)
{
    const char* text = literal != nullptr ? literal : "";
    char quote = std::strchr(text, '"') != nullptr ? '\'' : '"';
    writer->Put(quote);
    writer->Write(text);
    writer->Put(quote);
}

}  // namespace

void XCXMLDocType::Write(XCXMLWriter* writer, int32_t depth)
{
    Nuvora::checkPointer(writer, Msg::kNoWriter);
    writer->Indent(depth);
    writer->Write("<!DOCTYPE ", 10);
    writer->Write(mName);
    if (mPublicId != nullptr) {
        writer->Write(" PUBLIC ", 8);
        writeLiteral(writer, mPublicId);
        writer->Put(' ');
        writeLiteral(writer, mSystemId);
    } else if (mSystemId != nullptr) {
        writer->Write(" SYSTEM ", 8);
        writeLiteral(writer, mSystemId);
    }
    if (mInternalSubset != nullptr) {
        writer->Write(" [", 2);
        writer->Write(mInternalSubset);
        writer->Put(']');
    }
    writer->Put('>');
}

XIXMLNode* XCXMLDocType::CopyTo(XIXMLElement* target)
{
    Nuvora::checkPointer(target, Msg::kNoTarget);
    const char* name = mName != nullptr ? target->GetKey(mName) : nullptr;
    return target->AddDocType(name, mPublicId, mSystemId, mInternalSubset)->AsNode();
}

void XCXMLDocType::SetPublicId(const char* publicId)
{
    replaceOptional(this, mPublicId, publicId);
}

void XCXMLDocType::SetSystemId(const char* systemId)
{
    replaceOptional(this, mSystemId, systemId);
}

void XCXMLDocType::SetInternalSubset(const char* subset)
{
    replaceOptional(this, mInternalSubset, subset);
}

// ---- XCXMLTree ----

XCXMLTree::XCXMLTree() : mRoot(nullptr)
{
    CNodeArena* arena = createArena();
    try {
        mRoot = new (NodePlace{arena, 0}) XCXMLRoot();
        arena->keyRoot = mRoot;
    } catch (...) {
        releaseArena(arena);
        throw;
    }
}

XCXMLTree::~XCXMLTree()
{
    guardDestructor(Msg::kTreeDestructor, [this] {
        CNodeArena* arena = arenaOf(mRoot);
        if (arena == nullptr) {
            mRoot->AsNode()->Delete();
            return;
        }
        // Every node of a whole tree lives in its arena: the root lets go of them, and the arena
        // releases the data objects and frees the memory of all.
        mRoot->CheckMine();
        mRoot->ForgetContent();
        mRoot->~XCXMLRoot();
        releaseArena(arena);
    });
    settleFreedNodes();
}

}  // namespace NuvoraXML
