// The robustness sweep: the report-syntax highlighter must pass it, and the sweep must notice a
// highlighter that stalls, leaves gaps, yields empty tokens or depends on its history.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "highlight/syn_zel_rep.h"
#include "scan_helpers.h"
#include "toy_highlighter.h"

namespace numvex {
namespace {

using testing::SweepHighlighter;
using testing::SweepOptions;
using testing::ToyHighlighter;

SweepOptions ReportSweepOptions() {
  SweepOptions options;
  // Base with a few open parentheses, the error state and the counts an "(" makes from it, and
  // all of those inside a block comment.
  for (TScanState s : {0, 1, 2, 10000, 10001, 10002, 10007}) {
    options.states.push_back(s);
    options.states.push_back(s + TzelRepSyn::kRangeComment);
  }
  options.kind_count = TzelRepSyn::kKindCount;
  options.alphabet = "/*()#;\"\\,.09az_= \t\r\n-\x80\xFF";
  return options;
}

TEST(SweepTest, ReportSyntaxHighlighterPasses) {
  SweepHighlighter([] { return std::make_unique<TzelRepSyn>(); }, ReportSweepOptions());
}

TEST(SweepTest, ReportSyntaxNeverScansAReservedWord) {
  // The keyword kind exists for the keyword role only: no identifier, whatever surrounds it,
  // may classify as one.
  TzelRepSyn syn;
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; ++b) {
      const std::string line{static_cast<char>(a), static_cast<char>(b), 'e', '_'};
      const auto scan = testing::ScanLine(syn, line, TzelRepSyn::kRangeBase);
      for (const auto& t : scan.tokens) ASSERT_NE(t.kind, TzelRepSyn::kReservedWord) << line;
    }
  }
}

SweepOptions ToySweepOptions() {
  SweepOptions options;
  options.states = {-1, 0, 3};
  options.kind_count = 4;
  options.alphabet = "()x!@1a";
  options.random_lines = 200;
  options.max_failures = 1;
  return options;
}

TEST(SweepTest, SoundToyPasses) {
  SweepHighlighter([] { return std::make_unique<ToyHighlighter>(); }, ToySweepOptions());
}

TEST(SweepTest, NoticesAStall) {
  EXPECT_NONFATAL_FAILURE(
      SweepHighlighter([] { return std::make_unique<ToyHighlighter>(ToyHighlighter::kStallOnX); },
                       ToySweepOptions()),
      "did not reach the end");
}

TEST(SweepTest, NoticesAGap) {
  EXPECT_NONFATAL_FAILURE(
      SweepHighlighter(
          [] { return std::make_unique<ToyHighlighter>(ToyHighlighter::kSkipAfterBang); },
          ToySweepOptions()),
      "the tokens cover");
}

TEST(SweepTest, NoticesAnEmptyToken) {
  EXPECT_NONFATAL_FAILURE(
      SweepHighlighter(
          [] { return std::make_unique<ToyHighlighter>(ToyHighlighter::kEmptyTokenOnAt); },
          ToySweepOptions()),
      "empty token");
}

TEST(SweepTest, NoticesHistoryDependence) {
  EXPECT_NONFATAL_FAILURE(
      SweepHighlighter(
          [] { return std::make_unique<ToyHighlighter>(ToyHighlighter::kCountsScans); },
          ToySweepOptions()),
      "a second scan gives other tokens");
}

// Each kind of broken scan, handcrafted, against the shape check the sweep runs on every line.
struct ShapeCase {
  const char* message;
  testing::LineScan scan;
};

const std::vector<ShapeCase>& BrokenShapes() {
  using testing::Token;
  static const std::vector<ShapeCase> cases = [] {
    auto scan = [](std::vector<Token> tokens, int end_start, int end_length = 0,
                   bool ended = true) {
      testing::LineScan s;
      s.tokens = std::move(tokens);
      s.end_start = end_start;
      s.end_length = end_length;
      s.ended = ended;
      return s;
    };
    // The line is "ab cd" in every case.
    return std::vector<ShapeCase>{
        {"did not reach the end", scan({{0, 2, 1, "ab"}}, -1, -1, false)},
        {"does not start at", scan({{0, 2, 1, "ab"}, {3, 2, 1, "cd"}}, 5)},
        {"does not start at", scan({{0, 3, 1, "ab "}, {2, 3, 1, " cd"}}, 5)},
        {"empty token", scan({{0, 0, 1, ""}, {0, 5, 1, "ab cd"}}, 5)},
        {"runs past the end", scan({{0, 6, 1, std::string("ab cd\0", 6)}}, 6)},
        {"TokenText of", scan({{0, 5, 1, "ab cX"}}, 5)},
        {"unknown kind", scan({{0, 5, 9, "ab cd"}}, 5)},
        {"unknown kind", scan({{0, 5, -1, "ab cd"}}, 5)},
        {"the tokens cover", scan({{0, 2, 1, "ab"}}, 5)},
        {"end-of-line token at", scan({{0, 5, 1, "ab cd"}}, 5, 1)},
    };
  }();
  return cases;
}

void CheckBrokenShape(size_t i) {
  const bool ok = testing::sweep_detail::CheckShape("ab cd", 0, BrokenShapes()[i].scan, 5);
  EXPECT_FALSE(ok);
}

TEST(SweepTest, ShapeCheckRejectsEachBrokenScan) {
  for (size_t i = 0; i < BrokenShapes().size(); ++i) {
    SCOPED_TRACE(i);
    static size_t current;
    current = i;
    EXPECT_NONFATAL_FAILURE(CheckBrokenShape(current), BrokenShapes()[current].message);
  }
}

TEST(SweepTest, ShapeCheckAcceptsATiledScan) {
  testing::LineScan good;
  good.tokens = {{0, 2, 1, "ab"}, {2, 1, 4, " "}, {3, 2, 1, "cd"}};
  good.end_start = 5;
  good.end_length = 0;
  good.ended = true;
  EXPECT_TRUE(testing::sweep_detail::CheckShape("ab cd", 0, good, 5));
}

}  // namespace
}  // namespace numvex
