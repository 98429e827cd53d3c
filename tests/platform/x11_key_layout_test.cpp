// The system layout on a real X server, switched with setxkbmap and typed into with xdotool
// (tests/e2e/lib.sh runs it there): the layout is the server's, follows a switch while the program
// runs, and agrees with the layout tables for what it types.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QStandardPaths>
#include <QWindow>
#include <memory>
#include <optional>

#include "common/processes.h"
#include "platform/key_layout.h"
#include "platform/virtual_keys.h"

namespace numvex {
namespace {

// The virtual key of the last key released in the window and its X key code, read through
// the system layout at that moment; modifiers around the key of interest do not count.
class KeyWindow : public QWindow {
 public:
  explicit KeyWindow(const KeyLayout& layout) : layout_(layout) {}
  std::optional<std::pair<int, quint32>> last;

 protected:
  void keyReleaseEvent(QKeyEvent* event) override {
    if (event->key() != Qt::Key_Shift)
      last = {layout_.VirtualKeyOf(*event), event->nativeScanCode()};
  }

 private:
  const KeyLayout& layout_;
};

TEST(X11KeyLayoutTest, FollowsTheServerLayoutAndAgreesWithTheTables) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "no X server";
  for (const char* tool : {"xdotool", "setxkbmap"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << "no " << tool;
  }
  ASSERT_TRUE(testing::RunProgram("setxkbmap", {"us"}));
  const std::unique_ptr<KeyLayout> system = SystemKeyLayout();
  KeyWindow window(*system);
  window.resize(200, 100);
  window.show();
  window.requestActivate();
  ASSERT_TRUE(testing::WaitUntil([&] { return window.isExposed() && window.isActive(); }));
  // The keys xdotool types, with the character each types or, for the keypad, its key.
  struct Typed {
    const char* keys;
    unsigned char c;
    int vk;
  };
  const std::vector<Typed> kUsKeys = {
      {"minus", '-', 0}, {"shift+equal", '+', 0}, {"slash", '/', 0},         {"7", '7', 0},
      {"a", 'a', 0},     {"KP_Add", 0, kVkAdd},   {"KP_Enter", 0, kVkReturn}};
  const std::vector<Typed> kGermanKeys = {{"plus", '+', 0},    {"minus", '-', 0},
                                          {"shift+7", '/', 0}, {"z", 'z', 0},
                                          {"y", 'y', 0},       {"KP_Divide", 0, kVkDivide}};
  for (const char* xkb : {"us", "de", "us"}) {
    const bool us = xkb[0] == 'u';
    const std::unique_ptr<KeyLayout> table = us ? UsLayout() : GermanLayout();
    ASSERT_TRUE(testing::RunProgram("setxkbmap", {xkb}));
    EXPECT_TRUE(testing::WaitUntil([&] { return system->VkKeyScan('+') == table->VkKeyScan('+'); }))
        << xkb << ": the layout did not follow the switch";
    for (unsigned char c : std::string("+-*/7aAzY@")) {
      EXPECT_EQ(system->VkKeyScan(c), table->VkKeyScan(c)) << xkb << ": " << c;
    }
    for (const Typed& key : us ? kUsKeys : kGermanKeys) {
      window.last.reset();
      ASSERT_TRUE(testing::RunProgram("xdotool", {"key", "--delay", "0", key.keys}));
      ASSERT_TRUE(testing::WaitUntil([&] { return window.last.has_value(); })) << key.keys;
      EXPECT_NE(window.last->second, 0u) << xkb << ": " << key.keys;
      EXPECT_EQ(window.last->first, key.c ? table->VkKeyScan(key.c) & 0xFF : key.vk)
          << xkb << ": " << key.keys;
    }
  }
}

}  // namespace
}  // namespace numvex
