#pragma once

// Loading and saving the settings record, the window placement and the recent files in the
// current user's hive, and applying what the settings mean outside the record.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/conf.h"
#include "config/registry.h"

namespace numvex {

namespace registry {
class Registry;
struct UpdateResult;
}  // namespace registry

inline constexpr char kSettingsKey[] = "Software\\zel\\Numvex 3.0\\";
inline constexpr char kOptionsKey[] = "Software\\zel\\Numvex 3.0\\Options\\";

// What the settings do beyond the hive: the window and editor, the desktop's own file type
// and logon entries, the other instances, and the user.
class SettingsHost {
 public:
  virtual ~SettingsHost() = default;
  virtual void ApplyEditorOptions() = 0;
  virtual void ApplyWindowStyle() = 0;
  // The desktop's side of the file type and logon start; RegisterDesktopFileType returns an
  // error message, empty on success.
  virtual std::string RegisterDesktopFileType(const std::string& program) = 0;
  virtual void UnregisterDesktopFileType() = 0;
  virtual void SetDesktopRunAtStartup(bool on, const std::string& program) = 0;
  // Tells every running instance, this one included, that logon start was turned off.
  virtual void PostBroadcast() = 0;
  // The application's general error report.
  virtual void ReportError(const std::string& message) = 0;
  // A plain message box with an OK button.
  virtual void ShowPlainMessage(const std::string& message) = 0;
};

// The hive the program keeps its settings in: the shared `.reg` file
// (registry::RegistryFile::DefaultPath()) on Linux, HKEY_CURRENT_USER itself on Windows,
// where only the settings, file type and logon keys are read and written.
std::unique_ptr<registry::Registry> CurrentUserRegistry();

// Reads the settings key into `conf` as a start that finds "First start" does, stopping at
// the first value of the wrong type; returns false, reading nothing, when "First start" is
// missing (a first start).
bool ReadSettings(const registry::Hive& hive, recConf& conf);

// Main window bounds in screen pixels.
struct WindowBounds {
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
};

class SettingsStore {
 public:
  // `program` is the full path of the program file, for the stored "Path", the file type
  // and the logon entry.
  SettingsStore(registry::Registry& registry, SettingsHost& host, std::string program);

  // Fills Conf from the hive, or with the first-start values when the program has not run
  // before (registering the file type at once), then applies the window style. A hive that
  // cannot be read is reported and gives the first-start values without a first start.
  void LoadSettings();
  // Writes the whole of Conf and applies the logon start, editor options, file type and
  // window style; a refused write reaches the error report and skips the applying.
  void SaveSettings();
  // Sets the stored bounds over `bounds` (keeping what is missing) and fills LruFiles;
  // returns false when nothing is stored. A recent-file slot of the wrong type is reported.
  bool LoadWindowPlacement(WindowBounds& bounds);
  // Stores the recent files, and the bounds when the window is in its normal state.
  void SaveWindowPlacement(const WindowBounds& bounds, bool normal_state);

 private:
  // Reads the hive; a damaged file is put aside (keeping what could be read) and reported,
  // once, since the next read finds the repaired file. False when there is nothing to read,
  // with the reason in `unreadable` when the file is there but out of reach.
  bool Snapshot(registry::Hive& hive, std::string* unreadable);
  // One write transaction; a damaged file it put aside is reported.
  registry::UpdateResult Transact(const std::function<void(registry::Hive&)>& change);
  // The hive's file type and the desktop's; an error goes to a plain message.
  void RegisterFileTypeEverywhere();

  registry::Registry& registry_;
  SettingsHost& host_;
  std::string program_;
};

// Bounds that no screen shows a pixel of (a monitor unplugged since) are moved into the
// middle of `primary`, keeping their size where it fits; bounds partly visible stay as they are.
WindowBounds BringOnScreen(const WindowBounds& window, const std::vector<WindowBounds>& screens,
                           const WindowBounds& primary);

}  // namespace numvex
