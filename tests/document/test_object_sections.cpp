// The document sections of objects: billboard records, object definitions with their geometry
// nodes, object instances, the insertion objects of the scene and of perspective views, layers and
// the layers information, through whole saves and loads.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/Scene.h"
#include "support/Failures.h"
#include "support/ObjectSupport.h"
#include "support/TestSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using ScnTest::TestScene;

const std::string kCurrent = ScnTest::dottedLibrary("3.0.3");
const std::string kEmptyBlocks = "<Preview.Image><![CDATA[]]></Preview.Image><Images/>";

// The sections of the objects, as a save writes them.
const char* const kObjectSections[] = {"Billboards", "Object.Instances", "Layers", "Layers.Info"};

// The texts of the top-level elements of that name in a document, as the writer wrote them.
std::vector<std::string> sectionTexts(const std::string& document, const std::string& name)
{
    std::vector<std::string> all;
    size_t at = document.find("\n\t<" + name);
    while (at != std::string::npos) {
        char next = document[at + 3 + name.size()];
        if (next == '>' || next == '/' || next == '\n' || next == ' ') {
            size_t closed = document.find('>', at);
            size_t end = document[closed - 1] == '/' ? closed + 1
                                                     : document.find("\n\t</" + name + ">", at) + name.size() + 5;
            all.push_back(document.substr(at + 2, end - at - 2));
        }
        at = document.find("\n\t<" + name, at + 1);
    }
    return all;
}

// The same, each text followed by a line end.
std::string sectionsNamed(const std::string& document, const std::string& name)
{
    std::string all;
    for (const std::string& text : sectionTexts(document, name)) {
        all += text + "\n";
    }
    return all;
}

// The dumps of a scene's object lists and objects.
struct ObjectDumps {
    std::vector<std::string> definitions;
    std::vector<std::string> instances;
    std::vector<std::string> billboards;
    std::vector<std::string> layers;
    std::string layersInfo;
    std::string cameraInsertion;

    explicit ObjectDumps(CSCN& scene)
        : definitions(ScnTest::dumpsOf(scene.objectDefinitions())),
          instances(ScnTest::dumpsOf(scene.objectInstances())),
          billboards(ScnTest::dumpsOf(scene.billboards())),
          layers(ScnTest::dumpsOf(scene.layers())),
          layersInfo(dumpFields(scene.layersInfo()))
    {
        if (CCamera* camera = scene.cameras().find(0)) {
            cameraInsertion = dumpFields(*static_cast<CScnInsertionObject*>(camera->getInsertionObject()));
        }
    }
};

void expectSameObjects(const ObjectDumps& got, const ObjectDumps& expected)
{
    EXPECT_EQ(got.definitions, expected.definitions);
    EXPECT_EQ(got.instances, expected.instances);
    EXPECT_EQ(got.billboards, expected.billboards);
    EXPECT_EQ(got.layers, expected.layers);
    EXPECT_EQ(got.layersInfo, expected.layersInfo);
    EXPECT_EQ(got.cameraInsertion, expected.cameraInsertion);
}

