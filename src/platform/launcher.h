#pragma once

#include <functional>
#include <string>

namespace numvex {

// Starts the program a command line names, as a double click on a bracketed link does.
// The line is Windows-1252 text; it is split into program and arguments the way a shell
// would split it (blanks separate, double quotes group, "" inside quotes is a quote) but
// never handed to a shell, so ";", "|", "$(...)" and the like are only characters of the
// arguments. When no program starts, the whole unchanged line goes to the desktop's "open"
// (a document, folder or address). Returns whether either worked; failures are silent. A
// line of nothing but blanks does nothing.
bool LaunchCommandLine(const std::string& command_line);

// The desktop's "open" for a target (Windows-1252 text); returns whether it was accepted.
using ShellOpenFunction = std::function<bool(const std::string& target)>;

// The system's own "open": the desktop's handler for the file or address.
bool SystemShellOpen(const std::string& target);

// Hands a target to the current "open": the system's, or the one ReplaceShellOpen put in.
bool OpenWithShell(const std::string& target);

// Puts `open` in the place of the "open" fallback and returns the one it replaces, so that
// tests can watch the fallback without a browser coming up.
ShellOpenFunction ReplaceShellOpen(ShellOpenFunction open);

}  // namespace numvex
