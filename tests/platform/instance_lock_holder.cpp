// Takes the instance lock like a starting program, says "first" or "second" on stdout and
// keeps the lock until its stdin closes. Arguments: the lock folder and name, or none for
// the program's own lock.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "platform/instance_lock.h"

int main(int argc, char** argv) {
  std::unique_ptr<numvex::InstanceLock> lock;
  if (argc == 3) {
    lock = std::make_unique<numvex::InstanceLock>(argv[1], argv[2]);
  } else {
    lock = std::make_unique<numvex::InstanceLock>();
  }
  std::printf("%s %s\n", lock->FirstInstance() ? "first" : "second",
              lock->Holding() ? "holding" : "not-holding");
  std::fflush(stdout);
  std::string line;
  while (std::getline(std::cin, line)) {
  }
  return 0;
}
