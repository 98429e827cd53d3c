#pragma once

#include <QObject>
#include <memory>

class QsciScintilla;

namespace numvex {

class KeyLayout;
class ScintillaTapeBuffer;
class SingleStepUndo;
class TapeEngine;
class TapeHost;

// The tape editor: the line buffer over the editor widget, its one-step undo, the tape engine,
// and the keys, keypad and mouse between them. It listens to the editor itself; the engine's
// questions (division by zero, the changed flag, busy) go to `host`.
class TapeEditorController : public QObject {
  Q_OBJECT
 public:
  TapeEditorController(QsciScintilla* editor, TapeHost& host);
  ~TapeEditorController() override;

  ScintillaTapeBuffer& Buffer() { return *buffer_; }
  SingleStepUndo& Undo() { return *undo_; }
  TapeEngine& Engine() { return *engine_; }
  const TapeEngine& Engine() const { return *engine_; }
  // Replaces the character-to-key translation (tests inject a layout).
  void SetKeyLayout(std::unique_ptr<KeyLayout> layout);

  // A key of the on-screen keypad: a digit or the decimal separator, an operator, or the
  // keypad's total and clear keys.
  void KeypadKeyPressed(char key);
  void cmdNumberClick(char c);
  void cmdDivClick(char c);
  void cmdCalcClick();
  void cmdClearClick();

  // The editor's keys and mouse.
  void txtCalcKeyPress(char c);
  void txtCalcKeyUp(int key_code, Qt::KeyboardModifiers shift);
  void txtCalcMouseUp();
  // A double click on a bracketed link starts what it names.
  void txtCalcDblClick();

 signals:
  // The user changed the text (never the engine).
  void userTextChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QsciScintilla* editor_;
  std::unique_ptr<ScintillaTapeBuffer> buffer_;
  std::unique_ptr<SingleStepUndo> undo_;
  std::unique_ptr<TapeEngine> engine_;
  std::unique_ptr<KeyLayout> key_layout_;
};

}  // namespace numvex
