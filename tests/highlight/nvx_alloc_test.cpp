// Scanning must not allocate (the editor rescans while the user types); only `TokenText` builds a
// string. The counting operators below count every allocation of the test program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

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
  const std::string lines[] = {std::string(5000, 'z'),
                               "      -      1,234.50  rent",
                               "sqrt(16) net VAT total x=5 # note  =====",
                               "[notes.txt] [open",
                               "\xA0marked\xA0 and \xA0open",
                               "def = 5\t# more",
                               "\r\n\x01\x80\xC0\xF7\xFF",
                               ""};
  long sum = 0;
  const long before = g_allocations;
  for (int round = 0; round < 3; ++round) {
    for (const std::string& line : lines) {
      for (nvx.StartLine(line.c_str(), 1); !nvx.AtLineEnd(); nvx.NextToken()) {
        sum += nvx.TokenKind() + nvx.TokenStart() + nvx.TokenLength() +
               (nvx.TokenAttribute() != nullptr);
      }
      nvx.SetScanState(nvx.ScanState());
    }
  }
  EXPECT_EQ(g_allocations - before, 0);
  EXPECT_GT(sum, 0);
  // The counter itself works: TokenText does allocate for a long token.
  nvx.StartLine(lines[0].c_str(), 1);
  const long at = g_allocations;
  EXPECT_EQ(nvx.TokenText().size(), 5000u);
  EXPECT_GT(g_allocations, at);
}

}  // namespace
}  // namespace numvex
