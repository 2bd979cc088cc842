// The kind-specific data of object definitions and instances: 3D plants with their setups and the
// plant references of their instances, billboards with their manager records, quads and names and
// the billboard references of their instances, light objects, and animated objects with their
// takes and the references of their instances. Each is attached to its definition or instance as
// the delegate that the class names.
#ifndef SCN_OBJECT_DELEGATES_H
#define SCN_OBJECT_DELEGATES_H

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/Guard.h"
#include "model/Heliodon.h"
#include "model/Lights.h"
#include "model/ObjectMgr.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Views.h"

namespace NvScn {

// Label tables of the kind-specific data, as the document writes them.
extern const LabelTable kPlacementLabels;
extern const LabelTable kAnimationBehaviors;
extern const LabelTable kPlantTypes;
extern const LabelTable kPlantColors;
extern const LabelTable kBillboardBehaviors;

// The kind of data that a class names (kScnKind3DPlant, ...), 0 for a class without any. Light
// objects carry data in their definitions only.
int32_t definitionKindOf(const std::string& className);
int32_t instanceKindOf(const std::string& className);

// The look of a plant between two dates: a plain list item.
class CPlantSetUp : public TScnFrontier<IScn3DPlant::IPlantSetUp> {
public:
    static constexpr const char* kElementName = "Plant.Setup";

    CPlantSetUp();

    CScnTime* getStartTime() override { return &mStartTime; }
    CScnTime* getEndTime() override { return &mEndTime; }
    int32_t getColor() override { return mColor; }
    void setColor(int32_t color) override { mColor = color; }

    template <class V>
    void visitFields(V& v)
    {
        v.date("StartTime", mStartTime);
        v.date("EndTime", mEndTime);
        v.labelText("Color", mColor, kPlantColors, kScnPlantColorUndefined);
    }

private:
    CTime mStartTime;
    CTime mEndTime;
    int32_t mColor;
};

// A plant definition's data.
class C3DPlant : public TScnFrontier<IScn3DPlant>, public CScnObject, public IScnScnObjectDefinition::IDelegate {
public:
    explicit C3DPlant(CBaseObjectMgr* owner);

    int32_t getPlantType() override { return mPlantType; }
    void setPlantType(int32_t type) override { mPlantType = type; }
    TScnObjectMgr<IPlantSetUp>* getSetups() override { return &mSetups; }
    int32_t getKind() const override { return kScnKind3DPlant; }

    template <class V>
    void visitFields(V& v)
    {
        v.labelText("Plant.Type", mPlantType, kPlantTypes, kScnPlantUndefined);
        v.list("Plant.Setups", mSetups);
    }

private:
    int32_t mPlantType;
    TObjectMgr<CPlantSetUp, IScn3DPlant::IPlantSetUp> mSetups;
};

// A plant instance's data: the season it shows.
class C3DPlantRef : public TScnFrontier<IScn3DPlantRef>, public CScnObject, public IScnObjectInstance::IDelegate {
public:
    explicit C3DPlantRef(CBaseObjectMgr* owner);

    bool isHeliodonAttached() override { return mHeliodonAttached; }
    void setHeliodonAttached(bool attached) override { mHeliodonAttached = attached; }
    CScnTime* getTime() override { return &mTime; }
    int32_t getColor() override { return mColor; }
    void setColor(int32_t color) override { mColor = color; }
    int32_t getKind() const override { return kScnKind3DPlant; }

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Heliodon.Attached", mHeliodonAttached, false);
        v.date("Time", mTime);
        v.labelText("Color", mColor, kPlantColors, kScnPlantColorUndefined);
    }

private:
    bool mHeliodonAttached;
    CTime mTime;
    int32_t mColor;
};

// A billboard manager's record; the scene's "Billboards" list holds them too.
class CScnBBMgrData : public TScnFrontier<IScnBBMgrData>, public CScnObject {
public:
    static constexpr const char* kElementName = "Mgr.Info";

    explicit CScnBBMgrData(CBaseObjectMgr* owner);

    uint32_t getProperty() override { return mProperty; }
    void setProperty(uint32_t property) override { mProperty = property; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    template <class V>
    void visitFields(V& v)
    {
        v.hexNumber("Property", mProperty, 0u);
    }

private:
    uint32_t mProperty;
};

// A triangle of a quad: a plain list item.
struct CTriangle : CScnTriangle {
    static constexpr const char* kElementName = "Triangle";

