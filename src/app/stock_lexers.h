#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

class QsciLexer;
class QWidget;

namespace numvex {

// The editor component's own lexers for the text-editor mode's languages.
enum class StockLexer { SynCpp, SynJava, SynHTML, SynPerl, SynIni, SynPas };
inline constexpr int kStockLexerCount = 6;

// A new lexer for the language (Ini files take the properties lexer).
std::unique_ptr<QsciLexer> MakeStockLexer(StockLexer which);

// Gives every style of `lexer` the family and size of `font` and keeps the style's own bold,
// italic and underline, so keywords stay bold in the editor's font. A pixel size is turned into
// points for `editor`'s screen (see ScintillaFont).
void ApplyEditorFont(QsciLexer& lexer, const QFont& font, const QWidget* editor = nullptr);

// The window's set of stock lexers, each made on first use. With a parent they belong to it
// (the editor, typically), else to this object.
class StockLexers {
 public:
  explicit StockLexers(QObject* parent = nullptr);
  ~StockLexers();
  StockLexers(const StockLexers&) = delete;
  StockLexers& operator=(const StockLexers&) = delete;

  QsciLexer* Get(StockLexer which);

 private:
  QObject* parent_;
  std::array<QPointer<QsciLexer>, kStockLexerCount> lexers_;
};

}  // namespace numvex
