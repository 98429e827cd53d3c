// Scanning must not allocate: the editor repaints line after line while the user types, and
// only `TokenText` builds a string. This file counts every allocation of the test program,
// which is why the replacement operators live here and nowhere else.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "highlight/syn_nvx.h"

namespace {
long g_allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace numvex {
namespace {

TEST(NvxAllocationTest, ScanningAllocatesNothing) {
  TSynhighNvx nvx;
  nvx.LocalVariables() = {"net", "vat"};
  nvx.GlobalVariables() = {"total"};
  const std::string mark = "\xA0";
  const std::vector<std::string> lines = {"      -      1,234.50  rent",
                                          "      =============",
                                          "             1,234.50",
                                          "sqrt(16) net VAT total x=5 # note",
                                          "[notepad.exe notes.txt]",
                                          "[open",
                                          mark + "marked" + mark + " and " + mark + "open",
                                          "def = 5\t# more",
                                          "\r\n\x01\x80\xC0\xF7\xFF",
                                          std::string(5000, 'z'),
                                          ""};
  long kinds = 0;
  TScanState state = 0;
  const long before = g_allocations;
  nvx.ResetScanState();
  for (int round = 0; round < 3; ++round) {
    for (const std::string& line : lines) {
      nvx.SetScanState(state);
      nvx.StartLine(line.c_str(), 1);
      for (; !nvx.AtLineEnd(); nvx.NextToken()) {
        kinds += nvx.TokenKind() + nvx.TokenStart() + nvx.TokenLength();
        if (nvx.TokenAttribute() == nullptr) ++kinds;
      }
      state = nvx.ScanState();
    }
  }
  const long during = g_allocations - before;
  EXPECT_EQ(during, 0);
  EXPECT_GT(kinds, 0);
  // The counter itself works: TokenText does allocate for a long token.
  nvx.StartLine(lines[9].c_str(), 1);
  const long at = g_allocations;
  EXPECT_EQ(nvx.TokenText().size(), 5000u);
  EXPECT_GT(g_allocations, at);
}

}  // namespace
}  // namespace numvex
