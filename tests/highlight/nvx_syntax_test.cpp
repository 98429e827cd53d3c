// Tape lines traced by hand: the rules a plain restatement could misread the same way as the
// scanner (minus lines, glued digits, separators, marked stretches, ranges passed on), the
// attribute each token is painted with, and name lookup.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/case_name.h"
#include "highlight/syn_nvx.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::NameBy;
using testing::ScanLine;

struct LineCase {
  const char* name;
  std::string line;
  TScanState from;
  const char* drawn;  // a letter a byte: Function, Identifier, linK, Comment, Marked, Number,
                      // Red (negative) number, Space, Other, local V(ariable), Global
  TScanState to;
};

class NvxLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(NvxLineTest, Tokens) {
  const LineCase& c = GetParam();
  TSynhighNvx nvx;
  const auto scan = ScanLine(nvx, c.line, c.from);
  EXPECT_EQ(testing::Drawn(scan, "FIKLCMNRS_OVG"), c.drawn) << ::testing::PrintToString(c.line);
  EXPECT_EQ(scan.end_state, c.to);
}

const std::string M = "\xA0";  // the mark byte, kept apart so no hex digit joins its escape

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, NvxLineTest, ::testing::Values(
    LineCase{"MinusLine", "      -      1,234.50  rent", 0, "SSSSSS|O|SSSSSS|RRRRRRRR|SS|IIII", 0},
    LineCase{"TwoMinusSigns", "--   1.234,56", 0, "O|O|SSS|NNNNNNNN", 0},
    LineCase{"SignGluedToAmount", "-5 7", 0, "O|N|S|R", 0},
    LineCase{"EveryAmountAfterBlanks", "- 5 6", 0, "O|S|R|S|R", 0},
    LineCase{"ControlBytesStrip", "\x01-\x02 5\x1f", 0, "S|O|SS|R|S", 0},
    LineCase{"TextBeforeMinus", "a - 5", 0, "I|S|O|S|N", 0},
    LineCase{"SignAfterBlankKeepsTheFlag", "- -5", 0, "O|S|O|R", 0},
    LineCase{"DoubledSeparators", "1,,2 3..4", 0, "N|O|O|O|S|N|O|O|O", 0},
    LineCase{"GluedToEquals", "x=5", 0, "I|O|O", 0},
    LineCase{"AfterOperators", "(1*2/3+4^5)", 0, "O|N|O|N|O|N|O|N|O|N|O", 0},
    LineCase{"CrLfIsOneToken", "a\r\n\r5", 0, "I|OO|O|O", 0},
    LineCase{"Comment", "12 # [x] 5", 0, "NN|S|CCCCCCC", 1},
    LineCase{"CommentStopsAtLineBreak", "ab#a\r\nb", 0, "II|CC|OO|I", 1},
    LineCase{"Link", "[a#b] 5", 0, "LLLLL|S|N", 0},
    LineCase{"UnclosedLink", "x [open", 0, "I|S|LLLLL", 3},
    LineCase{"LinkStopsAtLineFeed", "[a\nb]", 0, "LL|O|I|O", 3},
    LineCase{"CommentRangePassesOn", "- 5", 1, "O|S|R", 1},
    LineCase{"MarkedClosedOnItsLine", M + "a #b [c" + M + " 5", 0, "IIIIIIIII|S|N", 0},
    LineCase{"MarkedLeftOpen", "a " + M + "abc", 0, "I|S|MMMM", 2},
    LineCase{"MarkThenLineBreaks", M + "\r\n", 0, "MM|M", 2},
    LineCase{"MarkedGoesOn", "def = 5", 2, "MMMMMMM", 2},
    LineCase{"MarkedDigitsOneByOne", "\t12", 2, "M|M|M", 2},
    LineCase{"MarkedWordStopsAtTab", "ab[c]d\tb", 2, "MMMMMM|M|M", 2},
    LineCase{"MarkedClosesAtMark", "abc" + M + " 5", 2, "MMMM|S|N", 0},
    LineCase{"CommentEndsMarked", "ab#c", 2, "MM|CC", 1},
    LineCase{"LinkEndsMarked", "[c] x", 2, "LLL|S|I", 0},
    LineCase{"MarkReopensAndCloses", M + "xyz" + M, 2, "IIIII", 0}),
    NameBy<&LineCase::name>());
