// The insertion object: how a picture was matched to the model. The scene holds one, and so does
// every perspective view.
#ifndef SCN_INSERTION_OBJECT_H
#define SCN_INSERTION_OBJECT_H

#include <cstdint>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"

namespace NvScn {

extern const LabelTable kSizeAxes;

// The insertion object of the scene or of a perspective view; every setter stores what it is given.
class CScnInsertionObject : public TScnFrontier<IScnInsertionObject>, public CScnObject {
public:
    static constexpr const char* kElementName = "InsertionObject";
    static constexpr int32_t kAxesCount = 4;
    static constexpr int32_t kToolCount = 6;
    static constexpr int32_t kRepereCount = 4;

    explicit CScnInsertionObject(CBaseObjectMgr* owner);

    const CScnVector2D* getAxesPosition(int32_t index) override;
    void setAxesPosition(int32_t index, const CScnVector2D* position) override;
    const CScnVector2D* getPerspectiveToolPosition(int32_t index) override;
    void setPerspectiveToolPosition(int32_t index, const CScnVector2D* position) override;
    const CScnVector* getReperePosition(int32_t index) override;
    void setReperePosition(int32_t index, const CScnVector* position) override;
    int32_t getSizeAxis() override { return mSizeAxis; }
    void setSizeAxis(int32_t axis) override { mSizeAxis = axis; }
    bool isAxesVisible() override { return mAxesVisible; }
    void setAxesVisible(bool visible) override { mAxesVisible = visible; }
    bool isModelVisible() override { return mModelVisible; }
    void setModelVisible(bool visible) override { mModelVisible = visible; }
    bool isPerspectiveToolVisible() override { return mToolVisible; }
    void setPerspectiveToolVisible(bool visible) override { mToolVisible = visible; }
    bool isYAxisInverted() override { return mYAxisInverted; }
    void setYAxisInverted(bool inverted) override { mYAxisInverted = inverted; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.array("AxesPositions", "Vector2D", mAxes, kNoAxes);
        v.array("PerpectiveToolPositions", "Vector2D", mTool, kNoTool);
        v.array("ReperePositions", "Vector3D", mRepere, kNoRepere);
        v.label("SizeAxis", mSizeAxis, kSizeAxes, kScnSizeXAxis);
        v.flag("AxesVisibility", mAxesVisible, false);
        v.flag("ModelVisibility", mModelVisible, false);
        v.flag("PerpectiveToolVisibility", mToolVisible, false);
        v.flag("YAxeInverted", mYAxisInverted, false);
    }

private:
    static constexpr CScnVector2D kNoAxes[kAxesCount] = {};
    static constexpr CScnVector2D kNoTool[kToolCount] = {};
    static constexpr CScnVector kNoRepere[kRepereCount] = {};

    CScnVector2D mAxes[kAxesCount];
    CScnVector2D mTool[kToolCount];
    CScnVector mRepere[kRepereCount];
    int32_t mSizeAxis;
    bool mAxesVisible;
    bool mModelVisible;
    bool mToolVisible;
    bool mYAxisInverted;
};

}  // namespace NvScn

#endif
