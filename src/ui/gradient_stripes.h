#pragma once

#include <cstdint>
#include <vector>

// The arithmetic of the gradient panel: where the bands lie and which stripes make them up.
// No Qt here; the panel's paint event only draws the fills planned below.
namespace numvex {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend bool operator==(const Rgb& a, const Rgb& b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
  }
  friend bool operator!=(const Rgb& a, const Rgb& b) { return !(a == b); }
};

struct GradientRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool IsEmpty() const { return width <= 0 || height <= 0; }
  friend bool operator==(const GradientRect& a, const GradientRect& b) {
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
  }
};

// One stripe of a band, measured along the band's direction from its leading edge.
struct Stripe {
  int offset = 0;
  int length = 0;
  Rgb color;
};

// A band runs from one colour to the next over its rectangle.
struct Band {
  GradientRect rect;
  Rgb from;
  Rgb to;
};

// One solid rectangle the paint event fills.
struct Fill {
  GradientRect rect;
  Rgb color;
};

struct GradientColors {
  Rgb color_1;
  Rgb color_2;
  Rgb color_3;
};

// Percent at or above this paints a single band.
constexpr int kSingleBandPercent = 100;

// The part of `length` that `percent` takes, fraction dropped; never less than 1.
int Share(int length, int percent);

// The area inside a border of `border` pixels on every side; may come out empty or negative.
GradientRect Interior(int client_width, int client_height, int border);

// The bands of the interior in painting order; bands with no area are left out.
std::vector<Band> SplitBands(const GradientRect& interior, const GradientColors& colors,
                             int percent, bool horizontal);

// The stripes of a band `length` pixels long from `from` to `to`. The list ends with the
// remainder stripe, which can be empty; a band with no length has no stripes, and equal
// colours give a single stripe over the whole length.
std::vector<Stripe> ComputeStripes(Rgb from, Rgb to, int length);

// Every non-empty fill of the gradient, bands in order, each band from its leading edge.
std::vector<Fill> PlanGradient(const GradientRect& interior, const GradientColors& colors,
                               int percent, bool horizontal);

}  // namespace numvex
