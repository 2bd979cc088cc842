#include "Platform.h"

#include <sys/random.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "PlatformMessages.h"

namespace Nuvora {

namespace {

bool systemGuid(uint8_t bytes[16])
{
    size_t filled = 0;
    while (filled < 16) {
        ssize_t got = getrandom(bytes + filled, 16 - filled, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        filled += static_cast<size_t>(got);
    }
    return true;
}

// The coarse monotonic clock costs a few nanoseconds (no system call), which matters because
// progress throttling reads it every hundred geometry items; its resolution of a few milliseconds
// is far below the 100 ms that the throttling measures.
uint32_t systemClock()
{
    timespec now{};
    if (clock_gettime(CLOCK_MONOTONIC_COARSE, &now) != 0) {
        return 0;
    }
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

std::atomic<GuidSource> gGuidSource{&systemGuid};
std::atomic<ClockSource> gClockSource{&systemClock};

// Code points of the bytes 0x80 to 0x9F; the five unassigned bytes keep their C1 value.
const uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

bool createGuid(uint8_t bytes[16])
{
    return gGuidSource.load()(bytes);
}

GuidSource setGuidSource(GuidSource source)
{
    return gGuidSource.exchange(source != nullptr ? source : &systemGuid);
}

int32_t interlockedIncrement(int32_t* value)
{
    return __atomic_add_fetch(value, 1, __ATOMIC_SEQ_CST);
}

int32_t interlockedDecrement(int32_t* value)
{
    return __atomic_sub_fetch(value, 1, __ATOMIC_SEQ_CST);
}

uint32_t processorTimeMs()
{
    return gClockSource.load()();
}

ClockSource setClockSource(ClockSource source)
{
    return gClockSource.exchange(source != nullptr ? source : &systemClock);
}

std::string codePageToUtf8(const char* text, size_t length)
{
    std::string out;
    out.reserve(length + length / 2);
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80 && c < 0xA0) {
            c = kHighControls[c - 0x80];
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

void obsoleteLibraryStop()
{
    std::fprintf(stderr, "%s\n%s\n", PlatformMsg::kObsoleteLibraryText, PlatformMsg::kObsoleteLibraryCaption);
    std::fflush(stderr);
    std::exit(0);
}

}  // namespace Nuvora
