#pragma once

// The file type and logon start entries of the current user's hive.

#include <string>

#include "config/registry.h"

namespace numvex {

inline constexpr char kExtensionKey[] = "Software\\Classes\\.nvx";
inline constexpr char kFileTypeKey[] = "Software\\Classes\\Numvex.File";
inline constexpr char kFileTypeName[] = "Numvex.File";
// From the hive's root, whatever key a caller thinks it is in.
inline constexpr char kRunKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "Numvex";

// Creates ".nvx" and the "Numvex.File" keys with the open command and icon of `program`,
// unless ".nvx" exists already: someone's registration, ours or another program's, is never
// overwritten.
void RegisterFileType(registry::Hive& hive, const std::string& program);

// Removes this program's registration: "Numvex.File", and ".nvx" only while it still points
// there, so that another program that has taken the extension over keeps it.
void UnregisterFileType(registry::Hive& hive);

// Adds the logon start value (the unquoted program path and " /TB") or removes it.
void SetRunAtStartup(registry::Hive& hive, bool on, const std::string& program);

}  // namespace numvex
