#include "tape/separators.h"

#include <clocale>
#include <string>

namespace numvex {

namespace {

// A byte that a tape line can carry as a separator without being read as something
// else by the line scanner or the amount reader.
bool UsableSeparator(std::string_view s) {
  if (s.size() != 1) return false;
  unsigned char c = static_cast<unsigned char>(s[0]);
  if (c <= ' ' || c == 127) return false;
  if (c >= '0' && c <= '9') return false;
  switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case 247:
    case '%':
    case '=':
    case 'E':
    case 'e':
      return false;
    default:
      return true;
  }
}

}  // namespace

Separators ChooseSeparators(std::string_view locale_decimal, std::string_view locale_thousands) {
  Separators seps;
  seps.decimal = UsableSeparator(locale_decimal) ? locale_decimal[0] : '.';
  if (UsableSeparator(locale_thousands) && locale_thousands[0] != seps.decimal) {
    seps.thousands = locale_thousands[0];
  } else {
    seps.thousands = seps.decimal == '.' ? ',' : '.';
  }
  return seps;
}

Separators LocaleSeparators() {
  const char* current = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = current ? current : "C";
  Separators seps;
  if (std::setlocale(LC_NUMERIC, "") != nullptr) {
    const std::lconv* lc = std::localeconv();
    seps = ChooseSeparators(lc->decimal_point ? lc->decimal_point : "",
                            lc->thousands_sep ? lc->thousands_sep : "");
  } else {
    seps = ChooseSeparators(".", ",");
  }
  std::setlocale(LC_NUMERIC, saved.c_str());
  return seps;
}

}  // namespace numvex
