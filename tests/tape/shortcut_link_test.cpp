#include "tape/shortcut_link.h"

#include <gtest/gtest.h>

namespace numvex {
namespace {

TEST(ShortcutLinkTest, WhereAChosenPathGoes) {
  // {line, caret column (1-based: the character after the caret), in a shortcut, result}
  // clang-format off
  const struct { const char* line; int x; bool in_link; const char* result; } kCases[] = {
      {"see [C:\\old.txt] here", 8, true, "see [/new] here"},   // the whole shortcut replaced
      {"see [C:\\old.txt] here", 5, false, "see [/new][C:\\old.txt] here"},  // before "["
      {"see [a] here", 9, false, "see [a] [/new]here"},        // after it: a new one
      {"ab", 6, false, "ab   [/new] "},                        // past the end: blanks first
      {"x [a b", 5, false, "x [/new][a b"},                    // "[" without "]": before it
      {"x ]y]", 3, true, "x [/new]y]"},                        // caret to the "]" goes
      {"", 1, false, "[/new] "}};
  // clang-format on
  for (const auto& c : kCases) {
    EXPECT_EQ(CaretInLink(c.line, c.x), c.in_link) << c.line << " @" << c.x;
    EXPECT_EQ(InsertLink(PlaceLink(c.line, c.x), "/new"), c.result) << c.line << " @" << c.x;
  }
}

}  // namespace
}  // namespace numvex