TEST(ObjectSections, EverySectionIsSavedInTheLayoutOrderWithItsObjects)
{
    TestScene scene;
    ScnTest::fillObjects(scene.core());
    std::string document = scene.save();
    std::vector<std::string> names = ScnTest::fileChildren(document);
    auto from = std::find(names.begin(), names.end(), "Working.Window");
    ASSERT_NE(from, names.end());
    std::vector<std::string> expected = {"Working.Window"};
    expected.insert(expected.end(), std::size(ScnTest::kObjectClasses), "Object.Definition");
    for (const char* name : {"Object.Instances", "Scenarios", "3D.Paths", "Grounds", "Layers", "Layers.Info"}) {
        expected.push_back(name);
    }
    EXPECT_EQ(std::vector<std::string>(from, names.end()), expected);
    EXPECT_EQ(std::count(names.begin(), names.end(), "InsertionObject"), 0) << "the scene's is only read";
    EXPECT_LT(std::find(names.begin(), names.end(), "Billboards"), std::find(names.begin(), names.end(), "Lights"));
    for (const char* name : kObjectSections) {
        std::string section = sectionsNamed(document, name);
        EXPECT_GT(std::count(section.begin(), section.end(), '\n'), 3) << name << ": " << section;
    }
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});

    TestScene again;
    ASSERT_EQ(again.load(document), 0);
    EXPECT_EQ(again.feedback.warnings, std::vector<std::string>{});
    expectSameObjects(ObjectDumps(again.core()), ObjectDumps(scene.core()));
    // The geometry and the definitions meet again through their UUIDs.
    for (size_t i = 0; i < again.core().objectDefinitions().size(); ++i) {
        CScnScnObjectDefinition* definition = again.core().objectDefinitions().at(i);
        IScnInternalComponentDefinition* component = definition->getInternalComponentDefinition();
        ASSERT_NE(component, nullptr) << i;
        EXPECT_EQ(component->getObjectDefinition(), definition) << i;
        EXPECT_EQ(component->getPoints()->getNbObjects(), 3) << i;
        EXPECT_EQ(component->getPolygons()->getNbObjects(), 1) << i;
    }
    std::string saved = again.save();
    for (const char* name : {"InternalComponentDefinitions", "Billboards", "Perspective.Views", "Object.Definition",
                             "Object.Instances", "Layers", "Layers.Info"}) {
        EXPECT_EQ(sectionsNamed(saved, name), sectionsNamed(document, name)) << name;
    }
}

// A document laid out otherwise (no line breaks, the object sections first, the definitions apart)
// loads, and its save gives each object section back as this library writes it.
TEST(ObjectSections, ADocumentOfAnotherLayoutKeepsTheContentOfEverySection)
{
    TestScene source;
    ScnTest::fillObjects(source.core());
    const std::string canonical = source.save();
    std::string rest = canonical.substr(canonical.find("<Scn.File>") + 10);
    rest = rest.substr(0, rest.rfind("</Scn.File>"));
    std::string front;
    for (const char* name : {"Layers.Info", "Object.Definition", "Layers", "Object.Instances", "Billboards"}) {
        for (const std::string& one : sectionTexts(canonical, name)) {
            front += one;
            size_t found = rest.find(one);
            ASSERT_NE(found, std::string::npos) << name;
            rest.erase(found, one.size());
        }
    }
    // No line breaks nor indentation outside the data blocks.
    std::string body = front + rest;
    std::string flat;
    bool inBlock = false;
    for (size_t i = 0; i < body.size(); ++i) {
        if (!inBlock && body.compare(i, 9, "<![CDATA[") == 0) {
            inBlock = true;
        } else if (inBlock && body.compare(i, 3, "]]>") == 0) {
            inBlock = false;
        }
        if (!inBlock && (body[i] == '\n' || (body[i] == '\t' && (i == 0 || body[i - 1] == '\n' || body[i - 1] == '\t')))) {
            continue;
        }
        flat += body[i];
    }
    std::string foreign = canonical.substr(0, canonical.find("<Scn.File>") + 10) + flat + "</Scn.File>\n";
    ASSERT_EQ(ScnTest::fileChildren(foreign).front(), "Layers.Info");

    TestScene scene;
    ASSERT_EQ(scene.load(foreign), 0);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
    expectSameObjects(ObjectDumps(scene.core()), ObjectDumps(source.core()));
    std::string saved = scene.save();
    for (const char* name : {"Object.Definition", "Billboards", "Object.Instances", "Layers", "Layers.Info",
                             "InternalComponentDefinitions", "Perspective.Views"}) {
        EXPECT_EQ(sectionsNamed(saved, name), sectionsNamed(canonical, name)) << name;
    }
}

