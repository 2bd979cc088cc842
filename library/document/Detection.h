// Cheap questions about a stream: is it a scene file, which library wrote it, can we read it.
#ifndef SCN_DETECTION_H
#define SCN_DETECTION_H

#include "ScnClient.h"

namespace NvScn {

// Whether the stream holds a scene file; writes a short description into buffer when given. The
// stream is left where it was found; nothing is thrown.
bool checkScnFormat(CScnStream* stream, char* buffer, int32_t bufferSize);
// As checkScnFormat, plus the readability verdict (always written) and the file's library version.
bool checkScnFormat2(CScnStream* stream, eReadability* verdict, CScnVersion* version, char* buffer,
                     int32_t bufferSize);

}  // namespace NvScn

#endif
