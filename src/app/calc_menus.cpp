// The main window's menus, actions, hidden tool bar and the texts on them.
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "app/calc_main.h"
#include "app/message_box.h"
#include "app/search_controller.h"
#include "app/single_step_undo.h"
#include "app/tape_editor_controller.h"
#include "app/tray_presence.h"
#include "config/conf.h"
#include "config/lang_texts.h"

namespace numvex {

namespace {

QString Text(const char* id) { return QString::fromStdString(GetLangText(id)); }

struct ActionSpec {
  const char* name;
  const char* shortcut;  // empty: none
};

constexpr ActionSpec kActions[] = {
    {"FileNew", "Ctrl+N"},   {"FileOpen", "Ctrl+O"},  {"FileSave", "Ctrl+S"},
    {"FilePrint", ""},       {"EditCut", "Ctrl+X"},   {"EditCopy", "Ctrl+C"},
    {"EditPaste", "Ctrl+V"}, {"EditDel", "Ctrl+Del"}, {"EditUndo", "Ctrl+Z"},
    {"EditRedo", ""},        {"EditFind", "Ctrl+F"},  {"EditReplace", "Ctrl+R"},
};

// Syntax items and their captions; the item's name after "mnuS" is the extension.
constexpr const char* kSyntaxItems[][2] = {
    {"mnuSnvx", "Numvex"}, {"mnuStxt", "Text"},   {"mnuSini", "Ini"}, {"mnuScpp", "C/C++"},
    {"mnuShtml", "HTML"},  {"mnuSpas", "Pascal"}, {"mnuSpl", "Perl"}, {"mnuSjava", "Java"},
};

// A menu item shows its action's shortcut after a tab, while the shortcut itself
// belongs to the action, so it also works with the menu hidden.
void SetItemText(QAction* item, const QString& caption) {
  QString shortcut = item->property("shortcutText").toString();
  item->setText(shortcut.isEmpty() ? caption : caption + "\t" + shortcut);
}

}  // namespace

QAction* TfrmCalc::MenuItem(QMenu* menu, const char* name, QAction* action) {
  auto* item = new QAction(menu);
  item->setObjectName(name);
  if (action != nullptr) {
    item->setProperty("shortcutText", action->shortcut().toString(QKeySequence::NativeText));
    connect(item, &QAction::triggered, action, &QAction::trigger);
    item->setEnabled(action->isEnabled());
    connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
  }
  menu->addAction(item);
  return item;
}

void TfrmCalc::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("mnuMain");
  for (const ActionSpec& entry : kActions) {
    auto* action = new QAction(this);
    action->setObjectName(entry.name);
    if (*entry.shortcut) action->setShortcut(QKeySequence(entry.shortcut));
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
  }
  auto action = [this](const char* name) { return findChild<QAction*>(name); };

  QMenu* file = bar->addMenu(QString());
  file->setObjectName("mnuFile");
  file->menuAction()->setObjectName("mnuFileItem");
  MenuItem(file, "mnuFNew", action("FileNew"));
  MenuItem(file, "mnuFOpen", action("FileOpen"));
  MenuItem(file, "mnuFSave", action("FileSave"));
  QAction* save_as = MenuItem(file, "mnuFSaveAs");
  connect(save_as, &QAction::triggered, this, [this] { SaveFileAs(); });
  MenuItem(file, "mnuFPrint", action("FilePrint"));
  QAction* delim = file->addSeparator();
  delim->setObjectName("mnuFDelimLRU");
  delim->setVisible(false);
  for (int slot = 1; slot <= kLruCount; ++slot) {
    QAction* lru = MenuItem(file, QString("mnuFLRU%1").arg(slot).toLatin1().constData());
    lru->setData(slot);
    lru->setVisible(false);
    connect(lru, &QAction::triggered, this, [this, lru] { mnuFLRU1Click(lru->data().toInt()); });
  }
  file->addSeparator();
  connect(MenuItem(file, "mnuFExit"), &QAction::triggered, this, &TfrmCalc::mnuFExitClick);

