// A host that loads the library at run time, as the CAD host loads the exporter that links it:
// the library must load with dlopen, serve managers on several threads and unload again.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Scn.h"

namespace {

using NewMgr = NvScn::CScnMgr* (*)(int32_t, NvScn::CScnFeedback*, NvScn::CScnExtStorage*);

class Feedback : public NvScn::CScnFeedback {
public:
    void warning(NvScn::CScnMgr*, const char* text) override { reports.push_back(text); }
    bool progress(NvScn::CScnMgr*, int32_t, int32_t) override { return true; }
    std::vector<std::string> reports;
};

// A stream over a byte vector.
class MemoryStream : public NvScn::CScnStream {
public:
    bool getName(char*, int32_t) override { return false; }
    NvScn::CScnStream* openSecondaryStream(const char*, int32_t) override { return nullptr; }
    void release() override {}
    void setTypeInfo(uint32_t, uint32_t) override {}
    int32_t read(void* buffer, int32_t size) override
    {
        size_t count = std::min(static_cast<size_t>(size), mBytes.size() - mPosition);
        std::memcpy(buffer, mBytes.data() + mPosition, count);
        mPosition += count;
        return static_cast<int32_t>(count);
    }
    void write(const void* buffer, int32_t size) override
    {
        const char* bytes = static_cast<const char*>(buffer);
        mBytes.insert(mBytes.end(), bytes, bytes + size);
    }
    int64_t getPosition() override { return static_cast<int64_t>(mPosition); }
    void setPosition(int64_t position) override { mPosition = static_cast<size_t>(position); }

private:
    std::vector<char> mBytes;
    size_t mPosition = 0;
};

// Writes a scene with a comment and a triangle, reads it into a new manager; the failure or "".
std::string roundTrip(NewMgr newMgr, int serial)
{
    Feedback feedback;
    std::string comment = "thread " + std::to_string(serial);
    NvScn::CScnMgr* writer = newMgr(31, &feedback, nullptr);
    if (writer == nullptr) {
        return "no manager";
    }
    writer->setComment(comment.c_str(), 0);
    for (int i = 0; i < 3; ++i) {
        writer->getPoints()->newScnObject(NvScn::kScnLastIndex)->x = i;
    }
    NvScn::CScnPolygon* polygon = writer->getPolygons()->newScnObject(NvScn::kScnLastIndex);
    for (int i = 0; i < 3; ++i) {
        polygon->getVertices()->newScnObject(NvScn::kScnLastIndex)->pointIndex = i;
    }
    MemoryStream stream;
    int32_t written = writer->write(&stream);
    writer->release();
    NvScn::CScnMgr* reader = newMgr(31, &feedback, nullptr);
    stream.setPosition(0);
    int32_t read = reader->read(&stream);
    std::string outcome;
    const char* back = reader->getComment(0);
    if (written != 0 || read != 0) {
        outcome = "write or read failed";
    } else if (back == nullptr || comment != back) {
        outcome = "comment lost";
    } else if (reader->getPoints()->getNbObjects() != 3 || reader->getPolygons()->getNbObjects() != 1) {
        outcome = "geometry lost";
    } else if (!feedback.reports.empty()) {
        outcome = "report: " + feedback.reports.front();
    }
    reader->release();
    return outcome;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
        return 2;
    }
    for (int load = 0; load < 2; ++load) {
        void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            std::printf("dlopen client: FAILED to load: %s\n", dlerror());
            return 1;
        }
        auto newMgr = reinterpret_cast<NewMgr>(dlsym(library, "scn_new_mgr"));
        if (newMgr == nullptr) {
            std::printf("dlopen client: FAILED no scn_new_mgr\n");
            return 1;
        }
        std::vector<std::string> outcomes(4);
        std::vector<std::thread> threads;
        for (int i = 0; i < 4; ++i) {
            threads.emplace_back([&, i] { outcomes[i] = roundTrip(newMgr, i); });
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        outcomes.push_back(roundTrip(newMgr, 4));
        for (const std::string& outcome : outcomes) {
            if (!outcome.empty()) {
                std::printf("dlopen client: FAILED %s\n", outcome.c_str());
                return 1;
            }
        }
        if (dlclose(library) != 0) {
            std::printf("dlopen client: FAILED to unload: %s\n", dlerror());
            return 1;
        }
    }
    std::printf("dlopen client: ok\n");
    return 0;
}
