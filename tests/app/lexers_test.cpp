// The highlighter adapter and the stock lexers on a real QsciScintilla.
#include <Qsci/qscilexer.h>

#include <QPointer>
#include <QTest>
#include <algorithm>
#include <cmath>

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
long ScintillaColor(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

class LexerTest : public ::testing::Test {
 protected:
  void Attach(TSynCustomHighlighter* highlighter) {
    lexer = std::make_unique<SynLexerAdapter>(highlighter);
    editor->setLexer(lexer.get());
  }
  ~LexerTest() override { editor->setLexer(nullptr); }

  long Send(int message, long argument = 0, long more = 0) const {
    return editor->SendScintilla(message, static_cast<unsigned long>(argument), more);
  }
  int StyleAt(int line, int column) const {
    return static_cast<int>(Send(Sci::SCI_GETSTYLEAT, PositionOf(*editor, line, column)));
  }
  int Style(const TSynHighlighterAttributes* attribute) const { return lexer->StyleOf(attribute); }
  // QScintilla hands Qt's weight to Scintilla negated, which SCI_STYLEGETBOLD does not read.
  bool Bold(int s) const { return std::abs(Send(Sci::SCI_STYLEGETWEIGHT, s)) > QFont::Normal; }

  // What the highlighter makes of the lines when scanned from the top, byte by byte and state by
  // state, in the editor's style numbers.
  void ExpectStylesAsScannedFromTheTop(const Tape& lines) {
    TSynCustomHighlighter& h = lexer->Highlighter();
    h.ResetScanState();
    for (size_t i = 0; i < lines.size(); ++i) {
      const int line = static_cast<int>(i) + 1;
      std::vector<int> expected(lines[i].size(), SynLexerAdapter::kPlainStyle), actual;
      h.StartLine(lines[i].c_str(), line);
      for (; !h.AtLineEnd(); h.NextToken())
        std::fill_n(expected.begin() + h.TokenStart(), h.TokenLength(), Style(h.TokenAttribute()));
      for (size_t b = 0; b < lines[i].size(); ++b) actual.push_back(StyleAt(line, int(b)));
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

const Tape kTape = {"      +        45.00",
                    "      -        12.50  # less the deposit",
                    "      ----------------",
                    "               32.50",
                    "",
                    "Rent \xA0marked from here",  // the tape's mark byte
                    "   still marked 99",
                    "until here\xA0 7",
                    "[xterm -e top] and text",
                    "\xE4\xF6\xFC \xF7 8"};

TEST_F(TapeLexer, EveryByteAndLineStateIsAsTheHighlighterScansItAlsoAfterAnAttributeChange) {
  SetEditorBytes(*editor, Join(kTape, "\n"));
  editor->recolor();
  ExpectStylesAsScannedFromTheTop(kTape);
  const int number = Style(nvx_->NumberAttri());
  // Wipe the styling behind the adapter's back, as if it were stale.
  Send(Sci::SCI_STARTSTYLING);
  Send(Sci::SCI_SETSTYLING, Send(Sci::SCI_GETLENGTH));
  ASSERT_NE(StyleAt(1, 15), number);
  nvx_->NumberAttri()->SetForeground(clRed);
  EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, number), static_cast<long>(clRed));
  ExpectStylesAsScannedFromTheTop(kTape);
}

TEST_F(TapeLexer, ALongLineAlternatesEachStyleWithATwinThatLooksTheSame) {
  const std::string digits(5000, '7');
  SetEditorBytes(*editor, "Rent " + digits + "\n" + kTape[0]);
  editor->recolor();
  const int number = Style(nvx_->NumberAttri());
  const int first = StyleAt(1, 5);
  const int twin = StyleAt(1, 6);
  EXPECT_TRUE((first == number) != (twin == number) && first != twin) << first << " " << twin;
  for (int b = 5; b < 5005; b += 997) EXPECT_EQ(StyleAt(1, b), (b - 5) % 2 ? twin : first) << b;
  for (int m : {Sci::SCI_STYLEGETFORE, Sci::SCI_STYLEGETBACK, Sci::SCI_STYLEGETSIZE,
                Sci::SCI_STYLEGETITALIC, Sci::SCI_STYLEGETWEIGHT}) {
    EXPECT_EQ(Send(m, first), Send(m, twin)) << m;
  }
  nvx_->NumberAttri()->SetForeground(clRed);
  EXPECT_EQ(Send(Sci::SCI_STYLEGETFORE, twin), static_cast<long>(clRed));
  EXPECT_EQ(StyleAt(2, 15), number);  // a short line keeps one style
}

TEST_F(ReportLexer, RestylingStopsWhereTheStatesAgreeAgainAndAFreshDocumentWhereAsked) {
  Tape lines = {"a /* b", "c", "d */ e"};
  for (int i = 0; i < 300; ++i) lines.push_back("(line " + std::to_string(i) + ")");
  // The report highlighter's first state is not 0, Scintilla's for a line never styled; that is
  // no reason to style the whole document. Repaints ask up to the end of line 2, then of line 1.
  SetEditorBytes(*editor, Join(lines, "\n"));
  const long line4 = PositionOf(*editor, 4, 0);
  Send(Sci::SCI_COLOURISE, 0, Send(Sci::SCI_GETLINEENDPOSITION, 1));
  EXPECT_LT(Send(Sci::SCI_GETENDSTYLED), line4);
  editor->recolor();
  Send(Sci::SCI_GOTOPOS, 2);
  QTest::keyClick(editor.get(), Qt::Key_Delete);
  Send(Sci::SCI_COLOURISE, 0, Send(Sci::SCI_GETLINEENDPOSITION, 0));
  // Line 3 ends in the state it had before, so nothing below it needed a new look.
  EXPECT_LE(Send(Sci::SCI_GETENDSTYLED), line4);
  EXPECT_GE(Send(Sci::SCI_GETENDSTYLED), line4 - 1);
}

// Edits anywhere, then styling up to some point, as repaints ask for it: whatever Scintilla
// counts as styled must read as a scan from the top would.
TEST_F(ReportLexer, StylingAfterAnyEditAgreesWithAScanFromTheTop) {
  const Tape pieces = {"/*", "*/", "(", ")", "\n", "12", " ", "x", "\"", "#"};
  const Tape start = {
      "#include <x>", "int f(a, \"text\") /* note", "still note */ (1 + 2))", "", "3.5 ; ((",
      "end"};
  SetEditorBytes(*editor, Join(start, "\n"));
  editor->recolor();
  ExpectStylesAsScannedFromTheTop(start);
  RandomText random(12345);
  for (int round = 0; round < 200 && !HasFailure(); ++round) {
    const long length = Send(Sci::SCI_GETLENGTH);
    const unsigned long at = random.Below(static_cast<unsigned>(length) + 1);
    if (random.OneIn(3) && length > 0) {
      const long count = std::min<long>(1 + random.Below(4), length - static_cast<long>(at));
      editor->SendScintilla(Sci::SCI_DELETERANGE, at, count);
    } else {
      editor->SendScintilla(Sci::SCI_INSERTTEXT, at, pieces[random.Below(10)].c_str());
    }
    Send(Sci::SCI_COLOURISE, 0, random.Below(static_cast<unsigned>(Send(Sci::SCI_GETLENGTH)) + 1));
    const std::string text = EditorBytes(*editor);
    Tape lines;
    SplitLines(text, [&](size_t at, size_t n) { lines.push_back(text.substr(at, n)); });
    lines.resize(static_cast<size_t>(Send(Sci::SCI_LINEFROMPOSITION, Send(Sci::SCI_GETENDSTYLED))));
    ExpectStylesAsScannedFromTheTop(lines);
    if (HasFailure()) ADD_FAILURE() << "round " << round << ", text:\n" << text;
  }
}

// After a jump far down, the text above the view is styled a slice per request, as idle time
// asks for it, and ends as a scan from the top would; a printout has all of it styled at once.
TEST_F(ReportLexer, TextAboveAFarViewIsStyledInSlicesOrAllAtOnceForPrinting) {
  Tape lines;
  for (int i = 0; i < 100000; ++i) {
    lines.push_back(i % 7 == 0 ? "f(" + std::to_string(i) + ", \"x\") /* open"
                               : i % 7 == 3 ? "still */ g(2.5)" : "word " + std::to_string(i));
  }
  SetEditorBytes(*editor, Join(lines, "\n"));
  Send(Sci::SCI_SETFIRSTVISIBLELINE, static_cast<long>(lines.size()));
  const long top = Send(Sci::SCI_GETFIRSTVISIBLELINE);
  ASSERT_GT(top, 90000);
  const long view = PositionOf(*editor, static_cast<int>(top) + 1, 0);
  Send(Sci::SCI_COLOURISE, 0, view);
  EXPECT_LT(Send(Sci::SCI_GETENDSTYLED), view);
  for (int request = 0; request < 10000000 && Send(Sci::SCI_GETENDSTYLED) < view; ++request) {
    Send(Sci::SCI_COLOURISE, Send(Sci::SCI_GETENDSTYLED), view);
  }
  ExpectStylesAsScannedFromTheTop(Tape(lines.begin(), lines.begin() + top));

  Send(Sci::SCI_CLEARDOCUMENTSTYLE);
  Send(Sci::SCI_STARTSTYLING, 0, 0);
  lexer->StyleToEnd();
  EXPECT_EQ(Send(Sci::SCI_GETENDSTYLED), Send(Sci::SCI_GETLENGTH));
  ExpectStylesAsScannedFromTheTop(lines);
}

TEST_F(TapeLexer, AttributesAndTheEditorsFontBecomeTheStyles) {
  TSynHighlighterAttributes& link = *nvx_->LinkAttri();
  const int style = Style(&link);
  const long text = ScintillaColor(lexer->defaultColor()),
             paper = ScintillaColor(lexer->defaultPaper());
  const QPalette p = editor->palette();
  // clang-format off
  const struct { TColor fore, back; TFontStyles styles; std::tuple<long, long, bool, bool, bool> expected; } kCases[] = {
      {clNone, clNone, fsItalic | fsUnderline, {text, paper, false, true, true}},
      {clMaroon, clAqua, fsBold, {clMaroon, clAqua, true, false, false}},
      {clHighlightText, clHighlight, fsItalic, {ScintillaColor(p.color(QPalette::HighlightedText)), ScintillaColor(p.color(QPalette::Highlight)), false, true, false}},  // the editor's palette
      {clNone, clNone, fsUnderline, {text, paper, false, false, true}}};
  // clang-format on
  for (const auto& c : kCases) {
    link.SetForeground(c.fore);
    link.SetBackground(c.back);
    link.SetStyle(c.styles);
    EXPECT_EQ(std::tuple(Send(Sci::SCI_STYLEGETFORE, style), Send(Sci::SCI_STYLEGETBACK, style),
                         Bold(style), Send(Sci::SCI_STYLEGETITALIC, style) != 0,
                         Send(Sci::SCI_STYLEGETUNDERLINE, style) != 0),
              c.expected)
        << c.fore;
  }
  // Scintilla takes points: 13 px stay 13 px on this screen. A font for all styles, as the window
  // hands it over, replaces the base but not the bold.
  const int key = Style(nvx_->KeyAttri());  // bold by the highlighter's default
  const int number = Style(nvx_->NumberAttri());
  const auto seen = [&] {
    char key_font[256] = {}, number_font[256] = {};
    editor->SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(key), key_font);
    editor->SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(number), number_font);
    return std::tuple(std::string(key_font), std::string(number_font), Bold(key), Bold(number),
                      Send(Sci::SCI_STYLEGETSIZEFRACTIONAL, number));
  };
  const std::string family = editor->font().family().toStdString();
  EXPECT_EQ(seen(), std::tuple(family, family, true, false,
                               std::lround(13 * 72.0 / editor->logicalDpiY() *
                                           Sci::SC_FONT_SIZE_MULTIPLIER)));
  QFont other("Liberation Sans");
  other.setPointSize(15);
  lexer->setFont(other);
  EXPECT_EQ(seen(), std::tuple(std::string("Liberation Sans"), std::string("Liberation Sans"), true,
                               false, 15L * Sci::SC_FONT_SIZE_MULTIPLIER));
}

