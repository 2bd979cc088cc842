// The node tree of an XML document: every node kind behind the interfaces of ScnXML.h.
#ifndef NUVORA_XML_NODES_H
#define NUVORA_XML_NODES_H

#include <cstdint>

#include "ScnXML.h"
#include "xml/Mine.h"
#include "xml/NodeHeap.h"

namespace NuvoraXML {

class CHashKey;

// The common part of every node: sibling and parent links and the liveness guard.
class XCXMLNode : public XIXMLNode, public XCNodeMemory {
public:
    XCXMLNode() : mNext(nullptr), mParent(nullptr) {}
    // Unlinks the node from its parent.
    ~XCXMLNode() override;
    XCXMLNode(const XCXMLNode&) = delete;
    XCXMLNode& operator=(const XCXMLNode&) = delete;

    void Delete() override;
    XIXMLNode* GetNext() override { return mNext; }
    void SetNext(XIXMLNode* next) override { mNext = next; }
    XIXMLPI* AsPI() override { return nullptr; }
    XIXMLComment* AsComment() override { return nullptr; }
    XIXMLDocType* AsDocType() override { return nullptr; }
    XIXMLData* AsData() override { return nullptr; }
    XIXMLElement* AsElement() override { return nullptr; }
    XIXMLElement* GetParent() override { return mParent; }
    void SetParent(XIXMLElement* parent) override { mParent = parent; }
    int32_t GetIndex() override;

    // Fails with an assertion unless the node is alive.
    void CheckMine() const { mMine.CheckMine(); }

protected:
    XIXMLNode* mNext;
    XIXMLElement* mParent;
    XCMine mMine;
};

// A named element; children and attributes are singly linked in document order.
class XCXMLElement : public XIXMLElement, public XCXMLNode {
public:
    // nameKey: a key of the document's table (null only for the root).
    explicit XCXMLElement(const char* nameKey);
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
    XIXMLAttribute* GetFirstAttribute() override { return mFirstAttribute; }
    XIXMLAttribute* FindAttribute(const char* key) override;
    bool HasAttributeValue(const char* key, const char* value) override;

    // Appends an attribute whose value is length bytes (the reader's path, no length scan).
    XIXMLAttribute* AddAttributeBytes(const char* key, const char* value, size_t length);
    // Appends a text data node from length bytes (the reader's path, no length scan).
    XIXMLData* AddDataBytes(const char* text, size_t length);

protected:
    // Deletes attributes and descendants; the subtree is emptied from the front.
    void DestroyContent();
    // Links a new node as last child.
    void AppendChild(XIXMLNode* node);
    // Fails when the element already has a data node.
    void CheckNoData();

    const char* mName;
    XIXMLNode* mFirstChild;
    XIXMLAttribute* mFirstAttribute;
    // Append hints: the last child and attribute as far as known, or null.
    XIXMLNode* mLastChild;
    XIXMLAttribute* mLastAttribute;
};

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
    CHashKey* mKeys;
};

// A name and value pair of an element.
class XCXMLAttribute final : public XIXMLAttribute, public XCNodeMemory {
public:
    // The value (length bytes) goes to the inline bytes allocated behind the attribute.
    XCXMLAttribute(XIXMLElement* owner, const char* nameKey, const char* value, size_t length);
    // Unlinks the attribute from its owner and frees the value.
    ~XCXMLAttribute() override;
    XCXMLAttribute(const XCXMLAttribute&) = delete;
    XCXMLAttribute& operator=(const XCXMLAttribute&) = delete;

    void Delete() override;
    XIXMLAttribute* GetNext() override { return mNext; }
    void SetNext(XIXMLAttribute* next) override { mNext = next; }
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
    void SetOwner(XIXMLElement* owner) { mOwner = owner; }

private:
    char* InlineValue() { return reinterpret_cast<char*>(this) + sizeof(XCXMLAttribute); }

    XIXMLAttribute* mNext;
    XIXMLElement* mOwner;
    const char* mName;
    char* mValue;
    XCMine mMine;
};

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
    char* InlineText() { return reinterpret_cast<char*>(this) + sizeof(XCXMLData); }

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
