#pragma once

#include <cstddef>
#include <new>

namespace numvex {

// Memory for blocks of many megabytes: a loaded document and its table of lines. On
// Linux a large block is aligned to 2 MiB and asked for in transparent huge pages, so
// that filling it costs one page fault per 2 MiB instead of one per 4 KiB; elsewhere
// it is plain heap memory. Throws std::bad_alloc when there is no memory.
void* AllocateLargeBlock(size_t bytes);
void FreeLargeBlock(void* block) noexcept;

// A standard allocator over AllocateLargeBlock, for containers that can grow large.
template <class T>
class LargeBlockAllocator {
 public:
  using value_type = T;
  LargeBlockAllocator() = default;
  template <class U>
  LargeBlockAllocator(const LargeBlockAllocator<U>& /*other*/) noexcept {}

  T* allocate(size_t n) {
    if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(AllocateLargeBlock(n * sizeof(T)));
  }
  void deallocate(T* p, size_t /*n*/) noexcept { FreeLargeBlock(p); }

  template <class U>
  bool operator==(const LargeBlockAllocator<U>& /*other*/) const noexcept {
    return true;
  }
  template <class U>
  bool operator!=(const LargeBlockAllocator<U>& /*other*/) const noexcept {
    return false;
  }
};

}  // namespace numvex
