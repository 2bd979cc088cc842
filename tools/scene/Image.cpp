#include "Image.h"

#include <png.h>
#include <stb/stb_image.h>
#include <tiffio.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>

namespace ScnTools {

namespace {

bool opaque(const Picture& picture)
{
    for (size_t i = 3; i < picture.rgba.size(); i += 4) {
        if (picture.rgba[i] != 255) {
            return false;
        }
    }
    return true;
}

// A libpng description of the picture, RGB when nothing is see-through.
png_image description(const Picture& picture, std::vector<uint8_t>& pixels)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = picture.width;
    image.height = picture.height;
    if (opaque(picture)) {
        image.format = PNG_FORMAT_RGB;
        pixels.resize(static_cast<size_t>(picture.width) * picture.height * 3);
        for (size_t i = 0, j = 0; i + 3 < picture.rgba.size() + 1 && j < pixels.size(); i += 4, j += 3) {
            pixels[j] = picture.rgba[i];
            pixels[j + 1] = picture.rgba[i + 1];
            pixels[j + 2] = picture.rgba[i + 2];
        }
    } else {
        image.format = PNG_FORMAT_RGBA;
        pixels = picture.rgba;
    }
    return image;
}

void onPngError(png_structp png, png_const_charp text)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = text != nullptr ? text : "libpng failed";
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Filters the rows [first, last) of the picture, with channels (3 or 4) of each pixel's four
// bytes, each row against the one above it ("up"), and deflates them raw (no zlib head or check)
// at the fastest run-length setting onto out; the part that is final ends the stream, another
// ends on a byte boundary so that the next part, deflated without its history, may follow it.
// adler gets the check of the filtered bytes.
bool deflateRows(const Picture& picture, size_t channels, uint32_t first, uint32_t last, bool final,
                 std::vector<uint8_t>& out, uLong& adler)
{
    size_t stride = picture.width * channels;
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK) {
        return false;
    }
    out.resize(static_cast<size_t>(last - first) * (stride + 1) / 4 + 1024);
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    // Runs deflate until it has taken the input and, when flushing, given out everything.
    auto pump = [&](int flush) {
        for (;;) {
            if (z.avail_out == 0) {
                size_t used = static_cast<size_t>(z.next_out - out.data());
                out.resize(used * 2);
                z.next_out = out.data() + used;
                z.avail_out = static_cast<uInt>(out.size() - used);
            }
            int result = deflate(&z, flush);
            if (result == Z_STREAM_ERROR) {
                return false;
            }
            if (flush == Z_FINISH ? result == Z_STREAM_END : z.avail_in == 0 && z.avail_out > 0) {
                return true;
            }
        }
    };
    std::vector<uint8_t> row(stride + 1);
    adler = adler32(0, nullptr, 0);
    bool done = true;
    const size_t rgbaStride = static_cast<size_t>(picture.width) * 4;
    for (uint32_t y = first; y < last && done; ++y) {
        const uint8_t* current = picture.rgba.data() + y * rgbaStride;
        const uint8_t* above = y > 0 ? current - rgbaStride : nullptr;
        row[0] = 2;
        uint8_t* filtered = row.data() + 1;
        for (size_t x = 0; x < picture.width; ++x, filtered += channels) {
            const uint8_t* pixel = current + x * 4;
            for (size_t k = 0; k < channels; ++k) {
                filtered[k] = static_cast<uint8_t>(above != nullptr ? pixel[k] - above[x * 4 + k] : pixel[k]);
            }
        }
        adler = adler32(adler, row.data(), static_cast<uInt>(row.size()));
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        done = pump(Z_NO_FLUSH);
    }
    done = done && pump(final ? Z_FINISH : Z_SYNC_FLUSH);
    out.resize(static_cast<size_t>(z.next_out - out.data()));
    deflateEnd(&z);
    return done;
}

// The zlib stream of a picture's image data. A large picture is deflated in two halves side by
// side (the second without the first's history, as parallel gzip does): compression is most of
// the writing and the file is about as small.
bool imageData(const Picture& picture, size_t channels, std::vector<uint8_t>& data)
{
    uint32_t height = picture.height;
    size_t stride = picture.width * channels;
    constexpr uint32_t kRowsToSplit = 64;
    uint32_t middle = height >= kRowsToSplit ? height / 2 : height;
    std::vector<uint8_t> second;
    uLong secondCheck = 0;
    bool secondDone = true;
    std::thread helper;
    if (middle < height) {
        auto run = [&] { secondDone = deflateRows(picture, channels, middle, height, true, second, secondCheck); };
        try {
            helper = std::thread(run);
        } catch (const std::system_error&) {
            run();
        }
    }
    std::vector<uint8_t> first;
    uLong check = 0;
    bool done = deflateRows(picture, channels, 0, middle, middle == height, first, check);
    if (helper.joinable()) {
        helper.join();
    }
    if (!done || !secondDone) {
        return false;
    }
    if (middle < height) {
        check = adler32_combine(check, secondCheck, static_cast<z_off_t>(height - middle) * (stride + 1));
    }
    // Deflate with a window of 32 KB at the fastest level.
    data = {0x78, 0x01};
    data.insert(data.end(), first.begin(), first.end());
    data.insert(data.end(), second.begin(), second.end());
    for (int shift = 24; shift >= 0; shift -= 8) {
        data.push_back(static_cast<uint8_t>(check >> shift));
    }
    return true;
}

