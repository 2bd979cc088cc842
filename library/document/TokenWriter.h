// The token writer: flags, integers, reals, colours, vectors, tables and raw text written as
// whitespace-separated token text on a client stream.
#ifndef SCN_TOKEN_WRITER_H
#define SCN_TOKEN_WRITER_H

#include <cstdint>

#include "ScnClient.h"
#include "document/TokenTable.h"

namespace NvScn {

class CSCN;

// Writes token text on a stream; every operation answers the number of bytes it wrote and
// writes each value with its trailing space in one stream write. The scene may be null.
class CWriter {
public:
    // Fails with the missing-pointer form when the stream is null.
    CWriter(CScnStream* stream, CSCN* scene);

    // "Y " for true, "N " for false.
    virtual int64_t writeBool(bool value);
    // The count as an integer when asked, each value as a real, then one space; fails on null.
    virtual int64_t writeTable(const CTable* table, bool withCount);
    // The bytes of the text as they are; nothing for null or empty.
    virtual int64_t writeText(const char* text);
    // Decimal digits, "-" in front when negative, then one space.
    virtual int64_t writeInt(int32_t value);
    // The token real format (see TokenNumbers::putReal).
    virtual int64_t writeReal(double value);
    // Red, green and blue taken as signed bytes, each as an integer.
    virtual int64_t writeSignedColor(CScnColor color);
    // Red, green and blue taken as unsigned bytes, each as an integer.
    virtual int64_t writeColor(CScnColor color);
    // x, y and z as reals; fails on null.
    virtual int64_t writeVector(const CScnVector* vector);
    virtual ~CWriter() {}

    CScnStream* getStream() const { return mStream; }
    CSCN* getScene() const { return mScene; }

private:
    int64_t put(const char* bytes, int64_t length);

    CScnStream* mStream;
    CSCN* mScene;
};

}  // namespace NvScn

#endif
