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
    std::fill(std::begin(mKeyCache), std::end(mKeyCache), CachedKey{{0, 0}, ~size_t(0), nullptr});
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

namespace {

// The bytes of a 64-bit word in memory order.
uint64_t loadWord(const char* bytes)
{
    uint64_t word;
    std::memcpy(&word, bytes, sizeof(word));
    return word;
}

// Keeps the first count (at most 8) bytes of a word loaded from memory, zeroing the others.
uint64_t keepBytes(uint64_t word, size_t count)
{
    if (count >= 8) {
        return word;
    }
    uint64_t kept = (uint64_t(1) << (8 * count)) - 1;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    kept = ~(~uint64_t(0) >> (8 * count));
#endif
    return word & kept;
}

}  // namespace

const char* CXMLTreeReader::Intern(const char* name, size_t length)
{
    static_assert(CXMLParser::kScanWidth >= 2 * sizeof(uint64_t), "a name head is two words");
    uint64_t first = keepBytes(loadWord(name), length);
    uint64_t second = length > 8 ? keepBytes(loadWord(name + 8), length - 8) : 0;
    uint64_t mix = (first ^ (second * 0x9E3779B97F4A7C15u) ^ length) * 0xFF51AFD7ED558CCDu;
    CachedKey& cached = mKeyCache[mix >> (64 - kKeyCacheBits)];
    if (cached.length == length && cached.head[0] == first && cached.head[1] == second &&
        (length <= 16 || std::memcmp(cached.key + 16, name + 16, length - 16) == 0)) {
        return cached.key;
    }
    const char* key = mRoot->GetKey(name);
    // A name holding a NUL byte is keyed by its part before it, which is not worth a place.
    if (std::strlen(key) == length) {
        cached = CachedKey{{first, second}, length, key};
    }
    return key;
}

void* CXMLTreeReader::OnStartElement(const char* name)
{
    // Every element of the tree is made here, so the current element is always one of ours.
    mCurrent = mCurrent->AppendElement(Intern(name, GetNameLength()));
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
    mCurrent = mCurrent->ParentElement();
}

}  // namespace NuvoraXML
