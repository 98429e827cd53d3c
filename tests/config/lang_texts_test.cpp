#include "config/lang_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "config/conf.h"

namespace numvex {
namespace {

constexpr int kGerman = 0;
constexpr int kEnglish = 1;

// Every test picks its language; the record goes back to its program-start state afterwards
// so that no other test sees a language it did not ask for.
class LangTextTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetConfToProgramStart(); }

  static std::string TextIn(int language, const char* id) {
    Conf.Language = language;
    return GetLangText(id);
  }
};

TEST_F(LangTextTest, MenuCaptionInBothLanguages) {
  EXPECT_EQ(TextIn(kEnglish, "mnuFileCaption"), "&File");
  EXPECT_EQ(TextIn(kGerman, "mnuFileCaption"), "&Datei");
}

TEST_F(LangTextTest, LanguageIsReadAtEveryCall) {
  Conf.Language = kEnglish;
  EXPECT_EQ(GetLangText("quSave"), "Save changes?");
  Conf.Language = kGerman;
  EXPECT_EQ(GetLangText("quSave"), "\xC3\x84nderungen speichern?");
}

TEST_F(LangTextTest, UnknownIdComesBackBetweenQuestionMarks) {
  for (int language : {kGerman, kEnglish}) {
    SCOPED_TRACE(language);
    Conf.Language = language;
    EXPECT_EQ(GetLangText("mnuFileCaptionX"), "?mnuFileCaptionX?");
    EXPECT_EQ(GetLangText("noSuchText"), "?noSuchText?");
    EXPECT_EQ(GetLangText(""), "??");
    // Ids that sort before the first and after the last entry of the table.
    EXPECT_EQ(GetLangText("!"), "?!?");
    EXPECT_EQ(GetLangText("~~~"), "?~~~?");
  }
}

TEST_F(LangTextTest, NoLanguageSelectedGivesIdBetweenQuestionMarks) {
  for (int language : {-1, 2, 7, -100}) {
    SCOPED_TRACE(language);
    Conf.Language = language;
    EXPECT_EQ(GetLangText("quSave"), "?quSave?");
    EXPECT_EQ(GetLangText("mnuFileCaption"), "?mnuFileCaption?");
    EXPECT_EQ(GetLangText("noSuchText"), "?noSuchText?");
  }
}

TEST_F(LangTextTest, ProgramStartLanguageSelectsNothing) {
  ResetConfToProgramStart();
  EXPECT_EQ(GetLangText("quSave"), "?quSave?");
}

TEST_F(LangTextTest, IdsAreComparedWithCase) {
  for (int language : {kGerman, kEnglish}) {
    SCOPED_TRACE(language);
    Conf.Language = language;
    EXPECT_EQ(GetLangText("qusave"), "?qusave?");
    EXPECT_EQ(GetLangText("QuSave"), "?QuSave?");
    EXPECT_EQ(GetLangText("mnufilecaption"), "?mnufilecaption?");
    EXPECT_EQ(GetLangText("filter"), "?filter?");
    EXPECT_EQ(GetLangText("fatal error"), "?fatal error?");
  }
}

TEST_F(LangTextTest, IdsMayContainBlanks) {
  EXPECT_EQ(TextIn(kEnglish, "Fatal Error"), "Fatal error");
  EXPECT_EQ(TextIn(kGerman, "Fatal Error"), "Fehler");
  EXPECT_EQ(TextIn(kEnglish, "text nicht gefunden"), "Text not found or no replaces made.");
  EXPECT_EQ(TextIn(kGerman, "text nicht gefunden"), "Text nicht gefunden oder nicht ersetzt.");
}

struct BothTexts {
  const char* id;
  const char* english;
  const char* german;
};

