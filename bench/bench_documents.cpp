// Writes and reads a scene document of a generated triangle mesh, side by side with writing the
// same mesh as Wavefront OBJ with fprintf and loading that OBJ with tinyobjloader: (a) writing the
// document with the geometry pulled from an external storage, (b) reading it into an external
// storage, (c) reading it into the scene's own tables, (d) writing it from the scene's tables
// (filled through the public managers before the clock starts). Each case runs in its own child
// process, so that the peak resident size it reports is its own; the storage cases run again on a
// mesh ten times larger to show that their memory does not grow with the mesh. Times are
// processor seconds (user and system) of the child, the median of seven runs; the peak is the
// largest of them.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <tiny_obj_loader.h>

#include "Scn.h"

namespace {

using namespace NvScn;

// A grid of (columns + 1) x (rows + 1) points, two triangles per cell.
struct Mesh {
    int32_t columns;
    int32_t rows;
    int32_t points() const { return (columns + 1) * (rows + 1); }
    int32_t triangles() const { return 2 * columns * rows; }
    CScnVector point(int32_t index) const
    {
        int32_t i = index % (columns + 1);
        int32_t j = index / (columns + 1);
        return CScnVector{i * 12.5, j * 7.25, 0.001 * ((i * 37 + j * 11) % 1000)};
    }
    void triangle(int32_t index, int32_t corners[3]) const
    {
        int32_t cell = index / 2;
        int32_t i = cell % columns;
        int32_t j = cell / columns;
        int32_t a = j * (columns + 1) + i;
        int32_t b = a + 1;
        int32_t c = a + columns + 1;
        int32_t d = c + 1;
        if (index % 2 == 0) {
            corners[0] = a, corners[1] = b, corners[2] = d;
        } else {
            corners[0] = a, corners[1] = d, corners[2] = c;
        }
    }
};

// A client stream over a file. Writes go straight to the file (the library hands over large
// pieces); reads come through the C library's buffer (the parser asks 1024 bytes at a time).
class FileStream : public CScnStream {
public:
    FileStream(const std::string& path, bool writing)
        : mFile(std::fopen(path.c_str(), writing ? "wb" : "rb")), mWriting(writing)
    {
        if (mFile == nullptr) {
            std::perror(path.c_str());
            std::exit(1);
        }
        std::setvbuf(mFile, nullptr, _IOFBF, 1 << 16);
    }
    ~FileStream() override { std::fclose(mFile); }
    bool getName(char*, int32_t) override { return false; }
    CScnStream* openSecondaryStream(const char*, int32_t) override { return nullptr; }
    void release() override {}
    void setTypeInfo(uint32_t, uint32_t) override {}
    int32_t read(void* buffer, int32_t size) override
    {
        return static_cast<int32_t>(std::fread(buffer, 1, static_cast<size_t>(size), mFile));
    }
    void write(const void* buffer, int32_t size) override
    {
        const char* bytes = static_cast<const char*>(buffer);
        while (size > 0) {
            ssize_t written = ::write(fileno(mFile), bytes, static_cast<size_t>(size));
            if (written <= 0) {
                std::perror("write");
                std::exit(1);
            }
            bytes += written;
            size -= static_cast<int32_t>(written);
        }
    }
    int64_t getPosition() override { return mWriting ? 0 : std::ftell(mFile); }
    void setPosition(int64_t position) override { std::fseek(mFile, static_cast<long>(position), SEEK_SET); }

private:
    std::FILE* mFile;
    bool mWriting;
};

class Feedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char* text) override { std::fprintf(stderr, "warning: %s\n", text); }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
};

// Hands out the mesh while a document is written, and takes it (as a checksum) while one is read.
class MeshStorage : public CScnExtStorage {
public:
    explicit MeshStorage(const Mesh& mesh) : mMesh(mesh) {}
    bool setCurrentInternalComponentInstance(CScnMgr*, const CScnUUID*, int32_t) override { return true; }
    void setNbPoints(CScnMgr*, int32_t count) override { checksum += count; }
    bool addPoint(CScnMgr*, const CScnVector* point, int32_t) override
    {
        checksum += point->x + point->y + point->z;
        return true;
    }
    void setNbPolygons(CScnMgr*, int32_t count) override { checksum += count; }
    bool addPolygon(CScnMgr*, const CScnPolygon* polygon, int32_t) override
    {
        TScnObjectMgr<CScnVertex>* vertices = const_cast<CScnPolygon*>(polygon)->getVertices();
        checksum += vertices->getScnObject(vertices->getNbObjects() - 1)->pointIndex;
        return true;
    }
    int32_t getNbPoints(CScnMgr*) override { return mMesh.points(); }
    bool fillPoint(CScnMgr*, CScnVector* point, int32_t index) override
    {
        *point = mMesh.point(index);
        return true;
    }
    int32_t getNbPolygons(CScnMgr*) override { return mMesh.triangles(); }
    bool fillPolygon(CScnMgr*, CScnPolygon* polygon, int32_t index) override
    {
        int32_t corners[3];
        mMesh.triangle(index, corners);
        polygon->setPropertyIndex(index & 3);
        TScnObjectMgr<CScnVertex>* vertices = polygon->getVertices();
        for (int32_t corner : corners) {
            vertices->newScnObject(kScnLastIndex)->pointIndex = corner;
        }
        return true;
    }

