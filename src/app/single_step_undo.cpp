#include "app/single_step_undo.h"

#include <Qsci/qsciscintilla.h>

#include <QEvent>
#include <QKeyEvent>

#include "app/scintilla_tape_buffer.h"

namespace numvex {

namespace {
using Sci = QsciScintillaBase;
}  // namespace

SingleStepUndo::SingleStepUndo(QsciScintilla* editor, const ScintillaTapeBuffer* buffer,
                               QObject* parent)
    : QObject(parent), editor_(editor), buffer_(buffer) {
  editor_->installEventFilter(this);
  editor_->viewport()->installEventFilter(this);
  connect(editor_, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
            OnModified(position, type, length);
          });
  // Scintilla never merges a change into the step before a save point.
  connect(editor_, &QsciScintillaBase::SCN_SAVEPOINTREACHED, this, [this] { run_ = Run::kNone; });
  if (buffer_) {
    connect(buffer_, &ScintillaTapeBuffer::userActionStarting, this,
            &SingleStepUndo::StartNewAction);
  }
}

SingleStepUndo::~SingleStepUndo() {
  if (editor_) {
    editor_->removeEventFilter(this);
    editor_->viewport()->removeEventFilter(this);
  }
}

void SingleStepUndo::StartNewAction() {
  if (in_command_) return;
  new_action_ = true;
  key_run_ = Run::kNone;
  run_ = Run::kNone;
}

void SingleStepUndo::BeginCommand() {
  StartNewAction();
  in_command_ = true;
}

void SingleStepUndo::EndCommand() {
  in_command_ = false;
  StartNewAction();
}

bool SingleStepUndo::EngineWriting() const {
  if (buffer_) return buffer_->EngineWriting();
  return editor_->SendScintilla(Sci::SCI_GETUNDOCOLLECTION) == 0;
}

SingleStepUndo::Run SingleStepUndo::KeyRun(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
      return Run::kModifierOnly;
    default:
      break;
  }
  const Qt::KeyboardModifiers command =
      key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (command != Qt::NoModifier) return Run::kNone;
  if (key.key() == Qt::Key_Backspace) return Run::kBackspace;
  // Shift+Delete cuts.
  if (key.key() == Qt::Key_Delete) {
    return key.modifiers() & Qt::ShiftModifier ? Run::kNone : Run::kDelete;
  }
  const QString text = key.text();
  if (text.isEmpty()) return Run::kNone;
  for (QChar c : text) {
    if (!c.isPrint()) return Run::kNone;  // Enter, Tab, Escape
  }
  return Run::kTyping;
}

bool SingleStepUndo::ContinuesRun(Run key_run) const {
  if (key_run == Run::kNone || key_run != run_) return false;
  if (editor_->SendScintilla(Sci::SCI_GETSELECTIONEMPTY) == 0) return false;
  return editor_->SendScintilla(Sci::SCI_GETCURRENTPOS) == run_end_;
}

void SingleStepUndo::OnKeyPress(const QKeyEvent& key) {
  const Run key_run = KeyRun(key);
  if (key_run == Run::kModifierOnly) return;  // Shift for a capital letter breaks no word
  if (!ContinuesRun(key_run)) {
    new_action_ = true;
    run_ = Run::kNone;
  }
  // Replacing a selection or overtyping makes a group, and Scintilla merges nothing into a
  // group: such a key starts no run.
  const bool groups = editor_->SendScintilla(Sci::SCI_GETSELECTIONEMPTY) == 0 ||
                      editor_->SendScintilla(Sci::SCI_GETOVERTYPE) != 0;
  key_run_ = groups ? Run::kNone : key_run;
}

bool SingleStepUndo::eventFilter(QObject* watched, QEvent* event) {
  if (!editor_ || in_command_) return false;
  const bool on_editor = watched == editor_.data();
  const bool on_viewport = watched == editor_->viewport();
  if (!on_editor && !on_viewport) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
      if (on_editor) OnKeyPress(static_cast<const QKeyEvent&>(*event));
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Drop:
    case QEvent::ContextMenu:
    case QEvent::FocusIn:
      StartNewAction();
      break;
    default:
      break;
  }
  return false;
}

void SingleStepUndo::OnModified(int position, int type, int length) {
  const bool before = (type & (Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE)) != 0;
  const bool inserted = (type & Sci::SC_MOD_INSERTTEXT) != 0;
  const bool deleted = (type & Sci::SC_MOD_DELETETEXT) != 0;
  if (!before && !inserted && !deleted) return;

  if (!(type & Sci::SC_PERFORMED_USER) || EngineWriting()) {
    // Undo, redo or the engine: none of them is a user action, and nothing typed after them
    // joins what came before.
    key_run_ = Run::kNone;
    run_ = Run::kNone;
    return;
  }
  if (before) {
    if (new_action_) {
      editor_->SendScintilla(Sci::SCI_EMPTYUNDOBUFFER);
      new_action_ = false;
    }
    return;
  }
  // A key's first change may start a run, nothing after it: whatever else changes the text
  // before the next key is no typing.
  run_ = key_run_;
  run_end_ = inserted ? position + length : position;
  key_run_ = Run::kNone;
}

}  // namespace numvex
