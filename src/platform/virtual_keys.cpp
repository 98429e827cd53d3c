#include "platform/virtual_keys.h"

#include <QKeyEvent>
#include <optional>
#include <string>

#include "platform/ansi_text.h"
#include "platform/key_layout.h"

namespace numvex {

namespace {

// With NumLock off the keypad digits are cursor keys; Qt then reports those keys with the
// keypad flag, and they map like the cursor block below.
int KeypadVirtualKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return kVkNumpad0 + (key - Qt::Key_0);
  switch (key) {
    case Qt::Key_Asterisk:
      return kVkMultiply;
    case Qt::Key_Plus:
      return kVkAdd;
    case Qt::Key_Minus:
      return kVkSubtract;
    case Qt::Key_Slash:
      return kVkDivide;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return kVkDecimal;
    default:
      return 0;
  }
}

int OtherVirtualKey(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kVkReturn;
    case Qt::Key_Backspace:
      return kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kVkTab;
    case Qt::Key_Escape:
      return kVkEscape;
    case Qt::Key_Space:
      return kVkSpace;
    case Qt::Key_Shift:
      return kVkShift;
    case Qt::Key_Control:
      return kVkControl;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
      return kVkMenu;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Print:
      return 44;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Meta:
      return 91;
    case Qt::Key_Menu:
      return 93;
    case Qt::Key_NumLock:
      return 144;
    case Qt::Key_ScrollLock:
      return 145;
    default:
      return 0;
  }
}

}  // namespace

int LayoutIndependentVirtualKey(const QKeyEvent& event) {
  if (event.modifiers() & Qt::KeypadModifier) {
    if (int vk = KeypadVirtualKey(event.key())) return vk;
  }
  return OtherVirtualKey(event.key());
}

int VirtualKeyFromCharacter(const QKeyEvent& event, const KeyLayout& layout) {
  auto key_of = [&layout](unsigned char c) {
    const int key = layout.VkKeyScan(c);
    return key == -1 ? 0 : key & 0xFF;
  };
  // The typed character names the key whatever the shift state; with Ctrl it is a control
  // character, and Qt's key code, which is the key's character for Latin-1 keys, steps in.
  std::optional<std::string> text = ToAnsi(event.text());
  if (text && text->size() == 1 && static_cast<unsigned char>((*text)[0]) > ' ') {
    if (int vk = key_of(static_cast<unsigned char>((*text)[0]))) return vk;
  }
  const int key = event.key();
  if (key > ' ' && key <= 0xFF) return key_of(static_cast<unsigned char>(key));
  return 0;
}

}  // namespace numvex
