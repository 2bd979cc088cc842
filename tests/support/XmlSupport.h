// Building, writing and reading XML trees in tests.
#ifndef SCN_TEST_XML_SUPPORT_H
#define SCN_TEST_XML_SUPPORT_H

#include <memory>
#include <string>

#include "ScnXML.h"
#include "xml/XMLNodes.h"

namespace ScnTest {

// Collects written bytes.
class StringWriteStream : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override;
    std::string bytes;
};

// Delivers a string's bytes, then the end of the data.
class StringReadStream : public NuvoraXML::CXMLReadStream {
public:
    explicit StringReadStream(std::string bytes) : mBytes(std::move(bytes)) {}
    int32_t Read(void* buffer, int32_t length) override;

private:
    std::string mBytes;
    size_t mPosition = 0;
};

// A document with one element of the given name under its root.
struct XmlDocument {
    explicit XmlDocument(const char* topName = "Scn.File");
    NuvoraXML::XIXMLElement* top() const { return mTop; }
    std::unique_ptr<NuvoraXML::XCXMLTree> tree;

private:
    NuvoraXML::XIXMLElement* mTop;
};

// The bytes of an element and its subtree as the writer produces them.
std::string writeElement(NuvoraXML::XIXMLElement* element);
// Parses a document (a parse failure fails the test and answers null); the tree belongs to the caller.
std::unique_ptr<NuvoraXML::XCXMLTree> parseDocument(const std::string& bytes);
// The first element of a parsed document (its document element).
NuvoraXML::XIXMLElement* documentElement(NuvoraXML::XCXMLTree& tree);

}  // namespace ScnTest

#endif
