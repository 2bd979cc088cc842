// Object definitions and instances with the data of their kinds, the insertion object, layers and
// the layers information: document forms, the way back through the written bytes, the class that
// names the kind, and bad input.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/InsertionObject.h"
#include "model/Layers.h"
#include "model/ObjectDefinition.h"
#include "model/ObjectInstance.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/Locale.h"
#include "support/ObjectSupport.h"
#include "support/XmlSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

const std::string kDefinitionReport = "Exception in CScnScnObjectDefinition::initWithXML : ";
const std::string kInstanceReport = "Exception in CScnObjectInstance::initWithXML : ";

CScnUUID filled(uint8_t value)
{
    CScnUUID uuid{};
    for (uint8_t& byte : uuid.bytes) {
        byte = value;
    }
    return uuid;
}

class ObjectsTest : public ScnTest::SceneFixture {
protected:
    CScnObjectInstance* newInstance() { return mScene->objectInstances().append(); }
    CScnScnObjectDefinition* newDefinition() { return mScene->objectDefinitions().append(); }
};

// The bytes of an object's element written under a scratch parent.
template <class Object>
std::string written(Object& object)
{
    ScnTest::XmlScratch scratch;
    return ScnTest::writeElement(writeFields(object, scratch.parent()));
}

// A file element holding the definition and, unless left out, its geometry node, as bytes.
std::string definitionFile(CScnScnObjectDefinition& definition, bool withNode = true)
{
    ScnTest::XmlScratch scratch("Scn.File");
    if (withNode) {
        XIXMLElement* list = XmlForm::addChild(scratch.parent(), "InternalComponentDefinitions");
        XmlForm::writeUuid(XmlForm::addChild(list, "InternalComponentDefinition"), "UUID", definition.uuid());
    }
    definition.putInXML(scratch.parent());
    return ScnTest::writeElement(scratch.parent());
}

// Reads the definition element of a file's bytes into target; answers initWithXML's result.
bool readDefinitionFile(const std::string& bytes, CScnScnObjectDefinition& target)
{
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(bytes);
    return tree != nullptr &&
           target.initWithXML(XmlForm::findChild(ScnTest::firstElement(*tree), CScnScnObjectDefinition::kElementName));
}

TEST_F(ObjectsTest, EveryKindSurvivesTheXmlRoundTrip)
{
    ScnTest::inPlainAndCommaLocales([&](bool comma) {
        for (const char* className : ScnTest::kObjectClasses) {
            SCOPED_TRACE(std::string(className) + (comma ? " comma" : " plain"));
            for (bool owned : {true, false}) {
                CScnScnObjectDefinition freeSource(nullptr);
                CScnScnObjectDefinition freeTarget(nullptr);
                CScnScnObjectDefinition& source = owned ? *newDefinition() : freeSource;
                CScnScnObjectDefinition& target = owned ? *newDefinition() : freeTarget;
                ScnTest::varyWithKind(source, className);
                EXPECT_EQ(ScnTest::unchangedLines(dumpFields(source), dumpFields(target)), std::vector<std::string>{});
                std::string bytes = definitionFile(source);
                EXPECT_TRUE(readDefinitionFile(bytes, target)) << bytes;
                EXPECT_EQ(dumpFields(target), dumpFields(source)) << bytes;

                CScnObjectInstance freeInstance(nullptr);
                CScnObjectInstance freeInstanceBack(nullptr);
                CScnObjectInstance& instance = owned ? *newInstance() : freeInstance;
                CScnObjectInstance& instanceBack = owned ? *newInstance() : freeInstanceBack;
                ScnTest::varyWithKind(instance, className);
                EXPECT_EQ(ScnTest::unchangedLines(dumpFields(instance), dumpFields(instanceBack)),
                          std::vector<std::string>{});
                bool ok = false;
                bytes = ScnTest::xmlRoundTrip(instance, instanceBack, &ok);
                EXPECT_TRUE(ok) << bytes;
                EXPECT_EQ(dumpFields(instanceBack), dumpFields(instance)) << bytes;
            }
        }
        CScnInsertionObject insertion(mScene);
        CScnInsertionObject insertionBack(mScene);
        ScnTest::expectRoundTrip(insertion, insertionBack, "insertion object");
        CScnLayer* layer = mScene->layers().append();
        ScnTest::expectRoundTrip(*layer, *mScene->layers().append(), "layer");
        CScnLayerInfo info(mScene);
        CScnLayerInfo infoBack(mScene);
        ScnTest::expectRoundTrip(info, infoBack, "layers information");
        CScnBBMgrData* record = mScene->billboards().append();
        ScnTest::expectRoundTrip(*record, *mScene->billboards().append(), "billboard record");
    });
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{});
}

