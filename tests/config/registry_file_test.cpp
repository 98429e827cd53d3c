#include "config/registry_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace numvex::registry {
namespace {

constexpr char kKey[] = "Software\\zel\\Numvex 3.0";

class RegistryFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/numvex-hive-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir_);
  }
  std::string dir_;
};

TEST_F(RegistryFileTest, PathComesFromTheEnvironment) {
  // {NUMVEX_REGISTRY, XDG_CONFIG_HOME, HOME, expected}; null leaves the variable unset.
  const char* const kCases[][4] = {{"/r/own.reg", "/x", "/h", "/r/own.reg"},
                                   {nullptr, "/x", "/h", "/x/zel/hkcu.reg"},
                                   {"", "", "/h", "/h/.config/zel/hkcu.reg"},
                                   {nullptr, "relative", "/h", "/h/.config/zel/hkcu.reg"}};
  const char* const kNames[] = {"NUMVEX_REGISTRY", "XDG_CONFIG_HOME", "HOME"};
  std::optional<std::string> saved[3];
  for (int i = 0; i < 3; ++i) {
    if (const char* v = getenv(kNames[i])) saved[i] = v;
  }
  for (const auto& c : kCases) {
    for (int i = 0; i < 3; ++i) c[i] ? setenv(kNames[i], c[i], 1) : unsetenv(kNames[i]);
    EXPECT_EQ(RegistryFile::DefaultPath(), c[3]) << c[3];
  }
  for (int i = 0; i < 3; ++i)
    saved[i] ? setenv(kNames[i], saved[i]->c_str(), 1) : unsetenv(kNames[i]);
}

TEST_F(RegistryFileTest, UpdateWritesAPrivateFileThatLoadsBack) {
  RegistryFile file(dir_ + "/new/zel/hkcu.reg");
  Hive hive;
  ASSERT_TRUE(file.Load(hive).ok);
  EXPECT_TRUE(hive.keys().empty());
  const UpdateResult result = file.Update([](Hive& h) {
    h.OpenKey(kKey, true)->WriteText("Version", "3.0");
    h.OpenKey(kKey, true)->WriteDword("AskSave", 1);
  });
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_TRUE(file.Update([](Hive& h) { h.OpenKey(kKey, true)->DeleteValue("AskSave"); }).ok);
  ASSERT_TRUE(file.Load(hive).ok);
  EXPECT_EQ(hive.OpenKey(kKey, false)->Read("Version").text, "3.0");
  EXPECT_EQ(hive.OpenKey(kKey, false)->values().size(), 1u);
  struct stat st;
  ASSERT_EQ(stat(file.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // The file and its lock, no temporary left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ + "/new/zel"), {}), 2);
}

TEST_F(RegistryFileTest, DamagedFileIsMovedAsideNotOverwritten) {
  RegistryFile file(dir_ + "/hkcu.reg");
  const std::string damaged = "Windows Registry Editor Version 5.00\n\n\"lost\"=\"x\"\n";
  std::ofstream(file.path(), std::ios::binary) << damaged;
  Hive hive;
  EXPECT_FALSE(file.Load(hive).ok);
  const UpdateResult result = file.Update([](Hive& h) { h.OpenKey(kKey, true); });
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.damaged_path.rfind(file.path() + ".damaged-", 0), 0u) << result.damaged_path;
  EXPECT_NE(result.message.find(result.damaged_path), std::string::npos);
  std::ifstream aside(result.damaged_path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), damaged);
  ASSERT_TRUE(file.Load(hive).ok);
  EXPECT_TRUE(hive.KeyExists(kKey));
  EXPECT_TRUE(file.Update([](Hive&) {}).damaged_path.empty());
}

}  // namespace
}  // namespace numvex::registry
