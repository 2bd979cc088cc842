// scntool as a user runs it: its verdicts, counts and reports on files, its exit codes, and the
// file stream it reads and writes through.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FileStream.h"
#include "ScnMgr.h"

namespace {

using ScnTools::FileStream;

std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of its own for each test program run, removed at its end.
struct ScratchFolder {
    ScratchFolder()
    {
        char pattern[] = "/tmp/scntool-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = made != nullptr ? made : "";
    }
    ~ScratchFolder()
    {
        if (!path.empty()) {
            std::filesystem::remove_all(path);
        }
    }
    std::string path;
};

std::string scratch(const std::string& name)
{
    static const ScratchFolder folder;
    return folder.path + "/" + name;
}

// scntool beside the test program: <build>/tests/test_tools and <build>/bin/scntool.
std::string toolPath()
{
    char self[4096] = {};
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, length > 0 ? static_cast<size_t>(length) : 0);
    return path.substr(0, path.find_last_of('/')) + "/../bin/scntool";
}

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun runTool(const std::string& arguments)
{
    std::string out = scratch("stdout.txt");
    std::string err = scratch("stderr.txt");
    int status = std::system((toolPath() + " " + arguments + " >" + out + " 2>" + err).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

const char* const kUsage =
    "usage: scntool info FILE          tell what a scene file holds\n"
    "       scntool convert IN OUT     read a scene file and write it again\n"
    "       scntool materials FILE     list the materials: index, name, flags, colour, texture\n"
    "       scntool render FILE OUT.png [--view NAME|--auto] [--size WxH]\n"
    "                                  draw a picture of the scene\n"
    "       scntool preview FILE OUT.png\n"
    "                                  save the preview picture stored in the file\n"
    "       scntool gltf FILE OUT.glb|OUT.gltf\n"
    "                                  export the scene as glTF 2.0\n";

std::string headLines(const std::string& path, const std::string& verdict)
{
    return "file             " + path + "\nverdict          " + verdict +
           "\ndescription      \nlibrary          none\nminimum version  none\nsafe version     none\n"
           "creator          none\n";
}

struct ToolCase {
    const char* name;
    std::string arguments;
    int exitCode;
    std::string out;
    std::string err;
};

TEST(Scntool, RefusesWhatItCannotReadWithTheLibrarysReports)
{
    const std::string missing = scratch("missing.scn");
    const std::string invalid = scratch("invalid.scn");
    const std::string output = scratch("converted.scn");
    writeFile(invalid, "<?Scn nothing?>\n<Scn.File/>\n");
    const std::string cannotRead = "scntool: cannot read " + invalid + "\n  Not a valid scn file\n";
    const ToolCase cases[] = {
        {"no command", "", 2, "", kUsage},
        {"unknown command", "show " + invalid, 2, "", kUsage},
        {"missing operand", "convert " + invalid, 2, "", kUsage},
        {"missing file", "info " + missing, 1, "", "scntool: cannot open " + missing + ": No such file or directory\n"},
        {"invalid file", "info " + invalid, 1, headLines(invalid, "0 - not a scene file, or not recognised"), cannotRead},
        {"invalid input", "convert " + invalid + " " + output, 1, "", cannotRead},
    };
    for (const ToolCase& c : cases) {
        ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
    }
    EXPECT_EQ(readFile(output), "");
    EXPECT_NE(access(output.c_str(), F_OK), 0);
}

// Writes a scene through the library: a triangle, a preview, one image and an origin.
void writeScene(const std::string& path)
{
    NvScn::CScnMgr* scene = NvScn::CScnMgr::create(nullptr, nullptr);
    scene->setApplication("Kestrovin", "14");
    NvScn::CScnPolygon* polygon = scene->getPolygons()->newScnObject(NvScn::kScnLastIndex);
    for (int32_t i = 0; i < 3; ++i) {
        *scene->getPoints()->newScnObject(NvScn::kScnLastIndex) = {100.0 * i, 50.0 * (i % 2), 0.0};
        polygon->getVertices()->newScnObject(NvScn::kScnLastIndex)->pointIndex = i;
    }
    std::vector<uint32_t> pixels(12, 0x00FF8000u);
    scene->getPreviewImage()->setPixels(4, 3, pixels.data());
    scene->getImages()->newScnObject(NvScn::kScnLastIndex)->setPixels(2, 2, pixels.data());
    NvScn::CScnVector origin = {1.5, -2.0, 0.25};
    scene->getFileInfo()->setOrigin(&origin);
    std::unique_ptr<FileStream> file(FileStream::open(path, "wb"));
    ASSERT_EQ(scene->write(file.get()), 0);
    scene->release();
}

// The lines of the object counts: layers, camera paths, sequences, scenarios, and the components
// with their points and polygons; every scene has one animation and one panorama.
std::string objectLines(const std::string& layers, const std::string& cameraPaths, const std::string& sequences,
                        const std::string& scenarios, const std::string& components)
{
    size_t first = components.find(' ');
    size_t second = components.find(' ', first + 1);
    return "layers           " + layers + "\ncamera paths     " + cameraPaths + "\nanimations       1\nsequences        " +
           sequences + "\nscenarios        " + scenarios + "\npanoramas        1\ncomponents       " +
           components.substr(0, first) + "\ncomp. points     " + components.substr(first + 1, second - first - 1) +
           "\ncomp. polygons   " + components.substr(second + 1) + "\n";
}

std::string infoLines(const std::string& path)
{
    return "file             " + path +
           "\nverdict          3 - written by this library version (3.0.3), or a legacy scene file\n"
           "description      Kestrovin (5.0)\nlibrary          3.0.3\nminimum version  3.0.1\n"
           "safe version     3.0.1\ncreator          Kestrovin\nfile format      5.0\npoints           3\n"
           "polygons         1\nmaterials        0\nlights           0\nviews            0\n"
           "parallel views   0\nheliodons        1\nimages           1\ndefinitions      0\n"
           "instances        0\n" + objectLines("0", "1", "0", "0", "0 0 0") +
           "origin           1.5 -2 0.25\npreview          4 x 3\n";
}

TEST(Scntool, TellsWhatALibraryWrittenFileHoldsAndConvertsIt)
{
    const std::string original = scratch("written.scn");
    const std::string converted = scratch("converted-again.scn");
    writeScene(original);
    ToolRun info = runTool("info " + original);
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out, infoLines(original));
    EXPECT_EQ(info.err, "");

    ToolRun convert = runTool("convert " + original + " " + converted);
    EXPECT_EQ(convert.exitCode, 0);
    EXPECT_EQ(convert.out + convert.err, "");
    info = runTool("info " + converted);
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_EQ(info.out, infoLines(converted));

    const std::string unwritable = scratch("no/such/folder.scn");
    convert = runTool("convert " + original + " " + unwritable);
    EXPECT_EQ(convert.exitCode, 1);
    EXPECT_EQ(convert.err, "scntool: cannot open " + unwritable + ": No such file or directory\n");
}

TEST(Scntool, ListsTheMaterialsAsTheFacadeSeesThem)
{
    const std::string path = scratch("materials.scn");
    NvScn::CScnMgr* scene = NvScn::CScnMgr::create(nullptr, nullptr);
    NvScn::CScnProperty* wall = scene->getMaterials()->newScnObject(NvScn::kScnLastIndex);
    wall->setName("Brick wall");
    wall->setTextureURL("file:///textures/brick.tif");
    wall->setProjection(NvScn::kScnFacadePlanar);
    NvScn::CScnColor brick = {0, 178, 96, 72};
    wall->setDiffuseColor(&brick);
    NvScn::CScnProperty* glass = scene->getMaterials()->newScnObject(NvScn::kScnLastIndex);
    glass->setName("Glass");
    glass->setCastShadow(false);
    glass->setBillboard(true);
    glass->setUVDefined(true);
    std::unique_ptr<FileStream> file(FileStream::open(path, "wb"));
    ASSERT_EQ(scene->write(file.get()), 0);
    ASSERT_TRUE(file->close());
    scene->release();

    ToolRun run = runTool("materials " + path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "0\t\"Brick wall\"\tVCR--\tdiffuse 178 96 72\ttexture \"file:///textures/brick.tif\"\tprojection planar\n"
              "1\t\"Glass\"\tV-RUB\tdiffuse 100 100 100\ttexture \"\"\tprojection none\n");
    EXPECT_EQ(run.err, "");
    const std::string missing = scratch("no-materials.scn");
    run = runTool("materials " + missing);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "scntool: cannot open " + missing + ": No such file or directory\n");
}

