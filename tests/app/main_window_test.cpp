// The main window driven as a user drives it: keys into the editor, clicks on the
// keypad, the mode commands and the layout.
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "window_fixture.h"

namespace numvex::testing {
namespace {

TEST_F(WindowTest, TypingATapeWithTheKeyboard) {
  Open();
  Type("45");
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  Type("12");
  Press(Qt::Key_Return);
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), Entry('+', "12.00"), kSep,
                                               Entry('+', "57.00"), ""}));
  EXPECT_EQ(CaretLine(), 5);
  EXPECT_EQ(CaretColumn(), 0);
}

TEST_F(WindowTest, MainKeyboardPlusCountsOnlyWhereItNeedsNoShift) {
  // German layout: "+" has its own key.
  Open({}, /*us_layout=*/false);
  Type("45+");
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), "      + "}));
  window.reset();
  // US layout: "+" is Shift and "=", so it stays in the line; "-" has its own key.
  Open({}, /*us_layout=*/true);
  Type("45+");
  EXPECT_EQ(Lines(), std::vector<std::string>{"45+"});
  SetText("");
  Type("12-");
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "12.00"), "      - "}));
}

TEST_F(WindowTest, ShiftEnterOnlyBreaksTheLine) {
  Open();
  Type("45");
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  Type("12");
  Press(Qt::Key_Return, Qt::ShiftModifier);
  // No total; releasing Shift leaves the edited line, so its run is tidied. The new
  // line holds only the indentation the editor carried over.
  std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], Entry('+', "45.00"));
  EXPECT_EQ(lines[1], Entry('+', "12.00"));
  EXPECT_EQ(lines[2].find_first_not_of(" \t"), std::string::npos);
  EXPECT_EQ(CaretLine(), 3);
}

TEST_F(WindowTest, EqualsKeyTotalsTwoAmountsAndOnlyBreaksUnderOne) {
  Open();
  SetText("45\n12\n");
  Caret(3, 0);
  QTest::mouseClick(Key("cmdCalc"), Qt::LeftButton);
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "45.00"), Entry('+', "12.00"), kSep,
                                               Entry('+', "57.00"), "", ""}));
  EXPECT_EQ(CaretLine(), 5);
  SetText("45\n");
  Caret(2, 0);
  QTest::mouseClick(Key("cmdCalc"), Qt::LeftButton);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"45", "", ""}));
  EXPECT_EQ(CaretLine(), 2);
  EXPECT_TRUE(editor()->hasFocus()) << "keypad keys must not take the focus";
}

TEST_F(WindowTest, OperatorInTheMiddleOfALineOpensNoLine) {
  Open();
  SetText("4512");
  Caret(1, 2);
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(Lines(), std::vector<std::string>{"45+12"});
}

TEST_F(WindowTest, ClearKeyOnAnAmountLineAndOnAnEmptyLine) {
  Open();
  SetText("100\n+ 50\n---\n150\n\n");
  window->Engine().RecalcAll();
  Caret(2, 3);
  QTest::mouseClick(Key("cmdClear"), Qt::LeftButton);
  EXPECT_EQ(Lines()[1], "");
  Caret(5, 0);
  QTest::mouseClick(Key("cmdClear"), Qt::LeftButton);
  EXPECT_EQ(Lines().size(), 5u);
  EXPECT_EQ(CaretLine(), 4);
  EXPECT_EQ(CaretColumn(), static_cast<int>(Lines()[3].size()));
}

TEST_F(WindowTest, LeavingAnEditedLineRecomputesItsRunOnlyAfterAnEdit) {
  Open();
  SetText("100\n+ 50\n---\n150\nend");
  window->Engine().RecalcAll();
  std::vector<std::string> before = Lines();
  // Moving without an edit recomputes nothing.
  Caret(1, 0);
  Press(Qt::Key_Down);
  Press(Qt::Key_Down);
  EXPECT_EQ(Lines(), before);
  // An edit, then the arrow key: the run of the line left is recomputed.
  Caret(1, 0);
  Press(Qt::Key_End, Qt::ShiftModifier);
  Type("200");
  ASSERT_EQ(Lines()[0], "200");
  Press(Qt::Key_Down);
  EXPECT_EQ(Lines()[3], Entry('+', "250.00"));
  EXPECT_EQ(CaretLine(), 2);
}

TEST_F(WindowTest, DeletingTheCaretLineRecomputesTheRunAtTheCaret) {
  Open();
  SetText("100\n+ 50\n+ 7\n---\n157\nend");
  window->Engine().RecalcAll();
  Caret(2, 0);
  window->Engine().SetCaret(2, 0);
  editor()->SendScintilla(QsciScintillaBase::SCI_LINEDELETE);
  Press(Qt::Key_Shift);  // any key release after the editor command
  EXPECT_EQ(Lines()[3], Entry('+', "107.00"));
}

