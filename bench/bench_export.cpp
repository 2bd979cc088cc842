// The export of a host model through the add-on, by the plain and by the layer path, side by side
// in one run with two peers: the library writing the same geometry from an external storage of
// its own into the same kind of file stream (the add-on's cost over the library), and the import
// library writing the same mesh as OBJ. Building the host model is the host's and not timed. Then the FZK house end to end by both paths: the runner's export against the import
// library's command exporting the IFC file to OBJ.
// Each case runs in a child process; the figures are the elapsed and the processor seconds (user
// and system, all threads) of the timed part, medians of several rounds in which the add-on's
// two paths and the library take turns, and the peak resident memory the timed part adds. Each
// case writes a new file (the one of its previous round is removed before the clock starts)
// unless asked to write over it.
#include "CADHost.h"
#include "GSScnExternal.h"
#include "GSScnFileStream.h"
#include "Module.h"

#include <Scn.h>

#include <assimp/Exporter.hpp>
#include <assimp/scene.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <chrono>
#include <vector>

namespace {

struct Outcome {
    double seconds = 0;       // processor seconds of the timed part
    double wall = 0;          // elapsed seconds of the timed part
    long peakGrowthKb = 0;    // peak resident size beyond the state before the timed part
    long bytes = 0;           // size of what was written
};

double processorSeconds(const rusage& usage)
{
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return processorSeconds(usage);
}

// A line of /proc/self/status in kB ("VmRSS", "VmHWM"); 0 when missing.
long statusKb(const char* field)
{
    FILE* file = std::fopen("/proc/self/status", "r");
    char line[256];
    long value = 0;
    const std::size_t length = std::strlen(field);
    while (file != nullptr && std::fgets(line, sizeof line, file) != nullptr) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::atol(line + length + 1);
        }
    }
    if (file != nullptr) {
        std::fclose(file);
    }
    return value;
}

// Starts the peak resident size afresh at the current size.
void resetPeak()
{
    FILE* file = std::fopen("/proc/self/clear_refs", "w");
    if (file != nullptr) {
        std::fputs("5", file);
        std::fclose(file);
    }
}

long fileBytes(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return -1;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

// Runs the case in a child: prepare (untimed), then the timed part, which answers the bytes written.
Outcome measure(const std::function<void()>& prepare, const std::function<long()>& timed)
{
    std::fflush(stdout);
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        prepare();
        Outcome outcome;
        resetPeak();
        const long before = statusKb("VmRSS");
        const double start = processorSeconds();
        const auto began = std::chrono::steady_clock::now();
        outcome.bytes = timed();
        outcome.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        outcome.seconds = processorSeconds() - start;
        outcome.peakGrowthKb = statusKb("VmHWM") - before;
        const ssize_t written = write(channel[1], &outcome, sizeof outcome);
        _exit(written == sizeof outcome && outcome.bytes > 0 ? 0 : 1);
    }
    close(channel[1]);
    Outcome outcome;
    const ssize_t got = read(channel[0], &outcome, sizeof outcome);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof outcome || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_export: a measurement failed\n");
        std::exit(1);
    }
    return outcome;
}

// Runs a command as a child process and answers its elapsed and processor seconds.
Outcome measureCommand(const std::vector<std::string>& arguments, const std::string& output)
{
    std::fflush(stdout);
    const auto began = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (const std::string& a : arguments) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        if (freopen("/dev/null", "w", stdout) == nullptr || freopen("/dev/null", "w", stderr) == nullptr) {
            _exit(127);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::string command;
        for (const std::string& a : arguments) {
            command += (command.empty() ? "" : " ") + a;
        }
        std::fprintf(stderr, "bench_export: %s failed (%s %d)\n", command.c_str(),
                     WIFEXITED(status) ? "exit code" : "signal", WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
        std::exit(1);
    }
    Outcome outcome;
    outcome.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    outcome.seconds = processorSeconds(usage);
    outcome.peakGrowthKb = usage.ru_maxrss;
    outcome.bytes = fileBytes(output);
    return outcome;
}

// The median of each figure on its own.
Outcome median(std::vector<Outcome> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Outcome& a, const Outcome& b) { return a.wall < b.wall; });
    const double wall = runs[runs.size() / 2].wall;
    std::sort(runs.begin(), runs.end(), [](const Outcome& a, const Outcome& b) { return a.seconds < b.seconds; });
    Outcome middle = runs[runs.size() / 2];
    middle.wall = wall;
    return middle;
}

