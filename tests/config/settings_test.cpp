#include "config/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "config/recent_files.h"
#include "config/registry_file.h"
#include "config/shell_integration.h"

namespace numvex::testing {
namespace {

using registry::Hive;
using registry::ValueType;

// Records what the settings asked of the window, the desktop and the user.
class RecordingHost : public SettingsHost {
 public:
  void ApplyEditorOptions() override { log.push_back("editor"); }
  void ApplyWindowStyle() override { log.push_back("style"); }
  std::string RegisterDesktopFileType(const std::string& program) override {
    log.push_back("desktop register " + program);
    return "";
  }
  void UnregisterDesktopFileType() override { log.push_back("desktop unregister"); }
  void SetDesktopRunAtStartup(bool on, const std::string&) override {
    log.push_back(on ? "desktop run on" : "desktop run off");
  }
  void PostBroadcast() override { log.push_back("broadcast"); }
  void ReportError(const std::string& message) override { errors.push_back(message); }
  void ShowPlainMessage(const std::string& message) override { errors.push_back(message); }

  std::vector<std::string> log, errors;
};

// A hive of its own, a store over it, and Conf at its program-start values with a detected
// language. On Linux the hive is a file in a fresh folder; on Windows it is the current
// user's own (Wine's in a prefix of the build), whose keys of this program are removed first.
class SettingsTest : public ::testing::Test {
 protected:
  static constexpr char kProgram[] = "/opt/my tools/numvex";

