#pragma once

// Shortcuts: paths in square brackets in a line, inserted from a file dialog.

#include <string>
#include <string_view>

namespace numvex {

// Whether the caret at 1-based column `x` (the character after it) stands in a shortcut:
// scanning on from there meets a "]" before any "[" (the text before the caret is not read).
bool CaretInLink(std::string_view line, int x);

// Where a shortcut chosen for the caret at column `x` goes: `line` padded with blanks up to
// the caret, the 1-based position of the new "[", and the last position of what it replaces
// (0: nothing is replaced).
struct LinkPlace {
  std::string line;
  int start = 0;
  int end = 0;
};
LinkPlace PlaceLink(std::string_view line, int x);

// The line with "[" + path + "]" put in its place.
std::string InsertLink(const LinkPlace& place, std::string_view path);

}  // namespace numvex