std::string gScratch;
pid_t gOwner = 0;
std::string gAddOn;
cadhost::AddOn* gLoaded = nullptr;
int gRuns = 3;
bool gWithObj = true;   // the OBJ peer of the generated models
// Whether each case writes over the file the case before it left. Replacing a file costs the file
// system more than writing a new one, and differently for the add-on (a new file renamed over the
// old one) and the library (the old file cut short): by default each case writes a new file.
bool gOverPrevious = false;

// The files the cases of the generated models write, in the scratch folder.
const char kAddOnFile[] = "addon.scn";
const char kLibraryFile[] = "library.scn";
const char kObjFile[] = "assimp.obj";

std::string scratchFile(const char* name) { return gScratch + "/" + name; }

// Removes the file a case writes, unless the cases are to write over each other's files.
void clearTarget(const char* name)
{
    if (!gOverPrevious) {
        ::unlink(scratchFile(name).c_str());
    }
}

// The geometry as the add-on supplies it, kept in arrays: what the library's own storage holds.
struct Geometry {
    std::vector<NvScn::CScnVector> points;
    std::vector<int32_t> properties;
    std::vector<uint32_t> firstVertex;   // polygon i: vertices firstVertex[i] to firstVertex[i + 1]
    std::vector<NvScn::CScnVertex> vertices;
};

Geometry gGeometry;

void captureGeometry()
{
    Modeler::Sight* sight = cadhost::openSight();
    EXPModel model = {};
    EXPGetModel(sight, &model);
    KSV::ProgressStrings strings;
    KSV::MaterialMap map;
    KSV::ExportOptions options;
    KSV::resetOptions(&options);
    options.textureWall = options.textureSlab = options.textureRoof = options.textureOthers = 1;
    KSV::GSScnExternal supplier(*EXPGetModelFunctionTable(), model, strings, map, false);
    supplier.setTextureOptions(options);
    NvScn::CScnMgr* scratch = NvScn::CScnMgr::create(nullptr, nullptr);
    gGeometry.points.resize(static_cast<std::size_t>(supplier.getNbPoints(nullptr)));
    for (std::size_t i = 0; i < gGeometry.points.size(); ++i) {
        supplier.fillPoint(nullptr, &gGeometry.points[i], static_cast<int32_t>(i));
    }
    NvScn::CScnPolygon* polygon = scratch->getPolygons()->newScnObject(NvScn::kScnLastIndex);
    for (int32_t i = 0; i < supplier.getNbPolygons(nullptr); ++i) {
        while (polygon->getVertices()->getNbObjects() > 0) {
            polygon->getVertices()->removeObject(NvScn::kScnLastIndex);
        }
        supplier.fillPolygon(nullptr, polygon, i);
        gGeometry.properties.push_back(polygon->getPropertyIndex());
        gGeometry.firstVertex.push_back(static_cast<uint32_t>(gGeometry.vertices.size()));
        for (int32_t k = 0; k < polygon->getVertices()->getNbObjects(); ++k) {
            gGeometry.vertices.push_back(*polygon->getVertices()->getScnObject(static_cast<uint32_t>(k)));
        }
    }
    gGeometry.firstVertex.push_back(static_cast<uint32_t>(gGeometry.vertices.size()));
    scratch->release();
    EXPGetModelFunctionTable()->FreeModel(&model);
    sight->RemoveReference();
}

