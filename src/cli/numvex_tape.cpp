// numvex-tape: recalculates tape files from the command line exactly as the desktop
// program does when it opens them.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/token_dump.h"
#include "config/conf.h"
#include "config/lang_texts.h"
#include "config/registry_store.h"
#include "config/settings.h"
#include "tape/document_file.h"
#include "tape/document_text.h"
#include "tape/separators.h"
#include "tape/tape_engine.h"
#include "tape/tape_stream.h"

namespace {

using numvex::Conf;

constexpr const char* kUsage =
    "Usage: numvex-tape [OPTIONS] [FILE...]\n"
    "Recalculates Numvex tapes: every run of amounts is evaluated, amount and separator\n"
    "lines are rewritten in their canonical layout and results are written under each\n"
    "separator. Text lines are never changed. With no FILE, or for \"-\", reads standard\n"
    "input; the result goes to standard output.\n"
    "\n"
    "Options:\n"
    "  --decimals N               decimal places of amounts, 0..9\n"
    "  --round-results            round results to the decimal places\n"
    "  --no-round-results         keep results unrounded\n"
    "  --decimal-separator C      decimal separator (default: from the locale)\n"
    "  --thousands-separator C    thousands separator (default: from the locale)\n"
    "  --in-place                 rewrite each FILE atomically instead of printing it\n"
    "  --check                    write nothing; exit 1 and name each FILE that\n"
    "                             recalculation would change\n"
    "  --help                     show this help\n"
    "  --version                  show the version\n"
    "\n"
    "Decimal places and rounding default to the settings of the Numvex desktop program\n"
#ifdef _WIN32
    "(HKEY_CURRENT_USER\\Software\\zel\\Numvex 3.0), or to 2 places unrounded\n"
#else
    "($NUMVEX_REGISTRY, else $XDG_CONFIG_HOME/zel/hkcu.reg), or to 2 places unrounded\n"
#endif
    "before it has stored any; the options above override them.\n"
    "\n"
    "       numvex-tape tokens --syntax nvx|report [FILE]\n"
    "Shows how the editor colours a document: for every line, the line number, the\n"
    "scanner state at its end and each token as START:LENGTH:KIND (START counts from 0).\n"
    "--syntax nvx scans as the tape highlighter, report as the plain-text highlighter.\n"
    "\n"
    "Exit status: 0 success, 1 --check found files to change, 2 usage or file error.\n"
    "A division by zero is reported as FILE:LINE: Division by zero! on standard error\n"
    "(LINE counts lines of the recalculated document); it does not change the status.\n";

struct Options {
  int decimals = 2;
  bool round_results = false;
  std::string decimal_sep;
  std::string thousands_sep;
  bool in_place = false;
  bool check = false;
  std::vector<std::string> files;
};

// Writes division-by-zero warnings for the file being processed.
class ToolHost : public numvex::TapeHost {
 public:
  explicit ToolHost(const std::string& name) : name_(name) {}
  void DivisionByZero(int line) override {
    std::fprintf(stderr, "%s:%d: %s\n", name_.c_str(), line,
                 numvex::GetLangText("Error200").c_str());
  }

