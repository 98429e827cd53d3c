// The tape engine's line buffer over a real QsciScintilla (bytes and line breaks, engine writes
// that are no user edits, the caret and the selection through them) and one-step undo on it.
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <algorithm>
#include <functional>
#include <vector>

#include "app/scintilla_tape_buffer.h"
#include "app/single_step_undo.h"
#include "editor_fixture.h"
#include "tape/document_text.h"

namespace numvex::testing {
namespace {

const Tape kStart = {"one", "two", "three", "four"};

// An engine write: 'R'eplace, 'I'nsert before or 'D'elete a line.
struct Write {
  char op;
  int line;
  const char* text = "";
};

// The cases below drive the fixtures from outside, so their helpers are public.
class BufferTest : public ::testing::Test {
 public:
  BufferTest() : editor(MakeEditor()), buffer(editor.get()) {
    QObject::connect(&buffer, &ScintillaTapeBuffer::userTextChanged, [this] { ++user_changes; });
  }
  void Load(const Tape& lines) { buffer.SetDocumentText(Join(lines, "\n"), LineBreak::LF); }
  void Apply(const std::vector<Write>& writes) {
    for (const Write& w : writes) {
      if (w.op == 'R') buffer.ReplaceLine(w.line, w.text);
      if (w.op == 'I') buffer.InsertLine(w.line, w.text);
      if (w.op == 'D') buffer.DeleteLine(w.line);
    }
  }
  void TypeAt(int line, int column, const char* text) {
    buffer.SetCaretPos(line, column);
    QTest::keyClicks(editor.get(), text);
  }
  void Select(int line, int column, int caret_line, int caret_column) {
    editor->SendScintilla(Sci::SCI_SETSEL,
                          static_cast<unsigned long>(PositionOf(*editor, line, column)),
                          PositionOf(*editor, caret_line, caret_column));
  }
  long Anchor() const { return editor->SendScintilla(Sci::SCI_GETANCHOR); }
  long CaretPos() const { return editor->SendScintilla(Sci::SCI_GETCURRENTPOS); }
  bool AnyModifiedOrUndo() const {
    return buffer.Modified() || editor->isModified() || CanUndo(*editor);
  }

  std::unique_ptr<QsciScintilla> editor;
  ScintillaTapeBuffer buffer;
  int user_changes = 0;
};

class LineBreakTest : public BufferTest, public ::testing::WithParamInterface<LineBreak> {};

TEST_P(LineBreakTest, EveryByteSurvivesAndWritesUseTheDocumentsBreak) {
  const std::string brk = GetParam() == LineBreak::CRLF ? "\r\n" : "\n";
  // Every byte but the two line-break bytes, in lines of 37, then an empty line and a short one.
  Tape lines(1);
  for (int b = 1; b < 256; ++b) {
    if (b == '\n' || b == '\r') continue;
    if (lines.back().size() == 37) lines.emplace_back();
    lines.back().push_back(static_cast<char>(b));
  }
  lines.insert(lines.end(), {"", "end"});
  // Set behind the buffer's back first, so reading is checked on its own.
  editor->SendScintilla(Sci::SCI_SETEOLMODE, GetParam() == LineBreak::CRLF ? 0UL : 2UL);
  SetEditorBytes(*editor, Join(lines, brk));
  ASSERT_EQ(LinesOf(buffer), lines);
  Tape reversed = lines;
  for (std::string& line : reversed) std::reverse(line.begin(), line.end());
  for (int i = 1; i <= buffer.LineCount(); ++i) buffer.ReplaceLine(i, reversed[i - 1]);
  EXPECT_EQ(JoinDocument(buffer, GetParam()), Join(reversed, brk) + brk);
  // Loading the other break's bytes converts them and is no user edit.
  QTest::keyClicks(editor.get(), "typed");
  user_changes = 0;
  buffer.SetDocumentText(Join(lines, brk == "\n" ? "\r\n" : "\n") + "\n", GetParam());
  EXPECT_EQ(EditorBytes(*editor), Join(lines, brk));
  EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETEOLMODE),
            brk == "\n" ? Sci::SC_EOL_LF : Sci::SC_EOL_CRLF);
  EXPECT_EQ(user_changes, 0);
  EXPECT_FALSE(AnyModifiedOrUndo());
  EXPECT_EQ(CaretPos(), 0);
  const std::string zero("a\0b", 3);  // a zero byte, too
  buffer.ReplaceLine(1, zero);
  buffer.InsertLine(2, zero);
  EXPECT_EQ(buffer.Line(1), zero);
  EXPECT_EQ(buffer.Line(2), zero);
  buffer.SetDocumentText("a" + brk + "b", GetParam());
  Apply({{'I', 2, "mid"}, {'I', 4, "end"}, {'I', 1, "top"}});
  EXPECT_EQ(EditorBytes(*editor), Join({"top", "a", "mid", "b", "end"}, brk));
  Apply({{'D', 5}, {'D', 1}});
  EXPECT_EQ(EditorBytes(*editor), Join({"a", "mid", "b"}, brk));
}