// The library's peer storage: the arrays above, handed out by index.
class ArrayStorage : public NvScn::CScnExtStorage {
public:
    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID*, int32_t) override { return true; }
    void setNbPoints(NvScn::CScnMgr*, int32_t) override {}
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector*, int32_t) override { return false; }
    void setNbPolygons(NvScn::CScnMgr*, int32_t) override {}
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon*, int32_t) override { return false; }
    int32_t getNbPoints(NvScn::CScnMgr*) override { return static_cast<int32_t>(gGeometry.points.size()); }
    bool fillPoint(NvScn::CScnMgr*, NvScn::CScnVector* point, int32_t index) override
    {
        *point = gGeometry.points[static_cast<std::size_t>(index)];
        return true;
    }
    int32_t getNbPolygons(NvScn::CScnMgr*) override { return static_cast<int32_t>(gGeometry.properties.size()); }
    bool fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon* polygon, int32_t index) override
    {
        const std::size_t i = static_cast<std::size_t>(index);
        polygon->setPropertyIndex(gGeometry.properties[i]);
        NvScn::TScnObjectMgr<NvScn::CScnVertex>* loop = polygon->getVertices();
        for (uint32_t k = gGeometry.firstVertex[i]; k < gGeometry.firstVertex[i + 1]; ++k) {
            *loop->newScnObject(NvScn::kScnLastIndex) = gGeometry.vertices[k];
        }
        return true;
    }
};

class QuietFeedback : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char*) override {}
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
};

// The library writes into the add-on's kind of stream, the host's file, so that both cases pay
// the same for the sink and the difference is what the add-on adds.
long libraryWrite()
{
    const std::string path = scratchFile(kLibraryFile);
    QuietFeedback feedback;
    ArrayStorage storage;
    NvScn::CScnMgr* manager = NvScn::CScnMgr::create(&feedback, &storage);
    bool ok = false;
    try {
        GSScnFileStream stream(IO::Location(path.c_str()), 1);
        ok = manager->write(&stream) == 0 && stream.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_export: %s: %s\n", path.c_str(), e.what());
    }
    manager->release();
    return ok ? fileBytes(path) : -1;
}

// A host folder whose developer configuration picks the plain or the layer path.
void configurePath(bool layers)
{
    const std::string home = gScratch + (layers ? "/host-layers" : "/host");
    cadhost::setHostFolder(home);
    const std::string folder = home + "/drives/c/source";
    if (std::system(("mkdir -p '" + folder + "'").c_str()) != 0) {
        std::exit(1);
    }
    FILE* file = std::fopen((folder + "/config.ini").c_str(), "w");
    std::fputs(layers ? "LayerEnabled=true\n" : "LayerEnabled=false\n", file);
    std::fclose(file);
}

void loadAddOn()
{
    gLoaded = new cadhost::AddOn;
    if (!gLoaded->load(gAddOn)) {
        std::fprintf(stderr, "bench_export: %s\n", gLoaded->error().c_str());
        std::exit(1);
    }
}

long addOnExport()
{
    const std::string path = scratchFile(kAddOnFile);
    const cadhost::SaveRequest request(path, 5, 1);
    Modeler::Sight* sight = cadhost::openSight();
    const GSErrCode result = gLoaded->save3D(1, request.params, sight);
    sight->RemoveReference();
    return result == NoError ? fileBytes(path) : -1;
}

// The same mesh as one aiMesh: points, polygons and the texture coordinates of mapped vertices.
aiScene* gMesh = nullptr;

