#include "xml/XMLTreeReader.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>

#include "platform/Failure.h"

namespace NuvoraXML {

CXMLTreeReader::CXMLTreeReader(IXMLCDataReader* dataReader)
    : mDataReader(dataReader), mTree(nullptr), mRoot(nullptr), mCurrent(nullptr), mKeyCache()
{
}

CXMLTreeReader::~CXMLTreeReader() = default;

XCXMLTree* CXMLTreeReader::Read(CXMLReadStream* stream)
{
    if (mTree != nullptr) {
        Nuvora::fail();
    }
    std::unique_ptr<XCXMLTree> tree(new XCXMLTree());
    struct Idle {
        CXMLTreeReader* reader;
        ~Idle()
        {
            reader->mTree = nullptr;
            reader->mRoot = nullptr;
            reader->mCurrent = nullptr;
        }
    } idle{this};
    std::fill(std::begin(mKeyCache), std::end(mKeyCache), CachedKey{nullptr, 0});
    mTree = tree.get();
    mRoot = tree->GetRoot();
    mCurrent = mRoot;
    Parse(stream);
    return tree.release();
}

void CXMLTreeReader::OnComment(const char* text)
{
    mCurrent->AddComment(text);
}

bool CXMLTreeReader::OnPI(const char* target, const char* data)
{
    mCurrent->AddPI(target, data);
    return true;
}

void CXMLTreeReader::OnDocType(const char* name, const char* publicId, const char* systemId,
                               const char* internalSubset)
{
    mCurrent->AddDocType(mRoot->GetKey(name), publicId, systemId, internalSubset);
}

const char* CXMLTreeReader::Intern(const char* name, size_t length)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(name);
    size_t slot = (length * 131u + bytes[0] * 31u + bytes[length != 0 ? length - 1 : 0]) % kKeyCacheSize;
    CachedKey& cached = mKeyCache[slot];
    if (cached.key != nullptr && cached.length == length) {
        size_t i = 0;
        while (i < length && cached.key[i] == name[i]) {
            ++i;
        }
        if (i == length) {
            return cached.key;
        }
    }
    const char* key = mRoot->GetKey(name);
    cached = CachedKey{key, std::strlen(key)};
    return key;
}

void* CXMLTreeReader::OnStartElement(const char* name)
{
    // Every element of the tree is made here, so the current element is always one of ours.
    mCurrent = static_cast<XCXMLElement*>(mCurrent->AddElement(Intern(name, GetNameLength())));
    return mCurrent;
}

void CXMLTreeReader::OnAttribute(const char* name, const char* value)
{
    mCurrent->AddAttributeBytes(Intern(name, GetNameLength()), value, GetValueLength());
}

void CXMLTreeReader::OnText(const char* text)
{
    mCurrent->AddDataBytes(text, GetValueLength());
}

void CXMLTreeReader::OnCData(CXMLReadStream* stream)
{
    if (mDataReader == nullptr) {
        CXMLParser::OnCData(stream);
        return;
    }
    if (!mDataReader->Read(mCurrent, stream)) {
        Nuvora::fail();
    }
}

void CXMLTreeReader::OnEndElement(void* handle)
{
    if (handle != mCurrent || mCurrent == mRoot) {
        Nuvora::fail();
    }
    mCurrent = static_cast<XCXMLElement*>(mCurrent->AsNode()->GetParent());
}

}  // namespace NuvoraXML
