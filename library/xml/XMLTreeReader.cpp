#include "xml/XMLTreeReader.h"

#include <memory>

#include "platform/Failure.h"

namespace NuvoraXML {

CXMLTreeReader::CXMLTreeReader(IXMLCDataReader* dataReader)
    : mDataReader(dataReader), mTree(nullptr), mRoot(nullptr), mCurrent(nullptr)
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
    mKeys.Reset();
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

void* CXMLTreeReader::OnStartElement(const char* name)
{
    // Every element of the tree is made here, so the current element is always one of ours.
    mCurrent = mCurrent->AppendElement(mKeys.GetKey(name, GetNameLength(), mRoot));
    return mCurrent;
}

void CXMLTreeReader::OnAttribute(const char* name, const char* value)
{
    mCurrent->AddAttributeBytes(mKeys.GetKey(name, GetNameLength(), mRoot), value, GetValueLength());
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
