#pragma once

#include <cstdint>
#include <string>

#include "tape/separators.h"

class QLocale;

namespace numvex {

// The tape's separators from the user's regional settings (QLocale::system(): LC_ALL,
// LC_NUMERIC or LANG on Linux), through the tape's own rules for unusable ones.
Separators RegionalSeparators();
Separators SeparatorsOf(const QLocale& locale);

// The Windows language identifier of the user's locale, as GetUserDefaultLangID gives it:
// what the first start picks the interface language from.
uint16_t UserDefaultLangId();
uint16_t LangIdOf(const QLocale& locale);

// The login name of the user running the program, and the name of this computer, as the
// print header shows them (UTF-8 on Linux). Empty when the system does not say.
std::string UserName();
std::string ComputerName();

// Now, as the user's locale writes it: the short date and the long time (UTF-8).
std::string LocalDateTimeText();

}  // namespace numvex
