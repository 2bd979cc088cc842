// Scenarios with their sequences, time guides and sounds, each with its field list.
#ifndef SCN_MODEL_SCENARIO_H
#define SCN_MODEL_SCENARIO_H

#include <cstdint>
#include <string>

#include "ScnAnimation.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ObjectMgr.h"
#include "model/RenderingOpt.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Uuid.h"

namespace NvScn {

// The target types of sequences: "Fixed.Vertex" 0, "Forward.Path" 1, "Relative.Angle" 2,
// "Object.Instance" 3 (see docs/design.md for the value of "Forward.Path").
extern const LabelTable kSequenceTargetLabels;

// A shot of a scenario.
class CScnSequence : public TScnFrontier<IScnSequence>, public CScnObject {
public:
    static constexpr const char* kElementName = "Sequence";

    explicit CScnSequence(CBaseObjectMgr* owner);

    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    int32_t getStartFrame() const override { return mStartFrame; }
    void setStartFrame(int32_t frame) override { mStartFrame = frame; }
    int32_t getEndFrame() const override { return mEndFrame; }
    void setEndFrame(int32_t frame) override { mEndFrame = frame; }
    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    uint32_t getViewFlags() const override { return mViewFlags; }
    void setViewFlags(uint32_t flags) override { mViewFlags = flags; }
    double getFocal() const override { return mFocal; }
    void setFocal(double focal) override { mFocal = clipFocal(focal); }
    const CScnVector* getPosition() const override { return &mPosition; }
    void setPosition(const CScnVector* position) override { storeIfGiven(mPosition, position); }
    int32_t getTargetType() const override { return mTargetType; }
    void setTargetType(int32_t type) override { mTargetType = type; }
    double getTargetDistance() const override { return mTargetDistance; }
    void setTargetDistance(double distance) override { mTargetDistance = distance; }
    double getHorizontalAngle() const override { return mHorizontalAngle; }
    void setHorizontalAngle(double angle) override { mHorizontalAngle = angle; }
    double getVerticalAngle() const override { return mVerticalAngle; }
    void setVerticalAngle(double angle) override { mVerticalAngle = angle; }
    const CScnVector* getCurrentPathTangent() const override { return &mTangent; }
    void setCurrentPathTangent(const CScnVector* tangent) override { storeIfGiven(mTangent, tangent); }
    const CScnVector* getTarget() const override { return &mTarget; }
    void setTarget(const CScnVector* target) override { storeIfGiven(mTarget, target); }
    double getRoll() const override { return mRoll; }
    void setRoll(double roll) override { mRoll = roll; }
    const CScnUUID* getObjectUUID() const override { return &mObjectUUID; }
    void setObjectUUID(const CScnUUID* uuid) override { storeIfGiven(mObjectUUID, uuid); }
    IScnViewOpt* getViewOpt() override { return mViewOpt.asViewOpt(); }
    const IScnViewOpt* getViewOpt() const override { return mViewOpt.asViewOpt(); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order; the camera starts where a new camera does,
    // and "Options" holds the view options as a camera's does.
    template <class V>
    void visitFields(V& v)
    {
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.integer("Start.Frame", mStartFrame, 0);
        v.integer("End.Frame", mEndFrame, 0);
        v.text("Name", mName, "");
        v.integer("View.Flags", mViewFlags, 0u);
        v.real("Focal", mFocal, 50.0, [this](double focal) { return clipFocal(focal); });
        v.vector("Position", mPosition, CScnVector{50.0, 50.0, -60.0}, kConvertDefault);
        v.label("Target.Type", mTargetType, kSequenceTargetLabels, kScnSequenceFixedVertex);
        v.real("Target.Distance", mTargetDistance, 0.0);
        v.real("Horizontal.Angle", mHorizontalAngle, 0.0);
        v.real("Vertical.Angle", mVerticalAngle, 0.0);
        v.vector("Current.Path.Tangent", mTangent, CScnVector{0.0, 0.0, 0.0});
        v.vector("Target", mTarget, CScnVector{50.0, 50.0, 50.0}, kConvertDefault);
        v.real("Roll", mRoll, 0.0);
        v.identifier("Object.UUID", mObjectUUID, kNullUuid);
        v.object("Options", mViewOpt, kFindOrCreate, kOptional);
    }

private:
    // Owner-gated into 0 to 180 degrees.
    double clipFocal(double focal) const;

    CScnUUID mUUID;
    int32_t mStartFrame;
    int32_t mEndFrame;
    std::string mName;
    uint32_t mViewFlags;
    double mFocal;
    CScnVector mPosition;
    int32_t mTargetType;
    double mTargetDistance;
    double mHorizontalAngle;
    double mVerticalAngle;
    CScnVector mTangent;
    CScnVector mTarget;
    double mRoll;
    CScnUUID mObjectUUID;
    CAnimRenderingOpt mViewOpt;
};

// A mark on a scenario's time line.
class CScnScenarioTimeGuide : public TScnFrontier<IScnScenarioTimeGuide>, public CScnObject {
public:
    static constexpr const char* kElementName = "Time.Guide";

