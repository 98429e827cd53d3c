#include "platform/key_layout.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <memory>
#include <ostream>

#include "platform/virtual_keys.h"

namespace numvex {
namespace {

enum class Layout { kUs, kGerman };

std::unique_ptr<KeyLayout> Make(Layout layout) {
  return layout == Layout::kUs ? UsLayout() : GermanLayout();
}

const char* NameOf(Layout layout) { return layout == Layout::kUs ? "US" : "German"; }

// A key released on a layout, as QTest would synthesise it: Qt's key, modifiers and text.
struct KeyCase {
  const char* what;
  Layout layout;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;  // UTF-8
  int expected_vk;
  bool operator_key;
};

std::ostream& operator<<(std::ostream& os, const KeyCase& c) {
  return os << NameOf(c.layout) << ": " << c.what;
}

class KeyEventTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyEventTest, VirtualKeyAndOperatorKey) {
  const KeyCase& c = GetParam();
  std::unique_ptr<KeyLayout> layout = Make(c.layout);
  QKeyEvent event(QEvent::KeyRelease, c.key, c.modifiers, QString::fromUtf8(c.text));
  const int vk = layout->VirtualKeyOf(event);
  EXPECT_EQ(vk, c.expected_vk);
  EXPECT_EQ(IsOperatorKey(vk, *layout), c.operator_key);
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kKeypad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    Us, KeyEventTest,
    ::testing::Values(
        KeyCase{"minus", Layout::kUs, Qt::Key_Minus, kNone, "-", 189, true},
        KeyCase{"slash", Layout::kUs, Qt::Key_Slash, kNone, "/", 191, true},
        KeyCase{"equal key", Layout::kUs, Qt::Key_Equal, kNone, "=", 187, false},
        // "+" is Shift on the "=" key: a key code without shift bits never matches it.
        KeyCase{"shift+equal types plus", Layout::kUs, Qt::Key_Plus, kShift, "+", 187, false},
        KeyCase{"shift+8 types star", Layout::kUs, Qt::Key_Asterisk, kShift, "*", '8', false},
        KeyCase{"digit 7", Layout::kUs, Qt::Key_7, kNone, "7", '7', true},
        KeyCase{"shift+7 types ampersand", Layout::kUs, Qt::Key_Ampersand, kShift, "&", '7', true},
        KeyCase{"question mark on the slash key", Layout::kUs, Qt::Key_Question, kShift, "?", 191,
                true},
        KeyCase{"letter a", Layout::kUs, Qt::Key_A, kNone, "a", 'A', false},
        KeyCase{"ctrl+a", Layout::kUs, Qt::Key_A, Qt::ControlModifier, "\x01", 'A', false},
        KeyCase{"return", Layout::kUs, Qt::Key_Return, kNone, "\r", kVkReturn, false},
        KeyCase{"keypad enter", Layout::kUs, Qt::Key_Enter, kKeypad, "\r", kVkReturn, false},
        KeyCase{"space", Layout::kUs, Qt::Key_Space, kNone, " ", kVkSpace, false},
        KeyCase{"keypad plus", Layout::kUs, Qt::Key_Plus, kKeypad, "+", kVkAdd, false},
        KeyCase{"keypad minus", Layout::kUs, Qt::Key_Minus, kKeypad, "-", kVkSubtract, false},
        KeyCase{"keypad star", Layout::kUs, Qt::Key_Asterisk, kKeypad, "*", kVkMultiply, false},
        KeyCase{"keypad slash", Layout::kUs, Qt::Key_Slash, kKeypad, "/", kVkDivide, false},
        KeyCase{"keypad 7", Layout::kUs, Qt::Key_7, kKeypad, "7", kVkNumpad0 + 7, false},
        KeyCase{"keypad 7 without num lock", Layout::kUs, Qt::Key_Home, kKeypad, "", 36, false},
        KeyCase{"left arrow", Layout::kUs, Qt::Key_Left, kNone, "", 37, false},
        KeyCase{"F3", Layout::kUs, Qt::Key_F3, kNone, "", 114, false}));

INSTANTIATE_TEST_SUITE_P(
    German, KeyEventTest,
    ::testing::Values(
        KeyCase{"plus", Layout::kGerman, Qt::Key_Plus, kNone, "+", 187, true},
        // Shift+"+" types "*" on the same key, which counts because "+" is its plain character.
        KeyCase{"shift+plus types star", Layout::kGerman, Qt::Key_Asterisk, kShift, "*", 187, true},
        KeyCase{"minus", Layout::kGerman, Qt::Key_Minus, kNone, "-", 189, true},
        KeyCase{"shift+7 types slash", Layout::kGerman, Qt::Key_Slash, kShift, "/", '7', true},
        // Where the US keyboard has "/", German has "#".
        KeyCase{"number sign", Layout::kGerman, Qt::Key_NumberSign, kNone, "#", 191, false},
        KeyCase{"sharp s", Layout::kGerman, Qt::Key_ssharp, kNone, "ß", 219, false},
        KeyCase{"u umlaut", Layout::kGerman, Qt::Key_Udiaeresis, kNone, "ü", 186, false},
        KeyCase{"shift+0 types equal", Layout::kGerman, Qt::Key_Equal, kShift, "=", '0', false},
        KeyCase{"letter z", Layout::kGerman, Qt::Key_Z, kNone, "z", 'Z', false},
        KeyCase{"altgr+q types at", Layout::kGerman, Qt::Key_At,
                Qt::ControlModifier | Qt::AltModifier, "@", 'Q', false},
        KeyCase{"return", Layout::kGerman, Qt::Key_Return, kNone, "\r", kVkReturn, false},
        KeyCase{"keypad plus", Layout::kGerman, Qt::Key_Plus, kKeypad, "+", kVkAdd, false},
        KeyCase{"keypad slash", Layout::kGerman, Qt::Key_Slash, kKeypad, "/", kVkDivide, false},
        KeyCase{"keypad comma", Layout::kGerman, Qt::Key_Comma, kKeypad, ",", kVkDecimal, false}));

// The layout's key for a character, in the form of Windows' VkKeyScanA.
struct ScanCase {
  Layout layout;
  unsigned char c;
  int expected;
};

std::ostream& operator<<(std::ostream& os, const ScanCase& c) {
  return os << NameOf(c.layout) << ": byte " << static_cast<int>(c.c);
}

class VkKeyScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(VkKeyScanTest, KeyAndShiftState) {
  EXPECT_EQ(Make(GetParam().layout)->VkKeyScan(GetParam().c), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VkKeyScanTest,
    ::testing::Values(ScanCase{Layout::kUs, '+', 0x1BB}, ScanCase{Layout::kUs, '-', 0xBD},
                      ScanCase{Layout::kUs, '*', 0x138}, ScanCase{Layout::kUs, '/', 0xBF},
                      ScanCase{Layout::kUs, 247, -1}, ScanCase{Layout::kUs, '=', 0xBB},
                      ScanCase{Layout::kUs, 'a', 0x41}, ScanCase{Layout::kUs, 'A', 0x141},
                      ScanCase{Layout::kUs, ' ', 0x20}, ScanCase{Layout::kUs, 0xDF, -1},
                      ScanCase{Layout::kUs, 0, -1}, ScanCase{Layout::kGerman, '+', 0xBB},
                      ScanCase{Layout::kGerman, '-', 0xBD}, ScanCase{Layout::kGerman, '*', 0x1BB},
                      ScanCase{Layout::kGerman, '/', 0x137}, ScanCase{Layout::kGerman, 247, -1},
                      ScanCase{Layout::kGerman, 0xDF, 0xDB}, ScanCase{Layout::kGerman, '\\', 0x6DB},
                      ScanCase{Layout::kGerman, '@', 0x651},
                      ScanCase{Layout::kGerman, 0x80, 0x645},  // the euro sign
                      ScanCase{Layout::kGerman, 'z', 0x5A}, ScanCase{Layout::kGerman, 'Y', 0x159}));

// A layout answering from a fixed list, to reach what no real layout here does.
class FakeLayout : public KeyLayout {
 public:
  explicit FakeLayout(int division_key) : division_key_(division_key) {}
  int VkKeyScan(unsigned char c) const override { return c == 247 ? division_key_ : -1; }
  int VirtualKeyOf(const QKeyEvent&) const override { return 0; }

