// Reads a whole document into a node tree, handing CDATA sections to an optional block reader.
#ifndef NUVORA_XML_TREEREADER_H
#define NUVORA_XML_TREEREADER_H

#include <cstddef>

#include "xml/KeyCache.h"
#include "xml/XMLNodes.h"
#include "xml/XMLParser.h"

namespace NuvoraXML {

// Builds one tree at a time from the parser's events; its quick steps call its handlers directly.
class CXMLTreeReader final : public CXMLParser {
public:
    // dataReader: decodes each CDATA section; null keeps sections as text.
    explicit CXMLTreeReader(IXMLCDataReader* dataReader = nullptr);
    ~CXMLTreeReader() override;

    // A new tree owned by the caller; on any failure the partial tree is destroyed and the
    // exception passes on.
    XCXMLTree* Read(CXMLReadStream* stream);

protected:
    void OnComment(const char* text) override;
    bool OnPI(const char* target, const char* data) override;
    void OnDocType(const char* name, const char* publicId, const char* systemId,
                   const char* internalSubset) override;
    void* OnStartElement(const char* name) override;
    void OnAttribute(const char* name, const char* value) override;
    void OnText(const char* text) override;
    void OnCData(CXMLReadStream* stream) override;
    void OnEndElement(void* handle) override;

private:
    struct DirectEvents;

    IXMLCDataReader* mDataReader;
    XCXMLTree* mTree;
    XCXMLRoot* mRoot;
    XCXMLElement* mCurrent;
    // The keys of the names of the document being read.
    CKeyCache mKeys;
};

}  // namespace NuvoraXML

#endif
