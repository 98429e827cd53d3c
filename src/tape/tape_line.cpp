#include "tape/tape_line.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tape/line_kind.h"

namespace numvex {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

EntryOp OperationFor(char op, bool percent) {
  switch (op) {
    case '+':
      return percent ? EntryOp::AddPercent : EntryOp::Add;
    case '-':
      return percent ? EntryOp::SubtractPercent : EntryOp::Subtract;
    case '*':
      return percent ? EntryOp::MultiplyPercent : EntryOp::Multiply;
    case '/':
      return percent ? EntryOp::DividePercent : EntryOp::Divide;
    default:
      if (static_cast<unsigned char>(op) == kDivisionSign) {
        return percent ? EntryOp::DividePercent : EntryOp::Divide;
      }
      return percent ? EntryOp::MultiplyPercent : EntryOp::Add;
  }
}

OperatorPos FindOperator(std::string_view text, bool calc_mode) {
  if (!calc_mode) return {};
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (IsDigit(c)) return {};
    if (IsOperatorByte(c)) return {static_cast<int>(i) + 1, c};
  }
  return {};
}

CommentPos SplitComment(std::string_view text, const Separators& seps) {
  bool sign_removed = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    text = TrimTape(text.substr(1));
    sign_removed = true;
  }
  size_t start = 0;  // 1-based; 0 = no comment
  bool after_decimal = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (IsDigit(c)) continue;
    if (c == 'E' || c == 'e') {
      if (start == 0) {
        start = i + 1;
        if (i + 1 < text.size() && IsDigit(text[i + 1])) {
          // An exponent belongs to the number.
          start = 0;
          after_decimal = true;
        }
      }
    } else if (c == seps.decimal || c == seps.thousands) {
      if (after_decimal && start == 0) start = i + 1;
      after_decimal = c == seps.decimal;
    } else if (start == 0) {
      start = i + 1;
    }
  }
  if (start != 0 && text[start - 1] == '%') {
    if (start == text.size()) {
      start = 0;  // a trailing "%" makes a percentage, not a comment
    } else {
      ++start;  // the "%" stays with the amount
    }
  }
  CommentPos result;
  if (start != 0) {
    result.comment = TrimTape(text.substr(start - 1));
    result.position = static_cast<int>(start) + (sign_removed ? 1 : 0);
  }
  return result;
}

std::string_view DropTrailingOperators(std::string_view text) {
  // All of them go at once: dropping one per rewrite would shorten a comment like "rent++"
  // again on every recalculation.
  while (!text.empty() && IsOperatorByte(text.back())) {
    text = TrimTape(text.substr(0, text.size() - 1));
  }
  return text;
}

namespace {

// ReadEntry, which also gives the decimal number the amount was read from.
TapeEntry ReadEntry(std::string_view text, const Separators& seps, bool calc_mode,
                    DecimalAmount* read) {
  TapeEntry entry;
  OperatorPos found = FindOperator(text, calc_mode);
  if (found.position != 0) {
    entry.op = found.op;
    text = TrimTape(text.substr(static_cast<size_t>(found.position)));
  }
  text = DropTrailingOperators(text);
  CommentPos comment = SplitComment(text, seps);
  std::string_view amount_text = text;
  if (comment.position != 0) {
    entry.comment = comment.comment;
    amount_text = text.substr(0, static_cast<size_t>(comment.position - 1));
  }
  if (!amount_text.empty() && amount_text.back() == '%') {
    entry.percent = true;
    amount_text.remove_suffix(1);
  }
  // Drop the thousands separators; a leading decimal separator reads as "0.".
  char buf[64];
  std::string owned;
  char* clean = buf;
  if (amount_text.size() + 1 > sizeof(buf)) {
    owned.resize(amount_text.size() + 1);
    clean = owned.data();
  }
  size_t n = 0;
  for (char c : amount_text) {
    if (c != seps.thousands) clean[n++] = c;
  }
  std::string_view cleaned = TrimTape(std::string_view(clean, n));
  if (!ParseAmount(cleaned, seps.decimal, &entry.amount, read)) entry.amount = 0;
  entry.operation = OperationFor(entry.op, entry.percent);
  return entry;
}

// FormatTapeLine; `read`, when given, is the decimal number ParseAmount read `amount` from,
// for an unrounded line.
FormattedLine FormatLine(char op, bool percent, Amount amount, const DecimalAmount* read,
                         std::string_view comment, bool rounded, int decimals,
                         const Separators& seps, std::string* out) {
  FormattedLine result;
  char text[kMaxAmountText];
  size_t length = 0;
  bool overflow = false;
  if (read != nullptr) {
    // The amount is the one read: its sign is the one read unless it is 0, and its text
    // may be the digits read, which read back as the amount itself.
    const bool minus = read->negative && read->digits != 0;
    length = WriteDigitsRead(*read, op != 0 && minus, seps, decimals, text);
    if (length != 0) {
      result.fixed = true;
      if (op == 0) {
        op = minus ? '-' : '+';
        if (minus) amount = -amount;
      }
      result.canonical = read->digits == 0 ? 0 : amount;
      result.division_by_zero =
          read->digits == 0 && (op == '/' || static_cast<unsigned char>(op) == kDivisionSign);
    }
  }
  if (length == 0) {
    overflow = !std::isfinite(amount);
    if (op == 0) {
      bool minus = overflow ? (std::isinf(amount) && amount < 0) : amount < 0;
      op = minus ? '-' : '+';
      if (!overflow && minus) amount = -amount;
    }
    if (overflow) amount = 0;
    length = WriteAmount(amount, seps, decimals, rounded, text, &result.canonical);
    result.fixed = !overflow && std::memchr(text, 'E', length) == nullptr;
    // The amount as written: one too small for the decimals shown divides by the zero the
    // line shows and the recalculation uses.
    result.division_by_zero =
        result.canonical == 0 && (op == '/' || static_cast<unsigned char>(op) == kDivisionSign);
  }
  // Right-align on the decimal separator in column 20, or the last digit in 19.
  const void* sep = std::memchr(text, seps.decimal, length);
  size_t pad = 0;
  if (sep != nullptr) {
    size_t p = static_cast<size_t>(static_cast<const char*>(sep) - text) + 1;
    if (p < 13) pad = 13 - p;
  } else if (length < 12) {
    pad = 12 - length;
  }
  // The line is built here and handed over in one piece, unless a long comment follows.
  char head[7 + 13 + kMaxAmountText + 1 + 2 + 64];
  std::memset(head, ' ', 7 + pad);
  head[6] = op;
  std::memcpy(head + 7 + pad, text, length);
  size_t head_length = 7 + pad + length;
  if (percent) head[head_length++] = '%';
  result.amount_end = head_length;
  if (overflow) {
    out->clear();
    out->append(head, head_length);
    out->append("  ");
    out->append(kOverflowMark);
    comment = StripOverflowMark(comment);
    if (!comment.empty()) {
      out->push_back(' ');
      out->append(comment);
    }
  } else if (comment.empty()) {
    out->clear();
    out->append(head, head_length);
  } else if (comment.size() <= sizeof(head) - 2 - head_length) {
    head[head_length++] = ' ';
    head[head_length++] = ' ';
    std::memcpy(head + head_length, comment.data(), comment.size());
    out->clear();
    out->append(head, head_length + comment.size());
  } else {
    out->clear();
    out->append(head, head_length);
    out->append("  ");
    out->append(comment);
  }
  return result;
}

}  // namespace

