// Detection answers "not recognised" until the header parsers are in place.
#include "document/Detection.h"

namespace NvScn {

bool checkScnFormat(CScnStream*, char* buffer, int32_t bufferSize)
{
    if (buffer != nullptr && bufferSize > 0) {
        buffer[0] = '\0';
    }
    return false;
}

bool checkScnFormat2(CScnStream*, eReadability* verdict, CScnVersion*, char* buffer, int32_t bufferSize)
{
    if (verdict != nullptr) {
        *verdict = eNotScnFile;
    }
    if (buffer != nullptr && bufferSize > 0) {
        buffer[0] = '\0';
    }
    return false;
}

}  // namespace NvScn
