// The editor component's own lexers for the text-editor mode.
#include "app/stock_lexers.h"

#include <Qsci/qscilexer.h>

#include <QPointer>
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

class StockLexerTest : public ::testing::TestWithParam<StockCase> {};

TEST_P(StockLexerTest, OneLexerPerLanguageOwnedByTheSetOrItsParent) {
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
  EXPECT_STREQ(MakeStockLexer(GetParam().which)->language(), GetParam().language);
}

TEST_P(StockLexerTest, TheEditorFontReachesEveryStyleWithItsOwnBoldAndItalic) {
  std::unique_ptr<QsciScintilla> editor = MakeEditor();
  std::unique_ptr<QsciLexer> lexer = MakeStockLexer(GetParam().which);
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
    EXPECT_EQ(after.bold(), font.bold()) << style;
    EXPECT_EQ(after.italic(), font.italic()) << style;
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

}  // namespace
}  // namespace numvex::testing