TEST_F(WindowTest, EngineRewritesLeaveDocModifiedAndTheCaption) {
  Open();
  SetText("45\n12\n");
  EXPECT_FALSE(window->DocModified());
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex []");
  Caret(3, 0);
  QTest::mouseClick(Key("cmdCalc"), Qt::LeftButton);
  EXPECT_FALSE(window->DocModified());
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex []");
  Type("7");
  EXPECT_TRUE(window->DocModified());
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex [*]");
}

TEST_F(WindowTest, ASelectionSurvivesTheRecalculationWhenTheCaretLeavesALine) {
  Open();
  Type("4");
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  Type("1");
  Press(Qt::Key_Enter, Qt::KeypadModifier);
  Type("Q");
  Press(Qt::Key_A, Qt::ControlModifier);  // select all: the release leaves the edited line
  Type("Z");
  EXPECT_EQ(Lines(), std::vector<std::string>{"Z"});
}

TEST_F(WindowTest, CaptionCarriesNoSecondTitle) {
  Open();
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex []");
  EXPECT_TRUE(QGuiApplication::applicationDisplayName() == QGuiApplication::applicationName());
}

TEST_F(WindowTest, UndoKeepsOnlyTheLastChange) {
  Open();
  SetText("");
  Type("abc");
  Press(Qt::Key_Return, Qt::ShiftModifier);
  Type("def");
  editor()->undo();
  editor()->undo();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abc", ""}));
}

TEST_F(WindowTest, KeypadKeysInsertAtTheCaretAndLeaveTheClipboardAlone) {
  Open();
  QApplication::clipboard()->setText("copied by the user");
  SetText("");
  for (const char* key : {"cmd1", "cmd2", "cmdComma", "cmd5"}) {
    QTest::mouseClick(Key(key), Qt::LeftButton);
  }
  QTest::mouseClick(Key("cmdPlus"), Qt::LeftButton);
  QTest::mouseClick(Key("cmd7"), Qt::LeftButton);
  EXPECT_EQ(Lines(), (std::vector<std::string>{Entry('+', "12.50"), "      + 7"}));
  EXPECT_EQ(QApplication::clipboard()->text(), "copied by the user");
  EXPECT_TRUE(window->DocModified());
  EXPECT_EQ(Key("cmdComma")->text(), ".");
  EXPECT_EQ(Key("cmdMul")->text(), "x");
  EXPECT_EQ(Key("cmd0")->width(), 2 * Key("cmd1")->width() + 2);
  EXPECT_GT(Key("cmdPlus")->height(), Key("cmd1")->height());
  EXPECT_EQ(Key("cmd5")->focusPolicy(), Qt::NoFocus);
}

struct ModeCase {
  const char* name;
  bool calc;
  const char* item;
};

class SwitchModeTest : public WindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SwitchModeTest, ExtensionChoosesModeAndSyntax) {
  Open();
  window->SwitchMode(GetParam().name);
  EXPECT_EQ(window->CalcMode(), GetParam().calc) << GetParam().name;
  int checked = 0;
  for (QAction* item : window->findChild<QMenu*>("mnuSyntax")->actions()) {
    if (item->isChecked()) {
      ++checked;
      EXPECT_EQ(item->objectName(), GetParam().item) << GetParam().name;
    }
  }
  EXPECT_EQ(checked, 1);
  EXPECT_EQ(window->findChild<QAction*>("mnuONumvexMode")->isChecked(), GetParam().calc);
  EXPECT_EQ(window->findChild<QWidget*>("pnlCommand")->isVisible(), GetParam().calc);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SwitchModeTest,
    ::testing::Values(ModeCase{"noname.nvx", true, "mnuSnvx"}, ModeCase{"README", false, "mnuStxt"},
                      ModeCase{"backup.tar.GZ", false, "mnuStxt"},
                      ModeCase{"page.HTM", false, "mnuShtml"},
                      ModeCase{"tape.nvx.txt", false, "mnuStxt"},
                      ModeCase{"main.c", false, "mnuScpp"}, ModeCase{"x.h", false, "mnuScpp"},
                      ModeCase{"a.ini", false, "mnuSini"}, ModeCase{"A.Java", false, "mnuSjava"},
                      ModeCase{"s.cgi", false, "mnuSpl"}, ModeCase{"u.pas", false, "mnuSpas"},
                      ModeCase{"d.xml", false, "mnuShtml"}));

TEST_F(WindowTest, AskSaveBeforeGivingUpChanges) {
  Open();
  Type("12");
  answer = mrCancel;
  EXPECT_FALSE(window->close());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Save changes?");
  answer = mrNo;  // gives the changes up: a new empty calc document
  EXPECT_EQ(window->AskSave(), mrNo);
  EXPECT_EQ(Lines(), std::vector<std::string>{""});
  EXPECT_FALSE(window->DocModified());
}