void buildMesh()
{
    auto* scene = new aiScene;
    scene->mRootNode = new aiNode;
    scene->mRootNode->mNumMeshes = 1;
    scene->mRootNode->mMeshes = new unsigned int[1]{0};
    scene->mNumMaterials = 1;
    scene->mMaterials = new aiMaterial*[1]{new aiMaterial};
    scene->mNumMeshes = 1;
    scene->mMeshes = new aiMesh*[1];
    auto* mesh = new aiMesh;
    scene->mMeshes[0] = mesh;
    mesh->mPrimitiveTypes = aiPrimitiveType_POLYGON;
    mesh->mMaterialIndex = 0;
    // One mesh vertex per polygon corner, as OBJ writers keep a position with its texture coordinate.
    mesh->mNumVertices = static_cast<unsigned>(gGeometry.vertices.size());
    mesh->mVertices = new aiVector3D[mesh->mNumVertices];
    mesh->mTextureCoords[0] = new aiVector3D[mesh->mNumVertices];
    mesh->mNumUVComponents[0] = 2;
    for (std::size_t k = 0; k < gGeometry.vertices.size(); ++k) {
        const NvScn::CScnVertex& v = gGeometry.vertices[k];
        const NvScn::CScnVector& p = gGeometry.points[static_cast<std::size_t>(v.pointIndex)];
        mesh->mVertices[k] = aiVector3D(static_cast<ai_real>(p.x), static_cast<ai_real>(p.y), static_cast<ai_real>(p.z));
        mesh->mTextureCoords[0][k] = aiVector3D(v.u, v.v, 0);
    }
    mesh->mNumFaces = static_cast<unsigned>(gGeometry.properties.size());
    mesh->mFaces = new aiFace[mesh->mNumFaces];
    for (unsigned i = 0; i < mesh->mNumFaces; ++i) {
        aiFace& face = mesh->mFaces[i];
        face.mNumIndices = gGeometry.firstVertex[i + 1] - gGeometry.firstVertex[i];
        face.mIndices = new unsigned int[face.mNumIndices];
        for (unsigned k = 0; k < face.mNumIndices; ++k) {
            face.mIndices[k] = gGeometry.firstVertex[i] + k;
        }
    }
    gMesh = scene;
}

long assimpExport()
{
    const std::string path = scratchFile(kObjFile);
    Assimp::Exporter exporter;
    if (exporter.Export(gMesh, "objnomtl", path) != AI_SUCCESS) {
        std::fprintf(stderr, "bench_export: %s\n", exporter.GetErrorString());
        return -1;
    }
    return fileBytes(path);
}

void print(const char* name, const Outcome& outcome, long polygons)
{
    std::printf("  %-46s %6.2f s wall %6.2f s cpu %10.0f polygons/s %7.1f MB peak %7.1f MB written\n", name,
                outcome.wall, outcome.seconds, outcome.wall > 0 ? polygons / outcome.wall : 0.0,
                outcome.peakGrowthKb / 1024.0, outcome.bytes / 1e6);
}

Outcome runs(const std::function<void()>& prepare, const std::function<long()>& timed)
{
    std::vector<Outcome> all;
    for (int i = 0; i < gRuns; ++i) {
        all.push_back(measure(prepare, timed));
    }
    return median(all);
}

