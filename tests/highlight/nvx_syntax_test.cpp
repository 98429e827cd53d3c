// How the tape highlighter splits lines: amounts and minus lines, digits glued to other
// characters, comments, links, and marked stretches that run on over several lines.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "highlight/syn_nvx.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::Escaped;
using testing::ScanLine;
using testing::ScanLines;
using testing::TextKinds;
using TextKindList = std::vector<std::pair<std::string, int>>;

constexpr int kFun = TSynhighNvx::kFunction;
constexpr int kIdn = TSynhighNvx::kIdentifier;
constexpr int kLnk = TSynhighNvx::kLink;
constexpr int kCom = TSynhighNvx::kComment;
constexpr int kMrk = TSynhighNvx::kMarked;
constexpr int kNum = TSynhighNvx::kNumber;
constexpr int kNeg = TSynhighNvx::kNegativeNumber;
constexpr int kSpc = TSynhighNvx::kSpace;
constexpr int kOth = TSynhighNvx::kOther;

constexpr TScanState kNormal = TSynhighNvx::kRangeNormal;
constexpr TScanState kAfterComment = TSynhighNvx::kRangeComment;
constexpr TScanState kInMarked = TSynhighNvx::kRangeMarked;
constexpr TScanState kInLink = TSynhighNvx::kRangeLink;

// The mark byte; kept apart from the text so that no following letter a..f joins its escape.
const std::string M = "\xA0";

struct LineCase {
  const char* name;
  std::string line;
  TScanState start;
  TextKindList tokens;
  TScanState end;
};

std::ostream& operator<<(std::ostream& os, const LineCase& c) {
  return os << c.name << " \"" << Escaped(c.line) << "\" from " << c.start;
}

class NvxLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(NvxLineTest, Tokens) {
  const LineCase& c = GetParam();
  TSynhighNvx nvx;
  const auto scan = ScanLine(nvx, c.line, c.start);
  ASSERT_TRUE(scan.ended);
  EXPECT_EQ(TextKinds(scan), c.tokens);
  EXPECT_EQ(scan.end_state, c.end);
}

std::string CaseName(const ::testing::TestParamInfo<LineCase>& info) { return info.param.name; }

// Amounts, and which of them a minus line turns negative.
INSTANTIATE_TEST_SUITE_P(
    Amounts, NvxLineTest,
    ::testing::Values(
        LineCase{"MinusBlanksAmount",
                 "-   1.234,56",
                 kNormal,
                 {{"-", kOth}, {"   ", kSpc}, {"1.234,56", kNeg}},
                 kNormal},
        LineCase{"TwoMinusSigns",
                 "--   1.234,56",
                 kNormal,
                 {{"-", kOth}, {"-", kOth}, {"   ", kSpc}, {"1.234,56", kNum}},
                 kNormal},
        LineCase{"PlusLine",
                 "+   1.234,56",
                 kNormal,
                 {{"+", kOth}, {"   ", kSpc}, {"1.234,56", kNum}},
                 kNormal},
        LineCase{"CanonicalMinusLine",
                 "      -      1,234.50  rent",
                 kNormal,
                 {{"      ", kSpc},
                  {"-", kOth},
                  {"      ", kSpc},
                  {"1,234.50", kNeg},
                  {"  ", kSpc},
                  {"rent", kIdn}},
                 kNormal},
        LineCase{"CanonicalPlusLine",
                 "      +      1,234.50  rent",
                 kNormal,
                 {{"      ", kSpc},
                  {"+", kOth},
                  {"      ", kSpc},
                  {"1,234.50", kNum},
                  {"  ", kSpc},
                  {"rent", kIdn}},
                 kNormal},
        // The flag is only set by a whitespace token, and each amount uses it up.
        LineCase{"SignGluedToAmount",
                 "-5 7",
                 kNormal,
                 {{"-", kOth}, {"5", kNum}, {" ", kSpc}, {"7", kNeg}},
                 kNormal},
        LineCase{"EveryAmountAfterBlanks",
                 "- 5 6",
                 kNormal,
                 {{"-", kOth}, {" ", kSpc}, {"5", kNeg}, {" ", kSpc}, {"6", kNeg}},
                 kNormal},
        // Control bytes count as blanks when the line is stripped.
        LineCase{"ControlBytesAroundMinusLine",
                 "\x01-\x02 5\x1f",
                 kNormal,
                 {{"\x01", kSpc}, {"-", kOth}, {"\x02 ", kSpc}, {"5", kNeg}, {"\x1f", kSpc}},
                 kNormal},
        LineCase{"MinusThenMinusAmount",
                 "- -5",
                 kNormal,
                 {{"-", kOth}, {" ", kSpc}, {"-", kOth}, {"5", kNeg}},
                 kNormal},
        LineCase{
            "TabAfterMinus", "-\t 5", kNormal, {{"-", kOth}, {"\t ", kSpc}, {"5", kNeg}}, kNormal},
        LineCase{"TextBeforeMinus",
                 "a - 5",
                 kNormal,
                 {{"a", kIdn}, {" ", kSpc}, {"-", kOth}, {" ", kSpc}, {"5", kNum}},
                 kNormal},
        LineCase{"DoubledSeparatorsSplit",
                 "1,,2 3..4",
                 kNormal,
                 {{"1", kNum},
                  {",", kOth},
                  {",", kOth},
                  {"2", kOth},
                  {" ", kSpc},
                  {"3", kNum},
                  {".", kOth},
                  {".", kOth},
                  {"4", kOth}},
                 kNormal},
        LineCase{"TrailingSeparatorBelongsToAmount", "12.", kNormal, {{"12.", kNum}}, kNormal},
        LineCase{"DigitsThenWord", "12ab", kNormal, {{"12", kNum}, {"ab", kIdn}}, kNormal},
        LineCase{"WordWithDigits", "ab12", kNormal, {{"ab12", kIdn}}, kNormal}),
    CaseName);

