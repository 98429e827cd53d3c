#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>

class QKeyEvent;
class QsciScintilla;

namespace numvex {

class ScintillaTapeBuffer;

// Keeps exactly one undo step in an editor: the last user action. Before the first change of
// each new action the undo history is emptied, so undo restores only that action and a second
// undo finds nothing; undo and redo themselves never empty it.
//
// An action is what Scintilla records as one step: a run of typed characters, a run of
// Backspaces or of Deletes, a line break, a paste, a cut, a drop, an InsertAtCaretAsUserEdit.
// A new action starts with every key press that does not carry on the run before it (a typed
// character right where the last typed character ended, with no selection and no overtype, and
// no save point or engine write in between), every mouse press, drop, context menu and focus
// return in the editor, and every InsertAtCaretAsUserEdit of the buffer. Commands that change
// the text from elsewhere (a menu item calling paste(), say) call StartNewAction() first.
//
// The emptying happens in Scintilla's notification just before the change is made, so a key
// that turns out to change nothing (an arrow key) leaves the last step undoable.
class SingleStepUndo : public QObject {
  Q_OBJECT

 public:
  // `buffer` (may be null) tells engine writes apart; without it, a change made while undo
  // collection is off counts as one.
  explicit SingleStepUndo(QsciScintilla* editor, const ScintillaTapeBuffer* buffer = nullptr,
                          QObject* parent = nullptr);
  ~SingleStepUndo() override;

  // The next user change starts a new undo step.
  void StartNewAction();
  // Bracket one command whose changes make one step although it waits for the user in between
  // (a replace asking before each match): nothing in between starts a new action, not even
  // the focus coming back to the editor from a message box.
  void BeginCommand();
  void EndCommand();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // What a key or a change does, for telling whether the next key carries it on.
  enum class Run : std::uint8_t { kNone, kTyping, kBackspace, kDelete, kModifierOnly };

  static Run KeyRun(const QKeyEvent& key);
  bool ContinuesRun(Run key_run) const;
  void OnKeyPress(const QKeyEvent& key);
  void OnModified(int position, int type, int length);
  bool EngineWriting() const;

  QPointer<QsciScintilla> editor_;
  QPointer<const ScintillaTapeBuffer> buffer_;
  bool new_action_ = true;    // empty the history before the next user change
  bool in_command_ = false;   // between BeginCommand and EndCommand
  Run key_run_ = Run::kNone;  // the key being handled, until its first change
  Run run_ = Run::kNone;      // the last user change, if a key may carry it on
  long run_end_ = -1;         // where the caret stands when a key carries the run on
};

}  // namespace numvex
