#include "xml/NodeHeap.h"

#include <atomic>
#include <cstdint>
#include <new>

#include "platform/Failure.h"
#include "platform/Memory.h"

namespace NuvoraXML {

namespace {

constexpr size_t kChunkSize = 64 * 1024;
// Blocks larger than this get their own allocation.
constexpr size_t kLargeBlock = 4 * 1024;

// While a chunk is current, its live count carries a large bias and the allocating thread counts
// its blocks without atomics (also the ones it frees again); retiring the chunk trades the bias
// for that count.
constexpr int64_t kBias = int64_t(1) << 40;

struct Chunk {
    std::atomic<int64_t> live;
    size_t used;
    int64_t allocated;
};

// Stands before every block: the chunk it lives in, or null for a block of its own.
struct alignas(8) Header {
    Chunk* chunk;
};

constexpr size_t kChunkStart = (sizeof(Chunk) + alignof(Header) - 1) / alignof(Header) * alignof(Header);

void dropReferences(Chunk* chunk, int64_t count) noexcept
{
    if (chunk->live.fetch_sub(count, std::memory_order_acq_rel) == count) {
        chunk->~Chunk();
        Nuvora::release(chunk);
    }
}

// The allocating thread lets go of its current chunk.
void retire(Chunk* chunk) noexcept
{
    dropReferences(chunk, kBias - chunk->allocated);
}

void* allocateRaw(size_t bytes)
{
    void* block = Nuvora::reallocate(nullptr, bytes);
    if (block == nullptr) {
        Nuvora::failNullPointer();
    }
    return block;
}

// The chunk the calling thread allocates from, and the run of frees it has not settled yet (all
// in one chunk); both are let go of when the thread ends.
struct ThreadHeap {
    Chunk* current = nullptr;
    Chunk* pending = nullptr;
    int64_t pendingCount = 0;
    bool ended = false;

    void settle() noexcept
    {
        if (pending != nullptr) {
            Chunk* chunk = pending;
            pending = nullptr;
            dropReferences(chunk, pendingCount);
        }
    }
    ~ThreadHeap()
    {
        settle();
        if (current != nullptr) {
            retire(current);
            current = nullptr;
        }
        ended = true;
    }
};

// Initial-exec: the hot path reads the variable without a call, also in the shared library.
thread_local ThreadHeap tHeap __attribute__((tls_model("initial-exec")));

}  // namespace

void* allocateNode(size_t size)
{
    size_t total = (sizeof(Header) + size + alignof(Header) - 1) / alignof(Header) * alignof(Header);
    // After the thread's heap has ended, blocks get their own allocation: no chunk would retire.
    if (total < size || total > kLargeBlock || tHeap.ended) {
        if (total < size) {
            Nuvora::failNullPointer();
        }
        Header* header = static_cast<Header*>(allocateRaw(total));
        header->chunk = nullptr;
        return header + 1;
    }
    Chunk* chunk = tHeap.current;
    if (chunk == nullptr || chunk->used + total > kChunkSize) {
        Chunk* fresh = new (allocateRaw(kChunkSize)) Chunk();
        fresh->live.store(kBias, std::memory_order_relaxed);
        fresh->used = kChunkStart;
        fresh->allocated = 0;
        if (chunk != nullptr) {
            retire(chunk);
        }
        tHeap.current = chunk = fresh;
    }
    Header* header = reinterpret_cast<Header*>(reinterpret_cast<char*>(chunk) + chunk->used);
    chunk->used += total;
    ++chunk->allocated;
    header->chunk = chunk;
    return header + 1;
}

void freeNode(void* block) noexcept
{
    if (block == nullptr) {
        return;
    }
    Header* header = static_cast<Header*>(block) - 1;
    Chunk* chunk = header->chunk;
    if (chunk == nullptr) {
        Nuvora::release(header);
        return;
    }
    ThreadHeap& heap = tHeap;
    if (chunk == heap.current) {
        --chunk->allocated;
    } else if (chunk == heap.pending) {
        ++heap.pendingCount;
    } else if (heap.ended) {
        dropReferences(chunk, 1);
    } else {
        heap.settle();
        heap.pending = chunk;
        heap.pendingCount = 1;
    }
}

void settleFreedNodes() noexcept
{
    tHeap.settle();
}

}  // namespace NuvoraXML
