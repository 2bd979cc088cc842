#include "SceneGeometry.h"

#include <algorithm>
#include <cstdio>

#include "BlockSkipping.h"
#include "FileStream.h"

namespace ScnTools {

using NvScn::CScnMgr;
using NvScn::CScnPolygon;
using NvScn::CScnVector;

void Reports::print() const
{
    for (const std::string& text : texts) {
        std::fprintf(stderr, "  %s\n", text.c_str());
    }
}

void Bounds::add(const CScnVector& p)
{
    if (empty) {
        min = max = p;
        empty = false;
        return;
    }
    min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
    max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
}

bool GeometryStorage::setCurrentInternalComponentInstance(CScnMgr*, const NvScn::CScnUUID* component,
                                                          int32_t geometryLevel)
{
    components.emplace_back();
    if (component != nullptr) {
        components.back().uuid = *component;
    }
    components.back().level = geometryLevel;
    mComponentNext = true;
    if (mSink != nullptr) {
        mSink->component(static_cast<int32_t>(components.size()) - 1, components.back().uuid);
    }
    return true;
}

// The library names a component before its points only; points without that call are the scene's.
void GeometryStorage::setNbPoints(CScnMgr*, int32_t count)
{
    mCurrent = mComponentNext ? static_cast<int32_t>(components.size()) - 1 : -1;
    mComponentNext = false;
    GeometryPart& part = current();
    part.points.clear();
    if (mKeepPoints && count > 0) {
        // The announced count is only a hint: a file may lie about it.
        part.points.reserve(static_cast<size_t>(std::min<int32_t>(count, 1 << 24)));
    }
}

bool GeometryStorage::addPoint(CScnMgr*, const CScnVector* point, int32_t)
{
    GeometryPart& part = current();
    part.bounds.add(*point);
    if (mKeepPoints) {
        part.points.push_back(*point);
    }
    return true;
}

void GeometryStorage::setNbPolygons(CScnMgr*, int32_t) {}

void ArrivingPolygon::assign(const ArrivingTriangle& triangle)
{
    material = triangle.material;
    smoothed = triangle.smoothed;
    corners.assign(triangle.corners, triangle.corners + 3);
    vertices.assign(triangle.vertices, triangle.vertices + 3);
    loopSizes.assign(1, 3);
}

void PolygonSink::triangle(int32_t component, const ArrivingTriangle& triangle)
{
    ArrivingPolygon polygon;
    polygon.assign(triangle);
    this->polygon(component, polygon);
}

bool PolygonSink::unseenTriangle(int32_t component, const ArrivingTriangle& triangle) const
{
    ArrivingPolygon polygon;
    polygon.assign(triangle);
    return unseen(component, polygon);
}

bool GeometryStorage::addPolygon(CScnMgr*, const CScnPolygon* polygon, int32_t)
{
    GeometryPart& part = current();
    ++part.polygons;
    if (mSink == nullptr || polygon == nullptr) {
        return true;
    }
    const std::vector<CScnVector>& points = part.points;
    auto lookUp = [&points](int32_t index, CScnVector& corner) {
        if (index < 0 || static_cast<size_t>(index) >= points.size()) {
            return false;
        }
        corner = points[static_cast<size_t>(index)];
        return true;
    };
    if (!handOnPolygon(polygon, lookUp, mCurrent, *mSink, mPolygon)) {
        ++badPolygons;
    }
    return true;
}

namespace {

// The file itself when nothing is skipped, else the stream that leaves the blocks out.
NvScn::CScnStream* readFrom(FileStream& file, BlockSkippingStream& skimmed, const std::vector<std::string>& skipped)
{
    return skipped.empty() ? static_cast<NvScn::CScnStream*>(&file) : &skimmed;
}

}  // namespace

SceneManager loadScene(const std::string& path, Reports& reports, NvScn::CScnExtStorage* storage,
                       const std::vector<std::string>& skippedBlocks)
{
    std::unique_ptr<FileStream> stream = openFile(path, "rb");
    if (!stream) {
        return nullptr;
    }
    SceneManager manager(CScnMgr::create(&reports, storage));
    if (!manager) {
        std::fprintf(stderr, "scntool: the library refused to make a scene\n");
        reports.print();
        return nullptr;
    }
    BlockSkippingStream skimmed(*stream, skippedBlocks);
    if (manager->read(readFrom(*stream, skimmed, skippedBlocks)) != 0) {
        std::fprintf(stderr, "scntool: cannot read %s\n", path.c_str());
        reports.print();
        return nullptr;
    }
    return manager;
}

bool reloadGeometry(CScnMgr* manager, const std::string& path, NvScn::CScnExtStorage* storage,
                    const std::vector<std::string>& skippedBlocks)
{
    std::unique_ptr<FileStream> stream = openFile(path, "rb");
    if (!stream) {
        return false;
    }
    // The first read of the same file went well: what this one reports stays with the reports.
    BlockSkippingStream skimmed(*stream, skippedBlocks);
    manager->readDataBlocks(readFrom(*stream, skimmed, skippedBlocks), storage);
    return true;
}

std::string folderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace ScnTools
