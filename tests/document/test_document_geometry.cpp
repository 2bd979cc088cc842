// Geometry in documents: round trips of the scene's and the components' tables, the exact order
// of the external storage's calls while writing and reading, cancellations, readDataBlocks and
// the selection of the current internal component definition.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/ComponentSelection.h"
#include "support/Failures.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::ComponentStorage;
using ScnTest::Geometry;
using ScnTest::TestScene;

const CScnUUID kFirst = ScnTest::filledUuid(0x11);
const CScnUUID kSecond = ScnTest::filledUuid(0xAB);

IScnInternalComponentDefinition* addComponent(TestScene& scene, const CScnUUID& uuid, int32_t level)
{
    IScnInternalComponentDefinition* component = scene->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
    component->setUUID(&uuid);
    component->setGeometryLevel(level);
    return component;
}

// The calls that write (or read) one geometry through the storage.
std::vector<std::string> blockCalls(const Geometry& geometry, bool reading)
{
    std::vector<std::string> calls;
    calls.push_back(reading ? "setNbPoints " + std::to_string(geometry.points.size()) : "getNbPoints");
    for (size_t i = 0; i < geometry.points.size(); ++i) {
        calls.push_back((reading ? "addPoint " : "fillPoint ") + std::to_string(i));
    }
    calls.push_back(reading ? "setNbPolygons " + std::to_string(geometry.polygons.size()) : "getNbPolygons");
    for (size_t i = 0; i < geometry.polygons.size(); ++i) {
        calls.push_back((reading ? "addPolygon " : "fillPolygon ") + std::to_string(i));
    }
    return calls;
}

void append(std::vector<std::string>& calls, const std::vector<std::string>& more)
{
    calls.insert(calls.end(), more.begin(), more.end());
}

TEST(DocumentGeometry, SceneAndComponentTablesRoundTrip)
{
    TestScene source;
    ScnTest::fillGeometry(source->getPoints(), source->getPolygons(), ScnTest::sampleGeometry());
    TestScene reader;
    ASSERT_EQ(reader.load(source.save()), 0);
    EXPECT_EQ(ScnTest::describeGeometry(reader->getPoints(), reader->getPolygons()),
              ScnTest::describeGeometry(ScnTest::sampleGeometry()));

    IScnInternalComponentDefinition* first = addComponent(source, kFirst, 0);
    IScnInternalComponentDefinition* second = addComponent(source, kSecond, 7);
    ScnTest::fillGeometry(first->getPoints(), first->getPolygons(), ScnTest::sampleGeometry(100));
    ScnTest::fillGeometry(second->getPoints(), second->getPolygons(), ScnTest::sampleGeometry(200));
    std::string document = source.save();
    ASSERT_EQ(reader.load(document), 0) << ScnTest::warningsOf(reader.feedback.warnings);
    TScnObjectMgr<IScnInternalComponentDefinition>* components = reader->getInternalComponentDefinitions();
    ASSERT_EQ(components->getNbObjects(), 2);
    const double offsets[] = {100, 200};
    const CScnUUID* uuids[] = {&kFirst, &kSecond};
    for (uint32_t i = 0; i < 2; ++i) {
        IScnInternalComponentDefinition* read = components->getScnObject(i);
        EXPECT_EQ(*read->getUUID(), *uuids[i]);
        EXPECT_EQ(read->getGeometryLevel(), i == 0 ? 0 : 7);
        EXPECT_EQ(ScnTest::describeGeometry(read->getPoints(), read->getPolygons()),
                  ScnTest::describeGeometry(ScnTest::sampleGeometry(offsets[i])));
    }
    // The document's own blocks held geometry beside the components': a later save keeps them.
    EXPECT_EQ(ScnTest::fileChildren(reader.save()), ScnTest::fileChildren(reader.save()));
    std::vector<std::string> names = ScnTest::fileChildren(reader.save());
    EXPECT_EQ(std::count(names.begin(), names.end(), "Points"), 1);
}

// Saved, read and saved again, a scene with components keeps every table: the components' and,
// when it has any, its own. Own blocks that were empty go at the first read (the geometry lives
// in the definitions) and stay gone.
struct SecondSaveCase {
    const char* name;
    bool ownGeometry;
    int64_t ownBlocks;  // the top-level "Points" (and "Polygons") after the first read
};

