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

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

Class ClassOf(char c, const Separators& seps) {
  if (IsDigit(c)) return kDigit;
  // A character that is both separators counts as the thousands separator.
  if (c == seps.thousands) return kThousands;
  if (c == seps.decimal) return kDecimal;
  if (c == ' ' || c == '\t') return kBlank;
  if (c == '+' || c == '-') return kSign;
  if (c == '*' || c == '/' || static_cast<unsigned char>(c) == kDivisionSign) return kMulDiv;
  return kOther;
}

bool IsSymbolChar(char c) { return c == ' ' || c == '\t' || c == '=' || IsOperatorByte(c); }

// Marks the characters a line of symbols is made of, beside the scanner class.
constexpr uint8_t kSymbolBit = 0x80;
constexpr uint8_t kClassMask = 0x7f;

// The character classes for one pair of separators, looked up per byte. The last
// pair used is kept, since a program works with one pair at a time.
thread_local Separators cached_seps{0, 0};
thread_local uint8_t class_table[256];

void FillClassTable(const Separators& seps) {
  for (int c = 0; c < 256; ++c) {
    char ch = static_cast<char>(c);
    class_table[c] = static_cast<uint8_t>(ClassOf(ch, seps) | (IsSymbolChar(ch) ? kSymbolBit : 0));
  }
  cached_seps = seps;
}

inline const uint8_t* ClassTable(const Separators& seps) {
  if (cached_seps.decimal != seps.decimal || cached_seps.thousands != seps.thousands) {
    FillClassTable(seps);
  }
  return class_table;
}

LineKind ClassifySymbols(std::string_view text) {
  bool all_rules = text.size() > 2;
  for (char c : text) all_rules = all_rules && (c == '=' || c == '-');
  if (all_rules) return lkSeparator;
  if (text.size() == 1 && IsOperatorByte(text[0])) return lkEmpty;
  return lkSymbols;
}

inline Class ClassAt(const uint8_t* classes, std::string_view text, size_t i) {
  return static_cast<Class>(classes[static_cast<unsigned char>(text[i])] & kClassMask);
}

inline bool IsOperatorClass(Class k) { return k == kSign || k == kMulDiv; }

// The scanner from S6 (after an amount and a blank or "%") to the end of the line.
// Only S6 and S7 follow, and both accept, except that S7 (after an operator) fails on
// a separator: so the rest of the line is a search for an operator that a separator
// follows past blanks and further operators, without a table step per character.
bool TailKeepsAmount(const uint8_t* classes, std::string_view text) {
  const size_t n = text.size();
  size_t i = 0;
  for (;;) {
    while (i < n && !IsOperatorClass(ClassAt(classes, text, i))) ++i;  // S6
    if (i == n) return true;
    ++i;  // S7
    while (i < n &&
           (ClassAt(classes, text, i) == kBlank || IsOperatorClass(ClassAt(classes, text, i)))) {
      ++i;
    }
    if (i == n) return true;
    Class k = ClassAt(classes, text, i);
    if (k == kDecimal || k == kThousands) return false;  // S8
    // A digit or any other character leads back to S6.
  }
}

}  // namespace

LineKind ClassifyLine(std::string_view text, const Separators& seps) {
  if (text.empty()) return lkEmpty;
  // One pass: the scanner runs over the leading symbols while looking for the first
  // other character, which decides whether the line can be an amount at all.
  const uint8_t* classes = ClassTable(seps);
  const size_t n = text.size();
  State state = S0;
  size_t i = 0;
  for (; i < n; ++i) {
    uint8_t k = classes[static_cast<unsigned char>(text[i])];
    if ((k & kSymbolBit) == 0) break;
    state = kNext[state][k & kClassMask];
  }
  if (i == n) return ClassifySymbols(text);
  uint8_t first = classes[static_cast<unsigned char>(text[i])];
  bool candidate = first == kDigit || first == kDecimal || first == kThousands;
  if (!candidate || state == S8) return lkText;
  while (i < n) {
    // Past the amount only an operator that a separator follows still fails the line.
    if (state == S6) return TailKeepsAmount(classes, text.substr(i)) ? lkNumber : lkText;
    if (state == S4 || state == S5) {
      while (i < n && IsDigit(text[i])) ++i;  // digits keep either state
      if (i == n) break;
    }
    state = kNext[state][classes[static_cast<unsigned char>(text[i])] & kClassMask];
    if (state == S8) return lkText;
    ++i;
  }
  return (state >= S4 && state <= S7) ? lkNumber : lkText;
}

bool AmountLineTail(std::string_view rest, const Separators& seps) {
  return TailKeepsAmount(ClassTable(seps), rest);
}

}  // namespace numvex
