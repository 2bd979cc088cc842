// The key cache of the tree reader: the keys it gives are the key table's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xml/KeyCache.h"
#include "xml/XMLNodes.h"

using namespace NuvoraXML;

TEST(KeyCache, GivesTheKeyTablesKeyForEveryName)
{
    XCXMLTree tree;
    XCXMLRoot* root = tree.GetRoot();
    std::vector<std::string> names;
    // Every length around the two words of a name's head, names that differ in one middle byte
    // only, and enough names to grow the cache several times.
    for (size_t length = 1; length <= 40; ++length) {
        std::string name(length, 'a');
        names.push_back(name);
        name[length / 2] = 'b';
        names.push_back(name);
        name[length - 1] = 'c';
        names.push_back(name);
    }
    for (int i = 0; i < 3000; ++i) {
        names.push_back("Name." + std::to_string(i));
    }
    CKeyCache cache;
    cache.Reset();
    for (int round = 0; round < 2; ++round) {
        for (const std::string& name : names) {
            ASSERT_EQ(root->GetKey(name.c_str()), cache.GetKey(name.c_str(), name.size(), root)) << name;
        }
    }
}

TEST(KeyCache, ANameWithANulByteHasTheKeyOfItsFirstPart)
{
    XCXMLTree tree;
    XCXMLRoot* root = tree.GetRoot();
    CKeyCache cache;
    cache.Reset();
    const char* key = root->GetKey("a");
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(key, cache.GetKey("a\0b", 3, root));
        EXPECT_EQ(key, cache.GetKey("a\0c", 3, root));
        EXPECT_EQ(key, cache.GetKey("a", 1, root));
        EXPECT_EQ(root->GetKey("ab"), cache.GetKey("ab", 2, root));
    }
}

TEST(KeyCache, ResetForgetsTheKeysOfTheLastTree)
{
    CKeyCache cache;
    cache.Reset();
    XCXMLTree first;
    for (int i = 0; i < 1000; ++i) {
        std::string name = "n" + std::to_string(i);
        cache.GetKey(name.c_str(), name.size(), first.GetRoot());
    }
    cache.Reset();
    XCXMLTree second;
    EXPECT_EQ(second.GetRoot()->GetKey("n7"), cache.GetKey("n7", 2, second.GetRoot()));
    EXPECT_NE(first.GetRoot()->GetKey("n7"), cache.GetKey("n7", 2, second.GetRoot()));
}
