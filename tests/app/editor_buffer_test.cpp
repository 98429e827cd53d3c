// The tape engine's line buffer on a real QsciScintilla, and one-step undo on it.
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <functional>

#include "app/editor_options.h"
#include "app/scintilla_tape_buffer.h"
#include "app/single_step_undo.h"
#include "editor_fixture.h"
#include "tape/document_text.h"

namespace numvex::testing {
namespace {

const Tape kStart = {"one", "two", "three", "four"};

// An engine write: 'R'eplace, 'I'nsert before or 'D'elete a line.
using Write = std::tuple<char, int, std::string_view>;

class BufferTest : public ::testing::Test {
 public:
  BufferTest() : editor(MakeEditor()), buffer(editor.get()) {
    QObject::connect(&buffer, &ScintillaTapeBuffer::userTextChanged, [this] { ++user_changes; });
  }
  void Load(const Tape& lines) { buffer.SetDocumentText(Join(lines, "\n"), LineBreak::LF); }
  void Apply(const std::vector<Write>& writes) {
    for (const auto& [op, line, text] : writes) {
      if (op == 'R') buffer.ReplaceLine(line, text);
      if (op == 'I') buffer.InsertLine(line, text);
      if (op == 'D') buffer.DeleteLine(line);
    }
  }
  long At(int line, int column) const { return PositionOf(*editor, line, column); }
  void Select(int line, int column, int caret_line, int caret_column) {
    editor->SendScintilla(Sci::SCI_SETSEL, static_cast<unsigned long>(At(line, column)),
                          At(caret_line, caret_column));
  }
  std::pair<long, long> AnchorAndCaret() const {
    return {editor->SendScintilla(Sci::SCI_GETANCHOR),
            editor->SendScintilla(Sci::SCI_GETCURRENTPOS)};
  }
  bool AnyChangeSeen() const {
    return user_changes > 0 || buffer.Modified() || editor->isModified() || CanUndo(*editor);
  }

  std::unique_ptr<QsciScintilla> editor;
  ScintillaTapeBuffer buffer;
  int user_changes = 0;
};

class LineBreakTest : public BufferTest, public ::testing::WithParamInterface<LineBreak> {};

// Every byte survives loading through the window (document test); here the engine's writes.
TEST_P(LineBreakTest, LoadingKeepsTheBytesAndWritesUseTheDocumentsBreak) {
  const bool crlf = GetParam() == LineBreak::CRLF;
  const std::string brk = crlf ? "\r\n" : "\n", other = crlf ? "\n" : "\r\n";
  QTest::keyClicks(editor.get(), "typed");
  user_changes = 0;
  // The other break's bytes stay, but for one final break; no user edit.
  buffer.SetDocumentText("a" + other + "b" + other, GetParam());
  EXPECT_EQ(EditorBytes(*editor), "a" + other + "b");
  EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETEOLMODE), crlf ? Sci::SC_EOL_CRLF : Sci::SC_EOL_LF);
  EXPECT_FALSE(AnyChangeSeen() || AnchorAndCaret() != std::pair(0L, 0L));
  const std::string_view zero("a\0b", 3);  // a zero byte, too
  Apply({{'R', 1, zero}, {'I', 2, zero}});
  EXPECT_EQ(std::pair(buffer.Line(1), buffer.Line(2)), std::pair(zero, zero));
  buffer.SetDocumentText("a" + brk + "b", GetParam());
  Apply({{'I', 2, "mid"}, {'I', 4, "end"}, {'I', 1, "top"}});
  EXPECT_EQ(EditorBytes(*editor), Join({"top", "a", "mid", "b", "end"}, brk));
  Apply({{'D', 5, ""}, {'D', 1, ""}});
  EXPECT_EQ(EditorBytes(*editor), Join({"a", "mid", "b"}, brk));
}

INSTANTIATE_TEST_SUITE_P(Breaks, LineBreakTest, ::testing::Values(LineBreak::LF, LineBreak::CRLF),
                         [](const auto& i) { return i.param == LineBreak::LF ? "Lf" : "CrLf"; });

