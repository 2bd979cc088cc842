#include "Image.h"

#include <png.h>
#include <stb/stb_image.h>
#include <tiffio.h>
#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

// Writes the rows with the settings that suit rendered pictures, written once and mostly runs of
// one colour: each row against the one above it, then the fastest run-length compression; about
// a third faster than libpng's fast preset for files of about the same size. Nothing with a
// destructor lives here: libpng leaves by a long jump on failure.
bool writePngFile(std::FILE* file, const png_image& image, const uint8_t* pixels, std::string& error)
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
    bool alpha = image.format == PNG_FORMAT_RGBA;
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, 8, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_write_info(png, info);
    size_t stride = static_cast<size_t>(image.width) * (alpha ? 4 : 3);
    for (png_uint_32 y = 0; y < image.height; ++y) {
        png_write_row(png, pixels + y * stride);
    }
    png_write_end(png, info);
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
    std::vector<uint8_t> pixels;
    png_image image = description(picture, pixels);
    bool written = writePngFile(file, image, pixels.data(), error);
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

bool readPng(const std::string& path, Picture& picture, std::string& error)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        error = image.message;
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

bool readTiff(const std::string& path, Picture& picture, std::string& error)
{
    TIFFSetWarningHandler(nullptr);
    TIFFSetErrorHandler(nullptr);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) {
        error = "not a readable TIFF file";
        return false;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0 || static_cast<uint64_t>(width) * height > (1u << 26)) {
        TIFFClose(tiff);
        error = "the TIFF image has no size or is too large";
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
    std::string tiffError;
    if (readTiff(path, picture, tiffError)) {
        return true;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
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