 private:
  int division_key_;
};

TEST(IsOperatorKeyTest, DivisionSignOnAPlainKeyCounts) {
  FakeLayout layout(0xDE);
  EXPECT_TRUE(IsOperatorKey(0xDE, layout));
  EXPECT_FALSE(IsOperatorKey(0xDD, layout));
}

TEST(IsOperatorKeyTest, DivisionSignWithShiftDoesNotCount) {
  FakeLayout layout(0x1DE);
  EXPECT_FALSE(IsOperatorKey(0xDE, layout));
}

TEST(IsOperatorKeyTest, UntypeableCharactersMatchNoKeyCode) {
  FakeLayout layout(-1);
  EXPECT_FALSE(IsOperatorKey(-1, layout));
  EXPECT_FALSE(IsOperatorKey(0xFFFF, layout));
  EXPECT_FALSE(IsOperatorKey(0, layout));
  EXPECT_TRUE(IsOperatorKey('7', layout));  // the digit 7 counts on any layout
}

TEST(SystemKeyLayoutTest, OffscreenFallsBackToUs) {
  if (QGuiApplication::platformName() != "offscreen") GTEST_SKIP() << "not offscreen";
  std::unique_ptr<KeyLayout> layout = SystemKeyLayout();
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->VkKeyScan('+'), 0x1BB);
  EXPECT_EQ(layout->VkKeyScan('/'), 0xBF);
}

}  // namespace
}  // namespace numvex
