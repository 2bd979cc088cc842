// scntool render against the library: the time to draw 1 M triangles at 1024 x 768 beside the
// time the library takes to read them, in one run, and the peak memory of a render of 1 M and
// 10 M polygons, each measured in a process of its own. The read and the render of 1 M take turns
// for several rounds (a slow spell of the machine then falls on both alike) and their medians are
// compared. Times are given as elapsed and as processor time (user and system) of that process.
// "--quick" leaves out the 10 M run; "--keep" stops after the 1 M run and keeps its scene and
// picture; "--runs N" sets the rounds; "--help" shows the usage.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FileStream.h"
#include "RenderCommand.h"
#include "Scn.h"

namespace {

using NvScn::CScnMgr;

class Quiet : public NvScn::CScnFeedback {
public:
    void warning(CScnMgr*, const char* text) override { std::fprintf(stderr, "library: %s\n", text); }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }
};

// A rolling terrain of side x side quads, each cut into two triangles, supplied while writing.
class Terrain : public NvScn::CScnExtStorage {
public:
    explicit Terrain(int32_t side) : mSide(side) {}

    bool setCurrentInternalComponentInstance(CScnMgr*, const NvScn::CScnUUID*, int32_t) override { return true; }
    void setNbPoints(CScnMgr*, int32_t) override {}
    bool addPoint(CScnMgr*, const NvScn::CScnVector*, int32_t) override { return true; }
    void setNbPolygons(CScnMgr*, int32_t) override {}
    bool addPolygon(CScnMgr*, const NvScn::CScnPolygon*, int32_t) override { return true; }
    int32_t getNbPoints(CScnMgr*) override { return (mSide + 1) * (mSide + 1); }
    bool fillPoint(CScnMgr*, NvScn::CScnVector* point, int32_t index) override
    {
        double x = index % (mSide + 1);
        double y = index / (mSide + 1);
        double scale = 10000.0 / mSide;
        *point = {x * scale, y * scale, 300 * std::sin(x * 0.05) * std::cos(y * 0.03)};
        return true;
    }
    int32_t getNbPolygons(CScnMgr*) override { return 2 * mSide * mSide; }
    bool fillPolygon(CScnMgr*, NvScn::CScnPolygon* polygon, int32_t index) override
    {
        int32_t quad = index / 2;
        int32_t a = quad / mSide * (mSide + 1) + quad % mSide;
        int32_t corners[2][3] = {{a, a + 1, a + mSide + 2}, {a, a + mSide + 2, a + mSide + 1}};
        for (int32_t corner : corners[index % 2]) {
            polygon->getVertices()->newScnObject(NvScn::kScnLastIndex)->pointIndex = corner;
        }
        return true;
    }

private:
    int32_t mSide;
};

bool writeTerrain(const std::string& path, int32_t side)
{
    Quiet feedback;
    Terrain terrain(side);
    CScnMgr* scene = CScnMgr::create(&feedback, &terrain);
    NvScn::CScnCamera* camera = scene->getPerspectiveViews()->newScnObject(NvScn::kScnLastIndex);
    NvScn::CScnVector eye = {-2000, -2000, 4000};
    NvScn::CScnVector target = {5000, 5000, 0};
    camera->setPosition(&eye);
    camera->setTarget(&target);
    camera->setFocal(60);
    camera->setCurrent();
    std::unique_ptr<ScnTools::FileStream> stream(ScnTools::FileStream::open(path, "wb"));
    bool written = stream && scene->write(stream.get()) == 0 && stream->close();
    scene->release();
    return written;
}

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Cost {
    double elapsed = 0;    // seconds
    double processor = 0;  // seconds of user and system time
    double peak = 0;       // MB of resident memory
};

// Runs the work in a child process and measures it.
template <class Work>
bool measured(Work work, Cost& cost)
{
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        return false;
    }
    cost.elapsed = seconds(start);
    cost.processor = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
                     usage.ru_stime.tv_usec / 1e6;
    cost.peak = usage.ru_maxrss / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The median of each figure on its own, and the range of the elapsed times.
struct Summary {
    Cost median;
    double fastest = 0;
    double slowest = 0;
};

Summary summarised(std::vector<Cost> costs)
{
    Summary summary;
    auto middle = [&](double Cost::*field) {
        std::sort(costs.begin(), costs.end(), [field](const Cost& a, const Cost& b) { return a.*field < b.*field; });
        return costs[costs.size() / 2].*field;
    };
    summary.median.processor = middle(&Cost::processor);
    summary.median.peak = middle(&Cost::peak);
    summary.median.elapsed = middle(&Cost::elapsed);
    summary.fastest = costs.front().elapsed;
    summary.slowest = costs.back().elapsed;
    return summary;
}

