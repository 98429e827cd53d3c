#include "app/search_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/lang_texts.h"

namespace numvex {

namespace {

QString Text(const char* id) { return QString::fromStdString(GetLangText(id)); }

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// A modal window of the size its contents need; Qt centres it on its parent when shown.
void Prepare(QDialog* dialog, const char* name, QLayout* layout) {
  dialog->setObjectName(name);
  dialog->setModal(true);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Buttons stacked at the right; the first is the default (Enter), the second closes (Esc).
QVBoxLayout* ButtonColumn(QPushButton* run, QPushButton* close) {
  auto* column = new QVBoxLayout;
  run->setDefault(true);
  column->addWidget(run);
  column->addWidget(close);
  column->addStretch();
  return column;
}

}  // namespace

TfrmSearch::TfrmSearch(QWidget* parent)
    : QDialog(parent),
      lblSuchen_(Named(new QLabel(this), "lblSuchen")),
      edtSuchText_(Named(new QLineEdit(this), "edtSuchText")),
      chkGesamt_(Named(new QCheckBox(this), "chkGesamt")),
      chkGanzesWort_(Named(new QCheckBox(this), "chkGanzesWort")),
      chkFensterSchliessen_(Named(new QCheckBox(this), "chkFensterSchliessen")),
      btnSuchen_(Named(new QPushButton(this), "btnSuchen")),
      btnSchliessen_(Named(new QPushButton(this), "btnSchliessen")) {
  auto* layout = new QGridLayout(this);
  Prepare(this, "frmSearch", layout);
  lblSuchen_->setBuddy(edtSuchText_);
  layout->addWidget(lblSuchen_, 0, 0);
  layout->addWidget(edtSuchText_, 1, 0);
  layout->addWidget(chkGesamt_, 2, 0);
  layout->addWidget(chkGanzesWort_, 3, 0);
  layout->addWidget(chkFensterSchliessen_, 4, 0);
  layout->addLayout(ButtonColumn(btnSuchen_, btnSchliessen_), 0, 1, 5, 1);
  connect(btnSuchen_, &QPushButton::clicked, this, &TfrmSearch::searchRequested);
  connect(btnSchliessen_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSearch::showEvent(QShowEvent* event) {
  // The language may have changed since the last time.
  setWindowTitle(Text("frmSearchCaption"));
  lblSuchen_->setText(Text("frmSearchlblSuchen"));
  chkGesamt_->setText(Text("frmSearchchkGesamt"));
  chkGanzesWort_->setText(Text("frmSearchchkGanzesWort"));
  chkFensterSchliessen_->setText(Text("frmSearchchkFensterSchliessen"));
  btnSuchen_->setText(Text("frmSearchbtnSuchen"));
  btnSchliessen_->setText(Text("frmSearchbtnSchliessen"));
  QDialog::showEvent(event);
  edtSuchText_->setFocus();
  edtSuchText_->selectAll();
}

TfrmSearchReplace::TfrmSearchReplace(QWidget* parent)
    : QDialog(parent),
      lblSuchennach_(Named(new QLabel(this), "lblSuchennach")),
      lblErsetzendurch_(Named(new QLabel(this), "lblErsetzendurch")),
      edtSearchtext_(Named(new QLineEdit(this), "edtSearchtext")),
      edtReplaceText_(Named(new QLineEdit(this), "edtReplaceText")),
      chkAllesErsetzen_(Named(new QCheckBox(this), "chkAllesErsetzen")),
      chkGanzeWoerter_(Named(new QCheckBox(this), "chkGanzeWoerter")),
      chkPrompt_(Named(new QCheckBox(this), "chkPrompt")),
      radgrpBereich_(Named(new QGroupBox(this), "radgrpBereich")),
      areas_(new QButtonGroup(this)),
      btnOK_(Named(new QPushButton(this), "btnOK")),
      btnCancel_(Named(new QPushButton(this), "btnCancel")) {
  auto* layout = new QGridLayout(this);
  Prepare(this, "frmSearchReplace", layout);
  lblSuchennach_->setBuddy(edtSearchtext_);
  lblErsetzendurch_->setBuddy(edtReplaceText_);
  chkPrompt_->setChecked(true);
  auto* area_column = new QVBoxLayout(radgrpBereich_);
  for (const char* name : {"radFromCursor", "radSelectedText", "radComplete"}) {
    auto* button = Named(new QRadioButton(radgrpBereich_), name);
    areas_->addButton(button, static_cast<int>(areas_->buttons().size()));
    area_column->addWidget(button);
  }
  areas_->button(kFromCursor)->setChecked(true);
  int row = 0;
  for (QWidget* widget : std::initializer_list<QWidget*>{
           lblSuchennach_, edtSearchtext_, lblErsetzendurch_, edtReplaceText_, chkAllesErsetzen_,
           chkGanzeWoerter_, chkPrompt_, radgrpBereich_}) {
    layout->addWidget(widget, row++, 0);
  }
  layout->addLayout(ButtonColumn(btnOK_, btnCancel_), 0, 1, row, 1);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSearchReplace::showEvent(QShowEvent* event) {
  setWindowTitle(Text("frmReplaceCaption"));
  lblSuchennach_->setText(Text("frmReplacelblSuchenNach"));
  lblErsetzendurch_->setText(Text("frmReplacelblErsetzenDurch"));
  chkAllesErsetzen_->setText(Text("frmReplacechkAllesErsetzen"));
  chkGanzeWoerter_->setText(Text("frmReplacechkGanzeWoerter"));
  chkPrompt_->setText(Text("chkPrompt"));
  radgrpBereich_->setTitle(Text("frmReplaceradgrpBereich"));
  const char* area_ids[] = {"frmReplaceFromCursor", "frmReplaceSelectedText", "frmReplaceComplete"};
  for (int id = kFromCursor; id <= kCompleteText; ++id) {
    areas_->button(id)->setText(Text(area_ids[id]));
  }
  btnOK_->setText(Text("frmReplacebtnOK"));
  btnCancel_->setText(Text("frmReplacebtnCancel"));
  QDialog::showEvent(event);
  edtSearchtext_->setFocus();
  edtSearchtext_->selectAll();
}

}  // namespace numvex
