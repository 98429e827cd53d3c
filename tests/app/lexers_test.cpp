// The editor's lexers on a real QsciScintilla. The highlighter adapter: every byte gets its
// token's style, line end states carry comments and stretches over lines, attributes become
// Scintilla styles. The stock lexers of the text-editor mode.
#include <Qsci/qscilexer.h>

#include <QPointer>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/stock_lexers.h"
#include "app/syn_lexer_adapter.h"
#include "common/random_text.h"
#include "editor_fixture.h"
#include "highlight/syn_nvx.h"
#include "highlight/syn_zel_rep.h"
#include "tape/document_text.h"

namespace numvex::testing {
namespace {

// Scintilla's colour numbers put red in the low byte, as the program's colour values do.
long ScintillaColor(const QColor& color) {
  return color.red() | (color.green() << 8) | (color.blue() << 16);
}

class LexerTest : public ::testing::Test {
 protected:
  void Attach(TSynCustomHighlighter* highlighter) {
    lexer = std::make_unique<SynLexerAdapter>(highlighter);
    editor->setLexer(lexer.get());
  }
  ~LexerTest() override { editor->setLexer(nullptr); }

  void SetLines(const Tape& lines) {
    SetEditorBytes(*editor, Join(lines, "\n"));
    editor->recolor();
  }
  long Send(int message, long argument) const {
    return editor->SendScintilla(message, static_cast<unsigned long>(argument));
  }
  long LineStart(int line) const { return PositionOf(*editor, line, 0); }
  // Styles what Scintilla asks for when the line is repainted: up to its end.
  void StyleUpToEndOf(int line) {
    editor->SendScintilla(Sci::SCI_COLOURISE, 0UL, Send(Sci::SCI_GETLINEENDPOSITION, line - 1));
  }
  int StyleAt(int line, int column) const {
    return static_cast<int>(Send(Sci::SCI_GETSTYLEAT, PositionOf(*editor, line, column)));
  }
  int Style(const TSynHighlighterAttributes* attribute) const { return lexer->StyleOf(attribute); }
  // QScintilla hands Qt's weight to Scintilla negated, which SCI_STYLEGETBOLD does not read.
  bool Bold(int style) const {
    return std::abs(Send(Sci::SCI_STYLEGETWEIGHT, style)) > QFont::Normal;
  }

  // What the highlighter makes of the lines when scanned from the top, byte by byte and state by
  // state, in the editor's style numbers.
  void ExpectStylesAsScannedFromTheTop(const Tape& lines) {
    TSynCustomHighlighter& h = lexer->Highlighter();
    h.ResetScanState();
    for (size_t i = 0; i < lines.size(); ++i) {
      const int line = static_cast<int>(i) + 1;
      std::vector<int> expected(lines[i].size(), SynLexerAdapter::kPlainStyle);
      h.StartLine(lines[i].c_str(), line);
      for (; !h.AtLineEnd(); h.NextToken()) {
        std::fill_n(expected.begin() + h.TokenStart(), h.TokenLength(), Style(h.TokenAttribute()));
      }
      std::vector<int> actual;
      for (size_t b = 0; b < lines[i].size(); ++b) {
        actual.push_back(StyleAt(line, static_cast<int>(b)));
      }
      EXPECT_EQ(actual, expected) << "line " << line << ": " << lines[i];
      EXPECT_EQ(Send(Sci::SCI_GETLINESTATE, line - 1), static_cast<long>(h.ScanState())) << line;
      h.SetScanState(h.ScanState());
    }
  }

