// Fuzzes the export on any host-model file: the host loads it as `cadhost model` does, and when it
// loads, the add-on saves it as the user's save of the 3D window does, by the plain or the layer
// path. Whatever the model holds, the export must answer a result without a crash, a hang or a
// leak; a save that succeeds leaves a file the library reads back, one that fails leaves no file,
// no temporary file and no texture behind; the add-on keeps no view and no model.
#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ACAPI.h"
#include "fuzz/BytesStream.h"
#include "CADHost.h"
#include "fuzz/FuzzSupport.h"
#include "Scn.h"

namespace {

using ScnFuzz::contentOf;
using ScnFuzz::exists;
using ScnFuzz::require;

// The folder of this process: the host's home, the model and the export's folder.
const std::string& workFolder()
{
    static const std::string& folder = [] () -> const std::string& {
        const std::string& made = ScnFuzz::workFolder("export");
        require(std::system(("mkdir -p '" + made + "/out' '" + made + "/host/drives/c/source'").c_str()) == 0);
        return made;
    }();
    return folder;
}

cadhost::AddOn& addOn()
{
    static cadhost::AddOn* loaded = [] {
        cadhost::setHostFolder(workFolder() + "/host");
        auto* made = new cadhost::AddOn;
        if (!made->load(KSV_ADDON_PATH)) {
            std::fprintf(stderr, "fuzz_export: %s\n", made->error().c_str());
            std::abort();
        }
        return made;
    }();
    return *loaded;
}

// The names in a folder, none when it does not exist.
int entries(const std::string& folder)
{
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) {
        return 0;
    }
    int count = 0;
    while (dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        count += name != "." && name != "..";
    }
    closedir(directory);
    return count;
}

class Quiet : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char*) override {}
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
};

// Whether the library reads the scene file whole.
bool readsBack(const std::string& path)
{
    Quiet feedback;
    NvScn::CScnMgr* scene = NvScn::CScnMgr::create(&feedback, nullptr);
    ScnFuzz::BytesStream stream(contentOf(path));
    const bool read = scene->read(&stream) == 0;
    scene->release();
    return read;
}

}  // namespace

// libFuzzer: the add-on is loaded before the fuzzer counts the code it watches.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    addOn();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    cadhost::AddOn& loaded = addOn();
    const std::string folder = workFolder();
    const std::string out = folder + "/out";
    require(std::system(("rm -rf '" + out + "' && mkdir '" + out + "'").c_str()) == 0);
    cadhost::resetProject();
    cadhost::clearDebugLog();
    cadhost::clearTranscript();
    cadhost::setDialogScript({});
    const std::string model = folder + "/model.json";
    std::ofstream(model, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::string error;
    if (!cadhost::loadModel(model, cadhost::ModelOptions(), &error)) {
        return 0;
    }
    (void)cadhost::describeModel();

    // Odd sizes take the layer path.
    std::ofstream(folder + "/host/drives/c/source/config.ini") << (size % 2 != 0 ? "LayerEnabled=true\n" : "LayerEnabled=false\n");
    const std::string target = out + "/Export.scn";
    const cadhost::SaveRequest request(target, 5, 1);
    Modeler::Sight* sight = cadhost::openSight();
    const GSErrCode result = loaded.save3D(1, request.params, sight);
    require(sight->GetReferenceCount() == 1);
    sight->RemoveReference();
    require(cadhost::liveModelData() == 0);
    if (result == NoError) {
        require(exists(target) && readsBack(target));
    } else {
        // Nothing but an empty texture folder may stay.
        require(!exists(target));
        require(entries(out + "/Export_Textures") == 0);
        require(entries(out) <= 1);
    }
    return 0;
}