TEST_F(BufferTest, EngineWritesAreNoUserEditsAndEmptyTheUndoHistory) {
  int flag_changes = 0;
  QObject::connect(editor.get(), &QsciScintilla::modificationChanged, [&] { ++flag_changes; });
  for (const auto& [op, line, text] : std::vector<Write>{
           {'R', 3, "3"}, {'I', 1, "0"}, {'I', 5, "5"}, {'D', 2, ""}, {'D', 4, ""}}) {
    // After a user edit the flag stays; the typed step, which the write may have moved, is gone.
    Load(kStart);
    buffer.SetCaretPos(1, 3);
    QTest::keyClicks(editor.get(), "!");
    ASSERT_TRUE(CanUndo(*editor));
    Apply({{op, line, text}});
    EXPECT_TRUE(buffer.Modified() && !CanUndo(*editor)) << op << line;
    Load(kStart);
    flag_changes = user_changes = 0;
    Apply({{op, line, text}});
    EXPECT_FALSE(flag_changes > 0 || AnyChangeSeen()) << op << line;
  }
}

// A selection stays over the same text through the engine's writes; a lone caret keeps its line
// and column. Places are {anchor line, column, caret line, column}, in kStart.
TEST_F(BufferTest, SelectionKeptThroughEngineWrites) {
  // clang-format off
  const struct { const char* name; int before[4]; std::vector<Write> writes; int after[4]; } kCases[] = {
      {"WholeTextOverAGrownLastLine", {1, 0, 4, 4}, {{'R', 4, "four and more"}}, {1, 0, 4, 13}},
      {"WholeTextCaretFirst", {4, 4, 1, 0}, {{'I', 1, "zero"}, {'R', 5, "4"}}, {5, 1, 1, 0}},
      {"InsideKeepsItsDistanceFromTheEnd", {1, 1, 3, 2}, {{'R', 3, "xx three"}}, {1, 1, 3, 5}},
      {"LineStartStaysAtTheStart", {3, 0, 4, 2}, {{'R', 3, "xx three"}}, {3, 0, 4, 2}},
      {"ShortenedLineClampsToItsStart", {1, 1, 3, 1}, {{'R', 3, "t"}}, {1, 1, 3, 0}},
      {"SeveralWritesInARow", {1, 1, 3, 2}, {{'R', 3, "xx three"}, {'R', 3, "yyy xx three"}}, {1, 1, 3, 9}},
      {"InsertAboveMovesDown", {2, 1, 3, 2}, {{'I', 2, "zero"}, {'I', 5, "new"}}, {3, 1, 4, 2}},
      {"DeleteAboveMovesUp", {2, 1, 3, 2}, {{'D', 1, ""}}, {1, 1, 2, 2}},
      {"EndOnADeletedLineGoesToTheNextLine", {1, 1, 3, 2}, {{'D', 3, ""}}, {1, 1, 3, 0}},
      {"EndOnTheDeletedLastLineGoesUp", {1, 1, 4, 2}, {{'D', 4, ""}}, {1, 1, 3, 5}},
      {"LoneCaretKeepsLineAndColumn", {3, 2, 3, 2}, {{'I', 1, "zero"}}, {3, 2, 3, 2}},
      {"LoneCaretOnTheDeletedLastLine", {4, 3, 4, 3}, {{'D', 4, ""}}, {3, 3, 3, 3}}};
  // clang-format on
  for (const auto& c : kCases) {
    Load(kStart);
    Select(c.before[0], c.before[1], c.before[2], c.before[3]);
    Apply(c.writes);
    const std::pair expected(At(c.after[0], c.after[1]), At(c.after[2], c.after[3]));
    EXPECT_EQ(AnchorAndCaret(), expected) << c.name;
    // The engine puts the caret back where it read it: the selection stays as it is.
    buffer.SetCaretPos(c.before[2], c.before[3]);
    EXPECT_EQ(AnchorAndCaret(), expected) << c.name;
  }
}

// A scope around several writes keeps the caret the engine placed last; writes of the same
// bytes keep the caret and the typed step.
TEST_F(BufferTest, WriteScopes) {
  Load(kStart);
  Select(1, 1, 2, 1);
  {
    ScintillaTapeBuffer::EngineWriteScope scope(buffer);
    Apply({{'I', 1, "zero"}});
    buffer.SetCaretPos(5, 2);
    Apply({{'R', 1, "0"}, {'D', 2, ""}});
  }
  EXPECT_EQ(LinesOf(buffer), (Tape{"0", "two", "three", "four"}));
  EXPECT_EQ(std::pair(buffer.CaretLine(), buffer.CaretColumn()), std::pair(4, 2));  // line 5 went
  EXPECT_EQ(AnchorAndCaret(), std::pair(At(4, 2), At(4, 2)));
  EXPECT_FALSE(CanUndo(*editor));
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
  EXPECT_EQ(LinesOf(buffer), kStart);
}