  QMenu* edit = bar->addMenu(QString());
  edit->setObjectName("mnuEdit");
  MenuItem(edit, "mnuEUndo", action("EditUndo"));
  QAction* redo = MenuItem(edit, "mnuERedo", action("EditRedo"));
  redo->setProperty("shortcutText", QKeySequence("Ctrl+Alt+Z").toString(QKeySequence::NativeText));
  edit->addSeparator();
  MenuItem(edit, "mnuECut", action("EditCut"));
  MenuItem(edit, "mnuECopy", action("EditCopy"));
  MenuItem(edit, "mnuEInsert", action("EditPaste"));
  MenuItem(edit, "mnuEDel", action("EditDel"));
  QAction* mark_all = MenuItem(edit, "mnuEMarkAll");
  mark_all->setShortcut(QKeySequence("Ctrl+A"));
  mark_all->setProperty("shortcutText", mark_all->shortcut().toString(QKeySequence::NativeText));
  edit->addSeparator();
  MenuItem(edit, "mnuESearch", action("EditFind"));
  QAction* again = MenuItem(edit, "mnuESearchAgain");
  again->setShortcut(QKeySequence(Qt::Key_F3));
  again->setProperty("shortcutText", again->shortcut().toString(QKeySequence::NativeText));
  again->setEnabled(false);  // until the first search
  MenuItem(edit, "mnuEReplace", action("EditReplace"));

