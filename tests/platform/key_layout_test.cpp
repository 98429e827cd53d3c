#include "platform/key_layout.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <cctype>
#include <memory>
#include <ostream>
#include <string>

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

// "shift+7 types slash" becomes "Shift7TypesSlash".
std::string CaseName(const ::testing::TestParamInfo<KeyCase>& info) {
  std::string name;
  bool upper = true;
  for (const char* p = info.param.what; *p != '\0'; ++p) {
    const bool alnum = std::isalnum(static_cast<unsigned char>(*p)) != 0;
    if (alnum) name.push_back(upper ? static_cast<char>(std::toupper(*p)) : *p);
    upper = !alnum;
  }
  return name;
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

// clang-format off
INSTANTIATE_TEST_SUITE_P(Us, KeyEventTest, ::testing::Values(
    KeyCase{"minus", Layout::kUs, Qt::Key_Minus, kNone, "-", 189, true},
    KeyCase{"slash", Layout::kUs, Qt::Key_Slash, kNone, "/", 191, true},
    KeyCase{"equal key", Layout::kUs, Qt::Key_Equal, kNone, "=", 187, false},
    // "+" is Shift on the "=" key: a key code without shift bits never matches it.
    KeyCase{"shift+equal types plus", Layout::kUs, Qt::Key_Plus, kShift, "+", 187, false},
    KeyCase{"shift+8 types star", Layout::kUs, Qt::Key_Asterisk, kShift, "*", '8', false},
    KeyCase{"digit 7", Layout::kUs, Qt::Key_7, kNone, "7", '7', true},
    KeyCase{"shift+7 types ampersand", Layout::kUs, Qt::Key_Ampersand, kShift, "&", '7', true},
    KeyCase{"question mark on the slash key", Layout::kUs, Qt::Key_Question, kShift, "?", 191, true},
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
    KeyCase{"F3", Layout::kUs, Qt::Key_F3, kNone, "", 114, false}), CaseName);

INSTANTIATE_TEST_SUITE_P(German, KeyEventTest, ::testing::Values(
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
    KeyCase{"altgr+q types at", Layout::kGerman, Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@", 'Q', false},
    KeyCase{"return", Layout::kGerman, Qt::Key_Return, kNone, "\r", kVkReturn, false},
    KeyCase{"keypad plus", Layout::kGerman, Qt::Key_Plus, kKeypad, "+", kVkAdd, false},
    KeyCase{"keypad slash", Layout::kGerman, Qt::Key_Slash, kKeypad, "/", kVkDivide, false},
    KeyCase{"keypad comma", Layout::kGerman, Qt::Key_Comma, kKeypad, ",", kVkDecimal, false}), CaseName);
// clang-format on

// The layout's key for a character, in the form of Windows' VkKeyScanA: shift state in the
// high byte, -1 for a character no key types.
TEST(VkKeyScanTest, KeyAndShiftState) {
  // clang-format off
  const struct { Layout layout; unsigned char c; int expected; } kCases[] = {
      {Layout::kUs, '+', 0x1BB}, {Layout::kUs, '-', 0xBD}, {Layout::kUs, '*', 0x138},
      {Layout::kUs, '/', 0xBF}, {Layout::kUs, 247, -1}, {Layout::kUs, '=', 0xBB},
      {Layout::kUs, 'a', 0x41}, {Layout::kUs, 'A', 0x141}, {Layout::kUs, ' ', 0x20},
      {Layout::kUs, 0xDF, -1}, {Layout::kUs, 0, -1}, {Layout::kGerman, '+', 0xBB},
      {Layout::kGerman, '-', 0xBD}, {Layout::kGerman, '*', 0x1BB}, {Layout::kGerman, '/', 0x137},
      {Layout::kGerman, 247, -1}, {Layout::kGerman, 0xDF, 0xDB}, {Layout::kGerman, '\\', 0x6DB},
      {Layout::kGerman, '@', 0x651}, {Layout::kGerman, 0x80, 0x645} /* the euro sign */,
      {Layout::kGerman, 'z', 0x5A}, {Layout::kGerman, 'Y', 0x159}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ(Make(c.layout)->VkKeyScan(c.c), c.expected) << NameOf(c.layout) << " " << int{c.c};
  }
}

// A layout answering from a fixed list, to reach what no real layout here does.
class FakeLayout : public KeyLayout {
 public:
  explicit FakeLayout(int division_key) : division_key_(division_key) {}
  int VkKeyScan(unsigned char c) const override { return c == 247 ? division_key_ : -1; }
  int VirtualKeyOf(const QKeyEvent&) const override { return 0; }

 private:
  int division_key_;
};

TEST(IsOperatorKeyTest, TheDivisionSignCountsOnAPlainKeyOnly) {
  EXPECT_TRUE(IsOperatorKey(0xDE, FakeLayout(0xDE)));
  EXPECT_FALSE(IsOperatorKey(0xDD, FakeLayout(0xDE)));
  EXPECT_FALSE(IsOperatorKey(0xDE, FakeLayout(0x1DE)));
  // Untypeable characters match no key code; the digit 7 counts on any layout.
  for (int code : {-1, 0xFFFF, 0}) EXPECT_FALSE(IsOperatorKey(code, FakeLayout(-1))) << code;
  EXPECT_TRUE(IsOperatorKey('7', FakeLayout(-1)));
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
