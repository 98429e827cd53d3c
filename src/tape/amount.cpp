#include "tape/amount.h"

#include <algorithm>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "tape/pow10.h"

namespace numvex {

namespace {

// Powers of ten up to 10^27 are exact in the 64-bit mantissa of the extended type.
constexpr int kExactPow10 = 27;

struct Pow10Values {
  Amount values[kExactPow10 + 1];
  Pow10Values() {
    Amount p = 1;
    for (int i = 0; i <= kExactPow10; ++i) {
      values[i] = p;
      p *= 10;
    }
  }
};
const Pow10Values kPow10Values;

inline const Amount* Pow10Table() { return kPow10Values.values; }

// value * 10^exp beyond the exact powers: several roundings, but always the same ones.
Amount ScaleByPow10Far(Amount value, int exp) {
  const Amount* p = Pow10Table();
  while (exp > kExactPow10) {
    value *= p[kExactPow10];
    exp -= kExactPow10;
    if (std::isinf(value)) return value;
  }
  while (exp < -kExactPow10) {
    value /= p[kExactPow10];
    exp += kExactPow10;
    if (value == 0) return value;
  }
  return exp >= 0 ? value * p[exp] : value / p[-exp];
}

// value * 10^exp, one rounding inside the exact range, deterministic outside it.
inline Amount ScaleByPow10(Amount value, int exp) {
  if (exp >= 0 && exp <= kExactPow10) return value * Pow10Table()[exp];
  if (exp < 0 && exp >= -kExactPow10) return value / Pow10Table()[-exp];
  return ScaleByPow10Far(value, exp);
}

// The binary exponent of a positive finite amount: magnitude = f * 2^e, 0.5 <= f < 1.
inline int BinaryExponent(Amount magnitude) {
#if LDBL_MANT_DIG == 64 && (defined(__x86_64__) || defined(__i386__))
  // The x87 extended format keeps a 15-bit biased exponent in bytes 8 and 9.
  uint16_t top;
  std::memcpy(&top, reinterpret_cast<const char*>(&magnitude) + 8, sizeof(top));
  int biased = top & 0x7fff;
  if (biased != 0) return biased - 16382;
#endif
  int e = 0;
  std::frexp(magnitude, &e);
  return e;
}

// A decimal number digits * 10^exp with no trailing zeros in digits. Reading and
// writing both go through this form, so a written amount reads back to exactly the
// value the writer computed.
struct Decimal {
  uint64_t digits = 0;
  int exp = 0;
};

Decimal Normalized(uint64_t digits, int exp) {
  if (digits == 0) return {0, 0};
  while (digits % 10 == 0) {
    digits /= 10;
    ++exp;
  }
  return {digits, exp};
}

Amount ToAmount(Decimal d) {
  if (d.digits == 0) return 0;
  return ScaleByPow10(static_cast<Amount>(d.digits), d.exp);
}

// The number of decimal digits of v (1 for 0).
inline int DigitCount(uint64_t v) {
  // The bit length times log10(2) is the count or one less.
  const int n = ((64 - __builtin_clzll(v | 1)) * 1233) >> 12;
  return v == 0 ? 1 : n + (v >= kPow10U64[n] ? 1 : 0);
}

// The magnitude as 18 significant digits: digits (10^17 <= digits < 10^18) and the
// decimal exponent of the first digit. magnitude must be finite and positive.
void EighteenDigits(Amount magnitude, uint64_t* digits, int* lead_exp) {
  int bin_exp = BinaryExponent(magnitude);
  // floor((bin_exp - 1) * log10(2)) in integers; off by at most one, fixed below.
  int e = ((bin_exp - 1) * 78913) >> 18;
  for (int attempt = 0; attempt < 4; ++attempt) {
    // llrint rounds in the current mode (to nearest) without switching the FPU's
    // control word, unlike a cast or nearbyint.
    Amount scaled = ScaleByPow10(magnitude, 17 - e);
    if (scaled >= static_cast<Amount>(kPow10U64[18])) {  // also keeps llrint in range
      ++e;
      continue;
    }
    long long rounded = std::llrint(scaled);
    if (rounded >= static_cast<long long>(kPow10U64[18])) {
      ++e;
      continue;
    }
    if (rounded < static_cast<long long>(kPow10U64[17])) {
      --e;
      continue;
    }
    *digits = static_cast<uint64_t>(rounded);
    *lead_exp = e;
    return;
  }
  // Scaling noise right at a power of ten: settle on the boundary value.
  *digits = kPow10U64[17];
  *lead_exp = e;
}

// Keeps the first `keep` of the 18 digits, rounding half away from zero on the
// decimal digits. Returns the kept number; the value is kept * 10^(lead_exp-keep+1).
uint64_t KeepDigits(uint64_t digits, int keep) {
  if (keep >= 18) return digits;
  if (keep < 0) return 0;
  // One division by a power of ten that is not known here; the rest divide by 10.
  const uint64_t to_first_dropped = digits / kPow10U64[17 - keep];
  uint64_t kept = to_first_dropped / 10;
  if (to_first_dropped % 10 >= 5) ++kept;
  return kept;
}

// Two-digit pieces for writing integers.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the `n` decimal digits of v (v < 10^n) to at[0..n).
inline void WriteDigits(uint64_t v, int n, char* at) {
  while (n >= 2) {
    const size_t pair = static_cast<size_t>(v % 100) * 2;
    v /= 100;
    n -= 2;
    at[n] = kDigitPairs[pair];
    at[n + 1] = kDigitPairs[pair + 1];
  }
  if (n == 1) at[0] = static_cast<char>('0' + v);
}

// Lays out kept * 10^kept_exp in fixed form into buf and returns the length: the integer
// part ("0" when there is none) grouped by threes, then, unless it is rounded to 0
// decimals, the decimal separator and the fraction padded with zeros to `decimals`
// (rounded) or 9 places, of which an unrounded text drops the trailing zeros past
// `decimals`. A minus sign stands in front of a negative amount that is not 0. The
// integer part has at most 18 digits, the fraction at most the places it is padded to.
size_t WriteFixed(uint64_t kept, int kept_exp, bool negative, bool rounded, int decimals,
                  const Separators& seps, char* buf) {
  // The digits of kept and zeros after them, enough to copy whole blocks from.
  char digits[40];
  std::memset(digits, '0', sizeof(digits));
  int n = 0;
  if (kept != 0) {
    n = DigitCount(kept);
    WriteDigits(kept, n, digits);
  }
  // The integer part is the first int_len digits and int_zeros zeros; the fraction is
  // frac_zeros zeros and the digits after int_len.
  int int_len = 0;
  int int_zeros = 0;
  int frac_zeros = 0;
  if (n != 0) {
    if (kept_exp >= 0) {
      int_len = n;
      int_zeros = kept_exp;
    } else if (n + kept_exp > 0) {
      int_len = n + kept_exp;
    } else {
      frac_zeros = -(n + kept_exp);
    }
  }
  char* p = buf;
  if (negative && kept != 0) *p++ = '-';
  const int int_count = int_len + int_zeros;
  if (int_count == 0) {
    *p++ = '0';
  } else {
    // Groups of three, the first one to three long; the zeros after the integer digits
    // are in place already, as there are no fraction digits then.
    const char* d = digits;
    int group = int_count - 3 * ((int_count - 1) / 3);
    for (int left = int_count; left > 0; left -= group, group = 3) {
      if (left != int_count) *p++ = seps.thousands;
      std::memcpy(p, d, 3);  // what lies past the group is written over
      p += group;
      d += group;
    }
  }
  if (rounded && decimals == 0) return static_cast<size_t>(p - buf);
  *p++ = seps.decimal;
  char* const fraction = p;
  std::memset(fraction, '0', 16);
  std::memcpy(fraction + frac_zeros, digits + int_len, 16);
  int length = frac_zeros + n - int_len;
  if (!rounded) {
    while (length > 0 && fraction[length - 1] == '0') --length;
  }
  if (length < decimals) length = decimals;
  return static_cast<size_t>(fraction + length - buf);
}

size_t WriteScientific(uint64_t digits18, int lead_exp, char decimal, char* buf, Decimal* value) {
  uint64_t kept = KeepDigits(digits18, 15);
  if (kept >= kPow10U64[15]) {
    kept /= 10;
    ++lead_exp;
  }
  Decimal d = Normalized(kept, lead_exp - 14);
  char digits[24] = {};
  const int n = DigitCount(d.digits);
  WriteDigits(d.digits, n, digits);
  char* p = buf;
  *p++ = digits[0];
  if (n > 1) {
    *p++ = decimal;
    std::memcpy(p, digits + 1, static_cast<size_t>(n - 1));
    p += n - 1;
  }
  *p++ = 'E';
  if (lead_exp < 0) *p++ = '-';
  const unsigned mag = static_cast<unsigned>(lead_exp < 0 ? -lead_exp : lead_exp);
  const int exp_len = DigitCount(mag);
  WriteDigits(mag, exp_len, p);
  p += exp_len;
  *value = d;
  return static_cast<size_t>(p - buf);
}

}  // namespace

Amount AmountOfDecimal(uint64_t digits, int exp) { return ToAmount(Normalized(digits, exp)); }

bool ParseAmount(std::string_view text, char decimal_sep, Amount* value) {
  DecimalAmount read;
  return ParseAmount(text, decimal_sep, value, &read);
}

bool ParseAmount(std::string_view text, char decimal_sep, Amount* value, DecimalAmount* read) {
  *value = 0;
  *read = {};
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  uint64_t digits = 0;
  int significant = 0;
  int exp = 0;
  bool any_digit = false;
  bool seen_decimal = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      any_digit = true;
      if (significant < 19) {
        if (digits != 0 || c != '0') {
          digits = digits * 10 + static_cast<uint64_t>(c - '0');
          ++significant;
        }
        if (seen_decimal) --exp;
      } else if (!seen_decimal) {
        ++exp;  // digits past the 19th only scale the integer part
      }
    } else if (c == decimal_sep && !seen_decimal) {
      seen_decimal = true;
    } else {
      break;
    }
  }
  if (!any_digit) return false;
  if (i < text.size()) {
    if (text[i] != 'E' && text[i] != 'e') return false;
    ++i;
    bool exp_negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      exp_negative = text[i] == '-';
      ++i;
    }
    if (i >= text.size()) return false;
    long written = 0;
    for (; i < text.size(); ++i) {
      char c = text[i];
      if (c < '0' || c > '9') return false;
      if (written < 100000) written = written * 10 + (c - '0');
    }
    exp += static_cast<int>(exp_negative ? -written : written);
  }
  const Decimal d = Normalized(digits, exp);
  Amount result = ToAmount(d);
  if (std::isinf(result) || std::isnan(result)) return false;
  *value = negative ? -result : result;
  *read = {d.digits, d.exp, negative};
  return true;
}

