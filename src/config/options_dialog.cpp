#include "config/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "config/conf.h"
#include "config/lang_texts.h"
#include "config/options_pictures.h"

namespace numvex {

namespace {

constexpr int kClientWidth = 354;
constexpr int kClientHeight = 276;
// Where the window opens relative to the main window's top left corner.
constexpr int kOffsetLeft = 50;
constexpr int kOffsetTop = 70;

QString Text(const char* id) { return QString::fromStdString(GetLangText(id)); }

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QCheckBox* Box(QWidget* page, const char* name) { return Named(new QCheckBox(page), name); }

QSpinBox* Spin(QSpinBox* spin, int maximum) {
  spin->setRange(0, maximum);
  spin->setFixedWidth(44);
  return spin;
}

// A row under a heading: the controls, set in a little, and room after them.
void AddRow(QVBoxLayout* page, std::initializer_list<QWidget*> widgets) {
  constexpr int kIndent = 8;
  auto* row = new QHBoxLayout;
  row->setSpacing(6);
  row->addSpacing(kIndent);
  for (QWidget* widget : widgets) row->addWidget(widget);
  row->addStretch();
  page->addLayout(row);
}

QVBoxLayout* PageLayout(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 4);
  layout->setSpacing(2);
  return layout;
}

// The start of a group; every group but the first keeps some distance from the one above.
void AddHeading(QVBoxLayout* page, QLabel* heading) {
  if (page->count() > 0) page->addSpacing(4);
  page->addWidget(heading);
}

// Moves `start` back so that [start, start + length) ends at `end` at the latest.
int KeepBefore(int start, int length, int end) {
  return end < start + length ? end - length : start;
}

}  // namespace

TDecimalsSpinBox::TDecimalsSpinBox(QWidget* parent) : QSpinBox(parent) {}

QValidator::State TDecimalsSpinBox::validate(QString& input, int& /*pos*/) const {
  const QString text = input.trimmed();
  if (text.isEmpty() || text == "-" || text == "+") return QValidator::Intermediate;
  bool ok = false;
  text.toInt(&ok);
  return ok ? QValidator::Acceptable : QValidator::Invalid;
}

int TDecimalsSpinBox::valueFromText(const QString& text) const {
  return std::clamp(text.trimmed().toInt(), minimum(), maximum());
}

void TDecimalsSpinBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    // Before the spin box would put the text into range.
    emit returnPressed(lineEdit()->text());
    return;
  }
  QSpinBox::keyPressEvent(event);
}

