#include "Memory.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace Nuvora {

namespace {
std::atomic<long> gCountdown{0};

constexpr size_t kHugePage = size_t(2) << 20;

bool failsUnderTest()
{
    return gCountdown.load(std::memory_order_relaxed) != 0 && gCountdown.fetch_sub(1) == 1;
}

}  // namespace

void* reallocate(void* block, size_t bytes)
{
    if (failsUnderTest()) {
        return nullptr;
    }
    return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void* allocateChunk(size_t bytes, bool hugePages)
{
    if (failsUnderTest()) {
        return nullptr;
    }
    if (!hugePages || bytes < 2 * kHugePage) {
        return std::malloc(bytes == 0 ? 1 : bytes);
    }
    void* block = nullptr;
    if (posix_memalign(&block, kHugePage, bytes) != 0) {
        return nullptr;
    }
#ifdef MADV_HUGEPAGE
    // Only advice: the memory works the same when the system declines.
    madvise(block, bytes & ~(kHugePage - 1), MADV_HUGEPAGE);
#endif
    return block;
}

void* allocateAlignedChunk(size_t bytes, size_t alignment, bool hugePages)
{
    if (failsUnderTest()) {
        return nullptr;
    }
    bool huge = hugePages && bytes >= kHugePage;
    void* block = nullptr;
    if (posix_memalign(&block, huge && alignment < kHugePage ? kHugePage : alignment, bytes == 0 ? 1 : bytes) != 0) {
        return nullptr;
    }
#ifdef MADV_HUGEPAGE
    if (huge) {
        madvise(block, bytes & ~(kHugePage - 1), MADV_HUGEPAGE);
    }
#endif
    return block;
}

void releaseChunk(void* block)
{
    std::free(block);
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
