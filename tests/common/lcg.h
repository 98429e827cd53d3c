#pragma once

#include <cstdint>

namespace numvex::testing {

// A small deterministic generator, so that generated tapes are the same on every run and
// every machine (the standard distributions are not).
class Lcg {
 public:
  explicit Lcg(uint64_t seed = 0x2545F4914F6CDD1DULL) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state_ >> 33);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint64_t state_;
};

}  // namespace numvex::testing