INSTANTIATE_TEST_SUITE_P(Breaks, LineBreakTest, ::testing::Values(LineBreak::LF, LineBreak::CRLF),
                         [](const auto& info) {
                           return std::string(info.param == LineBreak::LF ? "Lf" : "CrLf");
                         });

TEST_F(BufferTest, EngineWritesAreNoUserEditsAndEmptyTheUndoHistory) {
  int modification_signals = 0;
  QObject::connect(editor.get(), &QsciScintilla::modificationChanged,
                   [&](bool) { ++modification_signals; });
  for (const Write& write :
       {Write{'R', 3, "3"}, Write{'I', 1, "0"}, Write{'I', 5, "5"}, Write{'D', 2}, Write{'D', 4}}) {
    // After a user edit the flag stays, and the typed step, whose position the write may have
    // moved, is gone.
    Load(kStart);
    TypeAt(1, 3, "!");
    ASSERT_TRUE(CanUndo(*editor));
    Apply({write});
    EXPECT_TRUE(buffer.Modified());
    EXPECT_FALSE(CanUndo(*editor));
    Load(kStart);
    modification_signals = user_changes = 0;
    Apply({write});
    EXPECT_EQ(modification_signals, 0) << write.op << write.line;
    EXPECT_EQ(user_changes, 0);
    EXPECT_FALSE(AnyModifiedOrUndo());
  }
}

// A selection stays over the same text through the engine's writes; a lone caret keeps its line
// and column. Places are {anchor line, column, caret line, column}, in kStart.
struct SelectionCase {
  const char* name;
  int before[4];
  std::vector<Write> writes;
  int after[4];
};

