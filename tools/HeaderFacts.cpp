#include "HeaderFacts.h"

#include "ScnMgr.h"

namespace ScnTools {

HeaderFacts readHeaderFacts(NvScn::CScnStream* stream)
{
    HeaderFacts facts;
    NvScn::eReadability verdict = NvScn::eNotScnFile;
    NvScn::CScnMgr::checkFormat2(stream, &verdict, &facts.library, nullptr, 0);
    facts.found = facts.library.major != 0;
    return facts;
}

}  // namespace ScnTools
