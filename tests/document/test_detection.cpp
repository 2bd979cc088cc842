// Detection: the verdict table of checkFormat2, the library PI in its decimal and dotted forms,
// the foreign-creator rule, legacy heads, descriptions cut to the buffer and the stream left where
// it was found.
#include <gtest/gtest.h>

#include <string>

#include "document/HeaderParsers.h"
#include "support/Locale.h"
#include "test_document_support.h"

namespace {

using namespace NvScn;
using ScnTest::MemoryStream;
using ScnTest::sceneDocument;

std::string versionText(const CScnVersion& version)
{
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." + std::to_string(version.patch);
}

struct VerdictCase {
    const char* name;
    std::string bytes;
    bool result;           // checkFormat2
    int verdict;
    const char* version;   // copied for XML documents only; "-" when untouched
    const char* description;
    bool formatResult;     // checkFormat
};

std::string dotted(const char* library, const char* minimum, const char* safe)
{
    return std::string("library=\"") + library + "\" file=\"5.0\" min_version=\"" + minimum +
           "\" safe_version=\"" + safe + "\"";
}

std::vector<VerdictCase> verdictCases()
{
    const std::string body = "<Preview.Image/>";
    return {
        {"decimal 2.01", sceneDocument("library=\"2.01\" file=\"5.0\"", body), true, 1, "2.0.1", "Kestrovin (5.0)", true},
        {"current", sceneDocument(dotted("3.0.3", "3.0.1", "3.0.1"), body), true, 3, "3.0.3", "Kestrovin (5.0)", true},
        {"3.0.2", sceneDocument(dotted("3.0.2", "3.0.1", "3.0.1"), body), true, 2, "3.0.2", "Kestrovin (5.0)", true},
        {"3.0.1", sceneDocument(dotted("3.0.1", "3.0.1", "3.0.1"), body), true, 2, "3.0.1", "Kestrovin (5.0)", true},
        {"3.0.0", sceneDocument(dotted("3.0.0", "3.0.0", "3.0.0"), body), true, 1, "3.0.0", "Kestrovin (5.0)", true},
        {"newer minimum", sceneDocument(dotted("3.2.0", "3.1.0", "3.1.0"), body), false, 6, "3.2.0", "", true},
        {"newer safe", sceneDocument(dotted("3.2.0", "3.0.1", "3.1.0"), body), true, 5, "3.2.0", "Kestrovin (5.0)", true},
        {"newer readable", sceneDocument(dotted("3.2.0", "3.0.1", "3.0.1"), body), true, 4, "3.2.0", "Kestrovin (5.0)", true},
        {"foreign", sceneDocument(dotted("3.0.3", "3.0.1", "3.0.1"), body, "Other"), true, 7, "3.0.3", "Kestrovin (5.0)", true},
        {"foreign too new", sceneDocument(dotted("4.0.0", "3.0.1", "3.0.1"), body, "Other"), false, 6, "4.0.0", "", true},
        {"foreign old is judged by versions", sceneDocument("library=\"1\" file=\"5.0\"", body, "Other"), true, 1, "1.0.0", "Kestrovin (5.0)", true},
        {"foreign 1.0.1", sceneDocument("library=\"1.01\" file=\"5.0\"", body, "Other"), true, 7, "1.0.1", "Kestrovin (5.0)", true},
        {"model forge", sceneDocument(dotted("3.0.3", "3.0.1", "3.0.1"), body, "Model Forge"), true, 3, "3.0.3", "Kestrovin (5.0)", true},
        {"no creator name", sceneDocument(dotted("3.0.3", "3.0.1", "3.0.1"), body, ""), true, 3, "3.0.3", "Kestrovin (5.0)", true},
        {"file format 5.1", sceneDocument("library=\"3\" file=\"5.1\"", body), true, 1, "3.0.0", "Kestrovin (5.1)", true},
        {"decimal 0.9", sceneDocument("library=\"0.9\" file=\"5.0\"", body), false, 0, "-", "", false},
        {"dotted without safe version", sceneDocument("library=\"3.0.3\" file=\"5.0\" min_version=\"3.0.1\"", body), false, 0, "-", "", false},
        {"root before any PI", "<Scn.File><?Scn library=\"3\" file=\"5.0\"?></Scn.File>", false, 0, "-", "", false},
        {"XML without library PI", "<?xml version=\"1.0\"?><Other/>", false, 0, "-", "", false},
        {"malformed XML", "<?Scn library=\"3\" file=\"5.0\"", false, 0, "-", "", false},
        {"empty stream", "", false, 0, "-", "", false},
        {"legacy options 3.5", "opt db version 3 5\n-dbfile \"a.db\"\n", true, 3, "-", "Kes*trovin (3.5)", true},
        {"legacy options 4.0 after a comment", "# made by hand\nopt\tdb version 4 0", true, 3, "-", "Kes*trovin (4.0)", true},
        {"legacy options 3.4", "opt db version 3 4", false, 0, "-", "", false},
        {"legacy options cut short", "opt db version 3", false, 0, "-", "", false},
        {"legacy database", "-dbfile \"scene.db\"", true, 3, "-", "Kes*trovin", true},
        {"legacy tolven", "-eye 1 2 3", true, 3, "-", "Kes*trovin (TOLVEN)", true},
        {"other token text", "-motif 3", false, 0, "-", "", false},
        {"binary", std::string("\x00\x01\x02", 3), false, 0, "-", "", false},
    };
}

TEST(Detection, VerdictsVersionsAndDescriptions)
{
    for (const VerdictCase& c : verdictCases()) {
        SCOPED_TRACE(c.name);
        // A stream that starts 100 bytes before the file, positioned on the file.
        MemoryStream stream(std::string(100, '@') + c.bytes);
        stream.setPosition(100);
        eReadability verdict = eForeignCreator;
        CScnVersion version{-1, -1, -1, {}};
        char buffer[64] = "untouched";
        EXPECT_EQ(CScnMgr::checkFormat2(&stream, &verdict, &version, buffer, sizeof buffer), c.result);
        EXPECT_EQ(static_cast<int>(verdict), c.verdict);
        EXPECT_EQ(version.major == -1 ? "-" : versionText(version), c.version);
        EXPECT_STREQ(buffer, c.description);
        EXPECT_EQ(stream.getPosition(), 100);

        char described[64] = "untouched";
        EXPECT_EQ(scn_check_format(&stream, described, sizeof described), c.formatResult);
        EXPECT_STREQ(described, c.formatResult ? (c.verdict == 6 ? "Kestrovin (5.0)" : c.description) : "");
        EXPECT_EQ(stream.getPosition(), 100);
    }
}

TEST(Detection, ShortReadsEndADocumentButNotALegacyHead)
{
    // The XML parser takes a short read for the end of the data; the token reader reads on.
    for (const VerdictCase& c : verdictCases()) {
        SCOPED_TRACE(c.name);
        bool xml = !c.bytes.empty() && c.bytes[0] == '<';
        MemoryStream stream(c.bytes);
        stream.maxReadChunk = 1;
        eReadability verdict = eForeignCreator;
        EXPECT_EQ(scn_check_format2(&stream, &verdict, nullptr, nullptr, 0), xml ? false : c.result);
        EXPECT_EQ(static_cast<int>(verdict), xml ? 0 : c.verdict);
        EXPECT_EQ(stream.getPosition(), 0);
    }
}

TEST(Detection, DescriptionsAreCutToTheBuffer)
{
    const std::string document = sceneDocument(dotted("3.0.3", "3.0.1", "3.0.1"), "");
    const std::pair<int32_t, const char*> cases[] = {{1, ""}, {2, "K"}, {10, "Kestrovin"}, {15, "Kestrovin (5.0"}, {16, "Kestrovin (5.0)"}};
    for (const auto& c : cases) {
        MemoryStream stream(document);
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_TRUE(CScnMgr::checkFormat(&stream, buffer, c.first));
        EXPECT_STREQ(buffer, c.second) << c.first;
        EXPECT_EQ(buffer[c.first], '#') << "wrote past the buffer of " << c.first;
    }
    MemoryStream stream(document);
    char buffer[4] = "abc";
    EXPECT_TRUE(CScnMgr::checkFormat(&stream, buffer, 0));
    EXPECT_STREQ(buffer, "abc");
    EXPECT_TRUE(CScnMgr::checkFormat(&stream, nullptr, 10));
}

TEST(Detection, NullStreamAndNullOutputs)
{
    eReadability verdict = eForeignCreator;
    EXPECT_FALSE(CScnMgr::checkFormat2(nullptr, &verdict, nullptr, nullptr, 0));
    EXPECT_EQ(verdict, eNotScnFile);
    EXPECT_FALSE(CScnMgr::checkFormat(nullptr, nullptr, 0));
    MemoryStream stream(sceneDocument(dotted("3.0.3", "3.0.1", "3.0.1"), ""));
    EXPECT_TRUE(CScnMgr::checkFormat2(&stream, nullptr, nullptr, nullptr, 0));
}

struct LibraryTextCase {
    const char* text;
    const char* library;
    const char* minimum;
    const char* safe;
    int fileMajor;
    int fileMinor;
};

TEST(Detection, LibraryTextFollowsTheFormattedInputRules)
{
    const LibraryTextCase cases[] = {
        {"library=\"2.01\" file=\"5.0\"", "2.0.1", "0.0.0", "0.0.0", 5, 0},
        {"library=\"3\" file=\"5.1\"", "3.0.0", "0.0.0", "0.0.0", 5, 1},
        {"library=\"2.01\" file=\"5.0\" min_version=\"2.5\" safe_version=\"3.0\" ", "2.0.1", "2.5.0", "3.0.0", 5, 0},
        {"library=\"1.999\" file=\"4.95\"", "1.9.9", "0.0.0", "0.0.0", 4, 9},
        {"library=\"+2.01e0\" file=\" 5.0\"", "2.0.1", "0.0.0", "0.0.0", 5, 0},
        {"library=\"3.0.3\" file=\"5.0\" min_version=\"3.1.0\" safe_version=\"3.2.0\"", "3.0.3", "3.1.0", "3.2.0", 5, 0},
        {"library=\"3.0.3\"  file=\"5.0\"\tmin_version=\"3.0.1\"\nsafe_version=\"3.0.1\"", "3.0.3", "3.0.1", "3.0.1", 5, 0},
        {"library=\"3.0.3\" file=\"5.0\" min_version=\"3.0.1\"", "0.0.0", "0.0.0", "0.0.0", 0, 0},
        {"library=\"3.0.3\" file=\"5.0\" min_version=\"3.0.1\" safe_version=\"3\"", "0.0.0", "0.0.0", "0.0.0", 0, 0},
        {"library = \"2.01\" file=\"5.0\"", "0.0.0", "0.0.0", "0.0.0", 0, 0},
        {" library=\"2.01\" file=\"5.0\"", "0.0.0", "0.0.0", "0.0.0", 0, 0},
        {"library=\"2.01\"", "0.0.0", "0.0.0", "0.0.0", 0, 0},
        {"library=\"nan\" file=\"5.0\"", "0.0.0", "0.0.0", "0.0.0", 5, 0},
        {"library=\"1e400\" file=\"-1e400\"", "2147483647.7.7", "0.0.0", "0.0.0", -2147483647 - 1, -2147483647 - 1},
        {"library=\"0x2.1p0\" file=\"5\"", "2.0.6", "0.0.0", "0.0.0", 5, 0},
        {"", "0.0.0", "0.0.0", "0.0.0", 0, 0},
    };
    ScnTest::CommaLocale comma;
    if (!comma.active()) {
        return;
    }
    for (const LibraryTextCase& c : cases) {
        CCheckSCNFile header;
        header.parseLibraryText(c.text);
        EXPECT_EQ(versionText(header.getLibraryVersion()), c.library) << c.text;
        EXPECT_EQ(versionText(header.getMinimumVersion()), c.minimum) << c.text;
        EXPECT_EQ(versionText(header.getSafeVersion()), c.safe) << c.text;
        EXPECT_EQ(header.getFileMajor(), c.fileMajor) << c.text;
        EXPECT_EQ(header.getFileMinor(), c.fileMinor) << c.text;
    }
}

// The creator named by detection wherever the "Application" instruction sits.
const std::string kCurrentLibraryPI = "<?Scn " + ScnTest::dottedLibrary("3.0.3") + "?>";

struct CreatorCase {
    const char* name;
    std::string document;
    int verdict;
};

TEST(DetectionCreator, TheFirstApplicationInstructionBeforeTheRootNamesTheCreator)
{
    const CreatorCase cases[] = {
        {"own name", kCurrentLibraryPI + "<?Application name=\"Kestrovin\"?><Scn.File/>", 3},
        {"bullet spelling is another creator", kCurrentLibraryPI + "<?Application name=\"Kes\xE2\x80\xA2trovin\"?><Scn.File/>", 7},
        {"creator before the library PI", "<?Application name=\"Other\" version=\"2\"?>" + kCurrentLibraryPI + "<Scn.File/>", 7},
        {"only the first one counts", kCurrentLibraryPI + "<?Application name=\"Kestrovin\"?><?Application name=\"Other\"?><Scn.File/>", 3},
        {"first foreign one counts", kCurrentLibraryPI + "<?Application name=\"Other\"?><?Application name=\"Kestrovin\"?><Scn.File/>", 7},
        {"text without the name prefix", kCurrentLibraryPI + "<?Application version=\"1\" name=\"Other\"?><Scn.File/>", 3},
        {"name without closing quote", kCurrentLibraryPI + "<?Application name=\"Other?><Scn.File/>", 7},
        {"instruction after the root", kCurrentLibraryPI + "<Scn.File/><?Application name=\"Other\"?>", 3},
        {"other targets skipped", kCurrentLibraryPI + "<?Applications name=\"Other\"?><?Application name=\"Model Forge\"?><Scn.File/>", 3},
    };
    for (const CreatorCase& c : cases) {
        MemoryStream stream(c.document);
        eReadability verdict = eNotScnFile;
        char buffer[32] = "";
        EXPECT_EQ(CScnMgr::checkFormat2(&stream, &verdict, nullptr, buffer, sizeof buffer), true) << c.name;
        EXPECT_EQ(static_cast<int>(verdict), c.verdict) << c.name;
        EXPECT_STREQ(buffer, "Kestrovin (5.0)") << c.name;
        EXPECT_EQ(stream.getPosition(), 0) << c.name;
    }
}

}  // namespace
