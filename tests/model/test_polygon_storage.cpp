// The geometry tables keep their elements in place: every polygon, vertex manager, hole manager
// and hole a client holds stays valid and unchanged while it lives, whatever happens to the
// others; memory failures are reported and lose nothing.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/Geometry.h"
#include "model/Scene.h"
#include "platform/Memory.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using ScnTest::RecordingFeedback;

struct SceneDeleter {
    void operator()(CSCN* scene) const { scene->release(); }
};
using ScenePtr = std::unique_ptr<CSCN, SceneDeleter>;

ScenePtr makeScene(RecordingFeedback& feedback)
{
    return ScenePtr(static_cast<CSCN*>(CSCN::create(eCurrentVersionSCN, &feedback, nullptr)));
}

using Loop = std::vector<CScnVertex>;

// What a client knows of a polygon: the pointers it was handed and what it stored.
struct ModelPolygon {
    CScnPolygon* polygon;
    TScnObjectMgr<CScnVertex>* vertices;
    int32_t material;
    bool smoothed;
    Loop outer;
    TScnObjectMgr<CScnPolygon::CScnHole>* holeMgr;
    std::vector<CScnPolygon::CScnHole*> holes;
    std::vector<Loop> holeLoops;
};

CScnVertex vertexTagged(int tag)
{
    return CScnVertex{tag, static_cast<uint32_t>(tag % 4), tag * 0.5f, -tag * 0.25f};
}

bool sameVertex(const CScnVertex& a, const CScnVertex& b)
{
    return a.pointIndex == b.pointIndex && a.flags == b.flags && a.u == b.u && a.v == b.v;
}

// Compares a loop manager with the loop the client stored, record by record.
std::string loopDifference(TScnObjectMgr<CScnVertex>* manager, const Loop& loop)
{
    if (manager->getNbObjects() != static_cast<int32_t>(loop.size())) {
        return "count " + std::to_string(manager->getNbObjects()) + " instead of " + std::to_string(loop.size());
    }
    for (size_t i = 0; i < loop.size(); ++i) {
        if (!sameVertex(*manager->getScnObject(static_cast<uint32_t>(i)), loop[i])) {
            return "vertex " + std::to_string(i) + " differs";
        }
    }
    return "";
}

// Every polygon at its index with the same pointers and content; "" when the table matches.
std::string tableDifference(CPolygonMgr& table, const std::vector<ModelPolygon>& model)
{
    if (table.getNbObjects() != static_cast<int32_t>(model.size())) {
        return "table count " + std::to_string(table.getNbObjects());
    }
    for (size_t i = 0; i < model.size(); ++i) {
        const ModelPolygon& expected = model[i];
        std::string at = " of polygon " + std::to_string(i);
        CScnPolygon* polygon = table.getScnObject(static_cast<uint32_t>(i));
        if (polygon != expected.polygon) {
            return "pointer" + at;
        }
        if (polygon->getVertices() != expected.vertices || polygon->getPropertyIndex() != expected.material ||
            polygon->isSmoothed() != expected.smoothed) {
            return "fields" + at;
        }
        std::string outer = loopDifference(expected.vertices, expected.outer);
        if (!outer.empty()) {
            return outer + at;
        }
        if (expected.holeMgr == nullptr) {
            continue;
        }
        if (polygon->getHoles() != expected.holeMgr ||
            expected.holeMgr->getNbObjects() != static_cast<int32_t>(expected.holes.size())) {
            return "hole manager" + at;
        }
        for (size_t h = 0; h < expected.holes.size(); ++h) {
            std::string hole = loopDifference(expected.holes[h]->getVertices(), expected.holeLoops[h]);
            if (expected.holeMgr->getScnObject(static_cast<uint32_t>(h)) != expected.holes[h] || !hole.empty()) {
                return "hole " + std::to_string(h) + at + " " + hole;
            }
        }
    }
    return "";
}

// What moveObject does to a list: the element at from ends at index to.
template <class T>
void moveElement(std::vector<T>& items, uint32_t from, uint32_t to)
{
    T moved = items[from];
    items.erase(items.begin() + from);
    items.insert(items.begin() + to, moved);
}

