// The highlighter adapter on a real QsciScintilla: every byte gets its token's style, line end
// states carry comments and marked stretches over lines, attributes become Scintilla styles.
#include "app/syn_lexer_adapter.h"

#include <QFontMetricsF>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "highlight/syn_nvx.h"
#include "highlight/syn_zel_rep.h"

namespace numvex::testing {
namespace {

const std::string M = "\xA0";  // the tape's mark byte

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
  long LineStart(int line) const { return PositionOf(*editor, line, 0); }
  long LineEndPos(int line) const {
    return editor->SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line - 1));
  }
  // Styles exactly what Scintilla asks for when the line is repainted: up to its end.
  void StyleUpToEndOf(int line) {
    editor->SendScintilla(Sci::SCI_COLOURISE, 0UL, LineEndPos(line));
  }
  int StyleAt(int line, int column) const {
    return static_cast<int>(editor->SendScintilla(
        Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(PositionOf(*editor, line, column))));
  }
  // The style of every byte of a stretch, or -1 when they differ.
  int StyleOfStretch(int line, int column, int length) const {
    const int style = StyleAt(line, column);
    for (int i = 1; i < length; ++i) {
      if (StyleAt(line, column + i) != style) return -1;
    }
    return style;
  }
  long Fore(int style) const {
    return editor->SendScintilla(Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(style));
  }
  long Back(int style) const {
    return editor->SendScintilla(Sci::SCI_STYLEGETBACK, static_cast<unsigned long>(style));
  }
  int Style(const TSynHighlighterAttributes* attribute) const { return lexer->StyleOf(attribute); }
  // QScintilla hands Qt's weight to Scintilla negated, which SCI_STYLEGETBOLD does not read.
  bool Bold(int style) const {
    return std::abs(editor->SendScintilla(Sci::SCI_STYLEGETWEIGHT,
                                          static_cast<unsigned long>(style))) > QFont::Normal;
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
      while (!h.AtLineEnd()) {
        for (int b = h.TokenStart(); b < h.TokenStart() + h.TokenLength(); ++b) {
          expected[static_cast<size_t>(b)] = Style(h.TokenAttribute());
        }
        h.NextToken();
      }
      std::vector<int> actual;
      for (size_t b = 0; b < lines[i].size(); ++b) {
        actual.push_back(StyleAt(line, static_cast<int>(b)));
      }
      EXPECT_EQ(actual, expected) << "line " << line << ": " << lines[i];
      EXPECT_EQ(editor->SendScintilla(Sci::SCI_GETLINESTATE, static_cast<unsigned long>(i)),
                static_cast<long>(h.ScanState()))
          << "line " << line;
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
    "Rent " + M + "marked from here",
    "   still marked 99",
    "until here" + M + " 7",
    "[xterm -e top] and text",
    "\xE4\xF6\xFC \xF7 8",
};

TEST_F(TapeLexer, EveryByteAndLineStateIsAsTheHighlighterScansIt) {
  SetLines(kTape);
  ExpectStylesAsScannedFromTheTop(kTape);
  // The main window's colours: navy numbers, black comments.
  EXPECT_EQ(Fore(Style(nvx_->NumberAttri())), static_cast<long>(clNavy));
  EXPECT_EQ(Fore(Style(nvx_->CommentAttri())), static_cast<long>(clBlack));
}

TEST_F(ReportLexer, RestylingStopsWhereTheStatesAgreeAgain) {
  Tape lines = {"a /* b", "c", "d */ e"};
  for (int i = 0; i < 300; ++i) lines.push_back("line " + std::to_string(i));
  SetLines(lines);
  editor->SendScintilla(Sci::SCI_GOTOPOS, 2UL);
  QTest::keyClick(editor.get(), Qt::Key_Delete);
  StyleUpToEndOf(1);
  // Line 3 ends in the state it had before, so nothing below it needed a new look.
  EXPECT_LE(editor->SendScintilla(Sci::SCI_GETENDSTYLED), LineStart(4));
  EXPECT_GE(editor->SendScintilla(Sci::SCI_GETENDSTYLED), LineEndPos(3));
}