TEST_F(ObjectsTest, ANewDefinitionIsWrittenInDocumentOrder)
{
    CScnScnObjectDefinition* definition = newDefinition();
    CScnUUID uuid = filled(0x11);
    definition->setUUID(&uuid);
    definition->getName()->setText(languageCode("en"), "Chair");
    definition->getName()->setText(languageCode("fr"), "Chaise");
    definition->getName()->setText(languageCode("en"), "Seat");
    definition->getSetups()->newScnObject(kScnLastIndex)->setName("Low");
    CScnUUID setup = filled(0x22);
    definition->getSetups()->getScnObject(0)->setUUID(&setup);
    EXPECT_EQ(written(*definition),
              "<Object.Definition\n"
              "\t UUID=\"11111111111111111111111111111111\"\n"
              "\t Placement=\"Perpendicular\"\n"
              "\t LightGroupID=\"00000000000000000000000000000000\"\n"
              "\t Model.Origin=\"Uninitialized\">\n"
              "\t<Class en=\"\"/>\n"
              "\t<Name\n\t\t en=\"Seat\"\n\t\t fr=\"Chaise\"/>\n"
              "\t<Anchor\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Up\n\t\t X=\"0.000000\"\n\t\t Y=\"1.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Initial.Angle>0.000000</Initial.Angle>\n"
              "\t<Properties/>\n"
              "\t<Model.Rotation\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Model.Rotation.Matrixs>\n"
              "\t\t<Line Index=\"0\">1.000000, 0.000000, 0.000000, 0.000000</Line>\n"
              "\t\t<Line Index=\"1\">0.000000, 1.000000, 0.000000, 0.000000</Line>\n"
              "\t\t<Line Index=\"2\">0.000000, 0.000000, 1.000000, 0.000000</Line>\n"
              "\t\t<Line Index=\"3\">0.000000, 0.000000, 0.000000, 1.000000</Line>\n"
              "\t</Model.Rotation.Matrixs>\n"
              "\t<Model.Position\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Description1/>\n"
              "\t<Description2/>\n"
              "\t<Comment/>\n"
              "\t<UIValue>0</UIValue>\n"
              "\t<Setups>\n"
              "\t\t<Setup UUID=\"22222222222222222222222222222222\">\n"
              "\t\t\t<Name en=\"Low\"/>\n"
              "\t\t</Setup>\n"
              "\t</Setups>\n"
              "</Object.Definition>");
    EXPECT_EQ(definition->getName()->getNbLanguages(), 2);
    EXPECT_EQ(definition->getName()->getLanguage(1), languageCode("fr"));
    EXPECT_EQ(definition->getName()->getLanguage(2), 0);
    EXPECT_EQ(definition->getName()->getLanguage(-1), 0);
    EXPECT_EQ(definition->getName()->getText(languageCode("de")), nullptr);
}

TEST_F(ObjectsTest, ANewInstanceIsWrittenInDocumentOrder)
{
    CScnObjectInstance* instance = newInstance();
    CScnUUID uuid = filled(0xAB);
    instance->setUUID(&uuid);
    instance->setName("Chair & <1>");
    EXPECT_EQ(written(*instance),
              "<Object.Instance\n"
              "\t UUID=\"ABABABABABABABABABABABABABABABAB\"\n"
              "\t Attach.Id=\"00000000000000000000000000000000\"\n"
              "\t Placement.Property=\"Perpendicular\"\n"
              "\t Animation.Behavior=\"Normal\"\n"
              "\t Layer.Id=\"00000000000000000000000000000000\">\n"
              "\t<Name en=\"Chair &amp; &lt;1>\"/>\n"
              "\t<Class en=\"\"/>\n"
              "\t<Normal\n\t\t X=\"0.000000\"\n\t\t Y=\"1.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Translation\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Rotation\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Scale\n\t\t X=\"1.000000\"\n\t\t Y=\"1.000000\"\n\t\t Z=\"1.000000\"/>\n"
              "\t<Triangle.Id>-1</Triangle.Id>\n"
              "\t<Triangle.Coord>\n"
              "\t\t<Pt.1\n\t\t\t X=\"0.000000\"\n\t\t\t Y=\"0.000000\"/>\n"
              "\t\t<Pt.2\n\t\t\t X=\"0.000000\"\n\t\t\t Y=\"0.000000\"/>\n"
              "\t</Triangle.Coord>\n"
              "\t<Anchor.Position\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Up.Vector\n\t\t X=\"0.000000\"\n\t\t Y=\"1.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Initial.Angle>0.000000</Initial.Angle>\n"
              "\t<Bounding.Box>\n"
              "\t\t<Min.Point\n\t\t\t X=\"0.000000\"\n\t\t\t Y=\"0.000000\"\n\t\t\t Z=\"0.000000\"/>\n"
              "\t\t<Max.Point\n\t\t\t X=\"0.000000\"\n\t\t\t Y=\"0.000000\"\n\t\t\t Z=\"0.000000\"/>\n"
              "\t</Bounding.Box>\n"
              "\t<UIValue>0</UIValue>\n"
              "\t<Current.Path.Direction\n\t\t X=\"0.000000\"\n\t\t Y=\"0.000000\"\n\t\t Z=\"0.000000\"/>\n"
              "\t<Tansparency>0.000000</Tansparency>\n"
              "</Object.Instance>");
    EXPECT_NE(dumpFields(*instance), dumpFields(*newInstance())) << "each instance draws its own UUID";
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{});
}

