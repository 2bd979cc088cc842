// The geometry suppliers: the host model's geometry as one stream of points and polygons, pulled
// by the scene library while it writes, and the supplier that drops everything.
#ifndef KSV_GS_SCN_EXTERNAL_H
#define KSV_GS_SCN_EXTERNAL_H

#include "Conversions.h"
#include "Errors.h"
#include "ExportOptions.h"
#include "GeometryFeed.h"
#include "GSModeler.h"
#include "GSRoot.h"
#include "MaterialMap.h"

#include <Scn.h>

#include <array>
#include <exception>
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

// Walks the bodies of the host model that have polygons, element by element: every element of the
// model, or only those of a list.
class ModelCursor {
public:
    ModelCursor(const EXPModelFunctionTable& table, const EXPModel& model) : mTable(table), mModel(model) {}
    // Back to before the first element; with a list (which must outlive the walk), the walk
    // visits only its elements, in its order.
    void reset(const std::vector<int32_t>* elements = nullptr);
    // Moves to the next body with at least one polygon; false past the last one.
    bool nextBody();
    int32_t element() const { return mElement; }
    int32_t body() const { return mBody; }
    const EXPElementInfo& elementInfo() const { return mElementInfo; }
    const EXPBodyInfo& bodyInfo() const { return mBodyInfo; }

private:
    bool nextElement();

    const EXPModelFunctionTable& mTable;
    const EXPModel& mModel;
    const std::vector<int32_t>* mElements = nullptr;
    std::size_t mPosition = 0;
    int32_t mElementCount = -1;
    int32_t mElement = 0;
    int32_t mBody = 0;
    EXPElementInfo mElementInfo = {};
    EXPBodyInfo mBodyInfo = {};
};

// What the suppliers need of the host's materials and textures, read once.
class ModelTextures {
public:
    struct Texture {
        bool available = false;
        double xSize = 1.0;
        double ySize = 1.0;
    };
    // Raises on a host error.
    ModelTextures(const EXPModelFunctionTable& table, const EXPModel& model);
    // Not copied: the material facts point into the texture list.
    ModelTextures(const ModelTextures&) = delete;
    ModelTextures& operator=(const ModelTextures&) = delete;
    int32_t materialCount() const { return static_cast<int32_t>(mMaterials.size()); }
    // Whether host texture index exists and the host can give its image.
    bool available(int32_t texture) const;
    // The texture a polygon shows: its own when available, else its material's when available;
    // null for none. *rotation receives the material texture's turn (0 for an own texture).
    const Texture* shownBy(int32_t material, int32_t ownTexture, double* rotation) const;

private:
    // What a polygon of a material shows when it has no own texture, worked out once.
    struct Material {
        const Texture* texture = nullptr;   // the material's texture when available
        double rotation = 0.0;              // its turn; 0 without one
    };
    std::vector<Material> mMaterials;   // host material i at i - 1
    std::vector<Texture> mTextures;     // host texture i at i - 1
};

// The points of the walked bodies, one after the other. A producer walks the host model ahead in
// batches (on a worker thread for large walks, see GeometryFeed.h); next() takes them in order on
// the calling thread.
class PointWalk {
public:
    PointWalk(const EXPModelFunctionTable& table, const EXPModel& model);
    // Back to the first point; with a list, of its elements only. items is about how many points
    // the walk gives, which decides whether a worker walks ahead.
    void reset(const std::vector<int32_t>* elements = nullptr, int64_t items = 0);
    // The next point in centimetres, the plan offset added (the offset of the first call after a
    // reset holds for the walk); raises past the last point and for a point out of a scene's reach.
    void next(const PlanOffset& offset, NvScn::CScnVector* point);
    // Stops walking ahead until the next point is asked for, so that another walk may use the host.
    void suspend() { mFeed.suspend(); }

private:
    // Points made ahead of the library, and what the walk raised after the last of them; the
    // list keeps its size and its points are streamed past the caches (StreamStore.h).
    struct Batch {
        std::vector<NvScn::CScnVector> points;
        int32_t count = 0;
        std::exception_ptr failure;
        void clear();
    };
    void produce(Batch* batch);
    void walkOne(NvScn::CScnVector* point);

    const EXPModelFunctionTable& mTable;
    const EXPModel& mModel;
    // The producer's place, written at every point.
    ModelCursor mCursor;
    int32_t mVertexInBody = 0;
    // Read by the calling thread at every point: not on the producer's lines.
    alignas(kCacheLine) PlanOffset mOffset;
    bool mOffsetTaken = false;
    FeedMode mMode;
    BatchFeed<Batch> mFeed;   // last: its worker is joined before the walk goes
};

