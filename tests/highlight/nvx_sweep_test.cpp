// Every byte, every pair of bytes and seeded random lines through the tape highlighter, from
// every range, in the set-ups the program uses.

#include <gtest/gtest.h>

#include <memory>

#include "highlight/syn_nvx.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::SweepHighlighter;

const testing::SweepOptions kOptions = {
    // The four ranges, and one the scanner never leaves (it must scan like 0 and pass it on).
    {0, 1, 2, 3, 9},
    TSynhighNvx::kKindCount,
    "#[]-+*/^(),.0159 \t\r\n\xA0\xA0=abz_SQRT\x80\xC0\xF7\xFF"};

TEST(NvxSweepTest, DefaultInstance) {
  SweepHighlighter([] { return std::make_unique<TSynhighNvx>(); }, kOptions);
}

TEST(NvxSweepTest, MainWindowInstance) { SweepHighlighter(MakeMainWindowNvx, kOptions); }

TEST(NvxSweepTest, WithVariableLists) {
  SweepHighlighter(
      [] {
        auto nvx = std::make_unique<TSynhighNvx>();
        nvx->LocalVariables() = {"a", "b1", "zz"};
        nvx->GlobalVariables() = {"a", "sqrt", "\xC0"};
        return nvx;
      },
      kOptions);
}

}  // namespace
}  // namespace numvex
