#pragma once

#include <string>

namespace numvex {

// The files this program keeps in the user's freedesktop folders so that ".nvx" documents
// open in it and it starts at logon. Only files this program wrote are ever changed or
// removed: each carries a marker line, and a file without it is left as it is.
class DesktopFiles {
 public:
  // $XDG_DATA_HOME (default $HOME/.local/share) and $XDG_CONFIG_HOME (default $HOME/.config);
  // a relative XDG value is ignored as the XDG base directory rules say.
  static DesktopFiles FromEnvironment();
  DesktopFiles(std::string data_home, std::string config_home);

  // Writes <data>/applications/numvex.desktop and <data>/mime/packages/numvex.xml unless both
  // already hold exactly what would be written; after a write runs update-mime-database
  // <data>/mime and update-desktop-database <data>/applications when those programs are on
  // PATH (detached, never waited for, never an error when absent). Returns an empty string
  // on success, else a message naming the file that could not be written; another
  // program's file in either place counts as one that cannot be written.
  std::string RegisterFileType(const std::string& program_path) const;
  // Removes those two files when they exist and are this program's own, then refreshes the
  // databases as above. Silent.
  void UnregisterFileType() const;
  // on: writes <config>/autostart/numvex.desktop starting the program with "/TB" (unless it
  // already holds exactly that); off: removes that file if it is this program's own. Silent.
  void SetRunAtStartup(bool on, const std::string& program_path) const;

  std::string ApplicationEntryPath() const;  // <data>/applications/numvex.desktop
  std::string MimePackagePath() const;       // <data>/mime/packages/numvex.xml
  std::string AutostartEntryPath() const;    // <config>/autostart/numvex.desktop

 private:
  std::string data_home_;
  std::string config_home_;
};

}  // namespace numvex
