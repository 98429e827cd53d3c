#include "platform/system_info.h"

#include <QDateTime>
#include <QLocale>
#include <optional>
#include <vector>

#include "config/lang_texts.h"
#include "platform/ansi_text.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace numvex {

namespace {

// A separator the code page cannot write stays in UTF-8, which is more than one byte and
// so is refused by ChooseSeparators, as any unusable separator is.
std::string SeparatorBytes(const QString& text) {
  std::optional<std::string> bytes = ToAnsi(text);
  return bytes ? *bytes : text.toStdString();
}

}  // namespace

Separators SeparatorsOf(const QLocale& locale) {
  return ChooseSeparators(SeparatorBytes(locale.decimalPoint()),
                          SeparatorBytes(locale.groupSeparator()));
}

#ifndef _WIN32  // system_info_win.cpp asks Windows itself

Separators RegionalSeparators() { return SeparatorsOf(QLocale::system()); }

#endif

uint16_t LangIdOf(const QLocale& locale) {
  return LangIdFromLocaleName(locale.name().toStdString());
}

#ifndef _WIN32

uint16_t UserDefaultLangId() { return LangIdOf(QLocale::system()); }

std::string UserName() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry;
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_name != nullptr) {
    return found->pw_name;
  }
  // A user id without a passwd entry (containers, NSS trouble): the login shell's word.
  const char* user = std::getenv("USER");
  return user != nullptr ? user : std::string();
}

std::string ComputerName() {
  char name[256] = {};
  // gethostname need not terminate a truncated name; the last byte stays 0.
  if (gethostname(name, sizeof(name) - 1) != 0) return std::string();
  return name;
}

#endif

std::string LocalDateTimeText() {
  const QLocale locale = QLocale::system();
  const QDateTime now = QDateTime::currentDateTime();
  return (locale.toString(now.date(), QLocale::ShortFormat) + ' ' +
          locale.toString(now.time(), QLocale::LongFormat))
      .toStdString();
}

}  // namespace numvex