// The labels and identifiers that the data of each kind writes: the data element as written.
TEST_F(ObjectsTest, KindDataIsWrittenWithItsLabelsAndHexadecimalIdentifiers)
{
    auto dataOf = [](const std::string& text) {
        size_t begin = text.find("\t<Object.Data>");
        size_t end = text.find("\t</Object.Data>");
        return begin == std::string::npos || end == std::string::npos ? text : text.substr(begin, end - begin);
    };
    auto plant = [&](int32_t type, int32_t color) {
        CScnScnObjectDefinition* definition = newDefinition();
        definition->setClass(kScnClass3DPlant);
        IScn3DPlant* data = definition->get3DPlant();
        data->setPlantType(type);
        IScn3DPlant::IPlantSetUp* setup = data->getSetups()->newScnObject(kScnLastIndex);
        setup->setColor(color);
        for (CScnTime* time : {setup->getStartTime(), setup->getEndTime()}) {
            time->setMonth(4);
            time->setDay(1);
            time->setHour(0);
            time->setMinute(0);
            time->setYear(2000);
        }
        return dataOf(written(*definition));
    };
    const std::string date = "\t\t\t\t\t<Month>4</Month>\n\t\t\t\t\t<Day>1</Day>\n\t\t\t\t\t<Hour>0</Hour>\n"
                             "\t\t\t\t\t<Minute>0</Minute>\n\t\t\t\t\t<Year>2000</Year>\n";
    auto plantData = [&](const char* type, const char* color) {
        return std::string("\t<Object.Data>\n\t\t<Plant.Type>") + type + "</Plant.Type>\n\t\t<Plant.Setups>\n"
               "\t\t\t<Plant.Setup>\n\t\t\t\t<StartTime>\n" + date + "\t\t\t\t</StartTime>\n\t\t\t\t<EndTime>\n" +
               date + "\t\t\t\t</EndTime>\n\t\t\t\t<Color>" + color +
               "</Color>\n\t\t\t</Plant.Setup>\n\t\t</Plant.Setups>\n";
    };
    EXPECT_EQ(plant(0, 3), plantData("Undefined", "Rose"));
    EXPECT_EQ(plant(8, -1), plantData("Fern", "Undefined"));
    EXPECT_EQ(plant(4, 8), plantData("PottedPlant", "Brown"));

    CScnScnObjectDefinition* definition = newDefinition();
    definition->setClass(kScnClassBillboard);
    IScnBillboard* data = definition->getBillboard();
    data->getMgrInfo()->setProperty(0xDEADBEEFu);
    IScnQuad* quad = data->getQuads()->newScnObject(kScnLastIndex);
    quad->setId(255);
    quad->getTriangles()->newScnObject(kScnLastIndex)->corners[2].z = 1.5;
    data->getNames()->newScnObject(kScnLastIndex)->setName("front.tif");
    data->setBehavior(kScnBillboardMultifaces);
    const std::string zero = "\n\t\t\t\t\t\t\t X=\"0.000000\"\n\t\t\t\t\t\t\t Y=\"0.000000\"\n\t\t\t\t\t\t\t Z=";
    EXPECT_EQ(dataOf(written(*definition)),
              "\t<Object.Data>\n\t\t<Billboard>\n\t\t\t<Mgr.Info Property=\"DEADBEEF\"/>\n\t\t\t<Quads>\n"
              "\t\t\t\t<Quad Id=\"000000FF\">\n\t\t\t\t\t<Triangle>\n"
              "\t\t\t\t\t\t<Pt.0" + zero + "\"0.000000\"/>\n\t\t\t\t\t\t<Pt.1" + zero +
                  "\"0.000000\"/>\n\t\t\t\t\t\t<Pt.2" + zero +
                  "\"1.500000\"/>\n\t\t\t\t\t</Triangle>\n\t\t\t\t</Quad>\n\t\t\t</Quads>\n"
                  "\t\t\t<Bb.Info Behavior=\"Multifaces\">\n\t\t\t\t<Names>\n\t\t\t\t\t<Name en=\"front.tif\"/>\n"
                  "\t\t\t\t</Names>\n\t\t\t\t<NbFaces>1</NbFaces>\n\t\t\t\t<Scale>1.000000</Scale>\n"
                  "\t\t\t\t<Normal\n\t\t\t\t\t X=\"0.000000\"\n\t\t\t\t\t Y=\"0.000000\"\n\t\t\t\t\t Z=\"1.000000\"/>\n"
                  "\t\t\t</Bb.Info>\n\t\t</Billboard>\n");

    // A value without a label fails the write with the wrapped report.
    const struct {
        const char* what;
        std::function<void(CScnScnObjectDefinition&)> set;
        std::string report;
    } unlabelled[] = {
        {"plant type 9", [](CScnScnObjectDefinition& d) { d.setClass(kScnClass3DPlant); d.get3DPlant()->setPlantType(9); },
         "No label for the value (9) [Undefined..Fern]"},
        {"plant colour -2",
         [](CScnScnObjectDefinition& d) {
             d.setClass(kScnClass3DPlant);
             d.get3DPlant()->getSetups()->newScnObject(kScnLastIndex)->setColor(-2);
         },
         "No label for the value (-2) [Undefined..Brown]"},
        {"billboard behaviour 3",
         [](CScnScnObjectDefinition& d) { d.setClass(kScnClassBillboard); d.getBillboard()->setBehavior(3); },
         "No label for the value (3) [Flat..Multifaces]"},
        {"model origin 4", [](CScnScnObjectDefinition& d) { d.setModelOrigin(4); },
         "No label for the value (4) [Uninitialized..CenterXY]"},
    };
    for (const auto& c : unlabelled) {
        CScnScnObjectDefinition* bad = newDefinition();
        c.set(*bad);
        ScnTest::XmlScratch scratch;
        mFeedback.warnings.clear();
        EXPECT_EQ(bad->putInXML(scratch.parent()), nullptr) << c.what;
        EXPECT_EQ(mFeedback.warnings,
                  std::vector<std::string>{"Exception in CScnScnObjectDefinition::putInXML : " + c.report})
            << c.what;
    }
}

