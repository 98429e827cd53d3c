// The highlighter contract: font styles, attributes and their notifications, the sorted
// attribute list, listeners, what each highlighter answers the editor and settings (the token
// dump is checked end to end with `numvex-tape tokens`).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/case_name.h"
#include "highlight/syn_highlighter.h"
#include "highlight/syn_nvx.h"
#include "highlight/syn_zel_rep.h"

namespace numvex {
namespace {

// The least a highlighter must provide (the whole line one token): the base class's answers.
class BareHighlighter : public TSynCustomHighlighter {
 public:
  BareHighlighter() {
    AddAttribute("Text");
    AddAttribute("digits")->SetForeground(clBlue);  // a constructor colour is a default
    FinishAttributes();
  }
  using TSynCustomHighlighter::AddAttribute;
  TSynHighlighterAttributes* RoleAttribute(int) const override { return nullptr; }
  bool AtLineEnd() const override { return end_; }
  std::string TokenText() const override { return end_ ? "" : line_; }
  TSynHighlighterAttributes* TokenAttribute() const override { return nullptr; }
  int TokenKind() const override { return 0; }
  int TokenStart() const override { return end_ ? static_cast<int>(line_.size()) : 0; }
  void NextToken() override { end_ = true; }
  void StartLine(const char* text, int) override { end_ = (line_ = text).empty(); }
  void SetScanState(TScanState) override {}
  void ResetScanState() override {}

