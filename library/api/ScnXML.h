// The XML document model that scenes keep in memory: nodes, elements, attributes, data.
// Names and values are NUL-terminated 8-bit strings taken and given as they are (UTF-8 in scene
// documents). Element and attribute names are interned keys: compare them by pointer.
#ifndef SCN_XML_H
#define SCN_XML_H

#include <cstdint>

namespace NuvoraXML {

class XCXMLWriter;
class XIXMLElement;
class XIXMLAttribute;
class XIXMLData;
class XIXMLComment;
class XIXMLPI;
class XIXMLDocType;

// A sink of bytes; a count shorter than asked is a failure.
class XIXMLWriteStream {
public:
    // Writes the bytes and answers how many were written.
    virtual int32_t Write(const void* bytes, int32_t length) = 0;

protected:
    ~XIXMLWriteStream() {}
};

// A source of bytes; 0 means the end of the data.
class CXMLReadStream {
public:
    // Delivers up to length bytes and answers how many.
    virtual int32_t Read(void* buffer, int32_t length) = 0;

protected:
    ~CXMLReadStream() {}
};

// Common part of every node of a tree.
class XIXMLNode {
public:
    // Checks the node is alive, unlinks it from its parent and destroys it with its subtree.
    virtual void Delete() = 0;
    // The next sibling, null at the end.
    virtual XIXMLNode* GetNext() = 0;
    virtual void SetNext(XIXMLNode* next) = 0;
    // The kind views: each answers null for a node of another kind.
    virtual XIXMLPI* AsPI() = 0;
    virtual XIXMLComment* AsComment() = 0;
    virtual XIXMLDocType* AsDocType() = 0;
    virtual XIXMLData* AsData() = 0;
    virtual XIXMLElement* AsElement() = 0;
    // Writes the node at the given nesting depth.
    virtual void Write(XCXMLWriter* writer, int32_t depth) = 0;
    // The parent element, null while detached.
    virtual XIXMLElement* GetParent() = 0;
    virtual void SetParent(XIXMLElement* parent) = 0;
    // Position among the parent's children, -1 when detached.
    virtual int32_t GetIndex() = 0;
    // Appends a deep copy of the node as last child of target and answers the copy.
    virtual XIXMLNode* CopyTo(XIXMLElement* target) = 0;
    virtual ~XIXMLNode() {}
};

// Character data of an element: a text, or a data object that writes itself as a CDATA section.
class XIXMLData {
public:
    // A binary payload that produces its CDATA text while the tree is written.
    class IXMLCData {
    public:
        // Writes the section's content; false on failure.
        virtual bool Write(XIXMLWriteStream* stream, int32_t depth, XIXMLData* node) = 0;
        // A new, independent data object over the same source, or null.
        virtual IXMLCData* Clone() = 0;
        // Destroys the data object.
        virtual void Release() = 0;
        virtual ~IXMLCData() {}
    };