// Bad items are reported with the texts of their kinds, the other objects and sections load, and
// the save writes what was read.
TEST(ObjectSections, BadObjectsAreReportedAndTheRestOfTheDocumentLoads)
{
    TestScene source;
    ScnTest::fillObjects(source.core());
    source->getLights()->newScnObject(kScnLastIndex)->setName("Lamp");
    std::string document = source.save();
    auto cut = [&](const std::string& from, const std::string& to) {
        size_t at = document.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        document.replace(at, from.size(), to);
    };
    char text[33];
    uuidToText(*source.core().objectDefinitions().at(2)->getUUID(), text);
    // The third definition loses its geometry node, the first instance its behaviour label, the
    // second layer its name; an instance names no definition; a matrix has a fifth line; a record
    // is not hexadecimal; the layer map lacks a kind.
    cut(std::string("<InternalComponentDefinition UUID=\"") + text, "<InternalComponentDefinition UUID=\"" +
                                                                         std::string(32, 'E'));
    cut("Animation.Behavior=\"FollowOnPath\"", "Animation.Behavior=\"Sideways\"");
    size_t secondLayer = document.find("<Layer UUID", document.find("<Layer UUID") + 1);
    document.erase(document.find("<Name", secondLayer), document.find("/>", document.find("<Name", secondLayer)) + 2 -
                                                            document.find("<Name", secondLayer));
    uuidToText(*source.core().objectInstances().at(3)->getAttachedObject(), text);
    cut(std::string("Attach.Id=\"") + text, "Attach.Id=\"" + std::string(32, 'D'));
    size_t matrix = document.find("</Model.Rotation.Matrixs>", document.find("<Object.Definition"));
    document.insert(matrix, "<Line Index=\"3\">0, 0, 0, 1</Line>");
    size_t record = document.find("<Mgr.Info Property=\"", document.find("<Billboards>"));
    document.replace(record + 20, 8, "GGGGGGGG");
    cut(" AnimatedObject=\"", " Other=\"");

    TestScene scene;
    ASSERT_EQ(scene.load(document), 0);
    const std::string missing = ScnTest::nullPointerText();
    EXPECT_EQ(scene.feedback.warnings,
              (std::vector<std::string>{
                  "Exception in IScnBBMgrData::initWithXML : " + ScnTest::plainFailureText(),
                  "Exception in CScnScnObjectDefinition::initWithXML : " + ScnTest::assertionText(),
                  "Exception in CScnScnObjectDefinition::initWithXML : CScnScnObjectDefinition::initWithXML : "
                  "cannot find internal component definition node",
                  "Exception in CScnObjectInstance::initWithXML : Invalid label (Sideways) [Normal..FollowOnPathXY]",
                  "Exception in AddLayer::initWithXML : " + missing,
                  "Exception in AddLayerInfo::initWithXML : " + missing}));
    CSCN& read = scene.core();
    EXPECT_EQ(read.billboards().size(), 2u);
    EXPECT_EQ(dumpFields(*read.billboards().at(1)), dumpFields(*source.core().billboards().at(1)));
    ASSERT_EQ(read.objectDefinitions().size(), std::size(ScnTest::kObjectClasses));
    ASSERT_EQ(read.objectInstances().size(), std::size(ScnTest::kObjectClasses));
    for (size_t i : {1u, 3u, 4u, 5u}) {
        EXPECT_EQ(dumpFields(*read.objectDefinitions().at(i)), dumpFields(*source.core().objectDefinitions().at(i)))
            << i;
    }
    // The definition without geometry keeps everything it read; so does the instance of no
    // definition, which is loaded as it stands.
    EXPECT_EQ(dumpFields(*read.objectDefinitions().at(2)), dumpFields(*source.core().objectDefinitions().at(2)));
    EXPECT_EQ(read.objectDefinitions().at(2)->getInternalComponentDefinition(), nullptr);
    EXPECT_EQ(*read.objectInstances().at(3)->getAttachedObject(), ScnTest::filledUuid(0xDD));
    EXPECT_EQ(read.findObjectDefinition(ScnTest::filledUuid(0xDD)), nullptr);
    EXPECT_EQ(read.layers().size(), 2u);
    EXPECT_STREQ(read.lights().at(0)->getName(), "Lamp");

    // What was read saves, and reads back with the reports of what is still wrong.
    std::string saved = scene.save();
    TestScene again;
    ASSERT_EQ(again.load(saved), 0);
    EXPECT_EQ(again.feedback.warnings,
              (std::vector<std::string>{"Exception in CScnScnObjectDefinition::initWithXML : CScnScnObjectDefinition::"
                                        "initWithXML : cannot find internal component definition node"}));
}