    CTriangle() : CScnTriangle{} {}

    template <class V>
    void visitFields(V& v)
    {
        v.vector("Pt.0", corners[0], CScnVector{0, 0, 0});
        v.vector("Pt.1", corners[1], CScnVector{0, 0, 0});
        v.vector("Pt.2", corners[2], CScnVector{0, 0, 0});
    }
};

// A quad of a billboard; its triangles stand directly in its element.
class CScnQuad : public TScnFrontier<IScnQuad>, public CScnObject {
public:
    static constexpr const char* kElementName = "Quad";

    explicit CScnQuad(CBaseObjectMgr* owner);

    uint32_t getId() override { return mId; }
    void setId(uint32_t id) override { mId = id; }
    TScnObjectMgr<CScnTriangle>* getTriangles() override { return &mTriangles; }

    template <class V>
    void visitFields(V& v)
    {
        v.hexNumber("Id", mId, 0u);
        v.children(mTriangles);
    }

private:
    uint32_t mId;
    TObjectMgr<CTriangle, CScnTriangle> mTriangles;
};

// A name of a billboard: a plain list item, the text in the name form's attribute.
class CScnBBName : public TScnFrontier<IScnBillboard::IScnBBName> {
public:
    static constexpr const char* kElementName = "Name";

    CScnBBName();

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }

    template <class V>
    void visitFields(V& v)
    {
        v.attributeText("en", mName, "");
    }

private:
    std::string mName;
};

// A billboard definition's data: its manager record, quads and "Bb.Info".
class CScnBillboard : public TScnFrontier<IScnBillboard>,
                      public CScnObject,
                      public IScnScnObjectDefinition::IDelegate {
public:
    static constexpr const char* kElementName = "Billboard";

    explicit CScnBillboard(CBaseObjectMgr* owner);

    IScnBBMgrData* getMgrInfo() override { return &mMgrInfo; }
    TScnObjectMgr<IScnQuad>* getQuads() override { return &mQuads; }
    TScnObjectMgr<IScnBBName>* getNames() override { return &mInfo.names; }
    int32_t getBehavior() override { return mInfo.behavior; }
    void setBehavior(int32_t behavior) override { mInfo.behavior = behavior; }
    int32_t getNbFaces() override { return mInfo.nbFaces; }
    void setNbFaces(int32_t count) override { mInfo.nbFaces = count; }
    bool isAnimate() override { return mInfo.animate; }
    void setAnimate(bool animate) override { mInfo.animate = animate; }
    double getScale() override { return mInfo.scale; }
    void setScale(double scale) override { mInfo.scale = scale; }
    const CScnVector* getNormal() override { return &mInfo.normal; }
    void setNormal(const CScnVector* normal) override { storeIfGiven(mInfo.normal, normal); }
    int32_t getKind() const override { return kScnKindBillboard; }

    template <class V>
    void visitFields(V& v)
    {
        v.object("Mgr.Info", mMgrInfo);
        v.list("Quads", mQuads);
        v.object("Bb.Info", mInfo);
    }

private:
    // The "Bb.Info" element; "Kind" is an older name of "Behavior".
    struct CInfo {
        explicit CInfo(CSCN* scene) : names(scene) {}

        template <class V>
        void visitFields(V& v)
        {
            v.list("Names", names);
            v.label("Behavior", behavior, kBillboardBehaviors, kScnBillboardFlat, AlternateName{"Kind"});
            v.integer("NbFaces", nbFaces, 1);
            v.flag("Animate", animate, false);
            v.real("Scale", scale, 1.0);
            v.vector("Normal", normal, CScnVector{0, 0, 1}, kDirection);
        }

        TObjectMgr<CScnBBName, IScnBBName> names;
        int32_t behavior;
        int32_t nbFaces;
        bool animate;
        double scale;
        CScnVector normal;
    };

    CScnBBMgrData mMgrInfo;
    TObjectMgr<CScnQuad, IScnQuad> mQuads;
    CInfo mInfo;
};

// A billboard instance's data: how this one is drawn.
class CBillboardRef : public TScnFrontier<IScnBillboardRef>, public CScnObject, public IScnObjectInstance::IDelegate {
public:
    explicit CBillboardRef(CBaseObjectMgr* owner);

