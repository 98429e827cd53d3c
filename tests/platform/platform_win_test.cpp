// The Win32 services in this process (under Wine with its US layout in the cross build);
// platform_processes_test.sh takes them across processes.
#include <gtest/gtest.h>
#include <process.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/broadcast_win.h"
#include "platform/instance_lock.h"
#include "platform/key_layout.h"
#include "platform/key_scan_win.h"
#include "platform/launcher.h"
#include "platform/system_info.h"

namespace numvex {
namespace {

class SystemLayout final : public KeyLayout {
 public:
  int VkKeyScan(unsigned char c) const override { return SystemVkKeyScan(c); }
  int VirtualKeyOf(const QKeyEvent&) const override { return 0; }
};

TEST(WindowsPlatformTest, KeyTranslationAndOperatorKeys) {
  // clang-format off
  const struct { unsigned char c; int key; bool operator_key; } kCases[] = {
      {'-', 0xBD, true}, {'/', 0xBF, true}, {'7', '7', true}, {'+', 0x1BB, false},
      {'*', 0x138, false}, {'=', 0xBB, false}, {'a', 'A', false}, {'A', 0x141, false},
      {247, -1, false}};
  // clang-format on
  const SystemLayout layout;
  for (const auto& c : kCases) {
    EXPECT_EQ(SystemVkKeyScan(c.c), c.key) << c.c;
    // A key code carries no shift bits; "+" needs Shift here, so its key is no operator.
    if (c.key != -1) {
      EXPECT_EQ(IsOperatorKey(c.key & 0xFF, layout), c.operator_key) << c.c;
    }
  }
}

TEST(WindowsPlatformTest, NamesAreTheSessionsOwn) {
  EXPECT_EQ(UserName(), std::getenv("USERNAME"));
  EXPECT_EQ(ComputerName(), std::getenv("COMPUTERNAME"));
  EXPECT_FALSE(UserName().empty());
}

TEST(WindowsPlatformTest, MutexDecidesTheFirstUntilItsHandleCloses) {
  const std::string name = "numvex-test-" + std::to_string(_getpid());
  {
    InstanceLock first({}, name), second({}, name);
    EXPECT_TRUE(first.FirstInstance() && first.Holding());
    EXPECT_TRUE(!second.FirstInstance() && second.Holding());
  }
  EXPECT_TRUE(InstanceLock({}, name).FirstInstance());
  EXPECT_NE(BroadcastMessageId(), 0u);
  EXPECT_EQ(BroadcastMessageId(), BroadcastMessageId());
}

// A program is started with the line as it stands; what starts nothing goes to "open" whole,
// and the system's "open" refuses a file that is not there.
TEST(WindowsPlatformTest, LaunchStartsTheProgramElseOpens) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("numvex launch " + std::to_string(_getpid()));
  std::filesystem::remove(file);
  std::vector<std::string> opened;
  const ShellOpenFunction system_open = ReplaceShellOpen([&opened](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  EXPECT_TRUE(LaunchCommandLine("cmd.exe /c echo x> \"" + file.string() + "\""));
  for (int i = 0; i < 300 && !std::filesystem::exists(file); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_TRUE(LaunchCommandLine("numvex-no-such-program \"a file.txt\""));
  EXPECT_FALSE(LaunchCommandLine(" \t"));
  EXPECT_EQ(opened, std::vector<std::string>{"numvex-no-such-program \"a file.txt\""});
  ReplaceShellOpen(system_open);
  EXPECT_FALSE(SystemShellOpen((file.parent_path() / "numvex-missing.nvx").string()));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // cmd may still hold the file
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace numvex
