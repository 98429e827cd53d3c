#include "tape/line_kind.h"

#include <cstdint>

namespace numvex {

std::string_view TrimTape(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && IsTrimmed(text[begin])) ++begin;
  size_t end = text.size();
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view TrimTapeRight(std::string_view text) {
  size_t end = text.size();
  while (end > 0 && IsTrimmed(text[end - 1])) --end;
  return text.substr(0, end);
}

namespace {

// States of the amount-line scanner.
enum State : uint8_t { S0, S1, S2, S3, S4, S5, S6, S7, S8 };
// Character classes of the scanner.
enum Class : uint8_t { kDigit, kDecimal, kThousands, kBlank, kSign, kMulDiv, kOther };

constexpr State kNext[9][7] = {
    //  digit decimal thousands blank sign muldiv other
    {S4, S3, S8, S0, S1, S1, S8},  // S0 start
    {S4, S3, S8, S1, S2, S8, S8},  // S1 one sign or operator
    {S4, S8, S8, S8, S8, S8, S8},  // S2 two signs
    {S5, S8, S8, S8, S8, S8, S8},  // S3 decimal separator before any digit
    {S4, S5, S4, S6, S7, S7, S6},  // S4 integer digits
    {S5, S6, S6, S6, S7, S7, S6},  // S5 decimals
    {S6, S6, S6, S6, S7, S7, S6},  // S6 trailing text
    {S6, S8, S8, S7, S7, S7, S6},  // S7 operator after the amount
    {S8, S8, S8, S8, S8, S8, S8},  // S8 invalid
};

Class ClassOf(char c, const Separators& seps) {
  if (c >= '0' && c <= '9') return kDigit;
  // A character that is both separators counts as the thousands separator.
  if (c == seps.thousands) return kThousands;
  if (c == seps.decimal) return kDecimal;
  if (c == ' ' || c == '\t') return kBlank;
  if (c == '+' || c == '-') return kSign;
  if (c == '*' || c == '/' || static_cast<unsigned char>(c) == kDivisionSign) return kMulDiv;
  return kOther;
}

bool IsSymbolChar(char c) { return c == ' ' || c == '\t' || c == '=' || IsOperatorByte(c); }

}  // namespace

LineKind ClassifyLine(std::string_view text, const Separators& seps) {
  if (text.empty()) return lkEmpty;
  size_t first = 0;
  while (first < text.size() && IsSymbolChar(text[first])) ++first;
  if (first == text.size()) {
    bool all_rules = text.size() > 2;
    for (char c : text) all_rules = all_rules && (c == '=' || c == '-');
    if (all_rules) return lkSeparator;
    if (text.size() == 1 && IsOperatorByte(text[0])) return lkEmpty;
    return lkSymbols;
  }
  char c = text[first];
  bool candidate = (c >= '0' && c <= '9') || c == seps.decimal || c == seps.thousands;
  if (!candidate) return lkText;
  State state = S0;
  for (char ch : text) {
    state = kNext[state][ClassOf(ch, seps)];
    if (state == S8) return lkText;
  }
  return (state >= S4 && state <= S7) ? lkNumber : lkText;
}

}  // namespace numvex
