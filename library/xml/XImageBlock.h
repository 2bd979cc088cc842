// The image block: pixel words as upper-case hexadecimal text in alternating repeat and literal
// runs, the encoding of images inside CDATA sections.
#ifndef NUVORA_XIMAGE_BLOCK_H
#define NUVORA_XIMAGE_BLOCK_H

#include <cstdint>

#include "ScnXML.h"
#include "xml/XImage.h"

namespace Nuvora {

// Writes the format word, width, height and the runs; an image of width or height 0 writes
// nothing. A short write asserts "XCXMLImage::WriteHex - Write stream error".
void WriteImageBlock(NuvoraXML::XIXMLWriteStream* stream, uint32_t width, uint32_t height,
                     const uint32_t* pixels);

// Decodes a block into the matrix, which is 0 x 0 after a failure (the exception passes on) and
// after a block without any byte. Memory grows with the pixels decoded, never with the declared
// size alone.
void ReadImageBlock(NuvoraXML::CXMLReadStream* stream, XCPixels& matrix);

}  // namespace Nuvora

#endif