// clang-format on

// The attribute each kind of token is painted with, and the end of the line, which has none and
// stays put when asked for one more token.
TEST(NvxSyntaxTest, EachTokenTakesTheAttributeOfItsKind) {
  TSynhighNvx nvx;
  nvx.LocalVariables() = {"net"};
  nvx.GlobalVariables() = {"gross"};
  std::vector<std::string> names;
  for (const std::string& line : {std::string("- 5 sqrt net gross x [a] #c"), "7  " + M + "o"}) {
    nvx.ResetScanState();
    for (nvx.StartLine(line.c_str(), 1); !nvx.AtLineEnd(); nvx.NextToken()) {
      names.push_back(nvx.TokenAttribute()->Name());
    }
    EXPECT_EQ(nvx.TokenAttribute(), nullptr);
    nvx.NextToken();
    EXPECT_TRUE(nvx.AtLineEnd());
    EXPECT_EQ(nvx.TokenStart(), static_cast<int>(line.size()));
  }
  EXPECT_EQ(names, (std::vector<std::string>{
                       "Identifier", "Space", "Negative Number", "Space", "Function", "Space",
                       "Local variable", "Space", "Global variable", "Space", "Identifier", "Space",
                       "Link", "Space", "Comment", "Number", "Space", "Marked Line"}));
  // Negative amounts show red unless the user chooses otherwise.
  EXPECT_EQ(nvx.NegNumberAttri()->Foreground(), clRed);
}

struct NameCase {
  const char* name;
  std::vector<std::string> locals;
  std::vector<std::string> globals;
  std::string ident;
  int kind;
};

class NvxNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(NvxNameTest, Kind) {
  const NameCase& c = GetParam();
  TSynhighNvx nvx;
  nvx.LocalVariables() = c.locals;
  nvx.GlobalVariables() = c.globals;
  const auto scan = ScanLine(nvx, c.ident + " 5", 0);
  ASSERT_EQ(scan.tokens.size(), 3u);
  EXPECT_EQ(scan.tokens[0].length, static_cast<int>(c.ident.size()));
  EXPECT_EQ(scan.tokens[0].kind, c.kind);
}

std::string Zs(char last) { return std::string(39, 'z') + last; }  // 39 * 26 + hash of `last`

enum : int { kFun = TSynhighNvx::kFunction, kIdn, kLoc = TSynhighNvx::kLocalVariable, kGlo };

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, NvxNameTest, ::testing::Values(
    NameCase{"FunctionAnyCase", {}, {}, "SqRt", kFun},
    NameCase{"FunctionWithDigit", {}, {}, "sqrt2", kIdn},
    NameCase{"PrefixOfFunction", {}, {}, "trun", kIdn},
    NameCase{"FunctionBeforeLocal", {"sin"}, {}, "Sin", kFun},
    NameCase{"LocalBeforeGlobal", {"x"}, {"x"}, "X", kLoc},
    NameCase{"Global", {"net"}, {"total"}, "Total", kGlo},
    NameCase{"DigitsMatchEachOther", {"r1"}, {}, "r9", kLoc},
    NameCase{"UnderscoreIsNoDigit", {"r1"}, {}, "r_", kIdn},
    NameCase{"AccentsKeepTheirCase", {"\xE9t\xE9"}, {}, "\xC9t\xC9", kIdn},
    NameCase{"HashAtTheLimit", {Zs('j')}, {}, Zs('j'), kLoc},
    NameCase{"HashOverTheLimit", {Zs('k')}, {Zs('k')}, Zs('k'), kIdn}),
    NameBy<&NameCase::name>());
// clang-format on

TEST(NvxSyntaxTest, HashOfAHugeIdentifierDoesNotWrapRound) {
  // 22486740 bytes of hash 191 sum to 2^32 + 44: a 32-bit sum would wrap round into the
  // looked-up range and find the equal list entry.
  TSynhighNvx nvx;
  const std::string huge(22'486'740, '\xFF');
  nvx.LocalVariables() = {huge};
  const auto scan = ScanLine(nvx, huge, 0);
  ASSERT_EQ(scan.tokens.size(), 1u);
  EXPECT_EQ(scan.tokens[0].kind, kIdn);
}

}  // namespace
}  // namespace numvex
