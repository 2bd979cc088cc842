// The import of a reference scene: a reference saved, read back without its geometry as the
// export reads it, imported with each part's bit alone and all together, then released; the
// target is checked part by part, saved and read again.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/ReferenceImport.h"
#include "model/Scene.h"
#include "support/ShaderSupport.h"
#include "support/TestSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::TestScene;

const int32_t kEn = 'e' * 256 + 'n';

// Accepts and drops every point and polygon, as the export's reference reading does.
class SkipGeometry : public CScnExtStorage {
public:
    bool setCurrentInternalComponentInstance(CScnMgr*, const CScnUUID*, int32_t) override { return true; }
    void setNbPoints(CScnMgr*, int32_t) override {}
    bool addPoint(CScnMgr*, const CScnVector*, int32_t) override { return true; }
    void setNbPolygons(CScnMgr*, int32_t) override {}
    bool addPolygon(CScnMgr*, const CScnPolygon*, int32_t) override { return true; }
    int32_t getNbPoints(CScnMgr*) override { return 0; }
    bool fillPoint(CScnMgr*, CScnVector*, int32_t) override { return false; }
    int32_t getNbPolygons(CScnMgr*) override { return 0; }
    bool fillPolygon(CScnMgr*, CScnPolygon*, int32_t) override { return false; }
};

// The reports beyond those of empty geometry blocks, which reading reports as implausible counts
// (the reference's components are empty when read without geometry).
std::vector<std::string> beyondEmptyBlocks(const std::vector<std::string>& warnings)
{
    std::vector<std::string> kept;
    for (const std::string& warning : warnings) {
        if (warning != "Numbers of points seems wrong" && warning != "Numbers of polygons seems wrong") {
            kept.push_back(warning);
        }
    }
    return kept;
}

// Identifiers that the reference and the target share on purpose.
const CScnUUID kSharedLight = ScnTest::filledUuid(0x11);
const CScnUUID kSharedGroup = ScnTest::filledUuid(0x22);
const CScnUUID kSharedInstance = ScnTest::filledUuid(0x33);
const CScnUUID kSharedMaterial = ScnTest::filledUuid(0x44);

// A material as the export sees it: name, diffuse colour and texture.
std::string describeMaterial(CScnProperty& material)
{
    CScnColor colour = material.getDiffuseColor();
    return std::string(material.getName()) + " colour " + std::to_string(colour.red) + "," +
           std::to_string(colour.green) + "," + std::to_string(colour.blue) + " texture " +
           material.getTextureURL();
}

// The material's tree, every node with its identifier and fields.
std::string materialTree(CScnProperty& material)
{
    CTCENode* top = static_cast<CProperty&>(material).top();
    return top != nullptr ? NodeTrees::dump(*top) : "(no tree)";
}

// The reference as the tests read it, and what its material "Brick" looks like.
struct Reference {
    std::string document;
    std::string brick;
    std::string brickTree;
};

