#pragma once

// Character classes and hash values of the tape language, one byte per code, and the scans
// that find where a run of one class ends. The tables are built at compile time, so every
// highlighter in the process shares one copy and nothing has to be set up before the first
// line is scanned.

#include <array>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// --- runs -------------------------------------------------------------------------------------
//
// Words in real text come in every length, so a byte-by-byte loop guesses its own exit wrong
// about once per word; classifying 16 bytes at once and counting has no such branch. Each class
// gives its byte test and, with SSE2 (every x86-64), the same test on a block: bit i of the
// answer set when byte i is in the class.

struct IdentRun {
  static bool In(unsigned char c) { return Has(c, kIdentChar); }
#if defined(__SSE2__)
  static unsigned Block(__m128i v) {
    // Case folded, letters are the 26 codes from "a"; unsigned ranges via the signed compare.
    const __m128i folded = _mm_or_si128(v, _mm_set1_epi8(0x20));
    const __m128i letter =
        _mm_cmplt_epi8(_mm_add_epi8(folded, _mm_set1_epi8(128 - 'a')), _mm_set1_epi8(-128 + 26));
    const __m128i digit =
        _mm_cmplt_epi8(_mm_add_epi8(v, _mm_set1_epi8(128 - '0')), _mm_set1_epi8(-128 + 10));
    const __m128i top = _mm_set1_epi8(static_cast<char>(0xC0));  // codes 192..255
    const __m128i high = _mm_cmpeq_epi8(_mm_and_si128(v, top), top);
    const __m128i single = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('_')),
                                        _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(0x80))));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(letter, digit), _mm_or_si128(high, single))));
  }
#endif
};

struct WhiteRun {
  static bool In(unsigned char c) { return Has(c, kWhite); }
#if defined(__SSE2__)
  static unsigned Block(__m128i v) {
    // Codes 1..32, then without the two line breaks.
    const __m128i low = _mm_cmplt_epi8(_mm_add_epi8(v, _mm_set1_epi8(127)), _mm_set1_epi8(-96));
    const __m128i breaks =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(10)), _mm_cmpeq_epi8(v, _mm_set1_epi8(13)));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_andnot_si128(breaks, low)));
  }
#endif
};

// Everything up to a line stop: the body of a comment.
struct LineRun {
  static bool In(unsigned char c) { return !Has(c, kLineStop); }
#if defined(__SSE2__)
  static unsigned Block(__m128i v) {
    const __m128i stop = _mm_or_si128(
        _mm_cmpeq_epi8(v, _mm_setzero_si128()),
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(10)), _mm_cmpeq_epi8(v, _mm_set1_epi8(13))));
    return ~static_cast<unsigned>(_mm_movemask_epi8(stop)) & 0xFFFFu;
  }
#endif
};

// The offset of the first byte at or after `pos` that is not in `Class`. `end` is the offset
// of the line's terminating 0, which no class takes in; only bytes up to it are read.
template <typename Class>
inline int RunEnd(const unsigned char* line, int pos, int end) {
#if defined(__SSE2__)
  if (end >= 15) {
    for (;;) {
      // Near the end of the line the block is the last 16 bytes, the 0 among them, so the
      // run is found in it without reading past the line.
      const int base = pos <= end - 15 ? pos : end - 15;
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + base));
      const unsigned outside = (~Class::Block(block) & 0xFFFFu) >> (pos - base);
      if (outside != 0) return pos + __builtin_ctz(outside);
      pos += 16;  // a whole block of the class: base was pos
    }
  }
#else
  static_cast<void>(end);
#endif
  while (Class::In(line[pos])) ++pos;
  return pos;
}

// The run ends of one class over a whole line, worked out once per line: bit i (of word
// i / 64) is set where byte i is outside the class, the line's terminating 0 among them. A
// run's end is then one load, a shift and a count, where RunEnd puts a vector load and a dozen
// dependent steps between one token and the next.
template <typename Class>
class LineMap {
 public:
  static constexpr int kWords = 4;
  static constexpr int kMaxEnd = kWords * 64 - 1;

  // Maps the line whose terminating 0 is at `end`. False, with nothing mapped, for lines
  // shorter than a block or longer than the map: those scan with RunEnd.
  bool Build(const unsigned char* line, int end) {
#if defined(__SSE2__)
    if (end < 15 || end > kMaxEnd) return false;
    // The block holding the 0 is read as the line's last 16 bytes and shifted into place, so
    // no load reaches past the line.
    const int last = end - 15;
    std::uint64_t stops = 0;
    for (int base = 0; base <= end; base += 16) {
      const int from = base <= last ? base : last;
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + from));
      const std::uint64_t outside = ~static_cast<std::uint64_t>(Class::Block(block)) & 0xFFFFu;
      stops |= (outside >> (base - from)) << (base & 48);
      stops_[static_cast<size_t>(base >> 6)] = stops;
      if ((base & 48) == 48) stops = 0;  // the word is full
    }
    return true;
#else
    static_cast<void>(line);
    static_cast<void>(end);
    return false;
#endif
  }

  // The first byte at or after `pos` outside the class, on a mapped line.
  int RunEnd(int pos) const {
    for (;;) {
      const std::uint64_t stops = stops_[static_cast<size_t>(pos >> 6)] >> (pos & 63);
      if (stops != 0) return pos + __builtin_ctzll(stops);
      pos = (pos | 63) + 1;
    }
  }

 private:
  std::array<std::uint64_t, kWords> stops_{};
};

}  // namespace nvx_chars
}  // namespace numvex
