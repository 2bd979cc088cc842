// Node copies that fail part way, and what they leave behind.
#include <gtest/gtest.h>

#include <string>

#include "test_xml_support.h"

using namespace NuvoraXML;
using XmlTest::errorOf;

namespace {

// A data object that counts the live objects of its kind.
struct CountedCData : XIXMLData::IXMLCData {
    explicit CountedCData(int* live) : mLive(live) { ++*mLive; }
    ~CountedCData() override { --*mLive; }
    bool Write(XIXMLWriteStream*, int32_t, XIXMLData*) override { return true; }
    IXMLCData* Clone() override { return new CountedCData(mLive); }
    void Release() override { delete this; }
    int* mLive;
};

}  // namespace

// Copying a data node to an element that has one already fails, and frees the clone it made.
TEST(AuditNodeCopy, RefusedDataCopyFreesItsClone)
{
    int live = 0;
    {
        XCXMLTree tree;
        XIXMLElement* root = tree.GetRoot();
        XIXMLElement* source = root->AddElement(root->GetKey("s"));
        XIXMLData* data = source->AddData(new CountedCData(&live));
        for (bool text : {true, false}) {
            XIXMLElement* target = root->AddElement(root->GetKey("t"));
            if (text) {
                target->AddData("x");
            } else {
                target->AddData(new CountedCData(&live));
            }
            int before = live;
            EXPECT_EQ("Only one data node for an element", errorOf([&] { data->AsNode()->CopyTo(target); }));
            EXPECT_EQ(before, live) << (text ? "text" : "object");
        }
    }
    EXPECT_EQ(0, live);
}

// A subtree copy that fails part way (a data object that cannot be cloned) leaves the target as
// it was, and the source whole.
TEST(AuditNodeCopy, FailedSubtreeCopyLeavesNoPartialCopy)
{
    struct Uncloneable : XIXMLData::IXMLCData {
        bool Write(XIXMLWriteStream*, int32_t, XIXMLData*) override { return true; }
        IXMLCData* Clone() override { return nullptr; }
        void Release() override { delete this; }
    };
    XCXMLTree tree;
    XIXMLElement* root = tree.GetRoot();
    XIXMLElement* source = root->AddElement(root->GetKey("s"));
    source->AddElement(root->GetKey("first"))->AddData("1");
    source->AddElement(root->GetKey("block"))->AddData(new Uncloneable);
    source->AddElement(root->GetKey("last"));
    XIXMLElement* target = root->AddElement(root->GetKey("t"));
    target->AddComment("kept");
    const std::string before = XmlTest::writeElement(root);
    for (XIXMLElement* into : {target, source, source->GetFirstElement()}) {
        EXPECT_EQ("exception", errorOf([&] { source->AsNode()->CopyTo(into); }));
        EXPECT_EQ(before, XmlTest::writeElement(root));
    }
}
