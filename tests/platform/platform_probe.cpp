// Started by the tests as a separate program. "lock": takes the program's instance lock,
// prints "first"/"second" and "holding"/"not-holding", and keeps the lock until stdin closes.
// "locale": prints the regional decimal and thousands separators and the language id in hex.
// Windows only: "listen" opens a hidden top-level window, prints "listening" and then
// "received" once the broadcast message reaches it (exit 1 after 20 s without); "post"
// posts the broadcast.
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/instance_lock.h"
#include "platform/system_info.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/broadcast_win.h"

namespace {

int ListenForBroadcast() {
  const UINT broadcast = numvex::BroadcastMessageId();
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "NumvexProbe";
  // Not a message-only window: those are left out of a broadcast.
  HWND window = RegisterClassA(&window_class) == 0
                    ? nullptr
                    : CreateWindowExA(0, "NumvexProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 10,
                                      10, nullptr, nullptr, window_class.hInstance, nullptr);
  if (broadcast == 0 || window == nullptr) return 2;
  std::printf("listening\n");
  std::fflush(stdout);
  for (const DWORD end = GetTickCount() + 20000; GetTickCount() < end; Sleep(10)) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == broadcast && msg.hwnd == window && msg.wParam == 0 && msg.lParam == 0) {
        std::printf("received\n");
        return 0;
      }
      DispatchMessageA(&msg);
    }
  }
  return 1;
}

}  // namespace
#else
#include <QCoreApplication>
#endif

int main(int argc, char** argv) {
  const std::string mode = argc == 2 ? argv[1] : "lock";
  if (mode == "locale") {
#ifndef _WIN32
    QCoreApplication app(argc, argv);
#endif
    const numvex::Separators seps = numvex::RegionalSeparators();
    std::printf("%c%c %04x\n", seps.decimal, seps.thousands, numvex::UserDefaultLangId());
    return 0;
  }
#ifdef _WIN32
  if (mode == "listen") return ListenForBroadcast();
  if (mode == "post") return numvex::PostBroadcastMessage() ? 0 : 1;
#endif
  numvex::InstanceLock lock;
  std::printf("%s %s\n", lock.FirstInstance() ? "first" : "second",
              lock.Holding() ? "holding" : "not-holding");
  std::fflush(stdout);
  for (std::string line; std::getline(std::cin, line);) {
  }
  return 0;
}