// A random index for a list of size elements, or one of the two ends.
struct IndexPicker {
    std::mt19937 random;
    uint32_t operator()(size_t size) { return static_cast<uint32_t>(random() % size); }
    // The index or kScnLastIndex, one time in two when last is allowed.
    uint32_t orLast(size_t size, bool onlyLast = false)
    {
        return onlyLast || random() % 2 == 0 ? kScnLastIndex : (*this)(size);
    }
};

// The element that kScnLastIndex names: the end for an insertion, the last one otherwise.
size_t resolved(uint32_t index, size_t end)
{
    return index == kScnLastIndex ? end : index;
}

struct EditCase {
    const char* name;
    unsigned seed;
    int steps;
    // Largest number of vertices a polygon is given (above 64 they leave the polygon's record).
    int largestLoop;
    // Steps between two comparisons of the whole table.
    int checkEvery;
};

class PolygonTableEdits : public ::testing::TestWithParam<EditCase> {};

// Random edits through the public operations, checked against what a client would remember after
// every step.
TEST_P(PolygonTableEdits, KeepEveryPolygonInPlace)
{
    const EditCase& c = GetParam();
    RecordingFeedback feedback;
    ScenePtr scene = makeScene(feedback);
    TScnObjectMgr<CScnPolygon>* table = scene->getPolygons();
    std::vector<ModelPolygon> model;
    IndexPicker pick{std::mt19937(c.seed)};
    std::mt19937& random = pick.random;
    int tag = 0;
    for (int step = 0; step < c.steps; ++step) {
        int action = static_cast<int>(random() % 10);
        if (model.empty() || action < 3) {
            uint32_t index = pick.orLast(model.size() + 1);
            CScnPolygon* polygon = table->newScnObject(index);
            ASSERT_NE(polygon, nullptr);
            ModelPolygon added{polygon, polygon->getVertices(), ++tag, tag % 2 == 0, {}, nullptr, {}, {}};
            polygon->setPropertyIndex(added.material);
            polygon->setSmoothed(added.smoothed);
            int count = static_cast<int>(random() % (c.largestLoop + 1));
            for (int v = 0; v < count; ++v) {
                added.outer.push_back(vertexTagged(++tag));
                *added.vertices->newScnObject(kScnLastIndex) = added.outer.back();
            }
            model.insert(model.begin() + resolved(index, model.size()), added);
        } else if (action < 5) {
            ModelPolygon& target = model[pick(model.size())];
            uint32_t index = pick(target.outer.size() + 1);
            CScnVertex* vertex = target.vertices->newScnObject(index);
            ASSERT_NE(vertex, nullptr);
            *vertex = vertexTagged(++tag);
            target.outer.insert(target.outer.begin() + index, *vertex);
        } else if (action < 6) {
            ModelPolygon& target = model[pick(model.size())];
            if (!target.outer.empty()) {
                uint32_t index = pick(target.outer.size());
                target.vertices->removeObject(index);
                target.outer.erase(target.outer.begin() + index);
            }
        } else if (action < 7) {
            ModelPolygon& target = model[pick(model.size())];
            if (target.holeMgr == nullptr || random() % 3 != 0) {
                target.holeMgr = target.polygon->getHoles();
                CScnPolygon::CScnHole* hole = target.holeMgr->newScnObject(kScnLastIndex);
                ASSERT_NE(hole, nullptr);
                target.holes.push_back(hole);
                target.holeLoops.emplace_back();
                for (int v = static_cast<int>(random() % 4); v > 0; --v) {
                    target.holeLoops.back().push_back(vertexTagged(++tag));
                    *hole->getVertices()->newScnObject(kScnLastIndex) = target.holeLoops.back().back();
                }
            } else if (!target.holes.empty()) {
                uint32_t index = pick(target.holes.size());
                target.holeMgr->removeObject(index);
                target.holes.erase(target.holes.begin() + index);
                target.holeLoops.erase(target.holeLoops.begin() + index);
            }
        } else if (action < 9) {
            uint32_t index = pick.orLast(model.size());
            table->removeObject(index);
            model.erase(model.begin() + resolved(index, model.size() - 1));
        } else {
            uint32_t from = pick(model.size());
            uint32_t to = pick(model.size());
            table->moveObject(from, to);
            moveElement(model, from, to);
        }
        if (step % c.checkEvery == 0 || step + 1 == c.steps) {
            ASSERT_EQ(tableDifference(scene->polygons(), model), "") << "after step " << step;
        }
    }
    EXPECT_TRUE(feedback.warnings.empty());
}

