#include "ui/gradient_stripes.h"

#include <algorithm>
#include <cstdlib>

namespace numvex {
namespace {

// Colour levels are handled in hundredths so that a stripe's step keeps two more digits than a
// byte would; 64 bits because length times 100 overflows int on absurdly long bands.
constexpr std::int64_t kHundredths = 100;

}  // namespace

int Share(int length, int percent) {
  const auto share = static_cast<int>(static_cast<std::int64_t>(length) * percent / 100);
  return share == 0 ? 1 : share;
}

GradientRect Interior(int client_width, int client_height, int border) {
  return {border, border, client_width - 2 * border, client_height - 2 * border};
}

std::vector<Band> SplitBands(const GradientRect& interior, const GradientColors& colors,
                             int percent, bool horizontal) {
  // A panel smaller than its bevels paints nothing, not even the one pixel a share never
  // goes below (that pixel would land on the frame).
  if (interior.IsEmpty()) return {};
  std::vector<Band> bands;
  if (percent >= kSingleBandPercent) {
    bands.push_back({interior, colors.color_1, colors.color_2});
  } else if (horizontal) {
    const int first = Share(interior.width, percent);
    bands.push_back(
        {{interior.left, interior.top, first, interior.height}, colors.color_1, colors.color_2});
    bands.push_back({{interior.left + first, interior.top, interior.width - first, interior.height},
                     colors.color_2,
                     colors.color_3});
  } else {
    const int first = Share(interior.height, percent);
    bands.push_back(
        {{interior.left, interior.top, interior.width, first}, colors.color_1, colors.color_2});
    bands.push_back({{interior.left, interior.top + first, interior.width, interior.height - first},
                     colors.color_2,
                     colors.color_3});
  }
  // The share can leave nothing for the second band.
  bands.erase(std::remove_if(bands.begin(), bands.end(),
                             [](const Band& band) { return band.rect.IsEmpty(); }),
              bands.end());
  return bands;
}

std::vector<Stripe> ComputeStripes(Rgb from, Rgb to, int length) {
  if (length <= 0) return {};
  if (from == to) return {{0, length, from}};

  const std::int64_t start[3] = {from.red, from.green, from.blue};
  const std::int64_t delta[3] = {kHundredths * (to.red - from.red),
                                 kHundredths * (to.green - from.green),
                                 kHundredths * (to.blue - from.blue)};
  const std::int64_t steps =
      std::max({std::llabs(delta[0]), std::llabs(delta[1]), std::llabs(delta[2])});

  // About one stripe per colour level, never thinner than a pixel: the length divided by the
  // largest channel difference, rounded up.
  const std::int64_t span = length;
  const std::int64_t size =
      span * kHundredths <= steps ? 1 : (steps / kHundredths + span - 1) * kHundredths / steps;
  // size <= length here, so count >= 1.
  const std::int64_t count = span / size;

  std::vector<Stripe> stripes;
  stripes.reserve(static_cast<std::size_t>(count) + 1);
  for (std::int64_t i = 0; i <= count; ++i) {
    Rgb color;
    std::uint8_t* channel[3] = {&color.red, &color.green, &color.blue};
    for (int c = 0; c < 3; ++c) {
      // Division truncates towards zero, as the level steps are meant to; the result never
      // leaves the range between the two colours, so it fits a byte.
      *channel[c] = static_cast<std::uint8_t>(delta[c] / count * i / kHundredths + start[c]);
    }
    const std::int64_t offset = i * size;
    const std::int64_t stripe_length = i < count ? size : span - count * size;
    stripes.push_back({static_cast<int>(offset), static_cast<int>(stripe_length), color});
  }
  return stripes;
}

std::vector<Fill> PlanGradient(const GradientRect& interior, const GradientColors& colors,
                               int percent, bool horizontal) {
  std::vector<Fill> fills;
  for (const Band& band : SplitBands(interior, colors, percent, horizontal)) {
    const GradientRect& r = band.rect;
    for (const Stripe& stripe :
         ComputeStripes(band.from, band.to, horizontal ? r.width : r.height)) {
      if (stripe.length <= 0) continue;
      if (horizontal) {
        fills.push_back({{r.left + stripe.offset, r.top, stripe.length, r.height}, stripe.color});
      } else {
        fills.push_back({{r.left, r.top + stripe.offset, r.width, stripe.length}, stripe.color});
      }
    }
  }
  return fills;
}

}  // namespace numvex
