#include "ui/help_window.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QVBoxLayout>
#include <cstddef>

#include "config/conf.h"
#include "config/lang_texts.h"
#include "ui/logo_pictures.h"

namespace numvex {

namespace {

constexpr int kWidth = 448;
constexpr int kHeight = 303;
constexpr int kMarkSize = 64;

// One entry per line of the text; the trailing blanks are part of the text as written.
constexpr const char* kInfoEnglish[] = {
    "ZEL Numvex - The next generation calculator!",
    "",
    "Using Numvex is quite easy. Enter numbers using the numeric ",
    "keypad as you would do with any pocket calculator. Numvex ",
    "formats your input line by line of and calculates the result ",
    "after pressing [Enter] or [=].",
    "",
    "With the created lines, you can check your results or do ",
    "any corrections. Position the mouse cursor on the incorrect ",
    "number and change your input. You will see: all calculations ",
    "are done again.",
    "",
    "You can add text and comments to your calculations, store ",
    "the results like any text file and open it later again - if necessary.",
};

constexpr const char* kInfoGerman[] = {
    "ZEL Numvex - der Taschenrechner der nächsten Generation!",
    "",
    "Die Bedienung ist wirklich einfach. Geben Sie wie bei einem ",
    "normalen Taschenrechner über den Ziffernblock der Tastatur ",
    "die einzelnen Posten ein. Die Numvex formatiert Ihre Eingaben ",
    "zeilenweise und berechnet mit [Enter] oder [=] das Ergebnis.",
    "",
    "Anhand der entstehenden Liste können Sie Ihre Berechnungen ",
    "überprüfen und gegebenenfalls sogar korrigieren! Setzen Sie ",
    "dazu einfach den Cursor an die betreffende Stelle und ",
    "verbessern Sie Ihre Eingabe. Sie werden sehen: Bei jeder ",
    "Änderung wird auch das Gesamtergebnis neu berechnet.",
    "",
    "Auch Prozente lassen sich leicht berechnen. Geben Sie hierzu ",
    "einfach direkt hinter die gewünschte Zahl das Prozentzeichen ",
    "(%) ein.",
    "",
    "Wenn Sie wollen können Sie nun auch noch zur besseren ",
    "Gliederung Texte und Kommentare einfügen, das Ganze als ",
    "Textdatei speichern und bei Bedarf später wieder öffnen.",
    "",
    "Apropos Textdatei: Sie können die Numvex auch einfach als ",
    "komfortablen Texteditor nutzen. Wechseln Sie hierzu im Menü ",
    "Optionen einfach den Modus. Im Texteditor-Modus werden ",
    "keine automatischen Berechnungen vorgenommen. Alle Ihre ",
    "Eingaben bleiben dann unverändert erhalten.",
};

template <std::size_t N>
QPlainTextEdit* MakeInfoBox(const char* name, const char* const (&lines)[N], QWidget* parent) {
  QStringList text;
  for (const char* line : lines) text << QString::fromUtf8(line);
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The lines were broken for a small type; a size below the dialog's keeps most of them whole.
  QFont font = box->font();
  font.setPointSizeF(font.pointSizeF() * 5 / 6);
  box->setFont(font);
  box->setPlainText(text.join(QLatin1Char('\n')));
  return box;
}

}  // namespace

TfrmHelp::TfrmHelp(QWidget* parent) : QDialog(parent) {
  setObjectName("frmHelp");
  setModal(true);
  setSizeGripEnabled(true);
  setMinimumSize(kWidth, kHeight);
  resize(kWidth, kHeight);

  txtInfoE_ = MakeInfoBox("txtInfoE", kInfoEnglish, this);
  txtInfoD_ = MakeInfoBox("txtInfoD", kInfoGerman, this);

  pnlCommand_ = new QWidget(this);
  pnlCommand_->setObjectName("pnlCommand");
  btnOK_ = new QPushButton(QStringLiteral("OK"), pnlCommand_);
  btnOK_->setObjectName("btnOK");
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  imgZel_ = new QLabel(pnlCommand_);
  imgZel_->setObjectName("imgZel");
  imgZel_->setPixmap(DrawProgramMark(kMarkSize));
  imgZel_->setFixedSize(kMarkSize, kMarkSize);

  auto* command = new QVBoxLayout(pnlCommand_);
  command->setContentsMargins(0, 0, 0, 0);
  command->addWidget(btnOK_);
  command->addStretch();
  command->addWidget(imgZel_, 0, Qt::AlignHCenter);

  // A hidden box takes no room, so the visible one fills the left side.
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(txtInfoE_, 1);
  layout->addWidget(txtInfoD_, 1);
  layout->addWidget(pnlCommand_);

  ApplyLanguage();
}

void TfrmHelp::ApplyLanguage() {
  setWindowTitle(QString::fromStdString(GetLangText("frmHelpCaption")));
  const bool german = Conf.Language == 0;
  txtInfoD_->setVisible(german);
  txtInfoE_->setVisible(!german);
}

void TfrmHelp::showEvent(QShowEvent* event) {
  // The language may have changed since the last showing.
  ApplyLanguage();
  if (!event->spontaneous()) move(screen()->availableGeometry().center() - rect().center());
  QDialog::showEvent(event);
}

}  // namespace numvex
