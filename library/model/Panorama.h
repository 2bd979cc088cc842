// Panoramas with their nodes and the links between them, each link end with its hot spots; each
// kind with its field list.
#ifndef SCN_MODEL_PANORAMA_H
#define SCN_MODEL_PANORAMA_H

#include <cstdint>
#include <string>

#include "ScnAnimation.h"
#include "model/BaseObjectMgr.h"
#include "model/Fields.h"
#include "model/Geometry.h"
#include "model/ObjectMgr.h"
#include "model/RenderingOpt.h"
#include "model/ScnFrontier.h"
#include "model/Setters.h"
#include "model/Uuid.h"

namespace NvScn {

// A hot spot of a link end: the outline of the region that leads along the link.
class CHotSpot : public TScnFrontier<CScnPanoLink::CScnHotSpot>, public CScnObject {
public:
    static constexpr const char* kElementName = "Hotspot";

    explicit CHotSpot(CBaseObjectMgr* owner);

    TScnObjectMgr<CScnVector>* getPoints() override { return &mPoints; }
    const TScnObjectMgr<CScnVector>* getPoints() const override { return &mPoints; }

    template <class V>
    void visitFields(V& v)
    {
        v.vectorList("Points", "Point", mPoints);
    }

private:
    TObjectMgr<CPoint, CScnVector> mPoints;
};

// One end of a pano link.
class CPanoLinkConfig : public TScnFrontier<CScnPanoLink::CScnPanoLinkConfig>, public CScnObject {
public:
    explicit CPanoLinkConfig(CBaseObjectMgr* owner);

    int32_t getIndex() const override { return mIndex; }
    void setIndex(int32_t index) override { mIndex = index; }
    double getDirection() const override { return mDirection; }
    void setDirection(double direction) override { mDirection = direction; }
    double getZoom() const override { return mZoom; }
    void setZoom(double zoom) override { mZoom = zoom; }
    double getVerticalPan() const override { return mVerticalPan; }
    void setVerticalPan(double pan) override { mVerticalPan = pan; }
    double getFocal() const override { return mFocal; }
    void setFocal(double focal) override { mFocal = focal; }
    TScnObjectMgr<CScnPanoLink::CScnHotSpot>* getHotspots() override { return &mHotspots; }
    const TScnObjectMgr<CScnPanoLink::CScnHotSpot>* getHotspots() const override { return &mHotspots; }

    // The fields of "Pano1" or "Pano2", in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.integer("Index", mIndex, 0);
        v.real("Direction", mDirection, 0.0);
        v.real("Zoom", mZoom, 1.0);
        v.real("Vertical.Pan", mVerticalPan, 0.0);
        v.real("Focal", mFocal, 50.0);
        v.list("Hotspots", mHotspots);
    }

private:
    int32_t mIndex;
    double mDirection;
    double mZoom;
    double mVerticalPan;
    double mFocal;
    TObjectMgr<CHotSpot, CScnPanoLink::CScnHotSpot> mHotspots;
};

// A link between two nodes of a panorama. The node indices of its ends are kept as they are
// given or read, also when they name no node.
class CVRPanoLink : public TScnFrontier<CScnPanoLink>, public CScnObject {
public:
    static constexpr const char* kElementName = "Pano.Link";

    explicit CVRPanoLink(CBaseObjectMgr* owner);

    CScnPanoLinkConfig* getPano1() override { return &mPano1; }
    const CScnPanoLinkConfig* getPano1() const override { return &mPano1; }
    CScnPanoLinkConfig* getPano2() override { return &mPano2; }
    const CScnPanoLinkConfig* getPano2() const override { return &mPano2; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order.
    template <class V>
    void visitFields(V& v)
    {
        v.object("Pano1", mPano1);
        v.object("Pano2", mPano2);
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
    }

private:
    CPanoLinkConfig mPano1;
    CPanoLinkConfig mPano2;
    CScnUUID mUUID;
};

// A node of a panorama.
class CVRPanorama : public TScnFrontier<IScnPanoNode>, public CScnObject {
public:
    static constexpr const char* kElementName = "Panorama.Node";

