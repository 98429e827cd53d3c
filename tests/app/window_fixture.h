#pragma once

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>
#include <vector>

#include "app/calc_main.h"
#include "app/file_dialog.h"
#include "app/message_box.h"
#include "config/conf.h"
#include "editor_fixture.h"
#include "platform/key_layout.h"

namespace numvex::testing {

// A window as the program makes it, with the US layout; the test answers every message box.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Forget();
    ResetConfToProgramStart();
    SetMessageHandler([this](const MessageRequest& r) {
      messages.push_back(r);
      return answer;
    });
    SetFileDialogHandler([this](const FileDialogRequest& r) {
      dialogs.push_back(r);
      return chosen;
    });
  }
  void TearDown() override {
    window.reset();
    SetMessageHandler(nullptr);
    SetFileDialogHandler(nullptr);
    ResetConfToProgramStart();
  }
  // A first start; a program folder without introduction documents keeps the document empty.
  void Open(const QStringList& arguments = {},
            const QString& program = QDir::tempPath() + "/numvex-no-intro/numvex") {
    window = std::make_unique<TfrmCalc>(true, arguments, program);
    window->SetKeyLayout(UsLayout());
    window->show();
    QApplication::setActiveWindow(window.get());
    window->Editor()->setFocus();
    QApplication::processEvents();
  }
  // The next window is a first start again.
  static void Forget() { QFile::remove(qEnvironmentVariable("NUMVEX_REGISTRY")); }
  static void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
  Tape Lines() const { return LinesOf(window->Engine().Buffer()); }
  void Type(const char* text) { QTest::keyClicks(window->Editor(), QString::fromLatin1(text)); }
  void Press(Qt::Key key, Qt::KeyboardModifiers m) { QTest::keyClick(window->Editor(), key, m); }
  QString State() const { return window->windowTitle() + (window->DocModified() ? " +" : ""); }

  std::unique_ptr<TfrmCalc> window;
  std::vector<MessageRequest> messages;
  int answer = mrOk;
  std::vector<FileDialogRequest> dialogs;
  QString chosen;  // the file dialogs' answer; empty cancels
};

}  // namespace numvex::testing
