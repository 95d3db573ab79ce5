#include "HugePageHeap.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace kavrin {

namespace {

constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;

}  // namespace

void UseHugePageHeap(std::size_t bytes)
{
    // One heap for all threads, every block from it (the largest the
    // allocator allows to come from the heap) and nothing given back while
    // the program runs: a freed buffer's pages serve the next one.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(bytes) * 2);
    mallopt(M_TOP_PAD, static_cast<int>(bytes));
    const auto before = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    // A block larger than the heap's free top makes it grow by the pad too
    // (kept in a volatile so that the compiler does not drop the pair).
    void* volatile block = std::malloc(kHugePage);
    std::free(block);
    const auto after = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    const std::uintptr_t first = (before + kHugePage - 1) / kHugePage * kHugePage;
    const std::uintptr_t last = after / kHugePage * kHugePage;
    if (after <= before || last <= first) return;
    ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    // The free top of the heap starts in the 2 MB block it already used in
    // small pages; a block kept there for good makes the next ones start on
    // huge pages. Never written, it costs no memory.
    const std::uintptr_t top = after - mallinfo2().keepcost;
    if (top < first) {
        void* volatile filler = std::malloc(first - top);
        (void)filler;
    }
}

}  // namespace kavrin
