// The node tree of an XML document: every node kind behind the interfaces of ScnXML.h.
#ifndef NUVORA_XML_NODES_H
#define NUVORA_XML_NODES_H

#include <cstdint>

#include "ScnXML.h"
#include "xml/Mine.h"
#include "xml/NodeHeap.h"

namespace NuvoraXML {

class CHashKey;
class XCXMLElement;
class XCXMLAttribute;

// The common part of every node: sibling and parent links and the liveness guard. Every node of a
// tree is one of these (AddNode takes no other), so the tree's own walks follow the links directly.
class XCXMLNode : public XIXMLNode, public XCNodeMemory {
public:
    // The kind of the concrete node, known without a call.
    enum Kind : uint8_t { kElementNode, kDataNode, kCommentNode, kPINode, kDocTypeNode };

    explicit XCXMLNode(Kind kind) : mNext(nullptr), mParent(nullptr), mKind(kind) {}
    // Unlinks the node from its parent.
    ~XCXMLNode() override;
    XCXMLNode(const XCXMLNode&) = delete;
    XCXMLNode& operator=(const XCXMLNode&) = delete;

    void Delete() override;
    XIXMLNode* GetNext() override { return mNext; }
    // Links any node of this toolkit (an assertion fails for another implementation).
    void SetNext(XIXMLNode* next) override;
    XIXMLPI* AsPI() override { return nullptr; }
    XIXMLComment* AsComment() override { return nullptr; }
    XIXMLDocType* AsDocType() override { return nullptr; }
    XIXMLData* AsData() override { return nullptr; }
    XIXMLElement* AsElement() override { return nullptr; }
    XIXMLElement* GetParent() override;
    // Takes any element of this toolkit (an assertion fails for another implementation).
    void SetParent(XIXMLElement* parent) override;
    int32_t GetIndex() override;

    // Fails with an assertion unless the node is alive.
    void CheckMine() const { mMine.CheckMine(); }

    // The toolkit node behind node, null for null; an assertion fails for another implementation.
    static XCXMLNode* Checked(XIXMLNode* node);
    // The start of the node's memory block (its most derived object).
    const void* Block() const;

    // The links and kind as they are, for the tree's own walks (no call, no checks).
    Kind GetKind() const { return mKind; }
    bool IsElement() const { return mKind == kElementNode; }
    XCXMLNode* NextNode() const { return mNext; }
    void LinkNext(XCXMLNode* next) { mNext = next; }
    XCXMLElement* ParentElement() const { return mParent; }
    void LinkParent(XCXMLElement* parent) { mParent = parent; }
    // The element this node is (only for an element node).
    inline XCXMLElement* ToElement();

protected:
    XCXMLNode* mNext;
    XCXMLElement* mParent;
    XCMine mMine;
    Kind mKind;
};

// A named element; children and attributes are singly linked in document order.
class XCXMLElement : public XIXMLElement, public XCXMLNode {
public:
    // nameKey: a key of the document's table (null only for the root).
    explicit XCXMLElement(const char* nameKey) : XCXMLNode(kElementNode), mName(nameKey) {}
    // Destroys every attribute, then every descendant, without recursion.
    ~XCXMLElement() override;

    // Node view.
    XIXMLElement* AsElement() override { return this; }
    void Write(XCXMLWriter* writer, int32_t depth) override;
    XIXMLNode* CopyTo(XIXMLElement* target) override;

    // Element view.
    XIXMLNode* AsNode() override { return this; }
    const XIXMLNode* AsNode() const override { return this; }
    void Write(XIXMLWriteStream* stream) override;
    const char* GetKey(const char* name) override;
    void AddNode(XIXMLNode* node) override;
    void RemoveNode(XIXMLNode* node) override;
    void MoveNode(XIXMLNode* node, XIXMLNode* before) override;
    int32_t IndexOf(XIXMLNode* node) override;
    XIXMLAttribute* AddAttribute(const char* key, const char* value) override;
    void RemoveAttribute(XIXMLAttribute* attribute) override;
    XIXMLPI* AddPI(const char* target, const char* data) override;
    XIXMLComment* AddComment(const char* text) override;
    XIXMLDocType* AddDocType(const char* nameKey, const char* publicId, const char* systemId,
                             const char* internalSubset) override;
    XIXMLData* AddData(XIXMLData::IXMLCData* data) override;
    XIXMLData* AddData(const char* text) override;
    XIXMLElement* AddElement(const char* key) override;
    const char* GetName() override { return mName; }
    void SetName(const char* key) override;
    XIXMLData* GetData() override;
    const XIXMLData* GetData() const override;
    XIXMLNode* GetFirstChild() override { return mFirstChild; }
    XIXMLElement* GetFirstElement() override;
    XIXMLElement* GetNextElement() override;
    XIXMLElement* FindElement(const char* key) override;
    XIXMLElement* GetNextNamesake() override;
    int32_t CountElements() override;
    XIXMLElement* GetElementAt(int32_t index) override;
    XIXMLAttribute* GetFirstAttribute() override;
    XIXMLAttribute* FindAttribute(const char* key) override;
    bool HasAttributeValue(const char* key, const char* value) override;

