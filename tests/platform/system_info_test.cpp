#include "platform/system_info.h"

#include <gtest/gtest.h>

#include "common/processes.h"

namespace numvex {
namespace {

// What a program started with these regional settings reads: separators, then language id.
// A narrow no-break space has no byte in the code page, so "." follows a "," decimal; the
// Swiss group separator is the right single quote, byte 0x92; Arabic digits' separators are
// not in the code page at all.
TEST(SystemInfoTest, RegionalSettingsComeFromTheEnvironment) {
  // clang-format off
  const struct { const char* variable; const char* value; const char* expected; } kCases[] = {
      {"LC_ALL", "de_DE.UTF-8", ",. 0407"}, {"LC_ALL", "en_US.UTF-8", "., 0409"},
      {"LC_ALL", "C", "., 0409"}, {"LANG", "de_CH.UTF-8", ".\x92 0807"},
      {"LANG", "en_GB.UTF-8", "., 0809"}, {"LC_ALL", "fr_FR.UTF-8", ",. 040c"},
      {"LANG", "ar_EG.UTF-8", "., 0409"}};
  // clang-format on
  for (const auto& c : kCases) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LC_ALL", "LC_NUMERIC", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
      env.remove(name);
    }
    env.insert(c.variable, c.value);
    EXPECT_EQ(testing::RunProgram(NUMVEX_PROBE, {"locale"}, env), c.expected) << c.value;
  }
}

TEST(SystemInfoTest, UserAndComputerNameAreWhatIdAndHostnameSay) {
  EXPECT_EQ(UserName(), testing::RunProgram("id", {"-un"}).value_or("?"));
  EXPECT_EQ(ComputerName(), testing::RunProgram("hostname", {}).value_or("?"));
}

}  // namespace
}  // namespace numvex