// The counts of objects: a layer, a definition placed twice with its geometry, a second camera
// path and two shots of one scenario.
TEST(Scntool, CountsTheObjectsAndTheGeometryOfTheComponents)
{
    const std::string path = scratch("objects.scn");
    NvScn::CScnMgr* scene = NvScn::CScnMgr::create(nullptr, nullptr);
    scene->getLayers()->newScnObject(NvScn::kScnLastIndex)->setName("Garden");
    NvScn::IScnScnObjectDefinition* bench = scene->getObjectDefinitions()->newScnObject(NvScn::kScnLastIndex);
    bench->setClass(NvScn::kScnClassScnObject);
    NvScn::IScnInternalComponentDefinition* geometry =
        scene->getInternalComponentDefinitions()->newScnObject(NvScn::kScnLastIndex);
    geometry->setUUID(bench->getUUID());
    NvScn::CScnPolygon* polygon = geometry->getPolygons()->newScnObject(NvScn::kScnLastIndex);
    for (int32_t i = 0; i < 3; ++i) {
        *geometry->getPoints()->newScnObject(NvScn::kScnLastIndex) = {10.0 * i, 5.0 * (i % 2), 0.0};
        polygon->getVertices()->newScnObject(NvScn::kScnLastIndex)->pointIndex = i;
    }
    for (int32_t i = 0; i < 2; ++i) {
        scene->getObjectInstances()->newScnObject(NvScn::kScnLastIndex)->setAttachedObject(bench->getUUID());
    }
    scene->getMgrEx(6)->getAnimations()->getScnObject(0)->getCameraPaths()->newScnObject(NvScn::kScnLastIndex);
    NvScn::IScnScenario* scenario = scene->getScenarios()->newScnObject(NvScn::kScnLastIndex);
    scenario->getSequences()->newScnObject(NvScn::kScnLastIndex);
    scenario->getSequences()->newScnObject(NvScn::kScnLastIndex);
    std::unique_ptr<FileStream> file(FileStream::open(path, "wb"));
    ASSERT_EQ(scene->write(file.get()), 0);
    file.reset();
    scene->release();

    ToolRun info = runTool("info " + path);
    EXPECT_EQ(info.exitCode, 0);
    const std::string counts = "definitions      1\ninstances        2\n" + objectLines("1", "2", "2", "1", "1 3 1");
    EXPECT_NE(info.out.find(counts), std::string::npos) << info.out;
    EXPECT_EQ(info.err, "");
}

