// The "Properties" section: materials of every node kind written by another program load whole and
// save again intact, in their place in the layout; a document without the section gains it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/TokenMessages.h"
#include "model/Scene.h"
#include "support/FieldVary.h"
#include "support/XmlSupport.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using NuvoraXML::XIXMLNode;
using ScnTest::TestScene;

// The document of a new scene as a load and a save give it back (a first save of a new scene
// places "Images" after the geometry blocks, a loaded document keeps it before the components).
std::string newDocument()
{
    TestScene first;
    TestScene second;
    EXPECT_EQ(second.load(first.save()), 0);
    return second.save();
}

// Where an element of the file element stands in a document: from its start tag (after the line's
// tab) to the end of its end tag; npos when the document has none.
struct Span {
    size_t begin = std::string::npos;
    size_t end = std::string::npos;
};

Span findSection(const std::string& document, const std::string& name)
{
    Span span;
    size_t at = document.find("\n\t<" + name);
    while (at != std::string::npos) {
        char next = document[at + 3 + name.size()];
        if (next == '>' || next == '/' || next == '\n' || next == ' ') {
            break;
        }
        at = document.find("\n\t<" + name, at + 1);
    }
    if (at == std::string::npos) {
        return span;
    }
    span.begin = at + 2;
    size_t closed = document.find('>', span.begin);
    if (document[closed - 1] == '/') {
        span.end = closed + 1;
    } else {
        std::string endTag = "\n\t</" + name + ">";
        span.end = document.find(endTag, span.begin) + endTag.size();
    }
    return span;
}

std::string sectionText(const std::string& document, const std::string& name)
{
    Span span = findSection(document, name);
    return span.begin == std::string::npos ? std::string() : document.substr(span.begin, span.end - span.begin);
}

// A colour element of the other program's form.
std::string color(const char* name, int r, int g, int b)
{
    return "<" + std::string(name) + " B=\"" + std::to_string(b) + "\" G=\"" + std::to_string(g) + "\" R=\"" +
           std::to_string(r) + "\"/>";
}

std::string vector(const char* name, double x, double y, double z)
{
    return "<" + std::string(name) + " Z=\"" + std::to_string(z) + "\" X=\"" + std::to_string(x) + "\" Y=\"" +
           std::to_string(y) + "\"/>";
}

std::string real(const char* name, const char* value)
{
    return "<" + std::string(name) + ">" + value + "</" + name + ">";
}

std::string leaf(const char* id, int red)
{
    return "<Node Id=\"" + std::string(id) + "\" Type=\"Leaf\">" + real("Glossy", "12.5") + color("Diffuse", red, 20, 30) +
           color("Specular", 1, 2, 3) + color("Transparent", 4, 5, 6) + color("Reflection", 7, 8, 9) +
           color("Neon.Color", 10, 11, 12) + real("Neon.Value", "0.25") + real("Refraction", "1.33") +
           color("Emitting.Color", 13, 14, 15) + real("Emitting.Power", "2") + real("Reflection.Limit", "0.75") +
           "</Node>";
}

