// The layer path: each host layer becomes an object definition with its own geometry, a scene
// layer and an instance on it; its supplier on host models; and its cancellation.
#include "test_export_support.h"

#include <cmath>

namespace {

constexpr int32_t kEnglish = 'e' * 256 + 'n';

std::string vectorText(const NvScn::CScnVector* v)
{
    char text[96];
    std::snprintf(text, sizeof text, "%g %g %g", v->x, v->y, v->z);
    return text;
}

std::string loopText(NvScn::TScnObjectMgr<NvScn::CScnVertex>* loop)
{
    std::string text;
    for (int32_t i = 0; i < loop->getNbObjects(); ++i) {
        text += " " + std::to_string(loop->getScnObject(static_cast<uint32_t>(i))->pointIndex);
    }
    return text;
}

std::string polygonText(NvScn::CScnPolygon* polygon)
{
    std::string text = "m" + std::to_string(polygon->getPropertyIndex()) + loopText(polygon->getVertices());
    for (int32_t h = 0; h < polygon->getHoles()->getNbObjects(); ++h) {
        text += " |" + loopText(polygon->getHoles()->getScnObject(static_cast<uint32_t>(h))->getVertices());
    }
    return text;
}

template <class T>
int32_t positionOf(NvScn::TScnObjectMgr<T>* list, const NvScn::CScnUUID* uuid)
{
    for (int32_t i = 0; i < list->getNbObjects(); ++i) {
        if (std::memcmp(list->getScnObject(static_cast<uint32_t>(i))->getUUID(), uuid, sizeof *uuid) == 0) {
            return i + 1;
        }
    }
    return 0;
}

// The objects of a scene read back, one line each: definitions with their geometry, layers,
// instances (with the definition and layer they refer to, by position), views, and what the scene
// holds outside them.
std::vector<std::string> describeScene(NvScn::CScnMgr* m)
{
    std::vector<std::string> lines;
    NvScn::TScnObjectMgr<NvScn::IScnScnObjectDefinition>* definitions = m->getObjectDefinitions();
    NvScn::TScnObjectMgr<NvScn::IScnInternalComponentDefinition>* components = m->getInternalComponentDefinitions();
    for (int32_t i = 0; i < definitions->getNbObjects(); ++i) {
        NvScn::IScnScnObjectDefinition* definition = definitions->getScnObject(static_cast<uint32_t>(i));
        const char* name = definition->getName()->getText(kEnglish);
        lines.push_back("definition \"" + std::string(name != nullptr ? name : "") + "\" " + definition->getClass() +
                        " component " + std::to_string(positionOf(components, definition->getUUID())));
    }
    for (int32_t i = 0; i < components->getNbObjects(); ++i) {
        NvScn::IScnInternalComponentDefinition* component = components->getScnObject(static_cast<uint32_t>(i));
        std::string points = "component " + std::to_string(i + 1) + " points";
        for (int32_t k = 0; k < component->getPoints()->getNbObjects(); ++k) {
            points += (k == 0 ? " " : ", ") + vectorText(component->getPoints()->getScnObject(static_cast<uint32_t>(k)));
        }
        lines.push_back(points);
        for (int32_t k = 0; k < component->getPolygons()->getNbObjects(); ++k) {
            lines.push_back("  " + polygonText(component->getPolygons()->getScnObject(static_cast<uint32_t>(k))));
        }
    }
    for (int32_t i = 0; i < m->getLayers()->getNbObjects(); ++i) {
        lines.push_back("layer \"" + std::string(m->getLayers()->getScnObject(static_cast<uint32_t>(i))->getName()) + "\"");
    }
    for (int32_t i = 0; i < m->getObjectInstances()->getNbObjects(); ++i) {
        NvScn::IScnObjectInstance* instance = m->getObjectInstances()->getScnObject(static_cast<uint32_t>(i));
        lines.push_back("instance \"" + std::string(instance->getName()) + "\" " + instance->getClass() + " of " +
                        std::to_string(positionOf(definitions, instance->getAttachedObject())) + " on layer " +
                        std::to_string(positionOf(m->getLayers(), instance->getLayerId())));
    }
    for (int32_t i = 0; i < m->getPerspectiveViews()->getNbObjects(); ++i) {
        NvScn::CScnCamera* view = m->getPerspectiveViews()->getScnObject(static_cast<uint32_t>(i));
        lines.push_back("view \"" + std::string(view->getName()) + "\" " + vectorText(view->getPosition()));
    }
    lines.push_back("scene points " + std::to_string(m->getPoints()->getNbObjects()) + " polygons " +
                    std::to_string(m->getPolygons()->getNbObjects()) + " materials " +
                    std::to_string(m->getMaterials()->getNbObjects()));
    return lines;
}

// Two layers, stated in the other order by the elements; a body without polygons; material index 0;
// an origin offset of one axis, which the layer path does not add.
const char kTwoLayers[] = R"({"format": "cadhost-model", "layers": ["Walls", "Roofs"], "origin": [0, 12],
  "materials": [{"name": "A"}, {"name": "B"}],
  "projection": {"perspective": true, "camera": [10, 0, 2], "target": [0, 0, 2], "focal": 40},
  "elements": [
    {"type": "roof", "layer": 2, "bodies": [
      {"vertices": [[0, 0, 3], [1, 0, 3], [0, 1, 3]], "polygons": [{"material": 2, "vertices": [1, 2, 3]}]}]},
    {"type": "wall", "layer": 1, "bodies": [
      {"vertices": [[9, 9, 9], [9, 9, 8]], "edges": [[1, 2]]},
      {"vertices": [[0, 0, 0], [4, 0, 0], [4, 0, 3], [0, 0, 3], [1, 0, 1], [2, 0, 1], [2, 0, 2]],
       "polygons": [{"material": 0, "vertices": [[1, 2, 3, 4], [5, 6, 7]]}]}]},
    {"type": "other", "layer": 2, "bodies": [
      {"vertices": [[2, 0, 0], [3, 0, 0], [3, 0, 1]], "polygons": [{"material": 1, "vertices": [1, 2, 3]}]}]},
    {"type": "other", "layer": 1, "bodies": [{"vertices": [[5, 5, 5]], "edges": []}]}]})";

