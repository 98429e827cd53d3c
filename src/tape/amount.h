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

}  // namespace numvex
