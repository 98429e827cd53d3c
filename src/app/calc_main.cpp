#include "app/calc_main.h"

#include <Qsci/qsciscintilla.h>

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "app/calc_document.h"
#include "app/editor_accessibility.h"
#include "app/editor_font.h"
#include "app/editor_widget.h"
#include "app/keypad_panel.h"
#include "app/message_box.h"
#include "app/scintilla_tape_buffer.h"
#include "app/settings_bridge.h"
#include "app/single_step_undo.h"
#include "app/stock_lexers.h"
#include "app/syn_lexer_adapter.h"
#include "app/tape_editor_controller.h"
#include "app/tray_presence.h"
#include "config/conf.h"
#include "config/lang_texts.h"
#include "config/recent_files.h"
#include "config/registry_store.h"
#include "config/settings.h"
#include "highlight/syn_nvx.h"
#include "highlight/syn_zel_rep.h"
#include "platform/key_layout.h"
#include "platform/system_info.h"
#include "ui/gpanel.h"

namespace numvex {

namespace {

constexpr const char* kCaptionPrefix = "ZEL: Numvex";

// The extension of a name: the text after the last ".", in lower case, or the
// whole lower-case name when it has no ".".
QString ExtensionOf(const QString& name) {
  QString e = name.toLower();
  int dot = e.lastIndexOf('.');
  return dot < 0 ? e : e.mid(dot + 1);
}

}  // namespace

TfrmCalc::TfrmCalc(bool first_instance, const QStringList& arguments, const QString& program_path,
                   QWidget* parent)
    : QMainWindow(parent), program_path_(program_path), first_instance_(first_instance) {
  setObjectName("frmCalc");
  setWindowTitle(QString(kCaptionPrefix) + "[]");
  QFont font("Arial");
  font.setPixelSize(11);
  setFont(font);
  resize(523, 501);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  setAcceptDrops(true);
  BuildEditor();
  BuildKeypad();
  BuildMenus();
  BuildDialogs();
  BuildTray();
  connect(findChild<QAction*>("FileOpen"), &QAction::triggered, this, &TfrmCalc::FileOpenExecute);
  FormCreate(arguments, program_path);
  // Only now: a broadcast its own first settings may have posted is not for this window.
  ListenToInstances();
}

TfrmCalc::~TfrmCalc() {
  // The adapters listen to the highlighters: detach and delete them before the
  // highlighters go.
  if (txtCalc_ != nullptr) txtCalc_->setLexer(nullptr);
  editor_options_.reset();
  delete nvx_lexer_;
  delete off_lexer_;
}

void TfrmCalc::BuildEditor() {
  auto* client = new QWidget(this);
  client->setObjectName("pnlClient");
  setCentralWidget(client);
  pnlCalcShadow_ = new TGPanel(client);
  pnlCalcShadow_->setObjectName("pnlCalcShadow");
  pnlCalcShadow_->setFrameShape(QFrame::NoFrame);
  pnlCalcShadow_->SetColor_1(clNavy);
  pnlCalcShadow_->SetColor_2(clNavy);
  pnlCalcShadow_->SetColor_3(clNavy);

  txtCalc_ = new EditorWidget(client);
  UsePlainAccessibilityWhileInactive();
  txtCalc_->setObjectName("txtCalc");
  txtCalc_->setUtf8(false);
  QFont editor_font("Courier New");
  editor_font.setPixelSize(13);
  editor_font.setStyleHint(QFont::Monospace);
  txtCalc_->setFont(editor_font);
  txtCalc_->setMarginsFont(ScintillaFont(editor_font, txtCalc_));
  txtCalc_->setMarginLineNumbers(0, true);
  txtCalc_->setMarginWidth(0, QStringLiteral("099"));
  txtCalc_->setMarginWidth(1, 0);
  txtCalc_->setTabWidth(4);
  // A horizontal scroll bar only when a line is wider than the view.
  txtCalc_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTH, 1UL);
  txtCalc_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTHTRACKING, 1UL);
  // A jump far into a large document paints at once: the text above the view is styled in
  // idle time, a bounded piece per step, and the view repainted when it is done.
  txtCalc_->SendScintilla(QsciScintillaBase::SCI_SETIDLESTYLING,
                          static_cast<unsigned long>(QsciScintillaBase::SC_IDLESTYLING_TOVISIBLE));
  txtCalc_->setIndentationsUseTabs(true);
  txtCalc_->setContextMenuPolicy(Qt::CustomContextMenu);
  txtCalc_->viewport()->installEventFilter(this);
  txtCalc_->viewport()->setAcceptDrops(true);
  pnlCalcShadow_->move(12, 12);
  txtCalc_->move(4, 3);
  txtCalc_->raise();

  tape_ = std::make_unique<TapeEditorController>(txtCalc_, static_cast<TapeHost&>(*this));
  document_ = std::make_unique<CalcDocument>(tape_->Buffer());
  connect(tape_.get(), &TapeEditorController::userTextChanged, this, &TfrmCalc::txtCalcChange);

  syn_high_nvx_ = MakeMainWindowNvx();
  syn_off_ = MakeSynOff();
  nvx_lexer_ = new SynLexerAdapter(syn_high_nvx_.get(), txtCalc_);
  off_lexer_ = new SynLexerAdapter(syn_off_.get(), txtCalc_);
  stock_lexers_ = std::make_unique<StockLexers>(txtCalc_);
  editor_options_ = std::make_unique<EditorOptions>(txtCalc_);
  registry_ = CurrentUserRegistry();
  settings_host_ = std::make_unique<SettingsBridge>(
      this, [this] { ApplyEditorOptions(); }, [this] { ApplyWindowStyle(); });
  settings_ =
      std::make_unique<SettingsStore>(*registry_, *settings_host_, program_path_.toStdString());
}