// Materials of every node kind in the form another program writes: attributes and children in
// orders of its own, numbers without the writer's six decimals, the older label "Refletion".
std::string foreignProperties()
{
    std::string mapping =
        "<Node MappingNode.Parent.Id=\"00000000000000000000000000000001\" Projection=\"Y.Cylindrical\" "
        "Type=\"Mapping\" Id=\"22222222222222222222222222222222\" MappingNode.Id=\"33333333333333333333333333333333\">"
        "<Maps><URL Type=\"Bump\">file:///bump.tif</URL><URL Type=\"Refletion\">file:///chrome.tif</URL>"
        "<URL Type=\"Diffuse\">file:///C|/Textures/marble%20white.tif</URL></Maps><Shader/>"
        "<Maps.Linked><Map.Node Id=\"44444444444444444444444444444444\"/></Maps.Linked>" +
        vector("Normal", 0, 0, 1) + vector("Origin", 10, 20, 30) + vector("X.Axis", 1, 0, 0) + vector("Y.Axis", 0, 1, 0) +
        real("Angle", "15") + real("Width", "250") + real("Height", "125") + real("Bump", "0.5") +
        real("X.Center", "1") + real("Y.Center", "2") + real("X.Delta", "3") + real("Y.Delta", "4") +
        real("Glossy", "5") + "<X.Repeat/>" + color("Specular", 1, 1, 1) + color("Transparent", 2, 2, 2) +
        color("Reflection", 3, 3, 3) + real("Reflection.Limit", "0.5") + color("CutOut2", 9, 9, 9) +
        "<CutSet/><Y.Mirror/><Alpha.Transparency/><Planar/><Mix/>" + color("Mix.Color", 4, 4, 4) +
        real("Mix.Value", "0.5") + real("Angular.LOD.Shift", "1") + real("Linear.LOD.Shift", "2") +
        "<Trilinear.Filter/>" + real("Brightness", "0.1") + real("Contrast", "0.2") + real("Frame", "3") +
        real("Movie.Length", "40") + real("Normal.Map", "0.8") +
        "<Node Type=\"Turbulence\" Id=\"55555555555555555555555555555555\">" + vector("Origin", 1, 2, 3) +
        vector("Amplitude", 4, 5, 6) + vector("Direction", 0, 1, 0) + real("Size", "33") +
        "<Table Length=\"2\"><Float>0.5</Float><Float>-1.25</Float></Table>"
        "<Node Type=\"Fresnel\" Id=\"66666666666666666666666666666666\"><UI.Value>4</UI.Value>" +
        real("Power.Factor", "3") + real("Min.Reflection", "0.125") +
        "<Node Type=\"Glazing\" Id=\"77777777777777777777777777777777\">" + real("X.Scale", "2") + real("Y.Scale", "3") +
        real("Flatness", "0.5") + "<Tilt.Detect/>" + real("Tilt.Factor", "0.25") + "<Animation/>" + real("Speed", "4") +
        "<Node Type=\"Custom\" Id=\"88888888888888888888888888888888\"><Custom.Data Class=\"Water\" Depth=\"3\">"
        "<Wave Height=\"0.5\">long</Wave><!--kept--></Custom.Data><Childs>" +
        leaf("99999999999999999999999999999999", 40) + leaf("AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", 50) +
        "</Childs></Node></Node></Node></Node></Node>";
    std::string chess = "<Node Geometry=\"Sphere\" Type=\"Chess\" Id=\"11111111111111111111111111111111\">" +
                        vector("Origin", 1, 1, 1) + vector("X.Axis", 1, 0, 0) + vector("Y.Axis", 0, 1, 0) +
                        vector("Z.Axis", 0, 0, 1) + vector("Size", 10, 20, 30) + vector("Proportion", 0.25, 0.5, 0.75) +
                        "<Smooth/><Table1 Length=\"1\"><Float>2</Float></Table1><Table2 Length=\"0\"/>"
                        "<Table3 Length=\"3\"><Float>1</Float><Float>2</Float><Float>3</Float></Table3>" +
                        mapping + "<SecondNode" + leaf("BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB", 60).substr(5, std::string::npos);
    chess = chess.substr(0, chess.size() - 7) + "</SecondNode></Node>";
    return "<Properties><Property Overload.Id=\"CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC\" Id=\"DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD\" "
           "Shader.Id=\"EEEEEEEEEEEEEEEEEEEEEEEEEEEEEEEE\" Overload.Prop.Index=\"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\">"
           "<UI.Value>7</UI.Value><Name en=\"Marble &amp; gold\"/><Scale>2.5</Scale><Smooth>0.5</Smooth><Visible/>"
           "<URL>file:///shaders/marble.ksh</URL><Shader.Name fr=\"Marbre\" en=\"Marble\"/>" +
           chess + "</Property><Property><Name en=\"Plain\"/><Smooth>1</Smooth><Scale>1</Scale><URL/></Property></Properties>";
}

