#include "config/lang_texts.h"

#include <algorithm>
#include <array>

#include "config/conf.h"

namespace numvex {
namespace {

struct LangEntry {
  std::string_view id;
  std::string_view english;
  std::string_view german;
};

// The save dialog's filter; the open dialog's is the same followed by one more pair, so both
// are spelled once here and joined by the compiler.
#define NUMVEX_FILTER_EN                                                                    \
  "Numvex file (*.nvx)|*.nvx|Text file (*.txt)|*.txt|Configuration file (*.ini)|*.ini|C++ " \
  "sources (*.cpp)|*.cpp;*.h;*.c|HTML file (*.html)|*.html;*.htm|Pascal source "            \
  "(*.pas)|*.pas|PERL script (*.pl)|*.pl;*.pm;*.cgi|Java file (*.java)|*.java|All files "   \
  "(*.*)|*.*"
#define NUMVEX_FILTER_DE                                                                      \
  "Numvex-Datei (*.nvx)|*.nvx|Textdatei (*.txt)|*.txt|Konfigurationsdatei (*.ini)|*.ini|C++ " \
  "Quelltext (*.cpp)|*.cpp;*.h;*.c|HTML Datei (*.html)|*.html;*.htm|Pascal Quelltext "        \
  "(*.pas)|*.pas|PERL Skript (*.pl)|*.pl;*.pm;*.cgi|Java Datei (*.java)|*.java|Alle Dateien " \
  "(*.*)|*.*"
#define NUMVEX_ALL_SUPPORTED_PATTERNS \
  "*.nvx;*.txt;*.ini;*.pas;*.pl;*.pm;*.cgi;*.java;*.c;*.cpp;*.h;*.htm;*.html"

// Kept in the order of the windows that use the texts, which is easier to maintain than
// alphabetical order; kSortedTexts below is the same table sorted for the lookup. Leading
// and trailing blanks belong to the texts: the options dialog draws its group headings over
// a line, and the replace dialog puts the count in front of " times replaced.".
constexpr LangEntry kTexts[] = {
    {"FileDoesNotExist", "The file you entered could not be found.",
     "Die angegebene Datei existiert nicht ( Tippfehler?)."},
    {"FirstTextModeCaption", "Text editor mode", "Wechsel in TextEditor Modus"},
    {"pastelink", "Paste shortcut", "Verknüpfung einfügen"},
    {"editlink", "Edit shortcut", "Verknüpfung ändern"},
    {"Fatal Error", "Fatal error", "Fehler"},
    {"quSave", "Save changes?", "Änderungen speichern?"},
    {"mnuOPreferencesCaption", "Preferences...", "Einstellungen..."},
    {"mnuOTexteditorModeCaption", "Texteditor-mode", "Texteditor-Modus"},
    {"mnuONumvexModeCaption", "Numvex-mode", "Numvex-Modus"},
    {"mnuFileCaption", "&File", "&Datei"},
    {"mnuFNewCaption", "New", "Neu"},
    {"mnuFOpenCaption", "Open...", "Öffnen..."},
    {"mnuFSaveCaption", "Save", "Speichern"},
    {"mnuFSaveAsCaption", "Save as...", "Speichern unter..."},
    {"mnuFPrintCaption", "Print...", "Drucken..."},
    {"mnuFExitCaption", "Quit", "Beenden"},
    {"mnuEditCaption", "&Edit", "&Bearbeiten"},
    {"frmHelpCaption", "Numvex: Help", "Numvex: Hilfe"},
    {"mnuEUndoCaption", "Undo", "Rückgängig"},
    {"mnuERedoCaption", "Redo", "Widerrufen"},
    {"mnuECutCaption", "Cut", "Ausschneiden"},
    {"mnuECopyCaption", "Copy", "Kopieren"},
    {"mnuEInsertCaption", "Paste", "Einfügen"},
    {"mnuEDelCaption", "Delete", "Löschen"},
    {"mnuEMarkAllCaption", "Select all", "Alles auswählen"},
    {"mnuESearchCaption", "Find...", "Suchen..."},
    {"mnuESearchAgainCaption", "Find next", "Weitersuchen"},
    {"mnuEReplaceCaption", "Find and replace...", "Suchen und ersetzen..."},
    {"mnuOptionsCaption", "&Options", "&Optionen"},
    {"mnuHelpCaption", "&Help", "&Hilfe"},
    {"mnuHHelp", "Help...", "Hilfe..."},
    {"mnuHAbout", "&About...", "&Über..."},
    {"cmdCancelCaption", "Cancel", "Abbrechen"},
    {"Optionscaption", "Numvex: Options", "Numvex: Optionen"},
    {"lblNumberCaption", " Number format ", " Zahlenformat "},
    {"lblDecimalsCaption", "Number of decimal places(0..9)", "Anzahl der Dezimalstellen(0..9)"},
    {"chkRoundCaption", "Round results", "Ergebnisse runden"},
    {"lblLanguageCaption", " Language ", " Sprache "},
    {"lblSysOptsCaption", " Preferences ", " System-Optionen "},
    {"chkExtensionCaption", "Register .nvx extension", "Dateityp .nvx registrieren"},
    {"chkAddIconCaption", "Add icon to the taskbar", "Icon in der Task-Leiste anzeigen"},
    {"chkAllwaysOnTopCaption", "Always on top", "Immer im Vordergrund"},
    {"chkShowNumPadCaption", "Show numeric keypad", "Ziffernblock anzeigen"},
    {"chkShowSyntaxMenu", "Show syntax menu", "Syntax-Menü anzeigen"},
    {"frmSearchCaption", "Find", "Suchen"},
    {"frmSearchlblSuchen", "Search for", "Suchen nach"},
    {"frmSearchchkGesamt", "Start at top of document", "ab Textanfang"},
    {"frmSearchchkGanzesWort", "Find whole words only", "nur ganze Wörter"},
    {"frmSearchchkFensterSchliessen", "Close window and use F3-key to find next match",
     "Fenster schliessen und mit Taste F3 weitersuchen"},
    {"frmSearchbtnSuchen", "Find", "Suchen"},
    {"frmSearchbtnSchliessen", "Close", "Schließen"},
    {"frmReplaceCaption", "Find and replace", "Suchen und ersetzen"},
    {"frmReplacelblSuchenNach", "Search for:", "Suchen nach:"},
    {"frmReplacelblErsetzenDurch", "Replace with:", "Ersetzen durch:"},
    {"frmReplacechkAllesErsetzen", "Replace all (unchecked = replace first)",
     "Alles ersetzen (deaktiviert = nur erstes)"},
    {"frmReplacechkGanzeWoerter", "Find whole words only", "Nur ganze Wörter"},
    {"frmReplaceradgrpBereich", "Area", "Bereich"},
    {"frmReplacebtnOK", "OK", "OK"},
    {"frmReplacebtnCancel", "Cancel", "Abbrechen"},
    {"frmReplaceFromCursor", "From cursor to end of file", "Ab Cursor"},
    {"frmReplaceSelectedText", "Selected text only", "Markierter Text"},
    {"frmReplaceComplete", "Complete text", "Gesamter Text"},
    {"SmartTabs", "Smart tabs", "Automatische Tabs"},
    {"AutoIndent", "Auto indent", "Automatischer Einzug"},
    {"TrailingSpaces", "Cut trailing spaces", "Leerzeichen am Zeilenende löschen"},
    {"TabsToSpaces", "Convert tabs to spaces", "Tabs als Leerzeichen speichern"},
    {"DragDropEditing", "Allow drag and drop editing", "Drag-and-Drop-Modus"},
    {"chkGutter", "Show line numbers", "Zeilennummern anzeigen"},
    {"lblEditorHint", "This option is available in text editor mode only",
     "Diese Option wirkt nur im Text-Editor-Modus"},
    {"lblEditorOptions", " Editor options ", " Editor-Optionen "},
    {"lblTabCount", "Tabstops", "Tabstopps"},
    {"Error200", "Division by zero!", "Division durch Null!"},
    {"Ooops", "Ooops", "Huch!"},
    {"Replace", "Replace this match?", "Dieses Vorkommen ersetzen?"},
    {"readonlycaption", "Fatal Error", "Fehler"},
    {"ReplaceCaption", "Replace", "Ersetzen"},
    {"chkPrompt", "Prompt on replace", "Mit Bestätigung"},
    {"x mal ersetzt", " times replaced.", " mal wurde der Text ersetzt."},
    {"text nicht gefunden", "Text not found or no replaces made.",
     "Text nicht gefunden oder nicht ersetzt."},
    {"mnuPActivate", "Activate Numvex", "Numvex aktivieren"},
    {"mnuPQuit", "Quit", "Beenden"},
    {"PrintedByHeader", "Printed by %USER% (Computer: %PC%) at %TIME%",
     "Gedruckt von %USER% (Computer: %PC%) am %TIME%"},

    // Texts with quotes, line breaks or more length than a table row holds.
    {"chkAskSave", "Prompt \"Save changes?\"", "\"Änderungen speichern?\" Frage stellen"},
    {"readonlytext",
     "The file could not be saved. Possible reasons:\r\n"
     "1. The file is read-only.\r\n"
     "2. The drive is read-only.\r\n"
     "3. You have no permission to write.",
     "Die angegebene Datei konnte nicht gespeichert werden. Mögliche Ursachen:\r\n"
     "1. Die Datei ist schreibgeschützt.\r\n"
     "2. Das Laufwerk ist nicht beschreibbar.\r\n"
     "3. Sie haben keine Berechtigung am angegebenen Ort zu schreiben."},
    {"FirstTextModeText",
     "This is the first time you changed the program mode. You are now in text editor mode. "
     "Now the program will function as a normal text editor. The program now stops "
     "calculating and formatting the text automatically. In the editor options menu you will "
     "find an option called \"Show syntax menu\" - this will enable an extra Syntax menu to "
     "switch between programming languages - this is very helpful for programmers.",
     "Sie haben zum ersten Mal in den TextEditor-Modus gewechselt. In diesem Modus verhält "
     "sich die Numvex wie ein normaler Texteditor. Es werden keine Berechnungen mehr "
     "durchgeführt und der Text wird nicht mehr automatisch formatiert. Im Menü \"Optionen - "
     "Editor-Optionen\" können Sie zusätzlich ein Syntax-Menü aktivieren, um z.B. Quelltexte "
     "komfortabel bearbeiten zu können. Diese Option ist vor allem für Programmierer "
     "hilfreich."},
    {"dlgSaveAsCaption", "Save Numvex file", "Numvex-Datei speichern"},
    {"dlgOpenCaption", "Open Numvex file", "Numvex-Datei öffnen"},
    {"Filter", NUMVEX_FILTER_EN, NUMVEX_FILTER_DE},
    {"FilterOpen", NUMVEX_FILTER_EN "|All supported files|" NUMVEX_ALL_SUPPORTED_PATTERNS,
     NUMVEX_FILTER_DE "|Alle unterstützten Dateien|" NUMVEX_ALL_SUPPORTED_PATTERNS},
};

#undef NUMVEX_FILTER_EN
#undef NUMVEX_FILTER_DE
#undef NUMVEX_ALL_SUPPORTED_PATTERNS

constexpr std::size_t kTextCount = sizeof(kTexts) / sizeof(kTexts[0]);

// Insertion sort at compile time: the lookup table costs nothing at start and the sorting
// cannot be forgotten when a text is added.
constexpr std::array<LangEntry, kTextCount> SortById(const LangEntry (&texts)[kTextCount]) {
  std::array<LangEntry, kTextCount> sorted{};
  for (std::size_t i = 0; i < kTextCount; ++i) {
    std::size_t j = i;
    while (j > 0 && texts[i].id < sorted[j - 1].id) {
      sorted[j] = sorted[j - 1];
      --j;
    }
    sorted[j] = texts[i];
  }
  return sorted;
}

constexpr std::array<LangEntry, kTextCount> kSortedTexts = SortById(kTexts);

constexpr bool IdsUniqueAndTextsPresent() {
  for (std::size_t i = 0; i < kTextCount; ++i) {
    if (kSortedTexts[i].id.empty() || kSortedTexts[i].english.empty() ||
        kSortedTexts[i].german.empty()) {
      return false;
    }
    if (i > 0 && kSortedTexts[i - 1].id == kSortedTexts[i].id) return false;
  }
  return true;
}
// A doubled id would make the binary search pick either entry; refuse it at build time.
static_assert(IdsUniqueAndTextsPresent(), "language text ids must be unique and filled");

const LangEntry* FindEntry(std::string_view id) {
  const auto it =
      std::lower_bound(kSortedTexts.begin(), kSortedTexts.end(), id,
                       [](const LangEntry& entry, std::string_view key) { return entry.id < key; });
  if (it == kSortedTexts.end() || it->id != id) return nullptr;
  return &*it;
}

struct LocaleLangId {
  std::string_view language;   // lower case
  std::string_view territory;  // upper case; empty for the language's main identifier
  uint16_t lang_id;
};

// Windows builds a language identifier as (sublanguage << 10) | primary language. Only the
// German ones decide anything today; the others keep the identifier honest for whoever
// reads it later.
constexpr LocaleLangId kLocaleLangIds[] = {
    {"de", "", 0x0407},   {"de", "DE", 0x0407}, {"de", "CH", 0x0807}, {"de", "AT", 0x0C07},
    {"de", "LU", 0x1007}, {"de", "LI", 0x1407}, {"en", "", 0x0409},   {"en", "US", 0x0409},
    {"en", "GB", 0x0809}, {"en", "AU", 0x0C09}, {"en", "CA", 0x1009}, {"en", "NZ", 0x1409},
    {"en", "IE", 0x1809}, {"en", "ZA", 0x1C09}, {"fr", "", 0x040C},   {"fr", "FR", 0x040C},
    {"fr", "BE", 0x080C}, {"fr", "CA", 0x0C0C}, {"fr", "CH", 0x100C}, {"fr", "LU", 0x140C},
    {"it", "", 0x0410},   {"it", "IT", 0x0410}, {"it", "CH", 0x0810}, {"es", "", 0x0C0A},
    {"es", "ES", 0x0C0A}, {"es", "MX", 0x080A}, {"nl", "", 0x0413},   {"nl", "NL", 0x0413},
    {"nl", "BE", 0x0813}, {"pt", "", 0x0816},   {"pt", "PT", 0x0816}, {"pt", "BR", 0x0416},
    {"da", "", 0x0406},   {"sv", "", 0x041D},   {"nb", "", 0x0414},   {"fi", "", 0x040B},
    {"pl", "", 0x0415},   {"cs", "", 0x0405},   {"hu", "", 0x040E},   {"ru", "", 0x0419},
    {"tr", "", 0x041F},   {"el", "", 0x0408},   {"ja", "", 0x0411},   {"zh", "", 0x0804},
    {"zh", "CN", 0x0804}, {"zh", "TW", 0x0404}, {"ko", "", 0x0412},
};

constexpr uint16_t kEnglishUs = 0x0409;

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string GetLangText(std::string_view id) {
  if (const LangEntry* entry = FindEntry(id)) {
    if (Conf.Language == 1) return std::string(entry->english);
    if (Conf.Language == 0) return std::string(entry->german);
  }
  std::string unknown;
  unknown.reserve(id.size() + 2);
  unknown += '?';
  unknown += id;
  unknown += '?';
  return unknown;
}

std::size_t LangTextCount() { return kTextCount; }

std::string_view LangTextId(std::size_t index) {
  return index < kTextCount ? kSortedTexts[index].id : std::string_view();
}

int DetectLanguage(uint16_t lang_id) {
  switch (lang_id) {
    case 0x0407:  // Germany
    case 0x0807:  // Switzerland
    case 0x0C07:  // Austria
    case 0x1007:  // Luxembourg
    case 0x1407:  // Liechtenstein
      return 0;
    default:
      return 1;
  }
}

uint16_t LangIdFromLocaleName(std::string_view name) {
  // language[_territory][.codeset][@modifier]; BCP 47 style "de-AT" is taken as well.
  name = name.substr(0, name.find_first_of(".@"));
  const std::size_t split = name.find_first_of("_-");
  const std::string_view language = name.substr(0, split);
  const std::string_view territory =
      split == std::string_view::npos ? std::string_view() : name.substr(split + 1);

  uint16_t main_id = 0;
  for (const LocaleLangId& entry : kLocaleLangIds) {
    if (!EqualsNoCase(entry.language, language)) continue;
    if (entry.territory.empty()) main_id = entry.lang_id;
    if (!territory.empty() && EqualsNoCase(entry.territory, territory)) return entry.lang_id;
  }
  return main_id != 0 ? main_id : kEnglishUs;
}

}  // namespace numvex
