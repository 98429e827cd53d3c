#include "config/recent_files.h"

namespace numvex {
namespace {

bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameFile(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Slot `p` takes `text`; an occupied slot first pushes its text one further down, and the
// push stops at the first empty slot or falls off the end.
void InsertRecentFile(size_t p, std::string text) {
  if (p >= LruFiles.size()) return;
  if (!LruFiles[p].empty()) InsertRecentFile(p + 1, std::move(LruFiles[p]));
  LruFiles[p] = std::move(text);
}

}  // namespace

bool AddRecentFile(std::string_view name) {
  while (!name.empty() && Blank(name.front())) name.remove_prefix(1);
  while (!name.empty() && Blank(name.back())) name.remove_suffix(1);
  if (name.empty()) return false;
  for (std::string& slot : LruFiles) {
    if (SameFile(slot, name)) slot.clear();
  }
  InsertRecentFile(0, std::string(name));
  return true;
}

RecentMenu BuildRecentMenu(const std::array<std::string, kLruCount>& slots) {
  RecentMenu menu;
  int shown = 0;
  for (size_t i = 0; i < slots.size(); ++i) {
    if (slots[i].empty()) continue;
    RecentMenuItem& item = menu.items[i];
    item.visible = true;
    item.tag = static_cast<int>(i) + 1;
    item.caption = "&" + std::to_string(++shown) + " ";
    // "&" would mark a mnemonic and a tab would start the shortcut column; other control
    // characters cannot be shown at all. The path itself stays in the list untouched.
    for (char c : slots[i]) {
      const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
      item.caption += control ? '?' : c;
      if (c == '&') item.caption += '&';
    }
  }
  menu.delimiter_visible = shown > 0;
  return menu;
}

}  // namespace numvex
