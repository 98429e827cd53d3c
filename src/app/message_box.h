#pragma once

#include <functional>
#include <string>

class QWidget;

namespace numvex {

// Results as the rest of the program compares them.
enum MessageResult { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };
enum class MessageButtons { Ok, YesNoCancel };
enum class MessageIcon { None, Information, Question, Warning, Error };

struct MessageRequest {
  std::string text;     // UTF-8
  std::string caption;  // UTF-8
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

// Every modal message of the program goes through here, so tests can answer them. An error
// message is written to standard error as well.
int ShowMessage(QWidget* parent, const MessageRequest& request);

// Replaces the message box (tests); an empty function restores it.
using MessageHandler = std::function<int(const MessageRequest&)>;
void SetMessageHandler(MessageHandler handler);

// The application's general error report: shows the message and lets the program go on.
void ReportError(QWidget* parent, const std::string& message);

}  // namespace numvex
