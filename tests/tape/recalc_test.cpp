// Recalculation of runs and of the whole tape.
#include <algorithm>
#include <string>
#include <vector>

#include "common/random_text.h"
#include "tape/line_kind.h"
#include "tape_fixture.h"

namespace numvex::testing {
namespace {

using Recalc = TapeFixture;

TEST_F(Recalc, PrecedencePercentagesAndChaining) {
  const char* const cases[][2] = {
      // clang-format off
      {"2|+ 3|* 4|---", "+14.00"},
      {"100|+ 19%|---", "+119.00"},
      {"119|- 19%|---", "+96.39"},
      {"50|+ 100|+ 10%|---", "+160.00"},
      {"10|/ 4|- 1|---", "+1.50"},
      {"* 5|+ 3|---", "+3.00"},  // a leading multiply starts from 0
      {"200|50%|---", "+100.00"},
      {"80|\xf7 50%|---", "+160.00"},
      {"5|- 8|---", "-3.00"},
      {"0.1|+ 0.2|---", "+0.30"},
      // clang-format on
  };
  for (const auto& [tape, result] : cases) {
    Load(Tape(tape));
    engine.RecalcAll();
    ASSERT_EQ(buffer.LineCount(), static_cast<int>(Tape(tape).size()) + 1);
    EXPECT_EQ(Lines().back(), Written(result)[0]) << tape;
  }
}

// Whole tapes before and after a pass; a second pass must write nothing.
TEST_F(Recalc, Tapes) {
  struct Case {
    int decimals;
    bool rounded;
    const char* tape;
    const char* after;  // nullptr: the tape stays as it is, unwritten
    std::vector<int> division_lines = {};
  } cases[] = {
      // clang-format off
      {2, false, "45|+12 apples|=====|", "+45.00|+12.00  apples|---|+57.00"},
      {2, false, "45||12 apples|text|7", nullptr},  // lone amounts are never reformatted
      {2, false, "10|/ 0|+ 5|---", "+10.00|/0.00|+5.00|---|+5.00", {2}},
      {2, false, "1|+ 2|---|note", "+1.00|+2.00|---|+3.00|note"},  // a result goes above text
      {2, false, "1|+ 2|---|42 my note", "+1.00|+2.00|---|+3.00  my note"},
      {2, false, "1|+ 2|---|---", "+1.00|+2.00|---|+3.00|---|+3.00"},
      {2, true, "0.125|+ 0|---||* 2|---", "+0.125|+0.00|---|+0.13|*2.00|---|+0.26"},
      {2, false, "+5  rent++|- 2 - +|---", "+5.00  rent|-2.00|---|+3.00"},
      {2, false, "200|50%|---", "+200.00|*50.00%|---|+100.00"},  // a bare "%" multiplies
      {0, false, "1234|+ 1|======", "      +       1,234.|      +           1.|"
                                    "      -------------|      +       1,235."},
      {2, false, "1e4000|* 1e4000|---||+ 1|---",
       "      +      1E4000|      *      1E4000|---|+0.00  Overflow|+1.00|---|+1.00"},
      // an overflow mark under a finite result goes, also with an operator after it
      {2, false, "1|+ 2|---|5 Overflow+", "+1.00|+2.00|---|+3.00"},
      // all of them at once, or the next pass would take the next one
      {2, false, "1|+ 2|---|5 Overflow\x17Overflow  +", "+1.00|+2.00|---|+3.00"},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tape);
    Use(c.decimals, c.rounded);
    Load(Tape(c.tape));
    host.division_lines.clear();
    engine.RecalcAll();
    EXPECT_EQ(Lines(), c.after ? Written(c.after) : Tape(c.tape));
    if (!c.after) {
      EXPECT_EQ(buffer.WriteCount(), 0);
    }
    EXPECT_EQ(host.division_lines, c.division_lines);
    const long writes = buffer.WriteCount();
    engine.RecalcAll();
    EXPECT_EQ(buffer.WriteCount(), writes);
  }
}

TEST_F(Recalc, CorrectionRecomputesTheChain) {
  Load({"100", "+ 50", "---", "", "* 2", "---"});
  engine.RecalcAll();
  EXPECT_EQ(LineAt(4), Entry('+', "150.00"));
  EXPECT_EQ(LineAt(7), Entry('+', "300.00"));
  buffer.UserReplaceLine(1, "200");
  engine.RecalcBlock(1);
  EXPECT_EQ(LineAt(4), Entry('+', "250.00"));
  EXPECT_EQ(LineAt(7), Entry('+', "500.00"));
  // Once the entries are fixed an overflow mark goes away.
  Load({"1e4000", "* 1e4000", "---", ""});
  engine.RecalcAll();
  buffer.UserReplaceLine(2, "* 2");
  engine.RecalcAll();
  EXPECT_EQ(LineAt(4).find("Overflow"), std::string::npos);
}

TEST_F(Recalc, KeepsDocModifiedAndPutsTheCaretAtTheTop) {
  for (bool modified : {false, true}) {
    Load({"1", "+ 2", "---"});
    engine.SetDocModified(modified);
    buffer.SetCaretPos(3, 2);
    buffer.SetModified(true);
    engine.RecalcAll();
    EXPECT_EQ(engine.DocModified(), modified);
    EXPECT_EQ(buffer.CaretLine(), 1);
    EXPECT_EQ(buffer.CaretColumn(), 0);
    EXPECT_FALSE(buffer.Modified());
  }
  EXPECT_EQ(host.busy_begins, 2);
  EXPECT_EQ(host.busy_ends, 2);
}

// The whole-tape pass must give exactly the text of restarting the run recalculation
// at every line, as a plain reading of the rules does, without its cost.
void ReferenceRecalcAll(TapeEngine& engine, TapeBuffer& buffer) {
  for (int l = 1; l <= buffer.LineCount(); ++l) {
    if (IsRunKind(engine.KindOf(l))) l = engine.RecalcBlock(l);
  }
  engine.ResetTapeView();
}

std::string RandomLine(RandomText& random) {
  static const char* kOps[] = {"", "+ ", "- ", "* ", "/ ", "\xf7 ", "+", "-"};
  static const char* kAmounts[] = {
      "0",           "1",      "2.5",   "45",     "1,234.5",
      "19",          ".5",     "1e5",   "100",    "7.125",
      "3",           "1e4000", "0.001", "12.5.3", "99999999999999999999",
      "0.0000000004"};
  static const char* kTails[] = {"",      "",          "",  "%",   " rent", "% off",
                                 " a+.b", " Overflow", "+", " x5", " .3",   " rent++"};
  static const char* kOthers[] = {
      "", "", "---", "===", "      ----------------", "note", "==", "+ -", "+", "  ", "Overflow"};
  if (random.Below(100) < 60) {
    return std::string(kOps[random.Below(8)]) + kAmounts[random.Below(16)] +
           kTails[random.Below(12)];
  }
  return kOthers[random.Below(11)];
}

// On random tapes: the pass gives the text of restarting at every line and reports each
// dividing line once (the fuzz target checks the invariants on any tape).
TEST_F(Recalc, RandomTapes) {
  RandomText random(7);
  for (int round = 0; round < 4000; ++round) {
    std::vector<std::string> tape;
    for (int n = 1 + random.Below(30); n > 0; --n) tape.push_back(RandomLine(random));
    const int decimals = random.Below(10);
    const bool rounded = random.OneIn(2);
    Use(decimals, rounded);
    SCOPED_TRACE("round " + std::to_string(round) + " decimals " + std::to_string(decimals) +
                 (rounded ? " rounded\n" : "\n") + ::testing::PrintToString(tape));

    Load(tape);
    ReferenceRecalcAll(engine, buffer);
    const std::vector<std::string> reference = Lines();
    host.division_lines.clear();

    Load(tape);
    engine.RecalcAll();
    const std::vector<std::string> first = Lines();
    ASSERT_EQ(first, reference);
    std::vector<int> seen = host.division_lines;
    std::sort(seen.begin(), seen.end());
    ASSERT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
  }
}

// Counts how often the engine reads lines, to show each line is read a bounded
// number of times per pass however long the run.
class CountingBuffer : public MemoryTapeBuffer {
 public:
  using MemoryTapeBuffer::MemoryTapeBuffer;
  std::string_view Line(int line) const override {
    ++reads;
    return MemoryTapeBuffer::Line(line);
  }
  mutable long reads = 0;
};

TEST(RecalcCost, LongRunsAreReadABoundedNumberOfTimesPerLine) {
  for (bool with_result : {false, true}) {
    std::vector<std::string> lines;
    if (with_result) lines = {"1", "+ 1", "---", ""};
    for (int i = 0; i < 20000; ++i) lines.push_back("+ 1");
    CountingBuffer buffer(lines);
    RecordingHost host;
    TapeEngine engine(buffer, host);
    engine.RecalcAll();
    EXPECT_LT(buffer.reads, 10L * buffer.LineCount()) << with_result;
    EXPECT_EQ(buffer.Line(buffer.LineCount()), Entry('+', "1.00"));
  }
}

using CaretLeave = TapeFixture;

// The caret leaves line `from` after an edit there (replace with `text`, or "" for none;
// nullptr deletes the line, as the editor's delete-line command, keeping the caret's line
// number) for line `to`. `after` is the recalculated tape, nullptr when nothing is written.
TEST_F(CaretLeave, RecomputesTheEditedRunOnce) {
  const struct {
    const char* tape;
    int from;
    const char* text;
    int to;
    const char* after;
  } cases[] = {
      // clang-format off
      {"100|+ 50|---|150", 1, "", 2, nullptr},  // no edit
      {"100|+ 50|---|150", 2, "+ 70", 3, "+100.00|+70.00|---|+170.00"},
      {"100|+ 50|---|150", 2, "+ 70", 2, nullptr},  // still on the line
      {"100|+ 50|+ 7|---|157|text", 2, nullptr, 2, "+100.00|+7.00|---|+107.00|text"},
      {"100|+ 50|---|150|x", 4, nullptr, 4, nullptr},  // the caret now stands on the last line
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.tape) + " from " + std::to_string(c.from));
    Load(Tape(c.tape));  // typed, not yet recalculated
    engine.SetCaret(c.from, 0);
    if (c.text == nullptr) {
      buffer.DeleteLine(c.from);
      buffer.SetModified(true);
    } else if (*c.text != '\0') {
      buffer.UserReplaceLine(c.from, c.text);
    }
    const long writes = buffer.WriteCount();
    const bool edited = buffer.Modified();
    buffer.SetCaretPos(c.to, 0);
    engine.RecalcOnCaretLeave();
    if (c.after) {
      EXPECT_EQ(Lines(), Written(c.after));
      EXPECT_FALSE(buffer.Modified());
    } else {
      EXPECT_EQ(buffer.WriteCount(), writes);
      EXPECT_EQ(buffer.Modified(), edited);
    }
    EXPECT_EQ(buffer.CaretLine(), c.to);
    EXPECT_EQ(engine.LastCaretLine(), c.to);
  }
}

// The caret stays within a line that the recalculation shortened under it.
TEST_F(CaretLeave, StaysOnAShortenedLine) {
  Load(std::vector<std::string>{"100" + std::string(30, ' '), "+ 50", "---"});
  engine.SetCaret(2, 0);
  buffer.UserReplaceLine(2, "+ 70");
  buffer.SetCaretPos(1, 33);
  engine.RecalcOnCaretLeave();
  EXPECT_EQ(LineAt(1), Entry('+', "100.00"));
  EXPECT_EQ(buffer.CaretColumn(), 22);
}

TEST_F(CaretLeave, NothingOutsideCalcMode) {
  Load({"100", "+ 50", "---", "150"});
  engine.CalcMode = false;
  engine.SetCaret(1, 0);
  buffer.UserReplaceLine(1, "200");
  buffer.SetCaretPos(2, 0);
  engine.RecalcOnCaretLeave();
  EXPECT_EQ(LineAt(4), "150");
  EXPECT_EQ(engine.LastCaretLine(), 1);
}

}  // namespace
}  // namespace numvex::testing