TEST_F(LangTextTest, LeadingAndTrailingBlanksArePartOfTheText) {
  constexpr BothTexts kCases[] = {
      {"lblNumberCaption", " Number format ", " Zahlenformat "},
      {"lblLanguageCaption", " Language ", " Sprache "},
      {"lblSysOptsCaption", " Preferences ", " System-Optionen "},
      {"lblEditorOptions", " Editor options ", " Editor-Optionen "},
      {"x mal ersetzt", " times replaced.", " mal wurde der Text ersetzt."},
  };
  for (const BothTexts& c : kCases) {
    EXPECT_EQ(TextIn(kEnglish, c.id), c.english) << c.id;
    EXPECT_EQ(TextIn(kGerman, c.id), c.german) << c.id;
  }
}

// The window layer decodes the texts as UTF-8, so the umlauts must be the two-byte forms.
TEST_F(LangTextTest, GermanUmlautsAreUtf8) {
  constexpr BothTexts kCases[] = {
      {"quSave", "Save changes?", "\xC3\x84nderungen speichern?"},
      {"mnuFOpenCaption", "Open...",
       "\xC3\x96"
       "ffnen..."},
      {"mnuHAbout", "&About...",
       "&\xC3\x9C"
       "ber..."},
      {"mnuEUndoCaption", "Undo",
       "R\xC3\xBC"
       "ckg\xC3\xA4ngig"},
      {"frmSearchbtnSchliessen", "Close",
       "Schlie\xC3\x9F"
       "en"},
      {"pastelink", "Paste shortcut", "Verkn\xC3\xBCpfung einf\xC3\xBCgen"},
      {"chkShowSyntaxMenu", "Show syntax menu", "Syntax-Men\xC3\xBC anzeigen"},
  };
  for (const BothTexts& c : kCases) {
    EXPECT_EQ(TextIn(kEnglish, c.id), c.english) << c.id;
    EXPECT_EQ(TextIn(kGerman, c.id), c.german) << c.id;
  }
}

TEST_F(LangTextTest, PrintHeaderKeepsItsPlaceholders) {
  EXPECT_EQ(TextIn(kEnglish, "PrintedByHeader"), "Printed by %USER% (Computer: %PC%) at %TIME%");
  EXPECT_EQ(TextIn(kGerman, "PrintedByHeader"), "Gedruckt von %USER% (Computer: %PC%) am %TIME%");
}

TEST_F(LangTextTest, AskSaveCaptionQuotesTheQuestion) {
  EXPECT_EQ(TextIn(kEnglish, "chkAskSave"), "Prompt \"Save changes?\"");
  EXPECT_EQ(TextIn(kGerman, "chkAskSave"), "\"\xC3\x84nderungen speichern?\" Frage stellen");
}

TEST_F(LangTextTest, ReadOnlyMessageIsFourLinesJoinedByCrLf) {
  EXPECT_EQ(TextIn(kEnglish, "readonlytext"),
            "The file could not be saved. Possible reasons:\r\n"
            "1. The file is read-only.\r\n"
            "2. The drive is read-only.\r\n"
            "3. You have no permission to write.");
  EXPECT_EQ(TextIn(kGerman, "readonlytext"),
            "Die angegebene Datei konnte nicht gespeichert werden. M\xC3\xB6gliche Ursachen:\r\n"
            "1. Die Datei ist schreibgesch\xC3\xBCtzt.\r\n"
            "2. Das Laufwerk ist nicht beschreibbar.\r\n"
            "3. Sie haben keine Berechtigung am angegebenen Ort zu schreiben.");
  EXPECT_EQ(TextIn(kEnglish, "readonlycaption"), "Fatal Error");
  EXPECT_EQ(TextIn(kGerman, "readonlycaption"), "Fehler");
}

