#pragma once

class QKeyEvent;

namespace numvex {

class KeyLayout;

// Windows virtual-key codes: the key codes the window's key handlers compare with, on every
// platform, so the keyboard logic reads the same everywhere.
constexpr int kVkBack = 8;
constexpr int kVkTab = 9;
constexpr int kVkReturn = 13;  // also the keypad's Enter
constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kVkMenu = 18;  // Alt
constexpr int kVkEscape = 27;
constexpr int kVkSpace = 32;
constexpr int kVkNumpad0 = 96;  // ... kVkNumpad0 + 9 for the keypad's 9
constexpr int kVkMultiply = 106;
constexpr int kVkAdd = 107;
constexpr int kVkSubtract = 109;
constexpr int kVkDecimal = 110;
constexpr int kVkDivide = 111;
constexpr int kVkOemPlus = 187;  // the key carrying "+", wherever the layout puts it
constexpr int kVkOemComma = 188;
constexpr int kVkOemMinus = 189;
constexpr int kVkOemPeriod = 190;

// Shift-state bits in the high byte of a character-to-key translation.
constexpr int kShiftStateShift = 0x100;
constexpr int kShiftStateControl = 0x200;
constexpr int kShiftStateAlt = 0x400;

// The virtual-key code of keys that are the same on every layout: the numeric keypad (told
// apart by Qt::KeypadModifier), Enter, Space, Tab, Backspace, Escape, Delete, the cursor
// block, F1..F24, the modifiers and the locks. 0 for a key whose code depends on the layout
// (digits, letters, punctuation).
int LayoutIndependentVirtualKey(const QKeyEvent& event);

// The key of `layout` that types the event's character (or, for Ctrl combinations, Qt's
// key code): how a layout reads events that carry no native key code. 0 when none does.
int VirtualKeyFromCharacter(const QKeyEvent& event, const KeyLayout& layout);

}  // namespace numvex