  mnuSyntax_ = bar->addMenu(QStringLiteral("Syntax"));
  mnuSyntax_->setObjectName("mnuSyntax");
  syntax_items_ = new QActionGroup(this);
  syntax_items_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
  for (const auto& item_spec : kSyntaxItems) {
    QAction* item = MenuItem(mnuSyntax_, item_spec[0]);
    item->setText(QString::fromLatin1(item_spec[1]));
    item->setCheckable(true);
    syntax_items_->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { mnuSiniClick(item); });
  }

  QMenu* options = bar->addMenu(QString());
  options->setObjectName("mnuOptions");
  QAction* calc_mode = MenuItem(options, "mnuONumvexMode");
  calc_mode->setCheckable(true);
  connect(calc_mode, &QAction::triggered, this, &TfrmCalc::mnuONumvexModeClick);
  QAction* text_mode = MenuItem(options, "mnuOTexteditorMode");
  text_mode->setCheckable(true);
  connect(text_mode, &QAction::triggered, this, &TfrmCalc::mnuOTexteditorModeClick);
  options->addSeparator();
  connect(MenuItem(options, "mnuOPreferences"), &QAction::triggered, this,
          &TfrmCalc::mnuOPreferencesClick);

  QMenu* help = bar->addMenu(QString());
  help->setObjectName("mnuHelp");
  connect(MenuItem(help, "mnuHHelp"), &QAction::triggered, this, &TfrmCalc::mnuHHelpClick);
  connect(MenuItem(help, "mnuHAbout"), &QAction::triggered, this, &TfrmCalc::mnuHelpClick);

  // Editing runs the editor's own commands, as its keys do, so its change notices follow as for
  // typing. A command that changes the text is a new user action: its own undo step.
  struct EditCommand {
    const char* action;
    unsigned int message;
    bool changes_text;
  };
  static constexpr EditCommand kEditCommands[] = {
      {"EditUndo", QsciScintillaBase::SCI_UNDO, false},
      {"EditRedo", QsciScintillaBase::SCI_REDO, false},
      {"EditCut", QsciScintillaBase::SCI_CUT, true},
      {"EditCopy", QsciScintillaBase::SCI_COPY, false},
      {"EditPaste", QsciScintillaBase::SCI_PASTE, true},
      {"EditDel", QsciScintillaBase::SCI_CLEAR, true},  // the selection or the next character
  };
  for (const EditCommand& c : kEditCommands) {
    connect(action(c.action), &QAction::triggered, this, [this, c] {
      if (c.changes_text) tape_->Undo().StartNewAction();
      txtCalc_->SendScintilla(c.message);
    });
  }
  connect(mark_all, &QAction::triggered, this,
          [this] { txtCalc_->SendScintilla(QsciScintillaBase::SCI_SELECTALL); });
  // What there is to cut, copy, delete or paste is looked at when a menu with them opens.
  auto update_edit_commands = [this, action] {
    const bool selected = txtCalc_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEMPTY) == 0;
    for (const char* name : {"EditCut", "EditCopy", "EditDel"}) action(name)->setEnabled(selected);
    action("EditPaste")->setEnabled(!QApplication::clipboard()->text().isEmpty());
  };
  connect(edit, &QMenu::aboutToShow, this, update_edit_commands);
  // Greyed only while a menu shows it: the shortcuts act whatever the menu last saw, and a
  // command with nothing to act on does nothing.
  auto enable_edit_commands = [action] {
    for (const char* name : {"EditCut", "EditCopy", "EditDel", "EditPaste"}) {
      action(name)->setEnabled(true);
    }
  };
  connect(edit, &QMenu::aboutToHide, this, enable_edit_commands);

  search_ = new SearchController(txtCalc_, this);
  connect(action("EditFind"), &QAction::triggered, search_, &SearchController::ShowFind);
  connect(action("EditReplace"), &QAction::triggered, search_, &SearchController::ShowReplace);
  connect(again, &QAction::triggered, search_, &SearchController::FindNext);
  connect(search_, &SearchController::searched, again, [again] { again->setEnabled(true); });
  connect(search_, &SearchController::editsStarting, &tape_->Undo(), &SingleStepUndo::BeginCommand);
  connect(search_, &SearchController::editsFinished, &tape_->Undo(), &SingleStepUndo::EndCommand);
  connect(action("FileSave"), &QAction::triggered, this, [this] { SaveFile(); });
  connect(action("FileNew"), &QAction::triggered, this, [this] {
    if (AskSave() != mrCancel) NewCalcFile();
  });

  // The editor's context menu.
  auto* popup = new QMenu(this);
  popup->setObjectName("PopupEdit");
  MenuItem(popup, "EditCut1", action("EditCut"));
  MenuItem(popup, "EditCopy1", action("EditCopy"));
  MenuItem(popup, "EditPaste1", action("EditPaste"));
  MenuItem(popup, "EditDelete1", action("EditDel"));
  popup->addSeparator();
  QAction* paste_link = MenuItem(popup, "mnuPPasteLink");
  connect(paste_link, &QAction::triggered, this, &TfrmCalc::mnuPPasteLinkClick);
  connect(popup, &QMenu::aboutToShow, this, [this, paste_link] {
    paste_link->setText(Text(CaretInLink() ? "editlink" : "pastelink"));
  });
  popup->addSeparator();
  QAction* popup_all = MenuItem(popup, "EditMarkAll1");
  connect(popup_all, &QAction::triggered, mark_all, &QAction::trigger);
  connect(popup, &QMenu::aboutToShow, this, update_edit_commands);
  connect(popup, &QMenu::aboutToHide, this, enable_edit_commands);
  connect(txtCalc_, &QWidget::customContextMenuRequested, popup,
          [this, popup](const QPoint& at) { popup->exec(txtCalc_->mapToGlobal(at)); });

  // The tool bar runs the same actions; it stays hidden.
  tbarButton_ = new QToolBar(this);
  tbarButton_->setObjectName("tbarButton");
  const char* buttons[][2] = {{"btnFileNew", "FileNew"},         {"btnFileOpen", "FileOpen"},
                              {"btnFileSave", "FileSave"},       {"btnFilePrint", "FilePrint"},
                              {"btnEditFind", "EditFind"},       {"btnEditReplace", "EditReplace"},
                              {"btnOptions", "mnuOPreferences"}, {"btnHelp", "mnuHHelp"}};
  for (const auto& b : buttons) {
    auto* button = new QToolButton(tbarButton_);
    button->setObjectName(b[0]);
    button->setAutoRaise(true);
    button->setDefaultAction(action(b[1]));
    tbarButton_->addWidget(button);
  }
  addToolBar(tbarButton_);
  tbarButton_->hide();
}

