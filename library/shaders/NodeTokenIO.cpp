// The token form of a shader node tree: not readable by this library version yet.
#include "shaders/NodeTokenIO.h"

#include "model/Messages.h"
#include "platform/Failure.h"

namespace NvScn {

CTCENode* readNodeTokens(CSCN&, CTokenReader&)
{
    Nuvora::fail(Msg::kCantReadTce);
}

}  // namespace NvScn
