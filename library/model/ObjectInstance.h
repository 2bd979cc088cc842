// Object instances: objects placed in the scene, each referring to the definition it places.
#ifndef SCN_OBJECT_INSTANCE_H
#define SCN_OBJECT_INSTANCE_H

#include <string>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/ObjectDelegates.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"

namespace NvScn {

// An object instance; a new one draws a fresh UUID (the constructor throws "Can't create UUID"
// when it cannot). Its kind-specific data follows its class (see TKindData).
class CScnObjectInstance : public TScnFrontier<IScnObjectInstance>, public CScnObject {
public:
    static constexpr const char* kElementName = "Object.Instance";
    // The element of the kind-specific data.
    static constexpr const char* kDataElement = "Instance.Data";

    explicit CScnObjectInstance(CBaseObjectMgr* owner);

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override;
    const char* getClass() override { return mClass.c_str(); }
    void setClass(const char* className) override;
    const CScnUUID* getUUID() override { return &mUuid; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUuid, uuid); }
    const CScnUUID* getAttachedObject() override { return &mAttachedObject; }
    void setAttachedObject(const CScnUUID* uuid) override { storeIfGiven(mAttachedObject, uuid); }
    const CScnVector* getNormal() override { return &mNormal; }
    void setNormal(const CScnVector* normal) override { storeIfGiven(mNormal, normal); }
    const CScnVector* getTranslation() override { return &mTranslation; }
    void setTranslation(const CScnVector* translation) override { storeIfGiven(mTranslation, translation); }
    const CScnVector* getRotation() override { return &mRotation; }
    void setRotation(const CScnVector* rotation) override { storeIfGiven(mRotation, rotation); }
    const CScnVector* getScale() override { return &mScale; }
    void setScale(const CScnVector* scale) override { storeIfGiven(mScale, scale); }
    int32_t getTriangleId() override { return mTriangleId; }
    void setTriangleId(int32_t triangle) override { mTriangleId = triangle; }
    const CScnVector2D* getTrianglePoint1() override { return &mTriangleCoord.first; }
    void setTrianglePoint1(const CScnVector2D* point) override { storeIfGiven(mTriangleCoord.first, point); }
    const CScnVector2D* getTrianglePoint2() override { return &mTriangleCoord.second; }
    void setTrianglePoint2(const CScnVector2D* point) override { storeIfGiven(mTriangleCoord.second, point); }
    const CScnVector* getAnchorPosition() override { return &mAnchorPosition; }
    void setAnchorPosition(const CScnVector* position) override { storeIfGiven(mAnchorPosition, position); }
    const CScnVector* getUpVector() override { return &mUpVector; }
    void setUpVector(const CScnVector* up) override { storeIfGiven(mUpVector, up); }
    int32_t getPlacement() override { return mPlacement; }
    void setPlacement(int32_t placement) override { mPlacement = placement; }
    double getInitialAngle() override { return mInitialAngle; }
    void setInitialAngle(double angle) override { mInitialAngle = angle; }
    const CScnVector* getBoundingBoxMinimum() override { return &mBoundingBox.minimum; }
    void setBoundingBoxMinimum(const CScnVector* corner) override { storeIfGiven(mBoundingBox.minimum, corner); }
    const CScnVector* getBoundingBoxMaximum() override { return &mBoundingBox.maximum; }
    void setBoundingBoxMaximum(const CScnVector* corner) override { storeIfGiven(mBoundingBox.maximum, corner); }
    int32_t getUIValue() override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }
    bool isCoordinatesLocked() override { return mCoordinatesLocked; }
    void setCoordinatesLocked(bool locked) override { mCoordinatesLocked = locked; }
    bool isScaleLocked() override { return mScaleLocked; }
    void setScaleLocked(bool locked) override { mScaleLocked = locked; }
    const CScnVector* getCurrentPathDirection() override { return &mPathDirection; }
    void setCurrentPathDirection(const CScnVector* direction) override { storeIfGiven(mPathDirection, direction); }
    int32_t getAnimationBehavior() override { return mBehavior; }
    void setAnimationBehavior(int32_t behavior) override { mBehavior = behavior; }
    bool isTarget() override { return mTarget; }
    void setTarget(bool target) override { mTarget = target; }
    double getTransparency() override { return mTransparency; }
    void setTransparency(double transparency) override { mTransparency = transparency; }
    const CScnUUID* getLayerId() override { return &mLayer; }
    void setLayerId(const CScnUUID* layer) override { storeIfGiven(mLayer, layer); }
    IDelegate* getDelegate() override;
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;
    IScn3DPlantRef* get3DPlantRef() override;
    IScnBillboardRef* getBillboardRef() override;
    IScnAnimatedObjectRef* getAnimatedObjectRef() override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.text("Class", mClass, "");
        v.identifier("UUID", mUuid, kNullUuid, kFresh);
        v.identifier("Attach.Id", mAttachedObject, kNullUuid);
        v.vector("Normal", mNormal, CScnVector{0, 1, 0}, kDirection);
        v.vector("Translation", mTranslation, CScnVector{0, 0, 0});
        v.vector("Rotation", mRotation, CScnVector{0, 0, 0}, kNoFixUp);
        v.vector("Scale", mScale, CScnVector{1, 1, 1}, kNoFixUp);
        v.integer("Triangle.Id", mTriangleId, -1);
        v.object("Triangle.Coord", mTriangleCoord);
        v.vector("Anchor.Position", mAnchorPosition, CScnVector{0, 0, 0});
        v.vector("Up.Vector", mUpVector, CScnVector{0, 1, 0}, kDirection);
        v.label("Placement.Property", mPlacement, kPlacementLabels, kScnPlacementPerpendicular);
        v.real("Initial.Angle", mInitialAngle, 0.0);
        v.object("Bounding.Box", mBoundingBox);
        v.integer("UIValue", mUIValue, 0);
        v.flag("Coordinates.Locked", mCoordinatesLocked, false);
        v.flag("Scale.Locked", mScaleLocked, false);
        v.vector("Current.Path.Direction", mPathDirection, CScnVector{0, 0, 0}, kDirection);
        v.label("Animation.Behavior", mBehavior, kAnimationBehaviors, kScnBehaviorNormal);
        v.flag("Target", mTarget, false);
        v.real("Tansparency", mTransparency, 0.0);
        v.identifier("Layer.Id", mLayer, kNullUuid);
        mData.visit(v, mClass);
    }

