#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QWidget;

namespace numvex {

// One of the two document dialogs, as the program asks for it.
struct FileDialogRequest {
  bool save = false;  // the save dialog (asks before overwriting); else open (must exist)
  QString title;
  QString start;         // folder, or a file name to propose
  QStringList filters;   // Qt name filters, see FileDialogFilters
  int filter_index = 1;  // 1-based, the entry chosen at first
};

// The "label|patterns|label|patterns" list of the language texts as Qt name filters: the
// label as the user reads it (the patterns Qt takes from the last brackets stay hidden).
QStringList FileDialogFilters(const std::string& text);

// Shows the dialog; the chosen path, empty when cancelled. Every file dialog of the program
// goes through here, so tests can answer them.
QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request);

// Replaces the dialogs (tests); an empty function restores them.
using FileDialogHandler = std::function<QString(const FileDialogRequest&)>;
void SetFileDialogHandler(FileDialogHandler handler);

}  // namespace numvex
