// scntool preview: the preview picture stored in a scene file.
#ifndef SCN_TOOLS_PREVIEW_COMMAND_H
#define SCN_TOOLS_PREVIEW_COMMAND_H

namespace ScnTools {

// Runs "scntool preview FILE OUT.png" with the arguments after "preview"; answers the exit code
// (0 done, 1 failed, 2 bad arguments).
int previewCommand(int argc, char** argv);

}  // namespace ScnTools

#endif
