#pragma once

// Character classes and hash values of the tape language, one byte per code.
// They are compile-time tables, so every highlighter in the process shares one
// copy and nothing has to be set up before the first line is scanned.

#include <array>
#include <cstdint>

namespace numvex {
namespace nvx_chars {

enum : std::uint8_t {
  kWhite = 1 << 0,       // blanks and control codes other than 0, 10 and 13
  kIdentStart = 1 << 1,  // letters, "_", code 128 and codes 192..255
  kIdentChar = 1 << 2,   // the identifier starts plus the digits
  kMarkedChar = 1 << 3,  // what an identifier in a marked stretch may take in
  kDigit = 1 << 4,
  kNumberLead = 1 << 5,  // characters a number may follow directly
  kLineStop = 1 << 6,    // 0, 10 and 13: comments, links and marked text stop here
  kMarkStop = 1 << 7,    // the line stops plus byte 160, where a marked stretch closes
};

constexpr unsigned char kCommentChar = '#';
constexpr unsigned char kMarkChar = 160;  // the no-break space of Windows-1252

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t bits = 0;
    if ((c >= 1 && c <= 9) || c == 11 || c == 12 || (c >= 14 && c <= 32)) bits |= kWhite;
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (letter || c == '_' || c == 128 || c >= 192) bits |= kIdentStart | kIdentChar;
    if (c >= '0' && c <= '9') bits |= kDigit | kIdentChar;
    if (c >= 32 && c != kCommentChar && c != kMarkChar) bits |= kMarkedChar;
    if (c == ' ' || c == '(' || c == ')' || c == '*' || c == '+' || c == '-' || c == '/' ||
        c == '^') {
      bits |= kNumberLead;
    }
    if (c == 0 || c == 10 || c == 13) bits |= kLineStop | kMarkStop;
    if (c == kMarkChar) bits |= kMarkStop;
    t[c] = bits;
  }
  return t;
}

// Letters count by their place in the alphabet whatever their case, so sums
// and comparisons over these values ignore case; digits and punctuation count 0.
constexpr std::array<std::uint8_t, 256> MakeHashValues() {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    if (c >= 'A' && c <= 'Z') {
      t[c] = static_cast<std::uint8_t>(c - 'A' + 1);
    } else if (c >= 'a' && c <= 'z') {
      t[c] = static_cast<std::uint8_t>(c - 'a' + 1);
    } else if (c == '_') {
      t[c] = 31;
    } else if (c == 128) {
      t[c] = 64;
    } else if (c >= 192) {
      t[c] = static_cast<std::uint8_t>(c - 64);
    }
  }
  return t;
}

inline constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();
inline constexpr std::array<std::uint8_t, 256> kHashValues = MakeHashValues();

inline constexpr bool Has(unsigned char c, std::uint8_t bits) { return (kClasses[c] & bits) != 0; }

}  // namespace nvx_chars
}  // namespace numvex