    // Appends an attribute whose value is length bytes (the reader's path, no length scan).
    XCXMLAttribute* AddAttributeBytes(const char* key, const char* value, size_t length);
    // Appends a text data node from length bytes (the reader's path, no length scan).
    XIXMLData* AddDataBytes(const char* text, size_t length);
    // Appends a child element named by a key that is not null (the reader's path).
    XCXMLElement* AppendElement(const char* key);

    // The name and lists as they are, for the tree's own walks (no call, no checks).
    const char* Name() const { return mName; }
    XCXMLNode* FirstNode() const { return mFirstChild; }
    // The arena of the element's tree while it can be released whole, else null.
    CNodeArena* Arena() const { return arenaOf(static_cast<const void*>(this)); }
    XCXMLAttribute* FirstAttribute() const { return mFirstAttribute; }
    // Unlinks a child (the list must hold it) and clears its parent and next links.
    void RemoveChild(XCXMLNode* node);

protected:
    // The child that node is; an assertion fails with notChild otherwise.
    XCXMLNode* CheckedChild(XIXMLNode* node, const char* notChild);
    // The first child of a kind, or null.
    XCXMLNode* FirstOfKind(XCXMLNode::Kind kind) const;
    // The first node of a kind from node on, or null.
    static XCXMLNode* NextOfKind(XCXMLNode* node, XCXMLNode::Kind kind);

    // Deletes attributes and descendants, without recursion; the subtree empties from the front.
    void DestroyContent();
    // Links a new node as last child.
    void AppendChild(XCXMLNode* node);
    // Fails when the element already has a data node.
    void CheckNoData();

    const char* mName;
    XCXMLNode* mFirstChild = nullptr;
    XCXMLAttribute* mFirstAttribute = nullptr;
    // Append hints: the last child and attribute as far as known, or null.
    XCXMLNode* mLastChild = nullptr;
    XCXMLAttribute* mLastAttribute = nullptr;
};

inline XCXMLElement* XCXMLNode::ToElement()
{
    return static_cast<XCXMLElement*>(this);
}

// The document node: an element without a name that owns the key table.
class XCXMLRoot : public XCXMLElement {
public:
    XCXMLRoot();
    ~XCXMLRoot() override;

    const char* GetKey(const char* name) override;
    void Write(XCXMLWriter* writer, int32_t depth) override;
    using XCXMLElement::Write;
    // The key table, null only when it could not be made.
    CHashKey* GetKeyTable() { return mKeys; }

private:
    friend class XCXMLTree;

    // Lets go of every attribute and child without destroying them (their arena frees them).
    void ForgetContent()
    {
        mFirstChild = nullptr;
        mLastChild = nullptr;
        mFirstAttribute = nullptr;
        mLastAttribute = nullptr;
    }

    CHashKey* mKeys;
};

// A name and value pair of an element.
class XCXMLAttribute final : public XIXMLAttribute, public XCNodeMemory {
public:
    // The value (length bytes) goes to the inline bytes allocated behind the attribute.
    XCXMLAttribute(XCXMLElement* owner, const char* nameKey, const char* value, size_t length);
    // Unlinks the attribute from its owner and frees the value.
    ~XCXMLAttribute() override;
    XCXMLAttribute(const XCXMLAttribute&) = delete;
    XCXMLAttribute& operator=(const XCXMLAttribute&) = delete;

    void Delete() override;
    XIXMLAttribute* GetNext() override { return mNext; }
    // Links any attribute of this toolkit (an assertion fails for another implementation).
    void SetNext(XIXMLAttribute* next) override;
    XIXMLElement* GetOwner() override { return mOwner; }
    const char* GetName() override { return mName; }
    void SetName(const char* key) override;
    const char* GetValue() override { return mValue; }
    void SetValue(const char* value) override;
    void ScanValue(const char* format, ...) override;
    void PrintValue(const char* format, ...) override;
    void Write(XCXMLWriter* writer) override;
    void CopyTo(XIXMLElement* target) override;

    // Detaches the attribute from its owner (the owner's list no longer holds it).
    void SetOwner(XCXMLElement* owner) { mOwner = owner; }
    // The fields as they are, for the tree's own walks (no call, no checks).
    XCXMLAttribute* NextAttribute() const { return mNext; }
    void LinkNext(XCXMLAttribute* next) { mNext = next; }
    const char* Name() const { return mName; }
    const char* Value() const { return mValue; }
    // The bytes of the value up to its NUL at most (a value read from a document may hold a NUL).
    size_t ValueLength() const;

private:
    char* InlineValue() { return reinterpret_cast<char*>(this) + sizeof(XCXMLAttribute); }

