#include "app/tape_editor_controller.h"

#include <Qsci/qsciscintilla.h>

#include <QKeyEvent>

#include "app/keypad_panel.h"
#include "app/scintilla_tape_buffer.h"
#include "app/single_step_undo.h"
#include "platform/key_layout.h"
#include "platform/launcher.h"
#include "platform/virtual_keys.h"
#include "tape/tape_engine.h"

namespace numvex {

namespace {

// The byte a typed text stands for in the document's single-byte code page.
char ByteOf(const QString& text) {
  QChar c = text.at(0);
  return c.unicode() < 256 ? static_cast<char>(c.unicode()) : 0;
}

}  // namespace

TapeEditorController::TapeEditorController(QsciScintilla* editor, TapeHost& host)
    : editor_(editor),
      buffer_(std::make_unique<ScintillaTapeBuffer>(editor)),
      undo_(std::make_unique<SingleStepUndo>(editor, buffer_.get())),
      engine_(std::make_unique<TapeEngine>(*buffer_, host)),
      key_layout_(SystemKeyLayout()) {
  editor_->installEventFilter(this);
  editor_->viewport()->installEventFilter(this);
  connect(buffer_.get(), &ScintillaTapeBuffer::userTextChanged, this,
          &TapeEditorController::userTextChanged);
  connect(editor_, &QsciScintilla::SCN_DOUBLECLICK, this,
          [this](int, int, int) { txtCalcDblClick(); });
}

TapeEditorController::~TapeEditorController() = default;

void TapeEditorController::SetKeyLayout(std::unique_ptr<KeyLayout> layout) {
  key_layout_ = std::move(layout);
}

bool TapeEditorController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->text().isEmpty()) {
      const char c = ByteOf(key->text());
      if (c != 0 && static_cast<unsigned char>(c) >= ' ') txtCalcKeyPress(c);
    }
  } else if (watched == editor_ && event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) txtCalcKeyUp(key_layout_->VirtualKeyOf(*key), key->modifiers());
  } else if (watched == editor_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    txtCalcMouseUp();
  }
  return QObject::eventFilter(watched, event);
}

void TapeEditorController::txtCalcKeyPress(char c) { engine_->LastKeyChar = c; }

void TapeEditorController::txtCalcKeyUp(int key_code, Qt::KeyboardModifiers shift) {
  if (!engine_->CalcMode) return;
  shift &= ~Qt::KeypadModifier;
  if (key_code == kVkReturn) {
    if (shift != Qt::ShiftModifier) engine_->TotalAt(TotalSender::Editor);
    return;
  }
  if (key_code == kVkMultiply || key_code == kVkAdd || key_code == kVkSubtract ||
      key_code == kVkDivide || IsOperatorKey(key_code, *key_layout_)) {
    engine_->OperatorTyped();
    return;
  }
  engine_->RecalcOnCaretLeave();
}

void TapeEditorController::txtCalcMouseUp() { engine_->RecalcOnCaretLeave(); }

void TapeEditorController::txtCalcDblClick() {
  const std::string link = engine_->LinkAtCaret();
  if (!link.empty()) LaunchCommandLine(link);
}

void TapeEditorController::KeypadKeyPressed(char key) {
  switch (key) {
    case KeypadPanel::kTotalKey:
      cmdCalcClick();
      break;
    case KeypadPanel::kClearKey:
      cmdClearClick();
      break;
    case '/':
    case '*':
    case '+':
    case '-':
      cmdDivClick(key);
      break;
    default:
      cmdNumberClick(key);
  }
}

void TapeEditorController::cmdNumberClick(char c) {
  buffer_->InsertAtCaretAsUserEdit(QString(QChar::fromLatin1(c)));
}

void TapeEditorController::cmdDivClick(char c) {
  if (!engine_->CalcMode) return;
  buffer_->InsertAtCaretAsUserEdit(QString(QChar::fromLatin1(c)));
  engine_->LastKeyChar = c;
  engine_->OperatorTyped();
}

void TapeEditorController::cmdCalcClick() { engine_->TotalAt(TotalSender::Keypad); }

void TapeEditorController::cmdClearClick() { engine_->ClearKey(); }

}  // namespace numvex