void compare(long polygons)
{
    std::printf("generated host model of %ld polygons (median of %d rounds, each running the three cases in turn)\n",
                polygons, gRuns);
    // The cases take turns, so that a slow spell of the machine falls on all three alike.
    std::vector<Outcome> plainRuns, layerRuns, libraryRuns;
    for (int i = 0; i < gRuns; ++i) {
        plainRuns.push_back(measure(
            [polygons] {
                clearTarget(kAddOnFile);
                configurePath(false);
                cadhost::generateModel(polygons);
                loadAddOn();
            },
            addOnExport));
        layerRuns.push_back(measure(
            [polygons] {
                clearTarget(kAddOnFile);
                configurePath(true);
                cadhost::generateModel(polygons);
                loadAddOn();
            },
            addOnExport));
        libraryRuns.push_back(measure(
            [polygons] {
                clearTarget(kLibraryFile);
                cadhost::generateModel(polygons);
                captureGeometry();
                cadhost::resetProject();
            },
            libraryWrite));
    }
    const Outcome addOn = median(plainRuns);
    const Outcome layers = median(layerRuns);
    const Outcome library = median(libraryRuns);
    print("add-on, plain path, through the host", addOn, polygons);
    print("add-on, layer path (4 layers), through the host", layers, polygons);
    print("peer: library from its own external storage", library, polygons);
    std::printf("  add-on wall time over the library's: %+.0f%% plain path, %+.0f%% layer path (aim: at most +25%%)\n",
                (addOn.wall / library.wall - 1.0) * 100.0, (layers.wall / library.wall - 1.0) * 100.0);
    std::printf("  add-on processor time over the library's: %+.0f%% plain path, %+.0f%% layer path\n",
                (addOn.seconds / library.seconds - 1.0) * 100.0, (layers.seconds / library.seconds - 1.0) * 100.0);
    std::printf("  wall seconds per round (plain, layer, library):");
    for (int i = 0; i < gRuns; ++i) {
        std::printf(" %.2f %.2f %.2f%s", plainRuns[i].wall, layerRuns[i].wall, libraryRuns[i].wall,
                    i + 1 < gRuns ? ";" : "\n");
    }
    if (gWithObj) {
        const Outcome assimp = runs(
            [polygons] {
                clearTarget(kObjFile);
                cadhost::generateModel(polygons);
                captureGeometry();
                cadhost::resetProject();
                buildMesh();
            },
            assimpExport);
        print("peer: import library, the same mesh as OBJ", assimp, polygons);
        std::printf("  OBJ time over the add-on's: %.1fx plain path, %.1fx layer path (aim: at least 3x)\n",
                    assimp.seconds / addOn.seconds, assimp.seconds / layers.seconds);
    }
    std::printf("  add-on memory beyond the host model: %.1f MB plain path, %.1f MB layer path\n",
                addOn.peakGrowthKb / 1024.0, layers.peakGrowthKb / 1024.0);
}

// The house end to end by both paths, against the import library's command exporting it to OBJ.
void compareHouse(const std::string& bin, const std::string& house)
{
    std::printf("FZK house end to end (median of %d runs): %s\n", gRuns, house.c_str());
    std::vector<Outcome> ours, oursLayers, theirs;
    for (int i = 0; i < gRuns; ++i) {
        ours.push_back(measureCommand({bin + "/cadhost", "export", house, gScratch + "/house.scn", "--no-dialog",
                                       "--home", gScratch + "/host"},
                                      gScratch + "/house.scn"));
        oursLayers.push_back(measureCommand({bin + "/cadhost", "export", house, gScratch + "/house-layers.scn",
                                             "--no-dialog", "--home", gScratch + "/host-layers"},
                                            gScratch + "/house-layers.scn"));
        theirs.push_back(measureCommand({"assimp", "export", house, gScratch + "/house.obj"}, gScratch + "/house.obj"));
    }
    print("cadhost export, plain path (read the IFC, save)", median(ours), 16037);
    print("cadhost export, layer path (read the IFC, save)", median(oursLayers), 16037);
    print("peer: assimp export of the IFC to OBJ", median(theirs), 16037);
    std::printf("  (peak MB here is the whole process's)\n");
}

const char kUsage[] =
    "usage: bench_export [--no-obj] [--no-house] [--over-previous] [HOUSE.ifc]\n"
    "\n"
    "Exports generated host models through the add-on by the plain and by the layer path, beside the\n"
    "library writing the same geometry from its own external storage and the import library writing\n"
    "the same mesh as OBJ; then the house model end to end against `assimp export` to OBJ.\n"
    "\n"
    "  HOUSE.ifc    the house model (default /usr/share/assimp/models/IFC/AC14-FZK-Haus.ifc)\n"
    "  --no-obj     leave out the OBJ peer of the generated models\n"
    "  --no-house   leave out the house model\n"
    "  --over-previous  each case of the generated models writes over the file the case before it\n"
    "               left (by default each writes a new file: replacing one costs the file system\n"
    "               more, and differently for the add-on's rename and the library's truncation)\n"
    "  --help       show this text\n"
    "\n"
    "environment: BENCH_EXPORT_POLYGONS=1000000,10000000 (the generated models' sizes),\n"
    "BENCH_EXPORT_RUNS=3 (rounds; in each the add-on's two paths and the library take turns, and the\n"
    "median of each case is shown beside every round's wall times).\n"
    "Exit code 0 on success, 1 when a case fails, 2 for wrong arguments or an unreadable house model.\n";

