// The modeler: views onto the project's model, the model an add-on takes from a view, and the
// function table through which it walks the model.
#include "CADHost.h"
#include "GSModeler.h"
#include "HostState.h"
#include "Model.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace Modeler {

struct SightAccess {
    static Sight* create(std::shared_ptr<const cadhost::Model> model)
    {
        auto* sight = new Sight;
        sight->mModel = new std::shared_ptr<const cadhost::Model>(std::move(model));
        ++cadhost::host().liveSights;
        return sight;
    }
    static void destroy(Sight* sight)
    {
        delete static_cast<std::shared_ptr<const cadhost::Model>*>(sight->mModel);
        delete sight;
        --cadhost::host().liveSights;
    }
    static const std::shared_ptr<const cadhost::Model>& model(const Sight* sight)
    {
        return *static_cast<const std::shared_ptr<const cadhost::Model>*>(sight->mModel);
    }
};

void Sight::AddReference() { ++mReferences; }

void Sight::RemoveReference()
{
    if (--mReferences == 0) {
        SightAccess::destroy(this);
    }
}

int32_t Sight::GetReferenceCount() const { return mReferences; }

}  // namespace Modeler

namespace cadhost {
namespace {

// What EXPModel::data points at: the model, kept alive while the add-on holds it, and the body
// and the polygon last asked for. A walk asks for the same body and polygon many times in a row,
// and the model does not change while it is held. A walk on a worker thread writes it at every
// polygon: it has its cache lines to itself, so that the thread using the neighbouring memory
// does not have them taken away each time.
struct alignas(64) ModelData {
    std::shared_ptr<const Model> model;
    int32_t element = 0;
    int32_t body = 0;
    const ModelBody* found = nullptr;   // of element and body; null none
    // Of the found body, for the walk's quick answers: its counts (0 while none is found), its
    // first vertex when it has no matrix, first edge and first (u, v) pair (null when none).
    int32_t vertexCount = 0;
    int32_t edgeCount = 0;
    int32_t polygonCount = 0;
    int32_t normalCount = 0;
    const Vec3* vertices = nullptr;
    const ModelEdge* edges = nullptr;
    const Vec3* normals = nullptr;      // null also for a body with a matrix
    const float* uvs = nullptr;
    int32_t polygon = 0;                // of the found body, 0 none
    const int32_t* edgeList = nullptr;  // of that polygon
    uint32_t edgeListLength = 0;
    bool sized = false;                 // whether the sizes below are that polygon's
    double xSize = 1.0;                 // of the texture it shows; 1 for none
    double ySize = 1.0;
};

const Model* modelOf(const EXPModel* model)
{
    return model != nullptr && model->data != nullptr ? static_cast<const ModelData*>(model->data)->model.get()
                                                       : nullptr;
}

void copyText(char (&field)[256], const std::string& text) { std::snprintf(field, sizeof field, "%s", text.c_str()); }

int32_t getElementCount(const EXPModel* model)
{
    const Model* m = modelOf(model);
    return m != nullptr ? static_cast<int32_t>(m->elements.size()) : 0;
}

GSErrCode getElement(const EXPModel* model, int32_t element, EXPElementInfo* info)
{
    const Model* m = modelOf(model);
    if (m == nullptr || info == nullptr) {
        return APIERR_BADPARS;
    }
    if (element < 1 || static_cast<std::size_t>(element) > m->elements.size()) {
        return APIERR_BADINDEX;
    }
    const ModelElement& e = m->elements[static_cast<std::size_t>(element) - 1];
    info->type = e.type;
    info->bodyCount = e.bodyCount;
    info->guid = e.guid;
    return NoError;
}

// The body behind the indices, or the code to answer.
inline GSErrCode findBody(const EXPModel* model, int32_t element, int32_t body, const void* record, ModelData** d,
                          const ModelBody** b)
{
    if (model == nullptr || model->data == nullptr || record == nullptr) {
        return APIERR_BADPARS;
    }
    ModelData* data = static_cast<ModelData*>(model->data);
    if (data->found == nullptr || element != data->element || body != data->body) {
        const ModelBody* found = data->model->body(element, body);
        if (found == nullptr) {
            return APIERR_BADINDEX;
        }
        const Model& m = *data->model;
        data->element = element;
        data->body = body;
        data->found = found;
        data->polygon = 0;
        data->vertexCount = found->vertexCount;
        data->edgeCount = found->edgeCount;
        data->polygonCount = found->polygonCount;
        data->vertices = found->matrix < 0 && found->vertexCount > 0 ? m.vertices.data() + found->firstVertex : nullptr;
        data->edges = found->edgeCount > 0 ? m.edges.data() + found->firstEdge : nullptr;
        data->normalCount = found->normalCount;
        data->normals = found->matrix < 0 && found->normalCount > 0 ? m.normals.data() + found->firstNormal : nullptr;
        data->uvs = found->firstUV >= 0 ? m.uvs.data() + found->firstUV : nullptr;
    }
    *d = data;
    *b = data->found;
    return NoError;
}

// The texture a polygon shows: its own, else its material's; 0 when none.
int32_t textureOf(const Model& m, const ModelPolygon& p)
{
    if (p.texture >= 1 && static_cast<std::size_t>(p.texture) <= m.textures.size()) {
        return p.texture;
    }
    if (p.material >= 1 && static_cast<std::size_t>(p.material) <= m.materials.size()) {
        return m.materials[static_cast<std::size_t>(p.material) - 1].textureIndex;
    }
    return 0;
}

// Remembers the edge list of a polygon of the found body (1-based, in range).
inline void notePolygon(ModelData* data, const ModelBody& b, int32_t polygon)
{
    if (data->polygon != polygon) {
        data->polygon = polygon;
        data->sized = false;
        data->edgeList = data->model->edgeList(b, polygon);
        data->edgeListLength = data->model->edgeListLength(b, polygon);
    }
}

// Remembers the sizes of the texture that a polygon of the found body shows (1-based, in range).
inline void noteTextureSizes(ModelData* data, const ModelBody& b, int32_t polygon)
{
    notePolygon(data, b, polygon);
    if (data->sized) {
        return;
    }
    const Model& m = *data->model;
    const int32_t texture = textureOf(m, m.polygons[b.firstPolygon + static_cast<uint64_t>(polygon) - 1]);
    const bool known = texture >= 1 && static_cast<std::size_t>(texture) <= m.textures.size();
    data->xSize = known ? m.textures[static_cast<std::size_t>(texture) - 1].xSize : 1.0;
    data->ySize = known ? m.textures[static_cast<std::size_t>(texture) - 1].ySize : 1.0;
    data->sized = true;
}

GSErrCode getBody(const EXPModel* model, int32_t element, int32_t body, EXPBodyInfo* info)
{
    ModelData* d;
    const ModelBody* b;
    const GSErrCode error = findBody(model, element, body, info, &d, &b);
    if (error != NoError) {
        return error;
    }
    info->vertexCount = b->vertexCount;
    info->edgeCount = b->edgeCount;
    info->polygonCount = b->polygonCount;
    info->normalCount = b->normalCount;
    return NoError;
}

// The walk asks for the items of one body, and of one polygon, many times in a row: each service
// answers those from the remembered body and polygon in a few steps, and everything else (another
// body, an index out of range, a missing record) below its quick path as before.
inline ModelData* dataOf(const EXPModel* model)
{
    return model != nullptr ? static_cast<ModelData*>(model->data) : nullptr;
}

// Whether d remembers the body of element and body.
inline bool sameBody(const ModelData* d, int32_t element, int32_t body)
{
    return d != nullptr && d->found != nullptr && element == d->element && body == d->body;
}

// Whether d remembers polygon (which then lies in range) of the body of element and body.
inline bool samePolygon(const ModelData* d, int32_t element, int32_t body, int32_t polygon)
{
    return d != nullptr && polygon != 0 && polygon == d->polygon && element == d->element && body == d->body;
}

// Answers item (1-based) of the remembered body's list when the list and the record are there
// and the item lies in range; false leaves the question to the general path.
inline bool answerFrom(const Vec3* items, int32_t count, int32_t item, EXPVector* out)
{
    if (out == nullptr || items == nullptr || static_cast<uint32_t>(item) - 1u >= static_cast<uint32_t>(count)) {
        return false;
    }
    const Vec3& v = items[item - 1];
    *out = {v.x, v.y, v.z};
    return true;
}

GSErrCode getVertexSlow(const EXPModel* model, int32_t element, int32_t body, int32_t vertex, EXPVector* position);

GSErrCode getVertex(const EXPModel* model, int32_t element, int32_t body, int32_t vertex, EXPVector* position)
{
    const ModelData* d = dataOf(model);
    if (sameBody(d, element, body) && answerFrom(d->vertices, d->vertexCount, vertex, position)) {
        return NoError;
    }
    return getVertexSlow(model, element, body, vertex, position);
}

__attribute__((noinline)) GSErrCode getVertexSlow(const EXPModel* model, int32_t element, int32_t body,
                                                  int32_t vertex, EXPVector* position)
{
    ModelData* d;
    const ModelBody* b;
    const GSErrCode error = findBody(model, element, body, position, &d, &b);
    if (error != NoError) {
        return error;
    }
    const Model* m = d->model.get();
    if (vertex < 1 || vertex > b->vertexCount) {
        return APIERR_BADINDEX;
    }
    const Vec3 p = m->modelVertex(*b, vertex);
    *position = {p.x, p.y, p.z};
    return NoError;
}

GSErrCode getEdgeSlow(const EXPModel* model, int32_t element, int32_t body, int32_t edge, EXPEdgeInfo* info);

GSErrCode getEdge(const EXPModel* model, int32_t element, int32_t body, int32_t edge, EXPEdgeInfo* info)
{
    const ModelData* d = dataOf(model);
    if (info != nullptr && sameBody(d, element, body) &&
        static_cast<uint32_t>(edge) - 1u < static_cast<uint32_t>(d->edgeCount)) {
        const ModelEdge& e = d->edges[edge - 1];
        info->vertex1 = e.begin;
        info->vertex2 = e.end;
        return NoError;
    }
    return getEdgeSlow(model, element, body, edge, info);
}

__attribute__((noinline)) GSErrCode getEdgeSlow(const EXPModel* model, int32_t element, int32_t body, int32_t edge,
                                                EXPEdgeInfo* info)
{
    ModelData* d;
    const ModelBody* b;
    const GSErrCode error = findBody(model, element, body, info, &d, &b);
    if (error != NoError) {
        return error;
    }
    const Model* m = d->model.get();
    if (edge < 1 || edge > b->edgeCount) {
        return APIERR_BADINDEX;
    }
    const ModelEdge& e = m->edges[b->firstEdge + static_cast<uint64_t>(edge) - 1];
    info->vertex1 = e.begin;
    info->vertex2 = e.end;
    return NoError;
}

GSErrCode getPolygonSlow(const EXPModel* model, int32_t element, int32_t body, int32_t polygon,
                         EXPPolygonInfo* info);

GSErrCode getPolygon(const EXPModel* model, int32_t element, int32_t body, int32_t polygon, EXPPolygonInfo* info)
{
    ModelData* d = dataOf(model);
    if (info != nullptr && sameBody(d, element, body) &&
        static_cast<uint32_t>(polygon) - 1u < static_cast<uint32_t>(d->polygonCount)) {
        const ModelBody& b = *d->found;
        const ModelPolygon& p = d->model->polygons[b.firstPolygon + static_cast<uint64_t>(polygon) - 1];
        info->materialIndex = p.material;
        info->textureIndex = p.texture;
        info->normalIndex = p.normal;
        notePolygon(d, b, polygon);
        info->edgeCount = static_cast<int32_t>(d->edgeListLength);
        return NoError;
    }
    return getPolygonSlow(model, element, body, polygon, info);
}

__attribute__((noinline)) GSErrCode getPolygonSlow(const EXPModel* model, int32_t element, int32_t body,
                                                   int32_t polygon, EXPPolygonInfo* info)
{
    ModelData* d;
    const ModelBody* b;
    const GSErrCode error = findBody(model, element, body, info, &d, &b);
    if (error != NoError) {
        return error;
    }
    const Model* m = d->model.get();
    if (polygon < 1 || polygon > b->polygonCount) {
        return APIERR_BADINDEX;
    }
    const ModelPolygon& p = m->polygons[b->firstPolygon + static_cast<uint64_t>(polygon) - 1];
    info->materialIndex = p.material;
    info->textureIndex = p.texture;
    info->normalIndex = p.normal;
    notePolygon(d, *b, polygon);
    info->edgeCount = static_cast<int32_t>(d->edgeListLength);
    return NoError;
}

GSErrCode getPolygonEdgeSlow(const EXPModel* model, int32_t element, int32_t body, int32_t polygon, int32_t k,
                             int32_t* signedEdge);

GSErrCode getPolygonEdge(const EXPModel* model, int32_t element, int32_t body, int32_t polygon, int32_t k,
                         int32_t* signedEdge)
{
    const ModelData* d = dataOf(model);
    if (signedEdge != nullptr && samePolygon(d, element, body, polygon) &&
        static_cast<uint32_t>(k) - 1u < d->edgeListLength) {
        *signedEdge = d->edgeList[k - 1];
        return NoError;
    }
    return getPolygonEdgeSlow(model, element, body, polygon, k, signedEdge);
}

__attribute__((noinline)) GSErrCode getPolygonEdgeSlow(const EXPModel* model, int32_t element, int32_t body,
                                                       int32_t polygon, int32_t k, int32_t* signedEdge)
{
    ModelData* d;
    const ModelBody* b;
    const GSErrCode error = findBody(model, element, body, signedEdge, &d, &b);
    if (error != NoError) {
        return error;
    }
    if (polygon < 1 || polygon > b->polygonCount) {
        return APIERR_BADINDEX;
    }
    notePolygon(d, *b, polygon);
    if (k < 1 || static_cast<uint32_t>(k) > d->edgeListLength) {
        return APIERR_BADINDEX;
    }
    *signedEdge = d->edgeList[k - 1];
    return NoError;
}

GSErrCode getNormalSlow(const EXPModel* model, int32_t element, int32_t body, int32_t normal, EXPVector* direction);

GSErrCode getNormal(const EXPModel* model, int32_t element, int32_t body, int32_t normal, EXPVector* direction)
{
    const ModelData* d = dataOf(model);
    if (sameBody(d, element, body) && answerFrom(d->normals, d->normalCount, normal, direction)) {
        return NoError;
    }
    return getNormalSlow(model, element, body, normal, direction);
}

__attribute__((noinline)) GSErrCode getNormalSlow(const EXPModel* model, int32_t element, int32_t body,
                                                  int32_t normal, EXPVector* direction)
{
    ModelData* d;
    const ModelBody* b;
    const GSErrCode error = findBody(model, element, body, direction, &d, &b);
    if (error != NoError) {
        return error;
    }
    const Model* m = d->model.get();
    if (normal < 1 || normal > b->normalCount) {
        return APIERR_BADINDEX;
    }
    const Vec3 n = m->modelNormal(*b, normal);
    *direction = {n.x, n.y, n.z};
    return NoError;
}

GSErrCode getTextureCoordinateSlow(const EXPModel* model, int32_t element, int32_t body, int32_t polygon,
                                   int32_t vertex, const EXPVector* position, const EXPVector* normal,
                                   EXPTextureCoordinate* coordinate);

GSErrCode getTextureCoordinate(const EXPModel* model, int32_t element, int32_t body, int32_t polygon, int32_t vertex,
                               const EXPVector* position, const EXPVector* normal, EXPTextureCoordinate* coordinate)
{
    ModelData* d = dataOf(model);
    if (coordinate != nullptr && position != nullptr && normal != nullptr && samePolygon(d, element, body, polygon) &&
        d->uvs != nullptr && static_cast<uint32_t>(vertex) - 1u < static_cast<uint32_t>(d->vertexCount)) {
        if (!d->sized) {
            noteTextureSizes(d, *d->found, polygon);
        }
        const float* uv = d->uvs + 2 * (static_cast<int64_t>(vertex) - 1);
        coordinate->s = static_cast<double>(uv[0]) * d->xSize;
        coordinate->t = static_cast<double>(uv[1]) * d->ySize;
        return NoError;
    }
    return getTextureCoordinateSlow(model, element, body, polygon, vertex, position, normal, coordinate);
}

__attribute__((noinline)) GSErrCode getTextureCoordinateSlow(const EXPModel* model, int32_t element, int32_t body,
                                                             int32_t polygon, int32_t vertex,
                                                             const EXPVector* position, const EXPVector* normal,
                                                             EXPTextureCoordinate* coordinate)
{
    ModelData* d;
    const ModelBody* b;
    const GSErrCode error = findBody(model, element, body, coordinate, &d, &b);
    if (error != NoError) {
        return error;
    }
    const Model* m = d->model.get();
    if (position == nullptr || normal == nullptr) {
        return APIERR_BADPARS;
    }
    if (polygon < 1 || polygon > b->polygonCount || vertex < 1 || vertex > b->vertexCount) {
        return APIERR_BADINDEX;
    }
    noteTextureSizes(d, *b, polygon);
    const double xSize = d->xSize;
    const double ySize = d->ySize;
    if (b->firstUV >= 0) {
        // The body carries the file's texture coordinates: fractions of the image.
        const float* uv = m->uvs.data() + b->firstUV + 2 * (static_cast<int64_t>(vertex) - 1);
        coordinate->s = static_cast<double>(uv[0]) * xSize;
        coordinate->t = static_cast<double>(uv[1]) * ySize;
        return NoError;
    }
    // Box mapping: the texture lies on the model plane that the normal faces most, read as one
    // looks at that face from outside.
    const double ax = std::fabs(normal->x), ay = std::fabs(normal->y), az = std::fabs(normal->z);
    if (az >= ax && az >= ay) {
        coordinate->s = normal->z >= 0.0 ? position->x : -position->x;
        coordinate->t = position->y;
    } else if (ax >= ay) {
        coordinate->s = normal->x >= 0.0 ? position->y : -position->y;
        coordinate->t = position->z;
    } else {
        coordinate->s = normal->y >= 0.0 ? -position->x : position->x;
        coordinate->t = position->z;
    }
    return NoError;
}

int32_t getMaterialCount(const EXPModel* model)
{
    const Model* m = modelOf(model);
    return m != nullptr ? static_cast<int32_t>(m->materials.size()) : 0;
}

GSErrCode getMaterial(const EXPModel* model, int32_t material, EXPMaterialInfo* info)
{
    const Model* m = modelOf(model);
    if (m == nullptr || info == nullptr) {
        return APIERR_BADPARS;
    }
    if (material < 1 || static_cast<std::size_t>(material) > m->materials.size()) {
        return APIERR_BADINDEX;
    }
    *info = m->materials[static_cast<std::size_t>(material) - 1];
    return NoError;
}

int32_t getTextureCount(const EXPModel* model)
{
    const Model* m = modelOf(model);
    return m != nullptr ? static_cast<int32_t>(m->textures.size()) : 0;
}

const ModelTexture* textureAt(const Model* m, int32_t texture)
{
    return texture >= 1 && static_cast<std::size_t>(texture) <= m->textures.size()
               ? &m->textures[static_cast<std::size_t>(texture) - 1] : nullptr;
}

GSErrCode getTexture(const EXPModel* model, int32_t texture, EXPTextureInfo* info)
{
    const Model* m = modelOf(model);
    if (m == nullptr || info == nullptr) {
        return APIERR_BADPARS;
    }
    const ModelTexture* t = textureAt(m, texture);
    if (t == nullptr) {
        return APIERR_BADINDEX;
    }
    *info = EXPTextureInfo();
    copyText(info->name, t->name);
    info->pixelWidth = t->available ? t->width : 0;
    info->pixelHeight = t->available ? t->height : 0;
    info->xSize = t->xSize;
    info->ySize = t->ySize;
    info->hasAlpha = t->alpha ? 1 : 0;
    return NoError;
}

bool isTextureAvailable(const EXPModel* model, int32_t texture)
{
    const Model* m = modelOf(model);
    const ModelTexture* t = m != nullptr ? textureAt(m, texture) : nullptr;
    return t != nullptr && t->available;
}

GSErrCode fillTexturePixMap(const EXPModel* model, int32_t texture, GSPixMapHandle pixMap)
{
    const Model* m = modelOf(model);
    if (m == nullptr || pixMap == nullptr) {
        return APIERR_BADPARS;
    }
    const ModelTexture* t = textureAt(m, texture);
    if (t == nullptr) {
        return APIERR_BADINDEX;
    }
    if (!t->available || GXGetGSPixMapWidth(pixMap) != t->width || GXGetGSPixMapHeight(pixMap) != t->height ||
        GXGetGSPixMapRowBytes(pixMap) != t->width * 4) {
        return APIERR_BADPARS;
    }
    std::memcpy(GXGetGSPixMapBaseAddr(pixMap), t->pixels.data(), t->pixels.size());
    return NoError;
}

void freeModel(EXPModel* model)
{
    if (model != nullptr && model->data != nullptr) {
        delete static_cast<ModelData*>(model->data);
        model->data = nullptr;
        --host().liveModelData;
    }
}

EXPModelFunctionTable makeTable()
{
    EXPModelFunctionTable table = {};
    table.tableSize = sizeof(EXPModelFunctionTable);
    table.tableVersion = kEXPTableVersion;
    table.modelVersion = kEXPModelVersion;
    table.GetElementCount = getElementCount;
    table.GetElement = getElement;
    table.GetBody = getBody;
    table.GetVertex = getVertex;
    table.GetEdge = getEdge;
    table.GetPolygon = getPolygon;
    table.GetPolygonEdge = getPolygonEdge;
    table.GetNormal = getNormal;
    table.GetTextureCoordinate = getTextureCoordinate;
    table.GetMaterialCount = getMaterialCount;
    table.GetMaterial = getMaterial;
    table.GetTextureCount = getTextureCount;
    table.GetTexture = getTexture;
    table.IsTextureAvailable = isTextureAvailable;
    table.FillTexturePixMap = fillTexturePixMap;
    table.FreeModel = freeModel;
    return table;
}

}  // namespace

Modeler::Sight* openSight() { return Modeler::SightAccess::create(project().model); }

int32_t liveSights() { return host().liveSights; }

int32_t liveModelData() { return host().liveModelData; }

ModelerControl& modeler() { return host().modeler; }

}  // namespace cadhost

const EXPModelFunctionTable* EXPGetModelFunctionTable()
{
    static EXPModelFunctionTable table = cadhost::makeTable();
    const cadhost::ModelerControl& control = cadhost::modeler();
    if (control.tableMissing) {
        return nullptr;
    }
    table.tableVersion = control.tableVersion;
    table.modelVersion = control.modelVersion;
    return &table;
}

GSErrCode EXPGetModel(Modeler::Sight* sight, EXPModel* model)
{
    if (sight == nullptr || model == nullptr) {
        return APIERR_BADPARS;
    }
    if (cadhost::modeler().getModelResult != NoError) {
        return cadhost::modeler().getModelResult;
    }
    try {
        // Whatever the record held before is the caller's: a model filled twice without being
        // freed stays allocated.
        auto* data = new cadhost::ModelData{Modeler::SightAccess::model(sight)};
        model->version = cadhost::modeler().modelVersion;
        model->data = data;
        ++cadhost::host().liveModelData;
        return NoError;
    } catch (...) {
        return APIERR_MEMFULL;
    }
}
