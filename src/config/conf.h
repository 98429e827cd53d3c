#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace numvex {

// Every user setting of the program. Fields are read at the moment of use and never
// cached; each change is followed by a save of the whole record.
struct recConf {
  int32_t Language = -1;  // 0 German, 1 English; -1 until detected
  int32_t Decimals = 2;   // decimal places of tape amounts, 0..9
  int32_t TabStops = 0;
  bool RoundResults = false;
  std::string Version = "3.3.2";
  std::string Build = "Build: 2009-08-03";
  bool FirstStart = false;
  bool RegisterExtension = false;
  bool RunAtStartup = false;
  bool AlwaysOnTop = false;
  bool ShowNumPad = true;
  bool ShowSyntaxMenu = false;
  bool SmartTabs = false;
  bool FirstTextMode = false;
  bool AutoIndent = false;
  bool TrailingSpaces = false;
  bool TabsToSpaces = false;
  bool DragDropEditing = false;
  bool Gutter = false;
  bool AskSave = false;
  std::string LruDir;
};

// The one settings record of the process, with its program-start values.
extern recConf Conf;

// The four most recently used files; slot 1 (index 0) is the most recent, an empty
// text is an empty slot.
constexpr int kLruCount = 4;
extern std::array<std::string, kLruCount> LruFiles;

// Raises value to lo if below, then lowers it to hi if above.
void ClampInt(int32_t& value, int32_t lo, int32_t hi);

// Empties the four recent-file slots.
void ClearRecentFiles();

// Puts every field back to its program-start value and empties the recent files.
void ResetConfToProgramStart();

}  // namespace numvex