TEST_F(BufferTest, CaretIsPlacedClampedByBytesCollapsesTheSelectionAndScrolls) {
  // clang-format off
  const struct { int line, column, expected_line, expected_column; } kCases[] = {
      {3, 4, 3, 4}, {2, 2, 2, 2} /* after the tab */, {2, 99, 2, 4}, {900, 1, 500, 1}, {0, 2, 1, 2}, {3, -1, 3, 0}};
  // clang-format on
  Tape lines(500, "line");
  lines[1] = "\ttwo";
  Load(lines);
  for (const auto& c : kCases) {
    Select(1, 0, 1, 1);
    buffer.SetCaretPos(c.line, c.column);
    const long at = At(c.expected_line, c.expected_column), line = c.expected_line - 1;
    const long first = editor->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE);
    EXPECT_EQ(AnchorAndCaret(), std::pair(at, at)) << c.line;
    EXPECT_TRUE(first <= line && line < first + editor->SendScintilla(Sci::SCI_LINESONSCREEN));
  }
  // Down and back up comes back to the same byte: the column was remembered.
  buffer.SetCaretPos(2, 2);
  QTest::keyClick(editor.get(), Qt::Key_Down);
  QTest::keyClick(editor.get(), Qt::Key_Up);
  EXPECT_EQ(buffer.CaretColumn(), 2);
}

TEST_F(BufferTest, TypingUndoAndRedoAreUserEditsThatSetTheFlag) {
  Load(kStart);
  buffer.SetCaretPos(2, 3);
  QTest::keyClicks(editor.get(), "12\r");
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

// Keys run with the insertion and deletion reports held back; each comes once the key is done.
TEST_F(BufferTest, KeysReportEachChangeAfterwardsInOrder) {
  Load({"ab", "cd"});
  editor->setAutoIndent(true);
  Select(1, 2, 1, 1);  // "b"
  std::vector<std::tuple<int, int, std::string, int, int>> reports;
  QObject::connect(editor.get(), &Sci::SCN_MODIFIED,
                   [&](int position, int type, const char* text, int length, int lines, int, int,
                       int, int, int) {
                     if (type & (Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT)) {
                       reports.emplace_back(position, type, text, length, lines);
                     }
                   });
  const int user = Sci::SC_PERFORMED_USER;
  QTest::keyClick(editor.get(), Qt::Key_Return);
  QTest::keyClick(editor.get(), Qt::Key_Backspace);
  using R = decltype(reports)::value_type;
  EXPECT_EQ(reports, (std::vector<R>{R{1, Sci::SC_MOD_DELETETEXT | user, "b", 1, 0},
                                     R{1, Sci::SC_MOD_INSERTTEXT | user, "\n", 1, 1},
                                     R{1, Sci::SC_MOD_DELETETEXT | user, "\n", 1, -1}}));
  EXPECT_EQ(user_changes, 3);
  EXPECT_EQ(LinesOf(buffer), (Tape{"a", "cd"}));
}

// The widget tells of caret moves itself: line and character index, also in UTF-8, where a
// character may take several bytes.
TEST(EditorWidget, CaretMovesTellTheLineAndCharacterIndex) {
  for (const bool utf8 : {false, true}) {
    std::unique_ptr<QsciScintilla> editor = MakeEditor();
    editor->setUtf8(utf8);
    editor->setText(QString::fromUtf8("ab\n\xC3\xA4\xC3\xB6z\tq"));
    std::vector<std::pair<int, int>> told;
    QObject::connect(editor.get(), &QsciScintilla::cursorPositionChanged,
                     [&](int line, int index) { told.emplace_back(line, index); });
    for (const Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Left, Qt::Key_Up}) {
      QTest::keyClick(editor.get(), key);
      QCoreApplication::processEvents();  // the editor tells at its next paint
    }
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{1, 0}, {1, 5}, {1, 4}, {0, 2}})) << utf8;
  }
}

