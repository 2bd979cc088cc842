// Memory of tree nodes: bump allocation in 64 KB chunks, so that reading a large document does
// not pay a general allocation for every node and attribute, nor destroying it a general free.
#ifndef NUVORA_XML_NODEHEAP_H
#define NUVORA_XML_NODEHEAP_H

#include <cstddef>

namespace NuvoraXML {

// Extra bytes to allocate behind an object (its inline text).
struct InlineBytes {
    size_t count;
};

// A block of size bytes; a chunk goes back to the system once every block in it is freed.
// Out of memory fails in the missing-pointer form.
void* allocateNode(size_t size);
// Frees a block of allocateNode (from any thread); null does nothing. Frees that follow one another
// in one chunk are counted together, so the chunk may go back to the system a little later.
void freeNode(void* block) noexcept;
// Settles the calling thread's pending frees at once (after a whole subtree is destroyed).
void settleFreedNodes() noexcept;

// Gives a class node-heap allocation, with optional inline bytes behind each object.
class XCNodeMemory {
public:
    static void* operator new(size_t size) { return allocateNode(size); }
    static void* operator new(size_t size, InlineBytes extra) { return allocateNode(size + extra.count); }
    static void operator delete(void* block) noexcept { freeNode(block); }
    static void operator delete(void* block, InlineBytes) noexcept { freeNode(block); }
};

}  // namespace NuvoraXML

#endif
