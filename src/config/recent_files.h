#pragma once

// The recent-file list: keeping it in order and what the File menu shows of it.

#include <array>
#include <string>
#include <string_view>

#include "config/conf.h"

namespace numvex {

// Puts `name` (trimmed of blanks and control characters) at the top of LruFiles, removing
// its earlier entries (ASCII letters compared without case); returns false, changing
// nothing, for a name of blanks only.
bool AddRecentFile(std::string_view name);

// One File-menu item of the list.
struct RecentMenuItem {
  bool visible = false;
  std::string caption;  // "&<n> <name>" with the name's "&" doubled, so it shows literally
  int tag = 0;          // the slot, 1..4
};

struct RecentMenu {
  std::array<RecentMenuItem, kLruCount> items;  // for mnuFLRU1..mnuFLRU4
  bool delimiter_visible = false;               // mnuFDelimLRU
};

RecentMenu BuildRecentMenu(const std::array<std::string, kLruCount>& slots);

}  // namespace numvex
