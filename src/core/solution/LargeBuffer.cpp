#include "solution/LargeBuffer.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace kavrin {

namespace {

constexpr std::size_t kHugePage = 2 * 1024 * 1024;

std::size_t mappedBytes(std::size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* AllocateLargeBuffer(std::size_t bytes)
{
    if (bytes < kLargeBufferBytes) return ::operator new(bytes);
    if (bytes > static_cast<std::size_t>(-1) - 2 * kHugePage) throw std::bad_alloc();
    const std::size_t size = mappedBytes(bytes);
    // Map one huge page more than needed and give back the unaligned ends.
    void* mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start) ::munmap(mapped, aligned - start);
    const std::uintptr_t end = start + size + kHugePage;
    if (end > aligned + size) ::munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    // Only a hint: without huge pages the buffer works the same.
    ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

void FreeLargeBuffer(void* memory, std::size_t bytes) noexcept
{
    if (!memory) return;
    if (bytes < kLargeBufferBytes) {
        ::operator delete(memory);
        return;
    }
    ::munmap(memory, mappedBytes(bytes));
}

}  // namespace kavrin
