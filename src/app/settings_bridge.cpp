#include "app/settings_bridge.h"

#include "app/message_box.h"
#include "platform/instance_broadcast.h"

namespace numvex {

SettingsBridge::SettingsBridge(QWidget* window, std::function<void()> apply_editor_options,
                               std::function<void()> apply_window_style)
    : window_(window),
      apply_editor_options_(std::move(apply_editor_options)),
      apply_window_style_(std::move(apply_window_style)) {}

#ifdef _WIN32

std::string SettingsBridge::RegisterDesktopFileType(const std::string&) { return std::string(); }
void SettingsBridge::UnregisterDesktopFileType() {}
void SettingsBridge::SetDesktopRunAtStartup(bool, const std::string&) {}

#else

std::string SettingsBridge::RegisterDesktopFileType(const std::string& program) {
  return desktop_.RegisterFileType(program);
}

void SettingsBridge::UnregisterDesktopFileType() { desktop_.UnregisterFileType(); }

void SettingsBridge::SetDesktopRunAtStartup(bool on, const std::string& program) {
  desktop_.SetRunAtStartup(on, program);
}

#endif

void SettingsBridge::PostBroadcast() { InstanceBroadcast::Post(); }

void SettingsBridge::ReportError(const std::string& message) {
  numvex::ReportError(window_, message);
}

void SettingsBridge::ShowPlainMessage(const std::string& message) {
  ShowMessage(window_, {message, "Numvex", MessageButtons::Ok, MessageIcon::None});
}

}  // namespace numvex
