// The modeler of the CAD host: the 3D view (sight) the host hands to a 3D file-type handler, the
// model taken from it, and the function table through which an add-on walks the model. Lengths are
// metres; every index is 1-based. docs/host.md describes the walk and its conventions.
#ifndef CADHOST_GSMODELER_H
#define CADHOST_GSMODELER_H

#include "ACAPI.h"
#include "GX.h"

#include <cstdint>

namespace Modeler {

// The 3D view of the host. The host keeps one reference while it runs a handler; whoever keeps the
// view beyond the call takes a reference of its own (SightPtr) and drops it when done.
class GSROOT_API Sight {
public:
    void AddReference();
    // Drops one reference; the host frees the view with its last one.
    void RemoveReference();
    int32_t GetReferenceCount() const;

private:
    friend struct SightAccess;
    Sight() = default;
    ~Sight() = default;
    int32_t mReferences = 1;
    void* mModel = nullptr;   // the host's model behind the view
};

// A counted reference to a view, dropped when the pointer goes away.
class SightPtr {
public:
    SightPtr() = default;
    explicit SightPtr(Sight* sight) : mSight(sight)
    {
        if (mSight != nullptr) {
            mSight->AddReference();
        }
    }
    SightPtr(const SightPtr& other) : SightPtr(other.mSight) {}
    SightPtr& operator=(const SightPtr& other)
    {
        SightPtr copy(other);
        Sight* kept = mSight;
        mSight = copy.mSight;
        copy.mSight = kept;
        return *this;
    }
    ~SightPtr()
    {
        if (mSight != nullptr) {
            mSight->RemoveReference();
        }
    }
    Sight* Get() const { return mSight; }
    Sight* operator->() const { return mSight; }
    explicit operator bool() const { return mSight != nullptr; }

private:
    Sight* mSight = nullptr;
};

}  // namespace Modeler

// The versions of the model function table and of the model data this header describes. The
// table answers its own; an add-on refuses a table older than the one it was written for.
constexpr int32_t kEXPTableVersion = 14;
constexpr int32_t kEXPModelVersion = 3;

// The model an add-on takes from a view: filled by EXPGetModel, freed through the table's
// FreeModel. The data stays valid until then, whatever the host does with the view.
struct EXPModel {
    int32_t version;       // the model data version, kEXPModelVersion
    int32_t reserved0;
    void* data;            // the host's; null when empty
};

struct EXPVector {
    double x, y, z;
};

// A texture coordinate in metres along the texture's two axes: s / xSize and t / ySize are the
// fractions of the image.
struct EXPTextureCoordinate {
    double s, t;
};

// Element types.
enum EXPElementType : int32_t { EXPWall = 1, EXPSlab = 2, EXPRoof = 3, EXPOther = 4 };

struct EXPElementInfo {
    int32_t type;          // EXPElementType
    int32_t bodyCount;
    API_Guid guid;         // entry 144 finds the element (and its layer) by it
};

struct EXPBodyInfo {
    int32_t vertexCount;
    int32_t edgeCount;
    int32_t polygonCount;  // 0: a body of edges only
    int32_t normalCount;
};

// An edge from its begin vertex to its end vertex (indices in the body).
struct EXPEdgeInfo {
    int32_t vertex1;
    int32_t vertex2;
};

struct EXPPolygonInfo {
    int32_t materialIndex; // model material; 0 or below: no valid material
    int32_t textureIndex;  // the polygon's own texture; 0 none
    int32_t normalIndex;   // normal of the body; negative: that normal reversed
    int32_t edgeCount;     // entries of the signed edge list, hole separators included
};

struct EXPMaterialInfo {
    char name[256];        // 8-bit (UTF-8) form
    API_RGB surfaceRGB;
    API_RGB specularRGB;
    API_RGB emissionRGB;
    int16_t ambientPc, diffusePc, specularPc, transpPc; // 0 to 100
    int16_t shine;         // 0 to 10000
    int16_t emissionAtt;   // 0 to 10000
    int32_t textureIndex;  // 0 none
    double textureRotation;  // radians
};

struct EXPTextureInfo {
    char name[256];        // the image's file name, with its extension
    int32_t pixelWidth;    // 0 when the texture is not available
    int32_t pixelHeight;
    double xSize;          // metres one image covers along s
    double ySize;          // along t
    uint8_t hasAlpha;      // some pixel is not opaque
    uint8_t reserved0[7];
};

// The functions of the model, in this order. A query with a bad index answers APIERR_BADINDEX,
// one with a null record or model APIERR_BADPARS.
struct EXPModelFunctionTable {
    int32_t tableSize;     // bytes of this table
    int32_t tableVersion;  // kEXPTableVersion of the host
    int32_t modelVersion;  // kEXPModelVersion of the host
    int32_t reserved0;

    int32_t (*GetElementCount)(const EXPModel* model);
    GSErrCode (*GetElement)(const EXPModel* model, int32_t element, EXPElementInfo* info);
    GSErrCode (*GetBody)(const EXPModel* model, int32_t element, int32_t body, EXPBodyInfo* info);
    // A vertex in model coordinates.
    GSErrCode (*GetVertex)(const EXPModel* model, int32_t element, int32_t body, int32_t vertex, EXPVector* position);
    GSErrCode (*GetEdge)(const EXPModel* model, int32_t element, int32_t body, int32_t edge, EXPEdgeInfo* info);
    GSErrCode (*GetPolygon)(const EXPModel* model, int32_t element, int32_t body, int32_t polygon, EXPPolygonInfo* info);
    // Entry k (1 to edgeCount) of the polygon's edge list: an edge index, negative when the edge is
    // walked from its end to its begin, 0 between the outer contour and a hole and between holes.
    GSErrCode (*GetPolygonEdge)(const EXPModel* model, int32_t element, int32_t body, int32_t polygon, int32_t k,
                                int32_t* signedEdge);
    // Normal n (1 to normalCount, the absolute value of a polygon's index), a unit vector.
    GSErrCode (*GetNormal)(const EXPModel* model, int32_t element, int32_t body, int32_t normal, EXPVector* direction);
    // The texture coordinate of a polygon's vertex at that position, with the normal the polygon
    // shows there (already reversed for a negative normal index).
    GSErrCode (*GetTextureCoordinate)(const EXPModel* model, int32_t element, int32_t body, int32_t polygon,
                                      int32_t vertex, const EXPVector* position, const EXPVector* normal,
                                      EXPTextureCoordinate* coordinate);
    int32_t (*GetMaterialCount)(const EXPModel* model);
    GSErrCode (*GetMaterial)(const EXPModel* model, int32_t material, EXPMaterialInfo* info);
    int32_t (*GetTextureCount)(const EXPModel* model);
    GSErrCode (*GetTexture)(const EXPModel* model, int32_t texture, EXPTextureInfo* info);
    // Whether the texture's image could be read: only then it has pixels and coordinates.
    bool (*IsTextureAvailable)(const EXPModel* model, int32_t texture);
    // Copies the texture's pixels into a 32-bit pixel map of its width and height.
    GSErrCode (*FillTexturePixMap)(const EXPModel* model, int32_t texture, GSPixMapHandle pixMap);
    // Frees the model data that EXPGetModel filled and empties the model.
    void (*FreeModel)(EXPModel* model);
};

// The host's model function table; null when the modeler is not there.
GSROOT_API const EXPModelFunctionTable* EXPGetModelFunctionTable();
// Fills the model with the view's model; 0 on success. The model must be freed through the table.
GSROOT_API GSErrCode EXPGetModel(Modeler::Sight* sight, EXPModel* model);

#endif