private:
    // The position in the triangle: "Pt.1" and "Pt.2".
    struct CTriangleCoord {
        template <class V>
        void visitFields(V& v)
        {
            v.vector2D("Pt.1", first, CScnVector2D{0, 0});
            v.vector2D("Pt.2", second, CScnVector2D{0, 0});
        }

        CScnVector2D first;
        CScnVector2D second;
    };

    // The bounding box: "Min.Point" and "Max.Point".
    struct CBoundingBox {
        template <class V>
        void visitFields(V& v)
        {
            v.vector("Min.Point", minimum, CScnVector{0, 0, 0});
            v.vector("Max.Point", maximum, CScnVector{0, 0, 0});
        }

        CScnVector minimum;
        CScnVector maximum;
    };

    std::string mName;
    std::string mClass;
    CScnUUID mUuid;
    CScnUUID mAttachedObject;
    CScnVector mNormal;
    CScnVector mTranslation;
    CScnVector mRotation;
    CScnVector mScale;
    int32_t mTriangleId;
    CTriangleCoord mTriangleCoord;
    CScnVector mAnchorPosition;
    CScnVector mUpVector;
    int32_t mPlacement;
    double mInitialAngle;
    CBoundingBox mBoundingBox;
    int32_t mUIValue;
    bool mCoordinatesLocked;
    bool mScaleLocked;
    CScnVector mPathDirection;
    int32_t mBehavior;
    bool mTarget;
    double mTransparency;
    CScnUUID mLayer;
    TKindData<IDelegate> mData;
};

}  // namespace NvScn

#endif
