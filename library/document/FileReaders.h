// Readers that pick a few facts out of a file without loading its scene.
#ifndef SCN_FILE_READERS_H
#define SCN_FILE_READERS_H

#include "ScnClient.h"
#include "ScnFileInfo.h"
#include "ScnImage.h"

namespace NvScn {

class CSCN;

// The origin stored in a file's information; a new object owned by the caller. The stream is left
// where it was found.
IScnFileInfo2* readScnFileInfo(CScnStream* stream);
// The preview image of a scene stream, owned by the caller, or null.
IScnImage* readScnPreviewImage(CScnStream* stream);
// Reads the display names of an object file into the scene's object definitions.
void readScnMediaInfo(CSCN& scene, CScnStream* stream);

}  // namespace NvScn

#endif
