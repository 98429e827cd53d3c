// Runs a test program inside a QApplication, on the offscreen platform unless the caller chose
// one, with a private home and the C locale ("." decimals, "," thousands). Listing the tests
// (ctest's discovery at build time) makes neither.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <memory>

#include "common/private_home.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  numvex::testing::PrivateHome home;
  if (!home.Valid()) return 1;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  setenv("LC_ALL", "C", 1);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
