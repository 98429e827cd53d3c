// Operators, totals, the clear key and links, driven through the caret as the keys do.
#include <string>
#include <vector>

#include "common/case_name.h"
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
  void Enter() {
    BreakLine();
    engine.TotalAt(TotalSender::Editor);
  }
};

TEST_F(Keypad, TypingATapeGivesEntriesSeparatorResultAndAnEmptyLine) {
  Load({""});
  buffer.SetCaretPos(1, 0);
  Type("45+");
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), "      + "}));
  EXPECT_EQ(buffer.CaretLine(), 2);
  EXPECT_EQ(buffer.CaretColumn(), 8);
  Type("12");
  Enter();
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), Entry('+', "12.00"), kSep,
                                               Entry('+', "57.00"), ""}));
  EXPECT_EQ(buffer.CaretLine(), 5);
  EXPECT_EQ(buffer.CaretColumn(), 0);
  // The next amount continues the running total.
  Type("3-");
  Type("1");
  Enter();
  EXPECT_EQ(LineAt(7), kSep);
  EXPECT_EQ(LineAt(8), Entry('+', "59.00"));
  EXPECT_EQ(buffer.CaretLine(), 9);
}

TEST_F(Keypad, OperatorOpensANewLineOnlyAtTheEndOfAnAmountRightAfterTyping) {
  Load({"45", "note", ""});
  buffer.SetCaretPos(1, 1);  // between the digits
  Type("+");
  EXPECT_EQ(LineAt(1), "4+5");
  EXPECT_EQ(buffer.LineCount(), 3);
  buffer.SetCaretPos(2, 4);
  Type("+");  // text line
  EXPECT_EQ(LineAt(2), "note+");
  EXPECT_EQ(buffer.LineCount(), 3);
  buffer.SetCaretPos(3, 0);
  Type("*");  // empty line
  EXPECT_EQ(LineAt(3), "*");
  EXPECT_EQ(buffer.LineCount(), 3);
  // An operator not just typed (LastKeyChar differs) opens nothing either.
  Load({"45+"});
  buffer.SetCaretPos(1, 3);
  engine.LastKeyChar = '5';
  engine.OperatorTyped();
  EXPECT_EQ(buffer.LineCount(), 1);
  // A typed "x" is no operator.
  Load({""});
  buffer.SetCaretPos(1, 0);
  Type("5x");
  EXPECT_EQ(Lines(), std::vector<std::string>{"5x"});
}

TEST_F(Keypad, DivisionSignAndDivideByZero) {
  Load({""});
  buffer.SetCaretPos(1, 0);
  Type("10/");
  Type("0+");
  EXPECT_EQ(LineAt(2), Entry('/', "0.00"));
  EXPECT_EQ(host.division_lines, std::vector<int>{2});
}

TEST_F(Keypad, OutsideCalcModeKeysDoNothing) {
  Load({"45"});
  engine.CalcMode = false;
  buffer.SetCaretPos(1, 2);
  Type("+");
  engine.TotalAt(TotalSender::Keypad);
  EXPECT_EQ(Lines(), std::vector<std::string>{"45+"});
}

TEST_F(Keypad, EqualsKeyUnderTwoAmountsTotalsThem) {
  Load({"45", "12", ""});
  buffer.SetCaretPos(3, 0);
  engine.TotalAt(TotalSender::Keypad);
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), Entry('+', "12.00"), kSep,
                                               Entry('+', "57.00"), "", ""}));
  EXPECT_EQ(buffer.CaretLine(), 5);
}

TEST_F(Keypad, EqualsKeyUnderOneAmountOnlyInsertsAnEmptyLine) {
  Load({"text", "45", "", "after"});
  buffer.SetCaretPos(3, 0);
  engine.TotalAt(TotalSender::Keypad);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"text", "45", "", "", "after"}));
  EXPECT_EQ(buffer.CaretLine(), 3);
  EXPECT_EQ(engine.LastCaretLine(), 3);
}

TEST_F(Keypad, EnterUnderASingleAmountOrTextOnlyBreaksTheLine) {
  for (const char* first : {"45", "hello", "      ----------------"}) {
    Load({first});
    buffer.SetCaretPos(1, static_cast<int>(std::string(first).size()));
    Enter();
    EXPECT_EQ(buffer.LineCount(), 2) << first;
    EXPECT_EQ(LineAt(1), first);
  }
}

