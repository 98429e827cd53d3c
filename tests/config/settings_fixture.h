#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/registry_file.h"
#include "config/settings.h"

namespace numvex::testing {

// Records what the settings asked of the window, the desktop and the user.
class RecordingHost : public SettingsHost {
 public:
  void ApplyEditorOptions() override { log.push_back("editor"); }
  void ApplyWindowStyle() override { log.push_back("style"); }
  std::string RegisterDesktopFileType(const std::string& program) override {
    log.push_back("desktop register " + program);
    return desktop_error;
  }
  void UnregisterDesktopFileType() override { log.push_back("desktop unregister"); }
  void SetDesktopRunAtStartup(bool on, const std::string&) override {
    log.push_back(on ? "desktop run on" : "desktop run off");
  }
  void PostBroadcast() override { log.push_back("broadcast"); }
  void ReportError(const std::string& message) override { errors.push_back(message); }
  void ShowPlainMessage(const std::string& message) override { messages.push_back(message); }

  std::vector<std::string> log, errors, messages;
  std::string desktop_error;
};

// A hive file of its own in a fresh folder, a store over it, and Conf at its program-start
// values with a detected language.
class SettingsTest : public ::testing::Test {
 protected:
  static constexpr char kProgram[] = "/opt/my tools/numvex";

  static std::string MakeDir() {
    char pattern[] = "/tmp/numvex-settings-XXXXXX";
    return mkdtemp(pattern) != nullptr ? pattern : "";
  }
  void SetUp() override {
    ASSERT_FALSE(dir_.empty());
    ResetConfToProgramStart();
    Conf.Language = 1;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  registry::Hive Stored() const {
    registry::Hive hive;
    EXPECT_TRUE(file_.Load(hive).ok);
    return hive;
  }
  void Store(const std::function<void(registry::Hive&)>& change) {
    ASSERT_TRUE(file_.Update(change).ok);
  }

  std::string dir_ = MakeDir();
  registry::RegistryFile file_{dir_ + "/zel/hkcu.reg"};
  RecordingHost host_;
  SettingsStore store_{file_, host_, kProgram};
};

}  // namespace numvex::testing
