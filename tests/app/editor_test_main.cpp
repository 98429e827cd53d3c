// Runs the editor adapter tests inside a QApplication. Listing the tests (as ctest's discovery
// does at build time) needs no display, so no application is made then.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<QApplication> app;
  if (!GTEST_FLAG_GET(list_tests)) app = std::make_unique<QApplication>(argc, argv);
  return RUN_ALL_TESTS();
}
