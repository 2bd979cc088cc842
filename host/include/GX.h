// Pixel maps and images of the CAD host (GX and GXImage). A pixel map holds 32-bit pixels, four
// bytes each in the order red, green, blue, alpha, rows from the top, each row exactly width × 4
// bytes long; an image writes a pixel map to a file.
#ifndef CADHOST_GX_H
#define CADHOST_GX_H

#include "GSRoot.h"
#include "InputOutput.h"

#include <cstdint>

struct GSPixMap;
using GSPixMapHandle = GSPixMap*;

// The largest pixel map the host makes: a side of at most 32768 pixels and at most 2^28 pixels.
constexpr int32_t kGXMaxPixMapSide = 32768;
constexpr int64_t kGXMaxPixMapPixels = int64_t(1) << 28;

// A new pixel map of that size, all pixels zero, with its resolution in dots per inch. Only depth
// 32 is made; null for another depth, a size of 0 or below or beyond the largest, a resolution of
// 0 or below, or when memory cannot be had.
GSROOT_API GSPixMapHandle GXCreateGSPixMap(int32_t width, int32_t height, int32_t depth, double hResolution,
                                           double vResolution);
GSROOT_API void GXDeleteGSPixMap(GSPixMapHandle pixMap);
// Bytes from one row to the next; 0 for a null map.
GSROOT_API int32_t GXGetGSPixMapRowBytes(GSPixMapHandle pixMap);
// The first byte of the top row; null for a null map.
GSROOT_API void* GXGetGSPixMapBaseAddr(GSPixMapHandle pixMap);
GSROOT_API int32_t GXGetGSPixMapWidth(GSPixMapHandle pixMap);
GSROOT_API int32_t GXGetGSPixMapHeight(GSPixMapHandle pixMap);
GSROOT_API int32_t GXGetGSPixMapDepth(GSPixMapHandle pixMap);
GSROOT_API void GXGetGSPixMapResolution(GSPixMapHandle pixMap, double* hResolution, double* vResolution);

namespace GX {

// An image over a pixel map, which the caller keeps alive and frees.
class GSROOT_API Image {
public:
    explicit Image(GSPixMapHandle pixMap) : mPixMap(pixMap) {}
    // Writes the pixels as a file of that type: the host's TIFF type (FTM::FileTypeManager::
    // SearchForMime("image/tiff")) with depth 32 (red, green, blue and unassociated alpha) or 24
    // (without alpha), 8 bits a sample, at the map's resolution. ErrParam for a null map, another
    // type or depth; ErrIO when the file cannot be written, which then is not left behind.
    GSErrCode WriteToFile(const IO::Location& location, FTM::TypeID type, int32_t depth = 32) const;

private:
    GSPixMapHandle mPixMap;
};

}  // namespace GX

#endif
