#include "app/editor_options.h"

#include <Qsci/qsciscintilla.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace numvex {

EditorOptions::EditorOptions(QsciScintilla* editor) : QObject(editor), editor_(editor) {
  editor_->installEventFilter(this);
  editor_->viewport()->installEventFilter(this);
  connect(editor_, &QsciScintilla::SCN_MODIFIED, this,
          [this](int position, int type, const char*, int, int, int, int, int, int, int) {
            const int changed = QsciScintilla::SC_MOD_INSERTTEXT | QsciScintilla::SC_MOD_DELETETEXT;
            if ((type & changed) && (type & QsciScintilla::SC_PERFORMED_USER)) {
              edited_line_ = static_cast<int>(editor_->SendScintilla(
                  QsciScintillaBase::SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
            }
          });
}

void EditorOptions::SetOptions(EditorOptionSet options) {
  options_ = options;
  editor_->setAutoIndent(options & eoAutoIndent);
  editor_->setIndentationsUseTabs(!(options & eoTabsToSpaces));
}

void EditorOptions::SetTabWidth(int width) {
  if (width >= 1) editor_->setTabWidth(std::min(width, 64));
}

bool EditorOptions::eventFilter(QObject* watched, QEvent* event) {
  // The caret has left a line once a key or button is let go, as the tape sees it too.
  if (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease) {
    CaretMoved(static_cast<int>(editor_->SendScintilla(
        QsciScintillaBase::SCI_LINEFROMPOSITION,
        static_cast<unsigned long>(editor_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS)))));
  }
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier &&
        (options_ & eoSmartTabs) && !editor_->hasSelectedText() && SmartTab()) {
      return true;
    }
  } else if (watched == editor_->viewport() && event->type() == QEvent::MouseButtonPress &&
             !(options_ & eoDragDropEditing)) {
    // A press inside the selection would start dragging it: start a new selection instead.
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint at = mouse->position().toPoint();
    const long pos = editor_->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                            static_cast<unsigned long>(at.x()), at.y());
    const long from = editor_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long to = editor_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND);
    if (mouse->button() == Qt::LeftButton && pos >= 0 && from < to && pos >= from && pos < to) {
      editor_->SendScintilla(QsciScintillaBase::SCI_SETEMPTYSELECTION,
                             static_cast<unsigned long>(pos));
    }
  }
  return QObject::eventFilter(watched, event);
}

// Moves the caret with blanks to below the next word start of the nearest line above that
// reaches past the caret; false (a plain tab) when there is none.
bool EditorOptions::SmartTab() {
  int line, index;
  editor_->getCursorPosition(&line, &index);
  const int column = static_cast<int>(editor_->SendScintilla(
      QsciScintillaBase::SCI_GETCOLUMN,
      static_cast<unsigned long>(editor_->positionFromLineIndex(line, index))));
  for (int above = line - 1; above >= 0; --above) {
    const QString text = editor_->text(above).remove('\r').remove('\n');
    if (text.size() <= column) continue;
    int target = column;
    while (target < text.size() && text[target] != ' ' && text[target] != '\t') ++target;
    while (target < text.size() && (text[target] == ' ' || text[target] == '\t')) ++target;
    if (target >= text.size() || text.contains('\t')) return false;
    editor_->insert(QString(target - column, ' '));
    editor_->setCursorPosition(line, index + target - column);
    return true;
  }
  return false;
}

void EditorOptions::CaretMoved(int line) {
  const int left = caret_line_;
  caret_line_ = line;
  if (left == line) return;
  if (left == edited_line_ && trimming_allowed_ && (options_ & eoTrimTrailingSpaces)) {
    TrimLine(left);
  }
  edited_line_ = -1;
}

void EditorOptions::TrimLine(int line) {
  if (line >= editor_->lines()) return;
  const QString text = editor_->text(line);
  int content = text.size();
  while (content > 0 && (text[content - 1] == '\r' || text[content - 1] == '\n')) --content;
  int end = content;
  while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  if (end == content) return;
  // Part of the user's editing: it reaches the document's changed flag and undo like typing.
  editor_->SendScintilla(QsciScintillaBase::SCI_DELETERANGE,
                         static_cast<unsigned long>(editor_->positionFromLineIndex(line, end)),
                         static_cast<long>(content - end));
}

}  // namespace numvex
