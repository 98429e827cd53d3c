#pragma once

// What every fuzz target shares: a check that stops the run (libFuzzer then saves the input
// as a crash) and a reader that takes the target's choices from the input bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(cond)                                                               \
  do {                                                                                 \
    if (!(cond)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)

namespace numvex::fuzz {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Empty() const { return pos_ >= size_; }
  // The next byte, 0 once the input is used up.
  uint8_t Take() { return pos_ < size_ ? data_[pos_++] : 0; }
  // A number from 0 to n - 1 (n > 0).
  unsigned Below(unsigned n) { return Take() % n; }
  uint64_t TakeU64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | Take();
    return v;
  }
  // Everything not taken yet.
  std::string_view Rest() {
    std::string_view rest(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
    pos_ = size_;
    return rest;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace numvex::fuzz
