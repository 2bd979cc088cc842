// The materials records of older scenes ("Materials" token blocks and legacy material files).
#ifndef SCN_LEGACY_MATERIALS_H
#define SCN_LEGACY_MATERIALS_H

#include <cstdint>
#include <string>

#include "ScnBase.h"

namespace NvScn {

class CSCN;
class CProperty;
class CTCENode;
class CTokenReader;

// What one material record holds, the smooth rules applied.
struct CPropertyRecord {
    // The flag word's bits.
    static constexpr uint32_t kHidden = 1u << 7;
    static constexpr uint32_t kNoCastShadow = 1u << 8;
    static constexpr uint32_t kBillboard = 1u << 9;

    char kind = 'P';
    uint32_t flags = 0;
    double smooth = 1.0;
    double scale = 1.0;
    std::string name;
    // The URL of the record's path, "" when the record names none.
    std::string url;
    // Only "X" records carry the shader's name and identifier.
    std::string shaderName;
    CScnUUID shaderId{};

    bool operator==(const CPropertyRecord& other) const;
};

// Reads material records from token text:
//
//     ##-P <flag word> <smooth> <scale>
//     <name>
//     <path>
//     <shader part>
//
// An "X" record carries two more lines after the path: the shader's name and its identifier (32
// hexadecimal digits, or 0 for none). The name, path and shader name are texts of their own lines
// (quoted or the whole line; U"..." for UTF-8); an empty path line names no path. The shader part
// is the word NoShader, or "!" "!" and the node tree in token form. An "S" record is skipped up to
// the next line that begins with "#"; lines that begin with one "#" only are comments. The flag
// word is 16 bits: bit 7 hides the material, bit 8 stops its cast shadow, bit 9 makes it a
// billboard. A smooth of -1 means 1.0, and so do 0.5 and 0.4 in files the product did not write.
// Anything else where a record belongs, and a shader part that is neither a valid shader nor
// NoShader, fails with "Error in CPropertyDBIO::read()!"; a record cut short fails with the
// reader's text.
class CPropertyDBIO {
public:
    // reader may be null: every read then fails with "CDBIO::read() : no reader provided!".
    CPropertyDBIO(CTokenReader* reader, bool productFile) : mReader(reader), mProductFile(productFile) {}

    // Reads the next material record; false at the end of the data. tree receives the record's
    // shader tree holding one reference (null for NoShader); the caller takes it over.
    bool read(CSCN& scene, CPropertyRecord& record, CTCENode*& tree);

private:
    // Skips blanks and comment lines; answers the kind letter of the next record, 0 at the end.
    char readHeaderKind();
    void skipRecord();
    CTCENode* readShader(CSCN& scene);

    CTokenReader* mReader;
    bool mProductFile;
};

// Gives the property the record's name, flags, smooth, scale, URL and shader name and identifier.
void applyPropertyRecord(const CPropertyRecord& record, CProperty& property);

}  // namespace NvScn

#endif
