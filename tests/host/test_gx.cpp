// Pixel maps and their TIFF files, read back with libtiff.
#include "GX.h"
#include "test_host_support.h"

#include <tiffio.h>

#include <cmath>
#include <sys/stat.h>
#include <vector>

namespace {

struct PixMapCase {
    const char* name;
    int32_t width, height, depth;
    double hResolution, vResolution;
};

class RefusedPixMaps : public ::testing::TestWithParam<PixMapCase> {};

TEST_P(RefusedPixMaps, AreNull)
{
    const PixMapCase& c = GetParam();
    GSPixMapHandle map = GXCreateGSPixMap(c.width, c.height, c.depth, c.hResolution, c.vResolution);
    EXPECT_EQ(map, nullptr);
    GXDeleteGSPixMap(map);
    EXPECT_EQ(GXGetGSPixMapRowBytes(nullptr), 0);
    EXPECT_EQ(GXGetGSPixMapBaseAddr(nullptr), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RefusedPixMaps, ::testing::Values(
    PixMapCase{"ZeroWidth", 0, 4, 32, 72, 72},
    PixMapCase{"NegativeHeight", 4, -1, 32, 72, 72},
    PixMapCase{"Depth24", 4, 4, 24, 72, 72},
    PixMapCase{"SideTooLong", 32769, 1, 32, 72, 72},
    PixMapCase{"TooManyPixels", 32768, 32768, 32, 72, 72},
    PixMapCase{"NoResolution", 4, 4, 32, 0, 72},
    PixMapCase{"NaNResolution", 4, 4, 32, 72, std::nan("")}),
    [](const ::testing::TestParamInfo<PixMapCase>& info) { return info.param.name; });

TEST(PixMaps, HoldRowsOfFourBytesAPixel)
{
    GSPixMapHandle map = GXCreateGSPixMap(3, 2, 32, 72.0, 96.0);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(GXGetGSPixMapRowBytes(map), 12);
    EXPECT_EQ(GXGetGSPixMapWidth(map), 3);
    EXPECT_EQ(GXGetGSPixMapHeight(map), 2);
    EXPECT_EQ(GXGetGSPixMapDepth(map), 32);
    double h = 0, v = 0;
    GXGetGSPixMapResolution(map, &h, &v);
    EXPECT_EQ(h, 72.0);
    EXPECT_EQ(v, 96.0);
    const auto* bytes = static_cast<const uint8_t*>(GXGetGSPixMapBaseAddr(map));
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 24), std::vector<uint8_t>(24, 0));
    GXDeleteGSPixMap(map);
}

struct TiffCase {
    const char* name;
    int32_t depth;
    uint16_t samples;
};

class TiffFiles : public HostFolderTest, public ::testing::WithParamInterface<TiffCase> {};

// Reads a TIFF file's pixels and tags with libtiff.
struct ReadTiff {
    uint32_t width = 0, height = 0;
    uint16_t samples = 0, bits = 0, photometric = 0, unit = 0, extraCount = 0, extra = 0;
    float xResolution = 0, yResolution = 0;
    std::vector<uint8_t> pixels;
    explicit ReadTiff(const std::string& path)
    {
        TIFF* tiff = TIFFOpen(path.c_str(), "r");
        if (tiff == nullptr) {
            return;
        }
        TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
        TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
        TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
        TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &xResolution);
        TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &yResolution);
        TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
        uint16_t* kinds = nullptr;
        if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &kinds) == 1 && extraCount > 0) {
            extra = kinds[0];
        }
        std::vector<uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tiff)));
        for (uint32_t y = 0; y < height; ++y) {
            TIFFReadScanline(tiff, row.data(), y, 0);
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
        TIFFClose(tiff);
    }
};