TEST_F(TapeLexer, NamesTheLanguageEveryAttributeStyleAndTheWordCharactersAndListensWhileItLives) {
  EXPECT_EQ(nvx_->ListenerCount(), 1);
  EXPECT_EQ(
      std::tuple(std::string(lexer->language()), lexer->description(SynLexerAdapter::kPlainStyle),
                 lexer->description(Sci::STYLE_DEFAULT)),
      std::tuple("highNvx", "Default", ""));
  std::vector<int> styles;
  for (int i = 0; i < nvx_->AttributeCount(); ++i) {
    styles.push_back(Style(nvx_->AttributeAt(i)));
    EXPECT_EQ(lexer->description(styles.back()).toStdString(), nvx_->AttributeAt(i)->Name());
    EXPECT_TRUE(styles.back() > 0 &&
                (styles.back() < Sci::STYLE_DEFAULT || styles.back() > Sci::STYLE_LASTPREDEFINED));
  }
  std::sort(styles.begin(), styles.end());  // distinct
  EXPECT_EQ(std::adjacent_find(styles.begin(), styles.end()), styles.end());
  std::string expected;
  for (int c = 1; c < 256; ++c)
    if (nvx_->WordCharacters().test(static_cast<size_t>(c))) expected.push_back(char(c));
  EXPECT_EQ(lexer->wordCharacters(), expected);
  editor->setLexer(nullptr);
  lexer.reset();
  EXPECT_EQ(nvx_->ListenerCount(), 0);
}

