#include "GSScnExternal.h"
#include "Errors.h"
#include "HostCalls.h"
#include "StreamStore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

// The per-vertex steps of the polygon walk go into the walk itself, their rare branches not.
#define KSV_HOT inline __attribute__((always_inline))
#define KSV_COLD __attribute__((noinline))

namespace KSV {
namespace {

void check(GSErrCode error, int line)
{
    if (error != NoError) {
        throwHostError(error, kSrcGSScnExternal, line);
    }
}

template <class T>
T* checked(T* object, int line)
{
    if (object == nullptr) {
        throwNullResult(kSrcGSScnExternal, line);
    }
    return object;
}

[[noreturn]] void refuse(const char* format, int32_t a, int32_t b, int32_t c)
{
    char text[256];
    std::snprintf(text, sizeof text, format, static_cast<int>(a), static_cast<int>(b), static_cast<int>(c));
    throw std::runtime_error(text);
}

}  // namespace

void TextureOptionsOff::set(const ExportOptions& options)
{
    off[1] = options.textureWall == 0;
    off[2] = options.textureSlab == 0;
    off[3] = options.textureRoof == 0;
    off[4] = options.textureOthers == 0;
}

void ModelCursor::reset(const std::vector<int32_t>* elements)
{
    mElements = elements;
    mPosition = 0;
    mElement = 0;
    mBody = 0;
    mElementInfo = EXPElementInfo();
    mBodyInfo = EXPBodyInfo();
}

bool ModelCursor::nextElement()
{
    if (mElements != nullptr) {
        if (mPosition >= mElements->size()) {
            return false;
        }
        mElement = (*mElements)[mPosition++];
    } else {
        if (mElementCount < 0) {
            mElementCount = mTable.GetElementCount(&mModel);
        }
        if (mElement >= mElementCount) {
            return false;
        }
        ++mElement;
    }
    mBody = 0;
    check(mTable.GetElement(&mModel, mElement, &mElementInfo), __LINE__);
    return true;
}

bool ModelCursor::nextBody()
{
    while (true) {
        if (mElement >= 1 && mBody < mElementInfo.bodyCount) {
            ++mBody;
            check(mTable.GetBody(&mModel, mElement, mBody, &mBodyInfo), __LINE__);
            if (mBodyInfo.polygonCount > 0) {
                return true;
            }
            continue;
        }
        if (!nextElement()) {
            return false;
        }
    }
}

ModelTextures::ModelTextures(const EXPModelFunctionTable& table, const EXPModel& model)
{
    const int32_t materialCount = table.GetMaterialCount(&model);
    std::vector<int32_t> materialTextures;
    std::vector<double> rotations;
    for (int32_t i = 1; i <= materialCount; ++i) {
        EXPMaterialInfo info;
        check(table.GetMaterial(&model, i, &info), __LINE__);
        materialTextures.push_back(info.textureIndex);
        rotations.push_back(std::isfinite(info.textureRotation) ? info.textureRotation : 0.0);
    }
    const int32_t textureCount = table.GetTextureCount(&model);
    for (int32_t i = 1; i <= textureCount; ++i) {
        EXPTextureInfo info;
        check(table.GetTexture(&model, i, &info), __LINE__);
        Texture texture;
        texture.available = table.IsTextureAvailable(&model, i) && info.xSize > 0.0 && info.ySize > 0.0 &&
                            std::isfinite(info.xSize) && std::isfinite(info.ySize);
        texture.xSize = info.xSize;
        texture.ySize = info.ySize;
        mTextures.push_back(texture);
    }
    // Filled after the textures so that the pointers stay valid.
    mMaterials.resize(materialTextures.size());
    for (std::size_t i = 0; i < materialTextures.size(); ++i) {
        if (available(materialTextures[i])) {
            mMaterials[i].texture = &mTextures[static_cast<std::size_t>(materialTextures[i]) - 1];
            mMaterials[i].rotation = rotations[i];
        }
    }
}

bool ModelTextures::available(int32_t texture) const
{
    return texture >= 1 && static_cast<std::size_t>(texture) <= mTextures.size() &&
           mTextures[static_cast<std::size_t>(texture) - 1].available;
}

const ModelTextures::Texture* ModelTextures::shownBy(int32_t material, int32_t ownTexture, double* rotation) const
{
    *rotation = 0.0;
    if (available(ownTexture)) {
        return &mTextures[static_cast<std::size_t>(ownTexture) - 1];
    }
    if (material < 1 || static_cast<std::size_t>(material) > mMaterials.size()) {
        return nullptr;
    }
    const Material& facts = mMaterials[static_cast<std::size_t>(material) - 1];
    *rotation = facts.rotation;
    return facts.texture;
}

PointWalk::PointWalk(const EXPModelFunctionTable& table, const EXPModel& model)
    : mTable(table), mModel(model), mCursor(table, model), mMode(feedModeFromEnvironment())
{
    reset();
}

void PointWalk::reset(const std::vector<int32_t>* elements, int64_t items)
{
    mFeed.suspend();
    mCursor.reset(elements);
    mVertexInBody = 0;
    mOffsetTaken = false;
    mFeed.begin([this](Batch* batch) { produce(batch); }, items, mMode);
}

void PointWalk::Batch::clear()
{
    points.resize(kFeedBatchItems);
    count = 0;
    failure = nullptr;
}

void PointWalk::next(const PlanOffset& offset, NvScn::CScnVector* point)
{
    if (!mOffsetTaken) {
        // Taken before the producer starts, which reads it from then on.
        mOffset = offset;
        mOffsetTaken = true;
    }
    int32_t at = 0;
    const Batch& batch = mFeed.take(&at);
    if (at == batch.count) {
        std::rethrow_exception(batch.failure);
    }
    *point = batch.points[static_cast<std::size_t>(at)];
}

void PointWalk::produce(Batch* batch)
{
    try {
        while (batch->count < kFeedBatchItems) {
            NvScn::CScnVector point{0.0, 0.0, 0.0};
            walkOne(&point);
            streamStore(&batch->points[static_cast<std::size_t>(batch->count)], point);
            ++batch->count;
        }
    } catch (...) {
        batch->failure = std::current_exception();
    }
    streamFence();
}

void PointWalk::walkOne(NvScn::CScnVector* point)
{
    if (mCursor.element() == 0 || mVertexInBody >= mCursor.bodyInfo().vertexCount) {
        do {
            if (!mCursor.nextBody()) {
                throw std::runtime_error("The model has no more points");
            }
        } while (mCursor.bodyInfo().vertexCount <= 0);
        mVertexInBody = 0;
    }
    ++mVertexInBody;
    EXPVector vertex;
    check(mTable.GetVertex(&mModel, mCursor.element(), mCursor.body(), mVertexInBody, &vertex), __LINE__);
    *point = scenePosition(vertex.x, vertex.y, vertex.z, mOffset);
    if (!std::isfinite(point->x) || !std::isfinite(point->y) || !std::isfinite(point->z) ||
        std::fabs(point->x) > kLargestCoordinate || std::fabs(point->y) > kLargestCoordinate ||
        std::fabs(point->z) > kLargestCoordinate) {
        refuse("Vertex %d of body %d of element %d lies out of reach", mVertexInBody, mCursor.body(),
               mCursor.element());
    }
}

PolygonWalk::PolygonWalk(const EXPModelFunctionTable& table, const EXPModel& model, const ModelTextures& textures)
    : mTable(table), mModel(model), mTextures(textures), mCursor(table, model), mMode(feedModeFromEnvironment())
{
    reset();
}

void PolygonWalk::reset(const std::vector<int32_t>* elements, int64_t items)
{
    mFeed.suspend();
    mCursor.reset(elements);
    mPolygonInBody = 0;
    mBodyOpen = false;
    mPointBase = 0;
    mFeed.begin([this](Batch* batch) { produce(batch); }, items, mMode);
}

void PolygonWalk::Batch::clear()
{
    polygons.resize(kFeedBatchItems);
    cornerCount = 0;
    count = 0;
    failure = nullptr;
    walking = Walked();
}

void PolygonWalk::openBody()
{
    const EXPBodyInfo& info = mCursor.bodyInfo();
    if (++mBodyStamp == 0) {
        // The stamps wrapped: forget every entry so that none passes for the new body's.
        std::fill(mEdgeStamps.begin(), mEdgeStamps.end(), 0);
        std::fill(mVertexStamps.begin(), mVertexStamps.end(), 0);
        mBodyStamp = 1;
    }
    // Sized by the counts the host states; entries are only asked for in range.
    const std::size_t edges = info.edgeCount > 0 ? static_cast<std::size_t>(info.edgeCount) : 0;
    const std::size_t vertices = info.vertexCount > 0 ? static_cast<std::size_t>(info.vertexCount) : 0;
    if (mEdges.size() < edges) {
        mEdges.resize(edges);
        mEdgeStamps.resize(edges, 0);
    }
    if (mVertices.size() < vertices) {
        mVertices.resize(vertices);
        mVertexStamps.resize(vertices, 0);
    }
}

// The edges and vertices of a body are asked for on their first use only; the checks of that use
// stay out of line so that the many later uses are a lookup.
KSV_HOT const EXPEdgeInfo& PolygonWalk::edge(int32_t edge)
{
    const std::size_t i = static_cast<std::size_t>(edge) - 1;
    if (edge >= 1 && edge <= mCursor.bodyInfo().edgeCount && mEdgeStamps[i] == mBodyStamp) {
        return mEdges[i];
    }
    return fetchEdge(edge);
}

KSV_COLD const EXPEdgeInfo& PolygonWalk::fetchEdge(int32_t edge)
{
    if (edge < 1 || edge > mCursor.bodyInfo().edgeCount) {
        // Out of the stated range: the host answers for itself.
        check(mTable.GetEdge(&mModel, mCursor.element(), mCursor.body(), edge, &mOutOfRange), __LINE__);
        return mOutOfRange;
    }
    const std::size_t i = static_cast<std::size_t>(edge) - 1;
    check(mTable.GetEdge(&mModel, mCursor.element(), mCursor.body(), edge, &mEdges[i]), __LINE__);
    mEdgeStamps[i] = mBodyStamp;
    return mEdges[i];
}

KSV_HOT const EXPVector& PolygonWalk::vertex(int32_t vertex)
{
    // Callers have checked the index against the body's vertex count.
    const std::size_t i = static_cast<std::size_t>(vertex) - 1;
    return mVertexStamps[i] == mBodyStamp ? mVertices[i] : fetchVertex(vertex);
}

KSV_COLD const EXPVector& PolygonWalk::fetchVertex(int32_t vertex)
{
    const std::size_t i = static_cast<std::size_t>(vertex) - 1;
    check(mTable.GetVertex(&mModel, mCursor.element(), mCursor.body(), vertex, &mVertices[i]), __LINE__);
    mVertexStamps[i] = mBodyStamp;
    return mVertices[i];
}

PolygonWalk::Made PolygonWalk::next(const char* invalidMaterial, NvScn::CScnPolygon* polygon)
{
    int32_t at = 0;
    const Batch& batch = mFeed.take(&at);
    const bool failed = at == batch.count;
    const Walked& walked = failed ? batch.walking : batch.polygons[static_cast<std::size_t>(at)];
    if (walked.invalidMaterial < 1) {
        DBPrintf(invalidMaterial, static_cast<int>(walked.invalidMaterial));
    }
    fillCorners(batch, walked, at == 0 ? 0 : batch.polygons[static_cast<std::size_t>(at) - 1].end, polygon);
    if (failed) {
        std::rethrow_exception(batch.failure);
    }
    return walked.made;
}

void PolygonWalk::fillCorners(const Batch& batch, const Walked& walked, uint32_t begin, NvScn::CScnPolygon* polygon)
{
    if (begin == walked.end) {
        return;
    }
    NvScn::TScnObjectMgr<NvScn::CScnVertex>* loop = checked(polygon->getVertices(), __LINE__);
    for (uint32_t k = begin; k < walked.end; ++k) {
        const Corner& corner = batch.corners[k];
        if (corner.pointIndex < 0) {
            NvScn::CScnPolygon::CScnHole* hole = checked(polygon->getHoles()->newScnObject(NvScn::kScnLastIndex), __LINE__);
            loop = checked(hole->getVertices(), __LINE__);
            continue;
        }
        // A new record is zero-filled, so an unmapped corner's zero flags and coordinates match.
        *checked(loop->newScnObject(NvScn::kScnLastIndex), __LINE__) = corner;
    }
}

KSV_COLD void PolygonWalk::growCorners(Batch* batch)
{
    // A batch's corners are kept for the next batch in its slot, so this is rare.
    batch->corners.resize(std::max<std::size_t>(4 * kFeedBatchItems, 2 * batch->corners.size()));
}

// The corner's fields go to the batch from registers (see streamWords).
inline void PolygonWalk::addCorner(Batch* batch, int32_t pointIndex, uint32_t flags, float u, float v)
{
    static_assert(sizeof(Corner) == 16, "a corner is four 32-bit words");
    if (batch->cornerCount == batch->corners.size()) {
        growCorners(batch);
    }
    uint32_t uBits = 0;
    uint32_t vBits = 0;
    std::memcpy(&uBits, &u, sizeof u);
    std::memcpy(&vBits, &v, sizeof v);
    streamWords(&batch->corners[batch->cornerCount++], static_cast<uint32_t>(pointIndex), flags, uBits, vBits);
}

void PolygonWalk::produce(Batch* batch)
{
    try {
        while (batch->count < kFeedBatchItems) {
            walkOne(batch);
            ++batch->count;
        }
    } catch (...) {
        // The failed polygon keeps the corners it had, as the library's polygon would.
        batch->walking.end = batch->cornerCount;
        batch->failure = std::current_exception();
    }
    streamFence();
}

// The polygon is made in the batch's record of the polygon being walked, where a failure leaves
// it, and streamed to its place once made.
void PolygonWalk::walkOne(Batch* batch)
{
    Walked& walked = batch->walking;
    walked = Walked();
    if (!mBodyOpen || mPolygonInBody >= mCursor.bodyInfo().polygonCount) {
        if (mBodyOpen) {
            mPointBase += mCursor.bodyInfo().vertexCount > 0 ? mCursor.bodyInfo().vertexCount : 0;
        }
        if (!mCursor.nextBody()) {
            throw std::runtime_error("The model has no more polygons");
        }
        mBodyOpen = true;
        mPolygonInBody = 0;
        openBody();
    }
    ++mPolygonInBody;
    const int32_t element = mCursor.element();
    const int32_t body = mCursor.body();
    EXPPolygonInfo info;
    check(mTable.GetPolygon(&mModel, element, body, mPolygonInBody, &info), __LINE__);
    walked.made.material = info.materialIndex;
    walked.made.elementType = mCursor.elementInfo().type;
    if (walked.made.material < 1) {
        walked.invalidMaterial = walked.made.material;
        walked.made.material = 1;
    }
    walked.made.ownTexture = mTextures.available(info.textureIndex) ? info.textureIndex : 0;

    double rotation = 0.0;
    Mapping mapping;
    mapping.texture = mTextures.shownBy(walked.made.material, info.textureIndex, &rotation);
    if (rotation != 0.0) {
        mapping.cosine = std::cos(rotation);
        mapping.sine = std::sin(rotation);
        mapping.turned = true;
    }
    EXPVector normal = {0.0, 0.0, 0.0};
    if (mapping.texture != nullptr && info.normalIndex != 0) {
        const int32_t n = info.normalIndex < 0 ? -info.normalIndex : info.normalIndex;
        check(mTable.GetNormal(&mModel, element, body, n, &normal), __LINE__);
        if (info.normalIndex < 0) {
            normal = {-normal.x, -normal.y, -normal.z};
        }
    }

    int32_t outer = 0;
    bool inHole = false;
    bool holeWanted = false;
    for (int32_t k = 1; k <= info.edgeCount; ++k) {
        int32_t entry = 0;
        check(mTable.GetPolygonEdge(&mModel, element, body, mPolygonInBody, k, &entry), __LINE__);
        if (entry == 0) {
            // The hole begins with its first vertex, so that separators in a row make no empty hole.
            holeWanted = true;
            continue;
        }
        if (holeWanted) {
            addCorner(batch, -1, 0, 0.0f, 0.0f);
            inHole = true;
            holeWanted = false;
        }
        const EXPEdgeInfo& walkedEdge = edge(entry < 0 ? -entry : entry);
        addVertex(batch, entry < 0 ? walkedEdge.vertex2 : walkedEdge.vertex1, normal, mapping);
        outer += inHole ? 0 : 1;
    }
    if (outer < 3) {
        refuse("Polygon %d of body %d of element %d has fewer than three vertices", mPolygonInBody, body, element);
    }
    walked.end = batch->cornerCount;
    streamStore(&batch->polygons[static_cast<std::size_t>(batch->count)], walked);
}


KSV_HOT void PolygonWalk::addVertex(Batch* batch, int32_t vertex, const EXPVector& normal, const Mapping& mapping)
{
    const int32_t element = mCursor.element();
    const int32_t body = mCursor.body();
    if (vertex < 1 || vertex > mCursor.bodyInfo().vertexCount) {
        refuse("Polygon %d of body %d of element %d refers to a vertex the body does not have", mPolygonInBody, body,
               element);
    }
    const auto pointIndex = static_cast<int32_t>(mPointBase + vertex - 1);
    const ModelTextures::Texture* texture = mapping.texture;
    if (texture == nullptr) {
        addCorner(batch, pointIndex, 0, 0.0f, 0.0f);
    } else {
        const EXPVector& position = this->vertex(vertex);
        EXPTextureCoordinate st = {0.0, 0.0};
        if (mTable.GetTextureCoordinate(&mModel, element, body, mPolygonInBody, vertex, &position, &normal, &st) !=
            NoError) {
            st = {0.0, 0.0};
        }
        double u = st.s / texture->xSize;
        double v = st.t / texture->ySize;
        if (mapping.turned) {
            u = (st.s * mapping.cosine - st.t * mapping.sine) / texture->xSize;
            v = (st.s * mapping.sine + st.t * mapping.cosine) / texture->ySize;
        }
        addCorner(batch, pointIndex, NvScn::kScnVertexMapped, std::isfinite(u) ? static_cast<float>(u) : 0.0f,
                  std::isfinite(v) ? static_cast<float>(v) : 0.0f);
    }
}

KSV_COLD bool userPressedCancel()
{
    int32_t answer = 0;
    ACAPI_ProgressWindow(kSelCANC, &answer);
    return answer != 0;
}

KSV_COLD void openProgressPhase(const GS::UniString& text, int32_t maximum)
{
    GS::UniString shown(text);
    ACAPI_ProgressWindow(kSelSPRP, &shown, asParameter(maximum));
}

GSScnExternal::GSScnExternal(const EXPModelFunctionTable& table, const EXPModel& model, const ProgressStrings& strings,
                             const MaterialMap& materials, bool reservedFlag)
    : mStrings(strings), mMaterials(materials), mReservedFlag(reservedFlag),
      mTextures(table, model), mPoints(table, model), mPolygons(table, model, mTextures)
{
    ModelCursor counter(table, model);
    int64_t points = 0;
    int64_t polygons = 0;
    while (counter.nextBody()) {
        points += counter.bodyInfo().vertexCount > 0 ? counter.bodyInfo().vertexCount : 0;
        polygons += counter.bodyInfo().polygonCount;
    }
    if (points > INT32_MAX || polygons > INT32_MAX) {
        throw std::runtime_error("The model has more points or polygons than a scene holds");
    }
    mPointTotal = static_cast<int32_t>(points);
    mPolygonTotal = static_cast<int32_t>(polygons);
    mNextOwnTextureMaterial = mTextures.materialCount();
    mPoints.reset(nullptr, mPointTotal);
    mPolygons.reset(nullptr, mPolygonTotal);
}

void GSScnExternal::setTextureOptions(const ExportOptions& options, int32_t materialsBeforeTexturedPass)
{
    mTextureOff.set(options);
    mMaterialsBeforeTexturedPass = materialsBeforeTexturedPass;
}

bool GSScnExternal::setCurrentInternalComponentInstance(NvScn::CScnMgr*, const NvScn::CScnUUID*, int32_t)
{
    return true;
}

void GSScnExternal::setNbPoints(NvScn::CScnMgr*, int32_t) {}

bool GSScnExternal::addPoint(NvScn::CScnMgr*, const NvScn::CScnVector*, int32_t) { return false; }

void GSScnExternal::setNbPolygons(NvScn::CScnMgr*, int32_t) {}

bool GSScnExternal::addPolygon(NvScn::CScnMgr*, const NvScn::CScnPolygon*, int32_t) { return false; }

int32_t GSScnExternal::getNbPoints(NvScn::CScnMgr*) { return mPointTotal; }

int32_t GSScnExternal::getNbPolygons(NvScn::CScnMgr*) { return mPolygonTotal; }

bool GSScnExternal::advanceProgress(int32_t* done, int32_t phase, int32_t total)
{
    if (*done == 0) {
        openProgressPhase(mStrings[static_cast<std::size_t>(phase)], total);
    }
    ++*done;
    ACAPI_ProgressWindow(kSelSPRV, asParameter(*done));
    if (*done % 1000 == 0 && userPressedCancel()) {
        mCancelled = true;
        return false;
    }
    return true;
}

bool GSScnExternal::fillPoint(NvScn::CScnMgr*, NvScn::CScnVector* point, int32_t)
{
    return guardedSupply("KSV::GSScnExternal::fillPoint", false, [&] {
        // One walk reads the host model at a time.
        mPolygons.suspend();
        if (!advanceProgress(&mPointsDone, 5, mPointTotal)) {
            return false;
        }
        mPoints.next(mOffset, checked(point, __LINE__));
        return true;
    });
}

bool GSScnExternal::fillPolygon(NvScn::CScnMgr*, NvScn::CScnPolygon* polygon, int32_t)
{
    return guardedSupply("KSV::GSScnExternal::fillPolygon", false, [&] {
        mPoints.suspend();
        if (!advanceProgress(&mPolygonsDone, 6, mPolygonTotal)) {
            return false;
        }
        const PolygonWalk::Made made =
            mPolygons.next("KSV::GSScnExternal::GetPolygonMaterialIndex - Invalid material index (%d)\n",
                           checked(polygon, __LINE__));
        polygon->setPropertyIndex(made.ownTexture != 0 ? mNextOwnTextureMaterial++
                                                       : sceneMaterial(made.material, made.elementType));
        return true;
    });
}

int32_t GSScnExternal::sceneMaterial(int32_t hostIndex, int32_t elementType) const
{
    if (mTextureOff.allOn()) {
        return hostIndex - 1;
    }
    const int32_t mapped = mTextureOff.onFor(elementType) ? mMaterials.find(hostIndex) : 0;
    return mapped != 0 ? mapped - 1 : hostIndex - 1;
}

}  // namespace KSV
