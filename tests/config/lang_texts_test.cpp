#include "config/lang_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "config/conf.h"

namespace numvex {
namespace {

constexpr int kGerman = 0, kEnglish = 1;

std::string TextIn(int language, std::string_view id) {
  Conf.Language = language;
  const std::string text = GetLangText(id);
  ResetConfToProgramStart();
  return text;
}

// The window layer decodes the texts as UTF-8; the German letters are two-byte sequences.
bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80 && (c < 0xC2 || c > 0xDF || ++i == text.size() || (text[i] & 0xC0) != 0x80)) {
      return false;
    }
  }
  return true;
}

TEST(LangTextTest, EveryIdOnceSortedWithAUtf8TextInBothLanguages) {
  ASSERT_GT(LangTextCount(), 80u);
  for (size_t i = 0; i < LangTextCount(); ++i) {
    const std::string id(LangTextId(i));
    if (i > 0) {
      EXPECT_LT(LangTextId(i - 1), id) << "not sorted or doubled";
    }
    for (const std::string& text : {TextIn(kEnglish, id), TextIn(kGerman, id)}) {
      EXPECT_TRUE(!text.empty() && text != "?" + id + "?" && IsUtf8(text)) << id << ": " << text;
    }
  }
  EXPECT_EQ(LangTextId(LangTextCount()), "");
}

// Texts keep their blanks; an unknown id (ids have case), or a language other than German
// and English (-1 before the settings are read), gives the id between question marks.
TEST(LangTextTest, TextsOfTheLanguageAtTheCall) {
  // clang-format off
  const struct { int language; const char* id; const char* expected; } kCases[] = {
      {kEnglish, "mnuFileCaption", "&File"}, {kGerman, "mnuFileCaption", "&Datei"},
      {kEnglish, "lblNumberCaption", " Number format "}, {kGerman, "mnuFileCaptionX", "?mnuFileCaptionX?"},
      {kEnglish, "", "??"}, {kGerman, "~~~", "?~~~?"}, {kEnglish, "QuSave", "?QuSave?"},
      {kGerman, "qusave", "?qusave?"}, {kEnglish, "!", "?!?"}, {-1, "quSave", "?quSave?"},
      {2, "quSave", "?quSave?"}, {-100, "quSave", "?quSave?"}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(TextIn(c.language, c.id), c.expected) << c.language;
  EXPECT_EQ(TextIn(kGerman, "FilterOpen").rfind(TextIn(kGerman, "Filter") + "|", 0), 0u);
}

// German for the German identifiers of Germany, Switzerland, Austria, Luxembourg and
// Liechtenstein; 0x0007 is German without a country, 0x1807 the sublanguage after these.
TEST(LangTextTest, DetectLanguage) {
  for (uint16_t id : {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407})
    EXPECT_EQ(DetectLanguage(id), 0) << id;
  for (uint16_t id : {0x0409, 0x040C, 0x0007, 0x1807, 0x0000, 0xFFFF})
    EXPECT_EQ(DetectLanguage(id), 1) << id;
}

// "de-AT" is QLocale::bcp47Name()'s form; a German speaker elsewhere still reads German.
TEST(LangTextTest, LangIdFromLocaleName) {
  // clang-format off
  const struct { const char* name; uint16_t expected; } kCases[] = {
      {"de_DE.UTF-8", 0x0407}, {"de_CH", 0x0807}, {"de_AT.UTF-8", 0x0C07}, {"de_LU.utf8", 0x1007},
      {"de_LI", 0x1407}, {"de", 0x0407}, {"de_DE@euro", 0x0407}, {"de_AT.ISO-8859-15@euro", 0x0C07},
      {"de-AT", 0x0C07}, {"DE_at", 0x0C07}, {"de_IT.UTF-8", 0x0407}, {"en_GB", 0x0809},
      {"en", 0x0409}, {"fr_FR@euro", 0x040C}, {"fr_CH", 0x100C}, {"C.UTF-8", 0x0409}, {"POSIX", 0x0409},
      {"", 0x0409}, {"xx_YY.UTF-8", 0x0409}, {"deu", 0x0409}, {"_AT", 0x0409}};
  // clang-format on
  for (const auto& c : kCases) EXPECT_EQ(LangIdFromLocaleName(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace numvex
