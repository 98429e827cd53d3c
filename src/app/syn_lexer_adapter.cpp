#include "app/syn_lexer_adapter.h"

#include <Qsci/qsciscintilla.h>

#include <QGuiApplication>
#include <algorithm>
#include <chrono>

#include "app/editor_font.h"
#include "ui/qt_color.h"

namespace numvex {

namespace {

using Sci = QsciScintillaBase;

// Scintilla's own styles (default, line numbers, braces, ...) take these numbers.
constexpr int kFirstPredefined = Sci::STYLE_DEFAULT;
constexpr int kLastPredefined = Sci::STYLE_LASTPREDEFINED;
constexpr int kMaxStyle = Sci::STYLE_MAX;

// The editor lays a line out whole, measuring it in pieces of one style of up to some 100
// bytes; measuring such a piece costs the square of its length, and a piece of many bytes is
// measured anew wherever it occurs. A long line is therefore styled byte by byte in turn with
// a style and its twin, which looks the same: every piece is one byte, whose width the editor
// finds in its cache of measured pieces.
constexpr int kLongLine = 4096;
// Style bytes go to Scintilla in pieces of about this size: each piece is one change report
// and one repaint request, where a run at a time cost more than the scanning.
constexpr size_t kStylesBatch = 64 * 1024;
constexpr int kTwinBit = 0x40;
// Text above the view is styled a slice of about this long at a time, and the next slice waits
// as long again: after a jump far into a large document the editor styles everything above the
// new view in idle time and before each paint, and a key typed meanwhile waits for at most one
// slice under way.
constexpr std::chrono::milliseconds kAboveViewSlice{3};
constexpr int kLinesBetweenClockReads = 256;
// The line and style buffers are kept between calls up to this size; a longer line's (a line
// of megabytes) are given back once it is styled.
constexpr size_t kKeptBuffer = 1 << 20;

int TwinOf(int style) { return style < Sci::STYLE_DEFAULT ? style | kTwinBit : style; }

}  // namespace

SynLexerAdapter::SynLexerAdapter(TSynCustomHighlighter* highlighter, QObject* parent)
    : QsciLexerCustom(parent),
      highlighter_(highlighter),
      language_(highlighter->LanguageName()),
      base_font_(QsciLexer::defaultFont()) {
  style_attribute_.push_back(nullptr);  // kPlainStyle
  for (int i = 0; i < highlighter_->AttributeCount(); ++i) {
    int style = static_cast<int>(style_attribute_.size());
    while (style >= kFirstPredefined && style <= kLastPredefined) {
      style_attribute_.push_back(nullptr);
      ++style;
    }
    // A highlighter with more attributes than Scintilla has styles paints the rest plain.
    if (style > kMaxStyle) break;
    const TSynHighlighterAttributes* attribute = highlighter_->AttributeAt(i);
    style_attribute_.push_back(attribute);
    attribute_style_.emplace(attribute, style);
  }

  const TSynIdentChars word = highlighter_->WordCharacters();
  for (int c = 1; c < 256; ++c) {
    if (word.test(static_cast<size_t>(c))) word_chars_.push_back(static_cast<char>(c));
  }

  ApplyAllStyles();
  highlighter_->AttachListener(this);
}

SynLexerAdapter::~SynLexerAdapter() { highlighter_->DetachListener(this); }

int SynLexerAdapter::StyleOf(const TSynHighlighterAttributes* attribute) const {
  auto it = attribute_style_.find(attribute);
  return it == attribute_style_.end() ? kPlainStyle : it->second;
}

const char* SynLexerAdapter::language() const { return language_.c_str(); }

QString SynLexerAdapter::description(int style) const {
  if ((style & kTwinBit) != 0 && (style & ~kTwinBit) < Sci::STYLE_DEFAULT) style &= ~kTwinBit;
  if (style == kPlainStyle) return QStringLiteral("Default");
  if (style < 0 || style >= static_cast<int>(style_attribute_.size())) return QString();
  const TSynHighlighterAttributes* attribute = style_attribute_[static_cast<size_t>(style)];
  return attribute ? QString::fromStdString(attribute->Name()) : QString();
}

const char* SynLexerAdapter::wordCharacters() const { return word_chars_.c_str(); }

QPalette SynLexerAdapter::Palette() const {
  return editor() ? editor()->palette() : QGuiApplication::palette();
}

void SynLexerAdapter::ApplyStyle(int style) {
  const TSynHighlighterAttributes* attribute = style < static_cast<int>(style_attribute_.size())
                                                   ? style_attribute_[static_cast<size_t>(style)]
                                                   : nullptr;
  const QPalette palette = Palette();
  QColor foreground;
  QColor background;
  QFont font = ScintillaFont(base_font_, editor());
  if (attribute) {
    foreground = ToQColor(attribute->Foreground(), palette);
    background = ToQColor(attribute->Background(), palette);
    const TFontStyles styles = attribute->Style();
    font.setBold(styles.Contains(fsBold));
    font.setItalic(styles.Contains(fsItalic));
    font.setUnderline(styles.Contains(fsUnderline));
    font.setStrikeOut(styles.Contains(fsStrikeOut));
  }
  for (const int s : {style, TwinOf(style)}) {
    QsciLexer::setColor(foreground.isValid() ? foreground : defaultColor(), s);
    QsciLexer::setPaper(background.isValid() ? background : defaultPaper(), s);
    QsciLexer::setFont(font, s);
  }
}

void SynLexerAdapter::ApplyAllStyles() {
  ApplyStyle(kPlainStyle);
  ApplyStyle(Sci::STYLE_DEFAULT);
  for (const auto& [attribute, style] : attribute_style_) ApplyStyle(style);
}

void SynLexerAdapter::setFont(const QFont& font, int style) {
  if (style >= 0) {
    QsciLexer::setFont(font, style);
    return;
  }
  base_font_ = font;
  ApplyAllStyles();
}

void SynLexerAdapter::setEditor(QsciScintilla* editor) {
  QsciLexerCustom::setEditor(editor);
  if (!editor) return;
  // The editor's font and palette rule; the window sets them before it attaches a lexer.
  base_font_ = editor->font();
  ApplyAllStyles();
}

void SynLexerAdapter::HighlighterAttributeChanged(TSynCustomHighlighter& /*highlighter*/,
                                                  TSynHighlighterAttributes& attribute) {
  const int style = StyleOf(&attribute);
  if (style == kPlainStyle) return;
  ApplyStyle(style);
  QsciScintilla* editor = this->editor();
  if (!editor) return;
  // Restyle everything: mark the whole document unstyled and style what is on screen now;
  // Scintilla asks for the rest as it comes into view.
  startStyling(0);
  const long first = editor->SendScintilla(
      Sci::SCI_DOCLINEFROMVISIBLE,
      static_cast<unsigned long>(editor->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE)));
  const long last = first + editor->SendScintilla(Sci::SCI_LINESONSCREEN) + 1;
  const long lines = editor->SendScintilla(Sci::SCI_GETLINECOUNT);
  const long end = last >= lines ? editor->SendScintilla(Sci::SCI_GETLENGTH)
                                 : editor->SendScintilla(Sci::SCI_POSITIONFROMLINE,
                                                         static_cast<unsigned long>(last));
  editor->recolor(0, static_cast<int>(end));
}

