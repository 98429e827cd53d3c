// The highlighter contract: colours, styles, attributes with defaults and change notification,
// the sorted attribute list, listeners, the base answers and the token dump.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "highlight/syn_highlighter.h"
#include "toy_highlighter.h"

namespace numvex {
namespace {

using testing::ToyHighlighter;

TEST(ColorTest, RedSitsInTheLowestByte) {
  EXPECT_EQ(MakeColor(255, 0, 0), clRed);
  EXPECT_EQ(MakeColor(0, 0, 0x80), clNavy);
  EXPECT_EQ(ColorBlue(clNavy), 0x80);
  EXPECT_EQ(ColorRed(clNavy), 0);
  EXPECT_EQ(ColorGreen(clGreen), 0x80);
  EXPECT_EQ(clRed, 255u);
}

TEST(ColorTest, TopByteFFNamesASystemColour) {
  EXPECT_TRUE(IsSystemColor(clWindowText));
  EXPECT_EQ(SystemColorIndex(clWindowText), 8);
  EXPECT_FALSE(IsSystemColor(clNone));
  EXPECT_FALSE(IsSystemColor(clWhite));
}

TEST(FontStyleTest, SetOperations) {
  const TFontStyles bold_italic = fsBold | fsItalic;
  EXPECT_TRUE(bold_italic.Contains(fsBold));
  EXPECT_TRUE(bold_italic.Contains(fsItalic));
  EXPECT_FALSE(bold_italic.Contains(fsUnderline));
  EXPECT_EQ(bold_italic - fsBold, TFontStyles(fsItalic));
  EXPECT_TRUE(TFontStyles().Empty());
  EXPECT_EQ(TFontStyles::FromBits(0xFF).Bits(), 0x0F);  // only the four styles exist
}

TEST(AttributeTest, StartsWithoutColourOrStyle) {
  TSynHighlighterAttributes attr("Comment");
  EXPECT_EQ(attr.Name(), "Comment");
  EXPECT_EQ(attr.Foreground(), clNone);
  EXPECT_EQ(attr.Background(), clNone);
  EXPECT_TRUE(attr.Style().Empty());
  EXPECT_FALSE(attr.IsForegroundStored());
  EXPECT_FALSE(attr.IsBackgroundStored());
  EXPECT_FALSE(attr.IsStyleStored());
}

// The three published properties share one shape: notify on a real change only, and count as
// stored exactly while they differ from the remembered default.
struct PropertyCase {
  const char* name;
  std::function<void(TSynHighlighterAttributes&, int)> set;  // 0: the default, 1, 2: others
  std::function<bool(const TSynHighlighterAttributes&)> stored;
};

class AttributePropertyTest : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(AttributePropertyTest, NotifiesOnRealChangesOnly) {
  const PropertyCase& p = GetParam();
  TSynHighlighterAttributes attr("Number");
  attr.InternalSaveDefaultValues();
  int notified = 0;
  attr.SetOnChange([&](TSynHighlighterAttributes& changed) {
    EXPECT_EQ(&changed, &attr);
    ++notified;
  });

  p.set(attr, 0);  // the value it already has
  EXPECT_EQ(notified, 0);
  EXPECT_FALSE(p.stored(attr));

  p.set(attr, 1);
  EXPECT_EQ(notified, 1);
  EXPECT_TRUE(p.stored(attr));

  p.set(attr, 1);
  EXPECT_EQ(notified, 1);

  p.set(attr, 2);
  EXPECT_EQ(notified, 2);