// A digit glued to anything but a blank or an arithmetic sign stands alone and plain.
INSTANTIATE_TEST_SUITE_P(
    GluedDigits, NvxLineTest,
    ::testing::Values(
        LineCase{"AfterEquals", "x=5", kNormal, {{"x", kIdn}, {"=", kOth}, {"5", kOth}}, kNormal},
        LineCase{"InParentheses", "(5)", kNormal, {{"(", kOth}, {"5", kNum}, {")", kOth}}, kNormal},
        LineCase{"AfterTab", "\t55", kNormal, {{"\t", kSpc}, {"5", kOth}, {"5", kOth}}, kNormal},
        LineCase{"AfterCaret", "5^2", kNormal, {{"5", kNum}, {"^", kOth}, {"2", kNum}}, kNormal},
        LineCase{"AfterOperators",
                 "1*2/3+4",
                 kNormal,
                 {{"1", kNum},
                  {"*", kOth},
                  {"2", kNum},
                  {"/", kOth},
                  {"3", kNum},
                  {"+", kOth},
                  {"4", kNum}},
                 kNormal},
        // Byte 247 is a letter to the scanner, and digits go on a word.
        LineCase{"DivisionSignStartsAWord",
                 "8\xF7"
                 "2",
                 kNormal,
                 {{"8", kNum},
                  {"\xF7"
                   "2",
                   kIdn}},
                 kNormal},
        LineCase{"AfterLineFeed", "\n5", kNormal, {{"\n", kOth}, {"5", kOth}}, kNormal},
        LineCase{"CrLfIsOneToken",
                 "a\r\n\r5",
                 kNormal,
                 {{"a", kIdn}, {"\r\n", kOth}, {"\r", kOth}, {"5", kOth}},
                 kNormal}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    CommentsAndLinks, NvxLineTest,
    ::testing::Values(
        LineCase{"CommentToEnd",
                 "12 # rent [x] 5",
                 kNormal,
                 {{"12", kNum}, {" ", kSpc}, {"# rent [x] 5", kCom}},
                 kAfterComment},
        LineCase{
            "CommentGluedToWord", "ab#c", kNormal, {{"ab", kIdn}, {"#c", kCom}}, kAfterComment},
        LineCase{"CommentStopsAtLineBreak",
                 "#a\r\nb",
                 kNormal,
                 {{"#a", kCom}, {"\r\n", kOth}, {"b", kIdn}},
                 kAfterComment},
        LineCase{"Link", "[page 2]", kNormal, {{"[page 2]", kLnk}}, kNormal},
        LineCase{"HashInsideLink",
                 "[a#b] 5",
                 kNormal,
                 {{"[a#b]", kLnk}, {" ", kSpc}, {"5", kNum}},
                 kNormal},
        LineCase{"UnclosedLink",
                 "x [open 5",
                 kNormal,
                 {{"x", kIdn}, {" ", kSpc}, {"[open 5", kLnk}},
                 kInLink},
        LineCase{"EmptyUnclosedLink", "[", kNormal, {{"[", kLnk}}, kInLink},
        LineCase{"LinkStopsAtLineFeed",
                 "[a\nb]",
                 kNormal,
                 {{"[a", kLnk}, {"\n", kOth}, {"b", kIdn}, {"]", kOth}},
                 kInLink},
        LineCase{"ClosingBracketAlone", "]", kNormal, {{"]", kOth}}, kNormal},
        // A link or comment range only travels on; the next line scans as usual.
        LineCase{
            "AfterUnclosedLink", "5 x", kInLink, {{"5", kNum}, {" ", kSpc}, {"x", kIdn}}, kInLink},
        LineCase{"AfterComment",
                 "- 5",
                 kAfterComment,
                 {{"-", kOth}, {" ", kSpc}, {"5", kNeg}},
                 kAfterComment},
        LineCase{
            "UnknownRangeScansNormally", "a 5", 7, {{"a", kIdn}, {" ", kSpc}, {"5", kNum}}, 7}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    MarkedStretches, NvxLineTest,
    ::testing::Values(
        LineCase{"ClosedOnItsLine", M + "abc" + M, kNormal, {{M + "abc" + M, kIdn}}, kNormal},
        LineCase{"OpenAtLineEnd", M + "abc", kNormal, {{M + "abc", kMrk}}, kInMarked},
        LineCase{"MarkAlone", M, kNormal, {{M, kMrk}}, kInMarked},
        LineCase{"TwoMarks", M + M, kNormal, {{M + M, kIdn}}, kNormal},
        // On its opening line a stretch takes in "#" and "[" too.
        LineCase{"OpeningLineTakesAll",
                 M + "a #b [c" + M + " 5",
                 kNormal,
                 {{M + "a #b [c" + M, kIdn}, {" ", kSpc}, {"5", kNum}},
                 kNormal},
        LineCase{"OpenedThenLineFeed",
                 M + "a\nb",
                 kNormal,
                 {{M + "a", kMrk}, {"\n", kMrk}, {"b", kMrk}},
                 kInMarked},
        LineCase{"MarkThenCarriageReturn",
                 M + "\r\n",
                 kNormal,
                 {{M + "\r", kMrk}, {"\n", kMrk}},
                 kInMarked},
        LineCase{"ContinuedAssignment", "def = 5", kInMarked, {{"def = 5", kMrk}}, kInMarked},
        LineCase{"ContinuedLineStartingWithEquals",
                 "= 5",
                 kInMarked,
                 {{"=", kOth}, {" ", kMrk}, {"5", kMrk}},
                 kInMarked},
        LineCase{"ContinuedDigitsOneByOne",
                 "\t12",
                 kInMarked,
                 {{"\t", kMrk}, {"1", kMrk}, {"2", kMrk}},
                 kInMarked},
        LineCase{"ContinuedWordStopsAtTab",
                 "a\tb",
                 kInMarked,
                 {{"a", kMrk}, {"\t", kMrk}, {"b", kMrk}},
                 kInMarked},
        LineCase{"ContinuedWordTakesBrackets", "ab[c]d", kInMarked, {{"ab[c]d", kMrk}}, kInMarked},
        LineCase{"ContinuedWordClosesAtMark",
                 "abc" + M + " 5",
                 kInMarked,
                 {{"abc" + M, kMrk}, {" ", kSpc}, {"5", kNum}},
                 kNormal},
        LineCase{
            "CommentEndsStretch", "ab#c", kInMarked, {{"ab", kMrk}, {"#c", kCom}}, kAfterComment},
        LineCase{"LinkEndsStretch",
                 "[c] x",
                 kInMarked,
                 {{"[c]", kLnk}, {" ", kSpc}, {"x", kIdn}},
                 kNormal},
        // A mark at the start of a continued line opens the stretch again rather than closing it.
        LineCase{"MarkReopens", M + "xyz", kInMarked, {{M + "xyz", kMrk}}, kInMarked},
        LineCase{
            "MarkReopensAndCloses", M + "xyz" + M, kInMarked, {{M + "xyz" + M, kIdn}}, kNormal},
        LineCase{"ContinuedCrLf", "\r\n", kInMarked, {{"\r", kMrk}, {"\n", kMrk}}, kInMarked}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(EmptyLines, NvxLineTest,
                         ::testing::Values(LineCase{"Normal", "", kNormal, {}, kNormal},
                                           LineCase{
                                               "Comment", "", kAfterComment, {}, kAfterComment},
                                           LineCase{"Marked", "", kInMarked, {}, kInMarked},
                                           LineCase{"Link", "", kInLink, {}, kInLink}),
                         CaseName);

TEST(NvxSyntaxTest, MarkedStretchRunsOverLines) {
  TSynhighNvx nvx;
  const auto scans = ScanLines(nvx, {"a " + M + "abc", "def = 5", "", "x" + M + " 5", "- 5"});
  ASSERT_EQ(scans.size(), 5u);
  EXPECT_EQ(TextKinds(scans[0]), (TextKindList{{"a", kIdn}, {" ", kSpc}, {M + "abc", kMrk}}));
  EXPECT_EQ(TextKinds(scans[1]), (TextKindList{{"def = 5", kMrk}}));
  EXPECT_EQ(TextKinds(scans[3]), (TextKindList{{"x" + M, kMrk}, {" ", kSpc}, {"5", kNum}}));
  EXPECT_EQ(TextKinds(scans[4]), (TextKindList{{"-", kOth}, {" ", kSpc}, {"5", kNeg}}));
  const std::vector<TScanState> ends = {kInMarked, kInMarked, kInMarked, kNormal, kNormal};
  for (size_t i = 0; i < ends.size(); ++i) EXPECT_EQ(scans[i].end_state, ends[i]) << i;
}

TEST(NvxSyntaxTest, NegativeFlagDoesNotLeakIntoTheNextLine) {
  // The minus line leaves the flag set after its trailing blanks; the next line starts clean.
  TSynhighNvx nvx;
  const auto scans = ScanLines(nvx, {"- 5 ", "5"});
  EXPECT_EQ(TextKinds(scans[1]), (TextKindList{{"5", kNum}}));
}

TEST(NvxSyntaxTest, ByteZeroEndsTheLine) {
  TSynhighNvx nvx;
  const std::string line("- 5\0 7 #x", 9);
  nvx.StartLine(line.data(), 1);
  std::vector<std::pair<int, int>> starts_and_kinds;
  while (!nvx.AtLineEnd()) {
    starts_and_kinds.emplace_back(nvx.TokenStart(), nvx.TokenKind());
    nvx.NextToken();
  }
  EXPECT_EQ(starts_and_kinds, (std::vector<std::pair<int, int>>{{0, kOth}, {1, kSpc}, {2, kNeg}}));
  EXPECT_EQ(nvx.TokenStart(), 3);
  EXPECT_EQ(nvx.TokenLength(), 0);
  EXPECT_EQ(nvx.TokenText(), "");
  EXPECT_EQ(nvx.ScanState(), kNormal);  // the "#" after the 0 was never seen
}

TEST(NvxSyntaxTest, EndOfLineTokenHasNoAttributeAndStays) {
  TSynhighNvx nvx;
  nvx.StartLine("ab", 4);
  EXPECT_EQ(nvx.LineNumber(), 4);
  nvx.NextToken();
  ASSERT_TRUE(nvx.AtLineEnd());
  EXPECT_EQ(nvx.TokenAttribute(), nullptr);
  nvx.NextToken();  // an editor that asks once more must not walk past the line
  EXPECT_TRUE(nvx.AtLineEnd());
  EXPECT_EQ(nvx.TokenStart(), 2);
}

TEST(NvxSyntaxTest, FunctionNamesInContext) {
  TSynhighNvx nvx;
  const auto scan = ScanLine(nvx, "      +  sqrt(16) # round", kNormal);
  EXPECT_EQ(TextKinds(scan), (TextKindList{{"      ", kSpc},
                                           {"+", kOth},
                                           {"  ", kSpc},
                                           {"sqrt", kFun},
                                           {"(", kOth},
                                           {"16", kNum},
                                           {")", kOth},
                                           {" ", kSpc},
                                           {"# round", kCom}}));
}

}  // namespace
}  // namespace numvex