const EditCase kEditCases[] = {
    {"triangles and quads", 1, 3000, 4, 1},
    {"small loops", 2, 3000, 12, 1},
    {"loops that leave their record", 3, 1500, 80, 1},
    {"long run", 4, 20000, 6, 97},
};

INSTANTIATE_TEST_SUITE_P(Cases, PolygonTableEdits, ::testing::ValuesIn(kEditCases),
                         [](const ::testing::TestParamInfo<EditCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name) {
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

class PointTableEdits : public ::testing::TestWithParam<unsigned> {};

// Points stay in place through appends, removals, insertions and moves, before and after the
// table first gets out of creation order.
TEST_P(PointTableEdits, KeepEveryPointInPlace)
{
    RecordingFeedback feedback;
    ScenePtr scene = makeScene(feedback);
    TScnObjectMgr<CScnVector>* table = scene->getPoints();
    std::vector<std::pair<CScnVector*, double>> model;
    IndexPicker pick{std::mt19937(GetParam())};
    std::mt19937& random = pick.random;
    double tag = 0;
    for (int step = 0; step < 6000; ++step) {
        int action = static_cast<int>(random() % 10);
        // Long runs of appends and removals of the last point first, then everything.
        bool ordered = step < 3000;
        if (model.empty() || action < 5) {
            uint32_t index = pick.orLast(model.size() + 1, ordered);
            CScnVector* point = table->newScnObject(index);
            ASSERT_NE(point, nullptr);
            ASSERT_EQ(point->x, 0.0);
            point->x = ++tag;
            point->z = -tag;
            model.insert(model.begin() + resolved(index, model.size()), {point, tag});
        } else if (action < 8) {
            uint32_t index = pick.orLast(model.size(), ordered);
            table->removeObject(index);
            model.erase(model.begin() + resolved(index, model.size() - 1));
        } else if (!ordered) {
            uint32_t from = pick(model.size());
            uint32_t to = pick(model.size());
            table->moveObject(from, to);
            moveElement(model, from, to);
        }
        ASSERT_EQ(table->getNbObjects(), static_cast<int32_t>(model.size()));
        for (size_t i = 0; i < model.size(); ++i) {
            CScnVector* point = table->getScnObject(static_cast<uint32_t>(i));
            ASSERT_EQ(point, model[i].first) << "step " << step << " index " << i;
            ASSERT_EQ(point->x, model[i].second);
            ASSERT_EQ(point->z, -model[i].second);
        }
    }
    EXPECT_TRUE(feedback.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, PointTableEdits, ::testing::Values(11u, 12u, 13u));

// Polygons removed and made again reuse the memory of the ones that went: a client that keeps a
// hundred polygons while it replaces them many times sees a bounded set of addresses.
TEST(PolygonTableMemory, RemovedPolygonsLeaveRoomForNewOnes)
{
    RecordingFeedback feedback;
    ScenePtr scene = makeScene(feedback);
    TScnObjectMgr<CScnPolygon>* table = scene->getPolygons();
    std::mt19937 random(5);
    std::set<CScnPolygon*> seen;
    for (int step = 0; step < 20000; ++step) {
        if (table->getNbObjects() >= 100) {
            table->removeObject(static_cast<uint32_t>(random() % 100));
        }
        CScnPolygon* polygon = table->newScnObject(kScnLastIndex);
        for (int v = static_cast<int>(random() % 5); v > 0; --v) {
            polygon->getVertices()->newScnObject(kScnLastIndex);
        }
        seen.insert(polygon);
    }
    EXPECT_LT(seen.size(), 400u);
    EXPECT_TRUE(feedback.warnings.empty());
}

// A large table spans many segments: every polygon is found at its index, and reports of its
// vertex manager reach the scene of its table.
TEST(PolygonTableMemory, ManySegmentsKeepTheirPolygons)
{
    RecordingFeedback feedback;
    ScenePtr scene = makeScene(feedback);
    CPolygonMgr& table = scene->polygons();
    constexpr int kCount = 150000;
    for (int i = 0; i < kCount; ++i) {
        CPolygon* polygon = table.appendItem(static_cast<uint32_t>(1 + i % 5));
        polygon->setPropertyIndex(i);
        for (int v = 0; v < 1 + i % 5; ++v) {
            polygon->vertices().appendItem()->pointIndex = i + v;
        }
    }
    int wrong = 0;
    for (int i = 0; i < kCount; ++i) {
        CScnPolygon* polygon = table.getScnObject(static_cast<uint32_t>(i));
        TScnObjectMgr<CScnVertex>* vertices = polygon->getVertices();
        wrong += polygon->getPropertyIndex() != i || vertices->getNbObjects() != 1 + i % 5 ||
                 vertices->getScnObject(static_cast<uint32_t>(i % 5))->pointIndex != i + i % 5;
    }
    EXPECT_EQ(wrong, 0);
    table.at(kCount - 1)->getVertices()->getScnObject(9);
    EXPECT_EQ(feedback.warnings, std::vector<std::string>{"getScnObject: Bad index value"});
    EXPECT_EQ(feedback.warningManagers[0], scene->asMgr());
}

// Building polygons with holes where the n-th allocation fails, for every n until none does:
// each null answer comes with one report of its own and nothing else reports, and what was made
// before stays as it was.
TEST(PolygonTableMemory, EveryFailedAllocationIsReportedAndLosesNothing)
{
    bool completed = false;
    for (long failing = 1; !completed && failing < 200; ++failing) {
        RecordingFeedback feedback;
        ScenePtr scene = makeScene(feedback);
        TScnObjectMgr<CScnPolygon>* table = scene->getPolygons();
        std::vector<int32_t> materials;
        std::vector<std::string> misreported;
        bool failed = false;
        // Runs an operation that answers null on failure and checks its reports.
        auto attempt = [&](auto&& operation) {
            size_t before = feedback.warnings.size();
            auto* result = operation();
            size_t reports = feedback.warnings.size() - before;
            if (reports != (result == nullptr ? 1u : 0u) ||
                (reports == 1 && feedback.warnings.back() != "No memory availiable" &&
                 feedback.warnings.back() != "newScnObject: Can't allocate object")) {
                misreported.push_back(std::to_string(reports) + " reports");
            }
            failed = failed || result == nullptr;
            return result;
        };
        Nuvora::failAllocationAfter(failing);
        for (int32_t p = 0; p < 40; ++p) {
            CScnPolygon* polygon = attempt([&] { return table->newScnObject(kScnLastIndex); });
            if (polygon == nullptr) {
                continue;
            }
            polygon->setPropertyIndex(p);
            materials.push_back(p);
            int32_t made = 0;
            for (int32_t v = 0; v < 3 + p * 3; ++v) {
                CScnVertex* vertex = attempt([&] { return polygon->getVertices()->newScnObject(kScnLastIndex); });
                if (vertex != nullptr) {
                    vertex->pointIndex = made++;
                }
            }
            size_t before = feedback.warnings.size();
            TScnObjectMgr<CScnPolygon::CScnHole>* holes = polygon->getHoles();
            if (feedback.warnings.size() != before) {
                EXPECT_EQ(feedback.warnings.back(), "No memory availiable");
                failed = true;
            }
            attempt([&] { return holes->newScnObject(kScnLastIndex); });
        }
        Nuvora::failAllocationAfter(0);
        completed = !failed;
        EXPECT_EQ(misreported, std::vector<std::string>{}) << failing;
        ASSERT_EQ(table->getNbObjects(), static_cast<int32_t>(materials.size())) << failing;
        for (size_t i = 0; i < materials.size(); ++i) {
            CScnPolygon* polygon = table->getScnObject(static_cast<uint32_t>(i));
            EXPECT_EQ(polygon->getPropertyIndex(), materials[i]);
            TScnObjectMgr<CScnVertex>* vertices = polygon->getVertices();
            for (int32_t v = 0; v < vertices->getNbObjects(); ++v) {
                EXPECT_EQ(vertices->getScnObject(static_cast<uint32_t>(v))->pointIndex, v) << failing;
            }
        }
    }
    EXPECT_TRUE(completed);
}

struct EmptyHolesCase {
    const char* operation;
    std::function<bool(TScnObjectMgr<CScnPolygon::CScnHole>*)> run;
    const char* report;
};

// When the hole manager of a polygon cannot be made, the polygon hands out one that stays empty
// and says why at each use; once memory is back the polygon gets its own.
TEST(PolygonTableMemory, HolesThatCannotBeMadeStayEmpty)
{
    using Holes = TScnObjectMgr<CScnPolygon::CScnHole>;
    const EmptyHolesCase cases[] = {
        {"count", [](Holes* h) { return h->getNbObjects() == 0; }, nullptr},
        {"append", [](Holes* h) { return h->newScnObject(kScnLastIndex) == nullptr; }, "No memory availiable"},
        {"insert first", [](Holes* h) { return h->newScnObject(0) == nullptr; }, "No memory availiable"},
        {"insert beyond", [](Holes* h) { return h->newScnObject(1) == nullptr; }, "newScnObject: Bad index value"},
        {"get", [](Holes* h) { return h->getScnObject(0) == nullptr; }, "getScnObject: Bad index value"},
        {"remove last", [](Holes* h) { return h->removeObject(kScnLastIndex), true; },
         "removeObject: no more object to remove"},
        {"remove first", [](Holes* h) { return h->removeObject(0), true; }, "removeObject: Bad index value"},
        {"move", [](Holes* h) { return h->moveObject(0, 1), true; }, "moveObject: Bad index value"},
        {"move in place", [](Holes* h) { return h->moveObject(1, 1), true; }, nullptr},
    };
    for (const EmptyHolesCase& c : cases) {
        RecordingFeedback feedback;
        ScenePtr scene = makeScene(feedback);
        CScnPolygon* polygon = scene->getPolygons()->newScnObject(kScnLastIndex);
        Nuvora::failAllocationAfter(1);
        Holes* holes = polygon->getHoles();
        Nuvora::failAllocationAfter(0);
        ASSERT_NE(holes, nullptr);
        EXPECT_TRUE(c.run(holes)) << c.operation;
        std::vector<std::string> expected{"No memory availiable"};
        if (c.report != nullptr) {
            expected.push_back(c.report);
        }
        EXPECT_EQ(feedback.warnings, expected) << c.operation;
        Holes* own = polygon->getHoles();
        EXPECT_NE(own, holes);
        EXPECT_NE(own->newScnObject(kScnLastIndex), nullptr);
        EXPECT_EQ(polygon->getHoles(), own);
    }
}

// The records of a loop stay where they are while the loop grows in its polygon's record, and
// keep their values when they have to move.
TEST(PolygonTableMemory, LoopsKeepTheirRecordsWhenTheyMove)
{
    RecordingFeedback feedback;
    ScenePtr scene = makeScene(feedback);
    TScnObjectMgr<CScnPolygon>* table = scene->getPolygons();
    TScnObjectMgr<CScnVertex>* last = table->newScnObject(kScnLastIndex)->getVertices();
    CScnVertex* first = last->newScnObject(kScnLastIndex);
    first->pointIndex = 7;
    for (int v = 1; v < 64; ++v) {
        last->newScnObject(kScnLastIndex)->pointIndex = v;
    }
    EXPECT_EQ(last->getScnObject(0), first) << "a polygon at the end of the memory grows in place";
    TScnObjectMgr<CScnVertex>* middle = table->newScnObject(0)->getVertices();
    for (int v = 0; v < 3; ++v) {
        middle->newScnObject(kScnLastIndex)->pointIndex = 100 + v;
    }
    table->newScnObject(kScnLastIndex);
    middle->newScnObject(1)->pointIndex = 200;
    last->newScnObject(kScnLastIndex)->pointIndex = 64;
    std::vector<int32_t> middleIndices;
    for (int v = 0; v < middle->getNbObjects(); ++v) {
        middleIndices.push_back(middle->getScnObject(static_cast<uint32_t>(v))->pointIndex);
    }
    EXPECT_EQ(middleIndices, (std::vector<int32_t>{100, 200, 101, 102}));
    ASSERT_EQ(last->getNbObjects(), 65);
    EXPECT_EQ(last->getScnObject(0)->pointIndex, 7);
    for (int v = 1; v < 65; ++v) {
        EXPECT_EQ(last->getScnObject(static_cast<uint32_t>(v))->pointIndex, v);
    }
    EXPECT_TRUE(feedback.warnings.empty());
}

}  // namespace
