// The editor component's own lexers for the text-editor mode.
#include "app/stock_lexers.h"

#include <Qsci/qscilexer.h>

#include <QObject>
#include <QPointer>
#include <ostream>
#include <string>
#include <vector>

#include "editor_fixture.h"

namespace numvex::testing {
namespace {

struct StockCase {
  const char* name;
  StockLexer which;
  const char* language;
};

void PrintTo(const StockCase& c, std::ostream* os) { *os << c.name; }

class StockLexerTest : public ::testing::TestWithParam<StockCase> {};

TEST_P(StockLexerTest, EachLanguageGetsItsLexer) {
  std::unique_ptr<QsciLexer> lexer = MakeStockLexer(GetParam().which);
  ASSERT_NE(lexer, nullptr);
  EXPECT_STREQ(lexer->language(), GetParam().language);
}

TEST_P(StockLexerTest, TheSetMakesEachLexerOnceAndGivesItToTheParent) {
  QObject owner;
  QPointer<QsciLexer> lexer;
  {
    StockLexers lexers(&owner);
    lexer = lexers.Get(GetParam().which);
    ASSERT_NE(lexer, nullptr);
    EXPECT_EQ(lexers.Get(GetParam().which), lexer.data());
    EXPECT_EQ(lexer->parent(), &owner);
    EXPECT_STREQ(lexer->language(), GetParam().language);
  }
  EXPECT_FALSE(lexer.isNull());  // the parent still holds it
}

TEST_P(StockLexerTest, WithoutAParentTheSetOwnsItsLexers) {
  QPointer<QsciLexer> lexer;
  {
    StockLexers lexers;
    lexer = lexers.Get(GetParam().which);
    ASSERT_FALSE(lexer.isNull());
  }
  EXPECT_TRUE(lexer.isNull());
}

TEST_P(StockLexerTest, TheEditorFontReachesEveryStyleWithItsOwnBoldAndItalic) {
  std::unique_ptr<QsciScintilla> editor = MakeEditor();
  std::unique_ptr<QsciLexer> lexer = MakeStockLexer(GetParam().which);
  std::vector<int> styles;
  std::vector<QFont> before;
  for (int style = 0; style <= Sci::STYLE_MAX; ++style) {
    if (lexer->description(style).isEmpty()) continue;
    styles.push_back(style);
    before.push_back(lexer->font(style));
  }
  ASSERT_FALSE(styles.empty());
  ApplyEditorFont(*lexer, editor->font(), editor.get());
  const double points = 13 * 72.0 / editor->logicalDpiY();
  for (size_t i = 0; i < styles.size(); ++i) {
    const QFont after = lexer->font(styles[i]);
    EXPECT_EQ(after.family(), editor->font().family()) << styles[i];
    EXPECT_DOUBLE_EQ(after.pointSizeF(), points) << styles[i];
    EXPECT_EQ(after.bold(), before[i].bold()) << styles[i];
    EXPECT_EQ(after.italic(), before[i].italic()) << styles[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, StockLexerTest,
                         ::testing::Values(StockCase{"Cpp", StockLexer::SynCpp, "C++"},
                                           StockCase{"Java", StockLexer::SynJava, "Java"},
                                           StockCase{"Html", StockLexer::SynHTML, "HTML"},
                                           StockCase{"Perl", StockLexer::SynPerl, "Perl"},
                                           StockCase{"Ini", StockLexer::SynIni, "Properties"},
                                           StockCase{"Pascal", StockLexer::SynPas, "Pascal"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StockLexerFonts, SomeStockStyleIsBoldSoKeepingItMatters) {
  std::unique_ptr<QsciLexer> cpp = MakeStockLexer(StockLexer::SynCpp);
  bool any_bold = false;
  for (int style = 0; style <= Sci::STYLE_MAX; ++style) {
    if (!cpp->description(style).isEmpty() && cpp->font(style).bold()) any_bold = true;
  }
  EXPECT_TRUE(any_bold);
}

}  // namespace
}  // namespace numvex::testing
