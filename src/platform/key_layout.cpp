#include "platform/key_layout.h"

namespace numvex {

KeyLayout::~KeyLayout() = default;

bool IsOperatorKey(int key_code, const KeyLayout& layout) {
  constexpr int kMainDigit7 = '7';
  if (key_code == kMainDigit7) return true;
  constexpr unsigned char kOperators[] = {'+', '-', '*', '/', 247};
  for (unsigned char c : kOperators) {
    const int key = layout.VkKeyScan(c);
    if (key != -1 && key == key_code) return true;
  }
  return false;
}

}  // namespace numvex
