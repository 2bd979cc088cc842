// Raw memory for the geometry tables, with a failure switch so tests can exhaust memory.
#ifndef NUVORA_MEMORY_H
#define NUVORA_MEMORY_H

#include <cstddef>

namespace Nuvora {

// Grows or allocates a block like realloc; null (old block untouched) when memory runs out.
void* reallocate(void* block, size_t bytes);
// Frees a block of reallocate.
void release(void* block);
// A block for a slab of many small objects; with hugePages, blocks of 2 MB and more are aligned for
// and backed by huge pages where the system offers them, so filling millions of polygons costs few
// page faults. Null when memory runs out (also under the test switch).
void* allocateChunk(size_t bytes, bool hugePages);
// A block for a slab whose start is a multiple of alignment (a power of two, at least the size of a
// pointer), so that any address inside it finds the slab's head by masking; hugePages as for
// allocateChunk. Null when memory runs out (also under the test switch).
void* allocateAlignedChunk(size_t bytes, size_t alignment, bool hugePages);
// Frees a block of allocateChunk or allocateAlignedChunk.
void releaseChunk(void* block);
// Tests: makes the countdown-th next reallocate or allocateChunk fail (1 = the next one); 0 switches it off.
void failAllocationAfter(long countdown);

}  // namespace Nuvora

#endif
