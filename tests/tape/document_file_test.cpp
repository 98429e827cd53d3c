// Writing a document over its file is all or nothing (permissions and links: the e2e test of
// numvex-tape --in-place).
#include "tape/document_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace numvex {
namespace {

class DocumentFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/numvex-docfile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Save(const std::string& path, const std::string& bytes, std::string* error) {
    return ReplaceFileAtomically(
        path,
        [&](std::FILE* out) {
          return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        },
        error);
  }
  std::string dir_;
};

TEST_F(DocumentFileTest, AWriteThatFailsHalfWayLeavesTheOriginal) {
  const std::string file = dir_ + "/tape.nvx";
  std::ofstream(file) << "original\n";
  // A disk that fills up: the file size limit stops the write after 4 KiB.
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto old_handler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool saved = Save(file, std::string(1 << 20, 'x'), &error);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(saved);
  EXPECT_EQ(error, "File too large");
  EXPECT_EQ(Read(file), "original\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

}  // namespace
}  // namespace numvex