size_t WriteAmount(Amount value, const Separators& seps, int decimals, bool rounded, char* buf,
                   Amount* canonical) {
  if (decimals < 0) decimals = 0;
  if (decimals > 9) decimals = 9;
  Decimal result;  // the written value, without sign
  bool negative = value < 0;
  Amount magnitude = negative ? -value : value;

  uint64_t digits18 = 0;
  int lead_exp = 0;
  bool zero = !(magnitude > 0);
  if (!zero) EighteenDigits(magnitude, &digits18, &lead_exp);

  // Fixed form: keep the digits down to the wanted decimal place.
  uint64_t kept = 0;
  int kept_exp = 0;  // kept * 10^kept_exp
  int fraction_wanted = rounded ? decimals : 9;
  if (!zero) {
    int keep = lead_exp + 1 + fraction_wanted;
    if (!rounded && keep > 15) keep = 15;
    if (keep >= 18) {
      kept = digits18;
      kept_exp = lead_exp - 17;
    } else if (keep >= 0) {
      kept = KeepDigits(digits18, keep);
      kept_exp = lead_exp - keep + 1;
    }
  }
  int int_digit_count = 1;
  if (kept != 0) int_digit_count = DigitCount(kept) + kept_exp;
  size_t length = 0;
  if (int_digit_count > (rounded ? 18 : 15)) {
    if (negative) buf[length++] = '-';
    length += WriteScientific(digits18, lead_exp, seps.decimal, buf + length, &result);
  } else {
    length = WriteFixed(kept, kept_exp, negative, rounded, decimals, seps, buf);
    result = Normalized(kept, kept_exp);
  }
  if (canonical != nullptr) {
    Amount v = ToAmount(result);
    *canonical = (negative && result.digits != 0) ? -v : v;
  }
  return length;
}

