// The desktop program's command line, read before any window exists so that --help and
// --version work without a display.
#ifndef NUMVEX_APP_PROGRAM_OPTIONS_H
#define NUMVEX_APP_PROGRAM_OPTIONS_H

#include <string>

namespace numvex {

struct ProgramOptions {
  enum Action { kRun, kHelp, kVersion, kError };
  Action action = kRun;
  std::string message;  // kError: what was wrong, one line
};

// Reads argv the way the program will: "/TB" and a document pass through to the window, as
// do the options Qt itself takes (-platform NAME, -style NAME, -reverse and the like);
// "--" ends the options, so that a document may start with "-".
ProgramOptions ReadProgramOptions(int argc, const char* const* argv);

// The text for --help and --version.
std::string ProgramUsage();
std::string ProgramVersion();

}  // namespace numvex

#endif  // NUMVEX_APP_PROGRAM_OPTIONS_H
