// Reading amounts, and the round trip from an amount to its text and back.
#include "tape/amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "tape/pow10.h"
#include "tape/separators.h"
#include "tape/tape_engine.h"

namespace numvex {
namespace {

TEST(ParseAmount, Reads) {
  const struct {
    const char* text;
    bool ok;
    long double value;
  } cases[] = {
      // clang-format off
      {"0", true, 0}, {"45", true, 45}, {"-5", true, -5}, {"+5", true, 5}, {"0.5", true, 0.5L},
      {"5.", true, 5}, {"1e5", true, 100000}, {"1E+2", true, 100}, {"25e-1", true, 2.5L},
      {"", false, 0}, {".", false, 0}, {"-", false, 0}, {"1e", false, 0}, {"1.2.3", false, 0},
      {"12a", false, 0}, {"1 2", false, 0}, {"1e4933", false, 0}, {"1e-99999", true, 0},
      {"0e99999", true, 0}, {"123456789012345678", true, 123456789012345678.0L},
      {"0.000000001", true, 1e-9L},
      // clang-format on
  };
  for (const auto& c : cases) {
    long double v = -1;
    EXPECT_EQ(ParseAmount(c.text, '.', &v), c.ok) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(ParseAmount, OtherDecimalSeparator) {
  long double v = 0;
  EXPECT_TRUE(ParseAmount("1234,5", ',', &v));
  EXPECT_EQ(v, 1234.5L);
  EXPECT_FALSE(ParseAmount("1234.5", ',', &v));
}

// Every written amount must read back to exactly the value the writer reports, and
// writing that value again must give the same text: otherwise a second recalculation
// of a tape would change it.
void ExpectRoundTrip(long double value, const Separators& seps, int n, bool rounded) {
  long double canonical = 0;
  const std::string text = FormatAmount(value, seps, n, rounded, &canonical);
  std::string plain;
  for (char c : text) {
    if (c != seps.thousands) plain.push_back(c);
  }
  long double back = 1;
  ASSERT_TRUE(ParseAmount(plain, seps.decimal, &back)) << text;
  ASSERT_EQ(back, canonical) << text;
  ASSERT_EQ(FormatAmount(back, seps, n, rounded), text) << "value " << (double)value;
}

TEST(AmountRoundTrip, WrittenTextReadsBackToTheCanonicalValue) {
  InitTapeArithmetic();
  for (long double v : {1e-4950L, 1e-300L, 4.9e-10L, 1e300L, 1.1e4932L, -1.1e4932L,
                        18446744073709551615.0L, 9.999999999999995e14L}) {
    ExpectRoundTrip(v, {'.', ','}, 2, false);
  }
  std::mt19937_64 rng(20261206);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-14, 24);
  std::uniform_int_distribution<int> decimals(0, 9);
  for (const Separators& seps : {Separators{'.', ','}, Separators{',', '.'}}) {
    for (int i = 0; i < 20000 && !::testing::Test::HasFatalFailure(); ++i) {
      long double value = static_cast<long double>(mantissa(rng)) *
                          std::pow(10.0L, static_cast<long double>(exponent(rng)));
      if (i % 7 == 0) value = std::round(value * 100) / 100;  // typical money amounts
      const int n = decimals(rng);
      ExpectRoundTrip(value, seps, n, false);
      ExpectRoundTrip(value, seps, n, true);
    }
  }
}

// The writer's shortcut for an amount it has read lays out the digits read. Around the
// 15 digits and 9 decimals it covers, it must write what converting the amount writes, and
// that text must read back as the amount read.
TEST(WriteDigitsRead, WritesWhatTheConversionWrites) {
  InitTapeArithmetic();
  std::mt19937_64 rng(20261207);
  int covered = 0;
  for (int i = 0; i < 100000 && !::testing::Test::HasFailure(); ++i) {
    const uint64_t digits = rng() % kPow10U64[1 + rng() % 19];
    std::string text =
        std::to_string(digits) + "e" + std::to_string(static_cast<int>(rng() % 32) - 14);
    if (i % 2 == 1) text.insert(0, "-");
    long double value = 0;
    DecimalAmount read;
    ASSERT_TRUE(ParseAmount(text, '.', &value, &read)) << text;
    const int decimals = static_cast<int>(rng() % 10);
    char fast[kMaxAmountText], full[kMaxAmountText];
    long double full_value = 2;
    const size_t fast_size = WriteDigitsRead(read, value < 0, {',', '.'}, decimals, fast);
    const size_t full_size = WriteAmount(value, {',', '.'}, decimals, false, full, &full_value);
    if (fast_size == 0) continue;
    ++covered;
    EXPECT_EQ(std::string(fast, fast_size), std::string(full, full_size)) << text;
    EXPECT_EQ(full_value, value == 0 ? 0 : value) << text;
    EXPECT_EQ(std::signbit(full_value), value < 0) << text;
  }
  EXPECT_GT(covered, 30000);
}

TEST(FormatAmount, HalvesRoundAwayFromZeroOnTheDecimalValue) {
  const Separators seps{'.', ','};
  EXPECT_EQ(FormatAmount(0.125L, seps, 2, true), "0.13");
  EXPECT_EQ(FormatAmount(-0.125L, seps, 2, true), "-0.13");
  EXPECT_EQ(FormatAmount(2.5L, seps, 0, true), "3");
  EXPECT_EQ(FormatAmount(0.5L, seps, 0, true), "1");
  EXPECT_EQ(FormatAmount(1.005L, seps, 2, true), "1.01");  // 1.00499999... in binary
  EXPECT_EQ(FormatAmount(999.995L, seps, 2, true), "1,000.00");
  EXPECT_EQ(FormatAmount(-0.001L, seps, 2, true), "0.00");  // no minus zero
}

TEST(ChooseSeparators, FallsBackToSoundPairs) {
  // {locale's decimal, locale's thousands, chosen pair}
  // clang-format off
  const char* const kCases[][3] = {{".", ",", ".,"}, {",", ".", ",."}, {",", "", ",."}, {".", "", ".,"},
      {",", ",", ",."}, {".", ".", ".,"}, {",", "\xe2\x80\xaf", ",."} /* narrow no-break space */,
      {",", " ", ",."}, {".", "'", ".'"}, {"", "", ".,"}, {"5", ",", ".,"}, {"%", "x", ".x"},
      {"\xc2\xb7", ",", ".,"}};
  // clang-format on
  for (const auto& c : kCases) {
    const Separators s = ChooseSeparators(c[0], c[1]);
    EXPECT_EQ(std::string({s.decimal, s.thousands}), c[2]) << c[0] << "|" << c[1];
  }
}

}  // namespace
}  // namespace numvex
