// The main window's wiring that the desktop end-to-end test cannot see.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/tray_presence.h"
#include "common/tape_text.h"
#include "window_fixture.h"

namespace numvex::testing {
namespace {

const Tape kTotal = {Entry('+', "45.00"), Entry('+', "12.00"), kSep, Entry('+', "57.00"), ""};

TEST_F(WindowTest, KeypadKeysReachTheEngineDoubleClickRunsABracketAndTheImageNeedsRoom) {
  Open();
  // clang-format off
  const struct { std::vector<const char*> keys; Tape lines; } kClicks[] = {
      {{"cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "cmd6", "cmd7", "cmd8", "cmd9", "cmd0", "cmdComma", "cmd5"}, {"1234567890.5"}},
      {{"cmd7", "cmdDiv"}, {Entry('+', "7.00"), "      / "}}, {{"cmd7", "cmdMul"}, {Entry('+', "7.00"), "      * "}},
      {{"cmd7", "cmdMinus"}, {Entry('+', "7.00"), "      - "}}, {{"cmd7", "cmdPlus"}, {Entry('+', "7.00"), "      + "}},
      {{"cmd4", "cmd5", "cmdPlus", "cmd1", "cmd2", "cmdCalc"}, kTotal}, {{"cmd4", "cmd5", "cmdClear"}, {""}}};
  // clang-format on
  for (const auto& c : kClicks) {
    window->Editor()->clear();
    window->SetDocModified(false);
    for (const char* key : c.keys)
      QTest::mouseClick(window->findChild<QToolButton*>(key), Qt::LeftButton);
    EXPECT_EQ(std::pair(Lines(), window->DocModified()), std::pair(c.lines, true)) << c.keys.back();
  }
  EXPECT_TRUE(window->Editor()->hasFocus()) << "keypad keys must not take the focus";
  QTemporaryDir dir;
  const QString marker = dir.filePath("marker");
  window->Editor()->setText("run [touch " + marker + "] now");
  window->Editor()->setCursorPosition(0, 6);
  window->TapeEditor().txtCalcDblClick();
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
  QWidget* client = window->centralWidget();
  const int menu = window->height() - client->height();
  for (auto [height, shown] : {std::pair{600, true}, {317, false}, {318, true}}) {
    window->resize(600, height + menu);
    QApplication::processEvents();
    ASSERT_EQ(client->height(), height);
    EXPECT_EQ(window->findChild<QWidget*>("pnlImage")->isVisible(), shown) << height;
  }
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
    EXPECT_EQ(QApplication::clipboard()->text(), window->Editor()->text()) << total;
    Type("Z");
    EXPECT_EQ(Lines(), Tape{"Z"}) << total;
  }
}

TEST_F(WindowTest, SaveCaptionModifiedFlagAndUndo) {
  QTemporaryDir dir;
  const QString path = dir.filePath("lf.nvx");
  WriteFile(path, "45\n+ 12\n---\n");
  Open({path});
  EXPECT_EQ(State(), "ZEL: Numvex [" + path + "]");
  ASSERT_TRUE(window->SaveFile());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), Join(kTotal, "\n"));
  Type("7");
  EXPECT_EQ(State(), "ZEL: Numvex [" + path + "*] +");
  window->NewCalcFile();
  EXPECT_EQ(State(), "ZEL: Numvex []");
  Type("abc");
  Press(Qt::Key_Return, Qt::ShiftModifier);
  Type("def");
  window->Editor()->undo();
  window->Editor()->undo();  // one step only
  EXPECT_EQ(Lines(), (Tape{"abc", ""}));
}

TEST_F(WindowTest, ExtensionChoosesModeAndSyntax) {
  // clang-format off
  const struct { const char* file; bool calc; const char* item; } kCases[] = {
      {"noname.nvx", true, "mnuSnvx"}, {"README", false, "mnuStxt"}, {"backup.tar.GZ", false, "mnuStxt"},
      {"page.HTM", false, "mnuShtml"}, {"tape.nvx.txt", false, "mnuStxt"}, {"main.c", false, "mnuScpp"},
      {"x.h", false, "mnuScpp"}, {"a.ini", false, "mnuSini"}, {"A.Java", false, "mnuSjava"},
      {"s.cgi", false, "mnuSpl"}, {"u.pas", false, "mnuSpas"}, {"d.xml", false, "mnuShtml"}};
  // clang-format on
  for (const auto& c : kCases) {
    Open();
    window->SwitchMode(c.file);
    std::vector<std::string> checked;
    for (QAction* item : window->findChild<QMenu*>("mnuSyntax")->actions())
      if (item->isChecked()) checked.push_back(item->objectName().toStdString());
    // The line numbers (on at a first start) show in text editor mode only.
    EXPECT_EQ(std::tuple(window->CalcMode(), Action("mnuONumvexMode")->isChecked(),
                         window->findChild<QWidget*>("pnlCommand")->isVisible(), checked,
                         window->Editor()->marginWidth(0) == 0),
              std::tuple(c.calc, c.calc, c.calc, std::vector<std::string>{c.item}, c.calc))
        << c.file;
  }
}

TEST_F(WindowTest, StartOptionsAndDocuments) {
  QTemporaryDir dir;
  const QString path = dir.filePath("t.nvx");
  WriteFile(path, "5\n");
  // The tray option in any case, with blanks around it; with no notification area to hold
  // the icon the window shows all the same.
  for (auto [arguments, tray, visible] : {std::tuple{QStringList{"  /tb ", path}, true, false},
                                          {{"/TB", path}, false, true},
                                          {{path}, true, true}}) {
    TrayPresence::PretendTrayForTesting(tray);
    Open(arguments);
    EXPECT_EQ(std::pair(window->StartVisible(), window->FileName()), std::pair(visible, path));
  }
  TrayPresence::PretendTrayForTesting(false);
  // Text editor mode on a calc document keeps calc mode, after a message shown only once.
  Conf.FirstTextMode = true;
  for (int i = 0; i < 2; ++i) Action("mnuOTexteditorMode")->trigger();
  EXPECT_TRUE(window->CalcMode() && !Conf.FirstTextMode);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].caption, "Text editor mode");
  // A first start opens the introduction beside the program, in calc mode.
  WriteFile(dir.filePath("1Numvex.txt"), "Welcome\n");
  Forget();
  Open({}, dir.filePath("numvex"));
  EXPECT_TRUE(window->FileName().endsWith("1Numvex.txt")) << window->FileName().toStdString();
  EXPECT_TRUE(window->CalcMode() && !Conf.FirstStart);
}