// Whether the file is a non-empty file that can be opened for reading; the reason when not.
bool readable(const std::string& path, std::string* reason)
{
    struct stat facts {};
    if (::stat(path.c_str(), &facts) != 0) {
        *reason = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(facts.st_mode)) {
        *reason = "not a file";
        return false;
    }
    if (facts.st_size == 0) {
        *reason = "the file is empty";
        return false;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *reason = std::strerror(errno);
        return false;
    }
    std::fclose(file);
    return true;
}

// Reads a list of positive counts ("1000000,10000000"); false for anything else.
bool readSizes(const char* text, std::vector<long>* sizes)
{
    sizes->clear();
    for (const char* p = text;;) {
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(p, &end, 10);
        if (end == p || errno != 0 || value <= 0 || (*end != ',' && *end != '\0')) {
            return false;
        }
        sizes->push_back(value);
        if (*end == '\0') {
            return true;
        }
        p = end + 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string house = "/usr/share/assimp/models/IFC/AC14-FZK-Haus.ifc";
    bool withHouse = true;
    bool houseGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == "--no-obj") {
            gWithObj = false;
        } else if (argument == "--no-house") {
            withHouse = false;
        } else if (argument == "--over-previous") {
            gOverPrevious = true;
        } else if (!argument.empty() && argument[0] == '-') {
            std::fprintf(stderr, "bench_export: unknown option %s\n%s", argument.c_str(), kUsage);
            return 2;
        } else if (houseGiven) {
            std::fprintf(stderr, "bench_export: one house model only (%s and %s)\n", house.c_str(), argument.c_str());
            return 2;
        } else {
            house = argument;
            houseGiven = true;
        }
    }
    std::string reason;
    if (withHouse && !readable(house, &reason)) {
        std::fprintf(stderr, "bench_export: %s: cannot be read (%s)\n", house.c_str(), reason.c_str());
        return 2;
    }
    std::vector<long> sizes = {1000000, 10000000};
    if (const char* text = std::getenv("BENCH_EXPORT_POLYGONS")) {
        if (!readSizes(text, &sizes)) {
            std::fprintf(stderr, "bench_export: BENCH_EXPORT_POLYGONS=%s: expected counts above 0, separated by commas\n",
                         text);
            return 2;
        }
    }
    if (const char* text = std::getenv("BENCH_EXPORT_RUNS")) {
        gRuns = std::max(1, std::atoi(text));
    }
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    self[n > 0 ? n : 0] = '\0';
    const std::string bin = std::string(self).substr(0, std::string(self).rfind('/'));
    gAddOn = bin + "/../lib/libKestrovinOut.so";
    char scratch[] = "/tmp/bench-export-XXXXXX";
    if (mkdtemp(scratch) == nullptr) {
        std::fprintf(stderr, "bench_export: cannot make a scratch folder in /tmp (%s)\n", std::strerror(errno));
        return 1;
    }
    gScratch = scratch;
    // The scratch folder goes however the run ends, but only with the process that made it.
    gOwner = getpid();
    std::atexit([] {
        if (getpid() == gOwner) {
            std::system(("rm -rf '" + gScratch + "'").c_str());
        }
    });
    for (long polygons : sizes) {
        compare(polygons);
    }
    if (withHouse) {
        compareHouse(bin, house);
    }
    return 0;
}
