#include "ui/gradient_stripes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace numvex {
namespace {

constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlue = {0, 0, 255};
constexpr Rgb kRed = {255, 0, 0};
constexpr Rgb kNavy = {0, 0, 128};

// --- Stripe sizes and counts ------------------------------------------------------------------

struct StripeShape {
  std::string name;
  Rgb from;
  Rgb to;
  int length;
  int stripe_size;
  int stripe_count;  // including the remainder stripe
  int last_length;
};

void PrintTo(const StripeShape& c, std::ostream* os) { *os << c.name; }

class StripeShapeTest : public ::testing::TestWithParam<StripeShape> {};

TEST_P(StripeShapeTest, SizesAndCount) {
  const StripeShape& c = GetParam();
  const std::vector<Stripe> stripes = ComputeStripes(c.from, c.to, c.length);
  ASSERT_EQ(static_cast<int>(stripes.size()), c.stripe_count);
  for (int i = 0; i + 1 < c.stripe_count; ++i) {
    EXPECT_EQ(stripes[i].offset, i * c.stripe_size) << "stripe " << i;
    EXPECT_EQ(stripes[i].length, c.stripe_size) << "stripe " << i;
  }
  EXPECT_EQ(stripes.back().offset, (c.stripe_count - 1) * c.stripe_size);
  EXPECT_EQ(stripes.back().length, c.last_length);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, StripeShapeTest,
    ::testing::Values(
        // One pixel per stripe while the band is shorter than the colour difference.
        StripeShape{"BlackToWhite100", kBlack, kWhite, 100, 1, 101, 0},
        // 600 / 255 rounded up.
        StripeShape{"OneChannel600", kBlack, kBlue, 600, 3, 201, 0},
        StripeShape{"Remainder1001", kBlack, kBlue, 1001, 4, 251, 1},
        StripeShape{"NonEmptyRemainder", Rgb{0, 0, 0}, Rgb{0, 2, 0}, 7, 4, 2, 3},
        StripeShape{"OnePixel", kBlack, kWhite, 1, 1, 2, 0},
        StripeShape{"OneLevelOverLongBand", Rgb{0, 0, 0}, Rgb{1, 0, 0}, 256, 256, 2, 0},
        // Length times 100 no longer fits an int; the stripes still follow the difference.
        StripeShape{"HugeBand", kBlack, kBlue, 30000000, 117648, 255, 117408}),
    [](const ::testing::TestParamInfo<StripeShape>& info) { return info.param.name; });

TEST(ComputeStripesTest, NoLengthNoStripes) {
  for (int length : {0, -1, -500, INT_MIN}) {
    EXPECT_TRUE(ComputeStripes(kBlack, kWhite, length).empty()) << length;
    EXPECT_TRUE(ComputeStripes(kNavy, kNavy, length).empty()) << length;
  }
}

TEST(ComputeStripesTest, EqualColoursAreOneStripe) {
  for (int length : {1, 2, 100, 5000}) {
    const std::vector<Stripe> stripes = ComputeStripes(kNavy, kNavy, length);
    ASSERT_EQ(stripes.size(), 1u) << length;
    EXPECT_EQ(stripes[0].offset, 0);
    EXPECT_EQ(stripes[0].length, length);
    EXPECT_EQ(stripes[0].color, kNavy);
  }
}

// --- Stripe colours ---------------------------------------------------------------------------

struct StripeColor {
  std::string name;
  Rgb from;
  Rgb to;
  int length;
  int index;
  Rgb expected;
};

void PrintTo(const StripeColor& c, std::ostream* os) { *os << c.name; }

class StripeColorTest : public ::testing::TestWithParam<StripeColor> {};

TEST_P(StripeColorTest, ColourOfStripe) {
  const StripeColor& c = GetParam();
  const std::vector<Stripe> stripes = ComputeStripes(c.from, c.to, c.length);
  ASSERT_LT(c.index, static_cast<int>(stripes.size()));
  const Rgb got = stripes[c.index].color;
  EXPECT_EQ(got.red, c.expected.red);
  EXPECT_EQ(got.green, c.expected.green);
  EXPECT_EQ(got.blue, c.expected.blue);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, StripeColorTest,
    ::testing::Values(
        // 100 stripes over 255 levels: stripe i has 255 * i / 100, fraction dropped.
        StripeColor{"Grey0", kBlack, kWhite, 100, 0, {0, 0, 0}},
        StripeColor{"Grey1", kBlack, kWhite, 100, 1, {2, 2, 2}},
        StripeColor{"Grey50", kBlack, kWhite, 100, 50, {127, 127, 127}},
        StripeColor{"Grey99", kBlack, kWhite, 100, 99, {252, 252, 252}},
        StripeColor{"Grey100", kBlack, kWhite, 100, 100, {255, 255, 255}},
        // The step is 127 hundredths: the end falls one level short.
        StripeColor{"Blue1", kBlack, kBlue, 600, 1, {0, 0, 1}},
        StripeColor{"Blue199", kBlack, kBlue, 600, 199, {0, 0, 252}},
        StripeColor{"Blue200", kBlack, kBlue, 600, 200, {0, 0, 254}},
        // Each channel moves in its own step over the shared stripe count.
        StripeColor{"Mixed51", kBlack, Rgb{255, 100, 50}, 100, 51, {130, 51, 25}},
        // Falling levels truncate towards zero, i.e. towards the start colour.
        StripeColor{"Falling0", Rgb{10, 0, 0}, kBlack, 3, 0, {10, 0, 0}},
        StripeColor{"Falling1", Rgb{10, 0, 0}, kBlack, 3, 1, {7, 0, 0}},
        StripeColor{"Falling2", Rgb{10, 0, 0}, kBlack, 3, 2, {4, 0, 0}},
        StripeColor{"Falling3", Rgb{10, 0, 0}, kBlack, 3, 3, {1, 0, 0}},
        StripeColor{"WhiteToBlackEnd", kWhite, kBlack, 100, 100, {0, 0, 0}},
        StripeColor{"RemainderIsEndColour", Rgb{0, 0, 0}, Rgb{0, 2, 0}, 7, 1, {0, 2, 0}}),
    [](const ::testing::TestParamInfo<StripeColor>& info) { return info.param.name; });

// --- Properties that hold for every band ------------------------------------------------------

int MaxDifference(Rgb a, Rgb b) {
  return std::max(
      {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

bool Between(int value, int a, int b) { return value >= std::min(a, b) && value <= std::max(a, b); }

TEST(ComputeStripesTest, StripesTileTheBandAndRunFromStartToEnd) {
  const std::vector<std::pair<Rgb, Rgb>> pairs = {{kBlack, kWhite},
                                                  {kWhite, kBlack},
                                                  {kRed, kBlue},
                                                  {kNavy, kWhite},
                                                  {Rgb{5, 9, 200}, Rgb{6, 9, 199}},
                                                  {Rgb{200, 10, 90}, Rgb{12, 240, 91}}};
  for (const auto& [from, to] : pairs) {
    const int difference = MaxDifference(from, to);
    for (int length = 1; length <= 700; ++length) {
      SCOPED_TRACE("length " + std::to_string(length) + ", difference " +
                   std::to_string(difference));
      const std::vector<Stripe> stripes = ComputeStripes(from, to, length);
      ASSERT_GE(stripes.size(), 2u);
      EXPECT_EQ(stripes.front().color, from);

      int next = 0;
      int painted = 0;
      for (std::size_t i = 0; i < stripes.size(); ++i) {
        const Stripe& s = stripes[i];
        ASSERT_EQ(s.offset, next);
        if (i + 1 < stripes.size()) {
          ASSERT_EQ(s.length, stripes.front().length);
          ASSERT_GE(s.length, 1);
        } else {
          ASSERT_GE(s.length, 0);
          ASSERT_LT(s.length, stripes.front().length);
        }
        next += s.length;
        if (s.length > 0) ++painted;
        ASSERT_TRUE(Between(s.color.red, from.red, to.red));
        ASSERT_TRUE(Between(s.color.green, from.green, to.green));
        ASSERT_TRUE(Between(s.color.blue, from.blue, to.blue));
        if (i > 0) {
          // Levels move one way only.
          const Rgb prev = stripes[i - 1].color;
          ASSERT_TRUE(Between(prev.red, from.red, s.color.red));
          ASSERT_TRUE(Between(prev.green, from.green, s.color.green));
          ASSERT_TRUE(Between(prev.blue, from.blue, s.color.blue));
        }
      }
      EXPECT_EQ(next, length);
      EXPECT_LE(painted, std::min(length, difference + 1));
      // The closing colour lands within rounding of the end colour.
      EXPECT_LE(MaxDifference(stripes.back().color, to), 3);
    }
  }
}

// --- Share, interior and bands ----------------------------------------------------------------

struct ShareCase {
  int length;
  int percent;
  int expected;
};

class ShareTest : public ::testing::TestWithParam<ShareCase> {};

TEST_P(ShareTest, Share) {
  EXPECT_EQ(Share(GetParam().length, GetParam().percent), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShareTest,
                         ::testing::Values(ShareCase{200, 50, 100}, ShareCase{199, 50, 99},
                                           ShareCase{10, 99, 9}, ShareCase{50, 1, 1},
                                           ShareCase{1, 50, 1}, ShareCase{0, 50, 1},
                                           ShareCase{INT_MAX / 2, 99, 1063004404}));

TEST(InteriorTest, ShrinksByTheBorderOnEverySide) {
  EXPECT_EQ(Interior(10, 20, 0), (GradientRect{0, 0, 10, 20}));
  EXPECT_EQ(Interior(10, 20, 1), (GradientRect{1, 1, 8, 18}));
  EXPECT_EQ(Interior(10, 20, 3), (GradientRect{3, 3, 4, 14}));
  EXPECT_TRUE(Interior(2, 20, 1).IsEmpty());
  EXPECT_TRUE(Interior(3, 3, 2).IsEmpty());
}

constexpr GradientColors kThree = {kRed, kWhite, kBlue};

struct BandCase {
  std::string name;
  GradientRect interior;
  int percent;
  bool horizontal;
  std::vector<GradientRect> rects;
};

void PrintTo(const BandCase& c, std::ostream* os) { *os << c.name; }

class SplitBandsTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(SplitBandsTest, Bands) {
  const BandCase& c = GetParam();
  const std::vector<Band> bands = SplitBands(c.interior, kThree, c.percent, c.horizontal);
  ASSERT_EQ(bands.size(), c.rects.size());
  for (std::size_t i = 0; i < bands.size(); ++i) {
    EXPECT_EQ(bands[i].rect, c.rects[i]) << "band " << i;
  }
  // The first band always runs Color_1 to Color_2, a second one on to Color_3.
  if (!bands.empty()) {
    EXPECT_EQ(bands[0].from, kRed);
    EXPECT_EQ(bands[0].to, kWhite);
  }
  if (bands.size() == 2) {
    EXPECT_EQ(bands[1].from, kWhite);
    EXPECT_EQ(bands[1].to, kBlue);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitBandsTest,
    ::testing::Values(
        BandCase{"WholeInterior", {1, 1, 200, 50}, 100, true, {{1, 1, 200, 50}}},
        BandCase{"WholeInteriorVertical", {1, 1, 200, 50}, 100, false, {{1, 1, 200, 50}}},
        BandCase{"HalfAcross", {1, 1, 200, 50}, 50, true, {{1, 1, 100, 50}, {101, 1, 100, 50}}},
        BandCase{"HalfDown", {1, 1, 200, 50}, 50, false, {{1, 1, 200, 25}, {1, 26, 200, 25}}},
        BandCase{"OddHalf", {2, 2, 7, 9}, 50, true, {{2, 2, 3, 9}, {5, 2, 4, 9}}},
        BandCase{"TinyShareIsOnePixel", {0, 0, 50, 10}, 1, true, {{0, 0, 1, 10}, {1, 0, 49, 10}}},
        BandCase{"NinetyNine", {0, 0, 10, 10}, 99, false, {{0, 0, 10, 9}, {0, 9, 10, 1}}},
        // The share takes the single pixel; the second band is left out.
        BandCase{"NothingLeftForSecond", {1, 1, 1, 10}, 50, true, {{1, 1, 1, 10}}},
        // A panel smaller than its bevels paints no band at all, not even the one-pixel share.
        BandCase{"NoWidth", {1, 1, 0, 38}, 50, true, {}},
        BandCase{"NegativeWidth", {2, 2, -1, 38}, 50, true, {}},
        BandCase{"NoHeightAcross", {1, 1, 38, 0}, 50, true, {}},
        BandCase{"NoHeightSingle", {1, 1, 38, 0}, 100, false, {}}),
    [](const ::testing::TestParamInfo<BandCase>& info) { return info.param.name; });

// --- The whole plan ---------------------------------------------------------------------------

// Paints the plan into a grid of colour indexes so coverage and overlaps show.
std::vector<std::vector<int>> Coverage(const std::vector<Fill>& fills, int width, int height) {
  std::vector<std::vector<int>> hits(height, std::vector<int>(width, 0));
  for (const Fill& f : fills) {
    for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
      for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x) {
        if (y >= 0 && y < height && x >= 0 && x < width) ++hits[y][x];
      }
    }
  }
  return hits;
}

TEST(PlanGradientTest, EqualColoursFillTheInteriorSolidlyAtEveryPercent) {
  const GradientColors navy = {kNavy, kNavy, kNavy};
  const GradientRect interior = {1, 1, 40, 30};
  for (bool horizontal : {true, false}) {
    for (int percent : {1, 37, 50, 99, 100}) {
      SCOPED_TRACE("percent " + std::to_string(percent));
      const std::vector<Fill> fills = PlanGradient(interior, navy, percent, horizontal);
      ASSERT_LE(fills.size(), 2u);  // one per band
      for (const Fill& f : fills) EXPECT_EQ(f.color, kNavy);
      const auto hits = Coverage(fills, 42, 32);
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 42; ++x) {
          const bool inside = x >= 1 && x <= 40 && y >= 1 && y <= 30;
          ASSERT_EQ(hits[y][x], inside ? 1 : 0) << x << "," << y;
        }
      }
    }
  }
}

TEST(PlanGradientTest, GradientThenSolidWhenSecondAndThirdColoursAgree) {
  const GradientColors colors = {kBlack, kWhite, kWhite};
  const GradientRect interior = {1, 1, 200, 50};
  for (bool horizontal : {true, false}) {
    const std::vector<Fill> fills = PlanGradient(interior, colors, 50, horizontal);
    // 100 one-pixel stripes over the first half, one fill for the second half.
    ASSERT_EQ(fills.size(), horizontal ? 101u : 26u);
    const Fill& solid = fills.back();
    EXPECT_EQ(solid.color, kWhite);
    if (horizontal) {
      EXPECT_EQ(solid.rect, (GradientRect{101, 1, 100, 50}));
    } else {
      EXPECT_EQ(solid.rect, (GradientRect{1, 26, 200, 25}));
    }
    EXPECT_EQ(fills.front().color, kBlack);
    // Stripes run across the whole band.
    EXPECT_EQ(horizontal ? fills.front().rect.height : fills.front().rect.width,
              horizontal ? 50 : 200);
    const auto hits = Coverage(fills, 202, 52);
    for (int y = 1; y <= 50; ++y) {
      for (int x = 1; x <= 200; ++x) ASSERT_EQ(hits[y][x], 1) << x << "," << y;
    }
  }
}

TEST(PlanGradientTest, SingleBandIgnoresColor3) {
  const GradientColors colors = {kBlack, kNavy, kRed};
  const std::vector<Fill> fills = PlanGradient({0, 0, 301, 10}, colors, 100, true);
  ASSERT_FALSE(fills.empty());
  for (const Fill& f : fills) {
    EXPECT_EQ(f.color.red, 0);
    EXPECT_EQ(f.color.green, 0);
  }
  EXPECT_EQ(fills.back().color, kNavy);
}

TEST(PlanGradientTest, EmptyInteriorPlansNothing) {
  for (const GradientRect& interior :
       {GradientRect{1, 1, 0, 10}, GradientRect{1, 1, 10, 0}, GradientRect{2, 2, -1, -1}}) {
    for (int percent : {1, 50, 100}) {
      EXPECT_TRUE(PlanGradient(interior, kThree, percent, true).empty());
      EXPECT_TRUE(PlanGradient(interior, kThree, percent, false).empty());
    }
  }
}

}  // namespace
}  // namespace numvex
