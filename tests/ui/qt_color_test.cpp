#include "ui/qt_color.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace numvex {
namespace {

// Top byte 0xFF: a system colour, its index in the low byte.
constexpr TColor kSystemColor = 0xFF000000;

TEST(ToQColorTest, RedSitsInTheLowestByte) {
  const QPalette palette;
  EXPECT_EQ(ToQColor(clNavy, palette), QColor(0, 0, 128));
  EXPECT_EQ(ToQColor(clAqua, palette), QColor(0, 255, 255));
  EXPECT_EQ(ToQColor(clWhite, palette), QColor(255, 255, 255));
  EXPECT_EQ(ToQColor(0x00030201, palette), QColor(1, 2, 3));
  EXPECT_EQ(ToQColor(MakeColor(1, 2, 3), palette), QColor(1, 2, 3));
}

TEST(ToQColorTest, NoneAndUnknownSystemColoursAreInvalid) {
  const QPalette palette;
  EXPECT_FALSE(ToQColor(clNone, palette).isValid());
  EXPECT_FALSE(ToQColor(kSystemColor | 25, palette).isValid());
  EXPECT_FALSE(ToQColor(kSystemColor | 31, palette).isValid());
  EXPECT_FALSE(ToQColor(kSystemColor | 255, palette).isValid());
}

struct SystemCase {
  std::string name;
  int index;
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

void PrintTo(const SystemCase& c, std::ostream* os) { *os << c.name; }

class SystemColorTest : public ::testing::TestWithParam<SystemCase> {};

TEST_P(SystemColorTest, ComesFromThePalette) {
  // Every role a colour of its own, so a wrong role cannot pass by accident.
  QPalette palette;
  int shade = 10;
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    if (role == QPalette::NoRole) continue;
    palette.setColor(static_cast<QPalette::ColorRole>(role), QColor(shade, 255 - shade, 7));
    shade += 9;
  }
  palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 250));

  const SystemCase& c = GetParam();
  const QColor expected = palette.color(c.group, c.role);
  EXPECT_EQ(ToQColor(kSystemColor | c.index, palette), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Roles, SystemColorTest,
    ::testing::Values(SystemCase{"BtnFace", 15, QPalette::Active, QPalette::Button},
                      SystemCase{"Window", 5, QPalette::Active, QPalette::Base},
                      SystemCase{"WindowText", 8, QPalette::Active, QPalette::Text},
                      SystemCase{"Highlight", 13, QPalette::Active, QPalette::Highlight},
                      SystemCase{"HighlightText", 14, QPalette::Active, QPalette::HighlightedText},
                      SystemCase{"BtnShadow", 16, QPalette::Active, QPalette::Dark},
                      SystemCase{"BtnHighlight", 20, QPalette::Active, QPalette::Light},
                      SystemCase{"BtnText", 18, QPalette::Active, QPalette::ButtonText},
                      SystemCase{"GrayText", 17, QPalette::Disabled, QPalette::Text},
                      SystemCase{"InfoBk", 24, QPalette::Active, QPalette::ToolTipBase}),
    [](const ::testing::TestParamInfo<SystemCase>& info) { return info.param.name; });

}  // namespace
}  // namespace numvex
