#include "tape/large_block.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace numvex {

#ifdef __linux__

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

void* AllocateLargeBlock(size_t bytes) {
  if (bytes < kHugePage) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) throw std::bad_alloc();
    return block;
  }
  // Whole huge pages, so that the tail of the block is not left to small pages.
  size_t rounded = (bytes + kHugePage - 1) & ~(kHugePage - 1);
  if (rounded < bytes) throw std::bad_alloc();
  void* block = nullptr;
  if (posix_memalign(&block, kHugePage, rounded) != 0) throw std::bad_alloc();
  // Only advice: where the kernel has no huge page at hand it uses small ones.
  madvise(block, rounded, MADV_HUGEPAGE);
  return block;
}

#else

void* AllocateLargeBlock(size_t bytes) {
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

#endif

void FreeLargeBlock(void* block) noexcept { std::free(block); }

}  // namespace numvex
