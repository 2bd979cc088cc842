// Raw memory for the geometry tables, with a failure switch so tests can exhaust memory.
#ifndef NUVORA_MEMORY_H
#define NUVORA_MEMORY_H

#include <cstddef>

namespace Nuvora {

// Grows or allocates a block like realloc; null (old block untouched) when memory runs out.
void* reallocate(void* block, size_t bytes);
// Frees a block of reallocate.
void release(void* block);
// Tests: makes the countdown-th next reallocate fail (1 = the next one); 0 switches it off.
void failAllocationAfter(long countdown);

}  // namespace Nuvora

#endif
