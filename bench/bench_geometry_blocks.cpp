// The geometry block codec against the usual way of storing a mesh: a mesh of about a million
// triangles written as Points and Polygons blocks vs as Wavefront OBJ with fprintf, and read
// back into the tables (and into a counting external storage) vs tinyobjloader loading the OBJ.
// Prints MB/s and triangles per second per case, then the peak memory each case adds.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "document/GeometryBlock.h"
#include "model/Scene.h"

#if __has_include(<tiny_obj_loader.h>)
#include <tiny_obj_loader.h>
#define SCN_HAVE_TINYOBJLOADER 1
#endif

namespace {

using namespace NvScn;

// A grid of 708 x 708 points: 999,698 triangles.
constexpr int kSide = 708;

class SilentFeedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char*) override {}
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
};

// Keeps what the block writer produces, in memory.
class StringSink : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override
    {
        text.append(static_cast<const char*>(bytes), static_cast<size_t>(length));
        return length;
    }
    std::string text;
};

class StringSource : public NuvoraXML::CXMLReadStream {
public:
    explicit StringSource(const std::string& text) : mText(text) {}
    int32_t Read(void* buffer, int32_t length) override
    {
        size_t count = std::min(static_cast<size_t>(length), mText.size() - mPosition);
        std::memcpy(buffer, mText.data() + mPosition, count);
        mPosition += count;
        return static_cast<int32_t>(count);
    }

private:
    const std::string& mText;
    size_t mPosition = 0;
};

// Takes the geometry and only counts it.
class CountingStorage : public CScnExtStorage {
public:
    bool setCurrentInternalComponentInstance(CScnMgr*, const CScnUUID*, int32_t) override { return true; }
    void setNbPoints(CScnMgr*, int32_t) override {}
    bool addPoint(CScnMgr*, const CScnVector* point, int32_t) override
    {
        sum += point->x;
        ++points;
        return true;
    }
    void setNbPolygons(CScnMgr*, int32_t) override {}
    bool addPolygon(CScnMgr*, const CScnPolygon*, int32_t) override
    {
        ++polygons;
        return true;
    }
    int32_t getNbPoints(CScnMgr*) override { return 0; }
    bool fillPoint(CScnMgr*, CScnVector*, int32_t) override { return false; }
    int32_t getNbPolygons(CScnMgr*) override { return 0; }
    bool fillPolygon(CScnMgr*, CScnPolygon*, int32_t) override { return false; }

    double sum = 0.0;
    int64_t points = 0;
    int64_t polygons = 0;
};

struct Mesh {
    std::vector<CScnVector> points;
    std::vector<int32_t> triangles;  // three point indices each
    std::string pointsBlock;
    std::string polygonsBlock;
    std::string obj;
    SilentFeedback feedback;
    std::unique_ptr<CSCN> scene;

    size_t triangleCount() const { return triangles.size() / 3; }
    size_t blockBytes() const { return pointsBlock.size() + polygonsBlock.size(); }
};

std::string writeObj(const Mesh& mesh, FILE* file);

const Mesh& mesh()
{
    static Mesh* instance = [] {
        auto* m = new Mesh;
        std::mt19937 random(1);
        std::uniform_real_distribution<double> height(-250.0, 250.0);
        for (int row = 0; row < kSide; ++row) {
            for (int column = 0; column < kSide; ++column) {
                m->points.push_back({column * 12.345678 - 4000.0, row * 9.876543 - 3000.0, height(random)});
            }
        }
        for (int row = 0; row + 1 < kSide; ++row) {
            for (int column = 0; column + 1 < kSide; ++column) {
                int32_t a = row * kSide + column;
                int32_t b = a + 1;
                int32_t c = a + kSide;
                int32_t d = c + 1;
                m->triangles.insert(m->triangles.end(), {a, b, d, a, d, c});
            }
        }
        m->scene = std::make_unique<CSCN>(eCurrentVersionSCN, &m->feedback, nullptr);
        m->scene->points().reserve(m->points.size());
        for (const CScnVector& point : m->points) {
            *static_cast<CScnVector*>(m->scene->points().appendItem()) = point;
        }
        m->scene->polygons().reserve(m->triangleCount());
        for (size_t t = 0; t < m->triangleCount(); ++t) {
            CPolygon* polygon = m->scene->polygons().appendItem();
            for (int k = 0; k < 3; ++k) {
                polygon->vertices().appendItem()->pointIndex = m->triangles[t * 3 + k];
            }
        }
        StringSink points;
        StringSink polygons;
        writePointsBlock(&points, m->scene.get(), &m->scene->points());
        writePolygonsBlock(&polygons, m->scene.get(), &m->scene->polygons());
        m->pointsBlock = std::move(points.text);
        m->polygonsBlock = std::move(polygons.text);
        m->obj = writeObj(*m, nullptr);
        return m;
    }();
    return *instance;
}

