// Vectors for the large buffers of a time (the field, its factors, the row
// texts), placed on 2 MB pages where the system allows: first touching memory
// in 4 KB pages costs more than computing a whole time on a new process.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace kavrin {

// Memory of at least kLargeBufferBytes comes from its own mapping, aligned
// and rounded up to 2 MB and marked for huge pages; smaller requests come
// from the ordinary heap.
void* AllocateLargeBuffer(std::size_t bytes);
void FreeLargeBuffer(void* memory, std::size_t bytes) noexcept;
inline constexpr std::size_t kLargeBufferBytes = 256 * 1024;

template <class T>
struct LargeBufferAllocator {
    using value_type = T;

    LargeBufferAllocator() = default;
    template <class U>
    LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept
    {
    }

    T* allocate(std::size_t count)
    {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateLargeBuffer(count * sizeof(T)));
    }
    void deallocate(T* memory, std::size_t count) noexcept { FreeLargeBuffer(memory, count * sizeof(T)); }

    // resize() leaves new elements of a trivial type as they are: every user
    // writes each element before it reads it, so no pass of zeros is paid for.
    template <class U>
    void construct(U* element) noexcept(std::is_nothrow_default_constructible_v<U>)
    {
        ::new (static_cast<void*>(element)) U;
    }
    template <class U, class... Arguments>
    void construct(U* element, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(element)) U(std::forward<Arguments>(arguments)...);
    }

    friend bool operator==(const LargeBufferAllocator&, const LargeBufferAllocator&) { return true; }
};

template <class T>
using LargeBuffer = std::vector<T, LargeBufferAllocator<T>>;

}  // namespace kavrin
