#include "GSScnFeedback.h"

#include <new>

namespace KSV {

void GSScnFeedback::warning(NvScn::CScnMgr*, const char* text)
{
    DBPrintf("GSScnFeedback::warning(\"%s\")\n", text != nullptr ? text : "");
}

bool GSScnFeedback::progress(NvScn::CScnMgr*, int32_t, int32_t) { return true; }

Cancel::Cancel() : GS::RootException(nullptr, nullptr, 0, GS::NoCause, Error) {}

const char* Cancel::GetName() const { return "Cancel"; }

GS::GSException* Cancel::Clone() const
{
    Cancel* copy = new (std::nothrow) Cancel(*this);
    if (copy == nullptr) {
        throw GS::OutOfMemoryException();
    }
    return copy;
}

}  // namespace KSV