TEST_F(Keypad, EnterInTheMiddleOfATapeInsertsTheTotalAboveTheFollowingLines) {
  Load({"1", "2", "tail"});
  buffer.SetCaretPos(2, 1);
  Enter();
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "1.00"), Entry('+', "2.00"), kSep,
                                               Entry('+', "3.00"), "", "tail"}));
  EXPECT_EQ(buffer.CaretLine(), 5);
}

TEST_F(Keypad, EnterUnderAResultLineWritesNoNewTotal) {
  Load({"1", "2", "---", "3"});
  engine.RecalcAll();
  buffer.SetCaretPos(4, static_cast<int>(buffer.Line(4).size()));
  Enter();
  EXPECT_EQ(buffer.LineCount(), 5);
  EXPECT_EQ(LineAt(5), "");
}

TEST_F(Keypad, ClearKeyEmptiesAnAmountLineAndRecomputesTheRunBelow) {
  Load({"1", "+ 2", "---", "3"});
  engine.RecalcAll();
  buffer.SetCaretPos(3, 4);  // on the separator
  engine.ClearKey();
  EXPECT_EQ(LineAt(3), "");
  EXPECT_EQ(buffer.CaretLine(), 3);
  EXPECT_EQ(buffer.CaretColumn(), 0);
  Load({"100", "+ 50", "---", "150", "* 2", "---", "300"});
  engine.RecalcAll();
  buffer.SetCaretPos(4, 3);
  engine.ClearKey();  // the result line that started the second block
  EXPECT_EQ(LineAt(4), "");
  EXPECT_EQ(LineAt(7), Entry('+', "0.00"));  // the block now starts by multiplying
}

TEST_F(Keypad, ClearKeyOnAnEmptyLineDeletesItAndGoesToTheEndOfTheLineAbove) {
  Load({"abc", "", "x"});
  buffer.SetCaretPos(2, 0);
  engine.ClearKey();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abc", "x"}));
  EXPECT_EQ(buffer.CaretLine(), 1);
  EXPECT_EQ(buffer.CaretColumn(), 3);
  // On the first line the caret stays on line 1.
  Load({"", "x"});
  buffer.SetCaretPos(1, 0);
  engine.ClearKey();
  EXPECT_EQ(Lines(), std::vector<std::string>{"x"});
  EXPECT_EQ(buffer.CaretColumn(), 1);
  // A document of one empty line is left alone.
  Load({""});
  buffer.SetCaretPos(1, 0);
  engine.ClearKey();
  EXPECT_EQ(buffer.LineCount(), 1);
  // A line of blanks is not empty: it is emptied, not deleted.
  Load({"a", "   "});
  buffer.SetCaretPos(2, 1);
  engine.ClearKey();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"a", ""}));
}

TEST_F(Keypad, ClearKeyDeletingIntoARunRecomputesIt) {
  Load({"1", "+ 2", "---", "3", "+ 4", ""});
  engine.RecalcAll();
  buffer.UserReplaceLine(5, "+ 40");
  buffer.SetCaretPos(6, 0);
  engine.ClearKey();
  EXPECT_EQ(LineAt(5), Entry('+', "40.00"));
  EXPECT_EQ(buffer.CaretLine(), 5);
}

struct LinkCase {
  const char* line;
  int column;
  const char* link;
};

class LinkTest : public TapeFixture, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkTest, FindsTheBracketedCommandAroundTheCaret) {
  Load({GetParam().line});
  buffer.SetCaretPos(1, GetParam().column);
  EXPECT_EQ(engine.LinkAtCaret(), GetParam().link);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LinkTest,
    ::testing::Values(LinkCase{"see [touch /tmp/x] now", 6, "touch /tmp/x"},
                      LinkCase{"see [touch /tmp/x] now", 5, "touch /tmp/x"},
                      LinkCase{"see [touch /tmp/x] now", 17, "touch /tmp/x"},
                      LinkCase{"see [touch /tmp/x] now", 4, ""},   // left of "["
                      LinkCase{"see [touch /tmp/x] now", 19, ""},  // right of "]"
                      LinkCase{"no link here", 3, ""}, LinkCase{"[a] [b]", 5, "b"},
                      LinkCase{"[a] [b]", 2, "a"}, LinkCase{"[]", 1, ""}, LinkCase{"x]", 1, ""},
                      LinkCase{"[abc", 2, ""}),
    NameBy<&LinkCase::line>());

TEST_F(Keypad, LinkOutsideTheDocumentIsEmpty) {
  Load({"[a]"});
  buffer.SetCaretPos(5, 1);
  EXPECT_EQ(engine.LinkAtCaret(), "");
}

}  // namespace
}  // namespace numvex::testing
