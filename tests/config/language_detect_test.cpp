#include <gtest/gtest.h>

#include <cstdint>

#include "config/lang_texts.h"

namespace numvex {
namespace {

TEST(DetectLanguageTest, TheFiveGermanSpeakingCountriesGetGermanEveryOtherIdEnglish) {
  for (uint16_t id : {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}) {
    EXPECT_EQ(DetectLanguage(id), 0) << std::hex << id;
  }
  // 0x0007: German without a country; 0x1807: the sublanguage after Liechtenstein.
  for (uint16_t id : {0x0409, 0x040C, 0x0809, 0x0007, 0x1807, 0x0406, 0x0000, 0xFFFF}) {
    EXPECT_EQ(DetectLanguage(id), 1) << std::hex << id;
  }
}

TEST(LangIdFromLocaleNameTest, MapsToTheWindowsIdentifier) {
  // "de-AT" is QLocale::bcp47Name()'s form; a German speaker elsewhere still reads German.
  // clang-format off
  const struct { const char* name; uint16_t expected; } kCases[] = {
      {"de_DE.UTF-8", 0x0407}, {"de_CH", 0x0807}, {"de_AT.UTF-8", 0x0C07}, {"de_LU.utf8", 0x1007},
      {"de_LI", 0x1407}, {"de", 0x0407}, {"de_DE@euro", 0x0407}, {"de_AT.ISO-8859-15@euro", 0x0C07},
      {"de-AT", 0x0C07}, {"DE_at", 0x0C07}, {"de_IT.UTF-8", 0x0407}, {"en_US.UTF-8", 0x0409},
      {"en_GB", 0x0809}, {"en", 0x0409}, {"fr_FR@euro", 0x040C}, {"fr_CH", 0x100C}, {"C", 0x0409},
      {"C.UTF-8", 0x0409}, {"POSIX", 0x0409}, {"", 0x0409}, {"xx_YY.UTF-8", 0x0409},
      {"deu", 0x0409}, {"_AT", 0x0409}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(LangIdFromLocaleName(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace numvex