  std::unique_ptr<TSynhighNvx> nvx_ = MakeMainWindowNvx();
  std::unique_ptr<TzelRepSyn> rep_ = MakeSynOff();
  std::unique_ptr<QsciScintilla> editor = MakeEditor();
  std::unique_ptr<SynLexerAdapter> lexer;
};

struct TapeLexer : LexerTest {
  TapeLexer() { Attach(nvx_.get()); }
};
struct ReportLexer : LexerTest {
  ReportLexer() { Attach(rep_.get()); }
};

const Tape kTape = {
    "      +        45.00",
    "      -        12.50  # less the deposit",
    "      ----------------",
    "               32.50",
    "",
    "Rent \xA0marked from here",  // the tape's mark byte
    "   still marked 99",
    "until here\xA0 7",
    "[xterm -e top] and text",
    "\xE4\xF6\xFC \xF7 8",
};

TEST_F(TapeLexer, EveryByteAndLineStateIsAsTheHighlighterScansIt) {
  SetLines(kTape);
  ExpectStylesAsScannedFromTheTop(kTape);
}

TEST_F(ReportLexer, RestylingStopsWhereTheStatesAgreeAgainAndAFreshDocumentWhereAsked) {
  Tape lines = {"a /* b", "c", "d */ e"};
  for (int i = 0; i < 300; ++i) lines.push_back("(line " + std::to_string(i) + ")");
  // The report highlighter's first state is not 0, what Scintilla reports for a line never
  // styled; that difference is no reason to style the whole document.
  SetEditorBytes(*editor, Join(lines, "\n"));
  StyleUpToEndOf(2);
  EXPECT_LT(editor->SendScintilla(Sci::SCI_GETENDSTYLED), LineStart(4));
  editor->recolor();
  editor->SendScintilla(Sci::SCI_GOTOPOS, 2UL);
  QTest::keyClick(editor.get(), Qt::Key_Delete);
  StyleUpToEndOf(1);
  // Line 3 ends in the state it had before, so nothing below it needed a new look.
  EXPECT_LE(editor->SendScintilla(Sci::SCI_GETENDSTYLED), LineStart(4));
  EXPECT_GE(editor->SendScintilla(Sci::SCI_GETENDSTYLED), LineStart(4) - 1);
}

// Edits anywhere, then styling up to some point, as repaints ask for it: whatever Scintilla
// counts as styled must read as a scan from the top would.
TEST_F(ReportLexer, StylingAfterAnyEditAgreesWithAScanFromTheTop) {
  const Tape pieces = {"/*", "*/", "(", ")", "\n", "12", " ", "x", "\"", "#"};
  const Tape start = {
      "#include <x>", "int f(a, \"text\") /* note", "still note */ (1 + 2))", "", "3.5 ; ((",
      "end"};
  SetLines(start);
  ExpectStylesAsScannedFromTheTop(start);
  RandomText random(12345);
  for (int round = 0; round < 200; ++round) {
    const long length = editor->SendScintilla(Sci::SCI_GETLENGTH);
    const unsigned long at = random.Below(static_cast<unsigned>(length) + 1);
    if (random.OneIn(3) && length > 0) {
      const long count = std::min<long>(1 + random.Below(4), length - static_cast<long>(at));
      editor->SendScintilla(Sci::SCI_DELETERANGE, at, count);
    } else {
      editor->SendScintilla(Sci::SCI_INSERTTEXT, at, pieces[random.Below(10)].c_str());
    }
    const long new_length = editor->SendScintilla(Sci::SCI_GETLENGTH);
    editor->SendScintilla(Sci::SCI_COLOURISE, 0UL,
                          static_cast<long>(random.Below(static_cast<unsigned>(new_length) + 1)));

    const std::string text = EditorBytes(*editor);
    Tape lines;
    SplitLines(text, [&](size_t at, size_t n) { lines.push_back(text.substr(at, n)); });
    // The lines wholly styled.
    lines.resize(static_cast<size_t>(
        Send(Sci::SCI_LINEFROMPOSITION, editor->SendScintilla(Sci::SCI_GETENDSTYLED))));
    ExpectStylesAsScannedFromTheTop(lines);
    if (HasFailure()) {
      ADD_FAILURE() << "round " << round << ", text:\n" << text;
      break;
    }
  }
}

TEST_F(TapeLexer, ChangingAnAttributeChangesItsStyleAndRestylesTheText) {
  SetLines(kTape);
  const int number = Style(nvx_->NumberAttri());
  // Wipe the styling behind the adapter's back, as if it were stale.
  editor->SendScintilla(Sci::SCI_STARTSTYLING, 0UL);
  Send(Sci::SCI_SETSTYLING, static_cast<long>(EditorBytes(*editor).size()));
  ASSERT_NE(StyleAt(1, 15), number);
  nvx_->NumberAttri()->SetForeground(clRed);
  EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, number), static_cast<long>(clRed));
  ExpectStylesAsScannedFromTheTop(kTape);
}