std::ostream& operator<<(std::ostream& out, const SecondSaveCase& c)
{
    return out << c.name;
}

class SecondSave : public ::testing::TestWithParam<SecondSaveCase> {};

TEST_P(SecondSave, KeepsTheTopLevelAndTheComponentsGeometry)
{
    const SecondSaveCase& c = GetParam();
    TestScene source;
    if (c.ownGeometry) {
        ScnTest::fillGeometry(source->getPoints(), source->getPolygons(), ScnTest::sampleGeometry());
    }
    IScnInternalComponentDefinition* first = addComponent(source, kFirst, 0);
    IScnInternalComponentDefinition* second = addComponent(source, kSecond, 7);
    ScnTest::fillGeometry(first->getPoints(), first->getPolygons(), ScnTest::sampleGeometry(100));
    ScnTest::fillGeometry(second->getPoints(), second->getPolygons(), ScnTest::sampleGeometry(200));
    const std::string own = c.ownGeometry ? ScnTest::describeGeometry(ScnTest::sampleGeometry())
                                          : ScnTest::describeGeometry(Geometry{});

    TestScene once;
    ASSERT_EQ(once.load(source.save()), 0) << ScnTest::warningsOf(once.feedback.warnings);
    const std::string saved = once.save();
    std::vector<std::string> names = ScnTest::fileChildren(saved);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Points"), c.ownBlocks);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Polygons"), c.ownBlocks);

    TestScene twice;
    ASSERT_EQ(twice.load(saved), 0) << ScnTest::warningsOf(twice.feedback.warnings);
    EXPECT_EQ(twice.save(), saved);
    EXPECT_EQ(ScnTest::describeGeometry(twice->getPoints(), twice->getPolygons()), own);
    TScnObjectMgr<IScnInternalComponentDefinition>* components = twice->getInternalComponentDefinitions();
    ASSERT_EQ(components->getNbObjects(), 2);
    EXPECT_EQ(ScnTest::describeGeometry(components->getScnObject(0)->getPoints(),
                                        components->getScnObject(0)->getPolygons()),
              ScnTest::describeGeometry(ScnTest::sampleGeometry(100)));
    EXPECT_EQ(ScnTest::describeGeometry(components->getScnObject(1)->getPoints(),
                                        components->getScnObject(1)->getPolygons()),
              ScnTest::describeGeometry(ScnTest::sampleGeometry(200)));
}

INSTANTIATE_TEST_SUITE_P(Documents, SecondSave,
                         ::testing::Values(SecondSaveCase{"OwnGeometryBesideComponents", true, 1},
                                           SecondSaveCase{"OnlyComponentsGeometry", false, 0}),
                         [](const ::testing::TestParamInfo<SecondSaveCase>& info) { return info.param.name; });

