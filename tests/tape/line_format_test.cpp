// Line kinds, reading amount lines and writing them back.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/case_name.h"
#include "tape/line_kind.h"
#include "tape/tape_line.h"

namespace numvex {
namespace {

using testing::NameBy;

const Separators kDot{'.', ','};
const Separators kComma{',', '.'};

struct KindCase {
  const char* text;
  LineKind kind;
};

class ClassifyLineTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(ClassifyLineTest, Kind) {
  EXPECT_EQ(ClassifyLine(TrimTape(GetParam().text), kDot), GetParam().kind)
      << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ClassifyLineTest,
    ::testing::Values(
        KindCase{"", lkEmpty}, KindCase{"+", lkEmpty}, KindCase{"\xf7", lkEmpty},
        KindCase{"===", lkSeparator}, KindCase{"---", lkSeparator}, KindCase{"-=-=", lkSeparator},
        KindCase{"==", lkSymbols}, KindCase{"--", lkSymbols}, KindCase{"+ -", lkSymbols},
        KindCase{"= =", lkSymbols}, KindCase{"- 5", lkNumber}, KindCase{"+-5", lkNumber},
        KindCase{".5", lkNumber}, KindCase{"1,234.50 rent", lkNumber},
        KindCase{"5 apples", lkNumber}, KindCase{"5+", lkNumber}, KindCase{"15%", lkNumber},
        KindCase{",5", lkText}, KindCase{"+*5", lkText}, KindCase{".,5", lkText},
        KindCase{"apples 5", lkText}, KindCase{"+ - 5", lkText}, KindCase{"5 a+.b", lkText},
        KindCase{"5+ 3", lkNumber}, KindCase{"=5", lkText}, KindCase{"\t*\t7", lkNumber},
        KindCase{"1e5", lkNumber}, KindCase{"      +          45.00", lkNumber},
        KindCase{"      ----------------", lkSeparator}),
    NameBy<&KindCase::text>());

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
  EXPECT_EQ(FindOperator("\xf7"
                         "2",
                         true)
                .op,
            '\xf7');
  EXPECT_EQ(FindOperator("+ 5", false).position, 0);
  EXPECT_EQ(FindOperator("abc", true).position, 0);
}

struct CommentCase {
  const char* text;
  int position;
  const char* comment;
};

class SplitCommentTest : public ::testing::TestWithParam<CommentCase> {};

TEST_P(SplitCommentTest, FindsTheComment) {
  CommentPos got = SplitComment(GetParam().text, kDot);
  EXPECT_EQ(got.position, GetParam().position) << GetParam().text;
  EXPECT_EQ(got.comment, GetParam().comment) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, SplitCommentTest,
    ::testing::Values(CommentCase{"5", 0, ""}, CommentCase{"5 %", 2, "%"}, CommentCase{"5%", 0, ""},
                      CommentCase{"5% off", 3, "off"}, CommentCase{"1e5", 0, ""},
                      CommentCase{"1x5", 2, "x5"}, CommentCase{"12.5.3", 5, ".3"},
                      CommentCase{"1.500,00", 6, ",00"}, CommentCase{"1,234.50  rent", 9, "rent"},
                      CommentCase{"1e+5", 2, "e+5"}, CommentCase{"-5 apples", 3, "apples"},
                      CommentCase{"+12 apples", 4, "apples"}, CommentCase{"5e", 2, "e"},
                      CommentCase{"", 0, ""}),
    NameBy<&CommentCase::text>());

struct ReadCase {
  const char* text;
  char op;
  bool percent;
  long double amount;
  const char* comment;
  EntryOp operation;
};

class ReadEntryTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadEntryTest, ReadsOperatorAmountAndComment) {
  const ReadCase& c = GetParam();
  TapeEntry e = ReadEntry(c.text, kDot, true);
  EXPECT_EQ(e.op, c.op) << c.text;
  EXPECT_EQ(e.percent, c.percent) << c.text;
  EXPECT_EQ(e.amount, c.amount) << c.text;
  EXPECT_EQ(e.comment, c.comment) << c.text;
  EXPECT_EQ(e.operation, c.operation) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadEntryTest,
    ::testing::Values(ReadCase{"45", 0, false, 45, "", EntryOp::Add},
                      ReadCase{"+ 12 apples", '+', false, 12, "apples", EntryOp::Add},
                      ReadCase{"- 19%", '-', true, 19, "", EntryOp::SubtractPercent},
                      ReadCase{"19%", 0, true, 19, "", EntryOp::MultiplyPercent},
                      ReadCase{"+ 10%", '+', true, 10, "", EntryOp::AddPercent},
                      ReadCase{"* 4", '*', false, 4, "", EntryOp::Multiply},
                      ReadCase{"* 50%", '*', true, 50, "", EntryOp::MultiplyPercent},
                      ReadCase{"/ 0", '/', false, 0, "", EntryOp::Divide},
                      ReadCase{"\xf7 8%", '\xf7', true, 8, "", EntryOp::DividePercent},
                      ReadCase{".5", 0, false, 0.5L, "", EntryOp::Add},
                      ReadCase{"5+", 0, false, 5, "", EntryOp::Add},
                      ReadCase{"+-5", '+', false, -5, "", EntryOp::Add},
                      ReadCase{"1,234.50  rent", 0, false, 1234.5L, "rent", EntryOp::Add},
                      ReadCase{"1e5", 0, false, 100000, "", EntryOp::Add},
                      ReadCase{"1x5", 0, false, 1, "x5", EntryOp::Add},
                      ReadCase{"12.5.3", 0, false, 12.5L, ".3", EntryOp::Add},
                      ReadCase{"5 %", 0, false, 5, "%", EntryOp::Add},
                      ReadCase{"1e99999", 0, false, 0, "",
                               EntryOp::Add},  // unrepresentable counts as 0
                      ReadCase{"- 1,2,3", '-', false, 123, "", EntryOp::Subtract}),
    NameBy<&ReadCase::text>());

