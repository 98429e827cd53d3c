// One undo step: after two user actions, undo restores only the last one, in one piece.
#include "app/single_step_undo.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <ostream>
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
  QPoint PointOf(long pos) const {
    return {static_cast<int>(editor->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, pos)),
            static_cast<int>(editor->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, pos)) + 4};
  }
  // Drops text from outside the editor at a document position, as a drag from another program.
  void Drop(const QString& text, long pos) {
    QMimeData data;
    data.setText(text);
    const QPoint at = PointOf(pos);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor->viewport(), &drop);
  }
  std::string Text() const { return EditorBytes(*editor); }

  std::unique_ptr<QsciScintilla> editor;
  ScintillaTapeBuffer buffer;
  SingleStepUndo undo;
};

struct ActionCase {
  const char* name;
  std::function<void(UndoTest&)> act;
};

void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.name; }

// Each action starts with the caret at the end of line 1.
const ActionCase kActions[] = {
    {"TypingTwoWords", [](UndoTest& t) { t.Type(" and more"); }},
    {"TypingElsewhere",
     [](UndoTest& t) {
       t.Key(Qt::Key_Home);
       t.Type("xyz ");
     }},
    {"TypingAfterCaretWentAwayAndBack",
     [](UndoTest& t) {
       t.Key(Qt::Key_Left);
       t.Key(Qt::Key_Right);
       t.Type("z");
     }},
    {"Backspaces",
     [](UndoTest& t) {
       t.Key(Qt::Key_End);
       for (int i = 0; i < 4; ++i) t.Key(Qt::Key_Backspace);
     }},
    {"Deletes",
     [](UndoTest& t) {
       t.Key(Qt::Key_Home);
       for (int i = 0; i < 3; ++i) t.Key(Qt::Key_Delete);
     }},
    {"LineBreak", [](UndoTest& t) { t.Key(Qt::Key_Return); }},
    {"PasteKey",
     [](UndoTest& t) {
       QGuiApplication::clipboard()->setText("pasted");
       t.Key(Qt::Key_V, Qt::ControlModifier);
     }},
    {"PasteOverSelection",
     [](UndoTest& t) {
       QGuiApplication::clipboard()->setText("pasted");
       t.Key(Qt::Key_Home, Qt::ShiftModifier);
       t.Key(Qt::Key_V, Qt::ControlModifier);
     }},
    {"Cut",
     [](UndoTest& t) {
       t.Key(Qt::Key_Home, Qt::ShiftModifier);
       t.Key(Qt::Key_X, Qt::ControlModifier);
     }},
    {"TypingOverSelection",
     [](UndoTest& t) {
       t.Key(Qt::Key_Left, Qt::ShiftModifier);
       t.Key(Qt::Key_Left, Qt::ShiftModifier);
       t.Type("Q");
     }},
    {"Drop", [](UndoTest& t) { t.Drop("dropped", PositionOf(*t.editor, 2, 3)); }},
    {"KeypadInsert", [](UndoTest& t) { t.buffer.InsertAtCaretAsUserEdit("7"); }},
    {"KeypadInsertOverSelection",
     [](UndoTest& t) {
       t.Key(Qt::Key_Home, Qt::ShiftModifier);
       t.buffer.InsertAtCaretAsUserEdit("+");
     }},
    {"MenuPaste",
     [](UndoTest& t) {
       QGuiApplication::clipboard()->setText("from the menu");
       t.undo.StartNewAction();
       t.editor->paste();
     }},
    {"ClickAndType",
     [](UndoTest& t) {
       QTest::mouseClick(t.editor->viewport(), Qt::LeftButton, Qt::NoModifier,
                         t.PointOf(PositionOf(*t.editor, 2, 2)));
       t.Type("clicked");
     }},
};

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

TEST_P(TwoActions, TheActionAloneIsOneStep) {
  buffer.SetCaretPos(1, 10);
  const std::string start = Text();
  GetParam().act(*this);
  ASSERT_NE(Text(), start);
  editor->undo();
  EXPECT_EQ(Text(), start);
  EXPECT_FALSE(CanUndo(*editor));
}

