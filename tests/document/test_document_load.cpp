// Loading a scene: the header check, the error reports and results, the flags and upgrades of old
// documents, the data blocks, and the manager's document operations.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <algorithm>
#include <memory>

#include "support/Failures.h"
#include "support/XmlSupport.h"
#include "model/Fields.h"
#include "test_document_support.h"
#include "xml/XMLNodes.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::sceneDocument;
using ScnTest::TestScene;

const std::string kCurrent = ScnTest::dottedLibrary("3.0.3");
const std::string kEmptyBlocks = "<Preview.Image><![CDATA[]]></Preview.Image><Images/>";

// A scene that already holds a point, a comment and a save URL, to see what a failed load keeps.
void fillBefore(TestScene& scene)
{
    *scene->getPoints()->newScnObject(kScnLastIndex) = CScnVector{7, 8, 9};
    scene->setComment("before", 0);
    scene->setURL("before.scn");
}

struct LoadCase {
    const char* name;
    std::string bytes;
    int32_t result;
    std::vector<std::string> warnings;
    bool keepsScene;  // the scene of fillBefore is untouched
    bool saves = true;  // the scene can be saved afterwards
};

class ThrowingReadStream : public MemoryStream {
public:
    // A document whose first read fills the parser's request, so that it asks for more.
    explicit ThrowingReadStream(bool standard)
        : MemoryStream("<?xml" + std::string(4096, ' ') + "?>"), mStandard(standard)
    {
    }
    int32_t read(void* buffer, int32_t size) override
    {
        if (getPosition() > 0) {
            if (mStandard) {
                throw std::runtime_error("device lost");
            }
            throw 7;
        }
        return MemoryStream::read(buffer, size);
    }

private:
    bool mStandard;
};

TEST(DocumentLoad, ResultsAndReports)
{
    const std::string block = "' data block";
    const LoadCase cases[] = {
        {"current document", sceneDocument(kCurrent, kEmptyBlocks), 0, {}, false},
        {"empty stream", "", 1, {"Not a valid scn file"}, true},
        {"not a scene", "hello world", 1, {"Not a valid scn file"}, true},
        {"decimal 0.9", sceneDocument("library=\"0.9\" file=\"5.0\"", kEmptyBlocks), 1, {"Not a valid scn file"}, true},
        {"no library PI", "<?xml version=\"1.0\"?>\n<Scn.File/>", 1, {"XML mais pas SCN"}, true},
        {"malformed header", "<?Scn library=\"3\"", 1, {"End of data inside a processing instruction"}, true},
        {"unknown data block", sceneDocument(kCurrent, "<Other><![CDATA[12]]></Other>"), 1,
         {"Error \"CData block unknow\" while parsing 'Other" + block, ScnTest::plainFailureText()}, false},
        {"bad points", sceneDocument(kCurrent, "<Points><![CDATA[\n1 \nx 2 3 \n]]></Points>"), 1,
         {"Error \"This is not a number\" while parsing 'Points" + block, ScnTest::plainFailureText()}, false},
        {"declared points beyond the data", sceneDocument(kCurrent, "<Points><![CDATA[2000000000 1 2 3]]></Points>"), 1,
         {"Numbers of points seems wrong", "Error \"This is not a number\" while parsing 'Points" + block, ScnTest::plainFailureText()},
         false},
        {"declared loops beyond the data",
         sceneDocument(kCurrent, "<Polygons><![CDATA[1 h 0 2000000000 3 0 1 2]]></Polygons>"), 1,
         {"Error \"This is not a number\" while parsing 'Polygons" + block, ScnTest::plainFailureText()}, false},
        {"text beside a block", sceneDocument(kCurrent, "<Points>1<![CDATA[1 0 0 0 ]]></Points>"), 1,
         {"Error \"Only one data node for an element\" while parsing 'Points" + block, ScnTest::plainFailureText()}, false},
        {"unclosed element", sceneDocument(kCurrent, "<Points>"), 1, {ScnTest::plainFailureText()}, false},
        {"no file element", "<?Scn " + kCurrent + "?><Scene/>", 1, {ScnTest::nullPointerText("mFileNode is NULL")}, false,
         false},
        // The empty ambient is reported by its own read; the missing working window ends the load.
        {"ambient without working window", sceneDocument(kCurrent, "<Ambient/>"), 1,
         {ScnTest::nullPointerText("Exception in CScnAmbient::initWithXML : exception"), ScnTest::nullPointerText()},
         false},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        fillBefore(scene);
        EXPECT_EQ(scene.load(c.bytes), c.result);
        EXPECT_EQ(scene.feedback.warnings, c.warnings);
        if (c.keepsScene) {
            EXPECT_EQ(scene->getPoints()->getNbObjects(), 1);
            EXPECT_STREQ(scene->getComment(0), "before");
            EXPECT_STREQ(scene->getURL(), "before.scn");
        }
        if (!c.saves) {
            continue;
        }
        scene.feedback.warnings.clear();
        scene.save();
        EXPECT_TRUE(scene.feedback.warnings.empty()) << ScnTest::warningsOf(scene.feedback.warnings);
    }
    for (bool standard : {true, false}) {
        TestScene scene;
        ThrowingReadStream stream(standard);
        EXPECT_EQ(scene->read(&stream), 1);
        EXPECT_EQ(scene.feedback.warnings,
                  std::vector<std::string>{standard ? "device lost" : "Unknown reading error"});
    }
    TestScene scene;
    EXPECT_EQ(scene->read(nullptr), 1);
    CScnXMLStream* empty = new CScnXMLStream();
    EXPECT_EQ(scene->read(empty), 1);
    empty->release();
    EXPECT_EQ(scene.feedback.warnings,
              (std::vector<std::string>{ScnTest::nullPointerText("CScnStream is NULL"), "Not a valid scn file"}));
}

