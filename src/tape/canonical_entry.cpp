#include "tape/canonical_entry.h"

#include <array>
#include <cstdint>

#include "tape/amount.h"
#include "tape/line_kind.h"
#include "tape/pow10.h"

namespace numvex {

// Why a line this check accepts is written back unchanged, with the amount it reads:
//
// - ReadEntry finds the operator in column 7 (only blanks stand before it), and the
//   amount after the alignment blanks. It drops a last character that is an operator,
//   so such a line is refused. The comment starts at the first blank after the amount
//   (after the "%"), since the amount holds only a sign, digits and separators; the
//   comment read is the rest, trimmed, so the two blanks and a comment that starts and
//   ends with a visible character are written back as they stand.
// - The amount text has d <= 15 significant digits, at most 15 integer digits and at
//   most 9 decimals. It reads as the decimal D = digits * 10^exp (ParseAmount keeps 19
//   significant digits, and only zeros lie beyond d), converted with one rounding: v =
//   D (1 + r), |r| <= 2^-64. The writer scales v by an exact power of ten to 18
//   digits; D scaled is an integer below 10^18 with trailing zeros, and the error of
//   at most two roundings stays below 0.11, so the 18 digits are exactly D's followed
//   by zeros. Cutting them at 15 significant digits or 9 decimals drops only zeros, so
//   nothing is rounded and the written value is D again: the canonical amount is v.
// - The writer lays D out as the integer part ("0" when there is none) grouped by
//   threes, the decimal separator (always, since entries are not rounded) and the
//   decimals padded with zeros to 9 and cut back to the last non-zero one, but to no
//   fewer than `decimals`; a minus sign when D is not zero. The blanks in front put the
//   decimal separator in column 20 unless the integer part is longer.
// - Zero reads as 0; "-0" would be written without its sign and is refused.

namespace {

constexpr const auto& kPow10 = kPow10U64;

constexpr int kMaxSignificant = 15;
constexpr int kMaxIntegerDigits = 15;
constexpr int kMaxFraction = 9;

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Separators the reasoning above holds for: two different bytes that no reader takes
// for a digit, blank, sign, operator, "%", "=" or exponent. Others take the full path.
constexpr bool IsPlainSeparator(char c) {
  return !IsTrimmed(c) && !IsDigit(c) && !IsOperatorByte(c) && c != '%' && c != '=' && c != 'E' &&
         c != 'e';
}
// Looked up, as every line checks the separators.
constexpr std::array<bool, 256> kPlainSeparator = [] {
  std::array<bool, 256> plain{};
  for (int c = 0; c < 256; ++c) plain[c] = IsPlainSeparator(static_cast<char>(c));
  return plain;
}();
inline bool PlainSeparator(char c) { return kPlainSeparator[static_cast<unsigned char>(c)]; }

inline bool PlainSeparators(const Separators& seps) {
  return seps.decimal != seps.thousands && PlainSeparator(seps.decimal) &&
         PlainSeparator(seps.thousands);
}

// The digits of an amount, gathered as they are verified.
class DigitReader {
 public:
  // Takes the next digit; false once there are more significant digits than the check
  // covers.
  bool Take(char c) {
    if (c == '0') {
      if (digits_ != 0) ++zeros_;  // leading zeros do not count
      return true;
    }
    significant_ += zeros_ + 1;
    if (significant_ > kMaxSignificant) return false;
    digits_ = digits_ * kPow10[zeros_ + 1] + static_cast<uint64_t>(c - '0');
    zeros_ = 0;
    return true;
  }
  bool Zero() const { return digits_ == 0; }
  // The amount read, for a text with `fraction` decimals.
  Amount Value(int fraction) const {
    return digits_ == 0 ? 0 : AmountOfDecimal(digits_, zeros_ - fraction);
  }

