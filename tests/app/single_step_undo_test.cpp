// One undo step: after two user actions, undo restores only the last one, in one piece.
#include "app/single_step_undo.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <string>

#include "app/scintilla_tape_buffer.h"
#include "editor_fixture.h"

namespace numvex::testing {
namespace {

// The actions below drive the fixture from outside, so its helpers are public.
class UndoTest : public ::testing::Test {
 public:
  UndoTest() : editor(MakeEditor()), buffer(editor.get()), undo(editor.get(), &buffer) {
    buffer.SetDocumentText("first line\nsecond line\n", LineBreak::LF);
  }

  void Type(const char* text) { QTest::keyClicks(editor.get(), text); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(editor.get(), key, modifiers);
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
  std::string Text() const { return EditorBytes(*editor); }
  void Paste(const char* text) {
    QGuiApplication::clipboard()->setText(text);
    Key(Qt::Key_V, Qt::ControlModifier);
  }

  std::unique_ptr<QsciScintilla> editor;
  ScintillaTapeBuffer buffer;
  SingleStepUndo undo;
};

struct ActionCase {
  const char* name;
  std::function<void(UndoTest&)> act;
};

using T = UndoTest;
// Each action starts with the caret at the end of line 1.
// clang-format off
const ActionCase kActions[] = {
    {"TypingTwoWords", [](T& t) { t.Type(" and more"); }},
    {"TypingElsewhere", [](T& t) { t.Key(Qt::Key_Home); t.Type("xyz "); }},
    {"TypingAfterCaretWentAwayAndBack", [](T& t) { t.Key(Qt::Key_Left); t.Key(Qt::Key_Right); t.Type("z"); }},
    {"Backspaces", [](T& t) { for (int i = 0; i < 4; ++i) t.Key(Qt::Key_Backspace); }},
    {"Deletes", [](T& t) { t.Key(Qt::Key_Home); for (int i = 0; i < 3; ++i) t.Key(Qt::Key_Delete); }},
    {"LineBreak", [](T& t) { t.Key(Qt::Key_Return); }},
    {"PasteKey", [](T& t) { t.Paste("pasted"); }},
    {"PasteOverSelection", [](T& t) { t.Key(Qt::Key_Home, Qt::ShiftModifier); t.Paste("pasted"); }},
    {"Cut", [](T& t) { t.Key(Qt::Key_Home, Qt::ShiftModifier); t.Key(Qt::Key_X, Qt::ControlModifier); }},
    {"TypingOverSelection", [](T& t) { t.Key(Qt::Key_Left, Qt::ShiftModifier); t.Key(Qt::Key_Left, Qt::ShiftModifier); t.Type("Q"); }},
    {"Drop", [](T& t) { t.Drop("dropped", t.PointOf(2, 3)); }},
    {"KeypadInsert", [](T& t) { t.buffer.InsertAtCaretAsUserEdit("7"); }},
    {"KeypadInsertOverSelection", [](T& t) { t.Key(Qt::Key_Home, Qt::ShiftModifier); t.buffer.InsertAtCaretAsUserEdit("+"); }},
    {"MenuPaste", [](T& t) { QGuiApplication::clipboard()->setText("menu"); t.undo.StartNewAction(); t.editor->paste(); }},
    {"ClickAndType", [](T& t) { QTest::mouseClick(t.editor->viewport(), Qt::LeftButton, {}, t.PointOf(2, 2)); t.Type("clicked"); }},
};
// clang-format on

class TwoActions : public UndoTest, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(TwoActions, UndoRestoresTheLastActionWholeAndNothingBeforeIt) {
  buffer.SetCaretPos(2, 11);
  Type("12");
  const std::string after_first = Text();
  buffer.SetCaretPos(1, 10);
  GetParam().act(*this);
  const std::string after_second = Text();
  ASSERT_NE(after_second, after_first);
  editor->undo();
  EXPECT_EQ(Text(), after_first);
  EXPECT_FALSE(CanUndo(*editor));
  editor->undo();
  EXPECT_EQ(Text(), after_first);
  // Undo and redo leave the one step in place.
  editor->redo();
  EXPECT_EQ(Text(), after_second);
  editor->undo();
  EXPECT_EQ(Text(), after_first);
}

INSTANTIATE_TEST_SUITE_P(Actions, TwoActions, ::testing::ValuesIn(kActions),
                         [](const auto& info) { return std::string(info.param.name); });

// Where a step begins and ends: each sequence returns the text one undo must give back; that
// undo leaves nothing more to undo and counts as a user edit.
struct StepCase {
  const char* name;
  std::function<std::string(UndoTest&)> run;
};

// clang-format off
const StepCase kSteps[] = {
    {"ShiftForACapitalDoesNotSplitAWord", [](T& t) {
       const std::string start = t.Text();
       t.Type("a");
       QTest::keyPress(t.editor.get(), Qt::Key_Shift);
       QTest::keyClick(t.editor.get(), 'B', Qt::ShiftModifier);
       QTest::keyRelease(t.editor.get(), Qt::Key_Shift);
       t.Type("c");
       return start; }},
    {"TypingOnAtTheEndOfARunIsTheSameStep", [](T& t) {
       const std::string start = t.Text();
       t.Key(Qt::Key_End); t.Type("12"); t.Type(" and 34");
       return start; }},
    // Scintilla makes the replaced selection and the first character one step and merges
    // nothing into it, so the characters after the first are the step kept.
    {"TypingOverASelectionKeepsTheLaterCharacters", [](T& t) {
       t.Key(Qt::Key_End); t.Key(Qt::Key_Home, Qt::ShiftModifier); t.Type("new");
       return std::string("n\nsecond line"); }},
    // Deleting a selection is a group; the next Delete or Backspace is a step of its own.
    {"DeleteAfterADeletedSelection", [](T& t) {
       t.Key(Qt::Key_End); t.Key(Qt::Key_Left, Qt::ShiftModifier); t.Key(Qt::Key_Delete);
       const std::string after_first = t.Text();
       t.Key(Qt::Key_Delete);
       return after_first; }},
    {"BackspaceAfterADeletedSelection", [](T& t) {
       t.Key(Qt::Key_End); t.Key(Qt::Key_Left, Qt::ShiftModifier); t.Key(Qt::Key_Backspace);
       const std::string after_first = t.Text();
       t.Key(Qt::Key_Backspace);
       return after_first; }},
    {"OvertypedCharactersAreEachAStep", [](T& t) {
       t.Key(Qt::Key_Insert); t.Type("F");
       const std::string after_first = t.Text();
       t.Type("I");
       return after_first; }},
    {"AnArrowKeyAloneKeepsTheLastStep", [](T& t) {
       const std::string start = t.Text();
       t.Type("ab"); t.Key(Qt::Key_Down); t.Key(Qt::Key_Up);
       return start; }},
    {"TypingOnAfterAnEngineWriteStartsANewStep", [](T& t) {
       t.Key(Qt::Key_End); t.Type("12");
       t.buffer.ReplaceLine(2, "rewritten by the engine");
       const std::string after_write = t.Text();
       t.Type("34");
       return after_write; }},
    {"TypingOnAfterTheEngineCaughtUpStartsANewStep", [](T& t) {
       t.Key(Qt::Key_End); t.Type("12");
       t.buffer.SetModified(false);
       const std::string caught_up = t.Text();
       t.Type("34");
       return caught_up; }},
    {"TypingAfterAKeypadInsertStartsANewStep", [](T& t) {
       t.Key(Qt::Key_End); t.buffer.InsertAtCaretAsUserEdit("5");
       const std::string after_keypad = t.Text();
       t.Type("6");
       return after_keypad; }},
    // Back past the start of the second step, with the first one gone.
    {"UndoAcrossTheEmptiedHistory", [](T& t) {
       t.Key(Qt::Key_End); t.Type("1"); t.Key(Qt::Key_Home); t.Type("2");
       return std::string("first line1\nsecond line"); }},
};
// clang-format on

class Steps : public UndoTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(Steps, OneUndoGivesBackTheTextBeforeTheLastStep) {
  const std::string expected = GetParam().run(*this);
  buffer.SetModified(false);
  editor->undo();
  EXPECT_EQ(Text(), expected);
  EXPECT_FALSE(CanUndo(*editor));
  EXPECT_TRUE(buffer.Modified());
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