TEST_F(LangTextTest, TextModeIntroductionKeepsItsInnerQuotes) {
  EXPECT_EQ(TextIn(kEnglish, "FirstTextModeText"),
            "This is the first time you changed the program mode. You are now in text editor "
            "mode. Now the program will function as a normal text editor. The program now stops "
            "calculating and formatting the text automatically. In the editor options menu you "
            "will find an option called \"Show syntax menu\" - this will enable an extra Syntax "
            "menu to switch between programming languages - this is very helpful for "
            "programmers.");
  EXPECT_EQ(TextIn(kGerman, "FirstTextModeText"),
            "Sie haben zum ersten Mal in den TextEditor-Modus gewechselt. In diesem Modus "
            "verh\xC3\xA4lt sich die Numvex wie ein normaler Texteditor. Es werden keine "
            "Berechnungen mehr durchgef\xC3\xBChrt und der Text wird nicht mehr automatisch "
            "formatiert. Im Men\xC3\xBC \"Optionen - Editor-Optionen\" k\xC3\xB6nnen Sie "
            "zus\xC3\xA4tzlich ein Syntax-Men\xC3\xBC aktivieren, um z.B. Quelltexte komfortabel "
            "bearbeiten zu k\xC3\xB6nnen. Diese Option ist vor allem f\xC3\xBCr Programmierer "
            "hilfreich.");
  EXPECT_EQ(TextIn(kEnglish, "FirstTextModeCaption"), "Text editor mode");
  EXPECT_EQ(TextIn(kGerman, "FirstTextModeCaption"), "Wechsel in TextEditor Modus");
}

TEST_F(LangTextTest, SaveDialogFilter) {
  EXPECT_EQ(TextIn(kEnglish, "Filter"),
            "Numvex file (*.nvx)|*.nvx|Text file (*.txt)|*.txt|Configuration file (*.ini)|*.ini|"
            "C++ sources (*.cpp)|*.cpp;*.h;*.c|HTML file (*.html)|*.html;*.htm|"
            "Pascal source (*.pas)|*.pas|PERL script (*.pl)|*.pl;*.pm;*.cgi|"
            "Java file (*.java)|*.java|All files (*.*)|*.*");
  EXPECT_EQ(TextIn(kGerman, "Filter"),
            "Numvex-Datei (*.nvx)|*.nvx|Textdatei (*.txt)|*.txt|"
            "Konfigurationsdatei (*.ini)|*.ini|C++ Quelltext (*.cpp)|*.cpp;*.h;*.c|"
            "HTML Datei (*.html)|*.html;*.htm|Pascal Quelltext (*.pas)|*.pas|"
            "PERL Skript (*.pl)|*.pl;*.pm;*.cgi|Java Datei (*.java)|*.java|"
            "Alle Dateien (*.*)|*.*");
}

TEST_F(LangTextTest, OpenDialogFilterIsSaveFilterPlusAllSupportedFiles) {
  const char* const kPatterns =
      "*.nvx;*.txt;*.ini;*.pas;*.pl;*.pm;*.cgi;*.java;*.c;*.cpp;*.h;*.htm;*.html";
  EXPECT_EQ(TextIn(kEnglish, "FilterOpen"),
            TextIn(kEnglish, "Filter") + "|All supported files|" + kPatterns);
  EXPECT_EQ(TextIn(kGerman, "FilterOpen"),
            TextIn(kGerman, "Filter") + "|Alle unterst\xC3\xBCtzten Dateien|" + kPatterns);
}

// The table's 82 rows and the five texts that do not fit a row: one dropped or added
// shows here; the tests above name the texts the windows depend on.
constexpr std::size_t kTextCount = 88;

TEST_F(LangTextTest, EveryIdOnceSortedWithATextInBothLanguages) {
  ASSERT_EQ(LangTextCount(), kTextCount);
  for (std::size_t i = 0; i < LangTextCount(); ++i) {
    const std::string id(LangTextId(i));
    if (i > 0) {
      EXPECT_LT(LangTextId(i - 1), LangTextId(i)) << "table not sorted or repeated at " << id;
    }
    for (int language : {kGerman, kEnglish}) {
      const std::string text = TextIn(language, id.c_str());
      EXPECT_FALSE(text.empty()) << id << " in language " << language;
      EXPECT_NE(text, "?" + id + "?") << id << " in language " << language;
    }
  }
  EXPECT_EQ(LangTextId(LangTextCount()), "");
}

}  // namespace
}  // namespace numvex