TEST_F(BufferTest, KeypadInsertReplacesTheSelectionAsOneUserEditAndLeavesTheClipboard) {
  QGuiApplication::clipboard()->setText("copied by the user");
  Load(kStart);
  Select(2, 1, 2, 3);                                          // "wo"
  buffer.InsertAtCaretAsUserEdit(QString(QChar(0xF7)) + "7");  // Latin-1: the division sign
  EXPECT_EQ(buffer.Line(2), "t\xF7\x37");
  EXPECT_EQ(AnchorAndCaret(), std::pair(At(2, 3), At(2, 3)));
  EXPECT_TRUE(user_changes > 0 && buffer.Modified());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "copied by the user");
  editor->undo();
  EXPECT_EQ(buffer.Line(2), "two");
}

class UndoTest : public BufferTest {
 public:
  UndoTest() { buffer.SetDocumentText("first line\nsecond line\n", LineBreak::LF); }
  void Type(const char* text) { QTest::keyClicks(editor.get(), text); }
  void Keys(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers modifiers = {}) {
    for (Qt::Key key : keys) QTest::keyClick(editor.get(), key, modifiers);
  }
  QPoint PointOf(int line, int column) const {
    const long pos = At(line, column);
    return {static_cast<int>(editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, pos)),
            static_cast<int>(editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, pos)) + 4};
  }
  void Drop(const QString& text, QPoint at) {
    QMimeData data;
    data.setText(text);
    for (QEvent::Type type : {QEvent::DragEnter, QEvent::DragMove, QEvent::Drop}) {
      QDragMoveEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier, type);
      QCoreApplication::sendEvent(editor->viewport(), &event);
    }
  }

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
constexpr auto kShift = Qt::ShiftModifier;
// clang-format off
const StepCase kSteps[] = {
    {"TypingTwoWords", kNothing, [](T& t) { t.Type(" and more"); }},
    {"TypingElsewhere", kNothing, [](T& t) { t.Keys({Qt::Key_Home}); t.Type("xyz "); }},
    {"TypingAfterCaretWentAwayAndBack", kNothing, [](T& t) { t.Keys({Qt::Key_Left, Qt::Key_Right}); t.Type("z"); }},
    {"Backspaces", kNothing, [](T& t) { t.Keys({Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace}); }},
    {"LineBreak", kNothing, [](T& t) { t.Keys({Qt::Key_Return}); }},
    {"PasteKey", kNothing, [](T& t) { t.Keys({Qt::Key_V}, Qt::ControlModifier); }},
    {"PasteOverSelection", kNothing, [](T& t) { t.Keys({Qt::Key_Home}, kShift); t.Keys({Qt::Key_V}, Qt::ControlModifier); }},
    {"Cut", kNothing, [](T& t) { t.Keys({Qt::Key_Home}, kShift); t.Keys({Qt::Key_X}, Qt::ControlModifier); }},
    {"TypingOverSelection", kNothing, [](T& t) { t.Keys({Qt::Key_Left, Qt::Key_Left}, kShift); t.Type("Q"); }},
    {"Drop", kNothing, [](T& t) { t.Drop("dropped", t.PointOf(2, 3)); }},
    {"KeypadInsert", kNothing, [](T& t) { t.buffer.InsertAtCaretAsUserEdit("7"); }},
    {"MenuPaste", kNothing, [](T& t) { t.undo.StartNewAction(); t.editor->paste(); }},
    {"ClickAndType", kNothing, [](T& t) { QTest::mouseClick(t.editor->viewport(), Qt::LeftButton, {}, t.PointOf(2, 2)); t.Type("clicked"); }},
    {"ShiftForACapitalDoesNotSplitAWord", kNothing, [](T& t) { t.Type("a"); QTest::keyPress(t.editor.get(), Qt::Key_Shift); QTest::keyClick(t.editor.get(), 'B', kShift); QTest::keyRelease(t.editor.get(), Qt::Key_Shift); t.Type("c"); }},
    {"AnArrowKeyAloneKeepsTheStep", kNothing, [](T& t) { t.Type("ab"); t.Keys({Qt::Key_Down, Qt::Key_Up}); }},
    // Scintilla makes the replaced selection and the first character one group and merges
    // nothing into it: the characters after it are a step of their own.
    {"TypingOnOverASelection", [](T& t) { t.Keys({Qt::Key_Home}, kShift); t.Type("n"); }, [](T& t) { t.Type("ew"); }},
    {"DeleteAfterADeletedSelection", [](T& t) { t.Keys({Qt::Key_Left}, kShift); t.Keys({Qt::Key_Delete}); }, [](T& t) { t.Keys({Qt::Key_Delete}); }},
    {"TypingAfterBackspaces", [](T& t) { t.Keys({Qt::Key_Backspace}); }, [](T& t) { t.Type("x"); }},
    {"OvertypedCharacters", [](T& t) { t.Keys({Qt::Key_Insert}); t.Type("F"); }, [](T& t) { t.Type("I"); }},
    {"TypingOnAfterAnEngineWrite", [](T& t) { t.Type("12"); t.buffer.ReplaceLine(2, "engine"); }, [](T& t) { t.Type("34"); }},
    {"TypingOnAfterTheEngineCaughtUp", [](T& t) { t.Type("12"); t.buffer.SetModified(false); }, [](T& t) { t.Type("34"); }},
    {"TypingAfterAKeypadInsert", [](T& t) { t.buffer.InsertAtCaretAsUserEdit("5"); }, [](T& t) { t.Type("6"); }},
    {"UndoAcrossTheEmptiedHistory", [](T& t) { t.Type("1"); }, [](T& t) { t.Keys({Qt::Key_Home}); t.Type("2"); }},
};
// clang-format on

