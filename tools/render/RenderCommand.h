// scntool render: a picture of a scene file.
#ifndef SCN_TOOLS_RENDER_COMMAND_H
#define SCN_TOOLS_RENDER_COMMAND_H

namespace ScnTools {

// Runs "scntool render FILE OUT.png [--view NAME|--auto] [--size WxH]" with the arguments after
// "render"; answers the exit code (0 done, 1 failed, 2 bad arguments).
int renderCommand(int argc, char** argv);

}  // namespace ScnTools

#endif
