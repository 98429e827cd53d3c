#pragma once

#include <Qsci/qsciscintilla.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "app/calc_main.h"
#include "app/message_box.h"
#include "common/tape_text.h"
#include "config/conf.h"
#include "platform/key_layout.h"
#include "tape/tape_buffer.h"

namespace numvex::testing {

// A main window as the program creates it, with a known keyboard layout and every message box
// answered by the test.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetConfToProgramStart();
    SetMessageHandler([this](const MessageRequest& request) {
      messages.push_back(request);
      return answer;
    });
  }
  void TearDown() override {
    window.reset();
    SetMessageHandler(nullptr);
    ResetConfToProgramStart();
  }

  void Open(const QStringList& arguments = {}, bool us_layout = true) {
    window = std::make_unique<TfrmCalc>(true, arguments, ProgramWithoutIntro());
    window->SetKeyLayout(us_layout ? UsLayout() : GermanLayout());
    window->show();
    QApplication::setActiveWindow(window.get());
    editor()->setFocus();
    QApplication::processEvents();
  }

  // Every start is a first start; a program folder without introduction documents keeps the
  // first document empty.
  static QString ProgramWithoutIntro() { return QDir::tempPath() + "/numvex-no-intro/numvex"; }

  static void WriteFile(const QString& path, const char* bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QsciScintilla* editor() const { return window->Editor(); }
  void Click(const char* key) const {
    QTest::mouseClick(window->findChild<QToolButton*>(key), Qt::LeftButton);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    TapeBuffer& buffer = window->Engine().Buffer();
    for (int i = 1; i <= buffer.LineCount(); ++i) lines.emplace_back(buffer.Line(i));
    return lines;
  }
  // Puts a text into the editor as a fresh, unchanged document.
  void SetText(const char* text) {
    editor()->setText(QString::fromLatin1(text));
    editor()->setModified(false);
    window->SetDocModified(false);
  }
  void Caret(int line, int column) { editor()->setCursorPosition(line - 1, column); }
  int CaretLine() const { return window->Engine().GetCaret().line; }
  int CaretColumn() const { return window->Engine().GetCaret().column; }
  void Type(const char* text) { QTest::keyClicks(editor(), QString::fromLatin1(text)); }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(editor(), key, modifiers);
  }

  std::unique_ptr<TfrmCalc> window;
  std::vector<MessageRequest> messages;
  int answer = mrOk;
};

using Tape = std::vector<std::string>;

}  // namespace numvex::testing