// Writes the head, the image data in chunks of at most a megabyte, and the end. Nothing with a
// destructor lives here: libpng leaves by a long jump on failure.
bool writePngFile(std::FILE* file, const Picture& image, bool alpha, const std::vector<uint8_t>& data,
                  std::string& error)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onPngError, onPngWarning);
    if (png == nullptr) {
        error = "libpng could not start";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        if (error.empty()) {
            error = "libpng could not start";
        }
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t kChunk = size_t(1) << 20;
    for (size_t at = 0; at < data.size(); at += kChunk) {
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), data.data() + at,
                        std::min(kChunk, data.size() - at));
    }
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool finishOutput(std::FILE* file, const std::string& path, bool written, std::string& error)
{
    if (std::fclose(file) != 0 && written) {
        error = std::strerror(errno);
        written = false;
    }
    if (!written) {
        std::remove(path.c_str());
    }
    return written;
}

bool writeBytes(const std::string& path, const void* data, size_t size, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    bool written = std::fwrite(data, 1, size, file) == size;
    if (!written) {
        error = std::strerror(errno);
    }
    return finishOutput(file, path, written, error);
}

bool writePng(const std::string& path, const Picture& picture, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    // RGB when nothing is see-through.
    bool alpha = !opaque(picture);
    std::vector<uint8_t> data;
    bool written = false;
    if (!imageData(picture, alpha ? 4 : 3, data)) {
        error = "zlib failed";
    } else {
        written = writePngFile(file, picture, alpha, data, error);
    }
    return finishOutput(file, path, written, error);
}

std::vector<uint8_t> encodePng(const Picture& picture)
{
    std::vector<uint8_t> pixels;
    png_image image = description(picture, pixels);
    png_alloc_size_t size = 0;
    std::vector<uint8_t> bytes;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr) != 0 && size > 0) {
        bytes.resize(size);
        if (png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr) == 0) {
            bytes.clear();
        }
        bytes.resize(size);
    }
    png_image_free(&image);
    return bytes;
}

namespace {

std::string tooLarge(uint32_t width, uint32_t height)
{
    return "the image is too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels; at most " +
           std::to_string(kMostPicturePixels) + " are read)";
}

}  // namespace

bool readPng(const std::string& path, Picture& picture, std::string& error)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        error = image.message;
        return false;
    }
    if (static_cast<uint64_t>(image.width) * image.height > kMostPicturePixels) {
        error = tooLarge(image.width, image.height);
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr) == 0) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

namespace {

// False with isTiff left false when the file is no TIFF file that libtiff opens.
bool readTiff(const std::string& path, Picture& picture, std::string& error, bool& isTiff)
{
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) {
        error = "not a readable TIFF file";
        return false;
    }
    isTiff = true;
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0) {
        TIFFClose(tiff);
        error = "the TIFF image has no size";
        return false;
    }
    if (static_cast<uint64_t>(width) * height > kMostPicturePixels) {
        TIFFClose(tiff);
        error = tooLarge(width, height);
        return false;
    }
    std::vector<uint32_t> raster(static_cast<size_t>(width) * height);
    bool read = TIFFReadRGBAImageOriented(tiff, width, height, raster.data(), ORIENTATION_TOPLEFT, 0) != 0;
    TIFFClose(tiff);
    if (!read) {
        error = "the TIFF image cannot be decoded";
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.rgba.resize(raster.size() * 4);
    for (size_t i = 0; i < raster.size(); ++i) {
        picture.rgba[i * 4] = static_cast<uint8_t>(TIFFGetR(raster[i]));
        picture.rgba[i * 4 + 1] = static_cast<uint8_t>(TIFFGetG(raster[i]));
        picture.rgba[i * 4 + 2] = static_cast<uint8_t>(TIFFGetB(raster[i]));
        picture.rgba[i * 4 + 3] = static_cast<uint8_t>(TIFFGetA(raster[i]));
    }
    return true;
}

}  // namespace

bool readImageFile(const std::string& path, Picture& picture, std::string& error)
{
    bool isTiff = false;
    if (readTiff(path, picture, error, isTiff)) {
        return true;
    }
    if (isTiff) {
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    if (stbi_info(path.c_str(), &width, &height, &channels) != 0 &&
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMostPicturePixels) {
        error = tooLarge(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
        return false;
    }
    stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (pixels == nullptr) {
        const char* reason = stbi_failure_reason();
        error = reason != nullptr ? reason : "unknown image format";
        return false;
    }
    picture.width = static_cast<uint32_t>(width);
    picture.height = static_cast<uint32_t>(height);
    picture.rgba.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    stbi_image_free(pixels);
    return true;
}

}  // namespace ScnTools
