// The camera path records of older token text: what a record sets, and every failure.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "document/AnimationIO.h"
#include "document/TokenMessages.h"
#include "document/TokenReader.h"
#include "model/Animation.h"
#include "model/Scene.h"
#include "support/FieldVary.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using Strings = std::vector<std::string>;

// A camera path of a scene read from text; outcome is "" or the failure text.
struct PathRead {
    explicit PathRead(const std::string& text, bool owned = true)
        : scene(eCurrentVersionSCN, &feedback, nullptr),
          path(owned ? static_cast<CBaseObjectMgr*>(&scene.animations()) : nullptr)
    {
        ScnTest::MemoryStream stream(text);
        CTokenReader reader(&stream, &scene);
        try {
            CAnimationIO(&reader).read(path);
        } catch (const std::runtime_error& error) {
            outcome = error.what();
        }
    }

    ScnTest::RecordingFeedback feedback;
    CSCN scene;
    CAnimation path;
    std::string outcome;
};

const char* const kRecord =
    "3 \"Tour du jardin\"\n"
    "12.5 24 1.5\n"
    "2\n"
    "0 0 0\n"
    "100 50.5 -20\n"
    "1\n"
    "4 0.1 35 1 4 0.5 -0.25 0.75 1 0.5 2 0.25 10 20 30\n";

TEST(AnimationIO, ARecordSetsThePathItsPointsAndItsKeys)
{
    PathRead read(kRecord);
    EXPECT_EQ(read.outcome, "");
    CAnimation expected(nullptr);
    expected.setName("Tour du jardin");
    expected.setClosed(true);
    expected.setSpeedOn(true);
    expected.setDuration(12.5);
    expected.setNbXImage(24);
    expected.setSpeed(1.5);
    *static_cast<CScnVector*>(expected.points().append()) = CScnVector{0, 0, 0};
    *static_cast<CScnVector*>(expected.points().append()) = CScnVector{100, 50.5, -20};
    CCamKey* key = expected.camKeys().append();
    key->setKeyType(kScnCamKeyTarget);
    key->setPitch(0.1);
    key->setFocal(35);
    key->setFadingDuration(1);
    key->setFadingNbImages(4);
    key->setHorizontalAngle(0.5);
    key->setVerticalAngle(-0.25);
    key->setAnticipation(0.75);
    key->setBezierSection(1);
    key->setBezierT(0.5);
    key->setBezierTransition(2);
    key->setBezierTransitionT(0.25);
    CScnVector target{10, 20, 30};
    key->setTarget(&target);
    EXPECT_EQ(dumpFields(read.path), dumpFields(expected));
    EXPECT_EQ(read.feedback.warnings, Strings{});
}

TEST(AnimationIO, TheFlagSetsClosingAndSpeed)
{
    const std::pair<const char*, std::pair<bool, bool>> flags[] = {
        {"0", {false, false}}, {"1", {true, false}}, {"2", {false, true}}, {"3", {true, true}}};
    for (const auto& flag : flags) {
        PathRead read(std::string(flag.first) + " \"p\"\n4 0 1\n0\n0\n");
        EXPECT_EQ(read.outcome, "") << flag.first;
        EXPECT_EQ(read.path.isClosed(), flag.second.first) << flag.first;
        EXPECT_EQ(read.path.isSpeedOn(), flag.second.second) << flag.first;
    }
}

// Points and keys are added as they are read, whatever the record's counts claim; older values
// of the path are replaced.
TEST(AnimationIO, BadRecordsFailWithTheirMessages)
{
    struct Case {
        const char* what;
        std::string text;
        std::string outcome;
        size_t points;
    };
    const Case cases[] = {
        {"flag above 3", "4 \"p\"\n4 0 1\n0\n0\n", Msg::kWrongAnimationFlag, 0},
        {"negative flag", "-1 \"p\"\n4 0 1\n0\n0\n", Msg::kWrongAnimationFlag, 0},
        {"flag not a number", "x \"p\"\n", TokenMsg::kNotANumber, 0},
        {"negative point count", "0 \"p\"\n4 0 1\n-2\n", TokenMsg::kInvalidTableLength, 0},
        {"a count far beyond the points", "0 \"p\"\n4 0 1\n2000000000\n1 2 3\n4 5 6\n", TokenMsg::kNotANumber, 2},
        {"a key cut short", "0 \"p\"\n4 0 1\n0\n1\n4 0.1 35\n", TokenMsg::kNotANumber, 0},
        {"a key count that is not an integer", "0 \"p\"\n4 0 1\n0\n1.5\n", TokenMsg::kNotAnInteger, 0},
        {"a name cut off by the end", "0 \"p", TokenMsg::kEndOfFileUnexpected, 0}};
    for (const Case& c : cases) {
        PathRead read(c.text);
        EXPECT_EQ(read.outcome, c.outcome) << c.what;
        EXPECT_EQ(read.path.points().size(), c.points) << c.what;
    }
}

TEST(AnimationIO, AReaderIsRequired)
{
    CAnimation path(nullptr);
    std::string outcome;
    try {
        CAnimationIO(nullptr).read(path);
    } catch (const std::runtime_error& error) {
        outcome = error.what();
    }
    EXPECT_EQ(outcome, "No reader provided in CAnimationIO!");
}

// The durations go through the setters: inside a scene a negative one becomes 0 with a report;
// names marked U"..." are UTF-8, others Windows-1252; points take the scene's vector fix-up.
TEST(AnimationIO, ValuesTakeTheRulesOfTheirSetters)
{
    PathRead owned("0 U\"Cour \xC3\xA9t\xC3\xA9\"\n-4 -2 1\n0\n0\n");
    EXPECT_EQ(owned.outcome, "");
    EXPECT_STREQ(owned.path.getName(), "Cour \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(owned.path.getDuration(), 0);
    EXPECT_EQ(owned.path.getNbXImage(), 0);
    EXPECT_EQ(owned.feedback.warnings, (Strings{Msg::kClipDuration, Msg::kClipNbXImage}));
    PathRead free("0 \"Cour \xE9t\xE9\"\n-4 -2 1\n0\n0\n", false);
    EXPECT_STREQ(free.path.getName(), "Cour \xC3\xA9t\xC3\xA9");
    EXPECT_EQ(free.path.getDuration(), -4);
    EXPECT_EQ(free.path.getNbXImage(), -2);
    ScnTest::RecordingFeedback feedback;
    CSCN scene(eCurrentVersionSCN, &feedback, nullptr);
    scene.setLegacyFile(true);
    ScnTest::MemoryStream stream("0 \"p\"\n4 0 1\n1\n1 2 3\n0\n");
    CTokenReader reader(&stream, &scene);
    CAnimation path(&scene.animations());
    CAnimationIO(&reader).read(path);
    EXPECT_EQ(path.getPoints()->getScnObject(0)->y, 3);
    EXPECT_EQ(path.getPoints()->getScnObject(0)->z, 2);
}

}  // namespace
