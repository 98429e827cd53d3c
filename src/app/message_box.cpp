#include "app/message_box.h"

#include <QMessageBox>
#include <QString>
#include <cstdio>

namespace numvex {

namespace {

MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void SetMessageHandler(MessageHandler handler) { Handler() = std::move(handler); }

int ShowMessage(QWidget* parent, const MessageRequest& request) {
  if (Handler()) return Handler()(request);
  // An error is also kept where a terminal or the session's log shows it after the box is gone.
  if (request.icon == MessageIcon::Error)
    std::fprintf(stderr, "numvex: %s\n", request.text.c_str());
  QMessageBox box(ToQt(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text), QMessageBox::NoButton, parent);
  // Messages carry file names and system texts: never read them as markup.
  box.setTextFormat(Qt::PlainText);
  if (request.buttons == MessageButtons::YesNoCancel) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return mrYes;
    case QMessageBox::No:
      return mrNo;
    case QMessageBox::Cancel:
      return mrCancel;
    default:
      return request.buttons == MessageButtons::Ok ? mrOk : mrCancel;
  }
}

void ReportError(QWidget* parent, const std::string& message) {
  ShowMessage(parent, {message, "Numvex", MessageButtons::Ok, MessageIcon::Error});
}

}  // namespace numvex
