#include "ui/qt_color.h"

#include <gtest/gtest.h>

namespace numvex {
namespace {

TEST(ToQColorTest, RedSitsInTheLowestByte) {
  const QPalette palette;
  EXPECT_EQ(ToQColor(0x00030201, palette), QColor(1, 2, 3));
  EXPECT_EQ(ToQColor(MakeColor(250, 128, 7), palette), QColor(250, 128, 7));
  EXPECT_EQ(ToQColor(clNavy, palette), QColor(0, 0, 128));
}

TEST(ToQColorTest, SystemColoursComeFromTheirPaletteRole) {
  // Every role a colour of its own, so a wrong role or group cannot pass by accident.
  QPalette palette;
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    if (role == QPalette::NoRole) continue;
    palette.setColor(static_cast<QPalette::ColorRole>(role), QColor(10 + 9 * role, 200 - role, 7));
  }
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 250));
  const struct {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
  } kCases[] = {
      {5, QPalette::Active, QPalette::Base},       {8, QPalette::Active, QPalette::Text},
      {13, QPalette::Active, QPalette::Highlight}, {15, QPalette::Active, QPalette::Button},
      {16, QPalette::Active, QPalette::Dark},      {17, QPalette::Disabled, QPalette::Text},
      {20, QPalette::Active, QPalette::Light},     {24, QPalette::Active, QPalette::ToolTipBase}};
  for (const auto& c : kCases) {
    EXPECT_EQ(ToQColor(0xFF000000 | c.index, palette), palette.color(c.group, c.role)) << c.index;
  }
  // No colour, the unused index and indexes past the table.
  for (TColor none : {clNone, 0xFF000019u, 0xFF00001Fu, 0xFF0000FFu}) {
    EXPECT_FALSE(ToQColor(none, palette).isValid()) << none;
  }
}

}  // namespace
}  // namespace numvex