class Steps : public UndoTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(Steps, OneUndoTakesBackTheLastStepWholeAndNothingBeforeIt) {
  QGuiApplication::clipboard()->setText("pasted");
  buffer.SetCaretPos(2, 11);
  Type("12");
  buffer.SetCaretPos(1, 10);
  GetParam().before(*this);
  const std::string before_last = EditorBytes(*editor);
  GetParam().last(*this);
  const std::string after_last = EditorBytes(*editor);
  ASSERT_NE(after_last, before_last);
  buffer.SetModified(false);
  editor->undo();
  EXPECT_EQ(EditorBytes(*editor), before_last);
  EXPECT_TRUE(!CanUndo(*editor) && buffer.Modified());
  editor->redo();  // redo and undo again leave the one step in place
  EXPECT_EQ(EditorBytes(*editor), after_last);
  editor->undo();
  EXPECT_EQ(EditorBytes(*editor), before_last);
}

INSTANTIATE_TEST_SUITE_P(Sequences, Steps, ::testing::ValuesIn(kSteps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BufferTest, UndoWithoutBufferCountsWritesWithUndoCollectionOffAsNoUserAction) {
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

TEST_F(BufferTest, EditorOptionsSmartTabsTrimmingAndDragging) {
  EditorOptions options(editor.get());
  options.SetTrimming(true);
  // {options, text typed on the second line of "ab  cd" and "x" after its caret moved away}
  // clang-format off
  const std::tuple<EditorOptionSet, const char*, Tape> kCases[] = {
      {eoSmartTabs, "\t", {"ab  cd", "    x"}}, {0, "\t", {"ab  cd", "\tx"}},
      {eoTrimTrailingSpaces, "y  ", {"ab  cd", "y", "x"}}, {0, "y  ", {"ab  cd", "y  ", "x"}}};
  // clang-format on
  for (const auto& [set, typed, want] : kCases) {
    options.SetOptions(set);
    Load({"ab  cd", "", ""});
    buffer.SetCaretPos(2, 0);
    QTest::keyClicks(editor.get(), typed);
    if (std::string(typed) != "\t") QTest::keyClick(editor.get(), Qt::Key_Return);
    QTest::keyClicks(editor.get(), "x");
    EXPECT_EQ(LinesOf(buffer), want) << set << typed;
  }
  // Without drag and drop a press inside the selection starts a new one.
  for (EditorOptionSet set : {EditorOptionSet{eoDragDropEditing}, EditorOptionSet{0}}) {
    options.SetOptions(set);
    Select(1, 0, 1, 6);
    const QPoint at(editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, At(1, 2)) + 1,
                    editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, At(1, 2)) + 2);
    QTest::mousePress(editor->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(editor->hasSelectedText(), set != 0);
    QTest::mouseRelease(editor->viewport(), Qt::LeftButton, {}, at);
  }
}

}  // namespace
}  // namespace numvex::testing