// The reference: a material the target has (with a tree of every node kind) and one it has not,
// definitions of two imported kinds and of one that is not, placed by instances, light groups and
// layers they name, lights, a heliodon, views of the three kinds, a panorama and a scenario.
Reference makeReference()
{
    TestScene scene;
    CScnMgr* m = scene.manager;
    Reference reference;
    m->getMaterials()->newScnObject(kScnLastIndex)->setName("Glass");
    CScnProperty* brick = m->getMaterials()->newScnObject(kScnLastIndex);
    brick->setName("Brick");
    brick->setUUID(&kSharedMaterial);
    brick->setUIValue(9);
    CProperty& property = static_cast<CProperty&>(*brick);
    property.setTop(ScnTest::everyKindTree(property));
    const CScnColor red{0, 180, 60, 40};
    brick->setDiffuseColor(&red);
    brick->setTextureURL("brick.tif");
    reference.brick = describeMaterial(*brick);
    reference.brickTree = materialTree(*brick);
    IScnLightsGroup* garden = m->getLightsGroups()->newScnObject(kScnLastIndex);
    garden->setName("Garden");
    IScnLightsGroup* shared = m->getLightsGroups()->newScnObject(kScnLastIndex);
    shared->setName("Shared in reference");
    shared->setID(&kSharedGroup);
    IScnLayer* plants = m->getLayers()->newScnObject(kScnLastIndex);
    plants->setName("Plants");
    m->getLayers()->newScnObject(kScnLastIndex)->setName("Unused");

    struct Definition {
        const char* className;
        const char* name;
    };
    for (const Definition& d : {Definition{kScnClass3DPlant, "Tree"}, Definition{"Furniture", "Sofa"},
                                Definition{kScnClassScnObject, "Bench"}}) {
        IScnScnObjectDefinition* definition = m->getObjectDefinitions()->newScnObject(kScnLastIndex);
        definition->setClass(d.className);
        definition->getName()->setText(kEn, d.name);
        definition->setLightGroupID(garden->getID());
        IScnInternalComponentDefinition* component =
            m->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
        component->setUUID(definition->getUUID());
        ScnTest::fillGeometry(component->getPoints(), component->getPolygons(), ScnTest::sampleGeometry());
        for (int copy = 1; copy <= 2; ++copy) {
            IScnObjectInstance* instance = m->getObjectInstances()->newScnObject(kScnLastIndex);
            instance->setName((std::string(d.name) + " " + std::to_string(copy)).c_str());
            instance->setClass(d.className);
            instance->setAttachedObject(definition->getUUID());
            instance->setLayerId(plants->getUUID());
            instance->setTriangleId(7);
        }
    }
    m->getObjectInstances()->getScnObject(0)->setUUID(&kSharedInstance);

    CScnLight* lamp = m->getLights()->newScnObject(kScnLastIndex);
    lamp->setName("Lamp");
    lamp->setUUID(&kSharedLight);
    *lamp->getLightsGroups()->newScnObject(kScnLastIndex) = *garden->getID();
    lamp->setObjectId(m->getObjectInstances()->getScnObject(1)->getUUID());
    lamp->setTargetType(kScnTargetOnObject);
    CScnLight* spot = m->getLights()->newScnObject(kScnLastIndex);
    spot->setName("Spot");
    *spot->getLightsGroups()->newScnObject(kScnLastIndex) = kSharedGroup;
    m->getHeliodon()->setName("Sun");
    CScnHeliodon* evening = m->getHeliodons()->newScnObject(kScnLastIndex);
    evening->setName("Evening");

    CScnCamera* view = m->getPerspectiveViews()->newScnObject(kScnLastIndex);
    view->setName("Garden view");
    view->getViewInfo()->setHeliodonName("Sun");
    *view->getViewInfo()->getLightsGroups()->newScnObject(kScnLastIndex) = *garden->getID();
    *view->getViewInfo()->getLayers()->newScnObject(kScnLastIndex) = *plants->getUUID();
    view->setObjectId(&kSharedInstance);
    view->setTargetType(1);
    view->setCurrent();
    m->getParallelViews()->newScnObject(kScnLastIndex)->setName("Plan");
    m->getViewObjects()->newScnObject(kScnLastIndex)->setName("Orbit");
    IScnPanorama* tour = m->getMgrEx(6)->getPanoramas()->newScnObject(kScnLastIndex);
    tour->setName("Tour");
    tour->getNodes()->newScnObject(kScnLastIndex)->setName("Hall");
    IScnScenario* scenario = m->getScenarios()->newScnObject(kScnLastIndex);
    scenario->setMaxTime(12.0);
    IScnSequence* shot = scenario->getSequences()->newScnObject(kScnLastIndex);
    shot->setName("Walk");
    shot->setObjectUUID(m->getObjectInstances()->getScnObject(4)->getUUID());
    shot->setTargetType(kScnSequenceObjectInstance);
    scenario->getTimeGuides()->newScnObject(kScnLastIndex)->setTime(3.0);
    reference.document = scene.save();
    return reference;
}

std::string referenceDocument()
{
    return makeReference().document;
}

const Reference& reference()
{
    static const Reference made = makeReference();
    return made;
}

