#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <optional>
#include <string>

namespace numvex::testing {

constexpr int kWaitMs = 30000;  // a safety net for a process or event that never comes

// Waits, serving events, until the condition holds or kWaitMs have passed; the condition.
template <typename Condition>
bool WaitUntil(Condition condition) {
  for (QDeadlineTimer deadline(kWaitMs); !condition() && !deadline.hasExpired();) {
    QCoreApplication::processEvents();
    QThread::msleep(5);
  }
  return condition();
}

// Runs a program to its end: its trimmed standard output, or nothing when it failed.
inline std::optional<std::string> RunProgram(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(program, arguments);
  if (!process.waitForFinished(kWaitMs) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return std::nullopt;
  }
  return process.readAllStandardOutput().trimmed().toStdString();
}

}  // namespace numvex::testing
