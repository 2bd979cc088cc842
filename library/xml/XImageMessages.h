// Every text that the pixel images, their block codec and the scene images throw or report.
#ifndef NUVORA_XIMAGE_MESSAGES_H
#define NUVORA_XIMAGE_MESSAGES_H

namespace Nuvora {
namespace ImageMsg {

// Pixel matrix.
constexpr const char* kInvalidIndex = "XTCMatrix::CheckIndex - Invalid index";
constexpr const char* kCantAllocate = "XTCMatrix::XTCMatrix - Can't allocate buffer";

// Image block codec.
constexpr const char* kInvalidHex = "XCXMLImage::ReadHex - Invalid hex value";
constexpr const char* kReadError = "XCXMLImage::ReadHex - Read stream error";
constexpr const char* kWriteError = "XCXMLImage::WriteHex - Write stream error";
constexpr const char* kUnknownFormat = "Unknown format";
constexpr const char* kWrongData = "IScnImage::Read - Wrong data";

// Scene images and their data objects.
constexpr const char* kDestroyOwned = "IScnImage::destroy - You must destroy only readed image";
constexpr const char* kSetPixels = "IScnImage::setPixels";
constexpr const char* kProviderUnknown = "CImageProvider::Write - Unknown exception";

}  // namespace ImageMsg
}  // namespace Nuvora

#endif
