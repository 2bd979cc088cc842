// Token records of older scenes: points, lists of objects and lights, and the values that their
// records share (flags, counts, paths turned into URLs).
#ifndef SCN_LEGACY_IO_H
#define SCN_LEGACY_IO_H

#include <cstdint>
#include <string>

#include "document/DocumentMessages.h"
#include "document/TokenMessages.h"
#include "document/TokenReader.h"
#include "model/Lights.h"
#include "model/Messages.h"
#include "model/ObjectMgr.h"
#include "platform/Failure.h"

namespace NvScn {

namespace LegacyValues {

// A flag: the word Y (true) or N (false), as the token writer writes them; any other token
// fails with "Reading wrong data type!".
bool readFlag(CTokenReader& reader);
// A count of records: an integer that is not negative ("Invalid table length" otherwise). Counts
// are never trusted for memory: records are added as they are read.
int32_t readCount(CReader& reader);
// A direction: three reals through the scene's direction fix-up.
CScnVector readDirection(CReader& reader);
// The URL of a legacy path: "file:///" and the path with each space written "%20", each "%"
// written "%25", each ":" written "|" and each backslash written "/".
std::string pathToUrl(const std::string& path);

}  // namespace LegacyValues

// Reads one point: x y z, through the scene's vector fix-up.
class CPointIO {
public:
    // reader may be null: every read then fails with "No reader provided in CPointIO!".
    explicit CPointIO(CReader* reader) : mReader(reader) {}

    void read(CScnVector& point);

private:
    CReader* mReader;
};

// Reads one light record:
//
//     <type 0..2> "<name>"
//     <active Y|N> <position x y z> <target x y z>
//     <colour r g b> <power> <near distance> <far distance>
//     <cone angle> <sharpness>
//     <shadow type 0..2> <shadow power> <map size> <bias>
//
// The name is a quoted text on the type's line (U"..." for UTF-8, Windows-1252 otherwise).
// Values go through the light's setters, so their ranges apply; a type or shadow type without a
// label fails with "CLightIO::read() - invalid light type" / "... invalid shadow type".
class CLightIO {
public:
    // reader may be null: every read then fails with "No reader provided in CLightIO!".
    explicit CLightIO(CTokenReader* reader) : mReader(reader) {}

    void read(CLight& light);

private:
    CTokenReader* mReader;
};

// The text a list reader made without a reader fails with, by the kind it reads.
template <class Impl>
struct TObjectMgrIOTraits {
    static constexpr const char* kNoReader = DocMsg::kNoReaderObjectMgrIO;
};
template <>
struct TObjectMgrIOTraits<CLight> {
    static constexpr const char* kNoReader = DocMsg::kNoReaderObjectMgrIOLight;
};

// Reads a list of objects: a count, then that many records of the kind's IO class. The list is
// emptied first; a record cut short ends the read with the reader's failure, leaving the records
// read so far in the list.
template <class Impl, class Iface, class IO>
class TObjectMgrIO {
public:
    // reader may be null: every read then fails with the kind's "No reader provided" text.
    explicit TObjectMgrIO(CTokenReader* reader) : mReader(reader) {}

    void read(TObjectMgr<Impl, Iface>& list)
    {
        if (mReader == nullptr) {
            Nuvora::fail(TObjectMgrIOTraits<Impl>::kNoReader);
        }
        int32_t count = LegacyValues::readCount(*mReader);
        list.clear();
        IO io(mReader);
        for (int32_t i = 0; i < count; ++i) {
            io.read(*Nuvora::checkPointer(list.append(), Msg::kNewCantAllocate));
        }
    }

private:
    CTokenReader* mReader;
};

}  // namespace NvScn

#endif
