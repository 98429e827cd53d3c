#include "config/conf.h"

#include <gtest/gtest.h>

#include <climits>

namespace numvex {
namespace {

TEST(ConfTest, ResetGivesAFreshRecordAndEmptiesRecentFiles) {
  Conf.Language = 1;
  Conf.Decimals = 7;
  Conf.TabStops = 4;
  Conf.ShowNumPad = false;
  Conf.Version = Conf.Build = Conf.LruDir = "changed";
  Conf.RoundResults = Conf.FirstStart = Conf.RegisterExtension = Conf.RunAtStartup =
      Conf.AlwaysOnTop = Conf.ShowSyntaxMenu = Conf.SmartTabs = Conf.FirstTextMode =
          Conf.AutoIndent = Conf.TrailingSpaces = Conf.TabsToSpaces = Conf.DragDropEditing =
              Conf.Gutter = Conf.AskSave = true;
  LruFiles = {"/a.nvx", "/b.nvx", "", "/d.txt"};
  ResetConfToProgramStart();
  const recConf fresh;
  EXPECT_EQ(Conf.Language, fresh.Language);
  EXPECT_EQ(Conf.Decimals, fresh.Decimals);
  EXPECT_EQ(Conf.TabStops, fresh.TabStops);
  EXPECT_EQ(Conf.ShowNumPad, fresh.ShowNumPad);
  EXPECT_EQ(Conf.Version + Conf.Build + Conf.LruDir, fresh.Version + fresh.Build + fresh.LruDir);
  EXPECT_FALSE(Conf.RoundResults || Conf.FirstStart || Conf.RegisterExtension ||
               Conf.RunAtStartup || Conf.AlwaysOnTop || Conf.ShowSyntaxMenu || Conf.SmartTabs ||
               Conf.FirstTextMode || Conf.AutoIndent || Conf.TrailingSpaces || Conf.TabsToSpaces ||
               Conf.DragDropEditing || Conf.Gutter || Conf.AskSave);
  EXPECT_EQ(LruFiles, decltype(LruFiles){});
}

TEST(ConfTest, ClampIntKeepsAValueWithinItsBounds) {
  // {value, lo, hi, expected}; raising comes first, so with crossed bounds the upper one wins.
  // clang-format off
  constexpr int32_t kCases[][4] = {{12, 0, 9, 9}, {-3, 0, 1, 0}, {5, 0, 9, 5}, {0, 0, 9, 0},
      {9, 0, 9, 9}, {-1, 0, 9, 0}, {10, 0, 9, 9}, {INT32_MIN, 0, 9, 0}, {INT32_MAX, 0, 9, 9},
      {-7, -10, -5, -7}, {0, 5, 3, 3}, {9, 5, 3, 3}};
  // clang-format on
  for (const auto& c : kCases) {
    int32_t value = c[0];
    ClampInt(value, c[1], c[2]);
    EXPECT_EQ(value, c[3]) << c[0] << " in " << c[1] << ".." << c[2];
  }
}

}  // namespace
}  // namespace numvex
