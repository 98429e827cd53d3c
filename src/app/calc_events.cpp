// Files dropped on the main window, and the editor's changes reaching the document.
#include <Qsci/qsciscintilla.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app/calc_main.h"
#include "app/message_box.h"

namespace numvex {

bool TfrmCalc::eventFilter(QObject* watched, QEvent* event) {
  // Files dropped on the editor open as documents; dragged text is the editor's.
  if (watched == txtCalc_->viewport()) {
    switch (event->type()) {
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

void TfrmCalc::txtCalcChange() { SetDocModified(true); }

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
