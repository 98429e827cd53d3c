// Keys, mouse, drops and the keypad on the main window; loading documents.
#include <Qsci/qsciscintilla.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include "app/calc_main.h"
#include "app/keypad_panel.h"
#include "app/message_box.h"
#include "app/scintilla_tape_buffer.h"
#include "config/conf.h"
#include "config/lang_texts.h"
#include "platform/key_layout.h"
#include "platform/launcher.h"
#include "platform/virtual_keys.h"
#include "tape/document_text.h"

namespace numvex {

namespace {

// The byte a typed text stands for in the document's single-byte code page.
char ByteOf(const QString& text) {
  QChar c = text.at(0);
  return c.unicode() < 256 ? static_cast<char>(c.unicode()) : 0;
}

}  // namespace

bool TfrmCalc::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtCalc_) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (!key->text().isEmpty()) {
        char c = ByteOf(key->text());
        if (c != 0 && static_cast<unsigned char>(c) >= ' ') txtCalcKeyPress(c);
      }
    } else if (event->type() == QEvent::KeyRelease) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat()) txtCalcKeyUp(key_layout_->VirtualKeyOf(*key), key->modifiers());
    }
  } else if (watched == txtCalc_->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonRelease:
        txtCalcMouseUp();
        break;
      case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (drag->mimeData()->hasUrls()) {
          drag->acceptProposedAction();
          return true;
        }
        break;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData()->hasUrls() && HandleDroppedUrls(drop->mimeData()->urls())) {
          drop->acceptProposedAction();
          return true;
        }
        break;
      }
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmCalc::txtCalcKeyPress(char c) { engine_->LastKeyChar = c; }

void TfrmCalc::txtCalcKeyUp(int key_code, Qt::KeyboardModifiers shift) {
  if (!CalcMode()) return;
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

void TfrmCalc::txtCalcMouseUp() { engine_->RecalcOnCaretLeave(); }

void TfrmCalc::txtCalcChange() { SetDocModified(true); }

void TfrmCalc::txtCalcDblClick() {
  std::string link = engine_->LinkAtCaret();
  if (!link.empty()) LaunchCommandLine(link);
}

void TfrmCalc::KeypadKeyPressed(char key) {
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

void TfrmCalc::cmdNumberClick(char c) {
  buffer_->InsertAtCaretAsUserEdit(QString(QChar::fromLatin1(c)));
}

void TfrmCalc::cmdDivClick(char c) {
  if (!CalcMode()) return;
  buffer_->InsertAtCaretAsUserEdit(QString(QChar::fromLatin1(c)));
  engine_->LastKeyChar = c;
  engine_->OperatorTyped();
}

void TfrmCalc::cmdCalcClick() { engine_->TotalAt(TotalSender::Keypad); }

void TfrmCalc::cmdClearClick() { engine_->ClearKey(); }

void TfrmCalc::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmCalc::dropEvent(QDropEvent* event) {
  if (event->mimeData()->hasUrls() && HandleDroppedUrls(event->mimeData()->urls())) {
    event->acceptProposedAction();
  }
}

bool TfrmCalc::HandleDroppedUrls(const QList<QUrl>& urls) {
  // Only the first dropped file is opened; the others are ignored.
  if (urls.isEmpty() || !urls.first().isLocalFile()) return false;
  QString path = urls.first().toLocalFile();
  if (AskSave() == mrCancel) return true;
  OpenDocument(path);
  return true;
}

}  // namespace numvex