// The export before the import: three materials used by its polygons, the second of the
// reference's identifier; a light and a heliodon named as the reference's, a current view, one
// group shared with the reference and one scenario.
void fillTarget(CScnMgr* m)
{
    const CScnColor grey{0, 200, 200, 200};
    for (const char* name : {"Plaster", "Old brick", "Slate"}) {
        CScnProperty* material = m->getMaterials()->newScnObject(kScnLastIndex);
        material->setName(name);
        material->setDiffuseColor(&grey);
        material->setTextureURL((std::string(name) + ".jpg").c_str());
    }
    m->getMaterials()->getScnObject(1)->setUUID(&kSharedMaterial);
    m->getMaterials()->getScnObject(1)->setUIValue(5);
    ScnTest::fillGeometry(m->getPoints(), m->getPolygons(), ScnTest::sampleGeometry());
    CScnLight* own = m->getLights()->newScnObject(kScnLastIndex);
    own->setName("Own lamp");
    own->setUUID(&kSharedLight);
    IScnLightsGroup* group = m->getLightsGroups()->newScnObject(kScnLastIndex);
    group->setName("Shared in target");
    group->setID(&kSharedGroup);
    m->getHeliodon()->setName("Sun");
    CScnCamera* current = m->getPerspectiveViews()->newScnObject(kScnLastIndex);
    current->setName("3D window");
    current->setCurrent();
    IScnScenario* scenario = m->getScenarios()->newScnObject(kScnLastIndex);
    scenario->setMaxTime(5.0);
    scenario->getSequences()->newScnObject(kScnLastIndex)->setName("Own shot");
}

// Names what an identifier links to in the scene: "-" for none, "?" for nothing there.
template <class List, class Id, class Name>
std::string linked(List* list, const CScnUUID& uuid, Id&& id, Name&& name)
{
    if (isNullUuid(uuid)) {
        return "-";
    }
    for (int32_t i = 0; i < list->getNbObjects(); ++i) {
        auto* object = list->getScnObject(static_cast<uint32_t>(i));
        if (id(*object) == uuid) {
            return name(*object);
        }
    }
    return "?";
}

std::string groupName(CScnMgr* m, const CScnUUID& uuid)
{
    return linked(m->getLightsGroups(), uuid, [](IScnLightsGroup& g) { return *g.getID(); },
                  [](IScnLightsGroup& g) { return std::string(g.getName()); });
}

std::string layerName(CScnMgr* m, const CScnUUID& uuid)
{
    return linked(m->getLayers(), uuid, [](IScnLayer& l) { return *l.getUUID(); },
                  [](IScnLayer& l) { return std::string(l.getName()); });
}

std::string instanceName(CScnMgr* m, const CScnUUID& uuid)
{
    return linked(m->getObjectInstances(), uuid, [](IScnObjectInstance& o) { return *o.getUUID(); },
                  [](IScnObjectInstance& o) { return std::string(o.getName()); });
}

std::string definitionName(CScnMgr* m, const CScnUUID& uuid)
{
    return linked(m->getObjectDefinitions(), uuid, [](IScnScnObjectDefinition& d) { return *d.getUUID(); },
                  [](IScnScnObjectDefinition& d) {
                      const char* name = d.getName()->getText(kEn);
                      return std::string(name != nullptr ? name : "");
                  });
}

std::string groupNames(CScnMgr* m, TScnObjectMgr<CScnUUID>* groups)
{
    std::string text;
    for (int32_t i = 0; i < groups->getNbObjects(); ++i) {
        text += (i > 0 ? "+" : "") + groupName(m, *groups->getScnObject(static_cast<uint32_t>(i)));
    }
    return text;
}

template <class List, class Describe>
std::string each(List* list, Describe&& describe)
{
    std::string text;
    for (int32_t i = 0; i < list->getNbObjects(); ++i) {
        text += (i > 0 ? ", " : "") + describe(*list->getScnObject(static_cast<uint32_t>(i)));
    }
    return text;
}

