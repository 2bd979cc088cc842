// The three manager kinds share one contract: indices, messages, moves and growth.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "model/Geometry.h"
#include "model/ObjectMgr.h"
#include "model/Scene.h"
#include "model/Uuid.h"
#include "platform/Memory.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using ScnTest::RecordingFeedback;

// Each fixture type builds one manager inside a scene and tells its elements apart by a tag that
// survives moves (pointers for the pointer lists, a stored value for the records).
struct ObjectList {
    using Mgr = TObjectMgr<CScnUUIDX, CScnUUID>;
    static constexpr const char* kRemoveEmpty = "removeObject: Bad index value";
    static Mgr* make(CSCN* scene) { return new Mgr(scene); }
    static void tag(CScnUUID* item, int value) { item->bytes[0] = static_cast<uint8_t>(value); }
    static int tagOf(CScnUUID* item) { return item->bytes[0]; }
};

struct PointList {
    using Mgr = CPointMgr;
    static constexpr const char* kRemoveEmpty = "removeObject: no more object to remove";
    static Mgr* make(CSCN* scene) { return new Mgr(scene); }
    static void tag(CScnVector* item, int value) { item->x = value; }
    static int tagOf(CScnVector* item) { return static_cast<int>(item->x); }
};

struct VertexList {
    struct Owner {
        CSCN* scene;
        void report(const char* text) const { scene->report(text); }
    };
    struct Mgr : TSimpleMgr<CScnVertex, Owner> {
        explicit Mgr(CSCN* scene) : TSimpleMgr(&mOwner), mOwner{scene} {}
        Owner mOwner;
    };
    static constexpr const char* kRemoveEmpty = "removeObject: no more object to remove";
    static Mgr* make(CSCN* scene) { return new Mgr(scene); }
    static void tag(CScnVertex* item, int value) { item->pointIndex = value; }
    static int tagOf(CScnVertex* item) { return item->pointIndex; }
};

struct PolygonList {
    using Mgr = CPolygonMgr;
    static constexpr const char* kRemoveEmpty = "removeObject: no more object to remove";
    static Mgr* make(CSCN* scene) { return new Mgr(scene); }
    static void tag(CScnPolygon* item, int value) { item->setPropertyIndex(value); }
    static int tagOf(CScnPolygon* item) { return item->getPropertyIndex(); }
};

// The outer loop of a polygon that sits between two others in its table, so that its records
// move out of the polygon as they grow.
struct OuterLoopList {
    struct Mgr {
        explicit Mgr(CSCN* scene) : table(scene)
        {
            table.appendItem();
            loop = table.appendItem()->getVertices();
            table.appendItem();
        }
        int32_t getNbObjects() { return loop->getNbObjects(); }
        CScnVertex* getScnObject(uint32_t index) { return loop->getScnObject(index); }
        CScnVertex* newScnObject(uint32_t index) { return loop->newScnObject(index); }
        void removeObject(uint32_t index) { loop->removeObject(index); }
        void moveObject(uint32_t from, uint32_t to) { loop->moveObject(from, to); }
        CPolygonMgr table;
        TScnObjectMgr<CScnVertex>* loop;
    };
    static constexpr const char* kRemoveEmpty = "removeObject: no more object to remove";
    static Mgr* make(CSCN* scene) { return new Mgr(scene); }
    static void tag(CScnVertex* item, int value) { item->pointIndex = value; }
    static int tagOf(CScnVertex* item) { return item->pointIndex; }
};

template <class List>
class ManagerContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        mScene.reset(static_cast<CSCN*>(CSCN::create(eCurrentVersionSCN, &mFeedback, nullptr)));
        ASSERT_TRUE(mScene);
        mMgr.reset(List::make(mScene.get()));
    }

    // Fills the list with elements tagged 0, 1, ... (A, B, C, D for four).
    void fill(int count)
    {
        for (int i = 0; i < count; ++i) {
            List::tag(mMgr->newScnObject(kScnLastIndex), i);
        }
    }

    std::string order()
    {
        std::string letters;
        for (int i = 0; i < mMgr->getNbObjects(); ++i) {
            letters += static_cast<char>('A' + List::tagOf(mMgr->getScnObject(i)));
        }
        return letters;
    }

    struct SceneDeleter {
        void operator()(CSCN* scene) const { scene->release(); }
    };
    RecordingFeedback mFeedback;
    std::unique_ptr<CSCN, SceneDeleter> mScene;
    std::unique_ptr<typename List::Mgr> mMgr;
};