TEST(DocumentGeometry, ExternalStorageCallsInOrderBothWays)
{
    ComponentStorage writing;
    writing.components[""] = ScnTest::sampleGeometry();
    writing.components[ScnTest::uuidText(kFirst)] = ScnTest::sampleGeometry(10);
    writing.components[ScnTest::uuidText(kSecond)] = ScnTest::sampleGeometry(20);
    TestScene source(&writing);
    addComponent(source, kFirst, 0);
    addComponent(source, kSecond, 3);
    std::string document = source.save();

    std::vector<std::string> expected = blockCalls(writing.components[""], false);
    expected.push_back("select " + ScnTest::uuidText(kFirst) + " 0");
    append(expected, blockCalls(writing.components[ScnTest::uuidText(kFirst)], false));
    expected.push_back("select " + ScnTest::uuidText(kSecond) + " 3");
    append(expected, blockCalls(writing.components[ScnTest::uuidText(kSecond)], false));
    EXPECT_EQ(writing.calls, expected);
    EXPECT_EQ(writing.managers, std::vector<CScnMgr*>(expected.size(), source.manager));
    EXPECT_EQ(source->getPoints()->getNbObjects(), 0);

    ComponentStorage reading;
    TestScene reader(&reading);
    ASSERT_EQ(reader.load(document), 0) << ScnTest::warningsOf(reader.feedback.warnings);
    expected = blockCalls(writing.components[""], true);
    expected.push_back("select " + ScnTest::uuidText(kFirst) + " 0");
    append(expected, blockCalls(writing.components[ScnTest::uuidText(kFirst)], true));
    expected.push_back("select " + ScnTest::uuidText(kSecond) + " 3");
    append(expected, blockCalls(writing.components[ScnTest::uuidText(kSecond)], true));
    EXPECT_EQ(reading.calls, expected);
    for (const auto& component : writing.components) {
        EXPECT_EQ(ScnTest::describeGeometry(reading.components[component.first]),
                  ScnTest::describeGeometry(component.second))
            << component.first;
    }
    EXPECT_EQ(reader->getInternalComponentDefinitions()->getNbObjects(), 2);
    EXPECT_EQ(reader->getPoints()->getNbObjects(), 0);
    IScnInternalComponentDefinition* second = reader->getInternalComponentDefinitions()->getScnObject(1);
    EXPECT_EQ(second->getGeometryLevel(), 3);
    EXPECT_EQ(second->getPoints()->getNbObjects(), 0);
}

TEST(DocumentGeometry, CancellationsStopAtTheRefusingCall)
{
    struct Case {
        const char* refuse;
        bool reading;
        std::vector<std::string> tail;  // the calls after "select ... 0"
        std::vector<std::string> warnings;
    };
    const std::string block = "' data block";
    const Case cases[] = {
        {"fillPoint 1", false, {"getNbPoints", "fillPoint 0", "fillPoint 1"},
         {"External storage cancel IO", "Error \"exception\" while writting"}},
        {"fillPolygon 0", false,
         {"getNbPoints", "fillPoint 0", "fillPoint 1", "fillPoint 2", "getNbPolygons", "fillPolygon 0"},
         {"External storage cancel IO", "Error \"exception\" while writting"}},
        {"select", false, {}, {"External storage cancel IO", "Error \"exception\" while writting"}},
        {"addPoint 1", true, {"setNbPoints 3", "addPoint 0", "addPoint 1"},
         {"Error \"External storage cancel IO\" while parsing 'Points" + block, ScnTest::plainFailureText()}},
        {"addPolygon 0", true,
         {"setNbPoints 3", "addPoint 0", "addPoint 1", "addPoint 2", "setNbPolygons 1", "addPolygon 0"},
         {"Error \"External storage cancel IO\" while parsing 'Polygons" + block, ScnTest::plainFailureText()}},
        {"select", true, {}, {"Error \"External storage cancel IO\" while parsing 'Points" + block, ScnTest::plainFailureText()}},
    };
    Geometry triangle;
    triangle.points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.polygons.push_back(ScnTest::RecordingStorage::Polygon{false, 0, {{{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}}}});
    const std::string select = "select " + ScnTest::uuidText(kFirst) + " 0";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.refuse) + (c.reading ? " reading" : " writing"));
        ComponentStorage storage;
        storage.components[ScnTest::uuidText(kFirst)] = triangle;
        storage.refuse = std::string(c.refuse) == "select" ? select : c.refuse;
        TestScene scene(&storage);
        scene->removeGeometry();
        addComponent(scene, kFirst, 0);
        ScnTest::MemoryStream stream;
        if (c.reading) {
            ComponentStorage source;
            source.components[ScnTest::uuidText(kFirst)] = triangle;
            TestScene writer(&source);
            writer->removeGeometry();
            addComponent(writer, kFirst, 0);
            EXPECT_EQ(scene.load(writer.save()), 1);
        } else {
            EXPECT_EQ(scene->write(&stream), 2);
        }
        std::vector<std::string> expected = {select};
        append(expected, c.tail);
        EXPECT_EQ(storage.calls, expected);
        EXPECT_EQ(scene.feedback.warnings, c.warnings);
    }
}

