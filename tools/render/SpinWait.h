// A short busy wait before a thread blocks: on a machine where putting a thread to sleep and
// waking it costs tens of microseconds, a hand-off that is only moments away is cheaper to watch for.
#ifndef SCN_TOOLS_SPIN_WAIT_H
#define SCN_TOOLS_SPIN_WAIT_H

#include <thread>

namespace ScnTools {

// Polls done (with a pause between polls) for a few tens of microseconds at most; whether it
// turned true. The caller blocks on its own when it did not.
template <class Done>
bool spinUntil(Done done)
{
    // About 10 to 50 microseconds of pauses on current processors.
    constexpr int kPolls = 512;
    for (int poll = 0; poll < kPolls; ++poll) {
        if (done()) {
            return true;
        }
#if defined(__i386__) || defined(__x86_64__)
        for (int i = 0; i < 2; ++i) {
            __builtin_ia32_pause();
        }
#else
        std::this_thread::yield();
#endif
    }
    return done();
}

}  // namespace ScnTools

#endif