TEST(ReadEntry, OutsideCalcModeThereIsNoOperator) {
  TapeEntry e = ReadEntry("- 5", kDot, false);
  EXPECT_EQ(e.op, 0);
  EXPECT_EQ(e.amount, 0);  // "- 5" is no amount without its operator
}

TEST(ReadEntry, GermanSeparators) {
  TapeEntry e = ReadEntry("+ 1.234,56 Miete", kComma, true);
  EXPECT_EQ(e.amount, 1234.56L);
  EXPECT_EQ(e.comment, "Miete");
}

TEST(ReadEntry, HugeLineDoesNotOverflowTheReader) {
  std::string line = "+ " + std::string(1 << 20, '9') + " x";
  TapeEntry e = ReadEntry(line, kDot, true);
  EXPECT_EQ(e.amount, 0);  // beyond the extended range
  EXPECT_EQ(e.comment, "x");
}

struct FormatCase {
  char op;
  bool percent;
  long double amount;
  const char* comment;
  bool rounded;
  int decimals;
  const char* line;
};

class FormatTapeLineTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTapeLineTest, CanonicalLayout) {
  const FormatCase& c = GetParam();
  std::string out;
  FormatTapeLine(c.op, c.percent, c.amount, c.comment, c.rounded, c.decimals, kDot, &out);
  EXPECT_EQ(out, c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FormatTapeLineTest,
    ::testing::Values(
        FormatCase{'+', false, 1234.5L, "", false, 2, "      +       1,234.50"},
        FormatCase{'-', true, 19, "", false, 2, "      -          19.00%"},
        FormatCase{0, false, 150, "rent", false, 2, "      +         150.00  rent"},
        FormatCase{0, false, -150, "", false, 2, "      -         150.00"},
        FormatCase{'+', false, -5, "", false, 2, "      +          -5.00"},
        FormatCase{'+', false, 12, "apples", false, 2, "      +          12.00  apples"},
        FormatCase{'+', false, 1234, "", false, 0, "      +       1,234."},
        FormatCase{'+', false, 1234567890.5L, "", false, 2, "      +1,234,567,890.50"},
        FormatCase{'+', false, 0.123456789123L, "", false, 2, "      +           0.123456789"},
        FormatCase{'+', false, 4e-10L, "", false, 2, "      +           0.00"},
        FormatCase{'+', false, 6e-10L, "", false, 2, "      +           0.000000001"},
        FormatCase{'+', false, 1.5L, "", false, 0, "      +           1.5"},
        FormatCase{'+', false, 2, "", false, 9, "      +           2.000000000"},
        FormatCase{'+', false, 1e15L, "", false, 2, "      +        1E15"},
        FormatCase{'+', false, 1.5e20L, "", false, 2, "      +           1.5E20"},
        FormatCase{'+', false, 999999999999999.9L, "", false, 2, "      +        1E15"},
        FormatCase{'+', false, 123456789012345.0L, "", false, 2, "      +123,456,789,012,345.00"},
        FormatCase{'+', false, 0.1L + 0.2L, "", false, 2, "      +           0.30"},
        FormatCase{0, false, 0.125L, "", true, 2, "      +           0.13"},
        FormatCase{0, false, -0.125L, "", true, 2, "      -           0.13"},
        FormatCase{0, false, 2.5L, "", true, 0, "      +           3"},
        FormatCase{0, false, 1234567.891L, "", true, 2, "      +   1,234,567.89"},
        FormatCase{0, false, 1e17L, "", true, 1, "      +100,000,000,000,000,000.0"},
        FormatCase{0, false, 1e19L, "", true, 2, "      +        1E19"},
        FormatCase{'/', false, 0, "", false, 2, "      /           0.00"}),
    NameBy<&FormatCase::line>());

TEST(FormatTapeLine, ReportsDivisionByZeroOnlyForDividingZero) {
  std::string out;
  EXPECT_TRUE(FormatTapeLine('/', false, 0, "", false, 2, kDot, &out).division_by_zero);
  EXPECT_TRUE(FormatTapeLine('\xf7', true, 0, "", false, 2, kDot, &out).division_by_zero);
  EXPECT_FALSE(FormatTapeLine('/', false, 1, "", false, 2, kDot, &out).division_by_zero);
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

TEST(SeparatorLineText, DashesRunToTheLastDecimal) {
  EXPECT_EQ(SeparatorLineText(0), "      -------------");
  EXPECT_EQ(SeparatorLineText(2), "      ----------------");
  EXPECT_EQ(SeparatorLineText(9), "      " + std::string(23, '-'));
}

}  // namespace
}  // namespace numvex
