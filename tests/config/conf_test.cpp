#include "config/conf.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace numvex {
namespace {

TEST(RecConfTest, ProgramStartValuesBeforeAnyLoading) {
  const recConf conf;
  EXPECT_EQ(conf.Language, -1);
  EXPECT_EQ(conf.Decimals, 2);
  EXPECT_EQ(conf.TabStops, 0);
  EXPECT_TRUE(conf.ShowNumPad);
  EXPECT_EQ(conf.Version, "3.3.2");
  EXPECT_EQ(conf.Build, "Build: 2009-08-03");
  EXPECT_EQ(conf.LruDir, "");
}

struct NamedFlag {
  const char* name;
  bool recConf::*field;
};

// Every Boolean but ShowNumPad starts off; a first start switches some of them on later.
constexpr NamedFlag kFlagsOffAtStart[] = {
    {"RoundResults", &recConf::RoundResults},
    {"FirstStart", &recConf::FirstStart},
    {"RegisterExtension", &recConf::RegisterExtension},
    {"RunAtStartup", &recConf::RunAtStartup},
    {"AlwaysOnTop", &recConf::AlwaysOnTop},
    {"ShowSyntaxMenu", &recConf::ShowSyntaxMenu},
    {"SmartTabs", &recConf::SmartTabs},
    {"FirstTextMode", &recConf::FirstTextMode},
    {"AutoIndent", &recConf::AutoIndent},
    {"TrailingSpaces", &recConf::TrailingSpaces},
    {"TabsToSpaces", &recConf::TabsToSpaces},
    {"DragDropEditing", &recConf::DragDropEditing},
    {"Gutter", &recConf::Gutter},
    {"AskSave", &recConf::AskSave},
};

TEST(RecConfTest, EveryOtherBooleanStartsFalse) {
  const recConf conf;
  for (const NamedFlag& flag : kFlagsOffAtStart) {
    EXPECT_FALSE(conf.*flag.field) << flag.name;
  }
}

TEST(RecConfTest, ResetBringsBackProgramStartValuesAndEmptiesRecentFiles) {
  Conf.Language = 1;
  Conf.Decimals = 7;
  Conf.TabStops = 4;
  Conf.ShowNumPad = false;
  Conf.Version = "changed";
  Conf.LruDir = "/home/user/tapes";
  for (const NamedFlag& flag : kFlagsOffAtStart) Conf.*flag.field = true;
  LruFiles = {"/a.nvx", "/b.nvx", "", "/d.txt"};

  ResetConfToProgramStart();

  EXPECT_EQ(Conf.Language, -1);
  EXPECT_EQ(Conf.Decimals, 2);
  EXPECT_EQ(Conf.TabStops, 0);
  EXPECT_TRUE(Conf.ShowNumPad);
  EXPECT_EQ(Conf.Version, "3.3.2");
  EXPECT_EQ(Conf.LruDir, "");
  for (const NamedFlag& flag : kFlagsOffAtStart) {
    EXPECT_FALSE(Conf.*flag.field) << flag.name;
  }
  for (int slot = 0; slot < kLruCount; ++slot) {
    EXPECT_EQ(LruFiles[slot], "") << "slot " << slot + 1;
  }
}

TEST(RecentFilesTest, ClearEmptiesAllFourSlots) {
  LruFiles = {"/one.nvx", "/two.txt", "/three.ini", "/four.pas"};
  ClearRecentFiles();
  for (int slot = 0; slot < kLruCount; ++slot) {
    EXPECT_EQ(LruFiles[slot], "") << "slot " << slot + 1;
  }
}

struct ClampCase {
  int32_t value;
  int32_t lo;
  int32_t hi;
  int32_t expected;
};

class ClampIntTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampIntTest, KeepsValueWithinBounds) {
  const ClampCase& c = GetParam();
  int32_t value = c.value;
  ClampInt(value, c.lo, c.hi);
  EXPECT_EQ(value, c.expected) << c.value << " in " << c.lo << ".." << c.hi;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClampIntTest,
    ::testing::Values(ClampCase{12, 0, 9, 9},  // stored decimals above the limit
                      ClampCase{-3, 0, 1, 0},  // stored language below the limit
                      ClampCase{5, 0, 9, 5},   // inside: unchanged
                      ClampCase{0, 0, 9, 0},   // on the lower bound
                      ClampCase{9, 0, 9, 9},   // on the upper bound
                      ClampCase{-1, 0, 9, 0},  // just below
                      ClampCase{10, 0, 9, 9},  // just above
                      ClampCase{1, 0, 1, 1},   // language English stays
                      ClampCase{INT32_MIN, 0, 9, 0}, ClampCase{INT32_MAX, 0, 9, 9},
                      ClampCase{-7, -10, -5, -7},  // negative range
                      ClampCase{3, 3, 3, 3},       // single-value range
                      // Raising comes first, so with crossed bounds the upper one wins.
                      ClampCase{0, 5, 3, 3}, ClampCase{9, 5, 3, 3}));

}  // namespace
}  // namespace numvex
