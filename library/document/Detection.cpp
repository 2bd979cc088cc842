#include "document/Detection.h"

#include <exception>
#include <string>

#include "document/DocumentMessages.h"
#include "document/HeaderParsers.h"
#include "document/LegacyScene.h"
#include "document/PIText.h"
#include "document/TokenReader.h"
#include "platform/Failure.h"
#include "xml/XMLStreams.h"

namespace NvScn {

namespace {

constexpr const char* kProductCreator = "Kestrovin";
constexpr const char* kForgeCreator = "Model Forge";

// Remembers the stream position and puts the stream back there, whatever happens.
class CPositionKeeper {
public:
    explicit CPositionKeeper(CScnStream* stream) : mStream(stream), mPosition(stream->getPosition()) {}
    ~CPositionKeeper()
    {
        try {
            mStream->setPosition(mPosition);
        } catch (...) {
            // A client stream that throws while seeking cannot be put back.
        }
    }
    CPositionKeeper(const CPositionKeeper&) = delete;
    CPositionKeeper& operator=(const CPositionKeeper&) = delete;

    void rewind() { mStream->setPosition(mPosition); }

private:
    CScnStream* mStream;
    int64_t mPosition;
};

// What the head of a stream tells: for a document its versions and creator, otherwise the kind
// of legacy head.
struct CHeadFacts {
    bool xml = false;
    CScnVersion library{};
    CScnVersion minimum{};
    CScnVersion safe{};
    int32_t fileMajor = 0;
    int32_t fileMinor = 0;
    std::string creator;
    CLegacyHead legacy;
};

// Runs a header parser over the stream; its failures are swallowed (the parser keeps what it
// found before).
void runHeaderParser(NuvoraXML::CXMLParser& parser, CScnStream* stream)
{
    NuvoraXML::CSCNXMLReadStream input(stream);
    try {
        parser.Parse(&input);
    } catch (const std::exception&) {
    }
}

// Reads the head of the stream and puts the stream back where it was.
CHeadFacts examine(CScnStream* stream, bool withCreator)
{
    CHeadFacts facts;
    CPositionKeeper keeper(stream);
    char first = 0;
    facts.xml = stream->read(&first, 1) == 1 && first == '<';
    keeper.rewind();
    if (!facts.xml) {
        CTokenReader reader(stream, nullptr);
        facts.legacy = readLegacyHead(reader);
        return facts;
    }
    CCheckSCNFile header;
    runHeaderParser(header, stream);
    facts.library = header.getLibraryVersion();
    facts.minimum = header.getMinimumVersion();
    facts.safe = header.getSafeVersion();
    facts.fileMajor = header.getFileMajor();
    facts.fileMinor = header.getFileMinor();
    if (withCreator) {
        keeper.rewind();
        CCheckSCNCreatorFile creator;
        runHeaderParser(creator, stream);
        facts.creator = creator.getCreator();
    }
    return facts;
}

bool isFirstAbove100(const CScnVersion& version)
{
    return PIText::versionLess(PIText::makeVersion(1, 0, 0), version);
}

bool isOwnCreator(const std::string& creator)
{
    return creator == kProductCreator || creator == kForgeCreator;
}

// The verdict of a scene document from its versions and creator.
eReadability documentVerdict(const CHeadFacts& facts)
{
    const CScnVersion& library = facts.library;
    const CScnVersion& current = PIText::kCurrentVersion;
    if (isFirstAbove100(library) && !facts.creator.empty() && !isOwnCreator(facts.creator)) {
        return library.major > 3 ? eNotReadable : eForeignCreator;
    }
    if (PIText::versionLess(current, facts.minimum)) {
        return eNotReadable;
    }
    if (PIText::versionLess(current, facts.safe)) {
        return eNewerUnsafe;
    }
    if (PIText::versionLess(current, library)) {
        return eNewerSafe;
    }
    if (!PIText::versionLess(library, current)) {
        return eCurrentVersion;
    }
    if (PIText::versionLess(library, PIText::kDefaultMinimumVersion)) {
        return eOlderThan301;
    }
    return eOlderThanCurrent;
}

void clearBuffer(char* buffer, int32_t bufferSize)
{
    if (buffer != nullptr && bufferSize > 0) {
        buffer[0] = '\0';
    }
}

}  // namespace

bool checkScnFormat(CScnStream* stream, char* buffer, int32_t bufferSize)
{
    clearBuffer(buffer, bufferSize);
    try {
        CHeadFacts facts = examine(Nuvora::checkPointer(stream, nullptr), false);
        if (!facts.xml) {
            describeLegacyHead(facts.legacy, buffer, bufferSize);
            return facts.legacy.kind != ELegacyHead::eNone;
        }
        if (facts.library.major == 0) {
            return false;
        }
        describe(buffer, bufferSize, DocMsg::kSceneDescription, facts.fileMajor, facts.fileMinor);
        return true;
    } catch (...) {
        return false;
    }
}

bool checkScnFormat2(CScnStream* stream, eReadability* verdict, CScnVersion* version, char* buffer,
                     int32_t bufferSize)
{
    eReadability dummy = eNotScnFile;
    eReadability& result = verdict != nullptr ? *verdict : dummy;
    result = eNotScnFile;
    clearBuffer(buffer, bufferSize);
    try {
        CHeadFacts facts = examine(Nuvora::checkPointer(stream, nullptr), true);
        if (!facts.xml) {
            if (facts.legacy.kind == ELegacyHead::eNone) {
                return false;
            }
            result = eCurrentVersion;
            describeLegacyHead(facts.legacy, buffer, bufferSize);
            return true;
        }
        if (facts.library.major == 0) {
            return false;
        }
        if (version != nullptr) {
            *version = facts.library;
        }
        result = documentVerdict(facts);
        if (result == eNotReadable) {
            return false;
        }
        describe(buffer, bufferSize, DocMsg::kSceneDescription, facts.fileMajor, facts.fileMinor);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace NvScn
