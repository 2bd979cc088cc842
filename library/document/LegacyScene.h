// Legacy scene data in token text: the keyword-driven options (legacy option files and the
// "Options" block of old documents) and the legacy scene files that begin with them.
#ifndef SCN_LEGACY_SCENE_H
#define SCN_LEGACY_SCENE_H

#include <string>

#include "ScnClient.h"

namespace NvScn {

class CSCN;
class CTokenReader;

// The kinds of legacy scene files, told by their first tokens.
enum class ELegacyHead {
    eNone,      // not a legacy scene file
    eOptions,   // "opt", "db", "version" and a known version pair
    eDatabase,  // starts with the option word "-dbfile"
    eTolven     // starts with the option word "-eye"
};

// What the first tokens of a legacy head tell.
struct CLegacyHead {
    ELegacyHead kind = ELegacyHead::eNone;
    int32_t major = 0;
    int32_t minor = 0;
};

// Reads the first tokens of a legacy head; token failures answer eNone. For "-dbfile" and
// "-eye" the reader's current token is that option word.
CLegacyHead readLegacyHead(CTokenReader& reader);

// The description of a recognised legacy head, cut to the buffer (nothing for eNone).
void describeLegacyHead(const CLegacyHead& head, char* buffer, int32_t bufferSize);

// Whether the pair is a version that legacy options may carry (3.5 or 4.0).
bool isKnownLegacyVersion(int32_t major, int32_t minor);

// Reads keyword-driven options: an optional "opt" "db" head, an optional "version" entry with a
// known pair ("You're reading the wrong format!" otherwise), then option words each followed by
// its values, which set the background, atmosphere, ambient, heliodon and its study, the views,
// panoramas, camera path and the rendering options of each view kind (docs/legacy-options.md).
// The path of "-dbfile" goes to the scene's legacy path. A word outside the option list fails
// with "Unrecognize token"; a value where an option word belongs, or a value of an option that
// is out of its range, with "Error in COPTIO::read()!" or the option's own text.
class COPTIO {
public:
    COPTIO(CSCN& scene, CTokenReader& reader) : mScene(scene), mReader(reader) {}

    void read();

private:
    void readHead();
    // The option words up to the end of the data (LegacyOptions.cpp).
    void readOptions();

    CSCN& mScene;
    CTokenReader& mReader;
};

// Whether the option word is one that the options recognise.
bool isLegacyOptionWord(const std::string& word);

// The file name of a legacy path: after its last backslash or slash, at most 255 bytes.
std::string legacyFileName(const std::string& path);

// Reads a legacy scene file from the stream (its first byte is not "<"): an unrecognised head
// fails with "Not a valid scn file"; the options are read; a geometry file that they name is
// opened beside the stream ("Can't open secondary stream!" when it cannot be) and released
// again, and since its records cannot be interpreted the read then fails with a report saying
// so.
void readLegacyScene(CSCN& scene, CScnStream* stream);

}  // namespace NvScn

#endif
