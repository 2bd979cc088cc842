// The geometry suppliers: the host model's geometry as one stream of points and polygons, pulled
// by the scene library while it writes, and the supplier that drops everything.
#ifndef KSV_GS_SCN_EXTERNAL_H
#define KSV_GS_SCN_EXTERNAL_H

#include "Conversions.h"
#include "ExportOptions.h"
#include "GSModeler.h"
#include "MaterialMap.h"

#include <Scn.h>

#include <array>
#include <cstdint>
#include <vector>

namespace KSV {

// The progress strings of an export: list 130 items 1 to 10 at positions 1 to 10, position 0 empty.
using ProgressStrings = std::array<GS::UniString, 11>;

// The texture options by host element type (1 wall, 2 slab, 3 roof, 4 others), kept inverted as
// the suppliers hold them: set when the option is off.
struct TextureOptionsOff {
    bool off[5] = {true, true, true, true, true};
    // Takes options 1043 to 1046.
    void set(const ExportOptions& options);
    bool allOn() const { return !off[1] && !off[2] && !off[3] && !off[4]; }
    bool onFor(int32_t elementType) const { return elementType >= 1 && elementType <= 4 && !off[elementType]; }
};

// Walks the bodies of the host model that have polygons, element by element.
class ModelCursor {
public:
    ModelCursor(const EXPModelFunctionTable& table, const EXPModel& model) : mTable(table), mModel(model) {}
    // Back to before the first element.
    void reset();
    // Moves to the next body with at least one polygon; false past the last one.
    bool nextBody();
    int32_t element() const { return mElement; }
    int32_t body() const { return mBody; }
    const EXPElementInfo& elementInfo() const { return mElementInfo; }
    const EXPBodyInfo& bodyInfo() const { return mBodyInfo; }

private:
    const EXPModelFunctionTable& mTable;
    const EXPModel& mModel;
    int32_t mElementCount = -1;
    int32_t mElement = 0;
    int32_t mBody = 0;
    EXPElementInfo mElementInfo = {};
    EXPBodyInfo mBodyInfo = {};
};

// The whole host model as one point list and one polygon list. Points are the vertices of every
// body with polygons, in centimetres with the kept plan offset; polygons refer to them by their
// global index. Every library-facing operation catches everything, prints a "Catch" line to the
// host's debug log and answers false (or 0).
class GSScnExternal : public NvScn::CScnExtStorage {
public:
    // Counts the model's points and polygons; raises on a host error or a model too large for a
    // scene. The strings and the map must outlive the supplier.
    GSScnExternal(const EXPModelFunctionTable& table, const EXPModel& model, const ProgressStrings& strings,
                  const MaterialMap& materials, bool reservedFlag);
    ~GSScnExternal() = default;
    GSScnExternal(const GSScnExternal&) = delete;
    GSScnExternal& operator=(const GSScnExternal&) = delete;

    // The texture options, and the number of scene materials present when the textured material
    // pass began (0 when it did not run).
    void setTextureOptions(const ExportOptions& options, int32_t materialsBeforeTexturedPass = 0);
    // The plan offset added to every point (metres).
    void setOrigin(const PlanOffset& offset) { mOffset = offset; }
    // The scene material index of the first own-texture material; the host material count unless
    // the own-texture materials follow other scene materials.
    void setFirstOwnTextureMaterial(int32_t index) { mNextOwnTextureMaterial = index; }

    bool setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID*, int32_t) override;
    void setNbPoints(NvScn::CScnMgr*, int32_t) override;
    bool addPoint(NvScn::CScnMgr*, const NvScn::CScnVector*, int32_t) override;
    void setNbPolygons(NvScn::CScnMgr*, int32_t) override;
    bool addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon*, int32_t) override;
    int32_t getNbPoints(NvScn::CScnMgr*) override;
    bool fillPoint(NvScn::CScnMgr*, NvScn::CScnVector* point, int32_t index) override;
    int32_t getNbPolygons(NvScn::CScnMgr*) override;
    bool fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon* polygon, int32_t index) override;

    int32_t pointTotal() const { return mPointTotal; }
    int32_t polygonTotal() const { return mPolygonTotal; }
    // Option 1027 bit 1, handed over at construction; no answer depends on it.
    bool reservedFlag() const { return mReservedFlag; }
    // Whether a fill answered false because the user pressed Cancel.
    bool cancelled() const { return mCancelled; }

private:
    struct MaterialFacts {
        int32_t texture = 0;
        double rotation = 0.0;
    };
    struct TextureFacts {
        bool available = false;
        double xSize = 1.0;
        double ySize = 1.0;
    };

    void nextPoint(NvScn::CScnVector* point);
    void nextPolygon(NvScn::CScnPolygon* polygon);
    int32_t sceneMaterial(int32_t hostIndex, int32_t elementType) const;
    // Appends the vertex with its global index and texture coordinates to the loop.
    void addVertex(NvScn::TScnObjectMgr<NvScn::CScnVertex>* loop, int32_t vertex, int32_t polygon,
                   const EXPPolygonInfo& info, const EXPVector& normal, const TextureFacts* texture,
                   double rotation);
    bool textureAvailable(int32_t texture) const;
    // Counts one more item of a phase (progress string index) on the progress window, opening the
    // phase with the first; false when the user cancelled at this item.
    bool advanceProgress(int32_t* done, int32_t phase, int32_t total);
    // Asks the progress window whether the user pressed Cancel.
    bool userCancelled();

    const EXPModelFunctionTable& mTable;
    const EXPModel& mModel;
    const ProgressStrings& mStrings;
    const MaterialMap& mMaterials;
    bool mReservedFlag;
    TextureOptionsOff mTextureOff;
    int32_t mMaterialsBeforeTexturedPass = 0;
    PlanOffset mOffset;
    std::vector<MaterialFacts> mMaterialFacts;   // host material i at i - 1
    std::vector<TextureFacts> mTextureFacts;     // host texture i at i - 1
    ModelCursor mPointCursor;
    ModelCursor mPolygonCursor;
    int32_t mPointTotal = 0;
    int32_t mPolygonTotal = 0;
    int32_t mVertexInBody = 0;        // the point walk's vertex in its body
    int32_t mPolygonInBody = 0;       // the polygon walk's polygon in its body
    bool mPolygonBodyOpen = false;
    int64_t mPointBase = 0;           // global index of the polygon walk's body's first point
    int32_t mNextOwnTextureMaterial = 0;
    int32_t mPointsDone = 0;
    int32_t mPolygonsDone = 0;
    bool mCancelled = false;
};

}  // namespace KSV

namespace NvScn {

// Accepts and drops every point and polygon, and has none to give: a scene read through it keeps
// everything but its geometry.
class CScnSkipGeometry : public CScnExtStorage {
public:
    bool setCurrentInternalComponentInstance(CScnMgr*, const CScnUUID*, int32_t) override { return true; }
    void setNbPoints(CScnMgr*, int32_t) override {}
    bool addPoint(CScnMgr*, const CScnVector*, int32_t) override { return true; }
    void setNbPolygons(CScnMgr*, int32_t) override {}
    bool addPolygon(CScnMgr*, const CScnPolygon*, int32_t) override { return true; }
    int32_t getNbPoints(CScnMgr*) override { return 0; }
    bool fillPoint(CScnMgr*, CScnVector*, int32_t) override { return false; }
    int32_t getNbPolygons(CScnMgr*) override { return 0; }
    bool fillPolygon(CScnMgr*, CScnPolygon*, int32_t) override { return false; }
};

}  // namespace NvScn

#endif
