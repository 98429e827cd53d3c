// The user's regional settings, language, and the user and computer names from Win32.
#include <windows.h>

#include "platform/system_info.h"

namespace numvex {

Separators RegionalSeparators() {
  // The code page's own bytes, straight from the regional settings; an empty or longer
  // separator is refused by ChooseSeparators, as any unusable one is.
  char decimal[8] = {};
  char thousands[8] = {};
  ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof(decimal));
  ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousands, sizeof(thousands));
  return ChooseSeparators(decimal, thousands);
}

uint16_t UserDefaultLangId() { return ::GetUserDefaultLangID(); }

std::string UserName() {
  char name[300];
  DWORD size = sizeof(name);
  return ::GetUserNameA(name, &size) ? std::string(name) : std::string();
}

std::string ComputerName() {
  char name[512 + 1];
  DWORD size = sizeof(name);
  return ::GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

}  // namespace numvex
