#include "ui/gradient_stripes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace numvex {
namespace {

constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlue = {0, 0, 255};
constexpr Rgb kNavy = {0, 0, 128};

std::string Text(Rgb c) {
  return std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

// A band's stripes as "count x size + last", and the colour of one stripe.
struct StripeCase {
  const char* name;
  Rgb from;
  Rgb to;
  int length;
  const char* shape;
  int index;
  const char* color;
};
void PrintTo(const StripeCase& c, std::ostream* os) { *os << c.name; }

class StripeTest : public ::testing::TestWithParam<StripeCase> {};

TEST_P(StripeTest, ShapeAndColour) {
  const StripeCase& c = GetParam();
  const std::vector<Stripe> s = ComputeStripes(c.from, c.to, c.length);
  ASSERT_GE(s.size(), 1u);
  for (size_t i = 0; i < s.size(); ++i) ASSERT_EQ(s[i].offset, static_cast<int>(i) * s[0].length);
  EXPECT_EQ(std::to_string(s.size() - 1) + " x " + std::to_string(s[0].length) + " + " +
                std::to_string(s.back().length),
            c.shape);
  ASSERT_LT(c.index, static_cast<int>(s.size()));
  EXPECT_EQ(Text(s[c.index].color), c.color);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, StripeTest,
    ::testing::Values(
        // One pixel a stripe while the band is shorter than the colour difference; stripe i has
        // 255 * i / 100, fraction dropped.
        StripeCase{"Grey1", kBlack, kWhite, 100, "100 x 1 + 0", 1, "2,2,2"},
        StripeCase{"Grey50", kBlack, kWhite, 100, "100 x 1 + 0", 50, "127,127,127"},
        StripeCase{"Grey100", kBlack, kWhite, 100, "100 x 1 + 0", 100, "255,255,255"},
        // 600 / 255 rounded up; a step of 127 hundredths falls one level short at the end.
        StripeCase{"Blue199", kBlack, kBlue, 600, "200 x 3 + 0", 199, "0,0,252"},
        StripeCase{"Blue200", kBlack, kBlue, 600, "200 x 3 + 0", 200, "0,0,254"},
        StripeCase{"Remainder", kBlack, kBlue, 1001, "250 x 4 + 1", 1, "0,0,1"},
        StripeCase{"RemainderIsEndColour", kBlack, Rgb{0, 2, 0}, 7, "1 x 4 + 3", 1, "0,2,0"},
        StripeCase{"Mixed", kBlack, Rgb{255, 100, 50}, 100, "100 x 1 + 0", 51, "130,51,25"},
        // Falling levels truncate towards the start colour.
        StripeCase{"Falling", Rgb{10, 0, 0}, kBlack, 3, "3 x 1 + 0", 1, "7,0,0"},
        StripeCase{"FallingEnd", kWhite, kBlack, 100, "100 x 1 + 0", 100, "0,0,0"},
        StripeCase{"OneLevelOverLongBand", kBlack, Rgb{1, 0, 0}, 256, "1 x 256 + 0", 1, "1,0,0"},
        StripeCase{"OnePixel", kBlack, kWhite, 1, "1 x 1 + 0", 0, "0,0,0"},
        StripeCase{"EqualColours", kNavy, kNavy, 5000, "0 x 5000 + 5000", 0, "0,0,128"},
        // Length times 100 no longer fits an int.
        StripeCase{"HugeBand", kBlack, kBlue, 30000000, "254 x 117648 + 117408", 254, "0,0,254"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ComputeStripesTest, NoLengthNoStripes) {
  for (int length : {0, -1, INT_MIN}) {
    EXPECT_TRUE(ComputeStripes(kBlack, kWhite, length).empty());
    EXPECT_TRUE(ComputeStripes(kNavy, kNavy, length).empty());
  }
}

// Every length up to 700: stripes tile the band, start at the start colour, and never paint
// more stripes than there are levels between the colours.
TEST(ComputeStripesTest, StripesTileTheBand) {
  const std::tuple<Rgb, Rgb, int> kBands[] = {{kBlack, kWhite, 255},
                                              {Rgb{200, 10, 90}, Rgb{12, 240, 91}, 230}};
  for (const auto& [from, to, levels] : kBands) {
    for (int length = 1; length <= 700; ++length) {
      const std::vector<Stripe> s = ComputeStripes(from, to, length);
      int painted = 0;
      for (const Stripe& stripe : s) painted += stripe.length > 0 ? 1 : 0;
      ASSERT_EQ(s.back().offset + s.back().length, length) << length;
      ASSERT_LT(s.back().length, s[0].length) << length;
      ASSERT_EQ(s[0].color, from) << length;
      ASSERT_LE(painted, std::min(length, levels + 1)) << length;
    }
  }
}

TEST(ShareTest, FractionDroppedNeverBelowOne) {
  const int cases[][3] = {{200, 50, 100}, {199, 50, 99}, {10, 99, 9},
                          {50, 1, 1},     {0, 50, 1},    {INT_MAX / 2, 99, 1063004404}};
  for (const auto& c : cases) EXPECT_EQ(Share(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

// The bands of an interior as "left,top,width,height from-to" each.
std::string Bands(const GradientRect& interior, int percent, bool horizontal) {
  const GradientColors colors = {Rgb{1, 0, 0}, Rgb{2, 0, 0}, Rgb{3, 0, 0}};
  std::string out;
  for (const Band& b : SplitBands(interior, colors, percent, horizontal)) {
    out += std::to_string(b.rect.left) + "," + std::to_string(b.rect.top) + "," +
           std::to_string(b.rect.width) + "," + std::to_string(b.rect.height) + " " +
           std::to_string(b.from.red) + "-" + std::to_string(b.to.red) + "; ";
  }
  return out;
}

TEST(SplitBandsTest, Bands) {
  EXPECT_EQ(Interior(10, 20, 3), (GradientRect{3, 3, 4, 14}));
  EXPECT_EQ(Bands({1, 1, 200, 50}, 100, true), "1,1,200,50 1-2; ");
  EXPECT_EQ(Bands({1, 1, 200, 50}, 100, false), "1,1,200,50 1-2; ");
  EXPECT_EQ(Bands({1, 1, 200, 50}, 50, true), "1,1,100,50 1-2; 101,1,100,50 2-3; ");
  EXPECT_EQ(Bands({1, 1, 200, 50}, 50, false), "1,1,200,25 1-2; 1,26,200,25 2-3; ");
  EXPECT_EQ(Bands({2, 2, 7, 9}, 50, true), "2,2,3,9 1-2; 5,2,4,9 2-3; ");
  EXPECT_EQ(Bands({0, 0, 50, 10}, 1, true), "0,0,1,10 1-2; 1,0,49,10 2-3; ");
  EXPECT_EQ(Bands({0, 0, 10, 10}, 99, false), "0,0,10,9 1-2; 0,9,10,1 2-3; ");
  EXPECT_EQ(Bands({1, 1, 1, 10}, 50, true), "1,1,1,10 1-2; ");  // nothing left for the second
  // Smaller than its bevels: no band, not even the one-pixel share.
  for (const GradientRect& empty :
       {GradientRect{1, 1, 0, 38}, GradientRect{2, 2, -1, 38}, GradientRect{1, 1, 38, 0}}) {
    EXPECT_EQ(Bands(empty, 50, true) + Bands(empty, 100, false), "");
  }
}

TEST(PlanGradientTest, StripesRunAcrossTheirBandInOrder) {
  const GradientColors colors = {kBlack, kWhite, kWhite};
  for (bool horizontal : {true, false}) {
    const std::vector<Fill> fills = PlanGradient({1, 1, 200, 50}, colors, 50, horizontal);
    // 100 one-pixel stripes over the first half, one fill for the second; no empty remainder.
    ASSERT_EQ(fills.size(), horizontal ? 101u : 26u);
    EXPECT_EQ(fills[1].rect, (horizontal ? GradientRect{2, 1, 1, 50} : GradientRect{1, 2, 200, 1}));
    EXPECT_EQ(fills.back().rect,
              (horizontal ? GradientRect{101, 1, 100, 50} : GradientRect{1, 26, 200, 25}));
    EXPECT_EQ(fills.back().color, kWhite);
  }
}

}  // namespace
}  // namespace numvex
