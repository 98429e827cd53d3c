// Runs the main-window tests inside a QApplication, with a private home, settings
// and runtime folder so nothing of the user's is read or written.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QByteArray>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  char home_template[] = "/tmp/numvex-window-test-XXXXXX";
  const char* home = mkdtemp(home_template);
  if (home == nullptr) return 1;
  std::string base(home);
  setenv("HOME", home, 1);
  setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", home, 1);
  setenv("NUMVEX_REGISTRY", (base + "/hkcu.reg").c_str(), 1);
  setenv("LC_ALL", "C", 1);  // "." and "," as separators
  std::unique_ptr<QApplication> app;
  if (!GTEST_FLAG_GET(list_tests)) app = std::make_unique<QApplication>(argc, argv);
  return RUN_ALL_TESTS();
}