    double checksum = 0;

private:
    Mesh mMesh;
};

struct Outcome {
    double seconds = 0;
    double checksum = 0;
    long peakKb = 0;
    long fileBytes = 0;
};

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Processor seconds (user and system) the process has used.
double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long fileSize(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return 0;
    }
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fclose(file);
    return size;
}

// Processor seconds at the start of the timed part of a case; a case may move it after its
// preparation.
double gClockStart = 0;

void restartClock()
{
    gClockStart = processorSeconds();
}

// Runs work in a child process; answers its time, checksum and peak resident size, and the size
// of the file the case writes or reads.
Outcome measureOnce(const std::function<double()>& work, const std::string& file)
{
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        Outcome outcome;
        restartClock();
        outcome.checksum = work();
        outcome.seconds = processorSeconds() - gClockStart;
        outcome.peakKb = peakRssKb();
        ssize_t written = write(channel[1], &outcome, sizeof outcome);
        _exit(written == sizeof outcome ? 0 : 1);
    }
    close(channel[1]);
    Outcome outcome;
    ssize_t got = read(channel[0], &outcome, sizeof outcome);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != sizeof outcome || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "measurement failed\n");
        std::exit(1);
    }
    outcome.fileBytes = fileSize(file);
    return outcome;
}

// The median time of seven runs, with the largest peak of them.
Outcome measure(const std::function<double()>& work, const std::string& file)
{
    std::vector<Outcome> runs;
    for (int run = 0; run < 7; ++run) {
        runs.push_back(measureOnce(work, file));
    }
    std::sort(runs.begin(), runs.end(), [](const Outcome& a, const Outcome& b) { return a.seconds < b.seconds; });
    Outcome median = runs[runs.size() / 2];
    for (const Outcome& run : runs) {
        median.peakKb = std::max(median.peakKb, run.peakKb);
    }
    return median;
}

void print(const char* name, const Outcome& outcome, const Mesh& mesh)
{
    double megabytes = outcome.fileBytes / 1e6;
    std::printf("%-44s %9.1f %8.3f %9.1f %9.2f %9.1f\n", name, megabytes, outcome.seconds,
                megabytes / outcome.seconds, mesh.triangles() / outcome.seconds / 1e6, outcome.peakKb / 1024.0);
}

double writeDocument(const Mesh& mesh, const std::string& path)
{
    Feedback feedback;
    MeshStorage storage(mesh);
    CScnMgr* manager = CScnMgr::create(&feedback, &storage);
    FileStream stream(path, true);
    int32_t result = manager->write(&stream);
    manager->release();
    return result == 0 ? mesh.triangles() : -1;
}

// Fills the scene's own tables with the mesh through the public managers, then writes the
// document from them; only the write is timed.
double writeDocumentFromTables(const Mesh& mesh, const std::string& path)
{
    Feedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    TScnObjectMgr<CScnVector>* points = manager->getPoints();
    for (int32_t i = 0; i < mesh.points(); ++i) {
        *points->newScnObject(kScnLastIndex) = mesh.point(i);
    }
    TScnObjectMgr<CScnPolygon>* polygons = manager->getPolygons();
    int32_t corners[3];
    for (int32_t i = 0; i < mesh.triangles(); ++i) {
        mesh.triangle(i, corners);
        CScnPolygon* polygon = polygons->newScnObject(kScnLastIndex);
        polygon->setPropertyIndex(i & 3);
        TScnObjectMgr<CScnVertex>* vertices = polygon->getVertices();
        for (int32_t corner : corners) {
            vertices->newScnObject(kScnLastIndex)->pointIndex = corner;
        }
    }
    restartClock();
    FileStream stream(path, true);
    int32_t result = manager->write(&stream);
    // The process ends right away: the release is not part of the write.
    return result == 0 ? mesh.triangles() : -1;
}

