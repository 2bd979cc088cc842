// Appends geometry through the public managers and compares speed and memory with plain
// std::vector storage of the same records: points, then triangles and four-vertex polygons
// against a vector of heap polygons that hold their vertices in vectors. Each case runs in its own
// child process so that the peak resident size it reports is its own; times and sizes are the
// medians of seven runs.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "Scn.h"

namespace {

using namespace NvScn;

constexpr int kPoints = 10'000'000;
constexpr int kPolygons = 1'000'000;

struct Outcome {
    double seconds = 0;
    long peakGrowthKb = 0;
    double checksum = 0;
};

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs work in a child process and returns its time and the growth of its peak resident size.
Outcome measure(const std::function<double()>& work)
{
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        Outcome outcome;
        long before = peakRssKb();
        auto start = std::chrono::steady_clock::now();
        outcome.checksum = work();
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        outcome.peakGrowthKb = peakRssKb() - before;
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
    return outcome;
}

// The median time and the median growth of seven runs.
Outcome measureMedian(const std::function<double()>& work)
{
    std::vector<Outcome> runs;
    for (int run = 0; run < 7; ++run) {
        runs.push_back(measure(work));
    }
    auto middle = runs.begin() + runs.size() / 2;
    std::nth_element(runs.begin(), middle, runs.end(),
                     [](const Outcome& a, const Outcome& b) { return a.seconds < b.seconds; });
    Outcome median = *middle;
    std::nth_element(runs.begin(), middle, runs.end(),
                     [](const Outcome& a, const Outcome& b) { return a.peakGrowthKb < b.peakGrowthKb; });
    median.peakGrowthKb = middle->peakGrowthKb;
    return median;
}

void print(const char* name, const Outcome& outcome, long items, const char* unit)
{
    std::printf("%-50s %8.1f M%s/s %8.1f bytes/%s  (%.3f s)\n", name,
                items / outcome.seconds / 1e6, unit, outcome.peakGrowthKb * 1024.0 / items, unit,
                outcome.seconds);
}

double appendPoints()
{
    CScnMgr* manager = CScnMgr::create(nullptr, nullptr);
    TScnObjectMgr<CScnVector>* points = manager->getPoints();
    for (int i = 0; i < kPoints; ++i) {
        CScnVector* point = points->newScnObject(kScnLastIndex);
        point->x = i;
        point->y = i * 0.5;
        point->z = 1.0;
    }
    double checksum = points->getScnObject(kPoints - 1)->x + points->getNbObjects();
    // The process ends right away: skip the release so only the append is timed.
    return checksum;
}

double appendPointsToVector()
{
    std::vector<CScnVector> points;
    for (int i = 0; i < kPoints; ++i) {
        points.push_back(CScnVector{static_cast<double>(i), i * 0.5, 1.0});
    }
    return points.back().x + static_cast<double>(points.size());
}

template <int Corners>
double appendPolygons()
{
    CScnMgr* manager = CScnMgr::create(nullptr, nullptr);
    TScnObjectMgr<CScnPolygon>* polygons = manager->getPolygons();
    for (int i = 0; i < kPolygons; ++i) {
        CScnPolygon* polygon = polygons->newScnObject(kScnLastIndex);
        polygon->setPropertyIndex(i & 7);
        TScnObjectMgr<CScnVertex>* vertices = polygon->getVertices();
        for (int v = 0; v < Corners; ++v) {
            CScnVertex* vertex = vertices->newScnObject(kScnLastIndex);
            vertex->pointIndex = Corners * i + v;
            vertex->flags = kScnVertexMapped;
            vertex->u = 0.5f;
            vertex->v = 0.25f;
        }
    }
    return polygons->getNbObjects() + polygons->getScnObject(0)->getVertices()->getNbObjects();
}

struct PeerPolygon {
    bool smoothed = false;
    int32_t property = 0;
    std::vector<CScnVertex> vertices;
    std::vector<std::vector<CScnVertex>> holes;
};

template <int Corners>
double appendPolygonsToVector()
{
    std::vector<std::unique_ptr<PeerPolygon>> polygons;
    for (int i = 0; i < kPolygons; ++i) {
        auto polygon = std::make_unique<PeerPolygon>();
        polygon->property = i & 7;
        for (int v = 0; v < Corners; ++v) {
            polygon->vertices.push_back(CScnVertex{Corners * i + v, kScnVertexMapped, 0.5f, 0.25f});
        }
        polygons.push_back(std::move(polygon));
    }
    return static_cast<double>(polygons.size() + polygons[0]->vertices.size());
}

}  // namespace

int main()
{
    std::printf("Appending %d points, %d triangles and %d four-vertex polygons (peak RSS growth per item)\n",
                kPoints, kPolygons, kPolygons);
    print("points through the public manager", measureMedian(appendPoints), kPoints, "point");
    print("peer: std::vector<CScnVector>::push_back", measureMedian(appendPointsToVector), kPoints, "point");
    Outcome triangles = measureMedian(appendPolygons<3>);
    Outcome peerTriangles = measureMedian(appendPolygonsToVector<3>);
    print("triangles through the public managers", triangles, kPolygons, "polygon");
    print("peer: vector of heap polygons with vectors", peerTriangles, kPolygons, "polygon");
    Outcome quads = measureMedian(appendPolygons<4>);
    Outcome peerQuads = measureMedian(appendPolygonsToVector<4>);
    print("four-vertex polygons through the public managers", quads, kPolygons, "polygon");
    print("peer: vector of heap polygons with vectors", peerQuads, kPolygons, "polygon");
    std::printf("against the peer: triangles %.2fx as fast, %.1f bytes (aim 96); four-vertex polygons %.2fx as fast, "
                "%.1f bytes (aim 112)\n",
                peerTriangles.seconds / triangles.seconds, triangles.peakGrowthKb * 1024.0 / kPolygons,
                peerQuads.seconds / quads.seconds, quads.peakGrowthKb * 1024.0 / kPolygons);
    return 0;
}
