// Memory of tree nodes. Each tree has an arena: its nodes and their strings are cut from growing
// chunks, and when the tree dies whole its chunks go back at once, without visiting the nodes.
// Once a node of a tree may live outside it (a detached node) or a node from elsewhere may join
// it, the tree's chunks become shared: every block then holds its chunk and the chunk goes back
// with its last block, from whatever thread frees it.
#ifndef NUVORA_XML_NODEHEAP_H
#define NUVORA_XML_NODEHEAP_H

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace NuvoraXML {

class CNodeArena;
struct ArenaFinalizer;

namespace detail {

// A chunk of node memory: its head, then blocks, each behind a NodeHeader.
struct NodeChunk {
    // The arena, null once shared.
    CNodeArena* arena;
    // Blocks alive: counted plainly while the chunk belongs to an arena (its tree is used by one
    // thread at a time), atomically once shared.
    std::atomic<int64_t> live;
    size_t used;
    size_t size;
    // Blocks handed out while the chunk is a thread's current shared chunk.
    int64_t allocated;
    NodeChunk* previous;
    NodeChunk* next;
};

// Stands before every block: the chunk it lives in.
struct alignas(8) NodeHeader {
    NodeChunk* chunk;
};

// Blocks larger than this get a chunk of their own.
constexpr size_t kLargeNodeBlock = 4 * 1024;

// The bytes of a block of size bytes with its header (0 when that overflows).
inline size_t nodeBlockBytes(size_t size)
{
    size_t total = (sizeof(NodeHeader) + size + alignof(NodeHeader) - 1) & ~(alignof(NodeHeader) - 1);
    return total < size ? 0 : total;
}

// Cuts a block of total bytes at the end of the chunk, which has room for it.
inline void* cutNodeBlock(NodeChunk* chunk, size_t total)
{
    auto* header = reinterpret_cast<NodeHeader*>(reinterpret_cast<char*>(chunk) + chunk->used);
    chunk->used += total;
    header->chunk = chunk;
    return header + 1;
}

}  // namespace detail

// The arena of one tree: the chunk blocks are cut from, every chunk, the size of the next one and
// the code to run when it is released whole.
class CNodeArena {
public:
    detail::NodeChunk* current = nullptr;
    detail::NodeChunk* chunks = nullptr;
    size_t nextSize;
    ArenaFinalizer* finalizers = nullptr;
    // The root of the arena's tree, which holds the keys: while the arena is whole every node cut
    // from it is in that tree, so an element finds its keys without climbing to the root.
    void* keyRoot = nullptr;

    explicit CNodeArena(size_t firstSize) : nextSize(firstSize) {}

    // A block of total bytes (header included): from the current chunk when it has room.
    void* Allocate(size_t total)
    {
        detail::NodeChunk* chunk = current;
        if (total <= detail::kLargeNodeBlock && chunk != nullptr && chunk->used + total <= chunk->size) {
            AddLive(chunk, 1);
            return detail::cutNodeBlock(chunk, total);
        }
        return AllocateInNewChunk(total);
    }
    void* AllocateInNewChunk(size_t total);
    // Counts a block out of or back into a chunk of the arena (plainly: one thread at a time).
    static int64_t AddLive(detail::NodeChunk* chunk, int64_t count)
    {
        int64_t live = chunk->live.load(std::memory_order_relaxed) + count;
        chunk->live.store(live, std::memory_order_relaxed);
        return live;
    }
    void Link(detail::NodeChunk* chunk);
    void Unlink(detail::NodeChunk* chunk);
    detail::NodeChunk* TakeSpare();
    static void Drop(detail::NodeChunk* chunk) noexcept;
    void Free(detail::NodeChunk* chunk);
};

// Where a new block goes: the arena of its tree (null: the calling thread's shared chunks), and
// extra bytes behind the object (its inline text).
struct NodePlace {
    CNodeArena* arena;
    size_t extra;
};

// Code that must run when its arena is released whole (a data node's object); linked into the
// arena while registered.
struct ArenaFinalizer {
    void (*finalize)(ArenaFinalizer* self) noexcept;
    CNodeArena* arena;
    ArenaFinalizer* previous;
    ArenaFinalizer* next;
};

// A new arena for a new tree; out of memory fails in the missing-pointer form.
CNodeArena* createArena();
// The arena of the tree a block belongs to while that tree is whole, else null.
inline CNodeArena* arenaOf(const void* block) noexcept
{
    return (static_cast<const detail::NodeHeader*>(block) - 1)->chunk->arena;
}
// The arena's tree gives up being released whole: its chunks become shared and the arena goes
// (its finalizers are unregistered). Null does nothing.
void shareArena(CNodeArena* arena) noexcept;
// Runs the finalizers, then frees every chunk and the arena: every block in it is gone.
void releaseArena(CNodeArena* arena) noexcept;
// Registers a finalizer with an arena (null: nothing to register).
void registerFinalizer(CNodeArena* arena, ArenaFinalizer* finalizer) noexcept;
// Unregisters a finalizer, if it is registered.
void unregisterFinalizer(ArenaFinalizer* finalizer) noexcept;

// A block of size bytes in a shared chunk, or of total bytes in the arena, when allocateNode's
// quick path does not apply.
void* allocateNodeSlowly(size_t size, CNodeArena* arena);
// A block of size bytes in the arena (null: a shared chunk). Out of memory fails in the
// missing-pointer form.
inline void* allocateNode(size_t size, CNodeArena* arena)
{
    size_t total = detail::nodeBlockBytes(size);
    if (arena != nullptr && total != 0 && total <= detail::kLargeNodeBlock) {
        return arena->Allocate(total);
    }
    return allocateNodeSlowly(size, arena);
}
// Frees a block of allocateNode; null does nothing. Frees of shared blocks that follow one
// another in one chunk are counted together, so that chunk may go back a little later.
void freeNode(void* block) noexcept;
// Settles the calling thread's pending frees at once (after a whole subtree is destroyed).
void settleFreedNodes() noexcept;

// Gives a class node-heap allocation at a place.
class XCNodeMemory {
public:
    static void* operator new(size_t size, NodePlace place) { return allocateNode(size + place.extra, place.arena); }
    static void operator delete(void* block) noexcept { freeNode(block); }
    static void operator delete(void* block, NodePlace) noexcept { freeNode(block); }
};

}  // namespace NuvoraXML

#endif
