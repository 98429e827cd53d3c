#pragma once

#include <string_view>

namespace numvex {

// The decimal and thousands separator every reading and writing of amounts uses.
struct Separators {
  char decimal = '.';
  char thousands = ',';
};

// Picks the tape's separators from the locale's texts for them. A separator must be
// a single byte that cannot be mistaken for anything else on a tape line (not a
// digit, blank, operator, "%", "=", "E", the no-break space or a control character). A decimal
// separator that fails this becomes "."; a thousands separator that fails it, or equals the decimal
// separator, becomes "," after a "." decimal and "." after any other.
Separators ChooseSeparators(std::string_view locale_decimal, std::string_view locale_thousands);

// The separators of the user's locale (LC_NUMERIC from the environment), through
// ChooseSeparators. Leaves the process locale as it found it.
Separators LocaleSeparators();

}  // namespace numvex
