#pragma once

// Seeded random text for tests and benchmarks: a seed gives the same text everywhere.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/lcg.h"

namespace numvex::testing {

class RandomText {
 public:
  explicit RandomText(std::uint32_t seed) : rng_(seed) {}

  // A number from 0 to n - 1.
  unsigned Below(unsigned n) { return rng_.Below(n); }
  bool OneIn(unsigned n) { return Below(n) == 0; }
  char OneOf(std::string_view chars) { return chars[Below(static_cast<unsigned>(chars.size()))]; }

  // From none up to `max_length` bytes, each taken from `chars`.
  std::string Run(std::string_view chars, unsigned max_length) {
    std::string run;
    for (unsigned n = Below(max_length + 1); n > 0; --n) run += OneOf(chars);
    return run;
  }

  // `length` bytes of any value but 0, which would end the line.
  std::string Bytes(unsigned length) {
    std::string bytes;
    for (unsigned i = 0; i < length; ++i) bytes += static_cast<char>(1 + Below(255));
    return bytes;
  }

 private:
  Lcg rng_;
};

}  // namespace numvex::testing
