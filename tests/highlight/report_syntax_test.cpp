// The report-syntax highlighter: one line a case, ranges carried from line to line, the
// attribute of each kind of token, and the robustness sweep.

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "highlight/syn_zel_rep.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::Escaped;
using testing::ScanLine;

// A scan drawn as one letter per byte, tokens split by "|": Comment, Directive, Error,
// Identifier, Number, Space, Quoted string, Other.
std::string Drawn(const testing::LineScan& scan) { return testing::Drawn(scan, "CDEIK_NSQO"); }

constexpr TScanState kBase = TzelRepSyn::kRangeBase;
constexpr TScanState kInComment = kBase + TzelRepSyn::kRangeComment;

struct LineCase {
  const char* name;
  TScanState from;
  std::string line;
  std::string drawn;
  TScanState to;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class ReportLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReportLineTest, Tokens) {
  const LineCase& c = GetParam();
  TzelRepSyn syn;
  const auto scan = ScanLine(syn, c.line, c.from);
  EXPECT_EQ(Drawn(scan), c.drawn) << Escaped(c.line);
  EXPECT_EQ(scan.end_state, c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReportLineTest,
    ::testing::Values(
        LineCase{"BalancedParens", kBase, "(1+2)", "O|N|O|N|O", kBase},
        LineCase{"OpenParenCarriesOver", kBase, "f(x", "I|O|I", kBase + 1},
        LineCase{"UnmatchedClose", kBase, ")", "E", 0},
        LineCase{"CloseInErrorState", 0, "(a)", "O|I|E", 0},
        LineCase{"SemicolonEndsErrorState", 0, ";", "O", kBase},
        LineCase{"SemicolonWithOpenParen", kBase + 2, "(a;", "O|I|E", kBase},
        LineCase{"Amounts", kBase, "1.234,56 1,234.56 12. -5", "NNNNNNNN|S|NNNNNNNN|S|NNN|S|O|N",
                 kBase},
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
        LineCase{"IdentifierTakesDigits", kBase, "a1_B2+", "IIIII|O", kBase},
        LineCase{"HugeHash", kBase, std::string(1000, 'z'), std::string(1000, 'I'), kBase}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> DrawnLines(const std::vector<std::string>& lines,
                                    std::vector<TScanState>* ends) {
  TzelRepSyn syn;
  std::vector<std::string> drawn;
  for (const auto& scan : testing::ScanLines(syn, lines)) {
    drawn.push_back(Drawn(scan));
    ends->push_back(scan.end_state);
  }
  return drawn;
}

TEST(ReportSyntaxTest, RangesCarryFromLineToLine) {
  std::vector<TScanState> ends;
  EXPECT_EQ(DrawnLines({")", "(a)", ";", "b)", "x /*", "", "still", "b */ (", "\"(", "1"}, &ends),
            (std::vector<std::string>{"E", "O|I|E", "O", "I|E", "I|S|CC", "", "CCCCC", "CCCC|S|O",
                                      "QQ", "N"}));
  EXPECT_EQ(ends, (std::vector<TScanState>{0, 0, kBase, 0, 50000, 50000, 50000, kBase + 1,
                                           kBase + 1, kBase + 1}));
}

TEST(ReportSyntaxTest, OpenParenthesesNeverReachTheCommentBand) {
  std::vector<TScanState> ends;
  const auto drawn = DrawnLines({std::string(45000, '('), "a", ")", "/**/"}, &ends);
  EXPECT_EQ(drawn[1], "I");
  EXPECT_EQ(drawn[2], "O");
  EXPECT_EQ(ends, (std::vector<TScanState>{49999, 49999, 49998, 49998}));
}

TEST(ReportSyntaxTest, EachTokenTakesTheAttributeOfItsKind) {
  TzelRepSyn syn;
  const std::string line = "#x=/**/)abc 12\"s\"+";
  std::vector<std::string> names;
  syn.ResetScanState();
  for (syn.StartLine(line.c_str(), 1); !syn.AtLineEnd(); syn.NextToken()) {
    names.push_back(syn.TokenAttribute()->Name());
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"Preprocessor", "Identifier", "Comment", "Illegal char",
                                      "Identifier", "Space", "Number", "String", "Identifier"}));
  EXPECT_EQ(syn.TokenAttribute(), nullptr);
  syn.NextToken();  // asked once more, the end of the line stays put
  EXPECT_TRUE(syn.AtLineEnd());
  EXPECT_EQ(syn.TokenStart(), static_cast<int>(line.size()));
}

TEST(ReportSyntaxTest, Sweep) {
  testing::SweepOptions options;
  options.kind_count = TzelRepSyn::kKindCount;
  options.alphabet = "/*()#;\"\\,.09az_= \t\r\n-\x80\xFF";
  // The base with parentheses open, the error state and the counts an "(" makes from it, and
  // each of those inside a block comment.
  for (TScanState state : {0, 1, 2, 10000, 10001, 10002, 10007}) {
    options.states.push_back(state);
    options.states.push_back(state + TzelRepSyn::kRangeComment);
  }
  testing::SweepHighlighter([] { return std::make_unique<TzelRepSyn>(); }, options);
}

}  // namespace
}  // namespace numvex