// The parts of a scene that an import touches, one line per part, links shown by the names of
// what they reach.
std::map<std::string, std::string> describe(CScnMgr* m)
{
    std::map<std::string, std::string> parts;
    parts["materials"] = each(m->getMaterials(), [](CScnProperty& p) { return describeMaterial(p); });
    parts["material ui"] =
        each(m->getMaterials(), [](CScnProperty& p) { return std::to_string(p.getUIValue()); });
    if (m->getMaterials()->getNbObjects() > 1) {
        parts["second tree"] = materialTree(*m->getMaterials()->getScnObject(1));
    }
    parts["polygon materials"] =
        each(m->getPolygons(), [](CScnPolygon& p) { return std::to_string(p.getPropertyIndex()); });
    parts["groups"] = each(m->getLightsGroups(), [](IScnLightsGroup& g) { return std::string(g.getName()); });
    parts["layers"] = each(m->getLayers(), [](IScnLayer& l) { return std::string(l.getName()); });
    parts["definitions"] = each(m->getObjectDefinitions(), [m](IScnScnObjectDefinition& d) {
        IScnInternalComponentDefinition* component = d.getInternalComponentDefinition();
        return definitionName(m, *d.getUUID()) + " " + d.getClass() + " group " + groupName(m, *d.getLightGroupID()) +
               (component != nullptr ? " points " + std::to_string(component->getPoints()->getNbObjects())
                                     : " no geometry");
    });
    parts["components"] = std::to_string(m->getInternalComponentDefinitions()->getNbObjects());
    parts["instances"] = each(m->getObjectInstances(), [m](IScnObjectInstance& o) {
        return std::string(o.getName()) + " of " + definitionName(m, *o.getAttachedObject()) + " layer " +
               layerName(m, *o.getLayerId()) + " triangle " + std::to_string(o.getTriangleId());
    });
    parts["lights"] = each(m->getLights(), [m](CScnLight& l) {
        return std::string(l.getName()) + " groups " + groupNames(m, l.getLightsGroups()) + " on " +
               instanceName(m, *l.getObjectId()) + " type " + std::to_string(l.getTargetType());
    });
    parts["heliodons"] = each(m->getHeliodons(), [](CScnHeliodon& h) { return std::string(h.getName()); });
    parts["views"] = each(m->getPerspectiveViews(), [m](CScnCamera& c) {
        IScnViewInfo* info = c.getViewInfo();
        return std::string(c.getName()) + (c.isCurrent() ? " current" : "") + " sun " + info->getHeliodonName() +
               " groups " + groupNames(m, info->getLightsGroups()) + " layers " +
               each(info->getLayers(), [m](CScnUUID& l) { return layerName(m, l); }) + " on " +
               instanceName(m, *c.getObjectId()) + " type " + std::to_string(c.getTargetType());
    });
    parts["parallel"] = each(m->getParallelViews(), [](IScnParallelView& v) { return std::string(v.getName()); });
    parts["orbits"] = each(m->getViewObjects(), [](CScnViewObject& v) { return std::string(v.getName()); });
    parts["panoramas"] = each(m->getMgrEx(6)->getPanoramas(), [](IScnPanorama& p) {
        return std::string(p.getName()) + " nodes " + std::to_string(p.getNodes()->getNbObjects());
    });
    parts["scenario"] = each(m->getScenarios(), [m](IScnScenario& s) {
        return "max " + std::to_string(static_cast<int>(s.getMaxTime())) + " shots " +
               each(s.getSequences(),
                    [m](IScnSequence& q) {
                        return std::string(q.getName()) + " on " + instanceName(m, *q.getObjectUUID()) + " type " +
                               std::to_string(q.getTargetType());
                    }) +
               " guides " + std::to_string(s.getTimeGuides()->getNbObjects());
    });
    return parts;
}

// The identifiers that two objects of one kind share in the scene, "" when there are none.
std::string sharedIdentifiers(CScnMgr* m)
{
    std::string shared;
    auto check = [&shared](const char* kind, auto* list, auto&& id) {
        std::set<std::string> seen;
        for (int32_t i = 0; i < list->getNbObjects(); ++i) {
            std::string text = ScnTest::uuidText(id(*list->getScnObject(static_cast<uint32_t>(i))));
            if (!seen.insert(text).second) {
                shared += std::string(kind) + " " + text + "\n";
            }
        }
    };
    check("material", m->getMaterials(), [](CScnProperty& p) { return *p.getUUID(); });
    check("definition", m->getObjectDefinitions(), [](IScnScnObjectDefinition& d) { return *d.getUUID(); });
    check("component", m->getInternalComponentDefinitions(),
          [](IScnInternalComponentDefinition& c) { return *c.getUUID(); });
    check("instance", m->getObjectInstances(), [](IScnObjectInstance& o) { return *o.getUUID(); });
    check("light", m->getLights(), [](CScnLight& l) { return *l.getUUID(); });
    check("heliodon", m->getHeliodons(), [](CScnHeliodon& h) { return *h.getUUID(); });
    check("group", m->getLightsGroups(), [](IScnLightsGroup& g) { return *g.getID(); });
    check("layer", m->getLayers(), [](IScnLayer& l) { return *l.getUUID(); });
    check("view", m->getPerspectiveViews(), [](CScnCamera& c) { return *c.getViewInfo()->getUUID(); });
    check("panorama", m->getMgrEx(6)->getPanoramas(), [](IScnPanorama& p) { return *p.getUUID(); });
    return shared;
}

