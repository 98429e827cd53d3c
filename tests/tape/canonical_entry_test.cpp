// The check for amount lines that are canonical already must agree with the full
// rewrite on every line it accepts: same text, same amount, same operation.
#include "tape/canonical_entry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tape/line_kind.h"
#include "tape/tape_engine.h"
#include "tape/tape_line.h"
#include "tape_fixture.h"

namespace numvex {
namespace {

const Separators kDot{'.', ','};
const Separators kComma{',', '.'};

struct Outcome {
  bool accepted = false;
  int rewritten = 0;  // lines the full path would write
};

// Runs both paths over one line and fails the test where they differ.
void ExpectAgreement(const std::string& line, const Separators& seps, int decimals,
                     Outcome* outcome) {
  TapeEntry fast;
  size_t amount_end = 0;
  bool accepted = ReadCanonicalEntry(line, seps, decimals, &fast, &amount_end);
  std::string full_text;
  bool full_division = false;
  TapeEntry full =
      RewriteEntry(TrimTape(line), seps, decimals, /*calc_mode=*/true, &full_text, &full_division);
  if (full_text != line) ++outcome->rewritten;
  if (!accepted) return;
  outcome->accepted = true;
  SCOPED_TRACE("line \"" + line + "\" decimals " + std::to_string(decimals) + " separators " +
               seps.decimal + seps.thousands);
  ASSERT_EQ(full_text, line) << "accepted a line the rewrite changes";
  EXPECT_EQ(fast.op, full.op);
  EXPECT_EQ(fast.percent, full.percent);
  EXPECT_EQ(fast.operation, full.operation);
  EXPECT_EQ(fast.amount, full.amount);
  EXPECT_EQ(std::signbit(fast.amount), std::signbit(full.amount));
  EXPECT_TRUE(fast.comment.empty());
  EXPECT_EQ(DividesByZero(fast), full_division);
  // What follows the amount decides alone whether the line is an amount line.
  LineKind tail_kind = AmountLineTail(line.substr(amount_end), seps) ? lkNumber : lkText;
  EXPECT_EQ(tail_kind, ClassifyLine(TrimTape(line), seps));
}

class CanonicalEntryTest : public ::testing::Test {
 protected:
  CanonicalEntryTest() { InitTapeArithmetic(); }
};

TEST_F(CanonicalEntryTest, AcceptsTheCanonicalForms) {
  // clang-format off
  struct Case { const char* line; int decimals; Amount amount; EntryOp operation; } cases[] = {
      {"      +         341.00", 2, 341, EntryOp::Add},
      {"      -       1,624.39  rent", 2, 1624.39L, EntryOp::Subtract},
      {"      +       9,922.65%  Invoice 4711", 2, 9922.65L, EntryOp::AddPercent},
      {"      *           4.00%", 2, 4, EntryOp::MultiplyPercent},
      {"      \xf7           2.00", 2, 2, EntryOp::Divide},
      {"      /           0.00", 2, 0, EntryOp::Divide},  // reports a division by zero
      {"      \xf7           0.00%", 2, 0, EntryOp::DividePercent},
      {"      +          -5.00", 2, -5, EntryOp::Add},
      {"      +           0.00", 2, 0, EntryOp::Add},
      {"      +       1,234.", 0, 1234, EntryOp::Add},
      {"      +           0.000000001", 2, 1e-9L, EntryOp::Add},
      {"      -     167,257.246", 2, 167257.246L, EntryOp::Subtract},
      {"      +1,234,567,890.5", 1, 1234567890.5L, EntryOp::Add},
      {"      +123,456,789,012,345.000000000", 9, 123456789012345.0L, EntryOp::Add},
      {"      +999,999,999,999,999.", 0, 999999999999999.0L, EntryOp::Add}};
  // clang-format on
  for (const Case& c : cases) {
    TapeEntry entry;
    ASSERT_TRUE(ReadCanonicalEntry(c.line, kDot, c.decimals, &entry)) << c.line;
    EXPECT_EQ(entry.amount, c.amount) << c.line;
    EXPECT_EQ(entry.operation, c.operation) << c.line;
    Outcome outcome;
    ExpectAgreement(c.line, kDot, c.decimals, &outcome);
    EXPECT_EQ(outcome.rewritten, 0) << c.line;
  }
}

TEST_F(CanonicalEntryTest, RefusesLinesTheRewriteChanges) {
  const char* const lines[] = {
      "     +         341.00",           // five blanks
      "      +        341.00",           // one alignment blank short
      "      +         341.0",           // fewer decimals than set
      "      +         341.000",         // a trailing zero past the decimals
      "      +        1234.00",          // no grouping
      "      +       01,234.00",         // a leading zero
      "      +          -0.00",          // minus zero is written without its sign
      "      +         341.00 rent",     // one blank before the comment
      "      +         341.00   rent",   // three blanks
      "      +         341.00  rent ",   // a trailing blank
      "      +         341.00  rent+",   // the next entry's operator is dropped
      "      +         341.00%%",        // "%" twice
      "      +   1.5E20",                // the scientific form is left to the full path
      "      +1,234,567,890,123,456.",   // sixteen integer digits
      "      +123,456,789,012,345.6",    // sixteen significant digits
      "      +           0.0000000001",  // ten decimals
      "      5.00",                      // no operator column
  };
  for (const char* line : lines) {
    TapeEntry entry;
    EXPECT_FALSE(ReadCanonicalEntry(line, kDot, 2, &entry)) << line;
    Outcome outcome;
    ExpectAgreement(line, kDot, 2, &outcome);
  }
}

TEST_F(CanonicalEntryTest, LeavesUnusualSeparatorsToTheFullPath) {
  TapeEntry entry;
  EXPECT_FALSE(ReadCanonicalEntry("      +         341.00", Separators{'.', '.'}, 2, &entry));
  EXPECT_FALSE(ReadCanonicalEntry("      +         341-00", Separators{'-', ','}, 2, &entry));
  EXPECT_TRUE(ReadCanonicalEntry("      +       1'234.00", Separators{'.', '\''}, 2, &entry));
  EXPECT_EQ(entry.amount, 1234);
}

// The reader of typed lines reads what classifying and reading the line give, and its entries
// are written as the full rewrite writes them.
TEST_F(CanonicalEntryTest, ReadsTypedLinesAsTheFullPath) {
  // clang-format off
  const char* const lines[] = {
      "3127.23", "-2569.50 Invoice 4711", "+4241.17% rent", "*4% coffee beans", "/0", "\xf7" "2.5",
      "511.54  coffee beans", "5.", "007.10", "0.000", "1234567890123456789.5", "5 %",
      "123456789012345678901", "5 a+.b", "5%x", "5 rent-", "5 ", "+-5", "1,234.50", ".5", "5\trent"};
  // clang-format on
  int accepted = 0;
  for (const Separators& seps : {kDot, kComma}) {
    for (const char* line : lines) {
      TapeEntry typed;
      DecimalAmount read;
      if (!ReadTypedEntry(line, seps, &typed, &read)) continue;
      ++accepted;
      SCOPED_TRACE(std::string(line) + " separators " + seps.decimal);
      EXPECT_EQ(ClassifyLine(TrimTape(line), seps), lkNumber);
      const TapeEntry full = ReadEntry(TrimTape(line), seps, /*calc_mode=*/true);
      EXPECT_EQ(typed.op, full.op);
      EXPECT_EQ(typed.percent, full.percent);
      EXPECT_EQ(typed.amount, full.amount);
      EXPECT_EQ(typed.comment, full.comment);
      EXPECT_EQ(typed.operation, full.operation);
      std::string typed_text, full_text;
      bool typed_division = false, full_division = false;
      const TapeEntry written = WriteEntry(typed, read, seps, 2, &typed_text, &typed_division);
      const TapeEntry rewritten =
          RewriteEntry(TrimTape(line), seps, 2, /*calc_mode=*/true, &full_text, &full_division);
      EXPECT_EQ(typed_text, full_text);
      EXPECT_EQ(written.amount, rewritten.amount);
      EXPECT_EQ(typed_division, full_division);
    }
  }
  EXPECT_EQ(accepted, 13 + 4);  // with "," for decimals, "." is a thousands separator
}

// The engine takes an unrounded result in fixed form for canonical without reading it: the
// canonical reader must take it as it is written, at the edges of the fixed form too.
TEST_F(CanonicalEntryTest, TakesUnroundedResultsAsWritten) {
  for (long double value : {405.48L, -1998102.84637666L, 0.9999999999999999L, 999999999999999.4L,
                            4e-10L, -0.0L, 0.1L + 0.2L}) {
    for (int decimals : {0, 2, 9}) {
      for (const char* comment : {"", "rent"}) {
        std::string text;
        const FormattedLine f =
            FormatTapeLine(0, false, value, comment, false, decimals, kDot, &text);
        ASSERT_TRUE(f.fixed) << text;
        TapeEntry entry;
        size_t amount_end = 0;
        ASSERT_TRUE(ReadCanonicalEntry(text, kDot, decimals, &entry, &amount_end)) << text;
        EXPECT_EQ(entry.amount, f.canonical) << text;
        EXPECT_EQ(amount_end, f.amount_end) << text;
      }
    }
  }
}

// A canonical amount whose comment makes the line text (an operator, then a separator)
// ends the run like any text line.
class CanonicalRunTest : public testing::TapeFixture {};

TEST_F(CanonicalRunTest, ACommentThatMakesTheLineTextEndsTheRun) {
  Load(
      {"      +          10.00", "      +           5.00  x -,5", "      +           2.00", "==="});
  engine.RecalcAll();
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "      +          10.00", "      +           5.00  x -,5",
                         "      +           2.00", testing::kSep, "      +           2.00"}));
}

TEST_F(CanonicalRunTest, ACanonicalTapeIsNotWritten) {
  Load({"      +          10.00  rent", "      *           3.00%", "      /           0.00",
        "      -       1,000.50", testing::kSep, "      -       1,000.50"});
  engine.RecalcAll();
  EXPECT_EQ(buffer.WriteCount(), 0);
  // 10 * 3% = 0.3, divided by 0 gives 0, less 1,000.50.
  EXPECT_EQ(LineAt(6), "      -       1,000.50");
  EXPECT_EQ(host.division_lines, std::vector<int>{3});
}

}  // namespace
}  // namespace numvex
