// The highlighter contract: font style sets, attributes and their change notification, the
// sorted attribute list, listeners, what each highlighter answers the editor and the settings,
// and the token dump.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "highlight/syn_highlighter.h"
#include "highlight/syn_nvx.h"
#include "highlight/syn_zel_rep.h"

namespace numvex {
namespace {

// The least a highlighter must provide (one token a line), so the base class's own answers
// and registration show.
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
  void StartLine(const char* text, int) override {
    line_ = text;
    end_ = line_.empty();
  }
  void SetScanState(TScanState) override {}
  void ResetScanState() override {}

 private:
  std::string line_;
  bool end_ = true;
};

TEST(FontStyleTest, SetOperations) {
  const TFontStyles bold_italic = fsBold | fsItalic;
  EXPECT_TRUE(bold_italic.Contains(fsItalic));
  EXPECT_FALSE(bold_italic.Contains(fsUnderline));
  EXPECT_EQ(bold_italic - fsBold, TFontStyles(fsItalic));
  EXPECT_EQ(TFontStyles::FromBits(0xFF).Bits(), 0x0F);  // only the four styles exist
}

// Setting a property to its current value is no change; a property counts as stored exactly
// while it differs from the remembered default.
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
  for (TFontStyles style :
       {TFontStyles(), TFontStyles(fsBold), TFontStyles(fsBold), TFontStyles()}) {
    attr.SetStyle(style);
  }
  EXPECT_EQ(stored, "100 100 000 010 000 001 000 ");
}

TEST(AttributeTest, AssignCopiesAllThreeWithOneNotification) {
  TSynHighlighterAttributes source("A");
  source.SetForeground(clRed);
  source.SetBackground(clSilver);
  source.SetStyle(fsUnderline);
  TSynHighlighterAttributes target("B");
  int notified = 0;
  target.SetOnChange([&](TSynHighlighterAttributes&) { ++notified; });
  target.Assign(source);
  target.Assign(source);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(target.Foreground(), clRed);
  EXPECT_EQ(target.Background(), clSilver);
  EXPECT_EQ(target.Style(), TFontStyles(fsUnderline));
  EXPECT_EQ(target.Name(), "B");
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
  std::function<void()> on_told;
  void HighlighterAttributeChanged(TSynCustomHighlighter&,
                                   TSynHighlighterAttributes& attribute) override {
    told.push_back(attribute.Name());
    if (on_told) on_told();
  }
};

TEST(HighlighterTest, EveryAttachedListenerIsToldOncePerRealChange) {
  TSynhighNvx nvx;
  RecordingListener first, second, gone;
  for (auto* listener : {&first, &second, &first, &gone}) nvx.AttachListener(listener);
  nvx.DetachListener(&gone);
  nvx.KeyAttri()->SetStyle(fsBold);  // bold already: no change
  nvx.CommentAttri()->SetForeground(clTeal);
  nvx.VariableGlobalAttri()->SetBackground(clSilver);
  const std::vector<std::string> expected = {"Comment", "Global variable"};
  EXPECT_EQ(first.told, expected);
  EXPECT_EQ(second.told, expected);
  EXPECT_TRUE(gone.told.empty());
  EXPECT_EQ(nvx.ListenerCount(), 2);
}

TEST(HighlighterTest, ListenerMayDetachWhileBeingTold) {
  TzelRepSyn syn;
  RecordingListener first, second;
  first.on_told = [&] {
    syn.DetachListener(&first);
    syn.DetachListener(&second);
  };
  syn.AttachListener(&first);
  syn.AttachListener(&second);
  syn.StringAttri()->SetForeground(clGreen);
  EXPECT_EQ(first.told.size(), 1u);
  EXPECT_TRUE(second.told.empty());  // it left before its turn
}

// Byte values as ranges, "33-255".
std::string Ranges(const TSynIdentChars& chars) {
  std::string out;
  for (int c = 0; c < 256; ++c) {
    if (!chars[static_cast<size_t>(c)] || (c > 0 && chars[static_cast<size_t>(c - 1)])) continue;
    int last = c;
    while (last < 255 && chars[static_cast<size_t>(last + 1)]) ++last;
    out +=
        (out.empty() ? "" : " ") + std::to_string(c) + (last > c ? "-" + std::to_string(last) : "");
  }
  return out;
}

