// A scratch host folder, the add-on loaded as the host loads it, and the stored options.
#ifndef TEST_ADDON_SUPPORT_H
#define TEST_ADDON_SUPPORT_H

#include "../host/test_host_support.h"
#include "DG.h"
#include "ExportOptions.h"

#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <functional>

class AddOnTest : public HostFolderTest {
protected:
    void TearDown() override
    {
        mAddOn.unload();
        HostFolderTest::TearDown();
    }
    void loadAddOn()
    {
        ASSERT_TRUE(mAddOn.load(KSV_ADDON_PATH)) << mAddOn.error();
        cadhost::clearDebugLog();
    }
    // Runs the installed 3D handler as the host does when the user saves the 3D window, with the
    // host's own view of the project, into the target (default: Export.scn of the folder).
    GSErrCode save(int32_t method = 5, int32_t noDialog = 0, const std::string& target = std::string())
    {
        const cadhost::SaveRequest request(target.empty() ? mFolder + "/Export.scn" : target, method, noDialog);
        Modeler::Sight* sight = cadhost::openSight();
        const GSErrCode result = mAddOn.save3D(1, request.params, sight);
        EXPECT_EQ(sight->GetReferenceCount(), 1) << "the add-on kept a view reference";
        sight->RemoveReference();
        EXPECT_EQ(cadhost::liveModelData(), 0) << "the add-on kept the model";
        return result;
    }
    // The stored options record; false when none of the right size is stored.
    bool storedOptions(KSV::ExportOptions* options)
    {
        std::ifstream file(cadhost::preferencesPath("KestrovinOut"), std::ios::binary);
        std::string content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (content.size() != 16 + sizeof *options) {
            return false;
        }
        std::memcpy(options, content.data() + 16, sizeof *options);
        return true;
    }
    void storeOptions(const KSV::ExportOptions& options, int32_t version = 2, int32_t size = 1048)
    {
        ASSERT_EQ(std::system(("mkdir -p '" + mFolder + "/Preferences'").c_str()), 0);
        std::string content("CADHPREF", 8);
        content.append(reinterpret_cast<const char*>(&version), 4);
        content.append(reinterpret_cast<const char*>(&size), 4);
        content.append(reinterpret_cast<const char*>(&options), std::min<std::size_t>(sizeof options, static_cast<std::size_t>(size)));
        std::ofstream(cadhost::preferencesPath("KestrovinOut"), std::ios::binary) << content;
    }
    cadhost::AddOn mAddOn;
};

#endif

#include "Module.h"

// The add-on's classes linked into the test, calling the host with the token of the add-on that
// the host loaded, so that the host's services answer them.
class AddOnClassesTest : public AddOnTest {
protected:
    void SetUp() override
    {
        AddOnTest::SetUp();
        loadAddOn();
        KSV::module().resModule = RSAddModule(KSV_ADDON_PATH);
        std::memcpy(KSV::module().table, cadhost::serviceTable(), sizeof KSV::module().table);
        KSV::module().ready = true;
        KSV::module().token = mAddOn.token;
    }
    void TearDown() override
    {
        RSRemoveModule(KSV::module().resModule);
        KSV::module().resModule = -1;
        KSV::module().ready = false;
        KSV::module().token = 0;
        AddOnTest::TearDown();
    }
    // Reads a host-model text into the project.
    void loadJson(const std::string& json)
    {
        const std::string path = write("model.json", json);
        std::string error;
        ASSERT_TRUE(cadhost::loadModel(path, cadhost::ModelOptions(), &error)) << error;
        cadhost::clearDebugLog();
    }
};
