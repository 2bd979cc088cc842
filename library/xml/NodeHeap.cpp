#include "xml/NodeHeap.h"

#include <atomic>
#include <cstdint>
#include <new>

#include "platform/Failure.h"
#include "platform/Memory.h"

namespace NuvoraXML {

namespace {

// Chunks of the threads' shared allocation.
constexpr size_t kSharedChunkSize = 64 * 1024;
// An arena's chunks double from the first size up to the largest.
constexpr size_t kFirstArenaChunk = 4 * 1024;
constexpr size_t kLargestArenaChunk = 64 * 1024;
constexpr size_t kLargeBlock = detail::kLargeNodeBlock;

// While a shared chunk is a thread's current one, its live count carries a large bias and the
// thread counts its blocks without atomics (also the ones it frees again); retiring the chunk
// trades the bias for that count.
constexpr int64_t kBias = int64_t(1) << 40;

using Chunk = detail::NodeChunk;
using Header = detail::NodeHeader;

constexpr size_t kChunkStart = (sizeof(Chunk) + alignof(Header) - 1) / alignof(Header) * alignof(Header);

Chunk* newChunk(size_t size, CNodeArena* arena, int64_t live)
{
    void* raw = size < kChunkStart ? nullptr : Nuvora::reallocate(nullptr, size);
    if (raw == nullptr) {
        Nuvora::failNullPointer();
    }
    Chunk* chunk = new (raw) Chunk();
    chunk->live.store(live, std::memory_order_relaxed);
    chunk->used = kChunkStart;
    chunk->size = size;
    chunk->allocated = 0;
    chunk->arena = arena;
    chunk->previous = nullptr;
    chunk->next = nullptr;
    return chunk;
}

void freeChunk(Chunk* chunk) noexcept
{
    chunk->~Chunk();
    Nuvora::release(chunk);
}

void* cutBlock(Chunk* chunk, size_t total)
{
    return detail::cutNodeBlock(chunk, total);
}

void dropReferences(Chunk* chunk, int64_t count) noexcept
{
    if (chunk->live.fetch_sub(count, std::memory_order_acq_rel) == count) {
        freeChunk(chunk);
    }
}

// The allocating thread lets go of its current shared chunk.
void retire(Chunk* chunk) noexcept
{
    dropReferences(chunk, kBias - chunk->allocated);
}

// The shared chunk the calling thread allocates from, the run of frees it has not settled yet
// (all in one shared chunk), and a spare arena chunk of the largest size, kept from a released
// arena for the next one (so that reading document after document reuses the same memory); all
// are let go of when the thread ends.
struct ThreadHeap {
    Chunk* current = nullptr;
    Chunk* pending = nullptr;
    int64_t pendingCount = 0;
    Chunk* spare = nullptr;
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
        if (spare != nullptr) {
            freeChunk(spare);
            spare = nullptr;
        }
        ended = true;
    }
};

// Initial-exec: the hot path reads the variable without a call, also in the shared library.
thread_local ThreadHeap tHeap __attribute__((tls_model("initial-exec")));

void* allocateShared(size_t total)
{
    // After the thread's heap has ended, blocks get chunks of their own: no chunk would retire.
    if (total > kLargeBlock || tHeap.ended) {
        return cutBlock(newChunk(kChunkStart + total, nullptr, 1), total);
    }
    Chunk* chunk = tHeap.current;
    if (chunk == nullptr || chunk->used + total > chunk->size) {
        Chunk* fresh = newChunk(kSharedChunkSize, nullptr, kBias);
        if (chunk != nullptr) {
            retire(chunk);
        }
        tHeap.current = chunk = fresh;
    }
    ++chunk->allocated;
    return cutBlock(chunk, total);
}

void freeShared(Chunk* chunk) noexcept
{
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

}  // namespace

void CNodeArena::Link(Chunk* chunk)
{
    chunk->next = chunks;
    if (chunks != nullptr) {
        chunks->previous = chunk;
    }
    chunks = chunk;
}

void CNodeArena::Unlink(Chunk* chunk)
{
    if (chunk->previous != nullptr) {
        chunk->previous->next = chunk->next;
    } else {
        chunks = chunk->next;
    }
    if (chunk->next != nullptr) {
        chunk->next->previous = chunk->previous;
    }
}

void* CNodeArena::AllocateInNewChunk(size_t total)
{
    Chunk* chunk = nullptr;
    if (total > kLargeBlock) {
        chunk = newChunk(kChunkStart + total, this, 0);
        Link(chunk);
    } else {
        chunk = current;
        Chunk* fresh = TakeSpare();
        if (fresh == nullptr) {
            fresh = newChunk(nextSize, this, 0);
        }
        Link(fresh);
        nextSize = nextSize < kLargestArenaChunk ? nextSize * 2 : kLargestArenaChunk;
        current = fresh;
        if (chunk != nullptr && chunk->live.load(std::memory_order_relaxed) == 0) {
            Unlink(chunk);
            freeChunk(chunk);
        }
        chunk = fresh;
    }
    AddLive(chunk, 1);
    return cutBlock(chunk, total);
}

Chunk* CNodeArena::TakeSpare()
{
    Chunk* chunk = tHeap.spare;
    if (chunk == nullptr) {
        return nullptr;
    }
    tHeap.spare = nullptr;
    chunk->used = kChunkStart;
    chunk->arena = this;
    nextSize = kLargestArenaChunk;
    return chunk;
}

void CNodeArena::Drop(Chunk* chunk) noexcept
{
    ThreadHeap& heap = tHeap;
    if (heap.spare == nullptr && !heap.ended && chunk->size == kLargestArenaChunk) {
        chunk->live.store(0, std::memory_order_relaxed);
        chunk->arena = nullptr;
        chunk->previous = nullptr;
        chunk->next = nullptr;
        heap.spare = chunk;
    } else {
        freeChunk(chunk);
    }
}

void CNodeArena::Free(Chunk* chunk)
{
    if (AddLive(chunk, -1) == 0 && chunk != current) {
        Unlink(chunk);
        freeChunk(chunk);
    }
}

CNodeArena* createArena()
{
    void* raw = Nuvora::reallocate(nullptr, sizeof(CNodeArena));
    if (raw == nullptr) {
        Nuvora::failNullPointer();
    }
    return new (raw) CNodeArena(kFirstArenaChunk);
}

void registerFinalizer(CNodeArena* arena, ArenaFinalizer* finalizer) noexcept
{
    finalizer->arena = arena;
    finalizer->previous = nullptr;
    finalizer->next = nullptr;
    if (arena == nullptr) {
        return;
    }
    finalizer->next = arena->finalizers;
    if (arena->finalizers != nullptr) {
        arena->finalizers->previous = finalizer;
    }
    arena->finalizers = finalizer;
}

void unregisterFinalizer(ArenaFinalizer* finalizer) noexcept
{
    CNodeArena* arena = finalizer->arena;
    if (arena == nullptr) {
        return;
    }
    if (finalizer->previous != nullptr) {
        finalizer->previous->next = finalizer->next;
    } else {
        arena->finalizers = finalizer->next;
    }
    if (finalizer->next != nullptr) {
        finalizer->next->previous = finalizer->previous;
    }
    finalizer->arena = nullptr;
    finalizer->previous = nullptr;
    finalizer->next = nullptr;
}

void shareArena(CNodeArena* arena) noexcept
{
    if (arena == nullptr) {
        return;
    }
    while (arena->finalizers != nullptr) {
        unregisterFinalizer(arena->finalizers);
    }
    // The live counts are exact: from now on they are counted down atomically.
    Chunk* chunk = arena->chunks;
    while (chunk != nullptr) {
        Chunk* next = chunk->next;
        chunk->arena = nullptr;
        chunk->previous = nullptr;
        chunk->next = nullptr;
        if (chunk->live.load(std::memory_order_relaxed) == 0) {
            freeChunk(chunk);
        }
        chunk = next;
    }
    arena->~CNodeArena();
    Nuvora::release(arena);
}

void releaseArena(CNodeArena* arena) noexcept
{
    if (arena == nullptr) {
        return;
    }
    while (arena->finalizers != nullptr) {
        ArenaFinalizer* finalizer = arena->finalizers;
        unregisterFinalizer(finalizer);
        finalizer->finalize(finalizer);
    }
    // The chunk cut last (the first of the list) is the one kept as a spare.
    Chunk* chunk = arena->chunks;
    while (chunk != nullptr) {
        Chunk* next = chunk->next;
        CNodeArena::Drop(chunk);
        chunk = next;
    }
    arena->~CNodeArena();
    Nuvora::release(arena);
}

void* allocateNodeSlowly(size_t size, CNodeArena* arena)
{
    size_t total = detail::nodeBlockBytes(size);
    if (total == 0 || total > (static_cast<size_t>(-1) >> 2)) {
        Nuvora::failNullPointer();
    }
    return arena != nullptr ? arena->Allocate(total) : allocateShared(total);
}

void freeNode(void* block) noexcept
{
    if (block == nullptr) {
        return;
    }
    Chunk* chunk = (static_cast<Header*>(block) - 1)->chunk;
    CNodeArena* arena = chunk->arena;
    if (arena != nullptr) {
        arena->Free(chunk);
    } else {
        freeShared(chunk);
    }
}

void settleFreedNodes() noexcept
{
    tHeap.settle();
}

}  // namespace NuvoraXML
