// Generated lines through the tape highlighter: every byte and pair of bytes and seeded random
// lines, from every range it can leave a line in; and the minus-line rule checked against its
// plain statement on lines built from the characters that matter to it.

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "highlight/syn_nvx.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::Escaped;
using testing::ScanLine;
using testing::SweepHighlighter;
using testing::SweepOptions;

SweepOptions NvxSweepOptions() {
  SweepOptions options;
  // The four ranges, plus one the scanner never produces (it must scan like 0 and pass on).
  options.states = {TSynhighNvx::kRangeNormal, TSynhighNvx::kRangeComment,
                    TSynhighNvx::kRangeMarked, TSynhighNvx::kRangeLink, 9};
  options.kind_count = TSynhighNvx::kKindCount;
  options.alphabet = "#[]-+*/^(),.0159 \t\r\n\xA0\xA0=abz_SQRT\x80\xC0\xF7\xFF";
  return options;
}

TEST(NvxSweepTest, DefaultInstance) {
  SweepHighlighter([] { return std::make_unique<TSynhighNvx>(); }, NvxSweepOptions());
}

TEST(NvxSweepTest, MainWindowInstance) {
  SweepHighlighter([] { return MakeMainWindowNvx(); }, NvxSweepOptions());
}

TEST(NvxSweepTest, WithVariableLists) {
  SweepHighlighter(
      [] {
        auto nvx = std::make_unique<TSynhighNvx>();
        nvx->LocalVariables() = {"a", "b1", "zz"};
        nvx->GlobalVariables() = {"a", "sqrt", "\xC0"};
        return nvx;
      },
      NvxSweepOptions());
}

// The rule as stated: strip bytes 0..32 from both ends of the whole line; a minus line is at
// least two bytes long, starts with "-" and has no "-" second.
bool MinusLineAsStated(const std::string& line) {
  std::string stripped = line;
  while (!stripped.empty() && static_cast<unsigned char>(stripped.back()) <= ' ') {
    stripped.pop_back();
  }
  size_t lead = 0;
  while (lead < stripped.size() && static_cast<unsigned char>(stripped[lead]) <= ' ') ++lead;
  stripped.erase(0, lead);
  return stripped.size() >= 2 && stripped[0] == '-' && stripped[1] != '-';
}

TEST(NvxSweepTest, AmountsAreNegativeExactlyAsTheMinusRuleSays) {
  // Each whitespace token sets the flag from the whole line, each amount uses it up; the
  // highlighter works the line out once, which must come to the same tokens.
  const std::string alphabet = "--+ \t\x01\x1f\r\n5,.x#" + std::string("\xA0", 1);
  std::mt19937 rng(4711);
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length_of(0, 16);
  TSynhighNvx nvx;
  int negatives = 0;
  int positives = 0;
  for (int n = 0; n < 40000; ++n) {
    std::string line;
    for (int i = length_of(rng); i > 0; --i) line += alphabet[pick(rng)];
    if (n % 2 == 0) line.insert(0, n % 4 == 0 ? "-" : " -");  // minus lines need a lead
    const bool minus_line = MinusLineAsStated(line);
    for (TScanState state : {TSynhighNvx::kRangeNormal, TSynhighNvx::kRangeMarked}) {
      const auto scan = ScanLine(nvx, line, state);
      bool flag = false;
      for (const auto& t : scan.tokens) {
        if (t.kind == TSynhighNvx::kSpace) flag = minus_line;
        if (t.kind != TSynhighNvx::kNumber && t.kind != TSynhighNvx::kNegativeNumber) continue;
        ASSERT_EQ(t.kind, flag ? TSynhighNvx::kNegativeNumber : TSynhighNvx::kNumber)
            << "\"" << Escaped(line) << "\" from " << state << " at " << t.start;
        (flag ? negatives : positives) += 1;
        flag = false;
      }
    }
  }
  // The generator must reach both outcomes, or the loop above proves little.
  EXPECT_GT(negatives, 1000);
  EXPECT_GT(positives, 1000);
}

}  // namespace
}  // namespace numvex