// The class names the data: a definition or an instance carries the data of its class's kind,
// made anew when the class names another kind; light objects carry data in definitions only.
TEST_F(ObjectsTest, TheClassNamesTheKindOfTheData)
{
    struct Case {
        const char* className;
        int32_t definitionKind;
        int32_t instanceKind;
    };
    const Case cases[] = {
        {"", 0, 0},
        {kScnClassModelObject, 0, 0},
        {kScnClassScnObject, 0, 0},
        {"3dplant", 0, 0},
        {kScnClass3DPlant, kScnKind3DPlant, kScnKind3DPlant},
        {kScnClassBillboard, kScnKindBillboard, kScnKindBillboard},
        {kScnClassLightObject, kScnKindLightObject, 0},
        {kScnClassAnimatedObject, kScnKindAnimatedObject, kScnKindAnimatedObject},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        CScnScnObjectDefinition* definition = newDefinition();
        definition->setClass(kScnClassBillboard);
        definition->getBillboard()->setNbFaces(9);
        definition->setClass(c.className);
        IScnScnObjectDefinition::IDelegate* data = definition->getDelegate();
        EXPECT_EQ(data != nullptr ? data->getKind() : 0, c.definitionKind);
        EXPECT_EQ(definition->get3DPlant() != nullptr, c.definitionKind == kScnKind3DPlant);
        EXPECT_EQ(definition->getBillboard() != nullptr, c.definitionKind == kScnKindBillboard);
        EXPECT_EQ(definition->getObjectLight() != nullptr, c.definitionKind == kScnKindLightObject);
        EXPECT_EQ(definition->getAnimatedObject() != nullptr, c.definitionKind == kScnKindAnimatedObject);
        if (IScnBillboard* billboard = definition->getBillboard()) {
            EXPECT_EQ(billboard->getNbFaces(), 9) << "the same kind keeps its data";
        }
        CScnObjectInstance* instance = newInstance();
        instance->setClass(kScnClass3DPlant);
        instance->get3DPlantRef()->setHeliodonAttached(true);
        instance->setClass(c.className);
        IScnObjectInstance::IDelegate* own = instance->getDelegate();
        EXPECT_EQ(own != nullptr ? own->getKind() : 0, c.instanceKind);
        EXPECT_EQ(instance->get3DPlantRef() != nullptr, c.instanceKind == kScnKind3DPlant);
        EXPECT_EQ(instance->getBillboardRef() != nullptr, c.instanceKind == kScnKindBillboard);
        EXPECT_EQ(instance->getAnimatedObjectRef() != nullptr, c.instanceKind == kScnKindAnimatedObject);
        if (IScn3DPlantRef* plant = instance->get3DPlantRef()) {
            EXPECT_TRUE(plant->isHeliodonAttached());
        }
    }
    // A null class: the definition's becomes empty, the instance keeps its own.
    CScnObjectInstance* instance = newInstance();
    instance->setClass(kScnClassBillboard);
    instance->setClass(nullptr);
    EXPECT_NE(instance->getBillboardRef(), nullptr);
    CScnScnObjectDefinition* definition = newDefinition();
    definition->setClass(kScnClassBillboard);
    definition->setClass(nullptr);
    EXPECT_STREQ(definition->getClass(), "");
    EXPECT_EQ(definition->getDelegate(), nullptr);
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{});
}

// The data element of a class without data is kept as it was read, and written only when it holds
// something; for a class with data it is required.
TEST_F(ObjectsTest, DataOfAClassWithoutKindIsKeptAndDataOfAKindIsRequired)
{
    CScnScnObjectDefinition* source = newDefinition();
    source->setClass("Lamp.Post");
    std::string bytes = definitionFile(*source);
    EXPECT_EQ(bytes.find("Object.Data"), std::string::npos);
    std::string withData = bytes;
    withData.replace(withData.find("</Object.Definition>"), 0,
                     "<Object.Data Version=\"2\"><Height>3.5</Height><!--note--></Object.Data>");
    CScnScnObjectDefinition* target = newDefinition();
    EXPECT_TRUE(readDefinitionFile(withData, *target));
    std::string again = definitionFile(*target);
    EXPECT_NE(again.find("\t\t<Object.Data Version=\"2\">\n\t\t\t<Height>3.5</Height>\n\t\t\t<!--note-->\n"
                         "\t\t</Object.Data>\n\t</Object.Definition>"),
              std::string::npos)
        << again;

    std::string plantClass = bytes;
    plantClass.replace(plantClass.find("Lamp.Post"), 9, "3DPlant");
    mFeedback.warnings.clear();
    EXPECT_FALSE(readDefinitionFile(plantClass, *target));
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{kDefinitionReport + ScnTest::nullPointerText()});
    EXPECT_NE(target->get3DPlant(), nullptr) << "the data follows the class read";
}