INSTANTIATE_TEST_SUITE_P(Actions, TwoActions, ::testing::ValuesIn(kActions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UndoTest, ShiftForACapitalDoesNotSplitAWord) {
  const std::string start = Text();
  Type("a");
  QTest::keyPress(editor.get(), Qt::Key_Shift);
  QTest::keyClick(editor.get(), 'B', Qt::ShiftModifier);
  QTest::keyRelease(editor.get(), Qt::Key_Shift);
  Type("c");
  ASSERT_EQ(buffer.Line(1), "aBcfirst line");
  editor->undo();
  EXPECT_EQ(Text(), start);
}

TEST_F(UndoTest, TypingOnAtTheEndOfARunIsTheSameStep) {
  const std::string start = Text();
  Key(Qt::Key_End);
  Type("12");
  Type(" and 34");
  editor->undo();
  EXPECT_EQ(Text(), start);
}

// Scintilla makes the replaced selection and the first character one step and merges nothing
// into it, so the characters typed after the first are the step that is kept.
TEST_F(UndoTest, TypingOverASelectionKeepsTheLaterCharactersAsTheStep) {
  Key(Qt::Key_End);
  Key(Qt::Key_Home, Qt::ShiftModifier);
  Type("new");
  editor->undo();
  EXPECT_EQ(buffer.Line(1), "n");
  EXPECT_FALSE(CanUndo(*editor));
}

// Deleting a selection is a group in Scintilla; the next Delete or Backspace is a step of
// its own, and the only one kept.
TEST_F(UndoTest, DeletingOnAfterASelectionWasDeletedIsTheNextStep) {
  for (Qt::Key key : {Qt::Key_Delete, Qt::Key_Backspace}) {
    buffer.SetDocumentText("abcdef\n", LineBreak::LF);
    buffer.SetCaretPos(1, 3);
    Key(Qt::Key_Left, Qt::ShiftModifier);  // "c"
    Key(key);
    const std::string after_first = Text();
    Key(key);
    ASSERT_NE(Text(), after_first);
    editor->undo();
    EXPECT_EQ(Text(), after_first) << key;
    EXPECT_FALSE(CanUndo(*editor)) << key;
  }
}

TEST_F(UndoTest, OvertypedCharactersAreEachAStep) {
  Key(Qt::Key_Insert);  // overtype on
  ASSERT_NE(editor->SendScintilla(Sci::SCI_GETOVERTYPE), 0);
  Type("F");
  const std::string after_first = Text();
  Type("I");
  EXPECT_EQ(buffer.Line(1), "FIrst line");
  editor->undo();
  EXPECT_EQ(Text(), after_first);
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_F(UndoTest, AnArrowKeyAloneKeepsTheLastStep) {
  const std::string start = Text();
  Type("ab");
  Key(Qt::Key_Down);
  Key(Qt::Key_Up);
  EXPECT_TRUE(CanUndo(*editor));
  editor->undo();
  EXPECT_EQ(Text(), start);
}

TEST_F(UndoTest, TypingOnAfterAnEngineWriteStartsANewStep) {
  Key(Qt::Key_End);
  Type("12");
  buffer.ReplaceLine(2, "rewritten by the engine");
  const std::string after_write = Text();
  Type("34");
  editor->undo();
  EXPECT_EQ(Text(), after_write);
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_F(UndoTest, TypingOnAfterTheEngineCaughtUpStartsANewStep) {
  Key(Qt::Key_End);
  Type("12");
  buffer.SetModified(false);
  const std::string caught_up = Text();
  Type("34");
  editor->undo();
  EXPECT_EQ(Text(), caught_up);
  EXPECT_FALSE(CanUndo(*editor));
  // Back at the text the engine caught up with, yet the undo was an edit it has not seen.
  EXPECT_TRUE(buffer.Modified());
}

TEST_F(UndoTest, TypingAfterAKeypadInsertStartsANewStep) {
  Key(Qt::Key_End);
  buffer.InsertAtCaretAsUserEdit("5");
  const std::string after_keypad = Text();
  Type("6");
  editor->undo();
  EXPECT_EQ(Text(), after_keypad);
  EXPECT_FALSE(CanUndo(*editor));
}

TEST_F(UndoTest, KeypadInsertKeepsTheClipboard) {
  QGuiApplication::clipboard()->setText("the user's copy");
  Key(Qt::Key_End);
  for (const char* key : {"1", "2", "+"}) buffer.InsertAtCaretAsUserEdit(key);
  EXPECT_EQ(buffer.Line(1), "first line12+");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "the user's copy");
}

TEST_F(UndoTest, AModifiedFlagSurvivesTheEmptiedHistory) {
  Key(Qt::Key_End);
  Type("1");
  Key(Qt::Key_Home);
  Type("2");
  editor->undo();  // back past the start of the second step, with the first one still there
  EXPECT_EQ(buffer.Line(1), "first line1");
  EXPECT_TRUE(buffer.Modified());
}

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