TEST(PropertiesSection, MaterialsOfEveryKindFromAnotherProgramLoadAndSaveIntact)
{
    const std::string fresh = newDocument();
    Span span = findSection(fresh, "Properties");
    ASSERT_NE(span.begin, std::string::npos);
    std::string foreign = fresh;
    foreign.replace(span.begin, span.end - span.begin, foreignProperties());
    TestScene first;
    ASSERT_EQ(first.load(foreign), 0) << ScnTest::warningsOf(first.feedback.warnings);
    // A new scene's document holds empty geometry blocks, which the load reports; nothing else.
    EXPECT_EQ(first.feedback.warnings,
              (std::vector<std::string>{TokenMsg::kPointsCountWrong, TokenMsg::kPolygonsCountWrong}));
    TScnObjectMgr<CScnProperty>* materials = first->getMaterials();
    ASSERT_EQ(materials->getNbObjects(), 2);
    CScnProperty* marble = materials->getScnObject(0);
    EXPECT_STREQ(marble->getName(), "Marble & gold");
    EXPECT_EQ(marble->getUIValue(), 7);
    EXPECT_FALSE(marble->isCastShadow());
    EXPECT_STREQ(marble->getTCE()->GetShaderName()->getText(languageCode("fr")), "Marbre");
    ITCENode* chess = marble->getTCE()->GetRoot()->GetChild(0);
    ASSERT_NE(chess, nullptr);
    EXPECT_EQ(chess->AsChess()->getGeometry(), kScnChessSphere);
    EXPECT_EQ(chess->GetChild(1)->AsLeaf()->getDiffuseColor()->red, 60);
    IMappingNode* mapping = chess->GetChild(0)->AsMapping();
    EXPECT_STREQ(mapping->getURL(kScnMapReflection), "file:///chrome.tif");
    EXPECT_EQ(mapping->getMapLinkedCount(), 1);
    EXPECT_EQ(mapping->getProjection(), kScnProjectionYCylindrical);
    EXPECT_STREQ(marble->getTextureURL(), "") << "a mapping of an outside shader is not the material's own";
    ITCENode* custom = mapping->GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0);
    EXPECT_STREQ(custom->AsCustom()->getClass(), "Water");
    EXPECT_EQ(custom->GetChildCount(), 2);
    EXPECT_EQ(mapping->GetChild(0)->GetChild(0)->GetUIValue(), 4);

    const std::string saved = first.save();
    TestScene second;
    ASSERT_EQ(second.load(saved), 0) << ScnTest::warningsOf(second.feedback.warnings);
    for (uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(dumpFields(*static_cast<CProperty*>(second->getMaterials()->getScnObject(i))),
                  dumpFields(*static_cast<CProperty*>(materials->getScnObject(i))))
            << i;
    }
    EXPECT_EQ(second.save(), saved);
    EXPECT_NE(sectionText(saved, "Properties").find("<!--kept-->"), std::string::npos)
        << "the custom data keeps its comment";
}

// A document without the section gains it, empty, where a new scene has it.
TEST(PropertiesSection, AMissingSectionIsAddedEmptyInItsPlace)
{
    const std::string fresh = newDocument();
    std::string stripped = fresh;
    for (const char* name : {"Properties"}) {
        Span span = findSection(stripped, name);
        ASSERT_NE(span.begin, std::string::npos) << name;
        stripped.erase(span.begin - 1, span.end - span.begin + 1);
    }
    TestScene scene;
    ASSERT_EQ(scene.load(stripped), 0) << ScnTest::warningsOf(scene.feedback.warnings);
    scene.feedback.warnings.clear();
    EXPECT_EQ(scene.save(), fresh);
    EXPECT_EQ(scene.feedback.warnings, std::vector<std::string>{});
    EXPECT_EQ(sectionText(fresh, "Properties"), "<Properties/>");
}

}  // namespace