TEST(DocumentGeometry, ProgressThrottlingAndCancellation)
{
    for (bool reading : {false, true}) {
        SCOPED_TRACE(reading ? "reading" : "writing");
        TestScene source;
        for (int i = 0; i < 250; ++i) {
            *source->getPoints()->newScnObject(kScnLastIndex) = CScnVector{1.0 * i, 0, 0};
        }
        std::string document = source.save();
        // Under 100 ms: not a single call.
        {
            ScnTest::ScopedFakeClock clock(0, 0);
            TestScene scene;
            if (reading) {
                EXPECT_EQ(scene.load(document), 0);
            } else {
                ScnTest::fillGeometry(scene->getPoints(), scene->getPolygons(), Geometry{std::vector<CScnVector>(250), {}});
                scene.save();
            }
            EXPECT_TRUE(scene.feedback.progressCalls.empty());
        }
        // Slow: every checkpoint reports, and a false answer cancels at the first one.
        ScnTest::ScopedFakeClock clock(0, 1000);
        TestScene scene;
        scene.feedback.progressAnswer = [](size_t call) { return call < 1; };
        int32_t result;
        if (reading) {
            result = scene.load(document);
        } else {
            ScnTest::fillGeometry(scene->getPoints(), scene->getPolygons(), Geometry{std::vector<CScnVector>(250), {}});
            ScnTest::MemoryStream stream;
            result = scene->write(&stream);
        }
        EXPECT_EQ(result, reading ? 1 : 2);
        EXPECT_EQ(scene.feedback.progressCalls,
                  (std::vector<std::pair<int32_t, int32_t>>{{0, 2000}, {400, 2000}}));
        const std::vector<std::string> readReports = {
            "Error \"Operation cancelled\" while parsing 'Points' data block", ScnTest::plainFailureText()};
        const std::vector<std::string> writeReports = {"Operation cancelled", "Error \"exception\" while writting"};
        EXPECT_EQ(scene.feedback.warnings, reading ? readReports : writeReports);
    }
}

TEST(DocumentGeometry, ReadDataBlocksUsesTheGivenStorageOnceAndPutsTheOwnOneBack)
{
    TestScene source;
    ScnTest::fillGeometry(source->getPoints(), source->getPolygons(), ScnTest::sampleGeometry());
    IScnInternalComponentDefinition* component = addComponent(source, kFirst, 2);
    ScnTest::fillGeometry(component->getPoints(), component->getPolygons(), ScnTest::sampleGeometry(5));
    source->getImages()->newScnObject(kScnLastIndex)->setUUID(&kSecond);
    std::string document = source.save();

    ComponentStorage own;
    TestScene scene(&own);
    ASSERT_EQ(scene.load(document), 0);
    own.calls.clear();

    ComponentStorage blocks;
    ScnTest::MemoryStream stream(document);
    scene->readDataBlocks(&stream, &blocks);
    EXPECT_TRUE(own.calls.empty());
    EXPECT_EQ(ScnTest::describeGeometry(blocks.components[""]), ScnTest::describeGeometry(ScnTest::sampleGeometry()));
    EXPECT_EQ(ScnTest::describeGeometry(blocks.components[ScnTest::uuidText(kFirst)]),
              ScnTest::describeGeometry(ScnTest::sampleGeometry(5)));
    EXPECT_EQ(blocks.managers, std::vector<CScnMgr*>(blocks.calls.size(), scene.manager));
    EXPECT_EQ(scene->getInternalComponentDefinitions()->getNbObjects(), 1);
    EXPECT_EQ(scene->getImages()->getNbObjects(), 1);
    EXPECT_TRUE(scene.feedback.warnings.empty()) << ScnTest::warningsOf(scene.feedback.warnings);

    // A failing parse reports, and the scene's own storage is back all the same.
    ComponentStorage refusing;
    refusing.refuse = "addPoint 0";
    ScnTest::MemoryStream again(document);
    scene->readDataBlocks(&again, &refusing);
    scene->readDataBlocks(nullptr, &refusing);
    EXPECT_EQ(scene.feedback.warnings,
              (std::vector<std::string>{"Error \"External storage cancel IO\" while parsing 'Points' data block",
                                        ScnTest::plainFailureText(), ScnTest::nullPointerText("CScnStream is NULL")}));
    own.components[ScnTest::uuidText(kFirst)] = ScnTest::sampleGeometry(9);
    std::string saved = scene.save();
    EXPECT_EQ(own.calls.front(), "select " + ScnTest::uuidText(kFirst) + " 2");
}