TEST(DocumentLoad, FileVersionFormatAndOldDocumentFlags)
{
    struct Case {
        std::string library;
        const char* version;
        int formatMinor;
        bool olderThan202;
        bool axesSwapped;
    };
    const Case cases[] = {
        {"library=\"1.9\" file=\"4.1\"", "1.9.0", 1, true, true},
        {"library=\"2.01\" file=\"5.0\"", "2.0.1", 0, true, false},
        {ScnTest::dottedLibrary("2.0.2"), "2.0.2", 0, false, false},
        {ScnTest::dottedLibrary("3.0.3"), "3.0.3", 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        TestScene scene;
        ASSERT_EQ(scene.load(sceneDocument(c.library, kEmptyBlocks + "<Points><![CDATA[1 1 2 3]]></Points>")), 0)
            << ScnTest::warningsOf(scene.feedback.warnings);
        const CScnVersion* version = scene->getFileVersion();
        EXPECT_EQ(std::to_string(version->major) + "." + std::to_string(version->minor) + "." +
                      std::to_string(version->patch),
                  c.version);
        int32_t major = 0;
        int32_t minor = 0;
        scene->getFileFormat(&major, &minor);
        EXPECT_EQ(minor, c.formatMinor);
        EXPECT_EQ(scene->getMgrEx(6)->isOlderThan202(), c.olderThan202);
        EXPECT_FALSE(scene.core().isLegacyFile());
        // Before 3.0.1 the document's geometry moves into the model's component.
        TScnObjectMgr<CScnVector>* points = scene->getInternalComponentDefinitions()->getNbObjects() > 0
                                                ? scene->getInternalComponentDefinitions()->getScnObject(0)->getPoints()
                                                : scene->getPoints();
        ASSERT_EQ(points->getNbObjects(), 1);
        EXPECT_EQ(points->getScnObject(0)->y, c.axesSwapped ? 3.0 : 2.0);
    }
}

TEST(DocumentLoad, ScenariosOfDocumentsBefore202AreDropped)
{
    for (const char* version : {"2.0.1", "2.0.2"}) {
        TestScene scene;
        ASSERT_EQ(scene.load(sceneDocument(ScnTest::dottedLibrary(version), kEmptyBlocks + "<Scenarios/>")), 0);
        EXPECT_EQ(XmlForm::findChild(scene.core().getFileNode(), "Scenarios") != nullptr,
                  std::string(version) == "2.0.2")
            << version;
    }
}

TEST(DocumentLoad, DocumentsBefore301GainAModelComponentThatTakesTheirGeometry)
{
    const std::string body = kEmptyBlocks +
                             "<Points><![CDATA[\n3 \n0.0 0.0 0.0 \n1.0 0.0 0.0 \n0.0 1.0 0.0 \n]]></Points>"
                             "<Polygons><![CDATA[\n1 \np\t4 3 0 1 2 \n]]></Polygons>";
    TestScene scene;
    ASSERT_EQ(scene.load(sceneDocument(ScnTest::dottedLibrary("3.0.0"), body)), 0)
        << ScnTest::warningsOf(scene.feedback.warnings);
    TScnObjectMgr<IScnInternalComponentDefinition>* components = scene->getInternalComponentDefinitions();
    ASSERT_EQ(components->getNbObjects(), 1);
    IScnInternalComponentDefinition* model = components->getScnObject(0);
    EXPECT_EQ(ScnTest::describeGeometry(model->getPoints(), model->getPolygons()),
              "(0,0,0) (1,0,0) (0,1,0) {m4 [0 1 2]} ");
    EXPECT_EQ(scene->getPoints()->getNbObjects(), 0);
    ASSERT_EQ(scene->getObjectInstances()->getNbObjects(), 1);
    IScnObjectInstance* instance = scene->getObjectInstances()->getScnObject(0);
    EXPECT_STREQ(instance->getName(), "ModelObject");
    EXPECT_EQ(*instance->getAttachedObject(), *model->getUUID());

    std::string document = scene.save();
    std::vector<std::string> names = ScnTest::fileChildren(document);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Points"), 0);
    EXPECT_NE(document.find("<InternalComponentDefinition UUID=\"" + ScnTest::uuidText(*model->getUUID()) +
                            "\">\n\t\t\t<Geometry.Level>0</Geometry.Level>\n\t\t\t<Points><![CDATA[\n3 \n"),
              std::string::npos);

    // Read again, the definition and its geometry come back as they were written.
    TestScene again;
    ASSERT_EQ(again.load(document), 0) << ScnTest::warningsOf(again.feedback.warnings);
    ASSERT_EQ(again->getInternalComponentDefinitions()->getNbObjects(), 1);
    IScnInternalComponentDefinition* read = again->getInternalComponentDefinitions()->getScnObject(0);
    EXPECT_EQ(*read->getUUID(), *model->getUUID());
    EXPECT_EQ(ScnTest::describeGeometry(read->getPoints(), read->getPolygons()),
              "(0,0,0) (1,0,0) (0,1,0) {m4 [0 1 2]} ");
}

TEST(DocumentLoad, TheModelInstanceKeepsAReferenceItAlreadyHas)
{
    for (bool referenced : {false, true}) {
        TestScene scene;
        IScnObjectInstance* first = scene->getObjectInstances()->newScnObject(kScnLastIndex);
        CScnUUID other = ScnTest::filledUuid(0x5A);
        if (referenced) {
            first->setAttachedObject(&other);
        }
        ASSERT_EQ(scene.load(sceneDocument(ScnTest::dottedLibrary("2.5.0"), kEmptyBlocks)), 0);
        ASSERT_EQ(scene->getObjectInstances()->getNbObjects(), 1);
        const CScnUUID& model = *scene->getInternalComponentDefinitions()->getScnObject(0)->getUUID();
        EXPECT_EQ(*first->getAttachedObject(), referenced ? other : model);
    }
}

TEST(DocumentLoad, MissingImagesAndPreviewAreCreatedInFront)
{
    TestScene scene;
    ASSERT_EQ(scene.load(sceneDocument(kCurrent, "<Save.Url>u</Save.Url>")), 0);
    std::vector<std::string> names = ScnTest::fileChildren(scene.save());
    ASSERT_GE(names.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
              (std::vector<std::string>{"Preview.Image", "Points", "Polygons", "Save.Url", "Images"}));
}

TEST(DocumentLoad, EmptyImageBlocksReadAsEmptyImages)
{
    for (const char* preview : {"", " \n\t\r\n"}) {
        TestScene scene;
        uint32_t pixel = 0xFF00FF00u;
        scene->getPreviewImage()->setPixels(1, 1, &pixel);
        std::string body = std::string("<Preview.Image><![CDATA[") + preview + "]]></Preview.Image>" +
                           "<Images><Image UUID=\"" + ScnTest::uuidText(ScnTest::filledUuid(3)) +
                           "\"><![CDATA[]]></Image></Images>";
        ASSERT_EQ(scene.load(sceneDocument(kCurrent, body)), 0) << ScnTest::warningsOf(scene.feedback.warnings);
        uint32_t width = 9;
        scene->getPreviewImage()->getPixels(&width, nullptr, nullptr);
        EXPECT_EQ(width, 0u);
        ASSERT_EQ(scene->getImages()->getNbObjects(), 1);
        EXPECT_EQ(*scene->getImages()->getScnObject(0)->getUUID(), ScnTest::filledUuid(3));
    }
    // Every new scene saves its empty preview; it reads back with no report but the empty tables'.
    TestScene fresh;
    TestScene reader;
    EXPECT_EQ(reader.load(fresh.save()), 0);
    EXPECT_EQ(reader.feedback.warnings,
              (std::vector<std::string>{"Numbers of points seems wrong", "Numbers of polygons seems wrong"}));
}

TEST(DocumentLoad, AnImageBlockOutsideTheListJoinsTheList)
{
    TestScene scene;
    ASSERT_EQ(scene.load(sceneDocument(kCurrent, kEmptyBlocks + "<Extension><Image><![CDATA[]]></Image></Extension>")), 0);
    ASSERT_EQ(scene->getImages()->getNbObjects(), 1);
    scene->getImages()->removeObject(kScnLastIndex);
    std::string document = scene.save();
    EXPECT_NE(document.find("<Extension>\n\t\t<Image/>\n\t</Extension>"), std::string::npos);
    EXPECT_TRUE(scene.feedback.warnings.empty()) << ScnTest::warningsOf(scene.feedback.warnings);
}

TEST(DocumentLoad, ReadingAgainReplacesGeometryAndImages)
{
    TestScene source;
    ScnTest::fillGeometry(source->getPoints(), source->getPolygons(), ScnTest::sampleGeometry());
    source->getImages()->newScnObject(kScnLastIndex);
    std::string document = source.save();
    TestScene scene;
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(scene.load(document), 0);
        EXPECT_EQ(ScnTest::describeGeometry(scene->getPoints(), scene->getPolygons()),
                  ScnTest::describeGeometry(ScnTest::sampleGeometry()));
        EXPECT_EQ(scene->getImages()->getNbObjects(), 1);
    }
}

