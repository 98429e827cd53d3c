#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace numvex::testing {

// The name of a case of a parameterized test: its index, then its text with everything
// but letters and digits as "_", so that ctest lists readable and unique names.
inline std::string CaseName(size_t index, std::string_view text) {
  std::string name = std::to_string(index) + "_";
  for (char c : text.substr(0, 40)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    name.push_back(plain ? c : '_');
  }
  return name;
}

// For INSTANTIATE_TEST_SUITE_P: names each case by one of its text fields,
// e.g. NameBy<&KindCase::text>().
template <auto kField>
struct NameBy {
  template <typename Param>
  std::string operator()(const ::testing::TestParamInfo<Param>& info) const {
    return CaseName(info.index, std::string_view(info.param.*kField));
  }
};

}  // namespace numvex::testing
