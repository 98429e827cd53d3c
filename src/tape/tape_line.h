#pragma once

#include <string>
#include <string_view>

#include "tape/amount.h"
#include "tape/separators.h"

namespace numvex {

// What an amount line contributes to its block.
enum class EntryOp {
  Add,
  Subtract,
  Multiply,
  Divide,
  AddPercent,
  SubtractPercent,
  MultiplyPercent,
  DividePercent,
};

// The operation of an operator character (0 for none) with or without "%".
EntryOp OperationFor(char op, bool percent);

// Position (1-based; 0 = none) and character of the operator in front of an amount.
struct OperatorPos {
  int position = 0;
  char op = 0;
};
// Scans from the left: the first digit ends the search with no operator, the first
// operator character is the answer. Outside calc mode there is never an operator.
OperatorPos FindOperator(std::string_view text, bool calc_mode);

// Where the comment behind an amount starts (1-based; 0 = no comment) and its text.
struct CommentPos {
  int position = 0;
  std::string_view comment;
};
// Input: a trimmed text that starts with the amount (an operator already removed).
CommentPos SplitComment(std::string_view text, const Separators& seps);

// The trimmed text without the operators at its end: a trailing operator was typed as the
// next entry's operator, and no line keeps one.
std::string_view DropTrailingOperators(std::string_view text);

// Everything ReformatEntryLine reads from an amount line.
struct TapeEntry {
  char op = 0;           // operator character, 0 for none
  bool percent = false;  // the amount ended in "%"
  Amount amount = 0;     // 0 when the amount text could not be read
  std::string_view comment;
  EntryOp operation = EntryOp::Add;
};
// Reads a trimmed amount line. The comment views into `trimmed`.
TapeEntry ReadEntry(std::string_view trimmed, const Separators& seps, bool calc_mode);

// Marks a result that overflowed the extended range (or is not a number): the line
// shows the amount 0 with this text in front of its comment, so that it still reads
// back as an amount line and a second pass writes the same text.
inline constexpr std::string_view kOverflowMark = "Overflow";

// The comment without the kOverflowMarks at its start (a result that no longer overflows).
std::string_view StripOverflowMark(std::string_view comment);

struct FormattedLine {
  bool division_by_zero = false;  // "/" or the division sign with the written amount 0
  Amount canonical = 0;           // the amount as the written text reads back
  bool fixed = false;             // the amount is written in fixed form, and not overflowed
  size_t amount_end = 0;          // where the amount and its "%" end in the line
};

// Builds the text of an amount line into *out (replacing its content). `op` 0 means
// a result line, whose sign comes from the amount. A non-finite amount is written as
// an overflowed result (kOverflowMark).
FormattedLine FormatTapeLine(char op, bool percent, Amount amount, std::string_view comment,
                             bool rounded, int decimals, const Separators& seps, std::string* out);

// What ReformatEntryLine does to a trimmed amount line (in calc mode when `calc_mode`):
// reads it and builds its canonical text into *out. The amount returned is the one the
// written text reads back; the comment is left empty. *division_by_zero tells whether
// writing the line reports a division by zero.
TapeEntry RewriteEntry(std::string_view trimmed, const Separators& seps, int decimals,
                       bool calc_mode, std::string* out, bool* division_by_zero);

// The second half of RewriteEntry: builds the canonical text of an entry that ReadEntry read
// (its amount from the decimal number `read`) into *out and returns the entry as written.
TapeEntry WriteEntry(const TapeEntry& entry, const DecimalAmount& read, const Separators& seps,
                     int decimals, std::string* out, bool* division_by_zero);

// The canonical separator line: six blanks, thirteen "-" and, with decimals, one "-"
// for the separator and one per decimal.
std::string_view SeparatorLineText(int decimals);

}  // namespace numvex