// The OBJ text of the mesh, written with fprintf into the file (or into memory when null).
std::string writeObj(const Mesh& m, FILE* file)
{
    char* memory = nullptr;
    size_t size = 0;
    FILE* out = file != nullptr ? file : open_memstream(&memory, &size);
    for (const CScnVector& p : m.points) {
        std::fprintf(out, "v %f %f %f\n", p.x, p.y, p.z);
    }
    for (size_t t = 0; t < m.triangleCount(); ++t) {
        std::fprintf(out, "f %d %d %d\n", m.triangles[t * 3] + 1, m.triangles[t * 3 + 1] + 1, m.triangles[t * 3 + 2] + 1);
    }
    if (file != nullptr) {
        std::fflush(out);
        return std::string();
    }
    std::fclose(out);
    std::string text(memory, size);
    std::free(memory);
    return text;
}

void setRates(benchmark::State& state, size_t bytes, size_t triangles)
{
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) * state.iterations() / 1e6,
                                                benchmark::Counter::kIsRate);
    state.counters["Mtri/s"] = benchmark::Counter(static_cast<double>(triangles) * state.iterations() / 1e6,
                                                  benchmark::Counter::kIsRate);
}

// Drops the bytes, as the OBJ writer's /dev/null does.
class DiscardSink : public NuvoraXML::XIXMLWriteStream {
public:
    int32_t Write(const void* bytes, int32_t length) override
    {
        benchmark::DoNotOptimize(bytes);
        total += length;
        return length;
    }
    int64_t total = 0;
};

// With feedback the blocks report progress, which reads the processor clock every 100 items;
// the OBJ peers report nothing, so every codec case also runs without feedback.
bool gWithFeedback = true;
SilentFeedback gFeedback;

void writeBlocks()
{
    const Mesh& m = mesh();
    DiscardSink sink;
    CSCN* scene = gWithFeedback ? m.scene.get() : nullptr;
    writePointsBlock(&sink, scene, &m.scene->points());
    writePolygonsBlock(&sink, scene, &m.scene->polygons());
    if (sink.total != static_cast<int64_t>(m.blockBytes())) {
        std::abort();
    }
}

void BM_WriteBlocks(benchmark::State& state)
{
    const Mesh& m = mesh();
    gWithFeedback = state.range(0) != 0;
    for (auto _ : state) {
        writeBlocks();
    }
    setRates(state, m.blockBytes(), m.triangleCount());
}

void writeObjFile()
{
    static FILE* file = [] {
        FILE* f = std::fopen("/dev/null", "w");
        std::setvbuf(f, nullptr, _IOFBF, 64 * 1024);
        return f;
    }();
    writeObj(mesh(), file);
}

void BM_WriteObjFprintf(benchmark::State& state)
{
    const Mesh& m = mesh();
    for (auto _ : state) {
        writeObjFile();
    }
    setRates(state, m.obj.size(), m.triangleCount());
}

// Lets the allocator do the work that a teardown defers to the next large request (merging the
// chunks just freed) while the clock is stopped; the memory stays with the process.
void settleAllocator()
{
    void* large = std::malloc(64 * 1024);
    benchmark::DoNotOptimize(large);
    std::free(large);
}

// Reads both blocks into a new scene's tables; the caller destroys the scene.
std::unique_ptr<CSCN> readBlocksIntoNewScene()
{
    const Mesh& m = mesh();
    auto scene = std::make_unique<CSCN>(eCurrentVersionSCN, gWithFeedback ? &gFeedback : nullptr, nullptr);
    StringSource points(m.pointsBlock);
    StringSource polygons(m.polygonsBlock);
    readPointsBlock(&points, scene.get(), &scene->points());
    readPolygonsBlock(&polygons, scene.get(), &scene->polygons());
    if (scene->polygons().size() != m.triangleCount()) {
        std::abort();
    }
    return scene;
}

void readBlocksIntoTables()
{
    readBlocksIntoNewScene();
}

// Loading is timed; making the input stream and tearing the loaded model down are not, nor the
// allocator's deferred work for that teardown (for either reader).
void BM_ReadBlocksIntoTables(benchmark::State& state)
{
    const Mesh& m = mesh();
    gWithFeedback = state.range(0) != 0;
    for (auto _ : state) {
        std::unique_ptr<CSCN> scene = readBlocksIntoNewScene();
        state.PauseTiming();
        scene.reset();
        settleAllocator();
        state.ResumeTiming();
    }
    setRates(state, m.blockBytes(), m.triangleCount());
}

