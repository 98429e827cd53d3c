// Operators, totals, the clear key and links, driven through the caret as the keys do.
#include <string>
#include <vector>

#include "tape_fixture.h"

namespace numvex::testing {
namespace {

class Keypad : public TapeFixture {
 protected:
  // What the editor does for a typed character: insert it at the caret.
  void Type(const std::string& chars) {
    for (char c : chars) {
      engine.LastKeyChar = c;
      std::string line(buffer.Line(buffer.CaretLine()));
      int col = buffer.CaretColumn();
      line.insert(static_cast<size_t>(col), 1, c);
      buffer.UserReplaceLine(buffer.CaretLine(), line);
      buffer.SetCaretPos(buffer.CaretLine(), col + 1);
      if (IsOperatorByte(c)) engine.OperatorTyped();
    }
  }
  // What the editor does for Enter before the key is released.
  void BreakLine() {
    int y = buffer.CaretLine();
    std::string line(buffer.Line(y));
    size_t col = static_cast<size_t>(buffer.CaretColumn());
    buffer.UserReplaceLine(y, line.substr(0, col));
    buffer.InsertLine(y + 1, line.substr(col));
    buffer.SetCaretPos(y + 1, 0);
  }
  void Press(const std::string& keys) {
    for (char c : keys) {
      if (c == '\n') {
        BreakLine();
        engine.TotalAt(TotalSender::Editor);
      } else if (c == '=') {
        engine.TotalAt(TotalSender::Keypad);
      } else if (c == 'C') {
        engine.ClearKey();
      } else {
        Type(std::string(1, c));
      }
    }
  }
};

// Keys pressed from a caret position: typed characters, "\n" Enter in the editor, "="
// the total key and "C" the clear key.
TEST_F(Keypad, Keys) {
  struct Case {
    const char* tape;
    int line, column;
    const char* keys;
    const char* after;
    int caret_line, caret_column;
  } cases[] = {
      // clang-format off
      // An operator right after an amount formats it and opens the next entry.
      {"", 1, 0, "45+", "+45.00|      + ", 2, 8},
      {"", 1, 0, "45+12\n", "+45.00|+12.00|---|+57.00|", 5, 0},
      {"", 1, 0, "45+12\n3-1\n", "+45.00|+12.00|---|+57.00|+3.00|-1.00|---|+59.00|", 9, 0},
      {"", 1, 0, "10/0+", "+10.00|/0.00|      + ", 3, 8},
      // Nothing opens inside an amount, on text, on an empty line or after a letter.
      {"45|note", 1, 1, "+", "4+5|note", 1, 2},
      {"45|note", 2, 4, "+", "45|note+", 2, 5},
      {"45|", 2, 0, "*", "45|*", 2, 1},
      {"", 1, 0, "5x", "5x", 1, 2},
      // The total key under two amounts totals them; under one it inserts a line.
      {"45|12|", 3, 0, "=", "+45.00|+12.00|---|+57.00||", 5, 0},
      {"text|45||after", 3, 0, "=", "text|45|||after", 3, 0},
      {"text|45||after", 4, 3, "=", "text|45|||after", 4, 0},  // to the new line's start
      // Enter under a single amount, text or a separator only breaks the line.
      {"45", 1, 2, "\n", "45|", 2, 0},
      {"hello", 1, 5, "\n", "hello|", 2, 0},
      {"---", 1, 22, "\n", "---|", 2, 0},
      // Enter in the middle of a tape puts the total above the lines that follow.
      {"1|2|tail", 2, 1, "\n", "+1.00|+2.00|---|+3.00||tail", 5, 0},
      // Enter after a result line writes no new total.
      {"+1.00|+2.00|---|+3.00", 4, 22, "\n", "+1.00|+2.00|---|+3.00|", 5, 0},
      // The clear key empties a line and recomputes the run below it ...
      {"+1.00|+2.00|---|+3.00", 3, 2, "C", "+1.00|+2.00||+3.00", 3, 0},
      {"+100.00|+50.00|---|+150.00|*2.00|---|+300.00", 4, 3, "C",
       "+100.00|+50.00|---||*2.00|---|+0.00", 4, 0},
      {"a|   ", 2, 1, "C", "a|", 2, 0},
      // ... deletes an empty line, going to the end of the line above ...
      {"abc||x", 2, 0, "C", "abc|x", 1, 3},
      {"|x", 1, 0, "C", "x", 1, 1},
      {"", 1, 0, "C", "", 1, 0},
      // ... and recomputes a run it deletes into.
      {"1|+ 2|---|3|+ 40|", 6, 0, "C", "+1.00|+2.00|---|+3.00|+40.00", 5, 22},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tape) + " keys " + ::testing::PrintToString(c.keys));
    Load(Written(c.tape));
    host.division_lines.clear();
    buffer.SetCaretPos(c.line, c.column);
    Press(c.keys);
    EXPECT_EQ(Lines(), Written(c.after));
    EXPECT_EQ(buffer.CaretLine(), c.caret_line);
    EXPECT_EQ(buffer.CaretColumn(), c.caret_column);
    // Only "10/0+" divides by zero, on its line 2.
    EXPECT_EQ(host.division_lines,
              std::string(c.keys) == "10/0+" ? std::vector<int>{2} : std::vector<int>{});
  }
}

TEST_F(Keypad, OnlyAnOperatorJustTypedOpensALine) {
  Load({"45+"});
  buffer.SetCaretPos(1, 3);
  engine.LastKeyChar = '5';
  engine.OperatorTyped();
  EXPECT_EQ(buffer.LineCount(), 1);
  // The total key keeps the caret where the engine last saw it.
  Load({"text", "45", ""});
  buffer.SetCaretPos(3, 0);
  engine.TotalAt(TotalSender::Keypad);
  EXPECT_EQ(engine.LastCaretLine(), 3);
}

TEST_F(Keypad, OutsideCalcModeKeysDoNothing) {
  Load({"45"});
  engine.CalcMode = false;
  buffer.SetCaretPos(1, 2);
  Press("+=");
  EXPECT_EQ(Lines(), std::vector<std::string>{"45+"});
}

TEST_F(Keypad, LinkFindsTheBracketedCommandAroundTheCaret) {
  const struct {
    const char* line;
    int column;
    const char* link;
  } cases[] = {
      // clang-format off
      {"see [touch /tmp/x] now", 6, "touch /tmp/x"}, {"see [touch /tmp/x] now", 5, "touch /tmp/x"},
      {"see [touch /tmp/x] now", 17, "touch /tmp/x"}, {"see [touch /tmp/x] now", 4, ""},
      {"see [touch /tmp/x] now", 19, ""}, {"no link here", 3, ""}, {"[a] [b]", 5, "b"},
      {"[a] [b]", 2, "a"}, {"[]", 1, ""}, {"x]", 1, ""}, {"[abc", 2, ""},
      // clang-format on
  };
  for (const auto& c : cases) {
    Load({c.line});
    buffer.SetCaretPos(1, c.column);
    EXPECT_EQ(engine.LinkAtCaret(), c.link) << c.line << " at " << c.column;
  }
}

TEST_F(Keypad, LinkOutsideTheDocumentIsEmpty) {
  Load({"[a]"});
  buffer.SetCaretPos(5, 1);
  EXPECT_EQ(engine.LinkAtCaret(), "");
}

}  // namespace
}  // namespace numvex::testing
