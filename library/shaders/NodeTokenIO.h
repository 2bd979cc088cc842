// The token form of a shader node tree, as legacy material records and the legacy form of the
// shader document carry it.
#ifndef SCN_SHADERS_NODE_TOKEN_IO_H
#define SCN_SHADERS_NODE_TOKEN_IO_H

namespace NvScn {

class CSCN;
class CTokenReader;
class CTCENode;

// Reads one node with its subtree from the reader into a new tree holding one reference, whose
// nodes report through the scene. Bad input fails with a runtime error (the partial tree freed).
CTCENode* readNodeTokens(CSCN& scene, CTokenReader& reader);

}  // namespace NvScn

#endif