 private:
  uint64_t digits_ = 0;  // up to the last non-zero digit
  int significant_ = 0;  // digits in digits_
  int zeros_ = 0;        // zeros after the last non-zero digit
};

}  // namespace

bool ReadCanonicalEntry(std::string_view line, const Separators& seps, int decimals,
                        TapeEntry* entry, size_t* amount_end) {
  const size_t n = line.size();
  // Six blanks, the operator in column 7, at least a digit and the decimal separator.
  // Typed lines fail here at once.
  if (n < 9 || line.compare(0, 6, "      ") != 0 || !IsOperatorByte(line[6])) return false;
  if (decimals < 0 || decimals > kMaxFraction) return false;
  if (!PlainSeparators(seps)) return false;
  if (IsTrimmed(line[n - 1]) || IsOperatorByte(line[n - 1])) return false;
  size_t i = 7;
  while (i < n && line[i] == ' ') ++i;
  const size_t pad = i - 7;
  const size_t amount_start = i;
  const bool negative = i < n && line[i] == '-';
  if (negative) ++i;

  // The integer part: "0", or groups of three digits after a first group of one to
  // three that does not start with "0".
  DigitReader reader;
  int integer_digits = 0;
  if (i < n && line[i] == '0') {
    ++i;
    integer_digits = 1;
  } else {
    while (i < n && IsDigit(line[i]) && integer_digits < 3) {
      if (!reader.Take(line[i++])) return false;
      ++integer_digits;
    }
    if (integer_digits == 0) return false;
    while (i < n && line[i] == seps.thousands) {
      ++i;
      for (int k = 0; k < 3; ++k, ++i) {
        if (i >= n || !IsDigit(line[i]) || !reader.Take(line[i])) return false;
      }
      integer_digits += 3;
      if (integer_digits > kMaxIntegerDigits) return false;
    }
  }
  if (i >= n || line[i] != seps.decimal) return false;
  const size_t separator_pos = i - amount_start + 1;  // 1-based, in the amount text
  if (pad != (separator_pos < 13 ? 13 - separator_pos : 0)) return false;
  ++i;

  // The decimals: at least `decimals`, and more only up to a last non-zero digit.
  int fraction = 0;
  char last = 0;
  while (i < n && IsDigit(line[i])) {
    if (++fraction > kMaxFraction) return false;
    last = line[i];
    if (!reader.Take(line[i++])) return false;
  }
  if (fraction < decimals || (fraction > decimals && last == '0')) return false;
  if (negative && reader.Zero()) return false;

  const bool percent = i < n && line[i] == '%';
  if (percent) ++i;
  if (i < n && (n - i < 3 || line[i] != ' ' || line[i + 1] != ' ' || IsTrimmed(line[i + 2]))) {
    return false;
  }

  if (amount_end != nullptr) *amount_end = i;
  Amount value = reader.Value(fraction);
  entry->op = line[6];
  entry->percent = percent;
  entry->amount = negative ? -value : value;
  entry->comment = {};
  entry->operation = OperationFor(entry->op, percent);
  return true;
}

// Why ReadTypedEntry reads a line as the full path does. The line is L = [op] A [%] [R]:
// an operator or none, A = digits [decimal separator [digits]], then "%" or none, then
// nothing or R, which starts with a blank; the last character is neither trimmed nor an
// operator, and the first is the operator or a digit, so L is its own trimmed text.
// - ClassifyLine: the operator is a symbol, and the first other character a digit, so the
//   line may be an amount. The scanner reads the amount, then "%" or a blank (or the end,
//   which accepts) leads it to the state after the amount, from where AmountLineTail decides.
// - ReadEntry: FindOperator takes the operator in front of the first digit, no operator
//   ends the text, and SplitComment starts the comment at the first character after A,
//   keeping a "%" that stands there with the amount: the comment is the rest, trimmed, and
//   the amount text A, with no thousands separator to drop, goes to ParseAmount as it is.
//   Up to 19 digits, ParseAmount reads them all, and one less exponent for each decimal.
bool ReadTypedEntry(std::string_view line, const Separators& seps, TapeEntry* entry,
                    DecimalAmount* read) {
  const size_t n = line.size();
  if (n == 0 || IsTrimmed(line[n - 1]) || IsOperatorByte(line[n - 1])) return false;
  const char op = IsOperatorByte(line[0]) ? line[0] : 0;
  size_t i = op != 0 ? 1 : 0;
  if (i >= n || !IsDigit(line[i])) return false;
  if (!PlainSeparators(seps)) return false;
  // The digits as ParseAmount gathers them while there are no more than 19.
  const size_t amount_start = i;
  uint64_t digits = 0;
  while (i < n && IsDigit(line[i])) digits = digits * 10 + static_cast<uint64_t>(line[i++] - '0');
  int fraction = -1;  // no decimal separator
  if (i < n && line[i] == seps.decimal) {
    const size_t fraction_start = ++i;
    while (i < n && IsDigit(line[i])) digits = digits * 10 + static_cast<uint64_t>(line[i++] - '0');
    fraction = static_cast<int>(i - fraction_start);
  }
  const size_t amount_end = i;
  const bool percent = i < n && line[i] == '%';
  if (percent) ++i;
  std::string_view comment;
  if (i < n) {
    if (line[i] != ' ' || !AmountLineTail(line.substr(i), seps)) return false;
    comment = TrimTape(line.substr(i));
  }
  if (amount_end - amount_start - (fraction >= 0 ? 1 : 0) <= 19) {
    *read = {digits, fraction >= 0 ? -fraction : 0};
    entry->amount = AmountOfDecimal(read->digits, read->exp);
  } else if (!ParseAmount(line.substr(amount_start, amount_end - amount_start), seps.decimal,
                          &entry->amount, read)) {
    entry->amount = 0;
  }
  entry->op = op;
  entry->percent = percent;
  entry->comment = comment;
  entry->operation = OperationFor(op, percent);
  return true;
}

bool FastReaderSeparators(const Separators& seps) { return PlainSeparators(seps); }

bool DividesByZero(const TapeEntry& entry) {
  return entry.amount == 0 &&
         (entry.op == '/' || static_cast<unsigned char>(entry.op) == kDivisionSign);
}

}  // namespace numvex
