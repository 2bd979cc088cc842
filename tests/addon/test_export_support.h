// Exports through the add-on's handler as the host runs it, and the written scene read back with
// the library.
#ifndef TEST_EXPORT_SUPPORT_H
#define TEST_EXPORT_SUPPORT_H

#include "test_addon_support.h"

#include <FileStream.h>
#include <Scn.h>

#include <dirent.h>
#include <set>

// Keeps the library's reports while a scene is read back.
class Reports : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char* text) override { texts.push_back(text); }
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
    std::vector<std::string> texts;
};

// A scene file read back; null manager when it could not be read.
struct ReadScene {
    explicit ReadScene(const std::string& path)
    {
        std::unique_ptr<ScnTools::FileStream> stream(ScnTools::FileStream::open(path, "rb"));
        if (stream == nullptr) {
            return;
        }
        manager = NvScn::CScnMgr::create(&reports, nullptr);
        if (manager->read(stream.get()) != 0) {
            manager->release();
            manager = nullptr;
        }
    }
    ~ReadScene()
    {
        if (manager != nullptr) {
            manager->release();
        }
    }
    ReadScene(const ReadScene&) = delete;
    ReadScene& operator=(const ReadScene&) = delete;
    Reports reports;
    NvScn::CScnMgr* manager = nullptr;
};

// The names in a folder, "." and ".." left out; sub-folders end in "/".
inline std::set<std::string> folderContent(const std::string& folder)
{
    std::set<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.insert(name + (entry->d_type == DT_DIR ? "/" : ""));
            }
        }
        ::closedir(dir);
    }
    return names;
}

inline std::string fileContent(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

class ExportTest : public AddOnTest {
protected:
    void SetUp() override
    {
        AddOnTest::SetUp();
        mScenes = mFolder + "/scenes";
        ASSERT_EQ(std::system(("mkdir -p '" + mScenes + "'").c_str()), 0);
    }
    // Writes the configuration file the add-on reads on drive C:; null text: none.
    void configure(const char* text)
    {
        const std::string folder = cadhost::driveRoot() + "/c/source";
        ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
        if (text != nullptr) {
            std::ofstream(folder + "/config.ini", std::ios::binary) << text;
        } else {
            std::remove((folder + "/config.ini").c_str());
        }
    }
    void loadJson(const std::string& json)
    {
        const std::string path = write("model.json", json);
        std::string error;
        ASSERT_TRUE(cadhost::loadModel(path, cadhost::ModelOptions(), &error)) << error;
    }
    // Saves the 3D window into scenes/Export.scn, or into the target.
    GSErrCode exportScene(int32_t noDialog = 1, const std::string& target = std::string())
    {
        return save(5, noDialog, target.empty() ? scenePath() : target);
    }
    std::string scenePath() const { return mScenes + "/Export.scn"; }
    std::string mScenes;
};

#endif