TEST(ObjectSections, ADocumentBefore301GainsItsModelInstanceAndKeepsItWhole)
{
    const std::string body = kEmptyBlocks +
                             "<Points><![CDATA[\n1 \n0.0 1.0 2.0 \n]]></Points>"
                             "<Polygons><![CDATA[\n1 \np\t4 3 0 0 0 \n]]></Polygons><Layers><Layer UUID=\"" +
                             std::string(32, 'A') + "\"><Name en=\"Walls\"/></Layer></Layers>";
    TestScene scene;
    ASSERT_EQ(scene.load(ScnTest::sceneDocument(ScnTest::dottedLibrary("3.0.0"), body)), 0);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
    CSCN& old = scene.core();
    ASSERT_EQ(old.objectInstances().size(), 1u);
    ASSERT_EQ(old.internalComponents().size(), 1u);
    CScnObjectInstance* model = old.objectInstances().at(0);
    EXPECT_STREQ(model->getName(), "ModelObject");
    EXPECT_EQ(*model->getAttachedObject(), old.internalComponents().at(0)->uuid());
    EXPECT_EQ(old.layers().size(), 1u);
    std::string saved = scene.save();
    std::vector<std::string> names = ScnTest::fileChildren(saved);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Points"), 0);

    TestScene again;
    ASSERT_EQ(again.load(saved), 0);
    EXPECT_EQ(again.feedback.warnings, std::vector<std::string>{});
    ASSERT_EQ(again.core().objectInstances().size(), 1u);
    EXPECT_EQ(dumpFields(*again.core().objectInstances().at(0)), dumpFields(*model));
    EXPECT_EQ(again.core().internalComponents().at(0)->getPoints()->getScnObject(0)->z, 2.0);
}

// What a component element holds beside its identity, level and geometry is written back after the
// blocks, in its order.
TEST(ObjectSections, TheOtherContentOfAComponentElementIsKept)
{
    const std::string uuid = std::string(32, 'C');
    const std::string body = kEmptyBlocks + "<InternalComponentDefinitions><InternalComponentDefinition UUID=\"" + uuid +
                             "\" Kind=\"ModelObject\"><Geometry.Level>2</Geometry.Level><Class en=\"ModelObject\"/>"
                             "<Points><![CDATA[\n1 \n1.0 2.0 3.0 \n]]></Points><Polygons><![CDATA[\n1 \np\t4 3 0 0 0 \n]]></Polygons>"
                             "<Name en=\"Roof\" fr=\"Toit\"/><!--kept--></InternalComponentDefinition>"
                             "</InternalComponentDefinitions>";
    TestScene scene;
    ASSERT_EQ(scene.load(ScnTest::sceneDocument(kCurrent, body)), 0);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
    std::string saved = scene.save();
    EXPECT_EQ(sectionsNamed(saved, "InternalComponentDefinitions"),
              "<InternalComponentDefinitions>\n"
              "\t\t<InternalComponentDefinition\n\t\t\t UUID=\"" + uuid + "\"\n\t\t\t Kind=\"ModelObject\">\n"
              "\t\t\t<Geometry.Level>2</Geometry.Level>\n"
              "\t\t\t<Points><![CDATA[\n1 \n1.0 2.0 3.0 \n]]>\n\t\t\t</Points>\n"
              "\t\t\t<Polygons><![CDATA[\n1 \np\t4 3 0 0 0 \n]]>\n\t\t\t</Polygons>\n"
              "\t\t\t<Class en=\"ModelObject\"/>\n"
              "\t\t\t<Name\n\t\t\t\t en=\"Roof\"\n\t\t\t\t fr=\"Toit\"/>\n"
              "\t\t\t<!--kept-->\n"
              "\t\t</InternalComponentDefinition>\n"
              "\t</InternalComponentDefinitions>\n");
    TestScene again;
    ASSERT_EQ(again.load(saved), 0);
    EXPECT_EQ(sectionsNamed(again.save(), "InternalComponentDefinitions"),
              sectionsNamed(saved, "InternalComponentDefinitions"));
}