 private:
  const std::string& name_;
};

int UsageError(const std::string& message) {
  // One line, so that scripts can show it as it stands.
  std::fprintf(stderr, "numvex-tape: %s (see 'numvex-tape --help')\n", message.c_str());
  return 2;
}

// Returns -1 when the arguments were read, else the exit status.
// The desktop program's decimals and rounding, when it has stored its settings; the file is
// only read, a damaged one left for the desktop program to report.
void StoredDefaults(Options* options) {
  numvex::registry::Hive hive;
  numvex::CurrentUserRegistry()->Load(hive);
  numvex::recConf stored;
  if (numvex::ReadSettings(hive, stored)) {
    options->decimals = stored.Decimals;
    options->round_results = stored.RoundResults;
  }
}

int ParseArguments(int argc, char** argv, Options* options) {
  StoredDefaults(options);
  bool options_done = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (options_done || arg == "-" || arg.rfind("--", 0) != 0) {
      options->files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    std::string value;
    bool has_inline_value = false;
    size_t eq = arg.find('=');
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      has_inline_value = true;
    }
    auto take_value = [&](std::string* out) -> bool {
      if (has_inline_value) {
        *out = value;
        return true;
      }
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    if (arg == "--help" && !has_inline_value) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version" && !has_inline_value) {
      std::printf("numvex-tape %s\n", Conf.Version.c_str());
      return 0;
    }
    if (arg == "--no-round-results" && !has_inline_value) {
      options->round_results = false;
    } else if (arg == "--round-results" && !has_inline_value) {
      options->round_results = true;
    } else if (arg == "--in-place" && !has_inline_value) {
      options->in_place = true;
    } else if (arg == "--check" && !has_inline_value) {
      options->check = true;
    } else if (arg == "--decimals") {
      std::string text;
      if (!take_value(&text)) return UsageError("option '--decimals' needs a number 0..9");
      if (text.size() != 1 || text[0] < '0' || text[0] > '9') {
        return UsageError("option '--decimals' needs a number 0..9, not '" + text + "'");
      }
      options->decimals = text[0] - '0';
    } else if (arg == "--decimal-separator" || arg == "--thousands-separator") {
      std::string* target =
          arg == "--decimal-separator" ? &options->decimal_sep : &options->thousands_sep;
      if (!take_value(target) || target->size() != 1) {
        return UsageError("option '" + arg + "' needs a single character");
      }
    } else if (arg == "--round-results" || arg == "--no-round-results" || arg == "--in-place" ||
               arg == "--check" || arg == "--help" || arg == "--version") {
      return UsageError("option '" + arg + "' takes no value");
    } else {
      return UsageError("unknown option '" + arg + "'");
    }
  }
  if (options->in_place && options->check) {
    return UsageError("options '--in-place' and '--check' cannot be combined");
  }
  if (options->in_place) {
    if (options->files.empty()) return UsageError("option '--in-place' needs FILE names");
    for (const auto& f : options->files) {
      if (f == "-") return UsageError("option '--in-place' cannot rewrite standard input");
    }
  }
  if (options->files.empty()) options->files.push_back("-");
  return -1;
}

// Checks the separators given on the command line and completes them from the locale.
bool ResolveSeparators(const Options& options, numvex::Separators* seps, std::string* error) {
  numvex::Separators locale = numvex::LocaleSeparators();
  const std::pair<const char*, const std::string*> given_seps[] = {
      {"--decimal-separator", &options.decimal_sep},
      {"--thousands-separator", &options.thousands_sep}};
  for (const auto& [option, given] : given_seps) {
    if (given->empty()) continue;
    numvex::Separators probe = numvex::ChooseSeparators(*given, "'");
    if (probe.decimal != (*given)[0]) {
      *error = std::string("option '") + option + "': '" + *given +
               "' cannot be a separator (digits, blanks, operators, %, = and E are not "
               "allowed)";
      return false;
    }
  }
  if (!options.decimal_sep.empty() && !options.thousands_sep.empty() &&
      options.decimal_sep == options.thousands_sep) {
    *error = "options '--decimal-separator' and '--thousands-separator' must differ";
    return false;
  }
  std::string decimal =
      options.decimal_sep.empty() ? std::string(1, locale.decimal) : options.decimal_sep;
  std::string thousands =
      options.thousands_sep.empty() ? std::string(1, locale.thousands) : options.thousands_sep;
  if (options.thousands_sep.empty() && thousands == decimal) thousands.clear();
  if (options.decimal_sep.empty() && thousands == decimal) {
    decimal = thousands == "." ? "," : ".";
  }
  *seps = numvex::ChooseSeparators(decimal, thousands);
  return true;
}

constexpr int kNotRegular = -1;
constexpr int kCannotWriteOutput = -2;

