#include "platform/broadcast_win.h"

#include <windows.h>

namespace numvex {

unsigned BroadcastMessageId() { return ::RegisterWindowMessageA(kBroadcastMessageName); }

bool PostBroadcastMessage() {
  const UINT message = BroadcastMessageId();
  return message != 0 && ::PostMessageA(HWND_BROADCAST, message, 0, 0);
}

}  // namespace numvex
