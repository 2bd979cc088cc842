// Fuzzes the scene tools on any document: the picture (from the current view and from an
// automatic one, which reads the geometry apart in two halves beside the points), the glTF of the
// scene and its stored preview must answer an exit code without a crash, a hang or a leak, and
// leave no output behind when they fail.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "GltfCommand.h"
#include "PreviewCommand.h"
#include "RenderCommand.h"
#include "fuzz/FuzzSupport.h"

namespace {

using ScnFuzz::exists;
using ScnFuzz::require;

// The folder of this process for the input and the outputs.
const std::string& workFolder() { return ScnFuzz::workFolder("tools"); }

// Runs a command with standard error sent away: the commands report every refusal there. A
// sanitizer's report goes there too; replay a crash with ASAN_OPTIONS=log_path=FILE (and
// UBSAN_OPTIONS likewise) to read it.
int quietly(int (*command)(int, char**), std::initializer_list<std::string> arguments)
{
    char* argv[8];
    int argc = 0;
    for (const std::string& argument : arguments) {
        argv[argc++] = const_cast<char*>(argument.c_str());
    }
    std::fflush(stderr);
    int saved = dup(2);
    int sink = open("/dev/null", O_WRONLY);
    dup2(sink, 2);
    close(sink);
    int code = command(argc, argv);
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input = workFolder() + "/in.scn";
    const std::string picture = workFolder() + "/out.png";
    const std::string gltf = workFolder() + "/out.glb";
    std::FILE* file = std::fopen(input.c_str(), "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    require(std::fclose(file) == 0);

    for (const char* view : {"", "--auto"}) {
        std::remove(picture.c_str());
        int code = *view == '\0' ? quietly(ScnTools::renderCommand, {input, picture, "--size", "24x16"})
                                 : quietly(ScnTools::renderCommand, {input, picture, view, "--size", "24x16"});
        require(code == 0 || !exists(picture));
    }
    std::remove(gltf.c_str());
    int code = quietly(ScnTools::gltfCommand, {input, gltf});
    require(code == 0 || !exists(gltf));
    std::remove(picture.c_str());
    code = quietly(ScnTools::previewCommand, {input, picture});
    require(code == 0 || !exists(picture));
    return 0;
}
