// The field lists of object definitions and instances: the document forms of what they hold, and
// the way back through the written bytes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/ObjectDefinition.h"
#include "model/ObjectInstance.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/XmlSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;

class ObjectsTest : public ScnTest::SceneFixture {
protected:
    CScnObjectInstance* newInstance()
    {
        return static_cast<CScnObjectInstance*>(mScene->getObjectInstances()->newScnObject(kScnLastIndex));
    }
    CScnScnObjectDefinition* newDefinition()
    {
        return static_cast<CScnScnObjectDefinition*>(
            mScene->getObjectDefinitions()->newScnObject(kScnLastIndex));
    }
};

// The bytes of an object's element written under a scratch parent.
template <class Object>
std::string written(Object& object)
{
    ScnTest::XmlScratch scratch;
    return ScnTest::writeElement(writeFields(object, scratch.parent()));
}

// Reads the bytes into object with identifiers as the document loader takes them; answers the
// failure text, "" when the read completed.
template <class Object>
std::string readBack(const std::string& bytes, Object& object)
{
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(bytes);
    try {
        readFields(object, ScnTest::documentElement(*tree));
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}

TEST_F(ObjectsTest, AnInstanceWritesItsNamesAndIdentifiers)
{
    CScnObjectInstance* instance = newInstance();
    ASSERT_NE(instance, nullptr);
    EXPECT_NE(dumpFields(*instance), dumpFields(*newInstance())) << "each instance draws its own UUID";
    CScnUUID uuid{};
    uuid.bytes[0] = 0xAB;
    CScnUUID attached{};
    attached.bytes[15] = 0x01;
    instance->setName("Chair & <1>");
    instance->setClass("ModelObject");
    instance->setUUID(&uuid);
    instance->setAttachedObject(&attached);
    EXPECT_EQ(written(*instance), "<Object.Instance\n"
                                  "\t UUID=\"AB000000000000000000000000000000\"\n"
                                  "\t Attach.Id=\"00000000000000000000000000000001\">\n"
                                  "\t<Name en=\"Chair &amp; &lt;1>\"/>\n"
                                  "\t<Class en=\"ModelObject\"/>\n"
                                  "</Object.Instance>");
    EXPECT_EQ(mFeedback.warnings, std::vector<std::string>{});
}

TEST_F(ObjectsTest, ADefinitionWritesItsNameInEveryLanguage)
{
    CScnScnObjectDefinition* definition = newDefinition();
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(written(*definition), "<Object.Definition>\n\t<Name/>\n</Object.Definition>");
    definition->setName(languageCode("en"), "Chair");
    definition->setName(languageCode("fr"), "Chaise");
    definition->setName(languageCode("en"), "Seat");
    EXPECT_EQ(written(*definition), "<Object.Definition>\n\t<Name\n\t\t en=\"Seat\"\n\t\t fr=\"Chaise\"/>\n"
                                    "</Object.Definition>");
    EXPECT_EQ(definition->getNameCount(), 2u);
}

TEST_F(ObjectsTest, EveryFieldComesBackThroughTheWrittenBytes)
{
    CScnObjectInstance* instance = newInstance();
    CScnObjectInstance* instanceBack = newInstance();
    ScnTest::varyFields(*instance);
    EXPECT_EQ(readBack(written(*instance), *instanceBack), "");
    EXPECT_EQ(dumpFields(*instanceBack), dumpFields(*instance));

    CScnScnObjectDefinition* definition = newDefinition();
    CScnScnObjectDefinition* definitionBack = newDefinition();
    ScnTest::varyFields(*definition);
    definitionBack->setName(languageCode("de"), "Stuhl");
    EXPECT_EQ(readBack(written(*definition), *definitionBack), "");
    EXPECT_EQ(dumpFields(*definitionBack), dumpFields(*definition));
    EXPECT_EQ(definitionBack->getName(languageCode("de")), nullptr);
}

TEST_F(ObjectsTest, AnInstanceWithoutARequiredItemStopsThere)
{
    const std::string uuid = "UUID=\"000102030405060708090A0B0C0D0E0F\"";
    const struct {
        std::string document;
        std::string failure;
        const char* name;
    } cases[] = {
        {"<Object.Instance " + uuid + " Attach.Id=\"" + std::string(32, '0') + "\"><Name en=\"A\"/><Class en=\"B\"/>"
         "</Object.Instance>",
         "", "A"},
        {"<Object.Instance " + uuid + "><Name en=\"A\"/><Class en=\"B\"/></Object.Instance>",
         ScnTest::nullPointerText(), "A"},
        {"<Object.Instance><Name en=\"A\"/></Object.Instance>", ScnTest::nullPointerText(), "A"},
        {"<Object.Instance UUID=\"12\"><Name en=\"A\"/><Class en=\"B\"/></Object.Instance>",
         ScnTest::plainFailureText(), "A"},
        {"<Object.Instance/>", ScnTest::nullPointerText(), ""},
    };
    for (const auto& c : cases) {
        CScnObjectInstance* instance = newInstance();
        EXPECT_EQ(readBack(c.document, *instance), c.failure) << c.document;
        EXPECT_STREQ(instance->getName(), c.name) << c.document;
    }
}

}  // namespace
