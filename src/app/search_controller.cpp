#include "app/search_controller.h"

#include <Qsci/qsciscintilla.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <string>

#include "app/message_box.h"
#include "app/search_dialogs.h"
#include "config/lang_texts.h"

namespace numvex {

namespace {
using Sci = QsciScintillaBase;

int Flags(const QCheckBox* whole_words) {
  return whole_words->isChecked() ? Sci::SCFIND_WHOLEWORD : 0;
}
}  // namespace

SearchController::SearchController(QsciScintilla* editor, QWidget* window)
    : QObject(window),
      editor_(editor),
      window_(window),
      find_(new TfrmSearch(window)),
      replace_(new TfrmSearchReplace(window)) {
  connect(find_, &TfrmSearch::searchRequested, this, &SearchController::Search);
}

void SearchController::ShowFind() { find_->exec(); }

void SearchController::ShowReplace() {
  if (replace_->exec() == QDialog::Accepted) Replace();
}

void SearchController::Search() {
  emit searched();
  find_text_ = Bytes(find_->SearchText()->text());
  find_flags_ = Flags(find_->WholeWords());
  // Starting at the top is for this search only.
  if (find_->FromTop()->isChecked()) {
    Send(Sci::SCI_GOTOPOS, 0);
    find_->FromTop()->setChecked(false);
  }
  FindNext();
  if (find_->CloseAfterSearch()->isChecked()) find_->accept();
}

bool SearchController::FindNext() {
  Range found;
  if (!FindIn(find_text_, find_flags_, Send(Sci::SCI_GETCURRENTPOS), Send(Sci::SCI_GETLENGTH),
              &found)) {
    return false;
  }
  Select(found);
  return true;
}

void SearchController::Replace() {
  replace_count_ = 0;
  const QByteArray what = Bytes(replace_->SearchText()->text());
  if (what.isEmpty()) return;
  const QByteArray with = Bytes(replace_->ReplaceText()->text());
  const int flags = Flags(replace_->WholeWords());
  long from = Send(Sci::SCI_GETCURRENTPOS);
  long to = Send(Sci::SCI_GETLENGTH);
  switch (replace_->Areas()->checkedId()) {
    case TfrmSearchReplace::kSelectedText:
      from = Send(Sci::SCI_GETSELECTIONSTART);
      to = Send(Sci::SCI_GETSELECTIONEND);
      break;
    case TfrmSearchReplace::kCompleteText:
      Send(Sci::SCI_GOTOPOS, 0);
      from = 0;
      break;
    default:
      break;
  }
  emit editsStarting();
  editor_->beginUndoAction();
  Range found;
  while (FindIn(what, flags, from, to, &found)) {
    Select(found);
    int answer = mrYes;
    if (replace_->Prompt()->isChecked()) {
      answer = ShowMessage(window_, {GetLangText("Replace"), GetLangText("ReplaceCaption"),
                                     MessageButtons::YesNoCancel, MessageIcon::Question});
    }
    if (answer == mrCancel) break;
    if (answer == mrYes) {
      Send(Sci::SCI_SETTARGETRANGE, found.start, found.end);
      const long length = editor_->SendScintilla(
          Sci::SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()), with.constData());
      Select({found.start, found.start + length});
      // Go on behind the new text, which may hold the searched one, and keep the area's end
      // on the same character.
      to += length - (found.end - found.start);
      from = found.start + length;
      ++replace_count_;
    } else {
      from = found.end;
    }
    if (!replace_->ReplaceAll()->isChecked()) break;
  }
  editor_->endUndoAction();
  emit editsFinished();
  const std::string report = replace_count_ == 0
                                 ? GetLangText("text nicht gefunden")
                                 : std::to_string(replace_count_) + GetLangText("x mal ersetzt");
  ShowMessage(window_, {report, GetLangText("ReplaceCaption"), MessageButtons::Ok,
                        MessageIcon::Information});
}

QByteArray SearchController::Bytes(const QString& text) const {
  return editor_->isUtf8() ? text.toUtf8() : text.toLatin1();
}

bool SearchController::FindIn(const QByteArray& what, int flags, long from, long to,
                              Range* found) const {
  // A target that ends before it starts would search backwards.
  if (what.isEmpty() || from >= to) return false;
  Send(Sci::SCI_SETTARGETRANGE, from, to);
  Send(Sci::SCI_SETSEARCHFLAGS, flags);
  if (editor_->SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<uintptr_t>(what.size()),
                             what.constData()) < 0) {
    return false;
  }
  *found = {Send(Sci::SCI_GETTARGETSTART), Send(Sci::SCI_GETTARGETEND)};
  return true;
}

void SearchController::Select(const Range& range) const {
  Send(Sci::SCI_SETSEL, range.start, range.end);  // scrolls the caret, at the end, into view
}

long SearchController::Send(unsigned int message, unsigned long w, long l) const {
  return editor_->SendScintilla(message, w, l);
}

}  // namespace numvex