TEST_F(ReportLexer, AFreshDocumentIsStyledNoFurtherThanAsked) {
  Tape lines;
  for (int i = 0; i < 300; ++i) lines.push_back("(line " + std::to_string(i) + ")");
  SetEditorBytes(*editor, Join(lines, "\n"));
  StyleUpToEndOf(2);
  // The report highlighter's first state is not 0, what Scintilla reports for a line never
  // styled; that difference is no reason to style the whole document.
  EXPECT_LT(editor->SendScintilla(Sci::SCI_GETENDSTYLED), LineStart(4));
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
  unsigned seed = 12345;
  auto next = [&seed](unsigned bound) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % bound;
  };
  for (int round = 0; round < 200; ++round) {
    const long length = editor->SendScintilla(Sci::SCI_GETLENGTH);
    const unsigned long at = next(static_cast<unsigned>(length) + 1);
    if (next(3) == 0 && length > 0) {
      const long count = std::min<long>(1 + next(4), length - static_cast<long>(at));
      editor->SendScintilla(Sci::SCI_DELETERANGE, at, count);
    } else {
      editor->SendScintilla(Sci::SCI_INSERTTEXT, at, pieces[next(pieces.size())].c_str());
    }
    const long new_length = editor->SendScintilla(Sci::SCI_GETLENGTH);
    editor->SendScintilla(Sci::SCI_COLOURISE, 0UL, static_cast<long>(next(new_length + 1)));

    const std::string text = EditorBytes(*editor);
    Tape lines(1);
    for (char c : text) {
      if (c == '\n') {
        lines.emplace_back();
      } else {
        lines.back().push_back(c);
      }
    }
    const long styled = editor->SendScintilla(Sci::SCI_GETENDSTYLED);
    const int styled_lines = static_cast<int>(
        editor->SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(styled)));
    lines.resize(static_cast<size_t>(styled_lines));  // the lines wholly styled
    ExpectStylesAsScannedFromTheTop(lines);
    if (HasFailure()) {
      ADD_FAILURE() << "round " << round << ", text:\n" << text;
      break;
    }
  }
}

TEST_F(TapeLexer, AnotherHighlighterOnTheSameEditorStylesFromScratch) {
  SetLines(kTape);
  SynLexerAdapter rep_lexer(rep_.get());
  editor->setLexer(&rep_lexer);
  editor->recolor();
  EXPECT_EQ(StyleOfStretch(1, 15, 5), rep_lexer.StyleOf(rep_->NumberAttri()));
  editor->setLexer(lexer.get());
  editor->recolor();
  ExpectStylesAsScannedFromTheTop(kTape);
}

// --- attributes as styles --------------------------------------------------------------------

TEST_F(TapeLexer, ChangingAnAttributeChangesItsStyleAndRestylesTheText) {
  SetLines(kTape);
  const int number = Style(nvx_->NumberAttri());
  // Wipe the styling behind the adapter's back, as if it were stale.
  editor->SendScintilla(Sci::SCI_STARTSTYLING, 0UL);
  editor->SendScintilla(Sci::SCI_SETSTYLING,
                        static_cast<unsigned long>(EditorBytes(*editor).size()), 0L);
  ASSERT_NE(StyleOfStretch(1, 15, 5), number);

  nvx_->NumberAttri()->SetForeground(clRed);
  EXPECT_EQ(Fore(number), static_cast<long>(clRed));
  EXPECT_EQ(StyleOfStretch(1, 15, 5), number);
  ExpectStylesAsScannedFromTheTop(kTape);
}

TEST_F(TapeLexer, AttributeColoursAndFontStylesBecomeTheStyles) {
  TSynHighlighterAttributes& link = *nvx_->LinkAttri();
  const int style = Style(&link);
  const long text = ScintillaColor(lexer->defaultColor());
  const long paper = ScintillaColor(lexer->defaultPaper());
  link.SetForeground(clNone);
  EXPECT_EQ(Fore(style), text);
  EXPECT_EQ(Back(style), paper);
  link.SetForeground(clMaroon);
  link.SetBackground(clAqua);
  EXPECT_EQ(Fore(style), static_cast<long>(clMaroon));
  EXPECT_EQ(Back(style), static_cast<long>(clAqua));
  // System colours come from the editor's palette.
  link.SetForeground(clHighlightText);
  link.SetBackground(clHighlight);
  EXPECT_EQ(Fore(style), ScintillaColor(editor->palette().color(QPalette::HighlightedText)));
  EXPECT_EQ(Back(style), ScintillaColor(editor->palette().color(QPalette::Highlight)));
  link.SetForeground(clNone);
  link.SetBackground(clNone);
  EXPECT_EQ(Fore(style), text);
  EXPECT_EQ(Back(style), paper);
  const auto get = [&](int message) {
    return editor->SendScintilla(message, static_cast<unsigned long>(style)) != 0;
  };
  link.SetStyle(fsItalic | fsUnderline);
  EXPECT_FALSE(Bold(style));
  EXPECT_TRUE(get(Sci::SCI_STYLEGETITALIC) && get(Sci::SCI_STYLEGETUNDERLINE));
  link.SetStyle(fsBold);
  EXPECT_TRUE(Bold(style));
  EXPECT_FALSE(get(Sci::SCI_STYLEGETITALIC));
}

