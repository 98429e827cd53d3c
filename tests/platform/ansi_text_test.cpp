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
  // No bytes for a narrow no-break space, the C1 code 0x80 (which is not "€"), or an emoji.
  for (const char* outside : {"\u202F", "a\u0080b", "x\U0001F600"}) {
    EXPECT_EQ(ToAnsi(QString::fromUtf8(outside)), std::nullopt) << outside;
  }
}

}  // namespace
}  // namespace numvex