// The polygons of the walked bodies, one after the other, with the global index of each vertex:
// the points of the bodies walked before count first. Walked ahead in batches as the points are.
class PolygonWalk {
public:
    // What a filled polygon was made of.
    struct Made {
        int32_t material = 1;     // the host material, 1 for an invalid index
        int32_t elementType = 0;
        int32_t ownTexture = 0;   // the polygon's own texture when available, else 0
    };
    PolygonWalk(const EXPModelFunctionTable& table, const EXPModel& model, const ModelTextures& textures);
    // Back to the first polygon; with a list, of its elements only; items as for the points.
    void reset(const std::vector<int32_t>* elements = nullptr, int64_t items = 0);
    // Fills the outer contour, the holes and the texture coordinates of the next polygon; prints
    // invalidMaterial (with the index) for a material index below 1. The property index is left
    // to the caller. Raises past the last polygon and for a polygon the host gives wrongly.
    Made next(const char* invalidMaterial, NvScn::CScnPolygon* polygon);
    // Stops walking ahead until the next polygon is asked for.
    void suspend() { mFeed.suspend(); }

private:
    // How a polygon's texture lies: its sizes and the turn of its material's texture.
    struct Mapping {
        const ModelTextures::Texture* texture = nullptr;
        double cosine = 1.0;
        double sine = 0.0;
        bool turned = false;
    };
    // A corner of a walked polygon as the library's vertex record takes it; point index -1
    // starts a hole.
    using Corner = NvScn::CScnVertex;
    // A walked polygon: what it was made of and where its corners end.
    struct Walked {
        Made made;
        // The host's index when it was below 1 (and is reported); 1 when it was not.
        int32_t invalidMaterial = 1;
        uint32_t end = 0;
    };
    // Polygons made ahead of the library, and what the walk raised after the last of them, with
    // what the failed polygon had made of itself before it failed. The records are streamed past
    // the caches (StreamStore.h): the lists keep their size, cornerCount says how many corners
    // are this batch's.
    struct Batch {
        std::vector<Walked> polygons;
        std::vector<Corner> corners;
        uint32_t cornerCount = 0;
        int32_t count = 0;
        std::exception_ptr failure;
        Walked walking;   // the failed polygon after a failure
        void clear();
    };
    static void fillCorners(const Batch& batch, const Walked& walked, uint32_t begin, NvScn::CScnPolygon* polygon);
    void produce(Batch* batch);
    void walkOne(Batch* batch);
    void openBody();
    const EXPEdgeInfo& edge(int32_t edge);
    const EXPEdgeInfo& fetchEdge(int32_t edge);
    const EXPVector& vertex(int32_t vertex);
    const EXPVector& fetchVertex(int32_t vertex);
    void addVertex(Batch* batch, int32_t vertex, const EXPVector& normal, const Mapping& mapping);
    // Appends a corner to the batch (point index -1 for a hole's start).
    static void addCorner(Batch* batch, int32_t pointIndex, uint32_t flags, float u, float v);
    static void growCorners(Batch* batch);

    const EXPModelFunctionTable& mTable;
    const EXPModel& mModel;
    const ModelTextures& mTextures;
    ModelCursor mCursor;
    int32_t mPolygonInBody = 0;
    bool mBodyOpen = false;
    int64_t mPointBase = 0;   // global index of the current body's first point
    // The current body's edges and vertices as the host gave them, each asked for once: neighbouring
    // polygons share them. An entry is valid when its stamp is the body's.
    std::vector<EXPEdgeInfo> mEdges;
    std::vector<uint32_t> mEdgeStamps;
    std::vector<EXPVector> mVertices;
    std::vector<uint32_t> mVertexStamps;
    uint32_t mBodyStamp = 0;
    EXPEdgeInfo mOutOfRange = {};
    FeedMode mMode;
    BatchFeed<Batch> mFeed;   // last: its worker is joined before the walk goes
};

// Calls visit(cursor, polygon record) for every polygon of the walked bodies (of the listed
// elements only, when given), in walk order; raises on a host error. A template, as it runs once
// per polygon.
template <class Visit>
void forEachPolygon(const EXPModelFunctionTable& table, const EXPModel& model, const std::vector<int32_t>* elements,
                    Visit&& visit)
{
    ModelCursor cursor(table, model);
    cursor.reset(elements);
    while (cursor.nextBody()) {
        for (int32_t p = 1; p <= cursor.bodyInfo().polygonCount; ++p) {
            EXPPolygonInfo info;
            const GSErrCode error = table.GetPolygon(&model, cursor.element(), cursor.body(), p, &info);
            if (error != NoError) {
                throwHostError(error, kSrcGSScnExternal, __LINE__);
            }
            visit(static_cast<const ModelCursor&>(cursor), static_cast<const EXPPolygonInfo&>(info));
        }
    }
}

// Asks the progress window whether the user pressed Cancel.
bool userPressedCancel();

// Opens a phase of the progress window with its text and maximum; out of line, so that the
// per-item progress steps that call it once stay short.
void openProgressPhase(const GS::UniString& text, int32_t maximum);

// Runs one library-facing operation: any exception becomes one "Catch" line of the debug log and
// the answer failed.
template <class Answer, class Work>
Answer guardedSupply(const char* operation, Answer failed, Work&& work)
{
    try {
        return work();
    } catch (const std::exception& error) {
        DBPrintf("Catch \"%s\" in %s\n", error.what(), operation);
    } catch (...) {
        DBPrintf("Catch unknown exception in %s\n", operation);
    }
    return failed;
}

// The whole host model as one point list and one polygon list. Points are the vertices of every
// body with polygons, in centimetres with the kept plan offset; polygons refer to them by their
// global index. Every library-facing operation catches everything, prints a "Catch" line to the
// host's debug log and answers false (or 0).
class GSScnExternal final : public NvScn::CScnExtStorage {
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
    int32_t sceneMaterial(int32_t hostIndex, int32_t elementType) const;
    // Counts one more item of a phase (progress string index), opening the phase with the first;
    // false when the user cancelled at this item.
    bool advanceProgress(int32_t* done, int32_t phase, int32_t total);

    const ProgressStrings& mStrings;
    const MaterialMap& mMaterials;
    bool mReservedFlag;
    TextureOptionsOff mTextureOff;
    int32_t mMaterialsBeforeTexturedPass = 0;
    PlanOffset mOffset;
    ModelTextures mTextures;
    PointWalk mPoints;
    PolygonWalk mPolygons;
    int32_t mPointTotal = 0;
    int32_t mPolygonTotal = 0;
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