using ListKinds = ::testing::Types<ObjectList, PointList, VertexList, PolygonList, OuterLoopList>;
TYPED_TEST_SUITE(ManagerContract, ListKinds);

TYPED_TEST(ManagerContract, InsertsAtAnyIndexUpToTheCount)
{
    this->fill(2);
    TypeParam::tag(this->mMgr->newScnObject(2), 2);
    TypeParam::tag(this->mMgr->newScnObject(0), 3);
    EXPECT_EQ(this->order(), "DABC");
    EXPECT_EQ(this->mMgr->newScnObject(5), nullptr);
    EXPECT_EQ(this->mFeedback.warnings, std::vector<std::string>{"newScnObject: Bad index value"});
    EXPECT_EQ(this->mFeedback.warningManagers[0], this->mScene->asMgr());
}

TYPED_TEST(ManagerContract, RefusesBadIndicesWithTheirReports)
{
    this->fill(2);
    EXPECT_EQ(this->mMgr->getScnObject(2), nullptr);
    EXPECT_EQ(this->mMgr->getScnObject(kScnLastIndex), nullptr);
    this->mMgr->removeObject(2);
    this->mMgr->moveObject(2, 0);
    this->mMgr->moveObject(0, 7);
    EXPECT_EQ(this->order(), "AB");
    EXPECT_EQ(this->mFeedback.warnings,
              (std::vector<std::string>{"getScnObject: Bad index value", "getScnObject: Bad index value",
                                        "removeObject: Bad index value", "moveObject: Bad index value",
                                        "moveObject: Bad index value"}));
}

TYPED_TEST(ManagerContract, RemovesByIndexAndTheLastOne)
{
    this->fill(4);
    this->mMgr->removeObject(1);
    EXPECT_EQ(this->order(), "ACD");
    this->mMgr->removeObject(kScnLastIndex);
    EXPECT_EQ(this->order(), "AC");
    this->mMgr->removeObject(kScnLastIndex);
    this->mMgr->removeObject(kScnLastIndex);
    EXPECT_EQ(this->mMgr->getNbObjects(), 0);
    EXPECT_TRUE(this->mFeedback.warnings.empty());
    this->mMgr->removeObject(kScnLastIndex);
    EXPECT_EQ(this->mFeedback.warnings, std::vector<std::string>{TypeParam::kRemoveEmpty});
}

struct MoveCase {
    uint32_t from;
    uint32_t to;
    const char* expected;
};

TYPED_TEST(ManagerContract, MovesAnElementToItsTargetIndex)
{
    const MoveCase cases[] = {
        {0, 3, "BCDA"}, {3, 0, "DABC"}, {1, 2, "ACBD"}, {2, 1, "ACBD"},
        {2, 2, "ABCD"}, {4, 0, "ABCD"}, {0, 4, "ABCD"},
    };
    for (const MoveCase& c : cases) {
        this->mMgr.reset(TypeParam::make(this->mScene.get()));
        this->fill(4);
        this->mMgr->moveObject(c.from, c.to);
        EXPECT_EQ(this->order(), c.expected) << c.from << " -> " << c.to;
    }
    EXPECT_EQ(this->mFeedback.warnings.size(), 2u);
}

TEST(RapideMgr, GrowsByDoublingFromTwo)
{
    RecordingFeedback feedback;
    CScnMgr* manager = CSCN::create(eCurrentVersionSCN, &feedback, nullptr);
    auto* scene = static_cast<CSCN*>(manager);
    CPolygonMgr polygons(scene);
    CHoleMgr& holes = polygons.appendItem()->holes();
    VertexList::Mgr vertices(scene);
    std::vector<uint32_t> holeCapacities;
    std::vector<uint32_t> vertexCapacities;
    std::vector<uint32_t> indexCapacities;
    for (int i = 0; i < 5; ++i) {
        holes.newScnObject(kScnLastIndex);
        vertices.newScnObject(kScnLastIndex);
        holeCapacities.push_back(holes.capacity());
        vertexCapacities.push_back(vertices.capacity());
        indexCapacities.push_back(polygons.capacity());
        polygons.newScnObject(kScnLastIndex);
    }
    EXPECT_EQ(holeCapacities, (std::vector<uint32_t>{2, 2, 4, 4, 8}));
    EXPECT_EQ(vertexCapacities, (std::vector<uint32_t>{2, 2, 4, 4, 8}));
    EXPECT_EQ(indexCapacities, (std::vector<uint32_t>{2, 2, 4, 4, 8}));
    manager->release();
}

