// HKEY_CURRENT_USER itself as the settings see it (run under Wine in a prefix of the build):
// what settings_test.cpp cannot see through the Hive.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/registry_win.h"
#include "config/settings.h"
#include "config/shell_integration.h"

namespace numvex::testing {
namespace {

using registry::Hive;

class NoHost : public SettingsHost {
  void ApplyEditorOptions() override {}
  void ApplyWindowStyle() override {}
  std::string RegisterDesktopFileType(const std::string&) override { return ""; }
  void UnregisterDesktopFileType() override {}
  void SetDesktopRunAtStartup(bool, const std::string&) override {}
  void PostBroadcast() override {}
  void ReportError(const std::string&) override {}
  void ShowPlainMessage(const std::string&) override {}
};

// The registry's own type of a value, REG_NONE when it is missing.
DWORD TypeOf(const char* key, const char* name) {
  DWORD type = REG_NONE;
  return ::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                        nullptr) == ERROR_SUCCESS
             ? type
             : REG_NONE;
}

void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
  ::RegCloseKey(key);
}

class WindowsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* key : {"Software\\zel", kExtensionKey, kFileTypeKey}) {
      ::RegDeleteTreeA(HKEY_CURRENT_USER, key);
    }
    ResetConfToProgramStart();
    Conf.FirstStart = false;
    Conf.RoundResults = Conf.RegisterExtension = true;
    store_.SaveSettings();
  }
  std::unique_ptr<registry::Registry> hive_ = CurrentUserRegistry();
  NoHost host_;
  SettingsStore store_{*hive_, host_, "C:\\Program Files\\Numvex\\numvex.exe"};
};

TEST_F(WindowsRegistryTest, TextsAreStringsAndFlagsDoubleWords) {
  const char* const kTexts[] = {"Preferred Language", "Decimal Places", "Path", "Version",
                                "TabStops", "LRU_DIR"};
  Hive hive;
  ASSERT_TRUE(hive_->Load(hive).ok);
  const auto& values = hive.FindKey(kSettingsKey)->values();
  ASSERT_EQ(values.size(), 21u);
  for (const auto& [name, value] : values) {
    const bool text = std::find(std::begin(kTexts), std::end(kTexts), name) != std::end(kTexts);
    EXPECT_EQ(TypeOf(kSettingsKey, name.c_str()), text ? DWORD{REG_SZ} : DWORD{REG_DWORD})
        << name;
  }
  const std::string command = std::string(kFileTypeKey) + "\\shell\\open\\command";
  EXPECT_EQ(TypeOf(command.c_str(), nullptr), DWORD{REG_SZ});
  EXPECT_EQ(TypeOf(kRunKey + 1, kRunValue), DWORD{REG_NONE});  // logon start is off
}

// Values of another type stop the reading where a flag or a text is due; a value the program
// does not know is kept, and one it writes gets its own type back.
TEST_F(WindowsRegistryTest, ValuesOfAnotherTypeStopTheReading) {
  const BYTE binary[] = {1, 0, 0, 0};
  const char expand[] = "%TEMP%";
  SetRaw("Show Syntax Menu", REG_BINARY, binary, sizeof binary);
  SetRaw("LRU_DIR", REG_EXPAND_SZ, expand, sizeof expand);
  SetRaw("Someone else's", REG_QWORD, "\1\0\0\0\0\0\0\0", 8);
  Conf.ShowSyntaxMenu = Conf.AskSave = true;  // stored: false
  Conf.RoundResults = false;                   // stored: true
  store_.LoadSettings();
  EXPECT_TRUE(Conf.RoundResults && Conf.ShowSyntaxMenu && Conf.AskSave);
  Conf.LruDir.clear();
  SetRaw("Show Syntax Menu", REG_DWORD, binary, sizeof binary);
  store_.LoadSettings();
  EXPECT_EQ(Conf.LruDir, expand);  // as stored: the variable is not expanded
  SetRaw("Gutter", REG_MULTI_SZ, "1\0\0", 3);
  Conf.Gutter = false;
  store_.LoadSettings();
  EXPECT_FALSE(Conf.Gutter);
  store_.SaveSettings();
  EXPECT_EQ(TypeOf(kSettingsKey, "Gutter"), DWORD{REG_DWORD});
  EXPECT_EQ(TypeOf(kSettingsKey, "Someone else's"), DWORD{REG_QWORD});
}

TEST_F(WindowsRegistryTest, NothingOutsideTheProgramsKeysIsWritten) {
  for (const char* key : {"Software\\Other", "Software"}) {
    const registry::UpdateResult result =
        hive_->Update([key](Hive& h) { h.OpenKey(key, true)->WriteDword("x", 1); });
    EXPECT_FALSE(result.ok) << key;
    EXPECT_NE(result.message.find("HKEY_CURRENT_USER\\"), std::string::npos) << result.message;
    EXPECT_EQ(TypeOf(key, "x"), DWORD{REG_NONE}) << key;
  }
}

}  // namespace
}  // namespace numvex::testing
