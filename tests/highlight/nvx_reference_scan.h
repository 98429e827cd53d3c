#pragma once

// The tape language's scanning rules written out plainly, one byte at a time, the minus line
// worked out afresh at every blank: slow on purpose, the yardstick for the fast scanner.

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scan_helpers.h"

namespace numvex::testing {

struct NvxRules {
  bool names = true;  // functions and variables picked out
  std::vector<std::string> locals, globals;
};

class NvxReference {
 public:
  explicit NvxReference(NvxRules rules) : rules_(std::move(rules)) {}

  // `line` up to its first byte 0, from the range `state` (kept as one byte).
  LineScan Scan(const std::string& line, TScanState state) {
    s_ = line.c_str();
    pos_ = 0;
    range_ = static_cast<std::uint8_t>(state);
    negative_ = false;
    std::vector<Token> tokens;
    for (int start = 0; Next(), kind_ != 9; start = pos_) {
      tokens.push_back({start, pos_ - start, kind_, s_.substr(start, pos_ - start)});
    }
    return {tokens, pos_, 0, range_};
  }

 private:
  unsigned char At(int i) const {
    return i < static_cast<int>(s_.size()) ? static_cast<unsigned char>(s_[i]) : 0;
  }
  static bool White(unsigned char c) { return c >= 1 && c <= 32 && c != 10 && c != 13; }
  static bool Digit(unsigned char c) { return c >= '0' && c <= '9'; }
  static bool Letter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == 128 || c >= 192;
  }
  static bool Stop(unsigned char c) { return c == 0 || c == 10 || c == 13; }
  static int Hash(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return c & 31;  // letter position
    if (c == '_') return 31;
    return c == 128 ? 64 : c >= 192 ? c - 64 : 0;
  }
  void One(int kind) {
    kind_ = kind;
    ++pos_;
  }

  void Next() {
    const unsigned char c = At(pos_);
    if (c == 0) {
      kind_ = 9;
    } else if (range_ == 2 && (Stop(c) || White(c) || Digit(c))) {
      One(5);  // inside a marked stretch these go one byte a token
    } else if (c == 10 || c == 13) {
      if (c == 13 && At(pos_ + 1) == 10) ++pos_;
      One(10);
    } else if (White(c)) {
      kind_ = 8;
      while (White(At(pos_))) ++pos_;
      negative_ = MinusLine();
    } else if (Digit(c)) {
      Number();
    } else if (Letter(c)) {
      Word();
    } else if (c == '#') {
      kind_ = 4;
      range_ = 1;
      for (++pos_; !Stop(At(pos_));) ++pos_;
    } else if (c == '[') {
      kind_ = 3;
      range_ = 3;
      for (++pos_; !Stop(At(pos_)) && range_ == 3;) range_ = At(pos_++) == ']' ? 0 : 3;
    } else if (c == 160) {
      range_ = 2;
      ++pos_;
      if (At(pos_) == 10 || At(pos_) == 13) {
        ++pos_;  // a line break right after the mark joins it
      } else {
        while (!Stop(At(pos_)) && range_ == 2) range_ = At(pos_++) == 160 ? 0 : 2;
      }
      kind_ = range_ == 2 ? 5 : 1;  // closed on its line the stretch reads as a word
    } else {
      One(10);
    }
  }

  // The line without blanks and control bytes at either end starts with "-" and goes on with
  // something but "-".
  bool MinusLine() const {
    std::string t = s_;
    while (!t.empty() && static_cast<unsigned char>(t.back()) <= 32) t.pop_back();
    while (!t.empty() && static_cast<unsigned char>(t.front()) <= 32) t.erase(0, 1);
    return t.size() >= 2 && t[0] == '-' && t[1] != '-';
  }

  void Number() {
    if (pos_ > 0 && std::string_view(" ()*+-/^").find(s_[pos_ - 1]) == std::string_view::npos) {
      return One(10);  // glued to anything else: one plain digit
    }
    kind_ = negative_ ? 7 : 6;
    negative_ = false;
    auto separator = [&] {
      return (At(pos_) == ',' || At(pos_) == '.') && At(pos_ + 1) != At(pos_);
    };
    for (++pos_; Digit(At(pos_)) || separator();) ++pos_;  // a separator, never a doubled one
  }

  // Names are the same when of one length and of equal hash values byte for byte.
  static bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](unsigned char x, unsigned char y) { return Hash(x) == Hash(y); });
  }

  void Word() {
    if (range_ == 2) {  // marked text up to "#", byte 160 (taken in, closing) or a control byte
      kind_ = 5;
      for (++pos_; At(pos_) >= 32 && At(pos_) != '#' && At(pos_) != 160;) ++pos_;
      if (At(pos_) == 160) {
        ++pos_;
        range_ = 0;
      }
      return;
    }
    const int start = pos_;
    long long hash = 0;
    while (Letter(At(pos_)) || Digit(At(pos_))) hash += Hash(At(pos_++));
    const std::string_view word = std::string_view(s_).substr(start, pos_ - start);
    auto listed = [&](const auto& names) {
      return std::any_of(std::begin(names), std::end(names),
                         [&](std::string_view name) { return SameName(word, name); });
    };
    static const char* const kFunctions[] = {"abs", "ln",    "atan", "cos", "sin",  "exp",
                                             "sqr", "round", "sqrt", "tan", "trunc"};
    if (hash > 1024 || !rules_.names) {
      kind_ = 1;
    } else {
      kind_ = listed(kFunctions) ? 0 : listed(rules_.locals) ? 11 : listed(rules_.globals) ? 12 : 1;
    }
  }

  NvxRules rules_;
  std::string s_;
  int pos_ = 0;
  int kind_ = 9;
  std::uint8_t range_ = 0;
  bool negative_ = false;
};

}  // namespace numvex::testing
