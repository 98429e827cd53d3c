// The real tape engine on the editor: keys typed with QTest, the engine's reactions written
// through the line buffer, and the same operations on a memory buffer as the reference.
#include <QTest>
#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/scintilla_tape_buffer.h"
#include "app/single_step_undo.h"
#include "editor_fixture.h"
#include "tape/document_text.h"
#include "tape/line_kind.h"
#include "tape/tape_engine.h"

namespace numvex::testing {
namespace {

class QuietHost : public TapeHost {
 public:
  void DivisionByZero(int line) override { division_lines.push_back(line); }
  std::vector<int> division_lines;
};

// Canonical amount lines with "." decimals and two places.
std::string Entry(char op, const std::string& amount) {
  const size_t point = amount.find('.');
  return std::string(6, ' ') + op + std::string(12 - point, ' ') + amount;
}
const std::string kSeparator = "      ----------------";

class EngineOnEditor : public ::testing::Test {
 protected:
  EngineOnEditor()
      : editor(MakeEditor()),
        buffer(editor.get()),
        undo(editor.get(), &buffer),
        engine(buffer, host),
        reference_engine(reference, reference_host) {
    InitTapeArithmetic();
    engine.SetSettings({2, false, {'.', ','}});
    reference_engine.SetSettings({2, false, {'.', ','}});
    // As the window wires its change handler.
    QObject::connect(&buffer, &ScintillaTapeBuffer::userTextChanged, [this] {
      ++user_changes;
      engine.SetDocModified(true);
    });
  }

  void Load(const std::vector<std::string>& lines) {
    buffer.SetDocumentText(Join(lines, "\r\n") + "\r\n", LineBreak::CRLF);
    reference = MemoryTapeBuffer(lines);
  }
  // A key typed in the editor, as the window passes it on: press stores the character, the
  // editor inserts it, release of an operator calls OperatorTyped.
  void Type(const std::string& chars) {
    for (char c : chars) {
      engine.LastKeyChar = c;
      QTest::keyClick(editor.get(), c);
      if (IsOperatorByte(c)) engine.OperatorTyped();
    }
  }
  void Enter() {
    QTest::keyClick(editor.get(), Qt::Key_Return);
    engine.TotalAt(TotalSender::Editor);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 1; i <= buffer.LineCount(); ++i) lines.emplace_back(buffer.Line(i));
    return lines;
  }
  void ExpectSameAsReference() {
    EXPECT_EQ(Lines(), reference.Lines());
    EXPECT_EQ(buffer.CaretLine(), reference.CaretLine());
    // The memory buffer keeps a column past the end of a line; the editor has no such place.
    EXPECT_EQ(buffer.CaretColumn(),
              std::min<int>(reference.CaretColumn(),
                            static_cast<int>(reference.Line(reference.CaretLine()).size())));
    EXPECT_EQ(engine.LastCaretLine(), reference_engine.LastCaretLine());
    EXPECT_EQ(engine.LastLineCount(), reference_engine.LastLineCount());
  }

  std::unique_ptr<QsciScintilla> editor;
  ScintillaTapeBuffer buffer;
  SingleStepUndo undo;
  QuietHost host;
  TapeEngine engine;
  MemoryTapeBuffer reference;
  QuietHost reference_host;
  TapeEngine reference_engine;
  int user_changes = 0;
};

TEST_F(EngineOnEditor, AnOperatorTypedAfterAnAmountOpensTheNextEntryLine) {
  Load({""});
  engine.SetCaret(1, 0);
  Type("45+");
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), "      + "}));
  EXPECT_EQ(buffer.CaretLine(), 2);
  EXPECT_EQ(buffer.CaretColumn(), 8);
  EXPECT_EQ(user_changes, 3);  // the three keys, not the engine's rewrite and new line
  EXPECT_TRUE(engine.DocModified());
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_F(EngineOnEditor, TypingATapeWithEnterGivesSeparatorResultAndAnEmptyLine) {
  Load({""});
  engine.SetCaret(1, 0);
  Type("45+");
  Type("12");
  Enter();
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), Entry('+', "12.00"), kSeparator,
                                               Entry('+', "57.00"), ""}));
  EXPECT_EQ(buffer.CaretLine(), 5);
  EXPECT_EQ(buffer.CaretColumn(), 0);
  EXPECT_EQ(user_changes, 6);
  // The tape keeps the document's line break in every line the engine wrote.
  EXPECT_EQ(EditorBytes(*editor).find('\n', 0), EditorBytes(*editor).find("\r\n", 0) + 1);
  EXPECT_EQ(JoinDocument(buffer, LineBreak::CRLF),
            Join({Entry('+', "45.00"), Entry('+', "12.00"), kSeparator, Entry('+', "57.00"), ""},
                 "\r\n") +
                "\r\n");
}

