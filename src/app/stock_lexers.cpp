#include "app/stock_lexers.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjava.h>
#include <Qsci/qscilexerpascal.h>
#include <Qsci/qscilexerperl.h>
#include <Qsci/qscilexerproperties.h>
#include <Qsci/qsciscintillabase.h>

#include "app/editor_font.h"

namespace numvex {

std::unique_ptr<QsciLexer> MakeStockLexer(StockLexer which) {
  switch (which) {
    case StockLexer::SynCpp:
      return std::make_unique<QsciLexerCPP>();
    case StockLexer::SynJava:
      return std::make_unique<QsciLexerJava>();
    case StockLexer::SynHTML:
      return std::make_unique<QsciLexerHTML>();
    case StockLexer::SynPerl:
      return std::make_unique<QsciLexerPerl>();
    case StockLexer::SynIni:
      return std::make_unique<QsciLexerProperties>();
    case StockLexer::SynPas:
      return std::make_unique<QsciLexerPascal>();
  }
  return nullptr;
}

void ApplyEditorFont(QsciLexer& lexer, const QFont& editor_font, const QWidget* editor) {
  const QFont font = ScintillaFont(editor_font, editor);
  lexer.setDefaultFont(font);
  for (int style = 0; style <= QsciScintillaBase::STYLE_MAX; ++style) {
    if (lexer.description(style).isEmpty()) continue;
    const QFont own = lexer.font(style);
    QFont styled = font;
    styled.setBold(own.bold());
    styled.setItalic(own.italic());
    styled.setUnderline(own.underline());
    lexer.setFont(styled, style);
  }
}

StockLexers::StockLexers(QObject* parent) : parent_(parent) {}

StockLexers::~StockLexers() {
  if (parent_) return;  // the parent deletes them
  for (QPointer<QsciLexer>& lexer : lexers_) delete lexer.data();
}

QsciLexer* StockLexers::Get(StockLexer which) {
  QPointer<QsciLexer>& slot = lexers_[static_cast<size_t>(which)];
  if (!slot) {
    std::unique_ptr<QsciLexer> lexer = MakeStockLexer(which);
    if (parent_) lexer->setParent(parent_);
    slot = lexer.release();
  }
  return slot.data();
}

}  // namespace numvex
