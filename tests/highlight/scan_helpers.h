#pragma once

// Scanning helpers for the highlighter tests: one line or a document scanned the way the editor
// scans it, and the robustness sweep every highlighter of the program must pass.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/random_text.h"
#include "highlight/syn_highlighter.h"

namespace numvex::testing {

struct Token {
  int start = 0;
  int length = 0;
  int kind = 0;
  std::string text;

  bool operator==(const Token& o) const {
    return start == o.start && length == o.length && kind == o.kind && text == o.text;
  }
};

struct LineScan {
  std::vector<Token> tokens;  // every token before the end-of-line token
  int end_start = -1;         // start and length of the end-of-line token
  int end_length = -1;
  TScanState end_state = 0;
  bool ended = false;  // false: more tokens than bytes, the scan stalled

  bool operator==(const LineScan& o) const {
    return tokens == o.tokens && end_start == o.end_start && end_length == o.end_length &&
           end_state == o.end_state && ended == o.ended;
  }
};

// Printable form of a line of bytes for failure messages.
inline std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += "0123456789ABCDEF"[c >> 4];
      out += "0123456789ABCDEF"[c & 15];
    }
  }
  return out;
}

inline LineScan ScanLine(TSynCustomHighlighter& hl, const std::string& line, TScanState state) {
  LineScan scan;
  hl.SetScanState(state);
  hl.StartLine(line.c_str(), 1);
  for (; !hl.AtLineEnd(); hl.NextToken()) {
    if (scan.tokens.size() > std::strlen(line.c_str())) return scan;
    scan.tokens.push_back({hl.TokenStart(), hl.TokenLength(), hl.TokenKind(), hl.TokenText()});
  }
  scan.end_start = hl.TokenStart();
  scan.end_length = hl.TokenLength();
  scan.end_state = hl.ScanState();
  scan.ended = true;
  return scan;
}

// The lines of a document, each from the end state of the one before, the first from the
// highlighter's initial state.
inline std::vector<LineScan> ScanLines(TSynCustomHighlighter& hl,
                                       const std::vector<std::string>& lines) {
  std::vector<LineScan> scans;
  hl.ResetScanState();
  TScanState state = hl.ScanState();
  for (const std::string& line : lines) {
    scans.push_back(ScanLine(hl, line, state));
    state = scans.back().end_state;
  }
  return scans;
}

using TextKindList = std::vector<std::pair<std::string, int>>;

inline TextKindList TextKinds(const LineScan& scan) {
  TextKindList out;
  for (const Token& t : scan.tokens) out.emplace_back(t.text, t.kind);
  return out;
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

// Why a scan of `line` is malformed, or "" when its tokens tile the line up to its first byte
// 0 with non-empty tokens of known kinds whose text agrees with the line.
inline std::string ShapeFault(const std::string& line, const LineScan& scan, int kind_count) {
  const std::string visible = line.c_str();
  if (!scan.ended) return "the scan did not reach the end of the line";
  int pos = 0;
  for (const Token& t : scan.tokens) {
    const std::string where = " at " + std::to_string(t.start);
    if (t.start != pos) return "token does not start at " + std::to_string(pos) + where;
    if (t.length <= 0 || pos + t.length > static_cast<int>(visible.size())) {
      return "token length " + std::to_string(t.length) + where;
    }
    if (t.text != visible.substr(static_cast<size_t>(pos), static_cast<size_t>(t.length))) {
      return "TokenText differs" + where;
    }
    if (t.kind < 0 || t.kind >= kind_count) return "unknown kind" + where;
    pos += t.length;
  }
  if (pos != static_cast<int>(visible.size())) return "tokens end at " + std::to_string(pos);
  if (scan.end_start != pos || scan.end_length != 0) return "end-of-line token misplaced";
  return "";
}

struct SweepOptions {
  std::vector<TScanState> states;  // every state a line can start in
  int kind_count = 0;
  std::string alphabet;  // bytes the random lines favour
};

// Every byte, every pair of bytes and seeded random lines (half their bytes from the alphabet),
// from every state: the scan has the right shape, another instance with another history agrees
// with it, and bytes after a byte 0 change nothing.
inline void SweepHighlighter(const std::function<std::unique_ptr<TSynCustomHighlighter>()>& make,
                             const SweepOptions& options) {
  auto first = make();
  auto second = make();
  int failures = 0;
  auto sweep = [&](const std::string& line, const std::string& tail) {
    std::vector<LineScan> scans;
    for (TScanState state : options.states) scans.push_back(ScanLine(*first, line, state));
    // The second instance takes the states the other way round, so its history differs.
    for (size_t i = scans.size(); i-- > 0 && failures < 10;) {
      const std::string fault = ShapeFault(line, scans[i], options.kind_count);
      const bool same = ScanLine(*second, line + '\0' + tail, options.states[i]) == scans[i];
      if (fault.empty() && same) continue;
      ADD_FAILURE() << "\"" << Escaped(line) << "\" from " << options.states[i] << ": "
                    << (fault.empty() ? "another instance or a byte 0 changes the scan" : fault);
      ++failures;
    }
  };
  for (int a = 1; a <= 255; ++a) {
    sweep(std::string(1, static_cast<char>(a)), "");
    for (int b = 1; b <= 255; ++b) sweep({static_cast<char>(a), static_cast<char>(b)}, "");
  }
  RandomText random(20240611);
  for (int n = 0; n < 3000; ++n) {
    std::string line;
    for (unsigned i = random.Below(101); i > 0; --i) {
      line += random.OneIn(2) ? random.OneOf(options.alphabet) : random.Bytes(1)[0];
    }
    sweep(line, random.Bytes(1 + random.Below(25)));
  }
}

}  // namespace numvex::testing