  p.set(attr, 0);
  EXPECT_EQ(notified, 3);
  EXPECT_FALSE(p.stored(attr));
}

INSTANTIATE_TEST_SUITE_P(
    Properties, AttributePropertyTest,
    ::testing::Values(
        PropertyCase{"Foreground",
                     [](TSynHighlighterAttributes& a, int v) {
                       const TColor values[] = {clNone, clNavy, clRed};
                       a.SetForeground(values[v]);
                     },
                     [](const TSynHighlighterAttributes& a) { return a.IsForegroundStored(); }},
        PropertyCase{"Background",
                     [](TSynHighlighterAttributes& a, int v) {
                       const TColor values[] = {clNone, clYellow, clWindow};
                       a.SetBackground(values[v]);
                     },
                     [](const TSynHighlighterAttributes& a) { return a.IsBackgroundStored(); }},
        PropertyCase{"Style",
                     [](TSynHighlighterAttributes& a, int v) {
                       const TFontStyles values[] = {TFontStyles(), fsBold, fsBold | fsItalic};
                       a.SetStyle(values[v]);
                     },
                     [](const TSynHighlighterAttributes& a) { return a.IsStyleStored(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AttributeTest, AssignCopiesAllThreeWithOneNotification) {
  TSynHighlighterAttributes source("A");
  source.SetForeground(clRed);
  source.SetStyle(fsUnderline);
  TSynHighlighterAttributes target("B");
  int notified = 0;
  target.SetOnChange([&](TSynHighlighterAttributes&) { ++notified; });
  target.Assign(source);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(target.Foreground(), clRed);
  EXPECT_EQ(target.Style(), TFontStyles(fsUnderline));
  EXPECT_EQ(target.Name(), "B");
  target.Assign(source);
  EXPECT_EQ(notified, 1);
}

TEST(HighlighterTest, ConstructorColoursBecomeDefaults) {
  ToyHighlighter toy;
  EXPECT_EQ(toy.DigitsAttri()->Foreground(), clBlue);
  EXPECT_EQ(toy.DigitsAttri()->DefaultForeground(), clBlue);
  EXPECT_FALSE(toy.DigitsAttri()->IsForegroundStored());
  // What a window description sets afterwards is an override.
  toy.DigitsAttri()->SetForeground(clNavy);
  EXPECT_TRUE(toy.DigitsAttri()->IsForegroundStored());
}

TEST(HighlighterTest, AttributesAreSortedByName) {
  ToyHighlighter toy;  // registers Text, Digits, Other
  ASSERT_EQ(toy.AttributeCount(), 3);
  EXPECT_EQ(toy.AttributeAt(0)->Name(), "Digits");
  EXPECT_EQ(toy.AttributeAt(1)->Name(), "Other");
  EXPECT_EQ(toy.AttributeAt(2)->Name(), "Text");
  EXPECT_EQ(toy.AttributeAt(-1), nullptr);
  EXPECT_EQ(toy.AttributeAt(3), nullptr);
  EXPECT_EQ(toy.FindAttribute("other"), toy.AttributeAt(1));
  EXPECT_EQ(toy.FindAttribute("Missing"), nullptr);
}

class RegisteringHighlighter : public ToyHighlighter {
 public:
  void Register(const std::string& name) { AddAttribute(name); }
};

TEST(HighlighterTest, SecondAttributeOfTheSameNameIsAnError) {
  RegisteringHighlighter hl;
  EXPECT_THROW(hl.Register("Digits"), std::logic_error);
  EXPECT_THROW(hl.Register("DIGITS"), std::logic_error);
  EXPECT_EQ(hl.AttributeCount(), 3);
  hl.Register("Apple");
  EXPECT_EQ(hl.AttributeAt(0)->Name(), "Apple");
}

struct RecordingListener : TSynHighlighterListener {
  std::vector<std::string> told;  // names of the changed attributes
  std::function<void()> on_told;
  void HighlighterAttributeChanged(TSynCustomHighlighter&,
                                   TSynHighlighterAttributes& attribute) override {
    told.push_back(attribute.Name());
    if (on_told) on_told();
  }
};

TEST(HighlighterTest, EveryAttachedListenerIsToldOncePerRealChange) {
  ToyHighlighter toy;
  RecordingListener first, second, gone;
  toy.AttachListener(&first);
  toy.AttachListener(&second);
  toy.AttachListener(&first);  // no second subscription
  toy.AttachListener(&gone);
  toy.DetachListener(&gone);
  EXPECT_EQ(toy.ListenerCount(), 2);

  toy.TextAttri()->SetStyle(fsBold);
  toy.TextAttri()->SetStyle(fsBold);
  toy.DigitsAttri()->SetBackground(clSilver);
  toy.DigitsAttri()->SetForeground(clBlue);  // already its colour

  const std::vector<std::string> expected = {"Text", "Digits"};
  EXPECT_EQ(first.told, expected);
  EXPECT_EQ(second.told, expected);
  EXPECT_TRUE(gone.told.empty());
}

TEST(HighlighterTest, ListenerMayDetachWhileBeingTold) {
  ToyHighlighter toy;
  RecordingListener first, second;
  first.on_told = [&] {
    toy.DetachListener(&first);
    toy.DetachListener(&second);
  };
  toy.AttachListener(&first);
  toy.AttachListener(&second);
  toy.TextAttri()->SetForeground(clGreen);
  EXPECT_EQ(first.told.size(), 1u);
  EXPECT_TRUE(second.told.empty());  // it left before its turn
  EXPECT_EQ(toy.ListenerCount(), 0);
}

TEST(HighlighterTest, BaseAnswers) {
  ToyHighlighter toy;
  const TSynIdentChars word = toy.WordCharacters();
  for (size_t c = 0; c < 256; ++c) EXPECT_EQ(word[c], c >= 33) << c;
  EXPECT_EQ(toy.SampleText(), "");
  toy.SetSampleText("ignored");
  EXPECT_EQ(toy.SampleText(), "");
  EXPECT_TRUE(toy.FilterNeedsSaving());
  EXPECT_EQ(toy.FilterText(), "");
  toy.SetFilterText("Toy (*.toy)|*.toy");
  EXPECT_EQ(toy.DefaultFilter(), "Toy (*.toy)|*.toy");
  EXPECT_EQ(toy.FilterText(), "Toy (*.toy)|*.toy");
  EXPECT_EQ(toy.PresetCapabilities(), static_cast<TSynHighlighterCapabilities>(hcRegistry));
  EXPECT_EQ(toy.LanguageName(), "<Unknown>");
  EXPECT_FALSE(toy.IsReservedWord("if"));
}

TEST(TokenDumpTest, WritesStartLengthKindAndTheEndStatePerLine) {
  ToyHighlighter toy;
  toy.SetScanState(7);  // the dump starts from the document's initial state regardless
  std::string out;
  DumpTokens(toy, {"ab12(", "", "))x", std::string("9\0zz", 4)}, &out);
  EXPECT_EQ(out,
            "1 1 0:2:2 2:2:1 4:1:3\n"
            "2 1\n"
            "3 -1 0:1:3 1:1:3 2:1:2\n"
            "4 -1 0:1:1\n");
}

TEST(TokenDumpTest, CallbackReceivesOneLineEach) {
  ToyHighlighter toy;
  std::vector<std::string> got;
  DumpTokens(toy, {"(", "(a"}, [&](const std::string& line) { got.push_back(line); });
  EXPECT_EQ(got, (std::vector<std::string>{"1 1 0:1:3", "2 2 0:1:3 1:1:2"}));
}

}  // namespace
}  // namespace numvex
