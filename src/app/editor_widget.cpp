#include "app/editor_widget.h"

#include <QAccessible>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <utility>

namespace numvex {

namespace {

using Sci = QsciScintillaBase;

constexpr int kPerformed = Sci::SC_PERFORMED_USER | Sci::SC_PERFORMED_UNDO | Sci::SC_PERFORMED_REDO;

// Scintilla reports a change when any of its flags is in the mask, so the flags an insertion
// or deletion report carries go too; the "before" reports pass on their own flags.
constexpr unsigned long kAfterReports =
    Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT | kPerformed | Sci::SC_STARTACTION |
    Sci::SC_MULTISTEPUNDOREDO | Sci::SC_LASTSTEPINUNDOREDO | Sci::SC_MULTILINEUNDOREDO;

}  // namespace

EditorWidget::EditorWidget(QWidget* parent) : QsciScintilla(parent) {
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
            OnModified(position, type, length);
          });
  disconnect(this, SIGNAL(SCN_UPDATEUI(int)), this, SLOT(handleUpdateUI(int)));
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &EditorWidget::ReportCaret);
}

void EditorWidget::ReportCaret() {
  const long caret = SendScintilla(SCI_GETCURRENTPOS);
  if (caret == reported_caret_) return;
  reported_caret_ = caret;
  const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
  const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  const long index =
      isUtf8() ? SendScintilla(SCI_COUNTCHARACTERS, static_cast<unsigned long>(start), caret)
               : caret - start;
  emit cursorPositionChanged(static_cast<int>(line), static_cast<int>(index));
}

void EditorWidget::keyPressEvent(QKeyEvent* event) {
  Quietly([&] { QsciScintilla::keyPressEvent(event); });
}

void EditorWidget::inputMethodEvent(QInputMethodEvent* event) {
  Quietly([&] { QsciScintilla::inputMethodEvent(event); });
}

template <typename Handle>
void EditorWidget::Quietly(Handle handle) {
  if (quiet_ || QAccessible::isActive()) {
    handle();
    return;
  }
  saved_mask_ = static_cast<unsigned long>(SendScintilla(SCI_GETMODEVENTMASK));
  quiet_mask_ = saved_mask_ & ~kAfterReports;
  SendScintilla(SCI_SETMODEVENTMASK, quiet_mask_);
  quiet_ = true;
  handle();
  quiet_ = false;
  SendScintilla(SCI_SETMODEVENTMASK, saved_mask_);
  FinishLastChange();
  std::vector<Change> changes;
  changes.swap(changes_);
  for (const Change& change : changes) {
    emit SCEN_CHANGE();
    emit SCN_MODIFIED(static_cast<int>(change.position), change.type, change.text.c_str(),
                      static_cast<int>(change.length),
                      static_cast<int>(change.lines_after - change.lines_before), 0, 0, 0, 0, 0);
  }
}

void EditorWidget::OnModified(int position, int type, int length) {
  const bool before_insert = (type & SC_MOD_BEFOREINSERT) != 0;
  if (!quiet_ || (!before_insert && !(type & SC_MOD_BEFOREDELETE))) return;
  // The change before this one is done now.
  FinishLastChange();
  // Someone else narrowed the mask meanwhile (the tape engine writes): theirs to announce.
  if (static_cast<unsigned long>(SendScintilla(SCI_GETMODEVENTMASK)) != quiet_mask_) return;
  Change change;
  change.position = position;
  change.length = length;
  change.type = (before_insert ? SC_MOD_INSERTTEXT : SC_MOD_DELETETEXT) | (type & kPerformed);
  if (!(static_cast<unsigned long>(change.type) & saved_mask_)) return;
  change.lines_before = SendScintilla(SCI_GETLINECOUNT);
  if (!before_insert) change.text = TextRange(position, length);
  changes_.push_back(std::move(change));
  last_finished_ = false;
}

void EditorWidget::FinishLastChange() {
  if (last_finished_) return;
  last_finished_ = true;
  Change& change = changes_.back();
  change.lines_after = SendScintilla(SCI_GETLINECOUNT);
  if (change.type & SC_MOD_INSERTTEXT) change.text = TextRange(change.position, change.length);
}

std::string EditorWidget::TextRange(long position, long length) const {
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendScintilla(SCI_GETTEXTRANGE, position, position + length, text.data());
  text.pop_back();
  return text;
}

}  // namespace numvex