  void SetUp() override {
#ifdef _WIN32
    Store([](Hive& h) {
      for (const char* key : {kSettingsKey, kExtensionKey, kFileTypeKey}) h.DeleteKey(key);
      if (registry::Key* run = h.OpenKey(kRunKey, false)) run->DeleteValue(kRunValue);
    });
#else
    ASSERT_FALSE(dir_.empty());
#endif
    ResetConfToProgramStart();
    Conf.Language = 1;
  }

#ifdef _WIN32
  std::unique_ptr<registry::Registry> hive_ = CurrentUserRegistry();
  registry::Registry& file_ = *hive_;
#else
  static std::string MakeDir() {
    char pattern[] = "/tmp/numvex-settings-XXXXXX";
    return mkdtemp(pattern) != nullptr ? pattern : "";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string dir_ = MakeDir();
  registry::RegistryFile file_{dir_ + "/zel/hkcu.reg"};
#endif

  registry::Hive Stored() const {
    registry::Hive hive;
    EXPECT_TRUE(file_.Load(hive).ok);
    return hive;
  }
  void Store(const std::function<void(registry::Hive&)>& change) {
    ASSERT_TRUE(file_.Update(change).ok);
  }

  RecordingHost host_;
  SettingsStore store_{file_, host_, kProgram};
};

// clang-format off
const std::vector<std::string> kFileTypeKeys = {"Software\\Classes\\.nvx", kFileTypeKey,
    std::string(kFileTypeKey) + "\\shell", std::string(kFileTypeKey) + "\\shell\\open",
    std::string(kFileTypeKey) + "\\shell\\open\\command", std::string(kFileTypeKey) + "\\DefaultIcon"};
// clang-format on

std::string Default(const Hive& hive, const std::string& key) {
  const registry::Key* k = hive.FindKey(key);
  return k == nullptr ? "<no key>" : k->Read("").text;
}

TEST_F(SettingsTest, FirstStartRegistersTheFileTypeAndTheSaveWritesAllValues) {
  store_.LoadSettings();
  EXPECT_TRUE(Conf.FirstStart && Conf.AutoIndent && Conf.AskSave && Conf.Gutter);
  EXPECT_EQ(std::tie(Conf.Language, Conf.Decimals, Conf.TabStops, Conf.LruDir),
            std::make_tuple(1, 2, 4, std::string(".")));
  for (const std::string& key : kFileTypeKeys) EXPECT_TRUE(Stored().KeyExists(key)) << key;
  EXPECT_EQ(Default(Stored(), kFileTypeKeys[4]), "\"/opt/my tools/numvex\" \"%1\"");
  EXPECT_EQ(Default(Stored(), kFileTypeKeys[5]), "/opt/my tools/numvex,0");
  EXPECT_FALSE(Stored().KeyExists(kSettingsKey));  // nothing written before the save

  host_.log.clear();
  Conf.FirstStart = false;
  store_.SaveSettings();
  const std::vector<std::string> kSaveSteps = {"desktop run off", "broadcast", "editor",
                                               "desktop register /opt/my tools/numvex", "style"};
  EXPECT_EQ(host_.log, kSaveSteps);
  const Hive hive = Stored();
  const auto& values = hive.FindKey(kSettingsKey)->values();
  EXPECT_EQ(values.size(), 21u);
  const char* const kTexts[] = {"Preferred Language", "Decimal Places", "Path", "Version",
                                "TabStops",           "LRU_DIR"};
  for (const auto& [name, value] : values) {
    const bool text = std::find(std::begin(kTexts), std::end(kTexts), name) != std::end(kTexts);
    EXPECT_EQ(value.type, text ? ValueType::kText : ValueType::kDword) << name;
  }
  EXPECT_EQ(values.at("First start").dword, 0u);
  EXPECT_EQ(values.at("Path").text, kProgram);

  // The next start reads what was saved and registers nothing.
  ResetConfToProgramStart();
  host_.log.clear();
  store_.LoadSettings();
  EXPECT_EQ(host_.log, std::vector<std::string>{"style"});
  EXPECT_TRUE(!Conf.FirstStart && Conf.AutoIndent && Conf.FirstTextMode && Conf.LruDir == ".");
}

// Stores the settings of a run before, with one value replaced (or removed), and loads them.
TEST_F(SettingsTest, StoredIntegersAreClampedOrFallBack) {
  constexpr ValueType kT = ValueType::kText;  // kAbsent removes the value
  // clang-format off
  struct StoredValueCase { const char* name; ValueType type; const char* text;
                           int32_t recConf::*field; int32_t expected; };
  // The detected language is 1 and the stored settings hold language 0, decimals 5, tabs 8.
  const StoredValueCase kCases[] = {
      {"Preferred Language", kT, "7", &recConf::Language, 1},
      {"Preferred Language", kT, "-3", &recConf::Language, 0},
      {"Preferred Language", kT, "abc", &recConf::Language, 1},
      {"Preferred Language", ValueType::kAbsent, "", &recConf::Language, 1},
      {"Decimal Places", kT, "12", &recConf::Decimals, 9},
      {"Decimal Places", kT, "x", &recConf::Decimals, 2},
      {"Decimal Places", kT, "99999999999", &recConf::Decimals, 2},
      {"TabStops", kT, "", &recConf::TabStops, 4},
      {"TabStops", kT, "8", &recConf::TabStops, 8}};
  // clang-format on
  for (const StoredValueCase& c : kCases) {
    ResetConfToProgramStart();
    Conf.Language = 0, Conf.Decimals = 5, Conf.TabStops = 8, Conf.FirstStart = false;
    store_.SaveSettings();
    Store([&](Hive& h) {
      registry::Key* key = h.OpenKey(kSettingsKey, true);
      c.type == kT ? key->WriteText(c.name, c.text) : void(key->DeleteValue(c.name));
    });
    ResetConfToProgramStart();
    Conf.Language = 1;
    store_.LoadSettings();
    EXPECT_EQ(Conf.*c.field, c.expected) << c.name << "=" << c.text;
  }
}

TEST_F(SettingsTest, ReadingStopsAtAMissingOrMistypedValue) {
  Conf.FirstStart = false, Conf.ShowSyntaxMenu = true, Conf.AskSave = true, Conf.Gutter = true;
  Conf.FirstTextMode = true;
  Conf.TabStops = 6, Conf.LruDir = "/tapes", Conf.Decimals = 4, Conf.RoundResults = true;
  store_.SaveSettings();
  Store([](Hive& h) { h.OpenKey(kSettingsKey, true)->DeleteValue("AskSave"); });
  ResetConfToProgramStart();
  store_.LoadSettings();
  EXPECT_TRUE(Conf.ShowSyntaxMenu && Conf.RoundResults);  // read before "AskSave"
  EXPECT_FALSE(Conf.AskSave || Conf.FirstTextMode || Conf.Gutter || Conf.FirstStart);
  EXPECT_EQ(std::tie(Conf.TabStops, Conf.LruDir), std::make_tuple(0, std::string()));

  Store([](Hive& h) { h.OpenKey(kSettingsKey, true)->WriteText("Round Results", "1"); });
  ResetConfToProgramStart();
  store_.LoadSettings();
  EXPECT_EQ(Conf.Decimals, 4);
  EXPECT_FALSE(Conf.RoundResults || Conf.ShowSyntaxMenu);

  // Without "First start" every stored value is passed over for the first-start ones.
  Store([](Hive& h) { h.OpenKey(kSettingsKey, true)->DeleteValue("First start"); });
  ResetConfToProgramStart();
  store_.LoadSettings();
  EXPECT_TRUE(Conf.FirstStart && Conf.AskSave);
  EXPECT_EQ(std::tie(Conf.Decimals, Conf.LruDir), std::make_tuple(2, std::string(".")));
}

TEST_F(SettingsTest, FileTypeFollowsTheOptionButLeavesAnotherProgramsExtension) {
  Conf.RegisterExtension = false;
  store_.SaveSettings();
  for (const std::string& key : kFileTypeKeys) EXPECT_FALSE(Stored().KeyExists(key)) << key;
  Conf.RegisterExtension = true;
  store_.SaveSettings();
  for (const std::string& key : kFileTypeKeys) EXPECT_TRUE(Stored().KeyExists(key)) << key;

  Store([](Hive& h) {
    h.DeleteKey("Software\\Classes");
    h.OpenKey(kExtensionKey, true)->WriteText("", "Other.Document");
  });
  for (bool on : {true, false}) {
    Conf.RegisterExtension = on;
    store_.SaveSettings();
    EXPECT_EQ(Default(Stored(), kExtensionKey), "Other.Document") << on;
    EXPECT_FALSE(Stored().KeyExists(kFileTypeKey)) << on;
  }
}

TEST_F(SettingsTest, LogonStartEntryAndTheBroadcastWhenTurnedOff) {
  Conf.RunAtStartup = true;
  store_.SaveSettings();
  EXPECT_EQ(Stored().FindKey(kRunKey)->Read(kRunValue).text, "/opt/my tools/numvex /TB");
  EXPECT_EQ(std::count(host_.log.begin(), host_.log.end(), "broadcast"), 0);
  Conf.RunAtStartup = false;
  for (int round = 1; round <= 2; ++round) {  // the second time there is no value to delete
    store_.SaveSettings();
    EXPECT_EQ(Stored().FindKey(kRunKey)->Read(kRunValue).type, ValueType::kAbsent);
    EXPECT_EQ(std::count(host_.log.begin(), host_.log.end(), "broadcast"), round);
  }
}

#ifndef _WIN32  // the file store's own failures

TEST_F(SettingsTest, DamagedHiveIsPutAsideReportedOnceAndReadAsFarAsItGoes) {
  Conf.FirstStart = false, Conf.Decimals = 7;
  store_.SaveSettings();
  std::ifstream in(file_.path(), std::ios::binary);
  const std::string damaged = std::string(std::istreambuf_iterator<char>(in), {}) + "garbage\r\n";
  std::ofstream(file_.path(), std::ios::binary) << damaged;
  for (int start = 0; start < 2; ++start) {
    ResetConfToProgramStart();
    store_.LoadSettings();
    EXPECT_EQ(Conf.Decimals, 7);
  }
  ASSERT_EQ(host_.errors.size(), 1u);
  const std::string aside = host_.errors[0].substr(host_.errors[0].find(file_.path()));
  std::ifstream kept(aside.substr(0, aside.find(". ")), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
}

TEST_F(SettingsTest, RefusedWriteIsReportedAndSkipsApplying) {
  std::ofstream(dir_ + "/file") << "not a folder";
  registry::RegistryFile refused(dir_ + "/file/zel/hkcu.reg");
  SettingsStore store(refused, host_, kProgram);
  store.LoadSettings();  // reported; safe values, but no first start to write
  EXPECT_EQ(host_.errors.size(), 1u);
  EXPECT_TRUE(Conf.AskSave && !Conf.FirstStart);
  host_.log.clear();
  Conf.Decimals = 6;
  store.SaveSettings();
  ASSERT_EQ(host_.errors.size(), 2u);
  EXPECT_NE(host_.errors[1].find("\"Preferred Language\""), std::string::npos) << host_.errors[1];
  EXPECT_NE(host_.errors[1].find("Not a directory"), std::string::npos) << host_.errors[1];
  EXPECT_TRUE(host_.log.empty());
  EXPECT_EQ(Conf.Decimals, 6);
  store.SaveWindowPlacement({}, true);
  EXPECT_EQ(host_.errors.size(), 3u);
}

#else  // HKEY_CURRENT_USER itself: types the file has not, keys that are not the program's

// A value of another type stops the reading where a flag or a text is due; a value the
// program does not know is kept, one it writes gets its own type back.
TEST_F(SettingsTest, RegistryValuesOfAnotherTypeStopTheReading) {
  const auto set = [](const char* name, DWORD type) {
    const BYTE data[8] = {1};
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, name, type, data, type == REG_DWORD ? 4 : 8);
  };
  const auto type = [](const char* name) {
    DWORD type = REG_NONE;
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY, &type, nullptr, nullptr);
    return type;
  };
  Conf.FirstStart = false, Conf.RoundResults = true;
  store_.SaveSettings();
  set("Show Syntax Menu", REG_BINARY), set("LRU_DIR", REG_QWORD), set("Other's", REG_BINARY);
  ResetConfToProgramStart();
  Conf.ShowSyntaxMenu = Conf.AskSave = true, Conf.LruDir = "/kept";  // stored: off, off, ""
  store_.LoadSettings();
  EXPECT_TRUE(Conf.RoundResults && Conf.ShowSyntaxMenu && Conf.AskSave);
  set("Show Syntax Menu", REG_DWORD);
  store_.LoadSettings();
  EXPECT_FALSE(Conf.AskSave);
  EXPECT_EQ(Conf.LruDir, "/kept");
  store_.SaveSettings();
  EXPECT_EQ(std::vector<DWORD>({type("Show Syntax Menu"), type("LRU_DIR"), type("Other's")}),
            std::vector<DWORD>({REG_DWORD, REG_SZ, REG_BINARY}));
  for (const char* key : {"Software\\Other", "Software"}) {  // not the program's keys
    EXPECT_FALSE(file_.Update([&](Hive& h) { h.OpenKey(key, true)->WriteDword("x", 1); }).ok);
    EXPECT_NE(RegGetValueA(HKEY_CURRENT_USER, key, "x", RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
  }
}

#endif

TEST_F(SettingsTest, WindowPlacementAndRecentFiles) {
  WindowBounds bounds{10, 20, 500, 400};
  EXPECT_FALSE(store_.LoadWindowPlacement(bounds));
  LruFiles = {"/a.nvx", "", "/c & d.txt", ""};
  store_.SaveWindowPlacement({30, 40, 600, 450}, true);
  store_.SaveWindowPlacement({0, 0, 1920, 1080}, false);  // maximized: bounds kept
  LruFiles = {"/x", "/y", "/z", "/w"};
  ASSERT_TRUE(store_.LoadWindowPlacement(bounds));
  EXPECT_EQ(std::tie(bounds.top, bounds.left, bounds.width, bounds.height),
            std::make_tuple(30, 40, 600, 450));
  EXPECT_EQ(LruFiles, (std::array<std::string, 4>{"/a.nvx", "", "/c & d.txt", ""}));

  // A mistyped bound ends the bounds silently; a mistyped slot is reported.
  Store([](Hive& h) {
    h.OpenKey(kOptionsKey, false)->WriteDword("Width", 1);
    h.OpenKey(kOptionsKey, false)->WriteText("Top", "x");
    h.OpenKey(kOptionsKey, false)->WriteDword("LRU3", 1);
  });
  bounds = {1, 2, 3, 4};
  LruFiles = {"", "", "/old", "/w"};
  ASSERT_TRUE(store_.LoadWindowPlacement(bounds));
  EXPECT_EQ(std::tie(bounds.top, bounds.left, bounds.width, bounds.height),
            std::make_tuple(1, 40, 3, 4));
  EXPECT_EQ(LruFiles, (std::array<std::string, 4>{"/a.nvx", "", "/old", "/w"}));
  ASSERT_EQ(host_.errors.size(), 1u);
  EXPECT_NE(host_.errors[0].find("LRU3"), std::string::npos);
}

TEST(RecentFilesTest, AddKeepsTheOrderAndTheMenuNumbersTheSlots) {
  using Slots = std::array<std::string, 4>;
  // clang-format off
  struct Case { Slots before; const char* added; Slots after; };
  const Case kCases[] = {
      {{"A", "B", "C", "D"}, "c", {"c", "A", "B", "D"}},
      {{"c", "A", "B", "D"}, "E", {"E", "c", "A", "B"}},
      {{"X", "", "Y", ""}, "Z", {"Z", "X", "Y", ""}},      // the shift stops at the gap
      {{"X", "", "", ""}, " \t/Ä.nvx\r\n", {"/Ä.nvx", "X", "", ""}},
      {{"/ä.nvx", "", "", ""}, "/Ä.nvx", {"/Ä.nvx", "/ä.nvx", "", ""}},  // only ASCII folds
      {{"A", "B", "", ""}, " \t ", {"A", "B", "", ""}}};
  // clang-format on
  for (const Case& c : kCases) {
    LruFiles = c.before;
    EXPECT_EQ(AddRecentFile(c.added),
              std::string(c.added).find_first_not_of(" \t") != std::string::npos);
    EXPECT_EQ(LruFiles, c.after) << c.added;
  }
  const RecentMenu menu = BuildRecentMenu({"X", "", "Tom & Jerry", "a\tb\nc.nvx"});
  EXPECT_EQ(std::tie(menu.items[0].caption, menu.items[0].tag), std::make_tuple("&1 X", 1));
  EXPECT_EQ(std::tie(menu.items[2].caption, menu.items[2].tag),
            std::make_tuple("&2 Tom && Jerry", 3));
  EXPECT_EQ(menu.items[3].caption, "&3 a?b?c.nvx");
  EXPECT_FALSE(menu.items[1].visible);
  EXPECT_TRUE(menu.items[0].visible && menu.items[2].visible && menu.delimiter_visible);
  EXPECT_FALSE(BuildRecentMenu({}).delimiter_visible);
}

TEST(WindowBoundsTest, OnlyAWindowNoScreenShowsIsBroughtBack) {
  const std::vector<WindowBounds> screens = {{0, 0, 1920, 1080}, {0, 1920, 1280, 1024}};
  // {top, left, width, height} stored, then as shown
  // clang-format off
  const int kCases[][8] = {
      {100, 100, 500, 400, 100, 100, 500, 400},
      {900, 3000, 500, 400, 900, 3000, 500, 400},    // partly on the second screen
      {-390, -490, 500, 400, -390, -490, 500, 400},  // one corner showing
      {100, 3200, 500, 400, 340, 710, 500, 400},     // right of every screen
      {1024, 1920, 500, 400, 340, 710, 500, 400},    // below the second screen
      {-5000, 0, 3000, 2000, 0, 0, 1920, 1080},      // too big for the primary
      {-50, -50, 0, 0, 540, 960, 0, 0}};
  // clang-format on
  for (const auto& c : kCases) {
    const WindowBounds got = BringOnScreen({c[0], c[1], c[2], c[3]}, screens, screens[0]);
    EXPECT_EQ(std::vector<int>({got.top, got.left, got.width, got.height}),
              std::vector<int>(c + 4, c + 8))
        << c[0] << "," << c[1];
  }
}

#ifndef _WIN32  // fork

TEST_F(SettingsTest, TwoProcessesSavingSettingsKeepEachOthersValues) {
  constexpr int kWrites = 500;
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      RecordingHost host;
      registry::RegistryFile file(file_.path());
      SettingsStore store(file, host, kProgram);
      bool ok = true;
      for (int i = 0; i < kWrites; ++i) {
        Conf.TabStops = i;
        store.SaveSettings();
        const std::string name = "p" + std::to_string(p) + "-" + std::to_string(i);
        ok &= file.Update([&](Hive& h) { h.OpenKey(kOptionsKey, true)->WriteDword(name, i); }).ok;
      }
      _exit(ok && host.errors.empty() ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const Hive hive = Stored();
  EXPECT_EQ(hive.FindKey(kSettingsKey)->values().size(), 21u);
  const registry::Key& key = *hive.FindKey(kOptionsKey);
  EXPECT_EQ(key.values().size(), 2u * kWrites);
  for (int i = 0; i < 2 * kWrites; ++i) {
    const std::string name = "p" + std::to_string(i % 2) + "-" + std::to_string(i / 2);
    EXPECT_EQ(key.Read(name).dword, static_cast<uint32_t>(i / 2)) << name;
  }
}

#endif

}  // namespace
}  // namespace numvex::testing
