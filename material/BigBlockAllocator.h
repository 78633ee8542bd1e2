#pragma once
// An allocator for the walk's large geometry arrays. On Linux a block of 4 MiB or more
// is mapped on its own and offered huge pages, so that filling it takes a few dozen
// page faults rather than thousands (a fault is costly on a virtual machine); smaller
// blocks, and every block elsewhere, come from operator new.

#include <cstddef>
#include <limits>
#include <new>

namespace tintara {

// At least `bytes`, aligned for any type; throws std::bad_alloc.
void* AllocateBigBlock(std::size_t bytes);
// `bytes` as given to the AllocateBigBlock call that returned `block`.
void FreeBigBlock(void* block, std::size_t bytes) noexcept;

template <class T> struct BigBlockAllocator {
    using value_type = T;

    BigBlockAllocator() = default;
    template <class U> BigBlockAllocator(const BigBlockAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(AllocateBigBlock(n * sizeof(T)));
    }
    void deallocate(T* block, std::size_t n) noexcept { FreeBigBlock(block, n * sizeof(T)); }

    template <class U>
    friend bool operator==(const BigBlockAllocator&, const BigBlockAllocator<U>&) {
        return true;
    }
};

} // namespace tintara