// Recalculates a regular file as the options say; returns the file's exit status,
// kNotRegular for anything but a regular file (nothing done), or kCannotWriteOutput.
int StreamFile(const std::string& file, const Options& options,
               const numvex::TapeSettings& settings) {
  std::FILE* in = std::fopen(file.c_str(), "rb");
  if (in == nullptr) {
    std::fprintf(stderr, "numvex-tape: cannot read '%s': %s\n", file.c_str(), std::strerror(errno));
    return 2;
  }
  struct stat st;
  if (fstat(fileno(in), &st) != 0 || !S_ISREG(st.st_mode)) {
    std::fclose(in);
    return kNotRegular;
  }
  auto read_error = [&](const char* reason) {
    std::fprintf(stderr, "numvex-tape: cannot read '%s': %s\n", file.c_str(), reason);
    std::fclose(in);
    return 2;
  };
  // st_size may be 32 bits wide (MinGW's off_t), so the bound is compared unsigned.
  if (static_cast<uint64_t>(st.st_size) >= (uint64_t{1} << 31)) {
    // Lines are counted and measured in 32 bits.
    return read_error("file too large (2 GiB or more)");
  }
  numvex::BreakScan scan;
  if (!numvex::ScanBreaks(in, &scan)) return read_error(std::strerror(errno));
  std::rewind(in);
  ToolHost host(file);
  bool changed = false;
  int status = 0;
  if (options.check || options.in_place) {
    // The warnings come from this pass; writing the file is a second, quiet one.
    if (!numvex::TapeStream(settings, host).Run(in, scan.style, nullptr, &changed)) {
      return read_error(std::strerror(errno));
    }
    changed = changed || !scan.canonical_layout;
    if (options.check && changed) {
      std::printf("%s\n", file.c_str());
      status = 1;
    }
    std::string error;
    if (options.in_place && changed &&
        !numvex::ReplaceFileAtomically(
            file,
            [&](std::FILE* out) {
              std::rewind(in);
              numvex::QuietTapeHost quiet;
              bool again = false;
              const bool written =
                  numvex::TapeStream(settings, quiet).Run(in, scan.style, out, &again);
              // Windows replaces no file that is still open.
              std::fclose(in);
              in = nullptr;
              return written;
            },
            &error)) {
      std::fprintf(stderr, "numvex-tape: cannot write '%s': %s\n", file.c_str(), error.c_str());
      status = 2;
    }
  } else if (!numvex::TapeStream(settings, host).Run(in, scan.style, stdout, &changed)) {
    const int failure = errno;
    if (std::ferror(stdout)) {
      std::fprintf(stderr, "numvex-tape: cannot write to standard output: %s\n",
                   std::strerror(failure));
      std::fclose(in);
      return kCannotWriteOutput;
    }
    return read_error(std::strerror(failure));
  }
  if (in != nullptr) std::fclose(in);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Documents are bytes: no line break may be translated on the way in or out, and the
  // messages end their lines as on every other system.
  for (std::FILE* stream : {stdin, stdout, stderr}) _setmode(_fileno(stream), _O_BINARY);
#endif
  numvex::InitTapeArithmetic();
  Conf.Language = 1;  // the tool speaks English
  if (argc > 1 && std::strcmp(argv[1], "tokens") == 0)
    return numvex::RunTokenDump(argc - 2, argv + 2);
  Options options;
  int status = ParseArguments(argc, argv, &options);
  if (status >= 0) return status;
  numvex::TapeSettings settings;
  settings.decimals = options.decimals;
  settings.round_results = options.round_results;
  std::string error;
  if (!ResolveSeparators(options, &settings.seps, &error)) return UsageError(error);

  int exit_status = 0;
  for (const std::string& file : options.files) {
    // A regular file streams through the engine a stretch at a time; standard input, pipes
    // and the like are read whole.
    if (file != "-") {
      const int status = StreamFile(file, options, settings);
      if (status == kCannotWriteOutput) return 2;
      if (status == kNotRegular) {
        // read whole below
      } else {
        if (status > exit_status) exit_status = status;
        continue;
      }
    }
    numvex::FileBytes bytes;
    if (!numvex::ReadFileBytes(file, &bytes, &error)) {
      std::fprintf(stderr, "numvex-tape: cannot read '%s': %s\n", file.c_str(), error.c_str());
      exit_status = 2;
      continue;
    }
    if (bytes.size >= (size_t{1} << 31)) {
      // Lines are counted and measured in 32 bits.
      std::fprintf(stderr, "numvex-tape: cannot read '%s': file too large (2 GiB or more)\n",
                   file.c_str());
      exit_status = 2;
      continue;
    }
    numvex::MemoryTapeBuffer buffer;
    buffer.Adopt(std::move(bytes.data), bytes.size);
    numvex::LineBreak style = numvex::SplitAdoptedDocument(&buffer);
    bool layout_kept = numvex::HasCanonicalLayout(buffer.AdoptedBytes(), style);

    const std::string& name = file;
    ToolHost host(name);
    numvex::TapeEngine engine(buffer, host);
    engine.SetSettings(settings);
    engine.CalcMode = true;
    engine.RecalcAll();
    bool changed = buffer.WriteCount() > 0 || !layout_kept;

    if (options.check) {
      if (changed) {
        std::printf("%s\n", file.c_str());
        if (exit_status == 0) exit_status = 1;
      }
    } else if (options.in_place) {
      if (changed && !numvex::ReplaceFileAtomically(file, buffer, style, &error)) {
        std::fprintf(stderr, "numvex-tape: cannot write '%s': %s\n", file.c_str(), error.c_str());
        exit_status = 2;
      }
    } else if (!numvex::WriteDocument(buffer, style, stdout)) {
      std::fprintf(stderr, "numvex-tape: cannot write to standard output: %s\n",
                   std::strerror(errno));
      return 2;
    }
  }
  std::fflush(stdout);
  return exit_status;
}
