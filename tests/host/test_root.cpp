// Strings, resources, preferences and the service table of the host.
#include "GSRoot.h"
#include "ResourceText.h"
#include "test_host_support.h"

#include <cstring>

namespace {

struct Utf8Case {
    std::string utf8;
    std::u16string utf16;
    std::string back;
};

class Utf8Conversion : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Conversion, ReplacesMalformedBytesAndKeepsEverythingElse)
{
    EXPECT_EQ(GS::Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
    EXPECT_EQ(GS::Utf16ToUtf8(GetParam().utf16), GetParam().back);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8Conversion, ::testing::Values(
    Utf8Case{"Sun", u"Sun", "Sun"},
    Utf8Case{"Händler", u"H\u00e4ndler", "Händler"},
    Utf8Case{"\xF0\x9F\x8F\xA0", u"\U0001F3E0", "\xF0\x9F\x8F\xA0"},
    Utf8Case{"a\xC3", u"a\uFFFD", "a\xEF\xBF\xBD"},
    Utf8Case{"\xC0\xAF", u"\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
    Utf8Case{"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}));

TEST(Utf16Conversion, AnUnpairedSurrogateBecomesTheReplacementCharacter)
{
    EXPECT_EQ(GS::Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
}

struct ResourceErrorCase {
    const char* text;
    const char* error;
};

class ResourceErrors : public ::testing::TestWithParam<ResourceErrorCase> {};

TEST_P(ResourceErrors, NameTheFileLineAndProblem)
{
    cadhost::ResourceSet set;
    std::string error;
    EXPECT_FALSE(cadhost::parseResourceText(GetParam().text, "GER.txt", &set, &error));
    EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Texts, ResourceErrors, ::testing::Values(
    ResourceErrorCase{"strings 131\n  1 \"Sun\n", "GER.txt:2: text without its closing quote"},
    ResourceErrorCase{"strings 131\n  1 \"a\"\n", "GER.txt:3: strings 131 has no \"end\""},
    ResourceErrorCase{"strings 131\n  1 \"a\"\n  1 \"b\"\nend\n", "GER.txt:3: string item 1 is defined twice"},
    ResourceErrorCase{"strings x\n", "GER.txt:1: bad resource number \"x\""},
    ResourceErrorCase{"strings 1\nend\nstrings 1\nend\n", "GER.txt:3: strings 1 is defined twice"},
    ResourceErrorCase{"menu 3\n", "GER.txt:1: unknown resource kind \"menu\""},
    ResourceErrorCase{"alert 128\n  caption \"x\"\nend\n", "GER.txt:2: unknown alert line \"caption\""},
    ResourceErrorCase{"dialog 131 10 10 \"t\"\n  item 1 slider 0 0 1 1\nend\n",
                      "GER.txt:2: unknown item kind \"slider\""},
    ResourceErrorCase{"dialog 131 10 10 \"t\"\n  item 1 button 0 0 1\nend\n",
                      "GER.txt:2: dialog line needs: item NUMBER KIND X Y WIDTH HEIGHT [TEXT | ICON]"},
    ResourceErrorCase{"icon 1 2 1\n  color a 00FF00\n  \"ab\"\nend\n",
                      "GER.txt:3: icon row uses the undefined colour 'b'"},
    ResourceErrorCase{"icon 1 2 2\n  color a 00FF00\n  \"aa\"\nend\n", "GER.txt:4: icon 1 has 1 rows instead of 2"},
    ResourceErrorCase{"strings 1\n  2 \"bad \\q\"\nend\n", "GER.txt:2: unknown escape \\q"}));

TEST(ResourceText, ReadsEveryKind)
{
    const char* text =
        "# comment\n"
        "strings 130\n  2 \"Light %d\" # trailing comment\n  10 \"say \\\"hi\\\"\"\nend\n"
        "alert 133\n  title \"Error!\"\n  text \"t\"\n  button \"OK\"\nend\n"
        "dialog 131 560 430 \"Save\"\n  item 7 icon 1 2 16 16 32601\n  item 8 checkbox 3 4 5 6 \"Sun\"\nend\n"
        "identifier 32500 1 4294967295\n";
    cadhost::ResourceSet set;
    std::string error;
    ASSERT_TRUE(cadhost::parseResourceText(text, "common.txt", &set, &error)) << error;
    EXPECT_EQ(set.strings[130][2], "Light %d");
    EXPECT_EQ(set.strings[130][10], "say \"hi\"");
    EXPECT_EQ(set.alerts[133].buttons, std::vector<std::string>{"OK"});
    ASSERT_EQ(set.dialogs[131].items.size(), 2u);
    EXPECT_EQ(set.dialogs[131].items[0].icon, 32601);
    EXPECT_EQ(set.dialogs[131].items[1].text, "Sun");
    EXPECT_EQ(set.identifiers[32500], (std::vector<uint32_t>{1u, 4294967295u}));
}

class Resources : public HostFolderTest {
protected:
    void SetUp() override
    {
        HostFolderTest::SetUp();
        mModule = RSAddModule(KSV_ADDON_PATH);
        ASSERT_NE(mModule, InvalidResModule);
    }
    void TearDown() override
    {
        RSRemoveModule(mModule);
        RSSetActiveModule(HostResModule);
        HostFolderTest::TearDown();
    }
    GSResModule mModule = InvalidResModule;
};

TEST_F(Resources, TheActiveModuleAnswersUnlessAModuleIsNamed)
{
    GS::UniString text;
    RSSetActiveModule(HostResModule);
    EXPECT_FALSE(RSGetIndString(&text, 130, 1));
    EXPECT_TRUE(RSGetIndString(&text, 130, 1, mModule));
    EXPECT_EQ(text.ToCStr(), "Sun");
    EXPECT_EQ(RSSetActiveModule(mModule), HostResModule);
    EXPECT_TRUE(RSGetIndString(&text, 331, 1));
    EXPECT_EQ(text.ToCStr(), "Kestrovin Studio-Datei 3.0");
    EXPECT_FALSE(RSGetIndString(&text, 129, 1));
    EXPECT_FALSE(RSGetIndString(&text, 130, 11));
}

TEST_F(Resources, TheByteFormNeedsRoomForTheTerminator)
{
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(RSGetIndString(buffer, 3, 130, 1, mModule));
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_TRUE(RSGetIndString(buffer, 4, 130, 1, mModule));
    EXPECT_STREQ(buffer, "Sun");
}

TEST_F(Resources, AFileWithoutResourcesIsNoModule)
{
    const std::string path = write("plain.txt", "not a module");
    EXPECT_EQ(RSAddModule(path.c_str()), InvalidResModule);
    EXPECT_EQ(RSAddModule(""), InvalidResModule);
    EXPECT_EQ(cadhost::debugLog(), "Host:: no resources in \"" + path + "\"\n");
}

// Entries the host fills; every other one answers APIERR_MISSINGCODE.
const int kFilledEntries[] = {11, 32, 33, 52, 53, 71, 72, 73, 92, 141, 144, 221, 222};

TEST(ServiceTable, EveryEntryNotProvidedAnswersMissingCode)
{
    const ACServiceProc* table = cadhost::serviceTable();
    for (int entry = 0; entry < kACServiceCount; ++entry) {
        const bool filled = std::find(std::begin(kFilledEntries), std::end(kFilledEntries), entry) != std::end(kFilledEntries);
        ASSERT_NE(table[entry], nullptr) << entry;
        if (filled) {
            EXPECT_EQ(table[entry](0x1234, nullptr, nullptr, nullptr, nullptr), APIERR_GENERAL) << "entry " << entry;
        } else {
            EXPECT_EQ(table[entry](0x1234, nullptr, nullptr, nullptr, nullptr), APIERR_MISSINGCODE) << "entry " << entry;
        }
    }
}

struct PrefsCase {
    const char* what;
    std::string file;       // the stored file; empty: none
    int32_t version;
    int32_t size;
};

class StoredPreferences : public HostFolderTest, public ::testing::WithParamInterface<PrefsCase> {};

std::string prefsFile(int32_t version, int32_t size, const std::string& bytes)
{
    std::string content("CADHPREF", 8);
    content.append(reinterpret_cast<const char*>(&version), 4);
    content.append(reinterpret_cast<const char*>(&size), 4);
    return content + bytes;
}

TEST_P(StoredPreferences, ADamagedFileCountsAsNoPreferences)
{
    cadhost::AddOn addOn;
    ASSERT_TRUE(addOn.load(KSV_ADDON_PATH)) << addOn.error();
    if (!GetParam().file.empty()) {
        ASSERT_EQ(std::system(("mkdir -p '" + mFolder + "/Preferences'").c_str()), 0);
        write("Preferences/KestrovinOut.prefs", GetParam().file);
    }
    int32_t version = -1;
    int32_t size = 3;
    char buffer[3] = {};
    const ACServiceProc get = cadhost::serviceTable()[kACGetPreferences];
    EXPECT_EQ(get(addOn.token, &version, &size, buffer, nullptr), NoError);
    EXPECT_EQ(version, GetParam().version);
    EXPECT_EQ(size, GetParam().size);
    if (size > 0) {
        EXPECT_EQ(std::string(buffer, 3), "abc");
    }
}

INSTANTIATE_TEST_SUITE_P(Files, StoredPreferences, ::testing::Values(
    PrefsCase{"none", "", 0, 0},
    PrefsCase{"good", prefsFile(2, 5, "abcde"), 2, 5},
    PrefsCase{"short", prefsFile(2, 6, "abcde"), 0, 0},
    PrefsCase{"negative", prefsFile(2, -1, "abcde"), 0, 0},
    PrefsCase{"magic", "XADHPREF" + prefsFile(2, 5, "abcde").substr(8), 0, 0},
    PrefsCase{"truncated", "CADHPREF", 0, 0}));

TEST_F(HostFolderTest, PreferencesAreStoredForTheCallingAddOn)
{
    cadhost::AddOn addOn;
    ASSERT_TRUE(addOn.load(KSV_ADDON_PATH)) << addOn.error();
    const ACServiceProc set = cadhost::serviceTable()[kACSetPreferences];
    EXPECT_EQ(set(addOn.token, reinterpret_cast<void*>(2), reinterpret_cast<void*>(3), const_cast<char*>("xyz"), nullptr), NoError);
    std::string content;
    std::ifstream file(cadhost::preferencesPath("KestrovinOut"), std::ios::binary);
    content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, prefsFile(2, 3, "xyz"));
    EXPECT_EQ(set(addOn.token + 1, reinterpret_cast<void*>(2), reinterpret_cast<void*>(3), const_cast<char*>("xyz"), nullptr), APIERR_GENERAL);
}

TEST(MemoryHandles, KeepTheirSizeAndAreCleared)
{
    GSHandle handle = BMAllocateHandle(2040, 0, 0);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(BMGetHandleSize(handle), 2040);
    EXPECT_EQ((*handle)[2039], 0);
    BMKillHandle(&handle);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(BMAllocateHandle(-1, 0, 0), nullptr);
    EXPECT_EQ(BMError(), ErrParam);
}

}  // namespace
