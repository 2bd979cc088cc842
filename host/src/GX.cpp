// Pixel maps and TIFF writing of the host (GX and GXImage), over Debian's libtiff.
#include "GX.h"
#include "HostState.h"

#include <tiffio.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

struct GSPixMap {
    int32_t width;
    int32_t height;
    double hResolution;
    double vResolution;
    std::vector<uint8_t> pixels;
};

GSPixMapHandle GXCreateGSPixMap(int32_t width, int32_t height, int32_t depth, double hResolution, double vResolution)
{
    if (depth != 32 || width <= 0 || height <= 0 || width > kGXMaxPixMapSide || height > kGXMaxPixMapSide ||
        int64_t(width) * height > kGXMaxPixMapPixels || !(hResolution > 0.0) || !(vResolution > 0.0)) {
        return nullptr;
    }
    try {
        auto* map = new GSPixMap{width, height, hResolution, vResolution, {}};
        try {
            map->pixels.assign(std::size_t(width) * std::size_t(height) * 4, 0);
        } catch (...) {
            delete map;
            return nullptr;
        }
        return map;
    } catch (...) {
        return nullptr;
    }
}

void GXDeleteGSPixMap(GSPixMapHandle pixMap) { delete pixMap; }

int32_t GXGetGSPixMapRowBytes(GSPixMapHandle pixMap) { return pixMap != nullptr ? pixMap->width * 4 : 0; }

void* GXGetGSPixMapBaseAddr(GSPixMapHandle pixMap) { return pixMap != nullptr ? pixMap->pixels.data() : nullptr; }

int32_t GXGetGSPixMapWidth(GSPixMapHandle pixMap) { return pixMap != nullptr ? pixMap->width : 0; }

int32_t GXGetGSPixMapHeight(GSPixMapHandle pixMap) { return pixMap != nullptr ? pixMap->height : 0; }

int32_t GXGetGSPixMapDepth(GSPixMapHandle pixMap) { return pixMap != nullptr ? 32 : 0; }

void GXGetGSPixMapResolution(GSPixMapHandle pixMap, double* hResolution, double* vResolution)
{
    if (hResolution != nullptr) {
        *hResolution = pixMap != nullptr ? pixMap->hResolution : 0.0;
    }
    if (vResolution != nullptr) {
        *vResolution = pixMap != nullptr ? pixMap->vResolution : 0.0;
    }
}

namespace GX {
namespace {

// libtiff reports on standard error unless told otherwise; the host's callers get result codes.
void quiet(const char*, const char*, va_list) {}

bool writeTiff(TIFF* tiff, const GSPixMap& map, int32_t depth)
{
    const uint16_t samples = depth == 32 ? 4 : 3;
    bool good = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(map.width)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(map.height)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(8)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples) == 1 &&
                TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_NONE)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_XRESOLUTION, float(map.hResolution)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_YRESOLUTION, float(map.vResolution)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH)) == 1 &&
                TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0)) == 1;
    if (good && samples == 4) {
        const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
        good = TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra) == 1;
    }
    std::vector<uint8_t> row(std::size_t(map.width) * samples);
    for (int32_t y = 0; good && y < map.height; ++y) {
        const uint8_t* source = map.pixels.data() + std::size_t(y) * std::size_t(map.width) * 4;
        if (samples == 4) {
            std::memcpy(row.data(), source, row.size());
        } else {
            for (int32_t x = 0; x < map.width; ++x) {
                std::memcpy(&row[std::size_t(x) * 3], source + std::size_t(x) * 4, 3);
            }
        }
        good = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
    }
    return good;
}

}  // namespace

GSErrCode Image::WriteToFile(const IO::Location& location, FTM::TypeID type, int32_t depth) const
{
    const FTM::FileType* fileType = FTM::FileTypeManager::GetType(type);
    if (mPixMap == nullptr || location.IsEmpty() || fileType == nullptr || fileType->mimeType != "image/tiff" ||
        (depth != 32 && depth != 24)) {
        return ErrParam;
    }
    TIFFSetErrorHandler(quiet);
    TIFFSetWarningHandler(quiet);
    const std::string& path = location.HostPath();
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) {
        return ErrIO;
    }
    bool good = false;
    try {
        good = writeTiff(tiff, *mPixMap, depth);
    } catch (...) {
        good = false;
    }
    good = TIFFFlush(tiff) == 1 && good;
    TIFFClose(tiff);
    if (!good) {
        std::remove(path.c_str());
        return ErrIO;
    }
    return NoError;
}

}  // namespace GX