class SelectionKept : public BufferTest, public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(SelectionKept, ThroughEngineWrites) {
  const SelectionCase& c = GetParam();
  Load(kStart);
  Select(c.before[0], c.before[1], c.before[2], c.before[3]);
  Apply(c.writes);
  const long anchor = PositionOf(*editor, c.after[0], c.after[1]);
  const long caret = PositionOf(*editor, c.after[2], c.after[3]);
  EXPECT_EQ(Anchor(), anchor);
  EXPECT_EQ(CaretPos(), caret);
  // The engine puts the caret back where it read it: the selection stays as it is.
  buffer.SetCaretPos(c.before[2], c.before[3]);
  EXPECT_EQ(Anchor(), anchor);
  EXPECT_EQ(CaretPos(), caret);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Writes, SelectionKept, ::testing::Values(
    SelectionCase{"WholeTextOverAGrownLastLine", {1, 0, 4, 4}, {{'R', 4, "four and more"}}, {1, 0, 4, 13}},
    SelectionCase{"WholeTextCaretFirst", {4, 4, 1, 0}, {{'I', 1, "zero"}, {'R', 5, "4"}}, {5, 1, 1, 0}},
    SelectionCase{"InsideKeepsItsDistanceFromTheEnd", {1, 1, 3, 2}, {{'R', 3, "xx three"}}, {1, 1, 3, 5}},
    SelectionCase{"LineStartStaysAtTheStart", {3, 0, 4, 2}, {{'R', 3, "xx three"}}, {3, 0, 4, 2}},
    SelectionCase{"ShortenedLineClampsToItsStart", {1, 1, 3, 1}, {{'R', 3, "t"}}, {1, 1, 3, 0}},
    SelectionCase{"SeveralWritesInARow", {1, 1, 3, 2}, {{'R', 3, "xx three"}, {'R', 3, "yyy xx three"}}, {1, 1, 3, 9}},
    SelectionCase{"InsertAboveMovesDown", {2, 1, 3, 2}, {{'I', 2, "zero"}, {'I', 5, "new"}}, {3, 1, 4, 2}},
    SelectionCase{"DeleteAboveMovesUp", {2, 1, 3, 2}, {{'D', 1}}, {1, 1, 2, 2}},
    SelectionCase{"EndOnADeletedLineGoesToTheNextLine", {1, 1, 3, 2}, {{'D', 3}}, {1, 1, 3, 0}},
    SelectionCase{"EndOnTheDeletedLastLineGoesUp", {1, 1, 4, 2}, {{'D', 4}}, {1, 1, 3, 5}},
    SelectionCase{"LoneCaretKeepsLineAndColumn", {3, 2, 3, 2}, {{'I', 1, "zero"}}, {3, 2, 3, 2}},
    SelectionCase{"LoneCaretOnTheDeletedLastLine", {4, 3, 4, 3}, {{'D', 4}}, {3, 3, 3, 3}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(BufferTest, AScopeAroundSeveralWritesKeepsTheCaretTheEnginePlacedLast) {
  Load(kStart);
  Select(1, 1, 2, 1);
  {
    ScintillaTapeBuffer::EngineWriteScope scope(buffer);
    buffer.InsertLine(1, "zero");
    buffer.SetCaretPos(5, 2);
    Apply({{'R', 1, "0"}, {'D', 2}});
  }
  EXPECT_EQ(LinesOf(buffer), (Tape{"0", "two", "three", "four"}));
  EXPECT_EQ(buffer.CaretLine(), 4);  // line 5 went with the delete: the last line
  EXPECT_EQ(buffer.CaretColumn(), 2);
  EXPECT_EQ(Anchor(), CaretPos());
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_F(BufferTest, WritesOfTheSameBytesKeepCaretAndUndoStep) {
  Load(kStart);
  TypeAt(2, 3, "x");
  {
    ScintillaTapeBuffer::EngineWriteScope scope(buffer);
    buffer.ReplaceLine(1, "one");
  }
  buffer.ReplaceLine(3, "three");
  EXPECT_EQ(buffer.CaretColumn(), 4);
  ASSERT_TRUE(CanUndo(*editor));
  editor->undo();
  EXPECT_EQ(LinesOf(buffer), kStart);
}

TEST_F(BufferTest, CaretIsPlacedClampedByBytesCollapsesTheSelectionAndScrolls) {
  // clang-format off
  const struct { int line, column, expected_line, expected_column; } kCases[] = {
      {3, 4, 3, 4}, {2, 2, 2, 2} /* after the tab */, {2, 99, 2, 4}, {900, 1, 500, 1},
      {0, 2, 1, 2}, {3, -1, 3, 0}};
  // clang-format on
  Tape lines(500, "line");
  lines[1] = "\ttwo";
  Load(lines);
  for (const auto& c : kCases) {
    Select(1, 0, 1, 1);
    buffer.SetCaretPos(c.line, c.column);
    EXPECT_EQ(CaretPos(), PositionOf(*editor, c.expected_line, c.expected_column)) << c.line;
    EXPECT_EQ(Anchor(), CaretPos());
    const long first = editor->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
    EXPECT_LE(first, c.expected_line - 1);
    EXPECT_GT(first + editor->SendScintilla(Sci::SCI_LINESONSCREEN), c.expected_line - 1);
  }
  // Down and back up comes back to the same byte: the column was remembered.
  buffer.SetCaretPos(2, 2);
  QTest::keyClick(editor.get(), Qt::Key_Down);
  QTest::keyClick(editor.get(), Qt::Key_Up);
  EXPECT_EQ(buffer.CaretColumn(), 2);
}

TEST_F(BufferTest, TypingUndoAndRedoAreUserEditsThatSetTheFlag) {
  Load(kStart);
  TypeAt(2, 3, "12");
  QTest::keyClick(editor.get(), Qt::Key_Return);
  EXPECT_EQ(LinesOf(buffer), (Tape{"one", "two12", "", "three", "four"}));
  EXPECT_EQ(user_changes, 3);
  for (void (QsciScintilla::*step)() : {&QsciScintilla::undo, &QsciScintilla::redo}) {
    EXPECT_TRUE(buffer.Modified());
    buffer.SetModified(false);
    EXPECT_FALSE(editor->isModified());
    (editor.get()->*step)();
  }
  EXPECT_TRUE(buffer.Modified());
}

TEST_F(BufferTest, KeypadInsertReplacesTheSelectionAsOneUserEditAndLeavesTheClipboard) {
  QGuiApplication::clipboard()->setText("copied by the user");
  Load(kStart);
  Select(2, 1, 2, 3);                                          // "wo"
  buffer.InsertAtCaretAsUserEdit(QString(QChar(0xF7)) + "7");  // Latin-1: the division sign
  EXPECT_EQ(buffer.Line(2),
            "t\xF7"
            "7");
  EXPECT_EQ(CaretPos(), PositionOf(*editor, 2, 3));
  EXPECT_TRUE(user_changes > 0 && buffer.Modified());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "copied by the user");
  editor->undo();
  EXPECT_EQ(buffer.Line(2), "two");
}

// --- one undo step: after two user actions, undo restores only the last one, whole ---------

class UndoTest : public BufferTest {
 public:
  UndoTest() { buffer.SetDocumentText("first line\nsecond line\n", LineBreak::LF); }

  void Type(const char* text) { QTest::keyClicks(editor.get(), text); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(editor.get(), key, modifiers);
  }
  void Keys(std::initializer_list<Qt::Key> keys) {
    for (Qt::Key key : keys) Key(key);
  }
  QPoint PointOf(int line, int column) const {
    const long pos = PositionOf(*editor, line, column);
    return {static_cast<int>(editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, pos)),
            static_cast<int>(editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, pos)) + 4};
  }
  // Drops text from outside the editor, as a drag from another program.
  void Drop(const QString& text, QPoint at) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor->viewport(), &drop);
  }
  void Paste(const char* text) {
    QGuiApplication::clipboard()->setText(text);
    Key(Qt::Key_V, Qt::ControlModifier);
  }
  void ShiftHome() { Key(Qt::Key_Home, Qt::ShiftModifier); }
  void ShiftLeft() { Key(Qt::Key_Left, Qt::ShiftModifier); }
  std::string Text() const { return EditorBytes(*editor); }

  SingleStepUndo undo{editor.get(), &buffer};
};

