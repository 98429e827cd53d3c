#include <gtest/gtest.h>

#include <cstdint>

#include "config/lang_texts.h"

namespace numvex {
namespace {

TEST(DetectLanguageTest, GermanSpeakingCountriesGetGerman) {
  constexpr uint16_t kGermanIds[] = {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407};
  for (uint16_t id : kGermanIds) {
    EXPECT_EQ(DetectLanguage(id), 0) << std::hex << id;
  }
}

TEST(DetectLanguageTest, EveryOtherIdentifierGetsEnglish) {
  constexpr uint16_t kOtherIds[] = {0x0409, 0x040C, 0x0809, 0x0410,
                                    0x0007,  // German without a country is not one of the five
                                    0x1807,  // next sublanguage after Liechtenstein
                                    0x0406,  // Danish
                                    0x0000, 0xFFFF};
  for (uint16_t id : kOtherIds) {
    EXPECT_EQ(DetectLanguage(id), 1) << std::hex << id;
  }
}

struct LocaleCase {
  const char* name;
  uint16_t expected;
};

class LangIdFromLocaleNameTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LangIdFromLocaleNameTest, MapsToWindowsIdentifier) {
  EXPECT_EQ(LangIdFromLocaleName(GetParam().name), GetParam().expected)
      << "\"" << GetParam().name << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LangIdFromLocaleNameTest,
    ::testing::Values(
        LocaleCase{"de_DE.UTF-8", 0x0407}, LocaleCase{"de_CH", 0x0807},
        LocaleCase{"de_AT.UTF-8", 0x0C07}, LocaleCase{"de_LU.utf8", 0x1007},
        LocaleCase{"de_LI", 0x1407}, LocaleCase{"de", 0x0407}, LocaleCase{"de_DE@euro", 0x0407},
        LocaleCase{"de_AT.ISO-8859-15@euro", 0x0C07},
        LocaleCase{"de-AT", 0x0C07},        // the form QLocale::bcp47Name() gives
        LocaleCase{"DE_at", 0x0C07},        // case does not matter
        LocaleCase{"de_IT.UTF-8", 0x0407},  // German speaker elsewhere still reads German
        LocaleCase{"en_US.UTF-8", 0x0409}, LocaleCase{"en_GB", 0x0809}, LocaleCase{"en", 0x0409},
        LocaleCase{"fr_FR@euro", 0x040C}, LocaleCase{"fr_CH", 0x100C}, LocaleCase{"C", 0x0409},
        LocaleCase{"C.UTF-8", 0x0409}, LocaleCase{"POSIX", 0x0409}, LocaleCase{"", 0x0409},
        LocaleCase{"xx_YY.UTF-8", 0x0409}, LocaleCase{"deu", 0x0409},  // not a two-letter "de"
        LocaleCase{"_AT", 0x0409}));  // territory without a language

// What the Linux build does at a first start: locale name, identifier, language.
TEST(LocaleToLanguageTest, GermanLocalesGiveGermanOthersEnglish) {
  EXPECT_EQ(DetectLanguage(LangIdFromLocaleName("de_AT.UTF-8")), 0);
  EXPECT_EQ(DetectLanguage(LangIdFromLocaleName("de_CH.UTF-8")), 0);
  EXPECT_EQ(DetectLanguage(LangIdFromLocaleName("de")), 0);
  EXPECT_EQ(DetectLanguage(LangIdFromLocaleName("en_US.UTF-8")), 1);
  EXPECT_EQ(DetectLanguage(LangIdFromLocaleName("fr_FR.UTF-8")), 1);
  EXPECT_EQ(DetectLanguage(LangIdFromLocaleName("C")), 1);
  EXPECT_EQ(DetectLanguage(LangIdFromLocaleName("")), 1);
}

}  // namespace
}  // namespace numvex