TEST(DocumentGeometry, TheCurrentComponentNeedsItsIdentityAndLevel)
{
    const std::string points = "<Points><![CDATA[0 ]]></Points>";
    const std::string uuid = ScnTest::uuidText(kFirst);
    struct Case {
        std::string component;
        std::string failure;  // after "setCurrentInternalComponentDefinition - ", or "" for the plain form
    };
    const Case cases[] = {
        {"<InternalComponentDefinition>" + points, ScnTest::nullPointerText("No UUID attributes")},
        {"<InternalComponentDefinition UUID=\"" + ScnTest::uuidText(CScnUUID{}) + "\">" + points,
         ScnTest::assertionText("Null uuid")},
        {"<InternalComponentDefinition UUID=\"" + uuid + "\">" + points, ScnTest::nullPointerText("No Geometry.Level")},
        {"<InternalComponentDefinition UUID=\"" + uuid + "\"><Geometry.Level/>" + points,
         ScnTest::nullPointerText("No Geometry.Level data")},
        {"<InternalComponentDefinition UUID=\"12\"><Geometry.Level>1</Geometry.Level>" + points, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.component);
        TestScene scene;
        std::string body = "<InternalComponentDefinitions>" + c.component +
                           "</InternalComponentDefinition></InternalComponentDefinitions>";
        EXPECT_EQ(scene.load(ScnTest::sceneDocument(ScnTest::dottedLibrary("3.0.3"), body)), 1);
        std::string text = !c.failure.empty() ? "setCurrentInternalComponentDefinition - " + c.failure
                                              : ScnTest::plainFailureText();
        EXPECT_EQ(scene.feedback.warnings,
                  (std::vector<std::string>{"Error \"" + text + "\" while parsing 'Points' data block", ScnTest::plainFailureText()}));
    }
    EXPECT_EQ(ScnTest::failureOf([] { readComponentHead(nullptr); }),
              ScnTest::nullPointerText("setCurrentInternalComponentDefinition - No parent node"));
}