TEST(DocumentLoad, ProductDocumentsAreToldByTheirFirstApplicationInstruction)
{
    struct Case {
        const char* prolog;
        bool product;
    };
    const Case cases[] = {
        {"<?Application name=\"Kestrovin\" version=\"1\"?>", true},
        {"<?Application name=\"Kes\xE2\x80\xA2trovin\"?>", true},
        {"<?Application name=\"Kestrovin2\"?>", false},
        {"<?Application name=\"Other\"?><?Application name=\"Kestrovin\"?>", false},
        {"<?Other name=\"Kestrovin\"?>", false},
        {"<?Application  name=\"Kestrovin\"?>", true},
        {"", false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<NuvoraXML::XCXMLTree> tree =
            ScnTest::parseDocument(std::string(c.prolog) + "<Scn.File><Deep><Deeper/></Deep></Scn.File>");
        NuvoraXML::XIXMLElement* deeper = ScnTest::documentElement(*tree)->GetFirstElement()->GetFirstElement();
        EXPECT_EQ(CSCN::isKestrovinFile(deeper->AsNode()), c.product) << c.prolog;
        EXPECT_EQ(CSCN::isKestrovinFile(tree->GetRoot()->AsNode()), c.product) << c.prolog;
    }
    EXPECT_EQ(ScnTest::failureOf([] { CSCN::isKestrovinFile(nullptr); }),
              ScnTest::nullPointerText("CSCN::isKestrovinFile - inNode is NULL"));
}

TEST(DocumentOperations, CommentsUrlAndApplicationData)
{
    TestScene scene;
    EXPECT_STREQ(scene->getURL(), "");
    EXPECT_EQ(scene->getComment(0), nullptr);
    EXPECT_EQ(scene->setComment("x", 5), 0);
    EXPECT_STREQ(scene->getComment(0), "x");
    EXPECT_EQ(scene->setComment("y", 1), 1);
    EXPECT_EQ(scene->setComment("z", 0), 0);
    EXPECT_STREQ(scene->getComment(0), "z");
    EXPECT_EQ(scene->setComment(nullptr, 0), 0);
    EXPECT_STREQ(scene->getComment(0), "y");
    EXPECT_EQ(scene->setComment(nullptr, 0), 0);
    EXPECT_EQ(scene->setComment(nullptr, 0), -1);
    EXPECT_EQ(scene->getComment(-1), nullptr);

    scene->setURL("file:///a b.scn");
    scene->setURL("file:///c.scn");
    scene->setURL(nullptr);
    scene->setURL("file:///d.scn");
    NuvoraXML::XIXMLElement* data = scene->getApplicationData("Tool");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(scene->getApplicationData("Tool"), data);
    data->AddAttribute(data->GetKey("Mode"), "fast");
    EXPECT_EQ(scene->getApplicationData(""), nullptr);
    EXPECT_EQ(scene->getApplicationData(nullptr), nullptr);
    // Tags that would be written as a start tag no reader accepts are refused alike.
    for (const char* tag : {"a b", "a/b", "a>", "x=1", "a<b", "q\"", "what?", "a\tb"}) {
        EXPECT_EQ(scene->getApplicationData(tag), nullptr) << tag;
    }
    EXPECT_NE(scene->getApplicationData("My.Tool-2_x:y"), nullptr);
    EXPECT_EQ(scene.feedback.warnings,
              std::vector<std::string>(10, "Exception in CScnMgr::getApplicationData : Invalid application tag "
                                          "(assertion failed)"));

    TestScene reader;
    ASSERT_EQ(reader.load(scene.save()), 0);
    EXPECT_STREQ(reader->getURL(), "file:///d.scn");
    EXPECT_EQ(reader->getComment(0), nullptr);
    NuvoraXML::XIXMLElement* read = reader->getApplicationData("Tool");
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->HasAttributeValue(read->GetKey("Mode"), "fast"));
}

