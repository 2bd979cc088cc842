// Animations, camera paths, key frames in every value type, 3D paths, sequences, scenarios and
// panoramas: round trips of every kind, the forms of the values, setter rules and bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "model/Animation.h"
#include "model/Panorama.h"
#include "model/Scenario.h"
#include "model/Scene.h"
#include "support/Failures.h"
#include "support/FieldVary.h"
#include "support/Locale.h"
#include "support/TestSupport.h"

namespace {

using namespace NvScn;
using NuvoraXML::XIXMLElement;
using Strings = std::vector<std::string>;

class AnimationScene : public ScnTest::SceneFixture {
protected:
    CBaseObjectMgr* owner() { return &mScene->animations(); }
};

// The round trip of a kind, free and owned by a scene. Varying rendering options inside a scene
// reports the luminosity it clamps; no other report may come.
template <class Kind>
void expectFreeAndOwnedRoundTrip(CBaseObjectMgr* owner, ScnTest::RecordingFeedback& feedback, const char* name,
                                 void (*prepare)(Kind&) = nullptr)
{
    for (CBaseObjectMgr* each : {static_cast<CBaseObjectMgr*>(nullptr), owner}) {
        feedback.warnings.clear();
        Kind source(each);
        Kind target(each);
        if (prepare != nullptr) {
            prepare(target);
        }
        std::string label = std::string(name) + (each ? " owned" : " free");
        ScnTest::expectRoundTrip(source, target, label.c_str());
        Strings others;
        for (const std::string& warning : feedback.warnings) {
            if (warning != Msg::kLuminosityRange) {
                others.push_back(warning);
            }
        }
        EXPECT_EQ(others, Strings{}) << label;
    }
}

// Every kind that has a document form of its own; the others (camera keys, time guides, sounds,
// link ends, hot spots) travel inside these, two varied items per list.
TEST_F(AnimationScene, EveryKindComesBackWithAllItsFieldsInEveryLocale)
{
    ScnTest::inPlainAndCommaLocales([&](bool) {
        expectFreeAndOwnedRoundTrip<CScnKeyFrame>(owner(), mFeedback, "CScnKeyFrame");
        expectFreeAndOwnedRoundTrip<CScnInterpolatedValue>(owner(), mFeedback, "CScnInterpolatedValue");
        expectFreeAndOwnedRoundTrip<CScnAnimatedElement>(owner(), mFeedback, "CScnAnimatedElement");
        expectFreeAndOwnedRoundTrip<CAnimation>(owner(), mFeedback, "CAnimation");
        // A new animation holds a camera path; the target starts without, so that its list differs.
        expectFreeAndOwnedRoundTrip<CScnAnimation>(owner(), mFeedback, "CScnAnimation",
                                                   [](CScnAnimation& a) { a.cameraPaths().clear(); });
        expectFreeAndOwnedRoundTrip<CScnBezierPoint>(owner(), mFeedback, "CScnBezierPoint");
        expectFreeAndOwnedRoundTrip<CScn3DPath>(owner(), mFeedback, "CScn3DPath");
        expectFreeAndOwnedRoundTrip<CScnSequence>(owner(), mFeedback, "CScnSequence");
        expectFreeAndOwnedRoundTrip<CScnScenario>(owner(), mFeedback, "CScnScenario");
        expectFreeAndOwnedRoundTrip<CVRPanorama>(owner(), mFeedback, "CVRPanorama");
        expectFreeAndOwnedRoundTrip<CVRPanoLink>(owner(), mFeedback, "CVRPanoLink");
        expectFreeAndOwnedRoundTrip<CScnPanorama>(owner(), mFeedback, "CScnPanorama");
    });
}

TEST(CameraPath, ANewPathIsSequenceZeroOfFourSecondsAndIsWrittenSo)
{
    CAnimation path(nullptr);
    EXPECT_STREQ(path.getName(), "Sequence 0");
    EXPECT_EQ(path.getDuration(), 4.0);
    ScnTest::XmlScratch scratch;
    EXPECT_EQ(ScnTest::writeElement(path.putInXML(scratch.parent())),
              "<Camera.Path>\n"
              "\t<Name en=\"Sequence 0\"/>\n"
              "\t<View.Flags>0</View.Flags>\n"
              "\t<Movie.Duration>4.000000</Movie.Duration>\n"
              "\t<Nb.Images.Extra>0</Nb.Images.Extra>\n"
              "\t<Speed>1.000000</Speed>\n"
              "\t<Points/>\n"
              "\t<Camera.Keys/>\n"
              "\t<Current.Time>0.000000</Current.Time>\n"
              "</Camera.Path>");
}

// Duration and extra images are owner-gated: inside a scene a value below 0 becomes 0 and is
// reported, also when it comes from a file; a free path keeps what it is given.
TEST_F(AnimationScene, DurationAndExtraImagesKeepAboveZeroInsideAScene)
{
    struct Case {
        const char* what;
        std::function<void(CAnimation&)> set;
        std::function<double(const CAnimation&)> get;
        double inScene;
        double free;
        const char* report;
    };
    const Case cases[] = {
        {"negative duration", [](CAnimation& p) { p.setDuration(-1); }, [](const CAnimation& p) { return p.getDuration(); },
         0, -1, Msg::kClipDuration},
        {"zero duration", [](CAnimation& p) { p.setDuration(0); }, [](const CAnimation& p) { return p.getDuration(); }, 0,
         0, nullptr},
        {"long duration", [](CAnimation& p) { p.setDuration(1e9); },
         [](const CAnimation& p) { return p.getDuration(); }, 1e9, 1e9, nullptr},
        {"negative extra images", [](CAnimation& p) { p.setNbXImage(-3); },
         [](const CAnimation& p) { return p.getNbXImage(); }, 0, -3, Msg::kClipNbXImage},
        {"extra images", [](CAnimation& p) { p.setNbXImage(25); }, [](const CAnimation& p) { return p.getNbXImage(); },
         25, 25, nullptr},
        {"duration read from a file",
         [](CAnimation& p) {
             ScnTest::XmlScratch scratch;
             CAnimation source(nullptr);
             source.setDuration(-2.5);
             source.setNbXImage(-1);
             p.initWithXML(source.putInXML(scratch.parent()));
         },
         [](const CAnimation& p) { return p.getDuration() + 1000 * p.getNbXImage(); }, 0, -1002.5, nullptr},
    };
    for (const Case& c : cases) {
        for (bool inScene : {false, true}) {
            mFeedback.warnings.clear();
            CAnimation path(inScene ? owner() : nullptr);
            c.set(path);
            EXPECT_EQ(c.get(path), inScene ? c.inScene : c.free) << c.what << " " << inScene;
            Strings reports = inScene && c.report ? Strings{c.report} : Strings{};
            if (std::string(c.what) == "duration read from a file" && inScene) {
                reports = {Msg::kClipDuration, Msg::kClipNbXImage};
            }
            EXPECT_EQ(mFeedback.warnings, reports) << c.what << " " << inScene;
        }
    }
}

TEST_F(AnimationScene, ASequenceFocalStaysWithinZeroAnd180InsideAScene)
{
    const double inputs[] = {-5, 0, 90, 180, 200};
    const double clamped[] = {0, 0, 90, 180, 180};
    for (size_t i = 0; i < 5; ++i) {
        for (bool inScene : {false, true}) {
            mFeedback.warnings.clear();
            CScnSequence sequence(inScene ? owner() : nullptr);
            sequence.setFocal(inputs[i]);
            EXPECT_EQ(sequence.getFocal(), inScene ? clamped[i] : inputs[i]) << inputs[i];
            bool clipped = inScene && clamped[i] != inputs[i];
            EXPECT_EQ(mFeedback.warnings, clipped ? Strings{Msg::kClipFocal} : Strings{}) << inputs[i];
        }
    }
}

// The forms of a key frame's value and control points, one per value type.
struct ValueFormCase {
    int32_t type;
    std::function<void(IScnAnimatedValue&, int)> set;
    const char* attributes;  // the key frame's attributes after "Type"
    const char* elements;    // the value elements between "Visible" and "AreLocked"
};

class KeyFrameValueForm : public ::testing::TestWithParam<ValueFormCase> {};

TEST_P(KeyFrameValueForm, EachValueTypeWritesItsValueAndControlPointsInItsOwnForm)
{
    const ValueFormCase& c = GetParam();
    CScnKeyFrame frame(nullptr);
    frame.setType(c.type);
    frame.setTime(1.5);
    frame.setInterpolationType(kScnInterpolationBezier);
    frame.setLocked(true);
    c.set(*frame.getValue(), 1);
    c.set(*frame.getCPBefore(), 2);
    c.set(*frame.getCPAfter(), 3);
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = frame.putInXML(scratch.parent());
    ASSERT_NE(element, nullptr);
    const std::string bytes = ScnTest::writeElement(element);
    EXPECT_EQ(bytes, std::string("<KeyFrame\n\t Type=\"") + kValueTypeLabels.labelOf(c.type) + "\"" + c.attributes +
                         "\n\t Interpolation.Type=\"Bezier\">\n\t<Time>1.500000</Time>\n\t<Visible/>\n" + c.elements +
                         "\t<AreLocked/>\n</KeyFrame>");
    CScnKeyFrame read(nullptr);
    std::unique_ptr<NuvoraXML::XCXMLTree> tree = ScnTest::parseDocument(bytes);
    EXPECT_TRUE(read.initWithXML(ScnTest::firstElement(*tree)));
    EXPECT_EQ(dumpFields(read), dumpFields(frame));
}

CScnVector vectorOf(int n)
{
    return CScnVector{n * 1.0, n * 2.0, -n * 0.5};
}

INSTANTIATE_TEST_SUITE_P(
    Types, KeyFrameValueForm,
    ::testing::Values(
        ValueFormCase{kScnValueCoord3D, [](IScnAnimatedValue& v, int n) { CScnVector p = vectorOf(n); v.setVector(&p); },
                      "",
                      "\t<Value\n\t\t X=\"1.000000\"\n\t\t Y=\"2.000000\"\n\t\t Z=\"-0.500000\"/>\n"
                      "\t<CPBefore\n\t\t X=\"2.000000\"\n\t\t Y=\"4.000000\"\n\t\t Z=\"-1.000000\"/>\n"
                      "\t<CPAfter\n\t\t X=\"3.000000\"\n\t\t Y=\"6.000000\"\n\t\t Z=\"-1.500000\"/>\n"},
        ValueFormCase{kScnValueColor,
                      [](IScnAnimatedValue& v, int n) {
                          CScnColor color{0, static_cast<uint8_t>(n), static_cast<uint8_t>(10 * n), 255};
                          v.setColor(&color);
                      },
                      "",
                      "\t<Value\n\t\t R=\"1\"\n\t\t G=\"10\"\n\t\t B=\"255\"/>\n"
                      "\t<CPBefore\n\t\t R=\"2\"\n\t\t G=\"20\"\n\t\t B=\"255\"/>\n"
                      "\t<CPAfter\n\t\t R=\"3\"\n\t\t G=\"30\"\n\t\t B=\"255\"/>\n"},
        ValueFormCase{kScnValueDouble, [](IScnAnimatedValue& v, int n) { v.setDouble(n * 0.25); }, "",
                      "\t<Value>0.250000</Value>\n\t<CPBefore>0.500000</CPBefore>\n\t<CPAfter>0.750000</CPAfter>\n"},
        ValueFormCase{kScnValueBoolean, [](IScnAnimatedValue& v, int n) { v.setBoolean(n != 2); }, "",
                      "\t<Value/>\n\t<CPAfter/>\n"},
        ValueFormCase{kScnValueInteger, [](IScnAnimatedValue& v, int n) { v.setInteger(-n); }, "",
                      "\t<Value>-1</Value>\n\t<CPBefore>-2</CPBefore>\n\t<CPAfter>-3</CPAfter>\n"},
        ValueFormCase{kScnValueDate,
                      [](IScnAnimatedValue& v, int n) {
                          CScnTime* date = v.getDate();
                          date->setMonth(n);
                          date->setDay(10 + n);
                          date->setHour(n);
                          date->setMinute(30);
                          date->setYear(2000 + n);
                      },
                      "",
                      "\t<Value>\n\t\t<Month>1</Month>\n\t\t<Day>11</Day>\n\t\t<Hour>1</Hour>\n\t\t<Minute>30</Minute>\n"
                      "\t\t<Year>2001</Year>\n\t</Value>\n"
                      "\t<CPBefore>\n\t\t<Month>2</Month>\n\t\t<Day>12</Day>\n\t\t<Hour>2</Hour>\n\t\t<Minute>30</Minute>\n"
                      "\t\t<Year>2002</Year>\n\t</CPBefore>\n"
                      "\t<CPAfter>\n\t\t<Month>3</Month>\n\t\t<Day>13</Day>\n\t\t<Hour>3</Hour>\n\t\t<Minute>30</Minute>\n"
                      "\t\t<Year>2003</Year>\n\t</CPAfter>\n"},
        ValueFormCase{kScnValueUUID,
                      [](IScnAnimatedValue& v, int n) {
                          CScnUUID uuid{};
                          uuid.bytes[15] = static_cast<uint8_t>(n);
                          v.setUUID(&uuid);
                      },
                      "\n\t Value=\"00000000000000000000000000000001\"\n\t CPBefore=\"00000000000000000000000000000002\""
                      "\n\t CPAfter=\"00000000000000000000000000000003\"",
                      ""},
        ValueFormCase{kScnValueEnum, [](IScnAnimatedValue& v, int n) { v.setEnum(n + 4); }, "",
                      "\t<Value>5</Value>\n\t<CPBefore>6</CPBefore>\n\t<CPAfter>7</CPAfter>\n"}),
    [](const ::testing::TestParamInfo<ValueFormCase>& info) {
        return std::string(kValueTypeLabels.labelOf(info.param.type));
    });

// Every value type, with every field of the key frame and of its interpolated value varied.
TEST(KeyFrame, EveryValueTypeComesBackThroughAnInterpolatedValue)
{
    for (const LabelEntry& entry : kValueTypeLabels) {
        CScnInterpolatedValue source(nullptr);
        CScnInterpolatedValue target(nullptr);
        ScnTest::varyFields(source);
        source.setType(entry.value);
        ScnTest::FieldVary vary;
        static_cast<CScnAnimatedValue*>(source.getDefaultValue())->visitAs(vary, "Default.Value", entry.value);
        for (int i = 0; i < source.getKeyFrames()->getNbObjects(); ++i) {
            IScnKeyFrame* frame = source.getKeyFrames()->getScnObject(i);
            frame->setType(entry.value);
            for (IScnAnimatedValue* value : {frame->getValue(), frame->getCPBefore(), frame->getCPAfter()}) {
                static_cast<CScnAnimatedValue*>(value)->visitAs(vary, "Value", entry.value);
            }
        }
        bool ok = false;
        std::string bytes = ScnTest::xmlRoundTrip(source, target, &ok);
        EXPECT_TRUE(ok) << entry.label;
        EXPECT_EQ(dumpFields(target), dumpFields(source)) << entry.label << "\n" << bytes;
    }
}

// A key frame whose type is not in the table has no value form: its writing fails, and so does
// the writing of the interpolated value around it; an interpolated value of such a type fails on
// its own label.
TEST_F(AnimationScene, UnknownValueTypesFailTheirWriting)
{
    const std::string keyFrame = "CScnXMLIO::AddKeyFrame : Unknow value type";
    EXPECT_EQ(keyFrame, Msg::kUnknownValueType);
    CScnInterpolatedValue value(owner());
    CScnKeyFrame* frame = static_cast<CScnKeyFrame*>(value.getKeyFrames()->newScnObject(kScnLastIndex));
    ScnTest::XmlScratch scratch;
    for (int32_t type : {8, -1, 100}) {
        frame->setType(type);
        mFeedback.warnings.clear();
        EXPECT_EQ(frame->putInXML(scratch.parent()), nullptr) << type;
        EXPECT_EQ(value.putInXML(scratch.parent()), nullptr) << type;
        EXPECT_EQ(mFeedback.warnings, (Strings{"Exception in CScnKeyFrame::putInXML : " + keyFrame,
                                               "Exception in CScnInterpolatedValue::putInXML : " + keyFrame}))
            << type;
    }
    frame->setType(kScnValueDouble);
    value.setType(8);
    mFeedback.warnings.clear();
    EXPECT_EQ(value.putInXML(scratch.parent()), nullptr);
    EXPECT_EQ(mFeedback.warnings,
              Strings{"Exception in CScnInterpolatedValue::putInXML : No label for the value (8) [Double..Enum]"});
}

TEST(InterpolatedValue, TheLabelsOfTheTablesAreWrittenForTheirValues)
{
    CScnInterpolatedValue value(nullptr);
    value.setPathId(kScnPathLightPower);
    value.setType(kScnValueDouble);
    CScnKeyFrame* frame = static_cast<CScnKeyFrame*>(value.getKeyFrames()->newScnObject(kScnLastIndex));
    frame->setType(kScnValueDouble);
    frame->setInterpolationType(4);
    ScnTest::XmlScratch scratch;
    XIXMLElement* element = value.putInXML(scratch.parent());
    EXPECT_STREQ(XmlForm::findAttribute(element, "Path.Id"), "Light.Power");
    EXPECT_STREQ(XmlForm::findAttribute(element, "Type"), "Double");
    XIXMLElement* key = XmlForm::findChild(XmlForm::findChild(element, "KeyFrames"), "KeyFrame");
    EXPECT_STREQ(XmlForm::findAttribute(key, "Interpolation.Type"), "Bezier");
}

// Each label of a table names one value and each value has one label; the tables name their
// first and last labels in messages.
TEST(AnimationLabels, EveryTableIsOneToOneAndNamesItsEnds)
{
    struct Table {
        const LabelTable& table;
        size_t count;
        const char* first;
        const char* last;
    };
    const Table tables[] = {{kValueTypeLabels, 8, "Double", "Enum"},
                            {kInterpolationLabels, 6, "Linear", "DateInterpolation"},
                            {kCamKeyTypeLabels, 5, "Timing", "Target"},
                            {kSequenceTargetLabels, 4, "Fixed.Vertex", "Object.Instance"},
                            {kPathIdLabels, 206, "Camera.Position", "Property.Glazing.WaterSpeed"}};
    for (const Table& t : tables) {
        std::set<int32_t> values;
        std::set<std::string> labels;
        for (const LabelEntry& entry : t.table) {
            values.insert(entry.value);
            labels.insert(entry.label);
            EXPECT_EQ(t.table.valueOf(entry.label), entry.value) << entry.label;
            EXPECT_STREQ(t.table.labelOf(entry.value), entry.label) << entry.label;
        }
        EXPECT_EQ(values.size(), t.count) << t.first;
        EXPECT_EQ(labels.size(), t.count) << t.first;
        std::string failure;
        try {
            t.table.valueOf("Nothing");
        } catch (const std::exception& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, std::string("Invalid label (Nothing) [") + t.first + ".." + t.last + "]");
    }
}

// "Forward.Path" stands for 1, so that each of the four target types has its own label.
TEST(Sequence, EachTargetTypeHasItsOwnLabel)
{
    const std::pair<int32_t, const char*> types[] = {
        {kScnSequenceFixedVertex, "Fixed.Vertex"},
        {kScnSequenceForwardPath, "Forward.Path"},
        {kScnSequenceRelativeAngle, "Relative.Angle"},
        {kScnSequenceObjectInstance, "Object.Instance"}};
    for (const auto& type : types) {
        CScnSequence source(nullptr);
        CScnSequence target(nullptr);
        source.setTargetType(type.first);
        ScnTest::XmlScratch scratch;
        XIXMLElement* element = source.putInXML(scratch.parent());
        EXPECT_STREQ(XmlForm::findAttribute(element, "Target.Type"), type.second);
        EXPECT_TRUE(target.initWithXML(element));
        EXPECT_EQ(target.getTargetType(), type.first) << type.second;
    }
}

// A kind written varied, cut, and read into a fresh object of the same owner.
struct InputCase {
    const char* what;
    ScnTest::Cut cut;
    // The whole report; empty when the read completes.
    std::string report;
    // The top-level field where the read stops (it and what follows keep the fresh values); null
    // when the read completes.
    const char* stop;
    // Fields a completed read leaves as they were.
    Strings kept;
    // The read stops inside an item of the stop list, which then holds the items read so far:
    // only the report is compared.
    bool insideList = false;
};

// The top-level fields of a dump, each with its nested lines.
std::vector<std::pair<std::string, std::string>> topFields(const std::string& dump)
{
    std::vector<std::pair<std::string, std::string>> fields;
    for (size_t at = 0; at < dump.size();) {
        size_t end = dump.find('\n', at);
        end = end == std::string::npos ? dump.size() : end + 1;
        std::string line = dump.substr(at, end - at);
        if (line[0] != ' ' && line != "]\n" && line != "}\n") {
            fields.emplace_back(line.substr(0, line.find('=')), "");
        }
        fields.back().second += line;
        at = end;
    }
    return fields;
}

// The dump of an object that took read's fields except for those named in kept and those from
// stop on (when stop is given), which hold fresh's.
std::string expectedDump(const std::string& read, const std::string& fresh, const char* stop, const Strings& kept)
{
    auto readFields = topFields(read);
    auto freshFields = topFields(fresh);
    EXPECT_EQ(readFields.size(), freshFields.size());
    std::string out;
    bool stopped = false;
    for (size_t i = 0; i < readFields.size() && i < freshFields.size(); ++i) {
        const std::string& name = readFields[i].first;
        stopped = stopped || (stop != nullptr && name == stop);
        bool keep = stopped || std::find(kept.begin(), kept.end(), name) != kept.end();
        out += keep ? freshFields[i].second : readFields[i].second;
    }
    return out;
}

template <class Kind, class Prepare>
void expectInputCases(const std::vector<InputCase>& cases, CBaseObjectMgr* owner,
                      ScnTest::RecordingFeedback& feedback, const char* name, Prepare prepare)
{
    for (const InputCase& c : cases) {
        Kind source(owner);
        ScnTest::varyFields(source);
        ScnTest::XmlScratch scratch;
        std::unique_ptr<NuvoraXML::XCXMLTree> tree =
            ScnTest::parseDocument(ScnTest::writeElement(source.putInXML(scratch.parent())));
        XIXMLElement* element = ScnTest::firstElement(*tree);
        c.cut(element);
        Kind target(owner);
        prepare(target);
        const std::string fresh = dumpFields(target);
        feedback.warnings.clear();
        bool ok = target.initWithXML(element);
        EXPECT_EQ(ok, c.report.empty()) << name << ": " << c.what;
        EXPECT_EQ(feedback.warnings, c.report.empty() ? Strings{} : Strings{c.report}) << name << ": " << c.what;
        if (!c.insideList) {
            EXPECT_EQ(dumpFields(target), expectedDump(dumpFields(source), fresh, c.stop, c.kept))
                << name << ": " << c.what;
        }
    }
}

template <class Kind>
void expectInputCases(const std::vector<InputCase>& cases, CBaseObjectMgr* owner,
                      ScnTest::RecordingFeedback& feedback, const char* name)
{
    expectInputCases<Kind>(cases, owner, feedback, name, [](Kind&) {});
}

std::string missingIn(const char* where)
{
    return ScnTest::nullPointerText(std::string("Exception in ") + where + "::initWithXML : exception");
}

std::string failureIn(const char* where, const std::string& text)
{
    return std::string("Exception in ") + where + "::initWithXML : " + text;
}

// The varied objects of these tables hold values of the type FieldVary gives them; the fresh
// objects the reads go into are given it too, so that their values have the same form.
auto doubleTyped = [](auto& object) { object.setType(kScnValueDouble); };

TEST_F(AnimationScene, BadAnimationInputIsReportedWhereTheReadStops)
{
    expectInputCases<CScnKeyFrame>(
        {{"unknown value type", ScnTest::setAttributeCut("", "Type", "Vector4"),
          failureIn("CScnKeyFrame", "Invalid label (Vector4) [Double..Enum]"), "Type", {}},
         {"unknown interpolation", ScnTest::setAttributeCut("", "Interpolation.Type", "Cubic"),
          failureIn("CScnKeyFrame", "Invalid label (Cubic) [Linear..DateInterpolation]"), "Interpolation.Type", {}},
         {"value missing", ScnTest::removeChildCut("", "Value"), missingIn("CScnKeyFrame"), "Value", {}},
         {"control point missing", ScnTest::removeChildCut("", "CPAfter"), missingIn("CScnKeyFrame"), "CPAfter", {}},
         {"time missing", ScnTest::removeChildCut("", "Time"), missingIn("CScnKeyFrame"), "Time", {}},
         {"a value that is not a number", ScnTest::setTextCut("CPBefore", "soon"),
          failureIn("CScnKeyFrame", ScnTest::plainFailureText()), "CPBefore", {}},
         {"a flag absent is false over a fresh true", ScnTest::removeChildCut("", "Visible"), "", nullptr, {}}},
        owner(), mFeedback, "key frame", doubleTyped);
    expectInputCases<CScnInterpolatedValue>(
        {{"unknown parameter", ScnTest::setAttributeCut("", "Path.Id", "Light.Glow"),
          failureIn("CScnInterpolatedValue", "Invalid label (Light.Glow) [Camera.Position..Property.Glazing.WaterSpeed]"),
          "Path.Id", {}},
         {"parameter missing", ScnTest::removeAttributeCut("", "Path.Id"), missingIn("CScnInterpolatedValue"), "Path.Id",
          {}},
         {"default value missing", ScnTest::removeChildCut("", "Default.Value"), missingIn("CScnInterpolatedValue"),
          "Default.Value", {}},
         {"key frames missing", ScnTest::removeChildCut("", "KeyFrames"), missingIn("CScnInterpolatedValue"),
          "KeyFrames", {}},
         {"a key frame of an unknown type", ScnTest::setAttributeCut("KeyFrames/KeyFrame", "Type", "Matrix"),
          failureIn("CScnInterpolatedValue", "Invalid label (Matrix) [Double..Enum]"), "KeyFrames", {}, true}},
        owner(), mFeedback, "interpolated value", doubleTyped);
    expectInputCases<CScnAnimation>(
        {{"no camera paths: the animation keeps its own", ScnTest::removeChildCut("", "Camera.Paths"), "", nullptr,
          {"Camera.Paths"}},
         {"no animated elements: kept", ScnTest::removeChildCut("", "Animated.Elements"), "", nullptr,
          {"Animated.Elements"}},
         {"interpolated values missing", ScnTest::removeChildCut("", "Interpolated.Values"), missingIn("IScnAnimation"),
          "Interpolated.Values", {}},
         {"an element without its kind", ScnTest::removeAttributeCut("Animated.Elements/Animated.Element", "Type"),
          missingIn("IScnAnimation"), "Animated.Elements", {}, true}},
        owner(), mFeedback, "animation");
    expectInputCases<CAnimation>(
        {{"unknown key type", ScnTest::setAttributeCut("Camera.Keys/Camera.Key", "Key.Type", "Orbit"),
          failureIn("IScnCameraPath", "Invalid label (Orbit) [Timing..Target]"), "Camera.Keys", {}, true},
         {"points missing", ScnTest::removeChildCut("", "Points"), missingIn("IScnCameraPath"), "Points", {}},
         {"current time missing", ScnTest::removeChildCut("", "Current.Time"), missingIn("IScnCameraPath"),
          "Current.Time", {}}},
        owner(), mFeedback, "camera path");
    expectInputCases<CScn3DPath>(
        {{"points missing", ScnTest::removeChildCut("", "Bezier.points"), missingIn("IScn3DPath"), "Bezier.points", {}},
         {"a bad identifier", ScnTest::setAttributeCut("", "UUID", "01234"),
          failureIn("IScn3DPath", ScnTest::plainFailureText()), "UUID", {}}},
        owner(), mFeedback, "3D path");
}

TEST_F(AnimationScene, BadScenarioAndPanoramaInputIsReportedWhereTheReadStops)
{
    expectInputCases<CScnScenario>(
        {{"no visible time range: kept", ScnTest::removeChildCut("", "Start.Visible.Time"), "", nullptr,
          {"Start.Visible.Time"}},
         {"no end of the range: kept", ScnTest::removeChildCut("", "End.Visible.Time"), "", nullptr, {"End.Visible.Time"}},
         {"no lists: kept",
          [](XIXMLElement* e) {
              for (const char* name : {"Sequences", "Time.Guides", "Snds"}) {
                  XmlForm::removeChildren(e, name);
              }
          },
          "", nullptr, {"Sequences", "Time.Guides", "Snds"}},
         {"maximum time missing", ScnTest::removeChildCut("", "Max.Time"), missingIn("CScnScenario"), "Max.Time", {}},
         {"a sequence of an unknown target type", ScnTest::setAttributeCut("Sequences/Sequence", "Target.Type", "Orbit"),
          failureIn("CScnScenario", "Invalid label (Orbit) [Fixed.Vertex..Object.Instance]"), "Sequences", {}, true}},
        owner(), mFeedback, "scenario");
    expectInputCases<CScnSequence>(
        {{"no options: kept", ScnTest::removeChildCut("", "Options"), "", nullptr, {"Options"}},
         {"roll missing", ScnTest::removeChildCut("", "Roll"), missingIn("CScnSequence"), "Roll", {}},
         {"the target object missing", ScnTest::removeAttributeCut("", "Object.UUID"), missingIn("CScnSequence"),
          "Object.UUID", {}}},
        owner(), mFeedback, "sequence");
    expectInputCases<CScnPanorama>(
        {{"no options: kept", ScnTest::removeChildCut("", "Options"), "", nullptr, {"Options"}},
         {"no links: kept", ScnTest::removeChildCut("", "Pano.Links"), "", nullptr, {"Pano.Links"}},
         {"nodes missing", ScnTest::removeChildCut("", "Panorama.Nodes"), missingIn("IScnPanorama"), "Panorama.Nodes",
          {}},
         {"a link end missing", ScnTest::removeChildCut("Pano.Links/Pano.Link", "Pano2"), missingIn("IScnPanorama"),
          "Pano.Links", {}, true},
         {"a hot spot point cut short",
          ScnTest::removeAttributeCut("Pano.Links/Pano.Link/Pano1/Hotspots/Hotspot/Points/Point", "Z"),
          missingIn("IScnPanorama"), "Pano.Links", {}, true}},
        owner(), mFeedback, "panorama");
    expectInputCases<CVRPanorama>(
        {{"no interface value: kept", ScnTest::removeChildCut("", "UI.Value"), "", nullptr, {"UI.Value"}},
         {"link count missing", ScnTest::removeChildCut("", "Nb.Links"), missingIn("IScnPanoNode"), "Nb.Links", {}}},
        owner(), mFeedback, "node");
}

// The library interprets neither the node indices of link ends nor the link counts of nodes: a
// panorama keeps them as read, also when they disagree with its lists, and writes them back.
TEST_F(AnimationScene, LinkEndsAndLinkCountsAreKeptAsTheyAre)
{
    CScnPanorama source(owner());
    source.getNodes()->newScnObject(kScnLastIndex)->setNbLinks(2147483647);
    CScnPanoLink* link = source.getLinks()->newScnObject(kScnLastIndex);
    link->getPano1()->setIndex(0);
    link->getPano2()->setIndex(7);
    source.getLinks()->newScnObject(kScnLastIndex)->getPano1()->setIndex(-3);
    CScnPanorama target(owner());
    bool ok = false;
    ScnTest::xmlRoundTrip(source, target, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(dumpFields(target), dumpFields(source));
    EXPECT_EQ(target.getNodes()->getScnObject(0)->getNbLinks(), 2147483647);
    EXPECT_EQ(target.getLinks()->getScnObject(0)->getPano2()->getIndex(), 7);
    EXPECT_EQ(target.getLinks()->getScnObject(1)->getPano1()->getIndex(), -3);
    EXPECT_EQ(mFeedback.warnings, Strings{});
}

// The scene hands out the first camera path of animation 0 and the lists of panorama 0.
TEST_F(AnimationScene, TheManagerHandsOutTheCameraPathAndPanoramaListsOfTheFirstObjects)
{
    CScnMgrEx* extension = mManager->getMgrEx(6);
    IScnAnimation* animation = extension->getAnimations()->getScnObject(0);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->getCameraPaths()->getNbObjects(), 1);
    EXPECT_EQ(mManager->getCameraPath(), animation->getCameraPaths()->getScnObject(0));
    EXPECT_STREQ(mManager->getCameraPath()->getName(), "Sequence 0");
    IScnCameraPath* second = animation->getCameraPaths()->newScnObject(0);
    EXPECT_EQ(mManager->getCameraPath(), second);
    extension->getAnimations()->newScnObject(0)->getCameraPaths()->removeObject(0);
    EXPECT_EQ(mManager->getCameraPath(), nullptr);
    IScnPanorama* panorama = extension->getPanoramas()->getScnObject(0);
    EXPECT_EQ(mManager->getPanoNodes(), panorama->getNodes());
    EXPECT_EQ(mManager->getPanoLinks(), panorama->getLinks());
    EXPECT_EQ(mFeedback.warnings, Strings{});
}

// Setters given null pointers change nothing; text setters given null store the empty text.
TEST(AnimationSetters, NullPointersChangeNothingAndNullTextsAreEmpty)
{
    CScnSequence sequence(nullptr);
    ScnTest::varyFields(sequence);
    std::string before = dumpFields(sequence);
    sequence.setUUID(nullptr);
    sequence.setPosition(nullptr);
    sequence.setCurrentPathTangent(nullptr);
    sequence.setTarget(nullptr);
    sequence.setObjectUUID(nullptr);
    EXPECT_EQ(dumpFields(sequence), before);
    sequence.setName(nullptr);
    EXPECT_STREQ(sequence.getName(), "");
    CScnAnimatedValue value;
    CScnVector point{1, 2, 3};
    value.setVector(&point);
    value.setVector(nullptr);
    value.setColor(nullptr);
    value.setUUID(nullptr);
    EXPECT_EQ(value.getVector()->y, 2);
    CScnAnimatedElement element(nullptr);
    element.setType("Light");
    element.setType(nullptr);
    EXPECT_STREQ(element.getType(), "");
}

}  // namespace
