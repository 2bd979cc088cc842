#include "document/LegacyScene.h"

#include <cstring>
#include <exception>

#include "document/DocumentMessages.h"
#include "document/HeaderParsers.h"
#include "document/TokenReader.h"
#include "model/Scene.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

constexpr size_t kMaxFileName = 255;
constexpr const char* kDatabaseOption = "-dbfile";

bool isWord(const CToken& token, const char* text)
{
    return token.type == eTokenWord && token.text == text;
}

int32_t readVersionNumber(CTokenReader& reader)
{
    const CToken& token = reader.nextToken();
    if (token.type != eTokenNumber) {
        Nuvora::fail(DocMsg::kWrongFormat);
    }
    return CTokenReader::tokenToInt(token);
}

CLegacyHead readHead(CTokenReader& reader)
{
    CLegacyHead head;
    const CToken& first = reader.nextToken();
    if (first.type == eTokenOption) {
        if (first.text == kDatabaseOption) {
            head.kind = ELegacyHead::eDatabase;
        } else if (first.text == "-eye") {
            head.kind = ELegacyHead::eTolven;
        }
        return head;
    }
    if (!isWord(first, "opt") || !isWord(reader.nextToken(), "db") ||
        !isWord(reader.nextToken(), "version")) {
        return head;
    }
    head.major = readVersionNumber(reader);
    head.minor = readVersionNumber(reader);
    if (isKnownLegacyVersion(head.major, head.minor)) {
        head.kind = ELegacyHead::eOptions;
    }
    return head;
}

// Releases a secondary stream that the library opened, whatever happens.
class CSecondaryStream {
public:
    explicit CSecondaryStream(CScnStream* stream) : mStream(stream) {}
    ~CSecondaryStream()
    {
        try {
            mStream->release();
        } catch (...) {
            // A client stream that throws while it is destroyed cannot be released again.
        }
    }
    CSecondaryStream(const CSecondaryStream&) = delete;
    CSecondaryStream& operator=(const CSecondaryStream&) = delete;

private:
    CScnStream* mStream;
};

}  // namespace

bool isKnownLegacyVersion(int32_t major, int32_t minor)
{
    return (major == 3 && minor == 5) || (major == 4 && minor == 0);
}

CLegacyHead readLegacyHead(CTokenReader& reader)
{
    try {
        return readHead(reader);
    } catch (const std::exception&) {
        return CLegacyHead();
    }
}

void describeLegacyHead(const CLegacyHead& head, char* buffer, int32_t bufferSize)
{
    switch (head.kind) {
    case ELegacyHead::eOptions:
        describe(buffer, bufferSize, DocMsg::kLegacyOptionsDescription, head.major, head.minor);
        break;
    case ELegacyHead::eDatabase:
        describe(buffer, bufferSize, DocMsg::kLegacyDatabaseDescription, 0, 0);
        break;
    case ELegacyHead::eTolven:
        describe(buffer, bufferSize, DocMsg::kLegacyTolvenDescription, 0, 0);
        break;
    case ELegacyHead::eNone:
        break;
    }
}

std::string legacyFileName(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > kMaxFileName) {
        name.resize(kMaxFileName);
    }
    return name;
}

void COPTIO::read()
{
    readHead();
    readOptions();
}

void COPTIO::readHead()
{
    const CToken* token = &mReader.nextToken();
    if (isWord(*token, "opt")) {
        if (!isWord(mReader.nextToken(), "db")) {
            Nuvora::fail(DocMsg::kOptionsError);
        }
        token = &mReader.nextToken();
    }
    if (isWord(*token, "version")) {
        int32_t major = readVersionNumber(mReader);
        int32_t minor = readVersionNumber(mReader);
        if (!isKnownLegacyVersion(major, minor)) {
            Nuvora::fail(DocMsg::kWrongFormat);
        }
        mReader.nextToken();
    }
}

void readLegacyScene(CSCN& scene, CScnStream* stream)
{
    int64_t start = stream->getPosition();
    {
        CTokenReader probe(stream, nullptr);
        if (readLegacyHead(probe).kind == ELegacyHead::eNone) {
            Nuvora::fail(DocMsg::kNotValidScn);
        }
    }
    stream->setPosition(start);
    scene.setLegacyPath(std::string());
    {
        CTokenReader reader(stream, &scene);
        COPTIO(scene, reader).read();
    }
    if (scene.getLegacyPath().empty()) {
        return;
    }
    CScnStream* geometry = stream->openSecondaryStream(legacyFileName(scene.getLegacyPath()).c_str(), 0);
    if (geometry == nullptr) {
        Nuvora::fail(DocMsg::kCantOpenSecondary);
    }
    CSecondaryStream release(geometry);
    Nuvora::fail(DocMsg::kLegacyGeometryUnsupported);
}

}  // namespace NvScn
