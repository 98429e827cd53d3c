// The report-syntax highlighter: traced lines, the attribute of each kind of token, a sweep.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/case_name.h"
#include "common/random_text.h"
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

// The tokens, none empty and each of a known kind, tile the line up to its first byte 0.
bool WellFormed(const std::string& line, const LineScan& scan) {
  std::string joined;
  bool ok = true;
  for (const testing::Token& t : scan.tokens) {
    ok &= t.start == static_cast<int>(joined.size()) && t.length > 0 &&
          t.length == static_cast<int>(t.text.size()) && t.kind >= 0 &&
          t.kind < TzelRepSyn::kKindCount;
    joined += t.text;
  }
  return ok && joined == line.c_str() && scan.end_start == static_cast<int>(joined.size()) &&
         scan.end_length == 0;
}

// Every byte, pair and seeded random line from every state: the scan is well formed, and another
// instance with another history agrees with it whatever follows a byte 0.
TEST(ReportSyntaxTest, Sweep) {
  // Base, open parentheses, error state and what "(" makes of it; each also in a comment.
  std::vector<TScanState> states;
  for (TScanState s : {0, 1, 2, 10000, 10001, 10002, 10007}) {
    states.insert(states.end(), {s, s + TzelRepSyn::kRangeComment});
  }
  std::vector<std::string> lines;
  for (int a = 1; a <= 255; ++a) {
    lines.push_back(std::string(1, static_cast<char>(a)));
    for (int b = 1; b <= 255; ++b) lines.push_back({static_cast<char>(a), static_cast<char>(b)});
  }
  testing::RandomText random(20240611);
  for (int n = 0; n < 3000; ++n) {
    std::string& line = lines.emplace_back();
    for (unsigned i = random.Below(101); i > 0; --i) {
      line +=
          random.OneIn(2) ? random.OneOf("/*()#;\"\\,.09az_= \t\r\n-\x80\xFF") : random.Bytes(1)[0];
    }
  }
  TzelRepSyn first, second;
  int failures = 0;
  for (size_t n = 0; n < lines.size() && failures < 10; ++n) {
    const std::string tail = std::string(1, '\0') + lines[(n + 1) % lines.size()];
    std::vector<LineScan> scans;
    for (TScanState state : states) scans.push_back(ScanLine(first, lines[n], state));
    // The second instance takes the states the other way round, so its history differs.
    for (size_t i = states.size(); i-- > 0;) {
      const bool shaped = WellFormed(lines[n], scans[i]);
      if (shaped && ScanLine(second, lines[n] + tail, states[i]) == scans[i]) continue;
      ADD_FAILURE() << ::testing::PrintToString(lines[n]) << " from " << states[i] << ": "
                    << (shaped ? "another instance or a byte 0 changes the scan" : "malformed");
      ++failures;
    }
  }
}

}  // namespace
}  // namespace numvex
