// Images inside a scene document: the data objects that write them and the block decoder.
#ifndef SCN_IMAGE_BLOCKS_H
#define SCN_IMAGE_BLOCKS_H

#include "ScnImage.h"
#include "ScnXML.h"

namespace NvScn {

class CSCN;

// A data object that writes the image as an image block whenever the tree is written; reports go
// to the scene's feedback (scene may be null).
NuvoraXML::XIXMLData::IXMLCData* newImageProvider(CSCN* scene, IScnImage* image);
// Decodes an image block into the image, replacing its pixels; throws on a malformed block, leaving
// the image empty.
void readImageBlock(NuvoraXML::CXMLReadStream* stream, IScnImage* image);

}  // namespace NvScn

#endif
