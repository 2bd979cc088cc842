// The facts of a scene document's head that the public interface does not give: the minimum
// and safe library versions and the creating application.
#ifndef SCN_TOOLS_HEADER_FACTS_H
#define SCN_TOOLS_HEADER_FACTS_H

#include <string>

#include "ScnClient.h"

namespace ScnTools {

struct HeaderFacts {
    bool found = false;  // the head names the writing library
    NvScn::CScnVersion library{};
    NvScn::CScnVersion minimum{};
    NvScn::CScnVersion safe{};
    std::string creator;  // empty when the head names none
};

// Reads the head of a scene document; the stream is left where it was found.
HeaderFacts readHeaderFacts(NvScn::CScnStream* stream);

}  // namespace ScnTools

#endif
