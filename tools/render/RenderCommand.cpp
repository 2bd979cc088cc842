// The picture is drawn while the library reads the geometry a second time, the points and the
// polygons by readers side by side (two of them sharing the polygons where that can be). The
// first read gives the views, the sun, the materials and the instances and leaves the geometry
// blocks out (only the points stay, for the bounds of the automatic view); images are never
// needed.
#include "RenderCommand.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "DrawingThread.h"
#include "Placement.h"
#include "Renderer.h"
#include "SplitRead.h"

namespace ScnTools {

namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;
constexpr uint32_t kLargestSide = 8192;

int usage(const char* problem)
{
    std::fprintf(stderr, "scntool render: %s\nusage: scntool render FILE OUT.png [--view NAME|--auto] [--size WxH]\n",
                 problem);
    return kUsage;
}

bool parseSize(const char* text, uint32_t& width, uint32_t& height)
{
    char* end = nullptr;
    unsigned long w = std::strtoul(text, &end, 10);
    if (end == text || (*end != 'x' && *end != 'X')) {
        return false;
    }
    const char* second = end + 1;
    unsigned long h = std::strtoul(second, &end, 10);
    if (end == second || *end != 0 || w == 0 || h == 0 || w > kLargestSide || h > kLargestSide) {
        return false;
    }
    width = static_cast<uint32_t>(w);
    height = static_cast<uint32_t>(h);
    return true;
}

// Widens the box by the corners of a component's box where the instance puts it.
void addPlaced(Bounds& box, const Bounds& component, const Placement& placement)
{
    if (component.empty) {
        return;
    }
    for (int corner = 0; corner < 8; ++corner) {
        box.add(placement.point({corner & 1 ? component.max.x : component.min.x,
                                 corner & 2 ? component.max.y : component.min.y,
                                 corner & 4 ? component.max.z : component.min.z}));
    }
}

// How the geometry is read again to be drawn.
enum class Reading {
    // Two polygons' readers share each block's records, each drawing its half on a picture of
    // its own, beside the points' reader.
    eHalves,
    // One polygons' reader beside the points' reader, drawing on a thread of its own.
    eApart,
    // One reader of the whole file, drawing on a thread of its own.
    eWhole,
};

// Pictures up to this many pixels are drawn in halves: a second picture and depth buffer
// (8 bytes a pixel) stay a small part of what the read needs.
constexpr uint64_t kLargestHalvedPicture = uint64_t(2048) * 2048;

// Reads the geometry again and draws it as it comes; half is the renderer of the second half.
// A split reading takes early, when given, as its points' read (which may have begun).
// Prints why when the file does not open or the drawing fails.
ApartRead drawPass(NvScn::CScnMgr& scene, const std::string& path, Renderer& renderer, Renderer* half,
                   Reading reading, int64_t& badPolygons, std::unique_ptr<SplitRead>& early)
{
    std::unique_ptr<SplitRead> split;
    if (reading != Reading::eWhole) {
        split = early ? std::move(early) : std::unique_ptr<SplitRead>(new SplitRead(path));
    }
    if (reading == Reading::eHalves) {
        ApartRead read = split->readPolygons(renderer, badPolygons, half);
        // Blended surfaces depend on what was drawn before them, which a half does not know.
        if (read == ApartRead::eRead && (renderer.drewSeeThrough() || half->drewSeeThrough())) {
            return ApartRead::eStoppedAtFault;
        }
        return read;
    }
    // The polygons' reader is the busiest thread of the split read: it leaves all drawing to the
    // drawing thread.
    bool whole = reading == Reading::eWhole;
    DrawingThread drawing(renderer, whole);
    ApartRead read = ApartRead::eRead;
    if (whole) {
        GeometryStorage storage(&drawing, true);
        read = reloadGeometry(&scene, path, &storage, {"Preview.Image", "Image"}) ? ApartRead::eRead
                                                                                   : ApartRead::eFailed;
        badPolygons += storage.badPolygons;
    } else {
        read = split->readPolygons(drawing, badPolygons);
    }
    std::string error;
    if (!drawing.finish(error)) {
        std::fprintf(stderr, "scntool: cannot draw %s: %s\n", path.c_str(), error.c_str());
        return ApartRead::eFailed;
    }
    return read;
}

// Draws the flat and then, when there are any, the smoothed polygons; false after printing why.
// A file that a reading cannot draw as one reader would is drawn again, from a fresh renderer,
// by the next reading. The first split reading takes early.
bool drawAll(NvScn::CScnMgr& scene, const std::string& path, std::unique_ptr<Renderer>& renderer,
             const std::function<std::unique_ptr<Renderer>()>& fresh, bool halves, int64_t& badPolygons,
             std::unique_ptr<SplitRead> early)
{
    for (Reading reading : {Reading::eHalves, Reading::eApart, Reading::eWhole}) {
        if (reading == Reading::eHalves && !halves) {
            continue;
        }
        std::unique_ptr<Renderer> half = reading == Reading::eHalves ? fresh() : nullptr;
        badPolygons = 0;
        ApartRead read = drawPass(scene, path, *renderer, half.get(), reading, badPolygons, early);
        if (read == ApartRead::eRead &&
            (renderer->smoothedPolygons() > 0 || (half && half->smoothedPolygons() > 0))) {
            // The polygons naming missing points are counted once.
            int64_t again = 0;
            renderer->startSmoothedPass();
            if (half) {
                renderer->shareNormalSums(*half);
                half->startSmoothedPass();
            }
            std::unique_ptr<SplitRead> none;
            read = drawPass(scene, path, *renderer, half.get(), reading, again, none);
        }
        if (read == ApartRead::eRead && half) {
            renderer->absorb(*half);
        }
        if (read != ApartRead::eStoppedAtFault) {
            return read == ApartRead::eRead;
        }
        renderer = fresh();
    }
    return false;
}

// Whether the scene's own materials are all opaque (or invisible).
bool opaque(const MaterialLooks& looks)
{
    for (const SurfaceLook& look : looks.looks) {
        if (seeThrough(look.opacity)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int renderCommand(int argc, char** argv)
{
    if (argc < 2) {
        return usage("a scene file and a picture file are needed");
    }
    std::string path = argv[0];
    std::string output = argv[1];
    std::string viewName;
    bool automatic = false;
    uint32_t width = 800;
    uint32_t height = 600;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--auto") == 0) {
            automatic = true;
        } else if (std::strcmp(argv[i], "--view") == 0 && i + 1 < argc) {
            viewName = argv[++i];
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (!parseSize(argv[++i], width, height)) {
                return usage("the size must be WIDTHxHEIGHT, each from 1 to 8192");
            }
        } else {
            return usage((std::string("unknown option ") + argv[i]).c_str());
        }
    }
    if (automatic && !viewName.empty()) {
        return usage("--view and --auto exclude each other");
    }

    // The points' read needs nothing of the scene: it runs while the scene loads.
    std::unique_ptr<SplitRead> early(new SplitRead(path));
    Reports reports;
    GeometryStorage bounds(nullptr, false);
    std::vector<std::string> skipped = {"Polygons", "Preview.Image", "Image"};
    if (!automatic) {
        skipped.push_back("Points");
    }
    SceneManager scene = loadScene(path, reports, &bounds, skipped);
    if (!scene) {
        return kFailure;
    }
    ViewFrame frame;
    NvScn::CScnCamera* view = nullptr;
    if (automatic) {
        Bounds all = bounds.scene.bounds;
        for (const GeometryPart& component : bounds.components) {
            for (const Placement& placement : placementsOf(*scene, component.uuid)) {
                addPlaced(all, component.bounds, placement);
            }
        }
        frame = automaticFrame(all, static_cast<double>(width) / height);
    } else {
        view = chooseView(*scene, viewName);
        if (view == nullptr) {
            if (viewName.empty()) {
                std::fprintf(stderr, "scntool: %s has no perspective view (use --auto)\n", path.c_str());
            } else {
                std::fprintf(stderr, "scntool: %s has no perspective view named \"%s\"\n", path.c_str(),
                             viewName.c_str());
            }
            return kFailure;
        }
        if (!cameraFrame(*view, frame)) {
            std::fprintf(stderr, "scntool: the view \"%s\" of %s looks nowhere: its position is its target\n",
                         view->getName(), path.c_str());
            return kFailure;
        }
    }
    NvScn::CScnVector light;
    if (!sunDirection(*scene, view, light)) {
        // Without a sun the light comes over the viewer's left shoulder.
        light = normalised({frame.up.x - frame.right.x * 0.5 - frame.forward.x,
                            frame.up.y - frame.right.y * 0.5 - frame.forward.y,
                            frame.up.z - frame.right.z * 0.5 - frame.forward.z});
    }
    MaterialLooks looks = materialLooks(scene->getMaterials(), folderOf(path));

    auto fresh = [&] {
        return std::unique_ptr<Renderer>(new Renderer(frame, width, height, light, looks, *scene, folderOf(path)));
    };
    std::unique_ptr<Renderer> drawn = fresh();
    int64_t badPolygons = 0;
    bool halves = opaque(looks) && uint64_t(width) * height <= kLargestHalvedPicture;
    if (!drawAll(*scene, path, drawn, fresh, halves, badPolygons, std::move(early))) {
        return kFailure;
    }
    const Renderer& renderer = *drawn;
    for (const std::string& missing : renderer.missingTextures()) {
        std::fprintf(stderr, "scntool: warning: the texture %s is not beside %s; its colour is used\n",
                     missing.c_str(), path.c_str());
    }
    if (renderer.polygons() == 0) {
        std::fprintf(stderr, "scntool: %s has no polygon to draw\n", path.c_str());
        return kFailure;
    }
    if (badPolygons > 0) {
        std::fprintf(stderr, "scntool: warning: %lld polygons of %s name points that do not exist; they are left out\n",
                     static_cast<long long>(badPolygons), path.c_str());
    }
    if (renderer.flatPolygons() > 0) {
        std::fprintf(stderr, "scntool: warning: %lld polygons of %s have no area; they are left out\n",
                     static_cast<long long>(renderer.flatPolygons()), path.c_str());
    }
    if (renderer.flatPolygons() == renderer.polygons()) {
        std::fprintf(stderr, "scntool: %s has no polygon with an area to draw\n", path.c_str());
        return kFailure;
    }
    std::string error;
    if (!writePng(output, renderer.picture(), error)) {
        std::fprintf(stderr, "scntool: cannot write %s: %s\n", output.c_str(), error.c_str());
        return kFailure;
    }
    return 0;
}

}  // namespace ScnTools
