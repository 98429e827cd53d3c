#include "app/program_options.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "config/conf.h"

namespace numvex {

namespace {

// Qt's own options: QApplication takes them out of the arguments before the window sees
// them. The first group is followed by a value.
constexpr std::string_view kQtWithValue[] = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin",  "-qwindowgeometry",
    "-qwindowicon", "-qwindowtitle", "-display", "-geometry", "-style", "-stylesheet",
    "-session", "-name", "-title", "-visual", "-ncols", "-cmap", "-qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"-reverse", "-widgetcount", "-sync", "-nograb",
                                         "-dograb"};

template <size_t N>
bool OneOf(std::string_view arg, const std::string_view (&list)[N]) {
  return std::find(std::begin(list), std::end(list), arg) != std::end(list);
}

}  // namespace

ProgramOptions ReadProgramOptions(int argc, const char* const* argv) {
  ProgramOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;  // everything after it is a document
    if (arg.size() < 2 || arg[0] != '-') continue;
    if (arg == "--help" || arg == "-h") {
      options.action = ProgramOptions::kHelp;
      return options;
    }
    if (arg == "--version") {
      options.action = ProgramOptions::kVersion;
      return options;
    }
    // Qt accepts its options with one dash or two ("--style=fusion" too).
    std::string_view qt = arg.substr(arg[1] == '-' ? 1 : 0);
    const bool inline_value = qt.find('=') != std::string_view::npos;
    qt = qt.substr(0, qt.find('='));
    if (OneOf(qt, kQtFlags)) continue;
    if (OneOf(qt, kQtWithValue)) {
      if (!inline_value && ++i >= argc) {
        options.action = ProgramOptions::kError;
        options.message = "option '" + std::string(arg) + "' needs a value";
        return options;
      }
      continue;
    }
    options.action = ProgramOptions::kError;
    options.message = "unknown option '" + std::string(arg) + "'";
    return options;
  }
  return options;
}

std::string ProgramUsage() {
  return "Usage: numvex [/TB] [--] [DOCUMENT]\n"
         "Numvex is a tape calculator inside a text editor: amounts typed on the keypad\n"
         "become a tape of formatted lines with their results; other documents open in\n"
         "the text editor with syntax highlighting.\n"
         "\n"
         "  DOCUMENT     the tape (.nvx) or text file to open\n"
         "  /TB          start with the icon in the notification area only, as the logon\n"
         "               start does (the window shows if there is no notification area)\n"
         "  --           ends the options: a document name may then start with \"-\"\n"
         "  --help       show this help\n"
         "  --version    show the version\n"
         "\n"
         "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are accepted.\n"
         "Settings live in $NUMVEX_REGISTRY, else $XDG_CONFIG_HOME/zel/hkcu.reg.\n"
         "Recalculating tapes from scripts: see numvex-tape --help.\n";
}

std::string ProgramVersion() { return "numvex " + Conf.Version + "\n"; }

}  // namespace numvex