    explicit CVRPanorama(CBaseObjectMgr* owner);

    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    uint32_t getViewFlags() const override { return mViewFlags; }
    void setViewFlags(uint32_t flags) override { mViewFlags = flags; }
    const CScnVector* getPosition() const override { return &mPosition; }
    void setPosition(const CScnVector* position) override { storeIfGiven(mPosition, position); }
    double getDirection() const override { return mDirection; }
    void setDirection(double direction) override { mDirection = direction; }
    double getFocal() const override { return mFocal; }
    void setFocal(double focal) override { mFocal = focal; }
    double getZoom() const override { return mZoom; }
    void setZoom(double zoom) override { mZoom = zoom; }
    double getVerticalPan() const override { return mVerticalPan; }
    void setVerticalPan(double pan) override { mVerticalPan = pan; }
    int32_t getNbLinks() const override { return mNbLinks; }
    void setNbLinks(int32_t count) override { mNbLinks = count; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    int32_t getUIValue() const override { return mUIValue; }
    void setUIValue(int32_t value) override { mUIValue = value; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    // The fields of its element, in document order; "Nb.Links" is stored as it is, never used
    // to size anything.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.integer("View.Flags", mViewFlags, 0u);
        v.vector("Position", mPosition, CScnVector{0.0, 0.0, 0.0});
        v.real("Direction", mDirection, 0.0);
        v.real("Focal", mFocal, 50.0);
        v.real("Zoom", mZoom, 1.0);
        v.real("Vertical.Pan", mVerticalPan, 0.0);
        v.integer("Nb.Links", mNbLinks, 0);
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.integer("UI.Value", mUIValue, 0, kOptional);
    }

private:
    std::string mName;
    uint32_t mViewFlags;
    CScnVector mPosition;
    double mDirection;
    double mFocal;
    double mZoom;
    double mVerticalPan;
    int32_t mNbLinks;
    CScnUUID mUUID;
    int32_t mUIValue;
};

// A panorama of the scene's list.
class CScnPanorama : public TScnFrontier<IScnPanorama>, public CScnObject {
public:
    static constexpr const char* kElementName = "Panorama";

    explicit CScnPanorama(CBaseObjectMgr* owner);

    const char* getName() const override { return mName.c_str(); }
    void setName(const char* name) override { storeText(mName, name); }
    IScnViewOpt* getOptions() override { return mOptions.asViewOpt(); }
    const IScnViewOpt* getOptions() const override { return mOptions.asViewOpt(); }
    int32_t getCurrent() const override { return mCurrent; }
    void setCurrent(int32_t index) override { mCurrent = index; }
    double getCurrentDirection() const override { return mCurrentDirection; }
    void setCurrentDirection(double direction) override { mCurrentDirection = direction; }
    double getCurrentFocal() const override { return mCurrentFocal; }
    void setCurrentFocal(double focal) override { mCurrentFocal = focal; }
    const CScnUUID* getUUID() const override { return &mUUID; }
    void setUUID(const CScnUUID* uuid) override { storeIfGiven(mUUID, uuid); }
    TScnObjectMgr<IScnPanoNode>* getNodes() override { return &mNodes; }
    const TScnObjectMgr<IScnPanoNode>* getNodes() const override { return &mNodes; }
    TScnObjectMgr<CScnPanoLink>* getLinks() override { return &mLinks; }
    const TScnObjectMgr<CScnPanoLink>* getLinks() const override { return &mLinks; }
    NuvoraXML::XIXMLElement* putInXML(NuvoraXML::XIXMLElement* parent) override;
    bool initWithXML(NuvoraXML::XIXMLElement* element) override;

    TObjectMgr<CVRPanorama, IScnPanoNode>& nodes() { return mNodes; }
    TObjectMgr<CVRPanoLink, CScnPanoLink>& links() { return mLinks; }

    // The fields of its element, in document order; "Options" holds the panorama's rendering
    // and compression options, and a document without links leaves the panorama's own.
    template <class V>
    void visitFields(V& v)
    {
        v.text("Name", mName, "");
        v.object("Options", mOptions, kFindOrCreate, kOptional);
        v.integer("Current", mCurrent, 0);
        v.real("Current.Direction", mCurrentDirection, 0.0);
        v.real("Current.Focal", mCurrentFocal, 50.0);
        v.identifier("UUID", mUUID, kNullUuid, kFresh);
        v.list("Panorama.Nodes", mNodes);
        v.list("Pano.Links", mLinks, kOptional);
    }

private:
    std::string mName;
    CVRRenderingOpt mOptions;
    int32_t mCurrent;
    double mCurrentDirection;
    double mCurrentFocal;
    CScnUUID mUUID;
    TObjectMgr<CVRPanorama, IScnPanoNode> mNodes;
    TObjectMgr<CVRPanoLink, CScnPanoLink> mLinks;
};

}  // namespace NvScn

#endif
