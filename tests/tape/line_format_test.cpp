// Line kinds, reading amount lines and writing them back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tape/line_kind.h"
#include "tape/tape_line.h"

namespace numvex {
namespace {

const Separators kDot{'.', ','};
const Separators kComma{',', '.'};

TEST(ClassifyLine, Kinds) {
  const std::pair<const char*, LineKind> cases[] = {
      // clang-format off
      {"", lkEmpty}, {"+", lkEmpty}, {"\xf7", lkEmpty},
      {"===", lkSeparator}, {"---", lkSeparator}, {"-=-=", lkSeparator},
      {"      ----------------", lkSeparator},
      {"==", lkSymbols}, {"--", lkSymbols}, {"+ -", lkSymbols}, {"= =", lkSymbols},
      {"- 5", lkNumber}, {"+-5", lkNumber}, {".5", lkNumber}, {"1,234.50 rent", lkNumber},
      {"5 apples", lkNumber}, {"5+", lkNumber}, {"15%", lkNumber}, {"5+ 3", lkNumber},
      {"\t*\t7", lkNumber}, {"1e5", lkNumber}, {"      +          45.00", lkNumber},
      {",5", lkText}, {"+*5", lkText}, {".,5", lkText}, {"apples 5", lkText}, {"+ - 5", lkText},
      {"5 a+.b", lkText}, {"=5", lkText},
      // clang-format on
  };
  for (const auto& [text, kind] : cases) {
    EXPECT_EQ(ClassifyLine(TrimTape(text), kDot), kind) << '"' << text << '"';
  }
}

TEST(ClassifyLine, UsesTheGivenSeparators) {
  EXPECT_EQ(ClassifyLine(",5", kComma), lkNumber);
  EXPECT_EQ(ClassifyLine("1.234,50", kComma), lkNumber);
  EXPECT_EQ(ClassifyLine(".,5", kComma), lkText);
  // A character that is both separators counts as the thousands separator.
  EXPECT_EQ(ClassifyLine(",5", Separators{',', ','}), lkText);
}

TEST(TrimTape, RemovesBlanksAndControlCharactersOnly) {
  EXPECT_EQ(TrimTape(" \t\r\x01 a b \x1f\n"), "a b");
  EXPECT_EQ(TrimTape("\xa0x\xa0"), "\xa0x\xa0");  // 160 is not a blank here
  EXPECT_EQ(TrimTapeRight("  a  "), "  a");
}

TEST(FindOperator, StopsAtFirstDigitOrOperator) {
  EXPECT_EQ(FindOperator("+ 5", true).position, 1);
  EXPECT_EQ(FindOperator("  * 5", true).op, '*');
  EXPECT_EQ(FindOperator("  * 5", true).position, 3);
  EXPECT_EQ(FindOperator("5 - 3", true).position, 0);
  EXPECT_EQ(FindOperator("\xf7 2", true).op, '\xf7');
  EXPECT_EQ(FindOperator("+ 5", false).position, 0);
  EXPECT_EQ(FindOperator("abc", true).position, 0);
}

TEST(SplitComment, FindsTheComment) {
  const struct {
    const char* text;
    int position;
    const char* comment;
  } cases[] = {
      // clang-format off
      {"5", 0, ""}, {"5 %", 2, "%"}, {"5%", 0, ""}, {"5% off", 3, "off"}, {"1e5", 0, ""},
      {"1x5", 2, "x5"}, {"12.5.3", 5, ".3"}, {"1.500,00", 6, ",00"}, {"1,234.50  rent", 9, "rent"},
      {"1e+5", 2, "e+5"}, {"-5 apples", 3, "apples"}, {"+12 apples", 4, "apples"}, {"5e", 2, "e"},
      {"", 0, ""},
      // clang-format on
  };
  for (const auto& c : cases) {
    CommentPos got = SplitComment(c.text, kDot);
    EXPECT_EQ(got.position, c.position) << c.text;
    EXPECT_EQ(got.comment, c.comment) << c.text;
  }
}

TEST(ReadEntry, ReadsOperatorAmountAndComment) {
  using E = EntryOp;
  const struct {
    const char* text;
    char op;
    bool percent;
    long double amount;
    const char* comment;
    EntryOp operation;
  } cases[] = {
      // clang-format off
      {"45", 0, false, 45, "", E::Add},
      {"+ 12 apples", '+', false, 12, "apples", E::Add},
      {"- 19%", '-', true, 19, "", E::SubtractPercent},
      {"19%", 0, true, 19, "", E::MultiplyPercent},
      {"+ 10%", '+', true, 10, "", E::AddPercent},
      {"* 4", '*', false, 4, "", E::Multiply},
      {"* 50%", '*', true, 50, "", E::MultiplyPercent},
      {"/ 0", '/', false, 0, "", E::Divide},
      {"\xf7 8%", '\xf7', true, 8, "", E::DividePercent},
      {".5", 0, false, 0.5L, "", E::Add},
      {"5+", 0, false, 5, "", E::Add},
      {"+-5", '+', false, -5, "", E::Add},
      {"1,234.50  rent", 0, false, 1234.5L, "rent", E::Add},
      {"1e5", 0, false, 100000, "", E::Add},
      {"1x5", 0, false, 1, "x5", E::Add},
      {"12.5.3", 0, false, 12.5L, ".3", E::Add},
      {"5 %", 0, false, 5, "%", E::Add},
      {"1e99999", 0, false, 0, "", E::Add},  // unrepresentable counts as 0
      {"- 1,2,3", '-', false, 123, "", E::Subtract},
      // clang-format on
  };
  for (const auto& c : cases) {
    TapeEntry e = ReadEntry(c.text, kDot, true);
    EXPECT_EQ(e.op, c.op) << c.text;
    EXPECT_EQ(e.percent, c.percent) << c.text;
    EXPECT_EQ(e.amount, c.amount) << c.text;
    EXPECT_EQ(e.comment, c.comment) << c.text;
    EXPECT_EQ(e.operation, c.operation) << c.text;
  }
}

TEST(ReadEntry, OutsideCalcModeThereIsNoOperator) {
  TapeEntry e = ReadEntry("- 5", kDot, false);
  EXPECT_EQ(e.op, 0);
  EXPECT_EQ(e.amount, 0);  // "- 5" is no amount without its operator
}

TEST(FormatTapeLine, CanonicalLayout) {
  const struct {
    char op;
    bool percent;
    long double amount;
    const char* comment;
    bool rounded;
    int decimals;
    const char* line;
  } cases[] = {
      // clang-format off
      {'+', false, 1234.5L, "", false, 2, "      +       1,234.50"},
      {'-', true, 19, "", false, 2, "      -          19.00%"},
      {0, false, 150, "rent", false, 2, "      +         150.00  rent"},
      {0, false, -150, "", false, 2, "      -         150.00"},
      {'+', false, -5, "", false, 2, "      +          -5.00"},
      {'+', false, 12, "apples", false, 2, "      +          12.00  apples"},
      {'+', false, 1234, "", false, 0, "      +       1,234."},
      {'+', false, 1234567890.5L, "", false, 2, "      +1,234,567,890.50"},
      {'+', false, 0.123456789123L, "", false, 2, "      +           0.123456789"},
      {'+', false, 4e-10L, "", false, 2, "      +           0.00"},
      {'+', false, 6e-10L, "", false, 2, "      +           0.000000001"},
      {'+', false, 1.5L, "", false, 0, "      +           1.5"},
      {'+', false, 2, "", false, 9, "      +           2.000000000"},
      {'+', false, 1e15L, "", false, 2, "      +        1E15"},
      {'+', false, 1.5e20L, "", false, 2, "      +           1.5E20"},
      {'+', false, 999999999999999.9L, "", false, 2, "      +        1E15"},
      {'+', false, 123456789012345.0L, "", false, 2, "      +123,456,789,012,345.00"},
      {'+', false, 0.1L + 0.2L, "", false, 2, "      +           0.30"},
      {0, false, 0.125L, "", true, 2, "      +           0.13"},
      {0, false, -0.125L, "", true, 2, "      -           0.13"},
      {0, false, 2.5L, "", true, 0, "      +           3"},
      {0, false, 1234567.891L, "", true, 2, "      +   1,234,567.89"},
      {0, false, 1e17L, "", true, 1, "      +100,000,000,000,000,000.0"},
      {0, false, 1e19L, "", true, 2, "      +        1E19"},
      {'/', false, 0, "", false, 2, "      /           0.00"},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::string out;
    FormatTapeLine(c.op, c.percent, c.amount, c.comment, c.rounded, c.decimals, kDot, &out);
    EXPECT_EQ(out, c.line);
  }
}

TEST(FormatTapeLine, ReportsDivisionByZeroOnlyForDividingZero) {
  std::string out;
  EXPECT_TRUE(FormatTapeLine('/', false, 0, "", false, 2, kDot, &out).division_by_zero);
  EXPECT_TRUE(FormatTapeLine('\xf7', true, 0, "", false, 2, kDot, &out).division_by_zero);
  EXPECT_FALSE(FormatTapeLine('/', false, 1, "", false, 2, kDot, &out).division_by_zero);
  // An amount written as 0 (below the last of nine decimals) divides by zero as well.
  EXPECT_TRUE(FormatTapeLine('/', false, 2e-12L, "", false, 2, kDot, &out).division_by_zero);
  EXPECT_FALSE(FormatTapeLine('*', false, 0, "", false, 2, kDot, &out).division_by_zero);
  EXPECT_FALSE(FormatTapeLine(0, false, 0, "", false, 2, kDot, &out).division_by_zero);
}

TEST(FormatTapeLine, OverflowIsAnAmountLineThatSaysSo) {
  std::string out;
  FormattedLine f = FormatTapeLine(0, false, std::numeric_limits<long double>::infinity(), "total",
                                   false, 2, kDot, &out);
  EXPECT_EQ(out, "      +           0.00  Overflow total");
  EXPECT_EQ(f.canonical, 0);
  EXPECT_EQ(ClassifyLine(TrimTape(out), kDot), lkNumber);
  // Formatting the same result over its own comment does not repeat the mark.
  std::string again;
  FormatTapeLine(0, false, std::numeric_limits<long double>::infinity(), "Overflow total", false, 2,
                 kDot, &again);
  EXPECT_EQ(again, out);
  FormatTapeLine(0, false, -std::numeric_limits<long double>::infinity(), "", false, 2, kDot, &out);
  EXPECT_EQ(out, "      -           0.00  Overflow");
  FormatTapeLine(0, false, std::numeric_limits<long double>::quiet_NaN(), "", true, 2, kDot, &out);
  EXPECT_EQ(out, "      +           0.00  Overflow");
}

TEST(StripOverflowMark, OnlyTheWholeWord) {
  EXPECT_EQ(StripOverflowMark("Overflow"), "");
  EXPECT_EQ(StripOverflowMark("Overflow  rent"), "rent");
  EXPECT_EQ(StripOverflowMark("Overflowing"), "Overflowing");
  EXPECT_EQ(StripOverflowMark("rent"), "rent");
}

}  // namespace
}  // namespace numvex
