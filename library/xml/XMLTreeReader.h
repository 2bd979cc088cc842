// Reads a whole document into a node tree, handing CDATA sections to an optional block reader.
#ifndef NUVORA_XML_TREEREADER_H
#define NUVORA_XML_TREEREADER_H

#include <cstddef>
#include <cstdint>

#include "xml/XMLNodes.h"
#include "xml/XMLParser.h"

namespace NuvoraXML {

// Builds one tree at a time from the parser's events.
class CXMLTreeReader : public CXMLParser {
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
    // The key of the name being reported (length bytes, readable for kScanWidth bytes at least),
    // through a cache in front of the key table.
    const char* Intern(const char* name, size_t length);

    // A name met before: its first 16 bytes (zero past its end), its length and its key.
    struct CachedKey {
        uint64_t head[2];
        size_t length;
        const char* key;
    };
    static constexpr size_t kKeyCacheBits = 9;
    static constexpr size_t kKeyCacheSize = size_t(1) << kKeyCacheBits;

    IXMLCDataReader* mDataReader;
    XCXMLTree* mTree;
    XCXMLRoot* mRoot;
    XCXMLElement* mCurrent;
    CachedKey mKeyCache[kKeyCacheSize];
};

}  // namespace NuvoraXML

#endif