TEST_F(EngineOnEditor, ACorrectionIsRecalculatedWhenTheCaretLeavesTheLine) {
  Load({"100", "+ 50", "----", "150", "* 2", "----"});
  engine.RecalcAll();
  ASSERT_EQ(buffer.Line(4), Entry('+', "150.00"));
  ASSERT_EQ(buffer.Line(7), Entry('+', "300.00"));
  ASSERT_FALSE(buffer.Modified());
  const int before = user_changes;
  // Replace the 1 of 100 by a 2 with the keyboard.
  engine.SetCaret(1, 16);
  QTest::keyClick(editor.get(), Qt::Key_Delete);
  Type("2");
  EXPECT_TRUE(buffer.Modified());
  QTest::keyClick(editor.get(), Qt::Key_Down);
  engine.RecalcOnCaretLeave();
  EXPECT_EQ(buffer.Line(1), Entry('+', "200.00"));
  EXPECT_EQ(buffer.Line(4), Entry('+', "250.00"));
  EXPECT_EQ(buffer.Line(7), Entry('+', "500.00"));
  EXPECT_EQ(buffer.CaretLine(), 2);
  EXPECT_FALSE(buffer.Modified());
  EXPECT_EQ(user_changes, before + 2);
}

// --- the same operations on the editor and on a memory buffer ---------------------------------

TEST_F(EngineOnEditor, RecalculatingAWholeTapeMatchesTheMemoryBuffer) {
  Load({"10",   "/ 0",         "+ 5", "=====", "text after", "",     "2",
        "+ 3",  "* 4",         "---", "---",   "",           "100",  "+19%",
        "----", "42  # typed", "119", "- 19%", "----",       "note", "1.234,5x"});
  engine.RecalcAll();
  reference_engine.RecalcAll();
  ExpectSameAsReference();
  EXPECT_EQ(host.division_lines, reference_host.division_lines);
  EXPECT_EQ(user_changes, 0);
  EXPECT_FALSE(CanUndo(*editor));
}

struct KeypadCase {
  const char* name;
  std::vector<std::string> lines;
  int caret_line, caret_column;
  std::function<void(TapeEngine&)> press;
};

void PrintTo(const KeypadCase& c, std::ostream* os) { *os << c.name; }

class KeypadOnEditor : public EngineOnEditor, public ::testing::WithParamInterface<KeypadCase> {};

TEST_P(KeypadOnEditor, MatchesTheMemoryBuffer) {
  const KeypadCase& c = GetParam();
  Load(c.lines);
  engine.SetCaret(c.caret_line, c.caret_column);
  reference_engine.SetCaret(c.caret_line, c.caret_column);
  c.press(engine);
  c.press(reference_engine);
  ExpectSameAsReference();
  EXPECT_EQ(user_changes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeypadOnEditor,
    ::testing::Values(
        KeypadCase{"TotalUnderTwoAmounts",
                   {"45", "+ 12", ""},
                   3,
                   0,
                   [](TapeEngine& e) { e.TotalAt(TotalSender::Keypad); }},
        KeypadCase{"TotalOnTheLastAmount",
                   {"45", "+ 12", "note"},
                   2,
                   4,
                   [](TapeEngine& e) { e.TotalAt(TotalSender::Keypad); }},
        // No total: an empty line goes in above the caret, which keeps its line and column.
        KeypadCase{"TotalUnderOneAmount",
                   {"45", "", "below"},
                   2,
                   0,
                   [](TapeEngine& e) { e.TotalAt(TotalSender::Keypad); }},
        KeypadCase{"TotalOnText",
                   {"some text", "more"},
                   2,
                   3,
                   [](TapeEngine& e) { e.TotalAt(TotalSender::Keypad); }},
        KeypadCase{"ClearAnAmountInARun",
                   {"45", "+ 12", "----", "57"},
                   1,
                   1,
                   [](TapeEngine& e) { e.ClearKey(); }},
        KeypadCase{
            "ClearAnEmptyLine", {"45", "+ 12", "", "x"}, 3, 0, [](TapeEngine& e) { e.ClearKey(); }},
        KeypadCase{"ClearTheLastEmptyLine",
                   {"45", "+ 12", ""},
                   3,
                   0,
                   [](TapeEngine& e) { e.ClearKey(); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace numvex::testing
