// The cheap readers: the origin of the file information with its stream position and its
// standard-output line, the leading preview image, and the display names of an object file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/FileReaders.h"
#include "model/ObjectDefinition.h"
#include "model/Scene.h"
#include "support/Locale.h"
#include "support/TestSupport.h"
#include "test_image_support.h"

namespace {

using namespace NvScn;
using ScnTest::hexWords;
using ScnTest::MemoryStream;
using ScnTest::RecordingFeedback;

constexpr const char* kInvalidOrigin = "CScnMgr::readOrigin - Invalid origin";
constexpr const char* kProlog =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?Scn library=\"3.0.3\" file=\"5.0\" min_version=\"3.0.1\" "
    "safe_version=\"3.0.1\"?>\n<?Application name=\"Test\" version=\"1\"?>\n<!--comment-->\n";

struct OriginCase {
    const char* name;
    std::string document;
    CScnVector origin;
    std::string printed;
};

TEST(ReadFileInfo, FindsTheOriginOnlyWhenItComesFirst)
{
    const OriginCase cases[] = {
        {"plain", "<Scn.File><Origin X=\"1\" Y=\"2\" Z=\"3\"/></Scn.File>", {1, 2, 3}, ""},
        {"not a real", "<Scn.File><Origin X=\"1\" Y=\"a\" Z=\"3\"/></Scn.File>", {1, 0, 0}, kInvalidOrigin},
        {"extra attribute", "<Scn.File><Origin X=\"1\" Y=\"2\" Z=\"3\" W=\"0\"/></Scn.File>", {1, 2, 3}, kInvalidOrigin},
        {"nested, any order", "<Scn.File><File.Info><Origin Z=\"1e3\" X=\" 1.5\" Y=\"-2xyz\"/></File.Info></Scn.File>",
         {1.5, -2, 1000}, ""},
        {"two values", "<Scn.File><Origin X=\"1\" Y=\"2\"/></Scn.File>", {1, 2, 0}, ""},
        {"text in the origin", "<Scn.File><Origin X=\"4\">t</Origin></Scn.File>", {4, 0, 0}, ""},
        {"attribute before", "<Scn.File a=\"1\"><Origin X=\"1\" Y=\"2\" Z=\"3\"/></Scn.File>", {0, 0, 0}, ""},
        {"saved scene", std::string(kProlog) + "<Scn.File>\n\t<Preview.Image><![CDATA[]]>\n\t</Preview.Image>\n"
                        "\t<File.Info>\n\t\t<Origin X=\"1\" Y=\"2\" Z=\"3\"/>\n\t</File.Info>\n</Scn.File>\n",
         {0, 0, 0}, ""},
        {"not XML", "hello", {0, 0, 0}, kInvalidOrigin},
        {"empty", "", {0, 0, 0}, kInvalidOrigin},
    };
    for (const OriginCase& c : cases) {
        MemoryStream stream("#!" + c.document);
        stream.setPosition(2);
        testing::internal::CaptureStdout();
        IScnFileInfo2* info = CScnMgr::readFileInfo(&stream);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed) << c.name;
        EXPECT_EQ(stream.getPosition(), 2) << c.name;
        ASSERT_NE(info, nullptr) << c.name;
        const CScnVector* origin = info->getOrigin();
        EXPECT_EQ(origin->x, c.origin.x) << c.name;
        EXPECT_EQ(origin->y, c.origin.y) << c.name;
        EXPECT_EQ(origin->z, c.origin.z) << c.name;
        info->release();
    }
}

TEST(ReadFileInfo, ReadsRealsAlikeInEveryLocaleAndSurvivesANullStream)
{
    IScnFileInfo2* info = nullptr;
    {
        ScnTest::CommaLocale locale;
        if (!locale.active()) {
            return;
        }
        MemoryStream stream("<Origin X=\"1.25\" Y=\"0.5\" Z=\"-7.75\"/>");
        info = readScnFileInfo(&stream);
    }
    EXPECT_EQ(info->getOrigin()->x, 1.25);
    EXPECT_EQ(info->getOrigin()->y, 0.5);
    EXPECT_EQ(info->getOrigin()->z, -7.75);
    info->release();

    info = readScnFileInfo(nullptr);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getOrigin()->x, 0.0);
    info->release();
}

std::string previewDocument(const std::string& preview)
{
    return std::string(kProlog) + "<Scn.File>\n\t" + preview + "\n\t<Images/>\n</Scn.File>\n";
}

struct PreviewCase {
    const char* name;
    std::string document;
    std::vector<uint32_t> pixels;  // empty: no image expected
};

