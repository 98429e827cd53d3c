#include "cli/token_dump.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "highlight/syn_nvx.h"
#include "highlight/syn_zel_rep.h"
#include "tape/document_file.h"
#include "tape/document_text.h"

namespace numvex {

namespace {

int TokensUsage(const std::string& message) {
  std::fprintf(stderr, "numvex-tape: %s\nUsage: numvex-tape tokens --syntax nvx|report [FILE]\n",
               message.c_str());
  return 2;
}

}  // namespace

int RunTokenDump(int argc, char** argv) {
  std::string syntax;
  std::string file;
  for (int i = 0; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--syntax" || arg.rfind("--syntax=", 0) == 0) {
      if (arg == "--syntax") {
        if (i + 1 >= argc) return TokensUsage("option '--syntax' needs nvx or report");
        syntax = argv[++i];
      } else {
        syntax = arg.substr(9);
      }
    } else if (arg.rfind("--", 0) == 0) {
      return TokensUsage("unknown option '" + arg + "'");
    } else if (file.empty()) {
      file = arg;
    } else {
      return TokensUsage("tokens takes at most one FILE");
    }
  }
  std::unique_ptr<TSynCustomHighlighter> highlighter;
  if (syntax == "nvx") {
    highlighter = MakeMainWindowNvx();
  } else if (syntax == "report") {
    highlighter = MakeSynOff();
  } else {
    return TokensUsage(syntax.empty()
                           ? "option '--syntax' is required"
                           : "option '--syntax' needs nvx or report, not '" + syntax + "'");
  }
  if (file.empty()) file = "-";
  FileBytes bytes;
  std::string error;
  if (!ReadFileBytes(file, &bytes, &error)) {
    std::fprintf(stderr, "numvex-tape: cannot read '%s': %s\n", file.c_str(), error.c_str());
    return 2;
  }
  MemoryTapeBuffer buffer;
  buffer.Adopt(std::move(bytes.data), bytes.size);
  SplitAdoptedDocument(&buffer);
  std::vector<std::string> lines = buffer.Lines();
  bool ok = true;
  DumpTokens(*highlighter, lines, [&](const std::string& line) {
    if (ok && (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() ||
               std::fputc('\n', stdout) == EOF)) {
      ok = false;
    }
  });
  if (std::fflush(stdout) != 0 || !ok) {
    std::fprintf(stderr, "numvex-tape: cannot write to standard output\n");
    return 2;
  }
  return 0;
}

}  // namespace numvex
