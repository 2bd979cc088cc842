// Internal component definitions: the geometry of a definition, kept apart from the scene's own
// points and polygons and identified by a UUID and a geometry level.
#ifndef SCN_INTERNAL_COMPONENT_H
#define SCN_INTERNAL_COMPONENT_H

#include <memory>

#include "ScnObjects.h"
#include "model/BaseObjectMgr.h"
#include "model/Geometry.h"
#include "model/ScnFrontier.h"
#include "model/Views.h"

namespace NvScn {

// One internal component definition with its own point and polygon tables; a new one draws a
// fresh UUID (the constructor throws "Can't create UUID" when it cannot) and has level 0.
class CScnInternalComponentDefinition : public TScnFrontier<IScnInternalComponentDefinition>,
                                        public CScnObject {
public:
    explicit CScnInternalComponentDefinition(CBaseObjectMgr* owner);
    ~CScnInternalComponentDefinition() override;

    const CScnUUID* getUUID() override { return &mUuid; }
    void setUUID(const CScnUUID* uuid) override;
    int32_t getGeometryLevel() override { return mGeometryLevel; }
    void setGeometryLevel(int32_t level) override { mGeometryLevel = level; }
    TScnObjectMgr<CScnVector>* getPoints() override { return mPoints.get(); }
    TScnObjectMgr<CScnPolygon>* getPolygons() override { return mPolygons.get(); }
    IScnScnObjectDefinition* getObjectDefinition() override;

    // The identifier and tables for the library's own readers and writers.
    const CScnUUID& uuid() const { return mUuid; }
    CPointMgr& points() { return *mPoints; }
    CPolygonMgr& polygons() { return *mPolygons; }
    // Exchanges the definition's tables with the given ones (the scene hands its own geometry
    // over when an old document is upgraded to components).
    void swapGeometry(std::unique_ptr<CPointMgr>& points, std::unique_ptr<CPolygonMgr>& polygons);
    // What a loaded element held beside the definition's identity, level and geometry blocks
    // (attributes and children), written back after the blocks.
    CXMLFragment& keptContent() { return mKeptContent; }
    // Whether a save writes the geometry from the definition's own tables even when the client
    // supplies geometry through an external storage: the storage knows only the client's own
    // components, not those imported from another scene.
    bool holdsOwnGeometry() const { return mOwnGeometry; }
    void setHoldsOwnGeometry(bool own) { mOwnGeometry = own; }

private:
    CScnUUID mUuid;
    int32_t mGeometryLevel = 0;
    std::unique_ptr<CPointMgr> mPoints;
    std::unique_ptr<CPolygonMgr> mPolygons;
    CXMLFragment mKeptContent;
    bool mOwnGeometry = false;
};

}  // namespace NvScn

#endif
