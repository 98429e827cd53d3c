// Runs the platform tests inside a QGuiApplication on the offscreen platform unless told
// otherwise. Listing the tests (ctest's discovery at build time) needs no application.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::unique_ptr<QGuiApplication> app;
  if (!GTEST_FLAG_GET(list_tests)) app = std::make_unique<QGuiApplication>(argc, argv);
  return RUN_ALL_TESTS();
}
