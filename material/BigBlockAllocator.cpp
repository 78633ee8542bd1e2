#include "BigBlockAllocator.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tintara {

#if defined(__linux__)
namespace {
constexpr std::size_t MappedBlock = std::size_t(4) << 20;
}

void* AllocateBigBlock(std::size_t bytes) {
    if (bytes < MappedBlock)
        return ::operator new(bytes);
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    // Advice only: without huge pages the block works the same, page by page.
    madvise(block, bytes, MADV_HUGEPAGE);
    return block;
}

void FreeBigBlock(void* block, std::size_t bytes) noexcept {
    if (bytes < MappedBlock)
        ::operator delete(block);
    else if (block)
        munmap(block, bytes);
}
#else
void* AllocateBigBlock(std::size_t bytes) {
    return ::operator new(bytes);
}

void FreeBigBlock(void* block, std::size_t) noexcept {
    ::operator delete(block);
}
#endif

} // namespace tintara
