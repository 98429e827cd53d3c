// Large blocks on transparent huge pages.
//
// The editor keeps a document's text and its styles in two blocks of about the document's
// size and fills both while the document is opened. In 4 KB pages a 100 MB document costs
// some 50,000 page faults, a third of its opening time. A block of at least kHugeBlockBytes is
// therefore marked for huge pages (2 MB) before anything touches it, which the system honours
// where transparent huge pages are enabled "always" or "madvise" (the usual default); where
// they are off the mark changes nothing.
//
// The blocks are allocated inside the editor library with the global operator new, so that is
// what this file replaces for the whole program. Memory still comes from malloc, so the
// standard operator delete (free) releases it; new[] and the nothrow forms call this one.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHugeBlockBytes = std::size_t{4} << 20;

// Marks the whole pages inside [block, block + size).
void AdviseHugePages(void* block, std::size_t size) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(block);
  const std::uintptr_t first = (start + page - 1) & ~(page - 1);
  const std::uintptr_t end = (start + size) & ~(page - 1);
  // A refusal (a kernel without huge pages) leaves ordinary pages: nothing to report.
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

}  // namespace

void* operator new(std::size_t size) {
  if (size == 0) size = 1;
  for (;;) {
    if (void* block = std::malloc(size)) {
      if (size >= kHugeBlockBytes) AdviseHugePages(block, size);
      return block;
    }
    const std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}