TfrmOptions::TfrmOptions(QWidget* main_window, OptionsHooks hooks)
    : QDialog(main_window),
      hooks_(std::move(hooks)),
      pgctrlOptions_(Named(new QTabWidget(this), "pgctrlOptions")),
      tabStandardOptions_(Named(new QWidget, "tabStandardOptions")),
      tabExtendedOptions_(Named(new QWidget, "tabExtendedOptions")),
      pnlCommand_(Named(new QFrame(this), "pnlCommand")),
      cmdOK_(Named(new QPushButton("OK", pnlCommand_), "cmdOK")),
      cmdCancel_(Named(new QPushButton(pnlCommand_), "cmdCancel")),
      imgZel_(Named(new QLabel(pnlCommand_), "imgZel")),
      lblNumber_(Named(new THeadingLabel(tabStandardOptions_), "lblNumber")),
      lblLanguage_(Named(new THeadingLabel(tabStandardOptions_), "lblLanguage")),
      lblSysOpts_(Named(new THeadingLabel(tabStandardOptions_), "lblSysOpts")),
      edtDecimals_(Named(new TDecimalsSpinBox(tabStandardOptions_), "edtDecimals")),
      lblDecimals_(Named(new QLabel(tabStandardOptions_), "lblDecimals")),
      chkRound_(Box(tabStandardOptions_, "chkRound")),
      cboxLanguage_(Named(new QComboBox(tabStandardOptions_), "cboxLanguage")),
      chkExtension_(Box(tabStandardOptions_, "chkExtension")),
      chkAddIcon_(Box(tabStandardOptions_, "chkAddIcon")),
      chkAllwaysOnTop_(Box(tabStandardOptions_, "chkAllwaysOnTop")),
      chkShowNumPad_(Box(tabStandardOptions_, "chkShowNumPad")),
      lblEditorOptions_(Named(new THeadingLabel(tabExtendedOptions_), "lblEditorOptions")),
      chkSmartTabs_(Box(tabExtendedOptions_, "chkSmartTabs")),
      spinTabCount_(Named(new QSpinBox(tabExtendedOptions_), "spinTabCount")),
      lblTabCount_(Named(new QLabel(tabExtendedOptions_), "lblTabCount")),
      chkAutoIndent_(Box(tabExtendedOptions_, "chkAutoIndent")),
      chkTrailingSpaces_(Box(tabExtendedOptions_, "chkTrailingSpaces")),
      chkTabsToSpaces_(Box(tabExtendedOptions_, "chkTabsToSpaces")),
      chkDragDropEditing_(Box(tabExtendedOptions_, "chkDragDropEditing")),
      chkGutter_(Box(tabExtendedOptions_, "chkGutter")),
      chkAskSave_(Box(tabExtendedOptions_, "chkAskSave")),
      chkShowSyntaxMenu_(Box(tabExtendedOptions_, "chkShowSyntaxMenu")) {
  setObjectName("frmOptions");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(kClientWidth, kClientHeight);

  Spin(edtDecimals_, 9);
  Spin(spinTabCount_, 20);
  lblDecimals_->setBuddy(edtDecimals_);
  lblTabCount_->setBuddy(spinTabCount_);
  // The language names are written in their own language and never translated.
  cboxLanguage_->setIconSize(FlagSize());
  cboxLanguage_->addItem(QString());
  cboxLanguage_->addItem(GermanFlag(), "Deutsch");
  cboxLanguage_->addItem(EnglishFlag(), "English");
  cboxLanguage_->setFixedWidth(120);

  QVBoxLayout* standard = PageLayout(tabStandardOptions_);
  AddHeading(standard, lblNumber_);
  AddRow(standard, {edtDecimals_, lblDecimals_});
  AddRow(standard, {chkRound_});
  AddHeading(standard, lblLanguage_);
  AddRow(standard, {cboxLanguage_});
  AddHeading(standard, lblSysOpts_);
  for (QWidget* box : {chkExtension_, chkAddIcon_, chkAllwaysOnTop_, chkShowNumPad_}) {
    AddRow(standard, {box});
  }
  standard->addStretch();

  QVBoxLayout* editor = PageLayout(tabExtendedOptions_);
  AddHeading(editor, lblEditorOptions_);
  AddRow(editor, {chkSmartTabs_});
  AddRow(editor, {spinTabCount_, lblTabCount_});
  for (QWidget* box : {chkAutoIndent_, chkTrailingSpaces_, chkTabsToSpaces_, chkDragDropEditing_,
                       chkGutter_, chkAskSave_, chkShowSyntaxMenu_}) {
    AddRow(editor, {box});
  }
  editor->addStretch();

  pgctrlOptions_->addTab(tabStandardOptions_, "&Standard");
  pgctrlOptions_->addTab(tabExtendedOptions_, "&Editor");

  pnlCommand_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pnlCommand_->setFixedWidth(80);
  cmdOK_->setDefault(true);
  imgZel_->setPixmap(OptionsLogo());
  imgZel_->setFixedSize(64, 64);
  auto* commands = new QVBoxLayout(pnlCommand_);
  commands->setContentsMargins(6, 6, 6, 6);
  commands->addWidget(cmdOK_);
  commands->addWidget(cmdCancel_);
  commands->addStretch();
  commands->addWidget(imgZel_, 0, Qt::AlignHCenter);

  auto* frame = new QHBoxLayout(this);
  frame->setContentsMargins(4, 4, 4, 4);
  frame->setSpacing(4);
  frame->addWidget(pgctrlOptions_, 1);
  frame->addWidget(pnlCommand_);

  connect(cmdOK_, &QPushButton::clicked, this,
          [this] { cmdOKClick(QString::number(edtDecimals_->value())); });
  connect(edtDecimals_, &TDecimalsSpinBox::returnPressed, this, &TfrmOptions::cmdOKClick);
  connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::reject);
  // `activated` comes from the user only, so filling the list does not change the language.
  connect(cboxLanguage_, &QComboBox::activated, this, &TfrmOptions::cboxLanguageChange);
  ApplyLanguage();
}

std::vector<std::pair<QCheckBox*, bool recConf::*>> TfrmOptions::CheckBoxes() const {
  return {{chkRound_, &recConf::RoundResults},
          {chkExtension_, &recConf::RegisterExtension},
          {chkAddIcon_, &recConf::RunAtStartup},
          {chkAllwaysOnTop_, &recConf::AlwaysOnTop},
          {chkShowNumPad_, &recConf::ShowNumPad},
          {chkShowSyntaxMenu_, &recConf::ShowSyntaxMenu},
          {chkSmartTabs_, &recConf::SmartTabs},
          {chkAutoIndent_, &recConf::AutoIndent},
          {chkTrailingSpaces_, &recConf::TrailingSpaces},
          {chkTabsToSpaces_, &recConf::TabsToSpaces},
          {chkDragDropEditing_, &recConf::DragDropEditing},
          {chkGutter_, &recConf::Gutter},
          {chkAskSave_, &recConf::AskSave}};
}

