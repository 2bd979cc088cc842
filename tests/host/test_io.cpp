// Locations with the Windows drive mapping, files and file types of the host.
#include "InputOutput.h"
#include "test_host_support.h"

#include <sys/stat.h>

namespace {

struct MappingCase {
    const char* given;
    const char* expected;   // "@" stands for the drive root
};

class LocationMapping : public HostFolderTest, public ::testing::WithParamInterface<MappingCase> {};

TEST_P(LocationMapping, MapsDrivePathsOntoTheDriveRoot)
{
    std::string expected = GetParam().expected;
    if (!expected.empty() && expected[0] == '@') {
        expected = cadhost::driveRoot() + expected.substr(1);
    }
    const IO::Location location(GetParam().given);
    EXPECT_EQ(location.HostPath(), expected);
    GS::UniString path;
    EXPECT_EQ(location.ToPath(&path), expected.empty() ? ErrParam : NoError);
    EXPECT_EQ(path.ToCStr(), expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, LocationMapping, ::testing::Values(
    MappingCase{"c:\\source\\config.ini", "@/c/source/config.ini"},
    MappingCase{"C:/Source\\infos.log", "@/c/Source/infos.log"},
    MappingCase{"d:\\", "@/d"},
    MappingCase{"c:", "@/c"},
    MappingCase{"c:source", ""},
    MappingCase{"cc:\\x", ""},
    MappingCase{"/tmp//a/b/", "/tmp/a/b"},
    MappingCase{"relative/file.scn", ""},
    MappingCase{"", ""}));

struct NameCase {
    const char* name;
    bool accepted;
};

class LocalNames : public HostFolderTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(LocalNames, OnlyPlainNamesReplaceTheLastOne)
{
    IO::Location location("/tmp/folder/scene.scn");
    EXPECT_EQ(location.SetLastLocalName(IO::Name(GetParam().name)), GetParam().accepted ? NoError : ErrParam);
    EXPECT_EQ(location.HostPath(), GetParam().accepted ? std::string("/tmp/folder/") + GetParam().name
                                                       : std::string("/tmp/folder"));
}

INSTANTIATE_TEST_SUITE_P(Names, LocalNames, ::testing::Values(
    NameCase{"other.scn", true}, NameCase{"sub/escape.scn", false}, NameCase{"..", false},
    NameCase{".", false}, NameCase{"", false}));

TEST_F(HostFolderTest, WriteModeEmptiesTheFileBeforeWriting)
{
    const std::string path = write("old.scn", "a much longer previous content");
    IO::File file{IO::Location(path.c_str())};
    ASSERT_EQ(file.Open(IO::File::WriteMode), NoError);
    ASSERT_EQ(file.WriteBin("new", 3), NoError);
    file.Close();
    ASSERT_EQ(file.Open(IO::File::ReadMode), NoError);
    char buffer[64] = {};
    int32_t read = 0;
    EXPECT_EQ(file.ReadBin(buffer, sizeof buffer, &read), ErrIO);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(read)), "new");
}

struct OpenCase {
    const char* what;
    IO::File::OnNotFound onNotFound;
    IO::File::OpenMode mode;
    GSErrCode status;
};

class FileOpening : public HostFolderTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(FileOpening, ReportsWhyAFileCannotBeOpened)
{
    std::string path = mFolder + "/missing.scn";
    if (std::string(GetParam().what) == "folder") {
        path = mFolder;
    }
    IO::File file{IO::Location(path.c_str()), GetParam().onNotFound};
    file.Open(GetParam().mode, IO::NoAskOnAccessDenied);
    EXPECT_EQ(file.GetStatus(), GetParam().status);
    EXPECT_EQ(file.IsOpen(), GetParam().status == NoError);
}

INSTANTIATE_TEST_SUITE_P(Files, FileOpening, ::testing::Values(
    OpenCase{"missing", IO::File::Fail, IO::File::ReadMode, ErrNotFound},
    OpenCase{"missing", IO::File::Create, IO::File::ReadMode, ErrNotFound},
    OpenCase{"missing", IO::File::Create, IO::File::WriteMode, NoError},
    OpenCase{"folder", IO::File::Fail, IO::File::ReadMode, ErrIO}));

TEST_F(HostFolderTest, FoldersAreCreatedAndDeleted)
{
    const IO::Location folder((mFolder + "/Export_Textures").c_str());
    EXPECT_EQ(IO::Folder(folder, IO::Folder::Create).GetStatus(), NoError);
    EXPECT_EQ(IO::Folder(folder, IO::Folder::Create).GetStatus(), NoError);
    EXPECT_TRUE(IO::fileSystem.Contains(folder));
    EXPECT_EQ(IO::fileSystem.Delete(folder), NoError);
    EXPECT_FALSE(IO::fileSystem.Contains(folder));
    EXPECT_EQ(IO::fileSystem.Delete(folder), NoError);
}

struct TypeCase {
    const char* description;
    const char* extension;
    bool accepted;
};

class FileTypes : public HostFolderTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(FileTypes, TheManagerRefusesIncompleteTypes)
{
    FTM::FileTypeManager manager("TemplateFileFTM");
    const FTM::TypeID id = manager.AddType(FTM::FileType(GetParam().description, GetParam().extension, 1, 2, 0));
    EXPECT_EQ(id != FTM::UnknownType, GetParam().accepted);
    if (GetParam().accepted) {
        EXPECT_EQ(FTM::FileTypeManager::GetType(id)->extension, GetParam().extension);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, FileTypes, ::testing::Values(
    TypeCase{"Kestrovin Studio File 3.0", "scn", true}, TypeCase{"Kestrovin Studio File 3.0", ".scn", false},
    TypeCase{"Kestrovin Studio File 3.0", "", false}, TypeCase{"", "scn", false}));

TEST_F(HostFolderTest, TheHostKnowsTiffByItsMimeType)
{
    const FTM::FileType* tiff = FTM::FileTypeManager::GetType(FTM::FileTypeManager::SearchForMime("image/tiff"));
    ASSERT_NE(tiff, nullptr);
    EXPECT_EQ(tiff->extension, "tif");
    EXPECT_EQ(FTM::FileTypeManager::SearchForMime("image/x-unknown"), FTM::UnknownType);
}

}  // namespace
