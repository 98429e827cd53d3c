#pragma once

// A line scanned the way the editor scans it, for the highlighter tests.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "highlight/syn_highlighter.h"

namespace numvex::testing {

struct Token {
  int start = 0;
  int length = 0;
  int kind = 0;
  std::string text;
  bool operator==(const Token& o) const {
    return std::tie(start, length, kind, text) == std::tie(o.start, o.length, o.kind, o.text);
  }
};

struct LineScan {
  std::vector<Token> tokens;  // every token before the end-of-line token
  int end_start = -1;         // the end-of-line token; -1 when the scan stalled
  int end_length = -1;
  TScanState end_state = 0;
  bool operator==(const LineScan& o) const {
    return std::tie(tokens, end_start, end_length, end_state) ==
           std::tie(o.tokens, o.end_start, o.end_length, o.end_state);
  }
};

inline void PrintTo(const LineScan& scan, std::ostream* os) {
  for (const Token& t : scan.tokens) {
    *os << t.start << ':' << t.length << ':' << t.kind << ::testing::PrintToString(t.text) << ' ';
  }
  *os << "end " << scan.end_start << ':' << scan.end_length << " state " << scan.end_state;
}

inline LineScan ScanLine(TSynCustomHighlighter& hl, const std::string& line, TScanState state) {
  LineScan scan;
  hl.SetScanState(state);
  for (hl.StartLine(line.c_str(), 1); !hl.AtLineEnd(); hl.NextToken()) {
    if (scan.tokens.size() > line.size()) return scan;
    scan.tokens.push_back({hl.TokenStart(), hl.TokenLength(), hl.TokenKind(), hl.TokenText()});
  }
  scan.end_start = hl.TokenStart();
  scan.end_length = hl.TokenLength();
  scan.end_state = hl.ScanState();
  return scan;
}

// A scan drawn as one letter a byte, the letter of its token's kind, with "|" between tokens.
inline std::string Drawn(const LineScan& scan, const char* letter_of_kind) {
  std::string out;
  for (const Token& t : scan.tokens) {
    if (!out.empty()) out += '|';
    out.append(static_cast<size_t>(t.length), letter_of_kind[t.kind]);
  }
  return out;
}

}  // namespace numvex::testing
