#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

#include "app/editor_options.h"
#include "app/tape_editor_controller.h"
#include "tape/document_text.h"
#include "tape/tape_engine.h"
#include "tape/tape_host.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QMenu;
class QsciLexer;
class QsciScintilla;
class QToolBar;
class QToolButton;

namespace numvex {

namespace registry {
class Registry;
}
class CalcDocument;
class EditorOptions;
class InstanceBroadcast;
class KeyLayout;
class SettingsBridge;
class SettingsStore;
class KeypadPanel;
class ScintillaTapeBuffer;
class SearchController;
class SingleStepUndo;
class SynLexerAdapter;
class TGPanel;
class TfrmAbout;
class TfrmHelp;
class TfrmOptions;
class TrayPresence;
class TSynhighNvx;
class TzelRepSyn;
class StockLexers;

// The main window: the editor txtCalc with the tape engine, the keypad, the menus.
class TfrmCalc : public QMainWindow, private TapeHost {
  Q_OBJECT
 public:
  // `arguments` are the program's command-line arguments without the program name;
  // `program_path` is the program file, beside which the introduction documents lie.
  TfrmCalc(bool first_instance, const QStringList& arguments, const QString& program_path,
           QWidget* parent = nullptr);
  ~TfrmCalc() override;

  // Whether the window should be shown after creation (false for "/TB").
  bool StartVisible() const { return start_visible_; }

  // State shared with the tape engine.
  bool CalcMode() const { return tape_->Engine().CalcMode; }
  bool DocModified() const { return tape_->Engine().DocModified(); }
  const QString& FileName() const;
  TapeEngine& Engine() { return tape_->Engine(); }
  TapeEditorController& TapeEditor() { return *tape_; }
  QsciScintilla* Editor() const { return txtCalc_; }

  void SwitchMode(const QString& name);
  void FormResize();
  // Hands the engine the decimals and rounding of Conf; called whenever they may have changed.
  void ApplyTapeSettings();
  // Settings in the current user's hive (the settings store's operations, for this window).
  void LoadSettings();
  void SaveSettings();
  void ApplyEditorOptions();
  void ApplyWindowStyle();
  void LoadWindowPlacement();
  void SaveWindowPlacement();
  void UpdateRecentMenu();
  EditorOptionSet EditorOptionFlags() const;
  void UpdateCaption();
  void SetDocModified(bool modified);
  void OpenDocument(const QString& name);
  void NewCalcFile();
  int AskSave();
  bool WriteDocument();
  bool SaveFile();
  bool SaveFileAs();
  void FileOpenExecute();
  void FilePrintExecute();
  void ApplyLanguage(int language, bool main_window_only);
  // The notification-area icon; only the first instance ever shows one.
  TrayPresence& Tray() { return *tray_; }
  void ShowTrayIcon(bool on);
  void oTaskBarDblClick();
  void mnuPQuitClick();
  // Replaces the character-to-key translation (tests inject a layout).
  void SetKeyLayout(std::unique_ptr<KeyLayout> layout);

  // Menu and keypad handlers.
  void mnuONumvexModeClick();
  void mnuOTexteditorModeClick();
  void mnuSiniClick(QAction* item);
  void mnuOPreferencesClick();
  void mnuFExitClick();
  void mnuFLRU1Click(int tag);
  void mnuHHelpClick();
  // Shortcuts: whether the caret is in one, and inserting or replacing one from a file dialog.
  bool CaretInLink() const;
  void mnuPPasteLinkClick();
  void mnuHelpClick();  // the about box

  // The user changed the editor's text.
  void txtCalcChange();

 signals:
  // The window closed for good (not into the notification area): the program ends.
  void closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // TapeHost
  void DivisionByZero(int line) override;
  void DocModifiedChanged(bool modified) override;
  void BeginBusy() override;
  void EndBusy() override;

  void ApplyLanguageToDialogs();
  void BuildDialogs();
  void BuildTray();
  void ListenToInstances();
  void SetTrayTip(const QString& tip);
  void InstanceBroadcastReceived();
  void FormCreate(const QStringList& arguments, const QString& program_path);
  void BuildEditor();
  void BuildMenus();
  void BuildKeypad();
  void AttachLexer(QsciLexer* lexer);
  bool HandleDroppedUrls(const QList<QUrl>& urls);
  QAction* MenuItem(QMenu* menu, const char* name, QAction* action = nullptr);

  QsciScintilla* txtCalc_ = nullptr;
  TGPanel* pnlCalcShadow_ = nullptr;
  KeypadPanel* pnlCommand_ = nullptr;
  SearchController* search_ = nullptr;  // a child of the window
  QToolBar* tbarButton_ = nullptr;
  QMenu* mnuSyntax_ = nullptr;
  QActionGroup* syntax_items_ = nullptr;
  std::unique_ptr<TapeEditorController> tape_;
  std::unique_ptr<TSynhighNvx> syn_high_nvx_;
  std::unique_ptr<TzelRepSyn> syn_off_;
  SynLexerAdapter* nvx_lexer_ = nullptr;
  SynLexerAdapter* off_lexer_ = nullptr;
  std::unique_ptr<StockLexers> stock_lexers_;
  std::unique_ptr<EditorOptions> editor_options_;
  std::unique_ptr<registry::Registry> registry_;
  std::unique_ptr<SettingsBridge> settings_host_;
  std::unique_ptr<SettingsStore> settings_;
  QString program_path_;
  std::unique_ptr<CalcDocument> document_;
  TfrmHelp* help_ = nullptr;
  TfrmAbout* about_ = nullptr;
  TfrmOptions* options_ = nullptr;
  TrayPresence* tray_ = nullptr;
  InstanceBroadcast* broadcast_ = nullptr;
  int save_filter_index_ = 1;
  bool first_instance_ = false;
  bool start_visible_ = true;
  int busy_depth_ = 0;
};

}  // namespace numvex
