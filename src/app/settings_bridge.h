#pragma once

#include <functional>
#include <string>

#include "config/settings.h"
#ifndef _WIN32
#include "platform/desktop_files.h"
#endif

class QWidget;

namespace numvex {

// Where the settings reach the program: the main window's editor and style, the desktop's
// own files, the other instances and the user's message boxes. Windows has no desktop files:
// there the hive's file type and logon keys are the system's own.
class SettingsBridge : public SettingsHost {
 public:
  SettingsBridge(QWidget* window, std::function<void()> apply_editor_options,
                 std::function<void()> apply_window_style);

  void ApplyEditorOptions() override { apply_editor_options_(); }
  void ApplyWindowStyle() override { apply_window_style_(); }
  std::string RegisterDesktopFileType(const std::string& program) override;
  void UnregisterDesktopFileType() override;
  void SetDesktopRunAtStartup(bool on, const std::string& program) override;
  void PostBroadcast() override;
  void ReportError(const std::string& message) override;
  void ShowPlainMessage(const std::string& message) override;

 private:
  QWidget* window_;
  std::function<void()> apply_editor_options_;
  std::function<void()> apply_window_style_;
#ifndef _WIN32
  DesktopFiles desktop_ = DesktopFiles::FromEnvironment();
#endif
};

}  // namespace numvex
