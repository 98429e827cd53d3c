// The tape engine's line buffer over a real QsciScintilla: bytes, line breaks, the caret, and
// the difference between engine writes and user edits.
#include "app/scintilla_tape_buffer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "tape/document_text.h"

namespace numvex::testing {
namespace {

class BufferTest : public ::testing::Test {
 protected:
  BufferTest() : editor(MakeEditor()), buffer(editor.get()) {
    QObject::connect(&buffer, &ScintillaTapeBuffer::userTextChanged, [this] { ++user_changes; });
  }

  void Load(const std::vector<std::string>& lines, LineBreak style = LineBreak::LF) {
    const std::string brk = style == LineBreak::CRLF ? "\r\n" : "\n";
    buffer.SetDocumentText(Join(lines, brk) + brk, style);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (int i = 1; i <= buffer.LineCount(); ++i) lines.emplace_back(buffer.Line(i));
    return lines;
  }
  void SetSelection(int anchor_line, int anchor_column, int caret_line, int caret_column) {
    editor->SendScintilla(
        Sci::SCI_SETSEL,
        static_cast<unsigned long>(PositionOf(*editor, anchor_line, anchor_column)),
        PositionOf(*editor, caret_line, caret_column));
  }

  std::unique_ptr<QsciScintilla> editor;
  ScintillaTapeBuffer buffer;
  int user_changes = 0;
};

// Every byte but the two line-break bytes, in lines of 37, then an empty line and a short one.
std::vector<std::string> AllByteLines() {
  std::vector<std::string> lines(1);
  for (int b = 1; b < 256; ++b) {
    if (b == '\n' || b == '\r') continue;
    if (lines.back().size() == 37) lines.emplace_back();
    lines.back().push_back(static_cast<char>(b));
  }
  lines.emplace_back();
  lines.emplace_back("end");
  return lines;
}

class ByteRoundTrip : public BufferTest, public ::testing::WithParamInterface<LineBreak> {};

TEST_P(ByteRoundTrip, EveryByteSurvivesReadingRewritingAndSaving) {
  const LineBreak style = GetParam();
  const std::string brk = style == LineBreak::CRLF ? "\r\n" : "\n";
  const std::vector<std::string> lines = AllByteLines();
  // Set the text behind the buffer's back first, so reading is checked on its own.
  editor->SendScintilla(Sci::SCI_SETEOLMODE, style == LineBreak::CRLF ? 0UL : 2UL);
  SetEditorBytes(*editor, Join(lines, brk));
  ASSERT_EQ(Lines(), lines);

  std::vector<std::string> reversed = lines;
  for (std::string& line : reversed) std::reverse(line.begin(), line.end());
  for (int i = 1; i <= buffer.LineCount(); ++i) buffer.ReplaceLine(i, reversed[i - 1]);
  EXPECT_EQ(Lines(), reversed);
  EXPECT_EQ(EditorBytes(*editor), Join(reversed, brk));
  EXPECT_EQ(JoinDocument(buffer, style), Join(reversed, brk) + brk);

  // And through the loader, as a file comes in.
  buffer.SetDocumentText(Join(lines, brk) + brk, style);
  EXPECT_EQ(Lines(), lines);
  EXPECT_EQ(JoinDocument(buffer, style), Join(lines, brk) + brk);
}

TEST_P(ByteRoundTrip, AZeroByteIsWrittenAndReadToo) {
  const std::string with_zero("a\0b", 3);
  Load({"x", "y"}, GetParam());
  buffer.ReplaceLine(1, with_zero);
  buffer.InsertLine(2, with_zero);
  EXPECT_EQ(Lines(), (std::vector<std::string>{with_zero, with_zero, "y"}));
}

INSTANTIATE_TEST_SUITE_P(LineBreaks, ByteRoundTrip,
                         ::testing::Values(LineBreak::LF, LineBreak::CRLF));

struct LoadCase {
  const char* name;
  std::string bytes;
  LineBreak style;
  std::string editor_bytes;
  int eol_mode;  // SC_EOL_CRLF 0, SC_EOL_LF 2
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class LoadTest : public BufferTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, LinesAreReadAsAFileHoldsThemAndLoadingIsNoUserEdit) {
  const LoadCase& c = GetParam();
  QTest::keyClicks(editor.get(), "typed");  // something to undo, a modified editor
  user_changes = 0;
  buffer.SetDocumentText(c.bytes, c.style);
  EXPECT_EQ(EditorBytes(*editor), c.editor_bytes);
  EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETEOLMODE), c.eol_mode);
  EXPECT_EQ(user_changes, 0);
  EXPECT_FALSE(buffer.Modified());
  EXPECT_FALSE(editor->isModified());
  EXPECT_FALSE(CanUndo(*editor));
  EXPECT_EQ(buffer.CaretLine(), 1);
  EXPECT_EQ(buffer.CaretColumn(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadTest,
    ::testing::Values(LoadCase{"LfFinalBreak", "a\nb\n", LineBreak::LF, "a\nb", 2},
                      LoadCase{"CrLfFinalBreak", "a\r\nb\r\n", LineBreak::CRLF, "a\r\nb", 0},
                      LoadCase{"LoneCr", "a\rb", LineBreak::CRLF, "a\r\nb", 0},
                      LoadCase{"MixedToLf", "a\r\nb\rc\n", LineBreak::LF, "a\nb\nc", 2},
                      LoadCase{"EmptyLinesKept", "a\n\n\nb", LineBreak::LF, "a\n\n\nb", 2},
                      LoadCase{"NoBreak", "one", LineBreak::LF, "one", 2},
                      LoadCase{"Empty", "", LineBreak::CRLF, "", 0},
                      LoadCase{"OnlyABreak", "\r\n", LineBreak::CRLF, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- engine writes ---------------------------------------------------------------------------

struct WriteCase {
  const char* name;
  std::function<void(ScintillaTapeBuffer&)> write;
  std::vector<std::string> lines;  // after the write, starting from kStart
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::string> kStart = {"one", "two", "three", "four"};

const WriteCase kWrites[] = {
    {"ReplaceLonger",
     [](auto& b) { b.ReplaceLine(3, "three and more"); },
     {"one", "two", "three and more", "four"}},
    {"ReplaceShorter", [](auto& b) { b.ReplaceLine(3, "t"); }, {"one", "two", "t", "four"}},
    {"ReplaceEmpty", [](auto& b) { b.ReplaceLine(3, ""); }, {"one", "two", "", "four"}},
    {"InsertFirst",
     [](auto& b) { b.InsertLine(1, "zero"); },
     {"zero", "one", "two", "three", "four"}},
    {"InsertAtCaretLine",
     [](auto& b) { b.InsertLine(3, "new"); },
     {"one", "two", "new", "three", "four"}},
    {"InsertBelowCaret",
     [](auto& b) { b.InsertLine(4, "new"); },
     {"one", "two", "three", "new", "four"}},
    {"Append", [](auto& b) { b.InsertLine(5, "five"); }, {"one", "two", "three", "four", "five"}},
    {"DeleteAbove", [](auto& b) { b.DeleteLine(1); }, {"two", "three", "four"}},
    {"DeleteCaretLine", [](auto& b) { b.DeleteLine(3); }, {"one", "two", "four"}},
    {"DeleteLast", [](auto& b) { b.DeleteLine(4); }, {"one", "two", "three"}},
};

class EngineWrite : public BufferTest, public ::testing::WithParamInterface<WriteCase> {};

TEST_P(EngineWrite, ChangesTheLinesOnly) {
  Load(kStart);
  int modification_signals = 0;
  QObject::connect(editor.get(), &QsciScintilla::modificationChanged,
                   [&](bool) { ++modification_signals; });
  GetParam().write(buffer);
  EXPECT_EQ(modification_signals, 0);
  EXPECT_EQ(Lines(), GetParam().lines);
  EXPECT_EQ(user_changes, 0);
  EXPECT_FALSE(buffer.Modified());
  EXPECT_FALSE(editor->isModified());
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_P(EngineWrite, KeepsAUserEditsFlagAndLeavesNothingToUndo) {
  Load(kStart);
  buffer.SetCaretPos(1, 3);
  QTest::keyClicks(editor.get(), "!");
  ASSERT_TRUE(buffer.Modified());
  ASSERT_TRUE(CanUndo(*editor));
  const int changes = user_changes;
  GetParam().write(buffer);
  EXPECT_EQ(user_changes, changes);
  EXPECT_TRUE(buffer.Modified());
  // The typed step would now undo at a position the write has moved.
  EXPECT_FALSE(CanUndo(*editor));
  const std::string before = EditorBytes(*editor);
  editor->undo();
  EXPECT_EQ(EditorBytes(*editor), before);
}

TEST_P(EngineWrite, LeavesCaretAndSelectionOnTheirLinesAndColumns) {
  Load(kStart);
  SetSelection(1, 1, 3, 2);  // caret in "three" after "th", anchor on line 1
  GetParam().write(buffer);
  const int line_length = static_cast<int>(buffer.Line(3).size());
  EXPECT_EQ(buffer.CaretLine(), 3);
  EXPECT_EQ(buffer.CaretColumn(), std::min(2, line_length));
  // The user's selection still starts where it did: a recalculation must not drop it.
  const int first_length = static_cast<int>(buffer.Line(1).size());
  EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETANCHOR),
            PositionOf(*editor, 1, std::min(1, first_length)));
}

TEST_P(EngineWrite, ChangesNoCaretThatWasOnTheFirstLine) {
  Load(kStart);
  buffer.SetCaretPos(1, 0);
  GetParam().write(buffer);
  EXPECT_EQ(buffer.CaretLine(), 1);
  EXPECT_EQ(buffer.CaretColumn(), 0);
}

INSTANTIATE_TEST_SUITE_P(Writes, EngineWrite, ::testing::ValuesIn(kWrites),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BufferTest, DeletingTheCaretsLastLinePutsTheCaretOnTheNewLastLine) {
  Load(kStart);
  buffer.SetCaretPos(4, 3);
  buffer.DeleteLine(4);
  EXPECT_EQ(buffer.CaretLine(), 3);
  EXPECT_EQ(buffer.CaretColumn(), 3);
}

TEST_F(BufferTest, AScopeAroundSeveralWritesKeepsTheCaretTheEnginePlacedLast) {
  Load(kStart);
  buffer.SetCaretPos(2, 1);
  {
    ScintillaTapeBuffer::EngineWriteScope scope(buffer);
    buffer.InsertLine(1, "zero");
    buffer.SetCaretPos(5, 2);
    buffer.ReplaceLine(1, "0");
    buffer.DeleteLine(2);
    EXPECT_EQ(user_changes, 0);
  }
  EXPECT_EQ(Lines(), (std::vector<std::string>{"0", "two", "three", "four"}));
  EXPECT_EQ(buffer.CaretLine(), 4);  // line 5 went with the delete: the last line
  EXPECT_EQ(buffer.CaretColumn(), 2);
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_F(BufferTest, AScopeWithoutWritesLeavesCaretAndUndoAlone) {
  Load(kStart);
  buffer.SetCaretPos(2, 3);
  QTest::keyClicks(editor.get(), "x");
  {
    ScintillaTapeBuffer::EngineWriteScope scope(buffer);
    buffer.ReplaceLine(1, "one");  // the same bytes: no write
  }
  EXPECT_TRUE(CanUndo(*editor));
  EXPECT_EQ(buffer.CaretColumn(), 4);
}

TEST_F(BufferTest, RewritingALineToTheSameBytesKeepsTheUndoStep) {
  Load(kStart);
  buffer.SetCaretPos(1, 3);
  QTest::keyClicks(editor.get(), "!");
  buffer.ReplaceLine(2, "two");
  EXPECT_TRUE(CanUndo(*editor));
  editor->undo();
  EXPECT_EQ(Lines(), kStart);
}

class LineBreakKept : public BufferTest, public ::testing::WithParamInterface<LineBreak> {};

TEST_P(LineBreakKept, InsertedAndDeletedLinesUseTheDocumentsBreak) {
  const std::string brk = GetParam() == LineBreak::CRLF ? "\r\n" : "\n";
  Load({"a", "b"}, GetParam());
  buffer.InsertLine(2, "mid");
  buffer.InsertLine(4, "end");
  buffer.InsertLine(1, "top");
  EXPECT_EQ(EditorBytes(*editor), Join({"top", "a", "mid", "b", "end"}, brk));
  buffer.DeleteLine(5);
  buffer.DeleteLine(1);
  EXPECT_EQ(EditorBytes(*editor), Join({"a", "mid", "b"}, brk));
  EXPECT_EQ(JoinDocument(buffer, GetParam()), Join({"a", "mid", "b"}, brk) + brk);
}

INSTANTIATE_TEST_SUITE_P(LineBreaks, LineBreakKept,
                         ::testing::Values(LineBreak::LF, LineBreak::CRLF));

TEST_F(BufferTest, TheOnlyLineIsEmptiedNotRemoved) {
  Load({"only"});
  buffer.DeleteLine(1);
  EXPECT_EQ(buffer.LineCount(), 1);
  EXPECT_EQ(EditorBytes(*editor), "");
}

TEST_F(BufferTest, LinesOutsideTheDocumentReadEmptyAndIgnoreWrites) {
  Load(kStart);
  EXPECT_EQ(buffer.Line(0), "");
  EXPECT_EQ(buffer.Line(5), "");
  buffer.ReplaceLine(0, "x");
  buffer.ReplaceLine(5, "x");
  buffer.InsertLine(0, "x");
  buffer.InsertLine(6, "x");
  buffer.DeleteLine(5);
  EXPECT_EQ(Lines(), kStart);
}

// --- caret -----------------------------------------------------------------------------------

TEST_F(BufferTest, CaretColumnCountsBytesNotScreenColumns) {
  Load({"\tab", "x"});
  buffer.SetCaretPos(1, 2);
  EXPECT_EQ(buffer.CaretColumn(), 2);
  EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETCURRENTPOS), PositionOf(*editor, 1, 2));
  // Moving down and back up comes back to the same place: the column was remembered.
  QTest::keyClick(editor.get(), Qt::Key_Down);
  QTest::keyClick(editor.get(), Qt::Key_Up);
  EXPECT_EQ(buffer.CaretColumn(), 2);
}

struct CaretCase {
  const char* name;
  int line, column;                    // asked for
  int expected_line, expected_column;  // placed
};

void PrintTo(const CaretCase& c, std::ostream* os) { *os << c.name; }

class CaretPlacement : public BufferTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(CaretPlacement, IsClampedToTheDocumentAndCollapsesTheSelection) {
  Load(kStart);
  SetSelection(1, 0, 2, 2);
  const CaretCase& c = GetParam();
  buffer.SetCaretPos(c.line, c.column);
  EXPECT_EQ(buffer.CaretLine(), c.expected_line);
  EXPECT_EQ(buffer.CaretColumn(), c.expected_column);
  EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETANCHOR),
            editor->SendScintilla(Sci::SCI_GETCURRENTPOS));
}

INSTANTIATE_TEST_SUITE_P(Places, CaretPlacement,
                         ::testing::Values(CaretCase{"Inside", 3, 4, 3, 4},
                                           CaretCase{"LineEnd", 2, 3, 2, 3},
                                           CaretCase{"PastLineEnd", 2, 99, 2, 3},
                                           CaretCase{"PastLastLine", 9, 1, 4, 1},
                                           CaretCase{"BeforeFirstLine", 0, 2, 1, 2},
                                           CaretCase{"NegativeColumn", 3, -1, 3, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BufferTest, PlacedCaretIsScrolledIntoView) {
  Load(std::vector<std::string>(500, "line"));
  buffer.SetCaretPos(400, 2);
  const long first = editor->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
  const long shown = editor->SendScintilla(Sci::SCI_LINESONSCREEN);
  EXPECT_LE(first, 399);
  EXPECT_GT(first + shown, 399);
}

// --- user edits ------------------------------------------------------------------------------

TEST_F(BufferTest, TypingIsAUserEdit) {
  Load(kStart);
  buffer.SetCaretPos(2, 3);
  QTest::keyClicks(editor.get(), "12");
  EXPECT_EQ(buffer.Line(2), "two12");
  EXPECT_EQ(user_changes, 2);
  EXPECT_TRUE(buffer.Modified());
  EXPECT_TRUE(editor->isModified());
  QTest::keyClick(editor.get(), Qt::Key_Return);
  EXPECT_EQ(user_changes, 3);
  EXPECT_EQ(buffer.LineCount(), 5);
}

TEST_F(BufferTest, UndoAndRedoAreUserEditsThatSetTheFlag) {
  Load(kStart);
  buffer.SetCaretPos(2, 3);
  QTest::keyClicks(editor.get(), "x");
  buffer.SetModified(false);
  const int changes = user_changes;
  editor->undo();
  EXPECT_GT(user_changes, changes);
  EXPECT_TRUE(buffer.Modified());
  buffer.SetModified(false);
  editor->redo();
  EXPECT_TRUE(buffer.Modified());
  EXPECT_EQ(buffer.Line(2), "twox");
}

TEST_F(BufferTest, SetModifiedClearsAndSetsTheFlag) {
  Load(kStart);
  QTest::keyClicks(editor.get(), "x");
  buffer.SetModified(false);
  EXPECT_FALSE(buffer.Modified());
  EXPECT_FALSE(editor->isModified());
  buffer.SetModified(true);
  EXPECT_TRUE(buffer.Modified());
}

TEST_F(BufferTest, KeypadInsertReplacesTheSelectionAsAUserEditAndLeavesTheClipboard) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText("copied by the user");
  Load(kStart);
  SetSelection(2, 1, 2, 3);  // "wo"
  buffer.InsertAtCaretAsUserEdit("5");
  EXPECT_EQ(buffer.Line(2), "t5");
  EXPECT_EQ(buffer.CaretLine(), 2);
  EXPECT_EQ(buffer.CaretColumn(), 2);
  EXPECT_GT(user_changes, 0);
  EXPECT_TRUE(buffer.Modified());
  EXPECT_EQ(clipboard->text(), "copied by the user");
  // A replaced selection comes back in one undo.
  editor->undo();
  EXPECT_EQ(buffer.Line(2), "two");
}

TEST_F(BufferTest, KeypadInsertTakesLatin1Characters) {
  Load({""});
  buffer.InsertAtCaretAsUserEdit(QString(QChar(0xF7)) + "7");  // the division sign, then 7
  EXPECT_EQ(buffer.Line(1),
            "\xF7"
            "7");
}

}  // namespace
}  // namespace numvex::testing