TEST_F(WindowTest, SettingsBoundsAndRecentFilesSurviveARestart) {
  Open();
  Conf.Decimals = 4, Conf.AlwaysOnTop = true, Conf.TabStops = 6, Conf.TabsToSpaces = true;
  window->SaveSettings();
  Conf.TabsToSpaces = false, Conf.SmartTabs = true;
  window->SaveSettings();  // the option set is replaced, not added to
  EXPECT_EQ(window->EditorOptionFlags(), eoScrollPastEol | eoSmartTabs | eoAutoIndent |
                                             eoTrimTrailingSpaces | eoDragDropEditing);
  EXPECT_EQ(window->Editor()->tabWidth(), 6);
  window->move(130, 90);
  window->resize(610, 470);
  LruFiles = {"/tmp/a & b.nvx", "", "/tmp/c.txt", ""};
  ASSERT_TRUE(window->close());

  ResetConfToProgramStart();
  Open();
  EXPECT_EQ(std::tie(Conf.Decimals, Conf.TabStops, Conf.FirstStart), std::make_tuple(4, 6, false));
  EXPECT_EQ(window->Engine().Settings().decimals, 4);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(QRect(window->pos(), window->size()), QRect(130, 90, 610, 470));
  EXPECT_EQ(Action("mnuFLRU1")->text(), "&1 /tmp/a && b.nvx");
  EXPECT_TRUE(Action("mnuFDelimLRU")->isVisible() && !Action("mnuFLRU2")->isVisible());
  // Giving up a named document puts it on top; its menu item opens it again.
  QTemporaryDir dir;
  const QString path = dir.filePath("t.nvx");
  WriteFile(path, "5\n");
  window->OpenDocument(path);
  Action("mnuFNew")->trigger();
  EXPECT_EQ(Action("mnuFLRU1")->text(), "&1 " + path);
  Action("mnuFLRU1")->trigger();
  EXPECT_EQ(window->FileName(), path);
  // Bounds on a screen no longer there come back onto the primary one.
  window->move(-9000, 90);
  ASSERT_TRUE(window->close());
  Open();
  EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(window->geometry().center()));
  EXPECT_TRUE(messages.empty());
}

