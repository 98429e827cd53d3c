// The tape engine's line buffer over a real QsciScintilla: bytes, line breaks, the caret and
// the selection, and the difference between engine writes and user edits.
#include "app/scintilla_tape_buffer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <algorithm>
#include <vector>

#include "editor_fixture.h"
#include "tape/document_text.h"

namespace numvex::testing {
namespace {

const Tape kStart = {"one", "two", "three", "four"};

class BufferTest : public ::testing::Test {
 protected:
  BufferTest() : editor(MakeEditor()), buffer(editor.get()) {
    QObject::connect(&buffer, &ScintillaTapeBuffer::userTextChanged, [this] { ++user_changes; });
  }
  void Load(const Tape& lines, LineBreak style = LineBreak::LF) {
    const std::string brk = style == LineBreak::CRLF ? "\r\n" : "\n";
    buffer.SetDocumentText(Join(lines, brk) + brk, style);
  }
  Tape Lines() const {
    Tape lines;
    for (int i = 1; i <= buffer.LineCount(); ++i) lines.emplace_back(buffer.Line(i));
    return lines;
  }
  void Select(int anchor_line, int anchor_column, int caret_line, int caret_column) {
    editor->SendScintilla(
        Sci::SCI_SETSEL,
        static_cast<unsigned long>(PositionOf(*editor, anchor_line, anchor_column)),
        PositionOf(*editor, caret_line, caret_column));
  }
  long Anchor() const { return editor->SendScintilla(Sci::SCI_GETANCHOR); }
  long CaretPos() const { return editor->SendScintilla(Sci::SCI_GETCURRENTPOS); }

