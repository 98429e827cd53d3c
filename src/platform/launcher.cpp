#include "platform/launcher.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>
#else
#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "platform/ansi_text.h"
#endif

namespace numvex {

namespace {

ShellOpenFunction& ShellOpen() {
  static ShellOpenFunction open = SystemShellOpen;
  return open;
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Starts the process; the caller falls back to "open" when this fails.
bool StartProcess(const std::string& command_line) {
#ifdef _WIN32
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  std::string writable = command_line;  // CreateProcessA may write into the line
  if (!::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process)) {
    return false;
  }
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
#else
  QStringList arguments = QProcess::splitCommand(FromAnsi(command_line));
  if (arguments.isEmpty()) return false;
  const QString program = arguments.takeFirst();
  return QProcess::startDetached(program, arguments);
#endif
}

}  // namespace

bool SystemShellOpen(const std::string& target) {
#ifdef _WIN32
  HINSTANCE result = ::ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW);
  return reinterpret_cast<INT_PTR>(result) > 32;
#else
  // A relative name means a file in the current folder, as it would for the shell.
  const QUrl url = QUrl::fromUserInput(FromAnsi(target), QDir::currentPath());
  return url.isValid() && QDesktopServices::openUrl(url);
#endif
}

ShellOpenFunction ReplaceShellOpen(ShellOpenFunction open) {
  return std::exchange(ShellOpen(), std::move(open));
}

bool OpenWithShell(const std::string& target) {
  const ShellOpenFunction& open = ShellOpen();
  return open && open(target);
}

bool LaunchCommandLine(const std::string& command_line) {
  if (IsBlank(command_line)) return false;
  return StartProcess(command_line) || OpenWithShell(command_line);
}

}  // namespace numvex