struct ImportCase {
    const char* name;
    int32_t flags;
    // The parts that differ from the target before the import, each whole.
    std::map<std::string, std::string> changed;
};

std::ostream& operator<<(std::ostream& out, const ImportCase& c)
{
    return out << c.name;
}

const std::string kTreesAndBenches = "Tree 1 of Tree layer Plants triangle -1, Tree 2 of Tree layer Plants triangle -1, "
                                     "Bench 1 of Bench layer Plants triangle -1, Bench 2 of Bench layer Plants triangle -1";
const std::string kDefinitions = "Bench ScnObject group Garden points 0, Tree 3DPlant group Garden points 0";
const std::string kLights = "Own lamp groups  on - type 0, Lamp groups Garden on - type 0, Spot groups Shared in target on - type 0";
const std::string kView = "3D window current sun  groups  layers  on - type 0, "
                          "Garden view sun Sun (2) groups Garden layers Plants on - type 0";

class ReferenceImport : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ReferenceImport, TakesItsPartsAndKeepsTheTargetWholeAfterTheReferenceIsGone)
{
    const ImportCase& c = GetParam();
    const std::string& document = reference().document;
    TestScene target;
    fillTarget(target.manager);
    std::map<std::string, std::string> expected = describe(target.manager);
    for (const auto& part : c.changed) {
        expected[part.first] = part.second;
    }
    if ((c.flags & 0x01) != 0) {
        expected["materials"] = "Plaster colour 200,200,200 texture Plaster.jpg, " + reference().brick +
                                ", Slate colour 200,200,200 texture Slate.jpg";
        expected["second tree"] = reference().brickTree;
    }
    {
        SkipGeometry skip;
        ScnTest::RecordingFeedback feedback;
        CScnMgr* reference = CScnMgr::create(&feedback, &skip);
        ScnTest::MemoryStream stream(document);
        ASSERT_EQ(reference->read(&stream), 0);
        CScnMgr::doImportReference(target.manager, reference, c.flags);
        reference->release();
        EXPECT_EQ(beyondEmptyBlocks(feedback.warnings), std::vector<std::string>{});
    }
    EXPECT_EQ(target.feedback.warnings, std::vector<std::string>{});
    EXPECT_EQ(describe(target.manager), expected);
    EXPECT_EQ(sharedIdentifiers(target.manager), "");