TEST(DocumentOperations, ADocumentWithoutFileElementReportsEveryOperation)
{
    TestScene scene;
    EXPECT_EQ(scene.load("<?Scn " + kCurrent + "?><Scene/>"), 1);
    scene.feedback.warnings.clear();
    EXPECT_STREQ(scene->getURL(), "");
    scene->setURL("x");
    EXPECT_EQ(scene->getApplicationData("Tool"), nullptr);
    EXPECT_EQ(scene->setComment("kept", 0), 0);
    EXPECT_STREQ(scene->getComment(0), "kept");
    MemoryStream stream;
    EXPECT_EQ(scene->write(&stream), 2);
    EXPECT_EQ(scene.feedback.warnings,
              (std::vector<std::string>{ScnTest::nullPointerText("Exception in CScnMgr::getURL : mFileNode is NULL"),
                                        ScnTest::nullPointerText("Exception in CScnMgr::setURL : mFileNode is NULL"),
                                        ScnTest::nullPointerText("Exception in CScnMgr::getApplicationData : mFileNode is NULL"),
                                        "Error \"" + ScnTest::nullPointerText("mFileNode is NULL") + "\" while writting"}));
}

}  // namespace

namespace {

using NuvoraXML::XIXMLElement;

// The old form of a saved scene: the first heliodon, with the study options inside it, stands
// alone as "Heliodon" instead of the "Heliodons" list.
std::string withOldHeliodon(const std::string& saved)
{
    auto tree = ScnTest::parseDocument(saved);
    XIXMLElement* file = tree->GetRoot()->FindElement(tree->GetRoot()->GetKey("Scn.File"));
    XIXMLElement* list = XmlForm::requireChild(file, "Heliodons");
    XIXMLElement* heliodon = XmlForm::requireChild(list, "Heliodon");
    XIXMLElement* options = XmlForm::requireChild(list, "Options");
    list->RemoveNode(heliodon->AsNode());
    list->RemoveNode(options->AsNode());
    heliodon->AddNode(options->AsNode());
    file->AddNode(heliodon->AsNode());
    list->AsNode()->Delete();
    ScnTest::StringWriteStream out;
    tree->GetRoot()->Write(&out);
    return out.bytes;
}

TEST(DocumentLoad, TheOldSingleHeliodonBringsItsStudyOptions)
{
    TestScene written;
    written->getHeliodon()->setName("Old sun");
    written->getMgrEx(6)->getHeliodonOpt()->setFrequencyType(1);
    std::string bytes = withOldHeliodon(written.save());
    ASSERT_NE(bytes.find("<Heliodon\n"), std::string::npos);

    TestScene read;
    ASSERT_EQ(read.load(bytes), 0) << (read.feedback.warnings.empty() ? "" : read.feedback.warnings[0]);
    EXPECT_STREQ(read->getHeliodon()->getName(), "Old sun");
    EXPECT_EQ(read->getMgrEx(6)->getHeliodonOpt()->getFrequencyType(), 1);
}

TEST(DocumentLoad, ReadsFromThePositionTheStreamIsAt)
{
    TestScene source;
    *source->getPoints()->newScnObject(kScnLastIndex) = CScnVector{1, 2, 3};
    const std::string document = source.save();
    for (const std::string& before : {std::string("0123456789"), std::string("<?xml version=\"1.0\"?><Other/>")}) {
        MemoryStream stream(before + document);
        stream.setPosition(static_cast<int64_t>(before.size()));
        TestScene scene;
        EXPECT_EQ(scene->read(&stream), 0) << ScnTest::warningsOf(scene.feedback.warnings);
        ASSERT_EQ(scene->getPoints()->getNbObjects(), 1);
        EXPECT_EQ(scene->getPoints()->getScnObject(0)->z, 3.0);
    }
}

// Without definitions only the top-level blocks save the scene's geometry: a document that has
// none of them gains them, so that what the client adds after the load is saved.
TEST(DocumentLoad, ADocumentWithoutGeometryBlocksGainsThemWhenItHasNoDefinitions)
{
    const struct {
        const char* name;
        std::string body;
        std::vector<std::string> front;
    } cases[] = {
        {"empty file element", "", {"Preview.Image", "Points", "Polygons", "Images", "File.Info"}},
        {"comment only", "<!--note-->", {"Preview.Image", "Points", "Polygons", "Images", "File.Info"}},
        {"polygons only", "<Images/><Polygons><![CDATA[0 ]]></Polygons><Save.Url>u</Save.Url>",
         {"Preview.Image", "Points", "Polygons", "Save.Url", "Images"}},
        {"points only", "<Points><![CDATA[0 ]]></Points><Save.Url>u</Save.Url>",
         {"Preview.Image", "Points", "Polygons", "Save.Url", "Images"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestScene scene;
        ASSERT_EQ(scene.load("<?Scn " + ScnTest::dottedLibrary("3.0.3") + "?><Scn.File>" + c.body + "</Scn.File>"), 0);
        ScnTest::fillGeometry(scene->getPoints(), scene->getPolygons(), ScnTest::sampleGeometry());
        std::string document = scene.save();
        std::vector<std::string> names = ScnTest::fileChildren(document);
        ASSERT_GE(names.size(), c.front.size());
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + c.front.size()), c.front);
        TestScene reader;
        ASSERT_EQ(reader.load(document), 0) << ScnTest::warningsOf(reader.feedback.warnings);
        EXPECT_EQ(ScnTest::describeGeometry(reader->getPoints(), reader->getPolygons()),
                  ScnTest::describeGeometry(ScnTest::sampleGeometry()));
    }
    // With a definition the geometry lives there, and no top-level block is added.
    TestScene source;
    source->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
    TestScene scene;
    ASSERT_EQ(scene.load(source.save()), 0);
    std::vector<std::string> names = ScnTest::fileChildren(scene.save());
    EXPECT_EQ(std::count(names.begin(), names.end(), "Points"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Polygons"), 0);
}

}  // namespace
