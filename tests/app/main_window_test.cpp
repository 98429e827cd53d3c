// The main window's wiring: keys and keypad clicks reach the engine, files, caption and modified
// flag, the mode chosen by a document's extension, start options and the layout.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "app/calc_main.h"
#include "app/message_box.h"
#include "common/case_name.h"
#include "common/tape_text.h"
#include "config/conf.h"
#include "editor_fixture.h"
#include "platform/key_layout.h"

namespace numvex::testing {
namespace {

// A main window as the program creates it, with the US keyboard layout and every message box
// answered by the test.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetConfToProgramStart();
    SetMessageHandler([this](const MessageRequest& request) {
      messages.push_back(request);
      return answer;
    });
  }
  void TearDown() override {
    window.reset();
    SetMessageHandler(nullptr);
    ResetConfToProgramStart();
  }
  // Every start is a first start; a program folder without introduction documents keeps the
  // first document empty.
  void Open(const QStringList& arguments = {}, const QString& program = QString()) {
    window = std::make_unique<TfrmCalc>(
        true, arguments,
        program.isEmpty() ? QDir::tempPath() + "/numvex-no-intro/numvex" : program);
    window->SetKeyLayout(UsLayout());
    window->show();
    QApplication::setActiveWindow(window.get());
    editor()->setFocus();
    QApplication::processEvents();
  }
  static void WriteFile(const QString& path, const char* bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QsciScintilla* editor() const { return window->Editor(); }
  void Click(const char* key) const {
    QTest::mouseClick(window->findChild<QToolButton*>(key), Qt::LeftButton);
  }
  Tape Lines() const { return LinesOf(window->Engine().Buffer()); }
  // Puts a text into the editor as a fresh, unchanged document.
  void SetText(const char* text) {
    editor()->setText(QString::fromLatin1(text));
    window->SetDocModified(false);
  }
  void Type(const char* text) { QTest::keyClicks(editor(), QString::fromLatin1(text)); }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(editor(), key, modifiers);
  }
  QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }

  std::unique_ptr<TfrmCalc> window;
  std::vector<MessageRequest> messages;
  int answer = mrOk;
};

const Tape kTotal = {Entry('+', "45.00"), Entry('+', "12.00"), kSep, Entry('+', "57.00"), ""};

// Key releases and keypad clicks reach the engine; what it makes of them is its own tests'
// business, and typing whole tapes with real keys the desktop end-to-end test's.
TEST_F(WindowTest, KeysAndKeypadReachTheEngine) {
  Open();
  Type("45");
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  Type("12");
  Press(Qt::Key_Return);
  EXPECT_EQ(Lines(), kTotal);
  EXPECT_EQ(window->Engine().GetCaret().line, 5);
  // clang-format off
  const struct { std::vector<const char*> keys; Tape lines; } kClicks[] = {
      {{"cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "cmd6", "cmd7", "cmd8", "cmd9", "cmd0", "cmdComma", "cmd5"}, {"1234567890.5"}},
      {{"cmd7", "cmdDiv"}, {Entry('+', "7.00"), "      / "}}, {{"cmd7", "cmdMul"}, {Entry('+', "7.00"), "      * "}},
      {{"cmd7", "cmdMinus"}, {Entry('+', "7.00"), "      - "}}, {{"cmd7", "cmdPlus"}, {Entry('+', "7.00"), "      + "}},
      {{"cmd4", "cmd5", "cmdPlus", "cmd1", "cmd2", "cmdCalc"}, kTotal}, {{"cmd4", "cmd5", "cmdClear"}, {""}}};
  // clang-format on
  for (const auto& c : kClicks) {
    SetText("");
    for (const char* key : c.keys) Click(key);
    EXPECT_EQ(Lines(), c.lines) << c.keys.back();
    EXPECT_TRUE(window->DocModified());
  }
  EXPECT_TRUE(editor()->hasFocus()) << "keypad keys must not take the focus";
}

// Select all leaves the caret at the start, so releasing "A" recomputes the run just edited:
// the selection must still hold the whole tape, grown or not.
TEST_F(WindowTest, SelectAllHoldsTheWholeTapeAfterTheRecalculation) {
  for (const bool total : {false, true}) {
    Open();
    Type("45");
    Press(Qt::Key_Plus, Qt::KeypadModifier);
    Type(total ? "12\r3" : "12 rent");
    Press(Qt::Key_A, Qt::ControlModifier);
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Lines().back(), total ? Entry('+', "3.00") : Entry('+', "12.00", "rent"));
    EXPECT_EQ(QApplication::clipboard()->text(), editor()->text()) << total;
    Type("Z");
    EXPECT_EQ(Lines(), Tape{"Z"}) << total;
  }
}

TEST_F(WindowTest, SaveCaptionModifiedFlagAndUndo) {
  QTemporaryDir dir;
  const QString path = dir.filePath("lf.nvx");
  WriteFile(path, "45\n+ 12\n---\n");
  Open({path});
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex [" + path + "]");
  EXPECT_FALSE(window->DocModified()) << "the recalculation on loading is no change";
  ASSERT_TRUE(window->SaveFile());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), Join(kTotal, "\n"));
  Type("7");
  EXPECT_TRUE(window->DocModified());
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex [" + path + "*]");
  // "No" to the question gives the changes up for a new empty calc document.
  answer = mrNo;
  EXPECT_EQ(window->AskSave(), mrNo);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Save changes?");
  EXPECT_EQ(Lines(), Tape{""});
  EXPECT_FALSE(window->DocModified());
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex []");
  Type("abc");
  Press(Qt::Key_Return, Qt::ShiftModifier);
  Type("def");
  editor()->undo();
  editor()->undo();  // one step only
  EXPECT_EQ(Lines(), (Tape{"abc", ""}));
}

