// Pictures of the tools: 8-bit RGBA pixels in rows from the top, PNG files through libpng and
// texture files through stb.
#ifndef SCN_TOOLS_IMAGE_H
#define SCN_TOOLS_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace ScnTools {

// Pixels of 4 bytes (red, green, blue, alpha), row after row from the top.
struct Picture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;
};

// Closes an output file that was written (written false: a write failed, with the reason in
// error); false, with the file removed, when the write or the close failed.
bool finishOutput(std::FILE* file, const std::string& path, bool written, std::string& error);

// Writes the bytes to a new file at path; false with the reason in error and no file left.
bool writeBytes(const std::string& path, const void* data, size_t size, std::string& error);

// Writes the picture as an 8-bit RGBA PNG (RGB when every pixel is opaque); false with the
// reason in error.
bool writePng(const std::string& path, const Picture& picture, std::string& error);

// The PNG bytes of the picture, for embedding; empty on failure.
std::vector<uint8_t> encodePng(const Picture& picture);

// The most pixels a picture read from a file may have (256 MB of RGBA): a small file may state a
// huge size, which is refused before any pixel memory is taken.
constexpr uint64_t kMostPicturePixels = uint64_t(1) << 26;

// Reads a PNG file of at most kMostPicturePixels into the picture; false with the reason in error.
bool readPng(const std::string& path, Picture& picture, std::string& error);

// Decodes any image file that stb or libtiff reads (PNG, JPEG, BMP, TGA, GIF, TIFF) of at most
// kMostPicturePixels; false with the reason in error.
bool readImageFile(const std::string& path, Picture& picture, std::string& error);

}  // namespace ScnTools

#endif
