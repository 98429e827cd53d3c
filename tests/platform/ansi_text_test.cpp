#include "platform/ansi_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace numvex {
namespace {

TEST(AnsiTextTest, EveryByteSurvivesTheRoundTripAsItsWindows1252Character) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromAnsi(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToAnsi(text), std::optional<std::string>(all));
  // 0x81 is unassigned and stays itself.
  const std::pair<unsigned char, char16_t> kCases[] = {
      {'A', u'A'},       {0x80, u'\u20AC'}, {0x92, u'\u2019'}, {0x9F, u'\u0178'}, {0x81, u'\u0081'},
      {0xA0, u'\u00A0'}, {0xF7, u'\u00F7'}, {0xFC, u'\u00FC'}, {0xFF, u'\u00FF'}};
  for (auto [byte, unicode] : kCases) EXPECT_EQ(text.at(byte), QChar(unicode)) << int{byte};
}

TEST(AnsiTextTest, CharactersOutsideTheCodePageHaveNoBytes) {
  EXPECT_EQ(ToAnsi(QString(QChar(0x202F))), std::nullopt);         // narrow no-break space
  EXPECT_EQ(ToAnsi(QString::fromUtf8("a\u0080b")), std::nullopt);  // C1 code 0x80 is not €
  EXPECT_EQ(ToAnsi(QString::fromUtf8("x\U0001F600")), std::nullopt);
  EXPECT_EQ(ToAnsi(QString()), std::optional<std::string>(""));
}

}  // namespace
}  // namespace numvex
