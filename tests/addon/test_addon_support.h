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
    // Runs the installed 3D handler as the host does when the user saves the 3D window.
    GSErrCode save(int32_t method = 5, int32_t noDialog = 0)
    {
        IO::Location target((mFolder + "/Export.scn").c_str());
        GS::UniString name("Export.scn");
        API_IOParams params = {};
        params.method = method;
        params.refCon = 1;
        params.fileLoc = &target;
        params.fileName = &name;
        params.noDialog = noDialog;
        return mAddOn.save3D(1, params, nullptr);
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