void TfrmCalc::BuildKeypad() {
  pnlCommand_ = new KeypadPanel(centralWidget());
  connect(pnlCommand_, &KeypadPanel::keyPressed, tape_.get(),
          &TapeEditorController::KeypadKeyPressed);
}

void TfrmCalc::FormCreate(const QStringList& arguments, const QString& program_path) {
  Separators seps = RegionalSeparators();
  TapeSettings tape_settings = tape_->Engine().Settings();
  tape_settings.seps = seps;
  tape_->Engine().SetSettings(tape_settings);
  InitTapeArithmetic();
  Conf.ShowNumPad = true;
  Conf.Language = DetectLanguage(UserDefaultLangId());
  LoadSettings();
  ApplyTapeSettings();
  mnuSyntax_->menuAction()->setVisible(Conf.ShowSyntaxMenu);
  SwitchMode("noname.nvx");
  LoadWindowPlacement();
  ApplyLanguage(Conf.Language, true);
  pnlCommand_->SetDecimalSeparator(seps.decimal);

  bool first_start = Conf.FirstStart;
  QString document;
  if (!arguments.isEmpty() && arguments.first().trimmed().toUpper() == "/TB") {
    document = arguments.value(1);
    start_visible_ = false;
  } else {
    document = arguments.value(0);
    start_visible_ = true;
  }
  // Logon start ("/TB") brings the icon only, the window stays hidden. Without an icon (a
  // second instance, or no notification area) a hidden window could never be reached or
  // ended: it shows.
  ShowTrayIcon(!start_visible_ || Conf.RunAtStartup);
  if (!tray_->TrayIconShown()) start_visible_ = true;
  if (Conf.FirstStart) {
    Conf.FirstStart = false;
    SaveSettings();
  }
  // The introduction greets a first start that was not asked to open a document: a
  // file the user opened the program with is never passed over for it.
  if (first_start && document.isEmpty()) {
    QFileInfo program(program_path);
    QString intro = QString::number(Conf.Language) + "Numvex.txt";
    int at = program_path.indexOf("Numvex.exe", 0, Qt::CaseInsensitive);
    QString path = at >= 0 ? QString(program_path).replace(at, 10, intro)
                           : program.absolutePath() + "/" + intro;
    // An installed program finds them in its data folder instead.
    if (!QFileInfo::exists(path))
      path = program.absolutePath() + "/" NUMVEX_DATA_FROM_PROGRAM "/" + intro;
    document = QFileInfo::exists(path) ? QDir::cleanPath(path) : QString();
  }
  QApplication::processEvents();
  OpenDocument(document);
  if (FileName().contains("Numvex.txt")) {
    SwitchMode("noname.nvx");
    Conf.ShowNumPad = true;
    FormResize();
  }
}

void TfrmCalc::SwitchMode(const QString& name) {
  QString e = ExtensionOf(name);
  for (QAction* item : syntax_items_->actions()) item->setChecked(false);
  auto check = [this](const char* item) {
    if (auto* a = findChild<QAction*>(item)) a->setChecked(true);
  };
  if (e == "nvx") {
    tape_->Engine().CalcMode = true;
    findChild<QAction*>("mnuONumvexMode")->setChecked(true);
    findChild<QAction*>("mnuOTexteditorMode")->setChecked(false);
    check("mnuSnvx");
    AttachLexer(nvx_lexer_);
    // The tape has no line numbers.
    txtCalc_->setMarginWidth(0, 0);
    txtCalc_->setMarginLineNumbers(0, false);
    save_filter_index_ = 1;
  } else {
    tape_->Engine().CalcMode = false;
    findChild<QAction*>("mnuONumvexMode")->setChecked(false);
    findChild<QAction*>("mnuOTexteditorMode")->setChecked(true);
    QsciLexer* lexer = off_lexer_;
    const char* item = "mnuStxt";
    int filter = save_filter_index_;
    if (e == "txt") {
      filter = 2;
    } else if (e == "ini") {
      lexer = stock_lexers_->Get(StockLexer::SynIni), filter = 3, item = "mnuSini";
    } else if (e == "cpp" || e == "c" || e == "h") {
      lexer = stock_lexers_->Get(StockLexer::SynCpp), filter = 4, item = "mnuScpp";
    } else if (e == "html" || e == "htm" || e == "xml") {
      lexer = stock_lexers_->Get(StockLexer::SynHTML), filter = 5, item = "mnuShtml";
    } else if (e == "pas") {
      lexer = stock_lexers_->Get(StockLexer::SynPas), filter = 6, item = "mnuSpas";
    } else if (e == "pl" || e == "pm" || e == "cgi") {
      lexer = stock_lexers_->Get(StockLexer::SynPerl), filter = 7, item = "mnuSpl";
    } else if (e == "java") {
      lexer = stock_lexers_->Get(StockLexer::SynJava), filter = 8, item = "mnuSjava";
    }
    AttachLexer(lexer);
    check(item);
    save_filter_index_ = filter;
  }
  FormResize();
  ApplyEditorOptions();
}

