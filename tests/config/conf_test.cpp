#include "config/conf.h"

#include <gtest/gtest.h>

#include <climits>

namespace numvex {
namespace {

TEST(ConfTest, ResetGivesAFreshRecordAndEmptiesRecentFiles) {
  Conf.Language = Conf.Decimals = 7;
  Conf.ShowNumPad = !Conf.ShowNumPad;
  Conf.AskSave = !Conf.AskSave;
  Conf.LruDir = Conf.Version = "changed";
  LruFiles = {"/a.nvx", "/b.nvx", "", "/d.txt"};
  ResetConfToProgramStart();
  const recConf fresh;
  EXPECT_EQ(std::tie(Conf.Language, Conf.Decimals, Conf.ShowNumPad, Conf.AskSave, Conf.LruDir,
                     Conf.Version),
            std::tie(fresh.Language, fresh.Decimals, fresh.ShowNumPad, fresh.AskSave, fresh.LruDir,
                     fresh.Version));
  EXPECT_EQ(LruFiles, decltype(LruFiles){});
}

TEST(ConfTest, ClampIntKeepsAValueWithinItsBounds) {
  // {value, lo, hi, expected}; raising comes first, so with crossed bounds the upper one wins.
  // clang-format off
  constexpr int32_t kCases[][4] = {{12, 0, 9, 9}, {-3, 0, 1, 0}, {5, 0, 9, 5}, {0, 0, 9, 0},
      {9, 0, 9, 9}, {INT32_MIN, 0, 9, 0}, {INT32_MAX, 0, 9, 9}, {-7, -10, -5, -7}, {0, 5, 3, 3},
      {9, 5, 3, 3}, {10, 0, 9, 9}, {-1, 0, 9, 0}};  // one past each bound
  // clang-format on
  for (const auto& c : kCases) {
    int32_t value = c[0];
    ClampInt(value, c[1], c[2]);
    EXPECT_EQ(value, c[3]) << c[0] << " in " << c[1] << ".." << c[2];
  }
}

}  // namespace
}  // namespace numvex