void TfrmCalc::ApplyLanguage(int /*language*/, bool main_window_only) {
  // File type lists of the dialogs are read from the language texts when shown.
  struct Caption {
    const char* item;
    const char* id;
  };
  static constexpr Caption kCaptions[] = {
      {"mnuOPreferences", "mnuOPreferencesCaption"},
      {"mnuOTexteditorMode", "mnuOTexteditorModeCaption"},
      {"mnuONumvexMode", "mnuONumvexModeCaption"},
      {"mnuFNew", "mnuFNewCaption"},
      {"mnuFOpen", "mnuFOpenCaption"},
      {"mnuFSave", "mnuFSaveCaption"},
      {"mnuFSaveAs", "mnuFSaveAsCaption"},
      {"mnuFPrint", "mnuFPrintCaption"},
      {"mnuFExit", "mnuFExitCaption"},
      {"mnuEUndo", "mnuEUndoCaption"},
      {"mnuERedo", "mnuERedoCaption"},
      {"mnuECut", "mnuECutCaption"},
      {"EditCut1", "mnuECutCaption"},
      {"EditCopy1", "mnuECopyCaption"},
      {"EditPaste1", "mnuEInsertCaption"},
      {"mnuECopy", "mnuECopyCaption"},
      {"mnuEInsert", "mnuEInsertCaption"},
      {"mnuEDel", "mnuEDelCaption"},
      {"mnuEMarkAll", "mnuEMarkAllCaption"},
      {"mnuESearch", "mnuESearchCaption"},
      {"mnuESearchAgain", "mnuESearchAgainCaption"},
      {"mnuEReplace", "mnuEReplaceCaption"},
      {"mnuHHelp", "mnuHHelp"},
      {"EditDelete1", "mnuEDelCaption"},
      {"EditMarkAll1", "mnuEMarkAllCaption"},
      {"mnuHAbout", "mnuHAbout"},
  };
  for (const Caption& c : kCaptions) {
    if (auto* item = findChild<QAction*>(c.item)) SetItemText(item, Text(c.id));
  }
  struct MenuCaption {
    const char* menu;
    const char* id;
  };
  static constexpr MenuCaption kMenus[] = {{"mnuFile", "mnuFileCaption"},
                                           {"mnuEdit", "mnuEditCaption"},
                                           {"mnuOptions", "mnuOptionsCaption"},
                                           {"mnuHelp", "mnuHelpCaption"}};
  for (const MenuCaption& m : kMenus) {
    if (auto* menu = findChild<QMenu*>(m.menu)) menu->setTitle(Text(m.id));
  }
  // Tool bar hints copy the menu captions.
  const char* hints[][2] = {{"btnFileNew", "mnuFNew"},         {"btnFileOpen", "mnuFOpen"},
                            {"btnFilePrint", "mnuFPrint"},     {"btnFileSave", "mnuFSave"},
                            {"btnEditFind", "mnuESearch"},     {"btnEditReplace", "mnuEReplace"},
                            {"btnOptions", "mnuOPreferences"}, {"btnHelp", "mnuHHelp"}};
  for (const auto& h : hints) {
    auto* button = findChild<QToolButton*>(h[0]);
    auto* item = findChild<QAction*>(h[1]);
    if (button != nullptr && item != nullptr) button->setToolTip(item->text().section('\t', 0, 0));
  }
  tray_->ApplyLanguage();
  if (!main_window_only) ApplyLanguageToDialogs();
}

}  // namespace numvex
