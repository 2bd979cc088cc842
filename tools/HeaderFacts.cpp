#include "HeaderFacts.h"

#include "document/HeaderParsers.h"
#include "xml/XMLStreams.h"

namespace ScnTools {

namespace {

// Runs a header parser from the stream's position and seeks back; a parser stops with an
// exception when the head ends, which is no failure here.
void runHeaderParser(NvScn::CScnStream* stream, NuvoraXML::CXMLParser& parser)
{
    int64_t start = stream->getPosition();
    try {
        NuvoraXML::CSCNXMLReadStream input(stream);
        parser.Parse(&input);
    } catch (...) {
    }
    stream->setPosition(start);
}

}  // namespace

HeaderFacts readHeaderFacts(NvScn::CScnStream* stream)
{
    HeaderFacts facts;
    NvScn::CCheckSCNFile versions;
    runHeaderParser(stream, versions);
    facts.library = versions.getLibraryVersion();
    facts.minimum = versions.getMinimumVersion();
    facts.safe = versions.getSafeVersion();
    facts.found = facts.library.major != 0;
    NvScn::CCheckSCNCreatorFile creator;
    runHeaderParser(stream, creator);
    facts.creator = creator.getCreator();
    return facts;
}

}  // namespace ScnTools
