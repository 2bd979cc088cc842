// Internal component definitions and object instances as a client sees them.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "Scn.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;

bool isNull(const CScnUUID& uuid)
{
    static const CScnUUID null{};
    return std::memcmp(&uuid, &null, sizeof uuid) == 0;
}

TEST(SceneObjects, NewDefinitionsHaveTheirOwnIdentityAndTables)
{
    ScnTest::RecordingFeedback feedback;
    CScnMgr* manager = CScnMgr::create(&feedback, nullptr);
    TScnObjectMgr<IScnInternalComponentDefinition>* components = manager->getInternalComponentDefinitions();
    std::set<std::string> identities;
    for (int i = 0; i < 3; ++i) {
        IScnInternalComponentDefinition* component = components->newScnObject(kScnLastIndex);
        ASSERT_NE(component, nullptr);
        EXPECT_FALSE(isNull(*component->getUUID()));
        identities.insert(std::string(reinterpret_cast<const char*>(component->getUUID()), 16));
        EXPECT_EQ(component->getGeometryLevel(), 0);
        EXPECT_NE(component->getPoints(), manager->getPoints());
        EXPECT_NE(component->getPolygons(), manager->getPolygons());
        component->getPoints()->newScnObject(kScnLastIndex)->x = i;
    }
    EXPECT_EQ(identities.size(), 3u);
    EXPECT_EQ(manager->getPoints()->getNbObjects(), 0);
    IScnInternalComponentDefinition* first = components->getScnObject(0);
    CScnUUID chosen{};
    chosen.bytes[15] = 9;
    first->setUUID(&chosen);
    first->setUUID(nullptr);
    first->setGeometryLevel(-4);
    EXPECT_EQ(first->getUUID()->bytes[15], 9);
    EXPECT_EQ(first->getGeometryLevel(), -4);
    EXPECT_EQ(first->getPoints()->getNbObjects(), 1);
    EXPECT_TRUE(feedback.warnings.empty());
    manager->release();
}

TEST(SceneObjects, InstancesNameTheDefinitionTheyPlace)
{
    CScnMgr* manager = CScnMgr::create(nullptr, nullptr);
    IScnObjectInstance* instance = manager->getObjectInstances()->newScnObject(kScnLastIndex);
    ASSERT_NE(instance, nullptr);
    EXPECT_STREQ(instance->getName(), "");
    EXPECT_STREQ(instance->getClass(), "");
    EXPECT_FALSE(isNull(*instance->getUUID()));
    EXPECT_TRUE(isNull(*instance->getAttachedObject()));
    instance->setName("Roof");
    instance->setName(nullptr);
    instance->setClass("ModelObject");
    const CScnUUID* component = manager->getInternalComponentDefinitions()->newScnObject(kScnLastIndex)->getUUID();
    instance->setAttachedObject(component);
    instance->setAttachedObject(nullptr);
    EXPECT_STREQ(instance->getName(), "Roof");
    EXPECT_STREQ(instance->getClass(), "ModelObject");
    EXPECT_EQ(std::memcmp(instance->getAttachedObject(), component, sizeof(CScnUUID)), 0);
    manager->release();
}

}  // namespace