std::string StyleFontName(const QsciScintilla& editor, int style) {
  char name[256] = {};
  editor.SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(style),
                       static_cast<void*>(name));
  return name;
}

TEST_F(TapeLexer, EveryStyleUsesTheEditorsFontAtItsPixelSizeAndKeepsItsBoldness) {
  const QFont font = editor->font();        // 13 px
  const int key = Style(nvx_->KeyAttri());  // bold by the highlighter's default
  const int number = Style(nvx_->NumberAttri());
  EXPECT_EQ(StyleFontName(*editor, key), font.family().toStdString());
  EXPECT_EQ(StyleFontName(*editor, number), font.family().toStdString());
  EXPECT_TRUE(Bold(key));
  EXPECT_FALSE(Bold(number));
  // Scintilla takes points; 13 px must stay 13 px on this screen.
  const long points = std::lround(13 * 72.0 / editor->logicalDpiY() * Sci::SC_FONT_SIZE_MULTIPLIER);
  EXPECT_EQ(
      editor->SendScintilla(Sci::SCI_STYLEGETSIZEFRACTIONAL, static_cast<unsigned long>(number)),
      points);
  const double digits = QFontMetricsF(font).horizontalAdvance("0123456789");
  EXPECT_NEAR(
      editor->SendScintilla(Sci::SCI_TEXTWIDTH, static_cast<unsigned long>(number), "0123456789"),
      digits, 2.0);

  // A font for all styles, as the window hands it over, replaces the base but not the bold.
  QFont other("Liberation Sans");
  other.setPointSize(15);
  lexer->setFont(other);
  EXPECT_EQ(StyleFontName(*editor, key), "Liberation Sans");
  EXPECT_EQ(StyleFontName(*editor, number), "Liberation Sans");
  EXPECT_TRUE(Bold(key));
  EXPECT_EQ(
      editor->SendScintilla(Sci::SCI_STYLEGETSIZEFRACTIONAL, static_cast<unsigned long>(number)),
      15 * Sci::SC_FONT_SIZE_MULTIPLIER);
}

// --- what the editor asks of a lexer ---------------------------------------------------------

TEST_F(TapeLexer, NamesTheLanguageEveryAttributeStyleAndTheWordCharacters) {
  EXPECT_STREQ(lexer->language(), "highNvx");
  EXPECT_EQ(lexer->description(SynLexerAdapter::kPlainStyle), "Default");
  std::vector<int> styles;
  for (int i = 0; i < nvx_->AttributeCount(); ++i) {
    const TSynHighlighterAttributes* attribute = nvx_->AttributeAt(i);
    const int style = Style(attribute);
    EXPECT_EQ(lexer->description(style).toStdString(), attribute->Name());
    styles.push_back(style);
  }
  // Distinct styles, none of them Scintilla's own.
  std::sort(styles.begin(), styles.end());
  EXPECT_EQ(std::adjacent_find(styles.begin(), styles.end()), styles.end());
  for (int style : styles) {
    EXPECT_NE(style, SynLexerAdapter::kPlainStyle);
    EXPECT_TRUE(style < Sci::STYLE_DEFAULT || style > Sci::STYLE_LASTPREDEFINED) << style;
  }
  EXPECT_EQ(lexer->StyleOf(nullptr), SynLexerAdapter::kPlainStyle);
  EXPECT_TRUE(lexer->description(Sci::STYLE_DEFAULT).isEmpty());
  // Word characters: the highlighter's set.
  const TSynIdentChars word = nvx_->WordCharacters();
  std::string expected;
  for (int c = 1; c < 256; ++c) {
    if (word.test(static_cast<size_t>(c))) expected.push_back(static_cast<char>(c));
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

}  // namespace
}  // namespace numvex::testing
