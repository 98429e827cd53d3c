// The report-syntax highlighter: its attributes and answers, and how it splits lines.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "highlight/syn_zel_rep.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::ScanLine;
using testing::ScanLines;
using testing::TextKinds;
using TextKindList = std::vector<std::pair<std::string, int>>;

constexpr int kCom = TzelRepSyn::kComment;
constexpr int kDir = TzelRepSyn::kDirective;
constexpr int kErr = TzelRepSyn::kError;
constexpr int kIdn = TzelRepSyn::kIdentifier;
constexpr int kNum = TzelRepSyn::kNumber;
constexpr int kSpc = TzelRepSyn::kWhitespace;
constexpr int kStr = TzelRepSyn::kString;
constexpr int kOth = TzelRepSyn::kOther;

TEST(ReportSyntaxTest, AttributesByNameAndProperty) {
  TzelRepSyn syn;
  const std::vector<std::pair<std::string, TSynHighlighterAttributes*>> published = {
      {"Comment", syn.CommentAttri()},    {"Preprocessor", syn.DirectiveAttri()},
      {"Illegal char", syn.ErrorAttri()}, {"Identifier", syn.IdentifierAttri()},
      {"Reserved word", syn.KeyAttri()},  {"Number", syn.NumberAttri()},
      {"Space", syn.SpaceAttri()},        {"String", syn.StringAttri()}};
  ASSERT_EQ(syn.AttributeCount(), static_cast<int>(published.size()));
  for (const auto& [name, attr] : published) {
    ASSERT_NE(attr, nullptr) << name;
    EXPECT_EQ(attr->Name(), name);
    EXPECT_EQ(syn.FindAttribute(name), attr);
    EXPECT_EQ(attr->Foreground(), clNone) << name;
    EXPECT_EQ(attr->Background(), clNone) << name;
    EXPECT_TRUE(attr->Style().Empty()) << name;
  }
  for (int i = 1; i < syn.AttributeCount(); ++i) {
    EXPECT_LT(syn.AttributeAt(i - 1)->Name(), syn.AttributeAt(i)->Name());
  }
}

TEST(ReportSyntaxTest, RoleAttributes) {
  TzelRepSyn syn;
  EXPECT_EQ(syn.RoleAttribute(0), syn.CommentAttri());
  EXPECT_EQ(syn.RoleAttribute(1), syn.IdentifierAttri());
  EXPECT_EQ(syn.RoleAttribute(2), syn.KeyAttri());
  EXPECT_EQ(syn.RoleAttribute(3), syn.StringAttri());
  EXPECT_EQ(syn.RoleAttribute(4), syn.SpaceAttri());
  EXPECT_EQ(syn.RoleAttribute(5), nullptr);
  EXPECT_EQ(syn.RoleAttribute(-1), nullptr);
}

TEST(ReportSyntaxTest, LanguageFilterCapabilitiesAndWordCharacters) {
  TzelRepSyn syn;
  EXPECT_EQ(syn.LanguageName(), "zel Report Syntax");
  EXPECT_EQ(TzelRepSyn::ClassLanguageName(), "zel Report Syntax");
  EXPECT_EQ(syn.DefaultFilter(), "All files (*.*)|*.*");
  EXPECT_TRUE(syn.FilterNeedsSaving());
  EXPECT_EQ(syn.SampleText(), "");
  EXPECT_EQ(syn.PresetCapabilities(),
            static_cast<TSynHighlighterCapabilities>(hcUserSettings | hcRegistry));
  EXPECT_EQ(syn.ScanState(), TzelRepSyn::kRangeBase);
  const TSynIdentChars word = syn.WordCharacters();
  EXPECT_EQ(word.count(), 10u + 26u + 26u + 1u);
  for (char c : std::string("09AZaz_")) EXPECT_TRUE(word[static_cast<unsigned char>(c)]) << c;
  for (char c : std::string("-.,# \t")) EXPECT_FALSE(word[static_cast<unsigned char>(c)]) << c;
}

TEST(ReportSyntaxTest, MainWindowInstances) {
  auto off = MakeSynOff();
  for (int i = 0; i < off->AttributeCount(); ++i) {
    const TSynHighlighterAttributes* attr = off->AttributeAt(i);
    EXPECT_FALSE(attr->IsForegroundStored() || attr->IsBackgroundStored() || attr->IsStyleStored())
        << attr->Name();
  }
  auto calc = MakeSynCalcNvx();
  EXPECT_EQ(calc->KeyAttri()->Style(), TFontStyles(fsBold));
  EXPECT_TRUE(calc->KeyAttri()->IsStyleStored());
  EXPECT_EQ(calc->NumberAttri()->Foreground(), clNavy);
  EXPECT_TRUE(calc->NumberAttri()->IsForegroundStored());
  EXPECT_FALSE(calc->CommentAttri()->IsForegroundStored());
  EXPECT_EQ(off->NumberAttri()->Foreground(), clNone);  // the two do not share attributes
}

