// scntool: tells what a scene file holds, and reads and writes scene files again, through the
// library's public interface.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FileStream.h"
#include "GltfCommand.h"
#include "HeaderFacts.h"
#include "PreviewCommand.h"
#include "RenderCommand.h"
#include "ScnMaterials.h"
#include "Scn.h"

namespace {

using NvScn::CScnMgr;
using ScnTools::FileStream;
using ScnTools::openFile;

constexpr int kFailure = 1;
constexpr int kUsage = 2;

// Keeps the library's reports, to show them when an operation fails.
class Feedback : public NvScn::CScnFeedback {
public:
    void warning(CScnMgr*, const char* text) override { reports.emplace_back(text != nullptr ? text : ""); }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }

    void print() const
    {
        for (const std::string& report : reports) {
            std::fprintf(stderr, "  %s\n", report.c_str());
        }
    }

    std::vector<std::string> reports;
};

// Releases a manager when it goes out of scope.
struct ManagerDeleter {
    void operator()(CScnMgr* manager) const { manager->release(); }
};
using Manager = std::unique_ptr<CScnMgr, ManagerDeleter>;

const char* verdictMeaning(int32_t verdict)
{
    static const char* const kMeanings[] = {
        "not a scene file, or not recognised",
        "written by a library older than 3.0.1",
        "written by a library from 3.0.1 up to 3.0.3 excluded",
        "written by this library version (3.0.3), or a legacy scene file",
        "written by a newer library, safe and minimum versions within reach",
        "written by a newer library, readable but not safely",
        "not readable by this library",
        "written by another application with a readable library",
    };
    return verdict >= 0 && verdict < 8 ? kMeanings[verdict] : "unknown verdict";
}

std::string versionText(const NvScn::CScnVersion& version)
{
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.patch);
}

