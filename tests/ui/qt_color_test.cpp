#include "ui/qt_color.h"

#include <gtest/gtest.h>

#include <tuple>

namespace numvex {
namespace {

TEST(ToQColorTest, SystemColoursComeFromTheirPaletteRole) {
  // Every role a colour of its own, so a wrong role or group cannot pass by accident.
  QPalette palette;
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    palette.setColor(static_cast<QPalette::ColorRole>(role), QColor(10 + 9 * role, 200 - role, 7));
  }
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 250));
  using P = QPalette;
  // clang-format off
  const std::tuple<int, P::ColorGroup, P::ColorRole> kCases[] = {
      {5, P::Active, P::Base},       {8, P::Active, P::Text},     {13, P::Active, P::Highlight},
      {15, P::Active, P::Button},    {16, P::Active, P::Dark},    {17, P::Disabled, P::Text},
      {20, P::Active, P::Light},     {24, P::Active, P::ToolTipBase}};
  // clang-format on
  for (const auto& [index, group, role] : kCases) {
    EXPECT_EQ(ToQColor(0xFF000000 | index, palette), palette.color(group, role)) << index;
  }
  // No colour, the unused index and indexes past the table.
  for (TColor none : {clNone, 0xFF000019u, 0xFF00001Fu, 0xFF0000FFu}) {
    EXPECT_FALSE(ToQColor(none, palette).isValid()) << none;
  }
}

}  // namespace
}  // namespace numvex
