// Client-side doubles shared by the tests: a recording feedback and an in-memory stream.
#ifndef SCN_TEST_SUPPORT_H
#define SCN_TEST_SUPPORT_H

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ScnMgr.h"

namespace ScnTest {

// Records every report and progress call; progress answers from a configurable rule.
class RecordingFeedback final : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr* manager, const char* text) override;
    bool progress(NvScn::CScnMgr* manager, int32_t value, int32_t maximum) override;

    std::vector<std::string> warnings;
    std::vector<NvScn::CScnMgr*> warningManagers;
    std::vector<std::pair<int32_t, int32_t>> progressCalls;
    // Answer of progress for the n-th call (0-based); true when unset.
    std::function<bool(size_t call)> progressAnswer;
};

// A seekable stream over bytes in memory; secondary streams come from a name-to-bytes map.
class MemoryStream : public NvScn::CScnStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes, std::string name = "memory.scn");

    bool getName(char* buffer, int32_t bufferSize) override;
    NvScn::CScnStream* openSecondaryStream(const char* fileName, int32_t mode) override;
    void release() override;
    void setTypeInfo(uint32_t fileType, uint32_t creator) override;
    int32_t read(void* buffer, int32_t size) override;
    void write(const void* buffer, int32_t size) override;
    int64_t getPosition() override;
    void setPosition(int64_t position) override;

    const std::string& bytes() const { return mBytes; }

    // Reads deliver at most this many bytes each (0: no limit), to test short reads.
    int32_t maxReadChunk = 0;
    // Sibling files that openSecondaryStream can open, by name.
    std::map<std::string, std::string> siblings;
    // Names asked of openSecondaryStream, in order.
    std::vector<std::string> openedNames;
    int releasedSecondaries = 0;
    uint32_t typeCode = 0;
    uint32_t creatorCode = 0;

private:
    std::string mBytes;
    std::string mName;
    size_t mPosition = 0;
    MemoryStream* mParent = nullptr;
};

}  // namespace ScnTest

#endif
