// A scene with a recording feedback, and XML helpers shared by the view, environment and rendering
// tests.
#ifndef SCN_TEST_VIEW_SUPPORT_H
#define SCN_TEST_VIEW_SUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/Scene.h"
#include "support/Locale.h"
#include "support/TestSupport.h"
#include "support/XmlSupport.h"

namespace ViewTest {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using Strings = std::vector<std::string>;

// The reports a setter sends: its text inside a scene, nothing for a free object.
inline Strings expectedReports(bool inScene, const char* report)
{
    return inScene && report != nullptr ? Strings{report} : Strings{};
}

// A scene whose reports are recorded.
class SceneFixture : public ::testing::Test {
protected:
    SceneFixture() : mManager(NvScn::CScnMgr::create(&mFeedback, nullptr)) {}
    ~SceneFixture() override { mManager->release(); }

    NvScn::CSCN& scene() { return *static_cast<NvScn::CSCN*>(mManager); }
    // The scene as the owner of objects made in a test.
    NvScn::CBaseObjectMgr* owner() { return static_cast<NvScn::CBaseObjectMgr*>(&scene()); }
    std::vector<std::string>& warnings() { return mFeedback.warnings; }
    // Runs check(object, inScene) on a free Object and on one owned by the scene, each time with
    // no report recorded yet.
    template <class Object, class Check>
    void forFreeAndOwned(Check&& check)
    {
        for (bool inScene : {false, true}) {
            warnings().clear();
            Object object(inScene ? owner() : nullptr);
            check(object, inScene);
        }
    }

    ScnTest::RecordingFeedback mFeedback;
    NvScn::CScnMgr* mManager;
};

// A document parsed from text, its document element at hand.
struct Parsed {
    explicit Parsed(const std::string& text) : tree(ScnTest::parseDocument(text)) {}
    XIXMLElement* element() { return ScnTest::documentElement(*tree); }
    std::unique_ptr<NuvoraXML::XCXMLTree> tree;
};

// Names of the child elements of element, in order.
inline std::vector<std::string> childNames(XIXMLElement* element)
{
    std::vector<std::string> names;
    for (XIXMLElement* child = element->GetFirstElement(); child != nullptr; child = child->GetNextElement()) {
        names.push_back(child->GetName());
    }
    return names;
}

}  // namespace ViewTest

#endif