double readDocument(const Mesh& mesh, const std::string& path, bool throughStorage)
{
    Feedback feedback;
    MeshStorage storage(mesh);
    CScnMgr* manager = CScnMgr::create(&feedback, throughStorage ? &storage : nullptr);
    FileStream stream(path, false);
    if (manager->read(&stream) != 0) {
        return -1;
    }
    double checksum = throughStorage ? storage.checksum
                                     : manager->getPoints()->getNbObjects() + manager->getPolygons()->getNbObjects();
    // The process ends right away: the release is not part of the read.
    return checksum;
}

double writeObj(const Mesh& mesh, const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    for (int32_t i = 0; i < mesh.points(); ++i) {
        CScnVector p = mesh.point(i);
        std::fprintf(file, "v %f %f %f\n", p.x, p.y, p.z);
    }
    int32_t corners[3];
    for (int32_t i = 0; i < mesh.triangles(); ++i) {
        mesh.triangle(i, corners);
        std::fprintf(file, "f %d %d %d\n", corners[0] + 1, corners[1] + 1, corners[2] + 1);
    }
    std::fclose(file);
    return mesh.triangles();
}

double loadObj(const std::string& path)
{
    tinyobj::attrib_t attributes;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warnings;
    std::string errors;
    if (!tinyobj::LoadObj(&attributes, &shapes, &materials, &warnings, &errors, path.c_str())) {
        return -1;
    }
    return static_cast<double>(attributes.vertices.size() / 3 + shapes[0].mesh.indices.size() / 3);
}

void check(const Outcome& outcome, const char* name)
{
    if (outcome.checksum < 0) {
        std::fprintf(stderr, "%s failed\n", name);
        std::exit(1);
    }
}

}  // namespace

int main()
{
    const std::string base = "/tmp/bench_documents_" + std::to_string(getpid());
    const std::string scene = base + ".scn";
    const std::string obj = base + ".obj";
    const Mesh mesh{1000, 501};
    const Mesh large{1000, 4999};

    std::printf("Mesh of %d triangles on %d points (file sizes in MB, processor seconds, peak RSS in MB)\n",
                mesh.triangles(), mesh.points());
    std::printf("%-44s %9s %8s %9s %9s %9s\n", "case", "MB", "seconds", "MB/s", "Mtri/s", "peak RSS");
    Outcome write = measure([&] { return writeDocument(mesh, scene); }, scene);
    check(write, "write");
    print("(a) write .scn from an external storage", write, mesh);
    Outcome objWrite = measure([&] { return writeObj(mesh, obj); }, obj);
    print("peer: write .obj with fprintf", objWrite, mesh);
    Outcome readStorage = measure([&] { return readDocument(mesh, scene, true); }, scene);
    check(readStorage, "read into the storage");
    print("(b) read .scn into an external storage", readStorage, mesh);
    Outcome readTables = measure([&] { return readDocument(mesh, scene, false); }, scene);
    check(readTables, "read into the tables");
    print("(c) read .scn into the scene's tables", readTables, mesh);
    Outcome objLoad = measure([&] { return loadObj(obj); }, obj);
    check(objLoad, "tinyobjloader");
    print("peer: load .obj with tinyobjloader", objLoad, mesh);
    Outcome writeTables = measure([&] { return writeDocumentFromTables(mesh, scene); }, scene);
    check(writeTables, "write from the tables");
    print("(d) write .scn from the scene's tables", writeTables, mesh);
    std::printf("speed-ups: write %.1fx (aim 4x), read through storage %.1fx and into tables %.1fx (aim 4x)\n",
                objWrite.seconds / write.seconds, objLoad.seconds / readStorage.seconds,
                objLoad.seconds / readTables.seconds);
    std::printf("tables against storage: read %.2fx (aim 0.8x), write %.2fx (aim 0.9x); peak of the read into "
                "the tables %.2fx the file (aim at most 2.5x)\n",
                readStorage.seconds / readTables.seconds, write.seconds / writeTables.seconds,
                readTables.peakKb * 1024.0 / readTables.fileBytes);

    std::printf("\nMesh of %d triangles on %d points, through the external storage\n", large.triangles(),
                large.points());
    Outcome largeWrite = measure([&] { return writeDocument(large, scene); }, scene);
    check(largeWrite, "large write");
    print("(a) write .scn from an external storage", largeWrite, large);
    Outcome largeRead = measure([&] { return readDocument(large, scene, true); }, scene);
    check(largeRead, "large read");
    print("(b) read .scn into an external storage", largeRead, large);
    std::printf("peak RSS 1M / 10M triangles: write %.1f / %.1f MB, read %.1f / %.1f MB (aim: within 10%%, under 64 MB)\n",
                write.peakKb / 1024.0, largeWrite.peakKb / 1024.0, readStorage.peakKb / 1024.0,
                largeRead.peakKb / 1024.0);
    std::remove(scene.c_str());
    std::remove(obj.c_str());
    return 0;
}