// Each list holds two elements and needs memory for its third; the failed growth reports and
// keeps both elements, and the list grows again once memory is back.
TEST(RapideMgr, KeepsItsElementsWhenGrowingRunsOutOfMemory)
{
    struct List {
        const char* name;
        // Fills the list with two elements; answers a function that appends one (null on failure)
        // and one that tells the count and the tag of the second element.
        std::function<void(CSCN*, CPolygonMgr&, CPointMgr&)> fill;
        std::function<bool(CPolygonMgr&, CPointMgr&)> append;
        std::function<std::pair<int32_t, int>(CPolygonMgr&, CPointMgr&)> state;
    };
    static VertexList::Mgr* holeVertices = nullptr;
    const List lists[] = {
        {"hole vertices",
         [](CSCN* scene, CPolygonMgr&, CPointMgr&) {
             holeVertices = new VertexList::Mgr(scene);
             holeVertices->newScnObject(kScnLastIndex)->pointIndex = 1;
             holeVertices->newScnObject(kScnLastIndex)->pointIndex = 2;
         },
         [](CPolygonMgr&, CPointMgr&) { return holeVertices->newScnObject(kScnLastIndex) != nullptr; },
         [](CPolygonMgr&, CPointMgr&) {
             return std::make_pair(holeVertices->getNbObjects(), holeVertices->getScnObject(1)->pointIndex);
         }},
        {"holes",
         [](CSCN*, CPolygonMgr& polygons, CPointMgr&) {
             CHoleMgr& holes = polygons.appendItem()->holes();
             holes.newScnObject(kScnLastIndex)->getVertices()->newScnObject(kScnLastIndex)->pointIndex = 1;
             holes.newScnObject(kScnLastIndex)->getVertices()->newScnObject(kScnLastIndex)->pointIndex = 2;
         },
         [](CPolygonMgr& polygons, CPointMgr&) {
             return polygons.at(0)->getHoles()->newScnObject(kScnLastIndex) != nullptr;
         },
         [](CPolygonMgr& polygons, CPointMgr&) {
             TScnObjectMgr<CScnPolygon::CScnHole>* holes = polygons.at(0)->getHoles();
             return std::make_pair(holes->getNbObjects(),
                                   holes->getScnObject(1)->getVertices()->getScnObject(0)->pointIndex);
         }},
        {"polygons",
         [](CSCN*, CPolygonMgr& polygons, CPointMgr&) {
             polygons.newScnObject(kScnLastIndex)->setPropertyIndex(1);
             polygons.newScnObject(kScnLastIndex)->setPropertyIndex(2);
         },
         [](CPolygonMgr& polygons, CPointMgr&) { return polygons.newScnObject(kScnLastIndex) != nullptr; },
         [](CPolygonMgr& polygons, CPointMgr&) {
             return std::make_pair(polygons.getNbObjects(), polygons.getScnObject(1)->getPropertyIndex());
         }},
        {"points out of order",
         [](CSCN*, CPolygonMgr&, CPointMgr& points) {
             points.newScnObject(kScnLastIndex)->x = 2;
             points.newScnObject(0)->x = 1;
         },
         [](CPolygonMgr&, CPointMgr& points) { return points.newScnObject(kScnLastIndex) != nullptr; },
         [](CPolygonMgr&, CPointMgr& points) {
             return std::make_pair(points.getNbObjects(), static_cast<int>(points.getScnObject(1)->x));
         }},
    };
    for (const List& list : lists) {
        RecordingFeedback feedback;
        CScnMgr* manager = CSCN::create(eCurrentVersionSCN, &feedback, nullptr);
        auto* scene = static_cast<CSCN*>(manager);
        {
            CPolygonMgr polygons(scene);
            CPointMgr points(scene);
            list.fill(scene, polygons, points);
            Nuvora::failAllocationAfter(1);
            EXPECT_FALSE(list.append(polygons, points)) << list.name;
            Nuvora::failAllocationAfter(0);
            EXPECT_EQ(feedback.warnings, std::vector<std::string>{"No memory availiable"}) << list.name;
            EXPECT_EQ(list.state(polygons, points), std::make_pair(2, 2)) << list.name;
            EXPECT_TRUE(list.append(polygons, points)) << list.name;
            EXPECT_EQ(list.state(polygons, points), std::make_pair(3, 2)) << list.name;
        }
        delete holeVertices;
        holeVertices = nullptr;
        manager->release();
    }
}