TEST(StockLexers, OneLexerPerLanguageOwnedByTheSetOrItsParentInTheEditorsFont) {
  // clang-format off
  const struct { StockLexer which; const char* language; } kCases[] = {
      {StockLexer::SynCpp, "C++"}, {StockLexer::SynJava, "Java"}, {StockLexer::SynHTML, "HTML"},
      {StockLexer::SynPerl, "Perl"}, {StockLexer::SynIni, "Properties"}, {StockLexer::SynPas, "Pascal"}};
  // clang-format on
  std::unique_ptr<QsciScintilla> editor = MakeEditor();
  for (const auto& [which, language] : kCases) {
    QObject owner;
    QPointer<QsciLexer> by_parent, by_set;
    {
      StockLexers lexers(&owner), without_parent;
      by_parent = lexers.Get(which);
      by_set = without_parent.Get(which);
      ASSERT_TRUE(by_parent && by_set);
      EXPECT_EQ(lexers.Get(which), by_parent.data());
      EXPECT_STREQ(by_parent->language(), language);
      // The editor's font reaches every style; each keeps its own bold and italic.
      std::vector<std::pair<int, QFont>> before;
      for (int style = 0; style <= Sci::STYLE_MAX; ++style)
        if (!by_set->description(style).isEmpty()) before.emplace_back(style, by_set->font(style));
      ASSERT_FALSE(before.empty());
      ApplyEditorFont(*by_set, editor->font(), editor.get());
      for (const auto& [style, font] : before) {
        const QFont after = by_set->font(style);
        EXPECT_DOUBLE_EQ(after.pointSizeF(), 13 * 72.0 / editor->logicalDpiY()) << style;
        EXPECT_EQ(std::tuple(after.family(), after.bold(), after.italic()),
                  std::tuple(editor->font().family(), font.bold(), font.italic()))
            << language << style;
      }
    }
    EXPECT_TRUE(by_parent && !by_set) << language;
  }
}

}  // namespace
}  // namespace numvex::testing
