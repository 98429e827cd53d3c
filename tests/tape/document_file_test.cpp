// Writing a document over its file: all or nothing, the file's own permissions and links.
#include "tape/document_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
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
  mode_t Mode(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
  }
  std::string dir_;
};

TEST_F(DocumentFileTest, KeepsPermissionsAndWritesThroughLinks) {
  const std::string file = dir_ + "/tape.nvx", link = dir_ + "/link.nvx";
  std::string error;
  const mode_t mask = umask(022);
  ASSERT_TRUE(Save(file, "new\n", &error)) << error;  // a new file: the usual permissions
  umask(mask);
  EXPECT_EQ(Mode(file), 0644u);
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  ASSERT_EQ(symlink("tape.nvx", link.c_str()), 0);
  ASSERT_TRUE(Save(link, "through\n", &error)) << error;
  EXPECT_EQ(Read(file), "through\n");
  EXPECT_EQ(Mode(file), 0640u);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2);
}

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
