// The system layout on a real X server: keys typed through the XTEST extension reach a
// window, and the layout names them as Windows would. Run under Xvfb (see
// run_under_xvfb.sh); without an X server or xdotool the tests are skipped.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QWindow>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/key_layout.h"
#include "platform/virtual_keys.h"

namespace numvex {
namespace {

constexpr int kWaitMs = 30000;  // a safety net for a key that never arrives, not a measure

// What the window saw of one key release, read through the system layout at that moment.
struct Release {
  int vk;
  bool operator_key;
  quint32 scan_code;
};

class KeyWindow : public QWindow {
 public:
  explicit KeyWindow(const KeyLayout* layout) : layout_(layout) {}
  std::optional<Release> last;

 protected:
  void keyReleaseEvent(QKeyEvent* event) override {
    // Modifiers come and go around the key of interest; only that key counts.
    if (event->key() == Qt::Key_Shift) return;
    const int vk = layout_->VirtualKeyOf(*event);
    last = Release{vk, IsOperatorKey(vk, *layout_), event->nativeScanCode()};
  }

 private:
  const KeyLayout* layout_;
};

bool RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  return process.waitForFinished(kWaitMs) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

struct TypedKey {
  const char* keys;  // as xdotool names them
  int vk;
  bool operator_key;
};

std::ostream& operator<<(std::ostream& os, const TypedKey& k) { return os << k.keys; }

class X11KeyLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "no X server";
    if (QStandardPaths::findExecutable("xdotool").isEmpty()) GTEST_SKIP() << "no xdotool";
  }

  // Switches the server's layout, then makes the system layout and a window to type into.
  void Open(const char* xkb_layout) {
    if (QStandardPaths::findExecutable("setxkbmap").isEmpty()) {
      ASSERT_STREQ(xkb_layout, "us") << "no setxkbmap to switch layouts";
    } else {
      ASSERT_TRUE(RunTool("setxkbmap", {xkb_layout}));
    }
    layout_ = SystemKeyLayout();
    window_ = std::make_unique<KeyWindow>(layout_.get());
    window_->resize(200, 100);
    window_->show();
    window_->requestActivate();
    ASSERT_TRUE(WaitFor([this] { return window_->isExposed() && window_->isActive(); }));
  }

  // Switches the layout under the running window and waits until the layout has followed.
  void SwitchTo(const char* xkb_layout, unsigned char c, int expected) {
    ASSERT_TRUE(RunTool("setxkbmap", {xkb_layout}));
    EXPECT_TRUE(WaitFor([&] { return layout_->VkKeyScan(c) == expected; }))
        << "VkKeyScan(" << c << ") still " << std::hex << layout_->VkKeyScan(c);
  }

  std::optional<Release> Type(const char* keys) {
    window_->last.reset();
    if (!RunTool("xdotool", {"key", "--delay", "0", QString::fromLatin1(keys)}))
      return std::nullopt;
    WaitFor([this] { return window_->last.has_value(); });
    return window_->last;
  }

  // Types each key and checks what the window made of its release.
  void ExpectKeys(const char* layout, std::initializer_list<TypedKey> keys) {
    for (const TypedKey& key : keys) {
      const std::optional<Release> release = Type(key.keys);
      ASSERT_TRUE(release.has_value()) << layout << ": " << key << " never arrived";
      EXPECT_NE(release->scan_code, 0u) << layout << ": " << key;
      EXPECT_EQ(release->vk, key.vk) << layout << ": " << key;
      EXPECT_EQ(release->operator_key, key.operator_key) << layout << ": " << key;
    }
  }

  template <typename Condition>
  static bool WaitFor(Condition condition) {
    QDeadlineTimer deadline(kWaitMs);
    while (!condition() && !deadline.hasExpired()) {
      QGuiApplication::processEvents(QEventLoop::AllEvents);
      QThread::msleep(5);
    }
    return condition();
  }

  std::unique_ptr<KeyLayout> layout_;
  std::unique_ptr<KeyWindow> window_;
};

TEST_F(X11KeyLayoutTest, UsKeyboard) {
  Open("us");
  EXPECT_EQ(layout_->VkKeyScan('+'), 0x1BB);
  EXPECT_EQ(layout_->VkKeyScan('-'), 0xBD);
  EXPECT_EQ(layout_->VkKeyScan('*'), 0x138);
  EXPECT_EQ(layout_->VkKeyScan('/'), 0xBF);
  EXPECT_EQ(layout_->VkKeyScan('A'), 0x141);
  EXPECT_EQ(layout_->VkKeyScan(247), -1);
  // clang-format off
  ExpectKeys("us", {{"minus", kVkOemMinus, true}, {"slash", 191, true},
                    {"equal", kVkOemPlus, false}, {"shift+equal", kVkOemPlus, false},  // "+": Shift
                    {"7", '7', true}, {"a", 'A', false}, {"Return", kVkReturn, false},
                    {"KP_Enter", kVkReturn, false}, {"KP_Add", kVkAdd, false},
                    {"KP_Subtract", kVkSubtract, false}, {"KP_Multiply", kVkMultiply, false},
                    {"KP_Divide", kVkDivide, false}});
  // clang-format on
}

TEST_F(X11KeyLayoutTest, GermanKeyboard) {
  if (QStandardPaths::findExecutable("setxkbmap").isEmpty()) GTEST_SKIP() << "no setxkbmap";
  Open("de");
  EXPECT_EQ(layout_->VkKeyScan('+'), kVkOemPlus);
  EXPECT_EQ(layout_->VkKeyScan('-'), kVkOemMinus);
  EXPECT_EQ(layout_->VkKeyScan('*'), 0x100 | kVkOemPlus);
  EXPECT_EQ(layout_->VkKeyScan('/'), 0x100 | '7');
  EXPECT_EQ(layout_->VkKeyScan('@'), 0x600 | 'Q');  // AltGr, which Windows calls Ctrl+Alt
  EXPECT_EQ(layout_->VkKeyScan('#'), 220);
  // "#" keeps the code of its US position; what matters is that the event and VkKeyScan agree
  // on it, and that it is no operator.
  // clang-format off
  ExpectKeys("de", {{"plus", kVkOemPlus, true}, {"minus", kVkOemMinus, true}, {"shift+7", '7', true},
                    {"numbersign", 220, false}, {"z", 'Z', false}, {"y", 'Y', false},
                    {"KP_Add", kVkAdd, false}});
  // clang-format on
  RunTool("setxkbmap", {"us"});
}

// A layout switch while the program runs reaches the layout it already holds.
TEST_F(X11KeyLayoutTest, FollowsALayoutSwitch) {
  if (QStandardPaths::findExecutable("setxkbmap").isEmpty()) GTEST_SKIP() << "no setxkbmap";
  Open("us");
  ASSERT_EQ(layout_->VkKeyScan('+'), 0x1BB);
  SwitchTo("de", '+', kVkOemPlus);
  ExpectKeys("de", {{"plus", kVkOemPlus, true}});
  SwitchTo("us", '+', 0x1BB);
  ExpectKeys("us", {{"shift+equal", kVkOemPlus, false}});
}

}  // namespace
}  // namespace numvex