TEST(RapideMgr, ReportsAnElementThatCannotBeAllocated)
{
    RecordingFeedback feedback;
    CScnMgr* manager = CSCN::create(eCurrentVersionSCN, &feedback, nullptr);
    CPointMgr points(static_cast<CSCN*>(manager), 4);
    Nuvora::failAllocationAfter(1);  // the first slab of points
    EXPECT_EQ(points.newScnObject(kScnLastIndex), nullptr);
    Nuvora::failAllocationAfter(0);
    EXPECT_EQ(points.getNbObjects(), 0);
    EXPECT_EQ(feedback.warnings, std::vector<std::string>{"newScnObject: Can't allocate object"});
    manager->release();
}

TEST(RapideMgr, NewPointsAndPolygonsStartEmpty)
{
    RecordingFeedback feedback;
    CScnMgr* manager = CSCN::create(eCurrentVersionSCN, &feedback, nullptr);
    for (int i = 0; i < 100; ++i) {
        CScnVector* point = manager->getPoints()->newScnObject(kScnLastIndex);
        EXPECT_EQ(point->x, 0.0);
        EXPECT_EQ(point->z, 0.0);
        point->x = point->y = point->z = 9.0;
        manager->getPoints()->removeObject(0);
    }
    CScnPolygon* polygon = manager->getPolygons()->newScnObject(kScnLastIndex);
    EXPECT_FALSE(polygon->isSmoothed());
    EXPECT_EQ(polygon->getPropertyIndex(), 0);
    EXPECT_EQ(polygon->getVertices()->getNbObjects(), 0);
    EXPECT_EQ(static_cast<CPolygon*>(polygon)->vertices().capacity(), 3u);
    EXPECT_EQ(polygon->getHoles()->getNbObjects(), 0);
    CScnVertex* vertex = polygon->getVertices()->newScnObject(kScnLastIndex);
    EXPECT_EQ(vertex->pointIndex, 0);
    EXPECT_EQ(vertex->flags, 0u);
    EXPECT_EQ(vertex->u, 0.0f);
    CScnPolygon::CScnHole* hole = polygon->getHoles()->newScnObject(kScnLastIndex);
    hole->getVertices()->removeObject(kScnLastIndex);
    polygon->getHoles()->removeObject(kScnLastIndex);
    polygon->getHoles()->removeObject(kScnLastIndex);
    EXPECT_EQ(feedback.warnings, (std::vector<std::string>{"removeObject: no more object to remove",
                                                           "removeObject: no more object to remove"}));
    manager->release();
}

bool failingGuid(uint8_t*)
{
    return false;
}

TEST(UuidList, ReportsAnIdentifierThatCannotBeDrawn)
{
    RecordingFeedback feedback;
    CScnMgr* manager = CSCN::create(eCurrentVersionSCN, &feedback, nullptr);
    TObjectMgr<CScnUUIDX, CScnUUID> list(static_cast<CSCN*>(manager));
    CScnUUID* first = list.newScnObject(kScnLastIndex);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(isNullUuid(*first));
    Nuvora::GuidSource previous = Nuvora::setGuidSource(&failingGuid);
    EXPECT_EQ(list.newScnObject(kScnLastIndex), nullptr);
    Nuvora::setGuidSource(previous);
    EXPECT_EQ(list.getNbObjects(), 1);
    EXPECT_EQ(feedback.warnings, std::vector<std::string>{"newScnObject: Can't allocate object"});
    manager->release();
}

TEST(ManagerWithoutFeedback, DropsItsReports)
{
    CScnMgr* manager = CSCN::create(eCurrentVersionSCN, nullptr, nullptr);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->getPoints()->getScnObject(3), nullptr);
    manager->getPolygons()->removeObject(kScnLastIndex);
    EXPECT_EQ(manager->getLights()->newScnObject(4), nullptr);
    EXPECT_EQ(manager->getMgrEx(9), nullptr);
    manager->release();

    TObjectMgr<CScnUUIDX, CScnUUID> freeList(nullptr);
    EXPECT_EQ(freeList.getScnObject(0), nullptr);
    freeList.removeObject(kScnLastIndex);
}

}  // namespace