    explicit CScnScenarioTimeGuide(CBaseObjectMgr* owner);

    double getTime() const override { return mTime; }
    void setTime(double time) override { mTime = time; }

    template <class V>
    void visitFields(V& v)
    {
        v.real("Time", mTime, 0.0);
    }

private:
    double mTime;
};

// A sound of a scenario.
class CScnSnd : public TScnFrontier<IScnSnd>, public CScnObject {
public:
    static constexpr const char* kElementName = "Snd";

    explicit CScnSnd(CBaseObjectMgr* owner);

    int32_t getStartFrame() const override { return mStartFrame; }
    void setStartFrame(int32_t frame) override { mStartFrame = frame; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }

    template <class V>
    void visitFields(V& v)
    {
        v.integer("Start.Frame", mStartFrame, 0);
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
    }

private:
    int32_t mStartFrame;
    CScnUUID mUUID;
};

// A scenario of the scene's list.
class CScnScenario : public TScnFrontier<IScnScenario>, public CScnObject {
public:
    static constexpr const char* kElementName = "Scenario";

    explicit CScnScenario(CBaseObjectMgr* owner);

    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    int32_t getCurrentFrame() const override { return mCurrentFrame; }
    void setCurrentFrame(int32_t frame) override { mCurrentFrame = frame; }
    int32_t getCurrentSequence() const override { return mCurrentSequence; }
    void setCurrentSequence(int32_t index) override { mCurrentSequence = index; }
    double getMaxTime() const override { return mMaxTime; }
    void setMaxTime(double time) override { mMaxTime = time; }
    double getStartVisibleTime() const override { return mStartVisibleTime; }
    void setStartVisibleTime(double time) override { mStartVisibleTime = time; }
    double getEndVisibleTime() const override { return mEndVisibleTime; }
    void setEndVisibleTime(double time) override { mEndVisibleTime = time; }
    TScnObjectMgr<IScnSequence>* getSequences() override { return &mSequences; }
    const TScnObjectMgr<IScnSequence>* getSequences() const override { return &mSequences; }
    TScnObjectMgr<IScnScenarioTimeGuide>* getTimeGuides() override { return &mTimeGuides; }
    const TScnObjectMgr<IScnScenarioTimeGuide>* getTimeGuides() const override { return &mTimeGuides; }
    TScnObjectMgr<IScnSnd>* getSnds() override { return &mSnds; }
    const TScnObjectMgr<IScnSnd>* getSnds() const override { return &mSnds; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    TObjectMgr<CScnSequence, IScnSequence>& sequences() { return mSequences; }
    TObjectMgr<CScnScenarioTimeGuide, IScnScenarioTimeGuide>& timeGuides() { return mTimeGuides; }
    TObjectMgr<CScnSnd, IScnSnd>& snds() { return mSnds; }

    // The fields of its element, in document order; a document without the visible time range
    // or without one of the lists leaves the scenario's own.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.integer("Current.Frame", mCurrentFrame, 0);
        v.integer("Current.Sequence", mCurrentSequence, 0);
        v.real("Max.Time", mMaxTime, 0.0);
        v.real("Start.Visible.Time", mStartVisibleTime, 0.0, kOptional);
        v.real("End.Visible.Time", mEndVisibleTime, 0.0, kOptional);
        v.list("Sequences", mSequences, kOptional);
        v.list("Time.Guides", mTimeGuides, kOptional);
        v.list("Snds", mSnds, kOptional);
    }

private:
    std::string mName;
    int32_t mCurrentFrame;
    int32_t mCurrentSequence;
    double mMaxTime;
    double mStartVisibleTime;
    double mEndVisibleTime;
    TObjectMgr<CScnSequence, IScnSequence> mSequences;
    TObjectMgr<CScnScenarioTimeGuide, IScnScenarioTimeGuide> mTimeGuides;
    TObjectMgr<CScnSnd, IScnSnd> mSnds;
};

}  // namespace NvScn

#endif