TapeEntry ReadEntry(std::string_view text, const Separators& seps, bool calc_mode) {
  DecimalAmount read;
  return ReadEntry(text, seps, calc_mode, &read);
}

FormattedLine FormatTapeLine(char op, bool percent, Amount amount, std::string_view comment,
                             bool rounded, int decimals, const Separators& seps, std::string* out) {
  return FormatLine(op, percent, amount, nullptr, comment, rounded, decimals, seps, out);
}

TapeEntry RewriteEntry(std::string_view trimmed, const Separators& seps, int decimals,
                       bool calc_mode, std::string* out, bool* division_by_zero) {
  DecimalAmount read;
  const TapeEntry entry = ReadEntry(trimmed, seps, calc_mode, &read);
  return WriteEntry(entry, read, seps, decimals, out, division_by_zero);
}

TapeEntry WriteEntry(const TapeEntry& entry, const DecimalAmount& read, const Separators& seps,
                     int decimals, std::string* out, bool* division_by_zero) {
  // A bare percentage multiplies. Written with the "+" of a bare amount it would read
  // back as an added percentage and change the tape's result on the next pass, so it
  // is written with the operator that keeps its meaning.
  char op = entry.op == 0 && entry.percent ? '*' : entry.op;
  // Built field by field where the caller receives it: copying an entry whose amount the
  // floating-point unit has just stored stalls the processor.
  TapeEntry written;
  written.op = entry.op;
  written.percent = entry.percent;
  written.operation = entry.operation;
  // The comment viewed into the line read, which the caller may overwrite: left empty.
  const FormattedLine formatted = FormatLine(op, entry.percent, entry.amount, &read, entry.comment,
                                             /*rounded=*/false, decimals, seps, out);
  written.amount = formatted.canonical;
  *division_by_zero = formatted.division_by_zero;
  return written;
}

std::string_view StripOverflowMark(std::string_view comment) {
  // All marks at the start go at once: stripping one per rewrite would take the next
  // "Overflow" of a comment like "Overflow Overflow" on the following recalculation.
  while (comment.substr(0, kOverflowMark.size()) == kOverflowMark) {
    const std::string_view rest = comment.substr(kOverflowMark.size());
    if (!rest.empty() && !IsTrimmed(rest[0])) break;  // a longer word
    comment = TrimTape(rest);
  }
  return comment;
}

std::string_view SeparatorLineText(int decimals) {
  static constexpr std::string_view kLongest = "      -----------------------";
  decimals = std::clamp(decimals, 0, 9);
  return kLongest.substr(0, 19 + (decimals > 0 ? static_cast<size_t>(decimals) + 1 : 0));
}

}  // namespace numvex
