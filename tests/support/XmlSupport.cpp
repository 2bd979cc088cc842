#include "support/XmlSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "xml/XMLTreeReader.h"

namespace ScnTest {

int32_t StringWriteStream::Write(const void* data, int32_t length)
{
    bytes.append(static_cast<const char*>(data), static_cast<size_t>(length));
    return length;
}

int32_t StringReadStream::Read(void* buffer, int32_t length)
{
    size_t count = std::min(static_cast<size_t>(length), mBytes.size() - mPosition);
    std::memcpy(buffer, mBytes.data() + mPosition, count);
    mPosition += count;
    return static_cast<int32_t>(count);
}

XmlDocument::XmlDocument(const char* topName) : tree(new NuvoraXML::XCXMLTree())
{
    NuvoraXML::XIXMLElement* root = tree->GetRoot();
    mTop = root->AddElement(root->GetKey(topName));
}

std::string writeElement(NuvoraXML::XIXMLElement* element)
{
    StringWriteStream out;
    element->Write(&out);
    return out.bytes;
}

std::unique_ptr<NuvoraXML::XCXMLTree> parseDocument(const std::string& bytes)
{
    StringReadStream in(bytes);
    NuvoraXML::CXMLTreeReader reader;
    try {
        return std::unique_ptr<NuvoraXML::XCXMLTree>(reader.Read(&in));
    } catch (const std::exception& error) {
        ADD_FAILURE() << "parse failed: " << error.what() << "\n" << bytes;
    }
    return nullptr;
}

NuvoraXML::XIXMLElement* documentElement(NuvoraXML::XCXMLTree& tree)
{
    return tree.GetRoot()->GetFirstElement();
}

}  // namespace ScnTest
