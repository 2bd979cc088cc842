// A scratch folder for the host's files, removed after each test.
#ifndef TEST_HOST_SUPPORT_H
#define TEST_HOST_SUPPORT_H

#include "CADHost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

class HostFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/cadhost-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        mFolder = pattern;
        cadhost::setHostFolder(mFolder);
        cadhost::resetProject();
        cadhost::clearDebugLog();
        cadhost::clearTranscript();
        cadhost::setLanguage("def");
        cadhost::setDialogScript({});
    }
    void TearDown() override
    {
        const std::string command = "rm -rf '" + mFolder + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    std::string write(const std::string& name, const std::string& content)
    {
        const std::string path = mFolder + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string mFolder;
};

#endif