void TfrmCalc::AttachLexer(QsciLexer* lexer) {
  if (txtCalc_->lexer() == lexer) return;
  if (lexer != nullptr) ApplyEditorFont(*lexer, txtCalc_->font(), txtCalc_);
  txtCalc_->setLexer(lexer);
}

void TfrmCalc::FormResize() {
  QWidget* client = centralWidget();
  if (client == nullptr || pnlCommand_ == nullptr) return;
  int cw = client->width();
  int ch = client->height();
  int w = width();
  int editor_height = ch - 12;
  bool keypad = Conf.ShowNumPad && CalcMode();
  int editor_width = keypad ? w - 200 : w - 22;
  pnlCommand_->setVisible(keypad);
  setMinimumWidth(keypad ? 400 : 222);
  setMinimumHeight(235);
  txtCalc_->setGeometry(4, 3, std::max(editor_width, 0), std::max(editor_height, 0));
  pnlCalcShadow_->setGeometry(12, 12, std::max(editor_width, 0), std::max(editor_height - 2, 0));
  pnlCommand_->setGeometry(cw - KeypadPanel::kWidth, 0, KeypadPanel::kWidth, ch);
  pnlCommand_->Arrange();
  txtCalc_->update();
  pnlCalcShadow_->update();
}

void TfrmCalc::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TfrmCalc::UpdateCaption() {
  const QString caption =
      QString(kCaptionPrefix) + " [" + FileName() + (DocModified() ? "*" : "") + "]";
  // A title's "[*]" is where Qt puts its own modified mark; doubled, it stands for itself.
  setWindowTitle(QString(caption).replace("[*]", "[*][*]"));
  SetTrayTip(caption);
}

void TfrmCalc::SetDocModified(bool modified) {
  tape_->Engine().SetDocModified(modified);
  UpdateCaption();
}

void TfrmCalc::mnuONumvexModeClick() { SwitchMode("noname.nvx"); }

void TfrmCalc::mnuOTexteditorModeClick() {
  if (Conf.FirstTextMode) {
    Conf.FirstTextMode = false;
    SaveSettings();
    ShowMessage(this, {GetLangText("FirstTextModeText"), GetLangText("FirstTextModeCaption"),
                       MessageButtons::Ok, MessageIcon::Information});
  }
  SwitchMode(FileName().isEmpty() ? QStringLiteral("noname.txt") : FileName());
}

void TfrmCalc::mnuSiniClick(QAction* item) { SwitchMode("noname." + item->objectName().mid(4)); }

void TfrmCalc::ApplyTapeSettings() {
  TapeSettings settings = tape_->Engine().Settings();
  settings.decimals = Conf.Decimals;
  settings.round_results = Conf.RoundResults;
  tape_->Engine().SetSettings(settings);
}

void TfrmCalc::mnuFExitClick() { close(); }

void TfrmCalc::closeEvent(QCloseEvent* event) {
  if (AskSave() == mrCancel) {
    event->ignore();
    return;
  }
  SaveWindowPlacement();
  if (isVisible() && tray_->TrayIconShown()) {
    // With its icon shown the program stays on, hidden, in the notification area.
    event->ignore();
    hide();
    SetTrayTip(QString(kCaptionPrefix) + "[]");
    return;
  }
  event->accept();
  emit closed();
}

void TfrmCalc::DivisionByZero(int /*line*/) {
  ShowMessage(this, {GetLangText("Error200"), GetLangText("Ooops"), MessageButtons::Ok,
                     MessageIcon::Error});
}

void TfrmCalc::DocModifiedChanged(bool /*modified*/) { UpdateCaption(); }

void TfrmCalc::BeginBusy() {
  if (busy_depth_++ == 0) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
  }
}

void TfrmCalc::EndBusy() {
  if (--busy_depth_ == 0) {
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    txtCalc_->setFocus();
  }
}

void TfrmCalc::SetKeyLayout(std::unique_ptr<KeyLayout> layout) {
  tape_->SetKeyLayout(std::move(layout));
}

}  // namespace numvex
