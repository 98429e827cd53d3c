#pragma once

#include <Qsci/qscilexercustom.h>

#include <QFont>
#include <QPalette>
#include <QString>
#include <chrono>
#include <string>
#include <unordered_map>
#include <vector>

#include "highlight/syn_highlighter.h"

class QsciScintilla;

namespace numvex {

// Lets the editor colour its text with one of the program's highlighters. Each highlighter
// attribute becomes a Scintilla style (bytes without an attribute, and line breaks, take
// kPlainStyle); every line is scanned the way the highlighter contract says, and its end state
// is kept as Scintilla's line state, so a line that starts a block comment or a marked stretch
// restyles the lines after it until their states match again.
//
// Colours: an attribute's clNone takes the lexer's default colour or paper; system colours come
// from the editor's palette. Font: the editor's font (or the one given to setFont for all
// styles) with the attribute's bold, italic and underline; Scintilla has no strike-out.
//
// The highlighter must outlive the adapter: the adapter listens to its attributes.
class SynLexerAdapter : public QsciLexerCustom, private TSynHighlighterListener {
  Q_OBJECT

 public:
  static constexpr int kPlainStyle = 0;

  explicit SynLexerAdapter(TSynCustomHighlighter* highlighter, QObject* parent = nullptr);
  ~SynLexerAdapter() override;

  TSynCustomHighlighter& Highlighter() const { return *highlighter_; }
  // The style that paints an attribute's bytes; kPlainStyle for nullptr or a stranger.
  int StyleOf(const TSynHighlighterAttributes* attribute) const;

  const char* language() const override;
  QString description(int style) const override;
  const char* wordCharacters() const override;
  void setEditor(QsciScintilla* editor) override;
  void styleText(int start, int end) override;
  // Text above the view is styled a slice at a time while the editor waits for idle time (see
  // styleText); this styles all of the document now, as a printout needs it.
  void StyleToEnd();

 public slots:
  // For all styles (style -1) the font becomes the base the attributes' styles are made from.
  void setFont(const QFont& font, int style = -1) override;

 private:
  void HighlighterAttributeChanged(TSynCustomHighlighter& highlighter,
                                   TSynHighlighterAttributes& attribute) override;
  void ApplyStyle(int style);
  void ApplyAllStyles();
  QPalette Palette() const;
  // Styles one line into styles_ (sent on once they fill a piece); returns its end state.
  TScanState StyleLine(int line);
  void SendStyles();

  TSynCustomHighlighter* highlighter_;
  // Index: style number; nullptr for styles without an attribute.
  std::vector<const TSynHighlighterAttributes*> style_attribute_;
  std::unordered_map<const TSynHighlighterAttributes*, int> attribute_style_;
  std::string language_;
  std::string word_chars_;
  QFont base_font_;
  std::string line_;    // the line being scanned, zero-terminated for the highlighter
  std::string styles_;  // style bytes not yet sent, from where styling stands
  // Text above the view is styled in slices (unless styling to the end); the next may start from
  // then on.
  bool to_end_ = false;
  std::chrono::steady_clock::time_point next_slice_;
};

}  // namespace numvex