 private:
  std::string line_;
  bool end_ = true;
};

// A setter notifies only on a real change; a property counts as stored exactly while it
// differs from the remembered default. Assign copies all three with one notification.
TEST(AttributeTest, NotifiesOnRealChangesOnly) {
  TSynHighlighterAttributes attr("Number");
  attr.InternalSaveDefaultValues();
  std::string stored;  // foreground, background and style stored, at each notification
  attr.SetOnChange([&](TSynHighlighterAttributes& a) {
    stored += std::to_string(a.IsForegroundStored()) + std::to_string(a.IsBackgroundStored()) +
              std::to_string(a.IsStyleStored()) + " ";
  });
  for (TColor color : {clNone, clNavy, clNavy, clRed, clNone}) attr.SetForeground(color);
  for (TColor color : {clNone, clYellow, clYellow, clNone}) attr.SetBackground(color);
  const TFontStyles plain, bold = fsBold;
  for (TFontStyles style : {plain, bold, bold, plain}) attr.SetStyle(style);
  TSynHighlighterAttributes source("A");
  source.SetForeground(clRed);
  source.SetBackground(clSilver);
  source.SetStyle(fsUnderline);
  attr.Assign(source);
  attr.Assign(source);
  EXPECT_EQ(stored, "100 100 000 010 000 001 000 111 ");
  EXPECT_TRUE(attr.Foreground() == clRed && attr.Background() == clSilver &&
              attr.Style() == fsUnderline && attr.Name() == "Number");
}

TEST(HighlighterTest, AttributesSortIgnoringCaseAndNamesAreUnique) {
  BareHighlighter hl;
  EXPECT_THROW(hl.AddAttribute("DIGITS"), std::logic_error);
  hl.AddAttribute("apple");
  hl.AddAttribute("Zebra");
  std::vector<std::string> names;
  for (int i = -1; i <= hl.AttributeCount(); ++i) {
    names.push_back(hl.AttributeAt(i) ? hl.AttributeAt(i)->Name() : "-");
  }
  EXPECT_EQ(names, (std::vector<std::string>{"-", "apple", "digits", "Text", "Zebra", "-"}));
  EXPECT_EQ(hl.FindAttribute("TEXT"), hl.AttributeAt(2));
  EXPECT_EQ(hl.FindAttribute("Tex"), nullptr);
}

struct RecordingListener : TSynHighlighterListener {
  std::vector<std::string> told;
  std::function<void()> on_told = [] {};
  void HighlighterAttributeChanged(TSynCustomHighlighter&, TSynHighlighterAttributes& a) override {
    told.push_back(a.Name());
    on_told();
  }
};

// Byte values as ranges, "33-255".
std::string Ranges(const TSynIdentChars& chars) {
  std::string out;
  for (size_t c = 0, last = 0; c < 256; c = last + 1) {
    for (last = c; last < 255 && chars[last + 1] == chars[c];) ++last;
    if (chars[c]) out += " " + std::to_string(c) + (last > c ? "-" + std::to_string(last) : "");
  }
  return out.substr(out.empty() ? 0 : 1);
}

// What the editor and the settings read: language, capabilities, word characters, the
// attribute of roles -1 to 5, the attributes differing from their defaults, the filter to save.
std::string Answers(const TSynCustomHighlighter& hl) {
  std::string out = hl.LanguageName() + "; " + std::to_string(hl.PresetCapabilities()) + "; " +
                    Ranges(hl.WordCharacters()) + "; ";
  for (int role = -1; role <= 5; ++role) {
    out += hl.RoleAttribute(role) ? hl.RoleAttribute(role)->Name() + "|" : "-|";
  }
  for (int i = 0; i < hl.AttributeCount(); ++i) {
    const TSynHighlighterAttributes& a = *hl.AttributeAt(i);
    if (a.IsForegroundStored()) out += "; " + a.Name() + " fg " + std::to_string(a.Foreground());
    if (a.IsBackgroundStored()) out += "; " + a.Name() + " bg " + std::to_string(a.Background());
    if (a.IsStyleStored()) out += "; " + a.Name() + " style " + std::to_string(a.Style().Bits());
  }
  return out + (hl.IsReservedWord("abs") ? "; reserved" : "") +
         (hl.FilterNeedsSaving() ? "; filter saved " + hl.FilterText() : "");
}

struct AnswersCase {
  const char* name;
  std::function<std::unique_ptr<TSynCustomHighlighter>()> make;
  const char* answers;
};

class HighlighterAnswersTest : public ::testing::TestWithParam<AnswersCase> {};

TEST_P(HighlighterAnswersTest, Answers) {
  EXPECT_EQ(Answers(*GetParam().make()), GetParam().answers);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Highlighters, HighlighterAnswersTest, ::testing::Values(
    AnswersCase{"Bare", [] { return std::make_unique<BareHighlighter>(); }, "<Unknown>; 2; 33-255; -|-|-|-|-|-|-|; filter saved "},
    AnswersCase{"Nvx", [] { return std::make_unique<TSynhighNvx>(); },
                "highNvx; 2; 65-90 95 97-122 128 192-255; -|-|Identifier|Reserved word|-|-|-|"},
    AnswersCase{"NvxOwnFilter", [] { auto nvx = std::make_unique<TSynhighNvx>(); nvx->SetFilterText("Tapes (*.txt)"); return nvx; },
                "highNvx; 2; 65-90 95 97-122 128 192-255; -|-|Identifier|Reserved word|-|-|-|; filter saved Tapes (*.txt)"},
    AnswersCase{"MainWindowNvx", [] { return MakeMainWindowNvx(); },
                "highNvx; 2; 65-90 95 97-122 128 192-255; -|-|Identifier|Reserved word|-|-|-|; Comment fg 0; Number fg 8388608"},
    AnswersCase{"SynOff", [] { return MakeSynOff(); },
                "zel Report Syntax; 3; 48-57 65-90 95 97-122; -|Comment|Identifier|Reserved word|String|Space|-|; filter saved All files (*.*)|*.*"},
    AnswersCase{"SynCalcNvx", [] { return MakeSynCalcNvx(); },
                "zel Report Syntax; 3; 48-57 65-90 95 97-122; -|Comment|Identifier|Reserved word|String|Space|-|; Number fg 8388608; Reserved word style 1; filter saved All files (*.*)|*.*"}),
    testing::NameBy<&AnswersCase::name>());
// clang-format on

}  // namespace
}  // namespace numvex
