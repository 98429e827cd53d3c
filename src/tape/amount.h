#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tape/separators.h"

namespace numvex {

using Amount = long double;

// Reads an amount: optional sign, digits, at most one decimal separator and an
// optional exponent ("E" or "e", optional sign, digits), nothing else. Returns false
// for anything else, for no digits at all, and for a value the extended type cannot
// represent (overflow); *value is then 0.
bool ParseAmount(std::string_view text, char decimal_sep, Amount* value);

// The decimal number digits * 10^exp an amount was read from, and whether a minus sign
// stood in front.
struct DecimalAmount {
  uint64_t digits = 0;
  int exp = 0;
  bool negative = false;
};
// ParseAmount that also gives the decimal number it read; {0, 0} when it returns false.
bool ParseAmount(std::string_view text, char decimal_sep, Amount* value, DecimalAmount* read);

// The amount ParseAmount reads for the decimal number digits * 10^exp (infinite when
// it overflows).
Amount AmountOfDecimal(uint64_t digits, int exp);

// The text of an amount as a tape line shows it (before alignment).
//  rounded: thousands separators and exactly `decimals` decimals.
//  not rounded: 15 significant digits and at most 9 decimals, trailing zeros removed
//  while more than `decimals` remain (with 0 decimals the separator stays).
// An integer part of more than 15 digits (not rounded) or more than 18 digits
// (rounded) is written in scientific form: 1.5E20.
// Rounding is half away from zero on the 18-significant-digit decimal value.
// *canonical receives the value that ParseAmount reads back from the text.
// Precondition: `value` is finite.
std::string FormatAmount(Amount value, const Separators& seps, int decimals, bool rounded,
                         Amount* canonical = nullptr);

// Appends the amount text to *out instead of returning it (no allocation when *out
// has room).
void AppendAmount(Amount value, const Separators& seps, int decimals, bool rounded,
                  std::string* out, Amount* canonical = nullptr);

// Room for the longest amount text, and for the writer's work past it.
inline constexpr size_t kMaxAmountText = 64;
// Writes the amount text into buf (room for kMaxAmountText bytes) and returns its length.
size_t WriteAmount(Amount value, const Separators& seps, int decimals, bool rounded, char* buf,
                   Amount* canonical = nullptr);
// The unrounded text of the amount ParseAmount read as `read`, as WriteAmount writes it,
// laid out from the digits read without converting the amount back to decimal; with a
// minus sign when `minus` and the amount is not 0. The text reads back as the amount
// read (0 for a minus zero). Returns its length, or 0, writing nothing, where WriteAmount
// writes other digits: for more than 15 significant digits, 15 integer digits or 9
// decimals.
size_t WriteDigitsRead(const DecimalAmount& read, bool minus, const Separators& seps, int decimals,
                       char* buf);

}  // namespace numvex
