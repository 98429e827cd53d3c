#include "ui/gradient_stripes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "common/case_name.h"

namespace numvex {
namespace {

constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlue = {0, 0, 255};
constexpr Rgb kNavy = {0, 0, 128};

std::string Text(const GradientRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) +
         "," + std::to_string(r.height);
}

struct StripeCase {
  const char* name;
  Rgb from;
  Rgb to;
  int length;
  int index;
  const char* stripes;  // "count x size + last: colour of stripe `index`"
};

class StripeTest : public ::testing::TestWithParam<StripeCase> {};

TEST_P(StripeTest, ShapeAndColour) {
  const StripeCase& c = GetParam();
  const std::vector<Stripe> s = ComputeStripes(c.from, c.to, c.length);
  ASSERT_GT(s.size(), static_cast<size_t>(c.index));
  for (size_t i = 0; i < s.size(); ++i) ASSERT_EQ(s[i].offset, static_cast<int>(i) * s[0].length);
  const Rgb color = s[c.index].color;
  EXPECT_EQ(std::to_string(s.size() - 1) + " x " + std::to_string(s[0].length) + " + " +
                std::to_string(s.back().length) + ": " + std::to_string(color.red) + "," +
                std::to_string(color.green) + "," + std::to_string(color.blue),
            c.stripes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Bands, StripeTest, ::testing::Values(
    // One pixel a stripe while the band is shorter than the colour span; 255 * i / 100 truncated.
    StripeCase{"Grey1", kBlack, kWhite, 100, 1, "100 x 1 + 0: 2,2,2"},
    StripeCase{"Grey100", kBlack, kWhite, 100, 100, "100 x 1 + 0: 255,255,255"},
    // 600 / 255 rounded up; a step of 127 hundredths falls one level short at the end.
    StripeCase{"Blue199", kBlack, kBlue, 600, 199, "200 x 3 + 0: 0,0,252"},
    StripeCase{"Blue200", kBlack, kBlue, 600, 200, "200 x 3 + 0: 0,0,254"},
    StripeCase{"Remainder", kBlack, kBlue, 1001, 1, "250 x 4 + 1: 0,0,1"},
    StripeCase{"RemainderIsEndColour", kBlack, Rgb{0, 2, 0}, 7, 1, "1 x 4 + 3: 0,2,0"},
    StripeCase{"Mixed", kBlack, Rgb{255, 100, 50}, 100, 51, "100 x 1 + 0: 130,51,25"},
    // Falling levels truncate towards the start colour.
    StripeCase{"Falling", Rgb{10, 0, 0}, kBlack, 3, 1, "3 x 1 + 0: 7,0,0"},
    StripeCase{"FallingEnd", kWhite, kBlack, 100, 100, "100 x 1 + 0: 0,0,0"},
    StripeCase{"OneLevelOverLongBand", kBlack, Rgb{1, 0, 0}, 256, 1, "1 x 256 + 0: 1,0,0"},
    StripeCase{"OnePixel", kBlack, kWhite, 1, 0, "1 x 1 + 0: 0,0,0"},
    StripeCase{"EqualColours", kNavy, kNavy, 5000, 0, "0 x 5000 + 5000: 0,0,128"},
    // Length times 100 no longer fits an int.
    StripeCase{"HugeBand", kBlack, kBlue, 30000000, 254, "254 x 117648 + 117408: 0,0,254"}),
    testing::NameBy<&StripeCase::name>());
// clang-format on

// The bands of an interior as "left,top,width,height from-to" each.
std::string Bands(const GradientRect& interior, int percent, bool horizontal) {
  std::string out;
  for (const Band& b :
       SplitBands(interior, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}, percent, horizontal)) {
    out += Text(b.rect) + " " + std::to_string(b.from.red) + "-" + std::to_string(b.to.red) + "; ";
  }
  return out;
}

// A band's share of the interior drops its fraction and never goes below one pixel.
TEST(SplitBandsTest, Bands) {
  EXPECT_EQ(Bands({2, 2, 7, 9}, 50, true), "2,2,3,9 1-2; 5,2,4,9 2-3; ");
  EXPECT_EQ(Bands({0, 0, 50, 10}, 1, true), "0,0,1,10 1-2; 1,0,49,10 2-3; ");
  EXPECT_EQ(Bands({0, 0, 10, 10}, 99, false), "0,0,10,9 1-2; 0,9,10,1 2-3; ");
  EXPECT_EQ(Bands({1, 1, 1, 10}, 50, true), "1,1,1,10 1-2; ");  // nothing left for the second
  EXPECT_EQ(Bands({0, 0, 5, INT_MAX / 2}, 99, false),
            "0,0,5,1063004404 1-2; 0,1063004404,5,10737419 2-3; ");
  // Smaller than its bevels: no band, not even the one-pixel share.
  for (const GradientRect& empty : {GradientRect{1, 1, 0, 38}, {2, 2, -1, 38}, {1, 1, 38, 0}}) {
    EXPECT_EQ(Bands(empty, 50, true) + Bands(empty, 100, false), "");
  }
}

TEST(PlanGradientTest, StripesRunAcrossTheirBandInOrder) {
  for (bool horizontal : {true, false}) {
    const std::vector<Fill> fills =
        PlanGradient({1, 1, 200, 50}, {kBlack, kWhite, kWhite}, 50, horizontal);
    // 100 one-pixel stripes over the first half, one fill for the second; no empty remainder.
    ASSERT_EQ(fills.size(), horizontal ? 101u : 26u);
    EXPECT_EQ(Text(fills[1].rect), horizontal ? "2,1,1,50" : "1,2,200,1");
    EXPECT_EQ(Text(fills.back().rect), horizontal ? "101,1,100,50" : "1,26,200,25");
    EXPECT_EQ(fills.back().color, kWhite);
  }
}

}  // namespace
}  // namespace numvex