  std::unique_ptr<QsciScintilla> editor;
  ScintillaTapeBuffer buffer;
  int user_changes = 0;
};

class LineBreakTest : public BufferTest, public ::testing::WithParamInterface<LineBreak> {
 protected:
  std::string Break() const { return GetParam() == LineBreak::CRLF ? "\r\n" : "\n"; }
};

TEST_P(LineBreakTest, EveryByteSurvivesReadingRewritingAndLoading) {
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
  SetEditorBytes(*editor, Join(lines, Break()));
  ASSERT_EQ(Lines(), lines);
  Tape reversed = lines;
  for (std::string& line : reversed) std::reverse(line.begin(), line.end());
  for (int i = 1; i <= buffer.LineCount(); ++i) buffer.ReplaceLine(i, reversed[i - 1]);
  EXPECT_EQ(EditorBytes(*editor), Join(reversed, Break()));
  EXPECT_EQ(JoinDocument(buffer, GetParam()), Join(reversed, Break()) + Break());
  buffer.SetDocumentText(Join(lines, Break()) + Break(), GetParam());
  EXPECT_EQ(Lines(), lines);
  // A zero byte, too.
  const std::string with_zero("a\0b", 3);
  buffer.ReplaceLine(1, with_zero);
  buffer.InsertLine(2, with_zero);
  EXPECT_EQ(Lines()[0], with_zero);
  EXPECT_EQ(Lines()[1], with_zero);
}

TEST_P(LineBreakTest, InsertedAndDeletedLinesUseTheDocumentsBreak) {
  Load({"a", "b"}, GetParam());
  buffer.InsertLine(2, "mid");
  buffer.InsertLine(4, "end");
  buffer.InsertLine(1, "top");
  EXPECT_EQ(EditorBytes(*editor), Join({"top", "a", "mid", "b", "end"}, Break()));
  buffer.DeleteLine(5);
  buffer.DeleteLine(1);
  EXPECT_EQ(EditorBytes(*editor), Join({"a", "mid", "b"}, Break()));
}

INSTANTIATE_TEST_SUITE_P(Breaks, LineBreakTest, ::testing::Values(LineBreak::LF, LineBreak::CRLF),
                         [](const auto& info) {
                           return std::string(info.param == LineBreak::LF ? "Lf" : "CrLf");
                         });

struct LoadCase {
  const char* name;
  std::string bytes;
  LineBreak style;
  std::string editor_bytes;
};

class LoadTest : public BufferTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, LinesAreReadAsAFileHoldsThemAndLoadingIsNoUserEdit) {
  const LoadCase& c = GetParam();
  QTest::keyClicks(editor.get(), "typed");  // something to undo, a modified editor
  user_changes = 0;
  buffer.SetDocumentText(c.bytes, c.style);
  EXPECT_EQ(EditorBytes(*editor), c.editor_bytes);
  EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETEOLMODE),
            c.style == LineBreak::CRLF ? Sci::SC_EOL_CRLF : Sci::SC_EOL_LF);
  EXPECT_EQ(user_changes, 0);
  EXPECT_FALSE(buffer.Modified());
  EXPECT_FALSE(editor->isModified());
  EXPECT_FALSE(CanUndo(*editor));
  EXPECT_EQ(CaretPos(), 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, LoadTest, ::testing::Values(
    LoadCase{"LfFinalBreak", "a\nb\n", LineBreak::LF, "a\nb"},
    LoadCase{"CrLfFinalBreak", "a\r\nb\r\n", LineBreak::CRLF, "a\r\nb"},
    LoadCase{"LoneCr", "a\rb", LineBreak::CRLF, "a\r\nb"}, LoadCase{"MixedToLf", "a\r\nb\rc\n", LineBreak::LF, "a\nb\nc"},
    LoadCase{"EmptyLinesKept", "a\n\n\nb", LineBreak::LF, "a\n\n\nb"}, LoadCase{"NoBreak", "one", LineBreak::LF, "one"},
    LoadCase{"Empty", "", LineBreak::CRLF, ""}, LoadCase{"OnlyABreak", "\r\n", LineBreak::CRLF, ""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// --- engine writes ---------------------------------------------------------------------------

// An engine write: 'R'eplace, 'I'nsert before or 'D'elete a line.
struct Write {
  char op;
  int line;
  const char* text = "";
};

void Apply(ScintillaTapeBuffer& buffer, const std::vector<Write>& writes) {
  for (const Write& w : writes) {
    if (w.op == 'R') buffer.ReplaceLine(w.line, w.text);
    if (w.op == 'I') buffer.InsertLine(w.line, w.text);
    if (w.op == 'D') buffer.DeleteLine(w.line);
  }
}

struct WriteCase {
  const char* name;
  Write write;
  Tape lines;  // after the write, starting from kStart
};

class EngineWrite : public BufferTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(EngineWrite, ChangesTheLinesOnlyAndLeavesNothingToUndo) {
  Load(kStart);
  int modification_signals = 0;
  QObject::connect(editor.get(), &QsciScintilla::modificationChanged,
                   [&](bool) { ++modification_signals; });
  Apply(buffer, {GetParam().write});
  EXPECT_EQ(Lines(), GetParam().lines);
  EXPECT_EQ(modification_signals, 0);
  EXPECT_EQ(user_changes, 0);
  EXPECT_FALSE(buffer.Modified());
  EXPECT_FALSE(editor->isModified());
  EXPECT_FALSE(CanUndo(*editor));
  // After a user edit the flag stays, and the typed step, whose position the write may have
  // moved, is gone.
  Load(kStart);
  buffer.SetCaretPos(1, 3);
  QTest::keyClicks(editor.get(), "!");
  ASSERT_TRUE(CanUndo(*editor));
  Apply(buffer, {GetParam().write});
  EXPECT_EQ(user_changes, 1);
  EXPECT_TRUE(buffer.Modified());
  EXPECT_FALSE(CanUndo(*editor));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Writes, EngineWrite, ::testing::Values(
    WriteCase{"ReplaceLonger", {'R', 3, "three and more"}, {"one", "two", "three and more", "four"}},
    WriteCase{"ReplaceEmpty", {'R', 3, ""}, {"one", "two", "", "four"}},
    WriteCase{"InsertFirst", {'I', 1, "zero"}, {"zero", "one", "two", "three", "four"}},
    WriteCase{"InsertInside", {'I', 3, "new"}, {"one", "two", "new", "three", "four"}},
    WriteCase{"Append", {'I', 5, "five"}, {"one", "two", "three", "four", "five"}},
    WriteCase{"DeleteFirst", {'D', 1}, {"two", "three", "four"}},
    WriteCase{"DeleteInside", {'D', 3}, {"one", "two", "four"}},
    WriteCase{"DeleteLast", {'D', 4}, {"one", "two", "three"}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

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
  Apply(buffer, c.writes);
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
    SelectionCase{"WholeTextWithAnAppendedLine", {1, 0, 4, 4}, {{'I', 5, "five"}}, {1, 0, 5, 4}},
    SelectionCase{"LineEndStaysAtTheEnd", {1, 1, 3, 5}, {{'R', 3, "3 three"}}, {1, 1, 3, 7}},
    SelectionCase{"InsideKeepsItsDistanceFromTheEnd", {1, 1, 3, 2}, {{'R', 3, "xx three"}}, {1, 1, 3, 5}},
    SelectionCase{"LineStartStaysAtTheStart", {3, 0, 4, 2}, {{'R', 3, "xx three"}}, {3, 0, 4, 2}},
    SelectionCase{"ShortenedLineClampsToItsStart", {1, 1, 3, 1}, {{'R', 3, "t"}}, {1, 1, 3, 0}},
    SelectionCase{"SeveralWritesInARow", {1, 1, 3, 2}, {{'R', 3, "xx three"}, {'R', 3, "yyy xx three"}}, {1, 1, 3, 9}},
    SelectionCase{"InsertAboveMovesDown", {2, 1, 3, 2}, {{'I', 1, "zero"}}, {3, 1, 4, 2}},
    SelectionCase{"InsertBelowLeavesAlone", {2, 1, 3, 2}, {{'I', 4, "new"}}, {2, 1, 3, 2}},
    SelectionCase{"DeleteAboveMovesUp", {2, 1, 3, 2}, {{'D', 1}}, {1, 1, 2, 2}},
    SelectionCase{"EndOnADeletedLineGoesToTheNextLine", {1, 1, 3, 2}, {{'D', 3}}, {1, 1, 3, 0}},
    SelectionCase{"EndOnTheDeletedLastLineGoesUp", {1, 1, 4, 2}, {{'D', 4}}, {1, 1, 3, 5}},
    SelectionCase{"LoneCaretKeepsLineAndColumn", {3, 2, 3, 2}, {{'I', 1, "zero"}}, {3, 2, 3, 2}},
    SelectionCase{"LoneCaretOnTheDeletedLastLine", {4, 3, 4, 3}, {{'D', 4}}, {3, 3, 3, 3}},
    SelectionCase{"LoneCaretOnTheFirstLine", {1, 0, 1, 0}, {{'D', 1}}, {1, 0, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(BufferTest, AScopeAroundSeveralWritesKeepsTheCaretTheEnginePlacedLast) {
  Load(kStart);
  Select(1, 1, 2, 1);
  {
    ScintillaTapeBuffer::EngineWriteScope scope(buffer);
    buffer.InsertLine(1, "zero");
    buffer.SetCaretPos(5, 2);
    buffer.ReplaceLine(1, "0");
    buffer.DeleteLine(2);
    EXPECT_EQ(user_changes, 0);
  }
  EXPECT_EQ(Lines(), (Tape{"0", "two", "three", "four"}));
  EXPECT_EQ(buffer.CaretLine(), 4);  // line 5 went with the delete: the last line
  EXPECT_EQ(buffer.CaretColumn(), 2);
  EXPECT_EQ(Anchor(), CaretPos());
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_F(BufferTest, WritesOfTheSameBytesKeepCaretAndUndoStep) {
  Load(kStart);
  buffer.SetCaretPos(2, 3);
  QTest::keyClicks(editor.get(), "x");
  {
    ScintillaTapeBuffer::EngineWriteScope scope(buffer);
    buffer.ReplaceLine(1, "one");
  }
  buffer.ReplaceLine(3, "three");
  EXPECT_EQ(buffer.CaretColumn(), 4);
  ASSERT_TRUE(CanUndo(*editor));
  editor->undo();
  EXPECT_EQ(Lines(), kStart);
}

TEST_F(BufferTest, TheOnlyLineIsEmptiedAndLinesOutsideReadEmptyAndIgnoreWrites) {
  Load(kStart);
  EXPECT_EQ(buffer.Line(0), "");
  EXPECT_EQ(buffer.Line(5), "");
  buffer.ReplaceLine(0, "x");
  buffer.ReplaceLine(5, "x");
  buffer.InsertLine(0, "x");
  buffer.InsertLine(6, "x");
  buffer.DeleteLine(5);
  EXPECT_EQ(Lines(), kStart);
  Load({"only"});
  buffer.DeleteLine(1);
  EXPECT_EQ(buffer.LineCount(), 1);
  EXPECT_EQ(EditorBytes(*editor), "");
}

// --- caret -----------------------------------------------------------------------------------

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
    EXPECT_EQ(buffer.CaretColumn(), c.expected_column);
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

// --- user edits ------------------------------------------------------------------------------

TEST_F(BufferTest, TypingUndoAndRedoAreUserEditsThatSetTheFlag) {
  Load(kStart);
  buffer.SetCaretPos(2, 3);
  QTest::keyClicks(editor.get(), "12");
  QTest::keyClick(editor.get(), Qt::Key_Return);
  EXPECT_EQ(Lines(), (Tape{"one", "two12", "", "three", "four"}));
  EXPECT_EQ(user_changes, 3);
  EXPECT_TRUE(buffer.Modified());
  buffer.SetModified(false);
  EXPECT_FALSE(editor->isModified());
  editor->undo();
  EXPECT_TRUE(buffer.Modified());
  buffer.SetModified(false);
  editor->redo();
  EXPECT_TRUE(buffer.Modified());
  EXPECT_GT(user_changes, 3);
}

TEST_F(BufferTest, KeypadInsertReplacesTheSelectionAsOneUserEditAndLeavesTheClipboard) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText("copied by the user");
  Load(kStart);
  Select(2, 1, 2, 3);                                          // "wo"
  buffer.InsertAtCaretAsUserEdit(QString(QChar(0xF7)) + "7");  // Latin-1: the division sign
  EXPECT_EQ(buffer.Line(2),
            "t\xF7"
            "7");
  EXPECT_EQ(CaretPos(), PositionOf(*editor, 2, 3));
  EXPECT_GT(user_changes, 0);
  EXPECT_TRUE(buffer.Modified());
  EXPECT_EQ(clipboard->text(), "copied by the user");
  editor->undo();
  EXPECT_EQ(buffer.Line(2), "two");
}

}  // namespace
}  // namespace numvex::testing
