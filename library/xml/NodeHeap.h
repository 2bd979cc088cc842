// Memory of tree nodes. Each tree has an arena: its nodes and their strings are cut from growing
// chunks, and when the tree dies whole its chunks go back at once, without visiting the nodes.
// Once a node of a tree may live outside it (a detached node) or a node from elsewhere may join
// it, the tree's chunks become shared: every block then holds its chunk and the chunk goes back
// with its last block, from whatever thread frees it.
#ifndef NUVORA_XML_NODEHEAP_H
#define NUVORA_XML_NODEHEAP_H

#include <cstddef>

namespace NuvoraXML {

class CNodeArena;

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
CNodeArena* arenaOf(const void* block) noexcept;
// The arena's tree gives up being released whole: its chunks become shared and the arena goes
// (its finalizers are unregistered). Null does nothing.
void shareArena(CNodeArena* arena) noexcept;
// Runs the finalizers, then frees every chunk and the arena: every block in it is gone.
void releaseArena(CNodeArena* arena) noexcept;
// Registers a finalizer with an arena (null: nothing to register).
void registerFinalizer(CNodeArena* arena, ArenaFinalizer* finalizer) noexcept;
// Unregisters a finalizer, if it is registered.
void unregisterFinalizer(ArenaFinalizer* finalizer) noexcept;

// A block of size bytes in the arena (null: a shared chunk). Out of memory fails in the
// missing-pointer form.
void* allocateNode(size_t size, CNodeArena* arena);
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
