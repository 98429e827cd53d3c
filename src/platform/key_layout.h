#pragma once

#include <memory>

class QKeyEvent;

namespace numvex {

// The keyboard layout as the keyboard logic sees it: which key (and shift state) types a
// character, and which key an event came from, both in Windows virtual-key codes
// (platform/virtual_keys.h), so that an operator typed on the main keyboard is recognised
// the same way on every system.
class KeyLayout {
 public:
  virtual ~KeyLayout();

  // The layout's key for character `c` (Windows-1252): the virtual-key code in the low byte,
  // the shift state in the high byte (kShiftState*); -1 when the layout cannot type c.
  virtual int VkKeyScan(unsigned char c) const = 0;

  // The virtual-key code of the physical key of a press or release: keypad operators
  // 106/107/109/111, keypad digits 96..105, Enter 13 (also the keypad's), main digits
  // 48..57, letters 65..90, punctuation keys at the VK_OEM_* codes of this layout;
  // 0 for a key without a code.
  virtual int VirtualKeyOf(const QKeyEvent& event) const = 0;
};

// Whether a released key counts as an operator key: its code equals the layout's key for
// "+", "-", "*", "/" or "÷" with no modifier (a key code carries no shift bits, so a
// character that needs Shift never matches), or it is the main keyboard's 7, where several
// layouts put "/" on Shift. The keypad's operator keys are the caller's to check.
bool IsOperatorKey(int key_code, const KeyLayout& layout);

// Fixed layouts for tests (and for systems that cannot tell): a US and a German (QWERTZ)
// keyboard. Events are read from Qt's key, text and keypad flag alone, as synthesised
// events carry no native codes.
std::unique_ptr<KeyLayout> UsLayout();
std::unique_ptr<KeyLayout> GermanLayout();

// The layout the user types with: on X11 the X server's core keyboard through xkbcommon,
// following layout switches; on Windows the system's translation. Without either (offscreen,
// Wayland) the US layout. Needs the QGuiApplication to exist.
std::unique_ptr<KeyLayout> SystemKeyLayout();

}  // namespace numvex