TEST(ReadPreviewImage, ReturnsOnlyALeadingDecodablePreview)
{
    const std::string block = hexWords({1, 2, 1, 1, 0xFF00FF00u, 1, 7});
    const PreviewCase cases[] = {
        {"leading preview", previewDocument("<Preview.Image><![CDATA[" + block + "]]>\n\t</Preview.Image>"),
         {0xFF00FF00u, 7}},
        {"second section ignored",
         previewDocument("<Preview.Image><![CDATA[" + block + "]]><![CDATA[" + hexWords({1, 1, 1, 1, 3}) +
                         "]]></Preview.Image>"),
         {0xFF00FF00u, 7}},
        {"images first", std::string(kProlog) + "<Scn.File><Images/><Preview.Image><![CDATA[" + block +
                             "]]></Preview.Image></Scn.File>",
         {}},
        {"empty block", previewDocument("<Preview.Image><![CDATA[]]></Preview.Image>"), {}},
        {"bad block", previewDocument("<Preview.Image><![CDATA[00000001zz]]></Preview.Image>"), {}},
        {"attribute", previewDocument("<Preview.Image a=\"1\"><![CDATA[" + block + "]]></Preview.Image>"), {}},
        {"text", previewDocument("<Preview.Image>" + block + "</Preview.Image>"), {}},
        {"not XML", "Kestrovin", {}},
        {"cut short", previewDocument("<Preview.Image><![CDATA[" + block).substr(0, 300), {}},
    };
    for (const PreviewCase& c : cases) {
        MemoryStream stream(c.document);
        IScnImage* image = CScnMgr::readPreviewImage(&stream);
        if (c.pixels.empty()) {
            EXPECT_EQ(image, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(image, nullptr) << c.name;
        uint32_t width = 0;
        uint32_t height = 0;
        const uint32_t* data = nullptr;
        image->getPixels(&width, &height, &data);
        EXPECT_EQ(width, 2u) << c.name;
        EXPECT_EQ(height, 1u) << c.name;
        EXPECT_EQ(std::vector<uint32_t>(data, data + 2), c.pixels) << c.name;
        image->destroy();
    }
    EXPECT_EQ(scn_read_preview_image(nullptr), nullptr);
}

CScnScnObjectDefinition* definitionAt(CScnMgr* manager, uint32_t index)
{
    return static_cast<CScnScnObjectDefinition*>(manager->getObjectDefinitions()->getScnObject(index));
}

TEST(ReadMediaInfo, NamesTheObjectDefinitionsByLanguage)
{
    RecordingFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    manager->getObjectDefinitions()->newScnObject(kScnLastIndex);
    MemoryStream stream(std::string(kProlog) +
                        "<Scn.File>\n<Name en=\"Outside\"/>\n<Object.Definition UUID=\"00\" en=\"no\">\n"
                        "<Class en=\"Furniture\"/>\n<Name en=\"Chair\" fr=\"Chaise\"/>\n"
                        "<Setups><Setup><Name en=\"Setup\"/></Setup></Setups>\n"
                        "<![CDATA[00000001]]>\n</Object.Definition>\n"
                        "<Object.Definition><Name de=\"Tisch\" en=\"Table\" en=\"Desk\"/></Object.Definition>\n"
                        "<Object.Definition><Name it=\"Sedia\"/><Name broken</Object.Definition>\n</Scn.File>\n");
    EXPECT_EQ(manager->readMediaInfo(&stream), nullptr);
    ASSERT_EQ(manager->getObjectDefinitions()->getNbObjects(), 3);
    const int32_t en = languageCode("en");
    EXPECT_EQ(en, 'e' * 256 + 'n');
    CScnScnObjectDefinition* chair = definitionAt(manager, 0);
    EXPECT_EQ(chair->getName()->getNbLanguages(), 2);
    EXPECT_STREQ(chair->getName()->getText(en), "Chair");
    EXPECT_STREQ(chair->getName()->getText(languageCode("fr")), "Chaise");
    CScnScnObjectDefinition* table = definitionAt(manager, 1);
    EXPECT_EQ(table->getName()->getNbLanguages(), 2);
    EXPECT_STREQ(table->getName()->getText(en), "Desk");
    EXPECT_STREQ(table->getName()->getText(languageCode("de")), "Tisch");
    EXPECT_EQ(table->getName()->getText(languageCode("fr")), nullptr);
    // The names read before a syntax error stay; nothing is reported.
    EXPECT_STREQ(definitionAt(manager, 2)->getName()->getText(languageCode("it")), "Sedia");
    EXPECT_TRUE(feedback.warnings.empty());
    EXPECT_EQ(manager->readMediaInfo(nullptr), nullptr);
    manager->release();
}

TEST(ReadMediaInfo, LanguageCodesTakeSignedBytesAndStopAtTheTerminator)
{
    EXPECT_EQ(languageCode("e"), 'e' * 256);
    EXPECT_EQ(languageCode(""), 0);
    EXPECT_EQ(languageCode(nullptr), 0);
    EXPECT_EQ(languageCode("\xC3\xA9"), -61 * 256 - 87);
}

}  // namespace