TEST_F(TapeLexer, AttributeColoursAndFontStylesBecomeTheStyles) {
  TSynHighlighterAttributes& link = *nvx_->LinkAttri();
  const int style = Style(&link);
  const long text = ScintillaColor(lexer->defaultColor()),
             paper = ScintillaColor(lexer->defaultPaper());
  const QPalette palette = editor->palette();
  // clang-format off
  const struct { TColor fore, back; long expected_fore, expected_back; } kColors[] = {
      {clNone, clNone, text, paper}, {clMaroon, clAqua, clMaroon, clAqua},
      // System colours come from the editor's palette.
      {clHighlightText, clHighlight, ScintillaColor(palette.color(QPalette::HighlightedText)), ScintillaColor(palette.color(QPalette::Highlight))},
      {clNone, clNone, text, paper}};
  const struct { TFontStyles styles; bool bold, italic, underline; } kFonts[] = {
      {fsItalic | fsUnderline, false, true, true}, {fsBold, true, false, false}};
  // clang-format on
  for (const auto& c : kColors) {
    link.SetForeground(c.fore);
    link.SetBackground(c.back);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, style), c.expected_fore) << c.fore;
    EXPECT_EQ(Send(Sci::SCI_STYLEGETBACK, style), c.expected_back) << c.back;
  }
  for (const auto& c : kFonts) {
    link.SetStyle(c.styles);
    EXPECT_EQ(Bold(style), c.bold);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETITALIC, style) != 0, c.italic);
    EXPECT_EQ(Send(Sci::SCI_STYLEGETUNDERLINE, style) != 0, c.underline);
  }
}

std::string StyleFontName(const QsciScintilla& editor, int style) {
  char name[256] = {};
  editor.SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(style),
                       static_cast<void*>(name));
  return name;
}

// Scintilla takes points: 13 px stay 13 px on this screen. A font for all styles, as the window
// hands it over, replaces the base but not the bold.
TEST_F(TapeLexer, EveryStyleUsesTheEditorsFontAtItsPixelSizeAndKeepsItsBoldness) {
  const int key = Style(nvx_->KeyAttri());  // bold by the highlighter's default
  const int number = Style(nvx_->NumberAttri());
  const std::string family = editor->font().family().toStdString();
  EXPECT_EQ(std::pair(StyleFontName(*editor, key), StyleFontName(*editor, number)),
            std::pair(family, family));
  EXPECT_EQ(std::pair(Bold(key), Bold(number)), std::pair(true, false));
  EXPECT_EQ(Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, number),
            std::lround(13 * 72.0 / editor->logicalDpiY() * Sci::SC_FONT_SIZE_MULTIPLIER));
  QFont other("Liberation Sans");
  other.setPointSize(15);
  lexer->setFont(other);
  EXPECT_EQ(std::pair(StyleFontName(*editor, key), StyleFontName(*editor, number)),
            std::pair(std::string("Liberation Sans"), std::string("Liberation Sans")));
  EXPECT_EQ(std::pair(Bold(key), Bold(number)), std::pair(true, false));
  EXPECT_EQ(Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, number), 15 * Sci::SC_FONT_SIZE_MULTIPLIER);
}

