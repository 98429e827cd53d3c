#pragma once

// The tape language's scanning rules written out plainly, one byte at a time, with the minus
// line worked out from a trimmed copy at every whitespace token. Slow on purpose: it is the
// yardstick the highlighter's fast scanner is held against.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace numvex::testing {

struct NvxReferenceToken {
  int start = 0;
  int length = 0;
  int kind = 0;

  bool operator==(const NvxReferenceToken& o) const {
    return start == o.start && length == o.length && kind == o.kind;
  }
};

struct NvxReferenceOptions {
  bool highlight_vars_and_functions = true;
  std::vector<std::string> local_variables;
  std::vector<std::string> global_variables;
};

class NvxReferenceScanner {
 public:
  explicit NvxReferenceScanner(NvxReferenceOptions options) : options_(std::move(options)) {}

  // Scans `line` (up to its first byte 0) from the range `state` (kept as one byte, as the
  // highlighter keeps it); returns the tokens before the end of the line and leaves the end
  // range in `*end_state`.
  std::vector<NvxReferenceToken> Scan(const std::string& line, std::intptr_t state,
                                      std::intptr_t* end_state) {
    text_ = line.c_str();  // the scanner sees nothing past a byte 0
    pos_ = 0;
    range_ = static_cast<std::uint8_t>(state);
    negative_ = false;
    std::vector<NvxReferenceToken> tokens;
    for (;;) {
      const int start = pos_;
      Next();
      if (kind_ == 9) break;
      tokens.push_back({start, pos_ - start, kind_});
    }
    *end_state = range_;
    return tokens;
  }

 private:
  unsigned char At(int i) const {
    return i < static_cast<int>(text_.size()) ? static_cast<unsigned char>(text_[i]) : 0;
  }
  static bool IsWhite(unsigned char c) {
    return (c >= 1 && c <= 9) || c == 11 || c == 12 || (c >= 14 && c <= 32);
  }
  static bool IsIdentStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == 128 || c >= 192;
  }
  static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
  static bool IsIdentChar(unsigned char c) { return IsIdentStart(c) || IsDigit(c); }
  static bool IsStop(unsigned char c) { return c == 0 || c == 10 || c == 13; }
  static bool IsMarkedStretchChar(unsigned char c) { return c >= 32 && c != '#' && c != 160; }
  static int HashValue(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    if (c == '_') return 31;
    if (c == 128) return 64;
    if (c >= 192) return c - 64;
    return 0;
  }
  bool InMarked() const { return range_ == 2; }

  void Next() {
    const unsigned char c = At(pos_);
    if (c == 0) {
      kind_ = 9;
    } else if (c == 10) {
      kind_ = InMarked() ? 5 : 10;
      ++pos_;
    } else if (c == 13) {
      if (InMarked()) {
        kind_ = 5;
        ++pos_;
      } else {
        kind_ = 10;
        ++pos_;
        if (At(pos_) == 10) ++pos_;
      }
    } else if (IsWhite(c)) {
      if (InMarked()) {
        kind_ = 5;
        ++pos_;
      } else {
        kind_ = 8;
        while (IsWhite(At(pos_))) ++pos_;
        negative_ = MinusLine();
      }
    } else if (IsDigit(c)) {
      Number();
    } else if (IsIdentStart(c)) {
      Ident();
    } else if (c == '#') {
      Comment();
    } else if (c == '[') {
      Link();
    } else if (c == 160) {
      Mark();
    } else {
      kind_ = 10;
      ++pos_;
    }
  }

  // Trims a copy of the whole line, every time.
  bool MinusLine() const {
    std::string s = text_;
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.pop_back();
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.erase(0, 1);
    return s.size() >= 2 && s[0] == '-' && s[1] != '-';
  }

  void Number() {
    if (InMarked()) {
      kind_ = 5;
      ++pos_;
      return;
    }
    if (pos_ > 0 && std::string_view(" ()*+-/^").find(static_cast<char>(At(pos_ - 1))) ==
                        std::string_view::npos) {
      kind_ = 10;
      ++pos_;
      return;
    }
    ++pos_;
    kind_ = negative_ ? 7 : 6;
    for (;;) {
      const unsigned char c = At(pos_);
      if ((c == ',' || c == '.') && At(pos_ + 1) == c) break;
      if (c != ',' && c != '.' && !IsDigit(c)) break;
      ++pos_;
    }
    negative_ = false;
  }

  bool IdentEquals(int start, int length, const std::string& name) const {
    if (static_cast<int>(name.size()) != length) return false;
    for (int i = 0; i < length; ++i) {
      if (HashValue(At(start + i)) != HashValue(static_cast<unsigned char>(name[i]))) {
        return false;
      }
    }
    return true;
  }

  void Ident() {
    if (InMarked()) {
      kind_ = 5;
      ++pos_;
      while (IsMarkedStretchChar(At(pos_))) ++pos_;
      if (At(pos_) == 160) MarkedScan();
      return;
    }
    const int start = pos_;
    long long hash = 0;
    while (IsIdentChar(At(pos_))) hash += HashValue(At(pos_++));
    const int length = pos_ - start;
    kind_ = 1;
    if (hash > 1024 || !options_.highlight_vars_and_functions) return;
    for (const char* name :
         {"abs", "ln", "atan", "cos", "sin", "exp", "sqr", "round", "sqrt", "tan", "trunc"}) {
      if (IdentEquals(start, length, name)) {
        kind_ = 0;
        return;
      }
    }
    for (const std::string& name : options_.local_variables) {
      if (IdentEquals(start, length, name)) {
        kind_ = 11;
        return;
      }
    }
    for (const std::string& name : options_.global_variables) {
      if (IdentEquals(start, length, name)) {
        kind_ = 12;
        return;
      }
    }
  }

  void Comment() {
    ++pos_;
    range_ = 1;
    kind_ = 4;
    while (!IsStop(At(pos_))) ++pos_;
  }

  void Link() {
    ++pos_;
    range_ = 3;
    kind_ = 3;
    for (;;) {
      const unsigned char c = At(pos_);
      if (c == ']') {
        ++pos_;
        range_ = 0;
        break;
      }
      if (!IsStop(c)) ++pos_;
      if (IsStop(At(pos_))) break;
    }
  }

  void Mark() {
    ++pos_;
    range_ = 2;
    MarkedScan();
    kind_ = range_ == 2 ? 5 : 1;
  }

  void MarkedScan() {
    if (IsStop(At(pos_))) {
      Next();  // in a marked stretch: a line break is marked text, a byte 0 ends the line
      return;
    }
    for (;;) {
      kind_ = 5;
      const unsigned char c = At(pos_);
      if (c == 160) {
        ++pos_;
        range_ = 0;
        break;
      }
      if (!IsStop(c)) ++pos_;
      if (IsStop(At(pos_))) break;
    }
  }

  NvxReferenceOptions options_;
  std::string text_;
  int pos_ = 0;
  int kind_ = 9;
  std::uint8_t range_ = 0;
  bool negative_ = false;
};

}  // namespace numvex::testing