const char kInvalidMaterial[] = "AddonLayer::InitializeFileStructureForLayer - Invalid material index (0)\n"
                                "AddonLayerStorage::fillPolygon - Invalid material index (0)\n";

struct LayerCase {
    const char* name;
    std::string model;
    std::vector<cadhost::UserAction> dialog;   // empty: no dialog
    std::vector<std::string> scene;
    std::string log;
};

class LayerStructure : public ExportTest, public ::testing::WithParamInterface<LayerCase> {};

TEST_P(LayerStructure, ReadsBackAsOneComponentPerLayer)
{
    const LayerCase& c = GetParam();
    loadAddOn();
    loadJson(c.model);
    configure(nullptr);
    cadhost::setDialogScript(c.dialog);
    cadhost::clearDebugLog();
    ASSERT_EQ(exportScene(c.dialog.empty() ? 1 : 0), NoError);
    EXPECT_EQ(cadhost::debugLog(), c.log);
    ReadScene scene(scenePath());
    ASSERT_NE(scene.manager, nullptr);
    EXPECT_EQ(scene.reports.texts, std::vector<std::string>());
    EXPECT_EQ(describeScene(scene.manager), c.scene);
}

INSTANTIATE_TEST_SUITE_P(Models, LayerStructure, ::testing::Values(
    LayerCase{"HostLayersInTheirOrder", kTwoLayers, {},
              {"definition \"Walls\" ModelObject component 1", "definition \"Roofs\" ModelObject component 2",
               "component 1 points 0 0 0, 400 0 0, 400 0 300, 0 0 300, 100 0 100, 200 0 100, 200 0 200",
               "  m0 0 1 2 3 | 4 5 6",
               "component 2 points 0 0 300, 100 0 300, 0 100 300, 200 0 0, 300 0 0, 300 0 100",
               "  m1 0 1 2", "  m0 3 4 5",
               "layer \"Walls\"", "layer \"Roofs\"",
               "instance \"Walls\" ModelObject of 1 on layer 1", "instance \"Roofs\" ModelObject of 2 on layer 2",
               "view \"ACCamera\" 1000 0 200", "scene points 0 polygons 0 materials 0"},
              kInvalidMaterial},
    LayerCase{"UniqueLayer", kTwoLayers, {{cadhost::UserAction::Click, 29, ""}},
              {"definition \"Unique layer\" ModelObject component 1",
               "component 1 points 0 0 300, 100 0 300, 0 100 300, 0 0 0, 400 0 0, 400 0 300, 0 0 300, 100 0 100, "
               "200 0 100, 200 0 200, 200 0 0, 300 0 0, 300 0 100",
               "  m1 0 1 2", "  m0 3 4 5 6 | 7 8 9", "  m0 10 11 12",
               "layer \"Unique layer\"", "instance \"Unique layer\" ModelObject of 1 on layer 1",
               "view \"ACCamera\" 1000 0 200", "scene points 0 polygons 0 materials 0"},
              kInvalidMaterial},
    LayerCase{"AModelWithoutPolygonsHasNoLayer",
              R"({"format": "cadhost-model", "elements": [{"bodies": [{"vertices": [[0, 0, 0], [1, 0, 0]], "edges": [[1, 2]]}]}],
                  "projection": {"perspective": true, "camera": [1, 0, 0], "target": [0, 0, 0], "focal": 40}})",
              {}, {"view \"ACCamera\" 100 0 0", "scene points 0 polygons 0 materials 0"}, ""}),
    [](const ::testing::TestParamInfo<LayerCase>& info) { return info.param.name; });