    bool isOrient() override { return mOrient; }
    void setOrient(bool orient) override { mOrient = orient; }
    bool isHFlip() override { return mHFlip; }
    void setHFlip(bool flip) override { mHFlip = flip; }
    bool isVFlip() override { return mVFlip; }
    void setVFlip(bool flip) override { mVFlip = flip; }
    int32_t getRenderType() override { return mRenderType; }
    void setRenderType(int32_t type) override { mRenderType = type; }
    double getRoughness() override { return mRoughness; }
    void setRoughness(double roughness) override { mRoughness = roughness; }
    double getShininess() override { return mShininess; }
    void setShininess(double shininess) override { mShininess = shininess; }
    double getBrightness() override { return mBrightness; }
    void setBrightness(double brightness) override { mBrightness = brightness; }
    double getContrast() override { return mContrast; }
    void setContrast(double contrast) override { mContrast = contrast; }
    const CScnColor* getColor() override { return &mColor; }
    void setColor(const CScnColor* color) override { storeIfGiven(mColor, color); }
    int32_t getKind() const override { return kScnKindBillboard; }

    template <class V>
    void visitFields(V& v)
    {
        v.flag("Orient", mOrient, false);
        v.flag("HFlip", mHFlip, false);
        v.flag("VFlip", mVFlip, false);
        v.integer("Render.Type", mRenderType, 0);
        v.real("Roughness", mRoughness, 0.0);
        v.real("Shininess", mShininess, 0.0);
        v.real("Brightness", mBrightness, 0.0);
        v.real("Contrast", mContrast, 0.0);
        v.color("Color", mColor, CScnColor{0, 255, 255, 255});
    }

private:
    bool mOrient;
    bool mHFlip;
    bool mVFlip;
    int32_t mRenderType;
    double mRoughness;
    double mShininess;
    double mBrightness;
    double mContrast;
    CScnColor mColor;
};

// A light object definition's data: its light sources in the object's coordinates.
class CScnObjectLight : public TScnFrontier<IScnObjectLight>,
                        public CScnObject,
                        public IScnScnObjectDefinition::IDelegate {
public:
    explicit CScnObjectLight(CBaseObjectMgr* owner);

    TScnObjectMgr<CScnLight>* getLights() override { return &mLights; }
    int32_t getKind() const override { return kScnKindLightObject; }

    template <class V>
    void visitFields(V& v)
    {
        v.list("Lights", mLights);
    }

private:
    TObjectMgr<CLight, CScnLight> mLights;
};

// A take of an animated object: a plain list item.
class CScnTake : public TScnFrontier<IScnAnimatedObject::IScnTake> {
public:
    static constexpr const char* kElementName = "Take";

    CScnTake();

    const char* getName() override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    int32_t getStartFrame() override { return mStartFrame; }
    void setStartFrame(int32_t frame) override { mStartFrame = frame; }
    int32_t getEndFrame() override { return mEndFrame; }
    void setEndFrame(int32_t frame) override { mEndFrame = frame; }
    bool isLoop() override { return mLoop; }
    void setLoop(bool loop) override { mLoop = loop; }

    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.integer("Start.Frame", mStartFrame, 0);
        v.integer("End.Frame", mEndFrame, 0);
        v.flag("Loop", mLoop, false);
    }

private:
    std::string mName;
    int32_t mStartFrame;
    int32_t mEndFrame;
    bool mLoop;
};

// An animated object definition's data: its takes.
class CScnAnimatedObject : public TScnFrontier<IScnAnimatedObject>,
                           public CScnObject,
                           public IScnScnObjectDefinition::IDelegate {
public:
    explicit CScnAnimatedObject(CBaseObjectMgr* owner);

    TScnObjectMgr<IScnTake>* getTakes() override { return &mTakes; }
    int32_t getKind() const override { return kScnKindAnimatedObject; }

    template <class V>
    void visitFields(V& v)
    {
        v.list("Takes", mTakes);
    }

private:
    TObjectMgr<CScnTake, IScnTake> mTakes;
};

// An animated object instance's data: the take it plays and from when.
class CAnimatedObjectRef : public TScnFrontier<IScnAnimatedObjectRef>,
                           public CScnObject,
                           public IScnObjectInstance::IDelegate {
public:
    explicit CAnimatedObjectRef(CBaseObjectMgr* owner);

    int32_t getTake() override { return mTake; }
    void setTake(int32_t take) override { mTake = take; }
    double getStart() override { return mStart; }
    void setStart(double start) override { mStart = start; }
    double getPosition() override { return mPosition; }
    void setPosition(double position) override { mPosition = position; }
    int32_t getKind() const override { return kScnKindAnimatedObject; }

    template <class V>
    void visitFields(V& v)
    {
        v.integer("Take", mTake, 0);
        v.real("Start", mStart, 0.0);
        v.real("Position", mPosition, 0.0);
    }

private:
    int32_t mTake;
    double mStart;
    double mPosition;
};

