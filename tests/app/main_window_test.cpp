// The main window driven as a user drives it: keys into the editor, clicks on the keypad, the
// mode commands, files and the layout.
#include <Qsci/qsciscintilla.h>
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
#include "common/tape_text.h"
#include "config/conf.h"
#include "platform/key_layout.h"
#include "tape/document_text.h"
#include "tape/tape_buffer.h"

namespace numvex::testing {
namespace {

// A main window as the program creates it, with a known keyboard layout and every message box
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

  void Open(const QStringList& arguments = {}, bool us_layout = true) {
    window = std::make_unique<TfrmCalc>(true, arguments, ProgramWithoutIntro());
    window->SetKeyLayout(us_layout ? UsLayout() : GermanLayout());
    window->show();
    QApplication::setActiveWindow(window.get());
    editor()->setFocus();
    QApplication::processEvents();
  }

  // Every start is a first start; a program folder without introduction documents keeps the
  // first document empty.
  static QString ProgramWithoutIntro() { return QDir::tempPath() + "/numvex-no-intro/numvex"; }

  static void WriteFile(const QString& path, const char* bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QsciScintilla* editor() const { return window->Editor(); }
  void Click(const char* key) const {
    QTest::mouseClick(window->findChild<QToolButton*>(key), Qt::LeftButton);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    TapeBuffer& buffer = window->Engine().Buffer();
    for (int i = 1; i <= buffer.LineCount(); ++i) lines.emplace_back(buffer.Line(i));
    return lines;
  }
  // Puts a text into the editor as a fresh, unchanged document.
  void SetText(const char* text) {
    editor()->setText(QString::fromLatin1(text));
    editor()->setModified(false);
    window->SetDocModified(false);
  }
  void Caret(int line, int column) { editor()->setCursorPosition(line - 1, column); }
  int CaretLine() const { return window->Engine().GetCaret().line; }
  int CaretColumn() const { return window->Engine().GetCaret().column; }
  void Type(const char* text) { QTest::keyClicks(editor(), QString::fromLatin1(text)); }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(editor(), key, modifiers);
  }

