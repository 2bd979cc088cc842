// Memory of tree nodes: bump allocation in 64 KB chunks, so that reading a large document does
// not pay a general allocation for every node and attribute.
#ifndef NUVORA_XML_NODEHEAP_H
#define NUVORA_XML_NODEHEAP_H

#include <cstddef>

namespace NuvoraXML {

// Extra bytes to allocate behind an object (its inline text).
struct InlineBytes {
    size_t count;
};

// A block of size bytes; a chunk goes back to the system when the last of its blocks is freed.
// Out of memory fails in the missing-pointer form.
void* allocateNode(size_t size);
// Frees a block of allocateNode (from any thread); null does nothing.
void freeNode(void* block) noexcept;

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