// The kind-specific data of a definition or an instance in its field list: the delegate of the
// kind that the class names, or, for a class without one, the data element kept as it was read.
// The delegate follows the class: a class of another kind replaces it by that kind's defaults.
template <class Delegate>
class TKindData {
public:
    TKindData(CBaseObjectMgr* owner, const char* elementName, int32_t (*kindOf)(const std::string&))
        : mOwner(owner), mElementName(elementName), mKindOf(kindOf), mKept(elementName)
    {
    }

    // The delegate of the kind className names, made anew when the kind changed.
    Delegate* match(const std::string& className);
    Delegate* get() const { return mDelegate.get(); }
    int32_t kind() const { return mDelegate != nullptr ? mDelegate->getKind() : 0; }
    // The delegate as Kind when the class names kind, else null; a failure to make it is reported
    // for where through reporter and answers null.
    template <class Kind>
    Kind* as(const CBaseObjectMgr* reporter, const char* where, const std::string& className, int32_t kind) noexcept
    {
        return guarded(reporter, where, static_cast<Kind*>(nullptr), [&]() -> Kind* {
            Delegate* delegate = match(className);
            return delegate != nullptr && delegate->getKind() == kind ? static_cast<Kind*>(delegate) : nullptr;
        });
    }

    // The data element: required for a delegate, optional and written only when not empty for the
    // kept content.
    template <class V>
    void visit(V& v, const std::string& className);

private:
    template <class V, class Kind>
    void visitAs(V& v)
    {
        v.object(mElementName, static_cast<Kind&>(*mDelegate));
    }

    CBaseObjectMgr* mOwner;
    const char* mElementName;
    int32_t (*mKindOf)(const std::string&);
    std::unique_ptr<Delegate> mDelegate;
    CXMLFragment mKept;
};

// A sub-object of a field list inside an element of its own name.
template <class Sub>
struct TInElement {
    const char* name;
    Sub& sub;

    template <class V>
    void visitFields(V& v)
    {
        v.object(name, sub);
    }
};

// Makes the delegate of a kind, null for kind 0.
std::unique_ptr<IScnScnObjectDefinition::IDelegate> newDefinitionDelegate(int32_t kind, CBaseObjectMgr* owner);
std::unique_ptr<IScnObjectInstance::IDelegate> newInstanceDelegate(int32_t kind, CBaseObjectMgr* owner);

template <class Delegate>
Delegate* TKindData<Delegate>::match(const std::string& className)
{
    int32_t wanted = mKindOf(className);
    if (wanted != kind()) {
        if constexpr (std::is_same<Delegate, IScnScnObjectDefinition::IDelegate>::value) {
            mDelegate = newDefinitionDelegate(wanted, mOwner);
        } else {
            mDelegate = newInstanceDelegate(wanted, mOwner);
        }
    }
    return mDelegate.get();
}

template <class Delegate>
template <class V>
void TKindData<Delegate>::visit(V& v, const std::string& className)
{
    match(className);
    if constexpr (std::is_same<Delegate, IScnScnObjectDefinition::IDelegate>::value) {
        switch (kind()) {
        case kScnKind3DPlant:
            visitAs<V, C3DPlant>(v);
            return;
        case kScnKindBillboard: {
            TInElement<CScnBillboard> billboard{CScnBillboard::kElementName, static_cast<CScnBillboard&>(*mDelegate)};
            v.object(mElementName, billboard);
            return;
        }
        case kScnKindLightObject:
            visitAs<V, CScnObjectLight>(v);
            return;
        case kScnKindAnimatedObject:
            visitAs<V, CScnAnimatedObject>(v);
            return;
        default:
            break;
        }
    } else {
        switch (kind()) {
        case kScnKind3DPlant:
            visitAs<V, C3DPlantRef>(v);
            return;
        case kScnKindBillboard:
            visitAs<V, CBillboardRef>(v);
            return;
        case kScnKindAnimatedObject:
            visitAs<V, CAnimatedObjectRef>(v);
            return;
        default:
            break;
        }
    }
    v.fragment(mElementName, mKept, kOptional, kOmitEmpty);
}

}  // namespace NvScn

#endif
