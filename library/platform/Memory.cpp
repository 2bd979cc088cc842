#include "Memory.h"

#include <atomic>
#include <cstdlib>

namespace Nuvora {

namespace {
std::atomic<long> gCountdown{0};
}

void* reallocate(void* block, size_t bytes)
{
    if (gCountdown.load(std::memory_order_relaxed) != 0 && gCountdown.fetch_sub(1) == 1) {
        return nullptr;
    }
    return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void release(void* block)
{
    std::free(block);
}

void failAllocationAfter(long countdown)
{
    gCountdown.store(countdown < 0 ? 0 : countdown);
}

}  // namespace Nuvora