  std::unique_ptr<TfrmCalc> window;
  std::vector<MessageRequest> messages;
  int answer = mrOk;
};

using Tape = std::vector<std::string>;

// Key releases and keypad clicks reach the engine; what the engine makes of them is its own
// tests' business.
TEST_F(WindowTest, KeysAndKeypadReachTheEngine) {
  Open();
  QApplication::clipboard()->setText("copied by the user");
  Type("45");
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  Type("12");
  Press(Qt::Key_Return);
  EXPECT_EQ(Lines(),
            (Tape{Entry('+', "45.00"), Entry('+', "12.00"), kSep, Entry('+', "57.00"), ""}));
  EXPECT_EQ(CaretLine(), 5);

  // Shift+Enter only breaks the line; releasing Shift tidies the run left.
  SetText("");
  Type("45");
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  Type("12");
  Press(Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(Lines()[1], Entry('+', "12.00"));
  EXPECT_EQ(Lines().size(), 3u);

  // On the US layout "-" has a key of its own, "+" needs Shift and stays in the line.
  SetText("");
  Type("12-");
  EXPECT_EQ(Lines(), (Tape{Entry('+', "12.00"), "      - "}));
  SetText("");
  Type("45+");
  EXPECT_EQ(Lines(), Tape{"45+"});

  SetText("");
  for (const char* key : {"cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "cmd6", "cmd7", "cmd8", "cmd9",
                          "cmd0", "cmdComma", "cmd5"}) {
    Click(key);
  }
  EXPECT_EQ(Lines(), Tape{"1234567890.5"});
  EXPECT_TRUE(window->DocModified());
  for (auto [key, op] :
       {std::pair{"cmdDiv", '/'}, {"cmdMul", '*'}, {"cmdMinus", '-'}, {"cmdPlus", '+'}}) {
    SetText("");
    Click("cmd7");
    Click(key);
    EXPECT_EQ(Lines(), (Tape{Entry('+', "7.00"), std::string("      ") + op + " "})) << key;
  }
  SetText("45\n12\n");
  Caret(3, 0);
  Click("cmdCalc");
  EXPECT_EQ(Lines(),
            (Tape{Entry('+', "45.00"), Entry('+', "12.00"), kSep, Entry('+', "57.00"), "", ""}));
  Caret(2, 3);
  Click("cmdClear");
  EXPECT_EQ(Lines()[1], "");
  EXPECT_TRUE(editor()->hasFocus()) << "keypad keys must not take the focus";
  EXPECT_EQ(QApplication::clipboard()->text(), "copied by the user");
}

// Select all leaves the caret at the start, so releasing "A" recomputes the run just edited:
// the selection must still hold the whole tape, grown or not.
TEST_F(WindowTest, SelectAllHoldsTheWholeTapeAfterTheRecalculation) {
  for (bool with_total : {false, true}) {
    Open();
    Type("45");
    Press(Qt::Key_Plus, Qt::KeypadModifier);
    if (with_total) {
      Type("12");
      Press(Qt::Key_Return);
      Type("3");
    } else {
      Type("12 rent");
    }
    Press(Qt::Key_A, Qt::ControlModifier);
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Lines().back(), with_total ? Entry('+', "3.00") : Entry('+', "12.00", "rent"));
    EXPECT_EQ(QApplication::clipboard()->text(), editor()->text()) << with_total;
    Type("Z");
    EXPECT_EQ(Lines(), Tape{"Z"}) << with_total;
  }
}

TEST_F(WindowTest, EngineRewritesLeaveDocModifiedAndTheCaption) {
  Open();
  SetText("45\n12\n");
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex []");
  EXPECT_TRUE(QGuiApplication::applicationDisplayName() == QGuiApplication::applicationName());
  Caret(3, 0);
  Click("cmdCalc");
  EXPECT_FALSE(window->DocModified());
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex []");
  Type("7");
  EXPECT_TRUE(window->DocModified());
  EXPECT_EQ(window->windowTitle(), "ZEL: Numvex [*]");
}

TEST_F(WindowTest, UndoKeepsOnlyTheLastChange) {
  Open();
  Type("abc");
  Press(Qt::Key_Return, Qt::ShiftModifier);
  Type("def");
  editor()->undo();
  editor()->undo();
  EXPECT_EQ(Lines(), (Tape{"abc", ""}));
}

struct ModeCase {
  const char* name;
  const char* file;
  bool calc;
  const char* item;
};

class SwitchModeTest : public WindowTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SwitchModeTest, ExtensionChoosesModeAndSyntax) {
  Open();
  window->SwitchMode(GetParam().file);
  EXPECT_EQ(window->CalcMode(), GetParam().calc);
  int checked = 0;
  for (QAction* item : window->findChild<QMenu*>("mnuSyntax")->actions()) {
    if (item->isChecked()) {
      ++checked;
      EXPECT_EQ(item->objectName(), GetParam().item);
    }
  }
  EXPECT_EQ(checked, 1);
  EXPECT_EQ(window->findChild<QAction*>("mnuONumvexMode")->isChecked(), GetParam().calc);
  EXPECT_EQ(window->findChild<QWidget*>("pnlCommand")->isVisible(), GetParam().calc);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Names, SwitchModeTest, ::testing::Values(
    ModeCase{"Nvx", "noname.nvx", true, "mnuSnvx"}, ModeCase{"NoExtension", "README", false, "mnuStxt"},
    ModeCase{"LastExtensionCounts", "backup.tar.GZ", false, "mnuStxt"},
    ModeCase{"Htm", "page.HTM", false, "mnuShtml"}, ModeCase{"NvxTxt", "tape.nvx.txt", false, "mnuStxt"},
    ModeCase{"C", "main.c", false, "mnuScpp"}, ModeCase{"H", "x.h", false, "mnuScpp"},
    ModeCase{"Ini", "a.ini", false, "mnuSini"}, ModeCase{"Java", "A.Java", false, "mnuSjava"},
    ModeCase{"Cgi", "s.cgi", false, "mnuSpl"}, ModeCase{"Pas", "u.pas", false, "mnuSpas"},
    ModeCase{"Xml", "d.xml", false, "mnuShtml"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(WindowTest, AskSaveBeforeGivingUpChanges) {
  Open();
  Type("12");
  answer = mrCancel;
  EXPECT_FALSE(window->close());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Save changes?");
  answer = mrNo;  // gives the changes up: a new empty calc document
  EXPECT_EQ(window->AskSave(), mrNo);
  EXPECT_EQ(Lines(), Tape{""});
  EXPECT_FALSE(window->DocModified());
}

TEST_F(WindowTest, SaveWritesTheLinesWithTheDocumentsLineBreak) {
  QTemporaryDir dir;
  const QString path = dir.filePath("lf.nvx");
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
  const QString path = dir.filePath("tape.nvx");
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

TEST_F(WindowTest, ImageShowsOnlyWhenTheKeypadColumnIsTallEnough) {
  Open();
  QWidget* client = window->centralWidget();
  QWidget* image = window->findChild<QWidget*>("pnlImage");
  const int menu = window->height() - client->height();
  for (auto [height, shown] : {std::pair{600, true}, {317, false}, {318, true}}) {
    window->resize(600, height + menu);
    QApplication::processEvents();
    ASSERT_EQ(client->height(), height);
    EXPECT_EQ(image->isVisible(), shown) << height;
  }
}

TEST_F(WindowTest, StartOptionsAndDocuments) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.nvx");
  WriteFile(path, "5\n");
  // The tray option in any case, with blanks around it.
  window = std::make_unique<TfrmCalc>(true, QStringList{"  /tb ", path}, ProgramWithoutIntro());
  EXPECT_FALSE(window->StartVisible());
  EXPECT_EQ(window->FileName(), path);
  window = std::make_unique<TfrmCalc>(true, QStringList{path}, ProgramWithoutIntro());
  EXPECT_TRUE(window->StartVisible());
  // A first start opens the introduction beside the program, in calc mode.
  WriteFile(dir.filePath("1Numvex.txt"), "Welcome\n");
  window = std::make_unique<TfrmCalc>(true, QStringList{}, dir.filePath("numvex"));
  EXPECT_TRUE(window->FileName().endsWith("1Numvex.txt")) << window->FileName().toStdString();
  EXPECT_TRUE(window->CalcMode());
  EXPECT_FALSE(Conf.FirstStart);
  // A missing document is reported and a new calc document starts.
  Open({"/nonexistent/folder/tape.nvx"});
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "The file you entered could not be found.");
  EXPECT_TRUE(window->FileName().isEmpty());
  EXPECT_TRUE(window->CalcMode());
}

TEST_F(WindowTest, DoubleClickInsideABracketRunsTheCommand) {
  QTemporaryDir dir;
  const QString marker = dir.filePath("marker");
  Open();
  SetText(("run [touch " + marker + "] now").toLatin1().constData());
  Caret(1, 6);
  window->txtCalcDblClick();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
}

}  // namespace
}  // namespace numvex::testing