// A cancellation while the library pulls a layer's points or polygons keeps the previous scene and
// leaves nothing behind.
struct LayerCancelCase {
    const char* name;
    int64_t polygons;           // of the generated model
    int32_t cancelAt;           // the cancel query the user answers
    std::vector<std::string> lastLines;   // the progress window's: phase, value, cancel, close
};

class LayerCancel : public ExportTest, public ::testing::WithParamInterface<LayerCancelCase> {};

TEST_P(LayerCancel, KeepsThePreviousScene)
{
    const LayerCancelCase& c = GetParam();
    loadAddOn();
    cadhost::generateModel(c.polygons);
    configure(nullptr);
    write("scenes/Export.scn", "previous");
    cadhost::project().cancelAfter = c.cancelAt;
    cadhost::clearDebugLog();
    EXPECT_EQ(exportScene(), APIERR_CANCEL);
    EXPECT_EQ(fileContent(scenePath()), "previous");
    EXPECT_EQ(folderContent(mScenes), (std::set<std::string>{"Export.scn"}));
    EXPECT_EQ(cadhost::debugLog(), "GSScnFeedback::warning(\"External storage cancel IO\")\n"
                                   "GSScnFeedback::warning(\"Error \"exception\" while writting\")\n");
    std::vector<std::string> last;
    for (const std::string& line : cadhost::project().progressLog.lines()) {
        if (line.rfind("phase ", 0) == 0) {
            last.clear();
        }
        if (line.rfind("value ", 0) != 0 || line == "value 1000" || line == "value 2000") {
            last.push_back(line);
        }
    }
    EXPECT_EQ(last, c.lastLines);
}

INSTANTIATE_TEST_SUITE_P(Queries, LayerCancel, ::testing::Values(
    LayerCancelCase{"DuringPoints", 1500, 2,
                    {"phase \"Saving points\" 3002", "value 2000", "cancel pressed at query 2", "close"}},
    LayerCancelCase{"DuringPolygons", 1500, 4,
                    {"phase \"Saving polygons\" 1500", "value 1000", "cancel pressed at query 4", "close"}}),
    [](const ::testing::TestParamInfo<LayerCancelCase>& info) { return info.param.name; });

}  // namespace
