// Started by the tests as a separate program. "lock": takes the program's instance lock,
// prints "first"/"second" and "holding"/"not-holding", and keeps the lock until stdin closes.
// "locale": prints the regional decimal and thousands separators and the language id in hex.
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/instance_lock.h"
#include "platform/system_info.h"

#ifndef _WIN32  // where Qt reads the locale
#include <QCoreApplication>
#endif

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "locale") {
#ifndef _WIN32
    QCoreApplication app(argc, argv);
#endif
    const numvex::Separators seps = numvex::RegionalSeparators();
    std::printf("%c%c %04x\n", seps.decimal, seps.thousands, numvex::UserDefaultLangId());
    return 0;
  }
  numvex::InstanceLock lock;
  std::printf("%s %s\n", lock.FirstInstance() ? "first" : "second",
              lock.Holding() ? "holding" : "not-holding");
  std::fflush(stdout);
  for (std::string line; std::getline(std::cin, line);) {
  }
  return 0;
}