    // The value's length when it fits, else kUnknownLength.
    void SetLength(size_t length) { mLength = length < kUnknownLength ? static_cast<uint32_t>(length) : kUnknownLength; }
    static constexpr uint32_t kUnknownLength = 0xFFFFFFFFu;

    XCXMLAttribute* mNext;
    XCXMLElement* mOwner;
    const char* mName;
    char* mValue;
    XCMine mMine;
    uint32_t mLength;
};

inline XIXMLAttribute* XCXMLElement::GetFirstAttribute()
{
    return mFirstAttribute;
}

// Character data of an element: an owned text or an owned data object.
class XCXMLData final : public XIXMLData, public XCXMLNode {
public:
    // The text (length bytes) goes to the inline bytes allocated behind the node.
    XCXMLData(const char* text, size_t length);
    explicit XCXMLData(XIXMLData::IXMLCData* data);
    // Releases the data object or frees the text.
    ~XCXMLData() override;

    XIXMLData* AsData() override { return this; }
    void Write(XCXMLWriter* writer, int32_t depth) override;
    XIXMLNode* CopyTo(XIXMLElement* target) override;

    XIXMLNode* AsNode() override { return this; }
    const XIXMLNode* AsNode() const override { return this; }
    const char* GetText() override;
    void SetText(const char* text) override;
    void ScanText(const char* format, ...) override;
    void PrintText(const char* format, ...) override;

    // The data object, null when the node holds text.
    XIXMLData::IXMLCData* GetCData() { return mData; }

private:
    // The inline bytes: the text of a text node, the arena finalizer of a data object's node.
    char* InlineText() { return reinterpret_cast<char*>(this) + sizeof(XCXMLData); }
    ArenaFinalizer* Finalizer() { return reinterpret_cast<ArenaFinalizer*>(InlineText()); }
    void ReleaseObject() noexcept;
    // Releases the object of the node whose finalizer this is, when its arena is released whole.
    static void ReleaseWithArena(ArenaFinalizer* finalizer) noexcept;

    char* mText;
    XIXMLData::IXMLCData* mData;
};

// A comment.
class XCXMLComment : public XIXMLComment, public XCXMLNode {
public:
    explicit XCXMLComment(const char* text);
    ~XCXMLComment() override;

    XIXMLComment* AsComment() override { return this; }
    void Write(XCXMLWriter* writer, int32_t depth) override;
    XIXMLNode* CopyTo(XIXMLElement* target) override;

    XIXMLNode* AsNode() override { return this; }
    const XIXMLNode* AsNode() const override { return this; }
    const char* GetText() override { return mText; }
    void SetText(const char* text) override;

private:
    char* mText;
};

// A processing instruction.
class XCXMLPI : public XIXMLPI, public XCXMLNode {
public:
    XCXMLPI(const char* target, const char* data);
    ~XCXMLPI() override;

    XIXMLPI* AsPI() override { return this; }
    void Write(XCXMLWriter* writer, int32_t depth) override;
    XIXMLNode* CopyTo(XIXMLElement* target) override;

    XIXMLNode* AsNode() override { return this; }
    const XIXMLNode* AsNode() const override { return this; }
    const char* GetTarget() override { return mTarget; }
    void SetTarget(const char* target) override;
    const char* GetData() override { return mData; }
    void SetData(const char* data) override;

private:
    char* mTarget;
    char* mData;
};

// A document type declaration; the identifiers and subset are owned copies or null.
class XCXMLDocType : public XIXMLDocType, public XCXMLNode {
public:
    XCXMLDocType(const char* nameKey, const char* publicId, const char* systemId,
                 const char* internalSubset);
    ~XCXMLDocType() override;

    XIXMLDocType* AsDocType() override { return this; }
    void Write(XCXMLWriter* writer, int32_t depth) override;
    XIXMLNode* CopyTo(XIXMLElement* target) override;

    XIXMLNode* AsNode() override { return this; }
    const XIXMLNode* AsNode() const override { return this; }
    const char* GetName() override { return mName; }
    void SetName(const char* key) override { mName = key; }
    const char* GetPublicId() override { return mPublicId; }
    void SetPublicId(const char* publicId) override;
    const char* GetSystemId() override { return mSystemId; }
    void SetSystemId(const char* systemId) override;
    const char* GetInternalSubset() override { return mInternalSubset; }
    void SetInternalSubset(const char* subset) override;

private:
    const char* mName;
    char* mPublicId;
    char* mSystemId;
    char* mInternalSubset;
};

// The owner of one document: destroying it destroys the whole tree and its key table.
class XCXMLTree {
public:
    XCXMLTree();
    ~XCXMLTree();
    XCXMLTree(const XCXMLTree&) = delete;
    XCXMLTree& operator=(const XCXMLTree&) = delete;

    XCXMLRoot* GetRoot() { return mRoot; }

private:
    XCXMLRoot* mRoot;
};

}  // namespace NuvoraXML

#endif