// After "12" typed at the end of line 2 the caret goes to the end of line 1; `before` runs, then
// `last`, the step one undo must take back whole and alone.
struct StepCase {
  const char* name;
  std::function<void(UndoTest&)> before, last;
};

using T = UndoTest;
const auto kNothing = [](T&) {};
// clang-format off
const StepCase kSteps[] = {
    {"TypingTwoWords", kNothing, [](T& t) { t.Type(" and more"); }},
    {"TypingElsewhere", kNothing, [](T& t) { t.Key(Qt::Key_Home); t.Type("xyz "); }},
    {"TypingAfterCaretWentAwayAndBack", kNothing, [](T& t) { t.Keys({Qt::Key_Left, Qt::Key_Right}); t.Type("z"); }},
    {"Backspaces", kNothing, [](T& t) { t.Keys({Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace}); }},
    {"Deletes", kNothing, [](T& t) { t.Keys({Qt::Key_Home, Qt::Key_Delete, Qt::Key_Delete, Qt::Key_Delete}); }},
    {"LineBreak", kNothing, [](T& t) { t.Key(Qt::Key_Return); }},
    {"PasteKey", kNothing, [](T& t) { t.Paste("pasted"); }},
    {"PasteOverSelection", kNothing, [](T& t) { t.ShiftHome(); t.Paste("pasted"); }},
    {"Cut", kNothing, [](T& t) { t.ShiftHome(); t.Key(Qt::Key_X, Qt::ControlModifier); }},
    {"TypingOverSelection", kNothing, [](T& t) { t.ShiftLeft(); t.ShiftLeft(); t.Type("Q"); }},
    {"Drop", kNothing, [](T& t) { t.Drop("dropped", t.PointOf(2, 3)); }},
    {"KeypadInsert", kNothing, [](T& t) { t.buffer.InsertAtCaretAsUserEdit("7"); }},
    {"KeypadInsertOverSelection", kNothing, [](T& t) { t.ShiftHome(); t.buffer.InsertAtCaretAsUserEdit("+"); }},
    {"MenuPaste", kNothing, [](T& t) { QGuiApplication::clipboard()->setText("menu"); t.undo.StartNewAction(); t.editor->paste(); }},
    {"ClickAndType", kNothing, [](T& t) { QTest::mouseClick(t.editor->viewport(), Qt::LeftButton, {}, t.PointOf(2, 2)); t.Type("clicked"); }},
    {"ShiftForACapitalDoesNotSplitAWord", kNothing, [](T& t) { t.Type("a"); QTest::keyPress(t.editor.get(), Qt::Key_Shift); QTest::keyClick(t.editor.get(), 'B', Qt::ShiftModifier); QTest::keyRelease(t.editor.get(), Qt::Key_Shift); t.Type("c"); }},
    {"TypingOnAtTheEndOfARun", kNothing, [](T& t) { t.Type("12"); t.Type(" and 34"); }},
    {"AnArrowKeyAloneKeepsTheStep", kNothing, [](T& t) { t.Type("ab"); t.Keys({Qt::Key_Down, Qt::Key_Up}); }},
    // Scintilla makes the replaced selection and the first character one group and merges
    // nothing into it: the characters after it are a step of their own.
    {"TypingOnOverASelection", [](T& t) { t.ShiftHome(); t.Type("n"); }, [](T& t) { t.Type("ew"); }},
    {"DeleteAfterADeletedSelection", [](T& t) { t.ShiftLeft(); t.Key(Qt::Key_Delete); }, [](T& t) { t.Key(Qt::Key_Delete); }},
    {"BackspaceAfterADeletedSelection", [](T& t) { t.ShiftLeft(); t.Key(Qt::Key_Backspace); }, [](T& t) { t.Key(Qt::Key_Backspace); }},
    {"TypingAfterBackspaces", [](T& t) { t.Key(Qt::Key_Backspace); }, [](T& t) { t.Type("x"); }},
    {"OvertypedCharacters", [](T& t) { t.Key(Qt::Key_Insert); t.Type("F"); }, [](T& t) { t.Type("I"); }},
    {"TypingOnAfterAnEngineWrite", [](T& t) { t.Type("12"); t.buffer.ReplaceLine(2, "engine"); }, [](T& t) { t.Type("34"); }},
    {"TypingOnAfterTheEngineCaughtUp", [](T& t) { t.Type("12"); t.buffer.SetModified(false); }, [](T& t) { t.Type("34"); }},
    {"TypingAfterAKeypadInsert", [](T& t) { t.buffer.InsertAtCaretAsUserEdit("5"); }, [](T& t) { t.Type("6"); }},
    {"UndoAcrossTheEmptiedHistory", [](T& t) { t.Type("1"); }, [](T& t) { t.Key(Qt::Key_Home); t.Type("2"); }},
};
// clang-format on

