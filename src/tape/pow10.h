#pragma once

#include <array>
#include <cstdint>

namespace numvex {

// 10^0 .. 10^19: every power of ten an unsigned 64-bit integer holds.
inline constexpr std::array<uint64_t, 20> kPow10U64 = [] {
  std::array<uint64_t, 20> powers{};
  uint64_t p = 1;
  for (auto& power : powers) {
    power = p;
    p *= 10;
  }
  return powers;
}();

}  // namespace numvex
