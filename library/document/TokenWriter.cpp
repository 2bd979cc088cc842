#include "document/TokenWriter.h"

#include <algorithm>
#include <cstring>

#include "document/TokenMessages.h"
#include "document/TokenNumbers.h"
#include "platform/Failure.h"

namespace NvScn {

namespace {

// Values of a table formatted per stream write.
constexpr size_t kTableChunk = 4096;

}  // namespace

CWriter::CWriter(CScnStream* stream, CSCN* scene)
    : mStream(Nuvora::checkPointer(stream, TokenMsg::kNullStream)), mScene(scene)
{
}

int64_t CWriter::put(const char* bytes, int64_t length)
{
    int64_t left = length;
    while (left > 0) {
        auto piece = static_cast<int32_t>(std::min<int64_t>(left, INT32_MAX));
        mStream->write(bytes, piece);
        bytes += piece;
        left -= piece;
    }
    return length;
}

int64_t CWriter::writeBool(bool value)
{
    return put(value ? "Y " : "N ", 2);
}

int64_t CWriter::writeTable(const CTable* table, bool withCount)
{
    Nuvora::checkPointer(table, TokenMsg::kWriteNullTable);
    char chunk[kTableChunk + TokenNumbers::kRealCapacity];
    char* p = chunk;
    int64_t written = 0;
    if (withCount) {
        p = TokenNumbers::putInt(p, table->getCount());
    }
    const double* values = table->values();
    for (int32_t i = 0; i < table->getCount(); ++i) {
        if (static_cast<size_t>(p - chunk) >= kTableChunk) {
            written += put(chunk, p - chunk);
            p = chunk;
        }
        p = TokenNumbers::putReal(p, values[i]);
    }
    *p++ = ' ';
    return written + put(chunk, p - chunk);
}

int64_t CWriter::writeText(const char* text)
{
    if (text == nullptr || *text == '\0') {
        return 0;
    }
    return put(text, static_cast<int64_t>(std::strlen(text)));
}

int64_t CWriter::writeInt(int32_t value)
{
    char text[TokenNumbers::kIntCapacity];
    return put(text, TokenNumbers::putInt(text, value) - text);
}

int64_t CWriter::writeReal(double value)
{
    char text[TokenNumbers::kRealCapacity];
    return put(text, TokenNumbers::putReal(text, value) - text);
}

int64_t CWriter::writeSignedColor(CScnColor color)
{
    char text[3 * TokenNumbers::kIntCapacity];
    char* p = TokenNumbers::putInt(text, static_cast<int8_t>(color.red));
    p = TokenNumbers::putInt(p, static_cast<int8_t>(color.green));
    p = TokenNumbers::putInt(p, static_cast<int8_t>(color.blue));
    return put(text, p - text);
}

int64_t CWriter::writeColor(CScnColor color)
{
    char text[3 * TokenNumbers::kIntCapacity];
    char* p = TokenNumbers::putInt(text, color.red);
    p = TokenNumbers::putInt(p, color.green);
    p = TokenNumbers::putInt(p, color.blue);
    return put(text, p - text);
}

int64_t CWriter::writeVector(const CScnVector* vector)
{
    Nuvora::checkPointer(vector, TokenMsg::kWriteNullVector);
    char text[3 * TokenNumbers::kRealCapacity];
    char* p = TokenNumbers::putReal(text, vector->x);
    p = TokenNumbers::putReal(p, vector->y);
    p = TokenNumbers::putReal(p, vector->z);
    return put(text, p - text);
}

}  // namespace NvScn
