// The heap of a picture program on 2 MB pages.
#pragma once

#include <cstddef>

namespace kavrin {

// Grows the heap by `bytes` at once, marks that part for huge pages before
// anything touches it, and keeps every thread's allocations in it and every
// freed block there for reuse. A map touches some 15 MB of fresh memory (the
// results file's values, the grid, the contour tables, the picture and its
// encoding); in 4 KB pages each first touch is a page fault that costs more
// than the drawing itself. Only a hint: without huge pages, or when the heap
// cannot grow in place, allocation works as before.
void UseHugePageHeap(std::size_t bytes);

}  // namespace kavrin