size_t WriteDigitsRead(const DecimalAmount& read, bool minus, const Separators& seps, int decimals,
                       char* buf) {
  // Up to 15 significant digits, 15 integer digits and 9 decimals, WriteAmount finds
  // exactly the digits read (the reasoning in canonical_entry.cpp) and keeps them all:
  // it writes them as they stand, and they read back as the amount read.
  const Decimal d = Normalized(read.digits, read.exp);
  const int n = DigitCount(d.digits);
  if (n > 15 || n + d.exp > 15 || d.exp < -9) return 0;
  // WriteFixed's layout, written from the last digit back: the fraction has no trailing
  // zero, so it is only padded to `decimals`.
  const int int_count = n + d.exp > 0 ? n + d.exp : 0;
  const int frac_count = d.exp < 0 ? -d.exp : 0;
  minus = minus && d.digits != 0;
  const int int_text = int_count == 0 ? 1 : int_count + (int_count - 1) / 3;
  char* const fraction = buf + (minus ? 1 : 0) + int_text + 1;
  char* p = fraction + frac_count;
  uint64_t v = d.digits;
  while (p > fraction) {
    *--p = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  *--p = seps.decimal;
  if (int_count == 0) *--p = '0';
  for (int k = 0; k < int_count; ++k) {
    if (k > 0 && k % 3 == 0) *--p = seps.thousands;
    if (k < d.exp) {
      *--p = '0';
    } else {
      *--p = static_cast<char>('0' + v % 10);
      v /= 10;
    }
  }
  if (minus) *--p = '-';
  p = fraction + frac_count;
  for (int k = frac_count; k < std::clamp(decimals, 0, 9); ++k) *p++ = '0';
  return static_cast<size_t>(p - buf);
}

void AppendAmount(Amount value, const Separators& seps, int decimals, bool rounded,
                  std::string* out, Amount* canonical) {
  char buf[kMaxAmountText];
  out->append(buf, WriteAmount(value, seps, decimals, rounded, buf, canonical));
}

std::string FormatAmount(Amount value, const Separators& seps, int decimals, bool rounded,
                         Amount* canonical) {
  std::string out;
  AppendAmount(value, seps, decimals, rounded, &out, canonical);
  return out;
}

}  // namespace numvex
