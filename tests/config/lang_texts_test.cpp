#include "config/lang_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "config/conf.h"

namespace numvex {
namespace {

constexpr int kGerman = 0;
constexpr int kEnglish = 1;

class LangTextTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetConfToProgramStart(); }
  static std::string TextIn(int language, std::string_view id) {
    Conf.Language = language;
    return GetLangText(id);
  }
};

// The window layer decodes the texts as UTF-8; the German letters are two-byte sequences.
bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) continue;
    if (c < 0xC2 || c > 0xDF || ++i == text.size() || (text[i] & 0xC0) != 0x80) return false;
  }
  return true;
}

TEST_F(LangTextTest, EveryIdOnceSortedWithAUtf8TextInBothLanguages) {
  ASSERT_GT(LangTextCount(), 80u);
  for (size_t i = 0; i < LangTextCount(); ++i) {
    const std::string id(LangTextId(i));
    if (i > 0) {
      EXPECT_LT(LangTextId(i - 1), LangTextId(i)) << "not sorted or doubled: " << id;
    }
    const std::string english = TextIn(kEnglish, id);
    const std::string german = TextIn(kGerman, id);
    for (const std::string& text : {english, german}) {
      EXPECT_FALSE(text.empty()) << id;
      EXPECT_NE(text, "?" + id + "?");
      EXPECT_TRUE(IsUtf8(text)) << id;
    }
  }
  EXPECT_EQ(LangTextId(LangTextCount()), "");
}

TEST_F(LangTextTest, TheLanguageChosenAtTheCallGivesItsText) {
  EXPECT_EQ(TextIn(kEnglish, "mnuFileCaption"), "&File");
  EXPECT_EQ(TextIn(kGerman, "mnuFileCaption"), "&Datei");
  // Blanks around a text belong to it.
  EXPECT_EQ(TextIn(kEnglish, "lblNumberCaption"), " Number format ");
  EXPECT_EQ(TextIn(kGerman, "FilterOpen").rfind(TextIn(kGerman, "Filter") + "|", 0), 0u);
}

TEST_F(LangTextTest, UnknownIdsAndUnknownLanguagesGiveTheIdBetweenQuestionMarks) {
  for (int language : {kGerman, kEnglish}) {
    for (const char* id : {"mnuFileCaptionX", "", "!", "~~~", "qusave", "QuSave", "fatal error"}) {
      EXPECT_EQ(TextIn(language, id), std::string("?") + id + "?") << language;
    }
  }
  for (int language : {-1, 2, 7, -100}) EXPECT_EQ(TextIn(language, "quSave"), "?quSave?");
  // Before the settings are read no language is chosen.
  ResetConfToProgramStart();
  EXPECT_EQ(GetLangText("quSave"), "?quSave?");
}

}  // namespace
}  // namespace numvex
