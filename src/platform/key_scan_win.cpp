#include "platform/key_scan_win.h"

#include <windows.h>

namespace numvex {

int SystemVkKeyScan(unsigned char c) {
  const SHORT key = ::VkKeyScanA(static_cast<CHAR>(c));
  return key == -1 ? -1 : static_cast<int>(key) & 0xFFFF;
}

}  // namespace numvex