TEST_F(WindowTest, SaveWritesTheLinesWithTheDocumentsLineBreak) {
  QTemporaryDir dir;
  QString path = dir.filePath("lf.nvx");
  WriteFile(path, "1\n+ 2\n---\n");
  Open({path});
  EXPECT_FALSE(window->DocModified());
  ASSERT_TRUE(window->SaveFile());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), Entry('+', "1.00") + "\n" + Entry('+', "2.00") + "\n" +
                                              kSep + "\n" + Entry('+', "3.00") + "\n");
}

TEST_F(WindowTest, TextEditorModeOnANvxDocumentKeepsCalcModeAfterTheOneTimeMessage) {
  QTemporaryDir dir;
  QString path = dir.filePath("tape.nvx");
  WriteFile(path, "1\n+ 2\n---\n");
  Conf.FirstTextMode = true;
  Open({path});
  EXPECT_EQ(Lines()[3], Entry('+', "3.00"));
  window->findChild<QAction*>("mnuOTexteditorMode")->trigger();
  EXPECT_TRUE(window->CalcMode());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Text editor mode");
  EXPECT_FALSE(Conf.FirstTextMode);
  window->findChild<QAction*>("mnuOTexteditorMode")->trigger();
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(WindowTest, MinimumWidthFollowsTheKeypad) {
  Open();
  EXPECT_EQ(window->minimumWidth(), 400);
  window->SwitchMode("notes.txt");
  EXPECT_EQ(window->minimumWidth(), 222);
  window->SwitchMode("x.nvx");
  Conf.ShowNumPad = false;
  window->FormResize();
  EXPECT_EQ(window->minimumWidth(), 222);
}

TEST_F(WindowTest, ImageShowsOnlyWhenTheKeypadColumnIsTallEnough) {
  Open();
  QWidget* client = window->centralWidget();
  QWidget* image = window->findChild<QWidget*>("pnlImage");
  window->resize(600, 600);
  QApplication::processEvents();
  EXPECT_TRUE(image->isVisible());
  int menu = window->height() - client->height();
  window->resize(600, 317 + menu);
  QApplication::processEvents();
  ASSERT_EQ(client->height(), 317);
  EXPECT_FALSE(image->isVisible());
  window->resize(600, 318 + menu);
  QApplication::processEvents();
  EXPECT_TRUE(image->isVisible());
}

TEST_F(WindowTest, TrayStartOptionInAnyCaseWithBlanks) {
  QTemporaryDir dir;
  QString path = dir.filePath("t.nvx");
  WriteFile(path, "5\n");
  window = std::make_unique<TfrmCalc>(true, QStringList{"  /tb ", path}, ProgramWithoutIntro());
  EXPECT_FALSE(window->StartVisible());
  EXPECT_EQ(window->FileName(), path);
  window = std::make_unique<TfrmCalc>(true, QStringList{path}, QApplication::applicationFilePath());
  EXPECT_TRUE(window->StartVisible());
}

TEST_F(WindowTest, MissingDocumentIsReportedAndANewCalcDocumentStarts) {
  Open({"/nonexistent/folder/tape.nvx"});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "The file you entered could not be found.");
  EXPECT_TRUE(window->FileName().isEmpty());
  EXPECT_TRUE(window->CalcMode());
}

TEST_F(WindowTest, FirstStartOpensTheIntroductionInCalcModeWithTheKeypad) {
  QTemporaryDir dir;
  WriteFile(dir.filePath("1Numvex.txt"), "Welcome\n");
  window = std::make_unique<TfrmCalc>(true, QStringList{}, dir.filePath("numvex"));
  EXPECT_TRUE(window->FileName().endsWith("1Numvex.txt")) << window->FileName().toStdString();
  EXPECT_TRUE(window->CalcMode());
  EXPECT_FALSE(Conf.FirstStart);
}

TEST_F(WindowTest, DoubleClickInsideABracketRunsTheCommand) {
  QTemporaryDir dir;
  QString marker = dir.filePath("marker");
  Open();
  SetText(("run [touch " + marker + "] now").toLatin1().constData());
  Caret(1, 6);
  window->txtCalcDblClick();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
  // Without a "]" right of the caret nothing runs.
  QString other = dir.filePath("other");
  SetText(("[touch " + other + "] x").toLatin1().constData());
  Caret(1, static_cast<int>(Lines()[0].size()));
  window->txtCalcDblClick();
  QTest::qWait(300);
  EXPECT_FALSE(QFile::exists(other));
}

}  // namespace
}  // namespace numvex::testing