TEST(DocumentGeometry, RemoveGeometryDropsTheDocumentsOwnBlocks)
{
    TestScene scene;
    scene->removeGeometry();
    scene->removeGeometry();
    std::vector<std::string> names = ScnTest::fileChildren(scene.save());
    EXPECT_EQ(std::count(names.begin(), names.end(), "Points"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Polygons"), 0);
    EXPECT_TRUE(scene.feedback.warnings.empty());
}

}  // namespace

namespace {

struct PolygonCase {
    const char* name;
    ScnTest::RecordingStorage::Polygon polygon;
    const char* record;     // the polygon's line in the saved Polygons block
    const char* readBack;   // the polygon read from the document, as describe() shows it
    std::vector<std::string> warnings;
};

TEST(DocumentGeometry, PolygonFormsThroughADocument)
{
    using Polygon = ScnTest::RecordingStorage::Polygon;
    const PolygonCase cases[] = {
        {"flat", Polygon{false, 0, {{{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}}}}, "p\t0 3 0 1 2 ", "m0 [0 1 2]", {}},
        {"smoothed", Polygon{true, 5, {{{2, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}}}}, "o\t5 3 2 1 0 ",
         "m5 smooth [2 1 0]", {}},
        {"mapped and marked", Polygon{false, 1, {{{0, kScnVertexMapped, 0.5f, 0.25f}, {1, kScnVertexMarker, 0, 0}, {3, 3, 1, 0}}}},
         "p\t1 3 M 0.5 0.25 0 I 1 I M 1.0 0.0 3 ", "m1 [0M(0.5,0.25) 1I 3IM(1,0)]", {}},
        {"smoothed with a hole", Polygon{true, 2, {{{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}}, {{3, 0, 0, 0}, {4, 0, 0, 0}, {5, 0, 0, 0}}}},
         "h\t2 2 3 0 1 2 3 3 4 5 ", "m2 [0 1 2] [3 4 5]", {"Holed polygone smoothed (smoothing will be loss)"}},
    };
    for (const PolygonCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        Geometry geometry;
        geometry.points.assign(6, CScnVector{0, 0, 0});
        geometry.polygons.push_back(c.polygon);
        ScnTest::fillGeometry(scene->getPoints(), scene->getPolygons(), geometry);
        std::string document = scene.save();
        EXPECT_NE(document.find(std::string("\n1 \n") + c.record + "\n]]>"), std::string::npos);
        EXPECT_EQ(scene.feedback.warnings, c.warnings);
        TestScene reader;
        ASSERT_EQ(reader.load(document), 0);
        ASSERT_EQ(reader->getPolygons()->getNbObjects(), 1);
        EXPECT_EQ(ScnTest::describe(ScnTest::RecordingStorage::copy(
                      *static_cast<CPolygon*>(reader->getPolygons()->getScnObject(0)))),
                  c.readBack);
    }
}

TEST(DocumentGeometry, NewPolygonsAndTheirHoles)
{
    TestScene scene;
    CScnPolygon* polygon = scene->getPolygons()->newScnObject(kScnLastIndex);
    EXPECT_FALSE(polygon->isSmoothed());
    EXPECT_EQ(polygon->getPropertyIndex(), 0);
    EXPECT_EQ(polygon->getVertices()->getNbObjects(), 0);
    EXPECT_EQ(polygon->getHoles()->getNbObjects(), 0);
    polygon->getHoles()->newScnObject(kScnLastIndex);
    polygon->getHoles()->removeObject(kScnLastIndex);
    EXPECT_EQ(polygon->getHoles()->getNbObjects(), 0);
    polygon->getHoles()->removeObject(kScnLastIndex);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{"removeObject: no more object to remove"});
}

TEST(DocumentGeometry, AnEmptyStorageWritesEmptyBlocks)
{
    ComponentStorage storage;
    TestScene scene(&storage);
    std::string document = scene.save();
    EXPECT_EQ(storage.calls, (std::vector<std::string>{"getNbPoints", "getNbPolygons"}));
    EXPECT_NE(document.find("<Points><![CDATA[\n0 \n]]>"), std::string::npos);
    EXPECT_NE(document.find("<Polygons><![CDATA[\n0 \n]]>"), std::string::npos);
}

// A client stream that records which of its operations the library calls.
class CallRecordingStream : public ScnTest::MemoryStream {
public:
    using MemoryStream::MemoryStream;
    int32_t read(void* buffer, int32_t size) override
    {
        calls.push_back("read " + std::to_string(size));
        return MemoryStream::read(buffer, size);
    }
    void write(const void* buffer, int32_t size) override
    {
        calls.push_back("write");
        MemoryStream::write(buffer, size);
    }
    int64_t getPosition() override
    {
        calls.push_back("getPosition");
        return MemoryStream::getPosition();
    }
    void setPosition(int64_t position) override
    {
        calls.push_back("setPosition " + std::to_string(position));
        MemoryStream::setPosition(position);
    }
    std::vector<std::string> calls;
};

TEST(DocumentGeometry, StreamCallRules)
{
    TestScene scene;
    CallRecordingStream output;
    ASSERT_EQ(scene->write(&output), 0);
    EXPECT_EQ(ScnTest::libxml2Problem(output.bytes()), "");
    EXPECT_EQ(std::count(output.calls.begin(), output.calls.end(), "write"),
              static_cast<std::ptrdiff_t>(output.calls.size()));
    EXPECT_EQ(output.typeCode, 0u);

    CallRecordingStream input(output.bytes());
    input.setPosition(0);
    input.calls.clear();
    ASSERT_EQ(scene->read(&input), 0);
    ASSERT_GE(input.calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(input.calls.begin(), input.calls.begin() + 5),
              (std::vector<std::string>{"getPosition", "read 1", "setPosition 0", "getPosition", "read 1024"}));
    for (size_t i = 5; i < input.calls.size(); ++i) {
        EXPECT_TRUE(input.calls[i] == "read 1024" || input.calls[i] == "setPosition 0") << input.calls[i];
    }
}

}  // namespace
