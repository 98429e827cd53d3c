#include "platform/ansi_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace numvex {
namespace {

TEST(AnsiTextTest, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const QString text = FromAnsi(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(ToAnsi(text), std::optional<std::string>(all));
}

struct CharCase {
  unsigned char byte;
  char16_t unicode;
};

class AnsiCharTest : public ::testing::TestWithParam<CharCase> {};

TEST_P(AnsiCharTest, ByteAndCharacterMatch) {
  const std::string byte(1, static_cast<char>(GetParam().byte));
  EXPECT_EQ(FromAnsi(byte), QString(QChar(GetParam().unicode)));
  EXPECT_EQ(ToAnsi(QString(QChar(GetParam().unicode))), std::optional<std::string>(byte));
}

INSTANTIATE_TEST_SUITE_P(Cases, AnsiCharTest,
                         ::testing::Values(CharCase{'A', u'A'}, CharCase{0x80, u'\u20AC'},
                                           CharCase{0x92, u'\u2019'}, CharCase{0x9F, u'\u0178'},
                                           CharCase{0x81, u'\u0081'},  // unassigned byte
                                           CharCase{0xA0, u'\u00A0'}, CharCase{0xF7, u'\u00F7'},
                                           CharCase{0xFC, u'\u00FC'}, CharCase{0xFF, u'\u00FF'}));

TEST(AnsiTextTest, CharactersOutsideTheCodePageHaveNoBytes) {
  EXPECT_EQ(ToAnsi(QString(QChar(0x202F))), std::nullopt);         // narrow no-break space
  EXPECT_EQ(ToAnsi(QString::fromUtf8("a\u0080b")), std::nullopt);  // C1 code 0x80 is not €
  EXPECT_EQ(ToAnsi(QString::fromUtf8("x\U0001F600")), std::nullopt);
  EXPECT_EQ(ToAnsi(QString()), std::optional<std::string>(""));
}

}  // namespace
}  // namespace numvex
