// Tape lines traced by hand where a plain restatement of the rules could err as the scanner does,
// the attribute each token is painted with, and name lookup.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/case_name.h"
#include "highlight/syn_nvx.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::LineCase;
using testing::NameBy;

class NvxLineTest : public ::testing::TestWithParam<LineCase> {};

// A letter a byte: Function, Identifier, linK, Comment, Marked, Number, Red (negative) number,
// Space, Other, local V(ariable), Global.
TEST_P(NvxLineTest, Tokens) {
  TSynhighNvx nvx;
  testing::ExpectLine(nvx, GetParam(), "FIKLCMNRS_OVG");
}

const std::string M = "\xA0";  // the mark byte, kept apart so no hex digit joins its escape

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, NvxLineTest, ::testing::Values(
    LineCase{"MinusLine", 0, "      -      1,234.50  rent", "SSSSSS|O|SSSSSS|RRRRRRRR|SS|IIII", 0},
    LineCase{"TwoMinusSigns", 0, "--   1.234,56", "O|O|SSS|NNNNNNNN", 0},
    LineCase{"SignGluedToAmount", 0, "-5 7", "O|N|S|R", 0},
    LineCase{"EveryAmountAfterBlanks", 0, "- 5 6", "O|S|R|S|R", 0},
    LineCase{"ControlBytesStrip", 0, "\x01-\x02 5\x1f", "S|O|SS|R|S", 0},
    LineCase{"TextBeforeMinus", 0, "a - 5", "I|S|O|S|N", 0},
    LineCase{"SignAfterBlankKeepsTheFlag", 0, "- -5", "O|S|O|R", 0},
    LineCase{"DoubledSeparators", 0, "1,,2 3..4", "N|O|O|O|S|N|O|O|O", 0},
    LineCase{"GluedToEquals", 0, "x=5", "I|O|O", 0},
    LineCase{"AfterOperators", 0, "(1*2/3+4^5)", "O|N|O|N|O|N|O|N|O|N|O", 0},
    LineCase{"CrLfIsOneToken", 0, "a\r\n\r5", "I|OO|O|O", 0},
    LineCase{"Comment", 0, "12 # [x] 5", "NN|S|CCCCCCC", 1},
    LineCase{"CommentStopsAtLineBreak", 0, "ab#a\r\nb", "II|CC|OO|I", 1},
    LineCase{"Link", 0, "[a#b] 5", "LLLLL|S|N", 0},
    LineCase{"UnclosedLink", 0, "x [open", "I|S|LLLLL", 3},
    LineCase{"LinkStopsAtLineFeed", 0, "[a\nb]", "LL|O|I|O", 3},
    LineCase{"CommentRangePassesOn", 1, "- 5", "O|S|R", 1},
    LineCase{"MarkedClosedOnItsLine", 0, M + "a #b [c" + M + " 5", "IIIIIIIII|S|N", 0},
    LineCase{"MarkedLeftOpen", 0, "a " + M + "abc", "I|S|MMMM", 2},
    LineCase{"MarkThenLineBreaks", 0, M + "\r\n", "MM|M", 2},
    LineCase{"MarkedGoesOn", 2, "def = 5", "MMMMMMM", 2},
    LineCase{"MarkedDigitsOneByOne", 2, "\t12", "M|M|M", 2},
    LineCase{"MarkedWordStopsAtTab", 2, "ab[c]d\tb", "MMMMMM|M|M", 2},
    LineCase{"MarkedClosesAtMark", 2, "abc" + M + " 5", "MMMM|S|N", 0},
    LineCase{"CommentEndsMarked", 2, "ab#c", "MM|CC", 1},
    LineCase{"LinkEndsMarked", 2, "[c] x", "LLL|S|I", 0},
    LineCase{"MarkReopensAndCloses", 2, M + "xyz" + M, "IIIII", 0}),
    NameBy<&LineCase::name>());
// clang-format on

TEST(NvxSyntaxTest, EachTokenTakesTheAttributeOfItsKind) {
  TSynhighNvx nvx;
  nvx.LocalVariables() = {"net"};
  nvx.GlobalVariables() = {"gross"};
  EXPECT_EQ(testing::AttributeNames(nvx, {"- 5 sqrt net gross x [a] #c", "7  " + M + "o"}),
            "Identifier|Space|Negative Number|Space|Function|Space|Local variable|Space|"
            "Global variable|Space|Identifier|Space|Link|Space|Comment|Number|Space|Marked Line|");
  EXPECT_EQ(nvx.NegNumberAttri()->Foreground(), clRed);  // unless the user chooses otherwise
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
  const auto scan = testing::ScanLine(nvx, c.ident + " 5", 0);
  ASSERT_EQ(scan.tokens.size(), 3u);
  EXPECT_EQ(scan.tokens[0].length, static_cast<int>(c.ident.size()));
  EXPECT_EQ(scan.tokens[0].kind, c.kind);
}

std::string Zs(char last) { return std::string(39, 'z') + last; }  // 39 * 26 + hash of `last`
// 22486740 bytes of hash 191 sum to 2^32 + 44: a 32-bit sum would wrap round into the looked-up
// range and find the equal list entry.
const std::string kHuge(22'486'740, '\xFF');

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
    NameCase{"HashOverTheLimit", {Zs('k')}, {Zs('k')}, Zs('k'), kIdn},
    NameCase{"HugeHashDoesNotWrapRound", {kHuge}, {}, kHuge, kIdn}),
    NameBy<&NameCase::name>());
// clang-format on

}  // namespace
}  // namespace numvex