TEST(ReportSyntaxTest, AttributeOfEachKind) {
  TzelRepSyn syn;
  const std::vector<std::pair<std::string, TSynHighlighterAttributes*>> cases = {
      {"/**/", syn.CommentAttri()},   {"#x", syn.DirectiveAttri()}, {")", syn.ErrorAttri()},
      {"abc", syn.IdentifierAttri()}, {"12", syn.NumberAttri()},    {" ", syn.SpaceAttri()},
      {"\"s\"", syn.StringAttri()},   {"+", syn.IdentifierAttri()}};
  for (const auto& [line, attr] : cases) {
    syn.ResetScanState();
    syn.StartLine(line.c_str(), 1);
    EXPECT_EQ(syn.TokenAttribute(), attr) << line;
    syn.NextToken();
    EXPECT_TRUE(syn.AtLineEnd()) << line;
    EXPECT_EQ(syn.TokenAttribute(), nullptr) << line;
  }
}

struct LineCase {
  const char* name;
  TScanState from;
  std::string line;
  TextKindList tokens;
  TScanState to;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class ReportLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReportLineTest, SplitsAsExpected) {
  const LineCase& c = GetParam();
  TzelRepSyn syn;
  const auto scan = ScanLine(syn, c.line, c.from);
  ASSERT_TRUE(scan.ended);
  EXPECT_EQ(TextKinds(scan), c.tokens);
  EXPECT_EQ(scan.end_state, c.to);
}

const TScanState kBase = TzelRepSyn::kRangeBase;

