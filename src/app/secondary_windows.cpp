#include "app/secondary_windows.h"

namespace numvex {

namespace {

void Prepare(QDialog* dialog, const char* name, const char* caption) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(QString::fromUtf8(caption));
  dialog->setModal(true);
}

}  // namespace

TfrmOptions::TfrmOptions(QWidget* parent) : QDialog(parent) {
  Prepare(this, "frmOptions", "Numvex: Options");
}

TfrmHelp::TfrmHelp(QWidget* parent) : QDialog(parent) { Prepare(this, "frmHelp", "Numvex: Help"); }

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
  Prepare(this, "frmAbout", "About Numvex");
}

}  // namespace numvex
