#include "xml/XMLTreeReader.h"

#include <memory>

#include "platform/Failure.h"
#include "xml/XMLParserSteps.h"

namespace NuvoraXML {

// The events of the quick steps as direct calls of the tree reader's handlers.
struct CXMLTreeReader::DirectEvents {
    static CXMLTreeReader& Reader(CXMLParser& parser) { return static_cast<CXMLTreeReader&>(parser); }
    static void* StartElement(CXMLParser& parser, const char* name)
    {
        return Reader(parser).CXMLTreeReader::OnStartElement(name);
    }
    static void Attribute(CXMLParser& parser, const char* name, const char* value)
    {
        Reader(parser).CXMLTreeReader::OnAttribute(name, value);
    }
    static void Text(CXMLParser& parser, const char* text) { Reader(parser).CXMLTreeReader::OnText(text); }
    static void EndElement(CXMLParser& parser, void* handle) { Reader(parser).CXMLTreeReader::OnEndElement(handle); }
    // The name the key cache expects next, when the input holds it as a whole name.
    static size_t KnownName(CXMLParser& parser, const unsigned char* name, const unsigned char* end)
    {
        size_t length =
            Reader(parser).mKeys.Expected(reinterpret_cast<const char*>(name), reinterpret_cast<const char*>(end));
        return length != 0 && ParserBytes::isNameStop(name[length]) ? length : 0;
    }
    static void* StartKnownElement(CXMLParser& parser)
    {
        CXMLTreeReader& reader = Reader(parser);
        reader.mCurrent = reader.mCurrent->AppendElement(reader.mKeys.TakeExpected());
        return reader.mCurrent;
    }
    static void KnownAttribute(CXMLParser& parser, const char* value)
    {
        CXMLTreeReader& reader = Reader(parser);
        reader.mCurrent->AddAttributeBytes(reader.mKeys.TakeExpected(), value, reader.GetValueLength());
    }
};

CXMLTreeReader::CXMLTreeReader(IXMLCDataReader* dataReader)
    : mDataReader(dataReader), mTree(nullptr), mRoot(nullptr), mCurrent(nullptr)
{
    SetFastSteps(&CXMLTreeReader::FastStepsFor<DirectEvents>);
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
