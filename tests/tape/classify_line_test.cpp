// The line scanner against a plain walk over its table, for any line. (The shortcut for
// the text after an amount is checked against the scanner on generated amount lines.)
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tape/line_kind.h"

namespace numvex {
namespace {

// The scanner table as it stands, walked one character at a time.
LineKind ReferenceKind(std::string_view text, const Separators& seps) {
  enum { kDigit, kDecimal, kThousands, kBlank, kSign, kMulDiv, kOther };
  static const int kTable[9][7] = {
      {4, 3, 8, 0, 1, 1, 8}, {4, 3, 8, 1, 2, 8, 8}, {4, 8, 8, 8, 8, 8, 8},
      {5, 8, 8, 8, 8, 8, 8}, {4, 5, 4, 6, 7, 7, 6}, {5, 6, 6, 6, 7, 7, 6},
      {6, 6, 6, 6, 7, 7, 6}, {6, 8, 8, 7, 7, 7, 6}, {8, 8, 8, 8, 8, 8, 8},
  };
  auto class_of = [&](char c) {
    if (c >= '0' && c <= '9') return kDigit;
    if (c == seps.thousands) return kThousands;
    if (c == seps.decimal) return kDecimal;
    if (c == ' ' || c == '\t') return kBlank;
    if (c == '+' || c == '-') return kSign;
    if (c == '*' || c == '/' || c == '\xf7') return kMulDiv;
    return kOther;
  };
  auto is_symbol = [](char c) {
    return c == ' ' || c == '\t' || c == '=' || c == '+' || c == '-' || c == '*' || c == '/' ||
           c == '\xf7';
  };
  if (text.empty()) return lkEmpty;
  size_t first = 0;
  while (first < text.size() && is_symbol(text[first])) ++first;
  if (first == text.size()) {
    bool rules = text.size() > 2;
    for (char c : text) rules = rules && (c == '=' || c == '-');
    if (rules) return lkSeparator;
    if (text.size() == 1 && text[0] != '=' && class_of(text[0]) != kBlank) return lkEmpty;
    return lkSymbols;
  }
  int k = class_of(text[first]);
  if (k != kDigit && k != kDecimal && k != kThousands) return lkText;
  int state = 0;
  for (char c : text) state = kTable[state][class_of(c)];
  return state >= 4 && state <= 7 ? lkNumber : lkText;
}

TEST(ClassifyLine, AgreesWithTheScannerTableOnRandomLines) {
  std::mt19937 rng(31337);
  for (const Separators& seps : {Separators{'.', ','}, Separators{',', '.'}}) {
    const std::string alphabet = std::string(" \t0123456789+-*/=%Ea\xf7") + seps.decimal +
                                 seps.thousands + seps.decimal + "000";
    for (int i = 0; i < 200000; ++i) {
      std::string line;
      int length = 1 + static_cast<int>(rng() % 14);
      for (int j = 0; j < length; ++j) line += alphabet[rng() % alphabet.size()];
      std::string_view trimmed = TrimTape(line);
      ASSERT_EQ(ClassifyLine(trimmed, seps), ReferenceKind(trimmed, seps))
          << '"' << line << '"' << seps.decimal;
    }
  }
}

}  // namespace
}  // namespace numvex
