// The Win32 services (under Wine, US layout, in the cross build); tests/wine has the mutex
// and the regional settings between processes.
#include <windows.h>
// windows.h would rename the layout's method.
#undef VkKeyScan

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/broadcast_win.h"
#include "platform/key_layout.h"
#include "platform/key_scan_win.h"
#include "platform/launcher.h"
#include "platform/system_info.h"

namespace numvex {
namespace {

struct SystemLayout final : KeyLayout {
  int VkKeyScan(unsigned char c) const override { return SystemVkKeyScan(c); }
  int VirtualKeyOf(const QKeyEvent&) const override { return 0; }
};

TEST(WindowsPlatformTest, KeyTranslationAndOperatorKeys) {
  // clang-format off
  const struct { unsigned char c; int key; bool op; } kCases[] = {
      {'-', 0xBD, true}, {'/', 0xBF, true},   {'7', '7', true},    {'+', 0x1BB, false},
      {'*', 0x138, false}, {'a', 'A', false}, {'A', 0x141, false}, {247, -1, false}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ(SystemVkKeyScan(c.c), c.key) << c.c;
    // A key code has no shift bits: "+" needs Shift here, so no key of it is an operator.
    EXPECT_EQ(IsOperatorKey(c.key & 0xFF, SystemLayout()), c.op) << c.c;
  }
}

TEST(WindowsPlatformTest, NamesAreTheSessionsOwn) {
  EXPECT_EQ(UserName(), std::getenv("USERNAME"));
  EXPECT_EQ(ComputerName(), std::getenv("COMPUTERNAME"));
}

// Only top-level windows receive it, hidden ones too; message-only windows do not.
TEST(WindowsPlatformTest, BroadcastReachesTopLevelWindows) {
  HWND top =
      CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(top, nullptr);
  ASSERT_TRUE(PostBroadcastMessage());
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, top, BroadcastMessageId(), BroadcastMessageId(), PM_REMOVE));
  EXPECT_EQ(std::make_tuple(msg.wParam, msg.lParam), std::make_tuple(WPARAM{0}, LPARAM{0}));
  DestroyWindow(top);
}

// The line as it stands starts a program (launcher_test.cpp has what starts none); the
// system's "open" refuses what is not there.
TEST(WindowsPlatformTest, LaunchStartsTheProgramAsTheLineSays) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "numvex launch";
  std::filesystem::remove(file);
  EXPECT_TRUE(LaunchCommandLine("cmd.exe /c echo x> \"" + file.string() + "\""));
  for (int i = 0; i < 300 && !std::filesystem::exists(file); ++i) Sleep(50);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_FALSE(SystemShellOpen((file.parent_path() / "numvex-missing.nvx").string()));
}

}  // namespace
}  // namespace numvex
