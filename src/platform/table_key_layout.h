#pragma once

#include <cstddef>

#include "platform/key_layout.h"

namespace numvex {

// One key of a fixed layout: its virtual-key code and the characters (Windows-1252) it types
// plain, with Shift and with AltGr; 0 where it types none. Letters a..z need no row.
struct KeyRow {
  int vk;
  unsigned char plain;
  unsigned char shifted;
  unsigned char alt_gr;
};

// A layout from a table of rows: the fixed layouts for tests, and the stand-in where the
// system cannot tell its layout.
class TableKeyLayout final : public KeyLayout {
 public:
  TableKeyLayout(const KeyRow* rows, std::size_t count) : rows_(rows), count_(count) {}

  int VkKeyScan(unsigned char c) const override;
  int VirtualKeyOf(const QKeyEvent& event) const override;

 private:
  const KeyRow* rows_;
  std::size_t count_;
};

}  // namespace numvex