// Attributes whose values differ from their defaults, as the settings would store them.
std::string Stored(const TSynCustomHighlighter& hl) {
  std::string out;
  for (int i = 0; i < hl.AttributeCount(); ++i) {
    const TSynHighlighterAttributes& a = *hl.AttributeAt(i);
    if (a.IsForegroundStored()) out += a.Name() + " fg " + std::to_string(a.Foreground()) + "; ";
    if (a.IsBackgroundStored()) out += a.Name() + " bg " + std::to_string(a.Background()) + "; ";
    if (a.IsStyleStored()) out += a.Name() + " style " + std::to_string(a.Style().Bits()) + "; ";
  }
  return out;
}

std::string Roles(const TSynCustomHighlighter& hl) {
  std::string out;
  for (int role = -1; role <= 5; ++role) {
    out += hl.RoleAttribute(role) ? hl.RoleAttribute(role)->Name() + "|" : "-|";
  }
  return out;
}

struct AnswersCase {
  const char* name;
  std::function<std::unique_ptr<TSynCustomHighlighter>()> make;
  const char* language;
  unsigned capabilities;
  const char* word_characters;
  const char* roles;
  const char* stored;  // after construction
};
void PrintTo(const AnswersCase& c, std::ostream* os) { *os << c.name; }

class HighlighterAnswersTest : public ::testing::TestWithParam<AnswersCase> {};

TEST_P(HighlighterAnswersTest, Answers) {
  const AnswersCase& c = GetParam();
  const auto hl = c.make();
  EXPECT_EQ(hl->LanguageName(), c.language);
  EXPECT_EQ(hl->PresetCapabilities(), c.capabilities);
  EXPECT_EQ(Ranges(hl->WordCharacters()), c.word_characters);
  EXPECT_EQ(Roles(*hl), c.roles);
  EXPECT_EQ(Stored(*hl), c.stored);
  EXPECT_FALSE(hl->IsReservedWord("abs"));
}

INSTANTIATE_TEST_SUITE_P(
    Highlighters, HighlighterAnswersTest,
    ::testing::Values(
        AnswersCase{"Bare", [] { return std::make_unique<BareHighlighter>(); }, "<Unknown>",
                    hcRegistry, "33-255", "-|-|-|-|-|-|-|", ""},
        AnswersCase{"Nvx", [] { return std::make_unique<TSynhighNvx>(); }, "highNvx", hcRegistry,
                    "65-90 95 97-122 128 192-255", "-|-|Identifier|Reserved word|-|-|-|", ""},
        AnswersCase{"MainWindowNvx", [] { return MakeMainWindowNvx(); }, "highNvx", hcRegistry,
                    "65-90 95 97-122 128 192-255", "-|-|Identifier|Reserved word|-|-|-|",
                    "Comment fg 0; Number fg 8388608; "},
        AnswersCase{"SynOff", [] { return MakeSynOff(); }, "zel Report Syntax",
                    hcRegistry | hcUserSettings, "48-57 65-90 95 97-122",
                    "-|Comment|Identifier|Reserved word|String|Space|-|", ""},
        AnswersCase{"SynCalcNvx", [] { return MakeSynCalcNvx(); }, "zel Report Syntax",
                    hcRegistry | hcUserSettings, "48-57 65-90 95 97-122",
                    "-|Comment|Identifier|Reserved word|String|Space|-|",
                    "Number fg 8388608; Reserved word style 1; "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HighlighterTest, FilterNeedsSavingOnlyWhenChanged) {
  TSynhighNvx nvx;
  BareHighlighter bare;
  EXPECT_FALSE(nvx.FilterNeedsSaving());
  nvx.SetFilterText("Tapes (*.nvx;*.txt)");
  EXPECT_EQ(nvx.FilterText(), "Tapes (*.nvx;*.txt)");
  EXPECT_TRUE(nvx.FilterNeedsSaving());
  nvx.SetFilterText(TSynhighNvx::kDefaultFilter);
  EXPECT_FALSE(nvx.FilterNeedsSaving());
  EXPECT_TRUE(bare.FilterNeedsSaving());
}

TEST(TokenDumpTest, StartLengthKindAndEndStatePerLine) {
  TzelRepSyn syn;
  syn.SetScanState(7);  // the dump starts from the document's initial state regardless
  std::vector<std::string> got;
  DumpTokens(syn, {"ab (", "", std::string("9)\0zz", 5)},
             [&](const std::string& line) { got.push_back(line); });
  EXPECT_EQ(got, (std::vector<std::string>{"1 10001 0:2:3 2:1:7 3:1:9", "2 10001",
                                           "3 10000 0:1:6 1:1:9"}));
  BareHighlighter bare;  // the base's TokenLength counts the token text
  std::string out;
  DumpTokens(bare, {"abc", ""}, &out);
  EXPECT_EQ(out, "1 0 0:3:0\n2 0\n");
}

}  // namespace
}  // namespace numvex