TScanState SynLexerAdapter::StyleLine(int line) {
  QsciScintilla* editor = this->editor();
  const long start =
      editor->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  const long end =
      editor->SendScintilla(Sci::SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
  const long line_count = editor->SendScintilla(Sci::SCI_GETLINECOUNT);
  const long next =
      line + 1 < line_count
          ? editor->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line + 1))
          : editor->SendScintilla(Sci::SCI_GETLENGTH);
  const int length = static_cast<int>(end - start);
  line_.resize(static_cast<size_t>(length) + 1);
  editor->SendScintilla(Sci::SCI_GETTEXTRANGE, start, end, line_.data());

  if (line == 0) {
    highlighter_->ResetScanState();
  } else {
    highlighter_->SetScanState(
        editor->SendScintilla(Sci::SCI_GETLINESTATE, static_cast<unsigned long>(line - 1)));
  }
  highlighter_->StartLine(line_.c_str(), line + 1);

  // Neighbouring tokens of one style go to Scintilla as one run; a long line goes byte by
  // byte, alternating each style with its twin.
  const bool long_line = next - start >= kLongLine;
  const size_t line_base = styles_.size();
  styles_.reserve(line_base + static_cast<size_t>(next - start));
  int styled = 0;  // bytes handed to setStyling so far
  int run_style = kPlainStyle;
  int run_length = 0;
  auto flush = [&] {
    if (run_length <= 0) return;
    if (!long_line) {
      styles_.append(static_cast<size_t>(run_length), static_cast<char>(run_style));
    } else {
      for (int i = 0; i < run_length; ++i) {
        const bool twin = ((styles_.size() - line_base) & 1) != 0;
        styles_.push_back(static_cast<char>(twin ? TwinOf(run_style) : run_style));
      }
    }
    run_length = 0;
  };
  auto paint = [&](int bytes, int style) {
    if (bytes <= 0) return;
    if (style != run_style) flush();
    run_style = style;
    run_length += bytes;
    styled += bytes;
  };
  // A token per byte at most, plus the end of the line: a guard against a scanner that stalls.
  for (int tokens = 0; !highlighter_->AtLineEnd() && tokens <= length; ++tokens) {
    const int token_start = std::clamp(highlighter_->TokenStart(), styled, length);
    const int token_end =
        std::clamp(token_start + highlighter_->TokenLength(), token_start, length);
    paint(token_start - styled, kPlainStyle);
    paint(token_end - token_start, StyleOf(highlighter_->TokenAttribute()));
    highlighter_->NextToken();
  }
  // Whatever the scanner left (bytes after a zero byte) and the line break.
  paint(static_cast<int>(next - start) - styled, kPlainStyle);
  flush();
  if (styles_.size() >= kStylesBatch) SendStyles();
  return highlighter_->ScanState();
}

