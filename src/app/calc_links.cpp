// Shortcuts in the text: a path in square brackets, chosen in the open dialog.
#include <Qsci/qsciscintilla.h>

#include "app/calc_main.h"
#include "app/file_dialog.h"
#include "app/scintilla_tape_buffer.h"
#include "config/conf.h"
#include "config/lang_texts.h"
#include "tape/shortcut_link.h"

namespace numvex {

namespace {

// The caret's line (0-based) and 1-based column of the character after it.
std::pair<int, int> CaretOf(const QsciScintilla& editor) {
  int line = 0, index = 0;
  editor.getCursorPosition(&line, &index);
  return {line, index + 1};
}

std::string LineText(const QsciScintilla& editor, int line) {
  return editor.text(line).remove('\r').remove('\n').toLatin1().toStdString();
}

}  // namespace

bool TfrmCalc::CaretInLink() const {
  const auto [line, x] = CaretOf(*txtCalc_);
  return numvex::CaretInLink(LineText(*txtCalc_, line), x);
}

void TfrmCalc::mnuPPasteLinkClick() {
  const auto [line, x] = CaretOf(*txtCalc_);
  const LinkPlace place = PlaceLink(LineText(*txtCalc_, line), x);
  FileDialogRequest request;
  request.title = QString::fromStdString(GetLangText("dlgOpenCaption"));
  request.start = QString::fromStdString(Conf.LruDir);
  request.filters = FileDialogFilters(GetLangText("FilterOpen"));
  request.filter_index = 9;  // all files
  const QString chosen = ShowFileDialog(this, request);
  if (chosen.isEmpty()) return;
  // The whole line is written anew, as one edit the user can undo.
  const std::string text = InsertLink(place, chosen.toLatin1().toStdString());
  txtCalc_->setSelection(line, 0, line, static_cast<int>(LineText(*txtCalc_, line).size()));
  TapeEditor().Buffer().InsertAtCaretAsUserEdit(
      QString::fromLatin1(text.data(), static_cast<int>(text.size())));
  SetDocModified(true);
}

}  // namespace numvex