TEST_F(WindowTest, RefusedSettingsFileIsReportedAndTheProgramGoesOn) {
  const QByteArray hive = qgetenv("NUMVEX_REGISTRY");
  qputenv("NUMVEX_REGISTRY", "/dev/null/hkcu.reg");
  Open();
  qputenv("NUMVEX_REGISTRY", hive);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Error);
  Type("45");
  Press(Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(Lines(), (Tape{Entry('+', "45.00"), "      + "}));
}

// Edit commands reach the editor as user edits; find, F3 and replace run from the menus.
TEST_F(WindowTest, EditMenuCommandsAndSearch) {
  Open();
  QsciScintilla* editor = window->Editor();
  editor->setText("abc");
  window->SetDocModified(false);
  editor->setSelection(0, 1, 0, 1);
  Action("EditDel")->trigger();
  EXPECT_TRUE(window->DocModified());
  editor->setSelection(0, 0, 0, 1);
  Action("EditCut")->trigger();
  Action("EditPaste")->trigger();
  EXPECT_EQ(editor->text() + "|" + QApplication::clipboard()->text(), "ac|a");
  // clang-format off
  const char* kItems[][4] = {{"mnuECut", "mnuECopy", "mnuEDel", "mnuEInsert"},
                             {"EditCut1", "EditCopy1", "EditDelete1", "EditPaste1"}};
  // clang-format on
  for (int menu = 0; menu < 2; ++menu) {
    for (auto [selected, clipboard] : {std::pair{false, ""}, {true, ""}, {false, "x"}}) {
      editor->setSelection(0, 0, 0, selected ? 1 : 0);
      QApplication::clipboard()->setText(clipboard);
      emit window->findChild<QMenu*>(menu == 0 ? "mnuEdit" : "PopupEdit")->aboutToShow();
      std::vector<bool> enabled;
      for (const char* item : kItems[menu]) enabled.push_back(Action(item)->isEnabled());
      EXPECT_EQ(enabled, (std::vector<bool>{selected, selected, selected, *clipboard != 0}));
      emit window->findChild<QMenu*>(menu == 0 ? "mnuEdit" : "PopupEdit")->aboutToHide();
      EXPECT_TRUE(Action("EditDel")->isEnabled() && Action("EditPaste")->isEnabled());
    }
  }

  editor->setText("sum x Sum");
  editor->setSelection(0, 0, 0, 0);
  EXPECT_FALSE(Action("mnuESearchAgain")->isEnabled());
  QTimer::singleShot(0, [this] {
    window->findChild<QLineEdit*>("edtSuchText")->setText("SUM");
    window->findChild<QCheckBox*>("chkFensterSchliessen")->setChecked(true);
    window->findChild<QPushButton*>("btnSuchen")->click();
  });
  Action("EditFind")->trigger();
  Action("mnuESearchAgain")->trigger();
  EXPECT_EQ(editor->selectedText(), "Sum");

  // The focus comes back to the editor after each question; the command stays one undo step.
  SetMessageHandler([&](const MessageRequest& r) {
    messages.push_back(r);
    QFocusEvent focus_in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(editor, &focus_in);
    return int{mrYes};
  });
  editor->setSelection(0, 0, 0, 0);
  window->SetDocModified(false);
  QTimer::singleShot(0, [this] {
    window->findChild<QLineEdit*>("edtSearchtext")->setText("sum");
    window->findChild<QLineEdit*>("edtReplaceText")->setText("n");
    window->findChild<QCheckBox*>("chkAllesErsetzen")->setChecked(true);
    window->findChild<QPushButton*>("btnOK")->click();
  });
  Action("EditReplace")->trigger();
  EXPECT_EQ(std::tuple(editor->text().toStdString(), window->DocModified(), messages.size()),
            std::tuple("n x n", true, 3u));
  Action("EditUndo")->trigger();
  EXPECT_EQ(editor->text().toStdString(), "sum x Sum");
}

