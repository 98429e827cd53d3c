// The tape highlighter's attributes, published answers and identifier classification, and the
// main window's set-up of it.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "highlight/syn_nvx.h"
#include "scan_helpers.h"

namespace numvex {
namespace {

using testing::ScanLine;
using testing::TextKinds;

const std::string M = "\xA0";

struct PublishedAttribute {
  std::string name;
  TSynHighlighterAttributes* (TSynhighNvx::*property)() const;
  TColor foreground;
  TFontStyles style;
};

const std::vector<PublishedAttribute>& Published() {
  static const std::vector<PublishedAttribute> kAll = {
      {"Function", &TSynhighNvx::FunctionAttri, clNone, {}},
      {"Identifier", &TSynhighNvx::IdentifierAttri, clNone, {}},
      {"Link", &TSynhighNvx::LinkAttri, clNone, {}},
      {"Comment", &TSynhighNvx::CommentAttri, clNone, {}},
      {"Marked Line", &TSynhighNvx::MarkedLineAttri, clNone, {}},
      {"Reserved word", &TSynhighNvx::KeyAttri, clNone, fsBold},
      {"Number", &TSynhighNvx::NumberAttri, clNone, {}},
      {"Negative Number", &TSynhighNvx::NegNumberAttri, 255, {}},
      {"Space", &TSynhighNvx::SpaceAttri, clNone, {}},
      {"MinusLine", &TSynhighNvx::MinusLineAttri, clNone, {}},
      {"Local variable", &TSynhighNvx::VariableLocalAttri, clNone, {}},
      {"Global variable", &TSynhighNvx::VariableGlobalAttri, clNone, {}},
  };
  return kAll;
}

TEST(NvxPropertiesTest, AttributesAndTheirDefaults) {
  TSynhighNvx nvx;
  ASSERT_EQ(nvx.AttributeCount(), static_cast<int>(Published().size()));
  for (const auto& p : Published()) {
    TSynHighlighterAttributes* attr = (nvx.*p.property)();
    ASSERT_NE(attr, nullptr) << p.name;
    EXPECT_EQ(attr->Name(), p.name);
    EXPECT_EQ(nvx.FindAttribute(p.name), attr);
    EXPECT_EQ(attr->Foreground(), p.foreground) << p.name;
    EXPECT_EQ(attr->Background(), clNone) << p.name;
    EXPECT_EQ(attr->Style(), p.style) << p.name;
    // What construction sets is the default: nothing to write into a window description.
    EXPECT_FALSE(attr->IsForegroundStored()) << p.name;
    EXPECT_FALSE(attr->IsBackgroundStored()) << p.name;
    EXPECT_FALSE(attr->IsStyleStored()) << p.name;
  }
}

TEST(NvxPropertiesTest, MainWindowOverridesCommentAndNumberColours) {
  const auto nvx = MakeMainWindowNvx();
  const std::map<std::string, TColor> overridden = {{"Comment", clBlack}, {"Number", clNavy}};
  for (const auto& p : Published()) {
    TSynHighlighterAttributes* attr = ((*nvx).*p.property)();
    const auto it = overridden.find(p.name);
    if (it != overridden.end()) {
      EXPECT_EQ(attr->Foreground(), it->second) << p.name;
      EXPECT_TRUE(attr->IsForegroundStored()) << p.name;
      EXPECT_EQ(attr->DefaultForeground(), clNone) << p.name;
    } else {
      EXPECT_EQ(attr->Foreground(), p.foreground) << p.name;
      EXPECT_FALSE(attr->IsForegroundStored()) << p.name;
    }
    EXPECT_FALSE(attr->IsBackgroundStored()) << p.name;
    EXPECT_FALSE(attr->IsStyleStored()) << p.name;
  }
  EXPECT_FALSE(nvx->HighlightVarsAndFunctions());
  EXPECT_TRUE(TSynhighNvx().HighlightVarsAndFunctions());
  EXPECT_FALSE(nvx->FilterNeedsSaving());
}

TEST(NvxPropertiesTest, EveryAttributeChangeReachesAttachedEditors) {
  struct Recorder : TSynHighlighterListener {
    std::vector<std::string> changed;
    void HighlighterAttributeChanged(TSynCustomHighlighter&,
                                     TSynHighlighterAttributes& attr) override {
      changed.push_back(attr.Name());
    }
  };
  TSynhighNvx nvx;
  Recorder editor;
  nvx.AttachListener(&editor);
  std::vector<std::string> expected;
  for (const auto& p : Published()) {
    TSynHighlighterAttributes* attr = (nvx.*p.property)();
    attr->SetForeground(clTeal);
    attr->SetForeground(clTeal);  // no change, no news
    expected.push_back(p.name);
  }
  EXPECT_EQ(editor.changed, expected);
  nvx.DetachListener(&editor);
}

TEST(NvxPropertiesTest, RoleAttributes) {
  TSynhighNvx nvx;
  const std::vector<std::pair<int, TSynHighlighterAttributes*>> roles = {
      {-1, nullptr},
      {0, nullptr},  // the comment attribute plays no generic role here
      {1, nvx.IdentifierAttri()},
      {2, nvx.KeyAttri()},
      {3, nullptr},
      {4, nullptr},
      {5, nullptr}};
  for (const auto& [role, attr] : roles) EXPECT_EQ(nvx.RoleAttribute(role), attr) << role;
}

TEST(NvxPropertiesTest, LanguageFilterAndSample) {
  TSynhighNvx nvx;
  EXPECT_EQ(nvx.LanguageName(), "highNvx");
  EXPECT_EQ(TSynhighNvx::ClassLanguageName(), "highNvx");
  EXPECT_EQ(nvx.DefaultFilter(), "highNvx (*.nvx)");
  EXPECT_EQ(nvx.FilterText(), "highNvx (*.nvx)");
  EXPECT_FALSE(nvx.FilterNeedsSaving());
  nvx.SetFilterText("Tapes (*.nvx;*.txt)");
  EXPECT_TRUE(nvx.FilterNeedsSaving());
  nvx.SetFilterText("highNvx (*.nvx)");
  EXPECT_FALSE(nvx.FilterNeedsSaving());
  EXPECT_EQ(nvx.SampleText(), "Sample source for: \r\nhighNvx Syntax");
  EXPECT_EQ(nvx.PresetCapabilities(), static_cast<TSynHighlighterCapabilities>(hcRegistry));
  EXPECT_FALSE(nvx.IsReservedWord("abs"));
}

TEST(NvxPropertiesTest, WordCharactersAreTheIdentifierStarts) {
  TSynhighNvx nvx;
  const TSynIdentChars word = nvx.WordCharacters();
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool expected = letter || c == '_' || c == 128 || c >= 192;
    EXPECT_EQ(word.test(static_cast<size_t>(c)), expected) << "byte " << c;
  }
  EXPECT_EQ(word.count(), 52u + 1 + 1 + 64);
}

TEST(NvxPropertiesTest, CommentAndMarkCharactersDoNotChangeTheScan) {
  TSynhighNvx nvx;
  EXPECT_EQ(nvx.CommentChar(), '#');
  EXPECT_EQ(nvx.MarkedLineChar(), '\xA0');
  const std::string line = "a;b #c |d| " + M + "e";
  const auto before = TextKinds(ScanLine(nvx, line, 0));
  nvx.SetCommentChar(';');
  nvx.SetMarkedLineChar('|');
  EXPECT_EQ(nvx.CommentChar(), ';');
  EXPECT_EQ(nvx.MarkedLineChar(), '|');
  const auto scan = ScanLine(nvx, line, 0);
  EXPECT_EQ(TextKinds(scan), before);
  EXPECT_EQ(scan.end_state, TSynhighNvx::kRangeComment);
}

TEST(NvxPropertiesTest, TokenAttributeFollowsTheKind) {
  TSynhighNvx nvx;
  nvx.LocalVariables() = {"net"};
  nvx.GlobalVariables() = {"gross"};
  const std::map<int, TSynHighlighterAttributes*> by_kind = {
      {TSynhighNvx::kFunction, nvx.FunctionAttri()},
      {TSynhighNvx::kIdentifier, nvx.IdentifierAttri()},
      {TSynhighNvx::kLink, nvx.LinkAttri()},
      {TSynhighNvx::kComment, nvx.CommentAttri()},
      {TSynhighNvx::kMarked, nvx.MarkedLineAttri()},
      {TSynhighNvx::kNumber, nvx.NumberAttri()},
      {TSynhighNvx::kNegativeNumber, nvx.NegNumberAttri()},
      {TSynhighNvx::kSpace, nvx.SpaceAttri()},
      {TSynhighNvx::kOther, nvx.IdentifierAttri()},
      {TSynhighNvx::kLocalVariable, nvx.VariableLocalAttri()},
      {TSynhighNvx::kGlobalVariable, nvx.VariableGlobalAttri()}};
  std::map<int, int> seen;
  for (const std::string& line :
       {std::string("- 5 sqrt net gross x=1 [a] #c"), "  " + M + "open", std::string("+ 2")}) {
    nvx.ResetScanState();
    nvx.StartLine(line.c_str(), 1);
    for (; !nvx.AtLineEnd(); nvx.NextToken()) {
      ++seen[nvx.TokenKind()];
      ASSERT_EQ(by_kind.count(nvx.TokenKind()), 1u) << "kind " << nvx.TokenKind();
      EXPECT_EQ(nvx.TokenAttribute(), by_kind.at(nvx.TokenKind())) << "kind " << nvx.TokenKind();
    }
    EXPECT_EQ(nvx.TokenAttribute(), nullptr);
  }
  for (const auto& [kind, attr] : by_kind) EXPECT_GT(seen[kind], 0) << "kind " << kind;
}

// --- identifier classification -------------------------------------------------------------

struct ClassifyCase {
  const char* name;
  bool highlight;
  std::vector<std::string> locals;
  std::vector<std::string> globals;
  std::string ident;
  int kind;
};

class NvxClassifyTest : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(NvxClassifyTest, Kind) {
  const ClassifyCase& c = GetParam();
  TSynhighNvx nvx;
  nvx.SetHighlightVarsAndFunctions(c.highlight);
  nvx.LocalVariables() = c.locals;
  nvx.GlobalVariables() = c.globals;
  const auto scan = ScanLine(nvx, c.ident + " 5", 0);
  ASSERT_EQ(scan.tokens.size(), 3u);
  EXPECT_EQ(scan.tokens[0].text, c.ident);
  EXPECT_EQ(scan.tokens[0].kind, c.kind);
}

std::string Zs(int n, char last) { return std::string(static_cast<size_t>(n), 'z') + last; }

constexpr int kFun = TSynhighNvx::kFunction;
constexpr int kIdn = TSynhighNvx::kIdentifier;
constexpr int kLoc = TSynhighNvx::kLocalVariable;
constexpr int kGlo = TSynhighNvx::kGlobalVariable;

INSTANTIATE_TEST_SUITE_P(
    Names, NvxClassifyTest,
    ::testing::Values(
        ClassifyCase{"Function", true, {}, {}, "sqrt", kFun},
        ClassifyCase{"FunctionUpperCase", true, {}, {}, "SQRT", kFun},
        ClassifyCase{"FunctionWithDigit", true, {}, {}, "sqrt2", kIdn},
        ClassifyCase{"ShorterFunction", true, {}, {}, "sqr", kFun},
        ClassifyCase{"PrefixOfFunction", true, {}, {}, "trun", kIdn},
        ClassifyCase{"SwitchedOff", false, {"sqrt"}, {"sqrt"}, "sqrt", kIdn},
        ClassifyCase{"SwitchedOffLocal", false, {"net"}, {}, "net", kIdn},
        ClassifyCase{"Local", true, {"vat", "Net"}, {}, "NET", kLoc},
        ClassifyCase{"Global", true, {}, {"total"}, "Total", kGlo},
        ClassifyCase{"LocalBeforeGlobal", true, {"x"}, {"x"}, "x", kLoc},
        ClassifyCase{"FunctionBeforeLocal", true, {"sin"}, {}, "Sin", kFun},
        ClassifyCase{"NotListed", true, {"net"}, {"gross"}, "tare", kIdn},
        // Positions compare by hash value, and every digit hashes to 0.
        ClassifyCase{"DigitsMatchEachOther", true, {"r1"}, {}, "r9", kLoc},
        ClassifyCase{"UnderscoreIsNoDigit", true, {"r1"}, {}, "r_", kIdn},
        ClassifyCase{"AccentedSameCase", true, {"\xE9t\xE9"}, {}, "\xE9T\xE9", kLoc},
        ClassifyCase{"AccentedOtherCase", true, {"\xE9t\xE9"}, {}, "\xC9t\xC9", kIdn},
        ClassifyCase{"Byte128", true, {}, {"\x80"}, "\x80", kGlo},
        // 39 * 26 + 10 = 1024: still looked up. One more and no list is consulted.
        ClassifyCase{"HashAtTheLimit", true, {Zs(39, 'j')}, {}, Zs(39, 'j'), kLoc},
        ClassifyCase{"HashOverTheLimit", true, {Zs(39, 'k')}, {Zs(39, 'k')}, Zs(39, 'k'), kIdn},
        ClassifyCase{"FortyZs", true, {Zs(39, 'z')}, {}, Zs(39, 'z'), kIdn}),
    [](const ::testing::TestParamInfo<ClassifyCase>& info) { return info.param.name; });

TEST(NvxPropertiesTest, HashOfAHugeIdentifierDoesNotWrapRound) {
  // 22486740 bytes of hash 191 sum to 2^32 + 44: a 32-bit sum would wrap round into the
  // classified range and find the equal list entry.
  TSynhighNvx nvx;
  const std::string huge(22'486'740, '\xFF');
  nvx.LocalVariables() = {huge};
  const auto scan = ScanLine(nvx, huge, 0);
  ASSERT_EQ(scan.tokens.size(), 1u);
  EXPECT_EQ(scan.tokens[0].length, static_cast<int>(huge.size()));
  EXPECT_EQ(scan.tokens[0].kind, kIdn);
}

}  // namespace
}  // namespace numvex