bool libraryRead(const std::string& path)
{
    Quiet feedback;
    CScnMgr* scene = CScnMgr::create(&feedback, nullptr);
    std::unique_ptr<ScnTools::FileStream> stream(ScnTools::FileStream::open(path, "rb"));
    bool read = stream && scene->read(stream.get()) == 0;
    scene->release();
    return read;
}

bool render(const std::string& path, const std::string& png)
{
    std::string size = "1024x768";
    char* arguments[] = {const_cast<char*>(path.c_str()), const_cast<char*>(png.c_str()),
                         const_cast<char*>("--size"), const_cast<char*>(size.c_str())};
    return ScnTools::renderCommand(4, arguments) == 0;
}

const char kUsage[] =
    "usage: bench_render [--quick] [--keep] [--runs N]\n"
    "\n"
    "Writes a rolling terrain of 1 M triangles and times `scntool render` drawing it at 1024x768\n"
    "beside the library reading it into its own tables, each in a process of its own, the two taking\n"
    "turns for N rounds (medians of elapsed and processor time and of peak resident memory, the range\n"
    "of elapsed times, and the ratio of the medians render / read); then the peak memory and time of\n"
    "a render of 10 M triangles. The scenes and pictures go to /tmp and are removed.\n"
    "\n"
    "  --quick      leave out the 10 M run\n"
    "  --keep       stop after the 1 M run and keep its scene and picture\n"
    "  --runs N     rounds of the 1 M comparison, 1 to 100 (default 5)\n"
    "  --help       show this text\n"
    "\n"
    "environment: none is read.\n"
    "Exit code 0 on success, 1 when a scene cannot be written or a read or render fails, 2 for wrong\n"
    "arguments.\n";

}  // namespace

int main(int argc, char** argv)
{
    bool quick = false;
    bool keep = false;
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == "--quick") {
            quick = true;
        } else if (argument == "--keep") {
            keep = true;
        } else if (argument == "--runs" && i + 1 < argc) {
            char* end = nullptr;
            long value = std::strtol(argv[++i], &end, 10);
            if (end == argv[i] || *end != 0 || value < 1 || value > 100) {
                std::fprintf(stderr, "bench_render: --runs %s: expected a count from 1 to 100\n%s", argv[i], kUsage);
                return 2;
            }
            rounds = static_cast<int>(value);
        } else {
            std::fprintf(stderr, "bench_render: %s %s\n%s",
                         !argument.empty() && argument[0] == '-' ? "unknown option" : "unexpected argument",
                         argument.c_str(), kUsage);
            return 2;
        }
    }
    std::string folder = "/tmp/bench-render-" + std::to_string(getpid());
    std::string scene = folder + ".scn";
    std::string png = folder + ".png";
    // 708 x 708 quads: 1 002 528 triangles; 2237 x 2237: 10 008 338.
    const struct {
        const char* label;
        int32_t side;
        bool compare;
    } runs[] = {{"1 M", 708, true}, {"10 M", 2237, false}};
    int failures = 0;
    for (const auto& run : runs) {
        if (quick && !run.compare) {
            break;
        }
        auto start = std::chrono::steady_clock::now();
        if (!writeTerrain(scene, run.side)) {
            std::fprintf(stderr, "bench_render: cannot write %s\n", scene.c_str());
            return 1;
        }
        std::printf("%s polygons: %d written in %.2f s\n", run.label, 2 * run.side * run.side, seconds(start));
        std::vector<Cost> reads, draws;
        for (int round = 0; round < (run.compare ? rounds : 1); ++round) {
            Cost read, drawn;
            if (run.compare && !measured([&] { return libraryRead(scene); }, read)) {
                ++failures;
            }
            if (!measured([&] { return render(scene, png); }, drawn)) {
                ++failures;
            }
            reads.push_back(read);
            draws.push_back(drawn);
        }
        const Summary read = summarised(reads);
        const Summary drawn = summarised(draws);
        const char* what = run.compare ? "median" : "one run";
        if (run.compare) {
            std::printf("  library read (geometry kept): %.2f s (processor %.2f s), peak %.0f MB; %s of %d, %.2f to %.2f s\n",
                        read.median.elapsed, read.median.processor, read.median.peak, what, rounds, read.fastest,
                        read.slowest);
        }
        std::printf("  scntool render 1024x768:      %.2f s (processor %.2f s), peak %.0f MB", drawn.median.elapsed,
                    drawn.median.processor, drawn.median.peak);
        if (run.compare) {
            std::printf("; %s of %d, %.2f to %.2f s\n", what, rounds, drawn.fastest, drawn.slowest);
            std::printf("  render / read: %.2f (processor %.2f)\n", drawn.median.elapsed / read.median.elapsed,
                        drawn.median.processor / read.median.processor);
        } else {
            std::printf("\n");
        }
        if (keep) {
            std::printf("  kept %s and %s\n", scene.c_str(), png.c_str());
            break;
        }
        std::remove(scene.c_str());
        std::remove(png.c_str());
    }
    return failures == 0 ? 0 : 1;
}