// The preferences: a language chosen relabels every window at once and lasts; OK reshapes
// the window and recalculates the tape.
TEST_F(WindowTest, PreferencesLanguageAndOk) {
  QTemporaryDir dir;
  WriteFile(dir.filePath("t.nvx"), "45\n+12\n===\n");
  Open({dir.filePath("t.nvx")});
  QTimer::singleShot(0, [this] {
    auto* dialog = window->findChild<QDialog*>("frmOptions");
    auto* language = dialog->findChild<QComboBox*>("cboxLanguage");
    language->setCurrentIndex(1);
    emit language->activated(1);
    dialog->findChild<QSpinBox*>("edtDecimals")->setValue(3);
    dialog->findChild<QCheckBox*>("chkShowSyntaxMenu")->setChecked(true);
    dialog->findChild<QPushButton*>("cmdOK")->click();
  });
  Action("mnuOPreferences")->trigger();
  const auto german = [this] {
    return std::tuple(window->findChild<QMenu*>("mnuFile")->title(),
                      window->findChild<QToolButton*>("btnFileNew")->toolTip(),
                      window->findChild<QDialog*>("frmOptions")->windowTitle(),
                      window->findChild<QDialog*>("frmHelp")->windowTitle());
  };
  EXPECT_EQ(german(), std::tuple("&Datei", "Neu", "Numvex: Optionen", "Numvex: Hilfe"));
  EXPECT_EQ(Lines(), (Tape{Entry('+', "45.000"), Entry('+', "12.000"), "      -----------------",
                           Entry('+', "57.000")}));
  EXPECT_TRUE(window->findChild<QMenu*>("mnuSyntax")->menuAction()->isVisible());
  ASSERT_TRUE(window->close());
  ResetConfToProgramStart();
  Open();
  EXPECT_EQ(std::get<0>(german()), "&Datei");
}

// The context menu offers to edit the shortcut the caret is in; the chosen path replaces it.
TEST_F(WindowTest, ShortcutFromTheContextMenu) {
  Open();
  window->SwitchMode("notes.txt");
  window->Editor()->setText("see [/old/file] now");
  window->SetDocModified(false);
  auto* popup = window->findChild<QMenu*>("PopupEdit");
  for (auto [index, caption] : {std::pair{2, "Paste shortcut"}, {8, "Edit shortcut"}}) {
    window->Editor()->setCursorPosition(0, index);
    emit popup->aboutToShow();
    EXPECT_EQ(Action("mnuPPasteLink")->text(), caption);
  }
  chosen = "/new/tape.nvx";
  Action("mnuPPasteLink")->trigger();
  EXPECT_EQ(std::pair(window->Editor()->text(), window->DocModified()),
            std::pair(QString("see [/new/tape.nvx] now"), true));
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].filter_index, 9);
}

}  // namespace
}  // namespace numvex::testing
