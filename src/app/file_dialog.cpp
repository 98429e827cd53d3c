#include "app/file_dialog.h"

#include <QFileDialog>

namespace numvex {

namespace {

FileDialogHandler& Handler() {
  static FileDialogHandler handler;
  return handler;
}

}  // namespace

QStringList FileDialogFilters(const std::string& text) {
  const QStringList parts = QString::fromStdString(text).split('|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
  }
  return filters;
}

void SetFileDialogHandler(FileDialogHandler handler) { Handler() = std::move(handler); }

QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request) {
  if (Handler()) return Handler()(request);
  QFileDialog dialog(parent, request.title, request.start);
  dialog.setNameFilters(request.filters);
  dialog.selectNameFilter(request.filters.value(request.filter_index - 1));
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (request.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix("nvx");
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace numvex