TEST_F(TapeLexer, NamesTheLanguageEveryAttributeStyleAndTheWordCharacters) {
  EXPECT_STREQ(lexer->language(), "highNvx");
  EXPECT_EQ(lexer->description(SynLexerAdapter::kPlainStyle), "Default");
  std::vector<int> styles;
  for (int i = 0; i < nvx_->AttributeCount(); ++i) {
    styles.push_back(Style(nvx_->AttributeAt(i)));
    EXPECT_EQ(lexer->description(styles.back()).toStdString(), nvx_->AttributeAt(i)->Name());
  }
  std::sort(styles.begin(), styles.end());  // distinct, none of them Scintilla's own
  EXPECT_EQ(std::adjacent_find(styles.begin(), styles.end()), styles.end());
  for (int style : styles)
    EXPECT_TRUE(style > 0 && (style < Sci::STYLE_DEFAULT || style > Sci::STYLE_LASTPREDEFINED));
  EXPECT_TRUE(lexer->description(Sci::STYLE_DEFAULT).isEmpty());
  std::string expected;
  for (int c = 1; c < 256; ++c) {
    if (nvx_->WordCharacters().test(static_cast<size_t>(c)))
      expected.push_back(static_cast<char>(c));
  }
  EXPECT_EQ(lexer->wordCharacters(), expected);
}

TEST(LexerLifetime, TheAdapterListensToItsHighlighterOnlyWhileItLives) {
  auto nvx = MakeMainWindowNvx();
  {
    SynLexerAdapter adapter(nvx.get());
    EXPECT_EQ(nvx->ListenerCount(), 1);
  }
  EXPECT_EQ(nvx->ListenerCount(), 0);
}

// --- the editor component's own lexers for the text-editor mode ----------------------------

struct StockCase {
  const char* name;
  StockLexer which;
  const char* language;
};

class StockLexerTest : public ::testing::TestWithParam<StockCase> {};

TEST_P(StockLexerTest, OneLexerPerLanguageOwnedByTheSetOrItsParentInTheEditorsFont) {
  QObject owner;
  QPointer<QsciLexer> owned_by_parent;
  QPointer<QsciLexer> owned_by_set;
  {
    StockLexers lexers(&owner);
    owned_by_parent = lexers.Get(GetParam().which);
    ASSERT_NE(owned_by_parent, nullptr);
    EXPECT_EQ(lexers.Get(GetParam().which), owned_by_parent.data());
    EXPECT_STREQ(owned_by_parent->language(), GetParam().language);
    StockLexers without_parent;
    owned_by_set = without_parent.Get(GetParam().which);
    ASSERT_FALSE(owned_by_set.isNull());
  }
  EXPECT_FALSE(owned_by_parent.isNull());
  EXPECT_TRUE(owned_by_set.isNull());

  // The editor's font reaches every style; each keeps its own bold and italic.
  std::unique_ptr<QsciScintilla> editor = MakeEditor();
  std::unique_ptr<QsciLexer> lexer = MakeStockLexer(GetParam().which);
  EXPECT_STREQ(lexer->language(), GetParam().language);
  std::vector<std::pair<int, QFont>> before;
  for (int style = 0; style <= Sci::STYLE_MAX; ++style) {
    if (!lexer->description(style).isEmpty()) before.emplace_back(style, lexer->font(style));
  }
  ASSERT_FALSE(before.empty());
  ApplyEditorFont(*lexer, editor->font(), editor.get());
  for (const auto& [style, font] : before) {
    const QFont after = lexer->font(style);
    EXPECT_EQ(after.family(), editor->font().family()) << style;
    EXPECT_DOUBLE_EQ(after.pointSizeF(), 13 * 72.0 / editor->logicalDpiY()) << style;
    EXPECT_EQ(std::pair(after.bold(), after.italic()), std::pair(font.bold(), font.italic()));
  }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Languages, StockLexerTest, ::testing::Values(
    StockCase{"Cpp", StockLexer::SynCpp, "C++"}, StockCase{"Java", StockLexer::SynJava, "Java"},
    StockCase{"Html", StockLexer::SynHTML, "HTML"}, StockCase{"Perl", StockLexer::SynPerl, "Perl"},
    StockCase{"Ini", StockLexer::SynIni, "Properties"}, StockCase{"Pascal", StockLexer::SynPas, "Pascal"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace numvex::testing
