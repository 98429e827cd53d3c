#include "platform/key_layout.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <memory>

#include "platform/virtual_keys.h"

namespace numvex {
namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier, kShift = Qt::ShiftModifier,
                                kPad = Qt::KeypadModifier, kCtrl = Qt::ControlModifier,
                                kAltGr = Qt::ControlModifier | Qt::AltModifier;

// A key released on the US (us = true) or German layout, as QTest would synthesise it, and
// the virtual key it names and whether that key types an operator.
TEST(KeyLayoutTest, VirtualKeyAndOperatorKeyOfAnEvent) {
  // clang-format off
  const struct { bool us; int key; Qt::KeyboardModifiers mods; const char* text; int vk; bool op; } kCases[] = {
      {true, Qt::Key_Minus, kNone, "-", 189, true},       {true, Qt::Key_Slash, kNone, "/", 191, true},
      {true, Qt::Key_Equal, kNone, "=", 187, false},
      {true, Qt::Key_Plus, kShift, "+", 187, false},      // "+" is Shift on "=": no plain-key operator
      {true, Qt::Key_Asterisk, kShift, "*", '8', false},  {true, Qt::Key_7, kNone, "7", '7', true},
      {true, Qt::Key_Ampersand, kShift, "&", '7', true},  {true, Qt::Key_Question, kShift, "?", 191, true},
      {true, Qt::Key_A, kCtrl, "\x01", 'A', false},       {true, Qt::Key_Return, kNone, "\r", kVkReturn, false},
      {true, Qt::Key_Enter, kPad, "\r", kVkReturn, false}, {true, Qt::Key_Space, kNone, " ", kVkSpace, false},
      {true, Qt::Key_Plus, kPad, "+", kVkAdd, false},     {true, Qt::Key_Minus, kPad, "-", kVkSubtract, false},
      {true, Qt::Key_Asterisk, kPad, "*", kVkMultiply, false}, {true, Qt::Key_Slash, kPad, "/", kVkDivide, false},
      {true, Qt::Key_0, kPad, "0", kVkNumpad0, false},    {true, Qt::Key_7, kPad, "7", kVkNumpad0 + 7, false},
      {true, Qt::Key_Home, kPad, "", 36, false},          {true, Qt::Key_F3, kNone, "", 114, false},
      {false, Qt::Key_Plus, kNone, "+", 187, true},
      {false, Qt::Key_Asterisk, kShift, "*", 187, true},  // on the "+" key, which types "+" plain
      {false, Qt::Key_Minus, kNone, "-", 189, true},      {false, Qt::Key_Slash, kShift, "/", '7', true},
      {false, Qt::Key_NumberSign, kNone, "#", 191, false}, {false, Qt::Key_Udiaeresis, kNone, "ü", 186, false},
      {false, Qt::Key_Equal, kShift, "=", '0', false},    {false, Qt::Key_Z, kNone, "z", 'Z', false},
      {false, Qt::Key_At, kAltGr, "@", 'Q', false},       {false, Qt::Key_Comma, kPad, ",", kVkDecimal, false}};
  // clang-format on
  for (const auto& c : kCases) {
    const std::unique_ptr<KeyLayout> layout = c.us ? UsLayout() : GermanLayout();
    const int vk = layout->VirtualKeyOf(
        QKeyEvent(QEvent::KeyRelease, c.key, c.mods, QString::fromUtf8(c.text)));
    EXPECT_EQ(vk, c.vk) << (c.us ? "US " : "German ") << c.text << " " << c.key;
    EXPECT_EQ(IsOperatorKey(vk, *layout), c.op) << (c.us ? "US " : "German ") << c.text;
  }
}

// The key for a character in the form of Windows' VkKeyScanA: shift state in the high byte,
// -1 for a character no key types. 0x80 is the euro sign, 0xDF "ß".
TEST(KeyLayoutTest, VkKeyScanGivesKeyAndShiftState) {
  // clang-format off
  const struct { bool us; unsigned char c; int expected; } kCases[] = {
      {true, '+', 0x1BB}, {true, '-', 0xBD}, {true, '*', 0x138}, {true, '/', 0xBF}, {true, '=', 0xBB},
      {true, 'a', 0x41}, {true, 'A', 0x141}, {true, ' ', 0x20}, {true, 247, -1}, {true, 0xDF, -1},
      {true, 0, -1}, {false, '+', 0xBB}, {false, '*', 0x1BB}, {false, '/', 0x137}, {false, 247, -1},
      {false, 0xDF, 0xDB}, {false, '\\', 0x6DB}, {false, '@', 0x651}, {false, 0x80, 0x645},
      {false, 'z', 0x5A}, {false, 'Y', 0x159}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ((c.us ? UsLayout() : GermanLayout())->VkKeyScan(c.c), c.expected)
        << (c.us ? "US " : "German ") << int{c.c};
  }
}

// A layout typing only the division sign, on the given key, to reach what no real layout
// here does: the sign counts on a plain key only.
class DivisionOnly : public KeyLayout {
 public:
  explicit DivisionOnly(int key) : key_(key) {}
  int VkKeyScan(unsigned char c) const override { return c == 247 ? key_ : -1; }
  int VirtualKeyOf(const QKeyEvent&) const override { return 0; }
  int key_;
};

TEST(KeyLayoutTest, IsOperatorKeyForTheDivisionSignAndUntypeableCharacters) {
  // clang-format off
  const struct { int code, division_key; bool expected; } kCases[] = {
      {0xDE, 0xDE, true}, {0xDD, 0xDE, false}, {0xDE, 0x1DE, false}, {-1, -1, false},
      {0xFFFF, -1, false}, {0, -1, false}, {'7', -1, true}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ(IsOperatorKey(c.code, DivisionOnly(c.division_key)), c.expected) << c.code;
  }
}

}  // namespace
}  // namespace numvex
