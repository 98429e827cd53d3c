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

// A line from the range it starts in to the range it leaves.
struct LineCase {
  const char* name;
  TScanState from;
  std::string line;
  std::string drawn;
  TScanState to;
};

// The scan drawn as one letter a byte, the letter of its token's kind, "|" between tokens.
inline void ExpectLine(TSynCustomHighlighter& hl, const LineCase& c, const char* letter_of_kind) {
  const LineScan scan = ScanLine(hl, c.line, c.from);
  std::string drawn;
  for (const Token& t : scan.tokens) {
    drawn += (drawn.empty() ? "" : "|") + std::string(t.length, letter_of_kind[t.kind]);
  }
  EXPECT_EQ(drawn, c.drawn) << ::testing::PrintToString(c.line);
  EXPECT_EQ(scan.end_state, c.to);
}

// The attribute names of the tokens of `lines`, each scanned from the initial state, joined by
// "|". The end of a line has no attribute and stays put when asked for one more token.
inline std::string AttributeNames(TSynCustomHighlighter& hl,
                                  const std::vector<std::string>& lines) {
  std::string names;
  for (const std::string& line : lines) {
    hl.ResetScanState();
    for (hl.StartLine(line.c_str(), 1); !hl.AtLineEnd(); hl.NextToken()) {
      names += hl.TokenAttribute()->Name() + "|";
    }
    hl.NextToken();
    EXPECT_TRUE(hl.AtLineEnd() && hl.TokenAttribute() == nullptr &&
                hl.TokenStart() == static_cast<int>(line.size()));
  }
  return names;
}

}  // namespace numvex::testing
