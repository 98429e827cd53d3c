#pragma once

// Scanning helpers for highlighter tests.
//
// `ScanLine` runs one line through a highlighter the way the editor does and returns its tokens
// and end state. `SweepHighlighter` is the robustness sweep every highlighter of the program
// should pass; it only needs a factory and the scan states the highlighter can produce, e.g.
// for the tape highlighter:
//
//   SweepOptions options;
//   options.states = {0, 1, 2, 3};
//   options.kind_count = 13;
//   options.alphabet = "#[]-+.,0123456789 \t\r\n\xA0abz_";
//   SweepHighlighter([] { return std::make_unique<TSynhighNvx>(); }, options);
//
// It checks, for all single bytes 1..255, all pairs of them and seeded random lines, each
// scanned from every given state: the scan ends; the tokens tile the line from offset 0 to its
// length; every token but the end-of-line one is non-empty, and its `TokenText` and
// `TokenLength` agree with the line; kinds stay below `kind_count`; the same line from the same
// state gives the same tokens and end state on another instance with another history; and a
// byte 0 ends the line.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

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
  bool operator!=(const Token& o) const { return !(*this == o); }
};

inline std::ostream& operator<<(std::ostream& os, const Token& t) {
  return os << t.start << ':' << t.length << ':' << t.kind;
}

struct LineScan {
  std::vector<Token> tokens;  // every token before the end-of-line token
  int end_start = -1;         // `TokenStart` of the end-of-line token
  int end_length = -1;        // its `TokenLength`
  TScanState end_state = 0;   // `ScanState` after the line
  bool ended = false;         // false: the scan did not reach the end of the line in time

  bool operator==(const LineScan& o) const {
    return tokens == o.tokens && end_start == o.end_start && end_length == o.end_length &&
           end_state == o.end_state && ended == o.ended;
  }
};

