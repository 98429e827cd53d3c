#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// The VmFlags line of /proc/self/smaps for the mapping that holds `address`.
std::string VmFlagsAt(const void* address) {
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    std::uintptr_t from = 0;
    std::uintptr_t to = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> from >> dash >> to && dash == '-') {
      inside = from <= at && at < to;
    } else if (inside && line.rfind("VmFlags:", 0) == 0) {
      return line;
    }
  }
  return {};
}

// Large blocks of the program (the editor's text and styles) are marked for huge pages;
// small ones are left alone.
TEST(HugePages, LargeBlocksAreMarked) {
  const std::unique_ptr<char[]> large(new char[64 << 20]);
  const std::string flags = VmFlagsAt(large.get() + (32 << 20));
  ASSERT_FALSE(flags.empty());
  EXPECT_NE(flags.find(" hg"), std::string::npos) << flags;

  const std::unique_ptr<char[]> small(new char[1 << 20]);
  EXPECT_EQ(VmFlagsAt(small.get()).find(" hg"), std::string::npos);
}

}  // namespace