    TestScene again;
    ASSERT_EQ(again.load(target.save()), 0);
    EXPECT_EQ(beyondEmptyBlocks(again.feedback.warnings), std::vector<std::string>{});
    EXPECT_EQ(describe(again.manager), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ReferenceImport,
    ::testing::Values(
        ImportCase{"none", 0, {}},
        // Bit 0x01: the target's second material takes the reference's "Brick" in place (below).
        ImportCase{"materials", 0x01, {}},
        ImportCase{"lights", 0x10,
                   {{"lights", kLights}, {"groups", ", Shared in target, Garden"}}},
        ImportCase{"heliodons", 0x20, {{"heliodons", "Sun, Sun (2), Evening"}}},
        ImportCase{"objects", 0x40,
                   {{"definitions", kDefinitions},
                    {"components", "2"},
                    {"instances", kTreesAndBenches},
                    {"groups", ", Shared in target, Garden"},
                    {"layers", "Plants"}}},
        ImportCase{"perspective views", 0x80,
                   {{"views", "3D window current sun  groups  layers  on - type 0, "
                              "Garden view sun Sun groups Garden layers Plants on - type 0"},
                    {"groups", ", Shared in target, Garden"},
                    {"layers", "Plants"}}},
        ImportCase{"parallel views", 0x100, {{"parallel", "Plan"}}},
        ImportCase{"view objects", 0x200, {{"orbits", "Orbit"}}},
        ImportCase{"panoramas", 0x400, {{"panoramas", " nodes 0, Tour nodes 1"}}},
        ImportCase{"scenario", 0x800,
                   {{"scenario", "max 12 shots Own shot on - type 0, Walk on - type 0 guides 1"}}},
        ImportCase{"all, as the export asks", 0x01 + 0xFF0,
                   {{"definitions", kDefinitions},
                    {"components", "2"},
                    {"instances", kTreesAndBenches},
                    {"groups", ", Shared in target, Garden"},
                    {"layers", "Plants"},
                    {"lights", "Own lamp groups  on - type 0, Lamp groups Garden on Tree 2 type 1, "
                               "Spot groups Shared in target on - type 0"},
                    {"heliodons", "Sun, Sun (2), Evening"},
                    {"views", "3D window current sun  groups  layers  on - type 0, "
                              "Garden view sun Sun (2) groups Garden layers Plants on Tree 1 type 1"},
                    {"parallel", "Plan"},
                    {"orbits", "Orbit"},
                    {"panoramas", " nodes 0, Tour nodes 1"},
                    {"scenario", "max 12 shots Own shot on - type 0, Walk on Bench 1 type 3 guides 1"}}}),
    [](const ::testing::TestParamInfo<ImportCase>& info) {
        std::string name;
        for (const char* p = info.param.name; *p != '\0'; ++p) {
            if (std::isalnum(static_cast<unsigned char>(*p))) {
                name += *p;
            }
        }
        return name;
    });

// Read with its geometry, the reference lends its definitions' points and polygons; the export
// supplies its own geometry through its storage, which is never asked for the imported ones.
TEST(ReferenceImportGeometry, ImportedDefinitionsAreWrittenFromTheirOwnTables)
{
    const std::string document = referenceDocument();
    ScnTest::ComponentStorage storage;
    storage.components[""] = ScnTest::sampleGeometry(100.0);
    TestScene target(&storage);
    {
        TestScene reference;
        ASSERT_EQ(reference.load(document), 0);
        CScnMgr::doImportReference(target.manager, reference.manager, 0x40);
    }
    ASSERT_EQ(target->getObjectDefinitions()->getNbObjects(), 2);
    const std::string imported = ScnTest::uuidText(*target->getObjectDefinitions()->getScnObject(0)->getUUID());
    std::string saved = target.save();
    for (const std::string& call : storage.calls) {
        EXPECT_EQ(call.find(imported), std::string::npos) << call;
    }
    TestScene again;
    ASSERT_EQ(again.load(saved), 0);
    EXPECT_EQ(beyondEmptyBlocks(again.feedback.warnings), std::vector<std::string>{});
    IScnInternalComponentDefinition* tree = again->getObjectDefinitions()->getScnObject(0)->getInternalComponentDefinition();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(ScnTest::describeGeometry(tree->getPoints(), tree->getPolygons()),
              ScnTest::describeGeometry(ScnTest::sampleGeometry()));
    EXPECT_EQ(again->getInternalComponentDefinitions()->getNbObjects(), 2);
    EXPECT_EQ(ScnTest::describeGeometry(again->getPoints(), again->getPolygons()),
              ScnTest::describeGeometry(ScnTest::sampleGeometry(100.0)));
}

// A definition the target has already (same identifier) is not copied again; the reference's
// instances place the target's. A scene imported into itself, or a manager that is not one of
// this library, changes nothing.
TEST(ReferenceImportGeometry, KnownDefinitionsAndSelfImportsAddNothing)
{
    TestScene reference;
    ASSERT_EQ(reference.load(referenceDocument()), 0);
    TestScene target;
    IScnScnObjectDefinition* known = target->getObjectDefinitions()->newScnObject(kScnLastIndex);
    known->setUUID(reference->getObjectDefinitions()->getScnObject(0)->getUUID());
    known->setClass(kScnClass3DPlant);
    known->getName()->setText(kEn, "Own tree");
    CScnMgr::doImportReference(target.manager, reference.manager, 0x40);
    std::map<std::string, std::string> parts = describe(target.manager);
    EXPECT_EQ(parts["definitions"], "Own tree 3DPlant group - no geometry, Bench ScnObject group Garden points 8");
    EXPECT_EQ(parts["instances"], "Tree 1 of Own tree layer Plants triangle -1, Tree 2 of Own tree layer Plants triangle -1, "
                                  "Bench 1 of Bench layer Plants triangle -1, Bench 2 of Bench layer Plants triangle -1");

    std::map<std::string, std::string> before = describe(reference.manager);
    CScnMgr::doImportReference(reference.manager, reference.manager, 0xFF1);
    CScnMgr::doImportReference(nullptr, reference.manager, 0xFF1);
    CScnMgr::doImportReference(reference.manager, nullptr, 0xFF1);
    EXPECT_EQ(describe(reference.manager), before);
    EXPECT_EQ(beyondEmptyBlocks(reference.feedback.warnings), std::vector<std::string>{});
}

}  // namespace