// Shortest text that reads back as the same double, whatever the process locale.
std::string realText(double value)
{
    char digits[32];
    std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

void line(const char* key, const std::string& value)
{
    std::printf("%-16s %s\n", key, value.c_str());
}

template <class Collection>
void countLine(const char* key, Collection* collection)
{
    line(key, std::to_string(collection != nullptr ? collection->getNbObjects() : 0));
}

// The sum over the items of list of the size of what items(item) answers.
template <class List, class Items>
int64_t sumOver(List* list, Items&& items)
{
    int64_t total = 0;
    for (int32_t i = 0, count = list != nullptr ? list->getNbObjects() : 0; i < count; ++i) {
        auto* inner = items(list->getScnObject(static_cast<uint32_t>(i)));
        total += inner != nullptr ? inner->getNbObjects() : 0;
    }
    return total;
}

// Layers, the animation kinds, and the geometry of the internal components (where a layer-path
// export keeps all of it).
void printObjectCounts(CScnMgr* scene)
{
    NvScn::CScnMgrEx* ex = scene->getMgrEx(NvScn::eCurrentExtendedVersionSCN);
    countLine("layers", scene->getLayers());
    line("camera paths", std::to_string(sumOver(ex != nullptr ? ex->getAnimations() : nullptr,
                                                [](NvScn::IScnAnimation* a) { return a->getCameraPaths(); })));
    countLine("animations", ex != nullptr ? ex->getAnimations() : nullptr);
    line("sequences", std::to_string(sumOver(scene->getScenarios(),
                                             [](NvScn::IScnScenario* s) { return s->getSequences(); })));
    countLine("scenarios", scene->getScenarios());
    countLine("panoramas", ex != nullptr ? ex->getPanoramas() : nullptr);
    NvScn::TScnObjectMgr<NvScn::IScnInternalComponentDefinition>* components =
        scene->getInternalComponentDefinitions();
    countLine("components", components);
    line("comp. points", std::to_string(sumOver(components, [](NvScn::IScnInternalComponentDefinition* c) {
             return c->getPoints();
         })));
    line("comp. polygons", std::to_string(sumOver(components, [](NvScn::IScnInternalComponentDefinition* c) {
             return c->getPolygons();
         })));
}

// A new manager that has read the file, or null after printing why not.
Manager readScene(const std::string& path, Feedback& feedback, FileStream& stream)
{
    Manager manager(CScnMgr::create(&feedback, nullptr));
    if (!manager) {
        std::fprintf(stderr, "scntool: the library refused to make a scene\n");
        feedback.print();
        return nullptr;
    }
    if (manager->read(&stream) != 0) {
        std::fprintf(stderr, "scntool: cannot read %s\n", path.c_str());
        feedback.print();
        return nullptr;
    }
    return manager;
}

int info(const std::string& path)
{
    std::unique_ptr<FileStream> stream = openFile(path, "rb");
    if (!stream) {
        return kFailure;
    }
    NvScn::eReadability verdict = NvScn::eNotScnFile;
    NvScn::CScnVersion version{};
    char description[128] = {};
    CScnMgr::checkFormat2(stream.get(), &verdict, &version, description, sizeof description);
    ScnTools::HeaderFacts header = ScnTools::readHeaderFacts(stream.get());

    line("file", path);
    line("verdict", std::to_string(verdict) + " - " + verdictMeaning(verdict));
    line("description", description);
    line("library", header.found ? versionText(header.library) : "none");
    line("minimum version", header.found ? versionText(header.minimum) : "none");
    line("safe version", header.found ? versionText(header.safe) : "none");
    line("creator", header.creator.empty() ? "none" : header.creator);
    std::fflush(stdout);

    Feedback feedback;
    Manager scene = readScene(path, feedback, *stream);
    if (!scene) {
        return kFailure;
    }
    int32_t major = 0;
    int32_t minor = 0;
    scene->getFileFormat(&major, &minor);
    line("file format", std::to_string(major) + "." + std::to_string(minor));
    countLine("points", scene->getPoints());
    countLine("polygons", scene->getPolygons());
    countLine("materials", scene->getMaterials());
    countLine("lights", scene->getLights());
    countLine("views", scene->getPerspectiveViews());
    countLine("parallel views", scene->getParallelViews());
    countLine("heliodons", scene->getHeliodons());
    countLine("images", scene->getImages());
    countLine("definitions", scene->getObjectDefinitions());
    countLine("instances", scene->getObjectInstances());
    printObjectCounts(scene.get());
    const NvScn::CScnVector* origin = scene->getFileInfo()->getOrigin();
    line("origin", realText(origin->x) + " " + realText(origin->y) + " " + realText(origin->z));
    uint32_t width = 0;
    uint32_t height = 0;
    scene->getPreviewImage()->getPixels(&width, &height, nullptr);
    line("preview", std::to_string(width) + " x " + std::to_string(height));
    for (const std::string& report : feedback.reports) {
        line("report", report);
    }
    return 0;
}

int convert(const std::string& from, const std::string& to)
{
    std::unique_ptr<FileStream> input = openFile(from, "rb");
    if (!input) {
        return kFailure;
    }
    // The library keeps no creator from a file it reads: the converted file names the same one
    // (its version is not known to the header parsers).
    std::string creator = ScnTools::readHeaderFacts(input.get()).creator;
    Feedback feedback;
    Manager scene = readScene(from, feedback, *input);
    if (!scene) {
        return kFailure;
    }
    scene->setApplication(creator.c_str(), "");
    std::unique_ptr<FileStream> output = openFile(to, "wb");
    if (!output) {
        return kFailure;
    }
    bool written = scene->write(output.get()) == 0;
    bool closed = output->close();
    if (!written || !closed) {
        std::fprintf(stderr, "scntool: cannot write %s\n", to.c_str());
        if (!closed) {
            std::fprintf(stderr, "  the file system refused the data\n");
        }
        feedback.print();
        std::remove(to.c_str());
        return kFailure;
    }
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: scntool info FILE          tell what a scene file holds\n"
                 "       scntool convert IN OUT     read a scene file and write it again\n"
                 "       scntool materials FILE     list the materials: index, name, flags, colour, texture\n"
                 "       scntool render FILE OUT.png [--view NAME|--auto] [--size WxH]\n"
                 "                                  draw a picture of the scene\n"
                 "       scntool preview FILE OUT.png\n"
                 "                                  save the preview picture stored in the file\n"
                 "       scntool gltf FILE OUT.glb|OUT.gltf\n"
                 "                                  export the scene as glTF 2.0\n");
    return kUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "info") == 0) {
        return info(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "materials") == 0) {
        return ScnTools::listMaterials(argv[2]);
    }
    if (argc == 4 && std::strcmp(argv[1], "convert") == 0) {
        return convert(argv[2], argv[3]);
    }
    if (argc >= 2 && std::strcmp(argv[1], "render") == 0) {
        return ScnTools::renderCommand(argc - 2, argv + 2);
    }
    if (argc >= 2 && std::strcmp(argv[1], "preview") == 0) {
        return ScnTools::previewCommand(argc - 2, argv + 2);
    }
    if (argc >= 2 && std::strcmp(argv[1], "gltf") == 0) {
        return ScnTools::gltfCommand(argc - 2, argv + 2);
    }
    return usage();
}