void readBlocksIntoStorage()
{
    const Mesh& m = mesh();
    CountingStorage storage;
    CSCN scene(eCurrentVersionSCN, gWithFeedback ? &gFeedback : nullptr, &storage);
    StringSource points(m.pointsBlock);
    StringSource polygons(m.polygonsBlock);
    readPointsBlock(&points, &scene, nullptr);
    readPolygonsBlock(&polygons, &scene, nullptr);
    if (storage.polygons != static_cast<int64_t>(m.triangleCount())) {
        std::abort();
    }
    benchmark::DoNotOptimize(storage.sum);
}

void BM_ReadBlocksIntoStorage(benchmark::State& state)
{
    const Mesh& m = mesh();
    gWithFeedback = state.range(0) != 0;
    for (auto _ : state) {
        readBlocksIntoStorage();
    }
    setRates(state, m.blockBytes(), m.triangleCount());
}

#if SCN_HAVE_TINYOBJLOADER
struct ObjModel {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
};

std::unique_ptr<ObjModel> loadObjModel(std::istream& in)
{
    const Mesh& m = mesh();
    auto model = std::make_unique<ObjModel>();
    std::string warnings;
    std::string errors;
    if (!tinyobj::LoadObj(&model->attrib, &model->shapes, &model->materials, &warnings, &errors, &in) ||
        model->shapes.empty() || model->shapes[0].mesh.indices.size() != m.triangles.size()) {
        std::abort();
    }
    return model;
}

void loadObj()
{
    std::istringstream in(mesh().obj);
    loadObjModel(in);
}

void BM_ReadObjTinyObjLoader(benchmark::State& state)
{
    const Mesh& m = mesh();
    for (auto _ : state) {
        state.PauseTiming();
        std::istringstream in(m.obj);
        state.ResumeTiming();
        std::unique_ptr<ObjModel> model = loadObjModel(in);
        state.PauseTiming();
        model.reset();
        settleAllocator();
        state.ResumeTiming();
    }
    setRates(state, m.obj.size(), m.triangleCount());
}
BENCHMARK(BM_ReadObjTinyObjLoader)->Unit(benchmark::kMillisecond)->MinTime(2.0);
#endif

BENCHMARK(BM_WriteBlocks)->ArgName("feedback")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteObjFprintf)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadBlocksIntoTables)->ArgName("feedback")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadBlocksIntoStorage)->ArgName("feedback")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A "Vm...:" figure of /proc/self/status in KB, -1 when missing.
long statusKb(const char* field)
{
    FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long value = -1;
    size_t length = std::strlen(field);
    while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0) {
            value = std::atol(line + length);
        }
    }
    if (status != nullptr) {
        std::fclose(status);
    }
    return value;
}

// Peak resident memory (KB) that one run of the case adds, measured in a child that first gives
// its free heap back and resets its high-water mark; -1 when the mark cannot be reset.
long peakGrowthKb(void (*run)())
{
    int channel[2];
    if (pipe(channel) != 0) {
        return -1;
    }
    pid_t child = fork();
    if (child == 0) {
        long growth = -1;
        malloc_trim(0);
        FILE* reset = std::fopen("/proc/self/clear_refs", "w");
        if (reset != nullptr && std::fputs("5", reset) >= 0 && std::fclose(reset) == 0) {
            long start = statusKb("VmRSS:");
            run();
            growth = statusKb("VmHWM:") - start;
        }
        ssize_t written = write(channel[1], &growth, sizeof growth);
        _exit(written == sizeof growth ? 0 : 1);
    }
    long growth = -1;
    if (read(channel[0], &growth, sizeof growth) != sizeof growth) {
        growth = -1;
    }
    close(channel[0]);
    close(channel[1]);
    waitpid(child, nullptr, 0);
    return growth;
}

}  // namespace

int main(int argc, char** argv)
{
    const Mesh& m = mesh();
    std::printf("mesh: %zu points, %zu triangles; blocks %.1f MB, OBJ %.1f MB\n", m.points.size(), m.triangleCount(),
                m.blockBytes() / 1e6, m.obj.size() / 1e6);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::pair<const char*, void (*)()> cases[] = {
        {"write blocks", &writeBlocks},
        {"write OBJ with fprintf", &writeObjFile},
        {"read blocks into tables", &readBlocksIntoTables},
        {"read blocks into storage", &readBlocksIntoStorage},
#if SCN_HAVE_TINYOBJLOADER
        {"tinyobjloader LoadObj", &loadObj},
#endif
    };
    gWithFeedback = true;
    std::printf("\npeak RSS of the process: %.1f MB\n", statusKb("VmHWM:") / 1024.0);
    for (const auto& [name, run] : cases) {
        std::printf("peak RSS added by %-26s %8.1f MB\n", name, peakGrowthKb(run) / 1024.0);
    }
    return 0;
}