// The scene's insertion object is read from the document and never written: the loaded element
// stays where it was. A perspective view writes its own, and one without keeps its own.
TEST(ObjectSections, InsertionObjectsOfTheSceneAndOfViews)
{
    CScnInsertionObject varied(nullptr);
    ScnTest::varyFields(varied);
    ScnTest::XmlScratch scratch("Scn.File");
    varied.putInXML(scratch.parent());
    std::string element = ScnTest::writeElement(XmlForm::findChild(scratch.parent(), "InsertionObject"));
    TestScene scene;
    ASSERT_EQ(scene.load(ScnTest::sceneDocument(kCurrent, kEmptyBlocks + element +
                                                               "<Perspective.Views><Perspective.View Object.Id=\"" +
                                                               std::string(32, '0') +
                                                               "\" Target.type=\"Fixed.Vertex\"><Name en=\"A\"/>"
                                                               "<View.Flags>2</View.Flags>"
                                                               "<Position X=\"0\" Y=\"0\" Z=\"0\"/>"
                                                               "<Target X=\"0\" Y=\"0\" Z=\"1\"/><Roll>0</Roll>"
                                                               "<Focal>50</Focal><View.Info><Lights.Groups/>"
                                                               "<Heliodon.Name en=\"\"/><Depth.Of.Field Type="
                                                               "\"FromPoint\"><Clearness.Point X=\"0\" Y=\"0\" Z=\"0\"/>"
                                                               "<Clearness.Dist.Inv>0</Clearness.Dist.Inv>"
                                                               "<Clearness.Size.Inv>0</Clearness.Size.Inv>"
                                                               "</Depth.Of.Field><Renderer.Info><Name en=\"\"/>"
                                                               "</Renderer.Info></View.Info></Perspective.View>"
                                                               "</Perspective.Views>")),
              0);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
    EXPECT_EQ(dumpFields(scene.core().insertionObject()), dumpFields(varied));
    ASSERT_EQ(scene.core().cameras().size(), 1u);
    CScnInsertionObject fresh(nullptr);
    auto* own = static_cast<CScnInsertionObject*>(scene.core().cameras().at(0)->getInsertionObject());
    EXPECT_EQ(dumpFields(*own), dumpFields(fresh));

    const std::string loaded = sectionsNamed(scene.save(), "InsertionObject");
    EXPECT_NE(loaded.find("<AxesPositions>"), std::string::npos) << loaded;
    ScnTest::varyFields(scene.core().insertionObject());
    ScnTest::varyFields(*own);
    std::string saved = scene.save();
    EXPECT_EQ(sectionsNamed(saved, "InsertionObject"), loaded) << "the loaded element as it was";
    TestScene again;
    ASSERT_EQ(again.load(saved), 0);
    EXPECT_EQ(dumpFields(*static_cast<CScnInsertionObject*>(again.core().cameras().at(0)->getInsertionObject())),
              dumpFields(*own));
    EXPECT_EQ(dumpFields(again.core().insertionObject()), dumpFields(varied));
}

// The display names of the definitions of a saved scene, read without loading it.
TEST(ObjectSections, MediaInformationNamesTheDefinitionsOfASavedScene)
{
    TestScene source;
    for (const char* name : {"Bench", "Tree"}) {
        CScnScnObjectDefinition* definition = source.core().objectDefinitions().append();
        definition->getName()->setText(languageCode("en"), name);
        definition->getName()->setText(languageCode("de"), (std::string(name) + "-de").c_str());
        definition->getDescription1()->setText(languageCode("en"), "not a name");
    }
    ScnTest::MemoryStream stream(source.save());
    TestScene scene;
    EXPECT_EQ(scene->readMediaInfo(&stream), nullptr);
    ASSERT_EQ(scene.core().objectDefinitions().size(), 2u);
    IScnLanguageTexts* second = scene.core().objectDefinitions().at(1)->getName();
    EXPECT_EQ(second->getNbLanguages(), 2);
    EXPECT_STREQ(second->getText(languageCode("en")), "Tree");
    EXPECT_STREQ(second->getText(languageCode("de")), "Tree-de");
    EXPECT_EQ(scene.core().objectDefinitions().at(0)->getDescription1()->getNbLanguages(), 0);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
}

}  // namespace
