#pragma once

#include <string_view>

#include "tape/separators.h"

namespace numvex {

enum LineKind { lkEmpty, lkNumber, lkSeparator, lkText, lkSymbols };

constexpr unsigned char kDivisionSign = 247;  // the division sign in Windows-1252

// "+", "-", "*", "/" or the division sign.
constexpr bool IsOperatorByte(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' ||
         static_cast<unsigned char>(c) == kDivisionSign;
}

// Blanks and control characters (codes 0..32) are trimmed from both ends.
constexpr bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }
std::string_view TrimTape(std::string_view text);
std::string_view TrimTapeRight(std::string_view text);

// The kind of a trimmed line.
LineKind ClassifyLine(std::string_view trimmed, const Separators& seps);

// Whether text after an amount leaves the line an amount line: the scanner, in the
// state it has after an amount followed by a blank or "%", ends in an accepting state
// over `rest`.
bool AmountLineTail(std::string_view rest, const Separators& seps);

inline bool IsRunKind(LineKind kind) { return kind == lkNumber || kind == lkSeparator; }

}  // namespace numvex
