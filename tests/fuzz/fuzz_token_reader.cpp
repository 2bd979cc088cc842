// Fuzz target: the tokenizer and the value readers over any bytes. The first byte picks the
// reader's chunk and the stream's read size, the next four the order of value reads; the rest is
// the text. Every read either consumes bytes, answers, or fails with a runtime error; the
// stream is left at the reader's logical position.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "document/TokenReader.h"
#include "model/Scene.h"

namespace {

class FuzzStream : public NvScn::CScnStream {
public:
    FuzzStream(const uint8_t* data, size_t size, int32_t chunk) : mData(data), mSize(size), mChunk(chunk) {}
    bool getName(char*, int32_t) override { return false; }
    NvScn::CScnStream* openSecondaryStream(const char*, int32_t) override { return nullptr; }
    void release() override {}
    void setTypeInfo(uint32_t, uint32_t) override {}
    int32_t read(void* buffer, int32_t size) override
    {
        size_t count = mPosition < mSize ? mSize - mPosition : 0;
        count = std::min({count, static_cast<size_t>(size), static_cast<size_t>(mChunk)});
        std::memcpy(buffer, mData + mPosition, count);
        mPosition += count;
        return static_cast<int32_t>(count);
    }
    void write(const void*, int32_t) override {}
    int64_t getPosition() override { return static_cast<int64_t>(mPosition); }
    void setPosition(int64_t position) override { mPosition = static_cast<size_t>(position); }

private:
    const uint8_t* mData;
    size_t mSize;
    int32_t mChunk;
    size_t mPosition = 0;
};

class QuietFeedback : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char*) override { ++warnings; }
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
    size_t warnings = 0;
};

void check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void tokenize(const uint8_t* data, size_t size, size_t chunk, int32_t streamChunk, NvScn::CSCN* scene)
{
    FuzzStream stream(data, size, streamChunk);
    int64_t end = 0;
    {
        NvScn::CTokenReader reader(&stream, scene, chunk);
        for (size_t i = 0; i <= size + 1; ++i) {
            int64_t before = reader.getPosition();
            const NvScn::CToken& token = reader.nextToken();
            check(token.text.size() <= size + 1);
            if (token.type == NvScn::eTokenEnd) {
                break;
            }
            check(reader.getPosition() > before);
            try {
                NvScn::CTokenReader::tokenToInt(token);
            } catch (const std::runtime_error&) {
            }
            try {
                NvScn::CTokenReader::tokenToReal(token);
            } catch (const std::runtime_error&) {
            }
        }
        end = reader.getPosition();
    }
    check(stream.getPosition() == end);
}

void readValues(const uint8_t* ops, const uint8_t* data, size_t size, size_t chunk, int32_t streamChunk,
                NvScn::CSCN* scene)
{
    FuzzStream stream(data, size, streamChunk);
    int64_t end = 0;
    {
        NvScn::CTokenReader reader(&stream, scene, chunk);
        try {
            for (size_t i = 0; i < 4 * size + 16; ++i) {
                switch (ops[i % 4] >> (2 * (i / 4 % 4)) & 15) {
                case 0: reader.readInt(); break;
                case 1: reader.readReal(); break;
                case 2: reader.readColor(); break;
                case 3: reader.readSignedColor(); break;
                case 4: reader.readVector(); break;
                case 5: reader.readText(); break;
                case 6: reader.readUnicodeText(); break;
                case 7: reader.isRestOfLineEmpty(); break;
                case 8: reader.skipTo(static_cast<char>(ops[0])); break;
                case 9: reader.readWord(); break;
                case 10: reader.readTable(-1); break;
                case 11: reader.readTable(ops[1] & 7); break;
                case 12: reader.sync(); break;
                default: {
                    NvScn::CToken token;
                    reader.readToken(token);
                    if (token.type == NvScn::eTokenEnd) {
                        i = 4 * size + 16;
                    }
                }
                }
            }
        } catch (const std::runtime_error&) {
        }
        end = reader.getPosition();
    }
    check(stream.getPosition() == end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5) {
        return 0;
    }
    static const size_t kChunks[] = {1, 2, 3, 7, 64, 4096};
    size_t chunk = kChunks[data[0] % 6];
    int32_t streamChunk = 1 + (data[0] >> 4) * 97;
    QuietFeedback feedback;
    NvScn::CSCN scene(NvScn::eCurrentVersionSCN, &feedback, nullptr);
    scene.setLegacyFile((data[0] & 8) != 0);
    tokenize(data + 5, size - 5, chunk, streamChunk, &scene);
    readValues(data + 1, data + 5, size - 5, chunk, streamChunk, (data[0] & 4) ? &scene : nullptr);
    return 0;
}