class Steps : public UndoTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(Steps, OneUndoTakesBackTheLastStepWholeAndNothingBeforeIt) {
  buffer.SetCaretPos(2, 11);
  Type("12");
  buffer.SetCaretPos(1, 10);
  GetParam().before(*this);
  const std::string before_last = Text();
  GetParam().last(*this);
  const std::string after_last = Text();
  ASSERT_NE(after_last, before_last);
  buffer.SetModified(false);
  editor->undo();
  EXPECT_EQ(Text(), before_last);
  EXPECT_FALSE(CanUndo(*editor));
  EXPECT_TRUE(buffer.Modified());
  editor->redo();  // redo and undo again leave the one step in place
  EXPECT_EQ(Text(), after_last);
  editor->undo();
  EXPECT_EQ(Text(), before_last);
}

INSTANTIATE_TEST_SUITE_P(Sequences, Steps, ::testing::ValuesIn(kSteps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UndoWithoutBuffer, CountsWritesWithUndoCollectionOffAsNoUserAction) {
  std::unique_ptr<QsciScintilla> editor = MakeEditor();
  SingleStepUndo undo(editor.get());
  QTest::keyClicks(editor.get(), "ab");
  editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 0UL);
  editor->SendScintilla(Sci::SCI_INSERTTEXT, 0UL, "engine ");
  editor->SendScintilla(Sci::SCI_SETUNDOCOLLECTION, 1UL);
  editor->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
  QTest::keyClicks(editor.get(), "cd");
  editor->undo();
  EXPECT_EQ(EditorBytes(*editor), "engine ab");
  EXPECT_FALSE(CanUndo(*editor));
}

}  // namespace
}  // namespace numvex::testing
