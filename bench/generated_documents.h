// Documents the benchmarks generate: tapes as people type them, a C-like source text and a
// line of digits. A fixed generator makes them the same on every run and every machine.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/lcg.h"

namespace numvex::bench {

using numvex::testing::Lcg;

inline std::string AmountText(Lcg& rng) {
  return std::to_string(1 + rng.Below(4999)) + "." + std::to_string(10 + rng.Below(90));
}

// An entry as typed, without a comment, so that its canonical line ends in a digit.
inline std::string PlainEntry(Lcg& rng, bool first) {
  if (first) return AmountText(rng);
  switch (rng.Below(10)) {
    case 0:
      return "*" + std::to_string(2 + rng.Below(3));
    case 1:
    case 2:
    case 3:
      return "-" + AmountText(rng);
    default:
      return "+" + AmountText(rng);
  }
}

// A tape as users type them: headings, entries with comments (one in `comment_one_in`) and
// percentages, separators with nothing, a stale result or a typed amount under them.
inline std::vector<std::string> MixedTyped(uint64_t seed, int lines, uint32_t comment_one_in = 4) {
  static const char* const kComments[] = {"rent", "coffee beans", "tax", "Invoice 4711"};
  static const char* const kTexts[] = {"Groceries, week 12", "Office supplies",
                                       "Car: fuel and parking"};
  Lcg rng(seed);
  std::vector<std::string> tape;
  tape.reserve(static_cast<size_t>(lines) + 16);
  while (static_cast<int>(tape.size()) < lines) {
    if (rng.Below(2) == 0) tape.emplace_back(kTexts[rng.Below(3)]);
    const int entries = 2 + static_cast<int>(rng.Below(7));
    for (int i = 0; i < entries; ++i) {
      std::string line = PlainEntry(rng, i == 0);
      if (i > 0 && rng.Below(8) == 0) line += '%';
      if (rng.Below(comment_one_in) == 0) line += std::string(" ") + kComments[rng.Below(4)];
      tape.push_back(std::move(line));
    }
    tape.emplace_back(rng.Below(2) == 0 ? "===" : "---");
    switch (rng.Below(3)) {
      case 0:
        break;
      case 1:
        tape.emplace_back("      +          99.00");
        break;
      default:
        tape.emplace_back("42 subtotal");
        break;
    }
    tape.emplace_back("");
  }
  tape.resize(static_cast<size_t>(lines));
  return tape;
}

// A C-like source text of `lines` lines, some 58 bytes a line: functions with declarations,
// calls with string literals, line and block comments, and blank lines between them.
inline std::string CLikeText(uint64_t seed, int lines) {
  static const char* const kTypes[] = {"int", "unsigned long", "double", "const char*"};
  static const char* const kWords[] = {"count", "total", "buffer", "index", "value", "limit"};
  Lcg rng(seed);
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 60);
  int written = 0;
  auto line = [&](const std::string& s) {
    text += s;
    text += '\n';
    ++written;
  };
  for (int f = 0; written < lines; ++f) {
    const std::string name = std::string(kWords[rng.Below(6)]) + "_" + std::to_string(f);
    line("/* " + name + ": computes the " + kWords[rng.Below(6)] +
         " of a block of ledger records */");
    line(std::string("static ") + kTypes[rng.Below(4)] + " " + name + "(int first, int last) {");
    const int body = 4 + static_cast<int>(rng.Below(12));
    for (int i = 0; i < body && written < lines; ++i) {
      const std::string var = std::string(kWords[rng.Below(6)]) + std::to_string(i);
      switch (rng.Below(4)) {
        case 0:
          line(std::string("      ") + kTypes[rng.Below(4)] + " " + var + " = first * " +
               std::to_string(rng.Below(100000)) + " + last;  // scaled to the page size");
          break;
        case 1:
          line("      log_debug_message(\"" + var + " has reached %d of %d\", first, last, " +
               std::to_string(rng.Below(1000)) + ");");
          break;
        case 2:
          line("      if (first > " + std::to_string(rng.Below(5000)) + " && last < " +
               std::to_string(rng.Below(90000)) + ") return (int)0x" +
               std::to_string(rng.Below(9999)) + ";");
          break;
        default:
          line("      for (int k = first; k < last; ++k) " + var + " += lookup_table[k % 64];");
          break;
      }
    }
    if (written < lines) line("      return first;  /* the block is complete */");
    if (written < lines) line("}");
    if (written < lines) line("");
  }
  return text;
}

// One line of `digits` digits, with its line break.
inline std::string DigitLine(uint64_t seed, size_t digits) {
  Lcg rng(seed);
  std::string text;
  text.reserve(digits + 1);
  for (size_t i = 0; i < digits; ++i) text.push_back(static_cast<char>('0' + rng.Below(10)));
  text.push_back('\n');
  return text;
}

}  // namespace numvex::bench
