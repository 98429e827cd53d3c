#include "platform/table_key_layout.h"

#include <QKeyEvent>
#include <iterator>

#include "platform/virtual_keys.h"

namespace numvex {

namespace {

// The main block of a US keyboard, letters aside.
constexpr KeyRow kUsRows[] = {
    {'1', '1', '!', 0},  {'2', '2', '@', 0},      {'3', '3', '#', 0},  {'4', '4', '$', 0},
    {'5', '5', '%', 0},  {'6', '6', '^', 0},      {'7', '7', '&', 0},  {'8', '8', '*', 0},
    {'9', '9', '(', 0},  {'0', '0', ')', 0},      {189, '-', '_', 0},  {187, '=', '+', 0},
    {219, '[', '{', 0},  {221, ']', '}', 0},      {220, '\\', '|', 0}, {186, ';', ':', 0},
    {222, '\'', '"', 0}, {192, '`', '~', 0},      {188, ',', '<', 0},  {190, '.', '>', 0},
    {191, '/', '?', 0},  {kVkSpace, ' ', ' ', 0},
};

// German QWERTZ: "+" and "-" plain, "*" on Shift with "+", "/" on Shift with 7; the
// VK_OEM_* codes where Windows puts these keys.
constexpr KeyRow kGermanRows[] = {
    {'1', '1', '!', 0},    {'2', '2', '"', 0xB2},   {'3', '3', 0xA7, 0xB3}, {'4', '4', '$', 0},
    {'5', '5', '%', 0},    {'6', '6', '&', 0},      {'7', '7', '/', '{'},   {'8', '8', '(', '['},
    {'9', '9', ')', ']'},  {'0', '0', '=', '}'},    {219, 0xDF, '?', '\\'}, {221, 0xB4, '`', 0},
    {220, '^', 0xB0, 0},   {186, 0xFC, 0xDC, 0},    {187, '+', '*', '~'},   {192, 0xF6, 0xD6, 0},
    {222, 0xE4, 0xC4, 0},  {191, '#', '\'', 0},     {226, '<', '>', '|'},   {188, ',', ';', 0},
    {190, '.', ':', 0},    {189, '-', '_', 0},      {'Q', 'q', 'Q', '@'},   {'E', 'e', 'E', 0x80},
    {'M', 'm', 'M', 0xB5}, {kVkSpace, ' ', ' ', 0},
};

constexpr int kAltGrState = kShiftStateControl | kShiftStateAlt;

}  // namespace

int TableKeyLayout::VkKeyScan(unsigned char c) const {
  if (c == 0) return -1;
  // Fewest modifiers first, as the keyboard logic wants the plain key when there is one.
  for (std::size_t i = 0; i < count_; ++i) {
    if (rows_[i].plain == c) return rows_[i].vk;
  }
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 'A' && c <= 'Z') return kShiftStateShift | c;
  for (std::size_t i = 0; i < count_; ++i) {
    if (rows_[i].shifted == c) return kShiftStateShift | rows_[i].vk;
  }
  for (std::size_t i = 0; i < count_; ++i) {
    if (rows_[i].alt_gr == c && c != 0) return kAltGrState | rows_[i].vk;
  }
  return -1;
}

int TableKeyLayout::VirtualKeyOf(const QKeyEvent& event) const {
  if (int vk = LayoutIndependentVirtualKey(event)) return vk;
  return VirtualKeyFromCharacter(event, *this);
}

std::unique_ptr<KeyLayout> UsLayout() {
  return std::make_unique<TableKeyLayout>(kUsRows, std::size(kUsRows));
}

std::unique_ptr<KeyLayout> GermanLayout() {
  return std::make_unique<TableKeyLayout>(kGermanRows, std::size(kGermanRows));
}

}  // namespace numvex
