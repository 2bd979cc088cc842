// The preview is read with the library's cheap reader alone: the scene itself is not loaded.
#include "PreviewCommand.h"

#include <cstdio>
#include <memory>
#include <string>

#include "FileStream.h"
#include "Image.h"
#include "Scn.h"

namespace ScnTools {

namespace {

struct ImageDestroy {
    void operator()(NvScn::IScnImage* image) const { image->destroy(); }
};

}  // namespace

int previewCommand(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "scntool preview: a scene file and a picture file are needed\n"
                             "usage: scntool preview FILE OUT.png\n");
        return 2;
    }
    std::string path = argv[0];
    std::string output = argv[1];
    std::unique_ptr<FileStream> stream = openFile(path, "rb");
    if (!stream) {
        return 1;
    }
    std::unique_ptr<NvScn::IScnImage, ImageDestroy> image(NvScn::CScnMgr::readPreviewImage(stream.get()));
    uint32_t width = 0;
    uint32_t height = 0;
    const uint32_t* words = nullptr;
    if (image) {
        image->getPixels(&width, &height, &words);
    }
    if (!image || width == 0 || height == 0 || words == nullptr) {
        std::fprintf(stderr, "scntool: %s has no preview image\n", path.c_str());
        return 1;
    }
    // Pixel words hold 0, red, green and blue from the high byte down.
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgba.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        picture.rgba[i * 4] = static_cast<uint8_t>(words[i] >> 16);
        picture.rgba[i * 4 + 1] = static_cast<uint8_t>(words[i] >> 8);
        picture.rgba[i * 4 + 2] = static_cast<uint8_t>(words[i]);
        picture.rgba[i * 4 + 3] = 255;
    }
    std::string error;
    if (!writePng(output, picture, error)) {
        std::fprintf(stderr, "scntool: cannot write %s: %s\n", output.c_str(), error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace ScnTools
