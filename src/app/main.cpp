// numvex: the desktop tape calculator.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/calc_main.h"
#include "app/program_options.h"
#include "config/conf.h"
#include "platform/instance_lock.h"
#include "tape/tape_engine.h"

int main(int argc, char** argv) {
  numvex::ResetConfToProgramStart();
  const numvex::ProgramOptions options = numvex::ReadProgramOptions(argc, argv);
  switch (options.action) {
    case numvex::ProgramOptions::kHelp:
      std::fputs(numvex::ProgramUsage().c_str(), stdout);
      return 0;
    case numvex::ProgramOptions::kVersion:
      std::fputs(numvex::ProgramVersion().c_str(), stdout);
      return 0;
    case numvex::ProgramOptions::kError:
      std::fprintf(stderr, "numvex: %s (see 'numvex --help')\n", options.message.c_str());
      return 2;
    case numvex::ProgramOptions::kRun:
      break;
  }
  numvex::InitTapeArithmetic();
  numvex::InstanceLock instance_lock;
  QApplication app(argc, argv);
  // Not Qt's display name: the desktop would add it to every window's caption. The
  // windows carry the program's title themselves.
  QApplication::setApplicationName("numvex");
  // The window may live on hidden behind its notification-area icon, where a message closing
  // must not end the program: it ends when the main window closes for good.
  QApplication::setQuitOnLastWindowClosed(false);
  // The program file, not argv[0]: the introduction documents lie beside it, wherever the
  // program was started from.
  QStringList arguments = QApplication::arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  arguments.removeOne("--");  // it only ended the options
  const QString program = QApplication::applicationFilePath();

  numvex::TfrmCalc main_window(instance_lock.FirstInstance(), arguments, program);
  QObject::connect(&main_window, &numvex::TfrmCalc::closed, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  if (main_window.StartVisible()) main_window.show();
  return QApplication::exec();
}
