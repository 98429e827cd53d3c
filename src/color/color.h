#pragma once

// Colour values as the program stores them: red in the lowest byte, then green, then blue. A top
// byte of 0xFF names a system colour by its index in the low byte; `clNone` means "no colour of
// its own". Plain integers, so the highlighters and the settings need no GUI library for them.

#include <cstdint>

namespace numvex {

using TColor = std::uint32_t;

constexpr TColor MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) |
         (static_cast<TColor>(blue) << 16);
}
constexpr bool IsSystemColor(TColor color) { return (color >> 24) == 0xFF; }
constexpr int SystemColorIndex(TColor color) { return static_cast<int>(color & 0xFF); }
constexpr std::uint8_t ColorRed(TColor color) { return color & 0xFF; }
constexpr std::uint8_t ColorGreen(TColor color) { return (color >> 8) & 0xFF; }
constexpr std::uint8_t ColorBlue(TColor color) { return (color >> 16) & 0xFF; }

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// System colours (index in the low byte, as the desktop's colour table numbers them).
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clHighlightText = 0xFF00000E;
constexpr TColor clBtnFace = 0xFF00000F;

}  // namespace numvex
