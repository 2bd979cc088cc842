// A client stream over bytes in memory for the fuzz targets; its siblings hold the same bytes.
#ifndef SCN_FUZZ_BYTES_STREAM_H
#define SCN_FUZZ_BYTES_STREAM_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "Scn.h"

namespace ScnFuzz {

// Reads and writes bytes in memory; a secondary stream it opens deletes itself on release.
class BytesStream : public NvScn::CScnStream {
public:
    explicit BytesStream(std::string bytes, bool secondary = false) : mBytes(std::move(bytes)), mSecondary(secondary) {}
    bool getName(char*, int32_t) override { return false; }
    NvScn::CScnStream* openSecondaryStream(const char*, int32_t) override { return new BytesStream(mBytes, true); }
    void release() override
    {
        if (mSecondary) {
            delete this;
        }
    }
    void setTypeInfo(uint32_t, uint32_t) override {}
    int32_t read(void* buffer, int32_t size) override
    {
        if (size <= 0 || mPosition >= mBytes.size()) {
            return 0;
        }
        size_t count = std::min(static_cast<size_t>(size), mBytes.size() - mPosition);
        std::memcpy(buffer, mBytes.data() + mPosition, count);
        mPosition += count;
        return static_cast<int32_t>(count);
    }
    void write(const void* buffer, int32_t size) override
    {
        mBytes.append(static_cast<const char*>(buffer), static_cast<size_t>(size));
    }
    int64_t getPosition() override { return static_cast<int64_t>(mPosition); }
    void setPosition(int64_t position) override { mPosition = position < 0 ? 0 : static_cast<size_t>(position); }

    const std::string& bytes() const { return mBytes; }

private:
    std::string mBytes;
    size_t mPosition = 0;
    bool mSecondary;
};

}  // namespace ScnFuzz

#endif