    virtual XIXMLNode* AsNode() = 0;
    virtual const XIXMLNode* AsNode() const = 0;
    // The text; fails when the node holds a data object.
    virtual const char* GetText() = 0;
    // Replaces the text; fails when the node holds a data object.
    virtual void SetText(const char* text) = 0;
    // Reads exactly one value from the text with a scanf format ("%d", "%lf", "%08X").
    virtual void ScanText(const char* format, ...) = 0;
    // Replaces the text with a printf-formatted value of at most 2047 characters.
    virtual void PrintText(const char* format, ...) = 0;
    virtual ~XIXMLData() {}
};

// A named element with attributes and children, in document order.
class XIXMLElement {
public:
    virtual XIXMLNode* AsNode() = 0;
    virtual const XIXMLNode* AsNode() const = 0;
    // Writes this element and its subtree, starting at depth 0 without a leading line feed.
    virtual void Write(XIXMLWriteStream* stream) = 0;
    // Interns a name in the document's key table and answers the key; fails out of a tree.
    virtual const char* GetKey(const char* name) = 0;
    // Appends a detached node as last child.
    virtual void AddNode(XIXMLNode* node) = 0;
    // Detaches a child without deleting it; the caller then owns it.
    virtual void RemoveNode(XIXMLNode* node) = 0;
    // Moves a child so that it stands just before the child before.
    virtual void MoveNode(XIXMLNode* node, XIXMLNode* before) = 0;
    // Position of a child, -1 when it is not one.
    virtual int32_t IndexOf(XIXMLNode* node) = 0;
    // Appends an attribute (duplicates are not checked).
    virtual XIXMLAttribute* AddAttribute(const char* key, const char* value) = 0;
    // Unlinks an attribute.
    virtual void RemoveAttribute(XIXMLAttribute* attribute) = 0;
    virtual XIXMLPI* AddPI(const char* target, const char* data) = 0;
    virtual XIXMLComment* AddComment(const char* text) = 0;
    virtual XIXMLDocType* AddDocType(const char* nameKey, const char* publicId,
                                     const char* systemId, const char* internalSubset) = 0;
    // Adds the element's single data node holding a data object, which it then owns.
    virtual XIXMLData* AddData(XIXMLData::IXMLCData* data) = 0;
    // Adds the element's single data node holding a copy of the text.
    virtual XIXMLData* AddData(const char* text) = 0;
    // Appends a child element named by key.
    virtual XIXMLElement* AddElement(const char* key) = 0;
    virtual const char* GetName() = 0;
    virtual void SetName(const char* key) = 0;
    // The first data child, or null.
    virtual XIXMLData* GetData() = 0;
    virtual const XIXMLData* GetData() const = 0;
    virtual XIXMLNode* GetFirstChild() = 0;
    virtual XIXMLElement* GetFirstElement() = 0;
    // This element's next sibling that is an element.
    virtual XIXMLElement* GetNextElement() = 0;
    // The first child element named by key.
    virtual XIXMLElement* FindElement(const char* key) = 0;
    // The next sibling element with the same name as this one.
    virtual XIXMLElement* GetNextNamesake() = 0;
    virtual int32_t CountElements() = 0;
    // The index-th child element, or null.
    virtual XIXMLElement* GetElementAt(int32_t index) = 0;
    virtual XIXMLAttribute* GetFirstAttribute() = 0;
    // The attribute named by key; a key of "" answers the first attribute.
    virtual XIXMLAttribute* FindAttribute(const char* key) = 0;
    // Whether the attribute exists and its value equals value byte for byte.
    virtual bool HasAttributeValue(const char* key, const char* value) = 0;
    virtual ~XIXMLElement() {}
};

// A name and value pair of an element.
class XIXMLAttribute {
public:
    // Unlinks the attribute from its owner and destroys it.
    virtual void Delete() = 0;
    virtual XIXMLAttribute* GetNext() = 0;
    virtual void SetNext(XIXMLAttribute* next) = 0;
    virtual XIXMLElement* GetOwner() = 0;
    virtual const char* GetName() = 0;
    virtual void SetName(const char* key) = 0;
    virtual const char* GetValue() = 0;
    // Replaces the value with a copy.
    virtual void SetValue(const char* value) = 0;
    // Reads exactly one value with a scanf format ("%d", "%lf", "%08X").
    virtual void ScanValue(const char* format, ...) = 0;
    // Replaces the value with a printf-formatted value of at most 2047 characters.
    virtual void PrintValue(const char* format, ...) = 0;
    virtual void Write(XCXMLWriter* writer) = 0;
    // Adds a copy of the attribute to target.
    virtual void CopyTo(XIXMLElement* target) = 0;
    virtual ~XIXMLAttribute() {}
};

// A comment.
class XIXMLComment {
public:
    virtual XIXMLNode* AsNode() = 0;
    virtual const XIXMLNode* AsNode() const = 0;
    virtual const char* GetText() = 0;
    virtual void SetText(const char* text) = 0;
    virtual ~XIXMLComment() {}
};

// A processing instruction: target and data.
class XIXMLPI {
public:
    virtual XIXMLNode* AsNode() = 0;
    virtual const XIXMLNode* AsNode() const = 0;
    virtual const char* GetTarget() = 0;
    virtual void SetTarget(const char* target) = 0;
    virtual const char* GetData() = 0;
    virtual void SetData(const char* data) = 0;
    virtual ~XIXMLPI() {}
};

// A document type declaration; absent parts are null.
class XIXMLDocType {
public:
    virtual XIXMLNode* AsNode() = 0;
    virtual const XIXMLNode* AsNode() const = 0;
    virtual const char* GetName() = 0;
    virtual void SetName(const char* key) = 0;
    virtual const char* GetPublicId() = 0;
    virtual void SetPublicId(const char* publicId) = 0;
    virtual const char* GetSystemId() = 0;
    virtual void SetSystemId(const char* systemId) = 0;
    virtual const char* GetInternalSubset() = 0;
    virtual void SetInternalSubset(const char* subset) = 0;
    virtual ~XIXMLDocType() {}
};

// Receives each CDATA section of a document being read, with the element that will own it.
class IXMLCDataReader {
public:
    // Decodes the section; false aborts the parse.
    virtual bool Read(XIXMLElement* element, CXMLReadStream* stream) = 0;

protected:
    ~IXMLCDataReader() {}
};

}  // namespace NuvoraXML

#endif