struct ModeCase {
  const char* file;
  bool calc;
  const char* item;
};

class SwitchModeTest : public WindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SwitchModeTest, ExtensionChoosesModeAndSyntax) {
  Open();
  window->SwitchMode(GetParam().file);
  EXPECT_EQ(window->CalcMode(), GetParam().calc);
  std::vector<std::string> checked;
  for (QAction* item : window->findChild<QMenu*>("mnuSyntax")->actions()) {
    if (item->isChecked()) checked.push_back(item->objectName().toStdString());
  }
  EXPECT_EQ(checked, std::vector<std::string>{GetParam().item});
  EXPECT_EQ(Action("mnuONumvexMode")->isChecked(), GetParam().calc);
  EXPECT_EQ(window->findChild<QWidget*>("pnlCommand")->isVisible(), GetParam().calc);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SwitchModeTest, ::testing::Values(
    ModeCase{"noname.nvx", true, "mnuSnvx"}, ModeCase{"README", false, "mnuStxt"}, ModeCase{"backup.tar.GZ", false, "mnuStxt"},
    ModeCase{"page.HTM", false, "mnuShtml"}, ModeCase{"tape.nvx.txt", false, "mnuStxt"}, ModeCase{"main.c", false, "mnuScpp"},
    ModeCase{"x.h", false, "mnuScpp"}, ModeCase{"a.ini", false, "mnuSini"}, ModeCase{"A.Java", false, "mnuSjava"},
    ModeCase{"s.cgi", false, "mnuSpl"}, ModeCase{"u.pas", false, "mnuSpas"}, ModeCase{"d.xml", false, "mnuShtml"}),
    [](const auto& info) { return CaseName(info.index, info.param.file); });
// clang-format on

TEST_F(WindowTest, TextEditorModeOnANvxDocumentKeepsCalcModeAfterTheOneTimeMessage) {
  QTemporaryDir dir;
  WriteFile(dir.filePath("tape.nvx"), "1\n");
  Conf.FirstTextMode = true;
  Open({dir.filePath("tape.nvx")});
  for (int i = 0; i < 2; ++i) Action("mnuOTexteditorMode")->trigger();
  EXPECT_TRUE(window->CalcMode());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Text editor mode");
  EXPECT_FALSE(Conf.FirstTextMode);
}

TEST_F(WindowTest, ImageShowsOnlyWhenTheKeypadColumnIsTallEnough) {
  Open();
  QWidget* client = window->centralWidget();
  const int menu = window->height() - client->height();
  for (auto [height, shown] : {std::pair{600, true}, {317, false}, {318, true}}) {
    window->resize(600, height + menu);
    QApplication::processEvents();
    ASSERT_EQ(client->height(), height);
    EXPECT_EQ(window->findChild<QWidget*>("pnlImage")->isVisible(), shown) << height;
  }
}

TEST_F(WindowTest, StartOptionsAndDocuments) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.nvx");
  WriteFile(path, "5\n");
  // The tray option in any case, with blanks around it.
  for (auto [arguments, visible] :
       {std::pair{QStringList{"  /tb ", path}, false}, {{path}, true}}) {
    Open(arguments);
    EXPECT_EQ(window->StartVisible(), visible);
    EXPECT_EQ(window->FileName(), path);
  }
  // A first start opens the introduction beside the program, in calc mode.
  WriteFile(dir.filePath("1Numvex.txt"), "Welcome\n");
  Open({}, dir.filePath("numvex"));
  EXPECT_TRUE(window->FileName().endsWith("1Numvex.txt")) << window->FileName().toStdString();
  EXPECT_TRUE(window->CalcMode());
  EXPECT_FALSE(Conf.FirstStart);
  // A missing document is reported and a new calc document starts.
  Open({"/nonexistent/folder/tape.nvx"});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "The file you entered could not be found.");
  EXPECT_TRUE(window->FileName().isEmpty() && window->CalcMode());
}

TEST_F(WindowTest, DoubleClickInsideABracketRunsTheCommand) {
  QTemporaryDir dir;
  const QString marker = dir.filePath("marker");
  Open();
  SetText(("run [touch " + marker + "] now").toLatin1().constData());
  editor()->setCursorPosition(0, 6);
  window->txtCalcDblClick();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
}

}  // namespace
}  // namespace numvex::testing
