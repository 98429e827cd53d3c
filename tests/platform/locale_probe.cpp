// Prints what the program reads from the regional settings of its environment: decimal
// separator, thousands separator and the language identifier in hex, as "<d><t> <id>".
#include <QCoreApplication>
#include <cstdio>

#include "platform/system_info.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const numvex::Separators seps = numvex::RegionalSeparators();
  std::printf("%c%c %04x\n", seps.decimal, seps.thousands, numvex::UserDefaultLangId());
  return 0;
}