TEST(FileStream, ReadsSeeksAndOpensSiblings)
{
    const std::string path = scratch("stream.bin");
    writeFile(path, "0123456789");
    writeFile(scratch("sibling.txt"), "sibling");
    std::string error;
    FileStream* stream = FileStream::open(path, "rb", &error);
    ASSERT_NE(stream, nullptr) << error;
    char name[16] = {};
    EXPECT_TRUE(stream->getName(name, sizeof name));
    EXPECT_STREQ(name, "stream.bin");
    EXPECT_FALSE(stream->getName(name, 10));
    char bytes[8] = {};
    EXPECT_EQ(stream->read(bytes, 4), 4);
    EXPECT_EQ(std::string(bytes, 4), "0123");
    stream->setPosition(8);
    EXPECT_EQ(stream->getPosition(), 8);
    EXPECT_EQ(stream->read(bytes, 8), 2);
    EXPECT_EQ(stream->read(bytes, 8), 0);

    NvScn::CScnStream* sibling = stream->openSecondaryStream("sibling.txt", 0);
    ASSERT_NE(sibling, nullptr);
    EXPECT_EQ(sibling->read(bytes, 8), 7);
    sibling->release();
    EXPECT_EQ(stream->openSecondaryStream("absent.txt", 0), nullptr);
    // The owner of a stream made by open destroys it; release leaves it alone.
    stream->release();
    EXPECT_EQ(stream->getPosition(), 10);
    delete stream;

    EXPECT_EQ(FileStream::open(scratch("no/such/folder"), "wb", &error), nullptr);
    EXPECT_EQ(error, "No such file or directory");
}

TEST(FileStream, ReportsAWriteThatTheFileSystemRefuses)
{
    FileStream* full = FileStream::open("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    std::string block(1 << 21, 'x');
    full->write(block.data(), static_cast<int32_t>(block.size()));
    EXPECT_FALSE(full->close());
    delete full;

    const std::string path = scratch("written.bin");
    FileStream* stream = FileStream::open(path, "wb");
    stream->write("abc", 3);
    EXPECT_TRUE(stream->close());
    delete stream;
    EXPECT_EQ(readFile(path), "abc");
}

}  // namespace