void SynLexerAdapter::SendStyles() {
  if (styles_.empty()) return;
  editor()->SendScintilla(Sci::SCI_SETSTYLINGEX, static_cast<unsigned long>(styles_.size()),
                          styles_.data());
  styles_.clear();
}

void SynLexerAdapter::styleText(int start, int end) {
  QsciScintilla* editor = this->editor();
  if (!editor) return;
  const int line_count = static_cast<int>(editor->SendScintilla(Sci::SCI_GETLINECOUNT));
  int line = static_cast<int>(
      editor->SendScintilla(Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start)));
  const int last_asked = end > start
                             ? static_cast<int>(editor->SendScintilla(
                                   Sci::SCI_LINEFROMPOSITION, static_cast<unsigned long>(end - 1)))
                             : line;
  // Lines from here on have never had a state stored; there is nothing to compare with.
  const int known_states = static_cast<int>(editor->SendScintilla(Sci::SCI_GETMAXLINESTATE));
  // Text above the view is styled in slices; the editor asks again for what is left.
  const int first_shown = static_cast<int>(editor->SendScintilla(
      Sci::SCI_DOCLINEFROMVISIBLE,
      static_cast<unsigned long>(editor->SendScintilla(Sci::SCI_GETFIRSTVISIBLELINE))));
  const bool sliced = !to_end_ && line < first_shown;
  const auto slice_start = std::chrono::steady_clock::now();
  if (sliced && slice_start < next_slice_) return;
  const auto slice_end = slice_start + kAboveViewSlice;

  startStyling(static_cast<int>(
      editor->SendScintilla(Sci::SCI_POSITIONFROMLINE, static_cast<unsigned long>(line))));
  for (; line < line_count; ++line) {
    const long stored =
        editor->SendScintilla(Sci::SCI_GETLINESTATE, static_cast<unsigned long>(line));
    // Scintilla keeps an int per line; the program's highlighters' states fit.
    const long state = static_cast<int>(StyleLine(line));
    if (state != stored) {
      editor->SendScintilla(Sci::SCI_SETLINESTATE, static_cast<unsigned long>(line), state);
    }
    // Past the range asked for, go on only while the end states differ from what the
    // following lines were styled with: an opened comment or stretch runs on over them.
    if (line >= last_asked && (state == stored || line + 1 >= known_states)) break;
    if (sliced && line < first_shown && line % kLinesBetweenClockReads == 0 &&
        std::chrono::steady_clock::now() >= slice_end) {
      next_slice_ = std::chrono::steady_clock::now() + kAboveViewSlice;
      break;
    }
  }
  SendStyles();
  if (line_.capacity() > kKeptBuffer) std::string().swap(line_);
  if (styles_.capacity() > kKeptBuffer) std::string().swap(styles_);
}

void SynLexerAdapter::StyleToEnd() {
  QsciScintilla* editor = this->editor();
  if (!editor) return;
  to_end_ = true;
  editor->SendScintilla(Sci::SCI_COLOURISE,
                        static_cast<unsigned long>(editor->SendScintilla(Sci::SCI_GETENDSTYLED)),
                        -1L);
  to_end_ = false;
}

}  // namespace numvex