TEST_F(ObjectsTest, ADefinitionWithoutItsGeometryNodeIsReported)
{
    CScnScnObjectDefinition* source = newDefinition();
    source->setClass(kScnClassScnObject);
    source->getName()->setText(languageCode("en"), "Bench");
    struct Case {
        const char* what;
        std::function<std::string(std::string)> change;
        bool read;
    };
    char text[33];
    uuidToText(source->uuid(), text);
    const std::string uuid = text;
    const Case cases[] = {
        {"its node", [](std::string bytes) { return bytes; }, true},
        {"no component list", [&](std::string) { return definitionFile(*source, false); }, false},
        {"another component",
         [&](std::string bytes) { return bytes.replace(bytes.find(uuid), 32, std::string(32, 'F')); }, false},
        {"a component without identifier",
         [&](std::string bytes) { return bytes.replace(bytes.find("UUID=\"" + uuid), 6, "Id=\""); }, false},
        {"a component with a broken identifier",
         [&](std::string bytes) { return bytes.replace(bytes.find(uuid), 32, "12"); }, false},
        {"its node among others",
         [&](std::string bytes) {
             return bytes.replace(bytes.find("<InternalComponentDefinition "), 0,
                                  "<InternalComponentDefinition UUID=\"xyz\"/><InternalComponentDefinition/>");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CScnScnObjectDefinition* target = newDefinition();
        mFeedback.warnings.clear();
        EXPECT_EQ(readDefinitionFile(c.change(definitionFile(*source)), *target), c.read);
        EXPECT_EQ(mFeedback.warnings,
                  c.read ? std::vector<std::string>{}
                         : std::vector<std::string>{kDefinitionReport +
                                                    "CScnScnObjectDefinition::initWithXML : cannot find internal "
                                                    "component definition node"});
        EXPECT_EQ(dumpFields(*target), dumpFields(*source)) << "the fields are read all the same";
    }
}

// Writing an object into an element that already holds one of its kind replaces it; the section
// form of a definition adds it beside the others.
TEST_F(ObjectsTest, WritingReplacesTheObjectThatTheElementHolds)
{
    ScnTest::XmlScratch scratch;
    CScnScnObjectDefinition* first = newDefinition();
    CScnScnObjectDefinition* second = newDefinition();
    CScnInsertionObject insertion(mScene);
    CScnLayerInfo info(mScene);
    XmlForm::addChild(scratch.parent(), "Other");
    for (int round = 0; round < 2; ++round) {
        first->putInXML(scratch.parent());
        second->putInXML(scratch.parent());
        insertion.putInXML(scratch.parent());
        info.putInXML(scratch.parent());
    }
    EXPECT_EQ(ScnTest::childNames(scratch.parent()),
              (std::vector<std::string>{"Other", "Object.Definition", "InsertionObject", "Layers.Info"}));
    char text[33];
    uuidToText(second->uuid(), text);
    EXPECT_STREQ(XmlForm::findAttribute(XmlForm::findChild(scratch.parent(), "Object.Definition"), "UUID"), text);
    first->appendToXML(scratch.parent());
    EXPECT_EQ(ScnTest::childNames(scratch.parent()),
              (std::vector<std::string>{"Other", "Object.Definition", "InsertionObject", "Layers.Info",
                                        "Object.Definition"}));
}

struct BadObjectCase {
    const char* what;
    // Cuts the written element of a varied object of the class.
    const char* className;
    ScnTest::Cut cut;
    std::string report;
    // The top-level field at which the read stops.
    const char* stop;
};

void PrintTo(const BadObjectCase& c, std::ostream* out)
{
    *out << c.what;
}

class BadDefinition : public ScnTest::SceneFixture, public ::testing::WithParamInterface<BadObjectCase> {};
class BadInstance : public ScnTest::SceneFixture, public ::testing::WithParamInterface<BadObjectCase> {};

// A dump cut around a top-level field: the lines before it, and the lines after its own (nested or
// multi-line) ones.
struct DumpCut {
    std::string before;
    std::string after;
};

DumpCut cutAt(const std::string& dump, const char* field)
{
    std::string wanted = std::string(field) + "=";
    size_t at = 0;
    while (at < dump.size() && dump.compare(at, wanted.size(), wanted) != 0) {
        at = dump.find('\n', at) + 1;
    }
    size_t next = dump.find('\n', at);
    while (next != std::string::npos && next + 1 < dump.size()) {
        char c = dump[next + 1];
        if (c != ' ' && c != '\t' && c != '<' && c != '}' && c != ']') {
            break;
        }
        next = dump.find('\n', next + 1);
    }
    return {dump.substr(0, at), next == std::string::npos ? std::string() : dump.substr(next + 1)};
}

// The whole report, and the fields read before the failure keep their new values while the fields
// after the one that failed keep what the object held.
template <class Object, class Read>
void expectBadRead(const BadObjectCase& c, Object& source, Object& target, const std::string& bytes,
                   ScnTest::RecordingFeedback& feedback, const std::string& reportStart, Read read)
{
    std::string writtenDump = dumpFields(source);
    std::string kept = dumpFields(target);
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(bytes);
    ASSERT_NE(tree, nullptr);
    XIXMLElement* element = read.element(*tree);
    c.cut(element);
    feedback.warnings.clear();
    EXPECT_FALSE(read(target, element)) << c.what;
    EXPECT_EQ(feedback.warnings, std::vector<std::string>{reportStart + c.report}) << c.what;
    DumpCut got = cutAt(dumpFields(target), c.stop);
    EXPECT_EQ(got.before, cutAt(writtenDump, c.stop).before) << c.what;
    EXPECT_EQ(got.after, cutAt(kept, c.stop).after) << c.what;
}

TEST_P(BadDefinition, TheReportIsWholeAndTheReadStopsThere)
{
    const BadObjectCase& c = GetParam();
    CScnScnObjectDefinition* source = mScene->objectDefinitions().append();
    CScnScnObjectDefinition* target = mScene->objectDefinitions().append();
    target->setClass(c.className);
    ScnTest::varyWithKind(*source, c.className);
    std::string bytes = definitionFile(*source);
    struct Reader {
        XIXMLElement* element(NuvoraXML::XCXMLTree& tree)
        {
            return XmlForm::findChild(ScnTest::firstElement(tree), CScnScnObjectDefinition::kElementName);
        }
        bool operator()(CScnScnObjectDefinition& object, XIXMLElement* element) { return object.initWithXML(element); }
    };
    expectBadRead(c, *source, *target, bytes, mFeedback, kDefinitionReport, Reader{});
}

TEST_P(BadInstance, TheReportIsWholeAndTheReadStopsThere)
{
    const BadObjectCase& c = GetParam();
    CScnObjectInstance* source = mScene->objectInstances().append();
    CScnObjectInstance* target = mScene->objectInstances().append();
    target->setClass(c.className);
    ScnTest::varyWithKind(*source, c.className);
    ScnTest::XmlScratch scratch;
    std::string bytes = ScnTest::writeElement(source->putInXML(scratch.parent()));
    struct Reader {
        XIXMLElement* element(NuvoraXML::XCXMLTree& tree) { return ScnTest::firstElement(tree); }
        bool operator()(CScnObjectInstance& object, XIXMLElement* element) { return object.initWithXML(element); }
    };
    expectBadRead(c, *source, *target, bytes, mFeedback, kInstanceReport, Reader{});
}

std::string objectCaseName(const ::testing::TestParamInfo<BadObjectCase>& info)
{
    std::string name;
    for (const char* c = info.param.what; *c != '\0'; ++c) {
        name += (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') ? *c : '_';
    }
    return name;
}

using ScnTest::removeAttributeCut;
using ScnTest::removeChildCut;
using ScnTest::setAttributeCut;
using ScnTest::setTextCut;
const std::string kMissing = ScnTest::nullPointerText();

INSTANTIATE_TEST_SUITE_P(
    Cases, BadDefinition,
    ::testing::Values(
        BadObjectCase{"no class", "Chair", removeChildCut("", "Class"), kMissing, "Class"},
        BadObjectCase{"no name", "Chair", removeChildCut("", "Name"), kMissing, "Name"},
        BadObjectCase{"no anchor", "Chair", removeChildCut("", "Anchor"), kMissing, "Anchor"},
        BadObjectCase{"no placement", "Chair", removeAttributeCut("", "Placement"), kMissing, "Placement"},
        BadObjectCase{"unknown placement", "Chair", setAttributeCut("", "Placement", "Lying"),
                      "Invalid label (Lying) [Perpendicular..Vertical]", "Placement"},
        BadObjectCase{"no materials", "Chair", removeChildCut("", "Properties"), kMissing, "Properties"},
        BadObjectCase{"no light group", "Chair", removeAttributeCut("", "LightGroupID"), kMissing, "LightGroupID"},
        BadObjectCase{"matrix of three lines", "Chair",
                      [](XIXMLElement* e) {
                          XmlForm::findChild(XmlForm::findChild(e, "Model.Rotation.Matrixs"), "Line")->AsNode()->Delete();
                      },
                      kMissing, "Model.Rotation.Matrixs"},
        BadObjectCase{"matrix line of letters", "Chair", setTextCut("Model.Rotation.Matrixs/Line", "a, b, c, d"),
                      ScnTest::plainFailureText(), "Model.Rotation.Matrixs"},
        BadObjectCase{"no comment", "Chair", removeChildCut("", "Comment"), kMissing, "Comment"},
        BadObjectCase{"unknown model origin", "Chair", setAttributeCut("", "Model.Origin", "Center"),
                      "Invalid label (Center) [Uninitialized..CenterXY]", "Model.Origin"},
        BadObjectCase{"no setups", "Chair", removeChildCut("", "Setups"), kMissing, "Setups"},
        BadObjectCase{"setup without identifier", "Chair", removeAttributeCut("Setups/Setup", "UUID"), kMissing,
                      "Setups"},
        BadObjectCase{"no plant data", kScnClass3DPlant, removeChildCut("", "Object.Data"), kMissing, "Object.Data"},
        BadObjectCase{"unknown plant type", kScnClass3DPlant, setTextCut("Object.Data/Plant.Type", "Oak"),
                      "Invalid label (Oak) [Undefined..Fern]", "Object.Data"},
        BadObjectCase{"unknown plant colour", kScnClass3DPlant,
                      setTextCut("Object.Data/Plant.Setups/Plant.Setup/Color", "Green"),
                      "Invalid label (Green) [Undefined..Brown]", "Object.Data"},
        BadObjectCase{"plant setup without end", kScnClass3DPlant,
                      removeChildCut("Object.Data/Plant.Setups/Plant.Setup", "EndTime"), kMissing, "Object.Data"},
        BadObjectCase{"no billboard element", kScnClassBillboard, removeChildCut("Object.Data", "Billboard"), kMissing,
                      "Object.Data"},
        BadObjectCase{"billboard record not hexadecimal", kScnClassBillboard,
                      setAttributeCut("Object.Data/Billboard/Mgr.Info", "Property", "x"), ScnTest::plainFailureText(),
                      "Object.Data"},
        BadObjectCase{"unknown billboard behaviour", kScnClassBillboard,
                      setAttributeCut("Object.Data/Billboard/Bb.Info", "Behavior", "Round"),
                      "Invalid label (Round) [Flat..Multifaces]", "Object.Data"},
        BadObjectCase{"quad without identifier", kScnClassBillboard,
                      removeAttributeCut("Object.Data/Billboard/Quads/Quad", "Id"), kMissing, "Object.Data"},
        BadObjectCase{"triangle without a corner", kScnClassBillboard,
                      removeChildCut("Object.Data/Billboard/Quads/Quad/Triangle", "Pt.2"), kMissing, "Object.Data"},
        BadObjectCase{"object light without its lights", kScnClassLightObject, removeChildCut("Object.Data", "Lights"),
                      kMissing, "Object.Data"},
        BadObjectCase{"take without end frame", kScnClassAnimatedObject,
                      removeChildCut("Object.Data/Takes/Take", "End.Frame"), kMissing, "Object.Data"}),
    objectCaseName);

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInstance,
    ::testing::Values(
        BadObjectCase{"no name", "Chair", removeChildCut("", "Name"), kMissing, "Name"},
        BadObjectCase{"no attached object", "Chair", removeAttributeCut("", "Attach.Id"), kMissing, "Attach.Id"},
        BadObjectCase{"broken attached object", "Chair", setAttributeCut("", "Attach.Id", "0"),
                      ScnTest::plainFailureText(), "Attach.Id"},
        BadObjectCase{"no normal", "Chair", removeChildCut("", "Normal"), kMissing, "Normal"},
        BadObjectCase{"no scale", "Chair", removeChildCut("", "Scale"), kMissing, "Scale"},
        BadObjectCase{"triangle point without Y", "Chair", removeAttributeCut("Triangle.Coord/Pt.2", "Y"), kMissing,
                      "Triangle.Coord"},
        BadObjectCase{"unknown placement", "Chair", setAttributeCut("", "Placement.Property", "Hanging"),
                      "Invalid label (Hanging) [Perpendicular..Vertical]", "Placement.Property"},
        BadObjectCase{"bounding box without maximum", "Chair", removeChildCut("Bounding.Box", "Max.Point"), kMissing,
                      "Bounding.Box"},
        BadObjectCase{"unknown behaviour", "Chair", setAttributeCut("", "Animation.Behavior", "Walk"),
                      "Invalid label (Walk) [Normal..FollowOnPathXY]", "Animation.Behavior"},
        BadObjectCase{"transparency spelled right", "Chair",
                      [](XIXMLElement* e) {
                          XmlForm::removeChildren(e, "Tansparency");
                          XmlForm::writeReal(e, "Transparency", 0.5);
                      },
                      kMissing, "Tansparency"},
        BadObjectCase{"no layer", "Chair", removeAttributeCut("", "Layer.Id"), kMissing, "Layer.Id"},
        BadObjectCase{"no plant reference", kScnClass3DPlant, removeChildCut("", "Instance.Data"), kMissing,
                      "Instance.Data"},
        BadObjectCase{"plant reference without time", kScnClass3DPlant, removeChildCut("Instance.Data", "Time"),
                      kMissing, "Instance.Data"},
        BadObjectCase{"billboard reference without colour", kScnClassBillboard,
                      removeChildCut("Instance.Data", "Color"), kMissing, "Instance.Data"},
        BadObjectCase{"animated reference without start", kScnClassAnimatedObject,
                      removeChildCut("Instance.Data", "Start"), kMissing, "Instance.Data"}),
    objectCaseName);

TEST_F(ObjectsTest, LayersAndTheirSettingsNeedTheirItems)
{
    struct Case {
        const char* what;
        std::string document;
        bool layer;
        std::string report;
    };
    const std::string uuid = "UUID=\"000102030405060708090A0B0C0D0E0F\"";
    const std::string map = "<Default.Layer.Map 3DPlant=\"" + std::string(32, '1') + "\" ScnObject=\"" +
                            std::string(32, '2') + "\" Billboard=\"" + std::string(32, '3') + "\" LightObject=\"" +
                            std::string(32, '4') + "\" AnimatedObject=\"" + std::string(32, '5') + "\"/>";
    const Case cases[] = {
        {"a layer", "<Layer " + uuid + "><Name en=\"Walls\"/><UI.Value>2</UI.Value></Layer>", true, ""},
        {"a layer without interface value", "<Layer " + uuid + "><Name en=\"Walls\"/></Layer>", true, ""},
        {"a layer without name", "<Layer " + uuid + "/>", true, "Exception in AddLayer::initWithXML : " + kMissing},
        {"a layer without identifier", "<Layer><Name en=\"Walls\"/></Layer>", true,
         "Exception in AddLayer::initWithXML : " + kMissing},
        {"the settings", "<Layers.Info Active.Layer=\"" + std::string(32, '6') + "\">" + map + "</Layers.Info>", false,
         ""},
        {"the settings without map", "<Layers.Info Active.Layer=\"" + std::string(32, '6') + "\"/>", false,
         "Exception in AddLayerInfo::initWithXML : " + kMissing},
        {"a map without animated objects",
         "<Layers.Info Active.Layer=\"" + std::string(32, '6') + "\">" +
             map.substr(0, map.find(" AnimatedObject")) + "/></Layers.Info>",
         false, "Exception in AddLayerInfo::initWithXML : " + kMissing},
        {"the settings in a parent",
         "<Scn.File><Layers.Info Active.Layer=\"" + std::string(32, '6') + "\">" + map + "</Layers.Info></Scn.File>",
         false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(c.document);
        ASSERT_NE(tree, nullptr);
        mFeedback.warnings.clear();
        if (c.layer) {
            CScnLayer* layer = mScene->layers().append();
            layer->setUIValue(-3);
            EXPECT_EQ(layer->initWithXML(ScnTest::firstElement(*tree)), c.report.empty());
            if (c.report.empty()) {
                EXPECT_STREQ(layer->getName(), "Walls");
                EXPECT_EQ(layer->getUIValue(), c.document.find("UI.Value") != std::string::npos ? 2 : -3);
                EXPECT_EQ(layer->getUUID()->bytes[15], 0x0F);
            }
        } else {
            CScnLayerInfo& info = mScene->layersInfo();
            EXPECT_EQ(info.initWithXML(ScnTest::firstElement(*tree)), c.report.empty());
            if (c.report.empty()) {
                const CScnUUID* layers[] = {info.get3DPlantLayer(), info.getScnObjectLayer(), info.getBillboardLayer(),
                                            info.getLightObjectLayer(), info.getAnimatedObjectLayer(),
                                            info.getActiveLayer()};
                for (int i = 0; i < 6; ++i) {
                    EXPECT_EQ(*layers[i], filled(static_cast<uint8_t>(0x11 * (i + 1)))) << i;
                }
            }
        }
        EXPECT_EQ(mFeedback.warnings, c.report.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.report});
    }
}

TEST_F(ObjectsTest, TheInsertionObjectKeepsItsPointsByIndex)
{
    CScnInsertionObject& insertion = mScene->insertionObject();
    const CScnVector2D point{1.5, -2.5};
    const CScnVector corner{1, 2, 3};
    for (int32_t index : {-1, 0, 3, 4, 5, 6}) {
        SCOPED_TRACE(index);
        insertion.setAxesPosition(index, &point);
        insertion.setPerspectiveToolPosition(index, &point);
        insertion.setReperePosition(index, &corner);
        EXPECT_EQ(insertion.getAxesPosition(index) != nullptr, index >= 0 && index < 4);
        EXPECT_EQ(insertion.getPerspectiveToolPosition(index) != nullptr, index >= 0 && index < 6);
        EXPECT_EQ(insertion.getReperePosition(index) != nullptr, index >= 0 && index < 4);
        if (const CScnVector2D* tool = insertion.getPerspectiveToolPosition(index)) {
            EXPECT_EQ(tool->y, -2.5);
        }
    }
    insertion.setAxesPosition(0, nullptr);
    EXPECT_EQ(insertion.getAxesPosition(0)->x, 1.5);
    insertion.setSizeAxis(kScnSizeZAxis);
    insertion.setYAxisInverted(true);
    ScnTest::XmlScratch scratch;
    std::string text = ScnTest::writeElement(insertion.putInXML(scratch.parent()));
    EXPECT_EQ(text.substr(0, text.find('\n', text.find("<AxesPositions>"))),
              "<InsertionObject SizeAxis=\"ZAxis\">\n\t<AxesPositions>");
    EXPECT_NE(text.find("\t<PerpectiveToolPositions>\n\t\t<Vector2D\n\t\t\t X=\"1.500000\"\n\t\t\t Y=\"-2.500000\"/>"),
              std::string::npos);
    EXPECT_NE(text.find("\t<ReperePositions>\n\t\t<Vector3D\n\t\t\t X=\"1.000000\""), std::string::npos);
    EXPECT_NE(text.find("\t</ReperePositions>\n\t<YAxeInverted/>\n</InsertionObject>"), std::string::npos) << text;
    insertion.setSizeAxis(3);
    mFeedback.warnings.clear();
    EXPECT_EQ(insertion.putInXML(scratch.parent()), nullptr);
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{"Exception in IScnInsertionObject::putInXML : No label for "
                                                           "the value (3) [XAxis..ZAxis]"});
}

// Definitions and their geometry meet through their UUID, in both directions.
TEST_F(ObjectsTest, ADefinitionAndItsGeometryShareTheirIdentifier)
{
    CScnScnObjectDefinition* definition = newDefinition();
    EXPECT_EQ(definition->getInternalComponentDefinition(), nullptr);
    IScnInternalComponentDefinition* component =
        mScene->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
    EXPECT_EQ(component->getObjectDefinition(), nullptr);
    component->setUUID(definition->getUUID());
    EXPECT_EQ(definition->getInternalComponentDefinition(), component);
    EXPECT_EQ(component->getObjectDefinition(), definition);
    CScnUUID other = filled(0x42);
    definition->setUUID(&other);
    EXPECT_EQ(definition->getInternalComponentDefinition(), nullptr);
    CScnScnObjectDefinition free(nullptr);
    free.setUUID(component->getUUID());
    EXPECT_EQ(free.getInternalComponentDefinition(), nullptr) << "a free definition has no scene to look in";
}

TEST_F(ObjectsTest, PointerSettersIgnoreNull)
{
    CScnScnObjectDefinition* definition = newDefinition();
    const std::string before = dumpFields(*definition);
    definition->setUUID(nullptr);
    definition->setAnchor(nullptr);
    definition->setUp(nullptr);
    definition->setLightGroupID(nullptr);
    definition->setModelRotation(nullptr);
    definition->setModelRotationMatrix(nullptr);
    definition->setModelPosition(nullptr);
    EXPECT_EQ(dumpFields(*definition), before);
    const double matrix[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    definition->setModelRotationMatrix(matrix);
    EXPECT_EQ(definition->getModelRotationMatrix()[14], 14.0);

    CScnObjectInstance* instance = newInstance();
    instance->setClass(kScnClassBillboard);
    const std::string held = dumpFields(*instance);
    instance->setNormal(nullptr);
    instance->setTranslation(nullptr);
    instance->setRotation(nullptr);
    instance->setScale(nullptr);
    instance->setTrianglePoint1(nullptr);
    instance->setTrianglePoint2(nullptr);
    instance->setAnchorPosition(nullptr);
    instance->setUpVector(nullptr);
    instance->setBoundingBoxMinimum(nullptr);
    instance->setBoundingBoxMaximum(nullptr);
    instance->setCurrentPathDirection(nullptr);
    instance->setLayerId(nullptr);
    instance->getBillboardRef()->setColor(nullptr);
    EXPECT_EQ(dumpFields(*instance), held);
}

}  // namespace