void TfrmOptions::ApplyLanguage() {
  setWindowTitle(Text("Optionscaption"));
  cmdCancel_->setText(Text("cmdCancelCaption"));
  const std::pair<QLabel*, const char*> labels[] = {
      {lblNumber_, "lblNumberCaption"},        {lblLanguage_, "lblLanguageCaption"},
      {lblSysOpts_, "lblSysOptsCaption"},      {lblDecimals_, "lblDecimalsCaption"},
      {lblEditorOptions_, "lblEditorOptions"}, {lblTabCount_, "lblTabCount"}};
  for (const auto& [label, id] : labels) label->setText(Text(id));
  const std::pair<QCheckBox*, const char*> boxes[] = {{chkRound_, "chkRoundCaption"},
                                                      {chkExtension_, "chkExtensionCaption"},
                                                      {chkAddIcon_, "chkAddIconCaption"},
                                                      {chkAllwaysOnTop_, "chkAllwaysOnTopCaption"},
                                                      {chkShowNumPad_, "chkShowNumPadCaption"},
                                                      {chkSmartTabs_, "SmartTabs"},
                                                      {chkAutoIndent_, "AutoIndent"},
                                                      {chkTrailingSpaces_, "TrailingSpaces"},
                                                      {chkTabsToSpaces_, "TabsToSpaces"},
                                                      {chkDragDropEditing_, "DragDropEditing"},
                                                      {chkGutter_, "chkGutter"},
                                                      {chkAskSave_, "chkAskSave"},
                                                      {chkShowSyntaxMenu_, "chkShowSyntaxMenu"}};
  for (const auto& [box, id] : boxes) box->setText(Text(id));
  chkGutter_->setToolTip(Text("lblEditorHint"));
}

int TfrmOptions::Execute() {
  QWidget* main_window = parentWidget();
  const QScreen* screen = main_window != nullptr ? main_window->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  const QRect available = screen->availableGeometry();
  QPoint origin = available.topLeft();
  if (main_window != nullptr) {
    // A window does not take its parent's font by itself.
    setFont(main_window->font());
    origin = main_window->frameGeometry().topLeft();
  }
  // Created now, the window knows the size of its frame before its first showing.
  create();
  const QSize size = frameGeometry().size();
  const int left =
      KeepBefore(origin.x() + kOffsetLeft, size.width(), available.x() + available.width());
  const int top =
      KeepBefore(origin.y() + kOffsetTop, size.height(), available.y() + available.height());
  move(left, top);
  if (hooks_.apply_language) {
    hooks_.apply_language(Conf.Language);
  } else {
    ApplyLanguage();
  }
  return exec() == QDialog::Accepted ? kResultOk : kResultCancel;
}

void TfrmOptions::showEvent(QShowEvent* event) {
  // A window restored by the desktop keeps what the user has entered so far.
  if (!event->spontaneous()) {
    FillFromConf();
    pgctrlOptions_->setCurrentWidget(tabStandardOptions_);
  }
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    edtDecimals_->setFocus();
    edtDecimals_->selectAll();
  }
}

void TfrmOptions::FillFromConf() {
  edtDecimals_->setValue(Conf.Decimals);
  spinTabCount_->setValue(Conf.TabStops);
  for (const auto& [box, field] : CheckBoxes()) box->setChecked(Conf.*field);
  cboxLanguage_->setCurrentIndex(Conf.Language + 1);
}

void TfrmOptions::cboxLanguageChange(int index) {
  if (index == 1 || index == 2) {
    Conf.Language = index - 1;
    if (hooks_.apply_language) {
      hooks_.apply_language(Conf.Language);
    } else {
      ApplyLanguage();
    }
  }
  SaveSettings();
  // The empty entry chooses nothing: the list shows the current language again.
  cboxLanguage_->setCurrentIndex(Conf.Language + 1);
}

void TfrmOptions::cmdOKClick(const QString& decimals) {
  bool is_integer = false;
  const int value = decimals.trimmed().toInt(&is_integer);
  if (is_integer) Conf.Decimals = value;
  const bool icon = chkAddIcon_->isChecked();
  if (icon != Conf.RunAtStartup && hooks_.tray_icon) hooks_.tray_icon(icon);
  for (const auto& [box, field] : CheckBoxes()) Conf.*field = box->isChecked();
  Conf.TabStops = spinTabCount_->value();
  SaveSettings();
  accept();
}

void TfrmOptions::SaveSettings() {
  if (hooks_.save_settings) hooks_.save_settings();
}

}  // namespace numvex