TEST_P(TiffFiles, AreReadBackAsWritten)
{
    GSPixMapHandle map = GXCreateGSPixMap(3, 2, 32, 72.0, 72.0);
    ASSERT_NE(map, nullptr);
    auto* bytes = static_cast<uint8_t*>(GXGetGSPixMapBaseAddr(map));
    for (int i = 0; i < 24; ++i) {
        bytes[i] = static_cast<uint8_t>(10 * i + 1);
    }
    const std::string path = mFolder + "/texture.tif";
    const GSErrCode result = GX::Image(map).WriteToFile(IO::Location(path.c_str()),
                                                        FTM::FileTypeManager::SearchForMime("image/tiff"), GetParam().depth);
    ASSERT_EQ(result, NoError);
    const ReadTiff tiff(path);
    EXPECT_EQ(tiff.width, 3u);
    EXPECT_EQ(tiff.height, 2u);
    EXPECT_EQ(tiff.samples, GetParam().samples);
    EXPECT_EQ(tiff.bits, 8);
    EXPECT_EQ(tiff.photometric, PHOTOMETRIC_RGB);
    EXPECT_EQ(tiff.xResolution, 72.0f);
    EXPECT_EQ(tiff.yResolution, 72.0f);
    EXPECT_EQ(tiff.unit, RESUNIT_INCH);
    EXPECT_EQ(tiff.extraCount, GetParam().samples == 4 ? 1 : 0);
    EXPECT_EQ(tiff.extra, GetParam().samples == 4 ? EXTRASAMPLE_UNASSALPHA : 0);
    std::vector<uint8_t> expected;
    for (int i = 0; i < 24; ++i) {
        if (GetParam().samples == 4 || i % 4 != 3) {
            expected.push_back(static_cast<uint8_t>(10 * i + 1));
        }
    }
    EXPECT_EQ(tiff.pixels, expected);
    GXDeleteGSPixMap(map);
}

INSTANTIATE_TEST_SUITE_P(Depths, TiffFiles, ::testing::Values(TiffCase{"Rgba", 32, 4}, TiffCase{"Rgb", 24, 3}),
                         [](const ::testing::TestParamInfo<TiffCase>& info) { return info.param.name; });

struct WriteFailure {
    const char* name;
    bool nullMap;
    const char* mime;
    int32_t depth;
    const char* file;      // under the scratch folder
    GSErrCode result;
};

class FailedWrites : public HostFolderTest, public ::testing::WithParamInterface<WriteFailure> {};

TEST_P(FailedWrites, LeaveNoFile)
{
    const WriteFailure& c = GetParam();
    GSPixMapHandle map = c.nullMap ? nullptr : GXCreateGSPixMap(2, 2, 32, 72, 72);
    FTM::FileTypeManager manager("Tests");
    const FTM::TypeID png = manager.AddType(FTM::FileType("PNG", "png", 0, 0, 0, "image/png"));
    const FTM::TypeID type = std::string(c.mime) == "image/png" ? png : FTM::FileTypeManager::SearchForMime(c.mime);
    const std::string path = mFolder + c.file;
    EXPECT_EQ(GX::Image(map).WriteToFile(IO::Location(path.c_str()), type, c.depth), c.result);
    struct stat info;
    EXPECT_NE(::stat(path.c_str(), &info), 0);
    GXDeleteGSPixMap(map);
}

INSTANTIATE_TEST_SUITE_P(Causes, FailedWrites, ::testing::Values(
    WriteFailure{"NullMap", true, "image/tiff", 32, "/a.tif", ErrParam},
    WriteFailure{"NotTiff", false, "image/png", 32, "/a.png", ErrParam},
    WriteFailure{"UnknownType", false, "image/none", 32, "/a.tif", ErrParam},
    WriteFailure{"Depth16", false, "image/tiff", 16, "/a.tif", ErrParam},
    WriteFailure{"NoFolder", false, "image/tiff", 32, "/missing/a.tif", ErrIO}),
    [](const ::testing::TestParamInfo<WriteFailure>& info) { return info.param.name; });

}  // namespace
