// The report-syntax highlighter: traced lines, the attribute of each kind of token, a sweep.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/case_name.h"
#include "highlight/syn_zel_rep.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::LineCase;
using testing::LineScan;
using testing::ScanLine;

constexpr TScanState kBase = TzelRepSyn::kRangeBase;
constexpr TScanState kInComment = kBase + TzelRepSyn::kRangeComment;

class ReportLineTest : public ::testing::TestWithParam<LineCase> {};

// A letter a byte: Comment, Directive, Error, Identifier, Number, Space, Quoted string, Other.
TEST_P(ReportLineTest, Tokens) {
  TzelRepSyn syn;
  testing::ExpectLine(syn, GetParam(), "CDEIK_NSQO");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Lines, ReportLineTest, ::testing::Values(
    LineCase{"BalancedParens", kBase, "(1+2)", "O|N|O|N|O", kBase},
    LineCase{"OpenParenCarriesOver", kBase, "f(x", "I|O|I", kBase + 1},
    LineCase{"UnmatchedClose", kBase, ")", "E", 0},
    LineCase{"CloseInErrorState", 0, "(a)", "O|I|E", 0},
    LineCase{"SemicolonEndsErrorState", 0, ";", "O", kBase},
    LineCase{"SemicolonWithOpenParen", kBase + 2, "(a;", "O|I|E", kBase},
    LineCase{"Amounts", kBase, "1.234,56 1,234.56 12. -5", "NNNNNNNN|S|NNNNNNNN|S|NNN|S|O|N", kBase},
    LineCase{"DoubledSeparators", kBase, "1,,2 3..4", "N|O|O|N|S|N|O|O|N", kBase},
    LineCase{"DirectiveUpToEquals", kBase, "  #total = 5", "SS|DDDDDDD|O|S|N", kBase},
    LineCase{"DirectiveAfterTab", kBase, "\t#a=b", "S|DD|O|I", kBase},
    LineCase{"DirectiveToLineBreak", kBase, "#a\rb", "DD|S|I", kBase},
    LineCase{"HashAfterText", kBase, "x #y", "I|S|E|I", kBase},
    LineCase{"SecondHashOfADirectiveLine", kBase, "#a=#b", "DD|O|E|I", kBase},
    LineCase{"EmptyComment", kBase, "/**/x", "CCCC|I", kBase},
    LineCase{"SlashStarSlashIsComplete", kBase + 2, "/*/", "CCC", kBase + 2},
    LineCase{"CommentInErrorState", 0, "a/*b*/)", "I|CCCCC|E", 0},
    LineCase{"LoneSlash", kBase, "x/y", "I|O|I", kBase},
    LineCase{"UnclosedComment", kBase, "a /* b", "I|S|CCCC", kInComment},
    LineCase{"CommentClosedLater", kInComment, "b */ (", "CCCC|S|O", kBase + 1},
    LineCase{"LaterCloseForgetsDepth", kInComment + 3, "*/)", "CC|E", 0},
    LineCase{"EmptyLineInComment", kInComment, "", "", kInComment},
    LineCase{"CommentAroundLineFeed", kInComment, "ab\ncd */x", "CC|S|CCCCC|I", kBase},
    LineCase{"OpenerStopsAtLineFeed", kBase + 3, "/* a\n b */", "CCCC|S|CCCCC", kBase},
    LineCase{"String", kBase, "\"a b\" c", "QQQQQ|S|I", kBase},
    LineCase{"EmptyString", kBase, "\"\"x", "QQ|I", kBase},
    LineCase{"EscapedQuote", kBase, "\"a\\\"b\" c", "QQQQQQ|S|I", kBase},
    LineCase{"TripleQuote", kBase, "\"\"\"x\" y", "QQQQQ|S|I", kBase},
    LineCase{"UnterminatedString", kBase, "\"a(c", "QQQQ", kBase},
    LineCase{"StringStopsAtReturn", kBase, "\"ab\rcd", "QQQQ|II", kBase},
    LineCase{"BackslashCarriesOverLineFeed", kBase, "\"a\\\nb\"", "QQQQQQ", kBase},
    LineCase{"LineBreaks", kBase, "a\r\nb\n\nc", "I|SS|I|S|S|I", kBase},
    LineCase{"BlankRun", kBase, "a\t \x01 b", "I|SSSS|I", kBase},
    LineCase{"HighBytesOneAtATime", kBase, "\x80\xA0\xF7\xFF", "O|O|O|O", kBase},
    LineCase{"ParensStopShortOfCommentBand", TzelRepSyn::kRangeComment - 1, "(a", "O|I", TzelRepSyn::kRangeComment - 1},
    LineCase{"IdentifierTakesDigits", kBase, "a1_B2+", "IIIII|O", kBase},
    LineCase{"HugeHash", kBase, std::string(1000, 'z'), std::string(1000, 'I'), kBase}),
    testing::NameBy<&LineCase::name>());
// clang-format on

TEST(ReportSyntaxTest, EachTokenTakesTheAttributeOfItsKind) {
  TzelRepSyn syn;
  EXPECT_EQ(testing::AttributeNames(syn, {"#x=/**/)abc 12\"s\"+"}),
            "Preprocessor|Identifier|Comment|Illegal char|Identifier|Space|Number|String|"
            "Identifier|");
}

}  // namespace
}  // namespace numvex