INSTANTIATE_TEST_SUITE_P(
    Lines, ReportLineTest,
    ::testing::Values(
        LineCase{"BalancedParens",
                 kBase,
                 "(1+2)",
                 {{"(", kOth}, {"1", kNum}, {"+", kOth}, {"2", kNum}, {")", kOth}},
                 kBase},
        LineCase{"UnmatchedClose", kBase, ")", {{")", kErr}}, 0},
        LineCase{"CloseInErrorState", 0, "(a)", {{"(", kOth}, {"a", kIdn}, {")", kErr}}, 0},
        LineCase{"SemicolonEndsErrorState", 0, ";", {{";", kOth}}, kBase},
        LineCase{
            "SemicolonWithOpenParen", kBase, "(a;", {{"(", kOth}, {"a", kIdn}, {";", kErr}}, kBase},
        LineCase{"OpenParenCarriesOver",
                 kBase,
                 "f(x",
                 {{"f", kIdn}, {"(", kOth}, {"x", kIdn}},
                 kBase + 1},
        LineCase{"DoubledComma",
                 kBase,
                 "1,,2",
                 {{"1", kNum}, {",", kOth}, {",", kOth}, {"2", kNum}},
                 kBase},
        LineCase{"DoubledPoint",
                 kBase,
                 "1..2",
                 {{"1", kNum}, {".", kOth}, {".", kOth}, {"2", kNum}},
                 kBase},
        LineCase{"GermanAmount", kBase, "1.234,56", {{"1.234,56", kNum}}, kBase},
        LineCase{"EnglishAmount",
                 kBase,
                 "1,234.56 x",
                 {{"1,234.56", kNum}, {" ", kSpc}, {"x", kIdn}},
                 kBase},
        LineCase{"TrailingSeparator", kBase, "12.", {{"12.", kNum}}, kBase},
        LineCase{"SignIsItsOwnToken", kBase, "-5", {{"-", kOth}, {"5", kNum}}, kBase},
        LineCase{"DirectiveUpToEquals",
                 kBase,
                 "  #total = 5",
                 {{"  ", kSpc}, {"#total ", kDir}, {"=", kOth}, {" ", kSpc}, {"5", kNum}},
                 kBase},
        LineCase{"DirectiveAfterTab",
                 kBase,
                 "\t#a=b",
                 {{"\t", kSpc}, {"#a", kDir}, {"=", kOth}, {"b", kIdn}},
                 kBase},
        LineCase{"DirectiveToLineBreak",
                 kBase,
                 "#a\rb",
                 {{"#a", kDir}, {"\r", kSpc}, {"b", kIdn}},
                 kBase},
        LineCase{"HashAfterText",
                 kBase,
                 "x #y",
                 {{"x", kIdn}, {" ", kSpc}, {"#", kErr}, {"y", kIdn}},
                 kBase},
        LineCase{"SecondHashOfADirectiveLine",
                 kBase,
                 "#a=#b",
                 {{"#a", kDir}, {"=", kOth}, {"#", kErr}, {"b", kIdn}},
                 kBase},
        LineCase{"EmptyComment", kBase, "/**/", {{"/**/", kCom}}, kBase},
        LineCase{"SlashStarSlashIsComplete", kBase + 2, "/*/", {{"/*/", kCom}}, kBase + 2},
        LineCase{
            "CommentInErrorState", 0, "a/*b*/)", {{"a", kIdn}, {"/*b*/", kCom}, {")", kErr}}, 0},
        LineCase{"LoneSlash", kBase, "x/y", {{"x", kIdn}, {"/", kOth}, {"y", kIdn}}, kBase},
        LineCase{"UnclosedComment",
                 kBase,
                 "a /* b",
                 {{"a", kIdn}, {" ", kSpc}, {"/* b", kCom}},
                 kBase + 50000},
        LineCase{"CommentClosedOnLaterLine",
                 kBase + 50000,
                 "b */ (",
                 {{"b */", kCom}, {" ", kSpc}, {"(", kOth}},
                 kBase + 1},
        LineCase{"LaterCloseForgetsDepth", kBase + 50003, "*/)", {{"*/", kCom}, {")", kErr}}, 0},
        LineCase{"EmptyLineInComment", kBase + 50000, "", {}, kBase + 50000},
        LineCase{"CommentAroundLineFeed",
                 kBase + 50000,
                 "ab\ncd */x",
                 {{"ab", kCom}, {"\n", kSpc}, {"cd */", kCom}, {"x", kIdn}},
                 kBase},
        LineCase{"OpenerStopsAtLineFeed",
                 kBase + 3,
                 "/* a\n b */",
                 {{"/* a", kCom}, {"\n", kSpc}, {" b */", kCom}},
                 kBase},
        LineCase{
            "String", kBase, "\"a b\" c", {{"\"a b\"", kStr}, {" ", kSpc}, {"c", kIdn}}, kBase},
        LineCase{"EmptyString", kBase, "\"\"x", {{"\"\"", kStr}, {"x", kIdn}}, kBase},
        LineCase{"EscapedQuote",
                 kBase,
                 "\"a\\\"b\" c",
                 {{"\"a\\\"b\"", kStr}, {" ", kSpc}, {"c", kIdn}},
                 kBase},
        LineCase{"TripleQuote",
                 kBase,
                 "\"\"\"x\" y",
                 {{"\"\"\"x\"", kStr}, {" ", kSpc}, {"y", kIdn}},
                 kBase},
        LineCase{"UnterminatedString", kBase, "\"abc", {{"\"abc", kStr}}, kBase},
        LineCase{"StringStopsAtReturn", kBase, "\"ab\rcd", {{"\"ab\r", kStr}, {"cd", kIdn}}, kBase},
        LineCase{"BackslashCarriesStringOverLineFeed",
                 kBase,
                 "\"a\\\nb\"",
                 {{"\"a\\\nb\"", kStr}},
                 kBase},
        LineCase{"ParenInsideStringIsNotCounted", kBase, "\"(\"", {{"\"(\"", kStr}}, kBase},
        LineCase{"ReturnLineFeedIsOneToken",
                 kBase,
                 "a\r\nb",
                 {{"a", kIdn}, {"\r\n", kSpc}, {"b", kIdn}},
                 kBase},
        LineCase{"LineFeedAlone",
                 kBase,
                 "a\n\nb",
                 {{"a", kIdn}, {"\n", kSpc}, {"\n", kSpc}, {"b", kIdn}},
                 kBase},
        LineCase{"TabAndBlanksAreOneRun",
                 kBase,
                 "a\t \x01 b",
                 {{"a", kIdn}, {"\t \x01 ", kSpc}, {"b", kIdn}},
                 kBase},
        LineCase{"HighBytesOneAtATime",
                 kBase,
                 "\x80\xA0\xF7\xFF",
                 {{"\x80", kOth}, {"\xA0", kOth}, {"\xF7", kOth}, {"\xFF", kOth}},
                 kBase},
        LineCase{"IdentifierTakesDigits", kBase, "a1_B2+", {{"a1_B2", kIdn}, {"+", kOth}}, kBase},
        LineCase{"HashOverOneHundred",
                 kBase,
                 std::string(1000, 'z') + " a",
                 {{std::string(1000, 'z'), kIdn}, {" ", kSpc}, {"a", kIdn}},
                 kBase}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportSyntaxTest, ErrorStateAcrossLines) {
  TzelRepSyn syn;
  const auto scans = ScanLines(syn, {")", "(a)", ";", "b)"});
  ASSERT_EQ(scans.size(), 4u);
  EXPECT_EQ(scans[0].end_state, 0);
  EXPECT_EQ(TextKinds(scans[1]), (TextKindList{{"(", kOth}, {"a", kIdn}, {")", kErr}}));
  EXPECT_EQ(scans[1].end_state, 0);
  EXPECT_EQ(TextKinds(scans[2]), (TextKindList{{";", kOth}}));
  EXPECT_EQ(scans[2].end_state, kBase);
  EXPECT_EQ(TextKinds(scans[3]), (TextKindList{{"b", kIdn}, {")", kErr}}));
}

TEST(ReportSyntaxTest, CommentAcrossLines) {
  TzelRepSyn syn;
  const auto scans = ScanLines(syn, {"x /*", "", "still", "b */ (", "\"open", "1"});
  const std::vector<TScanState> states = {60000, 60000, 60000, 10001, 10001, 10001};
  for (size_t i = 0; i < states.size(); ++i) EXPECT_EQ(scans[i].end_state, states[i]) << i;
  EXPECT_TRUE(scans[1].tokens.empty());
  EXPECT_EQ(TextKinds(scans[2]), (TextKindList{{"still", kCom}}));
  EXPECT_EQ(TextKinds(scans[5]), (TextKindList{{"1", kNum}}));  // the string stayed on its line
}

TEST(ReportSyntaxTest, OpenParenthesesNeverReachTheCommentBand) {
  TzelRepSyn syn;
  const auto scans = ScanLines(syn, {std::string(45000, '('), "a", ")", "/**/"});
  EXPECT_EQ(scans[0].end_state, TzelRepSyn::kRangeComment - 1);
  EXPECT_EQ(TextKinds(scans[1]), (TextKindList{{"a", kIdn}}));
  EXPECT_EQ(TextKinds(scans[2]), (TextKindList{{")", kOth}}));
  EXPECT_EQ(scans[2].end_state, TzelRepSyn::kRangeComment - 2);
  EXPECT_EQ(scans[3].end_state, TzelRepSyn::kRangeComment - 2);
}

TEST(ReportSyntaxTest, StartLineKeepsTheRangeAndTheLineNumber) {
  TzelRepSyn syn;
  syn.SetScanState(10003);
  syn.StartLine("abc", 42);
  EXPECT_EQ(syn.ScanState(), 10003);
  EXPECT_EQ(syn.LineNumber(), 42);
  syn.ResetScanState();
  EXPECT_EQ(syn.ScanState(), kBase);
}

TEST(ReportSyntaxTest, EndOfLineStaysPut) {
  TzelRepSyn syn;
  syn.StartLine("ab", 1);
  syn.NextToken();
  ASSERT_TRUE(syn.AtLineEnd());
  syn.NextToken();
  syn.NextToken();
  EXPECT_TRUE(syn.AtLineEnd());
  EXPECT_EQ(syn.TokenStart(), 2);
  EXPECT_EQ(syn.TokenText(), "");
  EXPECT_EQ(syn.TokenKind(), TzelRepSyn::kEndOfLine);
}

TEST(ReportSyntaxTest, ByteZeroEndsTheLine) {
  TzelRepSyn syn;
  const auto scan = ScanLine(syn, std::string("a(\0)/*", 6), kBase);
  EXPECT_EQ(TextKinds(scan), (TextKindList{{"a", kIdn}, {"(", kOth}}));
  EXPECT_EQ(scan.end_state, kBase + 1);
}

TEST(ReportSyntaxTest, TokenTextAndTokenFieldsAgree) {
  TzelRepSyn syn;
  syn.ResetScanState();
  syn.StartLine("ab 12", 1);
  syn.NextToken();
  syn.NextToken();
  EXPECT_EQ(syn.TokenStart(), 3);
  EXPECT_EQ(syn.TokenLength(), 2);
  EXPECT_EQ(syn.TokenText(), "12");
  EXPECT_EQ(syn.TokenKind(), kNum);
}

}  // namespace
}  // namespace numvex