// Printable form of a line of bytes for failure messages.
inline std::string Escaped(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// Scans `line` (its bytes up to the first 0) starting from `state`. A line of n bytes can hold
// at most n non-empty tokens; a scanner that needs more has stalled and `ended` stays false.
inline LineScan ScanLine(TSynCustomHighlighter& hl, const std::string& line, TScanState state,
                         int line_number = 1) {
  LineScan scan;
  hl.SetScanState(state);
  hl.StartLine(line.c_str(), line_number);
  const size_t limit = std::strlen(line.c_str()) + 1;
  while (!hl.AtLineEnd()) {
    if (scan.tokens.size() >= limit) return scan;
    scan.tokens.push_back({hl.TokenStart(), hl.TokenLength(), hl.TokenKind(), hl.TokenText()});
    hl.NextToken();
  }
  scan.end_start = hl.TokenStart();
  scan.end_length = hl.TokenLength();
  scan.end_state = hl.ScanState();
  scan.ended = true;
  return scan;
}

// Same, from the state before the first line of a document.
inline LineScan ScanFirstLine(TSynCustomHighlighter& hl, const std::string& line) {
  hl.ResetScanState();
  return ScanLine(hl, line, hl.ScanState());
}

// Scans several lines in a row as the editor does; returns each line's scan.
inline std::vector<LineScan> ScanLines(TSynCustomHighlighter& hl,
                                       const std::vector<std::string>& lines) {
  std::vector<LineScan> scans;
  hl.ResetScanState();
  TScanState state = hl.ScanState();
  for (size_t i = 0; i < lines.size(); ++i) {
    scans.push_back(ScanLine(hl, lines[i], state, static_cast<int>(i + 1)));
    state = scans.back().end_state;
  }
  return scans;
}

// "text:kind" pairs, compact to compare in table-driven tests.
inline std::vector<std::pair<std::string, int>> TextKinds(const LineScan& scan) {
  std::vector<std::pair<std::string, int>> out;
  for (const Token& t : scan.tokens) out.emplace_back(t.text, t.kind);
  return out;
}

struct SweepOptions {
  std::vector<TScanState> states;  // every state the highlighter can leave a line in
  int kind_count = 256;            // token kinds must lie in [0, kind_count)
  std::string alphabet;            // bytes the random lines favour (structure-bearing ones)
  int random_lines = 3000;
  int max_random_length = 100;
  std::uint32_t seed = 20240611;
  int max_failures = 10;  // the sweep stops after this many: the first ones tell the story
};

namespace sweep_detail {

// Checks the shape of one scan; returns false (after reporting) when it is broken.
inline bool CheckShape(const std::string& line, TScanState state, const LineScan& scan,
                       int kind_count) {
  const std::string visible = line.c_str();  // what the scanner may see
  const int length = static_cast<int>(visible.size());
  auto where = [&] {
    return "line \"" + Escaped(line) + "\" from state " + std::to_string(state) + ": ";
  };
  if (!scan.ended) {
    ADD_FAILURE() << where() << "scan did not reach the end of the line";
    return false;
  }
  int pos = 0;
  for (const Token& t : scan.tokens) {
    if (t.start != pos) {
      ADD_FAILURE() << where() << "token " << t << " does not start at " << pos;
      return false;
    }
    if (t.length <= 0) {
      ADD_FAILURE() << where() << "empty token " << t << " before the end of the line";
      return false;
    }
    if (t.start + t.length > length) {
      ADD_FAILURE() << where() << "token " << t << " runs past the end " << length;
      return false;
    }
    if (t.text != visible.substr(static_cast<size_t>(t.start), static_cast<size_t>(t.length))) {
      ADD_FAILURE() << where() << "TokenText of " << t << " is \"" << Escaped(t.text) << "\"";
      return false;
    }
    if (t.kind < 0 || t.kind >= kind_count) {
      ADD_FAILURE() << where() << "token " << t << " has an unknown kind";
      return false;
    }
    pos += t.length;
  }
  if (pos != length) {
    ADD_FAILURE() << where() << "the tokens cover " << pos << " of " << length << " bytes";
    return false;
  }
  if (scan.end_start != length || scan.end_length != 0) {
    ADD_FAILURE() << where() << "end-of-line token at " << scan.end_start << " length "
                  << scan.end_length << ", expected at " << length << " length 0";
    return false;
  }
  return true;
}

}  // namespace sweep_detail

inline void SweepHighlighter(const std::function<std::unique_ptr<TSynCustomHighlighter>()>& factory,
                             const SweepOptions& options) {
  ASSERT_FALSE(options.states.empty()) << "the sweep needs the states to scan from";
  auto first = factory();
  auto second = factory();  // scans in another order, so its history differs
  int failures = 0;

  auto sweep_line = [&](const std::string& line) {
    std::vector<LineScan> scans;
    for (TScanState state : options.states) {
      if (failures >= options.max_failures) return;
      scans.push_back(ScanLine(*first, line, state));
      if (!sweep_detail::CheckShape(line, state, scans.back(), options.kind_count)) ++failures;
    }
    for (size_t i = options.states.size(); i-- > 0;) {
      if (failures >= options.max_failures) return;
      const LineScan again = ScanLine(*second, line, options.states[i]);
      if (!(again == scans[i])) {
        ADD_FAILURE() << "line \"" << Escaped(line) << "\" from state " << options.states[i]
                      << ": a second scan gives other tokens or another end state";
        ++failures;
      }
    }
  };

  for (int b = 1; b <= 255 && failures < options.max_failures; ++b) {
    sweep_line(std::string(1, static_cast<char>(b)));
  }
  for (int a = 1; a <= 255 && failures < options.max_failures; ++a) {
    for (int b = 1; b <= 255 && failures < options.max_failures; ++b) {
      sweep_line(std::string{static_cast<char>(a), static_cast<char>(b)});
    }
  }

  std::mt19937 rng(options.seed);
  std::uniform_int_distribution<int> any_byte(1, 255);
  std::uniform_int_distribution<int> length_of(0, options.max_random_length);
  std::uniform_int_distribution<int> coin(0, 1);
  std::uniform_int_distribution<size_t> pick(
      0, options.alphabet.empty() ? 0 : options.alphabet.size() - 1);
  auto random_bytes = [&](int length) {
    std::string s;
    for (int i = 0; i < length; ++i) {
      const bool from_alphabet = !options.alphabet.empty() && coin(rng) == 1;
      s += from_alphabet ? options.alphabet[pick(rng)] : static_cast<char>(any_byte(rng));
    }
    return s;
  };
  for (int n = 0; n < options.random_lines && failures < options.max_failures; ++n) {
    const std::string line = random_bytes(length_of(rng));
    sweep_line(line);
    // Whatever follows a byte 0 is not part of the line.
    std::string with_tail = line;
    with_tail += '\0';
    with_tail += random_bytes(1 + length_of(rng) / 4);
    for (TScanState state : options.states) {
      if (failures >= options.max_failures) break;
      const LineScan cut = ScanLine(*first, with_tail, state);
      const LineScan plain = ScanLine(*second, line, state);
      if (!(cut == plain)) {
        ADD_FAILURE() << "line \"" << Escaped(with_tail) << "\" from state " << state
                      << ": bytes after a byte 0 change the scan";
        ++failures;
      }
    }
  }
}

}  // namespace numvex::testing
